// BrUISelector: a text button that cycles through a list of strings on each click.
#pragma once

#include "engine/presentation/BrUITextButton.h"

// Keeps its clicks for itself: owners read the choice with GetText.
class BrUISelector : public BrUITextButton {
  BR_DECLARE_CLASS(BrUISelector)
public:
  // No entries, no current entry.
  BrUISelector();
  BrUISelector(const BrUISelector& other);
  BrUISelector& operator=(const BrUISelector& other);
  ~BrUISelector() override;

  // The BrObject part only.
  void Serialize(BrBin& bin) override;
  // The current entry, with the highlight copy under the pointer; nothing without a current entry.
  void Draw(BrRenderBase* const render) override;
  // When active and covering the point: the next entry becomes current (wrapping), a right-justified selector
  // keeps its right edge; true, also with no entries. Never reported to the parent chain.
  bool LeftClick(float x, float y) override;
  // The current entry; empty when there is none.
  void GetText(BrStringT<char>& out) override;

  // Appends a copy of s and makes it current.
  void AddSelection(const BrStringT<char>& s);
  // The first entry equal to s becomes current; nothing changes when none is equal.
  void SetCurrSelection(const BrStringT<char>& s);
  int GetNumSelections() const { return m_Selections.GetCount(); }
  int GetCurrSelection() const { return m_iCurrSelection; }

protected:
  TDArray<BrStringT<char>> m_Selections;
  int32_t m_iCurrSelection;
};
