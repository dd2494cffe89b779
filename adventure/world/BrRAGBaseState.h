// BrRAGBaseState, BrRAGStateNormal, BrRAGStateAttack and BrRAGDmgFlyup: an actor's AI states, combat and its floating damage numbers.
#pragma once

#include <cstdint>

#include "adventure/world/BrRAGDamage.h"
#include "core/BrARGB.h"
#include "engine/kernel/BrStateMachine.h"
#include "engine/presentation/BrAudioID.h"

class BrRAGActor;

// One floating damage number held by an actor: it rises above the actor's head for its second of life.
class BrRAGDmgFlyup {
public:
  // Value 0, life 0, no text, colour (255, 0, 0, 255).
  BrRAGDmgFlyup();
  BrRAGDmgFlyup(const BrRAGDmgFlyup& other);
  BrRAGDmgFlyup& operator=(const BrRAGDmgFlyup& other);

  // Points times multiplier, truncated; 0 is drawn as "MISS".
  int32_t m_iValue;
  // Seconds left; at 0 or less the entry is free for the next flyup.
  float m_fLife;
  BrStringT<char> m_Text;
  BrARGB m_Colour;
};

// The base of an actor's states: draws the owner's weapon.
class BrRAGBaseState : public BrBaseState {
  BR_DECLARE_CLASS(BrRAGBaseState)
public:
  BrRAGBaseState();
  BrRAGBaseState(const BrRAGBaseState& other);
  BrRAGBaseState& operator=(const BrRAGBaseState& other);
  ~BrRAGBaseState() override;

  // When the owner is a BrRAGActor with a weapon in slot 0, that weapon's Draw.
  void Draw(BrRenderBase* render) override;

protected:
  // The owner when it is a BrRAGActor, else null.
  BrRAGActor* OwnerActor() const;
};

// The idle state: does nothing; the actor's own Step moves it.
class BrRAGStateNormal : public BrRAGBaseState {
  BR_DECLARE_CLASS(BrRAGStateNormal)
public:
  BrRAGStateNormal();
  BrRAGStateNormal(const BrRAGStateNormal& other);
  BrRAGStateNormal& operator=(const BrRAGStateNormal& other);
  ~BrRAGStateNormal() override;

  // True.
  bool Init() override;
  // Nothing.
  void Step(float dt) override;
  // Nothing.
  void Destroy() override;
  // Nothing.
  void OnEntry() override;
  // Nothing.
  void OnExit() override;
};

// Chases one target actor by id, rolls to hit when in range and ready, applies the blow or the miss, makes a
// surviving melee victim fight back, and switches weapons when ammunition runs out.
class BrRAGStateAttack : public BrRAGBaseState {
  BR_DECLARE_CLASS(BrRAGStateAttack)
public:
  // The out-of-ammunition alert, made on first use; lives for the whole run.
  static BrAudioID miOutOfAmmoSFX;

  BrRAGStateAttack();
  BrRAGStateAttack(const BrRAGStateAttack& other);
  BrRAGStateAttack& operator=(const BrRAGStateAttack& other);
  ~BrRAGStateAttack() override;

  // The base state's form, then the target id.
  void Serialize(BrBin& bin) override;
  // Target id -1; true.
  bool Init() override;
  // Attacks or chases a living, attackable, visible target; otherwise the owner goes back to
  // "BrRAGStateNormal". Then the base state's Step.
  void Step(float dt) override;
  // Target id -1.
  void Destroy() override;
  // Target id -1: set the target after changing to this state.
  void OnEntry() override;
  // Nothing.
  void OnExit() override;
  // For the player's attack, two red rings around the target; then the base's Draw.
  void Draw(BrRenderBase* render) override;

  // The actor attacked, by id (-1 for none); set it after changing to the state.
  void SetTargetID(int id) { m_iTargetID = id; }
  int GetTargetID() const { return m_iTargetID; }

protected:
  // The target id's object when it is a valid BrRAGActor, else null.
  BrRAGActor* GetTarget();
  // Attack range below 1: touching; otherwise within the attack range.
  bool TargetInRange();
  // Stops, attacks when ready, lets a surviving melee victim retaliate, and handles running out of ammunition.
  void HandleInRange();
  // Heads for a visible target; otherwise back to "BrRAGStateNormal" with no target object.
  void HandleOutOfRange();
  // Reads the owner's attack damage, fires the owner's weapon at the target, then rolls: chance hitProbability /
  // armourClass (armour clamped to 1..20, chance to 0.1..0.9).
  bool MakeToHitRoll(float armourClass, float hitProbability);
  // Applies the damage read before the shot (the owner's attack damage when none was); a kill shows "%s killed
  // the %s (%i XP)" and tells the owner.
  void MeleeHit();
  // The miss sound and "%s missed!", then an empty damage so the target's mutators see the attack.
  void MeleeMiss();

  int32_t m_iTargetID;
  // The damage of the blow being struck, read before the weapon fired: firing spends the ammunition (or the last
  // charge) whose damage it carries. Not stored.
  BrRAGDamage m_Blow;
  bool m_bBlowRead;
};
