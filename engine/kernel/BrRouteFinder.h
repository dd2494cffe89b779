// BrRouteFinder: the creatable carrier of route finding over a map's path network; the engine gives it no state.
#pragma once

#include "engine/kernel/BrClassFactory.h"

// Route finding over path nodes; concrete maps supply the search itself.
class BrRouteFinder : public BrObject {
  BR_DECLARE_CLASS(BrRouteFinder)
public:
  BrRouteFinder();
  BrRouteFinder(const BrRouteFinder& other);
  BrRouteFinder& operator=(const BrRouteFinder& other);
  // Runs Destroy.
  ~BrRouteFinder() override;
};
