// BrLogFile and GLog: the global log.
#include "core/BrLogFile.h"

#include "core/BrGlobals.h"

BrLogFile GLog;

BrLogFile::BrLogFile() {}

BrLogFile::~BrLogFile() {}

bool BrLogFile::Open(const char* path, uint32_t flags) {
  if (m_pHandle) Close();
  if (m_bOpen || m_pHandle || !path) return false;
  char mode[16];
  m_pHandle = OpenStream(path, GetPermissions(flags, mode));
  if (!m_pHandle) return false;
  m_bOpen = true;
  SetFullPath(path);
  return true;
}

bool BrLogFile::Init() {
  if (!Open("log.txt", eFileSystem | eFileCreate)) return false;
  m_bOpen = true;
  WriteLine("Brelmar Technology Application\n");
  return true;
}

bool BrLogFile::DebugPrintf(const char* format, ...) {
  if (!GIsDebug) return false;
  va_list args;
  va_start(args, format);
  bool ok = VPrintf(format, args);
  va_end(args);
  return ok;
}

bool BrLogFile::DebugWriteLine(const char* text) {
  if (!GIsDebug) return false;
  return WriteLine(text);
}
