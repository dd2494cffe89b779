// The player in a real game and map: ranks and experience (one rank per call, the top rank, a configured rank
// getting its experience), rank drain, counters, hints and quick slots saved and loaded with their version
// conditions (the light index discarded), the lantern burning oil by difficulty, death by an empty lantern giving
// one game-over dialog with its level line, footsteps and walking frames (silent and frozen while flying), and
// the pack never announcing slot -1.
#include <gtest/gtest.h>

#include "RAGItemTestSupport.h"
#include "adventure/world/BrRAGItem.h"
#include "adventure/world/BrRAGMutator.h"
#include "engine/presentation/BrCursor.h"
#include "engine/presentation/BrHUD.h"
#include "engine/presentation/BrLightBase.h"
#include "engine/presentation/BrLightMgr.h"
#include "engine/presentation/BrUIDialog.h"

using ragitem::ItemWorld;

namespace {
const char* kConfig =
    "[Hero]\nType=BrRAGPlayer\nHealth=20\nSize=32\nRankNames=Novice,Fighter,Hero\nRankXPs=0,100,1000\n"
    "HasLantern=1\nAnimsDir=Anims\\hero\nAnimated=1\n\n"
    "[Veteran]\nType=Hero\nRank=2\n\n"
    "[Plain]\nType=BrRAGPlayer\nHealth=20\nSize=32\nOilBurnRate=1.0\n\n"
    "[Gem]\nType=BrRAGItem\n\n"
    "[Ghost]\nType=BrRAGPlayer\nIcon=Textures\\ghost.tga\nFacingIcon=Textures\\ghostf.tga\nAnimsDir=Anims\\none\n"
    "Animated=1\n\n";

// Reads a dialog's text (through a member pointer, so no object is cast to a class it is not).
struct DialogText : BrUIDialog {
  static std::string Of(BrUIControl* control) {
    BrUIDialog* dialog = static_cast<BrUIDialog*>(control->SafeCast(&BrUIDialog::Type));
    if (!dialog) return std::string();
    BrStringT<char> BrUIDialog::*member = &DialogText::m_Text;
    const BrStringT<char>& text = dialog->*member;
    return text.c_str() ? text.c_str() : "";
  }
};

// The game HUD's top-level and child controls named id.
std::vector<BrUIControl*> Controls(ItemWorld& world, const char* id) {
  std::vector<BrUIControl*> out;
  BrHUD* hud = world.Game()->GetHUD();
  for (int i = 0; hud && i < hud->GetNumChildControls(); ++i) {
    BrUIControl* c = hud->GetChildControl(i);
    if (c && c->IsValid() && c->GetID() == BrStringT<char>(id)) out.push_back(c);
  }
  return out;
}

bool Said(BrRAGPlayer* player, const std::string& text) {
  for (const std::string& m : ItemWorld::Messages(player))
    if (m == text) return true;
  return false;
}
}  // namespace

TEST(RAGPlayer, RanksRiseOneAtATimeAndDrainBackDown) {
  ItemWorld world(kConfig);
  BrRAGPlayer* plain = world.Spawn<BrRAGPlayer>("Plain");
  plain->AddXP(5000);
  EXPECT_EQ(plain->GetRank(), 1);
  EXPECT_EQ(plain->GetXP(), 0);
  EXPECT_STREQ(plain->GetRankName().c_str(), "Novice");

  BrRAGPlayer* hero = world.Spawn<BrRAGPlayer>("Hero");
  ASSERT_EQ(hero->GetNumRanks(), 3);
  const int health = hero->GetMaxHealth();
  const float speed = hero->GetGroundSpeed();
  hero->AddXP(2000);
  EXPECT_EQ(hero->GetRank(), 2);
  EXPECT_STREQ(hero->GetRankName().c_str(), "Fighter");
  EXPECT_EQ(hero->GetMaxHealth(), health + 15);
  EXPECT_FLOAT_EQ(hero->GetGroundSpeed(), speed + 5.0f);
  EXPECT_TRUE(Said(hero, "You are now a Fighter"));
  EXPECT_TRUE(Said(hero, "!!! LEVEL UP !!!"));
  EXPECT_GT(hero->GetPlayerHUD()->GetLevelUpTimer(), 0.0f);
  hero->AddXP(1);
  EXPECT_EQ(hero->GetRank(), 3);
  // At the top rank the shown experience is the top threshold.
  EXPECT_EQ(hero->GetXP(), 1000);

  hero->LevelDown();
  EXPECT_EQ(hero->GetRank(), 2);
  EXPECT_EQ(hero->GetXP(), 100);
  EXPECT_TRUE(Said(hero, "!!! RANK DRAIN !!!"));
  hero->LevelDown();
  hero->LevelDown();
  EXPECT_EQ(hero->GetRank(), 1);
  EXPECT_EQ(hero->GetMaxHealth(), health);

  // A configured rank reads its experience from its own table.
  BrRAGPlayer* veteran = world.Spawn<BrRAGPlayer>("Veteran");
  EXPECT_EQ(veteran->GetRank(), 2);
  EXPECT_EQ(veteran->GetXP(), 100);
}

TEST(RAGPlayer, SavedPlayersKeepCountersHintsAndQuickSlotsByVersion) {
  for (uint32_t version : {GEngineVer, 262u}) {
    SCOPED_TRACE(version);
    ItemWorld world(kConfig);
    BrRAGPlayer* hero = world.Spawn<BrRAGPlayer>("Hero");
    const int id = hero->GetID();
    hero->AddXP(150);
    hero->TargetKilled(BrStringT<char>("Rat"));
    hero->OnMapExplored();
    hero->AddShownHint(BrStringT<char>("Stairs"));
    hero->AddShownHint(BrStringT<char>("Stairs"));
    EXPECT_EQ(hero->GetNumShownHints(), 1);
    hero->AddOil(-40.0f);
    hero->AdjustLanternPower(0.1f);
    hero->GetPlayerHUD()->SetQuickSlot(3, BrStringT<char>("Potion"));

    ASSERT_TRUE(world.SaveAndReload(version));
    BrRAGPlayer* loaded = world.Get<BrRAGPlayer>(id);
    ASSERT_NE(loaded, nullptr);
    EXPECT_EQ(loaded->GetRank(), 2);
    EXPECT_EQ(loaded->GetXP(), 150);
    EXPECT_EQ(loaded->GetKillCount(), 1);
    EXPECT_EQ(loaded->GetMapsExploredCount(), 1);
    EXPECT_FLOAT_EQ(loaded->GetOilRemaining(), 60.0f);
    EXPECT_FLOAT_EQ(loaded->GetLanternPower(), 0.6f);
    EXPECT_EQ(loaded->HasSeenHint(BrStringT<char>("Stairs")), version >= 263);
    ASSERT_NE(loaded->GetPlayerHUD(), nullptr);
    EXPECT_STREQ(loaded->GetPlayerHUD()->GetQuickSlot(3).c_str(), "Potion");
    // The loaded player keeps the light it made for itself, one the light manager holds.
    ASSERT_NE(loaded->GetLightIndex(), -1);
    EXPECT_NE(world.dev.LightMgr()->GetLight(loaded->GetLightIndex()), nullptr);
    loaded->OnWorldChange();
    EXPECT_EQ(loaded->GetKillCount(), 0);
    EXPECT_EQ(loaded->GetMapsExploredCount(), 0);
  }
}

TEST(RAGPlayer, TheLanternBurnsOilByDifficultyAndAnEmptyOneKillsOnce) {
  ItemWorld world(kConfig);
  BrRAGPlayer* hero = world.Spawn<BrRAGPlayer>("Hero");
  EXPECT_FLOAT_EQ(BrRAGPlayer::mfOilBurnRate, 0.45f);
  hero->AdjustLanternPower(5.0f);
  EXPECT_FLOAT_EQ(hero->GetLanternLevel(), 0.8f);
  world.Game()->setDifficulty(1);
  hero->Step(1.0f);
  EXPECT_NEAR(hero->GetOilRemaining(), 100.0f - 0.36f, 1e-3f);
  world.Game()->setDifficulty(0);
  hero->Step(1.0f);
  EXPECT_NEAR(hero->GetOilRemaining(), 100.0f - 0.36f - 0.18f, 1e-3f);
  hero->AdjustLanternPower(-5.0f);
  EXPECT_FLOAT_EQ(hero->GetLanternLevel(), 0.25f);
  EXPECT_FLOAT_EQ(hero->GetLightRadius(), 0.25f * 6.0f * world.Map()->GridScale());
  // The lantern's light follows the player.
  BrLightBase* light = world.dev.LightMgr()->GetLight(hero->GetLightIndex());
  ASSERT_NE(light, nullptr);
  hero->Location() = BrVector(64.0f, 0.0f, 64.0f);
  hero->StopPathing();
  hero->Step(0.01f);
  EXPECT_EQ(light->GetPosition(), hero->GetCoords().Position);
  EXPECT_GE(light->GetRange(), hero->GetLightRadius());

  world.Map()->SetLevel(20);
  hero->AddOil(-100.0f);
  hero->Step(0.1f);
  hero->Step(0.1f);
  std::vector<BrUIControl*> dialogs = Controls(world, "dlg_gameover");
  ASSERT_EQ(dialogs.size(), 1u);
  const std::string text = DialogText::Of(dialogs[0]);
  EXPECT_NE(text.find("You died a Novice, on Level 10\nof the "), std::string::npos) << text;
  EXPECT_NE(text.find("You were killed by\n    an empty lantern"), std::string::npos) << text;
  EXPECT_TRUE(hero->IsValid());
}

TEST(RAGPlayer, DyingInTheLairNamesItInsteadOfALevel) {
  ItemWorld world(kConfig);
  BrRAGPlayer* hero = world.Spawn<BrRAGPlayer>("Plain");
  world.Map()->SetLevel(80);
  hero->Killed(BrStringT<char>("the Vellmire"));
  hero->Killed(BrStringT<char>("the Vellmire"));
  std::vector<BrUIControl*> dialogs = Controls(world, "dlg_gameover");
  ASSERT_EQ(dialogs.size(), 1u);
  EXPECT_EQ(DialogText::Of(dialogs[0]),
            "GAME OVER\n\nYou died a Novice,\nin the Vellmire's Lair\n\nYou were killed by\n    the Vellmire");
}

TEST(RAGPlayer, FootstepsAndWalkingFramesFollowSpeedAndStopWhileFlying) {
  ItemWorld world(kConfig);
  BrRAGPlayer* hero = world.Spawn<BrRAGPlayer>("Hero");
  ASSERT_EQ(hero->GetNumWalkFrames(), 8);
  ASSERT_TRUE(hero->isAnimated());
  ASSERT_FLOAT_EQ(hero->GetGroundSpeed(), 200.0f);
  hero->FaceCamera();
  // Far away, so the player keeps walking; it walks through open cells.
  hero->PathDestination() = BrVector(3000.0f, 0.0f, 0.0f);
  world.audio.ClearCalls();

  hero->Step(0.1f);
  EXPECT_EQ(hero->GetCurrentFrame(), 0);
  hero->Step(0.1f);  // 0.2 s: past the 0.15 s frame interval
  EXPECT_EQ(hero->GetCurrentFrame(), 1);
  EXPECT_EQ(world.Plays(BrRAGPlayer::muiLeftStepSFX) + world.Plays(BrRAGPlayer::muiRightStepSFX), 0);
  hero->Step(0.15f);  // 0.35 s: past the 0.333 s step interval
  EXPECT_EQ(world.Plays(BrRAGPlayer::muiLeftStepSFX), 1);
  EXPECT_EQ(hero->GetPortrait()->GetCurrentEffector(), unsigned(hero->GetWalkFrame(hero->GetCurrentFrame())));

  ASSERT_TRUE(hero->ApplyMutator(BrStringT<char>("Flying"), false));
  const int frame = hero->GetCurrentFrame();
  world.audio.ClearCalls();
  for (int i = 0; i < 10; ++i) hero->Step(0.1f);
  EXPECT_EQ(hero->GetCurrentFrame(), frame);
  EXPECT_EQ(world.Plays(BrRAGPlayer::muiLeftStepSFX) + world.Plays(BrRAGPlayer::muiRightStepSFX), 0);
  hero->FaceAway();
  hero->Step(0.2f);
  EXPECT_EQ(hero->GetPortrait()->GetCurrentEffector(), unsigned(hero->GetWalkFrame(frame + 4)));

  // Standing still returns to the first frame.
  hero->StopPathing();
  hero->Step(0.1f);
  EXPECT_EQ(hero->GetCurrentFrame(), 0);
}

TEST(RAGPlayer, AnAnimatedPlayerWhoseFramesFailedTurnsItsPortrait) {
  ItemWorld world(kConfig);
  for (const char* side : {"frmove", "bkmove"})
    for (int i = 0; i < 4; ++i)
      world.dev.Textures()->missing.insert(std::string("Anims\\none\\") + side + std::to_string(i) + ".tga");
  BrRAGPlayer* ghost = world.Spawn<BrRAGPlayer>("Ghost");
  ASSERT_FALSE(ghost->isAnimated());
  const BrBillboard* portrait = ghost->GetPortrait();
  ASSERT_NE(portrait->GetFacingEffector(), portrait->GetEffector());
  ghost->FaceCamera();
  EXPECT_EQ(portrait->GetCurrentEffector(), portrait->GetFacingEffector());
  ghost->FaceAway();
  EXPECT_EQ(portrait->GetCurrentEffector(), portrait->GetEffector());
}

TEST(RAGPlayer, AFullPackNeverAnnouncesSlotMinusOne) {
  ItemWorld world(kConfig);
  BrRAGPlayer* hero = world.Spawn<BrRAGPlayer>("Plain");
  for (int i = 0; i < 20; ++i) ASSERT_GE(world.Give(hero, "Gem") ? 0 : -1, 0);
  BrRAGItem* gem = world.Spawn<BrRAGItem>("Gem");
  EXPECT_EQ(hero->AddToInventory(gem->GetID()), -1);
  EXPECT_EQ(hero->Inventory().GetNumberOfItems(), 20);
}

TEST(RAGPlayer, MutatorIconsMakeACentredRowAndNameTheOneUnderTheCursor) {
  ItemWorld world(kConfig);
  BrRAGPlayer* hero = world.Spawn<BrRAGPlayer>("Plain");
  hero->DrawMutators(&world.dev);
  EXPECT_TRUE(world.dev.sprites.empty());

  ASSERT_TRUE(hero->ApplyMutator(BrStringT<char>("TestTimed"), false));
  ASSERT_TRUE(hero->ApplyMutator(BrStringT<char>("TestTimed(2)"), false));
  hero->GetMutator(BrStringT<char>("MUTTestTimed"), true)->Remove();
  ASSERT_EQ(hero->GetNumMutators(), 2);

  BrHUD* hud = world.Game()->GetHUD();
  ASSERT_NE(hud, nullptr);
  hud->SetCursor(hud->AddCursor(BrStringT<char>("Textures\\cursor.tga"), 0.5f, 0.5f));
  BrCursor* cursor = hud->GetCursor(-1);
  ASSERT_NE(cursor, nullptr);
  cursor->CursorScreenX() = 0.5f * 800.0f;
  cursor->CursorScreenY() = 0.1f * 600.0f;

  world.dev.sprites.clear();
  world.dev.texts.clear();
  hero->DrawMutators(&world.dev);
  // One valid icon of two entries: the row of one is centred.
  ASSERT_EQ(world.dev.sprites.size(), 1u);
  EXPECT_FLOAT_EQ(world.dev.sprites[0].x, 0.475f);
  EXPECT_FLOAT_EQ(world.dev.sprites[0].y, 0.075f);
  bool named = false;
  for (const auto& t : world.dev.texts) named = named || (t.text == "TestTimed(2)" && t.x == 0.5f && t.y == 0.175f);
  EXPECT_TRUE(named);
}
