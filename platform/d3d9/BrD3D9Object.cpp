// The Direct3D object: one adapter on the OpenGL display, its modes, format checks and device creation.
#include "platform/d3d9/BrD3D9Object.h"

#include <SDL2/SDL.h>

#include <algorithm>
#include <cstdio>
#include <cstring>

#include "platform/d3d9/BrD3D9Core.h"
#include "platform/d3d9/BrD3D9Device.h"
#include "platform/win32/win32_user.h"

namespace brd3d9 {
namespace {

bool isColorFormat(D3DFORMAT f) { return f == D3DFMT_X8R8G8B8 || f == D3DFMT_A8R8G8B8; }

// Adapter 0 with the hardware type is the only device; the reference type is not available.
HRESULT checkAdapter(UINT adapter, D3DDEVTYPE type, const char* where) {
  if (adapter != 0) return invalidCall(where, "only adapter 0 exists");
  if (type != D3DDEVTYPE_HAL) return refuse(D3DERR_NOTAVAILABLE, where, "only the hardware device type exists");
  return D3D_OK;
}

}  // namespace

bool brIsDepthFormat(D3DFORMAT f) {
  return f == D3DFMT_D16 || f == D3DFMT_D24X8 || f == D3DFMT_D24S8 || f == D3DFMT_D32;
}

D3DDISPLAYMODE brDesktopMode() {
  D3DDISPLAYMODE mode = {1024, 768, 60, D3DFMT_X8R8G8B8};
  SDL_DisplayMode desktop;
  if (SDL_WasInit(SDL_INIT_VIDEO) && SDL_GetDesktopDisplayMode(0, &desktop) == 0 && desktop.w > 0 && desktop.h > 0) {
    mode.Width = UINT(desktop.w);
    mode.Height = UINT(desktop.h);
    if (desktop.refresh_rate > 0) mode.RefreshRate = UINT(desktop.refresh_rate);
  }
  return mode;
}

void Direct3D::finalRelease() {
  if (mInternal == 0) bury(this);
}

void Direct3D::dropInternal() {
  if (mInternal > 0 && --mInternal == 0 && publicRefs() == 0) bury(this);
}

HRESULT Direct3D::GetAdapterIdentifier(UINT adapter, DWORD flags, D3DADAPTER_IDENTIFIER9* id) {
  const char* where = "GetAdapterIdentifier";
  if (adapter != 0 || !id) return invalidCall(where, "only adapter 0 exists");
  if (faultInjected(BR_D3D9_FAIL_ADAPTER_IDENTIFIER)) return invalidCall(where, "failure injected");
  std::memset(id, 0, sizeof *id);
  std::snprintf(id->Driver, sizeof id->Driver, "brd3d9");
  std::snprintf(id->Description, sizeof id->Description, "OpenGL 3.3 core (%s video)",
                SDL_GetCurrentVideoDriver() ? SDL_GetCurrentVideoDriver() : "no");
  std::snprintf(id->DeviceName, sizeof id->DeviceName, "\\\\.\\DISPLAY1");
  id->DriverVersion.QuadPart = 0x0009000000000000LL;
  id->WHQLLevel = (flags & D3DENUM_WHQL_LEVEL) ? 1 : 0;
  return D3D_OK;
}

UINT Direct3D::GetAdapterModeCount(UINT adapter, D3DFORMAT format) {
  if (adapter != 0) return 0;
  UINT n = 0;
  for (const D3DDISPLAYMODE& m : brAdapterModes()) n += m.Format == format ? 1 : 0;
  return n;
}

HRESULT Direct3D::EnumAdapterModes(UINT adapter, D3DFORMAT format, UINT mode, D3DDISPLAYMODE* out) {
  const char* where = "EnumAdapterModes";
  if (adapter != 0 || !out) return invalidCall(where, "only adapter 0 exists");
  if (faultInjected(BR_D3D9_FAIL_ENUM_ADAPTER_MODES)) return invalidCall(where, "failure injected");
  UINT n = 0;
  for (const D3DDISPLAYMODE& m : brAdapterModes()) {
    if (m.Format != format) continue;
    if (n++ == mode) {
      *out = m;
      return D3D_OK;
    }
  }
  return invalidCall(where, "no such mode");
}

HRESULT Direct3D::GetAdapterDisplayMode(UINT adapter, D3DDISPLAYMODE* mode) {
  const char* where = "GetAdapterDisplayMode";
  if (adapter != 0 || !mode) return invalidCall(where, "only adapter 0 exists");
  if (faultInjected(BR_D3D9_FAIL_ADAPTER_DISPLAY_MODE)) return invalidCall(where, "failure injected");
  *mode = brDesktopMode();
  return D3D_OK;
}

HRESULT Direct3D::CheckDeviceType(UINT adapter, D3DDEVTYPE type, D3DFORMAT adapterFormat, D3DFORMAT backBufferFormat,
                                  BOOL windowed) {
  const char* where = "CheckDeviceType";
  HRESULT hr = checkAdapter(adapter, type, where);
  if (FAILED(hr)) return hr;
  if (faultInjected(BR_D3D9_FAIL_CHECK_DEVICE_TYPE)) return refuse(D3DERR_NOTAVAILABLE, where, "failure injected");
  if (formatRefused(adapterFormat) || formatRefused(backBufferFormat))
    return refuse(D3DERR_NOTAVAILABLE, where, "format refused by the test seam");
  if (adapterFormat != D3DFMT_X8R8G8B8) return refuse(D3DERR_NOTAVAILABLE, where, "the display is X8R8G8B8 only");
  if (!isColorFormat(backBufferFormat) && !(windowed && backBufferFormat == D3DFMT_UNKNOWN))
    return refuse(D3DERR_NOTAVAILABLE, where, "unsupported back-buffer format");
  return D3D_OK;
}

HRESULT Direct3D::CheckDeviceFormat(UINT adapter, D3DDEVTYPE type, D3DFORMAT adapterFormat, DWORD usage,
                                    D3DRESOURCETYPE resourceType, D3DFORMAT checkFormat) {
  const char* where = "CheckDeviceFormat";
  HRESULT hr = checkAdapter(adapter, type, where);
  if (FAILED(hr)) return hr;
  if (faultInjected(BR_D3D9_FAIL_CHECK_DEVICE_FORMAT)) return refuse(D3DERR_NOTAVAILABLE, where, "failure injected");
  if (formatRefused(adapterFormat) || formatRefused(checkFormat))
    return refuse(D3DERR_NOTAVAILABLE, where, "format refused by the test seam");
  if (adapterFormat != D3DFMT_X8R8G8B8) return refuse(D3DERR_NOTAVAILABLE, where, "the display is X8R8G8B8 only");
  bool ok = false;
  if (usage & D3DUSAGE_DEPTHSTENCIL)
    ok = resourceType == D3DRTYPE_SURFACE && brIsDepthFormat(checkFormat);
  else if (resourceType == D3DRTYPE_SURFACE || resourceType == D3DRTYPE_TEXTURE)
    ok = isColorFormat(checkFormat);
  else if (resourceType == D3DRTYPE_VERTEXBUFFER || resourceType == D3DRTYPE_INDEXBUFFER)
    ok = !(usage & D3DUSAGE_RENDERTARGET);
  return ok ? D3D_OK : refuse(D3DERR_NOTAVAILABLE, where, "format not supported for this use");
}

HRESULT Direct3D::CheckDepthStencilMatch(UINT adapter, D3DDEVTYPE type, D3DFORMAT adapterFormat,
                                         D3DFORMAT renderTargetFormat, D3DFORMAT depthStencilFormat) {
  const char* where = "CheckDepthStencilMatch";
  HRESULT hr = checkAdapter(adapter, type, where);
  if (FAILED(hr)) return hr;
  if (faultInjected(BR_D3D9_FAIL_CHECK_DEPTH_MATCH)) return refuse(D3DERR_NOTAVAILABLE, where, "failure injected");
  if (formatRefused(adapterFormat) || formatRefused(renderTargetFormat) || formatRefused(depthStencilFormat))
    return refuse(D3DERR_NOTAVAILABLE, where, "format refused by the test seam");
  if (adapterFormat != D3DFMT_X8R8G8B8 || !isColorFormat(renderTargetFormat) || !brIsDepthFormat(depthStencilFormat))
    return refuse(D3DERR_NOTAVAILABLE, where, "formats do not match");
  return D3D_OK;
}

HRESULT Direct3D::GetDeviceCaps(UINT adapter, D3DDEVTYPE type, D3DCAPS9* caps) {
  const char* where = "GetDeviceCaps";
  if (!caps) return invalidCall(where, "null caps");
  HRESULT hr = checkAdapter(adapter, type, where);
  if (FAILED(hr)) return hr;
  if (faultInjected(BR_D3D9_FAIL_DEVICE_CAPS)) return invalidCall(where, "failure injected");
  brFillCaps(*caps);
  return D3D_OK;
}

HRESULT Direct3D::CreateDevice(UINT adapter, D3DDEVTYPE type, HWND focusWindow, DWORD behaviorFlags,
                               D3DPRESENT_PARAMETERS* params, IDirect3DDevice9** device) {
  drainGraveyard();
  const char* where = "CreateDevice";
  if (!params || !device) return invalidCall(where, "null parameters or out-pointer");
  HRESULT hr = checkAdapter(adapter, type, where);
  if (FAILED(hr)) return hr;
  const DWORD vp = behaviorFlags & (D3DCREATE_HARDWARE_VERTEXPROCESSING | D3DCREATE_SOFTWARE_VERTEXPROCESSING |
                                    D3DCREATE_MIXED_VERTEXPROCESSING);
  if (vp != D3DCREATE_HARDWARE_VERTEXPROCESSING && vp != D3DCREATE_SOFTWARE_VERTEXPROCESSING &&
      vp != D3DCREATE_MIXED_VERTEXPROCESSING)
    return invalidCall(where, "exactly one vertex-processing behaviour is needed");
  if (behaviorFlags & D3DCREATE_PUREDEVICE) return invalidCall(where, "the device is not pure");
  if (faultInjected(BR_D3D9_FAIL_CREATE_DEVICE)) return refuse(D3DERR_NOTAVAILABLE, where, "failure injected");
  D3DPRESENT_PARAMETERS pp = *params;
  if (!pp.hDeviceWindow) pp.hDeviceWindow = focusWindow;
  SDL_Window* window = brResolveWindow(pp.hDeviceWindow);
  if (!window) return invalidCall(where, "no SDL window behind the window handle");
  hr = brNormalizeParams(pp, window, where);
  if (FAILED(hr)) return hr;
  if (!brApplyWindowMode(window, pp)) return refuse(D3DERR_NOTAVAILABLE, where, SDL_GetError());
  std::string error;
  Core* core = Core::create(window, pp, error);
  if (!core) return refuse(D3DERR_NOTAVAILABLE, where, error.c_str());
  // The core's first internal reference becomes the device's.
  Device* d = new Device(this, core, window, pp);
  *params = pp;
  *device = d;
  return D3D_OK;
}

}  // namespace brd3d9

IDirect3D9* Direct3DCreate9(UINT sdkVersion) {
  brd3d9::drainGraveyard();
  if (sdkVersion != D3D_SDK_VERSION && sdkVersion != 32) return nullptr;
  // The windowing layer owns SDL's video; starting it twice is harmless.
  if (!brW32InitVideo()) return nullptr;
  return new brd3d9::Direct3D();
}
