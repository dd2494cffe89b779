// Private helpers of the menu states: their game, the menu nodes and buttons they build, the controller step.
#pragma once

#include "core/BrGlobals.h"
#include "core/BrTime.h"
#include "engine/kernel/BrApplication.h"
#include "engine/kernel/BrController.h"
#include "engine/kernel/BrEngine.h"
#include "engine/kernel/BrGame.h"
#include "engine/kernel/BrStateMachine.h"
#include "engine/presentation/BrHUD.h"
#include "engine/presentation/BrMiniMap.h"
#include "engine/presentation/BrRenderBase.h"
#include "engine/presentation/BrUIControl.h"
#include "engine/presentation/BrUIControlButton.h"
#include "adventure/flow/BrRAGFlowDraw.h"

namespace brflow {

// The game that owns the state (its state machine), else the engine's application, when it is a BrGame.
inline BrGame* GameOf(const BrBaseState* state) {
  BrStateMachine* owner = state ? state->GetOwner() : nullptr;
  if (owner && owner->IsA(BrGame::Type)) return static_cast<BrGame*>(owner);
  BrApplication* app = Engine().App();
  if (app && app->IsA(BrGame::Type)) return static_cast<BrGame*>(app);
  return nullptr;
}

inline BrHUD* HUDOf(const BrBaseState* state) {
  BrGame* game = GameOf(state);
  return game ? game->GetHUD() : nullptr;
}

inline BrMap* MapOf(const BrBaseState* state) {
  BrGame* game = GameOf(state);
  return game ? game->Map() : nullptr;
}

// The controller step of the menu states: the active controller turns the frame's input into actions, unless
// the run is ending. The dungeon is not stepped, so it stands still behind the menu.
inline void ControllerStep(const BrBaseState* state) {
  if (GExit) return;
  BrGame* game = GameOf(state);
  BrController* controller = game ? game->ActiveController() : nullptr;
  if (controller) controller->ProcessInput(brGetSystemTime() - Engine().FrameStarted());
}

// A full-screen plain control with the id, made a child of the HUD (inactive when active is false). Without a
// HUD nothing would own the node, so none is made: a state of an application without a HUD has no menu.
inline BrUIControl* MakeNode(BrHUD* hud, const char* id, bool active) {
  if (!hud) return nullptr;
  BrUIControl* node = Spawn<BrUIControl>("BrUIControl");
  if (!node) return nullptr;
  node->Init();
  node->SetID(BrStringT<char>(id));
  node->SetArea(0.0f, 0.0f, 1.0f, 1.0f);
  if (!active) node->SetActive(false);
  hud->AddChildControl(node);
  return node;
}

// A picture button with its rollover picture, made a child of the node; not initialised, so it stays inactive
// until the node is activated with its children.
inline BrUIControlButton* MakeButton(BrUIControl* node, const char* id, float x, float y, float w, float h,
                                     const char* texture, const char* rollover) {
  BrUIControlButton* button = Spawn<BrUIControlButton>("BrUIControlButton");
  if (!button) return nullptr;
  button->SetArea(x, y, w, h);
  button->SetID(BrStringT<char>(id));
  button->SetTexture(BrStringT<char>(texture));
  button->SetRolloverTexture(BrStringT<char>(rollover));
  if (node)
    node->AddChildControl(button);
  else
    delete button;
  return node ? button : nullptr;
}

}  // namespace brflow
