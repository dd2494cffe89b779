// The user32 subset on SDL2: window classes and windows, the message queue and window procedures, key state, cursor, input injection.
#pragma once

#include "platform/win32/win32types.h"

// Handles, RECT, POINT, MSG, WNDCLASSEXA and WNDPROC come from win32types.h. A window handle names one
// SDL window; icon, cursor and menu handles are tokens that only need to be non-null and comparable.

// The dialog procedure of DialogBoxParamA.
typedef INT_PTR(CALLBACK* DLGPROC)(HWND, UINT, WPARAM, LPARAM);

// Window placement: only the restored (normal) rectangle carries information here.
struct WINDOWPLACEMENT {
  UINT length;
  UINT flags;
  UINT showCmd;
  POINT ptMinPosition;
  POINT ptMaxPosition;
  RECT rcNormalPosition;
};

// The open-file dialog's request. Only the fields the system fills are honoured.
struct OPENFILENAMEA {
  DWORD lStructSize;
  HWND hwndOwner;
  HINSTANCE hInstance;
  LPCSTR lpstrFilter;
  LPSTR lpstrCustomFilter;
  DWORD nMaxCustFilter;
  DWORD nFilterIndex;
  LPSTR lpstrFile;
  DWORD nMaxFile;
  LPSTR lpstrFileTitle;
  DWORD nMaxFileTitle;
  LPCSTR lpstrInitialDir;
  LPCSTR lpstrTitle;
  DWORD Flags;
  WORD nFileOffset;
  WORD nFileExtension;
  LPCSTR lpstrDefExt;
  LPARAM lCustData;
  void* lpfnHook;
  LPCSTR lpTemplateName;
};

// ---------------------------------------------------------------------------------------------
// Constants: messages, styles, show commands, placement flags, virtual keys.
// ---------------------------------------------------------------------------------------------
enum : UINT {
  WM_NULL = 0x0000,
  WM_CREATE = 0x0001,
  WM_DESTROY = 0x0002,
  WM_MOVE = 0x0003,
  WM_SIZE = 0x0005,
  WM_ACTIVATE = 0x0006,
  WM_SETFOCUS = 0x0007,
  WM_KILLFOCUS = 0x0008,
  WM_PAINT = 0x000F,
  WM_CLOSE = 0x0010,
  WM_QUIT = 0x0012,
  WM_ERASEBKGND = 0x0014,
  WM_SHOWWINDOW = 0x0018,
  WM_ACTIVATEAPP = 0x001C,
  WM_KEYDOWN = 0x0100,
  WM_KEYUP = 0x0101,
  WM_CHAR = 0x0102,
  WM_SYSKEYDOWN = 0x0104,
  WM_SYSKEYUP = 0x0105,
  WM_INITDIALOG = 0x0110,
  WM_COMMAND = 0x0111,
  WM_MOUSEMOVE = 0x0200,
  WM_LBUTTONDOWN = 0x0201,
  WM_LBUTTONUP = 0x0202,
  WM_RBUTTONDOWN = 0x0204,
  WM_RBUTTONUP = 0x0205,
  WM_MBUTTONDOWN = 0x0207,
  WM_MBUTTONUP = 0x0208,
  WM_MOUSEWHEEL = 0x020A,
  WM_USER = 0x0400,
};

enum : DWORD {
  WS_OVERLAPPED = 0x00000000,
  WS_POPUP = 0x80000000,
  WS_CHILD = 0x40000000,
  WS_MINIMIZE = 0x20000000,
  WS_VISIBLE = 0x10000000,
  WS_MAXIMIZE = 0x01000000,
  WS_CAPTION = 0x00C00000,
  WS_BORDER = 0x00800000,
  WS_DLGFRAME = 0x00400000,
  WS_SYSMENU = 0x00080000,
  WS_THICKFRAME = 0x00040000,
  WS_MINIMIZEBOX = 0x00020000,
  WS_MAXIMIZEBOX = 0x00010000,
  WS_OVERLAPPEDWINDOW = 0x00CF0000,
};

enum : UINT { CS_VREDRAW = 0x0001, CS_HREDRAW = 0x0002 };

enum : int {
  SW_HIDE = 0,
  SW_SHOWNORMAL = 1,
  SW_SHOWMINIMIZED = 2,
  SW_SHOWMAXIMIZED = 3,
  SW_MAXIMIZE = 3,
  SW_SHOW = 5,
  SW_MINIMIZE = 6,
  SW_RESTORE = 9,
};

enum : UINT {
  SWP_NOSIZE = 0x0001,
  SWP_NOMOVE = 0x0002,
  SWP_NOZORDER = 0x0004,
  SWP_NOACTIVATE = 0x0010,
  SWP_FRAMECHANGED = 0x0020,
  SWP_SHOWWINDOW = 0x0040,
  SWP_HIDEWINDOW = 0x0080,
};
#define HWND_TOP ((HWND)0)
#define HWND_TOPMOST ((HWND)(INT_PTR)-1)
#define HWND_NOTOPMOST ((HWND)(INT_PTR)-2)

enum : int { GWL_STYLE = -16, GWL_EXSTYLE = -20 };
enum : WPARAM { SIZE_RESTORED = 0, SIZE_MINIMIZED = 1, SIZE_MAXIMIZED = 2 };
enum : UINT { PM_NOREMOVE = 0x0000, PM_REMOVE = 0x0001 };
enum : int { SM_CXSCREEN = 0, SM_CYSCREEN = 1 };
enum : WPARAM { MK_LBUTTON = 0x0001, MK_RBUTTON = 0x0002, MK_SHIFT = 0x0004, MK_CONTROL = 0x0008, MK_MBUTTON = 0x0010 };
enum : int { WHEEL_DELTA = 120 };
enum : DWORD { OFN_PATHMUSTEXIST = 0x00000800, OFN_FILEMUSTEXIST = 0x00001000 };
enum : int { IDOK = 1, IDCANCEL = 2 };

#define IDC_ARROW MAKEINTRESOURCEA(32512)
#define IDI_APPLICATION MAKEINTRESOURCEA(32512)

#ifndef LOWORD
#define LOWORD(l) ((WORD)(((UINT_PTR)(l)) & 0xffff))
#define HIWORD(l) ((WORD)((((UINT_PTR)(l)) >> 16) & 0xffff))
#endif
#define MAKEWPARAM(l, h) ((WPARAM)(DWORD)(((WORD)(l)) | (((DWORD)(WORD)(h)) << 16)))
#define MAKELPARAM(l, h) ((LPARAM)(DWORD)(((WORD)(l)) | (((DWORD)(WORD)(h)) << 16)))
#define GET_WHEEL_DELTA_WPARAM(w) ((short)HIWORD(w))
#define GET_X_LPARAM(l) ((int)(short)LOWORD(l))
#define GET_Y_LPARAM(l) ((int)(short)HIWORD(l))

// Virtual-key codes: letters and digits are their upper-case ASCII codes ('A', '0').
enum : int {
  VK_LBUTTON = 0x01,
  VK_RBUTTON = 0x02,
  VK_MBUTTON = 0x04,
  VK_BACK = 0x08,
  VK_TAB = 0x09,
  VK_RETURN = 0x0D,
  VK_SHIFT = 0x10,
  VK_CONTROL = 0x11,
  VK_MENU = 0x12,
  VK_PAUSE = 0x13,
  VK_CAPITAL = 0x14,
  VK_ESCAPE = 0x1B,
  VK_SPACE = 0x20,
  VK_PRIOR = 0x21,
  VK_NEXT = 0x22,
  VK_END = 0x23,
  VK_HOME = 0x24,
  VK_LEFT = 0x25,
  VK_UP = 0x26,
  VK_RIGHT = 0x27,
  VK_DOWN = 0x28,
  VK_SNAPSHOT = 0x2C,
  VK_INSERT = 0x2D,
  VK_DELETE = 0x2E,
  VK_NUMPAD0 = 0x60,
  VK_MULTIPLY = 0x6A,
  VK_ADD = 0x6B,
  VK_SUBTRACT = 0x6D,
  VK_DECIMAL = 0x6E,
  VK_DIVIDE = 0x6F,
  VK_F1 = 0x70,
  VK_F12 = 0x7B,
  VK_LSHIFT = 0xA0,
  VK_RSHIFT = 0xA1,
  VK_LCONTROL = 0xA2,
  VK_RCONTROL = 0xA3,
  VK_LMENU = 0xA4,
  VK_RMENU = 0xA5,
  VK_OEM_1 = 0xBA,
  VK_OEM_PLUS = 0xBB,
  VK_OEM_COMMA = 0xBC,
  VK_OEM_MINUS = 0xBD,
  VK_OEM_PERIOD = 0xBE,
  VK_OEM_2 = 0xBF,
  VK_OEM_3 = 0xC0,
  VK_OEM_4 = 0xDB,
  VK_OEM_5 = 0xDC,
  VK_OEM_6 = 0xDD,
  VK_OEM_7 = 0xDE,
};

// ---------------------------------------------------------------------------------------------
// Window classes and windows.
// ---------------------------------------------------------------------------------------------

// Registers a class by name; 0 when the structure is malformed or the name is taken.
ATOM RegisterClassExA(const WNDCLASSEXA* wc);
// Removes a registered class; FALSE while a window of the class exists or the name is unknown.
BOOL UnregisterClassA(LPCSTR className, HINSTANCE instance);

// Creates an SDL window (always with OpenGL, 3.3 core, double buffered, depth 24, stencil 8, RGBA 8888)
// whose outer size is (width, height) for `style`; sends WM_CREATE, then WM_SHOWWINDOW/WM_SIZE when the
// style holds WS_VISIBLE. Returns null (nothing created) for an unknown class or when SDL fails.
HWND CreateWindowExA(DWORD exStyle, LPCSTR className, LPCSTR title, DWORD style, int x, int y, int width, int height,
                     HWND parent, HMENU menu, HINSTANCE instance, LPVOID param);
// Sends WM_DESTROY to the window procedure, then closes the SDL window; FALSE for an unknown handle.
BOOL DestroyWindow(HWND hwnd);
// TRUE while the handle names a live window.
BOOL IsWindow(HWND hwnd);
// Shows, hides, maximises or restores; returns whether the window was visible before.
BOOL ShowWindow(HWND hwnd, int command);
// Nothing to repaint here: TRUE for a live window.
BOOL UpdateWindow(HWND hwnd);
// Style bits (GWL_STYLE) are stored; a style without a caption makes the window borderless.
LONG GetWindowLongA(HWND hwnd, int index);
LONG SetWindowLongA(HWND hwnd, int index, LONG value);
// Sets the title shown in the window's caption.
BOOL SetWindowTextA(HWND hwnd, LPCSTR text);
// Moves and/or sizes the window (outer rectangle in screen coordinates) as the flags allow.
BOOL SetWindowPos(HWND hwnd, HWND insertAfter, int x, int y, int cx, int cy, UINT flags);
BOOL GetWindowPlacement(HWND hwnd, WINDOWPLACEMENT* placement);

// The desktop: a pseudo-window whose client rectangle is the display's size.
HWND GetDesktopWindow();
// The client rectangle: (0, 0, drawable width, height).
BOOL GetClientRect(HWND hwnd, RECT* rect);
// The outer rectangle in screen coordinates (client area grown by the style's frame).
BOOL GetWindowRect(HWND hwnd, RECT* rect);
BOOL ClientToScreen(HWND hwnd, POINT* point);
BOOL ScreenToClient(HWND hwnd, POINT* point);
BOOL SetRect(RECT* rect, int left, int top, int right, int bottom);
// Grows a client rectangle to the window rectangle of the style: a caption adds its height on top,
// a border or frame its width on every side, a menu one menu bar's height.
BOOL AdjustWindowRect(RECT* rect, DWORD style, BOOL menu);
int GetSystemMetrics(int index);

// Resources: icons and cursors exist as tokens; menus only when a menu resource id is not 0.
HICON LoadIconA(HINSTANCE instance, LPCSTR name);
HCURSOR LoadCursorA(HINSTANCE instance, LPCSTR name);
HMENU LoadMenuA(HINSTANCE instance, LPCSTR name);
BOOL DestroyMenu(HMENU menu);
HMENU GetMenu(HWND hwnd);
HCURSOR SetCursor(HCURSOR cursor);

// ---------------------------------------------------------------------------------------------
// Messages.
// ---------------------------------------------------------------------------------------------

// The default handling: WM_CLOSE destroys the window; everything else returns 0.
LRESULT DefWindowProcA(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam);
// Calls the window's procedure at once.
LRESULT SendMessageA(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam);
// Queues a message for the next PeekMessageA/GetMessageA.
BOOL PostMessageA(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam);
// Queues WM_QUIT with the exit code.
void PostQuitMessage(int exitCode);
// Translates pending SDL events into queued messages, then takes the first queued message matching
// the filter (hwnd null: any; min = max = 0: any). FALSE when none is queued.
BOOL PeekMessageA(MSG* msg, HWND hwnd, UINT filterMin, UINT filterMax, UINT removeFlags);
// As PeekMessageA but waits for a message; FALSE for WM_QUIT.
BOOL GetMessageA(MSG* msg, HWND hwnd, UINT filterMin, UINT filterMax);
// Character messages come from SDL's text input already; nothing to translate.
BOOL TranslateMessage(const MSG* msg);
// Calls the procedure of the message's window; 0 for thread messages (null window).
LRESULT DispatchMessageA(const MSG* msg);

// ---------------------------------------------------------------------------------------------
// Keyboard and cursor.
// ---------------------------------------------------------------------------------------------

// High bit (0x8000) set while the key is held; bit 0 set when it went down since the last query.
SHORT GetAsyncKeyState(int vkey);
SHORT GetKeyState(int vkey);
// The cursor in screen coordinates (the window's client origin plus the pointer's place in it).
BOOL GetCursorPos(POINT* point);
// Warps the pointer; the position is remembered also where no pointer can be moved (headless).
BOOL SetCursorPos(int x, int y);
// Display counter as in Win32: the cursor shows while the count is 0 or more. Returns the new count.
int ShowCursor(BOOL show);

// ---------------------------------------------------------------------------------------------
// Dialogs. There are no dialog resources or file dialogs here: both report cancellation.
// ---------------------------------------------------------------------------------------------
INT_PTR DialogBoxParamA(HINSTANCE instance, LPCSTR templateName, HWND owner, DLGPROC proc, LPARAM param);
BOOL GetOpenFileNameA(OPENFILENAMEA* request);

// ---------------------------------------------------------------------------------------------
// Our own entries: the SDL window behind a handle, video start and stop, input injection.
// ---------------------------------------------------------------------------------------------
struct SDL_Window;

// The SDL window behind a window handle; null for an unknown handle or the desktop.
SDL_Window* brW32GetSDLWindow(HWND hwnd);
// Starts SDL video (idempotent); windows creation calls it. FALSE when SDL cannot start.
BOOL brW32InitVideo();
// Destroys every remaining window (without messages) and empties the queue; SDL video itself stays up until
// the process ends.
void brW32ShutdownVideo();
// TRUE when the running video driver is SDL's headless "offscreen" one.
BOOL brW32IsHeadless();

// Input injection: drives the layer exactly as a user's mouse and keyboard would. Injected messages
// are queued like translated SDL events and reach the window procedure through the pump.
// Queues a message for the window (null: the first window created that is still alive).
BOOL brW32InjectMessage(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam);
// Holds or releases a key: updates the key state at once and queues WM_KEYDOWN / WM_KEYUP
// (WM_SYSKEYDOWN / WM_SYSKEYUP while Alt is held). Left/right Shift, Control and Alt also hold the
// generic VK_SHIFT / VK_CONTROL / VK_MENU.
BOOL brW32InjectKey(int vkey, BOOL down);
// Mouse: moves the pointer to client (x, y) and queues WM_MOUSEMOVE; a button (VK_LBUTTON, VK_RBUTTON,
// VK_MBUTTON) press or release queues its button message at that point; a wheel turn queues WM_MOUSEWHEEL
// with the signed delta in the high word of wParam.
BOOL brW32InjectMouseMove(int x, int y);
BOOL brW32InjectMouseButton(int vkey, BOOL down);
BOOL brW32InjectMouseWheel(int delta);
// Releases every held key and button and empties the message queue.
void brW32ResetInput();
