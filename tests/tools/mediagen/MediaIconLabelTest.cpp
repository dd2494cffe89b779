// The names the media generator writes along the foot of each icon: whole names, one line when short, two when a
// long name would otherwise be cut or shrunk past reading.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "tools/mediagen/MediaPictures.h"

namespace {

std::string Joined(const std::vector<std::string>& lines) {
  std::string out;
  for (const std::string& line : lines) out += (out.empty() ? "" : " ") + line;
  return out;
}

}  // namespace

TEST(MediaIconLabel, EveryIconShowsItsWholeName) {
  mediagen::Typeface face;
  ASSERT_TRUE(face.load("/usr/share/fonts/truetype/dejavu/DejaVuSans.ttf")) << "Debian's fonts-dejavu-core";

  const std::vector<std::string> rope = mediagen::iconLabelLines(face, "Textures\\icons\\items\\rope.tga");
  EXPECT_EQ(rope, std::vector<std::string>{"rope"});

  // Names past ten letters were cut ("potion Hea", "leatherjer"); now they are whole.
  const std::vector<std::string> heal = mediagen::iconLabelLines(face, "Textures\\icons\\items\\potionGreaterHeal.tga");
  EXPECT_EQ(Joined(heal), "potion Greater Heal");
  EXPECT_EQ(heal.size(), 2u);
  EXPECT_EQ(Joined(mediagen::iconLabelLines(face, "Textures\\icons\\armour\\leatherjerkin.tga")), "leatherjerkin");
  EXPECT_EQ(Joined(mediagen::iconLabelLines(face, "Textures\\icons\\mutators\\MUTPoison(0.8).tga")), "Poison");
}
