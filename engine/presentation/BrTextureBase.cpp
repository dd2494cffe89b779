// BrTextureBase: texel reads and writes through the device's lock, refused outside the texture.
#include "engine/presentation/BrTextureBase.h"

#include "core/brcr.h"

bool BrTextureBase::InBounds(int x, int y) const {
  return x >= 0 && y >= 0 && (uint32_t)x < m_uiWidth && (uint32_t)y < m_uiHeight;
}

BrARGB BrTextureBase::GetTexel(int x, int y) {
  if (!m_bLocked || !m_pTexels) {
    GLog.DebugWriteLine("ERROR: Failed to access texture; not locked");
    return BrARGB(0, 0, 0, 0);
  }
  // The texels are width x height: a coordinate outside would read memory that is not the texture's.
  if (!InBounds(x, y)) {
    GLog.DebugPrintf("ERROR: Texel (%i, %i) is outside the %ix%i texture", x, y, (int)m_uiWidth, (int)m_uiHeight);
    return BrARGB(0, 0, 0, 0);
  }
  return BrARGB(m_pTexels[(size_t)m_uiWidth * (size_t)y + (size_t)x]);
}

bool BrTextureBase::SetTexel(int x, int y, BrARGB colour) {
  if (!m_bLocked) Access(0);
  if (!m_bLocked || !m_pTexels) {
    GLog.DebugWriteLine("ERROR: Failed to access dynamic texture for alteration");
    return false;
  }
  if (!InBounds(x, y)) {
    GLog.DebugPrintf("ERROR: Texel (%i, %i) is outside the %ix%i texture", x, y, (int)m_uiWidth, (int)m_uiHeight);
    return false;
  }
  m_pTexels[(size_t)m_uiWidth * (size_t)y + (size_t)x] = colour.GetDWORD();
  return true;
}
