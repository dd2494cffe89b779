// The player as the real rendering device draws it while walking about: the camera stays on its orbit around the
// player, and the player's picture stays on screen whichever way it faces. Catches a player that vanishes when it
// turns to walk the other way (a mirrored picture culled as a back face), which looks as though the camera has
// lost the player in the dark.
#include <gtest/gtest.h>

#include <cmath>

#include "adventure/flow/BrRAGSlideCameraCtrl.h"
#include "engine/kernel/BrBillboard.h"
#include "engine/kernel/BrCamera.h"
#include "engine/kernel/BrController.h"
#include "engine/presentation/BrGUI.h"
#include "engine/presentation/BrRenderBase.h"
#include "tests/play/PlayRig.h"

using namespace brplay;

namespace {

// Pixels of the player's blue coat in a box around a screen point, on a frame drawn and shot now.
int CoatPixelsAround(PlayHost& host, PlayTree& tree, int cx, int cy, const char* name) {
  host.Frame();
  const fs::path file = tree.Media() / (std::string(name) + ".bmp");
  if (!host.Screenshot(file)) return -1;
  Shot shot;
  if (!ReadBmp(file, shot)) return -1;
  int count = 0;
  for (int y = cy - 40; y <= cy + 40; ++y)
    for (int x = cx - 30; x <= cx + 30; ++x) {
      if (x < 0 || y < 0 || x >= shot.width || y >= shot.height) continue;
      const uint32_t p = shot.At(x, y);
      const int r = int((p >> 16) & 0xFF), b = int(p & 0xFF);
      if (b > 70 && b > r + 30) ++count;
    }
  return count;
}

}  // namespace

TEST(PortraitFacing, TheCameraOrbitsTheWalkingPlayerAndItsPictureShowsFacingEitherWay) {
  PlayTree tree;
  tree.SetConfig("ShowIntro", "0");
  tree.SetConfig("Hints", "0");
  tree.SetConfig("StartLevel", "12");
  PlayHost host;
  ASSERT_TRUE(host.Start(777));
  ASSERT_TRUE(host.RunUntilState("BrRAGGameStateMainMenu", 30.0f)) << host.State();
  host.Frame();
  ASSERT_TRUE(host.ClickControl("MMenuPlayGameBtn"));
  host.Frame();
  ASSERT_TRUE(host.ClickControl("NewGameMedium"));
  ASSERT_TRUE(host.RunUntilState("BrRAGGameStatePlaying", 5.0f)) << host.State();
  host.Run(2.5f);
  BrRAGPlayer* player = host.Player();
  ASSERT_NE(player, nullptr);
  // A novice this deep can be killed by the level's monsters within the walk; the picture is what is tested.
  player->SetMaxHealth(100000);
  player->SetHealth(100000);
  BrController* controller = host.Game()->ActiveController();
  auto* rotate =
      controller ? static_cast<BrRAGRotateCameraCtrl*>(controller->SafeCast(&BrRAGRotateCameraCtrl::Type)) : nullptr;
  ASSERT_NE(rotate, nullptr);

  // A walk as far as the player can see (a walk order goes in a straight line): every frame the camera stands at its orbit distance from wherever the player is.
  BrRAGMap* map = host.Map();
  BrVector far;
  float farthest = 0.0f;
  for (int y = 0; y < map->GridHeight(); ++y)
    for (int x = 0; x < map->GridWidth(); ++x) {
      BrVector centre;
      BrRAGCell* cell = map->GetCell(x, y);
      if (!cell || !cell->IsOccupied() || !map->CellCentre(x, y, &centre)) continue;
      BrVector from = player->Location();
      if (!map->CellTrace(&from, &centre)) continue;
      const float d = (centre - player->Location()).Size();
      if (d > farthest) {
        farthest = d;
        far = centre;
      }
    }
  ASSERT_GT(farthest, 2.0f * map->GridScale()) << "no long straight walk from the start";
  const BrVector start = player->Location();
  // As a click on the floor orders it.
  player->ChangeToState("BrRAGStateNormal");
  player->HeadForTargetObj(0);
  player->PathTo(far);
  for (int i = 0; i < 300; ++i) {
    host.Frame(1.0f / 30.0f, i % 10 == 0);
    ASSERT_EQ(rotate->GetCameraTarget(), player);
    const BrVector offset = host.Game()->Camera()->GetCoords().Position - player->Location();
    ASSERT_NEAR(std::sqrt(offset.x * offset.x + offset.z * offset.z), rotate->GetCameraDistance(), 1.0f)
        << "frame " << i;
  }
  EXPECT_GT((player->Location() - start).Size(), map->GridScale()) << "the player did not walk";

  // Standing still, seen as it is and then turned the other way round.
  player->PathTo(player->Location());
  host.Run(0.5f);
  int px = 0, py = 0;
  ASSERT_TRUE(Engine().Render()->Project(player->Location(), px, py));
  const int facing = CoatPixelsAround(host, tree, px, py, "facing");
  ASSERT_GT(facing, 40) << "the player is not on screen where the camera looks";
  player->Portrait().FlipHorizontal();
  const int turned = CoatPixelsAround(host, tree, px, py, "turned");
  EXPECT_GT(turned, facing / 2) << "the turned player vanished";
  host.Leave();
}
