// The engine's window manager: the main window from the configuration, key table, mouse placement, exit.
#include <gtest/gtest.h>

#include "EngineTestSupport.h"
#include "engine/kernel/BrW32WindowMgr.h"

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

  // Mouse positions are relative to the window rectangle; centring needs the focus.
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
  // Centred, the pointer reads back as the client area's centre: the controllers take that difference as the
  // mouse's motion, so a window with a frame must not make the cursor drift by itself.
  mgr.GetMousePos(x, y);
  EXPECT_EQ(x, 320);
  EXPECT_EQ(y, 240);
  RECT frame;
  GetWindowRect(h, &frame);
  POINT p;
  GetCursorPos(&p);
  EXPECT_EQ(p.x, frame.left + 320);
  EXPECT_EQ(p.y, frame.top + 240);

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
