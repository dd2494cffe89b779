// BrUIControlListBox: a scrolling list of text lines with a title, a selection bar and two scroll buttons.
#pragma once

#include "engine/presentation/BrUIControl.h"

// Owners fill it (ClearList, then AddListItem for each line) and read the chosen line with GetCurrentItemText.
// The scroll buttons, children with the ids "ControlScrollUp" and "ControlScrollDown", appear once the list holds
// more lines than its visible rows.
class BrUIControlListBox : public BrUIControl {
  BR_DECLARE_CLASS(BrUIControlListBox)
public:
  // No items, first row 0, ten visible rows, no selection, no selection bar, rows from 0.2 to 0.9 of the height.
  BrUIControlListBox();
  BrUIControlListBox(const BrUIControlListBox& other);
  BrUIControlListBox& operator=(const BrUIControlListBox& other);
  ~BrUIControlListBox() override;

  // The BrObject part only.
  void Serialize(BrBin& bin) override;
  // The control's defaults, then an empty list; true.
  bool Init() override;
  // The control's Destroy, then an empty list.
  void Destroy() override;
  // Background and scroll buttons, the visible rows (the selected one on its bar, one under the pointer
  // highlighted), then the title.
  void Draw(BrRenderBase* const render) override;
  // The scroll buttons and the box's own id first; a click outside the box's rectangle changes nothing;
  // otherwise the row at y becomes the selection (none above or below the rows).
  bool LeftClick(float x, float y) override;
  // Scrolls for the scroll buttons' ids (down at the bottom is passed on); other ids go up the parent chain.
  bool ControlLeftClicked(const BrStringT<char>& id) override;

  // Appends a copy of s; shows the scroll buttons while the items outnumber the visible rows. A refill that differs
  // from the list before the last ClearList drops the selection, so no line other than the one chosen is returned.
  void AddListItem(const BrStringT<char>& s);
  // Empties the items; the first visible row and the selection stay.
  void ClearList();
  // The selected line; empty when nothing (or nothing present) is selected.
  BrStringT<char> GetCurrentItemText();
  void setTitle(const BrStringT<char>& title) { m_Title = title; }
  // The selection bar's texture, shared by every list box under the effector "ShaderListBoxSelect": the first file
  // given is the one used.
  void SetSelectTexture(const BrStringT<char>& file);
  // Height of the band of rows, in screen fractions.
  float GetViewHeight() const { return (m_fListBottom - m_fListTop) * m_fHeight; }
  int GetNumItems() const { return m_Items.GetCount(); }
  int GetFirstVisible() const { return m_iFirstVisible; }
  int GetVisibleRows() const { return m_iVisibleRows; }
  int GetSelected() const { return m_iSelected; }
  int GetSelectEffector() const { return m_iSelectEffector; }

protected:
  // Creates the scroll buttons on first need, places them on the box's current area and activates them.
  void ShowScrollBar();
  // Deactivates the scroll buttons.
  void HideScrollBar();
  float RowHeight() const { return GetViewHeight() / float(m_iVisibleRows); }

  TDArray<BrStringT<char>> m_Items;
  int32_t m_iFirstVisible;
  int32_t m_iVisibleRows;
  int32_t m_iSelected;
  int32_t m_iSelectEffector;
  float m_fListTop;
  float m_fListBottom;
  BrStringT<char> m_Title;
  // The lines before the last ClearList, to tell a refill of the same list from a different one.
  TDArray<BrStringT<char>> m_PreviousItems;
};
