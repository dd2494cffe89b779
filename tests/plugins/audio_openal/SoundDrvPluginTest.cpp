// The built plug-in SoundDrv: its entry points by name, and the engine starting, stepping and deleting its audio
// device through the plug-in path.
#include "tests/plugins/audio_openal/SoundDrvRig.h"

#include <cstring>

#include "engine/kernel/BrEngineTestSeams.h"
#include "engine/kernel/BrPlugin.h"
#include "platform/win32/win32_kernel.h"

namespace {

// The plug-in's path as the engine names it: the ".dll" the win32 layer maps to the module.
std::string ModuleAsDll() {
  std::string path = SOUNDDRV_MODULE;
  return path.substr(0, path.size() - 3) + ".dll";
}

}  // namespace

TEST_F(SoundDrvTest, ThePluginCreatesPlaysAndDeletesItsDevice) {
  HMODULE module = LoadLibraryA(ModuleAsDll().c_str());
  ASSERT_NE(module, nullptr) << W32LastLibraryError();
  auto create =
      reinterpret_cast<BrGetAudioDeviceFn>(reinterpret_cast<void (*)()>(GetProcAddress(module, "fnGetAudioDevice")));
  auto destroy = reinterpret_cast<BrDeleteAudioDeviceFn>(
      reinterpret_cast<void (*)()>(GetProcAddress(module, "fnDeleteAudioDevice")));
  ASSERT_NE(create, nullptr);
  ASSERT_NE(destroy, nullptr);

  BrAudioMgrBase* device = create();
  ASSERT_NE(device, nullptr);
  {
    ScopedEngineAudio scope(device);
    ASSERT_TRUE(device->Init());
    BrAudioID id, copy;
    ASSERT_TRUE(device->CreateAudio("Sounds\\a.wav", id));
    EXPECT_EQ(id.GetID(), 1);
    copy = id;
    EXPECT_TRUE(device->PlayAudio2D(copy));
    EXPECT_TRUE(device->PlayAudio3D(id, BrVector(0, 0, 200)));
    device->AddVolumeSetting(1250);
    device->AddVolumeSetting(2500);
    EXPECT_TRUE(device->SetMasterVolume(1));
    EXPECT_FLOAT_EQ(device->GetMaxRolloff(), 2500.0f);
    device->Step(0.016f);
    EXPECT_TRUE(device->Exit());
  }
  destroy(nullptr);
  destroy(device);
  EXPECT_TRUE(FreeLibrary(module));
}

// What the host does at start-up and exit, on the audio side: [Audio] Device names the plug-in in the drivers'
// plug-ins folder; the engine creates and starts the device, steps it each frame and deletes it on exit.
TEST_F(SoundDrvTest, TheEngineStartsStepsAndDeletesTheDeviceFromThePlugin) {
  ScratchDir drivers;
  std::filesystem::create_directories(drivers.Path() / "plug-ins");
  std::filesystem::copy_file(SOUNDDRV_MODULE, drivers.Path() / "plug-ins" / "SoundDrv.so");
  char savedDrivers[BrEngine::ciPathLen];
  std::memcpy(savedDrivers, Engine().DriversDir(), sizeof(savedDrivers));
  std::snprintf(Engine().DriversDir(), BrEngine::ciPathLen, "%s", drivers.Path().string().c_str());
  m_Config.SetString("Audio", "Device", "SoundDrv");

  ASSERT_EQ(Engine().Audio(), nullptr);
  ASSERT_TRUE(BrEngineTestSeams::InitAudio()) << m_Log.Text();
  BrAudioMgrBase* device = Engine().Audio();
  ASSERT_NE(device, nullptr);
  EXPECT_TRUE(m_Log.Has("Creating Audio device"));
  EXPECT_TRUE(m_Log.Has("Selecting device: "));
  {
    BrAudioID id;
    ASSERT_TRUE(device->CreateAudio("Sounds\\long.wav", id));
    ASSERT_NE(device->GetAudio(id), nullptr);
    device->GetAudio(id)->SetLooping(true);
    EXPECT_TRUE(device->PlayAudio2D(id));
    Engine().Step(0.016f);
    EXPECT_TRUE(device->GetAudio(id)->IsPlaying());
  }
  EXPECT_TRUE(Engine().Exit());
  EXPECT_EQ(Engine().Audio(), nullptr);
  EXPECT_TRUE(m_Log.Has("Deleted Audio device"));
  EXPECT_FALSE(m_Log.Has("WARNING: Failed to delete Audio device"));
  BrEngineTestSeams::ResetAfterExit();
  std::memcpy(Engine().DriversDir(), savedDrivers, sizeof(savedDrivers));
  Engine().SetConfig(&m_Config);
  Engine().setMediaDir(m_Media.Path().string().c_str());
}
