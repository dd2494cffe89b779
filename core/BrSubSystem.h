// BrSubSystem and BrWindowBase: the abstract bases of the engine's devices and of its window manager.
#pragma once

#include <cstddef>

#include "platform/win32/win32types.h"
#include "templates/BrStringT.h"

// The base of every device: an exiting flag and a 260-character text buffer.
class BrSubSystem {
public:
  static const int ciTextLen = 260;

  // Flag false, text zero-filled.
  BrSubSystem();
  // Copy and assignment copy the flag and the text.
  BrSubSystem(const BrSubSystem& other);
  BrSubSystem& operator=(const BrSubSystem& other);
  virtual ~BrSubSystem();

  virtual bool Init() = 0;
  virtual bool Exit() = 0;

  // Devices are allocated through brMalloc/brFree like objects.
  static void* operator new(size_t size);
  static void operator delete(void* p) noexcept;

protected:
  bool m_bExiting;
  char m_szText[ciTextLen];
};

// The base of the operating-system window manager: the window handle and a focus flag.
class BrWindowBase : public BrSubSystem {
public:
  // No window, no focus.
  BrWindowBase();
  ~BrWindowBase() override;

  bool Init() override = 0;
  bool Exit() override = 0;
  virtual bool MaximiseWindow() = 0;
  virtual bool RefreshWindow() = 0;
  virtual void SetPosition(HWND hwnd, RECT* rect) = 0;
  virtual RECT GetClientArea() = 0;
  virtual RECT GetDesktopArea() = 0;
  virtual DWORD& WindowStyle() = 0;
  virtual DWORD& Icon() = 0;
  virtual DWORD& Menu() = 0;
  virtual DWORD& ExitCode() = 0;
  virtual void GetMousePos(int& x, int& y) = 0;
  virtual void SetMousePos(int x, int y) = 0;
  virtual void CentreMouse() = 0;
  virtual char ScanCodeToASCII(int scanCode) = 0;
  virtual BrStringT<char> GetOpenFileNameA(char* filter) = 0;
  virtual INT_PTR DoDialog(int id, void* dialogProc) = 0;

  // The window handle.
  HWND GetHandle() const;
  void SetHandle(HWND hwnd);
  // Records whether the window has the focus.
  void SetFocus(bool focus);
  bool HasFocus() const;

protected:
  HWND m_hWnd;
  bool m_bFocus;
};
