// BrRouteFinder: construction and copying of the stateless route finder.
#include "engine/kernel/BrRouteFinder.h"

BR_IMPLEMENT_CLASS(BrRouteFinder, BrObject)

BrRouteFinder::BrRouteFinder() {}
BrRouteFinder::BrRouteFinder(const BrRouteFinder& other) : BrObject(other) {}

BrRouteFinder& BrRouteFinder::operator=(const BrRouteFinder& other) {
  BrObject::operator=(other);
  return *this;
}

BrRouteFinder::~BrRouteFinder() { Destroy(); }
