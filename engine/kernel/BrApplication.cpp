// The application base: state machine with a map type and name, menu commands and mouse input for its controller.
#include "engine/kernel/BrApplication.h"

#include <cstdarg>
#include <cstdio>

#include "core/BrCoords.h"
#include "core/brcr.h"
#include "engine/kernel/BrEngine.h"

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

// The map classes arrive with the world model; until then an application has no map.
void BrApplication::CreateMap() { DestroyMap(); }

void BrApplication::DestroyMap() { m_pMap = nullptr; }

// The active controller belongs to the camera, which arrives with the world model.
BrController* BrApplication::ActiveController() const { return nullptr; }

void BrApplication::LeftClick() {}
void BrApplication::MouseWheel(int) {}
void BrApplication::RightClick() {}
void BrApplication::LeftMouseDown() {}
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
