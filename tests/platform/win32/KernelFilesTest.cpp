// Tests of the kernel's find, folder, rename and file-time calls.
#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include "platform/win32/win32_kernel.h"
#include "tests/support/TempFolder.h"

namespace {

class KernelFilesTest : public ::testing::Test {
protected:
  void SetUp() override {
    std::filesystem::create_directories(root / "Saves" / "Old");
    for (const char* name : {"b.gin", "A.GIN", "c.txt", "noext", "d.gin.bak"})
      std::ofstream(root / "Saves" / name) << "12345";
  }
  std::vector<std::string> Find(const std::string& pattern) {
    std::vector<std::string> names;
    WIN32_FIND_DATAA data;
    HANDLE h = FindFirstFileA(pattern.c_str(), &data);
    if (h == INVALID_HANDLE_VALUE) return names;
    do names.push_back(data.cFileName);
    while (FindNextFileA(h, &data));
    EXPECT_EQ(GetLastError(), DWORD(ERROR_NO_MORE_FILES));
    EXPECT_TRUE(FindClose(h));
    return names;
  }
  std::string Base() const { return root.string(); }
  brtest::TempFolder scratch{"brw32f"};
  const std::filesystem::path root = scratch.Path();
};

using Names = std::vector<std::string>;

TEST_F(KernelFilesTest, WildcardsMatchLikeWindows) {
  EXPECT_EQ(Find(Base() + "\\saves\\*.gin"), (Names{"A.GIN", "b.gin"}));
  EXPECT_EQ(Find(Base() + "\\SAVES\\*.*"), (Names{".", "..", "A.GIN", "b.gin", "c.txt", "d.gin.bak", "noext", "Old"}));
  EXPECT_EQ(Find(Base() + "\\Saves\\*"), Find(Base() + "\\Saves\\*.*"));
  EXPECT_EQ(Find(Base() + "\\Saves\\?.gin"), (Names{"A.GIN", "b.gin"}));
  EXPECT_EQ(Find(Base() + "\\Saves\\*.gin*"), (Names{"A.GIN", "b.gin", "d.gin.bak"}));
  EXPECT_EQ(Find(Base() + "\\Saves\\NOEXT"), (Names{"noext"}));
  EXPECT_EQ(Find(Base() + "\\Saves\\noext.*"), (Names{"noext"}));
  EXPECT_EQ(Find(Base() + "\\Saves\\*g*n"), (Names{"A.GIN", "b.gin"}));
}

TEST_F(KernelFilesTest, NothingFoundAndBadHandles) {
  WIN32_FIND_DATAA data;
  EXPECT_EQ(FindFirstFileA((Base() + "\\Saves\\*.sav").c_str(), &data), INVALID_HANDLE_VALUE);
  EXPECT_EQ(GetLastError(), DWORD(ERROR_FILE_NOT_FOUND));
  EXPECT_EQ(FindFirstFileA((Base() + "\\Missing\\*").c_str(), &data), INVALID_HANDLE_VALUE);
  EXPECT_EQ(GetLastError(), DWORD(ERROR_PATH_NOT_FOUND));
  EXPECT_EQ(FindFirstFileA((Base() + "\\Saves\\").c_str(), &data), INVALID_HANDLE_VALUE);
  EXPECT_EQ(FindFirstFileA(nullptr, &data), INVALID_HANDLE_VALUE);
  EXPECT_FALSE(FindNextFileA(INVALID_HANDLE_VALUE, &data));
  EXPECT_FALSE(FindNextFileA(nullptr, &data));
  EXPECT_FALSE(FindClose(INVALID_HANDLE_VALUE));
  EXPECT_FALSE(FindClose(nullptr));
}

TEST_F(KernelFilesTest, EntriesCarryAttributesSizesAndTimes) {
  WIN32_FIND_DATAA data;
  HANDLE h = FindFirstFileA((Base() + "/saves/a.gin").c_str(), &data);
  ASSERT_NE(h, INVALID_HANDLE_VALUE);
  EXPECT_STREQ(data.cFileName, "A.GIN");
  EXPECT_EQ(data.nFileSizeLow, 5u);
  EXPECT_FALSE(data.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY);
  SYSTEMTIME st;
  ASSERT_TRUE(FileTimeToSystemTime(&data.ftCreationTime, &st));
  EXPECT_GE(st.wYear, 2024);
  FindClose(h);
  h = FindFirstFileA((Base() + "/saves/old").c_str(), &data);
  ASSERT_NE(h, INVALID_HANDLE_VALUE);
  EXPECT_TRUE(data.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY);
  EXPECT_EQ(data.nFileSizeLow, 0u);
  FindClose(h);
}

TEST_F(KernelFilesTest, FileTimeConversion) {
  // 2026-12-08 14:05:09.250 UTC as 100 ns ticks since 1601.
  uint64_t ticks = (uint64_t(1796738709) + 11644473600ull) * 10000000ull + 2500000ull;
  FILETIME ft = {DWORD(ticks), DWORD(ticks >> 32)};
  SYSTEMTIME st;
  ASSERT_TRUE(FileTimeToSystemTime(&ft, &st));
  EXPECT_EQ(st.wYear, 2026);
  EXPECT_EQ(st.wMonth, 12);
  EXPECT_EQ(st.wDay, 8);
  EXPECT_EQ(st.wHour, 14);
  EXPECT_EQ(st.wMinute, 5);
  EXPECT_EQ(st.wSecond, 9);
  EXPECT_EQ(st.wMilliseconds, 250);
  EXPECT_EQ(st.wDayOfWeek, 2);  // a Tuesday
  FILETIME huge = {0, 0x80000000u};
  EXPECT_FALSE(FileTimeToSystemTime(&huge, &st));
  EXPECT_FALSE(FileTimeToSystemTime(nullptr, &st));
}

TEST_F(KernelFilesTest, FoldersCurrentFolderAndRenames) {
  EXPECT_FALSE(CreateDirectoryA((Base() + "\\saves").c_str(), nullptr));
  EXPECT_EQ(GetLastError(), DWORD(ERROR_ALREADY_EXISTS));
  EXPECT_FALSE(CreateDirectoryA((Base() + "\\a\\b").c_str(), nullptr));
  EXPECT_EQ(GetLastError(), DWORD(ERROR_PATH_NOT_FOUND));
  EXPECT_TRUE(CreateDirectoryA((Base() + "\\SAVES\\New").c_str(), nullptr));
  EXPECT_TRUE(std::filesystem::is_directory(root / "Saves" / "New"));

  std::filesystem::path previous = std::filesystem::current_path();
  EXPECT_TRUE(SetCurrentDirectoryA((Base() + "\\saves\\OLD").c_str()));
  char buf[4096];
  DWORD n = GetCurrentDirectoryA(sizeof(buf), buf);
  EXPECT_EQ(std::string(buf), std::filesystem::canonical(root / "Saves" / "Old").string());
  EXPECT_EQ(n, DWORD(std::string(buf).size()));
  EXPECT_EQ(GetCurrentDirectoryA(2, buf), n + 1);
  EXPECT_FALSE(SetCurrentDirectoryA("..\\nowhere"));
  EXPECT_FALSE(SetCurrentDirectoryA(nullptr));
  std::filesystem::current_path(previous);

  std::string from = Base() + "\\saves\\b.gin";
  std::string to = Base() + "\\saves\\c.txt";
  EXPECT_FALSE(MoveFileExA(from.c_str(), to.c_str(), 0));
  EXPECT_EQ(GetLastError(), DWORD(ERROR_ALREADY_EXISTS));
  EXPECT_TRUE(MoveFileExA(from.c_str(), to.c_str(), MOVEFILE_REPLACE_EXISTING));
  EXPECT_FALSE(std::filesystem::exists(root / "Saves" / "b.gin"));
  EXPECT_TRUE(DeleteFileA((Base() + "\\SAVES\\C.TXT").c_str()));
  EXPECT_FALSE(std::filesystem::exists(root / "Saves" / "c.txt"));
  EXPECT_FALSE(DeleteFileA((Base() + "\\saves\\c.txt").c_str()));
}

}  // namespace
