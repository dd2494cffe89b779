// BrApplication: the map's life, menu commands and the mouse input handed to the camera's controller.
#include "engine/kernel/BrApplication.h"

#include <cstdarg>
#include <cstdio>

#include "core/BrCoords.h"
#include "core/brcr.h"
#include "engine/kernel/BrController.h"
#include "engine/kernel/BrEngine.h"
#include "engine/kernel/BrMap.h"

BR_IMPLEMENT_CLASS(BrApplication, BrStateMachine)

BrApplication::BrApplication() : m_pMap(nullptr), m_bUseOSCursor(true) {}

BrApplication::~BrApplication() { DestroyMap(); }

void BrApplication::Serialize(BrBin& bin) { BrStateMachine::Serialize(bin); }

bool BrApplication::Init() {
  bool ok = BrStateMachine::Init();
  m_bUseOSCursor = true;
  return ok;
}

void BrApplication::Destroy() {
  DestroyMap();
  BrStateMachine::Destroy();
}

void BrApplication::DoMenuCommand(int command) {
  if (command == 40001)
    Engine().Exit();
  else
    GLog.DebugPrintf("ERROR: Unrecognised message in BrGame::DoMenuCommand(..)");
}

BrActor* BrApplication::GetPlayer() { return nullptr; }

void BrApplication::GetAudioListenerCoords(BrCoords& coords) {
  coords = BrCoords(BrVector(1, 0, 0), BrVector(0, 1, 0), BrVector(0, 0, 1), BrVector(0, 0, 0));
}

void BrApplication::CreateMap() {
  DestroyMap();
  const char* type = m_MapType.Length() ? m_MapType.c_str() : "BrMap";
  BrObject* spawned = static_cast<BrObject*>(Engine().Spawn(type));
  BrMap* map = spawned ? static_cast<BrMap*>(spawned->SafeCast(&BrMap::Type)) : nullptr;
  if (!map) {
    // Something that is not a map cannot stand in for one.
    delete spawned;
    return;
  }
  m_pMap = map;
  m_pMap->Init();
}

void BrApplication::DestroyMap() {
  if (!m_pMap) return;
  BrMap* map = m_pMap;
  map->Destroy();
  m_pMap = nullptr;
  delete map;
}

void BrApplication::ReplaceMap(BrMap* map) {
  DestroyMap();
  m_pMap = map;
}

BrController* BrApplication::ActiveController() { return m_Camera.GetController(); }

void BrApplication::LeftClick() {
  if (BrController* controller = ActiveController()) controller->LeftClick();
}

void BrApplication::MouseWheel(int delta) {
  if (BrController* controller = ActiveController()) controller->MouseWheel(delta);
}

void BrApplication::RightClick() {
  if (BrController* controller = ActiveController()) controller->RightClick();
}

void BrApplication::LeftMouseDown() {
  if (BrController* controller = ActiveController()) controller->LeftMouseDown();
}

void BrApplication::DisplayMsg(char*) {}

void BrApplication::SetName(const char* name) { m_AppName = BrStringT<char>(name); }
const char* BrApplication::GetName() const { return m_AppName.c_str(); }

void BrApplication::DisplayMsgf(const char* format, ...) {
  char text[260];
  va_list args;
  va_start(args, format);
  std::vsnprintf(text, sizeof(text), format ? format : "", args);
  va_end(args);
  DisplayMsg(text);
}
