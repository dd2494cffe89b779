// BrRAGPlayer's frame: the lantern and its oil, sight, footsteps, walking frames and what the player draws.
#include <cmath>
#include <cstdio>
#include <cstring>

#include "adventure/flow/BrRAGPlayerHUD.h"
#include "adventure/world/BrRAGMap.h"
#include "adventure/world/BrRAGMutator.h"
#include "adventure/world/BrRAGPlayer.h"
#include "adventure/world/BrRAGResolve.h"
#include "core/BrNumeric.h"
#include "core/BrPlane.h"
#include "engine/kernel/BrApplication.h"
#include "engine/kernel/BrEngine.h"
#include "engine/kernel/BrGame.h"
#include "engine/kernel/BrPickup.h"
#include "engine/presentation/BrAudioMgrBase.h"
#include "engine/presentation/BrCursor.h"
#include "engine/presentation/BrFontMgr.h"
#include "engine/presentation/BrHUD.h"
#include "engine/presentation/BrLightBase.h"
#include "engine/presentation/BrLightMgr.h"
#include "engine/presentation/BrRenderBase.h"

float BrRAGPlayer::GetLanternLevel() const { return m_bHasLantern ? m_fLanternPower : cfMaxLanternPower; }

void BrRAGPlayer::AdjustLanternPower(float delta) {
  m_fLanternPower += delta;
  if (m_fLanternPower < cfMinLanternPower) m_fLanternPower = cfMinLanternPower;
  if (m_fLanternPower > cfMaxLanternPower) m_fLanternPower = cfMaxLanternPower;
}

void BrRAGPlayer::AddOil(float amount) {
  m_fOil += amount;
  if (m_fOil < 0.0f) m_fOil = 0.0f;
  if (m_fOil > 100.0f) m_fOil = 100.0f;
}

float BrRAGPlayer::GetLightRadius() const {
  BrRAGMap* map = brRAGCast<BrRAGMap>(BrGameObj::WorldMap());
  const float scale = map ? map->GridScale() : BrRAGMap::cfDefaultGridScale;
  return GetLanternLevel() * m_fMaxViewDistance * scale;
}

bool BrRAGPlayer::CanSee(BrDemoEntity* entity) const {
  if (!entity) return false;
  const float d = (entity->Location() - Location()).Size() - entity->GetDrawScale().x;
  if (GetLightRadius() < d) return false;
  return BrRAGActor::CanSee(entity);
}

bool BrRAGPlayer::isAnimated() const { return m_bAnimated && m_WalkFrames.GetCount() > 0; }

// An animated player shows its facing by its walking frames; one whose frames did not load turns its portrait.
void BrRAGPlayer::FaceCamera() {
  m_bFacingCamera = true;
  if (!isAnimated()) m_Portrait.FaceCamera();
}

void BrRAGPlayer::FaceAway() {
  m_bFacingCamera = false;
  if (!isAnimated()) m_Portrait.FaceAway();
}

void BrRAGPlayer::ShowWalkFrame() {
  const int index = m_iCurrentFrame + (m_bFacingCamera ? 0 : 4);
  // A short frame list (frames that failed to load) keeps the portrait as it is.
  if (index >= 0 && index < m_WalkFrames.GetCount()) m_Portrait.SetEffector(unsigned(m_WalkFrames[index]));
}

void BrRAGPlayer::StepWalking(float dt) {
  const bool flying = GetMutator(BrStringT<char>("MUTFlying"), true) != nullptr;

  m_fFootstepTimer += dt;
  const float stepInterval = 0.5f - GetGroundSpeed() / 1200.0f;
  if (m_fFootstepTimer > stepInterval) {
    m_fFootstepTimer -= stepInterval;
    m_bLeftFoot = !m_bLeftFoot;
    if (BrAudioMgrBase* audio = Engine().Audio()) {
      if (!muiLeftStepSFX.Ready() || !muiRightStepSFX.Ready()) {
        audio->CreateAudio(BrStringT<char>("Sounds\\lstep.wav"), muiLeftStepSFX);
        audio->CreateAudio(BrStringT<char>("Sounds\\rstep.wav"), muiRightStepSFX);
      }
      if (!flying) audio->PlayAudio3D(m_bLeftFoot ? muiLeftStepSFX : muiRightStepSFX, Location());
    }
  }

  if (!isAnimated()) return;
  m_fFrameTimer += dt;
  const float frameInterval = 0.25f - GetGroundSpeed() / 2000.0f;
  if (m_fFrameTimer > frameInterval) {
    m_fFrameTimer -= frameInterval;
    if (!flying) m_iCurrentFrame = (m_iCurrentFrame + 1) % 4;
    ShowWalkFrame();
  }
}

void BrRAGPlayer::StepStanding() {
  m_fFootstepTimer = 0.0f;
  m_fFrameTimer = 0.0f;
  m_bLeftFoot = false;
  if (!isAnimated()) return;
  m_iCurrentFrame = 0;
  ShowWalkFrame();
}

void BrRAGPlayer::StepLight() {
  BrRenderBase* render = Engine().Render();
  BrLightMgr* lights = render ? render->LightMgr() : nullptr;
  BrLightBase* light = (lights && m_iLightIndex >= 0) ? lights->GetLight(m_iLightIndex) : nullptr;
  if (!light) return;
  light->SetPosition(GetCoords().Position);
  const float radius = GetLightRadius();
  // The flame flickers: one frame in ten on average reaches a little further.
  if (m_bHasLantern && brRandRangeF(0.0f, 1.0f) < 0.1f)
    light->SetRange(radius + brRandRangeF(16.0f, 64.0f));
  else
    light->SetRange(radius);
}

void BrRAGPlayer::Step(float dt) {
  BrRAGActor::Step(dt);
  if (GetHUD()) GetHUD()->Step(dt);

  BrDemoEntity* target = brRAGCast<BrDemoEntity>(GetTargetObj());
  const bool atTarget = !GetTargetObj() || (target && IsTouching(target));
  const bool arrived = (PathDestination() - Location()).Size() <= GetDrawScale().x;
  if (atTarget && arrived)
    StepStanding();
  else
    StepWalking(dt);

  StepLight();

  const float burnt = GetLanternLevel() * mfOilBurnRate * dt;
  m_fOil -= burnt;
  BrGame* game = brRAGCast<BrGame>(Engine().App());
  if (game && game->getDifficulty() == 0) m_fOil += burnt * 0.5f;
  AddOil(0.0f);
  if (m_fOil == 0.0f) Killed(BrStringT<char>("an empty lantern"));

  m_fTimeSinceWorldStart += dt;
}

void BrRAGPlayer::Draw(BrRenderBase* render) {
  BrRAGActor::Draw(render);
  if (!render) return;
  const BrVector up(0.0f, 1.0f, 0.0f);

  if (BrPickup* pickup = brRAGCast<BrPickup>(GetTargetObj())) {
    BrVector centre(pickup->Location().x, 1.0f, pickup->Location().z);
    BrPlane plane(up, pickup->Location() + up);
    render->Draw3DCircle(&centre, &plane, 0.75f * pickup->GetDrawScale().x, BrARGB(175, 0, 255, 0));
  }
  if ((PathDestination() - Location()).Size() > GetDrawScale().x) {
    BrVector centre(PathDestination().x, 1.0f, PathDestination().z);
    BrPlane plane(up, centre);
    render->Draw3DCircle(&centre, &plane, 10.0f, BrARGB(75, 255, 255, 255));
  }
  if (BrHUD* hud = GetHUD()) {
    BrRAGPlayerHUD* playerHUD = GetPlayerHUD();
    if (playerHUD && playerHUD->GetHUDOwner() < 0) playerHUD->SetHUDOwner(GetID());
    hud->Draw(render);
  }
}

void BrRAGPlayer::DrawMutators(BrRenderBase* render) {
  if (!render) return;
  const int n = m_MutatorIDs.GetCount();
  int valid = 0;
  for (int i = 0; i < n; ++i)
    if (m_MutatorIDs[i] != -1) ++valid;
  float x = 0.5f - (float(valid - 1) * 0.009f + float(valid) * 0.05f) / 2.0f;

  BrHUD* gameHUD = BrHUD::GameHUD();
  BrCursor* cursor = gameHUD ? gameHUD->GetCursor(-1) : nullptr;
  const float width = float(render->GetWidth());
  const float height = float(render->GetHeight());

  for (int i = 0; i < n; ++i) {
    BrRAGMutator* mutator = brRAGResolve<BrRAGMutator>(m_MutatorIDs[i]);
    if (!mutator) continue;
    mutator->DrawIcon(render, x, 0.075f, 0.05f, 0.05f * render->GetAspectRatio());
    if (cursor && width > 0.0f && height > 0.0f) {
      const float cx = cursor->CursorScreenX() / width;
      const float cy = cursor->CursorScreenY() / height;
      if (x < cx && cx < x + 0.05f && 0.075f < cy && cy < 0.125f) {
        BrStringT<char> name(mutator->GetName());
        BrStringT<char> shown;
        if (!brStrReplace(name, "MUT", "", shown)) shown = name;
        BrFontMgr* fonts = render->FontMgr();
        if (fonts) fonts->SizeUp(1);
        BrARGB colour(200, 255, 255, 255);
        char text[1024];
        snprintf(text, sizeof(text), "%s", shown.c_str() ? shown.c_str() : "");
        render->DrawTextA(0.5f, 0.175f, colour, eFontFormatFlags(1), text);
        if (fonts) fonts->SizeDown(1);
      }
    }
    x += 0.059f;
  }
}
