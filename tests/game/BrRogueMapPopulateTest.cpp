// Population and level flow: catches wrong monster and item counts for a difficulty, the rarity rules turned
// round, widgets outside their level range, enemies placed beside the player, items nobody hands to a monster
// that can carry them, level information that does not reach the map, and hints on the wrong level.
#include <gtest/gtest.h>

#include "adventure/world/BrRAGPickup.h"
#include "game/BrRogueLevelInfo.h"
#include "game/Chest.h"
#include "game/Enemy.h"
#include "game/Staircase.h"
#include "tests/game/GameTestSupport.h"

using namespace brgame;

namespace {

int Named(BrMap* map, const char* name)
{
  int n = 0;
  for (BrDemoEntity* entity : ObjectsOf<BrDemoEntity>(map))
    if (entity->GetName() && std::string(entity->GetName()) == name)
      ++n;
  return n;
}

}  // namespace

TEST(BrRogueMapPopulate, DifficultyAndRarityDecideTheCounts)
{
  // One monster kind that nearly every draw takes, one item kind that every draw takes.
  GameWorld world("[Shallows]\nType=BrRogueLevelInfo\nRarity=1\nLevels=1,80\nRoomCount=6\nCavernCount=4\n"
                  "[Rat]\nType=Enemy\nRarity=0.0001\nLevels=1,80\nSize=32\n"
                  "[Bread]\nType=Food\nRarity=1\nLevels=1,80\nNoAutoSpawn=1\n"
                  "[PickupBread]\nType=BrRAGPickup\nRarity=1\nLevels=1,80\n"
                  "[Stairs]\nType=Staircase\nRarity=1\nLevels=1,80\n"
                  "[DeepStairs]\nType=Staircase\nRarity=1\nLevels=50,80\n");
  for (int difficulty : {0, 1, 2, 3})
  {
    Game game(11u + unsigned(difficulty), difficulty);
    BrRogueMap* map = game.Map();
    const unsigned int n = map->GetRoomCount() + map->GetCavernCount();
    const int perDifficulty[] = {int(n / 2), int(n / 3 * 2), int(n / 3 * 3), int(n / 3 * 4)};
    const int m = perDifficulty[difficulty];
    EXPECT_EQ(Named(map, "Rat"), m) << "difficulty " << difficulty;
    EXPECT_EQ(Named(map, "PickupBread"), m + 2 * difficulty + 2) << "difficulty " << difficulty;
    // A widget appears once inside its level range, never outside it.
    EXPECT_EQ(Named(map, "Stairs"), 1);
    EXPECT_EQ(Named(map, "DeepStairs"), 0);
    // No enemy starts within five cells of the player.
    const BrVector playerAt = game.Player()->Location();
    for (Enemy* enemy : ObjectsOf<Enemy>(map))
      EXPECT_GE((enemy->Location() - playerAt).Size(), 5.0f * map->GridScale());
  }
}

TEST(BrRogueMapPopulate, RarityZeroComesOnceAndRarityOneNeverForMonsters)
{
  GameWorld world(DefaultGameConfig() + "[Ghost]\nType=Enemy\nRarity=1\nLevels=1,80\n");
  for (unsigned int seed : {5u, 6u, 7u})
  {
    Game game(seed, 2);
    BrRogueMap* map = game.Map();
    const int m = int((map->GetRoomCount() + map->GetCavernCount()) / 3 * 3);
    EXPECT_EQ(Named(map, "Boss"), 1);
    EXPECT_EQ(Named(map, "Ghost"), 0);
    EXPECT_GT(Named(map, "Rat"), 0);
    EXPECT_LE(Named(map, "Rat"), m);
    EXPECT_EQ(Named(map, "SmallChest"), 1);
  }
}

TEST(BrRogueMapPopulate, MonstersThatCanCarryAnItemAreHandedIt)
{
  GameWorld world("[Shallows]\nType=BrRogueLevelInfo\nRarity=1\nLevels=1,80\nRoomCount=6\nCavernCount=3\n"
                  "[Rat]\nType=Enemy\nRarity=0.0001\nLevels=1,80\nCanCarry=Bread\n"
                  "[Bread]\nType=Food\nRarity=1\nLevels=1,80\nNoAutoSpawn=1\n"
                  "[PickupBread]\nType=BrRAGPickup\nRarity=1\nLevels=1,80\n"
                  "[Stairs]\nType=Staircase\nRarity=1\nLevels=1,80\n");
  Game game(21u, 1);
  BrRogueMap* map = game.Map();
  std::vector<Enemy*> rats = ObjectsOf<Enemy>(map);
  ASSERT_FALSE(rats.empty());
  EXPECT_EQ(Named(map, "PickupBread"), 0);
  int carried = 0;
  for (Enemy* rat : rats)
    carried += rat->Inventory().GetNumItemsOfType("Bread");
  const int m = int((map->GetRoomCount() + map->GetCavernCount()) / 3 * 2);
  EXPECT_EQ(carried, m + 2 + 2);
}

TEST(BrRogueMapPopulate, LevelInformationShapesTheLevel)
{
  GameWorld world(DefaultGameConfig() + "[HintWelcome]\nType=BrRAGGameHint\nText=Welcome\n"
                                        "[HintMap]\nType=BrRAGGameHint\nText=Map\n");
  world.Config().SetInteger("App", "Hints", 1);
  Game game(31u);
  BrRogueMap* map = game.Map();
  std::vector<BrRogueLevelInfo*> infos = ObjectsOf<BrRogueLevelInfo>(map);
  ASSERT_EQ(infos.size(), 1u);
  BrRogueLevelInfo* info = infos[0];
  EXPECT_EQ(std::string(info->GetName()), "Shallows");
  EXPECT_FALSE(info->GetDrawnByMap());
  // Floors and walls get the effector registered for their texture; type 0 has none.
  RecordingEffectorMgr* fx = world.Render().Effectors();
  const int roomWall = info->GetEnvFX(eROGUEWallRoom);
  ASSERT_GT(roomWall, 0);
  EXPECT_EQ(fx->names[roomWall], "ShaderTextures\\rwall.tga");
  EXPECT_EQ(info->GetEnvFX(eROGUEFloorNone), 0);
  EXPECT_EQ(std::string(info->GetEnvTexture(eROGUEFloorExit).c_str()), "Textures\\exit.tga");
  // The music loops quietly; the counts and wall height come from the information.
  EXPECT_GE(world.Audio().CountOf("create Sounds\\deep.wav"), 1);
  BrSoundFX* music = world.Audio().GetAudio(info->GetMusicID());
  ASSERT_NE(music, nullptr);
  EXPECT_TRUE(music->GetLooping());
  EXPECT_FLOAT_EQ(music->GetVolume(), 0.05f);
  EXPECT_FLOAT_EQ(map->GetWallHeight(), 2.0f * map->GridScale());

  // Level 1 shows its welcome between 2 and 5 seconds; level 7 shows nothing.
  BrRAGPlayer* player = game.Player();
  map->StepHints(1.0f);
  EXPECT_FALSE(player->HasSeenHint("HintWelcome"));
  map->StepHints(2.0f);
  EXPECT_TRUE(player->HasSeenHint("HintWelcome"));
  map->SetLevel(7);
  map->Step(0.0f);
  map->StepHints(3.0f);
  EXPECT_FALSE(player->HasSeenHint("HintMap"));
}

TEST(BrRogueMapPopulate, WithoutLevelInformationTheMapKeepsItsOwnCounts)
{
  GameWorld world("[Stairs]\nType=Staircase\nRarity=1\nLevels=1,80\n");
  Game game(41u);
  BrRogueMap* map = game.Map();
  EXPECT_TRUE(ObjectsOf<BrRogueLevelInfo>(map).empty());
  // The constructor's 3 rooms and 2 caverns, at most.
  EXPECT_LE(map->GetRoomCount(), 3u);
  EXPECT_LE(map->GetCavernCount(), 2u);
  EXPECT_EQ(ObjectsOf<Staircase>(map).size(), 1u);
  EXPECT_GT(OccupiedCells(map), 0);
}
