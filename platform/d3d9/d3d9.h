// The Direct3D 9 interfaces of our layer on OpenGL: the Direct3D object, the device and its resources.
#pragma once

#include "platform/d3d9/d3d9types.h"

class IDirect3D9;
class IDirect3DDevice9;

// The reference-counting face every interface shares. AddRef and Release return the count left;
// the release that reaches 0 gives the object up (and unbinds it from the device).
class IUnknown {
public:
  virtual ULONG AddRef() = 0;
  virtual ULONG Release() = 0;

protected:
  virtual ~IUnknown() = default;
};

// What buffers, textures and surfaces share: the device that made them and their kind.
class IDirect3DResource9 : public IUnknown {
public:
  // The creating device, with a reference added; D3DERR_INVALIDCALL for a null out-pointer.
  virtual HRESULT GetDevice(IDirect3DDevice9** device) = 0;
  virtual D3DRESOURCETYPE GetType() = 0;
};

// A texture of any shape; here only 2D textures exist.
class IDirect3DBaseTexture9 : public IDirect3DResource9 {
public:
  // The number of mip levels the texture was made with.
  virtual DWORD GetLevelCount() = 0;
};

// A 2D image in system memory or standing for the back buffer.
class IDirect3DSurface9 : public IDirect3DResource9 {
public:
  virtual HRESULT GetDesc(D3DSURFACE_DESC* desc) = 0;
  // Locks the whole surface or a rectangle inside it; the pitch is the width times 4. The back buffer
  // cannot be locked (D3DERR_INVALIDCALL), nor can a surface that is locked already.
  virtual HRESULT LockRect(D3DLOCKED_RECT* locked, const RECT* rect, DWORD flags) = 0;
  virtual HRESULT UnlockRect() = 0;
};

// A 2D texture with its mip levels, A8R8G8B8 or X8R8G8B8.
class IDirect3DTexture9 : public IDirect3DBaseTexture9 {
public:
  // The format, size and pool of one level; D3DERR_INVALIDCALL for a level the texture does not have.
  virtual HRESULT GetLevelDesc(UINT level, D3DSURFACE_DESC* desc) = 0;
  // Locks a level (or a rectangle of it) for reading and writing; the pitch is the level's width times 4.
  // The texels reach the GPU at the next draw that uses the texture after UnlockRect.
  virtual HRESULT LockRect(UINT level, D3DLOCKED_RECT* locked, const RECT* rect, DWORD flags) = 0;
  virtual HRESULT UnlockRect(UINT level) = 0;
};

// Vertex data. Lock with D3DLOCK_DISCARD gives fresh storage (earlier contents are undefined), with
// D3DLOCK_NOOVERWRITE promises not to touch data that queued draws still read.
class IDirect3DVertexBuffer9 : public IDirect3DResource9 {
public:
  // Locks bytes [offset, offset + size) (size 0: to the end); fails when the range leaves the buffer.
  virtual HRESULT Lock(UINT offset, UINT size, void** data, DWORD flags) = 0;
  virtual HRESULT Unlock() = 0;
  virtual HRESULT GetDesc(D3DVERTEXBUFFER_DESC* desc) = 0;
};

// Index data of 16 or 32 bits; locking as for vertex buffers.
class IDirect3DIndexBuffer9 : public IDirect3DResource9 {
public:
  virtual HRESULT Lock(UINT offset, UINT size, void** data, DWORD flags) = 0;
  virtual HRESULT Unlock() = 0;
  virtual HRESULT GetDesc(D3DINDEXBUFFER_DESC* desc) = 0;
};

// A vs_1_1 vertex shader made from assembled tokens.
class IDirect3DVertexShader9 : public IUnknown {
public:
  virtual HRESULT GetDevice(IDirect3DDevice9** device) = 0;
  // Copies the tokens into data when it is not null; *size always receives their size in bytes.
  virtual HRESULT GetFunction(void* data, UINT* size) = 0;
};

// The layout of vertices in the streams: one element per input.
class IDirect3DVertexDeclaration9 : public IUnknown {
public:
  virtual HRESULT GetDevice(IDirect3DDevice9** device) = 0;
  // Copies the elements, end marker included, when elements is not null; *count receives their number.
  virtual HRESULT GetDeclaration(D3DVERTEXELEMENT9* elements, UINT* count) = 0;
};

// The rendering device: shadow state recorded by the Set calls and sent to OpenGL at each draw.
// Everything fails with D3DERR_INVALIDCALL on bad arguments, and nothing throws.
class IDirect3DDevice9 : public IUnknown {
public:
  // D3D_OK: this device is never lost.
  virtual HRESULT TestCooperativeLevel() = 0;
  virtual HRESULT GetDirect3D(IDirect3D9** d3d) = 0;
  virtual HRESULT GetDeviceCaps(D3DCAPS9* caps) = 0;
  // The display mode of the swap chain: the desktop's when windowed, the back buffer's when full screen.
  virtual HRESULT GetDisplayMode(UINT swapChain, D3DDISPLAYMODE* mode) = 0;
  // Resizes the back buffer, switches between window and full screen and returns every state to its
  // default; resources survive. Fails inside a scene.
  virtual HRESULT Reset(D3DPRESENT_PARAMETERS* params) = 0;
  // Shows the back buffer in the window; the frame shown becomes the front buffer. Fails inside a scene.
  virtual HRESULT Present(const RECT* sourceRect, const RECT* destRect, HWND destWindowOverride,
                          const RGNDATA* dirtyRegion) = 0;
  // The back buffer as a surface (not lockable), with a reference added.
  virtual HRESULT GetBackBuffer(UINT swapChain, UINT backBuffer, D3DBACKBUFFER_TYPE type,
                                IDirect3DSurface9** surface) = 0;
  virtual HRESULT CreateTexture(UINT width, UINT height, UINT levels, DWORD usage, D3DFORMAT format, D3DPOOL pool,
                                IDirect3DTexture9** texture, HANDLE* sharedHandle) = 0;
  virtual HRESULT CreateVertexBuffer(UINT length, DWORD usage, DWORD fvf, D3DPOOL pool, IDirect3DVertexBuffer9** buffer,
                                     HANDLE* sharedHandle) = 0;
  virtual HRESULT CreateIndexBuffer(UINT length, DWORD usage, D3DFORMAT format, D3DPOOL pool,
                                    IDirect3DIndexBuffer9** buffer, HANDLE* sharedHandle) = 0;
  virtual HRESULT CreateOffscreenPlainSurface(UINT width, UINT height, D3DFORMAT format, D3DPOOL pool,
                                              IDirect3DSurface9** surface, HANDLE* sharedHandle) = 0;
  // Copies the last presented frame into an A8R8G8B8 surface at its top left (black before any Present).
  virtual HRESULT GetFrontBufferData(UINT swapChain, IDirect3DSurface9* surface) = 0;
  virtual HRESULT BeginScene() = 0;
  virtual HRESULT EndScene() = 0;
  virtual HRESULT Clear(DWORD count, const D3DRECT* rects, DWORD flags, D3DCOLOR color, float z, DWORD stencil) = 0;
  virtual HRESULT SetViewport(const D3DVIEWPORT9* viewport) = 0;
  virtual HRESULT GetViewport(D3DVIEWPORT9* viewport) = 0;
  virtual HRESULT SetRenderState(D3DRENDERSTATETYPE state, DWORD value) = 0;
  virtual HRESULT GetRenderState(D3DRENDERSTATETYPE state, DWORD* value) = 0;
  // Binds a texture (or null) to a stage; the texture keeps no extra reference for it.
  virtual HRESULT SetTexture(DWORD stage, IDirect3DBaseTexture9* texture) = 0;
  virtual HRESULT GetTextureStageState(DWORD stage, D3DTEXTURESTAGESTATETYPE type, DWORD* value) = 0;
  virtual HRESULT SetTextureStageState(DWORD stage, D3DTEXTURESTAGESTATETYPE type, DWORD value) = 0;
  virtual HRESULT GetSamplerState(DWORD sampler, D3DSAMPLERSTATETYPE type, DWORD* value) = 0;
  virtual HRESULT SetSamplerState(DWORD sampler, D3DSAMPLERSTATETYPE type, DWORD value) = 0;
  // Draws from the streams through the vertex shader; only inside a scene.
  virtual HRESULT DrawPrimitive(D3DPRIMITIVETYPE type, UINT startVertex, UINT primitiveCount) = 0;
  // Draws with the bound indices, each offset by baseVertexIndex; the indices must lie in
  // [minVertexIndex, minVertexIndex + numVertices).
  virtual HRESULT DrawIndexedPrimitive(D3DPRIMITIVETYPE type, INT baseVertexIndex, UINT minVertexIndex,
                                       UINT numVertices, UINT startIndex, UINT primitiveCount) = 0;
  virtual HRESULT CreateVertexDeclaration(const D3DVERTEXELEMENT9* elements,
                                          IDirect3DVertexDeclaration9** declaration) = 0;
  virtual HRESULT SetVertexDeclaration(IDirect3DVertexDeclaration9* declaration) = 0;
  // Makes a vertex shader from vs_1_1 tokens (D3DXAssembleShader's output), translated to GLSL.
  virtual HRESULT CreateVertexShader(const DWORD* function, IDirect3DVertexShader9** shader) = 0;
  virtual HRESULT SetVertexShader(IDirect3DVertexShader9* shader) = 0;
  // Sets count float4 constants from startRegister; registers beyond the 96 of vs_1_1 fail.
  virtual HRESULT SetVertexShaderConstantF(UINT startRegister, const float* data, UINT count) = 0;
  virtual HRESULT GetVertexShaderConstantF(UINT startRegister, float* data, UINT count) = 0;
  virtual HRESULT SetStreamSource(UINT stream, IDirect3DVertexBuffer9* buffer, UINT offsetInBytes, UINT stride) = 0;
  virtual HRESULT SetIndices(IDirect3DIndexBuffer9* indices) = 0;
};

// The Direct3D object: one adapter (the OpenGL display), the hardware device type only.
class IDirect3D9 : public IUnknown {
public:
  virtual UINT GetAdapterCount() = 0;
  virtual HRESULT GetAdapterIdentifier(UINT adapter, DWORD flags, D3DADAPTER_IDENTIFIER9* identifier) = 0;
  // Modes exist only for D3DFMT_X8R8G8B8: 640x480 up to 1920x1080 and the desktop's own size.
  virtual UINT GetAdapterModeCount(UINT adapter, D3DFORMAT format) = 0;
  virtual HRESULT EnumAdapterModes(UINT adapter, D3DFORMAT format, UINT mode, D3DDISPLAYMODE* displayMode) = 0;
  virtual HRESULT GetAdapterDisplayMode(UINT adapter, D3DDISPLAYMODE* mode) = 0;
  virtual HRESULT CheckDeviceType(UINT adapter, D3DDEVTYPE type, D3DFORMAT adapterFormat, D3DFORMAT backBufferFormat,
                                  BOOL windowed) = 0;
  virtual HRESULT CheckDeviceFormat(UINT adapter, D3DDEVTYPE type, D3DFORMAT adapterFormat, DWORD usage,
                                    D3DRESOURCETYPE resourceType, D3DFORMAT checkFormat) = 0;
  virtual HRESULT CheckDepthStencilMatch(UINT adapter, D3DDEVTYPE type, D3DFORMAT adapterFormat,
                                         D3DFORMAT renderTargetFormat, D3DFORMAT depthStencilFormat) = 0;
  virtual HRESULT GetDeviceCaps(UINT adapter, D3DDEVTYPE type, D3DCAPS9* caps) = 0;
  // Creates the device on the SDL window behind focusWindow (or params->hDeviceWindow), with an OpenGL
  // 3.3 core context of its own. D3DERR_NOTAVAILABLE when no context can be made.
  virtual HRESULT CreateDevice(UINT adapter, D3DDEVTYPE type, HWND focusWindow, DWORD behaviorFlags,
                               D3DPRESENT_PARAMETERS* params, IDirect3DDevice9** device) = 0;
};

typedef IDirect3D9* LPDIRECT3D9;
typedef IDirect3DDevice9* LPDIRECT3DDEVICE9;
typedef IDirect3DBaseTexture9* LPDIRECT3DBASETEXTURE9;
typedef IDirect3DTexture9* LPDIRECT3DTEXTURE9;
typedef IDirect3DSurface9* LPDIRECT3DSURFACE9;
typedef IDirect3DVertexBuffer9* LPDIRECT3DVERTEXBUFFER9;
typedef IDirect3DIndexBuffer9* LPDIRECT3DINDEXBUFFER9;
typedef IDirect3DVertexShader9* LPDIRECT3DVERTEXSHADER9;
typedef IDirect3DVertexDeclaration9* LPDIRECT3DVERTEXDECLARATION9;

// Creates the Direct3D object; null when sdkVersion is not D3D_SDK_VERSION or SDL video cannot start.
IDirect3D9* Direct3DCreate9(UINT sdkVersion);
