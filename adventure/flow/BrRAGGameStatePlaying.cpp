// BrRAGGameStatePlaying and BrRAGGameStatePaused: a new game, the in-game camera and HUD, the map's step, the level's
// end, and the frozen, muted pause.
#include "adventure/flow/BrRAGGameStatePlaying.h"

#include "adventure/flow/BrRAGCursor.h"
#include "adventure/flow/BrRAGGame.h"
#include "adventure/flow/BrRAGPlayerHUD.h"
#include "adventure/flow/BrRAGSlideCameraCtrl.h"
#include "adventure/world/BrRAGLevelInfo.h"
#include "adventure/world/BrRAGMap.h"
#include "adventure/world/BrRAGPlayer.h"
#include "adventure/world/BrRAGResolve.h"
#include "core/BrGlobals.h"
#include "core/BrLogFile.h"
#include "engine/kernel/BrConfigCache.h"
#include "engine/kernel/BrController.h"
#include "engine/kernel/BrEngine.h"
#include "engine/presentation/BrAudioMgrBase.h"
#include "engine/presentation/BrCursor.h"
#include "engine/presentation/BrEffectorMgr.h"
#include "engine/presentation/BrGUI.h"
#include "engine/presentation/BrHUD.h"
#include "engine/presentation/BrMiniMap.h"
#include "engine/presentation/BrRenderBase.h"
#include "engine/presentation/BrSoundFX.h"

BR_IMPLEMENT_CLASS(BrRAGGameStatePlaying, BrRAGGameState)
BR_IMPLEMENT_CLASS(BrRAGGameStatePaused, BrRAGGameState)

namespace {

void StopMenuMusic(BrAudioID& music) {
  BrAudioMgrBase* audio = Engine().Audio();
  BrSoundFX* sound = audio ? audio->GetAudio(music) : nullptr;
  if (sound && sound->IsPlaying()) music.Stop();
}

}  // namespace

BrRAGGameStatePlaying::BrRAGGameStatePlaying() : mbFadeIn(true), mbReportedNoMap(false) {}

BrRAGGameStatePlaying::~BrRAGGameStatePlaying() {}

bool BrRAGGameStatePlaying::Init() {
  BrBaseState::Init();
  BrRAGGame* game = Game();
  BrHUD* hud = game ? game->GetHUD() : nullptr;
  BrObject* spawned = static_cast<BrObject*>(Engine().Spawn("BrUIControl"));
  BrUIControl* control = spawned ? static_cast<BrUIControl*>(spawned->SafeCast(&BrUIControl::Type)) : nullptr;
  if (control && hud) {
    control->Init();
    control->SetID("ingame");
    control->SetArea(0.0f, 0.0f, 1.0f, 1.0f);
    hud->AddChildControl(control);
  } else {
    delete spawned;
  }
  mbFadeIn = true;
  return true;
}

void BrRAGGameStatePlaying::OnEntry() {
  BrBaseState::OnEntry();
  BrRAGGame* game = Game();
  if (!game) return;
  if (game->WasInState("BrRAGGameStateMainMenu")) {
    game->CreateMap();
    int startLevel = 1;
    if (BrConfigCache* config = Engine().GetConfig()) config->GetInteger("RAG", "StartLevel", startLevel);
    BrMap* map = game->Map();
    BrRAGMap* ragMap = map ? static_cast<BrRAGMap*>(map->SafeCast(&BrRAGMap::Type)) : nullptr;
    if (startLevel != 1 && ragMap) {
      // The first level of a world opens the world-complete question here, and the question hands the camera
      // back to whatever controller it found when it closes. That must be the one play uses, not the main
      // menu's, or "Continue" leaves a black screen that no click can walk in.
      game->Camera()->SetControllerType("BrRAGRotateCameraCtrl");
      ragMap->SetLevel(static_cast<unsigned int>(startLevel));
    }
  }
  // A new or loaded game has just replaced the map; the HUDs of the players that went with it are let go.
  BrRAGPlayerHUD::RemoveUnheld();
  game->Camera()->SetControllerType("BrRAGRotateCameraCtrl");
  BrController* controller = game->Camera()->GetController();
  if (BrRAGRotateCameraCtrl* rotate =
          controller ? static_cast<BrRAGRotateCameraCtrl*>(controller->SafeCast(&BrRAGRotateCameraCtrl::Type))
                     : nullptr) {
    rotate->SetCameraTarget(game->GetPlayer());
    rotate->Zoom(-1.0f);
  }
  if (BrGUI* gui = Engine().GUI()) {
    gui->ActivateControl("ingame_playerhud", true);
    gui->ActivateControl("ingame", true);
  }
  if (game->WasInState("BrRAGGameStateInterlude") || game->WasInState("BrRAGGameStateMainMenu")) mbFadeIn = true;
  StopMenuMusic(menuMusicSFX);
}

void BrRAGGameStatePlaying::Step(float dt) {
  BrRAGGameState::Step(dt);
  BrRAGGame* game = Game();
  if (!game) return;
  BrMap* map = game->Map();
  if (!map) {
    // Without the game library there is no map class to play in; the menu is the only sensible place to go.
    if (!mbReportedNoMap) GLog.printf("ERROR: No map to play (is the game library missing?)");
    mbReportedNoMap = true;
    game->ChangeToState("BrRAGGameStateMainMenu");
    return;
  }
  BrGUI* gui = Engine().GUI();
  if (!gui || !gui->IsModal()) map->Step(dt);
  // The step may have ended the game or changed the map; look again.
  map = game->Map();
  if (!GExit) {
    if (BrController* controller = game->ActiveController()) controller->ProcessInput(dt);
  }
  map = game->Map();
  BrLevelInfo* info = map ? LevelInfoOf(map) : nullptr;
  BrRAGLevelInfo* ragInfo = info ? static_cast<BrRAGLevelInfo*>(info->SafeCast(&BrRAGLevelInfo::Type)) : nullptr;
  if (ragInfo && ragInfo->IsCompleted() && game->IsInState("BrRAGGameStatePlaying"))
    game->ChangeToState("BrRAGGameStateCompleted");
}

BrLevelInfo* BrRAGGameStatePlaying::LevelInfoOf(BrMap* map) {
  const int objects = map->NumObjects();
  if (miInfoId >= 0 && map == mpInfoMap && objects >= miInfoObjects && miInfoId < objects) {
    BrGameObj* object = map->GetObjectA(miInfoId);
    if (object == mpInfoObject && object->IsA(BrLevelInfo::Type)) {
      miInfoObjects = objects;
      return static_cast<BrLevelInfo*>(object);
    }
  }
  // The scan as the map makes it, over the live objects; a level without one pays it every frame.
  miInfoId = -1;
  BrObjectMgr& walk = map->ObjectMgr();
  for (int i = 0; i < walk.WalkCount(); ++i) {
    BrGameObj* object = walk.WalkObject(i);
    if (object && object->IsA(BrLevelInfo::Type)) {
      miInfoId = object->GetID();
      mpInfoMap = map;
      miInfoObjects = objects;
      mpInfoObject = object;
      return static_cast<BrLevelInfo*>(object);
    }
  }
  return nullptr;
}

void BrRAGGameStatePlaying::Draw(BrRenderBase*) {
  BrRAGGame* game = Game();
  if (game && game->Map()) game->Map()->Draw(Engine().Render());
}

void BrRAGGameStatePlaying::DrawHUD(BrRenderBase* const render) {
  BrRAGGame* game = Game();
  if (!game) return;
  if (BrMiniMap* minimap = game->GetMiniMap()) minimap->Draw(render);
  if (BrHUD* hud = game->GetHUD()) hud->Draw(render);
  if (mbFadeIn && render) {
    const float alpha = 1.0f - game->TimeInCurrState() / 2.0f;
    if (alpha < 0.0f) {
      mbFadeIn = false;
      render->DrawFadeTile(0.0f, 0.0001f);
    } else {
      BrRAGPlayer* player = brRAGCast<BrRAGPlayer>(game->GetPlayer());
      if (BrRAGPlayerHUD* playerHUD = player ? player->GetPlayerHUD() : nullptr) playerHUD->DrawUnderFade(render);
      render->DrawFadeTile(alpha, 0.0001f);
    }
  }
}

void BrRAGGameStatePlaying::OnExit() {
  BrBaseState::OnExit();
  if (BrGUI* gui = Engine().GUI()) gui->DeactivateControl("ingame", true);
  BrRAGGame* game = Game();
  BrHUD* hud = game ? game->GetHUD() : nullptr;
  if (BrCursor* base = hud ? hud->GetCursor(BrRAGCursor::muiBase) : nullptr) base->SetTarget(nullptr);
}

BrRAGGameStatePaused::BrRAGGameStatePaused() : muiVeilFX(0), muiImageFX(0) {}

BrRAGGameStatePaused::~BrRAGGameStatePaused() {}

void BrRAGGameStatePaused::OnEntry() {
  BrBaseState::OnEntry();
  if (BrAudioMgrBase* audio = Engine().Audio()) audio->Mute();
}

void BrRAGGameStatePaused::OnExit() {
  BrBaseState::OnExit();
  if (BrAudioMgrBase* audio = Engine().Audio()) audio->UnMute();
}

void BrRAGGameStatePaused::Draw(BrRenderBase* render) {
  if (!render) return;
  if (muiVeilFX == 0 && muiImageFX == 0) {
    if (BrEffectorMgr* fx = render->FXMgr()) muiVeilFX = fx->GetEffector(BrStringT<char>("ShaderBlackBack"));
    muiImageFX = MakeScreenEffector("Textures\\ui\\pausedfront.tga", "ShaderPausedFront");
  }
  BrRAGGame* game = Game();
  if (!game || !game->Map()) return;
  game->Map()->Draw(Engine().Render());
  if (BrMiniMap* minimap = game->GetMiniMap()) minimap->Draw(render);
  DrawScreenSprite(render, 0.0f, 0.0f, 1.0f, 1.0f, muiVeilFX, 0.001f, BrARGB(150, 255, 255, 255));
  DrawScreenSprite(render, 0.4f, 0.45f, 0.2f, 0.1f, muiImageFX, 0.001f, BrARGB(255, 255, 255, 255));
}

void BrRAGGameStatePaused::DrawHUD(BrRenderBase* const render) { BrBaseState::Draw(render); }
