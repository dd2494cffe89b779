// The generated media pack against what the game asks for: every path the sources and configuration files name,
// and every path the code puts together at run time from configuration values, is a file of the pack.
#include <gtest/gtest.h>

#include <algorithm>
#include <cctype>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <regex>
#include <set>
#include <sstream>
#include <string>
#include <vector>

#include "tools/mediagen/MediaScan.h"

namespace fs = std::filesystem;

namespace {

std::string Lower(std::string s) {
  for (char& c : s) c = char(std::tolower(static_cast<unsigned char>(c)));
  return s;
}

std::string Env(const char* name) {
  const char* v = std::getenv(name);
  return v ? v : ".";
}

std::string ReadAll(const fs::path& path) {
  std::ifstream f(path, std::ios::binary);
  std::ostringstream s;
  s << f.rdbuf();
  return s.str();
}

std::string Trim(const std::string& s) {
  const size_t a = s.find_first_not_of(" \t\r\n");
  if (a == std::string::npos) return "";
  return s.substr(a, s.find_last_not_of(" \t\r\n") - a + 1);
}

std::string WithoutBrackets(const std::string& text) {
  std::string out;
  int depth = 0;
  for (char c : text) {
    if (c == '(')
      ++depth;
    else if (c == ')' && depth > 0)
      --depth;
    else if (depth == 0)
      out += c;
  }
  return out;
}

// The pack as the engine finds files in it: backslash paths under Media, compared without case.
class Pack {
public:
  explicit Pack(const fs::path& root) : root_(root) {
    if (!fs::is_directory(root)) return;
    for (const auto& entry : fs::recursive_directory_iterator(root)) {
      if (!entry.is_regular_file() || entry.file_size() == 0) continue;
      std::string rel = fs::relative(entry.path(), root).generic_string();
      std::replace(rel.begin(), rel.end(), '/', '\\');
      files_.insert(Lower(rel));
    }
  }
  bool Has(const std::string& mediaPath) const { return files_.count(Lower(mediaPath)) > 0; }
  size_t Size() const { return files_.size(); }

private:
  fs::path root_;
  std::set<std::string> files_;
};

// Every key = value line of the configuration files, items split as the game splits its lists.
struct ConfigValue {
  std::string file, key, item;
};

std::vector<ConfigValue> ConfigValues(const fs::path& folder) {
  std::vector<ConfigValue> values;
  for (const auto& entry : fs::recursive_directory_iterator(folder)) {
    if (entry.path().extension() != ".cfg") continue;
    std::istringstream in(ReadAll(entry.path()));
    std::string line;
    while (std::getline(in, line)) {
      line = Trim(line);
      const size_t eq = line.find('=');
      if (line.empty() || line[0] == '#' || line[0] == '[' || eq == std::string::npos) continue;
      for (const std::string& item : mediagen::splitOutsideBrackets(line.substr(eq + 1)))
        values.push_back({entry.path().filename().string(), Lower(Trim(line.substr(0, eq))), item});
    }
  }
  return values;
}

}  // namespace

class MediaPack : public ::testing::Test {
protected:
  void SetUp() override {
    source_ = Env("BR_SOURCE_DIR");
    pack_.reset(new Pack(fs::path(Env("BR_BINARY_DIR")) / "run" / "game" / "Media"));
    ASSERT_GT(pack_->Size(), 100u) << "the media pack is not generated: build the br_media_pack target";
  }
  void ExpectInPack(const std::string& path, const std::string& why) {
    EXPECT_TRUE(pack_->Has(path)) << path << " (" << why << ") is not in the generated pack";
  }
  fs::path source_;
  std::unique_ptr<Pack> pack_;
};

TEST_F(MediaPack, HoldsEveryPathTheSourcesAndConfigurationFilesName) {
  mediagen::MediaPaths named;
  std::vector<std::string> sources;
  for (const char* dir : {"engine", "adventure", "game", "plugins"}) sources.push_back((source_ / dir).string());
  mediagen::scanSources(sources, named);
  mediagen::scanConfigs({(source_ / "media").string()}, named);
  ASSERT_GT(named.all().size(), 100u);
  for (const std::string& path : named.all()) ExpectInPack(path, "named");

  // Every font sheet comes with the width table the font loader reads next to it.
  int fonts = 0;
  for (const std::string& path : named.all()) {
    const std::string l = Lower(path);
    if (l.rfind("fonts\\", 0) != 0 || l.size() < 4 || l.compare(l.size() - 4, 4, ".tga") != 0) continue;
    ExpectInPack(path.substr(0, path.size() - 4) + "BM.dat", "font widths");
    ++fonts;
  }
  EXPECT_GE(fonts, 2);
}

TEST_F(MediaPack, HoldsThePathsTheCodeBuildsAtRunTime) {
  // The HUD's numbered series: LoadTable(render, table, count, "stem", ...) loads stem01.tga to stem<count>.tga.
  const std::regex table(R"(LoadTable\(\s*\w+\s*,\s*\w+\s*,\s*(\d+)\s*,\s*\"([^\"]+)\")");
  int series = 0;
  for (const auto& entry : fs::recursive_directory_iterator(source_ / "adventure")) {
    if (entry.path().extension() != ".cpp") continue;
    const std::string text = ReadAll(entry.path());
    for (std::sregex_iterator m(text.begin(), text.end(), table), end; m != end; ++m) {
      std::string stem = (*m)[2];
      stem = std::regex_replace(stem, std::regex(R"(\\\\)"), "\\");
      for (int i = 1; i <= std::stoi((*m)[1]); ++i) {
        char number[16];
        std::snprintf(number, sizeof number, "%02d", i);
        ExpectInPack(stem + number + ".tga", "HUD series");
      }
      ++series;
    }
  }
  EXPECT_GE(series, 3);

  // Icons and frames named after configuration values.
  const std::string mutators = "Textures\\icons\\mutators\\", edges = mutators + "edges\\";
  int derived = 0;
  for (const ConfigValue& v : ConfigValues(source_ / "media")) {
    const std::string why = v.file + " " + v.key + "=" + v.item;
    if (v.key == "edge") {
      ExpectInPack(edges + v.item + ".tga", why);
    } else if (v.key == "hiteffects" || v.key == "useeffects" || v.key == "equipeffects" || v.key == "special") {
      // A spawned mutator is named "MUT" + its spawn text and draws the icon of that name.
      const std::string spawn = v.item.rfind("MUT", 0) == 0 ? v.item.substr(3) : v.item;
      ExpectInPack(mutators + "MUT" + spawn + ".tga", why);
      // The weapon panel shows a hit effect by "MUT" + its text without the bracketed arguments.
      if (v.key == "hiteffects") ExpectInPack(mutators + "MUT" + WithoutBrackets(spawn) + ".tga", why);
      // A proneness draws the edge icon of the damage it is prone to.
      if (spawn.rfind("Prone(", 0) == 0 && spawn.back() == ')')
        ExpectInPack(edges + spawn.substr(6, spawn.size() - 7) + ".tga", why);
    } else if (v.key == "animsdir") {
      for (int i = 0; i < 4; ++i) {
        ExpectInPack(v.item + "\\frmove" + std::to_string(i) + ".tga", why);
        ExpectInPack(v.item + "\\bkmove" + std::to_string(i) + ".tga", why);
      }
    } else {
      continue;
    }
    ++derived;
  }
  EXPECT_GT(derived, 20);
}
