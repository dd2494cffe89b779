// BrGUI: top-level click order, key focus, the modal control and the safe end of controls closed mid-click.
#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

#include "engine/presentation/BrGUI.h"
#include "engine/presentation/BrUIControl.h"
#include "tests/engine/presentation/WidgetTestKit.h"

using brwidgettest::MakeControl;
using brwidgettest::NotingControl;
using brwidgettest::ScopedGUI;
using Notes = std::vector<std::string>;

TEST(BrGUI, ALaterOverlappingControlWinsAndInactiveOnesAreSkipped) {
  Notes notes;
  ScopedGUI scope;
  NotingControl* under = new NotingControl("under", &notes);
  NotingControl* over = new NotingControl("over", &notes);
  under->SetArea(0, 0, 0.5f, 0.5f);
  over->SetArea(0.25f, 0.25f, 0.5f, 0.5f);
  scope.gui.AddControl(nullptr);
  scope.gui.AddControl(under);
  scope.gui.AddControl(over);
  scope.gui.AddControl(over);  // kept once
  EXPECT_EQ(scope.gui.GetNumControls(), 2);

  EXPECT_TRUE(scope.gui.LeftClick(0.3f, 0.3f));
  ASSERT_EQ(notes.size(), 1u);
  EXPECT_EQ(notes[0], "left over");

  notes.clear();
  over->SetActive(false);
  EXPECT_TRUE(scope.gui.LeftClick(0.3f, 0.3f));
  ASSERT_EQ(notes.size(), 1u);
  EXPECT_EQ(notes[0], "left under");

  notes.clear();
  EXPECT_FALSE(scope.gui.LeftClick(0.9f, 0.9f));
  EXPECT_TRUE(notes.empty());
}

TEST(BrGUI, KeysGoToTheFocusControlAndRefocusingCallsBothHooks) {
  Notes notes;
  ScopedGUI scope;
  NotingControl* field = new NotingControl("field", &notes);
  NotingControl* other = new NotingControl("other", &notes);
  scope.gui.AddControl(field);
  scope.gui.AddControl(other);
  scope.gui.KeyPressed(65);  // no focus: dropped
  EXPECT_TRUE(notes.empty());

  scope.gui.SetFocusControl(field);
  scope.gui.KeyPressed(65);
  scope.gui.SetFocusControl(field);
  scope.gui.SetFocusControl(other);
  Notes expected = {"got field", "key 65", "lost field", "got field", "lost field", "got other"};
  EXPECT_EQ(notes, expected);
  EXPECT_FALSE(field->HasFocus());
  EXPECT_TRUE(other->HasFocus());
}

TEST(BrGUI, FindsAndActivatesByID) {
  ScopedGUI scope;
  BrUIControl* menu = MakeControl("menu", 0, 0, 1, 1);
  BrUIControl* item = MakeControl("item", 0, 0, 1, 1);
  BrUIControl* second = MakeControl("second", 0, 0, 1, 1);
  menu->AddChildControl(item);
  scope.gui.AddControl(menu);
  scope.gui.AddControl(second);

  EXPECT_EQ(scope.gui.GetControl(BrStringT<char>(), true), nullptr);
  EXPECT_EQ(scope.gui.GetControl(BrStringT<char>("item"), false), nullptr);
  EXPECT_EQ(scope.gui.GetControl(BrStringT<char>("item"), true), item);
  EXPECT_EQ(scope.gui.GetControl(BrStringT<char>("second"), false), second);

  scope.gui.DeactivateControl(BrStringT<char>("menu"), false);
  EXPECT_FALSE(menu->IsActive());
  EXPECT_FALSE(item->IsActive());
  scope.gui.ActivateControl(BrStringT<char>("item"), false);
  EXPECT_FALSE(item->IsActive());
  scope.gui.ActivateControl(BrStringT<char>("item"), true);
  EXPECT_TRUE(item->IsActive());
  EXPECT_FALSE(menu->IsActive());
}

TEST(BrGUI, TheModalControlAloneTakesClicks) {
  Notes notes;
  ScopedGUI scope;
  NotingControl* back = new NotingControl("back", &notes);
  back->SetArea(0, 0, 1, 1);
  NotingControl* dialog = new NotingControl("dialog", &notes, false);
  dialog->SetArea(0.4f, 0.4f, 0.2f, 0.2f);
  scope.gui.AddControl(back);
  scope.gui.AddControl(dialog);
  dialog->SetModal(true);
  EXPECT_TRUE(scope.gui.IsModal());
  EXPECT_TRUE(dialog->IsModal());
  EXPECT_FALSE(back->IsModal());

  // Outside the dialog: its own answer (false), and the control behind never hears of it.
  EXPECT_FALSE(scope.gui.LeftClick(0.1f, 0.1f));
  EXPECT_TRUE(notes.empty());
  // Even an inactive modal control is asked, and nobody else.
  dialog->SetActive(false);
  EXPECT_FALSE(scope.gui.LeftClick(0.5f, 0.5f));
  EXPECT_TRUE(notes.empty());
  dialog->SetActive(true);
  EXPECT_FALSE(scope.gui.LeftClick(0.5f, 0.5f));
  ASSERT_EQ(notes.size(), 1u);
  EXPECT_EQ(notes[0], "left dialog");
}

TEST(BrGUI, ModalControlsAreDestroyedOnlyWhenReplacedOrClosed) {
  Notes notes;
  ScopedGUI scope;
  NotingControl* owner = new NotingControl("owner", &notes);
  NotingControl* first = new NotingControl("first", &notes);
  first->AddChildControl(new NotingControl("child", &notes));
  NotingControl* bystander = new NotingControl("bystander", &notes);
  NotingControl* second = new NotingControl("second", &notes);
  owner->AddChildControl(first);
  scope.gui.AddControl(owner);
  scope.gui.AddControl(bystander);
  scope.gui.AddControl(second);

  first->SetModal(true);
  // Opening the control that is already modal keeps it whole.
  first->SetModal(true);
  scope.gui.SetModalControl(first);
  EXPECT_TRUE(first->IsValid());
  EXPECT_EQ(first->GetNumChildControls(), 1);
  EXPECT_EQ(scope.gui.GetModalControl(), first);

  // Another control's SetModal(false) does not close the open one.
  bystander->SetModal(false);
  EXPECT_EQ(scope.gui.GetModalControl(), first);
  EXPECT_TRUE(first->IsValid());
  EXPECT_TRUE(notes.empty());

  // Replacing closes the old one: destroyed, taken out of its parent's list and deleted with its child.
  second->SetModal(true);
  EXPECT_EQ(scope.gui.GetModalControl(), second);
  Notes expected = {"deleted child", "deleted first"};
  EXPECT_EQ(notes, expected);
  EXPECT_EQ(owner->GetChildControl(0), nullptr);
  EXPECT_EQ(owner->AddChildControl(MakeControl("next", 0, 0, 1, 1)), 0) << "the freed slot is taken again";
  EXPECT_EQ(scope.gui.GetTopControl(1), bystander);

  // Its own SetModal(false) closes it; a top-level control leaves the GUI's list.
  notes.clear();
  second->SetModal(false);
  EXPECT_FALSE(scope.gui.IsModal());
  expected = {"deleted second"};
  EXPECT_EQ(notes, expected);
  EXPECT_EQ(scope.gui.GetTopControl(2), nullptr);
  EXPECT_EQ(scope.gui.GetControl(BrStringT<char>("second"), true), nullptr);
  // Without a camera controller there was nothing to remember.
  EXPECT_EQ(scope.gui.GetSavedController().Length(), 0);
}

TEST(BrGUI, DestroyDeletesTheControlsAndForgetsFocusAndModal) {
  Notes notes;
  BrGUI gui;
  NotingControl* a = new NotingControl("a", &notes);
  NotingControl* b = new NotingControl("b", &notes);
  gui.AddControl(a);
  gui.AddControl(b);
  gui.SetModalControl(b);
  gui.SetFocusControl(a);
  gui.Destroy();
  EXPECT_EQ(gui.GetNumControls(), 0);
  EXPECT_EQ(gui.GetModalControl(), nullptr);
  EXPECT_EQ(gui.GetFocusControl(), nullptr);
  EXPECT_NE(std::find(notes.begin(), notes.end(), "deleted a"), notes.end());
  EXPECT_NE(std::find(notes.begin(), notes.end(), "deleted b"), notes.end());
  gui.LeftClick(0.5f, 0.5f);  // nothing left to reach
}

TEST(BrGUI, AControlDeletedByItsOwnerIsForgotten) {
  ScopedGUI scope;
  BrUIControl* loose = MakeControl("loose", 0, 0, 1, 1);
  scope.gui.AddControl(loose);
  scope.gui.SetFocusControl(loose);
  scope.gui.SetModalControl(loose);
  delete loose;
  EXPECT_EQ(scope.gui.GetFocusControl(), nullptr);
  EXPECT_EQ(scope.gui.GetModalControl(), nullptr);
  EXPECT_EQ(scope.gui.GetTopControl(0), nullptr);
  EXPECT_FALSE(scope.gui.LeftClick(0.5f, 0.5f));
  scope.gui.KeyPressed(13);
}

namespace {

// The owner of a modal dialog: closing it on the choice ends the dialog while its option's click is still running.
class ClosingOwner : public NotingControl {
public:
  explicit ClosingOwner(Notes* notes) : NotingControl("owner", notes) {}
  bool ControlLeftClicked(const BrStringT<char>& id) override {
    NotingControl::ControlLeftClicked(id);
    Engine().GUI()->SetModalControl(nullptr);
    if (m_pNotes) m_pNotes->push_back("closed");
    return true;
  }
};

// An option that reports up the chain like any control and notes its deletion.
class Option : public BrUIControl {
public:
  explicit Option(Notes* notes) : m_pNotes(notes) {
    Init();
    SetID(BrStringT<char>("option"));
    SetArea(0.3f, 0.3f, 0.1f, 0.1f);
  }
  ~Option() override { m_pNotes->push_back("deleted option"); }
  bool LeftClick(float x, float y) override {
    const bool taken = BrUIControl::LeftClick(x, y);
    // Still here: the control must not have been freed under its own click.
    m_pNotes->push_back(IsValid() ? "returned valid" : "returned destroyed");
    return taken;
  }
  Notes* m_pNotes;
};

// A dialog that passes its options' clicks up like any control and notes its deletion.
class NotedDialog : public BrUIControl {
public:
  explicit NotedDialog(Notes* notes) : m_pNotes(notes) {
    Init();
    SetID(BrStringT<char>("dialog"));
    SetArea(0.2f, 0.2f, 0.6f, 0.6f);
  }
  ~NotedDialog() override { m_pNotes->push_back("deleted dialog"); }
  Notes* m_pNotes;
};

}  // namespace

TEST(BrGUI, ClosingTheModalControlFromItsOwnOptionDeletesTheOptionAfterTheClick) {
  Notes notes;
  ScopedGUI scope;
  ClosingOwner* owner = new ClosingOwner(&notes);
  owner->SetArea(0, 0, 1, 1);
  NotedDialog* dialog = new NotedDialog(&notes);
  owner->AddChildControl(dialog);
  dialog->AddChildControl(new Option(&notes));
  scope.gui.AddControl(owner);
  dialog->SetModal(true);

  // The dialog and its option are gone only once the click has come back out of them.
  EXPECT_TRUE(scope.gui.LeftClick(0.35f, 0.35f));
  EXPECT_FALSE(scope.gui.IsModal());
  EXPECT_EQ(owner->GetChildControl(0), nullptr);
  Notes expected = {"left option", "closed", "returned destroyed", "deleted option", "deleted dialog"};
  EXPECT_EQ(notes, expected);
}
