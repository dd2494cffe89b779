// The vs_1_1 assembler: exact tokens, swizzles, masks and negation, every shader text of the rendering
// device (assembled and created on a device), and errors that name the line.
#include <gtest/gtest.h>

#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include "platform/d3d9/BrVsProgram.h"

#include "platform/d3d9/d3d9shadertokens.h"
#include "platform/d3dx9/d3dx9.h"
#include "tests/platform/d3d9/D3D9TestSupport.h"
#include "core/BrNumeric.h"

namespace {

struct Result {
  HRESULT hr;
  std::vector<uint32_t> tokens;
  std::string error;
};

Result assemble(const std::string& text) {
  Result r;
  ID3DXBuffer* code = nullptr;
  ID3DXBuffer* errors = nullptr;
  r.hr = D3DXAssembleShader(text.c_str(), UINT(text.size()), nullptr, nullptr, 0, &code, &errors);
  if (code) {
    const uint32_t* p = static_cast<const uint32_t*>(code->GetBufferPointer());
    r.tokens.assign(p, p + code->GetBufferSize() / 4);
    EXPECT_EQ(0u, code->Release());
  }
  if (errors) {
    r.error = static_cast<const char*>(errors->GetBufferPointer());
    EXPECT_EQ(0u, errors->Release());
  }
  return r;
}

// The source token of the second parameter of the instruction after the version and one dcl.
uint32_t sourceOf(const std::string& operand) {
  const Result r = assemble("vs.1.1\ndcl_position v0\nmov oPos, " + operand + "\n");
  EXPECT_EQ(D3D_OK, r.hr) << r.error;
  return r.tokens.size() > 6 ? r.tokens[6] : 0;
}

uint32_t destOf(const std::string& operand) {
  const Result r = assemble("vs.1.1\nmov oPos, c0\nmov " + operand + ", c0\n");
  EXPECT_EQ(D3D_OK, r.hr) << r.error;
  return r.tokens.size() > 5 ? r.tokens[5] : 0;
}

}  // namespace

TEST(D3DXAssembler, ExactTokens) {
  const Result r = assemble("vs.1.1\ndcl_position v0\nmov oPos, v0\n");
  ASSERT_EQ(D3D_OK, r.hr) << r.error;
  const std::vector<uint32_t> want = {0xFFFE0101u, 0x0200001Fu, 0x80000000u, 0x900F0000u,
                                      0x02000001u, 0xC00F0000u, 0x90E40000u, 0x0000FFFFu};
  EXPECT_EQ(want, r.tokens);
  // The underscore spelling, capitals, comments and blank lines assemble to the same tokens.
  EXPECT_EQ(want, assemble("  // a comment\nVS_1_1\n\n; another\nDCL_POSITION v0 // input\nMOV oPOS , V0\n").tokens);
  // dcl usages and indices.
  const Result d = assemble("vs.1.1\ndcl_texcoord1 v4\ndcl_color0 v1\ndcl_normal v3\nmov oPos, c0\n");
  ASSERT_EQ(D3D_OK, d.hr) << d.error;
  EXPECT_EQ(0x80010005u, d.tokens[2]);  // texcoord, index 1
  EXPECT_EQ(0x900F0004u, d.tokens[3]);  // v4
  EXPECT_EQ(0x8000000Au, d.tokens[5]);  // color 0
  EXPECT_EQ(0x80000003u, d.tokens[8]);  // normal
}

TEST(D3DXAssembler, SwizzlesMasksAndNegation) {
  EXPECT_EQ(0x90E40000u, sourceOf("v0"));
  EXPECT_EQ(0x90000000u, sourceOf("v0.x"));    // replicated: xxxx
  EXPECT_EQ(0x90540000u, sourceOf("v0.xy"));   // xyyy
  EXPECT_EQ(0x90A40000u, sourceOf("v0.xyz"));  // xyzz
  EXPECT_EQ(0x901B0000u, sourceOf("v0.wzyx"));
  EXPECT_EQ(0x90FF0000u, sourceOf("v0.a"));  // colour letters: wwww
  EXPECT_EQ(0x91E40000u, sourceOf("-v0"));   // negation
  EXPECT_EQ(0xA1000005u | (0x55u << 16), sourceOf("-c5.y"));
  EXPECT_EQ(0x800F0003u, destOf("r3"));
  EXPECT_EQ(0x80050003u, destOf("r3.xz"));
  EXPECT_EQ(0x80080003u, destOf("r3.w"));
  EXPECT_EQ(0xD00F0000u, destOf("oD0"));
  EXPECT_EQ(0xE0030002u, destOf("oT2.xy"));
}

TEST(D3DXAssembler, EveryShaderOfTheRenderingDevice) {
  const char* texts[] = {
      "vs.1.1\ndcl_position v0\ndcl_color0 v1\ndcl_texcoord0 v8\nm4x4 r0, v0, c4\nm4x4 oPos, r0, c0\nmov oD0, "
      "v1\nmov oT0, v8\n",
      "vs.1.1\ndcl_position v0\ndcl_color0 v1\nm4x4 oPos, v0, c0\nmov oD0, v1\n",
      "vs.1.1\ndcl_position0 v0\ndcl_color0 v1\ndcl_texcoord0 v8\nmov oPos,v0\nmov oD0, v1\nmov oT0, v8\n",
      "vs.1.1\ndcl_position v0\ndcl_normal v1\ndcl_color0 v2\ndcl_texcoord0 v8\nm4x4 r0, v0, c4\nm4x4 r1, r0, "
      "c0\nmov oPos, r1\nsub r1.xyz, c9, r0.xyz\ndp3 r1, r1, r1\nrsq r2, r1\nrcp r2, r2\nrcp r3, c10.x\nmul r4, r2, "
      "r3\nmin r5.x, r4.x, c8.x\nsub r5.xyz, c8.x, r5.x\nmul r6.xyz, r5.xyz, c11.xyz\nmov oD0.xyz, r6.xyz\nmov "
      "oD0.w, c8.x\nmov  oT0 , v8\n",
      "vs_1_1\ndcl_position v0\ndcl_color0 v1\nm4x4 oPos, v0, c0\nmov oD0, v1\n",
      "vs_1_1\ndcl_position v0\ndcl_color0 v1\ndcl_texcoord0 v8\nm4x4 oPos, v0, c0\nmov oD0, v1\nmov oT0, v8\n",
      "vs_1_1\ndcl_position v0\ndcl_color0 v1\ndcl_normal v2\ndcl_texcoord0 v3\nm4x4 oPos, v0, c0\ndp3  r0, v2, "
      "c12\nmul  r1, r0, c11\nmul r2, r0, v1\nadd oD0, r1, r2\nadd r3, v3, c10\nmov  oT0, r3\n",
      "vs_1_1\ndcl_position v0\ndcl_color0 v1\ndcl_normal v2\ndcl_texcoord0 v3\nm4x4 oPos, v0, c0\ndp3  r0, v2, "
      "c12\nmul  r1, r0, c11\nmul r2, r0, v1\nadd oD0, r1, r2\nadd r3, v0, -c13\ndp3 r3.w, r3, r3\nrsq r3.w, "
      "r3.w\nmul r3, r3, r3.w\nmov  oT0, v3\nmov  oT1, r3\n",
      "vs_1_1\ndcl_position v0\ndcl_normal v1\ndcl_color0 v2\ndcl_texcoord0 v8\nm4x4 oPos, v0, c0\ndp3  r0, v1, "
      "c11\nmul  oD0, r0.x, v2\nmov oT0, v8\n",
      "vs_1_1\ndcl_position v0\ndcl_color0 v1\ndcl_normal v2\ndcl_texcoord0 v3\ndcl_texcoord1 v4\nm4x4 oPos, v0, "
      "c0\ndp3  r0, v2, c12\nmul  r1, r0, c11\nmul r2, r0, v1\nadd oD0, r1, r2\nmov  oT0, v3\nadd r3, v4, c7\nmov  "
      "oT1, r3\n",
      "vs_1_1\ndcl_position v0\ndcl_color0 v1\ndcl_normal v2\ndcl_texcoord0 v3\nm4x4 oPos, v0, c0\ndp3  r0, v2, "
      "c12\nmul  r1, r0, c11\nmul r2, r0, v1\nadd oD0, r1, r2\nadd r3, v0, -c13\ndp3 r3.w, r3, r3\nrsq r3.w, "
      "r3.w\nmul r3, r3, r3.w\nm4x4 r4, r3, c4\nmov  oT0, v3\nmov  oT1, r4\n",
      "vs_1_1\ndcl_position v0\ndcl_color0 v1\ndcl_normal v2\ndcl_texcoord0 v3\nm4x4 oPos, v0, c0\ndp3  r0, v2, "
      "c12\nmul  r1, r0, c11\nmul r2, r0, v1\nadd oD0, r1, r2\nmov  oT0, v3\nmov  oT1, v3\nmov  oT2, v3\n",
      "vs_1_1\ndcl_position v0\ndcl_color0 v1\ndcl_normal v2\ndcl_texcoord0 v3\nm4x4 oPos, v0, c0\ndp3  r0, v2, "
      "c12\nmul  r1, r0, c11\nmul r2, r0, v1\nadd oD0, r1, r2\nmul r3, v3, c6\nm4x4 r4, r3, c8\nadd r4, r4, "
      "c7\nmov  oT0, r4\n",
      "vs_1_1\ndcl_position v0\ndcl_color0 v1\ndcl_normal v2\ndcl_texcoord0 v3\nm4x4 oPos, v0, c0\nmad r0, v2, c1, "
      "c2\nmax r1, r0, c3\ndp4 r2, v0, c4\nmov oD0, r1\nmov oT0, r2\n",
  };
  // Each one also translates: the device turns its tokens into GLSL that OpenGL compiles.
  d3d9test::TestDevice t(8, 8);
  ASSERT_TRUE(t.ok()) << t.why();
  for (const char* text : texts) {
    const Result r = assemble(text);
    EXPECT_EQ(D3D_OK, r.hr) << text << "\n" << r.error;
    EXPECT_EQ(0x0000FFFFu, r.tokens.empty() ? 0u : r.tokens.back());
    IDirect3DVertexShader9* shader = nullptr;
    EXPECT_EQ(D3D_OK, r.tokens.empty() ? D3DERR_INVALIDCALL : t.device->CreateVertexShader(r.tokens.data(), &shader))
        << text << "\n"
        << brD3D9LastError();
    if (shader) {
      EXPECT_EQ(0u, shader->Release());
    }
  }
}

TEST(D3DXAssembler, ErrorsNameTheLine) {
  struct Case {
    const char* text;
    const char* line;
  } cases[] = {
      {"mov oPos, c0\n", "(1): error"},                         // no version
      {"vs.1.1\nmov oPos, v0\n", "(2): error"},                 // input without dcl
      {"vs.1.1\ndcl_position v0\nfoo r0, v0\n", "(3): error"},  // unknown opcode
      {"vs.1.1\nmov oPos, c0\nmov r0.zx, c0\n", "(3): error"},  // mask out of order
      {"vs.1.1\nmov oPos, c0\nmov r12, c0\n", "(3): error"},    // temp out of range
      {"vs.1.1\nmov oPos, c96\n", "(2): error"},                // constant out of range
      {"vs.1.1\nmov oPos, c0\nmov oT3, c0\n", "(3): error"},    // output not supported
      {"vs.1.1\nmov oPos, c0\nmov oD1, c0\n", "(3): error"},
      {"vs.1.1\nmov oPos, c0\nadd r0, c0\n", "(3): error"},                      // operand count
      {"vs.1.1\n\n\nm4x4 oPos, c0, c93\n", "(4): error"},                        // matrix runs past c95
      {"vs.1.1\ndcl_position v0\ndcl_normal v0\nmov oPos, v0\n", "(3): error"},  // register declared twice
      {"vs.1.1\nmov oPos, c0.xq\n", "(2): error"},                               // bad swizzle
      {"vs.1.1\nmov -oPos, c0\n", "(2): error"},                                 // negated destination
      {"vs.1.1\nmov v0, c0\n", "(2): error"},                                    // write to an input
      {"vs.1.1\nmov oPos, c[a0.x]\n", "(2): error"},                             // relative addressing
      {"vs.1.1\nmov r0, c0\n", "(2): error"},                                    // oPos never written
      {"vs.1.1\nvs.1.1\n", "(2): error"},                                        // second version line
      {"vs.1.1\ndcl_bogus v0\n", "(2): error"},
      {"", "(1): error"},
      {"vs.1.1\ndcl_texcoord0 v0\ndcl_texcoord v1\nmov oPos, v0\n", "(3): error"},  // usage declared twice
      {"vs.1.1\nmov oPos, r0\n", "(2): error"},                                     // temporary never written
      {"vs.1.1\nmov r0.x, c0\nmov oPos, r0\n", "(3): error"},                       // only .x written
      {"vs.1.1\nadd r1, r1, c0\nmov oPos, c0\n", "(2): error"},                     // read before its own write
  };
  for (const Case& c : cases) {
    const Result r = assemble(c.text);
    EXPECT_EQ(D3DXERR_INVALIDDATA, r.hr) << c.text;
    EXPECT_TRUE(r.tokens.empty()) << c.text;
    EXPECT_EQ(0u, r.error.find(c.line)) << c.text << " -> " << r.error;
  }
  // 128 instruction slots (m4x4 takes four): one more is refused, on the line that passed the limit.
  std::string full = "vs.1.1\nm4x4 oPos, c0, c4\n";
  for (int i = 0; i < 124; ++i) full += "mov r0, c1\n";
  EXPECT_EQ(D3D_OK, assemble(full).hr) << assemble(full).error;
  EXPECT_EQ(0u, assemble(full + "mov r1, c2\n").error.find("(127): error"));
  // Components a read uses are checked, not the whole register: these are fine.
  EXPECT_EQ(D3D_OK, assemble("vs.1.1\nmov r0.x, c0\nmov r1.y, r0.x\nrcp r2, r0.x\nmov oPos, c0\n").hr);

  // Without an error buffer the failure still reports; macros are refused.
  ID3DXBuffer* code = reinterpret_cast<ID3DXBuffer*>(1);
  EXPECT_EQ(D3DXERR_INVALIDDATA, D3DXAssembleShader("x", 1, nullptr, nullptr, 0, &code, nullptr));
  EXPECT_EQ(nullptr, code);
  const D3DXMACRO macros[] = {{"A", "1"}, {nullptr, nullptr}};
  EXPECT_EQ(D3DERR_INVALIDCALL, D3DXAssembleShader("vs.1.1\nmov oPos, c0\n", 20, macros, nullptr, 0, &code, nullptr));
}

namespace {

using Rand = BrRandStream;

// Assembles a text that must either fail with a line-numbered error or give tokens the device decodes.
// True when the text assembled (and its tokens decoded or failed the test).
bool assembleChecked(const std::string& text) {
  const Result r = assemble(text);
  if (r.hr != D3D_OK) {
    EXPECT_EQ(0u, r.error.find('(')) << text << " -> " << r.error;
    return false;
  }
  brd3d9::VsProgram program;
  size_t count = 0;
  std::string error;
  EXPECT_TRUE(
      brd3d9::brVsDecode(reinterpret_cast<const DWORD*>(r.tokens.data()), r.tokens.size(), program, count, error))
      << text << " -> " << error;
  return true;
}

}  // namespace

// Seeded mutations of a shader (characters, registers, lines): never a crash, every text either refused with
// a line-numbered error or assembled into tokens the device decodes. BR_FUZZ_ROUNDS and BR_FUZZ_SEED give other
// runs; with BR_FUZZ_SAVE_DIR set each text is written there as "last-input.vs" first, so a crash leaves its
// input to be kept under regressions/.
TEST(D3DXAssembler, MutatedTextsNeverCrash) {
  const std::string seed =
      "vs.1.1\ndcl_position v0\ndcl_normal v1\ndcl_color0 v2\ndcl_texcoord0 v8\nm4x4 r0, v0, c4\nm4x4 r1, r0, c0\n"
      "mov oPos, r1\nsub r1.xyz, c9, r0.xyz\ndp3 r1, r1, r1\nrsq r2, r1\nrcp r2, r2\nrcp r3, c10.x\nmul r4, r2, r3\n"
      "min r5.x, r4.x, c8.x\nsub r5.xyz, c8.x, r5.x\nmad r6.xyz, r5.xyz, c11.xyz, -c12\nmov oD0.xyz, r6.xyz\n"
      "mov oD0.w, c8.x\nmov oT0, v8\n";
  const char alphabet[] = "vcroDTPsxyzw0123456789.,-_ \n;/[]";
  const char* env = std::getenv("BR_FUZZ_ROUNDS");
  const int rounds = env ? std::max(1, std::atoi(env)) : 3000;
  const char* seedEnv = std::getenv("BR_FUZZ_SEED");
  const char* saveDir = std::getenv("BR_FUZZ_SAVE_DIR");
  Rand rng{seedEnv ? uint32_t(std::atoi(seedEnv)) : 4242u};
  int assembled = 0;
  for (int m = 0; m < rounds; ++m) {
    std::string t = seed;
    const int edits = 1 + int(rng.Next() % 6);
    for (int e = 0; e < edits && !t.empty(); ++e) {
      const size_t at = rng.Next() % t.size();
      switch (rng.Next() % 5) {
        case 0: t[at] = alphabet[rng.Next() % (sizeof alphabet - 1)]; break;
        case 1: t.insert(at, 1, alphabet[rng.Next() % (sizeof alphabet - 1)]); break;
        case 2: t.erase(at, 1 + rng.Next() % 8); break;
        case 3: t.resize(at); break;
        default: {  // a line repeated many times, past the instruction limit now and then
          const size_t b = t.rfind('\n', at), e2 = t.find('\n', at);
          const std::string line =
              t.substr(b == std::string::npos ? 0 : b + 1, e2 == std::string::npos ? std::string::npos : e2 - (b + 1)) +
              "\n";
          for (uint32_t k = rng.Next() % 140; k > 0; --k) t += line;
        }
      }
    }
    if (saveDir) std::ofstream(std::string(saveDir) + "/last-input.vs") << t;
    assembled += assembleChecked(t) ? 1 : 0;
  }
  // If every mutation broke the text, only the refusal would be tested, never the decoding of what passes.
  EXPECT_GT(assembled, rounds / 100) << "of " << rounds << " mutated texts";
  // Texts kept from earlier crashes.
  for (const auto& entry : std::filesystem::directory_iterator(D3DX_REGRESSION_DIR))
    if (entry.path().extension() == ".vs") {
      std::ifstream in(entry.path());
      assembleChecked(std::string((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>()));
    }
}
