// Thin wrappers over the operating-system calls the engine needs, and the screen-resolution ladder.
#pragma once

#include "platform/win32/win32types.h"

// Folders.
DWORD brGetCurrentDirectory(DWORD size, char* buf);
bool brSetCurrentDirectory(const char* path);
// True only when the folder was created (false when it exists or cannot be made); relative to the current folder.
bool brCreateDirectory(const char* path);
// The search handle of FindFirstFileA, or null in place of the invalid-handle value.
HANDLE brFindFirstFile(const char* pattern, WIN32_FIND_DATAA* data);

// Libraries: a ".dll" name loads the ".so" of the same name.
HMODULE brLoadLibrary(const char* name);
bool brFreeLibrary(HMODULE module);

// Version and memory.
bool brGetVersionExA(OSVERSIONINFOA* info);
bool brGetVersionEx(OSVERSIONINFOA* info);
void brGlobalMemoryStatus(MEMORYSTATUS* status);

// Windows (through the user32 half of the layer).
bool brRegisterClassEx(WNDCLASSEXA* windowClass);
LRESULT brDefWindowProc(HWND hwnd, UINT message, WPARAM wparam, LPARAM lparam);
HICON brLoadIcon(HINSTANCE instance, const char* name);
HCURSOR brLoadCursor(HINSTANCE instance, const char* name);
bool brShowWindow(HWND hwnd, int command);
bool brUpdateWindow(HWND hwnd);
HWND brGetDesktopWindow();
bool brGetClientRect(HWND hwnd, RECT* rect);
bool brSetRect(RECT* rect, int left, int top, int right, int bottom);
// Grows a client rectangle to the window rectangle of that style (AdjustWindowRect).
bool brGrowClientToWindow(RECT* rect, DWORD style, bool menu);

// The resolution ladder 640x480, 800x600, 1024x768, 1280x960, 1600x1200.
// Snaps (w, h) to a mode: landscape or square judged by the height, portrait by the width.
void brValidateRes(int& w, int& h);
// brValidateRes, then one mode up (1600x1200 stays).
void brIncrementRes(int& w, int& h);
// brValidateRes, then one mode down (640x480 stays).
void brDecrementRes(int& w, int& h);
