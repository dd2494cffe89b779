// BrGUI: the widget root's bookkeeping of top-level, focus and modal controls.
#include "engine/presentation/BrGUI.h"

BrGUI::BrGUI() : m_pFocus(nullptr), m_pModal(nullptr) {}
BrGUI::~BrGUI() {}

void BrGUI::AddControl(BrUIControl* control) {
  if (control) m_Controls.Add(control);
}

// Controls arrive with the widget toolkit: until then there is nothing to draw or to hand a key to.
void BrGUI::Draw(BrRenderBase* const) {}
void BrGUI::KeyPressed(int) {}

void BrGUI::SetFocusControl(BrUIControl* control) { m_pFocus = control; }
void BrGUI::SetModalControl(BrUIControl* control) { m_pModal = control; }

void BrGUI::Destroy() {
  m_Controls.Clear();
  m_pFocus = nullptr;
  m_pModal = nullptr;
}
