// Tests of BrCoords: default frame, composition and re-orthogonalisation.
#include "core/BrCoords.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstring>

#include "CoreTestKit.h"

TEST(BrCoords, DefaultIsAllZero) {
  BrCoords c;
  EXPECT_TRUE(c.X == BrVector() && c.Y == BrVector() && c.Z == BrVector() && c.Position == BrVector());
  BrCoords d(BrVector(1, 0, 0), BrVector(0, 1, 0), BrVector(0, 0, 1), BrVector(4, 5, 6));
  BrCoords e(d);
  EXPECT_TRUE(e.Position == BrVector(4, 5, 6));
  EXPECT_TRUE(e.Z == BrVector(0, 0, 1));
}

TEST(BrCoords, CompositionTurnsAxesAndDropsPositions) {
  BrCoords ident(BrVector(1, 0, 0), BrVector(0, 1, 0), BrVector(0, 0, 1), BrVector(7, 7, 7));
  // A quarter turn about Z: X -> Y, Y -> -X.
  BrCoords turn(BrVector(0, 1, 0), BrVector(-1, 0, 0), BrVector(0, 0, 1), BrVector(1, 2, 3));
  BrCoords r = ident * turn;
  EXPECT_TRUE(r.X == BrVector(0, 1, 0));
  EXPECT_TRUE(r.Y == BrVector(-1, 0, 0));
  EXPECT_TRUE(r.Z == BrVector(0, 0, 1));
  EXPECT_TRUE(r.Position == BrVector(0, 0, 0));

  // Two quarter turns make a half turn.
  BrCoords half = turn * turn;
  EXPECT_TRUE(half.X == BrVector(-1, 0, 0));
  EXPECT_TRUE(half.Y == BrVector(0, -1, 0));

  // Composition is not commutative: turn about Z then about X differs from the reverse.
  BrCoords aboutX(BrVector(1, 0, 0), BrVector(0, 0, 1), BrVector(0, -1, 0), BrVector());
  BrCoords zx = turn * aboutX;
  BrCoords xz = aboutX * turn;
  EXPECT_TRUE(zx.X == BrVector(0, 0, 1));
  EXPECT_TRUE(xz.X == BrVector(0, 1, 0));

  BrCoords inPlace = turn;
  BrCoords copy = (inPlace *= turn);
  EXPECT_TRUE(inPlace.X == BrVector(-1, 0, 0));
  EXPECT_TRUE(copy.X == BrVector(-1, 0, 0));
  EXPECT_TRUE(inPlace.Position == BrVector());
}

TEST(BrCoords, ReOrthogonalizeRestoresUnitPerpendicularAxes) {
  BrCoords c(BrVector(2, 0.1f, 0), BrVector(0.3f, 5, 0.2f), BrVector(0.05f, 0, 3), BrVector(1, 2, 3));
  c.ReOrthogonalize();
  // Z is normalised exactly; X and Y come out of cross products of unit vectors that were not quite
  // perpendicular, so their lengths are the sine of the drifted angle: near 1 for a frame that drifted little.
  EXPECT_NEAR(c.Z.Size(), 1.0f, 1e-5f);
  EXPECT_NEAR(c.X.Size(), 1.0f, 1e-3f);
  EXPECT_NEAR(c.Y.Size(), 1.0f, 1e-3f);
  EXPECT_NEAR(c.X | c.Y, 0.0f, 1e-5f);
  EXPECT_NEAR(c.Y | c.Z, 0.0f, 1e-5f);
  EXPECT_NEAR(c.X | c.Z, 0.0f, 1e-5f);
  // Z keeps its direction; the frame stays right-handed; the position is kept.
  BrVector z = BrVector(0.05f, 0, 3).Unit();
  EXPECT_TRUE(c.Z == z);
  EXPECT_TRUE((c.X.Unit() ^ c.Y.Unit()) == c.Z);
  EXPECT_TRUE(c.Position == BrVector(1, 2, 3));
  EXPECT_GT(c.Y.y, 0.9f);
}

class BrCoordsArchiveTest : public coretest::ScratchTest {};

TEST_F(BrCoordsArchiveTest, FortyEightBytesInMemberOrder) {
  const std::string path = Folder() + "/c.bin";
  BrCoords c(BrVector(1, 2, 3), BrVector(4, 5, 6), BrVector(7, 8, 9), BrVector(10, 11, 12));
  {
    BrBin out;
    ASSERT_TRUE(out.Open(path.c_str(), 0));
    out << c;
  }
  const std::vector<uint8_t> bytes = coretest::ReadFileBytes(path);
  ASSERT_EQ(bytes.size(), 48u);
  for (int i = 0; i < 12; ++i) {
    float f;
    std::memcpy(&f, &bytes[size_t(i) * 4], 4);
    EXPECT_FLOAT_EQ(f, float(i + 1)) << i;
  }
  BrBin in;
  in.Loading();
  ASSERT_TRUE(in.Open(path.c_str(), 0));
  BrCoords back;
  in << back;
  EXPECT_FALSE(in.HasFailed());
  EXPECT_TRUE(back.Y == BrVector(4, 5, 6));
  EXPECT_TRUE(back.Position == BrVector(10, 11, 12));
}
