// The audio device base and sound ids: holders reported for each id, volume steps paced and wrapped, sounds owned.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "engine/presentation/BrAudioID.h"
#include "engine/presentation/BrAudioMgrBase.h"
#include "engine/presentation/BrSoundFX.h"
#include "tests/support/RecordingAudioDevice.h"

namespace {

using Calls = std::vector<std::string>;

// A sound that notes its Destroy and its deletion in a shared list.
class NotingSound : public BrSoundFX {
public:
  NotingSound(Calls& notes, int tag) : m_Notes(notes), m_Tag(tag) {}
  ~NotingSound() override { m_Notes.push_back("deleted " + std::to_string(m_Tag)); }
  void Destroy() override {
    m_Notes.push_back("destroy " + std::to_string(m_Tag));
    BrSoundFX::Destroy();
  }

private:
  Calls& m_Notes;
  int m_Tag;
};

}  // namespace

TEST(BrAudioID, CopiesAndDestructionReportEachHolder) {
  RecordingAudioDevice device;
  ScopedEngineAudio scope(&device);
  {
    BrAudioID a(3);
    BrAudioID b(a);
    EXPECT_EQ(b.GetID(), 3);
    EXPECT_TRUE(b.Ready());
  }
  EXPECT_EQ(device.Calls(), (Calls{"created 3", "created 3", "destroyed 3", "destroyed 3"}));

  device.ClearCalls();
  {
    BrAudioID a(4), b(7);
    device.ClearCalls();
    a = b;
    EXPECT_EQ(device.Calls(), (Calls{"destroyed 4", "created 7"}));
    EXPECT_EQ(a.GetID(), 7);
    device.ClearCalls();
  }
  EXPECT_EQ(device.Calls(), (Calls{"destroyed 7", "destroyed 7"}));
}

// An equal id handed over again must not release the sound on the way: a sound held only there would be torn down.
TEST(BrAudioID, AssigningTheSameSoundReportsNothing) {
  RecordingAudioDevice device;
  ScopedEngineAudio scope(&device);
  BrAudioID a(5), b(5);
  device.ClearCalls();
  a = b;
  a = a;
  EXPECT_TRUE(device.Calls().empty());
  EXPECT_EQ(a.GetID(), 5);
}

TEST(BrAudioID, NoSoundIsNeverReported) {
  RecordingAudioDevice device;
  ScopedEngineAudio scope(&device);
  {
    BrAudioID none;
    BrAudioID minus(-1);
    BrAudioID copy(none);
    EXPECT_FALSE(none.Ready());
    none.Stop();
    BrAudioID held(2);
    device.ClearCalls();
    held = none;  // releases 2, reports no holder of -1
    EXPECT_EQ(device.Calls(), (Calls{"destroyed 2"}));
    device.ClearCalls();
    none = BrAudioID();  // -1 over -1
    minus = copy;
  }
  EXPECT_TRUE(device.Calls().empty()) << device.Calls().size();
}

TEST(BrAudioID, StopNeedsADevice) {
  BrAudioID withoutDevice(6);  // no engine audio: nothing to tell, nothing changes
  withoutDevice.Stop();
  EXPECT_EQ(withoutDevice.GetID(), 6);

  RecordingAudioDevice device;
  ScopedEngineAudio scope(&device);
  BrAudioID held(6);
  device.ClearCalls();
  held.Stop();
  EXPECT_FALSE(held.Ready());
  EXPECT_EQ(held.GetID(), -1);
  EXPECT_EQ(device.Calls(), (Calls{"destroyed 6"}));
  held.Stop();
  EXPECT_EQ(device.Calls().size(), 1u);
  withoutDevice = BrAudioID();  // leaves the value -1 so the scope's end reports nothing odd
}

TEST(BrAudioMgrBase, SetAudioIDReleasesTheOldSoundExceptTheErrorSound) {
  RecordingAudioDevice device;
  ScopedEngineAudio scope(&device);
  BrAudioID id;
  device.SetAudioID(id, 4);
  EXPECT_EQ(device.Calls(), (Calls{"created 4"}));  // -1 before: nothing released
  device.ClearCalls();
  device.SetAudioID(id, 4);
  EXPECT_TRUE(device.Calls().empty());
  device.SetAudioID(id, 0);
  EXPECT_EQ(device.Calls(), (Calls{"destroyed 4", "created 0"}));
  device.ClearCalls();
  device.SetAudioID(id, 2);  // 0 is the error sound, kept for the device's lifetime
  EXPECT_EQ(device.Calls(), (Calls{"created 2"}));
  device.ClearCalls();
  device.SetAudioID(id, -1);
  EXPECT_EQ(device.Calls(), (Calls{"destroyed 2"}));
}

TEST(BrAudioMgrBase, CreateAudioHandsTheHolderItsSound) {
  RecordingAudioDevice device;
  ScopedEngineAudio scope(&device);
  BrAudioID id;
  ASSERT_TRUE(device.CreateAudio("Sounds\\a.wav", id));
  EXPECT_EQ(id.GetID(), 0);
  ASSERT_NE(device.GetAudio(id), nullptr);
  EXPECT_STREQ(device.GetAudio(id)->GetFileName().c_str(), "Sounds\\a.wav");
  EXPECT_EQ(device.GetAudio(BrAudioID()), nullptr);
  EXPECT_EQ(device.GetAudio(BrAudioID(1)), nullptr);
}

TEST(BrAudioMgrBase, VolumeStepsArePacedAndWrap) {
  RecordingAudioDevice device;
  device.AddVolumeSetting(1250);
  device.AddVolumeSetting(2500);
  device.AddVolumeSetting(3750);
  EXPECT_EQ(device.GetMasterVolume(), 2);

  // Nothing before half a second has passed since the last change.
  device.VolumeUp();
  EXPECT_TRUE(device.Calls().empty());
  device.Step(0.6f);
  device.VolumeUp();  // from the last setting back to the first
  device.VolumeUp();  // within 0.5 s: ignored
  EXPECT_EQ(device.Calls(), (Calls{"rolloff 1250"}));
  EXPECT_EQ(device.GetMasterVolume(), 0);
  EXPECT_FLOAT_EQ(device.VolumeTimer(), 0.0f);

  device.ClearCalls();
  device.Step(0.5f);
  device.VolumeDown();  // exactly 0.5 s is not enough
  EXPECT_TRUE(device.Calls().empty());
  device.Step(0.01f);
  device.VolumeDown();  // below the first: the last
  EXPECT_EQ(device.Calls(), (Calls{"rolloff 3750"}));
  EXPECT_EQ(device.GetMasterVolume(), 2);
  device.Step(1.0f);
  device.VolumeDown();
  EXPECT_EQ(device.GetMasterVolume(), 1);

  device.ClearCalls();
  EXPECT_FALSE(device.SetMasterVolume(3));
  EXPECT_FALSE(device.SetMasterVolume(-1));
  EXPECT_TRUE(device.Calls().empty());
  EXPECT_EQ(device.GetMasterVolume(), 1);
  EXPECT_TRUE(device.SetMasterVolume(0));
  EXPECT_EQ(device.Calls(), (Calls{"rolloff 1250"}));
}

TEST(BrAudioMgrBase, VolumeStepsWithoutSettingsChangeNothing) {
  RecordingAudioDevice device;
  device.Step(1.0f);
  device.VolumeUp();
  device.Step(1.0f);
  device.VolumeDown();
  EXPECT_TRUE(device.Calls().empty());
}

TEST(BrAudioMgrBase, ExitDestroysAndDeletesEverySoundAndForgetsTheSettings) {
  Calls notes;
  RecordingAudioDevice device;
  device.AddSound(new NotingSound(notes, 0));
  device.AddSound(new NotingSound(notes, 1));
  device.AddVolumeSetting(100);
  EXPECT_TRUE(device.Exit());
  EXPECT_EQ(notes, (Calls{"destroy 0", "deleted 0", "destroy 1", "deleted 1"}));
  EXPECT_EQ(device.SoundCount(), 0);
  EXPECT_EQ(device.SettingCount(), 0);
  EXPECT_FALSE(device.SetMasterVolume(0));
}

TEST(BrSoundFX, StartsAtFullVolumeAndNormalPitchAndResetsOnInit) {
  BrSoundFX sound;
  EXPECT_FLOAT_EQ(sound.GetVolume(), 1.0f);
  EXPECT_FLOAT_EQ(sound.GetPitch(), 1.0f);
  EXPECT_FALSE(sound.GetLooping());
  EXPECT_FALSE(sound.IsPlaying());
  sound.SetVolume(0.1f);
  sound.SetPitch(2.0f);
  sound.SetLooping(true);
  sound.SetIsPlaying(true);
  EXPECT_FLOAT_EQ(sound.GetVolume(), 0.1f);
  EXPECT_FLOAT_EQ(sound.GetPitch(), 2.0f);
  EXPECT_TRUE(sound.GetLooping());
  EXPECT_TRUE(sound.IsPlaying());
  EXPECT_TRUE(sound.Init());
  EXPECT_FLOAT_EQ(sound.GetVolume(), 1.0f);
  EXPECT_FALSE(sound.GetLooping());
  EXPECT_FALSE(sound.IsPlaying());
}
