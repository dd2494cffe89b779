// A game played through the real application: a new game at the start level on a small grid map with a player,
// the fade-in, pause and resume, a modal dialog freezing the map but not the controller, the level completing, and
// the controllers turning clicks and held keys into walking, picking up, attacking, camera turns, minimap zoom,
// lantern changes and quick slots, with the cursor choosing its shape from what lies under it.
#include <gtest/gtest.h>

#include <cmath>
#include <fstream>

#include "adventure/flow/BrRAGCursor.h"
#include "adventure/flow/BrRAGMiniMap.h"
#include "adventure/flow/BrRAGPlayerHUD.h"
#include "adventure/flow/BrRAGSlideCameraCtrl.h"
#include "adventure/world/BrRAGDemoEquipment.h"
#include "adventure/world/BrRAGMap.h"
#include "adventure/world/BrRAGPlayer.h"
#include "engine/kernel/BrController.h"
#include "engine/presentation/BrCursor.h"
#include "engine/presentation/BrSoundFX.h"
#include "tests/adventure/flow/FlowPlaySupport.h"

using namespace ragflow;

TEST(BrRAGPlay, ANewGameFadesInPausesResumesAndEndsWhenTheLevelIsCompleted) {
  Play p;
  ASSERT_NE(p.game, nullptr);
  p.run.Frame(0.05f);
  BrSoundFX* music = p.run.audio.GetAudio(BrRAGGameState::menuMusicSFX);
  ASSERT_NE(music, nullptr);
  music->SetIsPlaying(true);

  ASSERT_TRUE(p.run.RAGHUD()->ControlLeftClicked("NewGameMedium"));
  EXPECT_EQ(p.run.StateName(), "BrRAGGameStatePlaying");
  ASSERT_NE(p.Map(), nullptr);
  BrRAGPlayer* player = p.Player();
  ASSERT_NE(player, nullptr);
  EXPECT_EQ(p.Map()->GetLevel(), 1u);
  EXPECT_EQ(p.game->getDifficulty(), 1);
  EXPECT_FALSE(BrRAGGameState::menuMusicSFX.Ready());
  // The rotating camera orbits the player, zoomed fully out.
  BrRAGRotateCameraCtrl* rotate = p.Rotate();
  ASSERT_NE(rotate, nullptr);
  EXPECT_EQ(rotate->GetCameraTarget(), player);
  EXPECT_FLOAT_EQ(rotate->GetCameraDistance(), 800.0f);
  EXPECT_FLOAT_EQ(rotate->GetCameraHeight(), p.Map()->GetWallHeight() + p.Map()->GridScale());
  EXPECT_TRUE(Engine().GUI()->GetControl("ingame", true)->IsActive());

  // Black at entry, half after a second, gone after two.
  p.run.Frame(0.0f);
  EXPECT_NEAR(p.FadeAlpha(), 1.0f, 0.01f);
  for (int i = 0; i < 10; ++i) p.run.Frame(0.1f);
  EXPECT_NEAR(p.FadeAlpha(), 0.5f, 0.03f);
  for (int i = 0; i < 11; ++i) p.run.Frame(0.1f);
  EXPECT_LT(p.FadeAlpha(), 0.01f);
  // The camera stands on its orbit around the player.
  const BrVector camera = p.game->Camera()->GetCoords().Position;
  EXPECT_NEAR(camera.y - player->Location().y, rotate->GetCameraHeight(), 0.5f);

  // Paused: nothing steps, the sound is muted; resumed: it steps and sounds again.
  const int steps = p.Map()->steps;
  p.game->ChangeToState("BrRAGGameStatePaused");
  EXPECT_EQ(p.run.audio.CountOf("mute"), 1);
  for (int i = 0; i < 5; ++i) p.run.Frame(0.1f);
  EXPECT_EQ(p.Map()->steps, steps);
  p.game->ChangeToState("BrRAGGameStatePlaying");
  EXPECT_EQ(p.run.audio.CountOf("unmute"), 1);
  p.run.Frame(0.1f);
  EXPECT_EQ(p.Map()->steps, steps + 1);
  // Back from pause the map is the same one and no fade runs.
  EXPECT_EQ(p.Player(), player);
  EXPECT_LT(p.FadeAlpha(), 0.01f);

  // A modal dialog stops the map, not the controller.
  p.run.RAGHUD()->ControlLeftClicked("IGMenuExitBtn");
  ASSERT_TRUE(Engine().GUI()->IsModal());
  p.game->RightClick();
  BrController* menu = p.game->ActiveController();
  ASSERT_NE(menu, nullptr);
  EXPECT_TRUE(menu->IsA(BrRAGMenuCtrl::Type));
  p.run.Frame(0.1f);
  EXPECT_EQ(p.Map()->steps, steps + 1);
  EXPECT_FALSE(menu->IsRightClickPending());
  p.run.RAGHUD()->ControlLeftClicked("CancelModal");
  EXPECT_TRUE(p.game->ActiveController()->IsA(BrRAGRotateCameraCtrl::Type));

  // The level info reports the level done: the next step ends the level.
  ASSERT_NE(p.Map()->Place("DoneLevel", 0.0f, 0.0f), nullptr);
  p.run.Frame(0.1f);
  EXPECT_EQ(p.run.StateName(), "BrRAGGameStateCompleted");
}

TEST(BrRAGPlay, ANewGameBeginsAtTheConfiguredStartLevel) {
  Play p(5);
  p.run.Frame(0.05f);
  p.run.RAGHUD()->ControlLeftClicked("NewGameEasy");
  ASSERT_NE(p.Map(), nullptr);
  EXPECT_EQ(p.Map()->GetLevel(), 5u);
  EXPECT_EQ(p.game->getDifficulty(), 0);
  // The level change goes through the interlude, which comes back to play.
  EXPECT_TRUE(p.run.StateName() == "BrRAGGameStateInterlude" || p.run.StateName() == "BrRAGGameStatePlaying");
  EXPECT_TRUE(p.run.RunUntil("BrRAGGameStatePlaying", 5.0f));
  EXPECT_EQ(std::string(p.game->GetAutoSaveFilename().c_str()), "Saves\\autosave5.gin");

  // The debug level commands: five down stops at level 1, one down reaches 0 and no further, five up has no cap.
  p.game->DoMenuCommand(113);
  EXPECT_EQ(p.Map()->GetLevel(), 1u);
  p.game->DoMenuCommand(112);
  EXPECT_EQ(p.Map()->GetLevel(), 0u);
  p.game->DoMenuCommand(112);
  p.game->DoMenuCommand(113);
  EXPECT_EQ(p.Map()->GetLevel(), 0u);
  p.game->DoMenuCommand(114);
  p.game->DoMenuCommand(111);
  EXPECT_EQ(p.Map()->GetLevel(), 6u);
}

TEST(BrRAGPlay, KeysTurnTheCameraZoomTheMinimapTrimTheLanternAndUseQuickSlots) {
  Play p;
  p.run.Frame(0.05f);
  p.run.RAGHUD()->ControlLeftClicked("NewGameHard");
  BrRAGPlayer* player = p.Player();
  BrRAGRotateCameraCtrl* rotate = p.Rotate();
  ASSERT_TRUE(player && rotate);
  p.run.Frame(0.1f);

  // A turn key sets 65 degrees a second, damped at 3.5 per second of the step it is given.
  const float yaw = rotate->GetYaw();
  {
    HeldKey a('A');
    p.run.Frame(0.1f);
  }
  const float v = 65.0f - 0.1f * 3.5f * 65.0f;
  EXPECT_NEAR(rotate->GetYaw(), yaw + 0.1f * v, 1e-3f);
  EXPECT_NEAR(rotate->GetRotationVelocity(), v, 1e-3f);
  {
    HeldKey a('A'), d('D');  // both: no new turn, the old one keeps decaying
    p.run.Frame(0.1f);
  }
  EXPECT_NEAR(rotate->GetRotationVelocity(), v - 0.1f * 3.5f * v, 1e-3f);
  {
    HeldKey l('L');
    p.run.Frame(0.1f);
  }
  EXPECT_LT(rotate->GetRotationVelocity(), 0.0f);

  // Minimap zoom by key and by wheel.
  auto* minimap = static_cast<BrRAGMiniMap*>(p.game->GetMiniMap()->SafeCast(&BrRAGMiniMap::Type));
  ASSERT_NE(minimap, nullptr);
  const float before = minimap->GetCellResolution();
  {
    HeldKey q('Q');
    for (int i = 0; i < 5; ++i) p.run.Frame(0.1f);
  }
  const float out = minimap->GetCellResolution();
  EXPECT_NE(out, before);
  {
    HeldKey e('E');
    for (int i = 0; i < 5; ++i) p.run.Frame(0.1f);
  }
  EXPECT_NE(minimap->GetCellResolution(), out);
  const float wheel = minimap->GetCellResolution();
  p.game->MouseWheel(-120);
  EXPECT_NE(minimap->GetCellResolution(), wheel);

  // The lantern follows W and S by the step time.
  const float lantern = player->GetLanternLevel();
  {
    HeldKey s('S');
    p.run.Frame(0.1f);
  }
  EXPECT_LT(player->GetLanternLevel(), lantern);
  const float lower = player->GetLanternLevel();
  {
    HeldKey w('W');
    p.run.Frame(0.1f);
  }
  EXPECT_GT(player->GetLanternLevel(), lower);

  // A quick slot holding the axe's type equips the axe when its digit is held.
  BrDemoEntity* axe = p.Map()->Place("Axe", 0.0f, 0.0f);
  ASSERT_NE(axe, nullptr);
  axe->SetDrawnByMap(false);
  ASSERT_GE(player->AddToInventory(axe->GetID()), 0);
  auto* hud = static_cast<BrRAGPlayerHUD*>(player->GetHUD()->SafeCast(&BrRAGPlayerHUD::Type));
  ASSERT_NE(hud, nullptr);
  hud->AssignQuickSlot(3, "Axe");
  for (int i = 0; i < 4; ++i) p.run.Frame(0.1f);
  auto* equipment = static_cast<BrRAGDemoEquipment*>(axe->SafeCast(&BrRAGDemoEquipment::Type));
  ASSERT_NE(equipment, nullptr);
  EXPECT_FALSE(equipment->IsEquipped());
  {
    HeldKey three('3');
    p.run.Frame(0.1f);
  }
  EXPECT_TRUE(equipment->IsEquipped());
}

TEST(BrRAGPlay, ClicksWalkPickUpAndAttackWhatTheCursorShows) {
  Play p;
  p.run.Frame(0.05f);
  p.run.RAGHUD()->ControlLeftClicked("NewGameEasy");
  BrRAGPlayer* player = p.Player();
  ASSERT_NE(player, nullptr);
  for (int i = 0; i < 3; ++i) p.run.Frame(0.1f);
  BrHUD* hud = p.run.HUD();

  // Over open floor: the base cursor, and a click walks there.
  const BrVector floor = p.Map()->centre + BrVector(60.0f, 0.0f, -60.0f);
  p.PointAt(floor);
  p.run.Frame(0.05f);
  EXPECT_EQ(hud->GetCurrentCursor(), BrRAGCursor::muiBase);
  p.game->LeftClick();
  p.run.Frame(0.05f);
  // Whole pixels at this distance are a few world units apart.
  EXPECT_NEAR(player->PathDestination().x, floor.x, 8.0f);
  EXPECT_NEAR(player->PathDestination().z, floor.z, 8.0f);

  // Over an enemy the player can see and attack: the sword, and a click attacks it.
  BrDemoEntity* goblinEntity = p.Map()->Place("Goblin", -80.0f, 40.0f);
  ASSERT_NE(goblinEntity, nullptr);
  goblinEntity->SetDrawScale(BrVector(30.0f, 30.0f, 30.0f));
  auto* goblin = static_cast<BrRAGActor*>(goblinEntity->SafeCast(&BrRAGActor::Type));
  p.PointAt(goblin->Location());
  p.run.Frame(0.05f);
  p.run.Frame(0.05f);
  EXPECT_EQ(hud->GetCurrentCursor(), BrRAGCursor::muiMelee);
  EXPECT_EQ(hud->GetCursor(-1)->GetCursorTarget(), goblinEntity);
  p.game->LeftClick();
  p.run.Frame(0.05f);
  EXPECT_TRUE(player->IsInState("BrRAGStateAttack"));

  // A dialog opened over the enemy: the pointer is on the dialog, so the enemy is no target and its name is not
  // written over the dialog; closed, the pointer picks from the world again (the goblin, or the weapon it holds).
  goblin->SetTooltip("A goblin");
  p.run.Frame(0.05f);
  auto tooltipDrawn = [&p]() {
    for (const auto& text : p.run.render.texts)
      if (text.text == "A goblin") return true;
    return false;
  };
  EXPECT_TRUE(tooltipDrawn());
  p.run.RAGHUD()->ControlLeftClicked("IGMenuExitBtn");
  ASSERT_TRUE(Engine().GUI()->IsModal());
  p.PointAt(goblin->Location());
  p.run.Frame(0.05f);
  p.run.Frame(0.05f);
  EXPECT_EQ(hud->GetCurrentCursor(), BrRAGCursor::muiBase);
  EXPECT_EQ(hud->GetCursor(-1)->GetCursorTarget(), nullptr);
  EXPECT_FALSE(tooltipDrawn());
  Engine().GUI()->SetModalControl(nullptr);
  p.PointAt(goblin->Location());
  p.run.Frame(0.05f);
  p.run.Frame(0.05f);
  EXPECT_NE(hud->GetCursor(-1)->GetCursorTarget(), nullptr);

  // Over an item lying in the world: the hand, and a click heads for it with the pickup sound.
  BrDemoEntity* pickup = p.Map()->Place("AxePickup", 70.0f, 70.0f);
  ASSERT_NE(pickup, nullptr);
  pickup->SetDrawScale(BrVector(30.0f, 30.0f, 30.0f));
  p.PointAt(pickup->Location());
  p.run.Frame(0.05f);
  p.run.Frame(0.05f);
  EXPECT_EQ(hud->GetCurrentCursor(), BrRAGCursor::muiPickup);
  p.run.audio.ClearCalls();
  p.game->LeftClick();
  p.run.Frame(0.05f);
  EXPECT_EQ(player->GetTargetID(), pickup->GetID());
  int pickupSound = 0;
  for (const std::string& call : p.run.audio.Calls())
    if (call.find("play2d") == 0) ++pickupSound;
  EXPECT_EQ(pickupSound, 2);  // the click and the pickup

  // Paused: a release is dropped without a sound.
  p.game->ChangeToState("BrRAGGameStatePaused");
  p.run.audio.ClearCalls();
  p.game->LeftClick();
  EXPECT_FALSE(p.game->ActiveController()->IsLeftClickPending());
  EXPECT_EQ(p.run.audio.Calls().size(), 0u);
}

TEST(BrRAGPlay, HoldingTheButtonWalksAfterAFifthOfASecondAndAWalkDropsTheTarget) {
  Play p;
  p.NewGame();
  BrRAGPlayer* player = p.Player();
  ASSERT_NE(player, nullptr);
  for (int i = 0; i < 3; ++i) p.run.Frame(0.1f);
  // Object id 0 is a real object (here the player itself): a walk must not make it the target.
  ASSERT_EQ(player->GetID(), 0);

  const BrVector held = p.Map()->centre + BrVector(-50.0f, 0.0f, -40.0f);
  p.PointAt(held);
  p.run.Frame(0.05f);
  const BrVector before = player->PathDestination();
  p.game->LeftMouseDown();
  p.run.Frame(0.1f);
  p.run.Frame(0.1f);
  EXPECT_EQ(player->PathDestination().x, before.x);  // 0.2 s exactly is not yet a walk
  p.run.Frame(0.05f);
  EXPECT_NEAR(player->PathDestination().x, held.x, 8.0f);
  EXPECT_NEAR(player->PathDestination().z, held.z, 8.0f);
  EXPECT_EQ(player->GetTargetID(), -1);
  EXPECT_TRUE(player->IsInState("BrRAGStateNormal"));
}

TEST(BrRAGPlay, AGameLeftForTheMenuKeepsItsPlayersHUDOffTheMenusUntilPlayShowsItAgain) {
  Play p;
  p.run.Frame(0.05f);
  auto rankLines = [&p]() {
    int n = 0;
    for (const auto& text : p.run.render.texts)
      if (text.text.find("Novice") != std::string::npos) ++n;
    return n;
  };
  p.run.RAGHUD()->ControlLeftClicked("NewGameEasy");
  p.run.Frame(0.1f);
  EXPECT_GT(rankLines(), 0);

  // Quit to the menu: the player stays until a new game, its HUD does not show over the menus.
  p.run.RAGHUD()->ControlLeftClicked("IGMenuExitBtn");
  p.run.RAGHUD()->ControlLeftClicked("ExitIngame");
  ASSERT_EQ(p.run.StateName(), "BrRAGGameStateMainMenu");
  ASSERT_NE(p.Player(), nullptr);
  p.run.Frame(0.1f);
  EXPECT_EQ(rankLines(), 0);
  p.run.RAGHUD()->ControlLeftClicked("MMenuLoadGameBtn");
  p.run.Frame(0.1f);
  EXPECT_EQ(p.run.StateName(), "BrRAGGameStateLoadGameMenu");
  EXPECT_EQ(rankLines(), 0);

  // A new game shows the new player's HUD.
  p.run.RAGHUD()->ControlLeftClicked("LoadBackBtn");
  p.run.RAGHUD()->ControlLeftClicked("NewGameEasy");
  p.run.Frame(0.1f);
  EXPECT_EQ(p.run.StateName(), "BrRAGGameStatePlaying");
  EXPECT_GT(rankLines(), 0);
}
