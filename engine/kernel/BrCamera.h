// BrCamera: the application's viewpoint: a frame, a field of view and the input controllers that move it.
#pragma once

#include <cstdint>

#include "engine/kernel/BrActor.h"
#include "templates/TDArray.h"

class BrController;

// Controllers are made by class name at most once each and reused; one at a time is active and possesses the
// camera.
class BrCamera : public BrActor {
  BR_DECLARE_CLASS(BrCamera)
public:
  // Actor defaults, field of view 100, no controllers.
  BrCamera();
  // The frame from position, direction and up, with right = up x direction.
  BrCamera(BrVector position, BrVector direction, BrVector up);
  // The actor part and the field of view; controllers belong to one camera and are not copied.
  BrCamera(const BrCamera& other);
  BrCamera& operator=(const BrCamera& other);
  // Deletes the controllers.
  ~BrCamera() override;

  // The actor part, then the field of view. Controllers are not stored.
  void Serialize(BrBin& bin) override;
  // The game object's Init, axes reset to the world's (position kept), controllers deleted; true.
  bool Init() override;
  // Deletes the controllers, then the entity's Destroy.
  void Destroy() override;
  // Draws nothing.
  void Draw(BrRenderBase* render) override;

  // Makes the controller of that class active, reusing the camera's own or spawning it; a class that cannot
  // be made as a controller is logged and leaves the active one as it was.
  virtual void SetControllerType(const BrStringT<char>& className);

  // Degrees; the rendering device takes it as the horizontal field of view.
  float& FOV() { return m_fFOV; }
  // The active controller; null when none.
  BrController* GetController();
  int GetNumControllers() const { return m_Controllers.GetCount(); }

protected:
  // Makes controller i active: it possesses the camera and its OnActivate runs.
  void SetActiveController(int i);
  // Deletes every controller (without its Destroy) and empties the list.
  void DeleteControllers();

  float m_fFOV;
  TDArray<BrController*> m_Controllers;
  int32_t m_iActiveController;
};
