// BrVector: vector arithmetic, rotation about an axis and the line-distance test.
#include "core/BrVector.h"

#include <cmath>

#include "core/BrBin.h"
#include "core/BrMatrix3.h"

BrVector BrVector::operator+=(const BrVector& o) {
  x += o.x;
  y += o.y;
  z += o.z;
  return *this;
}

BrVector BrVector::operator-=(const BrVector& o) {
  x -= o.x;
  y -= o.y;
  z -= o.z;
  return *this;
}

BrVector BrVector::operator*=(float f) {
  x *= f;
  y *= f;
  z *= f;
  return *this;
}

BrVector BrVector::operator*=(const BrVector& o) {
  x *= o.x;
  y *= o.y;
  z *= o.z;
  return *this;
}

BrVector BrVector::operator*(const BrMatrix3& m) const {
  return BrVector(x * m.m[0] + y * m.m[3] + z * m.m[6], x * m.m[1] + y * m.m[4] + z * m.m[7],
                  x * m.m[2] + y * m.m[5] + z * m.m[8]);
}

BrVector BrVector::operator*=(const BrMatrix3& m) {
  *this = *this * m;
  return *this;
}

bool BrVector::operator==(const BrVector& o) const {
  return std::fabs(x - o.x) < 0.001f && std::fabs(y - o.y) < 0.001f && std::fabs(z - o.z) < 0.001f;
}

float BrVector::Size() const { return std::sqrt(x * x + y * y + z * z); }

BrVector BrVector::Unit() const {
  // A zero vector has no direction; scaling it by 1/0 would spread NaNs into every frame built from it.
  const float size = Size();
  if (size == 0.0f || !std::isfinite(size)) return size == 0.0f ? BrVector(0.0f, 0.0f, 0.0f) : *this;
  return *this * (1.0f / size);
}

BrVector BrVector::Normalise() {
  float size = Size();
  if (size != 0.0f) *this *= 1.0f / size;
  return *this;
}

BrMatrix3 BrVector::AxisAngleMatrix(BrVector axis, double angle) {
  const double c = std::cos(angle);
  const double s = std::sin(angle);
  const double t = 1.0 - c;
  const double ax = axis.x, ay = axis.y, az = axis.z;
  return BrMatrix3(BrVector(float(c + ax * ax * t), float(ax * ay * t + az * s), float(ax * az * t - ay * s)),
                   BrVector(float(ax * ay * t - az * s), float(c + ay * ay * t), float(ay * az * t + ax * s)),
                   BrVector(float(ax * az * t + ay * s), float(ay * az * t - ax * s), float(c + az * az * t)));
}

void BrVector::AxisAngleRotation(BrVector axis, double angle) { *this = *this * AxisAngleMatrix(axis, angle); }

bool BrVector::Intersects(BrVector point, float radius) const {
  // The distance is |point| sin(angle to the line), taken as the length of the cross product with the unit
  // direction: the acos form gives NaN for a point at the origin (0 / 0) and for rounding just past 1, and a
  // NaN would silently answer false.
  const float len = Size();
  float distance;
  if (len == 0.0f)
    distance = point.Size();
  else
    distance = ((*this * (1.0f / len)) ^ point).Size();
  return distance <= radius;
}

int GVecByZ(const BrVector* a, const BrVector* b) {
  if (a->z > b->z) return 1;
  if (a->z < b->z) return -1;
  return 0;
}

int GVecByZ(const void* a, const void* b) {
  return GVecByZ(static_cast<const BrVector*>(a), static_cast<const BrVector*>(b));
}

BrBin& operator<<(BrBin& ar, BrVector& v) {
  ar.Stream(&v.x, 4, 1);
  ar.Stream(&v.y, 4, 1);
  ar.Stream(&v.z, 4, 1);
  // Positions, axes and scales are vectors: none may come back from a file as a NaN or an infinity.
  if (ar.IsLoading() && !(std::isfinite(v.x) && std::isfinite(v.y) && std::isfinite(v.z))) {
    v = BrVector(0.0f, 0.0f, 0.0f);
    ar.MarkFailed("ERROR: The archive holds a vector that is not finite");
  }
  return ar;
}
