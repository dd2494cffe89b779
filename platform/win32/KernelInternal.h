// Shared helpers of the kernel half of the Win32 layer; not part of its public face.
#pragma once

#include <string>

// Backslashes become slashes and repeated separators collapse to one.
std::string brW32NormaliseSeparators(const char* path);
// W32MapPath's result as a string (no size limit).
std::string brW32ResolvePath(const char* path);
