// The in-game menu, modal, interlude and world-complete states: menus over the frozen dungeon and the fade between levels.
#include "adventure/flow/BrRAGGameStateInGameMenu.h"

#include "adventure/flow/BrRAGCursor.h"
#include "adventure/flow/BrRAGFlowStates.h"
#include "adventure/world/BrRAGMap.h"
#include "engine/kernel/BrCamera.h"
#include "engine/kernel/BrMap.h"
#include "engine/presentation/BrGUI.h"
#include "engine/presentation/BrUIControlEditBox.h"

BR_IMPLEMENT_CLASS(BrRAGGameStateInGameMenu, BrRAGGameState)
BR_IMPLEMENT_CLASS(BrRAGGameStateModal, BrRAGGameState)
BR_IMPLEMENT_CLASS(BrRAGGameStateInterlude, BrRAGGameState)
BR_IMPLEMENT_CLASS(BrRAGGameStateWorldComplete, BrRAGGameState)

namespace {

// Base cursor, the node (when given) shown with its children, and the menu controller.
void MenuEntry(const BrBaseState* state, const char* node) {
  BrHUD* hud = brflow::HUDOf(state);
  if (hud) {
    hud->SetCursor(BrRAGCursor::muiBase);
    if (node) hud->ActivateControl(BrStringT<char>(node), true);
  }
  BrGame* game = brflow::GameOf(state);
  if (game && game->Camera()) game->Camera()->SetControllerType(BrStringT<char>("BrRAGMenuCtrl"));
}

void HideNode(const BrBaseState* state, const char* node) {
  if (BrHUD* hud = brflow::HUDOf(state)) hud->DeactivateControl(BrStringT<char>(node), true);
}

void DrawMapAndMiniMap(const BrBaseState* state, BrRenderBase* const render) {
  BrGame* game = brflow::GameOf(state);
  if (!game || !game->Map()) return;
  game->Map()->Draw(render);
  if (game->GetMiniMap()) game->GetMiniMap()->Draw(render);
}

void DrawVeilAndHUD(const BrBaseState* state, BrRenderBase* const render) {
  if (render) render->DrawFadeTile(0.5f, 0.001f);
  if (BrHUD* hud = brflow::HUDOf(state)) hud->Draw(render);
}

}  // namespace

// ---- In-game menu ----

BrRAGGameStateInGameMenu::BrRAGGameStateInGameMenu() {}
BrRAGGameStateInGameMenu::~BrRAGGameStateInGameMenu() {}

bool BrRAGGameStateInGameMenu::Init() {
  BrRAGGameState::Init();
  const float h = 0.05f * brflow::Aspect(Engine().Render());
  BrUIControl* node = brflow::MakeNode(brflow::HUDOf(this), "ingamemenu", false);
  brflow::MakeButton(node, "IGMenuContinueBtn", 0.4f, 0.35f, 0.18f, h, "Textures\\ui\\menus\\continue.tga",
                     "Textures\\ui\\menus\\continueover.tga");
  brflow::MakeButton(node, "MMenuOptionsBtn", 0.4f, 0.44f, 0.18f, h, "Textures\\ui\\menus\\options.tga",
                     "Textures\\ui\\menus\\optionsover.tga");
  brflow::MakeButton(node, "IGMenuExitBtn", 0.4f, 0.53f, 0.18f, h, "Textures\\ui\\menus\\exit.tga",
                     "Textures\\ui\\menus\\exitover.tga");
  return true;
}

void BrRAGGameStateInGameMenu::OnEntry() {
  BrRAGGameState::OnEntry();
  MenuEntry(this, "ingamemenu");
}

void BrRAGGameStateInGameMenu::OnExit() {
  BrRAGGameState::OnExit();
  HideNode(this, "ingamemenu");
}

void BrRAGGameStateInGameMenu::Step(float dt) {
  BrRAGGameState::Step(dt);
  brflow::ControllerStep(this);
}

void BrRAGGameStateInGameMenu::Draw(BrRenderBase* const render) { DrawMapAndMiniMap(this, render); }

void BrRAGGameStateInGameMenu::DrawHUD(BrRenderBase* const render) { DrawVeilAndHUD(this, render); }

// ---- Modal ----

BrRAGGameStateModal::BrRAGGameStateModal() {}
BrRAGGameStateModal::~BrRAGGameStateModal() {}

bool BrRAGGameStateModal::Init() {
  BrRAGGameState::Init();
  return true;
}

void BrRAGGameStateModal::OnEntry() {
  BrRAGGameState::OnEntry();
  MenuEntry(this, nullptr);
}

void BrRAGGameStateModal::Step(float dt) {
  BrRAGGameState::Step(dt);
  brflow::ControllerStep(this);
}

void BrRAGGameStateModal::Draw(BrRenderBase* const render) { DrawMapAndMiniMap(this, render); }

void BrRAGGameStateModal::DrawHUD(BrRenderBase* const render) { DrawVeilAndHUD(this, render); }

// ---- Interlude ----

BrRAGGameStateInterlude::BrRAGGameStateInterlude() : mbFade(true) {}
BrRAGGameStateInterlude::~BrRAGGameStateInterlude() {}

void BrRAGGameStateInterlude::OnEntry() {
  BrRAGGameState::OnEntry();
  mbFade = true;
  if (BrGUI* gui = Engine().GUI()) {
    gui->ActivateControl(BrStringT<char>("ingame_playerhud"), true);
    gui->ActivateControl(BrStringT<char>("ingame"), true);
  }
}

void BrRAGGameStateInterlude::Step(float dt) {
  BrRAGGameState::Step(dt);
  if (!mbFade) {
    // The frame after the fade completed: leave, whether or not anything was drawn meanwhile.
    Leave();
    return;
  }
  if (GetTimeInState() / 2.0f > 1.0f) mbFade = false;
}

void BrRAGGameStateInterlude::Leave() {
  BrStateMachine* owner = GetOwner();
  if (!owner) owner = Engine().App();
  if (!owner) return;
  const bool fromLoad = owner->WasInState(BrStringT<char>("BrRAGGameStateLoadGameMenu"));
  BrMap* map = brflow::MapOf(this);
  const unsigned int level = (map && map->IsA(BrRAGMap::Type)) ? static_cast<BrRAGMap*>(map)->GetLevel() : 0u;
  if (level % 10 == 1 && !fromLoad && level < 81)
    owner->ChangeToState(BrStringT<char>("BrRAGGameStateWorldComplete"));
  else
    owner->ChangeToState(BrStringT<char>("BrRAGGameStatePlaying"));
}

void BrRAGGameStateInterlude::Draw(BrRenderBase* const render) {
  if (!mbFade) return;
  BrMap* map = brflow::MapOf(this);
  if (map) map->Draw(Engine().Render() ? Engine().Render() : render);
}

void BrRAGGameStateInterlude::DrawHUD(BrRenderBase* const render) {
  if (!mbFade) {
    // Faded out; the screen stays black until the next step leaves the state.
    if (render) render->DrawFadeTile(1.0f, 0.0001f);
    return;
  }
  BrStateMachine* owner = GetOwner() ? GetOwner() : Engine().App();
  if (!(owner && owner->WasInState(BrStringT<char>("BrRAGGameStateLoadGameMenu")))) {
    if (BrHUD* hud = brflow::HUDOf(this)) hud->Draw(render);
    BrGame* game = brflow::GameOf(this);
    if (game && game->GetMiniMap()) game->GetMiniMap()->Draw(render);
  }
  float alpha = GetTimeInState() / 2.0f;
  if (alpha > 1.0f) alpha = 1.0f;
  if (render) render->DrawFadeTile(alpha, 0.0001f);
}

// ---- World complete ----

BrRAGGameStateWorldComplete::BrRAGGameStateWorldComplete() {}
BrRAGGameStateWorldComplete::~BrRAGGameStateWorldComplete() {}

bool BrRAGGameStateWorldComplete::Init() {
  BrRAGGameState::Init();
  const float h = 0.05f * brflow::Aspect(Engine().Render());
  BrUIControl* node = brflow::MakeNode(brflow::HUDOf(this), "cancelsavenode", false);
  BrUIControlEditBox* box = brflow::Spawn<BrUIControlEditBox>("BrUIControlEditBox");
  if (box) {
    box->SetArea(0.25f, 0.49f, 0.5f, h);
    box->SetID(BrStringT<char>("InterludeMenuSaveBox"));
    box->SetTexture(BrStringT<char>("Textures\\ui\\menus\\savename.tga"));
    box->SetText(BrStringT<char>("<click to enter text>\n"));
    box->SetTextFormat(eFontFormatNone);
    box->SetSizeInc(5);
    box->SetTextColour(BrARGB(255, 0, 0, 0));
    box->SetEditOffset(0.03f, 0.2f);
    box->SetMaxEditLength(23);
    if (node)
      node->AddChildControl(box);
    else
      delete box;
  }
  brflow::MakeButton(node, "InterludeMenuSaveCancel", 0.25f, 0.59f, 0.18f, h, "Textures\\ui\\menus\\cancel.tga",
                     "Textures\\ui\\menus\\cancelover.tga");
  brflow::MakeButton(node, "InterludeMenuSaveSave", 0.57f, 0.59f, 0.18f, h, "Textures\\ui\\menus\\save.tga",
                     "Textures\\ui\\menus\\saveover.tga");
  return true;
}

void BrRAGGameStateWorldComplete::OnEntry() {
  BrRAGGameState::OnEntry();
  MenuEntry(this, "cancelsavenode");
}

void BrRAGGameStateWorldComplete::OnExit() { HideNode(this, "cancelsavenode"); }

void BrRAGGameStateWorldComplete::Step(float dt) {
  BrRAGGameState::Step(dt);
  brflow::ControllerStep(this);
}

void BrRAGGameStateWorldComplete::Draw(BrRenderBase* const render) {
  BrGame* game = brflow::GameOf(this);
  if (game && game->Map()) game->Map()->Draw(Engine().Render() ? Engine().Render() : render);
  if (render) render->DrawFadeTile(0.5f, 0.001f);
}

void BrRAGGameStateWorldComplete::DrawHUD(BrRenderBase* const render) {
  BrGame* game = brflow::GameOf(this);
  if (game && game->GetMiniMap()) game->GetMiniMap()->Draw(render);
  if (BrHUD* hud = brflow::HUDOf(this)) hud->Draw(render);
}
