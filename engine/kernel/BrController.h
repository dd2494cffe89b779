// BrController, BrCameraCtrl and BrSlideCameraCtrl: turning mouse and keys into movement of a possessed object.
#pragma once

#include "engine/kernel/BrClassFactory.h"
#include "engine/presentation/BrAudioID.h"

class BrGameObj;

// The base: click bookkeeping, the click sound and mouse-look on the subject's frame.
class BrController : public BrObject {
  BR_DECLARE_CLASS(BrController)
public:
  BrController();
  // Copies every field (sounds through their own copy).
  BrController(const BrController& other);
  BrController& operator=(const BrController& other);
  // Runs Destroy.
  ~BrController() override;

  // The object's form only.
  void Serialize(BrBin& bin) override;
  // No subject, no pending clicks, both sounds id 0, not held; BrObject's Init.
  bool Init() override;
  // The same resets as Init.
  void Destroy() override;

  // Adds dt to the held time while held, HandleMouse, then re-centres the mouse unless the engine is exiting.
  // dt is the frame's step time.
  virtual void ProcessInput(float dt);
  // Held, held time 0.
  virtual void LeftMouseDown();
  // Left click pending, not held, click sound.
  virtual void LeftClick();
  // Nothing in the base.
  virtual void MouseWheel(int delta);
  // Right click pending, click sound.
  virtual void RightClick();
  // The click sound in 2D when there is an audio device.
  virtual void PlayLeftClickSound();
  // Runs when the controller becomes the camera's active one; nothing in the base.
  virtual void OnActivate();

  void Possess(BrGameObj* subject) { m_pSubject = subject; }
  BrGameObj* Subject() const { return m_pSubject; }
  bool IsLeftClickPending() const { return m_bLeftClick; }
  bool IsRightClickPending() const { return m_bRightClick; }
  bool IsLeftHeld() const { return m_bLeftHeld; }
  float GetHeldTime() const { return m_fHeldTime; }
  BrAudioID& ClickSound() { return m_ClickSound; }
  BrAudioID& SecondSound() { return m_SecondSound; }

  // The mouse's offset from the centre of the main window's client area; (0, 0) without a window.
  static void MouseOffset(int& dx, int& dy);

protected:
  // Mouse-look: pitch about the subject's right axis, then yaw about the world up; nothing without a subject.
  virtual void HandleMouse(float dt);
  // Nothing in the base; the game's controllers fill these.
  virtual void HandleMouseButtons();
  virtual void HandleLeftClick();
  virtual void HandleRightClick();

  BrGameObj* m_pSubject;
  bool m_bLeftClick;
  bool m_bRightClick;
  BrAudioID m_ClickSound;
  BrAudioID m_SecondSound;
  bool m_bLeftHeld;
  float m_fHeldTime;
};

// A camera controller: P and O widen and narrow the camera's field of view by 5 degrees a frame.
class BrCameraCtrl : public BrController {
  BR_DECLARE_CLASS(BrCameraCtrl)
public:
  BrCameraCtrl();
  ~BrCameraCtrl() override;
  // The controller's form.
  void Serialize(BrBin& bin) override;
  // The field-of-view keys when the subject is a camera (else a warning), then the controller's input.
  void ProcessInput(float dt) override;
};

// Drives the HUD cursor with relative mouse motion and slides the subject while the cursor touches an edge.
class BrSlideCameraCtrl : public BrCameraCtrl {
  BR_DECLARE_CLASS(BrSlideCameraCtrl)
public:
  BrSlideCameraCtrl();
  ~BrSlideCameraCtrl() override;
  // Writes and reads nothing.
  void Serialize(BrBin& bin) override;
  // Warns for a subject that is not a camera, the controller's input, then the volume keys "." and ",".
  void ProcessInput(float dt) override;

  // Each slides the subject diagonally in the ground plane by the screen width x dt x 1.5.
  virtual void CursorTouchingBottom(float dt);
  virtual void CursorTouchingTop(float dt);
  virtual void CursorTouchingLeft(float dt);
  virtual void CursorTouchingRight(float dt);
  // Moves the HUD cursor by the mouse offset scaled by [App] MouseSpeedX/Y and keeps its hot spot on screen.
  virtual void MoveMouseCursor(float dt);

  // The slide of one edge step: rendering width x dt x 1.5; 0 without a device.
  static float SlideStep(float dt);

protected:
  // MoveMouseCursor when the application's HUD has a cursor.
  void HandleMouse(float dt) override;
  // Moves the subject's location by (dx, 0, dz).
  void Slide(float dx, float dz);
};
