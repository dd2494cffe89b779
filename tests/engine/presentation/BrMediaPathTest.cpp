// Media names: prefixed with the media folder unless they already begin with it.
#include <gtest/gtest.h>

#include <string>

#include "engine/presentation/BrMediaPath.h"

namespace {
std::string Path(const char* dir, const char* name) {
  BrStringT<char> p = brMediaPath(BrStringT<char>(dir), BrStringT<char>(name));
  return p.c_str() ? p.c_str() : "";
}
}  // namespace

TEST(MediaPath, NamesAreRelativeToTheMediaFolderButNeverPrefixedTwice) {
  EXPECT_EQ(Path("Media", "Fonts\\fontVanilla.tga"), "Media\\Fonts\\fontVanilla.tga");
  EXPECT_EQ(Path("Media", "Media\\Fonts\\fontVanilla.tga"), "Media\\Fonts\\fontVanilla.tga");
  EXPECT_EQ(Path("Media", "media\\Fonts\\fontVanilla.tga"), "media\\Fonts\\fontVanilla.tga");
  EXPECT_EQ(Path("Mods\\Deep", "Mods\\Deep\\x.tga"), "Mods\\Deep\\x.tga");
  // Only the whole folder name counts.
  EXPECT_EQ(Path("Media", "MediaX\\a.tga"), "Media\\MediaX\\a.tga");
  EXPECT_EQ(Path("Media", "Media"), "Media\\Media");
  EXPECT_EQ(Path("", "Fonts\\a.tga"), "Fonts\\a.tga");
}
