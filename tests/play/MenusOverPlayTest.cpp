// The menus a player opens around a game, on the real plug-ins and media, compared with the same screens met
// before any game: a loaded game quit to the main menu leaves nothing of its HUD there, a quit game is followed
// by new ones, the in-game menu and the options screen lie over the HUD, OK on the options screen without a
// touch keeps every stored setting, saves and mods named at length are listed inside their lists, and the ending
// plays its music.
#include <gtest/gtest.h>

#include <cmath>
#include <fstream>
#include <initializer_list>
#include <iterator>
#include <sstream>
#include <vector>

#include "adventure/flow/BrRAGGameStateCredits.h"
#include "adventure/flow/BrRAGPlayerHUD.h"
#include "engine/kernel/BrConfigCache.h"
#include "engine/presentation/BrAudioMgrBase.h"
#include "engine/presentation/BrGUI.h"
#include "engine/presentation/BrRenderBase.h"
#include "engine/presentation/BrSoundFX.h"
#include "engine/presentation/BrUIControlListBox.h"
#include "platform/win32/win32.h"
#include "tests/play/PlayRig.h"
#include "tests/play/PlayScript.h"

using namespace brplay;

namespace {

// Screen rectangles (fractions) where the player's HUD draws: the weapon panel, the quick-slot bar, the player
// cell, the stats and rank bar, the lantern cell.
struct Region {
  const char* name;
  float x0, y0, x1, y1;
};
const Region kHUDRegions[] = {{"weapon panel", 0.0f, 0.0f, 0.15f, 0.34f},
                              {"quick slots", 0.3f, 0.0f, 0.7f, 0.06f},
                              {"player cell", 0.0f, 0.76f, 0.14f, 0.99f},
                              {"rank bar", 0.2f, 0.94f, 0.8f, 0.99f},
                              {"lantern cell", 0.86f, 0.76f, 1.0f, 0.99f}};

// Mean absolute difference per channel of two frames inside a region.
double RegionDifference(const Shot& a, const Shot& b, const Region& r) {
  double sum = 0;
  long n = 0;
  for (int y = int(r.y0 * a.height); y < int(r.y1 * a.height); ++y)
    for (int x = int(r.x0 * a.width); x < int(r.x1 * a.width); ++x, ++n) {
      const uint32_t p = a.At(x, y), q = b.At(x, y);
      for (int s = 0; s < 24; s += 8) sum += std::abs(int((p >> s) & 0xFF) - int((q >> s) & 0xFF));
    }
  return n ? sum / double(n * 3) : 255.0;
}

double RegionBrightness(const Shot& a, const Region& r) {
  double sum = 0;
  long n = 0;
  for (int y = int(r.y0 * a.height); y < int(r.y1 * a.height); ++y)
    for (int x = int(r.x0 * a.width); x < int(r.x1 * a.width); ++x, ++n) {
      const uint32_t p = a.At(x, y);
      sum += ((p >> 16) & 0xFF) + ((p >> 8) & 0xFF) + (p & 0xFF);
    }
  return n ? sum / double(n * 3) : 0.0;
}

// Clicks the centre of the control with that id inside the node (ids repeat across menus).
bool ClickIn(PlayHost& host, const char* node, const char* id) {
  BrUIControl* parent = host.Control(node);
  BrUIControl* control = parent ? parent->GetControl(BrStringT<char>(id), true) : nullptr;
  BrRenderBase* render = Engine().Render();
  if (!control || !render) return false;
  return host.ClickAt(int((control->GetPosX() + control->GetWidth() * 0.5f) * float(render->GetWidth())),
                      int((control->GetPosY() + control->GetHeight() * 0.5f) * float(render->GetHeight())));
}

// A hint that opened over the game is put away with Escape, as a player does.
void PutHintsAway(PlayHost& host) {
  for (int i = 0; i < 5 && Engine().GUI() && Engine().GUI()->IsModal(); ++i) {
    host.HoldKey(VK_ESCAPE, 2);
    host.Run(0.3f);
  }
}

// Escape, the in-game menu's exit and its confirmation.
bool QuitToMainMenu(PlayHost& host) {
  PutHintsAway(host);
  host.HoldKey(VK_ESCAPE, 2);
  if (!host.RunUntilState("BrRAGGameStateInGameMenu", 2.0f)) return false;
  if (!host.ClickControl("IGMenuExitBtn")) return false;
  host.Frame();
  if (!host.ClickControl("ExitIngame")) return false;
  return host.RunUntilState("BrRAGGameStateMainMenu", 2.0f);
}

// From the main menu: a new game played a second, saved under each name, and quit to the main menu.
bool SavedAndQuit(PlayHost& host, std::initializer_list<std::string> saves) {
  if (!NewGameFromMenu(host)) return false;
  host.Run(1.0f, 4);
  for (const std::string& save : saves)
    if (!host.Game()->SaveGame(save.c_str())) return false;
  return QuitToMainMenu(host);
}

// A main menu button, and the menu it opens settled for a frame.
bool OpenMenu(PlayHost& host, const char* button, const char* state) {
  if (!host.ClickControl(button) || !host.RunUntilState(state, 2.0f)) return false;
  host.Frame();
  return true;
}

// Clicks the centre of a list's row as the player sees it (ten rows to the view, below the list's title).
bool ClickRow(PlayHost& host, const BrUIControlListBox& list, int row) {
  BrRenderBase* render = Engine().Render();
  const float top = list.GetPosY() + 0.2f * list.GetHeight();
  return host.ClickAt(int((list.GetPosX() + list.GetWidth() * 0.5f) * float(render->GetWidth())),
                      int((top + (float(row) + 0.5f) * list.GetViewHeight() / 10.0f) * float(render->GetHeight())));
}

// Pixels that differ between two frames beside the list box, in the band of screen rows it covers: what the
// box draws outside itself.
int DifferingBesideTheList(const Shot& a, const Shot& b, const BrUIControl& list) {
  const int left = int(list.GetPosX() * a.width), right = int((list.GetPosX() + list.GetWidth()) * a.width);
  const int top = int(list.GetPosY() * a.height), bottom = int((list.GetPosY() + list.GetHeight()) * a.height);
  int n = 0;
  for (int y = std::max(0, top); y < std::min(a.height, bottom); ++y)
    for (int x = 0; x < a.width; ++x)
      if ((x < left || x >= right) && a.At(x, y) != b.At(x, y)) ++n;
  return n;
}

std::vector<BrUIControl*> PlayerHUDsInTheWidgetList() {
  std::vector<BrUIControl*> huds;
  BrGUI* gui = Engine().GUI();
  for (int i = 0; gui && i < gui->GetNumControls(); ++i)
    if (BrUIControl* c = gui->GetTopControl(i); c && c->IsA(BrRAGPlayerHUD::Type)) huds.push_back(c);
  return huds;
}

}  // namespace

TEST(MenusOverPlay, ALoadedGameQuitToTheMainMenuLeavesNothingOfItsHUDThere) {
  PlayTree tree;
  PlayHost host;
  ASSERT_TRUE(host.Start(4401)) << "see " << tree.Game() / "log.txt";
  EscapeToMainMenu(host);
  ASSERT_EQ(host.State(), "BrRAGGameStateMainMenu");
  Shot before;
  ASSERT_TRUE(ScreenFrame(host, tree, "menu_before.bmp", before));

  // A game saved, quit, and loaded back from the load menu.
  ASSERT_TRUE(SavedAndQuit(host, {"Saves\\kept.gin"})) << host.State();
  ASSERT_TRUE(OpenMenu(host, "MMenuLoadGameBtn", "BrRAGGameStateLoadGameMenu"));
  auto* list = static_cast<BrUIControlListBox*>(host.Control("LoadGameListBox"));
  ASSERT_NE(list, nullptr);
  BrRenderBase* render = Engine().Render();
  const int x = int((list->GetPosX() + list->GetWidth() * 0.5f) * float(render->GetWidth()));
  for (int y = int(list->GetPosY() * float(render->GetHeight()));
       list->GetCurrentItemText().Length() == 0 && y < int((list->GetPosY() + list->GetHeight()) * render->GetHeight());
       y += 3)
    host.ClickAt(x, y);
  ASSERT_TRUE(host.ClickControl("LoadLoadBtn"));
  ASSERT_TRUE(host.RunUntilState("BrRAGGameStatePlaying", 10.0f, 4)) << host.State();
  host.Run(2.5f, 4);
  PutHintsAway(host);
  // Only the loaded player's HUD is left among the widgets.
  const std::vector<BrUIControl*> huds = PlayerHUDsInTheWidgetList();
  ASSERT_EQ(huds.size(), 1u);
  Shot playing, bare;
  ASSERT_TRUE(ScreenFrame(host, tree, "loaded.bmp", playing));
  // The HUD is on screen in play, so that its absence below means something: the view without the widgets differs.
  BrGUI* gui = Engine().GUI();
  std::vector<BrUIControl*> shown;
  for (int i = 0; i < gui->GetNumControls(); ++i)
    if (BrUIControl* c = gui->GetTopControl(i); c && c->IsActive()) shown.push_back(c);
  for (BrUIControl* c : shown) c->SetActive(false);
  host.Frame(0.0f);
  ASSERT_TRUE(ScreenFrame(host, tree, "bare.bmp", bare));
  for (BrUIControl* c : shown) c->SetActive(true);
  for (const Region& r : kHUDRegions) EXPECT_GT(RegionDifference(playing, bare, r), 20.0) << r.name;

  ASSERT_TRUE(QuitToMainMenu(host)) << host.State();
  host.Run(0.5f);
  Shot after;
  ASSERT_TRUE(ScreenFrame(host, tree, "menu_after.bmp", after));
  for (const Region& r : kHUDRegions) EXPECT_LT(RegionDifference(after, before, r), 8.0) << r.name;
  // The Exit button, which the lantern cell covered, still takes the click.
  ASSERT_TRUE(host.ClickControl("MMenuExitGameBtn"));
  host.Frame();
  EXPECT_NE(host.Control("dlg_exitgame"), nullptr);
  host.Leave();
  EXPECT_EQ(tree.Find("ERROR"), -1) << tree.Log()[size_t(std::max(0, tree.Find("ERROR")))];
}

// A player names a save, or a modder a mod folder, at any length: the list shows the name inside itself, and the
// save chosen there is the whole-named file.
TEST(MenusOverPlay, ASaveAndAModNamedAtLengthAreListedInsideTheirListsAndTheSaveLoads) {
  PlayTree tree;
  PlayHost host;
  ASSERT_TRUE(host.Start(4405));
  EscapeToMainMenu(host);
  ASSERT_TRUE(SavedAndQuit(host, {"Saves\\kept.gin"})) << host.State();

  // Renamed by hand afterwards, as players and modders do.
  const std::string longSave = "the save I made just before the stairs down to the flooded halls of the second world";
  const fs::path saves = tree.Media() / "Saves";
  fs::rename(saves / "kept.gin", saves / (longSave + ".gin"));
  const fs::path mods = tree.Game() / "Mods";
  const fs::path longMod = mods / "The Sunken Halls of the Tidewrack, a longer campaign in four worlds";
  fs::create_directories(longMod);

  struct Listed {
    const char *button, *state, *list, *node;
    fs::path named, renamed;
  };
  const Listed menus[] = {
      {"MMenuLoadGameBtn", "BrRAGGameStateLoadGameMenu", "LoadGameListBox", "loadgame", saves / (longSave + ".gin"),
       saves / "short.gin"},
      {"MMenuModsBtn", "BrRAGGameStateModsMenu", "ModsMenuListBox", "modsmenu", longMod, mods / "Short"}};
  for (const Listed& menu : menus) {
    ASSERT_TRUE(host.ClickControl(menu.button));
    ASSERT_TRUE(host.RunUntilState(menu.state, 2.0f));
    host.Frame();
    BrUIControl* list = host.Control(menu.list);
    ASSERT_NE(list, nullptr);
    Shot named, renamed;
    ASSERT_TRUE(ScreenFrame(host, tree, "named.bmp", named));
    fs::rename(menu.named, menu.renamed);
    host.Frame();
    ASSERT_TRUE(ScreenFrame(host, tree, "renamed.bmp", renamed));
    fs::rename(menu.renamed, menu.named);
    EXPECT_EQ(DifferingBesideTheList(named, renamed, *list), 0) << menu.list << " draws outside itself";
    ASSERT_TRUE(ClickIn(host, menu.node, "LoadBackBtn"));
    ASSERT_TRUE(host.RunUntilState("BrRAGGameStateMainMenu", 2.0f));
  }

  ASSERT_TRUE(OpenMenu(host, "MMenuLoadGameBtn", "BrRAGGameStateLoadGameMenu"));
  ASSERT_TRUE(ClickListRow(host, "LoadGameListBox", longSave + ".gin"));
  BrRAGMap* before = host.Map();
  ASSERT_TRUE(host.ClickControl("LoadLoadBtn"));
  ASSERT_TRUE(host.RunUntilState("BrRAGGameStatePlaying", 10.0f, 4)) << host.State() << " " << tree.LastLine();
  EXPECT_NE(host.Map(), before);
  ASSERT_NE(host.Player(), nullptr);
  host.Leave();
  EXPECT_EQ(tree.Find("ERROR"), -1) << tree.Log()[size_t(std::max(0, tree.Find("ERROR")))];
}

// Names given on disk with accents (UTF-8, as the desktop writes them) are read as the game's own 8-bit text: the
// load and mods menus list them as they read, and the listed name finds the save to load and the mod to play.
TEST(MenusOverPlay, ASaveAndAModNamedWithAccentsAreListedAsTheyReadAndBothPlay) {
  PlayTree tree;
  PlayHost host;
  ASSERT_TRUE(host.Start(4406));
  EscapeToMainMenu(host);
  ASSERT_TRUE(NewGameFromMenu(host)) << host.State();
  host.Run(1.0f, 4);
  ASSERT_TRUE(host.Game()->SaveGame("Saves\\kept.gin"));
  const unsigned int savedLevel = host.Map()->GetLevel();
  ASSERT_TRUE(QuitToMainMenu(host)) << host.State();

  const fs::path saves = tree.Media() / "Saves";
  fs::rename(saves / "kept.gin", saves /
                                     "\xC3\x9C"
                                     "berfall in der H\xC3\xB6hle \xE6\x97\xA5.gin");
  const fs::path mod = CopyMediaAsMod(tree, "M\xC3\xB6nche der Tiefe");

  // Latin-1 for what Latin-1 holds, a question mark for the rest.
  ASSERT_TRUE(OpenMenu(host, "MMenuLoadGameBtn", "BrRAGGameStateLoadGameMenu"));
  ASSERT_TRUE(ClickListRow(host, "LoadGameListBox",
                           "\xDC"
                           "berfall in der H\xF6hle ?.gin"));
  ASSERT_TRUE(host.ClickControl("LoadLoadBtn"));
  ASSERT_TRUE(host.RunUntilState("BrRAGGameStatePlaying", 10.0f, 4)) << host.State() << " " << tree.LastLine();
  ASSERT_NE(host.Map(), nullptr);
  EXPECT_EQ(host.Map()->GetLevel(), savedLevel);
  host.Run(1.0f, 4);
  ASSERT_TRUE(QuitToMainMenu(host)) << host.State();

  ASSERT_TRUE(ChooseModFromMenu(host, "M\xF6nche der Tiefe")) << host.State();
  EXPECT_STREQ(Engine().getMediaDir().c_str(), "Mods\\M\xF6nche der Tiefe");
  host.Run(0.5f);
  ASSERT_TRUE(NewGameFromMenu(host)) << host.State();
  host.Run(1.0f, 4);
  ASSERT_NE(host.Player(), nullptr);
  // A file the game writes into the mod goes into the folder on disk, not into a second one named anew.
  ASSERT_TRUE(host.Game()->SaveGame("Saves\\in the mod.gin"));
  EXPECT_TRUE(fs::is_regular_file(mod / "Saves" / "in the mod.gin"));
  EXPECT_EQ(std::distance(fs::directory_iterator(tree.Game() / "Mods"), fs::directory_iterator()), 1);
  host.Leave();
  EXPECT_EQ(tree.Find("ERROR"), -1) << tree.Log()[size_t(std::max(0, tree.Find("ERROR")))];
}

// The new game's map replaces the quit one while the click on a difficulty is still being handled: the quit
// player's HUD goes with its player and must be let go once, not a second time as one no player holds.
TEST(MenusOverPlay, AGameQuitToTheMainMenuIsFollowedByNewGames) {
  PlayTree tree;
  PlayHost host;
  ASSERT_TRUE(host.Start(4403));
  EscapeToMainMenu(host);
  for (int game = 1; game <= 3; ++game) {
    ASSERT_TRUE(NewGameFromMenu(host)) << "game " << game << ": " << host.State();
    host.Run(1.0f, 4);
    PutHintsAway(host);
    EXPECT_EQ(PlayerHUDsInTheWidgetList().size(), 1u) << "game " << game;
    PlayScript script(host);
    EXPECT_TRUE(script.WalkByClicking()) << "game " << game << ": " << script.Why();
    ASSERT_TRUE(QuitToMainMenu(host)) << "game " << game << ": " << host.State();
  }
  host.Leave();
  EXPECT_EQ(tree.Find("ERROR"), -1) << tree.Log()[size_t(std::max(0, tree.Find("ERROR")))];
}

// Play fades in from black (a new game, a staircase, a load): the HUD comes up with the world, not whole at the
// end of the fade as though it had been missing until then.
TEST(MenusOverPlay, TheHUDFadesInWithTheWorld) {
  PlayTree tree;
  tree.SetConfig("Hints", "0");
  PlayHost host;
  ASSERT_TRUE(host.Start(4411));
  EscapeToMainMenu(host);
  ASSERT_TRUE(NewGameFromMenu(host)) << host.State();
  host.Run(1.0f);
  Shot fading, faded;
  ASSERT_TRUE(ScreenFrame(host, tree, "fading.bmp", fading));
  host.Run(1.5f);
  ASSERT_TRUE(ScreenFrame(host, tree, "faded.bmp", faded));
  for (const Region& r : kHUDRegions) {
    EXPECT_GT(RegionBrightness(faded, r), 10.0) << r.name;
    EXPECT_GT(RegionBrightness(fading, r), RegionBrightness(faded, r) / 4.0) << r.name;
  }
  host.Leave();
}

TEST(MenusOverPlay, TheInGameMenuAndOptionsLieOverTheHUDAndOKWithoutATouchKeepsEverySetting) {
  PlayTree tree;
  // Stored values that no selector entry writes back: the shipped mouse speed 75 shows "<Fast>" (written as 100),
  // hints 2 show "<Off>" (written as 0).
  tree.SetConfig("Hints", "2");
  const fs::path cfg = tree.Media() / "Config" / "main.cfg";
  const std::string cfgText = FileBytes(cfg);
  PlayHost host;
  ASSERT_TRUE(host.Start(4402));
  EscapeToMainMenu(host);
  ASSERT_EQ(host.State(), "BrRAGGameStateMainMenu");

  // The options screen met from the main menu, before any game.
  ASSERT_TRUE(ClickIn(host, "mainmenu", "MMenuOptionsBtn"));
  ASSERT_TRUE(host.RunUntilState("BrRAGGameStateOptions", 1.0f));
  host.Run(0.5f);
  Shot optionsAlone;
  ASSERT_TRUE(ScreenFrame(host, tree, "options_alone.bmp", optionsAlone));
  ASSERT_TRUE(host.ClickControl("OptionsCancelBtn"));
  ASSERT_TRUE(host.RunUntilState("BrRAGGameStateMainMenu", 1.0f));

  ASSERT_TRUE(NewGameFromMenu(host)) << host.State();
  host.Run(2.5f);
  PutHintsAway(host);
  Shot playing;
  ASSERT_TRUE(ScreenFrame(host, tree, "playing.bmp", playing));

  // The in-game menu veils the game, its HUD with it.
  PutHintsAway(host);
  host.HoldKey(VK_ESCAPE, 2);
  ASSERT_TRUE(host.RunUntilState("BrRAGGameStateInGameMenu", 2.0f)) << host.State();
  host.Run(0.3f);
  Shot menu;
  ASSERT_TRUE(ScreenFrame(host, tree, "ingamemenu.bmp", menu));
  for (const Region& r : {kHUDRegions[2], kHUDRegions[4]})
    EXPECT_LT(RegionBrightness(menu, r), 0.7 * RegionBrightness(playing, r)) << r.name;

  // Options from the in-game menu: the same screen as without a game.
  ASSERT_TRUE(ClickIn(host, "ingamemenu", "MMenuOptionsBtn"));
  ASSERT_TRUE(host.RunUntilState("BrRAGGameStateOptions", 1.0f)) << host.State();
  host.Run(0.5f);
  Shot optionsInGame;
  ASSERT_TRUE(ScreenFrame(host, tree, "options_ingame.bmp", optionsInGame));
  for (const Region& r : kHUDRegions) EXPECT_LT(RegionDifference(optionsInGame, optionsAlone, r), 8.0) << r.name;

  // OK without touching a selector.
  BrConfigCache* config = Engine().GetConfig();
  ASSERT_NE(config, nullptr);
  struct Key {
    const char* section;
    const char* key;
    int stored;
  };
  const Key keys[] = {{"App", "MouseSpeedX", 75}, {"App", "MouseSpeedY", 75},       {"App", "Hints", 2},
                      {"Audio", "NoMusic", 0},    {"Display", "ScreenWidth", 1024}, {"Display", "ScreenHeight", 768}};
  for (const Key& k : keys) {
    int value = -1;
    ASSERT_TRUE(config->GetInteger(k.section, k.key, value)) << k.key;
    ASSERT_EQ(value, k.stored) << k.key;
  }
  ASSERT_TRUE(host.ClickControl("OptionsOKBtn"));
  EXPECT_TRUE(host.RunUntilState("BrRAGGameStateInGameMenu", 1.0f)) << host.State();
  for (const Key& k : keys) {
    int value = -1;
    EXPECT_TRUE(config->GetInteger(k.section, k.key, value)) << k.key;
    EXPECT_EQ(value, k.stored) << k.key;
  }

  // A selector the player moves is written: the mouse from "<Fast>" on to "<Slow>".
  ASSERT_TRUE(ClickIn(host, "ingamemenu", "MMenuOptionsBtn"));
  ASSERT_TRUE(host.RunUntilState("BrRAGGameStateOptions", 1.0f)) << host.State();
  host.Frame();
  ASSERT_TRUE(host.ClickControl("OptMouseSpeed"));
  ASSERT_TRUE(host.ClickControl("OptionsOKBtn"));
  int speed = -1;
  EXPECT_TRUE(config->GetInteger("App", "MouseSpeedX", speed));
  EXPECT_EQ(speed, 25);
  int hints = -1;
  EXPECT_TRUE(config->GetInteger("App", "Hints", hints));
  EXPECT_EQ(hints, 2);
  host.Leave();
  // The file holds what the player chose and keeps what they did not touch.
  const std::string written = FileBytes(cfg);
  EXPECT_NE(written.find("\nMouseSpeedX=25\nMouseSpeedY=25\n"), std::string::npos) << written;
  EXPECT_NE(written.find("\nHints=2\n"), std::string::npos) << written;
  EXPECT_NE(written.find("\nNoMusic=0\n"), std::string::npos) << written;
  EXPECT_EQ(written.find(cfgText.substr(0, cfgText.find("MouseSpeedX"))), 0u) << written;
  EXPECT_EQ(tree.Find("ERROR"), -1) << tree.Log()[size_t(std::max(0, tree.Find("ERROR")))];
}

TEST(MenusOverPlay, TheEndingPlaysItsMusic) {
  PlayTree tree;
  // A game begun on the surface is won at once.
  tree.SetConfig("StartLevel", "81");
  PlayHost host;
  ASSERT_TRUE(host.Start(4403));
  EscapeToMainMenu(host);
  ASSERT_TRUE(host.ClickControl("MMenuPlayGameBtn"));
  host.Frame();
  ASSERT_TRUE(host.ClickControl("NewGameMedium"));
  ASSERT_TRUE(host.RunUntilState("BrRAGGameStateCompleted", 10.0f, 4)) << host.State();
  host.Run(0.5f, 4);
  auto* ending =
      static_cast<BrRAGGameStateCompleted*>(host.Game()->GetState(BrStringT<char>("BrRAGGameStateCompleted")));
  ASSERT_NE(ending, nullptr);
  EXPECT_TRUE(ending->GetMusic().Ready());
  BrAudioMgrBase* audio = Engine().Audio();
  ASSERT_NE(audio, nullptr);
  BrSoundFX* music = audio->GetAudio(ending->GetMusic());
  ASSERT_NE(music, nullptr);
  EXPECT_TRUE(music->IsPlaying());
  host.Leave();
  EXPECT_EQ(tree.Find("ERROR"), -1) << tree.Log()[size_t(std::max(0, tree.Find("ERROR")))];
}

// The load and mods menus lie at the same place: a click in one must not choose a row in the other, hidden one,
// or the load button would load a save the player never picked.
TEST(MenusOverPlay, AClickInTheModsMenuChoosesNoSaveInTheHiddenLoadMenu) {
  PlayTree tree;
  PlayHost host;
  ASSERT_TRUE(host.Start(4407));
  EscapeToMainMenu(host);
  ASSERT_TRUE(SavedAndQuit(host, {"Saves\\first.gin", "Saves\\second.gin", "Saves\\third.gin"})) << host.State();

  // The saves are seen once, and the menu left with none chosen.
  ASSERT_TRUE(OpenMenu(host, "MMenuLoadGameBtn", "BrRAGGameStateLoadGameMenu"));
  auto* list = static_cast<BrUIControlListBox*>(host.Control("LoadGameListBox"));
  ASSERT_NE(list, nullptr);
  ASSERT_EQ(list->GetNumItems(), 3);
  ASSERT_EQ(list->GetSelected(), -1);
  ASSERT_TRUE(ClickIn(host, "loadgame", "LoadBackBtn"));
  ASSERT_TRUE(host.RunUntilState("BrRAGGameStateMainMenu", 2.0f));

  // In the mods menu, clicks over where the saves' rows lie.
  ASSERT_TRUE(OpenMenu(host, "MMenuModsBtn", "BrRAGGameStateModsMenu"));
  for (int row = 0; row < 3; ++row) ClickRow(host, *list, row);
  ASSERT_TRUE(ClickIn(host, "modsmenu", "LoadBackBtn"));
  ASSERT_TRUE(host.RunUntilState("BrRAGGameStateMainMenu", 2.0f));

  ASSERT_TRUE(OpenMenu(host, "MMenuLoadGameBtn", "BrRAGGameStateLoadGameMenu"));
  EXPECT_EQ(list->GetSelected(), -1) << "chosen in the mods menu: " << list->GetCurrentItemText().c_str();
  ASSERT_TRUE(ClickIn(host, "loadgame", "LoadLoadBtn"));
  host.Run(0.5f, 4);
  EXPECT_EQ(host.State(), "BrRAGGameStateLoadGameMenu") << "the load button loaded a save nobody chose";
  host.Leave();
}

// A list scrolled down to its last saves, then most saves deleted (by hand, between two visits of the menu): the
// saves left are shown and can be chosen, not scrolled away above an empty list.
TEST(MenusOverPlay, SavesLeftAfterOthersAreDeletedAreShownInAListScrolledDownBefore) {
  PlayTree tree;
  PlayHost host;
  ASSERT_TRUE(host.Start(4409));
  EscapeToMainMenu(host);
  ASSERT_TRUE(NewGameFromMenu(host)) << host.State();
  host.Run(1.0f, 4);
  for (int i = 0; i < 14; ++i) ASSERT_TRUE(host.Game()->SaveGame(("Saves\\old" + std::to_string(i) + ".gin").c_str()));
  ASSERT_TRUE(QuitToMainMenu(host)) << host.State();

  ASSERT_TRUE(OpenMenu(host, "MMenuLoadGameBtn", "BrRAGGameStateLoadGameMenu"));
  auto* list = static_cast<BrUIControlListBox*>(host.Control("LoadGameListBox"));
  ASSERT_NE(list, nullptr);
  for (int i = 0; i < 4; ++i) ASSERT_TRUE(host.ClickControl("ControlScrollDown"));
  ASSERT_EQ(list->GetFirstVisible(), 4);
  ASSERT_TRUE(ClickIn(host, "loadgame", "LoadBackBtn"));
  ASSERT_TRUE(host.RunUntilState("BrRAGGameStateMainMenu", 2.0f));

  for (int i = 2; i < 14; ++i) fs::remove(tree.Media() / "Saves" / ("old" + std::to_string(i) + ".gin"));
  ASSERT_TRUE(OpenMenu(host, "MMenuLoadGameBtn", "BrRAGGameStateLoadGameMenu"));
  ASSERT_EQ(list->GetNumItems(), 2);
  EXPECT_EQ(list->GetFirstVisible(), 0);
  // The first row, where the player sees a save, chooses it.
  ClickRow(host, *list, 0);
  EXPECT_GT(list->GetCurrentItemText().Length(), 0) << "no save under the first row";
  host.Leave();
}
