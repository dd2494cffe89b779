// Enemy: difficulty scaling of monsters, hunting inside the player's light, and loot and corpses on death.
#include "game/Enemy.h"

#include "adventure/world/BrRAGMap.h"
#include "adventure/world/BrRAGPlayer.h"
#include "core/BrLogFile.h"
#include "core/BrNumeric.h"
#include "engine/kernel/BrApplication.h"
#include "engine/kernel/BrEngine.h"
#include "engine/kernel/BrGame.h"
#include "engine/kernel/BrScriptDaemon.h"

BR_IMPLEMENT_CLASS(Enemy, BrRAGActor)

namespace {

const float cfPi = 3.14159265f;

int Difficulty() {
  BrApplication* app = Engine().App();
  BrGame* game = app ? static_cast<BrGame*>(app->SafeCast(&BrGame::Type)) : nullptr;
  return game ? game->getDifficulty() : 0;
}

BrRAGMap* RunningMap() {
  BrApplication* app = Engine().App();
  BrMap* map = app ? app->Map() : nullptr;
  return map ? static_cast<BrRAGMap*>(map->SafeCast(&BrRAGMap::Type)) : nullptr;
}

}  // namespace

Enemy::Enemy() : m_bLeavesCorpse(false) {}

Enemy::~Enemy() {}

void Enemy::Serialize(BrBin& bin) { BrRAGActor::Serialize(bin); }

void Enemy::LoadScript(const char* section, BrCfgFile* file) {
  BrRAGActor::LoadScript(section, file);
  BrScriptDaemon* script = Engine().Script();
  if (!script || !file) return;

  const int difficulty = Difficulty();
  const float scale = difficulty == 2 ? 1.1f : (difficulty >= 3 ? 1.33f : 1.0f);
  float value = 0.0f;
  if (script->LoadProperty(value, section, file, "Size") && SizeInReach(value * scale, section, "Size"))
    m_DrawScale = BrVector(value * scale, value * scale, 0.0f);
  if (script->LoadProperty(value, section, file, "Width") && SizeInReach(value * scale, section, "Width"))
    m_DrawScale.x = value * scale;
  if (script->LoadProperty(value, section, file, "Height") && SizeInReach(value * scale, section, "Height"))
    m_DrawScale.y = value * scale;
  if (script->LoadProperty(value, section, file, "Strength"))
    SetStrength(value + float(difficulty - 1 > 0 ? difficulty - 1 : 0));
  if (script->LoadProperty(value, section, file, "LeavesCorpse")) m_bLeavesCorpse = value > 0.0f;
}

void Enemy::Step(float dt) {
  BrRAGActor::Step(dt);
  if (!IsValid() || IsDead()) return;
  BrApplication* app = Engine().App();
  BrActor* player = app ? app->GetPlayer() : nullptr;
  BrRAGPlayer* ragPlayer = player ? static_cast<BrRAGPlayer*>(player->SafeCast(&BrRAGPlayer::Type)) : nullptr;
  if (!ragPlayer || !ragPlayer->IsValid()) return;
  // Monsters wake only inside the circle the lantern lights.
  const float distance = (ragPlayer->Location() - Location()).Size();
  if (distance <= ragPlayer->GetLightRadius() && CanSee(ragPlayer)) Attack(ragPlayer);
}

void Enemy::ReEquip() { EquipBestWeapon(); }

void Enemy::UseInventory() {
  const int slot = m_Inventory.GetSlotContainingNativeBase(BrStringT<char>("Food"));
  if (slot != -1) m_Inventory.UseItem(slot);
}

void Enemy::Killed(const BrStringT<char>& killer) {
  // A second death would scatter nothing but could leave a second corpse.
  if (IsDead()) return;
  UnEquipAll();

  BrRAGMap* map = RunningMap();
  // Loot dropped into an exit hole would fall out of the world: it is shifted one cell towards the camera.
  auto clearOfHole = [map](BrVector point) {
    int cx = 0;
    int cy = 0;
    if (map->GetCell(cx, cy, &point) && map->IsExitHole(cx, cy)) {
      BrApplication* app = Engine().App();
      BrVector toCamera = app && app->Camera() ? app->Camera()->Location() - point : BrVector();
      toCamera.y = 0.0f;
      toCamera.Normalise();
      point += toCamera * map->GridScale();
    }
    return point;
  };
  const int items = m_Inventory.GetNumberOfItems();
  if (items > 0 && map) {
    const float step = 360.0f / float(items);
    const float width = m_DrawScale.x;
    int tries = 0;
    int passes = 0;
    while (m_Inventory.GetNumberOfItems() > 0) {
      if (passes++ >= ciMaxDropPasses) {
        // No point around it lies on the floor (a monster wider than the corridor it died in): what is left
        // falls where it stands rather than vanishing with it.
        GLog.printf("WARNING: Enemy::Killed(..) found no floor around %s for %i item(s), dropped at its feet\n",
                    GetName() ? GetName() : "an enemy", m_Inventory.GetNumberOfItems());
        const BrVector feet = clearOfHole(Location());
        for (int slot = 0; slot < m_Inventory.GetNumberOfSlots(); ++slot)
          for (int left = m_Inventory.GetNumItemsInSlot(slot); left > 0; --left) m_Inventory.DropItem(slot, feet, true);
        break;
      }
      const float start = brRandRangeF(0.0f, step);
      for (int slot = 0; slot < m_Inventory.GetNumberOfSlots(); ++slot)
        for (int j = 0; j < m_Inventory.GetNumItemsInSlot(slot); ++j) {
          BrVector offset(0.0f, 0.0f, 0.5f * width);
          if (tries > 0) {
            offset = BrVector(0.0f, 0.0f, 1.25f * width);
            offset.AxisAngleRotation(BrVector(0.0f, 1.0f, 0.0f),
                                     double(start + float(tries) * step) * double(cfPi) / 180.0);
          }
          ++tries;
          BrVector point = Location() + offset;
          BrRAGCell* cell = map->GetCell(&point);
          if (!cell || !cell->IsOccupied()) continue;
          m_Inventory.DropItem(slot, clearOfHole(point), true);
        }
    }
  }

  if (m_bLeavesCorpse && map) {
    BrStringT<char> corpseType = BrStringT<char>(GetName()) + "PickupDead";
    BrDemoEntity* corpse = map->SpawnScripted(corpseType);
    if (corpse) {
      map->AddObject(corpse);
      corpse->Location() = BrVector(Location().x, corpse->GetDrawScale().y, Location().z);
    }
  }

  BrRAGActor::Killed(killer);
}
