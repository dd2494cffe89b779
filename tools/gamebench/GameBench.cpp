// brgamebench: the game's timings on the build's run tree, each over several runs with min/median/max and the
// machine: start to the main menu (apart from the engine's two-second clock measurement), level generation for
// levels 1 to 80, save and load, the engine's processor time per frame without drawing, and a busy level's
// frame time at 1024x768. Usage: brgamebench [runs, default 5]. Runs headless unless SDL_VIDEODRIVER is set.
#include <time.h>

#include <cstdio>
#include <cstdlib>

#include "core/brcr.h"
#include "engine/kernel/kernel.h"
#include "engine/presentation/BrGUI.h"
#include "engine/presentation/BrRenderBase.h"
#include "tests/play/PlayRig.h"
#include "tools/gamebench/BenchMachine.h"

using namespace brplay;

namespace {

double Now() {
  timespec t;
  clock_gettime(CLOCK_MONOTONIC, &t);
  return double(t.tv_sec) + double(t.tv_nsec) * 1e-9;
}
double ThreadCpu() {
  timespec t;
  clock_gettime(CLOCK_THREAD_CPUTIME_ID, &t);
  return double(t.tv_sec) + double(t.tv_nsec) * 1e-9;
}

// Starts a new game by the menu's Q key; false when it did not come.
bool NewGame(PlayHost& host) {
  if (!host.RunUntilState("BrRAGGameStateMainMenu", 2.0f)) return false;
  host.HoldKey('Q', 1);
  return host.RunUntilState("BrRAGGameStatePlaying", 5.0f) && host.Map() && host.Player();
}

// Goes to the level with the map's own level change and lets the interlude pass.
void GoTo(PlayHost& host, unsigned int level) {
  host.Map()->SetLevel(level);
  host.Map()->Step(0.0f);
  if (Engine().GUI()->IsModal()) Engine().GUI()->SetModalControl(nullptr);
  host.Game()->ChangeToState("BrRAGGameStatePlaying");
  host.Frame(1.0f / 30.0f, false);
}

}  // namespace

int main(int argc, char** argv) {
  const int runs = argc > 1 ? std::max(1, std::atoi(argv[1])) : 5;
  setenv("BR_BINARY_DIR", BR_BENCH_BINARY_DIR, 0);
  setenv("SDL_VIDEODRIVER", "offscreen", 0);
  setenv("ALSOFT_DRIVERS", "null", 0);
  std::printf("brgamebench on %s\n", brbench::Machine().c_str());

  std::vector<double> toMenu, clockPause, generate, save, load, cpuFrame, busyFrame;
  std::vector<double> worstLevel(81, 0.0);
  for (int run = 0; run < runs; ++run) {
    PlayTree tree;
    tree.SetConfig("ShowIntro", "0");
    tree.SetConfig("WindowWidth", "1024");
    tree.SetConfig("WindowHeight", "768");
    PlayHost host;
    const double start = Now();
    if (!host.Start(1000u + unsigned(run))) {
      std::fprintf(stderr, "brgamebench: the game did not start; see %s/log.txt\n", tree.Game().c_str());
      return 1;
    }
    if (!host.RunUntilState("BrRAGGameStateMainMenu", 2.0f)) return 1;
    host.Frame();
    toMenu.push_back(Now() - start - 2.0);
    if (!NewGame(host)) {
      std::fprintf(stderr, "brgamebench: no new game\n");
      return 1;
    }

    // Level generation: the map's step that digs the level after a level change.
    for (unsigned int level = 1; level <= 80; ++level) {
      host.Map()->SetLevel(level);
      const double t0 = Now();
      host.Map()->Step(0.0f);
      const double ms = (Now() - t0) * 1000.0;
      generate.push_back(ms);
      worstLevel[level] = std::max(worstLevel[level], ms);
      if (Engine().GUI()->IsModal()) Engine().GUI()->SetModalControl(nullptr);
      host.Game()->ChangeToState("BrRAGGameStatePlaying");
    }

    // Save and load on a deep, busy level.
    GoTo(host, 45);
    host.Run(0.5f, 4);
    for (int i = 0; i < 5; ++i) {
      double t0 = Now();
      host.Game()->SaveGame("Saves\\bench.gin");
      save.push_back((Now() - t0) * 1000.0);
      t0 = Now();
      host.Game()->LoadSaveFile("Saves\\bench.gin");
      load.push_back((Now() - t0) * 1000.0);
      host.Map()->SetLevel(host.Map()->GetLevel());
      host.Map()->Step(0.0f);
      host.Game()->ChangeToState("BrRAGGameStatePlaying");
      host.Frame(1.0f / 30.0f, false);
    }

    // The engine's processor time per frame, without drawing: global keys and the step.
    for (int i = 0; i < 300; ++i) {
      const double t0 = ThreadCpu();
      Engine().FrameStarted() = brGetSystemTime();
      Engine().ProcessGlobalUserInput();
      Engine().Step(1.0f / 30.0f);
      cpuFrame.push_back((ThreadCpu() - t0) * 1000.0);
    }

    // The busy level drawn: whole frames through the real device, finished by the present.
    BrRenderBase* render = Engine().Render();
    for (int i = 0; i < 10; ++i) host.Frame();
    for (int i = 0; i < 100; ++i) {
      const double t0 = Now();
      host.Frame();
      busyFrame.push_back((Now() - t0) * 1000.0);
    }
    if (run == 0 && render)
      std::printf("busy level 45 at %ux%u with %d objects\n", render->GetWidth(), render->GetHeight(),
                  host.Map()->NumObjects());
    host.Leave();
  }
  brbench::Report("start to main menu beyond the 2 s clock", toMenu, "s");
  brbench::Report("level generation, levels 1-80", generate, "ms");
  int worst = 1;
  for (int l = 1; l <= 80; ++l)
    if (worstLevel[size_t(l)] > worstLevel[size_t(worst)]) worst = l;
  std::printf("%-44s level %d, %.3f ms\n", "slowest level generated", worst, worstLevel[size_t(worst)]);
  brbench::Report("save game (level 45)", save, "ms");
  brbench::Report("load game (level 45, before the rebuild)", load, "ms");
  brbench::Report("engine processor time per frame, no drawing", cpuFrame, "ms");
  brbench::Report("busy frame time (level 45, 1024x768)", busyFrame, "ms");
  return 0;
}
