// The menu states over a real game: the in-game menu freezing the dungeon under its veil, the interlude deciding
// in its step (with no frame drawn) between the world-complete save box and play, saves and mods listed newest
// first and chosen, and the options read from the configuration so that OK keeps what was not touched.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>

#include "FlowTestWorld.h"
#include "adventure/flow/BrRAGGameStateLoadGameMenu.h"
#include "adventure/flow/BrRAGGameStateOptions.h"
#include "engine/kernel/BrCamera.h"
#include "engine/kernel/BrConfigCache.h"
#include "engine/kernel/BrController.h"
#include "engine/presentation/BrGUI.h"
#include "engine/presentation/BrUIControlEditBox.h"
#include "engine/presentation/BrUIControlListBox.h"
#include "engine/presentation/BrUISelector.h"

using flowtest::FlowWorld;
namespace fs = std::filesystem;

namespace {

const char* kConfig = "[Hero]\nType=BrRAGPlayer\nHealth=100\nAnatomy=Body,Hand,Hand\nHasLantern=1\n\n";

const std::vector<std::string> kStates = {
    "BrRAGGameStateModal",     "BrRAGGameStatePlaying",       "BrRAGGameStateInGameMenu",
    "BrRAGGameStateInterlude", "BrRAGGameStateWorldComplete", "BrRAGGameStateLoadGameMenu",
    "BrRAGGameStateModsMenu",  "BrRAGGameStateOptions",       "BrRAGGameStateMainMenu"};

bool Active(FlowWorld& world, const char* id) {
  BrUIControl* c = world.HUD()->GetControl(BrStringT<char>(id), true);
  return c && c->IsActive();
}

bool In(FlowWorld& world, const char* state) { return world.Game()->IsInState(BrStringT<char>(state)); }

// Fade tiles drawn at half alpha (0.5 x 255, either rounding).
int HalfFadeTiles(FlowWorld& world) {
  int n = 0;
  for (const auto& s : world.SpritesOf("ShaderBlackBack"))
    if (s.colour.a == 127 || s.colour.a == 128) ++n;
  return n;
}

BrUIControlListBox* List(FlowWorld& world, const char* id) {
  BrUIControl* c = world.HUD()->GetControl(BrStringT<char>(id), true);
  return c && c->IsA(BrUIControlListBox::Type) ? static_cast<BrUIControlListBox*>(c) : nullptr;
}

// Clicks the list box's first row (found by walking down from its top edge).
void ClickFirstRow(BrUIControlListBox* list) {
  for (float y = list->GetPosY(); y < list->GetPosY() + list->GetHeight(); y += 0.001f) {
    list->LeftClick(0.5f, y);
    if (list->GetSelected() == 0) return;
  }
}

BrUISelector* Selector(FlowWorld& world, const char* id) {
  BrUIControl* c = world.HUD()->GetControl(BrStringT<char>(id), true);
  return c && c->IsA(BrUISelector::Type) ? static_cast<BrUISelector*>(c) : nullptr;
}

std::string Shown(BrUISelector* s) {
  BrStringT<char> text;
  s->GetText(text);
  return text.c_str() ? text.c_str() : "";
}

}  // namespace

TEST(RAGMenuStates, InGameMenuFreezesTheDungeonUnderItsVeil) {
  FlowWorld world(kConfig, kStates);
  BrRAGPlayer* player = world.SpawnPlayer();
  ASSERT_NE(player, nullptr);
  ASSERT_TRUE(player->hasLantern());
  EXPECT_FALSE(Active(world, "IGMenuContinueBtn"));

  world.Game()->ChangeToState(BrStringT<char>("BrRAGGameStateInGameMenu"));
  EXPECT_TRUE(Active(world, "ingamemenu"));
  EXPECT_TRUE(Active(world, "IGMenuContinueBtn"));
  EXPECT_TRUE(Active(world, "MMenuOptionsBtn"));
  EXPECT_TRUE(Active(world, "IGMenuExitBtn"));
  BrController* controller = world.Game()->ActiveController();
  ASSERT_NE(controller, nullptr);
  EXPECT_STREQ(controller->GetName(), "BrRAGMenuCtrl");

  // Frames in the menu leave the lantern's oil alone: the map is not stepped. The map itself would burn it.
  const float oil = player->GetOilRemaining();
  world.dev.ClearRecords();
  for (int i = 0; i < 10; ++i) world.Frame(0.5f);
  EXPECT_EQ(player->GetOilRemaining(), oil);
  EXPECT_EQ(HalfFadeTiles(world), 10);  // the half-black veil, every frame
  EXPECT_EQ(world.SpritesOf("MiniMapFX").size(), 10u);
  world.Map()->Step(5.0f);
  EXPECT_LT(player->GetOilRemaining(), oil);

  // Leaving hides the node and its buttons.
  world.Game()->ChangeToState(BrStringT<char>("BrRAGGameStatePlaying"));
  EXPECT_FALSE(Active(world, "ingamemenu"));
  EXPECT_FALSE(Active(world, "IGMenuExitBtn"));
}

TEST(RAGMenuStates, InterludeDecidesInItsStepBetweenTheSaveBoxAndPlay) {
  FlowWorld world(kConfig, kStates);
  ASSERT_NE(world.SpawnPlayer(), nullptr);
  world.Game()->ChangeToState(BrStringT<char>("BrRAGGameStatePlaying"));

  // Level 21 starts a world: after the 2-second fade the save box follows, with no frame drawn meanwhile.
  world.Map()->SetLevel(21);
  ASSERT_TRUE(In(world, "BrRAGGameStateInterlude"));
  world.Game()->Step(1.0f);
  world.dev.ClearRecords();
  world.Game()->DrawHUD(&world.dev);
  EXPECT_EQ(HalfFadeTiles(world), 1);  // alpha 0.5 at 1 s
  world.Game()->Step(1.0f);
  EXPECT_TRUE(In(world, "BrRAGGameStateInterlude"));  // exactly 2 s: still fading
  world.Game()->Step(0.1f);
  EXPECT_TRUE(In(world, "BrRAGGameStateInterlude"));  // faded out this frame
  world.Game()->Step(0.016f);
  ASSERT_TRUE(In(world, "BrRAGGameStateWorldComplete"));

  // The save box: its prompt, at most 23 typed characters, and the controls hidden again on leaving.
  EXPECT_TRUE(Active(world, "cancelsavenode"));
  EXPECT_TRUE(Active(world, "InterludeMenuSaveSave"));
  BrUIControl* c = world.HUD()->GetControl(BrStringT<char>("InterludeMenuSaveBox"), true);
  ASSERT_TRUE(c && c->IsA(BrUIControlEditBox::Type));
  BrUIControlEditBox* box = static_cast<BrUIControlEditBox*>(c);
  EXPECT_STREQ(box->GetText().c_str(), "<click to enter text>\n");
  for (int i = 0; i < 30; ++i) box->KeyPressed('A');
  EXPECT_LE(box->GetText().Length(), 25);
  world.dev.ClearRecords();
  world.Frame(0.016f);
  EXPECT_EQ(HalfFadeTiles(world), 1);
  EXPECT_EQ(world.SpritesOf("MiniMapFX").size(), 1u);
  world.Game()->ChangeToState(BrStringT<char>("BrRAGGameStatePlaying"));
  EXPECT_FALSE(Active(world, "cancelsavenode"));
  EXPECT_FALSE(Active(world, "InterludeMenuSaveBox"));

  // Level 22 and level 81 go straight to play.
  for (unsigned int level : {22u, 81u}) {
    world.Map()->SetLevel(level);
    ASSERT_TRUE(In(world, "BrRAGGameStateInterlude"));
    for (int i = 0; i < 30; ++i) world.Game()->Step(0.1f);
    EXPECT_TRUE(In(world, "BrRAGGameStatePlaying")) << level;
  }

  // A game just loaded skips the HUD and minimap during its fade and never gets the save box.
  world.Game()->ChangeToState(BrStringT<char>("BrRAGGameStateLoadGameMenu"));
  world.Map()->SetLevel(11);
  ASSERT_TRUE(In(world, "BrRAGGameStateInterlude"));
  world.Game()->Step(0.5f);
  world.dev.ClearRecords();
  world.Game()->DrawHUD(&world.dev);
  EXPECT_EQ(world.SpritesOf("MiniMapFX").size(), 0u);
  for (int i = 0; i < 30; ++i) world.Game()->Step(0.1f);
  EXPECT_TRUE(In(world, "BrRAGGameStatePlaying"));
}

TEST(RAGMenuStates, SavesAndModsAreListedNewestFirstAndChosen) {
  FlowWorld world(kConfig, kStates);
  world.Game()->ChangeToState(BrStringT<char>("BrRAGGameStateLoadGameMenu"));
  EXPECT_TRUE(fs::is_directory(world.folder.root / "Media" / "Saves"));
  EXPECT_TRUE(Active(world, "LoadGameListBox"));
  BrUIControlListBox* saves = List(world, "LoadGameListBox");
  ASSERT_NE(saves, nullptr);
  world.Frame(0.016f);
  EXPECT_EQ(saves->GetNumItems(), 0);

  std::ofstream(world.folder.root / "Media" / "Saves" / "old.gin") << "x";
  std::ofstream(world.folder.root / "Media" / "Saves" / "notes.txt") << "x";
  fs::create_directories(world.folder.root / "Mods" / "ModA" / "CONFIG");
  std::ofstream(world.folder.root / "Mods" / "ModA" / "CONFIG" / "Main.cfg") << "[RAG]\n";
  // The newest of what came before, so both lists have a later second to order by.
  ASSERT_TRUE(brtest::WaitForALaterFileSecond(world.folder.root / "Mods" / "ModA"));
  std::ofstream(world.folder.root / "Media" / "Saves" / "new.gin") << "x";
  fs::create_directories(world.folder.root / "Mods" / "ModB");
  std::ofstream(world.folder.root / "Mods" / "readme.txt") << "x";

  // The save made while the menu is open is listed first from the next frame on.
  world.Frame(0.016f);
  ASSERT_EQ(saves->GetNumItems(), 2);
  ClickFirstRow(saves);
  ASSERT_EQ(saves->GetSelected(), 0);
  world.Frame(0.016f);  // rebuilt: the choice survives
  EXPECT_STREQ(saves->GetCurrentItemText().c_str(), "new.gin");

  world.Game()->ChangeToState(BrStringT<char>("BrRAGGameStateModsMenu"));
  EXPECT_FALSE(Active(world, "LoadGameListBox"));
  EXPECT_FALSE(Active(world, "LoadLoadBtn"));
  EXPECT_TRUE(Active(world, "ModsLoadBtn"));
  BrUIControlListBox* mods = List(world, "ModsMenuListBox");
  ASSERT_NE(mods, nullptr);
  world.Frame(0.016f);
  ASSERT_EQ(mods->GetNumItems(), 2);  // folders only, without "." and ".."
  ClickFirstRow(mods);
  EXPECT_STREQ(mods->GetCurrentItemText().c_str(), "ModB");

  // The mod's configuration is found whatever the case of its folder; a mod without one has none.
  const BrStringT<char> cfg = BrRAGGameStateModsMenu::FindModConfig(BrStringT<char>("ModA"));
  ASSERT_GT(cfg.Length(), 0);
  EXPECT_NE(std::string(cfg.c_str()).find("CONFIG"), std::string::npos);
  EXPECT_EQ(BrRAGGameStateModsMenu::FindModConfig(BrStringT<char>("ModB")).Length(), 0);
}

TEST(RAGMenuStates, OptionsShowTheConfigurationAndOKKeepsWhatWasNotTouched) {
  flowtest::DisplayModes() = {{640, 480}, {800, 600}, {1024, 768}};
  FlowWorld world(kConfig, kStates);
  flowtest::DisplayModes().clear();
  BrConfigCache config;
  Engine().SetConfig(&config);

  BrUISelector* resolution = Selector(world, "OptResolution");
  BrUISelector* mouse = Selector(world, "OptMouseSpeed");
  BrUISelector* hints = Selector(world, "OptHints");
  BrUISelector* music = Selector(world, "OptMusic");
  ASSERT_TRUE(resolution && mouse && hints && music);
  EXPECT_EQ(Shown(resolution), "<1024x768>");
  EXPECT_EQ(Shown(mouse), "<Slow>");

  // Missing keys leave the selectors as they are; a width without a height does not touch the resolution.
  config.SetInteger("Display", "ScreenWidth", 640);
  world.Game()->ChangeToState(BrStringT<char>("BrRAGGameStateOptions"));
  EXPECT_TRUE(Active(world, "OptionsOKBtn"));
  EXPECT_EQ(Shown(resolution), "<1024x768>");
  EXPECT_EQ(Shown(hints), "<Off>");
  world.Game()->ChangeToState(BrStringT<char>("BrRAGGameStateModal"));
  EXPECT_FALSE(Active(world, "OptResolution"));

  struct Case {
    int speed;
    const char* shown;
  };
  for (const Case& c : {Case{25, "<Slow>"}, Case{26, "<Medium>"}, Case{45, "<Medium>"}, Case{46, "<Fast>"},
                        Case{75, "<Fast>"}, Case{100, "<Fast>"}}) {
    config.SetInteger("App", "MouseSpeedX", c.speed);
    world.Game()->ChangeToState(BrStringT<char>("BrRAGGameStateOptions"));
    EXPECT_EQ(Shown(mouse), c.shown) << c.speed;
    world.Game()->ChangeToState(BrStringT<char>("BrRAGGameStateModal"));
  }

  // Stored: fast mouse, hints on, music on, a size the device does not offer. The screen shows the mode the
  // device runs in (800 x 600); OK without touching anything keeps every stored value.
  config.SetInteger("App", "MouseSpeedX", 100);
  config.SetInteger("App", "MouseSpeedY", 100);
  config.SetInteger("App", "Hints", 1);
  config.SetInteger("Audio", "NoMusic", 0);
  config.SetInteger("Display", "ScreenWidth", 1234);
  config.SetInteger("Display", "ScreenHeight", 567);
  world.Game()->ChangeToState(BrStringT<char>("BrRAGGameStateOptions"));
  EXPECT_EQ(Shown(resolution), "<800x600>");
  EXPECT_EQ(Shown(hints), "<On>");
  EXPECT_EQ(Shown(music), "<On>");
  world.HUD()->ControlLeftClicked(BrStringT<char>("OptionsOKBtn"));
  int value = 0;
  EXPECT_TRUE(config.GetInteger("App", "MouseSpeedX", value));
  EXPECT_EQ(value, 100);
  EXPECT_TRUE(config.GetInteger("App", "MouseSpeedY", value));
  EXPECT_EQ(value, 100);
  EXPECT_TRUE(config.GetInteger("App", "Hints", value));
  EXPECT_EQ(value, 1);
  EXPECT_TRUE(config.GetInteger("Audio", "NoMusic", value));
  EXPECT_EQ(value, 0);
  EXPECT_TRUE(config.GetInteger("Display", "ScreenWidth", value));
  EXPECT_EQ(value, 1234);
  EXPECT_TRUE(config.GetInteger("Display", "ScreenHeight", value));
  EXPECT_EQ(value, 567);

  // A choice made on the screen is written: music off.
  world.Game()->ChangeToState(BrStringT<char>("BrRAGGameStateOptions"));
  music->LeftClick(music->GetPosX() + 0.01f, music->GetPosY() + 0.01f);
  EXPECT_EQ(Shown(music), "<Off>");
  world.HUD()->ControlLeftClicked(BrStringT<char>("OptionsOKBtn"));
  EXPECT_TRUE(config.GetInteger("Audio", "NoMusic", value));
  EXPECT_EQ(value, 1);

  // The screen's own drawing: labels and the controls table.
  world.Game()->ChangeToState(BrStringT<char>("BrRAGGameStateOptions"));
  world.dev.ClearRecords();
  world.Frame(0.016f);
  EXPECT_TRUE(world.Drew("Mouse Speed"));
  EXPECT_TRUE(world.Drew("Volume Up/Down"));
  EXPECT_EQ(world.SpritesOf("ShaderOptionsParch").size(), 1u);
  Engine().SetConfig(nullptr);
}
