// Test support for games played through the real application: a small open grid map with the player at its centre
// and a game started at the main menu whose new games are played on it.
#pragma once

#include <string>

#include "adventure/flow/BrRAGSlideCameraCtrl.h"
#include "adventure/world/BrRAGMap.h"
#include "adventure/world/BrRAGPlayer.h"
#include "tests/adventure/flow/FlowTestSupport.h"

// An open 8 x 8 grid read from "play.cfg" with a "Hero" at its centre (unless spawnHero is off, as for a map
// read from a save); counts its steps.
class RAGFlowPlayMap : public BrRAGMap {
  BR_DECLARE_CLASS(RAGFlowPlayMap)
public:
  bool LoadConfigList() override;
  bool Init() override;
  void Step(float dt) override;
  // Adds an entity of a configured kind at offset (dx, dz) from the centre; null when it cannot be made.
  BrDemoEntity* Place(const char* kind, float dx, float dz);

  int steps = 0;
  BrVector centre;
  static bool spawnHero;
};

namespace ragflow {

// The object configuration every played game reads.
extern const char* const kPlayConfig;

// A game started at the main menu ([RAG] ShowIntro 0, the given StartLevel, hints on) whose map class is
// RAGFlowPlayMap.
struct Play {
  explicit Play(int startLevel = 1);
  RAGFlowPlayMap* Map();
  BrRAGPlayer* Player();
  BrRAGRotateCameraCtrl* Rotate();
  // The black fade tile's opacity in the last frame; -1 when none was drawn.
  float FadeAlpha();
  // Points the HUD cursor's hot spot at a world point through the device's projection.
  void PointAt(const BrVector& world);
  // Starts a new game from the main menu with the difficulty command given.
  void NewGame(const char* command = "NewGameEasy");

  FlowRun run;
  BrRAGGame* game = nullptr;
};

}  // namespace ragflow
