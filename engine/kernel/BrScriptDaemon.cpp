// The script daemon: property reads that follow a section's "Type" chain through an object configuration file.
#include "engine/kernel/BrScriptDaemon.h"

#include <cstring>
#include <strings.h>

#include "core/BrCfgFile.h"
#include "templates/TDArray.h"

BrScriptDaemon::BrScriptDaemon() {}
BrScriptDaemon::~BrScriptDaemon() {}

template <class Read>
bool BrScriptDaemon::Walk(const char* section, BrCfgFile* file, const char* key, Read read) {
  if (!file || !section || !section[0] || !key || !key[0]) return false;
  // The working name is a string, not a fixed buffer: whatever a "Type" line holds, nothing can overflow.
  BrStringT<char> working(section);
  TDArray<BrStringT<char>> visited;
  for (int step = 0; step < ciMaxChain; ++step) {
    for (int i = 0; i < visited.GetCount(); ++i)
      if (visited[i] == working) return false;  // the chain loops
    visited.Add(working);
    if (read(working.c_str())) return true;
    BrStringT<char> parent;
    if (!file->GetValue(parent, working.c_str(), "Type") || parent.Length() <= 0) return false;
    working = parent;
  }
  return false;
}

bool BrScriptDaemon::LoadProperty(int& out, const char* section, BrCfgFile* file, const char* key) {
  return Walk(section, file, key, [&](const char* s) { return file->GetValue(out, s, key); });
}

bool BrScriptDaemon::LoadProperty(float& out, const char* section, BrCfgFile* file, const char* key) {
  return Walk(section, file, key, [&](const char* s) { return file->GetValue(out, s, key); });
}

bool BrScriptDaemon::LoadProperty(bool& out, const char* section, BrCfgFile* file, const char* key) {
  BrStringT<char> text;
  if (!LoadProperty(text, section, file, key)) return false;
  const char* v = text.c_str() ? text.c_str() : "";
  out = std::strcmp(v, "1") == 0 || strcasecmp(v, "true") == 0 || strcasecmp(v, "yes") == 0;
  return true;
}

bool BrScriptDaemon::LoadProperty(char* out, const char* section, BrCfgFile* file, const char* key) {
  return LoadProperty(out, ciDefaultValueLen, section, file, key);
}

bool BrScriptDaemon::LoadProperty(char* out, int outSize, const char* section, BrCfgFile* file, const char* key) {
  if (!out || outSize <= 0) return false;
  BrStringT<char> text;
  if (!LoadProperty(text, section, file, key)) return false;
  // Cut to the caller's buffer, terminator included.
  int n = text.Length();
  if (n > outSize - 1) n = outSize - 1;
  if (n > 0) std::memcpy(out, text.c_str(), (size_t)n);
  out[n] = 0;
  return true;
}

bool BrScriptDaemon::LoadProperty(BrStringT<char>& out, const char* section, BrCfgFile* file, const char* key) {
  return Walk(section, file, key, [&](const char* s) { return file->GetValue(out, s, key); });
}

bool BrScriptDaemon::LoadPropertyList(int* values, int max, const char* section, BrCfgFile* file, const char* key) {
  if (!values || max <= 0) return false;
  return Walk(section, file, key, [&](const char* s) { return file->GetValues(values, (unsigned int)max, s, key); });
}

bool BrScriptDaemon::LoadPropertyList(BrStringT<char>* values, int max, const char* section, BrCfgFile* file,
                                      const char* key) {
  if (!values || max <= 0) return false;
  return Walk(section, file, key, [&](const char* s) { return file->GetValues(values, (unsigned int)max, s, key); });
}

bool BrScriptDaemon::LoadPropertyListSize(const char* section, BrCfgFile* file, const char* key, int& count) {
  return Walk(section, file, key, [&](const char* s) { return file->GetNumValues(s, key, count); });
}
