// Mutators on a real actor: arguments split, names matched with and without arguments, counting down (0 counts
// as run out), permanent ones staying, refusals leaving nothing behind, removal by name, the actor's death taking
// its mutators with it, flying height, and the seconds drawn beside the icon (an icon that fails is tried once).
#include <gtest/gtest.h>

#include <cstring>

#include "../../support/RecordingRenderDevice.h"
#include "RAGActorTestSupport.h"
#include "RAGTestMutators.h"

using ragactor::ActorWorld;

namespace {
const char* kConfig = "[Rat]\nType=BrRAGActor\nHealth=10\nSize=32\n\n";

// Valid objects in the map whose name starts with prefix.
int LiveNamed(ActorWorld& world, const char* prefix) {
  int n = 0;
  for (int id = 0; id < world.Map()->NumObjects(); ++id) {
    BrGameObj* object = world.Map()->GetObjectA(id);
    const char* name = object->GetName();
    if (object->IsValid() && name && std::strncmp(name, prefix, std::strlen(prefix)) == 0) ++n;
  }
  return n;
}
}  // namespace

TEST(RAGMutator, AppliedCountedDownAndRemoved) {
  ActorWorld world(kConfig);
  BrRAGActor* rat = world.Spawn("Rat");
  ASSERT_NE(rat, nullptr);

  ASSERT_TRUE(rat->ApplyMutator(BrStringT<char>("TestTimed(3,poison, x)"), false));
  MUTTestTimed* timed = static_cast<MUTTestTimed*>(rat->GetMutator(BrStringT<char>("MUTTestTimed"), false));
  ASSERT_NE(timed, nullptr);
  EXPECT_EQ(rat->GetMutator(BrStringT<char>("MUTTestTimed"), true), nullptr);
  EXPECT_EQ(rat->GetMutator(BrStringT<char>("MUTTestTimed(9)"), false), timed);
  EXPECT_STREQ(timed->GetName(), "MUTTestTimed(3,poison, x)");
  ASSERT_EQ(timed->GetNumSpawnParams(), 3);
  EXPECT_STREQ(timed->GetSpawnParam(2).c_str(), " x");
  EXPECT_EQ(timed->parsed, 1);
  EXPECT_EQ(timed->GetMutated(), rat);
  EXPECT_EQ(timed->GetOwner(), rat->GetID());
  EXPECT_FALSE(timed->GetDrawnByMap());
  EXPECT_EQ(rat->CountTimesMutatedBy(BrStringT<char>("MUTTestTimed(3,poison, x)")), 1u);

  // 0.5 s left: a step of 0.4 keeps it, the rest of the time runs it out.
  timed->SetDuration(0.5f);
  world.Map()->Step(0.4f);
  EXPECT_TRUE(timed->IsValid());
  world.Map()->Step(0.1f);
  EXPECT_FALSE(timed->IsValid());
  EXPECT_EQ(rat->GetMutatorID(0), -1);
  EXPECT_EQ(rat->GetNumMutators(), 1);

  // A permanent one never runs out and takes the free entry; removed by its command, it leaves.
  ASSERT_TRUE(rat->ApplyMutator(BrStringT<char>("TestTimed(1)"), true));
  EXPECT_EQ(rat->GetNumMutators(), 1);
  world.Map()->Step(100.0f);
  BrRAGMutator* permanent = rat->GetMutator(BrStringT<char>("MUTTestTimed(1)"), true);
  ASSERT_NE(permanent, nullptr);
  EXPECT_EQ(permanent->GetDuration(), -1.0f);
  // A timed removal by that name leaves the permanent one alone.
  rat->RemoveMutator(BrStringT<char>("MUTTestTimed(1)"), false);
  EXPECT_TRUE(permanent->IsValid());
  rat->RemoveMutator(BrStringT<char>("TestTimed(1)"), true);
  EXPECT_FALSE(permanent->IsValid());
  EXPECT_EQ(rat->GetMutator(BrStringT<char>("MUTTestTimed"), false), nullptr);

  // Timed ones of a name are removed together.
  ASSERT_TRUE(rat->ApplyMutator(BrStringT<char>("TestTimed(2)"), false));
  ASSERT_TRUE(rat->ApplyMutator(BrStringT<char>("TestTimed(2)"), false));
  EXPECT_EQ(rat->CountTimesMutatedBy(BrStringT<char>("MUTTestTimed(2)")), 2u);
  rat->RemoveMutator(BrStringT<char>("MUTTestTimed(2)"), false);
  EXPECT_EQ(rat->CountTimesMutatedBy(BrStringT<char>("MUTTestTimed(2)")), 0u);
  EXPECT_EQ(LiveNamed(world, "MUTTestTimed"), 0);

  // A mutator that was never applied only destroys itself.
  MUTTestTimed loose;
  loose.Remove();
  EXPECT_FALSE(loose.IsValid());
}

TEST(RAGMutator, RefusedMutatorsDoNotStay) {
  ActorWorld world(kConfig);
  BrRAGActor* rat = world.Spawn("Rat");
  ASSERT_NE(rat, nullptr);

  EXPECT_FALSE(rat->ApplyMutator(BrStringT<char>("TestRefuse"), false));
  EXPECT_EQ(LiveNamed(world, "MUTTestRefuse"), 0);
  EXPECT_EQ(rat->GetMutator(BrStringT<char>("MUTTestRefuse"), false), nullptr);

  ASSERT_TRUE(rat->ApplyMutator(BrStringT<char>("TestWard"), true));
  EXPECT_FALSE(rat->ApplyMutator(BrStringT<char>("TestDouble"), false));
  EXPECT_EQ(LiveNamed(world, "MUTTestDouble"), 0);
  EXPECT_TRUE(rat->ApplyMutator(BrStringT<char>("TestTimed"), false));

  EXPECT_FALSE(rat->ApplyMutator(BrStringT<char>("Nope(1)"), false));
  EXPECT_EQ(world.folder.CountLines("ERROR: Failed to spawn mutator Nope(1)"), 1);

  // The actor's end takes its mutators with it.
  rat->ApplyMutator(BrStringT<char>("Flying"), false);
  BrVector goal(100.0f, 0.0f, 0.0f);
  rat->PathTo(goal);
  EXPECT_EQ(rat->PathDestination().y, 128.0f);
  BrRAGDamage fatal;
  fatal.SetPoints(50.0f);
  rat->TakeDMG(fatal);
  EXPECT_FALSE(rat->IsValid());
  EXPECT_EQ(LiveNamed(world, "MUT"), 0);
}

TEST(RAGMutator, IconShowsWholeSecondsLeftAndIsLookedForOnce) {
  RecordingRenderDevice device;
  ScopedRenderDevice scoped(&device);
  ASSERT_TRUE(device.Init());
  ActorWorld world(kConfig);
  BrRAGActor* rat = world.Spawn("Rat");
  ASSERT_NE(rat, nullptr);
  ASSERT_TRUE(rat->ApplyMutator(BrStringT<char>("TestTimed"), false));
  BrRAGMutator* timed = rat->GetMutator(BrStringT<char>("MUTTestTimed"), false);
  ASSERT_NE(timed, nullptr);

  auto drawnTexts = [&](float duration) {
    timed->SetDuration(duration);
    device.texts.clear();
    timed->DrawIcon(&device, 0.1f, 0.1f, 0.05f, 0.05f);
    std::vector<std::string> texts;
    for (const auto& t : device.texts) texts.push_back(t.text);
    return texts;
  };
  EXPECT_EQ(drawnTexts(2.5f), std::vector<std::string>{"2"});
  EXPECT_TRUE(drawnTexts(0.4f).empty());
  EXPECT_TRUE(drawnTexts(-1.0f).empty());
  int lookups = 0;
  for (const std::string& name : device.Textures()->loads) lookups += name.find("MUTTestTimed") != std::string::npos;
  EXPECT_LE(lookups, 1);
}
