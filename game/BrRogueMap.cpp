// BrRogueMap's level building: construction, the stream, Init and Step, and the digging of rooms, caverns and tunnels.
#include "game/BrRogueMap.h"

#include <algorithm>
#include <cstring>

#include <ctime>

#include "adventure/world/BrRAGLevelInfo.h"
#include "adventure/world/BrRAGPlayer.h"
#include "core/BrBin.h"
#include "core/BrFileDevice.h"
#include "core/BrLogFile.h"
#include "core/BrNumeric.h"
#include "core/BrSystem.h"
#include "core/BrTime.h"
#include "engine/kernel/BrApplication.h"
#include "engine/kernel/BrConfigCache.h"
#include "engine/kernel/BrEngine.h"
#include "engine/presentation/BrIndexBufferBase.h"
#include "engine/presentation/BrRenderBase.h"
#include "engine/presentation/BrVertexBufferBase.h"
#include "game/BrRogueLevelInfo.h"

BR_IMPLEMENT_CLASS(BrRogueMap, BrRAGMap)

namespace {

// The label the grid map's isolated-area pass looks for on dug cells.
const int ciDugFlag = 0x10000;
const float cfDefaultDensity = 75.0f;

bool sSeedForTests = false;
unsigned int sTestSeed = 0;

}  // namespace

void BrRogueMap::SetSeedForTests(unsigned int seed) {
  sSeedForTests = true;
  sTestSeed = seed;
}

void BrRogueMap::ClearSeedForTests() { sSeedForTests = false; }

BrRogueMap::BrRogueMap()
    : m_uiRoomCount(3),
      m_uiCavernCount(2),
      m_uiRoomWidth(6),
      m_uiRoomHeight(6),
      m_uiRoomVariance(2),
      m_uiCavernRadius(4),
      m_uiCavernVariance(2),
      m_fDensity(cfDefaultDensity),
      m_fHintTimer(0.0f),
      m_uiTunnelsDug(0),
      m_uiLastSeed(0) {}

BrRogueMap::~BrRogueMap() {}

void BrRogueMap::Serialize(BrBin& bin) {
  BrRAGMap::Serialize(bin);
  bin.Stream(&m_uiRoomCount, 4, 1);
  bin.Stream(&m_uiCavernCount, 4, 1);
  bin.Stream(&m_uiRoomWidth, 4, 1);
  bin.Stream(&m_uiRoomHeight, 4, 1);
  bin.Stream(&m_uiRoomVariance, 4, 1);
  bin.Stream(&m_uiCavernRadius, 4, 1);
  bin.Stream(&m_uiCavernVariance, 4, 1);
  m_RandomPickups.Serialize(bin);
  if (bin.IsLoading() && !bin.HasFailed() && (m_uiRoomCount > ciMaxAreaCount || m_uiCavernCount > ciMaxAreaCount)) {
    GLog.printf("ERROR: BrRogueMap::Serialize(..) read %u rooms and %u caverns, more than %u", m_uiRoomCount,
                m_uiCavernCount, ciMaxAreaCount);
    bin.MarkFailed(nullptr);
  }
  if (bin.IsLoading() && !bin.HasFailed())
    for (int i = 0; i < m_RandomPickups.GetCount(); ++i)
      if (m_RandomPickups[i] < 0 || m_RandomPickups[i] >= m_ObjCfg.GetNumTypes()) {
        GLog.printf("ERROR: BrRogueMap::Serialize(..) read random pickup kind %i of %i kinds", int(m_RandomPickups[i]),
                    m_ObjCfg.GetNumTypes());
        bin.MarkFailed(nullptr);
        break;
      }
  if (bin.IsLoading() && !bin.HasFailed() && !HasLevel(m_uiLevel)) {
    GLog.printf("ERROR: BrRogueMap::Serialize(..) read level %u, which no level information of the dungeon covers",
                m_uiLevel);
    bin.MarkFailed(nullptr);
  }
}

// The dungeon's levels are those its level information covers. Content without any level information still
// builds (with the default look), so then every level from 1 on is the dungeon's.
bool BrRogueMap::HasLevel(unsigned int level) const {
  if (level < 1) return false;
  bool anyInfo = false;
  for (int i = 0; i < m_ObjCfg.GetNumTypes(); ++i) {
    const _RAGObjSpawnDef def = m_ObjCfg.GetType(i);
    if (std::strcmp(def.native, "BrRogueLevelInfo") != 0) continue;
    anyInfo = true;
    if (def.levels[0] <= int64_t(level) && int64_t(level) <= def.levels[1]) return true;
  }
  return !anyInfo && level <= ciMaxLevelWithoutInfo;
}

bool BrRogueMap::Init() {
  // A level change keeps the level SetLevel stored; only a new game starts at 1. The base maps' Init is not
  // run: it would empty the object manager, and the player must survive a level change.
  if (!IsChangingLevel()) m_uiLevel = 1;
  // Every object of the level is spawned by kind: the configuration files are opened once for all of them.
  ConfigFilesHeld held(*this);

  LoadObjectConfig();
  BrRAGLevelInfo* info = GenerateLevelInfo();

  const unsigned int seed = sSeedForTests ? sTestSeed : unsigned(time(nullptr));
  Regenerate(seed, m_uiLevel);

  BrApplication* app = Engine().App();
  BrActor* player = app ? app->GetPlayer() : nullptr;
  if (app && !player) {
    BrStringT<char> playerType;
    BrConfigCache* config = Engine().GetConfig();
    if (config && config->GetString("RAG", "PlayerTypes", playerType)) {
      BrDemoEntity* spawned = SpawnScripted(playerType);
      if (spawned) AddObject(spawned);
    }
    player = app->GetPlayer();
    if (!player) {
      BrRAGPlayer* made = static_cast<BrRAGPlayer*>(static_cast<BrObject*>(Engine().Spawn("BrRAGPlayer")));
      if (made) {
        made->Init();
        AddObject(made);
      }
      player = app->GetPlayer();
    }
  }

  BrRAGPlayer* ragPlayer = player ? static_cast<BrRAGPlayer*>(player->SafeCast(&BrRAGPlayer::Type)) : nullptr;
  if ((m_uiLevel - 1u) % 10u == 0u && ragPlayer) ragPlayer->OnWorldChange();

  if (info) {
    BrRAGActor* actor = player ? static_cast<BrRAGActor*>(player->SafeCast(&BrRAGActor::Type)) : nullptr;
    BrRogueLevelInfo* rogueInfo = static_cast<BrRogueLevelInfo*>(info->SafeCast(&BrRogueLevelInfo::Type));
    if (rogueInfo) rogueInfo->ApplySpecial(actor);
    AddObject(info);
  }

  if (player) {
    int x = 0;
    int y = 0;
    BrVector centre;
    if (CellRandom(x, y) && CellCentre(x, y, &centre)) {
      BrVector spot(centre.x, player->GetDrawScale().y, centre.z);
      player->Location() = spot;
      player->PathTo(spot);
    }
  }

  PopulateMap();
  BuildGeometry();
  BuildCollisionSet();

  m_iFillColumn = 0;
  m_fHintTimer = 0.0f;
  m_bChangingLevel = false;
  return true;
}

void BrRogueMap::Step(float dt) {
  if (IsChangingLevel()) {
    Unload();
    Init();
  }
  StepHints(dt);
  BrMap::Step(dt);
}

void BrRogueMap::Destroy() {
  DestroyGrid();
  DestroyGeometry();
  m_RandomPickups.Clear();
  BrRAGMap::Destroy();
}

void BrRogueMap::DebugDraw(BrRenderBase* render) { BrRAGMap::DebugDraw(render); }

void BrRogueMap::Regenerate(unsigned int seed, unsigned int level) {
  m_fHintTimer = 0.0f;
  m_uiLevel = level;

  // Routes of the previous grid mean nothing on the new one.
  m_PathNodes.Clear();

  unsigned int roomsWanted = m_uiRoomCount;
  unsigned int cavernsWanted = m_uiCavernCount;
  bool shrunk = false;
  for (;;) {
    int dug = 0;
    for (int attempt = 0; attempt < ciMaxEmptySeeds && dug == 0; ++attempt) {
      // Placement lowers the counts to what it dug; a retry asks for the level's numbers again.
      m_uiRoomCount = roomsWanted;
      m_uiCavernCount = cavernsWanted;
      m_uiLastSeed = seed + unsigned(attempt);
      brSeedRand(m_uiLastSeed);
      dug = DigGrid(!shrunk && attempt == 0);
      if (dug == 0)
        GLog.printf("WARNING: BrRogueMap::Regenerate(..) seed %u dug nothing on level %u, trying the next seed\n",
                    m_uiLastSeed, level);
    }
    if (dug == 0) {
      GLog.printf("WARNING: BrRogueMap::Regenerate(..) no seed dug anything on level %u, digging a fallback room\n",
                  level);
      DigFallback();
    }

    RemoveIsolatedAreas();
    ShrinkToFit();
    // A level whose floors and walls need more vertices than 16-bit indices reach would be refused by the
    // geometry and played unseen: it is dug again, smaller, from the same seed. A cell takes at most a floor
    // and four sides, so a dig that small fits without the count's walk over the grid.
    const int64_t vertices = int64_t(dug) * 20 <= ciMaxVertices ? 0 : GeometryVertices();
    if (vertices <= ciMaxVertices || roomsWanted + cavernsWanted <= 1u) break;
    if (!shrunk)
      GLog.printf(
          "WARNING: BrRogueMap::Regenerate(..) level %u: %u rooms and %u caverns need %lld vertices, more than %i "
          "can be drawn; fewer are dug\n",
          level, roomsWanted, cavernsWanted, (long long)vertices, ciMaxVertices);
    shrunk = true;
    // The vertices grow with the areas dug: the next dig asks for a share that should fit, at most three quarters.
    const double share = std::min(0.75, 0.9 * double(ciMaxVertices) / double(vertices));
    roomsWanted = unsigned(double(m_uiRoomCount) * share);
    cavernsWanted = unsigned(double(m_uiCavernCount) * share);
  }
  BrRAGMap::Regenerate(seed, level);
}

// Four vertices for each floor and for each side of a dug cell that faces undug ground or the grid's edge, as
// the geometry builds them.
int64_t BrRogueMap::GeometryVertices() {
  int64_t vertices = 0;
  auto open = [this](int x, int y) {
    BrRAGCell* cell = GetCell(x, y);
    return !cell || !cell->IsOccupied();
  };
  for (int y = 0; y < m_iHeight; ++y)
    for (int x = 0; x < m_iWidth; ++x) {
      if (open(x, y)) continue;
      vertices += 4 * (1 + int(open(x, y + 1)) + int(open(x, y - 1)) + int(open(x + 1, y)) + int(open(x - 1, y)));
    }
  return vertices;
}

int BrRogueMap::DigGrid(bool tell) {
  m_uiRoomWidth = 6;
  m_uiRoomHeight = 6;
  m_uiCavernVariance = 2;
  m_uiRoomVariance = 2;
  m_uiCavernRadius = 4;
  m_uiTunnelsDug = 0;

  // A density near 0 asks for a grid of many millions of cells, seconds to dig and gigabytes to hold, though the
  // level drawn from it keeps only what the areas and tunnels fill.
  int side = CalculateGridSize(m_fDensity);
  if (side > ciMaxGridSide) {
    if (tell)
      GLog.printf("WARNING: BrRogueMap::DigGrid(..) density %g asks for a grid of %i x %i cells; %i x %i is dug\n",
                  double(m_fDensity), side, side, ciMaxGridSide, ciMaxGridSide);
    side = ciMaxGridSide;
  }
  InitGrid(side, side);
  ZeroGrid();

  PlaceRooms();
  PlaceCaverns();
  // Fewer than four areas would make the unsigned difference wrap and dig for ever.
  const unsigned int areas = m_uiRoomCount + m_uiCavernCount;
  PlaceTunnels(areas > 4u ? areas - 4u : 0u);

  int marked = 0;
  for (int y = 0; y < m_iHeight; ++y)
    for (int x = 0; x < m_iWidth; ++x)
      if (GetCell(x, y)->GetFlags() == ciDugFlag) ++marked;
  return marked;
}

void BrRogueMap::DigFallback() {
  const int side = m_iWidth < 4 ? 4 : m_iWidth;
  if (side != m_iWidth || side != m_iHeight) InitGrid(side, side);
  const int mid = side / 2;
  for (int y = mid - 1; y <= mid; ++y)
    for (int x = mid - 1; x <= mid; ++x) DigCell(x, y, eROGUEFloorRoom);
}

int BrRogueMap::CalculateGridSize(float density) {
  if (!(density > 0.0f)) {
    GLog.printf("WARNING: BrRogueMap::CalculateGridSize(..) density %f is not above 0, using %f\n", double(density),
                double(cfDefaultDensity));
    density = cfDefaultDensity;
  }
  const float pi = 3.1415927f;
  const float caverns = brPow(float(m_uiCavernRadius), 2.0f) * pi * float(m_uiCavernCount);
  const float rooms = float(m_uiRoomWidth * m_uiRoomHeight * m_uiRoomCount);
  return int(brSQRT(double((caverns + rooms) / density * 100.0f + 1.0f)));
}

void BrRogueMap::DigCell(int x, int y, unsigned int floorType) {
  BrRAGCell* cell = GetCell(x, y);
  if (!cell) return;
  cell->SetValid(true);
  cell->SetFlags(ciDugFlag);
  cell->SetFloorType(floorType);
}

void BrRogueMap::PlaceRooms() { PlaceAreas(m_uiRoomCount, true); }

void BrRogueMap::PlaceCaverns() { PlaceAreas(m_uiCavernCount, false); }

void BrRogueMap::PlaceAreas(unsigned int& count, bool rooms) {
  if (count == 0 || m_iWidth <= 0 || m_iHeight <= 0) {
    count = 0;
    return;
  }
  unsigned int placed = 0;
  unsigned int attempts = 0;
  for (;;) {
    ++attempts;
    const int r1 = brRand();
    const int r2 = brRand();
    const int y = r1 % m_iHeight;
    const int x = r2 % m_iWidth;
    if (rooms ? DigRoom(x, y) : DigCavern(x, y)) {
      if (++placed >= count) break;
    } else if (uint64_t(attempts) > uint64_t(count) * 1000u) {
      count = placed;
      break;
    }
  }
}

bool BrRogueMap::DigRoom(int x, int y) {
  // The size is drawn before any test, so every attempt costs the same two draws.
  const unsigned int span = 2u * m_uiRoomVariance;
  const unsigned int r1 = unsigned(brRand());
  const int w = int((span ? r1 % span : 0u) + m_uiRoomWidth - m_uiRoomVariance);
  const unsigned int r2 = unsigned(brRand());
  const int h = int((span ? r2 % span : 0u) + m_uiRoomHeight - m_uiRoomVariance);
  if (w <= 0 || h <= 0) return false;

  const int left = x < 1 ? 0 : x - 1;
  const int yb = (y >= m_iHeight ? m_iHeight - 1 : y) + 1;
  if (left + w + 2 > m_iWidth || yb + h + 2 > m_iHeight || yb - h - 2 < 0) return false;

  for (int cx = left; cx <= left + w + 1; ++cx)
    for (int cy = yb - h - 1; cy <= yb; ++cy) {
      BrRAGCell* cell = GetCell(cx, cy);
      if (cell && cell->IsOccupied()) return false;
    }

  for (int cx = x; cx <= x + w - 1; ++cx)
    for (int cy = y - h + 1; cy <= y; ++cy) DigCell(cx, cy, eROGUEFloorRoom);
  return true;
}

bool BrRogueMap::DigCavern(int x, int y) {
  const unsigned int span = 2u * m_uiCavernVariance;
  const unsigned int r = unsigned(brRand());
  const int radius = int((span ? r % span : 0u) + m_uiCavernRadius - m_uiCavernVariance);
  if (radius < 0) return false;
  const int outer = radius + 1;
  if (x - outer < 0 || y - outer < 0 || x + outer > m_iWidth - 1 || y + outer > m_iHeight - 1) return false;

  for (int cx = x - outer; cx <= x + outer; ++cx)
    for (int cy = y - outer; cy <= y + outer; ++cy) {
      const int dx = cx - x;
      const int dy = cy - y;
      if (dx * dx + dy * dy > outer * outer) continue;
      BrRAGCell* cell = GetCell(cx, cy);
      if (cell && cell->IsOccupied()) return false;
    }

  for (int cx = x - radius; cx <= x + radius; ++cx)
    for (int cy = y - radius; cy <= y + radius; ++cy) {
      const int dx = cx - x;
      const int dy = cy - y;
      if (dx * dx + dy * dy <= radius * radius) DigCell(cx, cy, eROGUEFloorCavern);
    }
  return true;
}

void BrRogueMap::PlaceTunnels(unsigned int count) {
  if (count == 0) return;
  unsigned int dug = 0;
  unsigned int failures = 0;
  while (dug < count) {
    int sx = 0;
    int sy = 0;
    bool found = false;
    int ex = 0;
    int ey = 0;
    if (CellRandom(sx, sy)) {
      BrRAGCell* start = GetCell(sx, sy);
      const int d = brRand() % 4;
      if (start && start->IsOccupied()) {
        const int dx = d == 2 ? -1 : (d == 3 ? 1 : 0);
        const int dy = d == 0 ? -1 : (d == 1 ? 1 : 0);
        const int lowest = 1;  // index 0 is never walked onto
        int cx = sx;
        int cy = sy;
        bool leftArea = false;
        for (;;) {
          const int nx = cx + dx;
          const int ny = cy + dy;
          if ((dx < 0 && nx < lowest) || (dy < 0 && ny < lowest) || nx > m_iWidth - 1 || ny > m_iHeight - 1) break;
          BrRAGCell* cell = GetCell(nx, ny);
          const bool occupied = cell && cell->IsOccupied();
          if (!leftArea) {
            if (!occupied) {
              // The tunnel starts at the last cell of the start's own area.
              leftArea = true;
              sx = cx;
              sy = cy;
            }
          } else if (occupied) {
            found = true;
            ex = nx;
            ey = ny;
            break;
          }
          cx = nx;
          cy = ny;
        }
      }
    }
    if (found) {
      ++dug;
      DigTunnel(sx, ex, sy, ey);
    } else if (++failures > count * 1000u)
      break;
  }
  m_uiTunnelsDug = dug;
}

void BrRogueMap::DigTunnel(int x1, int x2, int y1, int y2) {
  if (x1 == x2) {
    const int from = y1 < y2 ? y1 : y2;
    const int to = y1 < y2 ? y2 : y1;
    for (int y = from + 1; y < to; ++y) DigCell(x1, y, eROGUEFloorTunnel);
  } else {
    const int from = x1 < x2 ? x1 : x2;
    const int to = x1 < x2 ? x2 : x1;
    for (int x = from + 1; x < to; ++x) DigCell(x, y1, eROGUEFloorTunnel);
  }
}

void BrRogueMap::SkipFloor(int x, int y) {
  BrRAGCell* cell = GetCell(x, y);
  if (cell) cell->SetFloorType(eROGUEFloorExit);
}

bool BrRogueMap::IsExitHole(int x, int y) {
  BrRAGCell* cell = GetCell(x, y);
  return cell && cell->GetFloorType() == eROGUEFloorExit;
}

void BrRogueMap::BuildGeometry() {
  DestroyGeometry();
  BrRAGMap::BuildGeometry();
  if (!BuildCellGeometry()) return;
  CalculateMaxFloorType();

  BrRenderBase* render = Engine().Render();
  if (!render || m_Vertices.GetCount() <= 0) return;
  const unsigned int bytes = unsigned(m_Vertices.GetCount()) * unsigned(sizeof(BrRAGVertex));
  if (!render->CreateVertexBuffer(&m_pVB, bytes, 0x152, eMemPoolManaged, eResUsageStatic) || !m_pVB ||
      !m_pVB->Populate(0, reinterpret_cast<unsigned char*>(&m_Vertices[0]), bytes)) {
    GLog.printf("WARNING: Failed to initiate BrRogueMap's vertex buffer\n");
    return;
  }
  render->CreateIndexBuffer(&m_pIB, unsigned(ciIndexBufferSize * sizeof(uint16_t)), eIDXFormat16, eMemPoolSystem);
}

void BrRogueMap::ExportTestMap() {
  const BrStringT<char> folder = Engine().getMediaDir() + "\\Maps\\";
  brCreateDirectory(folder.c_str());
  char stamp[32] = {0};
  brGetLocalTimeString(stamp);
  // Two exports within one second share the time text: the later one takes a free name instead of replacing
  // the earlier image.
  BrStringT<char> file = BrFileDevice::FreeFileName((folder + stamp).c_str(), ".tga");
  if (file.Length() > 0) ExportGridToTGA(const_cast<char*>(file.c_str()));
}
