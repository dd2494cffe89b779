// BrAudioID: a sound id that reports its holders to the engine's audio device.
#include "engine/presentation/BrAudioID.h"

#include "engine/kernel/BrEngine.h"
#include "engine/presentation/BrAudioMgrBase.h"

void BrAudioID::Report(int id, bool created) {
  BrAudioMgrBase* audio = Engine().Audio();
  if (!audio || id == -1) return;
  if (created)
    audio->AudioCreated(id);
  else
    audio->AudioDestroyed(id);
}

BrAudioID::BrAudioID() : m_iID(-1) {}
BrAudioID::BrAudioID(int id) : m_iID(id) { Report(m_iID, true); }
BrAudioID::BrAudioID(const BrAudioID& other) : m_iID(other.m_iID) { Report(m_iID, true); }

BrAudioID& BrAudioID::operator=(const BrAudioID& other) {
  // The same sound again: this holder neither leaves nor joins it, so nothing is reported and a sound held only
  // here is not torn down on the way.
  if (other.m_iID == m_iID) return *this;
  const int old = m_iID;
  m_iID = other.m_iID;
  Report(old, false);
  Report(m_iID, true);
  return *this;
}

BrAudioID::~BrAudioID() { Stop(); }

void BrAudioID::Stop() {
  if (!Engine().Audio()) return;
  Report(m_iID, false);
  m_iID = -1;
}
