// The states that end something: credits scrolling inside their band and leaving after 40 s; the ending's images
// changing once their time has passed (a long frame skips none), the main menu at 65 s with the map let go, and a
// second ending in one run playing through; a missing image ending at once; quitting ending the run in order.
#include <gtest/gtest.h>

#include <set>

#include "FlowTestWorld.h"
#include "adventure/flow/BrRAGGameStateCredits.h"
#include "engine/kernel/BrEngineTestSeams.h"
#include "engine/kernel/BrEngineCall.h"
#include "engine/presentation/BrFontMgr.h"
#include "engine/presentation/BrGUI.h"

using flowtest::FlowWorld;

namespace {

const std::vector<std::string> kStates = {"BrRAGGameStateModal", "BrRAGGameStateCredits", "BrRAGGameStateCompleted",
                                          "BrRAGGameStateMainMenu", "BrRAGGameStateShuttingDown"};

bool In(FlowWorld& world, const char* state) { return world.Game()->IsInState(BrStringT<char>(state)); }

BrRAGGameStateCompleted* Completed(FlowWorld& world) {
  return static_cast<BrRAGGameStateCompleted*>(world.Game()->GetState(BrStringT<char>("BrRAGGameStateCompleted")));
}

float TextY(FlowWorld& world, const std::string& text) {
  for (const auto& t : world.dev.texts)
    if (t.text == text) return t.y;
  return -1.0f;
}

}  // namespace

TEST(RAGEndStates, CreditsScrollInsideTheirBandAndLeaveAfterFortySeconds) {
  FlowWorld world("", kStates, 8, 8, false);
  world.Game()->ChangeToState(BrStringT<char>("BrRAGGameStateCredits"));
  BrUIControl* ok = world.HUD()->GetControl(BrStringT<char>("CreditsOKBtn"), true);
  ASSERT_NE(ok, nullptr);
  EXPECT_TRUE(ok->IsActive());

  // The first line starts at 0.85, below the band: not drawn until it has risen above 0.8.
  world.dev.ClearRecords();
  world.Frame(0.0f);
  EXPECT_EQ(TextY(world, "Brelmar Technology"), -1.0f);
  EXPECT_EQ(world.SpritesOf("ShaderOptionsParch").size(), 1u);
  world.dev.ClearRecords();
  world.Frame(1.0f);
  EXPECT_NEAR(TextY(world, "Brelmar Technology"), 0.775f, 1e-4);
  for (const auto& t : world.dev.texts) {
    EXPECT_GE(t.y, 0.2f);
    EXPECT_LT(t.y, 0.8f);
  }

  for (int i = 0; i < 39; ++i) world.Frame(1.0f);
  EXPECT_TRUE(In(world, "BrRAGGameStateCredits"));
  world.Frame(0.5f);
  EXPECT_TRUE(In(world, "BrRAGGameStateMainMenu"));
  EXPECT_FALSE(ok->IsActive());
}

TEST(RAGEndStates, EndingShowsEachImageOnceItsTimeHasPassedAndEndsAt65Seconds) {
  FlowWorld world("", kStates, 8, 8, true);
  world.Game()->ChangeToState(BrStringT<char>("BrRAGGameStateCompleted"));
  BrRAGGameStateCompleted* ending = Completed(world);
  ASSERT_TRUE(In(world, "BrRAGGameStateCompleted"));
  EXPECT_EQ(world.audio.CountOf("create Sounds\\music\\end2.wav"), 1);

  // The first second fades to black and brings image 1.
  world.Frame(0.6f);
  EXPECT_EQ(ending->GetImageNumber(), 0);
  world.Frame(0.6f);
  EXPECT_EQ(ending->GetImageNumber(), 1);
  EXPECT_TRUE(ending->IsFadingIn());

  // Frames of 0.3 s step over each (T, T + 0.1) window; every image still comes, one per 10 s.
  world.dev.ClearRecords();
  int lastImage = 1;
  float t = 1.2f;
  std::set<int> shownAt12, shownAt42;
  while (t < 62.0f) {
    world.Frame(0.3f);
    t += 0.3f;
    const int image = ending->GetImageNumber();
    EXPECT_LE(image, lastImage + 1);
    lastImage = image;
    if (t > 12.0f && t < 13.0f) shownAt12.insert(image);
    if (t > 42.0f && t < 43.0f) shownAt42.insert(image);
  }
  EXPECT_EQ(shownAt12, std::set<int>{2});
  EXPECT_EQ(shownAt42, std::set<int>{5});
  EXPECT_EQ(lastImage, 6);
  // The images are drawn 4:3 and centred: 800 x 600 is filled.
  bool full = false;
  for (const auto& s : world.SpritesOf("ShaderSlide5FX"))
    if (s.x == 0.0f && s.w == 1.0f && s.h == 1.0f) full = true;
  EXPECT_TRUE(full);

  while (t < 65.5f) {
    world.Frame(0.3f);
    t += 0.3f;
  }
  EXPECT_TRUE(In(world, "BrRAGGameStateMainMenu"));
  EXPECT_EQ(world.Game()->Map(), nullptr);  // the finished game's map is gone, not left destroyed

  // A second ending in the same run starts from its beginning and finishes too.
  world.Game()->CreateMap();
  world.Game()->ChangeToState(BrStringT<char>("BrRAGGameStateCompleted"));
  EXPECT_EQ(ending->GetImageNumber(), 0);
  EXPECT_TRUE(ending->IsFadingOut());
  for (int i = 0; i < 70; ++i) world.Frame(1.0f);
  EXPECT_TRUE(In(world, "BrRAGGameStateMainMenu"));
}

TEST(RAGEndStates, AnEndImageThatCannotBeLoadedEndsTheEndingAtOnce) {
  FlowWorld world("", kStates, 8, 8, true);
  world.dev.Textures()->missing.insert("Textures\\ui\\end\\3.dds");
  world.Game()->ChangeToState(BrStringT<char>("BrRAGGameStateCompleted"));
  for (int i = 0; i < 200 && In(world, "BrRAGGameStateCompleted"); ++i) world.Frame(0.1f);
  EXPECT_TRUE(In(world, "BrRAGGameStateMainMenu"));
  EXPECT_LT(world.Game()->GetCurrentState()->GetTimeInState(), 1.0f);
  EXPECT_EQ(world.Game()->Map(), nullptr);
}

TEST(RAGEndStates, QuittingEndsTheRunInOrder) {
  // The engine owns and deletes everything at exit: the game, the GUI and the script daemon are the engine's
  // here; the recording devices come through the test seams, which exit leaves alone.
  brworld::RunFolder folder;
  RecordingRenderDevice dev(800, 600);
  ScopedRenderDevice render(&dev);
  dev.Init();
  RecordingAudioDevice audio;
  ScopedEngineAudio sound(&audio);
  audio.Init();
  BrGUI* gui = new BrGUI();
  BrGUI* oldGUI = BrEngineTestSeams::GUI();
  BrEngineTestSeams::GUI() = gui;
  BrScriptDaemon* oldScript = BrEngineTestSeams::Script();
  BrEngineTestSeams::Script() = nullptr;

  flowtest::FlowTestGame::StateNames() = kStates;
  flowtest::FlowTestGame* game = new flowtest::FlowTestGame();
  BrApplication* oldApp = BrEngineTestSeams::App();
  BrEngineTestSeams::App() = game;
  game->Init();
  BrUIControl* dialog = new BrUIControl();
  dialog->Init();
  game->GetHUD()->AddChildControl(dialog);
  dialog->SetModal(true);
  ASSERT_TRUE(gui->IsModal());

  // Confirming the quit inside a call from the engine: the quit dialog stops being modal and the exit is asked
  // for at once, but nothing is torn down while the state's own code runs.
  {
    BrEngineCall call;
    game->ChangeToState(BrStringT<char>("BrRAGGameStateShuttingDown"));
    EXPECT_TRUE(GExit);
    EXPECT_FALSE(gui->IsModal());
    EXPECT_EQ(Engine().App(), game);
    game->Step(0.016f);
    EXPECT_TRUE(game->IsInState(BrStringT<char>("BrRAGGameStateShuttingDown")));
  }
  // Once that call has returned the run ends in order: the application, then the widgets, then the last line.
  EXPECT_EQ(Engine().App(), nullptr);
  EXPECT_EQ(Engine().GUI(), nullptr);
  const std::vector<std::string> log = folder.Log();
  auto at = [&](const std::string& text) {
    for (size_t i = 0; i < log.size(); ++i)
      if (log[i].find(text) != std::string::npos) return int(i);
    return -1;
  };
  EXPECT_GE(at("Engine requesting exit"), 0);
  EXPECT_LT(at("Engine requesting exit"), at("Deleted Widgets mgr"));
  EXPECT_LT(at("Deleted Widgets mgr"), at("Exit granted"));

  BrEngineTestSeams::ResetAfterExit();
  BrEngineTestSeams::App() = oldApp;
  BrEngineTestSeams::GUI() = oldGUI;
  BrEngineTestSeams::Script() = oldScript;
  dev.Exit();
}
