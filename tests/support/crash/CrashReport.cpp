// A test process that dies of a signal says which test was running and where, before it dies as it would have:
// a crash seen once in a loaded CI run and never again leaves nothing else to go on. Linked into every test
// executable as an object, so its static installer runs. The sanitizer builds have their own, better report.
#include <gtest/gtest.h>
#include <execinfo.h>
#include <signal.h>
#include <unistd.h>

#include <cstring>

#if !defined(__SANITIZE_ADDRESS__)

namespace {

const int kSignals[] = {SIGSEGV, SIGBUS, SIGFPE, SIGILL, SIGABRT};

// Only write(2) and backtrace: the heap may be what broke.
void Say(const char* text) {
  if (!text) return;
  size_t left = std::strlen(text);
  while (left > 0) {
    const ssize_t n = write(STDERR_FILENO, text, left);
    if (n <= 0) return;
    text += n;
    left -= size_t(n);
  }
}

void OnFatalSignal(int signal) {
  Say("\n*** Fatal signal ");
  // Not strsignal: it may translate, and translating may allocate.
  Say(sigdescr_np(signal));
  Say(" in ");
  const testing::TestInfo* test = testing::UnitTest::GetInstance()->current_test_info();
  if (test) {
    Say(test->test_suite_name());
    Say(".");
    Say(test->name());
  } else {
    Say("no test (set-up or tear-down of the program)");
  }
  Say("; the stack of the thread that took it:\n");
  void* frames[64];
  const int depth = backtrace(frames, 64);
  backtrace_symbols_fd(frames, depth, STDERR_FILENO);
  Say("*** end of stack\n");
  // Dies of the same signal, so the test runner, a core dump and a death test see what they would have.
  struct sigaction plain {};
  plain.sa_handler = SIG_DFL;
  sigemptyset(&plain.sa_mask);
  sigaction(signal, &plain, nullptr);
  raise(signal);
}

struct Installer {
  Installer() {
    // The first backtrace loads the unwinder, which allocates: done here, not in the handler.
    void* warm[2];
    backtrace(warm, 2);
    // A stack of its own, so an overflow of the main thread's stack is reported too.
    static char altStack[64 * 1024];
    stack_t stack{};
    stack.ss_sp = altStack;
    stack.ss_size = sizeof(altStack);
    sigaltstack(&stack, nullptr);
    struct sigaction act {};
    act.sa_handler = OnFatalSignal;
    act.sa_flags = SA_ONSTACK | SA_RESETHAND;
    sigemptyset(&act.sa_mask);
    for (int s : kSignals) sigaction(s, &act, nullptr);
  }
} installer;

}  // namespace

#endif
