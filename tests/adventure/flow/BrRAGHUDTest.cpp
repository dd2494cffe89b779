// The command dispatcher and its dialogs: every command id, the dialogs laid out around their content, the options
// written to the configuration, the speaker test, the mod switch refusing unusable mods, and typed save names.
#include <gtest/gtest.h>

#include <fstream>

#include "adventure/flow/BrRAGSlideCameraCtrl.h"
#include "adventure/flow/BrRAGUIDialog.h"
#include "engine/kernel/BrController.h"
#include "engine/presentation/BrUIControlEditBox.h"
#include "engine/presentation/BrUIControlListBox.h"
#include "engine/presentation/BrUISelector.h"
#include "tests/adventure/flow/FlowTestSupport.h"

using namespace ragflow;

namespace {

// The application's HUD started at the main menu.
struct Menu {
  Menu() {
    run.config.SetInteger("RAG", "ShowIntro", 0);
    run.config.SetInteger("Display", "ScreenWidth", 800);
    run.config.SetInteger("Display", "ScreenHeight", 600);
    game = run.Start();
    hud = run.RAGHUD();
  }
  bool Click(const char* id) { return hud->ControlLeftClicked(id); }
  BrRAGUIDialog* Modal() {
    BrUIControl* modal = Engine().GUI()->GetModalControl();
    return modal ? static_cast<BrRAGUIDialog*>(modal->SafeCast(&BrRAGUIDialog::Type)) : nullptr;
  }
  std::string ModalID() {
    BrUIControl* modal = Engine().GUI()->GetModalControl();
    return modal && modal->GetID().c_str() ? modal->GetID().c_str() : "";
  }
  std::vector<std::string> OptionIDs(BrUIControl* dialog) {
    std::vector<std::string> ids;
    for (int i = 0; i < dialog->GetNumChildControls(); ++i)
      if (BrUIControl* child = dialog->GetChildControl(i)) ids.push_back(child->GetID().c_str());
    return ids;
  }
  FlowRun run;
  BrRAGGame* game = nullptr;
  BrRAGHUD* hud = nullptr;
};

}  // namespace

TEST(BrRAGHUD, MenuCommandsChangeStatesAndReportWhetherTheyTookTheClick) {
  Menu m;
  ASSERT_NE(m.hud, nullptr);
  struct Row {
    const char* from;
    const char* id;
    const char* to;
    bool result;
  };
  const Row rows[] = {
      {"BrRAGGameStateMainMenu", "MMenuLoadGameBtn", "BrRAGGameStateLoadGameMenu", true},
      {"BrRAGGameStateMainMenu", "MMenuOptionsBtn", "BrRAGGameStateOptions", true},
      {"BrRAGGameStateMainMenu", "MMenuModsBtn", "BrRAGGameStateModsMenu", true},
      {"BrRAGGameStateMainMenu", "MMenuCreditsBtn", "BrRAGGameStateCredits", true},
      {"BrRAGGameStateLoadGameMenu", "LoadBackBtn", "BrRAGGameStateMainMenu", true},
      {"BrRAGGameStateOptions", "OptionsCancelBtn", "BrRAGGameStateMainMenu", true},
      {"BrRAGGameStateCredits", "CreditsOKBtn", "BrRAGGameStateMainMenu", true},
      {"BrRAGGameStateInGameMenu", "IGMenuContinueBtn", "BrRAGGameStatePlaying", true},
      {"BrRAGGameStateInGameMenu", "ExitIngame", "BrRAGGameStateMainMenu", true},
      {"BrRAGGameStateInterlude", "InterludeMenuSave", "BrRAGGameStateWorldComplete", true},
      {"BrRAGGameStateMainMenu", "DialogNextLevel", "BrRAGGameStateMainMenu", true},
      {"BrRAGGameStateMainMenu", "NoSuchCommand", "BrRAGGameStateMainMenu", false},
      {"BrRAGGameStateMainMenu", "NULL", "BrRAGGameStateMainMenu", false},
      {"BrRAGGameStateLoadGameMenu", "LoadLoadBtn", "BrRAGGameStateLoadGameMenu", false},
      {"BrRAGGameStateModsMenu", "ModsLoadBtn", "BrRAGGameStateModsMenu", false},
  };
  for (const Row& row : rows) {
    m.game->ChangeToState("BrRAGGameStateMainMenu");
    m.game->ChangeToState(row.from);
    EXPECT_EQ(m.Click(row.id), row.result) << row.id;
    EXPECT_EQ(m.run.StateName(), row.to) << row.id;
    EXPECT_FALSE(Engine().GUI()->IsModal()) << row.id;
  }
  // The save panel is shown with the world-complete state.
  m.game->ChangeToState("BrRAGGameStateMainMenu");
  m.Click("InterludeMenuSave");
  EXPECT_TRUE(m.hud->GetControl("InterludeMenuSaveBox", true)->IsActive());

  // The autosave rows go on to play even when the save fails (no map here), and tell the player.
  for (const char* id : {"InterludeMenuAutosave", "InterludeMenuSaveCancel"}) {
    m.game->ChangeToState("BrRAGGameStateWorldComplete");
    EXPECT_FALSE(m.Click(id)) << id;
    EXPECT_EQ(m.run.StateName(), "BrRAGGameStatePlaying") << id;
    EXPECT_EQ(m.ModalID(), "dlg_message") << id;
    EXPECT_TRUE(m.Click("CancelModal"));
    EXPECT_FALSE(Engine().GUI()->IsModal());
  }
}

TEST(BrRAGHUD, DialogsOpenModalAndTheirOptionsCarryTheCommands) {
  Menu m;
  ASSERT_TRUE(m.Click("MMenuPlayGameBtn"));
  BrRAGUIDialog* dialog = m.Modal();
  ASSERT_NE(dialog, nullptr);
  EXPECT_EQ(m.ModalID(), "dlg_newgame");
  EXPECT_TRUE(m.game->ActiveController()->IsA(BrRAGMenuCtrl::Type));
  EXPECT_EQ(m.run.render.Effectors()->names[dialog->GetTopEffector()], "ShaderControlTextures\\ui\\menus\\scrollt.tga");
  EXPECT_EQ(m.run.render.Effectors()->names[dialog->GetBaseEffector()],
            "ShaderControlTextures\\ui\\menus\\scrollb.tga");
  m.run.Frame(0.05f);
  EXPECT_EQ(m.OptionIDs(dialog),
            (std::vector<std::string>{"NewGameEasy", "NewGameMedium", "NewGameHard", "NewGameNightmare"}));
  // A difficulty: stored, dialog closed, a new game started.
  EXPECT_TRUE(m.Click("NewGameHard"));
  EXPECT_EQ(m.game->getDifficulty(), 2);
  EXPECT_FALSE(Engine().GUI()->IsModal());
  EXPECT_EQ(m.run.StateName(), "BrRAGGameStatePlaying");
  m.game->ChangeToState("BrRAGGameStateMainMenu");

  EXPECT_TRUE(m.Click("MMenuExitGameBtn"));
  EXPECT_EQ(m.ModalID(), "dlg_exitgame");
  m.run.Frame(0.05f);
  EXPECT_EQ(m.OptionIDs(m.Modal()), (std::vector<std::string>{"MMenuExitGameConfirm", "CancelModal"}));
  EXPECT_TRUE(m.Click("CancelModal"));
  EXPECT_FALSE(Engine().GUI()->IsModal());

  m.game->ChangeToState("BrRAGGameStateInGameMenu");
  EXPECT_TRUE(m.Click("IGMenuExitBtn"));
  EXPECT_EQ(m.ModalID(), "dlg_exitingamemenu");
  m.run.Frame(0.05f);
  EXPECT_EQ(m.OptionIDs(m.Modal()), (std::vector<std::string>{"CancelModal", "ExitIngame"}));
  EXPECT_TRUE(m.Click("ExitIngame"));
  EXPECT_EQ(m.run.StateName(), "BrRAGGameStateMainMenu");
  EXPECT_FALSE(Engine().GUI()->IsModal());

  EXPECT_STREQ(BrRAGHUD::ExitQuip(0.0f), "Really go back to work,\nboredom,and drudgery?");
  EXPECT_STREQ(BrRAGHUD::ExitQuip(0.25f), "Go on and quit, you\nalways do!");
  EXPECT_STREQ(BrRAGHUD::ExitQuip(0.95f), "One for the road, what\ndo you say?");
}

TEST(BrRAGHUD, AFramedDialogFitsItsHeightAndCentresItsBarsOnTheEdges) {
  Menu m;
  BrObject* spawned = static_cast<BrObject*>(Engine().Spawn("BrRAGUIDialog"));
  BrRAGUIDialog* dialog = static_cast<BrRAGUIDialog*>(spawned->SafeCast(&BrRAGUIDialog::Type));
  ASSERT_NE(dialog, nullptr);
  dialog->Init();
  dialog->SetArea(0.3f, 0.4f, 0.4f, 0.9f);
  dialog->SetTexture("Textures\\ui\\menus\\scrollm.tga");
  dialog->SetTopTexture("Textures\\ui\\menus\\scrollt.tga");
  dialog->SetBaseTexture("Textures\\ui\\menus\\scrollb.tga");
  dialog->SetPadding(0.125f);
  m.hud->AddChildControl(dialog);
  dialog->SetActive(true);

  // No text and no option: two paddings high, no buttons.
  m.run.render.ClearRecords();
  dialog->Draw(&m.run.render);
  EXPECT_NEAR(dialog->GetHeight(), 0.1f, 1e-5f);
  EXPECT_EQ(dialog->GetNumChildControls(), 0);
  bool top = false, base = false;
  for (const auto& s : m.run.render.sprites) {
    if (s.effector == dialog->GetTopEffector()) {
      top = true;
      EXPECT_NEAR(s.y, 0.4f - 0.025f, 1e-5f);
      EXPECT_NEAR(s.h, 0.05f, 1e-5f);
    }
    if (s.effector == dialog->GetBaseEffector()) {
      base = true;
      EXPECT_NEAR(s.y, 0.4f + 0.1f - 0.025f, 1e-5f);
    }
  }
  EXPECT_TRUE(top && base);

  // With text the first draw measures text and options once; later draws keep that height.
  BrObject* spawned2 = static_cast<BrObject*>(Engine().Spawn("BrRAGUIDialog"));
  BrRAGUIDialog* texted = static_cast<BrRAGUIDialog*>(spawned2->SafeCast(&BrRAGUIDialog::Type));
  texted->Init();
  texted->SetArea(0.3f, 0.4f, 0.4f, 0.9f);
  texted->SetPadding(0.125f);
  texted->SetDialogText("GAME OVER\n\nYou died");
  texted->AddDialogOption("OK", "AcceptGameOver", true);
  m.hud->AddChildControl(texted);
  texted->SetActive(true);
  m.run.render.ClearRecords();
  texted->Draw(&m.run.render);
  const float height = texted->GetHeight();
  EXPECT_GT(height, 0.1f);
  EXPECT_LT(height, 0.9f);
  EXPECT_EQ(m.OptionIDs(texted), std::vector<std::string>{"AcceptGameOver"});
  int drawn = 0;
  for (const auto& t : m.run.render.texts) {
    if (t.text != "GAME OVER\n\nYou died") continue;
    ++drawn;
    EXPECT_EQ(t.colour.GetDWORD(), BrARGB(255, 0, 0, 0).GetDWORD());
    EXPECT_NEAR(t.x, 0.35f, 1e-5f);
    EXPECT_NEAR(t.y, 0.45f, 1e-5f);
  }
  EXPECT_EQ(drawn, 1);
  texted->Draw(&m.run.render);
  EXPECT_EQ(texted->GetHeight(), height);
  EXPECT_EQ(texted->GetNumChildControls(), 1);
}

TEST(BrRAGHUD, OptionsAreWrittenAndAChangedResolutionResetsTheDeviceTwice) {
  Menu m;
  m.game->ChangeToState("BrRAGGameStateOptions");
  BrUIControl* panel = m.hud->GetControl("options", true);
  ASSERT_NE(panel, nullptr);
  auto select = [&](const char* id, const char* text) {
    BrUIControl* control = panel->GetControl(id, true);
    ASSERT_NE(control, nullptr) << id;
    auto* selector = static_cast<BrUISelector*>(control->SafeCast(&BrUISelector::Type));
    ASSERT_NE(selector, nullptr) << id;
    selector->AddSelection(text);
  };
  select("OptResolution", "<800x600>");
  select("OptMouseSpeed", "<Fast>");
  select("OptHints", "<Off>");
  select("OptMusic", "<Off>");
  const int toggles = m.run.render.fullScreenToggles;
  EXPECT_TRUE(m.Click("OptionsOKBtn"));
  EXPECT_EQ(m.run.StateName(), "BrRAGGameStateMainMenu");
  int value = -1;
  EXPECT_TRUE(m.run.config.GetInteger("App", "MouseSpeedX", value));
  EXPECT_EQ(value, 100);
  EXPECT_TRUE(m.run.config.GetInteger("App", "MouseSpeedY", value));
  EXPECT_EQ(value, 100);
  EXPECT_TRUE(m.run.config.GetInteger("App", "Hints", value));
  EXPECT_EQ(value, 0);
  EXPECT_TRUE(m.run.config.GetInteger("Audio", "NoMusic", value));
  EXPECT_EQ(value, 1);
  EXPECT_EQ(m.run.render.fullScreenToggles, toggles);  // same resolution: no reset

  m.game->ChangeToState("BrRAGGameStateOptions");
  select("OptResolution", "<1024x768>");
  select("OptMusic", "<On>");
  EXPECT_TRUE(m.Click("OptionsOKBtn"));
  EXPECT_TRUE(m.run.config.GetInteger("Display", "ScreenWidth", value));
  EXPECT_EQ(value, 1024);
  EXPECT_TRUE(m.run.config.GetInteger("Display", "ScreenHeight", value));
  EXPECT_EQ(value, 768);
  EXPECT_TRUE(m.run.config.GetInteger("Audio", "NoMusic", value));
  EXPECT_EQ(value, 0);
  EXPECT_EQ(m.run.render.fullScreenToggles, toggles + 2);
}

TEST(BrRAGHUD, SpeakerTestMakesItsSoundsOnceAndPlaysThemEitherSideOfTheListener) {
  Menu m;
  m.game->Camera()->GetCoords().Position = BrVector(10.0f, 20.0f, 30.0f);
  EXPECT_TRUE(m.Click("SpeakerTest"));
  EXPECT_TRUE(m.Click("SpeakerTest"));
  EXPECT_EQ(m.run.audio.CountOf("create Sounds\\testleft.wav"), 1);
  EXPECT_EQ(m.run.audio.CountOf("create Sounds\\testright.wav"), 1);
  int left = 0, right = 0;
  for (const std::string& call : m.run.audio.Calls()) {
    if (call.find("play3d") == 0 && call.find("(-90,20,30)") != std::string::npos) ++left;
    if (call.find("play3d") == 0 && call.find("(110,20,30)") != std::string::npos) ++right;
  }
  EXPECT_EQ(left, 2);
  EXPECT_EQ(right, 2);
}

TEST(BrRAGHUD, AModWithoutAUsableConfigurationIsRefusedAndNothingIsWrittenIntoIt) {
  Menu m;
  // Puts name in the mods list and, when select is set, picks its row with a click as the player would.
  auto chooseMod = [&](const char* name, bool select) {
    m.game->ChangeToState("BrRAGGameStateMainMenu");
    m.game->ChangeToState("BrRAGGameStateModsMenu");
    BrUIControl* control = Engine().GUI()->GetControl("ModsMenuListBox", true);
    auto* list = static_cast<BrUIControlListBox*>(control->SafeCast(&BrUIControlListBox::Type));
    list->ClearList();
    list->AddListItem(name);
    const float x = list->GetPosX() + list->GetWidth() / 2.0f;
    for (float y = list->GetPosY(); select && y < list->GetPosY() + list->GetHeight(); y += 0.002f) {
      list->LeftClick(x, y);
      if (list->GetCurrentItemText().Length() != 0) break;
    }
    return list->GetCurrentItemText().Length() != 0;
  };
  fs::create_directories(m.run.root / "Mods" / "empty");
  fs::create_directories(m.run.root / "Mods" / "noconfigs" / "config");
  std::ofstream(m.run.root / "Mods" / "noconfigs" / "config" / "main.cfg") << "[App]\nTitle=Bare\n";
  fs::create_directories(m.run.root / "Mods" / "good" / "config");
  std::ofstream(m.run.root / "Mods" / "good" / "config" / "main.cfg")
      << "[App]\nTitle=Good\n[RAG]\nConfigs=Config\\objects.cfg\nStartLevel=4\n[Engine]\nLibs=\n";

  // No selection: nothing at all.
  chooseMod("empty", false);
  EXPECT_FALSE(m.Click("ModsLoadBtn"));
  EXPECT_EQ(std::string(Engine().getMediaDir().c_str()), "Media");

  for (const char* mod : {"empty", "noconfigs", "missing"}) {
    ASSERT_TRUE(chooseMod(mod, true)) << mod;
    EXPECT_FALSE(m.Click("ModsLoadBtn")) << mod;
    EXPECT_EQ(std::string(Engine().getMediaDir().c_str()), "Media") << mod;
    EXPECT_EQ(m.run.StateName(), "BrRAGGameStateModsMenu") << mod;
    EXPECT_EQ(m.ModalID(), "dlg_message") << mod;
    m.Click("CancelModal");
  }
  EXPECT_FALSE(fs::exists(m.run.root / "Mods" / "empty" / "config"));
  EXPECT_FALSE(fs::exists(m.run.root / "Mods" / "missing"));

  ASSERT_TRUE(chooseMod("good", true));
  EXPECT_FALSE(m.Click("ModsLoadBtn"));
  EXPECT_EQ(std::string(Engine().getMediaDir().c_str()), "Mods\\good");
  EXPECT_EQ(m.run.StateName(), "BrRAGGameStateMainMenu");
  int start = 0;
  EXPECT_TRUE(m.run.config.GetInteger("RAG", "StartLevel", start));
  EXPECT_EQ(start, 4);
}

TEST(BrRAGHUD, TypedSaveNamesAreTrimmedKeptInsideSavesAndThePromptIsRefused) {
  const BrStringT<char> prompt("<click to enter text>\n");
  auto name = [&](const char* typed) {
    BrStringT<char> out = BrRAGHUD::SaveNameFromTyped(typed, prompt);
    return std::string(out.c_str() ? out.c_str() : "");
  };
  EXPECT_EQ(name("abc\n"), "Saves\\abc.gin");
  EXPECT_EQ(name("  my game \n"), "Saves\\my game.gin");
  EXPECT_EQ(name(""), "");
  EXPECT_EQ(name(" \n "), "");
  EXPECT_EQ(name("<click to enter text>\n"), "");
  EXPECT_EQ(name("..\\..\\evil"), "Saves\\evil.gin");
  EXPECT_EQ(name("a/b:c"), "Saves\\c.gin");
  EXPECT_EQ(name(".."), "");

  // The untouched box is refused and the panel stays.
  Menu m;
  m.game->ChangeToState("BrRAGGameStateInterlude");
  m.Click("InterludeMenuSave");
  ASSERT_EQ(m.run.StateName(), "BrRAGGameStateWorldComplete");
  EXPECT_FALSE(m.Click("InterludeMenuSaveSave"));
  EXPECT_EQ(m.run.StateName(), "BrRAGGameStateWorldComplete");
  EXPECT_FALSE(Engine().GUI()->IsModal());
  // A typed name with no game to save: the player is told and stays on the panel.
  BrUIControl* control = Engine().GUI()->GetControl("InterludeMenuSaveBox", true);
  auto* box = static_cast<BrUIControlTextBox*>(control->SafeCast(&BrUIControlTextBox::Type));
  box->SetText("quest");
  EXPECT_FALSE(m.Click("InterludeMenuSaveSave"));
  EXPECT_EQ(m.run.StateName(), "BrRAGGameStateWorldComplete");
  EXPECT_EQ(m.ModalID(), "dlg_message");
}
