// Enemy: every monster of the game: difficulty scaling, hunting inside the player's light, loot and corpses.
#pragma once

#include "adventure/world/BrRAGActor.h"

// A monster. Its draw scale (width, height, depth) gives the clearance and drop radius (width) and its resting
// height (height).
class Enemy : public BrRAGActor {
  BR_DECLARE_CLASS(Enemy)
public:
  // Leaves no corpse.
  Enemy();
  ~Enemy() override;

  // The actor's keys, then Size, Width, Height (scaled on hard and nightmare), Strength (plus difficulty - 1)
  // and LeavesCorpse.
  void LoadScript(const char* section, BrCfgFile* file) override;
  // The actor's step; then attacks the player when it stands inside the player's light and can see it.
  void Step(float dt) override;
  // Drops everything it carries around itself (never into an exit hole), leaves its corpse, then the actor's
  // death.
  void Killed(const BrStringT<char>& killer) override;
  // Eats food from its inventory when it has some.
  void UseInventory() override;
  // The actor's stream only.
  void Serialize(BrBin& bin) override;

  // Equips its best weapon (after population handed it items).
  void ReEquip();
  // Whether its death leaves the kind named after it + "PickupDead".
  bool GetLeavesCorpse() const { return m_bLeavesCorpse; }
  void SetLeavesCorpse(bool leaves) { m_bLeavesCorpse = leaves; }

  // Drop passes over the inventory before the rest is dropped where the monster stands (every drop point around
  // it off the floor).
  static const int ciMaxDropPasses = 8;

private:
  bool m_bLeavesCorpse;
};
