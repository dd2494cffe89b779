// BrRAGBaseState, BrRAGStateNormal, BrRAGStateAttack, BrRAGDmgFlyup: the actor's AI states and the to-hit roll.
#include "adventure/world/BrRAGBaseState.h"

#include "adventure/world/BrRAGActor.h"
#include "adventure/world/BrRAGPlayer.h"
#include "adventure/world/BrRAGRangedWeapon.h"
#include "adventure/world/BrRAGResolve.h"
#include "adventure/world/BrRAGWeapon.h"
#include "core/BrBin.h"
#include "core/BrNumeric.h"
#include "core/BrPlane.h"
#include "engine/kernel/BrApplication.h"
#include "engine/kernel/BrEngine.h"
#include "engine/presentation/BrAudioMgrBase.h"
#include "engine/presentation/BrRenderBase.h"
#include "templates/BrArchiveOps.h"

BR_IMPLEMENT_CLASS(BrRAGBaseState, BrBaseState)
BR_IMPLEMENT_CLASS(BrRAGStateNormal, BrRAGBaseState)
BR_IMPLEMENT_CLASS(BrRAGStateAttack, BrRAGBaseState)

BrAudioID BrRAGStateAttack::miOutOfAmmoSFX;

namespace {
const char* const kszNormalState = "BrRAGStateNormal";
const char* const kszAttackState = "BrRAGStateAttack";
}  // namespace

// ---- BrRAGDmgFlyup ----

BrRAGDmgFlyup::BrRAGDmgFlyup() : m_iValue(0), m_fLife(0.0f), m_Colour(255, 0, 0, 255) {}

BrRAGDmgFlyup::BrRAGDmgFlyup(const BrRAGDmgFlyup& other)
    : m_iValue(other.m_iValue), m_fLife(other.m_fLife), m_Text(other.m_Text), m_Colour(other.m_Colour) {}

BrRAGDmgFlyup& BrRAGDmgFlyup::operator=(const BrRAGDmgFlyup& other) {
  if (this == &other) return *this;
  m_iValue = other.m_iValue;
  m_fLife = other.m_fLife;
  m_Text = other.m_Text;
  m_Colour = other.m_Colour;
  return *this;
}

// ---- BrRAGBaseState ----

BrRAGBaseState::BrRAGBaseState() {}
BrRAGBaseState::BrRAGBaseState(const BrRAGBaseState& other) : BrBaseState(other) {}
BrRAGBaseState& BrRAGBaseState::operator=(const BrRAGBaseState& other) {
  if (this != &other) BrBaseState::operator=(other);
  return *this;
}
BrRAGBaseState::~BrRAGBaseState() {}

BrRAGActor* BrRAGBaseState::OwnerActor() const {
  BrStateMachine* owner = GetOwner();
  if (!owner || !owner->IsA(BrRAGActor::Type)) return nullptr;
  return static_cast<BrRAGActor*>(owner->SafeCast(&BrRAGActor::Type));
}

void BrRAGBaseState::Draw(BrRenderBase* render) {
  BrRAGActor* owner = OwnerActor();
  if (!owner) return;
  BrRAGWeapon* weapon = owner->GetWeapon(0);
  if (weapon) weapon->Draw(render);
}

// ---- BrRAGStateNormal ----

BrRAGStateNormal::BrRAGStateNormal() {}
BrRAGStateNormal::BrRAGStateNormal(const BrRAGStateNormal& other) : BrRAGBaseState(other) {}
BrRAGStateNormal& BrRAGStateNormal::operator=(const BrRAGStateNormal& other) {
  if (this != &other) BrRAGBaseState::operator=(other);
  return *this;
}
BrRAGStateNormal::~BrRAGStateNormal() {}

bool BrRAGStateNormal::Init() { return true; }
void BrRAGStateNormal::Step(float) {}
void BrRAGStateNormal::Destroy() {}
void BrRAGStateNormal::OnEntry() {}
void BrRAGStateNormal::OnExit() {}

// ---- BrRAGStateAttack ----

BrRAGStateAttack::BrRAGStateAttack() : m_iTargetID(-1), m_bBlowRead(false) {}
BrRAGStateAttack::BrRAGStateAttack(const BrRAGStateAttack& other)
    : BrRAGBaseState(other), m_iTargetID(other.m_iTargetID), m_bBlowRead(false) {}
BrRAGStateAttack& BrRAGStateAttack::operator=(const BrRAGStateAttack& other) {
  if (this == &other) return *this;
  BrRAGBaseState::operator=(other);
  m_iTargetID = other.m_iTargetID;
  return *this;
}
BrRAGStateAttack::~BrRAGStateAttack() {}

void BrRAGStateAttack::Serialize(BrBin& bin) {
  BrRAGBaseState::Serialize(bin);
  bin << m_iTargetID;
}

bool BrRAGStateAttack::Init() {
  m_iTargetID = -1;
  return true;
}

void BrRAGStateAttack::Destroy() { m_iTargetID = -1; }

void BrRAGStateAttack::OnEntry() {
  BrRAGBaseState::OnEntry();
  m_iTargetID = -1;
}

void BrRAGStateAttack::OnExit() {}

BrRAGActor* BrRAGStateAttack::GetTarget() { return brRAGResolve<BrRAGActor>(m_iTargetID); }

void BrRAGStateAttack::Step(float dt) {
  BrRAGActor* target = GetTarget();
  BrRAGActor* owner = OwnerActor();
  // An actor never fights itself, and a dead target (the player lies there undestroyed) is no target.
  if (owner && target && target != owner && target->GetHealth() > 0 && !target->IsDead() && owner->CanAttack(target) &&
      owner->CanSee(target)) {
    if (TargetInRange())
      HandleInRange();
    else
      HandleOutOfRange();
  } else if (owner) {
    owner->ChangeToState(BrStringT<char>(kszNormalState));
  }
  BrBaseState::Step(dt);
}

bool BrRAGStateAttack::TargetInRange() {
  BrRAGActor* owner = OwnerActor();
  BrRAGActor* target = GetTarget();
  if (!owner || !target) return false;
  const float range = owner->GetAttackRange();
  if (range < 1.0f) return owner->IsTouching(target);
  return (target->Location() - owner->Location()).Size() <= range;
}

void BrRAGStateAttack::HandleOutOfRange() {
  BrRAGActor* owner = OwnerActor();
  if (!owner) return;
  BrRAGActor* target = GetTarget();
  if (target && owner->CanSee(target)) {
    owner->HeadForTargetObj(m_iTargetID);
  } else {
    owner->ChangeToState(BrStringT<char>(kszNormalState));
    owner->HeadForTargetObj(-1);
  }
}

void BrRAGStateAttack::HandleInRange() {
  BrRAGActor* owner = OwnerActor();
  BrRAGActor* target = GetTarget();
  if (!owner || !target) return;
  owner->StopPathing();
  owner->HeadForTargetObj(-1);
  if (owner->CanAttackYet()) {
    if (MakeToHitRoll(target->GetArmourClass(), owner->GetHitProbability()))
      MeleeHit();
    else
      MeleeMiss();
    // Only a victim that survived the blow fights back, and only against a blow struck in melee.
    target = GetTarget();
    BrRAGWeapon* weapon = owner->GetWeapon(0);
    const bool ranged = weapon && weapon->IsA(BrRAGRangedWeapon::Type);
    if (target && target->GetHealth() > 0 && !target->IsDead() && owner->IsValid() &&
        !target->IsInState(BrStringT<char>(kszAttackState)) && !ranged)
      target->Attack(owner);
  }
  if (!owner->IsValid()) return;
  BrRAGWeapon* weapon = owner->GetWeapon(0);
  if (weapon && weapon->IsA(BrRAGRangedWeapon::Type) && !owner->HasAmmo()) {
    owner->EquipBestWeapon();
    BrRAGRangedWeapon::ReportOutOfAmmo(owner);
  }
}

bool BrRAGStateAttack::MakeToHitRoll(float armourClass, float hitProbability) {
  BrRAGActor* owner = OwnerActor();
  if (owner) {
    m_Blow = owner->GetAttackDMG();
    m_bBlowRead = true;
    BrRAGWeapon* weapon = owner->GetWeapon(0);
    if (weapon) weapon->Fire(GetTarget());
  }
  const float ac = brClamp(armourClass, 1.0f, 20.0f);
  const float p = brClamp(hitProbability / ac, 0.1f, 0.9f);
  return brRandRangeF(0.0f, 1.0f) <= p;
}

void BrRAGStateAttack::MeleeHit() {
  BrRAGActor* owner = OwnerActor();
  BrRAGActor* target = GetTarget();
  if (!owner || !target) return;
  BrRAGDamage damage = m_bBlowRead ? m_Blow : owner->GetAttackDMG();
  m_bBlowRead = false;
  target->TakeDMG(damage);
  if (target->GetHealth() <= 0) {
    BrApplication* app = Engine().App();
    const BrStringT<char> text = target->GetText();
    if (app)
      app->DisplayMsgf("%s killed the %s (%i XP)", owner->GetName() ? owner->GetName() : "",
                       text.c_str() ? text.c_str() : "", target->GetXPWorth());
    if (owner->IsValid()) owner->TargetKilled(text);
  }
}

void BrRAGStateAttack::MeleeMiss() {
  static BrAudioID s_MissSFX;
  m_bBlowRead = false;
  BrRAGActor* owner = OwnerActor();
  BrRAGActor* target = GetTarget();
  if (!owner || !target) return;
  BrAudioMgrBase* audio = Engine().Audio();
  if (audio) {
    if (!s_MissSFX.Ready()) audio->CreateAudio(BrStringT<char>("Sounds\\miss.wav"), s_MissSFX);
    audio->PlayAudio3D(s_MissSFX, target->Location());
  }
  BrApplication* app = Engine().App();
  if (app) app->DisplayMsgf("%s missed!", owner->GetName() ? owner->GetName() : "");
  // An empty blow: the target's mutators still see the attack, but it loses nothing and shows no number.
  BrRAGDamage nothing;
  nothing.Init();
  target->TakeDMG(nothing);
}

void BrRAGStateAttack::Draw(BrRenderBase* render) {
  BrRAGActor* owner = OwnerActor();
  BrRAGActor* target = GetTarget();
  if (render && owner && target && owner->IsA(BrRAGPlayer::Type)) {
    BrVector centre = target->Location();
    BrPlane plane(BrVector(0.0f, 1.0f, 0.0f), centre);
    const float width = target->GetDrawScale().x;
    render->Draw3DCircle(&centre, &plane, 0.75f * width, BrARGB(128, 255, 0, 0));
    render->Draw3DCircle(&centre, &plane, 0.71f * width, BrARGB(200, 255, 0, 0));
  }
  BrRAGBaseState::Draw(render);
}
