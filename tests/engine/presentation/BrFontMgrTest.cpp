// Fonts: the width file, layout with margins, lines, centring and right alignment, sizes, and missing fonts.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

#include "engine/kernel/BrConfigCache.h"
#include "engine/presentation/BrFont.h"
#include "engine/presentation/BrFontMgr.h"
#include "tests/engine/presentation/RenderTestKit.h"

namespace {

const float kSize = 0.02f;
const float kAspect = 800.0f / 600.0f;

// Writes count 16-bit widths of the given value to path.
void WriteWidths(const std::string& path, int count, uint16_t value) {
  FILE* f = std::fopen(path.c_str(), "wb");
  ASSERT_NE(f, nullptr);
  for (int i = 0; i < count; ++i) std::fwrite(&value, 2, 1, f);
  std::fclose(f);
}

}  // namespace

// A media folder of its own with a font whose characters are half a cell wide ("Fonts\\half.tga"), a font
// with a width file of 10 widths ("Fonts\\short.tga") and a font without a width file ("Fonts\\none.tga").
class FontTest : public brrendertest::RenderTest {
protected:
  void SetUp() override {
    scratch = std::make_unique<brtest::TempFolder>("brfont");
    media = scratch->String();
    brtest::fs::create_directories(scratch->Path() / "Fonts");
    WriteWidths(media + "/Fonts/halfBM.dat", 256, 32);
    WriteWidths(media + "/Fonts/shortBM.dat", 10, 16);
    oldMedia = Engine().getMediaDir();
    Engine().setMediaDir(BrStringT<char>(media.c_str()));
    RenderTest::SetUp();
    fonts = dev->FontMgr();
  }
  void TearDown() override {
    RenderTest::TearDown();
    Engine().setMediaDir(oldMedia);
    scratch.reset();
  }
  void UseHalf() { ASSERT_EQ(fonts->SetFont(BrStringT<char>("Fonts\\half.tga")), 0); }
  void Draw(const char* text, float x, float y, eFontFormatFlags flags) {
    BrStringT<char> s(text);
    BrARGB white(255, 255, 255, 255);
    fonts->DrawTextA(x, y, white, flags, s);
  }

  std::unique_ptr<brtest::TempFolder> scratch;
  std::string media;
  BrStringT<char> oldMedia;
  BrFontMgr* fonts = nullptr;
};

TEST_F(FontTest, WidthsComeFromTheFileBesideTheTexture) {
  UseHalf();
  BrFont* f = fonts->GetFont(0);
  ASSERT_NE(f, nullptr);
  EXPECT_EQ(f->GetNumWidths(), 256);
  EXPECT_FLOAT_EQ(f->GetCharWidthA('A'), 0.5f);
  EXPECT_FLOAT_EQ(f->GetCharWidthA(255), 0.5f);
  // Codes past the table are never read: they take the full cell.
  EXPECT_FLOAT_EQ(f->GetCharWidthA(256), 1.0f);
  EXPECT_FLOAT_EQ(f->GetCharWidthA(-1), 1.0f);
  // The texture became an alpha 2D material named after the file.
  EXPECT_EQ((unsigned int)f->GetFX(), dev->Effectors()->GetEffector(BrStringT<char>("FX_Fonts\\half.tga")));
  EXPECT_GE(f->GetFX(), 4);
}

TEST_F(FontTest, WidthsWiderThanTheCellAreClampedToIt) {
  WriteWidths(media + "/Fonts/wideBM.dat", 256, 60000);
  BrFont* wide = fonts->GetFont(fonts->GetFont(BrStringT<char>("Fonts\\wide.tga")));
  ASSERT_NE(wide, nullptr);
  EXPECT_FLOAT_EQ(wide->GetCharWidthA('M'), 1.0f);
  fonts->SetFont(BrStringT<char>("Fonts\\wide.tga"));
  BrStringT<char> two("MM");
  EXPECT_FLOAT_EQ(fonts->GetTextRect(two).maxX, 2 * fonts->GetSize());
}

// Seeded mutations of a width table (lengths, values, bytes): never a crash, always 256 widths within the cell.
// BR_FUZZ_ROUNDS and BR_FUZZ_SEED give other runs; with BR_FUZZ_SAVE_DIR set each table is also written there
// as "last-inputBM.dat" first, so a crash leaves its input to be kept as a regression file.
TEST_F(FontTest, MutatedWidthTablesNeverCrashAndStayWithinTheCell) {
  const char* env = std::getenv("BR_FUZZ_ROUNDS");
  const int rounds = env ? std::max(1, std::atoi(env)) : 3000;
  const char* seedEnv = std::getenv("BR_FUZZ_SEED");
  const char* saveDir = std::getenv("BR_FUZZ_SAVE_DIR");
  uint32_t state = seedEnv ? uint32_t(std::atoi(seedEnv)) : 777u;
  auto next = [&]() {
    state = state * 214013u + 2531011u;
    return (state >> 16) & 0x7FFF;
  };
  std::vector<uint8_t> good(512);
  for (size_t i = 0; i < good.size(); i += 2) good[i] = uint8_t(20 + i % 40);
  BrFont font;
  for (int m = 0; m < rounds; ++m) {
    std::vector<uint8_t> b = good;
    switch (next() % 3) {
      case 0: b.resize(next() % (b.size() + 64)); break;
      case 1:
        for (int k = 1 + int(next() % 16); k > 0; --k) b[next() % b.size()] = uint8_t(next());
        break;
      default: b.resize(b.size() + next() % 64, uint8_t(next()));
    }
    for (const std::string& dir : {media + "/Fonts", std::string(saveDir ? saveDir : "")}) {
      if (dir.empty()) continue;
      FILE* f = std::fopen((dir + (dir == media + "/Fonts" ? "/fuzzBM.dat" : "/last-inputBM.dat")).c_str(), "wb");
      ASSERT_NE(f, nullptr);
      if (!b.empty()) std::fwrite(b.data(), 1, b.size(), f);
      std::fclose(f);
    }
    font.SetName(BrStringT<char>("Fonts\\fuzz.tga"));
    ASSERT_EQ(font.GetNumWidths(), 256);
    for (int c = 0; c < 256; ++c) {
      const float w = font.GetCharWidthA(c);
      ASSERT_TRUE(w >= 0.0f && w <= 1.0f) << "code " << c << " width " << w << " round " << m;
    }
  }
}

TEST_F(FontTest, MissingOrShortWidthFilesGiveFullCells) {
  BrFont* none = fonts->GetFont(fonts->GetFont(BrStringT<char>("Fonts\\none.tga")));
  ASSERT_NE(none, nullptr);
  EXPECT_EQ(none->GetNumWidths(), 256);
  EXPECT_FLOAT_EQ(none->GetCharWidthA('A'), 1.0f);
  BrFont* shortFont = fonts->GetFont(fonts->GetFont(BrStringT<char>("Fonts\\short.tga")));
  ASSERT_NE(shortFont, nullptr);
  EXPECT_EQ(shortFont->GetNumWidths(), 256);
  EXPECT_FLOAT_EQ(shortFont->GetCharWidthA(9), 0.25f);
  EXPECT_FLOAT_EQ(shortFont->GetCharWidthA(10), 1.0f);
}

TEST_F(FontTest, AMediaFolderAlreadyInTheNameIsNotAddedTwice) {
  const std::string full = media + "\\Fonts\\half.tga";
  BrFont* f = fonts->GetFont(fonts->GetFont(BrStringT<char>(full.c_str())));
  ASSERT_NE(f, nullptr);
  EXPECT_FLOAT_EQ(f->GetCharWidthA('A'), 0.5f);
}

TEST_F(FontTest, TheSameFontIsLoadedOnce) {
  const int a = fonts->GetFont(BrStringT<char>("Fonts\\half.tga"));
  const unsigned int effectors = dev->Effectors()->Num();
  const size_t loads = dev->Textures()->loads.size();
  EXPECT_EQ(fonts->GetFont(BrStringT<char>("Fonts\\half.tga")), a);
  EXPECT_EQ(dev->Effectors()->Num(), effectors);
  EXPECT_EQ(dev->Textures()->loads.size(), loads);
  EXPECT_EQ(fonts->GetNumFonts(), 1);
}

TEST_F(FontTest, CharactersStepByTheirWidthLessTheMarginsAndLinesDropByTheLineHeight) {
  UseHalf();
  Draw("AB\nC", 0.1f, 0.1f, eFontFormatNone);
  ASSERT_EQ(dev->sprites.size(), 3u);
  const float pad = 0.25f * kSize;  // half of the unused half cell
  EXPECT_FLOAT_EQ(dev->sprites[0].x, 0.1f - pad);
  EXPECT_FLOAT_EQ(dev->sprites[1].x, 0.1f - pad + 0.75f * kSize - pad);
  const float line = kAspect * kSize * 1.325f;
  EXPECT_FLOAT_EQ(fonts->GetNewLineHeight(), line);
  EXPECT_FLOAT_EQ(dev->sprites[2].x, dev->sprites[0].x);  // C at the left margin
  EXPECT_FLOAT_EQ(dev->sprites[2].y, 0.1f + line);
  // Each character is a cell-sized sprite of the font's grid cell.
  const RecordingRenderDevice::Sprite& a = dev->sprites[0];
  EXPECT_FLOAT_EQ(a.w, kSize);
  EXPECT_FLOAT_EQ(a.h, kSize * kAspect);
  EXPECT_FLOAT_EQ(a.uLeft, 1.0f / 16.0f);  // 'A' = 65: column 1, row 4
  EXPECT_FLOAT_EQ(a.uRight, 2.0f / 16.0f);
  EXPECT_FLOAT_EQ(a.vTop, 4.0f / 16.0f);
  EXPECT_FLOAT_EQ(a.vBottom, 5.0f / 16.0f);
  EXPECT_FLOAT_EQ(a.z, 0.001f);
  EXPECT_TRUE(a.accepted);
}

TEST_F(FontTest, ASpaceAdvancesThreeQuartersOfTheSizeLessItsMargin) {
  UseHalf();
  Draw("A B", 0.1f, 0.1f, eFontFormatNone);
  ASSERT_EQ(dev->sprites.size(), 2u);
  const float pad = 0.25f * kSize;
  const float afterA = 0.1f - pad + 0.75f * kSize;
  EXPECT_NEAR(dev->sprites[1].x, afterA - pad + 0.75f * kSize - pad, 1e-6f);
}

TEST_F(FontTest, CentredTextIsMeasuredThenDrawnAroundThePoint) {
  UseHalf();
  Draw("AB", 0.5f, 0.3f, eFontFormatCentre);
  ASSERT_EQ(dev->sprites.size(), 2u);  // the measuring pass draws nothing
  const float pad = 0.25f * kSize;
  // The pen ends 2 x 0.5 size right of x, so the text moves left by half that; one line keeps its top.
  EXPECT_NEAR(dev->sprites[0].x, 0.5f - 0.5f * kSize - pad, 1e-6f);
  EXPECT_FLOAT_EQ(dev->sprites[0].y, 0.3f);
}

TEST_F(FontTest, RightAlignedTextEndsAtX) {
  UseHalf();
  BrStringT<char> ab("AB");
  const BrRect r = fonts->GetTextRect(ab);
  EXPECT_NEAR(r.maxX, kSize, 1e-6f);
  EXPECT_NEAR(r.maxY, fonts->GetNewLineHeight(), 1e-6f);
  Draw("AB", 0.5f, 0.3f, eFontFormatRight);
  ASSERT_EQ(dev->sprites.size(), 2u);
  // The pen after the last character (its width plus its margin) ends exactly at x.
  EXPECT_NEAR(dev->sprites[1].x + (0.5f + 0.25f) * kSize, 0.5f, 1e-6f);
  // Two lines measure to the top of the second plus one line.
  BrStringT<char> twoLines("A\nBB");
  EXPECT_NEAR(fonts->GetTextRect(twoLines).maxY, 2.0f * fonts->GetNewLineHeight(), 1e-6f);
}

TEST_F(FontTest, HighBytesUseTheirOwnCellsWithinTheWidthTable) {
  UseHalf();
  Draw("\xC8", 0.1f, 0.1f, eFontFormatNone);
  ASSERT_EQ(dev->sprites.size(), 1u);
  EXPECT_FLOAT_EQ(dev->sprites[0].uLeft, 8.0f / 16.0f);  // 200: column 8, row 12
  EXPECT_FLOAT_EQ(dev->sprites[0].vTop, 12.0f / 16.0f);
  EXPECT_FLOAT_EQ(dev->sprites[0].x, 0.1f - 0.25f * kSize);
}

TEST_F(FontTest, WithNoFontTextDrawsNothingAndMeasuresEmpty) {
  EXPECT_EQ(fonts->GetNumFonts(), 0);
  Draw("Hello", 0.1f, 0.1f, eFontFormatNone);
  Draw("Hello", 0.1f, 0.1f, eFontFormatCentre);
  Draw("Hello", 0.1f, 0.1f, eFontFormatRight);
  EXPECT_TRUE(dev->sprites.empty());
  BrStringT<char> hello("Hello");
  EXPECT_EQ(fonts->GetTextRect(hello), BrRect());
  EXPECT_EQ(fonts->GetFont(0), nullptr);
  EXPECT_EQ(fonts->SetFont(3), 0);
}

TEST_F(FontTest, SizesStepOnlyWithAValidFontSoPairedStepsNeverDrift) {
  const float start = fonts->GetSize();
  fonts->SizeUp(2);
  fonts->SizeDown(2);
  EXPECT_FLOAT_EQ(fonts->GetSize(), start);
  fonts->SizeDown(3);  // no font: no change either way
  EXPECT_FLOAT_EQ(fonts->GetSize(), start);
  UseHalf();
  fonts->SizeUp(2);
  EXPECT_FLOAT_EQ(fonts->GetSize(), start + 2 * 0.0025f);
  fonts->SizeDown(2);
  EXPECT_FLOAT_EQ(fonts->GetSize(), start);
  fonts->SetLeading(2.0f);
  EXPECT_FLOAT_EQ(fonts->GetLeading(), 1.0f);
  fonts->SetLeading(-1.0f);
  EXPECT_FLOAT_EQ(fonts->GetLeading(), 0.0f);
}

TEST_F(FontTest, TheConfiguredDefaultFontIsLoadedByInit) {
  BrConfigCache config;
  config.SetString(BrStringT<char>("App"), BrStringT<char>("DefaultFont"), BrStringT<char>("Fonts\\half.tga"));
  BrConfigCache* old = Engine().GetConfig();
  Engine().SetConfig(&config);
  const bool ok = fonts->Init();
  Engine().SetConfig(old);
  EXPECT_TRUE(ok);
  EXPECT_EQ(fonts->GetNumFonts(), 1);
  EXPECT_EQ(fonts->GetCurrFontID(), 0);
}

TEST(FontMgr, ADefaultFontThatCannotBeMadeFailsTheDeviceStart) {
  BrConfigCache config;
  config.SetString(BrStringT<char>("App"), BrStringT<char>("DefaultFont"), BrStringT<char>("Fonts\\half.tga"));
  BrConfigCache* old = Engine().GetConfig();
  Engine().SetConfig(&config);
  RecordingRenderDevice device;
  ScopedRenderDevice scope(&device);
  RecordingEffectorMgr effectors;
  effectors.failCreate = true;  // no 2D copy can be made for the font texture
  device.SetFXMgr(&effectors);
  EXPECT_FALSE(device.Init());
  EXPECT_EQ(device.FontMgr()->GetNumFonts(), 0);
  Engine().SetConfig(old);
  device.Exit();
  device.SetFXMgr(nullptr);
}

TEST_F(FontTest, FontFailuresAndBadIdsAreLogged) {
  brrendertest::ScopedLog log;
  Draw("Hi", 0.1f, 0.1f, eFontFormatNone);
  EXPECT_TRUE(log.Has("WARNING: Bad font id in BrFontMgr::DrawText(..), using default"));
  fonts->SetFont(7);
  EXPECT_TRUE(log.Has("WARNING: invalid font ID in BrFontMgr::SetFont(7)"));
  dev->Effectors()->failCreate = true;
  EXPECT_EQ(fonts->GetFont(BrStringT<char>("Fonts\\half.tga")), -1);
  EXPECT_TRUE(log.Has("ERROR: Failed to load default font, requesting exit"));
  EXPECT_EQ(fonts->GetNumFonts(), 0);
  BrConfigCache config;
  config.SetString(BrStringT<char>("App"), BrStringT<char>("DefaultFont"), BrStringT<char>("Fonts\\half.tga"));
  BrConfigCache* old = Engine().GetConfig();
  Engine().SetConfig(&config);
  EXPECT_FALSE(fonts->Init());
  Engine().SetConfig(old);
  EXPECT_TRUE(log.Has("ERROR: Failed to load default font!"));
  // The engine itself was not asked to exit from inside the font manager.
  EXPECT_FALSE(GExit);
}
