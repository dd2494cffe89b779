// Widget test kit: a GUI installed as the engine's widget manager for one test, and controls that note their calls.
#pragma once

#include <string>
#include <vector>

#include "engine/kernel/BrEngine.h"
#include "engine/kernel/BrEngineTestSeams.h"
#include "engine/presentation/BrGUI.h"
#include "engine/presentation/BrUIControl.h"

namespace brwidgettest {

// A fresh GUI as Engine().GUI() for the scope; destroyed, deleted and the old one put back at its end.
class ScopedGUI {
public:
  ScopedGUI() : m_pOld(BrEngineTestSeams::GUI()) { BrEngineTestSeams::GUI() = &gui; }
  ~ScopedGUI() {
    gui.Destroy();
    BrEngineTestSeams::GUI() = m_pOld;
  }
  ScopedGUI(const ScopedGUI&) = delete;
  ScopedGUI& operator=(const ScopedGUI&) = delete;

  BrGUI gui;

private:
  BrGUI* m_pOld;
};

// A control that records the ids reaching it from below, answers clicks with a set result, and counts deletions.
class NotingControl : public BrUIControl {
public:
  explicit NotingControl(const char* id, std::vector<std::string>* notes = nullptr, bool answer = true)
      : m_pNotes(notes), m_bAnswer(answer) {
    Init();
    SetID(BrStringT<char>(id));
  }
  ~NotingControl() override {
    if (m_pNotes) m_pNotes->push_back("deleted " + std::string(GetID().c_str() ? GetID().c_str() : ""));
  }
  bool ControlLeftClicked(const BrStringT<char>& id) override {
    if (m_pNotes) m_pNotes->push_back("left " + std::string(id.c_str() ? id.c_str() : ""));
    return m_bAnswer;
  }
  bool ControlRightClicked(const BrStringT<char>& id) override {
    if (m_pNotes) m_pNotes->push_back("right " + std::string(id.c_str() ? id.c_str() : ""));
    return m_bAnswer;
  }
  void KeyPressed(int key) override {
    if (m_pNotes) m_pNotes->push_back("key " + std::to_string(key));
  }
  void LostFocus() override {
    BrUIControl::LostFocus();
    if (m_pNotes) m_pNotes->push_back("lost " + std::string(GetID().c_str() ? GetID().c_str() : ""));
  }
  void GotFocus() override {
    BrUIControl::GotFocus();
    if (m_pNotes) m_pNotes->push_back("got " + std::string(GetID().c_str() ? GetID().c_str() : ""));
  }

  std::vector<std::string>* m_pNotes;
  bool m_bAnswer;
};

// A plain control with the defaults of Init, an id and an area.
inline BrUIControl* MakeControl(const char* id, float x, float y, float w, float h) {
  BrUIControl* c = new BrUIControl();
  c->Init();
  c->SetID(BrStringT<char>(id));
  c->SetArea(x, y, w, h);
  return c;
}

}  // namespace brwidgettest

#include "tests/engine/presentation/RenderTestKit.h"

namespace brwidgettest {

// A recording device as Engine().Render() and a fresh GUI as Engine().GUI(); the GUI goes first at the end.
class WidgetTest : public brrendertest::RenderTest {
protected:
  void SetUp() override {
    brrendertest::RenderTest::SetUp();
    gui.reset(new ScopedGUI());
  }
  void TearDown() override {
    gui.reset();
    brrendertest::RenderTest::TearDown();
  }
  BrGUI& GUI() { return gui->gui; }

  std::unique_ptr<ScopedGUI> gui;
};

// The name a registered effector index was given, or "" when none.
inline std::string EffectorName(RecordingRenderDevice* dev, int index) {
  RecordingEffectorMgr* fx = dev->Effectors();
  if (!fx || index < 0 || index >= (int)fx->names.size()) return std::string();
  return fx->names[index];
}

}  // namespace brwidgettest
