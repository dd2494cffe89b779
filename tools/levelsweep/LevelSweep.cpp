// brlevelsweep: builds the shipped levels headless (no rendering or audio device) through the map's own level
// change, for a number of seeds at every level and difficulty, and prints what a player meets on arrival:
//   - how often the staircase is at least 8 cells' walk from the start (4-connected steps over the floor),
//   - how many levels have fewer than 60 floor cells, and the smallest level,
//   - the processor time of the map's step that builds the level (median, 99th percentile and slowest; a build
//     over 20 ms is built again, up to twice, and counts with the least time), and the clock time beside it,
//   - every level whose player is off the floor, whose staircase is missing, off the floor or out of reach, or
//     whose chest stands in the staircase's cell.
// The seeds are fixed (seed number, level and difficulty give the seed), so two runs build the same levels.
// Usage: brlevelsweep [--seeds N] [--levels FIRST,LAST] [--difficulty D] [--jobs J] [--config DIR] [--by-level]
//                     [--keep DIR] [--report DIR,...]
// --keep keeps the records of every level built in DIR; --report prints the figures of the records kept in the
// folders (a level found twice counts once) without building, so that a sweep may be run in parts.
// The exit status is 1 when any level failed the connectivity checks, 2 on bad arguments or set-up.
#include <sys/wait.h>
#include <time.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <set>
#include <string>
#include <tuple>
#include <vector>

#include "adventure/flow/BrRAGGame.h"
#include "adventure/world/BrRAGPlayer.h"
#include "core/brcr.h"
#include "engine/kernel/BrConfigCache.h"
#include "engine/kernel/BrEngine.h"
#include "engine/kernel/BrScriptDaemon.h"
#include "engine/presentation/BrGUI.h"
#include "game/BrRogueMap.h"
#include "game/Chest.h"
#include "game/Staircase.h"

namespace fs = std::filesystem;

namespace {

// The engine's slots that a headless build fills directly, as the host would after starting its devices.
struct Slots : BrEngine {
  static BrApplication*& App() { return Engine().*(&Slots::m_pApp); }
  static BrScriptDaemon*& Script() { return Engine().*(&Slots::m_pScript); }
  static BrGUI*& GUI() { return Engine().*(&Slots::m_pGUI); }
};

const int kFarWalk = 8;
const int kSmallFloor = 60;
const double kRetimeMs = 20.0;
const int kLevelsPerGame = 80;

struct Options {
  int seeds = 1000;
  int firstLevel = 1;
  int lastLevel = 80;
  int difficulty = -1;  // every one
  int jobs = 4;
  bool byLevel = false;
  std::string config = BR_SWEEP_CONFIG_DIR;
  std::string keep;                 // the folder the records are kept in (a temporary one, removed, by default)
  std::vector<std::string> report;  // folders of kept records to report on instead of building levels
};

// One built level.
struct Record {
  int difficulty = 0;
  int level = 0;
  unsigned seed = 0;
  int floor = 0;
  int walk = -1;  // steps from the start to the staircase; -1 when out of reach or missing
  bool playerOnFloor = false;
  bool stairsOnFloor = false;
  int stairs = 0;
  bool chestOnStairs = false;
  double ms = 0.0;       // processor time of the build, which other processes on the machine do not lengthen
  double wallMs = 0.0;   // clock time of the build
  double firstMs = 0.0;  // processor time of the first build, before a slow one is built again
};

double ThreadMs() {
  timespec t;
  clock_gettime(CLOCK_THREAD_CPUTIME_ID, &t);
  return double(t.tv_sec) * 1e3 + double(t.tv_nsec) * 1e-6;
}

unsigned SeedOf(int seedNumber, int level, int difficulty) {
  return unsigned(seedNumber) * 2654435761u + unsigned(level) * 40503u + unsigned(difficulty) * 977u + 1u;
}

bool CellOf(BrRAGMap* map, const BrVector& where, int& x, int& y) {
  BrVector p = where;
  BrRAGCell* cell = map->GetCell(x, y, &p);
  return cell != nullptr && cell->IsOccupied();
}

// Steps from (sx, sy) to every occupied cell, 4-connected; -1 where it cannot be reached.
std::vector<int> Walk(BrRAGMap* map, int sx, int sy) {
  const int w = map->GridWidth(), h = map->GridHeight();
  std::vector<int> dist(size_t(w) * size_t(h), -1);
  std::vector<int> queue;
  queue.reserve(dist.size());
  dist[size_t(sy) * size_t(w) + size_t(sx)] = 0;
  queue.push_back(sy * w + sx);
  for (size_t head = 0; head < queue.size(); ++head) {
    const int c = queue[head], cx = c % w, cy = c / w;
    const int next[4][2] = {{cx + 1, cy}, {cx - 1, cy}, {cx, cy + 1}, {cx, cy - 1}};
    for (const auto& n : next) {
      if (n[0] < 0 || n[1] < 0 || n[0] >= w || n[1] >= h) continue;
      const size_t i = size_t(n[1]) * size_t(w) + size_t(n[0]);
      BrRAGCell* cell = map->GetCell(n[0], n[1]);
      if (dist[i] >= 0 || !cell || !cell->IsOccupied()) continue;
      dist[i] = dist[size_t(c)] + 1;
      queue.push_back(n[1] * w + n[0]);
    }
  }
  return dist;
}

Record Measure(BrRogueMap* map, BrActor* player) {
  Record r;
  for (int y = 0; y < map->GridHeight(); ++y)
    for (int x = 0; x < map->GridWidth(); ++x)
      if (map->GetCell(x, y)->IsOccupied()) ++r.floor;
  int px = 0, py = 0;
  r.playerOnFloor = player && CellOf(map, player->Location(), px, py);
  std::vector<int> dist;
  if (r.playerOnFloor) dist = Walk(map, px, py);
  int stairsX = -1, stairsY = -1;
  std::vector<std::pair<int, int>> chests;
  for (int id = 0; id < map->NumObjects(); ++id) {
    BrGameObj* object = map->GetObjectA(id);
    if (!object || !object->IsValid()) continue;
    int x = 0, y = 0;
    if (Staircase* stairs = static_cast<Staircase*>(object->SafeCast(&Staircase::Type))) {
      ++r.stairs;
      r.stairsOnFloor = CellOf(map, stairs->Location(), x, y);
      if (r.stairsOnFloor) stairsX = x, stairsY = y;
      if (r.stairsOnFloor && r.playerOnFloor) r.walk = dist[size_t(y) * size_t(map->GridWidth()) + size_t(x)];
    } else if (Chest* chest = static_cast<Chest*>(object->SafeCast(&Chest::Type))) {
      if (CellOf(map, chest->Location(), x, y)) chests.push_back({x, y});
    }
  }
  for (const auto& c : chests)
    if (c.first == stairsX && c.second == stairsY) r.chestOnStairs = true;
  return r;
}

struct Unit {
  int difficulty;
  int level;
};

// Builds every seed of each unit (a level on a difficulty) and writes one line a level to out.
int SweepUnits(const Options& o, const std::vector<Unit>& units, const fs::path& out) {
  // A working folder of its own: the log, and a Media folder holding the configuration files as the game's.
  const fs::path root = fs::temp_directory_path() / ("brlevelsweep_" + std::to_string(getpid()));
  fs::remove_all(root);
  fs::create_directories(root / "Media" / "Config");
  fs::create_directories(root / "Media" / "config");
  std::error_code ec;
  for (const auto& entry : fs::directory_iterator(o.config, ec)) {
    const std::string name = entry.path().filename().string();
    if (entry.path().extension() != ".cfg") continue;
    fs::copy_file(entry.path(), root / "Media" / (name == "main.cfg" ? "Config" : "config") / name,
                  fs::copy_options::overwrite_existing);
  }
  if (ec || !fs::exists(root / "Media" / "Config" / "main.cfg")) {
    std::fprintf(stderr, "brlevelsweep: no main.cfg in %s\n", o.config.c_str());
    return 2;
  }
  fs::current_path(root);
  GLog.Init();
  Engine().setMediaDir("Media");

  BrConfigCache config;
  config.SetString("RAG", "PlayerTypes", "Zivede");
  config.SetInteger("Audio", "NoMusic", 1);
  config.SetInteger("App", "Hints", 0);
  Engine().SetConfig(&config);
  BrScriptDaemon script;
  Slots::Script() = &script;
  Slots::GUI() = new BrGUI();

  // A game is started afresh every kLevelsPerGame levels, as long as a descent: the map's object slots grow with
  // every level a game builds, and a process building thousands in one game would time an object list no player
  // ever has.
  BrRAGGame* game = nullptr;
  BrRogueMap* map = nullptr;
  auto newGame = [&]() {
    if (game) {
      game->Destroy();
      delete game;
    }
    game = new BrRAGGame();
    Slots::App() = game;
    game->Init();
    BrRogueMap::SetSeedForTests(SeedOf(0, 1, 0));
    game->SetMapType("BrRogueMap");
    game->CreateMap();
    map = game->Map() ? static_cast<BrRogueMap*>(game->Map()->SafeCast(&BrRogueMap::Type)) : nullptr;
    return map != nullptr;
  };
  if (!newGame()) {
    std::fprintf(stderr, "brlevelsweep: the game made no dungeon map\n");
    return 2;
  }
  int built = 0;

  std::FILE* f = std::fopen(out.c_str(), "w");
  if (!f) return 2;
  for (const Unit& unit : units) {
    const int difficulty = unit.difficulty, level = unit.level;
    // The difficulty a level is built on is read as it is built (level information, monsters' sizes).
    for (int s = 0; s < o.seeds; ++s) {
      if (++built % kLevelsPerGame == 0 && !newGame()) return 2;
      game->setDifficulty(difficulty);
      const unsigned seed = SeedOf(s, level, difficulty);
      BrRogueMap::SetSeedForTests(seed);
      map->SetLevel(unsigned(level));
      const double cpu0 = ThreadMs();
      const auto t0 = std::chrono::steady_clock::now();
      map->Step(0.0f);
      const auto t1 = std::chrono::steady_clock::now();
      double cpu = ThreadMs() - cpu0;
      const double firstCpu = cpu;
      // A build slowed by other processes on the machine (the processor time of a thread still grows when they
      // crowd its caches) is built again from the same seed, twice at most; the level's time is the least.
      for (int again = 0; again < 2 && cpu > kRetimeMs; ++again) {
        BrRogueMap::SetSeedForTests(seed);
        map->SetLevel(unsigned(level));
        const double start = ThreadMs();
        map->Step(0.0f);
        cpu = std::min(cpu, ThreadMs() - start);
      }
      Record r = Measure(map, game->GetPlayer());
      r.difficulty = difficulty;
      r.level = level;
      r.seed = seed;
      r.ms = cpu;
      r.firstMs = firstCpu;
      r.wallMs = std::chrono::duration<double, std::milli>(t1 - t0).count();
      std::fprintf(f, "%d %d %u %d %d %d %d %d %d %.4f %.4f %.4f\n", r.difficulty, r.level, r.seed, r.floor, r.walk,
                   int(r.playerOnFloor), int(r.stairsOnFloor), r.stairs, int(r.chestOnStairs), r.ms, r.wallMs,
                   r.firstMs);
    }
  }
  std::fclose(f);
  BrRogueMap::ClearSeedForTests();
  game->Destroy();
  delete game;
  Slots::App() = nullptr;
  GLog.Close();
  fs::current_path(fs::temp_directory_path());
  fs::remove_all(root, ec);
  return 0;
}

double Percentile(std::vector<double> v, double p) {
  if (v.empty()) return 0.0;
  std::sort(v.begin(), v.end());
  const size_t i = std::min(v.size() - 1, size_t(p * double(v.size() - 1) + 0.5));
  return v[i];
}

struct Summary {
  size_t levels = 0, far = 0, small = 0, failed = 0, chestOnStairs = 0;
  int minFloor = 1 << 30;
  std::vector<double> ms, wallMs, firstMs;
  std::vector<double> floor;
  void Add(const Record& r) {
    ++levels;
    if (r.walk >= kFarWalk) ++far;
    if (r.floor < kSmallFloor) ++small;
    if (!r.playerOnFloor || r.stairs != 1 || !r.stairsOnFloor || r.walk < 0) ++failed;
    if (r.chestOnStairs) ++chestOnStairs;
    minFloor = std::min(minFloor, r.floor);
    ms.push_back(r.ms);
    wallMs.push_back(r.wallMs);
    firstMs.push_back(r.firstMs);
    floor.push_back(r.floor);
  }
  void Print(const char* label) const {
    if (!levels) return;
    std::printf(
        "%-14s %7zu levels  stairs >= %d steps %6.2f%%  floor < %d: %5zu (%.3f per 1000)  smallest %4d  "
        "median floor %4.0f  build median %.2f ms  p99 %.2f ms  slowest %.2f ms (first builds: slowest %.2f; "
        "clock: median %.2f, slowest %.2f)  unreachable %zu  chest on stairs %zu\n",
        label, levels, kFarWalk, 100.0 * double(far) / double(levels), kSmallFloor, small,
        1000.0 * double(small) / double(levels), minFloor, Percentile(floor, 0.5), Percentile(ms, 0.5),
        Percentile(ms, 0.99), Percentile(ms, 1.0), Percentile(firstMs, 1.0), Percentile(wallMs, 0.5),
        Percentile(wallMs, 1.0), failed, chestOnStairs);
  }
};

bool ParseArgs(int argc, char** argv, Options& o) {
  for (int i = 1; i < argc; ++i) {
    const std::string a = argv[i];
    const bool more = i + 1 < argc;
    if (a == "--seeds" && more)
      o.seeds = std::atoi(argv[++i]);
    else if (a == "--levels" && more) {
      if (std::sscanf(argv[++i], "%d,%d", &o.firstLevel, &o.lastLevel) != 2) return false;
    } else if (a == "--difficulty" && more)
      o.difficulty = std::atoi(argv[++i]);
    else if (a == "--jobs" && more)
      o.jobs = std::atoi(argv[++i]);
    else if (a == "--config" && more)
      o.config = argv[++i];
    else if (a == "--by-level")
      o.byLevel = true;
    else if (a == "--keep" && more)
      o.keep = argv[++i];
    else if (a == "--report" && more) {
      for (std::string list = argv[++i]; !list.empty();) {
        const size_t comma = list.find(',');
        o.report.push_back(list.substr(0, comma));
        list = comma == std::string::npos ? "" : list.substr(comma + 1);
      }
    } else
      return false;
  }
  return o.seeds > 0 && o.firstLevel >= 1 && o.lastLevel >= o.firstLevel && o.lastLevel <= 81 && o.difficulty >= -1 &&
         o.difficulty <= 3 && o.jobs >= 1;
}

}  // namespace

int main(int argc, char** argv) {
  Options o;
  if (!ParseArgs(argc, argv, o)) {
    std::fprintf(stderr,
                 "usage: brlevelsweep [--seeds N] [--levels FIRST,LAST] [--difficulty 0-3] [--jobs J] "
                 "[--config DIR] [--by-level] [--keep DIR] [--report DIR,...]\n");
    return 2;
  }
  std::vector<int> difficulties;
  for (int d = 0; d <= 3; ++d)
    if (o.difficulty < 0 || o.difficulty == d) difficulties.push_back(d);
  std::printf("brlevelsweep: %d seeds x levels %d-%d x difficulties", o.seeds, o.firstLevel, o.lastLevel);
  for (int d : difficulties) std::printf(" %d", d);
  std::printf(", configuration %s\n", o.config.c_str());
  std::fflush(stdout);

  // The levels are dealt out to --jobs processes in turn (the engine is one per process), so that each gets
  // its share of the deep and the hard ones.
  std::vector<std::vector<Unit>> deal(size_t(o.jobs));
  size_t dealt = 0;
  for (int level = o.firstLevel; level <= o.lastLevel; ++level)
    for (int d : difficulties) {
      // Turned by one each round, so that no process keeps one difficulty.
      deal[(dealt + dealt / deal.size()) % deal.size()].push_back(Unit{d, level});
      ++dealt;
    }
  const fs::path results = o.keep.empty()
                               ? fs::temp_directory_path() / ("brlevelsweep_results_" + std::to_string(getpid()))
                               : fs::path(o.keep);
  std::vector<fs::path> folders;
  if (o.report.empty()) {
    fs::create_directories(results);
    folders.push_back(results);
    std::vector<pid_t> running;
    bool setupFailed = false;
    for (size_t j = 0; j < deal.size(); ++j) {
      if (deal[j].empty()) continue;
      const pid_t child = fork();
      if (child == 0) _exit(SweepUnits(o, deal[j], results / ("job" + std::to_string(j) + ".txt")));
      if (child < 0) return 2;
      running.push_back(child);
    }
    for (pid_t child : running) {
      int status = 0;
      if (waitpid(child, &status, 0) != child || !WIFEXITED(status) || WEXITSTATUS(status) != 0) setupFailed = true;
    }
    if (setupFailed) {
      std::fprintf(stderr, "brlevelsweep: a sweep did not finish\n");
      return 2;
    }
  } else {
    for (const std::string& folder : o.report) folders.push_back(folder);
  }

  Summary all;
  std::vector<Summary> perDifficulty(4), perLevel(82);
  std::vector<Record> failures, slowest;
  std::set<std::tuple<int, int, unsigned>> seen;
  for (const fs::path& folder : folders) {
    std::error_code listed;
    for (const auto& entry : fs::directory_iterator(folder, listed)) {
      if (entry.path().extension() != ".txt") continue;
      std::ifstream in(entry.path());
      Record r;
      int player = 0, stairsFloor = 0, chest = 0;
      while (in >> r.difficulty >> r.level >> r.seed >> r.floor >> r.walk >> player >> stairsFloor >> r.stairs >>
             chest >> r.ms >> r.wallMs >> r.firstMs) {
        if (r.difficulty < 0 || r.difficulty > 3 || r.level < o.firstLevel || r.level > o.lastLevel ||
            (o.difficulty >= 0 && r.difficulty != o.difficulty) || !seen.insert({r.difficulty, r.level, r.seed}).second)
          continue;
        r.playerOnFloor = player != 0;
        r.stairsOnFloor = stairsFloor != 0;
        r.chestOnStairs = chest != 0;
        all.Add(r);
        perDifficulty[size_t(r.difficulty)].Add(r);
        perLevel[size_t(r.level)].Add(r);
        if (!r.playerOnFloor || r.stairs != 1 || !r.stairsOnFloor || r.walk < 0) failures.push_back(r);
        slowest.push_back(r);
        std::sort(slowest.begin(), slowest.end(), [](const Record& a, const Record& b) { return a.ms > b.ms; });
        if (slowest.size() > 5) slowest.pop_back();
      }
    }
  }
  if (o.keep.empty() && o.report.empty()) {
    std::error_code ec;
    fs::remove_all(results, ec);
  }

  if (o.byLevel)
    for (int l = o.firstLevel; l <= o.lastLevel; ++l) perLevel[size_t(l)].Print(("level " + std::to_string(l)).c_str());
  for (int d : difficulties) perDifficulty[size_t(d)].Print(("difficulty " + std::to_string(d)).c_str());
  all.Print("all");
  for (const Record& r : slowest)
    std::printf("slowest: difficulty %d level %d seed %u: %.2f ms (clock %.2f ms), %d floor cells\n", r.difficulty,
                r.level, r.seed, r.ms, r.wallMs, r.floor);
  for (size_t i = 0; i < failures.size() && i < 20; ++i)
    std::printf("FAILED: difficulty %d level %d seed %u: player %s, %d staircase(s)%s, walk %d\n",
                failures[i].difficulty, failures[i].level, failures[i].seed,
                failures[i].playerOnFloor ? "on the floor" : "OFF the floor", failures[i].stairs,
                failures[i].stairsOnFloor ? "" : " off the floor", failures[i].walk);
  std::printf("connectivity: %zu of %zu levels with the player on the floor and the staircase reachable\n",
              all.levels - failures.size(), all.levels);
  return failures.empty() ? 0 : 1;
}
