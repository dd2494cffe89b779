// BrRAGActor: mutators, equipment on the anatomy, weapons, ammunition, attack readiness and what it may carry.
#include "adventure/world/BrRAGActor.h"

#include <cstring>
#include <vector>

#include "adventure/world/BrRAGDemoEquipment.h"
#include "adventure/world/BrRAGMap.h"
#include "adventure/world/BrRAGMutator.h"
#include "adventure/world/BrRAGRangedWeapon.h"
#include "adventure/world/BrRAGResolve.h"
#include "adventure/world/BrRAGWeapon.h"
#include "core/BrLogFile.h"
#include "engine/kernel/BrEngine.h"

namespace {
// The part of a mutator name before its first "(", the whole name without one.
BrStringT<char> BaseName(const BrStringT<char>& name) {
  const char* text = name.c_str();
  if (!text) return BrStringT<char>();
  const char* bracket = std::strchr(text, '(');
  if (!bracket) return name;
  BrStringT<char> head;
  for (const char* c = text; c < bracket; ++c) head += *c;
  return head;
}

bool NameIs(const BrObject* object, const BrStringT<char>& name) { return BrStringT<char>(object->GetName()) == name; }
}  // namespace

// ---- Mutators ----

bool BrRAGActor::ApplyMutator(const BrStringT<char>& command, bool permanent) {
  BrRAGMap* map = RAGMap();
  BrStringT<char> arguments;
  BrGameObj* spawned = map ? map->SpawnMutator(command, arguments) : nullptr;
  BrRAGMutator* mutator = brRAGCast<BrRAGMutator>(spawned);
  if (!mutator) {
    // Something that is not a mutator was never added anywhere: nobody else will free it.
    delete spawned;
    GLog.DebugPrintf("ERROR: Failed to spawn mutator %s", command.c_str() ? command.c_str() : "");
    return false;
  }
  mutator->Init();
  mutator->SetName(BrRAGMutator::NameFor(command));
  mutator->SetDrawnByMap(false);
  if (arguments.Length() > 0) mutator->ParseCmdLine(arguments);
  if (permanent) mutator->SetDuration(-1.0f);
  const int id = map->AddObject(mutator);

  for (int i = 0; i < m_MutatorIDs.GetCount(); ++i) {
    if (m_MutatorIDs[i] == -1) continue;
    BrRAGMutator* other = brRAGResolve<BrRAGMutator>(m_MutatorIDs[i]);
    if (other && !other->CanApplyOther(command)) {
      mutator->Destroy();
      return false;
    }
  }
  if (!mutator->Apply(this)) {
    // A refusal leaves nothing behind: no entry on this actor and no live mutator object. Its own Remove is
    // not run, since it undoes effects that a refused mutator never had.
    LostMutator(id);
    if (mutator->IsValid()) mutator->Destroy();
    return false;
  }
  return true;
}

void BrRAGActor::AddMutator(int id) {
  if (id < 0) return;
  for (int i = 0; i < m_MutatorIDs.GetCount(); ++i) {
    if (m_MutatorIDs[i] < 0) {
      m_MutatorIDs[i] = id;
      return;
    }
  }
  m_MutatorIDs.Add(id);
}

void BrRAGActor::LostMutator(int id) {
  for (int i = 0; i < m_MutatorIDs.GetCount(); ++i)
    if (m_MutatorIDs[i] == id) m_MutatorIDs[i] = -1;
}

BrRAGMutator* BrRAGActor::GetMutator(const BrStringT<char>& name, bool exact) {
  const BrStringT<char> base = exact ? name : BaseName(name);
  for (int i = 0; i < m_MutatorIDs.GetCount(); ++i) {
    BrRAGMutator* mutator = brRAGResolve<BrRAGMutator>(m_MutatorIDs[i]);
    if (!mutator) continue;
    const BrStringT<char> own(mutator->GetName());
    if (exact ? own == name : BaseName(own) == base) return mutator;
  }
  return nullptr;
}

unsigned int BrRAGActor::CountTimesMutatedBy(const BrStringT<char>& name) {
  unsigned int count = 0;
  for (int i = 0; i < m_MutatorIDs.GetCount(); ++i) {
    BrRAGMutator* mutator = brRAGResolve<BrRAGMutator>(m_MutatorIDs[i]);
    if (mutator && NameIs(mutator, name)) ++count;
  }
  return count;
}

void BrRAGActor::RemoveMutator(const BrStringT<char>& name, bool permanent) {
  if (name.Length() <= 0) return;
  if (permanent)
    RemovePermanentMutator(name);
  else
    RemoveMutatorTypes(name);
}

void BrRAGActor::RemovePermanentMutator(const BrStringT<char>& name) {
  const BrStringT<char> full = BrRAGMutator::NameFor(name);
  for (int i = 0; i < m_MutatorIDs.GetCount(); ++i) {
    BrRAGMutator* mutator = brRAGResolve<BrRAGMutator>(m_MutatorIDs[i]);
    if (mutator && mutator->GetDuration() == -1.0f && NameIs(mutator, full)) {
      mutator->Remove();
      return;
    }
  }
}

void BrRAGActor::RemoveMutatorTypes(const BrStringT<char>& name) {
  for (int i = 0; i < m_MutatorIDs.GetCount(); ++i) {
    BrRAGMutator* mutator = brRAGResolve<BrRAGMutator>(m_MutatorIDs[i]);
    if (mutator && mutator->GetDuration() != -1.0f && NameIs(mutator, name)) mutator->Remove();
  }
}

// ---- Attack readiness and damage ----

float BrRAGActor::GetAttackRate() {
  BrRAGWeapon* weapon = GetWeapon(0);
  if (!weapon) return cfUnarmedAttackRate;
  const float speed = weapon->GetWeaponSpeed();
  // A weapon of speed 0 or less never gets ready on its own figure: it attacks at the unarmed rate.
  return speed > 0.0f ? 1.0f / speed : cfUnarmedAttackRate;
}

bool BrRAGActor::CanAttackYet() {
  const float rate = GetAttackRate();
  if (!(m_fAttackTimer > rate)) return false;
  if (rate > 0.0f) {
    // Only the remainder is kept: a long pause buys one attack, not a burst of them.
    while (m_fAttackTimer > rate) m_fAttackTimer -= rate;
  } else {
    m_fAttackTimer = 0.0f;
  }
  return true;
}

bool BrRAGActor::CanAttack(BrRAGActor*) {
  if (m_fAttackRange == 0.0f) return true;
  return HasAmmo();
}

void BrRAGActor::GetRequiredAmmoType(BrStringT<char>& out) {
  out = BrStringT<char>();
  for (int i = 0; i < m_Anatomy.GetCount(); ++i) {
    const BrRAGAnatomySlot& slot = m_Anatomy[i];
    if (!slot.m_bOccupied || slot.m_iItemID < 0) continue;
    BrRAGRangedWeapon* ranged = brRAGResolve<BrRAGRangedWeapon>(slot.m_iItemID);
    if (ranged) out = ranged->GetAmmoType();
  }
}

bool BrRAGActor::HasAmmo() {
  BrStringT<char> ammo;
  GetRequiredAmmoType(ammo);
  if (ammo.Length() <= 0) return true;
  return m_Inventory.ContainsItemOfType(ammo) != -1;
}

BrRAGDamage BrRAGActor::GetAttackDMG() {
  BrRAGDamage damage;
  BrRAGWeapon* weapon = GetWeapon(0);
  if (weapon) weapon->GetWeaponDamage(damage);
  damage.SetOwnerID(GetID());
  // The blow is this actor's: a monster's natural weapon knows no wielder, and the one it kills is told who it was.
  damage.SetKillerText(GetText());
  const bool touch = weapon && weapon->IsTouchAttack();
  for (int i = 0; i < m_MutatorIDs.GetCount(); ++i) {
    BrRAGMutator* mutator = brRAGResolve<BrRAGMutator>(m_MutatorIDs[i]);
    if (mutator) mutator->OwnerAttacks(nullptr, touch, damage);
  }
  return damage;
}

// ---- Weapons and equipment ----

int BrRAGActor::GetNumWeapons() const {
  int count = 0;
  for (int slot = 0; slot < m_Inventory.GetNumberOfSlots(); ++slot) {
    BrRAGWeapon* weapon = brRAGResolve<BrRAGWeapon>(m_Inventory.GetItem(slot));
    if (weapon && weapon->IsEquipped()) ++count;
  }
  return count;
}

BrRAGWeapon* BrRAGActor::GetWeapon(int i) {
  if (i >= 0) {
    int seen = 0;
    for (int slot = 0; slot < m_Inventory.GetNumberOfSlots(); ++slot) {
      BrRAGWeapon* weapon = brRAGResolve<BrRAGWeapon>(m_Inventory.GetItem(slot));
      if (!weapon || !weapon->IsEquipped()) continue;
      if (seen == i) return weapon;
      ++seen;
    }
  }
  BrRAGWeapon* touch = GetTouchWeapon();
  if (touch) touch->SetTouchAttack(true);
  return touch;
}

BrRAGWeapon* BrRAGActor::GetTouchWeapon() {
  BrRAGWeapon* weapon = brRAGResolve<BrRAGWeapon>(m_iTouchWeaponID);
  if (weapon) return weapon;
  // None yet, or the old one is gone (collected with a level it was left on): make it anew.
  m_iTouchWeaponID = -1;
  SpawnTouchWeapon();
  return brRAGResolve<BrRAGWeapon>(m_iTouchWeaponID);
}

void BrRAGActor::SpawnTouchWeapon() {
  BrRAGMap* map = RAGMap();
  if (!map) return;
  if (m_TouchWeaponType.Length() > 0) {
    BrDemoEntity* entity = map->SpawnScripted(m_TouchWeaponType);
    BrRAGWeapon* weapon = brRAGCast<BrRAGWeapon>(entity);
    if (weapon) {
      weapon->SetDrawnByMap(false);
      m_iTouchWeaponID = map->AddObject(weapon);
      weapon->SetOwner(GetID());
      weapon->SetTouchAttack(true);
      return;
    }
    if (entity) {
      // Never added to the map, so nothing else would free it.
      entity->Destroy();
      delete entity;
    }
  }
  BrObject* spawned = static_cast<BrObject*>(Engine().Spawn("BrRAGWeapon"));
  BrRAGWeapon* weapon = spawned ? static_cast<BrRAGWeapon*>(spawned->SafeCast(&BrRAGWeapon::Type)) : nullptr;
  if (!weapon) {
    delete spawned;
    return;
  }
  weapon->Init();
  weapon->SetDrawnByMap(false);
  m_iTouchWeaponID = map->AddObject(weapon);
  weapon->SetOwner(GetID());
  weapon->SetWielderID(GetID());
}

int BrRAGActor::GetNumEquippedItems() const {
  int count = 0;
  for (int slot = 0; slot < m_Inventory.GetNumberOfSlots(); ++slot) {
    BrRAGDemoEquipment* item = brRAGResolve<BrRAGDemoEquipment>(m_Inventory.GetItem(slot));
    if (item && item->IsEquipped()) ++count;
  }
  return count;
}

BrRAGDemoEquipment* BrRAGActor::GetEquippedItem(int i) const {
  if (i < 0) return nullptr;
  int seen = 0;
  for (int slot = 0; slot < m_Inventory.GetNumberOfSlots(); ++slot) {
    BrRAGDemoEquipment* item = brRAGResolve<BrRAGDemoEquipment>(m_Inventory.GetItem(slot));
    if (!item || !item->IsEquipped()) continue;
    if (seen == i) return item;
    ++seen;
  }
  return nullptr;
}

bool BrRAGActor::ApplyEquipment(BrRAGDemoEquipment* item) {
  if (!item) return false;
  const int itemID = item->GetID();
  // Worn already: putting it on again would apply its effects twice.
  for (int j = 0; j < m_Anatomy.GetCount(); ++j)
    if (m_Anatomy[j].m_bOccupied && m_Anatomy[j].m_iItemID == itemID) return false;

  const int n = item->GetNumLimbSlots();
  std::vector<int> chosen;
  std::vector<int> collected;
  std::vector<char> taken(size_t(m_Anatomy.GetCount()), 0);
  for (int i = 0; i < n; ++i) {
    BrStringT<char> limb;
    if (!item->GetLimbName(i, limb)) continue;
    for (int j = 0; j < m_Anatomy.GetCount(); ++j) {
      const BrRAGAnatomySlot& slot = m_Anatomy[j];
      if (!(slot.m_LimbName == limb)) continue;
      if (!slot.m_bOccupied) {
        if (taken[size_t(j)] == 1) continue;
        taken[size_t(j)] = 1;
        chosen.push_back(j);
        break;
      }
      if (taken[size_t(j)] == 0) {
        taken[size_t(j)] = 2;
        collected.push_back(j);
      }
    }
  }
  std::vector<int> candidates(chosen);
  candidates.insert(candidates.end(), collected.begin(), collected.end());
  if (int(candidates.size()) < n) return false;

  for (int k = 0; k < n; ++k) {
    BrRAGAnatomySlot& slot = m_Anatomy[candidates[size_t(k)]];
    // A displaced item is taken off once, which frees every limb it held; a slot that this freed is simply
    // taken here.
    if (slot.m_bOccupied) {
      BrRAGDemoEquipment* worn = brRAGResolve<BrRAGDemoEquipment>(slot.m_iItemID);
      if (worn) worn->Unequip(this);
    }
    m_Anatomy[candidates[size_t(k)]].m_bOccupied = true;
    m_Anatomy[candidates[size_t(k)]].m_iItemID = itemID;
  }
  item->ApplyEquipEffects(this);
  return true;
}

bool BrRAGActor::RemoveEquipment(BrRAGDemoEquipment* item) {
  if (!item) return false;
  const int itemID = item->GetID();
  bool worn = false;
  for (int i = 0; i < item->GetNumLimbSlots(); ++i) {
    BrStringT<char> limb;
    if (!item->GetLimbName(i, limb)) continue;
    for (int j = 0; j < m_Anatomy.GetCount(); ++j) {
      BrRAGAnatomySlot& slot = m_Anatomy[j];
      if (slot.m_LimbName == limb && slot.m_bOccupied && slot.m_iItemID == itemID) {
        slot.m_bOccupied = false;
        slot.m_iItemID = -1;
        worn = true;
        break;
      }
    }
  }
  // An item that needs no limb (a natural weapon) is worn when it says it is worn by this actor.
  if (item->GetNumLimbSlots() == 0) worn = item->IsEquipped() && item->GetWielderID() == GetID();
  // Taking off what was not on would take effects away that it never gave.
  if (!worn) return false;
  item->UnapplyEquipEffects(this);
  return true;
}

void BrRAGActor::UnEquipAll() {
  for (int slot = 0; slot < m_Inventory.GetNumberOfSlots(); ++slot) {
    BrRAGDemoEquipment* item = brRAGResolve<BrRAGDemoEquipment>(m_Inventory.GetItem(slot));
    if (item && item->IsEquipped()) item->Unequip(this);
  }
}

void BrRAGActor::EquipBestWeapon() {
  BrRAGWeapon* best = nullptr;
  float bestScore = 0.0f;
  for (int slot = 0; slot < m_Inventory.GetNumberOfSlots(); ++slot) {
    BrRAGWeapon* weapon = brRAGResolve<BrRAGWeapon>(m_Inventory.GetItem(slot));
    if (!weapon || weapon->GetStackSize() >= 1) continue;
    float score =
        float(weapon->GetNumEdges() + 1) * float(weapon->GetNumHitEffects() + 1) * weapon->GetWeaponStrength();
    BrRAGRangedWeapon* ranged = brRAGCast<BrRAGRangedWeapon>(weapon);
    if (ranged) {
      const BrStringT<char>& ammo = ranged->GetAmmoType();
      score = (ammo.Length() > 0 && m_Inventory.ContainsItemOfType(ammo) == -1) ? 0.0f : score * 4.0f;
    }
    if (score > bestScore) {
      bestScore = score;
      best = weapon;
    }
  }
  for (int slot = 0; slot < m_Inventory.GetNumberOfSlots(); ++slot) {
    BrRAGWeapon* weapon = brRAGResolve<BrRAGWeapon>(m_Inventory.GetItem(slot));
    if (weapon && weapon->IsEquipped()) weapon->Unequip(this);
  }
  BrRAGWeapon* touch = brRAGResolve<BrRAGWeapon>(m_iTouchWeaponID);
  if (touch && touch->IsEquipped()) touch->Unequip(this);
  if (!best) best = GetTouchWeapon();
  if (best) best->Equip(this);
}

bool BrRAGActor::CanCarry(BrStringT<char>& type) {
  BrRAGMap* map = RAGMap();
  char current[64] = {0};
  std::strncpy(current, type.c_str() ? type.c_str() : "", sizeof(current) - 1);
  for (int depth = 0; depth < ciMaxCarryDepth; ++depth) {
    const BrStringT<char> name(current);
    for (int i = 0; i < m_CanCarry.GetCount(); ++i)
      if (m_CanCarry[i] == name) return true;
    char parent[64] = {0};
    if (!map || !current[0] || !map->GetObjCfg().GetParentType(current, parent)) return false;
    parent[sizeof(parent) - 1] = 0;
    // A kind whose Type names itself ends the chain.
    if (std::strcmp(parent, current) == 0) return false;
    std::memcpy(current, parent, sizeof(current));
  }
  GLog.printf("WARNING: CanCarry gave up on %s: its Type chain is longer than %i kinds (a loop?)",
              type.c_str() ? type.c_str() : "", int(ciMaxCarryDepth));
  return false;
}
