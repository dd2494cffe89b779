// BrRAGWidget: usable scenery: its requirement, use text, cursor and the minimap icon it shows once used.
#include "adventure/world/BrRAGWidget.h"

#include "adventure/world/BrRAGActor.h"
#include "core/BrBin.h"
#include "engine/kernel/BrApplication.h"
#include "engine/kernel/BrEngine.h"
#include "engine/kernel/BrScriptDaemon.h"
#include "engine/presentation/BrEffectorMgr.h"
#include "engine/presentation/BrHUD.h"
#include "engine/presentation/BrRenderBase.h"
#include "templates/BrArchiveOps.h"

BR_IMPLEMENT_CLASS(BrRAGWidget, BrDemoEntity)

BrRAGWidget::BrRAGWidget()
    : m_uiUseCursor(1),
      m_UseText("used the unknown item"),
      m_bIsFloor(false),
      m_iTimesUsed(0),
      m_uiMinimapIconUsed(0) {}

BrRAGWidget::BrRAGWidget(const BrRAGWidget& other)
    : BrDemoEntity(other),
      m_uiUseCursor(other.m_uiUseCursor),
      m_UseText(other.m_UseText),
      m_bIsFloor(other.m_bIsFloor),
      m_UseRequires(other.m_UseRequires),
      m_iTimesUsed(other.m_iTimesUsed),
      m_uiMinimapIconUsed(other.m_uiMinimapIconUsed) {}

BrRAGWidget& BrRAGWidget::operator=(const BrRAGWidget& other) {
  if (this == &other) return *this;
  BrDemoEntity::operator=(other);
  m_uiUseCursor = other.m_uiUseCursor;
  m_UseText = other.m_UseText;
  m_bIsFloor = other.m_bIsFloor;
  m_UseRequires = other.m_UseRequires;
  m_iTimesUsed = other.m_iTimesUsed;
  m_uiMinimapIconUsed = other.m_uiMinimapIconUsed;
  return *this;
}

BrRAGWidget::~BrRAGWidget() {}

void BrRAGWidget::Serialize(BrBin& bin) {
  BrDemoEntity::Serialize(bin);
  if (bin.GetVersion() >= 264) {
    bin << m_UseText;
    bin << m_bIsFloor;
    bin << m_UseRequires;
    bin << m_iTimesUsed;
  }
  if (bin.GetVersion() >= 266) bin << m_uiMinimapIconUsed;
}

void BrRAGWidget::LoadScript(const char* section, BrCfgFile* cfg) {
  BrDemoEntity::LoadScript(section, cfg);
  BrScriptDaemon* script = Engine().Script();
  if (!cfg || !script || !section) return;
  float f = 0.0f;
  if (script->LoadProperty(f, section, cfg, "IsFloor")) m_bIsFloor = brTruncate(f) != 0;
  BrStringT<char> text;
  if (script->LoadProperty(text, section, cfg, "UseRequires") && text.Length() > 0) m_UseRequires = text;
  if (script->LoadProperty(text, section, cfg, "UseCursor") && text.Length() > 0) {
    if (BrHUD* hud = BrHUD::GameHUD()) m_uiUseCursor = uint32_t(hud->AddCursor(text, 0.5f, 0.5f));
  }
  if (script->LoadProperty(text, section, cfg, "UseText") && text.Length() > 0) m_UseText = text;
  if (script->LoadProperty(text, section, cfg, "MinimapIconUsed")) {
    BrRenderBase* render = Engine().Render();
    if (render && render->FXMgr())
      m_uiMinimapIconUsed = uint32_t(render->FXMgr()->LoadIconA(text, BrStringT<char>("Map") + text));
  } else {
    m_uiMinimapIconUsed = m_uiMinimapIcon;
  }
}

bool BrRAGWidget::CanUse(BrRAGActor* actor) {
  if (m_UseRequires.Length() == 0) return true;
  return actor && actor->Inventory().ContainsItemOfType(m_UseRequires) != -1;
}

void BrRAGWidget::UsedBy(BrRAGActor* actor) {
  BrApplication* app = Engine().App();
  if (!app || !actor) return;
  const char* name = actor->GetName();
  app->DisplayMsgf("%s %s", name ? name : "", m_UseText.c_str() ? m_UseText.c_str() : "");
  if (m_UseRequires.Length() == 0) return;
  const int slot = actor->Inventory().ContainsItemOfType(m_UseRequires);
  // A use without the required item consumes nothing, so it is not counted either.
  if (slot == -1) return;
  actor->Inventory().UseItem(slot);
  m_iTimesUsed += 1;
  m_uiMinimapIcon = m_uiMinimapIconUsed;
}
