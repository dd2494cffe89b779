// Private helpers of the game flow's screens: screen sprites, texts and font steps through the device, spawning by name.
#pragma once

#include <cstdarg>
#include <cstdio>
#include <cstring>

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

// A line already formatted, drawn as it is.
inline void TextLine(BrRenderBase* render, float x, float y, BrARGB colour, int flags, const char* text) {
  if (!render || !text) return;
  char line[260];
  size_t n = 0;
  while (n + 1 < sizeof(line) && text[n]) ++n;
  memcpy(line, text, n);
  line[n] = 0;
  render->DrawTextA(x, y, colour, (eFontFormatFlags)flags, line);
}

// A line of text worked out again only when the values it shows change: the HUD draws the same few numbers
// every frame, and most frames none of them moves.
class CachedLine {
public:
  // The text for the values a, b, c; make(buffer, size) fills the buffer when they differ from last time.
  template <class Make>
  const char* Get(int a, int b, int c, Make make) {
    if (!m_bSet || a != m_Key[0] || b != m_Key[1] || c != m_Key[2]) {
      make(m_Text, sizeof(m_Text));
      m_Key[0] = a;
      m_Key[1] = b;
      m_Key[2] = c;
      m_bSet = true;
    }
    return m_Text;
  }
  // The value as "%i".
  const char* Number(int value) {
    return Get(value, 0, 0, [value](char* text, size_t size) { snprintf(text, size, "%i", value); });
  }

private:
  bool m_bSet = false;
  int m_Key[3] = {0, 0, 0};
  char m_Text[128] = "";
};

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
