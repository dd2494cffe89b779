// BrRAGDemoEquipment: equipping and unequipping, equip effects, edges and the bonus of worn items.
#include "adventure/world/BrRAGDemoEquipment.h"

#include <cstdio>

#include "adventure/world/BrRAGActor.h"
#include "adventure/world/BrRAGResolve.h"
#include "core/BrBin.h"
#include "engine/kernel/BrEngine.h"
#include "engine/kernel/BrScriptDaemon.h"
#include "engine/presentation/BrAudioMgrBase.h"

BR_IMPLEMENT_CLASS(BrRAGDemoEquipment, BrRAGItem)

BrRAGDemoEquipment::BrRAGDemoEquipment() : m_bEquipped(false), m_iWielderID(-1), m_iBonus(0) {}

BrRAGDemoEquipment::BrRAGDemoEquipment(const BrRAGDemoEquipment& other)
    : BrRAGItem(other),
      m_EquipEffects(other.m_EquipEffects),
      m_EquipsOn(other.m_EquipsOn),
      m_Edges(other.m_Edges),
      m_bEquipped(other.m_bEquipped),
      m_iWielderID(other.m_iWielderID),
      m_EquipSound(other.m_EquipSound),
      m_iBonus(other.m_iBonus) {}

BrRAGDemoEquipment& BrRAGDemoEquipment::operator=(const BrRAGDemoEquipment& other) {
  if (this == &other) return *this;
  BrRAGItem::operator=(other);
  m_EquipEffects = other.m_EquipEffects;
  m_EquipsOn = other.m_EquipsOn;
  m_Edges = other.m_Edges;
  m_bEquipped = other.m_bEquipped;
  m_iWielderID = other.m_iWielderID;
  m_EquipSound = other.m_EquipSound;
  m_iBonus = other.m_iBonus;
  return *this;
}

BrRAGDemoEquipment::~BrRAGDemoEquipment() {
  EmptyEquipEffectsList();
  EmptyEquipsOnList();
}

void BrRAGDemoEquipment::Serialize(BrBin& bin) {
  BrRAGItem::Serialize(bin);
  bin << m_bEquipped;
  bin << m_iWielderID;
  if (bin.GetVersion() >= 263) bin << m_iBonus;
}

void BrRAGDemoEquipment::Destroy() {
  EmptyEquipEffectsList();
  EmptyEquipsOnList();
  m_bEquipped = false;
  m_iWielderID = -1;
  BrRAGItem::Destroy();
}

void BrRAGDemoEquipment::LoadScript(const char* section, BrCfgFile* cfg) {
  BrRAGItem::LoadScript(section, cfg);
  BrScriptDaemon* script = Engine().Script();
  if (!cfg || !script || !section) return;
  LoadStringList(m_EquipEffects, section, cfg, "EquipEffects");
  LoadStringList(m_EquipsOn, section, cfg, "EquipsOn");
  LoadStringList(m_Edges, section, cfg, "Edge");
  BrStringT<char> sound;
  if (!script->LoadProperty(sound, section, cfg, "EquipSound")) sound = "Sounds\\pickup.wav";
  if (BrAudioMgrBase* audio = Engine().Audio()) audio->CreateAudio(sound, m_EquipSound);
}

bool BrRAGDemoEquipment::Equip(BrRAGActor* actor, bool silent) {
  if (!actor || m_iStackSize >= 1) return false;
  if (!silent) {
    if (BrAudioMgrBase* audio = Engine().Audio()) audio->PlayAudio3D(m_EquipSound, actor->Location());
  }
  if (!actor->ApplyEquipment(this)) return false;
  m_iWielderID = actor->GetID();
  m_bEquipped = true;
  return true;
}

void BrRAGDemoEquipment::ApplyEquipEffects(BrRAGActor* actor) {
  if (!actor) return;
  TDArray<BrStringT<char>> effects(m_EquipEffects);
  for (int i = 0; i < effects.GetCount(); ++i) actor->ApplyMutator(effects[i], true);
}

void BrRAGDemoEquipment::Unequip(BrRAGActor* actor) {
  if (!actor) return;
  if (actor->RemoveEquipment(this)) {
    m_iWielderID = -1;
    m_bEquipped = false;
  }
}

void BrRAGDemoEquipment::UnapplyEquipEffects(BrRAGActor* actor) {
  if (!actor) return;
  TDArray<BrStringT<char>> effects(m_EquipEffects);
  for (int i = 0; i < effects.GetCount(); ++i) actor->RemoveMutator(effects[i], true);
}

BrStringT<char> BrRAGDemoEquipment::GetDisplayText() {
  if (m_iBonus < 1) return GetText();
  char prefix[32];
  snprintf(prefix, sizeof(prefix), "+%i ", int(m_iBonus));
  return BrStringT<char>(prefix) + GetText();
}

int BrRAGDemoEquipment::GetNumEdges() { return m_Edges.GetCount(); }

BrStringT<char> BrRAGDemoEquipment::GetEdge(int i) {
  if (i < 0 || i >= m_Edges.GetCount()) return BrStringT<char>("None");
  return m_Edges[i];
}

void BrRAGDemoEquipment::AddEquipEffect(const BrStringT<char>& effect) { m_EquipEffects.Add(effect); }

bool BrRAGDemoEquipment::GetLimbName(int i, BrStringT<char>& out) const {
  if (i < 0 || i >= m_EquipsOn.GetCount()) return false;
  out = m_EquipsOn[i];
  return true;
}

bool BrRAGDemoEquipment::HasEdge(const BrStringT<char>& edge) const {
  for (int i = 0; i < m_Edges.GetCount(); ++i)
    if (m_Edges[i] == edge) return true;
  return false;
}

void BrRAGDemoEquipment::EmptyEquipEffectsList() {
  for (int i = 0; i < m_EquipEffects.GetCount(); ++i) m_EquipEffects[i] = BrStringT<char>();
  m_EquipEffects.Clear();
}

void BrRAGDemoEquipment::EmptyEquipsOnList() {
  for (int i = 0; i < m_EquipsOn.GetCount(); ++i) m_EquipsOn[i] = BrStringT<char>();
  m_EquipsOn.Clear();
}

BrRAGActor* BrRAGDemoEquipment::Wielder() { return brRAGResolve<BrRAGActor>(m_iWielderID); }
