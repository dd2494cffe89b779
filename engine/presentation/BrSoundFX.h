// BrSoundFX: one sound of the audio device: volume, pitch, looping and playing flags, file name.
#pragma once

#include "engine/kernel/BrClassFactory.h"
#include "templates/BrStringT.h"

class BrSoundFX : public BrObject {
public:
  // Runs Init.
  BrSoundFX();
  ~BrSoundFX() override;

  // Volume 1, pitch 1, not looping, not playing; true.
  bool Init() override;
  // Store the volume (1 is full), the pitch (1 is the recorded rate) and whether the sound loops; the device
  // applies them when it plays the sound.
  virtual void SetVolume(float volume);
  virtual void SetPitch(float pitch);
  virtual void SetLooping(bool looping);
  // Whether the device last saw the sound playing.
  virtual bool IsPlaying();

  float GetVolume() const { return m_fVolume; }
  float GetPitch() const { return m_fPitch; }
  bool GetLooping() const { return m_bLooping; }
  // Set by the device as the sound starts and stops.
  void SetIsPlaying(bool playing) { m_bPlaying = playing; }
  // The file the sound was loaded from.
  const BrStringT<char>& GetFileName() const { return m_FileName; }
  void SetFileName(const BrStringT<char>& file) { m_FileName = file; }

protected:
  float m_fVolume;
  float m_fPitch;
  bool m_bLooping;
  bool m_bPlaying;
  BrStringT<char> m_FileName;
};
