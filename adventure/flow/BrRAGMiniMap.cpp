// BrRAGMiniMap: the grid around the player rendered into the minimap texture each frame, with actors, frame and level.
#include "adventure/flow/BrRAGMiniMap.h"

#include <cmath>

#include "adventure/flow/BrRAGFlowDraw.h"
#include "adventure/world/BrRAGCell.h"
#include "adventure/world/BrRAGMap.h"
#include "adventure/world/BrRAGPlayer.h"
#include "engine/kernel/BrActor.h"
#include "engine/kernel/BrApplication.h"
#include "engine/kernel/BrCamera.h"
#include "engine/kernel/BrDemoEntity.h"
#include "engine/kernel/BrEngine.h"
#include "engine/kernel/BrMap.h"
#include "engine/presentation/BrCursor.h"
#include "engine/presentation/BrEffector.h"
#include "engine/presentation/BrHUD.h"
#include "engine/presentation/BrRect.h"
#include "engine/presentation/BrTextureBase.h"

BR_IMPLEMENT_CLASS(BrRAGMiniMap, BrMiniMap)

int BrRAGMiniMap::miFrameFX = 0;
BrARGB BrRAGMiniMap::mCellColour(255, 255, 255, 255);
int BrRAGMiniMap::miSharedTexture = -1;
int BrRAGMiniMap::miSharedEffector = 0;
const BrRAGMiniMap* BrRAGMiniMap::spShownBy = nullptr;

namespace {

BrRAGMap* GridMap() {
  BrApplication* app = Engine().App();
  BrMap* map = app ? app->Map() : nullptr;
  if (!map || !map->IsA(BrRAGMap::Type)) return nullptr;
  return static_cast<BrRAGMap*>(map);
}

BrActor* Player() {
  BrApplication* app = Engine().App();
  return app ? app->GetPlayer() : nullptr;
}

float Clamp01(float v) { return v < 0.0f ? 0.0f : (v > 1.0f ? 1.0f : v); }

// The square texture turns with the camera inside a square frame: only the disc that stays inside the frame's
// inner edge (6 of the frame's 128 texels from its side) is drawn, the corners left empty.
bool InsideRound(int i, int j, int n) {
  const float c = (float)n / 2.0f;
  const float r = c * (58.0f / 64.0f);
  const float dx = (float)i + 0.5f - c, dy = (float)j + 0.5f - c;
  return dx * dx + dy * dy <= r * r;
}

uint8_t CellState(const BrRAGCell* cell) {
  if (!cell) return 0;
  return uint8_t(1 | (cell->IsOccupied() ? 2 : 0) | (cell->IsExplored() ? 4 : 0) | (cell->IsVisible() ? 8 : 0));
}

}  // namespace

BrRAGMiniMap::BrRAGMiniMap() : mfCellResolution(18.0f), mfMinCellResolution(15.0f), miExploredIconFX(0) {
  BrRAGMiniMap::Init();
}

BrRAGMiniMap::BrRAGMiniMap(const BrRAGMiniMap& other)
    : BrMiniMap(other),
      mfCellResolution(other.mfCellResolution),
      mfMinCellResolution(other.mfMinCellResolution),
      miExploredIconFX(other.miExploredIconFX) {}

BrRAGMiniMap& BrRAGMiniMap::operator=(const BrRAGMiniMap& other) {
  if (this == &other) return *this;
  BrMiniMap::operator=(other);
  mfCellResolution = other.mfCellResolution;
  mfMinCellResolution = other.mfMinCellResolution;
  miExploredIconFX = other.miExploredIconFX;
  mbShownValid = false;
  return *this;
}

BrRAGMiniMap::~BrRAGMiniMap() {
  if (spShownBy == this) spShownBy = nullptr;
}

void BrRAGMiniMap::Serialize(BrBin& bin) { BrMiniMap::Serialize(bin); }

bool BrRAGMiniMap::Init() {
  BrMiniMap::Init();
  miExploredIconFX = 0;
  if (BrActor* player = Player()) mCellColour = player->getHUDColour();
  return true;
}

float BrRAGMiniMap::GetMaxCellResolution() const {
  BrRAGMap* map = GridMap();
  if (!map) return 0.0f;
  const int w = 2 * map->GridWidth();
  const int h = 2 * map->GridHeight();
  return (float)(w > h ? w : h);
}

void BrRAGMiniMap::ZoomIn(float amount) {
  mfCellResolution -= amount * m_fScale;
  if (mfCellResolution < mfMinCellResolution) mfCellResolution = mfMinCellResolution;
  const float most = GetMaxCellResolution();
  if (mfCellResolution > most) mfCellResolution = most;
}

void BrRAGMiniMap::ZoomOut(float amount) {
  mfCellResolution += amount * m_fScale;
  const float most = GetMaxCellResolution();
  if (mfCellResolution > most) mfCellResolution = most;
  if (mfCellResolution < mfMinCellResolution) mfCellResolution = mfMinCellResolution;
}

bool BrRAGMiniMap::IsActorVisible(int id) {
  BrActor* player = Player();
  BrRAGMap* map = GridMap();
  if (!player || !map || !player->IsA(BrRAGPlayer::Type)) return false;
  BrGameObj* object = map->GetObjectA(id);
  if (!object || !object->IsValid() || !object->IsA(BrDemoEntity::Type)) return false;
  return static_cast<BrRAGPlayer*>(player)->CanSee(static_cast<BrDemoEntity*>(object));
}

void BrRAGMiniMap::GetActiveRegion(BrVector& min, BrVector& max) const {
  BrActor* player = Player();
  BrRAGMap* map = GridMap();
  if (!player || !map) return;
  const BrVector p = player->Location();
  const float h = map->GridScale() * mfCellResolution / 2.0f;
  min = p - BrVector(h, 0.0f, h);
  max = p + BrVector(h, 0.0f, h);
}

float BrRAGMiniMap::WorldScaleToRenderScale(float scale) {
  BrRAGMap* map = GridMap();
  if (!map || scale == 0.0f) return 0.0f;
  const float span = map->GridScale() * mfCellResolution / scale;
  return span == 0.0f ? 0.0f : 0.2f / span;
}

float BrRAGMiniMap::GetCurrentRotation(const BrVector& dir) const {
  const BrVector forward(0.0f, 0.0f, 1.0f);
  const float lengths = forward.Size() * dir.Size();
  if (lengths == 0.0f) return 0.0f;
  float cosine = (forward | dir) / lengths;
  if (cosine > 1.0f) cosine = 1.0f;
  if (cosine < -1.0f) cosine = -1.0f;
  const float a = std::acos(cosine) * 360.0f / 6.2831854820251465f;
  return dir.x > 0.0f ? 360.0f - a : a;
}

BrVector BrRAGMiniMap::GetViewDir() const {
  BrVector dir(0.0f, 0.0f, 1.0f);
  BrApplication* app = Engine().App();
  if (!app || !app->Camera()) return dir;
  dir = app->Camera()->GetCoords().Z;
  dir.y = 0.0f;
  dir.Normalise();
  return dir;
}

BrVector BrRAGMiniMap::WorldPosToRenderPos(const BrVector& position) {
  BrActor* player = Player();
  BrVector d = player ? position - player->Location() : position;
  BrVector min, max;
  GetActiveRegion(min, max);
  const float halfX = (max.x - min.x) / 2.0f;
  const float halfZ = (min.z - max.z) / 2.0f;
  BrVector r(halfX != 0.0f ? d.x / halfX : 0.0f, halfZ != 0.0f ? d.z / halfZ : 0.0f, 0.0f);
  const float degrees = GetCurrentRotation(GetViewDir());
  r.AxisAngleRotation(BrVector(0.0f, 0.0f, 1.0f), degrees / 360.0f * 6.2831855f);
  return BrVector(r.x * 0.1f + 0.9f, r.y * 0.1f + 0.1f, r.z);
}

void BrRAGMiniMap::RefreshMap() {
  BrRenderBase* render = Engine().Render();
  BrRAGMap* map = GridMap();
  if (m_iTexture == -1 || !render || !render->TextureMgr() || !map) return;
  BrTextureBase* texture = render->TextureMgr()->GetDynamic((unsigned int)m_iTexture);
  if (!texture) return;

  BrVector min, max;
  GetActiveRegion(min, max);
  const int n = (int)m_fSurfaceSize;
  Source source;
  source.map = map;
  source.cells = map->GetCell(0, 0);
  source.minX = min.x;
  source.minZ = min.z;
  source.maxX = max.x;
  source.maxZ = max.z;
  source.scale = map->GridScale();
  source.size = n;
  source.width = map->GridWidth();
  source.height = map->GridHeight();
  source.look = BrRAGCell::LookRevision();
  if (mbShownValid && spShownBy == this && source == mShownSource) return;
  const float step = (max.x - min.x) / m_fSurfaceSize;
  // A cell's column follows from x alone and its row from z alone: the cell of texel (i, j) is that of column
  // i and row j, looked up once each instead of once a texel.
  Shown& shown = mNext;
  shown.states.clear();
  shown.map = map;
  shown.width = map->GridWidth();
  shown.height = map->GridHeight();
  shown.columns.resize((size_t)(n > 0 ? n : 0));
  shown.rows.resize(shown.columns.size());
  for (int i = 0; i < n; ++i) {
    BrVector point((float)i * step + min.x, 0.0f, 0.0f);
    int x = 0, y = 0;
    map->GetCell(x, y, &point);
    shown.columns[(size_t)i] = x;
    shown.columnRow = y;
  }
  for (int j = 0; j < n; ++j) {
    BrVector point(0.0f, 0.0f, (float)j * step + min.z);
    int x = 0, y = 0;
    map->GetCell(x, y, &point);
    shown.rows[(size_t)j] = y;
  }
  for (int i = 0; i < n; ++i) {
    if (i > 0 && shown.columns[(size_t)i] == shown.columns[(size_t)i - 1]) continue;
    for (int j = 0; j < n; ++j)
      if (j == 0 || shown.rows[(size_t)j] != shown.rows[(size_t)j - 1])
        shown.states.push_back(CellState(map->GetCell(shown.columns[(size_t)i], shown.rows[(size_t)j])));
  }
  if (mbShownValid && spShownBy == this && shown == mShown) {
    mShownSource = source;
    return;
  }
  if (!texture->Access(0)) return;

  const BrARGB visible(210, 255, 255, 255);
  const BrARGB revealed(128, 255, 255, 255);
  const BrARGB empty(0, 0, 0, 0);
  BrRAGCell* previousColumn = nullptr;
  BrRAGCell* previous = nullptr;
  for (int i = 0; i < n; ++i) {
    const int x = shown.columns[(size_t)i];
    BrRAGCell* column = map->GetCell(x, shown.columnRow);
    if (previousColumn && column != previousColumn) {
      // A column on the line between two cells: drawn empty without looking any cell up.
      for (int j = 0; j < n; ++j) texture->SetTexel(i, n - 1 - j, empty);
    } else {
      for (int j = 0; j < n; ++j) {
        BrRAGCell* cell = map->GetCell(x, shown.rows[(size_t)j]);
        BrARGB colour = empty;
        if (cell && cell->IsOccupied() && cell->IsExplored() && !(previous && cell != previous) && InsideRound(i, j, n))
          colour = cell->IsVisible() ? visible : revealed;
        texture->SetTexel(i, n - 1 - j, colour);
        previous = cell;
      }
    }
    previousColumn = column;
  }
  texture->Update(0);
  std::swap(mShown, shown);
  mShownSource = source;
  mbShownValid = true;
  spShownBy = this;
}

void BrRAGMiniMap::DrawActorList(BrRenderBase* const render, float) {
  BrRAGMap* map = GridMap();
  if (!map || !render) return;
  BrVector min, max;
  GetActiveRegion(min, max);
  const BrRect region(min.x, min.z, max.x, max.z);
  const float aspect = brflow::Aspect(render);
  const float most = GetMaxCellResolution();
  const float range = most - mfMinCellResolution;
  const float t = range > 0.0f ? Clamp01((mfCellResolution - mfMinCellResolution) / range) : 0.0f;
  for (int i = 0; i < m_Actors.GetCount(); ++i) {
    BrMiniMapActor& record = m_Actors[i];
    if (record.id == -1) continue;
    BrGameObj* object = map->GetObjectA(record.id);
    if (!object || !object->IsValid() || !object->IsA(BrDemoEntity::Type)) continue;
    BrDemoEntity* entity = static_cast<BrDemoEntity*>(object);
    const BrVector location = entity->Location();
    if (!region.IntersectsCircle(BrVector(location.x, location.z, 0.0f), entity->GetDrawScale().x)) continue;
    const BrVector p = WorldPosToRenderPos(location);
    const float size = entity->GetMiniMapScale() * (1.0f + 2.0f * t);
    const float w = WorldScaleToRenderScale(size);
    brflow::Sprite(render, p.x - w / 2.0f, (p.y - w / 2.0f) * aspect, w, w * aspect, record.icon, 0.001f,
                   BrARGB(255, 255, 255, 255));
    if (entity->GetShowsOnMiniMap() && !IsActorVisible(record.id)) record.state = 1;
  }
}

void BrRAGMiniMap::RebuildSurface(BrRenderBase* const render) {
  BrTextureMgrBase* textures = render->TextureMgr();
  BrEffectorMgr* fx = render->FXMgr();
  if (!textures || !fx) return;
  auto passOf = [fx](int effector) -> BrRenderPass* {
    BrEffector** slot = effector > 0 ? fx->GetEffector((unsigned int)effector) : nullptr;
    return (slot && *slot) ? (*slot)->GetPass(0) : nullptr;
  };
  if (!passOf(m_iEffector) && passOf(miSharedEffector)) m_iEffector = miSharedEffector;
  BrRenderPass* pass = passOf(m_iEffector);
  int index = -1;
  if (pass && miSharedTexture != -1 && miSharedTexture != m_iTexture &&
      textures->GetDynamic((unsigned int)miSharedTexture, index) && index != -1) {
    m_iTexture = miSharedTexture;
    pass->m_iTexture = index;
    return;
  }
  if (pass) {
    const unsigned int size = (unsigned int)m_fSurfaceSize;
    m_iTexture = textures->CreateTexture(size, size, eResFormatARGB8888, 3);
    if (m_iTexture != -1 && textures->GetDynamic((unsigned int)m_iTexture, index) && index != -1)
      pass->m_iTexture = index;
    else
      m_iTexture = -1;
  } else {
    CreateSurface(render);
  }
  if (m_iTexture != -1) {
    miSharedTexture = m_iTexture;
    miSharedEffector = m_iEffector;
  }
}

void BrRAGMiniMap::Draw(BrRenderBase* const render, const BrVector& dir) {
  if (!render || !render->TextureMgr()) return;
  int index = -1;
  // The device dropped the texture (or there is none yet). A minimap keeps its effector and only gets a texture
  // in it, so a rebuild, or a new minimap for a new map, does not leave another "MiniMapFX" behind.
  if (m_iTexture == -1 || !render->TextureMgr()->GetDynamic((unsigned int)m_iTexture, index) || index == -1) {
    RebuildSurface(render);
    mbShownValid = false;  // a new texture holds nothing yet
  }
  RefreshMap();
  const float rotation = GetCurrentRotation(dir);
  brflow::Sprite(render, 0.8f, 0.0f, 0.2f, 0.2f * brflow::Aspect(render), (unsigned int)m_iEffector, 0.001f,
                 BrARGB(255, 255, 255, 255), rotation);
  DrawActorList(render, rotation);
}

void BrRAGMiniMap::Draw(BrRenderBase* const render) {
  if (!render) return;
  Draw(render, GetViewDir());
  const float aspect = brflow::Aspect(render);
  if (miFrameFX == 0) miFrameFX = brflow::LoadIcon(render, "Textures\\ui\\hud\\mapcell.tga", "ShaderMapCell");
  brflow::Sprite(render, 0.8f, -0.001f, 0.2f, 0.2f * aspect, (unsigned int)miFrameFX, 0.001f, mCellColour);

  BrApplication* app = Engine().App();
  BrRAGMap* map = GridMap();
  if (map && !(app && app->IsInState(BrStringT<char>("BrRAGGameStateInterlude")))) {
    brflow::FontUp(render, 3);
    brflow::Text(render, 0.94f, 0.024f, BrARGB(255, 255, 255, 255), eFontFormatCentre, "%i", (int)map->GetLevel());
    brflow::FontDown(render, 3);
  }
  if (map && map->GetExplored()) {
    if (miExploredIconFX == 0)
      miExploredIconFX = brflow::LoadIcon(render, "Textures\\ui\\hud\\explored.tga", "MapExplored");
    brflow::Sprite(render, 0.96f, 0.054f, 0.035f, 0.035f * aspect, (unsigned int)miExploredIconFX, 0.001f,
                   BrARGB(255, 255, 255, 255));
  }

  BrHUD* hud = BrHUD::GameHUD();
  BrCursor* cursor = hud ? hud->GetCursor(-1) : nullptr;
  if (cursor && render->GetWidth() > 0 && render->GetHeight() > 0) {
    const float x = cursor->CursorScreenX() / (float)render->GetWidth();
    const float y = cursor->CursorScreenY() / (float)render->GetHeight();
    brflow::FontUp(render, 2);
    if (x > 0.92f && x < 0.96f && y > 0.02f && y < 0.06f)
      brflow::Text(render, x + cursor->GetCursorWidth(), y + cursor->GetCursorHeight(), BrARGB(255, 255, 255, 255),
                   eFontFormatRight, "%s", "Level");
    brflow::FontDown(render, 2);
  }
}
