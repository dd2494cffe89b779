// The game's pointer as the player sees it in play: over the world and over the player's panels, never under
// them. Catches a pointer drawn before the panels of a HUD added after the one that holds it (the pack's cells
// hid the pointer whenever it was over them).
#include <gtest/gtest.h>

#include "adventure/flow/BrRAGInvItemCtrl.h"
#include "engine/kernel/kernel.h"
#include "engine/presentation/BrCursor.h"
#include "engine/presentation/BrGUI.h"
#include "engine/presentation/BrHUD.h"
#include "engine/presentation/BrRenderBase.h"
#include "tests/play/PlayRig.h"

using namespace brplay;

namespace {

// The frame drawn as the host draws it, with no step: between two such frames only what the test changed differs.
void DrawOnly() {
  BrRenderBase* render = Engine().Render();
  render->PreRender(ePreRenderClearAll);
  Engine().App()->Draw(render);
  Engine().GUI()->Draw(render);
  render->EndRender();
}

}  // namespace

TEST(PointerOverPanels, ThePointerOverAPackCellIsDrawnOverIt) {
  PlayTree tree;
  PlayHost host;
  tree.SetConfig("Hints", "0");
  ASSERT_TRUE(StartPlaying(tree, host, 4243, 3.0f));
  BrRAGInvItemCtrl* cell = FirstFilledCell();
  ASSERT_NE(cell, nullptr);
  BrCursor* cursor = host.Game()->GetHUD()->GetCursor(-1);
  ASSERT_NE(cursor, nullptr);
  const float w = float(Engine().Render()->GetWidth()), h = float(Engine().Render()->GetHeight());
  const int x0 = int(cell->GetPosX() * w), y0 = int(cell->GetPosY() * h);
  const int x1 = int((cell->GetPosX() + cell->GetWidth()) * w), y1 = int((cell->GetPosY() + cell->GetHeight()) * h);
  ASSERT_GT(x1 - x0, 8);
  ASSERT_GT(y1 - y0, 8);

  // The hot spot just inside the cell's corner, and a step for the pack to take the pointer as over the cell.
  const BrVector hot = cursor->GetClickPoint();
  cursor->CursorScreenX() = float(x0 + 3) - hot.x;
  cursor->CursorScreenY() = float(y0 + 3) - hot.y;
  host.Frame();
  Shot over, away;
  DrawOnly();
  ASSERT_TRUE(ScreenFrame(host, tree, "pointer_over.bmp", over));
  cursor->CursorScreenX() = -w;
  cursor->CursorScreenY() = -h;
  DrawOnly();
  ASSERT_TRUE(ScreenFrame(host, tree, "pointer_away.bmp", away));

  EXPECT_GT(DifferingPixels(Crop(over, x0, y0, x1 - x0, y1 - y0), Crop(away, x0, y0, x1 - x0, y1 - y0), 24), 30)
      << "the pointer over the pack's cell at " << x0 << "," << y0 << " is hidden under it";
}
