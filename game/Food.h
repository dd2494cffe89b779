// Food and Fuel: the consumable items: food heals its eater, fuel fills the player's lantern.
#pragma once

#include <cstdint>

#include "adventure/world/BrRAGItem.h"

// Food heals its user by the restore amount (damage with the edge "Internal", which armour does not reduce).
class Food : public BrRAGItem {
  BR_DECLARE_CLASS(Food)
public:
  Food();
  ~Food() override;

  // The game object's Init; restore amount 10. True.
  bool Init() override;
  // The item's keys, then "Restore" (noted in the display text); the default use sound becomes eating.
  void LoadScript(const char* section, BrCfgFile* file) override;
  // Heals the actor, then the item's use. The item's use result.
  bool Use(BrRAGActor* actor) override;
  // The item's stream only.
  void Serialize(BrBin& bin) override;

  // Points healed (food) or oil added (fuel).
  int GetRestore() const { return m_iRestore; }
  void SetRestore(int amount) { m_iRestore = amount; }

protected:
  int32_t m_iRestore;
};

// Fuel adds its restore amount to the player's lantern oil; only the player can use it.
class Fuel : public BrRAGItem {
  BR_DECLARE_CLASS(Fuel)
public:
  Fuel();
  ~Fuel() override;

  // The game object's Init; restore amount 10. True.
  bool Init() override;
  // The item's keys, then "Restore" (noted in the display text).
  void LoadScript(const char* section, BrCfgFile* file) override;
  // A player: oil added, then the item's use and its result. Anyone else: false, nothing used (debug log).
  bool Use(BrRAGActor* actor) override;
  // The item's stream, then the restore amount (int32).
  void Serialize(BrBin& bin) override;

  // Points healed (food) or oil added (fuel).
  int GetRestore() const { return m_iRestore; }
  void SetRestore(int amount) { m_iRestore = amount; }

protected:
  int32_t m_iRestore;
};
