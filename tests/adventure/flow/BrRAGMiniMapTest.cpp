// The minimap over a real grid map: explored, visible and unexplored cells in the texture with lines between
// cells, zoom limits, actor icons that grow as the map zooms out, the camera's rotation, the level number (not in
// the interlude) and a lost texture rebuilt without leaving a second effector behind.
#include <gtest/gtest.h>

#include <cmath>

#include "FlowTestWorld.h"
#include "adventure/flow/BrRAGMiniMap.h"
#include "adventure/world/BrRAGCell.h"

using flowtest::FlowWorld;

namespace {

const char* kConfig =
    "[Hero]\nType=BrRAGPlayer\nHealth=100\nAnatomy=Body,Hand,Hand\n\n"
    "[Rat]\nType=BrRAGActor\nHealth=10\nAnatomy=Body\n\n";

BrRAGMiniMap* MiniMapOf(FlowWorld& world) {
  BrMiniMap* m = world.Game()->GetMiniMap();
  return m && m->IsA(BrRAGMiniMap::Type) ? static_cast<BrRAGMiniMap*>(m) : nullptr;
}

// The texel that shows world point (x, z) on the minimap's texture.
uint32_t TexelAt(FlowWorld& world, BrRAGMiniMap* mini, float x, float z) {
  BrVector min, max;
  mini->GetActiveRegion(min, max);
  const float step = (max.x - min.x) / 128.0f;
  const int i = int((x - min.x) / step);
  const int j = int((z - min.z) / step);
  RecordingTexture* tex = world.dev.Textures()->dynamics[mini->GetTexture()];
  return tex->Raw(unsigned(i), unsigned(127 - j));
}

}  // namespace

TEST(RAGMiniMap, ExploredCellsAreDrawnWithLinesBetweenThem) {
  FlowWorld world(kConfig, {}, 8, 8);
  BrRAGPlayer* player = world.SpawnPlayer("Hero", 64.0f, 64.0f);  // the middle of cell (4, 4)
  ASSERT_NE(player, nullptr);
  BrRAGMiniMap* mini = MiniMapOf(world);
  ASSERT_NE(mini, nullptr);
  BrRAGMap* map = world.Map();
  map->GetCell(4, 4)->SetExplored(true);
  map->GetCell(4, 4)->SetVisible(true);
  map->GetCell(5, 4)->SetExplored(true);
  map->GetCell(5, 4)->SetVisible(false);
  map->GetCell(3, 4)->SetExplored(false);

  mini->Draw(&world.dev);
  ASSERT_GE(mini->GetTexture(), 0);
  EXPECT_EQ(TexelAt(world, mini, 64.0f, 64.0f) >> 24, 210u);   // in view
  EXPECT_EQ(TexelAt(world, mini, 192.0f, 64.0f) >> 24, 128u);  // explored, out of view
  EXPECT_EQ(TexelAt(world, mini, -64.0f, 64.0f) >> 24, 0u);    // in use but never revealed

  // The first texel column of cell (4, 4) (world x = 0 upwards) is a line; the next one is filled.
  BrVector min, max;
  mini->GetActiveRegion(min, max);
  const float step = (max.x - min.x) / 128.0f;
  const int first = int(std::ceil((0.0f - min.x) / step));
  EXPECT_EQ(TexelAt(world, mini, min.x + first * step + 0.1f, 64.0f) >> 24, 0u);
  EXPECT_EQ(TexelAt(world, mini, min.x + (first + 1) * step + 0.1f, 64.0f) >> 24, 210u);
  // Likewise the first texel row of the cell in z.
  const int firstRow = int(std::ceil((0.0f - min.z) / step));
  EXPECT_EQ(TexelAt(world, mini, 64.0f, min.z + firstRow * step + 0.1f) >> 24, 0u);
  EXPECT_EQ(TexelAt(world, mini, 64.0f, min.z + (firstRow + 1) * step + 0.1f) >> 24, 210u);

  // The map sprite and the frame, the level number; not the number in the interlude.
  EXPECT_EQ(world.SpritesOf("MiniMapFX").size(), 1u);
  EXPECT_EQ(world.SpritesOf("ShaderMapCell").size(), 1u);
  EXPECT_TRUE(world.Drew("1"));

  // A texture the device dropped is made again, into the same effector.
  const size_t effectors = world.dev.Effectors()->names.size();
  world.dev.Textures()->UnlinkDynamics();
  world.dev.ClearRecords();
  mini->Draw(&world.dev);
  EXPECT_EQ(world.dev.Effectors()->names.size(), effectors);
  ASSERT_GE(mini->GetTexture(), 0);
  EXPECT_EQ(TexelAt(world, mini, 64.0f, 64.0f) >> 24, 210u);
  EXPECT_EQ(world.SpritesOf("MiniMapFX").size(), 1u);

  // A new map brings a new minimap; it draws into the same surface instead of making another.
  const size_t textures = world.dev.Textures()->dynamics.size();
  world.Game()->CreateMap();
  BrRAGMiniMap* next = MiniMapOf(world);
  ASSERT_NE(next, nullptr);
  world.dev.ClearRecords();
  next->Draw(&world.dev);
  EXPECT_EQ(world.dev.Effectors()->names.size(), effectors);
  EXPECT_EQ(world.dev.Textures()->dynamics.size(), textures);
  EXPECT_EQ(world.SpritesOf("MiniMapFX").size(), 1u);
}

TEST(RAGMiniMap, ZoomActorsAndRotation) {
  FlowWorld world(kConfig, {"BrRAGGameStateModal", "BrRAGGameStateInterlude"}, 20, 12);
  BrRAGPlayer* player = world.SpawnPlayer("Hero", 64.0f, 64.0f);
  ASSERT_NE(player, nullptr);
  BrDemoEntity* rat = world.Spawn("Rat", 64.0f + 200.0f, 64.0f);
  BrDemoEntity* far = world.Spawn("Rat", 64.0f + 5000.0f, 64.0f);
  ASSERT_NE(rat, nullptr);
  ASSERT_NE(far, nullptr);
  BrRAGMiniMap* mini = MiniMapOf(world);
  ASSERT_NE(mini, nullptr);

  EXPECT_EQ(mini->GetMaxCellResolution(), 40.0f);
  mini->ZoomIn(10.0f);
  EXPECT_EQ(mini->GetCellResolution(), 15.0f);
  mini->ZoomOut(0.12f);  // one wheel notch: 4.8 cells
  EXPECT_FLOAT_EQ(mini->GetCellResolution(), 19.8f);
  mini->ZoomOut(10.0f);
  EXPECT_EQ(mini->GetCellResolution(), 40.0f);

  // Icons of actors inside the region only; three times as large at the widest zoom as at the closest.
  mini->AddActor(rat->GetID(), 40);
  mini->AddActor(far->GetID(), 41);
  auto iconWidth = [&](unsigned int icon) {
    world.dev.ClearRecords();
    mini->Draw(&world.dev);
    float w = -1.0f;
    for (const auto& s : world.dev.sprites)
      if (s.effector == icon) w = s.w;
    return w;
  };
  const float widest = iconWidth(40);
  EXPECT_GT(widest, 0.0f);
  EXPECT_EQ(iconWidth(41), -1.0f);
  mini->ZoomIn(100.0f);
  const float closest = iconWidth(40);
  EXPECT_NEAR(widest / closest, 3.0f * 15.0f / 40.0f, 1e-4);

  // A revealed actor on the map but out of the player's sight is drawn and goes back to "added".
  BrDemoEntity* dark = world.Spawn("Rat", 64.0f + 1500.0f, 64.0f);
  ASSERT_NE(dark, nullptr);
  ASSERT_FALSE(mini->IsActorVisible(dark->GetID()));
  mini->AddActor(dark->GetID(), 42);
  mini->AddActor(dark->GetID(), 42);
  const BrMiniMapActor* record = nullptr;
  for (int i = 0; i < mini->GetNumActorRecords(); ++i)
    if (mini->GetActorRecord(i)->id == dark->GetID()) record = mini->GetActorRecord(i);
  ASSERT_NE(record, nullptr);
  EXPECT_EQ(record->state, 2);
  mini->ZoomOut(100.0f);
  EXPECT_GT(iconWidth(42), 0.0f);
  EXPECT_EQ(record->state, 1);

  // Rotation: +z is 0 degrees, +x is 270.
  EXPECT_FLOAT_EQ(mini->GetCurrentRotation(BrVector(0.0f, 0.0f, 1.0f)), 0.0f);
  EXPECT_NEAR(mini->GetCurrentRotation(BrVector(1.0f, 0.0f, 0.0f)), 270.0f, 1e-3);

  // In the interlude the frame and map are drawn but not the level number.
  world.Game()->ChangeToState(BrStringT<char>("BrRAGGameStateInterlude"));
  world.dev.ClearRecords();
  mini->Draw(&world.dev);
  EXPECT_EQ(world.SpritesOf("ShaderMapCell").size(), 1u);
  EXPECT_FALSE(world.Drew("1"));
}

TEST(RAGMiniMap, TheTextureIsRedrawnWhenWhatItShowsChangesAndEqualsAFreshOne) {
  FlowWorld world(kConfig, {}, 40, 40);
  BrRAGPlayer* player = world.SpawnPlayer("Hero", 64.0f, 64.0f);  // the middle of cell (20, 20)
  ASSERT_NE(player, nullptr);
  BrRAGMiniMap* mini = MiniMapOf(world);
  ASSERT_NE(mini, nullptr);
  BrRAGMap* map = world.Map();
  for (int x = 0; x < 40; ++x)
    for (int y = 0; y < 40; ++y) map->GetCell(x, y)->SetExplored(x >= 20 && x <= 23 && y >= 18 && y <= 22);
  mini->Draw(&world.dev);
  ASSERT_GE(mini->GetTexture(), 0);
  auto texture = [&]() { return world.dev.Textures()->dynamics[mini->GetTexture()]; };
  const int first = texture()->accesses;
  ASSERT_EQ(first, 1);

  // Nothing changed: the texture is not touched.
  mini->Draw(&world.dev);
  mini->Draw(&world.dev);
  EXPECT_EQ(texture()->accesses, first);

  // A cell explored in view, a cell seen, the zoom, the player's place: each redraws it once.
  EXPECT_EQ(TexelAt(world, mini, -64.0f, 64.0f) >> 24, 0u);
  map->GetCell(19, 20)->SetExplored(true);
  mini->Draw(&world.dev);
  EXPECT_EQ(texture()->accesses, first + 1);
  EXPECT_EQ(TexelAt(world, mini, -64.0f, 64.0f) >> 24, 128u) << "the explored cell shows";
  const std::vector<uint32_t> explored = texture()->texels;
  map->GetCell(19, 20)->SetVisible(true);
  mini->Draw(&world.dev);
  EXPECT_EQ(texture()->accesses, first + 2);
  EXPECT_EQ(TexelAt(world, mini, -64.0f, 64.0f) >> 24, 210u);
  map->GetCell(19, 20)->SetVisible(false);
  mini->Draw(&world.dev);
  EXPECT_EQ(texture()->texels, explored);
  map->GetCell(19, 20)->SetValid(false);  // walled up, then opened again
  mini->Draw(&world.dev);
  EXPECT_EQ(TexelAt(world, mini, -64.0f, 64.0f) >> 24, 0u);
  map->GetCell(19, 20)->SetValid(true);
  mini->Draw(&world.dev);
  EXPECT_EQ(texture()->texels, explored);

  // The same texture as one drawn from nothing: the device drops it and the minimap makes and fills another.
  world.dev.Textures()->UnlinkDynamics();
  mini->Draw(&world.dev);
  ASSERT_GE(mini->GetTexture(), 0);
  EXPECT_EQ(texture()->texels, explored);

  const int before = texture()->accesses;
  mini->ZoomOut(0.12f);
  mini->Draw(&world.dev);
  EXPECT_EQ(texture()->accesses, before + 1);
  player->Location().x += 3.0f;
  mini->Draw(&world.dev);
  EXPECT_EQ(texture()->accesses, before + 2);
  mini->Draw(&world.dev);
  EXPECT_EQ(texture()->accesses, before + 2);

  // The map shows inside a disc: its corners stay empty whatever the cells there, so that turned with the
  // camera the map never reaches past the frame.
  for (int x = 0; x < 40; ++x)
    for (int y = 0; y < 40; ++y) map->GetCell(x, y)->SetExplored(true);
  mini->Draw(&world.dev);
  RecordingTexture* t = texture();
  int lit = 0;
  for (unsigned i = 0; i < 128; ++i)
    for (unsigned j = 0; j < 128; ++j) {
      const float dx = float(i) + 0.5f - 64.0f, dy = float(j) + 0.5f - 64.0f;
      if (dx * dx + dy * dy > 58.0f * 58.0f) {
        ASSERT_EQ(t->Raw(i, j) >> 24, 0u) << "texel (" << i << ", " << j << ") lies outside the frame when turned";
      } else if (t->Raw(i, j) >> 24) {
        ++lit;
      }
    }
  EXPECT_GT(lit, 128 * 128 / 3) << "the disc is drawn";
}
