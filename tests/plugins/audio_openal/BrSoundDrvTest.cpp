// The audio device on OpenAL Soft's null output: start-up, shared buffers and their holders, channels, placement,
// volume, the per-frame update and shut-down.
#include "tests/plugins/audio_openal/SoundDrvRig.h"

#include <cmath>

#include "plugins/audio_openal/ALDeviceList.h"

TEST_F(SoundDrvTest, InitOpensTheDeviceLoadsTheErrorSoundAndCapsTheChannels) {
  m_Config.SetInteger("Audio", "Channels", 40);
  EngineSoundDrv e;
  ASSERT_TRUE(e.drv.Init());
  EXPECT_TRUE(e.drv.HasContext());
  EXPECT_EQ(e.drv.GetChannelCount(), BrSoundDrv::kMaxChannels);
  for (int i = 0; i < e.drv.GetChannelCount(); ++i) EXPECT_TRUE(alIsSource(e.drv.GetChannel(i))) << i;
  EXPECT_FLOAT_EQ(e.drv.GetMasterGain(), 1.0f);
  ALint model = 0;
  model = alGetInteger(0xD000 /* AL_DISTANCE_MODEL */);
  EXPECT_EQ(model, AL_INVERSE_DISTANCE_CLAMPED);

  // Id 0 is the error sound, buffered and never played.
  ASSERT_EQ(e.drv.GetSoundCount(), 1);
  EXPECT_STREQ(e.drv.GetBufferFile(0), MediaPath("Sounds\\error.wav").c_str());
  EXPECT_EQ(SoundOf(e.drv, BrAudioID(0))->GetBufferIDX(), 0);
  m_Log.Clear();
  EXPECT_FALSE(e.drv.PlayAudio2D(BrAudioID(0)));
  EXPECT_FALSE(m_Log.Has("Error playing audio"));
}

TEST_F(SoundDrvTest, InitLogsTheDevicesAndRecordsTheChoice) {
  m_Config.SetInteger("Audio", "Hardware", 1);
  EngineSoundDrv e;
  ASSERT_TRUE(e.drv.Init());
  EXPECT_TRUE(m_Log.Has("Enumerating OpenAL devices"));
  EXPECT_TRUE(m_Log.Has("\t1. "));
  EXPECT_TRUE(m_Log.Has("Failed to find a Hardware device, so switching to system's default device"));
  EXPECT_TRUE(m_Log.Has("Selecting device: "));
  EXPECT_EQ(ConfigInt("Hardware"), 0);  // the default device is no "Hardware" device
}

TEST_F(SoundDrvTest, ThePreferredDeviceIsChosenByName) {
  EngineSoundDrv e;
  BrStringT<char> hardware("Hardware"), software("Software");
  {
    ALDeviceList list(FAKE_OPENAL_FULL);
    // The stand-in's names cannot be opened by the real OpenAL: the choice is visible, the open fails.
    EXPECT_EQ(e.drv.OpenPreferredDevice(&list, hardware), nullptr);
  }
  EXPECT_TRUE(m_Log.Has("Selecting device: Alpha Hardware"));
  EXPECT_TRUE(m_Log.Has("ERROR: Failed to Initialize OpenAL"));
  EXPECT_EQ(ConfigInt("Hardware"), 1);
  m_Log.Clear();
  {
    ALDeviceList list(FAKE_OPENAL_FULL);
    EXPECT_EQ(e.drv.OpenPreferredDevice(&list, software), nullptr);
  }
  EXPECT_TRUE(m_Log.Has("Failed to find a Software device, so switching to system's default device"));
  EXPECT_TRUE(m_Log.Has("Selecting device: Gamma"));
  EXPECT_EQ(ConfigInt("Hardware"), 0);
}

TEST_F(SoundDrvTest, ChannelCountFollowsTheConfiguration) {
  struct Case {
    int configured;  // -99: key missing
    int expected;
  } cases[] = {{3, 3}, {0, 0}, {-5, 0}, {-99, 0}, {32, 32}};
  for (const Case& c : cases) {
    SCOPED_TRACE(c.configured);
    BrConfigCache config;
    if (c.configured != -99) config.SetInteger("Audio", "Channels", c.configured);
    Engine().SetConfig(&config);
    EngineSoundDrv e;
    ASSERT_TRUE(e.drv.Init());
    EXPECT_EQ(e.drv.GetChannelCount(), c.expected);
    if (c.expected == 0) {
      BrAudioID id;
      ASSERT_TRUE(e.drv.CreateAudio("Sounds\\a.wav", id));
      m_Log.Clear();
      EXPECT_FALSE(e.drv.PlayAudio2D(id));
      EXPECT_TRUE(m_Log.Has("AUDIO: Error playing audio!"));
    }
    Engine().SetConfig(&m_Config);
  }
}

TEST_F(SoundDrvTest, SoundsOfOneFileShareABufferUntilTheLastHolderLetsGo) {
  EngineSoundDrv e;
  ASSERT_TRUE(e.drv.Init());
  BrAudioID first, second;
  ASSERT_TRUE(e.drv.CreateAudio("Sounds\\a.wav", first));
  ASSERT_TRUE(e.drv.CreateAudio("Sounds\\a.wav", second));
  EXPECT_EQ(first.GetID(), 1);
  EXPECT_EQ(second.GetID(), 2);
  const int buffer = SoundOf(e.drv, first)->GetBufferIDX();
  ASSERT_EQ(buffer, 1);
  EXPECT_EQ(SoundOf(e.drv, second)->GetBufferIDX(), buffer);
  EXPECT_EQ(e.drv.GetBuffer(buffer)->GetRefCount(), 2u);
  EXPECT_EQ(e.drv.GetBufferCount(), 2);
  const unsigned int name = e.drv.GetBuffer(buffer)->GetName();
  EXPECT_TRUE(alIsBuffer(name));

  first.Stop();
  EXPECT_EQ(e.drv.GetBuffer(buffer)->GetRefCount(), 1u);
  EXPECT_FALSE(m_Log.Has("is no longer required"));
  second.Stop();
  EXPECT_TRUE(m_Log.Has("AUDIO: " + MediaPath("Sounds\\a.wav") + " is no longer required"));
  EXPECT_EQ(e.drv.GetBuffer(buffer)->GetName(), 0u);
  EXPECT_EQ(e.drv.GetBufferFile(buffer), nullptr);
  EXPECT_FALSE(alIsBuffer(name));

  // The next file takes the free buffer slot and the first free sound slot.
  BrAudioID next;
  ASSERT_TRUE(e.drv.CreateAudio("Sounds\\b.wav", next));
  EXPECT_EQ(next.GetID(), 1);
  EXPECT_EQ(SoundOf(e.drv, next)->GetBufferIDX(), buffer);
  EXPECT_STREQ(e.drv.GetBufferFile(buffer), MediaPath("Sounds\\b.wav").c_str());
  EXPECT_EQ(e.drv.GetBufferCount(), 2);
}

// Every copy of an id is a holder: the sound stays whole until the last one goes, and only then is its slot reused.
TEST_F(SoundDrvTest, CopiesOfAnIdKeepTheSoundPlayable) {
  EngineSoundDrv e;
  ASSERT_TRUE(e.drv.Init());
  BrAudioID original;
  ASSERT_TRUE(e.drv.CreateAudio("Sounds\\a.wav", original));
  BrAudioID copy(original);
  BrAudioID assigned;
  assigned = original;
  EXPECT_EQ(SoundOf(e.drv, original)->GetHolderCount(), 3);
  EXPECT_EQ(e.drv.GetBuffer(1)->GetRefCount(), 1u);

  original.Stop();
  copy.Stop();
  ASSERT_EQ(SoundOf(e.drv, assigned)->GetBufferIDX(), 1);
  EXPECT_TRUE(e.drv.PlayAudio2D(assigned));
  // A new sound must not take the slot still held.
  BrAudioID other;
  ASSERT_TRUE(e.drv.CreateAudio("Sounds\\b.wav", other));
  EXPECT_NE(other.GetID(), assigned.GetID());

  const int held = assigned.GetID();
  assigned.Stop();
  EXPECT_EQ(SoundOf(e.drv, BrAudioID(held))->GetBufferIDX(), -1);
  EXPECT_EQ(e.drv.GetBuffer(1)->GetName(), 0u);
}

TEST_F(SoundDrvTest, CreatingTheSameFileAgainOnOneIdKeepsItsBuffer) {
  EngineSoundDrv e;
  ASSERT_TRUE(e.drv.Init());
  BrAudioID id;
  ASSERT_TRUE(e.drv.CreateAudio("Sounds\\a.wav", id));
  const int oldSound = id.GetID();
  ASSERT_TRUE(e.drv.CreateAudio("Sounds\\a.wav", id));
  EXPECT_NE(id.GetID(), oldSound);
  const int buffer = SoundOf(e.drv, id)->GetBufferIDX();
  ASSERT_GE(buffer, 0);
  EXPECT_NE(e.drv.GetBuffer(buffer)->GetName(), 0u);
  EXPECT_EQ(e.drv.GetBuffer(buffer)->GetRefCount(), 1u);
  EXPECT_FALSE(m_Log.Has("is no longer required"));
  EXPECT_EQ(SoundOf(e.drv, BrAudioID(oldSound))->GetBufferIDX(), -1);
  EXPECT_TRUE(e.drv.PlayAudio2D(id));
}

// An id that kept its number across a restart of the device, and gets that number again, is counted as a holder.
TEST_F(SoundDrvTest, AnIdGivenItsOldNumberAgainHoldsTheSound) {
  EngineSoundDrv e;
  ASSERT_TRUE(e.drv.Init());
  BrAudioID kept;
  ASSERT_TRUE(e.drv.CreateAudio("Sounds\\a.wav", kept));
  ASSERT_EQ(kept.GetID(), 1);
  EXPECT_TRUE(e.drv.Exit());
  ASSERT_TRUE(e.drv.Init());
  ASSERT_TRUE(e.drv.CreateAudio("Sounds\\b.wav", kept));
  ASSERT_EQ(kept.GetID(), 1);
  EXPECT_EQ(SoundOf(e.drv, kept)->GetHolderCount(), 1);
  BrAudioID copy(kept);
  kept.Stop();
  EXPECT_TRUE(e.drv.PlayAudio2D(copy));
}

TEST_F(SoundDrvTest, MissingAndBrokenFilesHandOutTheSilentErrorSound) {
  EngineSoundDrv e;
  ASSERT_TRUE(e.drv.Init());
  for (const char* file : {"Sounds\\missing.wav", "Sounds\\bad.wav"}) {
    SCOPED_TRACE(file);
    m_Log.Clear();
    BrAudioID id;
    EXPECT_FALSE(e.drv.CreateAudio(file, id));
    EXPECT_EQ(id.GetID(), 0);
    EXPECT_TRUE(m_Log.Has("AUDIO: Failed to prepare audio " + MediaPath(file)));
    EXPECT_FALSE(e.drv.PlayAudio2D(id));
    EXPECT_FALSE(e.drv.PlayAudio3D(id, BrVector(1, 2, 3)));
    EXPECT_FALSE(m_Log.Has("Error playing audio"));
    // Asked for again, as a monster's blow asks for its sound each time: the file is named once.
    for (int i = 0; i < 3; ++i) EXPECT_FALSE(e.drv.CreateAudio(file, id));
    EXPECT_EQ(m_Log.Count("sound " + MediaPath(file)), 1) << m_Log.Text();
  }
  EXPECT_EQ(e.drv.GetBufferCount(), 1);
  EXPECT_EQ(e.drv.GetSoundCount(), 1);
}

TEST_F(SoundDrvTest, WithoutTheErrorFileIdZeroStaysSilent) {
  std::filesystem::remove(m_Media.Path() / "Sounds" / "error.wav");
  EngineSoundDrv e;
  ASSERT_TRUE(e.drv.Init());
  ASSERT_EQ(e.drv.GetSoundCount(), 1);
  BrAudioID id;
  ASSERT_TRUE(e.drv.CreateAudio("Sounds\\a.wav", id));
  EXPECT_EQ(id.GetID(), 1);
  EXPECT_TRUE(e.drv.PlayAudio2D(id));
  EXPECT_FALSE(e.drv.PlayAudio2D(BrAudioID(0)));
}

TEST_F(SoundDrvTest, BusyChannelsRefusePlayAndFinishedOnesAreReused) {
  m_Config.SetInteger("Audio", "Channels", 2);
  EngineSoundDrv e;
  ASSERT_TRUE(e.drv.Init());
  BrAudioID loop1, loop2, shortOne, third;
  ASSERT_TRUE(e.drv.CreateAudio("Sounds\\long.wav", loop1));
  ASSERT_TRUE(e.drv.CreateAudio("Sounds\\long.wav", loop2));
  ASSERT_TRUE(e.drv.CreateAudio("Sounds\\short.wav", shortOne));
  ASSERT_TRUE(e.drv.CreateAudio("Sounds\\b.wav", third));
  e.drv.GetAudio(loop1)->SetLooping(true);
  e.drv.GetAudio(loop2)->SetLooping(true);

  ASSERT_TRUE(e.drv.PlayAudio2D(loop1));
  ASSERT_TRUE(e.drv.PlayAudio2D(shortOne));
  EXPECT_EQ(SoundOf(e.drv, loop1)->GetChannelIDX(), 0);
  EXPECT_EQ(SoundOf(e.drv, shortOne)->GetChannelIDX(), 1);
  EXPECT_TRUE(e.drv.GetAudio(shortOne)->IsPlaying());
  m_Log.Clear();
  EXPECT_FALSE(e.drv.PlayAudio2D(loop2));
  EXPECT_TRUE(m_Log.Has("AUDIO: Error playing audio!"));

  // The short sound ends; its channel is taken by the next sound, and the short sound no longer claims it.
  ASSERT_TRUE(WaitStopped(e.drv.GetChannel(1)));
  ASSERT_TRUE(e.drv.PlayAudio3D(third, BrVector(0, 0, 100)));
  EXPECT_EQ(SoundOf(e.drv, third)->GetChannelIDX(), 1);
  EXPECT_EQ(SoundOf(e.drv, shortOne)->GetChannelIDX(), -1);
  EXPECT_FALSE(e.drv.GetAudio(shortOne)->IsPlaying());
  EXPECT_EQ(State(e.drv.GetChannel(0)), AL_PLAYING);
}

TEST_F(SoundDrvTest, SoundsArePlacedRelativeToTheListener) {
  EngineSoundDrv e;
  ASSERT_TRUE(e.drv.Init());
  BrAudioID id;
  ASSERT_TRUE(e.drv.CreateAudio("Sounds\\long.wav", id));
  const unsigned int source = e.drv.GetChannel(0);
  auto expectAt = [&](const BrVector& want) {
    const BrVector got = SourcePosition(source);
    EXPECT_NEAR(got.x, want.x, 1e-3);
    EXPECT_NEAR(got.y, want.y, 1e-3);
    EXPECT_NEAR(got.z, want.z, 1e-3);
    ALint relative = 0;
    alGetSourcei(source, AL_SOURCE_RELATIVE, &relative);
    EXPECT_EQ(relative, AL_TRUE);
    alSourceStop(source);
  };

  // Without an application the listener stands at the origin.
  ASSERT_TRUE(e.drv.PlayAudio2D(id));
  expectAt(BrVector(0, 50, 0));
  ASSERT_TRUE(e.drv.PlayAudio3D(id, BrVector(0, 0, 30)));
  expectAt(BrVector(0, 50, 0));  // nearer than 50 units: heard from straight up
  ASSERT_TRUE(e.drv.PlayAudio3D(id, BrVector(0, 0, 80)));
  expectAt(BrVector(0, 0, -80));  // z is negated

  ListenerApp app;
  app.m_Listener = BrVector(100, 10, 100);
  ScopedEngineApp scope(&app);
  ASSERT_TRUE(e.drv.PlayAudio3D(id, BrVector(100, 10, 180)));
  expectAt(BrVector(0, 0, -80));
  ASSERT_TRUE(e.drv.PlayAudio3D(id, BrVector(160, 10, 100)));
  expectAt(BrVector(60, 0, 0));
  ASSERT_TRUE(e.drv.PlayAudio3D(id, BrVector(120, 10, 110)));
  expectAt(BrVector(0, 50, 0));
  ASSERT_TRUE(e.drv.PlayAudio2D(id));  // flat sounds ignore where the listener is
  expectAt(BrVector(0, 50, 0));
  ASSERT_TRUE(e.drv.PlayAudio3D(id, BrVector(NAN, 0, 0)));
  expectAt(BrVector(0, 50, 0));
  // Two finite points whose difference overflows: heard from straight up, not refused by OpenAL.
  app.m_Listener = BrVector(-3e38f, 0, 0);
  ASSERT_TRUE(e.drv.PlayAudio3D(id, BrVector(3e38f, 0, 0)));
  expectAt(BrVector(0, 50, 0));
  float listener[3] = {1, 1, 1};
  alGetListenerfv(AL_POSITION, listener);
  EXPECT_EQ(listener[0], 0.0f);
  EXPECT_EQ(listener[1], 0.0f);
  EXPECT_EQ(listener[2], 0.0f);
}

TEST_F(SoundDrvTest, MasterVolumeMuteAndGainsWithinOpenALsRange) {
  EngineSoundDrv e;
  ASSERT_TRUE(e.drv.Init());
  e.drv.SetMaxRolloff(125.0f);
  EXPECT_FLOAT_EQ(e.drv.GetMasterGain(), 1.0f);
  EXPECT_FLOAT_EQ(e.drv.GetMaxRolloff(), 125.0f);
  EXPECT_FLOAT_EQ(ListenerGain(), 1.0f);
  e.drv.Mute();
  EXPECT_FLOAT_EQ(ListenerGain(), 0.0f);
  e.drv.UnMute();
  EXPECT_FLOAT_EQ(ListenerGain(), 1.0f);

  e.drv.SetMaxRolloff(62.5f);
  EXPECT_FLOAT_EQ(ListenerGain(), 0.5f);
  BrAudioID id;
  ASSERT_TRUE(e.drv.CreateAudio("Sounds\\long.wav", id));
  e.drv.GetAudio(id)->SetVolume(0.5f);
  ASSERT_TRUE(e.drv.PlayAudio2D(id));
  EXPECT_FLOAT_EQ(SourceGain(e.drv.GetChannel(0)), 0.25f);
  alSourceStop(e.drv.GetChannel(0));

  // The game's settings reach 30 times full gain; the listener gets at most 1 and a source its volume times the
  // master gain (OpenAL attenuates it, then clamps it), never a negative or undefined gain.
  e.drv.AddVolumeSetting(1250);
  e.drv.AddVolumeSetting(2500);
  e.drv.AddVolumeSetting(3750);
  ASSERT_TRUE(e.drv.SetMasterVolume(1));
  EXPECT_FLOAT_EQ(e.drv.GetMaxRolloff(), 2500.0f);
  EXPECT_FLOAT_EQ(e.drv.GetMasterGain(), 20.0f);
  EXPECT_FLOAT_EQ(ListenerGain(), 1.0f);
  e.drv.GetAudio(id)->SetVolume(0.1f);
  ASSERT_TRUE(e.drv.PlayAudio2D(id));
  EXPECT_FLOAT_EQ(SourceGain(e.drv.GetChannel(0)), 2.0f);
  alSourceStop(e.drv.GetChannel(0));
  e.drv.UnMute();
  EXPECT_FLOAT_EQ(ListenerGain(), 1.0f);

  EXPECT_EQ(alGetError(), AL_NO_ERROR);
  e.drv.SetMaxRolloff(-10.0f);
  EXPECT_FLOAT_EQ(ListenerGain(), 0.0f);
  e.drv.SetMaxRolloff(NAN);
  EXPECT_FLOAT_EQ(ListenerGain(), 0.0f);
  e.drv.SetMaxRolloff(125.0f);
  e.drv.GetAudio(id)->SetVolume(-3.0f);
  e.drv.GetAudio(id)->SetPitch(0.0f);
  ASSERT_TRUE(e.drv.PlayAudio2D(id));
  EXPECT_FLOAT_EQ(SourceGain(e.drv.GetChannel(0)), 0.0f);
  EXPECT_EQ(alGetError(), AL_NO_ERROR);
}

TEST_F(SoundDrvTest, NoAudioBuffersSoundsButPlaysNothing) {
  m_Config.SetInteger("Audio", "NoAudio", 1);
  EngineSoundDrv e;
  ASSERT_TRUE(e.drv.Init());
  BrAudioID id;
  ASSERT_TRUE(e.drv.CreateAudio("Sounds\\a.wav", id));
  EXPECT_EQ(e.drv.GetBufferCount(), 2);
  EXPECT_FALSE(e.drv.PlayAudio2D(id));
  EXPECT_FALSE(e.drv.PlayAudio3D(id, BrVector(0, 0, 100)));
  EXPECT_EQ(State(e.drv.GetChannel(0)), AL_INITIAL);
}

TEST_F(SoundDrvTest, StepFreesFinishedChannelsAndKeepsChannelZeroCurrent) {
  EngineSoundDrv e;
  ASSERT_TRUE(e.drv.Init());
  BrAudioID music, blip;
  ASSERT_TRUE(e.drv.CreateAudio("Sounds\\long.wav", music));
  ASSERT_TRUE(e.drv.CreateAudio("Sounds\\short.wav", blip));
  e.drv.GetAudio(music)->SetLooping(true);
  ASSERT_TRUE(e.drv.PlayAudio2D(music));
  ASSERT_TRUE(e.drv.PlayAudio2D(blip));
  ASSERT_TRUE(WaitStopped(e.drv.GetChannel(1)));

  e.drv.GetAudio(music)->SetVolume(0.5f);
  e.drv.Step(0.1f);
  EXPECT_EQ(SoundOf(e.drv, blip)->GetChannelIDX(), -1);
  EXPECT_FALSE(e.drv.GetAudio(blip)->IsPlaying());
  EXPECT_EQ(SoundOf(e.drv, music)->GetChannelIDX(), 0);
  EXPECT_TRUE(e.drv.GetAudio(music)->IsPlaying());
  EXPECT_FLOAT_EQ(SourceGain(e.drv.GetChannel(0)), 0.5f);
  ALint looping = 0;
  alGetSourcei(e.drv.GetChannel(0), AL_LOOPING, &looping);
  EXPECT_EQ(looping, AL_TRUE);

  // The base's volume timer moves with the steps.
  e.drv.AddVolumeSetting(125);
  e.drv.AddVolumeSetting(250);
  e.drv.Step(0.5f);
  e.drv.VolumeUp();
  EXPECT_EQ(e.drv.GetMasterVolume(), 0);
}

TEST_F(SoundDrvTest, LettingGoOfAPlayingSoundStopsItsChannelFirst) {
  EngineSoundDrv e;
  ASSERT_TRUE(e.drv.Init());
  BrAudioID id;
  ASSERT_TRUE(e.drv.CreateAudio("Sounds\\long.wav", id));
  ASSERT_TRUE(e.drv.PlayAudio2D(id));
  const unsigned int source = e.drv.GetChannel(0);
  const unsigned int buffer = e.drv.GetBuffer(1)->GetName();
  ASSERT_EQ(State(source), AL_PLAYING);
  id.Stop();
  EXPECT_NE(State(source), AL_PLAYING);
  ALint attached = -1;
  alGetSourcei(source, AL_BUFFER, &attached);
  EXPECT_EQ(attached, 0);
  EXPECT_FALSE(alIsBuffer(buffer));  // really deleted, not refused while attached
  EXPECT_EQ(alGetError(), AL_NO_ERROR);
}

TEST_F(SoundDrvTest, ExitReleasesEverythingAndRunsTwiceSafely) {
  EngineSoundDrv e;
  ASSERT_TRUE(e.drv.Init());
  BrAudioID held;
  ASSERT_TRUE(e.drv.CreateAudio("Sounds\\long.wav", held));
  ASSERT_TRUE(e.drv.PlayAudio2D(held));
  EXPECT_TRUE(e.drv.Exit());
  EXPECT_EQ(e.drv.GetSoundCount(), 0);
  EXPECT_EQ(e.drv.GetBufferCount(), 0);
  EXPECT_EQ(e.drv.GetChannelCount(), 0);
  EXPECT_FALSE(e.drv.HasContext());
  EXPECT_EQ(alcGetCurrentContext(), nullptr);
  EXPECT_TRUE(e.drv.Exit());
  // An id still held after the device let go of its sounds is released harmlessly.
  held.Stop();
  BrAudioID late;
  EXPECT_FALSE(e.drv.CreateAudio("Sounds\\a.wav", late));
  EXPECT_EQ(late.GetID(), 0);
  EXPECT_FALSE(e.drv.PlayAudio2D(late));
  e.drv.Step(0.1f);
}

TEST_F(SoundDrvTest, OpenALErrorsAreNamedInTheDebugLog) {
  EngineSoundDrv e;
  const std::pair<int, const char*> cases[] = {
      {AL_INVALID_NAME, "op - Invalid Name"},   {AL_INVALID_ENUM, "op - Invalid Enum"},
      {AL_INVALID_VALUE, "op - Invalid Value"}, {AL_INVALID_OPERATION, "op - Invalid Operation"},
      {AL_OUT_OF_MEMORY, "op - Out Of Memory"}, {0, "ERROR: Unknown error case in BrSoundDrv::LogOpenALError(..)"},
  };
  for (const auto& c : cases) {
    m_Log.Clear();
    e.drv.LogOpenALError("op", c.first);
    EXPECT_TRUE(m_Log.Has(c.second)) << c.second;
  }
}
