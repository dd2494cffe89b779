// Mutated input for the readers that no other test mutates, each through the real code that reads it in the
// game: the main configuration into the configuration cache, the object configurations through the running
// map's spawning of every kind, real saves of the generated dungeon loaded as the load menu loads them, then
// drawn and played, and vs_1_1 shader text through the assembler. Seeded and repeatable (BR_FUZZ_SEED,
// BR_FUZZ_ROUNDS for longer local runs); files that once broke a reader are kept under regressions/ and replayed
// first. Every failure must be clean: no crash, no hang, no sanitizer report, the running game untouched.
#include <gtest/gtest.h>

#include <algorithm>
#include <atomic>
#include <chrono>
#include <cmath>
#include <cstdio>
#include <cstring>
#include <cstdlib>
#include <fstream>
#include <iterator>
#include <thread>

#include "adventure/world/BrRAGCfgFile.h"
#include "adventure/world/BrRAGConfigCache.h"
#include "platform/d3dx9/d3dx9.h"
#include "core/brcr.h"
#include "tests/play/PlayRig.h"

using namespace brplay;

namespace {

using Bytes = std::string;

using Rand = BrRandStream;

int Rounds(int normal) {
  const char* env = std::getenv("BR_FUZZ_ROUNDS");
  return env ? std::max(1, std::atoi(env)) : normal;
}
uint32_t Seed(uint32_t reader) {
  const char* env = std::getenv("BR_FUZZ_SEED");
  return (env ? uint32_t(std::atoi(env)) : 20u) * 7919u + reader;
}

// One mutation: cut short, bytes overwritten, bits flipped, a run repeated, or text-level damage (a line
// dropped, a separator or bracket inserted) that a text reader meets in practice.
Bytes Mutate(const Bytes& seed, Rand& rng) {
  Bytes b = seed;
  if (b.empty()) return Bytes(1, char(rng.Next()));
  switch (rng.Next() % 6) {
    case 0: b.resize(rng.Next() * 7u % b.size()); break;
    case 1:
      for (int i = 0, n = 1 + int(rng.Next() % 8); i < n; ++i) b[rng.Next() * 13u % b.size()] = char(rng.Next());
      break;
    case 2:
      for (int i = 0, n = 1 + int(rng.Next() % 4); i < n; ++i)
        b[rng.Next() * 13u % b.size()] ^= char(1u << (rng.Next() % 8));
      break;
    case 3: {
      const size_t at = rng.Next() * 11u % b.size();
      const size_t len = std::min<size_t>(b.size() - at, 1 + rng.Next() % 300);
      const Bytes run = b.substr(at, len);
      for (int i = 0, n = 1 + int(rng.Next() % 20); i < n; ++i) b.insert(at, run);
      break;
    }
    case 4: {
      static const char* const bits[] = {"[", "]", "=",  "\n",          ",",  "\\",   "\r", "\t",
                                         "(", ")", "\0", "99999999999", "-1", "1e39", "nan"};
      for (int i = 0, n = 1 + int(rng.Next() % 6); i < n; ++i) {
        const char* bit = bits[rng.Next() % 15];
        b.insert(rng.Next() * 17u % b.size(), bit, bit[0] ? std::strlen(bit) : 1);
      }
      break;
    }
    default: {
      const size_t at = rng.Next() * 19u % b.size();
      const size_t end = b.find('\n', at);
      b.erase(at, end == Bytes::npos ? Bytes::npos : end - at + 1);
      break;
    }
  }
  return b;
}

// Files that once broke a reader, replayed before the mutations.
std::vector<Bytes> Regressions(const char* reader) {
  std::vector<Bytes> files;
  const char* source = std::getenv("BR_SOURCE_DIR");
  const fs::path folder = fs::path(source ? source : ".") / "tests" / "play" / "regressions" / reader;
  if (fs::exists(folder))
    for (const auto& entry : fs::directory_iterator(folder)) files.push_back(FileBytes(entry.path()));
  return files;
}

// Section names of a configuration text, in order.
std::vector<std::string> Sections(const Bytes& text) {
  std::vector<std::string> names;
  size_t at = 0;
  while ((at = text.find('[', at)) != Bytes::npos) {
    const size_t end = text.find(']', at);
    if (end == Bytes::npos) break;
    if (at == 0 || text[at - 1] == '\n') names.push_back(text.substr(at + 1, end - at - 1));
    at = end;
  }
  return names;
}

}  // namespace

TEST(ReaderFuzz, MainConfigurationIntoTheCache) {
  PlayTree tree;
  const fs::path file = tree.Media() / "Config" / "fuzz.cfg";
  const Bytes seed = FileBytes(tree.Media() / "Config" / "main.cfg");
  ASSERT_FALSE(seed.empty());
  Rand rng{Seed(1)};
  std::vector<Bytes> inputs = Regressions("maincfg");
  for (int i = 0, n = Rounds(3000); i < n; ++i) inputs.push_back(Mutate(seed, rng));
  int read = 0;
  for (const Bytes& input : inputs) {
    WriteFileBytes(file, input);
    BrRAGCfgFile cfg;
    ASSERT_TRUE(cfg.Open("Media\\Config\\fuzz.cfg", 0x1000001));
    BrRAGConfigCache cache;
    if (cache.ReadConfigFromFile(&cfg)) ++read;
    // What the host and the game read next from the file and the cache.
    BrStringT<char> s;
    int n = 0;
    float f = 0;
    cfg.GetValue(s, "RAG", "AppType");
    cfg.GetValue(n, "Display", "WindowWidth");
    cfg.GetValue(f, "Audio", "Channels");
    BrStringT<char> configs[16];
    cfg.GetValues(configs, 16, "RAG", "Configs");
    cache.GetString("App", "Launch", s);
    cache.GetInteger("RAG", "StartLevel", n);
    char section[256];
    for (int guard = 0; guard < 1000 && cfg.GetNextSection(section, sizeof(section)); ++guard) {
    }
  }
  EXPECT_GT(read, 0) << "no mutated file was read at all: the mutations only test the refusal";
}

TEST(ReaderFuzz, ObjectConfigurationsThroughSpawningEveryKind) {
  PlayTree tree;
  PlayHost host;
  ASSERT_TRUE(StartPlaying(tree, host, 5)) << host.State();
  BrRAGMap* map = host.Map();
  const char* files[] = {"armour.cfg", "core.cfg",    "dungeons.cfg", "enemies.cfg",
                         "magic.cfg",  "pickups.cfg", "weapons.cfg",  "widgets.cfg"};
  std::vector<Bytes> seeds;
  std::vector<std::string> kinds;
  for (const char* f : files) {
    seeds.push_back(FileBytes(tree.Media() / "Config" / f));
    for (const std::string& k : Sections(seeds.back())) kinds.push_back(k);
  }
  ASSERT_GT(kinds.size(), 50u);
  const int live = map->ObjectMgr().GetNumLiveObjects();
  Rand rng{Seed(2)};
  int spawned = 0;
  for (int round = 0, n = Rounds(240); round < n; ++round) {
    const size_t which = rng.Next() % seeds.size();
    WriteFileBytes(tree.Media() / "Config" / files[which], Mutate(seeds[which], rng));
    // Every kind of the damaged file and a few others, made as the generator makes them, then taken away.
    for (int k = 0; k < 12; ++k) {
      const std::string& kind = kinds[rng.Next() % kinds.size()];
      BrDemoEntity* entity = map->SpawnScripted(BrStringT<char>(kind.c_str()));
      if (!entity) continue;
      ++spawned;
      entity->Destroy();
      delete entity;
    }
    WriteFileBytes(tree.Media() / "Config" / files[which], seeds[which]);
  }
  EXPECT_GT(spawned, 1000);
  EXPECT_EQ(map->ObjectMgr().GetNumLiveObjects(), live);
  host.Run(0.2f);
  EXPECT_EQ(host.State(), "BrRAGGameStatePlaying");
}

// The levels the shipped dungeon has: every range its level information covers.
std::vector<std::pair<int, int>> DungeonLevels(const fs::path& dungeons) {
  std::vector<std::pair<int, int>> ranges;
  std::ifstream in(dungeons);
  std::string line;
  while (std::getline(in, line)) {
    int first = 0, last = 0;
    if (std::sscanf(line.c_str(), "Levels=%d,%d", &first, &last) == 2) ranges.emplace_back(first, last);
  }
  return ranges;
}

// Ends the run, naming the input, when one input takes longer than any load, interlude and frame can: a hang
// must fail the test rather than stall it.
class HangWatch {
public:
  explicit HangWatch(double seconds) : m_Limit(seconds), m_Thread([this] { Watch(); }) {}
  ~HangWatch() {
    m_Done = true;
    m_Thread.join();
  }
  void Begin(int input) {
    m_Input = input;
    m_Started = Now();
  }

private:
  static double Now() {
    return std::chrono::duration<double>(std::chrono::steady_clock::now().time_since_epoch()).count();
  }
  void Watch() {
    while (!m_Done) {
      std::this_thread::sleep_for(std::chrono::milliseconds(100));
      if (m_Input >= 0 && Now() - m_Started > m_Limit) {
        std::fprintf(stderr, "save input %d has run for more than %.0f s: the game hangs on it\n", int(m_Input),
                     m_Limit);
        std::fflush(stderr);
        std::_Exit(3);
      }
    }
  }
  const double m_Limit;
  std::atomic<bool> m_Done{false};
  std::atomic<int> m_Input{-1};
  std::atomic<double> m_Started{0.0};
  std::thread m_Thread;
};

// Real saves of the generated dungeon, mutated, each loaded as the load menu loads it. A refused save leaves the
// running map, its class and the menu in place; an accepted one goes through the interlude, drawn, into play,
// and is then a dungeon map with a player at a finite place on a level the dungeon has. The kept input
// regressions/saves/save_placement_hang.gin once loaded a difficulty no game offers, after which the next
// level placed items without end. The inputs are dealt to four runs in turn, each its own game, so that the
// whole set takes a quarter of the time where tests run side by side.
class ReaderFuzzSaves : public ::testing::TestWithParam<int> {};
constexpr int kSaveShards = 4;

TEST_P(ReaderFuzzSaves, SavesOfTheGeneratedDungeon) {
  PlayTree tree;
  PlayHost host;
  ASSERT_TRUE(StartPlaying(tree, host, 5)) << host.State();
  ASSERT_TRUE(host.Game()->SaveGame("Saves\\good.gin"));
  const Bytes good = FileBytes(tree.Media() / "Saves" / "good.gin");
  ASSERT_GT(good.size(), 100u);
  const std::vector<std::pair<int, int>> levels = DungeonLevels(tree.Media() / "Config" / "dungeons.cfg");
  ASSERT_FALSE(levels.empty());
  auto dungeonHas = [&](unsigned int level) {
    for (const auto& range : levels)
      if (int64_t(range.first) <= int64_t(level) && int64_t(level) <= int64_t(range.second)) return true;
    return false;
  };

  Rand rng{Seed(3)};
  std::vector<Bytes> inputs = Regressions("saves");
  // Values that size loops, index lists or place things when they land on a count, a level or a float.
  const uint32_t hostile[] = {0u,  1u,   0xFFFFFFFFu, 0x7FFFFFFFu, 0x80000000u, 100000000u,
                              82u, 256u, 0x7FC00000u, 0x7F800000u, 0xFF800000u, 0x4E6E6B28u};
  for (int i = 0, n = std::getenv("BR_FUZZ_ONLY_REGRESSIONS") ? 0 : Rounds(2000); i < n; ++i) {
    Bytes b = good;
    if (rng.Next() % 3 == 0) {
      // One word set to a hostile value: counts, levels and floats are words (not aligned in the file). Half of
      // them land in the last bytes, where the map's own counts, level and lists follow its objects and grid.
      const size_t tail = std::min<size_t>(b.size() - 4, 512);
      const size_t at = (rng.Next() & 1) ? b.size() - 4 - rng.Next() % tail : rng.Next() * 7u % (b.size() - 4);
      const uint32_t value = hostile[rng.Next() % (sizeof(hostile) / sizeof(hostile[0]))];
      std::memcpy(&b[at], &value, 4);
    } else {
      // Flips and overwrites anywhere, half of them in the first 64 bytes (header, lengths).
      const int flips = 1 + int(rng.Next() % 4);
      for (int f = 0; f < flips; ++f) {
        const size_t at = (rng.Next() & 1) ? rng.Next() % 64 : rng.Next() * 31u % b.size();
        b[at] = (rng.Next() & 1) ? char(rng.Next()) : char(b[at] ^ char(1u << (rng.Next() % 8)));
      }
    }
    if (rng.Next() % 8 == 0) b.resize(rng.Next() * 37u % b.size());
    inputs.push_back(b);
  }
  if (!std::getenv("BR_FUZZ_ROUNDS") && !std::getenv("BR_FUZZ_ONLY_REGRESSIONS")) {
    ASSERT_GE(inputs.size(), 2000u);
  }

  const double limit = std::getenv("BR_FUZZ_HANG_SECONDS") ? std::atof(std::getenv("BR_FUZZ_HANG_SECONDS")) : 60.0;
  HangWatch watch(limit);
  const BrStringT<char> path = Engine().getMediaDir() + "\\Saves\\bad.gin";
  int loaded = 0;
  double slowest = 0;
  int dealt = 0;
  for (size_t index = 0; index < inputs.size(); ++index) {
    if (int(index % kSaveShards) != GetParam()) continue;
    ++dealt;
    const Bytes& input = inputs[index];
    WriteFileBytes(tree.Media() / "Saves" / "bad.gin", input);
    if (std::getenv("BR_FUZZ_KEEP")) WriteFileBytes(fs::path(std::getenv("BR_FUZZ_KEEP")) += ".current", input);
    watch.Begin(int(index));
    const auto started = std::chrono::steady_clock::now();
    if (!host.Game()->IsInState("BrRAGGameStateLoadGameMenu")) {
      host.Game()->ChangeToState("BrRAGGameStateLoadGameMenu");
      host.Frame(1.0f / 30.0f, false);
    }
    BrMap* before = host.Game()->Map();
    if (host.Game()->LoadGame(path)) {
      ++loaded;
      // The interlude draws the loaded map from its first frame (drawn here: a count that sizes the map's draw
      // would hang it); once faded it leaves for play, whose first step rebuilds the level. The other frames
      // are stepped only: drawing them would cost more than the rest of the test.
      host.Frame(1.0f / 30.0f, true);
      for (int frame = 0; frame < 4 && !host.Game()->IsInState("BrRAGGameStatePlaying"); ++frame)
        host.Frame(2.5f, false);
      ASSERT_EQ(host.State(), "BrRAGGameStatePlaying") << "input " << index;
      host.Frame(1.0f / 30.0f, false);
      ASSERT_NE(host.Map(), nullptr) << "input " << index << " left no game map";
      EXPECT_TRUE(host.Map()->IsA(dtiClass("BrRogueMap", nullptr))) << "input " << index;
      EXPECT_FALSE(host.Map()->IsChangingLevel()) << "input " << index;
      EXPECT_TRUE(dungeonHas(host.Map()->GetLevel())) << "input " << index << " level " << host.Map()->GetLevel();
      BrRAGPlayer* player = host.Player();
      ASSERT_NE(player, nullptr) << "input " << index << " left no player";
      const BrVector at = player->Location();
      ASSERT_TRUE(std::isfinite(at.x) && std::isfinite(at.y) && std::isfinite(at.z) && std::fabs(at.y) < 1.0e5f)
          << "input " << index << " put the player at " << at.x << ", " << at.y << ", " << at.z;
    } else {
      ASSERT_EQ(host.Game()->Map(), before) << "input " << index << ": a refused save replaced the running map";
      ASSERT_EQ(std::string(host.Game()->GetMapType().c_str()), "BrRogueMap") << "input " << index;
      ASSERT_EQ(host.State(), "BrRAGGameStateLoadGameMenu") << "input " << index;
    }
    const double took = std::chrono::duration<double>(std::chrono::steady_clock::now() - started).count();
    if (took > slowest) {
      slowest = took;
      if (std::getenv("BR_FUZZ_KEEP")) WriteFileBytes(fs::path(std::getenv("BR_FUZZ_KEEP")), input);
    }
  }
  std::printf("save inputs: %d of %zu, loaded and played: %d, slowest: %.3f s\n", dealt, inputs.size(), loaded,
              slowest);
  EXPECT_GT(loaded, 0) << "no mutated save loaded at all: the mutations only test the refusal";
  // The good save still loads and plays.
  ASSERT_TRUE(LoadAsTheMenuDoes(host, "good.gin"));
  host.RunUntilState("BrRAGGameStatePlaying", 5.0f, 8);
  host.Run(0.3f, 4);
  EXPECT_NE(host.Player(), nullptr);
}

INSTANTIATE_TEST_SUITE_P(Quarter, ReaderFuzzSaves, ::testing::Range(0, kSaveShards));

TEST(ReaderFuzz, VertexShaderText) {
  const Bytes seeds[] = {
      "vs.1.1\ndcl_position v0\ndcl_color0 v1\ndcl_texcoord0 v8\nm4x4 r0, v0, c4\nm4x4 oPos, r0, c0\nmov oD0, "
      "v1\nmov oT0, v8\n",
      "vs.1.1\ndcl_position v0\ndcl_normal v1\ndcl_color0 v2\ndcl_texcoord0 v8\nm4x4 r0, v0, c4\nm4x4 r1, r0, "
      "c0\nmov oPos, r1\nsub r1.xyz, c9, r0.xyz\ndp3 r1, r1, r1\nrsq r2, r1\nrcp r2, r2\nrcp r3, c10.x\nmul r4, r2, "
      "r3\nmin r5.x, r4.x, c8.x\nsub r5.xyz, c8.x, r5.x\nmul r6.xyz, r5.xyz, c11.xyz\nmov oD0.xyz, r6.xyz\nmov "
      "oD0.w, c8.x\nmov  oT0 , v8\n"};
  Rand rng{Seed(4)};
  std::vector<Bytes> inputs = Regressions("vs11");
  for (int i = 0, n = Rounds(3000); i < n; ++i) inputs.push_back(Mutate(seeds[i % 2], rng));
  int assembled = 0;
  for (const Bytes& text : inputs) {
    LPD3DXBUFFER code = nullptr;
    LPD3DXBUFFER errors = nullptr;
    const HRESULT hr = D3DXAssembleShader(text.data(), UINT(text.size()), nullptr, nullptr, 0, &code, &errors);
    if (SUCCEEDED(hr)) {
      ++assembled;
      ASSERT_NE(code, nullptr);
      ASSERT_EQ(code->GetBufferSize() % 4, 0u);
      // A vs_1_1 token stream starts with its version token and ends with the end token.
      const DWORD* tokens = static_cast<const DWORD*>(code->GetBufferPointer());
      const size_t count = code->GetBufferSize() / 4;
      ASSERT_GE(count, 2u);
      EXPECT_EQ(tokens[0], 0xFFFE0101u);
      EXPECT_EQ(tokens[count - 1], 0x0000FFFFu);
    } else {
      EXPECT_EQ(code, nullptr);
    }
    if (code) code->Release();
    if (errors) errors->Release();
  }
  EXPECT_GT(assembled, 0);
}
