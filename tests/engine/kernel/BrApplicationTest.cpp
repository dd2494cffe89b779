// Tests of the application and game: states, clicks forwarded to the controller, maps, HUD and minimap by class
// name, difficulty and menu commands.
#include "engine/kernel/BrApplication.h"

#include <gtest/gtest.h>

#include <cstring>

#include "engine/kernel/BrController.h"
#include "engine/kernel/BrGame.h"
#include "engine/presentation/BrGUI.h"
#include "engine/presentation/BrHUD.h"
#include "engine/presentation/BrMiniMap.h"
#include "WorldTestSupport.h"

using namespace brworld;

namespace {
std::vector<std::string>& Events() {
  static std::vector<std::string> events;
  return events;
}
}  // namespace

// A controller that records what reaches it.
class AppTestCtrl : public BrController {
  BR_DECLARE_CLASS(AppTestCtrl)
public:
  void LeftClick() override {
    BrController::LeftClick();
    Events().push_back("left");
  }
  void RightClick() override { Events().push_back("right"); }
  void LeftMouseDown() override { Events().push_back("down"); }
  void MouseWheel(int d) override { Events().push_back("wheel " + std::to_string(d)); }
  void OnActivate() override { Events().push_back("activate"); }
};
BR_IMPLEMENT_CLASS(AppTestCtrl, BrController)

class AppTestState : public BrBaseState {
  BR_DECLARE_CLASS(AppTestState)
public:
  void OnEntry() override {
    BrBaseState::OnEntry();
    Events().push_back("enter " + std::string(GetStateName().c_str()));
  }
};
BR_IMPLEMENT_CLASS(AppTestState, BrBaseState)
BrClassFactory gAppStateA("AppStateA", &AppTestState::Instantiate);
BrClassFactory gAppStateB("AppStateB", &AppTestState::Instantiate);

class AppTestGame : public BrGame {
  BR_DECLARE_CLASS(AppTestGame)
public:
  void AddStates() override {
    AddState(BrStringT<char>("AppStateA"));
    AddState(BrStringT<char>("AppStateB"));
  }
  void CreateHUDControls() override { Events().push_back("hud controls"); }
};
BR_IMPLEMENT_CLASS(AppTestGame, BrGame)

class AppTestMiniMap : public BrMiniMap {
  BR_DECLARE_CLASS(AppTestMiniMap)
public:
  void Draw(BrRenderBase* const) override { Events().push_back("minimap draw"); }
};
BR_IMPLEMENT_CLASS(AppTestMiniMap, BrMiniMap)

class AppTestMap : public BrMap {
  BR_DECLARE_CLASS(AppTestMap)
};
BR_IMPLEMENT_CLASS(AppTestMap, BrMap)

TEST(BrApplication, StatesAndClicksReachTheActiveController) {
  Events().clear();
  BrGame* game = new AppTestGame();
  ScopedApp app(game, false);
  EXPECT_EQ(game->GetNumStates(), 2);
  game->ChangeToState(BrStringT<char>("AppStateB"));
  game->ChangeToState(BrStringT<char>("AppStateA"));
  EXPECT_TRUE(game->IsInState(BrStringT<char>("AppStateA")));
  EXPECT_TRUE(game->WasInState(BrStringT<char>("AppStateB")));
  game->Step(0.5f);
  EXPECT_FLOAT_EQ(game->TimeInCurrState(), 0.5f);

  // No controller yet: clicks go nowhere and nothing breaks.
  EXPECT_EQ(game->ActiveController(), nullptr);
  game->LeftClick();
  game->Camera()->SetControllerType(BrStringT<char>("AppTestCtrl"));
  ASSERT_NE(game->ActiveController(), nullptr);
  EXPECT_EQ(game->ActiveController()->Subject(), game->Camera());
  Events().clear();
  game->LeftMouseDown();
  game->LeftClick();
  game->RightClick();
  game->MouseWheel(-120);
  EXPECT_EQ(Events(), (std::vector<std::string>{"down", "left", "right", "wheel -120"}));
  EXPECT_TRUE(game->ActiveController()->IsLeftClickPending());
}

TEST(BrApplication, MapsAreMadeByClassName) {
  BrApplication* plain = new BrApplication();
  ScopedApp app(plain, false);
  EXPECT_EQ(plain->Map(), nullptr);
  plain->CreateMap();
  ASSERT_NE(plain->Map(), nullptr);
  EXPECT_TRUE(plain->Map()->IsAExactly(BrMap::Type));
  plain->SetMapType(BrStringT<char>("AppTestMap"));
  plain->CreateMap();
  EXPECT_TRUE(plain->Map()->IsAExactly(AppTestMap::Type));
  plain->SetMapType(BrStringT<char>("BrGameObj"));  // not a map: no map at all
  plain->CreateMap();
  EXPECT_EQ(plain->Map(), nullptr);
  plain->SetMapType(BrStringT<char>("NoSuchMap"));
  plain->CreateMap();
  EXPECT_EQ(plain->Map(), nullptr);
}

TEST(BrGame, HudAndMiniMapAreMadeByClassName) {
  RunFolder folder;
  Events().clear();
  AppTestGame* game = new AppTestGame();
  game->SetHUDType(BrStringT<char>("NoSuchHUD"));
  game->SetMiniMapType(BrStringT<char>("AppTestMiniMap"));
  ScopedApp app(game);
  EXPECT_EQ(folder.CountLines("ERROR: Failed to spawn user-requested game HUD type, using BrHUD instead"), 1);
  ASSERT_NE(game->GetHUD(), nullptr);
  EXPECT_TRUE(game->GetHUD()->IsAExactly(BrHUD::Type));
  EXPECT_FALSE(game->GetUseOSCursor());
  EXPECT_EQ(std::count(Events().begin(), Events().end(), "hud controls"), 1);
  ASSERT_NE(game->GetMiniMap(), nullptr);
  EXPECT_TRUE(game->GetMiniMap()->IsAExactly(AppTestMiniMap::Type));
  game->Draw(nullptr);
  EXPECT_EQ(Events().back(), "minimap draw");
  BrMiniMap* first = game->GetMiniMap();
  game->CreateMap();
  EXPECT_NE(game->GetMiniMap(), nullptr);
  (void)first;
}

TEST(BrGame, DifficultyMenuCommandsAndDefaults) {
  RunFolder folder;
  BrGame game;
  EXPECT_EQ(game.getDifficulty(), 1);
  game.setDifficulty(-3);
  EXPECT_EQ(game.getDifficulty(), 0);
  game.setDifficulty(2);
  EXPECT_EQ(game.getDifficulty(), 2);
  EXPECT_EQ(game.GetAutoSaveFilename(), BrStringT<char>("autosave.gin"));
  EXPECT_FALSE(game.LoadGame(BrStringT<char>("Saves\\x.gin")));
  game.DoMenuCommand(40000);
  EXPECT_EQ(folder.CountLines("ERROR: Unrecognised message in BrGame::DoMenuCommand(..)"), 1);

  BrCoords listener;
  game.GetAudioListenerCoords(listener);
  EXPECT_TRUE(listener.X == BrVector(1, 0, 0));
  EXPECT_TRUE(listener.Z == BrVector(0, 0, 1));
  EXPECT_TRUE(listener.Position == BrVector(0, 0, 0));

  // A message longer than the buffer is cut, never overrun.
  std::string longText(1000, 'x');
  game.DisplayMsgf("%s", longText.c_str());
}
