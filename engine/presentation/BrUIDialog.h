// BrUIDialog: a box with an optional icon, a paragraph of text and a right-aligned column of options.
#pragma once

#include "engine/presentation/BrUIControl.h"

class BrRenderBase;

// One option of a dialog: its label, the id its button reports, and whether it can be chosen.
struct _dialogoption {
  BrStringT<char> label;
  BrStringT<char> id;
  bool enabled = true;
};

// Each option becomes a text button child on the first drawing that shows the text; a click on it reports the
// option's id (disabled options: "NULL") up the parent chain. Usually opened as the GUI's modal control.
class BrUIDialog : public BrUIControl {
  BR_DECLARE_CLASS(BrUIDialog)
public:
  // No icon, text or options; margin 0.01, font "Fonts\\fontVanilla.tga", text size 0, icon size 0.1.
  BrUIDialog();
  BrUIDialog(const BrUIDialog& other);
  BrUIDialog& operator=(const BrUIDialog& other);
  ~BrUIDialog() override;

  // The BrObject part only.
  void Serialize(BrBin& bin) override;
  // Empties the options, then the control's Destroy (which destroys and deletes the option buttons).
  void Destroy() override;
  // The control and its buttons, the icon as a square at the top left inside the margin, the text under it, and on
  // the first drawing with text the option buttons under the text.
  void Draw(BrRenderBase* const render) override;

  void SetDialogText(const BrStringT<char>& text) { m_Text = text; }
  const BrStringT<char>& GetDialogText() const { return m_Text; }
  void SetDialogFont(const BrStringT<char>& font) { m_Font = font; }
  void SetDialogTextSize(int size) { m_iTextSize = size; }
  // Inner margin as a fraction of the dialog's width (horizontally) and height (vertically).
  void SetPadding(float margin) { m_fMargin = margin; }
  // Icon width as a fraction of the dialog's width.
  void SetDialogIconSize(float size) { m_fIconSize = size; }
  // The icon becomes the effector "DlgIcon" + file; nothing changes without a rendering device or for an empty name.
  void SetDialogIcon(const BrStringT<char>& file);
  // Appends an option. Options added after the buttons were made get no button.
  void AddDialogOption(const BrStringT<char>& label, const BrStringT<char>& id, bool enabled);
  int GetNumOptions() const { return m_Options.GetCount(); }
  int GetIconEffector() const { return m_iIconEffector; }

protected:
  // Empties every option and the list; buttons already made stay among the children.
  void DeleteOptions();
  // Makes one text button per option, right-aligned against the inner right margin from y down; y ends under the
  // last one.
  void SpawnDialogOptions(float& y);

  int32_t m_iIconEffector;
  BrStringT<char> m_Text;
  TDArray<_dialogoption> m_Options;
  float m_fMargin;
  BrStringT<char> m_Font;
  int32_t m_iTextSize;
  float m_fIconSize;
};
