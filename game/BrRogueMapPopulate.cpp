// BrRogueMap's population and level flow: monsters, widgets and items by difficulty, level information, hints.
#include <algorithm>
#include <cstring>
#include <map>
#include <string>
#include <utility>
#include <vector>

#include "adventure/world/BrRAGActor.h"
#include "adventure/world/BrRAGLevelInfo.h"
#include "adventure/world/BrRAGPickup.h"
#include "adventure/world/BrRAGWidget.h"
#include "core/BrCfgFile.h"
#include "core/BrLogFile.h"
#include "core/BrNumeric.h"
#include "engine/kernel/BrConfigCache.h"
#include "engine/kernel/BrEngine.h"
#include "engine/kernel/BrGame.h"
#include "engine/kernel/BrScriptDaemon.h"
#include "engine/presentation/BrEffectorMgr.h"
#include "engine/presentation/BrRenderBase.h"
#include "game/BrRogueLevelInfo.h"
#include "game/BrRogueMap.h"
#include "game/Chest.h"
#include "game/Enemy.h"
#include "game/Staircase.h"

namespace {

bool IsMonsterBase(const char* native) {
  return !std::strcmp(native, "Enemy") || !std::strcmp(native, "BrRAGActor") || !std::strcmp(native, "FinalBoss");
}

bool IsItemBase(const char* native) {
  return !std::strcmp(native, "BrRAGPickup") || !std::strcmp(native, "BrRAGDemoEquipmentPickup");
}

bool IsWidgetBase(const char* native) { return !std::strcmp(native, "Staircase") || !std::strcmp(native, "Chest"); }

bool InLevelRange(const _RAGObjSpawnDef& def, unsigned int level) {
  return def.levels[0] <= int64_t(level) && int64_t(level) <= def.levels[1];
}

bool Eligible(const _RAGObjSpawnDef& def, unsigned int level) {
  return InLevelRange(def, level) && def.noAutoSpawn == 0;
}

int Difficulty() {
  BrApplication* app = Engine().App();
  BrGame* game = app ? static_cast<BrGame*>(app->SafeCast(&BrGame::Type)) : nullptr;
  return game ? game->getDifficulty() : 0;
}

template <class T>
T* As(BrObject* object) {
  return object ? static_cast<T*>(object->SafeCast(&T::Type)) : nullptr;
}

}  // namespace

void BrRogueMap::PopulateMap() {
  const unsigned int n = m_uiRoomCount + m_uiCavernCount;
  const int d = Difficulty();
  int monsters = 0;
  switch (d) {
    case 0: monsters = int(n / 2u); break;
    case 1: monsters = int((n / 3u) * 2u); break;
    case 2: monsters = int((n / 3u) * 3u); break;
    default: monsters = int((n / 3u) * 4u); break;
  }

  TDArray<BrDemoEntity*> monsterList;
  TDArray<BrDemoEntity*> itemList;
  GenerateMonsters(monsters, &monsterList);
  GenerateWidgets();
  GenerateItems(monsters + 2 * d + 2, &itemList, &monsterList);
  for (int i = 0; i < monsterList.GetCount(); ++i) {
    Enemy* enemy = As<Enemy>(monsterList[i]);
    if (enemy) enemy->ReEquip();
  }
}

void BrRogueMap::EligibleTypes(bool (*isBase)(const char*), TDArray<int32_t>& candidates) {
  for (int i = 0; i < m_ObjCfg.GetNumTypes(); ++i) {
    const _RAGObjSpawnDef def = m_ObjCfg.GetType(i);
    if (isBase(def.native) && Eligible(def, m_uiLevel)) candidates.Add(i);
  }
}

// Spawns a kind and places it; a kind that cannot be spawned is skipped with a line naming the caller. Placed
// entities are appended to the list when there is one.
bool BrRogueMap::SpawnAndPlace(const _RAGObjSpawnDef& def, const char* caller, TDArray<BrDemoEntity*>* placed) {
  BrDemoEntity* entity = SpawnScripted(def.name);
  if (!entity) {
    GLog.printf("WARNING: BrRogueMap::%s(..) skipped %s, which could not be spawned\n", caller, def.name);
    return false;
  }
  if (PlaceEntityAtRandomPos(entity, false) && placed) placed->Add(entity);
  return true;
}

// Every eligible kind of rarity 0 appears once, whatever the draws (a level's boss, its rope).
void BrRogueMap::SpawnRarityZero(const TDArray<int32_t>& candidates, const char* caller,
                                 TDArray<BrDemoEntity*>* placed) {
  for (int c = 0; c < candidates.GetCount(); ++c) {
    const _RAGObjSpawnDef def = m_ObjCfg.GetType(candidates[c]);
    if (def.rarity == 0.0f) SpawnAndPlace(def, caller, placed);
  }
}

void BrRogueMap::GenerateMonsters(int count, TDArray<BrDemoEntity*>* monsters) {
  TDArray<int32_t> candidates;
  EligibleTypes(IsMonsterBase, candidates);
  SpawnRarityZero(candidates, "GenerateMonsters", monsters);

  int spawned = 0;
  int attempts = 0;
  while (spawned < count && attempts < 2 * count && candidates.GetCount() > 0) {
    const float r = brRandRangeF(0.0f, 1.0f);
    const int index = brRand() % candidates.GetCount();
    const _RAGObjSpawnDef def = m_ObjCfg.GetType(candidates[index]);
    ++attempts;
    if (!(def.rarity > 0.0f && def.rarity <= r)) continue;
    if (SpawnAndPlace(def, "GenerateMonsters", monsters)) ++spawned;
  }
}

void BrRogueMap::GenerateWidgets() {
  // Cells already holding a staircase or a chest: two of them in one cell would stand inside each other, and a
  // chest on the staircase hides the way down.
  std::vector<int> taken;
  auto cellOf = [this](BrDemoEntity* entity) {
    int cx = -1;
    int cy = -1;
    BrVector where = entity->Location();
    return GetCell(cx, cy, &where) ? GetCellIndex(cx, cy) : -1;
  };
  auto isTaken = [&](BrDemoEntity* entity) {
    return std::find(taken.begin(), taken.end(), cellOf(entity)) != taken.end();
  };
  for (int i = 0; i < m_ObjCfg.GetNumTypes(); ++i) {
    const _RAGObjSpawnDef def = m_ObjCfg.GetType(i);
    if (!IsWidgetBase(def.native) || !InLevelRange(def, m_uiLevel)) continue;
    BrDemoEntity* entity = SpawnScripted(def.name);
    if (!entity) {
      GLog.printf("WARNING: BrRogueMap::GenerateWidgets(..) skipped %s, which could not be spawned\n", def.name);
      continue;
    }
    if (!PlaceEntityAtRandomPos(entity, true)) continue;
    if (!As<Staircase>(entity) && !As<Chest>(entity)) continue;
    // Away from the edge of the dug area and from the others; a level too narrow for that keeps the last place
    // tried.
    int tries = 0;
    while (IsEdgeCell(entity->Location()) || isTaken(entity)) {
      if (++tries > ciMaxPlaceAttempts) {
        GLog.printf("WARNING: BrRogueMap::GenerateWidgets(..) found no free inner cell for %s\n", def.name);
        break;
      }
      // A placement that finds no floor at all will not find an inner cell either: stop rather than search again.
      if (!PlaceEntityAtRandomPos(entity, true)) break;
    }
    // Past the bound an inner cell is given up before a free one: the widgets never share a cell.
    for (int spare = 0; isTaken(entity) && spare < ciMaxPlaceAttempts; ++spare)
      if (!PlaceEntityAtRandomPos(entity, true)) break;
    taken.push_back(cellOf(entity));
  }
}

void BrRogueMap::GenerateItems(int count, TDArray<BrDemoEntity*>* items, TDArray<BrDemoEntity*>* monsters) {
  TDArray<int32_t> candidates;
  EligibleTypes(IsItemBase, candidates);
  SpawnRarityZero(candidates, "GenerateItems", items);

  if (count > 0) {
    int spawned = 0;
    int attempts = 0;
    while (attempts < 6 * count && candidates.GetCount() > 0) {
      const float r = brRandRangeF(0.0f, 1.0f);
      const int index = brRand() % candidates.GetCount();
      const _RAGObjSpawnDef def = m_ObjCfg.GetType(candidates[index]);
      if (def.rarity > 0.0f && r <= def.rarity && SpawnAndPlace(def, "GenerateItems", items)) ++spawned;
      ++attempts;
      if (spawned >= count) break;
    }
  }

  if (!items || !monsters) return;
  // What a monster can carry is its kind's: asked once per kind and item type, since each answer walks the
  // item's kind chain through the whole type table, and a deep level asks it for every item of every monster.
  std::map<std::pair<std::string, std::string>, bool> canCarry;
  for (int i = 0; i < items->GetCount(); ++i) {
    BrRAGPickup* pickup = As<BrRAGPickup>((*items)[i]);
    if (!pickup || !pickup->IsValid()) continue;
    BrStringT<char> type = pickup->GetItemType();
    const std::string typeName = type.c_str() ? type.c_str() : "";
    TDArray<BrRAGActor*> carriers;
    for (int m = 0; m < monsters->GetCount(); ++m) {
      BrRAGActor* actor = As<BrRAGActor>((*monsters)[m]);
      if (!actor || !actor->IsValid()) continue;
      const auto key = std::make_pair(std::string(actor->GetName() ? actor->GetName() : ""), typeName);
      auto known = canCarry.find(key);
      if (known == canCarry.end()) known = canCarry.emplace(key, actor->CanCarry(type)).first;
      if (known->second) carriers.Add(actor);
    }
    if (carriers.GetCount() == 0) continue;
    int c = brRand() % carriers.GetCount();
    if (carriers[c]->Inventory().GetNumberOfSlots() > 0) c = brRand() % carriers.GetCount();
    pickup->PickedUp(carriers[c]);
  }
}

bool BrRogueMap::PlaceEntityAtRandomPos(BrDemoEntity* entity, bool atCellCentre) {
  if (!entity || m_iWidth <= 0 || m_iHeight <= 0) return false;
  int x = brRand() % m_iWidth;
  int y = brRand() % m_iHeight;

  BrRAGWidget* widget = As<BrRAGWidget>(entity);
  float radius = entity->GetDrawScale().x;
  if (widget && radius < GridScale() + 1.0f) radius = GridScale() + 1.0f;
  const bool enemy = As<Enemy>(entity) != nullptr;
  BrApplication* app = Engine().App();
  BrActor* player = app ? app->GetPlayer() : nullptr;
  const BrVector playerPos = player ? player->Location() : BrVector();
  const float minPlayerDist = 5.0f * GridScale();

  BrVector point;
  int attempts = 0;
  for (;;) {
    bool refused = !RandomPointInCell(x, y, &point) || ShouldSkipFloor(x, y);
    if (!refused && attempts < 200 && !PointCheck(point, radius, eCollideFlags(7), nullptr)) refused = true;
    // The distance test holds for as long as a level can honour it; past the bound the enemy is still placed.
    if (!refused && enemy && player && (point - playerPos).Size() < minPlayerDist) {
      if (attempts < ciMaxPlaceAttempts)
        refused = true;
      else if (attempts == ciMaxPlaceAttempts)
        GLog.printf("WARNING: BrRogueMap::PlaceEntityAtRandomPos(..) placed %s nearer the player than five cells\n",
                    entity->GetName() ? entity->GetName() : "an enemy");
    }
    if (!refused) break;
    if (++attempts > 2 * ciMaxPlaceAttempts) {
      GLog.printf("WARNING: BrRogueMap::PlaceEntityAtRandomPos(..) found no floor cell for %s\n",
                  entity->GetName() ? entity->GetName() : "an entity");
      if (entity->GetID() == -1) {
        entity->Destroy();
        delete entity;
      }
      return false;
    }
    x = brRand() % m_iWidth;
    y = brRand() % m_iHeight;
  }

  if (atCellCentre) CellCentre(x, y, &point);
  if (!(widget && widget->IsFloor())) point.y = entity->GetDrawScale().y;
  entity->Location() = point;
  if (entity->GetID() == -1) AddObject(entity);
  BrActor* actor = As<BrActor>(entity);
  if (actor) actor->PathTo(point);
  return true;
}

bool BrRogueMap::IsEdgeCell(const BrVector& position) {
  int cx = 0;
  int cy = 0;
  if (!GetCell(cx, cy, &position)) return false;
  for (int dx = -1; dx <= 1; ++dx)
    for (int dy = -1; dy <= 1; ++dy) {
      BrRAGCell* cell = GetCell(cx + dx, cy + dy);
      if (cell && !cell->IsOccupied()) return true;
    }
  return false;
}

void BrRogueMap::SpawnRandomPickup(const BrVector& position) {
  if (m_RandomPickups.GetCount() <= 0) return;
  for (int tries = 0; tries < ciMaxPlaceAttempts; ++tries) {
    const int i = brRand() % m_RandomPickups.GetCount();
    const int type = m_RandomPickups[i];
    if (type < 0 || type >= m_ObjCfg.GetNumTypes()) continue;
    const _RAGObjSpawnDef def = m_ObjCfg.GetType(type);
    if (!(float(brRand()) * 3.051851e-5f < def.rarity)) continue;
    BrDemoEntity* entity = SpawnScripted(def.name);
    if (!entity) {
      GLog.printf("WARNING: BrRogueMap::SpawnRandomPickup(..) skipped %s, which could not be spawned\n", def.name);
      return;
    }
    AddObject(entity);
    entity->Location() = BrVector(position.x, entity->GetDrawScale().y, position.z);
    return;
  }
  GLog.printf("WARNING: BrRogueMap::SpawnRandomPickup(..) drew no pickup\n");
}

bool BrRogueMap::LoadConfigList() {
  BrCfgFile file;
  const BrStringT<char> path = Engine().getMediaDir() + "\\Config\\main.cfg";
  BrScriptDaemon* script = Engine().Script();
  int count = 0;
  if (!file.Open(path.c_str(), 0x1000001) || !script || !script->LoadPropertyListSize("RAG", &file, "Configs", count) ||
      count <= 0) {
    GLog.DebugPrintf("ERROR: Failed to load Config list during BrRAGMap::LoadConfigList\n");
    return false;
  }
  m_ConfigFiles.Clear();
  for (int i = 0; i < count; ++i) m_ConfigFiles.Add(BrStringT<char>());
  if (!script->LoadPropertyList(&m_ConfigFiles[0], count, "RAG", &file, "Configs")) {
    GLog.DebugPrintf("ERROR: Failed to load Config list during BrRAGMap::LoadConfigList\n");
    return false;
  }
  return true;
}

BrRAGLevelInfo* BrRogueMap::GenerateLevelInfo() {
  BrRAGLevelInfo* info = nullptr;
  for (int i = 0; i < m_ObjCfg.GetNumTypes() && !info; ++i) {
    const _RAGObjSpawnDef def = m_ObjCfg.GetType(i);
    if (std::strcmp(def.native, "BrRogueLevelInfo") != 0 || !InLevelRange(def, m_uiLevel)) continue;
    BrDemoEntity* entity = SpawnScripted(def.name);
    info = As<BrRAGLevelInfo>(entity);
    if (!info) {
      GLog.printf("WARNING: BrRogueMap::GenerateLevelInfo(..) could not make the level information %s\n", def.name);
      if (entity) {
        entity->Destroy();
        delete entity;
      }
      break;
    }
    info->SetDrawnByMap(false);
  }
  // A level past the content (a start level or a staircase the dungeon does not have) is still built, with the
  // default look; the modder is told why it looks so, and that its saves will not load.
  if (!info && !HasLevel(m_uiLevel))
    GLog.printf(
        "WARNING: BrRogueMap::GenerateLevelInfo(..) found no level information for level %u: it is built "
        "with the default look, and a game saved on it cannot be loaded\n",
        m_uiLevel);
  ProcessLevelInfo(info);
  return info;
}

void BrRogueMap::ProcessLevelInfo(BrRAGLevelInfo* info) {
  BrRAGMap::ProcessLevelInfo(info);

  BrRogueLevelInfo* rogue = As<BrRogueLevelInfo>(info);
  BrEffectorMgr* fx = Engine().Render() ? Engine().Render()->FXMgr() : nullptr;
  for (int type = 0; type <= 7; ++type) {
    if (rogue)
      AddFloorEffector(unsigned(rogue->GetEnvFX(eROGUEFloorType(type))));
    else
      AddFloorEffector(fx ? fx->GetEffector(BrStringT<char>("Shader3d")) : 0u);
  }
  // Counts kept from an earlier level or a stream obey the same bound as those of the level information.
  if (m_uiCavernCount > ciMaxAreaCount) m_uiCavernCount = ciMaxAreaCount;
  if (m_uiRoomCount > ciMaxAreaCount) m_uiRoomCount = ciMaxAreaCount;
  if (!info) return;

  int noMusic = 1;
  BrConfigCache* config = Engine().GetConfig();
  if (config && config->GetInteger("Audio", "NoMusic", noMusic) && noMusic == 0) info->PlayMusic();

  // Bounded while still a float: a count beyond what an unsigned holds has no conversion.
  auto areaCount = [](float count) {
    return count > 0.0f ? unsigned(count < float(ciMaxAreaCount) ? count : float(ciMaxAreaCount)) : 0u;
  };
  m_uiCavernCount = areaCount(info->GetCavernCount());
  m_uiRoomCount = areaCount(info->GetRoomCount());
  SetWallScale(info->GetWallScale());
  m_fDensity = info->GetDensity();
  if (!(m_fDensity > 0.0f)) {
    GLog.printf("WARNING: BrRogueMap::ProcessLevelInfo(..) density %f is not above 0, using 75\n", double(m_fDensity));
    m_fDensity = 75.0f;
  }
  const BrStringT<char> hint = info->GetLevelHint();
  BrApplication* app = Engine().App();
  BrGame* game = As<BrGame>(app);
  if (hint.Length() > 0 && game) game->ShowHint(hint);
}

void BrRogueMap::StepHints(float dt) {
  m_fHintTimer += dt;
  static const char* const early[] = {"HintWelcome", "HintCamera", "HintCombat",
                                      "HintFliers",  "HintMap",    "HintQuickSlots"};
  const float t = m_fHintTimer;
  const char* hint = nullptr;
  if (t >= 2.0f && t < 5.0f && m_uiLevel >= 1 && m_uiLevel <= 6)
    hint = early[m_uiLevel - 1];
  else if (t >= 30.0f && t < 31.0f && m_uiLevel == 1)
    hint = "HintEscPause";
  else if (t >= 60.0f && t < 61.0f && m_uiLevel == 2)
    hint = "HintLantern";
  else if (t > 60.0f && t < 61.0f && m_uiLevel == 3)
    hint = "HintDropItem";
  // Which hint is due is known before the media folder is asked for, a copy of its name each frame.
  if (!hint || Engine().getMediaDir() != BrStringT<char>("Media")) return;
  if (BrGame* game = As<BrGame>(Engine().App())) game->ShowHint(BrStringT<char>(hint));
}
