// The configuration cache: typed getters and setters, reading the engine's keys with their defaults, writing back.
#include "engine/kernel/BrConfigCache.h"

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>
#include <utility>
#include <vector>

#include "core/brcr.h"
#include "core/BrCfgFile.h"
#include "platform/win32/win32_kernel.h"

BrConfigSetting::BrConfigSetting() {}
BrConfigSetting::BrConfigSetting(const BrStringT<char>& section, const BrStringT<char>& key,
                                 const BrStringT<char>& value)
    : m_Section(section), m_Key(key), m_Value(value) {}
BrConfigSetting::BrConfigSetting(const BrConfigSetting& other)
    : m_Section(other.m_Section), m_Key(other.m_Key), m_Value(other.m_Value) {}
BrConfigSetting& BrConfigSetting::operator=(const BrConfigSetting& other) {
  m_Section = other.m_Section;
  m_Key = other.m_Key;
  m_Value = other.m_Value;
  return *this;
}
BrConfigSetting::~BrConfigSetting() {}

BrConfigCache::BrConfigCache() {}
BrConfigCache::~BrConfigCache() {}

void BrConfigCache::Destroy() { m_Settings.Clear(); }

int BrConfigCache::GetNumSettings() const { return m_Settings.GetCount(); }

const BrConfigSetting* BrConfigCache::GetSetting(int index) const {
  if (index < 0 || index >= m_Settings.GetCount()) return nullptr;
  return &m_Settings[index];
}

bool BrConfigCache::SettingExists(const BrStringT<char>& section, const BrStringT<char>& key, int& index) const {
  for (int i = 0; i < m_Settings.GetCount(); ++i) {
    if (m_Settings[i].m_Section == section && m_Settings[i].m_Key == key) {
      index = i;
      return true;
    }
  }
  return false;
}

bool BrConfigCache::GetString(const BrStringT<char>& section, const BrStringT<char>& key, BrStringT<char>& out) {
  for (int i = 0; i < m_Settings.GetCount(); ++i) {
    const BrConfigSetting& s = m_Settings[i];
    if (s.m_Value.Length() <= 0) continue;
    if (s.m_Section == section && s.m_Key == key) {
      out = s.m_Value;
      return true;
    }
  }
  return false;
}

bool BrConfigCache::GetInteger(const BrStringT<char>& section, const BrStringT<char>& key, int& out) {
  int i;
  if (!SettingExists(section, key, i)) return false;
  out = m_Settings[i].m_Value.ToInt();
  return true;
}

bool BrConfigCache::GetFloat(const BrStringT<char>& section, const BrStringT<char>& key, float& out) {
  int i;
  if (!SettingExists(section, key, i)) return false;
  const char* v = m_Settings[i].m_Value.c_str();
  out = v ? (float)std::atof(v) : 0.0f;
  return true;
}

bool BrConfigCache::GetColour(const BrStringT<char>& section, const BrStringT<char>& key, BrARGB& out) {
  int i;
  if (!SettingExists(section, key, i)) return false;
  const char* v = m_Settings[i].m_Value.c_str();
  if (!v) return false;
  // Split at the first three commas outside parentheses.
  int values[4] = {0, 0, 0, 0};
  int part = 0, depth = 0;
  const char* start = v;
  for (const char* p = v;; ++p) {
    if (*p == '(') ++depth;
    if (*p == ')' && depth > 0) --depth;
    bool split = (*p == ',' && depth == 0 && part < 3);
    if (split || *p == 0) {
      char token[64];
      size_t n = (size_t)(p - start);
      if (n >= sizeof(token)) n = sizeof(token) - 1;
      std::memcpy(token, start, n);
      token[n] = 0;
      values[part++] = std::atoi(token);
      start = p + 1;
      if (*p == 0) break;
    }
  }
  if (part < 4) return false;
  out.a = values[0];
  out.r = values[1];
  out.g = values[2];
  out.b = values[3];
  return true;
}

void BrConfigCache::SetString(const BrStringT<char>& section, const BrStringT<char>& key,
                              const BrStringT<char>& value) {
  int i;
  if (SettingExists(section, key, i))
    m_Settings[i].m_Value = value;
  else
    m_Settings.Add(BrConfigSetting(section, key, value));
}

void BrConfigCache::SetInteger(const BrStringT<char>& section, const BrStringT<char>& key, int value) {
  char buf[32];
  std::snprintf(buf, sizeof(buf), "%i", value);
  SetString(section, key, BrStringT<char>(buf));
}

void BrConfigCache::SetFloat(const BrStringT<char>& section, const BrStringT<char>& key, float value) {
  char buf[64];
  std::snprintf(buf, sizeof(buf), "%f", value);
  SetString(section, key, BrStringT<char>(buf));
}

void BrConfigCache::SetColour(const BrStringT<char>& section, const BrStringT<char>& key, const BrARGB& value) {
  char buf[64];
  std::snprintf(buf, sizeof(buf), "%i,%i,%i,%i", value.a, value.r, value.g, value.b);
  SetString(section, key, BrStringT<char>(buf));
}

namespace {
struct IntKey {
  const char* section;
  const char* key;
  int def;
};
}  // namespace

bool BrConfigCache::ReadConfigFromFile(BrCfgFile* file) {
  if (!file) return false;
  // Said as such and naming the file: settings that silently fall back to defaults look like an engine fault.
  if (!file->IsValid()) {
    if (file->GetFullPath()[0]) GLog.printf("ERROR: The configuration file %s cannot be read", file->GetFullPath());
    return false;
  }
  const char* problem = nullptr;
  if (!file->CheckText(&problem))
    GLog.printf("ERROR: The configuration file %s is corrupt (%s); settings it lacks take their defaults",
                file->GetFullPath(), problem ? problem : "");

  auto readInt = [&](const char* section, const char* key, int def) {
    int v = def;
    if (!file->GetValue(v, section, key)) v = def;
    return v;
  };
  auto readString = [&](const char* section, const char* key) {
    BrStringT<char> v;
    if (!file->GetValue(v, section, key)) v = BrStringT<char>();
    return v;
  };

  SetInteger("Engine", "Safe", readInt("Engine", "Safe", 1));
  SetString("Engine", "Libs", readString("Engine", "Libs"));
  SetString("Render", "Device", readString("Render", "Device"));
  SetInteger("Render", "UseWBuffer", readInt("Render", "UseWBuffer", 0));
  SetInteger("Render", "UseZBuffer", readInt("Render", "UseZBuffer", 1));
  int depth = readInt("Render", "DepthBufferBitDepth", 16);
  depth = depth <= 16 ? 16 : (depth <= 24 ? 24 : 32);
  SetInteger("Render", "DepthBufferBitDepth", depth);
  SetString("Audio", "Device", readString("Audio", "Device"));
  SetInteger("Audio", "Channels", readInt("Audio", "Channels", 32));
  SetInteger("Audio", "Hardware", readInt("Audio", "Hardware", 0));
  SetInteger("Audio", "NoAudio", readInt("Audio", "NoAudio", 0));
  SetInteger("Audio", "NoMusic", readInt("Audio", "NoMusic", 0));
  SetString("Net", "Device", readString("Net", "Device"));
  SetString("Net", "Master", readString("Net", "Master"));
  SetInteger("Net", "QueryPort", readInt("Net", "QueryPort", 24667));
  SetInteger("Net", "GamePort", readInt("Net", "GamePort", 24666));

  int ww = readInt("Display", "WindowWidth", 800), wh = readInt("Display", "WindowHeight", 600);
  int sw = readInt("Display", "ScreenWidth", 800), sh = readInt("Display", "ScreenHeight", 600);
  // Absolute values; INT_MIN has none and is taken as 0, which the validation below then snaps to a mode.
  auto absolute = [](int v) { return v < 0 ? (v == INT32_MIN ? 0 : -v) : v; };
  ww = absolute(ww);
  wh = absolute(wh);
  sw = absolute(sw);
  sh = absolute(sh);
  if (ww < 480 || wh < 480) brValidateRes(ww, wh);
  if (sw < 480 || sh < 480) brValidateRes(sw, sh);
  if (sw <= ww / 2) {
    brDecrementRes(ww, wh);
    brDecrementRes(sw, sh);
  }
  SetInteger("Display", "WindowWidth", ww);
  SetInteger("Display", "WindowHeight", wh);
  SetInteger("Display", "ScreenWidth", sw);
  SetInteger("Display", "ScreenHeight", sh);
  SetInteger("Display", "StartFullScreen", readInt("Display", "StartFullScreen", 0));

  SetString("App", "Title", readString("App", "Title"));
  SetString("App", "Launch", readString("App", "Launch"));
  SetString("App", "Parser", readString("App", "Parser"));
  int mx = readInt("App", "MouseSpeedX", 50), my = readInt("App", "MouseSpeedY", 50);
  SetInteger("App", "MouseSpeedX", mx <= 0 ? 50 : mx);
  SetInteger("App", "MouseSpeedY", my <= 0 ? 50 : my);
  SetString("App", "DefaultFont", readString("App", "DefaultFont"));
  SetInteger("App", "Hints", readInt("App", "Hints", 1));
  return true;
}

namespace {

// The text of a line without the '\r' that files edited on Windows end their lines with.
std::string Bare(const std::string& line) {
  return !line.empty() && line.back() == '\r' ? line.substr(0, line.size() - 1) : line;
}

// A header line as the reader takes it: first non-blank character '[', a ']' after it.
bool IsHeader(const std::string& bare) {
  const size_t first = bare.find_first_not_of(" \t");
  return first != std::string::npos && bare[first] == '[' && bare.find(']', first + 1) != std::string::npos;
}

// The section a header opens for the reader, which only knows exact "[name]" lines; empty for any other.
std::string HeaderName(const std::string& bare) {
  if (bare.size() < 2 || bare.front() != '[' || bare.back() != ']') return std::string();
  return bare.substr(1, bare.size() - 2);
}

bool IsBlank(const std::string& line) { return Bare(line).find_first_not_of(" \t") == std::string::npos; }

// Reads the whole file. A file that is not there reads as empty; one that is there but cannot be read fails.
bool ReadWholeFile(const char* path, std::string& text, bool& present) {
  text.clear();
  present = false;
  BrAnsiFile in;
  if (!in.Open(path, eFileSystem | eFileRead | eFileBinary)) {
    WIN32_FIND_DATAA data;
    HANDLE search = FindFirstFileA(path, &data);
    if (search == INVALID_HANDLE_VALUE) return true;
    FindClose(search);
    return false;
  }
  present = true;
  char buf[4096];
  size_t n;
  while ((n = std::fread(buf, 1, sizeof(buf), in.Handle())) > 0) text.append(buf, n);
  return !std::ferror(in.Handle());
}

}  // namespace

bool BrConfigCache::MergeSections(BrCfgFile* file, const TDArray<BrStringT<char>>& sections) {
  if (!file) return false;
  const std::string path = file->GetFullPath();
  auto fail = [&](const char* why) {
    GLog.printf("ERROR: Failed to write the configuration back to %s: %s", path.c_str(), why);
    return false;
  };
  if (path.empty()) return fail("its full path is unknown");

  std::string text;
  bool present = false;
  if (!ReadWholeFile(path.c_str(), text, present)) return fail("the file cannot be read");
  // Renaming over a read-only file would succeed on most systems: the user's protection is honoured here.
  if (present && !BrFileDevice::Exists(path.c_str())) return fail("the file is read-only");

  std::vector<std::string> lines;
  for (size_t start = 0; start < text.size();) {
    size_t end = text.find('\n', start);
    if (end == std::string::npos) end = text.size();
    lines.push_back(text.substr(start, end - start));
    start = end + 1;
  }

  auto merged = [&](const std::string& name) {
    for (int i = 0; i < sections.GetCount(); ++i)
      if (sections[i].c_str() && name == sections[i].c_str()) return true;
    return false;
  };
  auto entry = [&](int i) {
    const BrConfigSetting& s = m_Settings[i];
    return std::string(s.m_Key.c_str() ? s.m_Key.c_str() : "") + "=" + (s.m_Value.c_str() ? s.m_Value.c_str() : "");
  };

  // First pass: the line each setting replaces (the first key line of its section, where the reader finds it)
  // and the end of each merged section's first block, where settings without a line go.
  std::vector<int> lineOf(size_t(m_Settings.GetCount()), -1);
  std::vector<int> settingAt(lines.size(), -1);
  std::vector<std::string> blockName(lines.size());
  std::vector<std::string> seen;
  std::vector<std::pair<size_t, std::string>> firstBlockEnds;
  std::string current;
  bool firstBlock = false;
  for (size_t l = 0; l <= lines.size(); ++l) {
    const bool atEnd = l == lines.size();
    const std::string bare = atEnd ? std::string() : Bare(lines[l]);
    if (atEnd || IsHeader(bare)) {
      if (firstBlock) {
        size_t pos = l;
        // Before the blank lines and comments that close the block: those usually introduce the next section.
        while (pos > 0 && !IsHeader(Bare(lines[pos - 1])) &&
               (IsBlank(lines[pos - 1]) || Bare(lines[pos - 1])[0] == '#'))
          --pos;
        firstBlockEnds.push_back({pos, current});
      }
      if (atEnd) break;
      current = HeaderName(bare);
      firstBlock = !current.empty() && merged(current);
      for (const std::string& name : seen)
        if (name == current) firstBlock = false;
      if (!current.empty()) seen.push_back(current);
      continue;
    }
    if (current.empty() || !merged(current) || bare.empty() || bare[0] == '#') continue;
    const size_t eq = bare.find('=');
    if (eq == std::string::npos) continue;
    const std::string key = bare.substr(0, eq);
    for (int i = 0; i < m_Settings.GetCount(); ++i) {
      const BrConfigSetting& s = m_Settings[i];
      if (lineOf[size_t(i)] < 0 && s.m_Section.c_str() && current == s.m_Section.c_str() && s.m_Key.c_str() &&
          key == s.m_Key.c_str()) {
        lineOf[size_t(i)] = int(l);
        settingAt[l] = i;
        break;
      }
    }
  }

  // Second pass: every line kept as it was (comments, blank lines, other sections and keys), the cache's
  // values in place of theirs, and the settings the file did not have at the end of their section.
  std::string out;
  auto newSettings = [&](const std::string& section) {
    std::string added;
    for (int i = 0; i < m_Settings.GetCount(); ++i)
      if (lineOf[size_t(i)] < 0 && m_Settings[i].m_Section.c_str() && section == m_Settings[i].m_Section.c_str()) {
        added += entry(i) + "\n";
        lineOf[size_t(i)] = int(lines.size());
      }
    return added;
  };
  size_t nextEnd = 0;
  for (size_t l = 0; l <= lines.size(); ++l) {
    while (nextEnd < firstBlockEnds.size() && firstBlockEnds[nextEnd].first == l)
      out += newSettings(firstBlockEnds[nextEnd++].second);
    if (l == lines.size()) break;
    if (settingAt[l] >= 0)
      out += entry(settingAt[l]) + (lines[l].size() > Bare(lines[l]).size() ? "\r\n" : "\n");
    else
      out += lines[l] + "\n";
  }
  // Sections the file does not have yet follow, each after an empty line.
  for (int s = 0; s < sections.GetCount(); ++s) {
    const std::string name = sections[s].c_str() ? sections[s].c_str() : "";
    const std::string added = newSettings(name);
    if (added.empty()) continue;
    if (!out.empty() && out.compare(out.size() >= 2 ? out.size() - 2 : 0, 2, "\n\n") != 0) out += "\n";
    out += "[" + name + "]\n" + added;
  }

  // The new text goes beside the file and replaces it in one rename once it is on the disk, so a full disk or
  // a crash half-way leaves the old settings whole.
  const std::string temp = path + ".tmp";
  bool written = false;
  {
    BrAnsiFile tmp;
    if (tmp.Open(temp.c_str(), eFileSystem | eFileCreate | eFileBinary)) {
      written = std::fwrite(out.data(), 1, out.size(), tmp.Handle()) == out.size();
      written = tmp.Flush() && written;
      written = tmp.Close() && written;
    }
  }
  file->Close();
  bool ok = written && MoveFileExA(temp.c_str(), path.c_str(), MOVEFILE_REPLACE_EXISTING);
  if (!ok) DeleteFileA(temp.c_str());
  // The file stays open on whatever is now on disk, so later queries read what was written.
  file->Open(path.c_str(), 0x1000001);
  if (!ok) return fail(written ? "the new file could not replace it" : "the new file could not be written");
  return true;
}

bool BrConfigCache::WriteSettingsForSection(BrCfgFile* file, const BrStringT<char>& section) {
  TDArray<BrStringT<char>> one;
  one.Add(section);
  return MergeSections(file, one);
}

bool BrConfigCache::WriteConfigToFile(BrCfgFile* file) {
  // The engine's sections first, in their order, then any other section the cache holds (a derived cache's own),
  // so nothing held is lost.
  TDArray<BrStringT<char>> sections;
  const char* engine[] = {"Engine", "Render", "Display", "Audio", "Net", "App"};
  for (const char* s : engine) sections.Add(BrStringT<char>(s));
  for (int i = 0; i < m_Settings.GetCount(); ++i) {
    bool listed = false;
    for (int k = 0; k < sections.GetCount() && !listed; ++k) listed = sections[k] == m_Settings[i].m_Section;
    if (!listed && m_Settings[i].m_Section.Length() > 0) sections.Add(m_Settings[i].m_Section);
  }
  return MergeSections(file, sections);
}
