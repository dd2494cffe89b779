// BrRAGUIDialog, BrRAGUIGameOverDialog and BrRAGUIHotKeyPrompt: the framework's framed dialogs and the quick-slot prompt.
#pragma once

#include <cstdint>

#include "engine/presentation/BrUIDialog.h"

class BrRAGInvItemCtrl;

// A dialog with bars along its top and bottom edges whose height fits its content on the first draw. Creators
// spawn it by name, Init it, configure it, add it to the application's HUD and make it modal and active.
class BrRAGUIDialog : public BrUIDialog {
  BR_DECLARE_CLASS(BrRAGUIDialog)
public:
  // No bars, not laid out.
  BrRAGUIDialog();
  BrRAGUIDialog(const BrRAGUIDialog& other);
  BrRAGUIDialog& operator=(const BrRAGUIDialog& other);
  // Runs BrUIDialog::Destroy.
  ~BrRAGUIDialog() override;

  // BrUIDialog's form only.
  void Serialize(BrBin& bin) override;
  // Measures the height once, then the fade veil when modal, background, bars, option buttons, icon and text.
  void Draw(BrRenderBase* const render) override;

  // The top and bottom bar images: effectors "ShaderControl" + path; 0 (no bar) when they cannot be made.
  void SetTopTexture(const BrStringT<char>& path);
  void SetBaseTexture(const BrStringT<char>& path);
  unsigned int GetTopEffector() const { return muiTopFX; }
  unsigned int GetBaseEffector() const { return muiBaseFX; }
  bool IsLaidOut() const { return mbLaidOut; }

protected:
  // Lays out (and draws when draw is true) the icon and text, spawns the option buttons the first time, and
  // returns the height that the content needs.
  float DrawDialog(BrRenderBase* const render, bool draw);

  unsigned int muiTopFX;
  unsigned int muiBaseFX;
  bool mbLaidOut;
};

// The death dialog: closing it ends the game (at the end of the frame) and returns to the main menu.
class BrRAGUIGameOverDialog : public BrRAGUIDialog {
  BR_DECLARE_CLASS(BrRAGUIGameOverDialog)
public:
  BrRAGUIGameOverDialog();
  ~BrRAGUIGameOverDialog() override;
  // Asks the application to end the game when a player exists, then the dialog's Destroy.
  void Destroy() override;
};

// Waits for a digit key and assigns its inventory item control's item type to that quick slot.
class BrRAGUIHotKeyPrompt : public BrUIDialog {
  BR_DECLARE_CLASS(BrRAGUIHotKeyPrompt)
public:
  BrRAGUIHotKeyPrompt();
  BrRAGUIHotKeyPrompt(const BrRAGUIHotKeyPrompt& other);
  BrRAGUIHotKeyPrompt& operator=(const BrRAGUIHotKeyPrompt& other);
  // Runs BrUIDialog::Destroy.
  ~BrRAGUIHotKeyPrompt() override;

  // '0' to '9' assign the item to that quick slot and close the prompt; other keys are ignored.
  void KeyPressed(int key) override;
  // The control whose item is assigned; not owned.
  void SetItemCtrl(BrRAGInvItemCtrl* ctrl) { mpItemCtrl = ctrl; }
  BrRAGInvItemCtrl* GetItemCtrl() const { return mpItemCtrl; }

protected:
  BrRAGInvItemCtrl* mpItemCtrl;
};
