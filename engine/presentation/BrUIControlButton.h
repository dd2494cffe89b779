// BrUIControlButton: a picture button with a second texture shown while the pointer is over it.
#pragma once

#include "engine/presentation/BrUIControl.h"

// Reports its clicks by id up the parent chain like any control.
class BrUIControlButton : public BrUIControl {
  BR_DECLARE_CLASS(BrUIControlButton)
public:
  // No rollover texture.
  BrUIControlButton();
  BrUIControlButton(const BrUIControlButton& other);
  BrUIControlButton& operator=(const BrUIControlButton& other);
  ~BrUIControlButton() override;

  // The BrObject part only.
  void Serialize(BrBin& bin) override;
  // Only its own sprite (no children, no fade tile): the rollover texture while the pointer is over it and no other
  // control is modal, otherwise the normal texture; always untinted.
  void Draw(BrRenderBase* const render) override;

  // The rollover texture becomes the icon effector "ShaderControl" + file; 0 when it cannot be loaded.
  void SetRolloverTexture(const BrStringT<char>& file);
  int GetRolloverEffector() const { return m_iRolloverEffector; }

protected:
  int32_t m_iRolloverEffector;
};
