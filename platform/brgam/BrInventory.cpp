// BrInventory: slots of item-id stacks, the carrier by id, counts and the inventory's own stream.
#include "platform/brgam/BrInventory.h"

#include "core/BrBin.h"
#include "core/BrLogFile.h"
#include "engine/kernel/BrActor.h"
#include "engine/kernel/BrMap.h"
#include "templates/BrArchiveOps.h"

BR_IMPLEMENT_TYPE(BrInventory, BrObject)

BrInventory::BrInventory() : m_iCarrier(-1) {}

BrInventory::BrInventory(const BrInventory& other)
    : BrObject(other), m_iCarrier(other.m_iCarrier), m_Slots(other.m_Slots) {}

BrInventory& BrInventory::operator=(const BrInventory& other) {
  if (this == &other) return *this;
  BrObject::operator=(other);
  m_iCarrier = other.m_iCarrier;
  m_Slots = other.m_Slots;
  return *this;
}

BrInventory::~BrInventory() {}

bool BrInventory::Init() {
  SetInventorySize();
  return true;
}

void BrInventory::Destroy() {
  for (int i = 0; i < m_Slots.GetCount(); ++i) m_Slots[i].Clear();
}

void BrInventory::SetInventorySize() {
  m_Slots.Clear();
  const TDArray<int32_t> empty;
  for (int i = 0; i < ciDefaultSlots; ++i) m_Slots.Add(empty);
}

// Items and carriers are game objects: resolved through the running map on each use, so an id whose object
// has been destroyed (or never was) reads as nothing.
BrObject* BrInventory::ResolveItem(int id) {
  BrMap* map = BrGameObj::WorldMap();
  if (id < 0 || !map || id >= map->NumObjects()) return nullptr;
  BrGameObj* object = map->GetObjectA(id);
  return object && object->IsValid() ? object : nullptr;
}

BrActor* BrInventory::GetCarrier() const {
  BrObject* object = ResolveItem(m_iCarrier);
  return object && object->IsA(BrActor::Type) ? static_cast<BrActor*>(static_cast<BrGameObj*>(object)) : nullptr;
}

int BrInventory::AddItem(int id) {
  if (id < 0) return -1;
  for (int slot = 0; slot < m_Slots.GetCount(); ++slot) {
    if (!IsSlotEmpty(slot)) continue;
    TDArray<int32_t>& stack = m_Slots[slot];
    for (int i = 0; i < stack.GetCount(); ++i)
      if (stack[i] == -1) {
        stack[i] = id;
        return slot;
      }
    stack.Add(id);
    return slot;
  }
  return -1;
}

void BrInventory::DropItem(int slot, const BrVector&, bool) { RemoveItem(slot); }

void BrInventory::UseItem(int) {}

void BrInventory::LeftClickItem(int) {}

void BrInventory::RightClickItem(int) {}

// GetItem reads the first place that is not -1: this removes that same place, and leaves the stack's other
// places where they are, so the item a caller just read is the one taken out.
bool BrInventory::RemoveItem(int slot) {
  if (!IsSlotIndexValid(slot)) return false;
  TDArray<int32_t>& stack = m_Slots[slot];
  for (int i = 0; i < stack.GetCount(); ++i)
    if (stack[i] != -1) {
      stack[i] = -1;
      return true;
    }
  return false;
}

bool BrInventory::RemoveItemByID(int id) {
  if (id < 0) return false;
  for (int slot = 0; slot < m_Slots.GetCount(); ++slot) {
    TDArray<int32_t>& stack = m_Slots[slot];
    for (int i = 0; i < stack.GetCount(); ++i)
      if (stack[i] == id) {
        stack[i] = -1;
        return true;
      }
  }
  return false;
}

int BrInventory::GetSlotContainingNativeBase(const BrStringT<char>& type) {
  if (!type.c_str()) return -1;
  const dtiClass wanted(type.c_str(), nullptr);
  for (int slot = 0; slot < m_Slots.GetCount(); ++slot) {
    BrObject* item = ResolveItem(GetItem(slot));
    if (item && item->IsA(wanted)) return slot;
  }
  return -1;
}

int BrInventory::GetItem(int slot) const {
  if (!IsSlotIndexValid(slot)) return -1;
  const TDArray<int32_t>& stack = m_Slots[slot];
  for (int i = 0; i < stack.GetCount(); ++i)
    if (stack[i] != -1) return stack[i];
  return -1;
}

int BrInventory::GetNumItemsInSlot(int slot) const {
  if (!IsSlotIndexValid(slot)) return 0;
  const TDArray<int32_t>& stack = m_Slots[slot];
  int n = 0;
  for (int i = 0; i < stack.GetCount(); ++i)
    if (stack[i] != -1 && ResolveItem(stack[i])) ++n;
  return n;
}

int BrInventory::GetNumberOfItems() const {
  int n = 0;
  for (int slot = 0; slot < m_Slots.GetCount(); ++slot) n += GetNumItemsInSlot(slot);
  return n;
}

int BrInventory::GetNumItemsOfType(const BrStringT<char>& type) const {
  int n = 0;
  for (int slot = 0; slot < m_Slots.GetCount(); ++slot) {
    const TDArray<int32_t>& stack = m_Slots[slot];
    for (int i = 0; i < stack.GetCount(); ++i) {
      BrObject* item = stack[i] != -1 ? ResolveItem(stack[i]) : nullptr;
      if (item && BrStringT<char>(item->GetName()) == type) ++n;
    }
  }
  return n;
}

int BrInventory::ContainsItemOfType(const BrStringT<char>& type) {
  for (int slot = 0; slot < m_Slots.GetCount(); ++slot) {
    BrObject* item = ResolveItem(GetItem(slot));
    if (item && BrStringT<char>(item->GetName()) == type) return slot;
  }
  return -1;
}

bool BrInventory::IsSlotEmpty(int slot) const { return GetItem(slot) == -1; }

void BrInventory::Serialize(BrBin& bin) {
  BrObject::Serialize(bin);
  int32_t slots = m_Slots.GetCount();
  bin << m_iCarrier << slots;
  if (!bin.IsLoading()) {
    for (int s = 0; s < slots; ++s) {
      int32_t places = m_Slots[s].GetCount();
      bin << places;
      for (int i = 0; i < places; ++i) bin << m_Slots[s][i];
    }
    return;
  }

  m_Slots.Clear();
  if (bin.HasFailed()) return;
  if (slots < 0 || slots > ciMaxStreamSlots) {
    GLog.printf("ERROR: Inventory in %s claims %i slots", bin.GetFullPath(), int(slots));
    bin.MarkFailed(nullptr);
    return;
  }
  for (int s = 0; s < slots && !bin.HasFailed(); ++s) {
    int32_t places = 0;
    bin << places;
    if (bin.HasFailed()) break;
    if (places < 0 || places > ciMaxStreamSlots) {
      GLog.printf("ERROR: Inventory slot %i in %s claims %i items", s, bin.GetFullPath(), int(places));
      bin.MarkFailed(nullptr);
      break;
    }
    TDArray<int32_t> stack;
    for (int i = 0; i < places && !bin.HasFailed(); ++i) {
      int32_t id = -1;
      bin << id;
      stack.Add(id);
    }
    m_Slots.Add(stack);
  }
  if (bin.HasFailed()) m_Slots.Clear();
}
