// The configuration cache: typed getters and setters, reading the engine's keys with their defaults, writing back.
#include "engine/kernel/BrConfigCache.h"

#include <cstdio>
#include <cstdlib>
#include <cstring>

#include "core/brcr.h"
#include "core/BrCfgFile.h"

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
  if (!file || !file->IsValid()) return false;

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

bool BrConfigCache::WriteSettingsForSection(BrCfgFile* file, const BrStringT<char>& section) {
  bool ok = file->printf("%s%s%s", "[", section.c_str() ? section.c_str() : "", "]");
  for (int i = 0; i < m_Settings.GetCount(); ++i) {
    const BrConfigSetting& s = m_Settings[i];
    if (!(s.m_Section == section)) continue;
    const char* key = s.m_Key.c_str() ? s.m_Key.c_str() : "";
    if (s.m_Value.Length() > 0)
      ok = file->printf("%s%s%s", key, "=", s.m_Value.c_str()) && ok;
    else
      ok = file->printf("%s%s", key, "=") && ok;
  }
  ok = file->printf("\n") && ok;
  return ok;
}

bool BrConfigCache::WriteConfigToFile(BrCfgFile* file) {
  if (!file) return false;
  char path[1024];
  std::snprintf(path, sizeof(path), "%s", file->GetFullPath());
  file->Close();
  if (!file->Open(path, 0x1000010)) {
    GLog.printf("ERROR: Failed to write the configuration back to %s", path);
    return false;
  }
  bool ok = true;
  const char* sections[] = {"Engine", "Render", "Display", "Audio", "Net", "App"};
  for (const char* s : sections) ok = WriteSettingsForSection(file, BrStringT<char>(s)) && ok;
  if (!ok) GLog.printf("ERROR: Failed to write the configuration back to %s", path);
  return ok;
}
