// BrRAGDamage: one application of damage or healing, filled by weapons and mutators and applied by an actor.
#pragma once

#include <cstdint>

#include "core/BrARGB.h"
#include "engine/kernel/BrClassFactory.h"
#include "templates/TDArray.h"

// Points (negative points heal), a multiplier, the colour of its floating number, who dealt it, whether it was
// ranged, what killed the victim, its edges (damage kinds) and hit effects (mutator commands for the victim).
// A value: passed by copy and by reference; not a game object.
class BrRAGDamage : public BrObject {
  BR_DECLARE_CLASS(BrRAGDamage)
public:
  // An empty record: the values of Init.
  BrRAGDamage();
  // Copies every field.
  BrRAGDamage(const BrRAGDamage& other);
  BrRAGDamage& operator=(const BrRAGDamage& other);
  // Destroy (empties both lists).
  ~BrRAGDamage() override;

  // After BrObject's form: points, edges, hit effects, ranged (1 byte), colour, multiplier. Owner id and killer
  // text are not stored.
  void Serialize(BrBin& bin) override;
  // 0 points, no edges or hit effects, not ranged, colour (128, 255, 255, 255), multiplier 1, owner -1, killer
  // text "suspicious circumstances"; true.
  bool Init() override;
  // Empties both lists, then BrObject's Destroy.
  void Destroy() override;

  float GetPoints() const { return m_fPoints; }
  void SetPoints(float points) { m_fPoints = points; }
  float GetMultiplier() const { return m_fMultiplier; }
  void SetMultiplier(float multiplier) { m_fMultiplier = multiplier; }
  BrARGB GetColour() const { return m_Colour; }
  void SetColour(BrARGB colour) { m_Colour = colour; }
  bool IsRanged() const { return m_bRanged; }
  void SetRanged(bool ranged) { m_bRanged = ranged; }
  int GetOwnerID() const { return m_iOwnerID; }
  void SetOwnerID(int id) { m_iOwnerID = id; }
  BrStringT<char> GetKillerText() const { return m_KillerText; }
  void SetKillerText(const BrStringT<char>& text) { m_KillerText = text; }

  // Appends an edge.
  void AddEdge(BrStringT<char>& edge);
  // Appends a hit effect (a mutator command).
  void AddHitEffect(BrStringT<char> effect);
  int GetNumEdges() const;
  int GetNumHitEffects() const;
  // A copy of edge i; "None" for an index outside the list.
  BrStringT<char> GetEdge(int i);
  // A copy of hit effect i; "None" for an index outside the list.
  BrStringT<char> GetHitEffect(int i);
  // True when an edge equals edge exactly.
  bool HasEdge(const BrStringT<char>& edge);
  // Unless the damage has the edge "Internal" or "Poison": points := max(0, points - armour), so an armoured
  // hit never heals and healing without those edges becomes 0.
  void ApplyArmour(float armour);
  // |truncated points|, then "x" + truncated multiplier above 1.001 or "/" + truncated 1/multiplier between 0
  // and 0.999 (nothing for a multiplier of 0 or less), "+" in front when healing: "7", "3x2", "4/2", "+5".
  BrStringT<char> GetDamageText() const;

protected:
  // Empties edges and hit effects.
  void ClearLists();

  float m_fPoints;
  TDArray<BrStringT<char>> m_Edges;
  TDArray<BrStringT<char>> m_HitEffects;
  bool m_bRanged;
  BrARGB m_Colour;
  float m_fMultiplier;
  int32_t m_iOwnerID;
  BrStringT<char> m_KillerText;
};
