// The audio device's test rig: a media folder of generated sounds, a configuration, the engine pointed at both,
// and OpenAL queries on the device's channels.
#pragma once

#include <gtest/gtest.h>

#include <chrono>
#include <string>
#include <thread>

#include "core/BrCoords.h"
#include "engine/kernel/BrApplication.h"
#include "engine/kernel/BrConfigCache.h"
#include "engine/kernel/BrEngine.h"
#include "engine/kernel/BrEngineTestSeams.h"
#include "plugins/audio_openal/BrOpenALSoundFX.h"
#include "plugins/audio_openal/BrSoundDrv.h"
#include "plugins/audio_openal/OpenALApi.h"
#include "tests/plugins/audio_openal/TestSupport.h"
#include "tests/support/RecordingAudioDevice.h"

// Makes app the engine's application until the end of the scope (the engine keeps no other way to clear it).
class ScopedEngineApp {
public:
  explicit ScopedEngineApp(BrApplication* app) : m_pPrevious(BrEngineTestSeams::App()) {
    BrEngineTestSeams::App() = app;
  }
  ~ScopedEngineApp() { BrEngineTestSeams::App() = m_pPrevious; }

private:
  BrApplication* m_pPrevious;
};

// An application whose listener stands at a chosen point.
class ListenerApp : public BrApplication {
public:
  void GetAudioListenerCoords(BrCoords& coords) override {
    coords = BrCoords();
    coords.Position = m_Listener;
  }
  BrVector m_Listener;
};

// A device that is the engine's audio device for its lifetime.
struct EngineSoundDrv {
  BrSoundDrv drv;
  ScopedEngineAudio scope{&drv};
};

class SoundDrvTest : public testing::Test {
protected:
  void SetUp() override {
    m_Media.Write("Sounds/error.wav", ToneWav(0.05, 880));
    m_Media.Write("Sounds/a.wav", ToneWav(0.05, 330));
    m_Media.Write("Sounds/b.wav", ToneWav(0.05, 550));
    m_Media.Write("Sounds/short.wav", ToneWav(0.02));
    m_Media.Write("Sounds/long.wav", ToneWav(2.0));
    m_Media.Write("Sounds/bad.wav", {'R', 'I', 'F', 'F', 1, 2, 3});
    m_pPrevConfig = Engine().GetConfig();
    m_PrevMedia = Engine().getMediaDir();
    Engine().SetConfig(&m_Config);
    Engine().setMediaDir(m_Media.Path().string().c_str());
    m_Config.SetInteger("Audio", "Channels", 32);
  }
  void TearDown() override {
    Engine().SetConfig(m_pPrevConfig);
    Engine().setMediaDir(m_PrevMedia);
  }

  // The full path the device builds for a media file.
  std::string MediaPath(const char* relative) const { return m_Media.Path().string() + "\\" + relative; }

  static BrOpenALSoundFX* SoundOf(BrSoundDrv& drv, const BrAudioID& id) {
    return static_cast<BrOpenALSoundFX*>(drv.GetAudio(id));
  }
  static ALint State(unsigned int source) {
    ALint state = 0;
    alGetSourcei(source, AL_SOURCE_STATE, &state);
    return state;
  }
  // Waits (at most seconds) until the source has finished.
  static bool WaitStopped(unsigned int source, double seconds = 3.0) {
    const auto end = std::chrono::steady_clock::now() + std::chrono::duration<double>(seconds);
    while (State(source) == AL_PLAYING) {
      if (std::chrono::steady_clock::now() > end) return false;
      std::this_thread::sleep_for(std::chrono::milliseconds(5));
    }
    return true;
  }
  static BrVector SourcePosition(unsigned int source) {
    float p[3] = {-1, -1, -1};
    alGetSourcefv(source, AL_POSITION, p);
    return BrVector(p[0], p[1], p[2]);
  }
  static float SourceGain(unsigned int source) {
    float g = -1.0f;
    alGetSourcef(source, AL_GAIN, &g);
    return g;
  }
  static float ListenerGain() {
    float g = -1.0f;
    alGetListenerf(AL_GAIN, &g);
    return g;
  }
  int ConfigInt(const char* key) {
    int v = -99;
    m_Config.GetInteger("Audio", key, v);
    return v;
  }

  TestLog m_Log;
  ScratchDir m_Media;
  BrConfigCache m_Config;
  BrConfigCache* m_pPrevConfig = nullptr;
  BrStringT<char> m_PrevMedia;
};
