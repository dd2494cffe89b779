// BrUIDialog: the icon square, the text, option buttons made once and right-aligned, disabled options and closing.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "engine/presentation/BrFontMgr.h"
#include "engine/presentation/BrUIDialog.h"
#include "engine/presentation/BrUITextButton.h"
#include "tests/engine/presentation/WidgetTestKit.h"

using brwidgettest::EffectorName;
using brwidgettest::NotingControl;
using brwidgettest::WidgetTest;
using Notes = std::vector<std::string>;

namespace {

BrUIDialog* MakeDialog() {
  BrUIDialog* dialog = new BrUIDialog();
  dialog->Init();
  dialog->SetArea(0.2f, 0.2f, 0.6f, 0.6f);
  dialog->SetDialogText(BrStringT<char>("The world is complete.\n"));
  dialog->AddDialogOption(BrStringT<char>("Save"), BrStringT<char>("InterludeMenuSave"), true);
  dialog->AddDialogOption(BrStringT<char>("Quit"), BrStringT<char>("Quit"), false);
  dialog->AddDialogOption(BrStringT<char>("Continue"), BrStringT<char>("InterludeMenuAutosave"), true);
  return dialog;
}

BrUITextButton* Option(BrUIDialog* dialog, int i) {
  BrUIControl* c = dialog->GetChildControl(i);
  return c ? static_cast<BrUITextButton*>(c->SafeCast(&BrUITextButton::Type)) : nullptr;
}

}  // namespace

TEST_F(WidgetTest, DialogMakesRightAlignedOptionButtonsOnItsFirstDrawing) {
  Notes notes;
  NotingControl* owner = new NotingControl("hud", &notes);
  owner->SetArea(0, 0, 1, 1);
  BrUIDialog* dialog = MakeDialog();
  owner->AddChildControl(dialog);
  GUI().AddControl(owner);
  dialog->SetModal(true);
  EXPECT_EQ(dialog->GetNumChildControls(), 0);

  dialog->Draw(dev);
  ASSERT_EQ(dialog->GetNumChildControls(), 3);
  const float right = 0.2f + 0.6f - 0.01f * 0.6f;
  float lastY = 0.0f;
  for (int i = 0; i < 3; ++i) {
    BrUITextButton* b = Option(dialog, i);
    ASSERT_NE(b, nullptr);
    EXPECT_TRUE(b->IsActive());
    EXPECT_NEAR(b->GetPosX() + b->GetWidth(), right, 1e-5f);
    EXPECT_GT(b->GetPosY(), lastY);
    lastY = b->GetPosY();
  }
  EXPECT_STREQ(Option(dialog, 0)->GetID().c_str(), "InterludeMenuSave");
  EXPECT_STREQ(Option(dialog, 1)->GetID().c_str(), "NULL");
  EXPECT_EQ(Option(dialog, 1)->GetRolloverTextColour().g, 64);
  EXPECT_EQ(Option(dialog, 2)->GetRolloverTextColour().g, 244);
  // The modal dialog dims what lies under it, and its text is drawn in black.
  EXPECT_FALSE(dev->sprites.empty());
  ASSERT_FALSE(dev->texts.empty());
  EXPECT_EQ(dev->texts[0].colour.r, 0);

  // Clicks on the options reach the owner by id; the disabled one says "NULL".
  BrUITextButton* quit = Option(dialog, 1);
  GUI().LeftClick(quit->GetPosX() + 0.001f, quit->GetPosY() + quit->GetHeight() / 2.0f);
  BrUITextButton* save = Option(dialog, 0);
  GUI().LeftClick(save->GetPosX() + 0.001f, save->GetPosY() + save->GetHeight() / 2.0f);
  Notes expected = {"left NULL", "left InterludeMenuSave"};
  EXPECT_EQ(notes, expected);

  // Drawn again: no second set of buttons, and late options get none.
  dialog->AddDialogOption(BrStringT<char>("Late"), BrStringT<char>("Late"), true);
  dialog->Draw(dev);
  EXPECT_EQ(dialog->GetNumChildControls(), 3);

  // Closing the modal dialog takes it, its options and buttons out of the tree for good.
  dialog->SetModal(false);
  EXPECT_FALSE(GUI().IsModal());
  EXPECT_EQ(owner->GetChildControl(0), nullptr);
  EXPECT_EQ(GUI().GetControl(BrStringT<char>("InterludeMenuSave"), true), nullptr);
  // The owner notes into this test's list: it goes before the list does.
  GUI().Destroy();
}

TEST_F(WidgetTest, DialogWithoutTextShowsItsIconButNoOptions) {
  BrUIDialog dialog;
  dialog.Init();
  dialog.SetArea(0.2f, 0.2f, 0.5f, 0.5f);
  dialog.AddDialogOption(BrStringT<char>("OK"), BrStringT<char>("OK"), true);
  dialog.SetDialogIcon(BrStringT<char>());
  EXPECT_EQ(dialog.GetIconEffector(), 0);
  dialog.SetDialogIcon(BrStringT<char>("Textures\\ui\\skull.tga"));
  EXPECT_EQ(EffectorName(dev, dialog.GetIconEffector()), "DlgIconTextures\\ui\\skull.tga");
  dialog.Draw(dev);
  EXPECT_EQ(dialog.GetNumChildControls(), 0);
  ASSERT_EQ(dev->sprites.size(), 1u);
  const auto& icon = dev->sprites[0];
  EXPECT_NEAR(icon.x, 0.2f + 0.01f * 0.5f, 1e-5f);
  EXPECT_NEAR(icon.w, 0.05f, 1e-5f);
  // A square on screen: its height is its width times the aspect ratio.
  EXPECT_NEAR(icon.h, 0.05f * 800.0f / 600.0f, 1e-5f);
  EXPECT_TRUE(dev->texts.empty());
}

TEST_F(WidgetTest, DialogTextStartsUnderTheIconAndLeavesTheFontAsFound) {
  BrFontMgr* fonts = dev->FontMgr();
  fonts->SetFont(BrStringT<char>("Fonts\\fontScript.tga"));
  const int font = fonts->GetCurrFontID();
  const float size = fonts->GetSize();
  BrUIDialog dialog;
  dialog.Init();
  dialog.SetArea(0.0f, 0.0f, 1.0f, 1.0f);
  dialog.SetPadding(0.1f);
  dialog.SetDialogIconSize(0.2f);
  dialog.SetDialogTextSize(2);
  dialog.SetDialogIcon(BrStringT<char>("icon.tga"));
  dialog.SetDialogText(BrStringT<char>("Hello"));
  dialog.Draw(dev);
  ASSERT_EQ(dev->texts.size(), 1u);
  EXPECT_NEAR(dev->texts[0].x, 0.1f, 1e-5f);
  EXPECT_NEAR(dev->texts[0].y, 0.1f + 0.2f * 800.0f / 600.0f, 1e-5f);
  EXPECT_EQ(fonts->GetCurrFontID(), font);
  EXPECT_FLOAT_EQ(fonts->GetSize(), size);
}
