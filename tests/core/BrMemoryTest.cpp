// Tests of the memory and C-string functions: unsigned comparisons, stripping, number text and bounded formatting.
#include "CoreTestKit.h"

#include <cstring>
#include <string>

namespace {

TEST(BrMemoryTest, HeapAndBlocks) {
  char* p = static_cast<char*>(brMalloc(16));
  ASSERT_NE(p, nullptr);
  EXPECT_EQ(brMemset(p, 0x141, 16), p);  // the low byte only
  EXPECT_EQ(static_cast<unsigned char>(p[15]), 0x41);
  char src[16];
  for (int i = 0; i < 16; ++i) src[i] = char(i);
  EXPECT_EQ(brMemCopy(p, src, 7), p);  // not a multiple of four
  EXPECT_EQ(p[6], 6);
  EXPECT_EQ(p[7], 0x41);
  brMemCopy(p, src, 0);
  brMemCopy(p, src, -3);
  brMemset(p, 0, -1);
  EXPECT_EQ(p[0], 0);
  brFree(p);
  brFree(nullptr);
}

TEST(BrMemoryTest, ComparisonsAreUnsigned) {
  const unsigned char a[] = {1, 2, 0x80};
  const unsigned char b[] = {1, 2, 0x7F};
  EXPECT_EQ(brMemComp(a, b, 3), 1);
  EXPECT_EQ(brMemComp(b, a, 3), -1);
  EXPECT_EQ(brMemComp(a, b, 2), 0);
  EXPECT_EQ(brMemComp(a, b, 0), 0);
  EXPECT_EQ(brStrcmp("\x80", "\x7F"), 1);
  EXPECT_EQ(brStrcmp("abc", "abd"), -1);
  EXPECT_EQ(brStrcmp("same", "same"), 0);
  EXPECT_EQ(brStrcmp("ab", "abc"), -1);
}

TEST(BrMemoryTest, CStringFunctions) {
  char s[] = "a-b--c";
  brStrStrip(s, '-');
  EXPECT_STREQ(s, "abc");
  char e[] = "";
  brStrStrip(e, '-');
  EXPECT_STREQ(e, "");
  char all[] = "---";
  brStrStrip(all, '-');
  EXPECT_STREQ(all, "");
  brStrStrip(nullptr, '-');

  EXPECT_EQ(brStrlen("four"), 4);
  EXPECT_EQ(brStrlen(""), 0);
  char buf[16] = "ab";
  EXPECT_EQ(brStrcat(buf, "cd"), buf);
  EXPECT_STREQ(buf, "abcd");
  EXPECT_STREQ(brStrstr(buf, "bc"), "bcd");
  EXPECT_EQ(brStrstr(buf, "x"), nullptr);
  char tok[] = "a,b";
  EXPECT_STREQ(brStrtok(tok, ","), "a");
  EXPECT_STREQ(brStrtok(nullptr, ","), "b");
}

TEST(BrMemoryTest, ItoAInEveryRadix) {
  char buf[40];
  EXPECT_STREQ(brItoA(0, buf, 10), "0");
  EXPECT_STREQ(brItoA(-123, buf, 10), "-123");
  EXPECT_STREQ(brItoA(INT32_MIN, buf, 10), "-2147483648");
  EXPECT_STREQ(brItoA(255, buf, 16), "ff");
  EXPECT_STREQ(brItoA(-1, buf, 16), "ffffffff");
  EXPECT_STREQ(brItoA(-1, buf, 2), std::string(32, '1').c_str());
  EXPECT_STREQ(brItoA(5, buf, 1), "");
}

TEST(BrMemoryTest, VarArgsAlwaysTerminates) {
  char buf[8];
  std::memset(buf, 'x', sizeof(buf));
  EXPECT_EQ(brVARARGS(buf, sizeof(buf), "%s", "0123456789"), 7);
  EXPECT_STREQ(buf, "0123456");
  EXPECT_EQ(brVARARGS(buf, sizeof(buf), "x=%i", 5), 3);
  EXPECT_STREQ(buf, "x=5");
  EXPECT_EQ(brVARARGS(buf, 1, "%d", 42), 0);
  EXPECT_STREQ(buf, "");
  EXPECT_EQ(brVARARGS(buf, 0, "%d", 42), 0);  // nothing written at all
  EXPECT_EQ(brVARARGS(nullptr, 8, "%d", 42), 0);
}

}  // namespace
