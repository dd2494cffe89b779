// The player's pack as a player handles it in a running game: an item found by walking onto its pickup, a cell of
// the inventory clicked (or Shift-clicked and bound to a number key) through window messages, a quick-slot key
// pressed. Nothing here calls an item's or the inventory's own use.
#pragma once

#include <string>

#include "tests/play/PlayRig.h"
#include "tests/play/PlayScript.h"

class BrRAGInvItemCtrl;
class BrRAGItem;

namespace brplay {

class PlayPack {
public:
  PlayPack(PlayHost& host, PlayScript& script) : m_Host(host), m_Script(script) {}

  // Places a pickup of that kind beside the player (or at *where) and walks the player onto it, as a click on it
  // does, for at most seconds of play; the inventory slot that then holds one more item of the type, or -1 (Why()
  // says what went wrong).
  int Find(const std::string& pickupKind, const std::string& itemType, const BrVector* where = nullptr,
           float seconds = 20.0f);
  // The on-screen cell that shows the inventory slot, or null.
  BrRAGInvItemCtrl* CellOf(int slot) const;
  // The first slot holding an item of the type, or -1.
  int SlotOf(const std::string& itemType) const;
  // How many items of the type the pack holds.
  int Count(const std::string& itemType) const;
  // The item in the slot, or null.
  BrRAGItem* ItemIn(int slot) const;
  // Clicks the slot's cell with the left button (Shift held when shift), then lets a few frames run. False when
  // no cell shows the slot.
  bool ClickCell(int slot, bool shift = false);
  // Right-clicks the slot's cell (the pack's drop).
  bool RightClickCell(int slot);
  // Shift-clicks the slot's cell and answers the hot-key prompt with the key '0'..'9'; true when the prompt
  // opened and closed again.
  bool BindQuickSlot(int slot, char key);
  // Presses a number key as a player does, then lets a few frames run.
  void PressKey(char key);
  // The text a player reads when the pointer rests on the slot's cell.
  std::string HoverText(int slot) const;

  const std::string& Why() const { return m_Why; }

private:
  void Settle(int frames);
  bool ClickCellWith(int slot, unsigned int down, unsigned int up, bool shift);

  PlayHost& m_Host;
  PlayScript& m_Script;
  std::string m_Why;
};

// Destroys every monster of the current level: runs about the pack, where a fight would make health unreadable.
void PutAwayMonsters(PlayHost& host);
// A game started from seed with no hint to open over it, its level's monsters put away: the player alone, for a
// test that brings the monsters it wants. False unless it is playing.
bool StartAlone(PlayTree& tree, PlayHost& host, unsigned int seed);

// The number after "restores " in a text, or -1 when there is none.
int RestoreNoted(const std::string& text);

}  // namespace brplay
