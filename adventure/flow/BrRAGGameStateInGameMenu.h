// The states that run while a dungeon exists: the in-game menu, modal, the interlude and the world-complete save box.
#pragma once

#include "adventure/flow/BrRAGGameState.h"

class BrRenderBase;

// The menu over the frozen dungeon (continue, options, exit), entered with Escape from play. Its controls live
// under the node "ingamemenu", built once by Init.
class BrRAGGameStateInGameMenu : public BrRAGGameState {
  BR_DECLARE_CLASS(BrRAGGameStateInGameMenu)
public:
  BrRAGGameStateInGameMenu();
  ~BrRAGGameStateInGameMenu() override;

  // Builds the node "ingamemenu" and its three buttons under the application's HUD; true.
  bool Init() override;
  // Base cursor, the node shown, the menu controller.
  void OnEntry() override;
  // The node hidden.
  void OnExit() override;
  // Time in state and the active controller's input; the dungeon is not stepped.
  void Step(float dt) override;
  // The map and the minimap.
  void Draw(BrRenderBase* const render) override;
  // A half-black veil, then the HUD.
  void DrawHUD(BrRenderBase* const render) override;
};

// The dungeon frozen under a modal widget, with the menu controller active; nothing in the game enters it itself.
class BrRAGGameStateModal : public BrRAGGameState {
  BR_DECLARE_CLASS(BrRAGGameStateModal)
public:
  BrRAGGameStateModal();
  ~BrRAGGameStateModal() override;

  // The base's Init; true.
  bool Init() override;
  // Base cursor and the menu controller.
  void OnEntry() override;
  void Step(float dt) override;
  // The map and the minimap when there is a map.
  void Draw(BrRenderBase* const render) override;
  // A half-black veil, then the HUD.
  void DrawHUD(BrRenderBase* const render) override;
};

// The two-second fade to black between levels; then the world-complete save box (levels 11, 21 ... 71, unless
// the game was just loaded) or play.
class BrRAGGameStateInterlude : public BrRAGGameState {
  BR_DECLARE_CLASS(BrRAGGameStateInterlude)
public:
  // Fading.
  BrRAGGameStateInterlude();
  ~BrRAGGameStateInterlude() override;

  // Fading again; the player HUD and the in-game node shown.
  void OnEntry() override;
  // Time in state; once it has passed 2 s the fade is complete, and the step after that leaves the state. Leaving
  // is decided here, not in drawing, so a window that is not drawn cannot hold the game in the interlude.
  void Step(float dt) override;
  // The map while fading.
  void Draw(BrRenderBase* const render) override;
  // While fading: the HUD and minimap (unless the game was just loaded), then the fade tile; once faded out,
  // only the black tile until the state is left.
  void DrawHUD(BrRenderBase* const render) override;

  bool IsFading() const { return mbFade; }

protected:
  // Changes to the world-complete state or to play, by the map's level.
  void Leave();

  bool mbFade;
};

// The save-name box offered when a world of ten levels is finished; its controls live under "cancelsavenode".
class BrRAGGameStateWorldComplete : public BrRAGGameState {
  BR_DECLARE_CLASS(BrRAGGameStateWorldComplete)
public:
  BrRAGGameStateWorldComplete();
  ~BrRAGGameStateWorldComplete() override;

  // Builds "cancelsavenode" with the save-name box and the cancel and save buttons; true.
  bool Init() override;
  // Base cursor, the node shown, the menu controller.
  void OnEntry() override;
  // The node and its children hidden.
  void OnExit() override;
  void Step(float dt) override;
  // The map (when the owner is a game with one), then a half-black veil.
  void Draw(BrRenderBase* const render) override;
  // The minimap, then the HUD, above the veil.
  void DrawHUD(BrRenderBase* const render) override;
};
