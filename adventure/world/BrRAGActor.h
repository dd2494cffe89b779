// BrRAGActor: every creature of the adventure world: combat statistics, anatomy, inventory, mutators and damage numbers.
#pragma once

#include <cstdint>

#include "adventure/world/BrRAGBaseState.h"
#include "adventure/world/BrRAGDamage.h"
#include "adventure/world/BrRAGInventory.h"
#include "engine/kernel/BrActor.h"
#include "engine/kernel/BrBillboard.h"
#include "templates/TDArray.h"

class BrRAGDemoEquipment;
class BrRAGMap;
class BrRAGMutator;
class BrRAGWeapon;

// One limb on which equipment is worn, and the id of what is worn there (-1 when free).
class BrRAGAnatomySlot {
public:
  // No name, free, item -1.
  BrRAGAnatomySlot();
  BrRAGAnatomySlot(const BrRAGAnatomySlot& other);
  BrRAGAnatomySlot& operator=(const BrRAGAnatomySlot& other);
  // Limb name, occupied (1 byte), item id.
  void Serialize(BrBin& bin);

  BrStringT<char> m_LimbName;
  bool m_bOccupied;
  int32_t m_iItemID;
};

// An enemy of the game content or, through BrRAGPlayer, the player. Items, mutators and other actors are held by
// id and resolved on every use; its AI lives in the states "BrRAGStateNormal" and "BrRAGStateAttack".
class BrRAGActor : public BrActor {
  BR_DECLARE_CLASS(BrRAGActor)
public:
  // Health fraction below which a hit shows the red number, and below which the orange one.
  static const float cfCriticalHealth;
  static const float cfLowHealth;
  // Seconds a damage number floats and the screen height it rises over that time.
  static const float cfFlyupLifeSECs;
  static const float cfFlyupRise;
  // Height of a flying actor's destination, and the height and spacing of mutator icons above the actor.
  static const float cfFlyingHeight;
  static const float cfMutatorIconSpacing;
  // Attack rate in seconds with no weapon at all.
  static const float cfUnarmedAttackRate;
  // Longest parent chain CanCarry follows before taking it for a loop.
  static const int ciMaxCarryDepth = 64;

  // Ground speed 100, strength 1, hit probability 1, IQ 1, everything else empty or -1.
  BrRAGActor();
  // Copy every field.
  BrRAGActor(const BrRAGActor& other);
  BrRAGActor& operator=(const BrRAGActor& other);
  ~BrRAGActor() override;

  // After the actor's form: attack range, strength, hit probability, armour class, touch weapon id, attack
  // timer, mutator ids, inventory, anatomy, can-carry, start equipment, specials, touch weapon type. XP worth and
  // IQ are not stored: a loaded actor reads them from its section again.
  void Serialize(BrBin& bin) override;
  // The game object's Init, physics on, no touch weapon, the inventory's Init and its 20 slots, XP worth 0.
  bool Init() override;
  // Moves towards the target object or destination, ticks the attack timer and the damage numbers.
  void Step(float dt) override;
  // Destroys its mutators, empties its lists and forgets its touch weapon, then the entity's Destroy. Items in
  // the inventory are not destroyed.
  void Destroy() override;
  // Adds "BrRAGStateAttack" and "BrRAGStateNormal" and starts in "BrRAGStateNormal".
  void AddStates() override;
  // The entity, its damage numbers, then its mutators' billboards.
  void Draw(BrRenderBase* render) override;
  // The inventory's carrier; for a new actor (not one being loaded) the start equipment and the specials.
  void PostInit() override;
  // The actor's keys: Anatomy, CanCarry, ToHit, XP, IQ, StartEquip, Special, Touch, HUDColour.
  void LoadScript(const char* section, BrCfgFile* cfg) override;
  // The entity's tooltip.
  BrStringT<char> GetTooltip() override;
  // A straight line: the destination becomes dest (at flying or standing height) when the grid can see it;
  // always true.
  bool PathTo(const BrVector& destination) override;
  // The entity is visible and the grid has a line of sight to it.
  bool CanSee(BrDemoEntity* entity) const override;
  // An actor already attacked stays the target; any other valid object becomes it after "BrRAGStateNormal";
  // an id naming nothing stops the path and clears the target.
  void HeadForTargetObj(int id) override;
  // The actor's death sound, once: a second call does nothing.
  void Killed(const BrStringT<char>& killer) override;

  // Starts attacking target when not already, when it can attack and see it. Always false.
  virtual bool Attack(BrRAGActor* target);
  // Spawns the mutator of command and applies it unless an attached mutator or the mutator itself refuses;
  // permanent ones never expire. True when it stays.
  virtual bool ApplyMutator(const BrStringT<char>& command, bool permanent);
  // Permanent: the first permanent mutator named "MUT" + name; otherwise every timed mutator named name.
  virtual void RemoveMutator(const BrStringT<char>& name, bool permanent);
  // Lists the mutator id in the first free entry, or appends it.
  virtual void AddMutator(int id);
  // Frees every entry holding id.
  virtual void LostMutator(int id);
  // Exact: the first mutator named name; otherwise the first whose name before "(" equals name's. Null if none.
  virtual BrRAGMutator* GetMutator(const BrStringT<char>& name, bool exact);
  // Each valid mutator's billboard, one above the other.
  virtual void DrawMutators(BrRenderBase* render);
  // The number of attached mutators named name exactly.
  virtual unsigned int CountTimesMutatedBy(const BrStringT<char>& name);
  // Colour, armour, mutators, hit effects, hurt sound, health, then death (once, with experience for a player
  // killer) or a damage number. A dead actor takes nothing more.
  virtual void TakeDMG(BrRAGDamage& damage);
  // The inventory's AddItem: its slot.
  virtual int AddToInventory(int id);
  // Nothing here; the player counts its kills.
  virtual void TargetKilled(const BrStringT<char>& targetText);

  // The plain fields: strength (added to a wielded weapon's), hit probability (0..20), armour class (subtracted
  // from each blow and dividing the attacker's chance), XP worth (awarded to the player who kills it), IQ (above
  // 1 it uses its inventory when badly hurt).
  float GetStrength() const { return m_fStrength; }
  void SetStrength(float strength) { m_fStrength = strength; }
  float GetHitProbability() const { return m_fHitProbability; }
  void SetHitProbability(float probability) { m_fHitProbability = probability; }
  float GetArmourClass() const { return m_fArmourClass; }
  void SetArmourClass(float armourClass) { m_fArmourClass = armourClass; }
  // In world units.
  float GetAttackRange() const { return m_fAttackRange; }
  // Cells times the current map's grid scale (the scale 128 without a grid map).
  void SetAttackRange(float cells);
  int GetXPWorth() const { return m_iXPWorth; }
  void SetXPWorth(int xp) { m_iXPWorth = xp; }
  int GetIQ() const { return m_iIQ; }
  void SetIQ(int iq) { m_iIQ = iq; }
  // The actor's own inventory; its items are map objects held by id.
  BrRAGInventory& Inventory() { return m_Inventory; }
  // Entries of the mutator list, free ones included.
  int GetNumMutators() const { return m_MutatorIDs.GetCount(); }
  // The id in entry i; -1 outside the list.
  int GetMutatorID(int i) const;
  // True once Killed ran.
  bool IsDead() const { return m_bDead; }
  // Seconds gathered towards the next attack.
  float GetAttackTimer() const { return m_fAttackTimer; }
  // The limbs on which equipment is worn.
  int GetNumAnatomySlots() const { return m_Anatomy.GetCount(); }
  // Slot i of the anatomy; null outside it.
  const BrRAGAnatomySlot* GetAnatomySlot(int i) const;
  // The damage numbers, spent ones included (their entries are reused).
  int GetNumFlyups() const { return m_Flyups.GetCount(); }
  // Flyup i; null outside the list.
  const BrRAGDmgFlyup* GetFlyup(int i) const;
  // The natural weapon's id (-1 until first needed) and configured kind; the configured lists.
  int GetTouchWeaponID() const { return m_iTouchWeaponID; }
  const BrStringT<char>& GetTouchWeaponType() const { return m_TouchWeaponType; }
  const TDArray<BrStringT<char>>& GetCanCarryTypes() const { return m_CanCarry; }
  const TDArray<BrStringT<char>>& GetStartEquipment() const { return m_StartEquipment; }
  const TDArray<BrStringT<char>>& GetSpecials() const { return m_Specials; }

  // Seconds between attacks: 1 / the speed of weapon 0 (the touch weapon when none is equipped); 2 s with no
  // weapon at all.
  float GetAttackRate();
  // When the timer passed the rate, keeps only the remainder and allows one attack.
  bool CanAttackYet();
  // Melee always; at range only with ammunition.
  bool CanAttack(BrRAGActor* target);
  // False only when a ranged weapon needs ammunition the inventory lacks.
  bool HasAmmo();
  // The ammunition type of the last equipped ranged weapon on the anatomy; empty when none.
  void GetRequiredAmmoType(BrStringT<char>& out);
  // Weapon 0's damage, owned by this actor and adjusted by its mutators.
  BrRAGDamage GetAttackDMG();
  // True when type or one of its ancestor kinds is in the can-carry list.
  bool CanCarry(BrStringT<char>& type);
  // Equipped weapons in the inventory.
  int GetNumWeapons() const;
  // The i-th equipped weapon in slot order; any other index gives the touch weapon (spawned on first need).
  BrRAGWeapon* GetWeapon(int i);
  // The natural weapon, spawned on first need; null only when not even a plain weapon can be made.
  BrRAGWeapon* GetTouchWeapon();
  // Equipped equipment in the inventory.
  int GetNumEquippedItems() const;
  // The i-th equipped equipment in slot order; null outside.
  BrRAGDemoEquipment* GetEquippedItem(int i) const;
  // Puts item on its limbs (free slots first, displacing worn items otherwise) and applies its effects; false,
  // nothing changed, when the anatomy lacks the limbs.
  bool ApplyEquipment(BrRAGDemoEquipment* item);
  // Frees the limbs holding item and takes its effects away.
  bool RemoveEquipment(BrRAGDemoEquipment* item);
  // Takes off every equipped item of the inventory.
  void UnEquipAll();
  // Equips the best-scoring weapon of the inventory (the earlier slot on equal scores), else the touch weapon.
  void EquipBestWeapon();
  // Removes the first permanent mutator named "MUT" + name.
  void RemovePermanentMutator(const BrStringT<char>& name);
  // Removes every timed mutator named name.
  void RemoveMutatorTypes(const BrStringT<char>& name);

protected:
  // True in state "BrRAGStateAttack" with target as its target.
  virtual bool IsAttacking(BrRAGActor* target);
  // Nothing here; the game's enemies drink potions when badly hurt.
  virtual void UseInventory();
  // Nothing.
  void DoPhysics(float dt) override;
  // Picks up a pickup, uses a widget; clears the target.
  void ReachedTargetObj() override;

  // A damage number for damage, in the first spent entry or appended.
  void SpawnDmgFlyup(const BrRAGDamage& damage);
  // Spawns the start equipment into the inventory, equips what can be worn, then builds compounds.
  void SpawnStartEquipment();
  // Applies the specials as permanent mutators.
  void SpawnFeats();
  // The configured natural weapon, else a plain "BrRAGWeapon".
  void SpawnTouchWeapon();
  // The running map when it is a BrRAGMap, else null.
  static BrRAGMap* RAGMap();

  float m_fAttackRange;
  float m_fStrength;
  float m_fHitProbability;
  float m_fArmourClass;
  TDArray<int32_t> m_MutatorIDs;
  BrRAGInventory m_Inventory;
  TDArray<BrRAGDmgFlyup> m_Flyups;
  TDArray<BrRAGAnatomySlot> m_Anatomy;
  TDArray<BrStringT<char>> m_CanCarry;
  TDArray<BrStringT<char>> m_StartEquipment;
  TDArray<BrStringT<char>> m_Specials;
  int32_t m_iTouchWeaponID;
  BrStringT<char> m_TouchWeaponType;
  int32_t m_iXPWorth;
  BrBillboard m_MutatorBillboard;
  int32_t m_iIQ;
  float m_fAttackTimer;
  // Set once Killed ran: the actor dies once.
  bool m_bDead;
  // Depth of the actor's own state step; a Destroy inside it keeps the states alive in m_RetiredStates until
  // the step has unwound, so the state running the blow is never deleted under its own feet.
  int32_t m_iStepDepth;
  TDArray<BrBaseState*> m_RetiredStates;

private:
  void ReleaseRetiredStates();
};
