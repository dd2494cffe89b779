// A game's life beyond play: dying and returning to the menu at the end of the frame, hints shown once, a save
// written and loaded back, a bad save leaving the loaded game alone, the next level with its rope and autosave, a
// typed save name, and the hot-key prompt assigning a quick slot.
#include <gtest/gtest.h>

#include <fstream>

#include "adventure/flow/BrRAGInvItemCtrl.h"
#include "adventure/flow/BrRAGPlayerHUD.h"
#include "adventure/flow/BrRAGUIDialog.h"
#include "adventure/world/BrRAGInventory.h"
#include "adventure/world/BrRAGItem.h"
#include "engine/presentation/BrUIControlListBox.h"
#include "engine/presentation/BrUIControlTextBox.h"
#include "tests/adventure/flow/FlowPlaySupport.h"

using namespace ragflow;

namespace {

std::string ModalID() {
  BrUIControl* modal = Engine().GUI()->GetModalControl();
  return modal && modal->GetID().c_str() ? modal->GetID().c_str() : "";
}

}  // namespace

TEST(BrRAGLifecycle, DeathEndsTheGameAtTheEndOfTheFrameTheDialogClosesIn) {
  Play p;
  p.NewGame();
  BrRAGPlayer* player = p.Player();
  ASSERT_NE(player, nullptr);
  p.run.Frame(0.1f);
  player->Killed("a goblin");
  ASSERT_EQ(ModalID(), "dlg_gameover");
  p.run.Frame(0.1f);

  // The OK option closes the modal from inside the click; the map and player must outlive that click.
  BrMap* map = p.game->Map();
  EXPECT_TRUE(p.run.RAGHUD()->ControlLeftClicked("AcceptGameOver"));
  EXPECT_FALSE(Engine().GUI()->IsModal());
  EXPECT_TRUE(p.game->IsGameOverPending());
  const int objects = map->NumObjects();
  EXPECT_GT(objects, 0);
  EXPECT_TRUE(player->IsValid());
  EXPECT_EQ(p.run.StateName(), "BrRAGGameStatePlaying");
  p.run.Frame(0.1f);
  EXPECT_FALSE(p.game->IsGameOverPending());
  EXPECT_EQ(p.run.StateName(), "BrRAGGameStateMainMenu");
  // The dead game's map is let go, not kept as an empty shell.
  EXPECT_EQ(p.game->Map(), nullptr);
  EXPECT_EQ(p.game->GetPlayer(), nullptr);
  p.run.Frame(0.1f);

  // A game-over dialog closed with no player left asks for nothing.
  BrObject* spawned = static_cast<BrObject*>(Engine().Spawn("BrRAGUIGameOverDialog"));
  auto* dialog = static_cast<BrRAGUIGameOverDialog*>(spawned->SafeCast(&BrRAGUIGameOverDialog::Type));
  dialog->Init();
  p.run.HUD()->AddChildControl(dialog);
  dialog->SetModal(true);
  Engine().GUI()->SetModalControl(nullptr);
  EXPECT_FALSE(p.game->IsGameOverPending());
  // And a new game starts on a fresh map.
  p.run.RAGHUD()->ControlLeftClicked("NewGameEasy");
  ASSERT_NE(p.Player(), nullptr);
  EXPECT_TRUE(p.game->Map()->IsValid());
}

TEST(BrRAGLifecycle, AHintIsShownOncePerPlayerAndOnlyWhenHintsAreOn) {
  Play p;
  p.NewGame();
  BrRAGPlayer* player = p.Player();
  ASSERT_NE(player, nullptr);
  p.game->ShowHint("HintStairs");
  BrUIControl* modal = Engine().GUI()->GetModalControl();
  ASSERT_NE(modal, nullptr);
  auto* dialog = static_cast<BrRAGUIDialog*>(modal->SafeCast(&BrRAGUIDialog::Type));
  ASSERT_NE(dialog, nullptr);
  EXPECT_TRUE(player->HasSeenHint("HintStairs"));
  p.run.Frame(0.1f);
  bool text = false;
  for (const auto& t : p.run.render.texts) text = text || t.text == "Stairs lead down.\nTake them.";
  EXPECT_TRUE(text);
  EXPECT_GT(dialog->GetIconEffector(), 1);
  EXPECT_TRUE(p.run.RAGHUD()->ControlLeftClicked("CancelModal"));

  p.game->ShowHint("HintStairs");
  EXPECT_FALSE(Engine().GUI()->IsModal());
  // Something configured that is not a hint is refused and not recorded.
  p.game->ShowHint("Goblin");
  EXPECT_FALSE(Engine().GUI()->IsModal());
  EXPECT_FALSE(player->HasSeenHint("Goblin"));
  EXPECT_EQ(p.run.CountLines("Goblin is not a hint"), 1);

  // A hint without text still offers its OK button.
  p.game->ShowHint("HintIconOnly");
  modal = Engine().GUI()->GetModalControl();
  ASSERT_NE(modal, nullptr);
  p.run.Frame(0.1f);
  ASSERT_EQ(modal->GetNumChildControls(), 1);
  EXPECT_EQ(modal->GetChildControl(0)->GetID(), BrStringT<char>("CancelModal"));
  EXPECT_TRUE(modal->GetChildControl(0)->IsActive());
  EXPECT_TRUE(p.run.RAGHUD()->ControlLeftClicked("CancelModal"));
  EXPECT_FALSE(Engine().GUI()->IsModal());

  p.run.config.SetInteger("App", "Hints", 0);
  player->AddShownHint("Other");
  p.game->ShowHint("HintStairs2");
  EXPECT_FALSE(player->HasSeenHint("HintStairs2"));
}

TEST(BrRAGLifecycle, ASavedGameLoadsBackAndABadSaveLeavesTheLoadedGameAlone) {
  Play p;
  p.NewGame("NewGameNightmare");
  ASSERT_NE(p.Player(), nullptr);
  p.Player()->AddShownHint("HintStairs");
  p.run.Frame(0.1f);
  ASSERT_TRUE(p.game->SaveGame("Saves\\round.gin"));
  const auto bytes = std::filesystem::file_size(p.run.root / "Media" / "Saves" / "round.gin");

  // Loaded from the load menu: a fresh map, the saved difficulty, the level set again through the interlude.
  p.game->setDifficulty(0);
  BrMap* old = p.game->Map();
  RAGFlowPlayMap::spawnHero = false;
  p.game->ChangeToState("BrRAGGameStateMainMenu");
  p.game->ChangeToState("BrRAGGameStateLoadGameMenu");
  BrUIControl* control = Engine().GUI()->GetControl("LoadGameListBox", true);
  ASSERT_NE(control, nullptr);
  auto* list = static_cast<BrUIControlListBox*>(control->SafeCast(&BrUIControlListBox::Type));
  // Lists one file and picks its row with a click, as the player would.
  auto choose = [list](const char* file) {
    list->ClearList();
    list->AddListItem(file);
    const float x = list->GetPosX() + list->GetWidth() / 2.0f;
    for (float y = list->GetPosY(); y < list->GetPosY() + list->GetHeight(); y += 0.002f) {
      list->LeftClick(x, y);
      if (list->GetCurrentItemText().Length() != 0) break;
    }
    return std::string(list->GetCurrentItemText().c_str() ? list->GetCurrentItemText().c_str() : "");
  };
  ASSERT_EQ(choose("round.gin"), "round.gin");
  EXPECT_FALSE(p.run.RAGHUD()->ControlLeftClicked("LoadLoadBtn"));
  EXPECT_FALSE(Engine().GUI()->IsModal());
  EXPECT_NE(p.game->Map(), old);
  EXPECT_EQ(p.game->getDifficulty(), 3);
  ASSERT_NE(p.Map(), nullptr);
  EXPECT_EQ(p.Map()->GetLevel(), 1u);
  EXPECT_EQ(p.run.StateName(), "BrRAGGameStateInterlude");
  BrRAGPlayer* loaded = p.Player();
  ASSERT_NE(loaded, nullptr);
  EXPECT_TRUE(loaded->HasSeenHint("HintStairs"));

  // A save cut short is refused: the loaded game and its difficulty stay, and the player is told.
  std::vector<char> cut(size_t(bytes / 2), 0);
  {
    std::ifstream in(p.run.root / "Media" / "Saves" / "round.gin", std::ios::binary);
    in.read(cut.data(), std::streamsize(cut.size()));
  }
  FlowRun::WriteBytes(p.run.root / "Media" / "Saves" / "cut.gin", cut);
  BrMap* current = p.game->Map();
  p.game->ChangeToState("BrRAGGameStateLoadGameMenu");
  ASSERT_EQ(choose("cut.gin"), "cut.gin");
  EXPECT_FALSE(p.run.RAGHUD()->ControlLeftClicked("LoadLoadBtn"));
  EXPECT_EQ(p.game->Map(), current);
  EXPECT_TRUE(current->IsValid());
  EXPECT_EQ(p.game->getDifficulty(), 3);
  EXPECT_EQ(ModalID(), "dlg_message");
}

TEST(BrRAGLifecycle, TheNextLevelUsesARopeAndAutosavesAndATypedNameSavesIntoSaves) {
  Play p;
  p.NewGame();
  BrRAGPlayer* player = p.Player();
  ASSERT_NE(player, nullptr);
  BrDemoEntity* rope = p.Map()->Place("Rope", 0.0f, 0.0f);
  ASSERT_NE(rope, nullptr);
  rope->SetDrawnByMap(false);
  ASSERT_GE(player->AddToInventory(rope->GetID()), 0);
  ASSERT_GE(player->Inventory().ContainsItemOfType("Rope"), 0);
  p.run.Frame(0.1f);

  EXPECT_TRUE(p.run.RAGHUD()->ControlLeftClicked("DialogNextLevel"));
  EXPECT_EQ(p.Map()->GetLevel(), 2u);
  EXPECT_EQ(player->Inventory().ContainsItemOfType("Rope"), -1);
  EXPECT_TRUE(std::filesystem::exists(p.run.root / "Media" / "Saves" / "autosave.gin"));
  EXPECT_EQ(p.run.StateName(), "BrRAGGameStateInterlude");

  // The save panel: a typed name lands in Saves as a .gin file, and play resumes.
  p.game->ChangeToState("BrRAGGameStateInterlude");
  p.run.RAGHUD()->ControlLeftClicked("InterludeMenuSave");
  ASSERT_EQ(p.run.StateName(), "BrRAGGameStateWorldComplete");
  BrUIControl* control = Engine().GUI()->GetControl("InterludeMenuSaveBox", true);
  auto* box = static_cast<BrUIControlTextBox*>(control->SafeCast(&BrUIControlTextBox::Type));
  box->SetText("..\\my quest\n");
  EXPECT_FALSE(p.run.RAGHUD()->ControlLeftClicked("InterludeMenuSaveSave"));
  EXPECT_TRUE(std::filesystem::exists(p.run.root / "Media" / "Saves" / "my quest.gin"));
  EXPECT_EQ(p.run.StateName(), "BrRAGGameStatePlaying");
}

TEST(BrRAGLifecycle, TheHotKeyPromptAssignsADigitAndIgnoresOtherKeys) {
  Play p;
  p.NewGame();
  BrRAGPlayer* player = p.Player();
  ASSERT_NE(player, nullptr);
  BrDemoEntity* axe = p.Map()->Place("Axe", 0.0f, 0.0f);
  ASSERT_NE(axe, nullptr);
  axe->SetDrawnByMap(false);
  ASSERT_GE(player->AddToInventory(axe->GetID()), 0);
  p.run.Frame(0.1f);
  auto* hud = static_cast<BrRAGPlayerHUD*>(player->GetHUD()->SafeCast(&BrRAGPlayerHUD::Type));
  ASSERT_NE(hud, nullptr);
  BrRAGInvItemCtrl* cell = nullptr;
  BrUIControl* panel = hud->GetControl("ingame_playerhud", true);
  for (int i = 0; panel && i < panel->GetNumChildControls(); ++i) {
    BrUIControl* c = panel->GetChildControl(i);
    auto* item = c ? static_cast<BrRAGInvItemCtrl*>(c->SafeCast(&BrRAGInvItemCtrl::Type)) : nullptr;
    if (item && item->GetInvItemType() == BrStringT<char>("Axe")) cell = item;
  }
  ASSERT_NE(cell, nullptr);

  BrObject* spawned = static_cast<BrObject*>(Engine().Spawn("BrRAGUIHotKeyPrompt"));
  auto* prompt = static_cast<BrRAGUIHotKeyPrompt*>(spawned->SafeCast(&BrRAGUIHotKeyPrompt::Type));
  ASSERT_NE(prompt, nullptr);
  prompt->Init();
  prompt->SetID("hotkeyctrl");
  prompt->SetItemCtrl(cell);
  p.run.HUD()->AddChildControl(prompt);
  prompt->SetModal(true);
  Engine().GUI()->SetFocusControl(prompt);

  Engine().GUI()->KeyPressed('A');
  EXPECT_EQ(ModalID(), "hotkeyctrl");
  Engine().GUI()->KeyPressed('5');
  EXPECT_FALSE(Engine().GUI()->IsModal());
  EXPECT_EQ(std::string(hud->GetQuickSlot(5).c_str()), "Axe");
}
