// BrRAGConfigCache: reading and writing the framework's section "RAG" beside the engine's settings.
#include "adventure/world/BrRAGConfigCache.h"

#include "core/BrCfgFile.h"
#include "core/BrLogFile.h"

const char* const BrRAGConfigCache::cszSection = "RAG";

namespace {
// The framework's text keys, in the order they are read and written; each is empty when the file has none.
const char* const kTextKeys[] = {"PlayerTypes", "AppType", "HUDType", "Configs"};
// The integer keys with their defaults.
struct IntKey {
  const char* key;
  int def;
};
const IntKey kIntKeys[] = {{"StartLevel", 1}, {"ShowIntro", 1}};
}  // namespace

BrRAGConfigCache::BrRAGConfigCache() {}

BrRAGConfigCache::~BrRAGConfigCache() {}

bool BrRAGConfigCache::ReadConfigFromFile(BrCfgFile* file) {
  if (!BrConfigCache::ReadConfigFromFile(file)) return false;
  const BrStringT<char> section(cszSection);
  for (const char* key : kTextKeys) {
    BrStringT<char> value;
    // GetValue reports an empty value as missing, so the default (empty) stands for both.
    if (!file->GetValue(value, cszSection, key)) value = BrStringT<char>();
    SetString(section, BrStringT<char>(key), value);
  }
  for (const IntKey& k : kIntKeys) {
    int value = k.def;
    if (!file->GetValue(value, cszSection, k.key)) value = k.def;
    SetInteger(section, BrStringT<char>(k.key), value);
  }
  return true;
}

bool BrRAGConfigCache::WriteConfigToFile(BrCfgFile* file) {
  if (!BrConfigCache::WriteConfigToFile(file)) return false;
  if (!WriteSettingsForSection(file, BrStringT<char>(cszSection))) {
    GLog.printf("ERROR: Failed to write the section %s back to %s", cszSection, file->GetFullPath());
    return false;
  }
  return true;
}
