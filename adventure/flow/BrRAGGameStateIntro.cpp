// BrRAGGameStateIntro and BrRAGGameStateLegalSplash: the logo and the legal notice faded in and out over black.
#include "adventure/flow/BrRAGGameStateIntro.h"

#include "adventure/flow/BrRAGGame.h"
#include "engine/kernel/BrEngine.h"
#include "engine/presentation/BrAudioMgrBase.h"
#include "engine/presentation/BrEffectorMgr.h"
#include "engine/presentation/BrFontMgr.h"
#include "engine/presentation/BrRenderBase.h"
#include "engine/presentation/BrSoundFX.h"
#include "platform/win32/win32_user.h"

BR_IMPLEMENT_CLASS(BrRAGGameStateIntro, BrRAGGameState)
BR_IMPLEMENT_CLASS(BrRAGGameStateLegalSplash, BrRAGGameStateIntro)

unsigned int BrRAGGameStateIntro::suiBlackFX = 0;
unsigned int BrRAGGameStateIntro::suiLogoFX = 0;
unsigned int BrRAGGameStateLegalSplash::suiLegalBlackFX = 0;

namespace {

bool EscapeHeld() { return (GetAsyncKeyState(VK_ESCAPE) & 0x8000) != 0; }

unsigned int BlackBack(BrRenderBase* render) {
  BrEffectorMgr* fx = render ? render->FXMgr() : nullptr;
  return fx ? fx->GetEffector(BrStringT<char>("ShaderBlackBack")) : 0u;
}

}  // namespace

BrRAGGameStateIntro::BrRAGGameStateIntro() : mbFadingIn(true), mfFade(1.0f) {}

BrRAGGameStateIntro::~BrRAGGameStateIntro() {}

void BrRAGGameStateIntro::OnEntry() {
  BrBaseState::OnEntry();
  mbFadingIn = true;
  mfFade = 1.0f;
}

void BrRAGGameStateIntro::OnExit() { BrBaseState::OnExit(); }

void BrRAGGameStateIntro::StepFade(float dt, const char* next) {
  if (EscapeHeld() || mfFade < -1.0f) mbFadingIn = false;
  if (mbFadingIn) {
    mfFade -= dt / 2.0f;
  } else {
    mfFade += dt / 2.0f;
    if (mfFade >= 1.0f) {
      if (BrRAGGame* game = Game()) game->ChangeToState(next);
    }
  }
}

void BrRAGGameStateIntro::Step(float dt) {
  if (GetTimeInState() > 1.0f) {
    BrAudioMgrBase* audio = Engine().Audio();
    if (audio && !mMusic.Ready()) {
      audio->CreateAudio("Sounds\\music\\splash.wav", mMusic);
      if (BrSoundFX* sound = audio->GetAudio(mMusic)) {
        sound->SetLooping(false);
        sound->SetVolume(0.001f);
      }
      audio->PlayAudio2D(mMusic);
    }
    StepFade(dt, "BrRAGGameStateLegalSplash");
  }
  BrRAGGameState::Step(dt);
}

void BrRAGGameStateIntro::Draw(BrRenderBase* render) {
  if (!render) return;
  if (suiBlackFX == 0) suiBlackFX = BlackBack(render);
  if (suiLogoFX == 0) suiLogoFX = MakeScreenEffector("Textures\\ui\\brelmar01.jpg", "ShaderBrelmarLogo");
  const BrARGB white(255, 255, 255, 255);
  DrawScreenSprite(render, 0.0f, 0.0f, 1.0f, 1.0f, suiBlackFX, 0.5f, white);
  DrawScreenSprite(render, 0.35f, 0.4f, 0.3f, 0.2f, suiLogoFX, 0.5f, white);
  render->DrawFadeTile(mfFade > 0.0f ? mfFade : 0.0f, 0.0001f);
}

BrRAGGameStateLegalSplash::BrRAGGameStateLegalSplash() {}

BrRAGGameStateLegalSplash::~BrRAGGameStateLegalSplash() {}

void BrRAGGameStateLegalSplash::OnEntry() { BrRAGGameStateIntro::OnEntry(); }

void BrRAGGameStateLegalSplash::Step(float dt) {
  StepFade(dt, "BrRAGGameStateMainMenu");
  BrRAGGameState::Step(dt);
}

void BrRAGGameStateLegalSplash::Draw(BrRenderBase* render) {
  if (!render) return;
  if (suiLegalBlackFX == 0) suiLegalBlackFX = BlackBack(render);
  DrawScreenSprite(render, 0.0f, 0.0f, 1.0f, 1.0f, suiLegalBlackFX, 0.5f, BrARGB(255, 255, 255, 255));
  BrARGB colour(255, 225, 225, 255);
  char title[] = "Tidewrack: The Descent";
  render->DrawTextA(0.5f, 0.42f, colour, eFontFormatCentre, title);
  if (BrFontMgr* fonts = render->FontMgr()) {
    fonts->SizeDown(2);
    char line1[] = "Copyright (c) Brelmar Technology. All rights reserved.";
    char line2[] = "Published by Gravelle. This game is a work of fiction.";
    char line3[] = "Unauthorised copying or distribution is prohibited.";
    render->DrawTextA(0.5f, 0.48f, colour, eFontFormatCentre, line1);
    render->DrawTextA(0.5f, 0.52f, colour, eFontFormatCentre, line2);
    render->DrawTextA(0.5f, 0.55f, colour, eFontFormatCentre, line3);
    fonts->SizeUp(2);
  }
  render->DrawFadeTile(mfFade, 0.0001f);
}
