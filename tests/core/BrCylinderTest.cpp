// Tests of BrCylinder: the ray test's entry distance and the segment test's bounds.
#include "core/BrCylinder.h"

#include <gtest/gtest.h>

#include <cmath>

TEST(BrCylinder, Construction) {
  BrCylinder def;
  EXPECT_TRUE(def.axis == BrVector(0, 1, 0));
  EXPECT_TRUE(def.base == BrVector());
  EXPECT_FLOAT_EQ(def.radius, 0.0f);
  BrCylinder c(BrVector(1, 2, 3), BrVector(0, 0, 1), 4.0f);  // base first, then axis
  EXPECT_TRUE(c.base == BrVector(1, 2, 3));
  EXPECT_TRUE(c.axis == BrVector(0, 0, 1));
}

TEST(BrCylinder, RayEntryDistance) {
  BrCylinder c;
  c.radius = 1.0f;
  float tIn = -1.0f;
  EXPECT_TRUE(c.IntersectsRay(BrVector(5, 0, 0), BrVector(-1, 0, 0), tIn));
  EXPECT_NEAR(tIn, 4.0f, 1e-5f);
  // Height along the axis does not matter for the infinite cylinder.
  EXPECT_TRUE(c.IntersectsRay(BrVector(5, 100, 0), BrVector(-1, 0, 0), tIn));
  EXPECT_NEAR(tIn, 4.0f, 1e-5f);
  // An off-centre chord: enters at x = sqrt(1 - 0.6^2) = 0.8.
  EXPECT_TRUE(c.IntersectsRay(BrVector(5, 0, 0.6f), BrVector(-1, 0, 0), tIn));
  EXPECT_NEAR(tIn, 4.2f, 1e-5f);
  // A slanted ray: the entry distance is measured along dir.
  const float r = 0.70710678f;
  EXPECT_TRUE(c.IntersectsRay(BrVector(5, 0, 0), BrVector(-r, r, 0), tIn));
  EXPECT_NEAR(tIn, 4.0f / r, 1e-4f);
  // Missing the cylinder.
  tIn = -1.0f;
  EXPECT_FALSE(c.IntersectsRay(BrVector(5, 0, 1.5f), BrVector(-1, 0, 0), tIn));
  EXPECT_FLOAT_EQ(tIn, -1.0f);
  // A moved base.
  BrCylinder moved(BrVector(10, 0, 0), BrVector(0, 1, 0), 2.0f);
  EXPECT_TRUE(moved.IntersectsRay(BrVector(0, 0, 0), BrVector(1, 0, 0), tIn));
  EXPECT_NEAR(tIn, 8.0f, 1e-5f);
}

TEST(BrCylinder, RayParallelToAxis) {
  BrCylinder c;
  c.radius = 1.0f;
  float tIn = 123.0f;
  EXPECT_TRUE(c.IntersectsRay(BrVector(0.5f, -4, 0), BrVector(0, 1, 0), tIn));
  EXPECT_FLOAT_EQ(tIn, 123.0f);
  EXPECT_FALSE(c.IntersectsRay(BrVector(1.5f, -4, 0), BrVector(0, -1, 0), tIn));
  EXPECT_TRUE(c.IntersectsRay(BrVector(0, 0, 1.0f), BrVector(0, 1, 0), tIn));
  EXPECT_FLOAT_EQ(tIn, 123.0f);
}

TEST(BrCylinder, SegmentBounds) {
  BrCylinder c;
  c.radius = 1.0f;
  EXPECT_TRUE(c.IntersectsVector(BrVector(5, 0, 0), BrVector(-5, 0, 0)));
  EXPECT_FALSE(c.IntersectsVector(BrVector(5, 0, 0), BrVector(3, 0, 0)));  // stops before the entry
  EXPECT_FALSE(c.IntersectsVector(BrVector(5, 0, 0), BrVector(1, 0, 0)));  // ends exactly at the entry
  EXPECT_TRUE(c.IntersectsVector(BrVector(5, 0, 0), BrVector(0.9f, 0, 0)));
  EXPECT_FALSE(c.IntersectsVector(BrVector(5, 0, 5), BrVector(-5, 0, 5)));  // passes beside it
  // Starting inside: the entry lies behind the start but within one diameter.
  EXPECT_TRUE(c.IntersectsVector(BrVector(0, 0, 0), BrVector(5, 0, 0)));
  // Pointing away from a cylinder far behind: the entry is more than a diameter behind.
  EXPECT_FALSE(c.IntersectsVector(BrVector(5, 0, 0), BrVector(10, 0, 0)));
  EXPECT_FALSE(c.IntersectsVector(BrVector(1.5f, 0, 0), BrVector(10, 0, 0)));  // entry 2.5 behind
  EXPECT_TRUE(c.IntersectsVector(BrVector(0.5f, 0, 0), BrVector(10, 0, 0)));   // entry 1.5 behind
}

TEST(BrCylinder, DegenerateInputsGiveNoNaN) {
  BrCylinder c;
  c.radius = 1.0f;
  // A zero-length segment: no direction at all.
  EXPECT_FALSE(c.IntersectsVector(BrVector(0, 0, 0), BrVector(0, 0, 0)));
  EXPECT_FALSE(c.IntersectsVector(BrVector(3, 0, 0), BrVector(3, 0, 0)));
  float tIn = 0.0f;
  // A zero radius cylinder and a ray through its axis.
  BrCylinder thin;
  EXPECT_TRUE(thin.IntersectsRay(BrVector(5, 0, 0), BrVector(-1, 0, 0), tIn));
  EXPECT_FALSE(std::isnan(tIn));
  EXPECT_NEAR(tIn, 5.0f, 1e-5f);
  // A non-unit axis can make the ray's across component vanish; the entry must stay finite.
  BrCylinder odd(BrVector(), BrVector(0, 1e6f, 0), 1.0f);
  tIn = 0.0f;
  EXPECT_TRUE(odd.IntersectsRay(BrVector(0.5f, 0, 0), BrVector(1e-8f, 1, 0), tIn));
  EXPECT_TRUE(std::isfinite(tIn));
}
