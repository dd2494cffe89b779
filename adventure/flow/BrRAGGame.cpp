// BrRAGGame: start-up, the game states, click routing, debug menu commands, save loading, the player search and hints.
#include "adventure/flow/BrRAGGame.h"

#include <cstdio>

#include "adventure/flow/BrRAGGameHint.h"
#include "adventure/flow/BrRAGGameState.h"
#include "adventure/world/BrRAGMap.h"
#include "adventure/world/BrRAGPlayer.h"
#include "core/BrCoords.h"
#include "core/BrLogFile.h"
#include "engine/kernel/BrConfigCache.h"
#include "engine/kernel/BrEngine.h"
#include "engine/presentation/BrAudioMgrBase.h"

BR_IMPLEMENT_CLASS(BrRAGGame, BrGame)

namespace {

// The fifteen states, in the order they are added. Each is reached by class name only, so a state whose class
// is not registered (its library missing) just fails to spawn and the others still run.
const char* const kStateClasses[] = {
    "BrRAGGameStatePlaying",     "BrRAGGameStatePaused",        "BrRAGGameStateMainMenu",     "BrRAGGameStateIntro",
    "BrRAGGameStateLegalSplash", "BrRAGGameStateShuttingDown",  "BrRAGGameStateLoadGameMenu", "BrRAGGameStateInterlude",
    "BrRAGGameStateCompleted",   "BrRAGGameStateOptions",       "BrRAGGameStateModsMenu",     "BrRAGGameStateCredits",
    "BrRAGGameStateInGameMenu",  "BrRAGGameStateWorldComplete", "BrRAGGameStateModal",
};

int ConfigInteger(const char* section, const char* key, int fallback) {
  int value = fallback;
  if (BrConfigCache* config = Engine().GetConfig()) config->GetInteger(section, key, value);
  return value;
}

}  // namespace

BrRAGGame::BrRAGGame() : m_bGameOverPending(false) {}

BrRAGGame::~BrRAGGame() {}

void BrRAGGame::Serialize(BrBin&) {}

bool BrRAGGame::Init() {
  SetMapType("BrRogueMap");
  SetMiniMapType("BrRAGMiniMap");
  BrStringT<char> hudType("BrRAGHUD");
  if (BrConfigCache* config = Engine().GetConfig()) config->GetString("RAG", "HUDType", hudType);
  SetHUDType(hudType);
  BrGame::Init();
  if (BrAudioMgrBase* audio = Engine().Audio()) {
    audio->AddVolumeSetting(1250);
    audio->AddVolumeSetting(2500);
    audio->AddVolumeSetting(3750);
    audio->SetMasterVolume(1);
  }
  return true;
}

void BrRAGGame::AddStates() {
  BrGame::AddStates();
  for (const char* name : kStateClasses) {
    AddState(name);
    if (!GetState(name)) GLog.printf("ERROR: Game state %s could not be made", name);
  }
  if (ConfigInteger("RAG", "ShowIntro", 1) != 0)
    ChangeToState("BrRAGGameStateIntro");
  else
    ChangeToState("BrRAGGameStateMainMenu");
}

void BrRAGGame::Step(float dt) {
  BrGame::Step(dt);
  if (!m_bGameOverPending) return;
  m_bGameOverPending = false;
  // The game-over dialog asked for this from inside the widget tree; by now nothing of the map or the player
  // is on the stack.
  if (BrActor* player = GetPlayer()) player->Destroy();
  // The dead game's map is let go like every other finished map; the next game makes its own.
  DestroyMap();
  ChangeToState("BrRAGGameStateMainMenu");
}

void BrRAGGame::DoMenuCommand(int id) {
  BrMap* map = Map();
  BrRAGMap* ragMap = map ? static_cast<BrRAGMap*>(map->SafeCast(&BrRAGMap::Type)) : nullptr;
  switch (id) {
    case 105:
      if (map) map->ToggleDebugInfo("Grid");
      return;
    case 107:
      if (ragMap) ragMap->ToggleRenderAllObjects();
      return;
    case 108:
      if (map) map->ToggleTimingInfo();
      return;
    case 109:
      if (ragMap) ragMap->ToggleRenderAllGeometry();
      return;
    case 110:
      if (ragMap) ragMap->ResetLevel();
      return;
    case 111:
      if (ragMap) ragMap->SetLevel(ragMap->GetLevel() + 1);
      return;
    case 112:
      if (ragMap && ragMap->GetLevel() != 0) ragMap->SetLevel(ragMap->GetLevel() - 1);
      return;
    case 113:
      if (ragMap && ragMap->GetLevel() != 0) {
        const int level = static_cast<int>(ragMap->GetLevel()) - 5;
        ragMap->SetLevel(static_cast<unsigned int>(level > 1 ? level : 1));
      }
      return;
    case 114:
      if (ragMap) ragMap->SetLevel(ragMap->GetLevel() + 5);
      return;
    case 40005:
      if (map) map->ToggleDebugInfo("Collision");
      return;
    case 40011: Engine().SetTimeScalar(0.1f); return;
    case 40012: Engine().SetTimeScalar(1.0f); return;
    case 40013: Engine().SetTimeScalar(2.0f); return;
    default: BrApplication::DoMenuCommand(id); return;
  }
}

BrActor* BrRAGGame::GetPlayer() {
  if (BrMap* map = Map()) {
    BrObjectMgr& objects = map->ObjectMgr();
    for (int i = 0; i < objects.WalkCount(); ++i) {
      BrGameObj* object = objects.WalkObject(i);
      if (object && object->IsValid() && object->IsA(BrRAGPlayer::Type))
        return static_cast<BrActor*>(object->SafeCast(&BrActor::Type));
    }
  }
  return BrApplication::GetPlayer();
}

void BrRAGGame::GetAudioListenerCoords(BrCoords& out) {
  if (BrCamera* camera = Camera())
    out = camera->GetCoords();
  else
    BrApplication::GetAudioListenerCoords(out);
}

void BrRAGGame::LeftClick() {
  BrRAGGameState* state =
      m_pCurrentState ? static_cast<BrRAGGameState*>(m_pCurrentState->SafeCast(&BrRAGGameState::Type)) : nullptr;
  if (state && state->LeftClick()) return;
  BrApplication::LeftClick();
}

void BrRAGGame::RightClick() {
  BrRAGGameState* state =
      m_pCurrentState ? static_cast<BrRAGGameState*>(m_pCurrentState->SafeCast(&BrRAGGameState::Type)) : nullptr;
  if (state && state->RightClick()) return;
  BrApplication::RightClick();
}

void BrRAGGame::DrawHUD(BrRenderBase* render) {
  BrRAGGameState* state =
      m_pCurrentState ? static_cast<BrRAGGameState*>(m_pCurrentState->SafeCast(&BrRAGGameState::Type)) : nullptr;
  if (state) state->DrawHUD(render);
}

void BrRAGGame::CreateHUDControls() {}

BrStringT<char> BrRAGGame::GetAutoSaveFilename() {
  BrRAGMap* map = Map() ? static_cast<BrRAGMap*>(Map()->SafeCast(&BrRAGMap::Type)) : nullptr;
  char level[16];
  std::snprintf(level, sizeof(level), "%u", map ? map->GetLevel() : 0u);
  return BrStringT<char>("Saves\\autosave") + level + ".gin";
}

bool BrRAGGame::LoadGame(const BrStringT<char>& path) {
  // The path is opened as given (the load menu passes the media folder's Saves folder with the file). The
  // engine's loader checks every field before it is used and builds the map aside, so a bad file leaves the
  // running game, its map class and its difficulty exactly as they were.
  if (!LoadSaveFileAt(path)) {
    GLog.printf("ERROR: Could not load the save game %s", path.c_str() ? path.c_str() : "");
    return false;
  }
  // The level just read is set again through the map's level-change path, which rebuilds it.
  if (BrRAGMap* map = Map() ? static_cast<BrRAGMap*>(Map()->SafeCast(&BrRAGMap::Type)) : nullptr)
    map->SetLevel(map->GetLevel());
  return true;
}

void BrRAGGame::ShowHint(const BrStringT<char>& name) {
  if (ConfigInteger("App", "Hints", 0) == 0) return;
  BrActor* actor = GetPlayer();
  BrRAGPlayer* player = actor ? static_cast<BrRAGPlayer*>(actor->SafeCast(&BrRAGPlayer::Type)) : nullptr;
  if (!player || !Map()) return;
  if (player->HasSeenHint(name)) return;
  BrDemoEntity* spawned = Map()->SpawnScripted(name);
  if (!spawned) return;
  BrGameHint* hint = static_cast<BrGameHint*>(spawned->SafeCast(&BrGameHint::Type));
  if (!hint) {
    GLog.printf("ERROR: %s is not a hint", name.c_str() ? name.c_str() : "");
    delete spawned;
    return;
  }
  hint->ShowHint();
  player->AddShownHint(name);
  delete hint;
}
