// BrLevelInfo: the per-level information object that a map finds among its objects.
#pragma once

#include "engine/kernel/BrDemoEntity.h"

// Holds nothing of its own; the framework's level info adds the data.
class BrLevelInfo : public BrDemoEntity {
  BR_DECLARE_CLASS(BrLevelInfo)
public:
  BrLevelInfo();
  ~BrLevelInfo() override;
  // The entity's form.
  void Serialize(BrBin& bin) override;
};
