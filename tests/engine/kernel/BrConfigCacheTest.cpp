// The configuration cache: defaults and adjustments when reading, typed access, and the write-back that keeps
// the file's own lines, refuses a read-only file and reports a corrupt one.
#include <gtest/gtest.h>
#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <iterator>
#include <string>

#include "EngineTestSupport.h"

using brtest::RunTree;

namespace {
int Int(BrConfigCache& c, const char* s, const char* k) {
  int v = -12345;
  c.GetInteger(s, k, v);
  return v;
}
}  // namespace

TEST(ConfigCache, MissingKeysTakeDefaultsAndValuesAreAdjusted) {
  RunTree tree(
      "[Render]\nDepthBufferBitDepth=20\n[Display]\nWindowWidth=-1024\nWindowHeight=768\nScreenWidth=1024\n"
      "ScreenHeight=768\n[App]\nMouseSpeedX=0\nMouseSpeedY=-5\nTitle=My Game\n");
  tree.Configure();
  BrConfigCache& c = tree.cache;
  EXPECT_EQ(Int(c, "Engine", "Safe"), 1);
  EXPECT_EQ(Int(c, "Render", "DepthBufferBitDepth"), 24);
  EXPECT_EQ(Int(c, "Render", "UseZBuffer"), 1);
  EXPECT_EQ(Int(c, "Display", "WindowWidth"), 1024);
  EXPECT_EQ(Int(c, "App", "MouseSpeedX"), 50);
  EXPECT_EQ(Int(c, "App", "MouseSpeedY"), 50);
  EXPECT_EQ(Int(c, "Audio", "Channels"), 32);
  EXPECT_EQ(Int(c, "Net", "QueryPort"), 24667);
  EXPECT_EQ(Int(c, "App", "Hints"), 1);
  BrStringT<char> s;
  EXPECT_TRUE(c.GetString("App", "Title", s));
  EXPECT_STREQ(s.c_str(), "My Game");
  // An empty value: GetString reports it missing, GetInteger finds 0.
  s = BrStringT<char>("kept");
  EXPECT_FALSE(c.GetString("Render", "Device", s));
  EXPECT_STREQ(s.c_str(), "kept");
  EXPECT_EQ(Int(c, "Render", "Device"), 0);
  // Case counts.
  int v = 7;
  EXPECT_FALSE(c.GetInteger("engine", "Safe", v));
  EXPECT_EQ(v, 7);
}

TEST(ConfigCache, DepthAndResolutionRules) {
  struct Case {
    const char* depth;
    int expected;
  } depths[] = {{"0", 16}, {"-3", 16}, {"16", 16}, {"17", 24}, {"24", 24}, {"25", 32}, {"99", 32}};
  for (const Case& d : depths) {
    RunTree tree(std::string("[Render]\nDepthBufferBitDepth=") + d.depth + "\n");
    tree.Configure();
    EXPECT_EQ(Int(tree.cache, "Render", "DepthBufferBitDepth"), d.expected) << d.depth;
  }
  {
    // Half the window width exactly: both pairs step down one resolution.
    RunTree tree("[Display]\nWindowWidth=1024\nWindowHeight=768\nScreenWidth=512\nScreenHeight=600\n");
    tree.Configure();
    EXPECT_EQ(Int(tree.cache, "Display", "WindowWidth"), 800);
    EXPECT_EQ(Int(tree.cache, "Display", "WindowHeight"), 600);
    EXPECT_EQ(Int(tree.cache, "Display", "ScreenWidth"), 640);
  }
  {
    RunTree tree("[Display]\nWindowWidth=1024\nWindowHeight=768\nScreenWidth=513\nScreenHeight=600\n");
    tree.Configure();
    EXPECT_EQ(Int(tree.cache, "Display", "WindowWidth"), 1024);
    EXPECT_EQ(Int(tree.cache, "Display", "ScreenWidth"), 513);
  }
  {
    // One value below 480: the pair is validated.
    RunTree tree("[Display]\nWindowWidth=640\nWindowHeight=400\nScreenWidth=800\nScreenHeight=600\n");
    tree.Configure();
    EXPECT_EQ(Int(tree.cache, "Display", "WindowWidth"), 640);
    EXPECT_EQ(Int(tree.cache, "Display", "WindowHeight"), 480);
  }
}

TEST(ConfigCache, SettersOverwriteInPlaceAndColoursNeedFourParts) {
  BrConfigCache c;
  c.SetInteger("A", "k", 1);
  c.SetInteger("A", "k", 2);
  EXPECT_EQ(c.GetNumSettings(), 1);
  EXPECT_EQ(Int(c, "A", "k"), 2);
  c.SetFloat("A", "f", 1.5f);
  float f = 0;
  EXPECT_TRUE(c.GetFloat("A", "f", f));
  EXPECT_FLOAT_EQ(f, 1.5f);

  c.SetColour("A", "c", BrARGB(10, 20, 30, 40));
  BrARGB col(1, 2, 3, 4);
  EXPECT_TRUE(c.GetColour("A", "c", col));
  EXPECT_EQ(col.a, 10);
  EXPECT_EQ(col.b, 40);
  c.SetString("A", "short", "1,2,3");
  BrARGB untouched(9, 9, 9, 9);
  EXPECT_FALSE(c.GetColour("A", "short", untouched));
  EXPECT_EQ(untouched.a, 9);
  EXPECT_EQ(untouched.b, 9);
  // Commas inside parentheses do not split; a fourth comma stays in the last part.
  c.SetString("A", "paren", "(1,2),3,4,5,6");
  EXPECT_TRUE(c.GetColour("A", "paren", col));
  EXPECT_EQ(col.r, 3);
  EXPECT_EQ(col.b, 5);
}

TEST(ConfigCache, WriteBackMergesIntoTheFileKeepingWhatItDoesNotKnow) {
  RunTree tree(
      "# my settings\n[Engine]\nSafe=0\n\n# [Display] follows\n[Game]\nX=1\n[Display]\nWindowWidth=1024\n"
      "Title=[Demo]\nCustom=7\n");
  tree.Configure();
  tree.cache.SetString("Other", "Key", "v");
  tree.cache.SetInteger("Engine", "Extra", 5);
  tree.cache.SetInteger("Display", "WindowWidth", 1280);
  ASSERT_TRUE(tree.cache.WriteConfigToFile(&tree.file));
  const brtest::fs::path config = tree.root / "game" / "Media" / "Config";
  auto text = [&] {
    std::ifstream in(config / "main.cfg");
    return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
  };
  const std::string written = text();
  // Comments, blank lines, unknown sections and keys stay where they were; values change in place; keys the
  // file lacked close their section; sections it lacked follow in the engine's order, then the others.
  EXPECT_EQ(
      written.rfind("# my settings\n[Engine]\nSafe=0\nLibs=\nExtra=5\n\n# [Display] follows\n[Game]\nX=1\n[Display]\n"
                    "WindowWidth=1280\nTitle=[Demo]\nCustom=7\nWindowHeight=",
                    0),
      0u)
      << written;
  size_t at = 0;
  for (const char* header : {"\n[Render]\n", "\n[Audio]\n", "\n[Net]\n", "\n[App]\n", "\n[Other]\nKey=v\n"}) {
    const size_t next = written.find(header, at);
    ASSERT_NE(next, std::string::npos) << header;
    at = next;
  }
  // Written beside the file and renamed: nothing is left over, and the open file reads the new text.
  EXPECT_FALSE(brtest::fs::exists(config / "main.cfg.tmp"));
  int width = 0;
  EXPECT_TRUE(tree.file.GetValue(width, "Display", "WindowWidth"));
  EXPECT_EQ(width, 1280);
  // A second write-back of the same settings changes nothing.
  ASSERT_TRUE(tree.cache.WriteConfigToFile(&tree.file));
  EXPECT_EQ(text(), written);
  // What was written reads back to the same values.
  BrCfgFile again;
  ASSERT_TRUE(again.Open((config / "main.cfg").string().c_str(), 0x1000001));
  BrConfigCache reread;
  ASSERT_TRUE(reread.ReadConfigFromFile(&again));
  EXPECT_EQ(Int(reread, "Engine", "Safe"), 0);
  EXPECT_EQ(Int(reread, "Display", "WindowWidth"), 1280);
  EXPECT_EQ(Int(reread, "Display", "WindowHeight"), Int(tree.cache, "Display", "WindowHeight"));
}

TEST(ConfigCache, ReadOnlyFileIsReadAndItsWriteBackRefused) {
  RunTree tree("[Display]\nWindowWidth=1280\nWindowHeight=1024\nScreenWidth=1024\nScreenHeight=768\n");
  const brtest::fs::path cfg = tree.root / "game" / "Media" / "Config" / "main.cfg";
  brtest::fs::permissions(
      cfg, brtest::fs::perms::owner_read | brtest::fs::perms::group_read | brtest::fs::perms::others_read);
  std::fflush(nullptr);
  // Permissions bind only a user without root's override: the story runs in a child as such a user.
  EXPECT_EXIT(
      {
        if (::geteuid() == 0 && ::setuid(65534) != 0) std::_Exit(10);
        tree.Configure();
        if (!tree.file.IsValid() || Int(tree.cache, "Display", "WindowWidth") != 1280) std::_Exit(11);
        tree.cache.SetInteger("Display", "WindowWidth", 800);
        if (tree.cache.WriteConfigToFile(&tree.file)) std::_Exit(12);
        if (tree.LastLine().rfind("ERROR: Failed to write the configuration back to", 0) != 0) std::_Exit(13);
        std::ifstream in(cfg);
        std::string first;
        std::getline(in, first);
        std::getline(in, first);
        std::_Exit(first == "WindowWidth=1280" ? 0 : 14);
      },
      ::testing::ExitedWithCode(0), "");
}

TEST(ConfigCache, CorruptOrUnreadableFileIsReportedByName) {
  {
    RunTree tree("\x01\x02garbage=1\n[Engine]\nSafe=0\n");
    tree.Configure();
    EXPECT_EQ(Int(tree.cache, "Engine", "Safe"), 0);
    EXPECT_NE(tree.LastLine().find("is corrupt (it holds bytes that are not text)"), std::string::npos)
        << tree.LastLine();
    EXPECT_NE(tree.LastLine().find("main.cfg"), std::string::npos);
  }
  // A folder where the file should be cannot be read: said as such, naming it.
  RunTree folder("");
  brtest::fs::create_directories(folder.root / "game" / "Media" / "Config" / "main.cfg");
  folder.Configure();
  EXPECT_NE(folder.LastLine().find("ERROR: The configuration file "), std::string::npos) << folder.LastLine();
  EXPECT_NE(folder.LastLine().find("main.cfg cannot be read"), std::string::npos) << folder.LastLine();
}

TEST(ConfigCache, FailedWriteBackIsReported) {
  RunTree tree("[Engine]\nSafe=0\n");
  tree.Configure();
  // The configuration folder is replaced by a file: the file cannot be reopened for writing.
  tree.file.Close();
  brtest::fs::remove_all(tree.root / "game" / "Media" / "Config");
  std::ofstream(tree.root / "game" / "Media" / "Config") << "not a folder";
  EXPECT_FALSE(tree.cache.WriteConfigToFile(&tree.file));
  bool logged = false;
  for (const std::string& l : tree.Log())
    if (l.rfind("ERROR: Failed to write the configuration back to", 0) == 0) logged = true;
  EXPECT_TRUE(logged);
  BrConfigCache empty;
  EXPECT_FALSE(empty.ReadConfigFromFile(nullptr));
}
