// BrUIControlButton: the picture button's rollover texture and drawing.
#include "engine/presentation/BrUIControlButton.h"

#include "engine/kernel/BrEngine.h"
#include "engine/presentation/BrEffectorMgr.h"
#include "engine/presentation/BrGUI.h"
#include "engine/presentation/BrRenderBase.h"

BR_IMPLEMENT_CLASS(BrUIControlButton, BrUIControl)

BrUIControlButton::BrUIControlButton() : m_iRolloverEffector(0) {}

BrUIControlButton::BrUIControlButton(const BrUIControlButton& other)
    : BrUIControl(other), m_iRolloverEffector(other.m_iRolloverEffector) {}

BrUIControlButton& BrUIControlButton::operator=(const BrUIControlButton& other) {
  if (this == &other) return *this;
  BrUIControl::operator=(other);
  m_iRolloverEffector = other.m_iRolloverEffector;
  return *this;
}

BrUIControlButton::~BrUIControlButton() {}

void BrUIControlButton::Serialize(BrBin& bin) { BrObject::Serialize(bin); }

void BrUIControlButton::SetRolloverTexture(const BrStringT<char>& file) {
  m_iRolloverEffector = 0;
  BrRenderBase* render = Engine().Render();
  if (!render || !render->FXMgr()) return;
  BrStringT<char> name = BrStringT<char>("ShaderControl") + file;
  const int effector = render->FXMgr()->LoadIconA(file, name);
  m_iRolloverEffector = effector > 0 ? effector : 0;
}

void BrUIControlButton::Draw(BrRenderBase* const render) {
  if (!render) return;
  BrGUI* gui = Engine().GUI();
  const bool modalElsewhere = gui && gui->IsModal() && !IsModal();
  const bool rolloverLook = m_bRollover && !modalElsewhere;
  int effector = m_iEffector;
  // A button without a rollover texture keeps its normal look rather than vanishing under the pointer.
  if (rolloverLook && m_iRolloverEffector != 0) effector = m_iRolloverEffector;
  BrARGB white(255, 255, 255, 255);
  render->DrawSprite(m_fPosX, m_fPosY, m_fWidth, m_fHeight, (unsigned int)effector, 0.001f, white, 0.0f, 0.001f, 0.001f,
                     0.999f, 0.999f);
}
