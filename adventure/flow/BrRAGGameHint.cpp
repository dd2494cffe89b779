// BrRAGGameHint: a hint's icon and text read from its section, shown once as a modal scroll dialog.
#include "adventure/flow/BrRAGGameHint.h"

#include <cstring>

#include "adventure/flow/BrRAGUIDialog.h"
#include "engine/kernel/BrEngine.h"
#include "engine/kernel/BrGame.h"
#include "engine/kernel/BrScriptDaemon.h"
#include "engine/presentation/BrHUD.h"

BR_IMPLEMENT_CLASS(BrRAGGameHint, BrGameHint)

BrRAGGameHint::BrRAGGameHint() {}

BrRAGGameHint::~BrRAGGameHint() {}

void BrRAGGameHint::Serialize(BrBin& bin) { BrGameHint::Serialize(bin); }

void BrRAGGameHint::LoadScript(const char* section, BrCfgFile* file) {
  BrDemoEntity::LoadScript(section, file);
  BrScriptDaemon* script = Engine().Script();
  if (!file || !script) return;
  char buffer[256];
  std::memset(buffer, 0, sizeof(buffer));
  if (script->LoadProperty(buffer, static_cast<int>(sizeof(buffer)), section, file, "HintIcon")) m_HintIcon = buffer;
  std::memset(buffer, 0, sizeof(buffer));
  if (!script->LoadProperty(buffer, static_cast<int>(sizeof(buffer)), section, file, "HintText")) return;
  // Configuration lines cannot hold line breaks, so hints write them as "^".
  for (char* c = buffer; *c; ++c)
    if (*c == '^') *c = '\n';
  m_HintText = buffer;
}

void BrRAGGameHint::ShowHint() {
  BrObject* spawned = static_cast<BrObject*>(Engine().Spawn("BrRAGUIDialog"));
  BrRAGUIDialog* dialog = spawned ? static_cast<BrRAGUIDialog*>(spawned->SafeCast(&BrRAGUIDialog::Type)) : nullptr;
  if (!dialog) {
    delete spawned;
    return;
  }
  BrApplication* app = Engine().App();
  BrGame* game = app ? static_cast<BrGame*>(app->SafeCast(&BrGame::Type)) : nullptr;
  BrHUD* hud = game ? game->GetHUD() : nullptr;
  if (!hud) {
    delete dialog;
    return;
  }
  dialog->Init();
  dialog->SetArea(0.3f, 0.5f, 0.4f, 0.3f);
  dialog->SetTexture("Textures\\ui\\menus\\scrollm.tga");
  dialog->SetTopTexture("Textures\\ui\\menus\\scrollt.tga");
  dialog->SetBaseTexture("Textures\\ui\\menus\\scrollb.tga");
  dialog->SetDialogIcon(m_HintIcon);
  dialog->SetDialogText(m_HintText);
  dialog->AddDialogOption("OK", "CancelModal", true);
  dialog->SetDialogFont("Fonts\\fontScript.tga");
  dialog->SetDialogTextSize(2);
  dialog->SetPadding(0.15f);
  hud->AddChildControl(dialog);
  dialog->SetModal(true);
  dialog->SetActive(true);
}
