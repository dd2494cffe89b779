// Grid map stories: addressing, cleaning and shrinking a generated grid, level changes, the save stream, geometry,
// collision walls and swept traces, sight and exploration, batched drawing, paths and the grid dump. Catches: a
// negative pair aliasing a cell, a flood fill that overflows the stack, empty grids turned into floor or negative
// sizes, doubled walls, NaN positions from a head-on push, draws larger than the index buffer, and a corrupt
// save that leaves the grid indexing past its cells.
#include <gtest/gtest.h>

#include <cmath>
#include <fstream>

#include "../../engine/kernel/WorldTestSupport.h"
#include "../../support/RecordingRenderDevice.h"
#include "adventure/world/BrRAGMap.h"
#include "adventure/world/BrRAGPlayer.h"
#include "core/BrBin.h"
#include "engine/kernel/BrActor.h"
#include "engine/presentation/BrHUD.h"
#include "engine/presentation/BrUIControl.h"

namespace {

using brworld::RunFolder;

// A grid map that a test digs by hand, with its buffers reachable as the game content's map holds them.
class GridTestMap : public BrRAGMap {
  BR_DECLARE_CLASS(GridTestMap)
public:
  bool LoadConfigList() override {
    ConfigFiles().Clear();
    ConfigFiles().Add(BrStringT<char>("grid.cfg"));
    return true;
  }
  // Marks a cell as a generator's digging does.
  void Dig(int x, int y, unsigned int floor = 0) {
    BrRAGCell* cell = GetCell(x, y);
    cell->SetValid(true);
    cell->SetFlags(0x10000);
    cell->SetFloorType(floor);
  }
  void Open(int x, int y, unsigned int floor = 0) {
    GetCell(x, y)->SetValid(true);
    GetCell(x, y)->SetFloorType(floor);
  }
  // Every occupied cell's floor and walls, and the device buffers, as the game's BuildGeometry makes them.
  void Build(BrRenderBase* render) {
    DestroyGeometry();
    BuildCellGeometry();
    CalculateMaxFloorType();
    render->CreateVertexBuffer(&m_pVB, unsigned(m_Vertices.GetCount()) * 36u, 0x152, eMemPool(3), eResUsage(0));
    m_pVB->Populate(0, reinterpret_cast<unsigned char*>(&m_Vertices[0]), unsigned(m_Vertices.GetCount()) * 36u);
    render->CreateIndexBuffer(&m_pIB, ciIndexBufferSize * 2, eIDXFormat16, eMemPool(2));
  }
  void Collide() { BuildCollisionSet(); }
  bool Paths() { return BuildPaths(); }
  int NumVertices() const { return m_Vertices.GetCount(); }
  const BrRAGVertex& Vertex(int i) const { return m_Vertices[i]; }
};
BR_IMPLEMENT_CLASS(GridTestMap, BrRAGMap)

// A game with the three states the level change names (plain states), a HUD, and a player it can be given.
class GridTestGame : public BrGame {
public:
  GridTestGame() { SetMapType(BrStringT<char>("GridTestMap")); }
  void AddStates() override {
    for (const char* name : {"BrRAGGameStatePlaying", "BrRAGGameStateInterlude", "BrRAGGameStateLoadGameMenu"}) {
      BrBaseState* state = new BrBaseState();
      state->SetOwner(this);
      state->SetName(BrStringT<char>(name));
      state->Init();
      m_States.Add(state);
    }
    ChangeToState(BrStringT<char>("BrRAGGameStatePlaying"));
  }
  BrActor* GetPlayer() override {
    BrGameObj* object = Map() ? Map()->GetObjectA(playerID) : nullptr;
    return object && object->IsValid() && object->IsA(BrActor::Type) ? static_cast<BrActor*>(object) : nullptr;
  }
  int playerID = -1;
};

struct GridWorld {
  GridWorld() : game(new GridTestGame()), scoped(game) {}
  GridTestMap* Map() { return static_cast<GridTestMap*>(game->Map()); }
  bool InState(const char* name) { return game->IsInState(BrStringT<char>(name)); }
  RunFolder folder;
  GridTestGame* game;
  brworld::ScopedApp scoped;
};

bool Finite(const BrVector& v) { return std::isfinite(v.x) && std::isfinite(v.y) && std::isfinite(v.z); }

TEST(BrRAGMapGrid, CellsAreAddressedByColumnAndRowAroundTheWorldOrigin) {
  GridWorld world;
  GridTestMap* map = world.Map();
  map->InitGrid(4, 4);
  EXPECT_EQ(map->GetCellTopLeft(2, 2), BrVector(0, 0, 0));
  BrVector centre(1, 1, 1);
  EXPECT_FALSE(map->CellCentre(0, 0, &centre));  // a solid cell: centre written, answer "not occupied"
  EXPECT_EQ(centre, BrVector(-192, 0, -192));
  int x = 0, y = 0;
  BrVector p(-1, 0, -1);
  EXPECT_EQ(map->GetCell(x, y, &p), map->GetCell(1, 1));
  EXPECT_EQ(x, 1);
  EXPECT_EQ(y, 1);
  p = BrVector(-257, 0, 0);
  EXPECT_EQ(map->GetCell(x, y, &p), nullptr);
  EXPECT_EQ(x, -1);
  // A negative column never aliases the last cell of the row before.
  EXPECT_EQ(map->GetCellIndex(-1, 1), -1);
  EXPECT_EQ(map->GetCell(-1, 1), nullptr);
  EXPECT_EQ(map->GetCellIndex(3, 2), 11);
  map->GetCoordsByIndex(11, x, y);
  EXPECT_EQ(x, 3);
  EXPECT_EQ(y, 2);
  map->GetCoordsByIndex(16, x, y);
  EXPECT_EQ(x, -1);
  EXPECT_EQ(map->GetCellByIndex(16), nullptr);
  BrVector untouched(5, 5, 5);
  EXPECT_FALSE(map->CellCentre(4, 0, &untouched));
  EXPECT_EQ(untouched, BrVector(5, 5, 5));
  map->SkipFloor(3, 2);
  EXPECT_TRUE(map->ShouldSkipFloor(3, 2));
  EXPECT_FALSE(map->ShouldSkipFloor(2, 3));
  p = BrVector(1.0e30f, 0, std::nanf(""));
  EXPECT_EQ(map->GetCell(&p), nullptr);
}

TEST(BrRAGMapGrid, GeneratedGridKeepsItsLargestAreaThenShrinksToFit) {
  GridWorld world;
  GridTestMap* map = world.Map();
  map->InitGrid(10, 10);
  for (int y = 0; y < 5; ++y) map->Dig(1, y);   // 5 cells, met first column by column
  for (int x = 5; x < 10; ++x) map->Dig(x, 8);  // 5 cells, met later
  map->Dig(7, 2);                               // two cells touching at a corner only
  map->Dig(8, 3);
  map->RemoveIsolatedAreas();
  int occupied = 0;
  for (int x = 0; x < 10; ++x)
    for (int y = 0; y < 10; ++y) {
      EXPECT_EQ(map->GetCell(x, y)->GetFlags(), 0);
      if (map->GetCell(x, y)->IsOccupied()) {
        ++occupied;
        EXPECT_EQ(x, 1);
      }
    }
  EXPECT_EQ(occupied, 5);

  map->InitGrid(10, 10);
  for (int x = 2; x <= 4; ++x)
    for (int y = 3; y <= 6; ++y) map->Dig(x, y, x == 2 && y == 3 ? 3u : 1u);
  map->RemoveIsolatedAreas();
  map->ShrinkToFit();
  ASSERT_EQ(map->GridWidth(), 4);  // 3 columns rounded up to 4
  ASSERT_EQ(map->GridHeight(), 4);
  EXPECT_EQ(map->GetCell(0, 0)->GetFloorType(), 3u);
  for (int y = 0; y < 4; ++y) {
    EXPECT_TRUE(map->GetCell(2, y)->IsOccupied());
    EXPECT_FALSE(map->GetCell(3, y)->IsOccupied());
  }
  map->Regenerate(1, 1);
  EXPECT_EQ(map->GetOccupiedCount(), 12);
  int x = -5, y = -5;
  EXPECT_TRUE(map->CellRandom(x, y));
  EXPECT_TRUE(map->GetCell(x, y)->IsOccupied());

  // Nothing dug: no floor appears, the grid keeps its size, and no random cell can be found.
  map->InitGrid(6, 6);
  map->RemoveIsolatedAreas();
  map->ShrinkToFit();
  EXPECT_EQ(map->GridWidth(), 6);
  EXPECT_FALSE(map->GetCell(0, 0)->IsOccupied());
  EXPECT_FALSE(map->CellRandom(x, y));
  EXPECT_EQ(x, -1);
  EXPECT_EQ(world.folder.CountLines("found no marked cells"), 1);
  EXPECT_EQ(world.folder.CountLines("found no occupied cell"), 2);
}

// A corridor one cell wide and 200,000 rows long nests the recursive fill 200,000 deep.
TEST(BrRAGMapGrid, FloodFillOfAVeryLongCorridorDoesNotOverflowTheStack) {
  GridWorld world;
  GridTestMap* map = world.Map();
  const int rows = 200000;
  map->InitGrid(1, rows);
  for (int y = 0; y < rows; ++y) map->Dig(0, y);
  map->RemoveIsolatedAreas();
  map->Regenerate(1, 1);
  EXPECT_EQ(map->GetOccupiedCount(), rows);
}

TEST(BrRAGMapLevel, ChangeOpensTheWorldCompleteDialogOrTheInterlude) {
  GridWorld world;
  GridTestMap* map = world.Map();
  map->SetLevel(11);
  EXPECT_TRUE(map->IsChangingLevel());
  EXPECT_EQ(map->GetLevel(), 11u);
  EXPECT_TRUE(world.InState("BrRAGGameStatePlaying"));
  BrUIControl* dialog = world.game->GetHUD()->GetControl(BrStringT<char>("dlg_worldcomplete"), true);
  ASSERT_NE(dialog, nullptr);
  EXPECT_TRUE(dialog->IsA(BrUIControl::Type));

  map->SetLevel(12);
  EXPECT_TRUE(world.InState("BrRAGGameStateInterlude"));
  for (unsigned int level : {0u, 17u}) {
    world.game->ChangeToState(BrStringT<char>("BrRAGGameStatePlaying"));
    map->SetLevel(level);
    EXPECT_TRUE(world.InState("BrRAGGameStateInterlude")) << level;
  }
  // From the load-game menu the first level of a world is an ordinary level change.
  world.game->ChangeToState(BrStringT<char>("BrRAGGameStateLoadGameMenu"));
  world.game->ChangeToState(BrStringT<char>("BrRAGGameStatePlaying"));
  map->SetLevel(1);
  EXPECT_TRUE(world.InState("BrRAGGameStateInterlude"));
}

TEST(BrRAGMapStream, SaveKeepsTheLevelAndACorruptSaveNeverLeavesABrokenGrid) {
  GridWorld world;
  GridTestMap* map = world.Map();
  map->InitGrid(4, 6);
  map->Open(1, 1);
  map->SkipFloor(1, 1);
  map->LoadConfigList();
  map->SetLevel(7);
  {
    BrBin out;
    ASSERT_TRUE(out.Open("Media\\grid.sav", 0));
    map->Serialize(out);
    ASSERT_TRUE(out.Close());
  }
  world.game->CreateMap();
  map = world.Map();
  {
    BrBin in;
    in.Loading();
    ASSERT_TRUE(in.Open("Media\\grid.sav", 0));
    map->Serialize(in);
    EXPECT_FALSE(in.HasFailed());
  }
  EXPECT_EQ(map->GetLevel(), 7u);
  EXPECT_TRUE(map->IsChangingLevel());
  EXPECT_EQ(map->GridWidth(), 4);
  EXPECT_EQ(map->GridHeight(), 6);
  EXPECT_FALSE(map->GetCell(1, 1)->IsOccupied());  // cells are rebuilt, not read
  EXPECT_TRUE(map->ShouldSkipFloor(1, 1));
  ASSERT_EQ(map->ConfigFiles().GetCount(), 1);
  EXPECT_EQ(map->ConfigFiles()[0], BrStringT<char>("grid.cfg"));

  // Every cut of the file loads as a failure or a grid whose size matches its cells.
  const std::vector<char> bytes = RunFolder::ReadBytes(world.folder.root / "Media" / "grid.sav");
  for (size_t cut = bytes.size() - 1; cut > 0; cut -= 7) {
    RunFolder::WriteBytes(world.folder.root / "Media" / "cut.sav",
                          std::vector<char>(bytes.begin(), bytes.begin() + long(cut)));
    world.game->CreateMap();
    GridTestMap* loaded = world.Map();
    BrBin in;
    in.Loading();
    ASSERT_TRUE(in.Open("Media\\cut.sav", 0));
    loaded->Serialize(in);
    int cells = 0;
    for (int i = 0; loaded->GetCellByIndex(i); ++i) ++cells;
    EXPECT_EQ(cells, loaded->GridWidth() * loaded->GridHeight()) << cut;
    if (cut < 8) break;
  }
}

TEST(BrRAGMapGeometry, FloorsWallsAndCollisionWallsOfACell) {
  GridWorld world;
  GridTestMap* map = world.Map();
  map->InitGrid(4, 4);
  map->Open(2, 2, 2);
  EXPECT_EQ(map->AddFloorTris(2, 2), 2u);
  EXPECT_EQ(map->AddWallTris(2, 2), 8u);
  map->CalculateMaxFloorType();
  EXPECT_EQ(map->GetMaxFloorType(), 5);  // floor type 2 has wall material 5
  _ragtri tri;
  ASSERT_TRUE(map->GetCell(2, 2)->GetTri(2, &tri));
  EXPECT_EQ(tri.floorType, 5u);
  // Side 3 is the last wall added: from (0, 0) to (0, 128), 192 high.
  const int v = map->NumVertices() - 4;
  const BrVector expected[4] = {BrVector(0, 0, 0), BrVector(0, 192, 0), BrVector(0, 192, 128), BrVector(0, 0, 128)};
  for (int i = 0; i < 4; ++i)
    EXPECT_EQ(BrVector(map->Vertex(v + i).x, map->Vertex(v + i).y, map->Vertex(v + i).z), expected[i]) << i;
  EXPECT_FLOAT_EQ(map->Vertex(v).v, 1.5f);

  for (int pass = 0; pass < 2; ++pass) {
    map->Collide();
    ASSERT_EQ(map->GetCell(2, 2)->GetNumWalls(), 4) << "pass " << pass;
  }
  BrRAGWall* west = map->GetCell(2, 2)->GetWall(0);
  EXPECT_EQ(west->m_Start, BrVector(0, 96, 25.6f));
  EXPECT_EQ(west->m_End, BrVector(0, 96, 102.4f));
  EXPECT_EQ(west->m_Plane.Normal(), BrVector(1, 0, 0));
  EXPECT_FLOAT_EQ(west->m_Plane.Displacement(), 0.0f);
  EXPECT_EQ(map->GetCell(2, 2)->GetWall(1)->m_Plane.Normal(), BrVector(-1, 0, 0));
  EXPECT_EQ(map->GetCell(2, 2)->GetWall(3)->m_Plane.Normal(), BrVector(0, 0, -1));

  // A level too large for 16-bit indices is refused whole, once logged: no cell keeps a floor or a wall.
  map->DestroyGeometry();
  map->InitGrid(130, 130);
  for (int x = 0; x < 130; ++x)
    for (int y = 0; y < 130; ++y) map->Open(x, y);
  EXPECT_FALSE(map->BuildCellGeometry());
  EXPECT_EQ(map->NumVertices(), 0);
  EXPECT_EQ(map->GetCell(0, 0)->GetTriCount(), 0);
  EXPECT_EQ(world.folder.CountLines("too large for 16-bit indices"), 1);
  // One that fits is built whole.
  map->InitGrid(100, 100);
  for (int x = 0; x < 100; ++x)
    for (int y = 0; y < 100; ++y) map->Open(x, y);
  EXPECT_TRUE(map->BuildCellGeometry());
  EXPECT_EQ(map->NumVertices(), 100 * 100 * 4 + 4 * 100 * 4);
}

TEST(BrRAGMapGeometry, SweptTracePushesOffWallsWithoutEverLosingThePosition) {
  GridWorld world;
  GridTestMap* map = world.Map();
  map->InitGrid(4, 4);
  map->Open(2, 2);  // spans x 0..128, z 0..128
  map->Collide();
  BrVector hit;
  int depth = 3;
  map->Trace(BrVector(64, 0, 64), BrVector(10, 0, 64), 32, 1, hit, depth, nullptr);
  EXPECT_EQ(hit, BrVector(10, 0, 64));
  EXPECT_EQ(depth, 3);
  depth = 0;
  map->Trace(BrVector(64, 0, 64), BrVector(60, 0, 64), 32, 2, hit, depth, nullptr);
  EXPECT_EQ(hit, BrVector(60, 0, 64));
  EXPECT_EQ(depth, 0);

  // Straight at the west wall: each pass pushes one unit back and the stretch restores the length.
  depth = 0;
  map->Trace(BrVector(64, 0, 64), BrVector(10, 0, 64), 32, 2, hit, depth, nullptr);
  EXPECT_EQ(depth, 10);
  EXPECT_EQ(hit, BrVector(11, 0, 64));

  // A one-unit move head-on into the wall lands the first push on the start point.
  depth = 0;
  map->Trace(BrVector(11, 0, 64), BrVector(10, 0, 64), 32, 2, hit, depth, nullptr);
  EXPECT_TRUE(Finite(hit));
  EXPECT_GT(hit.x, 10.0f);
  EXPECT_NEAR(hit.z, 64.0f, 1e-3f);

  // Into the corner: both walls push, and the result stays finite and inside the cell.
  depth = 0;
  map->Trace(BrVector(20, 0, 20), BrVector(10, 0, 10), 32, 2, hit, depth, nullptr);
  EXPECT_TRUE(Finite(hit));
  EXPECT_GT(hit.x, 0.0f);
  EXPECT_GT(hit.z, 0.0f);

  // A far jump off the grid examines only the grid's cells and keeps the end point.
  depth = 0;
  map->Trace(BrVector(64, 0, 64), BrVector(1.0e7f, 0, 64), 32, 2, hit, depth, nullptr);
  EXPECT_EQ(depth, 0);
}

TEST(BrRAGMapSight, LineOfSightVisibilityAndExploration) {
  GridWorld world;
  GridTestMap* map = world.Map();
  map->InitGrid(8, 8);
  for (int x = 1; x <= 6; ++x) map->Open(x, 1);  // a corridor along row 1
  map->Open(6, 2);                               // a step down at its end
  map->Open(5, 3);                               // touching (6, 2) at a corner only
  map->Regenerate(1, 1);
  BrVector a, b, c, d, e;
  map->CellCentre(1, 1, &a);
  map->CellCentre(6, 1, &b);
  map->CellCentre(1, 3, &c);
  map->CellCentre(6, 2, &d);
  map->CellCentre(5, 3, &e);
  EXPECT_TRUE(map->CellTrace(&a, &b));
  EXPECT_FALSE(map->CellTrace(&a, &c));
  EXPECT_FALSE(map->CellTrace(&d, &e));  // both corner cells solid
  map->Open(5, 2);
  EXPECT_TRUE(map->CellTrace(&d, &e));  // one corner open lets the diagonal through
  BrVector off(5000, 0, 0);
  EXPECT_FALSE(map->CellTrace(&a, &off));

  map->Regenerate(1, 1);
  BrRAGPlayer* player = new BrRAGPlayer();
  world.game->playerID = map->AddObject(player);
  map->CalcVisibleCells(1, 1, 0.0f);
  EXPECT_EQ(map->VisibleCells().GetCount(), 0);
  map->CalcVisibleCells(1, 1, 256.0f);  // reaches 4 cells
  EXPECT_TRUE(map->GetCell(5, 1)->IsVisible());
  EXPECT_FALSE(map->GetCell(6, 1)->IsVisible());
  EXPECT_TRUE(map->GetCell(5, 1)->IsExplored());
  const int seen = map->GetExploredCount();
  EXPECT_EQ(seen, 5);
  map->CalcVisibleCells(1, 1, 0.0f);  // radius 0 keeps last frame's cells
  EXPECT_EQ(map->VisibleCells().GetCount(), seen);
  EXPECT_FALSE(map->GetExplored());
  map->CalcVisibleCells(6, 1, 1024.0f);
  map->CalcVisibleCells(5, 3, 1024.0f);
  EXPECT_EQ(map->GetExploredCount(), map->GetOccupiedCount());
  EXPECT_TRUE(map->GetExplored());
  EXPECT_EQ(player->GetMapsExploredCount(), 1);  // told once, when the last cell was first seen
  map->CalcVisibleCells(1, 1, 1024.0f);
  map->RevealAllToMiniMap();
  EXPECT_EQ(player->GetMapsExploredCount(), 1);

  // A new level: revealing it all tells the player once more and shows every cell on the minimap.
  map->Regenerate(2, 2);
  EXPECT_FALSE(map->GetExplored());
  map->RevealAllToMiniMap();
  map->RevealAllToMiniMap();
  EXPECT_EQ(player->GetMapsExploredCount(), 2);
  EXPECT_TRUE(map->GetCell(0, 7)->IsExplored());
}

TEST(BrRAGMapSight, PointCheckTestsSolidCellsAndCollidingEntities) {
  GridWorld world;
  GridTestMap* map = world.Map();
  map->InitGrid(6, 6);
  for (int x = 1; x <= 3; ++x)
    for (int y = 1; y <= 3; ++y) map->Open(x, y);
  BrVector centre;
  map->CellCentre(1, 1, &centre);
  EXPECT_TRUE(map->PointCheck(centre, 10, eCollideNone, nullptr));
  EXPECT_TRUE(map->PointCheck(centre, 10, eCollideWorld, nullptr));  // cells (1..2, 1..2)
  map->CellCentre(3, 3, &centre);
  EXPECT_FALSE(map->PointCheck(centre, 10, eCollideWorld, nullptr));  // reaches the solid column 4
  BrVector off(9000, 0, 0);
  EXPECT_FALSE(map->PointCheck(off, 10, eCollideAlways, nullptr));

  map->CellCentre(2, 2, &centre);
  struct Blocker : BrActor {
    Blocker() { m_uiCollideFlags = eEntityCollideOther | eEntityCollideAlways; }
  };
  BrActor* blocker = new Blocker();
  blocker->Init();
  blocker->SetDrawScale(BrVector(10, 10, 10));
  blocker->Location() = centre + BrVector(20, 0, 0);
  map->AddObject(blocker);
  EXPECT_FALSE(map->PointCheck(centre, 16, eCollideOther, nullptr));  // 20 apart, radii 16 + 10
  EXPECT_TRUE(map->PointCheck(centre, 8, eCollideOther, nullptr));    // radii 8 + 10
  EXPECT_TRUE(map->PointCheck(centre, 16, eCollideWorld, nullptr));   // the world bit alone ignores entities
  EXPECT_TRUE(map->PointCheck(centre, 16, eCollideOther, blocker));
  blocker->Destroy();
  EXPECT_TRUE(map->PointCheck(centre, 16, eCollideOther, nullptr));
}

TEST(BrRAGMapDraw, VisibleCellsAreDrawnInBatchesTheIndexBufferHolds) {
  GridWorld world;
  RecordingRenderDevice device;
  device.Init();
  GridTestMap* map = world.Map();
  map->InitGrid(50, 50);
  for (int x = 0; x < 50; ++x)
    for (int y = 0; y < 50; ++y) map->Open(x, y);
  map->Regenerate(1, 1);
  map->Build(&device);
  map->AddFloorEffector(7);
  BrActor* player = new BrActor();
  player->Init();
  world.game->playerID = map->AddObject(player);
  map->ToggleRenderAllGeometry();
  map->Draw(&device);
  int triangles = 0;
  int batches = 0;
  for (const RecordingRenderDevice::Draw& draw : device.draws) {
    if (!draw.indexed) continue;
    ++batches;
    EXPECT_LE(draw.primitiveCount * 3, BrRAGMap::ciIndexBufferSize);
    EXPECT_EQ(draw.stride, 36u);
    EXPECT_EQ(draw.fvf, 0x152ul);
    EXPECT_EQ(draw.effector, 7u);
    triangles += draw.primitiveCount;
  }
  EXPECT_EQ(triangles, 2 * 2500 + 2 * 200);  // every floor and the walls of the border
  EXPECT_GE(batches, 2);
  map->DestroyGeometry();
  device.Exit();
}

// The cells seen from where the player stands are kept between frames: a wall opened, a step into another cell
// or a rebuilt level must still show what a fresh look would.
TEST(BrRAGMapDraw, WhatIsSeenFollowsOpenedCellsAndThePlayersSteps) {
  GridWorld world;
  RecordingRenderDevice device;
  device.Init();
  GridTestMap* map = world.Map();
  map->InitGrid(12, 5);
  for (int x = 1; x <= 3; ++x) map->Open(x, 1);
  for (int x = 5; x <= 7; ++x) map->Open(x, 1);  // beyond the solid cell (4, 1)
  map->Open(1, 2);
  map->Open(1, 3);
  map->Regenerate(1, 1);
  map->Build(&device);
  BrActor* player = new BrActor();
  player->Init();
  world.game->playerID = map->AddObject(player);
  map->CellCentre(1, 1, &player->Location());
  auto drawnTriangles = [&]() {
    device.draws.clear();
    map->Draw(&device);
    int triangles = 0;
    for (const RecordingRenderDevice::Draw& draw : device.draws)
      if (draw.indexed) triangles += draw.primitiveCount;
    return triangles;
  };
  const int closed = drawnTriangles();
  EXPECT_GT(closed, 0);
  EXPECT_EQ(drawnTriangles(), closed);  // the same frame again draws the same
  EXPECT_FALSE(map->GetCell(6, 1)->IsVisible());

  map->Open(4, 1);  // the wall gives way, with no geometry of its own yet
  const int opened = drawnTriangles();
  EXPECT_TRUE(map->GetCell(6, 1)->IsVisible());
  EXPECT_TRUE(map->GetCell(6, 1)->IsExplored());
  EXPECT_GT(opened, closed);

  map->Build(&device);  // the opened cell's own floor and the walls around it change
  const int rebuilt = drawnTriangles();
  EXPECT_NE(rebuilt, opened);

  // A step down the side passage: the corridor's far end drops out of sight.
  map->CellCentre(1, 3, &player->Location());
  drawnTriangles();
  EXPECT_FALSE(map->GetCell(6, 1)->IsVisible());
  EXPECT_TRUE(map->GetCell(1, 2)->IsVisible());
  map->CellCentre(1, 1, &player->Location());
  EXPECT_EQ(drawnTriangles(), rebuilt);
  map->DestroyGeometry();
  device.Exit();
}

TEST(BrRAGMapPaths, NodesSnapToTheirCellCentres) {
  GridWorld world;
  GridTestMap* map = world.Map();
  map->InitGrid(4, 4);
  map->Open(1, 1);
  map->Open(2, 1);
  map->PathNodes().Add(BrPathNode(BrVector(1, 0, 1)));
  map->PathNodes().Add(BrPathNode(BrVector(2, 0, 1)));
  map->Paths();
  EXPECT_EQ(map->PathNodes()[0].Position(), BrVector(-64, 32, -64));
  EXPECT_EQ(map->PathNodes()[1].Position(), BrVector(64, 32, -64));
  EXPECT_EQ(world.folder.CountLines("DEBUG: 2 nodes in path network"), 1);
}

TEST(BrRAGMapDump, GridImageColoursFloorsAndRefusesUnknownTypes) {
  GridWorld world;
  GridTestMap* map = world.Map();
  map->InitGrid(4, 2);
  for (int i = 0; i < 8; ++i) map->Open(i % 4, i / 4, unsigned(i));
  char good[] = "grid.tga";
  map->ExportGridToTGA(good);
  const std::vector<char> image = RunFolder::ReadBytes(world.folder.root / "grid.tga");
  ASSERT_EQ(image.size(), 18u + 8u * 3u);
  EXPECT_EQ(uint8_t(image[12]), 4);
  EXPECT_EQ(uint8_t(image[14]), 2);
  map->Open(0, 0, 10);
  char bad[] = "bad.tga";
  map->ExportGridToTGA(bad);
  EXPECT_FALSE(std::ifstream((world.folder.root / "bad.tga").string()).good());
  EXPECT_EQ(world.folder.CountLines("no colour for floor type 10"), 1);
}

}  // namespace
