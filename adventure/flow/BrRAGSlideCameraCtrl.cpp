// BrRAGSlideCameraCtrl, BrRAGMenuCtrl and BrRAGRotateCameraCtrl: clicks, held buttons, keys and the wheel turned into
// the player's actions and the camera's orbit.
#include "adventure/flow/BrRAGSlideCameraCtrl.h"

#include "adventure/flow/BrRAGCursor.h"
#include "adventure/flow/BrRAGPlayerHUD.h"
#include "adventure/world/BrRAGActor.h"
#include "adventure/world/BrRAGItem.h"
#include "adventure/world/BrRAGMap.h"
#include "adventure/world/BrRAGPlayer.h"
#include "adventure/world/BrRAGWidget.h"
#include "core/BrGlobals.h"
#include "core/BrPlane.h"
#include "engine/kernel/BrApplication.h"
#include "engine/kernel/BrCamera.h"
#include "engine/kernel/BrEngine.h"
#include "engine/kernel/BrGame.h"
#include "engine/kernel/BrPickup.h"
#include "engine/presentation/BrAudioMgrBase.h"
#include "engine/presentation/BrCursor.h"
#include "engine/presentation/BrGUI.h"
#include "engine/presentation/BrHUD.h"
#include "engine/presentation/BrMiniMap.h"
#include "engine/presentation/BrRenderBase.h"
#include "platform/win32/win32_user.h"

BR_IMPLEMENT_CLASS(BrRAGSlideCameraCtrl, BrSlideCameraCtrl)
BR_IMPLEMENT_CLASS(BrRAGMenuCtrl, BrRAGSlideCameraCtrl)
BR_IMPLEMENT_CLASS(BrRAGRotateCameraCtrl, BrRAGSlideCameraCtrl)

namespace {

bool Held(int vkey) { return (GetAsyncKeyState(vkey) & 0x8000) != 0; }

BrGame* TheGame() {
  BrApplication* app = Engine().App();
  return app ? static_cast<BrGame*>(app->SafeCast(&BrGame::Type)) : nullptr;
}

BrCursor* HUDCursor() {
  BrGame* game = TheGame();
  BrHUD* hud = game ? game->GetHUD() : nullptr;
  return hud ? hud->GetCursor(-1) : nullptr;
}

BrRAGPlayer* ThePlayer() {
  BrApplication* app = Engine().App();
  BrActor* actor = app ? app->GetPlayer() : nullptr;
  return actor ? static_cast<BrRAGPlayer*>(actor->SafeCast(&BrRAGPlayer::Type)) : nullptr;
}

}  // namespace

// ---------------------------------------------------------------------------------------------------------------
// BrRAGSlideCameraCtrl

BrRAGSlideCameraCtrl::BrRAGSlideCameraCtrl() : mfFacingSide(1.0f) {}

BrRAGSlideCameraCtrl::~BrRAGSlideCameraCtrl() {}

void BrRAGSlideCameraCtrl::Serialize(BrBin&) {}

bool BrRAGSlideCameraCtrl::Init() {
  BrController::Init();
  if (BrAudioMgrBase* audio = Engine().Audio()) {
    audio->CreateAudio("Sounds\\click.wav", m_ClickSound);
    audio->CreateAudio("Sounds\\pickup.wav", m_SecondSound);
  }
  mfFacingSide = 1.0f;
  return true;
}

void BrRAGSlideCameraCtrl::LeftClick() {
  BrApplication* app = Engine().App();
  if (app && app->IsInState("BrRAGGameStatePaused")) return;
  BrController::LeftClick();
}

void BrRAGSlideCameraCtrl::OnActivate() {
  m_bLeftHeld = false;
  m_fHeldTime = 0.0f;
}

void BrRAGSlideCameraCtrl::ClickPixel(BrCursor* cursor, int& x, int& y) {
  const BrVector hot = cursor->GetClickPoint();
  x = static_cast<int>(static_cast<float>(static_cast<int>(cursor->CursorScreenX())) + hot.x);
  y = static_cast<int>(static_cast<float>(static_cast<int>(cursor->CursorScreenY())) + hot.y);
}

bool BrRAGSlideCameraCtrl::ClickFractions(BrCursor* cursor, float& fx, float& fy) {
  BrRenderBase* render = Engine().Render();
  if (!render || !cursor || render->GetWidth() == 0 || render->GetHeight() == 0) return false;
  int x = 0;
  int y = 0;
  ClickPixel(cursor, x, y);
  fx = static_cast<float>(x) / static_cast<float>(render->GetWidth());
  fy = static_cast<float>(y) / static_cast<float>(render->GetHeight());
  return true;
}

bool BrRAGSlideCameraCtrl::IntersectCursorWithFloor(BrCursor* cursor, BrVector& point) {
  BrApplication* app = Engine().App();
  BrRenderBase* render = Engine().Render();
  if (!app || !render || !cursor) return false;
  const BrVector camera = app->Camera()->GetCoords().Position;
  int x = 0;
  int y = 0;
  ClickPixel(cursor, x, y);
  BrVector direction(0.0f, 0.0f, 0.0f);
  render->DeProject(x, y, &direction);
  const BrPlane floor(BrVector(0.0f, 1.0f, 0.0f), BrVector(0.0f, 0.0f, 0.0f));
  float t = 0.0f;
  BrVector hit;
  if (!floor.VectorIntersect(camera, camera + direction * (render->FarZ() * 1.1f), t, hit)) return false;
  point = hit;
  return true;
}

void BrRAGSlideCameraCtrl::OrientPlayerForMove(BrRAGPlayer* player, const BrVector& point) {
  BrApplication* app = Engine().App();
  if (!app || !player) return;
  const BrCoords& frame = app->Camera()->GetCoords();
  const BrVector camera = frame.Position;
  const BrVector toPoint = point - camera;
  const float size = toPoint.Size();
  const float d = size > 0.0f ? (frame.X | (toPoint * (1.0f / size))) : 0.0f;
  if ((d > 0.0f) != (mfFacingSide > 0.0f)) player->Portrait().FlipHorizontal();
  mfFacingSide = d;
  if (toPoint.Size() < (player->Location() - camera).Size())
    player->FaceCamera();
  else
    player->FaceAway();
}

void BrRAGSlideCameraCtrl::WalkTo(BrRAGPlayer* player, const BrVector& point) {
  player->ChangeToState("BrRAGStateNormal");
  // No object id: drops any target (id 0 would name a real object, often not the player's goal).
  player->HeadForTargetObj(-1);
  player->PathTo(point);
}

void BrRAGSlideCameraCtrl::HandleMouseButtons() {
  if (m_bLeftClick)
    HandleLeftClick();
  else if (m_bRightClick)
    HandleRightClick();
}

void BrRAGSlideCameraCtrl::HandleLeftClick() {
  m_bLeftClick = false;
  BrCursor* cursor = HUDCursor();
  if (!cursor) return;
  BrVector point(0.0f, 0.0f, 0.0f);
  const bool floorHit = IntersectCursorWithFloor(cursor, point);
  float fx = 0.0f;
  float fy = 0.0f;
  BrGUI* gui = Engine().GUI();
  if (gui && ClickFractions(cursor, fx, fy) && gui->LeftClick(fx, fy)) return;
  if (gui && gui->IsModal()) return;

  bool handled = true;
  BrDemoEntity* target = cursor->GetCursorTarget();
  BrRAGPlayer* player = ThePlayer();
  if (!target || target->IsA(BrRAGItem::Type) || target == player || !player || !player->IsValid()) {
    handled = false;
  } else if (BrRAGActor* actor = static_cast<BrRAGActor*>(target->SafeCast(&BrRAGActor::Type))) {
    player->Attack(actor);
  } else if (target->IsA(BrPickup::Type)) {
    player->HeadForTargetObj(target->GetID());
    if (BrAudioMgrBase* audio = Engine().Audio()) audio->PlayAudio2D(m_SecondSound);
  } else if (BrRAGWidget* widget = static_cast<BrRAGWidget*>(target->SafeCast(&BrRAGWidget::Type))) {
    if (widget->CanUse(player))
      player->HeadForTargetObj(target->GetID());
    else
      handled = false;
  }
  if (!player) return;
  if (!handled && floorHit) WalkTo(player, point);
  OrientPlayerForMove(player, point);
}

void BrRAGSlideCameraCtrl::HandleRightClick() {
  m_bRightClick = false;
  BrCursor* cursor = HUDCursor();
  float fx = 0.0f;
  float fy = 0.0f;
  if (!Engine().App() || !cursor || !ClickFractions(cursor, fx, fy)) return;
  BrRAGPlayer* player = ThePlayer();
  if (BrHUD* hud = player ? player->GetHUD() : nullptr) hud->RightClick(fx, fy);
}

void BrRAGSlideCameraCtrl::HandleMouse(float dt) {
  BrSlideCameraCtrl::HandleMouse(dt);
  BrCursor* cursor = Engine().App() ? HUDCursor() : nullptr;
  if (!cursor) return;
  HandleMouseButtons();
  if (!m_bLeftHeld || m_fHeldTime <= 0.2f) return;
  BrVector point;
  if (!IntersectCursorWithFloor(HUDCursor(), point)) return;
  if (BrRAGPlayer* player = ThePlayer()) {
    WalkTo(player, point);
    OrientPlayerForMove(player, point);
  }
}

// ---------------------------------------------------------------------------------------------------------------
// BrRAGMenuCtrl

BrRAGMenuCtrl::BrRAGMenuCtrl() {}

BrRAGMenuCtrl::~BrRAGMenuCtrl() {}

void BrRAGMenuCtrl::Serialize(BrBin&) {}

void BrRAGMenuCtrl::OnActivate() {
  BrGame* game = TheGame();
  if (BrHUD* hud = game ? game->GetHUD() : nullptr) hud->SetCursor(BrRAGCursor::muiBase);
}

void BrRAGMenuCtrl::CursorTouchingBottom(float) {}
void BrRAGMenuCtrl::CursorTouchingTop(float) {}
void BrRAGMenuCtrl::CursorTouchingLeft(float) {}
void BrRAGMenuCtrl::CursorTouchingRight(float) {}

void BrRAGMenuCtrl::HandleMouse(float dt) {
  BrSlideCameraCtrl::HandleMouse(dt);
  if (Engine().App() && HUDCursor()) HandleMouseButtons();
}

void BrRAGMenuCtrl::HandleLeftClick() {
  m_bLeftClick = false;
  BrCursor* cursor = HUDCursor();
  float fx = 0.0f;
  float fy = 0.0f;
  BrGUI* gui = Engine().GUI();
  if (gui && cursor && ClickFractions(cursor, fx, fy)) gui->LeftClick(fx, fy);
}

// ---------------------------------------------------------------------------------------------------------------
// BrRAGRotateCameraCtrl

BrRAGRotateCameraCtrl::BrRAGRotateCameraCtrl()
    : mfYaw(315.0f),
      mfCamHeight(300.0f),
      mfCamDistance(750.0f),
      miCameraTarget(-1),
      mfMaxCamHeight(400.0f),
      mfMinCamHeight(100.0f),
      mfMaxDistance(800.0f),
      mfMinDistance(200.0f),
      mfRotVelocity(0.0f),
      mfRotSpeed(65.0f),
      mfRotDamping(3.5f),
      mfZoomVelocity(0.0f),
      mfZoomDamping(3.5f),
      mbExportHeld(false) {}

BrRAGRotateCameraCtrl::BrRAGRotateCameraCtrl(const BrRAGRotateCameraCtrl& other) : BrRAGSlideCameraCtrl(other) {
  *this = other;
}

BrRAGRotateCameraCtrl& BrRAGRotateCameraCtrl::operator=(const BrRAGRotateCameraCtrl& other) {
  if (this == &other) return *this;
  BrRAGSlideCameraCtrl::operator=(other);
  mfYaw = other.mfYaw;
  mfCamHeight = other.mfCamHeight;
  mfCamDistance = other.mfCamDistance;
  miCameraTarget = other.miCameraTarget;
  mfMaxCamHeight = other.mfMaxCamHeight;
  mfMinCamHeight = other.mfMinCamHeight;
  mfMaxDistance = other.mfMaxDistance;
  mfMinDistance = other.mfMinDistance;
  mfRotVelocity = other.mfRotVelocity;
  mfRotSpeed = other.mfRotSpeed;
  mfRotDamping = other.mfRotDamping;
  mfZoomVelocity = other.mfZoomVelocity;
  mfZoomDamping = other.mfZoomDamping;
  mbExportHeld = other.mbExportHeld;
  return *this;
}

BrRAGRotateCameraCtrl::~BrRAGRotateCameraCtrl() {}

void BrRAGRotateCameraCtrl::Serialize(BrBin&) {}

void BrRAGRotateCameraCtrl::SetCameraTarget(BrGameObj* target) { miCameraTarget = target ? target->GetID() : -1; }

BrGameObj* BrRAGRotateCameraCtrl::GetCameraTarget() const {
  BrApplication* app = Engine().App();
  BrMap* map = app ? app->Map() : nullptr;
  if (!map || miCameraTarget < 0) return nullptr;
  BrGameObj* target = map->GetObjectA(miCameraTarget);
  return target && target->IsValid() ? target : nullptr;
}

void BrRAGRotateCameraCtrl::CursorTouchingBottom(float) {}
void BrRAGRotateCameraCtrl::CursorTouchingTop(float) {}
void BrRAGRotateCameraCtrl::CursorTouchingLeft(float) {}
void BrRAGRotateCameraCtrl::CursorTouchingRight(float) {}

void BrRAGRotateCameraCtrl::ProcessInput(float dt) {
  BrGUI* gui = Engine().GUI();
  if (!gui || !gui->IsModal()) {
    BrGameObj* target = GetCameraTarget();
    BrCamera* camera = m_pSubject ? static_cast<BrCamera*>(m_pSubject->SafeCast(&BrCamera::Type)) : nullptr;
    if (target && camera) {
      // The orbit uses the yaw of the previous step; this step's turn is applied in HandleMouse below.
      BrVector offset(0.0f, 0.0f, mfCamDistance);
      offset.AxisAngleRotation(BrVector(0.0f, 1.0f, 0.0f), mfYaw / 360.0f * 6.2831855f);
      offset = offset + BrVector(0.0f, mfCamHeight, 0.0f);
      camera->Location() = target->Location() + offset;
      camera->LookAt(target);
    }
    const bool a = Held(0x41), d = Held(0x44), j = Held(0x4A), l = Held(0x4C);
    if ((a && !d) || (j && !l)) mfRotVelocity = mfRotSpeed;
    if ((d && !a) || (l && !j)) mfRotVelocity = -mfRotSpeed;

    BrGame* game = TheGame();
    if (BrMiniMap* minimap = game ? game->GetMiniMap() : nullptr) {
      const bool e = Held(0x45), q = Held(0x51), o = Held(0x4F), u = Held(0x55);
      if ((e && !q) || (o && !u)) minimap->ZoomIn(dt);
      if ((q && !e) || (u && !o)) minimap->ZoomOut(dt);
    }
    if (BrRAGPlayer* player = ThePlayer()) {
      const bool w = Held(0x57), s = Held(0x53), i = Held(0x49), k = Held(0x4B);
      if ((s && !w) || (k && !i)) player->AdjustLanternPower(-dt);
      if ((w && !s) || (i && !k)) player->AdjustLanternPower(dt);
      BrHUD* hud = player->GetHUD();
      BrRAGPlayerHUD* playerHUD = hud ? static_cast<BrRAGPlayerHUD*>(hud->SafeCast(&BrRAGPlayerHUD::Type)) : nullptr;
      for (int n = 0; n <= 9 && playerHUD; ++n)
        if (Held(0x30 + n)) playerHUD->UseQuickSlot(n);
    }
    // As a screenshot: one press is one export (held, the keys wrote the grid image again every step, and a
    // new file each second).
    const bool exportKeys = Held(0x11) && Held(0x2C);
    const bool freshExport = exportKeys && !mbExportHeld;
    mbExportHeld = exportKeys;
    if (freshExport) {
      BrApplication* app = Engine().App();
      BrMap* map = app ? app->Map() : nullptr;
      if (BrRAGMap* ragMap = map ? static_cast<BrRAGMap*>(map->SafeCast(&BrRAGMap::Type)) : nullptr)
        ragMap->ExportTestMap();
    }
  }
  BrSlideCameraCtrl::ProcessInput(dt);
}

void BrRAGRotateCameraCtrl::HandleMouse(float dt) {
  if (mfRotVelocity != 0.0f) mfRotVelocity -= dt * mfRotDamping * mfRotVelocity;
  Rotate(dt * mfRotVelocity);
  if (mfZoomVelocity != 0.0f) mfZoomVelocity -= dt * mfZoomDamping * mfZoomVelocity;
  Zoom(dt * mfZoomVelocity);
  BrRAGSlideCameraCtrl::HandleMouse(dt);
}

void BrRAGRotateCameraCtrl::Rotate(float degrees) {
  mfYaw += degrees;
  while (mfYaw > 360.0f) mfYaw -= 360.0f;
}

void BrRAGRotateCameraCtrl::SetMaxCameraHeight(float h) {
  mfMaxCamHeight = h;
  mfCamHeight = h;
}

void BrRAGRotateCameraCtrl::Zoom(float amount) {
  BrApplication* app = Engine().App();
  BrMap* map = app ? app->Map() : nullptr;
  if (BrRAGMap* ragMap = map ? static_cast<BrRAGMap*>(map->SafeCast(&BrRAGMap::Type)) : nullptr)
    SetMaxCameraHeight(ragMap->GetWallHeight() + ragMap->GridScale());
  if (amount < -1.0f) amount = -1.0f;
  if (amount > 1.0f) amount = 1.0f;
  mfCamHeight -= (mfMaxCamHeight - mfMinCamHeight) * amount;
  if (mfCamHeight < mfMinCamHeight) mfCamHeight = mfMinCamHeight;
  if (mfCamHeight > mfMaxCamHeight) mfCamHeight = mfMaxCamHeight;
  mfCamDistance -= (mfMaxDistance - mfMinDistance) * amount;
  if (mfCamDistance < mfMinDistance) mfCamDistance = mfMinDistance;
  if (mfCamDistance > mfMaxDistance) mfCamDistance = mfMaxDistance;
}

void BrRAGRotateCameraCtrl::MouseWheel(int delta) {
  const float d = static_cast<float>(delta) / 1000.0f;
  BrGame* game = TheGame();
  BrMiniMap* minimap = game ? game->GetMiniMap() : nullptr;
  if (!minimap) return;
  if (delta > 0) minimap->ZoomIn(d);
  if (delta < 0) minimap->ZoomOut(-d);
}
