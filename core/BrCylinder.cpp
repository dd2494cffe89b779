// BrCylinder: the ray-against-infinite-cylinder test and its segment form.
#include "core/BrCylinder.h"

#include <cmath>

bool BrCylinder::IntersectsRay(const BrVector& origin, const BrVector& dir, float& tIn) const {
  const BrVector rc = origin - base;
  BrVector n = dir ^ axis;
  const float ln = n.Size();
  if (ln > -0.001f && ln < 0.001f) {
    const float d = rc | axis;
    return (rc - axis * d).Size() <= radius;
  }
  n.Normalise();
  const float d = std::fabs(rc | n);
  if (d > radius) return false;
  const float t = -((rc ^ axis) | n) / ln;
  BrVector o = n ^ axis;
  o.Normalise();
  const float across = dir | o;
  // With a unit axis across cannot vanish once ln passed the parallel test; a non-unit axis could make it
  // tiny, and the entry distance would then be infinite or NaN, so such a ray enters where it is closest.
  float s = 0.0f;
  if (std::fabs(across) > 1e-12f) s = std::fabs(std::sqrt(radius * radius - d * d) / across);
  tIn = t - s;
  return true;
}

bool BrCylinder::IntersectsVector(const BrVector& a, const BrVector& b) const {
  float tIn = 0.0f;
  BrVector dir = b - a;
  const float len = dir.Size();
  dir.Normalise();
  if (!IntersectsRay(a, dir, tIn)) return false;
  if (len <= tIn) return false;
  return tIn > -2.0f * radius;
}
