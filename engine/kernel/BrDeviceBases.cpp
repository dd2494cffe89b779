// The network and format-parser device bases: construction and member-wise copies of the fields they add.
#include "engine/kernel/BrFmtParseBase.h"
#include "engine/kernel/BrIpDevBase.h"

BrFmtParseBase::BrFmtParseBase() : m_bParsed(false), m_iParseState(0) {}
BrFmtParseBase::BrFmtParseBase(const BrFmtParseBase& other)
    : BrSubSystem(other), m_bParsed(other.m_bParsed), m_iParseState(other.m_iParseState) {}
BrFmtParseBase& BrFmtParseBase::operator=(const BrFmtParseBase& other) {
  BrSubSystem::operator=(other);
  m_bParsed = other.m_bParsed;
  m_iParseState = other.m_iParseState;
  return *this;
}
BrFmtParseBase::~BrFmtParseBase() {}

BrIpDevBase::BrIpDevBase() : m_iDeviceState(0) {}
BrIpDevBase::BrIpDevBase(const BrIpDevBase& other) : BrSubSystem(other), m_iDeviceState(other.m_iDeviceState) {}
BrIpDevBase& BrIpDevBase::operator=(const BrIpDevBase& other) {
  BrSubSystem::operator=(other);
  m_iDeviceState = other.m_iDeviceState;
  return *this;
}
BrIpDevBase::~BrIpDevBase() {}
