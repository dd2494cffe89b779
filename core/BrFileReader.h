// BrFileReader: an archive that reads a whole file into memory for random access.
#pragma once

#include <cstdint>

#include "core/BrBin.h"
#include "templates/TDArray.h"

// A file read whole into a byte array; loading reads from the array at any position without moving a cursor.
class BrFileReader : public BrBin {
public:
  // A saving archive (as BrBin) with no bytes.
  BrFileReader();
  ~BrFileReader() override;

  // Closes an open file, opens path for binary reading (flags are not used) and reads every byte into the
  // array. An open failure logs "Failed to open %s binary for must exist loading" and returns false. The stream
  // stays open until Close or destruction.
  bool Open(const char* path, uint32_t flags) override;
  // Saving: writes count bytes from data (position is not used). Loading: copies count bytes from the array at
  // position; a range that does not lie wholly inside the bytes copies nothing, zero-fills data, fails the
  // archive and returns false. data must have room for count bytes either way.
  bool Stream(unsigned char* data, unsigned int count, unsigned int position);

  // Number of bytes read from the file.
  unsigned int GetSize() const;
  // The byte at position, or 0 outside the bytes.
  unsigned char GetByte(unsigned int position) const;

protected:
  TDArray<unsigned char> m_Bytes;
};
