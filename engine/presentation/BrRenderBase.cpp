// The rendering device base: construction, the managers it owns, and the device-independent drawing and projection.
#include "engine/presentation/BrRenderBase.h"

#include <cmath>
#include <cstdarg>

#include "core/brcr.h"
#include "core/BrNumeric.h"
#include "engine/kernel/BrApplication.h"
#include "engine/kernel/BrCamera.h"
#include "engine/kernel/BrEngine.h"
#include "engine/presentation/BrEffectorMgr.h"
#include "engine/presentation/BrFontMgr.h"
#include "engine/presentation/BrLightMgr.h"
#include "engine/presentation/BrSpriteDaemon.h"

namespace {

const float cfTwoPi = 6.2831855f;
const double cdTwoPi = 6.2831854820251465;

// Truncation toward zero that stays defined for values no int can hold (a point almost in the camera plane).
int TruncToInt(float v) {
  if (!(v == v)) return 0;  // NaN
  if (v >= 2147483520.0f) return INT32_MAX;
  if (v <= -2147483520.0f) return INT32_MIN;
  return (int)v;
}

// The camera the projections work from: the application's camera when there is an application, otherwise
// the view the device last recorded (a device drawing without an application, as in tools and tests).
struct ViewOf {
  BrVector position;
  BrMatrix3 axes;
  float fov;
};

ViewOf CurrentView(const BrViewRecord& recorded) {
  ViewOf v;
  BrApplication* app = Engine().App();
  if (app && app->Camera()) {
    BrCamera* camera = app->Camera();
    const BrCoords frame = camera->GetCoords();
    v.position = frame.Position;
    v.axes = BrMatrix3(frame.X, frame.Y, frame.Z);
    v.fov = camera->FOV();
  } else {
    v.position = recorded.Position;
    v.axes = recorded.Axes;
    v.fov = recorded.fFOV;
  }
  return v;
}

}  // namespace

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
      m_iQueuedBillboards(0),
      m_uiFadeTileFX(0),
      m_uiColourTileFX(0),
      m_bFadeTileFailed(false),
      m_bColourTileFailed(false) {}

BrRenderBase::~BrRenderBase() {}

bool BrRenderBase::Init() {
  if (!m_pSpriteDaemon) {
    m_pSpriteDaemon = new BrSpriteDaemon();
    m_pSpriteDaemon->Init();
  }
  bool fontsOk = true;
  if (!m_pFontMgr) {
    m_pFontMgr = new BrFontMgr();
    // A default font that cannot be made is reported up, so that the engine ends the run from the top rather
    // than from inside the font manager while its own call is still running.
    fontsOk = m_pFontMgr->Init();
  }
  if (!m_pLightMgr) m_pLightMgr = new BrLightMgr();
  return fontsOk;
}

bool BrRenderBase::Exit() {
  if (m_pSpriteDaemon) {
    delete m_pSpriteDaemon;
    m_pSpriteDaemon = nullptr;
  }
  if (m_pFontMgr) {
    m_pFontMgr->Destroy();
    delete m_pFontMgr;
    m_pFontMgr = nullptr;
  }
  if (m_pLightMgr) {
    delete m_pLightMgr;
    m_pLightMgr = nullptr;
  }
  return true;
}

bool BrRenderBase::DrawSprite(float x, float y, float w, float h, unsigned int effector, float z, BrARGB& colour,
                              float rotation, float uLeft, float vTop, float uRight, float vBottom) {
  if (effector < 3) return false;
  if (!m_pSpriteDaemon) {
    GLog.DebugPrintf("WARNING: Sprite requested before sprite daemon initialised!");
    return false;
  }
  // The caller learns whether the sprite was really queued (a full queue or a refused effector drops it).
  return m_pSpriteDaemon->QueueSprite(x, y, w, h, effector, z, colour, rotation, uLeft, vTop, uRight, vBottom);
}

void BrRenderBase::Draw3DCircle(BrVector* centre, BrPlane* plane, float radius, BrARGB colour) {
  if (!centre || !plane) return;
  BrVector points[25];
  CirclePoints(*centre, *plane, radius, points);
  for (int i = 0; i < 24; ++i) Draw3DLine(&points[i], &points[i + 1], colour);
}

void BrRenderBase::CirclePoints(const BrVector& centre, const BrPlane& plane, float radius, BrVector points[25]) {
  const BrVector up(0.0f, 1.0f, 0.0f);
  BrVector n = plane.Normal();
  float c = n | up;
  if (c > 1.0f) c = 1.0f;
  if (c < -1.0f) c = -1.0f;
  const double angle = brACOS(c) / cdTwoPi * 360.0;
  BrVector ref;
  if (angle < 1.0)
    ref = BrVector(1.0f, 0.0f, 0.0f);
  else
    ref = n ^ BrVector(0.0f, 0.0f, 1.0f);
  // A normal along z has no cross product with z: any axis across it will do, and +x is one.
  if (ref.Size() < 1e-6f) ref = BrVector(1.0f, 0.0f, 0.0f);
  ref.Normalise();
  ref *= radius;
  points[0] = centre + ref;
  const BrMatrix3 step = BrVector::AxisAngleMatrix(n, 0.2617994);
  for (int i = 1; i <= 24; ++i) {
    ref = ref * step;
    points[i] = centre + ref;
  }
}

void BrRenderBase::Draw3DCylinder(BrVector* centre, BrVector* axis, float radius, float height, BrARGB colour) {
  if (!centre || !axis || colour.a == 0) return;
  BrPlane plane(*axis, *centre);
  BrVector bottom = *centre - *axis * (height / 2.0f);
  BrVector top = *centre + *axis * (height / 2.0f);
  Draw3DCircle(&bottom, &plane, radius, colour);
  Draw3DCircle(&top, &plane, radius, colour);
  const BrVector s = CurrentView(m_View).axes.GetXAxis() * radius;
  BrVector a0 = top + s, a1 = bottom + s;
  Draw3DLine(&a0, &a1, colour);
  BrVector b0 = top - s, b1 = bottom - s;
  Draw3DLine(&b0, &b1, colour);
}

// Builds a whole-screen tile effector once; a failure with both managers present is remembered so that the
// frame loop does not build and throw away an effector on every frame.
static void BuildTileFX(uint32_t& fx, bool& failed, const char* name, const char* file) {
  if (fx != 0 || failed) return;
  BrRenderBase* render = Engine().Render();
  if (!render || !render->FXMgr() || !render->TextureMgr()) return;
  const int made = brMake2DEffector(BrStringT<char>(name), BrStringT<char>(file), false);
  if (made > 0)
    fx = (uint32_t)made;
  else
    failed = true;
}

void BrRenderBase::DrawFadeTile(float alpha, float z) {
  if (alpha < 0.0f) alpha = 0.0f;
  if (alpha > 1.0f) alpha = 1.0f;
  BuildTileFX(m_uiFadeTileFX, m_bFadeTileFailed, "ShaderBlackBack", "Textures\\ui\\blackback.jpg");
  BrARGB tile((int)(alpha * 255.0f), 0, 0, 0);
  DrawSprite(0.0f, 0.0f, 1.0f, 1.0f, m_uiFadeTileFX, z, tile, 0.0f, 0.001f, 0.001f, 0.999f, 0.999f);
}

void BrRenderBase::DrawColourTile(float alpha, float z, BrARGB colour) {
  if (alpha < 0.0f) alpha = 0.0f;
  if (alpha > 1.0f) alpha = 1.0f;
  BuildTileFX(m_uiColourTileFX, m_bColourTileFailed, "ShaderColourBack", "Textures\\ui\\colourback.jpg");
  BrARGB tile((int)(alpha * 255.0f), colour.r, colour.g, colour.b);
  DrawSprite(0.0f, 0.0f, 1.0f, 1.0f, m_uiColourTileFX, z, tile, 0.0f, 0.001f, 0.001f, 0.999f, 0.999f);
}

void BrRenderBase::DrawTextA(float x, float y, BrARGB& colour, eFontFormatFlags flags, char* text) {
  if (!m_pFontMgr) return;
  BrStringT<char> s(text);
  m_pFontMgr->DrawTextA(x, y, colour, flags, s);
}

void BrRenderBase::DrawTextf(float x, float y, BrARGB& colour, eFontFormatFlags flags, char* format, ...) {
  if (!m_pFontMgr || !format) return;
  char buf[260];
  va_list args;
  va_start(args, format);
  brVARARGSList(buf, (int)sizeof(buf), format, args);
  va_end(args);
  DrawTextA(x, y, colour, flags, buf);
}

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

bool BrRenderBase::Project(const BrVector& point, int& px, int& py) {
  const float width = (float)GetWidth();
  const float height = (float)GetHeight();
  const float nearZ = m_fNearZ;
  const ViewOf view = CurrentView(m_View);
  const BrVector d = point - view.position;
  const BrVector a0 = view.axes.GetXAxis(), a1 = view.axes.GetYAxis(), a2 = view.axes.GetZAxis();
  const float dx = d | a0;
  const float dy = -(d | a1);
  const float dz = d | a2;
  const float wv = 2.0f * nearZ * (float)brTAN((view.fov / 360.0f * cfTwoPi) / 2.0f);
  const float hv = width > 0.0f ? wv * height / width : 0.0f;
  float xs = 0.0f, ys = 0.0f;
  // A point in the camera plane has no projection: it is reported at the centre (and as off screen below).
  if (dz != 0.0f && wv != 0.0f && hv != 0.0f) {
    const float k = nearZ / dz;
    xs = dx * k * width / wv;
    ys = dy * k * height / hv;
  }
  px = TruncToInt(width / 2.0f + xs);
  py = TruncToInt(height / 2.0f + ys);
  // A point at or behind the camera would project through the centre mirrored: it is never on screen.
  if (dz <= 0.0f) return false;
  return px > -1 && py > -1 && (float)px < width && (float)py < height;
}

bool BrRenderBase::Project(const BrVector& point, float& sx, float& sy) {
  int px = 0, py = 0;
  const bool on = Project(point, px, py);
  const float width = (float)GetWidth();
  const float height = (float)GetHeight();
  sx = width > 0.0f ? (float)px / width : 0.0f;
  sy = height > 0.0f ? (float)py / height : 0.0f;
  return on;
}

bool BrRenderBase::DeProject(int px, int py, BrVector* direction) {
  const int width = (int)GetWidth();
  const int height = (int)GetHeight();
  if (!direction || px < 0 || py < 0 || px > width || py > height) return false;
  const float nearZ = m_fNearZ;
  const ViewOf view = CurrentView(m_View);
  const float wv = 2.0f * nearZ * (float)brTAN((view.fov / 360.0f * cfTwoPi) / 2.0f);
  const float hv = width > 0 ? wv * (float)height / (float)width : 0.0f;
  const float a = width > 0 ? (float)px * wv / (float)width - wv / 2.0f : 0.0f;
  const float b = height > 0 ? -((float)py * hv / (float)height - hv / 2.0f) : 0.0f;
  BrVector dir = view.axes.GetXAxis() * a + view.axes.GetYAxis() * b + view.axes.GetZAxis() * nearZ;
  dir.Normalise();
  *direction = dir;
  return true;
}

void BrRenderBase::DrawGroundGrid(BrARGB colour) {
  BrVector corners[4] = {BrVector(-10000.0f, 0.0f, -10000.0f), BrVector(-10000.0f, 0.0f, 10000.0f),
                         BrVector(10000.0f, 0.0f, 10000.0f), BrVector(10000.0f, 0.0f, -10000.0f)};
  for (int i = 0; i < 4; ++i) Draw3DLine(&corners[i], &corners[(i + 1) % 4], colour);
  BrVector xa(-10000.0f, 0.0f, 0.0f), xb(10000.0f, 0.0f, 0.0f);
  Draw3DLine(&xa, &xb, colour);
  BrVector za(0.0f, 0.0f, 10000.0f), zb(0.0f, 0.0f, -10000.0f);
  Draw3DLine(&za, &zb, colour);
  BrVector origin;
  BrVector ax(100.0f, 0.0f, 0.0f), ay(0.0f, 100.0f, 0.0f), az(0.0f, 0.0f, 100.0f);
  Draw3DLine(&origin, &ax, BrARGB(128, 255, 0, 0));
  Draw3DLine(&origin, &ay, BrARGB(128, 0, 255, 0));
  Draw3DLine(&origin, &az, BrARGB(128, 0, 0, 255));
}

void BrRenderBase::drawBillboard(const BrBBCache& record) {
  if (m_iQueuedBillboards == m_Billboards.GetCount()) {
    m_Billboards.Add(record);
    m_BillboardOrder.Add(m_iQueuedBillboards);
  } else {
    m_Billboards[m_iQueuedBillboards] = record;
    m_BillboardOrder[m_iQueuedBillboards] = m_iQueuedBillboards;
  }
  ++m_iQueuedBillboards;
}

void BrRenderBase::drawAllBillboards() {
  const BrVector camera = CurrentView(m_View).position;
  const int n = m_iQueuedBillboards;
  // Farthest first, so that nearer translucent billboards blend over farther ones; equal distances keep
  // their queued order (the sort only swaps on a strict difference).
  bool swapped = n > 1;
  while (swapped) {
    swapped = false;
    for (int i = 0; i < n - 1; ++i) {
      const float di = (m_Billboards[m_BillboardOrder[i]].m_Coords.Position - camera).Size();
      const float dj = (m_Billboards[m_BillboardOrder[i + 1]].m_Coords.Position - camera).Size();
      if (di < dj) {
        const int32_t t = m_BillboardOrder[i];
        m_BillboardOrder[i] = m_BillboardOrder[i + 1];
        m_BillboardOrder[i + 1] = t;
        swapped = true;
      }
    }
  }
  // A mirrored billboard (negative x scale: a portrait turned to walk the other way) has its triangles wound
  // the other way round; with back faces culled it would vanish. Billboards are flat pictures, drawn two-sided,
  // and the world's culling is put back after them.
  if (n > 0) SetPolyCullMode(ePolyCullNone);
  for (int i = 0; i < n; ++i) {
    BrBBCache& bb = m_Billboards[m_BillboardOrder[i]];
    SetTransform(&bb.m_Coords);
    SetEffector(bb.m_uiEffector);
    DrawPrimitive(4, bb.m_pVB, 36, 2);
  }
  if (n > 0) SetPolyCullMode(ePolyCullCCW);
  m_iQueuedBillboards = 0;
}
