// Clocks of the core library: seconds since start, the time-stamp counter and the local time.
#include "core/BrTime.h"

#include <cstdio>

#include "platform/win32/win32_kernel.h"

namespace {

int64_t MonotonicNow() {
  LARGE_INTEGER now;
  QueryPerformanceCounter(&now);
  return now.QuadPart;
}

// Counting from the library's load rather than the machine's start keeps the float's precision: after days of
// uptime a float of seconds since boot could no longer tell two frames apart.
const int64_t sStartTicks = MonotonicNow();

}  // namespace

float brGetSystemTime() {
  LARGE_INTEGER frequency;
  QueryPerformanceFrequency(&frequency);
  int64_t elapsed = MonotonicNow() - sStartTicks;
  return float(double(elapsed) / double(frequency.QuadPart));
}

void brQueryPerformanceCounter(int64_t* out) {
  if (out) *out = int64_t(ReadTimeStampCounter());
}

SYSTEMTIME brGetLocalTime() {
  SYSTEMTIME time;
  GetLocalTime(&time);
  return time;
}

void brFormatTimeString(const SYSTEMTIME& time, char* buf) {
  if (!buf) return;
  std::snprintf(buf, 32, "%u%u%u_%u%u%u", unsigned(time.wDay), unsigned(time.wMonth), unsigned(time.wYear),
                unsigned(time.wHour), unsigned(time.wMinute), unsigned(time.wSecond));
}

void brGetLocalTimeString(char* buf) { brFormatTimeString(brGetLocalTime(), buf); }
