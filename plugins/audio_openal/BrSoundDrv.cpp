// BrSoundDrv start-up, shut-down, channels, the per-frame update and the master volume.
#include "plugins/audio_openal/BrSoundDrv.h"

#include <cmath>
#include <new>

#include "core/BrLogFile.h"
#include "engine/kernel/BrConfigCache.h"
#include "engine/kernel/BrEngine.h"
#include "plugins/audio_openal/ALDeviceList.h"
#include "plugins/audio_openal/BrOpenALSoundFX.h"
#include "plugins/audio_openal/SoundDrvGain.h"

namespace {

int ConfigInteger(const char* section, const char* key, int fallback) {
  int value = fallback;
  if (BrConfigCache* config = Engine().GetConfig()) config->GetInteger(section, key, value);
  return value;
}

}  // namespace

BrSoundDrv::BrSoundDrv() : m_fMasterGain(1.0f), m_iAudioOff(0), m_pDevice(nullptr), m_pContext(nullptr) {}

BrSoundDrv::~BrSoundDrv() { Exit(); }

bool BrSoundDrv::Init() {
  BrStringT<char> word("Software");
  const int hardware = ConfigInteger("Audio", "Hardware", 0);
  m_iAudioOff = ConfigInteger("Audio", "NoAudio", 0);
  if (hardware != 0) word = "Hardware";

  ALDeviceList* list = EnumerateDevices();
  if (!list) {
    GLog.WriteLine("ERROR: No OpenAL devices available for audio output");
    return false;
  }
  ALCdevice* device = OpenPreferredDevice(list, word);
  delete list;

  ALCcontext* context = device ? alcCreateContext(device, nullptr) : nullptr;
  if (!context) {
    GLog.WriteLine("ERROR: Failed to create an OpenAL context");
    // A device opened without a context would otherwise stay open for the rest of the run.
    if (device) alcCloseDevice(device);
    return false;
  }
  m_pDevice = device;
  m_pContext = context;
  alcMakeContextCurrent(context);

  BrAudioID errorSound;
  if (!CreateAudio("Sounds\\error.wav", errorSound) && m_Sounds.GetCount() == 0) {
    // Without the file, id 0 must still be the silent error sound, or the first real sound would take id 0
    // and never play.
    try {
      BrOpenALSoundFX* placeholder = new BrOpenALSoundFX(this);
      placeholder->SetName("Sounds\\error.wav");
      m_Sounds.Add(placeholder);
    } catch (const std::bad_alloc&) {
      GLog.WriteLine("ERROR: Out of memory for the error sound");
    }
  }

  InitChannels();
  // Every sound is then refused with a debug line only: without this the log would say the audio started and
  // never why nothing is heard.
  if (m_Channels.GetCount() == 0) GLog.WriteLine("WARNING: No audio channels were made, the game will be silent");
  alDistanceModel(AL_INVERSE_DISTANCE_CLAMPED);
  m_fMasterGain = 1.0f;
  return true;
}

ALDeviceList* BrSoundDrv::EnumerateDevices() {
  ALDeviceList* list = new (std::nothrow) ALDeviceList();
  if (!list) return nullptr;
  GLog.printf("Enumerating OpenAL devices");
  for (int i = 0; i < list->DeviceCount(); ++i) {
    int major = 0, minor = 0;
    list->DeviceVersion(i, major, minor);
    GLog.printf("\t%d. %s, Spec Version %d.%d\n", i + 1, list->DeviceName(i), major, minor);
  }
  return list;
}

ALCdevice* BrSoundDrv::OpenPreferredDevice(ALDeviceList* list, BrStringT<char>& word) {
  const char* chosen = nullptr;
  for (int i = 0; list && i < list->DeviceCount() && !chosen; ++i) {
    const BrStringT<char> name(list->DeviceName(i));
    if (name.Find(word, 0) >= 0) chosen = list->DeviceName(i);
  }
  if (!chosen) {
    GLog.printf("Failed to find a %s device, so switching to system's default device",
                word.c_str() ? word.c_str() : "");
    // An empty list names no default; OpenAL's own default device is asked for then.
    chosen = list ? list->DeviceName(list->DefaultDevice()) : nullptr;
  }
  GLog.printf("Selecting device: %s", chosen ? chosen : "system default");
  const bool isHardware = chosen && BrStringT<char>(chosen).Find("Hardware", 0) >= 0;
  if (BrConfigCache* config = Engine().GetConfig()) config->SetInteger("Audio", "Hardware", isHardware ? 1 : 0);

  ALCdevice* device = alcOpenDevice(chosen);
  if (!device) GLog.WriteLine("ERROR: Failed to Initialize OpenAL");
  return device;
}

void BrSoundDrv::InitChannels() {
  int wanted = ConfigInteger("Audio", "Channels", 0);
  if (wanted < 0) wanted = 0;
  if (wanted > kMaxChannels) wanted = kMaxChannels;
  alGetError();
  for (int i = 0; i < wanted; ++i) {
    ALuint source = 0;
    alGenSources(1, &source);
    if (alGetError() != AL_NO_ERROR) {
      GLog.printf("ERROR: OpenAL could only create%i/%i channels", m_Channels.GetCount(), wanted);
      break;
    }
    m_Channels.Add(source);
  }
}

void BrSoundDrv::DestroyChannels() {
  const int count = m_Channels.GetCount();
  if (count > 0) {
    for (int i = 0; i < count; ++i) alSourceStop(m_Channels[i]);
    alDeleteSources(count, &m_Channels[0]);
  }
  m_Channels.Clear();
}

bool BrSoundDrv::Exit() {
  StopAllAudio();
  // Sources go first: OpenAL refuses to delete a buffer that a source still holds.
  DestroyChannels();
  for (int i = 0; i < m_Buffers.GetCount(); ++i) {
    ALuint name = m_Buffers[i].GetName();
    if (name != 0) alDeleteBuffers(1, &name);
  }
  m_Buffers.Clear();
  for (int i = 0; i < m_BufferFiles.GetCount(); ++i) m_BufferFiles[i] = BrStringT<char>();
  m_BufferFiles.Clear();

  if (m_pContext) {
    if (alcGetCurrentContext() == m_pContext) alcMakeContextCurrent(nullptr);
    alcDestroyContext(m_pContext);
    m_pContext = nullptr;
  }
  if (m_pDevice) {
    alcCloseDevice(m_pDevice);
    m_pDevice = nullptr;
  }
  return true;
}

void BrSoundDrv::Step(float dt) {
  for (int i = 0; i < m_Sounds.GetCount(); ++i) {
    BrOpenALSoundFX* sound = Sound(i);
    if (!sound) continue;
    const int channel = sound->GetChannelIDX();
    if (channel < 0 || channel >= m_Channels.GetCount()) continue;
    const ALuint source = m_Channels[channel];
    ALint state = AL_STOPPED;
    alGetSourcei(source, AL_SOURCE_STATE, &state);
    if (state != AL_PLAYING) {
      sound->SetChannelIDX(-1);
      sound->SetIsPlaying(false);
      continue;
    }
    if (!alIsSource(source)) GLog.DebugPrintf("AUDIO: Invalid channel while updating audio %i", i);
    if (channel == 0) ResetPropertiesOnSound(sound, source);
  }
  BrAudioMgrBase::Step(dt);
}

void BrSoundDrv::SetMaxRolloff(const float& volume) {
  m_fMasterGain = volume / 125.0f;
  alListenerf(AL_GAIN, SoundDrvListenerGain(m_fMasterGain));
}

float BrSoundDrv::GetMaxRolloff() { return m_fMasterGain * 125.0f; }

void BrSoundDrv::Mute() { alListenerf(AL_GAIN, 0.0f); }

void BrSoundDrv::UnMute() { alListenerf(AL_GAIN, SoundDrvListenerGain(m_fMasterGain)); }

const BrOpenALBuffer* BrSoundDrv::GetBuffer(int i) const {
  return i >= 0 && i < m_Buffers.GetCount() ? &m_Buffers[i] : nullptr;
}

const char* BrSoundDrv::GetBufferFile(int i) const {
  return i >= 0 && i < m_BufferFiles.GetCount() ? m_BufferFiles[i].c_str() : nullptr;
}

unsigned int BrSoundDrv::GetChannel(int i) const { return i >= 0 && i < m_Channels.GetCount() ? m_Channels[i] : 0; }
