// Tests of the system wrappers, clocks and the resolution ladder.
#include "CoreTestKit.h"

#include <string>

#include "platform/win32/win32_kernel.h"

namespace {

std::pair<int, int> Validate(int w, int h) {
  brValidateRes(w, h);
  return {w, h};
}

TEST(BrResolutionTest, LadderSnapsAndSteps) {
  EXPECT_EQ(Validate(1920, 1080), std::make_pair(1600, 1200));
  EXPECT_EQ(Validate(1280, 1024), std::make_pair(1280, 960));
  EXPECT_EQ(Validate(1024, 768), std::make_pair(1024, 768));
  EXPECT_EQ(Validate(600, 800), std::make_pair(640, 480));
  EXPECT_EQ(Validate(1000, 1300), std::make_pair(1024, 768));
  EXPECT_EQ(Validate(0, 0), std::make_pair(640, 480));
  EXPECT_EQ(Validate(-5, 100000), std::make_pair(640, 480));  // portrait, judged by the width
  EXPECT_EQ(Validate(539, 539), std::make_pair(640, 480));
  EXPECT_EQ(Validate(540, 540), std::make_pair(800, 600));

  int w = 1024, h = 768;
  brDecrementRes(w, h);
  EXPECT_EQ(std::make_pair(w, h), std::make_pair(800, 600));
  w = 1600, h = 1200;
  brIncrementRes(w, h);
  EXPECT_EQ(std::make_pair(w, h), std::make_pair(1600, 1200));
  w = 640, h = 480;
  brDecrementRes(w, h);
  EXPECT_EQ(std::make_pair(w, h), std::make_pair(640, 480));
  w = 1280, h = 960;
  brIncrementRes(w, h);
  EXPECT_EQ(std::make_pair(w, h), std::make_pair(1600, 1200));
}

TEST(BrTimeTest, LocalTimeText) {
  SYSTEMTIME t = {};
  t.wYear = 2026;
  t.wMonth = 12;
  t.wDay = 8;
  t.wHour = 14;
  t.wMinute = 5;
  t.wSecond = 9;
  char buf[32];
  brFormatTimeString(t, buf);
  EXPECT_STREQ(buf, "8122026_1459");
  t.wMonth = 1;
  t.wHour = 0;
  t.wMinute = 0;
  t.wSecond = 0;
  brFormatTimeString(t, buf);
  EXPECT_STREQ(buf, "812026_000");

  SYSTEMTIME now = brGetLocalTime();
  EXPECT_GE(now.wYear, 2024);
  EXPECT_GE(now.wMonth, 1);
  EXPECT_LE(now.wMonth, 12);
  brGetLocalTimeString(buf);
  EXPECT_NE(std::string(buf).find('_'), std::string::npos);
}

TEST(BrTimeTest, SystemTimeCountsFromStartOnTheMonotonicClock) {
  float t0 = brGetSystemTime();
  EXPECT_GE(t0, 0.0f);
  EXPECT_LT(t0, 600.0f);  // since the library loaded, not since the machine started
  Sleep(30);
  float t1 = brGetSystemTime();
  EXPECT_GE(t1 - t0, 0.029f);
  EXPECT_LT(t1 - t0, 5.0f);

  int64_t c0 = 0, c1 = 0;
  brQueryPerformanceCounter(&c0);
  Sleep(1);
  brQueryPerformanceCounter(&c1);
  EXPECT_GT(c1, c0);
  brQueryPerformanceCounter(nullptr);
}

class BrSystemFolderTest : public coretest::ScratchTest {};

TEST_F(BrSystemFolderTest, FoldersAndSearches) {
  EXPECT_TRUE(brCreateDirectory("Config"));
  EXPECT_FALSE(brCreateDirectory("Config"));
  EXPECT_FALSE(brCreateDirectory("config"));  // one folder, whatever the case
  EXPECT_FALSE(brCreateDirectory("missing\\child"));
  EXPECT_TRUE(brCreateDirectory("CONFIG\\Mods"));

  EXPECT_TRUE(brSetCurrentDirectory("config\\mods"));
  char cwd[4096];
  DWORD n = brGetCurrentDirectory(sizeof(cwd), cwd);
  EXPECT_EQ(std::string(cwd), Folder() + "/Config/Mods");
  EXPECT_EQ(n, DWORD(std::string(cwd).size()));
  EXPECT_TRUE(brSetCurrentDirectory(".."));
  EXPECT_FALSE(brSetCurrentDirectory("nowhere"));
  EXPECT_GT(brGetCurrentDirectory(4, cwd), 4u);  // too small: the size needed

  WIN32_FIND_DATAA data;
  EXPECT_EQ(brFindFirstFile("*.none", &data), nullptr);
  HANDLE h = brFindFirstFile("MOD*", &data);
  ASSERT_NE(h, nullptr);
  EXPECT_STREQ(data.cFileName, "Mods");
  EXPECT_TRUE(data.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY);
  EXPECT_FALSE(FindNextFileA(h, &data));
  EXPECT_TRUE(FindClose(h));
}

TEST(BrSystemTest, VersionAndMemory) {
  OSVERSIONINFOA info = {};
  info.dwOSVersionInfoSize = sizeof(info);
  EXPECT_TRUE(brGetVersionExA(&info));
  EXPECT_TRUE(brGetVersionEx(&info));
  EXPECT_EQ(info.dwPlatformId, DWORD(VER_PLATFORM_WIN32_NT));
  EXPECT_GE(info.dwMajorVersion, 3u);

  MEMORYSTATUS status = {};
  status.dwLength = sizeof(status);
  brGlobalMemoryStatus(&status);
  EXPECT_EQ(status.dwLength, DWORD(sizeof(status)));
  EXPECT_GT(status.dwTotalPhys, 0u);
  EXPECT_LE(status.dwAvailPhys, status.dwTotalPhys);
  EXPECT_LE(status.dwMemoryLoad, 100u);
  EXPECT_GT(status.dwAvailVirtual, 0u);
}

}  // namespace
