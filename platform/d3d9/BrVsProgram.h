// A decoded vs_1_1 program: its declarations, instructions and what the analysis found in them.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "platform/d3d9/BrD3D9Conventions.h"
#include "platform/d3d9/d3d9types.h"

namespace brd3d9 {

// Limits of vs_1_1 as this layer supports it.
enum : uint32_t {
  kVsInputRegisters = 16,
  kVsTempRegisters = 12,
  kVsConstRegisters = 96,
  kVsTexCoordOutputs = 3,
  kVsMaxTokens = 1 << 16,
};

struct VsSource {
  uint32_t type = 0;
  uint32_t number = 0;
  uint8_t swizzle[4] = {0, 1, 2, 3};
  bool negate = false;
};

struct VsDest {
  uint32_t type = 0;
  uint32_t number = 0;
  uint32_t mask = 0xF;  // bit 0 x ... bit 3 w
};

struct VsInstruction {
  uint32_t opcode = 0;
  VsDest dest;
  VsSource src[3];
  int sourceCount = 0;
};

// One dcl_ line: input register v<reg> takes the vertex element of this usage and index.
struct VsInput {
  uint32_t reg = 0;
  uint32_t usage = 0;
  uint32_t usageIndex = 0;
};

struct VsProgram {
  std::vector<VsInput> inputs;
  std::vector<VsInstruction> code;
  // Analysis: bit n set when r<n> is used; the highest constant register read (-1: none).
  uint32_t tempsUsed = 0;
  int maxConstant = -1;
  // Outputs written: bit 0 oPos, bit 1 oD0, bits 2.. oT0, oT1, oT2.
  uint32_t outputsWritten = 0;
};

// Decodes and checks a token stream; at most maxTokens are read. On failure returns false with a reason.
// tokenCount receives the tokens read, end token included.
bool brVsDecode(const DWORD* tokens, size_t maxTokens, VsProgram& program, size_t& tokenCount, std::string& error);

// GLSL 3.30 vertex shader for a decoded program. Inputs sit at attribute location = register number;
// constants in "uniform vec4 c[]"; outputs vD0, vT0..vT2; "brFix" carries (1/width, 1/height, x, y) of the
// viewport. pretransformed: oPos holds (x, y, z, rhw) in pixels. captureRaw adds "out vec4 brRawPos" with
// oPos as the program wrote it (for transform-feedback tests).
std::string brVsEmitGlsl(const VsProgram& program, const Conventions& conv, bool pretransformed, bool captureRaw);

}  // namespace brd3d9
