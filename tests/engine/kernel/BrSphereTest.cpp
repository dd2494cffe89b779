// Tests of BrSphere: sphere overlap and point containment.
#include "engine/kernel/BrSphere.h"

#include <gtest/gtest.h>

TEST(BrSphere, SpheresTouchingOrOverlappingIntersect) {
  BrSphere a(BrVector(0, 0, 0), 1.0f);
  EXPECT_TRUE(a.Intersects(BrSphere(BrVector(2, 0, 0), 1.0f)));
  EXPECT_FALSE(a.Intersects(BrSphere(BrVector(2.1f, 0, 0), 1.0f)));
  EXPECT_TRUE(a.Intersects(BrSphere(BrVector(0, 0, 0), 0.0f)));
  EXPECT_TRUE(a.Intersects(BrSphere(BrVector(3, 4, 0), 4.0f)));  // 5 apart, radii sum 5
  EXPECT_FALSE(a.Intersects(BrSphere(BrVector(3, 4, 0), 3.9f)));
  EXPECT_TRUE(BrSphere(BrVector(3, 4, 0), 4.0f).Intersects(a));  // symmetric
}

TEST(BrSphere, ContainsPointsWithinRadiusOfCentre) {
  BrSphere s(BrVector(0, 0, 5), 1.0f);
  EXPECT_FALSE(s.Intersects(BrVector(0.5f, 0, 100)));  // on the line through the centre, but far away
  EXPECT_TRUE(s.Intersects(BrVector(0.5f, 0, 5.5f)));
  EXPECT_TRUE(s.Intersects(BrVector(0, 1, 5)));  // on the surface
  EXPECT_FALSE(s.Intersects(BrVector(0, 0, 0)));
  EXPECT_FALSE(BrSphere().Intersects(BrVector(0.1f, 0, 0)));
  EXPECT_TRUE(BrSphere().Intersects(BrVector()));

  s.SetOrigin(BrVector(10, 0, 0));
  EXPECT_TRUE(s.GetOrigin() == BrVector(10, 0, 0));
  EXPECT_FLOAT_EQ(s.GetRadius(), 1.0f);
  EXPECT_TRUE(s.Intersects(BrVector(10.5f, 0.5f, 0)));
  EXPECT_FALSE(s.Intersects(BrVector(0, 0, 5)));
}
