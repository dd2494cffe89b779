// BrRAGRangedWeapon and BrRAGWeaponWand: weapons that fire ammunition from the wielder's inventory at range.
#pragma once

#include <cstdint>

#include "adventure/world/BrRAGWeapon.h"
#include "engine/kernel/BrBillboard.h"

// A ranged weapon takes its edges and strength from the loaded ammunition (the first item of its ammo type in
// the wielder's inventory), spends one item per shot and draws a missile flying to the target.
class BrRAGRangedWeapon : public BrRAGWeapon {
  BR_DECLARE_CLASS(BrRAGRangedWeapon)
public:
  // World units per second the missile flies.
  static float mfMissileSpeed;

  // Range 0, no ammo type, no fire icon, missile effector -1.
  BrRAGRangedWeapon();
  BrRAGRangedWeapon(const BrRAGRangedWeapon& other);
  BrRAGRangedWeapon& operator=(const BrRAGRangedWeapon& other);
  ~BrRAGRangedWeapon() override;

  // The weapon's keys, then Range, AmmoType and FireIcon.
  void LoadScript(const char* section, BrCfgFile* cfg) override;
  // Without ammunition (ammo type set, none carried) the wielder is told it is out of ammunition and false;
  // otherwise the weapon's Equip, and the actor's attack range becomes the weapon's range.
  bool Equip(BrRAGActor* actor, bool silent = false) override;
  // The weapon's Unequip; the actor's attack range becomes 0.
  void Unequip(BrRAGActor* actor) override;
  // As a weapon's, the damage figure being GetWeaponStrength with nothing subtracted.
  BrStringT<char> GetDisplayText() override;
  // The loaded ammunition's edges when there is one, else the weapon's own.
  int GetNumEdges() override;
  BrStringT<char> GetEdge(int i) override;
  // The weapon's damage, marked ranged.
  void GetWeaponDamage(BrRAGDamage& damage) override;
  // Bonus + the loaded ammunition's strength, else bonus + own strength; never the wielder's strength.
  float GetWeaponStrength() override;
  // The weapon's Fire, then one item of ammunition leaves the wielder's inventory and is destroyed.
  void Fire(BrRAGActor* target) override;
  // The missile in flight, while firing at a valid target.
  void Draw(BrRenderBase* render) override;

  float GetWeaponRange() const { return m_fRange; }
  // Stores |r|.
  void SetWeaponRange(float r) { m_fRange = r < 0.0f ? -r : r; }
  const BrStringT<char>& GetAmmoType() const { return m_AmmoType; }
  void SetAmmoType(const BrStringT<char>& type) { m_AmmoType = type; }
  const BrStringT<char>& GetFireIcon() const { return m_FireIcon; }
  // The first ammunition item in the wielder's inventory, or null.
  BrRAGWeapon* GetLoadedAmmo();
  BrBillboard& Missile() { return m_Missile; }
  // The out-of-ammunition message and sound, for a player only (an enemy runs out in silence).
  static void ReportOutOfAmmo(BrRAGActor* actor);

protected:
  // Resolves wielder and target, readies the billboard with the effector prefix + fire icon at scale
  // 0.25 x the wielder's draw-scale width; false when either is missing or they coincide.
  bool PrepareMissile(const char* effectorPrefix, BrVector& from, BrVector& direction, float& distance);

  float m_fRange;
  BrStringT<char> m_AmmoType;
  BrBillboard m_Missile;
  BrStringT<char> m_FireIcon;
  int32_t m_iMissileEffector;
};

// A ranged weapon that draws a beam of growing sprites crawling towards the target.
class BrRAGWeaponWand : public BrRAGRangedWeapon {
  BR_DECLARE_CLASS(BrRAGWeaponWand)
public:
  BrRAGWeaponWand();
  BrRAGWeaponWand(const BrRAGWeaponWand& other);
  BrRAGWeaponWand& operator=(const BrRAGWeaponWand& other);
  ~BrRAGWeaponWand() override;

  // The beam, while firing at a valid target.
  void Draw(BrRenderBase* render) override;
};
