// Tests of BrFileReader: whole-file reads, random access inside the bytes only, and saving count bytes.
#include "CoreTestKit.h"

#include <climits>

using coretest::ReadFileBytes;
using coretest::WriteFileBytes;

namespace {

class BrFileReaderTest : public coretest::ScratchTest {};

TEST_F(BrFileReaderTest, ReadsEveryByteForRandomAccess) {
  std::vector<uint8_t> bytes;
  for (int i = 0; i < 70000; ++i)  // more than one read chunk
    bytes.push_back(uint8_t(i * 7));
  WriteFileBytes("data.bin", bytes);
  BrFileReader reader;
  ASSERT_TRUE(reader.Open("DATA.BIN", 0));  // through the path layer
  reader.Loading(true);
  EXPECT_EQ(reader.GetSize(), 70000u);
  unsigned char out[4] = {};
  EXPECT_TRUE(reader.Stream(out, 4, 69996));
  EXPECT_EQ(out[0], uint8_t(69996 * 7));
  EXPECT_EQ(out[3], uint8_t(69999 * 7));
  EXPECT_TRUE(reader.Stream(out, 2, 0));  // no cursor: any order
  EXPECT_EQ(out[1], 7);
  EXPECT_EQ(reader.GetByte(65536), uint8_t(65536 * 7));
  EXPECT_EQ(reader.GetByte(70000), 0);
  EXPECT_FALSE(reader.HasFailed());
}

TEST_F(BrFileReaderTest, NeverReadsPastItsBytes) {
  WriteFileBytes("small.bin", {1, 2, 3, 4});
  BrFileReader reader;
  ASSERT_TRUE(reader.Open("small.bin", 0));
  reader.Loading(true);
  unsigned char out[8];
  std::fill(out, out + 8, 0xEE);
  EXPECT_FALSE(reader.Stream(out, 5, 0));  // one byte too many
  for (int i = 0; i < 5; ++i) EXPECT_EQ(out[i], 0) << i;
  EXPECT_EQ(out[5], 0xEE);
  EXPECT_TRUE(reader.HasFailed());
  EXPECT_FALSE(reader.Stream(out, 1, 4));         // just past the end
  EXPECT_FALSE(reader.Stream(out, 2, UINT_MAX));  // position + count wraps around
  // Random access stays usable: an in-range read still delivers.
  EXPECT_TRUE(reader.Stream(out, 4, 0));
  EXPECT_EQ(out[3], 4);
  EXPECT_NE(LogText().find("lie outside the 4 bytes"), std::string::npos);
}

TEST_F(BrFileReaderTest, EmptyAndMissingFiles) {
  WriteFileBytes("empty.bin", {});
  BrFileReader reader;
  ASSERT_TRUE(reader.Open("empty.bin", 0));
  reader.Loading(true);
  EXPECT_EQ(reader.GetSize(), 0u);
  unsigned char c = 9;
  EXPECT_FALSE(reader.Stream(&c, 1, 0));
  EXPECT_EQ(c, 0);

  BrFileReader missing;
  EXPECT_FALSE(missing.Open("missing.tga", 0));
  EXPECT_NE(LogText().find("Failed to open missing.tga binary for must exist loading"), std::string::npos);
}

TEST_F(BrFileReaderTest, SavingWritesCountBytes) {
  BrFileReader writer;
  ASSERT_TRUE(writer.BrBin::Open("out.bin", 0));  // a saving archive
  unsigned char data[3] = {9, 8, 7};
  EXPECT_TRUE(writer.Stream(data, 3, 1000));  // the position means nothing when saving
  writer.Close();
  EXPECT_EQ(ReadFileBytes("out.bin"), (std::vector<uint8_t>{9, 8, 7}));
}

}  // namespace
