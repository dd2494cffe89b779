// BrRAGGameHint: a hint read from an object configuration section and shown as a modal scroll dialog.
#pragma once

#include "engine/kernel/BrGameHint.h"

// Spawned by the application's ShowHint from the section of the same name; never added to the map.
class BrRAGGameHint : public BrGameHint {
  BR_DECLARE_CLASS(BrRAGGameHint)
public:
  BrRAGGameHint();
  ~BrRAGGameHint() override;

  // BrGameHint's form only: icon and text are not stored.
  void Serialize(BrBin& bin) override;
  // The entity's keys, then "HintIcon" and "HintText" ("^" becomes a line break).
  void LoadScript(const char* section, BrCfgFile* file) override;
  // Opens a modal "BrRAGUIDialog" with the icon, the text and one "OK" option ("CancelModal") on the game's HUD.
  void ShowHint() override;

  const BrStringT<char>& GetHintText() const { return m_HintText; }
  const BrStringT<char>& GetHintIcon() const { return m_HintIcon; }

private:
  BrStringT<char> m_HintIcon;
  BrStringT<char> m_HintText;
};
