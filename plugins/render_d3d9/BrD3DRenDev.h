// BrD3DRenDev: the rendering device of the GfxDrv plug-in, BrRenderBase implemented on Direct3D 9.
#pragma once

#include <cstdint>

#include "engine/presentation/BrRenderBase.h"
#include "platform/d3d9/d3d9.h"
#include "templates/BrStringT.h"
#include "templates/TDArray.h"
#include "templates/TSArray.h"

// Limits of the enumeration records.
static const int ciMaxAdapters = 5;
static const int ciMaxDevices = 5;
static const int ciMaxModes = 256;
static const int ciMaxCandidateModes = 256;

// One display mode a device can run in.
struct D3DModeInfo {
  UINT Width;
  UINT Height;
  D3DFORMAT Format;
  UINT RefreshRate;              // 0: the adapter's default
  DWORD dwBehavior;              // D3DCREATE_HARDWARE_VERTEXPROCESSING or D3DCREATE_SOFTWARE_VERTEXPROCESSING
  D3DFORMAT DepthStencilFormat;  // D3DFMT_D32, D3DFMT_D24X8, D3DFMT_D16, or 0 without a depth buffer
};

// One device type of an adapter with its capabilities and modes.
struct D3DDeviceInfo {
  D3DDEVTYPE DeviceType;
  D3DCAPS9 d3dCaps;
  char strDesc[40];
  D3DModeInfo modes[ciMaxModes];
  DWORD dwNumModes;
  DWORD dwCurrentMode;
  bool bWindowed;   // the device runs (or may run) in a window
  bool bConfirmed;  // set for every enumerated device; the mode choice looks only at confirmed devices
  D3DMULTISAMPLE_TYPE MultiSampleType;  // always 0
  bool bHWTnL;
  bool bProgrammableVP;  // vertex shader 1.1 or higher
};

// One adapter: its identity, desktop mode and devices.
struct D3DAdapterInfo {
  D3DADAPTER_IDENTIFIER9 d3dAdapterIdentifier;
  D3DDISPLAYMODE d3ddmDesktop;
  DWORD dwNumDevices;
  D3DDeviceInfo devices[ciMaxDevices];
  DWORD dwCurrentDevice;
};

// The last value set per texture state type, for stages 0 and 1 (666 marks a slot never set).
struct BrTSSCacheEntry {
  DWORD stage0;
  DWORD stage1;
  D3DTEXTURESTAGESTATETYPE type;
};

// The last value set per render state.
struct BrRSCacheEntry {
  D3DRENDERSTATETYPE state;
  DWORD value;
};

// What one device test scene makes on its first call: its quad's buffer and its cached shader.
struct BrNuScene {
  BrVertexBufferBase* vb = nullptr;
  void* shader = nullptr;
  void* decl = nullptr;
  bool made = false;
  int textures[3] = {-1, -1, -1};  // ids of the scene's textures in the order it binds them, found on first use
};

// The Direct3D 9 rendering device. The engine makes it through fnGetRenderingDevice, hands it the window
// and calls Init; per frame PreRender, drawing, EndRender; at exit Exit and fnDeleteRenderingDevice. The
// device draws only through vertex shaders (constants c0-c3 view-projection, c4-c7 world, c8 (1, 1, 0, 0.5),
// c9-c11 the light), never through fixed-function transform or lighting.
class BrD3DRenDev : public BrRenderBase {
public:
  // Fields at their initial values, no Direct3D object, no device, no adapter selected.
  BrD3DRenDev();
  BrD3DRenDev(const BrD3DRenDev&) = delete;
  BrD3DRenDev& operator=(const BrD3DRenDev&) = delete;
  // Exit (nothing the second time).
  ~BrD3DRenDev() override;

  // Direct3D, the device, the texture and effector managers, the built-in effectors, the base's daemons and
  // the line buffer. On failure writes [Engine] Safe=1 and returns false.
  bool Init() override;
  // Releases the device, the managers and every cached shader, then the base's daemons. False the second time.
  bool Exit() override;
  // Clears (flag 1), uploads the view and light constants and begins the scene; BeginScene's result, or a
  // failing Clear's.
  int32_t PreRender(ePreRenderClearFlag flag) override;
  // Draws the queued sprites, ends the scene and presents; Present's result or a failing EndScene's.
  int32_t EndRender() override;
  // Creates the Direct3D object and enumerates adapters and modes; false when one exists already.
  bool InitAPI() override;
  // Unbinds textures and streams and releases the device and the Direct3D object.
  bool ExitAPI() override;
  // Creates the device for the selected adapter, device and mode (falls back to a reference device once).
  bool Reset() override;
  // toggle true switches window and full screen; the current mode is applied again either way. A failed
  // switch leaves a working windowed device and returns false.
  bool ToggleFullScreen(bool toggle) override;
  // Alpha blending (source alpha, inverse source alpha) and alpha test (>= 1), whatever the argument.
  bool SetAlpha(bool on) override;
  // Remembers the window's restored top-left corner in the base.
  void SaveCurrWinPos() override;
  // Resets the device with the present parameters as they stand, re-creating what depends on it.
  bool UpdateDimensions() override;
  // A vertex buffer of the pool and usage; false (out unchanged) when Direct3D refuses.
  bool CreateVertexBuffer(BrVertexBufferBase** out, unsigned int bytes, DWORD fvf, eMemPool pool,
                          eResUsage usage) override;
  // An index buffer of 16 or 32 bits; false when Direct3D refuses or the format is neither.
  bool CreateIndexBuffer(BrIndexBufferBase** out, unsigned int bytes, eIDXFormat format, eMemPool pool) override;
  // Indexed drawing with the first pass of the current effector: S_OK or D3DERR_INVALIDCALL.
  int32_t DrawPrimitive(DWORD type, BrVertexBufferBase* vb, BrIndexBufferBase* ib, unsigned int stride, DWORD fvf,
                        int numVertices, int primitiveCount, unsigned int baseVertex, unsigned int startIndex) override;
  // Non-indexed drawing: the current effector's passes are tried in order until one draws.
  int32_t DrawPrimitive(DWORD type, BrVertexBufferBase* vb, unsigned int stride, int primitiveCount) override;
  // Binds a static (1) or dynamic (2) texture; false when it is bound already or cannot be bound.
  bool SetTexture(unsigned int id, eTextureType type, unsigned int stage) override;
  // Records the effector used by the next draws; returns false.
  bool SetEffector(unsigned int id) override;
  // World matrix into c4-c7; null is the identity.
  void SetTransform(BrCoords* world) override;
  // View-projection into c0-c3 and the base's view record.
  void SetView(BrCoords* camera) override;
  // Binds the buffer to the stream with the stride of the vertex format.
  bool SetStream(unsigned int stream, DWORD format, BrVertexBufferBase* vb) override;
  int GetCurrShader() override { return m_iCurrEffector; }
  // The client area when windowed, the back buffer when full screen.
  unsigned int GetWidth() override;
  unsigned int GetHeight() override;
  float GetAspectRatio() override;
  float& NearZ() override { return m_fNearZ; }
  float& FarZ() override { return m_fFarZ; }
  // A world-space line through the built-in "Shader3dLine".
  bool Draw3DLine(BrVector* from, BrVector* to, BrARGB colour) override;
  // The same 24 lines in one draw.
  void Draw3DCircle(BrVector* centre, BrPlane* plane, float radius, BrARGB colour) override;
  // The shader and declaration of a vs_1_1 text, from the cache or newly made; false when it cannot be made.
  bool CompileShader(BrStringT<char>& text, void** shader, void** declaration) override;
  // Culling, lighting off, depth buffering and the sampler filters; false when a sampler cannot be set.
  bool SetRenderStates() override;
  // 1: no culling; 2: counter-clockwise culling; others are logged and change nothing.
  void SetPolyCullMode(ePolyCullMode mode) override;
  // Writes the last presented frame as a BMP file at the path.
  void takeScreenshot(const BrStringT<char>& path) override;
  // The device test scenes: one hard-wired quad each, straight on the device.
  void NuDiffuse() override;
  void NuDiffuseTex1() override;
  void NuDiffuseTex1Unlit() override;
  void NuRealDiffuseTex1Scroll(float t) override;
  void NuRealDiffuseTex1RotScale() override;
  void NuRealDiffuseTex2() override;
  void NuCheatEnvMapping() override;
  void NuAlphaCheck() override;
  void NuBumpMapping() override;

  // The Direct3D device (null before Reset and after ExitAPI); for the texture manager and the buffers.
  IDirect3DDevice9* GetDevice() const { return m_pd3dDevice; }
  // Textures the device binds at once.
  unsigned int SimultaneousTextures() const { return m_uiSimultaneousTextures; }
  // Whether the samplers filter between mip levels; without it a texture needs only its top level.
  bool UsesMipLevels() const { return m_iMipFilter != 0; }
  // A static texture replaced in its slot: when it is the one last bound, the next bind reaches Direct3D.
  void ForgetBoundTexture(int id) {
    if (id == m_iCurrTexture && m_iCurrTextureType == eTextureStatic) m_iCurrTexture = -1;
  }
  // Whether the device takes textures of any size.
  bool NonPow2Textures() const { return m_bNonPow2Textures; }
  // The selected adapter's current mode; false before enumeration has chosen one.
  bool GetDisplayMode(D3DDISPLAYMODE& out);
  // The shader cache's size (distinct texts compiled).
  int NumCachedShaders() const { return m_ShaderTexts.GetCount(); }
  // The present parameters of the swap chain as last built.
  const D3DPRESENT_PARAMETERS& PresentParams() const { return m_d3dpp; }
  // The selected adapter (-1 before a choice) and the adapter records.
  int SelectedAdapter() const { return m_iSelectedAdapter; }
  const D3DAdapterInfo& Adapter(int i) const { return m_Adapters[i]; }

protected:
  bool EnumAndCaps();
  unsigned int ConfirmFormats(D3DDeviceInfo* device, D3DAdapterInfo* adapter, int ordinal, int index,
                              TDArray<D3DFORMAT>& formats, TSArray<bool>& confirmed);
  bool DepthAndRenderFormatOK(D3DDeviceInfo* device, int ordinal, int index, D3DFORMAT depth, D3DFORMAT adapterFormat,
                              D3DFORMAT renderFormat);
  bool RefreshRes();
  bool ReleaseDependants();
  bool CreateDependants();
  // Lines of one colour, each a pair of ends, in one draw through the line buffer (ciMaxLinesADraw at most);
  // the blend and transform are set first even when nothing is drawn.
  bool DrawLineList(const BrVector* ends, int lines, BrARGB colour);
  static constexpr int ciMaxLinesADraw = 24;
  // The shader cache's declaration for a text, appended to the declaration list.
  bool CreateVertexDecl(const BrStringT<char>& text);
  // The fallback texture and the four built-in effectors.
  bool CreateDefaultShaders();
  // The cached state setters: unchanged values never reach Direct3D.
  void SetTextureStageState(int stage, D3DTEXTURESTAGESTATETYPE type, DWORD value);
  void SetRenderState(D3DRENDERSTATETYPE state, DWORD value);
  // Forgets every cached state: after a device reset Direct3D holds its defaults again.
  void EmptyStateCaches();
  // After a test scene has set stages and textures straight on the device, the caches and the remembered
  // texture no longer say what is set: the next cached set and the next bind reach the device again.
  void ForgetBoundState() {
    EmptyStateCaches();
    m_iCurrTexture = -1;
    m_iCurrTextureType = 1;
  }
  // Shows or hides the system cursor as the application asks.
  void ShowOSCursor();
  // Places the window for the current window state.
  void PlaceWindow();
  // Present parameters for the device's current mode; windowed takes the desktop format.
  void FillPresentParams(D3DDeviceInfo* device, bool resetAll, DWORD interval);
  // The back buffer size of a window: the client area it has or is about to get.
  void WindowedBackBuffer(UINT& width, UINT& height);
  // The blending, alpha test and alpha stage states every frame relies on, set straight on the device after a
  // reset has returned them to their defaults.
  void SetAlphaStates();
  // After a failed switch: back to a window at the configured window size. True when the device works.
  bool RecoverWindowed();

  int m_iCurrEffector;
  int m_iCurrTexture;
  int m_iCurrTextureType;
  D3DPRESENT_PARAMETERS m_d3dpp;
  D3DSURFACE_DESC m_d3dsdBackBuffer;
  D3DAdapterInfo* m_Adapters;  // ciMaxAdapters records
  unsigned int m_uiNumAdapters;
  IDirect3D9* m_pD3D;
  IDirect3DDevice9* m_pd3dDevice;
  int m_iSelectedAdapter;
  BrVertexBufferBase* m_pLineVB;
  TDArray<IDirect3DVertexShader9*> m_Shaders;
  TDArray<BrStringT<char>> m_ShaderTexts;
  TDArray<IDirect3DVertexDeclaration9*> m_Declarations;
  TDArray<BrTSSCacheEntry> m_TSSCache;
  TDArray<BrRSCacheEntry> m_RSCache;
  int m_iMinFilter;
  int m_iMagFilter;
  int m_iMipFilter;
  unsigned int m_uiSimultaneousTextures;
  unsigned int m_uiBlendStages;
  unsigned int m_uiTexCoordSets;
  unsigned int m_uiVertexStreams;
  bool m_bNonPow2Textures;
  unsigned int m_uiActiveLights;
  // The test scenes' quads live with the device, so a device made after this one never draws from a buffer
  // of a device that is gone.
  BrNuScene m_NuScenes[9];
  // "ShaderBlackBack" is built on this device's first frame: a device made later in the process has an
  // effector manager of its own that needs it too.
  bool m_bBlackBackPending;
};

// Text forms of the log.
const char* brD3DDevTypeName(D3DDEVTYPE type);
const char* brD3DFormatName(D3DFORMAT format);
// "-FPU_PRESERVE-", "-HW_VP-", "-MIXED_VP-", "-MULTITHREADED-", "-PURE-", "-SW_VP-" for the flags set.
BrStringT<char> brD3DBehaviourText(DWORD flags);
// Releases a Direct3D reference until it reports 0 and nulls the pointer.
template <class T>
void brD3DReleaseAll(T*& ref) {
  if (!ref) return;
  while (ref->Release() > 0) {
  }
  ref = nullptr;
}
