// BrLightBase: one light's range, position and switch, with its saved form.
#include "engine/presentation/BrLightBase.h"

#include "core/brcr.h"
#include "templates/BrArchiveOps.h"

BR_IMPLEMENT_CLASS(BrLightBase, BrObject)

BrLightBase::BrLightBase() : m_fRange(0.0f), m_Position(0.0f, 0.0f, 0.0f), m_bOn(true) {}

BrLightBase::~BrLightBase() { Destroy(); }

void BrLightBase::Serialize(BrBin& bin) {
  BrObject::Serialize(bin);
  bin << m_fRange;
  bin << m_Position;
  // Through a byte: a stored value other than 0 or 1 must not land in a bool as it is.
  uint8_t on = m_bOn ? 1 : 0;
  bin << on;
  if (bin.IsLoading()) m_bOn = on != 0;
}

bool BrLightBase::Init() {
  BrObject::Init();
  m_bOn = true;
  m_fRange = 0.0f;
  m_Position = BrVector(0.0f, 0.0f, 0.0f);
  return true;
}

void BrLightBase::Destroy() { BrObject::Destroy(); }
