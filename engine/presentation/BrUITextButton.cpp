// BrUITextButton: measuring, placing and drawing the button's line of text.
#include "engine/presentation/BrUITextButton.h"

#include "engine/kernel/BrEngine.h"
#include "engine/presentation/BrFontMgr.h"
#include "engine/presentation/BrRenderBase.h"

BR_IMPLEMENT_CLASS(BrUITextButton, BrUIControl)

BrUITextButton::BrUITextButton()
    : m_Font("Fonts\\fontVanilla.tga"),
      m_TextColour(255, 255, 255, 255),
      m_RolloverTextColour(255, 255, 255, 255),
      m_iTextSize(0),
      m_iJustification(0) {}

BrUITextButton::BrUITextButton(const BrUITextButton& other)
    : BrUIControl(other),
      m_Text(other.m_Text),
      m_Font(other.m_Font),
      m_TextColour(other.m_TextColour),
      m_RolloverTextColour(other.m_RolloverTextColour),
      m_iTextSize(other.m_iTextSize),
      m_iJustification(other.m_iJustification) {}

BrUITextButton& BrUITextButton::operator=(const BrUITextButton& other) {
  if (this == &other) return *this;
  BrUIControl::operator=(other);
  m_Text = other.m_Text;
  m_Font = other.m_Font;
  m_TextColour = other.m_TextColour;
  m_RolloverTextColour = other.m_RolloverTextColour;
  m_iTextSize = other.m_iTextSize;
  m_iJustification = other.m_iJustification;
  return *this;
}

BrUITextButton::~BrUITextButton() {}

void BrUITextButton::Serialize(BrBin& bin) { BrObject::Serialize(bin); }

void BrUITextButton::GetText(BrStringT<char>& out) { out = m_Text; }

bool BrUITextButton::MeasureText(BrRect& rect) {
  BrRenderBase* render = Engine().Render();
  BrFontMgr* fonts = render ? render->FontMgr() : nullptr;
  if (!fonts) return false;
  const int previous = fonts->GetCurrFontID();
  fonts->SetFont(m_Font);
  fonts->SizeUp(m_iTextSize);
  BrStringT<char> text;
  GetText(text);
  rect = fonts->GetTextRect(text);
  fonts->SizeDown(m_iTextSize);
  fonts->SetFont(previous);
  return true;
}

void BrUITextButton::CentreAt(float x, float y) {
  BrRect rect;
  if (MeasureText(rect)) {
    const float w = rect.GetWidth();
    const float h = rect.GetHeight();
    SetArea(x - w / 2.0f, y - h / 2.0f, w, h);
  }
  m_iJustification = 1;
}

void BrUITextButton::RightJustify(float right) {
  BrRect rect;
  if (MeasureText(rect)) {
    const float w = rect.GetWidth();
    const float h = rect.GetHeight();
    SetArea(right - w, m_fPosY, w, h);
  }
  m_iJustification = 2;
}

// The top and bottom tenths are left out, so that stacked lines of text do not both answer one click.
bool BrUITextButton::CoversPoint(float x, float y) {
  return m_fPosX <= x && x <= m_fPosX + m_fWidth && m_fPosY + 0.1f * m_fHeight < y && y < m_fPosY + 0.9f * m_fHeight;
}

void BrUITextButton::DrawLine(BrRenderBase* const render, BrStringT<char>& text, bool highlight) {
  if (!render || text.Length() == 0) return;
  BrFontMgr* fonts = render->FontMgr();
  if (!fonts) return;
  char format[] = "%s";
  const int previous = fonts->GetCurrFontID();
  fonts->SetFont(m_Font);
  fonts->SizeUp(m_iTextSize);
  render->DrawTextf(m_fPosX, m_fPosY, m_TextColour, eFontFormatNone, format, text.c_str());
  if (highlight) {
    render->DrawTextf(m_fPosX, m_fPosY + 0.05f * fonts->GetNewLineHeight(), m_RolloverTextColour, eFontFormatNone,
                      format, text.c_str());
  }
  fonts->SizeDown(m_iTextSize);
  fonts->SetFont(previous);
}

void BrUITextButton::Draw(BrRenderBase* const render) {
  // The dialog greys out disabled options with a channel of 64; they must not light up.
  const bool disabledLook =
      m_RolloverTextColour.r == 64 || m_RolloverTextColour.g == 64 || m_RolloverTextColour.b == 64;
  DrawLine(render, m_Text, m_bRollover && !disabledLook);
}
