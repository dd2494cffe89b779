// Tests of BrTGAFile: validation, grey-scale reads, export of built images and malformed files.
#include "core/BrTGAFile.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <random>
#include <string>
#include <vector>

#include "CoreTestKit.h"

namespace {
// The bytes of a TGA file: the 18-byte header then the pixel bytes as given.
std::vector<uint8_t> TgaBytes(int width, int height, int type = 2, int bits = 24, int idLength = 0,
                              const std::vector<uint8_t>& pixels = {}) {
  std::vector<uint8_t> b = {uint8_t(idLength),
                            0,
                            uint8_t(type),
                            0,
                            0,
                            0,
                            0,
                            0,
                            0,
                            0,
                            0,
                            0,
                            uint8_t(width & 0xFF),
                            uint8_t(width >> 8),
                            uint8_t(height & 0xFF),
                            uint8_t(height >> 8),
                            uint8_t(bits),
                            0};
  const size_t header = b.size();
  b.resize(header + pixels.size());
  std::copy(pixels.begin(), pixels.end(), b.begin() + std::ptrdiff_t(header));
  return b;
}

// width x height pixels of one colour, stored blue, green, red.
std::vector<uint8_t> Fill(int count, uint8_t r, uint8_t g, uint8_t b) {
  std::vector<uint8_t> px;
  for (int i = 0; i < count; ++i) {
    px.push_back(b);
    px.push_back(g);
    px.push_back(r);
  }
  return px;
}

class BrTGAFileTest : public coretest::ScratchTest {
protected:
  std::string Path(const char* name) const { return Folder() + "/" + name; }
  // Writes bytes as name and loads them into tga.
  void Load(BrTGAFile& tga, const std::vector<uint8_t>& bytes, const char* name = "img.tga") {
    coretest::WriteFileBytes(Path(name), bytes);
    ASSERT_TRUE(tga.Populate(Path(name).c_str()));
  }
};
}  // namespace

TEST_F(BrTGAFileTest, ValidateChecksFormatAndSize) {
  BrTGAFile tga;
  EXPECT_FALSE(tga.Validate());
  Load(tga, TgaBytes(2, 2, 2, 24, 0, Fill(4, 1, 2, 3)));
  EXPECT_TRUE(tga.Validate());
  EXPECT_EQ(tga.GetWidth(), 2u);
  EXPECT_EQ(tga.GetHeight(), 2u);

  Load(tga, TgaBytes(1, 2, 2, 24, 0, Fill(2, 1, 2, 3)));
  EXPECT_FALSE(tga.Validate());
  Load(tga, TgaBytes(2, 1, 2, 24, 0, Fill(2, 1, 2, 3)));
  EXPECT_FALSE(tga.Validate());
  Load(tga, TgaBytes(2, 2, 10, 24, 0, Fill(4, 1, 2, 3)));
  EXPECT_FALSE(tga.Validate());
  Load(tga, TgaBytes(2, 2, 2, 32, 0, Fill(6, 1, 2, 3)));
  EXPECT_FALSE(tga.Validate());
  Load(tga, TgaBytes(2, 2, 2, 24, 1, Fill(5, 1, 2, 3)));
  EXPECT_FALSE(tga.Validate());

  // The bytes must hold every declared pixel: one byte short fails, extra bytes do not matter.
  std::vector<uint8_t> shortImage = TgaBytes(2, 2, 2, 24, 0, Fill(4, 1, 2, 3));
  shortImage.pop_back();
  Load(tga, shortImage);
  EXPECT_FALSE(tga.Validate());
  EXPECT_EQ(tga.GetGreyScale(1, 0), 0);
  std::vector<uint8_t> longImage = TgaBytes(2, 2, 2, 24, 0, Fill(5, 1, 2, 3));
  Load(tga, longImage);
  EXPECT_TRUE(tga.Validate());

  // Huge dimensions with almost no pixels.
  Load(tga, TgaBytes(65535, 65535, 2, 24, 0, Fill(4, 255, 255, 255)));
  EXPECT_FALSE(tga.Validate());
  EXPECT_EQ(tga.GetGreyScale(0, 0), 0);
  EXPECT_EQ(tga.GetGreyScale(65534, 65534), 0);

  // Shorter than a header, empty, missing.
  Load(tga, {0, 0, 2, 0, 0});
  EXPECT_FALSE(tga.Validate());
  EXPECT_EQ(tga.GetWidth(), 0u);
  Load(tga, {});
  EXPECT_FALSE(tga.Validate());
  EXPECT_FALSE(tga.Populate(Path("missing.tga").c_str()));
  EXPECT_FALSE(tga.Validate());
  BrTGAFile missing(Path("missing.tga").c_str());
  EXPECT_FALSE(missing.Validate());
  EXPECT_EQ(missing.GetGreyScale(0, 0), 0);
}

TEST_F(BrTGAFileTest, GreyScaleReadsRowsTopDown) {
  // File rows: bottom row pure blue, top row pure red.
  std::vector<uint8_t> px = Fill(2, 0, 0, 255);
  std::vector<uint8_t> red = Fill(2, 255, 0, 0);
  px.insert(px.end(), red.begin(), red.end());
  coretest::WriteFileBytes(Path("rb.tga"), TgaBytes(2, 2, 2, 24, 0, px));
  BrTGAFile tga(Path("rb.tga").c_str());
  ASSERT_TRUE(tga.Validate());
  EXPECT_EQ(tga.GetGreyScale(0, 0), 76);
  EXPECT_EQ(tga.GetGreyScale(1, 0), 76);
  EXPECT_EQ(tga.GetGreyScale(0, 1), 28);
  EXPECT_EQ(tga.GetGreyScale(1, 1), 28);
  // Outside the image: 0, never a read past the bytes.
  EXPECT_EQ(tga.GetGreyScale(2, 0), 0);
  EXPECT_EQ(tga.GetGreyScale(0, 2), 0);
  EXPECT_EQ(tga.GetGreyScale(0xFFFFFFFFu, 0xFFFFFFFFu), 0);

  BrTGAFile white;
  Load(white, TgaBytes(2, 2, 2, 24, 0, Fill(4, 255, 255, 255)));
  EXPECT_EQ(white.GetGreyScale(1, 1), 254);
  BrTGAFile green;
  Load(green, TgaBytes(3, 2, 2, 24, 0, Fill(6, 0, 100, 0)));
  EXPECT_EQ(green.GetGreyScale(2, 1), 58);  // 0.59 as a float is a little less
}

TEST_F(BrTGAFileTest, ExportWritesBuiltRowsBottomFirst) {
  BrTGAFile tga;
  _tgaheaderinfo h;
  h.imageType = 2;
  h.width = 3;
  h.height = 2;
  h.bitsPerPixel = 24;
  h.xOrigin = 0x1234;
  tga.SetHeader(h);
  // Built top row first: 10, 20, 30 then 40, 50, 60 in red.
  for (int i = 1; i <= 6; ++i) tga.AddRGB(uint8_t(10 * i), uint8_t(i), 0);
  ASSERT_TRUE(tga.Export(Path("out.tga").c_str()));

  std::vector<uint8_t> bytes = coretest::ReadFileBytes(Path("out.tga"));
  ASSERT_EQ(bytes.size(), 36u);
  std::vector<uint8_t> header(bytes.begin(), bytes.begin() + 18);
  std::vector<uint8_t> wantHeader = TgaBytes(3, 2);
  wantHeader[8] = 0x34;
  wantHeader[9] = 0x12;
  EXPECT_EQ(header, wantHeader);
  const std::vector<uint8_t> wantPixels = {0, 4, 40, 0, 5, 50, 0, 6, 60, 0, 1, 10, 0, 2, 20, 0, 3, 30};
  EXPECT_EQ(std::vector<uint8_t>(bytes.begin() + 18, bytes.end()), wantPixels);

  // Read back, the picture is the one built.
  BrTGAFile back(Path("out.tga").c_str());
  ASSERT_TRUE(back.Validate());
  EXPECT_EQ(back.GetGreyScale(0, 0), 3);   // 10 x 0.3 + 1 x 0.59
  EXPECT_EQ(back.GetGreyScale(2, 1), 21);  // 60 x 0.3 + 6 x 0.59
}

TEST_F(BrTGAFileTest, ExportReportsFailures) {
  // A failed export is written to the log of every build, not only the debug one.
  GIsDebug = false;
  BrTGAFile tga;
  _tgaheaderinfo h;
  h.imageType = 2;
  h.width = 4;
  h.height = 4;
  h.bitsPerPixel = 24;
  tga.SetHeader(h);
  for (int i = 0; i < 15; ++i)  // one pixel short
    tga.AddRGB(1, 2, 3);
  EXPECT_FALSE(tga.Export(Path("short.tga").c_str()));
  EXPECT_FALSE(std::filesystem::exists(Path("short.tga")));
  EXPECT_NE(LogText().find("ERROR: Failed to export image for " + Path("short.tga")), std::string::npos);

  tga.AddRGB(1, 2, 3);
  EXPECT_FALSE(tga.Export(Path("no/such/folder/x.tga").c_str()));
  EXPECT_FALSE(tga.Export(nullptr));
  EXPECT_TRUE(tga.Export(Path("ok.tga").c_str()));
  EXPECT_EQ(coretest::ReadFileBytes(Path("ok.tga")).size(), 18u + 48u);
  // A loaded object can export again after its stream was used for reading.
  BrTGAFile loaded(Path("ok.tga").c_str());
  ASSERT_TRUE(loaded.Validate());
  EXPECT_EQ(loaded.GetGreyScale(3, 3), 1);  // 3 x 0.11 + 2 x 0.59 + 1 x 0.3
}

TEST_F(BrTGAFileTest, MalformedFilesFailCleanly) {
  // A valid 5x4 image with varied pixels, then truncations and random byte changes of it.
  std::vector<uint8_t> px;
  for (int i = 0; i < 20 * 3; ++i) px.push_back(uint8_t(i * 37 + 11));
  const std::vector<uint8_t> good = TgaBytes(5, 4, 2, 24, 0, px);
  std::mt19937 rng(12345);
  int valid = 0;
  for (int round = 0; round < 400; ++round) {
    std::vector<uint8_t> bytes = good;
    if (round % 4 == 0)
      bytes.resize(rng() % (good.size() + 1));
    else {
      const int changes = 1 + int(rng() % 4);
      for (int c = 0; c < changes; ++c) {
        // Mostly the header, where a change decides what is read.
        const size_t at = (rng() % 3 == 0) ? rng() % bytes.size() : rng() % 18;
        bytes[at] = uint8_t(rng());
      }
    }
    BrTGAFile tga;
    Load(tga, bytes);
    const bool ok = tga.Validate();
    valid += ok;
    const unsigned w = tga.GetWidth(), h = tga.GetHeight();
    if (ok) {
      EXPECT_GE(bytes.size(), 18u + size_t(w) * h * 3) << round;
    }
    unsigned sum = 0;
    for (unsigned y = 0; y < 6; ++y)
      for (unsigned x = 0; x < 7; ++x) sum += tga.GetGreyScale(x, y);
    sum += tga.GetGreyScale(w, 0) + tga.GetGreyScale(0, h) + tga.GetGreyScale(w - 1, h - 1);
    if (!ok) {
      EXPECT_EQ(sum, 0u) << round;
    }
  }
  EXPECT_GT(valid, 0);
  EXPECT_LT(valid, 400);
}
