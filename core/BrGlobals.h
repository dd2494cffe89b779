// The exported globals of the core library, with the values they hold when the library is loaded.
#pragma once

#include <cstdint>

#include "platform/win32/win32types.h"

// The engine version written into and compared with archives: 269.
extern uint32_t GEngineVer;
// Set once the engine's exit has run; the host's loop watches it.
extern bool GExit;
// Enables the debug calls of the log.
extern bool GIsDebug;
// Performance build flag read by the engine.
extern bool GIsPerformance;
// Operating-system family flag set by the engine.
extern bool GRunningNT;
// Character-set flag.
extern bool GUnicodeDefined;
// Test-harness flag.
extern bool gIsTestHarness;
// Module instance handle set by the engine.
extern HINSTANCE GInstance;
// Processor clock measured by the engine at start-up.
extern double GFreq;
// Timing difference kept by the engine.
extern double GdDiff;
// Time-stamp counter readings kept by the engine.
extern int64_t Gi64Start;
extern int64_t Gi64End;
