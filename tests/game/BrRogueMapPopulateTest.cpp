// Population and level flow: catches wrong monster and item counts for a difficulty, the rarity rules turned
// round, widgets outside their level range, enemies placed beside the player, items nobody hands to a monster
// that can carry them, level information that does not reach the map, and hints on the wrong level.
#include <gtest/gtest.h>

#include "adventure/world/BrRAGMutator.h"
#include "adventure/world/BrRAGPickup.h"
#include "game/BrRogueLevelInfo.h"
#include "game/Chest.h"
#include "game/Enemy.h"
#include "game/Staircase.h"
#include "tests/game/GameTestSupport.h"

using namespace brgame;

namespace {

int Named(BrMap* map, const char* name) {
  int n = 0;
  for (BrDemoEntity* entity : ObjectsOf<BrDemoEntity>(map))
    if (entity->GetName() && std::string(entity->GetName()) == name) ++n;
  return n;
}

}  // namespace

TEST(BrRogueMapPopulate, DifficultyAndRarityDecideTheCounts) {
  // One monster kind that nearly every draw takes, one item kind that every draw takes.
  GameWorld world(
      "[Shallows]\nType=BrRogueLevelInfo\nRarity=1\nLevels=1,80\nRoomCount=6\nCavernCount=4\n"
      "[Rat]\nType=Enemy\nRarity=0.0001\nLevels=1,80\nSize=32\n"
      "[Bread]\nType=Food\nRarity=1\nLevels=1,80\nNoAutoSpawn=1\n"
      "[PickupBread]\nType=BrRAGPickup\nRarity=1\nLevels=1,80\n"
      "[Stairs]\nType=Staircase\nRarity=1\nLevels=1,80\n"
      "[DeepStairs]\nType=Staircase\nRarity=1\nLevels=50,80\n");
  for (int difficulty : {0, 1, 2, 3}) {
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

TEST(BrRogueMapPopulate, RarityZeroComesOnceAndRarityOneNeverForMonsters) {
  GameWorld world(DefaultGameConfig() + "[Ghost]\nType=Enemy\nRarity=1\nLevels=1,80\n");
  for (unsigned int seed : {5u, 6u, 7u}) {
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

TEST(BrRogueMapPopulate, MonstersThatCanCarryAnItemAreHandedIt) {
  GameWorld world(
      "[Shallows]\nType=BrRogueLevelInfo\nRarity=1\nLevels=1,80\nRoomCount=6\nCavernCount=3\n"
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
  for (Enemy* rat : rats) carried += rat->Inventory().GetNumItemsOfType("Bread");
  const int m = int((map->GetRoomCount() + map->GetCavernCount()) / 3 * 2);
  EXPECT_EQ(carried, m + 2 + 2);
}

TEST(BrRogueMapPopulate, LevelInformationShapesTheLevel) {
  GameWorld world(DefaultGameConfig() +
                  "[HintWelcome]\nType=BrRAGGameHint\nText=Welcome\n"
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

TEST(BrRogueMapPopulate, LevelSpecialsLastForTheLevelOnly) {
  GameWorld world(
      "[Cursed]\nType=BrRogueLevelInfo\nRarity=1\nLevels=1,80\nSpecial=Speed,Prone(Fire)\n"
      "TunnelFloor=Textures\\t.tga\nRoomWall=Textures\\w.tga\n"
      "[Dragon]\nType=FinalBoss\nRarity=0\nLevels=1,80\n"
      "[Stairs]\nType=Staircase\nRarity=1\nLevels=1,80\n");
  Game game(51u);
  BrRogueMap* map = game.Map();
  BrRAGPlayer* player = game.Player();
  // A monster kind whose class no library registers is skipped with a line, never placed as nothing.
  EXPECT_GT(world.Run().CountLines("skipped Dragon"), 0);
  EXPECT_EQ(ObjectsOf<Staircase>(map).size(), 1u);

  BrRAGMutator* speed = player->GetMutator("MUTSpeed", true);
  BrRAGMutator* prone = player->GetMutator("MUTProne(Fire)", true);
  ASSERT_TRUE(speed && prone);
  EXPECT_FLOAT_EQ(speed->GetDuration(), -1.0f);
  EXPECT_FLOAT_EQ(prone->GetDuration(), -1.0f);
  // The next level's information takes over: the specials are never doubled.
  map->SetLevel(2);
  map->Step(0.0f);
  EXPECT_EQ(player->CountTimesMutatedBy("MUTSpeed"), 1u);
  EXPECT_EQ(player->CountTimesMutatedBy("MUTProne(Fire)"), 1u);
  std::vector<BrRogueLevelInfo*> infos = ObjectsOf<BrRogueLevelInfo>(map);
  ASSERT_EQ(infos.size(), 1u);

  // Stored and loaded, the information keeps its textures but not its specials.
  const fs::path file = world.Run().root / "info.bin";
  {
    BrBin out(file.string().c_str());
    char header[4] = {'G', 'I', 'N', 'F'};
    int32_t version = int32_t(GEngineVer);
    out.Stream(header, 1, 4);
    out.Stream(&version, 4, 1);
    infos[0]->Serialize(out);
  }
  BrRogueLevelInfo loaded;
  BrBin in;
  in.Loading();
  ASSERT_TRUE(in.Open(file.string().c_str(), 0));
  loaded.Serialize(in);
  EXPECT_FALSE(in.HasFailed());
  EXPECT_EQ(std::string(loaded.GetEnvTexture(eROGUEFloorTunnel).c_str()), "Textures\\t.tga");
  EXPECT_EQ(std::string(loaded.GetEnvTexture(eROGUEWallRoom).c_str()), "Textures\\w.tga");
  EXPECT_EQ(loaded.Specials().GetCount(), 0);

  // Destroyed with its level, it takes the specials off the player.
  infos[0]->Destroy();
  EXPECT_EQ(player->GetMutator("MUTSpeed", false), nullptr);
  EXPECT_EQ(player->GetMutator("MUTProne", false), nullptr);

  // A vertex buffer that cannot be filled is logged and leaves the level without an index buffer.
  world.Render().failVertexBuffers = true;
  const int indexBuffers = world.Render().indexBufferRequests;
  map->BuildGeometry();
  EXPECT_EQ(world.Run().CountLines("WARNING: Failed to initiate BrRogueMap's vertex buffer"), 1);
  EXPECT_EQ(world.Render().indexBufferRequests, indexBuffers);
}

TEST(BrRogueMapPopulate, WithoutLevelInformationTheMapKeepsItsOwnCounts) {
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
