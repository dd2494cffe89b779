// Tests of BrARGB: packing both ways and clamped channel arithmetic.
#include "core/BrARGB.h"

#include <gtest/gtest.h>

#include "CoreTestKit.h"

namespace {
void ExpectColour(const BrARGB& c, int a, int r, int g, int b) {
  EXPECT_EQ(c.a, a);
  EXPECT_EQ(c.r, r);
  EXPECT_EQ(c.g, g);
  EXPECT_EQ(c.b, b);
}
}  // namespace

TEST(BrARGB, ConstructionAndPacking) {
  ExpectColour(BrARGB(), 255, 0, 0, 0);
  ExpectColour(BrARGB(200, 255, 0, 0), 200, 255, 0, 0);
  ExpectColour(BrARGB(-5, 300, 0, 0), -5, 300, 0, 0);  // not clamped
  const uint32_t packed = (128u << 24) | (255u << 16) | (0u << 8) | 16u;
  BrARGB c(packed);
  ExpectColour(c, 128, 255, 0, 16);
  EXPECT_EQ(c.GetDWORD(), packed);
  EXPECT_EQ(BrARGB(0xFFFFFFFFu).GetDWORD(), 0xFFFFFFFFu);
  EXPECT_EQ(BrARGB(1, 2, 3, 4).GetDWORD(), 0x01020304u);
  // Only the low 8 bits of each channel are packed.
  EXPECT_EQ(BrARGB(0x1FF, 0x100, -1, 0x180).GetDWORD(), 0xFF00FF80u);
}

TEST(BrARGB, ClampedArithmetic) {
  ExpectColour(BrARGB(200, 200, 200, 200) + BrARGB(100, 0, 0, 100), 255, 200, 200, 255);
  ExpectColour(BrARGB(10, 10, 10, 10) + BrARGB(-20, -10, 0, 5), 0, 0, 10, 15);
  ExpectColour(BrARGB(100, 100, 100, 100) * 1.5f, 150, 150, 150, 150);
  ExpectColour(BrARGB(100, 100, 100, 100) * -1.0f, 0, 0, 0, 0);
  ExpectColour(BrARGB(255, 3, 5, 7) * 0.5f, 127, 1, 2, 3);  // truncated toward zero
  ExpectColour(BrARGB(255, 255, 255, 255) * 1e30f, 255, 255, 255, 255);
  ExpectColour(BrARGB(2147483647, -2147483647, 1, 1) + BrARGB(2147483647, -2147483647, 0, 0), 255, 0, 1, 1);
  BrARGB c(1, 2, 3, 4);
  BrARGB d = c;
  d = BrARGB(9, 9, 9, 9);
  ExpectColour(c, 1, 2, 3, 4);
  ExpectColour(d, 9, 9, 9, 9);
}

class BrARGBArchiveTest : public coretest::ScratchTest {};

TEST_F(BrARGBArchiveTest, FourInt32ChannelsAlphaFirst) {
  const std::string path = Folder() + "/argb.bin";
  BrARGB c(200, -1, 300, 4);
  {
    BrBin out;
    ASSERT_TRUE(out.Open(path.c_str(), 0));
    out << c;
  }
  std::vector<uint8_t> want;
  coretest::PutInt32(want, 200);
  coretest::PutInt32(want, -1);
  coretest::PutInt32(want, 300);
  coretest::PutInt32(want, 4);
  EXPECT_EQ(coretest::ReadFileBytes(path), want);
  BrBin in;
  in.Loading();
  ASSERT_TRUE(in.Open(path.c_str(), 0));
  BrARGB back;
  in << back;
  EXPECT_FALSE(in.HasFailed());
  ExpectColour(back, 200, -1, 300, 4);
}
