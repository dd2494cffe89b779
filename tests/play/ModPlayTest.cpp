// A mod made the way a modder makes one: the game's media folder copied whole (its configuration, its own copy
// of the game library) into Mods, then changed. It is chosen in the Mods menu and played from there. Catches a
// mod that switches but cannot be played, and a start level whose first question leaves the game unplayable.
#include <gtest/gtest.h>

#include <fstream>
#include <iterator>
#include <string>

#include "adventure/flow/BrRAGGameState.h"
#include "engine/kernel/kernel.h"
#include "engine/presentation/BrAudioMgrBase.h"
#include "engine/presentation/BrFont.h"
#include "engine/presentation/BrFontMgr.h"
#include "engine/presentation/BrGUI.h"
#include "engine/presentation/BrRenderBase.h"
#include "engine/presentation/BrSoundFX.h"
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
  // The menu music heard now is the mod's own file, not the game's that played before the switch.
  BrSoundFX* music = Engine().Audio() ? Engine().Audio()->GetAudio(BrRAGGameState::menuMusicSFX) : nullptr;
  ASSERT_NE(music, nullptr);
  EXPECT_EQ(std::string(music->GetName()).rfind("Mods\\SecondWorld\\", 0), 0u) << music->GetName();
  EXPECT_TRUE(music->IsPlaying());

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

// A mod's picture saved top-down (a negative height in its header, as many editors write a BMP) is drawn as the
// picture saved bottom-up is: the image reader took the negative height for a bad size and the main menu showed
// the missing-texture look where the publisher's logo belongs.
TEST(ModPlay, ABmpSavedTopDownIsDrawnAsTheSamePictureSavedBottomUp) {
  Shot logo[2];
  for (int topDown = 0; topDown < 2; ++topDown) {
    PlayTree tree;
    tree.SetConfig("ShowIntro", "0");
    tree.CopyLinked("Media/Textures");
    const fs::path file = tree.Media() / "Textures" / "ui" / "gravelle01.bmp";
    if (topDown) {
      const std::string bytes = FileBytes(file);
      ASSERT_GT(bytes.size(), 54u);
      const int32_t width = int32_t(uint8_t(bytes[18]) | uint8_t(bytes[19]) << 8);
      const int32_t height = int32_t(uint8_t(bytes[22]) | uint8_t(bytes[23]) << 8);
      const size_t row = size_t(width * 3 + 3) / 4 * 4;
      ASSERT_EQ(bytes.size(), 54 + row * size_t(height)) << "a 24-bit bottom-up BMP";
      std::string flipped = bytes.substr(0, 54);
      const uint32_t negative = uint32_t(-height);
      for (int i = 0; i < 4; ++i) flipped[size_t(22 + i)] = char(negative >> (8 * i));
      for (int32_t y = height - 1; y >= 0; --y) flipped += bytes.substr(54 + row * size_t(y), row);
      WriteFileBytes(file, flipped);
    }
    PlayHost host;
    ASSERT_TRUE(host.Start(11));
    ASSERT_TRUE(host.RunUntilState("BrRAGGameStateMainMenu", 3.0f));
    host.Run(0.5f);
    Shot shot;
    ASSERT_TRUE(ScreenFrame(host, tree, "menu.bmp", shot));
    EXPECT_EQ(tree.Find("gravelle01.bmp"), -1) << tree.Log()[size_t(tree.Find("gravelle01.bmp"))];
    // The logo in the menu's bottom right corner.
    logo[topDown] = Crop(shot, shot.width * 4 / 5, shot.height * 9 / 10, shot.width / 5, shot.height / 10);
    host.Leave();
  }
  EXPECT_LT(MeanDifference(logo[0], logo[1]), 1.0);
}

// A monster whose natural weapon names a kind no file holds (a modder's typo) is logged once, not once for every
// such monster spawned on the level.
TEST(ModPlay, AKindNoFileHoldsIsNamedOnceHoweverManyMonstersAskForIt) {
  PlayTree tree;
  const fs::path enemies = tree.Media() / "Config" / "enemies.cfg";
  std::string text = FileBytes(enemies);
  const size_t at = text.find("Touch=RatAttack\n");
  ASSERT_NE(at, std::string::npos);
  text.replace(at, 15, "Touch=RatAtack");
  WriteFileBytes(enemies, text);

  PlayHost host;
  ASSERT_TRUE(StartPlaying(tree, host, 5, 1.0f)) << host.State();
  ASSERT_GT(ActorsNamed(host, "Rat").size(), 1u);
  EXPECT_EQ(tree.Count("unknown type RatAtack"), 1);
  host.Leave();
}

// A mod's own font (the script font copied over the plain one here, texture and widths) is what the menus write
// with once the mod is chosen: the font's name, given from the game's "Media" folder, was looked for in the mod's
// "Media" subfolder, so the game's font stayed, with a warning at every switch.
TEST(ModPlay, AModsOwnFontIsTheOneTheMenusWriteWith) {
  PlayTree tree;
  tree.SetConfig("ShowIntro", "0");
  tree.CopyLinked("Media/Fonts");
  const fs::path mod = CopyMediaAsMod(tree, "Script");
  for (const std::string end : {".tga", "BM.dat"})
    WriteFileBytes(mod / "Fonts" / ("fontVanilla" + end), FileBytes(tree.Media() / "Fonts" / ("fontScript" + end)));
  const std::string widths = FileBytes(mod / "Fonts" / "fontVanillaBM.dat");
  ASSERT_EQ(widths.size(), 512u);

  PlayHost host;
  ASSERT_TRUE(host.Start(11));
  ASSERT_TRUE(host.RunUntilState("BrRAGGameStateMainMenu", 3.0f));
  host.Run(0.5f);
  // The line of text at the foot of the menu, before and after the switch.
  Shot line[2];
  for (int chosen = 0; chosen < 2; ++chosen) {
    if (chosen) {
      ASSERT_TRUE(ChooseModFromMenu(host, "Script")) << host.State();
      host.Run(0.5f);
    }
    Shot shot;
    ASSERT_TRUE(ScreenFrame(host, tree, "menu.bmp", shot));
    line[chosen] = Crop(shot, shot.width / 4, shot.height * 19 / 20, shot.width / 2, shot.height / 20);
  }
  EXPECT_EQ(tree.Find("Failed to load"), -1) << tree.Log()[size_t(tree.Find("Failed to load"))];
  EXPECT_GT(MeanDifference(line[0], line[1]), 2.0) << "the text is still written in the game's font";
  BrFont* font = Engine().Render()->FontMgr()->GetFont(0);
  ASSERT_NE(font, nullptr);
  const int w = uint8_t(widths['W' * 2]) | uint8_t(widths['W' * 2 + 1]) << 8;
  EXPECT_FLOAT_EQ(font->GetCharWidthA('W') * float(font->GetCellSizePixels()), float(w));
  host.Leave();
}

// A monster's section copied and not renamed makes no second kind: the rats of a level where five kinds of
// monster live are as many as without the copy, which had them drawn twice as often as their rarity says.
TEST(ModPlay, ASectionDefinedTwiceIsOneKindAndNamedInTheLog) {
  size_t rats[2] = {0, 0};
  for (int copied = 0; copied < 2; ++copied) {
    PlayTree tree;
    tree.SetConfig("StartLevel", "5");
    const fs::path enemies = tree.Media() / "Config" / "enemies.cfg";
    std::string text = FileBytes(enemies);
    const size_t at = text.find("[Rat]\n");
    ASSERT_NE(at, std::string::npos);
    if (copied) WriteFileBytes(enemies, text + "\n" + text.substr(at, text.find("\n[", at + 1) - at + 1));
    PlayHost host;
    ASSERT_TRUE(StartPlaying(tree, host, 5, 1.0f)) << host.State();
    ASSERT_EQ(host.Map()->GetLevel(), 5u);
    rats[copied] = ActorsNamed(host, "Rat").size();
    EXPECT_EQ(tree.Count("defines the kind Rat again") > 0, copied == 1);
    host.Leave();
  }
  EXPECT_EQ(rats[1], rats[0]);
}
