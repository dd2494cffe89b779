// BrFont: one bitmap font: a texture grid of character cells, its effector and the width of every character.
#pragma once

#include <cstdint>

#include "engine/kernel/BrClassFactory.h"
#include "templates/BrStringT.h"
#include "templates/TDArray.h"

// A grid of 16 x 16 cells of 64 pixels for the codes 0 to 255. Created by name ("BrFont") by the font manager.
class BrFont : public BrObject {
  BR_DECLARE_CLASS(BrFont)
public:
  BrFont();
  BrFont(const BrFont& other) = default;
  BrFont& operator=(const BrFont& other) = default;
  ~BrFont() override;

  // BrObject's form only.
  void Serialize(BrBin& bin) override;
  // Empties the name and the widths, then BrObject::Destroy.
  void Destroy() override;

  // Stores the texture file (relative to the media folder) and loads the widths beside it.
  void SetName(const BrStringT<char>& name);
  const BrStringT<char>& GetName() const { return m_FontName; }
  // The font texture's effector; negative values are stored as 0.
  void SetFX(int fx) { m_iFX = fx < 0 ? 0 : fx; }
  int GetFX() const { return m_iFX; }
  int GetMinASCII() const { return m_iMinASCII; }
  int GetMaxASCII() const { return m_iMaxASCII; }
  int GetNumCharsWide() const { return m_iCharsWide; }
  int GetNumCharsHigh() const { return m_iCharsHigh; }
  int GetCellSizePixels() const { return m_iCellSize; }
  // The character's width as a fraction of its cell; 1.0 (the full cell) for a code without a width.
  float GetCharWidthA(int code) const;
  // The number of widths held.
  int GetNumWidths() const { return m_Widths.GetCount(); }
  // The texture rectangle of the character's cell; false for a code outside the font's range.
  bool GetCharCell(int code, float& uLeft, float& vTop, float& uRight, float& vBottom) const;

protected:
  // Reads wide x high 16-bit widths from the width file; a missing or short file logs a warning and gives
  // the missing characters the full cell.
  void LoadCharWidths();

  int32_t m_iFX;
  int32_t m_iCharsWide;
  int32_t m_iCharsHigh;
  int32_t m_iMinASCII;
  int32_t m_iMaxASCII;
  BrStringT<char> m_FontName;  // the font's texture file
  TDArray<int32_t> m_Widths;
  int32_t m_iCellSize;
};
