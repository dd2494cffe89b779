// BrRAGItem: anything an actor carries and uses: charges, use effects, use sound, stacking and compounds.
#pragma once

#include <cstdint>

#include "engine/kernel/BrDemoEntity.h"
#include "templates/TDArray.h"

class BrRAGActor;

// An item configured from its object section. Using it plays its sound, applies its use effects (mutators) and
// spends a charge; an item with no charge left leaves its user's inventory and is destroyed.
class BrRAGItem : public BrDemoEntity {
  BR_DECLARE_CLASS(BrRAGItem)
public:
  // No use effects, charges -1, stack size -1, no compound.
  BrRAGItem();
  // Copies every field, the use sound through its own copy.
  BrRAGItem(const BrRAGItem& other);
  BrRAGItem& operator=(const BrRAGItem& other);
  ~BrRAGItem() override;

  // The entity part, use effects, charges, stack size, compound of, compound size.
  void Serialize(BrBin& bin) override;
  // Empties the use effects, then the entity's Destroy.
  void Destroy() override;
  // The entity's keys, then UseEffects, Charges, UseSound (default "Sounds\\pickup.wav"), StackSize, CompoundOf,
  // CompoundSize.
  void LoadScript(const char* section, BrCfgFile* cfg) override;

  // Plays the use sound and spends a charge; true when the item was used up: it has then left the user's
  // inventory and is destroyed. Without a user nothing happens and the result is false.
  virtual bool Use(BrRAGActor* user);
  // Applies every use effect to the user as a timed mutator.
  virtual void ApplyUseEffects(BrRAGActor* user);

  int GetCharges() const { return m_iCharges; }
  int GetStackSize() const { return m_iStackSize; }
  const BrStringT<char>& GetCompoundOf() const { return m_CompoundOf; }
  int GetCompoundSize() const { return m_iCompoundSize; }
  BrAudioID& UseSound() { return m_UseSound; }
  int GetNumUseEffects() const { return m_UseEffects.GetCount(); }
  // Appends a copy of the effect.
  void AddUseEffect(const BrStringT<char>& effect);

protected:
  // Blanks every use effect and empties the list.
  void EmptyUseEffectsList();
  // With charges left: applies the effects (with a user) and counts one down, false. Without: removes the item
  // from the user's inventory (with a user), destroys it, true.
  bool ConsumeCharge(BrRAGActor* user);
  // Reads a list key into a string array (emptied and sized first); false when the key is missing.
  static bool LoadStringList(TDArray<BrStringT<char>>& list, const char* section, BrCfgFile* cfg, const char* key);

  TDArray<BrStringT<char>> m_UseEffects;
  int32_t m_iCharges;
  BrAudioID m_UseSound;
  int32_t m_iStackSize;
  BrStringT<char> m_CompoundOf;
  int32_t m_iCompoundSize;
};
