// Staircase: asks the player, through a modal dialog, whether to go down to the next level.
#include "game/Staircase.h"

#include "adventure/flow/BrRAGUIDialog.h"
#include "adventure/world/BrRAGActor.h"
#include "adventure/world/BrRAGMap.h"
#include "engine/kernel/BrApplication.h"
#include "engine/kernel/BrEngine.h"
#include "engine/kernel/BrGame.h"
#include "engine/presentation/BrHUD.h"

BR_IMPLEMENT_CLASS(Staircase, BrRAGWidget)

Staircase::Staircase() : m_uiTargetLevel(1) {
  BrApplication* app = Engine().App();
  BrMap* map = app ? app->Map() : nullptr;
  BrRAGMap* grid = map ? static_cast<BrRAGMap*>(map->SafeCast(&BrRAGMap::Type)) : nullptr;
  if (grid) m_uiTargetLevel = grid->GetLevel() + 1;
}

Staircase::~Staircase() {}

void Staircase::Serialize(BrBin& bin) { BrRAGWidget::Serialize(bin); }

void Staircase::UsedBy(BrRAGActor* actor) {
  if (actor) actor->PathTo(actor->Location());

  BrApplication* app = Engine().App();
  BrGame* game = app ? static_cast<BrGame*>(app->SafeCast(&BrGame::Type)) : nullptr;
  BrRAGUIDialog* dialog = static_cast<BrRAGUIDialog*>(static_cast<BrObject*>(Engine().Spawn("BrRAGUIDialog")));
  if (dialog) {
    dialog->Init();
    dialog->SetID("dlg_staircase");
    dialog->SetArea(0.3f, 0.6f, 0.4f, 0.2f);
    dialog->SetModal(true);
    dialog->SetTexture("Textures\\ui\\menus\\scrollm.tga");
    dialog->SetTopTexture("Textures\\ui\\menus\\scrollt.tga");
    dialog->SetBaseTexture("Textures\\ui\\menus\\scrollb.tga");
    dialog->SetDialogText("Go to next level?");
    dialog->AddDialogOption("No", "CancelModal", true);
    dialog->AddDialogOption("Yes", "DialogNextLevel", true);
    dialog->SetDialogFont("Fonts\\fontScript.tga");
    dialog->SetDialogTextSize(4);
    dialog->SetPadding(0.125f);
    BrHUD* hud = game ? game->GetHUD() : nullptr;
    if (hud) {
      hud->AddChildControl(dialog);
      dialog->SetActive(true);
    } else {
      // Nobody would own or ever close a dialog without a HUD to hang it on.
      dialog->Destroy();
      delete dialog;
    }
  }

  if (app && actor)
    app->DisplayMsgf("%s %s", actor->GetName() ? actor->GetName() : "",
                     GetUseText().c_str() ? GetUseText().c_str() : "");
}
