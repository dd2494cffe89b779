// Window classes, windows, rectangles, styles and resource tokens on SDL2.
#include "platform/win32/win32_user_local.h"

#include <algorithm>
#include <cctype>
#include <cstdlib>
#include <cstring>

namespace brw32 {

namespace {
// Frame sizes of the model: the numbers only need to agree between AdjustWindowRect and window placement.
const int kCaption = 23;
const int kBorder = 3;
const int kMenuBar = 20;

struct Token {
  int unused;
};
Token gIconToken, gCursorToken;
}  // namespace

State& state() {
  static State s;
  return s;
}

std::string lower(const char* s) {
  std::string out = s ? s : "";
  for (char& c : out) c = (char)std::tolower((unsigned char)c);
  return out;
}

Window* find(HWND hwnd) {
  auto& ws = state().windows;
  auto it = ws.find(toId(hwnd));
  return it == ws.end() ? nullptr : &it->second;
}

HWND desktopHandle() {
  // Ids of real windows count up from 1; the desktop takes the largest value so it never collides.
  return toHandle(~uintptr_t(0) >> 1);
}

Window* firstWindow() {
  auto& ws = state().windows;
  for (auto& kv : ws)
    if (!kv.second.destroying) return &kv.second;
  return nullptr;
}

void frameMetrics(DWORD style, bool menu, RECT& grow) {
  grow = RECT{0, 0, 0, 0};
  if ((style & WS_CAPTION) == WS_CAPTION) grow.top += kCaption;
  if (style & (WS_BORDER | WS_DLGFRAME | WS_THICKFRAME)) {
    grow.left += kBorder;
    grow.right += kBorder;
    grow.top += kBorder;
    grow.bottom += kBorder;
  }
  if (menu) grow.top += kMenuBar;
}

POINT clientOrigin(const Window& w) {
  POINT p{0, 0};
  int x = 0, y = 0;
  if (w.sdl) SDL_GetWindowPosition(w.sdl, &x, &y);
  p.x = x;
  p.y = y;
  return p;
}

}  // namespace brw32

using namespace brw32;

BOOL brW32InitVideo() {
  State& s = state();
  if (s.videoStarted) return TRUE;
  if (SDL_InitSubSystem(SDL_INIT_VIDEO) != 0) return FALSE;
  // The OpenGL library stays loaded while video runs: otherwise SDL unloads it with the last window and
  // loads it again with the next, and what the driver kept for the process is lost on each round.
  s.glLoaded = SDL_GL_LoadLibrary(nullptr) == 0;
  s.videoStarted = true;
  return TRUE;
}

void brW32ShutdownVideo() {
  State& s = state();
  for (auto& kv : s.windows)
    if (kv.second.sdl) SDL_DestroyWindow(kv.second.sdl);
  s.windows.clear();
  s.queue.clear();
  s.menus.clear();
  // SDL video and the OpenGL driver stay loaded until the process ends: unloading the driver earlier makes
  // what it keeps for the whole process unreachable, which the leak checkers then report as lost.
}

BOOL brW32IsHeadless() {
  if (!state().videoStarted) {
    const char* d = std::getenv("SDL_VIDEODRIVER");
    return d && std::strcmp(d, "offscreen") == 0;
  }
  const char* d = SDL_GetCurrentVideoDriver();
  return d && std::strcmp(d, "offscreen") == 0;
}

SDL_Window* brW32GetSDLWindow(HWND hwnd) {
  Window* w = find(hwnd);
  return w ? w->sdl : nullptr;
}

ATOM RegisterClassExA(const WNDCLASSEXA* wc) {
  if (!wc || wc->cbSize != sizeof(WNDCLASSEXA) || !wc->lpszClassName || !wc->lpszClassName[0] || !wc->lpfnWndProc)
    return 0;
  State& s = state();
  std::string key = lower(wc->lpszClassName);
  if (s.classes.count(key)) return 0;
  WindowClass c;
  c.name = wc->lpszClassName;
  c.style = wc->style;
  c.proc = wc->lpfnWndProc;
  c.instance = wc->hInstance;
  c.icon = wc->hIcon;
  c.cursor = wc->hCursor;
  s.classes[key] = c;
  // Atoms only need to be non-zero and distinct while the class lives.
  return (ATOM)(0xC000 + (s.classes.size() & 0x3FFF));
}

BOOL UnregisterClassA(LPCSTR className, HINSTANCE) {
  State& s = state();
  std::string key = lower(className);
  auto it = s.classes.find(key);
  if (it == s.classes.end()) return FALSE;
  for (auto& kv : s.windows)
    if (lower(kv.second.className.c_str()) == key) return FALSE;
  s.classes.erase(it);
  return TRUE;
}

HWND CreateWindowExA(DWORD exStyle, LPCSTR className, LPCSTR title, DWORD style, int x, int y, int width, int height,
                     HWND, HMENU menu, HINSTANCE, LPVOID) {
  State& s = state();
  auto it = s.classes.find(lower(className));
  if (it == s.classes.end()) return nullptr;
  if (!brW32InitVideo()) return nullptr;

  RECT grow;
  frameMetrics(style, menu != nullptr, grow);
  int cw = std::max(1, width - grow.left - grow.right);
  int ch = std::max(1, height - grow.top - grow.bottom);

  // The rendering layer makes an OpenGL 3.3 core context on every window: the attributes must be set first.
  SDL_GL_SetAttribute(SDL_GL_CONTEXT_MAJOR_VERSION, 3);
  SDL_GL_SetAttribute(SDL_GL_CONTEXT_MINOR_VERSION, 3);
  SDL_GL_SetAttribute(SDL_GL_CONTEXT_PROFILE_MASK, SDL_GL_CONTEXT_PROFILE_CORE);
  SDL_GL_SetAttribute(SDL_GL_DOUBLEBUFFER, 1);
  SDL_GL_SetAttribute(SDL_GL_DEPTH_SIZE, 24);
  SDL_GL_SetAttribute(SDL_GL_STENCIL_SIZE, 8);
  SDL_GL_SetAttribute(SDL_GL_RED_SIZE, 8);
  SDL_GL_SetAttribute(SDL_GL_GREEN_SIZE, 8);
  SDL_GL_SetAttribute(SDL_GL_BLUE_SIZE, 8);
  SDL_GL_SetAttribute(SDL_GL_ALPHA_SIZE, 8);

  Uint32 flags = SDL_WINDOW_OPENGL;
  flags |= (style & WS_VISIBLE) ? SDL_WINDOW_SHOWN : SDL_WINDOW_HIDDEN;
  if ((style & WS_CAPTION) != WS_CAPTION) flags |= SDL_WINDOW_BORDERLESS;
  if (style & WS_THICKFRAME) flags |= SDL_WINDOW_RESIZABLE;
  SDL_Window* sw = SDL_CreateWindow(title ? title : "", x + grow.left, y + grow.top, cw, ch, flags);
  if (!sw) return nullptr;

  Window w;
  w.id = s.nextWindowId++;
  w.sdl = sw;
  w.className = it->second.name;
  w.proc = it->second.proc;
  w.style = style;
  w.exStyle = exStyle;
  w.menu = menu;
  w.visible = (style & WS_VISIBLE) != 0;
  s.windows[w.id] = w;
  HWND h = toHandle(w.id);
  if (!s.cursorWindow) s.cursorWindow = w.id;

  WNDPROC proc = w.proc;
  proc(h, WM_CREATE, 0, 0);
  if (!find(h)) return nullptr;  // the procedure destroyed it
  if (w.visible) {
    proc(h, WM_SHOWWINDOW, TRUE, 0);
    if (!find(h)) return nullptr;
  }
  s.windows[w.id].sentWidth = cw;
  s.windows[w.id].sentHeight = ch;
  proc(h, WM_SIZE, SIZE_RESTORED, MAKELPARAM(cw, ch));
  if (!find(h)) return nullptr;
  return h;
}

BOOL DestroyWindow(HWND hwnd) {
  Window* w = find(hwnd);
  if (!w) return FALSE;
  // A procedure that destroys its own window while handling WM_DESTROY: the outer call finishes the job.
  if (w->destroying) return TRUE;
  w->destroying = true;
  WNDPROC proc = w->proc;
  proc(hwnd, WM_DESTROY, 0, 0);
  w = find(hwnd);
  if (!w) return TRUE;
  if (w->sdl) SDL_DestroyWindow(w->sdl);
  State& s = state();
  if (s.cursorWindow == w->id) s.cursorWindow = 0;
  s.windows.erase(w->id);
  // Messages still queued for the window would reach a procedure with a dead handle.
  for (auto it = s.queue.begin(); it != s.queue.end();) it = (it->hwnd == hwnd) ? s.queue.erase(it) : it + 1;
  if (!s.cursorWindow) {
    Window* f = firstWindow();
    if (f) s.cursorWindow = f->id;
  }
  return TRUE;
}

BOOL IsWindow(HWND hwnd) { return find(hwnd) != nullptr; }

BOOL ShowWindow(HWND hwnd, int command) {
  Window* w = find(hwnd);
  if (!w) return FALSE;
  BOOL was = w->visible ? TRUE : FALSE;
  switch (command) {
    case SW_HIDE:
      SDL_HideWindow(w->sdl);
      w->visible = false;
      w->style &= ~WS_VISIBLE;
      break;
    case SW_SHOWMAXIMIZED:
      SDL_ShowWindow(w->sdl);
      SDL_MaximizeWindow(w->sdl);
      w->visible = true;
      w->style |= WS_VISIBLE;
      break;
    case SW_SHOWMINIMIZED:
    case SW_MINIMIZE: SDL_MinimizeWindow(w->sdl); break;
    case SW_RESTORE:
      SDL_RestoreWindow(w->sdl);
      SDL_ShowWindow(w->sdl);
      w->visible = true;
      w->style |= WS_VISIBLE;
      break;
    default:
      SDL_ShowWindow(w->sdl);
      w->visible = true;
      w->style |= WS_VISIBLE;
      break;
  }
  return was;
}

BOOL UpdateWindow(HWND hwnd) { return find(hwnd) ? TRUE : FALSE; }

LONG GetWindowLongA(HWND hwnd, int index) {
  Window* w = find(hwnd);
  if (!w) return 0;
  if (index == GWL_STYLE) return (LONG)w->style;
  if (index == GWL_EXSTYLE) return (LONG)w->exStyle;
  return 0;
}

LONG SetWindowLongA(HWND hwnd, int index, LONG value) {
  Window* w = find(hwnd);
  if (!w) return 0;
  if (index == GWL_EXSTYLE) {
    LONG old = (LONG)w->exStyle;
    w->exStyle = (DWORD)value;
    return old;
  }
  if (index != GWL_STYLE) return 0;
  LONG old = (LONG)w->style;
  w->style = (DWORD)value;
  SDL_SetWindowBordered(w->sdl, ((w->style & WS_CAPTION) == WS_CAPTION) ? SDL_TRUE : SDL_FALSE);
  SDL_SetWindowResizable(w->sdl, (w->style & WS_THICKFRAME) ? SDL_TRUE : SDL_FALSE);
  return old;
}

BOOL SetWindowTextA(HWND hwnd, LPCSTR text) {
  Window* w = find(hwnd);
  if (!w) return FALSE;
  SDL_SetWindowTitle(w->sdl, text ? text : "");
  return TRUE;
}

BOOL SetWindowPos(HWND hwnd, HWND, int x, int y, int cx, int cy, UINT flags) {
  Window* w = find(hwnd);
  if (!w) return FALSE;
  RECT grow;
  frameMetrics(w->style, w->menu != nullptr, grow);
  if (!(flags & SWP_NOSIZE)) {
    int cw = std::max(1, cx - grow.left - grow.right);
    int ch = std::max(1, cy - grow.top - grow.bottom);
    int ow = 0, oh = 0;
    SDL_GetWindowSize(w->sdl, &ow, &oh);
    SDL_SetWindowSize(w->sdl, cw, ch);
    if (ow != cw || oh != ch) {
      // Windows sends WM_SIZE from inside SetWindowPos; SDL reports it later, so it is sent here.
      WNDPROC proc = w->proc;
      w->sentWidth = cw;
      w->sentHeight = ch;
      proc(hwnd, WM_SIZE, SIZE_RESTORED, MAKELPARAM(cw, ch));
      w = find(hwnd);
      if (!w) return TRUE;
    }
  }
  if (!(flags & SWP_NOMOVE)) SDL_SetWindowPosition(w->sdl, x + grow.left, y + grow.top);
  if (flags & SWP_SHOWWINDOW) ShowWindow(hwnd, SW_SHOW);
  if (flags & SWP_HIDEWINDOW) ShowWindow(hwnd, SW_HIDE);
  return TRUE;
}

BOOL GetWindowPlacement(HWND hwnd, WINDOWPLACEMENT* placement) {
  if (!placement) return FALSE;
  RECT r;
  if (!GetWindowRect(hwnd, &r)) return FALSE;
  Window* w = find(hwnd);
  placement->flags = 0;
  placement->showCmd = (w && w->visible) ? SW_SHOWNORMAL : SW_HIDE;
  placement->ptMinPosition = POINT{-1, -1};
  placement->ptMaxPosition = POINT{-1, -1};
  placement->rcNormalPosition = r;
  return TRUE;
}

HWND GetDesktopWindow() { return desktopHandle(); }

BOOL GetClientRect(HWND hwnd, RECT* rect) {
  if (!rect) return FALSE;
  if (hwnd == desktopHandle()) {
    int w = 1024, h = 768;
    if (brW32InitVideo()) {
      SDL_DisplayMode mode;
      if (SDL_GetDesktopDisplayMode(0, &mode) == 0) {
        w = mode.w;
        h = mode.h;
      }
    }
    *rect = RECT{0, 0, w, h};
    return TRUE;
  }
  Window* w = find(hwnd);
  if (!w) return FALSE;
  int cw = 0, ch = 0;
  SDL_GL_GetDrawableSize(w->sdl, &cw, &ch);
  if (cw <= 0 || ch <= 0) SDL_GetWindowSize(w->sdl, &cw, &ch);
  *rect = RECT{0, 0, cw, ch};
  return TRUE;
}

BOOL GetWindowRect(HWND hwnd, RECT* rect) {
  if (!rect) return FALSE;
  if (hwnd == desktopHandle()) return GetClientRect(hwnd, rect);
  Window* w = find(hwnd);
  if (!w) return FALSE;
  POINT o = clientOrigin(*w);
  int cw = 0, ch = 0;
  SDL_GetWindowSize(w->sdl, &cw, &ch);
  RECT grow;
  frameMetrics(w->style, w->menu != nullptr, grow);
  *rect = RECT{o.x - grow.left, o.y - grow.top, o.x + cw + grow.right, o.y + ch + grow.bottom};
  return TRUE;
}

BOOL ClientToScreen(HWND hwnd, POINT* point) {
  Window* w = find(hwnd);
  if (!w || !point) return FALSE;
  POINT o = clientOrigin(*w);
  point->x += o.x;
  point->y += o.y;
  return TRUE;
}

BOOL ScreenToClient(HWND hwnd, POINT* point) {
  Window* w = find(hwnd);
  if (!w || !point) return FALSE;
  POINT o = clientOrigin(*w);
  point->x -= o.x;
  point->y -= o.y;
  return TRUE;
}

BOOL SetRect(RECT* rect, int left, int top, int right, int bottom) {
  if (!rect) return FALSE;
  *rect = RECT{left, top, right, bottom};
  return TRUE;
}

BOOL AdjustWindowRect(RECT* rect, DWORD style, BOOL menu) {
  if (!rect) return FALSE;
  RECT grow;
  frameMetrics(style, menu != FALSE, grow);
  rect->left -= grow.left;
  rect->top -= grow.top;
  rect->right += grow.right;
  rect->bottom += grow.bottom;
  return TRUE;
}

int GetSystemMetrics(int index) {
  RECT r;
  GetClientRect(desktopHandle(), &r);
  if (index == SM_CXSCREEN) return r.right;
  if (index == SM_CYSCREEN) return r.bottom;
  return 0;
}

HICON LoadIconA(HINSTANCE, LPCSTR) { return reinterpret_cast<HICON>(&gIconToken); }
HCURSOR LoadCursorA(HINSTANCE, LPCSTR) { return reinterpret_cast<HCURSOR>(&gCursorToken); }

HMENU LoadMenuA(HINSTANCE, LPCSTR name) {
  // There are no menu resources: a null name or resource id 0 names no menu.
  if (!name) return nullptr;
  State& s = state();
  uintptr_t id = s.nextMenuId++;
  s.menus[id] = 1;
  return reinterpret_cast<HMENU>(id);
}

BOOL DestroyMenu(HMENU menu) {
  State& s = state();
  auto it = s.menus.find(reinterpret_cast<uintptr_t>(menu));
  if (it == s.menus.end()) return FALSE;
  s.menus.erase(it);
  for (auto& kv : s.windows)
    if (kv.second.menu == menu) kv.second.menu = nullptr;
  return TRUE;
}

HMENU GetMenu(HWND hwnd) {
  Window* w = find(hwnd);
  return w ? w->menu : nullptr;
}

HCURSOR SetCursor(HCURSOR cursor) {
  static HCURSOR current = nullptr;
  HCURSOR old = current;
  current = cursor;
  return old;
}

INT_PTR DialogBoxParamA(HINSTANCE, LPCSTR, HWND, DLGPROC, LPARAM) { return -1; }

BOOL GetOpenFileNameA(OPENFILENAMEA* request) {
  if (request && request->lpstrFile && request->nMaxFile) request->lpstrFile[0] = 0;
  return FALSE;
}
