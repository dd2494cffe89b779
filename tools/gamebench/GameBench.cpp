// brgamebench: the game's timings on the build's run tree, each over several runs with min/median/max and the
// machine: start to the main menu (apart from the engine's two-second clock measurement), level generation for
// levels 1 to 80 (and the level slowest over the runs), save and load (to the first playable frame), the engine's
// processor time per frame without drawing on a level that runs, and the busy level's frame time at 1024x768
// against a replay of one of its frames with plain OpenGL calls. The busy level is measured, not named: the level
// and view with the most draws over the bench's fixed seed. Every run plays the same seed.
// Start to the main menu is timed twice: in fresh processes (the bench starting itself with "start"), as a player
// meets it with every library loaded and every cache filled for the first time, and again for each run's start
// inside the one process. Usage: brgamebench [runs, default 5], or brgamebench frames [count] (see FramesOnly).
// Runs headless unless SDL_VIDEODRIVER is set.
#include <SDL2/SDL.h>
#include <epoxy/gl.h>
#include <time.h>

#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <map>
#include <string>

#include "adventure/world/BrRAGActor.h"
#include "adventure/world/BrRAGCell.h"
#include "platform/d3d9/d3d9_testing.h"
#include "core/brcr.h"
#include "engine/kernel/kernel.h"
#include "engine/presentation/BrGUI.h"
#include "engine/presentation/BrRenderBase.h"
#include "platform/d3d9/d3d9_capture.h"
#include "tests/play/PlayRig.h"
#include "tools/gamebench/BenchMachine.h"
#include "tools/gamebench/FrameReplay.h"

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

// Every run starts from this seed, so that the runs generate and draw the same levels.
const unsigned int kSeed = 1000u;

// Where the busy frame is drawn from: the level and the player's place with the most draws of a frame.
struct BusyView {
  unsigned int level = 1;
  bool moved = false;  // the player stands at (x, z) instead of the level's start
  float x = 0.0f, z = 0.0f;
  uint32_t draws = 0;
};

// The draws of one drawn frame in which the world steps by no time.
uint32_t DrawsOfFrame(PlayHost& host) {
  const uint32_t before = brD3D9TestGetCounts().draws;
  host.Frame(0.0f, true);
  return brD3D9TestGetCounts().draws - before;
}

// Puts the player at (x, z) and lets the camera follow and the sight settle.
void StandAt(PlayHost& host, float x, float z) {
  host.Player()->Location().x = x;
  host.Player()->Location().z = z;
  for (int i = 0; i < 3; ++i) host.Frame(1.0f / 30.0f, false);
}

// Goes to the busy view: its level, and the player at its place.
void GoToBusyView(PlayHost& host, const BusyView& view) {
  GoTo(host, view.level);
  if (view.moved) StandAt(host, view.x, view.z);
}

// Goes through levels 1-80 on the current game and, on each, draws the view from the player's start and from
// floor cells spread over the level; the level and view with the most draws win. Each view is drawn on the
// level dug afresh, as GoToBusyView reaches it, so that the view timed later is the one measured here.
BusyView FindBusyView(PlayHost& host) {
  BusyView best;
  for (unsigned int level = 1; level <= 80; ++level) {
    GoTo(host, level);
    BrRAGMap* map = host.Map();
    if (!map || !host.Player()) continue;
    const uint32_t atStart = DrawsOfFrame(host);
    if (atStart > best.draws) best = {level, false, 0.0f, 0.0f, atStart};
    std::vector<std::pair<int, int>> floor;
    for (int cy = 0; cy < map->GridHeight(); ++cy)
      for (int cx = 0; cx < map->GridWidth(); ++cx)
        if (BrRAGCell* cell = map->GetCell(cx, cy); cell && cell->IsOccupied()) floor.push_back({cx, cy});
    const size_t views = std::min<size_t>(8, floor.size());
    const float grid = map->GridScale();
    const int width = map->GridWidth(), height = map->GridHeight();
    for (size_t v = 0; v < views; ++v) {
      const auto [cx, cy] = floor[(v * 2 + 1) * floor.size() / (views * 2)];
      const float x = (float(cx) + 0.5f - float(width / 2)) * grid;
      const float z = (float(cy) + 0.5f - float(height / 2)) * grid;
      const BusyView view{level, true, x, z, 0};
      GoToBusyView(host, view);
      const uint32_t draws = DrawsOfFrame(host);
      if (draws > best.draws) best = {level, true, x, z, draws};
    }
  }
  return best;
}

double Median(std::vector<double> v) {
  std::sort(v.begin(), v.end());
  return v.empty() ? 0.0 : v[v.size() / 2];
}

// Every living actor but the player, by id.
std::map<int, BrRAGActor*> Monsters(PlayHost& host) {
  std::map<int, BrRAGActor*> monsters;
  BrRAGMap* map = host.Map();
  for (int id = 0; map && id < map->NumObjects(); ++id) {
    BrGameObj* object = map->GetObjectA(id);
    if (!object || !object->IsValid() || object == host.Player()) continue;
    if (BrRAGActor* actor = static_cast<BrRAGActor*>(object->SafeCast(&BrRAGActor::Type)))
      if (!actor->IsDead()) monsters[id] = actor;
  }
  return monsters;
}

// Puts a monster on open floor in the player's sight, a few cells away, and sends it for the player: the map's
// own step then walks it there and the fight starts. False when no such place was found.
bool BringIntoSight(BrRAGMap* map, BrRAGPlayer* player, BrRAGActor* monster, int which) {
  static const float dirs[8][2] = {{1, 0}, {-1, 0}, {0, 1}, {0, -1}, {1, 1}, {-1, 1}, {1, -1}, {-1, -1}};
  const float grid = map->GridScale();
  for (float cells = 4.0f; cells >= 1.5f; cells -= 0.5f)
    for (int k = 0; k < 8; ++k) {
      const float* d = dirs[(k + which * 3) % 8];
      const BrVector from = player->Location();
      BrVector at = from;
      at.x += d[0] * grid * cells;
      at.z += d[1] * grid * cells;
      at.y = monster->GetDrawScale().y;
      if (!map->CellTrace(&from, &at)) continue;
      monster->Location() = at;
      monster->PathTo(player->Location());
      return true;
    }
  return false;
}

// The host's frame in two timed halves: the engine's step (messages, global keys, the step), then the drawing
// up to the Present, finished by glFinish so that the software rasteriser's work is inside the frame.
// submitMs: the drawing thread's processor time up to the Present, the calls without the wait for the picture;
// handedMs (when asked for): the same with a glFlush after the Present, the frame handed to the rasteriser.
void TimedFrame(PlayHost& host, double& stepMs, double& drawMs, double& submitMs, float dt = 1.0f / 30.0f,
                double* handedMs = nullptr) {
  const double t0 = Now();
  PumpMessages();
  Engine().FrameStarted() = brGetSystemTime();
  Engine().ProcessGlobalUserInput();
  Engine().Step(dt);
  const double t1 = Now(), c1 = ThreadCpu();
  if (BrRenderBase* render = Engine().Render()) {
    render->PreRender(ePreRenderClearAll);
    if (Engine().App()) Engine().App()->Draw(render);
    if (Engine().GUI()) Engine().GUI()->Draw(render);
    render->EndRender();
  }
  submitMs = (ThreadCpu() - c1) * 1000.0;
  if (handedMs) {
    glFlush();
    *handedMs = (ThreadCpu() - c1) * 1000.0;
  }
  glFinish();
  stepMs = (t1 - t0) * 1000.0;
  drawMs = (Now() - t1) * 1000.0;
}

// Frames as a player's frame loop runs them: back to back, each Present leaving the frame to the rasteriser
// while the next is stepped and recorded (the layer keeps two in flight), finished once at the end. The mean
// milliseconds a frame.
double SteadyFrames(int frames) {
  const double t0 = Now();
  for (int i = 0; i < frames; ++i) {
    PumpMessages();
    Engine().FrameStarted() = brGetSystemTime();
    Engine().ProcessGlobalUserInput();
    Engine().Step(0.0f);
    if (BrRenderBase* render = Engine().Render()) {
      render->PreRender(ePreRenderClearAll);
      if (Engine().App()) Engine().App()->Draw(render);
      if (Engine().GUI()) Engine().GUI()->Draw(render);
      render->EndRender();
    }
  }
  glFinish();
  return (Now() - t0) * 1000.0 / frames;
}

// The replay's frames the same way, held to the layer's bound of frames in flight by the same pacing.
double SteadyReplays(brbench::FrameReplay& replay, SDL_Window* window, int frames) {
  brd3d9::FramePacer pacer;
  const double t0 = Now();
  for (int i = 0; i < frames; ++i) {
    pacer.settle();
    replay.Draw();
    SDL_GL_SwapWindow(window);
    pacer.presented();
  }
  glFinish();
  const double ms = (Now() - t0) * 1000.0 / frames;
  pacer.release();
  return ms;
}

// One run's figures of the game's frames and the replay's, taken in turns.
struct Turns {
  std::vector<double> game, draw, replay, gameSubmit, replaySubmit;
  // Both frames' calls with a glFlush after the swap: the swap of an off-screen surface hands nothing to the
  // driver, so either frame reaches the rasteriser only in the glFinish after it. With the flush both pay the
  // hand-over, as both would at the swap of a window on screen.
  std::vector<double> replayHanded, gameHanded;
  std::vector<double> engineSubmit;  // the game's frame with every draw refused: the engine's own drawing work
  std::vector<double> steadyGame, steadyReplay;  // blocks of frames back to back, ms a frame
};

// Captures one frame of the level at the Direct3D layer and replays it with plain OpenGL on the same context,
// finished the same way; the game's frames and the replay's take turns in blocks of ten, so that a change in the
// machine's load weighs on both alike. The world steps by no time meanwhile, so that every game frame draws what
// the captured one drew. False when no replay could be made.
bool TakeTurns(PlayHost& host, int run, uint32_t busyDraws, Turns& t) {
  double stepMs = 0, drawMs = 0, submitMs = 0;
  BrD3D9FrameCapture capture;
  brD3D9TestCaptureNextFrame(&capture);
  TimedFrame(host, stepMs, drawMs, submitMs, 0.0f);
  brD3D9TestCaptureNextFrame(nullptr);
  brbench::FrameReplay replay;
  std::string error;
  replay.Enter();
  const bool uploaded = capture.complete && replay.Upload(capture, error);
  int largest = 0;
  const size_t differing = uploaded ? replay.CompareWithCapture(2, largest) : 0;
  SDL_Window* window = SDL_GL_GetCurrentWindow();
  SDL_GL_SwapWindow(window);
  glFinish();
  replay.Leave();
  if (!uploaded) {
    std::fprintf(stderr, "brgamebench: no replay: %s\n", capture.complete ? error.c_str() : "no frame captured");
    return false;
  }
  for (int block = 0; block < 10; ++block) {
    for (int i = 0; i < 10; ++i) {
      double handedMs = 0;
      TimedFrame(host, stepMs, drawMs, submitMs, 0.0f, &handedMs);
      t.game.push_back(stepMs + drawMs);
      t.draw.push_back(drawMs);
      t.gameSubmit.push_back(submitMs);
      t.gameHanded.push_back(handedMs);
    }
    // The same frame with the layer refusing every draw: what is left is the engine's own work of the frame
    // (its scene and interface walk, its state calls, the clear and the Present), which the replay has not.
    brD3D9TestSetFailures(BR_D3D9_FAIL_DRAW);
    for (int i = 0; i < 3; ++i) {
      TimedFrame(host, stepMs, drawMs, submitMs, 0.0f);
      t.engineSubmit.push_back(submitMs);
    }
    brD3D9TestSetFailures(0);
    replay.Enter();
    for (int i = 0; i < 10; ++i) {
      const double t0 = Now(), c0 = ThreadCpu();
      replay.Draw();
      SDL_GL_SwapWindow(window);
      const double c1 = ThreadCpu();
      glFlush();
      t.replaySubmit.push_back((c1 - c0) * 1000.0);
      t.replayHanded.push_back((ThreadCpu() - c0) * 1000.0);
      glFinish();
      t.replay.push_back((Now() - t0) * 1000.0);
    }
    replay.Leave();
  }
  // Then blocks of frames back to back, in turns.
  for (int block = 0; block < 10; ++block) {
    t.steadyGame.push_back(SteadyFrames(30));
    replay.Enter();
    t.steadyReplay.push_back(SteadyReplays(replay, window, 30));
    replay.Leave();
  }
  // A game frame after the turns, captured and replayed in its turn: the picture the layer made must still be
  // the one its own state asks for, or the turns disturbed the layer's view of OpenGL.
  BrD3D9FrameCapture later;
  brD3D9TestCaptureNextFrame(&later);
  TimedFrame(host, stepMs, drawMs, submitMs, 0.0f);
  brD3D9TestCaptureNextFrame(nullptr);
  brbench::FrameReplay check;
  check.Enter();
  int largestLater = 0;
  const size_t differingLater = check.Upload(later, error) ? check.CompareWithCapture(2, largestLater) : size_t(-1);
  check.Leave();
  if (differingLater != 0)
    std::printf("run %d: after the turns the game's frame and its replay differ in %zu pixels (largest %d)\n", run + 1,
                differingLater, largestLater);
  BrRenderBase* render = Engine().Render();
  if (run == 0 && render)
    std::printf(
        "busy level %u at %ux%u with %d objects: %zu draws (%u when the view was chosen), %zu programs, %zu "
        "textures%s; replayed picture: "
        "%zu pixels differ by more than 2 (largest %d), %u draws not captured\n",
        host.Map()->GetLevel(), render->GetWidth(), render->GetHeight(), host.Map()->ObjectMgr().GetNumLiveObjects(),
        replay.Draws(), busyDraws, capture.programs.size(), capture.textures.size(),
        capture.toWindow ? ", into the window" : "", differing, largest, capture.skippedDraws);
  return true;
}

}  // namespace

// Every measured start skips the intro and draws at the benchmark's 1024x768.
void SetBenchWindow(PlayTree& tree) {
  tree.SetConfig("ShowIntro", "0");
  tree.SetConfig("WindowWidth", "1024");
  tree.SetConfig("WindowHeight", "768");
}

// "brgamebench start": one start in this fresh process, printed as seconds beyond the clock measurement.
int StartOnly() {
  PlayTree tree;
  SetBenchWindow(tree);
  PlayHost host;
  const double start = Now();
  if (!host.Start(kSeed) || !host.RunUntilState("BrRAGGameStateMainMenu", 2.0f)) return 1;
  host.Frame();
  std::printf("%.6f\n", Now() - start - 2.0);
  host.Leave();
  return 0;
}

// "brgamebench frames [count]": the busy view's frame, the world held still, drawn count times (default 3000)
// with nothing else timed, for a profiler to sample; prints the medians of the step's time and of the submitting
// thread's processor time up to the Present, with the draws and with every draw refused.
int FramesOnly(int count) {
  PlayTree tree;
  SetBenchWindow(tree);
  PlayHost host;
  if (!host.Start(kSeed) || !NewGame(host)) return 1;
  host.Player()->SetMaxHealth(1000000);
  host.Player()->SetHealth(1000000);
  const BusyView busy = FindBusyView(host);
  GoToBusyView(host, busy);
  if (Engine().GUI()->IsModal()) Engine().GUI()->SetModalControl(nullptr);
  std::vector<double> step, submit, refused;
  double stepMs = 0, drawMs = 0, submitMs = 0;
  for (int i = 0; i < count; ++i) {
    TimedFrame(host, stepMs, drawMs, submitMs, 0.0f);
    step.push_back(stepMs);
    submit.push_back(submitMs);
  }
  brD3D9TestSetFailures(BR_D3D9_FAIL_DRAW);
  for (int i = 0; i < count / 4; ++i) {
    TimedFrame(host, stepMs, drawMs, submitMs, 0.0f);
    refused.push_back(submitMs);
  }
  brD3D9TestSetFailures(0);
  std::printf("level %u, %u draws: step %.3f ms, calls up to Present %.3f ms, with every draw refused %.3f ms\n",
              busy.level, busy.draws, Median(step), Median(submit), Median(refused));
  host.Leave();
  return 0;
}

// Starts in fresh processes of this program; the failed ones are left out.
std::vector<double> FreshStarts(int runs) {
  std::vector<double> seconds;
  char self[4096] = {0};
  if (readlink("/proc/self/exe", self, sizeof self - 1) <= 0) return seconds;
  for (int run = 0; run < runs; ++run) {
    FILE* child = popen((std::string("'") + self + "' start 2>/dev/null").c_str(), "r");
    if (!child) continue;
    double s = 0;
    const bool read = std::fscanf(child, "%lf", &s) == 1;
    if (pclose(child) == 0 && read) seconds.push_back(s);
  }
  return seconds;
}

int main(int argc, char** argv) {
  setenv("BR_BINARY_DIR", BR_BENCH_BINARY_DIR, 0);
  setenv("SDL_VIDEODRIVER", "offscreen", 0);
  setenv("ALSOFT_DRIVERS", "null", 0);
  if (argc > 1 && std::strcmp(argv[1], "start") == 0) return StartOnly();
  if (argc > 1 && std::strcmp(argv[1], "frames") == 0)
    return FramesOnly(argc > 2 ? std::max(1, std::atoi(argv[2])) : 3000);
  const int runs = argc > 1 ? std::max(1, std::atoi(argv[1])) : 5;
  std::printf("brgamebench on %s\n", brbench::Machine().c_str());
  const std::vector<double> freshStarts = FreshStarts(runs);

  std::vector<double> toMenu, generate, save, load, cpuFrame, busyFrame, stillFrame, stillDraw, replayFrame, ratio,
      drawRatio, gameSubmit, replaySubmit, submitRatio, drawsRatio, engineSubmit, replayHanded, gameHanded, handedRatio,
      steadyGame, steadyReplay, steadyRatio;
  std::vector<std::vector<double>> levelMs(81);
  BusyView busy;
  for (int run = 0; run < runs; ++run) {
    PlayTree tree;
    SetBenchWindow(tree);
    PlayHost host;
    const double start = Now();
    if (!host.Start(kSeed)) {
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

    // Level generation: the map's step that digs the level after a level change. One level is dug untimed
    // first, so that the first level timed does not carry the first generation's cold start.
    host.Map()->SetLevel(80);
    host.Map()->Step(0.0f);
    if (Engine().GUI()->IsModal()) Engine().GUI()->SetModalControl(nullptr);
    host.Game()->ChangeToState("BrRAGGameStatePlaying");
    for (unsigned int level = 1; level <= 80; ++level) {
      host.Map()->SetLevel(level);
      const double t0 = Now();
      host.Map()->Step(0.0f);
      const double ms = (Now() - t0) * 1000.0;
      generate.push_back(ms);
      levelMs[level].push_back(ms);
      if (Engine().GUI()->IsModal()) Engine().GUI()->SetModalControl(nullptr);
      host.Game()->ChangeToState("BrRAGGameStatePlaying");
    }

    // The busy view, measured on the first run; the player outlasts whatever the levels hold meanwhile.
    host.Player()->SetMaxHealth(1000000);
    host.Player()->SetHealth(1000000);
    if (run == 0) {
      busy = FindBusyView(host);
      std::printf("busy view: level %u, %s, %u draws (the most of levels 1-80 and up to 9 views each)\n", busy.level,
                  busy.moved ? "the player moved to a floor cell" : "the player's start", busy.draws);
    }

    // Save and load on the busy level; a load is timed until the first frame of the rebuilt level is drawn.
    GoToBusyView(host, busy);
    host.Run(0.5f, 4);
    for (int i = 0; i < 5; ++i) {
      double t0 = Now();
      host.Game()->SaveGame("Saves\\bench.gin");
      save.push_back((Now() - t0) * 1000.0);
      t0 = Now();
      host.Game()->LoadSaveFile("Saves\\bench.gin");
      host.Map()->SetLevel(host.Map()->GetLevel());
      host.Map()->Step(0.0f);
      host.Game()->ChangeToState("BrRAGGameStatePlaying");
      host.Frame(1.0f / 30.0f, true);
      glFinish();
      load.push_back((Now() - t0) * 1000.0);
    }

    // The busy view as it was measured (the same seed digs the same level again; the monsters have not yet
    // left their marks on the player), the world held still for the game's frames against a plain-OpenGL replay
    // of one of them.
    GoToBusyView(host, busy);
    if (Engine().GUI()->IsModal()) Engine().GUI()->SetModalControl(nullptr);
    Turns turns;
    if (!TakeTurns(host, run, busy.draws, turns)) return 1;
    // Then whole frames through the real device with the world moving, finished by the Present and glFinish.
    double stepMs = 0, drawMs = 0, submitMs = 0;
    for (int i = 0; i < 10; ++i) TimedFrame(host, stepMs, drawMs, submitMs);
    for (int i = 0; i < 100; ++i) {
      TimedFrame(host, stepMs, drawMs, submitMs);
      busyFrame.push_back(stepMs + drawMs);
    }
    GoToBusyView(host, busy);
    // The engine's processor time per frame, without drawing: global keys and the step, on a map that runs
    // (no modal dialog or hint holds it; the actors are seen to move).
    // The level's monsters are sent for the player, so that they walk and fight while it is measured; the
    // player is given the health to outlast them, so that no death ends the game during the measurement.
    if (Engine().GUI()->IsModal()) Engine().GUI()->SetModalControl(nullptr);
    host.Player()->SetMaxHealth(1000000);
    host.Player()->SetHealth(1000000);
    if (!host.Game()->IsInState("BrRAGGameStatePlaying")) host.Game()->ChangeToState("BrRAGGameStatePlaying");
    std::map<int, BrVector> before;
    for (const auto& [id, monster] : Monsters(host)) {
      BringIntoSight(host.Map(), host.Player(), monster, int(before.size()));
      before[id] = monster->Location();
    }
    int held = 0, notPlaying = 0, overOneMs = 0;
    for (int i = 0; i < 300; ++i) {
      if (Engine().GUI()->IsModal()) {
        Engine().GUI()->SetModalControl(nullptr);
        ++held;
      }
      if (!host.Game()->IsInState("BrRAGGameStatePlaying")) ++notPlaying;
      const double t0 = ThreadCpu();
      Engine().FrameStarted() = brGetSystemTime();
      Engine().ProcessGlobalUserInput();
      Engine().Step(1.0f / 30.0f);
      cpuFrame.push_back((ThreadCpu() - t0) * 1000.0);
      overOneMs += cpuFrame.back() > 1.0 ? 1 : 0;
    }
    int moved = 0;
    const std::map<int, BrRAGActor*> after = Monsters(host);
    for (const auto& [id, monster] : after) {
      auto it = before.find(id);
      if (it != before.end() && (it->second - monster->Location()).Size() > 0.01f) ++moved;
    }
    std::printf(
        "run %d: level %u in %s: %d of %zu monsters walked over 300 frames; %d dialogs dismissed, %d "
        "frames not playing, %d steps over 1 ms\n",
        run + 1, host.Map()->GetLevel(), host.State().c_str(), moved, before.size(), held, notPlaying, overOneMs);

    std::printf(
        "run %d: game frame (still) median %.3f ms (drawing %.3f), replay %.3f ms, replay / game %.3f; back to "
        "back: game %.3f ms, replay %.3f ms, replay / game %.3f\n",
        run + 1, Median(turns.game), Median(turns.draw), Median(turns.replay),
        Median(turns.replay) / Median(turns.game), Median(turns.steadyGame), Median(turns.steadyReplay),
        Median(turns.steadyReplay) / Median(turns.steadyGame));
    std::printf(
        "run %d: calls up to Present, thread CPU: game %.3f ms, replay %.3f ms, game / replay %.3f; the "
        "engine's own part %.3f ms, the rest (the draws) / replay %.3f\n",
        run + 1, Median(turns.gameSubmit), Median(turns.replaySubmit),
        Median(turns.gameSubmit) / Median(turns.replaySubmit), Median(turns.engineSubmit),
        (Median(turns.gameSubmit) - Median(turns.engineSubmit)) / Median(turns.replaySubmit));
    drawsRatio.push_back((Median(turns.gameSubmit) - Median(turns.engineSubmit)) / Median(turns.replaySubmit));
    steadyRatio.push_back(Median(turns.steadyReplay) / Median(turns.steadyGame));
    steadyGame.insert(steadyGame.end(), turns.steadyGame.begin(), turns.steadyGame.end());
    steadyReplay.insert(steadyReplay.end(), turns.steadyReplay.begin(), turns.steadyReplay.end());
    engineSubmit.insert(engineSubmit.end(), turns.engineSubmit.begin(), turns.engineSubmit.end());
    submitRatio.push_back(Median(turns.gameSubmit) / Median(turns.replaySubmit));
    handedRatio.push_back(Median(turns.gameHanded) / Median(turns.replayHanded));
    replayHanded.insert(replayHanded.end(), turns.replayHanded.begin(), turns.replayHanded.end());
    gameHanded.insert(gameHanded.end(), turns.gameHanded.begin(), turns.gameHanded.end());
    ratio.push_back(Median(turns.replay) / Median(turns.game));
    drawRatio.push_back(Median(turns.replay) / Median(turns.draw));
    stillFrame.insert(stillFrame.end(), turns.game.begin(), turns.game.end());
    stillDraw.insert(stillDraw.end(), turns.draw.begin(), turns.draw.end());
    replayFrame.insert(replayFrame.end(), turns.replay.begin(), turns.replay.end());
    gameSubmit.insert(gameSubmit.end(), turns.gameSubmit.begin(), turns.gameSubmit.end());
    replaySubmit.insert(replaySubmit.end(), turns.replaySubmit.begin(), turns.replaySubmit.end());
    host.Leave();
  }
  brbench::Report("start to main menu beyond the 2 s clock", freshStarts, "s");
  brbench::Report("  again, started inside one process", toMenu, "s");
  brbench::Report("level generation, levels 1-80", generate, "ms");
  // The slowest level: the highest median over the runs, and how many runs it was the slowest in.
  int worst = 1, worstRuns = 0;
  for (int l = 1; l <= 80; ++l)
    if (Median(levelMs[size_t(l)]) > Median(levelMs[size_t(worst)])) worst = l;
  for (int run = 0; run < runs; ++run) {
    int slowest = 1;
    for (int l = 1; l <= 80; ++l)
      if (levelMs[size_t(l)][size_t(run)] > levelMs[size_t(slowest)][size_t(run)]) slowest = l;
    worstRuns += slowest == worst ? 1 : 0;
  }
  std::printf("%-44s level %d, median %.3f ms over %d runs (the slowest in %d of them)\n", "slowest level generated",
              worst, Median(levelMs[size_t(worst)]), runs, worstRuns);
  const std::string where = "level " + std::to_string(busy.level);
  brbench::Report(("save game (" + where + ")").c_str(), save, "ms");
  brbench::Report(("load game (" + where + ", to the first drawn frame)").c_str(), load, "ms");
  brbench::Report("engine processor time per frame, no drawing", cpuFrame, "ms");
  brbench::Report(("busy frame time (" + where + ", 1024x768)").c_str(), busyFrame, "ms");
  brbench::Report("busy frame, world held still", stillFrame, "ms");
  brbench::Report("  of which drawing, Present and glFinish", stillDraw, "ms");
  brbench::Report("the same frame replayed in plain OpenGL", replayFrame, "ms");
  brbench::Report("game frame's calls up to Present, thread CPU", gameSubmit, "ms");
  brbench::Report("replay's calls up to the swap, thread CPU", replaySubmit, "ms");
  brbench::Report("  with every draw refused (engine's own part)", engineSubmit, "ms");
  brbench::Report("game / replay calls, thread CPU (target 1.25-)", submitRatio, "");
  brbench::Report("  the draws' part (game - engine's) / replay", drawsRatio, "");
  brbench::Report("game's calls and a glFlush (the hand-over)", gameHanded, "ms");
  brbench::Report("replay's calls and a glFlush", replayHanded, "ms");
  brbench::Report("game / replay calls, both handing over", handedRatio, "");
  brbench::Report("replay / game frame (target 0.95 or more)", ratio, "");
  brbench::Report("replay / game drawing alone", drawRatio, "");
  brbench::Report("game frames back to back, 2 in flight", steadyGame, "ms");
  brbench::Report("replay frames back to back, same bound", steadyReplay, "ms");
  brbench::Report("replay / game frame back to back", steadyRatio, "");
  return 0;
}
