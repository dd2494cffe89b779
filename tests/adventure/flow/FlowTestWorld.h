// Test support for the game flow's screens: a game with a grid map and a player, a recording device, GUI and audio.
#pragma once

#include <fstream>
#include <string>
#include <vector>

#include "adventure/flow/BrRAGPlayerHUD.h"
#include "adventure/world/BrRAGMap.h"
#include "adventure/world/BrRAGPlayer.h"
#include "engine/kernel/BrGame.h"
#include "engine/kernel/BrScriptDaemon.h"
#include "tests/engine/kernel/WorldTestSupport.h"
#include "tests/engine/presentation/WidgetTestKit.h"
#include "tests/support/RecordingAudioDevice.h"
#include "tests/support/RecordingRenderDevice.h"

namespace flowtest {

// A grid map whose object configuration is the test's "flow.cfg".
class FlowTestMap : public BrRAGMap {
  BR_DECLARE_CLASS(FlowTestMap)
public:
  bool LoadConfigList() override;
};

// A game whose states are the ones a test names, with the framework's HUD and minimap; its player is the first
// valid BrRAGPlayer of the map.
class FlowTestGame : public BrGame {
  BR_DECLARE_CLASS(FlowTestGame)
public:
  FlowTestGame();
  void AddStates() override;
  BrActor* GetPlayer() override;
  // The current state's HUD pass only, as the framework's game does.
  void DrawHUD(BrRenderBase* render) override;
  // The states AddStates adds, in order; the first becomes current.
  static std::vector<std::string>& StateNames();
};

// Display modes (width, height) the recording device of the next FlowWorld offers.
std::vector<std::pair<int, int>>& DisplayModes();

// The whole frame around a test: run folder, recording device (800 x 600), GUI, audio, script daemon and the game
// with a map of width x height open cells.
class FlowWorld {
public:
  explicit FlowWorld(const std::string& config = std::string(), std::vector<std::string> states = {}, int width = 8,
                     int height = 8, bool withMap = true);
  ~FlowWorld();
  FlowWorld(const FlowWorld&) = delete;
  FlowWorld& operator=(const FlowWorld&) = delete;

  FlowTestGame* Game() { return m_pGame; }
  BrRAGMap* Map() { return static_cast<BrRAGMap*>(m_pGame->Map()); }
  BrHUD* HUD() { return m_pGame->GetHUD(); }
  // A player of the configured kind at (x, 0, z), added to the map (its HUD made and initialised).
  BrRAGPlayer* SpawnPlayer(const char* kind = "Hero", float x = 0.0f, float z = 0.0f);
  // An entity of a configured kind added to the map.
  BrDemoEntity* Spawn(const char* kind, float x = 0.0f, float z = 0.0f);
  // An item of a kind put into the player's inventory.
  BrDemoEntity* Give(BrRAGPlayer* player, const char* kind);
  // One frame as the host runs it: step, then the application's and the GUI's drawing.
  void Frame(float dt);
  // The texts drawn since the records were last cleared.
  std::vector<std::string> Texts() const;
  bool Drew(const std::string& text) const;
  // Sprites drawn with the effector registered under name.
  std::vector<RecordingRenderDevice::Sprite> SpritesOf(const std::string& name) const;

  brworld::RunFolder folder;
  RecordingRenderDevice dev;
  RecordingAudioDevice audio;
  BrScriptDaemon script;

private:
  ScopedRenderDevice m_Render;
  brwidgettest::ScopedGUI m_GUI;
  ScopedEngineAudio m_Audio;
  BrScriptDaemon* m_pOldScript;
  FlowTestGame* m_pGame;
  brworld::ScopedApp* m_pScoped;
};

// The player HUD's protected parts, for checks.
struct PlayerHUDProbe : BrRAGPlayerHUD {
  static bool HealthLow(BrRAGPlayerHUD* hud) { return (hud->*(&PlayerHUDProbe::IsHealthLow))(); }
};

}  // namespace flowtest
