// BrGUI: the root of the widget tree, owned by the engine: top-level controls, the focus control and the modal control.
#pragma once

#include "templates/BrStringT.h"
#include "templates/TDArray.h"

class BrUIControl;
class BrRenderBase;

// The engine creates it at start-up and destroys it at exit; the host draws it after the application.
// Coordinates are screen fractions (0,0 top left, 1,1 bottom right).
class BrGUI {
public:
  BrGUI();
  // Does not delete the controls: Destroy does.
  virtual ~BrGUI();

  // Appends a top-level control (owned); null is ignored, and a control already held is kept once.
  void AddControl(BrUIControl* control);
  // Draws the active top-level controls in the order they were added, except that the one holding the modal
  // control (or the modal control itself) is drawn last, over all the others; then the cursors of the active
  // top-level HUDs, over everything.
  void Draw(BrRenderBase* const render);
  // True while Draw runs: a control drawn both by its owner and as a top-level control tells the two apart.
  bool IsDrawing() const { return m_iDrawing > 0; }
  // True when control is one of the top-level controls.
  bool IsTopControl(const BrUIControl* control) const;
  // The modal control alone when there is one (active or not); otherwise the active top-level controls from the
  // last added to the first, the first to take the click winning. False when none took it.
  bool LeftClick(float x, float y);
  // Hands the key to the focus control; nothing without one.
  void KeyPressed(int key);
  // The old focus control loses the focus, then control (when not null) gains it, even when it had it already.
  void SetFocusControl(BrUIControl* control);
  BrUIControl* GetFocusControl() const { return m_pFocus; }
  // The first top-level control with that id, or, when recursive, the first descendant with it; null for an empty
  // id or when none matches.
  BrUIControl* GetControl(const BrStringT<char>& id, bool recursive);
  // The top-level control with that id and its subtree become active (the walk stops there); with recursive, each
  // top-level control before it also searches its own subtree.
  void ActivateControl(const BrStringT<char>& id, bool recursive);
  // The same, making them inactive.
  void DeactivateControl(const BrStringT<char>& id, bool recursive);
  // Opens (non-null) or closes (null) the modal control. Opening the first one remembers the camera's controller
  // and switches it to the menu controller "BrRAGMenuCtrl"; closing restores the remembered one. A different
  // modal control open before is destroyed, taken out of its parent's (or this) list and deleted, after the
  // click or key in progress when there is one; the control already modal is kept as it is.
  void SetModalControl(BrUIControl* control);
  BrUIControl* GetModalControl() const { return m_pModal; }
  // A modal control is open.
  bool IsModal() const { return m_pModal != nullptr; }
  // The top of the click chain: false.
  bool ControlLeftClicked(const BrStringT<char>&) { return false; }
  bool ControlRightClicked(const BrStringT<char>&) { return false; }
  // Destroys and deletes the top-level controls; no controls, focus or modal control afterwards.
  void Destroy();
  // Top-level slots held.
  int GetNumControls() const { return m_Controls.GetCount(); }
  // The top-level control in slot i; null outside the list.
  BrUIControl* GetTopControl(int i);
  // Drops every pointer the GUI keeps to a control that is being deleted (list slot, focus, modal).
  void ForgetControl(const BrUIControl* control);
  // The controller name remembered when the first modal control opened; empty when there was none.
  const BrStringT<char>& GetSavedController() const { return m_SavedController; }

protected:
  TDArray<BrUIControl*> m_Controls;
  BrUIControl* m_pFocus;
  BrUIControl* m_pModal;
  BrStringT<char> m_SavedController;
  int m_iDrawing;
};
