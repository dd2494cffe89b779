// BrUIControlEditBox: typing, focus and the edit bar.
#include "engine/presentation/BrUIControlEditBox.h"

#include "engine/kernel/BrEngine.h"
#include "engine/presentation/BrEffectorMgr.h"
#include "engine/presentation/BrFontMgr.h"
#include "engine/presentation/BrGUI.h"
#include "engine/presentation/BrRect.h"
#include "engine/presentation/BrRenderBase.h"

BR_IMPLEMENT_CLASS(BrUIControlEditBox, BrUIControlTextBox)

BrUIControlEditBox::BrUIControlEditBox()
    : m_iEditEffector(0), m_bClearOnNextKey(false), m_fEditOffsetX(0.0f), m_fEditOffsetY(0.0f), m_iMaxLength(32) {}

BrUIControlEditBox::BrUIControlEditBox(const BrUIControlEditBox& other)
    : BrUIControlTextBox(other),
      m_iEditEffector(other.m_iEditEffector),
      m_bClearOnNextKey(other.m_bClearOnNextKey),
      m_fEditOffsetX(other.m_fEditOffsetX),
      m_fEditOffsetY(other.m_fEditOffsetY),
      m_iMaxLength(other.m_iMaxLength) {}

BrUIControlEditBox& BrUIControlEditBox::operator=(const BrUIControlEditBox& other) {
  if (this == &other) return *this;
  BrUIControlTextBox::operator=(other);
  m_iEditEffector = other.m_iEditEffector;
  m_bClearOnNextKey = other.m_bClearOnNextKey;
  m_fEditOffsetX = other.m_fEditOffsetX;
  m_fEditOffsetY = other.m_fEditOffsetY;
  m_iMaxLength = other.m_iMaxLength;
  return *this;
}

BrUIControlEditBox::~BrUIControlEditBox() {}

void BrUIControlEditBox::Serialize(BrBin& bin) { BrObject::Serialize(bin); }

void BrUIControlEditBox::Draw(BrRenderBase* const render) {
  BrUIControl::Draw(render);
  BrFontMgr* fonts = render ? render->FontMgr() : nullptr;
  if (!fonts) return;
  // Every step up is taken back below, whatever the text holds, so the shared size never drifts.
  fonts->SizeUp(m_iSizeInc);
  if (m_Text.Length() > 0) {
    TDArray<BrStringT<char>> lines;
    SplitLines(lines);
    float lineY = m_fPosY;
    for (int i = 0; i < lines.GetCount(); ++i) {
      BrStringT<char>& line = lines[i];
      if (line.Length() > 0) {
        const float textX = m_fPosX + m_fEditOffsetX * m_fWidth;
        const float textY = lineY + m_fEditOffsetY * m_fHeight;
        if (m_bFocus) {
          if (m_iEditEffector == 0 && render->FXMgr()) {
            BrStringT<char> name("ShaderEditBoxEdit");
            m_iEditEffector =
                render->FXMgr()->LoadIconA(BrStringT<char>("Textures\\ui\\menus\\listboxselect.tga"), name);
          }
          BrRect extent = fonts->GetTextRect(line);
          render->DrawSprite(textX, textY, extent.maxX, 0.75f * extent.GetHeight() + extent.minY,
                             (unsigned int)m_iEditEffector, 0.001f, m_Colour, 0.0f, 0.001f, 0.001f, 0.999f, 0.999f);
        }
        fonts->DrawTextA(textX, textY, m_TextColour, m_TextFormat, line);
      }
      lineY += fonts->GetNewLineHeight();
    }
  }
  fonts->SizeDown(m_iSizeInc);
}

bool BrUIControlEditBox::LeftClick(float x, float y) {
  if (!CoversPoint(x, y) || !m_bActive) return false;
  if (BrGUI* gui = Engine().GUI()) gui->SetFocusControl(this);
  return true;
}

void BrUIControlEditBox::LostFocus() {
  BrUIControlTextBox::LostFocus();
  m_bClearOnNextKey = false;
}

void BrUIControlEditBox::GotFocus() {
  BrUIControlTextBox::GotFocus();
  m_bClearOnNextKey = true;
}

void BrUIControlEditBox::KeyPressed(int key) {
  if (m_bClearOnNextKey) {
    m_Text = BrStringT<char>();
    m_bClearOnNextKey = false;
  } else if (m_Text.Length() > m_iMaxLength && key != 8 && key != 13) {
    return;
  }

  const bool typed = (key >= 65 && key <= 90) || (key >= 48 && key <= 57) || key == 32;
  if (typed) {
    BrStringT<char> trimmed;
    if (brStrReplace(m_Text, "\n", "", trimmed)) m_Text = trimmed;
    m_Text += char(key);
    m_Text += '\n';
  } else if (key == 13) {
    if (BrGUI* gui = Engine().GUI()) gui->SetFocusControl(nullptr);
  } else if (key == 8) {
    // The last visible character goes and the trailing newline stays; an emptied line leaves no newline behind.
    BrStringT<char> kept;
    const char* text = m_Text.c_str();
    int end = m_Text.Length();
    if (end > 0 && text[end - 1] == '\n') --end;
    for (int i = 0; i < end - 1; ++i) kept += text[i];
    if (kept.Length() > 0) kept += '\n';
    m_Text = kept;
  }
}
