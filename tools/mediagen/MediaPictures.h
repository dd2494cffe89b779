// MediaPictures: the picture a media path asks for (a wall, an icon, a cursor, a button, a gauge, a font...).
#pragma once

#include <string>
#include <vector>

#include "tools/mediagen/MediaImage.h"

namespace mediagen {

// The typefaces pictures write with: a plain one for labels and a decorated one for titles.
struct Typefaces {
  Typeface plain;
  Typeface title;
};

// The lines an icon's name is written in along its foot: the whole name, on one line when it reads at the label's
// size there, otherwise split at its first space.
std::vector<std::string> iconLabelLines(const Typeface& face, const std::string& mediaPath);

// Draws the picture for a media path (backslashes, any case, relative to the media folder).
Image pictureFor(const std::string& mediaPath, const Typefaces& faces);

// A bitmap font: a 16 by 16 grid of 64-pixel cells (codes 0 to 255) in white on transparent, and the width of
// each character in pixels of its cell, as the engine's width file holds them (256 little-endian 16-bit values).
struct FontSheet {
  Image sheet{1024, 1024};
  std::vector<uint8_t> widthFile;
};
// xScale narrows the glyphs (and so the widths) of a face too wide for the boxes its text must fit.
FontSheet fontFor(const Typeface& face, float xScale = 1.0f);

}  // namespace mediagen
