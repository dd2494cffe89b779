// MediaImage: an RGBA picture for the media generator, the drawing it needs and the image files it writes.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace mediagen {

struct Colour {
  float r = 0, g = 0, b = 0, a = 1;
};

Colour rgb(int r, int g, int b, int a = 255);
Colour mix(const Colour& x, const Colour& y, float t);
Colour scaled(const Colour& c, float k);

// A picture in straight (not premultiplied) alpha, row 0 at the top.
class Image {
public:
  Image(int w, int h, Colour fill = Colour{0, 0, 0, 0});
  int width() const { return w_; }
  int height() const { return h_; }
  Colour& at(int x, int y) { return px_[size_t(y) * w_ + x]; }
  const Colour& at(int x, int y) const { return px_[size_t(y) * w_ + x]; }

  // Blends c over the pixel with c's alpha times coverage; pixels outside are ignored.
  void blend(int x, int y, const Colour& c, float coverage = 1.0f);
  void fillRect(float x0, float y0, float x1, float y1, const Colour& c);
  void frameRect(float x0, float y0, float x1, float y1, float thickness, const Colour& c);
  void fillCircle(float cx, float cy, float r, const Colour& c);
  void ring(float cx, float cy, float r, float thickness, const Colour& c);
  void line(float x0, float y0, float x1, float y1, float thickness, const Colour& c);
  void fillPolygon(const std::vector<float>& xy, const Colour& c);
  // Darkens towards the edges, as an old picture or a lit wall fades.
  void vignette(float strength);

  std::vector<uint8_t> rgba8() const;

private:
  int w_, h_;
  std::vector<Colour> px_;
};

// Smooth value noise in 0..1 with the given cell size, tiling over the period (in cells); seeded per picture.
float valueNoise(float x, float y, float cell, int period, uint32_t seed);
// Several octaves of value noise, still tiling when the picture is period * cell wide.
float fractalNoise(float x, float y, float cell, int period, int octaves, uint32_t seed);

// Text through a TrueType font: loads the file once per path.
class Typeface {
public:
  bool load(const std::string& path);
  bool ok() const { return !data_.empty(); }
  // Advance width of one character at the pixel height, in pixels; xScale narrows (below 1) or widens it.
  float advance(int code, float pixelHeight, float xScale = 1.0f) const;
  float measure(const std::string& text, float pixelHeight) const;
  // Draws the text with its baseline at y, its glyphs xScale times as wide as the face's own; returns the pen's
  // x after the last character.
  float draw(Image& img, float x, float baseline, const std::string& text, float pixelHeight, const Colour& c,
             float xScale = 1.0f) const;
  // Draws the text centred in the box, shrunk to fit its width.
  void drawCentred(Image& img, float x0, float y0, float x1, float y1, const std::string& text, float pixelHeight,
                   const Colour& c) const;
  float ascent(float pixelHeight) const;
  float descent(float pixelHeight) const;

private:
  std::vector<uint8_t> data_;
  std::vector<uint8_t> info_;  // the font's parsed tables (stbtt_fontinfo), kept opaque here
};

// Writers: each returns false when the file cannot be written.
bool writeTga(const std::string& path, const Image& img);    // 32-bit, uncompressed, top-left origin
bool writeBmp(const std::string& path, const Image& img);    // 24-bit, alpha dropped
bool writeJpg(const std::string& path, const Image& img);    // quality 90, alpha dropped
bool writeDds(const std::string& path, const Image& img);    // uncompressed A8R8G8B8, one level
bool writeImage(const std::string& path, const Image& img);  // by the extension

bool writeFile(const std::string& path, const std::vector<uint8_t>& bytes);
bool makeFolders(const std::string& filePath);

}  // namespace mediagen
