// BrGameHint: the base of the framework's game hints.
#pragma once

#include "engine/kernel/BrDemoEntity.h"

// A hint object; the framework shows it.
class BrGameHint : public BrDemoEntity {
  BR_DECLARE_CLASS(BrGameHint)
public:
  BrGameHint();
  ~BrGameHint() override;
  // The entity's form.
  void Serialize(BrBin& bin) override;
  // Nothing in the base.
  virtual void ShowHint();
};
