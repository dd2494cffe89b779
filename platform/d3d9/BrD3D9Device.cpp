// The device's frame and resource calls: argument checks, then the core does the work.
#include "platform/d3d9/BrD3D9Device.h"

#include <SDL2/SDL.h>

#include <cstring>
#include <new>
#include <type_traits>
#include <typeinfo>

#include "platform/d3d9/BrD3D9Object.h"
#include "platform/d3d9/BrD3D9Resources.h"
#include "platform/win32/win32_user.h"

namespace brd3d9 {
namespace {

// The layer's own object behind an interface pointer, or null for anything else. The one already bound is
// known without looking; any other by its exact class (the layer's classes are final), without the run-time
// walk of the class tree, which compares class names across libraries on every bind.
template <class T, class I>
T* ownObject(I* iface, T* bound) {
  static_assert(std::is_final_v<T>, "an exact class match is the whole test only for a final class");
  if (bound && static_cast<I*>(bound) == iface) return bound;
  if (!iface || typeid(*iface) != typeid(T)) return nullptr;
  return static_cast<T*>(iface);
}

bool isColorFormat(D3DFORMAT f) { return f == D3DFMT_X8R8G8B8 || f == D3DFMT_A8R8G8B8; }
const UINT kMaxTextureSize = 8192;
const UINT kMaxBufferBytes = 1u << 28;

// Allocation failures become a failed creation, never an exception out of the layer.
bool createStore(BufferStore& store, Core* core, GLenum target, UINT length) {
  try {
    return store.create(core, target, length);
  } catch (const std::bad_alloc&) {
    return false;
  }
}

}  // namespace

HRESULT brNormalizeParams(D3DPRESENT_PARAMETERS& pp, SDL_Window* window, const char* where) {
  if (pp.BackBufferCount == 0) pp.BackBufferCount = 1;
  if (pp.BackBufferCount > 3) return invalidCall(where, "at most 3 back buffers");
  if (pp.SwapEffect < D3DSWAPEFFECT_DISCARD || pp.SwapEffect > D3DSWAPEFFECT_COPY)
    return invalidCall(where, "unknown swap effect");
  if (pp.MultiSampleType != D3DMULTISAMPLE_NONE) return invalidCall(where, "multisampling is not supported");
  if (pp.EnableAutoDepthStencil && !brIsDepthFormat(pp.AutoDepthStencilFormat))
    return invalidCall(where, "unsupported depth-stencil format");
  const UINT interval = pp.PresentationInterval;
  if (interval != D3DPRESENT_INTERVAL_DEFAULT && interval != D3DPRESENT_INTERVAL_ONE &&
      interval != DWORD(D3DPRESENT_INTERVAL_IMMEDIATE))
    return invalidCall(where, "unsupported presentation interval");
  if (pp.Windowed) {
    int w = 0, h = 0;
    SDL_GL_GetDrawableSize(window, &w, &h);
    if (pp.BackBufferWidth == 0) pp.BackBufferWidth = UINT(w > 0 ? w : 0);
    if (pp.BackBufferHeight == 0) pp.BackBufferHeight = UINT(h > 0 ? h : 0);
    if (pp.BackBufferFormat == D3DFMT_UNKNOWN) pp.BackBufferFormat = D3DFMT_X8R8G8B8;
  } else {
    bool listed = false;
    for (const D3DDISPLAYMODE& m : brAdapterModes())
      listed = listed || (m.Width == pp.BackBufferWidth && m.Height == pp.BackBufferHeight);
    if (!listed) return invalidCall(where, "full-screen size is not a display mode");
  }
  if (!isColorFormat(pp.BackBufferFormat)) return invalidCall(where, "unsupported back-buffer format");
  if (pp.BackBufferWidth == 0 || pp.BackBufferHeight == 0 || pp.BackBufferWidth > kMaxTextureSize ||
      pp.BackBufferHeight > kMaxTextureSize)
    return invalidCall(where, "unsupported back-buffer size");
  return D3D_OK;
}

bool brApplyWindowMode(SDL_Window* window, const D3DPRESENT_PARAMETERS& pp) {
  if (!pp.Windowed) {
    SDL_DisplayMode mode = {SDL_PIXELFORMAT_RGB888, int(pp.BackBufferWidth), int(pp.BackBufferHeight),
                            int(pp.FullScreen_RefreshRateInHz), nullptr};
    SDL_SetWindowDisplayMode(window, &mode);
    return SDL_SetWindowFullscreen(window, SDL_WINDOW_FULLSCREEN) == 0;
  }
  if (SDL_GetWindowFlags(window) & SDL_WINDOW_FULLSCREEN) {
    SDL_SetWindowFullscreen(window, 0);
    // SDL leaves the frame of a full-screen window alone, so the caption and border its style was given on the
    // way back to a window (before this reset) never reached it: without them the window could no longer be
    // moved, resized or closed by its frame. The style is applied again now that SDL takes it.
    HWND hwnd = pp.hDeviceWindow;
    if (hwnd && brW32GetSDLWindow(hwnd) == window) SetWindowLongA(hwnd, GWL_STYLE, GetWindowLongA(hwnd, GWL_STYLE));
  }
  return true;
}

Device::Device(Direct3D* d3d, Core* core, SDL_Window* window, const D3DPRESENT_PARAMETERS& params)
    : mD3D(d3d), mCore(core), mWindow(window) {
  mD3D->retainInternal();
  mCore->device = this;
  mBackBuffer = new Surface(core, params.BackBufferWidth, params.BackBufferHeight, params.BackBufferFormat,
                            D3DPOOL_DEFAULT, true);
}

void Device::finalRelease() {
  mCore->device = nullptr;
  mBackBuffer->ownerGone();
  if (!mCore->params().Windowed && brResolveWindow(mCore->params().hDeviceWindow) == mWindow)
    SDL_SetWindowFullscreen(mWindow, 0);
  mD3D->dropInternal();
  mCore->drop();
  bury(this);
}

HRESULT Device::handOut(Core* core, IDirect3DDevice9** device) {
  if (!device) return invalidCall("GetDevice", "null out-pointer");
  if (!core->device) return invalidCall("GetDevice", "the device has been released");
  core->device->AddRef();
  *device = core->device;
  return D3D_OK;
}

HRESULT Device::GetDirect3D(IDirect3D9** d3d) {
  if (!d3d) return invalidCall("GetDirect3D", "null out-pointer");
  mD3D->AddRef();
  *d3d = mD3D;
  return D3D_OK;
}

HRESULT Device::GetDeviceCaps(D3DCAPS9* caps) {
  if (!caps) return invalidCall("GetDeviceCaps", "null caps");
  if (faultInjected(BR_D3D9_FAIL_DEVICE_CAPS)) return invalidCall("GetDeviceCaps", "failure injected");
  brFillCaps(*caps);
  return D3D_OK;
}

HRESULT Device::GetDisplayMode(UINT swapChain, D3DDISPLAYMODE* mode) {
  if (!mode || swapChain != 0) return invalidCall("GetDisplayMode", "bad swap chain or null mode");
  const D3DPRESENT_PARAMETERS& pp = mCore->params();
  if (pp.Windowed) {
    *mode = brDesktopMode();
  } else {
    *mode = {pp.BackBufferWidth, pp.BackBufferHeight,
             pp.FullScreen_RefreshRateInHz ? pp.FullScreen_RefreshRateInHz : 60, D3DFMT_X8R8G8B8};
  }
  return D3D_OK;
}

HRESULT Device::Reset(D3DPRESENT_PARAMETERS* params) {
  drainGraveyard();
  if (!params) return invalidCall("Reset", "null parameters");
  if (mInScene) return invalidCall("Reset", "inside a scene");
  if (faultInjected(BR_D3D9_FAIL_RESET)) return refuse(D3DERR_DEVICELOST, "Reset", "failure injected");
  D3DPRESENT_PARAMETERS pp = *params;
  SDL_Window* window = pp.hDeviceWindow ? brResolveWindow(pp.hDeviceWindow) : mWindow;
  if (window != mWindow) return invalidCall("Reset", "a device cannot move to another window");
  HRESULT hr = brNormalizeParams(pp, mWindow, "Reset");
  if (FAILED(hr)) return hr;
  if (!pp.hDeviceWindow) pp.hDeviceWindow = mCore->params().hDeviceWindow;
  if (!brApplyWindowMode(mWindow, pp)) return refuse(D3DERR_NOTAVAILABLE, "Reset", SDL_GetError());
  std::string error;
  if (!mCore->configure(pp, error)) return refuse(D3DERR_NOTAVAILABLE, "Reset", error.c_str());
  mBackBuffer->width = pp.BackBufferWidth;
  mBackBuffer->height = pp.BackBufferHeight;
  mBackBuffer->format = pp.BackBufferFormat;
  *params = pp;
  return D3D_OK;
}

HRESULT Device::Present(const RECT*, const RECT*, HWND, const RGNDATA*) {
  drainGraveyard();
  if (mInScene) return invalidCall("Present", "inside a scene");
  if (faultInjected(BR_D3D9_FAIL_PRESENT)) return refuse(D3DERR_DEVICELOST, "Present", "failure injected");
  if (!mCore->present()) return refuse(D3DERR_DEVICELOST, "Present", "the context is gone");
  return D3D_OK;
}

HRESULT Device::GetBackBuffer(UINT swapChain, UINT backBuffer, D3DBACKBUFFER_TYPE type, IDirect3DSurface9** surface) {
  if (!surface || swapChain != 0 || backBuffer != 0 || type != D3DBACKBUFFER_TYPE_MONO)
    return invalidCall("GetBackBuffer", "only back buffer 0 of swap chain 0 exists");
  if (faultInjected(BR_D3D9_FAIL_BACK_BUFFER)) return invalidCall("GetBackBuffer", "failure injected");
  mBackBuffer->AddRef();
  *surface = mBackBuffer;
  return D3D_OK;
}

HRESULT Device::CreateTexture(UINT width, UINT height, UINT levels, DWORD usage, D3DFORMAT format, D3DPOOL pool,
                              IDirect3DTexture9** texture, HANDLE* sharedHandle) {
  drainGraveyard();
  const char* where = "CreateTexture";
  if (!texture || sharedHandle) return invalidCall(where, "null out-pointer or a shared handle");
  if (width == 0 || height == 0 || width > kMaxTextureSize || height > kMaxTextureSize)
    return invalidCall(where, "unsupported size");
  if (!isColorFormat(format)) return invalidCall(where, "only A8R8G8B8 and X8R8G8B8 textures");
  if (usage & ~DWORD(D3DUSAGE_DYNAMIC | D3DUSAGE_AUTOGENMIPMAP | D3DUSAGE_WRITEONLY))
    return invalidCall(where, "unsupported usage");
  if (pool > D3DPOOL_SCRATCH) return invalidCall(where, "unknown pool");
  if ((usage & D3DUSAGE_DYNAMIC) && pool == D3DPOOL_MANAGED)
    return invalidCall(where, "dynamic textures cannot be managed");
  UINT chain = 1;
  for (UINT w = width, h = height; w > 1 || h > 1; w = w > 1 ? w / 2 : 1, h = h > 1 ? h / 2 : 1) ++chain;
  if (levels == 0) levels = chain;
  if (levels > chain) return invalidCall(where, "more levels than the mip chain has");
  if (faultInjected(BR_D3D9_FAIL_CREATE_TEXTURE)) return refuse(D3DERR_OUTOFVIDEOMEMORY, where, "failure injected");
  try {
    *texture = new Texture(mCore, width, height, levels, usage, format, pool);
  } catch (const std::bad_alloc&) {
    return refuse(E_OUTOFMEMORY, where, "out of memory");
  }
  return D3D_OK;
}

HRESULT Device::CreateVertexBuffer(UINT length, DWORD usage, DWORD fvf, D3DPOOL pool, IDirect3DVertexBuffer9** buffer,
                                   HANDLE* sharedHandle) {
  drainGraveyard();
  const char* where = "CreateVertexBuffer";
  if (!buffer || sharedHandle) return invalidCall(where, "null out-pointer or a shared handle");
  if (length == 0 || length > kMaxBufferBytes) return invalidCall(where, "unsupported length");
  if (pool > D3DPOOL_SCRATCH) return invalidCall(where, "unknown pool");
  if ((usage & D3DUSAGE_DYNAMIC) && pool == D3DPOOL_MANAGED)
    return invalidCall(where, "dynamic buffers cannot be managed");
  if (faultInjected(BR_D3D9_FAIL_CREATE_VERTEX_BUFFER))
    return refuse(D3DERR_OUTOFVIDEOMEMORY, where, "failure injected");
  VertexBuffer* vb = new VertexBuffer(mCore, length, usage, fvf, pool);
  if (!createStore(vb->store, mCore, GL_ARRAY_BUFFER, length)) {
    vb->Release();
    return refuse(D3DERR_OUTOFVIDEOMEMORY, where, "OpenGL refused the buffer");
  }
  *buffer = vb;
  return D3D_OK;
}

HRESULT Device::CreateIndexBuffer(UINT length, DWORD usage, D3DFORMAT format, D3DPOOL pool,
                                  IDirect3DIndexBuffer9** buffer, HANDLE* sharedHandle) {
  drainGraveyard();
  const char* where = "CreateIndexBuffer";
  if (!buffer || sharedHandle) return invalidCall(where, "null out-pointer or a shared handle");
  if (format != D3DFMT_INDEX16 && format != D3DFMT_INDEX32) return invalidCall(where, "unknown index format");
  if (length == 0 || length > kMaxBufferBytes) return invalidCall(where, "unsupported length");
  if (pool > D3DPOOL_SCRATCH) return invalidCall(where, "unknown pool");
  if ((usage & D3DUSAGE_DYNAMIC) && pool == D3DPOOL_MANAGED)
    return invalidCall(where, "dynamic buffers cannot be managed");
  if (faultInjected(BR_D3D9_FAIL_CREATE_INDEX_BUFFER))
    return refuse(D3DERR_OUTOFVIDEOMEMORY, where, "failure injected");
  IndexBuffer* ib = new IndexBuffer(mCore, length, usage, format, pool);
  if (!createStore(ib->store, mCore, GL_ELEMENT_ARRAY_BUFFER, length)) {
    ib->Release();
    return refuse(D3DERR_OUTOFVIDEOMEMORY, where, "OpenGL refused the buffer");
  }
  *buffer = ib;
  return D3D_OK;
}

HRESULT Device::CreateOffscreenPlainSurface(UINT width, UINT height, D3DFORMAT format, D3DPOOL pool,
                                            IDirect3DSurface9** surface, HANDLE* sharedHandle) {
  drainGraveyard();
  const char* where = "CreateOffscreenPlainSurface";
  if (!surface || sharedHandle) return invalidCall(where, "null out-pointer or a shared handle");
  if (width == 0 || height == 0 || width > kMaxTextureSize || height > kMaxTextureSize)
    return invalidCall(where, "unsupported size");
  if (!isColorFormat(format)) return invalidCall(where, "only A8R8G8B8 and X8R8G8B8 surfaces");
  if (pool == D3DPOOL_MANAGED || pool > D3DPOOL_SCRATCH) return invalidCall(where, "unsupported pool");
  if (faultInjected(BR_D3D9_FAIL_OFFSCREEN_SURFACE)) return refuse(D3DERR_OUTOFVIDEOMEMORY, where, "failure injected");
  try {
    *surface = new Surface(mCore, width, height, format, pool, false);
  } catch (const std::bad_alloc&) {
    return refuse(E_OUTOFMEMORY, where, "out of memory");
  }
  return D3D_OK;
}

HRESULT Device::GetFrontBufferData(UINT swapChain, IDirect3DSurface9* surface) {
  drainGraveyard();
  const char* where = "GetFrontBufferData";
  Surface* s = dynamic_cast<Surface*>(surface);
  if (swapChain != 0 || !s || s->backBuffer) return invalidCall(where, "needs swap chain 0 and an off-screen surface");
  if (s->format != D3DFMT_A8R8G8B8) return invalidCall(where, "the surface must be A8R8G8B8");
  if (s->locked) return invalidCall(where, "the surface is locked");
  if (faultInjected(BR_D3D9_FAIL_FRONT_BUFFER)) return invalidCall(where, "failure injected");
  mCore->readFront(s->texels.data(), s->width, s->height, INT(s->width * 4));
  return D3D_OK;
}

HRESULT Device::BeginScene() {
  drainGraveyard();
  if (mInScene) return invalidCall("BeginScene", "already inside a scene");
  mInScene = true;
  return D3D_OK;
}

HRESULT Device::EndScene() {
  if (!mInScene) return invalidCall("EndScene", "not inside a scene");
  mInScene = false;
  if (faultInjected(BR_D3D9_FAIL_END_SCENE)) return invalidCall("EndScene", "failure injected");
  return D3D_OK;
}

HRESULT Device::Clear(DWORD count, const D3DRECT* rects, DWORD flags, D3DCOLOR color, float z, DWORD stencil) {
  drainGraveyard();
  const char* where = "Clear";
  if ((count == 0) != (rects == nullptr)) return invalidCall(where, "rectangles and their count disagree");
  if (flags == 0 || (flags & ~DWORD(D3DCLEAR_TARGET | D3DCLEAR_ZBUFFER | D3DCLEAR_STENCIL)))
    return invalidCall(where, "bad flags");
  if ((flags & (D3DCLEAR_ZBUFFER | D3DCLEAR_STENCIL)) && !mCore->params().EnableAutoDepthStencil)
    return invalidCall(where, "no depth-stencil buffer to clear");
  if (faultInjected(BR_D3D9_FAIL_CLEAR)) return invalidCall(where, "failure injected");
  mCore->clear(count, rects, flags, color, z, stencil);
  return D3D_OK;
}

HRESULT Device::SetViewport(const D3DVIEWPORT9* vp) {
  const D3DPRESENT_PARAMETERS& pp = mCore->params();
  if (!vp || vp->Width == 0 || vp->Height == 0 || uint64_t(vp->X) + vp->Width > pp.BackBufferWidth ||
      uint64_t(vp->Y) + vp->Height > pp.BackBufferHeight ||
      !(vp->MinZ >= 0.0f && vp->MaxZ <= 1.0f && vp->MinZ <= vp->MaxZ))
    return invalidCall("SetViewport", "viewport outside the back buffer");
  mCore->state.viewport = *vp;
  mCore->dirty |= kDirtyViewport;
  ++mCore->fixedSerial;
  return D3D_OK;
}

HRESULT Device::GetViewport(D3DVIEWPORT9* vp) {
  if (!vp) return invalidCall("GetViewport", "null viewport");
  *vp = mCore->state.viewport;
  return D3D_OK;
}

HRESULT Device::SetRenderState(D3DRENDERSTATETYPE state, DWORD value) {
  if (DWORD(state) >= kRenderStates) return invalidCall("SetRenderState", "unknown render state");
  DWORD& slot = mCore->state.rs[state];
  if (slot == value) return D3D_OK;
  slot = value;
  switch (state) {
    case D3DRS_ZENABLE:
    case D3DRS_ZWRITEENABLE:
    case D3DRS_ZFUNC:
    case D3DRS_ALPHABLENDENABLE:
    case D3DRS_SRCBLEND:
    case D3DRS_DESTBLEND:
    case D3DRS_BLENDOP:
    case D3DRS_CULLMODE:
    case D3DRS_COLORWRITEENABLE:
    case D3DRS_FILLMODE: mCore->dirty |= kDirtyRaster; break;
    case D3DRS_ALPHATESTENABLE:
    case D3DRS_ALPHAFUNC: mCore->dirty |= kDirtyProgram; break;
    case D3DRS_ALPHAREF:
    case D3DRS_TEXTUREFACTOR: ++mCore->fixedSerial; break;
    default: break;  // recorded; nothing of it reaches OpenGL
  }
  return D3D_OK;
}

HRESULT Device::GetRenderState(D3DRENDERSTATETYPE state, DWORD* value) {
  if (!value || DWORD(state) >= kRenderStates) return invalidCall("GetRenderState", "unknown state or null value");
  *value = mCore->state.rs[state];
  return D3D_OK;
}

HRESULT Device::SetTexture(DWORD stage, IDirect3DBaseTexture9* texture) {
  if (stage >= kDeviceStages) return invalidCall("SetTexture", "stage out of range");
  Texture* t = nullptr;
  if (texture) {
    t = ownObject<Texture>(texture, mCore->state.textures[stage]);
    if (!t || t->core != mCore) return invalidCall("SetTexture", "not a texture of this device");
    if (!t->gl) return invalidCall("SetTexture", "system-memory textures cannot be bound");
  }
  if (mCore->state.textures[stage] != t) {
    mCore->state.textures[stage] = t;
    mCore->dirtyTextures |= 1u << stage;
  }
  return D3D_OK;
}

HRESULT Device::GetTextureStageState(DWORD stage, D3DTEXTURESTAGESTATETYPE type, DWORD* value) {
  if (!value || stage >= kDeviceStages || DWORD(type) >= kStageStates)
    return invalidCall("GetTextureStageState", "bad stage or state");
  *value = mCore->state.tss[stage][type];
  return D3D_OK;
}

HRESULT Device::SetTextureStageState(DWORD stage, D3DTEXTURESTAGESTATETYPE type, DWORD value) {
  if (stage >= kDeviceStages || DWORD(type) == 0 || DWORD(type) >= kStageStates)
    return invalidCall("SetTextureStageState", "bad stage or state");
  DWORD& slot = mCore->state.tss[stage][type];
  if (slot == value) return D3D_OK;
  slot = value;
  if (stage < kFsStages) {
    switch (type) {
      case D3DTSS_COLOROP:
      case D3DTSS_COLORARG0:
      case D3DTSS_COLORARG1:
      case D3DTSS_COLORARG2:
      case D3DTSS_ALPHAOP:
      case D3DTSS_ALPHAARG0:
      case D3DTSS_ALPHAARG1:
      case D3DTSS_ALPHAARG2:
      case D3DTSS_TEXCOORDINDEX: mCore->dirty |= kDirtyProgram; break;
      default: break;
    }
  }
  return D3D_OK;
}

HRESULT Device::GetSamplerState(DWORD sampler, D3DSAMPLERSTATETYPE type, DWORD* value) {
  if (!value || sampler >= kDeviceStages || DWORD(type) >= kSamplerStates)
    return invalidCall("GetSamplerState", "bad sampler or state");
  *value = mCore->state.samp[sampler][type];
  return D3D_OK;
}

HRESULT Device::SetSamplerState(DWORD sampler, D3DSAMPLERSTATETYPE type, DWORD value) {
  if (sampler >= kDeviceStages || DWORD(type) == 0 || DWORD(type) >= kSamplerStates)
    return invalidCall("SetSamplerState", "bad sampler or state");
  if (faultInjected(BR_D3D9_FAIL_SAMPLER_STATE)) return invalidCall("SetSamplerState", "failure injected");
  DWORD& slot = mCore->state.samp[sampler][type];
  if (slot != value) {
    slot = value;
    mCore->dirtySamplers |= 1u << sampler;
  }
  return D3D_OK;
}

HRESULT Device::DrawPrimitive(D3DPRIMITIVETYPE type, UINT startVertex, UINT primitiveCount) {
  drainGraveyard();
  if (!mInScene) return invalidCall("DrawPrimitive", "outside a scene");
  if (faultInjected(BR_D3D9_FAIL_DRAW)) return invalidCall("DrawPrimitive", "failure injected");
  return mCore->draw(type, startVertex, primitiveCount);
}

HRESULT Device::DrawIndexedPrimitive(D3DPRIMITIVETYPE type, INT baseVertexIndex, UINT minVertexIndex, UINT numVertices,
                                     UINT startIndex, UINT primitiveCount) {
  drainGraveyard();
  if (!mInScene) return invalidCall("DrawIndexedPrimitive", "outside a scene");
  if (faultInjected(BR_D3D9_FAIL_DRAW)) return invalidCall("DrawIndexedPrimitive", "failure injected");
  return mCore->drawIndexed(type, baseVertexIndex, minVertexIndex, numVertices, startIndex, primitiveCount);
}

HRESULT Device::CreateVertexDeclaration(const D3DVERTEXELEMENT9* elements, IDirect3DVertexDeclaration9** declaration) {
  drainGraveyard();
  const char* where = "CreateVertexDeclaration";
  if (!elements || !declaration) return invalidCall(where, "null elements or out-pointer");
  if (faultInjected(BR_D3D9_FAIL_CREATE_DECLARATION)) return invalidCall(where, "failure injected");
  std::vector<D3DVERTEXELEMENT9> list;
  for (UINT i = 0;; ++i) {
    if (i > MAXD3DDECLLENGTH) return invalidCall(where, "no end marker within 64 elements");
    const D3DVERTEXELEMENT9& e = elements[i];
    if (e.Stream == 0xFF) break;
    if (e.Stream >= kStreams) return invalidCall(where, "stream out of range");
    if (brDeclTypeSize(e.Type) == 0) return invalidCall(where, "unsupported element type");
    if (e.Method != D3DDECLMETHOD_DEFAULT) return invalidCall(where, "only the default method");
    if (e.Usage > D3DDECLUSAGE_SAMPLE || e.UsageIndex > 15) return invalidCall(where, "bad usage");
    for (const D3DVERTEXELEMENT9& o : list)
      if (o.Usage == e.Usage && o.UsageIndex == e.UsageIndex) return invalidCall(where, "usage listed twice");
    list.push_back(e);
  }
  *declaration = new VertexDeclaration(mCore, std::move(list));
  return D3D_OK;
}

HRESULT Device::SetVertexDeclaration(IDirect3DVertexDeclaration9* declaration) {
  VertexDeclaration* d = nullptr;
  if (declaration) {
    d = ownObject<VertexDeclaration>(declaration, mCore->state.declaration);
    if (!d || d->core != mCore) return invalidCall("SetVertexDeclaration", "not a declaration of this device");
  }
  VertexDeclaration*& slot = mCore->state.declaration;
  if (slot == d) return D3D_OK;
  if (!slot || !d || slot->pretransformed != d->pretransformed) mCore->dirty |= kDirtyProgram;
  slot = d;
  mCore->dirty |= kDirtyInputs;
  return D3D_OK;
}

HRESULT Device::CreateVertexShader(const DWORD* function, IDirect3DVertexShader9** shader) {
  drainGraveyard();
  const char* where = "CreateVertexShader";
  if (!function || !shader) return invalidCall(where, "null tokens or out-pointer");
  if (faultInjected(BR_D3D9_FAIL_CREATE_SHADER)) return invalidCall(where, "failure injected");
  VsProgram program;
  size_t count = 0;
  std::string error;
  if (!brVsDecode(function, kVsMaxTokens, program, count, error)) return invalidCall(where, error.c_str());
  VertexShader* s = new VertexShader(mCore, std::vector<DWORD>(function, function + count), std::move(program));
  if (!mCore->compileVertexShader(s, error)) {
    s->Release();
    return invalidCall(where, error.c_str());
  }
  *shader = s;
  return D3D_OK;
}

HRESULT Device::SetVertexShader(IDirect3DVertexShader9* shader) {
  VertexShader* s = nullptr;
  if (shader) {
    s = ownObject<VertexShader>(shader, mCore->state.shader);
    if (!s || s->core != mCore) return invalidCall("SetVertexShader", "not a shader of this device");
  }
  if (mCore->state.shader != s) {
    mCore->state.shader = s;
    mCore->dirty |= kDirtyProgram | kDirtyInputs;
  }
  return D3D_OK;
}

HRESULT Device::SetVertexShaderConstantF(UINT start, const float* data, UINT count) {
  if (uint64_t(start) + count > kVsConstRegisters || (!data && count))
    return invalidCall("SetVertexShaderConstantF", "registers beyond the 96 of vs_1_1");
  float* dst = mCore->state.constants + size_t(start) * 4;
  if (count && std::memcmp(dst, data, size_t(count) * 16) != 0) {
    std::memcpy(dst, data, size_t(count) * 16);
    mCore->constantsChanged(start, count);
  }
  return D3D_OK;
}

HRESULT Device::GetVertexShaderConstantF(UINT start, float* data, UINT count) {
  if (uint64_t(start) + count > kVsConstRegisters || (!data && count))
    return invalidCall("GetVertexShaderConstantF", "registers beyond the 96 of vs_1_1");
  if (count) std::memcpy(data, mCore->state.constants + size_t(start) * 4, size_t(count) * 16);
  return D3D_OK;
}

HRESULT Device::SetStreamSource(UINT stream, IDirect3DVertexBuffer9* buffer, UINT offset, UINT stride) {
  if (stream >= kStreams) return invalidCall("SetStreamSource", "stream out of range");
  VertexBuffer* vb = nullptr;
  if (buffer) {
    vb = ownObject<VertexBuffer>(buffer, mCore->state.streams[stream].buffer);
    if (!vb || vb->core != mCore) return invalidCall("SetStreamSource", "not a vertex buffer of this device");
    if (stride > 2048) return invalidCall("SetStreamSource", "stride too large");
  }
  StreamBinding& b = mCore->state.streams[stream];
  if (b.buffer != vb || b.offset != offset || b.stride != stride) {
    b = {vb, offset, stride};
    mCore->dirty |= kDirtyInputs;
  }
  return D3D_OK;
}

HRESULT Device::SetIndices(IDirect3DIndexBuffer9* indices) {
  IndexBuffer* ib = nullptr;
  if (indices) {
    ib = ownObject<IndexBuffer>(indices, mCore->state.indices);
    if (!ib || ib->core != mCore) return invalidCall("SetIndices", "not an index buffer of this device");
  }
  if (mCore->state.indices != ib) {
    mCore->state.indices = ib;
    mCore->dirty |= kDirtyIndices;
  }
  return D3D_OK;
}

}  // namespace brd3d9
