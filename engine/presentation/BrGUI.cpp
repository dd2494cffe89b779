// BrGUI: drawing, click and key routing over the top-level controls; focus and the modal control's camera swap.
#include "engine/presentation/BrGUI.h"

#include "engine/kernel/BrApplication.h"
#include "engine/kernel/BrEngine.h"
#include "engine/kernel/BrCamera.h"
#include "engine/kernel/BrController.h"
#include "engine/presentation/BrHUD.h"
#include "engine/presentation/BrUIControl.h"

namespace {

const char* const kMenuController = "BrRAGMenuCtrl";

}  // namespace

BrGUI::BrGUI() : m_pFocus(nullptr), m_pModal(nullptr), m_iDrawing(0) {}

BrGUI::~BrGUI() {}

void BrGUI::AddControl(BrUIControl* control) {
  if (!control) return;
  for (int i = 0; i < m_Controls.GetCount(); ++i) {
    if (m_Controls[i] == control) return;
  }
  m_Controls.Add(control);
}

BrUIControl* BrGUI::GetTopControl(int i) {
  if (i < 0 || i >= m_Controls.GetCount()) return nullptr;
  return m_Controls[i];
}

void BrGUI::Draw(BrRenderBase* const render) {
  // The modal control dims what was drawn before it and must not be covered by a control added after its own
  // tree (the player's HUD over the game's dialogs): the top-level control that holds it goes last.
  BrUIControl* holder = m_pModal;
  while (holder && holder->GetParentControl()) holder = holder->GetParentControl();
  bool held = false;
  struct DrawingScope {
    int& depth;
    explicit DrawingScope(int& d) : depth(d) { ++depth; }
    ~DrawingScope() { --depth; }
  } drawing(m_iDrawing);
  for (int i = 0; i < m_Controls.GetCount(); ++i) {
    BrUIControl* control = m_Controls[i];
    if (control && control == holder) {
      held = true;
      continue;
    }
    if (control && control->IsActive()) control->Draw(render);
  }
  if (held && holder->IsActive()) holder->Draw(render);
  for (int i = 0; i < m_Controls.GetCount(); ++i) {
    BrUIControl* control = m_Controls[i];
    if (control && control->IsActive() && control->IsA(BrHUD::Type)) static_cast<BrHUD*>(control)->DrawCursor(render);
  }
}

bool BrGUI::IsTopControl(const BrUIControl* control) const {
  for (int i = 0; i < m_Controls.GetCount(); ++i)
    if (m_Controls[i] == control) return true;
  return false;
}

bool BrGUI::LeftClick(float x, float y) {
  BrUIControl::DispatchScope scope;
  if (m_pModal) return m_pModal->LeftClick(x, y);
  for (int i = m_Controls.GetCount() - 1; i >= 0; --i) {
    BrUIControl* control = m_Controls[i];
    if (!control || !control->IsActive()) continue;
    if (control->LeftClick(x, y)) return true;
  }
  return false;
}

void BrGUI::KeyPressed(int key) {
  BrUIControl::DispatchScope scope;
  if (m_pFocus) m_pFocus->KeyPressed(key);
}

void BrGUI::SetFocusControl(BrUIControl* control) {
  BrUIControl* old = m_pFocus;
  // Cleared first: the old control's LostFocus may itself hand the focus on.
  m_pFocus = nullptr;
  if (old) old->LostFocus();
  m_pFocus = control;
  if (control) control->GotFocus();
}

BrUIControl* BrGUI::GetControl(const BrStringT<char>& id, bool recursive) {
  if (id.Length() == 0) return nullptr;
  for (int i = 0; i < m_Controls.GetCount(); ++i) {
    BrUIControl* control = m_Controls[i];
    if (!control) continue;
    if (control->GetID() == id) return control;
    if (recursive) {
      if (BrUIControl* found = control->GetControl(id, true)) return found;
    }
  }
  return nullptr;
}

void BrGUI::ActivateControl(const BrStringT<char>& id, bool recursive) {
  for (int i = 0; i < m_Controls.GetCount(); ++i) {
    BrUIControl* control = m_Controls[i];
    if (!control) continue;
    if (control->GetID() == id) {
      control->SetActive(true);
      return;
    }
    if (recursive) control->ActivateControl(id, recursive);
  }
}

void BrGUI::DeactivateControl(const BrStringT<char>& id, bool recursive) {
  for (int i = 0; i < m_Controls.GetCount(); ++i) {
    BrUIControl* control = m_Controls[i];
    if (!control) continue;
    if (control->GetID() == id) {
      control->SetActive(false);
      return;
    }
    if (recursive) control->DeactivateControl(id, recursive);
  }
}

void BrGUI::SetModalControl(BrUIControl* control) {
  // Re-opening the open modal control would destroy the very control being shown.
  if (control && control == m_pModal) return;
  BrApplication* app = Engine().App();
  BrCamera* camera = app ? app->Camera() : nullptr;
  if (!control && m_pModal && m_SavedController.Length() > 0) {
    if (camera) camera->SetControllerType(m_SavedController);
  } else if (control && !m_pModal) {
    BrController* current = camera ? camera->GetController() : nullptr;
    // Before any controller exists there is nothing to go back to: the name stays empty.
    m_SavedController = (current && current->GetName()) ? BrStringT<char>(current->GetName()) : BrStringT<char>();
    if (camera) camera->SetControllerType(BrStringT<char>(kMenuController));
  }
  if (m_pModal) {
    BrUIControl* old = m_pModal;
    m_pModal = nullptr;
    old->Destroy();
    // A closed modal control is spent (its children are gone) and nobody opens it again; left in its parent's
    // list, every dialog the player ever closed would stay there for the rest of the run. The deletion waits
    // for the click or key being handed through the tree, which may be running one of its methods.
    if (old->GetParentControl()) old->SetParentControl(nullptr);
    for (int i = 0; i < m_Controls.GetCount(); ++i)
      if (m_Controls[i] == old) m_Controls[i] = nullptr;
    if (m_pFocus == old) m_pFocus = nullptr;
    BrUIControl::DeleteControl(old);
  }
  m_pModal = control;
}

void BrGUI::ForgetControl(const BrUIControl* control) {
  if (!control) return;
  if (m_pFocus == control) m_pFocus = nullptr;
  if (m_pModal == control) m_pModal = nullptr;
  for (int i = 0; i < m_Controls.GetCount(); ++i) {
    if (m_Controls[i] == control) m_Controls[i] = nullptr;
  }
}

void BrGUI::Destroy() {
  // The modal control is among the controls (or their children) about to go.
  m_pModal = nullptr;
  for (int i = 0; i < m_Controls.GetCount(); ++i) {
    BrUIControl* control = m_Controls[i];
    if (!control) continue;
    control->Destroy();
    if (i < m_Controls.GetCount() && m_Controls[i] == control) {
      m_Controls[i] = nullptr;
      BrUIControl::DeleteControl(control);
    }
  }
  m_Controls.Clear();
  m_pFocus = nullptr;
  m_pModal = nullptr;
}
