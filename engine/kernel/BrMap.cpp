// BrMap: stepping, drawing, unloading, the archive form and the path network of the base map.
#include "engine/kernel/BrMap.h"

#include "core/BrBin.h"
#include "core/BrLogFile.h"
#include "engine/kernel/BrDemoEntity.h"
#include "engine/kernel/BrLevelInfo.h"
#include "engine/presentation/BrRenderBase.h"
#include "templates/BrArchiveOps.h"

BR_IMPLEMENT_CLASS(BrMap, BrGameObj)

BrMap::BrMap() : m_bTimingInfo(false), m_bGridDebug(false), m_bCollisionDebug(false) {}

BrMap::~BrMap() { BrMap::Destroy(); }

// A saved path node holds no bytes, so only the size of the file bounds the node count the array header may
// claim: a large file could ask for gigabytes of nodes. A header beyond any real network fails the load first.
bool BrMap::PathHeaderFits(BrBin& bin) {
  int64_t pos = 0;
  if (!bin.GetPos(pos)) return true;
  int32_t capacity = 0;
  int32_t count = 0;
  bin << capacity << count;
  const bool read = !bin.HasFailed();
  bin.SetPos(pos);
  if (!read || capacity <= ciMaxPathNodes) return true;
  GLog.printf("ERROR: Saved map in %s claims %i path nodes, more than %i", bin.GetFullPath(), int(capacity),
              int(ciMaxPathNodes));
  bin.MarkFailed(nullptr);
  return false;
}

void BrMap::Serialize(BrBin& bin) {
  BrGameObj::Serialize(bin);
  if (bin.IsLoading() && !bin.HasFailed()) PathHeaderFits(bin);
  m_PathNodes.Serialize(bin);
  bin << m_bTimingInfo;
  {
    // The objects being read belong to this map, whichever map the application shows meanwhile.
    BrWorldMapScope scope(this);
    m_ObjectMgr.Serialize(bin);
  }
  bin << m_bGridDebug;
  bin << m_bCollisionDebug;
}

bool BrMap::Init() {
  BrGameObj::Init();
  Destroy();
  m_ObjectMgr.Init();
  return true;
}

void BrMap::Step(float dt) {
  // The objects alive when the step began, in id order; those made meanwhile take later ids and wait for the
  // next step. Ids of objects long gone are not visited, so a long game's step costs what its live objects do.
  const int issued = NumObjects();
  const uint32_t generation = m_ObjectMgr.SlotGeneration();
  const int count = m_ObjectMgr.WalkCount();
  for (int i = 0; i < count; ++i) {
    BrGameObj* object = m_ObjectMgr.WalkObject(i);
    if (!object) continue;
    const int id = object->GetID();
    if (id >= issued) break;
    if (object->IsValid()) object->Step(dt);
    if (m_ObjectMgr.SlotGeneration() != generation) {
      // The slots moved under the walk: the rest go by id, from the one after this.
      for (int next = id + 1; next < issued; ++next) {
        BrGameObj* rest = GetObjectA(next);
        if (rest->IsValid()) rest->Step(dt);
      }
      return;
    }
  }
}

void BrMap::Destroy() {
  BrWorldMapScope scope(this);
  m_ObjectMgr.Destroy();
}

void BrMap::Draw(BrRenderBase* render) {
  DrawObjects(render);
  // The objects only queued their billboards; they are drawn together, farthest first, once all are queued.
  if (render) render->drawAllBillboards();
  BrGameObj::Draw(render);
}

void BrMap::PerfDraw(BrRenderBase*) {}

void BrMap::DrawObjects(BrRenderBase* render) {
  if (!render) return;
  // In id order either way; the live slots skip the ids of objects already gone.
  for (int i = 0; i < m_ObjectMgr.WalkCount(); ++i) {
    BrGameObj* object = m_ObjectMgr.WalkObject(i);
    if (object && object->IsValid()) object->Draw(render);
  }
}

void BrMap::Reset() {}

void BrMap::Unload() {
  BrWorldMapScope scope(this);
  m_ObjectMgr.DestroyNonPersistentObjects();
}

bool BrMap::CellTrace(const BrVector*, const BrVector*) { return false; }

bool BrMap::PointCheck(const BrVector&, float, eCollideFlags, BrDemoEntity*) { return false; }

void BrMap::Trace(const BrVector& start, const BrVector& end, float radius, unsigned int flags, BrVector& hit,
                  int& depth, BrDemoEntity* entity) {
  hit = end;
  if ((flags & 3u) && depth < 10) {
    ++depth;
    const BrVector again = hit;
    Trace(start, again, radius, flags, hit, depth, entity);
  }
}

BrDemoEntity* BrMap::SpawnScripted(const BrStringT<char>&) { return nullptr; }

BrGameObj* BrMap::SpawnMutator(const BrStringT<char>&, BrStringT<char>&) { return nullptr; }

void BrMap::RevealAllToMiniMap() {}

BrLevelInfo* BrMap::GetLevelInfo() {
  for (int i = 0; i < m_ObjectMgr.WalkCount(); ++i) {
    BrGameObj* object = m_ObjectMgr.WalkObject(i);
    if (object && object->IsA(BrLevelInfo::Type)) return static_cast<BrLevelInfo*>(object);
  }
  return nullptr;
}

bool BrMap::ToggleTimingInfo() {
  m_bTimingInfo = !m_bTimingInfo;
  return m_bTimingInfo;
}

void BrMap::ToggleDebugInfo(const BrStringT<char>& name) {
  if (name == BrStringT<char>("Grid"))
    m_bGridDebug = !m_bGridDebug;
  else if (name == BrStringT<char>("Collision"))
    m_bCollisionDebug = !m_bCollisionDebug;
}

bool BrMap::IsDebugInfoOn(const BrStringT<char>& name) const {
  if (name == BrStringT<char>("Grid")) return m_bGridDebug;
  if (name == BrStringT<char>("Collision")) return m_bCollisionDebug;
  return false;
}

bool BrMap::BuildPaths() {
  bool result = true;
  for (int i = 0; i < m_PathNodes.GetCount(); ++i) {
    // Built afresh each time, so building twice links each pair once.
    m_PathNodes[i].Links().Clear();
    bool found = false;
    for (int j = 0; j < m_PathNodes.GetCount(); ++j) {
      if (j == i) continue;
      if (CellTrace(&m_PathNodes[i].Position(), &m_PathNodes[j].Position())) {
        found = true;
        BrPathLink link;
        link.iNode = j;
        link.fDistance = (m_PathNodes[j].Position() - m_PathNodes[i].Position()).Size();
        m_PathNodes[i].Links().Add(link);
      }
    }
    m_PathNodes[i].Links().FreeExtra();
    if (!found) result = false;
  }
  return result;
}

void BrMap::ValidatePaths() {
  // Dropping nodes moves the later ones down: links are renumbered to the new indices, and links to dropped
  // nodes go with them.
  TDArray<int32_t> newIndex;
  TDArray<BrPathNode> kept;
  for (int i = 0; i < m_PathNodes.GetCount(); ++i) {
    newIndex.Add(m_PathNodes[i].Value() == 0 ? kept.GetCount() : -1);
    if (m_PathNodes[i].Value() == 0) kept.Add(m_PathNodes[i]);
  }
  m_PathNodes.Clear();
  for (int i = 0; i < kept.GetCount(); ++i) {
    kept[i].Position().y = 32.0f;
    TDArray<BrPathLink> links;
    for (int k = 0; k < kept[i].Links().GetCount(); ++k) {
      BrPathLink link = kept[i].Links()[k];
      if (link.iNode < 0 || link.iNode >= newIndex.GetCount() || newIndex[link.iNode] < 0) continue;
      link.iNode = newIndex[link.iNode];
      links.Add(link);
    }
    kept[i].Links() = links;
    m_PathNodes.Add(kept[i]);
  }
  m_PathNodes.FreeExtra();
  GLog.DebugPrintf("DEBUG: Validated %i path nodes in higher level network", m_PathNodes.GetCount());
}
