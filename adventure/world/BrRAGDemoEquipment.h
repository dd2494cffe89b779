// BrRAGDemoEquipment: an item worn or wielded on limbs, with equip effects, edges, an equip sound and a bonus.
#pragma once

#include <cstdint>

#include "adventure/world/BrRAGItem.h"

// Equipment names the limbs it goes on; while worn its equip effects hold as permanent mutators on the wearer.
// The actor keeps which limb holds what; this class keeps its wielder by id.
class BrRAGDemoEquipment : public BrRAGItem {
  BR_DECLARE_CLASS(BrRAGDemoEquipment)
public:
  // Not equipped, no wielder (-1), bonus 0.
  BrRAGDemoEquipment();
  BrRAGDemoEquipment(const BrRAGDemoEquipment& other);
  BrRAGDemoEquipment& operator=(const BrRAGDemoEquipment& other);
  ~BrRAGDemoEquipment() override;

  // The item part, equipped (1 byte), wielder id; the bonus from archive version 263.
  void Serialize(BrBin& bin) override;
  // Empties its lists, not equipped, no wielder, then the item's Destroy.
  void Destroy() override;
  // The item's keys, then EquipEffects, EquipsOn, Edge and EquipSound (default "Sounds\\pickup.wav").
  void LoadScript(const char* section, BrCfgFile* cfg) override;

  // Stackable items (stack size 1 or more) refuse. Unless silent the equip sound plays; the actor's
  // ApplyEquipment decides. True when worn.
  virtual bool Equip(BrRAGActor* actor, bool silent = false);
  // Applies every equip effect to the actor as a permanent mutator.
  virtual void ApplyEquipEffects(BrRAGActor* actor);
  // The actor's RemoveEquipment; when it succeeds, no wielder and not equipped.
  virtual void Unequip(BrRAGActor* actor);
  // Removes the permanent mutators of the equip effects from the actor.
  virtual void UnapplyEquipEffects(BrRAGActor* actor);
  // "+bonus text" with a bonus of 1 or more, else the text.
  virtual BrStringT<char> GetDisplayText();
  virtual int GetNumEdges();
  // Edge i, or "None" outside the list.
  virtual BrStringT<char> GetEdge(int i);

  int GetWielderID() const { return m_iWielderID; }
  void SetWielderID(int id) { m_iWielderID = id; }
  bool IsEquipped() const { return m_bEquipped; }
  int GetBonus() const { return m_iBonus; }
  // Stores b only when it is above 0.
  void SetBonus(int b) {
    if (b > 0) m_iBonus = b;
  }
  void AddEquipEffect(const BrStringT<char>& effect);
  int GetNumEquipEffects() const { return m_EquipEffects.GetCount(); }
  int GetNumLimbSlots() const { return m_EquipsOn.GetCount(); }
  // False for i outside the list; else copies limb name i into out.
  bool GetLimbName(int i, BrStringT<char>& out) const;
  // True when an equal edge is listed.
  bool HasEdge(const BrStringT<char>& edge) const;
  BrAudioID& EquipSound() { return m_EquipSound; }

protected:
  void EmptyEquipEffectsList();
  void EmptyEquipsOnList();
  // The wielder as a valid framework actor, or null.
  BrRAGActor* Wielder();

  TDArray<BrStringT<char>> m_EquipEffects;
  TDArray<BrStringT<char>> m_EquipsOn;
  TDArray<BrStringT<char>> m_Edges;
  bool m_bEquipped;
  int32_t m_iWielderID;
  BrAudioID m_EquipSound;
  int32_t m_iBonus;
};
