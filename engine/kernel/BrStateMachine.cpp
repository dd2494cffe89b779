// The state machine and its base state: states made by class name, changed by name, one previous state remembered.
#include "engine/kernel/BrStateMachine.h"

#include "core/brcr.h"
#include "engine/kernel/BrEngine.h"

BR_IMPLEMENT_CLASS(BrStateMachine, BrObject)
BR_IMPLEMENT_CLASS(BrBaseState, BrObject)

BrBaseState::BrBaseState() : m_pOwner(nullptr), m_fTimeInState(0.0f) {}
BrBaseState::~BrBaseState() {}

void BrBaseState::Serialize(BrBin& bin) { BrObject::Serialize(bin); }

bool BrBaseState::Init() {
  BrObject::Init();
  m_fTimeInState = 0.0f;
  return true;
}

void BrBaseState::Step(float dt) {
  BrObject::Step(dt);
  m_fTimeInState += dt;
}

void BrBaseState::Destroy() { BrObject::Destroy(); }
bool BrBaseState::IsValid() const { return BrObject::IsValid(); }
void BrBaseState::OnEntry() { m_fTimeInState = 0.0f; }
void BrBaseState::OnExit() {}
void BrBaseState::Draw(BrRenderBase*) {}
void BrBaseState::SetOwner(BrStateMachine* owner) { m_pOwner = owner; }
BrStateMachine* BrBaseState::GetOwner() const { return m_pOwner; }
void BrBaseState::SetName(const BrStringT<char>& name) { m_StateName = name; }
const BrStringT<char>& BrBaseState::GetStateName() const { return m_StateName; }
float BrBaseState::GetTimeInState() const { return m_fTimeInState; }

BrStateMachine::BrStateMachine() : m_pCurrentState(nullptr), m_pPreviousState(nullptr) {}

BrStateMachine::~BrStateMachine() { BrStateMachine::Destroy(); }

void BrStateMachine::Serialize(BrBin& bin) { BrObject::Serialize(bin); }

bool BrStateMachine::Init() {
  DestroyStates();
  AddStates();
  return BrObject::Init();
}

void BrStateMachine::Step(float dt) {
  BrObject::Step(dt);
  if (m_pCurrentState) m_pCurrentState->Step(dt);
}

void BrStateMachine::Destroy() {
  DestroyStates();
  BrObject::Destroy();
}

bool BrStateMachine::IsValid() const { return BrObject::IsValid(); }
void BrStateMachine::AddStates() {}

void BrStateMachine::Draw(BrRenderBase* render) {
  if (m_pCurrentState) m_pCurrentState->Draw(render);
}

void BrStateMachine::AddState(const BrStringT<char>& className) {
  if (className.Length() <= 0) return;
  BrObject* made = static_cast<BrObject*>(Engine().Spawn(className.c_str()));
  if (!made) return;
  // A registered class that is not a state has no place in the list.
  BrBaseState* state = static_cast<BrBaseState*>(made->SafeCast(&BrBaseState::Type));
  if (!state) {
    GLog.DebugPrintf("ERROR: %s is not a state", className.c_str());
    delete made;
    return;
  }
  state->SetOwner(this);
  state->SetName(className);
  state->Init();
  m_States.Add(state);
}

BrBaseState* BrStateMachine::GetState(const BrStringT<char>& name) {
  for (int i = 0; i < m_States.GetCount(); ++i)
    if (m_States[i] && m_States[i]->GetStateName() == name) return m_States[i];
  return nullptr;
}

bool BrStateMachine::HasState(const BrStringT<char>& name) { return GetState(name) != nullptr; }

void BrStateMachine::ChangeToState(const BrStringT<char>& name) {
  BrBaseState* state = GetState(name);
  if (state) ChangeToState(state);
}

void BrStateMachine::ChangeToState(BrBaseState* state) {
  if (!state) return;
  if (m_pCurrentState) m_pCurrentState->OnExit();
  m_pPreviousState = m_pCurrentState;
  m_pCurrentState = state;
  m_pCurrentState->OnEntry();
}

void BrStateMachine::ChangeToPreviousState() {
  if (!m_pPreviousState || !m_pCurrentState) return;
  m_pCurrentState->OnExit();
  BrBaseState* old = m_pCurrentState;
  m_pCurrentState = m_pPreviousState;
  m_pPreviousState = old;
  m_pCurrentState->OnEntry();
}

bool BrStateMachine::IsInState(const BrStringT<char>& name) const {
  return m_pCurrentState && m_pCurrentState->GetStateName() == name;
}

bool BrStateMachine::WasInState(const BrStringT<char>& name) const {
  return m_pPreviousState && m_pPreviousState->GetStateName() == name;
}

float BrStateMachine::TimeInCurrState() const { return m_pCurrentState ? m_pCurrentState->GetTimeInState() : 0.0f; }
BrBaseState* BrStateMachine::GetCurrentState() const { return m_pCurrentState; }
BrBaseState* BrStateMachine::GetPreviousState() const { return m_pPreviousState; }
int BrStateMachine::GetNumStates() const { return m_States.GetCount(); }

void BrStateMachine::DestroyStates() {
  m_pCurrentState = nullptr;
  m_pPreviousState = nullptr;
  for (int i = 0; i < m_States.GetCount(); ++i) {
    delete m_States[i];
    m_States[i] = nullptr;
  }
  m_States.Clear();
}
