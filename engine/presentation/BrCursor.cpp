// BrCursor: the cursor's geometry in pixels and fractions, its target and its drawing.
#include "engine/presentation/BrCursor.h"

#include <cmath>

#include "engine/kernel/BrApplication.h"
#include "engine/kernel/BrDemoEntity.h"
#include "engine/kernel/BrEngine.h"
#include "engine/kernel/BrMap.h"
#include "engine/presentation/BrRenderBase.h"

BR_IMPLEMENT_CLASS(BrCursor, BrObject)

BrCursor::BrCursor()
    : m_fScreenX(0.0f), m_fScreenY(0.0f), m_iTarget(-1), m_fWidth(0.0f), m_fHeight(0.0f), m_iEffector(0) {}

BrCursor::BrCursor(const BrCursor& other)
    : BrObject(other),
      m_ClickPoint(other.m_ClickPoint),
      m_fScreenX(other.m_fScreenX),
      m_fScreenY(other.m_fScreenY),
      m_iTarget(other.m_iTarget),
      m_fWidth(other.m_fWidth),
      m_fHeight(other.m_fHeight),
      m_iEffector(other.m_iEffector) {}

BrCursor& BrCursor::operator=(const BrCursor& other) {
  if (this == &other) return *this;
  BrObject::operator=(other);
  m_ClickPoint = other.m_ClickPoint;
  m_fScreenX = other.m_fScreenX;
  m_fScreenY = other.m_fScreenY;
  m_iTarget = other.m_iTarget;
  m_fWidth = other.m_fWidth;
  m_fHeight = other.m_fHeight;
  m_iEffector = other.m_iEffector;
  return *this;
}

BrCursor::~BrCursor() {}

void BrCursor::Serialize(BrBin&) {}

void BrCursor::Step(float) {}

void BrCursor::SetCursorDimensions(float w, float h, const BrVector& hotspot) {
  m_fWidth = w;
  m_fHeight = h;
  m_ClickPoint = BrVector(w * hotspot.x, h * hotspot.y, 0.0f);
}

BrVector BrCursor::GetClickPoint() {
  BrRenderBase* render = Engine().Render();
  if (!render) return BrVector(0.0f, 0.0f, 0.0f);
  return BrVector(m_ClickPoint.x * float(render->GetWidth()), m_ClickPoint.y * float(render->GetHeight()), 0.0f);
}

void BrCursor::Centre() {
  BrRenderBase* render = Engine().Render();
  if (!render) return;
  m_fScreenX = float(render->GetWidth() / 2u);
  m_fScreenY = float(render->GetHeight() / 2u);
}

void BrCursor::SetTarget(BrDemoEntity* const entity) { m_iTarget = entity ? entity->GetID() : -1; }

BrDemoEntity* BrCursor::GetCursorTarget() {
  if (m_iTarget == -1) return nullptr;
  // Between levels, or before a game has started, there is no map to ask.
  BrApplication* app = Engine().App();
  BrMap* map = app ? app->Map() : nullptr;
  if (!map) return nullptr;
  BrGameObj* object = map->GetObjectA(m_iTarget);
  if (!object || !object->IsValid()) return nullptr;
  return static_cast<BrDemoEntity*>(object->SafeCast(&BrDemoEntity::Type));
}

void BrCursor::Draw(BrRenderBase* const render) {
  if (!render) return;
  const float screenW = float(render->GetWidth());
  const float screenH = float(render->GetHeight());
  if (screenW <= 0.0f || screenH <= 0.0f) return;
  const float x = m_fScreenX / screenW;
  const float y = m_fScreenY / screenH;
  const float h = m_fHeight * render->GetAspectRatio();
  BrARGB white(255, 255, 255, 255);
  render->DrawSprite(x, y, m_fWidth, h, (unsigned int)m_iEffector, 0.001f, white, 0.0f, 0.001f, 0.001f, 0.999f, 0.999f);
  if (BrDemoEntity* target = GetCursorTarget()) {
    BrStringT<char> tooltip = target->GetTooltip();
    if (tooltip.Length() > 0) {
      BrARGB faded(200, 255, 255, 255);
      render->DrawTextA(x + m_fWidth, y + h, faded, eFontFormatNone, const_cast<char*>(tooltip.c_str()));
    }
  }
}
