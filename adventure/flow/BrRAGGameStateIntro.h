// BrRAGGameStateIntro and BrRAGGameStateLegalSplash: the maker's logo and the legal notice, each faded in and out.
#pragma once

#include "adventure/flow/BrRAGGameState.h"

// One second of black, the logo fading in over the intro music, held, then faded out; Escape starts the fade out
// early. Ends in the legal splash.
class BrRAGGameStateIntro : public BrRAGGameState {
  BR_DECLARE_CLASS(BrRAGGameStateIntro)
public:
  // Fading in, fade 1.
  BrRAGGameStateIntro();
  ~BrRAGGameStateIntro() override;

  void Step(float dt) override;
  // Fading in, fade 1.
  void OnEntry() override;
  // The base state's OnExit: the intro music plays on to its end.
  void OnExit() override;
  // Black, the logo, then the fade tile.
  void Draw(BrRenderBase* render) override;

  // Opacity of the black fade tile (1 black; below 0 the logo is fully visible).
  float GetFade() const { return mfFade; }
  bool IsFadingIn() const { return mbFadingIn; }

protected:
  // The shared fade: Escape held or fade below -1 turns it round; at 1 going back up, changes to next.
  void StepFade(float dt, const char* next);

  BrAudioID mMusic;
  bool mbFadingIn;
  float mfFade;

  static unsigned int suiBlackFX;
  static unsigned int suiLogoFX;
};

// The legal notice over black, faded like the intro without the wait and the music; ends in the main menu.
class BrRAGGameStateLegalSplash : public BrRAGGameStateIntro {
  BR_DECLARE_CLASS(BrRAGGameStateLegalSplash)
public:
  BrRAGGameStateLegalSplash();
  ~BrRAGGameStateLegalSplash() override;

  void Step(float dt) override;
  void OnEntry() override;
  // Black, four lines of legal text, the fade tile.
  void Draw(BrRenderBase* render) override;

protected:
  static unsigned int suiLegalBlackFX;
};
