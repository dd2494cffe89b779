// The plug-in's entry points: the engine creates and deletes its audio device through these two functions.
#include <new>

#include "engine/kernel/BrPlugin.h"
#include "plugins/audio_openal/BrSoundDrv.h"

// Creates the plug-in's audio device; null when it cannot be allocated.
BR_PLUGIN_EXPORT BrAudioMgrBase* fnGetAudioDevice() {
  try {
    return new BrSoundDrv();
  } catch (const std::bad_alloc&) {
    return nullptr;
  }
}

// Deletes a device made by fnGetAudioDevice; null is ignored.
BR_PLUGIN_EXPORT void fnDeleteAudioDevice(BrAudioMgrBase* device) { delete device; }
