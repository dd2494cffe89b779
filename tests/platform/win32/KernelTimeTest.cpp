// Tests of the kernel's clocks: monotonic ticks and counter, the time-stamp counter, local time and sleep.
#include <gtest/gtest.h>

#include "platform/win32/win32_kernel.h"

namespace {

TEST(KernelTimeTest, ClocksAdvanceAcrossASleep) {
  LARGE_INTEGER freq, c0, c1;
  ASSERT_TRUE(QueryPerformanceFrequency(&freq));
  EXPECT_EQ(freq.QuadPart, 1000000000LL);
  ULONGLONG t0 = GetTickCount64();
  ULONGLONG tsc0 = ReadTimeStampCounter();
  ASSERT_TRUE(QueryPerformanceCounter(&c0));
  Sleep(25);
  ASSERT_TRUE(QueryPerformanceCounter(&c1));
  ULONGLONG t1 = GetTickCount64();
  EXPECT_GE(t1 - t0, 24u);
  EXPECT_GE(c1.QuadPart - c0.QuadPart, 25000000LL);
  EXPECT_GT(ReadTimeStampCounter(), tsc0);
  // The two reads are a moment apart, so the millisecond may turn between them.
  DWORD low = GetTickCount();
  DWORD fromWide = DWORD(GetTickCount64() & 0xFFFFFFFFu);
  EXPECT_LE(DWORD(fromWide - low), 1u);
  EXPECT_FALSE(QueryPerformanceCounter(nullptr));
  Sleep(0);
}

TEST(KernelTimeTest, LocalTimeIsACalendarTime) {
  SYSTEMTIME t;
  GetLocalTime(&t);
  EXPECT_GE(t.wYear, 2024);
  EXPECT_GE(t.wMonth, 1);
  EXPECT_LE(t.wMonth, 12);
  EXPECT_GE(t.wDay, 1);
  EXPECT_LE(t.wDay, 31);
  EXPECT_LE(t.wHour, 23);
  EXPECT_LE(t.wMinute, 59);
  EXPECT_LE(t.wSecond, 60);
  EXPECT_LE(t.wMilliseconds, 999);
  EXPECT_LE(t.wDayOfWeek, 6);
  GetLocalTime(nullptr);
}

}  // namespace
