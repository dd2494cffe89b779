// BrApplication: the running program as the engine sees it: a state machine with a map, a camera and mouse input.
#pragma once

#include "engine/kernel/BrCamera.h"
#include "engine/kernel/BrStateMachine.h"

class BrActor;
class BrCoords;
class BrController;
class BrMap;

// The host creates it by class name and hands it to the engine; it owns its map and camera, and through the
// camera the active input controller.
class BrApplication : public BrStateMachine {
  BR_DECLARE_CLASS(BrApplication)
public:
  // No map, map type empty, the system cursor shown.
  BrApplication();
  // Destroys the map.
  ~BrApplication() override;

  // The state machine's form only.
  void Serialize(BrBin& bin) override;
  // The state machine's Init, then the system cursor shown.
  bool Init() override;
  // Destroys the map, then the state machine.
  void Destroy() override;

  // 40001 ends the engine; any other command logs an error line (debug log).
  virtual void DoMenuCommand(int command);
  // The player's character; null in the base.
  virtual BrActor* GetPlayer();
  // The identity frame at the origin.
  virtual void GetAudioListenerCoords(BrCoords& coords);
  // Replaces the map with a new one of the map type ("BrMap" when empty) and initialises it.
  virtual void CreateMap();
  // Mouse input, forwarded to the active controller when there is one.
  virtual void LeftClick();
  virtual void MouseWheel(int delta);
  virtual void RightClick();
  virtual void LeftMouseDown();
  // Shows a message; nothing in the base.
  virtual void DisplayMsg(char* text);

  BrMap* Map() const { return m_pMap; }
  BrCamera* Camera() { return &m_Camera; }
  // The camera's controller; null while there is none.
  BrController* ActiveController();
  void SetMapType(const BrStringT<char>& className) { m_MapType = className; }
  const BrStringT<char>& GetMapType() const { return m_MapType; }
  // The application's name (set by Launch); distinct from the object name.
  void SetName(const char* name);
  const char* GetName() const;
  bool GetUseOSCursor() const { return m_bUseOSCursor; }
  // Formats into 260 characters and calls DisplayMsg.
  void DisplayMsgf(const char* format, ...);

protected:
  // Destroys and deletes the map.
  void DestroyMap();
  // Installs map as the application's map (deleting the old one); for loading a saved game.
  void ReplaceMap(BrMap* map);

  BrCamera m_Camera;
  BrStringT<char> m_MapType;
  BrMap* m_pMap;
  BrStringT<char> m_AppName;
  bool m_bUseOSCursor;
};
