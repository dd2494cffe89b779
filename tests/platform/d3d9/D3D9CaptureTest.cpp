// The bench capture of a frame: it must hold what the layer really drew (rebased indices and the vertices they
// read, the texture's texels, the constants, the states, the finished picture), stop at the Present, and cost
// nothing once disarmed. Also: a clear of a rectangle must not leave later draws cut to that rectangle.
#include <epoxy/gl.h>

#include <cstring>

#include "platform/d3d9/d3d9_capture.h"
#include "tests/platform/d3d9/D3D9TestSupport.h"

using namespace d3d9test;

namespace {

const char kTintShader[] =
    "vs.1.1\ndcl_position0 v0\ndcl_color0 v1\ndcl_texcoord0 v8\nmov oPos, v0\nmul oD0, v1, c3\nmov oT0, v8\n";

struct Vertex {
  float x, y, z, rhw;
  uint32_t color;
  float u, v;
};

const D3DVERTEXELEMENT9 kDecl[] = {{0, 0, D3DDECLTYPE_FLOAT4, D3DDECLMETHOD_DEFAULT, D3DDECLUSAGE_POSITIONT, 0},
                                   {0, 16, D3DDECLTYPE_D3DCOLOR, D3DDECLMETHOD_DEFAULT, D3DDECLUSAGE_COLOR, 0},
                                   {0, 20, D3DDECLTYPE_FLOAT2, D3DDECLMETHOD_DEFAULT, D3DDECLUSAGE_TEXCOORD, 0},
                                   D3DDECL_END()};

}  // namespace

TEST(D3D9Capture, AFrameIsCapturedAsDrawnAndOnlyThatFrame) {
  TestDevice t(32, 32);
  ASSERT_TRUE(t.ok()) << t.why();
  IDirect3DVertexShader9* vs = makeShader(t.device, kTintShader);
  IDirect3DVertexDeclaration9* decl = nullptr;
  ASSERT_EQ(D3D_OK, t.device->CreateVertexDeclaration(kDecl, &decl));
  // Two unused vertices, then the screen-covering quad; the draw reaches it through a base vertex and indices
  // that start past the buffer's first ones.
  const Vertex v[] = {{9, 9, 0, 1, 0xFFFF0000u, 0, 0},         {9, 9, 0, 1, 0xFFFF0000u, 0, 0},
                      {-0.5f, -0.5f, 0, 1, 0xFF00FF00u, 0, 0}, {31.5f, -0.5f, 0, 1, 0xFF00FF00u, 1, 0},
                      {-0.5f, 31.5f, 0, 1, 0xFF00FF00u, 0, 1}, {31.5f, 31.5f, 0, 1, 0xFF00FF00u, 1, 1}};
  const uint16_t idx[] = {7, 7, 7, 1, 2, 3, 2, 4, 3};
  IDirect3DVertexBuffer9* vb = nullptr;
  IDirect3DIndexBuffer9* ib = nullptr;
  IDirect3DTexture9* tex = nullptr;
  ASSERT_EQ(D3D_OK, t.device->CreateVertexBuffer(sizeof v, 0, 0, D3DPOOL_MANAGED, &vb, nullptr));
  ASSERT_EQ(D3D_OK, t.device->CreateIndexBuffer(sizeof idx, 0, D3DFMT_INDEX16, D3DPOOL_MANAGED, &ib, nullptr));
  ASSERT_EQ(D3D_OK, t.device->CreateTexture(2, 2, 1, 0, D3DFMT_A8R8G8B8, D3DPOOL_MANAGED, &tex, nullptr));
  void* p = nullptr;
  ASSERT_EQ(D3D_OK, vb->Lock(0, 0, &p, 0));
  std::memcpy(p, v, sizeof v);
  vb->Unlock();
  ASSERT_EQ(D3D_OK, ib->Lock(0, 0, &p, 0));
  std::memcpy(p, idx, sizeof idx);
  ib->Unlock();
  D3DLOCKED_RECT r;
  ASSERT_EQ(D3D_OK, tex->LockRect(0, &r, nullptr, 0));
  const uint32_t texels[4] = {0xFFFFFFFFu, 0xFFFFFFFEu, 0xFFFFFFFDu, 0xFFFFFFFCu};
  for (int y = 0; y < 2; ++y) std::memcpy(static_cast<uint8_t*>(r.pBits) + y * r.Pitch, texels + y * 2, 8);
  tex->UnlockRect(0);

  BrD3D9FrameCapture capture;
  capture.calls.resize(3);  // arming starts the capture afresh
  brD3D9TestCaptureNextFrame(&capture);
  EXPECT_TRUE(capture.calls.empty());
  ASSERT_EQ(D3D_OK, t.device->Clear(0, nullptr, D3DCLEAR_TARGET | D3DCLEAR_ZBUFFER, 0xFF000000u, 1.0f, 0));
  const D3DRECT rect = {4, 2, 8, 6};
  ASSERT_EQ(D3D_OK, t.device->Clear(1, &rect, D3DCLEAR_TARGET, 0xFFFF0000u, 1.0f, 0));
  ASSERT_EQ(D3D_OK, t.device->BeginScene());
  const float tint[4] = {1.0f, 0.5f, 1.0f, 1.0f};
  t.device->SetVertexShaderConstantF(3, tint, 1);
  t.device->SetRenderState(D3DRS_CULLMODE, D3DCULL_NONE);
  t.device->SetRenderState(D3DRS_ALPHABLENDENABLE, TRUE);
  t.device->SetRenderState(D3DRS_SRCBLEND, D3DBLEND_SRCALPHA);
  t.device->SetRenderState(D3DRS_DESTBLEND, D3DBLEND_INVSRCALPHA);
  t.device->SetTexture(0, tex);
  t.device->SetVertexShader(vs);
  t.device->SetVertexDeclaration(decl);
  t.device->SetStreamSource(0, vb, 0, sizeof(Vertex));
  t.device->SetIndices(ib);
  ASSERT_EQ(D3D_OK, t.device->DrawIndexedPrimitive(D3DPT_TRIANGLELIST, 1, 1, 4, 3, 2)) << brD3D9LastError();
  ASSERT_EQ(D3D_OK, t.device->EndScene());
  EXPECT_FALSE(capture.complete);
  const std::vector<uint32_t> frame = presentAndRead(t);
  ASSERT_TRUE(capture.complete);

  // The draw covers the whole frame, the cleared rectangle included: the clear's scissor is not left on.
  ASSERT_EQ(32u * 32u, frame.size());
  EXPECT_EQ(frame[0], frame[3 * 32 + 5]);
  EXPECT_NE(0u, frame[0] & 0x00FF00u);
  EXPECT_EQ(0u, frame[0] & 0xFF0000u);
  ASSERT_EQ(frame.size(), capture.picture.size());
  size_t same = 0;
  for (size_t i = 0; i < frame.size(); ++i) same += (frame[i] & 0xFFFFFFu) == capture.picture[i];
  EXPECT_EQ(frame.size(), same);
  EXPECT_EQ(32u, capture.width);
  EXPECT_EQ(0u, capture.skippedDraws);

  // Two clears (the second with its scissor box, bottom-left origin), then the draw.
  ASSERT_EQ(3u, capture.calls.size());
  EXPECT_FALSE(capture.calls[0].isDraw);
  EXPECT_FALSE(capture.calls[0].scissor);
  EXPECT_EQ(uint32_t(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT), capture.calls[0].clearMask);
  EXPECT_TRUE(capture.calls[1].scissor);
  EXPECT_EQ(4, capture.calls[1].scissorBox[0]);
  EXPECT_EQ(32 - 6, capture.calls[1].scissorBox[1]);
  EXPECT_FLOAT_EQ(1.0f, capture.calls[1].clearColor[0]);
  const BrD3D9CapturedCall& d = capture.calls[2];
  ASSERT_TRUE(d.isDraw);
  EXPECT_EQ(uint32_t(GL_TRIANGLES), d.mode);
  EXPECT_EQ(6u, d.count);
  EXPECT_EQ(2u, d.indexSize);
  ASSERT_EQ(12u, d.indices.size());
  uint16_t rebased[6];
  std::memcpy(rebased, d.indices.data(), sizeof rebased);
  const uint16_t expected[6] = {0, 1, 2, 1, 3, 2};
  EXPECT_EQ(0, std::memcmp(expected, rebased, sizeof rebased));
  EXPECT_EQ(4u, d.vertexCount);
  ASSERT_EQ(1u, d.streams.size());
  EXPECT_EQ(sizeof(Vertex), d.streams[0].stride);
  ASSERT_EQ(4 * sizeof(Vertex), d.streams[0].bytes.size());
  EXPECT_EQ(0, std::memcmp(&v[2], d.streams[0].bytes.data(), 4 * sizeof(Vertex)));
  EXPECT_EQ(3u, d.attributes.size());
  ASSERT_GE(d.constants.size(), 16u);
  EXPECT_FLOAT_EQ(0.5f, d.constants[3 * 4 + 1]);
  ASSERT_EQ(1u, capture.programs.size());
  EXPECT_NE(std::string::npos, capture.programs[0].vertexGlsl.find("brFix"));
  EXPECT_EQ(4u, capture.programs[0].constantRegisters);
  EXPECT_FALSE(capture.programs[0].fragmentGlsl.empty());
  ASSERT_EQ(0, d.textures[0]);
  EXPECT_EQ(-1, d.textures[1]);
  ASSERT_EQ(1u, capture.textures.size());
  ASSERT_EQ(1u, capture.textures[0].levels.size());
  EXPECT_EQ(0, std::memcmp(texels, capture.textures[0].levels[0].texels.data(), sizeof texels));
  EXPECT_EQ(1, d.raster.blend);
  EXPECT_EQ(uint32_t(GL_SRC_ALPHA), d.raster.blendSrc);
  EXPECT_EQ(0, d.raster.cull);
  EXPECT_EQ(32, d.raster.viewport[2]);

  // The Present ended the capture: the next frame leaves it alone, and so does a frame after arming and
  // disarming.
  ASSERT_EQ(D3D_OK, t.device->Clear(0, nullptr, D3DCLEAR_TARGET, 0xFF0000FFu, 1.0f, 0));
  presentAndRead(t);
  EXPECT_EQ(3u, capture.calls.size());
  BrD3D9FrameCapture other;
  brD3D9TestCaptureNextFrame(&other);
  brD3D9TestCaptureNextFrame(nullptr);
  ASSERT_EQ(D3D_OK, t.device->Clear(0, nullptr, D3DCLEAR_TARGET, 0xFF0000FFu, 1.0f, 0));
  presentAndRead(t);
  EXPECT_TRUE(other.calls.empty());
  EXPECT_FALSE(other.complete);
  releaseAll(vs);
  releaseAll(decl);
  releaseAll(vb);
  releaseAll(ib);
  releaseAll(tex);
}
