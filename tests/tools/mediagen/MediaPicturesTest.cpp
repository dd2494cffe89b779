// Pictures of the media generator that text is written on or into: icon names whole along the icon's foot (one
// line when short, two when a long name would otherwise be cut or shrunk past reading), and the parchment the
// game writes on, where black text and the rollover yellow both read.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
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

// Relative luminance of a colour whose channels run 0..1 (sRGB), as contrast ratios are reckoned.
double Luminance(double r, double g, double b) {
  auto linear = [](double c) { return c <= 0.03928 ? c / 12.92 : std::pow((c + 0.055) / 1.055, 2.4); };
  return 0.2126 * linear(r) + 0.7152 * linear(g) + 0.0722 * linear(b);
}

double Contrast(double a, double b) { return (std::max(a, b) + 0.05) / (std::min(a, b) + 0.05); }

// The luminance below which the given share of the picture's pixels lie, over the part inside its frame.
double LuminanceAt(const mediagen::Image& img, double share) {
  std::vector<double> l;
  for (int y = 8; y < img.height() - 8; ++y)
    for (int x = 8; x < img.width() - 8; ++x) {
      const mediagen::Colour& c = img.at(x, y);
      l.push_back(Luminance(c.r, c.g, c.b));
    }
  std::sort(l.begin(), l.end());
  return l[size_t(share * double(l.size() - 1))];
}

TEST(MediaPictures, TextOnTheParchmentReadsInBlackAndInTheRolloverYellow) {
  mediagen::Typefaces faces;
  ASSERT_TRUE(faces.plain.load("/usr/share/fonts/truetype/dejavu/DejaVuSans.ttf"));
  ASSERT_TRUE(faces.title.load("/usr/share/fonts/truetype/dejavu/DejaVuSerif-Bold.ttf"));
  const double yellow = Luminance(255 / 255.0, 244 / 255.0, 0.0);  // the rollover colour of options and lists
  const double black = 0.0;
  // The dialogs' scroll and the options' and load menu's parchment carry black text that turns yellow under the
  // pointer; the save-name box and the hot-key prompt carry black text only.
  for (const char* path : {"Textures\\ui\\menus\\scrollm.tga", "Textures\\ui\\menus\\parchbox.tga"}) {
    const mediagen::Image img = mediagen::pictureFor(path, faces);
    EXPECT_GE(Contrast(yellow, LuminanceAt(img, 0.99)), 3.0) << path << ": yellow on its lightest part";
    EXPECT_GE(Contrast(black, LuminanceAt(img, 0.5)), 4.5) << path << ": black text";
  }
  const mediagen::Image box = mediagen::pictureFor("Textures\\ui\\menus\\savename.tga", faces);
  EXPECT_GE(Contrast(black, LuminanceAt(box, 0.5)), 4.5) << "black text on the save-name box";
}
