// BrSphere: a bounding sphere of an origin and a radius.
#pragma once

#include "core/BrARGB.h"
#include "core/BrVector.h"

class BrRenderBase;

// A plain value class: origin and radius.
class BrSphere {
public:
  // Origin (0, 0, 0), radius 0.
  BrSphere() : mRadius(0.0f) {}
  // The origin and radius as given.
  BrSphere(BrVector origin, float radius) : mOrigin(origin), mRadius(radius) {}
  BrSphere(const BrSphere&) = default;
  BrSphere& operator=(const BrSphere&) = default;

  // The centre.
  const BrVector& GetOrigin() const { return mOrigin; }
  // Moves the centre.
  void SetOrigin(const BrVector& origin) { mOrigin = origin; }
  // The radius.
  float GetRadius() const { return mRadius; }

  // True when the centres are at most the sum of the radii apart (touching spheres intersect).
  bool Intersects(const BrSphere& other) const;
  // True when point is at most the radius from the centre.
  bool Intersects(const BrVector& point) const;
  // Draws nothing.
  void Draw(BrRenderBase* render, BrARGB colour) const {}

private:
  BrVector mOrigin;
  float mRadius;
};
