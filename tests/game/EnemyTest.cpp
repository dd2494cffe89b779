// Enemies, food and fuel: catches monsters not scaled by difficulty, monsters that hunt beyond the lantern's
// light, loot lost on death (or dropped into an exit hole), missing corpses, random draws on an empty death, and
// food and fuel that heal, fill or store the wrong amount.
#include <gtest/gtest.h>

#include "adventure/world/BrRAGPickup.h"
#include "core/BrNumeric.h"
#include "game/Enemy.h"
#include "game/Food.h"
#include "tests/game/GameTestSupport.h"

using namespace brgame;

namespace {

const char* cCreatures =
    "[Brute]\nType=Enemy\nRarity=1\nLevels=1,80\nNoAutoSpawn=1\nSize=1\nStrength=5\nLeavesCorpse=0.5\nHealth=20\n"
    "[Meek]\nType=Enemy\nRarity=1\nLevels=1,80\nNoAutoSpawn=1\nSize=20\nHeight=50\nLeavesCorpse=0\n"
    "[BrutePickupDead]\nType=BrRAGPickup\nRarity=1\nLevels=1,80\nNoAutoSpawn=1\nHeight=12\n"
    "[Bread]\nType=Food\nRarity=1\nLevels=1,80\nNoAutoSpawn=1\nRestore=25\n"
    "[Crust]\nType=Food\nRarity=1\nLevels=1,80\nNoAutoSpawn=1\n"
    "[PickupBread]\nType=BrRAGPickup\nRarity=1\nLevels=1,80\nNoAutoSpawn=1\n"
    "[Oil]\nType=Fuel\nRarity=1\nLevels=1,80\nNoAutoSpawn=1\nRestore=30\n";

// A straight corridor of occupied cells along row 1 of a 24 x 3 grid, replacing the generated level.
void DigCorridor(BrRogueMap* map) {
  map->InitGrid(24, 3);
  for (int x = 0; x < 24; ++x) {
    map->GetCell(x, 1)->SetValid(true);
    map->GetCell(x, 1)->SetFloorType(1);
  }
}

BrVector CellPoint(BrRogueMap* map, int x, int y, float height) {
  BrVector centre;
  map->CellCentre(x, y, &centre);
  centre.y = height;
  return centre;
}

template <class T>
T* Spawn(BrRogueMap* map, const char* type) {
  BrDemoEntity* entity = map->SpawnScripted(type);
  T* object = entity ? static_cast<T*>(entity->SafeCast(&T::Type)) : nullptr;
  if (object) map->AddObject(object);
  return object;
}

}  // namespace

TEST(Enemy, ScaledByDifficulty) {
  GameWorld world(DefaultGameConfig() + cCreatures);
  Game game(3u);
  const float sizes[] = {1.0f, 1.0f, 1.1f, 1.33f};
  const float strengths[] = {5.0f, 5.0f, 6.0f, 7.0f};
  for (int difficulty = 0; difficulty < 4; ++difficulty) {
    game.App()->setDifficulty(difficulty);
    Enemy* brute = Spawn<Enemy>(game.Map(), "Brute");
    ASSERT_NE(brute, nullptr);
    EXPECT_FLOAT_EQ(brute->GetDrawScale().x, sizes[difficulty]);
    EXPECT_FLOAT_EQ(brute->GetDrawScale().y, sizes[difficulty]);
    EXPECT_FLOAT_EQ(brute->GetStrength(), strengths[difficulty]);
    EXPECT_TRUE(brute->GetLeavesCorpse());
  }
  game.App()->setDifficulty(0);
  Enemy* meek = Spawn<Enemy>(game.Map(), "Meek");
  ASSERT_NE(meek, nullptr);
  // Size then Height: the section's own height wins.
  EXPECT_FLOAT_EQ(meek->GetDrawScale().x, 20.0f);
  EXPECT_FLOAT_EQ(meek->GetDrawScale().y, 50.0f);
  EXPECT_FALSE(meek->GetLeavesCorpse());
}

TEST(Enemy, HuntsOnlyInsideTheLanternsLight) {
  GameWorld world(DefaultGameConfig() + cCreatures);
  Game game(3u);
  BrRogueMap* map = game.Map();
  DigCorridor(map);
  BrRAGPlayer* player = game.Player();
  player->Location() = CellPoint(map, 1, 1, player->GetDrawScale().y);
  const float light = player->GetLightRadius();
  ASSERT_GT(light, 0.0f);

  Enemy* near = Spawn<Enemy>(map, "Meek");
  Enemy* far = Spawn<Enemy>(map, "Meek");
  ASSERT_TRUE(near && far);
  const int nearCell = 1 + int(light / map->GridScale()) - 1;
  const int farCell = 1 + int(light / map->GridScale()) + 2;
  near->Location() = CellPoint(map, nearCell, 1, 50.0f);
  far->Location() = CellPoint(map, farCell, 1, 50.0f);
  ASSERT_TRUE(far->CanSee(player));
  near->Step(0.01f);
  far->Step(0.01f);
  EXPECT_TRUE(near->IsInState("BrRAGStateAttack"));
  EXPECT_FALSE(far->IsInState("BrRAGStateAttack"));
}

TEST(Enemy, DropsItsLootBesideItAndLeavesACorpse) {
  GameWorld world(DefaultGameConfig() + cCreatures);
  Game game(3u);
  BrRogueMap* map = game.Map();
  DigCorridor(map);
  game.Player()->Location() = CellPoint(map, 1, 1, 10.0f);

  Enemy* brute = Spawn<Enemy>(map, "Brute");
  ASSERT_NE(brute, nullptr);
  brute->SetDrawScale(BrVector(32.0f, 32.0f, 0.0f));
  brute->Location() = CellPoint(map, 12, 1, 32.0f);
  // Its cell is an exit hole: the loot moves one cell towards the camera instead of falling through.
  map->SkipFloor(12, 1);
  game.App()->Camera()->Location() = BrVector(100000.0f, 0.0f, brute->Location().z);
  for (int i = 0; i < 2; ++i) {
    Food* bread = Spawn<Food>(map, "Bread");
    ASSERT_NE(bread, nullptr);
    brute->AddToInventory(bread->GetID());
  }
  ASSERT_EQ(brute->Inventory().GetNumberOfItems(), 2);
  brute->Killed("a test");

  EXPECT_EQ(brute->Inventory().GetNumberOfItems(), 0);
  int dropped = 0;
  for (BrRAGPickup* pickup : ObjectsOf<BrRAGPickup>(map)) {
    if (pickup->GetItemType() != BrStringT<char>("Bread")) continue;
    ++dropped;
    int x = 0;
    int y = 0;
    BrVector where = pickup->Location();
    BrRAGCell* cell = map->GetCell(x, y, &where);
    ASSERT_TRUE(cell && cell->IsOccupied());
    EXPECT_FALSE(map->IsExitHole(x, y));
  }
  EXPECT_EQ(dropped, 2);
  int corpses = 0;
  for (BrRAGPickup* pickup : ObjectsOf<BrRAGPickup>(map))
    if (pickup->GetName() && std::string(pickup->GetName()) == "BrutePickupDead") {
      ++corpses;
      EXPECT_FLOAT_EQ(pickup->Location().y, pickup->GetDrawScale().y);
    }
  EXPECT_EQ(corpses, 1);

  // A monster so wide that every drop point around it falls off a one-cell floor: its loot lies at its feet
  // instead of vanishing with it.
  map->InitGrid(3, 3);
  map->GetCell(1, 1)->SetValid(true);
  map->GetCell(1, 1)->SetFloorType(3);
  Enemy* wide = Spawn<Enemy>(map, "Brute");
  ASSERT_NE(wide, nullptr);
  wide->SetDrawScale(BrVector(400.0f, 32.0f, 0.0f));
  wide->Location() = CellPoint(map, 1, 1, 32.0f);
  Food* loaf = Spawn<Food>(map, "Bread");
  ASSERT_NE(loaf, nullptr);
  wide->AddToInventory(loaf->GetID());
  wide->Killed("a test");
  EXPECT_EQ(wide->Inventory().GetNumberOfItems(), 0);
  int atFeet = 0;
  for (BrRAGPickup* pickup : ObjectsOf<BrRAGPickup>(map)) {
    BrVector where = pickup->Location();
    int x = -1;
    int y = -1;
    if (pickup->GetItemType() == BrStringT<char>("Bread") && map->GetCell(x, y, &where) && x == 1 && y == 1) ++atFeet;
  }
  EXPECT_EQ(atFeet, 1);
  DigCorridor(map);

  // A monster with nothing to drop draws no random number and leaves no corpse.
  Enemy* meek = Spawn<Enemy>(map, "Meek");
  meek->Location() = CellPoint(map, 5, 1, 50.0f);
  brSeedRand(77);
  meek->Killed("a test");
  const int next = brRand();
  brSeedRand(77);
  EXPECT_EQ(next, brRand());
}

TEST(Enemy, FoodHealsAndFuelFillsOnlyThePlayersLantern) {
  GameWorld world(DefaultGameConfig() + cCreatures);
  Game game(3u);
  BrRogueMap* map = game.Map();
  Food* bread = Spawn<Food>(map, "Bread");
  Food* crust = Spawn<Food>(map, "Crust");
  ASSERT_TRUE(bread && crust);
  EXPECT_EQ(bread->GetRestore(), 25);
  EXPECT_EQ(crust->GetRestore(), 10);
  EXPECT_NE(std::string(bread->GetText().c_str()).find(" (restores 25)"), std::string::npos);
  EXPECT_GE(world.Audio().CountOf("create Sounds\\eat.wav"), 1);

  // A wounded monster eats the food it carries.
  Enemy* meek = Spawn<Enemy>(map, "Meek");
  meek->SetMaxHealth(100);
  meek->SetHealth(50);
  meek->AddToInventory(bread->GetID());
  meek->UseInventory();
  EXPECT_EQ(meek->GetHealth(), 75);
  EXPECT_EQ(meek->Inventory().GetNumItemsOfType("Bread"), 0);
  EXPECT_TRUE(crust->Use(meek));
  EXPECT_EQ(meek->GetHealth(), 85);

  Fuel* oil = Spawn<Fuel>(map, "Oil");
  ASSERT_NE(oil, nullptr);
  EXPECT_FALSE(oil->Use(meek));
  EXPECT_TRUE(oil->IsValid());
  BrRAGPlayer* player = game.Player();
  player->AddOil(-1000.0f);
  const float before = player->GetOilRemaining();
  oil->Use(player);
  EXPECT_FLOAT_EQ(player->GetOilRemaining(), before + 30.0f);

  // Fuel keeps its amount through a saved game.
  Fuel* stored = Spawn<Fuel>(map, "Oil");
  stored->SetRestore(42);
  const fs::path file = world.Run().root / "fuel.bin";
  {
    BrBin out(file.string().c_str());
    char header[4] = {'G', 'I', 'N', 'F'};
    int32_t version = int32_t(GEngineVer);
    out.Stream(header, 1, 4);
    out.Stream(&version, 4, 1);
    stored->Serialize(out);
  }
  Fuel loaded;
  BrBin in;
  in.Loading();
  ASSERT_TRUE(in.Open(file.string().c_str(), 0));
  loaded.Serialize(in);
  EXPECT_FALSE(in.HasFailed());
  EXPECT_EQ(in.BytesLeft(), 0);
  EXPECT_EQ(loaded.GetRestore(), 42);
}
