// The scripted player: walks, fights, picks up and drinks, and takes staircases in a running game, through the
// same calls the click controller makes, checking at each step that the game answered.
#pragma once

#include <string>

#include "tests/play/PlayRig.h"

class BrGameObj;

namespace brplay {

// Acts for the player of a host's current game; every action runs frames until it shows or a time runs out.
class PlayScript {
public:
  explicit PlayScript(PlayHost& host) : m_Host(host) {}

  // Clicks floor points around the screen's centre until a click walks the player; true when it moved.
  bool WalkByClicking();
  // Places an enemy of the configured kind next to the player and attacks it until it dies; true when it did.
  bool FightAt(const char* kind);
  // Places a pickup of the kind at the player's feet, walks onto it, wounds the player and drinks the item
  // (itemType) from the inventory; true when it was picked up and healed.
  bool PickUpAndDrink(const char* pickup, const char* itemType);
  // Walks to the level's staircase (stepping next to it first when the walk takes too long), answers "Yes" and
  // plays through the interlude; true when a new level is being played one deeper.
  bool TakeStairs(float walkSeconds = 40.0f);
  // Takes staircases until the level is reached, answering the world-complete dialog with "Continue".
  // True when the level was reached; what stopped it otherwise is in Why().
  bool DescendTo(unsigned int level);
  // Whether the last TakeStairs reached the staircase on foot.
  bool WalkedToStairs() const { return m_bWalked; }
  const std::string& Why() const { return m_Why; }
  // Hint dialogs put away so far.
  int HintsDismissed() const { return m_iHints; }
  // One frame of play; a hint dialog open over the game is put away with Escape instead.
  void Tick(bool draw);

private:
  // The first valid object of the map whose class or a parent has that name, or null.
  BrGameObj* FindObject(const char* className);
  PlayHost& m_Host;
  bool m_bWalked = false;
  int m_iHints = 0;
  std::string m_Why;
};

}  // namespace brplay
