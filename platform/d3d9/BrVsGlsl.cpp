// GLSL emission for decoded vs_1_1 programs: the last stage of shader translation, one switch over opcodes.
#include <cmath>
#include <cstdio>

#include "platform/d3d9/BrVsProgram.h"
#include "platform/d3d9/d3d9shadertokens.h"

namespace brd3d9 {
namespace {

const char kComp[4] = {'x', 'y', 'z', 'w'};

std::string regName(uint32_t type, uint32_t number) {
  char buf[32];
  switch (type) {
    case D3DSPR_TEMP: std::snprintf(buf, sizeof buf, "r%u", number); break;
    case D3DSPR_INPUT: std::snprintf(buf, sizeof buf, "v%u", number); break;
    case D3DSPR_CONST: std::snprintf(buf, sizeof buf, "c[%u]", number); break;
    case D3DSPR_RASTOUT: std::snprintf(buf, sizeof buf, "oPos"); break;
    case D3DSPR_ATTROUT: std::snprintf(buf, sizeof buf, "oD0"); break;
    default: std::snprintf(buf, sizeof buf, "oT%u", number); break;
  }
  return buf;
}

std::string source(const VsSource& s, uint32_t offset = 0) {
  std::string text = regName(s.type, s.number + offset);
  if (!(s.swizzle[0] == 0 && s.swizzle[1] == 1 && s.swizzle[2] == 2 && s.swizzle[3] == 3)) {
    text += '.';
    for (int c = 0; c < 4; ++c) text += kComp[s.swizzle[c]];
  }
  return s.negate ? "(-" + text + ")" : text;
}

std::string floatLiteral(float v) {
  if (std::isinf(v)) return v > 0 ? "uintBitsToFloat(0x7F800000u)" : "uintBitsToFloat(0xFF800000u)";
  char buf[48];
  std::snprintf(buf, sizeof buf, "%.9g", double(v));
  std::string s = buf;
  if (s.find_first_of(".e") == std::string::npos) s += ".0";
  return s;
}

// The whole-vector value an instruction computes before its write mask applies.
std::string expression(const VsInstruction& in) {
  const std::string a = in.sourceCount > 0 ? source(in.src[0]) : "";
  const std::string b = in.sourceCount > 1 ? source(in.src[1]) : "";
  const std::string c = in.sourceCount > 2 ? source(in.src[2]) : "";
  switch (in.opcode) {
    case D3DSIO_MOV: return a;
    case D3DSIO_ADD: return "(" + a + " + " + b + ")";
    case D3DSIO_SUB: return "(" + a + " - " + b + ")";
    case D3DSIO_MUL: return "(" + a + " * " + b + ")";
    case D3DSIO_MAD: return "(" + a + " * " + b + " + " + c + ")";
    case D3DSIO_MIN: return "min(" + a + ", " + b + ")";
    case D3DSIO_MAX: return "max(" + a + ", " + b + ")";
    case D3DSIO_DP3: return "vec4(dot((" + a + ").xyz, (" + b + ").xyz))";
    case D3DSIO_DP4: return "vec4(dot(" + a + ", " + b + "))";
    // rcp and rsq read the w of the swizzled source, so ".x" (replicated) selects x.
    case D3DSIO_RCP: return "vec4(brRcp((" + a + ").w))";
    case D3DSIO_RSQ: return "vec4(brRsq((" + a + ").w))";
    case D3DSIO_M4x4: {
      std::string e = "vec4(";
      for (uint32_t row = 0; row < 4; ++row) {
        VsSource m = in.src[1];
        m.negate = false;
        for (int k = 0; k < 4; ++k) m.swizzle[k] = uint8_t(k);
        e += "dot(" + a + ", " + source(m, row) + ")";
        e += row < 3 ? ", " : ")";
      }
      return e;
    }
    default: return "vec4(0.0)";
  }
}

}  // namespace

std::string brVsEmitGlsl(const VsProgram& program, const Conventions& conv, bool pretransformed, bool captureRaw) {
  std::string s = "#version 330 core\n";
  char line[256];
  for (const VsInput& in : program.inputs) {
    std::snprintf(line, sizeof line, "layout(location = %u) in vec4 v%u;\n", in.reg, in.reg);
    s += line;
  }
  if (program.maxConstant >= 0) {
    std::snprintf(line, sizeof line, "uniform vec4 c[%d];\n", program.maxConstant + 1);
    s += line;
  }
  s += "uniform vec4 brFix;\n";
  s += "out vec4 vD0;\nout vec4 vT0;\nout vec4 vT1;\nout vec4 vT2;\n";
  if (captureRaw) s += "out vec4 brRawPos;\n";
  const std::string inf = floatLiteral(conv.reciprocalOfZero);
  // Direct3D defines 1 exactly and 0 as infinity for both; rsq ignores the sign.
  s += "float brRcp(float x) { return x == 1.0 ? 1.0 : (x == 0.0 ? " + inf + " : 1.0 / x); }\n";
  s += "float brRsq(float x) { x = abs(x); return x == 1.0 ? 1.0 : (x == 0.0 ? " + inf + " : inversesqrt(x)); }\n";
  s += "void main() {\n";
  for (uint32_t r = 0; r < kVsTempRegisters; ++r)
    if (program.tempsUsed & (1u << r)) {
      std::snprintf(line, sizeof line, "  vec4 r%u = vec4(0.0);\n", r);
      s += line;
    }
  s += "  vec4 oPos = vec4(0.0, 0.0, 0.0, 1.0);\n  vec4 oD0 = vec4(1.0);\n";
  s += "  vec4 oT0 = vec4(0.0, 0.0, 0.0, 1.0);\n  vec4 oT1 = oT0;\n  vec4 oT2 = oT0;\n  vec4 t;\n";
  for (const VsInstruction& in : program.code) {
    s += "  t = " + expression(in) + ";\n  " + regName(in.dest.type, in.dest.number);
    if (in.dest.mask == 0xF) {
      s += " = t;\n";
    } else {
      std::string m;
      for (int c = 0; c < 4; ++c)
        if (in.dest.mask & (1u << c)) m += kComp[c];
      s += "." + m + " = t." + m + ";\n";
    }
  }
  s += "  vD0 = clamp(oD0, 0.0, 1.0);\n  vT0 = oT0;\n  vT1 = oT1;\n  vT2 = oT2;\n";
  if (captureRaw) s += "  brRawPos = oPos;\n";
  const std::string half = floatLiteral(conv.pixelCenterOffset);
  const std::string ds = floatLiteral(conv.depthScale), db = floatLiteral(conv.depthBias);
  const char* ySign = conv.yDown ? "-" : "+";
  if (pretransformed) {
    // (x, y) in pixels of the render target, z in 0..1, rhw = 1/w for perspective-correct interpolation.
    s += "  float w = oPos.w == 0.0 ? 1.0 : 1.0 / oPos.w;\n";
    s += "  vec2 ndc = vec2((oPos.x - brFix.z + " + half + ") * 2.0 * brFix.x - 1.0, ";
    s += conv.yDown ? "1.0 - (oPos.y - brFix.w + " + half + ") * 2.0 * brFix.y);\n"
                    : "(oPos.y - brFix.w + " + half + ") * 2.0 * brFix.y - 1.0);\n";
    s += "  gl_Position = vec4(ndc * w, (" + ds + " * oPos.z + " + db + ") * w, w);\n";
  } else {
    // Clip space: shift by the pixel-centre difference (half a pixel is 1/size in NDC units).
    s += "  gl_Position = vec4(oPos.x + oPos.w * brFix.x * " + floatLiteral(conv.pixelCenterOffset * 2.0f) +
         ", oPos.y " + ySign + " oPos.w * brFix.y * " + floatLiteral(conv.pixelCenterOffset * 2.0f) + ", " + ds +
         " * oPos.z + " + db + " * oPos.w, oPos.w);\n";
  }
  s += "}\n";
  return s;
}

}  // namespace brd3d9
