// BrInventory: the inventory base: numbered slots holding stacks of item ids, carried by an actor named by id.
#pragma once

#include <cstdint>

#include "core/BrObject.h"
#include "core/BrVector.h"
#include "templates/BrStringT.h"
#include "templates/TDArray.h"

class BrActor;
class BrBin;

// Slots of item-id stacks. Each slot is a TDArray of item ids in which -1 marks an empty place; the items are
// game objects of the map, held by id and resolved on each use, so a stale id is never followed. The carrier is
// an actor id, likewise resolved on each use.
class BrInventory : public BrObject {
  BR_DECLARE_TYPE(BrInventory)
public:
  // Slots SetInventorySize gives in the base.
  static constexpr int ciDefaultSlots = 20;
  // Most slots, and most places in a slot, a stream may claim; more fails the load.
  static constexpr int ciMaxStreamSlots = 4096;

  // No slots, no carrier.
  BrInventory();
  // Copies the slots and the carrier id.
  BrInventory(const BrInventory& other);
  BrInventory& operator=(const BrInventory& other);
  ~BrInventory() override;

  // The stream (ours): carrier id (int32), slot count (int32), then per slot its place count (int32) and the ids
  // (int32 each). A load that claims more than ciMaxStreamSlots slots or places fails the archive and leaves the
  // inventory empty.
  void Serialize(BrBin& bin) override;
  // SetInventorySize; true.
  bool Init() override;
  // Empties every slot (the slots stay).
  void Destroy() override;

  // Puts the id into the first slot that holds no item (its first -1 place, else appended); the slot index, or -1
  // for a negative id or when every slot holds an item.
  virtual int AddItem(int id);
  // Drops the slot's item into the world: in the base only taken out of the slot.
  virtual void DropItem(int slot, const BrVector& where, bool spawnPickup);
  // Uses the slot's item: nothing in the base.
  virtual void UseItem(int slot);
  // The reactions to clicks on a slot: nothing in the base.
  virtual void LeftClickItem(int slot);
  virtual void RightClickItem(int slot);
  // Empties the inventory and makes ciDefaultSlots empty slots.
  virtual void SetInventorySize();
  // Sets the slot's first item place (the one GetItem reads) to -1, without compacting the stack; false for a
  // bad or empty slot.
  virtual bool RemoveItem(int slot);
  // Removes the first place holding id; false when no slot holds it.
  virtual bool RemoveItemByID(int id);
  // The first slot whose item's class (or an ancestor) is named type; -1 when none.
  virtual int GetSlotContainingNativeBase(const BrStringT<char>& type);

  // The actor that carries the inventory (its id, -1 for none).
  void SetCarrier(int id) { m_iCarrier = id; }
  int GetCarrierID() const { return m_iCarrier; }
  // The carrier resolved through the running map: a valid actor, or null.
  BrActor* GetCarrier() const;

  // The id of the slot's item: its first place that is not -1; -1 for an empty or bad slot.
  int GetItem(int slot) const;
  // The number of slots, walked from 0.
  int GetNumberOfSlots() const { return m_Slots.GetCount(); }
  // The items held in the slot (places that are not -1 and name a valid object); 0 for a bad slot.
  int GetNumItemsInSlot(int slot) const;
  // The items held in all slots, counted as GetNumItemsInSlot does.
  int GetNumberOfItems() const;
  // How many valid items named type it holds.
  int GetNumItemsOfType(const BrStringT<char>& type) const;
  // The first slot whose item is named type, or -1.
  int ContainsItemOfType(const BrStringT<char>& type);

protected:
  // The slot holds no item (bad slots count as empty).
  bool IsSlotEmpty(int slot) const;
  bool IsSlotIndexValid(int slot) const { return slot >= 0 && slot < m_Slots.GetCount(); }
  // The valid object of an id through the running map, or null (stale and -1 ids alike).
  static BrObject* ResolveItem(int id);

  int32_t m_iCarrier;
  TDArray<TDArray<int32_t>> m_Slots;
};
