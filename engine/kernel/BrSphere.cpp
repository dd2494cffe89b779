// BrSphere: sphere-against-sphere and point containment tests.
#include "engine/kernel/BrSphere.h"

bool BrSphere::Intersects(const BrSphere& other) const {
  return (other.mOrigin - mOrigin).Size() <= mRadius + other.mRadius;
}

// Containment is the distance from the centre. Measuring the distance to the line through the world origin
// along the centre (the vector line test) would call points far behind the sphere inside it.
bool BrSphere::Intersects(const BrVector& point) const { return (point - mOrigin).Size() <= mRadius; }
