// The engine's start-up and shut-down with recording plug-ins and a game library in a temporary run tree.
#include <gtest/gtest.h>

#include "EngineTestSupport.h"
#include "engine/kernel/BrApplication.h"
#include "engine/presentation/BrAudioMgrBase.h"
#include "engine/presentation/BrRenderBase.h"

using brtest::RunTree;

namespace {
const char* kFullConfig =
    "[Engine]\nSafe=0\nLibs=FakeGame\n\n[Render]\nDevice=GfxDrv\n\n[Audio]\nDevice=SoundDrv\n\n[App]\nTitle=Test "
    "Title\n";

// Asserts that the lines appear in the log in this order.
void ExpectInOrder(RunTree& tree, const std::vector<std::string>& lines) {
  int at = 0;
  for (const std::string& l : lines) {
    int found = tree.Find(l, at);
    ASSERT_GE(found, 0) << "missing or out of order: '" << l << "'";
    at = found + 1;
  }
}
}  // namespace

TEST(EngineStart, StartsInOrderStepsAndLeavesInOrder) {
  RunTree tree(kFullConfig);
  tree.Plugin("FakeRender", "GfxDrv");
  tree.Plugin("FakeAudio", "SoundDrv");
  tree.GameLib("FakeGame", "FakeGame");
  tree.Configure();

  ASSERT_TRUE(Engine().Init(0, 0, 0));
  EXPECT_FALSE(GExit);
  ASSERT_NE(Engine().Render(), nullptr);
  ASSERT_NE(Engine().Audio(), nullptr);
  ASSERT_NE(Engine().OSGUI(), nullptr);
  ASSERT_NE(Engine().Script(), nullptr);
  ASSERT_NE(Engine().GUI(), nullptr);
  EXPECT_EQ(Engine().GetNumLibs(), 1);
  // The rendering device was handed the window before its Init.
  EXPECT_EQ(Engine().Render()->ParentHandle(), Engine().OSGUI()->GetHandle());
  EXPECT_NE(tree.Find("FAKE: render Init with window 800x600"), -1);

  // A class of the game library is created by name.
  BrObject* made = static_cast<BrObject*>(Engine().Spawn("FakeApp"));
  ASSERT_NE(made, nullptr);
  EXPECT_STREQ(made->GetName(), "FakeApp");
  BrApplication* app = static_cast<BrApplication*>(made->SafeCast(&BrApplication::Type));
  ASSERT_NE(app, nullptr);
  ASSERT_TRUE(Engine().SetApp(app));
  EXPECT_TRUE(app->IsInState("BrRAGGameStatePlaying"));
  Engine().Launch(nullptr, 0, 0, 0, false);
  EXPECT_STREQ(app->GetName(), "Test Title");

  for (int i = 0; i < 60; ++i) {
    Engine().Step(1.0f / 60.0f);
    Engine().Render()->PreRender(ePreRenderClearAll);
    Engine().Render()->EndRender();
  }
  EXPECT_NEAR(app->TimeInCurrState(), 1.0f, 1e-3f);

  ASSERT_TRUE(Engine().Exit());
  EXPECT_TRUE(GExit);
  EXPECT_EQ(Engine().Render(), nullptr);
  EXPECT_EQ(Engine().Audio(), nullptr);
  EXPECT_EQ(Engine().App(), nullptr);
  EXPECT_EQ(Engine().GetNumLibs(), 0);

  ExpectInOrder(tree, {"Brelmar Technology v269",
                       "Launching from " + tree.root.string() + "/game",
                       "Creating Operating System GUI",
                       "Registering window class",
                       "Creating parent window",
                       "Operating System GUI initiated",
                       "Creating Script Daemon",
                       "...daemon summoned!",
                       "Scripting Daemon initiated",
                       "Creating Audio device",
                       "FAKE: audio created",
                       "FAKE: audio Init",
                       "Audio daemon initiated",
                       "Engine: Loaded lib FakeGame",
                       "Loaded extensions.",
                       "Creating Rendering device",
                       "FAKE: render created",
                       "Rendering device initiated",
                       "Widget daemon online",
                       "Awaiting game connection...",
                       "No map was specified to launch.",
                       "Connected to game: Test Title",
                       "Engine requesting exit",
                       "FAKE: app destroyed after 60 steps",
                       "FAKE: render deleted after 60 frames",
                       "FAKE: audio deleted after 60 steps (last dt 0.017)",
                       "Operating System GUI requesting exit",
                       "All handles safely released",
                       "Exit granted"});
  EXPECT_EQ(tree.LastLine(), "Exit granted");
  // No start line was logged as "-safe" with Safe=0, and a second Exit logs nothing.
  EXPECT_EQ(tree.Find("-safe"), -1);
  size_t lines = tree.Log().size();
  EXPECT_FALSE(Engine().Exit());
  EXPECT_EQ(tree.Log().size(), lines);
  brtest::ResetEngine();
}

TEST(EngineStart, MissingAudioLetsTheStartGoOnAndAsksForSafeMode) {
  RunTree tree("[Engine]\nSafe=0\nLibs=NoSuchGame\n[Render]\nDevice=GfxDrv\n[Audio]\nDevice=NoSuchAudio\n");
  tree.Plugin("FakeRender", "GfxDrv");
  tree.Configure();
  ASSERT_TRUE(Engine().Init(0, 0, 0));
  EXPECT_EQ(Engine().Audio(), nullptr);
  EXPECT_NE(Engine().Render(), nullptr);
  int safe = 0;
  EXPECT_TRUE(tree.cache.GetInteger("Engine", "Safe", safe));
  EXPECT_EQ(safe, 1);
  const int failed = tree.Find("Failed to load NoSuchAudio extension");
  ASSERT_NE(failed, -1);
  // The next line says where the engine looked and why the loader refused.
  const std::string why = tree.Log()[size_t(failed) + 1];
  EXPECT_EQ(why.rfind("ERROR: Could not load ", 0), 0u) << why;
  EXPECT_NE(why.find("\\plug-ins\\NoSuchAudio.dll: "), std::string::npos) << why;
  EXPECT_NE(tree.Find("Failed to create NoSuchAudio audio extension"), -1);
  // A game library that does not load is said too, with its path and the reason.
  bool lib = false;
  for (const std::string& l : tree.Log())
    lib = lib || l.rfind("ERROR: Engine could not load lib NoSuchGame from Media\\Libs\\NoSuchGame.dll: ", 0) == 0;
  EXPECT_TRUE(lib);
  EXPECT_NE(tree.Find("Specifying -safe mode restart in config file"), -1);
  EXPECT_NE(tree.Find("WARNING: Failed to initiate Audio device"), -1);
  // Stepping without sound is fine.
  Engine().Step(0.1f);
  ASSERT_TRUE(Engine().Exit());
  EXPECT_EQ(tree.LastLine(), "Exit granted");
  brtest::ResetEngine();
}

TEST(EngineStart, AudioDeviceThatCannotStartIsReleased) {
  RunTree tree("[Render]\nDevice=GfxDrv\n[Audio]\nDevice=SoundDrv\nFakeFail=1\n");
  tree.Plugin("FakeRender", "GfxDrv");
  tree.Plugin("FakeAudio", "SoundDrv");
  tree.Configure();
  // FakeFail is not one of the cache's keys: hand it over as a device reads it.
  tree.cache.SetInteger("Audio", "FakeFail", 1);
  ASSERT_TRUE(Engine().Init(0, 0, 0));
  EXPECT_EQ(Engine().Audio(), nullptr);
  EXPECT_NE(tree.Find("FAKE: audio deleted after 0 steps (last dt 0.000)"), -1);
  ASSERT_TRUE(Engine().Exit());
  brtest::ResetEngine();
}

TEST(EngineStart, MissingRenderingDeviceEndsTheStartInOrder) {
  RunTree tree("[Engine]\nSafe=0\n[Render]\nDevice=\n[Audio]\nDevice=SoundDrv\n");
  tree.Plugin("FakeAudio", "SoundDrv");
  tree.Configure();
  EXPECT_FALSE(Engine().Init(0, 0, 0));
  EXPECT_TRUE(GExit);
  int safe = 0;
  tree.cache.GetInteger("Engine", "Safe", safe);
  EXPECT_EQ(safe, 1);
  ExpectInOrder(tree,
                {"Creating Rendering device", "Failed to create rendering extension, unspecified name in config file",
                 "Specifying -safe mode restart in config file", "ERROR: Failed to initiate Render device",
                 "Engine requesting exit", "FAKE: audio deleted after 0 steps (last dt 0.000)", "Exit granted"});
  // Nothing of the start runs after the exit.
  EXPECT_EQ(tree.Find("Widget daemon online"), -1);
  EXPECT_EQ(tree.LastLine(), "Exit granted");
  EXPECT_EQ(Engine().Audio(), nullptr);
  brtest::ResetEngine();
}

TEST(EngineStart, LibraryWithoutEntryPointCountsAsMissingDevice) {
  RunTree tree("[Render]\nDevice=GfxDrv\n");
  tree.Plugin("FakeEmpty", "GfxDrv");
  tree.Configure();
  EXPECT_FALSE(Engine().Init(0, 0, 0));
  EXPECT_NE(tree.Find("Failed to create GfxDrv rendering extension"), -1);
  EXPECT_NE(tree.Find("ERROR: The GfxDrv extension exports no fnGetRenderingDevice"), -1);
  EXPECT_EQ(tree.LastLine(), "Exit granted");
  // The library was freed at once and no delete function was called for a device that never existed.
  EXPECT_EQ(tree.Find("WARNING: Failed to delete Rendering device"), -1);
  brtest::ResetEngine();
}

TEST(EngineStart, RenderingDeviceWhoseInitFailsIsDeletedAtExit) {
  RunTree tree("[Render]\nDevice=GfxDrv\n");
  tree.Plugin("FakeRender", "GfxDrv");
  tree.Configure();
  tree.cache.SetInteger("Render", "FakeFail", 1);
  EXPECT_FALSE(Engine().Init(0, 0, 0));
  ExpectInOrder(tree, {"ERROR: Failed to initiate Render device", "Engine requesting exit",
                       "FAKE: render deleted after 0 frames", "Exit granted"});
  brtest::ResetEngine();
}

TEST(EngineStart, DeviceThatEndsTheRunFromItsInitIsReleasedAfterItsInitReturns) {
  RunTree tree("[Render]\nDevice=GfxDrv\n");
  tree.Plugin("FakeRender", "GfxDrv");
  tree.Configure();
  tree.cache.SetInteger("Render", "FakeFail", 2);
  EXPECT_FALSE(Engine().Init(0, 0, 0));
  EXPECT_TRUE(GExit);
  EXPECT_EQ(Engine().Render(), nullptr);
  ExpectInOrder(
      tree, {"FAKE: render Init ending the run", "Engine requesting exit", "FAKE: render Init returns after 0 frames",
             "ERROR: Failed to initiate Render device", "FAKE: render deleted after 0 frames", "Exit granted"});
  EXPECT_EQ(tree.Find("Widget daemon online"), -1);
  EXPECT_EQ(tree.LastLine(), "Exit granted");
  brtest::ResetEngine();
}

TEST(EngineStart, StateThatEndsTheGameOnEntryIsDeletedAfterItsCodeReturns) {
  RunTree tree(kFullConfig);
  tree.Plugin("FakeRender", "GfxDrv");
  tree.GameLib("FakeGame", "FakeGame");
  tree.Configure();
  ASSERT_TRUE(Engine().Init(0, 0, 0));
  BrApplication* app =
      static_cast<BrApplication*>(static_cast<BrObject*>(Engine().Spawn("FakeApp"))->SafeCast(&BrApplication::Type));
  ASSERT_NE(app, nullptr);
  ASSERT_TRUE(Engine().SetApp(app));
  app->AddState("FakeQuitState");
  // The quit command of the window menu: the state, the application and the game library must outlive the
  // state's OnEntry.
  Engine().MsgProc(Engine().OSGUI()->GetHandle(), WM_COMMAND, 40001, 0);
  EXPECT_TRUE(GExit);
  EXPECT_EQ(Engine().App(), nullptr);
  EXPECT_EQ(Engine().GetNumLibs(), 0);
  ExpectInOrder(
      tree, {"FAKE: quit state entered", "Engine requesting exit", "FAKE: quit state leaves OnEntry of FakeQuitState",
             "FAKE: app destroyed after 0 steps", "FAKE: render deleted after 0 frames", "Exit granted"});
  EXPECT_EQ(tree.LastLine(), "Exit granted");
  brtest::ResetEngine();
}

TEST(EngineStart, InitWithoutConfigurationRefuses) {
  RunTree tree("");
  Engine().SetConfig(nullptr);
  EXPECT_FALSE(Engine().Init(0, 0, 0));
  EXPECT_FALSE(GExit);
  EXPECT_EQ(Engine().OSGUI(), nullptr);
  EXPECT_NE(tree.Find("ERROR: Engine cannot start without a configuration"), -1);
  brtest::ResetEngine();
}

TEST(EngineStart, SafeModeIsOnlyLoggedAndMissingConfigFileGetsEngineDefaults) {
  RunTree tree("");  // no main.cfg: the engine's default text is written
  tree.Configure();
  int safe = -1;
  tree.cache.GetInteger("Engine", "Safe", safe);
  EXPECT_EQ(safe, 0);
  tree.cache.SetInteger("Engine", "Safe", 2);
  // The default names the rendering device GfxDrv, which this tree lacks: the start ends in order.
  EXPECT_FALSE(Engine().Init(0, 0, 0));
  EXPECT_NE(tree.Find("-safe"), -1);
  EXPECT_NE(tree.Find("Failed to load GfxDrv extension"), -1);
  // [Engine] Libs is missing: LoadNativeLibs logs nothing for its step.
  EXPECT_EQ(tree.Find("Loaded extensions."), -1);
  EXPECT_EQ(tree.LastLine(), "Exit granted");
  EXPECT_TRUE(brtest::fs::exists(tree.root / "game" / "Media" / "Config" / "main.cfg"));
  brtest::ResetEngine();
}

TEST(EngineStart, GameLibraryClassesLeaveTheRegistryWhenFreed) {
  RunTree tree(kFullConfig);
  tree.Plugin("FakeRender", "GfxDrv");
  tree.GameLib("FakeGame", "FakeGame");
  tree.Configure();
  ASSERT_TRUE(Engine().Init(0, 0, 0));
  BrObject* made = static_cast<BrObject*>(Engine().Spawn("FakeApp"));
  ASSERT_NE(made, nullptr);
  delete made;
  ASSERT_TRUE(Engine().Exit());
  // The library is gone: spawning its class must not reach unloaded code.
  EXPECT_EQ(Engine().Spawn("FakeApp"), nullptr);
  // The engine's own classes stay.
  BrObject* machine = static_cast<BrObject*>(Engine().Spawn("BrStateMachine"));
  EXPECT_NE(machine, nullptr);
  delete machine;
  brtest::ResetEngine();
}

TEST(EngineStart, LaunchWithoutApplicationEndsTheRun) {
  RunTree tree("");
  tree.Configure();
  Engine().Launch(nullptr, 0, 0, 0, false);
  EXPECT_TRUE(GExit);
  EXPECT_EQ(tree.LastLine(), "Exit granted");
  brtest::ResetEngine();
}

TEST(EngineStart, SetAppRefusesNullAndASecondApplication) {
  RunTree tree("");
  tree.Configure();
  EXPECT_FALSE(Engine().SetApp(nullptr));
  BrApplication* first = static_cast<BrApplication*>(static_cast<BrObject*>(Engine().Spawn("BrApplication")));
  BrApplication* second = static_cast<BrApplication*>(static_cast<BrObject*>(Engine().Spawn("BrApplication")));
  ASSERT_TRUE(first && second);
  EXPECT_TRUE(Engine().SetApp(first));
  EXPECT_FALSE(Engine().SetApp(second));
  EXPECT_EQ(Engine().App(), first);
  delete second;
  brtest::ResetEngine();
}

TEST(EngineStart, TimeScalarScalesApplicationSteps) {
  RunTree tree("");
  tree.Configure();
  BrApplication* app = static_cast<BrApplication*>(static_cast<BrObject*>(Engine().Spawn("BrApplication")));
  ASSERT_TRUE(Engine().SetApp(app));
  app->AddState("BrBaseState");
  app->ChangeToState("BrBaseState");
  Engine().SetTimeScalar(0.5f);
  Engine().Step(1.0f);
  EXPECT_FLOAT_EQ(app->TimeInCurrState(), 0.5f);
  Engine().SetTimeScalar(0.0f);
  Engine().Step(1.0f);
  EXPECT_FLOAT_EQ(app->TimeInCurrState(), 0.5f);
  brtest::ResetEngine();
}

// Run in a fresh process of its own: the window layer's video must not have started before the bad driver is set.
TEST(EngineStartDeathTest, FailedWindowEndsTheStartInOrder) {
  GTEST_FLAG_SET(death_test_style, "threadsafe");
  EXPECT_EXIT(
      {
        setenv("SDL_VIDEODRIVER", "no-such-video-driver", 1);
        int code = 1;
        {
          RunTree tree("[Render]\nDevice=GfxDrv\n");
          tree.Plugin("FakeRender", "GfxDrv");
          tree.Configure();
          bool started = Engine().Init(0, 0, 0);
          bool ordered = tree.Find("ERROR: Failed to initiate Operating System GUI") >= 0 &&
                         tree.Find("Creating Script Daemon") < 0 && tree.LastLine() == "Exit granted";
          code = !started && GExit && ordered ? 0 : 1;
        }
        std::exit(code);
      },
      ::testing::ExitedWithCode(0), "");
}
