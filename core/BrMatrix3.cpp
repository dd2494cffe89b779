// BrMatrix3: construction, product, transpose and checked element access.
#include "core/BrMatrix3.h"

#include "core/BrLogFile.h"

BrMatrix3::BrMatrix3() : m{1.0f, 0.0f, 0.0f, 0.0f, 1.0f, 0.0f, 0.0f, 0.0f, 1.0f} {}

BrMatrix3::BrMatrix3(float f) : m{f, f, f, f, f, f, f, f, f} {}

BrMatrix3::BrMatrix3(BrVector row0, BrVector row1, BrVector row2)
    : m{row0.x, row0.y, row0.z, row1.x, row1.y, row1.z, row2.x, row2.y, row2.z} {}

BrMatrix3 BrMatrix3::operator*(const BrMatrix3& o) const {
  BrMatrix3 r(0.0f);
  for (int i = 0; i < 3; ++i)
    for (int j = 0; j < 3; ++j) {
      float sum = 0.0f;
      for (int k = 0; k < 3; ++k) sum += m[i * 3 + k] * o.m[k * 3 + j];
      r.m[i * 3 + j] = sum;
    }
  return r;
}

// A negative index is refused like one above 8: both would reach outside the nine elements.
float& BrMatrix3::operator[](int i) {
  if (i < 0 || i > 8) {
    GLog.DebugPrintf("BrMatrix3::operator[] accessed invalid element idx %i", i);
    return m[0];
  }
  return m[i];
}

const float& BrMatrix3::operator[](int i) const {
  if (i < 0 || i > 8) {
    GLog.DebugPrintf("BrMatrix3::operator[] accessed invalid element idx %i", i);
    return m[0];
  }
  return m[i];
}

BrMatrix3 BrMatrix3::GetTranspose() const {
  return BrMatrix3(BrVector(m[0], m[3], m[6]), BrVector(m[1], m[4], m[7]), BrVector(m[2], m[5], m[8]));
}
