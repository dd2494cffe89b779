// BrUIControl: the base of every widget: an area in screen fractions, a background, an id, and an owned tree of children.
#pragma once

#include <cstdint>

#include "core/BrARGB.h"
#include "engine/kernel/BrClassFactory.h"
#include "templates/BrStringT.h"
#include "templates/TDArray.h"

class BrRenderBase;

// A widget. Geometry is in screen fractions (0,0 top left, 1,1 bottom right). Clicks on a control are reported by
// its id up the chain of parents (ControlLeftClicked / ControlRightClicked), so an ancestor acts on them by id.
// A control owns its children: its Destroy destroys and deletes them.
class BrUIControl : public BrObject {
  BR_DECLARE_CLASS(BrUIControl)
public:
  // Inactive, no parent, empty id, white colour, area and effector 0 until the owner sets them or calls Init.
  BrUIControl();
  // Copies every field memberwise (the child pointers included); nothing in the system copies a control.
  BrUIControl(const BrUIControl& other);
  BrUIControl& operator=(const BrUIControl& other);
  // Runs this class's Destroy (children destroyed and deleted, control deactivated).
  ~BrUIControl() override;

  // The BrObject part only; no widget state is stored.
  void Serialize(BrBin& bin) override;
  // Area (0, 0, 0.1, 0.1), effector 0, empty id, white, active, not modal, no rollover. Returns false.
  bool Init() override;
  // Sets the rollover flag while the HUD's current cursor points at the control; then steps the active children.
  void Step(float dt) override;
  // Marks the control destroyed, destroys and deletes its children, then deactivates it.
  void Destroy() override;

  // A fade tile when modal, the background sprite when active and textured, then every active child over it.
  virtual void Draw(BrRenderBase* const render);
  // The children first (the first that takes it wins); otherwise, when active and covering the point, the result of
  // ControlLeftClicked(own id).
  virtual bool LeftClick(float x, float y);
  // The first active child covering the point gets it and the answer is true; otherwise, when covering the point
  // (active or not), the result of ControlRightClicked(own id).
  virtual bool RightClick(float x, float y);
  // Passes the id to the parent; false at the top of the tree.
  virtual bool ControlLeftClicked(const BrStringT<char>& id);
  virtual bool ControlRightClicked(const BrStringT<char>& id);
  // The first descendant with that id (children only, or the whole subtree when recursive); null when none.
  virtual BrUIControl* GetControl(const BrStringT<char>& id, bool recursive);
  // GetControl(id, recursive), then SetActive(true) / SetActive(false) on it when found.
  virtual void ActivateControl(const BrStringT<char>& id, bool recursive);
  virtual void DeactivateControl(const BrStringT<char>& id, bool recursive);
  // Clear / set the focus flag; the GUI calls them when the key focus moves.
  virtual void LostFocus();
  virtual void GotFocus();
  // A released key's virtual-key code, when the control has the GUI's key focus. Nothing in the base.
  virtual void KeyPressed(int key);
  // The point lies within the area, edges included.
  virtual bool CoversPoint(float x, float y);

  void SetArea(float x, float y, float w, float h);
  float GetPosX() const { return m_fPosX; }
  float GetPosY() const { return m_fPosY; }
  float GetWidth() const { return m_fWidth; }
  float GetHeight() const { return m_fHeight; }
  // The background becomes the icon effector "ShaderControl" + file; 0 (no background) when it cannot be loaded.
  void SetTexture(const BrStringT<char>& file);
  int GetEffector() const { return m_iEffector; }
  void SetColour(const BrARGB& colour) { m_Colour = colour; }
  const BrARGB& GetColour() const { return m_Colour; }
  void SetID(const BrStringT<char>& id) { m_ID = id; }
  BrStringT<char>& GetID() { return m_ID; }
  // Sets the flag on the control and its whole subtree; deactivating the focus control takes the GUI's focus away.
  void SetActive(bool active);
  bool IsActive() const { return m_bActive; }
  // true makes the control the GUI's modal control; false closes it (destroying and, once this call has
  // returned, deleting it) when it is the modal control,
  // and otherwise leaves the GUI's modal control alone.
  void SetModal(bool modal);
  // The modal flag is set and the GUI's modal control is this control.
  bool IsModal() const;
  bool HasFocus() const { return m_bFocus; }
  bool IsRolledOver() const { return m_bRollover; }
  // Puts the child in the first emptied slot (or appends it) and becomes its parent; the slot's index. A child
  // already held keeps its slot. Null: -1, nothing changes.
  int AddChildControl(BrUIControl* child);
  // The control in slot i; null for an emptied slot or an index outside the list.
  BrUIControl* GetChildControl(int i);
  // Slots, emptied ones included.
  int GetNumChildControls() const { return m_Children.GetCount(); }
  // Unlinks the control from its old parent's slot (that exact control, whatever its id), then p is the parent.
  void SetParentControl(BrUIControl* p);
  BrUIControl* GetParentControl() const { return m_pParent; }
  // Empties the first slot holding a control with that id.
  void LostChild(const BrStringT<char>& id);
  // Empties the slot holding that control.
  void LostChild(const BrUIControl* child);

  // Deletes the control now, or, while a click, key or step is being handed through the widget tree, once that
  // has returned: a control is never deleted under one of its own running methods.
  static void DeleteControl(BrUIControl* control);

  // Held for the length of any hand-over of input or time into the tree; deletions asked for meanwhile wait until
  // the outermost one ends.
  class DispatchScope {
  public:
    DispatchScope();
    ~DispatchScope();
    DispatchScope(const DispatchScope&) = delete;
    DispatchScope& operator=(const DispatchScope&) = delete;
  };

protected:
  // Draws the background sprite (effector, colour, full texture) over the area.
  void DrawBackground(BrRenderBase* const render);

  float m_fPosX;
  float m_fPosY;
  float m_fWidth;
  float m_fHeight;
  int32_t m_iEffector;
  BrUIControl* m_pParent;
  BrStringT<char> m_ID;
  bool m_bActive;
  TDArray<BrUIControl*> m_Children;
  BrARGB m_Colour;
  bool m_bRollover;
  bool m_bFocus;
  bool m_bModal;
};
