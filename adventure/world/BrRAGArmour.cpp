// BrRAGArmour: defence added to and taken from the wearer's armour class, and its display text.
#include "adventure/world/BrRAGArmour.h"

#include <cstdio>

#include "adventure/world/BrRAGActor.h"
#include "engine/kernel/BrEngine.h"
#include "engine/kernel/BrScriptDaemon.h"

BR_IMPLEMENT_CLASS(BrRAGArmour, BrRAGDemoEquipment)

BrRAGArmour::BrRAGArmour() : m_fDefence(0.0f) {}

BrRAGArmour::BrRAGArmour(const BrRAGArmour& other) : BrRAGDemoEquipment(other), m_fDefence(other.m_fDefence) {}

BrRAGArmour& BrRAGArmour::operator=(const BrRAGArmour& other) {
  if (this == &other) return *this;
  BrRAGDemoEquipment::operator=(other);
  m_fDefence = other.m_fDefence;
  return *this;
}

BrRAGArmour::~BrRAGArmour() {}

void BrRAGArmour::LoadScript(const char* section, BrCfgFile* cfg) {
  BrRAGDemoEquipment::LoadScript(section, cfg);
  BrScriptDaemon* script = Engine().Script();
  if (!cfg || !script || !section) return;
  float f = 0.0f;
  if (script->LoadProperty(f, section, cfg, "Defence")) SetDefence(f);
  char stats[64];
  snprintf(stats, sizeof(stats), " (defence %i)", int(GetDefence()));
  SetText(GetText() + stats);
}

bool BrRAGArmour::Equip(BrRAGActor* actor, bool silent) {
  if (!actor || !BrRAGDemoEquipment::Equip(actor, silent)) return false;
  actor->SetArmourClass(actor->GetArmourClass() + GetDefence());
  return true;
}

void BrRAGArmour::Unequip(BrRAGActor* actor) {
  if (!actor) return;
  // Only armour that is really worn gives its defence back: taking off armour twice (or armour never put on)
  // would otherwise drift the saved armour class.
  const bool wasWorn = m_bEquipped;
  BrRAGDemoEquipment::Unequip(actor);
  if (wasWorn && !m_bEquipped) actor->SetArmourClass(actor->GetArmourClass() - GetDefence());
}

BrStringT<char> BrRAGArmour::GetDisplayText() {
  if (m_iBonus < 1) return GetText();
  char prefix[32];
  snprintf(prefix, sizeof(prefix), "+%i ", int(m_iBonus));
  BrStringT<char> s = BrStringT<char>(prefix) + GetText();
  const int cut = s.Find(BrStringT<char>("("), 3);
  if (cut > 0) s = s(0, cut);
  char stats[64];
  snprintf(stats, sizeof(stats), " (defence %i)", int(GetDefence()));
  return s + stats;
}
