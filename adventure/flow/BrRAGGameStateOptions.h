// BrRAGGameStateOptions: the options screen: resolution, mouse speed, hints and music selectors read from the configuration.
#pragma once

#include <cstdint>

#include "adventure/flow/BrRAGGameState.h"
#include "templates/BrStringT.h"

class BrRenderBase;

// Its controls live under the node "options"; the OK command that writes the settings is the HUD dispatcher's.
class BrRAGGameStateOptions : public BrRAGGameState {
  BR_DECLARE_CLASS(BrRAGGameStateOptions)
public:
  // No parchment yet.
  BrRAGGameStateOptions();
  ~BrRAGGameStateOptions() override;

  // Builds the node with the OK, Cancel and speaker-test buttons and the four selectors; true.
  bool Init() override;
  // Shows the node and sets each selector from the configuration, so that OK without a change writes back what
  // was stored.
  void OnEntry() override;
  // Hides the node.
  void OnExit() override;
  void Step(float dt) override;
  // Backdrop, parchment, labels and the table of controls.
  void Draw(BrRenderBase* const render) override;
  // The HUD.
  void DrawHUD(BrRenderBase* const render) override;

  // The selector text for a stored [App] MouseSpeedX.
  static const char* MouseSpeedText(int speed);
  // Whether the selector with that id shows text, the entry it was set to when the screen was entered: the
  // player left it alone (or came back to it), and OK keeps the stored value, which that entry stands for.
  bool ShowsEntryText(const char* id, const BrStringT<char>& text) const;

protected:
  // One row of the controls table: left at 0.35 left-aligned, right ending at 0.65.
  void DrawControlPair(BrRenderBase* const render, float y, const BrStringT<char>& left, const BrStringT<char>& right);

  uint32_t muiParchmentFX;
  // What the four selectors showed at the last entry when set from a stored value (empty for a missing key), in
  // the order resolution, mouse speed, hints, music.
  BrStringT<char> mEntryText[4];
};
