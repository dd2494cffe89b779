// The game's scroll dialogs as the player sees them, on the generated fonts and the real rendering device: every
// line of a dialog's text and every option stays inside the dialog's inner margins, with the options flush against
// the inner right margin, and nothing of the HUD is drawn over an open dialog. Catches text that spills out of its
// scroll (a label cut off on the left, a line running past the right edge), whether from the layout or from font
// widths too large for the lines the game writes, and a hint half hidden under the inventory.
#include <gtest/gtest.h>

#include <string>

#include "adventure/flow/BrRAGGame.h"
#include "adventure/flow/BrRAGHUD.h"
#include "adventure/flow/BrRAGUIDialog.h"
#include "engine/presentation/BrFontMgr.h"
#include "engine/presentation/BrGUI.h"
#include "engine/presentation/BrRect.h"
#include "engine/presentation/BrRenderBase.h"
#include "engine/presentation/BrUITextButton.h"
#include "tests/play/PlayRig.h"

using namespace brplay;

namespace {

// Reads the dialog's own settings, which it keeps to itself.
struct DialogView : BrUIDialog {
  static const BrStringT<char>& Text(BrUIDialog* d) { return d->*(&DialogView::m_Text); }
  static const BrStringT<char>& Font(BrUIDialog* d) { return d->*(&DialogView::m_Font); }
  static int TextSize(BrUIDialog* d) { return d->*(&DialogView::m_iTextSize); }
  static float Margin(BrUIDialog* d) { return d->*(&DialogView::m_fMargin); }
};

// Opens the dispatcher's own dialogs with any text.
struct HUDView : BrRAGHUD {
  static void Show(BrRAGHUD* hud, const char* id, const char* text) {
    (hud->*(&HUDView::ShowDialog))(id, BrStringT<char>(text));
  }
};

const float kEps = 0.001f;

// The open modal dialog, drawn once so that it has laid itself out and made its option buttons.
BrRAGUIDialog* OpenDialog(PlayHost& host) {
  host.Frame();
  BrUIControl* modal = Engine().GUI()->GetModalControl();
  return modal ? static_cast<BrRAGUIDialog*>(modal->SafeCast(&BrRAGUIDialog::Type)) : nullptr;
}

void ExpectInside(BrRAGUIDialog* dialog, const std::string& what) {
  ASSERT_NE(dialog, nullptr) << what << ": no dialog open";
  const float pad = DialogView::Margin(dialog) * dialog->GetWidth();
  const float left = dialog->GetPosX() + pad;
  const float right = dialog->GetPosX() + dialog->GetWidth() - pad;
  const float bottom = dialog->GetPosY() + dialog->GetHeight();

  BrFontMgr* fonts = Engine().Render()->FontMgr();
  const int previous = fonts->GetCurrFontID();
  fonts->SetFont(DialogView::Font(dialog));
  fonts->SizeUp(DialogView::TextSize(dialog));
  BrStringT<char> text = DialogView::Text(dialog);
  const BrRect extent = fonts->GetTextRect(text);
  fonts->SizeDown(DialogView::TextSize(dialog));
  fonts->SetFont(previous);
  EXPECT_LE(left + extent.maxX, right + kEps) << what << ": the text runs past the right margin";

  int options = 0;
  for (int i = 0; i < dialog->GetNumChildControls(); ++i) {
    BrUIControl* child = dialog->GetChildControl(i);
    BrUITextButton* button = child ? static_cast<BrUITextButton*>(child->SafeCast(&BrUITextButton::Type)) : nullptr;
    if (!button) continue;
    ++options;
    BrStringT<char> label;
    button->GetText(label);
    const std::string where = what + ", option \"" + label.c_str() + "\"";
    EXPECT_GE(button->GetPosX(), left - kEps) << where << ": starts left of the margin";
    EXPECT_NEAR(button->GetPosX() + button->GetWidth(), right, kEps) << where << ": not flush right";
    EXPECT_LE(button->GetPosY() + button->GetHeight(), bottom + kEps) << where << ": below the dialog";
  }
  EXPECT_EQ(options, dialog->GetNumOptions()) << what;
}

void Close() { Engine().GUI()->SetModalControl(nullptr); }

// The share of parchment-coloured pixels in a strip just above the dialog's bottom bar, on a frame drawn and shot
// now: the blank foot of the scroll, unless something is drawn over it.
double ParchmentShareAtFoot(PlayHost& host, PlayTree& tree, BrUIControl* dialog) {
  host.Frame();
  const fs::path file = tree.Media() / "dialogfoot.bmp";
  Shot shot;
  if (!host.Screenshot(file) || !ReadBmp(file, shot)) return -1.0;
  const float W = float(Engine().Render()->GetWidth()), H = float(Engine().Render()->GetHeight());
  const float bottom = dialog->GetPosY() + dialog->GetHeight();
  const int x0 = int((dialog->GetPosX() + 0.1f * dialog->GetWidth()) * W);
  const int x1 = int((dialog->GetPosX() + 0.9f * dialog->GetWidth()) * W);
  const int y0 = int((bottom - 0.055f) * H), y1 = int((bottom - 0.035f) * H);
  int parchment = 0, all = 0;
  for (int y = y0; y < y1 && y < shot.height; ++y)
    for (int x = x0; x < x1 && x < shot.width; ++x) {
      const uint32_t p = shot.At(x, y);
      const int r = int((p >> 16) & 0xFF), g = int((p >> 8) & 0xFF), b = int(p & 0xFF);
      ++all;
      if (r > 110 && g > 85 && b < r - 20) ++parchment;
    }
  return all ? double(parchment) / all : -1.0;
}

}  // namespace

TEST(DialogLayout, EveryScrollDialogOfTheGameKeepsItsTextAndOptionsInside) {
  PlayTree tree;
  tree.SetConfig("ShowIntro", "0");
  PlayHost host;
  ASSERT_TRUE(host.Start(4242));
  ASSERT_TRUE(host.RunUntilState("BrRAGGameStateMainMenu", 30.0f)) << host.State();
  host.Frame();

  // The difficulty choice, opened by the menu's button.
  ASSERT_TRUE(host.ClickControl("MMenuPlayGameBtn"));
  ExpectInside(OpenDialog(host), "new game");
  Close();

  // The exit question with each of its quips.
  BrRAGHUD* hud = static_cast<BrRAGHUD*>(host.Game()->GetHUD()->SafeCast(&BrRAGHUD::Type));
  ASSERT_NE(hud, nullptr);
  for (float r : {0.1f, 0.3f, 0.6f, 0.7f, 0.9f, 0.99f}) {
    HUDView::Show(hud, "dlg_exitgame", BrRAGHUD::ExitQuip(r));
    ExpectInside(OpenDialog(host), std::string("exit quip ") + BrRAGHUD::ExitQuip(r));
    Close();
  }

  // In play: the welcome hint, then every other hint of the game, the in-game exit question, the world's end.
  ASSERT_TRUE(host.ClickControl("MMenuPlayGameBtn"));
  host.Frame();
  ASSERT_TRUE(host.ClickControl("NewGameHard"));
  ASSERT_TRUE(host.RunUntilState("BrRAGGameStatePlaying", 5.0f)) << host.State();
  for (int i = 0; i < 90 && !Engine().GUI()->GetModalControl(); ++i) host.Frame();
  BrRAGUIDialog* welcome = OpenDialog(host);
  ExpectInside(welcome, "hint HintWelcome");
  // The hint reaches down over the player's inventory; the modal scroll stays on top of it.
  ASSERT_NE(welcome, nullptr);
  EXPECT_GT(welcome->GetPosY() + welcome->GetHeight(), 0.82f) << "the hint no longer reaches the inventory";
  EXPECT_GT(ParchmentShareAtFoot(host, tree, welcome), 0.9) << "the hint's foot is covered";
  Close();
  for (const char* hint : {"HintCamera", "HintCombat", "HintFliers", "HintMap", "HintQuickSlots", "HintEscPause",
                           "HintLantern", "HintDropItem", "HintRope", "HintDeeper"}) {
    host.Game()->ShowHint(hint);
    ExpectInside(OpenDialog(host), std::string("hint ") + hint);
    Close();
  }
  hud->ControlLeftClicked("IGMenuExitBtn");
  ExpectInside(OpenDialog(host), "in-game exit");
  Close();
  host.Map()->SetLevel(11);
  ExpectInside(OpenDialog(host), "world complete");
  Close();

  // The death scroll, with a long rank and killer.
  host.Player()->Killed("the Drowned Lamplighter");
  ExpectInside(OpenDialog(host), "game over");
  host.Leave();
}
