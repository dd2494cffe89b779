// The stream operators through which persistent classes write and read their fields, min/max/clamp, and a
// float-to-int truncation that saturates.
#pragma once

#include <cmath>
#include <cstdint>

#include "core/BrBin.h"

// Each operator streams the value's own bytes (little-endian, nothing converted) through BrBin::Stream and
// returns the archive, so calls chain. The same code saves and loads; the archive's direction decides. Only
// fixed-width forms exist: long, size_t and pointers would change size between builds, so they are refused.

// 1 byte, 0 or 1 when saved. A loaded byte other than 0 reads as true: a bool may never hold another value.
inline BrBin& operator<<(BrBin& ar, bool& v) {
  uint8_t byte = v ? 1 : 0;
  ar.Stream(&byte, 1, 1);
  v = byte != 0;
  return ar;
}
// 1 byte.
inline BrBin& operator<<(BrBin& ar, uint8_t& v) {
  ar.Stream(&v, 1, 1);
  return ar;
}
// 2 bytes.
inline BrBin& operator<<(BrBin& ar, uint16_t& v) {
  ar.Stream(&v, 2, 1);
  return ar;
}
// 4 bytes.
inline BrBin& operator<<(BrBin& ar, int32_t& v) {
  ar.Stream(&v, 4, 1);
  return ar;
}
// 4 bytes.
inline BrBin& operator<<(BrBin& ar, uint32_t& v) {
  ar.Stream(&v, 4, 1);
  return ar;
}
// 4 bytes: the float's 32-bit pattern. No saved quantity is a NaN or an infinity: a loaded one fails the archive
// (and reads as 0), so a damaged file can never put one into a position, a scale or a timer.
inline BrBin& operator<<(BrBin& ar, float& v) {
  static_assert(sizeof(float) == 4, "archives hold 32-bit floats");
  ar.Stream(&v, 4, 1);
  if (ar.IsLoading() && !std::isfinite(v)) {
    v = 0.0f;
    ar.MarkFailed("ERROR: The archive holds a number that is not finite");
  }
  return ar;
}

BrBin& operator<<(BrBin& ar, long& v) = delete;
BrBin& operator<<(BrBin& ar, unsigned long& v) = delete;
template <class P>
BrBin& operator<<(BrBin& ar, P*& v) = delete;

// The smaller of a and b: a only when strictly smaller, otherwise b.
inline int brMin(const int& a, const int& b) { return a < b ? a : b; }
inline float brMin(const float& a, const float& b) { return a < b ? a : b; }
// The larger of a and b: a only when strictly larger, otherwise b.
inline int brMax(const int& a, const int& b) { return a > b ? a : b; }
inline float brMax(const float& a, const float& b) { return a > b ? a : b; }
// brMax(brMin(value, hi), lo): value within lo .. hi, and lo when lo > hi.
inline int brClamp(const int& value, const int& lo, const int& hi) { return brMax(brMin(value, hi), lo); }
inline float brClamp(const float& value, const float& lo, const float& hi) { return brMax(brMin(value, hi), lo); }
// Raises value to lo, then lowers it to hi when above: hi when lo > hi.
inline void brClampInPlace(float& value, const float& lo, const float& hi) {
  if (value < lo) value = lo;
  if (value > hi) value = hi;
}
// Float to int truncated toward zero as a cast does, but saturating where a cast is undefined: NaN gives 0, and
// a value beyond the int range its end (INT32_MIN + 1 below, so that the result can still be negated).
inline int brTruncate(float value) {
  if (!(value == value)) return 0;
  if (value >= 2147483520.0f) return INT32_MAX;
  if (value <= -2147483520.0f) return INT32_MIN + 1;
  return int(value);
}
