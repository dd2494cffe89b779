// BrD3DRenDev: device creation, the switch between window and full screen, and resizing.
#include <cstring>

#include "core/brcr.h"
#include "engine/kernel/BrConfigCache.h"
#include "engine/kernel/BrEngine.h"
#include "platform/win32/win32.h"
#include "plugins/render_d3d9/BrD3DRenDev.h"

namespace {

const DWORD kFullScreenStyle = 0x90080000;  // popup, visible, system menu

int configInt(const char* section, const char* key) {
  int value = 0;
  if (BrConfigCache* config = Engine().GetConfig()) config->GetInteger(section, key, value);
  return value;
}

void configSet(const char* section, const char* key, int value) {
  if (BrConfigCache* config = Engine().GetConfig()) config->SetInteger(section, key, value);
}

}  // namespace

void BrD3DRenDev::FillPresentParams(D3DDeviceInfo* device, bool resetAll, DWORD interval) {
  const D3DAdapterInfo& adapter = m_Adapters[m_iSelectedAdapter];
  const D3DModeInfo& mode = device->modes[device->dwCurrentMode];
  if (resetAll) {
    std::memset(&m_d3dpp, 0, sizeof(m_d3dpp));
    m_d3dpp.BackBufferCount = 1;
    m_d3dpp.SwapEffect = D3DSWAPEFFECT_DISCARD;
    m_d3dpp.EnableAutoDepthStencil = (UsingZBuffer() || UsingWBuffer()) ? TRUE : FALSE;
  }
  m_d3dpp.Windowed = device->bWindowed ? TRUE : FALSE;
  m_d3dpp.MultiSampleType = device->MultiSampleType;
  m_d3dpp.AutoDepthStencilFormat = mode.DepthStencilFormat;
  m_d3dpp.hDeviceWindow = ParentHandle();
  m_d3dpp.BackBufferWidth = mode.Width;
  m_d3dpp.BackBufferHeight = mode.Height;
  // A window's back buffer is its client area, listed mode or not: a smaller one would be stretched over the
  // window, misplacing the HUD and text and leaving a fade's band unfaded.
  if (device->bWindowed) WindowedBackBuffer(m_d3dpp.BackBufferWidth, m_d3dpp.BackBufferHeight);
  m_d3dpp.BackBufferFormat = device->bWindowed ? adapter.d3ddmDesktop.Format : mode.Format;
  m_d3dpp.PresentationInterval = interval;
}

void BrD3DRenDev::WindowedBackBuffer(UINT& width, UINT& height) {
  // The configured window size is what PlaceWindow gives the client area (and what a resize writes back);
  // without one, the client area the device was handed.
  int w = configInt("Display", "WindowWidth"), h = configInt("Display", "WindowHeight");
  if (w <= 0 || h <= 0) {
    const RECT client = GetClientArea();
    w = client.right - client.left;
    h = client.bottom - client.top;
  }
  if (w > 0 && h > 0) {
    width = UINT(w);
    height = UINT(h);
  }
}

bool BrD3DRenDev::Reset() {
  if (m_iSelectedAdapter < 0) {
    GLog.WriteLine("WARNING: BrD3DRenDev::Reset() called before device enumeration, returning failure");
    return false;
  }
  D3DAdapterInfo& adapter = m_Adapters[m_iSelectedAdapter];
  D3DDeviceInfo* device = &adapter.devices[adapter.dwCurrentDevice];
  const D3DModeInfo& mode = device->modes[device->dwCurrentMode];

  if (!Windowed()) {
    SetWindowLongA(ParentHandle(), GWL_STYLE, (LONG)kFullScreenStyle);
  } else {
    SaveCurrWinPos();
    SetWindowLongA(ParentHandle(), GWL_STYLE, (LONG)WindowStyle());
  }
  device->bWindowed = Windowed();
  FillPresentParams(device, true, Windowed() ? D3DPRESENT_INTERVAL_DEFAULT : D3DPRESENT_INTERVAL_ONE);

  // A device made before (a second Reset) is given up first: the new one replaces it, and the static
  // textures made on the old one are loaded again on the new one once it exists.
  const bool replacing = m_pd3dDevice != nullptr;
  if (m_pd3dDevice) {
    ReleaseDependants();
    brD3DReleaseAll(m_pd3dDevice);
  }
  HRESULT hr = m_pD3D ? m_pD3D->CreateDevice(m_iSelectedAdapter, device->DeviceType, m_d3dpp.hDeviceWindow,
                                             mode.dwBehavior, &m_d3dpp, &m_pd3dDevice)
                      : D3DERR_INVALIDCALL;
  if (SUCCEEDED(hr) && m_pd3dDevice) {
    ShowOSCursor();
    PlaceWindow();
    if (replacing && m_pTextureMgr) m_pTextureMgr->ReloadStatics();
    m_pd3dDevice->GetDeviceCaps(&device->d3dCaps);
    RefreshRes();
    SetRenderStates();
    CreateDependants();
    return true;
  }

  ReleaseDependants();
  brD3DReleaseAll(m_pd3dDevice);
  if (device->DeviceType == D3DDEVTYPE_HAL) {
    GLog.WriteLine("WARNING: Switching to REFERENCE RASTERIZER");
    m_iSelectedAdapter = 0;
    D3DAdapterInfo& first = m_Adapters[0];
    for (DWORD d = 0; d < first.dwNumDevices && d < (DWORD)ciMaxDevices; ++d) {
      if (first.devices[d].DeviceType == D3DDEVTYPE_REF) {
        first.dwCurrentDevice = d;
        return Reset();
      }
    }
  }
  return false;
}

bool BrD3DRenDev::ToggleFullScreen(bool toggle) {
  if (m_iSelectedAdapter < 0 || !m_pd3dDevice) return false;
  D3DAdapterInfo& adapter = m_Adapters[m_iSelectedAdapter];
  D3DDeviceInfo* device = &adapter.devices[adapter.dwCurrentDevice];
  if (device->dwNumModes == 0) return false;
  const bool wasWindowed = Windowed();
  const DWORD previousMode = device->dwCurrentMode;

  if (toggle) Windowed() = !Windowed();
  device->bWindowed = Windowed();
  ShowOSCursor();

  const int windowW = configInt("Display", "WindowWidth");
  const int windowH = configInt("Display", "WindowHeight");
  const int screenW = configInt("Display", "ScreenWidth");
  const int screenH = configInt("Display", "ScreenHeight");
  int targetW, targetH;
  if (!Windowed()) {
    targetW = screenW;
    targetH = screenH;
    if (toggle) {
      SaveCurrWinPos();
      GLog.DebugWriteLine("Switching to full-screen mode");
      SetWindowLongA(ParentHandle(), GWL_STYLE, (LONG)kFullScreenStyle);
      configSet("Display", "StartFullScreen", 1);
    }
  } else {
    targetW = windowW;
    targetH = windowH;
    if (toggle) {
      GLog.DebugWriteLine("Switching to windowed");
      SetWindowLongA(ParentHandle(), GWL_STYLE, (LONG)WindowStyle());
      configSet("Display", "StartFullScreen", 0);
    }
  }

  // Walk from the current mode towards the target size, comparing width first, then height. A window needs
  // no listed mode: its back buffer is its client area, so the current mode stays.
  bool found = true;
  int m = (int)device->dwCurrentMode;
  const int last = (int)device->dwNumModes - 1;
  auto stop = [&](int next) {
    if (next < 0 || next > last) {
      found = false;
      return true;
    }
    return false;
  };
  if (!Windowed()) {
    if ((int)device->modes[m].Width < targetW) {
      while (found && (int)device->modes[m].Width < targetW)
        if (!stop(m + 1)) ++m;
      while (found && (int)device->modes[m].Width == targetW && (int)device->modes[m].Height < targetH)
        if (!stop(m + 1)) ++m;
    } else {
      while (found && (int)device->modes[m].Width > targetW)
        if (!stop(m - 1)) --m;
      while (found && (int)device->modes[m].Width == targetW && (int)device->modes[m].Height > targetH)
        if (!stop(m - 1)) --m;
    }
  }
  device->dwCurrentMode = (DWORD)m;

  if (!found) {
    GLog.WriteLine("CRITICAL: Toggle fullscreen was unable to find the requested display mode");
    // A window no mode fits (one made smaller than every mode) must not keep the player in full screen for
    // good: the device goes to a window of the nearest size instead.
    if (toggle && Windowed()) {
      device->dwCurrentMode = previousMode;
      RecoverWindowed();
      return false;
    }
    // Nothing has been released yet: the device keeps running as it was, in the window state it was in.
    device->dwCurrentMode = previousMode;
    if (toggle) {
      Windowed() = wasWindowed;
      device->bWindowed = wasWindowed;
      SetWindowLongA(ParentHandle(), GWL_STYLE, (LONG)(wasWindowed ? WindowStyle() : kFullScreenStyle));
      configSet("Display", "StartFullScreen", wasWindowed ? 0 : 1);
      ShowOSCursor();
    }
    return false;
  }

  FillPresentParams(device, false, Windowed() ? D3DPRESENT_INTERVAL_DEFAULT : D3DPRESENT_INTERVAL_IMMEDIATE);
  GLog.DebugPrintf("DEBUG: Switching to %ix%i", (int)m_d3dpp.BackBufferWidth, (int)m_d3dpp.BackBufferHeight);
  ReleaseDependants();

  if (FAILED(m_pd3dDevice->Reset(&m_d3dpp))) {
    GLog.WriteLine("WARNING: Failed to Reset GfxDrvice in ToggleFullScreen()");
    RecoverWindowed();
    return false;
  }
  RefreshRes();
  CreateDependants();
  SetRenderStates();
  SetAlphaStates();
  if (toggle) PlaceWindow();
  return true;
}

void BrD3DRenDev::SetAlphaStates() {
  m_pd3dDevice->SetRenderState(D3DRS_ALPHABLENDENABLE, TRUE);
  m_pd3dDevice->SetRenderState(D3DRS_SRCBLEND, D3DBLEND_SRCALPHA);
  m_pd3dDevice->SetRenderState(D3DRS_DESTBLEND, D3DBLEND_INVSRCALPHA);
  m_pd3dDevice->SetRenderState(D3DRS_ALPHATESTENABLE, TRUE);
  m_pd3dDevice->SetRenderState(D3DRS_ALPHAREF, 1);
  m_pd3dDevice->SetRenderState(D3DRS_ALPHAFUNC, D3DCMP_GREATEREQUAL);
  for (DWORD s = 0; s < 2; ++s) {
    m_pd3dDevice->SetTextureStageState(s, D3DTSS_ALPHAOP, D3DTOP_MODULATE);
    m_pd3dDevice->SetTextureStageState(s, D3DTSS_ALPHAARG1, D3DTA_DIFFUSE);
    m_pd3dDevice->SetTextureStageState(s, D3DTSS_ALPHAARG2, D3DTA_TEXTURE);
  }
}

bool BrD3DRenDev::RecoverWindowed() {
  if (!m_pd3dDevice || m_iSelectedAdapter < 0) return false;
  D3DAdapterInfo& adapter = m_Adapters[m_iSelectedAdapter];
  D3DDeviceInfo* device = &adapter.devices[adapter.dwCurrentDevice];
  Windowed() = true;
  device->bWindowed = true;
  SetWindowLongA(ParentHandle(), GWL_STYLE, (LONG)WindowStyle());
  configSet("Display", "StartFullScreen", 0);
  ShowOSCursor();

  // The largest mode that fits the configured window, else the smallest there is.
  const int windowW = configInt("Display", "WindowWidth");
  const int windowH = configInt("Display", "WindowHeight");
  DWORD choice = 0;
  for (DWORD m = 0; m < device->dwNumModes; ++m)
    if ((int)device->modes[m].Width <= windowW && (int)device->modes[m].Height <= windowH) choice = m;
  device->dwCurrentMode = choice;
  FillPresentParams(device, false, D3DPRESENT_INTERVAL_DEFAULT);
  ReleaseDependants();
  if (FAILED(m_pd3dDevice->Reset(&m_d3dpp))) {
    GLog.WriteLine("WARNING: Failed to return the rendering device to a window");
    return false;
  }
  GLog.WriteLine("WARNING: Display mode switch failed, rendering device returned to a window");
  RefreshRes();
  CreateDependants();
  SetRenderStates();
  SetAlphaStates();
  PlaceWindow();
  return true;
}

bool BrD3DRenDev::UpdateDimensions() {
  if (!m_pd3dDevice) return false;
  if (m_d3dpp.Windowed) {
    const RECT client = GetClientArea();
    if (client.right > client.left && client.bottom > client.top) {
      m_d3dpp.BackBufferWidth = UINT(client.right - client.left);
      m_d3dpp.BackBufferHeight = UINT(client.bottom - client.top);
    }
  }
  ReleaseDependants();
  if (FAILED(m_pd3dDevice->Reset(&m_d3dpp))) {
    GLog.WriteLine("WARNING: Failed to Reset GfxDrvice in UpdateDimensions()");
    return false;
  }
  RefreshRes();
  SetRenderStates();
  // A reset returns every state to its default: the sprites' and text's blending and alpha test with them.
  SetAlphaStates();
  CreateDependants();
  return true;
}
