// Chest: usable scenery that opens and scatters items around itself, or turns out to be a monster.
#pragma once

#include "adventure/world/BrRAGWidget.h"
#include "engine/presentation/BrAudioID.h"
#include "templates/BrStringT.h"

// Its nature is drawn once, when it is configured, and kept in saved games.
class Chest : public BrRAGWidget {
  BR_DECLARE_CLASS(Chest)
public:
  // Spawns of candidate contents tried before an opening gives up on the rest.
  static const int ciMaxContentAttempts = 64;

  // Not a monster, no open icon.
  Chest();
  ~Chest() override;
  // The widget's stream, the monster flag (1 byte), the open icon.
  void Serialize(BrBin& bin) override;
  // The widget's keys, then "Risk" (a 1 in Risk chance of a monster, drawn now) and "OpenIcon".
  void LoadScript(const char* section, BrCfgFile* file) override;
  // Becomes its "ChestMonster" (and vanishes), or opens: sound, open icon, and L / 10 + 1 items around it.
  void UsedBy(BrRAGActor* actor) override;
  // False once used; otherwise the widget's test.
  bool CanUse(BrRAGActor* actor) override;

  // Whether using it brings out its monster.
  bool IsMonster() const { return m_bMonster; }
  void SetMonster(bool monster) { m_bMonster = monster; }
  // The icon shown once the chest is open.
  const BrStringT<char>& GetOpenIcon() const { return m_OpenIcon; }

  // The opening sound, made from "Sounds\\unlock.wav" on the first opening.
  static BrAudioID miOpenSFX;

private:
  bool m_bMonster;
  BrStringT<char> m_OpenIcon;
};
