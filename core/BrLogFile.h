// BrLogFile and GLog: the global log, "log.txt" in the current folder.
#pragma once

#include "core/BrAnsiFile.h"

// The log file. Nothing is written before Init has opened it.
class BrLogFile : public BrAnsiFile {
public:
  BrLogFile();
  ~BrLogFile() override;

  // Closes an open stream, then opens path with the mode of flags; false when the open flag stays set, when path is
  // null or when the open fails; else records the full path and returns true.
  bool Open(const char* path, uint32_t flags) override;
  // Opens "log.txt" in the current folder, emptying an old one, and writes the banner line
  // "Brelmar Technology Application" followed by an empty line. False when the file cannot be opened.
  virtual bool Init();
  // printf while GIsDebug is set; otherwise writes nothing and returns false.
  bool DebugPrintf(const char* format, ...) BR_PRINTF_FORMAT(2, 3);
  // WriteLine while GIsDebug is set; otherwise writes nothing and returns false.
  bool DebugWriteLine(const char* text);
};

// The one log of the system, constructed when the core library loads; the host calls Init.
extern BrLogFile GLog;
