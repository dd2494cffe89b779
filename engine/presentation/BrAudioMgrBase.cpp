// The audio device base: sounds by id, master-volume settings paced by a timer, and sound-id bookkeeping.
#include "engine/presentation/BrAudioMgrBase.h"

#include "engine/kernel/BrEngine.h"

BrAudioMgrBase::BrAudioMgrBase() : m_iMasterVolume(2), m_fVolumeTimer(0.0f) {}
BrAudioMgrBase::BrAudioMgrBase(const BrAudioMgrBase& other)
    : BrSubSystem(other),
      m_Sounds(other.m_Sounds),
      m_iMasterVolume(other.m_iMasterVolume),
      m_VolumeSettings(other.m_VolumeSettings),
      m_fVolumeTimer(other.m_fVolumeTimer) {}
BrAudioMgrBase& BrAudioMgrBase::operator=(const BrAudioMgrBase& other) {
  BrSubSystem::operator=(other);
  m_Sounds = other.m_Sounds;
  m_iMasterVolume = other.m_iMasterVolume;
  m_VolumeSettings = other.m_VolumeSettings;
  m_fVolumeTimer = other.m_fVolumeTimer;
  return *this;
}
BrAudioMgrBase::~BrAudioMgrBase() {}

bool BrAudioMgrBase::Exit() {
  StopAllAudio();
  m_VolumeSettings.Clear();
  return true;
}

void BrAudioMgrBase::Step(float dt) { m_fVolumeTimer += dt; }

BrSoundFX* BrAudioMgrBase::GetAudio(const BrAudioID& id) {
  int i = id.GetID();
  if (i < 0 || i >= m_Sounds.GetCount()) return nullptr;
  return m_Sounds[i];
}

bool BrAudioMgrBase::SetMasterVolume(int index) {
  if (index < 0 || index >= m_VolumeSettings.GetCount()) return false;
  m_iMasterVolume = index;
  float value = (float)m_VolumeSettings[index];
  SetMaxRolloff(value);
  return true;
}

void BrAudioMgrBase::VolumeUp() {
  if (m_fVolumeTimer <= 0.5f) return;
  m_fVolumeTimer = 0.0f;
  if (!SetMasterVolume(m_iMasterVolume + 1)) SetMasterVolume(0);
}

void BrAudioMgrBase::VolumeDown() {
  if (m_fVolumeTimer <= 0.5f) return;
  m_fVolumeTimer = 0.0f;
  if (!SetMasterVolume(m_iMasterVolume - 1)) SetMasterVolume(m_VolumeSettings.GetCount() - 1);
}

void BrAudioMgrBase::AddVolumeSetting(int value) { m_VolumeSettings.Add(value); }

void BrAudioMgrBase::StopAllAudio() {
  for (int i = 0; i < m_Sounds.GetCount(); ++i) {
    if (m_Sounds[i]) {
      m_Sounds[i]->Destroy();
      delete m_Sounds[i];
      m_Sounds[i] = nullptr;
    }
  }
  m_Sounds.Clear();
}

void BrAudioMgrBase::SetAudioID(BrAudioID& id, int newId) {
  // Handing a holder the sound it already holds changes nothing; releasing it first could free the sound.
  if (id.m_iID == newId) return;
  // 0, the error sound, is never released; -1 names no sound and is never reported.
  if (id.m_iID != 0 && id.m_iID != -1) AudioDestroyed(id.m_iID);
  id.m_iID = newId;
  if (newId != -1) AudioCreated(newId);
}
