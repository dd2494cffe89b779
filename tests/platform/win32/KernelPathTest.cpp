// Tests of the path layer: backslashes, case-insensitive components, prefixes kept for creating, fopen through it,
// and names beyond ASCII.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include "platform/win32/win32_kernel.h"
#include "tests/support/TempFolder.h"

namespace {

class KernelPathTest : public ::testing::Test {
protected:
  void SetUp() override {
    std::filesystem::create_directories(root / "Media" / "Config");
    std::ofstream(root / "Media" / "Config" / "main.cfg") << "x";
  }
  std::string Map(const std::string& path) {
    char out[1024];
    EXPECT_TRUE(W32MapPath(path.c_str(), out, sizeof(out))) << path;
    return out;
  }
  brtest::TempFolder scratch{"brw32"};
  const std::filesystem::path root = scratch.Path();
};

TEST_F(KernelPathTest, BackslashesAndCaseFindTheRealFile) {
  std::string base = root.string();
  EXPECT_EQ(Map(base + "\\Media\\Config\\main.cfg"), base + "/Media/Config/main.cfg");
  EXPECT_EQ(Map(base + "\\MEDIA\\config\\MAIN.CFG"), base + "/Media/Config/main.cfg");
  EXPECT_EQ(Map(base + "/media//config\\\\Main.cfg"), base + "/Media/Config/main.cfg");
  EXPECT_EQ(Map(base + "\\media\\CONFIG\\"), base + "/Media/Config/");
  EXPECT_EQ(Map(base + "\\media\\.\\config\\..\\Config\\main.CFG"), base + "/Media/./Config/../Config/main.cfg");
}

TEST_F(KernelPathTest, MissingTailIsKeptForCreating) {
  std::string base = root.string();
  EXPECT_EQ(Map(base + "\\media\\Saves\\Slot1.gin"), base + "/Media/Saves/Slot1.gin");
  EXPECT_EQ(Map(base + "\\MEDIA\\config\\New.cfg"), base + "/Media/Config/New.cfg");
}

TEST_F(KernelPathTest, ExactCaseWinsAndTiesAreStable) {
  std::filesystem::create_directories(root / "dup" / "Data");
  std::filesystem::create_directories(root / "dup" / "data");
  std::string base = root.string();
  EXPECT_EQ(Map(base + "/dup/data"), base + "/dup/data");
  EXPECT_EQ(Map(base + "/dup/Data"), base + "/dup/Data");
  EXPECT_EQ(Map(base + "/dup/DATA"), base + "/dup/Data");  // first in byte order
}

TEST_F(KernelPathTest, RelativePathsAndBounds) {
  char out[8];
  EXPECT_FALSE(W32MapPath(nullptr, out, sizeof(out)));
  EXPECT_STREQ(out, "");
  EXPECT_FALSE(W32MapPath("a\\much\\longer\\path", out, sizeof(out)));
  EXPECT_STREQ(out, "");
  EXPECT_TRUE(W32MapPath("a\\b", out, sizeof(out)));
  EXPECT_STREQ(out, "a/b");
  EXPECT_FALSE(W32MapPath("a", nullptr, 8));

  std::filesystem::path previous = std::filesystem::current_path();
  std::filesystem::current_path(root);
  char buf[256];
  EXPECT_TRUE(W32MapPath("media\\CONFIG\\Main.cfg", buf, sizeof(buf)));
  EXPECT_STREQ(buf, "Media/Config/main.cfg");
  std::filesystem::current_path(previous);
}

TEST_F(KernelPathTest, FopenGoesThroughTheLayer) {
  std::string base = root.string();
  FILE* f = W32fopen((base + "\\MEDIA\\CONFIG\\MAIN.CFG").c_str(), "r");
  ASSERT_NE(f, nullptr);
  EXPECT_EQ(std::fgetc(f), 'x');
  std::fclose(f);
  // Creating in an existing folder of another case lands in that folder.
  f = W32fopen((base + "\\media\\config\\Fresh.txt").c_str(), "w");
  ASSERT_NE(f, nullptr);
  std::fclose(f);
  EXPECT_TRUE(std::filesystem::exists(root / "Media" / "Config" / "Fresh.txt"));
  EXPECT_EQ(W32fopen((base + "\\nothing\\here.txt").c_str(), "r"), nullptr);
  EXPECT_EQ(W32fopen(nullptr, "r"), nullptr);
  EXPECT_EQ(W32fopen("", "r"), nullptr);
}

}  // namespace

// Names on disk are UTF-8; the system's text is 8-bit. A listed name (the 8-bit reading) must find its file again,
// in either case, and a name the system makes must land on disk as UTF-8.
TEST_F(KernelPathTest, NamesBeyondASCIIAreReadAsTheSystemsTextBothWays) {
  const std::filesystem::path saves = root / "Saves";
  std::filesystem::create_directories(saves);
  std::ofstream(saves / "H\xC3\xB6hle \xE6\x97\xA5.gin") << "h";  // Latin-1 and beyond it
  std::ofstream(saves / "raw\xFF\x80.gin") << "r";                // bytes that are not UTF-8
  const std::string base = root.string();

  std::vector<std::string> listed;
  WIN32_FIND_DATAA data;
  HANDLE search = FindFirstFileA((base + "\\Saves\\*.gin").c_str(), &data);
  ASSERT_NE(search, INVALID_HANDLE_VALUE);
  do listed.push_back(data.cFileName);
  while (FindNextFileA(search, &data));
  FindClose(search);
  EXPECT_EQ(listed, (std::vector<std::string>{"H\xF6hle ?.gin", "raw\xFF\x80.gin"}));

  for (const std::string& name : {listed[0], std::string("H\xD6HLE ?.GIN"), listed[1]}) {
    FILE* f = W32fopen((base + "\\Saves\\" + name).c_str(), "r");
    ASSERT_NE(f, nullptr) << name;
    EXPECT_EQ(std::fgetc(f), name == listed[1] ? 'r' : 'h');
    std::fclose(f);
  }
  // Only the letters fold: the multiplication sign is not the capital of the division sign.
  EXPECT_EQ(W32fopen((base + "\\Saves\\H\xF6hle \xD7.gin").c_str(), "r"), nullptr);

  ASSERT_TRUE(CreateDirectoryA((base + "\\Saves\\M\xF6nche").c_str(), nullptr));
  FILE* made = W32fopen((base + "\\Saves\\m\xD6NCHE\\S\xE9"
                                "ance.gin")
                            .c_str(),
                        "w");
  ASSERT_NE(made, nullptr);
  std::fclose(made);
  EXPECT_TRUE(std::filesystem::is_regular_file(saves / "M\xC3\xB6nche" /
                                               "S\xC3\xA9"
                                               "ance.gin"));
}
