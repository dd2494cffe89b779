// A stand-in OpenAL library for the device-list tests: a fixed set of enumerated devices with known quirks,
// every entry point exported (or all but alBufferData when built with FAKE_OPENAL_WITHOUT_BUFFERDATA).
#include <cstring>

#include "plugins/audio_openal/OpenALApi.h"

struct ALCdevice {
  const char* reported;  // the name the device reports once open
  int major, minor;
  bool eaxRam;
};
struct ALCcontext {
  ALCdevice* device;
};

namespace {

// Enumeration order and what each name turns out to be. "Alpha Alias" opens the same device as "Alpha Hardware";
// "Broken" cannot be opened; "NoContext" gives no context; the default "Gamma" comes after all three.
struct FakeDevice {
  const char* name;
  const char* reported;
  int major, minor;
  bool eaxRam, opens, makesContext;
};
const FakeDevice kDevices[] = {
    {"Beta", "Beta", 1, 0, false, true, true},
    {"Alpha Hardware", "Alpha Hardware", 1, 1, false, true, true},
    {"Alpha Alias", "Alpha Hardware", 1, 1, false, true, true},
    {"Broken", "Broken", 1, 1, false, false, true},
    {"NoContext", "NoContext", 1, 1, false, true, false},
    {"Gamma", "Gamma", 1, 1, true, true, true},
    {"Extra 01", "Extra 01", 2, 0, false, true, true},
    {"Extra 02", "Extra 02", 1, 1, false, true, true},
    {"Extra 03", "Extra 03", 1, 1, false, true, true},
    {"Extra 04", "Extra 04", 1, 1, false, true, true},
    {"Extra 05", "Extra 05", 1, 1, false, true, true},
    {"Extra 06", "Extra 06", 1, 1, false, true, true},
    {"Extra 07", "Extra 07", 1, 1, false, true, true},
    {"Extra 08", "Extra 08", 1, 1, false, true, true},
    {"Extra 09", "Extra 09", 1, 1, false, true, true},
    {"Extra 10", "Extra 10", 1, 1, false, true, true},
};
const char kNames[] =
    "Beta\0Alpha Hardware\0Alpha Alias\0Broken\0NoContext\0Gamma\0Extra 01\0Extra 02\0Extra 03\0Extra 04\0"
    "Extra 05\0Extra 06\0Extra 07\0Extra 08\0Extra 09\0Extra 10\0";

int gOpenDevices = 0;
int gOpenContexts = 0;
ALCcontext* gCurrent = nullptr;

}  // namespace

extern "C" {

// Devices and contexts still open: the list must close everything it opened.
__attribute__((visibility("default"))) int FakeOpenALOpenObjects() { return gOpenDevices + gOpenContexts; }

void alEnable(ALenum) {}
void alDisable(ALenum) {}
ALboolean alIsEnabled(ALenum) { return AL_FALSE; }
ALboolean alGetBoolean(ALenum) { return AL_FALSE; }
ALint alGetInteger(ALenum) { return 0; }
ALfloat alGetFloat(ALenum) { return 0; }
ALdouble alGetDouble(ALenum) { return 0; }
void alGetBooleanv(ALenum, ALboolean*) {}
void alGetIntegerv(ALenum, ALint*) {}
void alGetFloatv(ALenum, ALfloat*) {}
void alGetDoublev(ALenum, ALdouble*) {}
const ALchar* alGetString(ALenum) { return ""; }
ALenum alGetError(void) { return AL_NO_ERROR; }
ALboolean alIsExtensionPresent(const ALchar* name) {
  return gCurrent && std::strcmp(name, "EAX-RAM") == 0 && gCurrent->device->eaxRam ? AL_TRUE : AL_FALSE;
}
void* alGetProcAddress(const ALchar*) { return nullptr; }
ALenum alGetEnumValue(const ALchar*) { return 0; }
void alListeneri(ALenum, ALint) {}
void alListenerf(ALenum, ALfloat) {}
void alListener3f(ALenum, ALfloat, ALfloat, ALfloat) {}
void alListenerfv(ALenum, const ALfloat*) {}
void alGetListeneri(ALenum, ALint*) {}
void alGetListenerf(ALenum, ALfloat*) {}
void alGetListener3f(ALenum, ALfloat*, ALfloat*, ALfloat*) {}
void alGetListenerfv(ALenum, ALfloat*) {}
void alGenSources(ALsizei, ALuint*) {}
void alDeleteSources(ALsizei, const ALuint*) {}
ALboolean alIsSource(ALuint) { return AL_FALSE; }
void alSourcei(ALuint, ALenum, ALint) {}
void alSourcef(ALuint, ALenum, ALfloat) {}
void alSource3f(ALuint, ALenum, ALfloat, ALfloat, ALfloat) {}
void alSourcefv(ALuint, ALenum, const ALfloat*) {}
void alGetSourcei(ALuint, ALenum, ALint*) {}
void alGetSourcef(ALuint, ALenum, ALfloat*) {}
void alGetSourcefv(ALuint, ALenum, ALfloat*) {}
void alSourcePlayv(ALsizei, const ALuint*) {}
void alSourceStopv(ALsizei, const ALuint*) {}
void alSourcePlay(ALuint) {}
void alSourcePause(ALuint) {}
void alSourceStop(ALuint) {}
void alGenBuffers(ALsizei, ALuint*) {}
void alDeleteBuffers(ALsizei, const ALuint*) {}
ALboolean alIsBuffer(ALuint) { return AL_FALSE; }
#ifndef FAKE_OPENAL_WITHOUT_BUFFERDATA
void alBufferData(ALuint, ALenum, const ALvoid*, ALsizei, ALsizei) {}
#endif
void alGetBufferi(ALuint, ALenum, ALint*) {}
void alGetBufferf(ALuint, ALenum, ALfloat*) {}
void alSourceQueueBuffers(ALuint, ALsizei, const ALuint*) {}
void alSourceUnqueueBuffers(ALuint, ALsizei, ALuint*) {}
void alDistanceModel(ALenum) {}
void alDopplerFactor(ALfloat) {}
void alDopplerVelocity(ALfloat) {}

const ALCchar* alcGetString(ALCdevice* device, ALCenum param) {
  if (device) return param == ALC_DEVICE_SPECIFIER ? device->reported : "";
  if (param == ALC_DEVICE_SPECIFIER) return kNames;
  if (param == ALC_DEFAULT_DEVICE_SPECIFIER) return "Gamma";
  return "";
}
void alcGetIntegerv(ALCdevice* device, ALCenum param, ALCsizei size, ALCint* values) {
  if (!device || size < 1 || !values) return;
  if (param == ALC_MAJOR_VERSION)
    *values = device->major;
  else if (param == ALC_MINOR_VERSION)
    *values = device->minor;
}
ALCdevice* alcOpenDevice(const ALCchar* name) {
  for (const FakeDevice& d : kDevices) {
    if (name && std::strcmp(name, d.name) == 0 && d.opens) {
      ++gOpenDevices;
      return new ALCdevice{d.reported, d.major, d.minor, d.eaxRam};
    }
  }
  return nullptr;
}
ALCboolean alcCloseDevice(ALCdevice* device) {
  if (!device) return AL_FALSE;
  --gOpenDevices;
  delete device;
  return AL_TRUE;
}
ALCcontext* alcCreateContext(ALCdevice* device, const ALCint*) {
  if (!device || std::strcmp(device->reported, "NoContext") == 0) return nullptr;
  ++gOpenContexts;
  return new ALCcontext{device};
}
ALCboolean alcMakeContextCurrent(ALCcontext* context) {
  gCurrent = context;
  return AL_TRUE;
}
void alcProcessContext(ALCcontext*) {}
ALCcontext* alcGetCurrentContext(void) { return gCurrent; }
ALCdevice* alcGetContextsDevice(ALCcontext* context) { return context ? context->device : nullptr; }
void alcSuspendContext(ALCcontext*) {}
void alcDestroyContext(ALCcontext* context) {
  if (!context) return;
  if (gCurrent == context) gCurrent = nullptr;
  --gOpenContexts;
  delete context;
}
ALCenum alcGetError(ALCdevice*) { return 0; }
ALCboolean alcIsExtensionPresent(ALCdevice* device, const ALCchar* name) {
  return !device && name && std::strcmp(name, "ALC_ENUMERATION_EXT") == 0 ? AL_TRUE : AL_FALSE;
}
void* alcGetProcAddress(ALCdevice*, const ALCchar*) { return nullptr; }
ALCenum alcGetEnumValue(ALCdevice*, const ALCchar*) { return 0; }

}  // extern "C"
