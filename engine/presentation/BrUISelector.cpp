// BrUISelector: the list of choices and the click that advances through them.
#include "engine/presentation/BrUISelector.h"

BR_IMPLEMENT_CLASS(BrUISelector, BrUITextButton)

BrUISelector::BrUISelector() : m_iCurrSelection(-1) {}

BrUISelector::BrUISelector(const BrUISelector& other)
    : BrUITextButton(other), m_Selections(other.m_Selections), m_iCurrSelection(other.m_iCurrSelection) {}

BrUISelector& BrUISelector::operator=(const BrUISelector& other) {
  if (this == &other) return *this;
  BrUITextButton::operator=(other);
  m_Selections = other.m_Selections;
  m_iCurrSelection = other.m_iCurrSelection;
  return *this;
}

BrUISelector::~BrUISelector() {}

void BrUISelector::Serialize(BrBin& bin) { BrObject::Serialize(bin); }

void BrUISelector::AddSelection(const BrStringT<char>& s) { m_iCurrSelection = m_Selections.Add(s); }

void BrUISelector::SetCurrSelection(const BrStringT<char>& s) {
  for (int i = 0; i < m_Selections.GetCount(); ++i) {
    if (m_Selections[i] == s) {
      m_iCurrSelection = i;
      return;
    }
  }
}

void BrUISelector::GetText(BrStringT<char>& out) {
  if (m_iCurrSelection >= 0 && m_iCurrSelection < m_Selections.GetCount()) {
    out = m_Selections[m_iCurrSelection];
  } else {
    out = BrStringT<char>();
  }
}

bool BrUISelector::LeftClick(float x, float y) {
  if (!CoversPoint(x, y) || !m_bActive) return false;
  const int count = m_Selections.GetCount();
  if (m_iCurrSelection >= 0 && m_iCurrSelection < count) {
    m_iCurrSelection = (m_iCurrSelection + 1 >= count) ? 0 : m_iCurrSelection + 1;
    if (m_iJustification == 2) RightJustify(m_fPosX + m_fWidth);
  }
  return true;
}

void BrUISelector::Draw(BrRenderBase* const render) {
  BrStringT<char> text;
  GetText(text);
  DrawLine(render, text, m_bRollover);
}
