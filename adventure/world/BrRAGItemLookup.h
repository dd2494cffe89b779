// Private to the world's item classes: resolving object ids through the running map, type-checked.
#pragma once

#include "engine/kernel/BrGameObj.h"
#include "engine/kernel/BrMap.h"

// The valid object of id when it is a T; null for -1, a stale id (the map's null object) or another class.
template <class T>
inline T* brRAGResolve(int id) {
  if (id < 0) return nullptr;
  BrMap* map = BrGameObj::WorldMap();
  if (!map) return nullptr;
  BrGameObj* object = map->GetObjectA(id);
  if (!object || !object->IsValid()) return nullptr;
  return static_cast<T*>(object->SafeCast(&T::Type));
}

// obj as a T when it is one, else null.
template <class T>
inline T* brRAGCast(BrObject* obj) {
  return obj ? static_cast<T*>(obj->SafeCast(&T::Type)) : nullptr;
}
