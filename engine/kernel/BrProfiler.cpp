// The profiler: outermost Profile/EndProfile pairs per name timed in whole milliseconds; statistics at exit.
#include "engine/kernel/BrProfiler.h"

#include <cstdio>
#include <cstring>

#include "core/brcr.h"
#include "engine/kernel/BrConfigCache.h"
#include "engine/kernel/BrEngine.h"

BrProfiler::BrProfiler() : m_uiCount(0), m_Clock(nullptr), m_bWarnedFull(false) {
  m_szStatsPath[0] = 0;
  m_Profiles.SetSize(ciMaxProfiles);
}

BrProfiler::~BrProfiler() {}

void BrProfiler::SetClock(ClockFn clock) { m_Clock = clock; }

int32_t BrProfiler::Reading() const {
  float seconds = m_Clock ? m_Clock() : brGetSystemTime();
  return (int32_t)(seconds * 1000.0f);
}

int BrProfiler::Find(const char* name) const {
  for (uint32_t i = 0; i < m_uiCount; ++i)
    if (brStrcmp(m_Profiles[(int)i].name, name) == 0) return (int)i;
  return -1;
}

namespace {
// The stored name is cut to fit its field: compare the given name the same way, so a long name finds its record.
void cutName(const char* name, char* out) {
  size_t n = strnlen(name, _perfProfile::ciNameLen - 1);
  std::memcpy(out, name, n);
  out[n] = 0;
}
}  // namespace

void BrProfiler::Profile(const char* name) {
  if (!name || brStrlen(name) == 0) return;
  char key[_perfProfile::ciNameLen];
  cutName(name, key);
  int i = Find(key);
  if (i >= 0) {
    _perfProfile& p = m_Profiles[i];
    if (p.depth == 0) {
      p.frequency += 1;
      p.start = Reading();
    }
    p.depth += 1;
    return;
  }
  // The table is full: a further name is not timed (the process goes on).
  if (m_uiCount >= (uint32_t)ciMaxProfiles) {
    if (!m_bWarnedFull) {
      GLog.printf("WARNING: Profiler table full (%i names), not timing %s", ciMaxProfiles, key);
      m_bWarnedFull = true;
    }
    return;
  }
  _perfProfile& p = m_Profiles[(int)m_uiCount];
  std::memcpy(p.name, key, sizeof(key));
  p.average = 0;
  p.start = 0;
  p.minimum = 0xFFFFFFFFu;
  p.maximum = 0;
  p.frequency = 1;
  p.depth = 1;
  p.start = Reading();
  m_uiCount += 1;
}

void BrProfiler::EndProfile(const char* name) {
  if (!name || brStrlen(name) == 0) return;
  int32_t e = Reading();
  if (m_uiCount == 0) return;
  char key[_perfProfile::ciNameLen];
  cutName(name, key);
  int i = Find(key);
  if (i < 0) return;
  _perfProfile& p = m_Profiles[i];
  // An end without an open measurement would drive the depth below zero and silence the record for good.
  if (p.depth <= 0) return;
  p.depth -= 1;
  if (p.depth != 0) return;
  int32_t f = Reading();
  int32_t n = Reading();
  uint32_t elapsed = ((uint32_t)n - (uint32_t)p.start) - ((uint32_t)f - (uint32_t)e);
  p.average = (uint32_t)(p.average + elapsed) >> 1;
  if (elapsed < p.minimum) p.minimum = elapsed;
  if (elapsed > p.maximum) p.maximum = elapsed;
}

_perfProfile* BrProfiler::GetProfile(const char* name) {
  if (!name || m_uiCount == 0) return nullptr;
  char key[_perfProfile::ciNameLen];
  cutName(name, key);
  int i = Find(key);
  return i >= 0 ? &m_Profiles[i] : nullptr;
}

void BrProfiler::DumpStats() {
  if (m_uiCount == 0) return;
  char stamp[64];
  brGetLocalTimeString(stamp);
  // A current folder too long for the buffer is named relatively: never a path from the root.
  char folder[261] = {0};
  const DWORD n = brGetCurrentDirectory(260, folder);
  if (n == 0 || n >= 260) std::snprintf(folder, sizeof(folder), "%s", ".");

  BrStringT<char> title;
  BrConfigCache* config = Engine().GetConfig();
  if (config) config->GetString("App", "Title", title);
  const char* t = title.c_str() ? title.c_str() : "";
  const char* prefix = GIsPerformance ? "_PERF_Profile_" : "_DEBUG_Profile_";

  // Bounded: a long folder or title is cut rather than overflowing. The time text repeats (two runs in one
  // second, or two dates that print alike), so a taken name gets "_2", "_3" and so on.
  char stem[sizeof(m_szStatsPath)];
  std::snprintf(stem, sizeof(stem), "%s%s%s%s%s", folder, "\\Stats\\", t, prefix, stamp);
  brCreateDirectory("Stats");
  const BrStringT<char> free = BrFileDevice::FreeFileName(stem, ".log");
  std::snprintf(m_szStatsPath, sizeof(m_szStatsPath), "%s", free.Length() > 0 ? free.c_str() : "");

  if (free.Length() == 0 || !m_StatsFile.Open(m_szStatsPath, 0x1000010)) {
    // The run's measurements are lost: worth a line in every build.
    GLog.printf("WARNING: Failed to create stats file at %s", m_szStatsPath);
    return;
  }
  // The title is data, never a format.
  m_StatsFile.printf("%s%s\n", "Brelmar Technology Performance Profiler Output: ", t);
  m_StatsFile.WriteLine(GIsPerformance ? "Running a PERFORMANCE build for internal release only:\n"
                                       : "Running a DEBUG build for development use only\n");
  m_StatsFile.printf("\n\tProfile (ms)\t\t\tAverage\t\tMin\tMax\tFrequency");
  char rule[82];
  std::memset(rule, '-', 81);
  rule[81] = 0;
  m_StatsFile.printf("%s\n\n", rule);
  for (uint32_t i = 0; i < m_uiCount; ++i) {
    const _perfProfile& p = m_Profiles[(int)i];
    m_StatsFile.printf("\t%-16s\t%i\t\t%i\t%i\t%i", p.name, (int32_t)p.average, (int32_t)p.minimum, (int32_t)p.maximum,
                       (int32_t)p.frequency);
  }
}
