// Heap, memory and C-string functions of the core library: every library allocates and formats through these.
#pragma once

#include <cstdarg>
#include <cstddef>
#include <cstdint>

// printf-style format checking where the compiler offers it.
#if defined(__GNUC__)
#define BR_PRINTF_FORMAT(fmt, first) __attribute__((format(printf, fmt, first)))
#else
#define BR_PRINTF_FORMAT(fmt, first)
#endif

// The C runtime's malloc: may return null, callers decide. Memory from here may be freed by any library.
void* brMalloc(unsigned int size);
// The C runtime's free; a null pointer is ignored.
void brFree(void* p);
// Copies n bytes forward; the areas must not overlap; n <= 0 copies nothing. Returns dest.
void* brMemCopy(void* dest, const void* src, int n);
// Compares n bytes as unsigned values: 0 when equal (or n <= 0), -1 when a's first differing byte is smaller, else 1.
int brMemComp(const void* a, const void* b, int n);
// Fills n bytes with the low byte of value; n <= 0 fills nothing. Returns dest.
void* brMemset(void* dest, int value, int n);

// Length of a C string without its terminator.
int brStrlen(const char* s);
// -1, 0 or 1 by the first differing byte taken as unsigned.
int brStrcmp(const char* a, const char* b);
// The C runtime's strstr.
char* brStrstr(char* haystack, const char* needle);
// The C runtime's strtok.
char* brStrtok(char* s, const char* delimiters);
// Appends src (with its terminator) to dest; returns dest. dest must have room.
char* brStrcat(char* dest, const char* src);
// Removes every occurrence of c from s in place; a null or empty string is left alone.
void brStrStrip(char* s, char c);
// Writes value in radix (2..36; negative only in radix 10 gets a sign, as _itoa) into buf; returns buf.
// buf must hold 33 characters for radix 2.
char* brItoA(int value, char* buf, int radix);
// Formats the arguments after format into buf, at most size bytes including the terminator; buf is always
// terminated when size > 0. Returns the number of characters stored (a cut message stores size - 1).
int brVARARGS(char* buf, int size, const char* format, ...) BR_PRINTF_FORMAT(3, 4);
// brVARARGS with an argument list.
int brVARARGSList(char* buf, int size, const char* format, va_list args) BR_PRINTF_FORMAT(3, 0);
