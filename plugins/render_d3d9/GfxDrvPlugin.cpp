// The plug-in's entry points: the engine creates and deletes its rendering device through these two functions.
#include <new>

#include "engine/kernel/BrPlugin.h"
#include "plugins/render_d3d9/BrD3DRenDev.h"

// Creates the plug-in's rendering device; null when it cannot be allocated.
BR_PLUGIN_EXPORT BrRenderBase* fnGetRenderingDevice() {
  try {
    return new BrD3DRenDev();
  } catch (const std::bad_alloc&) {
    return nullptr;
  }
}

// Deletes a device made by fnGetRenderingDevice; null is ignored.
BR_PLUGIN_EXPORT void fnDeleteRenderingDevice(BrRenderBase* device) { delete device; }
