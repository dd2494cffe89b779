// The image readers: TGA (raw and run-length, 24 and 32 bits, both origins), BMP (8, 24, 32 bits), JPEG and
// DDS (DXT1, DXT3, DXT5, uncompressed, with mip levels) decode to the expected texels; thousands of mutated
// files fail cleanly or decode, never crash (run under the sanitizers); loading goes through the path layer.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <fstream>
#include <filesystem>
#include <string>
#include <sys/stat.h>
#include <thread>
#include <vector>

#include "platform/d3dx9/BrD3DXInternal.h"
#include "tests/platform/d3d9/D3D9TestSupport.h"
#include "core/BrNumeric.h"

#include <stb/stb_image_write.h>

namespace {

using Bytes = std::vector<uint8_t>;

// The 4x3 test picture (0xAARRGGBB), top row first.
const uint32_t kPicture[12] = {0xFFFF0000u, 0xFF00FF00u, 0xFF0000FFu, 0xFFFFFFFFu,  //
                               0x80102030u, 0x00000000u, 0xFF808080u, 0xFFFFFF00u,  //
                               0xFF00FFFFu, 0xFFFF00FFu, 0x40FFFFFFu, 0xFF010203u};

void le16(Bytes& b, uint32_t v) {
  b.push_back(uint8_t(v));
  b.push_back(uint8_t(v >> 8));
}
void le32(Bytes& b, uint32_t v) {
  for (int i = 0; i < 4; ++i) b.push_back(uint8_t(v >> (8 * i)));
}
void pixel(Bytes& b, uint32_t c, int bpp) {
  b.push_back(uint8_t(c));
  b.push_back(uint8_t(c >> 8));
  b.push_back(uint8_t(c >> 16));
  if (bpp == 32) b.push_back(uint8_t(c >> 24));
}

Bytes tga(int bpp, bool rle, bool topLeft) {
  Bytes b = {0, 0, uint8_t(rle ? 10 : 2), 0, 0, 0, 0, 0, 0, 0, 0, 0};
  le16(b, 4);
  le16(b, 3);
  b.push_back(uint8_t(bpp));
  b.push_back(uint8_t((bpp == 32 ? 8 : 0) | (topLeft ? 0x20 : 0)));
  for (int row = 0; row < 3; ++row) {
    const int y = topLeft ? row : 2 - row;
    if (rle) {
      // One run of the first texel repeated where the row starts with equal texels, else raw packets.
      b.push_back(0x03);  // raw packet of 4
    }
    for (int x = 0; x < 4; ++x) pixel(b, kPicture[y * 4 + x], bpp);
  }
  if (rle) {
    // A final all-run image check: append nothing; runs are covered by tgaRun below.
  }
  return b;
}

// A 4x3 run-length TGA of one colour: three run packets of four texels.
Bytes tgaRun(uint32_t color) {
  Bytes b = {0, 0, 10, 0, 0, 0, 0, 0, 0, 0, 0, 0};
  le16(b, 4);
  le16(b, 3);
  b.push_back(32);
  b.push_back(8 | 0x20);
  for (int row = 0; row < 3; ++row) {
    b.push_back(0x83);
    pixel(b, color, 32);
  }
  return b;
}

Bytes bmp(int bpp) {
  const uint32_t row = ((4 * uint32_t(bpp) / 8) + 3) & ~3u;
  const uint32_t palette = bpp == 8 ? 256 * 4 : 0;
  const uint32_t offset = 54 + palette;
  Bytes b = {'B', 'M'};
  le32(b, offset + row * 3);
  le32(b, 0);
  le32(b, offset);
  le32(b, 40);
  le32(b, 4);
  le32(b, 3);
  le16(b, 1);
  le16(b, uint32_t(bpp));
  le32(b, 0);
  le32(b, row * 3);
  le32(b, 2835);
  le32(b, 2835);
  le32(b, bpp == 8 ? 256 : 0);
  le32(b, 0);
  if (bpp == 8)
    for (int i = 0; i < 256; ++i) le32(b, i < 12 ? (kPicture[i] & 0xFFFFFF) : 0);
  for (int r = 2; r >= 0; --r) {
    const size_t start = b.size();
    for (int x = 0; x < 4; ++x) {
      if (bpp == 8)
        b.push_back(uint8_t(r * 4 + x));
      else
        pixel(b, bpp == 32 ? (kPicture[r * 4 + x] | 0xFF000000u) : kPicture[r * 4 + x], bpp);
    }
    while (b.size() - start < row) b.push_back(0);
  }
  return b;
}

Bytes jpeg() {
  // An 8x8 image: left half red, right half blue.
  uint8_t rgb[8 * 8 * 3];
  for (int i = 0; i < 64; ++i) {
    const bool left = (i % 8) < 4;
    rgb[i * 3 + 0] = left ? 255 : 0;
    rgb[i * 3 + 1] = 0;
    rgb[i * 3 + 2] = left ? 0 : 255;
  }
  Bytes out;
  stbi_write_jpg_to_func(
      [](void* ctx, void* data, int size) {
        Bytes* o = static_cast<Bytes*>(ctx);
        o->insert(o->end(), static_cast<uint8_t*>(data), static_cast<uint8_t*>(data) + size);
      },
      &out, 8, 8, 3, rgb, 95);
  return out;
}

Bytes ddsHeader(uint32_t w, uint32_t h, uint32_t mips, uint32_t pfFlags, uint32_t fourcc, uint32_t bits, uint32_t r,
                uint32_t g, uint32_t b, uint32_t a) {
  Bytes d = {'D', 'D', 'S', ' '};
  le32(d, 124);
  le32(d, 0x1007 | (mips > 1 ? 0x20000 : 0));
  le32(d, h);
  le32(d, w);
  le32(d, 0);
  le32(d, 0);
  le32(d, mips);
  for (int i = 0; i < 11; ++i) le32(d, 0);
  le32(d, 32);
  le32(d, pfFlags);
  le32(d, fourcc);
  le32(d, bits);
  le32(d, r);
  le32(d, g);
  le32(d, b);
  le32(d, a);
  le32(d, 0x1000);
  for (int i = 0; i < 4; ++i) le32(d, 0);
  return d;
}

uint32_t cc(const char* s) {
  return uint32_t(s[0]) | uint32_t(s[1]) << 8 | uint32_t(s[2]) << 16 | uint32_t(s[3]) << 24;
}

// One 4x4 block: colour 0 red, colour 1 blue; texel i uses index i % 4.
void dxtColorBlock(Bytes& d, uint16_t c0, uint16_t c1) {
  le16(d, c0);
  le16(d, c1);
  le32(d, 0xE4E4E4E4u);  // rows: 0 1 2 3
}

Bytes dds(const char* kind) {
  const std::string k = kind;
  if (k == "DXT1") {
    Bytes d = ddsHeader(4, 4, 1, 0x4, cc("DXT1"), 0, 0, 0, 0, 0);
    dxtColorBlock(d, 0x001F, 0xF800);  // c0 < c1: three colours and transparent black
    return d;
  }
  if (k == "DXT3") {
    Bytes d = ddsHeader(4, 4, 1, 0x4, cc("DXT3"), 0, 0, 0, 0, 0);
    for (int i = 0; i < 8; ++i) d.push_back(0xF0);  // alpha nibbles: 0, 15, 0, 15, ...
    dxtColorBlock(d, 0xF800, 0x001F);
    return d;
  }
  if (k == "DXT5") {
    Bytes d = ddsHeader(4, 4, 1, 0x4, cc("DXT5"), 0, 0, 0, 0, 0);
    d.push_back(255);
    d.push_back(0);
    // Alpha indices: texel 0 takes endpoint 0 (255), texel 1 endpoint 1 (0), the rest endpoint 0.
    const uint8_t bits[6] = {0x08, 0, 0, 0, 0, 0};
    d.insert(d.end(), bits, bits + 6);
    dxtColorBlock(d, 0xF800, 0x001F);
    return d;
  }
  // Uncompressed A8R8G8B8 4x3 with two mip levels (2x1 given, 1x1 made by the loader).
  Bytes d = ddsHeader(4, 3, 2, 0x41, 0, 32, 0xFF0000, 0xFF00, 0xFF, 0xFF000000u);
  for (uint32_t c : kPicture) le32(d, c);
  le32(d, 0xFF123456u);
  le32(d, 0xFF654321u);
  return d;
}

// Decodes on a thread of its own, so the decoder's per-thread failure reason starts empty as in a fresh
// process (a refusal without a reason crashed there). A refusal must come with a reason to log.
brd3dx::Image decode(const Bytes& b, bool& ok) {
  brd3dx::Image img;
  std::string error;
  std::thread([&]() {
    ok = (b.size() >= 4 && std::memcmp(b.data(), "DDS ", 4) == 0) ? brd3dx::decodeDds(b.data(), b.size(), img, error)
                                                                  : brd3dx::decodeStb(b.data(), b.size(), img, error);
  }).join();
  EXPECT_TRUE(ok || !error.empty()) << "a refusal without a reason";
  return img;
}

// With BR_FUZZ_SAVE_DIR set, every input is written there as "last-input" before it is decoded: after a
// crash that file is the input that caused it, to be kept under regressions/.
void keepInput(const Bytes& b) {
  static const char* dir = std::getenv("BR_FUZZ_SAVE_DIR");
  if (!dir) return;
  std::ofstream(std::string(dir) + "/last-input", std::ios::binary)
      .write(reinterpret_cast<const char*>(b.data()), std::streamsize(b.size()));
}

uint32_t texel(const brd3dx::Image& img, uint32_t x, uint32_t y, size_t level = 0) {
  const uint8_t* p = img.levels[level].data() + (size_t(y) * (img.width >> level ? img.width >> level : 1) + x) * 4;
  return uint32_t(p[0]) | uint32_t(p[1]) << 8 | uint32_t(p[2]) << 16 | uint32_t(p[3]) << 24;
}

using Rand = BrRandStream;

}  // namespace

TEST(D3DXImage, TgaBothDepthsOriginsAndRunLength) {
  for (int bpp : {24, 32})
    for (bool topLeft : {false, true})
      for (bool rle : {false, true}) {
        bool ok = false;
        const brd3dx::Image img = decode(tga(bpp, rle, topLeft), ok);
        ASSERT_TRUE(ok) << bpp << " " << topLeft << " " << rle;
        ASSERT_EQ(4u, img.width);
        ASSERT_EQ(3u, img.height);
        EXPECT_EQ(bpp == 32, img.hasAlpha);
        for (uint32_t y = 0; y < 3; ++y)
          for (uint32_t x = 0; x < 4; ++x) {
            const uint32_t want = bpp == 32 ? kPicture[y * 4 + x] : (kPicture[y * 4 + x] | 0xFF000000u);
            EXPECT_EQ(want, texel(img, x, y))
                << bpp << (topLeft ? " top" : " bottom") << (rle ? " rle" : "") << " at " << x << "," << y;
          }
      }
  bool ok = false;
  const brd3dx::Image run = decode(tgaRun(0x80402010u), ok);
  ASSERT_TRUE(ok);
  EXPECT_EQ(0x80402010u, texel(run, 3, 2));
}

TEST(D3DXImage, BmpDepthsAndJpeg) {
  for (int bpp : {8, 24, 32}) {
    bool ok = false;
    const brd3dx::Image img = decode(bmp(bpp), ok);
    ASSERT_TRUE(ok) << bpp;
    ASSERT_EQ(4u, img.width);
    ASSERT_EQ(3u, img.height);
    for (uint32_t i = 0; i < 12; ++i)
      EXPECT_EQ(kPicture[i] | 0xFF000000u, texel(img, i % 4, i / 4) | 0xFF000000u) << bpp << " texel " << i;
  }
  bool ok = false;
  const brd3dx::Image j = decode(jpeg(), ok);
  ASSERT_TRUE(ok);
  EXPECT_FALSE(j.hasAlpha);
  const uint32_t left = texel(j, 1, 4), right = texel(j, 6, 4);
  EXPECT_GT((left >> 16) & 0xFF, 200u);
  EXPECT_LT(left & 0xFF, 60u);
  EXPECT_GT(right & 0xFF, 200u);
  EXPECT_LT((right >> 16) & 0xFF, 60u);
}

TEST(D3DXImage, DdsBlocksAndUncompressedLevels) {
  bool ok = false;
  brd3dx::Image d1 = decode(dds("DXT1"), ok);
  ASSERT_TRUE(ok);
  EXPECT_TRUE(d1.hasAlpha);
  EXPECT_EQ(0xFF0000FFu, texel(d1, 0, 0));  // colour 0: blue
  EXPECT_EQ(0xFFFF0000u, texel(d1, 1, 0));  // colour 1: red
  EXPECT_EQ(0xFF7F007Fu, texel(d1, 2, 2));  // the average
  EXPECT_EQ(0x00000000u, texel(d1, 3, 3));  // transparent black
  brd3dx::Image d3 = decode(dds("DXT3"), ok);
  ASSERT_TRUE(ok);
  EXPECT_EQ(0x00FF0000u, texel(d3, 0, 0));
  EXPECT_EQ(0xFF0000FFu, texel(d3, 1, 0));
  EXPECT_EQ(0xFF5500AAu, texel(d3, 3, 1));  // index 3: (red + 2 blue) / 3
  brd3dx::Image d5 = decode(dds("DXT5"), ok);
  ASSERT_TRUE(ok);
  EXPECT_EQ(0xFFFF0000u, texel(d5, 0, 0));
  EXPECT_EQ(0x000000FFu, texel(d5, 1, 0));
  brd3dx::Image raw = decode(dds("RAW"), ok);
  ASSERT_TRUE(ok);
  EXPECT_TRUE(raw.hasAlpha);
  for (uint32_t i = 0; i < 12; ++i) EXPECT_EQ(kPicture[i], texel(raw, i % 4, i / 4)) << i;
  ASSERT_EQ(2u, raw.levels.size());
  EXPECT_EQ(0xFF654321u, texel(raw, 1, 0, 1));
  // Truncated, cube maps, unknown compression and absurd sizes fail.
  Bytes t = dds("RAW");
  t.resize(128 + 20);
  decode(t, ok);
  EXPECT_FALSE(ok);
  t = dds("DXT1");
  t[4 + 80] = 'Q';
  decode(t, ok);
  EXPECT_FALSE(ok);
  t = dds("DXT1");
  t[4 + 12 + 3] = 0x40;  // width 2^30
  decode(t, ok);
  EXPECT_FALSE(ok);
}

TEST(D3DXImage, MutatedFilesNeverCrash) {
  // A few thousand inputs for each reader (TGA, BMP, JPEG, DDS), in the sanitizer build within CI's time.
  std::vector<Bytes> seeds = {tga(24, false, false),
                              tga(32, true, true),
                              tgaRun(0xFF00FF00u),
                              bmp(8),
                              bmp(24),
                              bmp(32),
                              jpeg(),
                              jpeg(),
                              jpeg(),
                              dds("DXT1"),
                              dds("DXT3"),
                              dds("DXT5"),
                              dds("RAW")};
  // BR_FUZZ_ROUNDS and BR_FUZZ_SEED give longer or other local runs.
  const char* env = std::getenv("BR_FUZZ_ROUNDS");
  const int rounds = env ? std::max(1, std::atoi(env)) : 1000;
  const char* seedEnv = std::getenv("BR_FUZZ_SEED");
  Rand rng{seedEnv ? uint32_t(std::atoi(seedEnv)) : 12345u};
  int decoded = 0, refused = 0;
  for (const Bytes& seed : seeds) {
    for (int m = 0; m < rounds; ++m) {
      Bytes b = seed;
      const uint32_t kind = rng.Next() % 4;
      if (kind == 0 && b.size() > 1) {
        b.resize(rng.Next() % b.size());  // truncated
      } else {
        const int flips = 1 + int(rng.Next() % 8);
        for (int i = 0; i < flips; ++i) {
          // Headers are where malformed files hurt: aim half the mutations at the first 64 bytes.
          const size_t at = (rng.Next() & 1) ? rng.Next() % std::min<size_t>(64, b.size()) : rng.Next() % b.size();
          b[at] = kind == 1 ? uint8_t(rng.Next()) : kind == 2 ? uint8_t(b[at] ^ (1u << (rng.Next() % 8))) : 0xFF;
        }
      }
      bool ok = false;
      keepInput(b);
      const brd3dx::Image img = decode(b, ok);
      if (ok) {
        ++decoded;
        ASSERT_FALSE(img.levels.empty());
        ASSERT_EQ(size_t(img.width) * img.height * 4, img.levels[0].size());
        ASSERT_LE(img.width, brd3dx::kMaxImageSize);
      } else {
        ++refused;
      }
    }
  }
  EXPECT_EQ(int(seeds.size()) * rounds, decoded + refused);
  EXPECT_GT(refused, 0);
  EXPECT_GT(decoded, 0);
}

// Inputs that once crashed a reader or loaded wrongly, kept as files: each decodes or is refused with a reason.
TEST(D3DXImage, RegressionFilesAreRefusedWithAReason) {
  int files = 0;
  for (const auto& entry : std::filesystem::directory_iterator(D3DX_REGRESSION_DIR)) {
    const std::string ext = entry.path().extension().string();
    if (ext != ".jpg" && ext != ".tga" && ext != ".bmp" && ext != ".dds") continue;
    std::ifstream in(entry.path(), std::ios::binary);
    const Bytes b((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    bool ok = true;
    decode(b, ok);
    EXPECT_FALSE(ok) << entry.path();
    ++files;
  }
  EXPECT_GT(files, 0);
}

// TGA (raw and run-length) and BMP files cut short inside their pixels are refused, not loaded with a black
// remainder; a file cut after its last pixel still loads.
TEST(D3DXImage, PixelDataCutShortIsRefused) {
  for (const Bytes& whole :
       {tga(24, false, false), tga(32, true, true), tgaRun(0xFF00FF00u), bmp(8), bmp(24), bmp(32)}) {
    bool ok = false;
    decode(whole, ok);
    ASSERT_TRUE(ok);
    Bytes cut = whole;
    cut.resize(whole.size() - 1);
    decode(cut, ok);
    EXPECT_FALSE(ok) << whole.size();
  }
}

TEST(D3DXImage, LoadingThroughTheDevice) {
  d3d9test::TestDevice t(8, 8);
  ASSERT_TRUE(t.ok()) << t.why();
  mkdir("D3dxTest", 0755);
  mkdir("D3dxTest/Sub", 0755);
  auto write = [](const std::string& path, const Bytes& b) {
    std::ofstream(path, std::ios::binary).write(reinterpret_cast<const char*>(b.data()), std::streamsize(b.size()));
  };
  write("D3dxTest/Sub/Pic.TGA", tga(32, false, true));
  write("D3dxTest/Sub/pic.dds", dds("RAW"));
  write("D3dxTest/Sub/bad.bmp", Bytes{'B', 'M', 1, 2, 3});
  IDirect3DTexture9* tex = nullptr;
  // Backslashes and another case reach the file through the path layer.
  ASSERT_EQ(D3D_OK, D3DXCreateTextureFromFileA(t.device, "d3dxtest\\sub\\pic.tga", &tex));
  D3DSURFACE_DESC desc;
  ASSERT_EQ(D3D_OK, tex->GetLevelDesc(0, &desc));
  EXPECT_EQ(4u, desc.Width);
  EXPECT_EQ(3u, desc.Height);
  EXPECT_EQ(D3DFMT_A8R8G8B8, desc.Format);
  EXPECT_EQ(D3DPOOL_MANAGED, desc.Pool);
  EXPECT_EQ(3u, tex->GetLevelCount());  // 4x3, 2x1, 1x1
  D3DLOCKED_RECT r;
  ASSERT_EQ(D3D_OK, tex->LockRect(0, &r, nullptr, D3DLOCK_READONLY));
  EXPECT_EQ(16, r.Pitch);
  EXPECT_EQ(kPicture[5], static_cast<uint32_t*>(r.pBits)[5]);
  tex->UnlockRect(0);
  // The second level averages 2x2 texels of the first (rows 0 and 1, columns 0 and 1).
  ASSERT_EQ(D3D_OK, tex->LockRect(1, &r, nullptr, D3DLOCK_READONLY));
  EXPECT_EQ(8, r.Pitch);
  const uint32_t avg = static_cast<uint32_t*>(r.pBits)[0];
  EXPECT_EQ((0xFFu + 0xFFu + 0x80u + 0u + 2u) / 4u, avg >> 24);
  tex->UnlockRect(1);
  d3d9test::releaseAll(tex);
  ASSERT_EQ(D3D_OK, D3DXCreateTextureFromFileA(t.device, "D3dxTest/Sub/pic.dds", &tex));
  ASSERT_EQ(D3D_OK, tex->LockRect(1, &r, nullptr, D3DLOCK_READONLY));
  EXPECT_EQ(0xFF123456u, static_cast<uint32_t*>(r.pBits)[0]);  // the file's own second level
  tex->UnlockRect(1);
  d3d9test::releaseAll(tex);
  EXPECT_EQ(D3DXERR_INVALIDDATA, D3DXCreateTextureFromFileA(t.device, "D3dxTest/Sub/bad.bmp", &tex));
  EXPECT_EQ(nullptr, tex);
  EXPECT_EQ(D3DXERR_INVALIDDATA, D3DXCreateTextureFromFileA(t.device, "D3dxTest/none.tga", &tex));
  EXPECT_EQ(D3DERR_INVALIDCALL, D3DXCreateTextureFromFileA(nullptr, "D3dxTest/Sub/pic.dds", &tex));
  // Mutated files through the whole path: a texture or a clean failure.
  Rand rng{99};
  const Bytes seed = tga(32, true, false);
  for (int m = 0; m < 60; ++m) {
    Bytes b = seed;
    for (int i = 0; i < 4; ++i) b[rng.Next() % b.size()] = uint8_t(rng.Next());
    write("D3dxTest/m.tga", b);
    tex = nullptr;
    const HRESULT hr = D3DXCreateTextureFromFileA(t.device, "D3dxTest/m.tga", &tex);
    if (SUCCEEDED(hr))
      d3d9test::releaseAll(tex);
    else
      EXPECT_EQ(nullptr, tex);
  }
}

// A JPEG whose scans decode with an AC table no segment defines (its own renamed away) is refused: the decoder
// would read whatever its table memory held, after other JPEGs their tables, and load the picture.
TEST(D3DXImage, AJpegScanUsingAnUndefinedCodeTableIsRefused) {
  const Bytes good = jpeg();
  Bytes bad = good;
  for (size_t p = 2; p + 4 < bad.size() && bad[p + 1] != 0xDA;) {
    const size_t end = p + 2 + (bad[p + 2] << 8 | bad[p + 3]);
    for (size_t q = p + 4; bad[p + 1] == 0xC4 && q < end;) {
      if (bad[q] == 0x10) bad[q] = 0x13;
      size_t codes = 0;
      for (size_t i = 1; i <= 16; ++i) codes += bad[q + i];
      q += 17 + codes;
    }
    p = end;
  }
  bool ok = false;
  for (int i = 0; i < 3; ++i) {
    decode(good, ok);
    ASSERT_TRUE(ok);
  }
  decode(bad, ok);
  EXPECT_FALSE(ok);
}
