// BrUIControlButton: its two textures, the rollover look and its suppression under another modal control.
#include <gtest/gtest.h>

#include "engine/presentation/BrUIControlButton.h"
#include "tests/engine/presentation/WidgetTestKit.h"

using brwidgettest::EffectorName;
using brwidgettest::MakeControl;
using brwidgettest::WidgetTest;

namespace {

// The rollover flag is normally set by Step from the HUD's cursor; tests set it directly.
class PointedButton : public BrUIControlButton {
public:
  void SetRollover(bool on) { m_bRollover = on; }
};

}  // namespace

TEST_F(WidgetTest, ButtonTexturesAreControlIconsAndAMissingOneGivesNone) {
  PointedButton button;
  button.Init();
  button.SetTexture(BrStringT<char>("Textures\\ui\\ok.tga"));
  button.SetRolloverTexture(BrStringT<char>("Textures\\ui\\okover.tga"));
  EXPECT_GE(button.GetEffector(), 4);
  EXPECT_GE(button.GetRolloverEffector(), 4);
  EXPECT_EQ(EffectorName(dev, button.GetEffector()), "ShaderControlTextures\\ui\\ok.tga");
  EXPECT_EQ(EffectorName(dev, button.GetRolloverEffector()), "ShaderControlTextures\\ui\\okover.tga");

  dev->Textures()->missing.insert("Textures\\ui\\gone.tga");
  button.SetRolloverTexture(BrStringT<char>("Textures\\ui\\gone.tga"));
  EXPECT_EQ(button.GetRolloverEffector(), 0);
}

TEST_F(WidgetTest, ButtonDrawsItsRolloverTextureUnderThePointerUntinted) {
  PointedButton button;
  button.Init();
  button.SetArea(0.1f, 0.2f, 0.3f, 0.4f);
  button.SetColour(BrARGB(100, 10, 20, 30));
  button.SetTexture(BrStringT<char>("up.tga"));
  button.SetRolloverTexture(BrStringT<char>("over.tga"));

  button.Draw(dev);
  ASSERT_EQ(dev->sprites.size(), 1u);
  EXPECT_EQ(dev->sprites[0].effector, (unsigned)button.GetEffector());
  EXPECT_FLOAT_EQ(dev->sprites[0].x, 0.1f);
  EXPECT_FLOAT_EQ(dev->sprites[0].h, 0.4f);
  EXPECT_EQ(dev->sprites[0].colour.a, 255);
  EXPECT_EQ(dev->sprites[0].colour.r, 255);

  button.SetRollover(true);
  button.Draw(dev);
  ASSERT_EQ(dev->sprites.size(), 2u);
  EXPECT_EQ(dev->sprites[1].effector, (unsigned)button.GetRolloverEffector());
}

TEST_F(WidgetTest, ButtonWithoutRolloverTextureKeepsItsLookUnderThePointer) {
  PointedButton button;
  button.Init();
  button.SetTexture(BrStringT<char>("up.tga"));
  button.SetRollover(true);
  button.Draw(dev);
  ASSERT_EQ(dev->sprites.size(), 1u);
  EXPECT_EQ(dev->sprites[0].effector, (unsigned)button.GetEffector());
  EXPECT_TRUE(dev->sprites[0].accepted);
}

TEST_F(WidgetTest, ButtonUnderAnotherModalControlShowsNoRollover) {
  PointedButton* button = new PointedButton();
  button->Init();
  button->SetTexture(BrStringT<char>("up.tga"));
  button->SetRolloverTexture(BrStringT<char>("over.tga"));
  button->SetRollover(true);
  BrUIControl* dialog = MakeControl("dialog", 0, 0, 1, 1);
  GUI().AddControl(button);
  GUI().AddControl(dialog);
  dialog->SetModal(true);

  button->Draw(dev);
  ASSERT_EQ(dev->sprites.size(), 1u);
  EXPECT_EQ(dev->sprites[0].effector, (unsigned)button->GetEffector());

  // The modal button itself does light up.
  button->SetModal(true);
  dev->ClearRecords();
  button->Draw(dev);
  ASSERT_EQ(dev->sprites.size(), 1u);
  EXPECT_EQ(dev->sprites[0].effector, (unsigned)button->GetRolloverEffector());
}
