// A modal dialog veils the whole screen once, evenly: the main menu's title and its buttons, the dungeon, the
// minimap and the player's HUD (the inventory cell under the pointer with them, the HUD's numbers and words
// too) all lose the same share of light, while the dialog's own words stay above the veil.
#include <gtest/gtest.h>

#include <algorithm>

#include "adventure/flow/BrRAGInvItemCtrl.h"
#include "engine/presentation/BrCursor.h"
#include "engine/presentation/BrGUI.h"
#include "engine/presentation/BrHUD.h"
#include "engine/presentation/BrRenderBase.h"
#include "platform/win32/win32.h"
#include "tests/play/PlayRig.h"

using namespace brplay;

namespace {

struct Area {
  const char* name;
  float x0, y0, x1, y1;
};

// Summed channels of the area's pixels that were lit before (so that black stays out of the share).
double Light(const Shot& s, const Shot& before, const Area& a) {
  double sum = 0;
  for (int y = int(a.y0 * s.height); y < int(a.y1 * s.height); ++y)
    for (int x = int(a.x0 * s.width); x < int(a.x1 * s.width); ++x) {
      const uint32_t b = before.At(x, y);
      if (((b >> 16) & 0xFF) + ((b >> 8) & 0xFF) + (b & 0xFF) < 90) continue;
      const uint32_t p = s.At(x, y);
      sum += ((p >> 16) & 0xFF) + ((p >> 8) & 0xFF) + (p & 0xFF);
    }
  return sum;
}

// The share of its light the area's near-white pixels (the HUD's numbers and words) keep under the veil.
double TextShare(const Shot& open, const Shot& before, const Area& a) {
  double lit = 0, kept = 0;
  for (int y = int(a.y0 * open.height); y < int(a.y1 * open.height); ++y)
    for (int x = int(a.x0 * open.width); x < int(a.x1 * open.width); ++x) {
      const uint32_t b = before.At(x, y);
      const int sum = int((b >> 16) & 0xFF) + int((b >> 8) & 0xFF) + int(b & 0xFF);
      if (sum < 600) continue;
      const uint32_t p = open.At(x, y);
      lit += sum;
      kept += ((p >> 16) & 0xFF) + ((p >> 8) & 0xFF) + (p & 0xFF);
    }
  return lit > 0 ? kept / lit : -1.0;
}

// The share of its light each area keeps under the veil.
void ExpectEvenVeil(const Shot& open, const Shot& before, std::initializer_list<Area> areas) {
  for (const Area& a : areas) {
    const double lit = Light(before, before, a);
    ASSERT_GT(lit, 0.0) << a.name << " shows nothing to veil";
    const double share = Light(open, before, a) / lit;
    EXPECT_GT(share, 0.35) << a.name << " is veiled more than once";
    EXPECT_LT(share, 0.65) << a.name << " is not veiled";
  }
}

}  // namespace

TEST(Veil, TheQuitQuestionVeilsTheMainMenuTitleAndButtonsAlike) {
  PlayTree tree;
  PlayHost host;
  ASSERT_TRUE(host.Start(5201));
  EscapeToMainMenu(host);
  ASSERT_EQ(host.State(), "BrRAGGameStateMainMenu");
  Shot before, open;
  ASSERT_TRUE(ScreenFrame(host, tree, "menu.bmp", before));
  ASSERT_TRUE(host.ClickControl("MMenuExitGameBtn"));
  host.Run(0.3f);
  ASSERT_NE(host.Control("dlg_exitgame"), nullptr);
  ASSERT_TRUE(ScreenFrame(host, tree, "menu_quit.bmp", open));
  ExpectEvenVeil(open, before,
                 {{"title", 0.25f, 0.02f, 0.75f, 0.18f},
                  {"Play button", 0.79f, 0.28f, 0.95f, 0.33f},
                  {"Exit button", 0.79f, 0.73f, 0.86f, 0.78f}});
  host.Leave();
}

TEST(Veil, TheHotKeyPromptAndTheInGameMenuVeilTheDungeonAndThePlayersHUDAlike) {
  PlayTree tree;
  tree.SetConfig("Hints", "0");
  PlayHost host;
  ASSERT_TRUE(host.Start(5202));
  EscapeToMainMenu(host);
  ASSERT_TRUE(NewGameFromMenu(host));
  host.Run(3.0f);
  BrRAGInvItemCtrl* cell = FirstFilledCell();
  ASSERT_NE(cell, nullptr);
  BrRenderBase* render = Engine().Render();
  const int x = int((cell->GetPosX() + cell->GetWidth() * 0.5f) * float(render->GetWidth()));
  const int y = int((cell->GetPosY() + cell->GetHeight() * 0.5f) * float(render->GetHeight()));
  // The pointer rests on the item: its cell is lit and its name shown.
  BrCursor* cursor = host.Game()->GetHUD()->GetCursor(-1);
  ASSERT_NE(cursor, nullptr);
  const BrVector hot = cursor->GetClickPoint();
  cursor->CursorScreenX() = float(x) - hot.x;
  cursor->CursorScreenY() = float(y) - hot.y;
  host.Run(0.3f);
  Shot before, prompt, menu;
  ASSERT_TRUE(ScreenFrame(host, tree, "play.bmp", before));
  const float cx = cell->GetPosX(), cy = cell->GetPosY(), cw = cell->GetWidth(), ch = cell->GetHeight();
  const std::initializer_list<Area> areas = {
      {"minimap", 0.81f, 0.01f, 0.99f, 0.25f},    {"weapon panel", 0.0f, 0.0f, 0.2f, 0.44f},
      {"player cell", 0.0f, 0.75f, 0.15f, 1.0f},  {"lantern cell", 0.85f, 0.75f, 1.0f, 1.0f},
      {"hovered cell", cx, cy, cx + cw, cy + ch}, {"item name", 0.3f, 0.74f, 0.7f, 0.79f}};

  brW32InjectKey(VK_SHIFT, TRUE);
  ASSERT_TRUE(host.ClickAt(x, y));
  brW32InjectKey(VK_SHIFT, FALSE);
  host.Run(0.3f);
  ASSERT_NE(host.Control("hotkeyctrl"), nullptr);
  ASSERT_TRUE(ScreenFrame(host, tree, "prompt.bmp", prompt));
  ExpectEvenVeil(prompt, before, areas);

  host.HoldKey(VK_ESCAPE, 2);
  host.Run(0.3f);
  ASSERT_EQ(host.Control("hotkeyctrl"), nullptr);
  host.HoldKey(VK_ESCAPE, 2);
  ASSERT_TRUE(host.RunUntilState("BrRAGGameStateInGameMenu", 2.0f)) << host.State();
  host.Run(0.3f);
  ASSERT_TRUE(ScreenFrame(host, tree, "menu.bmp", menu));
  ExpectEvenVeil(menu, before, areas);
  host.Leave();
}

// The health panel's green gives the veil's share; the white of the health number, the inventory cells'
// counts, the rank line and the quick-slot numbers keep as much of their light as the panel, no more.
void ExpectTextVeiledLikeThePanel(const Shot& open, const Shot& before, const char* screen) {
  const Area healthPanel{"health panel", 0.01f, 0.78f, 0.14f, 0.98f};
  const double panel = Light(open, before, healthPanel) / Light(before, before, healthPanel);
  ASSERT_LT(panel, 0.65) << screen << ": the health panel is not veiled";
  for (const Area& a :
       {Area{"health number", 0.10f, 0.75f, 0.15f, 0.79f}, Area{"inventory counts", 0.25f, 0.8f, 0.75f, 0.88f},
        Area{"rank line", 0.25f, 0.95f, 0.4f, 0.99f}, Area{"quick-slot numbers", 0.3f, 0.0f, 0.7f, 0.05f}}) {
    const double text = TextShare(open, before, a);
    ASSERT_GT(text, 0.0) << screen << ": " << a.name << " shows no text to veil";
    EXPECT_LT(text, panel * 1.5) << screen << ": " << a.name << " is drawn over the veil";
    EXPECT_GT(text, panel * 0.6) << screen << ": " << a.name << " is veiled more than the panel";
  }
}

TEST(Veil, TheInGameMenuAndItsExitQuestionDimTheHUDsNumbersLikeThePanelsUnderThem) {
  PlayTree tree;
  tree.SetConfig("Hints", "0");
  PlayHost host;
  ASSERT_TRUE(host.Start(5203));
  EscapeToMainMenu(host);
  ASSERT_TRUE(NewGameFromMenu(host));
  host.Run(3.0f);
  Shot before, menu, open;
  ASSERT_TRUE(ScreenFrame(host, tree, "play.bmp", before));
  host.HoldKey(VK_ESCAPE, 2);
  ASSERT_TRUE(host.RunUntilState("BrRAGGameStateInGameMenu", 2.0f)) << host.State();
  host.Run(0.3f);
  ASSERT_TRUE(ScreenFrame(host, tree, "menu.bmp", menu));
  ExpectTextVeiledLikeThePanel(menu, before, "in-game menu");

  ASSERT_TRUE(host.ClickControl("IGMenuExitBtn"));
  host.Run(0.3f);
  ASSERT_NE(host.Control("dlg_exitingamemenu"), nullptr);
  ASSERT_TRUE(ScreenFrame(host, tree, "exit.bmp", open));
  ExpectTextVeiledLikeThePanel(open, before, "exit question");

  // The question's own words stay above its veil: black letters on the lit parchment.
  int letters = 0, parchment = 0;
  for (int y = int(0.36f * open.height); y < int(0.45f * open.height); ++y)
    for (int x = int(0.33f * open.width); x < int(0.6f * open.width); ++x) {
      const uint32_t p = open.At(x, y);
      const int sum = int((p >> 16) & 0xFF) + int((p >> 8) & 0xFF) + int(p & 0xFF);
      letters += sum < 90 ? 1 : 0;
      parchment += sum > 300 ? 1 : 0;
    }
  EXPECT_GT(letters, 200) << "the question's words are missing or veiled";
  EXPECT_GT(parchment, 2000) << "the dialog itself is veiled";
  host.Leave();
}
