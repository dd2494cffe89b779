// The OpenAL 1.1 types, constants and entry points the audio plug-in uses, declared here so no OpenAL header is needed.
#pragma once

#include <cstdint>

typedef char ALboolean;
typedef char ALchar;
typedef int ALint;
typedef unsigned int ALuint;
typedef int ALsizei;
typedef int ALenum;
typedef float ALfloat;
typedef double ALdouble;
typedef void ALvoid;

typedef char ALCboolean;
typedef char ALCchar;
typedef int ALCint;
typedef int ALCsizei;
typedef int ALCenum;
struct ALCdevice;
struct ALCcontext;

enum : ALenum {
  AL_NONE = 0,
  AL_FALSE = 0,
  AL_TRUE = 1,
  AL_SOURCE_RELATIVE = 0x202,
  AL_PITCH = 0x1003,
  AL_POSITION = 0x1004,
  AL_LOOPING = 0x1007,
  AL_BUFFER = 0x1009,
  AL_GAIN = 0x100A,
  AL_SOURCE_STATE = 0x1010,
  AL_INITIAL = 0x1011,
  AL_PLAYING = 0x1012,
  AL_PAUSED = 0x1013,
  AL_STOPPED = 0x1014,
  AL_FORMAT_MONO8 = 0x1100,
  AL_FORMAT_MONO16 = 0x1101,
  AL_FORMAT_STEREO8 = 0x1102,
  AL_FORMAT_STEREO16 = 0x1103,
  AL_CHANNELS = 0x2003,
  AL_NO_ERROR = 0,
  AL_INVALID_NAME = 0xA001,
  AL_INVALID_ENUM = 0xA002,
  AL_INVALID_VALUE = 0xA003,
  AL_INVALID_OPERATION = 0xA004,
  AL_OUT_OF_MEMORY = 0xA005,
  AL_INVERSE_DISTANCE_CLAMPED = 0xD002,
};

enum : ALCenum {
  ALC_MAJOR_VERSION = 0x1000,
  ALC_MINOR_VERSION = 0x1001,
  ALC_DEFAULT_DEVICE_SPECIFIER = 0x1004,
  ALC_DEVICE_SPECIFIER = 0x1005,
};

// Every entry point of the loader's table, in table order: X(result, name, parameters).
#define BR_OPENAL_ENTRY_POINTS(X)                                                                       \
  X(void, alEnable, (ALenum capability))                                                                \
  X(void, alDisable, (ALenum capability))                                                               \
  X(ALboolean, alIsEnabled, (ALenum capability))                                                        \
  X(ALboolean, alGetBoolean, (ALenum param))                                                            \
  X(ALint, alGetInteger, (ALenum param))                                                                \
  X(ALfloat, alGetFloat, (ALenum param))                                                                \
  X(ALdouble, alGetDouble, (ALenum param))                                                              \
  X(void, alGetBooleanv, (ALenum param, ALboolean * values))                                            \
  X(void, alGetIntegerv, (ALenum param, ALint * values))                                                \
  X(void, alGetFloatv, (ALenum param, ALfloat * values))                                                \
  X(void, alGetDoublev, (ALenum param, ALdouble * values))                                              \
  X(const ALchar*, alGetString, (ALenum param))                                                         \
  X(ALenum, alGetError, (void))                                                                         \
  X(ALboolean, alIsExtensionPresent, (const ALchar* name))                                              \
  X(void*, alGetProcAddress, (const ALchar* name))                                                      \
  X(ALenum, alGetEnumValue, (const ALchar* name))                                                       \
  X(void, alListeneri, (ALenum param, ALint value))                                                     \
  X(void, alListenerf, (ALenum param, ALfloat value))                                                   \
  X(void, alListener3f, (ALenum param, ALfloat v1, ALfloat v2, ALfloat v3))                             \
  X(void, alListenerfv, (ALenum param, const ALfloat* values))                                          \
  X(void, alGetListeneri, (ALenum param, ALint * value))                                                \
  X(void, alGetListenerf, (ALenum param, ALfloat * value))                                              \
  X(void, alGetListener3f, (ALenum param, ALfloat * v1, ALfloat * v2, ALfloat * v3))                    \
  X(void, alGetListenerfv, (ALenum param, ALfloat * values))                                            \
  X(void, alGenSources, (ALsizei n, ALuint * sources))                                                  \
  X(void, alDeleteSources, (ALsizei n, const ALuint* sources))                                          \
  X(ALboolean, alIsSource, (ALuint source))                                                             \
  X(void, alSourcei, (ALuint source, ALenum param, ALint value))                                        \
  X(void, alSourcef, (ALuint source, ALenum param, ALfloat value))                                      \
  X(void, alSource3f, (ALuint source, ALenum param, ALfloat v1, ALfloat v2, ALfloat v3))                \
  X(void, alSourcefv, (ALuint source, ALenum param, const ALfloat* values))                             \
  X(void, alGetSourcei, (ALuint source, ALenum param, ALint * value))                                   \
  X(void, alGetSourcef, (ALuint source, ALenum param, ALfloat * value))                                 \
  X(void, alGetSourcefv, (ALuint source, ALenum param, ALfloat * values))                               \
  X(void, alSourcePlayv, (ALsizei n, const ALuint* sources))                                            \
  X(void, alSourceStopv, (ALsizei n, const ALuint* sources))                                            \
  X(void, alSourcePlay, (ALuint source))                                                                \
  X(void, alSourcePause, (ALuint source))                                                               \
  X(void, alSourceStop, (ALuint source))                                                                \
  X(void, alGenBuffers, (ALsizei n, ALuint * buffers))                                                  \
  X(void, alDeleteBuffers, (ALsizei n, const ALuint* buffers))                                          \
  X(ALboolean, alIsBuffer, (ALuint buffer))                                                             \
  X(void, alBufferData, (ALuint buffer, ALenum format, const ALvoid* data, ALsizei size, ALsizei freq)) \
  X(void, alGetBufferi, (ALuint buffer, ALenum param, ALint * value))                                   \
  X(void, alGetBufferf, (ALuint buffer, ALenum param, ALfloat * value))                                 \
  X(void, alSourceQueueBuffers, (ALuint source, ALsizei n, const ALuint* buffers))                      \
  X(void, alSourceUnqueueBuffers, (ALuint source, ALsizei n, ALuint * buffers))                         \
  X(void, alDistanceModel, (ALenum model))                                                              \
  X(void, alDopplerFactor, (ALfloat value))                                                             \
  X(void, alDopplerVelocity, (ALfloat value))                                                           \
  X(const ALCchar*, alcGetString, (ALCdevice * device, ALCenum param))                                  \
  X(void, alcGetIntegerv, (ALCdevice * device, ALCenum param, ALCsizei size, ALCint * values))          \
  X(ALCdevice*, alcOpenDevice, (const ALCchar* name))                                                   \
  X(ALCboolean, alcCloseDevice, (ALCdevice * device))                                                   \
  X(ALCcontext*, alcCreateContext, (ALCdevice * device, const ALCint* attributes))                      \
  X(ALCboolean, alcMakeContextCurrent, (ALCcontext * context))                                          \
  X(void, alcProcessContext, (ALCcontext * context))                                                    \
  X(ALCcontext*, alcGetCurrentContext, (void))                                                          \
  X(ALCdevice*, alcGetContextsDevice, (ALCcontext * context))                                           \
  X(void, alcSuspendContext, (ALCcontext * context))                                                    \
  X(void, alcDestroyContext, (ALCcontext * context))                                                    \
  X(ALCenum, alcGetError, (ALCdevice * device))                                                         \
  X(ALCboolean, alcIsExtensionPresent, (ALCdevice * device, const ALCchar* name))                       \
  X(void*, alcGetProcAddress, (ALCdevice * device, const ALCchar* name))                                \
  X(ALCenum, alcGetEnumValue, (ALCdevice * device, const ALCchar* name))

// The device calls OpenAL through the plug-in's link-time imports of the system's OpenAL library.
#define BR_OPENAL_DECLARE_IMPORT(result, name, params) result name params;
extern "C" {
BR_OPENAL_ENTRY_POINTS(BR_OPENAL_DECLARE_IMPORT)
}
#undef BR_OPENAL_DECLARE_IMPORT

// The table of OpenAL entry points bound by name at run time (for the device list), in the loader's order.
struct ALFunctionTable {
#define BR_OPENAL_TABLE_MEMBER(result, name, params) result(*name) params;
  BR_OPENAL_ENTRY_POINTS(BR_OPENAL_TABLE_MEMBER)
#undef BR_OPENAL_TABLE_MEMBER
};

// One count per entry point, so the table's size is checked where it is filled.
#define BR_OPENAL_COUNT_ONE(result, name, params) +1
constexpr int kOpenALEntryPointCount = 0 BR_OPENAL_ENTRY_POINTS(BR_OPENAL_COUNT_ONE);
#undef BR_OPENAL_COUNT_ONE
static_assert(kOpenALEntryPointCount == 65, "the loader binds 65 entry points");
