// The engine's window manager: the main window from the configuration, key table, mouse placement, exit.
// Catches a centred mouse that reads as an offset through the real window layer (the controllers' fake window
// hid it), a cursor show count that drifts with toggles, and a hidden pointer whose motion is lost or undone
// when the controllers centre it every frame.
#include <SDL.h>
#include <gtest/gtest.h>

#include "EngineTestSupport.h"
#include "engine/kernel/BrW32WindowMgr.h"
#include "engine/kernel/BrController.h"
#include "WorldTestSupport.h"

using brtest::RunTree;

TEST(WindowMgr, MainWindowFollowsTheConfigurationAndExitsOnce) {
  RunTree tree("[Display]\nWindowWidth=640\nWindowHeight=480\nScreenWidth=640\nScreenHeight=480\n[App]\nTitle=Win\n");
  tree.Configure();
  BrW32WindowMgr mgr;
  ASSERT_TRUE(mgr.Init());
  HWND h = mgr.GetHandle();
  ASSERT_TRUE(IsWindow(h));
  EXPECT_EQ(mgr.WindowStyle(), (DWORD)0x90CA0000);
  EXPECT_EQ(GetMenu(h), nullptr);  // menu id 0: no menu
  RECT client = mgr.GetClientArea();
  EXPECT_EQ(client.right - client.left, 640);
  EXPECT_EQ(client.bottom - client.top, 480);

  EXPECT_EQ(mgr.ScanCodeToASCII(20), ' ');
  EXPECT_EQ(mgr.ScanCodeToASCII(35), '5');
  EXPECT_EQ(mgr.ScanCodeToASCII(19), 0);
  EXPECT_EQ(mgr.ScanCodeToASCII(40), 0);
  EXPECT_EQ(mgr.ScanCodeToASCII(-1), 0);

  // Mouse positions are relative to the client area; centring needs the focus.
  mgr.SetMousePos(30, 40);
  int x = 0, y = 0;
  mgr.GetMousePos(x, y);
  EXPECT_EQ(x, 30);
  EXPECT_EQ(y, 40);
  mgr.CentreMouse();
  mgr.GetMousePos(x, y);
  EXPECT_EQ(x, 30);
  mgr.SetFocus(true);
  mgr.CentreMouse();
  POINT p;
  GetCursorPos(&p);
  ScreenToClient(h, &p);
  EXPECT_EQ(p.x, 320);
  EXPECT_EQ(p.y, 240);

  // No dialogs or file pickers here: both report cancellation.
  char filter[] = "Saves\0*.gin\0";
  EXPECT_EQ(mgr.GetOpenFileNameA(filter).Length(), 0);

  EXPECT_TRUE(mgr.Exit());
  EXPECT_FALSE(IsWindow(h));
  EXPECT_FALSE(mgr.Exit());
  EXPECT_NE(tree.Find("All handles safely released"), -1);
  EXPECT_EQ(tree.Find("WARNING: Handles leaked resources"), -1);
  brtest::ResetEngine();
}

TEST(WindowMgr, SetPositionCentresOrMovesOnScreen) {
  RunTree tree("[Display]\nWindowWidth=640\nWindowHeight=480\nScreenWidth=640\nScreenHeight=480\n");
  tree.Configure();
  BrW32WindowMgr mgr;
  ASSERT_TRUE(mgr.Init());
  HWND h = mgr.GetHandle();
  RECT desk = mgr.GetDesktopArea();
  mgr.SetPosition(h, nullptr);
  mgr.GetClientArea();
  RECT w = mgr.GetWindowArea();
  EXPECT_EQ(w.left, (desk.right - (w.right - w.left)) / 2);
  EXPECT_EQ(w.top, (desk.bottom - (w.bottom - w.top)) / 2);
  RECT r{-10, -20, 690, 500};
  mgr.SetPosition(h, &r);
  mgr.GetClientArea();
  w = mgr.GetWindowArea();
  EXPECT_EQ(w.left, 0);
  EXPECT_EQ(w.top, 0);
  EXPECT_EQ(w.right, 700);
  EXPECT_EQ(w.bottom, 520);
  mgr.Exit();
  brtest::ResetEngine();
}

TEST(WindowMgr, AMenuKeepsTheClientSizeAndIsReleasedWithTheWindow) {
  RunTree tree("[Display]\nWindowWidth=640\nWindowHeight=480\nScreenWidth=640\nScreenHeight=480\n");
  tree.Configure();
  BrW32WindowMgr plain;
  ASSERT_TRUE(plain.Init());
  plain.GetClientArea();
  RECT plainWindow = plain.GetWindowArea();
  plain.Exit();

  BrW32WindowMgr mgr;
  mgr.Menu() = 101;
  ASSERT_TRUE(mgr.Init());
  HWND h = mgr.GetHandle();
  HMENU menu = GetMenu(h);
  ASSERT_NE(menu, nullptr);
  // The window grows by the menu bar so that the client area keeps the configured size.
  RECT client = mgr.GetClientArea();
  EXPECT_EQ(client.right - client.left, 640);
  EXPECT_EQ(client.bottom - client.top, 480);
  RECT window = mgr.GetWindowArea();
  EXPECT_GT(window.bottom - window.top, plainWindow.bottom - plainWindow.top);

  EXPECT_TRUE(mgr.Exit());
  EXPECT_FALSE(IsWindow(h));
  EXPECT_FALSE(DestroyMenu(menu));  // already released with the window
  EXPECT_EQ(tree.Find("WARNING: Handles leaked resources"), -1);
  brtest::ResetEngine();
}

TEST(WindowMgr, ACentredMouseReadsAsNoOffsetAndTheCursorShowsWhenAsked) {
  RunTree tree("[Display]\nWindowWidth=640\nWindowHeight=480\nScreenWidth=640\nScreenHeight=480\n");
  tree.Configure();
  BrW32WindowMgr mgr;
  ASSERT_TRUE(mgr.Init());
  mgr.SetPosition(mgr.GetHandle(), nullptr);
  mgr.SetFocus(true);
  BrWindowBase* old = brworld::EngineSlots::OSGUI();
  brworld::EngineSlots::OSGUI() = &mgr;
  // The controllers' offset after centring, through the window layer's cursor, frame and caption.
  for (int round = 0; round < 3; ++round) {
    mgr.CentreMouse();
    int dx = 1, dy = 1;
    BrController::MouseOffset(dx, dy);
    EXPECT_EQ(dx, 0);
    EXPECT_EQ(dy, 0);
  }
  mgr.SetMousePos(10, 20);
  int dx = 0, dy = 0;
  BrController::MouseOffset(dx, dy);
  EXPECT_EQ(dx, 10 - 320);
  EXPECT_EQ(dy, 20 - 240);
  brworld::EngineSlots::OSGUI() = old;

  // However the count was left by others, the cursor ends in the state last asked for, and repeated
  // requests do not pile up.
  ShowCursor(FALSE);
  ShowCursor(FALSE);
  for (int i = 0; i < 5; ++i) {
    mgr.ShowOSCursor(false);
    mgr.ShowOSCursor(true);
  }
  mgr.ShowOSCursor(true);
  ShowCursor(TRUE);
  EXPECT_EQ(ShowCursor(FALSE), 0);
  mgr.ShowOSCursor(false);
  mgr.ShowOSCursor(false);
  ShowCursor(TRUE);
  EXPECT_EQ(ShowCursor(FALSE), -1);
  mgr.ShowOSCursor(true);
  mgr.Exit();
  brtest::ResetEngine();
}

namespace {
// A pointer event as SDL reports it: a confined pointer's place stays put while its motion is reported.
void PushMotion(HWND h, int x, int y, int xrel, int yrel) {
  SDL_Event e{};
  e.type = SDL_MOUSEMOTION;
  e.motion.windowID = SDL_GetWindowID(brW32GetSDLWindow(h));
  e.motion.x = x;
  e.motion.y = y;
  e.motion.xrel = xrel;
  e.motion.yrel = yrel;
  ASSERT_EQ(SDL_PushEvent(&e), 1);
}

void PushButton(HWND h, bool down, int x, int y) {
  SDL_Event e{};
  e.type = down ? SDL_MOUSEBUTTONDOWN : SDL_MOUSEBUTTONUP;
  e.button.windowID = SDL_GetWindowID(brW32GetSDLWindow(h));
  e.button.button = SDL_BUTTON_LEFT;
  e.button.state = down ? SDL_PRESSED : SDL_RELEASED;
  e.button.x = x;
  e.button.y = y;
  ASSERT_EQ(SDL_PushEvent(&e), 1);
}

void Pump() {
  MSG msg;
  while (PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) {}
}
}  // namespace

TEST(WindowMgr, AHiddenPointerCentredEveryFrameGivesItsWholeMotionAndClicksWhereItWent) {
  RunTree tree("[Display]\nWindowWidth=640\nWindowHeight=480\nScreenWidth=640\nScreenHeight=480\n");
  tree.Configure();
  BrW32WindowMgr mgr;
  ASSERT_TRUE(mgr.Init());
  mgr.SetPosition(mgr.GetHandle(), nullptr);
  mgr.SetFocus(true);
  BrWindowBase* old = brworld::EngineSlots::OSGUI();
  brworld::EngineSlots::OSGUI() = &mgr;
  HWND h = mgr.GetHandle();
  Pump();

  // The game draws its own cursor: the pointer is hidden and centred after every frame's read, as the
  // controllers do. Each frame's offset is that frame's motion, however the events' places lag behind.
  mgr.ShowOSCursor(false);
  mgr.CentreMouse();
  const int moves[][2] = {{10, 0}, {0, 10}, {-7, 25}, {36, -84}, {0, -84}};
  int sumX = 0, sumY = 0;
  for (const auto& m : moves) {
    // The place is a stale one from before the last centring, which must not count.
    PushMotion(h, 320 + 40, 240 - 40, m[0], m[1]);
    Pump();
    int dx = 0, dy = 0;
    BrController::MouseOffset(dx, dy);
    EXPECT_EQ(dx, m[0]);
    EXPECT_EQ(dy, m[1]);
    sumX += dx;
    sumY += dy;
    mgr.CentreMouse();
  }
  EXPECT_EQ(sumX, 39);
  EXPECT_EQ(sumY, -133);
  // Two motions within one frame add up; a click keeps the pointer where the motion put it.
  PushMotion(h, 0, 0, 4, 4);
  PushMotion(h, 0, 0, 3, -1);
  PushButton(h, true, 5, 5);
  PushButton(h, false, 5, 5);
  Pump();
  int dx = 0, dy = 0;
  BrController::MouseOffset(dx, dy);
  EXPECT_EQ(dx, 7);
  EXPECT_EQ(dy, 3);
  mgr.CentreMouse();

  // With the system cursor shown the pointer's place counts again, as the system reports it.
  mgr.ShowOSCursor(true);
  PushMotion(h, 100, 50, 1, 1);
  Pump();
  int x = 0, y = 0;
  mgr.GetMousePos(x, y);
  EXPECT_EQ(x, 100);
  EXPECT_EQ(y, 50);
  brworld::EngineSlots::OSGUI() = old;
  mgr.Exit();
  brtest::ResetEngine();
}
