// Tests of BrBin: byte-exact forms, the "GINF" header and its versions, and clean failure on short or hostile files.
#include "CoreTestKit.h"

#include <cstring>

#include "templates/templates.h"

using coretest::PutInt32;
using coretest::PutText;
using coretest::ReadFileBytes;
using coretest::WriteFileBytes;

namespace {

class BrBinTest : public coretest::ScratchTest {
protected:
  // A loading archive on path.
  void OpenLoading(BrBin& bin, const char* path, bool expectOpen = true) {
    bin.Loading(false);
    EXPECT_EQ(bin.Open(path, eFileSystem | eFileReadWrite), expectOpen);
  }
};

TEST_F(BrBinTest, SavedFormsAreByteExact) {
  {
    BrBin bin(BrStringT<char>("save.gin"));
    ASSERT_TRUE(bin.IsValid());
    EXPECT_TRUE(bin.IsSaving());
    EXPECT_EQ(bin.GetVersion(), 269);
    char tag[4] = {'G', 'I', 'N', 'F'};
    int32_t version = int32_t(GEngineVer);
    bool flag = true;
    BrStringT<char> ab("ab");
    BrStringT<char> empty;
    uint16_t word = 0x1234;
    float one = 1.0f;
    bin.Stream(tag, 1, 4);
    bin << version << flag << ab << empty << word << one;
    EXPECT_FALSE(bin.HasFailed());
  }
  std::vector<uint8_t> expected;
  PutText(expected, "GINF");
  PutInt32(expected, 269);
  expected.push_back(1);
  PutInt32(expected, 2);
  PutText(expected, "ab");
  expected.push_back(0);
  PutInt32(expected, 0);
  expected.push_back(0x34);
  expected.push_back(0x12);
  PutInt32(expected, 0x3F800000);
  EXPECT_EQ(ReadFileBytes("save.gin"), expected);
}

TEST_F(BrBinTest, VersionHeaderBranches) {
  // "GINF" and 266: the version is the file's and reading goes on after the header.
  std::vector<uint8_t> bytes;
  PutText(bytes, "GINF");
  PutInt32(bytes, 266);
  PutInt32(bytes, 77);
  WriteFileBytes("v266.gin", bytes);
  {
    BrBin bin;
    OpenLoading(bin, "v266.gin");
    EXPECT_EQ(bin.GetVersion(), 266);
    int32_t v = 0;
    bin << v;
    EXPECT_EQ(v, 77);
    EXPECT_FALSE(bin.HasFailed());
    EXPECT_EQ(bin.BytesLeft(), 0);
  }
  // No header: version 262 and the first field is read from the first byte.
  bytes.clear();
  PutInt32(bytes, 1234);
  WriteFileBytes("old.gin", bytes);
  {
    BrBin bin;
    OpenLoading(bin, "old.gin");
    EXPECT_EQ(bin.GetVersion(), 262);
    int32_t v = 0;
    bin << v;
    EXPECT_EQ(v, 1234);
    EXPECT_FALSE(bin.HasFailed());
  }
  // A version field of 0 keeps the engine's version.
  bytes.clear();
  PutText(bytes, "GINF");
  PutInt32(bytes, 0);
  WriteFileBytes("zero.gin", bytes);
  {
    BrBin bin;
    OpenLoading(bin, "zero.gin");
    EXPECT_EQ(bin.GetVersion(), 269);
  }
  // So does a negative one, and the fields after the header are read as usual.
  bytes.clear();
  PutText(bytes, "GINF");
  PutInt32(bytes, -3);
  PutInt32(bytes, 5);
  WriteFileBytes("negative.gin", bytes);
  {
    BrBin bin;
    OpenLoading(bin, "negative.gin");
    EXPECT_EQ(bin.GetVersion(), 269);
    int32_t v = 0;
    bin << v;
    EXPECT_EQ(v, 5);
    EXPECT_FALSE(bin.HasFailed());
  }
  // A file shorter than the tag is headerless (version 262); its first read then falls short.
  WriteFileBytes("tiny.gin", {'G', 'I'});
  {
    BrBin bin;
    OpenLoading(bin, "tiny.gin");
    EXPECT_EQ(bin.GetVersion(), 262);
    EXPECT_EQ(bin.BytesLeft(), 2);
    int32_t v = -1;
    bin << v;
    EXPECT_TRUE(bin.HasFailed());
  }
}

TEST_F(BrBinTest, BadHeadersFailTheOpen) {
  // A version from a newer engine cannot be read: its layout is unknown.
  std::vector<uint8_t> bytes;
  PutText(bytes, "GINF");
  PutInt32(bytes, 270);
  WriteFileBytes("future.gin", bytes);
  {
    BrBin bin;
    OpenLoading(bin, "future.gin", false);
    EXPECT_TRUE(bin.HasFailed());
    EXPECT_FALSE(bin.IsValid());
    int32_t v = 5;
    EXPECT_FALSE(bin.Stream(&v, 4, 1));
    EXPECT_EQ(v, 0);
  }
  // The tag followed by fewer than four bytes ends inside the header.
  WriteFileBytes("cut.gin", {'G', 'I', 'N', 'F', 1, 1});
  {
    BrBin bin;
    OpenLoading(bin, "cut.gin", false);
    EXPECT_TRUE(bin.HasFailed());
  }
  EXPECT_NE(LogText().find("newer than this engine's 269"), std::string::npos);
  EXPECT_NE(LogText().find("ends inside its version header"), std::string::npos);
}

TEST_F(BrBinTest, OpenFailuresAreLogged) {
  BrBin loader;
  OpenLoading(loader, "missing.gin", false);
  BrBin saver;
  EXPECT_FALSE(saver.Open("no_such_folder/x.gin", 0));
  std::string log = LogText();
  EXPECT_NE(log.find("Failed to open missing.gin binary for must exist loading"), std::string::npos);
  EXPECT_NE(log.find("Failed to create no_such_folder/x.gin binary with destroy if exist access"), std::string::npos);
}

TEST_F(BrBinTest, ShortReadsFailStickyAndZeroFill) {
  WriteFileBytes("short.bin", {1, 2, 3, 4, 5, 6});
  BrBin bin;
  OpenLoading(bin, "short.bin");
  int32_t first = 0;
  EXPECT_TRUE(bin.Stream(&first, 4, 1));
  EXPECT_EQ(first, 0x04030201);
  EXPECT_FALSE(bin.HasFailed());
  int32_t second = -1;
  EXPECT_FALSE(bin.Stream(&second, 4, 1));
  EXPECT_EQ(second, 0x0605);  // the two bytes there, the rest zero-filled
  EXPECT_TRUE(bin.HasFailed());
  // Sticky: nothing more is read, even where the file would have bytes after a seek back.
  bin.SetPos(0);
  int32_t third = -1;
  EXPECT_FALSE(bin.Stream(&third, 4, 1));
  EXPECT_EQ(third, 0);
  bin.ClearFailed();
  EXPECT_TRUE(bin.Stream(&third, 4, 1));
  EXPECT_EQ(third, 0x04030201);
  // Negative sizes and counts are refused.
  EXPECT_FALSE(bin.Stream(&third, -4, 1));
  EXPECT_TRUE(bin.HasFailed());
  EXPECT_NE(LogText().find("read 2 of 4 bytes"), std::string::npos);
}

TEST_F(BrBinTest, WriteThatFailsOnlyAtCloseIsReported) {
  // A full disk: the bytes fit the stream's buffer, so only the close finds there is no room.
  BrBin full;
  ASSERT_TRUE(full.Open("/dev/full", 0));
  int32_t v = 7;
  EXPECT_TRUE(full.Stream(&v, 4, 1));
  EXPECT_FALSE(full.Close());
  EXPECT_TRUE(full.HasFailed());
  EXPECT_NE(LogText().find("ERROR: BrBin::Close() could not write the archive's last bytes"), std::string::npos);

  BrBin ok;
  ASSERT_TRUE(ok.Open("ok.bin", 0));
  EXPECT_TRUE(ok.Stream(&v, 4, 1));
  EXPECT_TRUE(ok.Close());
  EXPECT_FALSE(ok.HasFailed());
}

TEST_F(BrBinTest, ClosedArchiveReportsFailure) {
  BrBin bin;
  int32_t v = 9;
  EXPECT_FALSE(bin.Stream(&v, 4, 1));  // saving into nothing
  EXPECT_TRUE(bin.HasFailed());
  EXPECT_EQ(v, 9);
  bin.ClearFailed();
  bin.Loading(false);
  EXPECT_FALSE(bin.Stream(&v, 4, 1));
  EXPECT_EQ(v, 0);
  EXPECT_EQ(bin.BytesLeft(), 0);
  EXPECT_FALSE(bin.CheckCount(1, 1));
}

TEST_F(BrBinTest, CheckCountBoundsByBytesLeft) {
  std::vector<uint8_t> bytes(10, 0);
  WriteFileBytes("ten.bin", bytes);
  {
    BrBin bin;
    OpenLoading(bin, "ten.bin");
    EXPECT_EQ(bin.BytesLeft(), 10);
    EXPECT_TRUE(bin.CheckCount(0, 4));
    EXPECT_TRUE(bin.CheckCount(10, 1));
    EXPECT_TRUE(bin.CheckCount(2, 5));
    EXPECT_TRUE(bin.CheckCount(10, 0));  // taken as one byte each
    EXPECT_FALSE(bin.CheckCount(3, 4));
    EXPECT_TRUE(bin.HasFailed());
  }
  for (int64_t bad : {int64_t(-1), int64_t(INT32_MIN), BrBin::ciMaxCount + 1}) {
    BrBin bin;
    OpenLoading(bin, "ten.bin");
    EXPECT_FALSE(bin.CheckCount(bad, 1)) << bad;
    EXPECT_TRUE(bin.HasFailed());
  }
  {
    // A huge element size cannot overflow the check.
    BrBin bin;
    OpenLoading(bin, "ten.bin");
    EXPECT_FALSE(bin.CheckCount(BrBin::ciMaxCount, INT64_MAX / 2));
  }
  {
    // Saving is not bounded by the file, only by sense.
    BrBin bin(BrStringT<char>("out.bin"));
    EXPECT_TRUE(bin.CheckCount(1000000, 8));
    EXPECT_FALSE(bin.CheckCount(-1, 1));
  }
}

TEST_F(BrBinTest, HostileStringAndArrayLengthsFailCleanly) {
  struct Case {
    const char* name;
    std::vector<uint8_t> bytes;
  };
  std::vector<Case> cases;
  std::vector<uint8_t> b;
  PutInt32(b, -5);
  cases.push_back({"negative.bin", b});
  b.clear();
  PutInt32(b, 0x7FFFFFFF);
  PutText(b, "abc");
  cases.push_back({"huge.bin", b});
  b.clear();
  PutInt32(b, 10);
  PutText(b, "abc");
  cases.push_back({"truncated.bin", b});
  b.clear();
  PutInt32(b, 3);
  PutText(b, "abc");  // no room for the terminator
  cases.push_back({"noterminator.bin", b});
  for (const Case& c : cases) {
    WriteFileBytes(c.name, c.bytes);
    BrBin bin;
    OpenLoading(bin, c.name);
    BrStringT<char> s("old");
    s.Serialize(bin);
    EXPECT_TRUE(bin.HasFailed()) << c.name;
    EXPECT_EQ(s.Length(), 0) << c.name;
    EXPECT_EQ(s.c_str(), nullptr) << c.name;
  }
  // An array whose count exceeds its capacity, and one whose capacity exceeds the file.
  b.clear();
  PutInt32(b, 2);
  PutInt32(b, 5);
  PutInt32(b, 1);
  PutInt32(b, 2);
  WriteFileBytes("inconsistent.bin", b);
  b.clear();
  PutInt32(b, 1 << 27);
  PutInt32(b, 1);
  PutInt32(b, 7);
  WriteFileBytes("capacity.bin", b);
  for (const char* name : {"inconsistent.bin", "capacity.bin"}) {
    BrBin bin;
    OpenLoading(bin, name);
    TDArray<int32_t> a;
    a.Serialize(bin);
    EXPECT_TRUE(bin.HasFailed()) << name;
    EXPECT_EQ(a.GetCount(), 0) << name;
  }
}

TEST_F(BrBinTest, StringTerminatorIsForced) {
  std::vector<uint8_t> b;
  PutInt32(b, 2);
  PutText(b, "abX");  // a file that stores 'X' where the terminator belongs
  WriteFileBytes("term.bin", b);
  BrBin bin;
  OpenLoading(bin, "term.bin");
  BrStringT<char> s;
  s.Serialize(bin);
  EXPECT_FALSE(bin.HasFailed());
  ASSERT_NE(s.c_str(), nullptr);
  EXPECT_STREQ(s.c_str(), "ab");
}

TEST_F(BrBinTest, SaveThenLoadTheSameArchive) {
  BrBin bin(BrStringT<char>("round.bin"));
  int32_t a = 42;
  BrStringT<char> s("name");
  bin << a << s;
  bin.Loading(false);
  EXPECT_TRUE(bin.IsLoading());
  EXPECT_EQ(bin.BytesLeft(), 4 + 4 + 5);
  int32_t a2 = 0;
  BrStringT<char> s2;
  bin << a2 << s2;
  EXPECT_EQ(a2, 42);
  EXPECT_TRUE(s2 == s);
  EXPECT_EQ(bin.BytesLeft(), 0);
  EXPECT_FALSE(bin.HasFailed());
  // Reopening for saving empties the file.
  bin.Saving(false);
  ASSERT_TRUE(bin.Open("round.bin", 0));
  bin.Close();
  EXPECT_TRUE(ReadFileBytes("round.bin").empty());
}

}  // namespace
