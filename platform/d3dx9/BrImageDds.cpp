// Our DDS reader: DXT1, DXT3 and DXT5 blocks and uncompressed pixels described by bit masks, every mip
// level the file holds, decoded to 32-bit texels. Every size is checked against the bytes present.
#include <cstring>

#include "platform/d3dx9/BrD3DXInternal.h"

namespace brd3dx {
namespace {

const uint32_t kDdsdMipMapCount = 0x20000;
const uint32_t kPfAlphaPixels = 0x1, kPfAlpha = 0x2, kPfFourCC = 0x4, kPfRgb = 0x40, kPfLuminance = 0x20000;
const uint32_t kCaps2Cubemap = 0x200, kCaps2Volume = 0x200000;

uint32_t rd32(const uint8_t* p) {
  return uint32_t(p[0]) | uint32_t(p[1]) << 8 | uint32_t(p[2]) << 16 | uint32_t(p[3]) << 24;
}
uint32_t fourCC(const char* s) { return rd32(reinterpret_cast<const uint8_t*>(s)); }

void put(uint8_t* px, uint32_t r, uint32_t g, uint32_t b, uint32_t a) {
  px[0] = uint8_t(b);
  px[1] = uint8_t(g);
  px[2] = uint8_t(r);
  px[3] = uint8_t(a);
}

// The four (or three and transparent black) colours of a DXT colour block.
void blockColors(const uint8_t* block, bool allowTransparent, uint8_t colors[4][4]) {
  const uint32_t c0 = block[0] | block[1] << 8, c1 = block[2] | block[3] << 8;
  uint32_t rgb[4][3];
  const uint32_t cs[2] = {c0, c1};
  for (int i = 0; i < 2; ++i) {
    const uint32_t r = (cs[i] >> 11) & 31, g = (cs[i] >> 5) & 63, b = cs[i] & 31;
    rgb[i][0] = (r << 3) | (r >> 2);
    rgb[i][1] = (g << 2) | (g >> 4);
    rgb[i][2] = (b << 3) | (b >> 2);
  }
  const bool four = c0 > c1 || !allowTransparent;
  for (int k = 0; k < 3; ++k) {
    if (four) {
      rgb[2][k] = (2 * rgb[0][k] + rgb[1][k]) / 3;
      rgb[3][k] = (rgb[0][k] + 2 * rgb[1][k]) / 3;
    } else {
      rgb[2][k] = (rgb[0][k] + rgb[1][k]) / 2;
      rgb[3][k] = 0;
    }
  }
  for (int i = 0; i < 4; ++i) put(colors[i], rgb[i][0], rgb[i][1], rgb[i][2], (!four && i == 3) ? 0 : 255);
}

void decodeDxt(const uint8_t* src, uint32_t w, uint32_t h, uint32_t fourcc, uint8_t* out) {
  const bool dxt1 = fourcc == fourCC("DXT1");
  const bool dxt3 = fourcc == fourCC("DXT2") || fourcc == fourCC("DXT3");
  const uint32_t blockBytes = dxt1 ? 8 : 16;
  const uint32_t bw = (w + 3) / 4, bh = (h + 3) / 4;
  for (uint32_t by = 0; by < bh; ++by)
    for (uint32_t bx = 0; bx < bw; ++bx) {
      const uint8_t* block = src + (size_t(by) * bw + bx) * blockBytes;
      const uint8_t* colorBlock = dxt1 ? block : block + 8;
      uint8_t colors[4][4];
      blockColors(colorBlock, dxt1, colors);
      uint8_t alpha[16];
      if (dxt3) {
        for (int i = 0; i < 16; ++i) {
          const uint32_t nibble = (block[i / 2] >> ((i & 1) * 4)) & 15;
          alpha[i] = uint8_t(nibble * 17);
        }
      } else if (!dxt1) {
        uint32_t a[8];
        a[0] = block[0];
        a[1] = block[1];
        if (a[0] > a[1]) {
          for (int i = 1; i < 7; ++i) a[1 + i] = ((7 - i) * a[0] + i * a[1]) / 7;
        } else {
          for (int i = 1; i < 5; ++i) a[1 + i] = ((5 - i) * a[0] + i * a[1]) / 5;
          a[6] = 0;
          a[7] = 255;
        }
        uint64_t bits = 0;
        for (int i = 0; i < 6; ++i) bits |= uint64_t(block[2 + i]) << (8 * i);
        for (int i = 0; i < 16; ++i) alpha[i] = uint8_t(a[(bits >> (3 * i)) & 7]);
      }
      const uint32_t indices = rd32(colorBlock + 4);
      for (uint32_t py = 0; py < 4; ++py)
        for (uint32_t px = 0; px < 4; ++px) {
          const uint32_t x = bx * 4 + px, y = by * 4 + py;
          if (x >= w || y >= h) continue;
          const int i = int(py * 4 + px);
          uint8_t* dst = out + (size_t(y) * w + x) * 4;
          std::memcpy(dst, colors[(indices >> (2 * i)) & 3], 4);
          if (!dxt1) dst[3] = alpha[i];
        }
    }
}

// Expands the bits of one channel (under mask) to 8 bits; a missing channel gives fill.
uint32_t channel(uint32_t pixel, uint32_t mask, uint32_t fill) {
  if (!mask) return fill;
  uint32_t shift = 0;
  while (!((mask >> shift) & 1)) ++shift;
  const uint32_t bits = mask >> shift;
  const uint32_t value = (pixel & mask) >> shift;
  return bits == 0 ? fill : uint32_t((uint64_t(value) * 255 + bits / 2) / bits);
}

}  // namespace

bool decodeDds(const uint8_t* data, size_t size, Image& image, std::string& error) {
  if (size < 128 || std::memcmp(data, "DDS ", 4) != 0) return error = "not a DDS file", false;
  const uint8_t* h = data + 4;
  if (rd32(h) != 124 || rd32(h + 72) != 32) return error = "bad DDS header sizes", false;
  const uint32_t flags = rd32(h + 4), height = rd32(h + 8), width = rd32(h + 12);
  const uint32_t mipCount = rd32(h + 24);
  const uint32_t pfFlags = rd32(h + 76), fourcc = rd32(h + 80), bitCount = rd32(h + 84);
  const uint32_t rMask = rd32(h + 88), gMask = rd32(h + 92), bMask = rd32(h + 96), aMask = rd32(h + 100);
  const uint32_t caps2 = rd32(h + 108);
  if (width == 0 || height == 0 || width > kMaxImageSize || height > kMaxImageSize)
    return error = "unsupported DDS size", false;
  if (caps2 & (kCaps2Cubemap | kCaps2Volume)) return error = "cube and volume DDS files are not supported", false;
  bool compressed = false;
  uint32_t blockBytes = 0;
  if (pfFlags & kPfFourCC) {
    if (fourcc == fourCC("DXT1"))
      blockBytes = 8;
    else if (fourcc == fourCC("DXT2") || fourcc == fourCC("DXT3") || fourcc == fourCC("DXT4") ||
             fourcc == fourCC("DXT5"))
      blockBytes = 16;
    else
      return error = "unsupported DDS compression", false;
    compressed = true;
  } else if (pfFlags & (kPfRgb | kPfLuminance | kPfAlpha)) {
    if (bitCount != 8 && bitCount != 16 && bitCount != 24 && bitCount != 32)
      return error = "unsupported DDS bit count", false;
  } else {
    return error = "unsupported DDS pixel format", false;
  }
  image.width = width;
  image.height = height;
  image.hasAlpha = compressed || ((pfFlags & (kPfAlphaPixels | kPfAlpha)) && aMask);
  image.levels.clear();
  uint32_t chain = 1;
  for (uint32_t w = width, hh = height; w > 1 || hh > 1; w = w > 1 ? w / 2 : 1, hh = hh > 1 ? hh / 2 : 1) ++chain;
  uint32_t levels = ((flags & kDdsdMipMapCount) && mipCount > 0) ? mipCount : 1;
  if (levels > chain) levels = chain;
  size_t offset = 128;
  uint32_t w = width, hh = height;
  for (uint32_t level = 0; level < levels; ++level) {
    const size_t bytes =
        compressed ? size_t((w + 3) / 4) * ((hh + 3) / 4) * blockBytes : size_t((uint64_t(w) * bitCount + 7) / 8) * hh;
    if (bytes > size - offset) {
      if (level == 0) return error = "DDS file is truncated", false;
      break;  // the missing levels are made from the ones read
    }
    std::vector<uint8_t> texels(size_t(w) * hh * 4);
    const uint8_t* src = data + offset;
    if (compressed) {
      decodeDxt(src, w, hh, fourcc, texels.data());
    } else {
      const size_t pitch = (uint64_t(w) * bitCount + 7) / 8, step = bitCount / 8;
      const bool luminance = (pfFlags & kPfLuminance) != 0;
      for (uint32_t y = 0; y < hh; ++y)
        for (uint32_t x = 0; x < w; ++x) {
          const uint8_t* p = src + y * pitch + x * step;
          uint32_t v = 0;
          for (size_t i = 0; i < step; ++i) v |= uint32_t(p[i]) << (8 * i);
          const uint32_t a = image.hasAlpha ? channel(v, aMask, 255) : 255;
          uint32_t r, g, b;
          if (luminance) {
            r = g = b = channel(v, rMask, 0);
          } else {
            r = channel(v, rMask, 0);
            g = channel(v, gMask, 0);
            b = channel(v, bMask, 0);
          }
          put(texels.data() + (size_t(y) * w + x) * 4, r, g, b, a);
        }
    }
    image.levels.push_back(std::move(texels));
    offset += bytes;
    w = w > 1 ? w / 2 : 1;
    hh = hh > 1 ? hh / 2 : 1;
  }
  return true;
}

}  // namespace brd3dx
