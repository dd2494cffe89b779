// Tests of BrMatrix3: construction, product, transpose, axes and refused element indices.
#include "core/BrMatrix3.h"

#include <gtest/gtest.h>

#include <cmath>

#include "CoreTestKit.h"

TEST(BrMatrix3, ConstructionAndAxes) {
  BrMatrix3 id;
  for (int i = 0; i < 9; ++i) EXPECT_FLOAT_EQ(id[i], (i % 4 == 0) ? 1.0f : 0.0f) << i;
  BrMatrix3 all(2.5f);
  for (int i = 0; i < 9; ++i) EXPECT_FLOAT_EQ(all[i], 2.5f);
  BrMatrix3 rows(BrVector(1, 2, 3), BrVector(4, 5, 6), BrVector(7, 8, 9));
  for (int i = 0; i < 9; ++i) EXPECT_FLOAT_EQ(rows[i], float(i + 1));
  EXPECT_TRUE(rows.GetXAxis() == BrVector(1, 2, 3));
  EXPECT_TRUE(rows.GetYAxis() == BrVector(4, 5, 6));
  EXPECT_TRUE(rows.GetZAxis() == BrVector(7, 8, 9));
}

TEST(BrMatrix3, ProductAndTranspose) {
  BrMatrix3 a(BrVector(1, 2, 3), BrVector(4, 5, 6), BrVector(7, 8, 9));
  BrMatrix3 b(BrVector(9, 8, 7), BrVector(6, 5, 4), BrVector(3, 2, 1));
  BrMatrix3 p = a * b;
  const float expected[9] = {30, 24, 18, 84, 69, 54, 138, 114, 90};
  for (int i = 0; i < 9; ++i) EXPECT_FLOAT_EQ(p[i], expected[i]) << i;

  BrMatrix3 t = a.GetTranspose();
  EXPECT_TRUE(t.GetXAxis() == BrVector(1, 4, 7));
  EXPECT_TRUE(t.GetZAxis() == BrVector(3, 6, 9));

  // A rotation's transpose is its inverse: the product with it is the identity, and a vector taken into the
  // frame and back returns unchanged.
  const float c = std::cos(0.6f), s = std::sin(0.6f);
  BrMatrix3 rot(BrVector(c, s, 0), BrVector(-s, c, 0), BrVector(0, 0, 1));
  BrMatrix3 ident = rot * rot.GetTranspose();
  for (int i = 0; i < 9; ++i) EXPECT_NEAR(ident[i], (i % 4 == 0) ? 1.0f : 0.0f, 1e-6f);
  BrVector v(3, -2, 5);
  BrVector back = (v * rot) * rot.GetTranspose();
  EXPECT_TRUE(back == v);
  // Product order matters for the row-vector chain: v * (a * b) == (v * a) * b.
  BrVector chain = (v * a) * b;
  BrVector whole = v * (a * b);
  EXPECT_NEAR(chain.x, whole.x, 1e-3f);
  EXPECT_NEAR(chain.y, whole.y, 1e-3f);
  EXPECT_NEAR(chain.z, whole.z, 1e-3f);
}

TEST(BrMatrix3, OutOfRangeIndexYieldsElementZero) {
  BrMatrix3 m(BrVector(1, 2, 3), BrVector(4, 5, 6), BrVector(7, 8, 9));
  EXPECT_EQ(&m[9], &m[0]);
  EXPECT_EQ(&m[-1], &m[0]);
  EXPECT_EQ(&m[-100000], &m[0]);
  EXPECT_EQ(&m[1 << 30], &m[0]);
  m[-3] = 42.0f;  // lands in element 0, never outside the matrix
  EXPECT_FLOAT_EQ(m[0], 42.0f);
  EXPECT_FLOAT_EQ(m[8], 9.0f);
  const BrMatrix3& cm = m;
  EXPECT_FLOAT_EQ(cm[12], 42.0f);
  EXPECT_FLOAT_EQ(cm[-1], 42.0f);
}

class BrMatrix3LogTest : public coretest::ScratchTest {};

TEST_F(BrMatrix3LogTest, RefusedIndicesAreLoggedAsDebugLines) {
  BrMatrix3 m;
  m[9];
  EXPECT_EQ(LogText().find("accessed invalid element"), std::string::npos);  // debug lines only
  GIsDebug = true;
  m[9];
  m[-2];
  m[4];
  const std::string log = LogText();
  EXPECT_NE(log.find("BrMatrix3::operator[] accessed invalid element idx 9\n"), std::string::npos);
  EXPECT_NE(log.find("BrMatrix3::operator[] accessed invalid element idx -2\n"), std::string::npos);
  EXPECT_EQ(log.find("idx 4"), std::string::npos);
}
