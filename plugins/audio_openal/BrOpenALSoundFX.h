// BrOpenALSoundFX: one sound of the OpenAL device: the buffer it plays, the channel it plays on, and its holders.
#pragma once

#include "engine/presentation/BrSoundFX.h"

class BrSoundDrv;

// A sound made by BrSoundDrv::CreateAudio. It holds one reference on its buffer from SetBufferIDX until the
// buffer index changes or the sound is destroyed, and counts the sound ids that refer to it, so that its slot is
// reused only once no id holds it.
class BrOpenALSoundFX : public BrSoundFX {
public:
  // No buffer, no channel, no holders; buffer references go to owner (none when null).
  explicit BrOpenALSoundFX(BrSoundDrv* owner = nullptr);
  ~BrOpenALSoundFX() override;

  // The base's Init, then no buffer and no channel; true.
  bool Init() override;
  // Gives the buffer reference back to the device and forgets buffer and channel.
  void Destroy() override;

  // Stores i and takes a reference on that buffer from the device (nothing for -1). The reference held on the
  // previous buffer is the caller's to give back.
  void SetBufferIDX(int i);
  // The device's buffer index, -1 for none.
  int GetBufferIDX() const { return m_iBufferIDX; }
  void SetChannelIDX(int i) { m_iChannelIDX = i; }
  // The device's channel index, -1 when the sound is not on a channel.
  int GetChannelIDX() const { return m_iChannelIDX; }

  // The number of sound ids that hold this sound.
  int GetHolderCount() const { return m_iHolders; }
  void AddHolder() { ++m_iHolders; }
  // One holder fewer (never below 0); returns the holders left.
  int ReleaseHolder();

private:
  int m_iBufferIDX;
  int m_iChannelIDX;
  int m_iHolders;
  BrSoundDrv* m_pOwner;
};
