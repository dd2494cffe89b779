// BrHUD: the heads-up display control at the top of the widget tree, holding the mouse cursors the game draws.
#pragma once

#include "engine/presentation/BrUIControl.h"

class BrCursor;

// The game creates it by class name, adds it to the GUI and steps it every frame; controls find the pointer
// through its current cursor.
class BrHUD : public BrUIControl {
  BR_DECLARE_CLASS(BrHUD)
public:
  // No cursors, no current cursor.
  BrHUD();
  BrHUD(const BrHUD& other);
  BrHUD& operator=(const BrHUD& other);
  ~BrHUD() override;

  // The BrObject part only.
  void Serialize(BrBin& bin) override;
  // The control's defaults; true.
  bool Init() override;
  // The current cursor, then the control (rollover and children).
  void Step(float dt) override;
  // Destroys and deletes every cursor, then the control's Destroy.
  void Destroy() override;
  // The control and its children, then the current cursor over them. A HUD the widget manager draws as a
  // top-level control leaves its cursor to the manager, which draws it over every other top-level control.
  void Draw(BrRenderBase* const render) override;
  // The current cursor alone.
  void DrawCursor(BrRenderBase* const render);
  // A cursor drawn with texture (registered as "Cur" + texture), 0.05 by 0.05 with the hot spot (hx, hy) as a
  // fraction of its size; its index, or -1 without a rendering device (or when it cannot be made).
  virtual int AddCursor(const BrStringT<char>& texture, float hx, float hy);

  // -1 means the current cursor; null for an index outside the list.
  BrCursor* GetCursor(int i);
  // Makes cursor i current, moving it so that its hot spot lands on the pixel the old one's did. An index outside
  // the list changes nothing.
  void SetCursor(int i);
  int GetCurrentCursor() const { return m_iCurrentCursor; }
  int GetNumCursors() const { return m_Cursors.GetCount(); }

  // The HUD of the running application when it is a game that has one; null otherwise.
  static BrHUD* GameHUD();

protected:
  // AddCursor's work with a cursor made by the class name given (a BrCursor or a class derived from it); -1 on
  // any failure.
  int AddCursorOfClass(const char* cursorClass, const BrStringT<char>& texture, float hx, float hy);
  TDArray<BrCursor*> m_Cursors;
  int32_t m_iCurrentCursor;
};
