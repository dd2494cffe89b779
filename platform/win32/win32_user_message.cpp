// The message queue: SDL events translated into window messages, the pump, dispatch and input injection.
#include "platform/win32/win32_user_local.h"

namespace brw32 {

void post(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
  MSG m{};
  m.hwnd = hwnd;
  m.message = message;
  m.wParam = wParam;
  m.lParam = lParam;
  m.time = state().videoStarted ? SDL_GetTicks() : 0;
  GetCursorPos(&m.pt);
  state().queue.push_back(m);
}

namespace {

Window* windowOf(Uint32 sdlId) {
  SDL_Window* sw = SDL_GetWindowFromID(sdlId);
  if (!sw) return nullptr;
  for (auto& kv : state().windows)
    if (kv.second.sdl == sw) return &kv.second;
  return nullptr;
}

LPARAM keyLParam(SDL_Scancode sc, bool down, bool repeat) {
  // Repeat count 1, the scan code, bit 30 the previous state, bit 31 the transition.
  DWORD l = 1 | ((DWORD)(sc & 0xFF) << 16);
  if (!down || repeat) l |= 1u << 30;
  if (!down) l |= 1u << 31;
  return (LPARAM)l;
}

void keyMessage(HWND h, int vk, bool down, LPARAM lParam) {
  // Keys pressed with Alt held, and Alt itself, arrive as system keys, as on Windows.
  bool sys = keyHeld(VK_MENU) || vk == VK_MENU || vk == VK_LMENU || vk == VK_RMENU || vk == VK_F1 + 9;
  UINT msg = down ? (sys ? WM_SYSKEYDOWN : WM_KEYDOWN) : (sys ? WM_SYSKEYUP : WM_KEYUP);
  post(h, msg, (WPARAM)vk, lParam);
}

void translate(const SDL_Event& e) {
  State& s = state();
  switch (e.type) {
    case SDL_QUIT:
      // An interrupt or the session ending: every window is asked to close, as its close box would.
      for (auto& kv : s.windows)
        if (!kv.second.destroying) post(toHandle(kv.first), WM_CLOSE, 0, 0);
      break;
    case SDL_WINDOWEVENT: {
      Window* w = windowOf(e.window.windowID);
      if (!w) break;
      HWND h = toHandle(w->id);
      switch (e.window.event) {
        case SDL_WINDOWEVENT_CLOSE: post(h, WM_CLOSE, 0, 0); break;
        case SDL_WINDOWEVENT_SIZE_CHANGED: {
          int cw = e.window.data1, ch = e.window.data2;
          if (cw == w->sentWidth && ch == w->sentHeight) break;
          w->sentWidth = cw;
          w->sentHeight = ch;
          post(h, WM_SIZE, SIZE_RESTORED, MAKELPARAM(cw, ch));
          break;
        }
        case SDL_WINDOWEVENT_MINIMIZED: post(h, WM_SIZE, SIZE_MINIMIZED, 0); break;
        case SDL_WINDOWEVENT_MAXIMIZED: {
          int cw = 0, ch = 0;
          SDL_GetWindowSize(w->sdl, &cw, &ch);
          w->sentWidth = cw;
          w->sentHeight = ch;
          post(h, WM_SIZE, SIZE_MAXIMIZED, MAKELPARAM(cw, ch));
          break;
        }
        case SDL_WINDOWEVENT_FOCUS_GAINED: post(h, WM_ACTIVATEAPP, TRUE, 0); break;
        case SDL_WINDOWEVENT_FOCUS_LOST:
          // Keys held while the focus leaves never report their release to us.
          for (int vk = 0; vk < 256; ++vk) s.keys[vk].held = false;
          post(h, WM_ACTIVATEAPP, FALSE, 0);
          break;
        case SDL_WINDOWEVENT_MOVED: post(h, WM_MOVE, 0, MAKELPARAM(e.window.data1, e.window.data2)); break;
        default: break;
      }
      break;
    }
    case SDL_KEYDOWN:
    case SDL_KEYUP: {
      int vk = vkFromScancode(e.key.keysym.scancode);
      if (!vk) break;
      bool down = e.type == SDL_KEYDOWN;
      Window* w = windowOf(e.key.windowID);
      if (!w) w = firstWindow();
      LPARAM lp = keyLParam(e.key.keysym.scancode, down, e.key.repeat != 0);
      if (down) keyMessage(w ? toHandle(w->id) : nullptr, vk, true, lp);
      setKey(vk, down);
      if (!down) keyMessage(w ? toHandle(w->id) : nullptr, vk, false, lp);
      break;
    }
    case SDL_TEXTINPUT: {
      Window* w = windowOf(e.text.windowID);
      if (!w) w = firstWindow();
      // Characters outside one byte have no place in the system's 8-bit text: UTF-8 is decoded and
      // only code points below 256 are passed on.
      const unsigned char* p = (const unsigned char*)e.text.text;
      while (*p) {
        unsigned cp = *p;
        int extra = 0;
        if (cp >= 0xF0) {
          cp &= 0x07;
          extra = 3;
        } else if (cp >= 0xE0) {
          cp &= 0x0F;
          extra = 2;
        } else if (cp >= 0xC0) {
          cp &= 0x1F;
          extra = 1;
        }
        ++p;
        for (int i = 0; i < extra && (*p & 0xC0) == 0x80; ++i, ++p) cp = (cp << 6) | (*p & 0x3F);
        if (cp < 256) post(w ? toHandle(w->id) : nullptr, WM_CHAR, cp, 1);
      }
      break;
    }
    case SDL_MOUSEMOTION: {
      Window* w = windowOf(e.motion.windowID);
      // Motion of a confined pointer may come without a window while none has the keyboard focus.
      if (!w && s.relativePointer) w = s.cursorWindow ? find(toHandle(s.cursorWindow)) : firstWindow();
      if (!w) break;
      if (s.relativePointer && s.cursorWindow == w->id) {
        s.cursorClient.x += e.motion.xrel;
        s.cursorClient.y += e.motion.yrel;
      } else {
        s.cursorClient = POINT{e.motion.x, e.motion.y};
      }
      s.cursorWindow = w->id;
      post(toHandle(w->id), WM_MOUSEMOVE, mouseKeyFlags(), MAKELPARAM(s.cursorClient.x, s.cursorClient.y));
      break;
    }
    case SDL_MOUSEBUTTONDOWN:
    case SDL_MOUSEBUTTONUP: {
      Window* w = windowOf(e.button.windowID);
      if (!w) break;
      bool down = e.type == SDL_MOUSEBUTTONDOWN;
      // A hidden pointer is where its motion took it; the button's own place is the confined one.
      if (!s.relativePointer) {
        s.cursorWindow = w->id;
        s.cursorClient = POINT{e.button.x, e.button.y};
      }
      int vk = 0;
      UINT msg = 0;
      if (e.button.button == SDL_BUTTON_LEFT) {
        vk = VK_LBUTTON;
        msg = down ? WM_LBUTTONDOWN : WM_LBUTTONUP;
      } else if (e.button.button == SDL_BUTTON_RIGHT) {
        vk = VK_RBUTTON;
        msg = down ? WM_RBUTTONDOWN : WM_RBUTTONUP;
      } else if (e.button.button == SDL_BUTTON_MIDDLE) {
        vk = VK_MBUTTON;
        msg = down ? WM_MBUTTONDOWN : WM_MBUTTONUP;
      }
      if (!vk) break;
      setKey(vk, down);
      post(toHandle(w->id), msg, mouseKeyFlags(), MAKELPARAM(s.cursorClient.x, s.cursorClient.y));
      break;
    }
    case SDL_MOUSEWHEEL: {
      Window* w = windowOf(e.wheel.windowID);
      if (!w) break;
      int delta = e.wheel.y * WHEEL_DELTA;
      if (e.wheel.direction == SDL_MOUSEWHEEL_FLIPPED) delta = -delta;
      POINT p;
      GetCursorPos(&p);
      post(toHandle(w->id), WM_MOUSEWHEEL, MAKEWPARAM(mouseKeyFlags(), (WORD)(short)delta), MAKELPARAM(p.x, p.y));
      break;
    }
    default: break;
  }
}

void pumpSDL() {
  if (!state().videoStarted) return;
  SDL_Event e;
  while (SDL_PollEvent(&e)) translate(e);
}

bool matches(const MSG& m, HWND hwnd, UINT lo, UINT hi) {
  if (hwnd && m.hwnd != hwnd) return false;
  if (lo == 0 && hi == 0) return true;
  return m.message >= lo && m.message <= hi;
}

}  // namespace
}  // namespace brw32

using namespace brw32;

LRESULT DefWindowProcA(HWND hwnd, UINT message, WPARAM, LPARAM) {
  if (message == WM_CLOSE) DestroyWindow(hwnd);
  return 0;
}

LRESULT SendMessageA(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
  Window* w = find(hwnd);
  if (!w || !w->proc) return 0;
  return w->proc(hwnd, message, wParam, lParam);
}

BOOL PostMessageA(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
  if (hwnd && !find(hwnd)) return FALSE;
  post(hwnd, message, wParam, lParam);
  return TRUE;
}

void PostQuitMessage(int exitCode) { post(nullptr, WM_QUIT, (WPARAM)(intptr_t)exitCode, 0); }

BOOL PeekMessageA(MSG* msg, HWND hwnd, UINT filterMin, UINT filterMax, UINT removeFlags) {
  pumpSDL();
  auto& q = state().queue;
  for (auto it = q.begin(); it != q.end(); ++it) {
    if (!matches(*it, hwnd, filterMin, filterMax)) continue;
    if (msg) *msg = *it;
    if (removeFlags & PM_REMOVE) q.erase(it);
    return TRUE;
  }
  return FALSE;
}

BOOL GetMessageA(MSG* msg, HWND hwnd, UINT filterMin, UINT filterMax) {
  MSG m{};
  while (!PeekMessageA(&m, hwnd, filterMin, filterMax, PM_REMOVE)) {
    if (!state().videoStarted) return FALSE;  // nothing could ever arrive
    SDL_WaitEventTimeout(nullptr, 10);
  }
  if (msg) *msg = m;
  return m.message == WM_QUIT ? FALSE : TRUE;
}

BOOL TranslateMessage(const MSG*) { return FALSE; }

LRESULT DispatchMessageA(const MSG* msg) {
  if (!msg || !msg->hwnd) return 0;
  return SendMessageA(msg->hwnd, msg->message, msg->wParam, msg->lParam);
}

BOOL brW32InjectMessage(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
  if (!hwnd) {
    Window* w = firstWindow();
    if (!w) return FALSE;
    hwnd = toHandle(w->id);
  } else if (!find(hwnd)) {
    return FALSE;
  }
  post(hwnd, message, wParam, lParam);
  return TRUE;
}

BOOL brW32InjectKey(int vkey, BOOL down) {
  if (vkey <= 0 || vkey > 255) return FALSE;
  Window* w = firstWindow();
  HWND h = w ? toHandle(w->id) : nullptr;
  LPARAM lp = (LPARAM)(1 | (down ? 0 : (3u << 30)));
  if (down) keyMessage(h, vkey, true, lp);
  setKey(vkey, down != FALSE);
  if (!down) keyMessage(h, vkey, false, lp);
  return TRUE;
}

BOOL brW32InjectMouseMove(int x, int y) {
  Window* w = nullptr;
  State& s = state();
  if (s.cursorWindow) w = find(toHandle(s.cursorWindow));
  if (!w) w = firstWindow();
  if (!w) return FALSE;
  s.cursorWindow = w->id;
  s.cursorClient = POINT{x, y};
  post(toHandle(w->id), WM_MOUSEMOVE, mouseKeyFlags(), MAKELPARAM(x, y));
  return TRUE;
}

BOOL brW32InjectMouseButton(int vkey, BOOL down) {
  State& s = state();
  Window* w = s.cursorWindow ? find(toHandle(s.cursorWindow)) : nullptr;
  if (!w) w = firstWindow();
  if (!w) return FALSE;
  UINT msg;
  switch (vkey) {
    case VK_LBUTTON: msg = down ? WM_LBUTTONDOWN : WM_LBUTTONUP; break;
    case VK_RBUTTON: msg = down ? WM_RBUTTONDOWN : WM_RBUTTONUP; break;
    case VK_MBUTTON: msg = down ? WM_MBUTTONDOWN : WM_MBUTTONUP; break;
    default: return FALSE;
  }
  setKey(vkey, down != FALSE);
  post(toHandle(w->id), msg, mouseKeyFlags(), MAKELPARAM(s.cursorClient.x, s.cursorClient.y));
  return TRUE;
}

BOOL brW32InjectMouseWheel(int delta) {
  State& s = state();
  Window* w = s.cursorWindow ? find(toHandle(s.cursorWindow)) : nullptr;
  if (!w) w = firstWindow();
  if (!w) return FALSE;
  POINT p;
  GetCursorPos(&p);
  post(toHandle(w->id), WM_MOUSEWHEEL, MAKEWPARAM(mouseKeyFlags(), (WORD)(short)delta), MAKELPARAM(p.x, p.y));
  return TRUE;
}

void brW32ResetInput() {
  State& s = state();
  for (auto& k : s.keys) k = KeyState{};
  s.queue.clear();
}
