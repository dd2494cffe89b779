// BrD3DTexture: one texture of the Direct3D 9 device, named by its media path or its made-up dynamic name.
#pragma once

#include "engine/presentation/BrTextureBase.h"
#include "platform/d3d9/d3d9.h"
#include "templates/BrStringT.h"

// A value kept in the texture manager's lists. Copies share the Direct3D reference without adding to it;
// only the manager releases it, so the destructor leaves it alone.
class BrD3DTexture : public BrTextureBase {
public:
  BrD3DTexture() : m_pTexture(nullptr) {}
  BrD3DTexture(const BrD3DTexture&) = default;
  BrD3DTexture& operator=(const BrD3DTexture&) = default;
  ~BrD3DTexture() override {}

  // Locks the level (when loaded and not locked already) and returns its texels; null otherwise.
  void* Access(unsigned int level) override;
  // Unlocks; the texture is left unlocked whatever happens.
  void Update(unsigned int level) override;

  BrStringT<char>& Name() { return m_Name; }
  IDirect3DTexture9*& Texture() { return m_pTexture; }
  void SetSize(unsigned int width, unsigned int height) {
    m_uiWidth = width;
    m_uiHeight = height;
  }
  // Releases the reference until Direct3D reports 0; the texture is then unloaded.
  void ReleaseTexture();

private:
  BrStringT<char> m_Name;
  IDirect3DTexture9* m_pTexture;
};
