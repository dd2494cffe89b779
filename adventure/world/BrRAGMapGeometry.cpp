// BrRAGMap: floor and wall geometry, collision walls and the swept trace, point tests, line of sight,
// visibility and exploration, paths, drawing and the grid's TGA dump.
#include <cmath>

#include "adventure/world/BrRAGActor.h"
#include "adventure/world/BrRAGMap.h"
#include "adventure/world/BrRAGPlayer.h"
#include "core/BrARGB.h"
#include "core/BrCylinder.h"
#include "core/BrLogFile.h"
#include "core/BrTGAFile.h"
#include "engine/kernel/BrApplication.h"
#include "engine/kernel/BrDemoEntity.h"
#include "engine/kernel/BrEngine.h"
#include "engine/kernel/BrGame.h"
#include "engine/kernel/BrSphere.h"
#include "engine/presentation/BrIndexBufferBase.h"
#include "engine/presentation/BrMiniMap.h"
#include "engine/presentation/BrRenderBase.h"
#include "engine/presentation/BrVertexBufferBase.h"

namespace {
const unsigned long kVertexFormat = 0x152;
const unsigned int kVertexSize = 36;
const DWORD kTriangleList = 4;
// Below this distance a pushed end point has no direction left to stretch along.
const float kMinStretch = 1.0e-4f;
// Height of the path network above the floor.
const float kPathHeight = 32.0f;
// Radius of the cylinder swept against the walls, at most.
const float kMaxTraceRadius = 32.0f;
// A view distance for a player that is no framework player, in cells.
const float kDefaultViewCells = 6.0f;

// The material of a wall: floor types 1, 2 and 3 have their own wall materials 4, 5 and 6.
uint32_t WallMaterial(uint32_t floorType) { return (floorType >= 1 && floorType <= 3) ? floorType + 3 : floorType; }

// The cells of a Bresenham line from (x0, y0) to (x1, y1), start excluded; visit(prevX, prevY, x, y) returns
// false to stop the walk. The error term starts at 2 * minor - major.
template <class Visit>
bool WalkLine(int x0, int y0, int x1, int y1, Visit visit) {
  const int dx = x1 - x0;
  const int dy = y1 - y0;
  const int sx = dx < 0 ? -1 : 1;
  const int sy = dy < 0 ? -1 : 1;
  const int adx = dx < 0 ? -dx : dx;
  const int ady = dy < 0 ? -dy : dy;
  const bool xMajor = adx > ady;
  const int major = xMajor ? adx : ady;
  const int minor = xMajor ? ady : adx;
  int error = 2 * minor - major;
  int x = x0;
  int y = y0;
  for (int step = 0; step < major; ++step) {
    const int px = x;
    const int py = y;
    if (error >= 0) {
      if (xMajor)
        y += sy;
      else
        x += sx;
      error -= 2 * major;
    }
    error += 2 * minor;
    if (xMajor)
      x += sx;
    else
      y += sy;
    if (!visit(px, py, x, y)) return false;
  }
  return true;
}

BrActor* ThePlayer() {
  BrApplication* app = Engine().App();
  return app ? app->GetPlayer() : nullptr;
}

BrGame* TheGame() {
  BrApplication* app = Engine().App();
  return app ? static_cast<BrGame*>(app->SafeCast(&BrGame::Type)) : nullptr;
}
}  // namespace

// ---------------------------------------------------------------------------------------------------------------
// Geometry

// Indices are 16 bits: a vertex past 65,535 could not be drawn.
bool BrRAGMap::VerticesFit(int n) {
  if (m_Vertices.GetCount() + n <= ciMaxVertices) return true;
  m_bVertexLimitMet = true;
  return false;
}

// A level with some floors and walls missing would show holes the player falls through and walls walked through:
// it is drawn whole or not at all.
bool BrRAGMap::BuildCellGeometry() {
  m_bVertexLimitMet = false;
  for (int x = 0; x < m_iWidth; ++x)
    for (int y = 0; y < m_iHeight; ++y) {
      BrRAGCell* cell = GetCell(x, y);
      if (!cell || !cell->IsOccupied()) continue;
      if (!ShouldSkipFloor(x, y)) AddFloorTris(x, y);
      AddWallTris(x, y);
    }
  if (!m_bVertexLimitMet) return true;
  DestroyGeometry();
  GLog.printf("ERROR: Level %u (%i x %i cells) is too large for 16-bit indices (%i vertices at most): it is refused",
              unsigned(m_uiLevel), int(m_iWidth), int(m_iHeight), ciMaxVertices);
  return false;
}

void BrRAGMap::AddVertex(float x, float y, float z, float u, float v) {
  BrRAGVertex vertex;
  vertex.x = x;
  vertex.y = y;
  vertex.z = z;
  vertex.nx = 0.0f;
  vertex.ny = 1.0f;
  vertex.nz = 0.0f;
  vertex.diffuse = BrARGB(255, 255, 255, 255).GetDWORD();
  vertex.u = u;
  vertex.v = v;
  m_Vertices.Add(vertex);
}

unsigned int BrRAGMap::AddFloorTris(int x, int y) {
  BrRAGCell* cell = GetCell(x, y);
  BrVector c;
  if (!cell || !VerticesFit(4)) return 0;
  CellCentre(x, y, &c);
  const float h = m_fGridScale / 2.0f;
  const uint16_t v = uint16_t(m_Vertices.GetCount());
  AddVertex(c.x - h, 0.0f, c.z - h, 0.0f, 1.0f);
  AddVertex(c.x - h, 0.0f, c.z + h, 0.0f, 0.0f);
  AddVertex(c.x + h, 0.0f, c.z + h, 1.0f, 0.0f);
  AddVertex(c.x + h, 0.0f, c.z - h, 1.0f, 1.0f);
  const uint16_t quad[2][3] = {{v, uint16_t(v + 1), uint16_t(v + 2)}, {v, uint16_t(v + 2), uint16_t(v + 3)}};
  for (const auto& t : quad) {
    _ragtri tri = {{t[0], t[1], t[2]}, cell->GetFloorType()};
    cell->AddTri(&tri);
    for (uint16_t index : t) m_Indices.Add(index);
  }
  return 2;
}

void BrRAGMap::AddWallSection(unsigned int x, unsigned int y, eWallSectionType side) {
  if (x >= unsigned(m_iWidth) || y >= unsigned(m_iHeight)) return;
  BrRAGCell* cell = GetCell(int(x), int(y));
  if (!cell || !VerticesFit(4)) return;
  BrVector c;
  CellCentre(int(x), int(y), &c);
  const float h = m_fGridScale / 2.0f;
  float x1 = 0.0f, z1 = 0.0f, x2 = 0.0f, z2 = 0.0f;
  switch (side) {
    case eWallSouth: x1 = c.x - h, z1 = c.z + h, x2 = c.x + h, z2 = c.z + h; break;
    case eWallEast: x1 = c.x + h, z1 = c.z + h, x2 = c.x + h, z2 = c.z - h; break;
    case eWallNorth: x1 = c.x + h, z1 = c.z - h, x2 = c.x - h, z2 = c.z - h; break;
    default: x1 = c.x - h, z1 = c.z - h, x2 = c.x - h, z2 = c.z + h; break;
  }
  const float top = GetWallHeight();
  const float repeat = m_fWallHeight;
  const uint16_t v = uint16_t(m_Vertices.GetCount());
  AddVertex(x1, 0.0f, z1, 0.0f, repeat);
  AddVertex(x1, top, z1, 0.0f, 0.0f);
  AddVertex(x2, top, z2, 1.0f, 0.0f);
  AddVertex(x2, 0.0f, z2, 1.0f, repeat);
  const uint32_t material = WallMaterial(cell->GetFloorType());
  const uint16_t quad[2][3] = {{v, uint16_t(v + 1), uint16_t(v + 2)}, {v, uint16_t(v + 2), uint16_t(v + 3)}};
  for (const auto& t : quad) {
    _ragtri tri = {{t[0], t[1], t[2]}, material};
    cell->AddTri(&tri);
    for (uint16_t index : t) m_Indices.Add(index);
  }
}

unsigned int BrRAGMap::AddWallTris(int x, int y) {
  BrRAGCell* cell = GetCell(x, y);
  if (!cell) return 0;
  const int before = cell->GetTriCount();
  auto open = [this](int cx, int cy) {
    BrRAGCell* next = GetCell(cx, cy);
    return !next || !next->IsOccupied();
  };
  if (y == m_iHeight - 1 || open(x, y + 1)) AddWallSection(unsigned(x), unsigned(y), eWallSouth);
  if (y == 0 || open(x, y - 1)) AddWallSection(unsigned(x), unsigned(y), eWallNorth);
  if (x == m_iWidth - 1 || open(x + 1, y)) AddWallSection(unsigned(x), unsigned(y), eWallEast);
  if (x == 0 || open(x - 1, y)) AddWallSection(unsigned(x), unsigned(y), eWallWest);
  return unsigned(cell->GetTriCount() - before);
}

void BrRAGMap::CalculateMaxFloorType() {
  const int n = m_Cells.GetCount();
  for (int i = 0; i < n; ++i) {
    BrRAGCell& cell = m_Cells[i];
    _ragtri tri;
    for (int t = 0; cell.GetTri(t, &tri); ++t)
      if (int64_t(tri.floorType) > m_iMaxFloorType && tri.floorType <= INT32_MAX)
        m_iMaxFloorType = int32_t(tri.floorType);
  }
}

// The cells' triangles index the vertex list being dropped, so they go with it: geometry built again on the same
// grid then draws each triangle once, with indices of the new list.
void BrRAGMap::DestroyGeometry() {
  if (m_pVB) {
    m_pVB->Release();
    delete m_pVB;
    m_pVB = nullptr;
  }
  if (m_pIB) {
    m_pIB->Release();
    delete m_pIB;
    m_pIB = nullptr;
  }
  m_Vertices.Clear();
  m_Indices.Clear();
  m_iMaxFloorType = 0;
  m_bVertexLimitMet = false;
  const int n = m_Cells.GetCount();
  for (int i = 0; i < n; ++i) m_Cells[i].ClearTris();
}

// ---------------------------------------------------------------------------------------------------------------
// Collision

// Walls are rebuilt from scratch: a second build on the same grid replaces them instead of doubling every push.
void BrRAGMap::BuildCollisionSet() {
  const float s = m_fGridScale;
  const float inset = s / 5.0f;
  const float half = GetWallHeight() / 2.0f;
  struct Side {
    int dx, dy;
    BrVector c1, c2, normal;
  };
  for (int x = 0; x < m_iWidth; ++x)
    for (int y = 0; y < m_iHeight; ++y) {
      BrRAGCell* cell = GetCell(x, y);
      cell->ClearWalls();
      if (!cell->IsOccupied()) continue;
      const BrVector l = GetCellTopLeft(x, y);
      const Side sides[4] = {
          {-1, 0, l, l + BrVector(0, 0, s), BrVector(1, 0, 0)},
          {1, 0, l + BrVector(s, 0, 0), l + BrVector(s, 0, s), BrVector(-1, 0, 0)},
          {0, -1, l, l + BrVector(s, 0, 0), BrVector(0, 0, 1)},
          {0, 1, l + BrVector(0, 0, s), l + BrVector(s, 0, s), BrVector(0, 0, -1)},
      };
      for (const Side& side : sides) {
        BrRAGCell* next = GetCell(x + side.dx, y + side.dy);
        if (next && next->IsOccupied()) continue;
        BrVector c1 = side.c1;
        BrVector c2 = side.c2;
        c1.y = half;
        c2.y = half;
        const BrVector u = (c2 - c1).Unit();
        BrRAGWall wall;
        wall.m_Start = c1 + u * inset;
        wall.m_End = c2 - u * inset;
        wall.m_Plane = BrPlane(side.normal, -(side.normal | c1));
        cell->AddWall(wall);
      }
    }
}

void BrRAGMap::GetTraceBounds(int& x1, int& y1, int& x2, int& y2, float radius, const BrVector& from,
                              const BrVector& to) {
  GetCell(x1, y1, &from);
  GetCell(x2, y2, &to);
  const float widen = radius / m_fGridScale + 0.49999f;
  const int n = (widen > 0.0f && widen < 1.0e6f ? int(widen) : 0) + 1;
  auto spread = [n](int& a, int& b) {
    if (a > b) {
      a += n;
      b -= n;
    } else {
      a -= n;
      b += n;
    }
  };
  spread(x1, x2);
  spread(y1, y2);
}

void BrRAGMap::Trace(const BrVector& from, const BrVector& to, float radius, unsigned int flags, BrVector& hit,
                     int& depth, BrDemoEntity* ignore) {
  // hit may be the same object as to (each pass hands its result on as the next end point): keep copies.
  const BrVector start = from;
  const BrVector end = to;
  hit = end;
  const float len = (end - start).Size();
  if (!(flags & eCollideWorld)) return;

  const BrCylinder cylinder(end, BrVector(0.0f, 1.0f, 0.0f), radius < kMaxTraceRadius ? radius : kMaxTraceRadius);
  int x1 = 0, y1 = 0, x2 = 0, y2 = 0;
  GetTraceBounds(x1, y1, x2, y2, radius, start, end);
  // Only cells of the grid can hold walls: the box is cut to it, so a far jump cannot loop over empty space.
  const int minX = brMax(x1 < x2 ? x1 : x2, 0);
  const int maxX = brMin(x1 < x2 ? x2 : x1, m_iWidth - 1);
  const int minY = brMax(y1 < y2 ? y1 : y2, 0);
  const int maxY = brMin(y1 < y2 ? y2 : y1, m_iHeight - 1);
  bool touched = false;
  for (int x = minX; x <= maxX; ++x)
    for (int y = minY; y <= maxY; ++y) {
      BrRAGCell* cell = GetCell(x, y);
      if (!cell || !cell->IsOccupied()) continue;
      for (int w = 0; w < cell->GetNumWalls(); ++w) {
        BrRAGWall* wall = cell->GetWall(w);
        if (cylinder.IntersectsVector(wall->m_Start, wall->m_End)) {
          wall->m_Colour = BrARGB(255, 255, 0, 0);
          hit = hit + wall->m_Plane.Normal();
          touched = true;
        } else
          wall->m_Colour = BrARGB(255, 0, 255, 0);
      }
    }
  if (!touched || depth >= ciMaxTraceDepth) return;

  // Stretching needs a direction: a push that lands on the start point (a one-unit move head-on into a wall, or
  // into a corner) has none, and its unit vector would be NaN.
  const BrVector moved = hit - start;
  const float remaining = moved.Size();
  if (remaining < len && remaining > kMinStretch) hit = start + moved * (len / remaining);
  ++depth;
  Trace(start, hit, radius, flags, hit, depth, ignore);
}

bool BrRAGMap::PointCheck(const BrVector& point, float radius, eCollideFlags flags, BrDemoEntity* ignore) {
  if (flags == 0) return true;
  const float cells = radius / m_fGridScale + 0.5f;
  const int n = (cells > 0.0f && cells < 1.0e6f ? int(cells) : 0) + 1;
  const int h = n / 2;
  int cx = 0;
  int cy = 0;
  GetCell(cx, cy, &point);
  if (flags & (eCollideWorld | eCollideAlways))
    for (int x = cx - h; x <= cx - h + n; ++x)
      for (int y = cy - h; y <= cy - h + n; ++y) {
        BrRAGCell* cell = GetCell(x, y);
        if (!cell || !cell->IsOccupied()) return false;
      }
  if (flags & (eCollideOther | eCollideAlways)) {
    const BrSphere sphere(point, radius);
    // Only live objects can collide: ids keep growing level after level, and walking them all made every
    // placement slower the deeper the game went.
    const BrObjectMgr& objects = m_ObjectMgr;
    for (int slot = 0; slot < objects.GetNumLiveObjects(); ++slot) {
      BrGameObj* object = objects.GetLiveObject(slot);
      if (!object || !object->IsValid() || !object->IsA(BrDemoEntity::Type)) continue;
      BrDemoEntity* entity = static_cast<BrDemoEntity*>(object);
      if (entity == ignore || !(entity->GetCollideFlags() & unsigned(flags))) continue;
      if (sphere.Intersects(BrSphere(entity->Location(), entity->GetDrawScale().x))) return false;
    }
  }
  return true;
}

// ---------------------------------------------------------------------------------------------------------------
// Line of sight, visibility and exploration

bool BrRAGMap::CellTrace(const BrVector* from, const BrVector* to) {
  int x0 = 0, y0 = 0, x1 = 0, y1 = 0;
  if (!from || !to || !GetCell(x0, y0, from) || !GetCell(x1, y1, to)) return false;
  return WalkLine(x0, y0, x1, y1, [this](int px, int py, int x, int y) {
    BrRAGCell* cell = GetCell(x, y);
    if (!cell || !cell->IsOccupied()) return false;
    if (px != x && py != y) {
      // A diagonal step is blocked only when both corner cells are solid.
      BrRAGCell* cornerA = GetCell(px, y);
      BrRAGCell* cornerB = GetCell(x, py);
      if (!(cornerA && cornerA->IsOccupied()) && !(cornerB && cornerB->IsOccupied())) return false;
    }
    return true;
  });
}

void BrRAGMap::FlagCellTraceAsVisible(BrVector* from, BrVector* to) {
  int x0 = 0, y0 = 0, x1 = 0, y1 = 0;
  if (!from || !to) return;
  GetCell(x0, y0, from);
  GetCell(x1, y1, to);
  WalkLine(x0, y0, x1, y1, [this](int, int, int x, int y) {
    BrRAGCell* cell = GetCell(x, y);
    if (cell && !cell->IsVisible()) {
      m_VisibleCells.Add(y * m_iWidth + x);
      cell->SetVisible(true);
      MarkSeen(cell);
    }
    return true;
  });
}

void BrRAGMap::ClearVisibleCells() {
  for (int i = 0; i < m_VisibleCells.GetCount(); ++i)
    if (m_VisibleCells[i] >= 0 && m_VisibleCells[i] < m_Cells.GetCount()) m_Cells[m_VisibleCells[i]].SetVisible(false);
  m_VisibleCells.Clear();
}

void BrRAGMap::CalcVisibleCells(int cx, int cy, float radius) {
  if (m_bRenderAllGeometry) {
    ClearVisibleCells();
    for (int x = 0; x < m_iWidth; ++x)
      for (int y = 0; y < m_iHeight; ++y) {
        BrRAGCell* cell = GetCell(x, y);
        if (!cell->IsOccupied()) continue;
        m_VisibleCells.Add(y * m_iWidth + x);
        cell->SetVisible(true);
      }
    return;
  }
  if (cx < 0 || cy < 0 || cx >= m_iWidth || cy >= m_iHeight || !(radius > 0.0f)) return;
  const float cells = radius / m_fGridScale;
  const int r = (cells < 1.0e4f ? int(cells) : 10000) + 2;
  const int minX = brMax(cx - r, 0);
  const int maxX = brMin(cx + r, m_iWidth - 1);
  const int minY = brMax(cy - r, 0);
  const int maxY = brMin(cy + r, m_iHeight - 1);

  ClearVisibleCells();

  BrVector centre;
  BrVector target;
  const bool centreValid = CellCentre(cx, cy, &centre);
  for (int x = minX; x <= maxX; ++x)
    for (int y = minY; y <= maxY; ++y) {
      BrRAGCell* cell = GetCell(x, y);
      if (SqDistBetweenCells(x, y, cx, cy) > float(r * r) || !cell->IsOccupied()) continue;
      if (!centreValid || !CellCentre(x, y, &target) || !CellTrace(&centre, &target)) continue;
      // A cell already marked along an earlier line is listed once, so it is drawn once.
      if (!cell->IsVisible()) {
        m_VisibleCells.Add(y * m_iWidth + x);
        cell->SetVisible(true);
      }
      MarkSeen(cell);
      FlagCellTraceAsVisible(&centre, &target);
    }
}

void BrRAGMap::UpdateVisibleCells(int cx, int cy, float radius) {
  VisibleKey key;
  key.valid = true;
  key.x = cx;
  key.y = cy;
  // The lantern dims a little every step; only a change of the whole cells it reaches changes what is seen.
  const float cells = radius / m_fGridScale;
  key.reach = radius > 0.0f ? (cells < 1.0e4f ? int(cells) : 10000) : -1;
  key.all = m_bRenderAllGeometry;
  key.cells = m_Cells.GetCount();
  key.width = m_iWidth;
  key.scale = m_fGridScale;
  key.shape = BrRAGCell::ShapeRevision();
  const size_t floors = size_t(m_iMaxFloorType >= 0 ? m_iMaxFloorType + 1 : 0);
  if (key == m_VisibleKey && m_FloorIndices.size() == floors) return;
  CalcVisibleCells(cx, cy, radius);
  m_VisibleKey = key;

  // The triangles of the visible cells, grouped by floor type in the order of the visible list.
  m_FloorIndices.assign(floors, std::vector<uint16_t>());
  for (int i = 0; i < m_VisibleCells.GetCount(); ++i) {
    BrRAGCell* cell = GetCellByIndex(m_VisibleCells[i]);
    _ragtri tri;
    for (int k = 0; cell && cell->GetTri(k, &tri); ++k)
      if (tri.floorType < floors)
        for (uint16_t index : tri.idx) m_FloorIndices[tri.floorType].push_back(index);
  }
  // The stream still carries the last floor's list, as it did when the lists were built while drawing.
  m_Indices.Clear();
  if (floors > 0)
    for (uint16_t index : m_FloorIndices.back()) m_Indices.Add(index);
}

void BrRAGMap::RevealAllToMiniMap() {
  if (m_bExplored) return;
  BrActor* player = ThePlayer();
  if (player && player->IsA(BrRAGPlayer::Type)) static_cast<BrRAGPlayer*>(player)->OnMapExplored();
  m_bExplored = true;
  const int n = m_Cells.GetCount();
  for (int i = 0; i < n; ++i) m_Cells[i].SetExplored(true);
  BrGame* game = TheGame();
  BrMiniMap* minimap = game ? game->GetMiniMap() : nullptr;
  if (!minimap) return;
  for (int i = 0; i < ObjectMgr().WalkCount(); ++i) {
    BrGameObj* object = ObjectMgr().WalkObject(i);
    if (!object || !object->IsValid() || !object->IsA(BrDemoEntity::Type)) continue;
    BrDemoEntity* entity = static_cast<BrDemoEntity*>(object);
    if (entity->GetShowsOnMiniMap() && entity->GetDrawnByMap())
      minimap->AddActor(entity->GetID(), entity->GetMinimapIcon());
  }
}

// ---------------------------------------------------------------------------------------------------------------
// Paths

bool BrRAGMap::BuildPaths() {
  for (int i = 0; i < m_PathNodes.GetCount(); ++i) {
    BrVector& position = m_PathNodes[i].Position();
    const float col = position.x;
    const float row = position.z;
    // A node off the grid (or with a column too large for an int) keeps its place.
    const bool inRange = col > -1.0e6f && col < 1.0e6f && row > -1.0e6f && row < 1.0e6f;
    BrVector centre;
    if (inRange && GetCell(int(col), int(row))) {
      CellCentre(int(col), int(row), &centre);
      position = centre;
    }
    position.y = kPathHeight;
  }
  const bool linked = BrMap::BuildPaths();
  GLog.DebugPrintf("DEBUG: %i nodes in path network", int(m_PathNodes.GetCount()));
  return linked;
}

// ---------------------------------------------------------------------------------------------------------------
// Drawing

void BrRAGMap::Draw(BrRenderBase* render) {
  BrActor* player = ThePlayer();
  if (!player || !render) {
    BrMap::Draw(render);
    return;
  }
  int px = 0;
  int py = 0;
  GetCell(px, py, &player->Location());
  float view = kDefaultViewCells * m_fGridScale;
  if (player->IsA(BrRAGPlayer::Type)) view = static_cast<BrRAGPlayer*>(player)->GetLightRadius();
  UpdateVisibleCells(px, py, view);
  render->SetTransform(&GetCoords());

  // The index buffer holds a fixed number of indices: a frame that sees more is drawn in several batches.
  int batch = ciIndexBufferSize;
  if (m_pIB && m_pIB->GetSizeInBytes() > 0 && int(m_pIB->GetSizeInBytes() / 2) < batch)
    batch = int(m_pIB->GetSizeInBytes() / 2);
  batch -= batch % 3;
  for (int t = 0; t <= m_iMaxFloorType; ++t) {
    render->SetEffector(t < m_FloorEffectors.GetCount() ? m_FloorEffectors[t] : 0u);
    std::vector<uint16_t>& indices = m_FloorIndices[size_t(t)];
    const int total = int(indices.size());
    if (total == 0 || !m_pVB || !m_pIB || batch <= 0) continue;
    for (int first = 0; first < total; first += batch) {
      const int count = brMin(batch, total - first);
      m_pIB->Populate(reinterpret_cast<unsigned char*>(&indices[size_t(first)]), unsigned(count) * 2u, true);
      render->DrawPrimitive(kTriangleList, m_pVB, m_pIB, kVertexSize, kVertexFormat, m_Vertices.GetCount(), count / 3,
                            0, 0);
    }
  }
  BrMap::Draw(render);
}

void BrRAGMap::DrawObjects(BrRenderBase* render) {
  if (!render) return;
  BrActor* player = ThePlayer();
  BrRAGActor* seer =
      player && player->IsA(BrRAGActor::Type) ? static_cast<BrRAGActor*>(static_cast<BrActor*>(player)) : nullptr;
  BrObjectMgr& objects = ObjectMgr();
  for (int i = 0; i < objects.WalkCount(); ++i) {
    BrGameObj* object = objects.WalkObject(i);
    if (!object || !object->IsValid()) continue;
    if (!m_bRenderAllObjects) {
      if (!object->GetDrawnByMap()) continue;
      BrRAGCell* cell = GetCell(&object->Location());
      if (!cell || !cell->IsVisible()) continue;
    }
    if (object->IsA(BrDemoEntity::Type) && object != player && seer &&
        !seer->CanSee(static_cast<BrDemoEntity*>(object)))
      continue;
    object->Draw(render);
  }
}

void BrRAGMap::DebugDraw(BrRenderBase* render) { BrGameObj::DebugDraw(render); }

void BrRAGMap::DrawAllCellsWireframe(BrRenderBase* render) {
  if (!render) return;
  const float h = m_fGridScale / 2.0f;
  for (int i = 0; i < m_Cells.GetCount(); ++i) {
    if (!m_Cells[i].IsOccupied()) continue;
    int x = 0, y = 0;
    GetCoordsByIndex(i, x, y);
    BrVector c;
    CellCentre(x, y, &c);
    BrVector corners[4] = {BrVector(c.x - h, 1.0f, c.z - h), BrVector(c.x - h, 1.0f, c.z + h),
                           BrVector(c.x + h, 1.0f, c.z + h), BrVector(c.x + h, 1.0f, c.z - h)};
    for (int k = 0; k < 4; ++k) render->Draw3DLine(&corners[k], &corners[(k + 1) % 4], BrARGB(255, 0, 0, 0));
  }
}

void BrRAGMap::DrawVisibleCellsWireframe(BrRenderBase* render) {
  if (!render) return;
  const float h = m_fGridScale / 2.0f;
  for (int i = 0; i < m_VisibleCells.GetCount(); ++i) {
    BrRAGCell* cell = GetCellByIndex(m_VisibleCells[i]);
    if (!cell || !cell->IsOccupied()) continue;
    int x = 0, y = 0;
    GetCoordsByIndex(m_VisibleCells[i], x, y);
    BrVector c;
    CellCentre(x, y, &c);
    BrVector corners[4] = {BrVector(c.x - h, 1.0f, c.z - h), BrVector(c.x - h, 1.0f, c.z + h),
                           BrVector(c.x + h, 1.0f, c.z + h), BrVector(c.x + h, 1.0f, c.z - h)};
    for (int k = 0; k < 4; ++k) render->Draw3DLine(&corners[k], &corners[(k + 1) % 4], BrARGB(255, 255, 0, 0));
  }
}

// ---------------------------------------------------------------------------------------------------------------
// Grid image

void BrRAGMap::ExportGridToTGA(char* file) {
  static const unsigned char kColours[10][3] = {{255, 255, 255}, {255, 0, 0},   {0, 255, 0},   {0, 0, 255},
                                                {128, 128, 0},   {0, 128, 128}, {128, 0, 128}, {128, 64, 255},
                                                {128, 128, 128}, {0, 255, 255}};
  if (!file || m_iWidth <= 0 || m_iHeight <= 0 || m_iWidth > 0xFFFF || m_iHeight > 0xFFFF) {
    GLog.printf("ERROR: BrRAGMap::ExportGridToTGA(..) cannot write a grid of %i x %i", int(m_iWidth), int(m_iHeight));
    return;
  }
  BrTGAFile image;
  _tgaheaderinfo header;
  header.imageType = 2;
  header.bitsPerPixel = 24;
  header.width = uint16_t(m_iWidth);
  header.height = uint16_t(m_iHeight);
  image.SetHeader(header);
  for (int y = 0; y < m_iHeight; ++y)
    for (int x = 0; x < m_iWidth; ++x) {
      BrRAGCell* cell = GetCell(x, y);
      if (!cell->IsOccupied()) {
        image.AddRGB(0, 0, 0);
        continue;
      }
      const unsigned int type = cell->GetFloorType();
      if (type > 9) {
        GLog.printf("ERROR: BrRAGMap::ExportGridToTGA(..) has no colour for floor type %u; %s not written", type, file);
        return;
      }
      image.AddRGB(kColours[type][0], kColours[type][1], kColours[type][2]);
    }
  if (!image.Export(file)) GLog.printf("ERROR: BrRAGMap::ExportGridToTGA(..) could not write %s", file);
}
