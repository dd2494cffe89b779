// Shared helpers of the core tests: a scratch folder made current for each test, the log opened in it, and file bytes.
#pragma once

#include <gtest/gtest.h>

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "core/brcr.h"
#include "tests/support/TempFolder.h"

namespace coretest {

// Makes a fresh scratch folder current and opens GLog in it; restores the old folder and closes the log after.
class ScratchTest : public ::testing::Test {
protected:
  void SetUp() override;
  void TearDown() override;

  // Everything the log holds so far.
  std::string LogText() const;
  // The scratch folder's absolute path.
  const std::string& Folder() const { return folder; }

  std::unique_ptr<brtest::TempFolder> scratch;
  std::string folder;
};

// Every byte of a file (empty when it cannot be read).
std::vector<uint8_t> ReadFileBytes(const std::string& path);
// Writes bytes as a file, replacing it.
void WriteFileBytes(const std::string& path, const std::vector<uint8_t>& bytes);
// Appends the little-endian bytes of a 32-bit value.
void PutInt32(std::vector<uint8_t>& bytes, int32_t v);
// Appends the bytes of a text without its terminator.
void PutText(std::vector<uint8_t>& bytes, const char* text);

}  // namespace coretest
