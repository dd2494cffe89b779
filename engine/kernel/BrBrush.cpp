// BrBrush and BrBrushList: construction, copying and destruction of brush geometry.
#include "engine/kernel/BrBrush.h"

BR_IMPLEMENT_CLASS(BrBrush, BrGameObj)
BR_IMPLEMENT_CLASS(BrBrushList, BrGameObj)

BrBrush::BrBrush() {}

BrBrush::BrBrush(const BrBrush& other)
    : BrGameObj(other),
      m_Bounds(other.m_Bounds),
      m_Orientation(other.m_Orientation),
      m_Tree(other.m_Tree),
      m_Faces(other.m_Faces) {}

BrBrush& BrBrush::operator=(const BrBrush& other) {
  if (this == &other) return *this;
  BrGameObj::operator=(other);
  m_Bounds = other.m_Bounds;
  m_Orientation = other.m_Orientation;
  m_Tree = other.m_Tree;
  m_Faces = other.m_Faces;
  return *this;
}

BrBrush::~BrBrush() { BrBrush::Destroy(); }

void BrBrush::Serialize(BrBin& bin) { BrGameObj::Serialize(bin); }

void BrBrush::Destroy() {
  m_Tree.Destroy();
  for (int i = 0; i < m_Faces.GetCount(); ++i) m_Faces[i].m_Points.Clear();
  m_Faces.Clear();
}

BrBrushList::BrBrushList() {}
// Each list owns its brushes, so a copy gets brushes of its own.
BrBrushList::BrBrushList(const BrBrushList& other) : BrGameObj(other) {
  for (int i = 0; i < other.m_Brushes.GetCount(); ++i)
    if (other.m_Brushes[i]) m_Brushes.Add(new BrBrush(*other.m_Brushes[i]));
}

BrBrushList& BrBrushList::operator=(const BrBrushList& other) {
  if (this == &other) return *this;
  BrGameObj::operator=(other);
  Destroy();
  for (int i = 0; i < other.m_Brushes.GetCount(); ++i)
    if (other.m_Brushes[i]) m_Brushes.Add(new BrBrush(*other.m_Brushes[i]));
  return *this;
}

BrBrushList::~BrBrushList() { BrBrushList::Destroy(); }

// The list is the brushes' only holder, so emptying it without deleting them would lose them.
void BrBrushList::Destroy() {
  for (int i = 0; i < m_Brushes.GetCount(); ++i) {
    BrBrush* brush = m_Brushes[i];
    m_Brushes[i] = nullptr;
    if (!brush) continue;
    brush->Destroy();
    delete brush;
  }
  m_Brushes.Clear();
}

void BrBrushList::AddBrush(BrBrush* brush) {
  if (brush) m_Brushes.Add(brush);
}
