// BrProfiler and _perfProfile: named sections of host work timed in whole milliseconds, dumped to a statistics file at exit.
#pragma once

#include <cstdint>

#include "core/BrLogFile.h"
#include "templates/TSArray.h"

// One timed section. Calls for one name may nest; only the outermost pair is measured.
struct _perfProfile {
  static const int ciNameLen = 128;
  char name[ciNameLen];  // terminated; longer names are cut to 127 characters
  uint32_t average;      // running average, halved with each new measurement
  int32_t start;         // reading at the start of the open outer measurement
  uint32_t minimum;      // 0xFFFFFFFF until the first measurement ends
  uint32_t maximum;
  uint32_t frequency;  // outer measurements started
  int32_t depth;       // open Profile calls not yet ended; never below 0
};

class BrProfiler {
public:
  static const int ciMaxProfiles = 32;
  // The clock: seconds as float (brGetSystemTime unless replaced).
  typedef float (*ClockFn)();

  BrProfiler();
  // Closes the statistics file.
  virtual ~BrProfiler();

  // Starts (outermost call) or nests a measurement. Empty names do nothing. A name beyond the 32 the table
  // holds is ignored, with one warning in the log.
  void Profile(const char* name);
  // Ends one level; the outermost end updates average, minimum and maximum. An end without an open
  // measurement changes nothing.
  void EndProfile(const char* name);
  // The record of that name, or null.
  _perfProfile* GetProfile(const char* name);
  // Writes "<current folder>\\Stats\\<title><_DEBUG_Profile_|_PERF_Profile_><time>.log"; nothing when no
  // name was ever profiled.
  void DumpStats();
  // Records in use.
  uint32_t GetCount() const { return m_uiCount; }

  // Replaces the clock (null restores brGetSystemTime), so tests control the time.
  void SetClock(ClockFn clock);
  // The path of the last statistics file opened by DumpStats (empty when none).
  const char* GetStatsPath() const { return m_szStatsPath; }

private:
  BrProfiler(const BrProfiler&) = delete;
  BrProfiler& operator=(const BrProfiler&) = delete;

  int32_t Reading() const;
  int Find(const char* name) const;

  TSArray<_perfProfile> m_Profiles;
  uint32_t m_uiCount;
  BrLogFile m_StatsFile;
  ClockFn m_Clock;
  bool m_bWarnedFull;
  char m_szStatsPath[520];
};
