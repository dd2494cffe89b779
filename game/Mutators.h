// The game's six mutators: MUTFlying, MUTHeal, MUTPoison, MUTProne, MUTRemove and MUTSpeed.
#pragma once

#include "adventure/world/BrRAGMutator.h"
#include "engine/presentation/BrAudioID.h"
#include "templates/BrStringT.h"

class BrRAGActor;
class BrRAGDamage;

// Flying: the actor floats (bobbing) and takes half damage from earthbound melee blows. Lasts 60 s; does not
// stack with another of the same spawn text.
class MUTFlying : public BrRAGMutator {
  BR_DECLARE_CLASS(MUTFlying)
public:
  MUTFlying();
  ~MUTFlying() override;
  // The base's, then 60 s.
  bool Init() override;
  // Bobs the actor and raises it to at least 128, then the base's step.
  void Step(float dt) override;
  // Refused (destroys itself, false) on a null actor or one already flying by the same spawn text.
  bool Apply(BrRAGActor* actor) override;
  // Puts the actor back on its feet, stops its path, then the base's Remove.
  void Remove() override;
  // Halves a melee blow above 1 point from an attacker that is not flying itself (poison and internal excepted).
  void OwnerTakeDMG(BrRAGDamage& damage) override;
  // Draws nothing: false.
  bool DrawBillboard(BrRenderBase* render, BrBillboard& billboard, const BrVector& point, float size) override;
  // The bobbing phase, in radians.
  float GetPhase() const { return m_fPhase; }

private:
  float m_fPhase;
};

// Heal: heals the actor by its amount (first argument, default 10) at once, then removes itself.
class MUTHeal : public BrRAGMutator {
  BR_DECLARE_CLASS(MUTHeal)
public:
  MUTHeal();
  ~MUTHeal() override;
  // Attaches, heals, removes itself; always false (it never stays).
  bool Apply(BrRAGActor* actor) override;
  // Points healed.
  float GetAmount() const { return m_fAmount; }

protected:
  // First argument: the amount (atoi).
  void ParseSpawnParams() override;

private:
  float m_fAmount;
};

// Poison: damage per second (first argument, default 0.1) dealt in whole-point ticks. Never stacks: the
// strongest rate wins and the old duration runs on. Refused on an actor carrying "MUTImmune(Poison)".
class MUTPoison : public BrRAGMutator {
  BR_DECLARE_CLASS(MUTPoison)
public:
  // The strongest rate a spawn text may give; more would kill any actor within a frame all the same.
  static constexpr float cfMaxDmgPerSecond = 1.0e6f;
  MUTPoison();
  ~MUTPoison() override;
  // The base's stream, then damage per second and accumulated damage (float32 each).
  void Serialize(BrBin& bin) override;
  // The base's, then 60 s.
  bool Init() override;
  // Accumulates damage and deals it once both the tick and the sum pass 1; then the base's step.
  void Step(float dt) override;
  bool Apply(BrRAGActor* actor) override;
  // Tells a still valid actor the poison is gone, then the base's Remove.
  void Remove() override;
  // Colours poison damage green.
  void OwnerTakeDMG(BrRAGDamage& damage) override;
  void DrawIcon(BrRenderBase* render, float x, float y, float w, float h) override;
  bool DrawBillboard(BrRenderBase* render, BrBillboard& billboard, const BrVector& point, float size) override;

  // Damage per second, and the damage gathered since the last tick.
  float GetDmgPerSecond() const { return m_fDmgPerSecond; }
  void SetDmgPerSecond(float rate) { m_fDmgPerSecond = rate; }
  float GetAccumulated() const { return m_fAccumulated; }

  // The shared "Sounds\\poisoned.wav" id, made on first use.
  static BrAudioID& PoisonSFX();

protected:
  // First argument: damage per second (atof).
  void ParseSpawnParams() override;

private:
  float m_fDmgPerSecond;
  float m_fAccumulated;
};

// Prone: blows carrying the damage type (first argument, an edge name) hit twice as hard.
class MUTProne : public BrRAGMutator {
  BR_DECLARE_CLASS(MUTProne)
public:
  MUTProne();
  ~MUTProne() override;
  // The damage type, then the base's stream.
  void Serialize(BrBin& bin) override;
  // Doubles a blow with the damage type among its edges and marks the mutator triggered.
  void OwnerTakeDMG(BrRAGDamage& damage) override;
  // The damage-type icon under the prone overlay.
  void DrawIcon(BrRenderBase* render, float x, float y, float w, float h) override;
  // Only once triggered: the damage-type billboard, then the prone overlay; true.
  bool DrawBillboard(BrRenderBase* render, BrBillboard& billboard, const BrVector& point, float size) override;
  // The edge it is prone to, and whether a matching blow has landed.
  const BrStringT<char>& GetDamageType() const { return m_DamageType; }
  bool IsTriggered() const { return m_bTriggered; }

protected:
  // First argument: the damage type.
  void ParseSpawnParams() override;

private:
  BrStringT<char> m_DamageType;
  // The damage-type icon: -1 not tried yet, 0 not found, above 0 loaded. Not stored.
  int m_iDamageIconFX;
};

// Remove: removes the actor's mutators matching its pattern (first argument) at once, then removes itself. A
// pattern with '*' matches every mutator of the pattern's class whatever its arguments; without, the exact text.
class MUTRemove : public BrRAGMutator {
  BR_DECLARE_CLASS(MUTRemove)
public:
  MUTRemove();
  ~MUTRemove() override;
  // The base's stream, then the pattern.
  void Serialize(BrBin& bin) override;
  // Removes the matching mutators and destroys itself; always false.
  bool Apply(BrRAGActor* actor) override;
  // The name pattern (its '*' taken out once applied).
  const BrStringT<char>& GetPattern() const { return m_Pattern; }

protected:
  // First argument: the pattern.
  void ParseSpawnParams() override;

private:
  BrStringT<char> m_Pattern;
};

// Speed: ground speed + 125 while it lasts; does not stack with another of the same spawn text.
class MUTSpeed : public BrRAGMutator {
  BR_DECLARE_CLASS(MUTSpeed)
public:
  MUTSpeed();
  ~MUTSpeed() override;
  bool Apply(BrRAGActor* actor) override;
  // Slows the actor again when this is the last of its spawn text, then the base's Remove.
  void Remove() override;
  // Speed added while it lasts.
  float GetAmount() const { return m_fAmount; }

private:
  float m_fAmount;
};
