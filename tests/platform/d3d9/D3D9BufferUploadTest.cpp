// Vertex bytes written lock by lock (as the sprite daemon writes them, one sprite a lock) reach the draws that
// follow and only those: a draw made before a lock still shows what the buffer held when it was made.
#include <cstring>

#include "tests/platform/d3d9/D3D9TestSupport.h"

using namespace d3d9test;

namespace {

const UINT kSize = 32;

struct V {
  float x, y, z, rhw;
  uint32_t color;
};

const char kShader[] = "vs.1.1\ndcl_position0 v0\ndcl_color0 v1\nmov oPos,v0\nmov oD0, v1\n";

// Writes the quad [x, x+8) x [0, 8) of one colour into quad slot q with one lock.
void writeQuad(IDirect3DVertexBuffer9* vb, UINT q, float x, uint32_t color, DWORD flags) {
  V* v = nullptr;
  ASSERT_EQ(D3D_OK, vb->Lock(q * 4 * sizeof(V), 4 * sizeof(V), reinterpret_cast<void**>(&v), flags));
  const float l = x - 0.5f, r = l + 8, t = -0.5f, b = 7.5f;
  v[0] = {l, t, 0, 1, color};
  v[1] = {r, t, 0, 1, color};
  v[2] = {l, b, 0, 1, color};
  v[3] = {r, b, 0, 1, color};
  vb->Unlock();
}

}  // namespace

TEST(D3D9BufferUpload, LocksBetweenDrawsReachOnlyTheDrawsAfterThem) {
  TestDevice t(kSize, kSize, false);
  ASSERT_TRUE(t.ok()) << t.why();
  IDirect3DDevice9* d = t.device;
  const D3DVERTEXELEMENT9 elements[] = {{0, 0, D3DDECLTYPE_FLOAT4, 0, D3DDECLUSAGE_POSITIONT, 0},
                                        {0, 16, D3DDECLTYPE_D3DCOLOR, 0, D3DDECLUSAGE_COLOR, 0},
                                        D3DDECL_END()};
  IDirect3DVertexDeclaration9* decl = nullptr;
  ASSERT_EQ(D3D_OK, d->CreateVertexDeclaration(elements, &decl));
  IDirect3DVertexShader9* vs = makeShader(d, kShader);
  IDirect3DVertexBuffer9* vb = nullptr;
  ASSERT_EQ(D3D_OK, d->CreateVertexBuffer(4 * 4 * sizeof(V), D3DUSAGE_DYNAMIC | D3DUSAGE_WRITEONLY, 0, D3DPOOL_DEFAULT,
                                          &vb, nullptr));
  ASSERT_TRUE(vs);
  d->Clear(0, nullptr, D3DCLEAR_TARGET, 0xFF000000u, 1.0f, 0);
  d->BeginScene();
  d->SetRenderState(D3DRS_ZENABLE, D3DZB_FALSE);
  d->SetRenderState(D3DRS_CULLMODE, D3DCULL_NONE);
  d->SetTextureStageState(0, D3DTSS_COLOROP, D3DTOP_SELECTARG1);
  d->SetTextureStageState(0, D3DTSS_COLORARG1, D3DTA_DIFFUSE);
  d->SetVertexShader(vs);
  d->SetVertexDeclaration(decl);
  d->SetStreamSource(0, vb, 0, sizeof(V));
  // Two quads written one lock each, then drawn together.
  writeQuad(vb, 0, 0, 0xFFFF0000u, D3DLOCK_DISCARD);
  writeQuad(vb, 1, 8, 0xFF00FF00u, D3DLOCK_NOOVERWRITE);
  ASSERT_EQ(D3D_OK, d->DrawPrimitive(D3DPT_TRIANGLESTRIP, 0, 2));
  ASSERT_EQ(D3D_OK, d->DrawPrimitive(D3DPT_TRIANGLESTRIP, 4, 2));
  // Slot 0 rewritten after its draw (a plain lock): the draw made keeps red; a new draw shows the new quad.
  writeQuad(vb, 0, 16, 0xFF0000FFu, 0);
  writeQuad(vb, 3, 24, 0xFFFFFF00u, D3DLOCK_NOOVERWRITE);
  ASSERT_EQ(D3D_OK, d->DrawPrimitive(D3DPT_TRIANGLESTRIP, 0, 2));
  ASSERT_EQ(D3D_OK, d->DrawPrimitive(D3DPT_TRIANGLESTRIP, 12, 2));
  d->EndScene();
  const std::vector<uint32_t> f = presentAndRead(t);
  ASSERT_EQ(size_t(kSize) * kSize, f.size());
  EXPECT_EQ(0xFFFF0000u, f[3 * kSize + 3]);
  EXPECT_EQ(0xFF00FF00u, f[3 * kSize + 11]);
  EXPECT_EQ(0xFF0000FFu, f[3 * kSize + 19]);
  EXPECT_EQ(0xFFFFFF00u, f[3 * kSize + 27]);
  EXPECT_EQ(0xFF000000u, f[20 * kSize + 3]);

  // The next frame discards with a lock of a later slot alone, then appends: the draws show what was written
  // since the discard, wherever in the buffer it lies.
  d->Clear(0, nullptr, D3DCLEAR_TARGET, 0xFF000000u, 1.0f, 0);
  d->BeginScene();
  writeQuad(vb, 2, 0, 0xFF00FFFFu, D3DLOCK_DISCARD);
  writeQuad(vb, 1, 8, 0xFFFFFFFFu, D3DLOCK_NOOVERWRITE);
  ASSERT_EQ(D3D_OK, d->DrawPrimitive(D3DPT_TRIANGLESTRIP, 8, 2));
  ASSERT_EQ(D3D_OK, d->DrawPrimitive(D3DPT_TRIANGLESTRIP, 4, 2));
  d->EndScene();
  const std::vector<uint32_t> g = presentAndRead(t);
  ASSERT_EQ(size_t(kSize) * kSize, g.size());
  EXPECT_EQ(0xFF00FFFFu, g[3 * kSize + 3]);
  EXPECT_EQ(0xFFFFFFFFu, g[3 * kSize + 11]);
  EXPECT_EQ(0xFF000000u, g[3 * kSize + 19]);
  releaseAll(vb);
  releaseAll(vs);
  releaseAll(decl);
}
