// BrUIControlTextBox: a block of newline-terminated lines of text drawn over the control's background.
#pragma once

#include "engine/presentation/BrRenderTypes.h"
#include "engine/presentation/BrUIControl.h"

// Only lines that end with a newline are drawn: characters after the last newline are not shown.
class BrUIControlTextBox : public BrUIControl {
  BR_DECLARE_CLASS(BrUIControlTextBox)
public:
  // Text "TextBox", white text colour, size increment 0, format flags 0.
  BrUIControlTextBox();
  BrUIControlTextBox(const BrUIControlTextBox& other);
  BrUIControlTextBox& operator=(const BrUIControlTextBox& other);
  ~BrUIControlTextBox() override;

  // The BrObject part only.
  void Serialize(BrBin& bin) override;
  // The control, then each complete line in opaque white, centred on the box's middle x when the format says so,
  // one new-line height apart from the box's top.
  void Draw(BrRenderBase* const render) override;

  void SetText(const BrStringT<char>& text) { m_Text = text; }
  const BrStringT<char>& GetText() const { return m_Text; }
  void SetTextColour(const BrARGB& colour) { m_TextColour = colour; }
  BrARGB GetTextColour() const { return m_TextColour; }
  void SetTextFormat(eFontFormatFlags format) { m_TextFormat = format; }
  eFontFormatFlags GetTextFormat() const { return m_TextFormat; }
  // Size steps added to the font manager's size while drawing.
  void SetSizeInc(int steps) { m_iSizeInc = steps; }
  int GetSizeInc() const { return m_iSizeInc; }

protected:
  // The newline-terminated lines of the text, in order, empty ones included; what follows the last newline is left
  // out.
  void SplitLines(TDArray<BrStringT<char>>& lines) const;

  eFontFormatFlags m_TextFormat;
  BrARGB m_TextColour;
  BrStringT<char> m_Text;
  int32_t m_iSizeInc;
};
