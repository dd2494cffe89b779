// BrD3DRenDev: construction, start-up and shut-down, dependants around a reset, fixed states and dimensions.
#include "plugins/render_d3d9/BrD3DRenDev.h"

#include <cstring>
#include <new>

#include "core/brcr.h"
#include "engine/kernel/BrApplication.h"
#include "engine/kernel/BrConfigCache.h"
#include "engine/kernel/BrEngine.h"
#include "engine/kernel/BrW32WindowMgr.h"
#include "engine/presentation/BrEffectorMgr.h"
#include "engine/presentation/BrFontMgr.h"
#include "engine/presentation/BrSpriteDaemon.h"
#include "platform/win32/win32.h"
#include "plugins/render_d3d9/BrD3DEffectorMgr.h"
#include "plugins/render_d3d9/BrD3DTextureMgr.h"

BrD3DRenDev::BrD3DRenDev()
    : m_iCurrEffector(-1),
      m_iCurrTexture(-1),
      m_iCurrTextureType(1),
      m_Adapters(nullptr),
      m_uiNumAdapters(1),
      m_pD3D(nullptr),
      m_pd3dDevice(nullptr),
      m_iSelectedAdapter(-1),
      m_pLineVB(nullptr),
      m_iMinFilter(0),
      m_iMagFilter(0),
      m_iMipFilter(0),
      m_uiSimultaneousTextures(0),
      m_uiBlendStages(0),
      m_uiTexCoordSets(0),
      m_uiVertexStreams(0),
      m_bNonPow2Textures(false),
      m_uiActiveLights(0),
      m_bBlackBackPending(true) {
  std::memset(&m_d3dpp, 0, sizeof(m_d3dpp));
  std::memset(&m_d3dsdBackBuffer, 0, sizeof(m_d3dsdBackBuffer));
  // The records are large (256 modes a device): they live on the heap, cleared.
  m_Adapters = new D3DAdapterInfo[ciMaxAdapters];
  std::memset(m_Adapters, 0, sizeof(D3DAdapterInfo) * ciMaxAdapters);
}

BrD3DRenDev::~BrD3DRenDev() {
  Exit();
  // The line buffer object outlives ExitAPI (only its Direct3D buffer goes there).
  delete m_pLineVB;
  m_pLineVB = nullptr;
  for (BrNuScene& scene : m_NuScenes) {
    delete scene.vb;
    scene = BrNuScene();
  }
  delete[] m_Adapters;
  m_Adapters = nullptr;
}

bool BrD3DRenDev::Init() {
  if (!InitAPI() || !Reset()) {
    GLog.WriteLine("Failed to initialise Rendering device, specifying -safe mode restart in config file");
    if (BrConfigCache* config = Engine().GetConfig()) config->SetInteger("Engine", "Safe", 1);
    return false;
  }
  if (!m_pTextureMgr) m_pTextureMgr = new BrD3DTextureMgr();
  if (!m_pFXMgr) m_pFXMgr = new BrD3DEffectorMgr();

  if (!CreateDefaultShaders()) {
    GLog.DebugWriteLine("ERROR: Failed to create default shaders");
    Engine().Exit();
    return false;
  }
  // The base makes the sprite daemon, fonts and lights; a default font that cannot be made fails the start.
  bool baseOk = BrRenderBase::Init();
  CreateVertexBuffer(&m_pLineVB, ciMaxLinesADraw * 32, 0x42, eMemPoolManaged, eResUsageStatic);
  return baseOk;
}

bool BrD3DRenDev::Exit() {
  GLog.WriteLine("\nRendering device requesting exit");
  if (m_bExiting) return false;
  m_bExiting = true;

  if (!ExitAPI()) {
    GLog.WriteLine("WARNING: Rendering device exited with leaked resources");
    return false;
  }
  delete m_pTextureMgr;
  m_pTextureMgr = nullptr;
  delete m_pFXMgr;
  m_pFXMgr = nullptr;

  if (m_ShaderTexts.GetCount() > 0 || m_Shaders.GetCount() > 0 || m_Declarations.GetCount() > 0) {
    for (int i = 0; i < m_Shaders.GetCount(); ++i) brD3DReleaseAll(m_Shaders[i]);
    for (int i = 0; i < m_Declarations.GetCount(); ++i) brD3DReleaseAll(m_Declarations[i]);
    m_Shaders.Clear();
    m_ShaderTexts.Clear();
    m_Declarations.Clear();
    GLog.DebugWriteLine("Cached shader binaries safely released");
  }
  BrRenderBase::Exit();
  GLog.WriteLine("Rendering device and resources safely released");
  return true;
}

bool BrD3DRenDev::InitAPI() {
  if (m_pD3D) {
    GLog.DebugWriteLine("WARNING: Direct3D9 object already created, leaving BrD3DRenDev::InitAPI()");
    return false;
  }
  m_pD3D = Direct3DCreate9(D3D_SDK_VERSION);
  if (!m_pD3D) {
    GLog.DebugWriteLine("WARNING: Critical error during BrD3DRenDev::InitAPI()");
    return false;
  }
  int fullScreen = 0;
  if (BrConfigCache* config = Engine().GetConfig()) config->GetInteger("Display", "StartFullScreen", fullScreen);
  Windowed() = (fullScreen == 0);
  if (EnumAndCaps()) return true;
  GLog.DebugWriteLine("WARNING: Critical error during BrD3DRenDev::InitAPI()");
  return false;
}

bool BrD3DRenDev::ExitAPI() {
  if (m_pd3dDevice) {
    for (unsigned int i = 0; i < m_uiBlendStages; ++i) m_pd3dDevice->SetTexture(i, nullptr);
    for (unsigned int i = 0; i < m_uiVertexStreams; ++i) m_pd3dDevice->SetStreamSource(i, nullptr, 0, 0);
  }
  if (m_pLineVB) m_pLineVB->Release();
  for (BrNuScene& scene : m_NuScenes)
    if (scene.vb) scene.vb->Release();
  // Buffers still held by the base's daemons are given up before the device they came from.
  if (m_pSpriteDaemon) m_pSpriteDaemon->Destroy();
  brD3DReleaseAll(m_pd3dDevice);
  brD3DReleaseAll(m_pD3D);
  return true;
}

void BrD3DRenDev::ShowOSCursor() {
  // The window manager owns the cursor's show count; a second owner here made the count drift with every
  // toggle. Without the engine's own window manager there is no cursor to show.
  BrApplication* app = Engine().App();
  if (auto* osgui = dynamic_cast<BrW32WindowMgr*>(Engine().OSGUI())) osgui->ShowOSCursor(app && app->GetUseOSCursor());
}

void BrD3DRenDev::PlaceWindow() {
  BrWindowBase* osgui = Engine().OSGUI();
  if (!osgui) return;
  if (Windowed()) {
    osgui->SetPosition(ParentHandle(), nullptr);
  } else {
    RECT rect = GetClientArea();
    AdjustWindowRect(&rect, WindowStyle(), TRUE);
    osgui->SetPosition(ParentHandle(), &rect);
  }
}

bool BrD3DRenDev::RefreshRes() {
  IDirect3DSurface9* back = nullptr;
  if (!m_pd3dDevice || FAILED(m_pd3dDevice->GetBackBuffer(0, 0, D3DBACKBUFFER_TYPE_MONO, &back)) || !back) {
    GLog.WriteLine("WARNING: Failed to refresh resolution");
    return false;
  }
  back->GetDesc(&m_d3dsdBackBuffer);
  brD3DReleaseAll(back);
  return true;
}

bool BrD3DRenDev::ReleaseDependants() {
  m_iCurrTexture = -1;
  m_iCurrTextureType = 1;
  // A reset returns every Direct3D state to its default: what the caches remember would no longer be true.
  EmptyStateCaches();
  // Static textures live in the managed pool and survive a reset as they are: reading their files again
  // only made every resize and Alt+Enter slow. Dynamic ones are made again by their owners.
  if (m_pTextureMgr) m_pTextureMgr->UnlinkDynamics();
  if (m_pSpriteDaemon) m_pSpriteDaemon->Destroy();
  if (m_pFontMgr) m_pFontMgr->Destroy();
  return true;
}

bool BrD3DRenDev::CreateDependants() {
  if (m_pSpriteDaemon) m_pSpriteDaemon->Init();
  if (m_pFontMgr) m_pFontMgr->Init();
  return true;
}

bool BrD3DRenDev::SetRenderStates() {
  if (!m_pd3dDevice) return true;
  SetRenderState(D3DRS_CULLMODE, D3DCULL_CCW);
  SetRenderState(D3DRS_LIGHTING, FALSE);
  if (UsingZBuffer()) SetRenderState(D3DRS_ZENABLE, D3DZB_TRUE);
  if (UsingWBuffer()) SetRenderState(D3DRS_ZENABLE, D3DZB_USEW);

  const float bias = -1.0f;
  DWORD biasBits = 0;
  std::memcpy(&biasBits, &bias, sizeof(biasBits));
  bool ok = true;
  for (DWORD s = 0; s < 2; ++s) {
    if (m_iMagFilter && FAILED(m_pd3dDevice->SetSamplerState(s, D3DSAMP_MAGFILTER, D3DTEXF_LINEAR))) ok = false;
    if (m_iMinFilter && FAILED(m_pd3dDevice->SetSamplerState(s, D3DSAMP_MINFILTER, D3DTEXF_LINEAR))) ok = false;
    if (m_iMipFilter && FAILED(m_pd3dDevice->SetSamplerState(s, D3DSAMP_MIPFILTER, D3DTEXF_LINEAR))) ok = false;
    if (FAILED(m_pd3dDevice->SetSamplerState(s, D3DSAMP_MIPMAPLODBIAS, biasBits))) ok = false;
  }
  if (!ok) {
    GLog.DebugWriteLine("WARNING: Could not set all render states as required by renderer");
    return false;
  }
  return true;
}

bool BrD3DRenDev::SetAlpha(bool) {
  SetRenderState(D3DRS_ALPHABLENDENABLE, TRUE);
  SetRenderState(D3DRS_SRCBLEND, D3DBLEND_SRCALPHA);
  SetRenderState(D3DRS_DESTBLEND, D3DBLEND_INVSRCALPHA);
  SetRenderState(D3DRS_ALPHATESTENABLE, TRUE);
  SetRenderState(D3DRS_ALPHAREF, 1);
  SetRenderState(D3DRS_ALPHAFUNC, D3DCMP_GREATEREQUAL);
  return true;
}

void BrD3DRenDev::SetPolyCullMode(ePolyCullMode mode) {
  if (mode == ePolyCullNone)
    SetRenderState(D3DRS_CULLMODE, D3DCULL_NONE);
  else if (mode == ePolyCullCCW)
    SetRenderState(D3DRS_CULLMODE, D3DCULL_CCW);
  else
    GLog.DebugWriteLine("ERROR: Invalid poly cull mode");
}

bool BrD3DRenDev::SetEffector(unsigned int id) {
  if (m_pFXMgr) {
    BrEffector** slot = m_pFXMgr->GetEffector(id);
    if (slot && *slot) (*slot)->IsProgrammable();
  }
  m_iCurrEffector = (int)id;
  return false;
}

unsigned int BrD3DRenDev::GetWidth() {
  if (Windowed()) {
    RECT r = GetClientArea();
    return (unsigned int)(r.right - r.left);
  }
  return m_d3dsdBackBuffer.Width;
}

unsigned int BrD3DRenDev::GetHeight() {
  if (Windowed()) {
    RECT r = GetClientArea();
    return (unsigned int)(r.bottom - r.top);
  }
  return m_d3dsdBackBuffer.Height;
}

float BrD3DRenDev::GetAspectRatio() {
  const unsigned int h = GetHeight();
  // A window minimised to nothing would divide by zero; the square ratio keeps layouts finite.
  if (h == 0) return 1.0f;
  return (float)GetWidth() / (float)h;
}

void BrD3DRenDev::SaveCurrWinPos() {
  WINDOWPLACEMENT placement;
  std::memset(&placement, 0, sizeof(placement));
  placement.length = sizeof(placement);
  if (GetWindowPlacement(ParentHandle(), &placement))
    SetSavedWinPos(placement.rcNormalPosition.left, placement.rcNormalPosition.top);
}

bool BrD3DRenDev::GetDisplayMode(D3DDISPLAYMODE& out) {
  if (m_iSelectedAdapter < 0) return false;
  const D3DAdapterInfo& adapter = m_Adapters[m_iSelectedAdapter];
  const D3DDeviceInfo& device = adapter.devices[adapter.dwCurrentDevice];
  const D3DModeInfo& mode = device.modes[device.dwCurrentMode];
  out.Width = mode.Width;
  out.Height = mode.Height;
  out.RefreshRate = mode.RefreshRate;
  out.Format = mode.Format;
  return true;
}
