// The end of a life as a player meets it in a running game: a monster of the content standing next to a wounded
// player until the blow falls, the death screen read, and its OK leading back to the main menu. Catches a death
// screen that cannot say what killed the player.
#include <gtest/gtest.h>

#include <string>

#include "engine/kernel/kernel.h"
#include "engine/presentation/BrGUI.h"
#include "engine/presentation/BrUIDialog.h"
#include "tests/play/PlayPack.h"
#include "tests/play/PlayRig.h"

using namespace brplay;

TEST(DeathScreen, NamesTheMonsterThatStruckTheLastBlow) {
  PlayTree tree;
  PlayHost host;
  // No hint may open over the fight: its dialog would stop the level before the blow.
  ASSERT_TRUE(StartAlone(tree, host, 4243)) << host.State();
  BrRAGMap* map = host.Map();
  BrDemoEntity* monster = map->SpawnScripted(BrStringT<char>("Skeleton"));
  ASSERT_NE(monster, nullptr);
  const std::string name = monster->GetText().c_str();
  BrVector at = host.Player()->Location();
  at.x += map->GridScale() * 0.5f;
  monster->Location() = at;
  map->AddObject(monster);
  host.Player()->SetHealth(1);

  BrGUI* gui = Engine().GUI();
  for (int frame = 0; frame < 30 * 60 && !gui->IsModal(); ++frame) host.Frame(1.0f / 30.0f, frame % 10 == 0);
  BrUIControl* modal = gui->GetModalControl();
  ASSERT_NE(modal, nullptr) << "the monster never killed the player";
  ASSERT_EQ(modal->GetID(), BrStringT<char>("dlg_gameover"));
  const std::string text = static_cast<BrUIDialog*>(modal)->GetDialogText().c_str();
  EXPECT_NE(text.find("You were killed by\n    " + name), std::string::npos) << text;

  // The dialog lays out its button when it is first drawn.
  host.Frame();
  ASSERT_TRUE(host.ClickControl("AcceptGameOver"));
  EXPECT_TRUE(host.RunUntilState("BrRAGGameStateMainMenu", 2.0f)) << host.State();
  host.Leave();
  EXPECT_EQ(tree.Find("ERROR"), -1) << tree.Log()[size_t(std::max(0, tree.Find("ERROR")))];
}
