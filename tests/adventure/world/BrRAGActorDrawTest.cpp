// An actor's damage numbers on screen: the text of each live flyup (a blow that truncates to nothing reads
// "MISS"), rising as its second of life runs out, and gone once spent.
#include <gtest/gtest.h>

#include "../../support/RecordingRenderDevice.h"
#include "RAGActorTestSupport.h"

using ragactor::ActorWorld;

namespace {
const char* kConfig = "[Rat]\nType=BrRAGActor\nHealth=10\n\n";

std::vector<RecordingRenderDevice::Text> Drawn(RecordingRenderDevice& device, BrRAGActor* actor) {
  device.texts.clear();
  actor->Draw(&device);
  return device.texts;
}
}  // namespace

TEST(RAGActorDraw, FlyupsRiseAndShowMissForNothing) {
  RecordingRenderDevice device;
  ScopedRenderDevice scoped(&device);
  ASSERT_TRUE(device.Init());
  ActorWorld world(kConfig);
  BrRAGActor* rat = world.Spawn("Rat", 0.0f, 600.0f);
  ASSERT_NE(rat, nullptr);
  float sx = 0.0f, sy = 0.0f;
  ASSERT_TRUE(device.Project(rat->Location() + BrVector(0.0f, rat->GetDrawScale().y, 0.0f), sx, sy))
      << "the rat is not in front of the camera";

  BrRAGDamage hit;
  hit.SetPoints(3.0f);
  rat->TakeDMG(hit);
  auto texts = Drawn(device, rat);
  ASSERT_EQ(texts.size(), 1u);
  EXPECT_EQ(texts[0].text, "3");
  EXPECT_FLOAT_EQ(texts[0].y, sy);
  EXPECT_EQ(texts[0].colour.a, 128);

  rat->Step(0.5f);
  BrRAGDamage graze;
  graze.SetPoints(0.5f);
  rat->TakeDMG(graze);
  texts = Drawn(device, rat);
  ASSERT_EQ(texts.size(), 2u);
  EXPECT_EQ(texts[0].text, "3");
  EXPECT_NEAR(texts[0].y, sy - 0.03f, 1e-4);
  EXPECT_EQ(texts[1].text, "MISS");
  EXPECT_FLOAT_EQ(texts[1].y, sy);

  rat->Step(1.0f);
  EXPECT_TRUE(Drawn(device, rat).empty());
}
