// Clocks of the core library: seconds since start, the time-stamp counter and the local time.
#pragma once

#include <cstdint>

#include "platform/win32/win32types.h"

// Seconds since the process started, on the monotonic clock, as float. The engine's frame times use this clock.
float brGetSystemTime();
// Stores the processor's time-stamp counter in *out (ignored when null).
void brQueryPerformanceCounter(int64_t* out);
// The local calendar time.
SYSTEMTIME brGetLocalTime();
// Writes the local time as day, month, year, "_", hour, minute, second in decimal without leading zeros or
// separators (8 December 2026 14:05:09 gives "8122026_1459"); buf must hold 32 characters.
void brGetLocalTimeString(char* buf);
// brGetLocalTimeString of a given time.
void brFormatTimeString(const SYSTEMTIME& time, char* buf);
