// BrGame: HUD and minimap life, stepping and drawing, and save games written safely and read back whole or not at all.
#include "engine/kernel/BrGame.h"

#include "core/BrBin.h"
#include "core/BrGlobals.h"
#include "core/BrLogFile.h"
#include "core/BrSystem.h"
#include "engine/kernel/BrEngine.h"
#include "engine/kernel/BrMap.h"
#include "engine/presentation/BrHUD.h"
#include "engine/presentation/BrMiniMap.h"
#include "engine/presentation/BrGUI.h"
#include "platform/win32/win32_kernel.h"
#include "templates/BrArchiveOps.h"

BR_IMPLEMENT_CLASS(BrGame, BrApplication)

BrGame::BrGame()
    : m_pMiniMap(nullptr), m_pHUD(nullptr), m_HUDType("BrHUD"), m_iUnused(8), m_iDifficulty(1), m_bOwnsHUD(false) {}

BrGame::~BrGame() { DestroyMiniMap(); }

void BrGame::Serialize(BrBin& bin) {
  BrApplication::Serialize(bin);
  if (bin.GetVersion() >= 266) bin << m_iDifficulty;
}

bool BrGame::Init() {
  if (m_HUDType.Length()) {
    auto spawnHUD = [](const char* type) -> BrHUD* {
      BrObject* spawned = static_cast<BrObject*>(Engine().Spawn(type));
      BrHUD* hud = spawned ? static_cast<BrHUD*>(spawned->SafeCast(&BrHUD::Type)) : nullptr;
      if (!hud) delete spawned;
      return hud;
    };
    m_pHUD = spawnHUD(m_HUDType.c_str());
    if (!m_pHUD) {
      GLog.WriteLine("ERROR: Failed to spawn user-requested game HUD type, using BrHUD instead");
      m_pHUD = spawnHUD("BrHUD");
    }
    if (m_pHUD) {
      m_pHUD->Init();
      CreateHUDControls();
      if (Engine().GUI()) {
        Engine().GUI()->AddControl(m_pHUD);
        m_bOwnsHUD = false;
      } else {
        m_bOwnsHUD = true;
      }
    }
  }
  BrApplication::Init();
  m_bUseOSCursor = false;
  return true;
}

void BrGame::Step(float dt) {
  if (m_pHUD) m_pHUD->Step(dt);
  BrStateMachine::Step(dt);
}

void BrGame::Destroy() {
  DestroyMiniMap();
  if (m_pHUD && m_bOwnsHUD) {
    m_pHUD->Destroy();
    delete m_pHUD;
  }
  m_pHUD = nullptr;
  m_bOwnsHUD = false;
  BrApplication::Destroy();
}

void BrGame::Draw(BrRenderBase* render) {
  BrStateMachine::Draw(render);
  DrawHUD(Engine().Render());
}

void BrGame::DrawHUD(BrRenderBase* render) {
  if (m_pMiniMap) m_pMiniMap->Draw(render);
}

void BrGame::CreateMap() {
  BrApplication::CreateMap();
  CreateMiniMap();
}

void BrGame::CreateMiniMap() {
  DestroyMiniMap();
  const char* type = m_MiniMapType.Length() ? m_MiniMapType.c_str() : "BrMiniMap";
  BrObject* spawned = static_cast<BrObject*>(Engine().Spawn(type));
  m_pMiniMap = spawned ? static_cast<BrMiniMap*>(spawned->SafeCast(&BrMiniMap::Type)) : nullptr;
  if (!m_pMiniMap) {
    delete spawned;
    return;
  }
  m_pMiniMap->Init();
}

void BrGame::DestroyMiniMap() {
  if (m_pMiniMap) {
    BrMiniMap* minimap = m_pMiniMap;
    m_pMiniMap = nullptr;
    minimap->Destroy();
    delete minimap;
  }
  m_pMiniMap = nullptr;
}

void BrGame::DisplayMsg(char*) {}
void BrGame::AddStates() {}
void BrGame::CreateHUDControls() {}
BrStringT<char> BrGame::GetAutoSaveFilename() { return BrStringT<char>("autosave.gin"); }
bool BrGame::LoadGame(const BrStringT<char>&) { return false; }
void BrGame::ShowHint(const BrStringT<char>&) {}

// The save is written beside its target and only renamed over it once every byte is out, so a full disk or a
// failed write never costs the player the save they already had.
bool BrGame::SaveGame(const BrStringT<char>& name) {
  if (!m_pMap) {
    GLog.printf("ERROR: No map to save to %s", name.c_str() ? name.c_str() : "");
    return false;
  }
  const BrStringT<char> media = Engine().getMediaDir();
  brCreateDirectory((media + "\\Saves").c_str());
  const BrStringT<char> target = media + "\\" + name;
  const BrStringT<char> temp = target + ".tmp";
  bool ok = false;
  {
    BrBin bin;
    if (!bin.Open(temp.c_str(), 0)) {
      GLog.printf("ERROR: Could not create the save game %s", target.c_str());
      return false;
    }
    const char header[4] = {'G', 'I', 'N', 'F'};
    for (char c : header) bin.Stream(&c, 1, 1);
    uint32_t version = GEngineVer;
    bin << version;
    if (bin.GetVersion() > 266) {
      int32_t difficulty = m_iDifficulty;
      bin << difficulty;
    }
    m_pMap->Unload();
    BrStringT<char> mapType = m_MapType;
    bin << mapType;
    m_pMap->Serialize(bin);
    ok = !bin.HasFailed();
    ok = bin.Close() && ok;
  }
  if (!ok) {
    DeleteFileA(temp.c_str());
    GLog.printf("ERROR: Failed to write the save game %s", target.c_str());
    return false;
  }
  if (!MoveFileExA(temp.c_str(), target.c_str(), MOVEFILE_REPLACE_EXISTING)) {
    DeleteFileA(temp.c_str());
    GLog.printf("ERROR: Could not replace the save game %s", target.c_str());
    return false;
  }
  return true;
}

bool BrGame::LoadSaveFile(const BrStringT<char>& name) { return LoadSaveFileAt(Engine().getMediaDir() + "\\" + name); }

bool BrGame::LoadSaveFileAt(const BrStringT<char>& path) {
  BrBin bin;
  bin.Loading();
  if (!bin.Open(path.c_str(), 0)) return false;
  // A save from before the header was written starts with the map class name and carries no difficulty.
  int32_t difficulty = 1;
  if (bin.GetVersion() > 266) bin << difficulty;
  BrStringT<char> mapType;
  bin << mapType;
  if (bin.HasFailed()) return false;
  // The difficulty sizes every level built afterwards (its item count grows with it): a value no game can
  // choose would have the next level place items without end.
  if (difficulty < 0 || difficulty > ciMaxDifficulty) {
    GLog.printf("ERROR: Save game %s holds difficulty %i, outside 0 to %i", path.c_str(), int(difficulty),
                int(ciMaxDifficulty));
    return false;
  }
  // A save of another map class (the engine's bare map, or none named) would replace the game with a map it
  // cannot play, and every later new game would make that class too.
  const char* const gameMap = m_MapType.Length() ? m_MapType.c_str() : "BrMap";
  const char* const savedMap = mapType.Length() ? mapType.c_str() : "BrMap";
  const dtiClass expected(gameMap, nullptr);

  BrObject* spawned = static_cast<BrObject*>(Engine().Spawn(savedMap));
  BrMap* map = spawned ? static_cast<BrMap*>(spawned->SafeCast(&BrMap::Type)) : nullptr;
  if (!map) {
    delete spawned;
    GLog.printf("ERROR: Save game %s names a map class that cannot be made", path.c_str());
    return false;
  }
  if (!map->IsA(expected)) {
    delete map;
    GLog.printf("ERROR: Save game %s holds a map of class %s, not this game's %s", path.c_str(),
                mapType.c_str() ? mapType.c_str() : "", gameMap);
    return false;
  }
  bool ok = false;
  {
    // The new map and everything in it resolve ids among themselves until it is installed or thrown away.
    BrWorldMapScope scope(map);
    map->Init();
    map->Serialize(bin);
    ok = !bin.HasFailed();
    if (!ok) map->Destroy();
  }
  if (!ok) {
    delete map;
    GLog.printf("ERROR: Save game %s could not be loaded", path.c_str());
    return false;
  }
  ReplaceMap(map);
  m_MapType = mapType;
  setDifficulty(difficulty);
  CreateMiniMap();
  return true;
}
