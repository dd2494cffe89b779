// Tests of BrFrustum: depth range, the four side planes, and the frame the volume stands in.
#include "engine/kernel/BrFrustum.h"

#include <gtest/gtest.h>

#include <cmath>

#include "engine/kernel/BrSphere.h"
#include "tests/support/RecordingRenderDevice.h"

TEST(BrFrustum, Defaults) {
  BrFrustum f;
  EXPECT_FLOAT_EQ(f.Near, 0.0f);
  EXPECT_FLOAT_EQ(f.Far, 1.0f);
  EXPECT_FLOAT_EQ(f.HorzFOV, 90.0f);
  EXPECT_FLOAT_EQ(f.VertFOV, 90.0f);
  EXPECT_TRUE(f.Position == BrVector());
  EXPECT_TRUE(f.Orientation.GetZAxis() == BrVector(0, 0, 1));
  EXPECT_TRUE(f.Intersects(BrVector(1000, 1000, 1000)));                // a point: always true
  EXPECT_FALSE(f.Intersects(BrVector(0, 0, 0.5f), BrVector(0, 0, 1)));  // a segment: always false
}

TEST(BrFrustum, DepthRangeWidenedByRadius) {
  BrFrustum f;
  f.Near = 1.0f;
  f.Far = 10.0f;
  EXPECT_TRUE(f.Intersects(BrVector(0, 0, 5), 0.1f));
  EXPECT_FALSE(f.Intersects(BrVector(0, 0, 0.5f), 0.1f));
  EXPECT_TRUE(f.Intersects(BrVector(0, 0, 0.5f), 0.5f));  // reaches the near distance exactly
  EXPECT_FALSE(f.Intersects(BrVector(0, 0, 11), 0.5f));
  EXPECT_TRUE(f.Intersects(BrVector(0, 0, 11), 1.0f));
  EXPECT_FALSE(f.Intersects(BrVector(0, 0, -5), 1.0f));  // behind the viewer
}

TEST(BrFrustum, SidePlanesFollowBothFieldsOfView) {
  BrFrustum f;
  f.Far = 100.0f;
  // 90 degrees each way: the sides lie at 45 degrees, x = +-z and y = +-z.
  EXPECT_TRUE(f.Intersects(BrVector(9, 0, 10), 0.0f));
  EXPECT_FALSE(f.Intersects(BrVector(11, 0, 10), 0.0f));
  EXPECT_FALSE(f.Intersects(BrVector(-11, 0, 10), 0.0f));
  EXPECT_TRUE(f.Intersects(BrVector(-9, 0, 10), 0.0f));
  EXPECT_FALSE(f.Intersects(BrVector(0, 11, 10), 0.0f));
  EXPECT_FALSE(f.Intersects(BrVector(0, -11, 10), 0.0f));
  EXPECT_TRUE(f.Intersects(BrVector(0, -9, 10), 0.0f));
  // A sphere outside a plane but closer to it than its radius still counts.
  // (11, 0, 10) lies 1 / sqrt(2) from the plane x = z.
  EXPECT_FALSE(f.Intersects(BrVector(11, 0, 10), 0.7f));
  EXPECT_TRUE(f.Intersects(BrVector(11, 0, 10), 0.71f));

  // Narrow horizontally, wide vertically: 60 degrees across puts the side at z tan(30) = 0.577 z.
  f.HorzFOV = 60.0f;
  f.VertFOV = 120.0f;
  EXPECT_TRUE(f.Intersects(BrVector(5.5f, 0, 10), 0.0f));
  EXPECT_FALSE(f.Intersects(BrVector(6.0f, 0, 10), 0.0f));
  EXPECT_FALSE(f.Intersects(BrVector(-6.0f, 0, 10), 0.0f));
  // Vertically the side is at z tan(60) = 1.73 z.
  EXPECT_TRUE(f.Intersects(BrVector(0, 17, 10), 0.0f));
  EXPECT_TRUE(f.Intersects(BrVector(0, -17, 10), 0.0f));
  EXPECT_FALSE(f.Intersects(BrVector(0, 18, 10), 0.0f));
  EXPECT_FALSE(f.Intersects(BrVector(0, -18, 10), 0.0f));
}

TEST(BrFrustum, TestsInTheViewersFrame) {
  BrFrustum f;
  f.Near = 1.0f;
  f.Far = 50.0f;
  f.Position = BrVector(100, 0, 0);
  // Looking along world -X: right axis +Z, up +Y, forward -X.
  f.Orientation = BrMatrix3(BrVector(0, 0, 1), BrVector(0, 1, 0), BrVector(-1, 0, 0));
  EXPECT_TRUE(f.Intersects(BrVector(80, 0, 0), 1.0f));
  EXPECT_FALSE(f.Intersects(BrVector(120, 0, 0), 1.0f));  // behind
  EXPECT_FALSE(f.Intersects(BrVector(40, 0, 0), 1.0f));   // beyond far
  EXPECT_TRUE(f.Intersects(BrVector(80, 0, 15), 0.0f));   // inside the 45-degree side
  EXPECT_FALSE(f.Intersects(BrVector(80, 0, 25), 0.0f));  // outside it
  EXPECT_FALSE(f.Intersects(BrVector(80, -25, 0), 0.0f));

  BrFrustum copy(f);
  EXPECT_FALSE(copy.Intersects(BrVector(80, 0, 25), 0.0f));
  EXPECT_TRUE(copy.Position == BrVector(100, 0, 0));
}

TEST(BrFrustum, DrawsTheNearRectangleAndItsCornerLines) {
  RecordingRenderDevice render;
  BrFrustum f;
  f.Near = 2.0f;
  f.HorzFOV = 90.0f;
  f.VertFOV = 60.0f;
  f.Position = BrVector(10, 0, 0);
  // Looking along world +X: right -Z, up +Y.
  f.Orientation = BrMatrix3(BrVector(0, 0, -1), BrVector(0, 1, 0), BrVector(1, 0, 0));
  f.Draw(&render);
  ASSERT_EQ(render.lines.size(), 8u);
  const float halfW = 2.0f * std::tan(0.7853982f);  // near x tan(45 degrees)
  const float halfH = 2.0f * std::tan(0.5235988f);  // near x tan(30 degrees)
  int fromApex = 0;
  for (const auto& line : render.lines) {
    if (line.from == f.Position) {
      ++fromApex;
      // The corner lies at the near distance ahead, on the rectangle's corner.
      EXPECT_NEAR(line.to.x, 12.0f, 1e-4f);
      EXPECT_NEAR(std::fabs(line.to.z), halfW, 1e-4f);
      EXPECT_NEAR(std::fabs(line.to.y), halfH, 1e-4f);
    } else {
      // A rectangle edge in the plane x = 12.
      EXPECT_NEAR(line.from.x, 12.0f, 1e-4f);
      EXPECT_NEAR(line.to.x, 12.0f, 1e-4f);
      const float len = (line.to - line.from).Size();
      EXPECT_TRUE(std::fabs(len - 2 * halfW) < 1e-3f || std::fabs(len - 2 * halfH) < 1e-3f) << len;
    }
  }
  EXPECT_EQ(fromApex, 4);
  f.Draw(nullptr);

  // The sphere draws nothing.
  BrSphere(BrVector(), 5.0f).Draw(&render, BrARGB());
  EXPECT_EQ(render.lines.size(), 8u);
}
