// MediaPictures: walls, floors, icons, cursors, menu parts, HUD gauges, backgrounds and font sheets, drawn from
// the path's words so each file looks like what the game uses it for.
#include "tools/mediagen/MediaPictures.h"

#include <algorithm>
#include <cctype>
#include <cmath>
#include <cstdlib>

namespace mediagen {
namespace {

const float kPi = 3.14159265f;

std::string lower(std::string s) {
  for (char& c : s) c = char(std::tolower(static_cast<unsigned char>(c)));
  return s;
}

bool has(const std::string& s, const char* w) { return s.find(w) != std::string::npos; }

uint32_t hashOf(const std::string& s) {
  uint32_t h = 2166136261u;
  for (unsigned char c : s) h = (h ^ c) * 16777619u;
  return h;
}

// The file's own name without folder and extension, as typed ("MUTPoison", "hgauge07").
std::string stem(const std::string& path) {
  const size_t slash = path.find_last_of("\\/");
  std::string name = slash == std::string::npos ? path : path.substr(slash + 1);
  const size_t dot = name.find_last_of('.');
  return dot == std::string::npos ? name : name.substr(0, dot);
}

// The trailing number of a name ("hgauge07" gives 7), or -1.
int trailingNumber(const std::string& name) {
  size_t i = name.size();
  while (i > 0 && std::isdigit(static_cast<unsigned char>(name[i - 1]))) --i;
  return i == name.size() ? -1 : std::atoi(name.c_str() + i);
}

// Splits "MUTPoisonCloud" or "war_axe" into words for a label.
std::string label(std::string name) {
  if (name.rfind("MUT", 0) == 0 && name.size() > 3) name = name.substr(3);
  name = name.substr(0, name.find('('));  // a mutator's arguments do not fit an icon
  std::string out;
  for (size_t i = 0; i < name.size(); ++i) {
    const char c = name[i];
    if (c == '_' || c == '-') {
      out += ' ';
      continue;
    }
    if (i > 0 && std::isupper(static_cast<unsigned char>(c)) && std::islower(static_cast<unsigned char>(name[i - 1])))
      out += ' ';
    out += c;
  }
  return out;
}

Colour hueColour(float h, float s, float v, float a = 1.0f) {
  h = h - std::floor(h);
  const float c = v * s, x = c * (1 - std::fabs(std::fmod(h * 6, 2.0f) - 1)), m = v - c;
  float r, g, b;
  switch (int(h * 6) % 6) {
    case 0: r = c, g = x, b = 0; break;
    case 1: r = x, g = c, b = 0; break;
    case 2: r = 0, g = c, b = x; break;
    case 3: r = 0, g = x, b = c; break;
    case 4: r = x, g = 0, b = c; break;
    default: r = c, g = 0, b = x; break;
  }
  return Colour{r + m, g + m, b + m, a};
}

// ---- World surfaces -------------------------------------------------------------------------------------------

Image stoneBlocks(const Colour& base, uint32_t seed, int rows, bool staggered, float mortar) {
  const int n = 256;
  Image img(n, n);
  const float bh = float(n) / rows, bw = bh * 2;
  for (int y = 0; y < n; ++y)
    for (int x = 0; x < n; ++x) {
      const int row = int(y / bh);
      const float off = staggered && (row & 1) ? bw * 0.5f : 0.0f;
      const float fx = std::fmod(x + off, float(n));
      const int col = int(fx / bw);
      const float lx = std::fmod(fx, bw), ly = std::fmod(float(y), bh);
      const float edge = std::min(std::min(lx, bw - lx), std::min(ly, bh - ly));
      const float grain = fractalNoise(float(x), float(y), 32, 8, 4, seed);
      const float block = 0.85f + 0.3f * ((((row * 7 + col * 13) * 2654435761u) >> 24) / 255.0f - 0.5f);
      Colour c = scaled(base, block * (0.75f + 0.5f * grain));
      if (edge < mortar)
        c = scaled(base, 0.35f + 0.15f * grain);
      else if (edge < mortar + 2)
        c = scaled(c, 0.8f);
      img.at(x, y) = c;
    }
  return img;
}

Image roughRock(const Colour& base, uint32_t seed, float crack) {
  const int n = 256;
  Image img(n, n);
  for (int y = 0; y < n; ++y)
    for (int x = 0; x < n; ++x) {
      const float a = fractalNoise(float(x), float(y), 64, 4, 5, seed);
      const float b = fractalNoise(float(x), float(y), 16, 16, 2, seed + 7);
      float k = 0.55f + 0.7f * a;
      if (std::fabs(b - 0.5f) < crack) k *= 0.55f;
      img.at(x, y) = scaled(base, k);
    }
  return img;
}

Image exitFloor(uint32_t seed) {
  Image img = stoneBlocks(rgb(120, 110, 90), seed, 4, false, 3);
  // A worn circle of lighter stone round a dark stairwell, so the way down shows on the floor.
  img.fillCircle(128, 128, 100, rgb(170, 150, 110, 200));
  for (int i = 0; i < 6; ++i) img.fillRect(58 + i * 10, 70 + i * 20, 198 - i * 10, 82 + i * 20, rgb(30, 25, 20, 230));
  img.ring(128, 128, 100, 6, rgb(60, 50, 40));
  return img;
}

Image worldSurface(const std::string& p, uint32_t seed) {
  const Colour tint = hueColour((seed & 0xFF) / 255.0f, 0.25f, 0.55f);
  if (has(p, "exit") || has(p, "stair")) return exitFloor(seed);
  if (has(p, "cave") || has(p, "rock") || has(p, "cavern")) {
    const bool floor = has(p, "floor");
    return roughRock(mix(rgb(110, 95, 80), tint, 0.35f), seed, floor ? 0.01f : 0.025f);
  }
  if (has(p, "brick")) return stoneBlocks(mix(rgb(140, 70, 50), tint, 0.2f), seed, 8, true, 2.5f);
  if (has(p, "wood") || has(p, "door") || has(p, "plank")) {
    Image img(256, 256);
    for (int y = 0; y < 256; ++y)
      for (int x = 0; x < 256; ++x) {
        const float g = fractalNoise(x * 0.2f, float(y) * 4, 16, 8, 3, seed);
        float k = 0.6f + 0.5f * g;
        if (x % 64 < 2) k *= 0.4f;
        img.at(x, y) = scaled(rgb(120, 80, 45), k);
      }
    return img;
  }
  if (has(p, "water") || has(p, "slime") || has(p, "lava")) {
    const Colour base = has(p, "lava") ? rgb(200, 70, 20) : has(p, "slime") ? rgb(70, 130, 40) : rgb(40, 80, 130);
    return roughRock(base, seed, 0.0f);
  }
  if (has(p, "wall")) {
    const bool tunnel = has(p, "tunnel");
    return stoneBlocks(mix(rgb(120, 115, 105), tint, 0.4f), seed, tunnel ? 6 : 4, true, 3);
  }
  if (has(p, "floor") || has(p, "tile") || has(p, "ground")) {
    const bool tunnel = has(p, "tunnel");
    if (tunnel) return roughRock(mix(rgb(100, 90, 75), tint, 0.3f), seed, 0.012f);
    return stoneBlocks(mix(rgb(105, 100, 95), tint, 0.4f), seed, 4, false, 2);
  }
  return stoneBlocks(mix(rgb(115, 110, 100), tint, 0.5f), seed, 4, true, 2.5f);
}

// ---- Icons ----------------------------------------------------------------------------------------------------

void drawBlade(Image& img, const Colour& metal) {
  img.fillPolygon({14, 50, 44, 12, 52, 12, 52, 20, 18, 54}, metal);
  img.line(12, 40, 24, 52, 5, rgb(110, 80, 40));
  img.line(10, 54, 16, 48, 5, rgb(90, 60, 30));
}

void drawAxe(Image& img, bool great) {
  img.line(16, 54, 42, 12, 5, rgb(120, 85, 50));
  img.fillPolygon({38, 10, 56, 8, 54, 30, 42, 24}, rgb(200, 205, 215));
  if (great) img.fillPolygon({38, 20, 22, 12, 26, 30, 34, 28}, rgb(190, 195, 205));
}

// A mace (a spiked head on its handle) or a flail (the head hangs from a chain).
void drawMace(Image& img, bool flail) {
  const float hx = flail ? 44 : 40, hy = flail ? 34 : 18;
  img.line(14, 54, flail ? 30.0f : 36.0f, flail ? 22.0f : 24.0f, 5, rgb(120, 85, 50));
  if (flail)
    for (int i = 0; i < 4; ++i) img.ring(32 + i * 3.5f, 22 + i * 3.0f, 2.2f, 1.2f, rgb(170, 170, 180));
  for (int i = 0; i < 8; ++i) {
    const float a = i * kPi / 4;
    img.line(hx, hy, hx + std::cos(a) * 13, hy + std::sin(a) * 13, 2.5f, rgb(170, 170, 185));
  }
  img.fillCircle(hx, hy, 9, rgb(140, 140, 155));
}

void drawCrossbow(Image& img) {
  img.line(32, 10, 32, 50, 6, rgb(120, 85, 50));
  img.line(12, 20, 52, 20, 4, rgb(150, 110, 60));
  img.line(12, 20, 32, 34, 1.5f, rgb(230, 230, 210));
  img.line(52, 20, 32, 34, 1.5f, rgb(230, 230, 210));
  img.fillPolygon({28, 12, 32, 4, 36, 12}, rgb(200, 200, 210));
}

// A rolled note with a question mark: a hint.
void drawHint(Image& img, const Typefaces& faces) {
  img.fillRect(14, 8, 50, 44, rgb(225, 205, 160));
  img.fillRect(12, 6, 52, 11, rgb(190, 165, 115));
  img.fillRect(12, 41, 52, 46, rgb(190, 165, 115));
  faces.title.drawCentred(img, 14, 9, 50, 42, "?", 30, rgb(90, 50, 20));
}

void drawFlask(Image& img, const Colour& liquid) {
  img.fillRect(27, 8, 37, 22, rgb(200, 210, 220, 220));
  img.fillCircle(32, 38, 16, rgb(200, 210, 220, 200));
  img.fillCircle(32, 40, 13, liquid);
  img.fillRect(25, 5, 39, 10, rgb(120, 80, 40));
}

void drawShield(Image& img, const Colour& c) {
  img.fillPolygon({14, 12, 50, 12, 50, 32, 32, 56, 14, 32}, c);
  img.fillPolygon({20, 17, 44, 17, 44, 31, 32, 48, 20, 31}, scaled(c, 1.3f));
}

void drawFlame(Image& img) {
  img.fillCircle(32, 38, 14, rgb(240, 120, 20));
  img.fillPolygon({18, 38, 32, 6, 46, 38}, rgb(240, 120, 20));
  img.fillCircle(32, 42, 8, rgb(255, 230, 120));
}

void drawBow(Image& img) {
  img.ring(40, 32, 24, 4, rgb(130, 90, 40));
  img.fillRect(40, 0, 64, 64, Colour{0, 0, 0, 0});
  img.line(40, 9, 40, 55, 1.5f, rgb(230, 230, 210));
  img.line(12, 32, 54, 32, 2.5f, rgb(160, 140, 110));
  img.fillPolygon({54, 27, 62, 32, 54, 37}, rgb(200, 200, 210));
}

void drawRod(Image& img, const Colour& gem) {
  img.line(14, 52, 44, 16, 5, rgb(120, 85, 50));
  img.fillCircle(46, 14, 8, gem);
  img.fillCircle(44, 12, 3, rgb(255, 255, 255, 200));
}

void drawDrop(Image& img, const Colour& c) {
  img.fillCircle(32, 40, 14, c);
  img.fillPolygon({19, 36, 32, 8, 45, 36}, c);
}

void drawFood(Image& img, const Colour& c) {
  img.fillCircle(32, 34, 18, c);
  img.fillCircle(26, 28, 5, scaled(c, 1.4f));
}

}  // namespace

// Whole, on two lines when one would shrink it past reading: "potion Healing" cut to "potion Hea" says nothing.
std::vector<std::string> iconLabelLines(const Typeface& face, const std::string& mediaPath) {
  const std::string text = label(stem(mediaPath));
  const size_t space = text.find(' ');
  if (face.measure(text, 13) > 56.0f * 1.3f && space != std::string::npos)
    return {text.substr(0, space), text.substr(space + 1)};
  return {text};
}

namespace {

Image icon(const std::string& path, const std::string& p, const Typefaces& faces, uint32_t seed) {
  Image img(64, 64);
  const std::string name = stem(path), lname = lower(name);
  Colour back = hueColour((seed & 0xFF) / 255.0f, 0.5f, 0.35f);
  if (has(p, "mutators")) back = has(p, "edges") ? rgb(110, 30, 30) : rgb(70, 40, 100);
  img.fillRect(2, 2, 62, 62, Colour{back.r, back.g, back.b, 0.85f});
  img.frameRect(2, 2, 62, 62, 2, rgb(220, 200, 150));
  const Colour accent = hueColour(((seed >> 8) & 0xFF) / 255.0f, 0.7f, 0.9f);
  if (has(p, "\\hints\\"))
    drawHint(img, faces);
  else if (has(lname, "axe"))
    drawAxe(img, has(lname, "great"));
  else if (has(lname, "mace") || has(lname, "flail"))
    drawMace(img, has(lname, "flail"));
  else if (has(lname, "crossbow"))
    drawCrossbow(img);
  else if (has(lname, "sword") || has(lname, "blade") || has(lname, "dagger") || has(lname, "knife") ||
           has(lname, "spear") || has(lname, "sharp") || has(lname, "slash"))
    drawBlade(img, rgb(210, 215, 225));
  else if (has(lname, "potion") || has(lname, "elixir") || has(lname, "flask") || has(lname, "heal"))
    drawFlask(img, has(lname, "heal") ? rgb(220, 40, 40) : accent);
  else if (has(lname, "armour") || has(lname, "armor") || has(lname, "helm") || has(lname, "shield") ||
           has(lname, "boot") || has(lname, "glove") || has(lname, "mail") || has(lname, "plate") ||
           has(lname, "leather") || has(lname, "cloak") || has(lname, "def"))
    drawShield(img, rgb(140, 140, 150));
  else if (has(lname, "oil") || has(lname, "lantern") || has(lname, "lamp") || has(lname, "fire") ||
           has(lname, "burn") || has(lname, "flame"))
    drawFlame(img);
  else if (has(lname, "bow") || has(lname, "arrow") || has(lname, "bolt") || has(lname, "sling") ||
           has(lname, "ranged"))
    drawBow(img);
  else if (has(lname, "wand") || has(lname, "staff") || has(lname, "rod") || has(lname, "magic"))
    drawRod(img, accent);
  else if (has(lname, "poison") || has(lname, "venom") || has(lname, "acid"))
    drawDrop(img, rgb(80, 200, 60));
  else if (has(lname, "food") || has(lname, "bread") || has(lname, "meat") || has(lname, "shrm") ||
           has(lname, "mushroom") || has(lname, "apple") || has(lname, "ration"))
    drawFood(img, rgb(190, 140, 70));
  else if (has(lname, "speed") || has(lname, "fast") || has(lname, "haste")) {
    for (int i = 0; i < 3; ++i) img.fillPolygon({14.0f + i * 14, 16, 26.0f + i * 14, 32, 14.0f + i * 14, 48}, accent);
  } else if (has(lname, "prone") || has(lname, "slow") || has(lname, "stun")) {
    img.line(12, 44, 52, 44, 6, accent);
    img.fillCircle(48, 36, 6, accent);
  } else if (has(lname, "fly") || has(lname, "wing") || has(lname, "levit")) {
    img.fillPolygon({32, 34, 8, 18, 14, 34, 6, 40}, rgb(230, 230, 240));
    img.fillPolygon({32, 34, 56, 18, 50, 34, 58, 40}, rgb(230, 230, 240));
  } else if (has(lname, "fist") || has(lname, "touch") || has(lname, "punch") || has(lname, "blunt") ||
             has(lname, "crush")) {
    img.fillCircle(32, 32, 15, rgb(220, 180, 140));
    for (int i = 0; i < 4; ++i) img.line(22.0f + i * 7, 22, 22.0f + i * 7, 30, 2, rgb(150, 110, 80));
  } else if (has(lname, "rope")) {
    for (int r = 8; r <= 20; r += 4) img.ring(32, 30, float(r), 3, rgb(180, 150, 90));
  } else if (has(lname, "key") || has(lname, "gold") || has(lname, "coin")) {
    img.fillCircle(32, 32, 15, rgb(230, 190, 60));
    img.ring(32, 32, 11, 2, rgb(180, 140, 30));
  } else {
    img.fillCircle(32, 28, 16, accent);
  }
  // The name along the bottom, so every icon reads as what it is.
  const std::vector<std::string> lines = iconLabelLines(faces.plain, path);
  const Colour ink = rgb(255, 245, 220);
  if (lines.size() == 2) {
    img.fillRect(3, 37, 61, 61, rgb(0, 0, 0, 150));
    faces.plain.drawCentred(img, 4, 37, 60, 49, lines[0], 12, ink);
    faces.plain.drawCentred(img, 4, 49, 60, 61, lines[1], 12, ink);
  } else if (lines.size() == 1) {
    img.fillRect(3, 47, 61, 61, rgb(0, 0, 0, 150));
    faces.plain.drawCentred(img, 4, 47, 60, 61, lines[0], 13, ink);
  }
  return img;
}

// ---- Cursors --------------------------------------------------------------------------------------------------

Image cursor(const std::string& lname) {
  Image img(64, 64);
  const Colour outline = rgb(20, 15, 10);
  if (has(lname, "sword")) {
    img.fillPolygon({2, 2, 14, 6, 44, 36, 36, 44, 6, 14}, outline);
    img.fillPolygon({5, 5, 13, 8, 41, 36, 36, 41, 8, 13}, rgb(220, 225, 235));
    img.line(34, 48, 48, 34, 6, rgb(120, 90, 40));
    img.line(44, 44, 56, 56, 6, rgb(90, 60, 30));
  } else if (has(lname, "pickup")) {
    img.fillPolygon({2, 2, 4, 30, 12, 22, 20, 38, 28, 34, 20, 20, 30, 18}, outline);
    img.fillPolygon({5, 6, 7, 26, 13, 19, 21, 33, 24, 31, 16, 18, 25, 16}, rgb(250, 220, 120));
    img.fillCircle(40, 40, 12, rgb(250, 220, 120, 220));
    img.ring(40, 40, 12, 3, outline);
  } else if (has(lname, "noclick") || has(lname, "no")) {
    img.fillPolygon({2, 2, 4, 30, 12, 22, 20, 38, 28, 34, 20, 20, 30, 18}, outline);
    img.fillPolygon({5, 6, 7, 26, 13, 19, 21, 33, 24, 31, 16, 18, 25, 16}, rgb(180, 180, 180));
    img.ring(42, 42, 12, 4, rgb(220, 40, 30));
    img.line(34, 50, 50, 34, 4, rgb(220, 40, 30));
  } else {
    img.fillPolygon({2, 2, 4, 30, 12, 22, 20, 38, 28, 34, 20, 20, 30, 18}, outline);
    img.fillPolygon({5, 6, 7, 26, 13, 19, 21, 33, 24, 31, 16, 18, 25, 16}, rgb(245, 235, 210));
  }
  return img;
}

// ---- Menus and HUD --------------------------------------------------------------------------------------------

// A mid-toned parchment with a faint grain: black text reads on it at 5:1 and the yellow of a pointed-at option
// or list line (255, 244, 0) at 3:1 even on its lightest grain, which a pale parchment washed out.
Colour parchment(int x, int y, uint32_t seed) {
  const float n = fractalNoise(float(x), float(y), 48, 8, 4, seed);
  return scaled(rgb(150, 122, 80), 0.9f + 0.15f * n);
}

Image parchmentSheet(int w, int h, uint32_t seed, bool rolledTop, bool rolledBottom) {
  Image img(w, h);
  for (int y = 0; y < h; ++y)
    for (int x = 0; x < w; ++x) img.at(x, y) = parchment(x, y, seed);
  if (rolledTop) img.fillRect(0, 0, float(w), h * 0.3f, rgb(150, 110, 60));
  if (rolledBottom) img.fillRect(0, h * 0.7f, float(w), float(h), rgb(150, 110, 60));
  img.frameRect(0, 0, float(w), float(h), 3, rgb(110, 75, 35));
  return img;
}

Image button(const std::string& name, const Typefaces& faces, uint32_t seed) {
  const bool over = name.size() > 4 && name.compare(name.size() - 4, 4, "over") == 0;
  std::string text = over ? name.substr(0, name.size() - 4) : name;
  if (!text.empty()) text[0] = char(std::toupper(static_cast<unsigned char>(text[0])));
  Image img(256, 64);
  for (int y = 0; y < 64; ++y)
    for (int x = 0; x < 256; ++x) img.at(x, y) = scaled(parchment(x, y, seed), over ? 1.15f : 0.95f);
  img.frameRect(0, 0, 256, 64, 4, over ? rgb(200, 150, 40) : rgb(110, 75, 35));
  faces.title.drawCentred(img, 10, 4, 246, 60, text, 40, over ? rgb(120, 20, 10) : rgb(50, 30, 15));
  return img;
}

Image arrowButton(bool up, bool over) {
  Image img(64, 64);
  img.fillRect(4, 4, 60, 60, over ? rgb(200, 170, 110) : rgb(160, 130, 80));
  img.frameRect(4, 4, 60, 60, 3, rgb(90, 60, 30));
  if (up)
    img.fillPolygon({16, 44, 32, 18, 48, 44}, rgb(60, 35, 15));
  else
    img.fillPolygon({16, 20, 48, 20, 32, 46}, rgb(60, 35, 15));
  return img;
}

Image menuPart(const std::string& path, const std::string& name, const Typefaces& faces, uint32_t seed) {
  const std::string l = lower(name);
  if (l == "scrollt") return parchmentSheet(512, 128, seed, true, false);
  if (l == "scrollm") return parchmentSheet(512, 128, seed, false, false);
  if (l == "scrollb") return parchmentSheet(512, 128, seed, false, true);
  if (l == "parchbox") return parchmentSheet(512, 512, seed, false, false);
  if (has(l, "listboxup")) return arrowButton(true, has(l, "over"));
  if (has(l, "listboxdown")) return arrowButton(false, has(l, "over"));
  if (has(l, "select")) {
    Image img(256, 32, rgb(200, 140, 40, 110));
    img.frameRect(0, 0, 256, 32, 2, rgb(240, 190, 80, 200));
    return img;
  }
  if (has(l, "savename") || has(l, "editbox")) {
    // The save-name box and the hot-key prompt write on it in black: a light strip of parchment, not a dark one.
    Image img(512, 64);
    for (int y = 0; y < 64; ++y)
      for (int x = 0; x < 512; ++x) img.at(x, y) = scaled(parchment(x, y, seed), 1.05f);
    img.frameRect(0, 0, 512, 64, 3, rgb(110, 75, 35));
    return img;
  }
  return button(name, faces, seed);
}

// A gauge drawn over its whole HUD cell and tinted by the HUD after the level (green, yellow, red): a light,
// half-clear fill rising from the bottom to the level, clear above it so that the cell shows through.
Image gauge(int level, int levels, const Colour& fill) {
  Image img(128, 128);
  const float top = 120 - 112.0f * std::clamp(level, 0, levels) / levels;
  for (int y = int(top); y < 120; ++y) {
    const float k = 0.8f + 0.2f * (120 - y) / 112;
    img.fillRect(8, float(y), 120, float(y + 1), Colour{fill.r * k, fill.g * k, fill.b * k, 0.55f});
  }
  if (level > 0) img.fillRect(8, top, 120, top + 3, Colour{1, 1, 1, 0.85f});  // the surface
  return img;
}

Image pie(int level, int levels) {
  Image img(64, 64);
  img.fillCircle(32, 32, 28, rgb(30, 20, 10, 200));
  const float end = 2 * kPi * std::clamp(level, 0, levels) / levels;
  for (int y = 0; y < 64; ++y)
    for (int x = 0; x < 64; ++x) {
      const float dx = x + 0.5f - 32, dy = y + 0.5f - 32;
      if (std::hypot(dx, dy) > 26) continue;
      float a = std::atan2(dx, -dy);
      if (a < 0) a += 2 * kPi;
      if (a <= end) img.blend(x, y, rgb(230, 190, 60));
    }
  img.ring(32, 32, 28, 3, rgb(170, 140, 90));
  return img;
}

Image lamp(int level, int levels) {
  Image img(64, 64);
  img.fillRect(22, 8, 42, 12, rgb(90, 70, 40));
  img.frameRect(18, 12, 46, 52, 3, rgb(110, 85, 45));
  const float k = std::clamp(level, 0, levels) / float(levels);
  if (k > 0) {
    img.fillCircle(32, 36, 4 + 10 * k, rgb(255, 170, 40, int(120 + 120 * k)));
    img.fillCircle(32, 38, 2 + 5 * k, rgb(255, 240, 160));
  }
  img.fillRect(16, 52, 48, 58, rgb(90, 70, 40));
  return img;
}

Image hudPart(const std::string& name, const Typefaces& faces, uint32_t seed) {
  const std::string l = lower(name);
  const int n = trailingNumber(l);
  if (has(l, "hgauge")) return gauge(n, 10, rgb(235, 235, 235));
  if (has(l, "ogauge") || has(l, "oilgauge")) return gauge(n, 10, rgb(220, 160, 30));
  if (has(l, "xppie")) return pie(n, 5);
  if (has(l, "lamp")) return lamp(n, 5);
  if (has(l, "explored")) {
    Image img(16, 16, rgb(170, 160, 140, 200));
    img.frameRect(0, 0, 16, 16, 1, rgb(90, 80, 70, 200));
    return img;
  }
  if (has(l, "cell") || has(l, "bar")) {
    const int w = has(l, "bar") ? 512 : 128, h = has(l, "bar") ? 64 : 128;
    Image img(w, h, rgb(25, 20, 15, 190));
    img.frameRect(0, 0, float(w), float(h), 4, rgb(170, 140, 90));
    img.frameRect(6, 6, float(w - 6), float(h - 6), 1, rgb(100, 80, 50));
    return img;
  }
  // The small stat emblems: a round badge with the stat's name.
  Image img(64, 64);
  img.fillCircle(32, 32, 29, rgb(40, 30, 20, 220));
  img.ring(32, 32, 29, 3, rgb(190, 160, 100));
  std::string text = name;
  for (char& c : text) c = char(std::toupper(static_cast<unsigned char>(c)));
  faces.title.drawCentred(img, 8, 12, 56, 52, text, 22, rgb(240, 220, 170));
  return img;
}

// ---- Backgrounds, title and ending ---------------------------------------------------------------------------

Image backdrop(int w, int h, const Colour& top, const Colour& bottom, uint32_t seed) {
  Image img(w, h);
  for (int y = 0; y < h; ++y)
    for (int x = 0; x < w; ++x) {
      const float n = fractalNoise(float(x), float(y), 64, 8, 4, seed);
      img.at(x, y) = scaled(mix(top, bottom, float(y) / h), 0.85f + 0.3f * n);
    }
  return img;
}

// A dungeon corridor in perspective: the view the game opens on.
void corridor(Image& img, uint32_t seed) {
  const float w = float(img.width()), h = float(img.height());
  const float cx = w * 0.5f, cy = h * 0.55f;
  for (int i = 8; i >= 1; --i) {
    const float k = i / 8.0f;
    const Colour stone = scaled(rgb(110, 100, 85), 0.25f + 0.75f * (1 - k));
    img.frameRect(cx - w * 0.5f * k, cy - h * 0.5f * k, cx + w * 0.5f * k, cy + h * 0.45f * k, 3 + 6 * k,
                  Colour{stone.r, stone.g, stone.b, 0.8f});
  }
  img.fillCircle(cx, cy, h * 0.06f, rgb(255, 190, 90, 200));
  img.fillCircle(cx, cy, h * 0.12f, rgb(255, 160, 60, 60));
  img.vignette(0.8f);
  (void)seed;
}

Image background(const std::string& p, const std::string& name, const Typefaces& faces, uint32_t seed) {
  const std::string l = lower(name);
  if (has(l, "blackback")) return Image(256, 256, rgb(0, 0, 0));
  if (has(l, "noshader")) {
    Image img(64, 64);
    for (int y = 0; y < 64; ++y)
      for (int x = 0; x < 64; ++x) img.at(x, y) = ((x / 8 + y / 8) & 1) ? rgb(255, 0, 255) : rgb(20, 20, 20);
    return img;
  }
  // The colour tile tints this white backdrop with its own colour.
  if (has(l, "colourback")) return Image(256, 256, rgb(255, 255, 255));
  if (has(l, "titletext")) {
    Image img(1024, 256);
    faces.title.drawCentred(img, 24, 34, 1000, 226, "TIDEWRACK", 170, rgb(40, 20, 10, 220));
    faces.title.drawCentred(img, 16, 26, 992, 218, "TIDEWRACK", 170, rgb(235, 200, 120));
    return img;
  }
  if (has(l, "paused")) {
    Image img(512, 128);
    faces.title.drawCentred(img, 0, 0, 512, 128, "Paused", 96, rgb(240, 220, 170));
    return img;
  }
  if (has(l, "brelmar")) {
    Image img = backdrop(1024, 768, rgb(20, 20, 30), rgb(5, 5, 10), seed);
    faces.title.drawCentred(img, 100, 250, 924, 420, "Brelmar Technology", 96, rgb(200, 200, 220));
    faces.plain.drawCentred(img, 100, 440, 924, 500, "Engine and adventure framework", 36, rgb(150, 150, 170));
    return img;
  }
  if (has(l, "gravelle")) {
    Image img = backdrop(1024, 768, rgb(40, 30, 20), rgb(10, 8, 5), seed);
    faces.title.drawCentred(img, 100, 280, 924, 440, "Gravelle", 110, rgb(220, 190, 130));
    faces.plain.drawCentred(img, 100, 460, 924, 520, "presents", 36, rgb(170, 150, 110));
    return img;
  }
  if (has(l, "mainmenu") || has(l, "menuback") || has(l, "title")) {
    Image img(1024, 768, rgb(10, 8, 6));
    corridor(img, seed);  // the menu draws the title over it
    return img;
  }
  if (has(p, "\\end\\")) {
    const int n = std::max(1, trailingNumber(l));
    Image img = backdrop(1024, 768, hueColour(0.08f + n * 0.1f, 0.5f, 0.5f), rgb(10, 8, 6), seed);
    corridor(img, seed);
    const char* lines[] = {"The last stair", "The tide turns", "Light at last", "Home again", "The End"};
    faces.title.drawCentred(img, 100, 600, 924, 720, lines[(n - 1) % 5], 90, rgb(240, 220, 170));
    return img;
  }
  if (has(l, "invcell") || has(l, "equals") || has(l, "equipped")) {
    Image img(128, 128, rgb(35, 28, 20, has(l, "equipped") ? 120 : 230));
    img.frameRect(0, 0, 128, 128, 5, has(l, "equipped") ? rgb(240, 200, 60) : rgb(150, 120, 80));
    if (has(l, "equals")) faces.title.drawCentred(img, 0, 0, 128, 128, "=", 100, rgb(230, 210, 160));
    return img;
  }
  if (has(l, "map")) {  // minimap markers
    Image img(16, 16);
    const Colour c = has(l, "enemy")    ? rgb(230, 40, 30)
                     : has(l, "player") ? rgb(60, 220, 90)
                     : has(l, "stair")  ? rgb(80, 160, 255)
                     : has(l, "chest")  ? rgb(200, 130, 50)
                                        : rgb(250, 220, 60);
    img.fillCircle(8, 8, 6, c);
    return img;
  }
  return backdrop(512, 512, rgb(70, 55, 40), rgb(25, 20, 15), seed);
}

// Glowing eyes at (x, y), d apart.
void eyes(Image& img, float x, float y, float d, float r, const Colour& c) {
  img.fillCircle(x - d / 2, y, r, c);
  img.fillCircle(x + d / 2, y, r, c);
}

// A living monster drawn after its kind, so that a player tells a rat from a bat or a spider at a glance: beasts
// on four legs, winged things, spiders, serpents, the walking dead, ghosts, the chest that bites, and people in
// three sizes.
Image monster(const std::string& n, const Colour& body) {
  Image img(128, 128);
  const Colour dark = scaled(body, 0.6f), eye = rgb(255, 230, 90);
  if (has(n, "rat")) {
    img.line(30, 96, 6, 80, 4, rgb(200, 150, 150));  // the tail
    img.fillCircle(60, 92, 26, rgb(120, 105, 95));
    img.fillCircle(92, 84, 16, rgb(135, 120, 110));
    img.fillCircle(86, 68, 7, rgb(220, 160, 160));
    for (float x : {44.0f, 56.0f, 70.0f, 82.0f}) img.line(x, 110, x, 124, 5, rgb(90, 80, 70));
    img.fillCircle(108, 88, 4, rgb(230, 150, 150));
    img.fillCircle(96, 80, 3, rgb(20, 10, 10));
    return img;
  }
  if (has(n, "spider")) {
    for (int i = 0; i < 4; ++i) {
      const float y = 62 + i * 12.0f;
      img.line(64, 72, 14, y - 20 + i * 6, 4, dark);
      img.line(14, y - 20 + i * 6, 6, y + 30, 4, dark);
      img.line(64, 72, 114, y - 20 + i * 6, 4, dark);
      img.line(114, y - 20 + i * 6, 122, y + 30, 4, dark);
    }
    img.fillCircle(64, 86, 28, scaled(body, 0.5f));
    img.fillCircle(64, 56, 16, scaled(body, 0.45f));
    for (int i = 0; i < 4; ++i) img.fillCircle(52 + i * 8.0f, 52, 3, rgb(230, 40, 40));
    return img;
  }
  const bool bat = has(n, "bat"), winged = bat || has(n, "harpy") || has(n, "gargoyle") || has(n, "wyvern") ||
                                           has(n, "dragon") || has(n, "demon");
  if (winged) {
    const Colour wing = bat ? rgb(60, 50, 60) : dark;
    img.fillPolygon({60, 56, 4, 24, 14, 60, 4, 88, 56, 78}, wing);
    img.fillPolygon({68, 56, 124, 24, 114, 60, 124, 88, 72, 78}, wing);
  }
  if (bat) {
    img.fillCircle(64, 66, 18, rgb(80, 65, 70));
    img.fillPolygon({52, 52, 50, 34, 60, 48}, rgb(80, 65, 70));
    img.fillPolygon({76, 52, 78, 34, 68, 48}, rgb(80, 65, 70));
    eyes(img, 64, 62, 12, 3, rgb(255, 60, 40));
    return img;
  }
  if (has(n, "dragon") || has(n, "wyvern") || has(n, "naga") || has(n, "basilisk") || has(n, "hydra")) {
    // A long neck rising from a coiled or heavy body; the hydra has three heads.
    img.fillCircle(64, 100, 26, body);
    const int heads = has(n, "hydra") ? 3 : 1;
    for (int h = 0; h < heads; ++h) {
      const float hx = heads == 1 ? 80.0f : 36.0f + h * 28.0f, hy = heads == 1 ? 30.0f : 36.0f - (h == 1) * 12;
      img.line(64, 96, hx, hy + 10, 12, body);
      img.fillPolygon({hx - 12, hy, hx + 18, hy + 6, hx - 10, hy + 16}, scaled(body, 1.1f));
      img.fillCircle(hx - 4, hy + 4, 3, eye);
    }
    if (has(n, "dragon") || has(n, "wyvern")) img.line(40, 110, 8, 120, 8, dark);  // the tail
    return img;
  }
  if (has(n, "mimic")) {
    img.fillRect(16, 60, 112, 116, rgb(130, 85, 45));
    img.fillRect(16, 24, 112, 48, rgb(150, 100, 55));
    img.fillRect(20, 48, 108, 60, rgb(120, 20, 30));  // the maw
    for (int i = 0; i < 8; ++i) {
      img.fillPolygon({22 + i * 11.0f, 48, 33 + i * 11.0f, 48, 27.5f + i * 11.0f, 56}, rgb(240, 235, 220));
      img.fillPolygon({22 + i * 11.0f, 60, 33 + i * 11.0f, 60, 27.5f + i * 11.0f, 52}, rgb(240, 235, 220));
    }
    eyes(img, 64, 36, 40, 5, eye);
    return img;
  }
  if (has(n, "wraith") || has(n, "lich")) {
    const Colour robe = has(n, "lich") ? rgb(70, 40, 90, 235) : rgb(150, 170, 200, 170);
    img.fillPolygon({64, 24, 104, 124, 24, 124}, robe);
    img.fillCircle(64, 34, 18, robe);
    img.fillCircle(64, 38, 13, rgb(10, 10, 20, 230));
    eyes(img, 64, 38, 10, 3, has(n, "lich") ? rgb(120, 255, 140) : rgb(200, 230, 255));
    return img;
  }
  if (has(n, "skeleton") || has(n, "deathknight")) {
    const Colour bone = has(n, "deathknight") ? rgb(70, 70, 80) : rgb(225, 220, 200);
    img.line(64, 50, 64, 96, 6, bone);
    for (int i = 0; i < 4; ++i) img.line(50, 58 + i * 9.0f, 78, 58 + i * 9.0f, 4, bone);
    img.line(64, 56, 40, 86, 4, bone);
    img.line(64, 56, 88, 86, 4, bone);
    img.line(64, 96, 50, 124, 5, bone);
    img.line(64, 96, 78, 124, 5, bone);
    img.fillCircle(64, 34, 16, bone);
    eyes(img, 64, 34, 12, 4, has(n, "deathknight") ? rgb(255, 60, 40) : rgb(30, 25, 20));
    if (has(n, "deathknight")) img.line(92, 40, 92, 110, 5, rgb(200, 200, 215));  // the sword
    return img;
  }
  // People and their kin: small ones, big ones, horned ones, stone ones.
  const bool big = has(n, "ogre") || has(n, "troll") || has(n, "golem") || has(n, "minotaur") ||
                   has(n, "abomination") || has(n, "demon");
  const bool small = has(n, "kobold") || has(n, "goblin");
  const float k = big ? 1.25f : small ? 0.8f : 1.0f;
  const Colour skin = has(n, "golem")                       ? rgb(120, 115, 105)
                      : has(n, "zombie") || has(n, "ghoul") ? rgb(110, 140, 90)
                                                            : body;
  const float top = 124 - 96 * k;
  img.line(64 - 12 * k, 124 - 26 * k, 64 - 12 * k, 124, 10 * k, scaled(skin, 0.7f));
  img.line(64 + 12 * k, 124 - 26 * k, 64 + 12 * k, 124, 10 * k, scaled(skin, 0.7f));
  img.fillCircle(64, 124 - 50 * k, 30 * k, skin);
  img.line(64 - 26 * k, 124 - 66 * k, 64 - 40 * k, 124 - 36 * k, 8 * k, scaled(skin, 0.85f));
  img.line(64 + 26 * k, 124 - 66 * k, 64 + 40 * k, 124 - 36 * k, 8 * k, scaled(skin, 0.85f));
  img.fillCircle(64, top + 18 * k, 18 * k, scaled(skin, 1.15f));
  if (has(n, "minotaur") || has(n, "demon")) {
    img.fillPolygon({64 - 14 * k, top + 8 * k, 64 - 34 * k, top - 4, 64 - 20 * k, top + 16 * k}, rgb(230, 220, 190));
    img.fillPolygon({64 + 14 * k, top + 8 * k, 64 + 34 * k, top - 4, 64 + 20 * k, top + 16 * k}, rgb(230, 220, 190));
  }
  if (small) {
    img.fillPolygon({64 - 14 * k, top + 14 * k, 64 - 34 * k, top + 4, 64 - 16 * k, top + 24 * k}, scaled(skin, 1.1f));
    img.fillPolygon({64 + 14 * k, top + 14 * k, 64 + 34 * k, top + 4, 64 + 16 * k, top + 24 * k}, scaled(skin, 1.1f));
  }
  eyes(img, 64, top + 16 * k, 14 * k, 3.5f * k, has(n, "zombie") || has(n, "ghoul") ? rgb(230, 230, 200) : eye);
  if (!small && !big) img.line(92, 50, 104, 110, 4, rgb(190, 190, 200));  // a weapon in hand
  return img;
}

// A creature seen in the world as a billboard: a body with a head on a clear background; the dead lie flat with
// crossed-out eyes, and the walking frames swing their feet.
Image creature(const std::string& lname, uint32_t seed) {
  Image img(128, 128);
  const bool dead = has(lname, "dead");
  const bool player = has(lname, "move") || has(lname, "zivede");
  const Colour body = player ? rgb(70, 90, 150) : hueColour((seed & 0xFF) / 255.0f, 0.55f, 0.55f);
  if (dead) {
    for (int y = 0; y < 128; ++y)
      for (int x = 0; x < 128; ++x) {
        const float dx = (x + 0.5f - 64) / 56, dy = (y + 0.5f - 100) / 20;
        if (dx * dx + dy * dy <= 1) img.blend(x, y, scaled(body, 0.6f));
      }
    img.line(30, 88, 40, 98, 3, rgb(20, 10, 10));
    img.line(40, 88, 30, 98, 3, rgb(20, 10, 10));
    return img;
  }
  if (!player) return monster(lname, body);
  const int frame = std::max(0, trailingNumber(lname));
  const float swing = std::sin(frame * kPi / 2) * 10;
  img.line(52, 100, 52 + swing, 124, 10, scaled(body, 0.7f));
  img.line(76, 100, 76 - swing, 124, 10, scaled(body, 0.7f));
  img.fillCircle(64, 78, 34, body);
  img.fillCircle(64, 38, 22, rgb(230, 190, 150));
  if (has(lname, "bkmove")) {
    img.fillCircle(64, 32, 20, rgb(90, 60, 30));  // the back of the head
  } else {
    img.fillCircle(56, 36, 4, rgb(40, 40, 60));
    img.fillCircle(72, 36, 4, rgb(40, 40, 60));
  }
  img.fillCircle(94, 70, 8, rgb(255, 200, 80, 230));  // the lantern
  return img;
}

// Usable scenery: the stairs down and chests, shut or open.
Image scenery(const std::string& lname) {
  Image img(128, 128);
  if (has(lname, "stair")) {
    img.fillRect(16, 8, 112, 124, rgb(40, 35, 30, 240));
    for (int i = 0; i < 6; ++i)
      img.fillRect(20.0f + i * 6, 20.0f + i * 17, 108.0f - i * 6, 30.0f + i * 17,
                   rgb(150 - i * 18, 135 - i * 16, 110 - i * 14));
    img.frameRect(16, 8, 112, 124, 4, rgb(110, 95, 70));
    return img;
  }
  const bool iron = has(lname, "iron"), open = has(lname, "open");
  const Colour wood = iron ? rgb(90, 90, 100) : rgb(130, 85, 45);
  img.fillRect(16, 56, 112, 116, wood);
  if (open) {
    img.fillRect(16, 24, 112, 56, scaled(wood, 0.7f));
    img.fillRect(24, 52, 104, 64, rgb(240, 200, 60));
  } else {
    img.fillRect(16, 36, 112, 60, scaled(wood, 1.15f));
    img.fillRect(58, 54, 70, 70, rgb(220, 190, 60));
  }
  img.frameRect(16, 36, 112, 116, 4, rgb(60, 45, 30));
  return img;
}

// A missile in flight: a bright streak, or a spark or blob of magic.
Image missile(const std::string& lname) {
  Image img(64, 64);
  if (has(lname, "arrow") || has(lname, "bolt")) {
    img.line(6, 32, 54, 32, 3, rgb(150, 110, 60));
    img.fillPolygon({54, 26, 62, 32, 54, 38}, rgb(200, 200, 210));
    img.fillPolygon({4, 26, 12, 32, 4, 38}, rgb(230, 230, 230));
    return img;
  }
  const Colour c = has(lname, "venom")       ? rgb(90, 230, 60)
                   : has(lname, "lightning") ? rgb(170, 200, 255)
                                             : rgb(255, 170, 50);
  img.fillCircle(32, 32, 22, Colour{c.r, c.g, c.b, 0.35f});
  img.fillCircle(32, 32, 12, c);
  img.fillCircle(32, 32, 5, rgb(255, 255, 240));
  return img;
}

}  // namespace

Image pictureFor(const std::string& mediaPath, const Typefaces& faces) {
  const std::string p = lower(mediaPath);
  const std::string name = stem(mediaPath);
  const uint32_t seed = hashOf(p);
  if (has(p, "\\cursors\\")) return cursor(lower(name));
  if (has(p, "\\icons\\")) return icon(mediaPath, p, faces, seed);
  if (has(p, "\\ui\\menus\\")) return menuPart(mediaPath, name, faces, seed);
  if (has(p, "\\ui\\hud\\")) return hudPart(name, faces, seed);
  if (has(p, "\\ui\\") || has(p, "noshader")) return background(p, name, faces, seed);
  if (has(p, "\\widgets\\")) return scenery(lower(name));
  if (has(p, "\\missiles\\")) return missile(lower(name));
  if (has(p, "monster") || has(p, "\\player\\") || has(p, "creature") || has(p, "sprites"))
    return creature(lower(name), seed);
  return worldSurface(p, seed);
}

namespace {

// Widens every stroke of a white-on-clear sheet by grow pixels on each side (the coverage of a pixel becomes
// the highest coverage within grow of it, with a one-pixel soft edge). Text is drawn from these 64-pixel cells
// at a quarter of their size and less, without mip levels: a stroke narrower than the step between the texels
// a small line samples falls between them and the letter breaks up.
void thickenStrokes(Image& sheet, float grow) {
  const int w = sheet.width(), h = sheet.height(), reach = int(std::ceil(grow + 1.0f));
  std::vector<float> src(size_t(w) * size_t(h));
  for (int y = 0; y < h; ++y)
    for (int x = 0; x < w; ++x) src[size_t(y) * size_t(w) + size_t(x)] = sheet.at(x, y).a;
  for (int y = 0; y < h; ++y)
    for (int x = 0; x < w; ++x) {
      float a = 0.0f;
      for (int dy = -reach; dy <= reach; ++dy)
        for (int dx = -reach; dx <= reach; ++dx) {
          const int sx = x + dx, sy = y + dy;
          // Cells do not bleed into their neighbours.
          if (sx < 0 || sy < 0 || sx >= w || sy >= h || sx / 64 != x / 64 || sy / 64 != y / 64) continue;
          const float d = std::sqrt(float(dx * dx + dy * dy));
          const float weight = std::clamp(grow + 1.0f - d, 0.0f, 1.0f);
          a = std::max(a, weight * src[size_t(sy) * size_t(w) + size_t(sx)]);
        }
      sheet.at(x, y) = Colour{1.0f, 1.0f, 1.0f, a};
    }
}

}  // namespace

FontSheet fontFor(const Typeface& face, float xScale) {
  FontSheet out;
  const float px = 50.0f;
  const float baseline = (64.0f - (face.ascent(px) + face.descent(px))) * 0.5f + face.ascent(px);
  out.widthFile.reserve(512);
  for (int code = 0; code < 256; ++code) {
    int width = 16;  // control codes: a narrow blank
    if (code >= 32 && (code < 127 || code > 159)) {
      const int cx = (code % 16) * 64, cy = (code / 16) * 64;
      // Characters sit in the middle of their cell: the engine centres each cell on the character's width.
      const float adv = face.advance(code, px, xScale);
      face.draw(out.sheet, float(cx) + (64.0f - adv) * 0.5f, float(cy) + baseline, std::string(1, char(code)), px,
                rgb(255, 255, 255), xScale);
      width = std::clamp(int(std::ceil(adv)) + 4, 4, 64);
    }
    out.widthFile.push_back(uint8_t(width));
    out.widthFile.push_back(uint8_t(width >> 8));
  }
  // Two pixels a side keeps within the four pixels the widths leave beside each character.
  thickenStrokes(out.sheet, 2.0f);
  return out;
}

}  // namespace mediagen
