// OpenAL Soft configured per process: with no usable output the device fails to start and stays silent; through
// the wave-file output a played sound reaches the file at the level its distance and volume give it.
#include "tests/plugins/audio_openal/SoundDrvRig.h"
#include "engine/kernel/BrEngineTestSeams.h"

#include <cmath>
#include <cstdlib>
#include <fstream>
#include <iterator>

namespace {

// OpenAL Soft reads its drivers and configuration once per process, so each of these tests runs its body again
// in a child process of this test program with the environment it needs; the child finds its role in
// BR_SOUNDDRV_CHILD and reports through its exit status.
const char* ChildRole() { return std::getenv("BR_SOUNDDRV_CHILD"); }

std::string gChildOutput;

// Runs the current test in a child with role and environment; its output is kept for ChildOutput.
int RunChild(const std::string& role, const std::string& environment) {
  const testing::TestInfo* test = testing::UnitTest::GetInstance()->current_test_info();
  const std::string self = std::filesystem::read_symlink("/proc/self/exe").string();
  const brtest::TempFolder folder("br_child_" + role);
  const std::filesystem::path output = folder / "output.txt";
  const std::string command = "BR_SOUNDDRV_CHILD=" + role + " " + environment + " '" + self +
                              "' --gtest_filter=" + test->test_suite_name() + "." + test->name() + " >'" +
                              output.string() + "' 2>&1";
  const int status = std::system(command.c_str());
  std::ifstream in(output);
  gChildOutput.assign(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
  return status;
}

std::string ChildOutput() { return gChildOutput; }

void WaitUntilStopped(BrSoundDrv& drv, const BrAudioID& id) {
  const int channel = static_cast<BrOpenALSoundFX*>(drv.GetAudio(id))->GetChannelIDX();
  ASSERT_GE(channel, 0);
  const auto end = std::chrono::steady_clock::now() + std::chrono::seconds(5);
  ALint state = AL_PLAYING;
  while (state == AL_PLAYING && std::chrono::steady_clock::now() < end) {
    std::this_thread::sleep_for(std::chrono::milliseconds(10));
    alGetSourcei(drv.GetChannel(channel), AL_SOURCE_STATE, &state);
  }
  EXPECT_NE(state, AL_PLAYING);
}

// The int16 frames of a wave file written by OpenAL Soft, interleaved; empty when it cannot be read.
std::vector<int16_t> ReadOutput(const std::string& path, int& channels) {
  std::ifstream in(path, std::ios::binary);
  std::vector<uint8_t> bytes((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
  std::vector<int16_t> samples;
  channels = 0;
  size_t pos = 12;
  while (bytes.size() >= 12 && pos + 8 <= bytes.size()) {
    const std::string id(bytes.begin() + long(pos), bytes.begin() + long(pos) + 4);
    const uint32_t size = uint32_t(bytes[pos + 4]) | uint32_t(bytes[pos + 5]) << 8 | uint32_t(bytes[pos + 6]) << 16 |
                          uint32_t(bytes[pos + 7]) << 24;
    const size_t content = pos + 8;
    if (id == "fmt " && content + 16 <= bytes.size()) {
      channels = bytes[content + 2];
      if (bytes[content + 14] != 16) return {};
    } else if (id == "data") {
      const size_t end = std::min(bytes.size(), content + size);
      for (size_t i = content; i + 1 < end; i += 2) samples.push_back(int16_t(bytes[i] | bytes[i + 1] << 8));
      break;
    }
    pos = content + size + (size & 1);
  }
  return samples;
}

struct Burst {
  size_t start = 0, end = 0;  // frames
  double rmsLeft = 0, rmsRight = 0;
};

// Stretches of sound separated by at least a tenth of a second of silence.
std::vector<Burst> FindBursts(const std::vector<int16_t>& s, int channels, int rate) {
  std::vector<Burst> bursts;
  const size_t frames = s.size() / size_t(channels);
  const size_t gap = size_t(rate / 10);
  size_t lastLoud = 0;
  bool in = false;
  for (size_t f = 0; f < frames; ++f) {
    const bool loud = std::abs(s[f * channels]) > 3 || std::abs(s[f * channels + channels - 1]) > 3;
    if (loud) {
      if (!in || f - lastLoud > gap) {
        bursts.push_back(Burst{f, f, 0, 0});
        in = true;
      }
      lastLoud = f;
      bursts.back().end = f + 1;
    }
  }
  for (Burst& b : bursts) {
    double l = 0, r = 0;
    for (size_t f = b.start; f < b.end; ++f) {
      l += double(s[f * channels]) * s[f * channels];
      r += double(s[f * channels + channels - 1]) * s[f * channels + channels - 1];
    }
    const double n = double(b.end - b.start);
    b.rmsLeft = std::sqrt(l / n);
    b.rmsRight = std::sqrt(r / n);
  }
  return bursts;
}

}  // namespace

TEST_F(SoundDrvTest, WithoutAnOutputDeviceInitFailsAndSoundStaysSilent) {
  if (!ChildRole()) {
    // No backend OpenAL Soft knows: nothing can be opened.
    EXPECT_EQ(RunChild("nodevice", "ALSOFT_DRIVERS=no-such-backend"), 0) << ChildOutput();
    return;
  }
  EngineSoundDrv e;
  EXPECT_FALSE(e.drv.Init());
  EXPECT_TRUE(m_Log.Has("ERROR: Failed to Initialize OpenAL")) << m_Log.Text();
  EXPECT_TRUE(m_Log.Has("ERROR: Failed to create an OpenAL context"));
  EXPECT_FALSE(e.drv.HasContext());
  // The game goes on: sounds hand out the silent id 0 and nothing plays.
  BrAudioID id;
  EXPECT_FALSE(e.drv.CreateAudio("Sounds\\a.wav", id));
  EXPECT_EQ(id.GetID(), 0);
  EXPECT_FALSE(e.drv.PlayAudio2D(id));
  EXPECT_FALSE(e.drv.PlayAudio3D(id, BrVector(0, 0, 100)));
  e.drv.SetMaxRolloff(125.0f);
  e.drv.Mute();
  e.drv.UnMute();
  e.drv.Step(0.1f);
  EXPECT_TRUE(e.drv.Exit());
}

TEST_F(SoundDrvTest, APlayedSoundReachesTheWaveFileAtItsLevel) {
  if (!ChildRole()) {
    const brtest::TempFolder dir("br_sounddrv_wave");
    const std::filesystem::path output = dir / "out.wav";
    const std::filesystem::path conf = dir / "alsoft.conf";
    std::ofstream(conf) << "[general]\nchannels = stereo\nsample-type = int16\nfrequency = 44100\n"
                        << "[wave]\nfile = " << output.string() << "\n";
    ASSERT_EQ(RunChild("wave", "ALSOFT_DRIVERS=wave ALSOFT_CONF='" + conf.string() + "' BR_SOUNDDRV_OUT='" +
                                   output.string() + "'"),
              0)
        << ChildOutput();

    int channels = 0;
    const std::vector<int16_t> samples = ReadOutput(output.string(), channels);
    ASSERT_EQ(channels, 2);
    const std::vector<Burst> bursts = FindBursts(samples, channels, 44100);
    ASSERT_EQ(bursts.size(), 2u);
    // A tone of peak 16000 has an RMS of 16000 / sqrt(2); heard from 50 units away under the inverse-distance
    // model (reference distance 1) it is scaled by 1 / 50, and from straight overhead OpenAL Soft's stereo output
    // gives each speaker half of it.
    const double expected = 16000.0 / std::sqrt(2.0) / 50.0 * 0.5;
    EXPECT_NEAR(bursts[0].rmsLeft, expected, expected * 0.05);
    EXPECT_NEAR(bursts[0].rmsRight, expected, expected * 0.05);
    // The second play, at half volume, is half as loud; each lasts the tone's 0.3 s.
    EXPECT_NEAR(bursts[1].rmsLeft / bursts[0].rmsLeft, 0.5, 0.05);
    for (const Burst& b : bursts) EXPECT_NEAR(double(b.end - b.start) / 44100.0, 0.3, 0.03);
    return;
  }

  m_Media.Write("Sounds/tone.wav", ToneWav(0.3, 1000.0, 16000));
  EngineSoundDrv e;
  ASSERT_TRUE(e.drv.Init()) << m_Log.Text();
  e.drv.SetMaxRolloff(125.0f);
  BrAudioID full, half;
  ASSERT_TRUE(e.drv.CreateAudio("Sounds\\tone.wav", full));
  ASSERT_TRUE(e.drv.CreateAudio("Sounds\\tone.wav", half));
  e.drv.GetAudio(half)->SetVolume(0.5f);
  std::this_thread::sleep_for(std::chrono::milliseconds(200));
  ASSERT_TRUE(e.drv.PlayAudio2D(full));
  WaitUntilStopped(e.drv, full);
  std::this_thread::sleep_for(std::chrono::milliseconds(250));
  ASSERT_TRUE(e.drv.PlayAudio2D(half));
  WaitUntilStopped(e.drv, half);
  std::this_thread::sleep_for(std::chrono::milliseconds(200));
  full.Stop();
  half.Stop();
  EXPECT_TRUE(e.drv.Exit());
  const char* output = std::getenv("BR_SOUNDDRV_OUT");
  ASSERT_NE(output, nullptr);
  EXPECT_TRUE(std::filesystem::exists(output));
}

// The three volume settings differ as the master gain says (setting / 125 times the 1 / 50 of the placement),
// mute silences and unmute restores: gains clamped before OpenAL's attenuation made them all one quiet level.
TEST_F(SoundDrvTest, TheVolumeSettingsAndMuteReachTheWaveFile) {
  if (!ChildRole()) {
    const brtest::TempFolder dir("br_sounddrv_levels");
    const std::filesystem::path output = dir / "out.wav";
    const std::filesystem::path conf = dir / "alsoft.conf";
    std::ofstream(conf) << "[general]\nchannels = stereo\nsample-type = int16\nfrequency = 44100\n"
                        << "[wave]\nfile = " << output.string() << "\n";
    ASSERT_EQ(RunChild("levels", "ALSOFT_DRIVERS=wave ALSOFT_CONF='" + conf.string() + "'"), 0) << ChildOutput();
    int channels = 0;
    const std::vector<int16_t> samples = ReadOutput(output.string(), channels);
    ASSERT_EQ(channels, 2);
    const std::vector<Burst> bursts = FindBursts(samples, channels, 44100);
    // 1250, 2500, 3750, then muted (silent), then unmuted at 3750.
    ASSERT_EQ(bursts.size(), 4u);
    const double fullScale = 16000.0 / std::sqrt(2.0) * 0.5;  // each speaker's half, from overhead
    const double levels[4] = {0.2, 0.4, 0.6, 0.6};
    for (int i = 0; i < 4; ++i) {
      EXPECT_NEAR(bursts[size_t(i)].rmsLeft, fullScale * levels[i], fullScale * levels[i] * 0.05) << i;
      EXPECT_NEAR(bursts[size_t(i)].rmsRight, fullScale * levels[i], fullScale * levels[i] * 0.05) << i;
    }
    return;
  }
  m_Media.Write("Sounds/tone.wav", ToneWav(0.3, 1000.0, 16000));
  EngineSoundDrv e;
  ASSERT_TRUE(e.drv.Init()) << m_Log.Text();
  BrAudioID id;
  ASSERT_TRUE(e.drv.CreateAudio("Sounds\\tone.wav", id));
  std::this_thread::sleep_for(std::chrono::milliseconds(200));
  auto play = [&]() {
    ASSERT_TRUE(e.drv.PlayAudio2D(id));
    WaitUntilStopped(e.drv, id);
    std::this_thread::sleep_for(std::chrono::milliseconds(250));
  };
  for (float setting : {1250.0f, 2500.0f, 3750.0f}) {
    e.drv.SetMaxRolloff(setting);
    play();
  }
  e.drv.Mute();
  play();
  e.drv.UnMute();
  play();
  id.Stop();
  EXPECT_TRUE(e.drv.Exit());
}

// Music saved in stereo (as editors save it) is placed like the game's mono sounds: OpenAL does not attenuate a
// stereo buffer by its distance, and the gain meant for 50 units away played it at full scale.
TEST_F(SoundDrvTest, AStereoFileIsHeardAtTheLevelOfItsPlaceLikeAMonoOne) {
  if (!ChildRole()) {
    const brtest::TempFolder dir("br_sounddrv_stereo");
    const std::filesystem::path output = dir / "out.wav";
    const std::filesystem::path conf = dir / "alsoft.conf";
    std::ofstream(conf) << "[general]\nchannels = stereo\nsample-type = int16\nfrequency = 44100\n"
                        << "[wave]\nfile = " << output.string() << "\n";
    ASSERT_EQ(RunChild("stereo", "ALSOFT_DRIVERS=wave ALSOFT_CONF='" + conf.string() + "'"), 0) << ChildOutput();
    int channels = 0;
    const std::vector<int16_t> samples = ReadOutput(output.string(), channels);
    ASSERT_EQ(channels, 2);
    const std::vector<Burst> bursts = FindBursts(samples, channels, 44100);
    ASSERT_EQ(bursts.size(), 2u);
    // Each speaker gets its own channel whole, at the 1 / 50 of the placement: twice the mono tone's half.
    const double expected = 16000.0 / std::sqrt(2.0) / 50.0;
    EXPECT_NEAR(bursts[0].rmsLeft, expected, expected * 0.05);
    EXPECT_NEAR(bursts[0].rmsRight, expected, expected * 0.05);
    EXPECT_NEAR(bursts[1].rmsLeft / bursts[0].rmsLeft, 0.5, 0.05) << "the volume reaches a stereo sound";
    return;
  }
  std::vector<uint8_t> frames;
  for (size_t i = 0; i < 13230; ++i) {
    const auto v = uint16_t(int16_t(std::lround(16000.0 * std::sin(2.0 * 3.14159265358979 * 1000.0 * i / 44100))));
    WavImage::PutU16(frames, v);
    WavImage::PutU16(frames, v);
  }
  m_Media.Write("Sounds/stereo.wav", WavImage().Format(1, 2, 44100, 16).Data(frames).Bytes());
  EngineSoundDrv e;
  ASSERT_TRUE(e.drv.Init()) << m_Log.Text();
  e.drv.SetMaxRolloff(125.0f);
  BrAudioID full, half;
  ASSERT_TRUE(e.drv.CreateAudio("Sounds\\stereo.wav", full));
  ASSERT_TRUE(e.drv.CreateAudio("Sounds\\stereo.wav", half));
  e.drv.GetAudio(half)->SetVolume(0.5f);
  std::this_thread::sleep_for(std::chrono::milliseconds(200));
  for (BrAudioID* id : {&full, &half}) {
    ASSERT_TRUE(e.drv.PlayAudio2D(*id));
    WaitUntilStopped(e.drv, *id);
    std::this_thread::sleep_for(std::chrono::milliseconds(250));
  }
  full.Stop();
  half.Stop();
  EXPECT_TRUE(e.drv.Exit());
}

// The engine loads SoundDrv, whose Init finds no output to open: the engine lets go of the device and the run goes
// on without sound, its sound ids only keeping their values.
TEST_F(SoundDrvTest, TheEngineGoesOnWithoutSoundWhenNoOutputOpens) {
  if (!ChildRole()) {
    EXPECT_EQ(RunChild("enginenodevice", "ALSOFT_DRIVERS=no-such-backend"), 0) << ChildOutput();
    return;
  }
  ScratchDir drivers;
  std::filesystem::create_directories(drivers.Path() / "plug-ins");
  std::filesystem::copy_file(SOUNDDRV_MODULE, drivers.Path() / "plug-ins" / "SoundDrv.so");
  std::snprintf(Engine().DriversDir(), BrEngine::ciPathLen, "%s", drivers.Path().string().c_str());
  m_Config.SetString("Audio", "Device", "SoundDrv");

  EXPECT_FALSE(BrEngineTestSeams::InitAudio());
  EXPECT_EQ(Engine().Audio(), nullptr);
  EXPECT_TRUE(m_Log.Has("ERROR: Failed to create an OpenAL context")) << m_Log.Text();
  EXPECT_TRUE(m_Log.Has("WARNING: Failed to initiate Audio device"));
  BrAudioID id(3);
  BrAudioID copy(id);
  copy.Stop();
  EXPECT_EQ(copy.GetID(), 3);
  Engine().Step(0.016f);
  EXPECT_FALSE(GExit);
}
