// BrRAGWeapon: weapon damage, speed and display text, and the firing cycle that spends charges.
#include "adventure/world/BrRAGWeapon.h"

#include <cstdio>

#include "adventure/world/BrRAGActor.h"
#include "adventure/world/BrRAGDamage.h"
#include "adventure/world/BrRAGResolve.h"
#include "engine/kernel/BrEngine.h"
#include "engine/kernel/BrScriptDaemon.h"
#include "engine/presentation/BrAudioMgrBase.h"

BR_IMPLEMENT_CLASS(BrRAGWeapon, BrRAGDemoEquipment)

BrRAGWeapon::BrRAGWeapon()
    : m_fWeaponStrength(0.0f),
      m_fWeaponSpeed(1.0f),
      m_bFiring(false),
      m_fFireTimer(0.0f),
      m_iFireTarget(-1),
      m_fFireDuration(1.5f),
      m_bTouchAttack(false) {}

BrRAGWeapon::BrRAGWeapon(const BrRAGWeapon& other)
    : BrRAGDemoEquipment(other),
      m_fWeaponStrength(other.m_fWeaponStrength),
      m_fWeaponSpeed(other.m_fWeaponSpeed),
      m_HitEffects(other.m_HitEffects),
      m_bFiring(other.m_bFiring),
      m_fFireTimer(other.m_fFireTimer),
      m_iFireTarget(other.m_iFireTarget),
      m_fFireDuration(other.m_fFireDuration),
      m_bTouchAttack(other.m_bTouchAttack) {}

BrRAGWeapon& BrRAGWeapon::operator=(const BrRAGWeapon& other) {
  if (this == &other) return *this;
  BrRAGDemoEquipment::operator=(other);
  m_fWeaponStrength = other.m_fWeaponStrength;
  m_fWeaponSpeed = other.m_fWeaponSpeed;
  m_HitEffects = other.m_HitEffects;
  m_bFiring = other.m_bFiring;
  m_fFireTimer = other.m_fFireTimer;
  m_iFireTarget = other.m_iFireTarget;
  m_fFireDuration = other.m_fFireDuration;
  m_bTouchAttack = other.m_bTouchAttack;
  return *this;
}

BrRAGWeapon::~BrRAGWeapon() {}

void BrRAGWeapon::Destroy() {
  for (int i = 0; i < m_Edges.GetCount(); ++i) m_Edges[i] = BrStringT<char>();
  m_Edges.Clear();
  for (int i = 0; i < m_HitEffects.GetCount(); ++i) m_HitEffects[i] = BrStringT<char>();
  m_HitEffects.Clear();
  BrRAGDemoEquipment::Destroy();
}

void BrRAGWeapon::Draw(BrRenderBase*) {}

void BrRAGWeapon::LoadScript(const char* section, BrCfgFile* cfg) {
  BrRAGDemoEquipment::LoadScript(section, cfg);
  BrScriptDaemon* script = Engine().Script();
  if (!cfg || !script || !section) return;
  float f = 0.0f;
  if (script->LoadProperty(f, section, cfg, "Damage")) SetWeaponStrength(f);
  if (script->LoadProperty(f, section, cfg, "Speed")) SetWeaponSpeed(f < 0.1f ? 0.1f : (f > 10.0f ? 10.0f : f));
  char stats[96];
  snprintf(stats, sizeof(stats), " (damage %i, speed %i)", int(GetWeaponStrength()), int(GetWeaponSpeed() * 10.0f));
  SetText(GetText() + stats);
  LoadStringList(m_HitEffects, section, cfg, "HitEffects");
}

bool BrRAGWeapon::Equip(BrRAGActor* actor, bool silent) {
  if (!actor || !BrRAGDemoEquipment::Equip(actor, silent)) return false;
  actor->SetAttackRange(0.0f);
  return true;
}

// "+bonus " + the text cut before its stats, for the weapon and armour display texts.
static BrStringT<char> BonusPrefix(int bonus, const BrStringT<char>& text) {
  char prefix[32];
  snprintf(prefix, sizeof(prefix), "+%i ", bonus);
  BrStringT<char> s = BrStringT<char>(prefix) + text;
  const int cut = s.Find(BrStringT<char>("("), 3);
  if (cut > 0) s = s(0, cut);
  return s;
}

BrStringT<char> BrRAGWeapon::GetDisplayText() {
  if (m_iBonus < 1) return GetText();
  BrStringT<char> s = BonusPrefix(m_iBonus, GetText());
  int d = int(GetWeaponStrength());
  if (BrRAGActor* wielder = Wielder()) d = int(float(d) - wielder->GetStrength());
  char stats[96];
  snprintf(stats, sizeof(stats), " (damage %i, speed %i)", d, int(GetWeaponSpeed() * 10.0f));
  return s + stats;
}

float BrRAGWeapon::GetWeaponStrength() {
  float strength = float(m_iBonus) + m_fWeaponStrength;
  if (BrRAGActor* wielder = Wielder()) strength += wielder->GetStrength();
  return strength;
}

void BrRAGWeapon::GetWeaponDamage(BrRAGDamage& damage) {
  damage.SetPoints(GetWeaponStrength());
  const int edges = GetNumEdges();
  for (int i = 0; i < edges; ++i) {
    BrStringT<char> edge = GetEdge(i);
    damage.AddEdge(edge);
  }
  for (int i = 0; i < m_HitEffects.GetCount(); ++i) damage.AddHitEffect(m_HitEffects[i]);
  damage.SetRanged(false);
  if (BrRAGActor* wielder = Wielder()) damage.SetKillerText(wielder->GetText());
}

BrRAGActor* BrRAGWeapon::GetFireTarget() { return brRAGResolve<BrRAGActor>(m_iFireTarget); }

void BrRAGWeapon::ReplaceUsedUp(BrRAGActor* wielder) {
  if (!wielder) return;
  if (m_bEquipped) Unequip(wielder);
  wielder->EquipBestWeapon();
}

void BrRAGWeapon::Fire(BrRAGActor* target) {
  m_bFiring = true;
  m_fFireTimer = 0.0f;
  m_iFireTarget = target ? target->GetID() : -1;
  BrRAGActor* wielder = Wielder();
  BrAudioMgrBase* audio = Engine().Audio();
  if (audio && m_UseSound.Ready() && wielder) audio->PlayAudio3D(m_UseSound, wielder->Location());
  if (m_iCharges < 0) return;
  if (audio && wielder) audio->PlayAudio3D(m_UseSound, wielder->Location());
  if (!wielder) return;
  // A last charge destroys the weapon, and a destroyed weapon no longer knows its limbs or equip effects: it
  // leaves the wielder while it still can.
  if (m_iCharges == 0 && m_bEquipped) Unequip(wielder);
  if (!ConsumeCharge(wielder)) return;
  ReplaceUsedUp(wielder);
  BrRAGWeapon* next = wielder->GetWeapon(0);
  if (next && next != this && next->IsValid()) next->Fire(target);
}

void BrRAGWeapon::Step(float dt) {
  if (!m_bFiring) return;
  m_fFireTimer += dt;
  if (m_fFireTimer <= m_fFireDuration) return;
  m_bFiring = false;
  m_iFireTarget = -1;
  m_fFireTimer = 0.0f;
  BrRAGActor* wielder = Wielder();
  if (m_iCharges != 0 || !wielder) return;
  if (m_bEquipped) Unequip(wielder);
  if (ConsumeCharge(wielder)) ReplaceUsedUp(wielder);
}
