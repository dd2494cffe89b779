// The script daemon: property reads that follow a section's "Type" chain through an object configuration file.
#include "engine/kernel/BrScriptDaemon.h"

#include <cstdio>
#include <cstring>
#include <strings.h>

#include "core/BrCfgFile.h"
#include "core/BrLogFile.h"
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
  if (Walk(section, file, key, [&](const char* s) { return file->GetValue(out, s, key); })) return true;
  // A value written but unreadable as a finite number ("abc", "nan", "1e99") leaves the caller's default. A
  // modder hears of it once: the same section is read again for every object spawned from it.
  BrStringT<char> text;
  if (file && section && key && file->GetValue(text, section, key) && text.Length() > 0)
    Refuse(section, key, text.c_str(), "is no finite number: the value is not used");
  return false;
}

void BrScriptDaemon::RefuseNumber(const char* section, const char* key, float value, const char* why) {
  char text[32];
  std::snprintf(text, sizeof text, "%g", double(value));
  Refuse(section, key, text, why);
}

void BrScriptDaemon::RefuseBeyond(const char* section, const char* key, float value, float most, const char* what) {
  char why[160];
  std::snprintf(why, sizeof why, "is %s (at most %g): the value is not used", what ? what : "out of range",
                double(most));
  RefuseNumber(section, key, value, why);
}

void BrScriptDaemon::Refuse(const char* section, const char* key, const char* value, const char* why) {
  const BrStringT<char> which =
      BrStringT<char>(section ? section : "") + "/" + (key ? key : "") + "=" + (value ? value : "");
  for (int i = 0; i < m_Refused.GetCount(); ++i)
    if (m_Refused[i] == which) return;
  m_Refused.Add(which);
  GLog.printf("ERROR: [%s] %s=%s %s", section ? section : "", key ? key : "", value ? value : "", why ? why : "");
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
