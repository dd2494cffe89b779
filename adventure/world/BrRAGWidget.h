// BrRAGWidget: usable scenery (chests, stairs, levers) that may need an item and shows its own cursor.
#pragma once

#include <cstdint>

#include "engine/kernel/BrDemoEntity.h"

class BrRAGActor;

// Scenery the player clicks to use. A widget that requires an item type consumes one use of that item from the
// user's inventory on each use and then shows its "used" minimap icon.
class BrRAGWidget : public BrDemoEntity {
  BR_DECLARE_CLASS(BrRAGWidget)
public:
  // Use cursor 1, use text "used the unknown item", not floor, no requirement, never used, minimap icon 0.
  BrRAGWidget();
  BrRAGWidget(const BrRAGWidget& other);
  BrRAGWidget& operator=(const BrRAGWidget& other);
  ~BrRAGWidget() override;

  // The entity part; from version 264 use text, is floor, use requires, times used; from 266 the used icon.
  void Serialize(BrBin& bin) override;
  // The entity's keys, then IsFloor, UseRequires, UseCursor, UseText and MinimapIconUsed.
  void LoadScript(const char* section, BrCfgFile* cfg) override;

  // Prints "<name> <use text>"; with a requirement, uses the first item of that type, counts the use and
  // switches the minimap icon. Nothing without an application or an actor.
  virtual void UsedBy(BrRAGActor* actor);
  virtual bool IsFloor() { return m_bIsFloor; }
  // True without a requirement or when the actor carries an item of the required type.
  virtual bool CanUse(BrRAGActor* actor);

  unsigned int GetUseCursorFX() const { return m_uiUseCursor; }
  const BrStringT<char>& GetUseText() const { return m_UseText; }
  const BrStringT<char>& GetUseRequires() const { return m_UseRequires; }
  int GetTimesUsed() const { return m_iTimesUsed; }
  unsigned int GetMinimapIconUsed() const { return m_uiMinimapIconUsed; }

protected:
  uint32_t m_uiUseCursor;
  BrStringT<char> m_UseText;
  bool m_bIsFloor;
  BrStringT<char> m_UseRequires;
  int32_t m_iTimesUsed;
  uint32_t m_uiMinimapIconUsed;
};
