// Chest: a widget that opens and scatters items around itself, or turns into a monster when used.
#include "game/Chest.h"

#include <cstring>

#include "adventure/world/BrRAGActor.h"
#include "adventure/world/BrRAGMap.h"
#include "adventure/world/BrRAGPickup.h"
#include "core/BrBin.h"
#include "core/BrLogFile.h"
#include "core/BrNumeric.h"
#include "engine/kernel/BrApplication.h"
#include "engine/kernel/BrEngine.h"
#include "engine/kernel/BrScriptDaemon.h"
#include "engine/presentation/BrAudioMgrBase.h"
#include "game/Enemy.h"
#include "templates/BrArchiveOps.h"

BR_IMPLEMENT_CLASS(Chest, BrRAGWidget)

BrAudioID Chest::miOpenSFX;

namespace {

const float cfPi = 3.14159265f;

BrRAGMap* RunningMap() {
  BrApplication* app = Engine().App();
  BrMap* map = app ? app->Map() : nullptr;
  return map ? static_cast<BrRAGMap*>(map->SafeCast(&BrRAGMap::Type)) : nullptr;
}

bool IsContent(const _RAGObjSpawnDef& def, unsigned int level) {
  return (!std::strcmp(def.native, "BrRAGPickup") || !std::strcmp(def.native, "BrRAGDemoEquipmentPickup")) &&
         def.levels[0] <= int64_t(level) && int64_t(level) <= def.levels[1] && def.rarity > 0.0f &&
         def.noAutoSpawn == 0;
}

}  // namespace

Chest::Chest() : m_bMonster(false) {}

Chest::~Chest() {}

void Chest::Serialize(BrBin& bin) {
  BrRAGWidget::Serialize(bin);
  bin << m_bMonster;
  m_OpenIcon.Serialize(bin);
}

void Chest::LoadScript(const char* section, BrCfgFile* file) {
  BrRAGWidget::LoadScript(section, file);
  BrScriptDaemon* script = Engine().Script();
  if (!script || !file) return;
  int risk = 0;
  if (script->LoadProperty(risk, section, file, "Risk")) m_bMonster = risk > 0 && brRand() % risk == 0;
  BrStringT<char> icon;
  if (script->LoadProperty(icon, section, file, "OpenIcon")) m_OpenIcon = icon;
}

bool Chest::CanUse(BrRAGActor* actor) {
  if (m_iTimesUsed != 0) return false;
  return BrRAGWidget::CanUse(actor);
}

void Chest::UsedBy(BrRAGActor* actor) {
  if (actor) actor->PathTo(actor->Location());
  BrRAGWidget::UsedBy(actor);

  BrRAGMap* map = RunningMap();
  const unsigned int level = map ? map->GetLevel() : 1u;
  if (m_bMonster && map && map->IsValid()) {
    BrDemoEntity* spawned = map->SpawnScripted("ChestMonster");
    Enemy* monster = spawned ? static_cast<Enemy*>(spawned->SafeCast(&Enemy::Type)) : nullptr;
    if (monster && monster->IsValid()) {
      const int l = int(level);
      monster->Location() = Location();
      monster->SetDrawScale(GetDrawScale());
      monster->SetMaxHealth(4 * l);
      monster->SetHealth(4 * l);
      monster->SetHitProbability(float((l - 1) / 4 + 1));
      monster->SetIQ(1);
      monster->SetXPWorth(4 * l);
      monster->SetArmourClass(float(l / 4));
      monster->SetGroundSpeed(float(2 * l));
      map->AddObject(monster);
    } else if (spawned) {
      GLog.printf("WARNING: Chest::UsedBy(..) ChestMonster is not an Enemy\n");
      spawned->Destroy();
      delete spawned;
    }
    Destroy();
    return;
  }

  BrAudioMgrBase* audio = Engine().Audio();
  if (audio) {
    if (!miOpenSFX.Ready()) audio->CreateAudio("Sounds\\unlock.wav", miOpenSFX);
    audio->PlayAudio3D(miOpenSFX, Location());
  }
  m_Portrait.SetFacingEffector(BrStringT<char>("BB_") + m_OpenIcon, m_OpenIcon);
  m_Portrait.FaceCamera();
  // The widget counts only uses that spend a required item; an opened chest must not open (and fill) again.
  if (m_iTimesUsed == 0) m_iTimesUsed = 1;

  if (!map) return;
  TDArray<int32_t> candidates;
  BrRAGObjConfig& config = map->GetObjCfg();
  for (int i = 0; i < config.GetNumTypes(); ++i)
    if (IsContent(config.GetType(i), level)) candidates.Add(i);
  if (candidates.GetCount() == 0) return;

  const int n = int(level / 10u) + 1;
  const float sector = 360.0f / float(n);
  const float start = brRandRangeF(0.0f, sector);
  const float radius = 1.25f * GetDrawScale().x;
  int placed = 0;
  for (int attempts = 0; placed < n; ++attempts) {
    if (attempts >= ciMaxContentAttempts) {
      GLog.printf("WARNING: Chest::UsedBy(..) could spawn only %i of %i item(s)\n", placed, n);
      break;
    }
    const _RAGObjSpawnDef def = config.GetType(candidates[brRand() % candidates.GetCount()]);
    BrDemoEntity* item = map->SpawnScripted(def.name);
    if (!item || !item->IsValid()) continue;
    BrVector offset(0.0f, 0.0f, radius);
    offset.AxisAngleRotation(BrVector(0.0f, 1.0f, 0.0f), double(start + float(placed) * sector) * double(cfPi) / 180.0);
    BrVector where = Location() + offset;
    where.y = item->GetDrawScale().x;
    item->Location() = where;
    map->AddObject(item);
    BrRAGDemoEquipmentPickup* equipment =
        static_cast<BrRAGDemoEquipmentPickup*>(item->SafeCast(&BrRAGDemoEquipmentPickup::Type));
    if (equipment) {
      const int bonus = equipment->GetBonus() + 1;
      equipment->SetBonus(bonus < equipment->GetMaxBonus() ? bonus : equipment->GetMaxBonus());
    }
    ++placed;
  }
}
