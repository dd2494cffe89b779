// BrRect: tolerant comparison, translation, and the inclusive point and circle tests.
#include <gtest/gtest.h>

#include "core/BrVector.h"
#include "engine/presentation/BrRect.h"

TEST(BrRect, ComparesWithinOneThousandth) {
  BrRect a(0.1f, 0.2f, 0.3f, 0.4f);
  EXPECT_TRUE(a == BrRect(0.1009f, 0.2009f, 0.3009f, 0.4009f));
  EXPECT_FALSE(a != BrRect(0.1009f, 0.2009f, 0.3009f, 0.4009f));
  EXPECT_TRUE(a != BrRect(0.1f, 0.2f, 0.3f, 0.402f));
  EXPECT_TRUE(BrRect() != BrRect(0.0f, 0.0f, 0.0f, 0.001f));
  EXPECT_TRUE(BrRect() != BrRect(-0.001f, 0.0f, 0.0f, 0.0f));
}

TEST(BrRect, ConstructorsTranslationAndSize) {
  BrRect empty;
  EXPECT_EQ(empty.minX, 0.0f);
  EXPECT_EQ(empty.maxY, 0.0f);
  BrRect mode(800.0f, 600.0f);
  EXPECT_EQ(mode.minX, 0.0f);
  EXPECT_EQ(mode.minY, 0.0f);
  EXPECT_EQ(mode.GetWidth(), 800.0f);
  EXPECT_EQ(mode.GetHeight(), 600.0f);
  BrRect r(1.0f, 2.0f, 3.0f, 5.0f);
  r.Translate(10.0f, -1.0f);
  EXPECT_EQ(r, BrRect(11.0f, 1.0f, 13.0f, 4.0f));
  EXPECT_FLOAT_EQ(r.GetWidth(), 2.0f);
  EXPECT_FLOAT_EQ(r.GetHeight(), 3.0f);
}

TEST(BrRect, PointTestIncludesTheEdgesAndIgnoresZ) {
  BrRect r(0.0f, 0.0f, 1.0f, 2.0f);
  EXPECT_TRUE(r.ContainsPoint(BrVector(0.0f, 0.0f, 99.0f)));
  EXPECT_TRUE(r.ContainsPoint(BrVector(1.0f, 2.0f, -5.0f)));
  EXPECT_FALSE(r.ContainsPoint(BrVector(1.01f, 1.0f, 0.0f)));
  EXPECT_FALSE(r.ContainsPoint(BrVector(0.5f, -0.01f, 0.0f)));
}

TEST(BrRect, CircleTests) {
  BrRect r(0.0f, 0.0f, 10.0f, 10.0f);
  EXPECT_TRUE(r.ContainsCircle(BrVector(5.0f, 5.0f, 0.0f), 5.0f));
  EXPECT_FALSE(r.ContainsCircle(BrVector(5.0f, 5.0f, 0.0f), 5.1f));
  EXPECT_FALSE(r.ContainsCircle(BrVector(0.5f, 5.0f, 0.0f), 1.0f));
  // The reach is twice the radius.
  EXPECT_TRUE(r.IntersectsCircle(BrVector(12.0f, 5.0f, 0.0f), 1.0f));
  EXPECT_TRUE(r.IntersectsCircle(BrVector(5.0f, -2.0f, 0.0f), 1.0f));
  EXPECT_FALSE(r.IntersectsCircle(BrVector(12.01f, 5.0f, 0.0f), 1.0f));
  EXPECT_FALSE(r.IntersectsCircle(BrVector(5.0f, -2.01f, 0.0f), 1.0f));
}
