// The entry points a device plug-in exports by name, and their function types.
#pragma once

class BrRenderBase;
class BrAudioMgrBase;
class BrIpDevBase;
class BrFmtParseBase;

// Marks a plug-in's entry point: unmangled and visible, so the engine resolves it by name.
#define BR_PLUGIN_EXPORT extern "C" __attribute__((visibility("default")))

extern "C" {
// "fnGetRenderingDevice": a new device, or null when it cannot be made.
typedef BrRenderBase* (*BrGetRenderingDeviceFn)();
// "fnDeleteRenderingDevice": nothing for null, else deletes the device.
typedef void (*BrDeleteRenderingDeviceFn)(BrRenderBase*);
// "fnGetAudioDevice" / "fnDeleteAudioDevice".
typedef BrAudioMgrBase* (*BrGetAudioDeviceFn)();
typedef void (*BrDeleteAudioDeviceFn)(BrAudioMgrBase*);
// "fnGetIpDevice" / "fnDeleteIpDevice".
typedef BrIpDevBase* (*BrGetIpDeviceFn)();
typedef void (*BrDeleteIpDeviceFn)(BrIpDevBase*);
// "fnGetFormatParser" / "fnDeleteFormatParser".
typedef BrFmtParseBase* (*BrGetFormatParserFn)();
typedef void (*BrDeleteFormatParserFn)(BrFmtParseBase*);
}
