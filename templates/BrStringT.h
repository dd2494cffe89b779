// BrStringT: the one string type of every library: a length and a heap buffer, null when empty.
#pragma once

#include "templates/BrTemplateSupport.h"

// A byte string with a signed 32-bit length and its own heap buffer of length+1 bytes ending in 0. The
// empty string has length 0 and a null buffer. Copies always allocate; nothing is shared. The buffer comes
// from brMalloc and goes back through brFree, so a string may die in another library than it was made in.
template <class C>
class BrStringT {
public:
  // The empty string.
  BrStringT() : length(0), data(nullptr) {}
  // A copy of the C string; null or "" give the empty string.
  BrStringT(const C* text);
  // A copy with its own buffer; an empty source gives the empty string.
  BrStringT(const BrStringT& other);
  // Frees the buffer.
  virtual ~BrStringT();

  // Takes a copy of other's text; assigning a string to itself leaves it unchanged.
  BrStringT& operator=(const BrStringT& other);

  // Number of characters, the terminator not counted.
  int32_t Length() const { return length; }
  // The buffer: a null pointer for the empty string, which callers test before use.
  const C* c_str() const { return data; }

  // Equal lengths and equal bytes (case-sensitive); two empty strings are equal.
  bool operator==(const BrStringT& other) const;
  // The negation of operator==.
  bool operator!=(const BrStringT& other) const { return !(*this == other); }

  // Appends other's text (a string may be appended to itself); returns this string.
  BrStringT& operator+=(const BrStringT& other);
  // Appends one character; returns this string.
  BrStringT& operator+=(C ch);
  // A new string holding this text followed by other's.
  BrStringT operator+(const BrStringT& other) const;
  // A new string holding this text followed by the C string (null counts as empty).
  BrStringT operator+(const C* text) const { return *this + BrStringT(text); }

  // The substring of at most iAbsGrabLen characters from iStartIDX. A start outside the text, or a
  // length of zero or less, logs a warning and gives the empty string; a length past the end is cut.
  BrStringT operator()(int iStartIDX, int iAbsGrabLen) const;

  // Index of the first comma at or after start that lies outside parentheses (depth counted from index 0;
  // the last character is never examined), or -1; also -1 for a start outside 0 .. length or a length < 2.
  int FindCommaOutsideBrackets(int start) const;
  // Count of ch among the length+1 bytes, the terminator included; 0 (with a debug warning) when empty.
  int NumOccur(C ch) const;
  // Count of ch at parenthesis depth 0 among the length+1 bytes; 0 (with a debug warning) when empty.
  int NumOccurOutsideBrackets(C ch) const;
  // Index of the first occurrence of pattern at or after start, or -1 (also for start outside 0 .. length).
  int Find(const BrStringT& pattern, int start) const;
  // The C runtime's atoi of the text; 0 for the empty string.
  int ToInt() const;

  // Archive form: the length as int32, then, when the buffer exists, length+1 bytes ending in the
  // terminator. Loading checks the length against what the archive holds: a negative or too large length
  // fails the archive and leaves the empty string; the loaded terminator is always 0.
  void Serialize(BrBin& ar);

protected:
  // A fresh buffer of n+1 characters with the terminator set; fatal when the heap is exhausted.
  static C* Allocate(int64_t n);
  // Gives the buffer back and leaves the empty string.
  void Release();

  int32_t length;
  C* data;
};

// A new string holding the C string followed by the string's text.
template <class C>
BrStringT<C> operator+(const C* left, const BrStringT<C>& right) {
  return BrStringT<C>(left) + right;
}

// Stream operator of the string's archive form; returns the archive so calls chain.
template <class C>
BrBin& operator<<(BrBin& ar, BrStringT<C>& s) {
  s.Serialize(ar);
  return ar;
}

// A loaded string takes at least its 4-byte length.
template <class C>
struct BrArchiveMinBytes<BrStringT<C>> {
  static constexpr int64_t value = 4;
};

// Cuts the characters iFrom .. iTo (inclusive) of src into out, one at a time. out is emptied first;
// false when iFrom < 0 or iTo > the length; true with out empty when iFrom > iTo. An iTo equal to the
// length reaches the terminator, which the substring operator logs as out of bounds and skips.
template <class C>
bool brGetSubString(const BrStringT<C>& src, BrStringT<C>& out, int iFrom, int iTo);

// Replaces the first occurrence of find in src by with, into out, and returns true; false with out
// untouched when find does not occur or is empty. src is not changed, even when out is the same string.
template <class C>
bool brStrReplace(const BrStringT<C>& src, const C* find, const C* with, BrStringT<C>& out);

// ---------------------------------------------------------------------------------------------------------

template <class C>
C* BrStringT<C>::Allocate(int64_t n) {
  C* p = nullptr;
  if (brTplFitsHeap<C>(n + 1)) p = static_cast<C*>(brMalloc(static_cast<unsigned int>((n + 1) * int64_t(sizeof(C)))));
  if (!p) {
    brTplLog<C>().printf("WARNING: Failed to allocate a string of %i characters (inc. one terminator slot)", int(n));
    brTplFatal();
  }
  p[n] = C(0);
  return p;
}

template <class C>
void BrStringT<C>::Release() {
  if (data) brFree(data);
  data = nullptr;
  length = 0;
}

template <class C>
BrStringT<C>::BrStringT(const C* text) : length(0), data(nullptr) {
  if (!text || !text[0]) return;
  int64_t n = 0;
  while (text[n]) ++n;
  data = Allocate(n);
  brMemCopy(data, text, int((n + 1) * int64_t(sizeof(C))));
  length = int32_t(n);
}

template <class C>
BrStringT<C>::BrStringT(const BrStringT& other) : length(0), data(nullptr) {
  if (!other.data || other.length <= 0) return;
  data = Allocate(other.length);
  brMemCopy(data, other.data, int((int64_t(other.length) + 1) * int64_t(sizeof(C))));
  length = other.length;
}

template <class C>
BrStringT<C>::~BrStringT() {
  Release();
}

template <class C>
BrStringT<C>& BrStringT<C>::operator=(const BrStringT& other) {
  if (this == &other) return *this;
  Release();
  if (other.data && other.length > 0) {
    data = Allocate(other.length);
    brMemCopy(data, other.data, int((int64_t(other.length) + 1) * int64_t(sizeof(C))));
    length = other.length;
  }
  return *this;
}

template <class C>
bool BrStringT<C>::operator==(const BrStringT& other) const {
  if (length != other.length) return false;
  for (int32_t i = 0; i < length; ++i)
    if (data[i] != other.data[i]) return false;
  return true;
}

template <class C>
BrStringT<C>& BrStringT<C>::operator+=(const BrStringT& other) {
  if (length <= 0) return *this = other;
  if (other.length <= 0 || !other.data) return *this;
  // The old buffer is freed only after the copy, so appending a string to itself reads live memory.
  const int64_t total = int64_t(length) + other.length;
  C* joined = Allocate(total);
  brMemCopy(joined, data, int(length * int64_t(sizeof(C))));
  brMemCopy(joined + length, other.data, int((int64_t(other.length) + 1) * int64_t(sizeof(C))));
  brFree(data);
  data = joined;
  length = int32_t(total);
  return *this;
}

template <class C>
BrStringT<C>& BrStringT<C>::operator+=(C ch) {
  C* joined = Allocate(int64_t(length) + 1);
  if (data) {
    brMemCopy(joined, data, int(length * int64_t(sizeof(C))));
    brFree(data);
  }
  joined[length] = ch;
  data = joined;
  ++length;
  return *this;
}

template <class C>
BrStringT<C> BrStringT<C>::operator+(const BrStringT& other) const {
  BrStringT result(*this);
  result += other;
  return result;
}

template <class C>
BrStringT<C> BrStringT<C>::operator()(int iStartIDX, int iAbsGrabLen) const {
  BrStringT result;
  if (iStartIDX < 0 || iStartIDX > length - 1) {
    brTplLog<C>().printf(
        "WARNING: BrStringT operator() accessed substring out of bounds: iStartIDX = %i, "
        "iAbsGrabLen = %i, iLen = %i",
        iStartIDX, iAbsGrabLen, int(length));
    return result;
  }
  if (iAbsGrabLen < 0) {
    brTplLog<C>().WriteLine("WARNING: BrStringT operator() accessed zero/negative length substring");
    return result;
  }
  if (iAbsGrabLen == 0) {
    brTplLog<C>().WriteLine("WARNING: Retrieved null substring!");
    return result;
  }
  const int grab = iAbsGrabLen > length - iStartIDX ? length - iStartIDX : iAbsGrabLen;
  result.data = Allocate(grab);
  brMemCopy(result.data, data + iStartIDX, int(grab * int64_t(sizeof(C))));
  result.length = grab;
  return result;
}

template <class C>
int BrStringT<C>::FindCommaOutsideBrackets(int start) const {
  if (start < 0 || start > length || length < 2) return -1;
  int depth = 0;
  for (int i = 0; i <= length - 2; ++i) {
    const C c = data[i];
    if (c == C(',') && depth == 0 && i >= start) return i;
    if (c == C('('))
      ++depth;
    else if (c == C(')'))
      --depth;
  }
  return -1;
}

template <class C>
int BrStringT<C>::NumOccur(C ch) const {
  if (!data || length == 0) {
    brTplLog<C>().DebugPrintf("WARNING: BrString::NumOccur(...) called on an empty sring");
    return 0;
  }
  int n = 0;
  for (int32_t i = 0; i <= length; ++i)
    if (data[i] == ch) ++n;
  return n;
}

template <class C>
int BrStringT<C>::NumOccurOutsideBrackets(C ch) const {
  if (!data || length == 0) {
    brTplLog<C>().DebugPrintf("WARNING: BrString::NumOccurOutsideBrackets(...) called on an empty sring");
    return 0;
  }
  int n = 0;
  int depth = 0;
  for (int32_t i = 0; i <= length; ++i) {
    const C c = data[i];
    if (c == ch && depth == 0) ++n;
    if (c == C('('))
      ++depth;
    else if (c == C(')'))
      --depth;
  }
  return n;
}

template <class C>
int BrStringT<C>::Find(const BrStringT& pattern, int start) const {
  if (start < 0 || start > length) return -1;
  const int plen = pattern.length;
  const int last = length - plen + 1;
  if (start > last) return -1;
  if (plen <= 0) return start;
  if (!data || !pattern.data) return -1;
  // The last position compares the terminator against the pattern's final character, which lies inside
  // the buffer and never matches a text character.
  for (int pos = start; pos <= last; ++pos) {
    int k = 0;
    while (k < plen && data[pos + k] == pattern.data[k]) ++k;
    if (k == plen) return pos;
  }
  return -1;
}

template <class C>
int BrStringT<C>::ToInt() const {
  if (!data) return 0;
  return std::atoi(data);
}

template <class C>
void BrStringT<C>::Serialize(BrBin& ar) {
  auto& a = brTplDepend<C>(ar);
  if (!brTplLoading<C>(ar)) {
    int32_t n = length;
    a << n;
    if (data) a.Stream(data, int(sizeof(C)), int(length) + 1);
    return;
  }

  int32_t n = 0;
  a << n;
  Release();
  if (brTplFailed<C>(ar)) return;
  if (n == 0) return;
  // A corrupt or hostile length must fail the archive, not allocate or read past the file; the terminator
  // is stored too, so a positive length needs one more character.
  if (!a.CheckCount(n < 0 ? int64_t(n) : int64_t(n) + 1, int64_t(sizeof(C)))) return;
  data = Allocate(n);
  length = n;
  a.Stream(data, int(sizeof(C)), int(n) + 1);
  if (brTplFailed<C>(ar)) {
    Release();
    return;
  }
  data[n] = C(0);
}

template <class C>
bool brGetSubString(const BrStringT<C>& src, BrStringT<C>& out, int iFrom, int iTo) {
  // Built apart and assigned last, so that out may be src itself.
  BrStringT<C> token;
  if (iFrom < 0 || iTo > src.Length()) {
    out = token;
    return false;
  }
  for (int i = iFrom; i <= iTo; ++i) token += src(i, 1);
  out = token;
  return true;
}

template <class C>
bool brStrReplace(const BrStringT<C>& src, const C* find, const C* with, BrStringT<C>& out) {
  // An empty pattern would "occur" everywhere, and callers that replace until false would never stop.
  const BrStringT<C> pattern(find);
  if (pattern.Length() == 0) return false;
  const int pos = src.Find(pattern, 0);
  if (pos < 0) return false;
  BrStringT<C> before, after;
  brGetSubString(src, before, 0, pos - 1);
  brGetSubString(src, after, pos + pattern.Length(), src.Length() - 1);
  out = before + BrStringT<C>(with) + after;
  return true;
}
