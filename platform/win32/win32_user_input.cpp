// Key state with Windows virtual-key codes, the cursor position and its visibility.
#include "platform/win32/win32_user_local.h"

namespace brw32 {

namespace {
// Left and right modifier keys also hold their generic key, which is what the system polls.
int genericOf(int vk) {
  if (vk == VK_LSHIFT || vk == VK_RSHIFT) return VK_SHIFT;
  if (vk == VK_LCONTROL || vk == VK_RCONTROL) return VK_CONTROL;
  if (vk == VK_LMENU || vk == VK_RMENU) return VK_MENU;
  return 0;
}
}  // namespace

void setKey(int vk, bool down) {
  if (vk <= 0 || vk > 255) return;
  State& s = state();
  if (down && !s.keys[vk].held) s.keys[vk].pressedSinceQuery = true;
  s.keys[vk].held = down;
  int g = genericOf(vk);
  if (g) {
    bool any = false;
    if (g == VK_SHIFT) any = s.keys[VK_LSHIFT].held || s.keys[VK_RSHIFT].held;
    if (g == VK_CONTROL) any = s.keys[VK_LCONTROL].held || s.keys[VK_RCONTROL].held;
    if (g == VK_MENU) any = s.keys[VK_LMENU].held || s.keys[VK_RMENU].held;
    if (any && !s.keys[g].held) s.keys[g].pressedSinceQuery = true;
    s.keys[g].held = any;
  }
}

bool keyHeld(int vk) { return vk > 0 && vk < 256 && state().keys[vk].held; }

WPARAM mouseKeyFlags() {
  WPARAM f = 0;
  if (keyHeld(VK_LBUTTON)) f |= MK_LBUTTON;
  if (keyHeld(VK_RBUTTON)) f |= MK_RBUTTON;
  if (keyHeld(VK_MBUTTON)) f |= MK_MBUTTON;
  if (keyHeld(VK_SHIFT)) f |= MK_SHIFT;
  if (keyHeld(VK_CONTROL)) f |= MK_CONTROL;
  return f;
}

int vkFromScancode(SDL_Scancode sc) {
  if (sc >= SDL_SCANCODE_A && sc <= SDL_SCANCODE_Z) return 'A' + (sc - SDL_SCANCODE_A);
  if (sc >= SDL_SCANCODE_1 && sc <= SDL_SCANCODE_9) return '1' + (sc - SDL_SCANCODE_1);
  if (sc == SDL_SCANCODE_0) return '0';
  if (sc >= SDL_SCANCODE_F1 && sc <= SDL_SCANCODE_F12) return VK_F1 + (sc - SDL_SCANCODE_F1);
  if (sc >= SDL_SCANCODE_KP_1 && sc <= SDL_SCANCODE_KP_9) return VK_NUMPAD0 + 1 + (sc - SDL_SCANCODE_KP_1);
  switch (sc) {
    case SDL_SCANCODE_KP_0: return VK_NUMPAD0;
    case SDL_SCANCODE_RETURN: return VK_RETURN;
    case SDL_SCANCODE_KP_ENTER: return VK_RETURN;
    case SDL_SCANCODE_ESCAPE: return VK_ESCAPE;
    case SDL_SCANCODE_BACKSPACE: return VK_BACK;
    case SDL_SCANCODE_TAB: return VK_TAB;
    case SDL_SCANCODE_SPACE: return VK_SPACE;
    case SDL_SCANCODE_MINUS: return VK_OEM_MINUS;
    case SDL_SCANCODE_EQUALS: return VK_OEM_PLUS;
    case SDL_SCANCODE_LEFTBRACKET: return VK_OEM_4;
    case SDL_SCANCODE_RIGHTBRACKET: return VK_OEM_6;
    case SDL_SCANCODE_BACKSLASH: return VK_OEM_5;
    case SDL_SCANCODE_SEMICOLON: return VK_OEM_1;
    case SDL_SCANCODE_APOSTROPHE: return VK_OEM_7;
    case SDL_SCANCODE_GRAVE: return VK_OEM_3;
    case SDL_SCANCODE_COMMA: return VK_OEM_COMMA;
    case SDL_SCANCODE_PERIOD: return VK_OEM_PERIOD;
    case SDL_SCANCODE_SLASH: return VK_OEM_2;
    case SDL_SCANCODE_CAPSLOCK: return VK_CAPITAL;
    case SDL_SCANCODE_PRINTSCREEN: return VK_SNAPSHOT;
    case SDL_SCANCODE_PAUSE: return VK_PAUSE;
    case SDL_SCANCODE_INSERT: return VK_INSERT;
    case SDL_SCANCODE_HOME: return VK_HOME;
    case SDL_SCANCODE_PAGEUP: return VK_PRIOR;
    case SDL_SCANCODE_DELETE: return VK_DELETE;
    case SDL_SCANCODE_END: return VK_END;
    case SDL_SCANCODE_PAGEDOWN: return VK_NEXT;
    case SDL_SCANCODE_RIGHT: return VK_RIGHT;
    case SDL_SCANCODE_LEFT: return VK_LEFT;
    case SDL_SCANCODE_DOWN: return VK_DOWN;
    case SDL_SCANCODE_UP: return VK_UP;
    case SDL_SCANCODE_KP_DIVIDE: return VK_DIVIDE;
    case SDL_SCANCODE_KP_MULTIPLY: return VK_MULTIPLY;
    case SDL_SCANCODE_KP_MINUS: return VK_SUBTRACT;
    case SDL_SCANCODE_KP_PLUS: return VK_ADD;
    case SDL_SCANCODE_KP_PERIOD: return VK_DECIMAL;
    case SDL_SCANCODE_LCTRL: return VK_LCONTROL;
    case SDL_SCANCODE_RCTRL: return VK_RCONTROL;
    case SDL_SCANCODE_LSHIFT: return VK_LSHIFT;
    case SDL_SCANCODE_RSHIFT: return VK_RSHIFT;
    case SDL_SCANCODE_LALT: return VK_LMENU;
    case SDL_SCANCODE_RALT: return VK_RMENU;
    default: return 0;
  }
}

}  // namespace brw32

using namespace brw32;

SHORT GetAsyncKeyState(int vkey) {
  if (vkey <= 0 || vkey > 255) return 0;
  KeyState& k = state().keys[vkey];
  SHORT r = 0;
  if (k.held) r |= (SHORT)0x8000;
  if (k.pressedSinceQuery) r |= 1;
  k.pressedSinceQuery = false;
  return r;
}

SHORT GetKeyState(int vkey) {
  if (vkey <= 0 || vkey > 255) return 0;
  return state().keys[vkey].held ? (SHORT)0x8000 : 0;
}

BOOL GetCursorPos(POINT* point) {
  if (!point) return FALSE;
  State& s = state();
  Window* w = s.cursorWindow ? find(toHandle(s.cursorWindow)) : nullptr;
  POINT o = w ? clientOrigin(*w) : POINT{0, 0};
  point->x = o.x + s.cursorClient.x;
  point->y = o.y + s.cursorClient.y;
  return TRUE;
}

BOOL SetCursorPos(int x, int y) {
  State& s = state();
  Window* w = s.cursorWindow ? find(toHandle(s.cursorWindow)) : nullptr;
  if (!w) w = firstWindow();
  if (!w) {
    s.cursorClient = POINT{x, y};
    return TRUE;
  }
  s.cursorWindow = w->id;
  POINT o = clientOrigin(*w);
  s.cursorClient = POINT{x - o.x, y - o.y};
  // Where a pointer exists, it follows; headless the remembered position is all there is. A hidden pointer
  // is not moved: its motion counts from the new place, and a warp would arrive later as motion of its own
  // (or, on X11, undo motion that came in between), which is how centring every frame lost the mouse.
  if (!s.relativePointer && !brW32IsHeadless() && w->sdl && (SDL_GetWindowFlags(w->sdl) & SDL_WINDOW_INPUT_FOCUS))
    SDL_WarpMouseInWindow(w->sdl, s.cursorClient.x, s.cursorClient.y);
  return TRUE;
}

int ShowCursor(BOOL show) {
  State& s = state();
  s.cursorCount += show ? 1 : -1;
  const bool hidden = s.cursorCount < 0;
  if (s.videoStarted) SDL_ShowCursor(hidden ? SDL_DISABLE : SDL_ENABLE);
  if (hidden != s.relativePointer) {
    s.relativePointer = hidden;
    // The system confines a hidden pointer to the window and reports its motion; headless there is no
    // pointer, and where confining fails the motion of the free pointer is counted all the same.
    if (s.videoStarted && !brW32IsHeadless()) SDL_SetRelativeMouseMode(hidden ? SDL_TRUE : SDL_FALSE);
  }
  return s.cursorCount;
}
