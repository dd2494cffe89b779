// The player's HUD as the frame draws it through the real application and widget manager: each message once a
// frame, in a new game and in one loaded from the load menu (whose earlier player left a HUD behind), nothing of
// it on the main menu, and the charge count of an inventory cell in its blue.
#include <gtest/gtest.h>

#include <cmath>
#include <fstream>
#include <string>

#include "adventure/flow/BrRAGInvItemCtrl.h"
#include "adventure/flow/BrRAGPlayerHUD.h"
#include "adventure/world/BrRAGPlayer.h"
#include "engine/presentation/BrGUI.h"
#include "engine/presentation/BrUIControlListBox.h"
#include "tests/adventure/flow/FlowPlaySupport.h"

using namespace ragflow;

namespace {

std::vector<RecordingRenderDevice::Text> TextsOf(Play& p, const std::string& text) {
  std::vector<RecordingRenderDevice::Text> out;
  for (const auto& t : p.run.render.texts)
    if (t.text == text) out.push_back(t);
  return out;
}

// One frame; the device keeps what it drew.
void RecordFrame(Play& p) { p.run.Frame(0.05f); }

// A click on the centre of the widget, through the widget manager as the controller sends it.
bool Click(const char* id) {
  BrUIControl* control = Engine().GUI()->GetControl(id, true);
  if (!control) return false;
  return Engine().GUI()->LeftClick(control->GetPosX() + control->GetWidth() / 2.0f,
                                   control->GetPosY() + control->GetHeight() / 2.0f);
}

BrRAGPlayerHUD* HUDOf(BrRAGPlayer* player) {
  return player ? static_cast<BrRAGPlayerHUD*>(player->GetHUD()->SafeCast(&BrRAGPlayerHUD::Type)) : nullptr;
}

// The standing low-oil warning and a map message, each to be drawn once and apart.
void ExpectEachMessageOnce(Play& p, const char* when) {
  BrRAGPlayer* player = p.Player();
  ASSERT_NE(player, nullptr) << when;
  player->AddOil(10.0f - player->GetOilRemaining());
  BrRAGPlayerMsg done;
  done.mText = "!!! MAP COMPLETE !!!";
  done.mfDisplayTime = 5.0f;
  HUDOf(player)->AddMessage(done);
  p.run.Frame(0.05f);  // the warning joins the messages while the lantern cell is drawn
  RecordFrame(p);
  const auto warnings = TextsOf(p, "!!! LOW OIL WARNING !!!");
  const auto completes = TextsOf(p, "!!! MAP COMPLETE !!!");
  ASSERT_EQ(warnings.size(), 1u) << when;
  ASSERT_EQ(completes.size(), 1u) << when;
  EXPECT_NE(warnings[0].y, completes[0].y) << when;
}

}  // namespace

TEST(RAGPlayerHUDOnce, EachMessageIsDrawnOnceInANewGameAndInALoadedOneAndNoneOnTheMenu) {
  Play p;
  p.NewGame("NewGameEasy");
  ASSERT_EQ(p.run.StateName(), "BrRAGGameStatePlaying");
  ExpectEachMessageOnce(p, "new game");
  int rankLines = 0;
  for (const auto& t : p.run.render.texts) rankLines += t.text.find("Novice") != std::string::npos ? 1 : 0;
  EXPECT_EQ(rankLines, 1);
  ASSERT_TRUE(p.game->SaveGame("Saves\\once.gin"));

  // Back to the menu and the save loaded from the load menu: the map read from it brings its own player.
  ASSERT_TRUE(p.run.RAGHUD()->ControlLeftClicked("ExitIngame"));
  ASSERT_EQ(p.run.StateName(), "BrRAGGameStateMainMenu");
  RecordFrame(p);
  EXPECT_TRUE(TextsOf(p, "!!! LOW OIL WARNING !!!").empty());
  RAGFlowPlayMap::spawnHero = false;
  ASSERT_TRUE(Click("MMenuLoadGameBtn"));
  p.run.Frame(0.05f);
  auto* list = static_cast<BrUIControlListBox*>(Engine().GUI()->GetControl("LoadGameListBox", true));
  ASSERT_NE(list, nullptr);
  list->ClearList();
  list->AddListItem("once.gin");
  for (float y = list->GetPosY(); list->GetCurrentItemText().Length() == 0 && y < list->GetPosY() + list->GetHeight();
       y += 0.002f)
    Engine().GUI()->LeftClick(list->GetPosX() + list->GetWidth() / 2.0f, y);
  ASSERT_EQ(list->GetCurrentItemText(), BrStringT<char>("once.gin"));
  Click("LoadLoadBtn");
  ASSERT_TRUE(p.run.RunUntil("BrRAGGameStatePlaying", 5.0f)) << p.run.StateName();
  ExpectEachMessageOnce(p, "loaded game");

  // Quit again: the main menu shows none of it.
  ASSERT_TRUE(p.run.RAGHUD()->ControlLeftClicked("ExitIngame"));
  ASSERT_EQ(p.run.StateName(), "BrRAGGameStateMainMenu");
  RecordFrame(p);
  EXPECT_TRUE(TextsOf(p, "!!! LOW OIL WARNING !!!").empty());
  EXPECT_TRUE(TextsOf(p, "!!! MAP COMPLETE !!!").empty());
  rankLines = 0;
  for (const auto& t : p.run.render.texts) rankLines += t.text.find("Novice") != std::string::npos ? 1 : 0;
  EXPECT_EQ(rankLines, 0);
}

TEST(RAGPlayerHUDOnce, AChargeCountIsDrawnInItsBlue) {
  Play p;
  std::ofstream(p.run.root / "Media" / "play.cfg", std::ios::app)
      << "\n[Flask]\nType=BrRAGItem\nCharges=3\nHUDIcon=Textures\\icons\\flask.tga\n";
  p.NewGame("NewGameEasy");
  BrRAGPlayer* player = p.Player();
  ASSERT_NE(player, nullptr);
  BrDemoEntity* flask = p.Map()->Place("Flask", 0.0f, 0.0f);
  ASSERT_NE(flask, nullptr);
  flask->SetDrawnByMap(false);
  ASSERT_GE(player->AddToInventory(flask->GetID()), 0);
  BrUIControl* panel = Engine().GUI()->GetControl("ingame_playerhud", true);
  ASSERT_NE(panel, nullptr);
  BrRAGInvItemCtrl* cell = nullptr;
  for (int i = 0; i < panel->GetNumChildControls() && !cell; ++i) {
    auto* c = static_cast<BrRAGInvItemCtrl*>(panel->GetChildControl(i)->SafeCast(&BrRAGInvItemCtrl::Type));
    if (c && c->GetInvItemType() == BrStringT<char>("Flask")) cell = c;
  }
  ASSERT_NE(cell, nullptr);
  RecordFrame(p);
  int counts = 0;
  for (const auto& t : TextsOf(p, "3")) {
    if (std::abs(t.x - (cell->GetPosX() + 0.05f * cell->GetWidth())) > 1e-4f) continue;
    ++counts;
    EXPECT_EQ(t.colour.GetDWORD(), BrARGB(255, 75, 75, 255).GetDWORD());
  }
  EXPECT_EQ(counts, 1);
}
