// A mod made the way a modder makes one: the game's media folder copied whole (its configuration, its own copy
// of the game library) into Mods, then changed. It is chosen in the Mods menu and played from there. Catches a
// mod that switches but cannot be played, and a start level whose first question leaves the game unplayable.
#include <gtest/gtest.h>

#include <fstream>
#include <iterator>
#include <string>

#include "engine/kernel/kernel.h"
#include "engine/presentation/BrGUI.h"
#include "engine/presentation/BrRenderBase.h"
#include "tests/play/PlayRig.h"
#include "tests/play/PlayScript.h"

using namespace brplay;

namespace {

// Pixels of the screen's middle quarter that are not black: the dungeon around the player.
int LitMiddle(const Shot& shot) {
  int lit = 0;
  for (int y = shot.height / 4; y < shot.height * 3 / 4; ++y)
    for (int x = shot.width / 4; x < shot.width * 3 / 4; ++x) lit += (shot.At(x, y) & 0xF0F0F0) != 0;
  return lit;
}

}  // namespace

// The second world begins at level 11 with the world-complete question; a new game started there asks it before
// the playing state has given the camera to the player, and "Continue" must still hand the game back.
TEST(ModPlay, AModCopiedWholeThatStartsAtTheSecondWorldIsChosenAndPlayed) {
  PlayTree tree;
  tree.SetConfig("ShowIntro", "0");
  const fs::path mod = CopyMediaAsMod(tree, "SecondWorld");
  ASSERT_TRUE(fs::is_regular_file(mod / "Libs" / "tidewrack.so"));
  {
    std::ifstream in(mod / "Config" / "main.cfg");
    std::string text((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    const size_t at = text.find("StartLevel=1\n");
    ASSERT_NE(at, std::string::npos);
    text.replace(at, 12, "StartLevel=11");
    std::ofstream(mod / "Config" / "main.cfg", std::ios::trunc) << text;
  }

  PlayHost host;
  ASSERT_TRUE(host.Start(11));
  ASSERT_TRUE(host.RunUntilState("BrRAGGameStateMainMenu", 3.0f));
  host.Run(0.5f);
  ASSERT_TRUE(ChooseModFromMenu(host, "SecondWorld")) << host.State();
  EXPECT_STREQ(Engine().getMediaDir().c_str(), "Mods\\SecondWorld");
  host.Run(0.5f);

  ASSERT_TRUE(NewGameFromMenu(host)) << host.State();
  host.Run(0.5f);
  ASSERT_TRUE(host.Map() && host.Player());
  EXPECT_EQ(host.Map()->GetLevel(), 11u);
  ASSERT_TRUE(host.Control("InterludeMenuAutosave") && Engine().GUI()->IsModal())
      << "a new game in the second world asks whether to save first";
  ASSERT_TRUE(host.ClickControl("InterludeMenuAutosave"));
  host.Run(3.0f);  // the level is dug and the fade from black has run out
  EXPECT_FALSE(Engine().GUI()->IsModal());
  EXPECT_EQ(host.State(), "BrRAGGameStatePlaying");
  EXPECT_TRUE(fs::exists(mod / "Saves" / "autosave.gin")) << "Continue saves into the mod's own folder";

  Shot shot;
  ASSERT_TRUE(ScreenFrame(host, tree, "second_world.bmp", shot));
  EXPECT_GT(LitMiddle(shot), shot.width * shot.height / 40) << "the dungeon around the player is not drawn";
  PlayScript script(host);
  EXPECT_TRUE(script.WalkByClicking()) << script.Why();
  host.Leave();
}
