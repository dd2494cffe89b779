// TGA, BMP and JPEG decoding through stb_image (its implementation compiled here, once), after checks that
// keep a malformed header from asking for more pixels than its bytes could describe.
#include <cstring>

#include "platform/d3dx9/BrD3DXInternal.h"

#define STB_IMAGE_IMPLEMENTATION
#define STB_IMAGE_STATIC
#define STBI_ONLY_TGA
#define STBI_ONLY_BMP
#define STBI_ONLY_JPEG
#define STBI_NO_STDIO
#define STBI_NO_LINEAR
#define STBI_NO_HDR
#define STBI_MAX_DIMENSIONS 8192
#pragma GCC diagnostic push
#pragma GCC diagnostic ignored "-Wunused-function"
#pragma GCC diagnostic ignored "-Wmissing-field-initializers"
#pragma GCC diagnostic ignored "-Wsign-compare"
#pragma GCC diagnostic ignored "-Wimplicit-fallthrough"
#include <stb/stb_image.h>
#pragma GCC diagnostic pop

namespace brd3dx {
namespace {

// A bound on the pixels a file of this kind and size can hold, so a forged header cannot make the decoder
// fill a huge image from a few bytes.
uint64_t pixelBudget(const uint8_t* data, size_t size) {
  if (size >= 2 && data[0] == 'B' && data[1] == 'M') return uint64_t(size) * 8;  // 1 bit a pixel at best
  if (size >= 3 && data[0] == 0xFF && data[1] == 0xD8 && data[2] == 0xFF) return uint64_t(size) * 1024;
  if (size >= 18) {
    // TGA: run-length packets give at most 128 pixels a byte; raw data one pixel a byte or more.
    const bool rle = (data[2] & 8) != 0;
    return uint64_t(size) * (rle ? 128 : 1);
  }
  return 0;
}

// The Huffman tables of every DHT segment, read as the decoder reads them (bytes past the end read as 0):
// a table with more than 256 codes would overrun the decoder's table, so such a file is refused here.
bool jpegTablesSane(const uint8_t* d, size_t n) {
  auto at = [&](size_t i) -> uint32_t { return i < n ? d[i] : 0; };
  size_t p = 2;
  while (p + 1 < n) {
    if (d[p] != 0xFF) {  // entropy-coded data between markers
      ++p;
      continue;
    }
    const uint8_t m = d[p + 1];
    if (m == 0xFF) {
      ++p;
      continue;
    }
    if (m == 0x00 || m == 0x01 || (m >= 0xD0 && m <= 0xD8)) {
      p += 2;
      continue;
    }
    if (m == 0xD9) return true;
    const size_t len = (at(p + 2) << 8) | at(p + 3);
    if (m == 0xC4) {
      long left = long(len) - 2;
      size_t q = p + 4;
      while (left > 0) {
        uint32_t codes = 0;
        for (size_t i = 0; i < 16; ++i) codes += at(q + 1 + i);
        if (codes > 256) return false;
        q += 17 + codes;
        left -= long(17 + codes);
      }
    }
    p += 2 + (len < 2 ? 2 : len);
  }
  return true;
}

}  // namespace

bool decodeStb(const uint8_t* data, size_t size, Image& image, std::string& error) {
  if (size > 0x7FFFFFFF) return error = "file too large", false;
  const bool isJpeg = size >= 3 && data[0] == 0xFF && data[1] == 0xD8 && data[2] == 0xFF;
  if (isJpeg && !jpegTablesSane(data, size)) return error = "JPEG Huffman table too large", false;
  int w = 0, h = 0, comp = 0;
  if (!stbi_info_from_memory(data, int(size), &w, &h, &comp)) return error = "not a TGA, BMP or JPEG image", false;
  if (w <= 0 || h <= 0 || uint32_t(w) > kMaxImageSize || uint32_t(h) > kMaxImageSize)
    return error = "unsupported image size", false;
  if (uint64_t(w) * uint64_t(h) > pixelBudget(data, size)) return error = "image header promises more than the file holds", false;

  stbi_uc* pixels = stbi_load_from_memory(data, int(size), &w, &h, &comp, 4);
  if (!pixels) return error = std::string("cannot decode image: ") + stbi_failure_reason(), false;
  image.width = uint32_t(w);
  image.height = uint32_t(h);
  image.hasAlpha = comp == 2 || comp == 4;
  std::vector<uint8_t> texels(size_t(w) * size_t(h) * 4);
  for (size_t i = 0; i < size_t(w) * size_t(h); ++i) {
    texels[i * 4 + 0] = pixels[i * 4 + 2];
    texels[i * 4 + 1] = pixels[i * 4 + 1];
    texels[i * 4 + 2] = pixels[i * 4 + 0];
    texels[i * 4 + 3] = image.hasAlpha ? pixels[i * 4 + 3] : 255;
  }
  stbi_image_free(pixels);
  image.levels.clear();
  image.levels.push_back(std::move(texels));
  return true;
}

}  // namespace brd3dx
