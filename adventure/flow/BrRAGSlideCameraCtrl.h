// BrRAGSlideCameraCtrl, BrRAGMenuCtrl and BrRAGRotateCameraCtrl: the framework's input controllers.
#pragma once

#include <cstdint>

#include "core/BrVector.h"
#include "engine/kernel/BrController.h"

class BrCursor;
class BrGameObj;
class BrRAGPlayer;

// Click to act: a released left button goes to the widget tree first and otherwise attacks, picks up, uses or
// walks; holding the left button walks continuously. Keeps the engine's edge scrolling.
class BrRAGSlideCameraCtrl : public BrSlideCameraCtrl {
  BR_DECLARE_CLASS(BrRAGSlideCameraCtrl)
public:
  BrRAGSlideCameraCtrl();
  ~BrRAGSlideCameraCtrl() override;

  // Writes and reads nothing.
  void Serialize(BrBin& bin) override;
  // The controller's Init, the click and pickup sounds, facing side 1; true.
  bool Init() override;
  // Dropped while the game is paused; otherwise pending with the click sound.
  void LeftClick() override;
  // Clears the held button.
  void OnActivate() override;

  float GetFacingSide() const { return mfFacingSide; }

protected:
  // The engine's cursor motion, the pending clicks, then the held walk after 0.2 s of held time.
  void HandleMouse(float dt) override;
  // The left click first, else the right one: at most one a step.
  void HandleMouseButtons() override;
  void HandleLeftClick() override;
  void HandleRightClick() override;

  // The point of the floor plane under the cursor's hot spot; false (point untouched) when the ray misses it.
  bool IntersectCursorWithFloor(BrCursor* cursor, BrVector& point);
  // Turns the player's portrait to the side of the camera the point lies on and faces it toward or away.
  void OrientPlayerForMove(BrRAGPlayer* player, const BrVector& point);
  // The cursor's hot spot in whole pixels.
  static void ClickPixel(BrCursor* cursor, int& x, int& y);
  // The hot spot as fractions of the screen; false without a rendering device.
  static bool ClickFractions(BrCursor* cursor, float& fx, float& fy);
  // The player changes to "BrRAGStateNormal", drops its target and paths to point.
  static void WalkTo(BrRAGPlayer* player, const BrVector& point);

  float mfFacingSide;
};

// The controller of menus and modal widgets: a left click goes only to the widget tree; no edge scrolling.
class BrRAGMenuCtrl : public BrRAGSlideCameraCtrl {
  BR_DECLARE_CLASS(BrRAGMenuCtrl)
public:
  BrRAGMenuCtrl();
  ~BrRAGMenuCtrl() override;
  void Serialize(BrBin& bin) override;
  // Makes the HUD's base cursor current.
  void OnActivate() override;
  // No scrolling.
  void CursorTouchingBottom(float dt) override;
  void CursorTouchingTop(float dt) override;
  void CursorTouchingLeft(float dt) override;
  void CursorTouchingRight(float dt) override;

protected:
  // Cursor motion and the pending clicks; no held walk.
  void HandleMouse(float dt) override;
  // The click fractions to the widget tree; nothing else.
  void HandleLeftClick() override;
};

// The in-game controller: orbits the camera around its target, turns with A/D (J/L), zooms the minimap with
// E/Q (O/U) and the wheel, raises and lowers the lantern with W/S (I/K), uses the quick slots 0-9 and exports
// the map on Ctrl+Print Screen. Rates are per second of the step time it is given.
class BrRAGRotateCameraCtrl : public BrRAGSlideCameraCtrl {
  BR_DECLARE_CLASS(BrRAGRotateCameraCtrl)
public:
  BrRAGRotateCameraCtrl();
  BrRAGRotateCameraCtrl(const BrRAGRotateCameraCtrl& other);
  BrRAGRotateCameraCtrl& operator=(const BrRAGRotateCameraCtrl& other);
  ~BrRAGRotateCameraCtrl() override;

  void Serialize(BrBin& bin) override;
  // Orbit, keys, then the slide controller's input; only the mouse while a modal widget is open.
  void ProcessInput(float dt) override;
  // The wheel zooms the minimap by delta / 1000.
  void MouseWheel(int delta) override;
  // No scrolling.
  void CursorTouchingBottom(float dt) override;
  void CursorTouchingTop(float dt) override;
  void CursorTouchingLeft(float dt) override;
  void CursorTouchingRight(float dt) override;

  // The object the camera orbits (the playing state sets the player). Kept by id and resolved through the
  // application's map on each use, so a map torn down never leaves a stale pointer; null for none or gone.
  void SetCameraTarget(BrGameObj* target);
  BrGameObj* GetCameraTarget() const;
  // Adds degrees to the yaw, wrapped down below 360.
  void Rotate(float degrees);
  // Resets the height limit from the map, then moves height and distance by amount (clamped to [-1, 1]) of
  // their ranges.
  void Zoom(float amount);
  // Both the maximum height and the height.
  void SetMaxCameraHeight(float h);

  float GetYaw() const { return mfYaw; }
  float GetCameraHeight() const { return mfCamHeight; }
  float GetCameraDistance() const { return mfCamDistance; }
  float GetRotationVelocity() const { return mfRotVelocity; }

protected:
  // Rotation and zoom decay, then the slide controller's mouse handling.
  void HandleMouse(float dt) override;

  float mfYaw;
  float mfCamHeight;
  float mfCamDistance;
  int32_t miCameraTarget;
  float mfMaxCamHeight;
  float mfMinCamHeight;
  float mfMaxDistance;
  float mfMinDistance;
  float mfRotVelocity;
  float mfRotSpeed;
  float mfRotDamping;
  float mfZoomVelocity;
  float mfZoomDamping;
  // Ctrl with Print Screen were down at the last step: a press exports the map once, however long it is held.
  bool mbExportHeld;
};
