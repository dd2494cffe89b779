// The spawn the world tests share: an entity of a configured kind made by the map and put down where the test
// says, standing there.
#pragma once

#include "adventure/world/BrRAGMap.h"
#include "core/BrVector.h"
#include "engine/kernel/BrActor.h"
#include "engine/kernel/BrDemoEntity.h"

namespace ragworld {

// An entity of a kind added to the map at (x, 0, z), standing there (an actor does not walk to the origin); null
// (and nothing added) when it cannot be made or is not a T.
template <class T>
T* SpawnStanding(BrRAGMap* map, const char* kind, float x, float z) {
  BrDemoEntity* entity = map->SpawnScripted(BrStringT<char>(kind));
  if (!entity) return nullptr;
  if (!entity->IsA(T::Type)) {
    entity->Destroy();
    delete entity;
    return nullptr;
  }
  entity->Location() = BrVector(x, 0.0f, z);
  if (entity->IsA(BrActor::Type)) static_cast<BrActor*>(entity)->StopPathing();
  map->AddObject(entity);
  return static_cast<T*>(entity);
}

}  // namespace ragworld
