// BrFileDevice: the C stream under every file of the system, its full path, and folder listing.
#include "core/BrFileDevice.h"

#include <cstdio>
#include <cstring>
#include <initializer_list>
#include <vector>

#include "core/BrNumeric.h"
#include "core/BrSystem.h"
#include "platform/win32/win32_kernel.h"
#include "templates/BrStringT.h"
#include "templates/TDArray.h"

BrFileDevice::BrFileDevice() : m_pHandle(nullptr), m_bOpen(false) {
  std::memset(m_szFullPath, 0, sizeof(m_szFullPath));
}

BrFileDevice::~BrFileDevice() { Close(); }

FILE* BrFileDevice::OpenStream(const char* path, const char* mode) { return W32fopen(path, mode); }

bool BrFileDevice::Close() {
  if (!m_pHandle) return false;
  if (std::fclose(m_pHandle) != 0) {
    // The C runtime has released the stream even when fclose reports an error; keeping the pointer would
    // invite a second fclose on freed memory, so only the result says it failed.
    m_pHandle = nullptr;
    m_bOpen = false;
    return false;
  }
  m_pHandle = nullptr;
  m_bOpen = false;
  return true;
}

bool BrFileDevice::Flush() { return IsValid() && W32FlushFile(m_pHandle); }

bool BrFileDevice::IsValid() const { return m_pHandle && m_bOpen; }

FILE* BrFileDevice::Handle() const { return m_pHandle; }

bool BrFileDevice::SetPos(int64_t pos) {
  if (!IsValid()) return false;
  return ::fseeko(m_pHandle, off_t(pos), SEEK_SET) == 0;
}

bool BrFileDevice::GetPos(int64_t& pos) const {
  if (!IsValid()) return false;
  off_t p = ::ftello(m_pHandle);
  if (p < 0) return false;
  pos = int64_t(p);
  return true;
}

bool BrFileDevice::Skip(int64_t delta) {
  if (!IsValid()) return false;
  return ::fseeko(m_pHandle, off_t(delta), SEEK_CUR) == 0;
}

bool BrFileDevice::Exists(const char* path) {
  if (!path) return false;
  FILE* f = OpenStream(path, "r+");
  if (!f) return false;
  std::fclose(f);
  return true;
}

bool BrFileDevice::SetFullPath(const char* path) {
  std::memset(m_szFullPath, 0, sizeof(m_szFullPath));
  if (!path) return false;
  // A drive letter marks an absolute Windows path; a leading slash is the same here.
  if (std::strchr(path, ':') || path[0] == '/') {
    if (std::strlen(path) >= sizeof(m_szFullPath)) return false;
    std::memcpy(m_szFullPath, path, std::strlen(path) + 1);
    return true;
  }
  // The folder is read whole, whatever its length: a folder that does not fit must not leave a path that starts
  // at the root, nor a cut one that names some other file. Such a path is not recorded at all.
  const DWORD needed = brGetCurrentDirectory(0, nullptr);
  if (needed == 0) return false;
  std::vector<char> folder(size_t(needed) + 1, 0);
  const DWORD n = brGetCurrentDirectory(DWORD(folder.size()), folder.data());
  if (n == 0 || n >= folder.size()) return false;
  const size_t total = size_t(n) + 1 + std::strlen(path);
  if (total >= sizeof(m_szFullPath)) return false;
  std::snprintf(m_szFullPath, sizeof(m_szFullPath), "%s\\%s", folder.data(), path);
  return true;
}

const char* BrFileDevice::GetFullPath() const { return m_szFullPath; }

BrStringT<char> BrFileDevice::FreeFileName(const char* stem, const char* ext) {
  if (!stem || !ext) return BrStringT<char>();
  std::vector<char> name(std::strlen(stem) + std::strlen(ext) + 16);
  for (int n = 1; n < 100000; ++n) {
    if (n == 1)
      std::snprintf(name.data(), name.size(), "%s%s", stem, ext);
    else
      std::snprintf(name.data(), name.size(), "%s_%i%s", stem, n, ext);
    // Searched for rather than opened, so a file without read permission still counts as taken.
    WIN32_FIND_DATAA data;
    HANDLE search = FindFirstFileA(name.data(), &data);
    if (search == INVALID_HANDLE_VALUE) return BrStringT<char>(name.data());
    FindClose(search);
  }
  return BrStringT<char>();
}

const char* BrFileDevice::GetPermissions(uint32_t flags, char* mode) {
  if (!mode) return mode;
  mode[0] = 0;
  if (flags & eFileRead) {
    std::strcat(mode, "r");
  } else {
    if (flags & eFileReadWrite) std::strcat(mode, "r+");
    if (flags & eFileCreate) std::strcat(mode, "w+");
    if (flags & eFileAppend) std::strcat(mode, "a+");
  }
  if (flags & eFileBinary) std::strcat(mode, "b");
  return mode;
}

int BrFileDevice::SortFileListByDateCallback(const void* a, const void* b) {
  const WIN32_FIND_DATAA* fa = static_cast<const WIN32_FIND_DATAA*>(a);
  const WIN32_FIND_DATAA* fb = static_cast<const WIN32_FIND_DATAA*>(b);
  SYSTEMTIME ta = {}, tb = {};
  FileTimeToSystemTime(&fa->ftCreationTime, &ta);
  FileTimeToSystemTime(&fb->ftCreationTime, &tb);
  const WORD va[6] = {ta.wYear, ta.wMonth, ta.wDay, ta.wHour, ta.wMinute, ta.wSecond};
  const WORD vb[6] = {tb.wYear, tb.wMonth, tb.wDay, tb.wHour, tb.wMinute, tb.wSecond};
  for (int i = 0; i < 6; ++i) {
    if (va[i] != vb[i]) return va[i] < vb[i] ? 1 : -1;
  }
  return 0;
}

namespace {

bool ListFolder(const BrStringT<char>& pattern, const BrStringT<char>& folder, TDArray<BrStringT<char>>& out,
                EFileOrder order, bool foldersOnly) {
  out.Clear();
  char remembered[4096];
  DWORD n = brGetCurrentDirectory(DWORD(sizeof(remembered)), remembered);
  if (n == 0 || n >= sizeof(remembered)) return false;
  // A folder that cannot be entered lists nothing: searching on would list whatever folder is current.
  if (!folder.c_str() || !brSetCurrentDirectory(folder.c_str())) return false;

  std::vector<WIN32_FIND_DATAA> entries;
  if (pattern.c_str()) {
    WIN32_FIND_DATAA data;
    HANDLE search = brFindFirstFile(pattern.c_str(), &data);
    if (search) {
      do {
        entries.push_back(data);
      } while (FindNextFileA(search, &data));
      FindClose(search);
    }
  }
  if (order == eFileOrderDate && !entries.empty())
    brQSort(entries.data(), int(entries.size()), int(sizeof(WIN32_FIND_DATAA)),
            BrFileDevice::SortFileListByDateCallback);

  for (const WIN32_FIND_DATAA& e : entries) {
    if (foldersOnly && !(e.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY)) continue;
    out.Add(BrStringT<char>(e.cFileName));
  }
  out.FreeExtra();
  brSetCurrentDirectory(remembered);
  return true;
}

}  // namespace

bool BrFileDevice::GetFileList(const BrStringT<char>& pattern, const BrStringT<char>& folder,
                               TDArray<BrStringT<char>>& out, EFileOrder order) {
  return ListFolder(pattern, folder, out, order, false);
}

bool BrFileDevice::GetFolderList(const BrStringT<char>& pattern, const BrStringT<char>& folder,
                                 TDArray<BrStringT<char>>& out, EFileOrder order) {
  return ListFolder(pattern, folder, out, order, true);
}
