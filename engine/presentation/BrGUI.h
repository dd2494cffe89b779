// BrGUI: the root of the widget tree, owned by the engine: top-level controls, the focus control and the modal control.
#pragma once

#include "templates/BrStringT.h"
#include "templates/TDArray.h"

class BrUIControl;
class BrRenderBase;

// The engine creates it at start-up and destroys it at exit; the host draws it after the application.
class BrGUI {
public:
  BrGUI();
  virtual ~BrGUI();

  // Appends a top-level control (owned); null is ignored.
  void AddControl(BrUIControl* control);
  // Draws the active top-level controls in the order they were added.
  void Draw(BrRenderBase* const render);
  // Hands the key to the focus control; nothing without one.
  void KeyPressed(int key);
  void SetFocusControl(BrUIControl* control);
  BrUIControl* GetFocusControl() const { return m_pFocus; }
  // Opens (non-null) or closes (null) the modal control.
  void SetModalControl(BrUIControl* control);
  BrUIControl* GetModalControl() const { return m_pModal; }
  bool IsModal() const { return m_pModal != nullptr; }
  // Destroys and deletes the top-level controls; no focus or modal control afterwards.
  void Destroy();
  int GetNumControls() const { return m_Controls.GetCount(); }

protected:
  TDArray<BrUIControl*> m_Controls;
  BrUIControl* m_pFocus;
  BrUIControl* m_pModal;
  BrStringT<char> m_SavedController;
};
