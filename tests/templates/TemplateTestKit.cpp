// Shared helpers of the template tests: the scratch folder is made current and the log opened in it once.
#include "tests/templates/TemplateTestKit.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <iterator>
#include <memory>

#include "tests/support/TempFolder.h"

namespace brtest {
namespace {
class ScratchEnvironment : public ::testing::Environment {
public:
  void SetUp() override {
    scratch = std::make_unique<TempFolder>("br_templates", "");
    ASSERT_TRUE(GLog.Init());
  }
  void TearDown() override {
    GLog.Close();
    scratch.reset();
  }

private:
  std::unique_ptr<TempFolder> scratch;
};

const ::testing::Environment* const gScratch = ::testing::AddGlobalTestEnvironment(new ScratchEnvironment);

long LogSize() {
  if (GLog.Handle()) std::fflush(GLog.Handle());
  std::error_code ec;
  const auto n = std::filesystem::file_size("log.txt", ec);
  return ec ? 0 : long(n);
}
}  // namespace

LogCapture::LogCapture() : start(LogSize()) {}

std::string LogCapture::Text() const {
  LogSize();
  std::ifstream in("log.txt", std::ios::binary);
  std::string all((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
  return long(all.size()) > start ? all.substr(size_t(start)) : std::string();
}

std::vector<uint8_t> ReadFileBytes(const std::string& name) {
  std::ifstream in(name, std::ios::binary);
  return std::vector<uint8_t>((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
}

void WriteFileBytes(const std::string& name, const std::vector<uint8_t>& bytes) {
  std::ofstream out(name, std::ios::binary | std::ios::trunc);
  out.write(reinterpret_cast<const char*>(bytes.data()), std::streamsize(bytes.size()));
}

void PutInt32(std::vector<uint8_t>& bytes, int32_t v) {
  const uint32_t u = uint32_t(v);
  for (int i = 0; i < 4; ++i) bytes.push_back(uint8_t(u >> (8 * i)));
}

SaveArchive::SaveArchive(const std::string& name) : BrBin(BrStringT<char>(name.c_str())) {}

LoadArchive::LoadArchive(const std::string& name) {
  Loading();
  Open(name.c_str(), 0);
}
}  // namespace brtest
