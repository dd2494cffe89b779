// The rendering base: projection both ways, sprites and tiles, circles and cylinders, the grid, billboards.
#include <gtest/gtest.h>

#include <cmath>

#include "core/BrPlane.h"
#include "engine/kernel/BrApplication.h"
#include "engine/kernel/BrCamera.h"
#include "engine/presentation/BrEffectorMgr.h"
#include "engine/presentation/BrFontMgr.h"
#include "engine/presentation/BrLightMgr.h"
#include "engine/presentation/BrSpriteDaemon.h"
#include "engine/presentation/BrTextureMgrBase.h"
#include "tests/engine/presentation/RenderTestKit.h"
#include "engine/kernel/BrEngineTestSeams.h"

#include <type_traits>

// The device and its managers own what they point to: a copy would free it twice, so none can be made.
static_assert(!std::is_copy_constructible_v<BrRenderBase> && !std::is_copy_assignable_v<BrRenderBase>);
static_assert(!std::is_copy_constructible_v<BrEffectorMgr> && !std::is_copy_assignable_v<BrEffectorMgr>);
static_assert(!std::is_copy_constructible_v<BrTextureMgrBase> && !std::is_copy_assignable_v<BrTextureMgrBase>);
static_assert(!std::is_copy_constructible_v<BrFontMgr> && !std::is_copy_assignable_v<BrFontMgr>);
static_assert(!std::is_copy_constructible_v<BrLightMgr> && !std::is_copy_assignable_v<BrLightMgr>);
static_assert(!std::is_copy_constructible_v<BrSpriteDaemon> && !std::is_copy_assignable_v<BrSpriteDaemon>);

using brrendertest::RenderTest;

namespace {

void ExpectVec(const BrVector& v, float x, float y, float z, float tol = 1e-3f) {
  EXPECT_NEAR(v.x, x, tol);
  EXPECT_NEAR(v.y, y, tol);
  EXPECT_NEAR(v.z, z, tol);
}

}  // namespace

TEST_F(RenderTest, ProjectsThroughTheRecordedViewAndRefusesPointsBehindTheCamera) {
  dev->LookFrom(BrVector(0, 0, 0), 90.0f);  // near 5: the near plane is 10 wide and 7.5 high
  int px = -7, py = -7;
  EXPECT_TRUE(dev->Project(BrVector(0, 0, 100), px, py));
  EXPECT_EQ(px, 400);
  EXPECT_EQ(py, 300);
  // Up on screen is smaller y.
  EXPECT_TRUE(dev->Project(BrVector(0, 50, 100), px, py));
  EXPECT_EQ(px, 400);
  EXPECT_EQ(py, 100);
  // Exactly at the right edge: px = width, which is off screen.
  EXPECT_FALSE(dev->Project(BrVector(100, 0, 100), px, py));
  EXPECT_EQ(px, 800);
  // Behind the camera the mirrored projection would land on screen; it is refused, outputs still written.
  px = py = -7;
  EXPECT_FALSE(dev->Project(BrVector(10, 0, -100), px, py));
  EXPECT_EQ(px, 360);
  EXPECT_EQ(py, 300);
  // In the camera plane there is no projection at all: refused, and the outputs are defined.
  EXPECT_FALSE(dev->Project(BrVector(10, 0, 0), px, py));
  EXPECT_EQ(px, 400);
  // The screen-fraction form divides by the screen size.
  float sx = 0, sy = 0;
  EXPECT_TRUE(dev->Project(BrVector(0, 50, 100), sx, sy));
  EXPECT_FLOAT_EQ(sx, 0.5f);
  EXPECT_FLOAT_EQ(sy, 100.0f / 600.0f);
  // A moved and turned camera: 90 degrees about y, looking along +x.
  BrCoords turned(BrVector(0, 0, -1), BrVector(0, 1, 0), BrVector(1, 0, 0), BrVector(10, 0, 0));
  dev->SetView(&turned);
  EXPECT_TRUE(dev->Project(BrVector(110, 0, 0), px, py));
  EXPECT_EQ(px, 400);
  EXPECT_EQ(py, 300);
}

TEST_F(RenderTest, DeProjectsPixelsToUnitDirectionsAndRefusesPixelsOffScreen) {
  dev->LookFrom(BrVector(5, 5, 5), 90.0f);
  BrVector d;
  EXPECT_TRUE(dev->DeProject(400, 300, &d));
  ExpectVec(d, 0, 0, 1);
  EXPECT_TRUE(dev->DeProject(0, 0, &d));
  const float n = std::sqrt(25.0f + 3.75f * 3.75f + 25.0f);
  ExpectVec(d, -5.0f / n, 3.75f / n, 5.0f / n);
  // The far edges count as on screen.
  EXPECT_TRUE(dev->DeProject(800, 600, &d));
  BrVector untouched(7, 7, 7);
  EXPECT_FALSE(dev->DeProject(801, 0, &untouched));
  EXPECT_FALSE(dev->DeProject(-1, 0, &untouched));
  EXPECT_FALSE(dev->DeProject(0, 601, &untouched));
  ExpectVec(untouched, 7, 7, 7);
  // A point projected and its pixel deprojected point the same way (within a pixel's truncation).
  const BrVector p(30, -20, 200);
  int px, py;
  ASSERT_TRUE(dev->Project(p, px, py));
  ASSERT_TRUE(dev->DeProject(px, py, &d));
  BrVector toP = p - BrVector(5, 5, 5);
  toP.Normalise();
  ExpectVec(d, toP.x, toP.y, toP.z, 0.01f);
}

TEST(RenderBase, SpritesNeedTheDaemonAndAnEffectorOfThreeOrMore) {
  RecordingRenderDevice device;
  ScopedRenderDevice scope(&device);
  BrARGB white(255, 255, 255, 255);
  // Before Init there is no sprite daemon.
  EXPECT_FALSE(device.DrawSprite(0, 0, 0.1f, 0.1f, 5, 0.001f, white, 0, 0, 0, 1, 1));
  ASSERT_TRUE(device.Init());
  for (unsigned int fx = 0; fx < 3; ++fx)
    EXPECT_FALSE(device.DrawSprite(0, 0, 0.1f, 0.1f, fx, 0.001f, white, 0, 0, 0, 1, 1));
  EXPECT_EQ(device.SpriteDaemon()->GetQueuedCount(), 0);
  EXPECT_TRUE(device.DrawSprite(0, 0, 0.1f, 0.1f, 3, 0.001f, white, 0, 0, 0, 1, 1));
  // DrawSprite reports what queuing reports: a full queue refuses.
  for (int i = 1; i < 1024; ++i) device.DrawSprite(0, 0, 0.1f, 0.1f, 3, 0.001f, white, 0, 0, 0, 1, 1);
  EXPECT_FALSE(device.DrawSprite(0, 0, 0.1f, 0.1f, 3, 0.001f, white, 0, 0, 0, 1, 1));
  device.Exit();
}

TEST(RenderBase, InitMakesTheManagersOnceAndExitDeletesThem) {
  RecordingRenderDevice device;
  ScopedRenderDevice scope(&device);
  ASSERT_TRUE(device.Init());
  BrSpriteDaemon* daemon = device.SpriteDaemon();
  BrFontMgr* fonts = device.FontMgr();
  BrLightMgr* lights = device.LightMgr();
  ASSERT_TRUE(daemon && fonts && lights);
  EXPECT_TRUE(device.BrRenderBase::Init());
  EXPECT_EQ(device.SpriteDaemon(), daemon);
  EXPECT_EQ(device.FontMgr(), fonts);
  EXPECT_EQ(device.LightMgr(), lights);
  EXPECT_TRUE(device.BrRenderBase::Exit());
  EXPECT_EQ(device.SpriteDaemon(), nullptr);
  EXPECT_EQ(device.FontMgr(), nullptr);
  EXPECT_EQ(device.LightMgr(), nullptr);
  EXPECT_TRUE(device.BrRenderBase::Exit());
  device.Exit();
}

TEST_F(RenderTest, FadeAndColourTilesCoverTheScreenWithClampedAlphaAndAreBuiltOnce) {
  dev->DrawFadeTile(1.7f, 0.5f);
  ASSERT_EQ(dev->sprites.size(), 1u);
  RecordingRenderDevice::Sprite s = dev->sprites[0];
  EXPECT_TRUE(s.accepted);
  EXPECT_EQ(s.effector, dev->Effectors()->GetEffector(BrStringT<char>("ShaderBlackBack")));
  EXPECT_EQ(s.colour.a, 255);
  EXPECT_EQ(s.colour.r, 0);
  EXPECT_FLOAT_EQ(s.x, 0.0f);
  EXPECT_FLOAT_EQ(s.w, 1.0f);
  EXPECT_FLOAT_EQ(s.h, 1.0f);
  EXPECT_FLOAT_EQ(s.z, 0.5f);
  EXPECT_FLOAT_EQ(s.uLeft, 0.001f);
  EXPECT_FLOAT_EQ(s.vBottom, 0.999f);
  RecordingEffector* fx = dev->Effectors()->At(s.effector);
  ASSERT_NE(fx, nullptr);
  EXPECT_EQ(fx->passes[0].m_uiFlags, 4u);
  EXPECT_EQ(dev->Textures()->statics[(size_t)fx->passes[0].m_iTexture], "Textures\\ui\\blackback.jpg");

  const int made = dev->Effectors()->created;
  dev->DrawFadeTile(-1.0f, 0.5f);
  EXPECT_EQ(dev->sprites[1].colour.a, 0);
  EXPECT_EQ(dev->sprites[1].effector, s.effector);
  EXPECT_EQ(dev->Effectors()->created, made);

  // The colour tile takes r, g, b from the colour and the alpha from the argument alone.
  dev->DrawColourTile(0.5f, 0.2f, BrARGB(10, 20, 30, 40));
  const RecordingRenderDevice::Sprite& c = dev->sprites[2];
  EXPECT_EQ(c.effector, dev->Effectors()->GetEffector(BrStringT<char>("ShaderColourBack")));
  EXPECT_NE(c.effector, s.effector);
  EXPECT_EQ(c.colour.a, 127);
  EXPECT_EQ(c.colour.r, 20);
  EXPECT_EQ(c.colour.g, 30);
  EXPECT_EQ(c.colour.b, 40);
}

TEST_F(RenderTest, ATileWhose2DShaderFailedIsNotKeptNorRebuiltEachFrame) {
  dev->Effectors()->failingShaders.insert("Shader2d");
  const unsigned int before = dev->Effectors()->Num();
  dev->DrawFadeTile(1.0f, 0.5f);
  const int made = dev->Effectors()->created;
  dev->DrawFadeTile(1.0f, 0.5f);
  dev->DrawFadeTile(1.0f, 0.5f);
  EXPECT_EQ(dev->Effectors()->Num(), before);
  EXPECT_EQ(dev->Effectors()->created, made);
  EXPECT_EQ(dev->Effectors()->GetEffector(BrStringT<char>("ShaderBlackBack")), 0u);
  ASSERT_EQ(dev->sprites.size(), 3u);
  EXPECT_FALSE(dev->sprites[0].accepted);
  EXPECT_EQ(dev->SpriteDaemon()->GetQueuedCount(), 0);
}

TEST_F(RenderTest, CirclesStartOnAValidAxisForEveryNormal) {
  BrVector centre(10, 20, 30);
  // Normal along y: the circle starts at +x.
  BrPlane flat(BrVector(0, 1, 0), 0.0f);
  dev->Draw3DCircle(&centre, &flat, 5.0f, BrARGB(255, 1, 2, 3));
  ASSERT_EQ(dev->lines.size(), 24u);
  ExpectVec(dev->lines[0].from, 15, 20, 30);
  ExpectVec(dev->lines[23].to, 15, 20, 30);  // 24 steps of 15 degrees close the circle
  // Any other normal starts along n x z.
  dev->lines.clear();
  BrPlane side(BrVector(1, 0, 0), 0.0f);
  dev->Draw3DCircle(&centre, &side, 5.0f, BrARGB(255, 1, 2, 3));
  ASSERT_EQ(dev->lines.size(), 24u);
  ExpectVec(dev->lines[0].from, 10, 15, 30);
  // A normal along z has no cross product with z; the circle still lies around the centre at the radius.
  dev->lines.clear();
  BrPlane facing(BrVector(0, 0, 1), 0.0f);
  dev->Draw3DCircle(&centre, &facing, 5.0f, BrARGB(255, 1, 2, 3));
  ASSERT_EQ(dev->lines.size(), 24u);
  for (const RecordingRenderDevice::Line& l : dev->lines) {
    ASSERT_TRUE(std::isfinite(l.from.x) && std::isfinite(l.from.y) && std::isfinite(l.from.z));
    EXPECT_NEAR((l.from - centre).Size(), 5.0f, 1e-3f);
    EXPECT_NEAR(l.from.z, 30.0f, 1e-3f);  // in the plane across z
  }
}

TEST_F(RenderTest, CylindersDrawTwoCirclesAndTheOutlineSeenFromTheCamera) {
  dev->LookFrom(BrVector(0, 0, -100), 90.0f);
  BrVector centre(0, 0, 0), axis(0, 1, 0);
  dev->Draw3DCylinder(nullptr, &axis, 2.0f, 10.0f, BrARGB(255, 1, 1, 1));
  dev->Draw3DCylinder(&centre, nullptr, 2.0f, 10.0f, BrARGB(255, 1, 1, 1));
  dev->Draw3DCylinder(&centre, &axis, 2.0f, 10.0f, BrARGB(0, 1, 1, 1));
  EXPECT_TRUE(dev->lines.empty());
  dev->Draw3DCylinder(&centre, &axis, 2.0f, 10.0f, BrARGB(255, 1, 1, 1));
  ASSERT_EQ(dev->lines.size(), 50u);
  ExpectVec(dev->lines[0].from, 2, -5, 0);  // the bottom circle first
  ExpectVec(dev->lines[24].from, 2, 5, 0);  // then the top
  ExpectVec(dev->lines[48].from, 2, 5, 0);  // top + camera x axis x radius
  ExpectVec(dev->lines[48].to, 2, -5, 0);
  ExpectVec(dev->lines[49].from, -2, 5, 0);
  ExpectVec(dev->lines[49].to, -2, -5, 0);
}

TEST_F(RenderTest, GroundGridIsTheSquareItsCentreLinesAndThreeAxes) {
  dev->DrawGroundGrid(BrARGB(128, 200, 200, 200));
  ASSERT_EQ(dev->lines.size(), 9u);
  ExpectVec(dev->lines[0].from, -10000, 0, -10000);
  ExpectVec(dev->lines[3].to, -10000, 0, -10000);  // the square closes
  ExpectVec(dev->lines[4].from, -10000, 0, 0);
  ExpectVec(dev->lines[5].to, 0, 0, -10000);
  ExpectVec(dev->lines[6].to, 100, 0, 0);
  EXPECT_EQ(dev->lines[6].colour.r, 255);
  ExpectVec(dev->lines[7].to, 0, 100, 0);
  EXPECT_EQ(dev->lines[7].colour.g, 255);
  ExpectVec(dev->lines[8].to, 0, 0, 100);
  EXPECT_EQ(dev->lines[8].colour.b, 255);
  EXPECT_EQ(dev->lines[0].colour.a, 128);
}

TEST_F(RenderTest, BillboardsDrawFarthestFirstKeepTiesInOrderAndReuseTheirStorage) {
  dev->LookFrom(BrVector(0, 0, 0), 90.0f);
  auto queue = [&](float z, unsigned int fx) {
    BrBBCache bb;
    bb.m_Coords.Position = BrVector(0, 0, z);
    bb.m_uiEffector = fx;
    dev->drawBillboard(bb);
  };
  queue(10, 4);
  queue(50, 5);
  queue(-50, 6);  // as far as the second: keeps its place after it
  queue(30, 7);
  dev->drawAllBillboards();
  ASSERT_EQ(dev->effectorsSet.size(), 4u);
  EXPECT_EQ(dev->effectorsSet[0], 5u);
  EXPECT_EQ(dev->effectorsSet[1], 6u);
  EXPECT_EQ(dev->effectorsSet[2], 7u);
  EXPECT_EQ(dev->effectorsSet[3], 4u);
  ASSERT_EQ(dev->draws.size(), 4u);
  EXPECT_EQ(dev->draws[0].type, 4u);
  EXPECT_EQ(dev->draws[0].stride, 36u);
  EXPECT_EQ(dev->draws[0].primitiveCount, 2);
  ASSERT_EQ(dev->transforms.size(), 4u);
  EXPECT_FLOAT_EQ(dev->transforms[0].Position.z, 50.0f);

  // The next frame overwrites the records; the queue empties after each draw.
  dev->ClearRecords();
  queue(1, 8);
  queue(2, 9);
  dev->drawAllBillboards();
  ASSERT_EQ(dev->effectorsSet.size(), 2u);
  EXPECT_EQ(dev->effectorsSet[0], 9u);
  EXPECT_EQ(dev->effectorsSet[1], 8u);
  dev->ClearRecords();
  dev->drawAllBillboards();
  EXPECT_TRUE(dev->draws.empty());
}

TEST_F(RenderTest, ResolutionsTruncateAndTextGoesThroughTheFontManager) {
  dev->Resolutions().Add(BrRect(640.7f, 480.9f));
  dev->Resolutions().Add(BrRect(1024.0f, 768.0f));
  EXPECT_EQ(dev->GetNumResolutions(), 2);
  int w = -1, h = -1;
  dev->GetResolution(0, w, h);
  EXPECT_EQ(w, 640);
  EXPECT_EQ(h, 480);
  dev->GetResolution(5, w, h);
  EXPECT_EQ(w, 0);
  EXPECT_EQ(h, 0);
  // Formatted text is cut to the 260-character buffer and reaches DrawTextA.
  BrARGB white(255, 255, 255, 255);
  char fmt[] = "%s-%i";
  char word[] = "level";
  dev->DrawTextf(0.1f, 0.2f, white, eFontFormatCentre, fmt, word, 7);
  ASSERT_EQ(dev->texts.size(), 1u);
  EXPECT_EQ(dev->texts[0].text, "level-7");
  EXPECT_EQ(dev->texts[0].flags, eFontFormatCentre);
  std::string longText(400, 'x');
  char fmt2[] = "%s";
  dev->DrawTextf(0, 0, white, eFontFormatNone, fmt2, longText.c_str());
  EXPECT_EQ(dev->texts[1].text.size(), 259u);
}

namespace {}  // namespace

TEST_F(RenderTest, WithAnApplicationTheProjectionsFollowItsCamera) {
  dev->LookFrom(BrVector(0, 0, 0), 90.0f);  // a stale recorded view that the camera overrides
  BrApplication app;
  BrCoords& frame = app.Camera()->GetCoords();
  frame = BrCoords(BrVector(0, 0, -1), BrVector(0, 1, 0), BrVector(1, 0, 0), BrVector(10, 0, 0));
  app.Camera()->FOV() = 90.0f;
  BrApplication* old = BrEngineTestSeams::App();
  BrEngineTestSeams::App() = &app;
  int px = 0, py = 0;
  const bool onScreen = dev->Project(BrVector(110, 0, 0), px, py);
  BrVector d;
  const bool deprojected = dev->DeProject(400, 300, &d);
  dev->PreRender(ePreRenderClearAll);  // the recording device, like the plug-in, records the camera's view
  BrEngineTestSeams::App() = old;
  EXPECT_TRUE(onScreen);
  EXPECT_EQ(px, 400);
  EXPECT_EQ(py, 300);
  EXPECT_TRUE(deprojected);
  ExpectVec(d, 1, 0, 0);
  ASSERT_FALSE(dev->views.empty());
  ExpectVec(dev->View().Position, 10, 0, 0);
}

TEST(RenderBase, ASpriteBeforeInitIsLoggedAsADebugWarning) {
  brrendertest::ScopedLog log;
  RecordingRenderDevice device;
  ScopedRenderDevice scope(&device);
  BrARGB white(255, 255, 255, 255);
  EXPECT_FALSE(device.DrawSprite(0, 0, 0.1f, 0.1f, 5, 0.001f, white, 0, 0, 0, 1, 1));
  EXPECT_TRUE(log.Has("WARNING: Sprite requested before sprite daemon initialised!"));
}
