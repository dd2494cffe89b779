// BrBin: the archive with the "GINF" version header, checked transfers and a sticky failure flag.
#include "core/BrBin.h"

#include <cstring>

#include "core/BrGlobals.h"
#include "core/BrLogFile.h"
#include "templates/BrStringT.h"

BrBin::BrBin()
    : m_bLoading(false), m_bSaving(true), m_iVersion(int32_t(GEngineVer)), m_bFailed(false), m_iFileSize(0) {}

BrBin::BrBin(const BrStringT<char>& path) : BrBin() { Open(path.c_str(), eFileSystem | eFileReadWrite); }

BrBin::~BrBin() { Close(); }

bool BrBin::Close() {
  if (!m_pHandle) return false;
  // The last buffered bytes go out only here, so a full disk often shows first at this point; a save is also on
  // the disk before anyone renames it over the file it replaces.
  bool ok = !m_bSaving || Flush();
  ok = BrFileDevice::Close() && ok;
  if (!ok) MarkFailed("ERROR: BrBin::Close() could not write the archive's last bytes");
  return ok;
}

bool BrBin::Open(const char* path, uint32_t) {
  if (m_pHandle) Close();
  const char* shown = path ? path : "";
  m_bFailed = false;
  m_iFileSize = 0;
  if (m_bSaving) {
    m_pHandle = path ? OpenStream(path, "w+b") : nullptr;
    if (!m_pHandle) {
      GLog.printf("Failed to create %s binary with destroy if exist access", shown);
      return false;
    }
  } else {
    m_pHandle = path ? OpenStream(path, "r+b") : nullptr;
    // Reading needs no write access: a read-only save still loads.
    if (!m_pHandle && path) m_pHandle = OpenStream(path, "rb");
    if (!m_pHandle) {
      GLog.printf("Failed to open %s binary for must exist loading", shown);
      return false;
    }
  }
  m_bOpen = true;
  SetFullPath(path);
  if (m_bLoading) {
    int version = LoadVersion();
    if (m_bFailed || version > int(GEngineVer)) {
      if (m_bFailed)
        GLog.printf("ERROR: BrBin::Open(..) %s ends inside its version header", shown);
      else
        GLog.printf("ERROR: BrBin::Open(..) %s holds archive version %i, newer than this engine's %u", shown, version,
                    GEngineVer);
      Close();
      m_bFailed = true;
      return false;
    }
    // A version field of 0 or below names no version: the data is read as this engine's.
    if (version > 0) m_iVersion = version;
  }
  return true;
}

void BrBin::MeasureSize() {
  m_iFileSize = 0;
  if (!IsValid()) return;
  int64_t pos = 0;
  if (!GetPos(pos)) return;
  if (::fseeko(m_pHandle, 0, SEEK_END) == 0) {
    off_t end = ::ftello(m_pHandle);
    if (end > 0) m_iFileSize = int64_t(end);
  }
  SetPos(pos);
}

int BrBin::LoadVersion() {
  if (!m_pHandle) return 0;
  Loading(false);
  char tag[4] = {0, 0, 0, 0};
  size_t got = std::fread(tag, 1, 4, m_pHandle);
  if (got == 4 && std::memcmp(tag, "GINF", 4) == 0) {
    int32_t version = 0;
    if (std::fread(&version, 1, 4, m_pHandle) != 4) {
      m_bFailed = true;
      return 0;
    }
    return version;
  }
  std::clearerr(m_pHandle);
  SetPos(0);
  return ciHeaderlessVersion;
}

bool BrBin::Stream(void* data, int size, int count) {
  if (size < 0 || count < 0) {
    MarkFailed("ERROR: BrBin::Stream(..) asked for a negative size or count");
    return false;
  }
  int64_t total = int64_t(size) * int64_t(count);
  if (total == 0) return !m_bFailed;
  if (!data) {
    MarkFailed("ERROR: BrBin::Stream(..) given no buffer");
    return false;
  }
  if (!IsValid()) {
    if (m_bLoading) std::memset(data, 0, size_t(total));
    MarkFailed(m_bLoading ? "ERROR: BrBin::Stream(..) read from an archive that is not open"
                          : "ERROR: BrBin::Stream(..) wrote to an archive that is not open");
    return false;
  }
  if (m_bFailed) {
    // After a failure the position in the file no longer matches the fields being read; reading on would
    // only hand out misplaced bytes.
    if (m_bLoading) std::memset(data, 0, size_t(total));
    return false;
  }
  if (m_bSaving) {
    size_t put = std::fwrite(data, 1, size_t(total), m_pHandle);
    if (put != size_t(total)) {
      GLog.printf("ERROR: BrBin::Stream(..) wrote %lld of %lld bytes to %s", (long long)put, (long long)total,
                  GetFullPath());
      MarkFailed(nullptr);
      return false;
    }
    return true;
  }
  size_t got = std::fread(data, 1, size_t(total), m_pHandle);
  if (got != size_t(total)) {
    std::memset(static_cast<char*>(data) + got, 0, size_t(total) - got);
    GLog.printf("ERROR: BrBin::Stream(..) read %lld of %lld bytes from %s", (long long)got, (long long)total,
                GetFullPath());
    MarkFailed(nullptr);
    return false;
  }
  return true;
}

void BrBin::Loading(bool keepPos) {
  m_bLoading = true;
  m_bSaving = false;
  if (!IsValid()) return;
  // The C runtime needs a seek between writing and reading on one stream.
  if (keepPos)
    ::fseeko(m_pHandle, 0, SEEK_CUR);
  else
    SetPos(0);
  MeasureSize();
}

void BrBin::Saving(bool keepPos) {
  m_bLoading = false;
  m_bSaving = true;
  if (!IsValid()) return;
  if (keepPos)
    ::fseeko(m_pHandle, 0, SEEK_CUR);
  else
    SetPos(0);
}

bool BrBin::IsLoading() const { return m_bLoading; }

bool BrBin::IsSaving() const { return m_bSaving; }

int BrBin::GetVersion() const { return m_iVersion; }

bool BrBin::HasFailed() const { return m_bFailed; }

void BrBin::MarkFailed(const char* reason) {
  // One line per failure: what follows a failure is its consequence, not news.
  if (!m_bFailed && reason) GLog.printf("%s (%s)", reason, GetFullPath());
  m_bFailed = true;
}

void BrBin::ClearFailed() { m_bFailed = false; }

int64_t BrBin::BytesLeft() const {
  if (!m_bLoading) return INT64_MAX;
  int64_t pos = 0;
  if (!GetPos(pos)) return 0;
  return pos < m_iFileSize ? m_iFileSize - pos : 0;
}

bool BrBin::CheckCount(int64_t count, int64_t bytesEach) {
  if (m_bFailed) return false;
  int64_t each = bytesEach < 1 ? 1 : bytesEach;
  bool fits = count >= 0 && count <= ciMaxCount;
  int64_t left = 0;
  if (fits && m_bLoading) {
    left = BytesLeft();
    fits = count <= left / each;
  }
  if (!fits) {
    GLog.printf("ERROR: BrBin::CheckCount(..) count %lld of %lld-byte items does not fit %s (%lld bytes left)",
                (long long)count, (long long)each, GetFullPath(), (long long)left);
    m_bFailed = true;
    return false;
  }
  return true;
}
