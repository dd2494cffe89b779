// BrVector: the three-float vector in which all geometry is expressed, with its row-vector maths.
#pragma once

#include <cstdint>

class BrMatrix3;
class BrBin;

// A point or direction of three single-precision floats. Default construction gives (0, 0, 0).
class BrVector {
public:
  float x, y, z;

  // (0, 0, 0).
  BrVector() : x(0.0f), y(0.0f), z(0.0f) {}
  // The three components as given.
  BrVector(float fx, float fy, float fz) : x(fx), y(fy), z(fz) {}
  BrVector(const BrVector&) = default;
  BrVector& operator=(const BrVector&) = default;

  // Component-wise sum.
  BrVector operator+(const BrVector& o) const { return BrVector(x + o.x, y + o.y, z + o.z); }
  // Component-wise difference, this minus o.
  BrVector operator-(const BrVector& o) const { return BrVector(x - o.x, y - o.y, z - o.z); }
  // Adds o in place; returns a copy of the result.
  BrVector operator+=(const BrVector& o);
  // Subtracts o in place; returns a copy of the result.
  BrVector operator-=(const BrVector& o);
  // Every component scaled by f.
  BrVector operator*(float f) const { return BrVector(x * f, y * f, z * f); }
  // Scales in place; returns a copy of the result.
  BrVector operator*=(float f);
  // Component-wise product.
  BrVector operator*(const BrVector& o) const { return BrVector(x * o.x, y * o.y, z * o.z); }
  // Component-wise product in place; returns a copy of the result.
  BrVector operator*=(const BrVector& o);
  // This row vector times m: x * row0 + y * row1 + z * row2.
  BrVector operator*(const BrMatrix3& m) const;
  // The row-vector product in place; returns a copy of the result.
  BrVector operator*=(const BrMatrix3& m);
  // Dot product.
  float operator|(const BrVector& o) const { return x * o.x + y * o.y + z * o.z; }
  // Cross product: (y b.z - z b.y, z b.x - x b.z, x b.y - y b.x).
  BrVector operator^(const BrVector& b) const {
    return BrVector(y * b.z - z * b.y, z * b.x - x * b.z, x * b.y - y * b.x);
  }
  // True when every component differs from o's by less than 0.001.
  bool operator==(const BrVector& o) const;
  // The negation of operator==.
  bool operator!=(const BrVector& o) const { return !(*this == o); }

  // Euclidean length.
  float Size() const;
  // A copy scaled by 1 / Size(); the zero vector gives the zero vector.
  BrVector Unit() const;
  // Scales this vector to unit length unless it is zero (a zero vector stays zero); returns a copy.
  BrVector Normalise();
  // Rotates this vector in place about the unit axis by angle radians (row-vector convention).
  void AxisAngleRotation(BrVector axis, double angle);
  // The matrix AxisAngleRotation applies, for a caller that turns many vectors, or one many times, alike.
  static BrMatrix3 AxisAngleMatrix(BrVector axis, double angle);
  // True when point lies at most radius from the unbounded line through the origin along this vector.
  // A zero vector gives no direction: then the distance is point's distance from the origin.
  bool Intersects(BrVector point, float radius) const;
};

// Comparison for brQSort ordering vectors by ascending z: 1 when a.z > b.z, -1 when smaller, 0 when equal.
int GVecByZ(const BrVector* a, const BrVector* b);
// The same comparison in the form brQSort takes.
int GVecByZ(const void* a, const void* b);

// Streams x, y and z as three 4-byte floats (12 bytes) through the archive.
BrBin& operator<<(BrBin& ar, BrVector& v);
