// BrPickup: the item type from the section name, the held item's fate and the pickup's archive form.
#include "engine/kernel/BrPickup.h"

#include "core/BrBin.h"
#include "engine/kernel/BrEngine.h"
#include "engine/kernel/BrMap.h"
#include "engine/kernel/BrScriptDaemon.h"
#include "templates/BrArchiveOps.h"

BR_IMPLEMENT_CLASS(BrPickup, BrDemoEntity)

BrPickup::BrPickup() : m_iPickupID(-1) {}

BrPickup::BrPickup(const BrPickup& other)
    : BrDemoEntity(other),
      m_ItemType(other.m_ItemType),
      m_iPickupID(other.m_iPickupID),
      m_PickupHint(other.m_PickupHint) {}

BrPickup& BrPickup::operator=(const BrPickup& other) {
  if (this == &other) return *this;
  BrDemoEntity::operator=(other);
  m_ItemType = other.m_ItemType;
  m_iPickupID = other.m_iPickupID;
  m_PickupHint = other.m_PickupHint;
  return *this;
}

BrPickup::~BrPickup() {}

void BrPickup::Serialize(BrBin& bin) {
  BrDemoEntity::Serialize(bin);
  bin << m_iPickupID;
}

bool BrPickup::Init() { return true; }

void BrPickup::Destroy() {
  if (m_iPickupID != -1) {
    BrMap* map = WorldMap();
    BrGameObj* item = map ? map->GetObjectA(m_iPickupID) : nullptr;
    if (item && item->IsValid()) {
      // Forgotten before the item goes: an item that leads back to this pickup (a loop a corrupt save can
      // hold) then finds nothing more to destroy here instead of recursing without end.
      m_iPickupID = -1;
      item->Destroy();
    }
  }
  BrDemoEntity::Destroy();
}

void BrPickup::LoadScript(const char* section, BrCfgFile* cfg) {
  BrDemoEntity::LoadScript(section, cfg);
  BrScriptDaemon* script = Engine().Script();
  if (!cfg || !script || !section) return;
  const BrStringT<char> name(GetName());
  m_ItemType = name(6, name.Length() - 6);
  char text[ciTextLen] = {0};
  if (script->LoadProperty(text, ciTextLen, section, cfg, "Hint")) m_PickupHint = BrStringT<char>(text);
}

void BrPickup::PickedUp(BrActor*) { Destroy(); }
