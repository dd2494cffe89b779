// brRAGResolve and brRAGCast: object ids resolved through the running map and objects type-checked, for every
// class of the world (one definition each).
#pragma once

#include "core/BrObject.h"
#include "engine/kernel/BrGameObj.h"
#include "engine/kernel/BrMap.h"

// The object itself when it is live (not destroyed) and a T; else null.
template <class T>
T* brRAGCast(BrObject* object) {
  if (!object || !object->IsValid()) return nullptr;
  return static_cast<T*>(object->SafeCast(&T::Type));
}

// The live object of id when it is a T; null for a negative id, a stale id (the map's null object) or another
// class. Ids are resolved on every use, so a stale id only ever reads the null object.
template <class T>
T* brRAGResolve(int id) {
  if (id < 0) return nullptr;
  BrMap* map = BrGameObj::WorldMap();
  if (!map) return nullptr;
  return brRAGCast<T>(map->GetObjectA(id));
}
