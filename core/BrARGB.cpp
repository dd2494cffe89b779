// BrARGB: packing, clamped arithmetic and the archive form of a colour.
#include "core/BrARGB.h"

#include "core/BrBin.h"

namespace {
int32_t ClampChannel(int64_t v) { return v < 0 ? 0 : (v > 255 ? 255 : int32_t(v)); }

// Clamped in float before the conversion: a product beyond the int range would make the truncation undefined.
int32_t ScaleChannel(int32_t v, float f) {
  const float p = float(v) * f;
  if (!(p > 0.0f)) return 0;
  if (p >= 255.0f) return 255;
  return int32_t(p);
}
}  // namespace

BrARGB::BrARGB(uint32_t packed)
    : a(int32_t((packed >> 24) & 0xFF)),
      r(int32_t((packed >> 16) & 0xFF)),
      g(int32_t((packed >> 8) & 0xFF)),
      b(int32_t(packed & 0xFF)) {}

uint32_t BrARGB::GetDWORD() const {
  return (uint32_t(a & 0xFF) << 24) | (uint32_t(r & 0xFF) << 16) | (uint32_t(g & 0xFF) << 8) | uint32_t(b & 0xFF);
}

BrARGB BrARGB::operator+(const BrARGB& o) const {
  return BrARGB(ClampChannel(int64_t(a) + o.a), ClampChannel(int64_t(r) + o.r), ClampChannel(int64_t(g) + o.g),
                ClampChannel(int64_t(b) + o.b));
}

BrARGB BrARGB::operator*(float f) const {
  return BrARGB(ScaleChannel(a, f), ScaleChannel(r, f), ScaleChannel(g, f), ScaleChannel(b, f));
}

BrBin& operator<<(BrBin& ar, BrARGB& c) {
  ar.Stream(&c.a, 4, 1);
  ar.Stream(&c.r, 4, 1);
  ar.Stream(&c.g, 4, 1);
  ar.Stream(&c.b, 4, 1);
  return ar;
}
