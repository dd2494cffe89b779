// BrRect: comparison within a tolerance and translation.
#include "engine/presentation/BrRect.h"

#include <cmath>

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
