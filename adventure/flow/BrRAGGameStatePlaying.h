// BrRAGGameStatePlaying and BrRAGGameStatePaused: the state in which the game runs, and the one that freezes it.
#pragma once

#include "adventure/flow/BrRAGGameState.h"

class BrLevelInfo;
class BrMap;

// Starts a new game when entered from the main menu, puts the rotating camera on the player, steps the map unless
// a modal widget is open, hands the controller the frame's step time, fades in from black and ends the level when
// the level info reports it completed. Without a map (the game library missing) it logs once and returns to the
// main menu.
class BrRAGGameStatePlaying : public BrRAGGameState {
  BR_DECLARE_CLASS(BrRAGGameStatePlaying)
public:
  // Fade-in flag set.
  BrRAGGameStatePlaying();
  ~BrRAGGameStatePlaying() override;

  // The base state's Init, then the empty full-screen control "ingame" on the application's HUD; true.
  bool Init() override;
  void Step(float dt) override;
  void OnEntry() override;
  void OnExit() override;
  // The map.
  void Draw(BrRenderBase* render) override;
  // Minimap, HUD, then the fade tile over the first two seconds after a fresh entry.
  void DrawHUD(BrRenderBase* const render) override;

  bool IsFadingIn() const { return mbFadeIn; }

protected:
  // The map's level info as BrMap::GetLevelInfo finds it (the first object of that class by id), without
  // walking every object each frame.
  BrLevelInfo* LevelInfoOf(BrMap* map);

  bool mbFadeIn;
  // The missing map was reported already.
  bool mbReportedNoMap;
  // Where the level info was last found. Ids only grow while the object table lives and an id keeps its object
  // until it dies, so no lower id can become a level info meanwhile; a table emptied and refilled shows as a
  // shorter table, another map, or another object at the id (a level holds one level info).
  const BrMap* mpInfoMap = nullptr;
  int miInfoId = -1, miInfoObjects = 0;
  const void* mpInfoObject = nullptr;
};

// Nothing steps; the sound is muted; the map is drawn under a dark veil with the paused image.
class BrRAGGameStatePaused : public BrRAGGameState {
  BR_DECLARE_CLASS(BrRAGGameStatePaused)
public:
  BrRAGGameStatePaused();
  ~BrRAGGameStatePaused() override;

  // Mutes the audio device.
  void OnEntry() override;
  // Unmutes it.
  void OnExit() override;
  // The map, the minimap, the veil and the paused image.
  void Draw(BrRenderBase* render) override;
  // The base state's Draw only: no HUD while paused.
  void DrawHUD(BrRenderBase* const render) override;

protected:
  unsigned int muiVeilFX;
  unsigned int muiImageFX;
};
