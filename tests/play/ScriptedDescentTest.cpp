// The scripted player takes the staircases of generated dungeons from level 1 past the world-complete dialog at
// level 11 on fixed seeds: catches a level that cannot be generated, a staircase that cannot be reached or that
// leads nowhere, a level change that hangs or crashes, and objects left over from the levels behind.
#include <gtest/gtest.h>

#include "engine/presentation/BrGUI.h"
#include "platform/win32/win32.h"
#include "tests/play/PlayRig.h"
#include "tests/play/PlayScript.h"

using namespace brplay;

namespace {

// A new game by the main menu's Q key, without the intro.
void NewGameByQ(PlayHost& host) {
  ASSERT_TRUE(host.RunUntilState("BrRAGGameStateMainMenu", 2.0f)) << host.State();
  host.HoldKey('Q', 1);
  ASSERT_TRUE(host.RunUntilState("BrRAGGameStatePlaying", 5.0f)) << host.State();
  host.Run(0.5f, 4);
  ASSERT_NE(host.Map(), nullptr);
  ASSERT_NE(host.Player(), nullptr);
}

class ScriptedDescent : public testing::TestWithParam<unsigned int> {};

}  // namespace

TEST_P(ScriptedDescent, TwelveLevelsDownWithoutACrashOrAHang) {
  PlayTree tree;
  tree.SetConfig("ShowIntro", "0");
  PlayHost host;
  ASSERT_TRUE(host.Start(GetParam()));
  NewGameByQ(host);
  if (HasFatalFailure()) return;
  EXPECT_EQ(host.Map()->GetLevel(), 1u);
  const int objectsOnLevel1 = host.Map()->ObjectMgr().GetNumLiveObjects();

  PlayScript script(host);
  int walked = 0;
  std::vector<int> objects;
  for (unsigned int level = 2; level <= 12; ++level) {
    ASSERT_TRUE(script.DescendTo(level)) << "seed " << GetParam() << ": " << script.Why();
    walked += script.WalkedToStairs() ? 1 : 0;
    objects.push_back(host.Map()->ObjectMgr().GetNumLiveObjects());
  }
  EXPECT_EQ(host.Map()->GetLevel(), 12u);
  // The world-complete dialog's "Continue" wrote the autosave on the way.
  EXPECT_TRUE(fs::exists(tree.Media() / "Saves" / "autosave.gin"));
  // The staircase lies out of a straight walk's reach on most levels now that levels are explored (it was in
  // view on arrival on most of the one-room levels before): those the walk does not reach are taken from one
  // cell away. How many were walked is kept with the result.
  RecordProperty("walked_to_stairs", walked);
  // Levels do not pile up the objects of the levels before them.
  std::string counts;
  for (int n : objects) counts += " " + std::to_string(n);
  for (int n : objects)
    EXPECT_LT(n, objectsOnLevel1 * 3) << "seed " << GetParam() << ", live objects by level:" << counts;
  host.Leave();
  EXPECT_EQ(tree.LastLine(), "Exit granted");
  EXPECT_EQ(tree.Find("ERROR"), -1) << tree.Log()[size_t(std::max(0, tree.Find("ERROR")))];
}

INSTANTIATE_TEST_SUITE_P(Seeds, ScriptedDescent, testing::Values(7u, 4242u));
