// Tests of BrVector: products, tolerance equality, normalising, rotation and the line-distance test.
#include "core/BrVector.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstdlib>

#include "CoreTestKit.h"
#include "core/BrMatrix3.h"

namespace {
void ExpectVec(const BrVector& v, float x, float y, float z, float eps = 1e-5f) {
  EXPECT_NEAR(v.x, x, eps);
  EXPECT_NEAR(v.y, y, eps);
  EXPECT_NEAR(v.z, z, eps);
}
}  // namespace

TEST(BrVector, ArithmeticAndProducts) {
  ExpectVec(BrVector(), 0, 0, 0);
  ExpectVec(BrVector(1, 0, 0) ^ BrVector(0, 1, 0), 0, 0, 1);
  ExpectVec(BrVector(0, 1, 0) ^ BrVector(1, 0, 0), 0, 0, -1);
  EXPECT_FLOAT_EQ(BrVector(1, 2, 3) | BrVector(4, 5, 6), 32.0f);
  ExpectVec(BrVector(1, 2, 3) - BrVector(4, 6, 8), -3, -4, -5);
  ExpectVec(BrVector(1, 2, 3) * BrVector(2, 3, 4), 2, 6, 12);

  BrVector v(1, 2, 3);
  BrVector copy = (v += BrVector(1, 1, 1));
  ExpectVec(v, 2, 3, 4);
  ExpectVec(copy, 2, 3, 4);
  copy = (v -= BrVector(2, 2, 2));
  ExpectVec(copy, 0, 1, 2);
  copy = (v *= 2.0f);
  ExpectVec(copy, 0, 2, 4);
  v *= BrVector(5, 2, 0.5f);
  ExpectVec(v, 0, 4, 2);
}

TEST(BrVector, TimesMatrixCombinesRows) {
  BrMatrix3 m(BrVector(1, 2, 3), BrVector(4, 5, 6), BrVector(7, 8, 9));
  // x * row0 + y * row1 + z * row2
  ExpectVec(BrVector(1, 0, 0) * m, 1, 2, 3);
  ExpectVec(BrVector(0, 0, 1) * m, 7, 8, 9);
  ExpectVec(BrVector(1, 1, 2) * m, 1 + 4 + 14, 2 + 5 + 16, 3 + 6 + 18);
  BrVector v(1, 1, 2);
  BrVector copy = (v *= m);
  ExpectVec(v, 19, 23, 27);
  ExpectVec(copy, 19, 23, 27);
}

TEST(BrVector, EqualityHasAbsoluteTolerance) {
  EXPECT_TRUE(BrVector(0, 0, 0.0005f) == BrVector(0, 0, 0));
  EXPECT_FALSE(BrVector(0, 0, 0.002f) == BrVector(0, 0, 0));
  EXPECT_TRUE(BrVector(0, 0, 0.002f) != BrVector(0, 0, 0));
  EXPECT_FALSE(BrVector(1000, 0, 0) == BrVector(1000.01f, 0, 0));
  EXPECT_TRUE(BrVector(-3, 4, 5) == BrVector(-3.0009f, 4.0009f, 4.9991f));
}

TEST(BrVector, SizeUnitNormalise) {
  EXPECT_FLOAT_EQ(BrVector(3, 0, 4).Size(), 5.0f);
  BrVector zero;
  ExpectVec(zero.Normalise(), 0, 0, 0);
  ExpectVec(zero, 0, 0, 0);
  BrVector v(3, 0, 4);
  BrVector copy = v.Normalise();
  ExpectVec(v, 0.6f, 0, 0.8f);
  ExpectVec(copy, 0.6f, 0, 0.8f);
  BrVector w(0, -2, 0);
  ExpectVec(w.Unit(), 0, -1, 0);
  ExpectVec(w, 0, -2, 0);                 // Unit leaves the vector alone
  ExpectVec(BrVector().Unit(), 0, 0, 0);  // no direction: zero, never NaN
}

TEST(BrVector, AxisAngleRotation) {
  const double halfPi = 1.5707963267948966;
  BrVector v(1, 0, 0);
  v.AxisAngleRotation(BrVector(0, 0, 1), halfPi);
  ExpectVec(v, 0, 1, 0);

  // About Y the row-vector convention turns X towards -Z.
  BrVector x(1, 0, 0);
  x.AxisAngleRotation(BrVector(0, 1, 0), halfPi);
  ExpectVec(x, 0, 0, -1);

  // A vector on the axis does not move; a full turn comes back; length is kept.
  BrVector onAxis(0, 2, 0);
  onAxis.AxisAngleRotation(BrVector(0, 1, 0), 1.0);
  ExpectVec(onAxis, 0, 2, 0);
  const float s = 1.0f / std::sqrt(3.0f);
  BrVector p(1, 2, 3);
  for (int i = 0; i < 8; ++i) p.AxisAngleRotation(BrVector(s, s, s), 3.14159265358979 / 4.0);
  ExpectVec(p, 1, 2, 3, 1e-4f);
  BrVector q(1, 2, 3);
  q.AxisAngleRotation(BrVector(s, s, s), 0.7);
  EXPECT_NEAR(q.Size(), BrVector(1, 2, 3).Size(), 1e-5f);
  // A third of a turn about the diagonal cycles the axes.
  BrVector c(1, 0, 0);
  c.AxisAngleRotation(BrVector(s, s, s), 2.0 * 3.14159265358979 / 3.0);
  ExpectVec(c, 0, 1, 0, 1e-5f);
}

TEST(BrVector, IntersectsMeasuresDistanceToLine) {
  BrVector line(0, 0, 5);
  EXPECT_TRUE(line.Intersects(BrVector(0.5f, 0, 100), 1.0f));   // the line is unbounded
  EXPECT_TRUE(line.Intersects(BrVector(0.5f, 0, -100), 1.0f));  // in both directions
  EXPECT_FALSE(line.Intersects(BrVector(1.5f, 0, 3), 1.0f));
  EXPECT_TRUE(line.Intersects(BrVector(0, 1.0f, 7), 1.0f));  // at most the radius counts
  EXPECT_TRUE(BrVector(1, 1, 0).Intersects(BrVector(3, 3, 0), 0.0f));
  EXPECT_TRUE(BrVector(1, 1, 0).Intersects(BrVector(2, 0, 0), 1.5f));  // distance sqrt(2)
  EXPECT_FALSE(BrVector(1, 1, 0).Intersects(BrVector(2, 0, 0), 1.4f));
}

TEST(BrVector, IntersectsIsNeverNaNAtTheOrigin) {
  // The point at the origin lies on every line through it.
  EXPECT_TRUE(BrVector(0, 0, 5).Intersects(BrVector(0, 0, 0), 0.0f));
  EXPECT_TRUE(BrVector(0, 0, 5).Intersects(BrVector(0, 0, 0), 1.0f));
  // A zero direction measures from the origin itself.
  EXPECT_TRUE(BrVector().Intersects(BrVector(0.5f, 0, 0), 1.0f));
  EXPECT_FALSE(BrVector().Intersects(BrVector(2, 0, 0), 1.0f));
  EXPECT_TRUE(BrVector().Intersects(BrVector(), 0.0f));
  // A point on the line whose cosine rounds above 1 still lies on it.
  EXPECT_TRUE(BrVector(0.1f, 0.2f, 0.3f).Intersects(BrVector(0.3f, 0.6f, 0.9f), 1e-4f));
}

TEST(BrVector, GVecByZSortsAscending) {
  BrVector v[5] = {BrVector(0, 0, 3), BrVector(1, 0, -1), BrVector(2, 0, 7), BrVector(3, 0, 0), BrVector(4, 0, 3)};
  std::qsort(v, 5, sizeof(BrVector), GVecByZ);
  EXPECT_FLOAT_EQ(v[0].z, -1);
  EXPECT_FLOAT_EQ(v[1].z, 0);
  EXPECT_FLOAT_EQ(v[2].z, 3);
  EXPECT_FLOAT_EQ(v[3].z, 3);
  EXPECT_FLOAT_EQ(v[4].z, 7);
  EXPECT_EQ(GVecByZ(&v[2], &v[3]), 0);
  EXPECT_EQ(GVecByZ(&v[4], &v[0]), 1);
  EXPECT_EQ(GVecByZ(&v[0], &v[4]), -1);
}

class BrVectorArchiveTest : public coretest::ScratchTest {};

TEST_F(BrVectorArchiveTest, TwelveBytesOfThreeFloats) {
  const std::string path = Folder() + "/v.bin";
  {
    BrBin out;
    ASSERT_TRUE(out.Open(path.c_str(), 0));
    BrVector v(1, 2, 3);
    BrVector w(-0.5f, 0, 1e30f);
    out << v << w;
    EXPECT_FALSE(out.HasFailed());
  }
  const std::vector<uint8_t> bytes = coretest::ReadFileBytes(path);
  ASSERT_EQ(bytes.size(), 24u);
  const std::vector<uint8_t> one = {0x00, 0x00, 0x80, 0x3F};  // 1.0f, little-endian
  EXPECT_EQ(std::vector<uint8_t>(bytes.begin(), bytes.begin() + 4), one);
  const std::vector<uint8_t> three = {0x00, 0x00, 0x40, 0x40};
  EXPECT_EQ(std::vector<uint8_t>(bytes.begin() + 8, bytes.begin() + 12), three);

  BrBin in;
  in.Loading();
  ASSERT_TRUE(in.Open(path.c_str(), 0));
  BrVector v, w;
  in << v << w;
  EXPECT_FALSE(in.HasFailed());
  EXPECT_TRUE(v == BrVector(1, 2, 3));
  EXPECT_FLOAT_EQ(w.x, -0.5f);
  EXPECT_FLOAT_EQ(w.z, 1e30f);
  // Past the end: the archive fails and the vector reads as zeros.
  BrVector past(7, 7, 7);
  in << past;
  EXPECT_TRUE(in.HasFailed());
  EXPECT_TRUE(past == BrVector());
}
