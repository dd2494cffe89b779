// BrARGB: a colour of four signed 32-bit channels, alpha first, with packing and clamped arithmetic.
#pragma once

#include <cstdint>

class BrBin;

// Channels a, r, g, b, nominally 0-255. Default construction gives opaque black (255, 0, 0, 0).
class BrARGB {
public:
  int32_t a, r, g, b;

  // a 255, r g b 0.
  BrARGB() : a(255), r(0), g(0), b(0) {}
  // The four channels in argument order, alpha first, not clamped.
  BrARGB(int aIn, int rIn, int gIn, int bIn) : a(aIn), r(rIn), g(gIn), b(bIn) {}
  // Unpacks a = bits 24-31, r = bits 16-23, g = bits 8-15, b = bits 0-7.
  BrARGB(uint32_t packed);
  BrARGB(const BrARGB&) = default;
  BrARGB& operator=(const BrARGB&) = default;
  virtual ~BrARGB() = default;

  // The low 8 bits of a, r, g, b packed into bits 24-31, 16-23, 8-15, 0-7.
  uint32_t GetDWORD() const;
  // Per channel sum, clamped to 0-255.
  BrARGB operator+(const BrARGB& o) const;
  // Per channel product with f, truncated toward zero and clamped to 0-255.
  BrARGB operator*(float f) const;
};

// Streams a, r, g, b as four 32-bit integers (16 bytes).
BrBin& operator<<(BrBin& ar, BrARGB& c);
