// BrW32WindowMgr: the engine's operating-system GUI: the main window class and window, its rectangles and the mouse.
#pragma once

#include "core/BrSubSystem.h"
#include "templates/TDArray.h"

// The main window manager. The engine creates it in InitOSGUI and deletes it in Exit; its window procedure is
// brW32RootWndProc. Mouse positions are relative to the client area's top-left corner.
class BrW32WindowMgr : public BrWindowBase {
public:
  // Class name of the main window.
  static const char* const cszClassName;
  // Style of the main window: popup, visible, caption, system menu, minimise box.
  static const DWORD cdwStyle = 0x90CA0000;

  BrW32WindowMgr();
  // Runs Exit.
  ~BrW32WindowMgr() override;

  // Registers the class, creates the window from [Display] WindowWidth/WindowHeight and [App] Title and
  // builds the key table. False (window not made) when the class or the window cannot be created.
  bool Init() override;
  // Clears the key table, destroys the menu (when there is one) and the window. False when it ran already or a
  // handle could not be released.
  bool Exit() override;
  bool MaximiseWindow() override;
  bool RefreshWindow() override;
  // Null rect: the configured window size centred on the desktop; else the rect, moved on screen.
  void SetPosition(HWND hwnd, RECT* rect) override;
  // Re-reads both rectangles and returns the client rectangle.
  RECT GetClientArea() override;
  RECT GetDesktopArea() override;
  DWORD& WindowStyle() override;
  DWORD& Icon() override;
  DWORD& Menu() override;
  DWORD& ExitCode() override;
  // The cursor position relative to the client area's top-left corner.
  void GetMousePos(int& x, int& y) override;
  // Places the cursor at (x, y) in the client area.
  void SetMousePos(int x, int y) override;
  // While focused: the cursor to the client centre; then the system cursor shown or hidden by the application.
  void CentreMouse() override;
  // ' ' for 20, '0'..'9' for 30..39, else 0.
  char ScanCodeToASCII(int code) override;
  // The chosen path, empty when cancelled (always, where there is no file dialog).
  BrStringT<char> GetOpenFileNameA(char* filter) override;
  INT_PTR DoDialog(int id, void* dialogProc) override;

  // The one owner of the system cursor's show count: shows or hides the cursor, whatever the count was.
  void ShowOSCursor(bool show);

  // The window rectangle as last read.
  RECT GetWindowArea() const { return m_WindowRect; }

protected:
  // The configured client size grown to the window size of the style (with a menu only when there is one).
  void SetWindowByStyleAndClient();
  void RefreshRects();
  void InitASCIILookup();

  DWORD m_dwIcon;
  DWORD m_dwMenu;
  DWORD m_dwExitCode;
  DWORD m_dwStyle;
  bool m_bRectsDirty;
  RECT m_ClientRect;
  RECT m_WindowRect;
  TDArray<char> m_KeyLookup;
  bool m_bExited;
  bool m_bClassRegistered;
  int m_iCursorShown;  // 1 shown, 0 hidden, -1 not yet set by this manager
};
