// BrRAGWeapon: equipment that deals damage: strength, speed, hit effects and the firing cycle.
#pragma once

#include <cstdint>

#include "adventure/world/BrRAGDemoEquipment.h"

class BrRAGDamage;

// A weapon fills damage records from its strength, edges and hit effects. Firing runs for a fixed time; the
// target is kept as an id and resolved on each use, so a target collected mid-shot is simply gone.
class BrRAGWeapon : public BrRAGDemoEquipment {
  BR_DECLARE_CLASS(BrRAGWeapon)
public:
  // Strength 0, speed 1.0, not firing, no target, fire duration 1.5 s, not a touch attack.
  BrRAGWeapon();
  BrRAGWeapon(const BrRAGWeapon& other);
  BrRAGWeapon& operator=(const BrRAGWeapon& other);
  ~BrRAGWeapon() override;

  // Advances the firing cycle; at its end a weapon with exactly 0 charges is used up and replaced.
  void Step(float dt) override;
  // Empties the edges and hit effects, then the equipment's Destroy.
  void Destroy() override;
  // Draws nothing.
  void Draw(BrRenderBase* render) override;
  // The equipment's keys, then Damage, Speed (clamped to 0.1..10), the stats appended to the text, HitEffects.
  void LoadScript(const char* section, BrCfgFile* cfg) override;
  // Requires an actor and the equipment's Equip; the actor's attack range becomes 0 (melee).
  bool Equip(BrRAGActor* actor, bool silent = false) override;
  // With a bonus: "+bonus name (damage d, speed s)", d excluding the wielder's strength; else the text.
  BrStringT<char> GetDisplayText() override;

  // Points = GetWeaponStrength, the edges, the hit effects, not ranged, killer text = the wielder's text.
  virtual void GetWeaponDamage(BrRAGDamage& damage);
  // Bonus + strength, plus the valid wielder's strength.
  virtual float GetWeaponStrength();
  // Starts the firing cycle at target; a weapon with charges spends one, and one used up hands the shot to the
  // wielder's next best weapon.
  virtual void Fire(BrRAGActor* target);

  // Bonus / 10 + speed.
  float GetWeaponSpeed() const { return float(m_iBonus) / 10.0f + m_fWeaponSpeed; }
  void SetWeaponStrength(float strength) { m_fWeaponStrength = strength; }
  void SetWeaponSpeed(float speed) { m_fWeaponSpeed = speed; }
  void SetTouchAttack(bool touch) { m_bTouchAttack = touch; }
  bool IsTouchAttack() const { return m_bTouchAttack; }
  int GetNumHitEffects() const { return m_HitEffects.GetCount(); }
  bool IsFiring() const { return m_bFiring; }
  float GetFireTimer() const { return m_fFireTimer; }
  float GetFireDuration() const { return m_fFireDuration; }
  // The fire target's id, -1 for none.
  int GetFireTargetID() const { return m_iFireTarget; }
  // The fire target when its id names a valid actor; else null.
  BrRAGActor* GetFireTarget();

protected:
  // After a used-up weapon: unequips it from the wielder, who equips its best weapon instead.
  void ReplaceUsedUp(BrRAGActor* wielder);

  float m_fWeaponStrength;
  float m_fWeaponSpeed;
  TDArray<BrStringT<char>> m_HitEffects;
  bool m_bFiring;
  float m_fFireTimer;
  int32_t m_iFireTarget;
  float m_fFireDuration;
  bool m_bTouchAttack;
};
