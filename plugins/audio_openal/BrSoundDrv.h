// BrSoundDrv: the audio device of the SoundDrv plug-in on OpenAL: channels, shared buffers, placement and volume.
#pragma once

#include "engine/presentation/BrAudioMgrBase.h"
#include "plugins/audio_openal/BrOpenALBuffer.h"
#include "plugins/audio_openal/OpenALApi.h"
#include "templates/BrStringT.h"
#include "templates/TDArray.h"

class ALDeviceList;
class BrOpenALSoundFX;
class BrVector;

// The engine's audio device on OpenAL. Sound id 0 is the error sound loaded by Init; it never plays, and a sound
// that cannot be made hands out id 0. Sample data is loaded once per file path into a buffer shared by every sound
// made from that file; a buffer lives while a sound uses it, and a sound's slot is reused once no id holds it.
// Sounds play on at most 32 channels made at start-up.
class BrSoundDrv : public BrAudioMgrBase {
public:
  // The most channels the device creates.
  static constexpr int kMaxChannels = 32;

  // No OpenAL device yet; master gain 1.0, audio on.
  BrSoundDrv();
  // Runs Exit again (which finds nothing left to release) and destroys the lists.
  ~BrSoundDrv() override;

  // Chooses and opens the OpenAL device ([Audio] Hardware prefers a "Hardware" device), makes its context current,
  // loads the error sound as id 0, creates [Audio] Channels channels (0 to 32) and sets the inverse-distance-clamped
  // model. False with a log line when no device list or no context can be had; the device then stays usable and
  // silent.
  bool Init() override;
  // Destroys every sound, deletes the channels and buffers, and closes the context and device. True.
  bool Exit() override;
  // Frees the channels of finished sounds, keeps channel 0's sound's pitch, gain and looping current, then the base.
  void Step(float dt) override;
  // Loads (or shares) the media file name and hands its sound to id; on failure id becomes 0, the error sound.
  bool CreateAudio(const BrStringT<char>& name, BrAudioID& id) override;
  // Plays the sound flat, at (0, 50, 0) from the listener. False when it cannot play.
  bool PlayAudio2D(const BrAudioID& id) override;
  // Plays the sound at a world position relative to the listener (no nearer than 50 units). False when it cannot.
  bool PlayAudio3D(const BrAudioID& id, const BrVector& position) override;
  // Master gain := volume / 125, applied to the listener.
  void SetMaxRolloff(const float& volume) override;
  // Master gain * 125.
  float GetMaxRolloff() override;
  // Silences the listener.
  void Mute() override;
  // Restores the listener's gain to the master gain.
  void UnMute() override;

  // Lists the OpenAL devices and logs them; null only when the list cannot be made.
  ALDeviceList* EnumerateDevices();
  // Opens the first listed device whose name contains word, else the list's default; records in [Audio] Hardware
  // whether the chosen name contains "Hardware". Null (and "ERROR: Failed to Initialize OpenAL") when it cannot
  // be opened.
  ALCdevice* OpenPreferredDevice(ALDeviceList* list, BrStringT<char>& word);
  // Reads the WAV file at path into the OpenAL buffer; false with a debug line when it cannot.
  bool BufferAudio(unsigned int buffer, const BrStringT<char>& path);
  // The buffer already holding path, by exact path.
  bool IsBuffered(const BrStringT<char>& path, int& index);
  // Writes one debug line naming the OpenAL error after prefix.
  void LogOpenALError(const BrStringT<char>& prefix, int error);
  // Applies the sound's pitch, gain (volume * master gain) and looping to source.
  void ResetPropertiesOnSound(BrOpenALSoundFX* sound, unsigned int source);
  // One more sound uses buffer i (valid indices only).
  void RefBuffer(int i);
  // One sound fewer uses buffer i; the last one frees it: every channel holding it is stopped and detached, the
  // buffer is deleted and its slot freed.
  void DeRefBuffer(int i);
  // Creates the configured number of channels.
  void InitChannels();
  // Stops and deletes every channel.
  void DestroyChannels();
  // Places source for a flat (flat != 0) or world-positioned sound relative to the listener.
  void SetAudioPosition(unsigned int source, int flat, const BrVector& position);
  // The play operations' common body.
  bool PlayAudioPrivate(const BrAudioID& id, int flat, const BrVector& position);

  // Read-only views for diagnostics and tests.
  int GetBufferCount() const { return m_Buffers.GetCount(); }
  const BrOpenALBuffer* GetBuffer(int i) const;
  const char* GetBufferFile(int i) const;
  int GetChannelCount() const { return m_Channels.GetCount(); }
  unsigned int GetChannel(int i) const;
  float GetMasterGain() const { return m_fMasterGain; }
  int GetSoundCount() const { return m_Sounds.GetCount(); }
  bool HasContext() const { return m_pContext != nullptr; }

protected:
  // One more id holds the sound (ids above 0 inside the list).
  void AudioCreated(int id) override;
  // One id fewer holds the sound; when none is left the sound gives its buffer back and its slot becomes free.
  void AudioDestroyed(int id) override;
  // Finds or loads the buffer for path; false when it cannot be loaded.
  virtual bool PrepareAudio(const BrStringT<char>& path, int& bufferIndex);

private:
  BrOpenALSoundFX* Sound(int id) const;

  TDArray<BrOpenALBuffer> m_Buffers;
  TDArray<BrStringT<char>> m_BufferFiles;
  TDArray<BrStringT<char>> m_Unreadable;  // files whose read failed (logged once)
  TDArray<unsigned int> m_Channels;
  float m_fMasterGain;
  int m_iAudioOff;
  // The device and context this device opened; the current context is never assumed to be ours.
  ALCdevice* m_pDevice;
  ALCcontext* m_pContext;
};
