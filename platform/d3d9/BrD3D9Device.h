// The device's API object: checks each call's arguments and forwards to the OpenGL core.
#pragma once

#include "platform/d3d9/BrD3D9Core.h"
#include "platform/d3d9/BrD3D9Internal.h"

struct SDL_Window;

namespace brd3d9 {

class Direct3D;
class Surface;

class Device final : public RefCounted<IDirect3DDevice9>, public Buried {
public:
  Device(Direct3D* d3d, Core* core, SDL_Window* window, const D3DPRESENT_PARAMETERS& params);

  // Gives out the device of a core with a reference added, for the resources' GetDevice.
  static HRESULT handOut(Core* core, IDirect3DDevice9** device);

  HRESULT TestCooperativeLevel() override { return D3D_OK; }
  HRESULT GetDirect3D(IDirect3D9** d3d) override;
  HRESULT GetDeviceCaps(D3DCAPS9* caps) override;
  HRESULT GetDisplayMode(UINT swapChain, D3DDISPLAYMODE* mode) override;
  HRESULT Reset(D3DPRESENT_PARAMETERS* params) override;
  HRESULT Present(const RECT* sourceRect, const RECT* destRect, HWND destWindowOverride,
                  const RGNDATA* dirtyRegion) override;
  HRESULT GetBackBuffer(UINT swapChain, UINT backBuffer, D3DBACKBUFFER_TYPE type, IDirect3DSurface9** surface) override;
  HRESULT CreateTexture(UINT width, UINT height, UINT levels, DWORD usage, D3DFORMAT format, D3DPOOL pool,
                        IDirect3DTexture9** texture, HANDLE* sharedHandle) override;
  HRESULT CreateVertexBuffer(UINT length, DWORD usage, DWORD fvf, D3DPOOL pool, IDirect3DVertexBuffer9** buffer,
                             HANDLE* sharedHandle) override;
  HRESULT CreateIndexBuffer(UINT length, DWORD usage, D3DFORMAT format, D3DPOOL pool, IDirect3DIndexBuffer9** buffer,
                            HANDLE* sharedHandle) override;
  HRESULT CreateOffscreenPlainSurface(UINT width, UINT height, D3DFORMAT format, D3DPOOL pool,
                                      IDirect3DSurface9** surface, HANDLE* sharedHandle) override;
  HRESULT GetFrontBufferData(UINT swapChain, IDirect3DSurface9* surface) override;
  HRESULT BeginScene() override;
  HRESULT EndScene() override;
  HRESULT Clear(DWORD count, const D3DRECT* rects, DWORD flags, D3DCOLOR color, float z, DWORD stencil) override;
  HRESULT SetViewport(const D3DVIEWPORT9* viewport) override;
  HRESULT GetViewport(D3DVIEWPORT9* viewport) override;
  HRESULT SetRenderState(D3DRENDERSTATETYPE state, DWORD value) override;
  HRESULT GetRenderState(D3DRENDERSTATETYPE state, DWORD* value) override;
  HRESULT SetTexture(DWORD stage, IDirect3DBaseTexture9* texture) override;
  HRESULT GetTextureStageState(DWORD stage, D3DTEXTURESTAGESTATETYPE type, DWORD* value) override;
  HRESULT SetTextureStageState(DWORD stage, D3DTEXTURESTAGESTATETYPE type, DWORD value) override;
  HRESULT GetSamplerState(DWORD sampler, D3DSAMPLERSTATETYPE type, DWORD* value) override;
  HRESULT SetSamplerState(DWORD sampler, D3DSAMPLERSTATETYPE type, DWORD value) override;
  HRESULT DrawPrimitive(D3DPRIMITIVETYPE type, UINT startVertex, UINT primitiveCount) override;
  HRESULT DrawIndexedPrimitive(D3DPRIMITIVETYPE type, INT baseVertexIndex, UINT minVertexIndex, UINT numVertices,
                               UINT startIndex, UINT primitiveCount) override;
  HRESULT CreateVertexDeclaration(const D3DVERTEXELEMENT9* elements,
                                  IDirect3DVertexDeclaration9** declaration) override;
  HRESULT SetVertexDeclaration(IDirect3DVertexDeclaration9* declaration) override;
  HRESULT CreateVertexShader(const DWORD* function, IDirect3DVertexShader9** shader) override;
  HRESULT SetVertexShader(IDirect3DVertexShader9* shader) override;
  HRESULT SetVertexShaderConstantF(UINT startRegister, const float* data, UINT count) override;
  HRESULT GetVertexShaderConstantF(UINT startRegister, float* data, UINT count) override;
  HRESULT SetStreamSource(UINT stream, IDirect3DVertexBuffer9* buffer, UINT offsetInBytes, UINT stride) override;
  HRESULT SetIndices(IDirect3DIndexBuffer9* indices) override;

protected:
  void finalRelease() override;

private:
  Direct3D* mD3D;
  Core* mCore;
  SDL_Window* mWindow;
  Surface* mBackBuffer;
  bool mInScene = false;
};

// Completes and checks present parameters for a window (zero sizes take the window's, an unknown
// format the desktop's). D3D_OK or D3DERR_INVALIDCALL with the reason.
HRESULT brNormalizeParams(D3DPRESENT_PARAMETERS& params, SDL_Window* window, const char* where);
// Puts the window in full screen at the back buffer's size, or back in a window. False when SDL refuses.
bool brApplyWindowMode(SDL_Window* window, const D3DPRESENT_PARAMETERS& params);

}  // namespace brd3d9
