// BrRAGInvItemCtrl: one cell of the player's inventory on screen, bound to a carrier and one inventory slot.
#pragma once

#include <cstdint>

#include "engine/presentation/BrUIControl.h"

class BrRAGInventory;

// Draws a grey cell, the slot's item icon (enlarged while the pointer is over it, with its text), and an overlay
// for equipped equipment. A left click uses the item through the inventory, Shift with a left click opens the
// hot-key prompt, a right click hands the slot to the inventory. The player HUD makes twenty of them by name.
class BrRAGInvItemCtrl : public BrUIControl {
  BR_DECLARE_CLASS(BrRAGInvItemCtrl)
public:
  // No slot (-1), no inventory, effectors -1 (not loaded), no carrier (-1).
  BrRAGInvItemCtrl();
  BrRAGInvItemCtrl(const BrRAGInvItemCtrl& other);
  BrRAGInvItemCtrl& operator=(const BrRAGInvItemCtrl& other);
  ~BrRAGInvItemCtrl() override;

  // The control's part only.
  void Serialize(BrBin& bin) override;
  // The control's defaults; returns false as the control's Init does.
  bool Init() override;
  // Background, then (for a slot holding a valid item) the icon, the equipped overlay and the hover text.
  void Draw(BrRenderBase* const render) override;
  // False outside the area or while inactive; true otherwise, after using the item (or opening the hot-key prompt
  // with Shift held) when the slot holds a valid item.
  bool LeftClick(float x, float y) override;
  // Hands a filled slot to the inventory's right-click handling wherever the point is; always true.
  bool RightClick(float x, float y) override;

  void SetCarrierID(int id) { miCarrierID = id; }
  int GetCarrierID() const { return miCarrierID; }
  // Shows that slot (-1: none); a valid equipment item with a bonus tints the cell, anything else is white.
  void SetInvItemSlotIndex(int index);
  int GetInvItemSlotIndex() const { return miSlotIndex; }
  // The carrier's inventory when the carrier is a player (also stored); null otherwise, the stored one untouched.
  BrRAGInventory* GetOwnerInventory();
  // The object name of the item in the slot, or "Unknown" when the slot holds no valid item.
  BrStringT<char> GetInvItemType();

protected:
  // The object id in the shown slot of the (looked-up) inventory; -1 for no slot, a slot out of range or no
  // inventory, so that nothing is read outside the inventory.
  int GetSlotItemID();

  int32_t miSlotIndex;
  BrRAGInventory* mpOwnerInventory;
  int32_t miEquippedFX;
  int32_t miBackgroundFX;
  int32_t miCarrierID;
};
