// BrTerrainTile: terrain built from a greyscale TGA height map into an indexed triangle strip, with its tool settings.
#pragma once

#include <cstdint>

#include "core/BrVector.h"
#include "engine/kernel/BrGameObj.h"
#include "templates/TSArray.h"

class BrIndexBufferBase;
class BrTGAFile;
class BrVertexBufferBase;

// One height byte per pixel, row by row from the image's top row.
struct _heightmap {
  int32_t width = 0;
  int32_t height = 0;
  TSArray<uint8_t> values;
};

// One terrain vertex: position, diffuse colour, one pair of texture coordinates.
struct BrTerrainVertex {
  float x, y, z;
  uint32_t diffuse;
  float u, v;
};
static_assert(sizeof(BrTerrainVertex) == 24, "the terrain vertex format is 24 bytes");

// A terrain tile; saved with its height map and tool settings.
class BrTerrainTile : public BrGameObj {
  BR_DECLARE_CLASS(BrTerrainTile)
public:
  // Vertex format flags: position, diffuse colour, one texture coordinate set.
  static const uint32_t ciVertexFormat = 0x142;
  // The most vertices 16-bit indices can reach.
  static const int ciMaxVertices = 65536;

  // Empty height map, no buffers, texture stage 0.
  BrTerrainTile();
  // The same, then CreateHeightMap(image).
  explicit BrTerrainTile(BrTGAFile* image);
  // Copies the height map and tool settings; the copy builds buffers of its own.
  BrTerrainTile(const BrTerrainTile& other);
  BrTerrainTile& operator=(const BrTerrainTile& other);
  // Runs Destroy.
  ~BrTerrainTile() override;

  // The game object part, height, width, the values, then the tool settings. A height map whose size does
  // not match its width and height fails the archive.
  void Serialize(BrBin& bin) override;
  // Releases both buffers and empties the height map.
  void Destroy() override;
  // Two passes of the strip (texture stage + 1, then the stage); nothing without a device or buffers.
  void Draw(BrRenderBase* render) override;

  // Takes the image's grey values; false for an image that does not validate or has fewer than 5 pixels.
  bool CreateHeightMap(BrTGAFile* image);
  // False outside the map; otherwise out = the value at (x, y).
  bool GetHeightValue(int x, int y, unsigned char& out) const;
  // Stores the tool settings in field order.
  void ImitateTool(BrVector position, int columnSpacing, int rowSpacing, float texScaleU, float texScaleV,
                   int heightScale, BrStringT<char>& name);
  // Builds the vertex and index buffers through the rendering device; false (logged) for a map of fewer than
  // 4 values, one past 65,536 vertices, without a device, or when the tile already has a buffer.
  bool InitIndexed();

  int GetWidth() const { return m_HeightMap.width; }
  int GetHeight() const { return m_HeightMap.height; }
  int GetNumIndices() const;
  BrVertexBufferBase* GetVertexBuffer() const { return m_pVB; }
  BrIndexBufferBase* GetIndexBuffer() const { return m_pIB; }
  void SetTextureStage(int stage) { m_iTextureStage = stage; }

protected:
  _heightmap m_HeightMap;
  BrVertexBufferBase* m_pVB;
  BrIndexBufferBase* m_pIB;
  int32_t m_iTextureStage;
  BrVector m_ToolPosition;
  int32_t m_iColumnSpacing;
  int32_t m_iRowSpacing;
  float m_fTexScaleU;
  float m_fTexScaleV;
  int32_t m_iHeightScale;
  BrStringT<char> m_ToolName;
};
