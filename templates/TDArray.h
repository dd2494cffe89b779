// TDArray: the growable array of every library, with its growth rule, bounds warning and archive form.
#pragma once

#include "templates/BrTemplateSupport.h"

// A growable array: a block of capacity element places of which the first count are in use. Every place of
// the block holds a constructed element; places beyond count are value-initialised, so nothing read from
// them (the archive form writes them too) depends on old heap contents. A failed allocation logs one line
// and ends the process with exit code 1.
template <class T>
class TDArray {
public:
  // No block, capacity 0, count 0.
  TDArray() : data(nullptr), capacity(0), count(0) {}
  // The source's capacity and count, with the used elements copied into a block of its own.
  TDArray(const TDArray& other);
  // Clears, then copies as the copy constructor; assigning an array to itself leaves it unchanged.
  TDArray& operator=(const TDArray& other);
  // Destroys every element and frees the block.
  virtual ~TDArray();

  // Destroys every element and frees the block: capacity 0, count 0.
  void Clear();
  // Number of element places allocated.
  int32_t GetCapacity() const { return capacity; }
  // Number of places in use.
  int32_t GetCount() const { return count; }

  // The element at i. An index outside 0 .. count-1 logs "WARNING: Accessed TDArray out of bounds %i/%i"
  // and yields a spare value-initialised element that lies outside the array, so nothing of the array or
  // beyond it is read or written.
  T& operator[](int i);
  const T& operator[](int i) const;

  // Appends a copy (which may be an element of this array) and returns its index. A full array first grows
  // by count+1 places, so the capacity runs 0, 1, 3, 7, 15, ...
  int Add(const T& element);
  // Reallocates to capacity+extra places, keeping the used elements; a negative extra shrinks, but never
  // below the count.
  void Grow(int extra);
  // Shrinks the block to exactly count places and returns the bytes released (0 when there were none).
  int FreeExtra();

  // Archive form: capacity and count as int32, then every one of the capacity places, element 0 first.
  // Loading checks capacity and count against each other and the archive's bytes left; a bad pair, or a
  // read that falls short, fails the archive and leaves the array empty.
  void Serialize(BrBin& ar);

protected:
  // Raw room for n elements, or null when it cannot be had.
  static T* RawBlock(int64_t n);
  // Copies other's elements into block (its whole capacity, spare places value-initialised) and adopts it.
  void TakeCopy(const TDArray& other, T* block);
  // Destroys the first n elements of block and frees it.
  static void FreeBlock(T* block, int32_t n);
  // The element returned for an index outside the array, value-initialised afresh on each use.
  static T& Spare();

  T* data;
  int32_t capacity;
  int32_t count;
};

// ---------------------------------------------------------------------------------------------------------

template <class T>
T* TDArray<T>::RawBlock(int64_t n) {
  if (n <= 0 || n > INT32_MAX || !brTplFitsHeap<T>(n)) return nullptr;
  return static_cast<T*>(brMalloc(static_cast<unsigned int>(n * int64_t(sizeof(T)))));
}

template <class T>
void TDArray<T>::FreeBlock(T* block, int32_t n) {
  if (!block) return;
  for (int32_t i = 0; i < n; ++i) block[i].~T();
  brFree(block);
}

template <class T>
T& TDArray<T>::Spare() {
  // Never destroyed: element types may reach other systems from their destructors at exit.
  static T* spare = nullptr;
  if (!spare) {
    void* room = brMalloc(static_cast<unsigned int>(sizeof(T)));
    if (!room) {
      brTplLog<T>().printf("Failed to allocate %i extra elements of size %i bytes each during TDArray growth", 1,
                           int(sizeof(T)));
      brTplFatal();
    }
    spare = new (room) T();
  } else {
    spare->~T();
    new (spare) T();
  }
  return *spare;
}

template <class T>
void TDArray<T>::TakeCopy(const TDArray& other, T* block) {
  for (int32_t i = 0; i < other.capacity; ++i) {
    if (i < other.count)
      new (&block[i]) T(other.data[i]);
    else
      new (&block[i]) T();
  }
  data = block;
  capacity = other.capacity;
  count = other.count;
}

template <class T>
TDArray<T>::TDArray(const TDArray& other) : data(nullptr), capacity(0), count(0) {
  if (other.capacity <= 0) return;
  T* block = RawBlock(other.capacity);
  if (!block) {
    // The process ends here, so the line goes to the release log too.
    brTplLog<T>().printf("ERROR: Failed to allocate %i elements of size %i bytes each during TDArray copy constructor",
                         int(other.capacity), int(sizeof(T)));
    brTplFatal();
  }
  TakeCopy(other, block);
}

template <class T>
TDArray<T>& TDArray<T>::operator=(const TDArray& other) {
  if (this == &other) return *this;
  Clear();
  if (other.capacity <= 0) return *this;
  T* block = RawBlock(other.capacity);
  if (!block) {
    brTplLog<T>().printf("WARNING: Failed to allocate %i elements of size %i bytes each during TDArray::operator=(...)",
                         int(other.capacity), int(sizeof(T)));
    brTplFatal();
  }
  TakeCopy(other, block);
  return *this;
}

template <class T>
TDArray<T>::~TDArray() {
  Clear();
}

template <class T>
void TDArray<T>::Clear() {
  T* old = data;
  const int32_t n = capacity;
  data = nullptr;
  capacity = 0;
  count = 0;
  FreeBlock(old, n);
}

template <class T>
T& TDArray<T>::operator[](int i) {
  if (i < 0 || i >= count) {
    brTplLog<T>().printf("WARNING: Accessed TDArray out of bounds %i/%i", i, int(count));
    return Spare();
  }
  return data[i];
}

template <class T>
const T& TDArray<T>::operator[](int i) const {
  if (i < 0 || i >= count) {
    brTplLog<T>().printf("WARNING: Accessed TDArray out of bounds %i/%i", i, int(count));
    return Spare();
  }
  return data[i];
}

template <class T>
int TDArray<T>::Add(const T& element) {
  if (count == capacity) {
    // The element may live in the block that growing is about to free.
    T copy(element);
    Grow(count + 1);
    data[count] = std::move(copy);
  } else {
    data[count] = element;
  }
  return count++;
}

template <class T>
void TDArray<T>::Grow(int extra) {
  int64_t wanted = int64_t(capacity) + extra;
  if (wanted < count) wanted = count;
  T* block = nullptr;
  if (wanted > 0) {
    block = RawBlock(wanted);
    if (!block) {
      brTplLog<T>().printf("Failed to allocate %i extra elements of size %i bytes each during TDArray growth", extra,
                           int(sizeof(T)));
      brTplFatal();
    }
    for (int64_t i = 0; i < wanted; ++i) {
      if (i < count)
        new (&block[i]) T(std::move(data[i]));
      else
        new (&block[i]) T();
    }
  }
  FreeBlock(data, capacity);
  data = block;
  capacity = int32_t(wanted);
}

template <class T>
int TDArray<T>::FreeExtra() {
  if (capacity <= count) return 0;
  const int released = int((int64_t(capacity) - count) * int64_t(sizeof(T)));
  Grow(count - capacity);
  return released;
}

template <class T>
void TDArray<T>::Serialize(BrBin& ar) {
  auto& a = brTplDepend<T>(ar);
  int32_t cap = capacity;
  int32_t cnt = count;
  if (!brTplLoading<T>(ar)) {
    a << cap << cnt;
    for (int32_t i = 0; i < capacity; ++i) brStreamElement(ar, data[i]);
    return;
  }

  cap = 0;
  cnt = 0;
  a << cap << cnt;
  Clear();
  if (brTplFailed<T>(ar)) return;
  if (!brTplCountFits<T>(ar, cap)) return;
  if (cnt < 0 || cnt > cap) {
    brTplLog<T>().printf("WARNING: TDArray load from %s binary read count %i outside capacity %i", a.GetFullPath(),
                         int(cnt), int(cap));
    brTplFail<T>(ar);
    return;
  }
  if (cap == 0) return;
  // A count the file could fill but no 32-bit allocation could hold is the file's fault, not the heap's:
  // it fails the archive instead of ending the process.
  if (!brTplFitsHeap<T>(cap)) {
    brTplLog<T>().printf(
        "WARNING: Failed to allocate %i elements of size %i bytes each during TDArray load from %s binary", int(cap),
        int(sizeof(T)), a.GetFullPath());
    brTplFail<T>(ar);
    return;
  }
  T* block = RawBlock(cap);
  if (!block) {
    brTplLog<T>().printf(
        "WARNING: Failed to allocate %i elements of size %i bytes each during TDArray load from %s binary", int(cap),
        int(sizeof(T)), a.GetFullPath());
    brTplFatal();
  }
  for (int32_t i = 0; i < cap; ++i) new (&block[i]) T();
  data = block;
  capacity = cap;
  count = cnt;
  for (int32_t i = 0; i < cap && !brTplFailed<T>(ar); ++i) brStreamElement(ar, data[i]);
  if (brTplFailed<T>(ar)) Clear();
}
