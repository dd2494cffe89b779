// TSArray: the fixed-size array, whose bad index and failed allocation end the process.
#pragma once

#include "templates/BrTemplateSupport.h"

// An array of exactly size elements, all in use, set at construction or by SetSize. Every element is
// value-initialised when the block is made. A bad index or a failed allocation logs one line and ends the
// process with exit code 1.
template <class T>
class TSArray {
public:
  // A block of n elements (none for n <= 0).
  explicit TSArray(int n = 0);
  // A copy with a block of its own.
  TSArray(const TSArray& other);
  // Takes the source's size and a copy of its elements; assigning an array to itself leaves it unchanged.
  TSArray& operator=(const TSArray& other);
  // Destroys every element and frees the block.
  virtual ~TSArray();

  // Frees the old block, then makes n value-initialised elements; n <= 0 leaves no block and size 0.
  void SetSize(int n);
  // Number of elements.
  int32_t GetSize() const { return size; }

  // The element at i. An index outside 0 .. size-1 logs "WARNING: Accessed array out of bounds: %i/[0-%i]"
  // and ends the process with exit code 1.
  T& operator[](int i);
  const T& operator[](int i) const;

  // Archive form: size as int32, then the elements in order. Loading checks the size against the archive's
  // bytes left; a bad size, or a read that falls short, fails the archive and leaves the array empty.
  void Serialize(BrBin& ar);

protected:
  // A block of n value-initialised elements, or null for n <= 0; fatal (with message) when it cannot be had.
  static T* MakeBlock(int64_t n, const char* failure, const char* path);
  // Destroys every element and frees the block: size 0.
  void Release();
  // Logs the bad index and ends the process.
  [[noreturn]] void OutOfBounds(int i) const;

  T* data;
  int32_t size;
};

// ---------------------------------------------------------------------------------------------------------

template <class T>
T* TSArray<T>::MakeBlock(int64_t n, const char* failure, const char* path) {
  if (n <= 0) return nullptr;
  T* block = nullptr;
  if (n <= INT32_MAX && brTplFitsHeap<T>(n))
    block = static_cast<T*>(brMalloc(static_cast<unsigned int>(n * int64_t(sizeof(T)))));
  if (!block) {
    if (path)
      brTplLog<T>().printf("WARNING: Failed to allocate %i elements of size %i bytes each during %s from %s binary",
                           int(n), int(sizeof(T)), failure, path);
    else
      brTplLog<T>().printf("WARNING: Failed to allocate %i elements of size %i bytes each during %s", int(n),
                           int(sizeof(T)), failure);
    brTplFatal();
  }
  for (int64_t i = 0; i < n; ++i) new (&block[i]) T();
  return block;
}

template <class T>
void TSArray<T>::Release() {
  T* old = data;
  const int32_t n = size;
  data = nullptr;
  size = 0;
  if (!old) return;
  for (int32_t i = 0; i < n; ++i) old[i].~T();
  brFree(old);
}

template <class T>
void TSArray<T>::OutOfBounds(int i) const {
  brTplLog<T>().printf("WARNING: Accessed array out of bounds: %i/[0-%i]", i, int(size) - 1);
  brTplFatal();
}

template <class T>
TSArray<T>::TSArray(int n) : data(nullptr), size(0) {
  data = MakeBlock(n, "TSArray construction", nullptr);
  size = data ? n : 0;
}

template <class T>
TSArray<T>::TSArray(const TSArray& other) : data(nullptr), size(0) {
  data = MakeBlock(other.size, "TSArray construction", nullptr);
  size = data ? other.size : 0;
  for (int32_t i = 0; i < size; ++i) data[i] = other.data[i];
}

template <class T>
TSArray<T>& TSArray<T>::operator=(const TSArray& other) {
  if (this == &other) return *this;
  T* block = MakeBlock(other.size, "TSArray::operator=(...)", nullptr);
  for (int32_t i = 0; i < other.size; ++i) block[i] = other.data[i];
  Release();
  data = block;
  size = block ? other.size : 0;
  return *this;
}

template <class T>
TSArray<T>::~TSArray() {
  Release();
}

template <class T>
void TSArray<T>::SetSize(int n) {
  Release();
  data = MakeBlock(n, "TSArray construction", nullptr);
  size = data ? n : 0;
}

template <class T>
T& TSArray<T>::operator[](int i) {
  if (i < 0 || i >= size) OutOfBounds(i);
  return data[i];
}

template <class T>
const T& TSArray<T>::operator[](int i) const {
  if (i < 0 || i >= size) OutOfBounds(i);
  return data[i];
}

template <class T>
void TSArray<T>::Serialize(BrBin& ar) {
  auto& a = brTplDepend<T>(ar);
  if (!brTplLoading<T>(ar)) {
    int32_t n = size;
    a << n;
    for (int32_t i = 0; i < size; ++i) brStreamElement(ar, data[i]);
    return;
  }

  int32_t n = 0;
  a << n;
  Release();
  if (!brTplCountFits<T>(ar, n) || n == 0) return;
  // A size the file could fill but no 32-bit allocation could hold fails the archive, not the process.
  if (!brTplFitsHeap<T>(n)) {
    brTplLog<T>().printf(
        "WARNING: Failed to allocate %i elements of size %i bytes each during TSArray load from %s binary", int(n),
        int(sizeof(T)), a.GetFullPath());
    brTplFail<T>(ar);
    return;
  }
  data = MakeBlock(n, "TSArray load", a.GetFullPath());
  size = n;
  for (int32_t i = 0; i < size && !brTplFailed<T>(ar); ++i) brStreamElement(ar, data[i]);
  if (brTplFailed<T>(ar)) Release();
}
