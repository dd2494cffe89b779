// The main window's messages and the global keys polled once a frame.
#include <cstdio>

#include "core/brcr.h"
#include "engine/kernel/BrApplication.h"
#include "engine/kernel/BrConfigCache.h"
#include "engine/kernel/BrEngine.h"
#include "engine/kernel/BrEngineCall.h"
#include "engine/presentation/BrGUI.h"
#include "engine/presentation/BrRenderBase.h"

namespace {
const char* const kPlaying = "BrRAGGameStatePlaying";
const char* const kPaused = "BrRAGGameStatePaused";
const char* const kInGameMenu = "BrRAGGameStateInGameMenu";
const char* const kLoadGameMenu = "BrRAGGameStateLoadGameMenu";
const char* const kOptions = "BrRAGGameStateOptions";
const char* const kModsMenu = "BrRAGGameStateModsMenu";
const char* const kCredits = "BrRAGGameStateCredits";
// A state must have lasted this long before Escape or P switch it again.
const float kKeyGuardSecs = 0.25f;

bool down(int vk) { return (GetAsyncKeyState(vk) & 0x8000) != 0; }
}  // namespace

LRESULT CALLBACK brW32RootWndProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
  return Engine().MsgProc(hwnd, message, wParam, lParam);
}

LRESULT CALLBACK BrEngine::MsgProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
  // After Exit the application, devices and window manager are gone: nothing is left to act on.
  if (GExit) return brDefWindowProc(hwnd, message, wParam, lParam);

  // WM_DESTROY is sent from inside the window layer's own destruction, with none of the engine's objects
  // running: the exit happens at once.
  if (message == WM_DESTROY) {
    Exit();
    PostQuitMessage(0);
    return 0;
  }

  bool answered = false;  // the handler gives the result 0 itself
  {
    // The default procedure below stays outside this scope: closing the window there destroys it, and that
    // exit must not wait.
    BrEngineCall call;
    switch (message) {
      case WM_SIZE:
        if (m_pRender && m_pRender->Windowed()) {
          if (m_pOSGUI) {
            RECT client = m_pOSGUI->GetClientArea();
            m_pRender->SetClientArea(client);
          }
          if (m_pConfig) {
            m_pConfig->SetInteger("Display", "WindowWidth", (int)m_pRender->GetWidth());
            m_pConfig->SetInteger("Display", "WindowHeight", (int)m_pRender->GetHeight());
          }
          if (!m_pRender->UpdateDimensions()) {
            GLog.WriteLine("WARNING: Critical failure in window resize, the application will now exit");
            Exit();
            answered = true;
          }
        }
        break;

      case WM_ERASEBKGND: answered = true; break;

      case WM_ACTIVATEAPP:
        if (wParam == 0) {
          if (m_pOSGUI) m_pOSGUI->SetFocus(false);
          if (m_pApp && m_pApp->IsInState(kPlaying)) m_pApp->ChangeToState(kPaused);
        } else {
          if (m_pOSGUI) m_pOSGUI->SetFocus(true);
          if (m_pRender) {
            m_pRender->ToggleFullScreen(false);
            m_pRender->ToggleFullScreen(false);
          }
        }
        break;

      case WM_KEYUP:
        if (m_pGUI) m_pGUI->KeyPressed((int)wParam);
        break;

      case WM_COMMAND:
        if (m_pApp) m_pApp->DoMenuCommand(LOWORD(wParam));
        break;

      case WM_LBUTTONDOWN:
        if (m_pApp) m_pApp->LeftMouseDown();
        break;

      case WM_LBUTTONUP:
        if (m_pApp) m_pApp->LeftClick();
        break;

      case WM_RBUTTONDOWN:
        if (m_pApp) m_pApp->RightClick();
        break;

      case WM_MOUSEWHEEL:
        if (m_pApp) m_pApp->MouseWheel((int)(short)HIWORD(wParam));
        answered = true;
        break;

      default: break;
    }
  }
  if (answered) return 0;
  // A handler above may have ended the run (a menu command, a failed resize).
  return brDefWindowProc(hwnd, message, wParam, lParam);
}

void BrEngine::ProcessGlobalUserInput() {
  if (GExit) return;
  BrEngineCall call;

  if (down(VK_ESCAPE)) {
    if (m_pGUI && m_pGUI->IsModal()) {
      m_pGUI->KeyPressed(27);
      m_pGUI->SetModalControl(nullptr);
      if (m_pApp) {
        m_pApp->ChangeToState(kPaused);
        m_pApp->ChangeToPreviousState();
      }
    } else if (m_pApp && m_pApp->TimeInCurrState() > kKeyGuardSecs) {
      if (m_pApp->IsInState(kPlaying))
        m_pApp->ChangeToState(kInGameMenu);
      else if (m_pApp->IsInState(kInGameMenu))
        m_pApp->ChangeToState(kPlaying);
      else if (m_pApp->IsInState(kLoadGameMenu) || m_pApp->IsInState(kOptions) || m_pApp->IsInState(kModsMenu) ||
               m_pApp->IsInState(kCredits))
        m_pApp->ChangeToPreviousState();
    }
  }
  if (GExit) return;

  if (down('P') && m_pApp && m_pApp->TimeInCurrState() > kKeyGuardSecs) {
    if (m_pApp->IsInState(kPaused))
      m_pApp->ChangeToState(kPlaying);
    else if (m_pApp->IsInState(kPlaying))
      m_pApp->ChangeToState(kPaused);
  }
  if (GExit) return;

  // Held keys are polled every frame: without remembering the press, one press lasting several frames would
  // switch between window and full screen several times and end at random.
  bool altEnter = down(VK_MENU) && down(VK_RETURN);
  if (altEnter && !m_bAltEnterHeld) {
    if (m_pApp && m_pApp->IsInState(kPlaying)) m_pApp->ChangeToState(kPaused);
    if (m_pRender) {
      m_pRender->ToggleFullScreen(true);
      m_pRender->ToggleFullScreen(false);
    }
    if (m_pOSGUI) m_pOSGUI->CentreMouse();
  }
  m_bAltEnterHeld = altEnter;
  if (GExit) return;

  // As Alt+Enter: one press, however many frames it is held, is one screenshot (a short hold used to write a
  // file every frame).
  const bool snapshot = down(VK_SNAPSHOT) && !down(VK_CONTROL);
  const bool freshSnapshot = snapshot && !m_bSnapshotHeld;
  m_bSnapshotHeld = snapshot;
  if (freshSnapshot) {
    const char* media = m_MediaDir.c_str() ? m_MediaDir.c_str() : "";
    char folder[ciPathLen * 2];
    std::snprintf(folder, sizeof(folder), "%s\\Screenshots\\", media);
    brCreateDirectory(folder);
    char stamp[64];
    brGetLocalTimeString(stamp);
    char stem[ciPathLen * 3];
    std::snprintf(stem, sizeof(stem), "%s\\%s\\Screenshots\\%s", m_szAppDir, media, stamp);
    // The time text repeats (two shots in one second, or two dates that print alike): a taken name gets "_2",
    // "_3" and so on rather than losing the older shot.
    const BrStringT<char> path = BrFileDevice::FreeFileName(stem, ".bmp");
    if (m_pRender && path.Length() > 0) m_pRender->takeScreenshot(path);
  }
}
