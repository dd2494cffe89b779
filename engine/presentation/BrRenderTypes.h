// The enumerations of the rendering device's signatures; the rendering plug-in interprets the values.
#pragma once

// 1: clear the colour target to black (and the depth buffer to 1.0 when one is in use); other values clear nothing.
enum ePreRenderClearFlag { ePreRenderClearNone = 0, ePreRenderClearAll = 1 };
// Where a buffer lives: device memory, system memory, or managed by the device.
enum eMemPool { eMemPoolDevice = 1, eMemPoolSystem = 2, eMemPoolManaged = 3 };
// Whether a resource's contents change.
enum eResUsage { eResUsageStatic = 0, eResUsageDynamic = 1 };
// Index formats (the Direct3D 9 format codes).
enum eIDXFormat { eIDXFormatNone = 0, eIDXFormat16 = 101, eIDXFormat32 = 102 };
// Static textures are loaded from files and cached by name; dynamic ones are made by CreateTexture.
enum eTextureType { eTextureStatic = 1, eTextureDynamic = 2 };
// Texel formats: 32-bit ARGB, 8 bits each (the Direct3D 9 code), the only one requested.
enum eResFormat { eResFormatARGB8888 = 21 };
// Outcome of an index-buffer write: failed, appended, or written at the start of a discarded buffer.
enum eLockResult { eLockFailed = 0, eLockAppended = 1, eLockDiscarded = 2 };
// Effector text kinds: a shader script.
enum eFXRep { eFXRepShaderScript = 1 };
// Face culling: none, or counter-clockwise faces.
enum ePolyCullMode { ePolyCullNone = 1, ePolyCullCCW = 2 };
// Text placement: 1 centres the text on the point, 2 right-aligns it at x.
enum eFontFormatFlags { eFontFormatNone = 0, eFontFormatCentre = 1, eFontFormatRight = 2 };
