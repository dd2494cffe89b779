// Object kinds, spawning, level information, the game's configuration and class registration. Catches: Type chains
// that loop for ever, over-long names overrunning their fields, unreadable files reported as read, mutators
// spawned with the prefix twice or with a bracket dropped, wrong difficulty bonuses or clamps, a default main.cfg
// that names no game section the cache reads, and world classes that cannot be made by name.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstring>
#include <fstream>
#include <string>
#include <vector>

#include "../../engine/kernel/WorldTestSupport.h"
#include "adventure/world/BrRAGCfgFile.h"
#include "adventure/world/BrRAGConfigCache.h"
#include "adventure/world/BrRAGLevelInfo.h"
#include "adventure/world/BrRAGMap.h"
#include "core/BrBin.h"
#include "engine/kernel/BrGame.h"

namespace {

using brworld::RunFolder;

// A map whose configuration files are the test's own list, or the [RAG] Configs of the engine's cache.
class KindTestMap : public BrRAGMap {
  BR_DECLARE_CLASS(KindTestMap)
public:
  bool LoadConfigList() override {
    ConfigFiles().Clear();
    BrStringT<char> configs;
    if (files.empty() && Engine().GetConfig() &&
        Engine().GetConfig()->GetString(BrStringT<char>("RAG"), BrStringT<char>("Configs"), configs)) {
      for (int start = 0; start <= configs.Length();) {
        int comma = configs.Find(BrStringT<char>(","), start);
        if (comma < 0) comma = configs.Length();
        if (comma > start) ConfigFiles().Add(configs(start, comma - start));
        start = comma + 1;
      }
    }
    for (const std::string& f : files) ConfigFiles().Add(BrStringT<char>(f.c_str()));
    return true;
  }
  static std::vector<std::string> files;
};
std::vector<std::string> KindTestMap::files;
BR_IMPLEMENT_CLASS(KindTestMap, BrRAGMap)

// A mutator class of the test's own, so that its name is known here.
class MUTW1Probe : public BrGameObj {
  BR_DECLARE_CLASS(MUTW1Probe)
};
BR_IMPLEMENT_CLASS(MUTW1Probe, BrGameObj)

class KindWorld {
public:
  explicit KindWorld(std::vector<std::string> files) : game(new BrGame()) {
    KindTestMap::files = std::move(files);
    m_pOldScript = BrEngineTestSeams::Script();
    BrEngineTestSeams::Script() = &script;
    game->SetMapType(BrStringT<char>("KindTestMap"));
    scoped = new brworld::ScopedApp(game);
  }
  ~KindWorld() {
    delete scoped;
    BrEngineTestSeams::Script() = m_pOldScript;
  }
  void Write(const std::string& name, const std::string& text) {
    std::filesystem::create_directories((folder.root / "Media" / name).parent_path());
    std::ofstream(folder.root / "Media" / name) << text;
  }
  BrRAGMap* Map() { return static_cast<BrRAGMap*>(game->Map()); }
  std::string Native(int i) { return Map()->GetObjCfg().GetType(i).native; }

  RunFolder folder;
  BrScriptDaemon script;
  BrGame* game;
  brworld::ScopedApp* scoped = nullptr;

private:
  BrScriptDaemon* m_pOldScript;
};

TEST(BrRAGObjConfig, KindsLoadWithTheirTypeChainsRarityAndLevels) {
  KindWorld world({"a.cfg", "b.cfg", "missing.cfg", "odd.cfg"});
  world.Write("a.cfg",
              "[Enemy]\nType=BrRAGLevelInfo\nRarity=0.5\nLevels=1,5\n"
              "[Rat]\nType=Enemy\nRarity=2\nLevels=2,3\nNoAutoSpawn=0\n"
              "[Goblin]\nType=Orc\nRarity=1\n");
  world.Write("b.cfg", "[Bat]\nType=Enemy\nRarity=1\nLevels=4,9\n[Orc]\nType=BrRAGLevelInfo\nRarity=1\nLevels=1,1\n");
  const std::string longName(80, 'L');
  world.Write("odd.cfg", "[LoopA]\nType=LoopB\n[LoopB]\nType=LoopA\n[" + longName + "]\nType=" + longName + "\n");
  BrRAGMap* map = world.Map();
  EXPECT_EQ(map->LoadObjectConfig(), 8);
  BrRAGObjConfig& cfg = map->GetObjCfg();
  const char* order[] = {"Enemy", "Rat", "Goblin", "Bat", "Orc", "LoopA", "LoopB"};
  for (int i = 0; i < 7; ++i) EXPECT_STREQ(cfg.GetType(i).name, order[i]);
  EXPECT_EQ(world.Native(1), "BrRAGLevelInfo");  // Enemy was loaded before Rat
  EXPECT_EQ(world.Native(2), "Orc");             // Orc comes later
  char out[64];
  ASSERT_TRUE(cfg.GetNativeType("Bat", out));
  EXPECT_STREQ(out, "BrRAGLevelInfo");
  ASSERT_TRUE(cfg.GetNativeType("Nothing", out));
  EXPECT_STREQ(out, "Nothing");
  EXPECT_FALSE(cfg.GetParentType("Nothing", out));
  ASSERT_TRUE(cfg.GetParentType("Rat", out));
  EXPECT_STREQ(out, "Enemy");
  _RAGObjSpawnDef rat = cfg.GetType(1);
  EXPECT_FLOAT_EQ(rat.rarity, 2.0f);
  EXPECT_EQ(rat.levels[0], 2);
  EXPECT_EQ(rat.levels[1], 3);
  EXPECT_EQ(rat.noAutoSpawn, 0);
  EXPECT_EQ(cfg.GetType(2).noAutoSpawn, 1);  // Goblin has no Levels

  // A loop is cut and logged; an over-long name is cut to its field.
  ASSERT_TRUE(cfg.GetNativeType("LoopA", out));
  EXPECT_GE(world.folder.CountLines("loops"), 1);
  EXPECT_EQ(std::string(cfg.GetType(7).name), longName.substr(0, 63));
  EXPECT_GE(world.folder.CountLines("cut the section name"), 1);
  EXPECT_EQ(world.folder.CountLines("could not open the object configuration Media\\missing.cfg"), 1);
  EXPECT_FALSE(BrRAGObjConfig().LoadTypesFromFile(BrStringT<char>("Media\\missing.cfg")));

  BrRAGObjConfig empty;
  strcpy(out, "kept");
  EXPECT_FALSE(empty.GetNativeType("Rat", out));
  EXPECT_STREQ(out, "kept");
}

TEST(BrRAGObjConfig, KindsAndMutatorsAreSpawnedByName) {
  KindWorld world({"a.cfg"});
  world.Write("a.cfg",
              "[Goblin]\nType=Orc\nRoomCount=6\n[Orc]\nType=BrRAGLevelInfo\nRoomCount=3\n[Chair]\nType=MUTW1Probe\n");
  BrRAGMap* map = world.Map();
  map->LoadObjectConfig();
  BrDemoEntity* goblin = map->SpawnScripted(BrStringT<char>("Goblin"));
  ASSERT_NE(goblin, nullptr);
  EXPECT_TRUE(goblin->IsAExactly(BrRAGLevelInfo::Type));
  EXPECT_STREQ(goblin->GetName(), "Goblin");
  EXPECT_FLOAT_EQ(static_cast<BrRAGLevelInfo*>(goblin)->GetRoomCount(), 6.0f);
  EXPECT_GE(map->AddObject(goblin), 0);

  EXPECT_EQ(map->SpawnScripted(BrStringT<char>("Nope")), nullptr);
  EXPECT_EQ(world.folder.CountLines("ERROR: Failed to spawn unknown type Nope"), 1);
  EXPECT_EQ(map->SpawnScripted(BrStringT<char>()), nullptr);
  EXPECT_EQ(world.folder.CountLines("ERROR: Failed to spawn anything, given an empty string!"), 1);
  EXPECT_EQ(map->SpawnScripted(BrStringT<char>("Chair")), nullptr);           // a game object that is no entity
  EXPECT_EQ(map->SpawnScripted(BrStringT<char>("BrRAGLevelInfo")), nullptr);  // a class, but no file's section
  EXPECT_EQ(world.folder.CountLines("ERROR: Failed to spawn unknown type BrRAGLevelInfo"), 1);
  EXPECT_EQ(map->AddObject(nullptr), -1);
  EXPECT_EQ(world.folder.CountLines("BrRAGMap ignoring request to add NULL object"), 1);

  struct Case {
    const char* command;
    const char* params;
  };
  for (const Case& c : {Case{"W1Probe(5,2)", "5,2"}, Case{"MUTW1Probe(5,2)", "5,2"}, Case{"W1Probe(f(1),2)", "f(1),2"},
                        Case{"W1Probe(5,2", "5,2"}, Case{"W1Probe", "unchanged"}}) {
    BrStringT<char> params("unchanged");
    BrGameObj* mutator = map->SpawnMutator(BrStringT<char>(c.command), params);
    ASSERT_NE(mutator, nullptr) << c.command;
    EXPECT_TRUE(mutator->IsAExactly(MUTW1Probe::Type)) << c.command;
    EXPECT_EQ(params, BrStringT<char>(c.params)) << c.command;
    delete mutator;
  }
  BrStringT<char> params;
  EXPECT_EQ(map->SpawnMutator(BrStringT<char>("Unknown(1)"), params), nullptr);
}

TEST(BrRAGLevelInfo, DifficultyBonusesClampsDefaultsAndStream) {
  KindWorld world({});
  world.Write("levels.cfg",
              "[Cave]\nType=BrRAGLevelInfo\nRoomCount=6\nCavernCount=2\nDensity=150\nComplete=0\nDesc=Wet\n"
              "LevelHint=Mind the drip\nWallHeight=2\n"
              "[Low]\nType=BrRAGLevelInfo\nDensity=-5\nComplete=3\n[Neg]\nType=BrRAGLevelInfo\nComplete=-1\n"
              "[Bare]\nType=BrRAGLevelInfo\n");
  BrCfgFile file;
  ASSERT_TRUE(file.Open("Media\\levels.cfg", 0x1000001));
  const struct {
    int difficulty;
    float rooms, caverns;
  } bonuses[] = {{0, 6, 2}, {1, 6, 2}, {2, 10, 6}, {3, 12, 8}};
  for (const auto& b : bonuses) {
    world.game->setDifficulty(b.difficulty);
    BrRAGLevelInfo info;
    info.LoadScript("Cave", &file);
    EXPECT_FLOAT_EQ(info.GetRoomCount(), b.rooms) << b.difficulty;
    EXPECT_FLOAT_EQ(info.GetCavernCount(), b.caverns) << b.difficulty;
    EXPECT_FLOAT_EQ(info.GetDensity(), 100.0f);
    EXPECT_FALSE(info.IsCompleted());
    EXPECT_FLOAT_EQ(info.GetWallScale(), 2.0f);
    EXPECT_EQ(info.GetLevelDesc(), BrStringT<char>("Wet"));
    EXPECT_EQ(info.GetLevelHint(), BrStringT<char>("Mind the drip"));
  }
  BrRAGLevelInfo low, neg, bare;
  low.LoadScript("Low", &file);
  neg.LoadScript("Neg", &file);
  bare.LoadScript("Bare", &file);
  EXPECT_FLOAT_EQ(low.GetDensity(), 0.0f);
  EXPECT_TRUE(low.IsCompleted());
  EXPECT_FALSE(neg.IsCompleted());
  EXPECT_FLOAT_EQ(bare.GetRoomCount(), 4.0f);
  EXPECT_FLOAT_EQ(bare.GetCavernCount(), 4.0f);
  EXPECT_FLOAT_EQ(bare.GetWallScale(), 1.5f);
  EXPECT_FLOAT_EQ(bare.GetDensity(), 75.0f);
  EXPECT_FALSE(bare.GetMusicID().Ready());
  EXPECT_EQ(bare.GetLevelDesc().Length(), 0);

  // The framework's part of the stream is 17 bytes, and reads back.
  BrLevelInfo base;
  base.SetName(BrStringT<char>("Low"));
  {
    BrBin a(BrStringT<char>("Media\\base.bin"));
    base.Serialize(a);
    BrBin b(BrStringT<char>("Media\\rag.bin"));
    low.SetRoomCount(9);
    low.Serialize(b);
  }
  const auto baseBytes = RunFolder::ReadBytes(world.folder.root / "Media" / "base.bin");
  const auto ragBytes = RunFolder::ReadBytes(world.folder.root / "Media" / "rag.bin");
  ASSERT_GE(ragBytes.size(), baseBytes.size());
  EXPECT_EQ(ragBytes.size() - baseBytes.size(), 17u);
  BrRAGLevelInfo back;
  BrBin in;
  in.Loading();
  ASSERT_TRUE(in.Open("Media\\rag.bin", 0));
  back.Serialize(in);
  EXPECT_FALSE(in.HasFailed());
  EXPECT_FLOAT_EQ(back.GetRoomCount(), 9.0f);
  EXPECT_TRUE(back.IsCompleted());
  EXPECT_FLOAT_EQ(back.GetDensity(), 0.0f);
}

std::vector<std::string> ReadLines(const std::filesystem::path& p) {
  std::vector<std::string> lines;
  std::ifstream in(p);
  for (std::string line; std::getline(in, line);) lines.push_back(line);
  return lines;
}

TEST(BrRAGConfig, DefaultMainCfgStartsAPlayableGameAndEveryListedKindLoads) {
  KindWorld world({});
  std::filesystem::create_directories(world.folder.root / "Media" / "Config");
  BrRAGConfigCache cache;
  {
    BrRAGCfgFile file("Media\\Config\\main.cfg");
    ASSERT_TRUE(file.IsValid());
    ASSERT_TRUE(cache.ReadConfigFromFile(&file));
  }
  const std::vector<std::string> lines = ReadLines(world.folder.root / "Media" / "Config" / "main.cfg");
  const std::vector<std::string> expected = {
      "[Engine]",
      "Safe=0",
      "Libs=tidewrack",
      "",
      "[Render]",
      "Device=GfxDrv",
      "UseWBuffer=0",
      "UseZBuffer=1",
      "DepthBufferBitDepth=16",
      "",
      "[Display]",
      "WindowWidth=800",
      "WindowHeight=600",
      "StartFullScreen=0",
      "ScreenWidth=1024",
      "ScreenHeight=768",
      "",
      "[Audio]",
      "Device=SoundDrv",
      "Channels=32",
      "",
      "Hardware=0",
      "",
      "NoAudio=0",
      "",
      "NoMusic=0",
      "",
      "[Net]",
      "Device=NetDrv",
      lines.size() > 29 ? lines[29] : "#",
      lines.size() > 30 ? lines[30] : "Master=",
      "QueryPort=6660",
      "GamePort=6661",
      "",
      "[App]",
      "Title=Tidewrack",
      "Launch=",
      "Parser=",
      "MouseSpeedX=75",
      "MouseSpeedY=75",
      "DefaultFont=Media\\Fonts\\fontVanilla.tga",
      "Hints=1",
      "[RAG]",
      "PlayerTypes=Zivede",
      "AppType=BrRAGGame",
      "Configs=config\\armour.cfg,config\\core.cfg,config\\dungeons.cfg,config\\enemies.cfg,config\\magic.cfg,"
      "config\\pickups.cfg,config\\weapons.cfg,config\\widgets.cfg",
      "StartLevel=1",
      "ShowIntro=1"};
  ASSERT_EQ(lines.size(), expected.size());
  ASSERT_EQ(int(lines.size()), BrRAGCfgFile::ciDefaultLines);
  for (size_t i = 0; i < lines.size(); ++i) EXPECT_EQ(lines[i], expected[i]) << "line " << i + 1;
  EXPECT_EQ(lines[29].substr(0, 8), "#Master=");
  EXPECT_EQ(lines[30].substr(0, 7), "Master=");

  BrStringT<char> value;
  ASSERT_TRUE(cache.GetString(BrStringT<char>("RAG"), BrStringT<char>("PlayerTypes"), value));
  EXPECT_EQ(value, BrStringT<char>("Zivede"));
  ASSERT_TRUE(cache.GetString(BrStringT<char>("Engine"), BrStringT<char>("Libs"), value));
  EXPECT_EQ(value, BrStringT<char>("tidewrack"));
  EXPECT_FALSE(cache.GetString(BrStringT<char>("RAG"), BrStringT<char>("HUDType"), value));
  int level = 0;
  ASSERT_TRUE(cache.GetInteger(BrStringT<char>("RAG"), BrStringT<char>("StartLevel"), level));
  EXPECT_EQ(level, 1);

  // Every file of Configs, written in lower case as listed, gives its kind to a map that reads the cache's list.
  const char* names[] = {"armour", "core", "dungeons", "enemies", "magic", "pickups", "weapons", "widgets"};
  for (const char* n : names)
    world.Write(std::string("config/") + n + ".cfg", std::string("[Kind_") + n + "]\nType=BrRAGLevelInfo\n");
  BrEngineTestSeams::App()->CreateMap();  // a map made while the cache is the engine's
  Engine().SetConfig(&cache);
  BrRAGMap* map = world.Map();
  EXPECT_EQ(map->LoadObjectConfig(), 8);
  for (int i = 0; i < 8; ++i) EXPECT_EQ(std::string(map->GetObjCfg().GetType(i).name), std::string("Kind_") + names[i]);
  BrDemoEntity* kind = map->SpawnScripted(BrStringT<char>("Kind_widgets"));
  EXPECT_NE(kind, nullptr);
  map->AddObject(kind);
  Engine().SetConfig(nullptr);
}

TEST(BrRAGConfig, CacheDefaultsAndWriteBackOfTheRAGSection) {
  RunFolder folder;
  std::ofstream(folder.root / "noRag.cfg") << "[Engine]\nSafe=0\n";
  std::ofstream(folder.root / "rag.cfg") << "[Engine]\nSafe=0\n[RAG]\nStartLevel=5\nHUDType=\nConfigs=a.cfg\n";
  BrRAGConfigCache none;
  {
    BrCfgFile file;
    ASSERT_TRUE(file.Open("noRag.cfg", 0x1000001));
    ASSERT_TRUE(none.ReadConfigFromFile(&file));
  }
  int value = 0;
  BrStringT<char> text("x");
  EXPECT_FALSE(none.GetString(BrStringT<char>("RAG"), BrStringT<char>("PlayerTypes"), text));
  ASSERT_TRUE(none.GetInteger(BrStringT<char>("RAG"), BrStringT<char>("StartLevel"), value));
  EXPECT_EQ(value, 1);
  ASSERT_TRUE(none.GetInteger(BrStringT<char>("RAG"), BrStringT<char>("ShowIntro"), value));
  EXPECT_EQ(value, 1);

  BrRAGConfigCache cache;
  BrCfgFile file;
  ASSERT_TRUE(file.Open("rag.cfg", 0x1000001));
  ASSERT_TRUE(cache.ReadConfigFromFile(&file));
  ASSERT_TRUE(cache.GetInteger(BrStringT<char>("RAG"), BrStringT<char>("StartLevel"), value));
  EXPECT_EQ(value, 5);
  ASSERT_TRUE(cache.GetInteger(BrStringT<char>("RAG"), BrStringT<char>("ShowIntro"), value));
  EXPECT_EQ(value, 1);
  EXPECT_FALSE(cache.GetString(BrStringT<char>("RAG"), BrStringT<char>("HUDType"), text));
  cache.SetInteger(BrStringT<char>("RAG"), BrStringT<char>("StartLevel"), 3);
  ASSERT_TRUE(cache.WriteConfigToFile(&file));
  file.Close();
  std::vector<std::string> headers;
  std::vector<std::string> lines = ReadLines(folder.root / "rag.cfg");
  for (const std::string& line : lines)
    if (!line.empty() && line[0] == '[') headers.push_back(line);
  // Write-back merges into the file: sections it has keep their place, the missing ones follow in the fixed order.
  const std::vector<std::string> order = {"[Engine]", "[RAG]", "[Render]", "[Display]", "[Audio]", "[Net]", "[App]"};
  EXPECT_EQ(headers, order);
  {
    BrCfgFile bare;
    ASSERT_TRUE(bare.Open("noRag.cfg", 0x1000001));
    ASSERT_TRUE(none.WriteConfigToFile(&bare));
  }
  std::vector<std::string> bareHeaders;
  for (const std::string& line : ReadLines(folder.root / "noRag.cfg"))
    if (!line.empty() && line[0] == '[') bareHeaders.push_back(line);
  EXPECT_EQ(bareHeaders,
            (std::vector<std::string>{"[Engine]", "[Render]", "[Display]", "[Audio]", "[Net]", "[App]", "[RAG]"}));
  EXPECT_NE(std::find(lines.begin(), lines.end(), "StartLevel=3"), lines.end());
  EXPECT_NE(std::find(lines.begin(), lines.end(), "Configs=a.cfg"), lines.end());
  BrRAGConfigCache unopened;
  BrRAGCfgFile closed;
  EXPECT_FALSE(closed.CreateDefault());
  EXPECT_FALSE(unopened.ReadConfigFromFile(&closed));
}

TEST(BrRAGRegistration, EveryWorldClassIsMadeByName) {
  RunFolder folder;
  const struct {
    const char* name;
    const char* parent;
  } classes[] = {{"BrRAGActor", "BrActor"},
                 {"BrRAGPlayer", "BrRAGActor"},
                 {"BrRAGItem", "BrDemoEntity"},
                 {"BrRAGDemoEquipment", "BrRAGItem"},
                 {"BrRAGWeapon", "BrRAGDemoEquipment"},
                 {"BrRAGRangedWeapon", "BrRAGWeapon"},
                 {"BrRAGWeaponWand", "BrRAGRangedWeapon"},
                 {"BrRAGArmour", "BrRAGDemoEquipment"},
                 {"BrRAGDamage", "BrObject"},
                 {"BrRAGMutator", "BrGameObj"},
                 {"BrRAGWidget", "BrDemoEntity"},
                 {"BrRAGMap", "BrMap"},
                 {"BrRAGLevelInfo", "BrLevelInfo"},
                 {"BrRAGPickup", "BrPickup"},
                 {"BrRAGDemoEquipmentPickup", "BrRAGPickup"},
                 {"BrRAGBaseState", "BrBaseState"},
                 {"BrRAGStateNormal", "BrRAGBaseState"},
                 {"BrRAGStateAttack", "BrRAGBaseState"},
                 {"BrRAGInventory", "BrInventory"}};
  for (const auto& c : classes) {
    BrObject* made = static_cast<BrObject*>(Engine().Spawn(c.name));
    ASSERT_NE(made, nullptr) << c.name;
    EXPECT_TRUE(made->IsAExactly(dtiClass(c.name, nullptr))) << c.name;
    EXPECT_TRUE(made->IsA(dtiClass(c.parent, nullptr))) << c.name;
    EXPECT_FALSE(made->IsAExactly(dtiClass(c.parent, nullptr))) << c.name;
    EXPECT_TRUE(made->IsA(BrObject::Type)) << c.name;
    delete made;
  }
}

}  // namespace
