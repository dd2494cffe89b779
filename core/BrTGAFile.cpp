// BrTGAFile: header parsing and validation, grey-scale sampling, and export of images built pixel by pixel.
#include "core/BrTGAFile.h"

#include "core/BrLogFile.h"

namespace {
const uint32_t kExportMask = 0x1001010;  // "w+b"
}

BrTGAFile::BrTGAFile() {}

BrTGAFile::BrTGAFile(const char* path) {
  if (BrFileReader::Open(path, 0)) {
    Loading(true);
    ReadHeader();
  }
}

BrTGAFile::~BrTGAFile() {}

bool BrTGAFile::Populate(const char* path) {
  // The reader appends what it reads; an image loaded over another must not sit behind the old bytes.
  m_Bytes.Clear();
  m_Header = _tgaheaderinfo();
  if (!Open(path, 0)) return false;
  Loading(true);
  ReadHeader();
  return true;
}

void BrTGAFile::ReadHeader() {
  _tgaheaderinfo h;
  h.idLength = GetByte(0);
  h.colourMapType = GetByte(1);
  h.imageType = GetByte(2);
  for (unsigned i = 0; i < 5; ++i) h.colourMapSpec[i] = GetByte(3 + i);
  h.xOrigin = uint16_t(GetByte(8) | (GetByte(9) << 8));
  h.yOrigin = uint16_t(GetByte(10) | (GetByte(11) << 8));
  h.width = uint16_t(GetByte(12) | (GetByte(13) << 8));
  h.height = uint16_t(GetByte(14) | (GetByte(15) << 8));
  h.bitsPerPixel = GetByte(16);
  h.descriptor = GetByte(17);
  m_Header = h;
}

void BrTGAFile::SetHeader(const _tgaheaderinfo& header) { m_Header = header; }

bool BrTGAFile::Validate() const {
  if (m_Header.width < 2 || m_Header.height < 2 || m_Header.imageType != 2 || m_Header.bitsPerPixel != 24 ||
      m_Header.idLength != 0)
    return false;
  // A header may promise more pixels than the file holds; every read below trusts this check.
  const uint64_t needed = uint64_t(ciHeaderSize) + uint64_t(m_Header.width) * m_Header.height * 3u;
  return uint64_t(GetSize()) >= needed;
}

unsigned int BrTGAFile::GetWidth() const { return m_Header.width; }

unsigned int BrTGAFile::GetHeight() const { return m_Header.height; }

unsigned char BrTGAFile::GetGreyScale(unsigned int x, unsigned int y) const {
  if (!Validate() || x >= m_Header.width || y >= m_Header.height) return 0;
  // Rows are stored bottom row first; the 6 pixels skipped are the 18 header bytes.
  const uint64_t p = ((uint64_t(m_Header.height) - y - 1) * m_Header.width + x + 6) * 3;
  const double blue = GetByte(unsigned(p));
  const double green = GetByte(unsigned(p + 1));
  const double red = GetByte(unsigned(p + 2));
  // Float factors, summed wider than float: their sum falls just short of 1, so pure white truncates to 254,
  // as height maps made for the engine expect.
  const double grey = blue * double(0.11f) + green * double(0.59f) + red * double(0.3f);
  return (unsigned char)(int(grey));
}

void BrTGAFile::AddRGB(unsigned char r, unsigned char g, unsigned char b) {
  m_Bytes.Add(b);
  m_Bytes.Add(g);
  m_Bytes.Add(r);
}

bool BrTGAFile::Export(const char* path) {
  if (!path) return false;
  const unsigned width = m_Header.width, height = m_Header.height;
  // Refused before the file is touched: writing would either read past the built bytes or leave a file whose
  // header promises pixels it does not hold.
  if (uint64_t(m_Bytes.GetCount()) < uint64_t(width) * height * 3u) {
    GLog.printf("ERROR: Failed to export image for %s", path);
    return false;
  }

  if (m_pHandle) Close();
  char mode[16];
  FILE* f = OpenStream(path, GetPermissions(kExportMask, mode));
  if (!f) return false;
  m_pHandle = f;
  m_bOpen = true;
  SetFullPath(path);
  Saving(true);
  ClearFailed();

  bool ok = ExportHeader();
  if (!ok)
    GLog.printf("ERROR: Failed to export header for %s", path);
  else {
    ok = ExportImage(width, height);
    if (!ok) GLog.printf("ERROR: Failed to export image for %s", path);
  }
  // Buffered bytes are written by the close; a failing close is a failed export too.
  if (!Close()) {
    if (ok) GLog.printf("ERROR: Failed to export image for %s", path);
    ok = false;
  }
  return ok;
}

bool BrTGAFile::ExportHeader() {
  const _tgaheaderinfo& h = m_Header;
  unsigned char bytes[ciHeaderSize] = {h.idLength,
                                       h.colourMapType,
                                       h.imageType,
                                       h.colourMapSpec[0],
                                       h.colourMapSpec[1],
                                       h.colourMapSpec[2],
                                       h.colourMapSpec[3],
                                       h.colourMapSpec[4],
                                       (unsigned char)(h.xOrigin & 0xFF),
                                       (unsigned char)(h.xOrigin >> 8),
                                       (unsigned char)(h.yOrigin & 0xFF),
                                       (unsigned char)(h.yOrigin >> 8),
                                       (unsigned char)(h.width & 0xFF),
                                       (unsigned char)(h.width >> 8),
                                       (unsigned char)(h.height & 0xFF),
                                       (unsigned char)(h.height >> 8),
                                       h.bitsPerPixel,
                                       h.descriptor};
  return BrBin::Stream(bytes, 1, ciHeaderSize);
}

bool BrTGAFile::ExportImage(unsigned int width, unsigned int height) {
  const unsigned rowBytes = width * 3;
  if (rowBytes == 0 || height == 0) return true;
  // Rows one at a time, last built row first: the same bytes as one gathered block, without a copy of the image.
  unsigned char* row = static_cast<unsigned char*>(brMalloc(rowBytes));
  if (!row) return false;
  bool ok = true;
  for (unsigned r = height; r-- > 0 && ok;) {
    for (unsigned i = 0; i < rowBytes; ++i) row[i] = m_Bytes[int(r * rowBytes + i)];
    ok = BrBin::Stream(row, 1, int(rowBytes));
  }
  brFree(row);
  return ok;
}
