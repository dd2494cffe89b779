// BrController, BrCameraCtrl, BrSlideCameraCtrl: clicks, mouse-look, field-of-view keys, cursor and edge slides.
#include "engine/kernel/BrController.h"

#include "core/BrLogFile.h"
#include "core/BrGlobals.h"
#include "core/BrSubSystem.h"
#include "engine/kernel/BrApplication.h"
#include "engine/kernel/BrCamera.h"
#include "engine/kernel/BrConfigCache.h"
#include "engine/kernel/BrEngine.h"
#include "engine/kernel/BrGame.h"
#include "engine/kernel/BrGameObj.h"
#include "engine/presentation/BrCursor.h"
#include "engine/presentation/BrHUD.h"
#include "engine/presentation/BrAudioMgrBase.h"
#include "engine/presentation/BrRenderBase.h"
#include "platform/win32/win32_user.h"

BR_IMPLEMENT_CLASS(BrController, BrObject)
BR_IMPLEMENT_CLASS(BrCameraCtrl, BrController)
BR_IMPLEMENT_CLASS(BrSlideCameraCtrl, BrCameraCtrl)

namespace {
const float kTwoPi = 6.2831855f;
bool KeyDown(int vkey) { return (GetAsyncKeyState(vkey) & 0x8000) != 0; }
bool SubjectIsCamera(BrGameObj* subject) { return subject && subject->SafeCast(&BrCamera::Type); }
}  // namespace

BrController::BrController()
    : m_pSubject(nullptr), m_bLeftClick(false), m_bRightClick(false), m_bLeftHeld(false), m_fHeldTime(0.0f) {}

BrController::BrController(const BrController& other)
    : BrObject(other),
      m_pSubject(other.m_pSubject),
      m_bLeftClick(other.m_bLeftClick),
      m_bRightClick(other.m_bRightClick),
      m_ClickSound(other.m_ClickSound),
      m_SecondSound(other.m_SecondSound),
      m_bLeftHeld(other.m_bLeftHeld),
      m_fHeldTime(other.m_fHeldTime) {}

BrController& BrController::operator=(const BrController& other) {
  if (this == &other) return *this;
  BrObject::operator=(other);
  m_pSubject = other.m_pSubject;
  m_bLeftClick = other.m_bLeftClick;
  m_bRightClick = other.m_bRightClick;
  m_ClickSound = other.m_ClickSound;
  m_SecondSound = other.m_SecondSound;
  m_bLeftHeld = other.m_bLeftHeld;
  m_fHeldTime = other.m_fHeldTime;
  return *this;
}

BrController::~BrController() { BrController::Destroy(); }

void BrController::Serialize(BrBin& bin) { BrObject::Serialize(bin); }

bool BrController::Init() {
  m_pSubject = nullptr;
  m_bLeftClick = false;
  m_bRightClick = false;
  m_ClickSound = BrAudioID(0);
  m_SecondSound = BrAudioID(0);
  m_bLeftHeld = false;
  m_fHeldTime = 0.0f;
  return BrObject::Init();
}

void BrController::Destroy() {
  m_pSubject = nullptr;
  m_bLeftClick = false;
  m_bRightClick = false;
  m_ClickSound = BrAudioID(0);
  m_SecondSound = BrAudioID(0);
  m_bLeftHeld = false;
  m_fHeldTime = 0.0f;
}

void BrController::ProcessInput(float dt) {
  if (m_bLeftHeld) m_fHeldTime += dt;
  HandleMouse(dt);
  if (!GExit && Engine().OSGUI()) Engine().OSGUI()->CentreMouse();
}

void BrController::LeftMouseDown() {
  m_bLeftHeld = true;
  m_fHeldTime = 0.0f;
}

void BrController::LeftClick() {
  m_bLeftClick = true;
  m_bLeftHeld = false;
  PlayLeftClickSound();
}

void BrController::MouseWheel(int) {}

void BrController::RightClick() {
  m_bRightClick = true;
  PlayLeftClickSound();
}

void BrController::PlayLeftClickSound() {
  if (BrAudioMgrBase* audio = Engine().Audio()) audio->PlayAudio2D(m_ClickSound);
}

void BrController::OnActivate() {}
void BrController::HandleMouseButtons() {}
void BrController::HandleLeftClick() {}
void BrController::HandleRightClick() {}

void BrController::MouseOffset(int& dx, int& dy) {
  dx = 0;
  dy = 0;
  BrWindowBase* window = Engine().OSGUI();
  if (!window) return;
  int mx = 0;
  int my = 0;
  window->GetMousePos(mx, my);
  const RECT area = window->GetClientArea();
  dx = mx - int((area.right - area.left) / 2);
  dy = my - int((area.bottom - area.top) / 2);
}

void BrController::HandleMouse(float dt) {
  if (!m_pSubject) return;
  int dx = 0;
  int dy = 0;
  MouseOffset(dx, dy);
  const float pitch = float(dy) / 100.0f * dt * 400.0f / 360.0f * kTwoPi;
  const float yaw = float(dx) / 100.0f * dt * 400.0f / 360.0f * kTwoPi;
  BrCoords& frame = m_pSubject->GetCoords();
  frame.Z.AxisAngleRotation(frame.X, pitch);
  frame.Y.AxisAngleRotation(frame.X, pitch);
  const BrVector worldUp(0, 1, 0);
  frame.Z.AxisAngleRotation(worldUp, yaw);
  frame.Y.AxisAngleRotation(worldUp, yaw);
  frame.X.AxisAngleRotation(worldUp, yaw);
}

BrCameraCtrl::BrCameraCtrl() {}
BrCameraCtrl::~BrCameraCtrl() {}
void BrCameraCtrl::Serialize(BrBin& bin) { BrController::Serialize(bin); }

void BrCameraCtrl::ProcessInput(float dt) {
  if (SubjectIsCamera(m_pSubject)) {
    BrCamera* camera = static_cast<BrCamera*>(m_pSubject);
    if (KeyDown(80)) camera->FOV() += 5.0f;
    if (KeyDown(79)) camera->FOV() -= 5.0f;
  } else {
    GLog.DebugPrintf("WARNING: BrCameraCtrl attached to non-camera entity");
  }
  BrController::ProcessInput(dt);
}

BrSlideCameraCtrl::BrSlideCameraCtrl() {}
BrSlideCameraCtrl::~BrSlideCameraCtrl() {}
void BrSlideCameraCtrl::Serialize(BrBin&) {}

void BrSlideCameraCtrl::ProcessInput(float dt) {
  if (!SubjectIsCamera(m_pSubject)) GLog.DebugPrintf("WARNING: BrCameraCtrl attached to non-camera entity");
  BrController::ProcessInput(dt);
  if (BrAudioMgrBase* audio = Engine().Audio()) {
    if (KeyDown(190))
      audio->VolumeUp();
    else if (KeyDown(188))
      audio->VolumeDown();
  }
}

float BrSlideCameraCtrl::SlideStep(float dt) {
  BrRenderBase* render = Engine().Render();
  return render ? float(render->GetWidth()) * dt * 1.5f : 0.0f;
}

void BrSlideCameraCtrl::Slide(float dx, float dz) {
  if (!m_pSubject) return;
  BrVector& location = m_pSubject->Location();
  location.x += dx;
  location.z += dz;
}

void BrSlideCameraCtrl::CursorTouchingTop(float dt) {
  const float s = SlideStep(dt);
  Slide(s, s);
}

void BrSlideCameraCtrl::CursorTouchingBottom(float dt) {
  const float s = SlideStep(dt);
  Slide(-s, -s);
}

void BrSlideCameraCtrl::CursorTouchingLeft(float dt) {
  const float s = SlideStep(dt);
  Slide(-s, s);
}

void BrSlideCameraCtrl::CursorTouchingRight(float dt) {
  const float s = SlideStep(dt);
  Slide(s, -s);
}

void BrSlideCameraCtrl::HandleMouse(float dt) {
  BrApplication* app = Engine().App();
  if (!app || !app->IsA(BrGame::Type)) return;
  BrHUD* hud = static_cast<BrGame*>(app)->GetHUD();
  if (hud && hud->GetCursor(-1)) MoveMouseCursor(dt);
}

void BrSlideCameraCtrl::MoveMouseCursor(float dt) {
  BrApplication* app = Engine().App();
  BrRenderBase* render = Engine().Render();
  if (!app || !render || !app->IsA(BrGame::Type)) return;
  BrHUD* hud = static_cast<BrGame*>(app)->GetHUD();
  BrCursor* cursor = hud ? hud->GetCursor(-1) : nullptr;
  if (!cursor) return;
  const float W = float(render->GetWidth());
  const float H = float(render->GetHeight());
  if (W <= 0.0f) return;
  int dx = 0;
  int dy = 0;
  MouseOffset(dx, dy);
  const float k = W / 960.0f * 22.0f;
  // A cache that was not read from a file may lack the speeds; the configuration's own default stands in.
  int speedX = 50;
  int speedY = 50;
  // Still, the mouse moves the cursor by nothing at any speed: the settings are read only for a motion.
  BrConfigCache* config = (dx != 0 || dy != 0) ? Engine().GetConfig() : nullptr;
  if (config) {
    config->GetInteger(BrStringT<char>("App"), BrStringT<char>("MouseSpeedX"), speedX);
    config->GetInteger(BrStringT<char>("App"), BrStringT<char>("MouseSpeedY"), speedY);
  }
  cursor->CursorScreenX() += (W / k) * float(speedX) * (float(dx) / 1250.0f);
  cursor->CursorScreenY() += (H / k) * float(speedY) * (float(dy) / 1250.0f);
  const BrVector p = cursor->GetClickPoint();
  if (p.y + cursor->CursorScreenY() <= 0.0f) {
    cursor->CursorScreenY() = -p.y;
    CursorTouchingTop(dt);
  }
  if (H + p.y <= cursor->CursorScreenY()) {
    cursor->CursorScreenY() = H + p.y;
    CursorTouchingBottom(dt);
  }
  if (p.x + cursor->CursorScreenX() <= 0.0f) {
    cursor->CursorScreenX() = -p.x;
    CursorTouchingLeft(dt);
  }
  if (W + p.x <= cursor->CursorScreenX()) {
    cursor->CursorScreenX() = W + p.x;
    CursorTouchingRight(dt);
  }
}
