// The device: creation on a window, clear and present, scenes, the back and front buffers, reset,
// reference counts and the unbinding of released resources.
#include <cstring>

#include "tests/platform/d3d9/D3D9TestSupport.h"

using namespace d3d9test;

namespace {

const char kColorShader[] = "vs.1.1\ndcl_position0 v0\ndcl_color0 v1\nmov oPos, v0\nmov oD0, v1\n";

struct ScreenVertex {
  float x, y, z, rhw;
  uint32_t color;
};

const D3DVERTEXELEMENT9 kScreenDecl[] = {{0, 0, D3DDECLTYPE_FLOAT4, D3DDECLMETHOD_DEFAULT, D3DDECLUSAGE_POSITIONT, 0},
                                         {0, 16, D3DDECLTYPE_D3DCOLOR, D3DDECLMETHOD_DEFAULT, D3DDECLUSAGE_COLOR, 0},
                                         D3DDECL_END()};

}  // namespace

TEST(D3D9Device, ClearPresentAndFrontBuffer) {
  TestDevice t(32, 24);
  ASSERT_TRUE(t.ok()) << t.why();
  // Before any present the front buffer is black.
  IDirect3DSurface9* surface = nullptr;
  ASSERT_EQ(D3D_OK,
            t.device->CreateOffscreenPlainSurface(32, 24, D3DFMT_A8R8G8B8, D3DPOOL_SYSTEMMEM, &surface, nullptr));
  ASSERT_EQ(D3D_OK, t.device->GetFrontBufferData(0, surface));
  D3DLOCKED_RECT locked;
  ASSERT_EQ(D3D_OK, surface->LockRect(&locked, nullptr, 0));
  EXPECT_EQ(32 * 4, locked.Pitch);
  EXPECT_EQ(0xFF000000u, static_cast<uint32_t*>(locked.pBits)[0]);
  surface->UnlockRect();
  releaseAll(surface);

  ASSERT_EQ(D3D_OK, t.device->Clear(0, nullptr, D3DCLEAR_TARGET | D3DCLEAR_ZBUFFER, 0xFF336699u, 1.0f, 0));
  std::vector<uint32_t> frame = presentAndRead(t);
  ASSERT_EQ(32u * 24u, frame.size());
  EXPECT_EQ(0xFF336699u, frame[0]);
  EXPECT_EQ(0xFF336699u, frame.back());

  // A cleared rectangle (top-left origin) leaves the rest alone; the presented frame stays the front buffer.
  ASSERT_EQ(D3D_OK, t.device->Clear(0, nullptr, D3DCLEAR_TARGET, 0xFF000000u, 1.0f, 0));
  const D3DRECT rect = {4, 2, 8, 6};
  ASSERT_EQ(D3D_OK, t.device->Clear(1, &rect, D3DCLEAR_TARGET, 0xFFFF0000u, 1.0f, 0));
  frame = presentAndRead(t);
  EXPECT_EQ(0xFFFF0000u, frame[2 * 32 + 4]);
  EXPECT_EQ(0xFFFF0000u, frame[5 * 32 + 7]);
  EXPECT_EQ(0xFF000000u, frame[6 * 32 + 7]);
  EXPECT_EQ(0xFF000000u, frame[5 * 32 + 8]);
  EXPECT_EQ(0xFF000000u, frame[1 * 32 + 4]);

  // Wrong calls are refused.
  EXPECT_EQ(D3DERR_INVALIDCALL, t.device->Clear(1, nullptr, D3DCLEAR_TARGET, 0, 1.0f, 0));
  EXPECT_EQ(D3DERR_INVALIDCALL, t.device->Clear(0, nullptr, 0, 0, 1.0f, 0));
}

TEST(D3D9Device, ScenesBackBufferAndDisplayMode) {
  TestDevice t(40, 30);
  ASSERT_TRUE(t.ok()) << t.why();
  EXPECT_EQ(D3DERR_INVALIDCALL, t.device->EndScene());
  EXPECT_EQ(D3D_OK, t.device->BeginScene());
  EXPECT_EQ(D3DERR_INVALIDCALL, t.device->BeginScene());
  EXPECT_EQ(D3DERR_INVALIDCALL, t.device->Present(nullptr, nullptr, nullptr, nullptr));
  EXPECT_EQ(D3D_OK, t.device->EndScene());
  EXPECT_EQ(D3DERR_INVALIDCALL, t.device->DrawPrimitive(D3DPT_TRIANGLELIST, 0, 1));

  IDirect3DSurface9* back = nullptr;
  ASSERT_EQ(D3D_OK, t.device->GetBackBuffer(0, 0, D3DBACKBUFFER_TYPE_MONO, &back));
  D3DSURFACE_DESC desc;
  ASSERT_EQ(D3D_OK, back->GetDesc(&desc));
  EXPECT_EQ(40u, desc.Width);
  EXPECT_EQ(30u, desc.Height);
  EXPECT_EQ(D3DFMT_X8R8G8B8, desc.Format);
  D3DLOCKED_RECT locked;
  EXPECT_EQ(D3DERR_INVALIDCALL, back->LockRect(&locked, nullptr, 0));
  // Released to 0 by its holder, the back buffer still belongs to the device.
  EXPECT_EQ(1, releaseAll(back));
  ASSERT_EQ(D3D_OK, t.device->GetBackBuffer(0, 0, D3DBACKBUFFER_TYPE_MONO, &back));
  EXPECT_EQ(0u, back->Release());

  D3DDISPLAYMODE mode, desktop;
  ASSERT_EQ(D3D_OK, t.device->GetDisplayMode(0, &mode));
  ASSERT_EQ(D3D_OK, t.d3d->GetAdapterDisplayMode(0, &desktop));
  EXPECT_EQ(desktop.Width, mode.Width);
  EXPECT_EQ(desktop.Height, mode.Height);
  EXPECT_EQ(D3DFMT_X8R8G8B8, mode.Format);

  // Reset resizes the back buffer and returns states to their defaults.
  ASSERT_EQ(D3D_OK, t.device->SetRenderState(D3DRS_CULLMODE, D3DCULL_NONE));
  D3DPRESENT_PARAMETERS pp;
  std::memset(&pp, 0, sizeof pp);
  pp.BackBufferWidth = 20;
  pp.BackBufferHeight = 10;
  pp.BackBufferFormat = D3DFMT_X8R8G8B8;
  pp.SwapEffect = D3DSWAPEFFECT_DISCARD;
  pp.Windowed = TRUE;
  pp.hDeviceWindow = t.hwnd;
  ASSERT_EQ(D3D_OK, t.device->Reset(&pp));
  EXPECT_EQ(1u, pp.BackBufferCount);
  DWORD cull = 0;
  ASSERT_EQ(D3D_OK, t.device->GetRenderState(D3DRS_CULLMODE, &cull));
  EXPECT_EQ(DWORD(D3DCULL_CCW), cull);
  ASSERT_EQ(D3D_OK, t.device->GetBackBuffer(0, 0, D3DBACKBUFFER_TYPE_MONO, &back));
  ASSERT_EQ(D3D_OK, back->GetDesc(&desc));
  EXPECT_EQ(20u, desc.Width);
  EXPECT_EQ(10u, desc.Height);
  releaseAll(back);
  // Without a depth buffer a depth clear is refused.
  EXPECT_EQ(D3DERR_INVALIDCALL, t.device->Clear(0, nullptr, D3DCLEAR_ZBUFFER, 0, 1.0f, 0));
  t.width = 20;
  t.height = 10;
  ASSERT_EQ(D3D_OK, t.device->Clear(0, nullptr, D3DCLEAR_TARGET, 0xFF00FF00u, 1.0f, 0));
  const std::vector<uint32_t> frame = presentAndRead(t);
  ASSERT_EQ(200u, frame.size());
  EXPECT_EQ(0xFF00FF00u, frame[199]);
}

TEST(D3D9Device, ReleaseCountsAndUnbinding) {
  TestDevice t(16, 16);
  ASSERT_TRUE(t.ok()) << t.why();
  IDirect3DTexture9* tex = nullptr;
  ASSERT_EQ(D3D_OK, t.device->CreateTexture(4, 4, 1, 0, D3DFMT_A8R8G8B8, D3DPOOL_MANAGED, &tex, nullptr));
  EXPECT_EQ(2u, tex->AddRef());
  EXPECT_EQ(1u, tex->Release());
  IDirect3DDevice9* owner = nullptr;
  ASSERT_EQ(D3D_OK, tex->GetDevice(&owner));
  EXPECT_EQ(t.device, owner);
  EXPECT_EQ(1u, owner->Release());

  // A white texture bound to stage 0: the quad shows white. Its last release unbinds it, and the stage
  // then reads opaque white too, but a red texture drawn in its place shows red: nothing stale is bound.
  IDirect3DVertexShader9* vs = makeShader(
      t.device, "vs_1_1\ndcl_position0 v0\ndcl_color0 v1\ndcl_texcoord0 v8\nmov oPos, v0\nmov oD0, v1\nmov oT0, v8\n");
  ASSERT_NE(nullptr, vs);
  const D3DVERTEXELEMENT9 decl[] = {{0, 0, D3DDECLTYPE_FLOAT4, 0, D3DDECLUSAGE_POSITIONT, 0},
                                    {0, 16, D3DDECLTYPE_D3DCOLOR, 0, D3DDECLUSAGE_COLOR, 0},
                                    {0, 20, D3DDECLTYPE_FLOAT2, 0, D3DDECLUSAGE_TEXCOORD, 0},
                                    D3DDECL_END()};
  IDirect3DVertexDeclaration9* vd = nullptr;
  ASSERT_EQ(D3D_OK, t.device->CreateVertexDeclaration(decl, &vd));
  struct V {
    float x, y, z, rhw;
    uint32_t c;
    float u, v;
  } quad[4] = {{-0.5f, -0.5f, 0, 1, 0xFFFFFFFFu, 0, 0},
               {15.5f, -0.5f, 0, 1, 0xFFFFFFFFu, 1, 0},
               {15.5f, 15.5f, 0, 1, 0xFFFFFFFFu, 1, 1},
               {-0.5f, 15.5f, 0, 1, 0xFFFFFFFFu, 0, 1}};
  IDirect3DVertexBuffer9* vb = nullptr;
  ASSERT_EQ(D3D_OK, t.device->CreateVertexBuffer(sizeof quad, 0, 0, D3DPOOL_MANAGED, &vb, nullptr));
  void* p = nullptr;
  ASSERT_EQ(D3D_OK, vb->Lock(0, 0, &p, 0));
  std::memcpy(p, quad, sizeof quad);
  ASSERT_EQ(D3D_OK, vb->Unlock());
  auto fill = [&](IDirect3DTexture9* texture, uint32_t color) {
    D3DLOCKED_RECT r;
    ASSERT_EQ(D3D_OK, texture->LockRect(0, &r, nullptr, 0));
    ASSERT_EQ(16, r.Pitch);
    for (int i = 0; i < 16; ++i) static_cast<uint32_t*>(r.pBits)[i] = color;
    ASSERT_EQ(D3D_OK, texture->UnlockRect(0));
  };
  fill(tex, 0xFF0000FFu);
  auto draw = [&]() {
    ASSERT_EQ(D3D_OK, t.device->BeginScene());
    t.device->SetVertexShader(vs);
    t.device->SetVertexDeclaration(vd);
    t.device->SetStreamSource(0, vb, 0, sizeof(V));
    ASSERT_EQ(D3D_OK, t.device->DrawPrimitive(D3DPT_TRIANGLEFAN, 0, 2)) << brD3D9LastError();
    ASSERT_EQ(D3D_OK, t.device->EndScene());
  };
  ASSERT_EQ(D3D_OK, t.device->SetTexture(0, tex));
  draw();
  EXPECT_EQ(0xFF0000FFu, presentAndRead(t)[8 * 16 + 8]);
  EXPECT_EQ(0u, tex->Release());
  draw();
  EXPECT_EQ(0xFFFFFFFFu, presentAndRead(t)[8 * 16 + 8]);
  IDirect3DTexture9* red = nullptr;
  ASSERT_EQ(D3D_OK, t.device->CreateTexture(4, 4, 1, 0, D3DFMT_X8R8G8B8, D3DPOOL_MANAGED, &red, nullptr));
  fill(red, 0x00FF0000u);  // X8R8G8B8: the top byte is ignored, so this is opaque red
  ASSERT_EQ(D3D_OK, t.device->SetTexture(0, red));
  draw();
  EXPECT_EQ(0xFFFF0000u, presentAndRead(t)[8 * 16 + 8]);

  // Released while bound as stream, shader and declaration: drawing is refused, never a crash.
  EXPECT_EQ(0u, vb->Release());
  ASSERT_EQ(D3D_OK, t.device->BeginScene());
  EXPECT_EQ(D3DERR_INVALIDCALL, t.device->DrawPrimitive(D3DPT_TRIANGLEFAN, 0, 2));
  EXPECT_EQ(0u, vs->Release());
  EXPECT_EQ(D3DERR_INVALIDCALL, t.device->DrawPrimitive(D3DPT_TRIANGLEFAN, 0, 2));
  ASSERT_EQ(D3D_OK, t.device->EndScene());
  EXPECT_EQ(0u, vd->Release());
  EXPECT_EQ(0u, vd->Release());  // once too often, before any later call deletes it: no use after free
  EXPECT_EQ(0u, red->Release());

  // Resources may outlive the device: their release after it is still safe.
  IDirect3DIndexBuffer9* ib = nullptr;
  ASSERT_EQ(D3D_OK, t.device->CreateIndexBuffer(64, D3DUSAGE_DYNAMIC | D3DUSAGE_WRITEONLY, D3DFMT_INDEX16,
                                                D3DPOOL_DEFAULT, &ib, nullptr));
  ASSERT_EQ(D3D_OK, t.device->SetIndices(ib));
  EXPECT_EQ(0u, t.device->Release());
  t.device = nullptr;
  EXPECT_EQ(D3DERR_INVALIDCALL, ib->GetDevice(&owner));
  EXPECT_EQ(0u, ib->Release());
}

// A caller that casts one kind of object to another's interface (as a C caller can) is refused at the bind.
TEST(D3D9Device, ObjectsOfTheWrongKindAreRefusedAtTheBind) {
  TestDevice t(16, 16);
  ASSERT_TRUE(t.ok()) << t.why();
  IDirect3DTexture9* tex = nullptr;
  ASSERT_EQ(D3D_OK, t.device->CreateTexture(4, 4, 1, 0, D3DFMT_A8R8G8B8, D3DPOOL_MANAGED, &tex, nullptr));
  IDirect3DVertexBuffer9* vb = nullptr;
  ASSERT_EQ(D3D_OK, t.device->CreateVertexBuffer(64, 0, 0, D3DPOOL_MANAGED, &vb, nullptr));
  IDirect3DIndexBuffer9* ib = nullptr;
  ASSERT_EQ(D3D_OK, t.device->CreateIndexBuffer(64, 0, D3DFMT_INDEX16, D3DPOOL_MANAGED, &ib, nullptr));
  ASSERT_EQ(D3D_OK, t.device->SetTexture(0, tex));
  ASSERT_EQ(D3D_OK, t.device->SetStreamSource(0, vb, 0, 16));
  ASSERT_EQ(D3D_OK, t.device->SetIndices(ib));

  EXPECT_EQ(D3DERR_INVALIDCALL, t.device->SetTexture(0, reinterpret_cast<IDirect3DBaseTexture9*>(vb)));
  EXPECT_EQ(D3DERR_INVALIDCALL, t.device->SetStreamSource(0, reinterpret_cast<IDirect3DVertexBuffer9*>(ib), 0, 16));
  EXPECT_EQ(D3DERR_INVALIDCALL, t.device->SetIndices(reinterpret_cast<IDirect3DIndexBuffer9*>(tex)));
  EXPECT_EQ(D3DERR_INVALIDCALL, t.device->SetVertexShader(reinterpret_cast<IDirect3DVertexShader9*>(vb)));
  EXPECT_EQ(D3DERR_INVALIDCALL, t.device->SetVertexDeclaration(reinterpret_cast<IDirect3DVertexDeclaration9*>(tex)));
  EXPECT_EQ(0u, tex->Release());
  EXPECT_EQ(0u, vb->Release());
  EXPECT_EQ(0u, ib->Release());
}

TEST(D3D9Device, BufferLocksAndCreationRules) {
  TestDevice t(16, 16);
  ASSERT_TRUE(t.ok()) << t.why();
  IDirect3DVertexBuffer9* vb = nullptr;
  // Direct3D refuses dynamic buffers in the managed pool.
  EXPECT_EQ(D3DERR_INVALIDCALL, t.device->CreateVertexBuffer(64, D3DUSAGE_DYNAMIC, 0, D3DPOOL_MANAGED, &vb, nullptr));
  IDirect3DIndexBuffer9* ib = nullptr;
  EXPECT_EQ(D3DERR_INVALIDCALL,
            t.device->CreateIndexBuffer(64, D3DUSAGE_DYNAMIC, D3DFMT_INDEX16, D3DPOOL_MANAGED, &ib, nullptr));
  EXPECT_EQ(D3DERR_INVALIDCALL, t.device->CreateIndexBuffer(64, 0, D3DFMT_X8R8G8B8, D3DPOOL_DEFAULT, &ib, nullptr));
  ASSERT_EQ(D3D_OK, t.device->CreateVertexBuffer(64, D3DUSAGE_DYNAMIC, 0x42, D3DPOOL_SYSTEMMEM, &vb, nullptr));
  D3DVERTEXBUFFER_DESC desc;
  ASSERT_EQ(D3D_OK, vb->GetDesc(&desc));
  EXPECT_EQ(64u, desc.Size);
  EXPECT_EQ(0x42u, desc.FVF);
  EXPECT_EQ(D3DPOOL_SYSTEMMEM, desc.Pool);
  void* p = nullptr;
  EXPECT_EQ(D3DERR_INVALIDCALL, vb->Lock(60, 8, &p, 0));
  EXPECT_EQ(D3DERR_INVALIDCALL, vb->Lock(65, 0, &p, 0));
  EXPECT_EQ(D3DERR_INVALIDCALL, vb->Unlock());
  ASSERT_EQ(D3D_OK, vb->Lock(16, 16, &p, D3DLOCK_DISCARD));
  EXPECT_EQ(D3DERR_INVALIDCALL, vb->Lock(0, 16, &p, 0));
  std::memset(p, 0xAB, 16);
  ASSERT_EQ(D3D_OK, vb->Unlock());
  ASSERT_EQ(D3D_OK, vb->Lock(0, 0, &p, D3DLOCK_NOOVERWRITE));
  EXPECT_EQ(0xAB, static_cast<uint8_t*>(p)[16]);
  EXPECT_EQ(0xAB, static_cast<uint8_t*>(p)[31]);
  ASSERT_EQ(D3D_OK, vb->Unlock());
  releaseAll(vb);

  IDirect3DTexture9* tex = nullptr;
  EXPECT_EQ(D3DERR_INVALIDCALL, t.device->CreateTexture(4, 4, 1, 0, D3DFMT_DXT1, D3DPOOL_MANAGED, &tex, nullptr));
  EXPECT_EQ(D3DERR_INVALIDCALL, t.device->CreateTexture(4, 4, 4, 0, D3DFMT_A8R8G8B8, D3DPOOL_MANAGED, &tex, nullptr));
  // A non-power-of-two size with the full chain: 100x60, 50x30, 25x15, 12x7, 6x3, 3x1, 1x1.
  ASSERT_EQ(D3D_OK, t.device->CreateTexture(100, 60, 0, 0, D3DFMT_A8R8G8B8, D3DPOOL_MANAGED, &tex, nullptr));
  EXPECT_EQ(7u, tex->GetLevelCount());
  D3DSURFACE_DESC level;
  ASSERT_EQ(D3D_OK, tex->GetLevelDesc(3, &level));
  EXPECT_EQ(12u, level.Width);
  EXPECT_EQ(7u, level.Height);
  EXPECT_EQ(D3DERR_INVALIDCALL, tex->GetLevelDesc(7, &level));
  D3DLOCKED_RECT locked;
  const RECT inside = {2, 1, 5, 3}, outside = {0, 0, 13, 2};
  ASSERT_EQ(D3D_OK, tex->LockRect(3, &locked, &inside, 0));
  EXPECT_EQ(48, locked.Pitch);
  EXPECT_EQ(D3DERR_INVALIDCALL, tex->LockRect(3, &locked, nullptr, 0));
  ASSERT_EQ(D3D_OK, tex->UnlockRect(3));
  EXPECT_EQ(D3DERR_INVALIDCALL, tex->LockRect(3, &locked, &outside, 0));
  EXPECT_EQ(D3DERR_INVALIDCALL, tex->UnlockRect(3));
  releaseAll(tex);
}

TEST(D3D9Device, StripsFansAndViewport) {
  TestDevice t(32, 32, false);
  ASSERT_TRUE(t.ok()) << t.why();
  IDirect3DVertexShader9* vs = makeShader(t.device, kColorShader);
  IDirect3DVertexDeclaration9* decl = nullptr;
  ASSERT_EQ(D3D_OK, t.device->CreateVertexDeclaration(kScreenDecl, &decl));
  // A strip over the left half (red) and a fan over the bottom-right quarter (green), pixel edges on
  // pixel boundaries.
  const ScreenVertex v[] = {
      {-0.5f, -0.5f, 0, 1, 0xFFFF0000u}, {15.5f, -0.5f, 0, 1, 0xFFFF0000u}, {-0.5f, 31.5f, 0, 1, 0xFFFF0000u},
      {15.5f, 31.5f, 0, 1, 0xFFFF0000u}, {15.5f, 15.5f, 0, 1, 0xFF00FF00u}, {31.5f, 15.5f, 0, 1, 0xFF00FF00u},
      {31.5f, 31.5f, 0, 1, 0xFF00FF00u}, {15.5f, 31.5f, 0, 1, 0xFF00FF00u},
  };
  IDirect3DVertexBuffer9* vb = nullptr;
  ASSERT_EQ(D3D_OK, t.device->CreateVertexBuffer(sizeof v, 0, 0, D3DPOOL_MANAGED, &vb, nullptr));
  void* p = nullptr;
  ASSERT_EQ(D3D_OK, vb->Lock(0, 0, &p, 0));
  std::memcpy(p, v, sizeof v);
  vb->Unlock();
  ASSERT_EQ(D3D_OK, t.device->Clear(0, nullptr, D3DCLEAR_TARGET, 0xFF000000u, 1.0f, 0));
  ASSERT_EQ(D3D_OK, t.device->BeginScene());
  t.device->SetRenderState(D3DRS_CULLMODE, D3DCULL_NONE);
  t.device->SetTextureStageState(0, D3DTSS_COLOROP, D3DTOP_DISABLE);
  t.device->SetVertexShader(vs);
  t.device->SetVertexDeclaration(decl);
  t.device->SetStreamSource(0, vb, 0, sizeof(ScreenVertex));
  ASSERT_EQ(D3D_OK, t.device->DrawPrimitive(D3DPT_TRIANGLESTRIP, 0, 2)) << brD3D9LastError();
  ASSERT_EQ(D3D_OK, t.device->DrawPrimitive(D3DPT_TRIANGLEFAN, 4, 2));
  EXPECT_EQ(D3DERR_INVALIDCALL, t.device->DrawPrimitive(D3DPT_TRIANGLEFAN, 5, 2));  // one vertex too many
  EXPECT_EQ(D3DERR_INVALIDCALL, t.device->DrawPrimitive(D3DPRIMITIVETYPE(9), 0, 1));
  ASSERT_EQ(D3D_OK, t.device->EndScene());
  std::vector<uint32_t> f = presentAndRead(t);
  ASSERT_EQ(32u * 32u, f.size());
  EXPECT_EQ(0xFFFF0000u, f[0]);
  EXPECT_EQ(0xFFFF0000u, f[31 * 32 + 15]);
  EXPECT_EQ(0xFF000000u, f[0 * 32 + 16]);
  EXPECT_EQ(0xFF000000u, f[15 * 32 + 31]);
  EXPECT_EQ(0xFF00FF00u, f[16 * 32 + 16]);
  EXPECT_EQ(0xFF00FF00u, f[31 * 32 + 31]);

  // A viewport on the right half: clears and pre-transformed positions are relative to the target, and
  // nothing is drawn outside it.
  const D3DVIEWPORT9 right = {16, 0, 16, 32, 0.0f, 1.0f}, outside = {20, 0, 16, 32, 0.0f, 1.0f};
  EXPECT_EQ(D3DERR_INVALIDCALL, t.device->SetViewport(&outside));
  ASSERT_EQ(D3D_OK, t.device->SetViewport(&right));
  D3DVIEWPORT9 got;
  ASSERT_EQ(D3D_OK, t.device->GetViewport(&got));
  EXPECT_EQ(16u, got.X);
  ASSERT_EQ(D3D_OK, t.device->Clear(0, nullptr, D3DCLEAR_TARGET, 0xFF0000FFu, 1.0f, 0));
  ASSERT_EQ(D3D_OK, t.device->BeginScene());
  ASSERT_EQ(D3D_OK, t.device->DrawPrimitive(D3DPT_TRIANGLESTRIP, 0, 2));  // the left half: all clipped away
  ASSERT_EQ(D3D_OK, t.device->DrawPrimitive(D3DPT_TRIANGLEFAN, 4, 2));
  ASSERT_EQ(D3D_OK, t.device->EndScene());
  f = presentAndRead(t);
  // Outside the viewport neither the clear nor the draws reached (its contents are otherwise undefined).
  EXPECT_NE(0xFF0000FFu, f[5 * 32 + 5]);
  EXPECT_NE(0xFF00FF00u, f[20 * 32 + 12]);
  EXPECT_EQ(0xFF0000FFu, f[5 * 32 + 20]);  // cleared inside the viewport
  EXPECT_EQ(0xFF00FF00u, f[20 * 32 + 20]);

  // A reset (as a resize or a mode switch makes) unbinds everything, but the shader, declaration and
  // buffer made before it still draw once bound again.
  D3DPRESENT_PARAMETERS pp;
  std::memset(&pp, 0, sizeof pp);
  pp.BackBufferWidth = pp.BackBufferHeight = 16;
  pp.SwapEffect = D3DSWAPEFFECT_DISCARD;
  pp.Windowed = TRUE;
  pp.hDeviceWindow = t.hwnd;
  ASSERT_EQ(D3D_OK, t.device->Reset(&pp)) << brD3D9LastError();
  t.width = t.height = 16;
  ASSERT_EQ(D3D_OK, t.device->Clear(0, nullptr, D3DCLEAR_TARGET, 0xFF000000u, 1.0f, 0));
  ASSERT_EQ(D3D_OK, t.device->BeginScene());
  EXPECT_EQ(D3DERR_INVALIDCALL, t.device->DrawPrimitive(D3DPT_TRIANGLESTRIP, 0, 2));  // nothing bound
  t.device->SetRenderState(D3DRS_CULLMODE, D3DCULL_NONE);
  t.device->SetVertexShader(vs);
  t.device->SetVertexDeclaration(decl);
  t.device->SetStreamSource(0, vb, 0, sizeof(ScreenVertex));
  ASSERT_EQ(D3D_OK, t.device->DrawPrimitive(D3DPT_TRIANGLESTRIP, 0, 2)) << brD3D9LastError();
  ASSERT_EQ(D3D_OK, t.device->EndScene());
  f = presentAndRead(t);
  ASSERT_EQ(16u * 16u, f.size());
  EXPECT_EQ(0xFFFF0000u, f[0]);  // stage 0 modulates the diffuse colour with the untextured white
  EXPECT_EQ(0xFFFF0000u, f[15 * 16 + 15]);
  releaseAll(vs);
  releaseAll(decl);
  releaseAll(vb);
}

TEST(D3D9Device, FullScreenAndBack) {
  TestDevice t(64, 48);
  ASSERT_TRUE(t.ok()) << t.why();
  D3DDISPLAYMODE desktop;
  ASSERT_EQ(D3D_OK, t.d3d->GetAdapterDisplayMode(0, &desktop));
  D3DPRESENT_PARAMETERS pp;
  std::memset(&pp, 0, sizeof pp);
  pp.BackBufferWidth = desktop.Width;
  pp.BackBufferHeight = desktop.Height;
  pp.BackBufferFormat = D3DFMT_X8R8G8B8;
  pp.SwapEffect = D3DSWAPEFFECT_DISCARD;
  pp.hDeviceWindow = t.hwnd;
  pp.Windowed = FALSE;
  pp.EnableAutoDepthStencil = TRUE;
  pp.AutoDepthStencilFormat = D3DFMT_D16;
  pp.PresentationInterval = D3DPRESENT_INTERVAL_IMMEDIATE;
  ASSERT_EQ(D3D_OK, t.device->Reset(&pp)) << brD3D9LastError();
  D3DDISPLAYMODE mode;
  ASSERT_EQ(D3D_OK, t.device->GetDisplayMode(0, &mode));
  EXPECT_EQ(desktop.Width, mode.Width);
  EXPECT_EQ(desktop.Height, mode.Height);
  ASSERT_EQ(D3D_OK, t.device->Clear(0, nullptr, D3DCLEAR_TARGET | D3DCLEAR_ZBUFFER, 0xFF445566u, 1.0f, 0));
  ASSERT_EQ(D3D_OK, t.device->Present(nullptr, nullptr, nullptr, nullptr));
  // A size that is no display mode is refused and leaves the device as it was.
  D3DPRESENT_PARAMETERS odd = pp;
  odd.BackBufferWidth = 1000;
  EXPECT_EQ(D3DERR_INVALIDCALL, t.device->Reset(&odd));
  pp.Windowed = TRUE;
  pp.BackBufferWidth = 64;
  pp.BackBufferHeight = 48;
  ASSERT_EQ(D3D_OK, t.device->Reset(&pp)) << brD3D9LastError();
  ASSERT_EQ(D3D_OK, t.device->Clear(0, nullptr, D3DCLEAR_TARGET, 0xFF112233u, 1.0f, 0));
  const std::vector<uint32_t> f = presentAndRead(t);
  ASSERT_EQ(64u * 48u, f.size());
  EXPECT_EQ(0xFF112233u, f[47 * 64 + 63]);
}

// A window surface that leaves the back buffer's size without a reset (a full-screen switch the window system
// did not carry out): the device notices at the Present, and from the next frame on draws off screen and
// copies each frame scaled into the window, instead of cutting it to the window's corner.
TEST(D3D9Device, AWindowSurfaceThatNoLongerFitsIsDrawnOffScreenFromTheNextFrame) {
  TestDevice t(32, 24, false);
  ASSERT_TRUE(t.ok()) << t.why();
  brD3D9TestReset();
  ASSERT_EQ(D3D_OK, t.device->Clear(0, nullptr, D3DCLEAR_TARGET, 0xFF336699u, 1.0f, 0));
  ASSERT_EQ(D3D_OK, t.device->Present(nullptr, nullptr, nullptr, nullptr));
  EXPECT_EQ(brD3D9TestGetCounts().frameCopies, 0u) << "straight into the window while it fits";

  brD3D9TestSetSurfaceSize(20, 16);
  ASSERT_EQ(D3D_OK, t.device->Clear(0, nullptr, D3DCLEAR_TARGET, 0xFF00FF00u, 1.0f, 0));
  ASSERT_EQ(D3D_OK, t.device->Present(nullptr, nullptr, nullptr, nullptr));
  for (uint32_t colour : {0xFFFF0000u, 0xFF0000FFu}) {
    ASSERT_EQ(D3D_OK, t.device->Clear(0, nullptr, D3DCLEAR_TARGET, colour, 1.0f, 0));
    const std::vector<uint32_t> frame = presentAndRead(t);
    ASSERT_EQ(32u * 24u, frame.size());
    EXPECT_EQ(colour, frame[0]);
    EXPECT_EQ(colour, frame.back());
  }
  EXPECT_EQ(brD3D9TestGetCounts().frameCopies, 2u) << "each frame after the change copied to the window";
  brD3D9TestSetSurfaceSize(0, 0);
}

// Work sent to OpenGL once, not every time: frames drawn straight into a window of the back buffer's size (no
// copy until a front-buffer read asks for one, then one a frame), a copy a frame for a smaller back buffer, only
// the constant registers that changed uploaded, one vertex input state per stream layout reused, and whole
// clears without the scissor.
TEST(D3D9Device, RepeatedStateIsSentOnceAndFramesGoStraightToTheWindow) {
  TestDevice t(32, 32, false);
  ASSERT_TRUE(t.ok()) << t.why();
  IDirect3DVertexShader9* vs =
      makeShader(t.device, "vs.1.1\ndcl_position0 v0\ndcl_color0 v1\nadd r0, v0, c5\nmov oPos, r0\nmov oD0, v1\n");
  IDirect3DVertexDeclaration9* decl = nullptr;
  ASSERT_EQ(D3D_OK, t.device->CreateVertexDeclaration(kScreenDecl, &decl));
  // Two buffers: the left half red, the right half green.
  IDirect3DVertexBuffer9* vb[2] = {nullptr, nullptr};
  for (int i = 0; i < 2; ++i) {
    const float l = i * 16 - 0.5f, r = l + 16;
    const uint32_t c = i ? 0xFF00FF00u : 0xFFFF0000u;
    const ScreenVertex v[] = {{l, -0.5f, 0, 1, c}, {r, -0.5f, 0, 1, c}, {l, 31.5f, 0, 1, c}, {r, 31.5f, 0, 1, c}};
    ASSERT_EQ(D3D_OK, t.device->CreateVertexBuffer(sizeof v, 0, 0, D3DPOOL_MANAGED, &vb[i], nullptr));
    void* p = nullptr;
    ASSERT_EQ(D3D_OK, vb[i]->Lock(0, 0, &p, 0));
    std::memcpy(p, v, sizeof v);
    vb[i]->Unlock();
  }
  const float zero[4 * 6] = {};
  t.device->SetVertexShaderConstantF(0, zero, 6);
  brD3D9TestReset();
  auto frame = [&](int n) {
    for (int k = 0; k < 3; ++k) ASSERT_EQ(D3D_OK, t.device->Clear(0, nullptr, D3DCLEAR_TARGET, 0xFF000000u, 1.0f, 0));
    const float c3[4] = {float(n), 0, 0, 0};  // a register the shader does not use in its sum
    t.device->SetVertexShaderConstantF(3, c3, 1);
    ASSERT_EQ(D3D_OK, t.device->BeginScene());
    t.device->SetRenderState(D3DRS_CULLMODE, D3DCULL_NONE);
    t.device->SetTextureStageState(0, D3DTSS_COLOROP, D3DTOP_DISABLE);
    t.device->SetVertexShader(vs);
    t.device->SetVertexDeclaration(decl);
    for (int i = 0; i < 2; ++i) {
      t.device->SetStreamSource(0, vb[i], 0, sizeof(ScreenVertex));
      ASSERT_EQ(D3D_OK, t.device->DrawPrimitive(D3DPT_TRIANGLESTRIP, 0, 2)) << brD3D9LastError();
    }
    ASSERT_EQ(D3D_OK, t.device->EndScene());
  };
  for (int n = 1; n <= 5; ++n) {
    frame(n);
    ASSERT_EQ(D3D_OK, t.device->Present(nullptr, nullptr, nullptr, nullptr));
  }
  BrD3D9TestCounts counts = brD3D9TestGetCounts();
  EXPECT_EQ(counts.frameCopies, 0u) << "frames drawn straight into the window";
  EXPECT_EQ(counts.vertexInputStates, 2u) << "one input state per buffer, made once";
  EXPECT_EQ(counts.constantRegisters, 6u + 4u) << "all six once, then only the changed register";
  EXPECT_EQ(counts.scissorChanges, 0u);
  EXPECT_LE(counts.textureUnitChanges, 2u) << "a stage's unit is chosen once, not set and reset at each bind";
  // An off-screen surface never holds the application back at its swap: without a wait the driver would queue
  // frames without bound (and their memory with them).
  EXPECT_EQ(counts.presentWaits, 3u) << "from the third Present on, each waits for the frame before last";

  // A front-buffer read shows the frame; from then on each Present keeps one copy.
  frame(6);
  std::vector<uint32_t> f = presentAndRead(t);
  ASSERT_EQ(32u * 32u, f.size());
  EXPECT_EQ(0xFFFF0000u, f[10 * 32 + 3]);
  EXPECT_EQ(0xFF00FF00u, f[10 * 32 + 28]);
  frame(7);
  f = presentAndRead(t);
  EXPECT_EQ(0xFF00FF00u, f[20 * 32 + 20]);
  EXPECT_EQ(brD3D9TestGetCounts().frameCopies, 1u);

  // A back buffer smaller than the window is drawn off screen and copied (scaled) at each Present.
  D3DPRESENT_PARAMETERS pp;
  std::memset(&pp, 0, sizeof pp);
  pp.BackBufferWidth = 16;
  pp.BackBufferHeight = 16;
  pp.BackBufferFormat = D3DFMT_X8R8G8B8;
  pp.SwapEffect = D3DSWAPEFFECT_DISCARD;
  pp.Windowed = TRUE;
  pp.PresentationInterval = D3DPRESENT_INTERVAL_IMMEDIATE;
  ASSERT_EQ(D3D_OK, t.device->Reset(&pp)) << brD3D9LastError();
  brD3D9TestReset();
  for (int n = 0; n < 3; ++n) ASSERT_EQ(D3D_OK, t.device->Present(nullptr, nullptr, nullptr, nullptr));
  EXPECT_EQ(brD3D9TestGetCounts().frameCopies, 3u);
  for (IDirect3DVertexBuffer9*& b : vb) releaseAll(b);
  releaseAll(decl);
  releaseAll(vs);
}
