// BrRAGInventory: an actor's inventory of stacked item ids: stacking, use, equip on click, drops and compounds.
#pragma once

#include <cstdint>

#include "core/BrVector.h"
#include "engine/kernel/BrClassFactory.h"
#include "platform/brgam/BrInventory.h"

class BrRAGItem;
class BrRAGActor;

// Twenty slots of item-id stacks on top of the inventory base. Items are map objects referred to by id; every id
// is resolved and type-checked on each use, so a stale id only ever reads the map's null object.
class BrRAGInventory : public BrInventory {
  BR_DECLARE_CLASS(BrRAGInventory)
public:
  // The number of slots SetInventorySize creates.
  static int32_t miNumSlots;
  // Bound on the passes CheckForCompounds' callers and ConsumeCompoundsOfType make, so a bad configuration
  // (a compound that rebuilds itself) never loops without end.
  static const int ciMaxCompoundPasses = 64;

  BrRAGInventory();
  BrRAGInventory(const BrRAGInventory& other);
  BrRAGInventory& operator=(const BrRAGInventory& other);
  ~BrRAGInventory() override;

  // The base's stream; after loading, a player's HUD is told which slots hold items and which are empty.
  void Serialize(BrBin& bin) override;
  // Joins a stack of the same text with room left (stack size above 0), else takes a free slot; the slot or -1.
  int AddItem(int id) override;
  // Takes the slot's item out; with spawnPickup it goes into a new pickup ("Pickup" + item type) at where,
  // otherwise it is destroyed. A pickup that cannot be spawned leaves the item where it was.
  void DropItem(int slot, const BrVector& where, bool spawnPickup) override;
  // The carrier uses the slot's item; one used up leaves the slot (and the HUD hears of an emptied slot).
  void UseItem(int slot) override;
  // Toggles equipment on and off; uses an item with charges left.
  void LeftClickItem(int slot) override;
  // Drops the slot's item beside the carrier when the floor there is free; the player hears otherwise.
  void RightClickItem(int slot) override;
  // Empties the inventory and creates miNumSlots empty slots.
  void SetInventorySize() override;
  // Takes one item from the slot; a player's HUD hears when the slot then empties.
  bool RemoveItem(int slot) override;
  // The base's removal by id; a player's HUD hears when the slot then empties.
  bool RemoveItemByID(int id) override;
  // The first slot whose item's native base class is type; -1 when none.
  int GetSlotContainingNativeBase(const BrStringT<char>& type) override;

  // True when a slot is empty or a stack of that type has room left.
  bool HasRoomFor(const BrStringT<char>& type);
  // Turns enough items of a type into their compound item; true when one was made.
  bool CheckForCompounds();

protected:
  // Puts id into the slot's first empty place, else appends it; the slot, or -1 for a bad slot.
  int AddToExistingStack(int id, int slot);
  // Spawns compoundOf into the carrier's inventory in place of size items of type; the new item, or null when it
  // is no item or finds no place (the parts then stay where they were).
  BrRAGItem* ProcessCompoundEffect(BrStringT<char>& compoundOf, BrStringT<char>& type, int size);
  // Removes, unequips and destroys count items named type.
  void ConsumeCompoundsOfType(BrStringT<char>& type, int count);

private:
  // An item taken out of its place and not yet destroyed; it can still go back there.
  struct TakenPart {
    int slot;
    int place;
    int32_t id;
  };
  // Takes up to count items named type out of their places, in slot order.
  void TakeParts(const BrStringT<char>& type, int count, TDArray<TakenPart>& parts);
  // Tells the HUD of emptied slots, unequips and destroys the parts taken.
  void DestroyParts(const TDArray<TakenPart>& parts);
  // The carrier as a framework actor, or null.
  BrRAGActor* Carrier();
  // The valid item of a slot's first place, or null.
  BrRAGItem* SlotItem(int slot);
  // The player HUD of a player carrier, or null.
  class BrRAGPlayerHUD* CarrierHUD();
  // Tells a player's HUD that the slot emptied, when it has.
  void ReportIfEmptied(int slot);
  // The slot holding id, or -1.
  int SlotOf(int id) const;
};
