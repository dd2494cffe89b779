// RecordingRenderDevice: a rendering device without a GPU that records what the engine asks of it, for tests.
#pragma once

#include <cstdint>
#include <set>
#include <string>
#include <vector>

#include "core/BrARGB.h"
#include "core/BrCoords.h"
#include "core/BrVector.h"
#include "engine/presentation/BrEffector.h"
#include "engine/presentation/BrEffectorMgr.h"
#include "engine/presentation/BrIndexBufferBase.h"
#include "engine/presentation/BrRenderBase.h"
#include "engine/presentation/BrTextureBase.h"
#include "engine/presentation/BrTextureMgrBase.h"
#include "engine/presentation/BrVertexBufferBase.h"

// A vertex buffer in memory: Populate copies into the bytes (a range past the end is refused).
class RecordingVertexBuffer : public BrVertexBufferBase {
public:
  RecordingVertexBuffer(unsigned int sizeInBytes, unsigned long fvf);
  bool Populate(unsigned int offsetInBytes, unsigned char* data, unsigned int sizeInBytes) override;
  void Release() override { ++releases; }
  bool Access(unsigned int offset, unsigned int size, unsigned char** data, unsigned long flags) override;
  void Update() override {}

  std::vector<unsigned char> bytes;
  int populates = 0;
  int releases = 0;
  bool failPopulate = false;  // every Populate fails while set
};

// An index buffer in memory with the append-or-discard rule of the interface.
class RecordingIndexBuffer : public BrIndexBufferBase {
public:
  RecordingIndexBuffer(unsigned int sizeInBytes, eIDXFormat format);
  eLockResult Populate(unsigned char* data, unsigned int sizeInBytes, bool discard) override;
  void Release() override { ++releases; }

  // The 16-bit index at position i (for 16-bit buffers).
  uint16_t Index16(int i) const;

  std::vector<unsigned char> bytes;
  unsigned int writePos = 0;  // bytes in use
  int releases = 0;
  int discards = 0;
  bool failPopulate = false;
};

// A texture of ARGB texels in memory; Access locks it unless lockable is false.
class RecordingTexture : public BrTextureBase {
public:
  RecordingTexture(unsigned int width, unsigned int height);
  void* Access(unsigned int level) override;
  void Update(unsigned int level) override;
  // The stored texel, whatever the lock (for checks).
  uint32_t Raw(unsigned int x, unsigned int y) const { return texels[y * m_uiWidth + x]; }

  std::vector<uint32_t> texels;
  bool lockable = true;
  int accesses = 0;
  int updates = 0;
};

// Static textures by name (handle 0 is the fallback "Textures\\noshader.bmp", loaded at construction) and
// dynamic textures by handle. Every name asked for is recorded.
class RecordingTextureMgr : public BrTextureMgrBase {
public:
  RecordingTextureMgr();
  ~RecordingTextureMgr() override;

  int CachedTextureCount(eTextureType type) override;
  void UnloadCache(eTextureType type) override;
  void ReloadStatics() override {}
  void UnlinkDynamics() override;
  // The handle of the name (a new one on first load); 0 for an empty name or a name in missing.
  unsigned int Load(BrStringT<char> file) override;
  int CreateTexture(unsigned int width, unsigned int height, eResFormat format, unsigned int mipLevels) override;
  BrTextureBase* GetTexture(int handle) override;
  unsigned int GetTexture(const BrStringT<char>& file) override;
  BrTextureBase* GetDynamic(unsigned int handle) override;
  bool GetDynamic(unsigned int handle, int& index) override;
  void** GetTextureInterface(int handle, eTextureType type) override;

  std::vector<std::string> statics;         // static names by handle
  std::vector<RecordingTexture*> dynamics;  // dynamic textures by handle (null once unlinked)
  std::vector<std::string> loads;           // every name passed to Load or GetTexture(name), in order
  std::set<std::string> missing;            // names that fail to load
  bool failCreate = false;                  // CreateTexture fails while set
};

// An effector whose passes are recorded with their shader text; a text in the manager's failing set makes
// no pass (a shader that did not compile).
class RecordingEffector : public BrEffector {
public:
  explicit RecordingEffector(const std::set<std::string>* failingShaders) : m_pFailing(failingShaders) {}
  BrRenderPass* AddPass(const BrStringT<char>& shader) override;
  BrRenderPass* GetPass(int index) override;
  void Reset() override;
  bool IsProgrammable() override { return !passes.empty(); }

  std::vector<BrRenderPass> passes;
  std::vector<std::string> shaders;

private:
  const std::set<std::string>* m_pFailing;
};

// The effector manager of the recording device: registration and copies like the rendering plug-in's.
class RecordingEffectorMgr : public BrEffectorMgr {
public:
  int AddEffector(BrStringT<char>& name, BrEffector* effector) override;
  // Records the script and refuses it (-1), as the rendering plug-in does.
  int AddEffector(BrStringT<char>& name, const BrStringT<char>& script, eFXRep representation) override;
  // A copy of the named effector (a name not registered gives a copy of index 0); null while failCreate is set.
  BrEffector* CreateEffector(const BrStringT<char>& name) override;
  BrEffector* CreateEffector() override;

  // The effector of the index as the recording class; null outside the list or for a destroyed slot.
  RecordingEffector* At(unsigned int index);
  // The name table and destruction, open to tests.
  using BrEffectorMgr::DestroyEffector;
  using BrEffectorMgr::IsShaderName;

  std::set<std::string> failingShaders;  // shader texts whose pass cannot be made
  std::vector<std::string> names;        // names registered, by index
  std::vector<std::string> scripts;
  bool failCreate = false;
  int created = 0;  // effectors made by CreateEffector
};

// The recording rendering device. Install it (ScopedRenderDevice) before its Init: the sprite daemon and the
// fonts reach the device through Engine().Render() while they start. Its Init makes a recording texture and effector manager (unless the test
// installed its own), registers "ShaderDefault", "Shader3dLine", "Shader2d" and "Shader3d" at indexes 0 to 3
// and then runs the base Init (sprite daemon, fonts, lights). EndRender drains the sprite daemon.
class RecordingRenderDevice : public BrRenderBase {
public:
  // One recorded DrawPrimitive.
  struct Draw {
    bool indexed = false;
    unsigned long type = 0;
    BrVertexBufferBase* vb = nullptr;
    BrIndexBufferBase* ib = nullptr;
    unsigned int stride = 0;
    unsigned long fvf = 0;
    int numVertices = 0;
    int primitiveCount = 0;
    unsigned int baseVertex = 0;
    unsigned int startIndex = 0;
    unsigned int effector = 0;  // the current effector at the time
  };
  // One DrawSprite call as the caller made it, with what it returned.
  struct Sprite {
    float x, y, w, h;
    unsigned int effector;
    float z;
    BrARGB colour;
    float rotation;
    float uLeft, vTop, uRight, vBottom;
    bool accepted;
  };
  // One DrawTextA call (DrawTextf arrives here formatted).
  struct Text {
    float x, y;
    BrARGB colour;
    eFontFormatFlags flags;
    std::string text;
  };
  struct Line {
    BrVector from, to;
    BrARGB colour;
  };

  // width x height pixels; aspect 0 means width / height.
  RecordingRenderDevice(unsigned int width = 800, unsigned int height = 600, float aspect = 0.0f);
  // Exit, then the managers this device made.
  ~RecordingRenderDevice() override;

  bool Init() override;
  bool Exit() override;
  // Sets the view from the application's camera (when there is an application) and draws the ground grid
  // when its flag is set.
  int32_t PreRender(ePreRenderClearFlag flag) override;
  int32_t EndRender() override;
  bool InitAPI() override { return true; }
  bool ExitAPI() override { return true; }
  bool Reset() override { return true; }
  bool ToggleFullScreen(bool flip) override;
  bool SetAlpha(bool on) override;
  void SaveCurrWinPos() override {}
  bool UpdateDimensions() override { return true; }
  bool CreateVertexBuffer(BrVertexBufferBase** out, unsigned int sizeInBytes, DWORD fvf, eMemPool pool,
                          eResUsage usage) override;
  bool CreateIndexBuffer(BrIndexBufferBase** out, unsigned int sizeInBytes, eIDXFormat format, eMemPool pool) override;
  int32_t DrawPrimitive(DWORD type, BrVertexBufferBase* vb, BrIndexBufferBase* ib, unsigned int stride, DWORD fvf,
                        int numVertices, int primitiveCount, unsigned int baseVertex, unsigned int startIndex) override;
  int32_t DrawPrimitive(DWORD type, BrVertexBufferBase* vb, unsigned int stride, int primitiveCount) override;
  bool SetTexture(unsigned int texture, eTextureType type, unsigned int stage) override;
  bool SetEffector(unsigned int effector) override;
  void SetTransform(BrCoords* world) override;
  // Records the frame and fills the view record (with fov as the field of view) as the plug-in does.
  void SetView(BrCoords* camera) override;
  bool SetStream(unsigned int stream, DWORD stride, BrVertexBufferBase* vb) override { return vb != nullptr; }
  int GetCurrShader() override { return (int)m_uiCurrentEffector; }
  unsigned int GetWidth() override { return width; }
  unsigned int GetHeight() override { return height; }
  float GetAspectRatio() override;
  float& NearZ() override { return m_fNearZ; }
  float& FarZ() override { return m_fFarZ; }
  bool DrawSprite(float x, float y, float w, float h, unsigned int effector, float z, BrARGB& colour, float rotation,
                  float uLeft, float vTop, float uRight, float vBottom) override;
  bool Draw3DLine(BrVector* from, BrVector* to, BrARGB colour) override;
  void DrawTextA(float x, float y, BrARGB& colour, eFontFormatFlags flags, char* text) override;
  bool CompileShader(BrStringT<char>& source, void** shader, void** declaration) override;
  bool SetRenderStates() override { return true; }
  void SetPolyCullMode(ePolyCullMode mode) override {}
  void takeScreenshot(const BrStringT<char>& file) override;
  void NuDiffuse() override {}
  void NuDiffuseTex1() override {}
  void NuDiffuseTex1Unlit() override {}
  void NuRealDiffuseTex1Scroll(float) override {}
  void NuRealDiffuseTex1RotScale() override {}
  void NuRealDiffuseTex2() override {}
  void NuCheatEnvMapping() override {}
  void NuAlphaCheck() override {}
  void NuBumpMapping() override {}

  // Installs managers of the test's own before Init (the device then does not delete them).
  void SetTextureMgr(BrTextureMgrBase* mgr) { m_pTextureMgr = mgr; }
  void SetFXMgr(BrEffectorMgr* mgr) { m_pFXMgr = mgr; }
  // The device's own managers (null when the test installed others).
  RecordingTextureMgr* Textures() { return m_pOwnTextures; }
  RecordingEffectorMgr* Effectors() { return m_pOwnEffectors; }
  // Sets the view to a camera at position looking along +z (x right, y up), as SetView would.
  void LookFrom(const BrVector& position, float fovDegrees);
  // Forgets every record (not the managers, buffers or counters of calls made).
  void ClearRecords();
  // Sprites the caller queued successfully (accepted), in order.
  std::vector<Sprite> AcceptedSprites() const;

  // Settings.
  unsigned int width;
  unsigned int height;
  float aspect;
  float fov = 90.0f;  // the field of view SetView records
  bool failVertexBuffers = false;
  bool failIndexBuffers = false;

  // Records.
  std::vector<Draw> draws;
  std::vector<Sprite> sprites;
  std::vector<Text> texts;
  std::vector<Line> lines;
  std::vector<BrCoords> transforms;  // null frames recorded as the identity
  std::vector<BrCoords> views;
  std::vector<unsigned int> effectorsSet;
  std::vector<std::string> screenshots;
  // Every buffer made; the caller that asked owns it, so an entry is valid only while that owner keeps it.
  std::vector<RecordingVertexBuffer*> vertexBuffers;
  std::vector<RecordingIndexBuffer*> indexBuffers;
  int vertexBufferRequests = 0;
  int indexBufferRequests = 0;
  int frames = 0;  // EndRender calls
  bool alpha = false;
  int fullScreenToggles = 0;

private:
  unsigned int m_uiCurrentEffector = 0;
  RecordingTextureMgr* m_pOwnTextures = nullptr;
  RecordingEffectorMgr* m_pOwnEffectors = nullptr;
};

// Installs a device as Engine().Render() for the scope and puts the previous one back at its end.
class ScopedRenderDevice {
public:
  explicit ScopedRenderDevice(BrRenderBase* device);
  ~ScopedRenderDevice();
  ScopedRenderDevice(const ScopedRenderDevice&) = delete;
  ScopedRenderDevice& operator=(const ScopedRenderDevice&) = delete;

private:
  BrRenderBase* m_pPrevious;
};
