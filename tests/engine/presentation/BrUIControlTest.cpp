// BrUIControl: the widget tree's click routing, ownership of children, activation and focus.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "engine/presentation/BrGUI.h"
#include "engine/presentation/BrUIControl.h"
#include "tests/engine/presentation/WidgetTestKit.h"

using brwidgettest::MakeControl;
using brwidgettest::NotingControl;
using brwidgettest::ScopedGUI;
using Notes = std::vector<std::string>;

TEST(BrUIControl, InitGivesTheDefaultsAndCoversItsAreaInclusively) {
  BrUIControl control;
  EXPECT_FALSE(control.IsActive());
  EXPECT_FALSE(control.Init());
  EXPECT_TRUE(control.IsActive());
  EXPECT_EQ(control.GetPosX(), 0.0f);
  EXPECT_EQ(control.GetPosY(), 0.0f);
  EXPECT_FLOAT_EQ(control.GetWidth(), 0.1f);
  EXPECT_FLOAT_EQ(control.GetHeight(), 0.1f);
  EXPECT_EQ(control.GetEffector(), 0);
  EXPECT_EQ(control.GetColour().a, 255);
  EXPECT_EQ(control.GetColour().g, 255);
  EXPECT_EQ(control.GetID().Length(), 0);
  control.SetArea(0.25f, 0.5f, 0.25f, 0.25f);
  EXPECT_TRUE(control.CoversPoint(0.25f, 0.5f));
  EXPECT_TRUE(control.CoversPoint(0.5f, 0.75f));
  EXPECT_FALSE(control.CoversPoint(0.51f, 0.6f));
  EXPECT_FALSE(control.CoversPoint(0.3f, 0.49f));
  EXPECT_TRUE(control.IsA(BrObject::Type));
  EXPECT_TRUE(control.IsAExactly(BrUIControl::Type));
}

TEST(BrUIControl, LeftClicksBubbleUpTheParentChainByID) {
  Notes notes;
  NotingControl root("root", &notes, true);
  root.SetArea(0.0f, 0.0f, 1.0f, 1.0f);
  BrUIControl* panel = MakeControl("panel", 0.0f, 0.0f, 0.5f, 0.5f);
  BrUIControl* button = MakeControl("ok", 0.1f, 0.1f, 0.1f, 0.1f);
  root.AddChildControl(panel);
  panel->AddChildControl(button);

  EXPECT_TRUE(root.LeftClick(0.15f, 0.15f));
  ASSERT_EQ(notes.size(), 1u);
  EXPECT_EQ(notes[0], "left ok");

  // Outside the button but inside the panel: the panel reports its own id.
  notes.clear();
  EXPECT_TRUE(root.LeftClick(0.4f, 0.4f));
  EXPECT_EQ(notes.at(0), "left panel");

  // An inactive button no longer reports; its parent, covering the point, does.
  notes.clear();
  button->SetActive(false);
  EXPECT_TRUE(root.LeftClick(0.15f, 0.15f));
  EXPECT_EQ(notes.at(0), "left panel");

  // The top of the chain without an answering ancestor is false.
  BrUIControl* orphan = MakeControl("orphan", 0.0f, 0.0f, 1.0f, 1.0f);
  EXPECT_FALSE(orphan->LeftClick(0.5f, 0.5f));
  delete orphan;
}

TEST(BrUIControl, RightClickGoesToTheCoveringActiveChildWhateverItAnswers) {
  Notes notes;
  NotingControl root("root", &notes, false);
  root.SetArea(0.0f, 0.0f, 1.0f, 1.0f);
  BrUIControl* child = MakeControl("child", 0.0f, 0.0f, 0.2f, 0.2f);
  root.AddChildControl(child);

  // The child reports to root, which answers false, yet the click counts as taken.
  EXPECT_TRUE(root.RightClick(0.1f, 0.1f));
  EXPECT_EQ(notes.at(0), "right child");

  // Outside the child, the root reports itself even when inactive.
  notes.clear();
  root.SetActive(false);
  EXPECT_FALSE(root.RightClick(0.5f, 0.5f));
  EXPECT_EQ(notes.at(0), "right root");
  EXPECT_FALSE(root.RightClick(1.5f, 0.5f));
}

TEST(BrUIControl, ChildSlotsAreReusedAndMovesUnlinkByPointer) {
  BrUIControl first;
  BrUIControl second;
  first.Init();
  second.Init();
  EXPECT_EQ(first.AddChildControl(nullptr), -1);
  EXPECT_EQ(first.GetNumChildControls(), 0);

  BrUIControl* a = MakeControl("same", 0, 0, 0.1f, 0.1f);
  BrUIControl* b = MakeControl("same", 0, 0, 0.1f, 0.1f);
  BrUIControl* c = MakeControl("c", 0, 0, 0.1f, 0.1f);
  EXPECT_EQ(first.AddChildControl(a), 0);
  EXPECT_EQ(first.AddChildControl(b), 1);
  EXPECT_EQ(first.AddChildControl(c), 2);
  // Adding a child it already holds keeps the one slot.
  EXPECT_EQ(first.AddChildControl(c), 2);
  EXPECT_EQ(first.GetNumChildControls(), 3);

  // b shares a's id; moving b must empty b's slot, not a's.
  EXPECT_EQ(second.AddChildControl(b), 0);
  EXPECT_EQ(first.GetChildControl(0), a);
  EXPECT_EQ(first.GetChildControl(1), nullptr);
  EXPECT_EQ(b->GetParentControl(), &second);
  EXPECT_EQ(first.GetNumChildControls(), 3);

  // The emptied slot is filled next.
  BrUIControl* d = MakeControl("d", 0, 0, 0.1f, 0.1f);
  EXPECT_EQ(first.AddChildControl(d), 1);
  EXPECT_EQ(first.GetChildControl(7), nullptr);

  // LostChild by id empties the first slot with that id.
  first.LostChild(BrStringT<char>("c"));
  EXPECT_EQ(first.GetChildControl(2), nullptr);
  delete c;
}

TEST(BrUIControl, GetControlSearchesChildrenOrTheWholeSubtreeSkippingEmptySlots) {
  BrUIControl root;
  root.Init();
  BrUIControl* panel = MakeControl("panel", 0, 0, 1, 1);
  BrUIControl* deep = MakeControl("deep", 0, 0, 1, 1);
  BrUIControl* moved = MakeControl("moved", 0, 0, 1, 1);
  root.AddChildControl(moved);
  root.AddChildControl(panel);
  panel->AddChildControl(deep);
  BrUIControl other;
  other.AddChildControl(moved);  // leaves slot 0 of root empty

  EXPECT_EQ(root.GetControl(BrStringT<char>("panel"), false), panel);
  EXPECT_EQ(root.GetControl(BrStringT<char>("deep"), false), nullptr);
  EXPECT_EQ(root.GetControl(BrStringT<char>("deep"), true), deep);
  EXPECT_EQ(root.GetControl(BrStringT<char>("moved"), true), nullptr);

  root.DeactivateControl(BrStringT<char>("deep"), true);
  EXPECT_FALSE(deep->IsActive());
  root.ActivateControl(BrStringT<char>("deep"), false);
  EXPECT_FALSE(deep->IsActive());
  root.ActivateControl(BrStringT<char>("deep"), true);
  EXPECT_TRUE(deep->IsActive());
}

TEST(BrUIControl, DeactivatingASubtreeTakesTheFocusAway) {
  Notes notes;
  ScopedGUI scope;
  BrUIControl* root = MakeControl("root", 0, 0, 1, 1);
  BrUIControl* panel = MakeControl("panel", 0, 0, 1, 1);
  NotingControl* field = new NotingControl("field", &notes);
  root->AddChildControl(panel);
  panel->AddChildControl(field);
  scope.gui.AddControl(root);
  scope.gui.SetFocusControl(field);
  EXPECT_TRUE(field->HasFocus());

  root->SetActive(false);
  EXPECT_FALSE(panel->IsActive());
  EXPECT_FALSE(field->IsActive());
  EXPECT_EQ(scope.gui.GetFocusControl(), nullptr);
  EXPECT_FALSE(field->HasFocus());
  root->SetActive(true);
  EXPECT_TRUE(field->IsActive());
  EXPECT_EQ(scope.gui.GetFocusControl(), nullptr);
}

TEST(BrUIControl, DestroyDeletesTheChildrenAndDeactivates) {
  Notes notes;
  BrUIControl* root = MakeControl("root", 0, 0, 1, 1);
  NotingControl* a = new NotingControl("a", &notes);
  NotingControl* b = new NotingControl("b", &notes);
  root->AddChildControl(a);
  a->AddChildControl(b);
  root->Destroy();
  EXPECT_FALSE(root->IsActive());
  EXPECT_FALSE(root->IsValid());
  EXPECT_EQ(root->GetNumChildControls(), 0);
  ASSERT_EQ(notes.size(), 2u);
  EXPECT_EQ(notes[0], "deleted b");
  EXPECT_EQ(notes[1], "deleted a");
  delete root;
}

TEST(BrUIControl, AChildDeletedByItsOwnerLeavesNoDanglingSlot) {
  BrUIControl root;
  root.Init();
  BrUIControl* child = MakeControl("child", 0, 0, 1, 1);
  EXPECT_EQ(root.AddChildControl(child), 0);
  delete child;
  EXPECT_EQ(root.GetChildControl(0), nullptr);
  EXPECT_FALSE(root.LeftClick(0.5f, 0.5f));
}
