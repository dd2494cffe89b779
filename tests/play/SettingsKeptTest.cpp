// Settings the player chooses on the options screen are still there when the game is started again: written to
// main.cfg as OK is clicked, merged into the file so that nothing else in it is lost.
#include <gtest/gtest.h>

#include <fstream>
#include <sstream>

#include "adventure/flow/BrRAGGameState.h"
#include "adventure/world/BrRAGLevelInfo.h"
#include "engine/kernel/BrConfigCache.h"
#include "engine/presentation/BrAudioMgrBase.h"
#include "engine/presentation/BrRenderBase.h"
#include "engine/presentation/BrSoundFX.h"
#include "engine/presentation/BrUITextButton.h"
#include "platform/win32/win32.h"
#include "tests/play/PlayRig.h"

using namespace brplay;

namespace {

std::string ShownText(PlayHost& host, const char* id) {
  BrUIControl* c = host.Control(id);
  auto* b = c ? static_cast<BrUITextButton*>(c->SafeCast(&BrUITextButton::Type)) : nullptr;
  BrStringT<char> text;
  if (b) b->GetText(text);
  return text.c_str() ? text.c_str() : "";
}

bool OpenOptions(PlayHost& host) {
  BrUIControl* menu = host.Control("mainmenu");
  BrUIControl* button = menu ? menu->GetControl(BrStringT<char>("MMenuOptionsBtn"), true) : nullptr;
  if (!button || !host.ClickControl("MMenuOptionsBtn")) return false;
  if (!host.RunUntilState("BrRAGGameStateOptions", 1.0f)) return false;
  host.Frame();
  return true;
}

// Whether the menus' music is sounding.
bool MenuMusicPlays() {
  BrAudioMgrBase* audio = Engine().Audio();
  BrSoundFX* music = audio ? audio->GetAudio(BrRAGGameState::menuMusicSFX) : nullptr;
  return music && music->IsPlaying();
}

}  // namespace

TEST(SettingsKept, MusicTurnedOffAtTheMainMenuSilencesTheMenusNowAndOnTheNextStart) {
  PlayTree tree;
  tree.SetConfig("NoMusic", "0");
  {
    PlayHost host;
    ASSERT_TRUE(host.Start(6104));
    EscapeToMainMenu(host);
    ASSERT_TRUE(MenuMusicPlays());
    ASSERT_TRUE(OpenOptions(host)) << host.State();
    ASSERT_TRUE(host.ClickControl("OptMusic"));
    ASSERT_TRUE(host.ClickControl("OptionsOKBtn"));
    ASSERT_TRUE(host.RunUntilState("BrRAGGameStateMainMenu", 1.0f)) << host.State();
    host.Run(0.3f);
    EXPECT_FALSE(MenuMusicPlays()) << "the menu music goes on after Music <Off> and OK";
    host.Leave();
  }
  PlayHost again;
  ASSERT_TRUE(again.Start(6105));
  EscapeToMainMenu(again);
  EXPECT_FALSE(MenuMusicPlays()) << "the menu music plays on a start with music off";
  // Turned on again, the menus' music is back as the options screen is left.
  ASSERT_TRUE(OpenOptions(again)) << again.State();
  ASSERT_TRUE(again.ClickControl("OptMusic"));
  ASSERT_TRUE(again.ClickControl("OptionsOKBtn"));
  ASSERT_TRUE(again.RunUntilState("BrRAGGameStateMainMenu", 1.0f)) << again.State();
  again.Frame();
  EXPECT_TRUE(MenuMusicPlays());
  again.Leave();
}

TEST(SettingsKept, MusicTurnedOnOverAGameStartsTheLevelsMusicAtOnceAndAgainAfterOff) {
  PlayTree tree;
  tree.SetConfig("NoMusic", "1");
  tree.SetConfig("Hints", "0");
  PlayHost host;
  ASSERT_TRUE(host.Start(6106));
  EscapeToMainMenu(host);
  ASSERT_TRUE(NewGameFromMenu(host)) << host.State();
  host.Run(0.5f);
  auto levelMusicPlays = [&host]() {
    auto* info = static_cast<BrRAGLevelInfo*>(host.Map()->GetLevelInfo());
    BrSoundFX* music = Engine().Audio()->GetAudio(info->GetMusicID());
    return music && music->IsPlaying();
  };
  ASSERT_FALSE(levelMusicPlays());
  // Escape, Options over the game, Music, OK, and back to the game: on, off and on again.
  for (bool on : {true, false, true}) {
    host.HoldKey(VK_ESCAPE, 2);
    ASSERT_TRUE(host.RunUntilState("BrRAGGameStateInGameMenu", 2.0f)) << host.State();
    BrUIControl* menu = host.Control("ingamemenu");
    BrUIControl* button = menu ? menu->GetControl(BrStringT<char>("MMenuOptionsBtn"), true) : nullptr;
    ASSERT_NE(button, nullptr);
    BrRenderBase* render = Engine().Render();
    ASSERT_TRUE(host.ClickAt(int((button->GetPosX() + button->GetWidth() * 0.5f) * float(render->GetWidth())),
                             int((button->GetPosY() + button->GetHeight() * 0.5f) * float(render->GetHeight()))));
    ASSERT_TRUE(host.RunUntilState("BrRAGGameStateOptions", 1.0f)) << host.State();
    host.Frame();
    ASSERT_TRUE(host.ClickControl("OptMusic"));
    ASSERT_TRUE(host.ClickControl("OptionsOKBtn"));
    host.Run(0.3f);
    host.HoldKey(VK_ESCAPE, 2);
    ASSERT_TRUE(host.RunUntilState("BrRAGGameStatePlaying", 2.0f)) << host.State();
    host.Run(0.3f);
    EXPECT_EQ(levelMusicPlays(), on) << (on ? "Music <On> left the level silent" : "Music <Off> left it playing");
  }
  host.Leave();
}

TEST(SettingsKept, MusicTurnedOffAndOKIsOffOnTheNextStartAndTheRestOfTheFileIsKept) {
  PlayTree tree;
  tree.SetConfig("NoMusic", "0");
  const fs::path cfg = tree.Media() / "Config" / "main.cfg";
  // A player's own comment and a key of their own survive the write.
  { std::ofstream(cfg, std::ios::app) << "\n# kept by the player\n[Mine]\nKept=7\n"; }
  {
    PlayHost host;
    ASSERT_TRUE(host.Start(6101));
    EscapeToMainMenu(host);
    ASSERT_TRUE(OpenOptions(host)) << host.State();
    ASSERT_EQ(ShownText(host, "OptMusic"), "<On>");
    ASSERT_TRUE(host.ClickControl("OptMusic"));
    ASSERT_EQ(ShownText(host, "OptMusic"), "<Off>");
    ASSERT_TRUE(host.ClickControl("OptionsOKBtn"));
    ASSERT_TRUE(host.RunUntilState("BrRAGGameStateMainMenu", 1.0f)) << host.State();
    // On disk at once, before any leaving: a run that ends badly keeps it too.
    const std::string text = FileBytes(cfg);
    EXPECT_NE(text.find("\nNoMusic=1"), std::string::npos);
    EXPECT_EQ(text.find("\nNoMusic=0"), std::string::npos);
    EXPECT_NE(text.find("# kept by the player\n[Mine]\nKept=7"), std::string::npos) << text;
    EXPECT_FALSE(fs::exists(cfg.string() + ".tmp"));
    host.Leave();
  }
  // A fresh start reads it and shows it.
  PlayHost again;
  ASSERT_TRUE(again.Start(6102));
  int noMusic = -1;
  ASSERT_TRUE(Engine().GetConfig()->GetInteger("Audio", "NoMusic", noMusic));
  EXPECT_EQ(noMusic, 1);
  EscapeToMainMenu(again);
  ASSERT_TRUE(OpenOptions(again)) << again.State();
  EXPECT_EQ(ShownText(again, "OptMusic"), "<Off>");
  again.Leave();
  EXPECT_EQ(tree.Find("ERROR"), -1) << tree.Log()[size_t(std::max(0, tree.Find("ERROR")))];
}

TEST(SettingsKept, AFileThatCannotBeReplacedIsLoggedAndThePlayGoesOn) {
  PlayTree tree;
  tree.SetConfig("NoMusic", "0");
  const fs::path cfg = tree.Media() / "Config" / "main.cfg";
  PlayHost host;
  ASSERT_TRUE(host.Start(6103));
  EscapeToMainMenu(host);
  const std::string before = FileBytes(cfg);
  // The new text cannot be written beside the file (a folder stands where it would go): the choice holds for
  // this run and the file is left as it was.
  fs::create_directory(cfg.string() + ".tmp");
  fs::create_directory(cfg.string() + ".tmp/blocked");
  ASSERT_TRUE(OpenOptions(host)) << host.State();
  ASSERT_TRUE(host.ClickControl("OptMusic"));
  ASSERT_TRUE(host.ClickControl("OptionsOKBtn"));
  EXPECT_TRUE(host.RunUntilState("BrRAGGameStateMainMenu", 1.0f)) << host.State();
  host.Run(0.5f);
  EXPECT_EQ(host.State(), "BrRAGGameStateMainMenu");
  int noMusic = -1;
  EXPECT_TRUE(Engine().GetConfig()->GetInteger("Audio", "NoMusic", noMusic));
  EXPECT_EQ(noMusic, 1);
  host.Leave();
  EXPECT_EQ(FileBytes(cfg), before);
  EXPECT_NE(tree.Find("ERROR: Failed to write the configuration back"), -1);
}

TEST(SettingsKept, TheHostWritesTheWindowSizeItRanWithBackAtACleanExit) {
  PlayTree tree;
  tree.SetConfig("ShowIntro", "0");
  // A size the engine reads as 1024 wide: what it ran with is what the next run finds.
  tree.SetConfig("WindowWidth", "-1024");
  const fs::path cfg = tree.Media() / "Config" / "main.cfg";
  { std::ofstream(cfg, std::ios::app) << "\n[Mine]\nKept=7\n"; }
  const char* binary = std::getenv("BR_BINARY_DIR");
  const fs::path host = fs::absolute(fs::path(binary ? binary : ".") / "run" / "game" / "brhost");
  const std::string cmd = "cd '" + tree.Game().string() + "' && timeout 120 '" + host.string() +
                          "' --headless --until-state BrRAGGameStateMainMenu --state-seconds 0.3 > host.out 2>&1";
  ASSERT_EQ(std::system(cmd.c_str()), 0) << FileBytes(tree.Game() / "host.out");
  const std::string text = FileBytes(cfg);
  EXPECT_NE(text.find("\nWindowWidth=1024\n"), std::string::npos) << text;
  EXPECT_EQ(text.find("WindowWidth=-1024"), std::string::npos) << text;
  EXPECT_NE(text.find("[Mine]\nKept=7"), std::string::npos) << text;
  EXPECT_NE(text.find("\nConfigs=config\\armour.cfg"), std::string::npos) << text;
  EXPECT_FALSE(fs::exists(cfg.string() + ".tmp"));
}
