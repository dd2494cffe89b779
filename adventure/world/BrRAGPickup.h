// BrRAGPickup and BrRAGDemoEquipmentPickup: items lying in the world, picked up into an actor's inventory.
#pragma once

#include <cstdint>

#include "engine/kernel/BrPickup.h"

// A pickup hands the item it stands for (held, or spawned from its type) to the picker's inventory. It destroys
// itself only once the item has a slot; with a full pack it stays where it is.
class BrRAGPickup : public BrPickup {
  BR_DECLARE_CLASS(BrRAGPickup)
public:
  BrRAGPickup();
  BrRAGPickup(const BrRAGPickup& other);
  BrRAGPickup& operator=(const BrRAGPickup& other);
  ~BrRAGPickup() override;

  // The pickup's Init; the draw scale becomes (32, 32, 0).
  bool Init() override;
  // Ends the picker's flying, then gives the item to the picker when its pack has room, else tells a player
  // that the pack is full. An empty item type does nothing.
  void PickedUp(BrActor* picker) override;

protected:
  // Puts the item into the picker's inventory; true when it got a slot.
  bool GiveObjectToPicker(BrDemoEntity* object, BrActor* picker);
  // For a player: "Your pack is full! You can't carry that!" and the HUD message "Your pack is full!".
  void ShowPackFullMessage(BrActor* picker);
  // Applies what the pickup adds to a newly spawned item; nothing here.
  virtual void PrepareSpawnedObject(BrDemoEntity* object);
};

// A pickup for equipment that may roll an enchantment bonus, given to the equipment it spawns.
class BrRAGDemoEquipmentPickup : public BrRAGPickup {
  BR_DECLARE_CLASS(BrRAGDemoEquipmentPickup)
public:
  // Max bonus 0, bonus 0.
  BrRAGDemoEquipmentPickup();
  BrRAGDemoEquipmentPickup(const BrRAGDemoEquipmentPickup& other);
  BrRAGDemoEquipmentPickup& operator=(const BrRAGDemoEquipmentPickup& other);
  ~BrRAGDemoEquipmentPickup() override;

  // The pickup part; from version 263 max bonus and bonus.
  void Serialize(BrBin& bin) override;
  // The pickup's keys, then MaxBonus and the bonus roll (level k succeeds one time in 10k, the highest wins).
  void LoadScript(const char* section, BrCfgFile* cfg) override;
  // "+bonus tooltip" with a bonus of 1 or more, else the tooltip.
  BrStringT<char> GetTooltip() override;

  int GetMaxBonus() const { return m_iMaxBonus; }
  int GetBonus() const { return m_iBonus; }
  // Stores any value.
  void SetBonus(int bonus) { m_iBonus = bonus; }

protected:
  // A newly spawned equipment item takes a bonus above 0.
  void PrepareSpawnedObject(BrDemoEntity* object) override;

  int32_t m_iMaxBonus;
  int32_t m_iBonus;
};
