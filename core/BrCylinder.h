// BrCylinder: an infinite cylinder about an axis, tested against rays and segments.
#pragma once

#include "core/BrVector.h"

// An axis (unit direction), a base point on it and a radius.
class BrCylinder {
public:
  BrVector axis;
  BrVector base;
  float radius;

  // Axis (0, 1, 0), base (0, 0, 0), radius 0.
  BrCylinder() : axis(0.0f, 1.0f, 0.0f), radius(0.0f) {}
  // Note the order: the base point first, then the axis.
  BrCylinder(const BrVector& baseIn, const BrVector& axisIn, float radiusIn)
      : axis(axisIn), base(baseIn), radius(radiusIn) {}
  BrCylinder(const BrCylinder&) = default;
  BrCylinder& operator=(const BrCylinder&) = default;

  // The ray origin + t * dir against the infinite cylinder. A ray parallel to the axis hits when its origin
  // is inside (tIn untouched); otherwise a hit writes the entry distance along dir to tIn.
  bool IntersectsRay(const BrVector& origin, const BrVector& dir, float& tIn) const;
  // The segment a -> b against the cylinder: the ray must hit, enter before b and no further than one
  // diameter behind a.
  bool IntersectsVector(const BrVector& a, const BrVector& b) const;
};
