// Clocks of the kernel layer: local time, the monotonic tick count and counter, the time-stamp counter, sleep.
#include "platform/win32/win32_kernel.h"

#include <cerrno>
#include <ctime>

#if defined(__x86_64__) || defined(__i386__)
#include <x86intrin.h>
#endif

namespace {

uint64_t MonotonicNanoseconds() {
  struct timespec ts;
  ::clock_gettime(CLOCK_MONOTONIC, &ts);
  return uint64_t(ts.tv_sec) * 1000000000ull + uint64_t(ts.tv_nsec);
}

}  // namespace

void GetLocalTime(SYSTEMTIME* time) {
  if (!time) return;
  struct timespec ts;
  ::clock_gettime(CLOCK_REALTIME, &ts);
  time_t t = ts.tv_sec;
  struct tm tmv;
  ::localtime_r(&t, &tmv);
  time->wYear = WORD(tmv.tm_year + 1900);
  time->wMonth = WORD(tmv.tm_mon + 1);
  time->wDayOfWeek = WORD(tmv.tm_wday);
  time->wDay = WORD(tmv.tm_mday);
  time->wHour = WORD(tmv.tm_hour);
  time->wMinute = WORD(tmv.tm_min);
  time->wSecond = WORD(tmv.tm_sec);
  time->wMilliseconds = WORD(ts.tv_nsec / 1000000);
}

DWORD GetTickCount() { return DWORD(GetTickCount64() & 0xFFFFFFFFull); }

ULONGLONG GetTickCount64() { return MonotonicNanoseconds() / 1000000ull; }

BOOL QueryPerformanceCounter(LARGE_INTEGER* count) {
  if (!count) return FALSE;
  count->QuadPart = LONGLONG(MonotonicNanoseconds());
  return TRUE;
}

BOOL QueryPerformanceFrequency(LARGE_INTEGER* frequency) {
  if (!frequency) return FALSE;
  frequency->QuadPart = 1000000000LL;
  return TRUE;
}

ULONGLONG ReadTimeStampCounter() {
#if defined(__x86_64__) || defined(__i386__)
  return __rdtsc();
#else
  return MonotonicNanoseconds();
#endif
}

void Sleep(DWORD ms) {
  struct timespec ts;
  ts.tv_sec = ms / 1000;
  ts.tv_nsec = long(ms % 1000) * 1000000L;
  // A signal cuts nanosleep short; the rest is slept so the promise of "at least ms" holds.
  while (::nanosleep(&ts, &ts) != 0 && errno == EINTR) {
  }
}
