// BrSoundFX: the stored properties of one sound; the audio device's sound class plays it.
#include "engine/presentation/BrSoundFX.h"

BrSoundFX::BrSoundFX() : m_fVolume(1.0f), m_fPitch(1.0f), m_bLooping(false), m_bPlaying(false) { BrSoundFX::Init(); }
BrSoundFX::~BrSoundFX() {}

bool BrSoundFX::Init() {
  m_fVolume = 1.0f;
  m_fPitch = 1.0f;
  m_bLooping = false;
  m_bPlaying = false;
  return true;
}

void BrSoundFX::SetVolume(float volume) { m_fVolume = volume; }
void BrSoundFX::SetPitch(float pitch) { m_fPitch = pitch; }
void BrSoundFX::SetLooping(bool looping) { m_bLooping = looping; }
bool BrSoundFX::IsPlaying() { return m_bPlaying; }
