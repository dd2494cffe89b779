// brsoak: plays random input for a number of minutes on the run tree (clicks on the floor and on widgets,
// held keys, staircases, the in-game menu, saves and loads) and prints, once a minute, the frames played,
// the level, the count of live objects and the resident memory, which must not grow from level to level. A
// crash ends the program with the signal; a frame longer than ten seconds is reported as a hang. Usage: brsoak [minutes, default 5]
// [seed, default 1].
#include <signal.h>
#include <time.h>
#include <unistd.h>

#include <cstdio>
#include <cstdlib>

#include "core/brcr.h"
#include "engine/kernel/kernel.h"
#include "engine/presentation/BrGUI.h"
#include "engine/presentation/BrRenderBase.h"
#include "platform/win32/win32.h"
#include "tests/play/PlayRig.h"
#include "tests/play/PlayScript.h"
#include "tools/gamebench/BenchMachine.h"

using namespace brplay;

namespace {

double Now() {
  timespec t;
  clock_gettime(CLOCK_MONOTONIC, &t);
  return double(t.tv_sec) + double(t.tv_nsec) * 1e-9;
}

// The process's resident memory in MB, so a leak outside the map's objects shows too.
double ResidentMB() {
  long pages = 0, resident = 0;
  if (FILE* f = std::fopen("/proc/self/statm", "r")) {
    if (std::fscanf(f, "%ld %ld", &pages, &resident) != 2) resident = 0;
    std::fclose(f);
  }
  return double(resident) * double(sysconf(_SC_PAGESIZE)) / (1024.0 * 1024.0);
}

volatile sig_atomic_t gFrameDone = 1;
void Watchdog(int) {
  if (!gFrameDone) {
    const char text[] = "brsoak: HANG: a frame took longer than ten seconds\n";
    (void)write(2, text, sizeof(text) - 1);
    _exit(3);
  }
  gFrameDone = 0;
  alarm(10);
}
void Crash(int sig) {
  char text[64];
  const int n = std::snprintf(text, sizeof text, "brsoak: CRASH: signal %d\n", sig);
  (void)write(2, text, size_t(n));
  _exit(4);
}

using Rand = BrRandStream;

}  // namespace

int main(int argc, char** argv) {
  const double minutes = argc > 1 ? std::atof(argv[1]) : 5.0;
  Rand rng{argc > 2 ? uint32_t(std::atoi(argv[2])) : 1u};
  setenv("BR_BINARY_DIR", BR_BENCH_BINARY_DIR, 0);
  setenv("SDL_VIDEODRIVER", "offscreen", 0);
  setenv("ALSOFT_DRIVERS", "null", 0);
  signal(SIGSEGV, Crash);
  signal(SIGABRT, Crash);
  signal(SIGFPE, Crash);
  signal(SIGALRM, Watchdog);
  std::printf("brsoak on %s, %.1f minutes\n", brbench::Machine().c_str(), minutes);

  PlayTree tree;
  tree.SetConfig("ShowIntro", "0");
  PlayHost host;
  if (!host.Start(rng.Next())) {
    std::fprintf(stderr, "brsoak: the game did not start\n");
    return 1;
  }
  alarm(10);
  const double start = Now();
  double nextReport = start;
  long frames = 0;
  static const int keys[] = {'A', 'D', 'J', 'L', 'E', 'Q', 'O', 'U', 'W', 'S', '1', '2', '3', 'P', VK_ESCAPE};
  PlayScript script(host);
  while (Now() - start < minutes * 60.0 && !GExit) {
    BrRenderBase* render = Engine().Render();
    const uint32_t what = rng.Next() % 100;
    if (host.State() == "BrRAGGameStateMainMenu" && what < 50) {
      host.HoldKey('Q', 1);
    } else if (what < 40 && render) {
      host.ClickAt(int(rng.Next() % render->GetWidth()), int(rng.Next() % render->GetHeight()));
    } else if (what < 70) {
      const int key = keys[rng.Next() % (sizeof keys / sizeof keys[0])];
      host.HoldKey(key, 1 + int(rng.Next() % 20));
    } else if (what < 73 && host.Map() && host.State() == "BrRAGGameStatePlaying") {
      script.TakeStairs(10.0f);
    } else if (what < 75 && host.Game() && host.Map() && host.State() == "BrRAGGameStatePlaying") {
      host.Game()->SaveGame("Saves\\soak.gin");
      if (rng.Next() % 2) host.Game()->LoadGame(Engine().getMediaDir() + "\\Saves\\soak.gin");
    } else if (what < 77 && Engine().GUI() && Engine().GUI()->IsModal()) {
      Engine().GUI()->SetModalControl(nullptr);
    } else {
      host.Run(0.5f);
    }
    frames += 1;
    gFrameDone = 1;
    if (host.Player() && host.Player()->GetHealth() < 20) host.Player()->SetHealth(host.Player()->GetMaxHealth());
    if (Now() >= nextReport) {
      std::printf("%6.1f min  actions %7ld  state %-30s level %3u  live objects %5d  resident %6.1f MB\n",
                  (Now() - start) / 60.0, frames, host.State().c_str(), host.Map() ? host.Map()->GetLevel() : 0u,
                  host.Map() ? host.Map()->ObjectMgr().GetNumLiveObjects() : 0, ResidentMB());
      std::fflush(stdout);
      nextReport += 60.0;
    }
  }
  alarm(0);
  host.Leave();
  std::printf("brsoak: no crash, no hang; %ld actions\n", frames);
  return 0;
}
