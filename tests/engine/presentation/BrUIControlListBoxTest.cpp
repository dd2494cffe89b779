// BrUIControlListBox: scroll buttons, scrolling limits, row selection, refills and the selection bar.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "engine/presentation/BrFontMgr.h"
#include "engine/presentation/BrUIControlListBox.h"
#include "tests/engine/presentation/WidgetTestKit.h"

using brwidgettest::EffectorName;
using brwidgettest::NotingControl;
using brwidgettest::WidgetTest;
using Notes = std::vector<std::string>;

namespace {

void Fill(BrUIControlListBox& box, int n, const char* prefix = "save") {
  box.ClearList();
  for (int i = 0; i < n; ++i) box.AddListItem(BrStringT<char>((prefix + std::to_string(i)).c_str()));
}

// A list box hung under a noting parent, covering (0, 0) to (1, 1): rows of 0.07 from y = 0.2 to 0.9.
struct Rig {
  Notes notes;
  NotingControl parent{"menu", &notes, true};
  BrUIControlListBox* box;
  Rig() {
    parent.SetArea(0, 0, 1, 1);
    box = new BrUIControlListBox();
    box->Init();
    box->SetID(BrStringT<char>("files"));
    box->SetArea(0.0f, 0.0f, 1.0f, 1.0f);
    parent.AddChildControl(box);
  }
};

}  // namespace

TEST_F(WidgetTest, ListBoxMakesScrollButtonsOnlyOnceItOutgrowsItsRows) {
  Rig rig;
  Fill(*rig.box, 10);
  EXPECT_EQ(rig.box->GetNumChildControls(), 0);
  rig.box->AddListItem(BrStringT<char>("eleventh"));
  ASSERT_EQ(rig.box->GetNumChildControls(), 2);
  BrUIControl* up = rig.box->GetControl(BrStringT<char>("ControlScrollUp"), false);
  BrUIControl* down = rig.box->GetControl(BrStringT<char>("ControlScrollDown"), false);
  ASSERT_NE(up, nullptr);
  ASSERT_NE(down, nullptr);
  EXPECT_TRUE(up->IsActive());
  // Square on screen: height = width x aspect (800 / 600), centred, near the top and bottom.
  EXPECT_FLOAT_EQ(up->GetWidth(), 0.05f);
  EXPECT_NEAR(up->GetHeight(), 0.05f * 800.0f / 600.0f, 1e-5f);
  EXPECT_NEAR(up->GetPosX(), 0.475f, 1e-5f);
  EXPECT_NEAR(up->GetPosY(), 0.02f, 1e-5f);
  EXPECT_NEAR(down->GetPosY(), 0.95f, 1e-5f);
  EXPECT_EQ(EffectorName(dev, up->GetEffector()), "ShaderControlTextures\\ui\\menus\\listboxup.tga");

  // Further items reuse the buttons and move them with the box.
  rig.box->SetArea(0.2f, 0.0f, 0.5f, 1.0f);
  rig.box->AddListItem(BrStringT<char>("twelfth"));
  EXPECT_EQ(rig.box->GetNumChildControls(), 2);
  EXPECT_NEAR(up->GetPosX(), 0.2f + 0.25f - 0.0125f, 1e-5f);
}

TEST_F(WidgetTest, ListBoxScrollsWithinItsItemsAndPassesTheLastDownClickOn) {
  Rig rig;
  Fill(*rig.box, 15);
  const BrStringT<char> down("ControlScrollDown");
  const BrStringT<char> up("ControlScrollUp");
  EXPECT_TRUE(rig.box->ControlLeftClicked(up));  // at the top: nothing moves, still taken
  EXPECT_EQ(rig.box->GetFirstVisible(), 0);
  for (int i = 0; i < 5; ++i) EXPECT_TRUE(rig.box->ControlLeftClicked(down));
  EXPECT_EQ(rig.box->GetFirstVisible(), 5);
  EXPECT_TRUE(rig.notes.empty());
  rig.box->ControlLeftClicked(down);
  EXPECT_EQ(rig.box->GetFirstVisible(), 5);
  ASSERT_EQ(rig.notes.size(), 1u);
  EXPECT_EQ(rig.notes[0], "left ControlScrollDown");
  EXPECT_TRUE(rig.box->ControlLeftClicked(up));
  EXPECT_EQ(rig.box->GetFirstVisible(), 4);

  // Through a click on the down button itself.
  BrUIControl* button = rig.box->GetControl(down, false);
  ASSERT_NE(button, nullptr);
  EXPECT_TRUE(rig.box->LeftClick(button->GetPosX() + 0.01f, button->GetPosY() + 0.01f));
  EXPECT_EQ(rig.box->GetFirstVisible(), 5);
}

TEST(BrUIControlListBox, AClickSelectsTheRowAtItsHeight) {
  Rig rig;
  Fill(*rig.box, 3);
  // The box reports its own id to the parent, which here declines the click.
  rig.parent.m_bAnswer = false;
  // Row 1 spans 0.27 to 0.34; x plays no part.
  EXPECT_FALSE(rig.box->LeftClick(0.0f, 0.3f));
  EXPECT_EQ(rig.box->GetSelected(), 1);
  EXPECT_STREQ(rig.box->GetCurrentItemText().c_str(), "save1");
  // Just above the band: no selection.
  rig.box->LeftClick(0.5f, 0.19f);
  EXPECT_EQ(rig.box->GetSelected(), -1);
  EXPECT_EQ(rig.box->GetCurrentItemText().Length(), 0);
  // An empty row: a selection past the last item, which names nothing.
  rig.box->LeftClick(0.5f, 0.8f);
  EXPECT_EQ(rig.box->GetSelected(), 8);
  EXPECT_EQ(rig.box->GetCurrentItemText().Length(), 0);

  // When the parent takes the box's own click, the selection is left alone.
  rig.box->LeftClick(0.5f, 0.3f);
  rig.parent.m_bAnswer = true;
  EXPECT_TRUE(rig.box->LeftClick(0.5f, 0.5f));
  EXPECT_EQ(rig.box->GetSelected(), 1);

  // A click beside the box (every control may be offered every click) leaves the selection alone, whether at
  // the height of a row or above the rows.
  rig.parent.m_bAnswer = false;
  rig.box->SetArea(0.0f, 0.0f, 0.5f, 1.0f);
  rig.box->LeftClick(0.25f, 0.37f);
  EXPECT_EQ(rig.box->GetSelected(), 2);
  EXPECT_FALSE(rig.box->LeftClick(0.75f, 0.3f));
  EXPECT_EQ(rig.box->GetSelected(), 2);
  rig.box->LeftClick(0.75f, 0.1f);
  EXPECT_EQ(rig.box->GetSelected(), 2);
}

TEST(BrUIControlListBox, RefillingTheSameListKeepsTheSelectionAndADifferentOneDropsIt) {
  Rig rig;
  rig.parent.m_bAnswer = false;
  Fill(*rig.box, 4);
  rig.box->LeftClick(0.5f, 0.3f);
  ASSERT_EQ(rig.box->GetSelected(), 1);

  Fill(*rig.box, 4);
  EXPECT_EQ(rig.box->GetSelected(), 1);
  EXPECT_STREQ(rig.box->GetCurrentItemText().c_str(), "save1");

  // Another folder's listing: the old index would name a file the player never chose.
  Fill(*rig.box, 4, "mod");
  EXPECT_EQ(rig.box->GetSelected(), -1);
  EXPECT_EQ(rig.box->GetCurrentItemText().Length(), 0);

  rig.box->LeftClick(0.5f, 0.3f);
  rig.box->ClearList();
  EXPECT_EQ(rig.box->GetNumItems(), 0);
  EXPECT_EQ(rig.box->GetSelected(), 1);
  EXPECT_EQ(rig.box->GetCurrentItemText().Length(), 0);

  // A row clicked while the list was empty chose nothing; the listing coming back does not make it a choice.
  rig.box->LeftClick(0.5f, 0.3f);
  ASSERT_EQ(rig.box->GetSelected(), 1);
  Fill(*rig.box, 4, "mod");
  EXPECT_EQ(rig.box->GetSelected(), -1);
  EXPECT_EQ(rig.box->GetCurrentItemText().Length(), 0);
}

TEST_F(WidgetTest, ListBoxDrawsNoSelectionBarUntilItHasATexture) {
  Rig rig;
  rig.parent.m_bAnswer = false;
  Fill(*rig.box, 3);
  rig.box->LeftClick(0.5f, 0.3f);
  EXPECT_EQ(rig.box->GetSelectEffector(), -1);
  rig.box->Draw(dev);
  for (const auto& s : dev->sprites) EXPECT_NE(s.effector, (unsigned)-1);
  ASSERT_EQ(dev->texts.size(), 3u);
  EXPECT_EQ(dev->texts[1].text, "> save1 <");
  EXPECT_EQ(dev->texts[0].text, "save0");
  EXPECT_EQ(dev->texts[0].flags, eFontFormatCentre);
  EXPECT_FLOAT_EQ(dev->texts[0].x, 0.5f);
  EXPECT_NEAR(dev->texts[0].y, 0.205f, 1e-5f);

  rig.box->SetSelectTexture(BrStringT<char>("Textures\\ui\\menus\\listboxselect.tga"));
  const int bar = rig.box->GetSelectEffector();
  EXPECT_EQ(EffectorName(dev, bar), "ShaderListBoxSelect");
  // A copy of "Shader2d" showing the file, with the copy's own pass flags.
  RecordingEffector* barFX = dev->Effectors()->At((unsigned)bar);
  ASSERT_NE(barFX, nullptr);
  ASSERT_FALSE(barFX->passes.empty());
  ASSERT_GT(barFX->passes[0].m_iTexture, 0);
  EXPECT_EQ(dev->Textures()->statics.at((size_t)barFX->passes[0].m_iTexture), "Textures\\ui\\menus\\listboxselect.tga");
  EXPECT_EQ(barFX->passes[0].m_uiFlags, 0u);
  dev->ClearRecords();
  rig.box->Draw(dev);
  std::vector<RecordingRenderDevice::Sprite> bars;
  for (const auto& s : dev->sprites)
    if (s.effector == (unsigned)bar) bars.push_back(s);
  ASSERT_EQ(bars.size(), 1u);
  EXPECT_NEAR(bars[0].x, 0.1f, 1e-5f);
  EXPECT_NEAR(bars[0].y, 0.2f + 0.07f, 1e-5f);
  EXPECT_NEAR(bars[0].w, 0.8f, 1e-5f);
  EXPECT_NEAR(bars[0].h, 0.07f, 1e-5f);

  // The shared bar is made once: another box and another file reuse it.
  BrUIControlListBox other;
  other.SetSelectTexture(BrStringT<char>("Textures\\other.tga"));
  EXPECT_EQ(other.GetSelectEffector(), bar);
}

TEST_F(WidgetTest, ListBoxLeavesTheFontManagerAsItFoundIt) {
  Rig rig;
  Fill(*rig.box, 12);
  rig.box->setTitle(BrStringT<char>("Load Game"));
  BrFontMgr* fonts = dev->FontMgr();
  fonts->SetFont(BrStringT<char>("Fonts\\fontVanilla.tga"));
  const int font = fonts->GetCurrFontID();
  const float size = fonts->GetSize();
  const float leading = fonts->GetLeading();
  rig.box->Draw(dev);
  EXPECT_EQ(fonts->GetCurrFontID(), font);
  EXPECT_FLOAT_EQ(fonts->GetSize(), size);
  EXPECT_FLOAT_EQ(fonts->GetLeading(), leading);
  // Ten rows and the title.
  ASSERT_EQ(dev->texts.size(), 11u);
  EXPECT_EQ(dev->texts.back().text, "Load Game");
}

TEST_F(WidgetTest, ListBoxKeepsNoSelectionBarWhoseShaderFailed) {
  dev->Effectors()->failingShaders.insert("Shader2d");
  const unsigned before = dev->Effectors()->Num();
  Rig rig;
  rig.box->SetSelectTexture(BrStringT<char>("bar.tga"));
  EXPECT_LE(rig.box->GetSelectEffector(), 0);
  EXPECT_EQ(dev->Effectors()->Num(), before);
  Fill(*rig.box, 2);
  rig.parent.m_bAnswer = false;
  rig.box->LeftClick(0.5f, 0.21f);
  ASSERT_EQ(rig.box->GetSelected(), 0);
  rig.box->Draw(dev);
  EXPECT_TRUE(dev->sprites.empty());
}
