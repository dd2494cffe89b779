// BrMiniMap: the actor records, their reuse, and the drawing surface with its failures.
#include <gtest/gtest.h>

#include "engine/presentation/BrMiniMap.h"
#include "tests/engine/presentation/WidgetTestKit.h"

using brwidgettest::EffectorName;
using brwidgettest::WidgetTest;

namespace {

class SurfaceMiniMap : public BrMiniMap {
public:
  using BrMiniMap::CreateSurface;
};

// A texture manager whose dynamic textures are lost as soon as they are made.
class LosingTextures : public RecordingTextureMgr {
public:
  bool GetDynamic(unsigned int, int& index) override {
    index = -1;
    return false;
  }
};

}  // namespace

TEST(BrMiniMap, ActorsAreAddedRevealedOnceFreedAndReused) {
  BrMiniMap map;
  EXPECT_TRUE(map.Init());
  map.AddActor(7, 11);
  map.AddActor(9, 12);
  ASSERT_EQ(map.GetNumActorRecords(), 2);
  EXPECT_EQ(map.GetActorRecord(0)->state, 1);

  // A second add reveals it (no map here to resolve the entity) and takes the new icon.
  map.AddActor(7, 21);
  map.AddActor(7, 22);
  ASSERT_EQ(map.GetNumActorRecords(), 2);
  EXPECT_EQ(map.GetActorRecord(0)->state, 2);
  EXPECT_EQ(map.GetActorRecord(0)->icon, 22u);

  map.RemoveActor(7);
  EXPECT_EQ(map.GetNumActorRecords(), 2);
  EXPECT_EQ(map.GetActorRecord(0)->id, -1);
  map.RemoveActor(99);
  map.AddActor(5, 13);
  EXPECT_EQ(map.GetNumActorRecords(), 2);
  EXPECT_EQ(map.GetActorRecord(0)->id, 5);
  EXPECT_EQ(map.GetActorRecord(0)->state, 1);
  // -1 names no actor and must not claim a free record.
  map.RemoveActor(5);
  map.AddActor(-1, 1);
  EXPECT_EQ(map.GetActorRecord(0)->id, -1);
  EXPECT_EQ(map.GetActorRecord(2), nullptr);

  map.Destroy();
  EXPECT_EQ(map.GetNumActorRecords(), 0);
}

TEST_F(WidgetTest, MiniMapSurfaceIsADynamicTextureDrawnThroughMiniMapFX) {
  SurfaceMiniMap map;
  ASSERT_TRUE(map.CreateSurface(dev));
  ASSERT_GE(map.GetTexture(), 0);
  RecordingTexture* texture = dev->Textures()->dynamics.at((size_t)map.GetTexture());
  EXPECT_EQ(texture->GetWidth(), 128u);
  EXPECT_EQ(EffectorName(dev, map.GetEffector()), "MiniMapFX");
  RecordingEffector* fx = dev->Effectors()->At((unsigned)map.GetEffector());
  ASSERT_NE(fx, nullptr);
  EXPECT_EQ(fx->passes.at(0).m_uiFlags, 6u);
  EXPECT_EQ(fx->passes.at(0).m_iTexture, map.GetTexture());
}

TEST_F(WidgetTest, MiniMapSurfaceFailuresKeepNothing) {
  SurfaceMiniMap map;
  const int made = dev->Effectors()->created;
  dev->Textures()->failCreate = true;
  EXPECT_FALSE(map.CreateSurface(dev));
  EXPECT_EQ(map.GetTexture(), -1);
  EXPECT_EQ(dev->Effectors()->created, made);
  dev->Textures()->failCreate = false;

  // A lost dynamic texture: the effector copy made for it is released (the leak check sees it) and not registered.
  LosingTextures losing;
  BrTextureMgrBase* own = dev->TextureMgr();
  dev->SetTextureMgr(&losing);
  const unsigned before = dev->Effectors()->Num();
  EXPECT_FALSE(map.CreateSurface(dev));
  dev->SetTextureMgr(own);
  EXPECT_EQ(map.GetTexture(), -1);
  EXPECT_EQ(map.GetEffector(), 0);
  EXPECT_EQ(dev->Effectors()->Num(), before);
  EXPECT_EQ(dev->Effectors()->created, made + 1);
}
