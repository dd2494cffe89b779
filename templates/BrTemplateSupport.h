// Shared plumbing of the string and container templates: heap, log and archive access, the fatal exit,
// and how one element is streamed.
#pragma once

#include <cstdint>
#include <cstdlib>
#include <new>
#include <type_traits>
#include <utility>

// The core headers below sit beneath the templates: they may name the templates only by forward
// declaration, never include them, or the two would include each other.
#include "core/BrMemory.h"
#include "core/BrLogFile.h"
#include "core/BrBin.h"
#include "templates/BrArchiveOps.h"

// Every use of the log and the archive goes through a call that depends on a template parameter, so the
// member look-up waits for instantiation and the templates stay usable wherever those classes are only
// declared.

// The global log, reached from template code; Dep is any template parameter of the caller.
template <class Dep>
inline BrLogFile& brTplLog() {
  return GLog;
}

// The same object, typed so that member access on it waits for instantiation.
template <class Dep, class X>
inline X& brTplDepend(X& x) {
  return x;
}

// Ends the process after a condition the containers cannot survive (exhausted memory, a bad fixed-array
// index); the C runtime's exit flushes the log line just written.
[[noreturn]] inline void brTplFatal() { std::exit(1); }

// True when T streams itself through a member Serialize(BrBin&) rather than through a stream operator.
template <class T, class = void>
struct BrHasSerialize : std::false_type {};
template <class T>
struct BrHasSerialize<T, std::void_t<decltype(std::declval<T&>().Serialize(std::declval<BrBin&>()))>> : std::true_type {
};

// The fewest bytes one element of T can take in an archive. A length or count read from a file is checked
// against the bytes left with it, so a corrupt count can never ask for more memory than the file could fill.
template <class T>
struct BrArchiveMinBytes {
  static constexpr int64_t value = std::is_arithmetic<T>::value ? int64_t(sizeof(T)) : 1;
};

// Streams one element: a class that has its own Serialize uses it, anything else its stream operator.
template <class T>
inline void brStreamElement(BrBin& ar, T& v) {
  if constexpr (BrHasSerialize<T>::value)
    v.Serialize(ar);
  else
    brTplDepend<T>(ar) << v;
}

// True when an array of n elements of T fits the 32-bit size that brMalloc takes.
template <class T>
inline bool brTplFitsHeap(int64_t n) {
  return n >= 0 && uint64_t(n) * sizeof(T) <= 0xFFFFFFFFull;
}

// The archive's side of a checked load, in one place: its direction, its sticky failure, the bytes it still
// holds, and the calls that fail it when a length read from it cannot be right.
template <class Dep>
inline bool brTplLoading(BrBin& ar) {
  return brTplDepend<Dep>(ar).IsLoading();
}
template <class Dep>
inline bool brTplFailed(BrBin& ar) {
  return brTplDepend<Dep>(ar).HasFailed();
}
template <class Dep>
inline int64_t brTplBytesLeft(BrBin& ar) {
  return int64_t(brTplDepend<Dep>(ar).BytesLeft());
}
template <class Dep>
inline void brTplFail(BrBin& ar) {
  brTplDepend<Dep>(ar).MarkFailed(nullptr);
}

// True when a count of elements of T read while loading can be honoured: not negative, not absurd, and the
// archive still holds at least the fewest bytes that many elements take. Otherwise the archive is failed
// (and says why in the log), so its caller sees it.
template <class T>
inline bool brTplCountFits(BrBin& ar, int64_t count) {
  if (brTplFailed<T>(ar)) return false;
  return brTplDepend<T>(ar).CheckCount(count, BrArchiveMinBytes<T>::value);
}
