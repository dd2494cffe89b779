// BrPlane: a plane as a normal and a displacement, with point, polygon and segment classification.
#pragma once

#include "core/BrVector.h"

// A point p lies on the plane when (p | normal) + displacement = 0.
class BrPlane {
public:
  // Normal (0, 0, 0), displacement 0.
  BrPlane() : mDisplacement(0.0f) {}
  // Both fields as given.
  BrPlane(BrVector normal, float displacement) : mNormal(normal), mDisplacement(displacement) {}
  // The plane with that normal through point: displacement = -(normal | point).
  BrPlane(BrVector normal, BrVector point) : mNormal(normal), mDisplacement(-(normal | point)) {}
  // The plane through a, b and c: normal = Unit((b - a) ^ (c - a)), displacement = -(normal | a). Points on one
  // line (or equal) span no plane: the normal is then zero and IsValid false.
  BrPlane(BrVector a, BrVector b, BrVector c);
  BrPlane(const BrPlane&) = default;
  BrPlane& operator=(const BrPlane&) = default;

  // The normal, writable.
  BrVector& Normal() { return mNormal; }
  const BrVector& Normal() const { return mNormal; }
  // The displacement, writable.
  float& Displacement() { return mDisplacement; }
  const float& Displacement() const { return mDisplacement; }

  // False when the normal is zero (or not finite): such a plane classifies every point as lying on it.
  bool IsValid() const;

  // (p | normal) + displacement: the signed distance when the normal has unit length.
  float GetPointDisp(const BrVector& p) const { return (p | mNormal) + mDisplacement; }
  // True when p lies behind the plane (GetPointDisp < 0).
  bool FacingAway(const BrVector& p) const { return GetPointDisp(p) < 0.0f; }
  // 1 in front (beyond 0.001), 2 behind (below -0.001), 3 on the plane (within 0.001, bounds included).
  int GetPointLocality(const BrVector& p) const;
  // For count points: 1 all in front or on, 2 all behind or on, 3 spanning, 4 all on the plane (or count <= 0).
  int GetPolyLocality(const BrVector* points, int count) const;
  // Segment start -> end against the plane. False when nearly parallel (t untouched) or when the crossing
  // fraction t (written in any case once computed) is <= 0 or > 1; otherwise hit = start + (end - start) * t.
  bool VectorIntersect(BrVector start, BrVector end, float& t, BrVector& hit) const;

private:
  BrVector mNormal;
  float mDisplacement;
};
