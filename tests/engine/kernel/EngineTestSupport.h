// Test support: a temporary run tree (working folder, media folder, plug-ins folder) with the log opened in it.
#pragma once

#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

#include "core/brcr.h"
#include "core/BrCfgFile.h"
#include "engine/kernel/BrConfigCache.h"
#include "engine/kernel/BrEngine.h"
#include "engine/kernel/BrEngineTestSeams.h"
#include "tests/support/CapturedLog.h"
#include "tests/support/TempFolder.h"

namespace brtest {

namespace fs = std::filesystem;

// <tmp>/game is the working folder, <tmp>/game/Media the media folder, <tmp>/drivers/plug-ins the plug-ins.
class RunTree {
public:
  explicit RunTree(const std::string& config) : folder("brk"), root(folder.Path()) {
    fs::create_directories(root / "game" / "Media" / "Config");
    fs::create_directories(root / "game" / "Media" / "Libs");
    fs::create_directories(root / "drivers" / "plug-ins");
    folder.Enter("game");
    if (!config.empty()) std::ofstream(root / "game" / "Media" / "Config" / "main.cfg") << config;
    GLog.Init();
  }
  ~RunTree() { GLog.Close(); }

  // Copies a fake plug-in into the plug-ins folder under the given name.
  void Plugin(const std::string& fake, const std::string& as) {
    fs::copy_file(fs::path(BR_FAKES_DIR) / (fake + ".so"), root / "drivers" / "plug-ins" / (as + ".so"),
                  fs::copy_options::overwrite_existing);
  }
  // Copies a fake game library into Media/Libs under the given name.
  void GameLib(const std::string& fake, const std::string& as) {
    fs::copy_file(fs::path(BR_FAKES_DIR) / (fake + ".so"), root / "game" / "Media" / "Libs" / (as + ".so"),
                  fs::copy_options::overwrite_existing);
  }
  // The cache read from Media\Config\main.cfg, handed to the engine with the media folder.
  void Configure() {
    file.Open("Media\\Config\\main.cfg", 0x1000001);
    cache.ReadConfigFromFile(&file);
    Engine().setMediaDir("Media");
    Engine().SetConfig(&cache);
    Engine().SetClockMeasurePause(0);
  }
  // Every line of log.txt written so far.
  std::vector<std::string> Log() { return LogLines(root / "game" / "log.txt"); }
  // Index of the first line equal to text at or after from; -1 when none.
  int Find(const std::string& text, int from = 0) {
    std::vector<std::string> lines = Log();
    for (int i = from; i < (int)lines.size(); ++i)
      if (lines[i] == text) return i;
    return -1;
  }
  // The last non-empty line.
  std::string LastLine() {
    std::vector<std::string> lines = Log();
    for (int i = (int)lines.size() - 1; i >= 0; --i)
      if (!lines[i].empty()) return lines[i];
    return std::string();
  }

  TempFolder folder;
  const fs::path root;
  BrCfgFile file;
  BrConfigCache cache;
};

// Leaves the engine exited and ready for the next test of the same process.
inline void ResetEngine() {
  Engine().Exit();
  BrEngineTestSeams::ResetAfterExit();
}

}  // namespace brtest
