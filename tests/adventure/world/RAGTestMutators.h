// Mutators for the actor tests: a plain timed one, one that refuses to apply, one that refuses doubling, one that
// doubles the blows its actor takes, thorns that kill the striker, and flying.
#pragma once

#include <cstring>

#include "adventure/world/BrRAGDamage.h"
#include "adventure/world/BrRAGActor.h"
#include "adventure/world/BrRAGMutator.h"
#include "adventure/world/BrRAGResolve.h"

// The base behaviour, counting how often its arguments were parsed.
class MUTTestTimed : public BrRAGMutator {
  BR_DECLARE_CLASS(MUTTestTimed)
public:
  int parsed = 0;

protected:
  void ParseSpawnParams() override { ++parsed; }
};

// Refuses every actor, as an immunity would.
class MUTTestRefuse : public BrRAGMutator {
  BR_DECLARE_CLASS(MUTTestRefuse)
public:
  bool Apply(BrRAGActor*) override { return false; }
};

// Keeps every command starting with "TestDouble" off its actor.
class MUTTestWard : public BrRAGMutator {
  BR_DECLARE_CLASS(MUTTestWard)
public:
  bool CanApplyOther(const BrStringT<char>& command) override {
    return !(command.c_str() && std::strncmp(command.c_str(), "TestDouble", 10) == 0);
  }
};

// Every blow its actor takes counts double.
class MUTTestDouble : public BrRAGMutator {
  BR_DECLARE_CLASS(MUTTestDouble)
public:
  void OwnerTakeDMG(BrRAGDamage& damage) override { damage.SetMultiplier(2.0f); }
};

// Every blow its actor takes strikes the one who dealt it dead.
class MUTTestThorns : public BrRAGMutator {
  BR_DECLARE_CLASS(MUTTestThorns)
public:
  void OwnerTakeDMG(BrRAGDamage& damage) override {
    BrRAGActor* striker = brRAGResolve<BrRAGActor>(damage.GetOwnerID());
    if (!striker || striker == GetMutated()) return;
    BrRAGDamage back;
    back.SetPoints(1000.0f);
    striker->TakeDMG(back);
  }
};

class MUTFlying : public BrRAGMutator {
  BR_DECLARE_CLASS(MUTFlying)
};
