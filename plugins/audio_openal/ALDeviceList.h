// ALDeviceList: the OpenAL output devices with their names, versions and default, enumerated through the loader.
#pragma once

#include "plugins/audio_openal/OpenALApi.h"
#include "templates/BrStringT.h"
#include "templates/TDArray.h"

// The list of OpenAL output devices, filled once when constructed. Devices that cannot be opened or give no
// context are left out, as are repeated names. Only the first kMaxFlaggedDevices devices carry selection and
// "EAX-RAM" flags; devices past them are never selected.
class ALDeviceList {
public:
  static constexpr int kMaxFlaggedDevices = 10;

  // Loads the OpenAL library (library, or the system's OpenAL library when null) and enumerates its devices;
  // the list stays empty when the library or one of its entry points is missing or when it cannot enumerate.
  // Every device ends up selected.
  explicit ALDeviceList(const char* library = nullptr);
  // Destroys the lists and unloads the library.
  ~ALDeviceList();

  ALDeviceList(const ALDeviceList&) = delete;
  ALDeviceList& operator=(const ALDeviceList&) = delete;

  // Number of devices listed.
  int DeviceCount() const;
  // The device's name; null for an index outside the list.
  const char* DeviceName(int index) const;
  // The device's ALC version; 0.0 for an index outside the list.
  void DeviceVersion(int index, int& major, int& minor) const;
  // The index of the system's default device (0 when it was not listed).
  int DefaultDevice() const;
  // Deselects every device whose version is below (major, minor).
  void DeselectBelowVersion(int major, int minor);
  // Deselects every device whose version is above (major, minor).
  void DeselectAboveVersion(int major, int minor);
  // Deselects every device that does not report the "EAX-RAM" extension.
  void DeselectWithoutEaxRam();
  // Selects every device and rewinds the cursor.
  void SelectAll();
  // The first selected index, with the cursor after it: 0 for an empty list, DeviceCount() when none is selected.
  int FirstSelected();
  // The next selected index from the cursor, with the cursor after it; DeviceCount() when none is left.
  int NextSelected();

private:
  void Enumerate();
  bool IsSelected(int index) const;

  ALFunctionTable m_Table;
  TDArray<BrStringT<char>> m_DeviceNames;
  int m_iDefaultDevice;
  TDArray<int> m_MinorVersions;
  TDArray<int> m_MajorVersions;
  bool m_bSelected[kMaxFlaggedDevices];
  bool m_bEaxRam[kMaxFlaggedDevices];
  int m_iCursor;
};
