// Private helpers of the game flow's screens: screen sprites, texts and font steps through the device, spawning by name.
#pragma once

#include <cstdarg>
#include <cstdio>

#include "core/BrARGB.h"
#include "engine/kernel/BrEngine.h"
#include "engine/presentation/BrEffectorMgr.h"
#include "engine/presentation/BrFontMgr.h"
#include "engine/presentation/BrRenderBase.h"
#include "templates/BrStringT.h"

namespace brflow {

// A screen sprite with the conventions of the screens: depth z, the texture's inside 0.001 to 0.999.
inline void Sprite(BrRenderBase* render, float x, float y, float w, float h, unsigned int effector, float z,
                   BrARGB colour, float rotation = 0.0f) {
  if (!render) return;
  render->DrawSprite(x, y, w, h, effector, z, colour, rotation, 0.001f, 0.001f, 0.999f, 0.999f);
}

// Formatted text through the device (which formats into its own 260 characters).
inline void Text(BrRenderBase* render, float x, float y, BrARGB colour, int flags, const char* format, ...) {
  if (!render) return;
  char line[260];
  va_list args;
  va_start(args, format);
  vsnprintf(line, sizeof(line), format, args);
  va_end(args);
  render->DrawTextA(x, y, colour, (eFontFormatFlags)flags, line);
}

inline void FontUp(BrRenderBase* render, int steps) {
  if (render && render->FontMgr()) render->FontMgr()->SizeUp(steps);
}
inline void FontDown(BrRenderBase* render, int steps) {
  if (render && render->FontMgr()) render->FontMgr()->SizeDown(steps);
}
inline float LineHeight(BrRenderBase* render) {
  return (render && render->FontMgr()) ? render->FontMgr()->GetNewLineHeight() : 0.0f;
}
inline float Aspect(BrRenderBase* render) { return render ? render->GetAspectRatio() : 1.0f; }

// The effector of an image, made on first use (the caller keeps the index); 0 without a device.
inline int LoadIcon(BrRenderBase* render, const char* file, const char* name) {
  if (!render || !render->FXMgr()) return 0;
  return render->FXMgr()->LoadIconA(BrStringT<char>(file), BrStringT<char>(name));
}
// The index registered under the name; 0 when none.
inline unsigned int FindEffector(BrRenderBase* render, const char* name) {
  if (!render || !render->FXMgr()) return 0;
  return render->FXMgr()->GetEffector(BrStringT<char>(name));
}

// A new object of the class name when it is a T (or derives from it); null otherwise (nothing is leaked).
template <class T>
T* Spawn(const char* className) {
  BrObject* object = static_cast<BrObject*>(Engine().Spawn(className));
  if (!object) return nullptr;
  if (!object->IsA(T::Type)) {
    delete object;
    return nullptr;
  }
  return static_cast<T*>(object);
}

}  // namespace brflow
