// BrAnsiFile: a text file read and written line by line.
#include "core/BrAnsiFile.h"

#include <cstring>

BrAnsiFile::BrAnsiFile() {}

BrAnsiFile::BrAnsiFile(const char* path, uint32_t flags) { Open(path, flags); }

BrAnsiFile::~BrAnsiFile() {}

bool BrAnsiFile::Open(const char* path, uint32_t flags) {
  if (!m_pHandle && !m_bOpen && path) {
    char mode[16];
    m_pHandle = OpenStream(path, GetPermissions(flags, mode));
    if (m_pHandle) m_bOpen = true;
  }
  SetFullPath(path);
  return IsValid();
}

bool BrAnsiFile::ReadLine(char* buf, int n) {
  if (!IsValid() || !buf || n < 2) return false;
  std::memset(buf, 0, size_t(n));
  return std::fgets(buf, n, m_pHandle) != nullptr;
}

bool BrAnsiFile::WriteLine(const char* text) {
  if (!IsValid()) return false;
  bool ok = true;
  if (text && *text) ok = std::fputs(text, m_pHandle) >= 0;
  ok = std::fputc('\n', m_pHandle) != EOF && ok;
  // Lines reach the disk as they are written, so a log survives the crash it describes.
  std::fflush(m_pHandle);
  return ok;
}

bool BrAnsiFile::VPrintf(const char* format, va_list args) {
  if (!IsValid()) return false;
  char buf[ciFormatBufferLen];
  brVARARGSList(buf, ciFormatBufferLen, format, args);
  return WriteLine(buf);
}

bool BrAnsiFile::printf(const char* format, ...) {
  va_list args;
  va_start(args, format);
  bool ok = VPrintf(format, args);
  va_end(args);
  return ok;
}
