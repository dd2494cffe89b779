// The OpenAL loader and device list: binding by name, a library that lacks an entry point, and the enumeration
// rules (repeated names, unopenable devices, default, versions, "EAX-RAM" flags, selection) on a stand-in
// library, then the real OpenAL Soft.
#include <gtest/gtest.h>

#include <cstring>
#include <string>

#include "platform/win32/win32_kernel.h"
#include "plugins/audio_openal/ALDeviceList.h"
#include "plugins/audio_openal/OpenALLoader.h"

TEST(OpenALLoader, BindsEveryEntryPointOfTheSystemLibrary) {
  ALFunctionTable table;
  ASSERT_TRUE(brLoadOpenAL(nullptr, &table));
  EXPECT_TRUE(brIsOpenALLoaded());
  // Bound to the same library the device imports at link time.
  EXPECT_EQ(reinterpret_cast<void*>(table.alGetError), reinterpret_cast<void*>(&alGetError));
  EXPECT_EQ(reinterpret_cast<void*>(table.alcGetEnumValue), reinterpret_cast<void*>(&alcGetEnumValue));
  brUnloadOpenAL();
  EXPECT_FALSE(brIsOpenALLoaded());
  brUnloadOpenAL();  // a second unload has nothing left to free

  EXPECT_FALSE(brLoadOpenAL(nullptr, nullptr));
  EXPECT_FALSE(brLoadOpenAL("no_such_openal_library.dll", &table));
  EXPECT_FALSE(brIsOpenALLoaded());
}

TEST(OpenALLoader, ALibraryWithoutAnEntryPointFailsAndNamesIt) {
  ALFunctionTable table;
  testing::internal::CaptureStderr();
  EXPECT_FALSE(brLoadOpenAL(FAKE_OPENAL_NOBUFFERDATA, &table));
  const std::string said = testing::internal::GetCapturedStderr();
  EXPECT_NE(said.find("Failed to retrieve 'alBufferData' function address\n"), std::string::npos) << said;
  // The entry points before the missing one were bound, none after it; the library stays loaded until unloaded.
  EXPECT_NE(table.alIsBuffer, nullptr);
  EXPECT_EQ(table.alGetBufferi, nullptr);
  EXPECT_TRUE(brIsOpenALLoaded());
  brUnloadOpenAL();

  // The device list then takes the failure path: nothing listed.
  testing::internal::CaptureStderr();
  ALDeviceList list(FAKE_OPENAL_NOBUFFERDATA);
  testing::internal::GetCapturedStderr();
  EXPECT_EQ(list.DeviceCount(), 0);
  EXPECT_EQ(list.DefaultDevice(), 0);
  EXPECT_EQ(list.DeviceName(0), nullptr);
  EXPECT_EQ(list.FirstSelected(), 0);
}

TEST(ALDeviceList, EnumerationSkipsRepeatsAndUnopenableDevices) {
  // Keeps the stand-in loaded past the list's own unload, to ask it what is still open.
  HMODULE probe = LoadLibraryA(FAKE_OPENAL_FULL);
  ASSERT_NE(probe, nullptr);
  auto openObjects =
      reinterpret_cast<int (*)()>(reinterpret_cast<void (*)()>(GetProcAddress(probe, "FakeOpenALOpenObjects")));
  ASSERT_NE(openObjects, nullptr);
  {
    ALDeviceList list(FAKE_OPENAL_FULL);
    // "Alpha Alias" opens "Alpha Hardware" again, "Broken" does not open and "NoContext" gives no context.
    ASSERT_EQ(list.DeviceCount(), 13);
    EXPECT_STREQ(list.DeviceName(0), "Beta");
    EXPECT_STREQ(list.DeviceName(1), "Alpha Hardware");
    EXPECT_STREQ(list.DeviceName(2), "Gamma");
    EXPECT_STREQ(list.DeviceName(3), "Extra 01");
    EXPECT_STREQ(list.DeviceName(12), "Extra 10");
    EXPECT_EQ(list.DeviceName(13), nullptr);
    EXPECT_EQ(list.DeviceName(-1), nullptr);
    // The default is named by its list position, past the skipped names.
    EXPECT_STREQ(list.DeviceName(list.DefaultDevice()), "Gamma");
    int major = -1, minor = -1;
    list.DeviceVersion(0, major, minor);
    EXPECT_EQ(major, 1);
    EXPECT_EQ(minor, 0);
    list.DeviceVersion(3, major, minor);
    EXPECT_EQ(major, 2);
    list.DeviceVersion(99, major, minor);
    EXPECT_EQ(major, 0);
    EXPECT_EQ(openObjects(), 0);

    // Every device is selected, but only the first ten carry flags.
    int walked = 0;
    for (int i = list.FirstSelected(); i < list.DeviceCount(); i = list.NextSelected()) EXPECT_EQ(i, walked++);
    EXPECT_EQ(walked, ALDeviceList::kMaxFlaggedDevices);

    list.DeselectBelowVersion(1, 1);
    EXPECT_EQ(list.FirstSelected(), 1);  // Beta (1.0) is gone
    list.DeselectAboveVersion(1, 1);
    list.SelectAll();
    list.DeselectAboveVersion(1, 1);
    EXPECT_EQ(list.FirstSelected(), 0);
    EXPECT_EQ(list.NextSelected(), 1);
    EXPECT_EQ(list.NextSelected(), 2);
    EXPECT_EQ(list.NextSelected(), 4);  // Extra 01 (2.0) is gone

    // "EAX-RAM" is reported by Gamma alone, and flagged at Gamma's list position.
    list.SelectAll();
    list.DeselectWithoutEaxRam();
    EXPECT_EQ(list.FirstSelected(), 2);
    EXPECT_EQ(list.NextSelected(), list.DeviceCount());
  }
  EXPECT_FALSE(brIsOpenALLoaded());
  FreeLibrary(probe);
}

TEST(ALDeviceList, ListsOpenALSoftsNullOutput) {
  ALDeviceList list;
  ASSERT_GE(list.DeviceCount(), 1);
  ASSERT_NE(list.DeviceName(list.DefaultDevice()), nullptr);
  int major = 0, minor = 0;
  list.DeviceVersion(list.DefaultDevice(), major, minor);
  EXPECT_EQ(major, 1);
  EXPECT_GE(minor, 1);
}
