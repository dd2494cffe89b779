// BrFrustum: the view volume of a position and orientation with near/far distances and two fields of view.
#pragma once

#include "core/BrMatrix3.h"
#include "core/BrVector.h"

class BrRenderBase;

// A plain value class; every field is public for the owner to set.
class BrFrustum {
public:
  float Near;             // near distance along the Z axis
  float Far;              // far distance along the Z axis
  float HorzFOV;          // horizontal field of view, degrees
  float VertFOV;          // vertical field of view, degrees
  float Spare[2];         // kept for the volume's layout; nothing reads them
  BrMatrix3 Orientation;  // rows are the X (right), Y (up) and Z (forward) axes
  BrVector Position;

  // Near 0, far 1, both fields of view 90 degrees, identity orientation at the origin.
  BrFrustum();
  BrFrustum(const BrFrustum&) = default;
  BrFrustum& operator=(const BrFrustum&) = default;

  // True unless the sphere lies wholly beyond the near or far distance or wholly outside a side plane.
  bool Intersects(const BrVector& centre, float radius) const;
  // Always true.
  bool Intersects(const BrVector& point) const { return true; }
  // Always false.
  bool Intersects(const BrVector& a, const BrVector& b) const { return false; }
  // Draws the outline in white: the rectangle the fields of view cut at the near distance and the four lines
  // from the position to its corners (eight lines); nothing without a device.
  void Draw(BrRenderBase* render) const;
};
