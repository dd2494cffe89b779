// BrRAGCursor: the adventure cursor: picks the entity under the pointer in play and shows what a click would do.
#pragma once

#include "engine/presentation/BrCursor.h"

class BrDemoEntity;

// Four are registered by the HUD's Init; the HUD steps its current one each frame. While the game is played the
// step makes the first visible, non-player entity under the pointer the cursor's target and switches the HUD to
// the cursor image for it.
class BrRAGCursor : public BrCursor {
  BR_DECLARE_CLASS(BrRAGCursor)
public:
  BrRAGCursor();
  // Runs BrObject::Destroy.
  ~BrRAGCursor() override;

  // Writes and reads nothing.
  void Serialize(BrBin& bin) override;
  // BrObject::Init; true.
  bool Init() override;
  // In "BrRAGGameStatePlaying" only: the pick against the map's entities, see the class comment.
  void Step(float dt) override;

  // HUD cursor indices, -1 until the HUD's Init stored what AddCursor returned.
  static int muiBase;
  static int muiNoClick;
  static int muiPickup;
  static int muiMelee;

protected:
  // Makes the HUD's current cursor the one for entity: pickup over a BrPickup, melee over an actor the player
  // can attack, a usable widget's own cursor, else the base one.
  void SetCursorContext(BrDemoEntity* entity);
};
