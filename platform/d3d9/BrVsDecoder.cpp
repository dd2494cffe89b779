// Decoding and analysis of vs_1_1 token streams: the first two stages of shader translation.
#include <cstdio>

#include "platform/d3d9/BrVsProgram.h"
#include "platform/d3d9/d3d9shadertokens.h"

namespace brd3d9 {
namespace {

// Sources each supported opcode reads (-1: not supported).
int sourceCountOf(uint32_t opcode) {
  switch (opcode) {
    case D3DSIO_MOV:
    case D3DSIO_RCP:
    case D3DSIO_RSQ: return 1;
    case D3DSIO_ADD:
    case D3DSIO_SUB:
    case D3DSIO_MUL:
    case D3DSIO_DP3:
    case D3DSIO_DP4:
    case D3DSIO_MIN:
    case D3DSIO_MAX:
    case D3DSIO_M4x4: return 2;
    case D3DSIO_MAD: return 3;
    default: return -1;
  }
}

bool fail(std::string& error, size_t at, const char* what) {
  char buf[160];
  std::snprintf(buf, sizeof buf, "token %zu: %s", at, what);
  error = buf;
  return false;
}

}  // namespace

bool brVsDecode(const DWORD* tokens, size_t maxTokens, VsProgram& program, size_t& tokenCount, std::string& error) {
  program = VsProgram();
  tokenCount = 0;
  if (!tokens) return fail(error, 0, "no tokens");
  if (maxTokens > kVsMaxTokens) maxTokens = kVsMaxTokens;
  if (maxTokens < 1 || tokens[0] != D3DVS_VERSION_1_1) return fail(error, 0, "not a vs_1_1 shader");
  size_t pos = 1;
  uint32_t declared = 0;  // input registers with a dcl
  bool ended = false;
  while (pos < maxTokens) {
    const size_t at = pos;
    const uint32_t token = tokens[pos++];
    const uint32_t opcode = token & D3DSI_OPCODE_MASK;
    if (opcode == D3DSIO_END) {
      ended = true;
      break;
    }
    if (opcode == D3DSIO_COMMENT) {
      const size_t words = (token & D3DSI_COMMENTSIZE_MASK) >> D3DSI_COMMENTSIZE_SHIFT;
      if (words > maxTokens - pos) return fail(error, at, "comment runs past the end");
      pos += words;
      continue;
    }
    const size_t length = (token & D3DSI_INSTLENGTH_MASK) >> D3DSI_INSTLENGTH_SHIFT;
    if (length > maxTokens - pos) return fail(error, at, "instruction runs past the end");
    const DWORD* params = tokens + pos;
    pos += length;
    for (size_t i = 0; i < length; ++i)
      if (!(params[i] & D3DSP_TOKEN_BIT)) return fail(error, at, "malformed parameter token");
    if (opcode == D3DSIO_NOP) continue;
    if (opcode == D3DSIO_DCL) {
      if (length != 2) return fail(error, at, "dcl takes two parameters");
      const uint32_t usage = (params[0] & D3DSP_DCL_USAGE_MASK) >> D3DSP_DCL_USAGE_SHIFT;
      const uint32_t index = (params[0] & D3DSP_DCL_USAGEINDEX_MASK) >> D3DSP_DCL_USAGEINDEX_SHIFT;
      const uint32_t reg = params[1] & D3DSP_REGNUM_MASK;
      if (brShaderRegType(params[1]) != D3DSPR_INPUT || reg >= kVsInputRegisters)
        return fail(error, at, "dcl names no input register");
      if (usage > D3DDECLUSAGE_SAMPLE) return fail(error, at, "unknown dcl usage");
      if (declared & (1u << reg)) return fail(error, at, "input register declared twice");
      for (const VsInput& in : program.inputs)
        if (in.usage == usage && in.usageIndex == index) return fail(error, at, "usage declared twice");
      declared |= 1u << reg;
      program.inputs.push_back({reg, usage, index});
      continue;
    }
    const int sources = sourceCountOf(opcode);
    if (sources < 0) return fail(error, at, "unsupported instruction");
    if (length != size_t(1 + sources)) return fail(error, at, "wrong number of parameters");

    VsInstruction ins;
    ins.opcode = opcode;
    ins.sourceCount = sources;
    // Destination: a temporary or an output register.
    const uint32_t d = params[0];
    ins.dest.type = brShaderRegType(d);
    ins.dest.number = d & D3DSP_REGNUM_MASK;
    ins.dest.mask = (d & D3DSP_WRITEMASK_ALL) >> D3DSP_WRITEMASK_SHIFT;
    if (ins.dest.mask == 0) return fail(error, at, "empty write mask");
    switch (ins.dest.type) {
      case D3DSPR_TEMP:
        if (ins.dest.number >= kVsTempRegisters) return fail(error, at, "temporary register out of range");
        program.tempsUsed |= 1u << ins.dest.number;
        break;
      case D3DSPR_RASTOUT:
        if (ins.dest.number != D3DSRO_POSITION) return fail(error, at, "unsupported rasteriser output");
        program.outputsWritten |= 1u;
        break;
      case D3DSPR_ATTROUT:
        if (ins.dest.number != 0) return fail(error, at, "unsupported colour output");
        program.outputsWritten |= 2u;
        break;
      case D3DSPR_TEXCRDOUT:
        if (ins.dest.number >= kVsTexCoordOutputs) return fail(error, at, "unsupported texture output");
        program.outputsWritten |= 4u << ins.dest.number;
        break;
      default: return fail(error, at, "destination must be a temporary or an output");
    }
    for (int s = 0; s < sources; ++s) {
      const uint32_t t = params[1 + s];
      VsSource& src = ins.src[s];
      src.type = brShaderRegType(t);
      src.number = t & D3DSP_REGNUM_MASK;
      const uint32_t swz = (t & D3DVS_SWIZZLE_MASK) >> D3DVS_SWIZZLE_SHIFT;
      for (int c = 0; c < 4; ++c) src.swizzle[c] = uint8_t((swz >> (2 * c)) & 3);
      const uint32_t mod = (t & D3DSP_SRCMOD_MASK) >> D3DSP_SRCMOD_SHIFT;
      if (mod != D3DSPSM_NONE && mod != D3DSPSM_NEG) return fail(error, at, "unsupported source modifier");
      src.negate = mod == D3DSPSM_NEG;
      // m4x4 reads four consecutive registers from its second source.
      const uint32_t span = (opcode == D3DSIO_M4x4 && s == 1) ? 4 : 1;
      switch (src.type) {
        case D3DSPR_TEMP:
          if (src.number + span > kVsTempRegisters) return fail(error, at, "temporary register out of range");
          for (uint32_t k = 0; k < span; ++k) program.tempsUsed |= 1u << (src.number + k);
          break;
        case D3DSPR_INPUT:
          if (src.number + span > kVsInputRegisters) return fail(error, at, "input register out of range");
          for (uint32_t k = 0; k < span; ++k)
            if (!(declared & (1u << (src.number + k)))) return fail(error, at, "input register read without dcl");
          break;
        case D3DSPR_CONST:
          if (src.number + span > kVsConstRegisters) return fail(error, at, "constant register out of range");
          if (int(src.number + span - 1) > program.maxConstant) program.maxConstant = int(src.number + span - 1);
          break;
        default: return fail(error, at, "source must be a temporary, input or constant register");
      }
    }
    program.code.push_back(ins);
  }
  if (!ended) return fail(error, pos, "no end token");
  if (!(program.outputsWritten & 1u)) return fail(error, pos, "oPos is never written");
  tokenCount = pos;
  return true;
}

}  // namespace brd3d9
