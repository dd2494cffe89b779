// The state machine: states made by class name, changes by name, one previous state, time in state.
#include <gtest/gtest.h>

#include <cstring>
#include <string>
#include <vector>

#include "engine/kernel/BrEngine.h"
#include "engine/kernel/BrStateMachine.h"

namespace {
std::vector<std::string>& Trace() {
  static std::vector<std::string> t;
  return t;
}

class TraceStateA : public BrBaseState {
  BR_DECLARE_CLASS(TraceStateA)
public:
  void OnEntry() override {
    BrBaseState::OnEntry();
    Trace().push_back("enter " + std::string(GetStateName().c_str()));
  }
  void OnExit() override { Trace().push_back("exit " + std::string(GetStateName().c_str())); }
};
class TraceStateB : public TraceStateA {
  BR_DECLARE_CLASS(TraceStateB)
};
// Registered under a state's name but not a state: the machine must not take it.
class NotAState : public BrObject {
  BR_DECLARE_CLASS(NotAState)
};
BR_IMPLEMENT_CLASS(TraceStateA, BrBaseState)
BR_IMPLEMENT_CLASS(TraceStateB, TraceStateA)
BR_IMPLEMENT_CLASS(NotAState, BrObject)

class TwoStateMachine : public BrStateMachine {
public:
  void AddStates() override {
    AddState("TraceStateA");
    AddState("TraceStateB");
  }
};
}  // namespace

TEST(StateMachine, ChangesByNameRememberOnePreviousState) {
  TwoStateMachine m;
  ASSERT_TRUE(m.Init());
  EXPECT_EQ(m.GetNumStates(), 2);
  EXPECT_EQ(m.GetCurrentState(), nullptr);
  EXPECT_FLOAT_EQ(m.TimeInCurrState(), 0.0f);
  Trace().clear();

  m.ChangeToState("Nothing");
  m.ChangeToState("tracestatea");  // case counts
  EXPECT_TRUE(Trace().empty());
  m.ChangeToPreviousState();  // no state yet: nothing
  m.ChangeToState("TraceStateA");
  m.ChangeToPreviousState();  // no previous state: nothing
  EXPECT_TRUE(m.IsInState("TraceStateA"));
  m.Step(0.5f);
  EXPECT_FLOAT_EQ(m.TimeInCurrState(), 0.5f);
  m.ChangeToState("TraceStateB");
  EXPECT_FLOAT_EQ(m.TimeInCurrState(), 0.0f);
  m.ChangeToPreviousState();
  EXPECT_TRUE(m.IsInState("TraceStateA"));
  EXPECT_TRUE(m.WasInState("TraceStateB"));
  m.ChangeToPreviousState();
  EXPECT_TRUE(m.IsInState("TraceStateB"));
  EXPECT_EQ(Trace(),
            (std::vector<std::string>{"enter TraceStateA", "exit TraceStateA", "enter TraceStateB", "exit TraceStateB",
                                      "enter TraceStateA", "exit TraceStateA", "enter TraceStateB"}));
  // Changing to the current state leaves and enters it again and makes it its own previous state.
  m.ChangeToState("TraceStateB");
  EXPECT_TRUE(m.WasInState("TraceStateB"));
}

namespace {
// Reaches the protected change by pointer, as derived machines do.
class PointerMachine : public TwoStateMachine {
public:
  void ChangeTo(BrBaseState* state) { ChangeToState(state); }
};
}  // namespace

TEST(StateMachine, ChangingToANullStateIsIgnored) {
  PointerMachine m;
  ASSERT_TRUE(m.Init());
  m.ChangeTo(m.GetState("TraceStateA"));
  Trace().clear();
  m.ChangeTo(nullptr);
  EXPECT_TRUE(m.IsInState("TraceStateA"));
  EXPECT_EQ(m.GetPreviousState(), nullptr);
  EXPECT_TRUE(Trace().empty());  // the current state was not left
}

TEST(StateMachine, AddStateRefusesEmptyUnknownAndNonStateClasses) {
  BrStateMachine m;
  m.AddState("");
  m.AddState("NoSuchClass");
  m.AddState("NotAState");
  EXPECT_EQ(m.GetNumStates(), 0);
  m.AddState("TraceStateA");
  m.AddState("TraceStateA");  // added again
  EXPECT_EQ(m.GetNumStates(), 2);
  BrBaseState* s = m.GetState("TraceStateA");
  ASSERT_NE(s, nullptr);
  EXPECT_EQ(s->GetOwner(), &m);
  // Init starts again from AddStates (none in the base): no current state, no states.
  m.ChangeToState("TraceStateA");
  m.Init();
  EXPECT_EQ(m.GetNumStates(), 0);
  EXPECT_EQ(m.GetCurrentState(), nullptr);
}

TEST(ClassFactory, SpawnCreatesRegisteredClassesByExactName) {
  BrObject* o = static_cast<BrObject*>(Engine().Spawn("TraceStateB"));
  ASSERT_NE(o, nullptr);
  EXPECT_STREQ(o->GetName(), "TraceStateB");
  EXPECT_TRUE(o->IsA(BrBaseState::Type));
  EXPECT_TRUE(o->IsA(TraceStateA::Type));
  EXPECT_FALSE(o->IsAExactly(TraceStateA::Type));
  EXPECT_TRUE(o->IsAExactly(TraceStateB::Type));
  delete o;
  EXPECT_EQ(Engine().Spawn("tracestateb"), nullptr);
  EXPECT_EQ(Engine().Spawn(nullptr), nullptr);
  BrObject* app = static_cast<BrObject*>(Engine().Spawn("BrApplication"));
  ASSERT_NE(app, nullptr);
  EXPECT_TRUE(app->IsA(BrStateMachine::Type));
  delete app;
}

namespace {
void* MakeA() { return static_cast<BrObject*>(new TraceStateA()); }
void* MakeB() { return static_cast<BrObject*>(new TraceStateB()); }
void* MakeNothing() { return nullptr; }
}  // namespace

TEST(ClassFactory, RegistrationRulesAndFirstEntryWins) {
  BrClassFactory first("DuplicateName", &MakeA);
  BrClassFactory second("DuplicateName", &MakeB);
  BrObject* o = static_cast<BrObject*>(Engine().Spawn("DuplicateName"));
  ASSERT_NE(o, nullptr);
  EXPECT_TRUE(o->IsAExactly(TraceStateA::Type));
  delete o;

  _factoryentry e{};
  EXPECT_FALSE(Engine().RegisterClassA(nullptr));
  EXPECT_FALSE(Engine().RegisterClassA(&e));  // empty name, no function
  std::strcpy(e.name, "NoFunction");
  EXPECT_FALSE(Engine().RegisterClassA(&e));
  // A name of 260 characters or more is refused, not cut to another class's name.
  std::string longName(300, 'L');
  BrClassFactory tooLong(longName.c_str(), &MakeA);
  EXPECT_EQ(Engine().Spawn(longName.c_str()), nullptr);
  EXPECT_EQ(Engine().Spawn(longName.substr(0, 259).c_str()), nullptr);
  // A create function that fails gives null.
  BrClassFactory failing("FailingClass", &MakeNothing);
  EXPECT_EQ(Engine().Spawn("FailingClass"), nullptr);
}
