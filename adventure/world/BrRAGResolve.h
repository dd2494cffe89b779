// brRAGResolve: an object id resolved through the running map and type-checked, for the world's classes.
#pragma once

#include "engine/kernel/BrGameObj.h"
#include "engine/kernel/BrMap.h"

// The valid object of id when it is a T (the map's null object and other classes give null). Ids are resolved on
// every use: a stale id only ever reads the null object.
template <class T>
T* brRAGResolve(int id) {
  if (id < 0) return nullptr;
  BrMap* map = BrGameObj::WorldMap();
  if (!map) return nullptr;
  BrGameObj* object = map->GetObjectA(id);
  if (!object || !object->IsValid() || !object->IsA(T::Type)) return nullptr;
  return static_cast<T*>(object->SafeCast(&T::Type));
}

// The object itself when it is valid and a T; else null.
template <class T>
T* brRAGCast(BrGameObj* object) {
  if (!object || !object->IsValid() || !object->IsA(T::Type)) return nullptr;
  return static_cast<T*>(object->SafeCast(&T::Type));
}
