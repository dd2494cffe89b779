// BrAABB: the box outline for debug drawing.
#include "engine/kernel/BrAABB.h"

#include "engine/presentation/BrRenderBase.h"

void BrAABB::Draw(BrRenderBase* render, BrARGB colour) const {
  if (!render) return;
  // Corner i takes x from Corner2 when bit 0 is set, y when bit 1 is, z when bit 2 is; the edges join corners
  // that differ in exactly one bit.
  BrVector c[8];
  for (int i = 0; i < 8; ++i)
    c[i] = BrVector((i & 1) ? Corner2.x : Corner1.x, (i & 2) ? Corner2.y : Corner1.y, (i & 4) ? Corner2.z : Corner1.z);
  for (int i = 0; i < 8; ++i)
    for (int bit = 1; bit < 8; bit <<= 1)
      if (!(i & bit)) render->Draw3DLine(&c[i], &c[i | bit], colour);
}
