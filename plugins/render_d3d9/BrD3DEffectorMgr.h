// BrD3DEffectorMgr: the Direct3D 9 effector manager: new, copied and registered effectors.
#pragma once

#include "engine/presentation/BrEffectorMgr.h"
#include "plugins/render_d3d9/BrD3DEffector.h"

// Made by the device's Init when the base has none. Effector ids are list positions and never change.
class BrD3DEffectorMgr : public BrEffectorMgr {
public:
  BrD3DEffectorMgr() {}
  ~BrD3DEffectorMgr() override {}

  // Registers the effector (taking ownership) and returns its id; an identical effector already registered
  // under the name (other than id 0) is kept instead, the new one deleted.
  int AddEffector(BrStringT<char>& name, BrEffector* effector) override;
  // Script effectors are not built by this device: always -1.
  int AddEffector(BrStringT<char>& name, const BrStringT<char>& script, eFXRep format) override;
  // A new copy of the registered effector of the name; a name not registered gives a copy of "ShaderDefault".
  BrEffector* CreateEffector(const BrStringT<char>& name) override;
  // A new empty effector.
  BrEffector* CreateEffector() override;

protected:
  // A new copy of the registered effector of the id; null when there is none.
  BrD3DEffector* CloneEffector(int id);
};
