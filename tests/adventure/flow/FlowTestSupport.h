// Test support for the game flow: a run folder, the recording devices, a widget manager and a BrRAGGame started
// as the host would start it, with keys and frames driven by the test.
#pragma once

#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include "adventure/flow/BrRAGGame.h"
#include "adventure/flow/BrRAGGameState.h"
#include "adventure/flow/BrRAGHUD.h"
#include "adventure/world/BrRAGConfigCache.h"
#include "core/brcr.h"
#include "engine/kernel/BrConfigCache.h"
#include "engine/kernel/BrEngine.h"
#include "engine/kernel/BrEngineTestSeams.h"
#include "engine/kernel/BrScriptDaemon.h"
#include "engine/presentation/BrGUI.h"
#include "engine/presentation/BrHUD.h"
#include "platform/win32/win32_user.h"
#include "tests/support/RecordingAudioDevice.h"
#include "tests/support/RecordingRenderDevice.h"
#include "tests/support/CapturedLog.h"
#include "tests/support/TempFolder.h"

namespace ragflow {

namespace fs = std::filesystem;

// Holds a key down for the length of a scope.
class HeldKey {
public:
  explicit HeldKey(int vkey) : m_iKey(vkey) { brW32InjectKey(vkey, TRUE); }
  ~HeldKey() { brW32InjectKey(m_iKey, FALSE); }
  HeldKey(const HeldKey&) = delete;
  HeldKey& operator=(const HeldKey&) = delete;

private:
  int m_iKey;
};

// A temporary working folder with "Media" in it, the log opened there, the recording devices, a fresh widget
// manager and a configuration the test fills before Start.
class FlowRun {
public:
  FlowRun() : folder("brf"), root(folder.Path()), render(800, 600), audioScope(&audio), renderScope(&render) {
    fs::create_directories(root / "Media" / "Saves");
    folder.Enter();
    GLog.Init();
    m_bOldDebug = GIsDebug;
    GIsDebug = true;
    Engine().setMediaDir("Media");
    m_pOldConfig = Engine().GetConfig();
    Engine().SetConfig(&config);
    render.Init();
    audio.Init();
    m_pOldGUI = BrEngineTestSeams::GUI();
    BrEngineTestSeams::GUI() = new BrGUI();
    m_pOldApp = BrEngineTestSeams::App();
    BrEngineTestSeams::App() = nullptr;
    m_pOldScript = BrEngineTestSeams::Script();
    BrEngineTestSeams::Script() = &script;
  }

  ~FlowRun() {
    if (game) {
      game->Destroy();
      delete game;
    }
    BrEngineTestSeams::App() = m_pOldApp;
    BrEngineTestSeams::Script() = m_pOldScript;
    BrGUI* gui = BrEngineTestSeams::GUI();
    gui->Destroy();
    delete gui;
    BrEngineTestSeams::GUI() = m_pOldGUI;
    // Class-wide sounds hold ids of this test's audio device.
    BrRAGGameState::menuMusicSFX.Stop();
    BrRAGHUD::mSpeakerTestSFX.Stop();
    BrRAGHUD::mSpeakerTestRSFX.Stop();
    Engine().SetTimeScalar(1.0f);
    Engine().setMediaDir("Media");
    Engine().SetConfig(m_pOldConfig);
    GIsDebug = m_bOldDebug;
    GLog.Close();
    folder.Leave();
  }

  // Creates the application by name and sets it on the engine, as the host does.
  BrRAGGame* Start() {
    BrObject* spawned = static_cast<BrObject*>(Engine().Spawn("BrRAGGame"));
    game = spawned ? static_cast<BrRAGGame*>(spawned->SafeCast(&BrRAGGame::Type)) : nullptr;
    if (!game) return nullptr;
    Engine().SetApp(game);
    return game;
  }

  // One host frame of dt seconds: the engine's step, then the drawing the host does (the device takes the
  // camera's view in PreRender).
  void Frame(float dt) {
    Engine().FrameStarted() = brGetSystemTime();
    Engine().Step(dt);
    render.ClearRecords();
    render.PreRender(ePreRenderClearAll);
    game->Draw(&render);
    Engine().GUI()->Draw(&render);
    render.EndRender();
  }
  // Frames until the state named is current or seconds of game time have passed; true when it was reached.
  bool RunUntil(const char* state, float seconds, float dt = 0.05f) {
    for (float t = 0.0f; t < seconds; t += dt) {
      if (game->IsInState(state)) return true;
      Frame(dt);
    }
    return game->IsInState(state);
  }

  BrHUD* HUD() { return game ? game->GetHUD() : nullptr; }
  BrRAGHUD* RAGHUD() { return HUD() ? static_cast<BrRAGHUD*>(HUD()->SafeCast(&BrRAGHUD::Type)) : nullptr; }
  std::string StateName() {
    BrBaseState* state = game ? game->GetCurrentState() : nullptr;
    return state && state->GetStateName().c_str() ? state->GetStateName().c_str() : "";
  }

  std::vector<std::string> Log() { return brtest::LogLines(root / "log.txt"); }
  int CountLines(const std::string& text) { return brtest::CountLogLines(root / "log.txt", text); }
  static void WriteBytes(const fs::path& p, const std::vector<char>& bytes) { brtest::WriteBytes(p, bytes); }

  brtest::TempFolder folder;
  const fs::path root;
  BrRAGConfigCache config;
  RecordingRenderDevice render;
  RecordingAudioDevice audio;
  BrScriptDaemon script;
  BrRAGGame* game = nullptr;

private:
  ScopedEngineAudio audioScope;
  ScopedRenderDevice renderScope;
  bool m_bOldDebug;
  BrConfigCache* m_pOldConfig;
  BrGUI* m_pOldGUI;
  BrApplication* m_pOldApp;
  BrScriptDaemon* m_pOldScript;
};

}  // namespace ragflow
