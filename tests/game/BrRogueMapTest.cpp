// Dungeon generator: catches levels that differ for one seed, generation that never ends (the tunnel count
// wrapping below four areas, seeds that dig nothing), isolated floor, players or staircases off the floor, and
// the level flow losing its level or its player.
#include <gtest/gtest.h>

#include "adventure/world/BrRAGItem.h"
#include "adventure/world/BrRAGMutator.h"
#include "adventure/world/BrRAGWidget.h"
#include "game/BrRogueLevelInfo.h"
#include "game/Enemy.h"
#include "game/Staircase.h"
#include "tests/game/GameTestSupport.h"

using namespace brgame;

namespace {

// Reaches the generator's protected steps.
struct OpenMap : BrRogueMap {
  using BrRogueMap::DigCavern;
  using BrRogueMap::DigRoom;
  void SetLevelNumber(unsigned int level) { m_uiLevel = level; }
};

// Everything population put on the map, as text: class, name and cell of each entity.
std::string Population(BrRogueMap* map) {
  std::string text;
  for (BrDemoEntity* entity : ObjectsOf<BrDemoEntity>(map)) {
    int x = 0;
    int y = 0;
    BrVector where = entity->Location();
    map->GetCell(x, y, &where);
    text += std::string(entity->GetName() ? entity->GetName() : "?") + "@" + std::to_string(x) + "," +
            std::to_string(y) + ";";
  }
  return text;
}

}  // namespace

TEST(BrRogueMap, TheLibraryRegistersItsClassesAndANewGamePlays) {
  struct Entry {
    const char* name;
    dtiClass* parent;
  };
  const Entry classes[] = {{"BrRogueMap", &BrRAGMap::Type},   {"BrRogueLevelInfo", &BrRAGLevelInfo::Type},
                           {"Enemy", &BrRAGActor::Type},      {"Food", &BrRAGItem::Type},
                           {"Fuel", &BrRAGItem::Type},        {"Staircase", &BrRAGWidget::Type},
                           {"Chest", &BrRAGWidget::Type},     {"MUTFlying", &BrRAGMutator::Type},
                           {"MUTHeal", &BrRAGMutator::Type},  {"MUTPoison", &BrRAGMutator::Type},
                           {"MUTProne", &BrRAGMutator::Type}, {"MUTRemove", &BrRAGMutator::Type},
                           {"MUTSpeed", &BrRAGMutator::Type}};
  for (const Entry& entry : classes) {
    BrObject* object = static_cast<BrObject*>(Engine().Spawn(entry.name));
    ASSERT_NE(object, nullptr) << entry.name;
    EXPECT_TRUE(object->IsAExactly(dtiClass(entry.name, nullptr))) << entry.name;
    EXPECT_NE(object->SafeCast(entry.parent), nullptr) << entry.name;
    delete object;
  }

  // A new game plays: its monsters, items and the player step for ten seconds on the level it was given.
  GameWorld world;
  Game game(2024u, 2);
  BrRogueMap* map = game.Map();
  for (int frame = 0; frame < 200; ++frame) map->Step(0.05f);
  EXPECT_EQ(map->GetLevel(), 1u);
  ASSERT_NE(game.Player(), nullptr);
  EXPECT_TRUE(game.Player()->IsValid());
}

TEST(BrRogueMap, SameSeedAndConfigurationGiveTheSameLevel) {
  GameWorld world;
  std::string grid[2];
  std::string objects[2];
  unsigned int rooms[2], caverns[2], tunnels[2];
  for (int run = 0; run < 2; ++run) {
    Game game(4242u, 1);
    BrRogueMap* map = game.Map();
    ASSERT_NE(map, nullptr);
    grid[run] = GridText(map);
    objects[run] = Population(map);
    rooms[run] = map->GetRoomCount();
    caverns[run] = map->GetCavernCount();
    tunnels[run] = map->GetTunnelCount();
  }
  EXPECT_EQ(grid[0], grid[1]);
  EXPECT_EQ(objects[0], objects[1]);
  EXPECT_EQ(rooms[0], rooms[1]);
  EXPECT_EQ(caverns[0], caverns[1]);
  EXPECT_EQ(tunnels[0], tunnels[1]);
  EXPECT_NE(objects[0].find("Stairs"), std::string::npos);

  Game other(4243u, 1);
  EXPECT_NE(GridText(other.Map()), grid[0]);
}

TEST(BrRogueMap, ShippedLevelsOnEveryDifficultyStartOnTheFloorInReachOfTheStaircase) {
  // One seed for each level from 1 to 80 on each difficulty, built through the level change from the shipped
  // level information, as a game builds them; brlevelsweep runs the same checks over a thousand seeds.
  const unsigned int seedsPerLevel = 1;
  ShippedWorld shipped;
  int built = 0;
  for (int difficulty = 0; difficulty <= 3; ++difficulty) {
    Game game(1u, difficulty);
    BrRogueMap* map = game.Map();
    ASSERT_NE(map, nullptr);
    for (unsigned int level = 1; level <= 80; ++level)
      for (unsigned int s = 0; s < seedsPerLevel; ++s) {
        const unsigned int seed = level * 7919u + s * 104729u + unsigned(difficulty);
        BrRogueMap::SetSeedForTests(seed);
        map->SetLevel(level);
        map->Step(0.0f);
        ASSERT_FALSE(map->IsChangingLevel());
        ASSERT_EQ(map->GetLevel(), level);
        const std::string where = "difficulty " + std::to_string(difficulty) + ", level " + std::to_string(level) +
                                  ", seed " + std::to_string(seed);

        BrRAGPlayer* player = game.Player();
        ASSERT_NE(player, nullptr) << where;
        int px = 0;
        int py = 0;
        BrVector at = player->Location();
        BrRAGCell* cell = map->GetCell(px, py, &at);
        ASSERT_TRUE(cell && cell->IsOccupied()) << "player off the floor, " << where;
        // One floor: every cell is reached from the player's, the staircase's among them.
        ASSERT_EQ(ConnectedFrom(map, px, py), OccupiedCells(map)) << "isolated floor, " << where << "\n"
                                                                  << GridText(map);
        std::vector<Staircase*> stairs = ObjectsOf<Staircase>(map);
        ASSERT_EQ(stairs.size(), 1u) << where;
        at = stairs[0]->Location();
        cell = map->GetCell(&at);
        ASSERT_TRUE(cell && cell->IsOccupied()) << "staircase off the floor, " << where;
        ++built;
      }
  }
  EXPECT_EQ(built, 4 * 80 * int(seedsPerLevel));
  EXPECT_EQ(shipped.World().Run().CountLines("ERROR"), 0);
}

TEST(BrRogueMap, FewAreasEmptyDensityAndSmallLevelsStillEnd) {
  // One room and no cavern: the tunnel count must not wrap; a density of 0 must not divide by it.
  GameWorld world(
      "[Tiny]\nType=BrRogueLevelInfo\nRarity=1\nLevels=1,80\nRoomCount=1\nCavernCount=0\nDensity=0\n"
      "[Stairs]\nType=Staircase\nRarity=1\nLevels=1,80\n"
      "[Boss]\nType=Enemy\nRarity=0\nLevels=1,80\nSize=20\n");
  Game game(99u);
  BrRogueMap* map = game.Map();
  EXPECT_EQ(map->GetTunnelCount(), 0u);
  EXPECT_FLOAT_EQ(map->GetDensity(), 75.0f);
  EXPECT_GT(world.Run().CountLines("density"), 0);
  EXPECT_GT(OccupiedCells(map), 0);
  BrVector where = game.Player()->Location();
  ASSERT_NE(map->GetCell(&where), nullptr);
  EXPECT_TRUE(map->GetCell(&where)->IsOccupied());
  // Too small to keep the boss five cells from the player: it is placed all the same, with a line.
  std::vector<Staircase*> stairs = ObjectsOf<Staircase>(map);
  ASSERT_EQ(stairs.size(), 1u);
  where = stairs[0]->Location();
  ASSERT_NE(map->GetCell(&where), nullptr);
  EXPECT_TRUE(map->GetCell(&where)->IsOccupied());
  EXPECT_EQ(ObjectsOf<Enemy>(map).size(), 1u);
  EXPECT_GT(world.Run().CountLines("nearer the player"), 0);

  // Nothing to dig at all: the generator still ends with floor under the player.
  map->SetRoomCount(0);
  map->SetCavernCount(0);
  map->Regenerate(5u, 1u);
  EXPECT_GT(OccupiedCells(map), 0);
  EXPECT_GT(world.Run().CountLines("dug nothing"), 0);
}

TEST(BrRogueMap, RoomsAndCavernsKeepTheirMargins) {
  GameWorld world;
  OpenMap map;
  map.InitGrid(20, 20);
  brSeedRand(3);
  // A room anchored in column 0 is accepted; one anchored too near the top or bottom row never is.
  EXPECT_TRUE(map.DigRoom(0, 10));
  EXPECT_TRUE(map.GetCell(0, 10)->IsOccupied());
  EXPECT_FALSE(map.DigRoom(12, 1));
  EXPECT_FALSE(map.DigRoom(12, 18));
  // A cavern's test disc must lie inside the grid, so no cavern touches the outer rows or columns.
  map.InitGrid(20, 20);
  for (int i = 0; i < 400; ++i) map.DigCavern(i % 20, i / 20);
  for (int i = 0; i < 20; ++i) {
    EXPECT_FALSE(map.GetCell(i, 0)->IsOccupied());
    EXPECT_FALSE(map.GetCell(i, 19)->IsOccupied());
    EXPECT_FALSE(map.GetCell(0, i)->IsOccupied());
    EXPECT_FALSE(map.GetCell(19, i)->IsOccupied());
  }
  EXPECT_FALSE(map.IsExitHole(-1, 3));
  map.SkipFloor(10, 10);
  EXPECT_TRUE(map.IsExitHole(10, 10));
}

TEST(BrRogueMap, LevelChangeKeepsThePlayerAndAStreamKeepsCountsButNotDensity) {
  GameWorld world;
  Game game(7u);
  BrRogueMap* map = game.Map();
  BrRAGPlayer* player = game.Player();
  ASSERT_NE(player, nullptr);
  const int playerID = player->GetID();
  map->SetLevel(3);
  EXPECT_TRUE(map->IsChangingLevel());
  map->Step(0.0f);
  EXPECT_FALSE(map->IsChangingLevel());
  EXPECT_EQ(map->GetLevel(), 3u);
  ASSERT_NE(game.Player(), nullptr);
  EXPECT_EQ(game.Player()->GetID(), playerID);
  EXPECT_EQ(ObjectsOf<BrRAGPlayer>(map).size(), 1u);
  // The level information of the range is on the map, with its walls and floors.
  std::vector<BrRogueLevelInfo*> infos = ObjectsOf<BrRogueLevelInfo>(map);
  ASSERT_EQ(infos.size(), 1u);
  EXPECT_FLOAT_EQ(map->GetWallHeight(), 2.0f * map->GridScale());
  EXPECT_GT(world.Render().vertexBufferRequests, 0);

  // A saved and loaded game keeps the generator's counts but not its density, and rebuilds its level.
  map->SetDensity(33.0f);
  const unsigned int rooms = map->GetRoomCount();
  const unsigned int caverns = map->GetCavernCount();
  ASSERT_TRUE(game.App()->SaveGame("Saves\\g1.gin"));
  ASSERT_TRUE(game.App()->LoadGame(Engine().getMediaDir() + "\\Saves\\g1.gin"));
  BrRogueMap* loaded = game.Map();
  ASSERT_NE(loaded, map);
  EXPECT_EQ(loaded->GetRoomCount(), rooms);
  EXPECT_EQ(loaded->GetCavernCount(), caverns);
  EXPECT_FLOAT_EQ(loaded->GetDensity(), 75.0f);
  EXPECT_EQ(loaded->GetLevel(), 3u);
  loaded->Step(0.0f);
  EXPECT_EQ(loaded->GetLevel(), 3u);
  EXPECT_EQ(ObjectsOf<BrRAGPlayer>(loaded).size(), 1u);
  EXPECT_EQ(ObjectsOf<Staircase>(loaded).size(), 1u);
}

TEST(BrRogueMap, ASaveThatWouldBuildWithoutEndIsRefused) {
  // A difficulty no game offers, or more rooms or caverns than any level digs, once loaded made the next level
  // dig and place without end; such a save must be refused and the running game kept.
  GameWorld world;
  Game game(11u);
  BrRogueMap* map = game.Map();
  ASSERT_NE(map, nullptr);
  game.App()->setDifficulty(4);
  ASSERT_TRUE(game.App()->SaveGame("Saves\\hard.gin"));
  EXPECT_FALSE(game.App()->LoadGame(Engine().getMediaDir() + "\\Saves\\hard.gin"));
  EXPECT_EQ(game.Map(), map);

  game.App()->setDifficulty(3);
  map->SetCavernCount(BrRogueMap::ciMaxAreaCount + 1);
  ASSERT_TRUE(game.App()->SaveGame("Saves\\wide.gin"));
  EXPECT_FALSE(game.App()->LoadGame(Engine().getMediaDir() + "\\Saves\\wide.gin"));
  EXPECT_EQ(game.Map(), map);

  // The bounds themselves still load, and the level they ask for is built.
  map->SetCavernCount(BrRogueMap::ciMaxAreaCount);
  map->SetRoomCount(BrRogueMap::ciMaxAreaCount);
  ASSERT_TRUE(game.App()->SaveGame("Saves\\edge.gin"));
  ASSERT_TRUE(game.App()->LoadGame(Engine().getMediaDir() + "\\Saves\\edge.gin"));
  ASSERT_NE(game.Map(), map);
  EXPECT_EQ(game.Map()->GetRoomCount(), BrRogueMap::ciMaxAreaCount);
  EXPECT_EQ(game.App()->getDifficulty(), 3);
  game.Map()->Step(0.0f);
  EXPECT_FALSE(game.Map()->IsChangingLevel());
  EXPECT_EQ(ObjectsOf<BrRAGPlayer>(game.Map()).size(), 1u);

  // Level information read from a file is bounded the same way, even past what an unsigned count can hold.
  BrRogueLevelInfo info;
  info.SetRoomCount(1e30f);
  info.SetCavernCount(-5.0f);
  game.Map()->ProcessLevelInfo(&info);
  EXPECT_EQ(game.Map()->GetRoomCount(), BrRogueMap::ciMaxAreaCount);
  EXPECT_EQ(game.Map()->GetCavernCount(), 0u);
}
