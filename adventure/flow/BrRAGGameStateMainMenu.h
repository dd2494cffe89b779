// BrRAGGameStateMainMenu: the title screen with its menu buttons, the looping menu music and the menu camera.
#pragma once

#include "adventure/flow/BrRAGGameState.h"

// Its buttons live under the control "mainmenu" on the application's HUD; what they do is the dispatcher's
// (BrRAGHUD). A fresh press of Q, with no dialog open, starts a new game at the current difficulty.
class BrRAGGameStateMainMenu : public BrRAGGameState {
  BR_DECLARE_CLASS(BrRAGGameStateMainMenu)
public:
  BrRAGGameStateMainMenu();
  ~BrRAGGameStateMainMenu() override;

  // The "mainmenu" container and its six buttons; true.
  bool Init() override;
  void Step(float dt) override;
  void OnEntry() override;
  void OnExit() override;
  // Background, title, the two logos and the notice line.
  void Draw(BrRenderBase* render) override;
  // The application's HUD (buttons and cursor).
  void DrawHUD(BrRenderBase* const render) override;

protected:
  unsigned int muiBackgroundFX;
  unsigned int muiTitleFX;
  unsigned int muiPublisherFX;
  unsigned int muiMakerFX;
  // Q was down at the last look (or at entry), so holding it never starts a game.
  bool mbQWasDown;
};
