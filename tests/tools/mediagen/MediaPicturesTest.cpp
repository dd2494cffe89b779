// Pictures of the media generator that text is written on or into: icon names whole along the icon's foot (one
// line when short, two when a long name would otherwise be cut or shrunk past reading), and the boxes the game
// writes black text on light enough to read it.
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

TEST(MediaPictures, EveryIconShowsItsWholeName) {
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

TEST(MediaPictures, BoxesTheGameWritesBlackTextOnAreLight) {
  mediagen::Typefaces faces;
  ASSERT_TRUE(faces.plain.load("/usr/share/fonts/truetype/dejavu/DejaVuSans.ttf"));
  ASSERT_TRUE(faces.title.load("/usr/share/fonts/truetype/dejavu/DejaVuSerif-Bold.ttf"));
  // The save-name box and the hot-key prompt (black text) and the dialogs' scroll (black text and options).
  for (const char* path : {"Textures\\ui\\menus\\savename.tga", "Textures\\ui\\menus\\scrollm.tga"}) {
    const mediagen::Image img = mediagen::pictureFor(path, faces);
    double light = 0.0;
    for (int y = 0; y < img.height(); ++y)
      for (int x = 0; x < img.width(); ++x) {
        const mediagen::Colour& c = img.at(x, y);
        light += (0.3 * c.r + 0.59 * c.g + 0.11 * c.b) * c.a;
      }
    EXPECT_GT(light / (img.width() * img.height()), 0.55) << path << " is too dark for black text";
  }
}
