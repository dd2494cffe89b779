// BrSpriteDaemon: the frame's sprites in one vertex and one index buffer, drawn in batches of one effector.
#include "engine/presentation/BrSpriteDaemon.h"

#include <cstring>

#include "core/brcr.h"
#include "engine/kernel/BrEngine.h"
#include "engine/presentation/BrIndexBufferBase.h"
#include "engine/presentation/BrRenderBase.h"
#include "engine/presentation/BrVertexBufferBase.h"

BrSpriteDaemon::BrSpriteDaemon()
    : m_pVB(nullptr), m_pIB(nullptr), m_iCapacity(1024), m_iQueued(0), m_iBatches(0), m_bSetUpFailed(false) {}

BrSpriteDaemon::~BrSpriteDaemon() { Destroy(); }

bool BrSpriteDaemon::Init() {
  Destroy();
  BrRenderBase* render = Engine().Render();
  if (render) {
    render->CreateVertexBuffer(&m_pVB, (unsigned int)(m_iCapacity * ciSpriteBytes), ciFVF, eMemPoolManaged,
                               eResUsageStatic);
    render->CreateIndexBuffer(&m_pIB, (unsigned int)(m_iCapacity * ciIndexBytes), eIDXFormat16, eMemPoolDevice);
  }

  m_Quad.Clear();
  for (int i = 0; i < 4; ++i) {
    BrSpriteVertex v;
    v.z = 0.001f;
    v.rhw = 999.99994f;
    v.colour = 0x66FFFFFFu;
    m_Quad.Add(v);
  }
  m_Quad[0].u = 0.001f;
  m_Quad[0].v = 0.001f;
  m_Quad[1].u = 0.999f;
  m_Quad[1].v = 0.001f;
  m_Quad[2].u = 0.999f;
  m_Quad[2].v = 0.999f;
  m_Quad[3].u = 0.001f;
  m_Quad[3].v = 0.999f;
  m_Indices.Clear();
  for (int i = 0; i < 6; ++i) m_Indices.Add(0);

  m_OpenBatch = SPRITEBATCH();
  m_OpenBatch.count = 0;
  m_iQueued = 0;
  m_iBatches = 0;

  m_bSetUpFailed = !m_pVB || !m_pIB;
  if (m_bSetUpFailed) GLog.WriteLine("WARNING: Failed to create the sprite buffers");
  return !m_bSetUpFailed;
}

bool BrSpriteDaemon::QueueSprite(float x, float y, float w, float h, unsigned int effector, float z, BrARGB& colour,
                                 float rotation, float uLeft, float vTop, float uRight, float vBottom) {
  if (!m_pVB || !m_pIB) {
    // A set-up that failed this frame is not retried for every sprite of it; DrawAll allows one more try.
    if (m_bSetUpFailed) return false;
    if (!Init()) return false;
  }
  if (m_iQueued == m_iCapacity) {
    GLog.printf("ERROR: Max queue size of %i was exceeded in BrSpriteDaemon. Plz increase initial size.", m_iCapacity);
    return false;
  }
  // An effector outside the range would reach the device's effector list unchecked: the sprite is dropped
  // before anything is written for it.
  const int32_t fx = (int32_t)effector;
  if (fx < 0 || fx > ciMaxEffector) {
    GLog.WriteLine("ERROR: Sprite Mgr batching invalid effector");
    return false;
  }

  BrRenderBase* render = Engine().Render();
  const float W = render ? (float)render->GetWidth() : 0.0f;
  const float H = render ? (float)render->GetHeight() : 0.0f;
  const float left = x * W, right = (x + w) * W, top = y * H, bottom = (y + h) * H;
  BrVector corners[4] = {BrVector(left, top, 0.0f), BrVector(right, top, 0.0f), BrVector(right, bottom, 0.0f),
                         BrVector(left, bottom, 0.0f)};
  if (rotation != 0.0f) {
    const BrVector centre(left + W * w / 2.0f, top + H * h / 2.0f, 0.0f);
    const double radians = rotation / 360.0 * 6.2831854820251465;
    for (int i = 0; i < 4; ++i) {
      BrVector c = corners[i] - centre;
      c.AxisAngleRotation(BrVector(0.0f, 0.0f, 1.0f), radians);
      corners[i] = c + centre;
    }
  }
  const float us[4] = {uLeft, uRight, uRight, uLeft};
  const float vs[4] = {vTop, vTop, vBottom, vBottom};
  const uint32_t argb = colour.GetDWORD();
  // The four corners share one rhw, so its value only has to be finite and positive: text is drawn at depth
  // 0, where 1 / z was infinite and the quad vanished. Depths at or below 0.001 take the rhw of 0.001.
  const float rhw = z > 0.001f ? 1.0f / z : 1000.0f;
  for (int i = 0; i < 4; ++i) {
    BrSpriteVertex& v = m_Quad[i];
    v.x = corners[i].x;
    v.y = corners[i].y;
    v.z = z;
    v.rhw = rhw;
    v.colour = argb;
    v.u = us[i];
    v.v = vs[i];
  }

  // Seven 4-byte fields a vertex, packed in the order the vertex format reads them; the copies are fixed-size,
  // so they compile to plain moves (a sprite is queued for every glyph of every text each frame).
  unsigned char bytes[ciSpriteBytes];
  for (int i = 0; i < 4; ++i) {
    const BrSpriteVertex& v = m_Quad[i];
    unsigned char* out = bytes + i * ciVertexSize;
    std::memcpy(out + 0, &v.x, 4);
    std::memcpy(out + 4, &v.y, 4);
    std::memcpy(out + 8, &v.z, 4);
    std::memcpy(out + 12, &v.rhw, 4);
    std::memcpy(out + 16, &v.colour, 4);
    std::memcpy(out + 20, &v.u, 4);
    std::memcpy(out + 24, &v.v, 4);
  }
  if (!m_pVB->Populate((unsigned int)(m_iQueued * ciSpriteBytes), bytes, ciSpriteBytes)) {
    GLog.WriteLine("WARNING: Failed to initiate sprite vertices");
    return false;
  }

  const uint16_t base = (uint16_t)(4 * m_iQueued);
  m_Indices[0] = (uint16_t)(base + 3);
  m_Indices[1] = base;
  m_Indices[2] = (uint16_t)(base + 1);
  m_Indices[3] = (uint16_t)(base + 3);
  m_Indices[4] = (uint16_t)(base + 1);
  m_Indices[5] = (uint16_t)(base + 2);
  unsigned char ibytes[ciIndexBytes];
  for (int i = 0; i < 6; ++i) std::memcpy(ibytes + 2 * i, &m_Indices[i], 2);
  if (m_pIB->Populate(ibytes, ciIndexBytes, m_iQueued == 0) == eLockFailed) {
    GLog.WriteLine("WARNING: Failed to initiate sprite indices");
    return false;
  }

  if (fx == m_OpenBatch.effector) {
    ++m_OpenBatch.count;
  } else {
    if (m_OpenBatch.effector != -1) AddBatch(m_OpenBatch);
    m_OpenBatch.count = 1;
    m_OpenBatch.effector = fx;
    m_OpenBatch.start = m_iQueued;
  }
  ++m_iQueued;
  return true;
}

void BrSpriteDaemon::AddBatch(const SPRITEBATCH& batch) {
  if (m_iBatches < m_Batches.GetCount())
    m_Batches[m_iBatches] = batch;
  else
    m_Batches.Add(batch);
  ++m_iBatches;
}

void BrSpriteDaemon::DrawAll(BrRenderBase* device) {
  if (m_OpenBatch.effector != -1) AddBatch(m_OpenBatch);
  if (device && m_pVB && m_pIB) {
    int total = 0;
    for (int i = 0; i < m_iBatches; ++i) {
      const SPRITEBATCH& b = m_Batches[i];
      total += 4 * b.count;
      device->SetEffector((unsigned int)b.effector);
      device->DrawPrimitive(4, m_pVB, m_pIB, ciVertexSize, ciFVF, total, 2 * b.count, 0, (unsigned int)(6 * b.start));
    }
  }
  m_OpenBatch = SPRITEBATCH();
  m_OpenBatch.count = 0;
  m_iQueued = 0;
  m_iBatches = 0;
  m_bSetUpFailed = false;
}

void BrSpriteDaemon::Destroy() {
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
  m_Quad.Clear();
  m_Indices.Clear();
  m_Batches.Clear();
}
