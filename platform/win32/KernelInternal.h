// Shared helpers of the kernel half of the Win32 layer; not part of its public face.
#pragma once

#include <string>

// Backslashes become slashes and repeated separators collapse to one.
std::string brW32NormaliseSeparators(const char* path);
// W32MapPath's result as a string (no size limit).
std::string brW32ResolvePath(const char* path);
// The system's 8-bit text (Latin-1) for a file system name (UTF-8): what listings show and what a resolved path
// matches. Characters beyond Latin-1 read as '?'; bytes that are not UTF-8 are taken as Latin-1 as they stand.
std::string brW32SystemName(const char* fsName);
