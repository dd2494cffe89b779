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
#include "engine/presentation/BrGUI.h"
#include "engine/presentation/BrUIDialog.h"
#include "game/BrRogueLevelInfo.h"
#include "game/Enemy.h"
#include "game/Staircase.h"
#include "tests/game/GameTestSupport.h"

using namespace brgame;

namespace {

// The text a dialog keeps to itself.
struct DialogText : BrUIDialog {
  static const BrStringT<char>& Of(BrUIDialog* d) { return d->*(&DialogText::m_Text); }
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

TEST(ShippedContent, EveryLevelHintIsShownOnArrivalAndEveryHintIsUsed) {
  ShippedWorld shipped;
  Game game(11u, 1);
  BrRogueMap* map = game.Map();
  ASSERT_NE(map, nullptr);
  std::set<std::string> shown;
  for (unsigned int level = 2; level <= 80; ++level) {
    map->SetLevel(level);
    map->Step(0.0f);
    const std::vector<BrRogueLevelInfo*> infos = ObjectsOf<BrRogueLevelInfo>(map);
    ASSERT_EQ(infos.size(), 1u);
    const BrStringT<char> hint = infos[0]->GetLevelHint();
    if (hint.Length() == 0) continue;
    // The first level of its range shows it as a modal scroll; the player has seen it from then on.
    EXPECT_TRUE(game.Player()->HasSeenHint(hint)) << "level " << level << ": " << hint.c_str();
    if (shown.insert(hint.c_str()).second) {
      BrUIControl* modal = Engine().GUI()->GetModalControl();
      EXPECT_NE(modal, nullptr) << "level " << level << ": " << hint.c_str();
      if (modal) modal->SetActive(false);
    }
  }
  EXPECT_EQ(shown.count("HintDeeper"), 1u);

  // A death reads as a sentence: "... on Level 3\nof the Flooded Cellars", not "of the in the Flooded Cellars".
  map->SetLevel(3);
  map->Step(0.0f);
  game.Player()->Killed("a rat");
  BrUIControl* over = Engine().GUI()->GetModalControl();
  BrUIDialog* dialog = over ? static_cast<BrUIDialog*>(over->SafeCast(&BrUIDialog::Type)) : nullptr;
  ASSERT_NE(dialog, nullptr);
  const std::string over3 = DialogText::Of(dialog).c_str() ? DialogText::Of(dialog).c_str() : "";
  EXPECT_NE(over3.find("on Level 3\nof the Flooded Cellars\n"), std::string::npos) << over3;

  // Every hint the content defines is asked for: by the timed hints of the first levels, by a level's
  // information, or by an item.
  const std::set<std::string> timed = {"HintWelcome",    "HintCamera",   "HintCombat",  "HintFliers",  "HintMap",
                                       "HintQuickSlots", "HintEscPause", "HintLantern", "HintDropItem"};
  std::string text;
  for (const auto& entry : fs::directory_iterator(shipped.World().Run().root / "Media" / "config")) {
    std::ifstream in(entry.path());
    text.append((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
  }
  const std::regex hintKind(R"(\n\[(\w+)\]\nType=BrRAGGameHint)");
  int kinds = 0;
  for (std::sregex_iterator m(text.begin(), text.end(), hintKind), end; m != end; ++m) {
    const std::string name = (*m)[1];
    ++kinds;
    const bool asked =
        timed.count(name) || shown.count(name) || text.find("\nHint=" + name + "\n") != std::string::npos;
    EXPECT_TRUE(asked) << name << " is defined but never shown";
  }
  EXPECT_GE(kinds, 10);
}
