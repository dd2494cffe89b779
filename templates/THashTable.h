// THashTable: a fixed table of 97 linked-list buckets keyed by a string hash (class registry, effector names).
#pragma once

#include "templates/TDLinkedList.h"
#include "templates/TSArray.h"

// A hash table that only finds buckets: the owner appends entries to GetBucket(key) and walks it from the
// head comparing its own key field, so the first entry of a key wins.
template <class T>
class THashTable {
public:
  // Number of buckets.
  static const int ciNumBuckets = 97;

  // 97 empty buckets.
  THashTable() { buckets.SetSize(ciNumBuckets); }
  // Own buckets holding copies of the source's entries, in the same buckets and order.
  THashTable(const THashTable& other) : buckets(other.buckets) {}
  // As the copy constructor; assigning a table to itself leaves it unchanged.
  THashTable& operator=(const THashTable& other) {
    if (this != &other) buckets = other.buckets;
    return *this;
  }
  // Destroys every bucket and entry.
  virtual ~THashTable() {}

  // The bucket index of key, always 0 .. 96; an empty or null key gives 0.
  virtual int Hash(const char* key);
  // The bucket of key.
  TDLinkedList<T>& GetBucket(const char* key) { return buckets[Hash(key)]; }
  // The bucket at index i (0 .. 96), for walking the whole table.
  TDLinkedList<T>& GetBucketAt(int i) { return buckets[i]; }

protected:
  TSArray<TDLinkedList<T>> buckets;
};

template <class T>
int THashTable<T>::Hash(const char* key) {
  if (!key || !key[0]) return 0;
  const int32_t n = buckets.GetSize() > 0 ? buckets.GetSize() : ciNumBuckets;
  int32_t h = 0;
  int32_t a = 31415;
  for (const char* p = key; *p; ++p) {
    // Bytes count as signed 8-bit values; products wrap as 32-bit integers and remainders truncate.
    const int32_t c = static_cast<signed char>(*p);
    h = int32_t(uint32_t(h) * uint32_t(a) + uint32_t(c)) % n;
    a = int32_t(uint32_t(a) * 27183u) % (n - 1);
  }
  return h < 0 ? h + n : h;
}
