// BrTGAFile: uncompressed 24-bit true-colour TGA images, read whole for height maps and written for debug dumps.
#pragma once

#include <cstdint>

#include "core/BrFileReader.h"

// The 18-byte TGA header, field by field (never streamed raw: Export and loading go byte by byte, little-endian).
struct _tgaheaderinfo {
  uint8_t idLength = 0;       // bytes of the id field after the header; this class needs 0
  uint8_t colourMapType = 0;  // 0 in the images the system writes
  uint8_t imageType = 0;      // 2: uncompressed true colour
  uint8_t colourMapSpec[5] = {0, 0, 0, 0, 0};
  uint16_t xOrigin = 0;
  uint16_t yOrigin = 0;
  uint16_t width = 0;
  uint16_t height = 0;
  uint8_t bitsPerPixel = 0;  // 24
  uint8_t descriptor = 0;
};

// A TGA image in the reader's byte array, header included when loaded from a file; pixels are read by position.
class BrTGAFile : public BrFileReader {
public:
  // Size of the header in bytes.
  static const int ciHeaderSize = 18;

  // An empty image: no bytes, a zero header.
  BrTGAFile();
  // Loads path whole and reads its header; a failed open leaves the header zero and the image invalid.
  explicit BrTGAFile(const char* path);
  ~BrTGAFile() override;

  // Loads path whole (replacing any earlier bytes) and reads its header; false only when the open fails.
  bool Populate(const char* path);
  // Copies all 18 header fields.
  void SetHeader(const _tgaheaderinfo& header);
  // True for an image this class can read: id length 0, type 2, 24 bits, width and height at least 2, and
  // loaded bytes that hold the header and every pixel the header declares.
  bool Validate() const;
  // The header's width.
  unsigned int GetWidth() const;
  // The header's height.
  unsigned int GetHeight() const;
  // The grey level 0-255 of pixel (x, y), y = 0 the top row: blue 0.11 + green 0.59 + red 0.3, truncated.
  // 0 when the image does not validate or (x, y) lies outside it.
  unsigned char GetGreyScale(unsigned int x, unsigned int y) const;
  // Appends one pixel (stored blue, green, red). Images to export are built from the top row down.
  void AddRGB(unsigned char r, unsigned char g, unsigned char b);
  // Writes the header and the width x height pixels built with AddRGB, bottom row first, to path ("w+b").
  // False, with an error logged, when fewer bytes than the header declares were built (no file is written),
  // when the file cannot be created or when a write fails.
  bool Export(const char* path);

protected:
  // Reads the header from the first 18 loaded bytes (zero where the file is shorter).
  void ReadHeader();
  // Writes the 18 header bytes; false when the write fails.
  bool ExportHeader();
  // Writes the rows of the built bytes in reverse order; false when a write fails.
  bool ExportImage(unsigned int width, unsigned int height);

  _tgaheaderinfo m_Header;
};
