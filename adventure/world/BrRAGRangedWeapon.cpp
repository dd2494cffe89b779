// BrRAGRangedWeapon and BrRAGWeaponWand: ammunition, range, ranged damage, and the missile and beam in flight.
#include "adventure/world/BrRAGRangedWeapon.h"

#include <cstdio>

#include "adventure/flow/BrRAGPlayerHUD.h"
#include "adventure/world/BrRAGActor.h"
#include "adventure/world/BrRAGBaseState.h"
#include "adventure/world/BrRAGDamage.h"
#include "adventure/world/BrRAGPlayer.h"
#include "adventure/world/BrRAGResolve.h"
#include "engine/kernel/BrEngine.h"
#include "engine/kernel/BrScriptDaemon.h"
#include "engine/presentation/BrAudioMgrBase.h"
#include "engine/presentation/BrEffectorMgr.h"
#include "engine/presentation/BrRenderBase.h"

BR_IMPLEMENT_CLASS(BrRAGRangedWeapon, BrRAGWeapon)
BR_IMPLEMENT_CLASS(BrRAGWeaponWand, BrRAGRangedWeapon)

float BrRAGRangedWeapon::mfMissileSpeed = 600.0f;

BrRAGRangedWeapon::BrRAGRangedWeapon() : m_fRange(0.0f), m_iMissileEffector(-1) {}

BrRAGRangedWeapon::BrRAGRangedWeapon(const BrRAGRangedWeapon& other)
    : BrRAGWeapon(other),
      m_fRange(other.m_fRange),
      m_AmmoType(other.m_AmmoType),
      m_Missile(other.m_Missile),
      m_FireIcon(other.m_FireIcon),
      m_iMissileEffector(other.m_iMissileEffector) {}

BrRAGRangedWeapon& BrRAGRangedWeapon::operator=(const BrRAGRangedWeapon& other) {
  if (this == &other) return *this;
  BrRAGWeapon::operator=(other);
  m_fRange = other.m_fRange;
  m_AmmoType = other.m_AmmoType;
  m_Missile = other.m_Missile;
  m_FireIcon = other.m_FireIcon;
  m_iMissileEffector = other.m_iMissileEffector;
  return *this;
}

BrRAGRangedWeapon::~BrRAGRangedWeapon() {}

void BrRAGRangedWeapon::LoadScript(const char* section, BrCfgFile* cfg) {
  BrRAGWeapon::LoadScript(section, cfg);
  BrScriptDaemon* script = Engine().Script();
  if (!cfg || !script || !section) return;
  float f = 0.0f;
  if (script->LoadProperty(f, section, cfg, "Range")) SetWeaponRange(f);
  BrStringT<char> text;
  if (script->LoadProperty(text, section, cfg, "AmmoType")) SetAmmoType(text);
  if (script->LoadProperty(text, section, cfg, "FireIcon")) m_FireIcon = text;
}

BrRAGWeapon* BrRAGRangedWeapon::GetLoadedAmmo() {
  BrRAGActor* wielder = Wielder();
  if (!wielder || m_AmmoType.Length() == 0) return nullptr;
  const int slot = wielder->Inventory().ContainsItemOfType(m_AmmoType);
  if (slot == -1) return nullptr;
  return brRAGResolve<BrRAGWeapon>(wielder->Inventory().GetItem(slot));
}

void BrRAGRangedWeapon::ReportOutOfAmmo(BrRAGActor* actor) {
  // Enemies run out silently: the alert is the player's.
  BrRAGPlayer* player = brRAGCast<BrRAGPlayer>(actor);
  if (!player) return;
  BrRAGPlayer::SendMessageTo(player, "!!! OUT OF AMMO !!!", BrARGB(200, 255, 0, 0),
                             BrRAGPlayerHUD::cfLevelUpEffectDurationSECs);
  if (BrAudioMgrBase* audio = Engine().Audio()) {
    if (!BrRAGStateAttack::miOutOfAmmoSFX.Ready())
      audio->CreateAudio(BrStringT<char>("Sounds\\ooammo.wav"), BrRAGStateAttack::miOutOfAmmoSFX);
    audio->PlayAudio2D(BrRAGStateAttack::miOutOfAmmoSFX);
  }
}

bool BrRAGRangedWeapon::Equip(BrRAGActor* actor, bool silent) {
  if (!actor) return false;
  const bool needsAmmo = m_AmmoType.Length() > 0;
  if (needsAmmo && actor->Inventory().ContainsItemOfType(m_AmmoType) == -1) {
    ReportOutOfAmmo(actor);
    return false;
  }
  if (!BrRAGWeapon::Equip(actor, silent)) return false;
  actor->SetAttackRange(m_fRange);
  return true;
}

void BrRAGRangedWeapon::Unequip(BrRAGActor* actor) {
  if (!actor) return;
  BrRAGDemoEquipment::Unequip(actor);
  actor->SetAttackRange(0.0f);
}

float BrRAGRangedWeapon::GetWeaponStrength() {
  if (BrRAGWeapon* ammo = GetLoadedAmmo()) return float(m_iBonus) + ammo->GetWeaponStrength();
  return float(m_iBonus) + m_fWeaponStrength;
}

void BrRAGRangedWeapon::GetWeaponDamage(BrRAGDamage& damage) {
  BrRAGWeapon::GetWeaponDamage(damage);
  damage.SetRanged(true);
}

int BrRAGRangedWeapon::GetNumEdges() {
  if (BrRAGWeapon* ammo = GetLoadedAmmo()) return ammo->GetNumEdges();
  return BrRAGWeapon::GetNumEdges();
}

BrStringT<char> BrRAGRangedWeapon::GetEdge(int i) {
  if (BrRAGWeapon* ammo = GetLoadedAmmo()) return ammo->GetEdge(i);
  return BrRAGWeapon::GetEdge(i);
}

BrStringT<char> BrRAGRangedWeapon::GetDisplayText() {
  if (m_iBonus < 1) return GetText();
  char prefix[32];
  snprintf(prefix, sizeof(prefix), "+%i ", int(m_iBonus));
  BrStringT<char> s = BrStringT<char>(prefix) + GetText();
  const int cut = s.Find(BrStringT<char>("("), 3);
  if (cut > 0) s = s(0, cut);
  char stats[96];
  snprintf(stats, sizeof(stats), " (damage %i, speed %i)", int(GetWeaponStrength()), int(GetWeaponSpeed() * 10.0f));
  return s + stats;
}

void BrRAGRangedWeapon::Fire(BrRAGActor* target) {
  BrRAGWeapon::Fire(target);
  BrRAGActor* wielder = Wielder();
  if (!wielder || m_AmmoType.Length() == 0) return;
  const int slot = wielder->Inventory().ContainsItemOfType(m_AmmoType);
  if (slot != -1) wielder->Inventory().DropItem(slot, wielder->Location(), false);
}

bool BrRAGRangedWeapon::PrepareMissile(const char* effectorPrefix, BrVector& from, BrVector& direction,
                                       float& distance) {
  BrRAGActor* wielder = Wielder();
  BrRAGActor* target = GetFireTarget();
  if (!wielder || !target) return false;
  if (m_iMissileEffector == -1) {
    const BrStringT<char> name = BrStringT<char>(effectorPrefix) + m_FireIcon;
    m_Missile.SetEffector(name, m_FireIcon);
    BrRenderBase* render = Engine().Render();
    if (render && render->FXMgr()) m_iMissileEffector = int32_t(render->FXMgr()->GetEffector(name));
  }
  m_Missile.ScaleX() = 0.25f * wielder->GetDrawScale().x;
  m_Missile.ScaleY() = m_Missile.ScaleX();
  from = wielder->Location();
  const BrVector delta = target->Location() - from;
  distance = delta.Size();
  if (distance <= 0.0f) return false;
  direction = delta * (1.0f / distance);
  return true;
}

void BrRAGRangedWeapon::Draw(BrRenderBase* render) {
  if (!m_bFiring || !render) return;
  BrVector from, direction;
  float distance = 0.0f;
  if (!PrepareMissile("ShaderRanged", from, direction, distance)) return;
  const float travelled = mfMissileSpeed * m_fFireTimer;
  if (travelled >= distance) return;
  m_Missile.GetCoords().Position = from + direction * travelled;
  m_Missile.Draw(render);
}

BrRAGWeaponWand::BrRAGWeaponWand() {}
BrRAGWeaponWand::BrRAGWeaponWand(const BrRAGWeaponWand& other) : BrRAGRangedWeapon(other) {}
BrRAGWeaponWand& BrRAGWeaponWand::operator=(const BrRAGWeaponWand& other) {
  BrRAGRangedWeapon::operator=(other);
  return *this;
}
BrRAGWeaponWand::~BrRAGWeaponWand() {}

void BrRAGWeaponWand::Draw(BrRenderBase* render) {
  if (!m_bFiring || !render) return;
  BrVector from, direction;
  float distance = 0.0f;
  if (!PrepareMissile("ShaderWand", from, direction, distance)) return;
  float phase = m_fFireTimer * 10.0f;
  if (m_fFireDuration > 0.0f)
    while (phase > m_fFireDuration) phase -= m_fFireDuration;
  float s = m_Missile.ScaleX();
  // A wielder without a width would give sprites of no size and a beam without end.
  if (s <= 0.0f || m_fFireDuration <= 0.0f) return;
  for (int i = 0; distance / s - 1.0f > float(i); ++i) {
    m_Missile.GetCoords().Position = from + direction * (float(i) * s) + direction * (phase / m_fFireDuration * s);
    m_Missile.Draw(render);
    m_Missile.ScaleX() += 4.0f;
    m_Missile.ScaleY() += 4.0f;
    s += 4.0f;
  }
}
