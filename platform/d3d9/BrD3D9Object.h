// The Direct3D object: the one adapter, its modes and capabilities, the format checks and device creation.
#pragma once

#include <vector>

#include "platform/d3d9/BrD3D9Internal.h"

struct SDL_Window;

namespace brd3d9 {

class Direct3D final : public RefCounted<IDirect3D9>, public Buried {
public:
  UINT GetAdapterCount() override { return 1; }
  HRESULT GetAdapterIdentifier(UINT adapter, DWORD flags, D3DADAPTER_IDENTIFIER9* identifier) override;
  UINT GetAdapterModeCount(UINT adapter, D3DFORMAT format) override;
  HRESULT EnumAdapterModes(UINT adapter, D3DFORMAT format, UINT mode, D3DDISPLAYMODE* displayMode) override;
  HRESULT GetAdapterDisplayMode(UINT adapter, D3DDISPLAYMODE* mode) override;
  HRESULT CheckDeviceType(UINT adapter, D3DDEVTYPE type, D3DFORMAT adapterFormat, D3DFORMAT backBufferFormat,
                          BOOL windowed) override;
  HRESULT CheckDeviceFormat(UINT adapter, D3DDEVTYPE type, D3DFORMAT adapterFormat, DWORD usage,
                            D3DRESOURCETYPE resourceType, D3DFORMAT checkFormat) override;
  HRESULT CheckDepthStencilMatch(UINT adapter, D3DDEVTYPE type, D3DFORMAT adapterFormat, D3DFORMAT renderTargetFormat,
                                 D3DFORMAT depthStencilFormat) override;
  HRESULT GetDeviceCaps(UINT adapter, D3DDEVTYPE type, D3DCAPS9* caps) override;
  HRESULT CreateDevice(UINT adapter, D3DDEVTYPE type, HWND focusWindow, DWORD behaviorFlags,
                       D3DPRESENT_PARAMETERS* params, IDirect3DDevice9** device) override;

  // Devices hold the object internally so GetDirect3D stays valid after the application's last Release.
  void retainInternal() { ++mInternal; }
  void dropInternal();

protected:
  void finalRelease() override;

private:
  uint32_t mInternal = 0;
};

// The desktop's mode (X8R8G8B8); 1024x768 at 60 Hz when SDL knows no display.
D3DDISPLAYMODE brDesktopMode();
// Every mode of the adapter: the standard sizes some mode of the screen holds and the desktop (the test seam may
// replace them).
std::vector<D3DDISPLAYMODE> brAdapterModes();
// The capabilities of the hardware device (the test seam may replace them).
void brFillCaps(D3DCAPS9& caps);
// The SDL window behind a handle, through the windowing layer or the test seam's resolver.
SDL_Window* brResolveWindow(HWND hwnd);
// True for the depth-stencil formats the device offers.
bool brIsDepthFormat(D3DFORMAT format);

}  // namespace brd3d9
