// The fragment stage: texture-stage operations and the alpha test, keyed and emitted as GLSL.
#pragma once

#include <cstdint>
#include <cstring>
#include <string>

#include "platform/d3d9/d3d9types.h"

namespace brd3d9 {

// Texture stages the fragment program honours (the device reports two blend stages).
enum : uint32_t { kFsStages = 2, kDeviceStages = 8 };

// Everything of the texture stages and the alpha test that changes the fragment program's text.
struct FsKey {
  struct Stage {
    uint8_t colorOp, colorArg[3];  // arg 0, 1, 2
    uint8_t alphaOp, alphaArg[3];
    uint8_t texCoord;
  } stage[kFsStages];
  uint8_t alphaFunc;  // 0: no alpha test, else a D3DCMPFUNC

  bool operator==(const FsKey& o) const { return std::memcmp(this, &o, sizeof *this) == 0; }
};

// Builds the key from the texture-stage states (indexed [stage][D3DTSS_*]) and the alpha-test states.
FsKey brFsMakeKey(const DWORD (*tss)[33], bool alphaTest, DWORD alphaFunc);

// GLSL 3.30 fragment shader: inputs vD0, vT0..vT2; samplers brTex0, brTex1; uniforms brTFactor (vec4)
// and brAlphaRef (0..255).
std::string brFsEmitGlsl(const FsKey& key);

}  // namespace brd3d9
