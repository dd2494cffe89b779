// Small scenes rendered headless and compared with golden images: sprites with alpha test and blending
// and the texture-stage operations, a textured triangle through a vs_1_1 shader, a line list, the depth
// test and culling. Key pixels are also checked by value, so a golden image cannot hide a wrong result.
#include <cmath>
#include <cstring>

#include "tests/platform/d3d9/D3D9TestSupport.h"

using namespace d3d9test;

namespace {

const UINT kSize = 64;

// The built-in shaders of the rendering device, as it writes them (the sprite shader is shared).
const char kShaderDefault[] =
    "vs.1.1\ndcl_position v0\ndcl_color0 v1\ndcl_texcoord0 v8\nm4x4 r0, v0, c4\nm4x4 oPos, r0, c0\nmov oD0, v1\nmov "
    "oT0, v8\n";
const char kShader3dLine[] = "vs.1.1\ndcl_position v0\ndcl_color0 v1\nm4x4 oPos, v0, c0\nmov oD0, v1\n";

uint32_t px(const std::vector<uint32_t>& f, int x, int y) { return f[size_t(y) * kSize + size_t(x)]; }
int red(uint32_t c) { return int((c >> 16) & 0xFF); }
int blue(uint32_t c) { return int(c & 0xFF); }

IDirect3DTexture9* makeTexture(IDirect3DDevice9* device, UINT w, UINT h, D3DFORMAT format,
                               uint32_t (*texel)(UINT x, UINT y)) {
  IDirect3DTexture9* tex = nullptr;
  if (FAILED(device->CreateTexture(w, h, 1, 0, format, D3DPOOL_MANAGED, &tex, nullptr))) return nullptr;
  D3DLOCKED_RECT r;
  if (SUCCEEDED(tex->LockRect(0, &r, nullptr, 0))) {
    for (UINT y = 0; y < h; ++y)
      for (UINT x = 0; x < w; ++x)
        reinterpret_cast<uint32_t*>(static_cast<uint8_t*>(r.pBits) + y * r.Pitch)[x] = texel(x, y);
    tex->UnlockRect(0);
  }
  return tex;
}

// A quad of pixels [x0, x1) x [y0, y1), texture 0..1, as the sprite daemon lays them out (offset by -0.5).
void quad(SpriteVertex* v, float x0, float y0, float x1, float y1, uint32_t color, float z = 0.0f) {
  const float l = x0 - 0.5f, t = y0 - 0.5f, r = x1 - 0.5f, b = y1 - 0.5f;
  v[0] = {l, t, z, 1, color, 0, 0};
  v[1] = {r, t, z, 1, color, 1, 0};
  v[2] = {r, b, z, 1, color, 1, 1};
  v[3] = {l, b, z, 1, color, 0, 1};
}

struct Matrix {
  float m[4][4];
};

Matrix multiply(const Matrix& a, const Matrix& b) {
  D3DXMATRIX r, x(&a.m[0][0]), y(&b.m[0][0]);
  D3DXMatrixMultiply(&r, &x, &y);
  Matrix out;
  std::memcpy(out.m, r.m, sizeof out.m);
  return out;
}

void setMatrix(IDirect3DDevice9* device, UINT reg, const Matrix& m) {
  D3DXMATRIX x(&m.m[0][0]), t;
  D3DXMatrixTranspose(&t, &x);
  device->SetVertexShaderConstantF(reg, t, 4);
}

// Left-handed perspective as the rendering device builds it (horizontal field of view in degrees).
Matrix projection(float fovDeg, float nearZ, float farZ) {
  const float w = 2.0f * nearZ * std::tan(fovDeg / 2.0f / 360.0f * 6.2831855f), h = w;
  Matrix p = {};
  p.m[0][0] = 2 * nearZ / w;
  p.m[1][1] = 2 * nearZ / h;
  p.m[2][2] = farZ / (farZ - nearZ);
  p.m[2][3] = 1;
  p.m[3][2] = -nearZ * farZ / (farZ - nearZ);
  return p;
}

Matrix translation(float x, float y, float z) {
  Matrix t = {};
  for (int i = 0; i < 4; ++i) t.m[i][i] = 1;
  t.m[3][0] = x;
  t.m[3][1] = y;
  t.m[3][2] = z;
  return t;
}

template <class T>
IDirect3DVertexBuffer9* makeVB(IDirect3DDevice9* device, const T* data, UINT bytes) {
  IDirect3DVertexBuffer9* vb = nullptr;
  if (FAILED(device->CreateVertexBuffer(bytes, 0, 0, D3DPOOL_MANAGED, &vb, nullptr))) return nullptr;
  void* p = nullptr;
  vb->Lock(0, 0, &p, 0);
  std::memcpy(p, data, bytes);
  vb->Unlock();
  return vb;
}

}  // namespace

TEST(D3D9Golden, SpritesAlphaTestBlendingAndStages) {
  TestDevice t(kSize, kSize);
  ASSERT_TRUE(t.ok()) << t.why();
  IDirect3DDevice9* d = t.device;
  // A 4x4 sprite texture: left half opaque white, right half alpha 0 (cut by the alpha test) with one
  // half-transparent row at the bottom.
  IDirect3DTexture9* sprite = makeTexture(d, 4, 4, D3DFMT_A8R8G8B8, [](UINT x, UINT y) -> uint32_t {
    if (y == 3) return 0x80FFFFFFu;
    return x < 2 ? 0xFFFFFFFFu : 0x00FFFFFFu;
  });
  IDirect3DTexture9* blueTex =
      makeTexture(d, 2, 2, D3DFMT_X8R8G8B8, [](UINT, UINT) -> uint32_t { return 0x000000FFu; });
  ASSERT_TRUE(sprite && blueTex);
  IDirect3DVertexShader9* vs = makeShader(d, kShader2d);
  IDirect3DVertexDeclaration9* decl = nullptr;
  ASSERT_EQ(D3D_OK, d->CreateVertexDeclaration(kSpriteDecl, &decl));

  SpriteVertex v[6 * 4];
  quad(v + 0, 4, 4, 28, 28, 0xFFFF0000u);     // red sprite, alpha tested and blended
  quad(v + 4, 36, 4, 60, 28, 0x80FFFFFFu);    // white, half transparent through the vertex alpha
  quad(v + 8, 4, 36, 28, 60, 0xFF00FF00u);    // stage 0 selects the texture only
  quad(v + 12, 36, 36, 60, 60, 0xFFFFFF00u);  // stage 0 disabled: the diffuse colour only
  quad(v + 16, 20, 20, 44, 44, 0xFF808080u);  // stage 1 multiply-add over grey (drawn with 32-bit indices)
  IDirect3DVertexBuffer9* vb = nullptr;
  ASSERT_EQ(D3D_OK,
            d->CreateVertexBuffer(sizeof v, D3DUSAGE_DYNAMIC | D3DUSAGE_WRITEONLY, 0, D3DPOOL_DEFAULT, &vb, nullptr));
  void* p = nullptr;
  ASSERT_EQ(D3D_OK, vb->Lock(0, 0, &p, D3DLOCK_DISCARD));
  std::memcpy(p, v, 16 * sizeof(SpriteVertex));
  ASSERT_EQ(D3D_OK, vb->Unlock());
  ASSERT_EQ(D3D_OK, vb->Lock(16 * sizeof(SpriteVertex), 4 * sizeof(SpriteVertex), &p, D3DLOCK_NOOVERWRITE));
  std::memcpy(p, v + 16, 4 * sizeof(SpriteVertex));
  ASSERT_EQ(D3D_OK, vb->Unlock());
  const uint16_t idx16[6] = {0, 1, 2, 0, 2, 3};
  const uint32_t idx32[6] = {0, 1, 2, 0, 2, 3};
  IDirect3DIndexBuffer9 *ib16 = nullptr, *ib32 = nullptr;
  ASSERT_EQ(D3D_OK,
            d->CreateIndexBuffer(sizeof idx16, D3DUSAGE_DYNAMIC, D3DFMT_INDEX16, D3DPOOL_SYSTEMMEM, &ib16, nullptr));
  ASSERT_EQ(D3D_OK, d->CreateIndexBuffer(sizeof idx32, 0, D3DFMT_INDEX32, D3DPOOL_MANAGED, &ib32, nullptr));
  ASSERT_EQ(D3D_OK, ib16->Lock(0, 0, &p, D3DLOCK_DISCARD));
  std::memcpy(p, idx16, sizeof idx16);
  ib16->Unlock();
  ASSERT_EQ(D3D_OK, ib32->Lock(0, 0, &p, 0));
  std::memcpy(p, idx32, sizeof idx32);
  ib32->Unlock();

  ASSERT_EQ(D3D_OK, d->Clear(0, nullptr, D3DCLEAR_TARGET | D3DCLEAR_ZBUFFER, 0xFF202040u, 1.0f, 0));
  ASSERT_EQ(D3D_OK, d->BeginScene());
  // The rendering device's sprite states: alpha blending and testing, bilinear sampling, LOD bias -1.
  d->SetRenderState(D3DRS_ALPHABLENDENABLE, TRUE);
  d->SetRenderState(D3DRS_SRCBLEND, D3DBLEND_SRCALPHA);
  d->SetRenderState(D3DRS_DESTBLEND, D3DBLEND_INVSRCALPHA);
  d->SetRenderState(D3DRS_ALPHATESTENABLE, TRUE);
  d->SetRenderState(D3DRS_ALPHAREF, 1);
  d->SetRenderState(D3DRS_ALPHAFUNC, D3DCMP_GREATEREQUAL);
  d->SetRenderState(D3DRS_LIGHTING, FALSE);
  const float bias = -1.0f;
  DWORD biasBits;
  std::memcpy(&biasBits, &bias, 4);
  for (DWORD s = 0; s < 2; ++s) {
    d->SetSamplerState(s, D3DSAMP_MINFILTER, D3DTEXF_POINT);
    d->SetSamplerState(s, D3DSAMP_MAGFILTER, D3DTEXF_POINT);
    d->SetSamplerState(s, D3DSAMP_MIPMAPLODBIAS, biasBits);
  }
  d->SetTextureStageState(0, D3DTSS_COLORARG1, D3DTA_TEXTURE);
  d->SetTextureStageState(0, D3DTSS_COLORARG2, D3DTA_DIFFUSE);
  d->SetTextureStageState(0, D3DTSS_COLOROP, D3DTOP_MODULATE);
  d->SetTextureStageState(0, D3DTSS_ALPHAOP, D3DTOP_MODULATE);
  d->SetTextureStageState(0, D3DTSS_ALPHAARG1, D3DTA_DIFFUSE);
  d->SetTextureStageState(0, D3DTSS_ALPHAARG2, D3DTA_TEXTURE);
  d->SetVertexShader(vs);
  d->SetVertexDeclaration(decl);
  d->SetStreamSource(0, vb, 0, sizeof(SpriteVertex));
  d->SetIndices(ib16);
  d->SetTexture(0, sprite);
  // Two sprites with a base vertex each.
  ASSERT_EQ(D3D_OK, d->DrawIndexedPrimitive(D3DPT_TRIANGLELIST, 0, 0, 4, 0, 2)) << brD3D9LastError();
  ASSERT_EQ(D3D_OK, d->DrawIndexedPrimitive(D3DPT_TRIANGLELIST, 4, 0, 4, 0, 2)) << brD3D9LastError();
  d->SetTextureStageState(0, D3DTSS_COLOROP, D3DTOP_SELECTARG1);
  d->SetTexture(0, blueTex);
  ASSERT_EQ(D3D_OK, d->DrawIndexedPrimitive(D3DPT_TRIANGLELIST, 8, 0, 4, 0, 2));
  d->SetTextureStageState(0, D3DTSS_COLOROP, D3DTOP_DISABLE);
  ASSERT_EQ(D3D_OK, d->DrawIndexedPrimitive(D3DPT_TRIANGLELIST, 12, 0, 4, 0, 2));
  // Stage 1: current + texture1 x current over grey diffuse with stage 0 selecting the diffuse colour.
  d->SetTextureStageState(0, D3DTSS_COLOROP, D3DTOP_SELECTARG2);
  d->SetTextureStageState(1, D3DTSS_COLOROP, D3DTOP_MULTIPLYADD);
  d->SetTextureStageState(1, D3DTSS_COLORARG1, D3DTA_TEXTURE);
  d->SetTextureStageState(1, D3DTSS_COLORARG2, D3DTA_CURRENT);
  d->SetTexture(1, blueTex);
  d->SetIndices(ib32);
  ASSERT_EQ(D3D_OK, d->DrawIndexedPrimitive(D3DPT_TRIANGLELIST, 16, 0, 4, 0, 2)) << brD3D9LastError();
  // Indices that would run past the buffer are refused.
  EXPECT_EQ(D3DERR_INVALIDCALL, d->DrawIndexedPrimitive(D3DPT_TRIANGLELIST, 16, 0, 4, 3, 2));
  EXPECT_EQ(D3DERR_INVALIDCALL, d->DrawIndexedPrimitive(D3DPT_TRIANGLELIST, 21, 0, 4, 0, 2));
  ASSERT_EQ(D3D_OK, d->EndScene());
  const std::vector<uint32_t> f = presentAndRead(t);
  ASSERT_EQ(size_t(kSize) * kSize, f.size());
  // Red sprite: the opaque left half red, the alpha-0 right half shows the clear colour.
  EXPECT_EQ(0xFFFF0000u, px(f, 8, 8));
  EXPECT_EQ(0xFF202040u, px(f, 24, 8));
  // Bottom texel row (alpha 128) blends red over the background.
  EXPECT_NEAR(0x90, red(px(f, 8, 26)), 3);
  EXPECT_NEAR(0x20, blue(px(f, 8, 26)) - 0x00, 3);
  // White sprite at vertex alpha 128 over the background.
  EXPECT_NEAR(0x90, red(px(f, 40, 8)), 3);
  EXPECT_NEAR(0xA0, blue(px(f, 40, 8)), 3);
  // Select the texture: blue; disabled stage: yellow diffuse.
  EXPECT_EQ(0xFF0000FFu, px(f, 10, 50) | 0xFF000000u);
  EXPECT_EQ(0xFFFFFF00u, px(f, 50, 50));
  // Multiply-add: grey + blue x grey = (128, 128, 255).
  EXPECT_NEAR(0x80, red(px(f, 32, 32)), 2);
  EXPECT_NEAR(0xFF, blue(px(f, 32, 32)), 2);
  EXPECT_TRUE(matchesGolden(f, kSize, kSize, "sprites"));
  for (IUnknown* o : std::initializer_list<IUnknown*>{sprite, blueTex, vs, decl, vb, ib16, ib32}) o->Release();
}

TEST(D3D9Golden, TexturedTriangleThroughVertexShader) {
  TestDevice t(kSize, kSize);
  ASSERT_TRUE(t.ok()) << t.why();
  IDirect3DDevice9* d = t.device;
  // An 8x8 checker of red and white, sampled bilinearly with wrapping (coordinates 0..2).
  IDirect3DTexture9* checker = makeTexture(d, 8, 8, D3DFMT_X8R8G8B8, [](UINT x, UINT y) -> uint32_t {
    return ((x / 2 + y / 2) & 1) ? 0xFFFFFFFFu : 0xFFFF0000u;
  });
  IDirect3DVertexShader9* vs = makeShader(d, kShaderDefault);
  const D3DVERTEXELEMENT9 declElems[] = {{0, 0, D3DDECLTYPE_FLOAT3, 0, D3DDECLUSAGE_POSITION, 0},
                                         {0, 12, D3DDECLTYPE_D3DCOLOR, 0, D3DDECLUSAGE_COLOR, 0},
                                         {0, 16, D3DDECLTYPE_FLOAT2, 0, D3DDECLUSAGE_TEXCOORD, 0},
                                         D3DDECL_END()};
  IDirect3DVertexDeclaration9* decl = nullptr;
  ASSERT_EQ(D3D_OK, d->CreateVertexDeclaration(declElems, &decl));
  struct V {
    float x, y, z;
    uint32_t c;
    float u, v;
  } tri[3] = {{-10, -8, 0, 0xFFFFFFFFu, 0, 2}, {0, 10, 0, 0xFFFFFFFFu, 1, 0}, {10, -8, 0, 0xFF8080FFu, 2, 2}};
  IDirect3DVertexBuffer9* vb = makeVB(d, tri, sizeof tri);
  ASSERT_TRUE(vs && vb && checker);
  // Camera at the origin looking along +z; the triangle 30 units ahead (clockwise as seen: it is drawn).
  setMatrix(d, 0, multiply(translation(0, 0, 0), projection(60.0f, 5.0f, 1000.0f)));
  setMatrix(d, 4, translation(0, 0, 30));
  ASSERT_EQ(D3D_OK, d->Clear(0, nullptr, D3DCLEAR_TARGET | D3DCLEAR_ZBUFFER, 0xFF000000u, 1.0f, 0));
  ASSERT_EQ(D3D_OK, d->BeginScene());
  d->SetSamplerState(0, D3DSAMP_MINFILTER, D3DTEXF_LINEAR);
  d->SetSamplerState(0, D3DSAMP_MAGFILTER, D3DTEXF_LINEAR);
  const float bias = -1.0f;
  DWORD biasBits;
  std::memcpy(&biasBits, &bias, 4);
  d->SetSamplerState(0, D3DSAMP_MIPMAPLODBIAS, biasBits);
  d->SetTexture(0, checker);
  d->SetVertexShader(vs);
  d->SetVertexDeclaration(decl);
  d->SetStreamSource(0, vb, 0, sizeof(V));
  ASSERT_EQ(D3D_OK, d->DrawPrimitive(D3DPT_TRIANGLELIST, 0, 1)) << brD3D9LastError();
  EXPECT_EQ(D3DERR_INVALIDCALL, d->DrawPrimitive(D3DPT_TRIANGLELIST, 1, 1));
  ASSERT_EQ(D3D_OK, d->EndScene());
  const std::vector<uint32_t> f = presentAndRead(t);
  ASSERT_EQ(size_t(kSize) * kSize, f.size());
  // The apex (0, 10, 30) projects to the centre column, above the middle; corners stay black.
  EXPECT_EQ(0xFF000000u, px(f, 1, 1));
  EXPECT_EQ(0xFF000000u, px(f, 62, 62));
  EXPECT_NE(0xFF000000u, px(f, 32, 30));
  EXPECT_EQ(0xFF000000u, px(f, 32, 8));
  EXPECT_TRUE(matchesGolden(f, kSize, kSize, "textured_triangle"));
  for (IUnknown* o : std::initializer_list<IUnknown*>{checker, vs, decl, vb}) o->Release();
}

TEST(D3D9Golden, LineListDepthTestAndCulling) {
  TestDevice t(kSize, kSize);
  ASSERT_TRUE(t.ok()) << t.why();
  IDirect3DDevice9* d = t.device;
  IDirect3DVertexShader9* vs = makeShader(d, kShader3dLine);
  const D3DVERTEXELEMENT9 declElems[] = {{0, 0, D3DDECLTYPE_FLOAT3, 0, D3DDECLUSAGE_POSITION, 0},
                                         {0, 12, D3DDECLTYPE_D3DCOLOR, 0, D3DDECLUSAGE_COLOR, 0},
                                         D3DDECL_END()};
  IDirect3DVertexDeclaration9* decl = nullptr;
  ASSERT_EQ(D3D_OK, d->CreateVertexDeclaration(declElems, &decl));
  struct V {
    float x, y, z;
    uint32_t c;
  };
  // Orthographic-like view: c0-c3 map x, y in -32..32 to the screen and z 0..100 to depth 0..1.
  Matrix ortho = {};
  ortho.m[0][0] = 1.0f / 32;
  ortho.m[1][1] = 1.0f / 32;
  ortho.m[2][2] = 1.0f / 100;
  ortho.m[3][3] = 1;
  setMatrix(d, 0, ortho);
  const V verts[] = {
      // Depth: a near green square, then a far red one over it (hidden), then a far blue one with
      // Z writes off, and a near yellow one drawn over the blue (it wins since the blue wrote no depth).
      {-30, 30, 10, 0xFF00FF00u},
      {-10, 30, 10, 0xFF00FF00u},
      {-10, 10, 10, 0xFF00FF00u},
      {-30, 30, 50, 0xFFFF0000u},
      {-10, 30, 50, 0xFFFF0000u},
      {-10, 10, 50, 0xFFFF0000u},
      {10, 30, 80, 0xFF0000FFu},
      {30, 30, 80, 0xFF0000FFu},
      {30, 10, 80, 0xFF0000FFu},
      {10, 30, 90, 0xFFFFFF00u},
      {30, 30, 90, 0xFFFFFF00u},
      {30, 10, 90, 0xFFFFFF00u},
      // Culling: clockwise on screen (drawn) and counter-clockwise (dropped) under D3DCULL_CCW.
      {-30, -10, 20, 0xFFFF00FFu},
      {-10, -10, 20, 0xFFFF00FFu},
      {-10, -30, 20, 0xFFFF00FFu},
      {10, -10, 20, 0xFF00FFFFu},
      {30, -30, 20, 0xFF00FFFFu},
      {30, -10, 20, 0xFF00FFFFu},
      // Lines: a white horizontal and a grey vertical one across the middle gap.
      {-30, 0, 5, 0xFFFFFFFFu},
      {30, 0, 5, 0xFFFFFFFFu},
      {0, -30, 5, 0xFF808080u},
      {0, 30, 5, 0xFF808080u},
  };
  IDirect3DVertexBuffer9* vb = makeVB(d, verts, sizeof verts);
  ASSERT_TRUE(vs && vb);
  ASSERT_EQ(D3D_OK, d->Clear(0, nullptr, D3DCLEAR_TARGET | D3DCLEAR_ZBUFFER, 0xFF000000u, 1.0f, 0));
  ASSERT_EQ(D3D_OK, d->BeginScene());
  d->SetTextureStageState(0, D3DTSS_COLOROP, D3DTOP_DISABLE);
  d->SetVertexShader(vs);
  d->SetVertexDeclaration(decl);
  d->SetStreamSource(0, vb, 0, sizeof(V));
  ASSERT_EQ(D3D_OK, d->DrawPrimitive(D3DPT_TRIANGLELIST, 0, 2)) << brD3D9LastError();
  d->SetRenderState(D3DRS_ZWRITEENABLE, FALSE);
  ASSERT_EQ(D3D_OK, d->DrawPrimitive(D3DPT_TRIANGLELIST, 6, 1));
  d->SetRenderState(D3DRS_ZWRITEENABLE, TRUE);
  ASSERT_EQ(D3D_OK, d->DrawPrimitive(D3DPT_TRIANGLELIST, 9, 1));
  ASSERT_EQ(D3D_OK, d->DrawPrimitive(D3DPT_TRIANGLELIST, 12, 2));
  ASSERT_EQ(D3D_OK, d->DrawPrimitive(D3DPT_LINELIST, 18, 2));
  ASSERT_EQ(D3D_OK, d->EndScene());
  std::vector<uint32_t> f = presentAndRead(t);
  ASSERT_EQ(size_t(kSize) * kSize, f.size());
  EXPECT_EQ(0xFF00FF00u, px(f, 12, 6));                 // near green beats the later far red
  EXPECT_EQ(0xFFFFFF00u, px(f, 52, 6));                 // blue wrote no depth, yellow drawn over it
  EXPECT_EQ(0xFFFF00FFu, px(f, 12, 48));                // clockwise triangle drawn
  EXPECT_EQ(0xFF000000u, px(f, 52, 48));                // counter-clockwise triangle culled
  EXPECT_EQ(0xFFFFFFFFu, px(f, 16, 32) | 0xFF000000u);  // the horizontal line runs through the middle row
  EXPECT_TRUE(matchesGolden(f, kSize, kSize, "lines_depth_cull"));

  // D3DCULL_CW keeps the counter-clockwise one instead; D3DCULL_NONE keeps both.
  for (DWORD cull : {DWORD(D3DCULL_CW), DWORD(D3DCULL_NONE)}) {
    ASSERT_EQ(D3D_OK, d->Clear(0, nullptr, D3DCLEAR_TARGET | D3DCLEAR_ZBUFFER, 0xFF000000u, 1.0f, 0));
    ASSERT_EQ(D3D_OK, d->BeginScene());
    d->SetRenderState(D3DRS_CULLMODE, cull);
    ASSERT_EQ(D3D_OK, d->DrawPrimitive(D3DPT_TRIANGLELIST, 12, 2));
    ASSERT_EQ(D3D_OK, d->EndScene());
    f = presentAndRead(t);
    EXPECT_EQ(cull == D3DCULL_NONE ? 0xFFFF00FFu : 0xFF000000u, px(f, 12, 48));
    EXPECT_EQ(0xFF00FFFFu, px(f, 52, 48));
  }
  for (IUnknown* o : std::initializer_list<IUnknown*>{vs, decl, vb}) o->Release();
}
