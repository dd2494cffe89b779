// BrAudioID: a sound id (-1 for none) whose construction, copy and destruction tell the audio device of its holders.
#pragma once

#include <cstdint>

class BrAudioMgrBase;

class BrAudioID {
public:
  // -1, nothing reported.
  BrAudioID();
  // Stores id; reports a holder when the engine has an audio device.
  BrAudioID(int id);
  // Copies the id; reports a holder when the engine has an audio device.
  BrAudioID(const BrAudioID& other);
  // Reports the release of the old id and a holder of the new one (with an audio device); assigning the id it
  // already holds reports nothing. -1 is never reported.
  BrAudioID& operator=(const BrAudioID& other);
  // Stop().
  ~BrAudioID();

  // With an audio device: reports the release and becomes -1; without one nothing changes.
  void Stop();
  // The sound id, -1 for none.
  int GetID() const { return m_iID; }
  // The id is not -1.
  bool Ready() const { return m_iID != -1; }

private:
  friend class BrAudioMgrBase;
  // Tells the engine's audio device of one more (or one fewer) holder; -1 is never reported.
  static void Report(int id, bool created);
  int32_t m_iID;
};
