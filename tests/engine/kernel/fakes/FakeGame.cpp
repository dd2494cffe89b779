// A game library: registers an application class and game states as its library loads.
#include "core/brcr.h"
#include "engine/kernel/BrApplication.h"
#include "engine/kernel/BrEngine.h"

// The application: adds the framework's state names and starts in the playing state; logs its life and input.
class FakeApp : public BrApplication {
  BR_DECLARE_CLASS(FakeApp)
public:
  void AddStates() override {
    AddState("BrRAGGameStatePlaying");
    AddState("BrRAGGameStatePaused");
    AddState("BrRAGGameStateInGameMenu");
  }
  bool Init() override {
    bool ok = BrApplication::Init();
    ChangeToState("BrRAGGameStatePlaying");
    GLog.printf("FAKE: app Init with %d states", GetNumStates());
    return ok;
  }
  void Step(float dt) override {
    BrApplication::Step(dt);
    ++m_Steps;
  }
  void Destroy() override {
    if (IsValid()) GLog.printf("FAKE: app destroyed after %d steps", m_Steps);
    BrApplication::Destroy();
  }
  // The quit command enters the state that ends the game (when the test has added it).
  void DoMenuCommand(int id) override {
    if (id == 40001) ChangeToState("FakeQuitState");
  }
  void LeftClick() override { GLog.WriteLine("FAKE: app LeftClick"); }
  void RightClick() override { GLog.WriteLine("FAKE: app RightClick"); }

private:
  int m_Steps = 0;
};

// A state class of the game library, registered under the framework's names.
class FakeGameState : public BrBaseState {
  BR_DECLARE_CLASS(FakeGameState)
};

// Ends the game from its OnEntry, as the framework's shutting-down state does, and goes on using itself.
class FakeQuitState : public BrBaseState {
  BR_DECLARE_CLASS(FakeQuitState)
public:
  void OnEntry() override {
    BrBaseState::OnEntry();
    GLog.WriteLine("FAKE: quit state entered");
    Engine().Exit();
    GLog.printf("FAKE: quit state leaves OnEntry of %s", GetStateName().c_str());
  }
};

BR_IMPLEMENT_CLASS(FakeApp, BrApplication)
BR_IMPLEMENT_CLASS(FakeQuitState, BrBaseState)
BR_IMPLEMENT_CLASS(FakeGameState, BrBaseState)

static BrClassFactory gPlaying("BrRAGGameStatePlaying", &FakeGameState::Instantiate);
static BrClassFactory gPaused("BrRAGGameStatePaused", &FakeGameState::Instantiate);
static BrClassFactory gMenu("BrRAGGameStateInGameMenu", &FakeGameState::Instantiate);
