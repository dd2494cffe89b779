// The states that end something: the scrolling credits, the ending's images and the shut-down of the run.
#pragma once

#include <cstdint>

#include "adventure/flow/BrRAGGameState.h"
#include "engine/presentation/BrAudioID.h"

class BrRenderBase;

// The credits rising over a parchment for 40 seconds; its OK button lives under the node "credits".
class BrRAGGameStateCredits : public BrRAGGameState {
  BR_DECLARE_CLASS(BrRAGGameStateCredits)
public:
  BrRAGGameStateCredits();
  ~BrRAGGameStateCredits() override;

  // Builds the node "credits" and its OK button; true.
  bool Init() override;
  // Shows the node; the first line starts at 0.85.
  void OnEntry() override;
  // Hides the node.
  void OnExit() override;
  // Input, the scroll (0.075 of the screen a second), and the main menu after 40 s.
  void Step(float dt) override;
  // Backdrop, parchment and the credit lines inside the visible band.
  void Draw(BrRenderBase* const render) override;
  // The HUD (the OK button and the cursor).
  void DrawHUD(BrRenderBase* const render) override;

  float GetScrollPos() const { return mfScrollPos; }

protected:
  // One credit line, drawn only while 0.2 <= y < 0.8.
  void DrawCreditLine(BrRenderBase* const render, float y, const char* text);

  uint32_t muiParchmentFX;
  float mfScrollPos;
};

// The end music and the five end images in turn after the last level, then the main menu (after 65 s at most).
class BrRAGGameStateCompleted : public BrRAGGameState {
  BR_DECLARE_CLASS(BrRAGGameStateCompleted)
public:
  BrRAGGameStateCompleted();
  ~BrRAGGameStateCompleted() override;

  // Starts from the first image with a fade, stops the level music and starts the end music (unless music is
  // turned off).
  void OnEntry() override;
  // The fades and the image changes at 10, 20, 30 and 40 s, the final fade at 60 s, the main menu at 65 s.
  void Step(float dt) override;
  // The current image, framed 4:3 and centred, then the fade tile while fading.
  void Draw(BrRenderBase* const render) override;
  // Discards the finished game's map.
  void OnExit() override;

  int GetImageNumber() const { return miImage; }
  // The end music's sound id; -1 when there is none (no audio device, music turned off, or a file that could not
  // be read).
  const BrAudioID& GetMusic() const { return mMusic; }
  float GetFade() const { return mfFade; }
  bool IsFadingIn() const { return mbFadingIn; }
  bool IsFadingOut() const { return mbFadingOut; }

protected:
  // Loads image n (1 to 5); false (after changing to the main menu) when it cannot be loaded.
  bool LoadImage(int n);

  int32_t miImage;
  bool mbFadingIn;
  bool mbFadingOut;
  float mfFade;
  int32_t miImageFX[5];
  BrAudioID mMusic;
  // The next image change (2 to 5) that Step still has to make.
  int32_t miNextImage;
  bool mbFinalFade;
};

// The last state of a run: entering it ends the run in order.
class BrRAGGameStateShuttingDown : public BrRAGGameState {
  BR_DECLARE_CLASS(BrRAGGameStateShuttingDown)
public:
  BrRAGGameStateShuttingDown();
  ~BrRAGGameStateShuttingDown() override;

  // No modal control any more, then the engine's Exit.
  void OnEntry() override;
  // Time in state and input while the run has not ended.
  void Step(float dt) override;
  // The HUD.
  void DrawHUD(BrRenderBase* const render) override;
};
