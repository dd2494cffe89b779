// BrCursor: a software mouse cursor: screen position, size, hot spot, texture and the entity whose tooltip it shows.
#pragma once

#include <cstdint>

#include "core/BrVector.h"
#include "engine/kernel/BrClassFactory.h"

class BrDemoEntity;
class BrRenderBase;

// Owned by the HUD, which steps and draws the current one. The position is in pixels; the size and the hot spot
// are screen fractions.
class BrCursor : public BrObject {
  BR_DECLARE_CLASS(BrCursor)
public:
  // At (0, 0), no size, hot spot (0, 0), no target, effector 0.
  BrCursor();
  BrCursor(const BrCursor& other);
  BrCursor& operator=(const BrCursor& other);
  ~BrCursor() override;

  // Stores nothing.
  void Serialize(BrBin& bin) override;
  // Nothing.
  void Step(float dt) override;
  // The cursor's sprite at its position, and the target's tooltip at its lower right corner; nothing for null.
  virtual void Draw(BrRenderBase* const render);

  // Size w by h (screen fractions; h is multiplied by the aspect ratio for drawing); the hot spot is given as a
  // fraction of that size.
  void SetCursorDimensions(float w, float h, const BrVector& hotspot);
  // The hot spot's offset from the top-left corner in pixels of the rendering device; (0, 0, 0) without one.
  BrVector GetClickPoint();
  // The top-left corner in pixels; the controllers move the cursor through these.
  float& CursorScreenX() { return m_fScreenX; }
  float& CursorScreenY() { return m_fScreenY; }
  // Puts the top-left corner at the middle of the screen (halved as whole pixels); nothing without a device.
  void Centre();
  void SetFX(int effector) { m_iEffector = effector; }
  int GetCursorFX() const { return m_iEffector; }
  float GetCursorWidth() const { return m_fWidth; }
  float GetCursorHeight() const { return m_fHeight; }
  // Remembers the entity by its object id; -1 for null.
  void SetTarget(BrDemoEntity* const entity);
  // The remembered entity resolved through the application's map; null when there is none, it is gone or invalid,
  // or it is not an entity.
  BrDemoEntity* GetCursorTarget();
  int GetTargetID() const { return m_iTarget; }

protected:
  BrVector m_ClickPoint;
  float m_fScreenX;
  float m_fScreenY;
  int32_t m_iTarget;
  float m_fWidth;
  float m_fHeight;
  int32_t m_iEffector;
};
