// BrFrustum: the sphere visibility test against the depth range and the four side planes.
#include "engine/kernel/BrFrustum.h"

#include <cmath>

#include "core/BrPlane.h"
#include "engine/presentation/BrRenderBase.h"

namespace {
const double kTwoPi = 6.283185307179586;
}

BrFrustum::BrFrustum() : Near(0.0f), Far(1.0f), HorzFOV(90.0f), VertFOV(90.0f), Spare{0.0f, 0.0f} {}

bool BrFrustum::Intersects(const BrVector& centre, float radius) const {
  // Into the frustum's frame: the rows of the orientation are its axes, so the transpose projects onto them.
  const BrVector local = (centre - Position) * Orientation.GetTranspose();
  const float depth = local.z;
  if (depth < Near - radius || depth > Far + radius) return false;

  // Side planes through the frame's origin, normals pointing out of the volume. One axis is turned by half
  // the angle to give the first plane, then back by the whole angle to give the mirrored second plane.
  BrPlane sides[4];
  BrVector v(1.0f, 0.0f, 0.0f);
  v.AxisAngleRotation(BrVector(0.0f, 1.0f, 0.0f), HorzFOV / 2.0 / 360.0 * kTwoPi);
  sides[0] = BrPlane(v.Normalise(), 0.0f);  // right
  v.AxisAngleRotation(BrVector(0.0f, 1.0f, 0.0f), HorzFOV / -360.0 * kTwoPi);
  sides[1] = BrPlane(v.Normalise() * -1.0f, 0.0f);  // left

  v = BrVector(0.0f, 1.0f, 0.0f);
  v.AxisAngleRotation(BrVector(-1.0f, 0.0f, 0.0f), VertFOV / 2.0 / 360.0 * kTwoPi);
  sides[2] = BrPlane(v.Normalise(), 0.0f);  // top
  v.AxisAngleRotation(BrVector(-1.0f, 0.0f, 0.0f), VertFOV / -360.0 * kTwoPi);
  sides[3] = BrPlane(v.Normalise() * -1.0f, 0.0f);  // bottom

  for (const BrPlane& p : sides)
    if (p.GetPointDisp(local) > radius) return false;
  return true;
}

void BrFrustum::Draw(BrRenderBase* render) const {
  if (!render) return;
  const double degToRad = kTwoPi / 360.0;
  const float halfW = float(Near * std::tan(HorzFOV * degToRad / 2.0));
  const float halfH = float(Near * std::tan(VertFOV * degToRad / 2.0));
  const BrVector local[4] = {BrVector(-halfW, halfH, Near), BrVector(halfW, halfH, Near), BrVector(halfW, -halfH, Near),
                             BrVector(-halfW, -halfH, Near)};
  BrVector corner[4];
  for (int i = 0; i < 4; ++i) corner[i] = Position + local[i] * Orientation;
  BrVector apex = Position;
  const BrARGB white(255, 255, 255, 255);
  for (int i = 0; i < 4; ++i) render->Draw3DLine(&corner[i], &corner[(i + 1) % 4], white);
  for (int i = 0; i < 4; ++i) render->Draw3DLine(&apex, &corner[i], white);
}
