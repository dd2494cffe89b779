// BrRAGItem: charges, use effects and the use sound of carried items, and their configuration and stream.
#include "adventure/world/BrRAGItem.h"

#include "adventure/world/BrRAGActor.h"
#include "core/BrBin.h"
#include "engine/kernel/BrEngine.h"
#include "engine/kernel/BrScriptDaemon.h"
#include "engine/presentation/BrAudioMgrBase.h"
#include "templates/BrArchiveOps.h"

BR_IMPLEMENT_CLASS(BrRAGItem, BrDemoEntity)

BrRAGItem::BrRAGItem() : m_iCharges(-1), m_iStackSize(-1), m_iCompoundSize(0) {}

BrRAGItem::BrRAGItem(const BrRAGItem& other)
    : BrDemoEntity(other),
      m_UseEffects(other.m_UseEffects),
      m_iCharges(other.m_iCharges),
      m_UseSound(other.m_UseSound),
      m_iStackSize(other.m_iStackSize),
      m_CompoundOf(other.m_CompoundOf),
      m_iCompoundSize(other.m_iCompoundSize) {}

BrRAGItem& BrRAGItem::operator=(const BrRAGItem& other) {
  if (this == &other) return *this;
  BrDemoEntity::operator=(other);
  m_UseEffects = other.m_UseEffects;
  m_iCharges = other.m_iCharges;
  m_UseSound = other.m_UseSound;
  m_iStackSize = other.m_iStackSize;
  m_CompoundOf = other.m_CompoundOf;
  m_iCompoundSize = other.m_iCompoundSize;
  return *this;
}

BrRAGItem::~BrRAGItem() { EmptyUseEffectsList(); }

void BrRAGItem::Serialize(BrBin& bin) {
  BrDemoEntity::Serialize(bin);
  m_UseEffects.Serialize(bin);
  bin << m_iCharges;
  bin << m_iStackSize;
  bin << m_CompoundOf;
  bin << m_iCompoundSize;
}

void BrRAGItem::Destroy() {
  EmptyUseEffectsList();
  BrDemoEntity::Destroy();
}

bool BrRAGItem::LoadStringList(TDArray<BrStringT<char>>& list, const char* section, BrCfgFile* cfg, const char* key) {
  BrScriptDaemon* script = Engine().Script();
  int n = 0;
  if (!script || !script->LoadPropertyListSize(section, cfg, key, n) || n < 0) return false;
  for (int i = 0; i < list.GetCount(); ++i) list[i] = BrStringT<char>();
  list.Clear();
  for (int i = 0; i < n; ++i) list.Add(BrStringT<char>());
  if (n > 0) script->LoadPropertyList(&list[0], n, section, cfg, key);
  return true;
}

void BrRAGItem::LoadScript(const char* section, BrCfgFile* cfg) {
  BrDemoEntity::LoadScript(section, cfg);
  BrScriptDaemon* script = Engine().Script();
  if (!cfg || !script || !section) return;

  LoadStringList(m_UseEffects, section, cfg, "UseEffects");

  float f = 0.0f;
  if (script->LoadProperty(f, section, cfg, "Charges")) m_iCharges = brTruncate(f);

  // Every item gets a use sound, so using one is never silent.
  BrStringT<char> sound;
  if (!script->LoadProperty(sound, section, cfg, "UseSound")) sound = "Sounds\\pickup.wav";
  if (BrAudioMgrBase* audio = Engine().Audio()) audio->CreateAudio(sound, m_UseSound);

  int i = 0;
  if (script->LoadProperty(i, section, cfg, "StackSize")) m_iStackSize = i;
  BrStringT<char> text;
  if (script->LoadProperty(text, section, cfg, "CompoundOf")) m_CompoundOf = text;
  if (script->LoadProperty(i, section, cfg, "CompoundSize")) m_iCompoundSize = i;
}

void BrRAGItem::AddUseEffect(const BrStringT<char>& effect) { m_UseEffects.Add(effect); }

void BrRAGItem::EmptyUseEffectsList() {
  for (int i = 0; i < m_UseEffects.GetCount(); ++i) m_UseEffects[i] = BrStringT<char>();
  m_UseEffects.Clear();
}

bool BrRAGItem::Use(BrRAGActor* user) {
  // Every caller passes its user; without one there is no place to play at and no inventory to leave.
  if (!user) return false;
  if (BrAudioMgrBase* audio = Engine().Audio()) audio->PlayAudio3D(m_UseSound, user->Location());
  // ConsumeCharge destroys an item that had no charge left; one whose last charge was spent goes here.
  if (ConsumeCharge(user)) return true;
  if (m_iCharges > 0) return false;
  // The last charge is spent: the item leaves the user's pack here, as one without charges does, so whoever
  // called Use finds no stale id of it in the pack.
  user->Inventory().RemoveItemByID(GetID());
  Destroy();
  return true;
}

void BrRAGItem::ApplyUseEffects(BrRAGActor* user) {
  if (!user) return;
  // A copy: a mutator applied here may reach back into this item.
  TDArray<BrStringT<char>> effects(m_UseEffects);
  for (int i = 0; i < effects.GetCount(); ++i) user->ApplyMutator(effects[i], false);
}

bool BrRAGItem::ConsumeCharge(BrRAGActor* user) {
  if (m_iCharges > 0) {
    if (user) ApplyUseEffects(user);
    m_iCharges -= 1;
    return false;
  }
  if (user) user->Inventory().RemoveItemByID(GetID());
  Destroy();
  return true;
}
