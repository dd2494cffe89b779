// BrRAGMap: the grid (building, addressing, cleaning, shrinking), the level change and the map's archive stream.
#include "adventure/world/BrRAGMap.h"

#include <cmath>
#include <vector>

#include "adventure/world/BrRAGLevelInfo.h"
#include "core/BrBin.h"
#include "core/BrCfgFile.h"
#include "core/BrLogFile.h"
#include "core/BrNumeric.h"
#include "engine/kernel/BrApplication.h"
#include "engine/kernel/BrEngine.h"
#include "engine/kernel/BrGame.h"
#include "engine/presentation/BrHUD.h"
#include "engine/presentation/BrIndexBufferBase.h"
#include "engine/presentation/BrMiniMap.h"
#include "engine/presentation/BrVertexBufferBase.h"
#include "templates/BrArchiveOps.h"

#include "adventure/flow/BrRAGUIDialog.h"
#include "adventure/world/BrRAGPlayer.h"

BR_IMPLEMENT_CLASS(BrRAGMap, BrMap)

const float BrRAGMap::cfDefaultGridScale = 128.0f;
const float BrRAGMap::cfDefaultWallHeight = 1.5f;

namespace {
// Grid coordinates of a world coordinate: the quotient is lowered by one below zero, so that positions left of
// (or above) the grid give negative coordinates instead of truncating to column 0. Quotients too large for an
// int are sent off the grid.
int GridCoord(float world, int half, float scale) {
  float q = (world + float(half) * scale) / scale;
  if (!(q > -1.0e9f && q < 1.0e9f)) return -1;
  if (q < 0.0f) q -= 1.0f;
  return int(q);
}
}  // namespace

BrRAGMap::BrRAGMap()
    : m_iWidth(0),
      m_iHeight(0),
      m_fGridScale(cfDefaultGridScale),
      m_pVB(nullptr),
      m_pIB(nullptr),
      m_iMaxFloorType(0),
      m_uiLevel(1),
      m_bChangingLevel(false),
      m_iFillColumn(0),
      m_fWallHeight(cfDefaultWallHeight),
      m_iOccupiedCount(0),
      m_iExploredCount(0),
      m_bRenderAllObjects(false),
      m_bRenderAllGeometry(false),
      m_bExplored(false),
      m_bVertexLimitMet(false) {}

// The device buffers are not shared with a copy: each map releases its own, so the copy builds its own geometry.
BrRAGMap::BrRAGMap(const BrRAGMap& other) : BrRAGMap() { *this = other; }

BrRAGMap& BrRAGMap::operator=(const BrRAGMap& other) {
  if (this == &other) return *this;
  m_ObjCfg = other.m_ObjCfg;
  m_Cells = other.m_Cells;
  m_iWidth = other.m_iWidth;
  m_iHeight = other.m_iHeight;
  m_fGridScale = other.m_fGridScale;
  m_FloorEffectors = other.m_FloorEffectors;
  m_Indices = other.m_Indices;
  m_VisibleCells = other.m_VisibleCells;
  m_Vertices = other.m_Vertices;
  m_iMaxFloorType = other.m_iMaxFloorType;
  m_uiLevel = other.m_uiLevel;
  m_bChangingLevel = other.m_bChangingLevel;
  m_SkipFloorCells = other.m_SkipFloorCells;
  m_ConfigFiles = other.m_ConfigFiles;
  m_iFillColumn = other.m_iFillColumn;
  m_fWallHeight = other.m_fWallHeight;
  m_iOccupiedCount = other.m_iOccupiedCount;
  m_iExploredCount = other.m_iExploredCount;
  m_bRenderAllObjects = other.m_bRenderAllObjects;
  m_bRenderAllGeometry = other.m_bRenderAllGeometry;
  m_bExplored = other.m_bExplored;
  m_bVertexLimitMet = other.m_bVertexLimitMet;
  m_VisibleKey = VisibleKey();
  return *this;
}

// The device buffers are released here too: a map destroyed without DestroyGeometry would otherwise leak them.
BrRAGMap::~BrRAGMap() {
  BrRAGMap::Destroy();
  BrRAGMap::DestroyGeometry();
  DestroyGrid();
  m_ObjCfg.Reset();
  m_SkipFloorCells.Clear();
  m_VisibleCells.Clear();
}

// ---------------------------------------------------------------------------------------------------------------
// Lifecycle and stream

bool BrRAGMap::Init() {
  m_iFillColumn = 0;
  m_bChangingLevel = false;
  m_bExplored = false;
  m_uiLevel = 1;
  if (!LoadConfigList()) return false;
  return BrMap::Init();
}

void BrRAGMap::Destroy() {
  m_ConfigFiles.Clear();
  m_FloorEffectors.Clear();
  BrMap::Destroy();
}

void BrRAGMap::Serialize(BrBin& bin) {
  // A loaded map spawns each of its objects by kind: the configuration files are opened once for all of them.
  ConfigFilesHeld held(*this);
  m_VisibleKey = VisibleKey();
  BrMap::Serialize(bin);
  m_Cells.Serialize(bin);
  bin << m_iWidth << m_iHeight << m_fGridScale;
  m_Indices.Serialize(bin);
  m_VisibleCells.Serialize(bin);
  m_Vertices.Serialize(bin);
  bin << m_iMaxFloorType << m_uiLevel << m_bChangingLevel;
  m_SkipFloorCells.Serialize(bin);
  m_ConfigFiles.Serialize(bin);
  bin << m_iFillColumn << m_iOccupiedCount << m_iExploredCount;
  if (!bin.IsLoading()) return;

  // The stream's grid is replaced by the level rebuilt after loading, but until then the map is drawn and stepped
  // with what was read: every count that sizes a loop or indexes the grid must be one a level can have, or the
  // save is refused.
  if (!bin.HasFailed()) {
    const char* why = LoadedFieldsFault();
    if (why) {
      GLog.printf(
          "ERROR: BrRAGMap::Serialize(..) refused %s: %s (grid %i x %i for %i cells, scale %g, highest "
          "floor type %i, level %u)",
          bin.GetFullPath(), why, int(m_iWidth), int(m_iHeight), int(m_Cells.GetCount()), double(m_fGridScale),
          int(m_iMaxFloorType), m_uiLevel);
      bin.MarkFailed(nullptr);
    }
  }
  if (bin.HasFailed()) {
    DestroyGrid();
    m_iMaxFloorType = 0;
    if (!(m_fGridScale > 0.0f && m_fGridScale <= cfMaxGridScale)) m_fGridScale = cfDefaultGridScale;
  }
  // No visible flag is streamed, so the list restarts empty.
  m_VisibleCells.Clear();
}

const char* BrRAGMap::LoadedFieldsFault() const {
  const int cells = m_Cells.GetCount();
  if (m_iWidth < 0 || m_iHeight < 0 || int64_t(m_iWidth) * m_iHeight != cells)
    return "its grid size does not match its cells";
  if (!(m_fGridScale > 0.0f && m_fGridScale <= cfMaxGridScale)) return "its grid scale is out of range";
  // The draw walks every floor type up to this one each frame.
  if (m_iMaxFloorType < 0 || m_iMaxFloorType > ciMaxFloorTypes) return "its highest floor type is out of range";
  if (m_uiLevel < 1) return "it names no level";
  if (m_Vertices.GetCount() > ciMaxVertices) return "it holds more vertices than a level draws";
  if (m_SkipFloorCells.GetCount() > cells || m_VisibleCells.GetCount() > cells)
    return "it lists more cells than its grid has";
  if (m_iFillColumn < 0 || m_iFillColumn > m_iWidth) return "its fill column is outside the grid";
  if (m_iOccupiedCount < 0 || m_iOccupiedCount > cells || m_iExploredCount < 0 || m_iExploredCount > cells)
    return "its occupied or explored count is outside the grid";
  if (m_ConfigFiles.GetCount() > ciMaxConfigFiles) return "it names too many configuration files";
  for (int i = 0; i < m_ConfigFiles.GetCount(); ++i)
    if (m_ConfigFiles[i].Length() == 0 || m_ConfigFiles[i].Length() >= 260)
      return "it names a configuration file that cannot be one";
  return nullptr;
}

// ---------------------------------------------------------------------------------------------------------------
// Building and clearing the grid

void BrRAGMap::InitGrid(int w, int h) {
  DestroyGrid();
  if (w < 0 || h < 0 || int64_t(w) * h > INT32_MAX / 2) {
    GLog.printf("ERROR: BrRAGMap::InitGrid(..) refused a grid of %i x %i", w, h);
    return;
  }
  const BrRAGCell blank;
  for (int64_t i = 0; i < int64_t(w) * h; ++i) m_Cells.Add(blank);
  m_iWidth = w;
  m_iHeight = h;
  m_Cells.FreeExtra();
  ZeroGrid();
}

void BrRAGMap::ZeroGrid() {
  const int n = m_Cells.GetCount();
  for (int i = 0; i < n; ++i) m_Cells[i].Destroy();
}

// The visible list indexes this grid's cells, so it goes with them.
void BrRAGMap::DestroyGrid() {
  ZeroGrid();
  m_Cells.Clear();
  m_VisibleCells.Clear();
  m_VisibleKey = VisibleKey();
  m_iWidth = 0;
  m_iHeight = 0;
}

void BrRAGMap::Regenerate(unsigned int, unsigned int) {
  m_iOccupiedCount = 0;
  m_iExploredCount = 0;
  m_bExplored = false;
  const int n = m_Cells.GetCount();
  for (int i = 0; i < n; ++i)
    if (m_Cells[i].IsOccupied()) ++m_iOccupiedCount;
  m_SkipFloorCells.Clear();
  m_bVertexLimitMet = false;
}

// ---------------------------------------------------------------------------------------------------------------
// Addressing

float BrRAGMap::SqDistBetweenCells(int x1, int y1, int x2, int y2) {
  const float dx = float(x2 - x1);
  const float dy = float(y2 - y1);
  return dx * dx + dy * dy;
}

// Random draws could go on for ever on a grid with few (or no) occupied cells: after ciMaxRandomDraws draws a scan
// takes the first occupied cell, and a grid without one fails.
bool BrRAGMap::CellRandom(int& x, int& y) {
  if (m_iWidth > 0 && m_iHeight > 0) {
    for (int draw = 0; draw < ciMaxRandomDraws; ++draw) {
      const int cx = brRand() % m_iWidth;
      const int cy = brRand() % m_iHeight;
      BrRAGCell* cell = GetCell(cx, cy);
      if (cell && cell->IsOccupied()) {
        x = cx;
        y = cy;
        return true;
      }
    }
    const int n = m_Cells.GetCount();
    for (int i = 0; i < n; ++i)
      if (m_Cells[i].IsOccupied()) {
        GetCoordsByIndex(i, x, y);
        return true;
      }
  }
  GLog.printf("ERROR: BrRAGMap::CellRandom(..) found no occupied cell in a grid of %i x %i", int(m_iWidth),
              int(m_iHeight));
  x = -1;
  y = -1;
  return false;
}

bool BrRAGMap::CellCentre(int x, int y, BrVector* out) {
  BrRAGCell* cell = GetCell(x, y);
  if (!cell || !out) return false;
  const float s = m_fGridScale;
  *out = BrVector((float(x) + 0.5f - float(m_iWidth / 2)) * s, 0.0f, (float(y) + 0.5f - float(m_iHeight / 2)) * s);
  return cell->IsOccupied();
}

bool BrRAGMap::RandomPointInCell(int x, int y, BrVector* out) {
  BrRAGCell* cell = GetCell(x, y);
  if (!cell || !out) return false;
  BrVector p = GetCellTopLeft(x, y);
  p.x += brRandRangeF(0.0f, m_fGridScale);
  p.z += brRandRangeF(0.0f, m_fGridScale);
  *out = p;
  return cell->IsOccupied();
}

BrRAGCell* BrRAGMap::GetCell(const BrVector* position) {
  int x = 0;
  int y = 0;
  return GetCell(x, y, position);
}

BrRAGCell* BrRAGMap::GetCell(int x, int y) {
  if (x < 0 || y < 0 || x >= m_iWidth || y >= m_iHeight) return nullptr;
  return &m_Cells[y * m_iWidth + x];
}

BrRAGCell* BrRAGMap::GetCell(int& x, int& y, const BrVector* position) {
  if (position) {
    x = GridCoord(position->x, m_iWidth / 2, m_fGridScale);
    y = GridCoord(position->z, m_iHeight / 2, m_fGridScale);
  }
  return GetCell(x, y);
}

// Negative coordinates are refused as well: (-1, 1) would otherwise name the last cell of row 0.
int BrRAGMap::GetCellIndex(int x, int y) {
  if (x < 0 || y < 0 || x >= m_iWidth || y >= m_iHeight) {
    GLog.DebugWriteLine("ERROR: Invalid grid coords passed to BrRAGMap::GetCellIndex(..)");
    return -1;
  }
  return y * m_iWidth + x;
}

void BrRAGMap::GetCoordsByIndex(int index, int& x, int& y) {
  if (index < 0 || index >= m_Cells.GetCount() || m_iWidth <= 0) {
    x = -1;
    y = -1;
    return;
  }
  y = index / m_iWidth;
  x = index - y * m_iWidth;
}

BrRAGCell* BrRAGMap::GetCellByIndex(int index) {
  if (index < 0 || index >= m_Cells.GetCount()) {
    GLog.DebugWriteLine("ERROR: Invalid index passed to BrRAGMap::GetCellByIndex(..)");
    return nullptr;
  }
  return &m_Cells[index];
}

BrVector BrRAGMap::GetCellTopLeft(int x, int y) const {
  return BrVector(float(x - m_iWidth / 2) * m_fGridScale, 0.0f, float(y - m_iHeight / 2) * m_fGridScale);
}

// ---------------------------------------------------------------------------------------------------------------
// Cleaning and shrinking

void BrRAGMap::RemoveIsolatedAreas() {
  int label = 1;
  int bestSize = 0;
  int bestLabel = 0;
  for (int x = 0; x < m_iWidth; ++x)
    for (int y = 0; y < m_iHeight; ++y) {
      const int flags = m_Cells[y * m_iWidth + x].GetFlags();
      if (flags < label) continue;
      int count = 0;
      FloodFill(x, y, flags, label, count);
      if (count > bestSize) {
        bestSize = count;
        bestLabel = label;
      }
      ++label;
    }
  // Without a marked region, label 0 would turn every solid cell into floor: the grid is left without floor.
  if (bestLabel == 0)
    GLog.printf("WARNING: BrRAGMap::RemoveIsolatedAreas(..) found no marked cells in a grid of %i x %i", int(m_iWidth),
                int(m_iHeight));
  for (int x = 0; x < m_iWidth; ++x)
    for (int y = 0; y < m_iHeight; ++y) {
      BrRAGCell& cell = m_Cells[y * m_iWidth + x];
      cell.SetValid(bestLabel != 0 && cell.GetFlags() == bestLabel);
      cell.SetFlags(0);
    }
}

// A scanline fill whose pending calls live on an explicit stack, so that a large level cannot overflow the call
// stack; cells are relabelled in the order the recursive form would visit them: the row's run, then each cell of
// the run above (depth first), then each of the run below.
void BrRAGMap::FloodFill(int x, int y, int oldFlags, int newFlags, int& count) {
  if (oldFlags == newFlags || x < 0 || y < 0 || y >= m_iHeight || x >= m_iWidth) return;
  struct Frame {
    int y, left, right, next;
    bool below;
  };
  auto flagsAt = [this](int cx, int cy) { return m_Cells[cy * m_iWidth + cx].GetFlags(); };
  auto fillRun = [&](int sx, int sy) {
    m_iFillColumn = sx;
    int cx = sx;
    for (; cx >= 0 && flagsAt(cx, sy) == oldFlags; --cx) {
      m_Cells[sy * m_iWidth + cx].SetFlags(newFlags);
      ++count;
    }
    const int left = cx + 1;
    for (cx = m_iFillColumn + 1; cx < m_iWidth && flagsAt(cx, sy) == oldFlags; ++cx) {
      m_Cells[sy * m_iWidth + cx].SetFlags(newFlags);
      ++count;
    }
    return Frame{sy, left, cx, left, false};
  };

  std::vector<Frame> stack;
  stack.push_back(fillRun(x, y));
  while (!stack.empty()) {
    Frame& f = stack.back();
    if (f.next >= f.right) {
      if (f.below) {
        stack.pop_back();
        continue;
      }
      f.below = true;
      f.next = f.left;
      continue;
    }
    const int i = f.next++;
    const int ny = f.below ? f.y + 1 : f.y - 1;
    if (ny >= 0 && ny < m_iHeight && flagsAt(i, ny) == oldFlags)
      stack.push_back(fillRun(i, ny));  // f is not used past this point: the push may move it
  }
}

bool BrRAGMap::CellIsAdjacentTo(int x, int y, int min, int max) {
  int count = 0;
  if (x >= 1 && y >= 1 && x <= m_iWidth - 2 && y <= m_iHeight - 2)
    for (int cx = x - 1; cx <= x + 1; ++cx)
      for (int cy = y - 1; cy <= y + 1; ++cy)
        if (m_Cells[cy * m_iWidth + cx].IsOccupied()) ++count;
  return count >= min && count <= max;
}

void BrRAGMap::ShrinkToFit() {
  m_iMaxFloorType = 0;
  int minX = m_iWidth;
  int minY = m_iHeight;
  int maxX = 0;
  int maxY = 0;
  bool any = false;
  for (int x = 0; x < m_iWidth; ++x)
    for (int y = 0; y < m_iHeight; ++y)
      if (m_Cells[y * m_iWidth + x].IsOccupied()) {
        any = true;
        minX = x < minX ? x : minX;
        minY = y < minY ? y : minY;
        maxX = x > maxX ? x : maxX;
        maxY = y > maxY ? y : maxY;
      }
  // The box of no cell would be negative in size: the grid stays as it is.
  if (!any) {
    GLog.printf("WARNING: BrRAGMap::ShrinkToFit(..) found no occupied cell in a grid of %i x %i; grid kept",
                int(m_iWidth), int(m_iHeight));
    return;
  }

  TDArray<BrRAGCell> old(m_Cells);
  const int oldWidth = m_iWidth;
  int w = maxX - minX + 1;
  int h = maxY - minY + 1;
  w += w & 1;
  h += h & 1;
  InitGrid(w, h);
  for (int x = minX; x <= maxX; ++x)
    for (int y = minY; y <= maxY; ++y) m_Cells[(y - minY) * m_iWidth + (x - minX)] = old[y * oldWidth + x];
  for (int i = 0; i < old.GetCount(); ++i) old[i].Destroy();
  old.Clear();
}

// ---------------------------------------------------------------------------------------------------------------
// Level change and exploration

void BrRAGMap::ResetLevel() {
  BrApplication* app = Engine().App();
  BrGame* game = app ? static_cast<BrGame*>(app->SafeCast(&BrGame::Type)) : nullptr;
  if (game && game->GetMiniMap()) game->GetMiniMap()->Init();
  m_bChangingLevel = true;
}

void BrRAGMap::SetLevel(unsigned int level) {
  ResetLevel();
  m_uiLevel = level;
  BrApplication* app = Engine().App();
  if (!app) return;
  const BrStringT<char> interlude("BrRAGGameStateInterlude");
  if (level < 1 || level > 16) {
    app->ChangeToState(interlude);
    return;
  }
  const BrStringT<char> loadMenu("BrRAGGameStateLoadGameMenu");
  const bool fromLoadMenu = app->WasInState(loadMenu) || app->IsInState(loadMenu);
  BrRAGMap* map = app->Map() ? static_cast<BrRAGMap*>(app->Map()->SafeCast(&BrRAGMap::Type)) : nullptr;
  const unsigned int mapLevel = map ? map->GetLevel() : m_uiLevel;
  BrGame* game = static_cast<BrGame*>(app->SafeCast(&BrGame::Type));
  if (mapLevel % 10 != 1 || fromLoadMenu || !game || !game->GetHUD()) {
    app->ChangeToState(interlude);
    return;
  }

  BrObject* made = static_cast<BrObject*>(Engine().Spawn("BrRAGUIDialog"));
  BrUIDialog* dialog = made ? static_cast<BrUIDialog*>(made->SafeCast(&BrUIDialog::Type)) : nullptr;
  if (!dialog) {
    // Without the dialog the player could neither save nor go on: the interlude keeps the game moving.
    GLog.WriteLine("ERROR: BrRAGMap::SetLevel(..) could not create the world-complete dialog");
    delete made;
    app->ChangeToState(interlude);
    return;
  }
  dialog->Init();
  dialog->SetID(BrStringT<char>("dlg_worldcomplete"));
  dialog->SetArea(0.3f, 0.6f, 0.4f, 0.2f);
  dialog->SetModal(true);
  dialog->SetTexture(BrStringT<char>("Textures\\ui\\menus\\scrollm.tga"));
  if (BrRAGUIDialog* rag = static_cast<BrRAGUIDialog*>(dialog->SafeCast(&BrRAGUIDialog::Type))) {
    rag->SetTopTexture(BrStringT<char>("Textures\\ui\\menus\\scrollt.tga"));
    rag->SetBaseTexture(BrStringT<char>("Textures\\ui\\menus\\scrollb.tga"));
  }
  dialog->SetDialogText(BrStringT<char>("World complete, save your\nprogress?"));
  dialog->AddDialogOption(BrStringT<char>("Save"), BrStringT<char>("InterludeMenuSave"), true);
  dialog->AddDialogOption(BrStringT<char>("Continue"), BrStringT<char>("InterludeMenuAutosave"), true);
  dialog->SetDialogFont(BrStringT<char>("Fonts\\fontScript.tga"));
  dialog->SetDialogTextSize(4);
  dialog->SetPadding(0.125f);
  game->GetHUD()->AddChildControl(dialog);
  dialog->SetActive(true);
}

void BrRAGMap::MarkSeen(BrRAGCell* cell) {
  if (!cell) return;
  if (!cell->IsExplored()) {
    ++m_iExploredCount;
    if (!m_bExplored && m_iExploredCount >= m_iOccupiedCount) {
      m_bExplored = true;
      BrApplication* app = Engine().App();
      BrActor* player = app ? app->GetPlayer() : nullptr;
      if (player && player->IsA(BrRAGPlayer::Type)) static_cast<BrRAGPlayer*>(player)->OnMapExplored();
    }
  }
  cell->SetExplored(true);
}

// ---------------------------------------------------------------------------------------------------------------
// Floors, hooks and lists

void BrRAGMap::SkipFloor(int x, int y) {
  const int index = GetCellIndex(x, y);
  if (index >= 0) m_SkipFloorCells.Add(index);
}

bool BrRAGMap::ShouldSkipFloor(int x, int y) {
  const int index = GetCellIndex(x, y);
  if (index < 0) return false;
  for (int i = 0; i < m_SkipFloorCells.GetCount(); ++i)
    if (m_SkipFloorCells[i] == index) return true;
  return false;
}

void BrRAGMap::BuildGeometry() {}

int BrRAGMap::CalculateGridSize(float) { return 0; }

void BrRAGMap::ProcessLevelInfo(BrRAGLevelInfo*) { m_FloorEffectors.Clear(); }

bool BrRAGMap::IsExitHole(int, int) { return false; }

void BrRAGMap::ExportTestMap() {}

bool BrRAGMap::LoadConfigList() { return false; }

void BrRAGMap::PopulateMap() {}

BrRAGLevelInfo* BrRAGMap::GenerateLevelInfo() { return nullptr; }

void BrRAGMap::AddFloorEffector(unsigned int effector) { m_FloorEffectors.Add(effector); }
