// BrOpenALSoundFX: a sound's buffer and channel indices and its holder count.
#include "plugins/audio_openal/BrOpenALSoundFX.h"

#include "plugins/audio_openal/BrSoundDrv.h"

BrOpenALSoundFX::BrOpenALSoundFX(BrSoundDrv* owner)
    : m_iBufferIDX(-1), m_iChannelIDX(-1), m_iHolders(0), m_pOwner(owner) {}

BrOpenALSoundFX::~BrOpenALSoundFX() {}

bool BrOpenALSoundFX::Init() {
  BrSoundFX::Init();
  m_iBufferIDX = -1;
  m_iChannelIDX = -1;
  return true;
}

void BrOpenALSoundFX::Destroy() {
  // The buffer goes back to the device that made this sound, whichever device the engine holds just now.
  if (m_pOwner) m_pOwner->DeRefBuffer(m_iBufferIDX);
  m_iBufferIDX = -1;
  m_iChannelIDX = -1;
  BrSoundFX::Destroy();
}

void BrOpenALSoundFX::SetBufferIDX(int i) {
  m_iBufferIDX = i;
  if (m_pOwner) m_pOwner->RefBuffer(i);
}

int BrOpenALSoundFX::ReleaseHolder() {
  if (m_iHolders > 0) --m_iHolders;
  return m_iHolders;
}
