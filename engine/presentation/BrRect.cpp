// BrRect: comparison within a tolerance, translation, and the point and circle tests.
#include "engine/presentation/BrRect.h"

#include <cmath>

#include "core/BrVector.h"

bool BrRect::operator==(const BrRect& o) const {
  return std::fabs(minX - o.minX) < 0.001f && std::fabs(minY - o.minY) < 0.001f && std::fabs(maxX - o.maxX) < 0.001f &&
         std::fabs(maxY - o.maxY) < 0.001f;
}

void BrRect::Translate(float dx, float dy) {
  minX += dx;
  maxX += dx;
  minY += dy;
  maxY += dy;
}

bool BrRect::ContainsPoint(const BrVector& p) const { return minX <= p.x && p.x <= maxX && minY <= p.y && p.y <= maxY; }

bool BrRect::ContainsCircle(const BrVector& c, float r) const {
  return minX + r <= c.x && c.x <= maxX - r && minY + r <= c.y && c.y <= maxY - r;
}

// The margin is twice the radius: callers size their rectangles for that reach.
bool BrRect::IntersectsCircle(const BrVector& c, float r) const {
  const float reach = 2.0f * r;
  return minX - reach <= c.x && c.x <= maxX + reach && minY - reach <= c.y && c.y <= maxY + reach;
}
