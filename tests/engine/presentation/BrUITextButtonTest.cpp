// BrUITextButton and BrUISelector: hit band, sizing around the text, highlight rules and cycling selections.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "engine/presentation/BrFontMgr.h"
#include "engine/presentation/BrUISelector.h"
#include "engine/presentation/BrUITextButton.h"
#include "tests/engine/presentation/WidgetTestKit.h"

using brwidgettest::NotingControl;
using brwidgettest::WidgetTest;
using Notes = std::vector<std::string>;

namespace {

class PointedTextButton : public BrUITextButton {
public:
  void SetRollover(bool on) { m_bRollover = on; }
};

class PointedSelector : public BrUISelector {
public:
  void SetRollover(bool on) { m_bRollover = on; }
};

}  // namespace

TEST(BrUITextButton, OnlyTheMiddleOfItsHeightTakesThePointer) {
  BrUITextButton button;
  button.Init();
  button.SetArea(0.0f, 0.0f, 0.5f, 1.0f);
  EXPECT_FALSE(button.CoversPoint(0.25f, 0.05f));
  EXPECT_FALSE(button.CoversPoint(0.25f, 0.1f));
  EXPECT_TRUE(button.CoversPoint(0.25f, 0.5f));
  EXPECT_TRUE(button.CoversPoint(0.5f, 0.5f));
  EXPECT_FALSE(button.CoversPoint(0.25f, 0.9f));
  EXPECT_FALSE(button.CoversPoint(0.51f, 0.5f));
}

TEST(BrUITextButton, WithoutADeviceSizingOnlyRecordsTheJustification) {
  BrUITextButton button;
  button.Init();
  button.SetText(BrStringT<char>("Play"));
  button.SetArea(0.1f, 0.2f, 0.3f, 0.4f);
  button.CentreAt(0.5f, 0.5f);
  EXPECT_EQ(button.GetJustification(), 1);
  EXPECT_FLOAT_EQ(button.GetPosX(), 0.1f);
  button.RightJustify(0.9f);
  EXPECT_EQ(button.GetJustification(), 2);
  EXPECT_FLOAT_EQ(button.GetWidth(), 0.3f);
}

TEST_F(WidgetTest, TextButtonSizesItselfAroundItsTextInItsOwnFontAndSize) {
  BrFontMgr* fonts = dev->FontMgr();
  const float sizeBefore = fonts->GetSize();
  BrUITextButton button;
  button.Init();
  button.SetText(BrStringT<char>("Options"));
  button.SetTextSize(4);
  button.CentreAt(0.5f, 0.4f);
  EXPECT_EQ(button.GetJustification(), 1);
  const float w = button.GetWidth();
  const float h = button.GetHeight();
  EXPECT_GT(w, 0.0f);
  EXPECT_GT(h, 0.0f);
  EXPECT_NEAR(button.GetPosX() + w / 2.0f, 0.5f, 1e-5f);
  EXPECT_NEAR(button.GetPosY() + h / 2.0f, 0.4f, 1e-5f);
  // The font manager is left as it was found.
  EXPECT_FLOAT_EQ(fonts->GetSize(), sizeBefore);

  // Measured at the larger size: a button four steps bigger is wider than one at size 0.
  BrUITextButton plain;
  plain.Init();
  plain.SetText(BrStringT<char>("Options"));
  plain.CentreAt(0.5f, 0.4f);
  EXPECT_GT(w, plain.GetWidth());

  button.SetArea(0.1f, 0.3f, 0.0f, 0.0f);
  button.RightJustify(0.9f);
  EXPECT_EQ(button.GetJustification(), 2);
  EXPECT_NEAR(button.GetPosX() + button.GetWidth(), 0.9f, 1e-5f);
  EXPECT_FLOAT_EQ(button.GetPosY(), 0.3f);
}

TEST_F(WidgetTest, TextButtonHighlightsUnlessItsRolloverColourMarksItDisabled) {
  PointedTextButton button;
  button.Init();
  button.SetArea(0.2f, 0.3f, 0.2f, 0.05f);
  button.SetText(BrStringT<char>("Load"));
  button.SetTextColour(BrARGB(255, 0, 0, 0));
  button.SetRolloverTextColour(BrARGB(255, 255, 244, 0));
  button.Draw(dev);
  ASSERT_EQ(dev->texts.size(), 1u);
  EXPECT_EQ(dev->texts[0].text, "Load");
  EXPECT_FLOAT_EQ(dev->texts[0].x, 0.2f);
  EXPECT_FLOAT_EQ(dev->texts[0].y, 0.3f);
  EXPECT_EQ(dev->texts[0].colour.r, 0);
  EXPECT_EQ(dev->texts[0].flags, eFontFormatNone);

  dev->ClearRecords();
  button.SetRollover(true);
  button.Draw(dev);
  ASSERT_EQ(dev->texts.size(), 2u);
  EXPECT_EQ(dev->texts[1].colour.g, 244);
  EXPECT_GT(dev->texts[1].y, 0.3f);

  dev->ClearRecords();
  button.SetRolloverTextColour(BrARGB(255, 255, 64, 0));
  button.Draw(dev);
  EXPECT_EQ(dev->texts.size(), 1u);

  // Empty text draws nothing at all.
  dev->ClearRecords();
  button.SetText(BrStringT<char>());
  button.Draw(dev);
  EXPECT_TRUE(dev->texts.empty());
}

TEST(BrUISelector, CyclesFromTheLastAddedAndKeepsItsClicks) {
  Notes notes;
  NotingControl parent("parent", &notes);
  parent.SetArea(0, 0, 1, 1);
  BrUISelector* selector = new BrUISelector();
  selector->Init();
  selector->SetArea(0.0f, 0.0f, 0.5f, 0.5f);
  parent.AddChildControl(selector);
  BrStringT<char> text;

  // Empty: nothing current, yet the click is taken.
  EXPECT_TRUE(selector->LeftClick(0.25f, 0.25f));
  selector->GetText(text);
  EXPECT_EQ(text.Length(), 0);

  selector->AddSelection(BrStringT<char>("A"));
  selector->AddSelection(BrStringT<char>("B"));
  selector->AddSelection(BrStringT<char>("C"));
  selector->GetText(text);
  EXPECT_STREQ(text.c_str(), "C");
  EXPECT_TRUE(parent.LeftClick(0.25f, 0.25f));
  selector->GetText(text);
  EXPECT_STREQ(text.c_str(), "A");
  parent.LeftClick(0.25f, 0.25f);
  parent.LeftClick(0.25f, 0.25f);
  selector->GetText(text);
  EXPECT_STREQ(text.c_str(), "C");
  EXPECT_TRUE(notes.empty());

  selector->SetCurrSelection(BrStringT<char>("B"));
  selector->GetText(text);
  EXPECT_STREQ(text.c_str(), "B");
  selector->SetCurrSelection(BrStringT<char>("Z"));
  selector->GetText(text);
  EXPECT_STREQ(text.c_str(), "B");

  // Outside, or inactive: not taken, no change.
  EXPECT_FALSE(selector->LeftClick(0.25f, 0.01f));
  selector->SetActive(false);
  EXPECT_FALSE(selector->LeftClick(0.25f, 0.25f));
  selector->GetText(text);
  EXPECT_STREQ(text.c_str(), "B");
}

TEST_F(WidgetTest, RightJustifiedSelectorKeepsItsRightEdgeAcrossClicks) {
  PointedSelector selector;
  selector.Init();
  selector.AddSelection(BrStringT<char>("Windowed"));
  selector.AddSelection(BrStringT<char>("On"));
  selector.SetArea(0.2f, 0.4f, 0.0f, 0.0f);
  selector.RightJustify(0.8f);
  const float narrow = selector.GetWidth();
  const float y = selector.GetPosY() + selector.GetHeight() / 2.0f;
  EXPECT_TRUE(selector.LeftClick(0.79f, y));
  EXPECT_NEAR(selector.GetPosX() + selector.GetWidth(), 0.8f, 1e-5f);
  EXPECT_GT(selector.GetWidth(), narrow);

  // A selector always shows its highlight, even in a colour with a channel of 64.
  selector.SetRolloverTextColour(BrARGB(255, 64, 64, 64));
  selector.SetRollover(true);
  selector.Draw(dev);
  ASSERT_EQ(dev->texts.size(), 2u);
  EXPECT_EQ(dev->texts[0].text, "Windowed");
}

TEST_F(WidgetTest, SelectorWithoutEntriesDrawsNothing) {
  BrUISelector selector;
  selector.Init();
  selector.Draw(dev);
  EXPECT_TRUE(dev->texts.empty());
  EXPECT_TRUE(dev->sprites.empty());
}
