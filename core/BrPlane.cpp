// BrPlane: construction from three points and the classification tests.
#include "core/BrPlane.h"

#include <cmath>

BrPlane::BrPlane(BrVector a, BrVector b, BrVector c) : mDisplacement(0.0f) {
  const BrVector ab = b - a, ac = c - a;
  const BrVector cross = ab ^ ac;
  // Against the sides' own lengths, so nearly collinear points (rounding noise in the cross product) are caught
  // as well as exactly collinear ones: their normal would point anywhere.
  if (!(cross.Size() > 1e-6f * ab.Size() * ac.Size())) return;
  mNormal = cross.Unit();
  mDisplacement = -(mNormal | a);
}

bool BrPlane::IsValid() const {
  const float size = mNormal.Size();
  return std::isfinite(size) && std::isfinite(mDisplacement) && size > 1e-6f;
}

int BrPlane::GetPointLocality(const BrVector& p) const {
  const float d = GetPointDisp(p);
  if (d > 0.001f) return 1;
  if (d >= -0.001f) return 3;
  return 2;
}

int BrPlane::GetPolyLocality(const BrVector* points, int count) const {
  if (count <= 0 || points == nullptr) return 4;
  bool front = false, behind = false;
  for (int i = 0; i < count; ++i) {
    switch (GetPointLocality(points[i])) {
      case 1: front = true; break;
      case 2: behind = true; break;
      default: break;
    }
  }
  if (front && behind) return 3;
  if (front) return 1;
  if (behind) return 2;
  return 4;
}

bool BrPlane::VectorIntersect(BrVector start, BrVector end, float& t, BrVector& hit) const {
  const BrVector dir = end - start;
  const float den = dir | mNormal;
  if (std::fabs(den) < 0.001f) return false;
  const float num = ((mNormal * -mDisplacement) - start) | mNormal;
  t = num / den;
  if (t <= 0.0f || t > 1.0f) return false;
  hit = start + dir * t;
  return true;
}
