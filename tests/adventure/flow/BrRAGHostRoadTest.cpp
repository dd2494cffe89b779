// The road the host takes with the real game content: the game library loaded by name from Media\Libs, the
// application made by name, the intro and legal splash fading to the main menu, a new game chosen from its dialog
// and a generated dungeon being played; then quitting ends the run in order and frees the library.
#include <gtest/gtest.h>

#include <cstdlib>
#include <fstream>

#include "adventure/world/BrRAGMap.h"
#include "adventure/world/BrRAGPlayer.h"
#include "engine/kernel/BrEngineTestSeams.h"
#include "engine/kernel/BrEngineCall.h"
#include "tests/adventure/flow/FlowTestSupport.h"

using namespace ragflow;

TEST(BrRAGHostRoad, TheGameLibraryTakesTheGameFromTheIntroIntoAPlayedDungeon) {
  FlowRun run;
  // CTest names the build folder; run by hand, from any folder, the test binary's own place in it does.
  const char* binary = std::getenv("BR_BINARY_DIR");
  const fs::path build = binary ? fs::path(binary) : fs::read_symlink("/proc/self/exe").parent_path().parent_path();
  const fs::path lib = build / "lib" / "libtidewrack.so";
  ASSERT_TRUE(fs::exists(lib)) << lib << " is missing: build the tidewrack target";
  fs::create_directories(run.root / "Media" / "Libs");
  fs::create_directories(run.root / "Media" / "Config");
  fs::copy_file(lib, run.root / "Media" / "Libs" / "tidewrack.so");
  std::ofstream(run.root / "Media" / "Config" / "main.cfg") << "[Engine]\nLibs=tidewrack\n";
  std::ofstream(run.root / "Media" / "Config" / "game.cfg")
      << "[Shallows]\nType=BrRogueLevelInfo\nRarity=1\nLevels=1,40\nRoomCount=4\nCavernCount=3\nDensity=75\n"
         "WallHeight=2\n"
         "[Stairs]\nType=Staircase\nRarity=1\nLevels=1,80\n"
         "[Hero]\nType=BrRAGPlayer\nHealth=100\nRankNames=Novice,Hero\nRankXPs=0,100\nHasLantern=1\n";
  run.config.SetString("RAG", "Configs", "Config\\game.cfg");
  run.config.SetString("RAG", "PlayerTypes", "Hero");

  ASSERT_EQ(Engine().Spawn("BrRogueMap"), nullptr);
  ASSERT_TRUE(Engine().LoadNativeLibs());
  ASSERT_EQ(Engine().GetNumLibs(), 1);
  BrRAGGame* game = run.Start();
  ASSERT_NE(game, nullptr);
  EXPECT_EQ(run.StateName(), "BrRAGGameStateIntro");
  ASSERT_TRUE(run.RunUntil("BrRAGGameStateMainMenu", 20.0f, 0.1f));

  EXPECT_TRUE(run.RAGHUD()->ControlLeftClicked("MMenuPlayGameBtn"));
  run.Frame(0.1f);
  EXPECT_TRUE(run.RAGHUD()->ControlLeftClicked("NewGameMedium"));
  for (int i = 0; i < 30; ++i) run.Frame(0.1f);
  EXPECT_EQ(run.StateName(), "BrRAGGameStatePlaying");
  ASSERT_NE(game->Map(), nullptr);
  EXPECT_STREQ(game->Map()->GetName(), "BrRogueMap");
  auto* map = static_cast<BrRAGMap*>(game->Map()->SafeCast(&BrRAGMap::Type));
  ASSERT_NE(map, nullptr);
  EXPECT_EQ(map->GetLevel(), 1u);
  EXPECT_GT(map->GridWidth(), 0);
  BrActor* player = game->GetPlayer();
  ASSERT_NE(player, nullptr);
  EXPECT_TRUE(player->IsA(BrRAGPlayer::Type));
  EXPECT_EQ(game->getDifficulty(), 1);

  // The player quits from the main menu; the click arrives inside an engine call, as window messages do, so the
  // run ends once that call returns: the game (and every object of the library) before the library is freed.
  BrRAGHUD* hud = run.RAGHUD();
  run.game = nullptr;
  BrEngineTestSeams::Script() = nullptr;
  BrRAGGameState::menuMusicSFX.Stop();
  game->ChangeToState("BrRAGGameStateMainMenu");
  {
    BrEngineCall call;
    EXPECT_TRUE(hud->ControlLeftClicked("MMenuExitGameBtn"));
    EXPECT_TRUE(hud->ControlLeftClicked("MMenuExitGameConfirm"));
    EXPECT_TRUE(GExit);
    EXPECT_EQ(Engine().App(), game);
  }
  EXPECT_EQ(Engine().App(), nullptr);
  EXPECT_EQ(Engine().GetNumLibs(), 0);
  EXPECT_EQ(Engine().Spawn("BrRogueMap"), nullptr);
  BrEngineTestSeams::ResetAfterExit();
  BrEngineTestSeams::GUI() = new BrGUI();
}
