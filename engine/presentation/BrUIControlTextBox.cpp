// BrUIControlTextBox: splitting the text into lines and drawing them.
#include "engine/presentation/BrUIControlTextBox.h"

#include "engine/presentation/BrFontMgr.h"
#include "engine/presentation/BrRenderBase.h"

BR_IMPLEMENT_CLASS(BrUIControlTextBox, BrUIControl)

BrUIControlTextBox::BrUIControlTextBox()
    : m_TextFormat(eFontFormatNone), m_TextColour(255, 255, 255, 255), m_Text("TextBox"), m_iSizeInc(0) {}

BrUIControlTextBox::BrUIControlTextBox(const BrUIControlTextBox& other)
    : BrUIControl(other),
      m_TextFormat(other.m_TextFormat),
      m_TextColour(other.m_TextColour),
      m_Text(other.m_Text),
      m_iSizeInc(other.m_iSizeInc) {}

BrUIControlTextBox& BrUIControlTextBox::operator=(const BrUIControlTextBox& other) {
  if (this == &other) return *this;
  BrUIControl::operator=(other);
  m_TextFormat = other.m_TextFormat;
  m_TextColour = other.m_TextColour;
  m_Text = other.m_Text;
  m_iSizeInc = other.m_iSizeInc;
  return *this;
}

BrUIControlTextBox::~BrUIControlTextBox() {}

void BrUIControlTextBox::Serialize(BrBin& bin) { BrObject::Serialize(bin); }

void BrUIControlTextBox::SplitLines(TDArray<BrStringT<char>>& lines) const {
  lines.Clear();
  BrStringT<char> line;
  const char* text = m_Text.c_str();
  for (int i = 0; text && i < m_Text.Length(); ++i) {
    if (text[i] == '\n') {
      lines.Add(line);
      line = BrStringT<char>();
    } else {
      line += text[i];
    }
  }
}

void BrUIControlTextBox::Draw(BrRenderBase* const render) {
  BrUIControl::Draw(render);
  BrFontMgr* fonts = render ? render->FontMgr() : nullptr;
  if (!fonts) return;
  fonts->SizeUp(m_iSizeInc);
  if (m_Text.Length() > 0) {
    TDArray<BrStringT<char>> lines;
    SplitLines(lines);
    BrARGB white(255, 255, 255, 255);
    float lineY = m_fPosY;
    for (int i = 0; i < lines.GetCount(); ++i) {
      if (lines[i].Length() > 0) fonts->DrawTextA(m_fPosX + 0.5f * m_fWidth, lineY, white, m_TextFormat, lines[i]);
      lineY += fonts->GetNewLineHeight();
    }
  }
  fonts->SizeDown(m_iSizeInc);
}
