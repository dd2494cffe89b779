// _RAGObjSpawnDef and BrRAGObjConfig: the table of object kinds read from the game's object configuration files.
#pragma once

#include <cstdint>

#include "templates/BrStringT.h"
#include "templates/TDArray.h"

class BrBin;

// One kind: a section of an object configuration file. Plain data, copied by value; a new one is all zero.
struct _RAGObjSpawnDef {
  // Size of each text field, terminator included: names and values keep at most 63 characters.
  static const int ciNameLen = 64;

  char name[ciNameLen];    // the section name
  char type[ciNameLen];    // the key Type: the parent kind or a native class
  char native[ciNameLen];  // the end of the Type chain as far as the kinds loaded before this one go
  float rarity;            // the key Rarity
  int32_t levels[2];       // the key Levels: lowest and highest level
  int32_t noAutoSpawn;     // the key NoAutoSpawn; 1 when Type, Rarity or Levels is missing
};

// The map's table of kinds, in the order loaded (file by file, section by section).
class BrRAGObjConfig {
public:
  // Longest Type chain followed; a longer one is taken for a loop, logged and cut there.
  static const int ciMaxChain = 256;

  // An empty table.
  BrRAGObjConfig();
  // Copy the table element by element.
  BrRAGObjConfig(const BrRAGObjConfig& other);
  BrRAGObjConfig& operator=(const BrRAGObjConfig& other);
  virtual ~BrRAGObjConfig();

  // Appends one definition per section of the configuration file at path (relative to the working folder).
  // A file that cannot be opened logs a warning, adds nothing and gives false; without a script daemon nothing
  // is added either. Names and values that do not fit the 64-character fields are cut, with a warning.
  virtual bool LoadTypesFromFile(const BrStringT<char>& path);

  // Empties the table.
  void Reset();
  // The number of definitions.
  int GetNumTypes() const { return m_Types.GetCount(); }
  // A copy of definition i (all zero outside the table, after the array's bounds warning).
  _RAGObjSpawnDef GetType(int i) const;
  // Follows the Type chain from name and writes its end into out (64 characters); always false.
  bool GetType(const char* name, char* out) const;
  // The same walk: false with out untouched when the table is empty, otherwise true with the chain's end.
  bool GetNativeType(const char* name, char* out) const;
  // The type of the first definition named name into out: true; false when there is none.
  bool GetParentType(const char* name, char* out) const;

  // The table is not part of any stream: does nothing.
  void Serialize(BrBin& bin);

private:
  // The end of the chain from name into out (64 characters); a loop is cut at ciMaxChain links with a log line.
  void WalkChain(const char* name, char* out) const;

  TDArray<_RAGObjSpawnDef> m_Types;
};
