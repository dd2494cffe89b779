// BrRAGDamage: the damage record's fields, armour, text and archive form.
#include "adventure/world/BrRAGDamage.h"

#include <cmath>
#include <cstdio>

#include "core/BrBin.h"
#include "templates/BrArchiveOps.h"

BR_IMPLEMENT_CLASS(BrRAGDamage, BrObject)

namespace {
const char* const kszKillerText = "suspicious circumstances";
const char* const kszNone = "None";

BrStringT<char> IntText(int value) {
  char text[16];
  std::snprintf(text, sizeof(text), "%i", value);
  return BrStringT<char>(text);
}

}  // namespace

BrRAGDamage::BrRAGDamage() { Init(); }

BrRAGDamage::BrRAGDamage(const BrRAGDamage& other)
    : BrObject(other),
      m_fPoints(other.m_fPoints),
      m_Edges(other.m_Edges),
      m_HitEffects(other.m_HitEffects),
      m_bRanged(other.m_bRanged),
      m_Colour(other.m_Colour),
      m_fMultiplier(other.m_fMultiplier),
      m_iOwnerID(other.m_iOwnerID),
      m_KillerText(other.m_KillerText) {}

BrRAGDamage& BrRAGDamage::operator=(const BrRAGDamage& other) {
  if (this == &other) return *this;
  BrObject::operator=(other);
  m_fPoints = other.m_fPoints;
  m_Edges = other.m_Edges;
  m_HitEffects = other.m_HitEffects;
  m_bRanged = other.m_bRanged;
  m_Colour = other.m_Colour;
  m_fMultiplier = other.m_fMultiplier;
  m_iOwnerID = other.m_iOwnerID;
  m_KillerText = other.m_KillerText;
  return *this;
}

BrRAGDamage::~BrRAGDamage() { ClearLists(); }

void BrRAGDamage::Serialize(BrBin& bin) {
  BrObject::Serialize(bin);
  bin << m_fPoints;
  m_Edges.Serialize(bin);
  m_HitEffects.Serialize(bin);
  bin << m_bRanged;
  bin << m_Colour;
  bin << m_fMultiplier;
}

bool BrRAGDamage::Init() {
  m_fPoints = 0.0f;
  ClearLists();
  m_bRanged = false;
  m_Colour = BrARGB(128, 255, 255, 255);
  m_fMultiplier = 1.0f;
  m_iOwnerID = -1;
  m_KillerText = BrStringT<char>(kszKillerText);
  return true;
}

void BrRAGDamage::Destroy() {
  ClearLists();
  BrObject::Destroy();
}

void BrRAGDamage::ClearLists() {
  m_Edges.Clear();
  m_HitEffects.Clear();
}

void BrRAGDamage::AddEdge(BrStringT<char>& edge) { m_Edges.Add(edge); }

void BrRAGDamage::AddHitEffect(BrStringT<char> effect) { m_HitEffects.Add(effect); }

int BrRAGDamage::GetNumEdges() const { return m_Edges.GetCount(); }

int BrRAGDamage::GetNumHitEffects() const { return m_HitEffects.GetCount(); }

BrStringT<char> BrRAGDamage::GetEdge(int i) {
  if (i < 0 || i >= m_Edges.GetCount()) return BrStringT<char>(kszNone);
  return m_Edges[i];
}

BrStringT<char> BrRAGDamage::GetHitEffect(int i) {
  if (i < 0 || i >= m_HitEffects.GetCount()) return BrStringT<char>(kszNone);
  return m_HitEffects[i];
}

bool BrRAGDamage::HasEdge(const BrStringT<char>& edge) {
  for (int i = 0; i < m_Edges.GetCount(); ++i)
    if (m_Edges[i] == edge) return true;
  return false;
}

void BrRAGDamage::ApplyArmour(float armour) {
  // Poison and internal wounds go past armour; for anything else armour only ever reduces, down to nothing.
  if (HasEdge(BrStringT<char>("Internal")) || HasEdge(BrStringT<char>("Poison"))) return;
  const float left = m_fPoints - armour;
  m_fPoints = left > 0.0f ? left : 0.0f;
}

BrStringT<char> BrRAGDamage::GetDamageText() const {
  const int points = brTruncate(m_fPoints);
  BrStringT<char> text = IntText(points < 0 ? -points : points);
  if (m_fMultiplier > 1.001f) {
    text += BrStringT<char>("x") + IntText(brTruncate(m_fMultiplier));
  } else if (m_fMultiplier < 0.999f && m_fMultiplier > 0.0f) {
    // A multiplier of 0 or less names no divisor: 1/0 has no text and a negative one means nothing here.
    text += BrStringT<char>("/") + IntText(brTruncate(1.0f / m_fMultiplier));
  }
  if (m_fPoints < 0.0f) text = BrStringT<char>("+") + text;
  return text;
}
