// The whole game as a player meets it, on the real plug-ins, game library and generated media: a first run from
// the intro to a named save and quitting, a second run loading that save and playing on. Catches faults that
// only show when every layer runs together (a frame that draws nothing, a click that never reaches its button,
// a save the load menu cannot read back, a level change that hangs).
#include <gtest/gtest.h>

#include <cstdlib>

#include "adventure/flow/BrRAGHUD.h"
#include "core/brcr.h"
#include "adventure/world/BrRAGItem.h"
#include "engine/kernel/BrPickup.h"
#include "engine/presentation/BrGUI.h"
#include "engine/presentation/BrRenderBase.h"
#include "engine/presentation/BrUIControlListBox.h"
#include "platform/win32/win32.h"
#include "tests/play/PlayRig.h"
#include "tests/play/PlayScript.h"

using namespace brplay;

namespace {

const unsigned int kSeed = 20261;

// The expected main-menu frame, kept small: the screenshot averaged down to 32 x 24 cells.
fs::path ExpectedMenuFrame() {
  const char* source = std::getenv("BR_SOURCE_DIR");
  return fs::path(source ? source : ".") / "tests" / "play" / "expected" / "mainmenu_32x24.ppm";
}

// Intro and legal splash with Escape held, as an impatient player skips them.
void SkipToMainMenu(PlayHost& host, PlayTree& tree) {
  ASSERT_EQ(host.State(), "BrRAGGameStateIntro");
  host.Run(1.2f);
  brW32InjectKey(VK_ESCAPE, TRUE);
  EXPECT_TRUE(host.RunUntilState("BrRAGGameStateLegalSplash", 5.0f));
  EXPECT_TRUE(host.RunUntilState("BrRAGGameStateMainMenu", 5.0f));
  brW32InjectKey(VK_ESCAPE, FALSE);
  host.Run(0.5f);
  ASSERT_EQ(host.State(), "BrRAGGameStateMainMenu");
}

}  // namespace

TEST(Playthrough, NewGameFightsPicksUpDescendsSavesQuitsThenLoadsAndPlaysOn) {
  PlayTree tree;
  {
    PlayHost host;
    ASSERT_TRUE(host.Start(kSeed)) << "the host did not start; see " << tree.Game() / "log.txt";
    EXPECT_GE(tree.Find("Engine: Loaded lib tidewrack"), 0);
    EXPECT_GE(tree.Find("Rendering device initiated"), 0);
    EXPECT_GE(tree.Find("Audio daemon initiated"), 0);
    EXPECT_EQ(tree.Find("ERROR"), -1) << tree.Log()[size_t(std::max(0, tree.Find("ERROR")))];

    SkipToMainMenu(host, tree);
    if (testing::Test::HasFatalFailure()) return;

    // The menu frame against the expected one, within a tolerance for the software rasteriser.
    // The front buffer is the desktop's size; the window's frame sits at its top-left corner.
    Shot frame;
    ASSERT_TRUE(ScreenFrame(host, tree, "mainmenu.bmp", frame));
    const Shot small = Shrink(frame, 32, 24);
    if (std::getenv("BR_PLAY_UPDATE_EXPECTED")) WritePpm(ExpectedMenuFrame(), small);
    Shot expected;
    ASSERT_TRUE(ReadPpm(ExpectedMenuFrame(), expected)) << ExpectedMenuFrame();
    EXPECT_LT(MeanDifference(small, expected), 6.0);
    // Whatever the expected frame holds: the button column stands out bright against the dimmed background.
    auto brightness = [&small](int x0, int y0, int x1, int y1) {
      double sum = 0;
      for (int y = y0; y < y1; ++y)
        for (int x = x0; x < x1; ++x) {
          const uint32_t p = small.At(x, y);
          sum += ((p >> 16) & 0xFF) + ((p >> 8) & 0xFF) + (p & 0xFF);
        }
      return sum / double((x1 - x0) * (y1 - y0) * 3);
    };
    EXPECT_GT(brightness(26, 7, 30, 18), 3.0 * brightness(0, 8, 18, 22) + 10.0);

    // A new game from the menu's button and the difficulty dialog, clicked through window messages.
    ASSERT_TRUE(host.ClickControl("MMenuPlayGameBtn"));
    host.Frame();
    ASSERT_NE(host.Control("dlg_newgame"), nullptr) << "the play button's click did not reach it";
    ASSERT_TRUE(host.ClickControl("NewGameMedium"));
    ASSERT_TRUE(host.RunUntilState("BrRAGGameStatePlaying", 5.0f)) << host.State();
    host.Run(1.0f);
    BrRAGMap* map = host.Map();
    ASSERT_NE(map, nullptr);
    EXPECT_EQ(map->GetLevel(), 1u);
    EXPECT_EQ(host.Game()->getDifficulty(), 1);
    BrRAGPlayer* player = host.Player();
    ASSERT_NE(player, nullptr);

    PlayScript script(host);
    EXPECT_TRUE(script.WalkByClicking()) << "a click on the floor moved nobody";
    EXPECT_TRUE(script.FightAt("Rat")) << "no rat was killed: " << script.Why();
    EXPECT_TRUE(script.PickUpAndDrink("PickupHealingPotion", "HealingPotion")) << "no potion was drunk";
    EXPECT_TRUE(script.TakeStairs()) << "the staircase did not lead down: " << script.Why();
    EXPECT_EQ(host.Map()->GetLevel(), 2u);
    EXPECT_TRUE(fs::exists(tree.Media() / "Saves" / "autosave.gin"));

    // Down to the end of the first world through the debug menu's commands; its dialog offers to save.
    host.MenuCommand(114);
    ASSERT_TRUE(host.RunUntilState("BrRAGGameStatePlaying", 10.0f, 4));
    EXPECT_EQ(host.Map()->GetLevel(), 7u);
    for (unsigned int level = 8; level <= 10; ++level) {
      host.MenuCommand(111);
      ASSERT_TRUE(host.RunUntilState("BrRAGGameStatePlaying", 10.0f, 4));
      host.Frame();
      EXPECT_EQ(host.Map()->GetLevel(), level);
    }
    host.MenuCommand(111);
    host.Frame();
    ASSERT_NE(host.Control("InterludeMenuSave"), nullptr) << "no world-complete dialog at level 11";
    ASSERT_TRUE(host.ClickControl("InterludeMenuSave"));
    ASSERT_TRUE(host.RunUntilState("BrRAGGameStateWorldComplete", 5.0f)) << host.State();
    ASSERT_TRUE(host.ClickControl("InterludeMenuSaveBox"));
    host.Type("DEEP ONE");
    ASSERT_TRUE(host.ClickControl("InterludeMenuSaveSave"));
    ASSERT_TRUE(host.RunUntilState("BrRAGGameStatePlaying", 5.0f, 4)) << host.State();
    EXPECT_TRUE(fs::exists(tree.Media() / "Saves" / "DEEP ONE.gin"));
    host.Run(1.0f, 4);
    EXPECT_EQ(host.Map()->GetLevel(), 11u);
    const int healthAtSave = host.Player() ? host.Player()->GetHealth() : -1;

    // Quit: Escape to the in-game menu, its exit, the main menu's exit.
    host.HoldKey(VK_ESCAPE, 2);
    ASSERT_TRUE(host.RunUntilState("BrRAGGameStateInGameMenu", 2.0f)) << host.State();
    ASSERT_TRUE(host.ClickControl("IGMenuExitBtn"));
    host.Frame();
    ASSERT_TRUE(host.ClickControl("ExitIngame"));
    ASSERT_TRUE(host.RunUntilState("BrRAGGameStateMainMenu", 2.0f)) << host.State();
    ASSERT_TRUE(host.ClickControl("MMenuExitGameBtn"));
    host.Frame();
    ASSERT_TRUE(host.ClickControl("MMenuExitGameConfirm"));
    host.Frame();
    EXPECT_TRUE(GExit);
    host.Leave();
    const std::vector<std::string> log = tree.Log();
    ASSERT_FALSE(log.empty());
    EXPECT_EQ(tree.LastLine(), "Exit granted");
    EXPECT_EQ(tree.Find("ERROR"), -1) << log[size_t(std::max(0, tree.Find("ERROR")))];
    EXPECT_GT(healthAtSave, 0);
  }

  // The second run: the named save from the load menu, then on down the stairs.
  {
    PlayHost host;
    ASSERT_TRUE(host.Start(kSeed + 1));
    SkipToMainMenu(host, tree);
    if (testing::Test::HasFatalFailure()) return;
    ASSERT_TRUE(host.ClickControl("MMenuLoadGameBtn"));
    ASSERT_TRUE(host.RunUntilState("BrRAGGameStateLoadGameMenu", 2.0f));
    host.Frame();
    ASSERT_TRUE(ClickListRow(host, "LoadGameListBox", "DEEP ONE"));
    ASSERT_TRUE(host.ClickControl("LoadLoadBtn"));
    ASSERT_TRUE(host.RunUntilState("BrRAGGameStatePlaying", 10.0f, 4)) << host.State() << " " << tree.LastLine();
    host.Run(1.0f, 4);
    ASSERT_NE(host.Map(), nullptr);
    EXPECT_EQ(host.Map()->GetLevel(), 11u);
    ASSERT_NE(host.Player(), nullptr);
    EXPECT_GT(host.Player()->GetHealth(), 0);
    PlayScript script(host);
    EXPECT_TRUE(script.WalkByClicking());
    EXPECT_TRUE(script.TakeStairs()) << host.State();
    EXPECT_EQ(host.Map()->GetLevel(), 12u);
    host.Leave();
    EXPECT_EQ(tree.LastLine(), "Exit granted");
    EXPECT_EQ(tree.Find("ERROR"), -1) << tree.Log()[size_t(std::max(0, tree.Find("ERROR")))];
  }
}
