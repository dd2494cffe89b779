// BrFileReader: a file read whole into memory and read back at any position.
#include "core/BrFileReader.h"

#include <cstring>

#include "core/BrLogFile.h"

BrFileReader::BrFileReader() {}

BrFileReader::~BrFileReader() {}

bool BrFileReader::Open(const char* path, uint32_t) {
  if (m_pHandle) Close();
  m_Bytes.Clear();
  m_bFailed = false;
  char mode[16];
  m_pHandle = path ? OpenStream(path, GetPermissions(eFileRead | eFileBinary, mode)) : nullptr;
  if (!m_pHandle) {
    GLog.printf("Failed to open %s binary for must exist loading", path ? path : "");
    return false;
  }
  m_bOpen = true;
  SetFullPath(path);

  // The array's 32-bit count bounds what can be held; a larger file is refused rather than cut.
  int64_t size = 0;
  if (::fseeko(m_pHandle, 0, SEEK_END) == 0) {
    off_t end = ::ftello(m_pHandle);
    size = end > 0 ? int64_t(end) : 0;
  }
  ::fseeko(m_pHandle, 0, SEEK_SET);
  if (size > int64_t(0x7FFFFFFE)) {
    GLog.printf("ERROR: BrFileReader::Open(..) %s is too large to read (%lld bytes)", path, (long long)size);
    Close();
    return false;
  }
  if (size > 0) m_Bytes.Grow(int(size));
  unsigned char chunk[65536];
  size_t got;
  while ((got = std::fread(chunk, 1, sizeof(chunk), m_pHandle)) > 0) {
    for (size_t i = 0; i < got && m_Bytes.GetCount() < 0x7FFFFFFE; ++i) m_Bytes.Add(chunk[i]);
  }
  m_iFileSize = m_Bytes.GetCount();
  return true;
}

bool BrFileReader::Stream(unsigned char* data, unsigned int count, unsigned int position) {
  if (m_bSaving) {
    if (count > 0x7FFFFFFFu) {
      MarkFailed("ERROR: BrFileReader::Stream(..) asked to write more than 2 GB");
      return false;
    }
    return BrBin::Stream(data, 1, int(count));
  }
  if (count == 0) return true;
  if (!data) {
    MarkFailed("ERROR: BrFileReader::Stream(..) given no buffer");
    return false;
  }
  unsigned int size = GetSize();
  if (position > size || count > size - position) {
    std::memset(data, 0, count);
    GLog.printf("ERROR: BrFileReader::Stream(..) %u bytes at %u lie outside the %u bytes of %s", count, position, size,
                GetFullPath());
    MarkFailed(nullptr);
    return false;
  }
  std::memcpy(data, &m_Bytes[int(position)], count);
  return true;
}

unsigned int BrFileReader::GetSize() const { return unsigned(m_Bytes.GetCount()); }

unsigned char BrFileReader::GetByte(unsigned int position) const {
  if (position >= GetSize()) return 0;
  return m_Bytes[int(position)];
}
