// The rendering device base: construction, the device-independent operations and the texel accessors.
#include "engine/presentation/BrRenderBase.h"

#include <cstdarg>
#include <cstdio>

#include "core/brcr.h"

BrRenderBase::BrRenderBase()
    : m_pSpriteDaemon(nullptr),
      m_pFontMgr(nullptr),
      m_pLightMgr(nullptr),
      m_dwWindowStyle(0),
      m_ClientArea{0, 0, 0, 0},
      m_hParent(nullptr),
      m_bWindowed(false),
      m_iSavedX(0),
      m_iSavedY(0),
      m_bWBuffer(false),
      m_bZBuffer(false),
      m_iDepthBits(0),
      m_fNearZ(5.0f),
      m_fFarZ(50000.0f),
      m_pTextureMgr(nullptr),
      m_pFXMgr(nullptr),
      m_bDrawGroundGrid(false),
      m_GroundGridColour(128, 200, 200, 200),
      m_iQueuedBillboards(0) {}

BrRenderBase::BrRenderBase(BrRenderBase& other) : BrSubSystem(other) { *this = other; }

BrRenderBase& BrRenderBase::operator=(const BrRenderBase& other) {
  if (this == &other) return *this;
  BrSubSystem::operator=(other);
  m_pSpriteDaemon = other.m_pSpriteDaemon;
  m_pFontMgr = other.m_pFontMgr;
  m_pLightMgr = other.m_pLightMgr;
  m_dwWindowStyle = other.m_dwWindowStyle;
  m_ClientArea = other.m_ClientArea;
  m_hParent = other.m_hParent;
  m_bWindowed = other.m_bWindowed;
  m_iSavedX = other.m_iSavedX;
  m_iSavedY = other.m_iSavedY;
  m_bWBuffer = other.m_bWBuffer;
  m_bZBuffer = other.m_bZBuffer;
  m_iDepthBits = other.m_iDepthBits;
  m_fNearZ = other.m_fNearZ;
  m_fFarZ = other.m_fFarZ;
  m_pTextureMgr = other.m_pTextureMgr;
  m_pFXMgr = other.m_pFXMgr;
  m_bDrawGroundGrid = other.m_bDrawGroundGrid;
  m_GroundGridColour = other.m_GroundGridColour;
  m_Frustum = other.m_Frustum;
  m_Billboards = other.m_Billboards;
  m_BillboardOrder = other.m_BillboardOrder;
  m_iQueuedBillboards = other.m_iQueuedBillboards;
  m_Resolutions = other.m_Resolutions;
  m_View = other.m_View;
  return *this;
}

BrRenderBase::~BrRenderBase() {}

// The sprite daemon, font manager and light manager come with the presentation layer; until then a device
// starts without them, and the operations that need them report as they do before Init.
bool BrRenderBase::Init() { return true; }

bool BrRenderBase::Exit() { return true; }

bool BrRenderBase::DrawSprite(float, float, float, float, unsigned int effector, float, BrARGB&, float, float, float,
                              float, float) {
  if (effector < 3) return false;
  if (!m_pSpriteDaemon) {
    GLog.DebugPrintf("WARNING: Sprite requested before sprite daemon initialised!");
    return false;
  }
  return false;
}

void BrRenderBase::Draw3DCircle(BrVector*, BrPlane*, float, BrARGB) {}
void BrRenderBase::Draw3DCylinder(BrVector*, BrVector*, float, float, BrARGB) {}
void BrRenderBase::DrawFadeTile(float, float) {}
void BrRenderBase::DrawColourTile(float, float, BrARGB) {}

// Text goes through the font manager; without one nothing is drawn.
void BrRenderBase::DrawTextA(float, float, BrARGB&, eFontFormatFlags, char*) {}
void BrRenderBase::DrawTextf(float, float, BrARGB&, eFontFormatFlags, char*, ...) {}

void BrRenderBase::takeScreenshot(const BrStringT<char>&) {}

int BrRenderBase::GetNumResolutions() { return m_Resolutions.GetCount(); }

void BrRenderBase::GetResolution(int i, int& width, int& height) {
  if (i < 0 || i >= m_Resolutions.GetCount()) {
    width = 0;
    height = 0;
    return;
  }
  const BrRect& r = m_Resolutions[i];
  width = (int)(r.maxX - r.minX);
  height = (int)(r.maxY - r.minY);
}

bool BrRenderBase::Project(const BrVector&, int&, int&) { return false; }
bool BrRenderBase::Project(const BrVector&, float&, float&) { return false; }
bool BrRenderBase::DeProject(int, int, BrVector*) { return false; }
void BrRenderBase::DrawGroundGrid(BrARGB) {}
void BrRenderBase::drawBillboard(const BrBBCache&) {}
void BrRenderBase::drawAllBillboards() { m_iQueuedBillboards = 0; }
