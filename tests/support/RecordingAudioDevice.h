// RecordingAudioDevice: an audio device that records what reaches it, and ScopedEngineAudio, which makes a device
// the engine's audio device for a test.
#pragma once

#include <string>
#include <vector>

#include "engine/presentation/BrAudioMgrBase.h"

// Records every call of the device interface as one line ("created 3", "destroyed 3", "rolloff 2500", "play2d 1",
// "play3d 1 (x,y,z)", "mute", "unmute", "create Sounds\\a.wav"). CreateAudio appends a plain BrSoundFX and hands
// its index to the id through SetAudioID; play calls succeed for ids that name a sound.
class RecordingAudioDevice : public BrAudioMgrBase {
public:
  RecordingAudioDevice();
  ~RecordingAudioDevice() override;

  bool Init() override;
  bool CreateAudio(const BrStringT<char>& file, BrAudioID& id) override;
  bool PlayAudio2D(const BrAudioID& id) override;
  bool PlayAudio3D(const BrAudioID& id, const BrVector& position) override;
  void SetMaxRolloff(const float& value) override;
  float GetMaxRolloff() override;
  void Mute() override;
  void UnMute() override;

  // The calls recorded so far, oldest first, and forgetting them.
  const std::vector<std::string>& Calls() const { return m_Calls; }
  void ClearCalls() { m_Calls.clear(); }
  // Counts recorded lines equal to line.
  int CountOf(const std::string& line) const;

  // The protected operations, reachable from tests.
  using BrAudioMgrBase::SetAudioID;
  using BrAudioMgrBase::StopAllAudio;
  // Appends a sound the test made (the device owns it from then on) and returns its id.
  int AddSound(BrSoundFX* sound);
  float VolumeTimer() const { return m_fVolumeTimer; }
  int SettingCount() const { return m_VolumeSettings.GetCount(); }
  int SoundCount() const { return m_Sounds.GetCount(); }

protected:
  void AudioCreated(int id) override;
  void AudioDestroyed(int id) override;

private:
  std::vector<std::string> m_Calls;
  float m_fRolloff;
};

// Makes device the engine's audio device (what Engine().Audio() returns) until the end of the scope, then puts
// the previous one back. The device stays the caller's.
class ScopedEngineAudio {
public:
  explicit ScopedEngineAudio(BrAudioMgrBase* device);
  ~ScopedEngineAudio();
  ScopedEngineAudio(const ScopedEngineAudio&) = delete;
  ScopedEngineAudio& operator=(const ScopedEngineAudio&) = delete;

private:
  BrAudioMgrBase* m_pPrevious;
};
