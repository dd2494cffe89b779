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
  BrWindowBase* old = BrEngineTestSeams::OSGUI();
  BrEngineTestSeams::OSGUI() = &mgr;
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
  BrEngineTestSeams::OSGUI() = old;

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
// A pointer event as SDL reports it; a confined pointer's place stays put while its motion is reported.
void Push(HWND h, Uint32 type, int x, int y, int xrel = 0, int yrel = 0) {
  SDL_Event e{};
  e.type = type;
  const Uint32 id = SDL_GetWindowID(brW32GetSDLWindow(h));
  if (type == SDL_MOUSEMOTION) {
    e.motion = SDL_MouseMotionEvent{type, 0, id, 0, 0, x, y, xrel, yrel};
  } else {
    e.button.windowID = id;
    e.button.button = SDL_BUTTON_LEFT;
    e.button.x = x;
    e.button.y = y;
  }
  ASSERT_EQ(SDL_PushEvent(&e), 1);
  MSG msg;
  while (PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) {
  }
}
}  // namespace

TEST(WindowMgr, AHiddenPointerCentredEveryFrameGivesItsWholeMotion) {
  RunTree tree("[Display]\nWindowWidth=640\nWindowHeight=480\nScreenWidth=640\nScreenHeight=480\n");
  tree.Configure();
  BrW32WindowMgr mgr;
  ASSERT_TRUE(mgr.Init());
  mgr.SetFocus(true);
  BrWindowBase* old = BrEngineTestSeams::OSGUI();
  BrEngineTestSeams::OSGUI() = &mgr;
  HWND h = mgr.GetHandle();

  // The game draws its own cursor and centres the hidden pointer after each frame's read. Places that lag
  // behind the centring (a warp's own motion, a stale event) must neither undo nor repeat any motion, and a
  // click leaves the pointer where the motion took it.
  mgr.ShowOSCursor(false);
  mgr.CentreMouse();
  const int moves[][2] = {{10, 0}, {0, 10}, {36, -84}, {-7, 25}};
  for (const auto& m : moves) {
    Push(h, SDL_MOUSEMOTION, 360, 200, m[0], m[1]);
    Push(h, SDL_MOUSEBUTTONUP, 5, 5);
    int dx = 0, dy = 0;
    BrController::MouseOffset(dx, dy);
    EXPECT_EQ(dx, m[0]);
    EXPECT_EQ(dy, m[1]);
    mgr.CentreMouse();
  }

  // With the system cursor shown its place counts again.
  mgr.ShowOSCursor(true);
  Push(h, SDL_MOUSEMOTION, 100, 50, 1, 1);
  int x = 0, y = 0;
  mgr.GetMousePos(x, y);
  EXPECT_EQ(x, 100);
  EXPECT_EQ(y, 50);
  BrEngineTestSeams::OSGUI() = old;
  mgr.Exit();
  brtest::ResetEngine();
}
