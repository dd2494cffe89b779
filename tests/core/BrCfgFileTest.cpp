// Tests of BrCfgFile: creating main.cfg, the header and key rules, value forms, lists and walking sections.
#include "core/BrCfgFile.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <cstring>
#include <filesystem>
#include <string>

#include "CoreTestKit.h"

namespace {
const char* const kDefaultMain =
    "[Engine]\nSafe=0\n\n"
    "[Render]\nDevice=GfxDrv\nUseWBuffer=1\nUseZBuffer=0\nDepthBufferBitDepth=16\n\n"
    "[Display]\nWindowWidth=1024\nWindowHeight=768\nStartFullScreen=0\nScreenWidth=800\nScreenHeight=600\n\n"
    "[Game]\nLaunch=\nTitle=Hello World\nParser=\nMouseSpeedX=50\nMouseSpeedY=50\n"
    "DefaultFont=Media\\Fonts\\fontVanilla.tga\n";

class BrCfgFileTest : public coretest::ScratchTest {
protected:
  std::string Path(const char* name) const { return Folder() + "/" + name; }
  std::string Text(const char* name) const {
    std::vector<uint8_t> b = coretest::ReadFileBytes(Path(name));
    return std::string(b.begin(), b.end());
  }
  void Write(const char* name, const std::string& text) {
    coretest::WriteFileBytes(Path(name), std::vector<uint8_t>(text.begin(), text.end()));
  }
  // Writes text as name and opens it.
  void OpenText(BrCfgFile& cfg, const std::string& text, const char* name = "test.cfg") {
    Write(name, text);
    ASSERT_TRUE(cfg.Open(Path(name).c_str(), 0x1000001));
  }
  std::string Value(BrCfgFile& cfg, const char* section, const char* key) {
    char buf[BrCfgFile::ciLineLen];
    std::memset(buf, 'z', sizeof(buf));
    buf[sizeof(buf) - 1] = 0;
    return cfg.GetValue(buf, section, key) ? std::string(buf) : std::string("<none>");
  }
};
}  // namespace

TEST_F(BrCfgFileTest, MissingMainCfgIsCreatedWithTheDefaultText) {
  BrCfgFile cfg;
  ASSERT_TRUE(cfg.Open(Path("main.cfg").c_str(), 0x1000001));
  int width = 0;
  EXPECT_TRUE(cfg.GetValue(width, "Display", "WindowWidth"));
  EXPECT_EQ(width, 1024);
  EXPECT_EQ(Value(cfg, "Game", "Launch"), "<none>");  // no value after '='
  EXPECT_TRUE(cfg.HasValue("Game", "Launch"));
  EXPECT_EQ(Value(cfg, "Game", "Title"), "Hello World");
  EXPECT_EQ(Value(cfg, "Game", "DefaultFont"), "Media\\Fonts\\fontVanilla.tga");
  EXPECT_EQ(Value(cfg, "App", "Title"), "<none>");
  cfg.Close();
  EXPECT_EQ(Text("main.cfg"), kDefaultMain);

  // Any case of the name, through the constructor's read-and-update open, in a folder of mixed case.
  std::filesystem::create_directories(Path("Config"));
  BrCfgFile upper((Folder() + "\\config\\MAIN.CFG").c_str());
  EXPECT_TRUE(upper.IsValid());
  upper.Close();
  EXPECT_EQ(Text("Config/MAIN.CFG"), kDefaultMain);

  // CreateDefault on a closed file writes nothing.
  BrCfgFile closed;
  EXPECT_FALSE(closed.CreateDefault());
}

TEST_F(BrCfgFileTest, OpeningNeverCreatesOrTruncatesOtherFiles) {
  BrCfgFile cfg;
  EXPECT_FALSE(cfg.Open(Path("objects.cfg").c_str(), 0x1000001));
  EXPECT_FALSE(std::filesystem::exists(Path("objects.cfg")));
  EXPECT_FALSE(cfg.IsValid());
  EXPECT_FALSE(cfg.Open(nullptr, 0x1000001));
  // A main.cfg in a folder that does not exist cannot be made.
  EXPECT_FALSE(cfg.Open(Path("nowhere/main.cfg").c_str(), 0x1000001));

  // An existing main.cfg that cannot be opened for update is left exactly as it was.
  Write("main.cfg", "[Engine]\nSafe=1\n");
  std::filesystem::permissions(Path("main.cfg"),
                               std::filesystem::perms::owner_read | std::filesystem::perms::group_read);
  FILE* probe = std::fopen(Path("main.cfg").c_str(), "r+");
  const bool writable = probe != nullptr;  // the superuser may write anyway
  if (probe) std::fclose(probe);
  BrCfgFile ro;
  EXPECT_EQ(ro.Open(Path("main.cfg").c_str(), 0x1000001), writable);
  ro.Close();
  EXPECT_EQ(Text("main.cfg"), "[Engine]\nSafe=1\n");
  std::filesystem::permissions(Path("main.cfg"), std::filesystem::perms::owner_all);
  // Something named main.cfg that no one can open as a file (here a folder) exists all the same.
  std::filesystem::create_directories(Path("sub/main.cfg"));
  EXPECT_FALSE(ro.Open(Path("sub/main.cfg").c_str(), 0x1000001));
  EXPECT_TRUE(std::filesystem::is_directory(Path("sub/main.cfg")));

  // A second open of an open file re-opens it.
  BrCfgFile again;
  ASSERT_TRUE(again.Open(Path("main.cfg").c_str(), 0x1000001));
  ASSERT_TRUE(again.Open(Path("main.cfg").c_str(), 0x1000001));
  int safe = 0;
  EXPECT_TRUE(again.GetValue(safe, "Engine", "Safe"));
  EXPECT_EQ(safe, 1);
}

TEST_F(BrCfgFileTest, SectionHeaderMustBeExact) {
  BrCfgFile cfg;
  OpenText(cfg, "[Engine] \nSafe=1\n[Display]# note\nW=2\n [Game]\nT=3\n[Render]\nD=4\n#[Audio]\n[Audio]\nN=5\n");
  EXPECT_FALSE(cfg.HasValue("Engine", "Safe"));
  EXPECT_FALSE(cfg.HasValue("Display", "W"));
  EXPECT_FALSE(cfg.HasValue("Game", "T"));
  EXPECT_EQ(Value(cfg, "Render", "D"), "4");
  EXPECT_EQ(Value(cfg, "Audio", "N"), "5");
  EXPECT_FALSE(cfg.HasValue("Rend", "D"));
  EXPECT_FALSE(cfg.HasValue("", "D"));
}

TEST_F(BrCfgFileTest, KeyLinesStartWithTheKey) {
  BrCfgFile cfg;
  OpenText(cfg,
           "[Engine]\n#Safe=1\nSafe=1 # on\nKey=a=b\nKey2==x\nxy=ab=1\nMouseSpeedX=50\nSpaced = v \nEmpty=\n"
           "Neg=-12abc\nHuge=99999999999\nF=2.5x\nNotNum=abc\nNaN=nan\nInf=-inf\nTooBig=1e39\n");
  EXPECT_EQ(Value(cfg, "Engine", "Safe"), "1 # on");
  int safe = 0;
  EXPECT_TRUE(cfg.GetValue(safe, "Engine", "Safe"));
  EXPECT_EQ(safe, 1);
  EXPECT_EQ(Value(cfg, "Engine", "Key"), "a");
  EXPECT_EQ(Value(cfg, "Engine", "Key2"), "x");
  EXPECT_FALSE(cfg.HasValue("Engine", "ab"));      // not at the start of its line
  EXPECT_FALSE(cfg.HasValue("Engine", "Speed"));   // a key is the whole name
  EXPECT_FALSE(cfg.HasValue("Engine", "Spaced"));  // the space belongs to the key's text
  EXPECT_EQ(Value(cfg, "Engine", "Spaced "), " v ");
  EXPECT_TRUE(cfg.HasValue("Engine", "Empty"));
  EXPECT_EQ(Value(cfg, "Engine", "Empty"), "<none>");
  EXPECT_FALSE(cfg.HasValue("Engine", ""));
  EXPECT_FALSE(cfg.HasValue("Engine", nullptr));
  EXPECT_FALSE(cfg.HasValue(nullptr, "Safe"));

  int i = 7;
  EXPECT_TRUE(cfg.GetValue(i, "Engine", "Neg"));
  EXPECT_EQ(i, -12);
  EXPECT_TRUE(cfg.GetValue(i, "Engine", "Huge"));
  EXPECT_EQ(i, 2147483647);
  i = 7;
  EXPECT_FALSE(cfg.GetValue(i, "Engine", "Empty"));
  EXPECT_EQ(i, 7);

  float f = -1.0f;
  EXPECT_FALSE(cfg.GetValue(f, "Engine", "Speed"));  // the float getter follows the same key rule
  EXPECT_FLOAT_EQ(f, -1.0f);
  EXPECT_TRUE(cfg.GetValue(f, "Engine", "MouseSpeedX"));
  EXPECT_FLOAT_EQ(f, 50.0f);
  EXPECT_TRUE(cfg.GetValue(f, "Engine", "F"));
  EXPECT_FLOAT_EQ(f, 2.5f);
  EXPECT_FALSE(cfg.GetValue(f, "Engine", "NotNum"));
  EXPECT_FLOAT_EQ(f, 2.5f);
  // "%f" reads these as numbers, but no configured quantity can be one: the caller's value stays.
  for (const char* key : {"NaN", "Inf", "TooBig"}) {
    EXPECT_FALSE(cfg.GetValue(f, "Engine", key)) << key;
    EXPECT_FLOAT_EQ(f, 2.5f) << key;
  }

  BrStringT<char> s;
  EXPECT_TRUE(cfg.GetValue(s, "Engine", "Key"));
  EXPECT_STREQ(s.c_str(), "a");
  EXPECT_FALSE(cfg.GetValue(s, "Engine", "Empty"));
  EXPECT_STREQ(s.c_str(), "a");
}

TEST_F(BrCfgFileTest, EveryGetterStopsAtItsSectionsEnd) {
  BrCfgFile cfg;
  OpenText(cfg, "[A]\nx=1\nlink=see [B]\n# [B] below\nTitle=[Demo]\ny=2\n[B]\nz=3.5\nw=4\n[A]\nlate=5\n");
  EXPECT_EQ(Value(cfg, "A", "x"), "1");
  // Only a header line (first non-blank character '[', a ']' after) ends the section: brackets in a value or a
  // comment do not.
  EXPECT_EQ(Value(cfg, "A", "link"), "see [B]");
  EXPECT_EQ(Value(cfg, "A", "Title"), "[Demo]");
  EXPECT_EQ(Value(cfg, "A", "y"), "2");
  float f = 0;
  EXPECT_FALSE(cfg.GetValue(f, "A", "z"));
  int i = 0;
  EXPECT_FALSE(cfg.GetValue(i, "A", "w"));
  int n = 0;
  EXPECT_FALSE(cfg.GetNumValues("A", "w", n));
  EXPECT_TRUE(cfg.GetValue(f, "B", "z"));
  EXPECT_FLOAT_EQ(f, 3.5f);
  // A later section of the same name is searched too.
  EXPECT_EQ(Value(cfg, "A", "late"), "5");

  BrCfgFile twice;
  OpenText(twice, "[A]\nx=1\n[A]\ny=2\n", "twice.cfg");
  EXPECT_EQ(Value(twice, "A", "y"), "2");

  // Walking the sections skips the same lines.
  BrCfgFile walk;
  OpenText(walk, "[A]\nTitle=[Demo]\n# [C]\n [B]\n", "walk.cfg");
  char name[BrCfgFile::ciLineLen];
  ASSERT_TRUE(walk.GetNextSection(name));
  EXPECT_STREQ(name, "A");
  ASSERT_TRUE(walk.GetNextSection(name));
  EXPECT_STREQ(name, " B");
  EXPECT_FALSE(walk.GetNextSection(name));
}

TEST_F(BrCfgFileTest, WindowsLineEndingsAndAByteOrderMarkReadAsPlainText) {
  BrCfgFile cfg;
  OpenText(cfg, "[Engine]\r\nSafe=1\r\nName=Hello World\r\nList=1,2,\r\nF=0.25\r\n[Display]\r\nW=640\r\nLast=end\r");
  EXPECT_EQ(Value(cfg, "Engine", "Safe"), "1");
  EXPECT_EQ(Value(cfg, "Engine", "Name"), "Hello World");
  float f = 0;
  EXPECT_TRUE(cfg.GetValue(f, "Engine", "F"));
  EXPECT_FLOAT_EQ(f, 0.25f);
  int n = 0;
  EXPECT_TRUE(cfg.GetNumValues("Engine", "List", n));
  EXPECT_EQ(n, 3);
  BrStringT<char> items[3];
  EXPECT_TRUE(cfg.GetValues(items, 3, "Engine", "List"));
  EXPECT_EQ(items[2].Length(), 0);
  EXPECT_EQ(Value(cfg, "Display", "W"), "640");
  EXPECT_EQ(Value(cfg, "Display", "Last"), "end");
  char name[BrCfgFile::ciLineLen];
  ASSERT_TRUE(cfg.SetPos(0));
  ASSERT_TRUE(cfg.GetNextSection(name));
  EXPECT_STREQ(name, "Engine");

  // Saved as "UTF-8" by Notepad: a byte-order mark before the first header, which is still the first header, by
  // query and by walk alike, and the text is not taken for keys before any section.
  BrCfgFile marked;
  OpenText(marked, "\xEF\xBB\xBF[Engine]\r\nSafe=1\r\n[Display]\r\nW=640\r\n", "marked.cfg");
  EXPECT_EQ(Value(marked, "Engine", "Safe"), "1");
  EXPECT_EQ(Value(marked, "Display", "W"), "640");
  const char* problem = nullptr;
  EXPECT_TRUE(marked.CheckText(&problem)) << problem;
  ASSERT_TRUE(marked.SetPos(0));
  ASSERT_TRUE(marked.GetNextSection(name));
  EXPECT_STREQ(name, "Engine");
  ASSERT_TRUE(marked.GetNextSection(name));
  EXPECT_STREQ(name, "Display");
  // Only at the start: the same bytes inside a line are that line's.
  BrCfgFile inside;
  OpenText(inside, "[Engine]\nName=\xEF\xBB\xBFx\n", "inside.cfg");
  EXPECT_EQ(Value(inside, "Engine", "Name"), "\xEF\xBB\xBFx");
}

TEST_F(BrCfgFileTest, ListsSplitAtCommasOutsideParentheses) {
  BrCfgFile cfg;
  OpenText(cfg, "[L]\nNums=1,2,3\nCall=a(b,c),d\nFn=f(1,2),3\nSp=a, b\nTrail=1,2,\nOne=42\nCommas=,,\n");
  int out[4] = {9, 9, 9, 9};
  EXPECT_TRUE(cfg.GetValues(out, 3, "L", "Nums"));
  EXPECT_EQ(out[0], 1);
  EXPECT_EQ(out[1], 2);
  EXPECT_EQ(out[2], 3);
  EXPECT_EQ(out[3], 9);
  int two[2] = {9, 9};
  EXPECT_FALSE(cfg.GetValues(two, 2, "L", "Nums"));
  EXPECT_EQ(two[0], 9);
  EXPECT_EQ(two[1], 9);
  EXPECT_TRUE(cfg.GetValues(two, 1, "L", "Nums"));
  EXPECT_EQ(two[0], 1);  // the whole text through atoi
  EXPECT_FALSE(cfg.GetValues(two, 0, "L", "Nums"));
  EXPECT_FALSE(cfg.GetValues(static_cast<int*>(nullptr), 3, "L", "Nums"));
  EXPECT_FALSE(cfg.GetValues(out, 3, "L", "Missing"));

  int n = 0;
  EXPECT_TRUE(cfg.GetNumValues("L", "Call", n));
  EXPECT_EQ(n, 2);
  EXPECT_TRUE(cfg.GetNumValues("L", "One", n));
  EXPECT_EQ(n, 1);
  EXPECT_FALSE(cfg.GetNumValues("L", "Missing", n));

  BrStringT<char> s[4];
  EXPECT_TRUE(cfg.GetValues(s, 4, "L", "Fn"));
  EXPECT_STREQ(s[0].c_str(), "f(1,2)");
  EXPECT_STREQ(s[1].c_str(), "3");
  EXPECT_TRUE(cfg.GetValues(s, 2, "L", "Sp"));
  EXPECT_STREQ(s[0].c_str(), "a");
  EXPECT_STREQ(s[1].c_str(), " b");
  BrStringT<char> whole[1];
  EXPECT_TRUE(cfg.GetValues(whole, 1, "L", "Fn"));
  EXPECT_STREQ(whole[0].c_str(), "f(1,2),3");

  // A trailing comma: counted and split alike, the last value empty.
  EXPECT_TRUE(cfg.GetNumValues("L", "Trail", n));
  EXPECT_EQ(n, 3);
  int trail[3] = {9, 9, 9};
  EXPECT_TRUE(cfg.GetValues(trail, 3, "L", "Trail"));
  EXPECT_EQ(trail[0], 1);
  EXPECT_EQ(trail[1], 2);
  EXPECT_EQ(trail[2], 0);
  BrStringT<char> ts[3] = {"x", "x", "x"};
  EXPECT_TRUE(cfg.GetValues(ts, 3, "L", "Trail"));
  EXPECT_EQ(ts[2].Length(), 0);
  EXPECT_FALSE(cfg.GetValues(trail, 2, "L", "Trail"));  // three values do not fit in two
  EXPECT_TRUE(cfg.GetNumValues("L", "Commas", n));
  EXPECT_EQ(n, 3);
}

TEST_F(BrCfgFileTest, OutputCopiesAreBounded) {
  std::string longValue(300, 'v');  // longer than a line: read as two lines
  BrCfgFile cfg;
  OpenText(cfg, "[S]\nShort=abcdefghij\nLong=" + longValue + "\nAfter=1\n");
  char small[8];
  std::memset(small, 'z', sizeof(small));
  EXPECT_TRUE(cfg.GetValue(small, int(sizeof(small)), "S", "Short"));
  EXPECT_STREQ(small, "abcdefg");
  char big[BrCfgFile::ciLineLen];
  EXPECT_TRUE(cfg.GetValue(big, "S", "Long"));
  EXPECT_EQ(std::strlen(big), size_t(BrCfgFile::ciLineLen - 1 - 5));  // the first 259-character piece, less "Long="
  EXPECT_EQ(Value(cfg, "S", "After"), "1");
  EXPECT_FALSE(cfg.GetValue(small, 0, "S", "Short"));

  char section[6];
  ASSERT_TRUE(cfg.SetPos(0));
  BrCfgFile longHeader;
  OpenText(longHeader, "[" + std::string(100, 'h') + "]\n", "long.cfg");
  EXPECT_TRUE(longHeader.GetNextSection(section, int(sizeof(section))));
  EXPECT_STREQ(section, "hhhhh");
}

TEST_F(BrCfgFileTest, GetNextSectionWalksHeadersBetweenQueries) {
  BrCfgFile cfg;
  ASSERT_TRUE(cfg.Open(Path("main.cfg").c_str(), 0x1000001));
  ASSERT_TRUE(cfg.SetPos(0));
  char name[BrCfgFile::ciLineLen];
  ASSERT_TRUE(cfg.GetNextSection(name));
  EXPECT_STREQ(name, "Engine");
  ASSERT_TRUE(cfg.GetNextSection(name));
  EXPECT_STREQ(name, "Render");
  int v = 0;
  EXPECT_TRUE(cfg.GetValue(v, "Display", "ScreenWidth"));
  EXPECT_FALSE(cfg.HasValue("Nope", "Nope"));
  ASSERT_TRUE(cfg.GetNextSection(name));
  EXPECT_STREQ(name, "Display");
  ASSERT_TRUE(cfg.GetNextSection(name));
  EXPECT_STREQ(name, "Game");
  EXPECT_FALSE(cfg.GetNextSection(name));
  EXPECT_FALSE(cfg.GetNextSection(nullptr));

  // Other text on a header line stays in the name; comments are skipped.
  BrCfgFile odd;
  OpenText(odd, "#[Hidden]\n[Sword] # sharp\nType=Weapon\n", "odd.cfg");
  ASSERT_TRUE(odd.GetNextSection(name));
  EXPECT_STREQ(name, "Sword # sharp");
}

TEST_F(BrCfgFileTest, ClosedFileAnswersFalse) {
  BrCfgFile cfg;
  char buf[BrCfgFile::ciLineLen];
  int i = 0;
  float f = 0;
  int n = 0;
  BrStringT<char> s;
  int list[2];
  EXPECT_FALSE(cfg.HasValue("Engine", "Safe"));
  EXPECT_FALSE(cfg.GetValue(buf, "Engine", "Safe"));
  EXPECT_FALSE(cfg.GetValue(s, "Engine", "Safe"));
  EXPECT_FALSE(cfg.GetValue(i, "Engine", "Safe"));
  EXPECT_FALSE(cfg.GetValue(f, "Engine", "Safe"));
  EXPECT_FALSE(cfg.GetNumValues("Engine", "Safe", n));
  EXPECT_FALSE(cfg.GetValues(list, 2, "Engine", "Safe"));
  EXPECT_FALSE(cfg.GetNextSection(buf));
}

// Queries answer from an index of the text, kept while the file's stamp holds: a file rewritten under an open
// handle (same size, other bytes) must still answer with what is on disk now, another handle on the same text
// must not be confused by the first, and a held text must stay as it was read until the file is opened again.
TEST_F(BrCfgFileTest, QueriesFollowTheFileOnDiskUnlessHeld) {
  BrCfgFile cfg;
  OpenText(cfg, "[A]\nKey=1\n[B]\nKey=2\n[A]\nOther=3\n");
  EXPECT_EQ(Value(cfg, "A", "Key"), "1");
  EXPECT_EQ(Value(cfg, "A", "Other"), "3");  // the second section of the same name
  Write("test.cfg", "[A]\nKey=7\n[B]\nKey=8\n[A]\nOther=9\n");
  EXPECT_EQ(Value(cfg, "A", "Key"), "7");
  EXPECT_EQ(Value(cfg, "B", "Key"), "8");

  BrCfgFile second;
  ASSERT_TRUE(second.Open(Path("test.cfg").c_str(), 0x1000001));
  second.HoldText();
  EXPECT_EQ(Value(second, "A", "Other"), "9");
  Write("test.cfg", "[A]\nKey=4\n");
  EXPECT_EQ(Value(second, "A", "Other"), "9");  // held
  EXPECT_EQ(Value(cfg, "A", "Other"), "<none>");
  EXPECT_EQ(Value(cfg, "A", "Key"), "4");
  ASSERT_TRUE(second.Open(Path("test.cfg").c_str(), 0x1000001));
  EXPECT_EQ(Value(second, "A", "Key"), "4");

  // Lines are cut as the line reader cuts them: a 0 byte ends what is read of a line, and a line longer than
  // 259 characters goes on as a line of its own, which may hold a key.
  std::string text = "[C]\nA=x";
  text += '\0';
  text += "junk\n# " + std::string(257, 'c') + "B=5\r\n[D]\n";
  BrCfgFile odd;
  OpenText(odd, text, "odd.cfg");
  EXPECT_EQ(Value(odd, "C", "A"), "x");
  EXPECT_EQ(Value(odd, "C", "B"), "5");
  char name[BrCfgFile::ciLineLen];
  ASSERT_TRUE(odd.GetNextSection(name));
  EXPECT_STREQ(name, "C");
  EXPECT_EQ(Value(odd, "C", "B"), "5");
  ASSERT_TRUE(odd.GetNextSection(name));
  EXPECT_STREQ(name, "D");
}
