// BrHUD: the cursor list, the current cursor and the HUD's place in stepping and drawing.
#include "engine/presentation/BrHUD.h"

#include <cmath>

#include "engine/kernel/BrApplication.h"
#include "engine/kernel/BrEngine.h"
#include "engine/kernel/BrGame.h"
#include "engine/presentation/BrCursor.h"
#include "engine/presentation/BrEffectorMgr.h"
#include "engine/presentation/BrGUI.h"
#include "engine/presentation/BrRenderBase.h"

BR_IMPLEMENT_CLASS(BrHUD, BrUIControl)

BrHUD::BrHUD() : m_iCurrentCursor(-1) {}

BrHUD::BrHUD(const BrHUD& other)
    : BrUIControl(other), m_Cursors(other.m_Cursors), m_iCurrentCursor(other.m_iCurrentCursor) {}

BrHUD& BrHUD::operator=(const BrHUD& other) {
  if (this == &other) return *this;
  BrUIControl::operator=(other);
  m_Cursors = other.m_Cursors;
  m_iCurrentCursor = other.m_iCurrentCursor;
  return *this;
}

BrHUD::~BrHUD() { BrHUD::Destroy(); }

void BrHUD::Serialize(BrBin& bin) { BrObject::Serialize(bin); }

bool BrHUD::Init() {
  BrUIControl::Init();
  return true;
}

BrHUD* BrHUD::GameHUD() {
  BrApplication* app = Engine().App();
  if (!app) return nullptr;
  BrGame* game = static_cast<BrGame*>(app->SafeCast(&BrGame::Type));
  return game ? game->GetHUD() : nullptr;
}

BrCursor* BrHUD::GetCursor(int i) {
  if (i == -1) i = m_iCurrentCursor;
  if (i < 0 || i >= m_Cursors.GetCount()) return nullptr;
  return m_Cursors[i];
}

void BrHUD::SetCursor(int i) {
  if (i < 0 || i >= m_Cursors.GetCount()) return;
  BrCursor* next = m_Cursors[i];
  BrCursor* current = GetCursor(-1);
  if (current && next && current != next) {
    // The hot spot stays on the same pixel; sub-pixel differences are dropped.
    const BrVector newClick = next->GetClickPoint();
    const BrVector oldClick = current->GetClickPoint();
    next->CursorScreenX() = current->CursorScreenX() - std::trunc(newClick.x - oldClick.x);
    next->CursorScreenY() = current->CursorScreenY() - std::trunc(newClick.y - oldClick.y);
  }
  m_iCurrentCursor = i;
}

int BrHUD::AddCursor(const BrStringT<char>& texture, float hx, float hy) {
  return AddCursorOfClass("BrCursor", texture, hx, hy);
}

int BrHUD::AddCursorOfClass(const char* cursorClass, const BrStringT<char>& texture, float hx, float hy) {
  BrRenderBase* render = Engine().Render();
  if (!render) return -1;
  BrEffectorMgr* fx = render->FXMgr();
  BrTextureMgrBase* textures = render->TextureMgr();
  if (!fx || !textures) return -1;

  BrEffector* effector = fx->CreateEffector(BrStringT<char>("Shader2d"));
  if (!effector) return -1;
  BrRenderPass* pass = effector->GetPass(0);
  if (!pass) {
    delete effector;
    return -1;
  }
  pass->m_iTexture = (int32_t)textures->GetTexture(texture);
  pass->m_uiFlags = eRenderPassAlpha;
  BrStringT<char> name = BrStringT<char>("Cur") + texture;
  const int index = fx->AddEffector(name, effector);

  BrObject* object = static_cast<BrObject*>(Engine().Spawn(cursorClass));
  BrCursor* cursor = object ? static_cast<BrCursor*>(object->SafeCast(&BrCursor::Type)) : nullptr;
  if (!cursor) {
    delete object;
    return -1;
  }
  cursor->SetCursorDimensions(0.05f, 0.05f, BrVector(hx, hy, 0.0f));
  cursor->SetFX(index);
  return m_Cursors.Add(cursor);
}

void BrHUD::Step(float dt) {
  DispatchScope scope;
  if (BrCursor* cursor = GetCursor(-1)) cursor->Step(dt);
  BrUIControl::Step(dt);
}

void BrHUD::Draw(BrRenderBase* const render) {
  BrUIControl::Draw(render);
  // Controls added after this one (the player's panels over the game's HUD) would cover the pointer.
  BrGUI* gui = Engine().GUI();
  if (gui && gui->IsDrawing() && gui->IsTopControl(this)) return;
  DrawCursor(render);
}

void BrHUD::DrawCursor(BrRenderBase* const render) {
  if (BrCursor* cursor = GetCursor(-1)) cursor->Draw(render);
}

void BrHUD::Destroy() {
  for (int i = 0; i < m_Cursors.GetCount(); ++i) {
    BrCursor* cursor = m_Cursors[i];
    if (!cursor) continue;
    m_Cursors[i] = nullptr;
    cursor->Destroy();
    delete cursor;
  }
  m_Cursors.Clear();
  m_iCurrentCursor = -1;
  BrUIControl::Destroy();
}
