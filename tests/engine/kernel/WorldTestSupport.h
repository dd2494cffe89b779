// Test support for the world model: engine slots set directly, an application with a map, and a run folder.
#pragma once

#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include "core/brcr.h"
#include "engine/kernel/BrApplication.h"
#include "engine/kernel/BrEngine.h"
#include "engine/kernel/BrEngineTestSeams.h"
#include "engine/kernel/BrGame.h"
#include "engine/kernel/BrMap.h"
#include "engine/kernel/BrScriptDaemon.h"
#include "tests/support/CapturedLog.h"
#include "tests/support/TempFolder.h"

namespace brworld {

namespace fs = std::filesystem;

// A temporary working folder with "Media" in it and the log opened there; the engine's media folder is "Media".
class RunFolder {
public:
  RunFolder() : folder("brw"), root(folder.Path()) {
    fs::create_directories(root / "Media");
    folder.Enter();
    GLog.Init();
    Engine().setMediaDir("Media");
    m_bOldDebug = GIsDebug;
    GIsDebug = true;  // debug lines are part of what the tests read
    // No configuration unless a test hands one over: a cache left behind by an earlier test may be gone.
    m_pOldConfig = Engine().GetConfig();
    Engine().SetConfig(nullptr);
  }
  ~RunFolder() {
    Engine().SetConfig(m_pOldConfig);
    GIsDebug = m_bOldDebug;
    GLog.Close();
  }
  std::vector<std::string> Log() { return brtest::LogLines(root / "log.txt"); }
  int CountLines(const std::string& text) { return brtest::CountLogLines(root / "log.txt", text); }
  static std::vector<char> ReadBytes(const fs::path& p) { return brtest::ReadBytes(p); }
  static void WriteBytes(const fs::path& p, const std::vector<char>& bytes) { brtest::WriteBytes(p, bytes); }
  brtest::TempFolder folder;
  const fs::path root;

private:
  bool m_bOldDebug;
  BrConfigCache* m_pOldConfig;
};

// Installs app as the engine's application (after Init) and a fresh map, and takes both away at the end.
class ScopedApp {
public:
  explicit ScopedApp(BrApplication* app, bool withMap = true) : m_pApp(app) {
    m_pPrevious = BrEngineTestSeams::App();
    BrEngineTestSeams::App() = app;
    app->Init();
    if (withMap) app->CreateMap();
  }
  ~ScopedApp() {
    m_pApp->Destroy();
    delete m_pApp;
    BrEngineTestSeams::App() = m_pPrevious;
  }
  BrMap* Map() { return m_pApp->Map(); }
  ScopedApp(const ScopedApp&) = delete;
  ScopedApp& operator=(const ScopedApp&) = delete;

private:
  BrApplication* m_pApp;
  BrApplication* m_pPrevious;
};

}  // namespace brworld
