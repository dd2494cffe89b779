// BrUITextButton: a clickable line of text in a chosen font, size and colour, highlighted under the pointer.
#pragma once

#include "engine/presentation/BrRect.h"
#include "engine/presentation/BrUIControl.h"

// Reports its clicks by id up the parent chain. Can size itself around its text, centred on a point or
// right-justified to an edge.
class BrUITextButton : public BrUIControl {
  BR_DECLARE_CLASS(BrUITextButton)
public:
  // Empty text, font "Fonts\\fontVanilla.tga", white text and highlight, size 0, area set by the owner.
  BrUITextButton();
  BrUITextButton(const BrUITextButton& other);
  BrUITextButton& operator=(const BrUITextButton& other);
  ~BrUITextButton() override;

  // The BrObject part only.
  void Serialize(BrBin& bin) override;
  // The text (no background, no children); under the pointer a highlight copy in the rollover colour slightly
  // below it, except when the rollover colour has a channel of exactly 64 (the mark of a disabled option).
  void Draw(BrRenderBase* const render) override;
  // Within the width (edges included) and strictly within the middle 80 per cent of the height.
  bool CoversPoint(float x, float y) override;

  // Sizes the area to the text and centres it on (x, y).
  virtual void CentreAt(float x, float y);
  // Sizes the area to the text with its right edge at right, keeping the top edge.
  virtual void RightJustify(float right);
  // out becomes a copy of the text shown.
  virtual void GetText(BrStringT<char>& out);

  void SetText(const BrStringT<char>& text) { m_Text = text; }
  void SetFont(const BrStringT<char>& font) { m_Font = font; }
  void SetTextColour(const BrARGB& colour) { m_TextColour = colour; }
  void SetRolloverTextColour(const BrARGB& colour) { m_RolloverTextColour = colour; }
  void SetTextSize(int size) { m_iTextSize = size; }
  const BrARGB& GetTextColour() const { return m_TextColour; }
  const BrARGB& GetRolloverTextColour() const { return m_RolloverTextColour; }
  // 0: area set by the owner; 1: centred by CentreAt; 2: right-justified by RightJustify.
  int GetJustification() const { return m_iJustification; }

protected:
  // The extent of GetText's text in the button's font and size; false without a rendering device.
  bool MeasureText(BrRect& rect);
  // Draws text at the button's position, and the highlight copy when highlight is true.
  void DrawLine(BrRenderBase* const render, BrStringT<char>& text, bool highlight);

  BrStringT<char> m_Text;
  BrStringT<char> m_Font;
  BrARGB m_TextColour;
  BrARGB m_RolloverTextColour;
  int32_t m_iTextSize;
  int32_t m_iJustification;
};
