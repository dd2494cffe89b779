// Private state of the windowing half: registered classes, live windows, the message queue, keys and cursor.
#pragma once

#include "platform/win32/win32_user.h"

#include <SDL2/SDL.h>

#include <cstdint>
#include <deque>
#include <map>
#include <string>

namespace brw32 {

// One registered window class. Names compare without case, as Windows compares them.
struct WindowClass {
  std::string name;
  UINT style = 0;
  WNDPROC proc = nullptr;
  HINSTANCE instance = nullptr;
  HICON icon = nullptr;
  HCURSOR cursor = nullptr;
};

// One live window. Handles are ids, never addresses, so a stale handle can be detected and never reached.
struct Window {
  uintptr_t id = 0;
  SDL_Window* sdl = nullptr;
  std::string className;
  WNDPROC proc = nullptr;
  DWORD style = 0;
  DWORD exStyle = 0;
  HMENU menu = nullptr;
  bool destroying = false;
  bool visible = false;
  int sentWidth = -1, sentHeight = -1;  // the client size last reported by WM_SIZE
};

struct KeyState {
  bool held = false;
  bool pressedSinceQuery = false;
};

struct State {
  std::map<std::string, WindowClass> classes;  // key: lower-cased name
  std::map<uintptr_t, Window> windows;         // key: handle id
  uintptr_t nextWindowId = 1;
  std::deque<MSG> queue;
  KeyState keys[256];
  POINT cursorClient{0, 0};  // pointer position in the client area of cursorWindow
  uintptr_t cursorWindow = 0;
  int cursorCount = 0;
  // While the cursor is hidden the pointer is tracked by its motion, not its place: a program that hides it
  // and puts it back in the centre every frame wants the motion, and a pointer confined by the system
  // (SDL's relative mode) still reports motion where its place would stop at the window's edge.
  bool relativePointer = false;
  bool videoStarted = false;
  bool glLoaded = false;
  std::map<uintptr_t, int> menus;  // live menu tokens
  uintptr_t nextMenuId = 1;
};

State& state();

// Lower-cased copy, for class names.
std::string lower(const char* s);
// The live window behind a handle, or null.
Window* find(HWND hwnd);
inline HWND toHandle(uintptr_t id) { return reinterpret_cast<HWND>(id); }
inline uintptr_t toId(HWND hwnd) { return reinterpret_cast<uintptr_t>(hwnd); }
// The desktop pseudo-window's handle (never a real window id).
HWND desktopHandle();
// The first live window, for injected input that names no window.
Window* firstWindow();

// Frame metrics used both to grow client rectangles and to place SDL's client area.
void frameMetrics(DWORD style, bool menu, RECT& grow);
// The client area's top-left in screen coordinates.
POINT clientOrigin(const Window& w);

// Queue a message with the current time and cursor.
void post(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam);
// Key state changes, shared by SDL translation and injection.
void setKey(int vk, bool down);
bool keyHeld(int vk);
WPARAM mouseKeyFlags();
// SDL scancode to virtual-key code; 0 when it has none.
int vkFromScancode(SDL_Scancode sc);

}  // namespace brw32
