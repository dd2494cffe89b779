// Dialogs the player opens and closes again and again, in the running game, driven by clicks and keys: a closed
// dialog leaves the application's HUD (its slot is freed and reused), and the dialog opens and works again.
#include <gtest/gtest.h>

#include <fstream>
#include <string>

#include "adventure/flow/BrRAGInvItemCtrl.h"
#include "adventure/flow/BrRAGPlayerHUD.h"
#include "core/BrGlobals.h"
#include "engine/kernel/BrGame.h"
#include "engine/presentation/BrGUI.h"
#include "engine/presentation/BrHUD.h"
#include "engine/presentation/BrRenderBase.h"
#include "engine/presentation/BrUIControlListBox.h"
#include "platform/win32/win32.h"
#include "tests/play/PlayRig.h"

using namespace brplay;

namespace {

constexpr int kRounds = 6;

// What the application's HUD holds: its slots (emptied ones included) and the controls in them.
struct Held {
  int slots = 0;
  int live = 0;
};

Held HUDHolds(PlayHost& host) {
  Held held;
  BrHUD* hud = host.Game() ? host.Game()->GetHUD() : nullptr;
  if (!hud) return held;
  held.slots = hud->GetNumChildControls();
  for (int i = 0; i < held.slots; ++i) held.live += hud->GetChildControl(i) ? 1 : 0;
  return held;
}

// Controls with that id anywhere in the widget tree, open or spent.
int CountWithID(BrUIControl* root, const char* id) {
  if (!root) return 0;
  int n = root->GetID() == BrStringT<char>(id) ? 1 : 0;
  for (int i = 0; i < root->GetNumChildControls(); ++i) n += CountWithID(root->GetChildControl(i), id);
  return n;
}

int CountWithID(const char* id) {
  BrGUI* gui = Engine().GUI();
  int n = 0;
  for (int i = 0; gui && i < gui->GetNumControls(); ++i) n += CountWithID(gui->GetTopControl(i), id);
  return n;
}

// Opens a dialog by clicking the control, lets it draw its options, and checks it is the one open modal dialog.
void OpenByClick(PlayHost& host, const char* button, const char* dialog) {
  ASSERT_TRUE(host.ClickControl(button)) << button;
  host.Frame();
  ASSERT_NE(host.Control(dialog), nullptr) << dialog << " did not open";
  ASSERT_TRUE(Engine().GUI()->IsModal());
  EXPECT_EQ(Engine().GUI()->GetModalControl(), host.Control(dialog));
  EXPECT_EQ(CountWithID(dialog), 1);
}

void ExpectClosed(PlayHost& host, const char* dialog, const Held& before, int round) {
  host.Frame();
  EXPECT_FALSE(Engine().GUI()->IsModal()) << "round " << round;
  EXPECT_EQ(CountWithID(dialog), 0) << "round " << round << ": the closed dialog is still in the widget tree";
  const Held now = HUDHolds(host);
  EXPECT_EQ(now.live, before.live) << "round " << round;
  EXPECT_LE(now.slots, before.slots + 1) << "round " << round << ": the HUD's list grows";
}

}  // namespace

TEST(DialogPile, MainMenuDialogsClosedByClickOrEscapeLeaveTheHUDAndOpenAgain) {
  PlayTree tree;
  tree.SetConfig("Hints", "0");
  PlayHost host;
  ASSERT_TRUE(host.Start(5101)) << "see " << tree.Game() / "log.txt";
  EscapeToMainMenu(host);
  ASSERT_EQ(host.State(), "BrRAGGameStateMainMenu");
  const Held before = HUDHolds(host);
  ASSERT_GT(before.live, 0);

  // The exit question, answered "Cancel" and put away with Escape by turns.
  for (int round = 0; round < kRounds; ++round) {
    OpenByClick(host, "MMenuExitGameBtn", "dlg_exitgame");
    if (HasFatalFailure()) return;
    if (round % 2 == 0) {
      ASSERT_TRUE(host.ClickControl("CancelModal"));
    } else {
      host.HoldKey(VK_ESCAPE, 2);
    }
    ExpectClosed(host, "dlg_exitgame", before, round);
    EXPECT_EQ(host.State(), "BrRAGGameStateMainMenu");
  }

  // The difficulty question, put away with Escape; the menu behind it still answers.
  for (int round = 0; round < kRounds; ++round) {
    OpenByClick(host, "MMenuPlayGameBtn", "dlg_newgame");
    if (HasFatalFailure()) return;
    host.HoldKey(VK_ESCAPE, 2);
    ExpectClosed(host, "dlg_newgame", before, round);
  }
  ASSERT_TRUE(host.ClickControl("MMenuCreditsBtn"));
  ASSERT_TRUE(host.RunUntilState("BrRAGGameStateCredits", 2.0f));
  ASSERT_TRUE(host.ClickControl("CreditsOKBtn"));
  ASSERT_TRUE(host.RunUntilState("BrRAGGameStateMainMenu", 2.0f));

  // A save that cannot be read is reported by a message dialog each time the player tries it.
  {
    std::ofstream broken(tree.Media() / "Saves" / "BROKEN.gin", std::ios::binary);
    broken << "not a saved game at all";
  }
  ASSERT_TRUE(host.ClickControl("MMenuLoadGameBtn"));
  ASSERT_TRUE(host.RunUntilState("BrRAGGameStateLoadGameMenu", 2.0f));
  host.Frame();
  BrUIControl* listControl = host.Control("LoadGameListBox");
  ASSERT_TRUE(listControl && listControl->IsA(BrUIControlListBox::Type));
  auto* list = static_cast<BrUIControlListBox*>(listControl);
  const int x = int((list->GetPosX() + list->GetWidth() * 0.5f) * float(Engine().Render()->GetWidth()));
  for (int y = int(list->GetPosY() * float(Engine().Render()->GetHeight()));
       list->GetCurrentItemText().Length() == 0 &&
       y < int((list->GetPosY() + list->GetHeight()) * float(Engine().Render()->GetHeight()));
       y += 3)
    host.ClickAt(x, y);
  ASSERT_NE(std::string(list->GetCurrentItemText().c_str() ? list->GetCurrentItemText().c_str() : "").find("BROKEN"),
            std::string::npos);
  const Held inLoadMenu = HUDHolds(host);
  for (int round = 0; round < kRounds; ++round) {
    OpenByClick(host, "LoadLoadBtn", "dlg_message");
    if (HasFatalFailure()) return;
    ASSERT_TRUE(host.ClickControl("CancelModal"));
    ExpectClosed(host, "dlg_message", inLoadMenu, round);
    EXPECT_EQ(host.State(), "BrRAGGameStateLoadGameMenu");
  }
  ASSERT_TRUE(host.ClickControl("LoadBackBtn"));
  ASSERT_TRUE(host.RunUntilState("BrRAGGameStateMainMenu", 2.0f));

  // After all that the exit question still works to its end.
  EXPECT_EQ(HUDHolds(host).live, before.live);
  OpenByClick(host, "MMenuExitGameBtn", "dlg_exitgame");
  if (HasFatalFailure()) return;
  ASSERT_TRUE(host.ClickControl("MMenuExitGameConfirm"));
  host.Frame();
  EXPECT_TRUE(GExit);
  host.Leave();
}

TEST(DialogPile, InGameExitQuestionAndHintsClosedAgainAndAgainLeaveTheHUD) {
  PlayTree tree;
  tree.SetConfig("Hints", "1");
  PlayHost host;
  ASSERT_TRUE(host.Start(5102)) << "see " << tree.Game() / "log.txt";
  EscapeToMainMenu(host);
  ASSERT_EQ(host.State(), "BrRAGGameStateMainMenu");
  ASSERT_TRUE(NewGameFromMenu(host));
  ASSERT_NE(host.Map(), nullptr);

  // The welcome hint comes a moment into the first level; its "OK" puts it away for good.
  for (int i = 0; i < 150 && !Engine().GUI()->IsModal(); ++i) host.Frame();
  ASSERT_TRUE(Engine().GUI()->IsModal()) << "no hint opened";
  const Held withHint = HUDHolds(host);
  ASSERT_GT(withHint.live, 0);
  host.Frame();
  ASSERT_TRUE(host.ClickControl("CancelModal"));
  host.Frame();
  EXPECT_FALSE(Engine().GUI()->IsModal());
  EXPECT_EQ(HUDHolds(host).live, withHint.live - 1) << "the hint's dialog stayed in the HUD";
  const Held before = HUDHolds(host);

  for (int round = 0; round < kRounds; ++round) {
    host.HoldKey(VK_ESCAPE, 2);
    ASSERT_TRUE(host.RunUntilState("BrRAGGameStateInGameMenu", 2.0f)) << "round " << round << " " << host.State();
    OpenByClick(host, "IGMenuExitBtn", "dlg_exitingamemenu");
    if (HasFatalFailure()) return;
    if (round % 2 == 0) {
      ASSERT_TRUE(host.ClickControl("CancelModal"));  // "No"
    } else {
      host.HoldKey(VK_ESCAPE, 2);
    }
    ExpectClosed(host, "dlg_exitingamemenu", before, round);
    EXPECT_EQ(host.State(), "BrRAGGameStateInGameMenu");
    ASSERT_TRUE(host.ClickControl("IGMenuContinueBtn"));
    ASSERT_TRUE(host.RunUntilState("BrRAGGameStatePlaying", 2.0f));
    host.Run(0.4f);
  }

  // "Yes" still leaves the game for the main menu, and the HUD holds what it held before the game.
  host.HoldKey(VK_ESCAPE, 2);
  ASSERT_TRUE(host.RunUntilState("BrRAGGameStateInGameMenu", 2.0f));
  OpenByClick(host, "IGMenuExitBtn", "dlg_exitingamemenu");
  if (HasFatalFailure()) return;
  ASSERT_TRUE(host.ClickControl("ExitIngame"));
  ASSERT_TRUE(host.RunUntilState("BrRAGGameStateMainMenu", 2.0f));
  host.Frame();
  EXPECT_FALSE(Engine().GUI()->IsModal());
  EXPECT_EQ(CountWithID("dlg_exitingamemenu"), 0);
  EXPECT_LE(HUDHolds(host).live, before.live);
  host.Leave();
}

TEST(DialogPile, TheHotKeyPromptClosedByItsOwnKeyLeavesTheHUDAndBindsTheKey) {
  PlayTree tree;
  tree.SetConfig("Hints", "0");
  PlayHost host;
  ASSERT_TRUE(host.Start(5103)) << "see " << tree.Game() / "log.txt";
  EscapeToMainMenu(host);
  ASSERT_TRUE(NewGameFromMenu(host));
  host.Run(0.5f);
  BrRAGInvItemCtrl* cell = FirstFilledCell();
  ASSERT_NE(cell, nullptr) << "the new player carries nothing";
  const BrStringT<char> itemType = cell->GetInvItemType();
  auto* playerHUD = static_cast<BrRAGPlayerHUD*>(host.Player()->GetHUD());
  ASSERT_TRUE(playerHUD && playerHUD->IsA(BrRAGPlayerHUD::Type));
  BrRenderBase* render = Engine().Render();
  const int x = int((cell->GetPosX() + cell->GetWidth() * 0.5f) * float(render->GetWidth()));
  const int y = int((cell->GetPosY() + cell->GetHeight() * 0.5f) * float(render->GetHeight()));
  const Held before = HUDHolds(host);

  // Shift and a click on the item ask for a key; the digit closes the prompt from inside its own key handler.
  for (int round = 0; round < kRounds; ++round) {
    brW32InjectKey(VK_SHIFT, TRUE);
    ASSERT_TRUE(host.ClickAt(x, y));
    brW32InjectKey(VK_SHIFT, FALSE);
    host.Frame();
    ASSERT_NE(host.Control("hotkeyctrl"), nullptr) << "round " << round << ": no prompt";
    ASSERT_TRUE(Engine().GUI()->IsModal());
    const char digit = char('1' + round);
    host.Type(std::string(1, digit));
    ExpectClosed(host, "hotkeyctrl", before, round);
    EXPECT_EQ(playerHUD->GetQuickSlot(digit - '0'), itemType) << "round " << round;
    EXPECT_EQ(host.State(), "BrRAGGameStatePlaying");
  }
  host.Leave();
}
