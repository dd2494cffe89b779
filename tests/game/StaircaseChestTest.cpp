// Staircases and chests: catches a staircase dialog with the wrong options or a next level that never comes, a
// rope that is not asked for, chest monsters that never appear (or always do), monsters with the wrong figures,
// the wrong number or spread of items, equipment bonuses above their maximum, and chests that open twice.
#include <gtest/gtest.h>

#include <cmath>

#include "adventure/flow/BrRAGHUD.h"
#include "adventure/world/BrRAGPickup.h"
#include "engine/presentation/BrUIDialog.h"
#include "game/Chest.h"
#include "game/Enemy.h"
#include "game/Staircase.h"
#include "tests/game/GameTestSupport.h"

using namespace brgame;

namespace {

const char* cScenery =
    "[RopeStairs]\nType=Staircase\nRarity=1\nLevels=90,90\nUseRequires=Rope\n"
    "[Rope]\nType=BrRAGItem\nRarity=1\nLevels=1,80\nNoAutoSpawn=1\n"
    "[MimicChest]\nType=Chest\nRarity=1\nLevels=90,90\nRisk=1\n"
    "[NeverChest]\nType=Chest\nRarity=1\nLevels=90,90\nRisk=-3\n"
    "[OldChest]\nType=Chest\nRarity=1\nLevels=90,90\n"
    "[GemChest]\nType=Chest\nRarity=1\nLevels=90,90\nRisk=0\nOpenIcon=Textures\\open.tga\n"
    "[ChestMonster]\nType=Enemy\nRarity=1\nLevels=90,90\nNoAutoSpawn=1\n"
    "[Gem]\nType=BrRAGItem\nRarity=1\nLevels=1,80\nNoAutoSpawn=1\n"
    "[PickupGem]\nType=BrRAGPickup\nRarity=0.5\nLevels=1,80\n"
    "[Sword]\nType=BrRAGWeapon\nRarity=1\nLevels=1,80\nNoAutoSpawn=1\n"
    "[PickupSword]\nType=BrRAGDemoEquipmentPickup\nRarity=0.5\nLevels=1,80\nMaxBonus=2\n";

// The options of a dialog, in order.
struct DialogSlots : BrUIDialog {
  static TDArray<_dialogoption>& Options(BrUIDialog* dialog) { return dialog->*(&DialogSlots::m_Options); }
};

template <class T>
T* Spawn(BrRogueMap* map, const char* type) {
  BrDemoEntity* entity = map->SpawnScripted(type);
  T* object = entity ? static_cast<T*>(entity->SafeCast(&T::Type)) : nullptr;
  if (object) map->AddObject(object);
  return object;
}

void GoToLevel(BrRogueMap* map, unsigned int level) {
  map->SetLevel(level);
  map->Step(0.0f);
  ASSERT_EQ(map->GetLevel(), level);
}

// Pickups lying about radius from the chest, horizontally.
std::vector<BrRAGPickup*> AroundChest(BrRogueMap* map, Chest* chest, float radius) {
  std::vector<BrRAGPickup*> found;
  for (BrRAGPickup* pickup : ObjectsOf<BrRAGPickup>(map)) {
    BrVector d = pickup->Location() - chest->Location();
    d.y = 0.0f;
    if (std::fabs(d.Size() - radius) < 0.01f) found.push_back(pickup);
  }
  return found;
}

}  // namespace

TEST(Staircase, OffersTheNextLevelAndMayAskForARope) {
  GameWorld world(DefaultGameConfig() + cScenery);
  Game game(3u);
  BrRogueMap* map = game.Map();
  std::vector<Staircase*> stairs = ObjectsOf<Staircase>(map);
  ASSERT_EQ(stairs.size(), 1u);
  EXPECT_EQ(stairs[0]->GetTargetLevel(0), 2u);
  BrRAGPlayer* player = game.Player();

  stairs[0]->UsedBy(player);
  BrUIControl* control = game.App()->GetHUD()->GetControl("dlg_staircase", true);
  ASSERT_NE(control, nullptr);
  BrUIDialog* dialog = static_cast<BrUIDialog*>(control);
  TDArray<_dialogoption>& options = DialogSlots::Options(dialog);
  ASSERT_EQ(options.GetCount(), 2);
  EXPECT_EQ(options[0].label, BrStringT<char>("No"));
  EXPECT_EQ(options[0].id, BrStringT<char>("CancelModal"));
  EXPECT_EQ(options[1].label, BrStringT<char>("Yes"));
  EXPECT_EQ(options[1].id, BrStringT<char>("DialogNextLevel"));

  // "Yes" takes the game down one level.
  BrRAGHUD* hud = static_cast<BrRAGHUD*>(game.App()->GetHUD()->SafeCast(&BrRAGHUD::Type));
  ASSERT_NE(hud, nullptr);
  EXPECT_TRUE(hud->ControlLeftClicked("DialogNextLevel"));
  map->Step(0.0f);
  EXPECT_EQ(map->GetLevel(), 2u);
  EXPECT_EQ(game.Player(), player);

  // A staircase that needs a rope cannot be used without one.
  Staircase* roped = Spawn<Staircase>(map, "RopeStairs");
  ASSERT_NE(roped, nullptr);
  EXPECT_EQ(roped->GetTargetLevel(0), 3u);
  EXPECT_FALSE(roped->CanUse(player));
  BrDemoEntity* rope = map->SpawnScripted("Rope");
  ASSERT_NE(rope, nullptr);
  map->AddObject(rope);
  player->AddToInventory(rope->GetID());
  EXPECT_TRUE(roped->CanUse(player));
}

TEST(Chest, RiskDecidesMonstersWhichTakeTheLevelsFigures) {
  GameWorld world(DefaultGameConfig() + cScenery);
  Game game(3u);
  BrRogueMap* map = game.Map();
  for (int i = 0; i < 5; ++i) {
    EXPECT_TRUE(Spawn<Chest>(map, "MimicChest")->IsMonster());
    EXPECT_FALSE(Spawn<Chest>(map, "NeverChest")->IsMonster());
    EXPECT_FALSE(Spawn<Chest>(map, "OldChest")->IsMonster());
  }

  GoToLevel(map, 8);
  Chest* mimic = Spawn<Chest>(map, "MimicChest");
  mimic->Location() = BrVector(10.0f, 20.0f, 30.0f);
  mimic->SetDrawScale(BrVector(50.0f, 60.0f, 0.0f));
  const size_t before = ObjectsOf<Enemy>(map).size();
  mimic->UsedBy(game.Player());
  EXPECT_FALSE(mimic->IsValid());
  std::vector<Enemy*> enemies = ObjectsOf<Enemy>(map);
  ASSERT_EQ(enemies.size(), before + 1);
  Enemy* monster = nullptr;
  for (Enemy* enemy : enemies)
    if (std::string(enemy->GetName()) == "ChestMonster") monster = enemy;
  ASSERT_NE(monster, nullptr);
  EXPECT_EQ(monster->GetMaxHealth(), 32);
  EXPECT_EQ(monster->GetHealth(), 32);
  EXPECT_FLOAT_EQ(monster->GetHitProbability(), 2.0f);
  EXPECT_FLOAT_EQ(monster->GetArmourClass(), 2.0f);
  EXPECT_FLOAT_EQ(monster->GetGroundSpeed(), 16.0f);
  EXPECT_EQ(monster->GetXPWorth(), 32);
  EXPECT_EQ(monster->GetIQ(), 1);
  EXPECT_TRUE(monster->Location() == BrVector(10.0f, 20.0f, 30.0f));
  EXPECT_FLOAT_EQ(monster->GetDrawScale().x, 50.0f);
}

TEST(Chest, OpensOnceSpillingOneItemPerTenLevels) {
  GameWorld world(DefaultGameConfig() + cScenery);
  Game game(3u);
  BrRogueMap* map = game.Map();
  struct Case {
    unsigned int level;
    size_t items;
  };
  for (Case c : {Case{9, 1}, Case{10, 2}, Case{20, 3}}) {
    GoToLevel(map, c.level);
    Chest* chest = Spawn<Chest>(map, "GemChest");
    ASSERT_NE(chest, nullptr);
    chest->Location() = BrVector(5000.0f, 0.0f, 5000.0f);
    chest->SetDrawScale(BrVector(40.0f, 40.0f, 0.0f));
    ASSERT_TRUE(chest->CanUse(game.Player()));
    world.Audio().ClearCalls();
    chest->UsedBy(game.Player());
    EXPECT_TRUE(chest->IsValid());
    EXPECT_TRUE(Chest::miOpenSFX.Ready());
    int plays = 0;
    for (const std::string& call : world.Audio().Calls())
      plays += call.rfind("play3d " + std::to_string(Chest::miOpenSFX.GetID()) + " ", 0) == 0 ? 1 : 0;
    EXPECT_EQ(plays, 1);
    EXPECT_EQ(chest->Portrait().GetCurrentEffector(), chest->Portrait().GetFacingEffector());
    EXPECT_EQ(world.Render().Effectors()->names[chest->Portrait().GetFacingEffector()], "BB_Textures\\open.tga");

    std::vector<BrRAGPickup*> items = AroundChest(map, chest, 50.0f);
    ASSERT_EQ(items.size(), c.items) << "level " << c.level;
    if (c.items == 3) {
      // Equal angles from a random start: every pair 120 degrees apart.
      for (size_t i = 0; i < 3; ++i) {
        BrVector a = items[i]->Location() - chest->Location();
        BrVector b = items[(i + 1) % 3]->Location() - chest->Location();
        a.y = b.y = 0.0f;
        const float cosine = (a | b) / (a.Size() * b.Size());
        EXPECT_NEAR(cosine, -0.5f, 0.001f);
      }
    }
    for (BrRAGPickup* item : items) {
      EXPECT_FLOAT_EQ(item->Location().y, item->GetDrawScale().x);
      BrRAGDemoEquipmentPickup* sword =
          static_cast<BrRAGDemoEquipmentPickup*>(item->SafeCast(&BrRAGDemoEquipmentPickup::Type));
      if (sword) {
        EXPECT_GE(sword->GetBonus(), 1);
        EXPECT_LE(sword->GetBonus(), sword->GetMaxBonus());
      }
    }
    // Opened once, it cannot be opened (and filled) again.
    EXPECT_FALSE(chest->CanUse(game.Player()));
  }
}

TEST(Chest, WithNothingToHoldOpensEmpty) {
  GameWorld world(
      "[Stairs]\nType=Staircase\nRarity=1\nLevels=1,80\n"
      "[GemChest]\nType=Chest\nRarity=1\nLevels=90,90\nRisk=0\nOpenIcon=Textures\\open.tga\n");
  Game game(3u);
  BrRogueMap* map = game.Map();
  Chest* chest = Spawn<Chest>(map, "GemChest");
  ASSERT_NE(chest, nullptr);
  const int objects = int(ObjectsOf<BrGameObj>(map).size());
  chest->UsedBy(game.Player());
  EXPECT_TRUE(chest->IsValid());
  EXPECT_EQ(int(ObjectsOf<BrGameObj>(map).size()), objects);
  EXPECT_FALSE(chest->CanUse(game.Player()));
}

TEST(Chest, NeverStandsInTheStaircasesCell) {
  // One small room: few inner cells for the staircase and the chest to share.
  GameWorld world(
      "[Closet]\nType=BrRogueLevelInfo\nRarity=1\nLevels=1,80\nRoomCount=1\nCavernCount=0\n"
      "[Stairs]\nType=Staircase\nRarity=1\nLevels=1,80\n"
      "[SmallChest]\nType=Chest\nRarity=1\nLevels=1,80\nRisk=0\n");
  Game game(1u);
  BrRogueMap* map = game.Map();
  int placed = 0;
  for (unsigned int seed = 1; seed <= 150; ++seed) {
    BrRogueMap::SetSeedForTests(seed);
    GoToLevel(map, 2);
    std::vector<Staircase*> stairs = ObjectsOf<Staircase>(map);
    std::vector<Chest*> chests = ObjectsOf<Chest>(map);
    ASSERT_EQ(stairs.size(), 1u);
    ASSERT_EQ(chests.size(), 1u);
    BrVector a = stairs[0]->Location();
    BrVector b = chests[0]->Location();
    int ax = -1, ay = -1, bx = -2, by = -2;
    ASSERT_NE(map->GetCell(ax, ay, &a), nullptr);
    ASSERT_NE(map->GetCell(bx, by, &b), nullptr);
    EXPECT_FALSE(ax == bx && ay == by) << "seed " << seed << ": both in cell " << ax << "," << ay;
    ++placed;
  }
  EXPECT_EQ(placed, 150);
}
