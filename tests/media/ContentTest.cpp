// The shipped configuration files played by the real game libraries: every kind resolves to a class the libraries
// register, and every level from 1 to 80 is generated with its level information, a staircase and pickups.
#include <gtest/gtest.h>

#include <cstdlib>
#include <cstring>
#include <iterator>
#include <map>
#include <regex>
#include <set>

#include "adventure/world/BrRAGItem.h"
#include "adventure/world/BrRAGLevelInfo.h"
#include "adventure/world/BrRAGObjConfig.h"
#include "adventure/world/BrRAGPickup.h"
#include "engine/kernel/BrDemoEntity.h"
#include "game/BrRogueLevelInfo.h"
#include "game/Enemy.h"
#include "game/Staircase.h"
#include "tests/game/GameTestSupport.h"

using namespace brgame;

namespace {

// A game world whose Media holds the repository's main.cfg and the object configuration files it names.
class ShippedWorld {
 public:
  ShippedWorld() : world_("") {
    const char* source = std::getenv("BR_SOURCE_DIR");
    const fs::path config = fs::path(source ? source : ".") / "media" / "Config";
    const fs::path media = world_.Run().root / "Media";
    for (const auto& entry : fs::directory_iterator(config)) {
      const std::string name = entry.path().filename().string();
      const fs::path to = media / (name == "main.cfg" ? "Config" : "config") / name;
      fs::copy_file(entry.path(), to, fs::copy_options::overwrite_existing);
      ++files_;
    }
    world_.Config().SetString("RAG", "PlayerTypes", "Zivede");
    world_.Config().SetInteger("App", "Hints", 1);
  }
  GameWorld& World() { return world_; }
  int Files() const { return files_; }

 private:
  GameWorld world_;
  int files_ = 0;
};

}  // namespace

TEST(ShippedContent, EveryKindEndsInARegisteredEntityClass) {
  ShippedWorld shipped;
  ASSERT_EQ(shipped.Files(), 9);
  Game game(7u, 1);
  BrRogueMap* map = game.Map();
  ASSERT_NE(map, nullptr);

  // The table as the map loads it: file by file in the order main.cfg names them.
  BrRAGObjConfig table;
  for (const char* file : {"armour", "core", "dungeons", "enemies", "magic", "pickups", "weapons", "widgets"})
    ASSERT_TRUE(table.LoadTypesFromFile(BrStringT<char>("Media\\config\\") + file + ".cfg")) << file;
  ASSERT_GT(table.GetNumTypes(), 100);

  // The touch attacks that bodies carry (Touch=...) never lie in the world.
  std::set<std::string> touch;
  const std::regex touchKey(R"(\nTouch=(\w+))");
  for (const auto& entry : fs::directory_iterator(shipped.World().Run().root / "Media" / "config")) {
    std::ifstream in(entry.path());
    const std::string text((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    for (std::sregex_iterator m(text.begin(), text.end(), touchKey), end; m != end; ++m) touch.insert((*m)[1]);
  }
  EXPECT_GT(touch.size(), 10u);

  std::map<std::string, int> native;
  for (int i = 0; i < table.GetNumTypes(); ++i) {
    const _RAGObjSpawnDef def = table.GetType(i);
    // A kind's chain is resolved as far as the kinds loaded before it: its parent must come first.
    BrObject* made = static_cast<BrObject*>(Engine().Spawn(def.native));
    EXPECT_NE(made, nullptr) << def.name << " (Type=" << def.type << ") ends at " << def.native
                             << ", which no class registers";
    if (!made) continue;
    EXPECT_NE(made->SafeCast(&BrDemoEntity::Type), nullptr) << def.name << " ends at a class that is no entity";
    // Every item but the bodies' own attacks lies in the world as its pickup kind, "Pickup" + the item's kind.
    char pickup[_RAGObjSpawnDef::ciNameLen];
    if (made->SafeCast(&BrRAGItem::Type) && !touch.count(def.name)) {
      BrObject* lying = table.GetNativeType((std::string("Pickup") + def.name).c_str(), pickup)
                            ? static_cast<BrObject*>(Engine().Spawn(pickup))
                            : nullptr;
      EXPECT_TRUE(lying && lying->SafeCast(&BrRAGPickup::Type)) << def.name << " has no pickup kind";
      delete lying;
    }
    delete made;
    ++native[def.native];
  }
  // The kinds the game cannot do without.
  for (const char* cls : {"BrRAGPlayer", "Enemy", "BrRogueLevelInfo", "Staircase", "Chest", "BrRAGPickup",
                          "BrRAGWeapon", "Food", "Fuel", "BrRAGGameHint"})
    EXPECT_GT(native[cls], 0) << "no kind of class " << cls;

  // The player and the hints the flow asks for by name.
  char out[_RAGObjSpawnDef::ciNameLen];
  ASSERT_TRUE(table.GetNativeType("Zivede", out));
  EXPECT_STREQ(out, "BrRAGPlayer");
  for (const char* hint : {"HintWelcome", "HintDropItem", "ChestMonster"})
    EXPECT_TRUE(table.GetParentType(hint, out)) << hint;
  EXPECT_EQ(shipped.World().Run().CountLines("ERROR"), 0);
}

TEST(ShippedContent, EveryLevelHasItsInformationAStaircaseAndPickups) {
  ShippedWorld shipped;
  Game game(2024u, 1);
  BrRogueMap* map = game.Map();
  ASSERT_NE(map, nullptr);
  std::set<std::string> used;
  for (unsigned int level = 1; level <= 81; ++level) {
    if (level > 1) {
      map->SetLevel(level);
      map->Step(0.0f);
    }
    ASSERT_EQ(map->GetLevel(), level);
    const std::vector<BrRogueLevelInfo*> infos = ObjectsOf<BrRogueLevelInfo>(map);
    ASSERT_EQ(infos.size(), 1u) << "level " << level;
    used.insert(infos[0]->GetName());
    // Below the last level lies the surface, which completes the game.
    EXPECT_EQ(infos[0]->IsCompleted(), level == 81) << "level " << level;
    if (level == 81) break;
    EXPECT_NE(infos[0]->GetEnvTexture(eROGUEWallRoom).Length(), 0) << "level " << level;
    EXPECT_EQ(ObjectsOf<Staircase>(map).size(), 1u) << "level " << level;
    EXPECT_FALSE(ObjectsOf<BrRAGPickup>(map).empty()) << "level " << level;
    EXPECT_FALSE(ObjectsOf<Enemy>(map).empty()) << "level " << level;
  }
  // No level information is hidden behind another that covers the same levels.
  BrRAGObjConfig table;
  table.LoadTypesFromFile(BrStringT<char>("Media\\config\\dungeons.cfg"));
  char native[_RAGObjSpawnDef::ciNameLen];
  int levelInfos = 0;
  for (int i = 0; i < table.GetNumTypes(); ++i) {
    if (table.GetNativeType(table.GetType(i).name, native) && std::strcmp(native, "BrRogueLevelInfo") == 0) {
      ++levelInfos;
      EXPECT_EQ(used.count(table.GetType(i).name), 1u) << table.GetType(i).name << " is never used";
    }
  }
  EXPECT_GT(levelInfos, 0);
  EXPECT_EQ(shipped.World().Run().CountLines("ERROR"), 0);
}
