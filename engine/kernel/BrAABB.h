// BrAABB: an axis-aligned box given by two opposite corners.
#pragma once

#include "core/BrARGB.h"
#include "core/BrVector.h"

class BrRenderBase;

// Two opposite corners, kept in the order given. A plain value class.
class BrAABB {
public:
  BrVector Corner1;
  BrVector Corner2;

  // Both corners (0, 0, 0).
  BrAABB() = default;
  // The two corners in field order.
  BrAABB(BrVector c1, BrVector c2) : Corner1(c1), Corner2(c2) {}
  BrAABB(const BrAABB&) = default;
  BrAABB& operator=(const BrAABB&) = default;

  // Draws the twelve edges of the box as world-space lines in colour; nothing without a device.
  void Draw(BrRenderBase* render, BrARGB colour) const;
};
