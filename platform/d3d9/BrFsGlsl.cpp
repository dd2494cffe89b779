// Emits the fragment program that stands for Direct3D 9's texture stages and alpha test.
#include <cstdio>

#include "platform/d3d9/BrFsProgram.h"

namespace brd3d9 {
namespace {

std::string argument(uint8_t arg, uint32_t stage) {
  std::string v;
  switch (arg & D3DTA_SELECTMASK) {
    case D3DTA_DIFFUSE: v = "vD0"; break;
    case D3DTA_CURRENT: v = "cur"; break;
    case D3DTA_TEXTURE: v = "tex" + std::to_string(stage); break;
    case D3DTA_TFACTOR: v = "brTFactor"; break;
    default: v = "vec4(0.0)"; break;  // specular, temp and per-stage constants are not kept
  }
  if (arg & D3DTA_ALPHAREPLICATE) v = "vec4((" + v + ").a)";
  if (arg & D3DTA_COMPLEMENT) v = "(vec4(1.0) - " + v + ")";
  return v;
}

// The value one operation gives from its three arguments.
std::string operation(uint8_t op, const std::string& a0, const std::string& a1, const std::string& a2, uint32_t stage) {
  const std::string tex = "tex" + std::to_string(stage);
  switch (op) {
    case D3DTOP_SELECTARG1: return a1;
    case D3DTOP_SELECTARG2: return a2;
    case D3DTOP_MODULATE: return "(" + a1 + " * " + a2 + ")";
    case D3DTOP_MODULATE2X: return "(" + a1 + " * " + a2 + " * 2.0)";
    case D3DTOP_MODULATE4X: return "(" + a1 + " * " + a2 + " * 4.0)";
    case D3DTOP_ADD: return "(" + a1 + " + " + a2 + ")";
    case D3DTOP_ADDSIGNED: return "(" + a1 + " + " + a2 + " - 0.5)";
    case D3DTOP_ADDSIGNED2X: return "((" + a1 + " + " + a2 + " - 0.5) * 2.0)";
    case D3DTOP_SUBTRACT: return "(" + a1 + " - " + a2 + ")";
    case D3DTOP_ADDSMOOTH: return "(" + a1 + " + " + a2 + " - " + a1 + " * " + a2 + ")";
    case D3DTOP_BLENDDIFFUSEALPHA: return "mix(" + a2 + ", " + a1 + ", vD0.a)";
    case D3DTOP_BLENDTEXTUREALPHA: return "mix(" + a2 + ", " + a1 + ", " + tex + ".a)";
    case D3DTOP_BLENDFACTORALPHA: return "mix(" + a2 + ", " + a1 + ", brTFactor.a)";
    case D3DTOP_BLENDCURRENTALPHA: return "mix(" + a2 + ", " + a1 + ", cur.a)";
    case D3DTOP_DOTPRODUCT3: return "vec4(4.0 * dot((" + a1 + ").rgb - 0.5, (" + a2 + ").rgb - 0.5))";
    case D3DTOP_MULTIPLYADD: return "(" + a0 + " + " + a1 + " * " + a2 + ")";
    case D3DTOP_LERP: return "mix(" + a2 + ", " + a1 + ", " + a0 + ")";
    default: return "(" + a1 + " * " + a2 + ")";
  }
}

const char* compare(uint8_t func) {
  switch (func) {
    case D3DCMP_NEVER: return "false";
    case D3DCMP_LESS: return "a < brAlphaRef";
    case D3DCMP_EQUAL: return "a == brAlphaRef";
    case D3DCMP_LESSEQUAL: return "a <= brAlphaRef";
    case D3DCMP_GREATER: return "a > brAlphaRef";
    case D3DCMP_NOTEQUAL: return "a != brAlphaRef";
    case D3DCMP_GREATEREQUAL: return "a >= brAlphaRef";
    default: return "true";
  }
}

}  // namespace

FsKey brFsMakeKey(const DWORD (*tss)[33], bool alphaTest, DWORD alphaFunc) {
  FsKey key;
  std::memset(&key, 0, sizeof key);
  bool disabled = false;
  for (uint32_t s = 0; s < kFsStages; ++s) {
    FsKey::Stage& st = key.stage[s];
    const DWORD* t = tss[s];
    // A disabled colour operation switches off this stage and every later one.
    if (disabled || t[D3DTSS_COLOROP] == D3DTOP_DISABLE || t[D3DTSS_COLOROP] > D3DTOP_LERP) {
      disabled = true;
      st.colorOp = D3DTOP_DISABLE;
      continue;
    }
    st.colorOp = uint8_t(t[D3DTSS_COLOROP]);
    st.colorArg[0] = uint8_t(t[D3DTSS_COLORARG0] & 0x3F);
    st.colorArg[1] = uint8_t(t[D3DTSS_COLORARG1] & 0x3F);
    st.colorArg[2] = uint8_t(t[D3DTSS_COLORARG2] & 0x3F);
    // An alpha operation cannot be disabled while the colour one runs: alpha then passes through.
    const DWORD aop = t[D3DTSS_ALPHAOP];
    st.alphaOp = uint8_t((aop == D3DTOP_DISABLE || aop > D3DTOP_LERP) ? 0 : aop);
    st.alphaArg[0] = uint8_t(t[D3DTSS_ALPHAARG0] & 0x3F);
    st.alphaArg[1] = uint8_t(t[D3DTSS_ALPHAARG1] & 0x3F);
    st.alphaArg[2] = uint8_t(t[D3DTSS_ALPHAARG2] & 0x3F);
    st.texCoord = uint8_t(t[D3DTSS_TEXCOORDINDEX] & 0xFFFF) < 3 ? uint8_t(t[D3DTSS_TEXCOORDINDEX] & 0xFFFF) : 0;
  }
  key.alphaFunc = alphaTest ? uint8_t(alphaFunc >= D3DCMP_NEVER && alphaFunc <= D3DCMP_ALWAYS ? alphaFunc : 0) : 0;
  if (key.alphaFunc == D3DCMP_ALWAYS) key.alphaFunc = 0;
  return key;
}

std::string brFsEmitGlsl(const FsKey& key) {
  std::string s =
      "#version 330 core\n"
      "in vec4 vD0;\nin vec4 vT0;\nin vec4 vT1;\nin vec4 vT2;\n"
      "uniform sampler2D brTex0;\nuniform sampler2D brTex1;\n"
      "uniform vec4 brTFactor;\nuniform int brAlphaRef;\n"
      "out vec4 brColor;\n"
      "void main() {\n  vec4 cur = vD0;\n";
  for (uint32_t i = 0; i < kFsStages; ++i) {
    const FsKey::Stage& st = key.stage[i];
    if (st.colorOp == D3DTOP_DISABLE) break;
    const std::string n = std::to_string(i);
    s += "  vec4 tex" + n + " = texture(brTex" + n + ", vT" + std::to_string(st.texCoord) + ".xy);\n";
    const std::string color =
        operation(st.colorOp, argument(st.colorArg[0], i), argument(st.colorArg[1], i), argument(st.colorArg[2], i), i);
    const std::string alpha = st.alphaOp == 0 ? std::string("cur")
                                              : operation(st.alphaOp, argument(st.alphaArg[0], i),
                                                          argument(st.alphaArg[1], i), argument(st.alphaArg[2], i), i);
    // Each stage's result is clamped to 0..1 before the next stage reads it, as the fixed pipeline does.
    s += "  cur = clamp(vec4((" + color + ").rgb, (" + alpha + ").a), 0.0, 1.0);\n";
  }
  if (key.alphaFunc) {
    // Direct3D compares the 8-bit alpha with the reference 0..255.
    s += "  int a = int(cur.a * 255.0 + 0.5);\n";
    s += std::string("  if (!(") + compare(key.alphaFunc) + ")) discard;\n";
  }
  s += "  brColor = cur;\n}\n";
  return s;
}

}  // namespace brd3d9
