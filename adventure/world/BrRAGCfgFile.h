// BrRAGCfgFile: the main configuration file that writes the game's default main.cfg text when it is created.
#pragma once

#include "core/BrCfgFile.h"

// The host opens "main.cfg" through this class; a missing file is created holding the game's defaults.
class BrRAGCfgFile : public BrCfgFile {
public:
  // Number of lines of the game's default text.
  static constexpr int ciDefaultLines = 48;

  // An unopened file.
  BrRAGCfgFile();
  // Opens path for reading and updating; a missing "main.cfg" is created and filled with the game's default
  // text. The opening happens here, once this class's CreateDefault is in place.
  explicit BrRAGCfgFile(const char* path);
  ~BrRAGCfgFile() override;

  // Writes the game's default text (one line each, ciDefaultLines lines); false, writing nothing, when the file
  // is not open.
  bool CreateDefault() override;

  // Line i (0-based) of the game's default text, without its line break; null outside 0 .. ciDefaultLines-1.
  static const char* DefaultLine(int i);
};
