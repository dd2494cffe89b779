// BrObjectMgr: ids and slots, destruction, garbage collection and the object-manager stream of save games.
#include "engine/kernel/BrObjectMgr.h"

#include <vector>

#include "core/BrBin.h"
#include "core/BrLogFile.h"
#include "engine/kernel/BrDemoEntity.h"
#include "engine/kernel/BrEngine.h"
#include "engine/kernel/BrMap.h"
#include "templates/BrArchiveOps.h"

BrObjectMgr::BrObjectMgr() { Init(); }

BrObjectMgr::BrObjectMgr(const BrObjectMgr& other)
    : m_Objects(other.m_Objects),
      m_IDToSlot(other.m_IDToSlot),
      m_NullObject(other.m_NullObject),
      m_bSlotsInIDOrder(other.m_bSlotsInIDOrder) {}

BrObjectMgr& BrObjectMgr::operator=(const BrObjectMgr& other) {
  if (this == &other) return *this;
  m_Objects = other.m_Objects;
  m_IDToSlot = other.m_IDToSlot;
  m_NullObject = other.m_NullObject;
  m_bSlotsInIDOrder = other.m_bSlotsInIDOrder;
  return *this;
}

BrObjectMgr::~BrObjectMgr() { BrObjectMgr::Destroy(); }

bool BrObjectMgr::Init() {
  m_NullObject.Destroy();
  m_NullObject.SetName("NullObject");
  return true;
}

void BrObjectMgr::Destroy() {
  DestroyAllObjects();
  m_NullObject.Destroy();
}

int BrObjectMgr::AddObject(BrGameObj* object) {
  if (!object) return -1;
  const int slot = m_Objects.Add(object);
  const int id = m_IDToSlot.Add(slot);
  object->SetID(id);
  object->PostInit();
  return id;
}

// An emptied entry (while everything is being torn down) resolves like any other dead id.
BrGameObj* BrObjectMgr::GetObjectA(int id) {
  if (id < 0 || id >= m_IDToSlot.GetCount()) return &m_NullObject;
  const int slot = m_IDToSlot[id];
  if (slot < 0 || slot >= m_Objects.GetCount()) return &m_NullObject;
  BrGameObj* object = m_Objects[slot];
  return object ? object : &m_NullObject;
}

int BrObjectMgr::GetNumObjects() const { return m_IDToSlot.GetCount(); }

void BrObjectMgr::DestroyAllObjects() {
  for (int slot = 0; slot < m_Objects.GetCount(); ++slot) {
    BrGameObj* object = m_Objects[slot];
    if (!object) continue;
    object->Destroy();
    // Emptied before the delete, so that the object's own teardown finds it already gone.
    m_Objects[slot] = nullptr;
    delete object;
  }
  CollectGarbage();
  m_Objects.Clear();
  m_IDToSlot.Clear();
  m_bSlotsInIDOrder = true;
  ++m_uiSlotGeneration;
}

void BrObjectMgr::DestroyNonPersistentObjects() {
  for (int slot = 0; slot < m_Objects.GetCount(); ++slot) {
    BrGameObj* object = m_Objects[slot];
    if (object && !object->IsPersistent()) object->Destroy();
  }
  CollectGarbage();
}

void BrObjectMgr::RemapObject(int slot, TDArray<BrGameObj*>* from, TDArray<BrGameObj*>* to) {
  BrGameObj* object = (*from)[slot];
  const int newSlot = to->Add(object);
  const int id = object->GetID();
  if (id >= 0 && id < m_IDToSlot.GetCount()) m_IDToSlot[id] = newSlot;
}

// The table keeps pointing at the old slots until the deletions are done, so that any lookup an object makes
// while it is torn down still finds the right object (or the null object), never a neighbour.
void BrObjectMgr::CollectGarbage() {
  ++m_uiSlotGeneration;
  // A live object that is not kept was missed by whoever should have destroyed it: report it, then finish the
  // job so that neither the object nor its id outlives the collection.
  for (int slot = 0; slot < m_Objects.GetCount(); ++slot) {
    BrGameObj* object = m_Objects[slot];
    if (object && object->IsValid() && !object->IsPersistent()) {
      GLog.printf("PLEASE REPORT: Memory Leak! Super::Destroy() missed on type %s",
                  object->GetName() ? object->GetName() : "");
      object->Destroy();
    }
  }
  // Counted after the reports: an object's Destroy may have added others, which are judged like the rest.
  const int n = m_Objects.GetCount();
  std::vector<char> keep(size_t(n > 0 ? n : 0), 0);
  for (int slot = 0; slot < n; ++slot) {
    BrGameObj* object = m_Objects[slot];
    keep[size_t(slot)] = object && object->IsPersistent() && object->IsValid();
  }
  for (int slot = 0; slot < n; ++slot) {
    BrGameObj* object = m_Objects[slot];
    if (!object || keep[size_t(slot)]) continue;
    const int id = object->GetID();
    if (id >= 0 && id < m_IDToSlot.GetCount() && m_IDToSlot[id] == slot) m_IDToSlot[id] = -1;
    m_Objects[slot] = nullptr;
    delete object;
  }
  TDArray<BrGameObj*> kept;
  for (int slot = 0; slot < n; ++slot)
    if (keep[size_t(slot)]) RemapObject(slot, &m_Objects, &kept);
  m_Objects = kept;
}

void BrObjectMgr::Serialize(BrBin& bin) {
  if (bin.IsLoading()) {
    if (!Load(bin)) {
      DestroyAllObjects();
      bin.MarkFailed("ERROR: Object manager could not load its objects");
    }
    return;
  }
  m_IDToSlot.Serialize(bin);
  int32_t n = m_Objects.GetCount();
  bin << n;
  for (int32_t slot = 0; slot < n; ++slot) {
    BrGameObj* object = m_Objects[slot];
    if (!object) continue;
    BrStringT<char> name(object->GetName());
    int32_t s = slot;
    int32_t id = object->GetID();
    bin << name << s << id;
    object->Serialize(bin);
  }
}

namespace {
// The map's own spawning first (mutators by the rest of their name, scripted kinds by name), then the factory;
// whatever comes back must be a game object.
BrGameObj* SpawnRecorded(const BrStringT<char>& name) {
  BrMap* map = BrGameObj::WorldMap();
  BrGameObj* object = nullptr;
  BrStringT<char> head;
  if (map && name.Length() >= 3 && brGetSubString(name, head, 0, 2) && head == BrStringT<char>("MUT")) {
    BrStringT<char> rest;
    if (name.Length() > 3) brGetSubString(name, rest, 3, name.Length() - 1);
    BrStringT<char> prefix("MUT");
    object = map->SpawnMutator(rest, prefix);
  } else if (map) {
    object = map->SpawnScripted(name);
  }
  if (!object && name.Length() > 0) {
    BrObject* spawned = static_cast<BrObject*>(Engine().Spawn(name.c_str()));
    object = spawned ? static_cast<BrGameObj*>(spawned->SafeCast(&BrGameObj::Type)) : nullptr;
    if (!object) delete spawned;
  }
  // Maps belong to the application, never to another map. A map record would read a whole object stream of
  // its own, so a file could nest maps as deep as its size allows and exhaust the stack while loading.
  if (object && object->IsA(BrMap::Type)) {
    GLog.printf("ERROR: Saved object %s is a map inside a map", name.c_str() ? name.c_str() : "");
    delete object;
    object = nullptr;
  }
  return object;
}
}  // namespace

bool BrObjectMgr::Load(BrBin& bin) {
  struct LoadingFlag {
    bool& flag;
    explicit LoadingFlag(bool& f) : flag(f) { flag = true; }
    ~LoadingFlag() { flag = false; }
  } loading(m_bLoading);
  DestroyAllObjects();
  m_IDToSlot.Serialize(bin);
  // A stream may place its ids in any slots it likes; whoever walks the slots in id order must then be told.
  int lastSlot = -1;
  for (int id = 0; id < m_IDToSlot.GetCount(); ++id) {
    const int slot = m_IDToSlot[id];
    if (slot < 0) continue;
    if (slot < lastSlot) m_bSlotsInIDOrder = false;
    lastSlot = slot;
  }
  int32_t n = 0;
  bin << n;
  if (bin.HasFailed() || !bin.CheckCount(n, 12)) return false;
  for (int32_t i = 0; i < n; ++i) m_Objects.Add(nullptr);
  m_Objects.FreeExtra();
  // Each slot belongs to exactly one id: two ids sharing a slot would later resolve to the wrong object once
  // the slot is reused, and an object's own id check below could not catch it.
  std::vector<char> claimed(size_t(n), 0);
  for (int id = 0; id < m_IDToSlot.GetCount(); ++id) {
    const int slot = m_IDToSlot[id];
    if (slot < -1 || slot >= n || (slot >= 0 && claimed[size_t(slot)]++)) {
      GLog.printf("ERROR: Saved object id %i points at slot %i of %i", id, slot, int(n));
      return false;
    }
  }
  for (int32_t i = 0; i < n; ++i) {
    BrStringT<char> name;
    int32_t slot = -1;
    bin << name << slot;
    if (bin.HasFailed()) return false;
    if (slot < 0 || slot >= n || m_Objects[slot]) {
      GLog.printf("ERROR: Saved object %s has a bad slot %i", name.c_str() ? name.c_str() : "", int(slot));
      return false;
    }
    BrGameObj* object = SpawnRecorded(name);
    if (!object) {
      GLog.printf("ERROR: Saved object class %s cannot be created", name.c_str() ? name.c_str() : "");
      return false;
    }
    int32_t id = -1;
    bin << id;
    if (bin.HasFailed() || id < 0 || id >= m_IDToSlot.GetCount() || m_IDToSlot[id] != slot) {
      GLog.printf("ERROR: Saved object %s has id %i that does not match slot %i", name.c_str() ? name.c_str() : "",
                  int(id), int(slot));
      delete object;
      return false;
    }
    object->SetID(id);
    m_Objects[slot] = object;
    object->PostInit();
    object->Serialize(bin);
    if (bin.HasFailed()) return false;
    if (object->GetID() != id) {
      GLog.printf("ERROR: Saved object %s read back id %i in place of %i", name.c_str() ? name.c_str() : "",
                  object->GetID(), int(id));
      return false;
    }
  }
  return true;
}
