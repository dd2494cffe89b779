// The vertex-shader token format shared by the assembler (d3dx9) and the device's decoder: version,
// instruction, parameter and declaration tokens.
#pragma once

#include <cstdint>

// Token stream: a version token, instructions, then D3DSIO_END. An instruction token holds the opcode in
// bits 0-15 and the number of parameter tokens that follow in bits 24-27.
enum BrShaderOpcode : uint32_t {
  D3DSIO_NOP = 0,
  D3DSIO_MOV = 1,
  D3DSIO_ADD = 2,
  D3DSIO_SUB = 3,
  D3DSIO_MAD = 4,
  D3DSIO_MUL = 5,
  D3DSIO_RCP = 6,
  D3DSIO_RSQ = 7,
  D3DSIO_DP3 = 8,
  D3DSIO_DP4 = 9,
  D3DSIO_MIN = 10,
  D3DSIO_MAX = 11,
  D3DSIO_M4x4 = 20,
  D3DSIO_DCL = 31,
  D3DSIO_COMMENT = 0xFFFE,
  D3DSIO_END = 0xFFFF,
};

#define D3DSI_OPCODE_MASK 0x0000FFFFu
#define D3DSI_INSTLENGTH_SHIFT 24
#define D3DSI_INSTLENGTH_MASK 0x0F000000u
#define D3DSI_COMMENTSIZE_SHIFT 16
#define D3DSI_COMMENTSIZE_MASK 0x7FFF0000u

// Parameter tokens always have bit 31 set. Register number in bits 0-10; register type split over bits
// 28-30 (low three bits) and 11-12 (high two bits).
#define D3DSP_TOKEN_BIT 0x80000000u
#define D3DSP_REGNUM_MASK 0x000007FFu
#define D3DSP_REGTYPE_SHIFT 28
#define D3DSP_REGTYPE_MASK 0x70000000u
#define D3DSP_REGTYPE_SHIFT2 8
#define D3DSP_REGTYPE_MASK2 0x00001800u

enum BrShaderRegisterType : uint32_t {
  D3DSPR_TEMP = 0,
  D3DSPR_INPUT = 1,
  D3DSPR_CONST = 2,
  D3DSPR_ADDR = 3,
  D3DSPR_RASTOUT = 4,
  D3DSPR_ATTROUT = 5,
  D3DSPR_TEXCRDOUT = 6,
};

// Rasteriser outputs (register numbers of D3DSPR_RASTOUT).
enum BrShaderRastOut : uint32_t { D3DSRO_POSITION = 0, D3DSRO_FOG = 1, D3DSRO_POINT_SIZE = 2 };

// Destination write mask in bits 16-19 (x, y, z, w).
#define D3DSP_WRITEMASK_0 0x00010000u
#define D3DSP_WRITEMASK_1 0x00020000u
#define D3DSP_WRITEMASK_2 0x00040000u
#define D3DSP_WRITEMASK_3 0x00080000u
#define D3DSP_WRITEMASK_ALL 0x000F0000u
#define D3DSP_WRITEMASK_SHIFT 16

// Source swizzle in bits 16-23, two bits a component (0 x, 1 y, 2 z, 3 w); identity 0xE4.
#define D3DVS_SWIZZLE_SHIFT 16
#define D3DVS_SWIZZLE_MASK 0x00FF0000u
#define D3DVS_NOSWIZZLE (0xE4u << D3DVS_SWIZZLE_SHIFT)

// Source modifier in bits 24-27.
#define D3DSP_SRCMOD_SHIFT 24
#define D3DSP_SRCMOD_MASK 0x0F000000u
enum BrShaderSrcMod : uint32_t { D3DSPSM_NONE = 0, D3DSPSM_NEG = 1 };

// Declaration parameter (first parameter of D3DSIO_DCL): usage in bits 0-4, usage index in bits 16-19.
#define D3DSP_DCL_USAGE_SHIFT 0
#define D3DSP_DCL_USAGE_MASK 0x0000001Fu
#define D3DSP_DCL_USAGEINDEX_SHIFT 16
#define D3DSP_DCL_USAGEINDEX_MASK 0x000F0000u

#define D3DVS_VERSION_1_1 0xFFFE0101u

// Builds a parameter token for a register of a type.
inline uint32_t brShaderRegToken(uint32_t type, uint32_t number) {
  return D3DSP_TOKEN_BIT | (number & D3DSP_REGNUM_MASK) | ((type << D3DSP_REGTYPE_SHIFT) & D3DSP_REGTYPE_MASK) |
         ((type << D3DSP_REGTYPE_SHIFT2) & D3DSP_REGTYPE_MASK2);
}
// The register type of a parameter token.
inline uint32_t brShaderRegType(uint32_t token) {
  return ((token & D3DSP_REGTYPE_MASK) >> D3DSP_REGTYPE_SHIFT) |
         ((token & D3DSP_REGTYPE_MASK2) >> D3DSP_REGTYPE_SHIFT2);
}
