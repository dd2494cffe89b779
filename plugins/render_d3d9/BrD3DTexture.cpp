// BrD3DTexture: texel access to a Direct3D 9 texture by locking one level.
#include "plugins/render_d3d9/BrD3DTexture.h"

#include "core/brcr.h"
#include "plugins/render_d3d9/BrD3DRenDev.h"

void* BrD3DTexture::Access(unsigned int level) {
  if (!m_pTexture || m_bLocked) return nullptr;
  D3DLOCKED_RECT locked;
  if (FAILED(m_pTexture->LockRect(level, &locked, nullptr, 0)) || !locked.pBits) {
    GLog.printf("WARNING: Failed to lock texture: %s", m_Name.c_str() ? m_Name.c_str() : "");
    return nullptr;
  }
  m_bLocked = true;
  m_pTexels = static_cast<uint32_t*>(locked.pBits);
  return locked.pBits;
}

void BrD3DTexture::Update(unsigned int level) {
  const char* name = m_Name.c_str() ? m_Name.c_str() : "";
  if (!m_pTexture || !m_bLocked) {
    GLog.printf("WARNING: Update(...) called on NULL texture: %s", name);
  } else if (FAILED(m_pTexture->UnlockRect(level))) {
    GLog.printf("WARNING: Failed to unlock texture: %s", name);
  }
  m_bLocked = false;
  m_pTexels = nullptr;
}

void BrD3DTexture::ReleaseTexture() {
  // A texture released while locked would leave a texel pointer into freed storage.
  m_bLocked = false;
  m_pTexels = nullptr;
  brD3DReleaseAll(m_pTexture);
}
