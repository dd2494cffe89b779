// BrRAGPlayerMsg: one on-screen message of the player: a line of text or a row of item icons with their result.
#pragma once

#include <cstdint>

#include "core/BrARGB.h"
#include "templates/BrStringT.h"
#include "templates/TDArray.h"

class BrRenderBase;

// A plain value filled by the code that builds it and handed by value to the player HUD, which keeps, steps and
// draws it. A message with at least one icon and a result icon draws as an icon row; any other as text.
class BrRAGPlayerMsg {
public:
  // Display time -1.0, empty text, no icons, no result icon, opaque white, not held.
  BrRAGPlayerMsg();
  // Deep copies of every field.
  BrRAGPlayerMsg(const BrRAGPlayerMsg& other);
  BrRAGPlayerMsg& operator=(const BrRAGPlayerMsg& other);
  ~BrRAGPlayerMsg();

  // Equal hold flags, display times, result icons and texts, and icon lists of the same length (the icon values
  // themselves are not compared).
  bool operator==(const BrRAGPlayerMsg& other) const;

  // Lowers the display time by dt unless the message is held; it may go below zero without limit.
  void Step(float dt);
  // Draws the message with its top at y: a text line centred on x (y unchanged), or an icon row centred on the
  // screen, which first lowers y by one line of the current font.
  void Draw(BrRenderBase* const render, float x, float& y);

  // An icon row: at least one component icon and a result icon.
  bool IsCompound() const { return mIcons.GetCount() > 0 && miResultIcon != 0; }

  float mfDisplayTime;    // seconds left; the HUD treats > 0 as live, < 0 as expired
  BrStringT<char> mText;  // the text of a text message
  TDArray<int> mIcons;    // effector indices of the component icons, in display order
  int32_t miResultIcon;   // effector index of the result icon; 0 for none
  BrARGB mColour;         // text colour
  bool mbHold;            // while true the display time does not run down

  // The equals sign's effector, made by the first Draw of any message; 0 until then.
  static int miEqualsFX;
};
