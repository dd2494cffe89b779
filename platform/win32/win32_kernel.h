// The kernel32 subset on POSIX: files and folders, the path layer, clocks, memory, version, sleep and libraries.
#pragma once

#include <cstdio>

#include "platform/win32/win32types.h"

// ---- The path layer: every path the system opens goes through here. ----

// Maps a system path (backslashes, Windows' case-insensitive names) to a real path: backslashes become slashes,
// and where the exact path does not exist each component is matched case-insensitively against the folder's
// entries. Components that match nothing (a file or folder about to be created) are kept as given, so the
// result serves for opening and for creating. Writes at most size bytes including the terminator; false when
// path is null or the result does not fit (out then holds an empty string).
bool W32MapPath(const char* path, char* out, size_t size);

// fopen through W32MapPath: the one way the system opens files.
FILE* W32fopen(const char* path, const char* mode);
// Writes the stream's buffered bytes and waits until the system has put the file on the disk (FlushFileBuffers
// for a C stream); FALSE when either step fails or the stream is null.
BOOL W32FlushFile(FILE* stream);

// What tells one content of a file from another without reading it: the file (its volume and index), its size,
// and its last write and status-change times to the nanosecond.
struct W32FILESTAMP {
  ULONGLONG volume;
  ULONGLONG index;
  ULONGLONG size;
  ULONGLONG written;
  ULONGLONG changed;
};
// The stamp of an open stream's file, taken once the stream's buffered output is written out; FALSE when the
// stream is null or its file cannot be asked.
BOOL W32GetFileStamp(FILE* stream, W32FILESTAMP* stamp);

// ---- Errors ----

// The code left by the last failing call of this layer on this thread (ERROR_*).
DWORD GetLastError();
// Sets the code GetLastError returns.
void SetLastError(DWORD code);

// ---- Files and folders ----

// Starts a search for pattern ("Saves\\*.gin", "*.*", "*"): '*' and '?' match case-insensitively within the last
// component; the folder part goes through the path layer. Entries come in case-insensitive name order, "." and ".."
// included when they match. Returns INVALID_HANDLE_VALUE (GetLastError ERROR_FILE_NOT_FOUND) when nothing matches.
HANDLE FindFirstFileA(LPCSTR pattern, WIN32_FIND_DATAA* data);
// The next entry of a search; FALSE (ERROR_NO_MORE_FILES) when none is left.
BOOL FindNextFileA(HANDLE search, WIN32_FIND_DATAA* data);
// Ends a search and frees it; FALSE for an invalid handle.
BOOL FindClose(HANDLE search);
// Creates one folder (the existing prefix matched case-insensitively); FALSE with ERROR_ALREADY_EXISTS when it
// exists, ERROR_PATH_NOT_FOUND when its parent does not. The security attributes are ignored.
BOOL CreateDirectoryA(LPCSTR path, SECURITY_ATTRIBUTES* security);
// Writes the current folder into buf; returns its length without terminator, or the size needed (with
// terminator) when buf is too small, or 0 on failure.
DWORD GetCurrentDirectoryA(DWORD size, LPSTR buf);
// Makes the folder current (through the path layer); FALSE when it cannot be entered.
BOOL SetCurrentDirectoryA(LPCSTR path);
// Deletes a file; FALSE when it cannot.
BOOL DeleteFileA(LPCSTR path);
// Renames a file, replacing an existing target only with MOVEFILE_REPLACE_EXISTING; atomic on one file system.
BOOL MoveFileExA(LPCSTR from, LPCSTR to, DWORD flags);
// Converts a file time (100 ns since 1601, UTC) to a calendar time without time-zone conversion.
BOOL FileTimeToSystemTime(const FILETIME* fileTime, SYSTEMTIME* systemTime);

// ---- Time ----

// The local calendar time, to the millisecond.
void GetLocalTime(SYSTEMTIME* time);
// Milliseconds on the monotonic clock, wrapping at 2^32 like Windows' tick count.
DWORD GetTickCount();
// Milliseconds on the monotonic clock, 64-bit.
ULONGLONG GetTickCount64();
// The monotonic clock in ticks of QueryPerformanceFrequency; always TRUE.
BOOL QueryPerformanceCounter(LARGE_INTEGER* count);
// Ticks per second of QueryPerformanceCounter; always TRUE.
BOOL QueryPerformanceFrequency(LARGE_INTEGER* frequency);
// The processor's time-stamp counter (rdtsc); on other processors the monotonic clock in nanoseconds.
ULONGLONG ReadTimeStampCounter();
// Suspends the calling thread for at least ms milliseconds.
void Sleep(DWORD ms);

// ---- System ----

// Fills the memory record from the operating system (sizes in bytes; the load in percent).
void GlobalMemoryStatus(MEMORYSTATUS* status);
// Fills the version record with the kernel's major, minor and build numbers and the NT platform id; TRUE.
BOOL GetVersionExA(OSVERSIONINFOA* info);

// ---- Dynamic libraries ----

// Loads a shared library: a name ending in ".dll" (any case) loads the ".so" of the same name. A name with a folder,
// or one found from the current folder, goes through the path layer; "lib" + name is tried beside it; otherwise
// the system's search. NULL (ERROR_MOD_NOT_FOUND) on failure.
HMODULE LoadLibraryA(LPCSTR name);
// Resolves an exported symbol by name; NULL (ERROR_PROC_NOT_FOUND) when missing.
FARPROC GetProcAddress(HMODULE module, LPCSTR name);
// Releases a library loaded by LoadLibraryA; TRUE on success.
BOOL FreeLibrary(HMODULE module);
// The text of the last library-loading failure, for logs ("" when none).
const char* W32LastLibraryError();
