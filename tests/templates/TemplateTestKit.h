// Shared helpers of the template tests: a scratch folder holding the log, log capture and archive files.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "core/brcr.h"
#include "templates/templates.h"

namespace brtest {
// The text the log received since construction.
class LogCapture {
public:
  LogCapture();
  // Everything logged since construction.
  std::string Text() const;
  // True when the log received a line containing needle since construction.
  bool Saw(const std::string& needle) const { return Text().find(needle) != std::string::npos; }

private:
  long start;
};

// Every byte of a file in the scratch folder (empty when it cannot be read).
std::vector<uint8_t> ReadFileBytes(const std::string& name);
// Writes bytes as a file in the scratch folder.
void WriteFileBytes(const std::string& name, const std::vector<uint8_t>& bytes);
// Appends the little-endian bytes of a 32-bit value.
void PutInt32(std::vector<uint8_t>& bytes, int32_t v);

// A saving archive on name; the caller streams into it, then calls Close.
class SaveArchive : public BrBin {
public:
  explicit SaveArchive(const std::string& name);
};

// A loading archive over name (a file without the "GINF" header, so read from its first byte).
class LoadArchive : public BrBin {
public:
  explicit LoadArchive(const std::string& name);
};
}  // namespace brtest
