// Staircase: usable scenery that asks the player whether to go down to the next level.
#pragma once

#include <cstdint>

#include "adventure/world/BrRAGWidget.h"

// Placed once per level by the generator; its dialog's "Yes" reaches the HUD's "DialogNextLevel" command.
class Staircase : public BrRAGWidget {
  BR_DECLARE_CLASS(Staircase)
public:
  // Target level: the map's level + 1 (1 without a grid map).
  Staircase();
  ~Staircase() override;
  // The widget's stream only.
  void Serialize(BrBin& bin) override;
  // Stops the actor and opens the modal dialog "dlg_staircase" offering "No" and "Yes" (next level).
  void UsedBy(BrRAGActor* actor) override;

  // The level the staircase leads to; nothing in the game reads it.
  void SetTargetLevel(unsigned int level) { m_uiTargetLevel = level; }
  unsigned int GetTargetLevel(unsigned int) const { return m_uiTargetLevel; }

private:
  uint32_t m_uiTargetLevel;
};
