// BrTextureBase: the abstract texture of the rendering device, with texel access while locked.
#pragma once

#include <cstdint>

#include "core/BrARGB.h"

class BrTextureBase {
public:
  // Unlocked, no texels, size 0.
  BrTextureBase() : m_bLocked(false), m_pTexels(nullptr), m_uiWidth(0), m_uiHeight(0) {}
  BrTextureBase(const BrTextureBase&) = default;
  BrTextureBase& operator=(const BrTextureBase&) = default;
  virtual ~BrTextureBase() {}

  // Locks the texels of the level: sets the locked flag and the texel pointer.
  virtual void* Access(unsigned int level) = 0;
  // Unlocks.
  virtual void Update(unsigned int level) = 0;
  // The texel at (x, y) while locked; (0, 0, 0, 0) with an error line when not locked or outside the texture.
  virtual BrARGB GetTexel(int x, int y);
  // Stores the texel, locking first when needed (the caller unlocks with Update); false with an error line when
  // the texture cannot be locked or (x, y) lies outside it.
  virtual bool SetTexel(int x, int y, BrARGB colour);

  bool& Locked() { return m_bLocked; }
  unsigned int GetWidth() const { return m_uiWidth; }
  unsigned int GetHeight() const { return m_uiHeight; }
  // The locked texels (null while unlocked), rows of GetWidth().
  uint32_t* GetTexels() const { return m_pTexels; }

protected:
  // 0 <= x < width and 0 <= y < height.
  bool InBounds(int x, int y) const;

  bool m_bLocked;
  uint32_t* m_pTexels;  // width * height ARGB texels, rows of width, valid while locked
  uint32_t m_uiWidth;
  uint32_t m_uiHeight;
};
