// BrRAGGameStateMainMenu: the title screen's buttons, music, camera and drawing, and the Q shortcut to a new game.
#include "adventure/flow/BrRAGGameStateMainMenu.h"

#include "adventure/flow/BrRAGCursor.h"
#include "adventure/flow/BrRAGGame.h"
#include "adventure/world/BrRAGLevelInfo.h"
#include "core/BrGlobals.h"
#include "core/BrTime.h"
#include "engine/kernel/BrController.h"
#include "engine/kernel/BrEngine.h"
#include "engine/kernel/BrMap.h"
#include "engine/presentation/BrAudioMgrBase.h"
#include "engine/presentation/BrEffectorMgr.h"
#include "engine/presentation/BrFontMgr.h"
#include "engine/presentation/BrGUI.h"
#include "engine/presentation/BrHUD.h"
#include "engine/presentation/BrRenderBase.h"
#include "engine/presentation/BrSoundFX.h"
#include "engine/presentation/BrUIControlButton.h"
#include "platform/win32/win32_user.h"

BR_IMPLEMENT_CLASS(BrRAGGameStateMainMenu, BrRAGGameState)

namespace {

struct MenuButton {
  const char* id;
  float y;
  const char* normal;
  const char* rollover;
};

// The Mods button's images follow the naming of the others (name.tga and nameover.tga).
const MenuButton kButtons[] = {
    {"MMenuPlayGameBtn", 0.28f, "Textures\\ui\\menus\\play.tga", "Textures\\ui\\menus\\playover.tga"},
    {"MMenuLoadGameBtn", 0.37f, "Textures\\ui\\menus\\load.tga", "Textures\\ui\\menus\\loadover.tga"},
    {"MMenuOptionsBtn", 0.46f, "Textures\\ui\\menus\\options.tga", "Textures\\ui\\menus\\optionsover.tga"},
    {"MMenuModsBtn", 0.55f, "Textures\\ui\\menus\\mods.tga", "Textures\\ui\\menus\\modsover.tga"},
    {"MMenuCreditsBtn", 0.64f, "Textures\\ui\\menus\\credits.tga", "Textures\\ui\\menus\\creditsover.tga"},
    {"MMenuExitGameBtn", 0.73f, "Textures\\ui\\menus\\exit.tga", "Textures\\ui\\menus\\exitover.tga"},
};

bool QHeld() { return (GetAsyncKeyState('Q') & 0x8000) != 0; }

template <class T>
T* SpawnAs(const char* name) {
  BrObject* spawned = static_cast<BrObject*>(Engine().Spawn(name));
  T* object = spawned ? static_cast<T*>(spawned->SafeCast(&T::Type)) : nullptr;
  if (!object) delete spawned;
  return object;
}

}  // namespace

BrRAGGameStateMainMenu::BrRAGGameStateMainMenu()
    : muiBackgroundFX(0), muiTitleFX(0), muiPublisherFX(0), muiMakerFX(0), mbQWasDown(false) {}

// The menu music is class-wide and made by this state: it goes with the state, so a game made later (on another
// audio device) starts its own instead of holding an id the old device gave.
BrRAGGameStateMainMenu::~BrRAGGameStateMainMenu() { menuMusicSFX.Stop(); }

bool BrRAGGameStateMainMenu::Init() {
  BrBaseState::Init();
  BrRenderBase* render = Engine().Render();
  const float h = 0.04f * (render ? render->GetAspectRatio() : 1.0f);
  BrRAGGame* game = Game();
  BrHUD* hud = game ? game->GetHUD() : nullptr;
  if (!hud) return true;
  BrUIControl* menu = SpawnAs<BrUIControl>("BrUIControl");
  if (!menu) return true;
  menu->Init();
  menu->SetID("mainmenu");
  menu->SetArea(0.0f, 0.0f, 1.0f, 1.0f);
  hud->AddChildControl(menu);
  for (const MenuButton& b : kButtons) {
    BrUIControlButton* button = SpawnAs<BrUIControlButton>("BrUIControlButton");
    if (!button) continue;
    button->SetArea(0.79f, b.y, 0.16f, h);
    button->SetID(b.id);
    button->SetTexture(b.normal);
    button->SetRolloverTexture(b.rollover);
    menu->AddChildControl(button);
  }
  return true;
}

void BrRAGGameStateMainMenu::OnEntry() {
  BrBaseState::OnEntry();
  BrRAGGame* game = Game();
  // The menus' music is music too: with music turned off it is not started.
  BrAudioMgrBase* audio = MusicWanted() ? Engine().Audio() : nullptr;
  if (audio) {
    if (!menuMusicSFX.Ready()) {
      audio->CreateAudio("Sounds\\music\\loop03.wav", menuMusicSFX);
      if (BrSoundFX* sound = audio->GetAudio(menuMusicSFX)) {
        sound->SetLooping(true);
        sound->SetVolume(0.1f);
      }
      audio->PlayAudio2D(menuMusicSFX);
    }
  }
  if (!game) return;
  BrMap* map = game->Map();
  BrLevelInfo* info = map ? map->GetLevelInfo() : nullptr;
  if (BrRAGLevelInfo* ragInfo = info ? static_cast<BrRAGLevelInfo*>(info->SafeCast(&BrRAGLevelInfo::Type)) : nullptr)
    ragInfo->GetMusicID().Stop();
  BrHUD* hud = game->GetHUD();
  if (hud) hud->SetCursor(BrRAGCursor::muiBase);
  if (game->WasInState("BrRAGGameStatePlaying") || game->WasInState("BrRAGGameStateInGameMenu")) game->Camera()->Init();
  if (hud) hud->ActivateControl("mainmenu", true);
  // A game left for the menu keeps its player until the next game starts; the player's HUD must not lie over the
  // menus meanwhile. Play shows it again on entry.
  if (BrGUI* gui = Engine().GUI()) gui->DeactivateControl("ingame_playerhud", true);
  game->Camera()->SetControllerType("BrRAGMenuCtrl");
  // A Q still held from play (it zooms the minimap there) must not start a game the moment the menu appears.
  mbQWasDown = QHeld();
}

void BrRAGGameStateMainMenu::Step(float dt) {
  BrRAGGameState::Step(dt);
  BrRAGGame* game = Game();
  if (!game) return;
  if (!GExit) {
    if (BrController* controller = game->ActiveController()) controller->ProcessInput(dt);
  }
  const bool q = QHeld();
  const bool freshPress = q && !mbQWasDown;
  mbQWasDown = q;
  BrGUI* gui = Engine().GUI();
  if (freshPress && !(gui && gui->IsModal()) && game->IsInState("BrRAGGameStateMainMenu")) {
    // Without the game library there is no map to play: the key tells the player why, as the Play button does.
    BrHUD* hud = game->GetHUD();
    if (Engine().GetMissingLibs().GetCount() > 0 && hud)
      hud->ControlLeftClicked(BrStringT<char>("MMenuPlayGameBtn"));
    else
      game->ChangeToState("BrRAGGameStatePlaying");
  }
}

void BrRAGGameStateMainMenu::Draw(BrRenderBase* render) {
  if (!render) return;
  BrEffectorMgr* fx = render->FXMgr();
  if (fx && (muiBackgroundFX == 0 || muiTitleFX == 0 || muiPublisherFX == 0 || muiMakerFX == 0)) {
    auto icon = [fx](const char* image, const char* name) {
      const int index = fx->LoadIconA(image, name);
      return index > 0 ? static_cast<unsigned int>(index) : 0u;
    };
    muiBackgroundFX = icon("Textures\\ui\\mainmenu.dds", "ShaderSplashFX");
    muiTitleFX = icon("Textures\\ui\\titletext.tga", "ShaderTitleTextFX");
    muiPublisherFX = icon("Textures\\ui\\gravelle01.bmp", "ShaderGravelleFX");
    muiMakerFX = icon("Textures\\ui\\brelmar01.jpg", "ShaderBrelmarFX");
  }
  const BrARGB white(255, 255, 255, 255);
  DrawScreenSprite(render, 0.0f, 0.0f, 1.0f, 1.0f, muiBackgroundFX, 0.5f, BrARGB(255, 100, 100, 100));
  DrawScreenSprite(render, 0.25f, 0.01f, 0.5f, 0.2f, muiTitleFX, 0.5f, BrARGB(255, 250, 250, 250));
  const float H = static_cast<float>(render->GetHeight());
  if (H > 0.0f) {
    // Both logo sizes divide by the screen height, the width too, so they keep their pixel proportions.
    const float pw = 300.0f * 0.33f / H;
    DrawScreenSprite(render, 0.88f - pw / 2.0f, 0.9f, pw, 162.0f * 0.33f / H, muiPublisherFX, 0.5f, white);
    const float mw = 539.0f * 0.2f / H;
    DrawScreenSprite(render, 0.12f - mw / 2.0f, 0.9f, mw, 238.0f * 0.2f / H, muiMakerFX, 0.5f, white);
  }
  if (BrFontMgr* fonts = render->FontMgr()) {
    fonts->SizeDown(1);
    BrARGB colour = white;
    char format[] = "%s";
    render->DrawTextf(0.5f, 0.95f, colour, eFontFormatCentre, format, "Brelmar Technology - Gravelle");
    fonts->SizeUp(1);
  }
}

void BrRAGGameStateMainMenu::DrawHUD(BrRenderBase* const render) {
  BrRAGGame* game = Game();
  if (BrHUD* hud = game ? game->GetHUD() : nullptr) hud->Draw(render);
}

void BrRAGGameStateMainMenu::OnExit() {
  BrBaseState::OnExit();
  BrRAGGame* game = Game();
  if (BrHUD* hud = game ? game->GetHUD() : nullptr) hud->DeactivateControl("mainmenu", true);
}
