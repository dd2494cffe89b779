// The exported globals of the core library, at the values they hold when the library is loaded.
#include "core/BrGlobals.h"

uint32_t GEngineVer = 269;
bool GExit = false;
bool GIsDebug = false;
bool GIsPerformance = false;
bool GRunningNT = false;
bool GUnicodeDefined = false;
bool gIsTestHarness = false;
HINSTANCE GInstance = nullptr;
double GFreq = 0.0;
double GdDiff = 0.0;
int64_t Gi64Start = 0;
int64_t Gi64End = 0;
