// BrTextureBase: texel reads and writes through the device's lock.
#include "engine/presentation/BrTextureBase.h"

#include "core/brcr.h"

BrARGB BrTextureBase::GetTexel(int x, int y) {
  if (!m_bLocked || !m_pTexels) {
    GLog.DebugWriteLine("ERROR: Failed to access texture; not locked");
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
  m_pTexels[(size_t)m_uiWidth * (size_t)y + (size_t)x] = colour.GetDWORD();
  return true;
}
