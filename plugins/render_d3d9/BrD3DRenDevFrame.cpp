// BrD3DRenDev: the frame: clearing, view and light constants, streams, textures, effector passes, state caches,
// lines and screenshots.
#include <cmath>
#include <cstring>
#include <typeinfo>

#include "core/brcr.h"
#include "engine/kernel/BrApplication.h"
#include "engine/kernel/BrCamera.h"
#include "engine/kernel/BrEngine.h"
#include "engine/presentation/BrEffectorMgr.h"
#include "engine/presentation/BrLightBase.h"
#include "engine/presentation/BrLightMgr.h"
#include "engine/presentation/BrSpriteDaemon.h"
#include "platform/d3dx9/d3dx9.h"
#include "plugins/render_d3d9/BrD3DEffector.h"
#include "plugins/render_d3d9/BrD3DIndexBuffer.h"
#include "plugins/render_d3d9/BrD3DRenDev.h"
#include "plugins/render_d3d9/BrD3DVertexBuffer.h"

namespace {

// The plug-in's own resource behind an engine pointer, on every draw. One of exactly the plug-in's class is
// known by its class record alone; only anything else takes the run-time walk of the class tree, which
// compares class names across libraries.
template <class T, class B>
T* ownResource(B* p) {
  if (p && typeid(*p) == typeid(T)) return static_cast<T*>(p);
  return dynamic_cast<T*>(p);
}

IDirect3DVertexBuffer9* d3dBuffer(BrVertexBufferBase* vb) {
  BrD3DVertexBuffer* d3d = ownResource<BrD3DVertexBuffer>(vb);
  return d3d ? d3d->Buffer() : nullptr;
}

}  // namespace

int32_t BrD3DRenDev::PreRender(ePreRenderClearFlag flag) {
  if (!m_pd3dDevice) return E_FAIL;
  if (m_bBlackBackPending && m_pFXMgr && m_pTextureMgr) {
    m_bBlackBackPending = false;
    BrEffector* effector = m_pFXMgr->CreateEffector(BrStringT<char>("Shader2d"));
    BrRenderPass* pass = effector ? effector->GetPass(0) : nullptr;
    if (pass) {
      pass->m_iTexture = (int32_t)m_pTextureMgr->GetTexture(BrStringT<char>("Textures\\ui\\blackback.jpg"));
      pass->m_uiFlags |= eRenderPassAlpha;
      BrStringT<char> name("ShaderBlackBack");
      m_pFXMgr->AddEffector(name, effector);
    } else {
      delete effector;
    }
  }

  if (flag == ePreRenderClearAll) {
    const DWORD flags = (UsingZBuffer() || UsingWBuffer()) ? (D3DCLEAR_TARGET | D3DCLEAR_ZBUFFER) : D3DCLEAR_TARGET;
    const HRESULT hr = m_pd3dDevice->Clear(0, nullptr, flags, 0, 1.0f, 0);
    if (FAILED(hr)) return hr;
  }

  // Without an application (a device started on its own) the view keeps the constants it had.
  if (BrApplication* app = Engine().App()) {
    if (BrCamera* camera = app->Camera()) SetView(&camera->GetCoords());
  }
  const float c8[4] = {1.0f, 1.0f, 0.0f, 0.5f};
  m_pd3dDevice->SetVertexShaderConstantF(8, c8, 1);
  if (m_pLightMgr) {
    for (int i = 0; i < m_pLightMgr->GetNumLights(); ++i) {
      BrLightBase* light = m_pLightMgr->GetLight(i);
      if (!light) continue;
      const BrVector& p = light->GetPosition();
      const float c9[4] = {p.x, p.y, p.z, 0.0f};
      const float c10[4] = {light->GetRange(), 0.0f, 0.0f, 0.0f};
      const float c11[4] = {1.0f, 1.0f, 1.0f, 0.0f};
      m_pd3dDevice->SetVertexShaderConstantF(9, c9, 1);
      m_pd3dDevice->SetVertexShaderConstantF(10, c10, 1);
      m_pd3dDevice->SetVertexShaderConstantF(11, c11, 1);
    }
  }
  SetTextureStageState(0, D3DTSS_COLORARG1, D3DTA_TEXTURE);
  SetTextureStageState(0, D3DTSS_COLORARG2, D3DTA_DIFFUSE);
  SetTextureStageState(0, D3DTSS_COLOROP, D3DTOP_MODULATE);
  const HRESULT begun = m_pd3dDevice->BeginScene();
  if (DrawGroundGrid()) BrRenderBase::DrawGroundGrid(GroundGridColour());
  return begun;
}

int32_t BrD3DRenDev::EndRender() {
  if (!m_pd3dDevice) return E_FAIL;
  if (m_pSpriteDaemon) m_pSpriteDaemon->DrawAll(this);
  const HRESULT ended = m_pd3dDevice->EndScene();
  if (FAILED(ended)) return ended;
  return m_pd3dDevice->Present(nullptr, nullptr, nullptr, nullptr);
}

void BrD3DRenDev::SetView(BrCoords* frame) {
  if (!frame) return;
  const BrVector& x = frame->X;
  const BrVector& y = frame->Y;
  const BrVector& z = frame->Z;
  const BrVector& p = frame->Position;
  D3DXMATRIX view(x.x, y.x, z.x, 0.0f, x.y, y.y, z.y, 0.0f, x.z, y.z, z.z, 0.0f, -(p.x * x.x + p.y * x.y + p.z * x.z),
                  -(p.x * y.x + p.y * y.y + p.z * y.z), -(p.x * z.x + p.y * z.y + p.z * z.z), 1.0f);

  float fov = 100.0f;
  if (BrApplication* app = Engine().App())
    if (BrCamera* camera = app->Camera()) fov = camera->FOV();
  const float nearZ = m_fNearZ;
  const float farZ = m_fFarZ;
  const float width = (float)GetWidth();
  const float height = (float)GetHeight();
  const float w = 2.0f * nearZ * std::tan((fov / 2.0f) / 360.0f * 6.2831855f);
  const float h = width > 0.0f ? w * height / width : w;
  D3DXMATRIX proj;
  proj._11 = 2.0f * nearZ / w;
  proj._22 = 2.0f * nearZ / h;
  proj._33 = farZ / (farZ - nearZ);
  proj._34 = 1.0f;
  proj._43 = -nearZ * farZ / (farZ - nearZ);

  if (!m_pd3dDevice) return;
  D3DXMATRIX viewProj;
  D3DXMatrixMultiply(&viewProj, &view, &proj);
  D3DXMatrixTranspose(&viewProj, &viewProj);
  m_pd3dDevice->SetVertexShaderConstantF(0, viewProj, 4);

  m_View.fFar = farZ;
  m_View.fNear = nearZ;
  m_View.fFOV = fov;
  m_View.fVerticalFOV = 2.0f * std::atan((h / 2.0f) / nearZ) / 6.2831854820251465f * 360.0f;
  m_View.fNearWidth = w;
  m_View.fNearHeight = h;
  m_View.Position = p;
  m_View.Axes = BrMatrix3(x, y, z);
}

void BrD3DRenDev::SetTransform(BrCoords* frame) {
  BrCoords identity(BrVector(1, 0, 0), BrVector(0, 1, 0), BrVector(0, 0, 1), BrVector(0, 0, 0));
  const BrCoords& f = frame ? *frame : identity;
  D3DXMATRIX world(f.X.x, f.X.y, f.X.z, 0.0f, f.Y.x, f.Y.y, f.Y.z, 0.0f, f.Z.x, f.Z.y, f.Z.z, 0.0f, f.Position.x,
                   f.Position.y, f.Position.z, 1.0f);
  if (!m_pd3dDevice) return;
  D3DXMatrixTranspose(&world, &world);
  m_pd3dDevice->SetVertexShaderConstantF(4, world, 4);
}

bool BrD3DRenDev::SetStream(unsigned int stream, DWORD format, BrVertexBufferBase* vb) {
  unsigned int stride = 0;
  if (format & 0x40) stride += 4;
  if (format & 0x100) stride += 8;
  if (format & 0x200) stride += 8;
  if (format & 0x10) stride += 12;
  if (format & 0x2) stride += 12;
  if (format & 0x4) stride += 16;
  if (!vb) {
    GLog.DebugPrintf("ERROR: Attempted to bind NULL vertex buffer to stream %i", (int)stream);
    return false;
  }
  if (!m_pd3dDevice || FAILED(m_pd3dDevice->SetStreamSource(stream, d3dBuffer(vb), 0, stride))) {
    GLog.DebugWriteLine("ERROR: Failure during iGfxDrv9->SetStreamSource(...)");
    return false;
  }
  return true;
}

int32_t BrD3DRenDev::DrawPrimitive(DWORD type, BrVertexBufferBase* vb, unsigned int stride, int primitiveCount) {
  if (!m_pd3dDevice || !m_pFXMgr || m_iCurrEffector < 0) return E_FAIL;
  BrEffector** slot = m_pFXMgr->GetEffector((unsigned int)m_iCurrEffector);
  BrD3DEffector* effector = slot ? ownResource<BrD3DEffector>(*slot) : nullptr;
  if (!effector || effector->NumPasses() == 0) return E_FAIL;
  for (int n = 0; n < effector->NumPasses(); ++n) {
    BrD3DRenderPass* pass = static_cast<BrD3DRenderPass*>(effector->GetPass(n));
    if (!pass) continue;
    SetAlpha((pass->m_uiFlags & eRenderPassAlpha) != 0);
    if (pass->m_uiFlags != 0) {
      SetTextureStageState(n, D3DTSS_ALPHAOP, D3DTOP_MODULATE);
      SetTextureStageState(n, D3DTSS_ALPHAARG1, D3DTA_DIFFUSE);
      SetTextureStageState(n, D3DTSS_ALPHAARG2, D3DTA_TEXTURE);
    }
    SetTexture((unsigned int)pass->m_iTexture,
               (pass->m_uiFlags & eRenderPassDynamic) ? eTextureDynamic : eTextureStatic, 0);
    m_pd3dDevice->SetVertexDeclaration(pass->m_pDecl);
    m_pd3dDevice->SetStreamSource(0, d3dBuffer(vb), 0, stride);
    m_pd3dDevice->SetVertexShader(pass->m_pShader);
    if (SUCCEEDED(m_pd3dDevice->DrawPrimitive((D3DPRIMITIVETYPE)type, 0, (UINT)primitiveCount))) return S_OK;
  }
  return E_FAIL;
}

int32_t BrD3DRenDev::DrawPrimitive(DWORD type, BrVertexBufferBase* vb, BrIndexBufferBase* ib, unsigned int stride,
                                   DWORD, int numVertices, int primitiveCount, unsigned int baseVertex,
                                   unsigned int startIndex) {
  if (!m_pd3dDevice) return E_FAIL;
  BrD3DIndexBuffer* d3dIB = ownResource<BrD3DIndexBuffer>(ib);
  m_pd3dDevice->SetIndices(d3dIB ? d3dIB->Buffer() : nullptr);
  if (!m_pFXMgr || m_iCurrEffector < 0) return E_FAIL;
  BrEffector** slot = m_pFXMgr->GetEffector((unsigned int)m_iCurrEffector);
  BrD3DEffector* effector = slot ? ownResource<BrD3DEffector>(*slot) : nullptr;
  if (!effector || effector->NumPasses() == 0) return E_FAIL;
  BrD3DRenderPass* pass = nullptr;
  int n = 0;
  for (; n < effector->NumPasses() && !pass; ++n) pass = static_cast<BrD3DRenderPass*>(effector->GetPass(n));
  if (!pass) return E_FAIL;
  --n;

  SetAlpha((pass->m_uiFlags & eRenderPassAlpha) != 0);
  if (pass->m_uiFlags != 0) {
    SetTextureStageState(n, D3DTSS_ALPHAOP, D3DTOP_MODULATE);
    SetTextureStageState(n, D3DTSS_ALPHAARG1, D3DTA_DIFFUSE);
    SetTextureStageState(n, D3DTSS_ALPHAARG2, D3DTA_TEXTURE);
  }
  SetTexture((unsigned int)pass->m_iTexture, (pass->m_uiFlags & eRenderPassDynamic) ? eTextureDynamic : eTextureStatic,
             0);
  if (pass->m_uiFlags & eRenderPassMultiplyAdd) {
    SetTextureStageState(1, D3DTSS_COLOROP, D3DTOP_MULTIPLYADD);
    SetTextureStageState(1, D3DTSS_COLORARG1, D3DTA_TEXTURE);
    SetTextureStageState(1, D3DTSS_COLORARG2, D3DTA_CURRENT);
  } else {
    SetTextureStageState(1, D3DTSS_COLOROP, D3DTOP_DISABLE);
  }
  if (FAILED(m_pd3dDevice->SetVertexDeclaration(pass->m_pDecl)))
    GLog.DebugWriteLine("ERROR: SetVertexDeclaration failed");
  if (FAILED(m_pd3dDevice->SetStreamSource(0, d3dBuffer(vb), 0, stride)))
    GLog.DebugWriteLine("ERROR: SetStreamSource failed");
  if (FAILED(m_pd3dDevice->SetVertexShader(pass->m_pShader))) GLog.DebugWriteLine("ERROR: SetVertexShader failed");
  if (SUCCEEDED(m_pd3dDevice->DrawIndexedPrimitive((D3DPRIMITIVETYPE)type, (INT)baseVertex, 0, (UINT)numVertices,
                                                   startIndex, (UINT)primitiveCount)))
    return S_OK;
  return D3DERR_INVALIDCALL;
}

bool BrD3DRenDev::SetTexture(unsigned int id, eTextureType type, unsigned int stage) {
  if ((int)id == m_iCurrTexture && (int)type == m_iCurrTextureType) return false;
  if (!m_pd3dDevice || !m_pTextureMgr) return false;
  if (type == eTextureStatic) {
    const int count = m_pTextureMgr->CachedTextureCount(eTextureStatic);
    if ((int)id > count - 1 || (int)id < 0) id = 0;
    void** ref = m_pTextureMgr->GetTextureInterface((int)id, eTextureStatic);
    IDirect3DTexture9* texture = ref ? static_cast<IDirect3DTexture9*>(*ref) : nullptr;
    if (FAILED(m_pd3dDevice->SetTexture(stage, texture))) return false;
    m_iCurrTexture = (int)id;
    m_iCurrTextureType = eTextureStatic;
    return true;
  }
  if (type == eTextureDynamic) {
    const int count = m_pTextureMgr->CachedTextureCount(eTextureDynamic);
    void** ref;
    if ((int)id > count - 1 || (int)id < 0) {
      GLog.DebugPrintf("WARNING: Invalid dynamic texture index %i, setting .noshader instead", (int)id);
      id = 0;
      type = eTextureStatic;
      ref = m_pTextureMgr->GetTextureInterface(0, eTextureStatic);
    } else {
      ref = m_pTextureMgr->GetTextureInterface((int)id, eTextureDynamic);
    }
    IDirect3DTexture9* texture = ref ? static_cast<IDirect3DTexture9*>(*ref) : nullptr;
    if (FAILED(m_pd3dDevice->SetTexture(stage, texture))) return false;
    m_iCurrTexture = (int)id;
    m_iCurrTextureType = type;
    return true;
  }
  GLog.DebugWriteLine("ERROR: BrD3DRenDev::SetTexture(...) was passed an invalid texture type enumeration");
  return false;
}

void BrD3DRenDev::SetTextureStageState(int stage, D3DTEXTURESTAGESTATETYPE type, DWORD value) {
  if (!m_pd3dDevice) return;
  // The cache keeps stages 0 and 1; any other stage goes straight to the device.
  if (stage < 0 || stage > 1) {
    m_pd3dDevice->SetTextureStageState((DWORD)stage, type, value);
    return;
  }
  for (int i = 0; i < m_TSSCache.GetCount(); ++i) {
    BrTSSCacheEntry& entry = m_TSSCache[i];
    if (entry.type != type) continue;
    DWORD& slot = stage == 0 ? entry.stage0 : entry.stage1;
    if (slot == value) return;
    slot = value;
    m_pd3dDevice->SetTextureStageState((DWORD)stage, type, value);
    return;
  }
  BrTSSCacheEntry entry = {666, 666, type};
  (stage == 0 ? entry.stage0 : entry.stage1) = value;
  m_TSSCache.Add(entry);
  m_pd3dDevice->SetTextureStageState((DWORD)stage, type, value);
}

void BrD3DRenDev::SetRenderState(D3DRENDERSTATETYPE state, DWORD value) {
  if (!m_pd3dDevice) return;
  for (int i = 0; i < m_RSCache.GetCount(); ++i) {
    BrRSCacheEntry& entry = m_RSCache[i];
    if (entry.state != state) continue;
    if (entry.value == value) return;
    entry.value = value;
    m_pd3dDevice->SetRenderState(state, value);
    return;
  }
  BrRSCacheEntry entry = {state, value};
  m_RSCache.Add(entry);
  m_pd3dDevice->SetRenderState(state, value);
}

void BrD3DRenDev::EmptyStateCaches() {
  m_TSSCache.Clear();
  m_RSCache.Clear();
}

bool BrD3DRenDev::Draw3DLine(BrVector* from, BrVector* to, BrARGB colour) {
  if (!from || !to) return DrawLineList(nullptr, 0, colour);
  const BrVector ends[2] = {*from, *to};
  return DrawLineList(ends, 1, colour);
}

void BrD3DRenDev::Draw3DCircle(BrVector* centre, BrPlane* plane, float radius, BrARGB colour) {
  if (!centre || !plane) return;
  BrVector points[25];
  CirclePoints(*centre, *plane, radius, points);
  BrVector ends[48];
  for (int i = 0; i < 24; ++i) {
    ends[2 * i] = points[i];
    ends[2 * i + 1] = points[i + 1];
  }
  DrawLineList(ends, 24, colour);
}

bool BrD3DRenDev::DrawLineList(const BrVector* ends, int lines, BrARGB colour) {
  SetAlpha(colour.a != 0 && colour.a != 255);
  SetTransform(nullptr);
  if (!m_pd3dDevice || !m_pLineVB || lines < 1 || lines > ciMaxLinesADraw) return false;
  SetTextureStageState(0, D3DTSS_COLOROP, D3DTOP_DISABLE);
  // Position and colour, 16 bytes a vertex in the order the line format reads them.
  unsigned char bytes[ciMaxLinesADraw * 2 * 16];
  const uint32_t argb = colour.GetDWORD();
  for (int i = 0; i < 2 * lines; ++i) {
    unsigned char* out = bytes + i * 16;
    std::memcpy(out + 0, &ends[i].x, 4);
    std::memcpy(out + 4, &ends[i].y, 4);
    std::memcpy(out + 8, &ends[i].z, 4);
    std::memcpy(out + 12, &argb, 4);
  }
  m_pLineVB->Populate(0, bytes, unsigned(lines) * 32u);
  SetEffector(1);
  DrawPrimitive(D3DPT_LINELIST, m_pLineVB, 16, lines);
  SetTextureStageState(0, D3DTSS_COLOROP, D3DTOP_MODULATE);
  return true;
}

void BrD3DRenDev::takeScreenshot(const BrStringT<char>& path) {
  if (!m_pd3dDevice || !path.c_str()) return;
  // The game's frame is the back buffer's size: in a window, its client area. The display mode (the whole
  // desktop in a window) would hold the frame in one corner and black around it.
  UINT width = m_d3dpp.BackBufferWidth, height = m_d3dpp.BackBufferHeight;
  if (width == 0 || height == 0) {
    D3DDISPLAYMODE mode;
    if (FAILED(m_pd3dDevice->GetDisplayMode(0, &mode))) return;
    width = mode.Width;
    height = mode.Height;
  }
  IDirect3DSurface9* surface = nullptr;
  if (FAILED(m_pd3dDevice->CreateOffscreenPlainSurface(width, height, D3DFMT_A8R8G8B8, D3DPOOL_SYSTEMMEM, &surface,
                                                       nullptr)) ||
      !surface)
    return;
  // A shot that cannot be written (a file where the Screenshots folder should be, a read-only folder, a full
  // disk) is said in the log: the player pressed the key and otherwise has no word of why no picture came.
  if (SUCCEEDED(m_pd3dDevice->GetFrontBufferData(0, surface)) &&
      FAILED(D3DXSaveSurfaceToFileA(path.c_str(), D3DXIFF_BMP, surface, nullptr, nullptr)))
    GLog.printf("WARNING: Failed to write the screenshot %s", path.c_str());
  surface->Release();
}
