// Files and folders of the kernel layer: find-first/next with wildcards, folders, deleting and renaming.
#include "platform/win32/win32_kernel.h"

#include <dirent.h>
#include <fcntl.h>
#include <strings.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cctype>
#include <cerrno>
#include <cstdio>
#include <stdio_ext.h>
#include <cstring>
#include <ctime>
#include <string>
#include <vector>

#include "platform/win32/KernelInternal.h"

namespace {

thread_local DWORD tLastError = ERROR_SUCCESS;

// Seconds between 1601-01-01 (the file-time epoch) and 1970-01-01.
const int64_t ciFileTimeEpochOffset = 11644473600LL;

struct FindState {
  static const uint32_t ciMagic = 0x46494E44;  // "FIND"
  uint32_t magic = ciMagic;
  std::vector<WIN32_FIND_DATAA> entries;
  size_t next = 0;
};

DWORD ErrorFromErrno(int e) {
  switch (e) {
    case ENOENT: return ERROR_FILE_NOT_FOUND;
    case ENOTDIR: return ERROR_PATH_NOT_FOUND;
    case EEXIST: return ERROR_ALREADY_EXISTS;
    case EACCES:
    case EPERM: return ERROR_ACCESS_DENIED;
    case ENOMEM: return ERROR_NOT_ENOUGH_MEMORY;
    default: return ERROR_ACCESS_DENIED;
  }
}

FILETIME ToFileTime(int64_t seconds, uint32_t nanoseconds) {
  uint64_t ticks = uint64_t(seconds + ciFileTimeEpochOffset) * 10000000ull + nanoseconds / 100;
  FILETIME ft;
  ft.dwLowDateTime = DWORD(ticks & 0xFFFFFFFFu);
  ft.dwHighDateTime = DWORD(ticks >> 32);
  return ft;
}

// Windows' wildcard rule, case-insensitive: '*' any run, '?' one character.
bool WildMatch(const char* pat, const char* name) {
  const char* starPat = nullptr;
  const char* starName = nullptr;
  while (*name) {
    if (*pat == '*') {
      starPat = ++pat;
      starName = name;
    } else if (*pat == '?' || std::tolower((unsigned char)*pat) == std::tolower((unsigned char)*name)) {
      ++pat;
      ++name;
    } else if (starPat) {
      pat = starPat;
      name = ++starName;
    } else
      return false;
  }
  while (*pat == '*') ++pat;
  return *pat == 0;
}

// "*.*" and "x.*" also match names without a dot, as they do on Windows.
bool PatternMatches(const std::string& pat, const char* name) {
  if (WildMatch(pat.c_str(), name)) return true;
  if (pat.size() >= 2 && pat.compare(pat.size() - 2, 2, ".*") == 0 && !std::strchr(name, '.'))
    return WildMatch(pat.substr(0, pat.size() - 2).c_str(), name);
  return false;
}

// name is the entry as the file system has it; the listing gives the system's reading of it (shown,
// and found again by the path layer).
bool FillEntry(const std::string& folder, const char* name, const std::string& shown, WIN32_FIND_DATAA& data) {
  if (shown.size() >= sizeof(data.cFileName)) return false;  // a name Windows could not hold either
  std::memset(&data, 0, sizeof(data));
  std::memcpy(data.cFileName, shown.c_str(), shown.size() + 1);

  std::string full = folder.empty() ? std::string(name) : folder + "/" + name;
  struct statx sx;
  if (::statx(AT_FDCWD, full.c_str(), 0, STATX_BASIC_STATS | STATX_BTIME, &sx) != 0) return false;
  DWORD attrs = 0;
  if (S_ISDIR(sx.stx_mode)) attrs |= FILE_ATTRIBUTE_DIRECTORY;
  if (!(sx.stx_mode & S_IWUSR)) attrs |= FILE_ATTRIBUTE_READONLY;
  data.dwFileAttributes = attrs ? attrs : FILE_ATTRIBUTE_NORMAL;
  // Not every file system records a birth time; the last change of the contents stands in for it there.
  if (sx.stx_mask & STATX_BTIME)
    data.ftCreationTime = ToFileTime(sx.stx_btime.tv_sec, sx.stx_btime.tv_nsec);
  else
    data.ftCreationTime = ToFileTime(sx.stx_mtime.tv_sec, sx.stx_mtime.tv_nsec);
  data.ftLastAccessTime = ToFileTime(sx.stx_atime.tv_sec, sx.stx_atime.tv_nsec);
  data.ftLastWriteTime = ToFileTime(sx.stx_mtime.tv_sec, sx.stx_mtime.tv_nsec);
  uint64_t size = S_ISDIR(sx.stx_mode) ? 0 : sx.stx_size;
  data.nFileSizeHigh = DWORD(size >> 32);
  data.nFileSizeLow = DWORD(size & 0xFFFFFFFFu);
  return true;
}

}  // namespace

DWORD GetLastError() { return tLastError; }

void SetLastError(DWORD code) { tLastError = code; }

HANDLE FindFirstFileA(LPCSTR pattern, WIN32_FIND_DATAA* data) {
  if (!pattern || !data) {
    SetLastError(ERROR_FILE_NOT_FOUND);
    return INVALID_HANDLE_VALUE;
  }
  std::string norm = brW32NormaliseSeparators(pattern);
  size_t slash = norm.rfind('/');
  std::string folderPart = slash == std::string::npos ? std::string() : norm.substr(0, slash == 0 ? 1 : slash);
  std::string namePart = slash == std::string::npos ? norm : norm.substr(slash + 1);
  if (namePart.empty()) {
    SetLastError(ERROR_FILE_NOT_FOUND);
    return INVALID_HANDLE_VALUE;
  }
  std::string folder = folderPart.empty() ? std::string() : brW32ResolvePath(folderPart.c_str());

  DIR* dir = ::opendir(folder.empty() ? "." : folder.c_str());
  if (!dir) {
    SetLastError(ERROR_PATH_NOT_FOUND);
    return INVALID_HANDLE_VALUE;
  }
  FindState* state = new FindState;
  while (struct dirent* entry = ::readdir(dir)) {
    const std::string shown = brW32SystemName(entry->d_name);
    if (!PatternMatches(namePart, shown.c_str())) continue;
    WIN32_FIND_DATAA found;
    if (FillEntry(folder, entry->d_name, shown, found)) state->entries.push_back(found);
  }
  ::closedir(dir);
  // Listings come sorted so that every run and every file system gives the same order.
  std::sort(state->entries.begin(), state->entries.end(), [](const WIN32_FIND_DATAA& a, const WIN32_FIND_DATAA& b) {
    int c = ::strcasecmp(a.cFileName, b.cFileName);
    return c != 0 ? c < 0 : std::strcmp(a.cFileName, b.cFileName) < 0;
  });
  if (state->entries.empty()) {
    delete state;
    SetLastError(ERROR_FILE_NOT_FOUND);
    return INVALID_HANDLE_VALUE;
  }
  *data = state->entries[0];
  state->next = 1;
  return state;
}

static FindState* AsFindState(HANDLE search) {
  if (!search || search == INVALID_HANDLE_VALUE) return nullptr;
  FindState* state = static_cast<FindState*>(search);
  return state->magic == FindState::ciMagic ? state : nullptr;
}

BOOL FindNextFileA(HANDLE search, WIN32_FIND_DATAA* data) {
  FindState* state = AsFindState(search);
  if (!state || !data) {
    SetLastError(ERROR_INVALID_HANDLE);
    return FALSE;
  }
  if (state->next >= state->entries.size()) {
    SetLastError(ERROR_NO_MORE_FILES);
    return FALSE;
  }
  *data = state->entries[state->next++];
  return TRUE;
}

BOOL FindClose(HANDLE search) {
  FindState* state = AsFindState(search);
  if (!state) {
    SetLastError(ERROR_INVALID_HANDLE);
    return FALSE;
  }
  state->magic = 0;
  delete state;
  return TRUE;
}

BOOL CreateDirectoryA(LPCSTR path, SECURITY_ATTRIBUTES*) {
  if (!path || !*path) {
    SetLastError(ERROR_PATH_NOT_FOUND);
    return FALSE;
  }
  std::string real = brW32ResolvePath(path);
  if (::mkdir(real.c_str(), 0777) != 0) {
    SetLastError(errno == ENOENT ? ERROR_PATH_NOT_FOUND : ErrorFromErrno(errno));
    return FALSE;
  }
  return TRUE;
}

DWORD GetCurrentDirectoryA(DWORD size, LPSTR buf) {
  std::vector<char> cwd(4096);
  while (!::getcwd(cwd.data(), cwd.size())) {
    if (errno != ERANGE || cwd.size() > (1u << 20)) {
      SetLastError(ErrorFromErrno(errno));
      return 0;
    }
    cwd.resize(cwd.size() * 2);
  }
  DWORD len = DWORD(std::strlen(cwd.data()));
  if (!buf || size < len + 1) return len + 1;
  std::memcpy(buf, cwd.data(), len + 1);
  return len;
}

BOOL SetCurrentDirectoryA(LPCSTR path) {
  if (!path || !*path) {
    SetLastError(ERROR_PATH_NOT_FOUND);
    return FALSE;
  }
  std::string real = brW32ResolvePath(path);
  if (::chdir(real.c_str()) != 0) {
    SetLastError(errno == ENOENT ? ERROR_PATH_NOT_FOUND : ErrorFromErrno(errno));
    return FALSE;
  }
  return TRUE;
}

BOOL W32FlushFile(FILE* stream) {
  if (!stream) return FALSE;
  if (std::fflush(stream) != 0) {
    SetLastError(ErrorFromErrno(errno));
    return FALSE;
  }
  // A device that cannot be synced (a pipe, /dev/null) has nothing to lose; only a real failure counts.
  if (::fsync(::fileno(stream)) != 0 && errno != EINVAL && errno != EROFS) {
    SetLastError(ErrorFromErrno(errno));
    return FALSE;
  }
  return TRUE;
}

BOOL W32GetFileStamp(FILE* stream, W32FILESTAMP* stamp) {
  if (!stream || !stamp) return FALSE;
  // Bytes still in the stream's buffer are part of the file as its reader sees it.
  if (__fpending(stream) > 0 && std::fflush(stream) != 0) {
    SetLastError(ErrorFromErrno(errno));
    return FALSE;
  }
  struct stat st;
  if (::fstat(::fileno(stream), &st) != 0) {
    SetLastError(ErrorFromErrno(errno));
    return FALSE;
  }
  stamp->volume = ULONGLONG(st.st_dev);
  stamp->index = ULONGLONG(st.st_ino);
  stamp->size = ULONGLONG(st.st_size);
  stamp->written = ULONGLONG(st.st_mtim.tv_sec) * 1000000000ull + ULONGLONG(st.st_mtim.tv_nsec);
  stamp->changed = ULONGLONG(st.st_ctim.tv_sec) * 1000000000ull + ULONGLONG(st.st_ctim.tv_nsec);
  return TRUE;
}

BOOL DeleteFileA(LPCSTR path) {
  if (!path) {
    SetLastError(ERROR_FILE_NOT_FOUND);
    return FALSE;
  }
  std::string real = brW32ResolvePath(path);
  if (::unlink(real.c_str()) != 0) {
    SetLastError(ErrorFromErrno(errno));
    return FALSE;
  }
  return TRUE;
}

BOOL MoveFileExA(LPCSTR from, LPCSTR to, DWORD flags) {
  if (!from || !to) {
    SetLastError(ERROR_FILE_NOT_FOUND);
    return FALSE;
  }
  std::string realFrom = brW32ResolvePath(from);
  std::string realTo = brW32ResolvePath(to);
  struct stat st;
  if (!(flags & MOVEFILE_REPLACE_EXISTING) && ::stat(realTo.c_str(), &st) == 0) {
    SetLastError(ERROR_ALREADY_EXISTS);
    return FALSE;
  }
  if (std::rename(realFrom.c_str(), realTo.c_str()) != 0) {
    SetLastError(ErrorFromErrno(errno));
    return FALSE;
  }
  return TRUE;
}

BOOL FileTimeToSystemTime(const FILETIME* fileTime, SYSTEMTIME* systemTime) {
  if (!fileTime || !systemTime) return FALSE;
  uint64_t ticks = (uint64_t(fileTime->dwHighDateTime) << 32) | fileTime->dwLowDateTime;
  if (ticks >= 0x8000000000000000ull) return FALSE;  // Windows refuses times past this too
  int64_t seconds = int64_t(ticks / 10000000ull) - ciFileTimeEpochOffset;
  time_t t = time_t(seconds);
  struct tm tmv;
  if (!::gmtime_r(&t, &tmv)) return FALSE;
  systemTime->wYear = WORD(tmv.tm_year + 1900);
  systemTime->wMonth = WORD(tmv.tm_mon + 1);
  systemTime->wDayOfWeek = WORD(tmv.tm_wday);
  systemTime->wDay = WORD(tmv.tm_mday);
  systemTime->wHour = WORD(tmv.tm_hour);
  systemTime->wMinute = WORD(tmv.tm_min);
  systemTime->wSecond = WORD(tmv.tm_sec);
  systemTime->wMilliseconds = WORD((ticks / 10000ull) % 1000ull);
  return TRUE;
}
