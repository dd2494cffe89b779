// Tests of the archive forms: exact bytes of each stream operator and container, round trips, and loads of
// truncated or corrupt files that must fail the archive cleanly.
#include <gtest/gtest.h>

#include <cstring>
#include <type_traits>
#include <utility>

#include "tests/templates/TemplateTestKit.h"

using Str = BrStringT<char>;
using brtest::LoadArchive;
using brtest::PutInt32;
using brtest::ReadFileBytes;
using brtest::SaveArchive;
using brtest::WriteFileBytes;
using Bytes = std::vector<uint8_t>;

namespace {
// True when a value of T can be streamed: long, size_t and pointers must not be.
template <class T, class = void>
struct CanStream : std::false_type {};
template <class T>
struct CanStream<T, std::void_t<decltype(std::declval<BrBin&>() << std::declval<T&>())>> : std::true_type {};
static_assert(CanStream<int32_t>::value && CanStream<uint32_t>::value && CanStream<bool>::value &&
                  CanStream<float>::value && CanStream<uint16_t>::value && CanStream<uint8_t>::value,
              "the fixed-width forms stream");
static_assert(!CanStream<long>::value && !CanStream<unsigned long>::value && !CanStream<size_t>::value &&
                  !CanStream<int*>::value && !CanStream<const char*>::value,
              "sizes that differ between builds are refused");

// Streams value into a new file and returns the file's bytes.
template <class T>
Bytes Saved(T& value) {
  {
    SaveArchive ar("form.bin");
    EXPECT_TRUE(ar.IsValid());
    brStreamElement<T>(ar, value);
    EXPECT_FALSE(ar.HasFailed());
  }
  return ReadFileBytes("form.bin");
}

// Loads a T from bytes; reports whether the archive failed.
template <class T>
bool LoadFails(const Bytes& bytes, T& value) {
  WriteFileBytes("corrupt.bin", bytes);
  LoadArchive ar("corrupt.bin");
  EXPECT_TRUE(ar.IsValid());
  brStreamElement<T>(ar, value);
  return ar.HasFailed();
}

// A large element that takes a single byte in an archive.
struct Page {
  uint8_t first = 0;
  uint8_t rest[4095] = {};
  void Serialize(BrBin& ar) { ar << first; }
};

Bytes Header(std::initializer_list<int32_t> ints) {
  Bytes b;
  for (int32_t v : ints) PutInt32(b, v);
  return b;
}
}  // namespace

TEST(ArchiveForms, ScalarsHaveTheirFixedWidths) {
  bool flag = true;
  EXPECT_EQ(Bytes({1}), Saved(flag));
  uint16_t u16 = 0x1234;
  EXPECT_EQ(Bytes({0x34, 0x12}), Saved(u16));
  int32_t i = -2;
  EXPECT_EQ(Bytes({0xFE, 0xFF, 0xFF, 0xFF}), Saved(i));
  uint32_t u = 0x01020304u;
  EXPECT_EQ(Bytes({4, 3, 2, 1}), Saved(u));
  float f = 1.0f;
  EXPECT_EQ(Bytes({0x00, 0x00, 0x80, 0x3F}), Saved(f));
  uint8_t byte = 0xAB;
  EXPECT_EQ(Bytes({0xAB}), Saved(byte));
}

TEST(ArchiveForms, AnyNonZeroFlagByteLoadsAsTrue) {
  // A hostile save may hold any byte where a flag belongs; it must load as a valid bool.
  bool flag = false;
  EXPECT_FALSE(LoadFails(Bytes({5}), flag));
  EXPECT_TRUE(flag);
  EXPECT_FALSE(LoadFails(Bytes({0}), flag));
  EXPECT_FALSE(flag);
}

TEST(ArchiveForms, StringsAreLengthThenTextWithTerminator) {
  Str empty;
  EXPECT_EQ(Bytes({0, 0, 0, 0}), Saved(empty));
  Str ab("ab");
  EXPECT_EQ(Bytes({2, 0, 0, 0, 'a', 'b', 0}), Saved(ab));

  // Round trip of several fields in one archive, replacing the old texts.
  {
    SaveArchive ar("strings.bin");
    Str one("BrRogueMap"), none, two("Saves\\autosave.gin");
    int32_t difficulty = 3;
    ar << one << none << difficulty << two;
  }
  LoadArchive in("strings.bin");
  Str one("x"), none("not empty"), two;
  int32_t difficulty = 0;
  in << one << none << difficulty << two;
  EXPECT_FALSE(in.HasFailed());
  EXPECT_STREQ("BrRogueMap", one.c_str());
  EXPECT_EQ(nullptr, none.c_str());
  EXPECT_EQ(0, none.Length());
  EXPECT_EQ(3, difficulty);
  EXPECT_STREQ("Saves\\autosave.gin", two.c_str());
}

TEST(ArchiveForms, DynamicArrayStreamsItsWholeCapacity) {
  TDArray<int32_t> a;
  a.Add(0x11);  // capacity 1
  a.Add(0x22);  // capacity 3
  a.Add(0x33);
  a.Add(0x44);  // capacity 7, places 4 .. 6 unused
  Bytes expect = Header({7, 4, 0x11, 0x22, 0x33, 0x44, 0, 0, 0});
  EXPECT_EQ(expect, Saved(a));

  TDArray<int32_t> loaded;
  loaded.Add(99);
  EXPECT_FALSE(LoadFails(expect, loaded));
  EXPECT_EQ(7, loaded.GetCapacity());
  EXPECT_EQ(4, loaded.GetCount());
  EXPECT_EQ(0x44, loaded[3]);

  // Capacity 3, count 1: 8 bytes of header and 12 of elements.
  TDArray<int32_t> small;
  EXPECT_FALSE(LoadFails(Header({3, 1, 5, 0, 0}), small));
  EXPECT_EQ(3, small.GetCapacity());
  EXPECT_EQ(1, small.GetCount());
  EXPECT_EQ(Header({3, 1, 5, 0, 0}), Saved(small));

  TDArray<int32_t> empty;
  EXPECT_EQ(Header({0, 0}), Saved(empty));

  TDArray<Str> names;
  names.Add(Str("a"));
  EXPECT_EQ(Bytes({1, 0, 0, 0, 1, 0, 0, 0, 1, 0, 0, 0, 'a', 0}), Saved(names));
  names.Add(Str("bc"));  // capacity 3: the unused place is an empty string
  Bytes namesForm = Saved(names);
  TDArray<Str> namesBack;
  EXPECT_FALSE(LoadFails(namesForm, namesBack));
  EXPECT_EQ(2, namesBack.GetCount());
  EXPECT_STREQ("bc", namesBack[1].c_str());
}

TEST(ArchiveForms, FixedArrayAndListForms) {
  TSArray<uint8_t> bytes(3);
  bytes[0] = 1;
  bytes[2] = 0xFF;
  EXPECT_EQ(Bytes({3, 0, 0, 0, 1, 0, 0xFF}), Saved(bytes));
  TSArray<uint8_t> back(1);
  EXPECT_FALSE(LoadFails(Bytes({3, 0, 0, 0, 1, 0, 0xFF}), back));
  EXPECT_EQ(3, back.GetSize());
  EXPECT_EQ(0xFF, back[2]);
  TSArray<uint8_t> none;
  EXPECT_EQ(Header({0}), Saved(none));

  TDLinkedList<int32_t> list;
  list.Append(5);
  list.Append(7);
  EXPECT_EQ(Header({2, 5, 7}), Saved(list));
  TDLinkedList<int32_t> loaded;
  loaded.Append(1);
  loaded.Append(2);
  loaded.Append(3);
  EXPECT_FALSE(LoadFails(Header({2, 5, 7}), loaded));
  ASSERT_EQ(2, loaded.GetCount());
  EXPECT_EQ(5, loaded.GetHead()->element);
  EXPECT_EQ(7, loaded.GetTail()->element);
  EXPECT_EQ(loaded.GetTail(), loaded.GetHead()->next);
  EXPECT_EQ(loaded.GetHead(), loaded.GetTail()->prev);
}

TEST(ArchiveCorruption, BadStringLengthsFailTheArchive) {
  const std::pair<const char*, Bytes> cases[] = {
      {"negative", Header({-1})},
      {"most negative", Header({INT32_MIN})},
      {"huge", Header({0x7FFFFFFF})},
      {"past the end", Bytes({10, 0, 0, 0, 'a', 'b', 'c'})},
      {"terminator missing", Bytes({3, 0, 0, 0, 'a', 'b', 'c'})},
      {"length cut short", Bytes({3, 0})},
  };
  for (const auto& c : cases) {
    Str s("previous");
    EXPECT_TRUE(LoadFails(c.second, s)) << c.first;
    EXPECT_EQ(0, s.Length()) << c.first;
    EXPECT_EQ(nullptr, s.c_str()) << c.first;
  }

  // A stored terminator that is not 0 is replaced, so the text always ends where its length says.
  Str s;
  EXPECT_FALSE(LoadFails(Bytes({2, 0, 0, 0, 'a', 'b', 'X', 'Y'}), s));
  EXPECT_EQ(2, s.Length());
  EXPECT_EQ(0, s.c_str()[2]);
  EXPECT_STREQ("ab", s.c_str());

  // Once failed, later fields load as empty values and the failure stays.
  WriteFileBytes("sticky.bin", Header({-5, 2, 'a'}));
  LoadArchive ar("sticky.bin");
  Str first, second("x");
  ar << first << second;
  EXPECT_TRUE(ar.HasFailed());
  EXPECT_EQ(nullptr, second.c_str());
}

TEST(ArchiveCorruption, BadArrayAndListCountsFailTheArchive) {
  const std::pair<const char*, Bytes> arrays[] = {
      {"negative capacity", Header({-1, 0})},
      {"count above capacity", Header({1, 2, 5})},
      {"negative count", Header({1, -1, 5})},
      {"huge capacity", Header({0x7FFFFFFF, 0})},
      {"capacity past the end", Header({4, 1, 5, 6})},
      {"truncated element", Bytes({2, 0, 0, 0, 1, 0, 0, 0, 5, 0, 0, 0, 6})},
      {"header cut short", Bytes({2, 0, 0, 0, 1})},
  };
  for (const auto& c : arrays) {
    TDArray<int32_t> a;
    a.Add(42);
    EXPECT_TRUE(LoadFails(c.second, a)) << c.first;
    EXPECT_EQ(0, a.GetCapacity()) << c.first;
    EXPECT_EQ(0, a.GetCount()) << c.first;
  }

  // Elements that are strings: a corrupt length inside the array fails it as a whole.
  TDArray<Str> names;
  Bytes bad = Header({2, 2, 1});
  bad.push_back('a');
  bad.push_back(0);
  PutInt32(bad, 0x40000000);
  EXPECT_TRUE(LoadFails(bad, names));
  EXPECT_EQ(0, names.GetCount());

  const std::pair<const char*, Bytes> fixed[] = {
      {"negative size", Header({-7})},
      {"huge size", Header({0x7FFFFFFF})},
      {"size past the end", Bytes({4, 0, 0, 0, 1, 2})},
  };
  for (const auto& c : fixed) {
    TSArray<uint8_t> a(2);
    EXPECT_TRUE(LoadFails(c.second, a)) << c.first;
    EXPECT_EQ(0, a.GetSize()) << c.first;
  }

  const std::pair<const char*, Bytes> lists[] = {
      {"negative count", Header({-1})},
      {"huge count", Header({0x7FFFFFFF, 1, 2})},
      {"count past the end", Header({3, 1, 2})},
  };
  for (const auto& c : lists) {
    TDLinkedList<int32_t> l;
    l.Append(1);
    EXPECT_TRUE(LoadFails(c.second, l)) << c.first;
    EXPECT_EQ(0, l.GetCount()) << c.first;
    EXPECT_EQ(nullptr, l.GetHead()) << c.first;
  }
}

TEST(ArchiveCorruption, CountsNoAllocationCouldHoldFailTheArchiveNotTheProcess) {
  // 1.1 million one-byte elements fit the file, but 1.1 million 4 KB places do not fit a 32-bit allocation.
  const int32_t n = 1100000;
  Bytes bytes = Header({n, 1});
  bytes.resize(bytes.size() + size_t(n), 7);
  brtest::LogCapture log;
  TDArray<Page> pages;
  EXPECT_TRUE(LoadFails(bytes, pages));
  EXPECT_EQ(0, pages.GetCapacity());
  EXPECT_TRUE(log.Saw("WARNING: Failed to allocate 1100000 elements of size 4096 bytes each during TDArray load from"));

  Bytes fixed = Header({n});
  fixed.resize(fixed.size() + size_t(n), 7);
  TSArray<Page> fixedPages;
  EXPECT_TRUE(LoadFails(fixed, fixedPages));
  EXPECT_EQ(0, fixedPages.GetSize());
  EXPECT_TRUE(log.Saw("during TSArray load from"));

  // A few such elements load normally through their own Serialize.
  TDArray<Page> few;
  EXPECT_FALSE(LoadFails(Header({2, 2, 0x0201}), few));
  EXPECT_EQ(2, few.GetCount());
  EXPECT_EQ(1, few[0].first);
  EXPECT_EQ(2, few[1].first);
}
