// BrNullGameObj: the never-valid game object that every unresolved id yields, so callers need no null test.
#pragma once

#include "engine/kernel/BrGameObj.h"

// Never valid; ownership calls do nothing.
class BrNullGameObj : public BrGameObj {
  BR_DECLARE_CLASS(BrNullGameObj)
public:
  BrNullGameObj();
  ~BrNullGameObj() override;

  // The game object's form.
  void Serialize(BrBin& bin) override;
  // Always false.
  bool IsValid() const override;

private:
  void AddChild(int id) override;
  void LostOwner(int id) override;
  void LostChild(int id) override;
};
