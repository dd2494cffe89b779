// BrMiniMap: the actor list and the minimap's drawing surface.
#include "engine/presentation/BrMiniMap.h"

#include "core/BrLogFile.h"
#include "engine/kernel/BrApplication.h"
#include "engine/kernel/BrDemoEntity.h"
#include "engine/kernel/BrEngine.h"
#include "engine/kernel/BrMap.h"
#include "engine/presentation/BrEffectorMgr.h"
#include "engine/presentation/BrRenderBase.h"

BR_IMPLEMENT_CLASS(BrMiniMap, BrObject)

BrMiniMap::BrMiniMap() : m_iTexture(-1), m_iEffector(0), m_fSurfaceSize(128.0f), m_fScale(40.0f) {}

BrMiniMap::BrMiniMap(const BrMiniMap& other)
    : BrObject(other),
      m_iTexture(other.m_iTexture),
      m_iEffector(other.m_iEffector),
      m_fSurfaceSize(other.m_fSurfaceSize),
      m_fScale(other.m_fScale),
      m_Actors(other.m_Actors) {}

BrMiniMap& BrMiniMap::operator=(const BrMiniMap& other) {
  if (this == &other) return *this;
  BrObject::operator=(other);
  m_iTexture = other.m_iTexture;
  m_iEffector = other.m_iEffector;
  m_fSurfaceSize = other.m_fSurfaceSize;
  m_fScale = other.m_fScale;
  m_Actors = other.m_Actors;
  return *this;
}

BrMiniMap::~BrMiniMap() {}

void BrMiniMap::Serialize(BrBin& bin) { BrObject::Serialize(bin); }

bool BrMiniMap::Init() {
  m_Actors.Clear();
  return true;
}

void BrMiniMap::Destroy() { m_Actors.Clear(); }

void BrMiniMap::Draw(BrRenderBase* const) {}
void BrMiniMap::ZoomIn(float) {}
void BrMiniMap::ZoomOut(float) {}
bool BrMiniMap::IsActorVisible(int) { return false; }
void BrMiniMap::RefreshMap() {}
void BrMiniMap::GetActiveRegion(BrVector&, BrVector&) const {}
void BrMiniMap::DrawActorList(BrRenderBase* const, float) {}
float BrMiniMap::WorldScaleToRenderScale(float scale) { return scale; }
BrVector BrMiniMap::WorldPosToRenderPos(const BrVector& position) { return position; }

const BrMiniMapActor* BrMiniMap::GetActorRecord(int i) const {
  if (i < 0 || i >= m_Actors.GetCount()) return nullptr;
  return &m_Actors[i];
}

bool BrMiniMap::CreateSurface(BrRenderBase* const render) {
  if (!render) return false;
  BrTextureMgrBase* textures = render->TextureMgr();
  BrEffectorMgr* fx = render->FXMgr();
  if (!textures || !fx) return false;
  const unsigned int size = (unsigned int)m_fSurfaceSize;
  m_iTexture = textures->CreateTexture(size, size, eResFormatARGB8888, 3);
  if (m_iTexture == -1) return false;

  BrEffector* effector = fx->CreateEffector(BrStringT<char>("Shader2d"));
  if (!effector) {
    m_iTexture = -1;
    return false;
  }
  int index = -1;
  if (!textures->GetDynamic((unsigned int)m_iTexture, index) || index <= -1) {
    GLog.WriteLine("ERROR: Failed to create dynamic texture for minimap");
    // The copy was never registered, so nobody else would free it; the lost texture is of no further use.
    delete effector;
    m_iTexture = -1;
    return false;
  }
  BrRenderPass* pass = effector->GetPass(0);
  if (!pass) {
    delete effector;
    m_iTexture = -1;
    return false;
  }
  pass->m_iTexture = index;
  pass->m_uiFlags = eRenderPassDynamic | eRenderPassAlpha;
  BrStringT<char> name("MiniMapFX");
  m_iEffector = fx->AddEffector(name, effector);
  return true;
}

void BrMiniMap::AddActor(int id, unsigned int icon) {
  // -1 marks a free record; it names no actor.
  if (id == -1) return;
  for (int i = 0; i < m_Actors.GetCount(); ++i) {
    BrMiniMapActor& record = m_Actors[i];
    if (record.id != id) continue;
    if (record.state != 2) {
      BrApplication* app = Engine().App();
      BrMap* map = app ? app->Map() : nullptr;
      BrGameObj* object = map ? map->GetObjectA(id) : nullptr;
      BrDemoEntity* entity =
          (object && object->IsValid()) ? static_cast<BrDemoEntity*>(object->SafeCast(&BrDemoEntity::Type)) : nullptr;
      if (entity) entity->MiniMapReveal();
    }
    record.state = 2;
    record.icon = icon;
    return;
  }
  for (int i = 0; i < m_Actors.GetCount(); ++i) {
    if (m_Actors[i].id == -1) {
      m_Actors[i].id = id;
      m_Actors[i].icon = icon;
      m_Actors[i].state = 1;
      return;
    }
  }
  BrMiniMapActor record;
  record.id = id;
  record.icon = icon;
  record.state = 1;
  m_Actors.Add(record);
}

void BrMiniMap::RemoveActor(int id) {
  for (int i = 0; i < m_Actors.GetCount(); ++i) {
    if (m_Actors[i].id == id) {
      m_Actors[i].id = -1;
      return;
    }
  }
}
