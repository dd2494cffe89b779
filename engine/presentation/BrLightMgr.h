// BrLightMgr: the lights by index, in reusable slots.
#pragma once

#include "templates/TDArray.h"

class BrLightBase;

// Owned by the rendering device (made by its Init, deleted by its Exit). A removed light leaves a null slot
// that the next AddLight reuses.
class BrLightMgr {
public:
  BrLightMgr() {}
  // Not copied: the lights are owned.
  BrLightMgr(const BrLightMgr&) = delete;
  BrLightMgr& operator=(const BrLightMgr&) = delete;
  // Deletes every light.
  virtual ~BrLightMgr();

  // Takes ownership and returns the light's index (the first free slot, else a new one); -1 for null.
  int AddLight(BrLightBase* light);
  // Deletes the light of a valid, occupied index; anything else does nothing.
  void RemoveLight(int index);
  // The light of the index (null for a removed one); null with a warning outside the list.
  BrLightBase* GetLight(int index);
  // Slots, removed ones included.
  int GetNumLights() const { return m_Lights.GetCount(); }

protected:
  // Removes every light and empties the list.
  void DestroyLightList();

  TDArray<BrLightBase*> m_Lights;
};
