// BrBillboard: the quad's buffer, its effectors and the camera-facing frame it is drawn with.
#include "engine/kernel/BrBillboard.h"

#include <cstring>

#include "core/BrLogFile.h"
#include "engine/kernel/BrApplication.h"
#include "engine/kernel/BrCamera.h"
#include "engine/kernel/BrEngine.h"
#include "engine/presentation/BrEffector.h"
#include "engine/presentation/BrEffectorMgr.h"
#include "engine/presentation/BrRenderPass.h"
#include "engine/presentation/BrRenderBase.h"

BR_IMPLEMENT_CLASS(BrBillboard, BrGameObj)

BrBillboard::BrBillboard()
    : m_pVB(nullptr),
      m_uiCurrEffector(0),
      m_uiFacingEffector(0),
      m_uiEffector(0),
      m_fScaleX(0.0f),
      m_fScaleY(0.0f),
      m_uiStyle(3),
      m_pFocus(nullptr),
      m_bFreezeHorizontal(true) {
  Init();
}

BrBillboard::BrBillboard(const BrBillboard& other)
    : BrGameObj(other),
      m_pVB(nullptr),
      m_uiCurrEffector(other.m_uiCurrEffector),
      m_uiFacingEffector(other.m_uiFacingEffector),
      m_uiEffector(other.m_uiEffector),
      m_fScaleX(other.m_fScaleX),
      m_fScaleY(other.m_fScaleY),
      m_uiStyle(other.m_uiStyle),
      m_pFocus(other.m_pFocus),
      m_bFreezeHorizontal(other.m_bFreezeHorizontal) {
  Init();
}

BrBillboard& BrBillboard::operator=(const BrBillboard& other) {
  if (this == &other) return *this;
  Destroy();
  Init();
  m_uiCurrEffector = other.m_uiCurrEffector;
  m_uiFacingEffector = other.m_uiFacingEffector;
  m_uiEffector = other.m_uiEffector;
  m_fScaleX = other.m_fScaleX;
  m_fScaleY = other.m_fScaleY;
  m_uiStyle = other.m_uiStyle;
  m_pFocus = other.m_pFocus;
  m_bFreezeHorizontal = other.m_bFreezeHorizontal;
  return *this;
}

BrBillboard::~BrBillboard() { BrBillboard::Destroy(); }

void BrBillboard::Serialize(BrBin&) {}

bool BrBillboard::Init() {
  BrGameObj::Init();
  BrRenderBase* render = Engine().Render();
  if (m_pVB || !render) {
    GLog.DebugPrintf("ERROR: Calling Init() on a billboard that's already been initialised");
    return false;
  }
  static const float kCorners[6][4] = {{1, 1, 0, 0},  {-1, 1, 1, 0}, {1, -1, 0, 1},
                                       {1, -1, 0, 1}, {-1, 1, 1, 0}, {-1, -1, 1, 1}};
  BrBillboardVertex vertices[6];
  std::memset(vertices, 0, sizeof(vertices));
  for (int i = 0; i < 6; ++i) {
    vertices[i].x = kCorners[i][0];
    vertices[i].y = kCorners[i][1];
    vertices[i].diffuse = 0xFFFFFFFFu;
    vertices[i].u = kCorners[i][2];
    vertices[i].v = kCorners[i][3];
  }
  if (!render->CreateVertexBuffer(&m_pVB, sizeof(vertices), ciVertexFormat, eMemPoolManaged, eResUsageStatic) ||
      !m_pVB || !m_pVB->Populate(0, reinterpret_cast<unsigned char*>(vertices), sizeof(vertices))) {
    GLog.DebugPrintf("ERROR: Failed to initiate billboard");
    return false;
  }
  return true;
}

void BrBillboard::Destroy() {
  if (m_pVB) {
    m_pVB->Release();
    delete m_pVB;
    m_pVB = nullptr;
  }
}

BrCoords& BrBillboard::GetCoords() { return m_pFocus ? m_pFocus->GetCoords() : BrGameObj::GetCoords(); }

void BrBillboard::SetEffector(unsigned int index) {
  unsigned int count = 0;
  BrRenderBase* render = Engine().Render();
  if (render && render->FXMgr()) count = render->FXMgr()->Num();
  if (index < count) {
    m_uiCurrEffector = index;
    return;
  }
  GLog.DebugPrintf("ERROR: Invalid effector IDX passed to BrBillboard::SetEffector(%i)", int(index));
  m_uiCurrEffector = 0;
}

void BrBillboard::SetEffector(const BrStringT<char>& name, const BrStringT<char>& texture) {
  m_uiEffector = FindOrCreateEffector(name, texture);
  FaceAway();
}

void BrBillboard::SetFacingEffector(const BrStringT<char>& name, const BrStringT<char>& texture) {
  m_uiFacingEffector = FindOrCreateEffector(name, texture);
}

// Effectors are shared by name: the first billboard to ask makes it, later ones reuse it whatever their texture.
uint32_t BrBillboard::FindOrCreateEffector(const BrStringT<char>& name, const BrStringT<char>& texture) {
  BrRenderBase* render = Engine().Render();
  if (!render || !render->FXMgr() || !render->TextureMgr()) return 0;
  BrStringT<char> key(name);
  const unsigned int found = render->FXMgr()->GetEffector(key);
  if (found != 0) return found;
  BrEffector* effector = render->FXMgr()->CreateEffector(BrStringT<char>("Shader3d"));
  if (!effector) return 0;
  BrRenderPass* pass = effector->GetPass(0);
  if (pass) {
    pass->m_iTexture = int32_t(render->TextureMgr()->GetTexture(texture));
    pass->m_uiFlags = 4;
  }
  return uint32_t(render->FXMgr()->AddEffector(key, effector));
}

bool BrBillboard::ComputeFrame(const BrCoords& camera, BrCoords& world) {
  BrCoords frame = GetCoords();
  if (m_pFocus) frame.Position += m_pFocus->GetDrawOffset();
  BrVector eye = camera.Position;
  if (!(m_uiStyle & ciStyleFree)) eye.y = frame.Position.y;
  if (!(m_uiStyle & ciStyleFaceCamera)) {
    const BrVector ahead = frame.Position + frame.Z;
    eye.x = ahead.x;
    eye.z = ahead.z;
  }
  // With the eye on the billboard, or straight above or below a free one, no facing exists: the quad has no
  // direction to turn to, and a frame built anyway would hold zeros or NaNs.
  const BrVector direction = (eye - frame.Position).Unit();
  const BrVector right = (BrVector(0, 1, 0) ^ direction).Unit();
  if (direction.Size() < 0.5f || right.Size() < 0.5f) return false;
  const BrVector up = (direction ^ right).Unit();
  const float side = camera.X | (frame.Position - eye).Unit();
  const float scaleX = (side > 0.0f && !m_bFreezeHorizontal) ? -m_fScaleX : m_fScaleX;
  const BrCoords scale(BrVector(scaleX, 0, 0), BrVector(0, m_fScaleY, 0), BrVector(0, 0, 1.0f), BrVector());
  const BrCoords turned(right, up, direction, BrVector());
  world = scale * turned;
  world.Position = frame.Position;
  return true;
}

BrCoords BrBillboard::ComputeFrame(const BrCoords& camera) {
  BrCoords world(BrVector(), BrVector(), BrVector(), GetCoords().Position);
  ComputeFrame(camera, world);
  return world;
}

void BrBillboard::Draw(BrRenderBase* render) {
  if (!render) return;
  if (!m_pVB) Init();
  BrApplication* app = Engine().App();
  if (!app || !m_pVB) return;
  BrBBCache record;
  record.m_pVB = m_pVB;
  record.m_uiEffector = m_uiCurrEffector;
  if (!ComputeFrame(app->Camera()->GetCoords(), record.m_Coords)) return;
  render->drawBillboard(record);
}
