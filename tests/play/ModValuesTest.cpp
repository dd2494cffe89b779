// Values a modder plausibly writes into the object configurations that are extreme or do not fit together, each
// played through the running game: a level bigger than can be drawn, walls no camera can look over, a monster
// without health, a poison without a finite rate.
#include <gtest/gtest.h>

#include <string>

#include "engine/kernel/kernel.h"
#include "tests/play/PlayRig.h"
#include "tests/play/PlayScript.h"

using namespace brplay;

namespace {

// Replaces the first "from" of a configuration file of the tree with "to".
void Edit(PlayTree& tree, const char* file, const std::string& from, const std::string& to) {
  const fs::path path = tree.Media() / "Config" / file;
  std::string text = FileBytes(path);
  const size_t at = text.find(from);
  ASSERT_NE(at, std::string::npos) << from;
  WriteFileBytes(path, text.replace(at, from.size(), to));
}

const char* const kFirstLevels = "RoomCount=10\nCavernCount=5\nWallHeight=1.5\n";

// With the edit made, a game played to a rat, which the player attacks until it dies; the refused value is named
// in the log once, in the words logged.
void ExpectARatKilledAfter(const char* file, const std::string& from, const std::string& to, const char* logged) {
  PlayTree tree;
  Edit(tree, file, from, to);
  PlayHost host;
  ASSERT_TRUE(StartPlaying(tree, host, 5)) << host.State();
  PlayScript script(host);
  EXPECT_TRUE(script.FightAt("Rat")) << script.Why();
  EXPECT_EQ(tree.Count(logged), 1);
  host.Leave();
}

}  // namespace

// Rooms and caverns by the hundred needed more vertices than 16-bit indices reach: the level's geometry was
// refused and the game went on in a black screen. The level is now dug smaller, and seen.
TEST(ModValues, ALevelOfMoreRoomsThanCanBeDrawnIsDugSmallerAndSeen) {
  PlayTree tree;
  Edit(tree, "dungeons.cfg", kFirstLevels, "RoomCount=500\nCavernCount=500\nWallHeight=1.5\n");
  PlayHost host;
  ASSERT_TRUE(StartPlaying(tree, host, 5, 1.0f)) << host.State();
  PlayScript script(host);
  for (int i = 0; i < 90; ++i) script.Tick(true);  // the hint put away, the fade from black run out
  Shot shot;
  ASSERT_TRUE(ScreenFrame(host, tree, "large.bmp", shot));
  int lit = 0;
  for (int y = shot.height / 4; y < shot.height * 3 / 4; ++y)
    for (int x = shot.width / 4; x < shot.width * 3 / 4; ++x) lit += (shot.At(x, y) & 0xF0F0F0) != 0;
  EXPECT_GT(lit, shot.width * shot.height / 40) << "the dungeon around the player is not drawn";
  EXPECT_EQ(tree.Count("fewer are dug"), 1);
  EXPECT_EQ(tree.Find("is refused"), -1) << tree.Log()[size_t(tree.Find("is refused"))];
  host.Leave();
}

// Walls of height 0 or below put the camera, which stands one cell above their tops, at or under the floor, and
// walls of 1e30 put it beyond sight: either way the screen stayed black. Such a height is refused and named.
TEST(ModValues, AWallHeightNoCameraCanLookOverIsRefused) {
  for (const char* height : {"-2", "0", "1e30"}) {
    PlayTree tree;
    Edit(tree, "dungeons.cfg", kFirstLevels, std::string("RoomCount=10\nCavernCount=5\nWallHeight=") + height + "\n");
    PlayHost host;
    ASSERT_TRUE(StartPlaying(tree, host, 5)) << host.State();
    EXPECT_FLOAT_EQ(host.Map()->GetWallHeight(), 1.5f * host.Map()->GridScale()) << height;
    EXPECT_EQ(tree.Count("[Level01] WallHeight="), 1) << height;
    host.Leave();
  }
}

// A monster written with Health=0 was alive but no attack would strike a target without health: it hunted the
// player and could never be killed.
TEST(ModValues, AMonsterWithoutHealthCanStillBeKilled) {
  ExpectARatKilledAfter("enemies.cfg", "Health=22\n", "Health=0\n", "[Rat] Health=0");
}

// A poison whose rate is no finite number ("Poison(nan)", or one too large for a float) was saved as it stood, the
// save reported as made, and then refused by the load menu. The rate is now the default, named once in the log.
TEST(ModValues, APoisonWithoutAFiniteRateLeavesAGameThatLoads) {
  PlayTree tree;
  Edit(tree, "dungeons.cfg", kFirstLevels, std::string(kFirstLevels) + "Special=Poison(nan),Poison(1e39)\n");
  PlayHost host;
  ASSERT_TRUE(StartPlaying(tree, host, 5)) << host.State();
  ASSERT_NE(host.Player()->GetMutator(BrStringT<char>("MUTPoison"), false), nullptr);
  host.Run(2.0f, 8);
  ASSERT_TRUE(host.Game()->SaveGame("Saves\\poisoned.gin"));
  EXPECT_TRUE(LoadAsTheMenuDoes(host, "poisoned.gin")) << tree.LastLine();
  EXPECT_EQ(tree.Count("MUTPoison(nan)"), 1);
  host.Leave();
}

// A density near 0 (0.03 here; 0.001 would ask for more memory than the machine has) made a grid of millions of
// cells: the level took most of a minute and gigabytes to build. The grid is now cut to a bound, logged once.
TEST(ModValues, ADensityNearZeroDigsABoundedGrid) {
  PlayTree tree;
  Edit(tree, "dungeons.cfg", "WallHeight=1.5\nDensity=45\n", "WallHeight=1.5\nDensity=0.03\n");
  PlayHost host;
  ASSERT_TRUE(StartPlaying(tree, host, 5)) << host.State();
  EXPECT_LE(host.Map()->GridWidth(), 512);
  EXPECT_LE(host.Map()->GridHeight(), 512);
  EXPECT_EQ(tree.Count("density 0.03 asks for a grid"), 1);
  host.Leave();
}

// A player whose lantern was written to reach no distance (MaxVisDist=-6) saw nothing, so every monster it
// attacked was out of its sight and could not be struck.
TEST(ModValues, APlayerWrittenToSeeNothingStillFights) {
  ExpectARatKilledAfter("core.cfg", "MaxVisDist=6\n", "MaxVisDist=-6\n", "[Zivede] MaxVisDist=-6");
}
