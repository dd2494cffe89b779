// MediaScan: the media paths that the game's code and configuration files name, collected rather than listed.
#pragma once

#include <set>
#include <string>
#include <vector>

namespace mediagen {

// Case-insensitive, backslash-separated media paths, each kept in the spelling first met.
class MediaPaths {
public:
  void add(const std::string& path);
  const std::vector<std::string>& all() const { return paths_; }

private:
  std::set<std::string> seen_;
  std::vector<std::string> paths_;
};

// Every quoted media path in the C++ files under the folders (recursively): "Sounds\\hit.wav" and the like.
// A path with one printf number in it ("hgauge%02d.tga") stands for its numbers 1 to 10.
void scanSources(const std::vector<std::string>& folders, MediaPaths& out);

// Every value (and list item) of every configuration file under the folders that names a media file, and the
// icons that kinds, edges and effects are drawn with.
void scanConfigs(const std::vector<std::string>& folders, MediaPaths& out);

// A configuration value's list items: commas inside brackets belong to their item ("Poison(1,2)").
std::vector<std::string> splitOutsideBrackets(const std::string& value);

// The media a configuration value implies without naming it: the icons of mutator commands (UseEffects,
// EquipEffects, HitEffects, Special) and damage edges (Edge), and the walking frames of an AnimsDir.
void addDerived(const std::string& key, const std::string& item, MediaPaths& out);

// True for a text that names a media file by its extension.
bool isMediaPath(const std::string& text);

}  // namespace mediagen
