// The reference frame drawn through the Direct3D 9 layer and with plain OpenGL: one draw of 20,000 triangles
// covering the screen with blending off, then 3,000 alpha sprites of 64x64 re-uploaded every frame and drawn
// in 20 batches (source-alpha blending, alpha test); one texture, depth test on, no culling. Also the time of a
// layer reset with 50 textures loaded.
#include <SDL2/SDL.h>
#include <epoxy/gl.h>

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <cstring>
#include <string>

#include "platform/d3d9/d3d9.h"
#include "platform/d3d9/d3d9_testing.h"
#include "platform/d3dx9/d3dx9.h"
#include "platform/win32/win32_user.h"
#include "tools/d3d9bench/BenchGL.h"
#include "tools/d3d9bench/BenchPaths.h"
#include "tools/d3d9bench/BenchScene.h"

namespace bench {
namespace {

constexpr int kGridQuads = 100;  // 100 x 100 quads: 20,000 triangles
constexpr int kRefSpriteSize = 64;
constexpr int kSpriteTexture = 1;  // one of the scene's sprite textures, with its round alpha cut-out

template <class T>
void release(T*& p) {
  if (p)
    while (p->Release() > 0) {
    }
  p = nullptr;
}

// The screen-covering grid, pre-transformed, behind the sprites.
void grid(std::vector<SpriteVertex>& v, std::vector<uint16_t>& idx) {
  v.clear();
  idx.clear();
  for (int y = 0; y <= kGridQuads; ++y)
    for (int x = 0; x <= kGridQuads; ++x) {
      const float px = float(x) * kWidth / kGridQuads - 0.5f, py = float(y) * kHeight / kGridQuads - 0.5f;
      v.push_back({px, py, 0.5f, 2.0f, 0xFFFFFFFFu, float(x) / 8.0f, float(y) / 8.0f});
    }
  for (int y = 0; y < kGridQuads; ++y)
    for (int x = 0; x < kGridQuads; ++x) {
      const uint16_t a = uint16_t(y * (kGridQuads + 1) + x), b = uint16_t(a + 1), c = uint16_t(a + kGridQuads + 1),
                     d = uint16_t(c + 1);
      const uint16_t quad[6] = {a, b, c, b, d, c};
      idx.insert(idx.end(), quad, quad + 6);
    }
}

// 3,000 sprites of 64x64 that move every frame.
void refSprites(int frame, std::vector<SpriteVertex>& out) {
  out.resize(size_t(kBatches) * kSpritesPerBatch * 4);
  uint32_t state = 7;
  auto rnd = [&]() {
    state = state * 214013u + 2531011u;
    return float((state >> 16) & 0x7FFF) / 32767.0f;
  };
  for (int s = 0; s < kBatches * kSpritesPerBatch; ++s) {
    const float baseX = rnd() * kWidth, y = rnd() * (kHeight - kRefSpriteSize), speed = 20 + rnd() * 60;
    const float x = std::fmod(baseX + speed * float(frame) * 0.05f, float(kWidth - kRefSpriteSize));
    const uint32_t color = (rnd() < 0.3f ? 0x80000000u : 0xFF000000u) | 0xC0C0C0u;
    SpriteVertex* v = &out[size_t(s) * 4];
    const float l = x - 0.5f, t = y - 0.5f, r = l + kRefSpriteSize, b = t + kRefSpriteSize;
    v[0] = {l, t, 0.001f, 1, color, 0, 0};
    v[1] = {r, t, 0.001f, 1, color, 1, 0};
    v[2] = {r, b, 0.001f, 1, color, 1, 1};
    v[3] = {l, b, 0.001f, 1, color, 0, 1};
  }
}

const char kRefFS[] = R"(#version 330 core
in vec4 color;
in vec2 tc;
uniform sampler2D tex;
uniform int alphaTest;
out vec4 outColor;
void main() {
  vec4 t = texture(tex, tc);
  vec4 c = clamp(vec4(t.rgb * color.rgb, color.a * t.a), 0.0, 1.0);
  if (alphaTest != 0 && int(c.a * 255.0 + 0.5) < 1) discard;
  outColor = c;
})";

GLuint compileProgram() { return linkProgram(kSpriteGlsl, kRefFS); }

void finish(Result& result, Uint64 start, double cpuStart, int frames) {
  const double seconds = double(SDL_GetPerformanceCounter() - start) / double(SDL_GetPerformanceFrequency());
  result.framesPerSecond = frames / seconds;
  result.framesPerCpuSecond = frames / (cpuSeconds() - cpuStart);
  result.ok = true;
}

}  // namespace

Result runLayerReference(HWND window, int frames) {
  Result result;
  IDirect3D9* d3d = Direct3DCreate9(D3D_SDK_VERSION);
  IDirect3DDevice9* d = d3d ? makeBenchDevice(d3d, window) : nullptr;
  if (!d) {
    result.error = std::string("CreateDevice: ") + brD3D9LastError();
    release(d3d);
    return result;
  }
  IDirect3DTexture9* tex = nullptr;
  d->CreateTexture(kTextureSize, kTextureSize, 1, 0, D3DFMT_A8R8G8B8, D3DPOOL_MANAGED, &tex, nullptr);
  D3DLOCKED_RECT r;
  tex->LockRect(0, &r, nullptr, 0);
  for (int y = 0; y < kTextureSize; ++y)
    for (int x = 0; x < kTextureSize; ++x)
      reinterpret_cast<uint32_t*>(static_cast<uint8_t*>(r.pBits) + y * r.Pitch)[x] = texel(kSpriteTexture, x, y);
  tex->UnlockRect(0);
  std::vector<SpriteVertex> gv;
  std::vector<uint16_t> gi;
  grid(gv, gi);
  void* p = nullptr;
  IDirect3DVertexBuffer9 *gridVB = nullptr, *spriteVB = nullptr;
  IDirect3DIndexBuffer9 *gridIB = nullptr, *spriteIB = nullptr;
  d->CreateVertexBuffer(UINT(gv.size() * sizeof(SpriteVertex)), 0, 0x144, D3DPOOL_MANAGED, &gridVB, nullptr);
  gridVB->Lock(0, 0, &p, 0);
  std::memcpy(p, gv.data(), gv.size() * sizeof(SpriteVertex));
  gridVB->Unlock();
  d->CreateIndexBuffer(UINT(gi.size() * 2), 0, D3DFMT_INDEX16, D3DPOOL_MANAGED, &gridIB, nullptr);
  gridIB->Lock(0, 0, &p, 0);
  std::memcpy(p, gi.data(), gi.size() * 2);
  gridIB->Unlock();
  const UINT spriteBytes = UINT(kBatches * kSpritesPerBatch * 4 * sizeof(SpriteVertex));
  const UINT batchBytes = UINT(kSpritesPerBatch * 4 * sizeof(SpriteVertex));
  d->CreateVertexBuffer(spriteBytes, D3DUSAGE_DYNAMIC | D3DUSAGE_WRITEONLY, 0x144, D3DPOOL_DEFAULT, &spriteVB, nullptr);
  const std::vector<uint16_t> si = spriteIndices();
  d->CreateIndexBuffer(UINT(si.size() * 2), 0, D3DFMT_INDEX16, D3DPOOL_MANAGED, &spriteIB, nullptr);
  spriteIB->Lock(0, 0, &p, 0);
  std::memcpy(p, si.data(), si.size() * 2);
  spriteIB->Unlock();
  const D3DVERTEXELEMENT9 decl[] = {{0, 0, D3DDECLTYPE_FLOAT4, 0, D3DDECLUSAGE_POSITIONT, 0},
                                    {0, 16, D3DDECLTYPE_D3DCOLOR, 0, D3DDECLUSAGE_COLOR, 0},
                                    {0, 20, D3DDECLTYPE_FLOAT2, 0, D3DDECLUSAGE_TEXCOORD, 0},
                                    D3DDECL_END()};
  IDirect3DVertexDeclaration9* vdecl = nullptr;
  d->CreateVertexDeclaration(decl, &vdecl);
  ID3DXBuffer* code = nullptr;
  IDirect3DVertexShader9* vs = nullptr;
  if (SUCCEEDED(D3DXAssembleShader(kShader2d, UINT(std::strlen(kShader2d)), nullptr, nullptr, 0, &code, nullptr))) {
    d->CreateVertexShader(static_cast<const DWORD*>(code->GetBufferPointer()), &vs);
    code->Release();
  }
  if (!vs || !vdecl || !spriteVB || !gridVB) {
    result.error = "resource creation failed";
    frames = 0;
  }
  d->SetRenderState(D3DRS_CULLMODE, D3DCULL_NONE);
  d->SetRenderState(D3DRS_LIGHTING, FALSE);
  d->SetRenderState(D3DRS_ZENABLE, D3DZB_TRUE);
  d->SetRenderState(D3DRS_SRCBLEND, D3DBLEND_SRCALPHA);
  d->SetRenderState(D3DRS_DESTBLEND, D3DBLEND_INVSRCALPHA);
  d->SetRenderState(D3DRS_ALPHAREF, 1);
  d->SetRenderState(D3DRS_ALPHAFUNC, D3DCMP_GREATEREQUAL);
  d->SetSamplerState(0, D3DSAMP_MAGFILTER, D3DTEXF_LINEAR);
  d->SetSamplerState(0, D3DSAMP_MINFILTER, D3DTEXF_LINEAR);
  d->SetTextureStageState(0, D3DTSS_COLORARG1, D3DTA_TEXTURE);
  d->SetTextureStageState(0, D3DTSS_COLORARG2, D3DTA_DIFFUSE);
  d->SetTextureStageState(0, D3DTSS_COLOROP, D3DTOP_MODULATE);
  d->SetTextureStageState(0, D3DTSS_ALPHAOP, D3DTOP_MODULATE);
  d->SetTextureStageState(0, D3DTSS_ALPHAARG1, D3DTA_DIFFUSE);
  d->SetTextureStageState(0, D3DTSS_ALPHAARG2, D3DTA_TEXTURE);
  d->SetVertexShader(vs);
  d->SetVertexDeclaration(vdecl);
  d->SetTexture(0, tex);
  std::vector<SpriteVertex> sv;
  const int warmup = 10;
  Uint64 start = 0;
  double cpuStart = 0;
  for (int f = 0; f < warmup + frames; ++f) {
    if (f == warmup) {
      start = SDL_GetPerformanceCounter();
      cpuStart = cpuSeconds();
    }
    refSprites(f, sv);
    d->Clear(0, nullptr, D3DCLEAR_TARGET | D3DCLEAR_ZBUFFER, 0xFF101820u, 1.0f, 0);
    d->BeginScene();
    d->SetRenderState(D3DRS_ALPHABLENDENABLE, FALSE);
    d->SetRenderState(D3DRS_ALPHATESTENABLE, FALSE);
    d->SetStreamSource(0, gridVB, 0, sizeof(SpriteVertex));
    d->SetIndices(gridIB);
    d->DrawIndexedPrimitive(D3DPT_TRIANGLELIST, 0, 0, UINT(gv.size()), 0, kGridQuads * kGridQuads * 2);
    d->SetRenderState(D3DRS_ALPHABLENDENABLE, TRUE);
    d->SetRenderState(D3DRS_ALPHATESTENABLE, TRUE);
    d->SetIndices(spriteIB);
    for (int b = 0; b < kBatches; ++b) {
      spriteVB->Lock(UINT(b) * batchBytes, batchBytes, &p, b == 0 ? D3DLOCK_DISCARD : D3DLOCK_NOOVERWRITE);
      std::memcpy(p, &sv[size_t(b) * kSpritesPerBatch * 4], batchBytes);
      spriteVB->Unlock();
      d->SetStreamSource(0, spriteVB, 0, sizeof(SpriteVertex));
      d->DrawIndexedPrimitive(D3DPT_TRIANGLELIST, b * kSpritesPerBatch * 4, 0, kSpritesPerBatch * 4, 0,
                              kSpritesPerBatch * 2);
    }
    d->EndScene();
    d->Present(nullptr, nullptr, nullptr, nullptr);
    if (f == warmup + frames - 1) result.residentMiB = residentMiB();
  }
  if (frames > 0) {
    // The time runs until the last frame is drawn: the plain path may queue frames without bound while the
    // layer keeps two in flight, so a time taken at the last call would favour whichever queues more.
    IDirect3DSurface9* s = nullptr;
    d->CreateOffscreenPlainSurface(kWidth, kHeight, D3DFMT_A8R8G8B8, D3DPOOL_SYSTEMMEM, &s, nullptr);
    d->GetFrontBufferData(0, s);
    finish(result, start, cpuStart, frames);
    D3DLOCKED_RECT shown;
    if (SUCCEEDED(s->LockRect(&shown, nullptr, D3DLOCK_READONLY))) {
      result.lastFrame.resize(size_t(kWidth) * kHeight);
      for (int y = 0; y < kHeight; ++y)
        for (int x = 0; x < kWidth; ++x)
          result.lastFrame[size_t(y) * kWidth + x] =
              reinterpret_cast<const uint32_t*>(static_cast<const uint8_t*>(shown.pBits) + y * shown.Pitch)[x] &
              0xFFFFFFu;
      s->UnlockRect();
    }
    release(s);
  }
  release(tex);
  release(gridVB);
  release(gridIB);
  release(spriteVB);
  release(spriteIB);
  release(vdecl);
  release(vs);
  release(d);
  release(d3d);
  return result;
}

Result runPlainGLReference(HWND hwnd, int frames, int ahead) {
  Result result;
  PlainContext context(ahead);
  if (!context.open(brW32GetSDLWindow(hwnd), result.error)) return result;
  const GLuint prog = compileProgram();
  if (!prog) return result.error = "shaders failed", result;
  std::vector<uint32_t> texels(size_t(kTextureSize) * kTextureSize);
  for (int y = 0; y < kTextureSize; ++y)
    for (int x = 0; x < kTextureSize; ++x) texels[size_t(y) * kTextureSize + x] = texel(kSpriteTexture, x, y);
  makeTexture({{kTextureSize, kTextureSize, texels.data()}}, false, GL_LINEAR);
  std::vector<SpriteVertex> gv;
  std::vector<uint16_t> gi;
  grid(gv, gi);
  GLuint vao[2], buf[4];
  glGenVertexArrays(2, vao);
  glGenBuffers(4, buf);
  auto layout = []() {
    glEnableVertexAttribArray(0);
    glVertexAttribPointer(0, 4, GL_FLOAT, GL_FALSE, sizeof(SpriteVertex), nullptr);
    glEnableVertexAttribArray(1);
    glVertexAttribPointer(1, GL_BGRA, GL_UNSIGNED_BYTE, GL_TRUE, sizeof(SpriteVertex), reinterpret_cast<void*>(16));
    glEnableVertexAttribArray(2);
    glVertexAttribPointer(2, 2, GL_FLOAT, GL_FALSE, sizeof(SpriteVertex), reinterpret_cast<void*>(20));
  };
  glBindVertexArray(vao[0]);
  glBindBuffer(GL_ARRAY_BUFFER, buf[0]);
  glBufferData(GL_ARRAY_BUFFER, GLsizeiptr(gv.size() * sizeof(SpriteVertex)), gv.data(), GL_STATIC_DRAW);
  glBindBuffer(GL_ELEMENT_ARRAY_BUFFER, buf[1]);
  glBufferData(GL_ELEMENT_ARRAY_BUFFER, GLsizeiptr(gi.size() * 2), gi.data(), GL_STATIC_DRAW);
  layout();
  const GLsizeiptr spriteBytes = GLsizeiptr(kBatches) * kSpritesPerBatch * 4 * sizeof(SpriteVertex);
  const GLsizeiptr batchBytes = GLsizeiptr(kSpritesPerBatch) * 4 * sizeof(SpriteVertex);
  const std::vector<uint16_t> si = spriteIndices();
  glBindVertexArray(vao[1]);
  glBindBuffer(GL_ARRAY_BUFFER, buf[2]);
  glBufferData(GL_ARRAY_BUFFER, spriteBytes, nullptr, GL_DYNAMIC_DRAW);
  glBindBuffer(GL_ELEMENT_ARRAY_BUFFER, buf[3]);
  glBufferData(GL_ELEMENT_ARRAY_BUFFER, GLsizeiptr(si.size() * 2), si.data(), GL_STATIC_DRAW);
  layout();
  glUseProgram(prog);
  glUniform2f(glGetUniformLocation(prog, "invSize"), 1.0f / kWidth, 1.0f / kHeight);
  const GLint alphaTest = glGetUniformLocation(prog, "alphaTest");
  glViewport(0, 0, kWidth, kHeight);
  glEnable(GL_DEPTH_TEST);
  glDepthFunc(GL_LEQUAL);
  glDisable(GL_CULL_FACE);
  glBlendFunc(GL_SRC_ALPHA, GL_ONE_MINUS_SRC_ALPHA);
  glClearColor(0x10 / 255.0f, 0x18 / 255.0f, 0x20 / 255.0f, 1.0f);
  std::vector<SpriteVertex> sv;
  const int warmup = 10;
  Uint64 start = 0;
  double cpuStart = 0;
  for (int f = 0; f < warmup + frames; ++f) {
    if (f == warmup) {
      start = SDL_GetPerformanceCounter();
      cpuStart = cpuSeconds();
    }
    refSprites(f, sv);
    context.frameBegins();
    glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
    glDisable(GL_BLEND);
    glUniform1i(alphaTest, 0);
    glBindVertexArray(vao[0]);
    glDrawElements(GL_TRIANGLES, kGridQuads * kGridQuads * 6, GL_UNSIGNED_SHORT, nullptr);
    glEnable(GL_BLEND);
    glUniform1i(alphaTest, 1);
    glBindVertexArray(vao[1]);
    glBindBuffer(GL_ARRAY_BUFFER, buf[2]);
    for (int b = 0; b < kBatches; ++b) {
      const void* src = &sv[size_t(b) * kSpritesPerBatch * 4];
      if (b == 0) {
        glBufferData(GL_ARRAY_BUFFER, spriteBytes, nullptr, GL_DYNAMIC_DRAW);
        glBufferSubData(GL_ARRAY_BUFFER, 0, batchBytes, src);
      } else {
        void* p = glMapBufferRange(GL_ARRAY_BUFFER, b * batchBytes, batchBytes,
                                   GL_MAP_WRITE_BIT | GL_MAP_UNSYNCHRONIZED_BIT | GL_MAP_INVALIDATE_RANGE_BIT);
        std::memcpy(p, src, size_t(batchBytes));
        glUnmapBuffer(GL_ARRAY_BUFFER);
      }
      glDrawElementsBaseVertex(GL_TRIANGLES, kSpritesPerBatch * 6, GL_UNSIGNED_SHORT, nullptr,
                               b * kSpritesPerBatch * 4);
    }
    if (f == warmup + frames - 1) result.lastFrame = readPicture(0, kWidth, kHeight);
    context.swap();
    if (f == warmup + frames - 1) result.residentMiB = residentMiB();
  }
  if (frames > 0) {
    std::vector<uint32_t> pixel(1);
    glReadPixels(0, 0, 1, 1, GL_BGRA, GL_UNSIGNED_BYTE, pixel.data());  // waits for the last frame
    finish(result, start, cpuStart, frames);
  }
  return result;
}

double layerResetMilliseconds(HWND window, int textures, std::string& error) {
  IDirect3D9* d3d = Direct3DCreate9(D3D_SDK_VERSION);
  IDirect3DDevice9* d = d3d ? makeBenchDevice(d3d, window) : nullptr;
  if (!d) {
    error = std::string("CreateDevice: ") + brD3D9LastError();
    release(d3d);
    return -1;
  }
  std::vector<IDirect3DTexture9*> loaded;
  std::vector<uint32_t> texels(256 * 256);
  for (int k = 0; k < textures; ++k) {
    IDirect3DTexture9* t = nullptr;
    d->CreateTexture(256, 256, 0, 0, D3DFMT_A8R8G8B8, D3DPOOL_MANAGED, &t, nullptr);
    for (DWORD level = 0; t && level < t->GetLevelCount(); ++level) {
      D3DLOCKED_RECT r;
      t->LockRect(level, &r, nullptr, 0);
      const int size = 256 >> level;
      for (int y = 0; y < size; ++y)
        for (int x = 0; x < size; ++x)
          reinterpret_cast<uint32_t*>(static_cast<uint8_t*>(r.pBits) + y * r.Pitch)[x] = texel(k % kTextures, x, y);
      t->UnlockRect(level);
    }
    if (t) loaded.push_back(t);
  }
  D3DPRESENT_PARAMETERS pp;
  std::memset(&pp, 0, sizeof pp);
  pp.BackBufferWidth = kWidth;
  pp.BackBufferHeight = kHeight;
  pp.BackBufferFormat = D3DFMT_X8R8G8B8;
  pp.SwapEffect = D3DSWAPEFFECT_DISCARD;
  pp.hDeviceWindow = window;
  pp.Windowed = TRUE;
  pp.EnableAutoDepthStencil = TRUE;
  pp.AutoDepthStencilFormat = D3DFMT_D24X8;
  pp.PresentationInterval = D3DPRESENT_INTERVAL_IMMEDIATE;
  std::vector<double> times;
  for (int i = 0; i < 5; ++i) {
    const Uint64 t0 = SDL_GetPerformanceCounter();
    if (FAILED(d->Reset(&pp))) error = std::string("Reset: ") + brD3D9LastError();
    times.push_back(double(SDL_GetPerformanceCounter() - t0) * 1000.0 / double(SDL_GetPerformanceFrequency()));
  }
  for (IDirect3DTexture9*& t : loaded) release(t);
  release(d);
  release(d3d);
  std::sort(times.begin(), times.end());
  return times[times.size() / 2];
}

}  // namespace bench
