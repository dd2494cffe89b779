// Tests of save games: the file layout, a round trip that gives identical bytes, atomic replacement, and
// truncated, mutated or unknown-class saves that fail without touching the running game.
#include <gtest/gtest.h>

#include <cstring>
#include <string>

#include "engine/kernel/BrActor.h"
#include "engine/kernel/BrCamera.h"
#include "engine/kernel/BrGameHint.h"
#include "engine/kernel/BrLevelInfo.h"
#include "engine/kernel/BrPickup.h"
#include "engine/presentation/BrMiniMap.h"
#include "WorldTestSupport.h"

using namespace brworld;

namespace {
std::vector<std::string>& MutatorCalls() {
  static std::vector<std::string> calls;
  return calls;
}
}  // namespace

// A map whose mutators are made by the map itself, as the framework's map does.
class SaveTestMap : public BrMap {
  BR_DECLARE_CLASS(SaveTestMap)
public:
  BrGameObj* SpawnMutator(const BrStringT<char>& name, BrStringT<char>& prefix) override {
    MutatorCalls().push_back(std::string(name.c_str() ? name.c_str() : "") + "|" +
                             (prefix.c_str() ? prefix.c_str() : ""));
    BrGameObj* o = new BrGameObj();
    o->SetName(prefix + name);
    return o;
  }
};
BR_IMPLEMENT_CLASS(SaveTestMap, BrMap)

namespace {
template <class T>
T* AddPersistent(BrMap* map, const char* name = nullptr) {
  T* o = new T();
  if (name) o->SetName(name);
  o->SetPersistent(true);
  map->AddObject(o);
  return o;
}

// A map holding one object of every kind (billboards store nothing, so they live only inside entities), linked by ownership, with a path network.
void Populate(BrMap* map) {
  BrGameObj* root = AddPersistent<BrGameObj>(map, "BrGameObj");
  root->SetText("root");
  root->Location() = BrVector(1, 2, 3);
  BrActor* actor = AddPersistent<BrActor>(map, "BrActor");
  actor->SetMaxHealth(30);
  actor->SetHealth(25);
  actor->SetGroundSpeed(123.5f);
  actor->setHUDColour(BrARGB(200, 10, 20, 30));
  actor->SetOwner(root->GetID());
  BrPickup* pickup = AddPersistent<BrPickup>(map, "BrPickup");
  BrGameObj* item = AddPersistent<BrGameObj>(map, "BrGameObj");
  pickup->SetPickupID(item->GetID());
  item->SetOwner(pickup->GetID());
  AddPersistent<BrLevelInfo>(map, "BrLevelInfo");
  AddPersistent<BrGameHint>(map, "BrGameHint");
  BrCamera* camera = AddPersistent<BrCamera>(map, "BrCamera");
  camera->FOV() = 75.0f;
  AddPersistent<BrDemoEntity>(map, "BrDemoEntity")->SetDrawScale(BrVector(5, 6, 0));
  AddPersistent<BrGameObj>(map, "MUTPoison");
  BrGameObj* gone = AddPersistent<BrGameObj>(map, "BrGameObj");
  gone->Destroy();                  // collected by the save's unload
  map->AddObject(new BrGameObj());  // not persistent: unloaded before writing
  map->PathNodes().Add(BrPathNode(BrVector(1, 1, 1)));
  map->ToggleDebugInfo(BrStringT<char>("Grid"));
}
}  // namespace

class SaveGameTest : public ::testing::Test {
protected:
  void SetUp() override {
    game = new BrGame();
    game->SetMapType(BrStringT<char>("SaveTestMap"));
    app = new ScopedApp(game);
    MutatorCalls().clear();
  }
  void TearDown() override { delete app; }
  fs::path SavePath(const char* name) { return folder.root / "Media" / "Saves" / name; }

  RunFolder folder;
  BrGame* game = nullptr;
  ScopedApp* app = nullptr;
};

TEST_F(SaveGameTest, HeaderAndRoundTripGiveIdenticalBytes) {
  Populate(game->Map());
  game->setDifficulty(3);
  ASSERT_TRUE(game->SaveGame(BrStringT<char>("Saves\\first.gin")));
  std::vector<char> first = RunFolder::ReadBytes(SavePath("first.gin"));
  ASSERT_GT(first.size(), 16u);
  EXPECT_EQ(std::string(first.data(), 4), "GINF");
  uint32_t version = 0;
  int32_t difficulty = 0;
  std::memcpy(&version, first.data() + 4, 4);
  std::memcpy(&difficulty, first.data() + 8, 4);
  EXPECT_EQ(version, 269u);
  EXPECT_EQ(difficulty, 3);
  EXPECT_FALSE(fs::exists(SavePath("first.gin.tmp")));
  EXPECT_EQ(game->Map()->ObjectMgr().GetNumLiveObjects(), 9);  // the unload ran before writing

  BrMap* before = game->Map();
  game->setDifficulty(0);
  ASSERT_TRUE(game->LoadSaveFile(BrStringT<char>("Saves\\first.gin")));
  EXPECT_NE(game->Map(), before);
  EXPECT_EQ(game->getDifficulty(), 3);
  ASSERT_EQ(MutatorCalls().size(), 1u);
  EXPECT_EQ(MutatorCalls()[0], "Poison|MUT");

  BrMap* map = game->Map();
  EXPECT_TRUE(map->IsA(SaveTestMap::Type));
  EXPECT_EQ(map->NumObjects(), 11);
  BrActor* actor = static_cast<BrActor*>(map->GetObjectA(1)->SafeCast(&BrActor::Type));
  ASSERT_NE(actor, nullptr);
  EXPECT_EQ(actor->GetHealth(), 25);
  EXPECT_EQ(actor->GetMaxHealth(), 30);
  EXPECT_FLOAT_EQ(actor->GetGroundSpeed(), 123.5f);
  EXPECT_EQ(actor->getHUDColour().r, 10);
  EXPECT_EQ(actor->GetOwner(), 0);
  EXPECT_EQ(map->GetObjectA(0)->GetChild(0), 1);
  EXPECT_TRUE(map->GetObjectA(0)->Location() == BrVector(1, 2, 3));
  EXPECT_EQ(
      map->GetObjectA(2)->SafeCast(&BrPickup::Type) ? static_cast<BrPickup*>(map->GetObjectA(2))->GetPickupID() : -9,
      3);
  EXPECT_NE(map->GetLevelInfo(), nullptr);
  EXPECT_FLOAT_EQ(static_cast<BrCamera*>(map->GetObjectA(6))->FOV(), 75.0f);
  EXPECT_FALSE(map->GetObjectA(10)->IsValid());
  EXPECT_TRUE(map->IsDebugInfoOn(BrStringT<char>("Grid")));
  EXPECT_EQ(map->PathNodes().GetCount(), 1);

  ASSERT_TRUE(game->SaveGame(BrStringT<char>("Saves\\second.gin")));
  const std::vector<char> second = RunFolder::ReadBytes(SavePath("second.gin"));
  size_t diff = 0;
  while (diff < first.size() && diff < second.size() && first[diff] == second[diff]) ++diff;
  EXPECT_EQ(second.size(), first.size());
  EXPECT_EQ(diff, first.size()) << "first difference at byte " << diff;
}

TEST_F(SaveGameTest, SaveFailsWithoutAMapOrAFileAndKeepsTheOldSave) {
  Populate(game->Map());
  ASSERT_TRUE(game->SaveGame(BrStringT<char>("Saves\\keep.gin")));
  std::vector<char> kept = RunFolder::ReadBytes(SavePath("keep.gin"));

  // The temporary file cannot be made where a folder of its name stands: the old save stays whole.
  fs::create_directories(SavePath("keep.gin.tmp"));
  EXPECT_FALSE(game->SaveGame(BrStringT<char>("Saves\\keep.gin")));
  EXPECT_EQ(RunFolder::ReadBytes(SavePath("keep.gin")), kept);
  fs::remove_all(SavePath("keep.gin.tmp"));

  // A write that fails (a full disk) fails the save and keeps the old one.
  fs::create_symlink("/dev/full", SavePath("keep.gin.tmp"));
  EXPECT_FALSE(game->SaveGame(BrStringT<char>("Saves\\keep.gin")));
  EXPECT_EQ(RunFolder::ReadBytes(SavePath("keep.gin")), kept);
  EXPECT_FALSE(fs::is_symlink(fs::symlink_status(SavePath("keep.gin.tmp"))));

  EXPECT_FALSE(game->SaveGame(BrStringT<char>("NoSuchFolder\\deeper\\x.gin")));

  BrGame bare;
  EXPECT_FALSE(bare.SaveGame(BrStringT<char>("Saves\\none.gin")));
  EXPECT_FALSE(fs::exists(SavePath("none.gin")));
}

TEST_F(SaveGameTest, BrokenSavesFailAndLeaveTheRunningGameAlone) {
  Populate(game->Map());
  // A revealed entity on the running game's minimap, saved as revealed.
  BrDemoEntity* shown = static_cast<BrDemoEntity*>(game->Map()->GetObjectA(7)->SafeCast(&BrDemoEntity::Type));
  ASSERT_NE(shown, nullptr);
  ASSERT_NE(game->GetMiniMap(), nullptr);
  game->GetMiniMap()->AddActor(7, 0);
  shown->MiniMapReveal();
  ASSERT_TRUE(game->SaveGame(BrStringT<char>("Saves\\good.gin")));
  const std::vector<char> good = RunFolder::ReadBytes(SavePath("good.gin"));
  BrMap* running = game->Map();
  const int live = running->ObjectMgr().GetNumLiveObjects();
  game->setDifficulty(2);

  EXPECT_FALSE(game->LoadSaveFile(BrStringT<char>("Saves\\missing.gin")));

  // A class that neither the map nor the factory can make ends the load.
  std::vector<char> unknown = good;
  const std::string hint = "BrGameHint";
  auto at = std::search(unknown.begin(), unknown.end(), hint.begin(), hint.end());
  ASSERT_NE(at, unknown.end());
  *(at + 9) = 'X';
  RunFolder::WriteBytes(SavePath("unknown.gin"), unknown);
  EXPECT_FALSE(game->LoadSaveFile(BrStringT<char>("Saves\\unknown.gin")));
  EXPECT_GE(folder.CountLines("ERROR: Saved object class BrGameHinX cannot be created"), 1);

  // Every truncation fails.
  for (size_t cut = 0; cut < good.size(); cut += (cut < 64 ? 1 : 7)) {
    RunFolder::WriteBytes(SavePath("cut.gin"), std::vector<char>(good.begin(), good.begin() + long(cut)));
    EXPECT_FALSE(game->LoadSaveFile(BrStringT<char>("Saves\\cut.gin"))) << "cut at " << cut;
  }
  EXPECT_EQ(game->Map(), running);
  EXPECT_EQ(running->ObjectMgr().GetNumLiveObjects(), live);
  EXPECT_EQ(game->getDifficulty(), 2);
  EXPECT_TRUE(running->GetObjectA(0)->IsValid());
  EXPECT_EQ(running->GetObjectA(0)->GetChild(0), 1);
  // The half-loaded maps' revealed entities did not take the running one off its minimap.
  ASSERT_EQ(game->GetMiniMap()->GetNumActorRecords(), 1);
  EXPECT_EQ(game->GetMiniMap()->GetActorRecord(0)->id, 7);

  // Mutated bytes either load into a sound game or fail without harm.
  uint32_t state = 1;
  auto rnd = [&state]() {
    state = state * 214013u + 2531011u;
    return (state >> 16) & 0x7FFF;
  };
  for (int round = 0; round < 300; ++round) {
    std::vector<char> bad = good;
    const int flips = 1 + int(rnd() % 4);
    for (int f = 0; f < flips; ++f) bad[size_t(rnd()) * 7919u % bad.size()] = char(rnd() & 0xFF);
    RunFolder::WriteBytes(SavePath("bad.gin"), bad);
    BrMap* current = game->Map();
    const bool loaded = game->LoadSaveFile(BrStringT<char>("Saves\\bad.gin"));
    if (!loaded) {
      EXPECT_EQ(game->Map(), current);
    }
    ASSERT_NE(game->Map(), nullptr);
    game->Map()->Step(0.01f);
  }
}
