// BrRAGCursor: the pick of the entity under the pointer and the choice of cursor image for it.
#include "adventure/flow/BrRAGCursor.h"

#include "adventure/world/BrRAGActor.h"
#include "adventure/world/BrRAGCell.h"
#include "adventure/world/BrRAGMap.h"
#include "adventure/world/BrRAGPlayer.h"
#include "adventure/world/BrRAGWidget.h"
#include "core/BrPlane.h"
#include "engine/kernel/BrApplication.h"
#include "engine/kernel/BrEngine.h"
#include "engine/kernel/BrGame.h"
#include "engine/kernel/BrPickup.h"
#include "engine/presentation/BrGUI.h"
#include "engine/presentation/BrHUD.h"
#include "engine/presentation/BrRenderBase.h"

BR_IMPLEMENT_CLASS(BrRAGCursor, BrCursor)

int BrRAGCursor::muiBase = -1;
int BrRAGCursor::muiNoClick = -1;
int BrRAGCursor::muiPickup = -1;
int BrRAGCursor::muiMelee = -1;

namespace {

BrHUD* GameHUD() {
  BrApplication* app = Engine().App();
  BrGame* game = app ? static_cast<BrGame*>(app->SafeCast(&BrGame::Type)) : nullptr;
  return game ? game->GetHUD() : nullptr;
}

void SetHUDCursor(int index) {
  if (BrHUD* hud = GameHUD()) hud->SetCursor(index);
}

}  // namespace

BrRAGCursor::BrRAGCursor() {}

BrRAGCursor::~BrRAGCursor() { BrObject::Destroy(); }

void BrRAGCursor::Serialize(BrBin&) {}

bool BrRAGCursor::Init() {
  BrObject::Init();
  return true;
}

void BrRAGCursor::Step(float) {
  BrApplication* app = Engine().App();
  BrRenderBase* render = Engine().Render();
  if (!app || !render || !app->IsInState("BrRAGGameStatePlaying")) return;
  // Under an open dialog the pointer is on the dialog, not in the world: nothing there is a target, and a
  // target's name would be written over the dialog.
  BrGUI* gui = Engine().GUI();
  if (gui && gui->IsModal()) {
    SetTarget(nullptr);
    if (BrHUD* hud = GameHUD()) {
      hud->SetCursor(muiBase);
      if (BrCursor* base = hud->GetCursor(muiBase)) base->SetTarget(nullptr);
    }
    return;
  }

  const BrVector camera = app->Camera()->GetCoords().Position;
  BrHUD* hud = GameHUD();
  BrCursor* current = hud ? hud->GetCursor(-1) : nullptr;
  if (!current) return;
  const BrVector hot = current->GetClickPoint();
  const int px = static_cast<int>(static_cast<float>(static_cast<int>(current->CursorScreenX())) + hot.x);
  const int py = static_cast<int>(static_cast<float>(static_cast<int>(current->CursorScreenY())) + hot.y);
  BrVector direction(0.0f, 0.0f, 0.0f);
  render->DeProject(px, py, &direction);

  const BrPlane ground(BrVector(0.0f, 1.0f, 0.0f), 0.0f);
  float t = 0.0f;
  BrVector g;
  if (!ground.VectorIntersect(camera, camera + direction * (render->FarZ() * 1.1f), t, g)) return;

  BrMap* baseMap = app->Map();
  BrRAGMap* map = baseMap ? static_cast<BrRAGMap*>(baseMap->SafeCast(&BrRAGMap::Type)) : nullptr;
  if (!map) return;

  BrActor* playerActor = app->GetPlayer();
  BrRAGActor* player = playerActor ? static_cast<BrRAGActor*>(playerActor->SafeCast(&BrRAGActor::Type)) : nullptr;
  const BrVector ray = g - camera;
  BrObjectMgr& objects = map->ObjectMgr();
  for (int i = 0; i < objects.WalkCount(); ++i) {
    BrGameObj* object = objects.WalkObject(i);
    if (!object || !object->IsValid()) continue;
    BrDemoEntity* entity = static_cast<BrDemoEntity*>(object->SafeCast(&BrDemoEntity::Type));
    if (!entity) continue;
    // The pick radius is the draw scale's x; an entity drawn at no size is never picked.
    const float radius = entity->GetDrawScale().x;
    const bool under = radius > 0.0f && ray.Intersects(entity->Location() - camera, radius);
    if (!player || !player->CanSee(entity) || !under) {
      SetTarget(nullptr);
      SetHUDCursor(muiBase);
      continue;
    }
    if (entity->IsA(BrRAGPlayer::Type)) continue;
    SetCursorContext(entity);
    SetTarget(entity);
    break;
  }
  if (GetTargetID() == -1) {
    BrRAGCell* cell = map->GetCell(&g);
    if (cell && !cell->IsOccupied()) {
      SetTarget(nullptr);
      SetHUDCursor(muiBase);
    }
  }
}

void BrRAGCursor::SetCursorContext(BrDemoEntity* entity) {
  BrHUD* hud = GameHUD();
  if (!hud || !entity) return;
  hud->SetCursor(muiBase);
  if (entity->IsA(BrPickup::Type)) {
    hud->SetCursor(muiPickup);
    return;
  }
  BrApplication* app = Engine().App();
  BrActor* playerActor = app ? app->GetPlayer() : nullptr;
  BrRAGActor* player = playerActor ? static_cast<BrRAGActor*>(playerActor->SafeCast(&BrRAGActor::Type)) : nullptr;
  if (BrRAGActor* actor = static_cast<BrRAGActor*>(entity->SafeCast(&BrRAGActor::Type))) {
    if (player && player->CanAttack(actor)) hud->SetCursor(muiMelee);
  } else if (BrRAGWidget* widget = static_cast<BrRAGWidget*>(entity->SafeCast(&BrRAGWidget::Type))) {
    if (player && widget->CanUse(player)) hud->SetCursor(static_cast<int>(widget->GetUseCursorFX()));
  }
}
