// BrPickup: something lying in the world that stands for an item object.
#pragma once

#include <cstdint>

#include "engine/kernel/BrDemoEntity.h"

class BrActor;

// Holds the id of the item it stands for and destroys that item with itself.
class BrPickup : public BrDemoEntity {
  BR_DECLARE_CLASS(BrPickup)
public:
  BrPickup();
  BrPickup(const BrPickup& other);
  BrPickup& operator=(const BrPickup& other);
  ~BrPickup() override;

  // The entity part, then the pickup id.
  void Serialize(BrBin& bin) override;
  // True; the game object's initialisation is not run.
  bool Init() override;
  // Destroys the held item when it is valid (forgetting its id), then the entity's Destroy.
  void Destroy() override;
  // The entity's keys; the item type is the name without its first six characters; "Hint".
  void LoadScript(const char* section, BrCfgFile* cfg) override;
  // Destroy.
  virtual void PickedUp(BrActor* actor);

  BrStringT<char> GetItemType() const { return m_ItemType; }
  void SetItemType(const BrStringT<char>& type) { m_ItemType = type; }
  int GetPickupID() const { return m_iPickupID; }
  void SetPickupID(int id) { m_iPickupID = id; }
  BrStringT<char> GetPickupHint() const { return m_PickupHint; }

protected:
  BrStringT<char> m_ItemType;
  int32_t m_iPickupID;
  BrStringT<char> m_PickupHint;
};
