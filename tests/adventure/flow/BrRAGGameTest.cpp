// The game application as the host runs it: the fifteen states and the first one, the splash screens fading to the
// main menu, clicks routed through the state and the controller, the debug commands, a playing state without a
// game library, and save files that must be refused without touching the running game.
#include <gtest/gtest.h>

#include "adventure/flow/BrRAGCursor.h"
#include "adventure/flow/BrRAGGameStateIntro.h"
#include "adventure/flow/BrRAGSlideCameraCtrl.h"
#include "engine/kernel/BrController.h"
#include "tests/adventure/flow/FlowTestSupport.h"

using namespace ragflow;

namespace {

const char* const kStates[] = {
    "BrRAGGameStatePlaying",     "BrRAGGameStatePaused",        "BrRAGGameStateMainMenu",     "BrRAGGameStateIntro",
    "BrRAGGameStateLegalSplash", "BrRAGGameStateShuttingDown",  "BrRAGGameStateLoadGameMenu", "BrRAGGameStateInterlude",
    "BrRAGGameStateCompleted",   "BrRAGGameStateOptions",       "BrRAGGameStateModsMenu",     "BrRAGGameStateCredits",
    "BrRAGGameStateInGameMenu",  "BrRAGGameStateWorldComplete", "BrRAGGameStateModal",
};

}  // namespace

// A state that keeps every click for itself, to show that the game asks the state before the controller.
class FlowTestGreedyState : public BrRAGGameState {
  BR_DECLARE_CLASS(FlowTestGreedyState)
public:
  bool LeftClick() override { return true; }
  bool RightClick() override { return true; }
};
BR_IMPLEMENT_CLASS(FlowTestGreedyState, BrRAGGameState)

TEST(BrRAGGame, RegistersFifteenStatesAndFadesFromTheIntroToTheMainMenu) {
  FlowRun run;
  BrRAGGame* game = run.Start();
  ASSERT_NE(game, nullptr);
  for (const char* name : kStates) EXPECT_NE(game->GetState(name), nullptr) << name;
  EXPECT_EQ(game->GetNumStates(), 15);
  EXPECT_EQ(run.StateName(), "BrRAGGameStateIntro");
  ASSERT_NE(run.RAGHUD(), nullptr);
  EXPECT_EQ(run.RAGHUD()->GetHUDOwner(), -1);
  EXPECT_EQ(BrRAGCursor::muiBase, 0);
  EXPECT_EQ(BrRAGCursor::muiMelee, 3);
  EXPECT_EQ(run.audio.SettingCount(), 3);
  EXPECT_EQ(run.audio.GetMasterVolume(), 1);

  // One second of black, the logo in and out: about nine seconds without Escape.
  EXPECT_FALSE(run.RunUntil("BrRAGGameStateLegalSplash", 8.8f));
  EXPECT_EQ(run.audio.CountOf("create Sounds\\music\\splash.wav"), 1);
  EXPECT_TRUE(run.RunUntil("BrRAGGameStateLegalSplash", 0.7f));
  // The splash has no wait: about eight seconds.
  EXPECT_FALSE(run.RunUntil("BrRAGGameStateMainMenu", 7.7f));
  EXPECT_TRUE(run.RunUntil("BrRAGGameStateMainMenu", 0.6f));
  EXPECT_EQ(run.audio.CountOf("create Sounds\\music\\loop03.wav"), 1);
  BrController* controller = game->ActiveController();
  ASSERT_NE(controller, nullptr);
  EXPECT_TRUE(controller->IsA(BrRAGMenuCtrl::Type));
  ASSERT_NE(run.HUD()->GetControl("mainmenu", true), nullptr);
  EXPECT_TRUE(run.HUD()->GetControl("MMenuPlayGameBtn", true)->IsActive());
}

TEST(BrRAGGame, EscapeTurnsTheLogoFadeRoundAndTheMenuStartsWithoutIntro) {
  FlowRun run;
  BrRAGGame* game = run.Start();
  ASSERT_NE(game, nullptr);
  // Escape while the logo is fully visible (fade about -0.5, four seconds in): the screen is black again three
  // seconds later.
  run.RunUntil("never", 4.0f);
  auto* intro = static_cast<BrRAGGameStateIntro*>(game->GetCurrentState()->SafeCast(&BrRAGGameStateIntro::Type));
  ASSERT_NE(intro, nullptr);
  EXPECT_NEAR(intro->GetFade(), -0.5f, 0.06f);
  {
    HeldKey escape(VK_ESCAPE);
    run.Frame(0.05f);
  }
  EXPECT_FALSE(run.RunUntil("BrRAGGameStateLegalSplash", 2.7f));
  EXPECT_TRUE(run.RunUntil("BrRAGGameStateLegalSplash", 0.5f));

  FlowRun direct;
  direct.config.SetInteger("RAG", "ShowIntro", 0);
  ASSERT_NE(direct.Start(), nullptr);
  EXPECT_EQ(direct.StateName(), "BrRAGGameStateMainMenu");
}

TEST(BrRAGGame, ClicksGoThroughTheStateThenTheControllerToTheWidgets) {
  FlowRun run;
  run.config.SetInteger("RAG", "ShowIntro", 0);
  BrRAGGame* game = run.Start();
  ASSERT_NE(game, nullptr);
  BrController* controller = game->ActiveController();
  ASSERT_NE(controller, nullptr);

  // The pointer on the Play button: the release becomes a pending click, the next step hands it to the widgets,
  // and the dispatcher opens the new-game dialog.
  BrCursor* cursor = run.HUD()->GetCursor(-1);
  ASSERT_NE(cursor, nullptr);
  cursor->CursorScreenX() = 0.85f * 800.0f;
  cursor->CursorScreenY() = 0.29f * 600.0f;
  game->LeftClick();
  EXPECT_TRUE(controller->IsLeftClickPending());
  run.Frame(0.05f);
  EXPECT_FALSE(controller->IsLeftClickPending());
  BrUIControl* dialog = Engine().GUI()->GetModalControl();
  ASSERT_NE(dialog, nullptr);
  EXPECT_EQ(std::string(dialog->GetID().c_str()), "dlg_newgame");

  game->RightClick();
  EXPECT_TRUE(controller->IsRightClickPending());
  run.Frame(0.05f);
  EXPECT_FALSE(controller->IsRightClickPending());

  // A state that consumes clicks keeps them from the controller.
  game->AddState("FlowTestGreedyState");
  game->ChangeToState("FlowTestGreedyState");
  game->LeftClick();
  game->RightClick();
  EXPECT_FALSE(controller->IsLeftClickPending());
  EXPECT_FALSE(controller->IsRightClickPending());
}

TEST(BrRAGGame, DebugCommandsNeedAMapAndTimeCommandsScaleTheEngine) {
  FlowRun run;
  run.config.SetInteger("RAG", "ShowIntro", 0);
  BrRAGGame* game = run.Start();
  ASSERT_NE(game, nullptr);
  for (int id : {105, 107, 108, 109, 110, 111, 112, 113, 114, 40005}) game->DoMenuCommand(id);
  EXPECT_EQ(game->Map(), nullptr);
  game->DoMenuCommand(40011);
  EXPECT_FLOAT_EQ(Engine().GetTimeScalar(), 0.1f);
  game->DoMenuCommand(40013);
  EXPECT_FLOAT_EQ(Engine().GetTimeScalar(), 2.0f);
  game->DoMenuCommand(40012);
  EXPECT_FLOAT_EQ(Engine().GetTimeScalar(), 1.0f);
  // Ids of no debug command reach the base handler, which logs them.
  game->DoMenuCommand(106);
  EXPECT_EQ(run.StateName(), "BrRAGGameStateMainMenu");
}

TEST(BrRAGGame, PlayingWithoutAGameLibraryReturnsToTheMenuAndQNeedsAFreshPress) {
  FlowRun run;
  run.config.SetInteger("RAG", "ShowIntro", 0);
  BrRAGGame* game = run.Start();
  ASSERT_NE(game, nullptr);
  {
    // Q held while the menu opens (it zooms the minimap in play) never starts a game.
    HeldKey q('Q');
    game->ChangeToState("BrRAGGameStateCredits");
    game->ChangeToState("BrRAGGameStateMainMenu");
    for (int i = 0; i < 5; ++i) run.Frame(0.05f);
    EXPECT_EQ(run.StateName(), "BrRAGGameStateMainMenu");
  }
  run.Frame(0.05f);
  {
    HeldKey q('Q');
    run.Frame(0.05f);
  }
  // The new game found no map class ("BrRogueMap" lives in the game library): one log line, back to the menu.
  EXPECT_EQ(run.StateName(), "BrRAGGameStatePlaying");
  run.Frame(0.05f);
  EXPECT_EQ(run.StateName(), "BrRAGGameStateMainMenu");
  EXPECT_EQ(run.CountLines("No map to play"), 1);

  // With the new-game dialog open, Q does nothing.
  game->GetHUD()->ControlLeftClicked("MMenuPlayGameBtn");
  ASSERT_TRUE(Engine().GUI()->IsModal());
  run.Frame(0.05f);
  {
    HeldKey q('Q');
    run.Frame(0.05f);
  }
  EXPECT_EQ(run.StateName(), "BrRAGGameStateMainMenu");
}

TEST(BrRAGGame, BadSaveFilesAreRefusedAndLeaveTheGameAsItWas) {
  FlowRun run;
  run.config.SetInteger("RAG", "ShowIntro", 0);
  BrRAGGame* game = run.Start();
  ASSERT_NE(game, nullptr);
  game->setDifficulty(2);
  game->SetMapType("BrRogueMap");

  auto header = [](uint32_t version) {
    std::vector<char> bytes = {'G', 'I', 'N', 'F'};
    for (int i = 0; i < 4; ++i) bytes.push_back(char((version >> (8 * i)) & 0xFF));
    return bytes;
  };
  auto int32 = [](std::vector<char>& bytes, int32_t v) {
    for (int i = 0; i < 4; ++i) bytes.push_back(char((uint32_t(v) >> (8 * i)) & 0xFF));
  };
  auto name = [&](std::vector<char>& bytes, const std::string& text) {
    int32(bytes, int32_t(text.size()));
    bytes.insert(bytes.end(), text.begin(), text.end());
    bytes.push_back(0);
  };
  std::vector<char> shortFile = {'G', 'I', 'N'};
  std::vector<char> hugeName = header(269);
  int32(hugeName, 3);
  int32(hugeName, 0x7FFFFFF0);
  std::vector<char> notAMap = header(269);
  int32(notAMap, 0);
  name(notAMap, "BrUIControl");
  std::vector<char> unknown = header(269);
  int32(unknown, 0);
  name(unknown, "NoSuchMapClass");
  std::vector<char> cutBody = header(269);
  int32(cutBody, 1);
  name(cutBody, "BrRAGMap");
  cutBody.push_back(7);
  FlowRun::WriteBytes(run.root / "Media" / "Saves" / "short.gin", shortFile);
  FlowRun::WriteBytes(run.root / "Media" / "Saves" / "huge.gin", hugeName);
  FlowRun::WriteBytes(run.root / "Media" / "Saves" / "notamap.gin", notAMap);
  FlowRun::WriteBytes(run.root / "Media" / "Saves" / "unknown.gin", unknown);
  FlowRun::WriteBytes(run.root / "Media" / "Saves" / "cut.gin", cutBody);

  int refusals = 0;
  for (const char* file : {"Saves\\missing.gin", "Saves\\short.gin", "Saves\\huge.gin", "Saves\\notamap.gin",
                           "Saves\\unknown.gin", "Saves\\cut.gin"}) {
    EXPECT_FALSE(game->LoadGame(Engine().getMediaDir() + "\\" + file)) << file;
    EXPECT_EQ(game->Map(), nullptr) << file;
    EXPECT_EQ(game->getDifficulty(), 2) << file;
    EXPECT_EQ(std::string(game->GetMapType().c_str()), "BrRogueMap") << file;
    EXPECT_EQ(run.StateName(), "BrRAGGameStateMainMenu") << file;
    ++refusals;
  }
  EXPECT_EQ(run.CountLines("Could not load the save game"), refusals);
}
