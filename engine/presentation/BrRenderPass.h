// BrRenderPass: one pass of an effector: a texture handle, a device word and the pass flags.
#pragma once

#include <cstdint>

// The pass flags.
enum eRenderPassFlags {
  eRenderPassMultiplyAdd = 1,  // a second texture stage multiplies and adds
  eRenderPassDynamic = 2,      // the texture handle names a dynamic texture (otherwise a static one)
  eRenderPassAlpha = 4         // alpha blending on for the pass (2D screen images)
};

// All three fields 0 at construction; passes are equal when all three are.
class BrRenderPass {
public:
  BrRenderPass() : m_iTexture(0), m_iValue(0), m_uiFlags(0) {}
  BrRenderPass(const BrRenderPass&) = default;
  BrRenderPass& operator=(const BrRenderPass&) = default;

  bool operator==(const BrRenderPass& o) const {
    return m_iTexture == o.m_iTexture && m_iValue == o.m_iValue && m_uiFlags == o.m_uiFlags;
  }
  bool operator!=(const BrRenderPass& o) const { return !(*this == o); }

  int32_t m_iTexture;  // texture handle for stage 0 (static or dynamic by eRenderPassDynamic)
  int32_t m_iValue;    // read by the rendering device together with eRenderPassMultiplyAdd
  uint32_t m_uiFlags;  // eRenderPassFlags
};
