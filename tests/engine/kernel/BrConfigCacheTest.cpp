// The configuration cache: defaults and adjustments when reading, typed access, and the write-back order.
#include <gtest/gtest.h>

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

TEST(ConfigCache, WriteBackKeepsSectionOrderAndDropsOtherSections) {
  RunTree tree("[Engine]\nSafe=0\n[Game]\nX=1\n");
  tree.Configure();
  tree.cache.SetString("Other", "Key", "v");
  tree.cache.SetInteger("Engine", "Extra", 5);
  ASSERT_TRUE(tree.cache.WriteConfigToFile(&tree.file));
  tree.file.Close();
  std::ifstream in(tree.root / "game" / "Media" / "Config" / "main.cfg");
  std::vector<std::string> lines;
  for (std::string l; std::getline(in, l);) lines.push_back(l);
  ASSERT_GE(lines.size(), 6u);
  EXPECT_EQ(lines[0], "[Engine]");
  EXPECT_EQ(lines[1], "Safe=0");
  EXPECT_EQ(lines[2], "Libs=");
  EXPECT_EQ(lines[3], "Extra=5");
  EXPECT_EQ(lines[4], "");
  EXPECT_EQ(lines[5], "");
  EXPECT_EQ(lines[6], "[Render]");
  std::vector<std::string> headers;
  for (const std::string& l : lines)
    if (!l.empty() && l[0] == '[') headers.push_back(l);
  EXPECT_EQ(headers, (std::vector<std::string>{"[Engine]", "[Render]", "[Display]", "[Audio]", "[Net]", "[App]"}));
  // What was written reads back to the same values.
  BrCfgFile again;
  ASSERT_TRUE(again.Open((tree.root / "game" / "Media" / "Config" / "main.cfg").string().c_str(), 0x1000001));
  BrConfigCache reread;
  ASSERT_TRUE(reread.ReadConfigFromFile(&again));
  EXPECT_EQ(Int(reread, "Engine", "Safe"), 0);
  EXPECT_EQ(Int(reread, "Display", "WindowWidth"), Int(tree.cache, "Display", "WindowWidth"));
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
