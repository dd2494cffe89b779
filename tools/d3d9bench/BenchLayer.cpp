// The benchmark scene drawn through the Direct3D 9 layer, the way the rendering device draws a frame.
#include <SDL2/SDL.h>

#include <cstring>
#include <ctime>

#include "platform/d3d9/d3d9.h"
#include "platform/d3d9/d3d9_testing.h"
#include "platform/d3dx9/d3dx9.h"
#include "tools/d3d9bench/BenchPaths.h"
#include "tools/d3d9bench/BenchScene.h"

namespace bench {
namespace {

template <class T>
void release(T*& p) {
  if (p)
    while (p->Release() > 0) {
    }
  p = nullptr;
}

IDirect3DVertexShader9* shader(IDirect3DDevice9* d, const char* text) {
  ID3DXBuffer* code = nullptr;
  if (FAILED(D3DXAssembleShader(text, UINT(std::strlen(text)), nullptr, nullptr, 0, &code, nullptr))) return nullptr;
  IDirect3DVertexShader9* s = nullptr;
  d->CreateVertexShader(static_cast<const DWORD*>(code->GetBufferPointer()), &s);
  code->Release();
  return s;
}

void transposed(const float in[16], float out[16]) {
  for (int i = 0; i < 4; ++i)
    for (int j = 0; j < 4; ++j) out[i * 4 + j] = in[j * 4 + i];
}

}  // namespace

IDirect3DDevice9* makeBenchDevice(IDirect3D9* d3d, HWND window) {
  D3DPRESENT_PARAMETERS pp;
  std::memset(&pp, 0, sizeof pp);
  pp.BackBufferWidth = kWidth;
  pp.BackBufferHeight = kHeight;
  pp.BackBufferFormat = D3DFMT_X8R8G8B8;
  pp.BackBufferCount = 1;
  pp.SwapEffect = D3DSWAPEFFECT_DISCARD;
  pp.hDeviceWindow = window;
  pp.Windowed = TRUE;
  pp.EnableAutoDepthStencil = TRUE;
  pp.AutoDepthStencilFormat = D3DFMT_D24X8;
  pp.PresentationInterval = D3DPRESENT_INTERVAL_IMMEDIATE;
  IDirect3DDevice9* d = nullptr;
  if (FAILED(d3d->CreateDevice(0, D3DDEVTYPE_HAL, window, D3DCREATE_HARDWARE_VERTEXPROCESSING, &pp, &d)))
    return nullptr;
  return d;
}

Result runLayer(HWND window, int frames) {
  Result result;
  IDirect3D9* d3d = Direct3DCreate9(D3D_SDK_VERSION);
  if (!d3d) return result.error = "no Direct3D object", result;
  IDirect3DDevice9* d = makeBenchDevice(d3d, window);
  if (!d) {
    result.error = std::string("CreateDevice: ") + brD3D9LastError();
    release(d3d);
    return result;
  }
  // Resources.
  IDirect3DTexture9* tex[kTextures] = {};
  for (int k = 0; k < kTextures; ++k) {
    d->CreateTexture(kTextureSize, kTextureSize, 1, 0, D3DFMT_A8R8G8B8, D3DPOOL_MANAGED, &tex[k], nullptr);
    D3DLOCKED_RECT r;
    tex[k]->LockRect(0, &r, nullptr, 0);
    for (int y = 0; y < kTextureSize; ++y)
      for (int x = 0; x < kTextureSize; ++x)
        reinterpret_cast<uint32_t*>(static_cast<uint8_t*>(r.pBits) + y * r.Pitch)[x] = texel(k, x, y);
    tex[k]->UnlockRect(0);
  }
  std::vector<WorldVertex> wv;
  std::vector<uint16_t> wi;
  worldPatch(wv, wi);
  IDirect3DVertexBuffer9* worldVB = nullptr;
  IDirect3DIndexBuffer9* worldIB = nullptr;
  void* p = nullptr;
  d->CreateVertexBuffer(UINT(wv.size() * sizeof(WorldVertex)), 0, 0, D3DPOOL_MANAGED, &worldVB, nullptr);
  worldVB->Lock(0, 0, &p, 0);
  std::memcpy(p, wv.data(), wv.size() * sizeof(WorldVertex));
  worldVB->Unlock();
  d->CreateIndexBuffer(UINT(wi.size() * 2), 0, D3DFMT_INDEX16, D3DPOOL_MANAGED, &worldIB, nullptr);
  worldIB->Lock(0, 0, &p, 0);
  std::memcpy(p, wi.data(), wi.size() * 2);
  worldIB->Unlock();
  const UINT spriteBytes = UINT(kBatches * kSpritesPerBatch * 4 * sizeof(SpriteVertex));
  const UINT batchBytes = UINT(kSpritesPerBatch * 4 * sizeof(SpriteVertex));
  IDirect3DVertexBuffer9* spriteVB = nullptr;
  IDirect3DIndexBuffer9* spriteIB = nullptr;
  d->CreateVertexBuffer(spriteBytes, D3DUSAGE_DYNAMIC | D3DUSAGE_WRITEONLY, 0x144, D3DPOOL_DEFAULT, &spriteVB, nullptr);
  const std::vector<uint16_t> si = spriteIndices();
  d->CreateIndexBuffer(UINT(si.size() * 2), 0, D3DFMT_INDEX16, D3DPOOL_MANAGED, &spriteIB, nullptr);
  spriteIB->Lock(0, 0, &p, 0);
  std::memcpy(p, si.data(), si.size() * 2);
  spriteIB->Unlock();
  const D3DVERTEXELEMENT9 worldDecl[] = {{0, 0, D3DDECLTYPE_FLOAT3, 0, D3DDECLUSAGE_POSITION, 0},
                                         {0, 12, D3DDECLTYPE_FLOAT3, 0, D3DDECLUSAGE_NORMAL, 0},
                                         {0, 24, D3DDECLTYPE_D3DCOLOR, 0, D3DDECLUSAGE_COLOR, 0},
                                         {0, 28, D3DDECLTYPE_FLOAT2, 0, D3DDECLUSAGE_TEXCOORD, 0},
                                         D3DDECL_END()};
  const D3DVERTEXELEMENT9 spriteDecl[] = {{0, 0, D3DDECLTYPE_FLOAT4, 0, D3DDECLUSAGE_POSITIONT, 0},
                                          {0, 16, D3DDECLTYPE_D3DCOLOR, 0, D3DDECLUSAGE_COLOR, 0},
                                          {0, 20, D3DDECLTYPE_FLOAT2, 0, D3DDECLUSAGE_TEXCOORD, 0},
                                          D3DDECL_END()};
  IDirect3DVertexDeclaration9 *wdecl = nullptr, *sdecl = nullptr;
  d->CreateVertexDeclaration(worldDecl, &wdecl);
  d->CreateVertexDeclaration(spriteDecl, &sdecl);
  IDirect3DVertexShader9* vs3d = shader(d, kShader3d);
  IDirect3DVertexShader9* vs2d = shader(d, kShader2d);
  if (!vs3d || !vs2d || !wdecl || !sdecl || !spriteVB || !worldVB) {
    result.error = "resource creation failed";
    frames = 0;
  }

  // States as the rendering device sets them once.
  d->SetRenderState(D3DRS_CULLMODE, D3DCULL_CCW);
  d->SetRenderState(D3DRS_LIGHTING, FALSE);
  d->SetRenderState(D3DRS_ZENABLE, D3DZB_TRUE);
  d->SetRenderState(D3DRS_ALPHABLENDENABLE, TRUE);
  d->SetRenderState(D3DRS_SRCBLEND, D3DBLEND_SRCALPHA);
  d->SetRenderState(D3DRS_DESTBLEND, D3DBLEND_INVSRCALPHA);
  d->SetRenderState(D3DRS_ALPHATESTENABLE, TRUE);
  d->SetRenderState(D3DRS_ALPHAREF, 1);
  d->SetRenderState(D3DRS_ALPHAFUNC, D3DCMP_GREATEREQUAL);
  const float bias = -1.0f;
  DWORD biasBits;
  std::memcpy(&biasBits, &bias, 4);
  for (DWORD s = 0; s < 2; ++s) {
    d->SetSamplerState(s, D3DSAMP_MAGFILTER, D3DTEXF_LINEAR);
    d->SetSamplerState(s, D3DSAMP_MINFILTER, D3DTEXF_LINEAR);
    d->SetSamplerState(s, D3DSAMP_MIPMAPLODBIAS, biasBits);
  }
  d->SetTextureStageState(0, D3DTSS_COLORARG1, D3DTA_TEXTURE);
  d->SetTextureStageState(0, D3DTSS_COLORARG2, D3DTA_DIFFUSE);
  d->SetTextureStageState(0, D3DTSS_COLOROP, D3DTOP_MODULATE);
  d->SetTextureStageState(0, D3DTSS_ALPHAOP, D3DTOP_MODULATE);
  d->SetTextureStageState(0, D3DTSS_ALPHAARG1, D3DTA_DIFFUSE);
  d->SetTextureStageState(0, D3DTSS_ALPHAARG2, D3DTA_TEXTURE);

  float vp[16], vpT[16], world[16], worldT[16], lightPos[3], range;
  viewProjection(vp);
  transposed(vp, vpT);
  light(lightPos, range);
  const float c8[4] = {1, 1, 0, 0.5f}, c9[4] = {lightPos[0], lightPos[1], lightPos[2], 0}, c10[4] = {range, 0, 0, 0},
              c11[4] = {1, 1, 1, 0};
  std::vector<SpriteVertex> sv;
  const int warmup = 10;
  Uint64 start = 0;
  double cpuStart = 0, threadStart = 0;
  for (int f = 0; f < warmup + frames; ++f) {
    if (f == warmup) {
      start = SDL_GetPerformanceCounter();
      cpuStart = cpuSeconds();
      threadStart = threadSeconds();
    }
    sprites(f, sv);
    d->Clear(0, nullptr, D3DCLEAR_TARGET | D3DCLEAR_ZBUFFER, 0xFF101820u, 1.0f, 0);
    d->BeginScene();
    d->SetVertexShaderConstantF(0, vpT, 4);
    d->SetVertexShaderConstantF(8, c8, 1);
    d->SetVertexShaderConstantF(9, c9, 1);
    d->SetVertexShaderConstantF(10, c10, 1);
    d->SetVertexShaderConstantF(11, c11, 1);
    d->SetVertexShader(vs3d);
    d->SetVertexDeclaration(wdecl);
    d->SetStreamSource(0, worldVB, 0, sizeof(WorldVertex));
    d->SetIndices(worldIB);
    d->SetTexture(0, tex[0]);
    for (int i = 0; i < kPatches; ++i) {
      patchMatrix(i, world);
      transposed(world, worldT);
      d->SetVertexShaderConstantF(4, worldT, 4);
      d->DrawIndexedPrimitive(D3DPT_TRIANGLELIST, 0, 0, UINT(wv.size()), 0, kTrianglesPerPatch);
    }
    d->SetVertexShader(vs2d);
    d->SetVertexDeclaration(sdecl);
    d->SetIndices(spriteIB);
    for (int b = 0; b < kBatches; ++b) {
      spriteVB->Lock(UINT(b) * batchBytes, batchBytes, &p, b == 0 ? D3DLOCK_DISCARD : D3DLOCK_NOOVERWRITE);
      std::memcpy(p, &sv[size_t(b) * kSpritesPerBatch * 4], batchBytes);
      spriteVB->Unlock();
      d->SetStreamSource(0, spriteVB, 0, sizeof(SpriteVertex));
      d->SetTexture(0, tex[1 + b % 3]);
      d->DrawIndexedPrimitive(D3DPT_TRIANGLELIST, b * kSpritesPerBatch * 4, 0, kSpritesPerBatch * 4, 0,
                              kSpritesPerBatch * 2);
    }
    d->EndScene();
    d->Present(nullptr, nullptr, nullptr, nullptr);
  }
  if (frames > 0) {
    IDirect3DSurface9* s = nullptr;
    d->CreateOffscreenPlainSurface(kWidth, kHeight, D3DFMT_A8R8G8B8, D3DPOOL_SYSTEMMEM, &s, nullptr);
    d->GetFrontBufferData(0, s);  // also waits for the last frame
    const double seconds = double(SDL_GetPerformanceCounter() - start) / double(SDL_GetPerformanceFrequency());
    result.framesPerSecond = frames / seconds;
    result.framesPerCpuSecond = frames / (cpuSeconds() - cpuStart);
    result.submitMsPerFrame = (threadSeconds() - threadStart) * 1000.0 / frames;
    D3DLOCKED_RECT r;
    s->LockRect(&r, nullptr, D3DLOCK_READONLY);
    result.lastFrame.resize(size_t(kWidth) * kHeight);
    for (int y = 0; y < kHeight; ++y)
      for (int x = 0; x < kWidth; ++x)
        result.lastFrame[size_t(y) * kWidth + x] =
            reinterpret_cast<const uint32_t*>(static_cast<const uint8_t*>(r.pBits) + y * r.Pitch)[x] & 0xFFFFFFu;
    s->UnlockRect();
    release(s);
    result.ok = true;
  }
  for (IDirect3DTexture9*& t : tex) release(t);
  release(worldVB);
  release(worldIB);
  release(spriteVB);
  release(spriteIB);
  release(wdecl);
  release(sdecl);
  release(vs3d);
  release(vs2d);
  release(d);
  release(d3d);
  return result;
}

}  // namespace bench
