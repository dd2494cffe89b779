// MediaImage: pixels, shapes, noise, TrueType text and the TGA, BMP, JPEG and DDS writers of the media generator.
#include "tools/mediagen/MediaImage.h"

#include <sys/stat.h>

#include <algorithm>
#include <cerrno>
#include <cmath>
#include <cstdio>
#include <cstring>

#define STB_TRUETYPE_IMPLEMENTATION
#define STBTT_STATIC
#include <stb/stb_truetype.h>
#define STB_IMAGE_WRITE_IMPLEMENTATION
#define STB_IMAGE_WRITE_STATIC
#include <stb/stb_image_write.h>

namespace mediagen {

Colour rgb(int r, int g, int b, int a) { return Colour{r / 255.0f, g / 255.0f, b / 255.0f, a / 255.0f}; }

Colour mix(const Colour& x, const Colour& y, float t) {
  t = std::clamp(t, 0.0f, 1.0f);
  return Colour{x.r + (y.r - x.r) * t, x.g + (y.g - x.g) * t, x.b + (y.b - x.b) * t, x.a + (y.a - x.a) * t};
}

Colour scaled(const Colour& c, float k) {
  return Colour{std::clamp(c.r * k, 0.0f, 1.0f), std::clamp(c.g * k, 0.0f, 1.0f), std::clamp(c.b * k, 0.0f, 1.0f), c.a};
}

Image::Image(int w, int h, Colour fill) : w_(w), h_(h), px_(size_t(w) * h, fill) {}

void Image::blend(int x, int y, const Colour& c, float coverage) {
  if (x < 0 || y < 0 || x >= w_ || y >= h_) return;
  const float a = std::clamp(c.a * coverage, 0.0f, 1.0f);
  if (a <= 0) return;
  Colour& d = at(x, y);
  const float outA = a + d.a * (1 - a);
  if (outA <= 0) return;
  d.r = (c.r * a + d.r * d.a * (1 - a)) / outA;
  d.g = (c.g * a + d.g * d.a * (1 - a)) / outA;
  d.b = (c.b * a + d.b * d.a * (1 - a)) / outA;
  d.a = outA;
}

void Image::fillRect(float x0, float y0, float x1, float y1, const Colour& c) {
  for (int y = std::max(0, int(std::floor(y0))); y < std::min(h_, int(std::ceil(y1))); ++y)
    for (int x = std::max(0, int(std::floor(x0))); x < std::min(w_, int(std::ceil(x1))); ++x) {
      const float cx = std::min(x1, x + 1.0f) - std::max(x0, float(x));
      const float cy = std::min(y1, y + 1.0f) - std::max(y0, float(y));
      blend(x, y, c, std::clamp(cx, 0.0f, 1.0f) * std::clamp(cy, 0.0f, 1.0f));
    }
}

void Image::frameRect(float x0, float y0, float x1, float y1, float t, const Colour& c) {
  fillRect(x0, y0, x1, y0 + t, c);
  fillRect(x0, y1 - t, x1, y1, c);
  fillRect(x0, y0 + t, x0 + t, y1 - t, c);
  fillRect(x1 - t, y0 + t, x1, y1 - t, c);
}

void Image::fillCircle(float cx, float cy, float r, const Colour& c) {
  for (int y = std::max(0, int(cy - r - 1)); y <= std::min(h_ - 1, int(cy + r + 1)); ++y)
    for (int x = std::max(0, int(cx - r - 1)); x <= std::min(w_ - 1, int(cx + r + 1)); ++x) {
      const float d = std::hypot(x + 0.5f - cx, y + 0.5f - cy);
      blend(x, y, c, std::clamp(r - d + 0.5f, 0.0f, 1.0f));
    }
}

void Image::ring(float cx, float cy, float r, float t, const Colour& c) {
  for (int y = std::max(0, int(cy - r - t)); y <= std::min(h_ - 1, int(cy + r + t)); ++y)
    for (int x = std::max(0, int(cx - r - t)); x <= std::min(w_ - 1, int(cx + r + t)); ++x) {
      const float d = std::fabs(std::hypot(x + 0.5f - cx, y + 0.5f - cy) - r);
      blend(x, y, c, std::clamp(t * 0.5f - d + 0.5f, 0.0f, 1.0f));
    }
}

void Image::line(float x0, float y0, float x1, float y1, float t, const Colour& c) {
  const float minX = std::min(x0, x1) - t, maxX = std::max(x0, x1) + t;
  const float minY = std::min(y0, y1) - t, maxY = std::max(y0, y1) + t;
  const float dx = x1 - x0, dy = y1 - y0, len2 = dx * dx + dy * dy;
  for (int y = std::max(0, int(minY)); y <= std::min(h_ - 1, int(maxY)); ++y)
    for (int x = std::max(0, int(minX)); x <= std::min(w_ - 1, int(maxX)); ++x) {
      const float px = x + 0.5f - x0, py = y + 0.5f - y0;
      const float u = len2 > 0 ? std::clamp((px * dx + py * dy) / len2, 0.0f, 1.0f) : 0.0f;
      const float d = std::hypot(px - u * dx, py - u * dy);
      blend(x, y, c, std::clamp(t * 0.5f - d + 0.5f, 0.0f, 1.0f));
    }
}

void Image::fillPolygon(const std::vector<float>& xy, const Colour& c) {
  const size_t n = xy.size() / 2;
  if (n < 3) return;
  float minY = xy[1], maxY = xy[1];
  for (size_t i = 0; i < n; ++i) minY = std::min(minY, xy[2 * i + 1]), maxY = std::max(maxY, xy[2 * i + 1]);
  // Four samples a pixel for soft edges.
  for (int y = std::max(0, int(minY)); y <= std::min(h_ - 1, int(maxY)); ++y)
    for (int x = 0; x < w_; ++x) {
      int inside = 0;
      for (int s = 0; s < 4; ++s) {
        const float sx = x + 0.25f + 0.5f * (s & 1), sy = y + 0.25f + 0.5f * (s >> 1);
        bool in = false;
        for (size_t i = 0, j = n - 1; i < n; j = i++) {
          const float xi = xy[2 * i], yi = xy[2 * i + 1], xj = xy[2 * j], yj = xy[2 * j + 1];
          if ((yi > sy) != (yj > sy) && sx < (xj - xi) * (sy - yi) / (yj - yi) + xi) in = !in;
        }
        inside += in;
      }
      if (inside) blend(x, y, c, inside / 4.0f);
    }
}

void Image::vignette(float strength) {
  for (int y = 0; y < h_; ++y)
    for (int x = 0; x < w_; ++x) {
      const float dx = (x + 0.5f) / w_ - 0.5f, dy = (y + 0.5f) / h_ - 0.5f;
      const float k = 1.0f - strength * std::clamp((dx * dx + dy * dy) * 2.0f, 0.0f, 1.0f);
      Colour& p = at(x, y);
      p = Colour{p.r * k, p.g * k, p.b * k, p.a};
    }
}

std::vector<uint8_t> Image::rgba8() const {
  std::vector<uint8_t> out(px_.size() * 4);
  for (size_t i = 0; i < px_.size(); ++i) {
    const Colour& c = px_[i];
    out[4 * i + 0] = uint8_t(std::lround(std::clamp(c.r, 0.0f, 1.0f) * 255));
    out[4 * i + 1] = uint8_t(std::lround(std::clamp(c.g, 0.0f, 1.0f) * 255));
    out[4 * i + 2] = uint8_t(std::lround(std::clamp(c.b, 0.0f, 1.0f) * 255));
    out[4 * i + 3] = uint8_t(std::lround(std::clamp(c.a, 0.0f, 1.0f) * 255));
  }
  return out;
}

namespace {

uint32_t hash3(int x, int y, uint32_t seed) {
  uint32_t h = seed * 0x9E3779B1u ^ uint32_t(x) * 0x85EBCA77u ^ uint32_t(y) * 0xC2B2AE3Du;
  h ^= h >> 15;
  h *= 0x2C1B3C6Du;
  h ^= h >> 12;
  h *= 0x297A2D39u;
  h ^= h >> 15;
  return h;
}

float lattice(int x, int y, int period, uint32_t seed) {
  if (period > 0) x = ((x % period) + period) % period, y = ((y % period) + period) % period;
  return (hash3(x, y, seed) & 0xFFFF) / 65535.0f;
}

float smooth(float t) { return t * t * (3 - 2 * t); }

}  // namespace

float valueNoise(float x, float y, float cell, int period, uint32_t seed) {
  const float fx = x / cell, fy = y / cell;
  const int ix = int(std::floor(fx)), iy = int(std::floor(fy));
  const float tx = smooth(fx - ix), ty = smooth(fy - iy);
  const float a = lattice(ix, iy, period, seed), b = lattice(ix + 1, iy, period, seed);
  const float c = lattice(ix, iy + 1, period, seed), d = lattice(ix + 1, iy + 1, period, seed);
  return (a + (b - a) * tx) * (1 - ty) + (c + (d - c) * tx) * ty;
}

float fractalNoise(float x, float y, float cell, int period, int octaves, uint32_t seed) {
  float sum = 0, amp = 1, norm = 0;
  for (int o = 0; o < octaves && cell >= 1.0f; ++o) {
    sum += amp * valueNoise(x, y, cell, period, seed + o * 101);
    norm += amp;
    amp *= 0.5f;
    cell *= 0.5f;
    period *= 2;
  }
  return norm > 0 ? sum / norm : 0;
}

bool Typeface::load(const std::string& path) {
  FILE* f = std::fopen(path.c_str(), "rb");
  if (!f) return false;
  std::vector<uint8_t> bytes;
  uint8_t buf[65536];
  size_t n;
  while ((n = std::fread(buf, 1, sizeof buf, f)) > 0) bytes.insert(bytes.end(), buf, buf + n);
  std::fclose(f);
  info_.assign(sizeof(stbtt_fontinfo), 0);
  auto* info = reinterpret_cast<stbtt_fontinfo*>(info_.data());
  data_ = std::move(bytes);
  if (data_.empty() || !stbtt_InitFont(info, data_.data(), stbtt_GetFontOffsetForIndex(data_.data(), 0))) {
    data_.clear();
    return false;
  }
  return true;
}

float Typeface::advance(int code, float px, float xScale) const {
  if (!ok()) return 0;
  auto* info = reinterpret_cast<const stbtt_fontinfo*>(info_.data());
  int adv = 0, lsb = 0;
  stbtt_GetCodepointHMetrics(info, code, &adv, &lsb);
  return adv * stbtt_ScaleForPixelHeight(info, px) * xScale;
}

float Typeface::measure(const std::string& text, float px) const {
  float w = 0;
  for (unsigned char ch : text) w += advance(ch, px);
  return w;
}

float Typeface::ascent(float px) const {
  if (!ok()) return 0;
  auto* info = reinterpret_cast<const stbtt_fontinfo*>(info_.data());
  int a, d, g;
  stbtt_GetFontVMetrics(info, &a, &d, &g);
  return a * stbtt_ScaleForPixelHeight(info, px);
}

float Typeface::descent(float px) const {
  if (!ok()) return 0;
  auto* info = reinterpret_cast<const stbtt_fontinfo*>(info_.data());
  int a, d, g;
  stbtt_GetFontVMetrics(info, &a, &d, &g);
  return -d * stbtt_ScaleForPixelHeight(info, px);
}

float Typeface::draw(Image& img, float x, float baseline, const std::string& text, float px, const Colour& c,
                     float xScale) const {
  if (!ok()) return x;
  auto* info = reinterpret_cast<const stbtt_fontinfo*>(info_.data());
  const float scale = stbtt_ScaleForPixelHeight(info, px);
  for (unsigned char ch : text) {
    int w = 0, h = 0, xo = 0, yo = 0;
    const float shift = x - std::floor(x);
    unsigned char* bmp = stbtt_GetCodepointBitmapSubpixel(info, scale * xScale, scale, shift, 0, ch, &w, &h, &xo, &yo);
    for (int y = 0; y < h; ++y)
      for (int xx = 0; xx < w; ++xx)
        if (bmp[y * w + xx])
          img.blend(int(std::floor(x)) + xo + xx, int(std::lround(baseline)) + yo + y, c, bmp[y * w + xx] / 255.0f);
    stbtt_FreeBitmap(bmp, nullptr);
    x += advance(ch, px, xScale);
  }
  return x;
}

void Typeface::drawCentred(Image& img, float x0, float y0, float x1, float y1, const std::string& text, float px,
                           const Colour& c) const {
  float w = measure(text, px);
  if (w > (x1 - x0) && w > 0) {
    px *= (x1 - x0) / w;
    w = measure(text, px);
  }
  const float h = ascent(px) + descent(px);
  const float base = (y0 + y1) * 0.5f - h * 0.5f + ascent(px);
  draw(img, (x0 + x1) * 0.5f - w * 0.5f, base, text, px, c);
}

bool writeFile(const std::string& path, const std::vector<uint8_t>& bytes) {
  if (!makeFolders(path)) return false;
  const std::string tmp = path + ".part";
  FILE* f = std::fopen(tmp.c_str(), "wb");
  if (!f) return false;
  const bool ok = std::fwrite(bytes.data(), 1, bytes.size(), f) == bytes.size();
  if (std::fclose(f) != 0 || !ok || std::rename(tmp.c_str(), path.c_str()) != 0) {
    std::remove(tmp.c_str());
    return false;
  }
  return true;
}

bool makeFolders(const std::string& filePath) {
  for (size_t i = 1; i < filePath.size(); ++i)
    if (filePath[i] == '/') {
      const std::string dir = filePath.substr(0, i);
      if (mkdir(dir.c_str(), 0755) != 0 && errno != EEXIST) return false;
    }
  return true;
}

namespace {

void put16(std::vector<uint8_t>& v, uint32_t x) {
  v.push_back(uint8_t(x));
  v.push_back(uint8_t(x >> 8));
}
void put32(std::vector<uint8_t>& v, uint32_t x) {
  put16(v, x & 0xFFFF);
  put16(v, x >> 16);
}

void appendBytes(void* ctx, void* data, int size) {
  auto* v = static_cast<std::vector<uint8_t>*>(ctx);
  v->insert(v->end(), static_cast<uint8_t*>(data), static_cast<uint8_t*>(data) + size);
}

}  // namespace

bool writeTga(const std::string& path, const Image& img) {
  std::vector<uint8_t> v;
  const uint8_t header[12] = {0, 0, 2, 0, 0, 0, 0, 0, 0, 0, 0, 0};
  v.insert(v.end(), header, header + 12);
  put16(v, uint32_t(img.width()));
  put16(v, uint32_t(img.height()));
  v.push_back(32);
  v.push_back(0x28);  // 8 alpha bits, rows from the top
  const std::vector<uint8_t> px = img.rgba8();
  for (size_t i = 0; i < px.size(); i += 4) {
    v.push_back(px[i + 2]);
    v.push_back(px[i + 1]);
    v.push_back(px[i + 0]);
    v.push_back(px[i + 3]);
  }
  return writeFile(path, v);
}

bool writeBmp(const std::string& path, const Image& img) {
  const uint32_t w = uint32_t(img.width()), h = uint32_t(img.height());
  const uint32_t stride = (w * 3 + 3) & ~3u;
  std::vector<uint8_t> v;
  v.push_back('B');
  v.push_back('M');
  put32(v, 54 + stride * h);
  put32(v, 0);
  put32(v, 54);
  put32(v, 40);
  put32(v, w);
  put32(v, h);
  put16(v, 1);
  put16(v, 24);
  put32(v, 0);
  put32(v, stride * h);
  put32(v, 2835);
  put32(v, 2835);
  put32(v, 0);
  put32(v, 0);
  const std::vector<uint8_t> px = img.rgba8();
  for (uint32_t y = h; y-- > 0;) {
    for (uint32_t x = 0; x < w; ++x) {
      const uint8_t* p = &px[(size_t(y) * w + x) * 4];
      v.push_back(p[2]);
      v.push_back(p[1]);
      v.push_back(p[0]);
    }
    for (uint32_t k = w * 3; k < stride; ++k) v.push_back(0);
  }
  return writeFile(path, v);
}

bool writeJpg(const std::string& path, const Image& img) {
  std::vector<uint8_t> px = img.rgba8();
  std::vector<uint8_t> rgbPx;
  rgbPx.reserve(px.size() / 4 * 3);
  for (size_t i = 0; i < px.size(); i += 4) rgbPx.insert(rgbPx.end(), {px[i], px[i + 1], px[i + 2]});
  std::vector<uint8_t> v;
  if (!stbi_write_jpg_to_func(appendBytes, &v, img.width(), img.height(), 3, rgbPx.data(), 90)) return false;
  return writeFile(path, v);
}

bool writeDds(const std::string& path, const Image& img) {
  std::vector<uint8_t> v = {'D', 'D', 'S', ' '};
  put32(v, 124);
  put32(v, 0x1 | 0x2 | 0x4 | 0x8 | 0x1000);  // caps, height, width, pitch, pixel format
  put32(v, uint32_t(img.height()));
  put32(v, uint32_t(img.width()));
  put32(v, uint32_t(img.width()) * 4);
  put32(v, 0);
  put32(v, 1);
  for (int i = 0; i < 11; ++i) put32(v, 0);
  put32(v, 32);          // pixel format size
  put32(v, 0x1 | 0x40);  // alpha pixels, RGB
  put32(v, 0);
  put32(v, 32);
  put32(v, 0x00FF0000);
  put32(v, 0x0000FF00);
  put32(v, 0x000000FF);
  put32(v, 0xFF000000);
  put32(v, 0x1000);  // texture
  for (int i = 0; i < 4; ++i) put32(v, 0);
  const std::vector<uint8_t> px = img.rgba8();
  for (size_t i = 0; i < px.size(); i += 4) v.insert(v.end(), {px[i + 2], px[i + 1], px[i], px[i + 3]});
  return writeFile(path, v);
}

bool writeImage(const std::string& path, const Image& img) {
  std::string ext = path.size() >= 4 ? path.substr(path.size() - 4) : std::string();
  for (char& c : ext) c = char(std::tolower(static_cast<unsigned char>(c)));
  if (ext == ".tga") return writeTga(path, img);
  if (ext == ".bmp") return writeBmp(path, img);
  if (ext == ".jpg" || ext == "jpeg") return writeJpg(path, img);
  if (ext == ".dds") return writeDds(path, img);
  return false;
}

}  // namespace mediagen
