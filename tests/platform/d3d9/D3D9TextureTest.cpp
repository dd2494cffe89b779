// Texture contents through the life of a texture whose system-memory copy comes and goes: locks after the copy
// went, partial locks, a reset of the device, all seen in the drawn picture and in the locked texels.
#include <cstring>

#include "tests/platform/d3d9/D3D9TestSupport.h"

using namespace d3d9test;

namespace {

const UINT kSize = 32;

// Texel (x, y) of texture k: a colour per texture and quadrant, so that a texture drawn or read in the wrong
// place or from another texture shows.
uint32_t texel(int k, UINT x, UINT y) {
  return 0xFF000000u | (uint32_t(40 * k + 20) << 16) | (uint32_t(x * 16) << 8) | uint32_t(y * 16);
}

bool fill(IDirect3DTexture9* t, int k, UINT size) {
  D3DLOCKED_RECT r;
  if (FAILED(t->LockRect(0, &r, nullptr, 0))) return false;
  for (UINT y = 0; y < size; ++y)
    for (UINT x = 0; x < size; ++x)
      reinterpret_cast<uint32_t*>(static_cast<uint8_t*>(r.pBits) + y * r.Pitch)[x] = texel(k, x, y);
  return SUCCEEDED(t->UnlockRect(0));
}

// Every texel of level 0 as a read-only lock gives it.
std::vector<uint32_t> locked(IDirect3DTexture9* t, UINT size) {
  std::vector<uint32_t> out;
  D3DLOCKED_RECT r;
  if (FAILED(t->LockRect(0, &r, nullptr, D3DLOCK_READONLY))) return out;
  for (UINT y = 0; y < size; ++y)
    for (UINT x = 0; x < size; ++x)
      out.push_back(reinterpret_cast<const uint32_t*>(static_cast<const uint8_t*>(r.pBits) + y * r.Pitch)[x]);
  t->UnlockRect(0);
  return out;
}

// Draws each texture point-sampled, texel for pixel, into its own 8x8 square along the top rows.
class Drawer {
public:
  explicit Drawer(IDirect3DDevice9* d) : mDevice(d) {
    d->CreateVertexDeclaration(kSpriteDecl, &mDecl);
    mShader = makeShader(d, kShader2d);
    d->CreateVertexBuffer(4 * 4 * sizeof(SpriteVertex), 0, 0, D3DPOOL_MANAGED, &mVb, nullptr);
  }
  ~Drawer() {
    releaseAll(mDecl);
    releaseAll(mShader);
    releaseAll(mVb);
  }
  bool ok() const { return mDecl && mShader && mVb; }
  void draw(const std::vector<IDirect3DTexture9*>& textures) {
    IDirect3DDevice9* d = mDevice;
    d->Clear(0, nullptr, D3DCLEAR_TARGET, 0xFF000000u, 1.0f, 0);
    d->BeginScene();
    d->SetRenderState(D3DRS_ZENABLE, D3DZB_FALSE);
    d->SetRenderState(D3DRS_CULLMODE, D3DCULL_NONE);
    d->SetTextureStageState(0, D3DTSS_COLOROP, D3DTOP_SELECTARG1);
    d->SetTextureStageState(0, D3DTSS_COLORARG1, D3DTA_TEXTURE);
    d->SetVertexShader(mShader);
    d->SetVertexDeclaration(mDecl);
    SpriteVertex* v = nullptr;
    mVb->Lock(0, 0, reinterpret_cast<void**>(&v), 0);
    for (size_t i = 0; i < textures.size() && i < 4; ++i) {
      const float l = float(i * 8) - 0.5f, t = -0.5f, r = l + 8, b = t + 8;
      v[i * 4 + 0] = {l, t, 0, 1, 0xFFFFFFFFu, 0, 0};
      v[i * 4 + 1] = {r, t, 0, 1, 0xFFFFFFFFu, 1, 0};
      v[i * 4 + 2] = {l, b, 0, 1, 0xFFFFFFFFu, 0, 1};
      v[i * 4 + 3] = {r, b, 0, 1, 0xFFFFFFFFu, 1, 1};
    }
    mVb->Unlock();
    d->SetStreamSource(0, mVb, 0, sizeof(SpriteVertex));
    for (size_t i = 0; i < textures.size() && i < 4; ++i) {
      d->SetTexture(0, textures[i]);
      d->DrawPrimitive(D3DPT_TRIANGLESTRIP, UINT(i * 4), 2);
    }
    d->EndScene();
  }

private:
  IDirect3DDevice9* mDevice;
  IDirect3DVertexDeclaration9* mDecl = nullptr;
  IDirect3DVertexShader9* mShader = nullptr;
  IDirect3DVertexBuffer9* mVb = nullptr;
};

// Texture k's texels as drawn in its square of the frame.
bool drawnAsFilled(const std::vector<uint32_t>& frame, int k, std::string& where) {
  for (UINT y = 0; y < 8; ++y)
    for (UINT x = 0; x < 8; ++x)
      if (frame[size_t(y) * kSize + size_t(k) * 8 + x] != texel(k, x, y)) {
        where = "texture " + std::to_string(k) + " at (" + std::to_string(x) + ", " + std::to_string(y) + ")";
        return false;
      }
  return true;
}

}  // namespace

TEST(D3D9Texture, ALockAfterTheCopyWentReadsAndKeepsTheTexels) {
  TestDevice t(kSize, kSize, false);
  ASSERT_TRUE(t.ok()) << t.why();
  Drawer drawer(t.device);
  ASSERT_TRUE(drawer.ok());
  IDirect3DTexture9* tex = nullptr;
  ASSERT_EQ(D3D_OK, t.device->CreateTexture(8, 8, 2, 0, D3DFMT_A8R8G8B8, D3DPOOL_MANAGED, &tex, nullptr));
  brD3D9TestReset();
  ASSERT_TRUE(fill(tex, 0, 8));
  EXPECT_EQ(0u, brD3D9TestGetCounts().textureReadBacks) << "a first lock has nothing to read back";

  // The unlock sent the level to OpenGL and let the copy go: a lock now reads the texels back.
  std::vector<uint32_t> back = locked(tex, 8);
  ASSERT_EQ(64u, back.size());
  for (UINT i = 0; i < 64; ++i) ASSERT_EQ(texel(0, i % 8, i / 8), back[i]) << "texel " << i;
  EXPECT_EQ(1u, brD3D9TestGetCounts().textureReadBacks);

  // A rectangle rewritten keeps the rest of the level; the texture keeps its copy from now on.
  D3DLOCKED_RECT r;
  const RECT corner = {4, 4, 8, 8};
  ASSERT_EQ(D3D_OK, tex->LockRect(0, &r, &corner, 0));
  for (int y = 0; y < 4; ++y)
    for (int x = 0; x < 4; ++x)
      reinterpret_cast<uint32_t*>(static_cast<uint8_t*>(r.pBits) + y * r.Pitch)[x] = 0xFF00FF00u;
  ASSERT_EQ(D3D_OK, tex->UnlockRect(0));
  drawer.draw({tex});
  const std::vector<uint32_t> f = presentAndRead(t);
  EXPECT_EQ(texel(0, 1, 1), f[1 * kSize + 1]);
  EXPECT_EQ(texel(0, 6, 2), f[2 * kSize + 6]);
  EXPECT_EQ(0xFF00FF00u, f[5 * kSize + 5]);
  EXPECT_EQ(0xFF00FF00u, f[7 * kSize + 7]);
  back = locked(tex, 8);
  ASSERT_EQ(64u, back.size());
  EXPECT_EQ(0xFF00FF00u, back[6 * 8 + 6]);
  EXPECT_EQ(texel(0, 3, 0), back[3]);
  EXPECT_EQ(1u, brD3D9TestGetCounts().textureReadBacks) << "a texture locked again keeps its copy";

  // A level never locked reads as zeros.
  ASSERT_EQ(D3D_OK, tex->LockRect(1, &r, nullptr, D3DLOCK_READONLY));
  EXPECT_EQ(0u, static_cast<const uint32_t*>(r.pBits)[0]);
  tex->UnlockRect(1);
  releaseAll(tex);
}

TEST(D3D9Texture, AResetKeepsEveryTexture) {
  TestDevice t(kSize, kSize, false);
  ASSERT_TRUE(t.ok()) << t.why();
  std::vector<IDirect3DTexture9*> textures(4, nullptr);
  for (int k = 0; k < 4; ++k) {
    ASSERT_EQ(D3D_OK,
              t.device->CreateTexture(8, 8, 1, 0, D3DFMT_A8R8G8B8, D3DPOOL_MANAGED, &textures[size_t(k)], nullptr));
    ASSERT_TRUE(fill(textures[size_t(k)], k, 8));
  }
  {
    Drawer drawer(t.device);
    ASSERT_TRUE(drawer.ok());
    drawer.draw(textures);
    const std::vector<uint32_t> f = presentAndRead(t);
    std::string where;
    for (int k = 0; k < 4; ++k) EXPECT_TRUE(drawnAsFilled(f, k, where)) << "before the reset: " << where;
  }
  // The device is lost and reset, as the rendering device does on a resize or a switch to full screen.
  D3DPRESENT_PARAMETERS pp;
  std::memset(&pp, 0, sizeof pp);
  pp.BackBufferWidth = kSize;
  pp.BackBufferHeight = kSize;
  pp.BackBufferFormat = D3DFMT_X8R8G8B8;
  pp.SwapEffect = D3DSWAPEFFECT_DISCARD;
  pp.hDeviceWindow = t.hwnd;
  pp.Windowed = TRUE;
  pp.PresentationInterval = D3DPRESENT_INTERVAL_IMMEDIATE;
  ASSERT_EQ(D3D_OK, t.device->Reset(&pp)) << brD3D9LastError();
  Drawer drawer(t.device);
  ASSERT_TRUE(drawer.ok());
  drawer.draw(textures);
  const std::vector<uint32_t> f = presentAndRead(t);
  std::string where;
  for (int k = 0; k < 4; ++k) {
    EXPECT_TRUE(drawnAsFilled(f, k, where)) << "after the reset: " << where;
    const std::vector<uint32_t> back = locked(textures[size_t(k)], 8);
    ASSERT_EQ(64u, back.size());
    EXPECT_EQ(texel(k, 7, 7), back[63]) << "texture " << k;
  }
  for (IDirect3DTexture9*& tex : textures) releaseAll(tex);
}
