// RecordingRenderDevice and its resources: the rendering interface in memory, recording every request.
#include "tests/support/RecordingRenderDevice.h"

#include <cmath>
#include <cstring>

#include "engine/kernel/BrApplication.h"
#include "engine/kernel/BrCamera.h"
#include "engine/kernel/BrEngine.h"
#include "engine/kernel/BrEngineTestSeams.h"
#include "engine/presentation/BrSpriteDaemon.h"

// ----- buffers ----------------------------------------------------------------------------------------------

RecordingVertexBuffer::RecordingVertexBuffer(unsigned int sizeInBytes, unsigned long fvf)
    : BrVertexBufferBase(fvf), bytes(sizeInBytes, 0) {}

bool RecordingVertexBuffer::Populate(unsigned int offsetInBytes, unsigned char* data, unsigned int sizeInBytes) {
  ++populates;
  if (failPopulate || !data) return false;
  if ((uint64_t)offsetInBytes + sizeInBytes > bytes.size()) return false;
  std::memcpy(bytes.data() + offsetInBytes, data, sizeInBytes);
  return true;
}

bool RecordingVertexBuffer::Access(unsigned int offset, unsigned int size, unsigned char** data, unsigned long) {
  if (!data || (uint64_t)offset + size > bytes.size()) return false;
  *data = bytes.data() + offset;
  return true;
}

RecordingIndexBuffer::RecordingIndexBuffer(unsigned int sizeInBytes, eIDXFormat format) : bytes(sizeInBytes, 0) {
  SetSizeInBytes(sizeInBytes);
  SetLastIndex(-1);
  SetFormat(format);
  SetNumIndices(format == eIDXFormat32 ? sizeInBytes / 4 : sizeInBytes / 2);
}

eLockResult RecordingIndexBuffer::Populate(unsigned char* data, unsigned int sizeInBytes, bool discard) {
  if (failPopulate || !data || sizeInBytes > bytes.size()) return eLockFailed;
  const unsigned int each = GetFormat() == eIDXFormat32 ? 4 : 2;
  eLockResult result = eLockAppended;
  if (discard || (uint64_t)writePos + sizeInBytes > bytes.size()) {
    writePos = 0;
    SetLastIndex(-1);
    ++discards;
    result = eLockDiscarded;
  }
  std::memcpy(bytes.data() + writePos, data, sizeInBytes);
  writePos += sizeInBytes;
  SetLastIndex(GetLastIndex() + (int)(sizeInBytes / each));
  return result;
}

uint16_t RecordingIndexBuffer::Index16(int i) const {
  uint16_t v = 0;
  if (i >= 0 && (size_t)(2 * i + 2) <= bytes.size()) std::memcpy(&v, bytes.data() + 2 * i, 2);
  return v;
}

// ----- textures ---------------------------------------------------------------------------------------------

RecordingTexture::RecordingTexture(unsigned int w, unsigned int h) : texels((size_t)w * h, 0) {
  m_uiWidth = w;
  m_uiHeight = h;
}

void* RecordingTexture::Access(unsigned int) {
  ++accesses;
  if (!lockable || m_bLocked) return nullptr;
  m_bLocked = true;
  m_pTexels = texels.empty() ? nullptr : texels.data();
  return m_pTexels;
}

void RecordingTexture::Update(unsigned int) {
  ++updates;
  m_bLocked = false;
  m_pTexels = nullptr;
}

RecordingTextureMgr::RecordingTextureMgr() { statics.push_back("Textures\\noshader.bmp"); }

RecordingTextureMgr::~RecordingTextureMgr() { UnlinkDynamics(); }

int RecordingTextureMgr::CachedTextureCount(eTextureType type) {
  if (type == eTextureStatic) return (int)statics.size();
  if (type == eTextureDynamic) return (int)dynamics.size();
  return -1;
}

void RecordingTextureMgr::UnloadCache(eTextureType type) {
  if (type == eTextureStatic) statics.clear();
  if (type == eTextureDynamic) UnlinkDynamics();
}

void RecordingTextureMgr::UnlinkDynamics() {
  for (RecordingTexture* t : dynamics) delete t;
  dynamics.clear();
}

unsigned int RecordingTextureMgr::Load(BrStringT<char> file) {
  const std::string name = file.c_str() ? file.c_str() : "";
  loads.push_back(name);
  if (name.empty() || missing.count(name)) return 0;
  for (size_t i = 0; i < statics.size(); ++i)
    if (statics[i] == name) return (unsigned int)i;
  statics.push_back(name);
  return (unsigned int)(statics.size() - 1);
}

int RecordingTextureMgr::CreateTexture(unsigned int width, unsigned int height, eResFormat, unsigned int) {
  if (failCreate) return -1;
  dynamics.push_back(new RecordingTexture(width, height));
  return (int)dynamics.size() - 1;
}

BrTextureBase* RecordingTextureMgr::GetTexture(int) { return nullptr; }

unsigned int RecordingTextureMgr::GetTexture(const BrStringT<char>& file) { return Load(file); }

BrTextureBase* RecordingTextureMgr::GetDynamic(unsigned int handle) {
  return handle < dynamics.size() ? dynamics[handle] : nullptr;
}

bool RecordingTextureMgr::GetDynamic(unsigned int handle, int& index) {
  if (handle < dynamics.size() && dynamics[handle]) {
    index = (int)handle;
    return true;
  }
  index = -1;
  return false;
}

void** RecordingTextureMgr::GetTextureInterface(int, eTextureType) { return nullptr; }

// ----- effectors --------------------------------------------------------------------------------------------

BrRenderPass* RecordingEffector::AddPass(const BrStringT<char>& shader) {
  const std::string text = shader.c_str() ? shader.c_str() : "";
  if (m_pFailing && m_pFailing->count(text)) return nullptr;
  passes.push_back(BrRenderPass());
  shaders.push_back(text);
  return &passes.back();
}

BrRenderPass* RecordingEffector::GetPass(int index) {
  if (index < 0 || (size_t)index >= passes.size()) return nullptr;
  return &passes[(size_t)index];
}

void RecordingEffector::Reset() {
  BrEffector::Reset();
  passes.clear();
  shaders.clear();
}

int RecordingEffectorMgr::AddEffector(BrStringT<char>& name, BrEffector* effector) {
  if (!effector) return -1;
  const int index = Register(name, effector);
  names.resize((size_t)index + 1);
  names[(size_t)index] = name.c_str() ? name.c_str() : "";
  return index;
}

int RecordingEffectorMgr::AddEffector(BrStringT<char>&, const BrStringT<char>& script, eFXRep) {
  scripts.push_back(script.c_str() ? script.c_str() : "");
  return -1;
}

BrEffector* RecordingEffectorMgr::CreateEffector(const BrStringT<char>& name) {
  if (failCreate) return nullptr;
  RecordingEffector* model = At(GetEffector(name));
  RecordingEffector* copy = new RecordingEffector(&failingShaders);
  ++created;
  if (model) {
    // A model whose shader is now failing gives a copy without that pass, as a recompiling device would.
    for (size_t i = 0; i < model->passes.size(); ++i) {
      if (failingShaders.count(model->shaders[i])) continue;
      copy->passes.push_back(model->passes[i]);
      copy->shaders.push_back(model->shaders[i]);
    }
  }
  return copy;
}

BrEffector* RecordingEffectorMgr::CreateEffector() {
  if (failCreate) return nullptr;
  ++created;
  return new RecordingEffector(&failingShaders);
}

RecordingEffector* RecordingEffectorMgr::At(unsigned int index) {
  BrEffector** slot = GetEffector(index);
  return slot && *slot ? static_cast<RecordingEffector*>(*slot) : nullptr;
}

// ----- the device -------------------------------------------------------------------------------------------

RecordingRenderDevice::RecordingRenderDevice(unsigned int w, unsigned int h, float a) : width(w), height(h), aspect(a) {
  m_bWindowed = true;
}

RecordingRenderDevice::~RecordingRenderDevice() { Exit(); }

bool RecordingRenderDevice::Init() {
  if (!m_pTextureMgr) {
    m_pOwnTextures = new RecordingTextureMgr();
    m_pTextureMgr = m_pOwnTextures;
  }
  if (!m_pFXMgr) {
    m_pOwnEffectors = new RecordingEffectorMgr();
    m_pFXMgr = m_pOwnEffectors;
    // The four built-ins at 0 to 3, as the rendering plug-in makes them (3D lines and 2D screen images blend).
    const char* builtIns[4] = {"ShaderDefault", "Shader3dLine", "Shader2d", "Shader3d"};
    for (int i = 0; i < 4; ++i) {
      BrEffector* e = m_pOwnEffectors->CreateEffector();
      BrRenderPass* pass = e ? e->AddPass(BrStringT<char>(builtIns[i])) : nullptr;
      if (pass && i == 1) pass->m_uiFlags = eRenderPassAlpha;
      BrStringT<char> name(builtIns[i]);
      m_pOwnEffectors->AddEffector(name, e);
    }
  }
  return BrRenderBase::Init();
}

bool RecordingRenderDevice::Exit() {
  BrRenderBase::Exit();
  if (m_pOwnEffectors) {
    if (m_pFXMgr == m_pOwnEffectors) m_pFXMgr = nullptr;
    delete m_pOwnEffectors;
    m_pOwnEffectors = nullptr;
    // The tile effectors lived in that manager: a later Init builds them again in the new one.
    m_uiFadeTileFX = m_uiColourTileFX = 0;
    m_bFadeTileFailed = m_bColourTileFailed = false;
  }
  if (m_pOwnTextures) {
    if (m_pTextureMgr == m_pOwnTextures) m_pTextureMgr = nullptr;
    delete m_pOwnTextures;
    m_pOwnTextures = nullptr;
  }
  return true;
}

int32_t RecordingRenderDevice::PreRender(ePreRenderClearFlag) {
  // As the rendering plug-in does: the frame is seen from the application's camera.
  if (Engine().App() && Engine().App()->Camera()) {
    BrCamera* camera = Engine().App()->Camera();
    fov = camera->FOV();
    SetView(&camera->GetCoords());
  }
  if (m_bDrawGroundGrid) DrawGroundGrid(m_GroundGridColour);
  return 0;
}

int32_t RecordingRenderDevice::EndRender() {
  if (m_pSpriteDaemon) m_pSpriteDaemon->DrawAll(this);
  ++frames;
  return 0;
}

bool RecordingRenderDevice::ToggleFullScreen(bool flip) {
  ++fullScreenToggles;
  if (flip) m_bWindowed = !m_bWindowed;
  return true;
}

bool RecordingRenderDevice::SetAlpha(bool on) {
  alpha = on;
  return true;
}

bool RecordingRenderDevice::CreateVertexBuffer(BrVertexBufferBase** out, unsigned int sizeInBytes, DWORD fvf, eMemPool,
                                               eResUsage) {
  ++vertexBufferRequests;
  if (!out || failVertexBuffers) return false;
  RecordingVertexBuffer* vb = new RecordingVertexBuffer(sizeInBytes, fvf);
  vertexBuffers.push_back(vb);
  *out = vb;
  return true;
}

bool RecordingRenderDevice::CreateIndexBuffer(BrIndexBufferBase** out, unsigned int sizeInBytes, eIDXFormat format,
                                              eMemPool) {
  ++indexBufferRequests;
  if (!out || failIndexBuffers) return false;
  RecordingIndexBuffer* ib = new RecordingIndexBuffer(sizeInBytes, format);
  indexBuffers.push_back(ib);
  *out = ib;
  return true;
}

int32_t RecordingRenderDevice::DrawPrimitive(DWORD type, BrVertexBufferBase* vb, BrIndexBufferBase* ib,
                                             unsigned int stride, DWORD fvf, int numVertices, int primitiveCount,
                                             unsigned int baseVertex, unsigned int startIndex) {
  Draw d;
  d.indexed = true;
  d.type = type;
  d.vb = vb;
  d.ib = ib;
  d.stride = stride;
  d.fvf = fvf;
  d.numVertices = numVertices;
  d.primitiveCount = primitiveCount;
  d.baseVertex = baseVertex;
  d.startIndex = startIndex;
  d.effector = m_uiCurrentEffector;
  draws.push_back(d);
  return 0;
}

int32_t RecordingRenderDevice::DrawPrimitive(DWORD type, BrVertexBufferBase* vb, unsigned int stride,
                                             int primitiveCount) {
  Draw d;
  d.type = type;
  d.vb = vb;
  d.stride = stride;
  d.primitiveCount = primitiveCount;
  d.effector = m_uiCurrentEffector;
  draws.push_back(d);
  return 0;
}

bool RecordingRenderDevice::SetTexture(unsigned int, eTextureType, unsigned int) { return true; }

bool RecordingRenderDevice::SetEffector(unsigned int effector) {
  effectorsSet.push_back(effector);
  m_uiCurrentEffector = effector;
  return true;
}

void RecordingRenderDevice::SetTransform(BrCoords* world) {
  if (world)
    transforms.push_back(*world);
  else
    transforms.push_back(BrCoords(BrVector(1, 0, 0), BrVector(0, 1, 0), BrVector(0, 0, 1), BrVector(0, 0, 0)));
}

void RecordingRenderDevice::SetView(BrCoords* camera) {
  if (!camera) return;
  views.push_back(*camera);
  const float w = 2.0f * m_fNearZ * std::tan((fov / 2.0f) / 360.0f * 6.2831855f);
  const float h = width > 0 ? w * (float)height / (float)width : 0.0f;
  m_View.fNear = m_fNearZ;
  m_View.fFar = m_fFarZ;
  m_View.fFOV = fov;
  m_View.fVerticalFOV = 2.0f * std::atan((h / 2.0f) / m_fNearZ) / 6.2831854820251465f * 360.0f;
  m_View.fNearWidth = w;
  m_View.fNearHeight = h;
  m_View.Position = camera->Position;
  m_View.Axes = BrMatrix3(camera->X, camera->Y, camera->Z);
}

void RecordingRenderDevice::LookFrom(const BrVector& position, float fovDegrees) {
  fov = fovDegrees;
  BrCoords frame(BrVector(1, 0, 0), BrVector(0, 1, 0), BrVector(0, 0, 1), position);
  SetView(&frame);
}

float RecordingRenderDevice::GetAspectRatio() {
  if (aspect != 0.0f) return aspect;
  return height ? (float)width / (float)height : 1.0f;
}

bool RecordingRenderDevice::DrawSprite(float x, float y, float w, float h, unsigned int effector, float z,
                                       BrARGB& colour, float rotation, float uLeft, float vTop, float uRight,
                                       float vBottom) {
  const bool accepted =
      BrRenderBase::DrawSprite(x, y, w, h, effector, z, colour, rotation, uLeft, vTop, uRight, vBottom);
  sprites.push_back(Sprite{x, y, w, h, effector, z, colour, rotation, uLeft, vTop, uRight, vBottom, accepted});
  return accepted;
}

bool RecordingRenderDevice::Draw3DLine(BrVector* from, BrVector* to, BrARGB colour) {
  if (!from || !to) return false;
  lines.push_back(Line{*from, *to, colour});
  return true;
}

void RecordingRenderDevice::DrawTextA(float x, float y, BrARGB& colour, eFontFormatFlags flags, char* text) {
  texts.push_back(Text{x, y, colour, flags, text ? std::string(text) : std::string()});
  BrRenderBase::DrawTextA(x, y, colour, flags, text);
}

bool RecordingRenderDevice::CompileShader(BrStringT<char>&, void** shader, void** declaration) {
  if (shader) *shader = nullptr;
  if (declaration) *declaration = nullptr;
  return true;
}

void RecordingRenderDevice::takeScreenshot(const BrStringT<char>& file) {
  screenshots.push_back(file.c_str() ? file.c_str() : "");
}

void RecordingRenderDevice::ClearRecords() {
  draws.clear();
  sprites.clear();
  texts.clear();
  lines.clear();
  transforms.clear();
  views.clear();
  effectorsSet.clear();
  screenshots.clear();
}

std::vector<RecordingRenderDevice::Sprite> RecordingRenderDevice::AcceptedSprites() const {
  std::vector<Sprite> out;
  for (const Sprite& s : sprites)
    if (s.accepted) out.push_back(s);
  return out;
}

// ----- installing it ----------------------------------------------------------------------------------------

ScopedRenderDevice::ScopedRenderDevice(BrRenderBase* device) : m_pPrevious(BrEngineTestSeams::SetRender(device)) {}

ScopedRenderDevice::~ScopedRenderDevice() { BrEngineTestSeams::SetRender(m_pPrevious); }
