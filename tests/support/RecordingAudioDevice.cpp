// RecordingAudioDevice and ScopedEngineAudio: a recording audio device, and the engine's audio slot for tests.
#include "tests/support/RecordingAudioDevice.h"

#include <algorithm>
#include <cstdio>

#include "engine/kernel/BrEngine.h"
#include "engine/kernel/BrEngineTestSeams.h"

namespace {

std::string Line(const char* what, int id) { return std::string(what) + " " + std::to_string(id); }

}  // namespace

RecordingAudioDevice::RecordingAudioDevice() : m_fRolloff(0.0f) {}

RecordingAudioDevice::~RecordingAudioDevice() { StopAllAudio(); }

bool RecordingAudioDevice::Init() {
  m_Calls.push_back("init");
  return true;
}

bool RecordingAudioDevice::CreateAudio(const BrStringT<char>& file, BrAudioID& id) {
  m_Calls.push_back(std::string("create ") + (file.c_str() ? file.c_str() : ""));
  BrSoundFX* sound = new BrSoundFX();
  sound->SetFileName(file);
  SetAudioID(id, m_Sounds.Add(sound));
  return true;
}

bool RecordingAudioDevice::PlayAudio2D(const BrAudioID& id) {
  m_Calls.push_back(Line("play2d", id.GetID()));
  return GetAudio(id) != nullptr;
}

bool RecordingAudioDevice::PlayAudio3D(const BrAudioID& id, const BrVector& position) {
  char at[96];
  std::snprintf(at, sizeof(at), " (%g,%g,%g)", position.x, position.y, position.z);
  m_Calls.push_back(Line("play3d", id.GetID()) + at);
  return GetAudio(id) != nullptr;
}

void RecordingAudioDevice::SetMaxRolloff(const float& value) {
  m_fRolloff = value;
  char line[48];
  std::snprintf(line, sizeof(line), "rolloff %g", value);
  m_Calls.push_back(line);
}

float RecordingAudioDevice::GetMaxRolloff() { return m_fRolloff; }

void RecordingAudioDevice::Mute() { m_Calls.push_back("mute"); }

void RecordingAudioDevice::UnMute() { m_Calls.push_back("unmute"); }

void RecordingAudioDevice::AudioCreated(int id) { m_Calls.push_back(Line("created", id)); }

void RecordingAudioDevice::AudioDestroyed(int id) { m_Calls.push_back(Line("destroyed", id)); }

int RecordingAudioDevice::CountOf(const std::string& line) const {
  return int(std::count(m_Calls.begin(), m_Calls.end(), line));
}

int RecordingAudioDevice::AddSound(BrSoundFX* sound) { return m_Sounds.Add(sound); }

ScopedEngineAudio::ScopedEngineAudio(BrAudioMgrBase* device) : m_pPrevious(BrEngineTestSeams::SetAudio(device)) {}

ScopedEngineAudio::~ScopedEngineAudio() { BrEngineTestSeams::SetAudio(m_pPrevious); }
