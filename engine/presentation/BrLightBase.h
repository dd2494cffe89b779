// BrLightBase: one light: a world position, a range and an on/off switch.
#pragma once

#include "core/BrVector.h"
#include "engine/kernel/BrClassFactory.h"

// Created by name ("BrLightBase"); registered with the light manager, which then owns it.
class BrLightBase : public BrObject {
  BR_DECLARE_CLASS(BrLightBase)
public:
  // Range 0, at the origin, switched on.
  BrLightBase();
  BrLightBase(const BrLightBase& other) = default;
  BrLightBase& operator=(const BrLightBase& other) = default;
  // Destroy().
  ~BrLightBase() override;

  // BrObject's fields, then range, position and the on flag.
  void Serialize(BrBin& bin) override;
  // BrObject::Init, then on, range 0, at the origin; true.
  bool Init() override;
  void Destroy() override;

  void SetPosition(const BrVector& position) { m_Position = position; }
  const BrVector& GetPosition() const { return m_Position; }
  void SetRange(float range) { m_fRange = range; }
  float GetRange() const { return m_fRange; }
  void SwitchOn() { m_bOn = true; }
  void SwitchOff() { m_bOn = false; }
  bool IsSwitchedOn() const { return m_bOn; }

protected:
  float m_fRange;
  BrVector m_Position;
  bool m_bOn;
};
