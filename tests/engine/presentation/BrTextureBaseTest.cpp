// Texel access: only while locked, locking for writes, and never outside the texture.
#include <gtest/gtest.h>

#include "tests/support/RecordingRenderDevice.h"

TEST(TextureBase, TexelsAreReadAndWrittenOnlyInsideALockedTexture) {
  RecordingTexture t(4, 3);
  // A read before the lock is refused.
  BrARGB none = t.GetTexel(0, 0);
  EXPECT_EQ(none.GetDWORD(), 0u);
  // A write locks first, and the caller unlocks.
  EXPECT_TRUE(t.SetTexel(3, 2, BrARGB(255, 10, 20, 30)));
  EXPECT_TRUE(t.Locked());
  EXPECT_EQ(t.Raw(3, 2), BrARGB(255, 10, 20, 30).GetDWORD());
  EXPECT_EQ(t.GetTexel(3, 2).GetDWORD(), BrARGB(255, 10, 20, 30).GetDWORD());
  // Outside the texture: refused both ways, nothing else touched.
  EXPECT_FALSE(t.SetTexel(4, 0, BrARGB(255, 1, 1, 1)));
  EXPECT_FALSE(t.SetTexel(0, 3, BrARGB(255, 1, 1, 1)));
  EXPECT_FALSE(t.SetTexel(-1, 0, BrARGB(255, 1, 1, 1)));
  EXPECT_FALSE(t.SetTexel(0, -1, BrARGB(255, 1, 1, 1)));
  EXPECT_EQ(t.GetTexel(4, 0).GetDWORD(), 0u);
  EXPECT_EQ(t.GetTexel(-1, 2).GetDWORD(), 0u);
  for (unsigned int y = 0; y < 3; ++y) {
    for (unsigned int x = 0; x < 4; ++x) {
      if (x != 3 || y != 2) {
        EXPECT_EQ(t.Raw(x, y), 0u);
      }
    }
  }
  t.Update(0);
  EXPECT_FALSE(t.Locked());
}

TEST(TextureBase, ATextureThatCannotBeLockedRefusesWrites) {
  RecordingTexture t(2, 2);
  t.lockable = false;
  EXPECT_FALSE(t.SetTexel(0, 0, BrARGB(255, 1, 1, 1)));
  EXPECT_EQ(t.accesses, 1);
  EXPECT_EQ(t.Raw(0, 0), 0u);
}
