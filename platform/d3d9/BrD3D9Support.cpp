// The layer's support: deferred deletion, the refusal helper, the test seam, the mode list and the caps.
#include <SDL2/SDL.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>
#include <vector>

#include "platform/d3d9/BrD3D9Internal.h"
#include "platform/d3d9/BrD3D9Object.h"
#include "platform/d3d9/d3d9_testing.h"
#include "platform/win32/win32_user.h"

namespace brd3d9 {
namespace {

struct Graveyard {
  std::vector<Buried*> dead;
  bool draining = false;
  ~Graveyard() { drainGraveyard(); }
};

Graveyard& graveyard() {
  static Graveyard g;
  return g;
}

struct Seam {
  uint32_t failures = 0;
  std::vector<D3DFORMAT> refused;
  std::vector<D3DDISPLAYMODE> modes;
  bool capsSet = false;
  D3DCAPS9 caps{};
  SDL_Window* (*resolver)(HWND) = nullptr;
  int surfaceW = 0, surfaceH = 0;
  std::string lastError;
  BrD3D9TestCounts counts{};
};

Seam& seam() {
  static Seam s;
  return s;
}

}  // namespace

void bury(Buried* object) { graveyard().dead.push_back(object); }

void drainGraveyard() {
  Graveyard& g = graveyard();
  if (g.draining) return;
  g.draining = true;
  while (!g.dead.empty()) {
    std::vector<Buried*> batch;
    batch.swap(g.dead);
    for (Buried* b : batch) delete b;  // a destructor may bury more; the loop takes them next
  }
  g.draining = false;
}

HRESULT refuse(HRESULT result, const char* where, const char* why) {
  std::string& last = seam().lastError;
  last = std::string(where) + ": " + why;
  static const bool trace = std::getenv("BR_D3D9_TRACE") != nullptr;
  if (trace) std::fprintf(stderr, "d3d9: %s\n", last.c_str());
  return result;
}

bool faultInjected(uint32_t check) { return (seam().failures & check) != 0; }

BrD3D9TestCounts& testCounts() { return seam().counts; }

bool surfaceSizeSet(int& w, int& h) {
  if (seam().surfaceW <= 0 || seam().surfaceH <= 0) return false;
  w = seam().surfaceW;
  h = seam().surfaceH;
  return true;
}

bool formatRefused(D3DFORMAT format) {
  const std::vector<D3DFORMAT>& r = seam().refused;
  return std::find(r.begin(), r.end(), format) != r.end();
}

std::vector<D3DDISPLAYMODE> brAdapterModes() {
  if (!seam().modes.empty()) return seam().modes;
  const D3DDISPLAYMODE desktop = brDesktopMode();
  static const UINT sizes[][2] = {{640, 480}, {800, 600}, {1024, 768}, {1280, 720}, {1280, 1024}, {1920, 1080}};
  // Only sizes some mode of the screen holds: the video layer leaves a full-screen request for a larger one as
  // the window it was, reporting success, so the game would believe itself in full screen (and keep that for
  // the next start) with its picture squeezed into the window.
  auto fits = [](UINT width, UINT height) {
    if (!SDL_WasInit(SDL_INIT_VIDEO)) return true;
    SDL_DisplayMode wanted = {0, int(width), int(height), 0, nullptr};
    SDL_DisplayMode closest;
    return SDL_GetClosestDisplayMode(0, &wanted, &closest) != nullptr;
  };
  std::vector<D3DDISPLAYMODE> modes;
  for (const auto& s : sizes)
    if (fits(s[0], s[1])) modes.push_back({s[0], s[1], desktop.RefreshRate, D3DFMT_X8R8G8B8});
  bool listed = false;
  for (const D3DDISPLAYMODE& m : modes) listed = listed || (m.Width == desktop.Width && m.Height == desktop.Height);
  if (!listed) modes.push_back(desktop);
  std::sort(modes.begin(), modes.end(), [](const D3DDISPLAYMODE& a, const D3DDISPLAYMODE& b) {
    return a.Width != b.Width ? a.Width < b.Width : a.Height < b.Height;
  });
  return modes;
}

void brFillCaps(D3DCAPS9& c) {
  if (seam().capsSet) {
    c = seam().caps;
    return;
  }
  std::memset(&c, 0, sizeof c);
  c.DeviceType = D3DDEVTYPE_HAL;
  c.AdapterOrdinal = 0;
  c.PresentationIntervals = D3DPRESENT_INTERVAL_ONE | DWORD(D3DPRESENT_INTERVAL_IMMEDIATE);
  // Hardware transform and lighting, not a pure device.
  c.DevCaps = D3DDEVCAPS_EXECUTESYSTEMMEMORY | D3DDEVCAPS_TLVERTEXSYSTEMMEMORY | D3DDEVCAPS_TLVERTEXVIDEOMEMORY |
              D3DDEVCAPS_TEXTURESYSTEMMEMORY | D3DDEVCAPS_TEXTUREVIDEOMEMORY | D3DDEVCAPS_DRAWPRIMTLVERTEX |
              D3DDEVCAPS_CANRENDERAFTERFLIP | D3DDEVCAPS_DRAWPRIMITIVES2 | D3DDEVCAPS_DRAWPRIMITIVES2EX |
              D3DDEVCAPS_HWTRANSFORMANDLIGHT | D3DDEVCAPS_HWRASTERIZATION;
  c.PrimitiveMiscCaps = D3DPMISCCAPS_MASKZ | D3DPMISCCAPS_CULLNONE | D3DPMISCCAPS_CULLCW | D3DPMISCCAPS_CULLCCW |
                        D3DPMISCCAPS_COLORWRITEENABLE | D3DPMISCCAPS_BLENDOP;
  c.RasterCaps = D3DPRASTERCAPS_ZTEST | D3DPRASTERCAPS_MIPMAPLODBIAS;  // no W buffer
  c.ZCmpCaps = c.AlphaCmpCaps = 0xFF;
  c.SrcBlendCaps = c.DestBlendCaps = D3DPBLENDCAPS_ZERO | D3DPBLENDCAPS_ONE | D3DPBLENDCAPS_SRCCOLOR |
                                     D3DPBLENDCAPS_INVSRCCOLOR | D3DPBLENDCAPS_SRCALPHA | D3DPBLENDCAPS_INVSRCALPHA |
                                     D3DPBLENDCAPS_DESTALPHA | D3DPBLENDCAPS_INVDESTALPHA | D3DPBLENDCAPS_DESTCOLOR |
                                     D3DPBLENDCAPS_INVDESTCOLOR;
  c.ShadeCaps = D3DPSHADECAPS_COLORGOURAUDRGB | D3DPSHADECAPS_ALPHAGOURAUDBLEND;
  // No power-of-two restriction; mip maps exist but are not filtered between.
  c.TextureCaps = D3DPTEXTURECAPS_PERSPECTIVE | D3DPTEXTURECAPS_ALPHA | D3DPTEXTURECAPS_MIPMAP;
  c.TextureFilterCaps =
      D3DPTFILTERCAPS_MINFPOINT | D3DPTFILTERCAPS_MINFLINEAR | D3DPTFILTERCAPS_MAGFPOINT | D3DPTFILTERCAPS_MAGFLINEAR;
  c.TextureAddressCaps = D3DPTADDRESSCAPS_WRAP | D3DPTADDRESSCAPS_MIRROR | D3DPTADDRESSCAPS_CLAMP |
                         D3DPTADDRESSCAPS_BORDER | D3DPTADDRESSCAPS_INDEPENDENTUV;
  c.MaxTextureWidth = c.MaxTextureHeight = 8192;
  c.MaxTextureRepeat = 8192;
  c.MaxTextureAspectRatio = 8192;
  c.MaxAnisotropy = 1;
  c.MaxVertexW = 1e10f;
  c.GuardBandLeft = c.GuardBandTop = -1e8f;
  c.GuardBandRight = c.GuardBandBottom = 1e8f;
  c.FVFCaps = 2;  // texture coordinate sets
  c.TextureOpCaps = D3DTEXOPCAPS_DISABLE | D3DTEXOPCAPS_SELECTARG1 | D3DTEXOPCAPS_SELECTARG2 | D3DTEXOPCAPS_MODULATE |
                    D3DTEXOPCAPS_MODULATE2X | D3DTEXOPCAPS_MODULATE4X | D3DTEXOPCAPS_ADD | D3DTEXOPCAPS_ADDSIGNED |
                    D3DTEXOPCAPS_SUBTRACT | D3DTEXOPCAPS_MULTIPLYADD | D3DTEXOPCAPS_LERP;  // no bump mapping
  c.MaxTextureBlendStages = 2;
  c.MaxSimultaneousTextures = 2;
  c.MaxActiveLights = 0;  // no fixed-function lighting: the shaders light
  c.MaxPointSize = 1.0f;
  c.MaxPrimitiveCount = 0xFFFFF;
  c.MaxVertexIndex = 0xFFFFFF;
  c.MaxStreams = 16;
  c.MaxStreamStride = 2048;
  c.VertexShaderVersion = D3DVS_VERSION(1, 1);
  c.MaxVertexShaderConst = 96;
  c.PixelShaderVersion = 0;
  c.MasterAdapterOrdinal = 0;
  c.AdapterOrdinalInGroup = 0;
  c.NumberOfAdaptersInGroup = 1;
  c.DeclTypes = D3DDTCAPS_UBYTE4 | D3DDTCAPS_UBYTE4N | D3DDTCAPS_SHORT2N | D3DDTCAPS_SHORT4N | D3DDTCAPS_USHORT2N |
                D3DDTCAPS_USHORT4N | D3DDTCAPS_FLOAT16_2 | D3DDTCAPS_FLOAT16_4;
  c.NumSimultaneousRTs = 1;
}

SDL_Window* brResolveWindow(HWND hwnd) {
  if (seam().resolver) return seam().resolver(hwnd);
  return brW32GetSDLWindow(hwnd);
}

}  // namespace brd3d9

void brD3D9TestSetFailures(uint32_t checks) { brd3d9::seam().failures = checks; }

void brD3D9TestRefuseFormat(D3DFORMAT format, bool refuse) {
  std::vector<D3DFORMAT>& r = brd3d9::seam().refused;
  r.erase(std::remove(r.begin(), r.end(), format), r.end());
  if (refuse) r.push_back(format);
}

void brD3D9TestSetModes(const D3DDISPLAYMODE* modes, UINT count) {
  brd3d9::seam().modes.assign(modes, modes + (modes ? count : 0));
}

void brD3D9TestSetCaps(const D3DCAPS9* caps) {
  brd3d9::seam().capsSet = caps != nullptr;
  if (caps) brd3d9::seam().caps = *caps;
}

void brD3D9TestReset() {
  brd3d9::Seam& s = brd3d9::seam();
  s.failures = 0;
  s.refused.clear();
  s.modes.clear();
  s.capsSet = false;
  s.resolver = nullptr;
  s.surfaceW = s.surfaceH = 0;
  s.counts = BrD3D9TestCounts{};
}

BrD3D9TestCounts brD3D9TestGetCounts() { return brd3d9::seam().counts; }

void brD3D9TestSetWindowResolver(SDL_Window* (*fn)(HWND)) { brd3d9::seam().resolver = fn; }

void brD3D9TestSetSurfaceSize(int width, int height) {
  brd3d9::seam().surfaceW = width;
  brd3d9::seam().surfaceH = height;
}

const char* brD3D9LastError() { return brd3d9::seam().lastError.c_str(); }
