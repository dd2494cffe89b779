// brMediaPath: media names are relative to the media folder, unless they already start with it.
#include "engine/presentation/BrMediaPath.h"

#include "engine/kernel/BrEngine.h"

namespace {

char Lower(char c) { return (c >= 'A' && c <= 'Z') ? char(c - 'A' + 'a') : c; }

bool IsSep(char c) { return c == '\\' || c == '/'; }

}  // namespace

BrStringT<char> brMediaPath(const BrStringT<char>& mediaDir, const BrStringT<char>& name) {
  if (mediaDir.Length() == 0) return name;
  const char* dir = mediaDir.c_str();
  const char* text = name.c_str() ? name.c_str() : "";
  int n = mediaDir.Length();
  // "Media\\" and "Media" name the same folder.
  while (n > 0 && IsSep(dir[n - 1])) --n;
  if (n > 0 && name.Length() > n && IsSep(text[n])) {
    bool same = true;
    for (int i = 0; i < n && same; ++i) {
      const char a = dir[i], b = text[i];
      same = (IsSep(a) && IsSep(b)) || Lower(a) == Lower(b);
    }
    // The default font is named "Media\\Fonts\\fontVanilla.tga": prefixing it again would look in Media\\Media.
    if (same) return name;
  }
  // The configuration names the default font from the game's own folder ("Media\\Fonts\\..."). Under another
  // media folder (a mod's) that name means the same file there: prefixed as it stands it would be looked for in
  // the mod's "Media" subfolder, which a mod copied from the game's media folder does not have.
  const int own = 5;  // "Media"
  if (name.Length() > own && IsSep(text[own])) {
    bool same = true;
    for (int i = 0; i < own && same; ++i) same = Lower(text[i]) == "media"[i];
    if (same) return BrStringT<char>(mediaDir) + "\\" + BrStringT<char>(text + own + 1);
  }
  return BrStringT<char>(mediaDir) + "\\" + name;
}

BrStringT<char> brMediaPath(const BrStringT<char>& name) { return brMediaPath(Engine().getMediaDir(), name); }
