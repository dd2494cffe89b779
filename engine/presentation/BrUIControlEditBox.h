// BrUIControlEditBox: a text box into which the player types one line while it holds the GUI's key focus.
#pragma once

#include "engine/presentation/BrUIControlTextBox.h"

// A click takes the key focus, Enter gives it up. The first key after gaining the focus replaces the old content.
// Typed text always ends with one newline.
class BrUIControlEditBox : public BrUIControlTextBox {
  BR_DECLARE_CLASS(BrUIControlEditBox)
public:
  // No edit bar yet, offsets 0, at most 32 characters.
  BrUIControlEditBox();
  BrUIControlEditBox(const BrUIControlEditBox& other);
  BrUIControlEditBox& operator=(const BrUIControlEditBox& other);
  ~BrUIControlEditBox() override;

  // The BrObject part only.
  void Serialize(BrBin& bin) override;
  // The control, then each line at the edit offset in the text colour, over a bar while the box has the focus.
  void Draw(BrRenderBase* const render) override;
  // Takes the key focus when active and covering the point (true); the click goes no further.
  bool LeftClick(float x, float y) override;
  void LostFocus() override;
  // Arms the clearing of the text by the next key.
  void GotFocus() override;
  // Letters A-Z, digits and space are typed (up to the maximum length), 8 removes the last character, 13 gives up
  // the focus; other keys change nothing.
  void KeyPressed(int key) override;

  // Where the text sits inside the box, as fractions of its width and height.
  void SetEditOffset(float x, float y) {
    m_fEditOffsetX = x;
    m_fEditOffsetY = y;
  }
  // The longest text that can be typed, in visible characters.
  void SetMaxEditLength(int length) { m_iMaxLength = length; }
  bool WillClearOnNextKey() const { return m_bClearOnNextKey; }

protected:
  int32_t m_iEditEffector;
  bool m_bClearOnNextKey;
  float m_fEditOffsetX;
  float m_fEditOffsetY;
  int32_t m_iMaxLength;
};
