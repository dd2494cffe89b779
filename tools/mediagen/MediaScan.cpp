// MediaScan: reads C++ sources for quoted media paths and configuration files for media values.
#include "tools/mediagen/MediaScan.h"

#include <dirent.h>
#include <sys/stat.h>

#include <algorithm>
#include <cctype>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <regex>
#include <sstream>

namespace mediagen {
namespace {

std::string lower(std::string s) {
  for (char& c : s) c = char(std::tolower(static_cast<unsigned char>(c)));
  return s;
}

bool endsWith(const std::string& s, const std::string& end) {
  return s.size() >= end.size() && s.compare(s.size() - end.size(), end.size(), end) == 0;
}

void listFiles(const std::string& folder, const std::vector<std::string>& exts, std::vector<std::string>& out) {
  DIR* d = opendir(folder.c_str());
  if (!d) return;
  std::vector<std::string> names;
  while (dirent* e = readdir(d)) names.push_back(e->d_name);
  closedir(d);
  std::sort(names.begin(), names.end());
  for (const std::string& n : names) {
    if (n == "." || n == "..") continue;
    const std::string path = folder + "/" + n;
    struct stat st;
    if (stat(path.c_str(), &st) != 0) continue;
    if (S_ISDIR(st.st_mode)) {
      listFiles(path, exts, out);
    } else {
      for (const std::string& x : exts)
        if (endsWith(lower(n), x)) out.push_back(path);
    }
  }
}

std::string readAll(const std::string& path) {
  std::ifstream f(path, std::ios::binary);
  std::ostringstream s;
  s << f.rdbuf();
  return s.str();
}

std::string trim(const std::string& s) {
  size_t a = 0, b = s.size();
  while (a < b && std::isspace(static_cast<unsigned char>(s[a]))) ++a;
  while (b > a && std::isspace(static_cast<unsigned char>(s[b - 1]))) --b;
  return s.substr(a, b - a);
}

// Expands one printf integer conversion (%d, %i, %02d...) into the numbers 1 to 10.
void addExpanded(const std::string& path, MediaPaths& out) {
  const size_t pc = path.find('%');
  if (pc == std::string::npos) {
    out.add(path);
    return;
  }
  size_t end = pc + 1;
  while (end < path.size() && (std::isdigit(static_cast<unsigned char>(path[end])))) ++end;
  if (end >= path.size() || (path[end] != 'd' && path[end] != 'i')) return;
  const std::string conversion = path.substr(pc, end - pc + 1);
  if (path.find('%', end) != std::string::npos) return;
  for (int n = 1; n <= 10; ++n) {
    char num[16];
    std::snprintf(num, sizeof num, conversion.c_str(), n);
    out.add(path.substr(0, pc) + num + path.substr(end + 1));
  }
}

}  // namespace

void MediaPaths::add(const std::string& path) {
  std::string key = lower(path);
  std::replace(key.begin(), key.end(), '/', '\\');
  if (seen_.insert(key).second) paths_.push_back(path);
}

bool isMediaPath(const std::string& text) {
  const std::string l = lower(text);
  static const char* const exts[] = {".tga", ".bmp", ".jpg", ".jpeg", ".dds", ".wav"};
  bool ext = false;
  for (const char* e : exts) ext = ext || endsWith(l, e);
  if (!ext || l.find('\\') == std::string::npos) return false;
  // Paths from the media folder's root only: the engine's own test scenes name files under "Media\\".
  if (l.rfind("media\\", 0) == 0 || l[0] == '\\' || l.find(':') != std::string::npos) return false;
  for (char c : text)
    if (!(std::isalnum(static_cast<unsigned char>(c)) || c == '\\' || c == '_' || c == '.' || c == '-' || c == ' ' ||
          c == '%'))
      return false;
  return true;
}

// Numbered series put together at run time: a file whose format appends a number and an extension to a stem
// ("%s%02d.tga") names its series as a count followed by the stem, (5, "Textures\\ui\\hud\\lamp"), which
// stands for lamp01.tga to lamp05.tga.
void addSeries(const std::string& text, MediaPaths& out) {
  static const std::regex format(R"re("%s(%0?\d*d\.\w+)")re");
  static const std::regex series(R"re((\d+)\s*,\s*"([A-Za-z][\w\\]*\\\\[\w]+)")re");
  std::smatch f;
  if (!std::regex_search(text, f, format)) return;
  const std::string suffix = f[1];
  for (std::sregex_iterator m(text.begin(), text.end(), series), end; m != end; ++m) {
    std::string stem;
    const std::string lit = (*m)[2];
    for (size_t i = 0; i < lit.size(); ++i) {
      if (lit[i] == '\\' && i + 1 < lit.size() && lit[i + 1] == '\\') ++i;
      stem += lit[i];
    }
    const int count = std::atoi((*m)[1].str().c_str());
    for (int n = 1; n <= count && n <= 99; ++n) {
      char name[16];
      std::snprintf(name, sizeof name, suffix.c_str(), n);
      out.add(stem + name);
    }
  }
}

void scanSources(const std::vector<std::string>& folders, MediaPaths& out) {
  std::vector<std::string> files;
  for (const std::string& f : folders) listFiles(f, {".cpp", ".h"}, files);
  for (const std::string& file : files) {
    const std::string text = readAll(file);
    addSeries(text, out);
    for (size_t q = text.find('"'); q != std::string::npos;) {
      const size_t e = text.find('"', q + 1);
      if (e == std::string::npos) break;
      std::string lit = text.substr(q + 1, e - q - 1);
      // The source spells a backslash as two.
      std::string path;
      for (size_t i = 0; i < lit.size(); ++i) {
        if (lit[i] == '\\' && i + 1 < lit.size() && lit[i + 1] == '\\') ++i;
        path += lit[i];
      }
      if (isMediaPath(path)) addExpanded(path, out);
      q = text.find('"', e + 1);
    }
  }
}

void scanConfigs(const std::vector<std::string>& folders, MediaPaths& out) {
  std::vector<std::string> files;
  for (const std::string& f : folders) listFiles(f, {".cfg"}, files);
  for (const std::string& file : files) {
    std::istringstream in(readAll(file));
    std::string line;
    while (std::getline(in, line)) {
      line = trim(line);
      if (line.empty() || line[0] == '#' || line[0] == '[') continue;
      const size_t eq = line.find('=');
      if (eq == std::string::npos) continue;
      const std::string key = lower(trim(line.substr(0, eq)));
      for (const std::string& item : splitOutsideBrackets(line.substr(eq + 1))) {
        if (isMediaPath(item)) out.add(item);
        addDerived(key, item, out);
      }
    }
  }
}

std::vector<std::string> splitOutsideBrackets(const std::string& value) {
  std::vector<std::string> items;
  std::string item;
  int depth = 0;
  for (char c : value) {
    if (c == '(') ++depth;
    if (c == ')' && depth > 0) --depth;
    if (c == ',' && depth == 0) {
      items.push_back(trim(item));
      item.clear();
    } else {
      item += c;
    }
  }
  if (!trim(item).empty()) items.push_back(trim(item));
  return items;
}

void addDerived(const std::string& key, const std::string& item, MediaPaths& out) {
  if (item.empty()) return;
  const std::string mutators = "Textures\\icons\\mutators\\", edges = mutators + "edges\\";
  if (key == "edge") {
    out.add(edges + item + ".tga");
  } else if (key == "useeffects" || key == "equipeffects" || key == "hiteffects" || key == "special") {
    // A mutator is drawn under its whole spawn text and under its class name; a proneness also shows the kind
    // of damage it is prone to.
    const std::string command = item.rfind("MUT", 0) == 0 ? item.substr(3) : item;
    const size_t open = command.find('(');
    const std::string cls = command.substr(0, open);
    out.add(mutators + "MUT" + command + ".tga");
    out.add(mutators + "MUT" + cls + ".tga");
    if (lower(cls) == "prone" && open != std::string::npos) {
      const size_t close = command.find(')', open);
      const std::string kind =
          command.substr(open + 1, close == std::string::npos ? std::string::npos : close - open - 1);
      if (!kind.empty()) out.add(edges + kind + ".tga");
    }
  } else if (key == "animsdir") {
    for (int i = 0; i < 4; ++i) {
      out.add(item + "\\frmove" + std::to_string(i) + ".tga");
      out.add(item + "\\bkmove" + std::to_string(i) + ".tga");
    }
  }
}

}  // namespace mediagen
