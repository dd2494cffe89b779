// BrRAGInventory: stacking, using, equipping, dropping and combining the items an actor carries.
#include "adventure/world/BrRAGInventory.h"

#include <cstdio>

#include "adventure/flow/BrRAGPlayerHUD.h"
#include "adventure/flow/BrRAGPlayerMsg.h"
#include "adventure/world/BrRAGActor.h"
#include "adventure/world/BrRAGCell.h"
#include "adventure/world/BrRAGDemoEquipment.h"
#include "adventure/world/BrRAGItem.h"
#include "adventure/world/BrRAGMap.h"
#include "adventure/world/BrRAGPickup.h"
#include "adventure/world/BrRAGPlayer.h"
#include "adventure/world/BrRAGResolve.h"
#include "core/BrLogFile.h"
#include "core/BrNumeric.h"
#include "engine/kernel/BrApplication.h"
#include "engine/kernel/BrCamera.h"
#include "engine/kernel/BrEngine.h"

BR_IMPLEMENT_CLASS(BrRAGInventory, BrInventory)

int32_t BrRAGInventory::miNumSlots = 20;

BrRAGInventory::BrRAGInventory() {}
BrRAGInventory::BrRAGInventory(const BrRAGInventory& other) : BrInventory(other) {}
BrRAGInventory& BrRAGInventory::operator=(const BrRAGInventory& other) {
  BrInventory::operator=(other);
  return *this;
}
BrRAGInventory::~BrRAGInventory() {}

BrRAGActor* BrRAGInventory::Carrier() { return brRAGCast<BrRAGActor>(GetCarrier()); }

BrRAGItem* BrRAGInventory::SlotItem(int slot) { return brRAGResolve<BrRAGItem>(GetItem(slot)); }

BrRAGPlayerHUD* BrRAGInventory::CarrierHUD() {
  BrRAGPlayer* player = brRAGCast<BrRAGPlayer>(GetCarrier());
  return player ? player->GetPlayerHUD() : nullptr;
}

void BrRAGInventory::ReportIfEmptied(int slot) {
  if (!IsSlotIndexValid(slot) || !IsSlotEmpty(slot)) return;
  if (BrRAGPlayerHUD* hud = CarrierHUD()) hud->LostItemInInvSlot(slot);
}

int BrRAGInventory::SlotOf(int id) const {
  if (id < 0) return -1;
  for (int s = 0; s < m_Slots.GetCount(); ++s)
    for (int p = 0; p < m_Slots[s].GetCount(); ++p)
      if (m_Slots[s][p] == id) return s;
  return -1;
}

void BrRAGInventory::Serialize(BrBin& bin) {
  BrInventory::Serialize(bin);
  if (!bin.IsLoading()) return;
  BrRAGPlayerHUD* hud = CarrierHUD();
  if (!hud) return;
  for (int i = 0; i < GetNumberOfSlots(); ++i) hud->NewItemInInvSlot(i);
  for (int i = 0; i < GetNumberOfSlots(); ++i)
    if (IsSlotEmpty(i)) hud->LostItemInInvSlot(i);
}

void BrRAGInventory::SetInventorySize() {
  Destroy();
  m_Slots.Clear();
  for (int i = 0; i < miNumSlots; ++i) m_Slots.Add(TDArray<int32_t>());
}

int BrRAGInventory::AddToExistingStack(int id, int slot) {
  if (!IsSlotIndexValid(slot)) return -1;
  TDArray<int32_t>& places = m_Slots[slot];
  for (int p = 0; p < places.GetCount(); ++p) {
    if (places[p] == -1) {
      places[p] = id;
      return slot;
    }
  }
  places.Add(id);
  return slot;
}

int BrRAGInventory::AddItem(int id) {
  BrRAGItem* item = brRAGResolve<BrRAGItem>(id);
  if (item && item->GetStackSize() > 0) {
    const BrStringT<char> text = item->GetText();
    for (int s = 0; s < GetNumberOfSlots(); ++s) {
      BrRAGItem* held = SlotItem(s);
      if (!held || held == item || held->GetText() != text) continue;
      if (GetNumItemsInSlot(s) >= item->GetStackSize()) continue;
      const int slot = AddToExistingStack(id, s);
      if (slot != -1) return slot;
    }
  }
  return BrInventory::AddItem(id);
}

bool BrRAGInventory::HasRoomFor(const BrStringT<char>& type) {
  for (int s = 0; s < GetNumberOfSlots(); ++s) {
    if (IsSlotEmpty(s)) return true;
    BrRAGItem* held = SlotItem(s);
    if (held && BrStringT<char>(held->GetName()) == type && GetNumItemsInSlot(s) < held->GetStackSize()) return true;
  }
  return false;
}

bool BrRAGInventory::RemoveItem(int slot) {
  if (!BrInventory::RemoveItem(slot)) return false;
  ReportIfEmptied(slot);
  return true;
}

bool BrRAGInventory::RemoveItemByID(int id) {
  const int slot = SlotOf(id);
  if (!BrInventory::RemoveItemByID(id)) return false;
  ReportIfEmptied(slot);
  return true;
}

void BrRAGInventory::UseItem(int slot) {
  BrRAGItem* item = SlotItem(slot);
  if (!item) {
    GLog.DebugPrintf("ERROR: Invalid object ID in BrRAGInventory::UseItem(..)");
    return;
  }
  const int id = item->GetID();
  if (!item->Use(Carrier())) return;
  // The item may have left its slot itself (an item without charges removes itself by id); it leaves once.
  if (GetItem(slot) == id)
    RemoveItem(slot);
  else if (SlotOf(id) != -1)
    RemoveItemByID(id);
  else
    ReportIfEmptied(slot);
}

void BrRAGInventory::LeftClickItem(int slot) {
  if (!IsSlotIndexValid(slot)) return;
  BrRAGItem* item = SlotItem(slot);
  if (!item) return;
  BrRAGDemoEquipment* equipment = brRAGCast<BrRAGDemoEquipment>(item);
  if (equipment && equipment->GetStackSize() < 1) {
    BrRAGActor* carrier = Carrier();
    if (!carrier) return;
    if (equipment->IsEquipped())
      equipment->Unequip(carrier);
    else
      equipment->Equip(carrier);
    return;
  }
  if (item->GetCharges() > 0) UseItem(slot);
}

void BrRAGInventory::RightClickItem(int slot) {
  if (!IsSlotIndexValid(slot) || !SlotItem(slot)) return;
  BrRAGActor* carrier = Carrier();
  BrApplication* app = Engine().App();
  BrRAGMap* map = app ? brRAGCast<BrRAGMap>(app->Map()) : nullptr;
  if (!carrier || !map) return;

  BrVector toCarrier = carrier->Location() - app->Camera()->GetCoords().Position;
  toCarrier.Normalise();
  BrVector side = toCarrier ^ BrVector(0.0f, 1.0f, 0.0f);
  side.AxisAngleRotation(BrVector(0.0f, 1.0f, 0.0f), brRandRangeF(0.0f, 180.0f) / 360.0f * 6.28319f);
  const BrVector point = carrier->Location() + side * (1.25f * carrier->GetDrawScale().x);

  int x = 0, y = 0;
  BrRAGCell* cell = map->GetCell(x, y, &point);
  if (cell && cell->IsOccupied() && !map->IsExitHole(x, y)) {
    DropItem(slot, point, true);
    return;
  }
  BrRAGPlayer::SendMessageTo(carrier, "You can't drop that here!", BrARGB(128, 255, 255, 255), 2.5f);
}

void BrRAGInventory::DropItem(int slot, const BrVector& where, bool spawnPickup) {
  if (!IsSlotIndexValid(slot)) return;
  BrRAGItem* item = SlotItem(slot);
  if (!item) {
    RemoveItem(slot);
    return;
  }
  BrRAGActor* carrier = Carrier();
  if (spawnPickup) {
    // The pickup's kind is "Pickup" + the item's kind, the same rule by which a pickup names its item type.
    BrRAGMap* map = brRAGCast<BrRAGMap>(BrGameObj::WorldMap());
    const BrStringT<char> kind = BrStringT<char>("Pickup") + BrStringT<char>(item->GetName());
    BrDemoEntity* spawned = map ? map->SpawnScripted(kind) : nullptr;
    BrPickup* pickup = brRAGCast<BrPickup>(spawned);
    if (!pickup) {
      // Without a pickup the item would vanish from the world: it stays in the pack instead.
      if (spawned) spawned->Destroy();
      GLog.DebugPrintf("WARNING: Failed to spawn %s, the item stays in the inventory", kind.c_str());
      return;
    }
    RemoveItem(slot);
    map->AddObject(pickup);
    BrVector at = where;
    at.y = pickup->GetDrawScale().y;
    pickup->Location() = at;
    pickup->SetPickupID(item->GetID());
    BrRAGDemoEquipment* equipment = brRAGCast<BrRAGDemoEquipment>(item);
    BrRAGDemoEquipmentPickup* equipmentPickup = brRAGCast<BrRAGDemoEquipmentPickup>(pickup);
    if (equipment && equipmentPickup) equipmentPickup->SetBonus(equipment->GetBonus());
  } else {
    RemoveItem(slot);
  }
  BrRAGDemoEquipment* equipment = brRAGCast<BrRAGDemoEquipment>(item);
  if (equipment && equipment->IsEquipped() && carrier) equipment->Unequip(carrier);
  item->SetOwner(-1);
  if (!spawnPickup) item->Destroy();
}

int BrRAGInventory::GetSlotContainingNativeBase(const BrStringT<char>& type) {
  BrRAGMap* map = brRAGCast<BrRAGMap>(BrGameObj::WorldMap());
  if (!map) return -1;
  for (int s = 0; s < GetNumberOfSlots(); ++s) {
    BrRAGItem* item = SlotItem(s);
    if (!item || !item->GetName()) continue;
    BrStringT<char> name(item->GetName());
    BrStringT<char> base;
    char buffer[256];
    snprintf(buffer, sizeof(buffer), "%s", name.c_str());
    if (map->GetNativeBaseFor(buffer, base) && base == type) return s;
  }
  return -1;
}

bool BrRAGInventory::CheckForCompounds() {
  bool made = false;
  // A compound that cannot be made (its kind is no item, or no place takes it) leaves its parts alone; it is not
  // tried again in this check.
  TDArray<BrStringT<char>> refused;
  auto wasRefused = [&refused](const BrStringT<char>& type) {
    for (int i = 0; i < refused.GetCount(); ++i)
      if (refused[i] == type) return true;
    return false;
  };
  // Each compound changes the slots under the walk, so the walk starts over; the passes are bounded because a
  // configuration may name a compound that rebuilds its own parts.
  for (int pass = 0; pass < ciMaxCompoundPasses; ++pass) {
    bool madeThisPass = false;
    for (int s = 0; s < GetNumberOfSlots() && !madeThisPass; ++s) {
      for (int p = 0; p < m_Slots[s].GetCount() && !madeThisPass; ++p) {
        BrRAGItem* item = brRAGResolve<BrRAGItem>(m_Slots[s][p]);
        if (!item || item->GetCompoundOf().Length() == 0 || !item->GetName()) continue;
        const int size = item->GetCompoundSize();
        // A compound of zero parts would be built from nothing, again and again.
        if (size < 1) continue;
        BrStringT<char> type(item->GetName());
        if (wasRefused(type) || GetNumItemsOfType(type) < size) continue;
        const int partIcon = item->GetHUDEffector();
        BrStringT<char> compoundOf = item->GetCompoundOf();
        BrRAGItem* result = ProcessCompoundEffect(compoundOf, type, size);
        if (!result) {
          refused.Add(type);
          continue;
        }
        madeThisPass = true;
        made = true;
        if (BrRAGPlayerHUD* hud = CarrierHUD()) {
          BrRAGPlayerMsg msg;
          msg.mColour = BrARGB(128, 255, 255, 255);
          msg.mfDisplayTime = 5.0f;
          for (int i = 0; i < size; ++i) msg.mIcons.Add(partIcon);
          msg.miResultIcon = result->GetHUDEffector();
          hud->AddMessage(msg);
          msg.mText = "!!! You built a new item !!!";
          msg.mIcons.Clear();
          hud->AddMessage(msg);
        }
      }
    }
    if (!madeThisPass) return made;
  }
  GLog.printf("WARNING: BrRAGInventory::CheckForCompounds stopped after %i compounds", ciMaxCompoundPasses);
  return made;
}

BrRAGItem* BrRAGInventory::ProcessCompoundEffect(BrStringT<char>& compoundOf, BrStringT<char>& type, int size) {
  BrRAGActor* carrier = Carrier();
  BrRAGMap* map = brRAGCast<BrRAGMap>(BrGameObj::WorldMap());
  if (!carrier || !map) return nullptr;
  // The compound is made and placed before any part goes: a misspelt kind or a pack with no place for it keeps
  // the parts where they were.
  BrDemoEntity* spawned = map->SpawnScripted(compoundOf);
  if (!spawned) {
    GLog.printf("ERROR: The compound %s of %s could not be made; the parts are kept", compoundOf.c_str(), type.c_str());
    return nullptr;
  }
  spawned->SetDrawnByMap(false);
  map->AddObject(spawned);
  BrRAGItem* item = brRAGCast<BrRAGItem>(spawned);
  if (!item) {
    GLog.printf("ERROR: The compound %s of %s is not an item; the parts are kept", compoundOf.c_str(), type.c_str());
    spawned->Destroy();
    return nullptr;
  }
  // The parts leave their places first, so that a place only they filled can take the compound.
  TDArray<TakenPart> parts;
  TakeParts(type, size, parts);
  if (carrier->AddToInventory(item->GetID()) == -1) {
    for (int i = 0; i < parts.GetCount(); ++i) m_Slots[parts[i].slot][parts[i].place] = parts[i].id;
    GLog.printf("WARNING: No room for the compound %s; the parts are kept", compoundOf.c_str());
    item->Destroy();
    return nullptr;
  }
  item->SetOwner(carrier->GetID());
  DestroyParts(parts);
  return item;
}

void BrRAGInventory::ConsumeCompoundsOfType(BrStringT<char>& type, int count) {
  TDArray<TakenPart> parts;
  TakeParts(type, count, parts);
  DestroyParts(parts);
}

void BrRAGInventory::TakeParts(const BrStringT<char>& type, int count, TDArray<TakenPart>& parts) {
  // Exactly count items go, each from the very place it was found in.
  for (int s = 0; s < GetNumberOfSlots() && parts.GetCount() < count; ++s) {
    for (int p = 0; p < m_Slots[s].GetCount() && parts.GetCount() < count; ++p) {
      BrRAGItem* item = brRAGResolve<BrRAGItem>(m_Slots[s][p]);
      if (!item || BrStringT<char>(item->GetName()) != type) continue;
      TakenPart part;
      part.slot = s;
      part.place = p;
      part.id = m_Slots[s][p];
      parts.Add(part);
      m_Slots[s][p] = -1;
    }
  }
}

void BrRAGInventory::DestroyParts(const TDArray<TakenPart>& parts) {
  BrRAGActor* carrier = Carrier();
  for (int i = 0; i < parts.GetCount(); ++i) {
    ReportIfEmptied(parts[i].slot);
    BrRAGItem* item = brRAGResolve<BrRAGItem>(parts[i].id);
    if (!item) continue;
    BrRAGDemoEquipment* equipment = brRAGCast<BrRAGDemoEquipment>(item);
    if (equipment && equipment->IsEquipped() && carrier) equipment->Unequip(carrier);
    item->Destroy();
  }
}
