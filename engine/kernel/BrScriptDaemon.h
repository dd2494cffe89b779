// BrScriptDaemon: reads properties of object-configuration sections, following each section's "Type" chain.
#pragma once

#include "templates/BrStringT.h"
#include "templates/TDArray.h"

class BrCfgFile;

// Every read returns true when the key was found in the section or, through "Type", in one of its ancestors.
// A chain that returns to a section already visited ends with false. Section names are at most 63 characters.
class BrScriptDaemon {
public:
  // Longest section name followed along a chain, terminator included.
  static const int ciNameLen = 64;
  // Size assumed for the char-buffer form without an explicit size: texts keep up to 255 characters. Callers
  // pass the configuration file's line buffers (BrCfgFile::ciLineLen, 260 characters) or larger.
  static const int ciDefaultValueLen = 256;
  // Most sections one chain may visit before it is taken as a loop.
  static const int ciMaxChain = 64;

  BrScriptDaemon();
  virtual ~BrScriptDaemon();

  bool LoadProperty(int& out, const char* section, BrCfgFile* file, const char* key);
  // A value in the section itself that reads as no finite number gives false and is named in the log, once.
  bool LoadProperty(float& out, const char* section, BrCfgFile* file, const char* key);
  // "1", "true" or "yes" (any case) is true; any other value is false.
  bool LoadProperty(bool& out, const char* section, BrCfgFile* file, const char* key);
  // Copies the value into out, cut to fit ciDefaultValueLen characters with its terminator.
  bool LoadProperty(char* out, const char* section, BrCfgFile* file, const char* key);
  // Copies the value into out, cut to fit outSize characters with its terminator.
  bool LoadProperty(char* out, int outSize, const char* section, BrCfgFile* file, const char* key);
  bool LoadProperty(BrStringT<char>& out, const char* section, BrCfgFile* file, const char* key);
  // A comma-separated list of at most max values.
  bool LoadPropertyList(int* values, int max, const char* section, BrCfgFile* file, const char* key);
  bool LoadPropertyList(BrStringT<char>* values, int max, const char* section, BrCfgFile* file, const char* key);
  // The number of values of a list.
  bool LoadPropertyListSize(const char* section, BrCfgFile* file, const char* key, int& count);

  // Names in the log a configured value that is not used, and why; each section, key and value once, since a
  // section is read again for every object spawned from it.
  void Refuse(const char* section, const char* key, const char* value, const char* why);
  // The same for a number, written as the log writes numbers.
  void RefuseNumber(const char* section, const char* key, float value, const char* why);
  // The same for a number whose size is beyond most: "is <what> (at most <most>)".
  void RefuseBeyond(const char* section, const char* key, float value, float most, const char* what);

private:
  // Walks the chain from section; read is tried on each section in turn until it succeeds.
  template <class Read>
  bool Walk(const char* section, BrCfgFile* file, const char* key, Read read);

  // "section/key=value" of each value already named in the log by Refuse.
  TDArray<BrStringT<char>> m_Refused;
};
