// BrRAGActor: lifecycle, configuration, movement, taking damage, damage numbers, drawing and the archive form.
#include "adventure/world/BrRAGActor.h"

#include "adventure/world/BrRAGDemoEquipment.h"
#include "adventure/world/BrRAGMap.h"
#include "adventure/world/BrRAGMutator.h"
#include "adventure/world/BrRAGPlayer.h"
#include "adventure/world/BrRAGRangedWeapon.h"
#include "adventure/world/BrRAGResolve.h"
#include "adventure/world/BrRAGWidget.h"
#include "core/BrBin.h"
#include "core/BrLogFile.h"
#include "engine/kernel/BrEngine.h"
#include "engine/kernel/BrPickup.h"
#include "engine/kernel/BrScriptDaemon.h"
#include "engine/presentation/BrAudioMgrBase.h"
#include "engine/presentation/BrRenderBase.h"
#include "templates/BrArchiveOps.h"

BR_IMPLEMENT_CLASS(BrRAGActor, BrActor)

const float BrRAGActor::cfCriticalHealth = 0.25f;
const float BrRAGActor::cfLowHealth = 0.5f;
const float BrRAGActor::cfFlyupLifeSECs = 1.0f;
const float BrRAGActor::cfFlyupRise = 0.06f;
const float BrRAGActor::cfFlyingHeight = 128.0f;
const float BrRAGActor::cfMutatorIconSpacing = 22.0f;
const float BrRAGActor::cfUnarmedAttackRate = 2.0f;

namespace {
const char* const kszNormalState = "BrRAGStateNormal";
const char* const kszAttackState = "BrRAGStateAttack";

// Reads a list key into list (emptied and sized first); false, list unchanged, when the key is missing.
bool LoadList(TDArray<BrStringT<char>>& list, const char* section, BrCfgFile* cfg, const char* key) {
  BrScriptDaemon* script = Engine().Script();
  int n = 0;
  if (!script || !script->LoadPropertyListSize(section, cfg, key, n) || n < 0) return false;
  list.Clear();
  for (int i = 0; i < n; ++i) list.Add(BrStringT<char>());
  if (n > 0) script->LoadPropertyList(&list[0], n, section, cfg, key);
  return true;
}
}  // namespace

// ---- BrRAGAnatomySlot ----

BrRAGAnatomySlot::BrRAGAnatomySlot() : m_bOccupied(false), m_iItemID(-1) {}

BrRAGAnatomySlot::BrRAGAnatomySlot(const BrRAGAnatomySlot& other)
    : m_LimbName(other.m_LimbName), m_bOccupied(other.m_bOccupied), m_iItemID(other.m_iItemID) {}

BrRAGAnatomySlot& BrRAGAnatomySlot::operator=(const BrRAGAnatomySlot& other) {
  if (this == &other) return *this;
  m_LimbName = other.m_LimbName;
  m_bOccupied = other.m_bOccupied;
  m_iItemID = other.m_iItemID;
  return *this;
}

void BrRAGAnatomySlot::Serialize(BrBin& bin) {
  bin << m_LimbName;
  bin << m_bOccupied;
  bin << m_iItemID;
}

// ---- Construction ----

BrRAGActor::BrRAGActor()
    : m_fAttackRange(0.0f),
      m_fStrength(1.0f),
      m_fHitProbability(1.0f),
      m_fArmourClass(0.0f),
      m_iTouchWeaponID(-1),
      m_iXPWorth(0),
      m_iIQ(1),
      m_fAttackTimer(0.0f),
      m_bDead(false),
      m_iStepDepth(0) {
  m_fGroundSpeed = 100.0f;
}

BrRAGActor::BrRAGActor(const BrRAGActor& other)
    : BrActor(other),
      m_fAttackRange(other.m_fAttackRange),
      m_fStrength(other.m_fStrength),
      m_fHitProbability(other.m_fHitProbability),
      m_fArmourClass(other.m_fArmourClass),
      m_MutatorIDs(other.m_MutatorIDs),
      m_Inventory(other.m_Inventory),
      m_Flyups(other.m_Flyups),
      m_Anatomy(other.m_Anatomy),
      m_CanCarry(other.m_CanCarry),
      m_StartEquipment(other.m_StartEquipment),
      m_Specials(other.m_Specials),
      m_iTouchWeaponID(other.m_iTouchWeaponID),
      m_TouchWeaponType(other.m_TouchWeaponType),
      m_iXPWorth(other.m_iXPWorth),
      m_MutatorBillboard(other.m_MutatorBillboard),
      m_iIQ(other.m_iIQ),
      m_fAttackTimer(other.m_fAttackTimer),
      m_bDead(other.m_bDead),
      m_iStepDepth(0) {}

BrRAGActor& BrRAGActor::operator=(const BrRAGActor& other) {
  if (this == &other) return *this;
  BrActor::operator=(other);
  m_fAttackRange = other.m_fAttackRange;
  m_fStrength = other.m_fStrength;
  m_fHitProbability = other.m_fHitProbability;
  m_fArmourClass = other.m_fArmourClass;
  m_MutatorIDs = other.m_MutatorIDs;
  m_Inventory = other.m_Inventory;
  m_Flyups = other.m_Flyups;
  m_Anatomy = other.m_Anatomy;
  m_CanCarry = other.m_CanCarry;
  m_StartEquipment = other.m_StartEquipment;
  m_Specials = other.m_Specials;
  m_iTouchWeaponID = other.m_iTouchWeaponID;
  m_TouchWeaponType = other.m_TouchWeaponType;
  m_iXPWorth = other.m_iXPWorth;
  m_MutatorBillboard = other.m_MutatorBillboard;
  m_iIQ = other.m_iIQ;
  m_fAttackTimer = other.m_fAttackTimer;
  m_bDead = other.m_bDead;
  return *this;
}

BrRAGActor::~BrRAGActor() { ReleaseRetiredStates(); }

void BrRAGActor::ReleaseRetiredStates() {
  for (int i = 0; i < m_RetiredStates.GetCount(); ++i) delete m_RetiredStates[i];
  m_RetiredStates.Clear();
}

BrRAGMap* BrRAGActor::RAGMap() {
  BrMap* map = WorldMap();
  if (!map || !map->IsA(BrRAGMap::Type)) return nullptr;
  return static_cast<BrRAGMap*>(map->SafeCast(&BrRAGMap::Type));
}

// ---- Archive ----

void BrRAGActor::Serialize(BrBin& bin) {
  BrActor::Serialize(bin);
  bin << m_fAttackRange;
  bin << m_fStrength;
  bin << m_fHitProbability;
  bin << m_fArmourClass;
  bin << m_iTouchWeaponID;
  bin << m_fAttackTimer;
  m_MutatorIDs.Serialize(bin);
  m_Inventory.Serialize(bin);
  m_Anatomy.Serialize(bin);
  m_CanCarry.Serialize(bin);
  m_StartEquipment.Serialize(bin);
  m_Specials.Serialize(bin);
  bin << m_TouchWeaponType;
}

// ---- Lifecycle ----

bool BrRAGActor::Init() {
  BrGameObj::Init();
  SetPhysics(true);
  m_iTouchWeaponID = -1;
  m_TouchWeaponType = BrStringT<char>();
  m_Inventory.Init();
  // A new actor can carry things at once; a loaded one gets its slots from the stream afterwards.
  m_Inventory.SetInventorySize();
  m_iXPWorth = 0;
  m_bDead = false;
  return true;
}

void BrRAGActor::AddStates() {
  AddState(BrStringT<char>(kszAttackState));
  AddState(BrStringT<char>(kszNormalState));
  ChangeToState(BrStringT<char>(kszNormalState));
}

void BrRAGActor::PostInit() {
  BrGameObj::PostInit();
  m_Inventory.SetCarrier(GetID());
  // A loaded actor gets PostInit before its stream: what it carried and what held it comes from the save, so
  // giving the start equipment and the specials again would double them.
  BrMap* map = WorldMap();
  if (map && map->ObjectMgr().IsLoading()) return;
  SpawnStartEquipment();
  SpawnFeats();
}

void BrRAGActor::SpawnStartEquipment() {
  BrRAGMap* map = RAGMap();
  if (!map) return;
  for (int i = 0; i < m_StartEquipment.GetCount(); ++i) {
    BrDemoEntity* entity = map->SpawnScripted(m_StartEquipment[i]);
    if (!entity) continue;
    entity->SetDrawnByMap(false);
    const int id = map->AddObject(entity);
    AddToInventory(id);
    entity->SetOwner(GetID());
    BrRAGDemoEquipment* equipment = brRAGCast<BrRAGDemoEquipment>(entity);
    if (equipment) equipment->Equip(this);
  }
  m_Inventory.CheckForCompounds();
}

void BrRAGActor::SpawnFeats() {
  for (int i = 0; i < m_Specials.GetCount(); ++i) ApplyMutator(m_Specials[i], true);
}

void BrRAGActor::Destroy() {
  for (int i = 0; i < m_MutatorIDs.GetCount(); ++i) {
    BrRAGMutator* mutator = brRAGResolve<BrRAGMutator>(m_MutatorIDs[i]);
    if (mutator) mutator->Destroy();
  }
  m_MutatorIDs.Clear();
  m_Anatomy.Clear();
  m_CanCarry.Clear();
  m_StartEquipment.Clear();
  m_Specials.Clear();
  m_iTouchWeaponID = -1;
  m_TouchWeaponType = BrStringT<char>();
  if (m_iStepDepth > 0) {
    // Dying inside its own state's step (a blow struck back): the states leave the machine now but are deleted
    // only once that step has returned.
    for (int i = 0; i < m_States.GetCount(); ++i) m_RetiredStates.Add(m_States[i]);
    m_States.Clear();
    m_pCurrentState = nullptr;
    m_pPreviousState = nullptr;
  }
  BrDemoEntity::Destroy();
}

void BrRAGActor::LoadScript(const char* section, BrCfgFile* cfg) {
  BrActor::LoadScript(section, cfg);
  BrScriptDaemon* script = Engine().Script();
  if (!cfg || !script || !section) return;

  TDArray<BrStringT<char>> limbs;
  if (LoadList(limbs, section, cfg, "Anatomy")) {
    m_Anatomy.Clear();
    for (int i = 0; i < limbs.GetCount(); ++i) {
      BrRAGAnatomySlot slot;
      slot.m_LimbName = limbs[i];
      m_Anatomy.Add(slot);
    }
  }
  LoadList(m_CanCarry, section, cfg, "CanCarry");
  float toHit = 0.0f;
  if (script->LoadProperty(toHit, section, cfg, "ToHit")) m_fHitProbability = brClamp(toHit, 0.0f, 20.0f);
  int value = 0;
  if (script->LoadProperty(value, section, cfg, "XP")) m_iXPWorth = brClamp(value, 0, 50);
  if (script->LoadProperty(value, section, cfg, "IQ")) m_iIQ = brClamp(value, 0, 50);
  LoadList(m_StartEquipment, section, cfg, "StartEquip");
  LoadList(m_Specials, section, cfg, "Special");
  BrStringT<char> touch;
  if (script->LoadProperty(touch, section, cfg, "Touch")) m_TouchWeaponType = touch;
  int argb[4] = {255, 255, 255, 255};
  if (!script->LoadPropertyList(argb, 4, section, cfg, "HUDColour")) {
    argb[0] = argb[1] = argb[2] = argb[3] = 255;
  }
  setHUDColour(BrARGB(argb[0], argb[1], argb[2], argb[3]));
}

BrStringT<char> BrRAGActor::GetTooltip() { return BrDemoEntity::GetTooltip(); }

void BrRAGActor::DoPhysics(float) {}

// ---- Step and movement ----

void BrRAGActor::Step(float dt) {
  ++m_iStepDepth;
  BrGameObj::Step(dt);
  --m_iStepDepth;
  if (m_iStepDepth == 0) ReleaseRetiredStates();
  if (!IsValid()) return;
  m_fAttackTimer += dt;

  BrGameObj* target = GetTargetObj();
  if (target) {
    BrDemoEntity* entity = brRAGCast<BrDemoEntity>(target);
    if (entity && IsTouching(entity))
      ReachedTargetObj();
    else
      PathTo(target->Location());
  }

  BrVector& position = Location();
  const BrVector toGo = m_PathDest - position;
  const float distance = toGo.Size();
  const float radius = GetDrawScale().x;
  BrMap* map = WorldMap();
  if (map && distance > radius) {
    float move = m_fGroundSpeed > 0.0f ? m_fGroundSpeed * dt : 0.0f;
    if (move > distance) move = distance;
    const BrVector wanted = position + toGo * (1.0f / distance) * move;
    BrVector end = wanted;
    int depth = 0;
    const BrVector start = position;
    map->Trace(start, wanted, radius, GetCollideFlags(), end, depth, this);
    Location() = end;
  }

  for (int i = 0; i < m_Flyups.GetCount(); ++i)
    if (m_Flyups[i].m_fLife > 0.0f) m_Flyups[i].m_fLife -= dt;
}

bool BrRAGActor::PathTo(const BrVector& destination) {
  BrVector wanted = destination;
  wanted.y = GetMutator(BrStringT<char>("MUTFlying"), false) ? cfFlyingHeight : GetDrawScale().y;
  BrVector position = Location();
  if (destination == position) {
    m_PathDest = wanted;
    return true;
  }
  BrMap* map = WorldMap();
  if (wanted != m_PathDest && map && map->CellTrace(&position, &wanted)) m_PathDest = wanted;
  return true;
}

bool BrRAGActor::CanSee(BrDemoEntity* entity) const {
  if (!entity) return false;
  BrMap* map = WorldMap();
  if (!map || !entity->GetVisible()) return false;
  const BrVector from = Location();
  const BrVector to = entity->Location();
  return map->CellTrace(&from, &to);
}

// ---- Targets ----

bool BrRAGActor::IsAttacking(BrRAGActor* target) {
  if (!target || !IsInState(BrStringT<char>(kszAttackState))) return false;
  BrBaseState* state = GetCurrentState();
  if (!state || !state->IsA(BrRAGStateAttack::Type)) return false;
  return static_cast<BrRAGStateAttack*>(state)->GetTargetID() == target->GetID();
}

void BrRAGActor::HeadForTargetObj(int id) {
  BrMap* map = WorldMap();
  BrGameObj* object = map ? map->GetObjectA(id) : nullptr;
  if (!object || !object->IsValid()) {
    StopPathing();
    m_iTargetID = -1;
    return;
  }
  BrRAGActor* actor = brRAGCast<BrRAGActor>(object);
  if (actor && IsAttacking(actor)) {
    m_iTargetID = id;
    return;
  }
  ChangeToState(BrStringT<char>(kszNormalState));
  m_iTargetID = id;
}

void BrRAGActor::ReachedTargetObj() {
  BrGameObj* target = GetTargetObj();
  if (!target) {
    GLog.printf("WARNING: Actor reached invalid object. Please report.");
  } else if (BrPickup* pickup = brRAGCast<BrPickup>(target)) {
    pickup->PickedUp(this);
  } else if (BrRAGWidget* widget = brRAGCast<BrRAGWidget>(target)) {
    widget->UsedBy(this);
  }
  m_iTargetID = -1;
}

bool BrRAGActor::Attack(BrRAGActor* target) {
  if (!target || target == this || IsAttacking(target)) return false;
  // A ranged weapon whose ammunition left the pack some other way than by its last shot (dropped, combined)
  // is swapped for the best weapon at hand, as after that shot; kept, it would refuse every attack unheard.
  if (!CanAttack(target)) {
    BrRAGWeapon* weapon = GetWeapon(0);
    if (weapon && weapon->IsA(BrRAGRangedWeapon::Type)) {
      EquipBestWeapon();
      BrRAGRangedWeapon::ReportOutOfAmmo(this);
    }
  }
  if (!CanAttack(target) || !CanSee(target)) return false;
  BrBaseState* state = GetState(BrStringT<char>(kszAttackState));
  if (!state || !state->IsA(BrRAGStateAttack::Type)) return false;
  // Entering the state clears its target, so the target is set after the change.
  ChangeToState(BrStringT<char>(kszAttackState));
  static_cast<BrRAGStateAttack*>(state)->SetTargetID(target->GetID());
  return false;
}

// ---- Taking damage ----

void BrRAGActor::TakeDMG(BrRAGDamage& damage) {
  // The dead take nothing more: no second death, no second award of experience, no second game-over.
  if (m_bDead || !IsValid()) return;

  const float fraction = m_iMaxHealth > 0 ? float(m_iHealth) / float(m_iMaxHealth) : 0.0f;
  if (fraction < cfCriticalHealth)
    damage.SetColour(BrARGB(128, 255, 0, 0));
  else if (fraction < cfLowHealth)
    damage.SetColour(BrARGB(128, 255, 120, 40));
  else
    damage.SetColour(BrARGB(128, 255, 255, 255));
  if (damage.GetPoints() < 0.0f) damage.SetColour(BrARGB(128, 254, 241, 40));

  damage.ApplyArmour(m_fArmourClass);

  for (int i = 0; i < m_MutatorIDs.GetCount(); ++i) {
    BrRAGMutator* mutator = brRAGResolve<BrRAGMutator>(m_MutatorIDs[i]);
    if (mutator) mutator->OwnerTakeDMG(damage);
  }
  for (int i = 0; i < damage.GetNumHitEffects(); ++i) ApplyMutator(damage.GetHitEffect(i), false);
  // A mutator or hit effect may have finished the actor off already.
  if (m_bDead || !IsValid()) return;

  if (damage.GetPoints() > 0.0f) {
    BrAudioMgrBase* audio = Engine().Audio();
    if (audio) audio->PlayAudio3D(m_HurtSound, Location());
  }

  if (damage.GetPoints() >= 0.0f) {
    m_iHealth -= brTruncate(damage.GetPoints() * damage.GetMultiplier());
  } else {
    int heal = brTruncate(damage.GetPoints());
    heal = heal < 0 ? -heal : heal;
    const int missing = m_iMaxHealth - m_iHealth;
    if (missing < heal) {
      // The heal stops at the maximum, and the number shown says how much it really healed.
      damage.SetPoints(float(m_iHealth - m_iMaxHealth));
      heal = missing > 0 ? missing : 0;
    }
    m_iHealth += heal;
  }

  if (m_iHealth < 1) {
    const int owner = damage.GetOwnerID();
    if (owner != -1) {
      BrRAGPlayer* player = brRAGResolve<BrRAGPlayer>(owner);
      if (player && player != this) player->AddXP((unsigned int)(m_iXPWorth > 0 ? m_iXPWorth : 0));
    }
    Killed(damage.GetKillerText());
    m_bDead = true;
    if (!IsA(BrRAGPlayer::Type)) Destroy();
    return;
  }
  if (damage.GetPoints() != 0.0f) SpawnDmgFlyup(damage);
  if (m_iIQ > 1 && m_iHealth < m_iMaxHealth / 2) UseInventory();
}

void BrRAGActor::Killed(const BrStringT<char>& killer) {
  if (m_bDead) return;
  m_bDead = true;
  BrActor::Killed(killer);
}

void BrRAGActor::UseInventory() {}

void BrRAGActor::TargetKilled(const BrStringT<char>&) {}

int BrRAGActor::AddToInventory(int id) { return m_Inventory.AddItem(id); }

// ---- Damage numbers and drawing ----

void BrRAGActor::SpawnDmgFlyup(const BrRAGDamage& damage) {
  BrRAGDmgFlyup flyup;
  flyup.m_iValue = brTruncate(damage.GetPoints() * damage.GetMultiplier());
  flyup.m_fLife = cfFlyupLifeSECs;
  flyup.m_Text = damage.GetDamageText();
  flyup.m_Colour = damage.GetColour();
  for (int i = 0; i < m_Flyups.GetCount(); ++i) {
    if (m_Flyups[i].m_fLife <= 0.0f) {
      m_Flyups[i] = flyup;
      return;
    }
  }
  m_Flyups.Add(flyup);
}

void BrRAGActor::Draw(BrRenderBase* render) {
  BrDemoEntity::Draw(render);
  if (!render) return;
  const BrVector anchor = Location() + BrVector(0.0f, GetDrawScale().y, 0.0f);
  for (int i = 0; i < m_Flyups.GetCount(); ++i) {
    BrRAGDmgFlyup& flyup = m_Flyups[i];
    if (flyup.m_fLife <= 0.0f) continue;
    float x = 0.0f, y = 0.0f;
    if (!render->Project(anchor, x, y)) continue;
    y -= ((cfFlyupLifeSECs - flyup.m_fLife) / cfFlyupLifeSECs) * cfFlyupRise;
    if (flyup.m_iValue != 0) {
      render->DrawTextf(x, y, flyup.m_Colour, eFontFormatNone, (char*)"%s",
                        flyup.m_Text.c_str() ? flyup.m_Text.c_str() : "");
    } else {
      BrARGB white(128, 255, 255, 255);
      render->DrawTextf(x, y, white, eFontFormatNone, (char*)"%s", "MISS");
    }
  }
  DrawMutators(render);
}

void BrRAGActor::DrawMutators(BrRenderBase* render) {
  BrVector position = Location() + BrVector(0.0f, GetDrawScale().y + cfMutatorIconSpacing, 0.0f);
  for (int i = 0; i < m_MutatorIDs.GetCount(); ++i) {
    BrRAGMutator* mutator = brRAGResolve<BrRAGMutator>(m_MutatorIDs[i]);
    if (!mutator) continue;
    mutator->DrawBillboard(render, m_MutatorBillboard, position + GetDrawOffset(), cfMutatorIconSpacing);
    position.y += 2.0f * cfMutatorIconSpacing;
  }
}

// ---- Accessors ----

void BrRAGActor::SetAttackRange(float cells) {
  BrRAGMap* map = RAGMap();
  m_fAttackRange = cells * (map ? map->GridScale() : 128.0f);
}

int BrRAGActor::GetMutatorID(int i) const {
  if (i < 0 || i >= m_MutatorIDs.GetCount()) return -1;
  return m_MutatorIDs[i];
}

const BrRAGAnatomySlot* BrRAGActor::GetAnatomySlot(int i) const {
  if (i < 0 || i >= m_Anatomy.GetCount()) return nullptr;
  return &m_Anatomy[i];
}

const BrRAGDmgFlyup* BrRAGActor::GetFlyup(int i) const {
  if (i < 0 || i >= m_Flyups.GetCount()) return nullptr;
  return &m_Flyups[i];
}
