// BrFmtParseBase: the format-parser device a plug-in implements to fill the application's map from a map file.
#pragma once

#include <cstdint>

#include "core/BrSubSystem.h"
#include "templates/BrStringT.h"

class BrMap;

class BrFmtParseBase : public BrSubSystem {
public:
  BrFmtParseBase();
  BrFmtParseBase(const BrFmtParseBase& other);
  BrFmtParseBase& operator=(const BrFmtParseBase& other);
  ~BrFmtParseBase() override;

  bool Init() override = 0;
  bool Exit() override = 0;
  // Reads what the file says of the game (it may name the application); the engine passes 0 as the integer.
  virtual bool ExtractInfo(BrStringT<char>& path, int32_t flags) = 0;
  // A parser operation the engine never calls.
  virtual bool ParserOperation1() = 0;
  // Fills the map from the file given to ExtractInfo.
  virtual bool Convert(BrMap* map) = 0;
  // A parser operation the engine never calls.
  virtual bool ParserOperation2() = 0;

protected:
  bool m_bParsed;
  int32_t m_iParseState;
};
