// BrStateMachine and BrBaseState: named states created by class name, one current and one previous state, no stack.
#pragma once

#include "engine/kernel/BrClassFactory.h"
#include "templates/TDArray.h"

class BrRenderBase;
class BrStateMachine;

// One state of a machine: its owner, the class name it was made from and the seconds since it was last entered.
class BrBaseState : public BrObject {
  BR_DECLARE_CLASS(BrBaseState)
public:
  BrBaseState();
  ~BrBaseState() override;

  // The BrObject form only.
  void Serialize(BrBin& bin) override;
  // BrObject's Init, time in state 0; true.
  bool Init() override;
  // Adds dt to the time in state.
  void Step(float dt) override;
  void Destroy() override;
  bool IsValid() const override;
  // Time in state 0.
  virtual void OnEntry();
  // Nothing in the base.
  virtual void OnExit();
  // Nothing in the base.
  virtual void Draw(BrRenderBase* render);

  void SetOwner(BrStateMachine* owner);
  BrStateMachine* GetOwner() const;
  void SetName(const BrStringT<char>& name);
  const BrStringT<char>& GetStateName() const;
  float GetTimeInState() const;

protected:
  BrStateMachine* m_pOwner;
  BrStringT<char> m_StateName;
  float m_fTimeInState;
};

// A BrObject owning a list of states, made by class name through the engine's factory.
class BrStateMachine : public BrObject {
  BR_DECLARE_CLASS(BrStateMachine)
public:
  BrStateMachine();
  // Runs the machine's own Destroy (not an override's).
  ~BrStateMachine() override;

  // BrObject's form only: states are not saved.
  void Serialize(BrBin& bin) override;
  // Destroys the states, AddStates, then BrObject::Init's result. No state is current afterwards.
  bool Init() override;
  // BrObject::Step, then the current state's Step.
  void Step(float dt) override;
  // Destroys the states, then BrObject::Destroy.
  void Destroy() override;
  bool IsValid() const override;
  // Adds the machine's states; nothing in the base.
  virtual void AddStates();
  // The current state's Draw, when there is one.
  virtual void Draw(BrRenderBase* render);

  // Spawns className, makes this its owner and className its name, calls its Init and appends it.
  // An empty or unregistered name, or a class that is not a state, adds nothing.
  void AddState(const BrStringT<char>& className);
  // Changes to the first state with exactly that name; nothing when there is none.
  void ChangeToState(const BrStringT<char>& name);
  // Swaps current and previous (exit the current, enter the other) when both exist.
  void ChangeToPreviousState();
  BrBaseState* GetState(const BrStringT<char>& name);
  bool IsInState(const BrStringT<char>& name) const;
  bool WasInState(const BrStringT<char>& name) const;
  // The current state's time in state; 0 without one.
  float TimeInCurrState() const;
  BrBaseState* GetCurrentState() const;
  BrBaseState* GetPreviousState() const;
  int GetNumStates() const;

protected:
  // Exits the current state, makes it the previous one and enters state. A null state is ignored.
  void ChangeToState(BrBaseState* state);
  bool HasState(const BrStringT<char>& name);
  // No current or previous state; every state deleted.
  void DestroyStates();

  BrBaseState* m_pCurrentState;
  BrBaseState* m_pPreviousState;
  TDArray<BrBaseState*> m_States;
};
