// BrFont: one bitmap font's grid, effector and character widths read from the width file beside its texture.
#include "engine/presentation/BrFont.h"

#include <algorithm>

#include "core/brcr.h"
#include "engine/presentation/BrMediaPath.h"

BR_IMPLEMENT_CLASS(BrFont, BrObject)

BrFont::BrFont() : m_iFX(0), m_iCharsWide(16), m_iCharsHigh(16), m_iMinASCII(0), m_iMaxASCII(255), m_iCellSize(64) {}

BrFont::~BrFont() {}

void BrFont::Serialize(BrBin& bin) { BrObject::Serialize(bin); }

void BrFont::Destroy() {
  m_FontName = BrStringT<char>();
  m_Widths.Clear();
  BrObject::Destroy();
}

void BrFont::SetName(const BrStringT<char>& name) {
  m_FontName = name;
  LoadCharWidths();
}

float BrFont::GetCharWidthA(int code) const {
  // Codes past the widths read are not looked up: they get the full cell.
  if (code < 0 || code >= m_Widths.GetCount() || m_iCellSize <= 0) return 1.0f;
  return (float)m_Widths[code] / (float)m_iCellSize;
}

bool BrFont::GetCharCell(int code, float& uLeft, float& vTop, float& uRight, float& vBottom) const {
  if (code < m_iMinASCII || code > m_iMaxASCII || m_iCharsWide <= 0 || m_iCharsHigh <= 0) return false;
  const int cell = code - m_iMinASCII;
  const int column = cell % m_iCharsWide;
  const int row = cell / m_iCharsWide;
  uLeft = (float)column / (float)m_iCharsWide;
  uRight = uLeft + 1.0f / (float)m_iCharsWide;
  vTop = (float)row / (float)m_iCharsHigh;
  vBottom = vTop + 1.0f / (float)m_iCharsHigh;
  return true;
}

void BrFont::LoadCharWidths() {
  m_Widths.Clear();
  const int wanted = m_iCharsWide * m_iCharsHigh;
  if (wanted <= 0) return;

  // The width file is the texture's name with its first ".tga" replaced by "BM.dat".
  BrStringT<char> file = m_FontName;
  const int dot = m_FontName.Find(BrStringT<char>(".tga"), 0);
  if (dot >= 0) {
    file = dot > 0 ? m_FontName(0, dot) : BrStringT<char>();
    file += BrStringT<char>("BM.dat");
    if (dot + 4 < m_FontName.Length()) file += m_FontName(dot + 4, m_FontName.Length() - (dot + 4));
  }
  const BrStringT<char> path = brMediaPath(file);

  int read = 0;
  BrBin bin;
  bin.Loading();
  if (bin.Open(path.c_str(), eFileRead | eFileBinary | eFileSystem)) {
    for (; read < wanted; ++read) {
      uint16_t w = 0;
      if (!bin.Stream(&w, 2, 1)) break;
      // A width wider than the cell would lay text out far past its cells (a damaged file, or the texture
      // itself read as widths): no character is wider than its cell.
      m_Widths.Add(std::min((int32_t)w, (int32_t)m_iCellSize));
    }
    bin.Close();
  }
  // A missing or short file would leave characters without widths; they get the whole cell, so text still
  // lays out (widely) instead of reading widths that were never there.
  if (read < wanted) {
    GLog.printf("WARNING: Font width file %s gave %i of %i widths; the rest use the full cell",
                path.c_str() ? path.c_str() : "", read, wanted);
    for (int i = read; i < wanted; ++i) m_Widths.Add(m_iCellSize);
  }
  m_Widths.FreeExtra();
}
