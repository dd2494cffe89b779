// Tests of game objects and the object manager: ids, ownership by id, persistence and garbage collection.
#include "engine/kernel/BrObjectMgr.h"

#include <gtest/gtest.h>

#include <cmath>
#include <vector>

#include "core/BrBin.h"
#include "engine/kernel/BrGameObj.h"
#include "templates/BrArchiveOps.h"
#include "WorldTestSupport.h"

using namespace brworld;

namespace {
BrGameObj* Add(BrMap* map, bool persistent = false) {
  BrGameObj* o = new BrGameObj();
  o->SetPersistent(persistent);
  map->AddObject(o);
  return o;
}
}  // namespace

TEST(BrObjectMgr, IdsAreHandedOutInOrderAndNeverReusedUntilEverythingGoes) {
  ScopedApp app(new BrApplication());
  BrMap* map = app.Map();
  ASSERT_NE(map, nullptr);
  EXPECT_EQ(map->AddObject(nullptr), -1);
  EXPECT_EQ(map->NumObjects(), 0);
  BrGameObj* a = Add(map);
  BrGameObj* b = Add(map, true);
  EXPECT_EQ(a->GetID(), 0);
  EXPECT_EQ(b->GetID(), 1);
  EXPECT_EQ(map->GetObjectA(0), a);
  EXPECT_EQ(map->GetObjectA(1), b);

  a->Destroy();
  map->Unload();
  EXPECT_EQ(map->NumObjects(), 2);  // ids issued, not live objects
  EXPECT_EQ(map->ObjectMgr().GetNumLiveObjects(), 1);
  EXPECT_FALSE(map->GetObjectA(0)->IsValid());
  EXPECT_STREQ(map->GetObjectA(0)->GetName(), "NullObject");
  EXPECT_EQ(map->GetObjectA(1), b);  // the survivor moved to slot 0 but keeps its id
  BrGameObj* c = Add(map);
  EXPECT_EQ(c->GetID(), 2);
  EXPECT_STREQ(map->GetObjectA(-1)->GetName(), "NullObject");
  EXPECT_FALSE(map->GetObjectA(99)->IsValid());

  map->ObjectMgr().DestroyAllObjects();
  EXPECT_EQ(map->NumObjects(), 0);
  EXPECT_EQ(Add(map)->GetID(), 0);
}

TEST(BrObjectMgr, OwnershipIsKeptOnBothSidesAndCutByDestroy) {
  ScopedApp app(new BrApplication());
  BrMap* map = app.Map();
  BrGameObj* owner = Add(map);
  BrGameObj* child = Add(map);
  BrGameObj* other = Add(map);
  EXPECT_TRUE(child->SetOwner(owner->GetID()));
  EXPECT_EQ(child->GetOwner(), owner->GetID());
  ASSERT_EQ(owner->GetNumChildren(), 1);
  EXPECT_EQ(owner->GetChild(0), child->GetID());

  EXPECT_TRUE(child->SetOwner(other->GetID()));  // moves: the old owner forgets it
  EXPECT_EQ(owner->GetNumChildren(), 0);
  EXPECT_EQ(other->GetChild(0), child->GetID());
  EXPECT_TRUE(child->SetOwner(other->GetID()));  // twice: still one entry
  EXPECT_EQ(other->GetNumChildren(), 1);

  EXPECT_TRUE(child->SetOwner(-1));
  EXPECT_EQ(child->GetOwner(), -1);
  EXPECT_EQ(other->GetNumChildren(), 0);

  // An owner id that resolves to nothing is stored, but nobody gains a child.
  EXPECT_TRUE(child->SetOwner(77));
  EXPECT_EQ(child->GetOwner(), 77);
  child->SetOwner(owner->GetID());

  BrGameObj* grandchild = Add(map);
  grandchild->SetOwner(child->GetID());
  child->Destroy();
  EXPECT_FALSE(child->IsValid());
  EXPECT_EQ(owner->GetNumChildren(), 0);
  EXPECT_EQ(grandchild->GetOwner(), -1);
  EXPECT_EQ(child->GetNumChildren(), 0);
}

TEST(BrObjectMgr, OwnershipNeedsAnApplicationWithAMap) {
  BrGameObj loose;
  EXPECT_FALSE(loose.SetOwner(3));
  EXPECT_EQ(loose.GetOwner(), -1);
  ScopedApp app(new BrApplication(), false);
  EXPECT_FALSE(loose.SetOwner(3));
  EXPECT_FALSE(loose.IsPersistent());
}

TEST(BrObjectMgr, PersistenceFollowsOwnersAndEndsOnACycle) {
  ScopedApp app(new BrApplication());
  BrMap* map = app.Map();
  BrGameObj* root = Add(map, true);
  BrGameObj* mid = Add(map);
  BrGameObj* leaf = Add(map);
  BrGameObj* loose = Add(map);
  mid->SetOwner(root->GetID());
  leaf->SetOwner(mid->GetID());
  EXPECT_TRUE(leaf->IsPersistent());
  EXPECT_FALSE(loose->IsPersistent());

  map->Unload();
  EXPECT_TRUE(root->IsValid());
  EXPECT_TRUE(mid->IsValid());
  EXPECT_TRUE(leaf->IsValid());
  EXPECT_FALSE(map->GetObjectA(3)->IsValid());
  EXPECT_EQ(map->ObjectMgr().GetNumLiveObjects(), 3);

  // Two objects that own each other (as a corrupt save could make them) are simply not persistent.
  BrGameObj* x = Add(map);
  BrGameObj* y = Add(map);
  x->SetOwner(y->GetID());
  y->SetOwner(x->GetID());
  EXPECT_FALSE(x->IsPersistent());
  BrGameObj* self = Add(map);
  self->SetOwner(self->GetID());
  EXPECT_FALSE(self->IsPersistent());
  map->Unload();
  EXPECT_EQ(map->ObjectMgr().GetNumLiveObjects(), 3);
}

// A subclass whose Destroy forgets its base's: the collector reports it, then frees it and its id anyway.
class ForgottenObj : public BrGameObj {
public:
  explicit ForgottenObj(int* deleted) : m_pDeleted(deleted) { SetName("ForgottenObj"); }
  ~ForgottenObj() override { ++*m_pDeleted; }
  void Destroy() override { ++m_iTold; }
  int m_iTold = 0;
  int* m_pDeleted;
};

TEST(BrObjectMgr, GarbageCollectionReportsAndFreesLeakedObjects) {
  RunFolder folder;
  ScopedApp app(new BrApplication());
  BrMap* map = app.Map();
  int deleted = 0;
  BrGameObj* keep = Add(map, true);
  BrGameObj* gone = Add(map);
  gone->Destroy();
  map->AddObject(new ForgottenObj(&deleted));
  BrGameObj* after = Add(map, true);
  map->Unload();
  EXPECT_EQ(deleted, 1);
  EXPECT_EQ(folder.CountLines("PLEASE REPORT: Memory Leak! Super::Destroy() missed on type ForgottenObj"), 1);
  EXPECT_FALSE(map->GetObjectA(2)->IsValid());
  EXPECT_FALSE(map->GetObjectA(1)->IsValid());
  EXPECT_EQ(map->GetObjectA(0), keep);
  EXPECT_EQ(map->GetObjectA(3), after);
  EXPECT_EQ(map->ObjectMgr().GetNumLiveObjects(), 2);
  map->Unload();
  EXPECT_EQ(folder.CountLines("PLEASE REPORT"), 1);
}

namespace {
// Writes an object-manager stream of one object recorded under className (id 0 in slot 0, a BrGameObj's data)
// under the given id table.
void WriteOneObjectStream(const char* path, std::vector<int32_t> table, const char* className = "BrGameObj") {
  BrBin out;
  ASSERT_TRUE(out.Open(path, 0));
  TDArray<int32_t> ids;
  for (int32_t slot : table) ids.Add(slot);
  ids.Serialize(out);
  int32_t n = 1, slot = 0, id = 0;
  BrStringT<char> name(className);
  out << n << name << slot << id;
  BrGameObj o;
  o.SetID(0);
  o.Serialize(out);
  ASSERT_TRUE(out.Close());
}
}  // namespace

TEST(BrObjectMgr, LoadingRefusesTwoIdsForOneSlotAndMapsInsideMaps) {
  RunFolder folder;
  WriteOneObjectStream("Media\\one.bin", {0});
  WriteOneObjectStream("Media\\shared.bin", {0, 0});
  WriteOneObjectStream("Media\\nested.bin", {0}, "BrMap");
  BrObjectMgr mgr;
  {
    BrBin in;
    in.Loading();
    ASSERT_TRUE(in.Open("Media\\one.bin", 0));
    mgr.Serialize(in);
    EXPECT_FALSE(in.HasFailed());
    EXPECT_EQ(mgr.GetNumObjects(), 1);
    EXPECT_TRUE(mgr.GetObjectA(0)->IsValid());
  }
  for (const char* bad : {"Media\\shared.bin", "Media\\nested.bin"}) {
    BrBin in;
    in.Loading();
    ASSERT_TRUE(in.Open(bad, 0));
    mgr.Serialize(in);
    EXPECT_TRUE(in.HasFailed()) << bad;
    EXPECT_EQ(mgr.GetNumObjects(), 0);
    EXPECT_EQ(mgr.GetNumLiveObjects(), 0);
  }
  EXPECT_EQ(folder.CountLines("ERROR: Saved object BrMap is a map inside a map"), 1);
}

// A stream may put a later id in an earlier slot: walks that draw by slot must then hear that slot order is not
// id order, and a manager emptied afterwards starts in order again.
TEST(BrObjectMgr, ASaveWithIdsOutOfSlotOrderIsFlagged) {
  RunFolder folder;
  BrObjectMgr mgr;
  EXPECT_TRUE(mgr.LiveSlotsInIDOrder());
  {
    BrBin out;
    ASSERT_TRUE(out.Open("Media\\swapped.bin", 0));
    TDArray<int32_t> ids;
    ids.Add(1);
    ids.Add(0);
    ids.Serialize(out);
    int32_t n = 2;
    out << n;
    for (int32_t slot : {0, 1}) {
      BrStringT<char> name("BrGameObj");
      int32_t id = 1 - slot;
      out << name << slot << id;
      BrGameObj o;
      o.SetID(id);
      o.Serialize(out);
    }
    ASSERT_TRUE(out.Close());
  }
  BrBin in;
  in.Loading();
  ASSERT_TRUE(in.Open("Media\\swapped.bin", 0));
  mgr.Serialize(in);
  ASSERT_FALSE(in.HasFailed());
  EXPECT_EQ(mgr.GetLiveObject(0)->GetID(), 1);
  EXPECT_FALSE(mgr.LiveSlotsInIDOrder());
  mgr.DestroyAllObjects();
  EXPECT_TRUE(mgr.LiveSlotsInIDOrder());
}

// A save can claim far more ids than objects; two objects that own each other must not send the persistence
// test down one call per claimed id.
TEST(BrObjectMgr, AnOwnershipLoopUnderAHugeIdTableEndsShallow) {
  RunFolder folder;
  ScopedApp app(new BrApplication());
  BrMap* source = app.Map();
  BrGameObj* x = Add(source);
  BrGameObj* y = Add(source);
  x->SetOwner(y->GetID());
  y->SetOwner(x->GetID());
  {
    BrBin out;
    ASSERT_TRUE(out.Open("Media\\loop.bin", 0));
    TDArray<int32_t> ids;
    ids.Add(0);
    ids.Add(1);
    for (int i = 0; i < 1000000; ++i) ids.Add(-1);
    ids.Serialize(out);
    int32_t n = 2;
    out << n;
    for (BrGameObj* o : {x, y}) {
      BrStringT<char> name("BrGameObj");
      int32_t slot = o->GetID(), id = o->GetID();
      out << name << slot << id;
      o->Serialize(out);
    }
    ASSERT_TRUE(out.Close());
  }
  BrMap loaded;
  BrWorldMapScope scope(&loaded);
  BrBin in;
  in.Loading();
  ASSERT_TRUE(in.Open("Media\\loop.bin", 0));
  loaded.ObjectMgr().Serialize(in);
  ASSERT_FALSE(in.HasFailed());
  ASSERT_GT(loaded.NumObjects(), 1000000);
  EXPECT_FALSE(loaded.GetObjectA(0)->IsPersistent());
  loaded.Unload();
  EXPECT_EQ(loaded.ObjectMgr().GetNumLiveObjects(), 0);
}

TEST(BrGameObj, TurnsAndLooksAt) {
  BrGameObj o;
  o.YawBy(90.0f);
  EXPECT_NEAR(o.GetCoords().Z.x, 1.0f, 1e-5f);
  EXPECT_NEAR(o.GetCoords().Z.z, 0.0f, 1e-5f);
  EXPECT_NEAR(o.GetCoords().Y.y, 1.0f, 1e-5f);
  o.PitchBy(-90.0f);
  EXPECT_NEAR(std::fabs(o.GetCoords().Z.y), 1.0f, 1e-5f);

  BrGameObj target;
  target.Location() = BrVector(10, 0, 0);
  BrGameObj viewer;
  viewer.LookAt(&target);
  EXPECT_NEAR(viewer.GetCoords().Z.x, 1.0f, 1e-5f);
  EXPECT_NEAR(viewer.GetCoords().X.z, -1.0f, 1e-5f);  // right = up x direction
  EXPECT_NEAR(viewer.GetCoords().Y.y, 1.0f, 1e-5f);
  EXPECT_TRUE(viewer.Location() == BrVector(0, 0, 0));
  // A point at its own position gives no direction: the way it faces is kept, with no NaN.
  const BrCoords before = viewer.GetCoords();
  viewer.LookAt(&viewer.Location());
  EXPECT_TRUE(viewer.GetCoords().Z == before.Z);
  EXPECT_TRUE(viewer.GetCoords().X == before.X);
  EXPECT_TRUE(viewer.GetCoords().Y == before.Y);
  // Straight up still gives a square frame.
  BrVector above(0, 50, 0);
  viewer.LookAt(&above);
  EXPECT_NEAR(viewer.GetCoords().Z.y, 1.0f, 1e-5f);
  EXPECT_NEAR(viewer.GetCoords().X.Size(), 1.0f, 1e-5f);
  EXPECT_NEAR(viewer.GetCoords().X | viewer.GetCoords().Z, 0.0f, 1e-5f);
  viewer.LookAt(&target);

  // Many small rolls keep the frame orthonormal.
  for (int i = 0; i < 500; ++i) viewer.RollBy(7.3f);
  const BrCoords& f = viewer.GetCoords();
  EXPECT_NEAR(f.X | f.Y, 0.0f, 1e-4f);
  EXPECT_NEAR(f.Y.Size(), 1.0f, 1e-4f);
}
