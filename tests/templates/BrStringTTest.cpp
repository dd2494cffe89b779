// Tests of the string: value semantics, the text operations the configuration readers rely on, and their
// logged edge cases.
#include <gtest/gtest.h>

#include <cstring>

#include "tests/templates/TemplateTestKit.h"

using Str = BrStringT<char>;
using brtest::LogCapture;

TEST(BrStringT, EmptyStringsHaveNoBufferAndCompareEqual) {
  Str a, b(""), c(static_cast<const char*>(nullptr));
  for (const Str* s : {&a, &b, &c}) {
    EXPECT_EQ(0, s->Length());
    EXPECT_EQ(nullptr, s->c_str());
  }
  EXPECT_TRUE(a == b);
  EXPECT_TRUE(b == c);
  EXPECT_FALSE(Str("a") == Str("ab"));
  EXPECT_FALSE(Str("ab") == Str("AB"));
  EXPECT_TRUE(Str("ab") != Str("AB"));
  EXPECT_TRUE(Str("ab") == Str("ab"));

  // Copies of an empty string stay without a buffer; copies of text own a fresh one.
  Str fromEmpty(a);
  EXPECT_EQ(nullptr, fromEmpty.c_str());
  Str text("hello");
  Str copy(text);
  EXPECT_NE(text.c_str(), copy.c_str());
  EXPECT_STREQ("hello", copy.c_str());
  copy = a;
  EXPECT_EQ(nullptr, copy.c_str());
  EXPECT_EQ(0, copy.Length());
}

TEST(BrStringT, AssignmentAndConcatenationIncludingSelfReference) {
  Str s("abc");
  s = s;
  EXPECT_STREQ("abc", s.c_str());

  s += s;
  EXPECT_EQ(6, s.Length());
  EXPECT_STREQ("abcabc", s.c_str());

  Str empty;
  empty += Str("x");
  EXPECT_STREQ("x", empty.c_str());
  empty += Str();
  EXPECT_STREQ("x", empty.c_str());

  Str chars;
  chars += 'a';
  chars += 'b';
  EXPECT_EQ(2, chars.Length());
  EXPECT_STREQ("ab", chars.c_str());

  EXPECT_STREQ("fooBM.dat", (Str("foo") + "BM.dat").c_str());
  EXPECT_STREQ("Saves\\x.gin", ("Saves\\" + Str("x") + ".gin").c_str());
  EXPECT_STREQ("right", (Str() + Str("right")).c_str());
  EXPECT_STREQ("left", (Str("left") + Str()).c_str());
  EXPECT_EQ(nullptr, (Str() + Str()).c_str());
  EXPECT_STREQ("x", (static_cast<const char*>(nullptr) + Str("x")).c_str());

  EXPECT_EQ(42, Str("42abc").ToInt());
  EXPECT_EQ(-7, Str("-7").ToInt());
  EXPECT_EQ(0, Str().ToInt());
}

TEST(BrStringT, SubstringBoundsAreLoggedAndGiveEmpty) {
  const Str abc("abc");
  EXPECT_STREQ("bc", abc(1, 5).c_str());
  EXPECT_STREQ("b", abc(1, 1).c_str());
  EXPECT_STREQ("abc", abc(0, 3).c_str());

  {
    LogCapture log;
    EXPECT_EQ(nullptr, abc(3, 1).c_str());
    EXPECT_TRUE(
        log.Saw("WARNING: BrStringT operator() accessed substring out of bounds: iStartIDX = 3, "
                "iAbsGrabLen = 1, iLen = 3\n"));
  }
  {
    LogCapture log;
    EXPECT_EQ(nullptr, abc(-1, 2).c_str());
    EXPECT_EQ(nullptr, Str()(0, 1).c_str());
    EXPECT_TRUE(log.Saw("iStartIDX = -1, iAbsGrabLen = 2, iLen = 3"));
    EXPECT_TRUE(log.Saw("iStartIDX = 0, iAbsGrabLen = 1, iLen = 0"));
  }
  {
    LogCapture log;
    EXPECT_EQ(nullptr, abc(0, 0).c_str());
    EXPECT_TRUE(log.Saw("WARNING: Retrieved null substring!\n"));
  }
  {
    LogCapture log;
    EXPECT_EQ(nullptr, abc(0, -2).c_str());
    EXPECT_TRUE(log.Saw("WARNING: BrStringT operator() accessed zero/negative length substring\n"));
  }
  // A grab length that would overflow start + length is still cut to the end.
  EXPECT_STREQ("c", abc(2, 0x7FFFFFFF).c_str());
}

TEST(BrStringT, CommaSearchAndCountsRespectBrackets) {
  EXPECT_EQ(6, Str("f(a,b),c").FindCommaOutsideBrackets(0));
  EXPECT_EQ(1, Str("a,b,c").FindCommaOutsideBrackets(0));
  EXPECT_EQ(3, Str("a,b,c").FindCommaOutsideBrackets(2));
  EXPECT_EQ(-1, Str("a,b").FindCommaOutsideBrackets(2));
  EXPECT_EQ(-1, Str("ab,").FindCommaOutsideBrackets(0));  // the last character is never examined
  EXPECT_EQ(-1, Str(",").FindCommaOutsideBrackets(0));
  EXPECT_EQ(-1, Str("a,b").FindCommaOutsideBrackets(-1));
  EXPECT_EQ(-1, Str("a,b").FindCommaOutsideBrackets(4));
  EXPECT_EQ(-1, Str().FindCommaOutsideBrackets(0));
  // Depth is counted from index 0 even when the search starts inside a bracket.
  EXPECT_EQ(8, Str("f(a,b,c),d").FindCommaOutsideBrackets(4));

  EXPECT_EQ(1, Str("f(a,b),c").NumOccurOutsideBrackets(','));
  EXPECT_EQ(2, Str("1,2,").NumOccurOutsideBrackets(','));
  EXPECT_EQ(3, Str("1,2,").NumOccur(',') + Str("x").NumOccur('x'));
  EXPECT_EQ(1, Str("abc").NumOccur('\0'));  // the terminator is counted

  GIsDebug = true;
  {
    LogCapture log;
    EXPECT_EQ(0, Str().NumOccur(','));
    EXPECT_EQ(0, Str().NumOccurOutsideBrackets(','));
    EXPECT_TRUE(log.Saw("WARNING: BrString::NumOccur(...) called on an empty sring\n"));
    EXPECT_TRUE(log.Saw("WARNING: BrString::NumOccurOutsideBrackets(...) called on an empty sring\n"));
  }
  GIsDebug = false;
  {
    LogCapture log;
    EXPECT_EQ(0, Str().NumOccur(','));
    EXPECT_FALSE(log.Saw("NumOccur"));
  }
}

TEST(BrStringT, FindStaysInsideTheText) {
  const Str s("hello world");
  EXPECT_EQ(0, s.Find(Str("hello"), 0));
  EXPECT_EQ(6, s.Find(Str("world"), 0));
  EXPECT_EQ(6, s.Find(Str("world"), 6));
  EXPECT_EQ(-1, s.Find(Str("world"), 7));
  EXPECT_EQ(-1, s.Find(Str("worlds"), 0));
  EXPECT_EQ(-1, s.Find(Str("x"), -1));
  EXPECT_EQ(-1, s.Find(Str("x"), 12));
  EXPECT_EQ(10, s.Find(Str("d"), 0));
  EXPECT_EQ(-1, s.Find(Str("hello world!"), 0));
  // An empty text holds no pattern and must not be read.
  EXPECT_EQ(-1, Str().Find(Str("a"), 0));
}

TEST(BrStringT, TokenCutAndReplace) {
  const Str hello("hello");
  Str out("old");
  EXPECT_TRUE(brGetSubString(hello, out, 1, 3));
  EXPECT_STREQ("ell", out.c_str());
  EXPECT_TRUE(brGetSubString(hello, out, 3, 1));
  EXPECT_EQ(nullptr, out.c_str());
  out = "old";
  EXPECT_FALSE(brGetSubString(hello, out, -1, 2));
  EXPECT_EQ(nullptr, out.c_str());
  EXPECT_FALSE(brGetSubString(hello, out, 0, 6));
  {
    // Reaching the terminator position is logged and adds nothing.
    LogCapture log;
    EXPECT_TRUE(brGetSubString(hello, out, 3, 5));
    EXPECT_STREQ("lo", out.c_str());
    EXPECT_TRUE(log.Saw("iStartIDX = 5, iAbsGrabLen = 1, iLen = 5"));
  }
  Str self("hello");
  EXPECT_TRUE(brGetSubString(self, self, 1, 2));
  EXPECT_STREQ("el", self.c_str());

  Str replaced;
  EXPECT_TRUE(brStrReplace(Str("font.tga"), ".tga", "BM.dat", replaced));
  EXPECT_STREQ("fontBM.dat", replaced.c_str());
  EXPECT_TRUE(brStrReplace(Str("a.tga.tga"), ".tga", "X", replaced));
  EXPECT_STREQ("aX.tga", replaced.c_str());
  EXPECT_TRUE(brStrReplace(Str(".tga"), ".tga", "", replaced));
  EXPECT_EQ(nullptr, replaced.c_str());
  replaced = "keep";
  EXPECT_FALSE(brStrReplace(Str("font.bmp"), ".tga", "BM.dat", replaced));
  EXPECT_STREQ("keep", replaced.c_str());
  // An empty pattern is no occurrence: a replace-until-false loop must end.
  EXPECT_FALSE(brStrReplace(Str("abc"), "", "x", replaced));
  EXPECT_STREQ("keep", replaced.c_str());

  Str path("a-b-c");
  int rounds = 0;
  while (brStrReplace(path, "-", "/", path) && rounds < 10) ++rounds;
  EXPECT_EQ(2, rounds);
  EXPECT_STREQ("a/b/c", path.c_str());
}
