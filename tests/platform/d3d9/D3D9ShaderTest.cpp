// Shader translation: assembled vs_1_1 programs run through their GLSL with transform feedback, so the
// values of swizzles, masks, negation, rcp and rsq (of 0 and 1 too), dot products and m4x4 are checked
// exactly; and the decoder's refusals of malformed token streams.
#include <epoxy/gl.h>

#include <cmath>
#include <cstring>
#include <limits>

#include "platform/d3d9/BrVsProgram.h"
#include "platform/d3d9/d3d9shadertokens.h"
#include "tests/platform/d3d9/D3D9TestSupport.h"

using namespace d3d9test;

namespace {

struct Vec {
  float v[4];
};

struct Outputs {
  Vec pos, d0, t0, t1, t2;
};

std::vector<DWORD> assemble(const char* text) {
  ID3DXBuffer* code = nullptr;
  ID3DXBuffer* errors = nullptr;
  std::vector<DWORD> tokens;
  if (FAILED(D3DXAssembleShader(text, UINT(std::strlen(text)), nullptr, nullptr, 0, &code, &errors))) {
    ADD_FAILURE() << (errors ? static_cast<const char*>(errors->GetBufferPointer()) : "assembly failed");
  } else {
    const DWORD* p = static_cast<const DWORD*>(code->GetBufferPointer());
    tokens.assign(p, p + code->GetBufferSize() / 4);
  }
  if (code) code->Release();
  if (errors) errors->Release();
  return tokens;
}

// Runs one vertex through the translated program: inputs v0.. and constants c0.., outputs captured raw
// (oPos) and as passed to the rasteriser (vD0 clamped, vT0-vT2). Needs a current OpenGL 3.3 context.
bool run(const char* text, const std::vector<Vec>& inputs, const std::vector<Vec>& constants, Outputs& out) {
  const std::vector<DWORD> tokens = assemble(text);
  brd3d9::VsProgram program;
  size_t count = 0;
  std::string error;
  if (tokens.empty() || !brd3d9::brVsDecode(tokens.data(), tokens.size(), program, count, error)) {
    ADD_FAILURE() << "decode: " << error;
    return false;
  }
  const std::string glsl = brd3d9::brVsEmitGlsl(program, brd3d9::kD3D9OnGL, false, true);
  GLuint vs = glCreateShader(GL_VERTEX_SHADER);
  const char* src = glsl.c_str();
  glShaderSource(vs, 1, &src, nullptr);
  glCompileShader(vs);
  GLint ok = 0;
  glGetShaderiv(vs, GL_COMPILE_STATUS, &ok);
  if (!ok) {
    char log[1024] = {0};
    glGetShaderInfoLog(vs, sizeof log - 1, nullptr, log);
    ADD_FAILURE() << log << "\n" << glsl;
    return false;
  }
  GLuint prog = glCreateProgram();
  glAttachShader(prog, vs);
  const char* varyings[] = {"brRawPos", "vD0", "vT0", "vT1", "vT2"};
  glTransformFeedbackVaryings(prog, 5, varyings, GL_INTERLEAVED_ATTRIBS);
  glLinkProgram(prog);
  glGetProgramiv(prog, GL_LINK_STATUS, &ok);
  EXPECT_TRUE(ok) << glsl;
  glUseProgram(prog);
  if (!constants.empty()) glUniform4fv(glGetUniformLocation(prog, "c"), GLsizei(constants.size()), constants[0].v);
  GLuint vao, buf;
  glGenVertexArrays(1, &vao);
  glBindVertexArray(vao);
  for (size_t i = 0; i < inputs.size(); ++i) glVertexAttrib4fv(GLuint(i), inputs[i].v);
  glGenBuffers(1, &buf);
  glBindBuffer(GL_TRANSFORM_FEEDBACK_BUFFER, buf);
  glBufferData(GL_TRANSFORM_FEEDBACK_BUFFER, sizeof(Outputs), nullptr, GL_STATIC_READ);
  glBindBufferBase(GL_TRANSFORM_FEEDBACK_BUFFER, 0, buf);
  glEnable(GL_RASTERIZER_DISCARD);
  glBeginTransformFeedback(GL_POINTS);
  glDrawArrays(GL_POINTS, 0, 1);
  glEndTransformFeedback();
  glDisable(GL_RASTERIZER_DISCARD);
  glGetBufferSubData(GL_TRANSFORM_FEEDBACK_BUFFER, 0, sizeof(Outputs), &out);
  glDeleteBuffers(1, &buf);
  glDeleteVertexArrays(1, &vao);
  glDeleteProgram(prog);
  glDeleteShader(vs);
  return glGetError() == GL_NO_ERROR;
}

void expectVec(const Vec& got, float x, float y, float z, float w, const char* what) {
  const float want[4] = {x, y, z, w};
  for (int i = 0; i < 4; ++i) EXPECT_FLOAT_EQ(want[i], got.v[i]) << what << " component " << i;
}

const float kInf = std::numeric_limits<float>::infinity();

}  // namespace

TEST(D3D9Shader, SwizzlesMasksAndNegation) {
  TestDevice t(8, 8);
  ASSERT_TRUE(t.ok()) << t.why();
  Outputs o;
  ASSERT_TRUE(
      run("vs_1_1\ndcl_position v0\n"
          "mov oPos, c0.wzyx\n"          // full swizzle
          "mov oT0, c0.y\n"              // one component replicated
          "mov oT1, -c0.xz\n"            // short swizzle repeats its last component, negated
          "mov r0, c1\nmov r0.xz, c0\n"  // write mask keeps the other components
          "mov oT2, r0\n"
          "mov oD0.xy, v0.zw\n",  // unwritten components of oD0 stay 1
          {{{0.25f, 0.5f, 0.75f, 1.0f}}}, {{{1, 2, 3, 4}}, {{5, 6, 7, 8}}}, o));
  expectVec(o.pos, 4, 3, 2, 1, "oPos");
  expectVec(o.t0, 2, 2, 2, 2, "oT0");
  expectVec(o.t1, -1, -3, -3, -3, "oT1");
  expectVec(o.t2, 1, 6, 3, 8, "oT2");
  expectVec(o.d0, 0.75f, 1.0f, 1.0f, 1.0f, "oD0");
}

TEST(D3D9Shader, ReciprocalsOfZeroAndOne) {
  TestDevice t(8, 8);
  ASSERT_TRUE(t.ok()) << t.why();
  Outputs o;
  ASSERT_TRUE(
      run("vs.1.1\n"
          "rcp r0, c0.x\n"  // 1 -> exactly 1
          "rcp r1, c0.y\n"  // 0 -> +infinity
          "rsq r2, c0.x\n"  // 1 -> exactly 1
          "rsq r3, c0.y\n"  // 0 -> +infinity
          "mov oPos.x, r0.x\nmov oPos.y, r1.x\nmov oPos.z, r2.x\nmov oPos.w, r3.x\n"
          "rcp oT0, c0\n"    // no swizzle: the w component (4)
          "rsq oT1, c0.z\n"  // the sign is ignored: rsq(-4) = 0.5
          "rcp r4, -c0.y\n"  // -0 is 0: +infinity
          "min oD0, r4, c1\n",
          {}, {{{1, 0, -4, 4}}, {{0.5f, 0.5f, 0.5f, 0.5f}}}, o));
  EXPECT_EQ(1.0f, o.pos.v[0]);
  EXPECT_EQ(kInf, o.pos.v[1]);
  EXPECT_EQ(1.0f, o.pos.v[2]);
  EXPECT_EQ(kInf, o.pos.v[3]);
  expectVec(o.t0, 0.25f, 0.25f, 0.25f, 0.25f, "rcp w");
  expectVec(o.t1, 0.5f, 0.5f, 0.5f, 0.5f, "rsq abs");
  expectVec(o.d0, 0.5f, 0.5f, 0.5f, 0.5f, "min(inf, 0.5)");
}

TEST(D3D9Shader, ArithmeticDotProductsAndMatrix) {
  TestDevice t(8, 8);
  ASSERT_TRUE(t.ok()) << t.why();
  Outputs o;
  // c0-c3: rows of a matrix (as the device uploads transposed matrices): m4x4 gives dot(v, row i).
  ASSERT_TRUE(
      run("vs.1.1\ndcl_position v0\ndcl_normal v3\n"
          "m4x4 oPos, v0, c0\n"
          "dp3 r0, v3, c4\n"
          "dp4 r1, v3, c4\n"
          "mad r2, v3, c4, c5\n"
          "sub r3, c5, v3\n"
          "max r4, v3, c5.x\n"
          "add oT0, r0, r1\n"
          "mul oT1, r2, r3\n"
          "mov oT2, r4\n",
          {{{1, 2, 3, 1}}, {{0, 0, 0, 1}}, {{0, 0, 0, 1}}, {{1, -2, 3, 2}}},
          {{{1, 0, 0, 10}}, {{0, 2, 0, 20}}, {{0, 0, 3, 30}}, {{1, 1, 1, 1}}, {{2, 3, 4, 5}}, {{1, 1, 1, 1}}}, o));
  expectVec(o.pos, 11, 24, 39, 7, "m4x4");
  // dp3 = 2 - 6 + 12 = 8; dp4 = 8 + 10 = 18.
  expectVec(o.t0, 26, 26, 26, 26, "dp3 + dp4");
  // mad = (3, -5, 13, 11); sub = (0, 3, -2, -1).
  expectVec(o.t1, 0, -15, -26, -11, "mad * sub");
  expectVec(o.t2, 1, 1, 3, 2, "max");
}

TEST(D3D9Shader, LitShaderOfTheRenderingDevice) {
  TestDevice t(8, 8);
  ASSERT_TRUE(t.ok()) << t.why();
  const char* shader3d =
      "vs.1.1\ndcl_position v0\ndcl_normal v1\ndcl_color0 v2\ndcl_texcoord0 v8\nm4x4 r0, v0, c4\nm4x4 r1, r0, "
      "c0\nmov oPos, r1\nsub r1.xyz, c9, r0.xyz\ndp3 r1, r1, r1\nrsq r2, r1\nrcp r2, r2\nrcp r3, c10.x\nmul r4, r2, "
      "r3\nmin r5.x, r4.x, c8.x\nsub r5.xyz, c8.x, r5.x\nmul r6.xyz, r5.xyz, c11.xyz\nmov oD0.xyz, r6.xyz\nmov "
      "oD0.w, c8.x\nmov  oT0 , v8\n";
  std::vector<Vec> c(12, Vec{{0, 0, 0, 0}});
  for (int i = 0; i < 4; ++i) c[i].v[i] = c[4 + i].v[i] = 1;  // identity view-projection and world
  c[8] = {{1, 1, 0, 0.5f}};
  c[9] = {{3, 4, 0, 0}};    // light 5 units from the origin
  c[10] = {{20, 0, 0, 0}};  // range 20
  c[11] = {{1, 1, 1, 0}};
  Outputs o;
  ASSERT_TRUE(run(shader3d,
                  {{{0, 0, 0, 1}}, {{0, 1, 0, 0}}, {{0, 0, 0, 1}}, {}, {}, {}, {}, {}, {{0.25f, 0.75f, 0, 1}}}, c, o));
  expectVec(o.pos, 0, 0, 0, 1, "oPos");
  EXPECT_NEAR(0.75f, o.d0.v[0], 1e-6);  // 1 - 5/20
  EXPECT_NEAR(0.75f, o.d0.v[2], 1e-6);
  EXPECT_EQ(1.0f, o.d0.v[3]);
  expectVec(o.t0, 0.25f, 0.75f, 0, 1, "oT0");
}

TEST(D3D9Shader, DecoderRefusesMalformedTokens) {
  std::vector<DWORD> good = assemble("vs.1.1\ndcl_position v0\nmov oPos, v0\n");
  ASSERT_FALSE(good.empty());
  brd3d9::VsProgram p;
  size_t count = 0;
  std::string error;
  ASSERT_TRUE(brd3d9::brVsDecode(good.data(), good.size(), p, count, error)) << error;
  EXPECT_EQ(good.size(), count);
  ASSERT_EQ(1u, p.inputs.size());
  EXPECT_EQ(uint32_t(D3DDECLUSAGE_POSITION), p.inputs[0].usage);

  auto refuses = [&](std::vector<DWORD> tokens, const char* why) {
    brd3d9::VsProgram q;
    std::string e;
    size_t n = 0;
    EXPECT_FALSE(brd3d9::brVsDecode(tokens.data(), tokens.size(), q, n, e)) << why;
  };
  std::vector<DWORD> t = good;
  t.pop_back();
  refuses(t, "no end token");
  t = good;
  t[0] = 0xFFFE0200;
  refuses(t, "vs_2_0 version");
  t = {D3DVS_VERSION_1_1, D3DSIO_MOV | (2u << 24), brShaderRegToken(D3DSPR_RASTOUT, 0) | D3DSP_WRITEMASK_ALL,
       brShaderRegToken(D3DSPR_INPUT, 0) | D3DVS_NOSWIZZLE, D3DSIO_END};
  refuses(t, "input read without dcl");
  t[3] = brShaderRegToken(D3DSPR_CONST, 96) | D3DVS_NOSWIZZLE;
  refuses(t, "constant out of range");
  t[3] = brShaderRegToken(D3DSPR_CONST, 0) | D3DVS_NOSWIZZLE;
  t[1] = 15u | (2u << 24);
  refuses(t, "unsupported opcode");
  t[1] = D3DSIO_MOV | (9u << 24);
  refuses(t, "instruction longer than the stream");
  t[1] = D3DSIO_MOV | (2u << 24);
  t[2] = brShaderRegToken(D3DSPR_TEMP, 0) | D3DSP_WRITEMASK_ALL;
  refuses(t, "oPos never written");
  TestDevice dev(8, 8);
  ASSERT_TRUE(dev.ok()) << dev.why();
  IDirect3DVertexShader9* shader = nullptr;
  EXPECT_EQ(D3DERR_INVALIDCALL, dev.device->CreateVertexShader(t.data(), &shader));
  ASSERT_EQ(D3D_OK, dev.device->CreateVertexShader(good.data(), &shader));
  UINT size = 0;
  ASSERT_EQ(D3D_OK, shader->GetFunction(nullptr, &size));
  EXPECT_EQ(good.size() * 4, size);
  releaseAll(shader);
}
