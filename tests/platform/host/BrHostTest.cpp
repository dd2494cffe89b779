// The host program end to end: start order, frames, leaving in order, in a temporary run tree.
#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include "tests/support/TempFolder.h"

namespace fs = std::filesystem;

namespace {

class HostTree {
public:
  HostTree() : folder("brhost"), root(folder.Path()) {
    fs::create_directories(root / "game" / "Media" / "Config");
    fs::create_directories(root / "game" / "Media" / "Libs");
    fs::create_directories(root / "drivers" / "plug-ins");
  }
  void Config(const std::string& text) { std::ofstream(root / "game" / "Media" / "Config" / "main.cfg") << text; }
  void Copy(const std::string& fake, const fs::path& to) {
    fs::copy_file(fs::path(BR_FAKES_DIR) / (fake + ".so"), to, fs::copy_options::overwrite_existing);
  }
  // Runs the host in the tree's working folder; its exit status.
  int Run(const std::string& args) {
    std::string cmd = "cd '" + (root / "game").string() + "' && SDL_VIDEODRIVER=offscreen '" BR_HOST_EXE "' " + args +
                      " > host.out 2>&1";
    int rc = std::system(cmd.c_str());
    return WIFEXITED(rc) ? WEXITSTATUS(rc) : -1;
  }
  std::vector<std::string> Lines(const std::string& file) {
    std::vector<std::string> lines;
    std::ifstream in(root / "game" / file);
    for (std::string l; std::getline(in, l);) lines.push_back(l);
    return lines;
  }
  std::string LastLogLine() {
    std::vector<std::string> lines = Lines("log.txt");
    for (int i = (int)lines.size() - 1; i >= 0; --i)
      if (!lines[i].empty()) return lines[i];
    return "";
  }
  int Find(const std::string& text) {
    std::vector<std::string> lines = Lines("log.txt");
    for (size_t i = 0; i < lines.size(); ++i)
      if (lines[i] == text) return (int)i;
    return -1;
  }
  brtest::TempFolder folder;
  const fs::path root;
};

}  // namespace

TEST(Host, RunsSixtyFramesWithTheFakeDevicesAndLeavesInOrder) {
  HostTree tree;
  tree.Config(
      "[Engine]\nSafe=0\nLibs=FakeGame\n\n[Render]\nDevice=GfxDrv\n\n[Audio]\nDevice=SoundDrv\n\n[App]\nTitle=Host "
      "Test\n\n[RAG]\nAppType=FakeApp\n");
  tree.Copy("FakeRender", tree.root / "drivers" / "plug-ins" / "GfxDrv.so");
  tree.Copy("FakeAudio", tree.root / "drivers" / "plug-ins" / "SoundDrv.so");
  tree.Copy("FakeGame", tree.root / "game" / "Media" / "Libs" / "FakeGame.so");

  EXPECT_EQ(tree.Run("--headless --frames 60"), 0);
  int audio = tree.Find("Audio daemon initiated");
  int lib = tree.Find("Engine: Loaded lib FakeGame");
  int render = tree.Find("Rendering device initiated");
  int widgets = tree.Find("Widget daemon online");
  int app = tree.Find("FAKE: app Init with 3 states");
  int connected = tree.Find("Connected to game: Host Test");
  int appGone = tree.Find("FAKE: app destroyed after 60 steps");
  int renderGone = tree.Find("FAKE: render deleted after 60 frames");
  ASSERT_GE(audio, 0);
  EXPECT_LT(audio, lib);
  EXPECT_LT(lib, render);
  EXPECT_LT(render, widgets);
  EXPECT_LT(widgets, app);
  EXPECT_LT(app, connected);
  EXPECT_LT(connected, appGone);
  EXPECT_LT(appGone, renderGone);
  // The last frame was handed to the device as a screenshot before leaving.
  EXPECT_NE(tree.Find("FAKE: render screenshot " + (tree.root / "game").string() +
                      "\\Media\\Screenshots\\brhost_last_frame.bmp"),
            -1);
  EXPECT_EQ(tree.LastLogLine(), "Exit granted");
  std::vector<std::string> out = tree.Lines("host.out");
  ASSERT_FALSE(out.empty());
  EXPECT_EQ(out[0], "brhost: left in order after 60 frames.");
}

TEST(Host, WithoutPluginsLeavesInOrderAndSaysWhereTheLogIs) {
  HostTree tree;
  EXPECT_EQ(tree.Run("--headless --frames 60"), 1);
  EXPECT_EQ(tree.LastLogLine(), "Exit granted");
  // The engine wrote its default configuration.
  EXPECT_TRUE(fs::exists(tree.root / "game" / "Media" / "Config" / "main.cfg"));
  std::vector<std::string> out = tree.Lines("host.out");
  ASSERT_GE(out.size(), 3u);
  EXPECT_EQ(out[out.size() - 2], "brhost: log written to " + (tree.root / "game").string() + "/log.txt");
  // The last line says why: the first error of the step that failed (the rendering plug-in), not the missing
  // audio plug-in the engine went on without.
  const std::string why = "brhost: could not start: Could not load " + (tree.root / "game").string() +
                          "\\..\\drivers\\plug-ins\\GfxDrv.dll: ";
  EXPECT_EQ(out.back().rfind(why, 0), 0u) << out.back();
  EXPECT_NE(out.back().find("GfxDrv.so: no such library"), std::string::npos) << out.back();
}

TEST(Host, ALogThatCannotBeOpenedIsNotReportedAsWritten) {
  HostTree tree;
  fs::create_directory(tree.root / "game" / "log.txt");
  EXPECT_EQ(tree.Run("--headless --frames 2"), 1);
  const std::vector<std::string> out = tree.Lines("host.out");
  ASSERT_GE(out.size(), 3u);
  const std::string log = (tree.root / "game" / "log.txt").string();
  EXPECT_EQ(out[0], "brhost: could not open the log " + log + "; running without one");
  EXPECT_EQ(out[out.size() - 2], "brhost: no log written");
  EXPECT_EQ(out.back(), "brhost: could not start, and no log says why");
}

TEST(Host, UnknownApplicationClassLeavesInOrder) {
  HostTree tree;
  tree.Config("[Render]\nDevice=GfxDrv\n[RAG]\nAppType=NoSuchApp\n");
  tree.Copy("FakeRender", tree.root / "drivers" / "plug-ins" / "GfxDrv.so");
  EXPECT_EQ(tree.Run("--headless --frames 5"), 1);
  EXPECT_NE(tree.Find("ERROR: Host could not create the application NoSuchApp"), -1);
  EXPECT_EQ(tree.LastLogLine(), "Exit granted");
}

TEST(Host, RefusesBadOptions) {
  HostTree tree;
  EXPECT_EQ(tree.Run("--frames many"), 2);
  EXPECT_EQ(tree.Run("--bogus"), 2);
  // The engine takes a media folder relative to the working folder only.
  EXPECT_EQ(tree.Run("--media " + (tree.root / "game" / "Media").string()), 2);
  EXPECT_EQ(tree.Lines("host.out")[0], "brhost: --media needs a folder relative to the working folder, not '" +
                                           (tree.root / "game" / "Media").string() + "'");
  EXPECT_EQ(tree.Run("--media ./"), 2);
  EXPECT_FALSE(fs::exists(tree.root / "game" / "log.txt"));
}

TEST(Host, MissingMediaFolderIsNamedAndNothingStarts) {
  HostTree tree;
  EXPECT_EQ(tree.Run("--headless --media Nowhere --frames 5"), 1);
  std::vector<std::string> out = tree.Lines("host.out");
  ASSERT_FALSE(out.empty());
  EXPECT_EQ(out[0], "brhost: no media folder Nowhere in " + (tree.root / "game").string());
  EXPECT_EQ(tree.LastLogLine(), "ERROR: Host found no media folder Nowhere in " + (tree.root / "game").string());
  EXPECT_EQ(tree.Find("Exit granted"), -1);
}

TEST(Host, AMediaFolderWithATrailingSeparatorIsFound) {
  HostTree tree;
  tree.Config("[Engine]\nSafe=0\nLibs=FakeGame\n\n[Render]\nDevice=GfxDrv\n\n[RAG]\nAppType=FakeApp\n");
  tree.Copy("FakeRender", tree.root / "drivers" / "plug-ins" / "GfxDrv.so");
  tree.Copy("FakeGame", tree.root / "game" / "Media" / "Libs" / "FakeGame.so");
  for (const char* media : {"Media/", "Media\\\\", "./Media"}) {
    EXPECT_EQ(tree.Run(std::string("--headless --frames 2 --media ") + media), 0) << media;
    EXPECT_NE(tree.Find("Engine: Loaded lib FakeGame"), -1) << media;
    EXPECT_EQ(tree.LastLogLine(), "Exit granted") << media;
  }
}

TEST(Host, ZeroFramesRunsNone) {
  HostTree tree;
  tree.Config("[Engine]\nSafe=0\nLibs=FakeGame\n\n[Render]\nDevice=GfxDrv\n\n[RAG]\nAppType=FakeApp\n");
  tree.Copy("FakeRender", tree.root / "drivers" / "plug-ins" / "GfxDrv.so");
  tree.Copy("FakeGame", tree.root / "game" / "Media" / "Libs" / "FakeGame.so");
  EXPECT_EQ(tree.Run("--headless --frames 0"), 0);
  EXPECT_NE(tree.Find("FAKE: app destroyed after 0 steps"), -1);
  EXPECT_NE(tree.Find("FAKE: render deleted after 0 frames"), -1);
  std::vector<std::string> out = tree.Lines("host.out");
  ASSERT_FALSE(out.empty());
  EXPECT_EQ(out[0], "brhost: left in order after 0 frames.");
}
