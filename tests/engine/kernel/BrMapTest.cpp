// Tests of the base map: level-info lookup, debug switches, traces, stepping, drawing and the path network.
#include "engine/kernel/BrMap.h"

#include <gtest/gtest.h>

#include <cstring>
#include <vector>

#include "core/BrBin.h"
#include "engine/kernel/BrDemoEntity.h"
#include "engine/kernel/BrLevelInfo.h"
#include "tests/support/RecordingRenderDevice.h"
#include "WorldTestSupport.h"

using namespace brworld;

namespace {
// Counts its steps; the first step of the first one adds another object.
class StepCounter : public BrGameObj {
public:
  explicit StepCounter(BrMap* map, bool spawn) : m_pMap(map), m_bSpawn(spawn) {}
  void Step(float dt) override {
    BrGameObj::Step(dt);
    ++steps;
    if (m_bSpawn) {
      m_bSpawn = false;
      added = new StepCounter(m_pMap, false);
      m_pMap->AddObject(added);
    }
  }
  int steps = 0;
  StepCounter* added = nullptr;
  BrMap* m_pMap;
  bool m_bSpawn;
};

// Unloads its map in its first step, as a level change made inside a step does.
class StepUnloader : public StepCounter {
public:
  explicit StepUnloader(BrMap* map) : StepCounter(map, false) {}
  void Step(float dt) override {
    StepCounter::Step(dt);
    if (steps == 1) m_pMap->Unload();
  }
};

// Notes its tag in a shared list each time it is drawn.
class DrawTagger : public BrGameObj {
public:
  DrawTagger(std::vector<int>* log, int tag) : m_pLog(log), m_iTag(tag) {}
  void Draw(BrRenderBase* render) override {
    BrGameObj::Draw(render);
    m_pLog->push_back(m_iTag);
  }
  std::vector<int>* m_pLog;
  int m_iTag;
};

// Nodes see each other within 150 units.
class NearSightMap : public BrMap {
public:
  bool CellTrace(const BrVector* from, const BrVector* to) override { return (*to - *from).Size() < 150.0f; }
  using BrMap::BuildPaths;
  using BrMap::ValidatePaths;
};
}  // namespace

TEST(BrMap, FindsTheFirstLevelInfo) {
  ScopedApp app(new BrApplication());
  BrMap* map = app.Map();
  EXPECT_EQ(map->GetLevelInfo(), nullptr);
  map->AddObject(new BrGameObj());
  BrLevelInfo* first = new BrLevelInfo();
  BrLevelInfo* second = new BrLevelInfo();
  map->AddObject(first);
  map->AddObject(second);
  EXPECT_EQ(map->GetLevelInfo(), first);
  first->Destroy();  // a destroyed level info still counts until collected
  EXPECT_EQ(map->GetLevelInfo(), first);
  map->Unload();
  EXPECT_EQ(map->GetLevelInfo(), nullptr);  // nothing was persistent
}

TEST(BrMap, DebugSwitchesCompareNamesExactly) {
  BrMap map;
  EXPECT_TRUE(map.ToggleTimingInfo());
  EXPECT_FALSE(map.ToggleTimingInfo());
  map.ToggleDebugInfo(BrStringT<char>("grid"));
  EXPECT_FALSE(map.IsDebugInfoOn(BrStringT<char>("Grid")));
  map.ToggleDebugInfo(BrStringT<char>("Grid"));
  EXPECT_TRUE(map.IsDebugInfoOn(BrStringT<char>("Grid")));
  EXPECT_FALSE(map.IsDebugInfoOn(BrStringT<char>("Collision")));
  map.ToggleDebugInfo(BrStringT<char>("Collision"));
  EXPECT_TRUE(map.IsDebugInfoOn(BrStringT<char>("Collision")));
  EXPECT_FALSE(map.IsDebugInfoOn(BrStringT<char>("Other")));
}

TEST(BrMap, TraceReturnsTheEndAndRecursesOnlyWithFlags) {
  BrMap map;
  BrVector hit;
  int depth = 0;
  map.Trace(BrVector(0, 0, 0), BrVector(5, 6, 7), 1.0f, 0, hit, depth, nullptr);
  EXPECT_TRUE(hit == BrVector(5, 6, 7));
  EXPECT_EQ(depth, 0);
  map.Trace(BrVector(0, 0, 0), BrVector(1, 2, 3), 1.0f, 1, hit, depth, nullptr);
  EXPECT_EQ(depth, 10);
  depth = 4;
  map.Trace(BrVector(0, 0, 0), BrVector(1, 2, 3), 1.0f, 2, hit, depth, nullptr);
  EXPECT_EQ(depth, 10);
  EXPECT_FALSE(map.CellTrace(&hit, &hit));
  EXPECT_FALSE(map.PointCheck(hit, 1.0f, eCollideWorld, nullptr));
  EXPECT_EQ(map.SpawnScripted(BrStringT<char>("Anything")), nullptr);
}

TEST(BrMap, StepsValidObjectsByIdAndNewcomersNextFrame) {
  ScopedApp app(new BrApplication());
  BrMap* map = app.Map();
  StepCounter* a = new StepCounter(map, true);
  StepCounter* b = new StepCounter(map, false);
  map->AddObject(a);
  map->AddObject(b);
  b->Destroy();
  map->Step(0.1f);
  EXPECT_EQ(a->steps, 1);
  EXPECT_EQ(b->steps, 0);
  ASSERT_NE(a->added, nullptr);
  EXPECT_EQ(a->added->steps, 0);
  map->Step(0.1f);
  EXPECT_EQ(a->added->steps, 1);
}

// An unload inside the step packs the kept objects into other slots; every one alive at the start is still
// stepped exactly once.
TEST(BrMap, AStepThatUnloadsTheMapStillStepsEachKeptObjectOnce) {
  ScopedApp app(new BrApplication());
  BrMap* map = app.Map();
  map->AddObject(new StepCounter(map, false));  // not kept: gone with the unload
  StepUnloader* unloader = new StepUnloader(map);
  StepCounter* after = new StepCounter(map, false);
  map->AddObject(unloader);
  map->AddObject(after);
  unloader->SetPersistent(true);
  after->SetPersistent(true);
  map->Step(0.1f);
  ASSERT_EQ(map->ObjectMgr().GetNumLiveObjects(), 2);
  EXPECT_EQ(unloader->steps, 1);
  EXPECT_EQ(after->steps, 1);
  map->Step(0.1f);
  EXPECT_EQ(unloader->steps, 2);
  EXPECT_EQ(after->steps, 2);
}

// The draw walks live objects only, yet must keep the id order and follow objects added or destroyed mid-level.
TEST(BrMap, DrawsLiveObjectsInIdOrderAsTheyComeAndGo) {
  ScopedApp app(new BrApplication());
  BrMap* map = app.Map();
  RecordingRenderDevice render;
  std::vector<int> drawn;
  BrGameObj* objects[4] = {};
  for (int i = 0; i < 3; ++i) map->AddObject(objects[i] = new DrawTagger(&drawn, i));
  map->Draw(&render);
  EXPECT_EQ(drawn, (std::vector<int>{0, 1, 2}));
  objects[1]->Destroy();
  drawn.clear();
  map->Draw(&render);
  EXPECT_EQ(drawn, (std::vector<int>{0, 2}));
  map->AddObject(objects[3] = new DrawTagger(&drawn, 3));
  objects[2]->SetPersistent(true);
  objects[3]->SetPersistent(true);
  map->Unload();  // the rest are destroyed, the dead collected and the kept packed into fewer slots
  ASSERT_EQ(map->ObjectMgr().GetNumLiveObjects(), 2);
  drawn.clear();
  map->Draw(&render);
  EXPECT_EQ(drawn, (std::vector<int>{2, 3}));
  map->AddObject(new DrawTagger(&drawn, 4));
  drawn.clear();
  map->Draw(&render);
  EXPECT_EQ(drawn, (std::vector<int>{2, 3, 4}));
}

TEST(BrMap, PathNetworkIsValidatedAndLinked) {
  RunFolder folder;
  NearSightMap map;
  EXPECT_TRUE(map.BuildPaths());  // an empty network
  map.PathNodes().Add(BrPathNode(BrVector(0, 0, 0)));
  map.PathNodes().Add(BrPathNode(BrVector(100, 5, 0)));
  BrPathNode excluded(BrVector(50, 0, 0));
  excluded.Value() = 1;
  map.PathNodes().Add(excluded);
  map.PathNodes().Add(BrPathNode(BrVector(1000, 0, 0)));
  map.ValidatePaths();
  ASSERT_EQ(map.PathNodes().GetCount(), 3);
  EXPECT_FLOAT_EQ(map.PathNodes()[1].Position().x, 100.0f);
  EXPECT_FLOAT_EQ(map.PathNodes()[1].Position().y, 32.0f);
  EXPECT_EQ(folder.CountLines("DEBUG: Validated 3 path nodes in higher level network"), 1);

  EXPECT_FALSE(map.BuildPaths());  // the far node sees nobody
  ASSERT_EQ(map.PathNodes()[0].Links().GetCount(), 1);
  EXPECT_EQ(map.PathNodes()[0].Links()[0].iNode, 1);
  EXPECT_FLOAT_EQ(map.PathNodes()[0].Links()[0].fDistance, 100.0f);
  EXPECT_EQ(map.PathNodes()[1].Links().GetCount(), 1);
  EXPECT_EQ(map.PathNodes()[2].Links().GetCount(), 0);

  // Building again links each pair once; validating a linked network (dropping a node moves the later ones,
  // and the array reallocates) leaves links that still name the right nodes.
  map.BuildPaths();
  ASSERT_EQ(map.PathNodes()[0].Links().GetCount(), 1);
  map.PathNodes().Add(BrPathNode(BrVector(0, 0, 50)));  // index 3, near node 0
  map.BuildPaths();
  map.PathNodes()[1].Value() = 1;
  map.ValidatePaths();
  ASSERT_EQ(map.PathNodes().GetCount(), 3);
  ASSERT_EQ(map.PathNodes()[0].Links().GetCount(), 1);  // the link to the dropped node went with it
  EXPECT_EQ(map.PathNodes()[0].Links()[0].iNode, 2);
  EXPECT_FLOAT_EQ(map.PathNodes()[2].Position().z, 50.0f);
  ASSERT_EQ(map.PathNodes()[2].Links().GetCount(), 1);
  EXPECT_EQ(map.PathNodes()[2].Links()[0].iNode, 0);

  NearSightMap allGone;
  BrPathNode off;
  off.Value() = 1;
  allGone.PathNodes().Add(off);
  allGone.ValidatePaths();
  EXPECT_EQ(allGone.PathNodes().GetCount(), 0);
  EXPECT_EQ(folder.CountLines("DEBUG: Validated 0 path nodes in higher level network"), 1);
}

TEST(BrMap, LoadingRefusesAPathNetworkBeyondAnyRealOne) {
  RunFolder folder;
  BrMap saved;
  saved.PathNodes().Add(BrPathNode(BrVector(1, 1, 1)));
  {
    BrBin out;
    ASSERT_TRUE(out.Open("Media\\map.bin", 0));
    saved.Serialize(out);
    ASSERT_TRUE(out.Close());
    BrBin head;
    ASSERT_TRUE(head.Open("Media\\head.bin", 0));
    static_cast<BrGameObj&>(saved).BrGameObj::Serialize(head);
    ASSERT_TRUE(head.Close());
  }
  const size_t at = RunFolder::ReadBytes(folder.root / "Media" / "head.bin").size();
  auto load = [](const char* path) {
    BrMap map;
    BrBin in;
    in.Loading();
    EXPECT_TRUE(in.Open(path, 0));
    map.Serialize(in);
    return in.HasFailed() ? -1 : map.PathNodes().GetCount();
  };
  EXPECT_EQ(load("Media\\map.bin"), 1);

  // A header asking for two million nodes, with the bytes to make the file look able to hold them.
  std::vector<char> bytes = RunFolder::ReadBytes(folder.root / "Media" / "map.bin");
  const int32_t huge = 2 * BrMap::ciMaxPathNodes;
  std::memcpy(bytes.data() + at, &huge, 4);
  bytes.resize(bytes.size() + size_t(huge), 0);
  RunFolder::WriteBytes(folder.root / "Media" / "huge.bin", bytes);
  EXPECT_EQ(load("Media\\huge.bin"), -1);
  EXPECT_EQ(folder.CountLines("path nodes, more than 1048576"), 1);
}

// The map's objects only queue their billboards; drawing the map must also draw them, or no creature, item or
// scenery is ever seen.
TEST(BrMap, DrawingTheMapDrawsTheBillboardsItsObjectsQueued) {
  RecordingRenderDevice render;
  ScopedRenderDevice renderScope(&render);
  render.Init();
  ScopedApp app(new BrApplication());
  BrMap* map = app.Map();
  BrDemoEntity* near = new BrDemoEntity();
  BrDemoEntity* far = new BrDemoEntity();
  map->AddObject(near);
  map->AddObject(far);
  near->Location() = BrVector(0, 0, 100);
  far->Location() = BrVector(0, 0, 900);
  near->Portrait().SetFocus(near);  // as an "Icon" key makes it: the portrait stands where its entity stands
  far->Portrait().SetFocus(far);
  app.Map()->Draw(&render);
  int billboards = 0;
  for (const RecordingRenderDevice::Draw& d : render.draws)
    if (!d.indexed && d.stride == 36 && d.primitiveCount == 2) ++billboards;
  EXPECT_EQ(billboards, 2);
  render.draws.clear();
  app.Map()->Draw(&render);  // the queue was emptied: each frame draws its own billboards once
  billboards = 0;
  for (const RecordingRenderDevice::Draw& d : render.draws)
    if (!d.indexed && d.stride == 36) ++billboards;
  EXPECT_EQ(billboards, 2);
}
