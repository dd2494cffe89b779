// Window messages reaching the engine (direct and through the window layer's pump) and the global keys.
#include <gtest/gtest.h>

#include <cstring>
#include <fstream>
#include <string>
#include <utility>
#include <vector>

#include "EngineTestSupport.h"
#include "engine/kernel/BrApplication.h"
#include "engine/presentation/BrGUI.h"
#include "engine/presentation/BrRenderBase.h"
#include "engine/presentation/BrUIControl.h"
#include "platform/win32/win32.h"

using brtest::RunTree;

namespace {

std::vector<std::string>& Calls() {
  static std::vector<std::string> calls;
  return calls;
}

// An application that records the input the engine hands it and holds the framework's state names.
class InputApp : public BrApplication {
  BR_DECLARE_CLASS(InputApp)
public:
  void AddStates() override {
    for (const char* s : {"BrRAGGameStatePlaying", "BrRAGGameStatePaused", "BrRAGGameStateInGameMenu",
                          "BrRAGGameStateOptions", "BrRAGGameStateCredits"})
      AddState(s);
  }
  void LeftClick() override { Calls().push_back("LeftClick"); }
  void RightClick() override { Calls().push_back("RightClick"); }
  void LeftMouseDown() override { Calls().push_back("LeftMouseDown"); }
  void MouseWheel(int d) override { Calls().push_back("MouseWheel " + std::to_string(d)); }
  void DoMenuCommand(int c) override { Calls().push_back("Menu " + std::to_string(c)); }
};

class InputState : public BrBaseState {
  BR_DECLARE_CLASS(InputState)
};

BR_IMPLEMENT_CLASS(InputApp, BrApplication)
BR_IMPLEMENT_CLASS(InputState, BrBaseState)
BrClassFactory gPlaying("BrRAGGameStatePlaying", &InputState::Instantiate);
BrClassFactory gPaused("BrRAGGameStatePaused", &InputState::Instantiate);
BrClassFactory gMenu("BrRAGGameStateInGameMenu", &InputState::Instantiate);
BrClassFactory gOptions("BrRAGGameStateOptions", &InputState::Instantiate);
BrClassFactory gCredits("BrRAGGameStateCredits", &InputState::Instantiate);

InputApp* MakeApp() {
  InputApp* app = static_cast<InputApp*>(static_cast<BrObject*>(Engine().Spawn("InputApp")));
  EXPECT_TRUE(Engine().SetApp(app));
  app->ChangeToState("BrRAGGameStatePlaying");
  Calls().clear();
  return app;
}

// Holds a key for one poll of the global keys, then releases it.
void Tap(int vk, float secondsInStateFirst = 1.0f) {
  Engine().Step(secondsInStateFirst);
  brW32InjectKey(vk, TRUE);
  Engine().ProcessGlobalUserInput();
  brW32InjectKey(vk, FALSE);
}

// Dispatches every queued message to its window procedure.
void Pump() {
  MSG msg;
  while (PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) DispatchMessageA(&msg);
}

const char* kWithRender = "[Render]\nDevice=GfxDrv\n";

}  // namespace

TEST(EngineMessages, MouseAndMenuMessagesReachTheApplication) {
  RunTree tree("");
  tree.Configure();
  MakeApp();
  Engine().MsgProc(nullptr, WM_LBUTTONDOWN, 0, 0);
  Engine().MsgProc(nullptr, WM_LBUTTONUP, 0, 0);
  Engine().MsgProc(nullptr, WM_RBUTTONDOWN, 0, 0);
  Engine().MsgProc(nullptr, WM_RBUTTONUP, 0, 0);  // the right button's release reaches nothing
  Engine().MsgProc(nullptr, WM_MBUTTONDOWN, 0, 0);
  Engine().MsgProc(nullptr, WM_MOUSEMOVE, 0, 0);
  EXPECT_EQ(Engine().MsgProc(nullptr, WM_MOUSEWHEEL, MAKEWPARAM(0, (WORD)(short)-240), 0), 0);
  Engine().MsgProc(nullptr, WM_MOUSEWHEEL, MAKEWPARAM(MK_LBUTTON, 120), 0);
  Engine().MsgProc(nullptr, WM_COMMAND, MAKEWPARAM(40005, 1), 0);
  EXPECT_EQ(Engine().MsgProc(nullptr, WM_ERASEBKGND, 0, 0), 0);
  EXPECT_EQ(Calls(), (std::vector<std::string>{"LeftMouseDown", "LeftClick", "RightClick", "MouseWheel -240",
                                               "MouseWheel 120", "Menu 40005"}));
  brtest::ResetEngine();
}

TEST(EngineMessages, DeactivationPausesPlayOnlyBeforeExit) {
  RunTree tree("");
  tree.Configure();
  InputApp* app = MakeApp();
  Engine().MsgProc(nullptr, WM_ACTIVATEAPP, FALSE, 0);
  EXPECT_TRUE(app->IsInState("BrRAGGameStatePaused"));
  app->ChangeToState("BrRAGGameStateInGameMenu");
  Engine().MsgProc(nullptr, WM_ACTIVATEAPP, FALSE, 0);
  EXPECT_TRUE(app->IsInState("BrRAGGameStateInGameMenu"));
  brtest::ResetEngine();
}

TEST(EngineMessages, MessagesAfterExitAreIgnored) {
  RunTree tree("");
  tree.Configure();
  MakeApp();
  Engine().Exit();
  Engine().MsgProc(nullptr, WM_LBUTTONUP, 0, 0);
  Engine().MsgProc(nullptr, WM_COMMAND, 40001, 0);
  Engine().ProcessGlobalUserInput();
  EXPECT_TRUE(Calls().empty());
  brtest::ResetEngine();
}

TEST(EngineMessages, InjectedInputTravelsThroughThePumpAndClosingTheWindowLeavesInOrder) {
  RunTree tree(kWithRender);
  tree.Plugin("FakeRender", "GfxDrv");
  tree.Configure();
  ASSERT_TRUE(Engine().Init(0, 0, 0));
  MakeApp();
  ASSERT_TRUE(brW32InjectMouseMove(10, 20));
  ASSERT_TRUE(brW32InjectMouseButton(VK_LBUTTON, TRUE));
  ASSERT_TRUE(brW32InjectMouseButton(VK_LBUTTON, FALSE));
  ASSERT_TRUE(brW32InjectMouseButton(VK_RBUTTON, TRUE));
  ASSERT_TRUE(brW32InjectMouseButton(VK_RBUTTON, FALSE));
  ASSERT_TRUE(brW32InjectMouseWheel(-120));
  Pump();
  EXPECT_EQ(Calls(), (std::vector<std::string>{"LeftMouseDown", "LeftClick", "RightClick", "MouseWheel -120"}));

  // A resize in windowed mode reaches the device and the configuration.
  Engine().Render()->Windowed() = true;
  HWND hwnd = Engine().OSGUI()->GetHandle();
  ASSERT_TRUE(SetWindowPos(hwnd, HWND_NOTOPMOST, 0, 0, 646, 506, SWP_NOMOVE));
  int w = 0, h = 0;
  tree.cache.GetInteger("Display", "WindowWidth", w);
  tree.cache.GetInteger("Display", "WindowHeight", h);
  RECT client;
  GetClientRect(hwnd, &client);
  EXPECT_EQ(w, client.right);
  EXPECT_EQ(h, client.bottom);
  EXPECT_NE(tree.Find("FAKE: render UpdateDimensions"), -1);

  // Closing the window: WM_CLOSE, the default procedure destroys it, WM_DESTROY ends the engine, WM_QUIT follows.
  ASSERT_TRUE(brW32InjectMessage(hwnd, WM_CLOSE, 0, 0));
  MSG msg;
  bool quit = false;
  while (PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) {
    if (msg.message == WM_QUIT) quit = true;
    DispatchMessageA(&msg);
  }
  EXPECT_TRUE(quit);
  EXPECT_TRUE(GExit);
  EXPECT_FALSE(IsWindow(hwnd));
  EXPECT_EQ(Engine().OSGUI(), nullptr);
  EXPECT_EQ(tree.LastLine(), "Exit granted");
  brtest::ResetEngine();
}

TEST(EngineGlobalKeys, EscapeAndPKeepTheirGuard) {
  RunTree tree("");
  tree.Configure();
  brW32ResetInput();
  InputApp* app = MakeApp();
  // Within 0.25 s of the change nothing happens.
  Tap(VK_ESCAPE, 0.1f);
  EXPECT_TRUE(app->IsInState("BrRAGGameStatePlaying"));
  Tap(VK_ESCAPE);
  EXPECT_TRUE(app->IsInState("BrRAGGameStateInGameMenu"));
  Tap(VK_ESCAPE);
  EXPECT_TRUE(app->IsInState("BrRAGGameStatePlaying"));
  Tap('P');
  EXPECT_TRUE(app->IsInState("BrRAGGameStatePaused"));
  Tap('P');
  EXPECT_TRUE(app->IsInState("BrRAGGameStatePlaying"));
  // From options Escape returns to the state before; P does nothing there.
  app->ChangeToState("BrRAGGameStateOptions");
  Tap('P');
  EXPECT_TRUE(app->IsInState("BrRAGGameStateOptions"));
  Tap(VK_ESCAPE);
  EXPECT_TRUE(app->IsInState("BrRAGGameStatePlaying"));
  brtest::ResetEngine();
}

TEST(EngineGlobalKeys, EscapeWithoutApplicationDoesNothing) {
  RunTree tree("");
  tree.Configure();
  brW32ResetInput();
  brW32InjectKey(VK_ESCAPE, TRUE);
  Engine().ProcessGlobalUserInput();
  brW32InjectKey(VK_ESCAPE, FALSE);
  EXPECT_FALSE(GExit);
  brtest::ResetEngine();
}

TEST(EngineGlobalKeys, AltEnterAndPrintScreenActOncePerPress) {
  RunTree tree(kWithRender);
  tree.Plugin("FakeRender", "GfxDrv");
  tree.Configure();
  ASSERT_TRUE(Engine().Init(0, 0, 0));
  brW32ResetInput();
  InputApp* app = MakeApp();
  auto count = [&](const std::string& prefix) {
    int n = 0;
    for (const std::string& l : tree.Log())
      if (l.compare(0, prefix.size(), prefix) == 0) ++n;
    return n;
  };

  brW32InjectKey(VK_LMENU, TRUE);
  brW32InjectKey(VK_RETURN, TRUE);
  for (int i = 0; i < 5; ++i) Engine().ProcessGlobalUserInput();
  EXPECT_EQ(count("FAKE: render toggled full screen"), 1);
  EXPECT_TRUE(app->IsInState("BrRAGGameStatePaused"));
  brW32InjectKey(VK_RETURN, FALSE);
  Engine().ProcessGlobalUserInput();
  brW32InjectKey(VK_RETURN, TRUE);
  Engine().ProcessGlobalUserInput();
  EXPECT_EQ(count("FAKE: render toggled full screen"), 2);
  brW32InjectKey(VK_RETURN, FALSE);
  brW32InjectKey(VK_LMENU, FALSE);

  // PrintScreen held over several frames is one press and one shot; a fresh press takes the next.
  auto pressSnapshot = [] {
    brW32InjectKey(VK_SNAPSHOT, FALSE);
    Engine().ProcessGlobalUserInput();
    brW32InjectKey(VK_SNAPSHOT, TRUE);
    Engine().ProcessGlobalUserInput();
  };
  brW32InjectKey(VK_SNAPSHOT, TRUE);
  for (int i = 0; i < 6; ++i) Engine().ProcessGlobalUserInput();
  EXPECT_EQ(count("FAKE: render screenshot"), 1);
  pressSnapshot();
  EXPECT_EQ(count("FAKE: render screenshot " + tree.root.string() + "/game\\Media\\Screenshots\\"), 2);
  // A shot whose name is taken (the fake device writes no file: one is put there) gets "_2" and so on.
  auto lastShot = [&] {
    std::string shot;
    for (const std::string& l : tree.Log())
      if (l.rfind("FAKE: render screenshot ", 0) == 0) shot = l.substr(std::strlen("FAKE: render screenshot "));
    std::string real = shot;
    for (char& c : real)
      if (c == '\\') c = '/';
    return std::make_pair(shot, real);
  };
  // The names share a stamp only within one second: when the clock turns between the two shots, the newer one is
  // taken as the first of another pair (three tries cannot all straddle a second).
  auto first = lastShot();
  auto second = first;
  std::string stem;
  for (int attempt = 0; attempt < 3; ++attempt) {
    first = lastShot();
    std::ofstream(first.second) << "taken";
    pressSnapshot();
    second = lastShot();
    stem = first.first.substr(0, first.first.size() - 4);
    if (second.first == stem + "_2.bmp") break;
  }
  EXPECT_NE(second.first, first.first);
  EXPECT_FALSE(brtest::fs::exists(second.second));
  EXPECT_EQ(second.first, stem + "_2.bmp");
  const int shots = count("FAKE: render screenshot");
  brW32InjectKey(VK_CONTROL, TRUE);
  pressSnapshot();
  EXPECT_EQ(count("FAKE: render screenshot"), shots);
  brW32InjectKey(VK_CONTROL, FALSE);
  brW32InjectKey(VK_SNAPSHOT, FALSE);
  EXPECT_TRUE(brtest::fs::is_directory(tree.root / "game" / "Media" / "Screenshots"));
  brtest::ResetEngine();
}

TEST(EngineGlobalKeys, EscapeClosesAModalControlAtOnceAndEntersTheStateAgain) {
  RunTree tree(kWithRender);
  tree.Plugin("FakeRender", "GfxDrv");
  tree.Configure();
  ASSERT_TRUE(Engine().Init(0, 0, 0));
  brW32ResetInput();
  InputApp* app = MakeApp();
  app->ChangeToState("BrRAGGameStateOptions");
  BrObject* made = static_cast<BrObject*>(Engine().Spawn("BrUIControl"));
  ASSERT_NE(made, nullptr);
  BrUIControl* control = static_cast<BrUIControl*>(made->SafeCast(&BrUIControl::Type));
  ASSERT_NE(control, nullptr);
  Engine().GUI()->AddControl(control);
  Engine().GUI()->SetModalControl(control);
  ASSERT_TRUE(Engine().GUI()->IsModal());
  // No time guard: the state was entered this very moment.
  brW32InjectKey(VK_ESCAPE, TRUE);
  Engine().ProcessGlobalUserInput();
  brW32InjectKey(VK_ESCAPE, FALSE);
  EXPECT_FALSE(Engine().GUI()->IsModal());
  EXPECT_TRUE(app->IsInState("BrRAGGameStateOptions"));
  EXPECT_TRUE(app->WasInState("BrRAGGameStatePaused"));
  brtest::ResetEngine();
}
