// BrAnsiFile: a text file read and written line by line.
#pragma once

#include "core/BrFileDevice.h"
#include "core/BrMemory.h"

// A text file of lines.
class BrAnsiFile : public BrFileDevice {
public:
  // Length of the formatting buffer of printf, terminator included: longer lines are cut at 1023 characters.
  static const int ciFormatBufferLen = 1024;

  // A closed file.
  BrAnsiFile();
  // Opens path with flags at once (see Open).
  BrAnsiFile(const char* path, uint32_t flags);
  ~BrAnsiFile() override;

  // When no file is held and path is non-null, opens it with the mode of flags; the full path is recorded in any
  // case. True when the device holds an open file afterwards (also when it already held one).
  bool Open(const char* path, uint32_t flags) override;
  // Reads one line (its '\n' kept) into buf, which is zero-filled first: at most n-1 characters. False when not
  // open, at end of file or when buf is null or n < 2.
  bool ReadLine(char* buf, int n);
  // Writes text and "\n"; true when something was written; false when not open.
  bool WriteLine(const char* text);
  // Formats into a 1024-character buffer (cut at 1023 characters) and writes it with "\n"; false when not open.
  bool printf(const char* format, ...) BR_PRINTF_FORMAT(2, 3);

protected:
  // printf with an argument list.
  bool VPrintf(const char* format, va_list args) BR_PRINTF_FORMAT(2, 0);
};
