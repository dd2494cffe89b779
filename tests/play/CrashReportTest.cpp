// A play test that dies of a signal, on its own thread or on one the driver started, says which test it was and
// where, and still dies of that signal (a runner that counts it as a crash, a core dump, go on seeing one).
#include <gtest/gtest.h>
#include <signal.h>

#include <thread>

namespace {

void WriteThroughNull() {
  // Both volatile: a store through a pointer the compiler can prove null is otherwise dropped.
  volatile int* volatile nowhere = nullptr;
  *nowhere = 1;
}

}  // namespace

TEST(CrashReport, AFatalSignalNamesTheTestAndTheStackAndStillKills) {
#if defined(__SANITIZE_ADDRESS__)
  GTEST_SKIP() << "the address sanitizer reports crashes itself";
#else
  const char* named =
      "Fatal signal Segmentation fault in CrashReport\\.AFatalSignalNamesTheTestAndTheStackAndStillKills";
  EXPECT_EXIT(WriteThroughNull(), testing::KilledBySignal(SIGSEGV), named);
  // The frames are this executable's own, so the place can be looked up.
  EXPECT_EXIT(WriteThroughNull(), testing::KilledBySignal(SIGSEGV), "test_play.*\n.*end of stack");
  EXPECT_EXIT(std::thread(WriteThroughNull).join(), testing::KilledBySignal(SIGSEGV), named);
  EXPECT_EXIT(raise(SIGFPE), testing::KilledBySignal(SIGFPE), "Fatal signal Floating point exception in CrashReport");
#endif
}
