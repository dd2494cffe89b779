// BrRAGCell, BrRAGWall, _ragtri and BrRAGVertex: the grid map's cell records, its collision walls and geometry.
#pragma once

#include <atomic>
#include <cstdint>

#include "core/BrARGB.h"
#include "core/BrObject.h"
#include "core/BrPlane.h"
#include "core/BrVector.h"
#include "templates/TDArray.h"

class BrBin;

// The side of a cell a wall stands on: towards row y + 1, column x + 1, row y - 1, column x - 1.
enum eWallSectionType { eWallSouth = 0, eWallEast = 1, eWallNorth = 2, eWallWest = 3 };

// One triangle of the map's geometry: three indices into the map's vertex list and the material it is drawn with.
struct _ragtri {
  uint16_t idx[3];
  uint32_t floorType;
};

// One vertex of the map's geometry, 36 bytes, drawn with the vertex format 0x152 (position, normal, diffuse,
// one texture coordinate pair). The save game keeps only the first seven fields.
struct BrRAGVertex {
  float x, y, z;
  float nx, ny, nz;
  uint32_t diffuse;
  float u, v;

  // Streams x, y, z, nx, ny, nz and diffuse; u and v are not part of the stream.
  void Serialize(BrBin& bin);
};
static_assert(sizeof(BrRAGVertex) == 36, "the rendering device reads the map's vertices as 36-byte records");

// A collision wall along one side of an occupied cell: a segment, its vertical plane (normal into the walkable
// cell) and the colour the last swept query left on it.
class BrRAGWall : public BrObject {
public:
  // End points at the origin, an empty plane, colour (255, 255, 255, 255).
  BrRAGWall();
  // Copies the end points, the plane and the colour.
  BrRAGWall(const BrRAGWall& other);
  BrRAGWall& operator=(const BrRAGWall& other);
  ~BrRAGWall() override;

  // The arrays construct their elements in place; BrObject's own operator new would hide this form.
  using BrObject::operator new;
  static void* operator new(size_t, void* place) noexcept { return place; }
  static void operator delete(void*, void*) noexcept {}
  using BrObject::operator delete;

  BrVector m_Start;
  BrVector m_End;
  BrPlane m_Plane;
  BrARGB m_Colour;
};

// One square of the grid map: whether it is floor, whether it is seen this frame and was ever seen, a working
// flags value for generators, its floor material and its share of the map's triangles and collision walls.
class BrRAGCell : public BrObject {
public:
  // An unoccupied, unseen cell with flags 0, floor type 0, no triangles and no walls.
  BrRAGCell();
  // Clears this cell, then copies every field, the lists element by element.
  BrRAGCell(const BrRAGCell& other);
  BrRAGCell& operator=(const BrRAGCell& other);
  ~BrRAGCell() override;

  // The arrays construct their elements in place; BrObject's own operator new would hide this form.
  using BrObject::operator new;
  static void* operator new(size_t, void* place) noexcept { return place; }
  static void operator delete(void*, void*) noexcept {}
  using BrObject::operator delete;

  // Clears the three flags, the flags value and the floor type, and empties the triangles and walls; true.
  bool Init() override;
  // The same clearing as Init.
  void Destroy() override;

  // The cell is part of the walkable world.
  bool IsOccupied() const { return m_bOccupied; }
  // Marks the cell walkable (floor) or solid.
  void SetValid(bool valid) {
    if (m_bOccupied != valid) Reshaped();
    m_bOccupied = valid;
  }
  // Seen from the player's cell this frame.
  bool IsVisible() const { return m_bVisible; }
  void SetVisible(bool visible) {
    if (m_bVisible != visible) Looked();
    m_bVisible = visible;
  }
  // Seen at least once (shown on the minimap).
  bool IsExplored() const { return m_bExplored; }
  void SetExplored(bool explored) {
    if (m_bExplored != explored) Looked();
    m_bExplored = explored;
  }
  // The generators' working value (0x10000 marks dug cells before RemoveIsolatedAreas).
  int GetFlags() const { return m_iFlags; }
  void SetFlags(int flags) { m_iFlags = flags; }
  // The floor material index the cell is drawn with.
  unsigned int GetFloorType() const { return m_uiFloorType; }
  void SetFloorType(unsigned int type) { m_uiFloorType = type; }

  // Appends a copy of *tri (nothing for null); the number of triangles afterwards.
  int AddTri(_ragtri* tri);
  // Copies triangle i into *out; false for a null out or an index outside the list.
  bool GetTri(int i, _ragtri* out) const;
  int GetTriCount() const { return m_Tris.GetCount(); }
  // Appends a copy of the wall.
  void AddWall(const BrRAGWall& wall);
  // Wall i, or null outside the list.
  BrRAGWall* GetWall(int i);
  int GetNumWalls() const { return m_Walls.GetCount(); }
  // Drops the triangles (the map's geometry is being rebuilt) or the walls (the collision set is).
  void ClearTris() {
    Reshaped();
    m_Tris.Clear();
  }
  void ClearWalls() { m_Walls.Clear(); }

  // Moves on whenever any cell anywhere changes what can be seen or drawn (walkable or not, triangles): whoever
  // caches what a grid shows compares it with the value the cache was built at.
  static uint32_t ShapeRevision() { return s_uiShapeRevision.load(std::memory_order_relaxed); }
  // Moves on with the shape and whenever a cell is seen or explored, or stops being: what a map of the cells
  // shows can only have changed when this has.
  static uint32_t LookRevision() { return s_uiLookRevision.load(std::memory_order_relaxed); }

private:
  void Clear();
  static void Reshaped() {
    s_uiShapeRevision.fetch_add(1u, std::memory_order_relaxed);
    Looked();
  }
  static void Looked() { s_uiLookRevision.fetch_add(1u, std::memory_order_relaxed); }
  static std::atomic<uint32_t> s_uiShapeRevision;
  static std::atomic<uint32_t> s_uiLookRevision;

  bool m_bOccupied;
  bool m_bVisible;
  bool m_bExplored;
  int32_t m_iFlags;
  uint32_t m_uiFloorType;
  TDArray<_ragtri> m_Tris;
  TDArray<BrRAGWall> m_Walls;
};
