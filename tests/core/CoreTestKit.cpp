// Shared helpers of the core tests.
#include "CoreTestKit.h"

#include <fstream>
#include <iterator>

namespace coretest {

void ScratchTest::SetUp() {
  scratch = std::make_unique<brtest::TempFolder>("brcore", "");
  folder = scratch->String();
  GIsDebug = false;
  ASSERT_TRUE(GLog.Init());
}

void ScratchTest::TearDown() {
  GLog.Close();
  GIsDebug = false;
  scratch.reset();
}

std::string ScratchTest::LogText() const {
  std::vector<uint8_t> bytes = ReadFileBytes(folder + "/log.txt");
  return std::string(bytes.begin(), bytes.end());
}

std::vector<uint8_t> ReadFileBytes(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  return std::vector<uint8_t>(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

void WriteFileBytes(const std::string& path, const std::vector<uint8_t>& bytes) {
  std::ofstream out(path, std::ios::binary | std::ios::trunc);
  out.write(reinterpret_cast<const char*>(bytes.data()), std::streamsize(bytes.size()));
}

void PutInt32(std::vector<uint8_t>& bytes, int32_t v) {
  uint32_t u = uint32_t(v);
  for (int i = 0; i < 4; ++i) bytes.push_back(uint8_t(u >> (8 * i)));
}

void PutText(std::vector<uint8_t>& bytes, const char* text) {
  for (const char* p = text; *p; ++p) bytes.push_back(uint8_t(*p));
}

}  // namespace coretest
