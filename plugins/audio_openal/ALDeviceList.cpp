// ALDeviceList: enumerates OpenAL devices through the run-time bound table, opening each to read its version.
#include "plugins/audio_openal/ALDeviceList.h"

#include <cstring>

#include "core/BrLogFile.h"
#include "plugins/audio_openal/OpenALLoader.h"

ALDeviceList::ALDeviceList(const char* library) : m_Table(), m_iDefaultDevice(0), m_iCursor(0) {
  for (int i = 0; i < kMaxFlaggedDevices; ++i) {
    m_bSelected[i] = false;
    m_bEaxRam[i] = false;
  }
  m_DeviceNames.Grow(kMaxFlaggedDevices);
  m_MinorVersions.Grow(kMaxFlaggedDevices);
  m_MajorVersions.Grow(kMaxFlaggedDevices);
  if (brLoadOpenAL(library, &m_Table) && m_Table.alcIsExtensionPresent(nullptr, "ALC_ENUMERATION_EXT")) Enumerate();
  SelectAll();
}

ALDeviceList::~ALDeviceList() { brUnloadOpenAL(); }

void ALDeviceList::Enumerate() {
  const ALCchar* names = m_Table.alcGetString(nullptr, ALC_DEVICE_SPECIFIER);
  const ALCchar* defaultName = m_Table.alcGetString(nullptr, ALC_DEFAULT_DEVICE_SPECIFIER);
  if (!names) return;
  // The names come as one block of NUL-terminated strings ended by an empty one.
  for (; *names; names += std::strlen(names) + 1) {
    const bool isDefault = defaultName && std::strcmp(names, defaultName) == 0;
    ALCdevice* device = m_Table.alcOpenDevice(names);
    if (!device) continue;
    ALCcontext* context = m_Table.alcCreateContext(device, nullptr);
    if (context) {
      m_Table.alcMakeContextCurrent(context);
      const ALCchar* actual = m_Table.alcGetString(device, ALC_DEVICE_SPECIFIER);
      int listed = -1;
      for (int i = 0; actual && i < m_DeviceNames.GetCount() && listed < 0; ++i)
        if (m_DeviceNames[i] == BrStringT<char>(actual)) listed = i;
      // The default is kept as a list position, so it names the right device even after skipped names.
      if (isDefault && listed >= 0) m_iDefaultDevice = listed;
      if (actual && *actual && listed < 0) {
        ALCint major = 0, minor = 0;
        m_Table.alcGetIntegerv(device, ALC_MAJOR_VERSION, 1, &major);
        m_Table.alcGetIntegerv(device, ALC_MINOR_VERSION, 1, &minor);
        const int index = m_DeviceNames.Add(BrStringT<char>(actual));
        if (isDefault) m_iDefaultDevice = index;
        m_MajorVersions.Add(major);
        m_MinorVersions.Add(minor);
        // Flagged by list position, the index every query uses.
        if (index < kMaxFlaggedDevices) m_bEaxRam[index] = m_Table.alIsExtensionPresent("EAX-RAM") != AL_FALSE;
      }
      m_Table.alcMakeContextCurrent(nullptr);
      m_Table.alcDestroyContext(context);
    }
    m_Table.alcCloseDevice(device);
  }
}

int ALDeviceList::DeviceCount() const { return m_DeviceNames.GetCount(); }

const char* ALDeviceList::DeviceName(int index) const {
  if (index < 0 || index >= DeviceCount()) return nullptr;
  return m_DeviceNames[index].c_str();
}

void ALDeviceList::DeviceVersion(int index, int& major, int& minor) const {
  if (index < 0 || index >= DeviceCount()) {
    major = 0;
    minor = 0;
    return;
  }
  major = m_MajorVersions[index];
  minor = m_MinorVersions[index];
}

int ALDeviceList::DefaultDevice() const { return m_iDefaultDevice; }

bool ALDeviceList::IsSelected(int index) const {
  return index >= 0 && index < kMaxFlaggedDevices && index < DeviceCount() && m_bSelected[index];
}

void ALDeviceList::DeselectBelowVersion(int major, int minor) {
  for (int i = 0; i < DeviceCount() && i < kMaxFlaggedDevices; ++i)
    if (m_MajorVersions[i] < major || (m_MajorVersions[i] == major && m_MinorVersions[i] < minor))
      m_bSelected[i] = false;
}

void ALDeviceList::DeselectAboveVersion(int major, int minor) {
  for (int i = 0; i < DeviceCount() && i < kMaxFlaggedDevices; ++i)
    if (m_MajorVersions[i] > major || (m_MajorVersions[i] == major && m_MinorVersions[i] > minor))
      m_bSelected[i] = false;
}

void ALDeviceList::DeselectWithoutEaxRam() {
  for (int i = 0; i < DeviceCount() && i < kMaxFlaggedDevices; ++i)
    if (!m_bEaxRam[i]) m_bSelected[i] = false;
}

void ALDeviceList::SelectAll() {
  for (int i = 0; i < kMaxFlaggedDevices; ++i) m_bSelected[i] = true;
  m_iCursor = 0;
}

int ALDeviceList::FirstSelected() {
  m_iCursor = 0;
  if (DeviceCount() == 0) return 0;
  return NextSelected();
}

int ALDeviceList::NextSelected() {
  for (int i = m_iCursor; i < DeviceCount(); ++i) {
    if (IsSelected(i)) {
      m_iCursor = i + 1;
      return i;
    }
  }
  m_iCursor = DeviceCount();
  return DeviceCount();
}
