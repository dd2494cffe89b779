// Heap, memory and C-string functions of the core library.
#include "core/BrMemory.h"

#include <cstdio>
#include <cstdlib>
#include <cstring>

void* brMalloc(unsigned int size) { return std::malloc(size); }

void brFree(void* p) { std::free(p); }

void* brMemCopy(void* dest, const void* src, int n) {
  if (n > 0 && dest && src) std::memcpy(dest, src, size_t(n));
  return dest;
}

int brMemComp(const void* a, const void* b, int n) {
  if (n <= 0 || !a || !b) return 0;
  const unsigned char* pa = static_cast<const unsigned char*>(a);
  const unsigned char* pb = static_cast<const unsigned char*>(b);
  for (int i = 0; i < n; ++i) {
    if (pa[i] != pb[i]) return pa[i] < pb[i] ? -1 : 1;
  }
  return 0;
}

void* brMemset(void* dest, int value, int n) {
  if (n > 0 && dest) std::memset(dest, value & 0xFF, size_t(n));
  return dest;
}

int brStrlen(const char* s) { return s ? int(std::strlen(s)) : 0; }

int brStrcmp(const char* a, const char* b) {
  int c = std::strcmp(a ? a : "", b ? b : "");
  return c < 0 ? -1 : (c > 0 ? 1 : 0);
}

char* brStrstr(char* haystack, const char* needle) {
  if (!haystack || !needle) return nullptr;
  return std::strstr(haystack, needle);
}

char* brStrtok(char* s, const char* delimiters) { return std::strtok(s, delimiters); }

char* brStrcat(char* dest, const char* src) {
  if (dest && src) std::strcat(dest, src);
  return dest;
}

void brStrStrip(char* s, char c) {
  if (!s || !*s || c == 0) return;
  char* out = s;
  for (const char* in = s; *in; ++in) {
    if (*in != c) *out++ = *in;
  }
  *out = 0;
}

char* brItoA(int value, char* buf, int radix) {
  if (!buf) return buf;
  if (radix < 2 || radix > 36) {
    buf[0] = 0;
    return buf;
  }
  // As _itoa: only radix 10 writes a sign; other radices show the two's-complement bits.
  bool negative = radix == 10 && value < 0;
  unsigned int v = negative ? 0u - unsigned(value) : unsigned(value);
  char digits[33];
  int n = 0;
  do {
    unsigned int d = v % unsigned(radix);
    digits[n++] = char(d < 10 ? '0' + d : 'a' + d - 10);
    v /= unsigned(radix);
  } while (v);
  char* p = buf;
  if (negative) *p++ = '-';
  while (n > 0) *p++ = digits[--n];
  *p = 0;
  return buf;
}

int brVARARGSList(char* buf, int size, const char* format, va_list args) {
  if (!buf || size <= 0) return 0;
  if (!format) {
    buf[0] = 0;
    return 0;
  }
  int wanted = std::vsnprintf(buf, size_t(size), format, args);
  // _vsnprintf leaves a cut buffer unterminated; callers here always get a terminated one.
  buf[size - 1] = 0;
  if (wanted < 0) {
    buf[0] = 0;
    return 0;
  }
  return wanted < size ? wanted : size - 1;
}

int brVARARGS(char* buf, int size, const char* format, ...) {
  va_list args;
  va_start(args, format);
  int n = brVARARGSList(buf, size, format, args);
  va_end(args);
  return n;
}
