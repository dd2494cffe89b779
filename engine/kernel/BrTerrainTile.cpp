// BrTerrainTile: height maps from TGA images, the snaking triangle strip, lighting, drawing and the archive form.
#include "engine/kernel/BrTerrainTile.h"

#include <vector>

#include "core/BrARGB.h"
#include "core/BrBin.h"
#include "core/BrLogFile.h"
#include "core/BrTGAFile.h"
#include "engine/kernel/BrEngine.h"
#include "engine/presentation/BrRenderBase.h"
#include "templates/BrArchiveOps.h"

BR_IMPLEMENT_CLASS(BrTerrainTile, BrGameObj)

namespace {
const DWORD kTriangleStrip = 5;
}  // namespace

BrTerrainTile::BrTerrainTile()
    : m_pVB(nullptr),
      m_pIB(nullptr),
      m_iTextureStage(0),
      m_iColumnSpacing(1),
      m_iRowSpacing(1),
      m_fTexScaleU(1.0f),
      m_fTexScaleV(1.0f),
      m_iHeightScale(1) {}

BrTerrainTile::BrTerrainTile(BrTGAFile* image) : BrTerrainTile() { CreateHeightMap(image); }

BrTerrainTile::BrTerrainTile(const BrTerrainTile& other)
    : BrGameObj(other),
      m_HeightMap(other.m_HeightMap),
      m_pVB(nullptr),
      m_pIB(nullptr),
      m_iTextureStage(other.m_iTextureStage),
      m_ToolPosition(other.m_ToolPosition),
      m_iColumnSpacing(other.m_iColumnSpacing),
      m_iRowSpacing(other.m_iRowSpacing),
      m_fTexScaleU(other.m_fTexScaleU),
      m_fTexScaleV(other.m_fTexScaleV),
      m_iHeightScale(other.m_iHeightScale),
      m_ToolName(other.m_ToolName) {}

BrTerrainTile& BrTerrainTile::operator=(const BrTerrainTile& other) {
  if (this == &other) return *this;
  Destroy();
  BrGameObj::operator=(other);
  m_HeightMap.width = other.m_HeightMap.width;
  m_HeightMap.height = other.m_HeightMap.height;
  m_HeightMap.values = other.m_HeightMap.values;
  m_iTextureStage = other.m_iTextureStage;
  m_ToolPosition = other.m_ToolPosition;
  m_iColumnSpacing = other.m_iColumnSpacing;
  m_iRowSpacing = other.m_iRowSpacing;
  m_fTexScaleU = other.m_fTexScaleU;
  m_fTexScaleV = other.m_fTexScaleV;
  m_iHeightScale = other.m_iHeightScale;
  m_ToolName = other.m_ToolName;
  return *this;
}

BrTerrainTile::~BrTerrainTile() { BrTerrainTile::Destroy(); }

bool BrTerrainTile::CreateHeightMap(BrTGAFile* image) {
  if (!image || !image->Validate()) return false;
  const int64_t w = image->GetWidth();
  const int64_t h = image->GetHeight();
  const int64_t n = w * h;
  if (n < 5 || n > INT32_MAX) return false;
  m_HeightMap.values.SetSize(int(n));
  m_HeightMap.width = int32_t(w);
  m_HeightMap.height = int32_t(h);
  int i = 0;
  for (int64_t y = 0; y < h; ++y)
    for (int64_t x = 0; x < w; ++x) m_HeightMap.values[i++] = image->GetGreyScale(unsigned(x), unsigned(y));
  return true;
}

bool BrTerrainTile::GetHeightValue(int x, int y, unsigned char& out) const {
  if (x < 0 || y < 0 || x >= m_HeightMap.width || y >= m_HeightMap.height) return false;
  const int64_t i = int64_t(m_HeightMap.width) * y + x;
  if (i >= m_HeightMap.values.GetSize()) return false;
  out = m_HeightMap.values[int(i)];
  return true;
}

void BrTerrainTile::ImitateTool(BrVector position, int columnSpacing, int rowSpacing, float texScaleU, float texScaleV,
                                int heightScale, BrStringT<char>& name) {
  m_ToolPosition = position;
  m_iColumnSpacing = columnSpacing;
  m_iRowSpacing = rowSpacing;
  m_fTexScaleU = texScaleU;
  m_fTexScaleV = texScaleV;
  m_iHeightScale = heightScale;
  m_ToolName = name;
}

int BrTerrainTile::GetNumIndices() const {
  const int w = m_HeightMap.width;
  const int h = m_HeightMap.height;
  if (w < 1 || h < 1) return 0;
  return (2 * w - 2) * (h - 1) + h;
}

bool BrTerrainTile::InitIndexed() {
  if (m_pVB || m_pIB) return false;
  const int w = m_HeightMap.width;
  const int h = m_HeightMap.height;
  if (m_HeightMap.values.GetSize() < 4 || w < 2 || h < 2 || int64_t(w) * h != m_HeightMap.values.GetSize()) {
    GLog.DebugPrintf("TERRAIN: Tried to initiate terrain tile with bad HeightMap");
    return false;
  }
  // 16-bit indices cannot name a vertex past the 65,536th.
  if (int64_t(w) * h > ciMaxVertices) {
    GLog.printf("ERROR: Terrain tile of %i x %i vertices is beyond the 65536 that 16-bit indices reach", w, h);
    return false;
  }
  BrRenderBase* render = Engine().Render();
  if (!render) return false;

  const int n = w * h;
  std::vector<BrTerrainVertex> vertices(static_cast<size_t>(n));
  const float texU = m_fTexScaleU != 0.0f ? m_fTexScaleU : 1.0f;
  const float texV = m_fTexScaleV != 0.0f ? m_fTexScaleV : 1.0f;
  auto height = [&](int c, int r) { return float(m_HeightMap.values[r * w + (w - c - 1)]) * float(m_iHeightScale); };
  for (int r = 0; r < h; ++r) {
    for (int c = 0; c < w; ++c) {
      BrTerrainVertex& v = vertices[size_t(r * w + c)];
      v.x = -float(c - (w - 1) / 2) * float(m_iColumnSpacing);
      v.z = float((h - 1) / 2 - r) * float(m_iRowSpacing);
      v.y = height(c, r);
      v.u = v.x / texU;
      v.v = v.z / texV;
    }
  }
  // Each vertex is lit by the normal of the surface around it, blending a sunlit and a shadowed colour.
  const BrARGB lit(255, 125, 120, 76);
  const BrARGB dark(255, 10, 15, 15);
  const BrVector sun = BrVector(1.0f, 2.0f, 1.0f).Unit();
  for (int r = 0; r < h; ++r) {
    for (int c = 0; c < w; ++c) {
      const BrTerrainVertex& left = vertices[size_t(r * w + (c > 0 ? c - 1 : c))];
      const BrTerrainVertex& right = vertices[size_t(r * w + (c < w - 1 ? c + 1 : c))];
      const BrTerrainVertex& up = vertices[size_t((r > 0 ? r - 1 : r) * w + c)];
      const BrTerrainVertex& down = vertices[size_t((r < h - 1 ? r + 1 : r) * w + c)];
      const BrVector across(right.x - left.x, right.y - left.y, right.z - left.z);
      const BrVector along(down.x - up.x, down.y - up.y, down.z - up.z);
      BrVector normal = (along ^ across).Unit();
      if (normal.y < 0.0f) normal = normal * -1.0f;
      float light = normal | sun;
      light = light < 0.0f ? 0.0f : (light > 1.0f ? 1.0f : light);
      const BrARGB colour(255, int(lit.r * light + dark.r * (1.0f - light)),
                          int(lit.g * light + dark.g * (1.0f - light)), int(lit.b * light + dark.b * (1.0f - light)));
      vertices[size_t(r * w + c)].diffuse = colour.GetDWORD();
    }
  }

  // One strip snaking across the rows: forward on even row pairs, back on odd ones, turning at each row end
  // with one extra index (a degenerate triangle along the edge).
  std::vector<uint16_t> indices;
  indices.reserve(size_t(GetNumIndices()));
  for (int r = 0; r + 1 < h; ++r) {
    const bool forward = (r % 2) == 0;
    for (int k = 0; k < w; ++k) {
      const int c = forward ? k : w - 1 - k;
      if (r > 0 && k == 0) {
        indices.push_back(uint16_t((r + 1) * w + c));
        continue;
      }
      indices.push_back(uint16_t(r * w + c));
      indices.push_back(uint16_t((r + 1) * w + c));
    }
  }

  const unsigned int vbBytes = unsigned(n) * sizeof(BrTerrainVertex);
  const unsigned int ibBytes = unsigned(indices.size()) * sizeof(uint16_t);
  if (!render->CreateVertexBuffer(&m_pVB, vbBytes, ciVertexFormat, eMemPoolManaged, eResUsageStatic) || !m_pVB ||
      !m_pVB->Populate(0, reinterpret_cast<unsigned char*>(vertices.data()), vbBytes) ||
      !render->CreateIndexBuffer(&m_pIB, ibBytes, eIDXFormat16, eMemPoolManaged) || !m_pIB ||
      m_pIB->Populate(reinterpret_cast<unsigned char*>(indices.data()), ibBytes, true) == eLockFailed) {
    GLog.printf("ERROR: Failed to build the terrain tile's buffers");
    Destroy();
    return false;
  }
  Location() = m_ToolPosition;
  return true;
}

void BrTerrainTile::Draw(BrRenderBase* render) {
  if (!render || !m_pVB || !m_pIB) return;
  const int stages[2] = {m_iTextureStage + 1, m_iTextureStage};
  for (int stage : stages) {
    render->SetTexture(unsigned(stage), eTextureStatic, 0);
    render->SetTransform(&GetCoords());
    render->DrawPrimitive(kTriangleStrip, m_pVB, m_pIB, sizeof(BrTerrainVertex), ciVertexFormat,
                          m_HeightMap.width * m_HeightMap.height, GetNumIndices() - 2, 0, 0);
  }
}

void BrTerrainTile::Destroy() {
  if (m_pVB) {
    m_pVB->Release();
    delete m_pVB;
    m_pVB = nullptr;
  }
  if (m_pIB) {
    m_pIB->Release();
    delete m_pIB;
    m_pIB = nullptr;
  }
  m_HeightMap.values.SetSize(0);
  m_HeightMap.width = 0;
  m_HeightMap.height = 0;
}

void BrTerrainTile::Serialize(BrBin& bin) {
  BrGameObj::Serialize(bin);
  bin << m_HeightMap.height;
  bin << m_HeightMap.width;
  m_HeightMap.values.Serialize(bin);
  if (bin.IsLoading() && !bin.HasFailed() &&
      (m_HeightMap.width < 0 || m_HeightMap.height < 0 ||
       int64_t(m_HeightMap.width) * m_HeightMap.height != m_HeightMap.values.GetSize())) {
    bin.MarkFailed("ERROR: Terrain height map size does not match its width and height");
    m_HeightMap.values.SetSize(0);
    m_HeightMap.width = 0;
    m_HeightMap.height = 0;
  }
  bin << m_ToolPosition;
  bin << m_iColumnSpacing;
  bin << m_iRowSpacing;
  bin << m_fTexScaleU;
  bin << m_fTexScaleV;
  bin << m_iHeightScale;
  bin << m_ToolName;
}
