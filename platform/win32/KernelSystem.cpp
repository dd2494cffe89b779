// System queries and libraries of the kernel layer: memory status, version, and ".dll" names loaded as ".so".
#include "platform/win32/win32_kernel.h"

#include <dlfcn.h>
#include <strings.h>
#include <sys/stat.h>
#include <sys/sysinfo.h>
#include <sys/utsname.h>
#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>

#include "platform/win32/KernelInternal.h"

namespace {

thread_local char tLibraryError[512] = "";

void RememberLibraryError(const char* text) {
  std::snprintf(tLibraryError, sizeof(tLibraryError), "%s", text ? text : "");
}

bool IsFile(const std::string& path) {
  struct stat st;
  return ::stat(path.c_str(), &st) == 0 && S_ISREG(st.st_mode);
}

void* OpenLibrary(const std::string& path) {
  // Each plug-in keeps its own symbols, as a DLL does; RTLD_NOW reports a missing dependency at load, not later.
  void* handle = ::dlopen(path.c_str(), RTLD_NOW | RTLD_LOCAL);
  if (!handle) RememberLibraryError(::dlerror());
  return handle;
}

}  // namespace

void GlobalMemoryStatus(MEMORYSTATUS* status) {
  if (!status) return;
  DWORD length = status->dwLength;
  std::memset(status, 0, sizeof(*status));
  status->dwLength = length;
  struct sysinfo si;
  if (::sysinfo(&si) != 0) return;
  uint64_t unit = si.mem_unit ? si.mem_unit : 1;
  uint64_t total = uint64_t(si.totalram) * unit;
  uint64_t avail = (uint64_t(si.freeram) + uint64_t(si.bufferram)) * unit;
  if (avail > total) avail = total;
  status->dwTotalPhys = SIZE_T(total);
  status->dwAvailPhys = SIZE_T(avail);
  status->dwTotalPageFile = SIZE_T(total + uint64_t(si.totalswap) * unit);
  status->dwAvailPageFile = SIZE_T(avail + uint64_t(si.freeswap) * unit);
  status->dwMemoryLoad = total ? DWORD(100 - (avail * 100) / total) : 0;
  // The user address space of x86-64 Linux; what the process has mapped is taken from it.
  uint64_t totalVirtual = 1ull << 47;
  uint64_t usedVirtual = 0;
  if (FILE* statm = std::fopen("/proc/self/statm", "r")) {
    unsigned long long pages = 0;
    if (std::fscanf(statm, "%llu", &pages) == 1) usedVirtual = uint64_t(pages) * uint64_t(::sysconf(_SC_PAGESIZE));
    std::fclose(statm);
  }
  status->dwTotalVirtual = SIZE_T(totalVirtual);
  status->dwAvailVirtual = SIZE_T(usedVirtual < totalVirtual ? totalVirtual - usedVirtual : 0);
}

BOOL GetVersionExA(OSVERSIONINFOA* info) {
  if (!info) return FALSE;
  DWORD size = info->dwOSVersionInfoSize;
  std::memset(info, 0, sizeof(*info));
  info->dwOSVersionInfoSize = size;
  info->dwPlatformId = VER_PLATFORM_WIN32_NT;
  struct utsname un;
  if (::uname(&un) == 0) {
    unsigned major = 0, minor = 0, build = 0;
    std::sscanf(un.release, "%u.%u.%u", &major, &minor, &build);
    info->dwMajorVersion = major;
    info->dwMinorVersion = minor;
    info->dwBuildNumber = build;
  }
  return TRUE;
}

HMODULE LoadLibraryA(LPCSTR name) {
  if (!name || !*name) {
    SetLastError(ERROR_MOD_NOT_FOUND);
    RememberLibraryError("no library name");
    return nullptr;
  }
  std::string file = brW32NormaliseSeparators(name);
  size_t len = file.size();
  if (len >= 4 && ::strcasecmp(file.c_str() + len - 4, ".dll") == 0) file = file.substr(0, len - 4) + ".so";

  std::string real = brW32ResolvePath(file.c_str());
  size_t slash = real.rfind('/');
  std::string folder = slash == std::string::npos ? std::string() : real.substr(0, slash + 1);
  std::string base = slash == std::string::npos ? real : real.substr(slash + 1);
  std::string besideWithLib = folder + "lib" + base;
  std::string resolvedWithLib = brW32ResolvePath(besideWithLib.c_str());

  void* handle = nullptr;
  // dlopen would search the system's folders for a bare name; a library in the current folder comes first,
  // as it does for Windows.
  if (IsFile(real))
    handle = OpenLibrary(real.find('/') == std::string::npos ? "./" + real : real);
  else if (IsFile(resolvedWithLib))
    handle = OpenLibrary(resolvedWithLib.find('/') == std::string::npos ? "./" + resolvedWithLib : resolvedWithLib);
  else if (slash == std::string::npos)
    handle = OpenLibrary(real);
  else
    RememberLibraryError((real + ": no such library").c_str());
  if (!handle) {
    SetLastError(ERROR_MOD_NOT_FOUND);
    return nullptr;
  }
  return reinterpret_cast<HMODULE>(handle);
}

FARPROC GetProcAddress(HMODULE module, LPCSTR name) {
  if (!module || !name) {
    SetLastError(ERROR_PROC_NOT_FOUND);
    return nullptr;
  }
  ::dlerror();
  void* symbol = ::dlsym(reinterpret_cast<void*>(module), name);
  if (!symbol) {
    RememberLibraryError(::dlerror());
    SetLastError(ERROR_PROC_NOT_FOUND);
    return nullptr;
  }
  return reinterpret_cast<FARPROC>(symbol);
}

BOOL FreeLibrary(HMODULE module) {
  if (!module) {
    SetLastError(ERROR_INVALID_HANDLE);
    return FALSE;
  }
  if (::dlclose(reinterpret_cast<void*>(module)) != 0) {
    RememberLibraryError(::dlerror());
    SetLastError(ERROR_INVALID_HANDLE);
    return FALSE;
  }
  return TRUE;
}

const char* W32LastLibraryError() { return tLibraryError; }
