// BrAudioMgrBase: the abstract audio device an audio plug-in implements; sounds by id, master-volume settings.
#pragma once

#include "core/BrSubSystem.h"
#include "core/BrVector.h"
#include "engine/presentation/BrAudioID.h"
#include "engine/presentation/BrSoundFX.h"
#include "templates/BrStringT.h"
#include "templates/TDArray.h"

// The plug-in derives its device from this class. The engine creates it through fnGetAudioDevice, calls Init,
// steps it after the application every frame, and at exit calls Exit and fnDeleteAudioDevice.
class BrAudioMgrBase : public BrSubSystem {
public:
  // Volume index 2, no settings, timer 0.
  BrAudioMgrBase();
  BrAudioMgrBase(const BrAudioMgrBase& other);
  BrAudioMgrBase& operator=(const BrAudioMgrBase& other);
  ~BrAudioMgrBase() override;

  bool Init() override = 0;
  // Stops and deletes every sound, empties the volume settings; true.
  bool Exit() override;
  // Adds dt to the volume timer.
  virtual void Step(float dt);
  // Loads or shares a sound and sets id (through SetAudioID).
  virtual bool CreateAudio(const BrStringT<char>& file, BrAudioID& id) = 0;
  // Plays the id's sound flat (music, interface sounds); false when it cannot play.
  virtual bool PlayAudio2D(const BrAudioID& id) = 0;
  // Plays the id's sound at a world position, placed around the listener; false when it cannot play.
  virtual bool PlayAudio3D(const BrAudioID& id, const BrVector& position) = 0;
  // Receives the master volume value from SetMasterVolume.
  virtual void SetMaxRolloff(const float& value) = 0;
  // The master volume value last received.
  virtual float GetMaxRolloff() = 0;
  // Null for a negative id or one at or beyond the list's count.
  virtual BrSoundFX* GetAudio(const BrAudioID& id);
  // False for an index outside the settings; else makes it current and hands its value to SetMaxRolloff.
  virtual bool SetMasterVolume(int index);
  // After 0.5 s since the last change: one setting up, wrapping to the first.
  virtual void VolumeUp();
  // After 0.5 s since the last change: one setting down, wrapping to the last.
  virtual void VolumeDown();
  // Silences all sound.
  virtual void Mute() = 0;
  // Restores the sound silenced by Mute.
  virtual void UnMute() = 0;

  // Appends a volume setting (a value the device interprets) to the table the volume steps walk.
  void AddVolumeSetting(int value);
  // The index of the current volume setting.
  int GetMasterVolume() const { return m_iMasterVolume; }

protected:
  friend class BrAudioID;
  // One more holder of the sound.
  virtual void AudioCreated(int id) = 0;
  // One holder fewer.
  virtual void AudioDestroyed(int id) = 0;
  // Destroys and deletes every sound and empties the list.
  void StopAllAudio();
  // Releases the id's old sound (not for 0, the error sound, nor -1), stores newId and reports the new holder
  // (not for -1). Nothing happens when the id already holds newId.
  void SetAudioID(BrAudioID& id, int newId);

  TDArray<BrSoundFX*> m_Sounds;
  int32_t m_iMasterVolume;
  TDArray<int32_t> m_VolumeSettings;
  float m_fVolumeTimer;
};
