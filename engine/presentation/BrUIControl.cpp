// BrUIControl: routing of clicks, keys, focus, time and drawing through the widget tree.
#include "engine/presentation/BrUIControl.h"

#include "engine/kernel/BrEngine.h"
#include "engine/presentation/BrCursor.h"
#include "engine/presentation/BrEffectorMgr.h"
#include "engine/presentation/BrGUI.h"
#include "engine/presentation/BrHUD.h"
#include "engine/presentation/BrRenderBase.h"

BR_IMPLEMENT_CLASS(BrUIControl, BrObject)

namespace {

// Controls whose deletion waits for the input or step in progress to return.
int32_t gDispatchDepth = 0;

TDArray<BrUIControl*>& PendingDeletes() {
  static TDArray<BrUIControl*> pending;
  return pending;
}

}  // namespace

BrUIControl::DispatchScope::DispatchScope() { ++gDispatchDepth; }

BrUIControl::DispatchScope::~DispatchScope() {
  if (--gDispatchDepth > 0) return;
  // A deleted control may destroy others in turn; keep the depth raised until the list is drained.
  ++gDispatchDepth;
  TDArray<BrUIControl*>& pending = PendingDeletes();
  for (int i = 0; i < pending.GetCount(); ++i) {
    BrUIControl* control = pending[i];
    pending[i] = nullptr;
    delete control;
  }
  pending.Clear();
  --gDispatchDepth;
}

void BrUIControl::DeleteControl(BrUIControl* control) {
  if (!control) return;
  if (gDispatchDepth > 0) {
    // Only the memory waits: the widget manager lets go of the control now, or whoever walks its list before the
    // dispatch ends (the new game letting go of HUDs no player holds) would find it and give it up a second time.
    if (BrGUI* gui = Engine().GUI()) gui->ForgetControl(control);
    TDArray<BrUIControl*>& pending = PendingDeletes();
    for (int i = 0; i < pending.GetCount(); ++i)
      if (pending[i] == control) return;
    pending.Add(control);
    return;
  }
  delete control;
}

BrUIControl::BrUIControl()
    : m_fPosX(0.0f),
      m_fPosY(0.0f),
      m_fWidth(0.0f),
      m_fHeight(0.0f),
      m_iEffector(0),
      m_pParent(nullptr),
      m_bActive(false),
      m_Colour(255, 255, 255, 255),
      m_bRollover(false),
      m_bFocus(false),
      m_bModal(false) {}

BrUIControl::BrUIControl(const BrUIControl& other)
    : BrObject(other),
      m_fPosX(other.m_fPosX),
      m_fPosY(other.m_fPosY),
      m_fWidth(other.m_fWidth),
      m_fHeight(other.m_fHeight),
      m_iEffector(other.m_iEffector),
      m_pParent(other.m_pParent),
      m_ID(other.m_ID),
      m_bActive(other.m_bActive),
      m_Children(other.m_Children),
      m_Colour(other.m_Colour),
      m_bRollover(other.m_bRollover),
      m_bFocus(other.m_bFocus),
      m_bModal(other.m_bModal) {}

BrUIControl& BrUIControl::operator=(const BrUIControl& other) {
  if (this == &other) return *this;
  BrObject::operator=(other);
  m_fPosX = other.m_fPosX;
  m_fPosY = other.m_fPosY;
  m_fWidth = other.m_fWidth;
  m_fHeight = other.m_fHeight;
  m_iEffector = other.m_iEffector;
  m_pParent = other.m_pParent;
  m_ID = other.m_ID;
  m_bActive = other.m_bActive;
  m_Children = other.m_Children;
  m_Colour = other.m_Colour;
  m_bRollover = other.m_bRollover;
  m_bFocus = other.m_bFocus;
  m_bModal = other.m_bModal;
  return *this;
}

BrUIControl::~BrUIControl() {
  BrUIControl::Destroy();
  // Whoever deletes a control directly must not leave the tree or the GUI pointing at it.
  if (m_pParent) m_pParent->LostChild(this);
  m_pParent = nullptr;
  if (BrGUI* gui = Engine().GUI()) gui->ForgetControl(this);
}

void BrUIControl::Serialize(BrBin& bin) { BrObject::Serialize(bin); }

bool BrUIControl::Init() {
  m_fPosX = 0.0f;
  m_fPosY = 0.0f;
  m_fWidth = 0.1f;
  m_fHeight = 0.1f;
  m_iEffector = 0;
  m_ID = BrStringT<char>();
  m_bActive = true;
  m_Colour = BrARGB(255, 255, 255, 255);
  m_bRollover = false;
  m_bModal = false;
  return false;
}

void BrUIControl::Step(float dt) {
  DispatchScope scope;
  m_bRollover = false;
  BrHUD* hud = BrHUD::GameHUD();
  BrCursor* cursor = hud ? hud->GetCursor(-1) : nullptr;
  BrRenderBase* render = Engine().Render();
  if (cursor && render && render->GetWidth() > 0 && render->GetHeight() > 0) {
    BrVector click = cursor->GetClickPoint();
    const float x = (click.x + cursor->CursorScreenX()) / float(render->GetWidth());
    const float y = (click.y + cursor->CursorScreenY()) / float(render->GetHeight());
    if (CoversPoint(x, y)) m_bRollover = true;
  }
  for (int i = 0; i < m_Children.GetCount(); ++i) {
    BrUIControl* child = m_Children[i];
    if (child && child->IsActive()) child->Step(dt);
  }
}

void BrUIControl::Destroy() {
  BrObject::Destroy();
  for (int i = 0; i < m_Children.GetCount(); ++i) {
    BrUIControl* child = m_Children[i];
    if (!child) continue;
    child->Destroy();
    // The child's own Destroy may have moved it elsewhere; only what this list still holds is ours to delete.
    if (i < m_Children.GetCount() && m_Children[i] == child) {
      m_Children[i] = nullptr;
      child->m_pParent = nullptr;
      DeleteControl(child);
    }
  }
  m_Children.Clear();
  SetActive(false);
}

void BrUIControl::Draw(BrRenderBase* const render) {
  if (!render) return;
  if (IsModal()) render->DrawFadeTile(0.5f, 0.001f);
  if (m_iEffector != 0 && m_bActive) DrawBackground(render);
  for (int i = 0; i < m_Children.GetCount(); ++i) {
    BrUIControl* child = m_Children[i];
    if (child && child->IsActive()) child->Draw(render);
  }
}

void BrUIControl::DrawBackground(BrRenderBase* const render) {
  render->DrawSprite(m_fPosX, m_fPosY, m_fWidth, m_fHeight, (unsigned int)m_iEffector, 0.001f, m_Colour, 0.0f, 0.001f,
                     0.001f, 0.999f, 0.999f);
}

bool BrUIControl::LeftClick(float x, float y) {
  DispatchScope scope;
  for (int i = 0; i < m_Children.GetCount(); ++i) {
    BrUIControl* child = m_Children[i];
    if (child && child->LeftClick(x, y)) return true;
  }
  if (CoversPoint(x, y) && m_bActive) return ControlLeftClicked(GetID());
  return false;
}

bool BrUIControl::RightClick(float x, float y) {
  DispatchScope scope;
  for (int i = 0; i < m_Children.GetCount(); ++i) {
    BrUIControl* child = m_Children[i];
    if (child && child->IsActive() && child->CoversPoint(x, y)) {
      child->RightClick(x, y);
      return true;
    }
  }
  if (CoversPoint(x, y)) return ControlRightClicked(GetID());
  return false;
}

bool BrUIControl::ControlLeftClicked(const BrStringT<char>& id) {
  return m_pParent ? m_pParent->ControlLeftClicked(id) : false;
}

bool BrUIControl::ControlRightClicked(const BrStringT<char>& id) {
  return m_pParent ? m_pParent->ControlRightClicked(id) : false;
}

BrUIControl* BrUIControl::GetControl(const BrStringT<char>& id, bool recursive) {
  for (int i = 0; i < m_Children.GetCount(); ++i) {
    BrUIControl* child = m_Children[i];
    if (!child) continue;
    if (child->GetID() == id) return child;
    if (recursive) {
      if (BrUIControl* found = child->GetControl(id, true)) return found;
    }
  }
  return nullptr;
}

void BrUIControl::ActivateControl(const BrStringT<char>& id, bool recursive) {
  if (BrUIControl* control = GetControl(id, recursive)) control->SetActive(true);
}

void BrUIControl::DeactivateControl(const BrStringT<char>& id, bool recursive) {
  if (BrUIControl* control = GetControl(id, recursive)) control->SetActive(false);
}

void BrUIControl::LostFocus() { m_bFocus = false; }

void BrUIControl::GotFocus() { m_bFocus = true; }

void BrUIControl::KeyPressed(int) {}

bool BrUIControl::CoversPoint(float x, float y) {
  return m_fPosX <= x && x <= m_fPosX + m_fWidth && m_fPosY <= y && y <= m_fPosY + m_fHeight;
}

void BrUIControl::SetArea(float x, float y, float w, float h) {
  m_fPosX = x;
  m_fPosY = y;
  m_fWidth = w;
  m_fHeight = h;
}

void BrUIControl::SetTexture(const BrStringT<char>& file) {
  m_iEffector = 0;
  BrRenderBase* render = Engine().Render();
  if (!render || !render->FXMgr()) return;
  BrStringT<char> name = BrStringT<char>("ShaderControl") + file;
  const int effector = render->FXMgr()->LoadIconA(file, name);
  m_iEffector = effector > 0 ? effector : 0;
}

void BrUIControl::SetActive(bool active) {
  m_bActive = active;
  if (!active && m_bFocus) {
    if (BrGUI* gui = Engine().GUI()) {
      gui->SetFocusControl(nullptr);
    }
    // Without a GUI nobody else would clear it.
    m_bFocus = false;
  }
  for (int i = 0; i < m_Children.GetCount(); ++i) {
    BrUIControl* child = m_Children[i];
    if (child) child->SetActive(active);
  }
}

void BrUIControl::SetModal(bool modal) {
  // Closing deletes the closed control, which may be this one: not before this call has returned.
  DispatchScope scope;
  BrGUI* gui = Engine().GUI();
  if (modal) {
    m_bModal = true;
    if (gui) gui->SetModalControl(this);
    return;
  }
  m_bModal = false;
  // Only the open modal control is closed by its own SetModal(false); another control's call leaves it open.
  if (gui && gui->GetModalControl() == this) gui->SetModalControl(nullptr);
}

bool BrUIControl::IsModal() const {
  if (!m_bModal) return false;
  BrGUI* gui = Engine().GUI();
  return gui && gui->GetModalControl() == this;
}

int BrUIControl::AddChildControl(BrUIControl* child) {
  if (!child) return -1;
  int slot = -1;
  for (int i = 0; i < m_Children.GetCount(); ++i) {
    if (m_Children[i] == child) return i;
    if (slot < 0 && m_Children[i] == nullptr) slot = i;
  }
  if (slot >= 0) {
    m_Children[slot] = child;
  } else {
    slot = m_Children.Add(child);
  }
  child->SetParentControl(this);
  return slot;
}

BrUIControl* BrUIControl::GetChildControl(int i) {
  if (i < 0 || i >= m_Children.GetCount()) return nullptr;
  return m_Children[i];
}

void BrUIControl::SetParentControl(BrUIControl* p) {
  if (p == m_pParent) return;
  // By pointer: a sibling that shares this control's id must keep its slot.
  if (m_pParent) m_pParent->LostChild(this);
  m_pParent = p;
}

void BrUIControl::LostChild(const BrStringT<char>& id) {
  for (int i = 0; i < m_Children.GetCount(); ++i) {
    if (m_Children[i] && m_Children[i]->GetID() == id) {
      m_Children[i] = nullptr;
      return;
    }
  }
}

void BrUIControl::LostChild(const BrUIControl* child) {
  if (!child) return;
  for (int i = 0; i < m_Children.GetCount(); ++i) {
    if (m_Children[i] == child) {
      m_Children[i] = nullptr;
      return;
    }
  }
}
