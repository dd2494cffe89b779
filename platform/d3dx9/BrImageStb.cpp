// TGA, BMP and JPEG decoding through stb_image (its implementation compiled here, once), after checks that
// keep a malformed header from asking for more pixels than its bytes could describe.
#include <climits>
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

// Whether the decoder takes the file for a JPEG: it reads the start marker as it reads every marker, so any
// run of 0xFF fill bytes may stand before it. Every check made for JPEG files must see the files it decodes.
bool isJpegFile(const uint8_t* data, size_t size) {
  if (size < 2 || data[0] != 0xFF) return false;
  size_t p = 1;
  while (p < size && data[p] == 0xFF) ++p;
  return p < size && data[p] == 0xD8;
}

// A bound on the pixels a file of this kind and size can hold, so a forged header cannot make the decoder
// fill a huge image from a few bytes.
uint64_t pixelBudget(const uint8_t* data, size_t size) {
  if (size >= 2 && data[0] == 'B' && data[1] == 'M') return uint64_t(size) * 8;  // 1 bit a pixel at best
  if (isJpegFile(data, size)) return uint64_t(size) * 1024;
  if (size >= 18) {
    // TGA: run-length packets give at most 128 pixels a byte; raw data one pixel a byte or more.
    const bool rle = (data[2] & 8) != 0;
    return uint64_t(size) * (rle ? 128 : 1);
  }
  return 0;
}

// The Huffman tables of every DHT segment and the tables each scan uses, read as the decoder reads them (bytes
// past the end read as 0). A table with more than 256 codes would overrun the decoder's table, and a scan that
// uses a table no segment defined would decode with whatever memory the decoder's table holds: such a file is
// refused here, with why. Null when the tables are sound.
const char* jpegTablesProblem(const uint8_t* d, size_t n) {
  auto at = [&](size_t i) -> uint32_t { return i < n ? d[i] : 0; };
  // The tables defined so far, a bit per table id: [0] DC, [1] AC.
  uint32_t defined[2] = {0, 0};
  bool progressive = false;
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
    if (m == 0xD9) return nullptr;
    const size_t len = (at(p + 2) << 8) | at(p + 3);
    if (m == 0xC2) progressive = true;
    if (m == 0xC4) {
      long left = long(len) - 2;
      size_t q = p + 4;
      while (left > 0) {
        uint32_t codes = 0;
        for (size_t i = 0; i < 16; ++i) codes += at(q + 1 + i);
        if (codes > 256) return "JPEG Huffman table too large";
        const uint32_t kind = at(q) >> 4, id = at(q) & 15;
        if (kind <= 1 && id <= 3) defined[kind] |= 1u << id;
        q += 17 + codes;
        left -= long(17 + codes);
      }
    }
    if (m == 0xDA) {
      // A baseline scan decodes with both tables of each component; a progressive one with the DC table in a
      // first DC scan and the AC table in any AC scan.
      const uint32_t components = at(p + 4);
      const uint32_t start = at(p + 5 + 2 * components), high = at(p + 7 + 2 * components) >> 4;
      const bool dc = !progressive || (start == 0 && high == 0), ac = !progressive || start != 0;
      for (uint32_t i = 0; i < components; ++i) {
        const uint32_t tables = at(p + 6 + 2 * i), dcId = tables >> 4, acId = tables & 15;
        if ((dc && dcId <= 3 && !(defined[0] & (1u << dcId))) || (ac && acId <= 3 && !(defined[1] & (1u << acId))))
          return "JPEG scan uses a Huffman table no segment defines";
      }
    }
    p += 2 + (len < 2 ? 2 : len);
  }
  return nullptr;
}

uint32_t u16(const uint8_t* d) { return uint32_t(d[0]) | uint32_t(d[1]) << 8; }
uint32_t u32(const uint8_t* d) { return u16(d) | u16(d + 2) << 16; }

// Whether a BMP's pixel rows all lie inside the file: the decoder reads missing bytes as 0, which would load a
// file cut short as success with a black remainder. Compressed kinds the decoder refuses itself.
bool bmpComplete(const uint8_t* d, size_t n) {
  if (n < 26) return false;
  const uint32_t offset = u32(d + 10), header = u32(d + 14);
  uint64_t w, h, bits, compression = 0;
  if (header == 12) {
    w = u16(d + 18);
    h = u16(d + 20);
    bits = u16(d + 24);
  } else {
    if (n < 34) return false;
    w = u32(d + 18);
    const int32_t sh = int32_t(u32(d + 22));
    h = sh < 0 ? uint64_t(-int64_t(sh)) : uint64_t(sh);
    bits = u16(d + 28);
    compression = u32(d + 30);
  }
  if (compression != 0 && compression != 3) return true;
  const uint64_t row = (w * bits + 31) / 32 * 4;
  return uint64_t(offset) + row * h <= n;
}

// The same for a TGA: uncompressed pixels, or run-length packets walked to the last pixel.
bool tgaComplete(const uint8_t* d, size_t n) {
  if (n < 18) return false;
  const uint32_t type = d[2] & 7;
  const bool rle = (d[2] & 8) != 0;
  const uint64_t pixels = uint64_t(u16(d + 12)) * u16(d + 14);
  const uint64_t bytes = (uint64_t(d[16]) + 7) / 8;
  uint64_t p = 18 + uint64_t(d[0]);
  if (d[1]) p += uint64_t(u16(d + 5)) * ((uint64_t(d[7]) + 7) / 8);
  if (type == 0 || bytes == 0) return true;  // no image data, or a kind the decoder refuses itself
  if (!rle) return p + pixels * bytes <= n;
  for (uint64_t done = 0; done < pixels;) {
    if (p >= n) return false;
    const uint8_t packet = d[p++];
    const uint64_t count = (packet & 0x7F) + 1u;
    p += (packet & 0x80) ? bytes : count * bytes;
    if (p > n) return false;
    done += count;
  }
  return true;
}

}  // namespace

bool decodeStb(const uint8_t* data, size_t size, Image& image, std::string& error) {
  if (size > 0x7FFFFFFF) return error = "file too large", false;
  const bool isJpeg = isJpegFile(data, size);
  if (isJpeg)
    if (const char* problem = jpegTablesProblem(data, size)) return error = problem, false;
  const bool isBmp = size >= 2 && data[0] == 'B' && data[1] == 'M';
  int w = 0, h = 0, comp = 0;
  if (!stbi_info_from_memory(data, int(size), &w, &h, &comp)) return error = "not a TGA, BMP or JPEG image", false;
  // The decoder's header query gives a BMP stored top-down (as many editors save one) its negative height; the
  // decoder itself reads such a file upright.
  if (isBmp && h < 0 && h > INT_MIN) h = -h;
  if (w <= 0 || h <= 0 || uint32_t(w) > kMaxImageSize || uint32_t(h) > kMaxImageSize)
    return error = "unsupported image size", false;
  if (uint64_t(w) * uint64_t(h) > pixelBudget(data, size))
    return error = "image header promises more than the file holds", false;

  if (isBmp && !bmpComplete(data, size)) return error = "BMP pixel data cut short", false;
  if (!isBmp && !isJpeg && !tgaComplete(data, size)) return error = "TGA pixel data cut short", false;

  stbi_uc* pixels = stbi_load_from_memory(data, int(size), &w, &h, &comp, 4);
  if (!pixels) {
    // The decoder may refuse without a reason (some damaged JPEG streams): a null reason is no text.
    const char* why = stbi_failure_reason();
    return error = std::string("cannot decode image: ") + (why ? why : "no reason given"), false;
  }
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
