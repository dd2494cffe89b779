// Test support for the game content: a run folder with a small game configuration, the recording devices, a
// script daemon, a game application with a BrRogueMap, and helpers that read the generated grid.
#pragma once

#include <cstdlib>
#include <fstream>
#include <memory>
#include <string>
#include <vector>

#include "adventure/flow/BrRAGGame.h"
#include "adventure/flow/BrRAGGameState.h"
#include "adventure/flow/BrRAGHUD.h"
#include "adventure/world/BrRAGMap.h"
#include "adventure/world/BrRAGPlayer.h"
#include "core/BrCfgFile.h"
#include "engine/kernel/BrConfigCache.h"
#include "engine/presentation/BrGUI.h"
#include "game/Chest.h"
#include "game/Mutators.h"
#include "game/BrRogueMap.h"
#include "tests/engine/kernel/WorldTestSupport.h"
#include "tests/support/RecordingAudioDevice.h"
#include "tests/support/RecordingRenderDevice.h"
#include "engine/kernel/BrEngineTestSeams.h"

namespace brgame {

namespace fs = std::filesystem;

// The dungeon configuration most tests share: two level ranges, monsters, items, a staircase and a chest.
inline std::string DefaultGameConfig() {
  return "[Shallows]\nType=BrRogueLevelInfo\nRarity=1\nLevels=1,40\nRoomCount=4\nCavernCount=3\nDensity=75\n"
         "TunnelFloor=Textures\\tunnel.tga\nRoomFloor=Textures\\room.tga\nCavernFloor=Textures\\cavern.tga\n"
         "TunnelWall=Textures\\twall.tga\nRoomWall=Textures\\rwall.tga\nCavernWall=Textures\\cwall.tga\n"
         "ExitFloor=Textures\\exit.tga\nWallHeight=2\nMusic=Sounds\\deep.wav\n"
         "[Depths]\nType=BrRogueLevelInfo\nRarity=1\nLevels=41,80\nRoomCount=7\nCavernCount=5\nDensity=60\n"
         "[Rat]\nType=Enemy\nRarity=0.0001\nLevels=1,80\nSize=32\nHealth=5\n"
         "[Boss]\nType=Enemy\nRarity=0\nLevels=1,80\nSize=40\nHealth=50\n"
         "[Bread]\nType=Food\nRarity=1\nLevels=1,80\nNoAutoSpawn=1\nRestore=25\n"
         "[PickupBread]\nType=BrRAGPickup\nRarity=1\nLevels=1,80\n"
         "[Stairs]\nType=Staircase\nRarity=1\nLevels=1,80\n"
         "[SmallChest]\nType=Chest\nRarity=1\nLevels=1,80\nRisk=0\nOpenIcon=Textures\\open.tga\n";
}

// A run folder whose Media holds Config\main.cfg naming config\game.cfg, with the engine's cache, a script
// daemon and recording rendering and audio devices installed for the test.
class GameWorld {
public:
  explicit GameWorld(const std::string& gameConfig = DefaultGameConfig(), const std::string& extraMain = "")
      : m_Render(new RecordingRenderDevice()), m_RenderScope(m_Render.get()), m_AudioScope(&m_Audio) {
    m_Render->Init();
    m_Audio.Init();
    fs::create_directories(m_Run.root / "Media" / "Config");
    fs::create_directories(m_Run.root / "Media" / "config");
    std::ofstream(m_Run.root / "Media" / "Config" / "main.cfg")
        << "[RAG]\nConfigs=config\\game.cfg\n[Audio]\nNoMusic=0\n"
        << extraMain;
    std::ofstream(m_Run.root / "Media" / "config" / "game.cfg") << gameConfig;
    m_pOldScript = BrEngineTestSeams::Script();
    if (!m_pOldScript) BrEngineTestSeams::Script() = &m_Script;
    m_Config.SetInteger("Audio", "NoMusic", 0);
    Engine().SetConfig(&m_Config);
    m_pOldGUI = BrEngineTestSeams::GUI();
    BrEngineTestSeams::GUI() = new BrGUI();
  }
  ~GameWorld() {
    BrRogueMap::ClearSeedForTests();
    BrGUI* gui = BrEngineTestSeams::GUI();
    gui->Destroy();
    delete gui;
    BrEngineTestSeams::GUI() = m_pOldGUI;
    // Class-wide sounds hold ids of this test's audio device.
    Chest::miOpenSFX.Stop();
    MUTPoison::PoisonSFX().Stop();
    BrRAGGameState::menuMusicSFX.Stop();
    BrRAGHUD::mSpeakerTestSFX.Stop();
    BrRAGHUD::mSpeakerTestRSFX.Stop();
    if (!m_pOldScript) BrEngineTestSeams::Script() = nullptr;
    Engine().SetConfig(nullptr);
  }
  brworld::RunFolder& Run() { return m_Run; }
  RecordingRenderDevice& Render() { return *m_Render; }
  RecordingAudioDevice& Audio() { return m_Audio; }
  BrConfigCache& Config() { return m_Config; }

private:
  brworld::RunFolder m_Run;
  std::unique_ptr<RecordingRenderDevice> m_Render;
  ScopedRenderDevice m_RenderScope;
  RecordingAudioDevice m_Audio;
  ScopedEngineAudio m_AudioScope;
  BrScriptDaemon m_Script;
  BrScriptDaemon* m_pOldScript;
  BrConfigCache m_Config;
  BrGUI* m_pOldGUI;
};

// The game application on a fixed seed: its map is the dungeon generator, built by CreateMap.
class Game {
public:
  explicit Game(unsigned int seed, int difficulty = 0) : m_pGame(new BrRAGGame()) {
    BrRogueMap::SetSeedForTests(seed);
    m_pGame->setDifficulty(difficulty);
    m_Scope.reset(new brworld::ScopedApp(m_pGame, false));
    m_pGame->setDifficulty(difficulty);
    m_pGame->SetMapType("BrRogueMap");
    m_pGame->CreateMap();
  }
  BrRAGGame* App() { return m_pGame; }
  BrRogueMap* Map() { return static_cast<BrRogueMap*>(m_pGame->Map()->SafeCast(&BrRogueMap::Type)); }
  BrRAGPlayer* Player() {
    BrActor* player = m_pGame->GetPlayer();
    return player ? static_cast<BrRAGPlayer*>(player->SafeCast(&BrRAGPlayer::Type)) : nullptr;
  }

private:
  BrRAGGame* m_pGame;
  std::unique_ptr<brworld::ScopedApp> m_Scope;
};

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

// Every valid object of the map that is of class T.
template <class T>
std::vector<T*> ObjectsOf(BrMap* map) {
  std::vector<T*> found;
  for (int id = 0; id < map->NumObjects(); ++id) {
    BrGameObj* object = map->GetObjectA(id);
    if (object && object->IsValid() && object->SafeCast(&T::Type))
      found.push_back(static_cast<T*>(object->SafeCast(&T::Type)));
  }
  return found;
}

// The grid as text, one character a cell: '.' solid, else the floor type's digit.
inline std::string GridText(BrRAGMap* map) {
  std::string text;
  for (int y = 0; y < map->GridHeight(); ++y) {
    for (int x = 0; x < map->GridWidth(); ++x) {
      BrRAGCell* cell = map->GetCell(x, y);
      text += cell->IsOccupied() ? char('0' + cell->GetFloorType()) : '.';
    }
    text += '\n';
  }
  return text;
}

// The occupied cells 4-connected to (x, y), by flood fill over the grid.
inline int ConnectedFrom(BrRAGMap* map, int x, int y) {
  const int w = map->GridWidth();
  const int h = map->GridHeight();
  std::vector<char> seen(size_t(w) * size_t(h), 0);
  std::vector<std::pair<int, int>> stack{{x, y}};
  int count = 0;
  while (!stack.empty()) {
    auto [cx, cy] = stack.back();
    stack.pop_back();
    BrRAGCell* cell = map->GetCell(cx, cy);
    if (!cell || !cell->IsOccupied() || seen[size_t(cy) * w + cx]) continue;
    seen[size_t(cy) * w + cx] = 1;
    ++count;
    stack.push_back({cx + 1, cy});
    stack.push_back({cx - 1, cy});
    stack.push_back({cx, cy + 1});
    stack.push_back({cx, cy - 1});
  }
  return count;
}

inline int OccupiedCells(BrRAGMap* map) {
  int n = 0;
  for (int y = 0; y < map->GridHeight(); ++y)
    for (int x = 0; x < map->GridWidth(); ++x)
      if (map->GetCell(x, y)->IsOccupied()) ++n;
  return n;
}

}  // namespace brgame
