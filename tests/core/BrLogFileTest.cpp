// Tests of the log and the text file: the banner, line formats, the debug gate and cutting at 1023 characters.
#include "CoreTestKit.h"

#include <string>

using coretest::ReadFileBytes;
using coretest::WriteFileBytes;

namespace {

class BrLogFileTest : public coretest::ScratchTest {};

TEST_F(BrLogFileTest, BannerLinesAndDebugGate) {
  EXPECT_EQ(LogText(), "Brelmar Technology Application\n\n");
  EXPECT_TRUE(GLog.printf("x=%i", 5));
  EXPECT_TRUE(GLog.WriteLine("WARNING: plain"));
  EXPECT_FALSE(GLog.DebugWriteLine("DEBUG: hidden"));
  EXPECT_FALSE(GLog.DebugPrintf("DEBUG: %s", "hidden"));
  GIsDebug = true;
  EXPECT_TRUE(GLog.DebugWriteLine("DEBUG: shown"));
  EXPECT_TRUE(GLog.DebugPrintf("DEBUG: %d", 7));
  EXPECT_EQ(LogText(), "Brelmar Technology Application\n\nx=5\nWARNING: plain\nDEBUG: shown\nDEBUG: 7\n");
}

TEST_F(BrLogFileTest, LongMessagesAreCutAt1023Characters) {
  std::string longText(3000, 'a');
  EXPECT_TRUE(GLog.printf("%s", longText.c_str()));
  std::string log = LogText();
  std::string banner = "Brelmar Technology Application\n\n";
  ASSERT_EQ(log.size(), banner.size() + 1023 + 1);
  EXPECT_EQ(log.substr(banner.size()), std::string(1023, 'a') + "\n");
  // A plain line is not cut.
  EXPECT_TRUE(GLog.WriteLine(longText.c_str()));
  EXPECT_EQ(LogText().size(), banner.size() + 1024 + 3001);
}

TEST_F(BrLogFileTest, NothingIsWrittenBeforeInitAndInitEmptiesTheOldLog) {
  GLog.Close();
  EXPECT_FALSE(GLog.printf("lost %d", 1));
  EXPECT_FALSE(GLog.WriteLine("lost"));
  EXPECT_EQ(LogText(), "Brelmar Technology Application\n\n");
  ASSERT_TRUE(GLog.Init());
  EXPECT_EQ(LogText(), "Brelmar Technology Application\n\n");
  std::string full = GLog.GetFullPath();
  EXPECT_EQ(full, Folder() + "\\log.txt");
}

TEST_F(BrLogFileTest, AnsiFileLines) {
  WriteFileBytes("lines.txt", {'o', 'n', 'e', '\n', 't', 'w', 'o'});
  BrAnsiFile file("lines.txt", eFileSystem | eFileReadWrite);
  ASSERT_TRUE(file.IsValid());
  char buf[8];
  EXPECT_TRUE(file.ReadLine(buf, sizeof(buf)));
  EXPECT_STREQ(buf, "one\n");
  EXPECT_TRUE(file.ReadLine(buf, 3));  // at most n-1 characters
  EXPECT_STREQ(buf, "tw");
  EXPECT_TRUE(file.ReadLine(buf, sizeof(buf)));
  EXPECT_STREQ(buf, "o");
  EXPECT_FALSE(file.ReadLine(buf, sizeof(buf)));
  EXPECT_FALSE(file.ReadLine(nullptr, 8));

  BrAnsiFile missing;
  EXPECT_FALSE(missing.Open("missing/none.txt", eFileSystem | eFileReadWrite));
  EXPECT_FALSE(missing.IsValid());
  EXPECT_FALSE(missing.WriteLine("x"));
  EXPECT_FALSE(missing.printf("%d", 1));
  EXPECT_FALSE(missing.ReadLine(buf, sizeof(buf)));

  BrAnsiFile out("new.txt", eFileSystem | eFileCreate);
  ASSERT_TRUE(out.IsValid());
  EXPECT_TRUE(out.printf("a=%s", "b"));
  EXPECT_TRUE(out.WriteLine(""));
  EXPECT_TRUE(out.Close());
  EXPECT_FALSE(out.Close());
  EXPECT_EQ(ReadFileBytes("new.txt"), (std::vector<uint8_t>{'a', '=', 'b', '\n', '\n'}));
}

}  // namespace
