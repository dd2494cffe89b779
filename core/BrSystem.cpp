// Thin wrappers over the operating-system calls the engine needs, and the screen-resolution ladder.
#include "core/BrSystem.h"

#include "platform/win32/win32.h"

DWORD brGetCurrentDirectory(DWORD size, char* buf) { return GetCurrentDirectoryA(size, buf); }

bool brSetCurrentDirectory(const char* path) { return SetCurrentDirectoryA(path) != FALSE; }

bool brCreateDirectory(const char* path) { return CreateDirectoryA(path, nullptr) == 1; }

HANDLE brFindFirstFile(const char* pattern, WIN32_FIND_DATAA* data) {
  HANDLE h = FindFirstFileA(pattern, data);
  return h == INVALID_HANDLE_VALUE ? nullptr : h;
}

HMODULE brLoadLibrary(const char* name) { return LoadLibraryA(name); }

bool brFreeLibrary(HMODULE module) { return FreeLibrary(module) == 1; }

bool brGetVersionExA(OSVERSIONINFOA* info) { return GetVersionExA(info) == 1; }

bool brGetVersionEx(OSVERSIONINFOA* info) { return GetVersionExA(info) == 1; }

void brGlobalMemoryStatus(MEMORYSTATUS* status) { GlobalMemoryStatus(status); }

bool brRegisterClassEx(WNDCLASSEXA* windowClass) { return RegisterClassExA(windowClass) != 0; }

LRESULT brDefWindowProc(HWND hwnd, UINT message, WPARAM wparam, LPARAM lparam) {
  return DefWindowProcA(hwnd, message, wparam, lparam);
}

HICON brLoadIcon(HINSTANCE instance, const char* name) { return LoadIconA(instance, name); }

HCURSOR brLoadCursor(HINSTANCE instance, const char* name) { return LoadCursorA(instance, name); }

bool brShowWindow(HWND hwnd, int command) { return ShowWindow(hwnd, command) == 1; }

bool brUpdateWindow(HWND hwnd) { return UpdateWindow(hwnd) == 1; }

HWND brGetDesktopWindow() { return GetDesktopWindow(); }

bool brGetClientRect(HWND hwnd, RECT* rect) { return GetClientRect(hwnd, rect) == 1; }

bool brSetRect(RECT* rect, int left, int top, int right, int bottom) {
  return SetRect(rect, left, top, right, bottom) == 1;
}

bool brGrowClientToWindow(RECT* rect, DWORD style, bool menu) {
  return AdjustWindowRect(rect, style, menu ? TRUE : FALSE) == 1;
}

namespace {

const int ciModeCount = 5;
const int ciModeW[ciModeCount] = {640, 800, 1024, 1280, 1600};
const int ciModeH[ciModeCount] = {480, 600, 768, 960, 1200};

// The index of the mode brValidateRes snaps (w, h) to.
int ModeIndex(int w, int h) {
  if (w >= h) {
    if (h < 540) return 0;
    if (h < 684) return 1;
    if (h < 864) return 2;
    if (h < 1080) return 3;
    return 4;
  }
  if (w < 720) return 0;
  if (w < 912) return 1;
  if (w < 1152) return 2;
  if (w < 1440) return 3;
  return 4;
}

}  // namespace

void brValidateRes(int& w, int& h) {
  int i = ModeIndex(w, h);
  w = ciModeW[i];
  h = ciModeH[i];
}

void brIncrementRes(int& w, int& h) {
  int i = ModeIndex(w, h);
  if (i < ciModeCount - 1) ++i;
  w = ciModeW[i];
  h = ciModeH[i];
}

void brDecrementRes(int& w, int& h) {
  int i = ModeIndex(w, h);
  if (i > 0) --i;
  w = ciModeW[i];
  h = ciModeH[i];
}
