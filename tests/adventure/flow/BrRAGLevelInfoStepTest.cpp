// The playing state finds the level's info once and keeps it between frames: when the level's objects are
// cleared and a completed info comes in its place, the next step must still end the level.
#include <gtest/gtest.h>

#include "adventure/world/BrRAGLevelInfo.h"
#include "adventure/world/BrRAGMap.h"
#include "engine/kernel/BrEngine.h"
#include "tests/adventure/flow/FlowPlaySupport.h"

using namespace ragflow;

TEST(BrRAGPlay, ALevelInfoClearedAndReplacedByACompletedOneEndsTheLevelOnTheNextStep) {
  Play p;
  ASSERT_NE(p.game, nullptr);
  p.run.Frame(0.05f);
  ASSERT_TRUE(p.run.RAGHUD()->ControlLeftClicked("NewGameMedium"));
  ASSERT_EQ(p.run.StateName(), "BrRAGGameStatePlaying");
  RAGFlowPlayMap* map = p.Map();
  ASSERT_NE(map, nullptr);

  // An info that does not report the level done: found, held, and the game plays on.
  auto* open = static_cast<BrRAGLevelInfo*>(Engine().Spawn("BrRAGLevelInfo"));
  ASSERT_NE(open, nullptr);
  ASSERT_FALSE(open->IsCompleted());
  ASSERT_GE(map->AddObject(open), 0);
  for (int i = 0; i < 5; ++i) p.run.Frame(0.1f);
  EXPECT_EQ(p.run.StateName(), "BrRAGGameStatePlaying");
  ASSERT_EQ(map->GetLevelInfo(), open);

  // The map's objects go (the level is cleared), and a completed info comes at a later id.
  map->ObjectMgr().DestroyNonPersistentObjects();
  ASSERT_EQ(map->GetLevelInfo(), nullptr);
  ASSERT_NE(map->Place("DoneLevel", 0.0f, 0.0f), nullptr);
  p.run.Frame(0.1f);
  EXPECT_EQ(p.run.StateName(), "BrRAGGameStateCompleted");
}
