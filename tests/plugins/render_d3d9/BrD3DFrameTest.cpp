// The frame: clearing, the ground grid, view, world and light constants, texture binding, passes tried in order,
// state caches, screenshots, and a golden image of sprites, lines and world geometry drawn headless through the device.
#include <cmath>
#include <cstdlib>
#include <memory>

#include "engine/presentation/BrEffectorMgr.h"
#include "engine/presentation/BrLightBase.h"
#include "engine/presentation/BrLightMgr.h"
#include "tests/plugins/render_d3d9/GfxDrvRig.h"

#define STB_IMAGE_STATIC
#define STB_IMAGE_IMPLEMENTATION
#define STB_IMAGE_WRITE_STATIC
#define STB_IMAGE_WRITE_IMPLEMENTATION
#include <stb/stb_image.h>
#include <stb/stb_image_write.h>

using namespace gfxtest;

namespace {

std::vector<float> Constants(BrD3DRenDev* dev, UINT reg, UINT count) {
  std::vector<float> v(count * 4, -7.0f);
  dev->GetDevice()->GetVertexShaderConstantF(reg, v.data(), count);
  return v;
}

BrCoords CameraAt(float x, float y, float z) {
  return BrCoords(BrVector(1, 0, 0), BrVector(0, 1, 0), BrVector(0, 0, 1), BrVector(x, y, z));
}

struct WorldVertex {  // ShaderDefault: position, colour, texture coordinates
  float x, y, z;
  uint32_t colour;
  float u, v;
};
struct LitVertex {  // Shader3d: position, normal, colour, texture coordinates
  float x, y, z;
  float nx, ny, nz;
  uint32_t colour;
  float u, v;
};

// A quad of two clockwise triangles (as the camera looking along +z sees them) centred at (cx, cy).
template <class V, class Make>
std::vector<V> Quad(float cx, float cy, float half, Make make) {
  const float xs[6] = {-1, 1, 1, -1, 1, -1};
  const float ys[6] = {1, 1, -1, 1, -1, -1};
  std::vector<V> out;
  for (int i = 0; i < 6; ++i)
    out.push_back(make(cx + xs[i] * half, cy + ys[i] * half, (xs[i] + 1) / 2, (1 - ys[i]) / 2));
  return out;
}

// An n x n grid of such quads covering the same square: per-vertex lighting needs vertices inside it.
template <class V, class Make>
std::vector<V> Grid(float cx, float cy, float half, int n, Make make) {
  std::vector<V> out;
  const float cell = 2 * half / float(n);
  for (int j = 0; j < n; ++j)
    for (int i = 0; i < n; ++i) {
      const float qx = cx - half + cell * (float(i) + 0.5f), qy = cy - half + cell * (float(j) + 0.5f);
      std::vector<V> q = Quad<V>(qx, qy, cell / 2, [&](float x, float y, float, float) {
        return make(x, y, (x - (cx - half)) / (2 * half), ((cy + half) - y) / (2 * half));
      });
      out.insert(out.end(), q.begin(), q.end());
    }
  return out;
}

}  // namespace

TEST_F(GfxDrvTest, PreRenderClearsOnlyWhenAskedAndEndRenderReportsFailures) {
  BrD3DRenDev* dev = StartDevice();
  brD3D9TestSetFailures(BR_D3D9_FAIL_CLEAR);
  EXPECT_LT(dev->PreRender(ePreRenderClearAll), 0) << "a failing clear is returned before the scene begins";
  EXPECT_GE(dev->PreRender(ePreRenderClearNone), 0) << "flag 0 clears nothing and begins the scene";
  brD3D9TestSetFailures(0);
  std::vector<float> c8 = Constants(dev, 8, 1);
  EXPECT_EQ(c8, std::vector<float>({1.0f, 1.0f, 0.0f, 0.5f}));
  brD3D9TestSetFailures(BR_D3D9_FAIL_END_SCENE);
  EXPECT_LT(dev->EndRender(), 0);
  brD3D9TestSetFailures(0);
  EXPECT_GE(dev->PreRender(ePreRenderClearAll), 0);
  EXPECT_GE(dev->EndRender(), 0);
  EXPECT_GE(dev->PreRender(ePreRenderClearAll), 0);
  brD3D9TestSetFailures(BR_D3D9_FAIL_PRESENT);
  EXPECT_LT(dev->EndRender(), 0);
  brD3D9TestSetFailures(0);
}

TEST_F(GfxDrvTest, TheGroundGridIsDrawnAtTheFrameStartOnlyWhenItsFlagIsSet) {
  BrD3DRenDev* dev = StartDevice();
  const fs::path shot = m_Media.Path() / "grid.bmp";
  // Above the grid's plane, looking along it: its centre line runs from the horizon down the middle.
  auto greenPixels = [&](bool grid) {
    dev->DrawGroundGrid() = grid;
    dev->GroundGridColour() = BrARGB(255, 0, 255, 0);
    BrCoords camera = CameraAt(0, 100, -500);
    dev->SetView(&camera);
    EXPECT_GE(dev->PreRender(ePreRenderClearAll), 0);
    EXPECT_GE(dev->EndRender(), 0);
    dev->takeScreenshot(BrStringT<char>(shot.string().c_str()));
    Image image;
    EXPECT_TRUE(ReadBmp(shot, image));
    int n = 0;
    for (uint32_t p : image.pixels) n += ColourDistance(p, 0x00FF00) <= 16 ? 1 : 0;
    return n;
  };
  EXPECT_GT(greenPixels(true), 100);
  EXPECT_EQ(greenPixels(false), 0);
}

TEST_F(GfxDrvTest, TransformsViewAndTheLastLightReachTheShaderConstants) {
  BrD3DRenDev* dev = StartDevice();
  BrLightBase* first = new BrLightBase();
  first->SetPosition(BrVector(1, 2, 3));
  first->SetRange(10.0f);
  BrLightBase* second = new BrLightBase();
  second->SetPosition(BrVector(4, 5, 6));
  second->SetRange(20.0f);
  dev->LightMgr()->AddLight(first);
  dev->LightMgr()->AddLight(second);
  ASSERT_GE(dev->PreRender(ePreRenderClearAll), 0);
  EXPECT_EQ(Constants(dev, 9, 1), std::vector<float>({4, 5, 6, 0}));
  EXPECT_EQ(Constants(dev, 10, 1), std::vector<float>({20, 0, 0, 0}));
  EXPECT_EQ(Constants(dev, 11, 1), std::vector<float>({1, 1, 1, 0}));

  dev->SetTransform(nullptr);
  EXPECT_EQ(Constants(dev, 4, 4), std::vector<float>({1, 0, 0, 0, 0, 1, 0, 0, 0, 0, 1, 0, 0, 0, 0, 1}));
  BrCoords moved = CameraAt(7, 8, 9);
  dev->SetTransform(&moved);
  // Transposed: the translation lands in the fourth column.
  std::vector<float> w = Constants(dev, 4, 4);
  EXPECT_EQ(w[3], 7);
  EXPECT_EQ(w[7], 8);
  EXPECT_EQ(w[11], 9);

  // A camera at the origin looking along z: the transposed projection, horizontal field of view 100 degrees.
  BrCoords camera = CameraAt(0, 0, 0);
  dev->SetView(&camera);
  std::vector<float> vp = Constants(dev, 0, 4);
  const float nearZ = 5.0f, farZ = 50000.0f;
  const float width = 2.0f * nearZ * std::tan(50.0f / 360.0f * 6.2831855f);
  const float height = width * 768.0f / 1024.0f;
  EXPECT_NEAR(vp[0], 2 * nearZ / width, 1e-5);
  EXPECT_NEAR(vp[5], 2 * nearZ / height, 1e-5);
  EXPECT_NEAR(vp[10], farZ / (farZ - nearZ), 1e-5);
  EXPECT_NEAR(vp[11], -nearZ * farZ / (farZ - nearZ), 1e-3);
  EXPECT_NEAR(vp[14], 1.0f, 1e-6);
  EXPECT_NEAR(dev->View().fNearWidth, width, 1e-5);
  EXPECT_NEAR(dev->View().fNearHeight, height, 1e-5);
  EXPECT_EQ(dev->View().fFOV, 100.0f);
  EXPECT_GE(dev->EndRender(), 0);
}

TEST_F(GfxDrvTest, TexturesBindOnceAndBadIdsFallBackToTheFallback) {
  BrD3DRenDev* dev = StartDevice();
  m_Media.Write("Textures\\t.bmp", SolidBmp(4, 4, 0x123456));
  const unsigned int t = dev->TextureMgr()->GetTexture(BrStringT<char>("Textures\\t.bmp"));
  ASSERT_EQ(t, 1u);
  EXPECT_TRUE(dev->SetTexture(t, eTextureStatic, 0));
  EXPECT_FALSE(dev->SetTexture(t, eTextureStatic, 0)) << "the current texture is not bound again";
  EXPECT_TRUE(dev->SetTexture(99, eTextureStatic, 0));
  EXPECT_FALSE(dev->SetTexture(0, eTextureStatic, 0)) << "an id beyond the cache bound the fallback";
  EXPECT_TRUE(dev->SetTexture(t, eTextureStatic, 0));
  EXPECT_TRUE(dev->SetTexture(3, eTextureDynamic, 0));
  EXPECT_TRUE(m_Log.Has("WARNING: Invalid dynamic texture index 3, setting .noshader instead"));
  EXPECT_FALSE(dev->SetTexture(0, eTextureStatic, 0));
  ASSERT_EQ(dev->TextureMgr()->CreateTexture(8, 8, eResFormatARGB8888, 1), 0);
  EXPECT_TRUE(dev->SetTexture(0, eTextureDynamic, 0));
  EXPECT_FALSE(dev->SetTexture(0, (eTextureType)3, 0));
  EXPECT_TRUE(m_Log.Has("ERROR: BrD3DRenDev::SetTexture(...) was passed an invalid texture type enumeration"));
  EXPECT_FALSE(dev->SetStream(0, 0x142, nullptr));
  EXPECT_TRUE(m_Log.Has("ERROR: Attempted to bind NULL vertex buffer to stream 0"));
}

TEST_F(GfxDrvTest, OnlyANonIndexedDrawTriesThePassesInOrder) {
  BrD3DRenDev* dev = StartDevice();
  BrVertexBufferBase* raw = nullptr;
  ASSERT_TRUE(dev->CreateVertexBuffer(&raw, 32, 0x42, eMemPoolManaged, eResUsageStatic));
  std::unique_ptr<BrVertexBufferBase> vb(raw);
  // Two passes of the line shader; the first loses its shader, so Direct3D refuses to draw it.
  BrEffector* effector = dev->FXMgr()->CreateEffector(BrStringT<char>("Shader3dLine"));
  BrStringT<char> line("vs.1.1\ndcl_position v0\ndcl_color0 v1\nm4x4 oPos, v0, c0\nmov oD0, v1\n");
  ASSERT_NE(effector->AddPass(line), nullptr);
  static_cast<BrD3DRenderPass*>(effector->GetPass(0))->m_pShader = nullptr;
  BrStringT<char> name("TwoPasses");
  const int id = dev->FXMgr()->AddEffector(name, effector);
  ASSERT_GE(dev->PreRender(ePreRenderClearAll), 0);
  dev->SetEffector((unsigned int)id);
  EXPECT_EQ(dev->GetCurrShader(), id);
  EXPECT_EQ(dev->DrawPrimitive(D3DPT_LINELIST, vb.get(), 16, 1), S_OK);
  brD3D9TestSetFailures(BR_D3D9_FAIL_DRAW);
  EXPECT_EQ(dev->DrawPrimitive(D3DPT_LINELIST, vb.get(), 16, 1), E_FAIL) << "no pass drew";
  brD3D9TestSetFailures(0);
  // The indexed draw never tries a second pass: the first one's refusal is the result.
  BrIndexBufferBase* rawIB = nullptr;
  ASSERT_TRUE(dev->CreateIndexBuffer(&rawIB, 4, eIDXFormat16, eMemPoolDevice));
  std::unique_ptr<BrIndexBufferBase> ib(rawIB);
  uint16_t two[2] = {0, 1};
  ASSERT_EQ(ib->Populate(reinterpret_cast<unsigned char*>(two), 4, true), eLockDiscarded);
  EXPECT_EQ(dev->DrawPrimitive(D3DPT_LINELIST, vb.get(), ib.get(), 16, 0x42, 2, 1, 0, 0), D3DERR_INVALIDCALL);
  dev->SetEffector(1);
  EXPECT_EQ(dev->DrawPrimitive(D3DPT_LINELIST, vb.get(), ib.get(), 16, 0x42, 2, 1, 0, 0), S_OK);
  dev->SetEffector(9999);
  EXPECT_EQ(dev->DrawPrimitive(D3DPT_LINELIST, vb.get(), 16, 1), E_FAIL);
  EXPECT_GE(dev->EndRender(), 0);
}

TEST_F(GfxDrvTest, TheStateCachesKeepRepeatsFromTheDevice) {
  BrD3DRenDev* dev = StartDevice();
  ASSERT_GE(dev->PreRender(ePreRenderClearAll), 0);
  ASSERT_GE(dev->EndRender(), 0);
  // Set behind the cache's back: the cached value still matches, so the cache does not send it again.
  dev->GetDevice()->SetRenderState(D3DRS_CULLMODE, D3DCULL_CW);
  dev->SetPolyCullMode(ePolyCullCCW);
  DWORD cull = 0;
  dev->GetDevice()->GetRenderState(D3DRS_CULLMODE, &cull);
  EXPECT_EQ(cull, (DWORD)D3DCULL_CW);
  // A reset forgets the cache: afterwards the same value is sent.
  ASSERT_TRUE(dev->UpdateDimensions());
  dev->GetDevice()->SetRenderState(D3DRS_CULLMODE, D3DCULL_CW);
  dev->SetPolyCullMode(ePolyCullNone);
  dev->SetPolyCullMode(ePolyCullCCW);
  dev->GetDevice()->GetRenderState(D3DRS_CULLMODE, &cull);
  EXPECT_EQ(cull, (DWORD)D3DCULL_CCW);
}

TEST_F(GfxDrvTest, GoldenSceneOfSpritesLinesAndWorldGeometry) {
  m_Media.Write("Textures\\sprite.bmp", Bmp(32, 32, [](int x, int y) {
                  return uint32_t(40 + x * 6) << 16 | uint32_t(40 + y * 6) << 8 | 0xE0;
                }));
  BrD3DRenDev* dev = StartDevice();
  BrLightBase* light = new BrLightBase();
  light->SetPosition(BrVector(200, 0, -60));
  light->SetRange(260.0f);
  dev->LightMgr()->AddLight(light);
  const int icon = dev->FXMgr()->LoadIconA(BrStringT<char>("Textures\\sprite.bmp"), BrStringT<char>("TestSprite"));
  ASSERT_GE(icon, 4);

  auto world = Quad<WorldVertex>(
      -180, 0, 100, [](float x, float y, float u, float v) { return WorldVertex{x, y, 0, 0xFFFFFFFFu, u * 2, v * 2}; });
  auto lit = Grid<LitVertex>(200, 0, 100, 8, [](float x, float y, float u, float v) {
    return LitVertex{x, y, 0, 0, 0, -1, 0xFFFFFFFFu, u, v};
  });
  BrVertexBufferBase* rawWorld = nullptr;
  BrVertexBufferBase* rawLit = nullptr;
  ASSERT_TRUE(dev->CreateVertexBuffer(&rawWorld, 6 * sizeof(WorldVertex), 0x142, eMemPoolManaged, eResUsageStatic));
  const unsigned int litBytes = unsigned(lit.size() * sizeof(LitVertex));
  ASSERT_TRUE(dev->CreateVertexBuffer(&rawLit, litBytes, 0x152, eMemPoolManaged, eResUsageStatic));
  std::unique_ptr<BrVertexBufferBase> worldVB(rawWorld), litVB(rawLit);
  ASSERT_TRUE(worldVB->Populate(0, reinterpret_cast<unsigned char*>(world.data()), 6 * sizeof(WorldVertex)));
  ASSERT_TRUE(litVB->Populate(0, reinterpret_cast<unsigned char*>(lit.data()), litBytes));

  // Two frames, so that the frame shot is one drawn after the first frame's one-time set-up.
  for (int frame = 0; frame < 2; ++frame) {
    ASSERT_GE(dev->PreRender(ePreRenderClearAll), 0);
    BrCoords camera = CameraAt(0, 0, -500);
    dev->SetView(&camera);
    dev->SetTransform(nullptr);
    dev->SetEffector(0);
    EXPECT_EQ(dev->DrawPrimitive(D3DPT_TRIANGLELIST, worldVB.get(), sizeof(WorldVertex), 2), S_OK);
    dev->SetEffector(3);
    EXPECT_EQ(dev->DrawPrimitive(D3DPT_TRIANGLELIST, litVB.get(), sizeof(LitVertex), int(lit.size() / 3)), S_OK);
    BrVector a(-300, -200, 0), b(300, 200, 0), c(-300, 200, 0), d(300, -200, 0);
    EXPECT_TRUE(dev->Draw3DLine(&a, &b, BrARGB(255, 0, 255, 0)));
    EXPECT_TRUE(dev->Draw3DLine(&c, &d, BrARGB(255, 255, 255, 0)));
    BrARGB opaque(255, 255, 255, 255), half(128, 255, 120, 120);
    EXPECT_TRUE(dev->DrawSprite(0.05f, 0.05f, 0.2f, 0.2f, (unsigned int)icon, 0.001f, opaque, 0.0f, 0.001f, 0.001f,
                                0.999f, 0.999f));
    EXPECT_TRUE(dev->DrawSprite(0.7f, 0.7f, 0.2f, 0.2f, (unsigned int)icon, 0.001f, half, 30.0f, 0.001f, 0.001f, 0.999f,
                                0.999f));
    ASSERT_GE(dev->EndRender(), 0);
  }

  const fs::path shot = m_Media.Path() / "shot.bmp";
  dev->takeScreenshot(BrStringT<char>(shot.string().c_str()));
  Image image;
  ASSERT_TRUE(ReadBmp(shot, image)) << "no screenshot at " << shot;
  ASSERT_GE(image.width, 1024);
  ASSERT_GE(image.height, 768);

  // What the picture must show, whatever the golden file holds.
  const uint32_t topLeftSprite = image.At(int(0.15f * 1024), int(0.15f * 768));
  EXPECT_GT(topLeftSprite & 0xFF, 0xC0u) << std::hex << topLeftSprite;  // the sprite's blue
  EXPECT_EQ(image.At(1010, 10), 0u) << "cleared to black";
  // Each 3D line, between the quads (world x = +-50, about 43 pixels either side of the centre): the golden
  // image's tolerance alone would let both lines vanish.
  auto near = [&](int cx, int cy, uint32_t colour) {
    int best = 255;
    for (int y = cy - 4; y <= cy + 4; ++y)
      for (int x = cx - 4; x <= cx + 4; ++x) best = std::min(best, ColourDistance(image.At(x, y), colour));
    return best;
  };
  EXPECT_LE(near(512 + 43, 384 - 29, 0x00FF00u), 40) << "the green line";
  EXPECT_LE(near(512 - 43, 384 + 29, 0x00FF00u), 40) << "the green line";
  EXPECT_LE(near(512 + 43, 384 + 29, 0xFFFF00u), 40) << "the yellow line";
  EXPECT_LE(near(512 - 43, 384 - 29, 0xFFFF00u), 40) << "the yellow line";
  // The lit quad's centre lies at x = 512 + 200 / (500 tan 50 degrees) x 512, about 684; its magenta squares
  // are brightest nearest the light.
  auto brightest = [&](int cx, int cy) {
    uint32_t best = 0;
    for (int y = cy - 8; y < cy + 8; ++y)
      for (int x = cx - 8; x < cx + 8; ++x) best = std::max(best, image.At(x, y) & 0xFF);
    return best;
  };
  EXPECT_GT(brightest(684, 384), brightest(684 + 70, 384 - 70) + 40) << "Shader3d darkens away from the light";
  EXPECT_GT(brightest(684 - 70, 384 + 70), 0u) << "but the light reaches the corners";

  // The frame reduced to 256x192 (4x4 averages) against the golden image.
  const int gw = 256, gh = 192;
  std::vector<uint8_t> small(size_t(gw) * gh * 3);
  for (int y = 0; y < gh; ++y)
    for (int x = 0; x < gw; ++x)
      for (int ch = 0; ch < 3; ++ch) {
        int sum = 0;
        for (int dy = 0; dy < 4; ++dy)
          for (int dx = 0; dx < 4; ++dx) sum += int(image.At(x * 4 + dx, y * 4 + dy) >> (16 - 8 * ch)) & 0xFF;
        small[(size_t(y) * gw + x) * 3 + ch] = uint8_t(sum / 16);
      }
  const std::string golden = std::string(GFXDRV_GOLDEN_DIR) + "/scene.png";
  if (std::getenv("BR_UPDATE_GOLDEN")) {
    fs::create_directories(GFXDRV_GOLDEN_DIR);
    ASSERT_TRUE(stbi_write_png(golden.c_str(), gw, gh, 3, small.data(), gw * 3));
  }
  int w = 0, h = 0, n = 0;
  stbi_uc* expected = stbi_load(golden.c_str(), &w, &h, &n, 3);
  ASSERT_NE(expected, nullptr) << "no golden image " << golden << " (BR_UPDATE_GOLDEN=1 writes it)";
  ASSERT_EQ(w, gw);
  ASSERT_EQ(h, gh);
  int off = 0;
  for (size_t i = 0; i < small.size(); i += 3) {
    int worst = 0;
    for (int ch = 0; ch < 3; ++ch) worst = std::max(worst, std::abs(int(small[i + ch]) - int(expected[i + ch])));
    if (worst > 24) ++off;
  }
  stbi_image_free(expected);
  EXPECT_LE(off, gw * gh / 100) << off << " of " << gw * gh << " pixels differ from the golden image";
}

// The device draws a circle's 24 lines in one draw; the picture is the one the 24 lines drawn one by one make.
TEST_F(GfxDrvTest, ACircleIsOneDrawOfTheSameLines) {
  BrD3DRenDev* dev = StartDevice();
  auto frame = [&](bool oneByOne, uint32_t& draws) {
    const uint32_t before = brD3D9TestGetCounts().draws;
    EXPECT_GE(dev->PreRender(ePreRenderClearAll), 0);
    BrCoords camera = CameraAt(0, 0, -500);
    dev->SetView(&camera);
    BrVector centre(0, 0, 0);
    BrPlane plane(BrVector(0.3f, 0.2f, -1.0f), centre);
    plane.Normal().Normalise();
    if (oneByOne)
      dev->BrRenderBase::Draw3DCircle(&centre, &plane, 150.0f, BrARGB(255, 255, 200, 0));
    else
      dev->Draw3DCircle(&centre, &plane, 150.0f, BrARGB(255, 255, 200, 0));
    draws = brD3D9TestGetCounts().draws - before;
    EXPECT_GE(dev->EndRender(), 0);
    const fs::path shot = m_Media.Path() / (oneByOne ? "lines.bmp" : "circle.bmp");
    dev->takeScreenshot(BrStringT<char>(shot.string().c_str()));
    Image image;
    EXPECT_TRUE(ReadBmp(shot, image));
    return image;
  };
  uint32_t one = 0, each = 0;
  const Image circle = frame(false, one), lines = frame(true, each);
  EXPECT_EQ(one, 1u);
  EXPECT_EQ(each, 24u);
  ASSERT_EQ(circle.pixels.size(), lines.pixels.size());
  int lit = 0;
  for (size_t i = 0; i < circle.pixels.size(); ++i) {
    ASSERT_EQ(circle.pixels[i], lines.pixels[i]) << "pixel " << i;
    lit += circle.pixels[i] != 0;
  }
  EXPECT_GT(lit, 200) << "the circle is drawn";
}

TEST_F(GfxDrvTest, TheTestScenesDrawWithinTheDevicesCaps) {
  BrD3DRenDev* dev = StartDevice();
  const int before = dev->NumCachedShaders();
  int warningsAfterFirstFrame = 0;
  for (int frame = 0; frame < 2; ++frame) {
    ASSERT_GE(dev->PreRender(ePreRenderClearAll), 0);
    BrCoords camera = CameraAt(0, 0, -500);
    dev->SetView(&camera);
    dev->NuDiffuseTex1();
    dev->NuDiffuseTex1Unlit();
    dev->NuRealDiffuseTex1Scroll(0.0f);
    dev->NuRealDiffuseTex1RotScale();
    dev->NuRealDiffuseTex2();
    dev->NuCheatEnvMapping();
    dev->NuAlphaCheck();
    dev->NuBumpMapping();
    dev->NuDiffuse();
    ASSERT_GE(dev->EndRender(), 0);
    if (frame == 0) warningsAfterFirstFrame = m_Log.Count("WARNING: Failed to load");
  }
  EXPECT_EQ(dev->NumCachedShaders(), before + 9) << "nine scenes, nine texts, each compiled once";
  EXPECT_EQ(m_Log.Count("WARNING: Failed to load"), warningsAfterFirstFrame) << "missing files are looked for once";
  EXPECT_FALSE(m_Log.Has("ERROR: Failed to assemble shader"));

  // The last scene drawn, NuDiffuse, fills the middle of the frame with its vertex colours.
  const fs::path shot = m_Media.Path() / "scenes.bmp";
  dev->takeScreenshot(BrStringT<char>(shot.string().c_str()));
  Image image;
  ASSERT_TRUE(ReadBmp(shot, image));
  EXPECT_NE(image.At(512, 384), 0u);
  EXPECT_EQ(image.At(5, 5), 0u);

  // The scenes set their stages straight on the device: the next frame's materials still show their textures.
  m_Media.Write("Textures\\blue.bmp", SolidBmp(8, 8, 0x0000FF));
  const int icon = dev->FXMgr()->LoadIconA(BrStringT<char>("Textures\\blue.bmp"), BrStringT<char>("Blue"));
  ASSERT_GE(icon, 4);
  BrARGB white(255, 255, 255, 255);
  ASSERT_GE(dev->PreRender(ePreRenderClearAll), 0);
  EXPECT_TRUE(
      dev->DrawSprite(0.0f, 0.0f, 1.0f, 1.0f, (unsigned int)icon, 0.001f, white, 0.0f, 0.001f, 0.001f, 0.999f, 0.999f));
  ASSERT_GE(dev->EndRender(), 0);
  dev->takeScreenshot(BrStringT<char>(shot.string().c_str()));
  ASSERT_TRUE(ReadBmp(shot, image));
  EXPECT_LE(ColourDistance(image.At(300, 300), 0x0000FF), 8) << std::hex << image.At(300, 300);
}

TEST_F(GfxDrvTest, TheEnginesScreenTilesDrawThroughTheDevice) {
  BrD3DRenDev* dev = StartDevice();
  const fs::path shot = m_Media.Path() / "tiles.bmp";
  Image image;

  ASSERT_GE(dev->PreRender(ePreRenderClearAll), 0);
  dev->DrawColourTile(1.0f, 0.001f, BrARGB(255, 255, 0, 0));
  ASSERT_GE(dev->EndRender(), 0);
  const unsigned int effectors = dev->FXMgr()->Num();
  dev->takeScreenshot(BrStringT<char>(shot.string().c_str()));
  ASSERT_TRUE(ReadBmp(shot, image));
  EXPECT_LE(ColourDistance(image.At(300, 300), 0xFF0000), 8) << std::hex << image.At(300, 300);

  // Half a black tile over the red one: the "ShaderBlackBack" of the first frame serves the fade tile.
  ASSERT_GE(dev->PreRender(ePreRenderClearAll), 0);
  dev->DrawColourTile(1.0f, 0.001f, BrARGB(255, 255, 0, 0));
  dev->DrawFadeTile(0.5f, 0.001f);
  ASSERT_GE(dev->EndRender(), 0);
  EXPECT_EQ(dev->FXMgr()->Num(), effectors) << "the fade tile reused the registered black-back effector";
  dev->takeScreenshot(BrStringT<char>(shot.string().c_str()));
  ASSERT_TRUE(ReadBmp(shot, image));
  EXPECT_LE(ColourDistance(image.At(300, 300), 0x800000), 10) << std::hex << image.At(300, 300);
}
