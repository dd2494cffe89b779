// Tests of the arrays, the linked list and the hash table: growth, bounds, copies and the fatal paths.
#include <gtest/gtest.h>

#include <climits>
#include <cmath>
#include <cstring>

#include "tests/templates/TemplateTestKit.h"

using Str = BrStringT<char>;
using brtest::LogCapture;

TEST(TDArray, GrowsToTwiceCapacityPlusOneAndTrims) {
  TDArray<int32_t> a;
  EXPECT_EQ(0, a.GetCapacity());
  const int expectedCapacity[] = {1, 3, 3, 7, 7};
  for (int i = 0; i < 5; ++i) {
    EXPECT_EQ(i, a.Add(10 * i));
    EXPECT_EQ(expectedCapacity[i], a.GetCapacity());
  }
  EXPECT_EQ(5, a.GetCount());
  EXPECT_EQ(8, a.FreeExtra());
  EXPECT_EQ(5, a.GetCapacity());
  EXPECT_EQ(0, a.FreeExtra());
  for (int i = 0; i < 5; ++i) EXPECT_EQ(10 * i, a[i]);
  a.Add(50);
  EXPECT_EQ(11, a.GetCapacity());

  a.Grow(-100);  // never below the count
  EXPECT_EQ(6, a.GetCapacity());
  EXPECT_EQ(50, a[5]);

  a.Clear();
  EXPECT_EQ(0, a.GetCapacity());
  EXPECT_EQ(0, a.GetCount());
  EXPECT_EQ(0, a.FreeExtra());
}

TEST(TDArray, OutOfBoundsIndexIsLoggedAndTouchesNothing) {
  TDArray<int32_t> a;
  for (int i = 0; i < 5; ++i) a.Add(i + 1);
  {
    LogCapture log;
    a[5] = 99;  // inside the block (capacity 7), but not a used place
    a[-1] = 98;
    a[1000000] = 97;
    EXPECT_TRUE(log.Saw("WARNING: Accessed TDArray out of bounds 5/5\n"));
    EXPECT_TRUE(log.Saw("WARNING: Accessed TDArray out of bounds -1/5\n"));
    EXPECT_TRUE(log.Saw("WARNING: Accessed TDArray out of bounds 1000000/5\n"));
  }
  for (int i = 0; i < 5; ++i) EXPECT_EQ(i + 1, a[i]);
  // The spare place reads as a fresh value each time, whatever was written to it.
  EXPECT_EQ(0, a[7]);
  a.Add(6);
  EXPECT_EQ(6, a[5]);

  TDArray<Str> empty;
  EXPECT_EQ(nullptr, empty[0].c_str());
  empty[0] = "written";
  EXPECT_EQ(nullptr, empty[0].c_str());
}

TEST(TDArray, CopiesOwnTheirElementsAndAddMayTakeAnOwnElement) {
  TDArray<Str> names;
  names.Add(Str("alpha"));
  names.Add(Str("beta"));
  names.Add(Str("gamma"));  // capacity 3, full
  // Growing frees the block that holds the argument: the copy must be taken first.
  EXPECT_EQ(3, names.Add(names[0]));
  EXPECT_STREQ("alpha", names[3].c_str());

  TDArray<Str> copy(names);
  EXPECT_EQ(names.GetCapacity(), copy.GetCapacity());
  EXPECT_EQ(4, copy.GetCount());
  copy[0] = "changed";
  EXPECT_STREQ("alpha", names[0].c_str());

  TDArray<Str> assigned;
  assigned.Add(Str("old"));
  assigned = names;
  EXPECT_EQ(4, assigned.GetCount());
  EXPECT_STREQ("gamma", assigned[2].c_str());
  assigned = assigned;
  EXPECT_STREQ("beta", assigned[1].c_str());

  TDArray<Str> none;
  TDArray<Str> noneCopy(none);
  EXPECT_EQ(0, noneCopy.GetCapacity());
  names = none;
  EXPECT_EQ(0, names.GetCapacity());
}

TEST(TSArray, SizesAndCopies) {
  TSArray<int32_t> a(4);
  EXPECT_EQ(4, a.GetSize());
  for (int i = 0; i < 4; ++i) EXPECT_EQ(0, a[i]);  // made value-initialised
  a[3] = 7;
  TSArray<int32_t> b(a);
  b[3] = 8;
  EXPECT_EQ(7, a[3]);
  TSArray<int32_t> c;
  EXPECT_EQ(0, c.GetSize());
  c = a;
  EXPECT_EQ(4, c.GetSize());
  EXPECT_EQ(7, c[3]);
  c = c;
  EXPECT_EQ(7, c[3]);
  a.SetSize(0);
  EXPECT_EQ(0, a.GetSize());
  a.SetSize(-3);
  EXPECT_EQ(0, a.GetSize());
}

TEST(ContainersDeathTest, FatalConditionsEndWithExitCodeOne) {
  ::testing::FLAGS_gtest_death_test_style = "fast";
  {
    LogCapture log;
    TSArray<int32_t> a(97);
    EXPECT_EXIT(a[-1], ::testing::ExitedWithCode(1), "");
    EXPECT_TRUE(log.Saw("WARNING: Accessed array out of bounds: -1/[0-96]\n"));
  }
  {
    LogCapture log;
    TSArray<int32_t> a(97);
    EXPECT_EXIT(a[97], ::testing::ExitedWithCode(1), "");
    EXPECT_TRUE(log.Saw("WARNING: Accessed array out of bounds: 97/[0-96]\n"));
  }
  {
    // A growth past what a 32-bit count can hold is an allocation that cannot succeed.
    LogCapture log;
    TDArray<int32_t> a;
    a.Add(1);
    EXPECT_EXIT(a.Grow(INT_MAX), ::testing::ExitedWithCode(1), "");
    EXPECT_TRUE(log.Saw("Failed to allocate 2147483647 extra elements of size 4 bytes each during TDArray growth\n"));
  }
}

TEST(TDLinkedList, LinksStayConsistentThroughRemovals) {
  TDLinkedList<int32_t> l;
  l.Append(1);
  l.Append(2);
  l.Append(3);
  ASSERT_EQ(3, l.GetCount());
  l.RemoveValue(2);
  ASSERT_EQ(2, l.GetCount());
  ASSERT_NE(nullptr, l.GetHead());
  EXPECT_EQ(1, l.GetHead()->element);
  EXPECT_EQ(3, l.GetTail()->element);
  EXPECT_EQ(l.GetTail(), l.GetHead()->next);
  EXPECT_EQ(l.GetHead(), l.GetTail()->prev);
  EXPECT_EQ(nullptr, l.GetHead()->prev);
  EXPECT_EQ(nullptr, l.GetTail()->next);

  l.Remove(l.GetTail());
  EXPECT_EQ(l.GetHead(), l.GetTail());
  EXPECT_EQ(nullptr, l.GetHead()->next);
  l.Remove(l.GetHead());
  EXPECT_EQ(nullptr, l.GetHead());
  EXPECT_EQ(nullptr, l.GetTail());
  EXPECT_EQ(0, l.GetCount());
  l.Remove(nullptr);
  EXPECT_EQ(0, l.GetCount());

  // Removing the only node, then appending again, starts a fresh chain.
  l.Append(9);
  EXPECT_EQ(l.GetHead(), l.GetTail());

  TDLinkedList<int32_t> dup;
  dup.Append(5);
  dup.Append(7);
  dup.Append(5);
  dup.RemoveValue(5);
  EXPECT_EQ(2, dup.GetCount());
  EXPECT_EQ(7, dup[0]);
  EXPECT_EQ(5, dup[1]);
  EXPECT_TRUE(dup.Contains(5));
  dup.RemoveValue(42);
  EXPECT_EQ(2, dup.GetCount());
  EXPECT_FALSE(TDLinkedList<int32_t>().Contains(0));

  // A node of another list is refused: both lists keep their nodes, ends and counts.
  LogCapture log;
  dup.Remove(l.GetHead());
  EXPECT_EQ(2, dup.GetCount());
  EXPECT_EQ(1, l.GetCount());
  EXPECT_EQ(9, l.GetHead()->element);
  EXPECT_TRUE(log.Saw("WARNING: TDLinkedList::Remove(..) refused a node that is not in this list\n"));
}

TEST(TDLinkedList, CopiesAreIndependentAndBadIndicesAreLogged) {
  TDLinkedList<Str> src;
  src.Append(Str("a"));
  src.Append(Str("b"));
  TDLinkedList<Str> copy(src);
  copy[0] = "changed";
  copy.Append(Str("c"));
  EXPECT_STREQ("a", src[0].c_str());
  EXPECT_EQ(2, src.GetCount());
  EXPECT_EQ(src.GetTail(), src.GetHead()->next);

  TDLinkedList<Str> assigned;
  assigned.Append(Str("old"));
  assigned = copy;
  EXPECT_EQ(3, assigned.GetCount());
  EXPECT_STREQ("c", assigned.GetTail()->element.c_str());
  EXPECT_EQ(assigned.GetTail(), assigned.GetHead()->next->next);
  assigned = assigned;
  EXPECT_EQ(3, assigned.GetCount());

  LogCapture log;
  EXPECT_EQ(nullptr, src[2].c_str());
  src[-1] = "spare";
  EXPECT_EQ(nullptr, TDLinkedList<Str>()[0].c_str());
  EXPECT_TRUE(log.Saw("WARNING: Accessed TDLinkedList out of bounds 2/2\n"));
  EXPECT_TRUE(log.Saw("WARNING: Accessed TDLinkedList out of bounds -1/2\n"));
  EXPECT_TRUE(log.Saw("WARNING: Accessed TDLinkedList out of bounds 0/0\n"));
  EXPECT_STREQ("a", src[0].c_str());
  EXPECT_STREQ("b", src[1].c_str());

  // The spare handed out earlier stays live memory when the next bad index comes.
  Str& spare = src[5];
  spare = "written";
  Str& next = src[6];
  EXPECT_EQ(&spare, &next);
  EXPECT_EQ(nullptr, spare.c_str());
}

namespace {
struct RegistryEntry {
  char name[260];
  int32_t id;
};
}  // namespace

TEST(THashTable, HashFollowsTheSignedByteRecurrence) {
  THashTable<RegistryEntry> table;
  EXPECT_EQ(0, table.Hash(""));
  EXPECT_EQ(0, table.Hash(nullptr));
  EXPECT_EQ(65, table.Hash("A"));
  // "AB": h = 65, a = 31415 * 27183 mod 96 = 57, then (65 * 57 + 66) mod 97 = 85.
  EXPECT_EQ(85, table.Hash("AB"));
  // The byte 200 counts as -56: -56 mod 97 is -56, corrected to 41.
  EXPECT_EQ(41, table.Hash("\xC8"));
  const char* keys[] = {"BrObject", "BrRAGGameStatePlaying", "\xFF\xFE\x80", "ShaderControlTextures\\a.tga",
                        "zzzzzzzzzzzzzzzzzzzzzzzzzzzzzzzzzzzzzzzzzzzzzzzzzzzzzzzzzzzzzzzzzz"};
  for (const char* k : keys) {
    const int h = table.Hash(k);
    EXPECT_GE(h, 0) << k;
    EXPECT_LT(h, 97) << k;
  }
}

TEST(THashTable, BucketsKeepEntriesInOrderAndCopiesAreDeep) {
  THashTable<RegistryEntry> table;
  RegistryEntry e{};
  std::strcpy(e.name, "BrCamera");
  e.id = 1;
  table.GetBucket(e.name).Append(e);
  e.id = 2;
  table.GetBucket(e.name).Append(e);  // the same name twice: the first stays first
  TDLinkedList<RegistryEntry>& bucket = table.GetBucket("BrCamera");
  ASSERT_EQ(2, bucket.GetCount());
  EXPECT_EQ(1, bucket.GetHead()->element.id);
  EXPECT_EQ(2, bucket.GetTail()->element.id);
  EXPECT_EQ(&bucket, &table.GetBucketAt(table.Hash("BrCamera")));

  THashTable<RegistryEntry> copy(table);
  copy.GetBucket("BrCamera").GetHead()->element.id = 10;
  EXPECT_EQ(1, table.GetBucket("BrCamera").GetHead()->element.id);
  THashTable<RegistryEntry> assigned;
  assigned = table;
  EXPECT_EQ(2, assigned.GetBucket("BrCamera").GetCount());
  int total = 0;
  for (int i = 0; i < 97; ++i) total += assigned.GetBucketAt(i).GetCount();
  EXPECT_EQ(2, total);
}

TEST(Clamp, TiesAndInvertedBounds) {
  EXPECT_EQ(3, brClamp(5, 0, 3));
  EXPECT_EQ(0, brClamp(-1, 0, 3));
  EXPECT_EQ(3, brClamp(1, 3, 0));  // lo wins
  EXPECT_EQ(2, brClamp(2, 0, 3));
  EXPECT_FLOAT_EQ(0.5f, brClamp(0.5f, 0.0f, 1.0f));
  EXPECT_FLOAT_EQ(3.0f, brClamp(1.0f, 3.0f, 0.0f));
  float v = 1.0f;
  brClampInPlace(v, 3.0f, 0.0f);  // hi wins
  EXPECT_FLOAT_EQ(0.0f, v);
  v = -2.0f;
  brClampInPlace(v, -1.0f, 1.0f);
  EXPECT_FLOAT_EQ(-1.0f, v);
  v = 2.0f;
  brClampInPlace(v, -1.0f, 1.0f);
  EXPECT_FLOAT_EQ(1.0f, v);
  EXPECT_EQ(2, brMax(2, 1));
  EXPECT_EQ(1, brMin(2, 1));
  // On a tie the second argument is the result: visible with signed zeros.
  EXPECT_TRUE(std::signbit(brMin(0.0f, -0.0f)));
  EXPECT_FALSE(std::signbit(brMax(-0.0f, 0.0f)));
}
