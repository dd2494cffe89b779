// BrSoundDrv sounds, shared buffers and playing: creating sounds, counting their holders, and placing them.
#include <cmath>
#include <new>

#include "core/BrCoords.h"
#include "core/BrLogFile.h"
#include "core/BrVector.h"
#include "engine/kernel/BrApplication.h"
#include "engine/kernel/BrEngine.h"
#include "plugins/audio_openal/BrOpenALSoundFX.h"
#include "plugins/audio_openal/BrSoundDrv.h"
#include "plugins/audio_openal/SoundDrvGain.h"
#include "plugins/audio_openal/WavReader.h"

namespace {

// OpenAL places, and attenuates by distance, only mono buffers: one of more channels (as most editors save music)
// plays at its gain wherever it is put. Gains here are made for sounds heard from at least 50 units away, so such
// a file would be clamped to full scale, far above every other sound and deaf to the volume settings; it is given
// here the attenuation its place would give a mono one.
float PlacedGain(float gain, ALuint source) {
  ALint buffer = 0, channels = 1;
  alGetSourcei(source, AL_BUFFER, &buffer);
  if (buffer != 0) alGetBufferi(ALuint(buffer), AL_CHANNELS, &channels);
  if (channels <= 1) return gain;
  ALfloat p[3] = {0.0f, 0.0f, 0.0f};
  alGetSourcefv(source, AL_POSITION, p);
  return gain * SoundDrvDistanceGain(std::sqrt(p[0] * p[0] + p[1] * p[1] + p[2] * p[2]));
}

}  // namespace

BrOpenALSoundFX* BrSoundDrv::Sound(int id) const {
  if (id < 0 || id >= m_Sounds.GetCount()) return nullptr;
  // Every sound in this device's list was made by CreateAudio.
  return static_cast<BrOpenALSoundFX*>(m_Sounds[id]);
}

bool BrSoundDrv::CreateAudio(const BrStringT<char>& name, BrAudioID& id) {
  const BrStringT<char> path = Engine().getMediaDir() + "\\" + name;
  int bufferIndex = -1;
  if (!PrepareAudio(path, bufferIndex)) {
    GLog.DebugPrintf("AUDIO: Failed to prepare audio %s", path.c_str() ? path.c_str() : "");
    SetAudioID(id, 0);
    return false;
  }

  // Slot 0 belongs to the error sound for the device's lifetime.
  int index = -1;
  for (int i = 1; i < m_Sounds.GetCount() && index < 0; ++i) {
    BrOpenALSoundFX* sound = Sound(i);
    if (sound && sound->GetBufferIDX() == -1 && sound->GetHolderCount() == 0) index = i;
  }
  BrOpenALSoundFX* sound = nullptr;
  if (index >= 0) {
    sound = Sound(index);
    sound->Init();
    sound->SetName(path);
    sound->SetFileName(name);
  } else {
    try {
      sound = new BrOpenALSoundFX(this);
    } catch (const std::bad_alloc&) {
      SetAudioID(id, 0);
      return false;
    }
    sound->SetName(path);
    sound->SetFileName(name);
    index = m_Sounds.Add(sound);
  }
  // The new sound takes its buffer reference before the id lets go of its old sound: when both use the same
  // file, the buffer must not be freed in between.
  sound->SetBufferIDX(bufferIndex);
  if (id.GetID() == index)
    AudioCreated(index);  // the id kept this number from a sound that is gone, uncounted: it becomes the holder now
  else
    SetAudioID(id, index);
  return true;
}

bool BrSoundDrv::PrepareAudio(const BrStringT<char>& path, int& bufferIndex) {
  if (IsBuffered(path, bufferIndex)) return true;
  if (!m_pContext) return false;  // no OpenAL context: nothing can be buffered
  // A file that could not be read is not read again: objects ask for their sounds at every spawn and every
  // blow, and the log would name it each time.
  for (int i = 0; i < m_Unreadable.GetCount(); ++i)
    if (m_Unreadable[i] == path) return false;
  alGetError();
  ALuint buffer = 0;
  alGenBuffers(1, &buffer);
  const ALenum error = alGetError();
  if (error != AL_NO_ERROR) {
    LogOpenALError("alGenBuffers: ", error);
    return false;
  }
  if (!BufferAudio(buffer, path)) {
    alDeleteBuffers(1, &buffer);
    return false;
  }
  for (int i = 0; i < m_Buffers.GetCount(); ++i) {
    if (m_Buffers[i].GetName() == 0) {
      m_BufferFiles[i] = path;
      m_Buffers[i] = BrOpenALBuffer(buffer);
      bufferIndex = i;
      return true;
    }
  }
  m_BufferFiles.Add(path);
  bufferIndex = m_Buffers.Add(BrOpenALBuffer(buffer));
  return true;
}

bool BrSoundDrv::IsBuffered(const BrStringT<char>& path, int& index) {
  for (int i = 0; i < m_BufferFiles.GetCount(); ++i) {
    // A free slot's file is "", which no real path equals.
    if (m_Buffers[i].GetName() != 0 && m_BufferFiles[i] == path) {
      index = i;
      return true;
    }
  }
  return false;
}

bool BrSoundDrv::BufferAudio(unsigned int buffer, const BrStringT<char>& path) {
  alGetError();
  int format = AL_FORMAT_MONO16;
  void* data = nullptr;
  unsigned int size = 0, frequency = 22050;
  bool loop = false;
  alutLoadWAVFile(path.c_str(), &format, &data, &size, &frequency, &loop);
  ALenum error = alGetError();
  if (error != AL_NO_ERROR || !data) {
    if (!data) m_Unreadable.Add(path);
    LogOpenALError(BrStringT<char>("alutLoadWAVFile : ") + path, error);
    alutUnloadWAV(format, data, size, frequency);
    return false;
  }
  alBufferData(buffer, format, data, ALsizei(size), ALsizei(frequency));
  error = alGetError();
  alutUnloadWAV(format, data, size, frequency);
  if (error != AL_NO_ERROR) {
    LogOpenALError("alBufferData :", error);
    return false;
  }
  GLog.DebugPrintf("AUDIO: Loaded %s", path.c_str());
  return true;
}

void BrSoundDrv::LogOpenALError(const BrStringT<char>& prefix, int error) {
  const char* text = prefix.c_str() ? prefix.c_str() : "";
  switch (error) {
    case AL_INVALID_NAME: GLog.DebugPrintf("%s - Invalid Name", text); break;
    case AL_INVALID_ENUM: GLog.DebugPrintf("%s - Invalid Enum", text); break;
    case AL_INVALID_VALUE: GLog.DebugPrintf("%s - Invalid Value", text); break;
    case AL_INVALID_OPERATION: GLog.DebugPrintf("%s - Invalid Operation", text); break;
    case AL_OUT_OF_MEMORY: GLog.DebugPrintf("%s - Out Of Memory", text); break;
    default: GLog.DebugPrintf("ERROR: Unknown error case in BrSoundDrv::LogOpenALError(..)"); break;
  }
}

void BrSoundDrv::RefBuffer(int i) {
  if (i >= 0 && i < m_Buffers.GetCount()) m_Buffers[i].IncRefCount();
}

void BrSoundDrv::DeRefBuffer(int i) {
  if (i < 0 || i >= m_Buffers.GetCount()) return;
  if (m_Buffers[i].Release() != 0) return;
  ALuint name = m_Buffers[i].GetName();
  if (name != 0) {
    // OpenAL refuses to delete a buffer a source still holds, so every channel holding it lets go first.
    for (int c = 0; c < m_Channels.GetCount(); ++c) {
      ALint attached = 0;
      alGetSourcei(m_Channels[c], AL_BUFFER, &attached);
      if (ALuint(attached) == name) {
        alSourceStop(m_Channels[c]);
        alSourcei(m_Channels[c], AL_BUFFER, 0);
      }
    }
    alDeleteBuffers(1, &name);
  }
  m_Buffers[i] = BrOpenALBuffer();
  GLog.DebugPrintf("AUDIO: %s is no longer required", m_BufferFiles[i].c_str() ? m_BufferFiles[i].c_str() : "");
  m_BufferFiles[i] = BrStringT<char>();
}

void BrSoundDrv::AudioCreated(int id) {
  if (id <= 0 || id >= m_Sounds.GetCount()) return;
  if (BrOpenALSoundFX* sound = Sound(id)) sound->AddHolder();
}

void BrSoundDrv::AudioDestroyed(int id) {
  if (id <= 0 || id >= m_Sounds.GetCount()) return;
  BrOpenALSoundFX* sound = Sound(id);
  if (!sound || sound->ReleaseHolder() > 0) return;
  // The last holder is gone: the sound gives its buffer back and its slot may be reused.
  DeRefBuffer(sound->GetBufferIDX());
  sound->SetBufferIDX(-1);
}

bool BrSoundDrv::PlayAudio2D(const BrAudioID& id) { return PlayAudioPrivate(id, 1, BrVector(0.0f, 50.0f, 0.0f)); }

bool BrSoundDrv::PlayAudio3D(const BrAudioID& id, const BrVector& position) {
  return PlayAudioPrivate(id, 0, position);
}

bool BrSoundDrv::PlayAudioPrivate(const BrAudioID& id, int flat, const BrVector& position) {
  BrOpenALSoundFX* sound = static_cast<BrOpenALSoundFX*>(GetAudio(id));
  if (!sound || m_iAudioOff != 0 || id.GetID() == 0) return false;
  const int bufferIndex = sound->GetBufferIDX();
  if (bufferIndex < 0 || bufferIndex >= m_Buffers.GetCount() || m_Buffers[bufferIndex].GetName() == 0)
    return false;  // a slot whose sound was let go has nothing to play

  int channel = -1;
  for (int c = 0; c < m_Channels.GetCount() && channel < 0; ++c) {
    ALint state = AL_PLAYING;
    alGetSourcei(m_Channels[c], AL_SOURCE_STATE, &state);
    if (state == AL_INITIAL || state == AL_STOPPED) channel = c;
  }
  if (channel < 0) {
    GLog.DebugPrintf("AUDIO: Error playing audio!");
    return false;
  }
  const ALuint source = m_Channels[channel];
  if (!alIsSource(source)) {
    GLog.DebugPrintf("AUDIO: Invalid OpenAL source name while playing audio %i", id.GetID());
    return false;
  }
  // The sound that played on this channel before has finished; it no longer owns the channel.
  for (int i = 0; i < m_Sounds.GetCount(); ++i) {
    BrOpenALSoundFX* other = Sound(i);
    if (other && other != sound && other->GetChannelIDX() == channel) {
      other->SetChannelIDX(-1);
      other->SetIsPlaying(false);
    }
  }

  ResetPropertiesOnSound(sound, source);
  sound->SetChannelIDX(channel);
  alGetError();
  alSourcei(source, AL_BUFFER, ALint(m_Buffers[bufferIndex].GetName()));
  SetAudioPosition(source, flat, position);
  alSourcef(source, AL_GAIN, PlacedGain(SoundDrvSourceGain(sound->GetVolume() * m_fMasterGain), source));
  alSourcePlay(source);
  if (alGetError() != AL_NO_ERROR) {
    GLog.DebugPrintf("AUDIO: Error playing audio!");
    return false;
  }
  sound->SetIsPlaying(true);
  return true;
}

void BrSoundDrv::ResetPropertiesOnSound(BrOpenALSoundFX* sound, unsigned int source) {
  if (!sound) {
    GLog.DebugPrintf("AUDIO: Warning! NULL sound passed to ResetPropertiesOnSound(..)");
    return;
  }
  // OpenAL takes pitches above 0 only; a bad pitch plays at the normal rate.
  const float pitch = sound->GetPitch();
  alSourcef(source, AL_PITCH, pitch > 0.0f && pitch < 1e6f ? pitch : 1.0f);
  alGetError();
  alSourcef(source, AL_GAIN, PlacedGain(SoundDrvSourceGain(sound->GetVolume() * m_fMasterGain), source));
  const ALenum error = alGetError();
  if (error != AL_NO_ERROR) {
    const ALchar* text = alGetString(error);
    GLog.DebugPrintf("Audio Error: %s", text ? text : "");
  }
  alSourcei(source, AL_LOOPING, sound->GetLooping() ? AL_TRUE : AL_FALSE);
}

void BrSoundDrv::SetAudioPosition(unsigned int source, int flat, const BrVector& position) {
  BrCoords listener;
  if (BrApplication* app = Engine().App()) app->GetAudioListenerCoords(listener);
  alListener3f(AL_POSITION, 0.0f, 0.0f, 0.0f);
  alSourcei(source, AL_SOURCE_RELATIVE, AL_TRUE);
  BrVector offset = position;
  if (flat == 0) {
    offset = position - listener.Position;
    if (!(offset.Size() > 50.0f)) offset = BrVector(0.0f, 50.0f, 0.0f);
  }
  // OpenAL refuses a position that is not finite (a bad point, a bad listener, or a difference that overflowed)
  // and would keep the last one.
  if (!std::isfinite(offset.x) || !std::isfinite(offset.y) || !std::isfinite(offset.z))
    offset = BrVector(0.0f, 50.0f, 0.0f);
  alSource3f(source, AL_POSITION, offset.x, offset.y, -offset.z);
}
