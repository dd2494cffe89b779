// The windowing half of the win32 layer: classes, windows and rectangles, the queue and pump, keys, cursor.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "platform/win32/win32.h"

namespace {

std::vector<UINT>& Seen() {
  static std::vector<UINT> seen;
  return seen;
}
std::vector<WPARAM>& SeenW() {
  static std::vector<WPARAM> seen;
  return seen;
}

LRESULT CALLBACK RecordingProc(HWND hwnd, UINT msg, WPARAM w, LPARAM l) {
  Seen().push_back(msg);
  SeenW().push_back(w);
  return DefWindowProcA(hwnd, msg, w, l);
}

// What each nested DestroyWindow of ReentrantProc returned, checked by the test rather than in the procedure.
std::vector<BOOL>& NestedDestroys() {
  static std::vector<BOOL> results;
  return results;
}

// A procedure that destroys its own window again while handling WM_DESTROY, as the engine's exit does.
LRESULT CALLBACK ReentrantProc(HWND hwnd, UINT msg, WPARAM w, LPARAM l) {
  Seen().push_back(msg);
  if (msg == WM_DESTROY) {
    NestedDestroys().push_back(DestroyWindow(hwnd));
  }
  return DefWindowProcA(hwnd, msg, w, l);
}

ATOM Register(const char* name, WNDPROC proc) {
  WNDCLASSEXA wc{};
  wc.cbSize = sizeof(wc);
  wc.lpfnWndProc = proc;
  wc.lpszClassName = name;
  wc.hCursor = LoadCursorA(nullptr, IDC_ARROW);
  return RegisterClassExA(&wc);
}

std::vector<UINT> Drain() {
  std::vector<UINT> got;
  MSG m;
  while (PeekMessageA(&m, nullptr, 0, 0, PM_REMOVE)) {
    got.push_back(m.message);
    DispatchMessageA(&m);
  }
  return got;
}

const DWORD kGameStyle = 0x90CA0000;  // popup, visible, caption, system menu, minimise box

}  // namespace

TEST(UserWindow, ClassesRegisterOnceAndWindowsOpenWithTheirClientSize) {
  ASSERT_NE(Register("Test Class One", RecordingProc), 0);
  EXPECT_EQ(Register("test class ONE", RecordingProc), 0);  // names compare without case
  WNDCLASSEXA bad{};
  EXPECT_EQ(RegisterClassExA(&bad), 0);
  EXPECT_EQ(CreateWindowExA(0, "No Such Class", "x", kGameStyle, 0, 0, 100, 100, nullptr, nullptr, nullptr, nullptr),
            nullptr);

  RECT r;
  ASSERT_TRUE(SetRect(&r, 0, 0, 800, 600));
  ASSERT_TRUE(AdjustWindowRect(&r, kGameStyle, FALSE));
  EXPECT_LT(r.top, 0);
  RECT withMenu;
  SetRect(&withMenu, 0, 0, 800, 600);
  AdjustWindowRect(&withMenu, kGameStyle, TRUE);
  EXPECT_LT(withMenu.top, r.top);  // a menu bar adds height

  Seen().clear();
  HWND h = CreateWindowExA(0, "Test Class One", "Title", kGameStyle, 0, 0, r.right - r.left, r.bottom - r.top, nullptr,
                           nullptr, nullptr, nullptr);
  ASSERT_NE(h, nullptr);
  EXPECT_TRUE(IsWindow(h));
  EXPECT_NE(brW32GetSDLWindow(h), nullptr);
  EXPECT_EQ(Seen().front(), (UINT)WM_CREATE);
  RECT client;
  ASSERT_TRUE(GetClientRect(h, &client));
  EXPECT_EQ(client.right, 800);
  EXPECT_EQ(client.bottom, 600);
  RECT window;
  ASSERT_TRUE(GetWindowRect(h, &window));
  EXPECT_EQ(window.right - window.left, r.right - r.left);
  EXPECT_EQ(window.bottom - window.top, r.bottom - r.top);
  EXPECT_EQ(GetWindowLongA(h, GWL_STYLE), (LONG)kGameStyle);
  RECT desk;
  ASSERT_TRUE(GetClientRect(GetDesktopWindow(), &desk));
  EXPECT_GT(desk.right, 0);
  EXPECT_EQ(GetMenu(h), nullptr);
  EXPECT_EQ(LoadMenuA(nullptr, MAKEINTRESOURCEA(0)), nullptr);

  // The class stays while a window of it lives.
  EXPECT_FALSE(UnregisterClassA("Test Class One", nullptr));
  Seen().clear();
  EXPECT_TRUE(DestroyWindow(h));
  EXPECT_EQ(Seen(), std::vector<UINT>{WM_DESTROY});
  EXPECT_FALSE(IsWindow(h));
  EXPECT_FALSE(DestroyWindow(h));
  EXPECT_EQ(brW32GetSDLWindow(h), nullptr);
  EXPECT_TRUE(UnregisterClassA("Test Class One", nullptr));
}

TEST(UserWindow, ResizingSendsTheNewClientSize) {
  Register("Test Class Size", RecordingProc);
  HWND h = CreateWindowExA(0, "Test Class Size", "", kGameStyle, 0, 0, 400, 300, nullptr, nullptr, nullptr, nullptr);
  ASSERT_NE(h, nullptr);
  Drain();
  Seen().clear();
  SeenW().clear();
  RECT r;
  SetRect(&r, 0, 0, 640, 480);
  AdjustWindowRect(&r, kGameStyle, FALSE);
  ASSERT_TRUE(SetWindowPos(h, HWND_NOTOPMOST, 10, 20, r.right - r.left, r.bottom - r.top, SWP_SHOWWINDOW));
  Drain();
  int sizes = 0;
  for (UINT m : Seen()) sizes += m == WM_SIZE;
  EXPECT_EQ(sizes, 1);  // SDL's own report of the same size is not sent twice
  RECT client;
  GetClientRect(h, &client);
  EXPECT_EQ(client.right, 640);
  EXPECT_EQ(client.bottom, 480);
  RECT window;
  GetWindowRect(h, &window);
  EXPECT_EQ(window.left, 10);
  EXPECT_EQ(window.top, 20);
  WINDOWPLACEMENT wp{};
  ASSERT_TRUE(GetWindowPlacement(h, &wp));
  EXPECT_EQ(wp.rcNormalPosition.left, 10);
  // A style without a caption makes the window borderless: no frame around the client area any more.
  SetWindowLongA(h, GWL_STYLE, (LONG)0x90080000);
  RECT borderless;
  GetWindowRect(h, &borderless);
  EXPECT_EQ(borderless.right - borderless.left, 640);
  DestroyWindow(h);
  UnregisterClassA("Test Class Size", nullptr);
}

TEST(UserWindow, InjectedInputBecomesMessagesAndKeyState) {
  Register("Test Class Input", RecordingProc);
  HWND h = CreateWindowExA(0, "Test Class Input", "", kGameStyle, 0, 0, 400, 300, nullptr, nullptr, nullptr, nullptr);
  ASSERT_NE(h, nullptr);
  brW32ResetInput();
  Seen().clear();
  SeenW().clear();

  EXPECT_EQ(GetAsyncKeyState(VK_ESCAPE) & 0x8000, 0);
  ASSERT_TRUE(brW32InjectKey(VK_ESCAPE, TRUE));
  EXPECT_NE(GetAsyncKeyState(VK_ESCAPE) & 0x8000, 0);
  EXPECT_EQ(GetAsyncKeyState(VK_ESCAPE) & 1, 0);  // the went-down bit is reported once
  ASSERT_TRUE(brW32InjectKey(VK_ESCAPE, FALSE));
  EXPECT_EQ(GetAsyncKeyState(VK_ESCAPE) & 0x8000, 0);
  // Left and right modifiers hold the generic key; Alt turns keys into system keys.
  brW32InjectKey(VK_RMENU, TRUE);
  EXPECT_NE(GetAsyncKeyState(VK_MENU) & 0x8000, 0);
  brW32InjectKey(VK_RETURN, TRUE);
  brW32InjectKey(VK_RETURN, FALSE);
  brW32InjectKey(VK_RMENU, FALSE);
  EXPECT_EQ(GetAsyncKeyState(VK_MENU) & 0x8000, 0);

  ASSERT_TRUE(brW32InjectMouseMove(50, 60));
  ASSERT_TRUE(brW32InjectMouseButton(VK_LBUTTON, TRUE));
  EXPECT_NE(GetAsyncKeyState(VK_LBUTTON) & 0x8000, 0);
  ASSERT_TRUE(brW32InjectMouseButton(VK_LBUTTON, FALSE));
  ASSERT_TRUE(brW32InjectMouseButton(VK_RBUTTON, TRUE));
  ASSERT_TRUE(brW32InjectMouseWheel(-240));
  EXPECT_FALSE(brW32InjectMouseButton('A', TRUE));
  ASSERT_TRUE(brW32InjectMessage(nullptr, WM_COMMAND, MAKEWPARAM(40001, 0), 0));
  EXPECT_EQ(Drain(),
            (std::vector<UINT>{WM_KEYDOWN, WM_KEYUP, WM_SYSKEYDOWN, WM_SYSKEYDOWN, WM_SYSKEYUP, WM_SYSKEYUP,
                               WM_MOUSEMOVE, WM_LBUTTONDOWN, WM_LBUTTONUP, WM_RBUTTONDOWN, WM_MOUSEWHEEL, WM_COMMAND}));
  EXPECT_EQ(SeenW()[0], (WPARAM)VK_ESCAPE);
  EXPECT_EQ((short)HIWORD(SeenW()[10]), -240);
  EXPECT_EQ(LOWORD(SeenW()[11]), 40001);

  POINT p;
  ASSERT_TRUE(GetCursorPos(&p));
  ASSERT_TRUE(ScreenToClient(h, &p));
  EXPECT_EQ(p.x, 50);
  EXPECT_EQ(p.y, 60);
  POINT q{55, 65};
  ASSERT_TRUE(ClientToScreen(h, &q));
  ASSERT_TRUE(SetCursorPos(q.x, q.y));
  GetCursorPos(&p);
  ScreenToClient(h, &p);
  EXPECT_EQ(p.x, 55);
  EXPECT_EQ(ShowCursor(FALSE), -1);
  EXPECT_EQ(ShowCursor(TRUE), 0);

  brW32ResetInput();
  EXPECT_EQ(GetAsyncKeyState(VK_RBUTTON) & 0x8000, 0);
  DestroyWindow(h);
  UnregisterClassA("Test Class Input", nullptr);
}

TEST(UserWindow, ClosingAWindowAndQuitting) {
  Register("Test Class Close", ReentrantProc);
  HWND h = CreateWindowExA(0, "Test Class Close", "", kGameStyle, 0, 0, 200, 200, nullptr, nullptr, nullptr, nullptr);
  ASSERT_NE(h, nullptr);
  Drain();
  Seen().clear();
  NestedDestroys().clear();
  ASSERT_TRUE(PostMessageA(h, WM_CLOSE, 0, 0));
  ASSERT_TRUE(PostMessageA(h, WM_USER, 0, 0));  // queued for a window that will be gone: dropped
  Drain();
  EXPECT_FALSE(IsWindow(h));
  EXPECT_EQ(Seen(), (std::vector<UINT>{WM_CLOSE, WM_DESTROY}));
  EXPECT_EQ(NestedDestroys(), (std::vector<BOOL>{TRUE}));
  EXPECT_FALSE(PostMessageA(h, WM_USER, 0, 0));
  PostQuitMessage(3);
  MSG m;
  ASSERT_TRUE(PeekMessageA(&m, nullptr, 0, 0, PM_NOREMOVE));
  EXPECT_EQ(m.message, (UINT)WM_QUIT);
  EXPECT_FALSE(GetMessageA(&m, nullptr, 0, 0));
  EXPECT_EQ(m.wParam, 3u);
  EXPECT_FALSE(PeekMessageA(&m, nullptr, 0, 0, PM_REMOVE));
  UnregisterClassA("Test Class Close", nullptr);
}
