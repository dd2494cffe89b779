// BrRAGHUD: the framework's heads-up display: the four adventure cursors, the owner actor and the command dispatcher.
#pragma once

#include <cstdint>

#include "core/BrARGB.h"
#include "engine/presentation/BrAudioID.h"
#include "engine/presentation/BrHUD.h"

class BrUIControl;

// The application's HUD sits at the top of the widget tree for the whole run; every clickable control of the game
// carries a string id, and a click on it climbs the parent chain to ControlLeftClicked, which maps the id to what
// the game does. The player HUD (BrRAGPlayerHUD) derives from it and keeps the dispatcher.
class BrRAGHUD : public BrHUD {
  BR_DECLARE_CLASS(BrRAGHUD)
public:
  // The HUD's defaults, owner id -1.
  BrRAGHUD();
  // Copy the base and the owner id.
  BrRAGHUD(const BrRAGHUD& other);
  BrRAGHUD& operator=(const BrRAGHUD& other);
  // Runs BrHUD::Destroy.
  ~BrRAGHUD() override;

  // BrHUD's form only: the owner id is not stored.
  void Serialize(BrBin& bin) override;
  // BrHUD::Init, the four adventure cursors (indices into BrRAGCursor's statics), then the HUD colour: white,
  // or the owner actor's HUD colour when an owner is set. Always true.
  bool Init() override;
  // The dispatcher: runs the action of a known command id and returns whether the click was consumed; an
  // unknown id (and "NULL") does nothing and returns false.
  bool ControlLeftClicked(const BrStringT<char>& id) override;
  // A "BrRAGCursor" drawn with texture (effector "Cur" + texture), 0.05 by 0.05 with hot spot (hx, hy); its
  // index, -1 without a rendering device or when it cannot be made.
  int AddCursor(const BrStringT<char>& texture, float hx, float hy) override;
  // Drawn once a frame. The states draw the HUD with their own pass and the widget manager draws it again as a
  // top-level control; a veil drawn in it (a dialog's, a menu's) would darken what lies under it twice, and the
  // player's HUD, drawn between the two, once. The widget manager's pass draws it (the modal dialog's HUD last).
  void Draw(BrRenderBase* const render) override;

  // Object id of the actor that owns the HUD; -1 for none.
  void SetHUDOwner(int id) { miHUDOwner = id; }
  int GetHUDOwner() const { return miHUDOwner; }

  // The HUD colour used by the player HUD's drawing; reset by Init.
  static BrARGB mHUDColour;
  // The speaker-test sounds, created on the first test and kept for the run.
  static BrAudioID mSpeakerTestSFX;
  static BrAudioID mSpeakerTestRSFX;

  // The quip of the exit dialog for a draw r in [0, 1).
  static const char* ExitQuip(float r);
  // The save name for a typed name: trimmed (spaces and line breaks); empty when nothing is left or the text is
  // the untouched prompt. The result is "Saves\\" + name + ".gin" with any folder part removed.
  static BrStringT<char> SaveNameFromTyped(const BrStringT<char>& typed, const BrStringT<char>& prompt);
  // The prompt text that the save-name box starts with; a box still showing it holds no typed name.
  static const char* const cszSavePrompt;

protected:
  // Builds one of the dispatcher's dialogs ("dlg_newgame", "dlg_exitgame", "dlg_exitingamemenu") with text
  // and adds it to the application's HUD as the modal control.
  void ShowDialog(const char* id, const BrStringT<char>& text);
  // Tells the player of a failed load or save with a modal message dialog.
  void ShowMessage(const BrStringT<char>& text);
  // The dispatcher's multi-step rows.
  bool SwitchMod(const BrStringT<char>& name);
  void ApplyOptions();
  void SpeakerTest();
  bool SaveUnderTypedName();
  void NextLevel();
  void CloseModal();
  void ChangeTo(const char* state);

  int32_t miHUDOwner;
};
