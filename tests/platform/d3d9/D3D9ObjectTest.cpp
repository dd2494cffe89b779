// The Direct3D object: the adapter, its modes, the capabilities the rendering device relies on, the format
// checks, device creation failures and the test seam that makes chosen checks fail.
#include <SDL2/SDL.h>

#include <cstdlib>
#include <cstring>
#include <string>

#include "platform/win32/win32_user.h"
#include "tests/platform/d3d9/D3D9TestSupport.h"

using namespace d3d9test;

namespace {

struct Seam {
  ~Seam() { brD3D9TestReset(); }
};

SDL_Window* gResolved = nullptr;
SDL_Window* resolveAny(HWND) { return gResolved; }

bool hasMode(IDirect3D9* d3d, UINT w, UINT h) {
  const UINT n = d3d->GetAdapterModeCount(0, D3DFMT_X8R8G8B8);
  for (UINT i = 0; i < n; ++i) {
    D3DDISPLAYMODE m;
    if (d3d->EnumAdapterModes(0, D3DFMT_X8R8G8B8, i, &m) == D3D_OK && m.Width == w && m.Height == h) return true;
  }
  return false;
}

}  // namespace

TEST(D3D9Object, AdapterModesAndCaps) {
  EXPECT_EQ(nullptr, Direct3DCreate9(30));
  IDirect3D9* d3d = Direct3DCreate9(D3D_SDK_VERSION);
  ASSERT_NE(nullptr, d3d);
  EXPECT_EQ(1u, d3d->GetAdapterCount());
  D3DADAPTER_IDENTIFIER9 id;
  ASSERT_EQ(D3D_OK, d3d->GetAdapterIdentifier(0, D3DENUM_WHQL_LEVEL, &id));
  EXPECT_GT(std::strlen(id.Description), 0u);
  EXPECT_GT(std::strlen(id.Driver), 0u);
  EXPECT_EQ(D3DERR_INVALIDCALL, d3d->GetAdapterIdentifier(1, 0, &id));

  for (auto size : {std::make_pair(800u, 600u), std::make_pair(1024u, 768u), std::make_pair(1280u, 720u),
                    std::make_pair(1280u, 1024u), std::make_pair(1920u, 1080u)})
    EXPECT_TRUE(hasMode(d3d, size.first, size.second)) << size.first << "x" << size.second;
  D3DDISPLAYMODE desktop;
  ASSERT_EQ(D3D_OK, d3d->GetAdapterDisplayMode(0, &desktop));
  EXPECT_EQ(D3DFMT_X8R8G8B8, desktop.Format);
  EXPECT_TRUE(hasMode(d3d, desktop.Width, desktop.Height));
  EXPECT_EQ(0u, d3d->GetAdapterModeCount(0, D3DFMT_R5G6B5));
  EXPECT_EQ(0u, d3d->GetAdapterModeCount(1, D3DFMT_X8R8G8B8));
  D3DDISPLAYMODE m;
  EXPECT_EQ(D3DERR_INVALIDCALL,
            d3d->EnumAdapterModes(0, D3DFMT_X8R8G8B8, d3d->GetAdapterModeCount(0, D3DFMT_X8R8G8B8), &m));

  D3DCAPS9 caps;
  ASSERT_EQ(D3D_OK, d3d->GetDeviceCaps(0, D3DDEVTYPE_HAL, &caps));
  EXPECT_TRUE(caps.DevCaps & D3DDEVCAPS_HWTRANSFORMANDLIGHT);
  EXPECT_FALSE(caps.DevCaps & D3DDEVCAPS_PUREDEVICE);
  EXPECT_EQ(D3DVS_VERSION(1, 1), caps.VertexShaderVersion);
  EXPECT_EQ(96u, caps.MaxVertexShaderConst);
  EXPECT_TRUE(caps.SrcBlendCaps & D3DPBLENDCAPS_SRCALPHA);
  EXPECT_TRUE(caps.DestBlendCaps & D3DPBLENDCAPS_INVSRCALPHA);
  EXPECT_TRUE(caps.TextureFilterCaps & D3DPTFILTERCAPS_MINFLINEAR);
  EXPECT_TRUE(caps.TextureFilterCaps & D3DPTFILTERCAPS_MAGFLINEAR);
  EXPECT_FALSE(caps.TextureFilterCaps & D3DPTFILTERCAPS_MIPFLINEAR);
  EXPECT_EQ(2u, caps.MaxTextureBlendStages);
  EXPECT_EQ(2u, caps.MaxSimultaneousTextures);
  EXPECT_FALSE(caps.TextureCaps & D3DPTEXTURECAPS_POW2);
  EXPECT_FALSE(caps.TextureOpCaps & (D3DTEXOPCAPS_BUMPENVMAP | D3DTEXOPCAPS_BUMPENVMAPLUMINANCE));
  EXPECT_FALSE(caps.RasterCaps & D3DPRASTERCAPS_WBUFFER);
  EXPECT_EQ(D3DERR_NOTAVAILABLE, d3d->GetDeviceCaps(0, D3DDEVTYPE_REF, &caps));

  // Format checks as the rendering device makes them.
  EXPECT_EQ(D3D_OK, d3d->CheckDeviceType(0, D3DDEVTYPE_HAL, D3DFMT_X8R8G8B8, D3DFMT_X8R8G8B8, FALSE));
  EXPECT_EQ(D3DERR_NOTAVAILABLE, d3d->CheckDeviceType(0, D3DDEVTYPE_HAL, D3DFMT_R5G6B5, D3DFMT_R5G6B5, FALSE));
  EXPECT_EQ(D3DERR_NOTAVAILABLE, d3d->CheckDeviceType(0, D3DDEVTYPE_REF, D3DFMT_X8R8G8B8, D3DFMT_X8R8G8B8, TRUE));
  for (D3DFORMAT depth : {D3DFMT_D16, D3DFMT_D24X8, D3DFMT_D32}) {
    EXPECT_EQ(D3D_OK, d3d->CheckDeviceFormat(0, D3DDEVTYPE_HAL, D3DFMT_X8R8G8B8, D3DUSAGE_DEPTHSTENCIL,
                                             D3DRTYPE_SURFACE, depth));
    EXPECT_EQ(D3D_OK, d3d->CheckDepthStencilMatch(0, D3DDEVTYPE_HAL, D3DFMT_X8R8G8B8, D3DFMT_X8R8G8B8, depth));
  }
  EXPECT_EQ(D3DERR_NOTAVAILABLE, d3d->CheckDeviceFormat(0, D3DDEVTYPE_HAL, D3DFMT_X8R8G8B8, D3DUSAGE_DEPTHSTENCIL,
                                                        D3DRTYPE_SURFACE, D3DFMT_D15S1));
  EXPECT_EQ(D3D_OK, d3d->CheckDeviceFormat(0, D3DDEVTYPE_HAL, D3DFMT_X8R8G8B8, 0, D3DRTYPE_TEXTURE, D3DFMT_A8R8G8B8));
  EXPECT_EQ(D3DERR_NOTAVAILABLE,
            d3d->CheckDeviceFormat(0, D3DDEVTYPE_HAL, D3DFMT_X8R8G8B8, 0, D3DRTYPE_TEXTURE, D3DFMT_DXT1));
  EXPECT_EQ(D3DERR_NOTAVAILABLE,
            d3d->CheckDepthStencilMatch(0, D3DDEVTYPE_HAL, D3DFMT_X8R8G8B8, D3DFMT_X8R8G8B8, D3DFMT_X8R8G8B8));
  EXPECT_EQ(0u, d3d->Release());
}

TEST(D3D9Object, OnlySizesTheScreenCanShowAreListed) {
  // SDL's dummy screen has the one mode 1024x768: no larger size can be full screen on it, and one offered
  // would be taken by the player's options and by Alt+Enter.
  const bool wasUp = SDL_WasInit(SDL_INIT_VIDEO) != 0;
  if (wasUp) SDL_QuitSubSystem(SDL_INIT_VIDEO);
  const char* driver = std::getenv("SDL_VIDEODRIVER");
  const std::string before = driver ? driver : "";
  setenv("SDL_VIDEODRIVER", "dummy", 1);
  ASSERT_EQ(0, SDL_InitSubSystem(SDL_INIT_VIDEO)) << SDL_GetError();
  IDirect3D9* d3d = Direct3DCreate9(D3D_SDK_VERSION);
  ASSERT_NE(nullptr, d3d);
  EXPECT_TRUE(hasMode(d3d, 800, 600));
  EXPECT_TRUE(hasMode(d3d, 1024, 768));
  EXPECT_FALSE(hasMode(d3d, 1280, 1024));
  EXPECT_FALSE(hasMode(d3d, 1920, 1080));
  releaseAll(d3d);
  SDL_QuitSubSystem(SDL_INIT_VIDEO);
  if (driver)
    setenv("SDL_VIDEODRIVER", before.c_str(), 1);
  else
    unsetenv("SDL_VIDEODRIVER");
  if (wasUp) SDL_InitSubSystem(SDL_INIT_VIDEO);
}

TEST(D3D9Object, SeamMakesChosenChecksFail) {
  Seam seam;
  IDirect3D9* d3d = Direct3DCreate9(D3D_SDK_VERSION);
  ASSERT_NE(nullptr, d3d);
  D3DADAPTER_IDENTIFIER9 id;
  D3DDISPLAYMODE mode;
  D3DCAPS9 caps;
  brD3D9TestSetFailures(BR_D3D9_FAIL_ADAPTER_IDENTIFIER | BR_D3D9_FAIL_ENUM_ADAPTER_MODES);
  EXPECT_EQ(D3DERR_INVALIDCALL, d3d->GetAdapterIdentifier(0, 0, &id));
  EXPECT_EQ(D3DERR_INVALIDCALL, d3d->EnumAdapterModes(0, D3DFMT_X8R8G8B8, 0, &mode));
  EXPECT_EQ(D3D_OK, d3d->GetAdapterDisplayMode(0, &mode));
  EXPECT_NE(std::string::npos, std::string(brD3D9LastError()).find("EnumAdapterModes"));
  brD3D9TestSetFailures(BR_D3D9_FAIL_DEVICE_CAPS | BR_D3D9_FAIL_ADAPTER_DISPLAY_MODE | BR_D3D9_FAIL_CHECK_DEVICE_TYPE);
  EXPECT_EQ(D3DERR_INVALIDCALL, d3d->GetDeviceCaps(0, D3DDEVTYPE_HAL, &caps));
  EXPECT_EQ(D3DERR_INVALIDCALL, d3d->GetAdapterDisplayMode(0, &mode));
  EXPECT_EQ(D3DERR_NOTAVAILABLE, d3d->CheckDeviceType(0, D3DDEVTYPE_HAL, D3DFMT_X8R8G8B8, D3DFMT_X8R8G8B8, FALSE));
  brD3D9TestSetFailures(0);
  EXPECT_EQ(D3D_OK, d3d->CheckDeviceType(0, D3DDEVTYPE_HAL, D3DFMT_X8R8G8B8, D3DFMT_X8R8G8B8, FALSE));

  // A device that supports only 16-bit depth: 32 and 24 bits are refused, 16 accepted.
  brD3D9TestRefuseFormat(D3DFMT_D32, true);
  brD3D9TestRefuseFormat(D3DFMT_D24X8, true);
  EXPECT_EQ(D3DERR_NOTAVAILABLE, d3d->CheckDeviceFormat(0, D3DDEVTYPE_HAL, D3DFMT_X8R8G8B8, D3DUSAGE_DEPTHSTENCIL,
                                                        D3DRTYPE_SURFACE, D3DFMT_D32));
  EXPECT_EQ(D3DERR_NOTAVAILABLE,
            d3d->CheckDepthStencilMatch(0, D3DDEVTYPE_HAL, D3DFMT_X8R8G8B8, D3DFMT_X8R8G8B8, D3DFMT_D24X8));
  EXPECT_EQ(D3D_OK, d3d->CheckDeviceFormat(0, D3DDEVTYPE_HAL, D3DFMT_X8R8G8B8, D3DUSAGE_DEPTHSTENCIL, D3DRTYPE_SURFACE,
                                           D3DFMT_D16));
  brD3D9TestRefuseFormat(D3DFMT_D32, false);
  EXPECT_EQ(D3D_OK, d3d->CheckDeviceFormat(0, D3DDEVTYPE_HAL, D3DFMT_X8R8G8B8, D3DUSAGE_DEPTHSTENCIL, D3DRTYPE_SURFACE,
                                           D3DFMT_D32));

  // A chosen mode list, with modes of several formats.
  const D3DDISPLAYMODE modes[] = {
      {640, 480, 60, D3DFMT_X8R8G8B8}, {800, 600, 60, D3DFMT_R5G6B5}, {1024, 768, 60, D3DFMT_X8R8G8B8}};
  brD3D9TestSetModes(modes, 3);
  EXPECT_EQ(2u, d3d->GetAdapterModeCount(0, D3DFMT_X8R8G8B8));
  EXPECT_EQ(1u, d3d->GetAdapterModeCount(0, D3DFMT_R5G6B5));
  ASSERT_EQ(D3D_OK, d3d->EnumAdapterModes(0, D3DFMT_X8R8G8B8, 1, &mode));
  EXPECT_EQ(1024u, mode.Width);

  // Chosen capabilities: a pure device with a W buffer and bump mapping.
  D3DCAPS9 chosen;
  std::memset(&chosen, 0, sizeof chosen);
  chosen.DevCaps = D3DDEVCAPS_HWTRANSFORMANDLIGHT | D3DDEVCAPS_PUREDEVICE;
  chosen.RasterCaps = D3DPRASTERCAPS_WBUFFER;
  chosen.TextureOpCaps = D3DTEXOPCAPS_BUMPENVMAP;
  brD3D9TestSetCaps(&chosen);
  ASSERT_EQ(D3D_OK, d3d->GetDeviceCaps(0, D3DDEVTYPE_HAL, &caps));
  EXPECT_TRUE(caps.DevCaps & D3DDEVCAPS_PUREDEVICE);
  EXPECT_TRUE(caps.RasterCaps & D3DPRASTERCAPS_WBUFFER);
  brD3D9TestReset();
  ASSERT_EQ(D3D_OK, d3d->GetDeviceCaps(0, D3DDEVTYPE_HAL, &caps));
  EXPECT_FALSE(caps.DevCaps & D3DDEVCAPS_PUREDEVICE);
  EXPECT_EQ(0u, d3d->Release());
}

TEST(D3D9Object, DeviceCreationFailures) {
  Seam seam;
  TestDevice t(16, 16);
  ASSERT_TRUE(t.ok()) << t.why();
  D3DPRESENT_PARAMETERS pp;
  std::memset(&pp, 0, sizeof pp);
  pp.SwapEffect = D3DSWAPEFFECT_DISCARD;
  pp.Windowed = TRUE;
  pp.hDeviceWindow = t.hwnd;
  IDirect3DDevice9* device = nullptr;
  // Zero sizes and an unknown format take the window's size and the desktop's format.
  ASSERT_EQ(D3D_OK, t.d3d->CreateDevice(0, D3DDEVTYPE_HAL, t.hwnd, D3DCREATE_SOFTWARE_VERTEXPROCESSING, &pp, &device));
  EXPECT_EQ(16u, pp.BackBufferWidth);
  EXPECT_EQ(16u, pp.BackBufferHeight);
  EXPECT_EQ(D3DFMT_X8R8G8B8, pp.BackBufferFormat);
  releaseAll(device);

  EXPECT_EQ(D3DERR_INVALIDCALL,
            t.d3d->CreateDevice(0, D3DDEVTYPE_HAL, t.hwnd, D3DCREATE_PUREDEVICE | D3DCREATE_HARDWARE_VERTEXPROCESSING,
                                &pp, &device));
  EXPECT_EQ(D3DERR_INVALIDCALL, t.d3d->CreateDevice(0, D3DDEVTYPE_HAL, t.hwnd, 0, &pp, &device));
  EXPECT_EQ(D3DERR_NOTAVAILABLE,
            t.d3d->CreateDevice(0, D3DDEVTYPE_REF, t.hwnd, D3DCREATE_HARDWARE_VERTEXPROCESSING, &pp, &device));
  D3DPRESENT_PARAMETERS bad = pp;
  bad.EnableAutoDepthStencil = TRUE;
  bad.AutoDepthStencilFormat = D3DFMT_X8R8G8B8;
  EXPECT_EQ(D3DERR_INVALIDCALL,
            t.d3d->CreateDevice(0, D3DDEVTYPE_HAL, t.hwnd, D3DCREATE_HARDWARE_VERTEXPROCESSING, &bad, &device));
  bad = pp;
  bad.hDeviceWindow = nullptr;
  EXPECT_EQ(D3DERR_INVALIDCALL,
            t.d3d->CreateDevice(0, D3DDEVTYPE_HAL, nullptr, D3DCREATE_HARDWARE_VERTEXPROCESSING, &bad, &device));
  // Full screen needs a listed mode.
  bad = pp;
  bad.Windowed = FALSE;
  bad.BackBufferWidth = 1000;
  bad.BackBufferHeight = 700;
  EXPECT_EQ(D3DERR_INVALIDCALL,
            t.d3d->CreateDevice(0, D3DDEVTYPE_HAL, t.hwnd, D3DCREATE_HARDWARE_VERTEXPROCESSING, &bad, &device));
  // Through the resolver seam, a handle the windowing layer does not know reaches a chosen SDL window.
  gResolved = brW32GetSDLWindow(t.hwnd);
  brD3D9TestSetWindowResolver(resolveAny);
  D3DPRESENT_PARAMETERS seamed = pp;
  seamed.hDeviceWindow = reinterpret_cast<HWND>(uintptr_t(0x1234));
  ASSERT_EQ(D3D_OK,
            t.d3d->CreateDevice(0, D3DDEVTYPE_HAL, nullptr, D3DCREATE_HARDWARE_VERTEXPROCESSING, &seamed, &device))
      << brD3D9LastError();
  releaseAll(device);
  brD3D9TestSetWindowResolver(nullptr);
  EXPECT_EQ(D3DERR_INVALIDCALL,
            t.d3d->CreateDevice(0, D3DDEVTYPE_HAL, nullptr, D3DCREATE_HARDWARE_VERTEXPROCESSING, &seamed, &device));
  brD3D9TestSetFailures(BR_D3D9_FAIL_CREATE_DEVICE);
  EXPECT_EQ(D3DERR_NOTAVAILABLE,
            t.d3d->CreateDevice(0, D3DDEVTYPE_HAL, t.hwnd, D3DCREATE_HARDWARE_VERTEXPROCESSING, &pp, &device));
  EXPECT_EQ(nullptr, device);

  // Device-side failures for the fallback branches of a caller.
  brD3D9TestSetFailures(BR_D3D9_FAIL_RESET | BR_D3D9_FAIL_CREATE_VERTEX_BUFFER | BR_D3D9_FAIL_SAMPLER_STATE |
                        BR_D3D9_FAIL_END_SCENE | BR_D3D9_FAIL_PRESENT | BR_D3D9_FAIL_LOCK);
  EXPECT_EQ(D3DERR_DEVICELOST, t.device->Reset(&pp));
  IDirect3DVertexBuffer9* vb = nullptr;
  EXPECT_EQ(D3DERR_OUTOFVIDEOMEMORY, t.device->CreateVertexBuffer(32, 0, 0x42, D3DPOOL_MANAGED, &vb, nullptr));
  EXPECT_EQ(D3DERR_INVALIDCALL, t.device->SetSamplerState(0, D3DSAMP_MAGFILTER, D3DTEXF_LINEAR));
  ASSERT_EQ(D3D_OK, t.device->BeginScene());
  EXPECT_EQ(D3DERR_INVALIDCALL, t.device->EndScene());
  EXPECT_EQ(D3D_OK, t.device->BeginScene());  // the failed EndScene still closed the scene
  brD3D9TestSetFailures(BR_D3D9_FAIL_PRESENT | BR_D3D9_FAIL_LOCK);
  EXPECT_EQ(D3D_OK, t.device->EndScene());
  EXPECT_EQ(D3DERR_DEVICELOST, t.device->Present(nullptr, nullptr, nullptr, nullptr));
  IDirect3DTexture9* tex = nullptr;
  ASSERT_EQ(D3D_OK, t.device->CreateTexture(2, 2, 1, 0, D3DFMT_A8R8G8B8, D3DPOOL_MANAGED, &tex, nullptr));
  D3DLOCKED_RECT r;
  EXPECT_EQ(D3DERR_INVALIDCALL, tex->LockRect(0, &r, nullptr, 0));
  releaseAll(tex);
}
