// Content a modder wrote with numbers no level can hold (a speed or size of 1e30, "nan", "inf", a health past
// the int range): the game is played on it from the main menu, and the game it saves loads back through the
// load menu, instead of every save of the level being refused; each value not used is named once.
#include <gtest/gtest.h>

#include <climits>
#include <cmath>
#include <fstream>
#include <sstream>

#include "adventure/world/BrRAGActor.h"
#include "engine/kernel/BrActor.h"
#include "tests/play/PlayRig.h"

using namespace brplay;

namespace {

// Puts "key=value" in place of the key's line in [section] of a configuration file of the tree.
void SetContent(PlayTree& tree, const std::string& file, const std::string& section, const std::string& key,
                const std::string& value) {
  const fs::path path = tree.Media() / "Config" / file;
  std::ifstream in(path);
  std::ostringstream out;
  std::string line, current;
  int replaced = 0;
  while (std::getline(in, line)) {
    if (!line.empty() && line[0] == '[') current = line.substr(1, line.find(']') - 1);
    if (current == section && line.rfind(key + "=", 0) == 0) {
      line = key + "=" + value;
      ++replaced;
    }
    out << line << "\n";
  }
  in.close();
  ASSERT_EQ(replaced, 1) << file << " [" << section << "] " << key;
  std::ofstream(path, std::ios::trunc) << out.str();
}

}  // namespace

TEST(ContentNumbers, NumbersNoLevelCanHoldAreNotUsedAndTheGameSavedOnThemLoads) {
  PlayTree tree;
  tree.SetConfig("ShowIntro", "0");
  tree.CopyLinked("Media/Config");
  SetContent(tree, "core.cfg", "Zivede", "Speed", "1e30");
  SetContent(tree, "core.cfg", "Zivede", "Size", "nan");
  SetContent(tree, "enemies.cfg", "Rat", "Size", "99999999");
  SetContent(tree, "enemies.cfg", "Rat", "Health", "1e30");
  SetContent(tree, "dungeons.cfg", "Level01", "WallHeight", "inf");

  PlayHost host;
  ASSERT_TRUE(host.Start(7));
  ASSERT_TRUE(host.RunUntilState("BrRAGGameStateMainMenu", 2.0f));
  host.Run(0.5f);
  ASSERT_TRUE(NewGameFromMenu(host)) << host.State();
  host.Run(1.0f, 4);
  ASSERT_NE(host.Player(), nullptr);
  ASSERT_EQ(host.Map()->GetLevel(), 1u);

  // The player keeps the speed and size it has without the keys.
  EXPECT_EQ(host.Player()->GetGroundSpeed(), 200.0f);
  EXPECT_EQ(host.Player()->GetDrawScale().x, 64.0f);
  // The rats are as large as they would be without the key, and a health past the int range is the most an int
  // holds, not the int's least (a rat that is dead before any blow).
  const std::vector<BrRAGActor*> rats = ActorsNamed(host, "Rat");
  ASSERT_FALSE(rats.empty());
  for (BrRAGActor* rat : rats) {
    EXPECT_LT(rat->GetDrawScale().x, 100.0f);
    EXPECT_EQ(rat->GetMaxHealth(), INT_MAX);
    EXPECT_GT(rat->GetHealth(), 0);
  }

  // Saved on this level and loaded as the load menu loads it.
  ASSERT_TRUE(host.Game()->SaveGame("Saves\\modded.gin"));
  ASSERT_TRUE(LoadAsTheMenuDoes(host, "modded.gin"));
  EXPECT_TRUE(host.RunUntilState("BrRAGGameStatePlaying", 5.0f)) << host.State();
  host.Run(1.0f, 4);  // the level is dug again from its seed, its rats with it
  ASSERT_NE(host.Player(), nullptr);
  EXPECT_EQ(host.Map()->GetLevel(), 1u);
  EXPECT_EQ(host.Player()->GetGroundSpeed(), 200.0f);
  EXPECT_FALSE(ActorsNamed(host, "Rat").empty());
  host.Leave();

  // Each value not used is named once, however many rats were spawned from its section.
  EXPECT_EQ(tree.Count("ERROR: [Zivede] Speed=1e+30 is faster than any actor may move"), 1);
  EXPECT_EQ(tree.Count("ERROR: [Zivede] Size=nan is no finite number"), 1);
  EXPECT_EQ(tree.Count("ERROR: [Rat] Size=1e+08 is larger than any entity may be drawn"), 1);
  EXPECT_EQ(tree.Count("ERROR: [Level01] WallHeight=inf is no finite number"), 1);
  EXPECT_EQ(tree.Count("is not finite"), 0);
  EXPECT_EQ(tree.Count("beyond any level"), 0);
}
