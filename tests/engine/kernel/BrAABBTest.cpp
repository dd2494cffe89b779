// Tests of BrAABB: construction and the twelve-edge outline.
#include "engine/kernel/BrAABB.h"

#include <gtest/gtest.h>

#include <cmath>
#include <map>
#include <utility>

#include "tests/support/RecordingRenderDevice.h"

TEST(BrAABB, Construction) {
  BrAABB def;
  EXPECT_TRUE(def.Corner1 == BrVector() && def.Corner2 == BrVector());
  BrAABB box(BrVector(1, 2, 3), BrVector(-1, -2, -3));  // kept in the order given
  EXPECT_TRUE(box.Corner1 == BrVector(1, 2, 3));
  EXPECT_TRUE(box.Corner2 == BrVector(-1, -2, -3));
  BrAABB copy = box;
  EXPECT_TRUE(copy.Corner2 == BrVector(-1, -2, -3));
}

TEST(BrAABB, DrawsTwelveEdgesBetweenEightCorners) {
  RecordingRenderDevice render;
  BrAABB box(BrVector(0, 0, 0), BrVector(1, 2, 3));
  box.Draw(&render, BrARGB(255, 10, 20, 30));
  ASSERT_EQ(render.lines.size(), 12u);
  std::map<std::pair<float, std::pair<float, float>>, int> endsAtCorner;
  float length[3] = {0, 0, 0};
  for (const auto& line : render.lines) {
    EXPECT_EQ(line.colour.GetDWORD(), BrARGB(255, 10, 20, 30).GetDWORD());
    // Every edge runs along one axis and joins two of the box's corners.
    const BrVector d = line.to - line.from;
    int axesMoved = (d.x != 0) + (d.y != 0) + (d.z != 0);
    EXPECT_EQ(axesMoved, 1);
    length[0] += std::abs(d.x);
    length[1] += std::abs(d.y);
    length[2] += std::abs(d.z);
    for (const BrVector& p : {line.from, line.to}) {
      EXPECT_TRUE(p.x == 0 || p.x == 1);
      EXPECT_TRUE(p.y == 0 || p.y == 2);
      EXPECT_TRUE(p.z == 0 || p.z == 3);
      ++endsAtCorner[{p.x, {p.y, p.z}}];
    }
  }
  // Eight corners, three edges at each; four edges along each axis.
  EXPECT_EQ(endsAtCorner.size(), 8u);
  for (const auto& c : endsAtCorner) EXPECT_EQ(c.second, 3);
  EXPECT_FLOAT_EQ(length[0], 4 * 1.0f);
  EXPECT_FLOAT_EQ(length[1], 4 * 2.0f);
  EXPECT_FLOAT_EQ(length[2], 4 * 3.0f);

  box.Draw(nullptr, BrARGB());  // no device: nothing happens
  EXPECT_EQ(render.lines.size(), 12u);
}
