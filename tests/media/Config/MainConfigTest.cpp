// The shipped main.cfg starts the game from the run tree: the real host, device plug-ins, game library and media
// pack reach the main menu, and a new game chosen there is played, with no error in the log.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <set>
#include <sstream>
#include <string>

#include "adventure/flow/BrRAGGame.h"
#include "adventure/flow/BrRAGHUD.h"
#include "adventure/world/BrRAGCfgFile.h"
#include "adventure/world/BrRAGConfigCache.h"
#include "adventure/world/BrRAGMap.h"
#include "core/brcr.h"
#include "engine/kernel/BrEngineTestSeams.h"
#include "engine/kernel/kernel.h"
#include "engine/presentation/BrGUI.h"
#include "engine/presentation/BrRenderBase.h"
#include "platform/win32/win32.h"
#include "tests/support/TempFolder.h"

namespace fs = std::filesystem;

namespace {

std::string ReadAll(const fs::path& path) {
  std::ifstream f(path, std::ios::binary);
  std::ostringstream s;
  s << f.rdbuf();
  return s.str();
}

// A private copy of the build's run tree: the pack, libraries and plug-ins linked, the configuration copied with
// the intro switched off, so that the main menu comes at once.
class RunTreeCopy {
public:
  RunTreeCopy() : folder("brmain"), root(folder.Path()), game(root / "game") {
    const char* binary = std::getenv("BR_BINARY_DIR");
    const fs::path run = fs::path(binary ? binary : ".") / "run";
    fs::create_directories(game / "Media" / "Config");
    fs::create_directory_symlink(run / "drivers", root / "drivers");
    fs::create_directory_symlink(run / "lib", root / "lib");
    fs::copy_file(run / "game" / "brhost", game / "brhost");
    for (const auto& entry : fs::directory_iterator(run / "game" / "Media")) {
      const std::string name = entry.path().filename().string();
      if (name != "Config" && name != "Screenshots" && name != "Saves")
        fs::create_directory_symlink(entry.path(), game / "Media" / name);
    }
    for (const auto& entry : fs::directory_iterator(run / "game" / "Media" / "Config"))
      fs::copy_file(entry.path(), game / "Media" / "Config" / entry.path().filename());
    std::string main = ReadAll(game / "Media" / "Config" / "main.cfg");
    shipped = main.find("ShowIntro=1") != std::string::npos;
    main.replace(main.find("ShowIntro=1"), 11, "ShowIntro=0");
    std::ofstream(game / "Media" / "Config" / "main.cfg") << main;
  }
  // The lines of log.txt that report an error.
  std::string Errors() const {
    std::istringstream in(ReadAll(game / "log.txt"));
    std::string line, errors;
    while (std::getline(in, line))
      if (line.find("ERROR") != std::string::npos) errors += line + "\n";
    return errors;
  }
  brtest::TempFolder folder;
  const fs::path root, game;
  bool shipped = false;
};

// The number of different colours of a 24- or 32-bit BMP image; 0 for anything else.
size_t DistinctColours(const std::string& bmp) {
  auto at = [&](size_t i, int n) {
    uint32_t v = 0;
    for (int k = n - 1; k >= 0; --k) v = (v << 8) | uint8_t(bmp[i + size_t(k)]);
    return v;
  };
  if (bmp.size() < 54 || bmp.compare(0, 2, "BM") != 0) return 0;
  const uint32_t offset = at(10, 4), bits = at(28, 2);
  if ((bits != 24 && bits != 32) || offset >= bmp.size()) return 0;
  std::set<uint32_t> colours;
  for (size_t i = offset; i + 3 <= bmp.size(); i += bits / 8) colours.insert(at(i, 3));
  return colours.size();
}

void HostFrame(float dt) {
  MSG msg;
  while (!GExit && PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) {
    TranslateMessage(&msg);
    DispatchMessageA(&msg);
  }
  if (GExit) return;
  Engine().FrameStarted() = brGetSystemTime();
  Engine().ProcessGlobalUserInput();
  Engine().Step(dt);
  BrRenderBase* render = Engine().Render();
  if (GExit || !render) return;
  render->PreRender(ePreRenderClearAll);
  if (Engine().App()) Engine().App()->Draw(render);
  if (Engine().GUI()) Engine().GUI()->Draw(render);
  render->EndRender();
}

}  // namespace

TEST(ShippedMainConfig, TheHostStartsTheGameAtTheMainMenuWithoutErrors) {
  RunTreeCopy tree;
  ASSERT_TRUE(tree.shipped) << "the shipped main.cfg shows the intro";
  const std::string command =
      "cd '" + tree.game.string() + "' && SDL_VIDEODRIVER=offscreen ./brhost --headless --frames 120 > host.out 2>&1";
  ASSERT_EQ(std::system(command.c_str()), 0) << ReadAll(tree.game / "host.out");
  const std::string out = ReadAll(tree.game / "host.out");
  EXPECT_NE(out.find("left in order after 120 frames"), std::string::npos) << out;
  EXPECT_TRUE(fs::exists(tree.game / "Media" / "Screenshots" / "brhost_last_frame.bmp"));
  EXPECT_EQ(tree.Errors(), "");
}

TEST(ShippedMainConfig, WithoutItTheHostWritesTheSameText) {
  RunTreeCopy tree;
  fs::remove(tree.game / "Media" / "Config" / "main.cfg");
  const std::string command =
      "cd '" + tree.game.string() + "' && SDL_VIDEODRIVER=offscreen ./brhost --headless --frames 5 > host.out 2>&1";
  ASSERT_EQ(std::system(command.c_str()), 0) << ReadAll(tree.game / "host.out");
  const char* source = std::getenv("BR_SOURCE_DIR");
  std::string written = ReadAll(tree.game / "Media" / "Config" / "main.cfg");
  written.erase(std::remove(written.begin(), written.end(), '\r'), written.end());
  // The host writes its settings back at exit: the one key the default text leaves out, held empty, is added.
  EXPECT_EQ(written, ReadAll(fs::path(source ? source : ".") / "media" / "Config" / "main.cfg") + "HUDType=\n");
  EXPECT_EQ(tree.Errors(), "");
}

TEST(ShippedMainConfig, ANewGameChosenFromTheMainMenuIsPlayed) {
  RunTreeCopy tree;
  tree.folder.Enter("game");
  // What the host does, in this process so that the menu can be clicked.
  GLog.Init();
  Engine().setMediaDir(BrStringT<char>("Media"));
  BrRAGCfgFile file("Media\\Config\\main.cfg");
  BrRAGConfigCache config;
  ASSERT_TRUE(config.ReadConfigFromFile(&file));
  Engine().SetConfig(&config);
  ASSERT_TRUE(Engine().Init(0, 0, 0));
  ASSERT_NE(Engine().Render(), nullptr);
  BrObject* made = static_cast<BrObject*>(Engine().Spawn("BrRAGGame"));
  BrRAGGame* game = made ? static_cast<BrRAGGame*>(made->SafeCast(&BrRAGGame::Type)) : nullptr;
  ASSERT_NE(game, nullptr);
  Engine().SetApp(game);
  Engine().Launch(nullptr, 0, 0, 0, true);

  for (int i = 0; i < 30 && !game->IsInState("BrRAGGameStateMainMenu"); ++i) HostFrame(0.05f);
  EXPECT_TRUE(game->IsInState("BrRAGGameStateMainMenu"));
  BrRAGHUD* hud = game->GetHUD() ? static_cast<BrRAGHUD*>(game->GetHUD()->SafeCast(&BrRAGHUD::Type)) : nullptr;
  ASSERT_NE(hud, nullptr);
  EXPECT_TRUE(hud->ControlLeftClicked("MMenuPlayGameBtn"));
  HostFrame(0.05f);
  EXPECT_TRUE(hud->ControlLeftClicked("NewGameMedium"));
  for (int i = 0; i < 200; ++i) HostFrame(0.05f);
  EXPECT_TRUE(game->IsInState("BrRAGGameStatePlaying"));
  BrRAGMap* map = game->Map() ? static_cast<BrRAGMap*>(game->Map()->SafeCast(&BrRAGMap::Type)) : nullptr;
  ASSERT_NE(map, nullptr);
  EXPECT_EQ(map->GetLevel(), 1u);
  EXPECT_NE(game->GetPlayer(), nullptr);
  // The frame shows the dungeon, not a blank or single-coloured screen.
  const fs::path shot = tree.game / "Media" / "Screenshots" / "newgame.bmp";
  fs::create_directories(shot.parent_path());
  Engine().Render()->takeScreenshot(BrStringT<char>("Media\\Screenshots\\newgame.bmp"));
  EXPECT_GT(DistinctColours(ReadAll(shot)), 50u);

  Engine().Exit();
  file.Close();
  brW32ShutdownVideo();
  BrEngineTestSeams::ResetAfterExit();
  Engine().SetConfig(nullptr);
  GLog.Close();
  tree.folder.Leave();
  EXPECT_EQ(tree.Errors(), "");
}
