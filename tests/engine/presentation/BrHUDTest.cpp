// BrHUD and BrCursor: cursors made from textures, the current cursor, hot spots kept in place, drawing order.
#include <gtest/gtest.h>

#include <cmath>

#include "engine/presentation/BrCursor.h"
#include "engine/presentation/BrHUD.h"
#include "tests/engine/presentation/WidgetTestKit.h"

using brwidgettest::EffectorName;
using brwidgettest::MakeControl;
using brwidgettest::WidgetTest;

TEST(BrHUD, WithoutADeviceThereAreNoCursors) {
  BrHUD hud;
  EXPECT_TRUE(hud.Init());
  EXPECT_EQ(hud.AddCursor(BrStringT<char>("Textures\\cursor.tga"), 0.5f, 0.5f), -1);
  EXPECT_EQ(hud.GetCursor(-1), nullptr);
  EXPECT_EQ(hud.GetCursor(0), nullptr);
  hud.SetCursor(0);
  EXPECT_EQ(hud.GetCurrentCursor(), -1);
  BrCursor cursor;
  cursor.SetCursorDimensions(0.05f, 0.05f, BrVector(0.5f, 0.5f, 0.0f));
  BrVector click = cursor.GetClickPoint();
  EXPECT_EQ(click.x, 0.0f);
  EXPECT_EQ(click.y, 0.0f);
}

TEST_F(WidgetTest, HUDMakesCursorsFromTexturesAsTwoDimensionalEffectors) {
  BrHUD hud;
  hud.Init();
  const int base = hud.AddCursor(BrStringT<char>("Textures\\ui\\cursor.tga"), 0.5f, 0.5f);
  const int melee = hud.AddCursor(BrStringT<char>("Textures\\ui\\melee.tga"), 0.0f, 0.0f);
  EXPECT_EQ(base, 0);
  EXPECT_EQ(melee, 1);
  EXPECT_EQ(hud.GetNumCursors(), 2);
  // No current cursor until one is set.
  EXPECT_EQ(hud.GetCursor(-1), nullptr);
  BrCursor* cursor = hud.GetCursor(0);
  ASSERT_NE(cursor, nullptr);
  EXPECT_FLOAT_EQ(cursor->GetCursorWidth(), 0.05f);
  EXPECT_FLOAT_EQ(cursor->GetCursorHeight(), 0.05f);
  EXPECT_EQ(EffectorName(dev, cursor->GetCursorFX()), "CurTextures\\ui\\cursor.tga");
  RecordingEffector* fx = dev->Effectors()->At((unsigned)cursor->GetCursorFX());
  ASSERT_NE(fx, nullptr);
  ASSERT_FALSE(fx->passes.empty());
  EXPECT_EQ(fx->passes[0].m_uiFlags, 4u);
  EXPECT_GT(fx->passes[0].m_iTexture, 0);
  // The hot spot in pixels: half of 0.05 of 800 by 600.
  BrVector click = cursor->GetClickPoint();
  EXPECT_FLOAT_EQ(click.x, 20.0f);
  EXPECT_FLOAT_EQ(click.y, 15.0f);
  EXPECT_EQ(hud.GetCursor(2), nullptr);
  EXPECT_EQ(hud.GetCursor(-2), nullptr);
}

TEST_F(WidgetTest, SwitchingCursorsKeepsTheClickOnTheSamePixel) {
  BrHUD hud;
  hud.Init();
  hud.AddCursor(BrStringT<char>("centre.tga"), 0.5f, 0.5f);
  hud.AddCursor(BrStringT<char>("corner.tga"), 0.0f, 0.0f);
  hud.AddCursor(BrStringT<char>("odd.tga"), 0.33f, 0.77f);
  hud.SetCursor(0);
  BrCursor* centre = hud.GetCursor(-1);
  ASSERT_EQ(centre, hud.GetCursor(0));
  centre->CursorScreenX() = 300.0f;
  centre->CursorScreenY() = 200.0f;
  hud.SetCursor(1);
  BrCursor* corner = hud.GetCursor(-1);
  EXPECT_EQ(corner, hud.GetCursor(1));
  EXPECT_FLOAT_EQ(corner->CursorScreenX(), 320.0f);
  EXPECT_FLOAT_EQ(corner->CursorScreenY(), 215.0f);

  // Fractions of a pixel are dropped toward zero: 0.33 x 40 = 13.2 and 0.77 x 40 = 30.8 (of 800 and 600).
  hud.SetCursor(2);
  BrCursor* odd = hud.GetCursor(-1);
  EXPECT_FLOAT_EQ(odd->CursorScreenX(), 320.0f - std::trunc(0.33f * 0.05f * 800.0f));
  EXPECT_FLOAT_EQ(odd->CursorScreenY(), 215.0f - std::trunc(0.77f * 0.05f * 600.0f));

  // An index outside the list changes nothing.
  hud.SetCursor(3);
  EXPECT_EQ(hud.GetCurrentCursor(), 2);
}

TEST_F(WidgetTest, HUDDrawsItsCursorOverItsChildrenAndCursorsDrawAtTheirPixel) {
  BrHUD* hud = new BrHUD();
  hud->Init();
  BrUIControl* panel = MakeControl("panel", 0, 0, 0.5f, 0.5f);
  panel->SetTexture(BrStringT<char>("panel.tga"));
  hud->AddChildControl(panel);
  GUI().AddControl(hud);
  hud->AddCursor(BrStringT<char>("cursor.tga"), 0.5f, 0.5f);
  hud->SetCursor(0);
  BrCursor* cursor = hud->GetCursor(-1);
  cursor->Centre();
  EXPECT_FLOAT_EQ(cursor->CursorScreenX(), 400.0f);
  EXPECT_FLOAT_EQ(cursor->CursorScreenY(), 300.0f);

  GUI().Draw(dev);
  ASSERT_EQ(dev->sprites.size(), 2u);
  EXPECT_EQ(dev->sprites[0].effector, (unsigned)panel->GetEffector());
  const auto& drawn = dev->sprites[1];
  EXPECT_EQ(drawn.effector, (unsigned)cursor->GetCursorFX());
  EXPECT_FLOAT_EQ(drawn.x, 0.5f);
  EXPECT_FLOAT_EQ(drawn.y, 0.5f);
  EXPECT_FLOAT_EQ(drawn.w, 0.05f);
  EXPECT_NEAR(drawn.h, 0.05f * 800.0f / 600.0f, 1e-6f);
  // No target: no tooltip.
  EXPECT_TRUE(dev->texts.empty());

  // Destroying the HUD frees its cursors and leaves no current one.
  hud->Destroy();
  EXPECT_EQ(hud->GetNumCursors(), 0);
  EXPECT_EQ(hud->GetCursor(-1), nullptr);
}

TEST(BrCursor, TargetsResolveToNothingWithoutAMap) {
  BrCursor cursor;
  EXPECT_EQ(cursor.GetTargetID(), -1);
  EXPECT_EQ(cursor.GetCursorTarget(), nullptr);
  cursor.SetTarget(nullptr);
  EXPECT_EQ(cursor.GetTargetID(), -1);
  EXPECT_EQ(cursor.GetCursorTarget(), nullptr);
  cursor.Draw(nullptr);
}

TEST_F(WidgetTest, ACursorWhoseShaderFailedIsNotMade) {
  dev->Effectors()->failingShaders.insert("Shader2d");
  const unsigned before = dev->Effectors()->Num();
  BrHUD hud;
  hud.Init();
  EXPECT_EQ(hud.AddCursor(BrStringT<char>("cursor.tga"), 0.5f, 0.5f), -1);
  EXPECT_EQ(hud.GetNumCursors(), 0);
  EXPECT_EQ(dev->Effectors()->Num(), before);
}
