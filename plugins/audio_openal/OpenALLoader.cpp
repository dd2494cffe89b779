// Binds the OpenAL entry points by name through the win32 layer's library calls.
#include "plugins/audio_openal/OpenALLoader.h"

#include <cstdio>
#include <cstring>

#include "platform/win32/win32_kernel.h"

const char* const kDefaultOpenALLibrary = "libopenal.so.1";

namespace {

// One handle for the whole plug-in: the device list loads and unloads the library around its enumeration.
HMODULE gOpenALLibrary = nullptr;

// The debugger's channel on this platform is the standard error stream.
void DebuggerMessage(const char* text) {
  std::fputs(text, stderr);
  std::fflush(stderr);
}

template <class Fn>
bool Bind(HMODULE library, const char* name, Fn& slot) {
  FARPROC address = GetProcAddress(library, name);
  if (!address) {
    char message[128];
    std::snprintf(message, sizeof(message), "Failed to retrieve '%s' function address\n", name);
    DebuggerMessage(message);
    return false;
  }
  // Through void(*)(): the one conversion between function-pointer types that means "any function".
  slot = reinterpret_cast<Fn>(reinterpret_cast<void (*)()>(address));
  return true;
}

}  // namespace

bool brLoadOpenAL(const char* library, ALFunctionTable* table) {
  if (!table) return false;
  if (gOpenALLibrary) {
    // A second load would leak the first handle; the table is bound again from a fresh load of the named library.
    FreeLibrary(gOpenALLibrary);
    gOpenALLibrary = nullptr;
  }
  gOpenALLibrary = LoadLibraryA(library ? library : kDefaultOpenALLibrary);
  if (!gOpenALLibrary) return false;
  *table = ALFunctionTable{};
#define BR_OPENAL_BIND(result, name, params) \
  if (!Bind(gOpenALLibrary, #name, table->name)) return false;
  BR_OPENAL_ENTRY_POINTS(BR_OPENAL_BIND)
#undef BR_OPENAL_BIND
  return true;
}

void brUnloadOpenAL() {
  if (gOpenALLibrary) {
    FreeLibrary(gOpenALLibrary);
    gOpenALLibrary = nullptr;
  }
}

bool brIsOpenALLoaded() { return gOpenALLibrary != nullptr; }

bool brInitOpenAL() {
  ALCdevice* device = alcOpenDevice("DirectSound3D");
  if (!device) return false;
  ALCcontext* context = alcCreateContext(device, nullptr);
  if (!context) {
    alcCloseDevice(device);
    return false;
  }
  alcMakeContextCurrent(context);
  return true;
}

void brShutdownOpenAL() {
  ALCcontext* context = alcGetCurrentContext();
  if (!context) return;
  ALCdevice* device = alcGetContextsDevice(context);
  alcMakeContextCurrent(nullptr);
  alcDestroyContext(context);
  if (device) alcCloseDevice(device);
}
