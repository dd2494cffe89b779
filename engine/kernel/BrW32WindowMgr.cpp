// The main window manager: window class and window, rectangles, mouse placement, key table and dialogs.
#include "engine/kernel/BrW32WindowMgr.h"

#include <cstring>

#include "core/brcr.h"
#include "engine/kernel/BrApplication.h"
#include "engine/kernel/BrConfigCache.h"
#include "engine/kernel/BrEngine.h"

const char* const BrW32WindowMgr::cszClassName = "Brelmar Technology WNDCLASS";

BrW32WindowMgr::BrW32WindowMgr()
    : m_dwIcon(0),
      m_dwMenu(0),
      m_dwExitCode(0),
      m_dwStyle(0),
      m_bRectsDirty(true),
      m_ClientRect{0, 0, 0, 0},
      m_WindowRect{0, 0, 0, 0},
      m_bExited(false),
      m_bClassRegistered(false),
      m_iCursorShown(-1) {}

BrW32WindowMgr::~BrW32WindowMgr() { Exit(); }

DWORD& BrW32WindowMgr::WindowStyle() { return m_dwStyle; }
DWORD& BrW32WindowMgr::Icon() { return m_dwIcon; }
DWORD& BrW32WindowMgr::Menu() { return m_dwMenu; }
DWORD& BrW32WindowMgr::ExitCode() { return m_dwExitCode; }

bool BrW32WindowMgr::Init() {
  GLog.WriteLine("Registering window class");
  WNDCLASSEXA wc;
  std::memset(&wc, 0, sizeof(wc));
  wc.cbSize = sizeof(wc);
  wc.style = CS_HREDRAW | CS_VREDRAW;
  wc.lpfnWndProc = brW32RootWndProc;
  wc.hInstance = GInstance;
  wc.hIcon = brLoadIcon(GInstance, MAKEINTRESOURCEA(m_dwIcon));
  wc.hIconSm = wc.hIcon;
  wc.hCursor = brLoadCursor(nullptr, IDC_ARROW);
  wc.hbrBackground = nullptr;
  wc.lpszMenuName = nullptr;
  wc.lpszClassName = cszClassName;
  // A class left registered by an earlier window manager of this process is reused.
  m_bClassRegistered = brRegisterClassEx(&wc);

  GLog.WriteLine("Creating parent window");
  int width = 800, height = 600;
  BrConfigCache* config = Engine().GetConfig();
  if (config) {
    config->GetInteger("Display", "WindowWidth", width);
    config->GetInteger("Display", "WindowHeight", height);
  }
  RECT desktop = GetDesktopArea();
  if (desktop.right == 0) {
    brSetRect(&desktop, 0, 0, width, height);
  } else if ((int64_t)desktop.right * desktop.bottom <= (int64_t)width * height) {
    int w = width, h = height;
    brDecrementRes(w, h);
  }

  m_dwStyle = cdwStyle;
  SetWindowByStyleAndClient();

  BrStringT<char> title;
  if (config) config->GetString("App", "Title", title);

  HMENU menu = m_dwMenu ? LoadMenuA(GInstance, MAKEINTRESOURCEA(m_dwMenu)) : nullptr;
  HWND hwnd = CreateWindowExA(0, cszClassName, title.c_str() ? title.c_str() : "", m_dwStyle, 0, 0,
                              m_WindowRect.right - m_WindowRect.left, m_WindowRect.bottom - m_WindowRect.top, nullptr,
                              menu, GInstance, nullptr);
  if (!hwnd) {
    if (menu) DestroyMenu(menu);
    GLog.WriteLine("ERROR: Failed to create the parent window");
    return false;
  }
  SetHandle(hwnd);
  m_bRectsDirty = true;
  InitASCIILookup();
  return true;
}

void BrW32WindowMgr::SetWindowByStyleAndClient() {
  int width = 800, height = 600;
  BrConfigCache* config = Engine().GetConfig();
  if (config) {
    config->GetInteger("Display", "WindowWidth", width);
    config->GetInteger("Display", "WindowHeight", height);
  }
  RECT r;
  brSetRect(&r, 0, 0, width, height);
  // The window has a menu only when a menu resource was given.
  brGrowClientToWindow(&r, m_dwStyle, m_dwMenu != 0);
  m_WindowRect = r;
  m_bRectsDirty = false;
}

bool BrW32WindowMgr::Exit() {
  GLog.WriteLine("\nOperating System GUI requesting exit");
  if (m_bExited) return false;
  m_bExited = true;
  m_KeyLookup.Clear();
  bool ok = true;
  HWND hwnd = GetHandle();
  if (hwnd) {
    HMENU menu = GetMenu(hwnd);
    // With no menu there is nothing to destroy: that is no leak.
    if (menu && !DestroyMenu(menu)) ok = false;
    if (!DestroyWindow(hwnd)) ok = false;
    SetHandle(nullptr);
  }
  if (ok)
    GLog.WriteLine("All handles safely released");
  else
    GLog.WriteLine("WARNING: Handles leaked resources");
  return ok;
}

bool BrW32WindowMgr::MaximiseWindow() {
  brShowWindow(GetHandle(), SW_SHOWMAXIMIZED);
  return brUpdateWindow(GetHandle());
}

bool BrW32WindowMgr::RefreshWindow() {
  brShowWindow(GetHandle(), SW_SHOWNORMAL);
  return brUpdateWindow(GetHandle());
}

void BrW32WindowMgr::SetPosition(HWND hwnd, RECT* rect) {
  RECT r;
  if (!rect) {
    SetWindowByStyleAndClient();
    r = m_WindowRect;
    RECT desktop = GetDesktopArea();
    int w = r.right - r.left, h = r.bottom - r.top;
    r.left = (desktop.right - desktop.left - w) / 2;
    r.top = (desktop.bottom - desktop.top - h) / 2;
    r.right = r.left + w;
    r.bottom = r.top + h;
  } else {
    r = *rect;
    if (r.left < 0) {
      r.right -= r.left;
      r.left = 0;
    }
    if (r.top < 0) {
      r.bottom -= r.top;
      r.top = 0;
    }
  }
  SetWindowPos(hwnd, HWND_NOTOPMOST, r.left, r.top, r.right - r.left, r.bottom - r.top,
               SWP_SHOWWINDOW | SWP_FRAMECHANGED);
  m_bRectsDirty = true;
}

void BrW32WindowMgr::RefreshRects() {
  GetWindowRect(GetHandle(), &m_WindowRect);
  brGetClientRect(GetHandle(), &m_ClientRect);
  m_bRectsDirty = false;
}

RECT BrW32WindowMgr::GetClientArea() {
  RefreshRects();
  return m_ClientRect;
}

RECT BrW32WindowMgr::GetDesktopArea() {
  RECT r{0, 0, 0, 0};
  if (!brGetClientRect(brGetDesktopWindow(), &r)) {
    GLog.DebugWriteLine("ERROR: Failed to get desktop dimensions");
    return RECT{0, 0, 0, 0};
  }
  return r;
}

// Positions are measured from the client area's top-left corner, the same origin CentreMouse and the
// controllers use; measuring from the window rectangle put a centred mouse off by the frame and caption.
void BrW32WindowMgr::GetMousePos(int& x, int& y) {
  if (m_bRectsDirty) RefreshRects();
  POINT p{0, 0};
  GetCursorPos(&p);
  ScreenToClient(GetHandle(), &p);
  x = p.x;
  y = p.y;
}

void BrW32WindowMgr::SetMousePos(int x, int y) {
  if (m_bRectsDirty) RefreshRects();
  POINT p{x, y};
  ClientToScreen(GetHandle(), &p);
  SetCursorPos(p.x, p.y);
}

void BrW32WindowMgr::CentreMouse() {
  if (m_bRectsDirty) RefreshRects();
  if (HasFocus())
    SetMousePos((m_ClientRect.right - m_ClientRect.left) / 2, (m_ClientRect.bottom - m_ClientRect.top) / 2);
  if (BrApplication* app = Engine().App()) ShowOSCursor(app->GetUseOSCursor());
}

void BrW32WindowMgr::ShowOSCursor(bool show) {
  if (m_iCursorShown == (show ? 1 : 0)) return;
  // The system keeps a count and shows the cursor while it is 0 or more. Read it (one step up and back),
  // then step it only as far as the wanted state, so no earlier imbalance survives and none builds up.
  ShowCursor(TRUE);
  int count = ShowCursor(FALSE);
  for (int guard = 0; guard < 256 && (show ? count < 0 : count >= 0); ++guard) count = ShowCursor(show ? TRUE : FALSE);
  m_iCursorShown = show ? 1 : 0;
}

void BrW32WindowMgr::InitASCIILookup() {
  m_KeyLookup.Clear();
  for (int i = 0; i < 40; ++i) {
    char c = 0;
    if (i == 20) c = ' ';
    if (i >= 30) c = (char)('0' + (i - 30));
    m_KeyLookup.Add(c);
  }
}

char BrW32WindowMgr::ScanCodeToASCII(int code) {
  if (code < 0 || code >= 40 || code >= m_KeyLookup.GetCount()) return 0;
  return m_KeyLookup[code];
}

BrStringT<char> BrW32WindowMgr::GetOpenFileNameA(char* filter) {
  char file[512];
  file[0] = 0;
  OPENFILENAMEA ofn;
  std::memset(&ofn, 0, sizeof(ofn));
  ofn.lStructSize = sizeof(ofn);
  ofn.hwndOwner = GetHandle();
  ofn.lpstrFilter = filter;
  ofn.nFilterIndex = 1;
  ofn.lpstrFile = file;
  ofn.nMaxFile = sizeof(file);
  ofn.Flags = OFN_PATHMUSTEXIST | OFN_FILEMUSTEXIST;
  if (!::GetOpenFileNameA(&ofn)) return BrStringT<char>();
  file[sizeof(file) - 1] = 0;
  return BrStringT<char>(file);
}

INT_PTR BrW32WindowMgr::DoDialog(int id, void* dialogProc) {
  return DialogBoxParamA(nullptr, MAKEINTRESOURCEA(id), GetHandle(), reinterpret_cast<DLGPROC>(dialogProc), 0);
}
