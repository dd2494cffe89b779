// The legal splash as the player sees it, on the generated fonts and the real rendering device: the three small
// notice lines keep every letter. Catches a font sheet whose thin strokes fall between the texels a small line
// samples, so that letters break up or vanish.
#include <gtest/gtest.h>

#include <cstdint>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

#include "engine/presentation/BrFont.h"
#include "engine/presentation/BrFontMgr.h"
#include "engine/presentation/BrRenderBase.h"
#include "tests/play/PlayRig.h"

using namespace brplay;

namespace {

// The coverage (alpha, 0..1) of an uncompressed 32-bit TGA, top row first; empty for anything else.
std::vector<float> ReadAlpha(const fs::path& file, int& width, int& height) {
  std::ifstream in(file, std::ios::binary);
  const std::vector<uint8_t> b((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
  if (b.size() < 18 || b[2] != 2 || b[16] != 32) return {};
  width = b[12] | b[13] << 8;
  height = b[14] | b[15] << 8;
  const size_t start = 18 + b[0];
  if (b.size() < start + size_t(width) * size_t(height) * 4) return {};
  const bool topFirst = (b[17] & 0x20) != 0;
  std::vector<float> alpha(size_t(width) * size_t(height));
  for (int y = 0; y < height; ++y)
    for (int x = 0; x < width; ++x) {
      const int row = topFirst ? y : height - 1 - y;
      alpha[size_t(y) * size_t(width) + size_t(x)] =
          b[start + (size_t(row) * size_t(width) + size_t(x)) * 4 + 3] / 255.0f;
    }
  return alpha;
}

}  // namespace

TEST(LegalSplash, TheSmallNoticeLinesKeepEveryLetter) {
  PlayTree tree;
  tree.SetConfig("ShowIntro", "1");
  PlayHost host;
  ASSERT_TRUE(host.Start(5u));
  ASSERT_TRUE(host.RunUntilState("BrRAGGameStateLegalSplash", 20.0f));
  // The splash fades in over two seconds and holds until the fourth.
  host.Run(2.6f);
  ASSERT_TRUE(host.Game()->IsInState("BrRAGGameStateLegalSplash"));
  const fs::path file = tree.Game() / "splash.bmp";
  ASSERT_TRUE(host.Screenshot(file));
  Shot shot;
  ASSERT_TRUE(ReadBmp(file, shot));

  // The splash writes in the default font, two steps smaller than its size.
  BrFontMgr* fonts = Engine().Render()->FontMgr();
  ASSERT_NE(fonts, nullptr);
  BrFont* font = fonts->GetFont(0);
  ASSERT_NE(font, nullptr);
  int sheetW = 0, sheetH = 0;
  const std::vector<float> sheet = ReadAlpha(tree.Media() / "Fonts" / "fontVanilla.tga", sheetW, sheetH);
  ASSERT_EQ(sheetW, 1024);
  ASSERT_EQ(sheetH, 1024);
  const float size = fonts->GetSize() - 2.0f * fonts->GetSizeStep();
  // The frame is the back buffer's size, from the top left of the picture.
  const float frameW = float(Engine().Render()->GetWidth()), frameH = float(Engine().Render()->GetHeight());
  ASSERT_LE(int(frameW), shot.width);
  ASSERT_LE(int(frameH), shot.height);
  const float cellW = size * frameW;  // screen pixels per 64-texel cell
  const float cellH = size * Engine().Render()->GetAspectRatio() * frameH;

  struct Line {
    const char* text;
    float y;
  };
  const Line lines[] = {{"Copyright (c) Brelmar Technology. All rights reserved.", 0.48f},
                        {"Published by Gravelle. This game is a work of fiction.", 0.52f},
                        {"Unauthorised copying or distribution is prohibited.", 0.55f}};
  int letters = 0;
  for (const Line& line : lines) {
    // The pen moves as the font manager moves it; the line is centred on the middle of the screen.
    const std::string text = line.text;
    std::vector<float> pens;
    float pen = 0.0f;
    for (unsigned char c : text) {
      const float pad = (1.0f - font->GetCharWidthA(c)) * 0.5f;
      pen -= pad * size;
      pens.push_back(pen);
      pen += c == ' ' ? 0.75f * size : (font->GetCharWidthA(c) + pad) * size;
    }
    const float left = 0.5f - pen / 2.0f;
    const int top = int(line.y * frameH);
    for (size_t i = 0; i < text.size(); ++i) {
      const unsigned char c = static_cast<unsigned char>(text[i]);
      if (c == ' ') continue;
      // The ink the glyph holds in its sheet cell, in screen pixels, against the ink drawn over the middle
      // of its cell (its own width, where its neighbours do not reach). Whole letters draw 0.6 to 1.3 of it;
      // strokes lost between the sampled texels left an 'i' with 0.03 and a third of the letters under half.
      double expected = 0.0;
      for (int y = 0; y < 64; ++y)
        for (int x = 0; x < 64; ++x) expected += sheet[size_t((c / 16) * 64 + y) * 1024 + size_t((c % 16) * 64 + x)];
      expected *= double(cellW / 64.0f) * double(cellH / 64.0f);
      const float w = font->GetCharWidthA(c);
      const int x0 = int((left + pens[i] + (0.5f - w / 2.0f) * size) * frameW + 0.5f);
      const int x1 = int((left + pens[i] + (0.5f + w / 2.0f) * size) * frameW + 0.5f);
      double drawn = 0.0;
      for (int y = top - 2; y < top + int(cellH) + 2 && y < shot.height; ++y)
        for (int x = x0; x < x1 && x < shot.width; ++x) drawn += double((shot.At(x, y) >> 16) & 0xFF) / 255.0;
      EXPECT_GT(drawn, 0.5 * expected) << "'" << c << "' of \"" << line.text << "\" is broken up (" << drawn << " of "
                                       << expected << ")";
      ++letters;
    }
  }
  EXPECT_GT(letters, 120);
  host.Leave();
}
