// Mutated font width tables, seeded from the generated media's own tables and read by the running game's fonts:
// each input is loaded into the default font, text is laid out in every alignment through the real rendering
// device and frames are drawn with it. Seeded and repeatable (BR_FUZZ_SEED, BR_FUZZ_ROUNDS); tables that once
// broke the reader are kept under regressions/fontwidths and replayed first. Catches widths read past the
// table, widths outside the cell, text laid out to infinity or NaN, and a font that does not recover when its
// table is mended.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

#include "engine/kernel/kernel.h"
#include "engine/presentation/BrFont.h"
#include "engine/presentation/BrFontMgr.h"
#include "engine/presentation/BrRenderBase.h"
#include "tests/play/PlayRig.h"
#include "core/BrNumeric.h"

using namespace brplay;

namespace {

using Bytes = std::string;

using Rand = BrRandStream;

// One mutation of a table of 16-bit widths: cut short (often at an odd byte), widths overwritten with extreme
// values, bytes overwritten or bit-flipped, a run repeated, garbage appended, or another file's bytes read as
// widths (the texture itself, as a wrong name would give).
Bytes Mutate(const Bytes& seed, const Bytes& other, Rand& rng) {
  Bytes b = seed;
  switch (rng.Next() % 7) {
    case 0: b.resize(rng.Next() * 7u % (b.size() + 1)); break;
    case 1: {
      static const uint16_t extremes[] = {0, 1, 63, 64, 65, 0x7FFF, 0x8000, 0xFFFF};
      for (int i = 0, n = 1 + int(rng.Next() % 32); i < n; ++i) {
        const size_t at = (rng.Next() % (b.size() / 2)) * 2;
        const uint16_t w = extremes[rng.Next() % 8];
        b[at] = char(w & 0xFF);
        b[at + 1] = char(w >> 8);
      }
      break;
    }
    case 2:
      for (int i = 0, n = 1 + int(rng.Next() % 16); i < n; ++i) b[rng.Next() * 13u % b.size()] = char(rng.Next());
      break;
    case 3:
      for (int i = 0, n = 1 + int(rng.Next() % 8); i < n; ++i)
        b[rng.Next() * 13u % b.size()] ^= char(1u << (rng.Next() % 8));
      break;
    case 4: {
      const size_t at = rng.Next() * 11u % b.size();
      const Bytes run = b.substr(at, 1 + rng.Next() % 64);
      for (int i = 0, n = 1 + int(rng.Next() % 8); i < n; ++i) b.insert(at, run);
      break;
    }
    case 5:
      for (int i = 0, n = 1 + int(rng.Next() % 700); i < n; ++i) b.push_back(char(rng.Next()));
      break;
    default: b = other.substr(rng.Next() * 3u % other.size(), 1 + rng.Next() * 5u % 1024); break;
  }
  return b;
}

std::vector<Bytes> Regressions() {
  std::vector<Bytes> files;
  const char* source = std::getenv("BR_SOURCE_DIR");
  const fs::path folder = fs::path(source ? source : ".") / "tests" / "play" / "regressions" / "fontwidths";
  if (fs::exists(folder))
    for (const auto& entry : fs::directory_iterator(folder)) files.push_back(FileBytes(entry.path()));
  return files;
}

bool Finite(const BrRect& r) {
  return std::isfinite(r.minX) && std::isfinite(r.minY) && std::isfinite(r.maxX) && std::isfinite(r.maxY);
}

}  // namespace

TEST(FontWidthFuzz, MutatedTablesOfTheGeneratedFontsInTheRunningGame) {
  PlayTree tree;
  tree.CopyLinked("Media/Fonts");  // their tables are rewritten below
  std::vector<Bytes> seeds;
  for (const auto& entry : fs::directory_iterator(tree.Media() / "Fonts"))
    if (entry.path().filename().string().find("BM.dat") != std::string::npos) seeds.push_back(FileBytes(entry.path()));
  ASSERT_GE(seeds.size(), 2u) << "the media generator writes a width table for each font";
  for (const Bytes& seed : seeds) ASSERT_EQ(seed.size(), 512u);
  const fs::path table = tree.Media() / "Fonts" / "fontVanillaBM.dat";
  const Bytes original = FileBytes(table);
  const Bytes texture = FileBytes(tree.Media() / "Fonts" / "fontVanilla.tga");
  ASSERT_FALSE(texture.empty());

  tree.SetConfig("ShowIntro", "0");
  PlayHost host;
  ASSERT_TRUE(host.Start(3));
  ASSERT_TRUE(host.RunUntilState("BrRAGGameStateMainMenu", 2.0f));
  BrRenderBase* render = Engine().Render();
  ASSERT_NE(render, nullptr);
  BrFontMgr* fonts = render->FontMgr();
  ASSERT_NE(fonts, nullptr);
  BrFont* font = fonts->GetFont(fonts->GetCurrFontID());
  ASSERT_NE(font, nullptr);
  const BrStringT<char> name = font->GetName();
  std::vector<float> good;
  for (int c = 0; c < 256; ++c) good.push_back(font->GetCharWidthA(c));

  // Every byte value once, with line feeds and spaces between, so each width of the table is laid out.
  std::string all;
  for (int c = 1; c < 256; ++c) all += char(c == 10 ? ' ' : c);
  all += "\nThe quick brown fox\n  jumps";
  BrStringT<char> text(all.c_str());
  BrARGB white(255, 255, 255, 255);

  Rand rng{uint32_t(std::getenv("BR_FUZZ_SEED") ? std::atoi(std::getenv("BR_FUZZ_SEED")) : 20) * 7919u + 9u};
  std::vector<Bytes> inputs = Regressions();
  const char* rounds = std::getenv("BR_FUZZ_ROUNDS");
  for (int i = 0, n = rounds ? std::max(1, std::atoi(rounds)) : 3000; i < n; ++i)
    inputs.push_back(Mutate(seeds[size_t(i) % seeds.size()], texture, rng));
  const float size = fonts->GetSize();
  // No character is wider than its cell, so no line reaches past one cell per character.
  const float widest = float(all.size()) * size;
  int differed = 0;
  for (size_t i = 0; i < inputs.size(); ++i) {
    WriteFileBytes(table, inputs[i]);
    font->SetName(name);
    ASSERT_EQ(font->GetNumWidths(), 256) << "input " << i;
    bool changed = false;
    for (int c = 0; c < 256; ++c) {
      const float w = font->GetCharWidthA(c);
      ASSERT_TRUE(w >= 0.0f && w <= 1.0f) << "input " << i << " code " << c << " width " << w;
      changed = changed || w != good[size_t(c)];
    }
    differed += changed;
    const BrRect rect = fonts->GetTextRect(text);
    ASSERT_TRUE(Finite(rect)) << "input " << i;
    EXPECT_GE(rect.maxX, 0.0f) << "input " << i;
    EXPECT_LE(rect.maxX, widest) << "input " << i;
    render->DrawTextA(0.5f, 0.1f, white, eFontFormatCentre, &all[0]);
    render->DrawTextA(0.9f, 0.4f, white, eFontFormatRight, &all[0]);
    render->DrawTextA(0.1f, 0.7f, white, eFontFormatNone, &all[0]);
    // The menu's own text and the queued lines above reach the device.
    if (i % 50 == 0) host.Frame();
  }

  EXPECT_GT(differed, int(inputs.size()) / 2) << "the mutations hardly reached the font";

  // A folder where the table should be reads as no widths at all.
  const int before = int(tree.Log().size());
  fs::remove(table);
  fs::create_directory(table);
  font->SetName(name);
  EXPECT_EQ(font->GetNumWidths(), 256);
  EXPECT_FLOAT_EQ(font->GetCharWidthA('i'), 1.0f);
  EXPECT_NE(tree.Find("gave 0 of 256 widths", before), -1);
  fs::remove(table);

  // The table mended, the font reads it again as it was.
  WriteFileBytes(table, original);
  font->SetName(name);
  for (int c = 0; c < 256; ++c) ASSERT_FLOAT_EQ(font->GetCharWidthA(c), good[size_t(c)]) << c;
  host.Run(0.5f);
  EXPECT_EQ(host.State(), "BrRAGGameStateMainMenu");
  host.Leave();
  EXPECT_EQ(tree.LastLine(), "Exit granted");
}
