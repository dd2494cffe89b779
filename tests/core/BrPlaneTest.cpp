// Tests of BrPlane: construction, point and polygon classification and segment intersection.
#include "core/BrPlane.h"

#include <gtest/gtest.h>

TEST(BrPlane, Construction) {
  BrPlane def;
  EXPECT_TRUE(def.Normal() == BrVector());
  EXPECT_FLOAT_EQ(def.Displacement(), 0.0f);

  BrPlane through(BrVector(0, 1, 0), BrVector(5, 3, -2));
  EXPECT_FLOAT_EQ(through.Displacement(), -3.0f);
  EXPECT_FLOAT_EQ(through.GetPointDisp(BrVector(100, 3, 7)), 0.0f);

  // Counter-clockwise seen from +z gives the normal +z.
  BrPlane tri(BrVector(0, 0, 2), BrVector(1, 0, 2), BrVector(0, 1, 2));
  EXPECT_TRUE(tri.Normal() == BrVector(0, 0, 1));
  EXPECT_FLOAT_EQ(tri.Displacement(), -2.0f);
  // The normal is unit length whatever the triangle's size.
  BrPlane big(BrVector(0, 0, 0), BrVector(0, 0, 10), BrVector(10, 0, 0));
  EXPECT_TRUE(big.Normal() == BrVector(0, 1, 0));
  EXPECT_TRUE(big.IsValid());
  // Points on one line span no plane: reported invalid, with no NaN in it.
  for (const BrPlane& flat : {BrPlane(BrVector(0, 0, 0), BrVector(1, 1, 1), BrVector(3, 3, 3)),
                              BrPlane(BrVector(1, 2, 3), BrVector(1, 2, 3), BrVector(4, 5, 6)),
                              BrPlane(BrVector(0, 0, 0), BrVector(1000, 0, 0), BrVector(2000, 0.0001f, 0))}) {
    EXPECT_FALSE(flat.IsValid());
    EXPECT_TRUE(flat.Normal() == BrVector());
    EXPECT_FLOAT_EQ(flat.Displacement(), 0.0f);
  }

  BrPlane p(BrVector(1, 0, 0), 2.0f);
  p.Normal() = BrVector(0, 0, 1);
  p.Displacement() = -1.0f;
  EXPECT_FLOAT_EQ(p.GetPointDisp(BrVector(0, 0, 3)), 2.0f);
  EXPECT_TRUE(p.FacingAway(BrVector(0, 0, 0.5f)));
  EXPECT_FALSE(p.FacingAway(BrVector(0, 0, 1)));
}

TEST(BrPlane, PointLocalityHasInclusiveTolerance) {
  BrPlane ground(BrVector(0, 1, 0), 0.0f);
  EXPECT_EQ(ground.GetPointLocality(BrVector(0, 0.001f, 0)), 3);
  EXPECT_EQ(ground.GetPointLocality(BrVector(0, -0.001f, 0)), 3);
  EXPECT_EQ(ground.GetPointLocality(BrVector(0, 0.002f, 0)), 1);
  EXPECT_EQ(ground.GetPointLocality(BrVector(0, -0.002f, 0)), 2);
  EXPECT_EQ(ground.GetPointLocality(BrVector(9, 0, -9)), 3);
}

TEST(BrPlane, PolygonLocality) {
  BrPlane ground(BrVector(0, 1, 0), 0.0f);
  BrVector spanning[3] = {BrVector(0, 1, 0), BrVector(1, -1, 0), BrVector(0, 0, 1)};
  EXPECT_EQ(ground.GetPolyLocality(spanning, 3), 3);
  BrVector front[3] = {BrVector(0, 1, 0), BrVector(1, 0, 0), BrVector(0, 0, 1)};
  EXPECT_EQ(ground.GetPolyLocality(front, 3), 1);
  BrVector behind[3] = {BrVector(0, -1, 0), BrVector(1, 0, 0), BrVector(0, -2, 1)};
  EXPECT_EQ(ground.GetPolyLocality(behind, 3), 2);
  BrVector on[3] = {BrVector(0, 0, 0), BrVector(1, 0.0005f, 0), BrVector(0, 0, 1)};
  EXPECT_EQ(ground.GetPolyLocality(on, 3), 4);
  EXPECT_EQ(ground.GetPolyLocality(on, 0), 4);
  EXPECT_EQ(ground.GetPolyLocality(on, -1), 4);
  EXPECT_EQ(ground.GetPolyLocality(nullptr, 0), 4);
  // Only count points are looked at.
  EXPECT_EQ(ground.GetPolyLocality(spanning, 1), 1);
}

TEST(BrPlane, VectorIntersect) {
  BrPlane ground(BrVector(0, 1, 0), 0.0f);
  float t = -7.0f;
  BrVector hit(9, 9, 9);
  EXPECT_TRUE(ground.VectorIntersect(BrVector(0, 1, 0), BrVector(0, -1, 0), t, hit));
  EXPECT_FLOAT_EQ(t, 0.5f);
  EXPECT_TRUE(hit == BrVector(0, 0, 0));

  // Starting on the plane does not count; ending on it does.
  EXPECT_FALSE(ground.VectorIntersect(BrVector(0, 0, 0), BrVector(0, -1, 0), t, hit));
  EXPECT_TRUE(ground.VectorIntersect(BrVector(2, 4, 0), BrVector(2, 0, 0), t, hit));
  EXPECT_FLOAT_EQ(t, 1.0f);
  EXPECT_TRUE(hit == BrVector(2, 0, 0));

  // Short of the plane: false, but t is still written.
  hit = BrVector(9, 9, 9);
  EXPECT_FALSE(ground.VectorIntersect(BrVector(0, 4, 0), BrVector(0, 2, 0), t, hit));
  EXPECT_FLOAT_EQ(t, 2.0f);
  EXPECT_TRUE(hit == BrVector(9, 9, 9));

  // Parallel: false with t untouched.
  t = -7.0f;
  EXPECT_FALSE(ground.VectorIntersect(BrVector(0, 1, 0), BrVector(5, 1.0001f, 0), t, hit));
  EXPECT_FLOAT_EQ(t, -7.0f);

  // A displaced, slanted plane: x + y = 2.
  const float r = 0.70710678f;
  BrPlane slant(BrVector(r, r, 0), -2.0f * r);
  EXPECT_TRUE(slant.VectorIntersect(BrVector(0, 0, 0), BrVector(4, 0, 0), t, hit));
  EXPECT_NEAR(t, 0.5f, 1e-5f);
  EXPECT_TRUE(hit == BrVector(2, 0, 0));
}
