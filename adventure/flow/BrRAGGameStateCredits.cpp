// The credits, completed and shutting-down states: scrolling credits, the ending's timed images, the end of the run.
#include "adventure/flow/BrRAGGameStateCredits.h"

#include "adventure/flow/BrRAGFlowStates.h"
#include "adventure/world/BrRAGLevelInfo.h"
#include "engine/kernel/BrLevelInfo.h"
#include "engine/kernel/BrMap.h"
#include "engine/presentation/BrAudioMgrBase.h"
#include "engine/presentation/BrGUI.h"
#include "engine/presentation/BrSoundFX.h"

BR_IMPLEMENT_CLASS(BrRAGGameStateCredits, BrRAGGameState)
BR_IMPLEMENT_CLASS(BrRAGGameStateCompleted, BrRAGGameState)
BR_IMPLEMENT_CLASS(BrRAGGameStateShuttingDown, BrRAGGameState)

namespace {

void ChangeTo(const BrBaseState* state, const char* name) {
  BrStateMachine* owner = state->GetOwner() ? state->GetOwner() : Engine().App();
  if (owner) owner->ChangeToState(BrStringT<char>(name));
}

// Reaches the application's own map disposal, which deletes the map and clears the pointer.
struct MapDisposal : BrApplication {
  static void Dispose(BrApplication* app) { (app->*(&MapDisposal::DestroyMap))(); }
};

// One row of the credits: its text, the font steps it is drawn with and the lines advanced after it.
struct CreditLine {
  const char* text;
  int sizeUp;
  int advance;
};

const CreditLine cCredits[] = {
    {"Brelmar Technology", 2, 1},
    {"is", 0, 3},
    {"PROGRAMMING", 1, 2},
    {"Brelmar Technology", 0, 3},
    {"ART", 1, 2},
    {"The Tidewrack Art Team", 0, 3},
    {"MUSIC", 1, 2},
    {"The Tidewrack Composer", 0, 3},
    {"ADDITIONAL ART and AUDIO", 1, 2},
    {"Additional Artist One", 0, 1},
    {"Additional Artist Two", 0, 1},
    {"Additional Artist Three", 0, 1},
    {"Sound Designer One", 0, 1},
    {"Sound Designer Two", 0, 1},
    {"Sound Designer Three", 0, 3},
    {"TESTING", 1, 2},
    {"Tester One", 0, 1},
    {"Tester Two", 0, 1},
    {"Tester Three", 0, 1},
    {"Tester Four", 0, 1},
    {"Tester Five", 0, 3},
    {"THANKS TO", 1, 2},
    {"Friend One", 0, 1},
    {"Friend Two", 0, 1},
    {"Friend Three", 0, 1},
    {"Friend Four", 0, 1},
    {"www.brelmar.example", 0, 1},
    {"Published by", 0, 1},
    {"www.publisher.example", 0, 2},
    {"Thanks for playing!", 0, 0},
};

const char* const cEndImages[5][2] = {{"Textures\\ui\\end\\1.dds", "ShaderSlide1FX"},
                                      {"Textures\\ui\\end\\2.dds", "ShaderSlide2FX"},
                                      {"Textures\\ui\\end\\3.dds", "ShaderSlide3FX"},
                                      {"Textures\\ui\\end\\4.dds", "ShaderSlide4FX"},
                                      {"Textures\\ui\\end\\5.dds", "ShaderSlide5FX"}};

}  // namespace

// ---- Credits ----

BrRAGGameStateCredits::BrRAGGameStateCredits() : muiParchmentFX(0), mfScrollPos(0.85f) {}
BrRAGGameStateCredits::~BrRAGGameStateCredits() {}

bool BrRAGGameStateCredits::Init() {
  BrRAGGameState::Init();
  const float a = brflow::Aspect(Engine().Render());
  BrUIControl* node = brflow::MakeNode(brflow::HUDOf(this), "credits", false);
  brflow::MakeButton(node, "CreditsOKBtn", 0.7f, 0.5f, 0.18f, 0.05f * a, "Textures\\ui\\menus\\ok.tga",
                     "Textures\\ui\\menus\\okover.tga");
  return true;
}

void BrRAGGameStateCredits::OnEntry() {
  BrRAGGameState::OnEntry();
  if (GetOwner())
    if (BrHUD* hud = brflow::HUDOf(this)) hud->ActivateControl(BrStringT<char>("credits"), true);
  mfScrollPos = 0.85f;
}

void BrRAGGameStateCredits::OnExit() {
  if (BrHUD* hud = brflow::HUDOf(this)) hud->DeactivateControl(BrStringT<char>("credits"), true);
  BrRAGGameState::OnExit();
}

void BrRAGGameStateCredits::Step(float dt) {
  BrRAGGameState::Step(dt);
  brflow::ControllerStep(this);
  mfScrollPos -= dt * 0.075f;
  if (GetTimeInState() > 40.0f) ChangeTo(this, "BrRAGGameStateMainMenu");
}

void BrRAGGameStateCredits::DrawCreditLine(BrRenderBase* const render, float y, const char* text) {
  if (y < 0.2f || y >= 0.8f) return;
  brflow::Text(render, 0.5f, y, BrARGB(255, 0, 0, 0), eFontFormatCentre, "%s", text);
}

void BrRAGGameStateCredits::Draw(BrRenderBase* const render) {
  if (!render) return;
  if (muiParchmentFX == 0)
    muiParchmentFX = (uint32_t)brflow::LoadIcon(render, "Textures\\ui\\menus\\parchbox.tga", "ShaderOptionsParch");
  brflow::Sprite(render, 0.0f, 0.0f, 1.0f, 1.0f, brflow::FindEffector(render, "ShaderSplashFX"), 0.5f,
                 BrARGB(255, 100, 100, 100));
  brflow::Sprite(render, 0.3f, 0.1f, 0.4f, 0.8f, muiParchmentFX, 0.001f, BrARGB(255, 255, 255, 255));
  float y = mfScrollPos;
  for (const CreditLine& line : cCredits) {
    brflow::FontUp(render, line.sizeUp);
    DrawCreditLine(render, y, line.text);
    y += (float)line.advance * brflow::LineHeight(render);
    brflow::FontDown(render, line.sizeUp);
  }
}

void BrRAGGameStateCredits::DrawHUD(BrRenderBase* const render) {
  if (BrHUD* hud = brflow::HUDOf(this)) hud->Draw(render);
}

// ---- Completed ----

BrRAGGameStateCompleted::BrRAGGameStateCompleted()
    : miImage(0), mbFadingIn(false), mbFadingOut(true), mfFade(0.0f), miNextImage(2), mbFinalFade(false) {
  for (int i = 0; i < 5; ++i) miImageFX[i] = 0;
}

BrRAGGameStateCompleted::~BrRAGGameStateCompleted() {}

bool BrRAGGameStateCompleted::LoadImage(int n) {
  const int fx = brflow::LoadIcon(Engine().Render(), cEndImages[n - 1][0], cEndImages[n - 1][1]);
  miImageFX[n - 1] = fx;
  if (fx < 3) {
    ChangeTo(this, "BrRAGGameStateMainMenu");
    return false;
  }
  return true;
}

void BrRAGGameStateCompleted::OnEntry() {
  BrRAGGameState::OnEntry();
  // Every ending starts from the beginning, also a second one in the same run.
  miImage = 0;
  mbFadingIn = false;
  mbFadingOut = true;
  mfFade = 0.0f;
  miNextImage = 2;
  mbFinalFade = false;
  if (!LoadImage(1)) return;

  BrMap* map = brflow::MapOf(this);
  BrLevelInfo* info = map ? map->GetLevelInfo() : nullptr;
  if (info && info->IsA(BrRAGLevelInfo::Type)) static_cast<BrRAGLevelInfo*>(info)->GetMusicID().Stop();

  BrAudioMgrBase* audio = Engine().Audio();
  if (!audio) return;
  // The sound of an earlier ending is let go, so that this one plays the music from its start. Stopping the id
  // releases it (it becomes -1); that must come before the sound is made, not between making and playing it.
  mMusic.Stop();
  if (!MusicWanted()) return;
  audio->CreateAudio(BrStringT<char>("Sounds\\music\\end2.wav"), mMusic);
  if (BrSoundFX* sound = audio->GetAudio(mMusic)) {
    sound->SetLooping(false);
    sound->SetVolume(0.1f);
  }
  audio->PlayAudio2D(mMusic);
}

void BrRAGGameStateCompleted::Step(float dt) {
  BrRAGGameState::Step(dt);
  if (mbFadingOut) {
    mfFade += dt;
    if (mfFade > 1.0f) {
      mfFade = 1.0f;
      mbFadingOut = false;
      mbFadingIn = true;
      ++miImage;
    }
  } else if (mbFadingIn) {
    mfFade -= dt;
    if (mfFade < 0.0f) {
      mfFade = 0.0f;
      mbFadingIn = false;
    }
  }
  const float t = GetTimeInState();
  // Each change happens on the first step past its time, however long that step was.
  if (miNextImage <= 5 && t > 10.0f * (float)(miNextImage - 1) && !mbFadingOut) {
    mbFadingOut = true;
    if (!LoadImage(miNextImage)) return;
    ++miNextImage;
  }
  if (miNextImage > 5 && !mbFinalFade && t > 60.0f && !mbFadingOut) {
    mbFadingOut = true;
    mbFinalFade = true;
  }
  if (t > 65.0f) {
    ChangeTo(this, "BrRAGGameStateMainMenu");
    return;
  }
}

void BrRAGGameStateCompleted::Draw(BrRenderBase* const render) {
  BrRAGGameState::Draw(render);
  if (!render) return;
  if (miImage >= 1 && miImage <= 5) {
    const int H = (int)render->GetHeight();
    const int W = (int)render->GetWidth();
    if (W > 0) {
      const int w = 4 * (H / 3);
      const float width = (float)w / (float)W;
      brflow::Sprite(render, (1.0f - width) / 2.0f, 0.0f, width, 1.0f, (unsigned int)miImageFX[miImage - 1], 0.5f,
                     BrARGB(255, 255, 255, 255));
    }
  }
  if (mbFadingIn || mbFadingOut) render->DrawFadeTile(mfFade, 0.001f);
}

void BrRAGGameStateCompleted::OnExit() {
  BrRAGGameState::OnExit();
  BrGame* game = brflow::GameOf(this);
  if (game && game->Map()) MapDisposal::Dispose(game);
}

// ---- Shutting down ----

BrRAGGameStateShuttingDown::BrRAGGameStateShuttingDown() {}
BrRAGGameStateShuttingDown::~BrRAGGameStateShuttingDown() {}

void BrRAGGameStateShuttingDown::OnEntry() {
  BrRAGGameState::OnEntry();
  if (BrGUI* gui = Engine().GUI()) gui->SetModalControl(nullptr);
  // Called from inside the application: the engine sets GExit now and finishes the shut-down once the
  // application's call has returned.
  Engine().Exit();
}

void BrRAGGameStateShuttingDown::Step(float dt) {
  BrRAGGameState::Step(dt);
  brflow::ControllerStep(this);
}

void BrRAGGameStateShuttingDown::DrawHUD(BrRenderBase* const render) {
  if (BrHUD* hud = brflow::HUDOf(this)) hud->Draw(render);
}
