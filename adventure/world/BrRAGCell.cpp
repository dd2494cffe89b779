// BrRAGCell, BrRAGWall and BrRAGVertex: the grid map's cell records.
#include "adventure/world/BrRAGCell.h"

#include "core/BrBin.h"
#include "templates/BrArchiveOps.h"

void BrRAGVertex::Serialize(BrBin& bin) { bin << x << y << z << nx << ny << nz << diffuse; }

BrRAGWall::BrRAGWall() : m_Colour(255, 255, 255, 255) {}

BrRAGWall::BrRAGWall(const BrRAGWall& other)
    : BrObject(other), m_Start(other.m_Start), m_End(other.m_End), m_Plane(other.m_Plane), m_Colour(other.m_Colour) {}

BrRAGWall& BrRAGWall::operator=(const BrRAGWall& other) {
  if (this == &other) return *this;
  BrObject::operator=(other);
  m_Start = other.m_Start;
  m_End = other.m_End;
  m_Plane = other.m_Plane;
  m_Colour = other.m_Colour;
  return *this;
}

BrRAGWall::~BrRAGWall() {}

std::atomic<uint32_t> BrRAGCell::s_uiShapeRevision{0};
std::atomic<uint32_t> BrRAGCell::s_uiLookRevision{0};

BrRAGCell::BrRAGCell() : m_bOccupied(false), m_bVisible(false), m_bExplored(false), m_iFlags(0), m_uiFloorType(0) {}

BrRAGCell::BrRAGCell(const BrRAGCell& other) : BrRAGCell() { *this = other; }

BrRAGCell& BrRAGCell::operator=(const BrRAGCell& other) {
  if (this == &other) return *this;
  Clear();
  Reshaped();
  BrObject::operator=(other);
  m_bOccupied = other.m_bOccupied;
  m_bVisible = other.m_bVisible;
  m_bExplored = other.m_bExplored;
  m_iFlags = other.m_iFlags;
  m_uiFloorType = other.m_uiFloorType;
  for (int i = 0; i < other.m_Tris.GetCount(); ++i) m_Tris.Add(other.m_Tris[i]);
  for (int i = 0; i < other.m_Walls.GetCount(); ++i) m_Walls.Add(other.m_Walls[i]);
  return *this;
}

BrRAGCell::~BrRAGCell() {}

void BrRAGCell::Clear() {
  Reshaped();
  m_bOccupied = false;
  m_bVisible = false;
  m_bExplored = false;
  m_iFlags = 0;
  m_uiFloorType = 0;
  m_Tris.Clear();
  m_Walls.Clear();
}

bool BrRAGCell::Init() {
  Clear();
  return true;
}

// A cleared cell stays usable: the grid reuses its cells from level to level, so the destroyed flag is not set.
void BrRAGCell::Destroy() { Clear(); }

int BrRAGCell::AddTri(_ragtri* tri) {
  if (tri) {
    Reshaped();
    m_Tris.Add(*tri);
  }
  return m_Tris.GetCount();
}

bool BrRAGCell::GetTri(int i, _ragtri* out) const {
  if (!out || i < 0 || i >= m_Tris.GetCount()) return false;
  *out = m_Tris[i];
  return true;
}

void BrRAGCell::AddWall(const BrRAGWall& wall) { m_Walls.Add(wall); }

BrRAGWall* BrRAGCell::GetWall(int i) {
  if (i < 0 || i >= m_Walls.GetCount()) return nullptr;
  return &m_Walls[i];
}
