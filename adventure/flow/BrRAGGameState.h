// BrRAGGameState: the base of every game state of the adventure framework, with its HUD pass and click hooks.
#pragma once

#include "core/BrARGB.h"
#include "engine/kernel/BrStateMachine.h"
#include "engine/presentation/BrAudioID.h"

class BrRAGGame;
class BrRenderBase;

// A state of the framework's game. The application offers released clicks to the current state first; a state
// that returns true consumes them, otherwise they go on to the active controller.
class BrRAGGameState : public BrBaseState {
  BR_DECLARE_CLASS(BrRAGGameState)
public:
  BrRAGGameState();
  // Runs BrBaseState::Destroy.
  ~BrRAGGameState() override;

  // The base state's form only.
  void Serialize(BrBin& bin) override;
  // The base state's step (time in state).
  void Step(float dt) override;

  // Draws the state's HUD layer after Draw; nothing in the base.
  virtual void DrawHUD(BrRenderBase* const render);
  // A released button; false (not consumed) in the base.
  virtual bool LeftClick();
  virtual bool RightClick();

  // The menu music, shared by every state: the main menu starts it, the playing state stops it. Released at exit.
  static BrAudioID menuMusicSFX;
  // Whether the player wants music: [Audio] NoMusic is not 1 (music plays when the key is missing).
  static bool MusicWanted();

protected:
  // The framework's application (the owner, else the engine's application) when it is a BrRAGGame; null
  // otherwise.
  BrRAGGame* Game() const;
  // A screen effector made by hand: a copy of "Shader2d" showing image, registered as name; 0 without a device.
  static unsigned int MakeScreenEffector(const char* image, const char* name);
  // A screen sprite with rotation 0 and the texture rectangle (0.001, 0.001) to (0.999, 0.999).
  static void DrawScreenSprite(BrRenderBase* render, float x, float y, float w, float h, unsigned int effector,
                               float depth, const BrARGB& colour);
};
