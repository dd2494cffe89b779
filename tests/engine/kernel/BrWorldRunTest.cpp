// The engine started as the host starts it, running a game that builds a map, adds objects, saves and loads.
#include <gtest/gtest.h>

#include "EngineTestSupport.h"
#include "engine/kernel/BrActor.h"
#include "engine/kernel/BrGame.h"
#include "engine/kernel/BrLevelInfo.h"
#include "engine/kernel/BrMap.h"
#include "engine/kernel/BrPickup.h"
#include "engine/presentation/BrRenderBase.h"

using brtest::RunTree;

namespace {
struct RunResults {
  int frames = 0;
  bool saved = false;
  bool loaded = false;
  int objectsAfterLoad = -1;
  int healthAfterLoad = -1;
};
RunResults gRun;
}  // namespace

// A game that plays out a short session through its own steps.
class WorldRunGame : public BrGame {
  BR_DECLARE_CLASS(WorldRunGame)
public:
  void Step(float dt) override {
    BrGame::Step(dt);
    ++gRun.frames;
    if (gRun.frames == 1) {
      CreateMap();
      BrActor* hero = new BrActor();
      hero->SetName("BrActor");
      hero->SetPersistent(true);
      hero->SetMaxHealth(40);
      hero->SetHealth(33);
      Map()->AddObject(hero);
      BrLevelInfo* info = new BrLevelInfo();
      info->SetName("BrLevelInfo");
      info->SetPersistent(true);
      Map()->AddObject(info);
      BrPickup* loot = new BrPickup();
      loot->SetName("BrPickup");
      Map()->AddObject(loot);  // not persistent: gone by the save
    } else if (gRun.frames == 10) {
      gRun.saved = SaveGame(BrStringT<char>("Saves\\run.gin"));
    } else if (gRun.frames == 20) {
      gRun.loaded = LoadSaveFile(BrStringT<char>("Saves\\run.gin"));
      if (Map()) {
        gRun.objectsAfterLoad = Map()->ObjectMgr().GetNumLiveObjects();
        BrGameObj* hero = Map()->GetObjectA(0);
        if (hero->IsA(BrActor::Type)) gRun.healthAfterLoad = static_cast<BrActor*>(hero)->GetHealth();
      }
    }
    if (Map()) Map()->Step(dt);
  }
};
BR_IMPLEMENT_CLASS(WorldRunGame, BrGame)

TEST(WorldRun, HostSequenceRunsAGameThatSavesAndLoads) {
  RunTree tree("[Engine]\nSafe=0\n\n[Render]\nDevice=GfxDrv\n\n[Audio]\nDevice=SoundDrv\n\n[App]\nTitle=World\n");
  tree.Plugin("FakeRender", "GfxDrv");
  tree.Plugin("FakeAudio", "SoundDrv");
  tree.Configure();
  gRun = RunResults();
  ASSERT_TRUE(Engine().Init(0, 0, 0));
  BrObject* made = static_cast<BrObject*>(Engine().Spawn("WorldRunGame"));
  ASSERT_NE(made, nullptr);
  BrApplication* app = static_cast<BrApplication*>(made->SafeCast(&BrApplication::Type));
  ASSERT_NE(app, nullptr);
  ASSERT_TRUE(Engine().SetApp(app));
  Engine().Launch(nullptr, 0, 0, 0, true);
  for (int i = 0; i < 30; ++i) {
    Engine().Step(1.0f / 60.0f);
    Engine().Render()->PreRender(ePreRenderClearAll);
    Engine().App()->Draw(Engine().Render());
    Engine().Render()->EndRender();
  }
  EXPECT_EQ(gRun.frames, 30);
  EXPECT_TRUE(gRun.saved);
  EXPECT_TRUE(gRun.loaded);
  EXPECT_EQ(gRun.objectsAfterLoad, 2);
  EXPECT_EQ(gRun.healthAfterLoad, 33);
  EXPECT_TRUE(brtest::fs::exists(tree.root / "game" / "Media" / "Saves" / "run.gin"));
  ASSERT_TRUE(Engine().Exit());
  EXPECT_EQ(tree.LastLine(), "Exit granted");
  brtest::ResetEngine();
}
