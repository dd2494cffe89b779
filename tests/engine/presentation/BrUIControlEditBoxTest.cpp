// BrUIControlTextBox and BrUIControlEditBox: complete lines only, typing rules, backspace, focus and size pairing.
#include <gtest/gtest.h>

#include <set>
#include <string>

#include "engine/presentation/BrFontMgr.h"
#include "engine/presentation/BrUIControlEditBox.h"
#include "engine/presentation/BrUIControlTextBox.h"
#include "tests/engine/presentation/WidgetTestKit.h"

using brwidgettest::ScopedGUI;
using brwidgettest::WidgetTest;

namespace {

std::string Text(const BrUIControlTextBox& box) { return box.GetText().c_str() ? box.GetText().c_str() : ""; }

void Type(BrGUI& gui, const char* keys) {
  for (const char* k = keys; *k; ++k) gui.KeyPressed(*k);
}

// Rows of text drawn: the distinct y positions of the character sprites.
size_t RowsDrawn(RecordingRenderDevice* dev) {
  std::set<float> rows;
  for (const auto& s : dev->sprites) rows.insert(s.y);
  return rows.size();
}

}  // namespace

TEST_F(WidgetTest, TextBoxDrawsOnlyNewlineTerminatedLines) {
  dev->FontMgr()->SetFont(BrStringT<char>("Fonts\\fontVanilla.tga"));
  BrUIControlTextBox box;
  box.Init();
  box.SetText(BrStringT<char>("ab\ncd\n"));
  box.Draw(dev);
  EXPECT_EQ(RowsDrawn(dev), 2u);

  dev->ClearRecords();
  box.SetText(BrStringT<char>("abc"));
  box.Draw(dev);
  EXPECT_TRUE(dev->sprites.empty());

  // An empty line still moves the next one down.
  dev->ClearRecords();
  box.SetText(BrStringT<char>("a\n\nb\n"));
  box.Draw(dev);
  ASSERT_EQ(RowsDrawn(dev), 2u);
  const float line = dev->FontMgr()->GetNewLineHeight();
  EXPECT_NEAR(dev->sprites.back().y - dev->sprites.front().y, 2.0f * line, 1e-5f);
}

TEST(BrUIControlEditBox, FirstKeyReplacesTheContentAndBackspaceRemovesTheLastLetter) {
  ScopedGUI scope;
  BrUIControlEditBox* box = new BrUIControlEditBox();
  box->Init();
  box->SetArea(0.1f, 0.1f, 0.5f, 0.1f);
  box->SetText(BrStringT<char>("Type a name\n"));
  scope.gui.AddControl(box);

  EXPECT_TRUE(scope.gui.LeftClick(0.2f, 0.15f));
  EXPECT_EQ(scope.gui.GetFocusControl(), box);
  EXPECT_TRUE(box->WillClearOnNextKey());
  Type(scope.gui, "AB\b7");
  EXPECT_EQ(Text(*box), "A7\n");

  Type(scope.gui, "\b\b");
  EXPECT_EQ(Text(*box), "");
  Type(scope.gui, "Q");
  EXPECT_EQ(Text(*box), "Q\n");
  // Lower case and punctuation are outside the accepted codes.
  scope.gui.KeyPressed('a');
  scope.gui.KeyPressed(190);
  EXPECT_EQ(Text(*box), "Q\n");
}

TEST(BrUIControlEditBox, BackspaceKeepsEarlierLinesOfAnOwnerSetText) {
  ScopedGUI scope;
  BrUIControlEditBox* box = new BrUIControlEditBox();
  box->Init();
  scope.gui.AddControl(box);
  box->SetText(BrStringT<char>("AB\nCD\n"));
  // Taking the focus arms the clear; a first key spends it.
  scope.gui.SetFocusControl(box);
  box->KeyPressed('X');
  box->SetText(BrStringT<char>("AB\nCD\n"));
  box->KeyPressed(8);
  EXPECT_EQ(Text(*box), "AB\nC\n");
  box->SetText(BrStringT<char>("ABC"));
  box->KeyPressed(8);
  EXPECT_EQ(Text(*box), "AB\n");
}

TEST(BrUIControlEditBox, TypingStopsAtTheMaximumLength) {
  ScopedGUI scope;
  BrUIControlEditBox* box = new BrUIControlEditBox();
  box->Init();
  scope.gui.AddControl(box);
  scope.gui.SetFocusControl(box);
  for (int i = 0; i < 40; ++i) scope.gui.KeyPressed('A' + i % 26);
  EXPECT_EQ(box->GetText().Length(), 33);
  EXPECT_EQ(Text(*box).back(), '\n');
  // Backspace still works at the limit, and then one more fits.
  scope.gui.KeyPressed(8);
  EXPECT_EQ(box->GetText().Length(), 32);
  scope.gui.KeyPressed('Z');
  EXPECT_EQ(box->GetText().Length(), 33);

  box->SetMaxEditLength(3);
  box->SetText(BrStringT<char>());
  Type(scope.gui, "12 45");
  EXPECT_EQ(Text(*box), "12 \n");
}

TEST(BrUIControlEditBox, EnterGivesUpTheFocusUntilTheNextClick) {
  ScopedGUI scope;
  BrUIControlEditBox* box = new BrUIControlEditBox();
  box->Init();
  box->SetArea(0, 0, 1, 1);
  scope.gui.AddControl(box);
  scope.gui.LeftClick(0.5f, 0.5f);
  Type(scope.gui, "OK\r");
  EXPECT_EQ(scope.gui.GetFocusControl(), nullptr);
  EXPECT_FALSE(box->HasFocus());
  EXPECT_FALSE(box->WillClearOnNextKey());
  Type(scope.gui, "ZZ");
  EXPECT_EQ(Text(*box), "OK\n");

  // A click outside, or on an inactive box, takes nothing.
  EXPECT_FALSE(box->LeftClick(1.5f, 0.5f));
  box->SetActive(false);
  EXPECT_FALSE(box->LeftClick(0.5f, 0.5f));
  EXPECT_EQ(scope.gui.GetFocusControl(), nullptr);
}

TEST_F(WidgetTest, EditBoxDrawsItsBarWhileFocusedAndPairsEverySizeStep) {
  BrFontMgr* fonts = dev->FontMgr();
  fonts->SetFont(BrStringT<char>("Fonts\\fontVanilla.tga"));
  const float size = fonts->GetSize();
  BrUIControlEditBox* box = new BrUIControlEditBox();
  box->Init();
  box->SetArea(0.2f, 0.4f, 0.5f, 0.1f);
  box->SetEditOffset(0.1f, 0.2f);
  box->SetSizeInc(3);
  GUI().AddControl(box);

  box->SetText(BrStringT<char>());
  box->Draw(dev);
  EXPECT_FLOAT_EQ(fonts->GetSize(), size);
  EXPECT_TRUE(dev->sprites.empty());

  box->SetText(BrStringT<char>("HI\n"));
  box->Draw(dev);
  EXPECT_FLOAT_EQ(fonts->GetSize(), size);
  const size_t unfocused = dev->sprites.size();
  ASSERT_EQ(unfocused, 2u);
  EXPECT_NEAR(dev->sprites[0].y, 0.4f + 0.2f * 0.1f, 1e-5f);

  GUI().SetFocusControl(box);
  box->SetText(BrStringT<char>("HI\n"));
  dev->ClearRecords();
  box->Draw(dev);
  ASSERT_EQ(dev->sprites.size(), 3u);
  const auto& bar = dev->sprites[0];
  EXPECT_NEAR(bar.x, 0.2f + 0.1f * 0.5f, 1e-5f);
  EXPECT_EQ(brwidgettest::EffectorName(dev, (int)bar.effector), "ShaderEditBoxEdit");
}
