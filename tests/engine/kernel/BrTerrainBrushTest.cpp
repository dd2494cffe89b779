// Tests of brushes and the solid-leaf tree, and of terrain tiles built from TGA height maps.
#include "engine/kernel/BrTerrainTile.h"

#include <gtest/gtest.h>

#include <cstring>

#include "core/BrTGAFile.h"
#include "engine/kernel/BrBrush.h"
#include "engine/kernel/BrSolidLeafBSP.h"
#include "tests/support/RecordingRenderDevice.h"
#include "WorldTestSupport.h"

using namespace brworld;

namespace {
// Writes a grey TGA of w x h whose pixel (x, y) has the grey level grey(x, y), top row first.
template <class Grey>
void WriteGreyTGA(const char* path, int w, int h, Grey grey) {
  BrTGAFile image;
  _tgaheaderinfo header;
  header.imageType = 2;
  header.width = uint16_t(w);
  header.height = uint16_t(h);
  header.bitsPerPixel = 24;
  image.SetHeader(header);
  for (int y = 0; y < h; ++y)
    for (int x = 0; x < w; ++x) {
      const unsigned char g = grey(x, y);
      image.AddRGB(g, g, g);
    }
  ASSERT_TRUE(image.Export(path));
}
}  // namespace

TEST(BrSolidLeafBSP, HasNoLeavesAndBrushListsDestroyEverything) {
  BrSolidLeafBSP tree;
  EXPECT_EQ(tree.GetLeaf(BrVector(1, 2, 3)), -1);
  EXPECT_EQ(tree.GetLeaf(BrVector()), -1);

  BrBrushList list;
  for (int i = 0; i < 2; ++i) {
    BrBrush* brush = new BrBrush();
    brush->Tree().m_Leaves.Add(1);
    brush->Tree().m_Points.Add(BrVector(1, 1, 1));
    BrBrushFace face;
    face.m_Points.Add(BrVector(0, 0, 0));
    face.m_Points.Add(BrVector(1, 0, 0));
    brush->Faces().Add(face);
    list.AddBrush(brush);
  }
  list.AddBrush(nullptr);
  ASSERT_EQ(list.GetNumBrushes(), 2);
  BrBrushList copy(list);
  ASSERT_EQ(copy.GetNumBrushes(), 2);
  EXPECT_NE(copy.GetBrush(0), list.GetBrush(0));
  EXPECT_EQ(copy.GetBrush(1)->Faces()[0].m_Points.GetCount(), 2);

  BrBrush* first = list.GetBrush(0);
  first->Destroy();
  EXPECT_EQ(first->Faces().GetCount(), 0);
  EXPECT_EQ(first->Tree().GetTableEntries(), 0);
  list.Destroy();
  EXPECT_EQ(list.GetNumBrushes(), 0);
  EXPECT_EQ(copy.GetNumBrushes(), 2);  // the copy's brushes are its own
}

TEST(BrTerrainTile, HeightMapsFromTGAImages) {
  RunFolder folder;
  WriteGreyTGA("Media\\tiny.tga", 2, 2, [](int, int) { return 9; });
  WriteGreyTGA("Media\\tall.tga", 2, 3, [](int x, int y) { return (unsigned char)(10 * y + x); });
  BrTGAFile tiny("Media\\tiny.tga");
  BrTGAFile tall("Media\\tall.tga");
  BrTerrainTile refused(&tiny);
  EXPECT_EQ(refused.GetWidth(), 0);
  BrTerrainTile tile(&tall);
  ASSERT_EQ(tile.GetWidth(), 2);
  ASSERT_EQ(tile.GetHeight(), 3);
  unsigned char v = 0;
  // The values are the image's grey levels, row by row from the top.
  ASSERT_TRUE(tile.GetHeightValue(0, 0, v));
  EXPECT_EQ(v, tall.GetGreyScale(0, 0));
  ASSERT_TRUE(tile.GetHeightValue(1, 2, v));
  EXPECT_EQ(v, tall.GetGreyScale(1, 2));
  EXPECT_GE(v, 20);
  EXPECT_FALSE(tile.GetHeightValue(2, 0, v));
  EXPECT_FALSE(tile.GetHeightValue(-1, 0, v));
  EXPECT_FALSE(tile.GetHeightValue(0, 3, v));
  BrTerrainTile none(nullptr);
  EXPECT_FALSE(none.CreateHeightMap(nullptr));

  // Destroying a tile without buffers only empties its height map.
  tile.Destroy();
  EXPECT_EQ(tile.GetWidth(), 0);
  EXPECT_FALSE(tile.GetHeightValue(0, 0, v));
}

TEST(BrTerrainTile, BuildsAStripThroughTheDeviceAndDrawsItTwice) {
  RunFolder folder;
  RecordingRenderDevice render;
  ScopedRenderDevice scope(&render);
  render.Init();
  WriteGreyTGA("Media\\hill.tga", 4, 3, [](int x, int y) { return (unsigned char)(x * 50 + y); });
  BrTGAFile image("Media\\hill.tga");
  BrTerrainTile tile(&image);
  BrStringT<char> tool("Raise");
  tile.ImitateTool(BrVector(100, 0, 200), 10, 20, 5.0f, 5.0f, 2, tool);
  ASSERT_TRUE(tile.InitIndexed());
  EXPECT_FALSE(tile.InitIndexed());  // buffers exist already
  EXPECT_TRUE(tile.Location() == BrVector(100, 0, 200));

  auto* vb = static_cast<RecordingVertexBuffer*>(tile.GetVertexBuffer());
  auto* ib = static_cast<RecordingIndexBuffer*>(tile.GetIndexBuffer());
  ASSERT_EQ(vb->bytes.size(), 12u * 24u);
  const int n = (2 * 4 - 2) * (3 - 1) + 3;
  ASSERT_EQ(tile.GetNumIndices(), n);
  ASSERT_EQ(ib->writePos, unsigned(n) * 2u);
  EXPECT_EQ(ib->Index16(0), 0);
  EXPECT_EQ(ib->Index16(1), 4);
  EXPECT_EQ(ib->Index16(2), 1);
  // Every index names a vertex, and every triangle but the turns uses three distinct ones.
  for (int i = 0; i < n; ++i) EXPECT_LT(ib->Index16(i), 12);

  BrTerrainVertex first;
  std::memcpy(&first, vb->bytes.data(), 24);
  // Row 0, column 0: x = -(0 - 1) * 10, z = (1 - 0) * 20, y = the mirrored column's height (x = 3) * 2.
  EXPECT_FLOAT_EQ(first.x, 10.0f);
  EXPECT_FLOAT_EQ(first.z, 20.0f);
  EXPECT_FLOAT_EQ(first.y, float(image.GetGreyScale(3, 0) * 2));
  EXPECT_GT(first.y, 290.0f);
  EXPECT_EQ(first.diffuse >> 24, 255u);

  render.ClearRecords();
  tile.Draw(&render);
  ASSERT_EQ(render.draws.size(), 2u);
  EXPECT_EQ(render.draws[0].primitiveCount, n - 2);
  EXPECT_EQ(render.draws[0].numVertices, 12);
  EXPECT_EQ(render.draws[0].stride, 24u);
  tile.Draw(nullptr);
  EXPECT_EQ(render.draws.size(), 2u);

  tile.Destroy();
  EXPECT_EQ(tile.GetVertexBuffer(), nullptr);
  EXPECT_EQ(tile.GetIndexBuffer(), nullptr);
}

TEST(BrTerrainTile, RefusesBadMapsAndTooManyVertices) {
  RunFolder folder;
  RecordingRenderDevice render;
  ScopedRenderDevice scope(&render);
  render.Init();
  BrTerrainTile empty;
  EXPECT_FALSE(empty.InitIndexed());
  EXPECT_EQ(folder.CountLines("TERRAIN: Tried to initiate terrain tile with bad HeightMap"), 1);

  WriteGreyTGA("Media\\huge.tga", 300, 220, [](int, int) { return 1; });
  BrTGAFile huge("Media\\huge.tga");
  BrTerrainTile big(&huge);
  ASSERT_EQ(big.GetWidth(), 300);
  EXPECT_FALSE(big.InitIndexed());
  EXPECT_EQ(big.GetVertexBuffer(), nullptr);
  EXPECT_EQ(folder.CountLines("beyond the 65536 that 16-bit indices reach"), 1);
}

TEST(BrTerrainTile, ArchiveFormKeepsTheMapAndRefusesAMismatch) {
  RunFolder folder;
  WriteGreyTGA("Media\\t.tga", 3, 2, [](int x, int y) { return (unsigned char)(x + 3 * y); });
  BrTGAFile image("Media\\t.tga");
  BrTerrainTile tile(&image);
  BrStringT<char> tool("Smooth");
  tile.ImitateTool(BrVector(1, 2, 3), 4, 5, 6.0f, 7.0f, 8, tool);
  {
    BrBin out;
    ASSERT_TRUE(out.Open("Media\\tile.bin", 0));
    tile.Serialize(out);
    ASSERT_TRUE(out.Close());
  }
  BrTerrainTile loaded;
  {
    BrBin in;
    in.Loading();
    ASSERT_TRUE(in.Open("Media\\tile.bin", 0));
    loaded.Serialize(in);
    EXPECT_FALSE(in.HasFailed());
  }
  unsigned char v = 0;
  ASSERT_TRUE(loaded.GetHeightValue(2, 1, v));
  EXPECT_EQ(v, image.GetGreyScale(2, 1));
  EXPECT_EQ(loaded.GetWidth(), 3);

  // Width and height that disagree with the stored values fail the archive.
  std::vector<char> bytes = RunFolder::ReadBytes(folder.root / "Media" / "tile.bin");
  {
    BrBin out;
    ASSERT_TRUE(out.Open("Media\\plain.bin", 0));
    static_cast<BrGameObj&>(tile).BrGameObj::Serialize(out);
    out.Close();
  }
  const size_t headerAt = RunFolder::ReadBytes(folder.root / "Media" / "plain.bin").size();
  bytes[headerAt] = 9;  // height 9
  RunFolder::WriteBytes(folder.root / "Media" / "bad.bin", bytes);
  BrTerrainTile bad;
  BrBin in;
  in.Loading();
  ASSERT_TRUE(in.Open("Media\\bad.bin", 0));
  bad.Serialize(in);
  EXPECT_TRUE(in.HasFailed());
  EXPECT_EQ(bad.GetWidth(), 0);
}
