// BrRAGGame: the adventure framework's application: its fifteen states, click routing, debug commands and save games.
#pragma once

#include "engine/kernel/BrGame.h"

class BrRenderBase;

// Created by class name ("BrRAGGame") and handed to the engine. It fixes the map, minimap and HUD classes,
// registers the game states by class name (a class that is missing only fails to spawn) and offers released
// clicks to the current state before the active controller.
class BrRAGGame : public BrGame {
  BR_DECLARE_CLASS(BrRAGGame)
public:
  BrRAGGame();
  ~BrRAGGame() override;

  // Writes and reads nothing: a save holds no application state beyond what BrGame writes itself.
  void Serialize(BrBin& bin) override;
  // Map "BrRogueMap", minimap "BrRAGMiniMap", HUD from [RAG] HUDType ("BrRAGHUD"), BrGame::Init (which
  // registers the states and enters the first), then the three volume settings; always true.
  bool Init() override;
  // The fifteen states, then the intro ([RAG] ShowIntro non-zero) or the main menu.
  void AddStates() override;
  // The debug menu commands 105-114 and 40005, 40011-40013; any other id goes to the base.
  void DoMenuCommand(int id) override;
  // The first valid BrRAGPlayer among the map's objects; null without one.
  BrActor* GetPlayer() override;
  // The camera's frame.
  void GetAudioListenerCoords(BrCoords& out) override;
  // The current state first; when it does not consume the click, the active controller.
  void LeftClick() override;
  void RightClick() override;
  // The current state's HUD pass only (each state draws the minimap and HUD itself when it wants them).
  void DrawHUD(BrRenderBase* render) override;
  // Nothing.
  void CreateHUDControls() override;
  // "Saves\\autosave" + the map's level + ".gin".
  BrStringT<char> GetAutoSaveFilename() override;
  // Reads a save game (path relative to the media folder, as SaveGame writes it) into a fresh map and swaps it
  // in only when the whole file reads back sound, then sets the level again. False with a log line for a file
  // that cannot be opened, is short, holds a bad class name or body; the running game is then untouched.
  bool LoadGame(const BrStringT<char>& path) override;
  // Shows the hint section name once per player, when [App] Hints is on.
  void ShowHint(const BrStringT<char>& name) override;

  // BrGame's step (HUD, then the current state), then a game over asked for during the frame: the player and
  // the map are destroyed and the main menu entered here, never under the handler that asked.
  void Step(float dt) override;
  // Asks for the end of the running game at the end of this frame (the game-over dialog closing).
  void RequestGameOver() { m_bGameOverPending = true; }
  bool IsGameOverPending() const { return m_bGameOverPending; }

private:
  bool m_bGameOverPending;
};
