// BrCamera: the field of view and the camera's controllers, found or made by class name.
#include "engine/kernel/BrCamera.h"

#include "core/BrBin.h"
#include "core/BrLogFile.h"
#include "engine/kernel/BrController.h"
#include "engine/kernel/BrEngine.h"
#include "templates/BrArchiveOps.h"

BR_IMPLEMENT_CLASS(BrCamera, BrActor)

BrCamera::BrCamera() : m_fFOV(100.0f), m_iActiveController(-1) {}

BrCamera::BrCamera(BrVector position, BrVector direction, BrVector up) : m_fFOV(100.0f), m_iActiveController(-1) {
  m_Coords.Position = position;
  m_Coords.Z = direction;
  m_Coords.Y = up;
  m_Coords.X = up ^ direction;
}

BrCamera::BrCamera(const BrCamera& other) : BrActor(other), m_fFOV(other.m_fFOV), m_iActiveController(-1) {}

BrCamera& BrCamera::operator=(const BrCamera& other) {
  if (this == &other) return *this;
  BrActor::operator=(other);
  m_fFOV = other.m_fFOV;
  DeleteControllers();
  return *this;
}

BrCamera::~BrCamera() { DeleteControllers(); }

void BrCamera::Serialize(BrBin& bin) {
  BrActor::Serialize(bin);
  bin << m_fFOV;
}

bool BrCamera::Init() {
  BrGameObj::Init();
  m_Coords.X = BrVector(1, 0, 0);
  m_Coords.Y = BrVector(0, 1, 0);
  m_Coords.Z = BrVector(0, 0, 1);
  DeleteControllers();
  m_iActiveController = -1;
  return true;
}

void BrCamera::Destroy() {
  DeleteControllers();
  BrDemoEntity::Destroy();
}

void BrCamera::Draw(BrRenderBase*) {}

BrController* BrCamera::GetController() {
  if (m_iActiveController < 0 || m_iActiveController >= m_Controllers.GetCount()) return nullptr;
  return m_Controllers[m_iActiveController];
}

void BrCamera::SetControllerType(const BrStringT<char>& className) {
  GLog.DebugPrintf("DEBUG: Setting camera's controller type to %s", className.c_str() ? className.c_str() : "");
  BrController* active = GetController();
  if (active && BrStringT<char>(active->GetName()) == className) return;
  for (int i = 0; i < m_Controllers.GetCount(); ++i) {
    if (BrStringT<char>(m_Controllers[i]->GetName()) == className) {
      SetActiveController(i);
      return;
    }
  }
  BrObject* spawned = className.Length() ? static_cast<BrObject*>(Engine().Spawn(className.c_str())) : nullptr;
  BrController* controller = spawned ? static_cast<BrController*>(spawned->SafeCast(&BrController::Type)) : nullptr;
  if (!controller) {
    delete spawned;
    GLog.DebugPrintf("ERROR: Camera cannot make a controller of type %s", className.c_str() ? className.c_str() : "");
    return;
  }
  controller->Init();
  SetActiveController(m_Controllers.Add(controller));
}

void BrCamera::SetActiveController(int i) {
  m_iActiveController = i;
  BrController* controller = GetController();
  if (!controller) return;
  controller->Possess(this);
  controller->OnActivate();
}

void BrCamera::DeleteControllers() {
  for (int i = 0; i < m_Controllers.GetCount(); ++i) delete m_Controllers[i];
  m_Controllers.Clear();
  m_iActiveController = -1;
}
