// BrObjectMgr: the owner of a map's game objects: ids, lookup, destruction, garbage collection and the save stream.
#pragma once

#include <cstdint>

#include "engine/kernel/BrNullGameObj.h"
#include "engine/kernel/IObjectMgr.h"
#include "templates/TDArray.h"

// Objects sit densely in a pointer array; ids index a table of slots. Ids are never reused until
// DestroyAllObjects empties the table. A bad id yields the embedded null object.
class BrObjectMgr : public IObjectMgr {
public:
  // Empty, then Init.
  BrObjectMgr();
  // Copies both arrays and the null object member by member; nothing relies on copying a live manager.
  BrObjectMgr(const BrObjectMgr& other);
  BrObjectMgr& operator=(const BrObjectMgr& other);
  // Destroy, then the members.
  virtual ~BrObjectMgr();

  // Saving: the id table, the object count, then each object's class name, slot, id and data. Loading: every
  // object is replaced by those of the stream; a record that does not fit the table, a class no one can make
  // or an object that reads back another id fails the archive and leaves the manager empty.
  void Serialize(BrBin& bin) override;
  void DestroyAllObjects() override;
  void DestroyNonPersistentObjects() override;
  int GetNumObjects() const override;
  BrGameObj* GetObjectA(int id) override;
  int AddObject(BrGameObj* object) override;

  // Destroys the null object and names it "NullObject".
  virtual bool Init();
  // Every object destroyed and deleted, then the null object destroyed.
  virtual void Destroy();

  // Live objects held (not ids issued).
  int GetNumLiveObjects() const { return m_Objects.GetCount(); }
  // The object held in slot (0 to GetNumLiveObjects() - 1, in no promised order), or null: a walk over what is
  // alive, which costs nothing for the ids of objects already gone.
  BrGameObj* GetLiveObject(int slot) const {
    return slot >= 0 && slot < m_Objects.GetCount() ? m_Objects[slot] : nullptr;
  }
  // True when the slots hold the objects in ascending id order, so a walk over the live slots meets them in
  // the order a walk over the ids would. New objects take the last slot and the next id, and garbage collection
  // keeps the order, so only a loaded stream can break it.
  bool LiveSlotsInIDOrder() const { return m_bSlotsInIDOrder; }
  // The live objects in id order without visiting the ids of objects long gone: WalkCount() positions, each
  // WalkObject(i) live or null. Where a loaded stream left the slots out of id order, the walk goes by ids.
  int WalkCount() const { return m_bSlotsInIDOrder ? m_Objects.GetCount() : m_IDToSlot.GetCount(); }
  BrGameObj* WalkObject(int i) { return m_bSlotsInIDOrder ? GetLiveObject(i) : GetObjectA(i); }
  // Changes whenever slots are emptied or moved (a collection, a load), so that a walk over positions can
  // tell that its next position may now hold another object.
  uint32_t SlotGeneration() const { return m_uiSlotGeneration; }
  // True while a stream is being loaded: an object's PostInit then precedes its Serialize, so objects that
  // give themselves things when new (an actor's start equipment) leave that to the stream.
  bool IsLoading() const { return m_bLoading; }

protected:
  // Keeps the valid persistent objects, packed in their old order; deletes the rest and clears their ids.
  void CollectGarbage() override;
  // Moves the object at slot of from to the end of to and points its id there.
  virtual void RemapObject(int slot, TDArray<BrGameObj*>* from, TDArray<BrGameObj*>* to);

  // The loading half of Serialize; false when the stream cannot be right.
  bool Load(BrBin& bin);

  TDArray<BrGameObj*> m_Objects;
  TDArray<int32_t> m_IDToSlot;
  BrNullGameObj m_NullObject;
  bool m_bLoading = false;
  bool m_bSlotsInIDOrder = true;
  uint32_t m_uiSlotGeneration = 0;
};
