// Eating and refuelling as a player does it in a running game: food and oil found by walking onto them, used by a
// click on their inventory cell and by a number key bound to them with Shift and a click, and an hour of play in
// which a player who refuels whenever the low-oil warning shows keeps the lantern burning. Catches food or oil the
// player carries but cannot use (the lantern then runs dry about half an hour in), a quick slot that does not reach
// its item, and a refuel that does not fill the lantern by the flask's amount.
#include <gtest/gtest.h>

#include <algorithm>
#include <chrono>
#include <cmath>
#include <cstdio>
#include <vector>

#include "adventure/flow/BrRAGPlayerHUD.h"
#include "adventure/world/BrRAGInventory.h"
#include "adventure/world/BrRAGItem.h"
#include "engine/kernel/kernel.h"
#include "engine/presentation/BrGUI.h"
#include "engine/presentation/BrRenderBase.h"
#include "platform/win32/win32.h"
#include "tests/play/PlayPack.h"
#include "tests/play/PlayRig.h"
#include "tests/play/PlayScript.h"

using namespace brplay;

namespace {

const float kStep = 1.0f / 30.0f;
// Below this the HUD warns of low oil; the scripted player refuels then.
const float kLowOil = 20.0f;

// A new game of medium difficulty from the main menu's Play button and the difficulty dialog.
void NewGame(PlayHost& host) {
  ASSERT_TRUE(host.RunUntilState("BrRAGGameStateMainMenu", 2.0f)) << host.State();
  host.Frame();
  ASSERT_TRUE(host.ClickControl("MMenuPlayGameBtn"));
  host.Frame();
  ASSERT_TRUE(host.ClickControl("NewGameMedium"));
  ASSERT_TRUE(host.RunUntilState("BrRAGGameStatePlaying", 5.0f)) << host.State();
  host.Run(0.5f, 4);
  ASSERT_NE(host.Player(), nullptr);
  ASSERT_EQ(host.Game()->getDifficulty(), 1);
}

// Frames without drawing (every 30th is drawn) until the oil falls below the mark or the time is up.
float BurnUntilBelow(PlayScript& script, PlayHost& host, float mark, float seconds) {
  for (float t = 0.0f; t < seconds; t += kStep) {
    BrRAGPlayer* player = host.Player();
    if (!player || player->GetOilRemaining() < mark) break;
    script.Tick(int(t / kStep) % 30 == 0);
  }
  return host.Player() ? host.Player()->GetOilRemaining() : -1.0f;
}

// The centre of a floor cell at least cells away from the player and two from the staircase; n picks among them.
BrVector FloorAway(PlayHost& host, int cells, int n) {
  BrRAGMap* map = host.Map();
  const float grid = map->GridScale();
  const BrVector player = host.Player()->Location();
  BrVector stairs(1e9f, 0.0f, 1e9f);
  const dtiClass staircase("Staircase", nullptr);
  for (int id = 0; id < map->NumObjects(); ++id) {
    BrGameObj* object = map->GetObjectA(id);
    if (object->IsValid() && object->IsA(staircase)) stairs = static_cast<BrDemoEntity*>(object)->Location();
  }
  std::vector<BrVector> floor;
  for (int y = 0; y < map->GridHeight(); ++y)
    for (int x = 0; x < map->GridWidth(); ++x) {
      BrVector centre;
      if (!map->CellCentre(x, y, &centre) || map->IsExitHole(x, y)) continue;
      // The player walks straight at what it heads for: the flask lies in view, near enough for the time a find
      // allows on the larger levels.
      const float away = std::hypot(centre.x - player.x, centre.z - player.z);
      if (away < float(cells) * grid || away > float(cells + 6) * grid) continue;
      BrVector from = player, to = centre;
      if (!map->CellTrace(&from, &to)) continue;
      if (std::hypot(centre.x - stairs.x, centre.z - stairs.z) < 2.0f * grid) continue;
      floor.push_back(centre);
    }
  if (floor.empty()) return player;
  return floor[size_t(n * 7919) % floor.size()];
}

BrRAGPlayerHUD* PlayerHUD(PlayHost& host) {
  BrRAGPlayer* player = host.Player();
  BrHUD* hud = player ? player->GetHUD() : nullptr;
  return hud ? static_cast<BrRAGPlayerHUD*>(hud->SafeCast(&BrRAGPlayerHUD::Type)) : nullptr;
}

class FoodAndFuel : public testing::Test {
protected:
  void SetUp() override {
    m_Tree.SetConfig("ShowIntro", "0");
    ASSERT_TRUE(m_Host.Start(20261));
    NewGame(m_Host);
    if (HasFatalFailure()) return;
    PutAwayMonsters(m_Host);
  }
  void TearDown() override {
    m_Host.Leave();
    EXPECT_EQ(m_Tree.LastLine(), "Exit granted");
    EXPECT_EQ(m_Tree.Find("ERROR"), -1) << m_Tree.Log()[size_t(std::max(0, m_Tree.Find("ERROR")))];
  }

  PlayTree m_Tree;
  PlayHost m_Host;
  PlayScript m_Script{m_Host};
  PlayPack m_Pack{m_Host, m_Script};
};

}  // namespace

TEST_F(FoodAndFuel, RefuelAndMealByClickingTheCellAndByAQuickSlot) {
  EXPECT_TRUE(m_Script.WalkByClicking()) << m_Script.Why();

  // The lantern burns down at full power until the warning shows, then a flask is clicked in the pack.
  m_Host.HoldKey('W', 30);
  const int flaskSlot = m_Pack.Find("PickupFlaskOfOil", "FlaskOfOil");
  ASSERT_GE(flaskSlot, 0) << m_Pack.Why();
  const int flasks = m_Pack.Count("FlaskOfOil");
  const int restore = RestoreNoted(m_Pack.HoverText(flaskSlot));
  ASSERT_GT(restore, 0) << m_Pack.HoverText(flaskSlot);
  float low = BurnUntilBelow(m_Script, m_Host, kLowOil, 400.0f);
  ASSERT_LT(low, kLowOil);
  ASSERT_GT(low, 0.0f);
  ASSERT_TRUE(m_Pack.ClickCell(m_Pack.SlotOf("FlaskOfOil"))) << m_Pack.Why();
  EXPECT_NEAR(m_Host.Player()->GetOilRemaining(), low + float(restore), 0.5f) << "the click did not refuel";
  EXPECT_EQ(m_Pack.Count("FlaskOfOil"), flasks - 1);

  // Two flasks more, bound to the key 3 with Shift and a click; each press of 3 burns one.
  ASSERT_GE(m_Pack.Find("PickupFlaskOfOil", "FlaskOfOil"), 0) << m_Pack.Why();
  ASSERT_GE(m_Pack.Find("PickupFlaskOfOil", "FlaskOfOil"), 0) << m_Pack.Why();
  const int stacked = m_Pack.Count("FlaskOfOil");
  ASSERT_GE(stacked, 2);
  ASSERT_TRUE(m_Pack.BindQuickSlot(m_Pack.SlotOf("FlaskOfOil"), '3')) << m_Pack.Why();
  ASSERT_NE(PlayerHUD(m_Host), nullptr);
  EXPECT_EQ(PlayerHUD(m_Host)->GetQuickSlot(3), BrStringT<char>("FlaskOfOil"));
  EXPECT_EQ(m_Pack.Count("FlaskOfOil"), stacked) << "binding a key used the flask";
  low = BurnUntilBelow(m_Script, m_Host, kLowOil, 400.0f);
  ASSERT_LT(low, kLowOil);
  m_Pack.PressKey('3');
  EXPECT_NEAR(m_Host.Player()->GetOilRemaining(), low + float(restore), 0.5f) << "the quick slot did not refuel";
  EXPECT_EQ(m_Pack.Count("FlaskOfOil"), stacked - 1);
  // A full lantern takes what fits; the flask is spent all the same.
  m_Pack.PressKey('3');
  EXPECT_NEAR(m_Host.Player()->GetOilRemaining(), std::min(100.0f, low + 2.0f * float(restore)), 1.0f);
  EXPECT_EQ(m_Pack.Count("FlaskOfOil"), stacked - 2);

  // A meal: bread clicked in the pack, then roast meat from the key 5, each healing by the amount its text names.
  const int breadSlot = m_Pack.Find("PickupBread", "Bread");
  ASSERT_GE(breadSlot, 0) << m_Pack.Why();
  const int bread = RestoreNoted(m_Pack.HoverText(breadSlot));
  ASSERT_GT(bread, 0);
  BrRAGPlayer* player = m_Host.Player();
  player->SetHealth(player->GetMaxHealth() / 4);  // a wound, as a fight leaves one
  int before = player->GetHealth();
  ASSERT_TRUE(m_Pack.ClickCell(breadSlot)) << m_Pack.Why();
  EXPECT_EQ(m_Host.Player()->GetHealth(), before + bread) << "the bread did not heal";
  EXPECT_EQ(m_Pack.Count("Bread"), 0);
  EXPECT_EQ(m_Pack.CellOf(breadSlot), nullptr) << "the eaten bread's cell still shows the slot";

  const int meatSlot = m_Pack.Find("PickupMeat", "Meat");
  ASSERT_GE(meatSlot, 0) << m_Pack.Why();
  const int meat = RestoreNoted(m_Pack.HoverText(meatSlot));
  ASSERT_TRUE(m_Pack.BindQuickSlot(meatSlot, '5')) << m_Pack.Why();
  before = m_Host.Player()->GetHealth();
  m_Pack.PressKey('5');
  EXPECT_EQ(m_Host.Player()->GetHealth(), std::min(m_Host.Player()->GetMaxHealth(), before + meat))
      << "the quick slot did not feed";
  EXPECT_EQ(m_Pack.Count("Meat"), 0);
  // The key of an eaten-up item does nothing more.
  before = m_Host.Player()->GetHealth();
  m_Pack.PressKey('5');
  EXPECT_EQ(m_Host.Player()->GetHealth(), before);
  EXPECT_FALSE(m_Host.Player()->IsDead());
}

// The hour the issue asks for: simulated time at a fixed step, one level, no fights. Whenever the HUD's low-oil
// warning would show, the player refuels, by a click on the flask's cell and by its quick slot in turn; when the
// pack runs out of flasks the next one is found on the floor. The lantern must never run dry.
TEST_F(FoodAndFuel, AnHourOfPlayRefuellingWhenLowNeverEmptiesTheLantern) {
  const auto started = std::chrono::steady_clock::now();
  ASSERT_GE(m_Pack.Find("PickupFlaskOfOil", "FlaskOfOil"), 0) << m_Pack.Why();
  ASSERT_TRUE(m_Pack.BindQuickSlot(m_Pack.SlotOf("FlaskOfOil"), '1')) << m_Pack.Why();
  const float startTime = m_Host.Player()->GetTimeSinceWorldStart();
  float lowest = 100.0f;
  int byClick = 0, byKey = 0, found = 0, walks = 0, declined = 0;
  int frame = 0;
  float walked = 0.0f;
  BrVector last = m_Host.Player()->Location();
  BrRenderBase* render = Engine().Render();
  ASSERT_NE(render, nullptr);
  // The hour is counted in the player's own time; the frame count only guards against a game that stopped.
  for (;; ++frame) {
    ASSERT_LT(frame, 30 * 3600 * 2) << "the game stopped stepping in state " << m_Host.State();
    BrRAGPlayer* player = m_Host.Player();
    ASSERT_NE(player, nullptr);
    ASSERT_FALSE(player->IsDead()) << "the player died after " << player->GetTimeSinceWorldStart() - startTime << " s";
    const float played = player->GetTimeSinceWorldStart() - startTime;
    if (played >= 3600.0f) break;
    const float oil = player->GetOilRemaining();
    walked += std::hypot(player->Location().x - last.x, player->Location().z - last.z);
    last = player->Location();
    lowest = std::min(lowest, oil);
    if (oil < kLowOil) {
      // Two in the pack are kept; a missing one is found first.
      while (m_Pack.Count("FlaskOfOil") < 2) {
        const BrVector where = FloorAway(m_Host, 3, found);
        ASSERT_GE(m_Pack.Find("PickupFlaskOfOil", "FlaskOfOil", &where, 60.0f), 0) << m_Pack.Why();
        ++found;
      }
      const int flasks = m_Pack.Count("FlaskOfOil");
      const float before = m_Host.Player()->GetOilRemaining();
      if ((byClick + byKey) % 2 == 0) {
        ASSERT_TRUE(m_Pack.ClickCell(m_Pack.SlotOf("FlaskOfOil"))) << m_Pack.Why();
        ++byClick;
      } else {
        m_Pack.PressKey('1');
        ++byKey;
      }
      ASSERT_EQ(m_Pack.Count("FlaskOfOil"), flasks - 1) << "no flask was used after " << played << " s";
      ASSERT_GT(m_Host.Player()->GetOilRemaining(), before + 20.0f) << "the lantern was not filled";
      continue;
    }
    if (frame % (30 * 90) == 0) {
      // Now and then a walk across the floor, clicked as a player clicks: the first of a few directions that
      // leads somewhere.
      for (int tries = 0; tries < 4; ++tries) {
        const BrVector from = m_Host.Player()->Location();
        const int dx[] = {60, -60, 120, -120, 0, 0}, dy[] = {40, 40, -40, -40, 80, -80};
        const int pick = (walks + tries) % 6;
        m_Host.ClickAt(int(render->GetWidth()) / 2 + dx[pick], int(render->GetHeight()) / 2 + dy[pick]);
        for (int i = 0; i < 30; ++i) m_Script.Tick(i < 2);
        if (std::hypot(m_Host.Player()->Location().x - from.x, m_Host.Player()->Location().z - from.z) > 1.0f) break;
      }
      ++walks;
    }
    // A walk that ended on the staircase asks to go down: this player stays on the level.
    BrUIControl* modal = Engine().GUI()->GetModalControl();
    if (modal && modal->GetID() == BrStringT<char>("dlg_staircase")) {
      m_Host.Frame();
      ASSERT_TRUE(m_Host.ClickControl("CancelModal"));
      ++declined;
    }
    m_Script.Tick(frame % 300 == 0);
  }
  const double wall = std::chrono::duration<double>(std::chrono::steady_clock::now() - started).count();
  EXPECT_GT(lowest, 0.0f);
  EXPECT_LT(lowest, kLowOil) << "the lantern was never low: the hour tested nothing";
  // At the lantern's middle setting an hour burns some 800 units of oil: sixteen flasks or so.
  EXPECT_GE(byClick + byKey, 12);
  EXPECT_GE(byClick, 5);
  EXPECT_GE(byKey, 5);
  EXPECT_GT(found, 0);
  EXPECT_GT(walked, 10.0f * m_Host.Map()->GridScale()) << "the player stood still all hour";
  std::printf(
      "an hour of play: %d refuels by click, %d by key, %d flasks found, lowest oil %.2f, %.0f cells walked, "
      "%d stairs declined, %.1f s of wall time\n",
      byClick, byKey, found, lowest, double(walked / m_Host.Map()->GridScale()), declined, wall);
}
