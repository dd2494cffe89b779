// PrintScreen in the running game: one file a press however long the key is held, holding the game's frame at
// the size of the window's client area, the first shot of a run as well as the later ones; with Ctrl in play, one
// image of the level's grid a press. The shots are taken in a window of a virtual display larger than the game's
// window where one can be started (Xvfb), since only a real window shows a desktop-sized shot or an unreadable
// front buffer; off screen otherwise.
#include <gtest/gtest.h>

#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <string>
#include <thread>
#include <vector>

#include "adventure/world/BrRAGMap.h"
#include "core/brcr.h"
#include "engine/kernel/kernel.h"
#include "engine/presentation/BrRenderBase.h"
#include "tests/play/PlayRig.h"

using namespace brplay;

namespace {

std::vector<fs::path> Shots(const fs::path& folder, const char* extension = ".bmp") {
  std::vector<fs::path> found;
  if (fs::is_directory(folder))
    for (const auto& entry : fs::directory_iterator(folder))
      if (entry.path().extension() == extension) found.push_back(entry.path());
  std::sort(found.begin(), found.end());
  return found;
}

fs::path ExpectedMenuFrame() {
  const char* source = std::getenv("BR_SOURCE_DIR");
  return fs::path(source ? source : ".") / "tests" / "play" / "expected" / "mainmenu_32x24.ppm";
}

}  // namespace

TEST(Screenshots, OnePrintScreenPressIsOneShotOfTheFrameAtTheClientAreasSize) {
  VirtualDisplay display;
  std::printf("playing in %s\n",
              display.Name().empty() ? "no window (off screen)" : ("a window on display " + display.Name()).c_str());
  PlayTree tree;
  PlayHost host;
  ASSERT_TRUE(StartAtMainMenu(tree, host, 7)) << "see " << tree.Game() / "log.txt";
  const fs::path folder = tree.Media() / "Screenshots";
  ASSERT_TRUE(Shots(folder).empty());

  // The first press of the run, held a fifth of a second at sixty frames a second.
  host.HoldKey(VK_SNAPSHOT, 12, 1.0f / 60.0f);
  std::vector<fs::path> shots = Shots(folder);
  ASSERT_EQ(shots.size(), 1u) << "one press, one file";
  Shot shot;
  ASSERT_TRUE(ReadBmp(shots[0], shot));
  BrRenderBase* render = Engine().Render();
  ASSERT_NE(render, nullptr);
  EXPECT_EQ(shot.width, int(render->GetWidth())) << "the client area, not the desktop";
  EXPECT_EQ(shot.height, int(render->GetHeight()));
  // The main menu, as the expected frame holds it: not black, not white, not stale.
  if (shot.width == int(render->GetWidth()) && shot.height == int(render->GetHeight())) {
    Shot expected;
    ASSERT_TRUE(ReadPpm(ExpectedMenuFrame(), expected));
    EXPECT_LT(MeanDifference(Shrink(shot, 32, 24), expected), 6.0);
  }

  // A fresh press is the next shot.
  host.HoldKey(VK_SNAPSHOT, 2, 1.0f / 60.0f);
  EXPECT_EQ(Shots(folder).size(), 2u);
  // With Control held, none.
  brW32InjectKey(VK_CONTROL, TRUE);
  host.HoldKey(VK_SNAPSHOT, 2, 1.0f / 60.0f);
  brW32InjectKey(VK_CONTROL, FALSE);
  EXPECT_EQ(Shots(folder).size(), 2u);
  host.Leave();
}

// With a file standing where the Screenshots folder should be, Print Screen wrote nothing and said nothing: the
// player had no word of why no picture came. The failure is one log line a press; the file and the game go on.
TEST(Screenshots, AShotThatCannotBeWrittenIsSaidInTheLog) {
  PlayTree tree;
  WriteFileBytes(tree.Media() / "Screenshots", "not a folder");
  PlayHost host;
  ASSERT_TRUE(StartAtMainMenu(tree, host, 7)) << "see " << tree.Game() / "log.txt";
  host.HoldKey(VK_SNAPSHOT, 2, 1.0f / 60.0f);
  host.Run(0.5f);
  EXPECT_EQ(tree.Count("WARNING: Failed to write the screenshot"), 1);
  EXPECT_EQ(FileBytes(tree.Media() / "Screenshots"), "not a folder");
  EXPECT_EQ(host.State(), "BrRAGGameStateMainMenu");
}

// Ctrl with Print Screen in play writes the level's grid as an image once a press: held, the keys used to write
// it again every step (a file deleted came straight back) and a new file each second; two presses within a second
// keep both images.
TEST(Screenshots, CtrlWithPrintScreenInPlayExportsTheLevelsGridOnceAPress) {
  PlayTree tree;
  PlayHost host;
  ASSERT_TRUE(StartPlaying(tree, host, 5)) << host.State();
  const fs::path folder = tree.Media() / "Maps";
  auto press = [&](int frames) {
    brW32InjectKey(VK_CONTROL, TRUE);
    brW32InjectKey(VK_SNAPSHOT, TRUE);
    for (int i = 0; i < frames; ++i) host.Frame(1.0f / 60.0f, false);
  };
  auto release = [&] {
    brW32InjectKey(VK_SNAPSHOT, FALSE);
    brW32InjectKey(VK_CONTROL, FALSE);
    host.Frame(1.0f / 60.0f, false);
  };

  press(1);
  std::vector<fs::path> maps = Shots(folder, ".tga");
  ASSERT_EQ(maps.size(), 1u);
  const std::string image = FileBytes(maps[0]);
  ASSERT_GE(image.size(), 18u);
  const int width = uint8_t(image[12]) | uint8_t(image[13]) << 8, height = uint8_t(image[14]) | uint8_t(image[15]) << 8;
  EXPECT_EQ(width, host.Map()->GridWidth());
  EXPECT_EQ(height, host.Map()->GridHeight());
  EXPECT_EQ(image.size(), 18u + 3u * size_t(width) * size_t(height));
  fs::remove(maps[0]);
  press(20);
  EXPECT_TRUE(Shots(folder, ".tga").empty()) << "the held keys exported again";
  release();
  EXPECT_TRUE(Shots(folder, ".tga").empty());

  press(1);
  release();
  press(1);
  release();
  EXPECT_EQ(Shots(folder, ".tga").size(), 2u);
  EXPECT_TRUE(Shots(tree.Media() / "Screenshots").empty()) << "Ctrl with Print Screen takes no screenshot";
  host.Leave();
}

// The host as `make play` runs it headless: it leaves by the game's state and time, whatever the speed of the
// machine, and the screenshot of its last frame shows the main menu.
TEST(Screenshots, AHeadlessRunLeavesOnceTheMainMenuHasShownAndItsLastFrameShowsIt) {
  PlayTree tree;
  tree.SetConfig("ShowIntro", "0");
  const char* binary = std::getenv("BR_BINARY_DIR");
  const fs::path host = fs::absolute(fs::path(binary ? binary : ".") / "run" / "game" / "brhost");
  auto run = [&](const std::string& options, std::vector<std::string>& out) {
    const fs::path file = tree.Game() / "host.out";
    const std::string cmd = "cd '" + tree.Game().string() + "' && timeout 120 '" + host.string() + "' --headless " +
                            options + " > '" + file.string() + "' 2>&1";
    const int rc = std::system(cmd.c_str());
    out.clear();
    std::ifstream in(file);
    for (std::string line; std::getline(in, line);) out.push_back(line);
    return WIFEXITED(rc) ? WEXITSTATUS(rc) : -1;
  };
  std::vector<std::string> out;
  ASSERT_EQ(run("--until-state BrRAGGameStateMainMenu --state-seconds 0.5", out), 0);
  ASSERT_FALSE(out.empty());
  EXPECT_EQ(out[0].rfind("brhost: left in order after ", 0), 0u) << out[0];
  Shot shot, expected;
  ASSERT_TRUE(ReadBmp(tree.Media() / "Screenshots" / "brhost_last_frame.bmp", shot));
  ASSERT_TRUE(ReadPpm(ExpectedMenuFrame(), expected));
  EXPECT_LT(MeanDifference(Shrink(shot, 32, 24), expected), 6.0);

  // A state the game never reaches is a failure, said as such, even when a frame count ends the run first.
  EXPECT_EQ(run("--until-state BrRAGGameStateNowhere --frames 10", out), 3);
  ASSERT_FALSE(out.empty());
  EXPECT_EQ(out.back(), "brhost: the game left before it reached BrRAGGameStateNowhere");
}
