// BrMatrix3: the 3x3 float matrix whose rows are the X, Y and Z axes of a frame.
#pragma once

#include "core/BrVector.h"

// Nine floats stored row by row: row 0 (elements 0-2) is the X axis, row 1 (3-5) Y, row 2 (6-8) Z.
class BrMatrix3 {
public:
  float m[9];

  // The identity.
  BrMatrix3();
  // Every element equal to f.
  explicit BrMatrix3(float f);
  // The matrix whose rows are the three vectors.
  BrMatrix3(BrVector row0, BrVector row1, BrVector row2);
  BrMatrix3(const BrMatrix3&) = default;
  BrMatrix3& operator=(const BrMatrix3&) = default;

  // The ordinary product: element (i, j) = sum over k of this(i, k) * o(k, j).
  BrMatrix3 operator*(const BrMatrix3& o) const;
  // Element i (0-8). Any other index logs a debug warning and yields element 0.
  float& operator[](int i);
  // Read-only element i, refused the same way outside 0-8.
  const float& operator[](int i) const;
  // The transposed matrix.
  BrMatrix3 GetTranspose() const;
  // Row 0 as a vector.
  BrVector GetXAxis() const { return BrVector(m[0], m[1], m[2]); }
  // Row 1 as a vector.
  BrVector GetYAxis() const { return BrVector(m[3], m[4], m[5]); }
  // Row 2 as a vector.
  BrVector GetZAxis() const { return BrVector(m[6], m[7], m[8]); }
};
