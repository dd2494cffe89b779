// IObjectMgr: the pure interface of an owner of game objects addressed by id.
#pragma once

class BrBin;
class BrGameObj;

// What a map asks of its object manager. No virtual destructor: objects are deleted through the manager's class.
class IObjectMgr {
public:
  // Writes or reads every object (the object-manager stream).
  virtual void Serialize(BrBin& bin) = 0;
  // Destroys and deletes every object; ids start again at 0.
  virtual void DestroyAllObjects() = 0;
  // Destroys every object that is not persistent, then collects garbage.
  virtual void DestroyNonPersistentObjects() = 0;
  // The number of ids issued, deleted objects included.
  virtual int GetNumObjects() const = 0;
  // The object of an id; never null.
  virtual BrGameObj* GetObjectA(int id) = 0;
  // Takes ownership and returns the new id; -1 for null.
  virtual int AddObject(BrGameObj* object) = 0;
  // Deletes destroyed objects and packs the rest.
  virtual void CollectGarbage() = 0;
};
