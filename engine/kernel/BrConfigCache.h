// BrConfigCache: the main configuration held in memory as (section, key, value) strings, read from and written to main.cfg.
#pragma once

#include "core/BrARGB.h"
#include "templates/BrStringT.h"
#include "templates/TDArray.h"

class BrCfgFile;

// One setting: section, key and value text.
class BrConfigSetting {
public:
  BrConfigSetting();
  BrConfigSetting(const BrStringT<char>& section, const BrStringT<char>& key, const BrStringT<char>& value);
  BrConfigSetting(const BrConfigSetting& other);
  BrConfigSetting& operator=(const BrConfigSetting& other);
  virtual ~BrConfigSetting();

  BrStringT<char> m_Section;
  BrStringT<char> m_Key;
  BrStringT<char> m_Value;
};

// The configuration cache. Lookups are linear, first match, exact and case-sensitive on section and key.
// The host builds it, hands it to the engine and owns it.
class BrConfigCache {
public:
  BrConfigCache();
  virtual ~BrConfigCache();

  // Reads every engine key from the file (missing keys take their defaults), adjusting depth, display and
  // mouse values. False when the file is not open (logged, naming the file, when its path is known); a file that
  // is not configuration text is logged as corrupt, naming it, and read all the same.
  virtual bool ReadConfigFromFile(BrCfgFile* file);
  // Writes every section the cache holds back into the file (see MergeSections): Engine, Render, Display,
  // Audio, Net and App, then any other in cache order. False, with an error line naming the file, when the file
  // is read-only or cannot be read, or the new text cannot be written or put in its place.
  virtual bool WriteConfigToFile(BrCfgFile* file);
  // Empties the cache.
  virtual void Destroy();

  // Getters: true when found; on false the output is left untouched.
  // The value text; entries with an empty value count as missing.
  bool GetString(const BrStringT<char>& section, const BrStringT<char>& key, BrStringT<char>& out);
  // atoi of the value (0 for an empty one).
  bool GetInteger(const BrStringT<char>& section, const BrStringT<char>& key, int& out);
  // atof of the value.
  bool GetFloat(const BrStringT<char>& section, const BrStringT<char>& key, float& out);
  // "a,r,g,b" (commas inside parentheses do not split). Fewer than four parts: false.
  bool GetColour(const BrStringT<char>& section, const BrStringT<char>& key, BrARGB& out);

  // Setters overwrite an existing (section, key) in place, else append.
  void SetString(const BrStringT<char>& section, const BrStringT<char>& key, const BrStringT<char>& value);
  void SetInteger(const BrStringT<char>& section, const BrStringT<char>& key, int value);
  void SetFloat(const BrStringT<char>& section, const BrStringT<char>& key, float value);
  void SetColour(const BrStringT<char>& section, const BrStringT<char>& key, const BrARGB& value);

  // Number of settings held, and one of them by insertion index (null outside the range).
  int GetNumSettings() const;
  const BrConfigSetting* GetSetting(int index) const;

protected:
  // Index of the (section, key) entry; false when there is none.
  bool SettingExists(const BrStringT<char>& section, const BrStringT<char>& key, int& index) const;
  // Writes one section back into the file (see MergeSections); writing a section twice changes nothing more.
  bool WriteSettingsForSection(BrCfgFile* file, const BrStringT<char>& section);
  // Puts the cache's values of the listed sections into the text of the file at its full path: each key line
  // takes its setting's value in place, settings the file lacks are added at the end of their section (or in a
  // new section at the end), and every other line (comments, blank lines, other sections and keys) is kept.
  // The text is written to path + ".tmp", put on the disk and renamed over the file; the file is reopened
  // afterwards for reading. False, with an error line naming the file, when anything fails (the file untouched).
  bool MergeSections(BrCfgFile* file, const TDArray<BrStringT<char>>& sections);

  TDArray<BrConfigSetting> m_Settings;
};
