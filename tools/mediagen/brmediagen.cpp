// brmediagen: writes the game's media pack (textures, fonts with their width files, sounds and music) for every
// media path that the code and the configuration files name, the same bytes on every run.
#include <cctype>
#include <cstdio>
#include <cstring>
#include <string>
#include <vector>

#include "tools/mediagen/MediaImage.h"
#include "tools/mediagen/MediaPictures.h"
#include "tools/mediagen/MediaScan.h"
#include "tools/mediagen/MediaSound.h"

namespace {

std::vector<std::string> splitList(const std::string& s) {
  std::vector<std::string> out;
  size_t a = 0;
  while (a <= s.size()) {
    const size_t b = s.find(',', a);
    const std::string item = s.substr(a, b == std::string::npos ? std::string::npos : b - a);
    if (!item.empty()) out.push_back(item);
    if (b == std::string::npos) break;
    a = b + 1;
  }
  return out;
}

std::string lower(std::string s) {
  for (char& c : s) c = char(std::tolower(static_cast<unsigned char>(c)));
  return s;
}

std::string onDisk(const std::string& out, const std::string& mediaPath) {
  std::string p = out + "/";
  for (char c : mediaPath) p += c == '\\' ? '/' : c;
  return p;
}

int usage() {
  std::fprintf(stderr,
               "usage: brmediagen --out DIR [--sources DIR,...] [--configs DIR,...] [--fonts DIR] [--list]\n"
               "  writes every media file that the C++ sources and configuration files name under DIR\n");
  return 2;
}

}  // namespace

// How much narrower than the face's own the script font's glyphs are drawn.
const float kScriptSqueeze = 0.62f;

int main(int argc, char** argv) {
  std::string out, fontDir = "/usr/share/fonts/truetype/dejavu";
  std::vector<std::string> sources, configs;
  bool listOnly = false;
  for (int i = 1; i < argc; ++i) {
    const std::string a = argv[i];
    if (a == "--out" && i + 1 < argc)
      out = argv[++i];
    else if (a == "--sources" && i + 1 < argc)
      sources = splitList(argv[++i]);
    else if (a == "--configs" && i + 1 < argc)
      configs = splitList(argv[++i]);
    else if (a == "--fonts" && i + 1 < argc)
      fontDir = argv[++i];
    else if (a == "--list")
      listOnly = true;
    else
      return usage();
  }
  if (out.empty() && !listOnly) return usage();

  mediagen::MediaPaths paths;
  mediagen::scanSources(sources, paths);
  mediagen::scanConfigs(configs, paths);
  if (listOnly) {
    for (const std::string& p : paths.all()) std::printf("%s\n", p.c_str());
    return 0;
  }

  mediagen::Typefaces faces;
  const std::string plain = fontDir + "/DejaVuSans.ttf", title = fontDir + "/DejaVuSerif-Bold.ttf";
  if (!faces.plain.load(plain) || !faces.title.load(title)) {
    std::fprintf(stderr, "brmediagen: cannot read the fonts %s and %s (Debian's fonts-dejavu-core)\n", plain.c_str(),
                 title.c_str());
    return 1;
  }

  int written = 0, failed = 0;
  for (const std::string& path : paths.all()) {
    const std::string l = lower(path);
    const std::string file = onDisk(out, path);
    bool ok = true;
    if (l.size() > 4 && l.compare(l.size() - 4, 4, ".wav") == 0) {
      const size_t slash = l.find_last_of('\\');
      const std::string name = l.substr(slash + 1, l.size() - slash - 5);
      const bool music = l.find("\\music\\") != std::string::npos;
      ok = mediagen::writeWav(file, music ? mediagen::synthMusic(name) : mediagen::synthEffect(name));
    } else if (l.rfind("fonts\\", 0) == 0 && l.compare(l.size() - 4, 4, ".tga") == 0) {
      // Titles write with the decorated face, everything else with the plain one. The game's dialogs break their
      // lines for a narrow script hand; the bold serif is drawn condensed so that those lines fit their scrolls.
      const bool script = l.find("script") != std::string::npos;
      const mediagen::FontSheet sheet =
          script ? mediagen::fontFor(faces.title, kScriptSqueeze) : mediagen::fontFor(faces.plain);
      ok = mediagen::writeTga(file, sheet.sheet) &&
           mediagen::writeFile(file.substr(0, file.size() - 4) + "BM.dat", sheet.widthFile);
    } else {
      ok = mediagen::writeImage(file, mediagen::pictureFor(path, faces));
    }
    if (ok) {
      ++written;
    } else {
      ++failed;
      std::fprintf(stderr, "brmediagen: could not write %s\n", file.c_str());
    }
  }
  std::printf("brmediagen: %d media files written under %s\n", written, out.c_str());
  return failed ? 1 : 0;
}
