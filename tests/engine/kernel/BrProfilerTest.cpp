// The profiler with an injected clock: outermost measurements, running average, limits, statistics file.
#include <gtest/gtest.h>

#include <cstring>
#include <string>

#include "EngineTestSupport.h"
#include "engine/kernel/BrProfiler.h"

namespace {
float gNow = 0.0f;
float Clock() { return gNow; }
}  // namespace

TEST(Profiler, NestedCallsMeasureOnceAndTheAverageHalves) {
  BrProfiler p;
  p.SetClock(&Clock);
  gNow = 1.0f;
  p.Profile("A");
  p.Profile("A");
  gNow = 1.010f;
  p.EndProfile("A");
  EXPECT_EQ(p.GetProfile("A")->depth, 1);
  p.EndProfile("A");
  _perfProfile* a = p.GetProfile("A");
  ASSERT_NE(a, nullptr);
  EXPECT_EQ(a->frequency, 1u);
  EXPECT_EQ(a->average, 5u);  // the first average keeps the halving
  EXPECT_EQ(a->minimum, 10u);
  EXPECT_EQ(a->maximum, 10u);
  gNow = 2.0f;
  p.Profile("A");
  gNow = 2.020f;
  p.EndProfile("A");
  EXPECT_EQ(a->average, 12u);
  EXPECT_EQ(a->minimum, 10u);
  EXPECT_EQ(a->maximum, 20u);
  EXPECT_EQ(a->frequency, 2u);
}

TEST(Profiler, UnmatchedEndsAndEmptyNamesChangeNothing) {
  BrProfiler p;
  p.SetClock(&Clock);
  p.EndProfile("B");
  p.Profile("");
  EXPECT_EQ(p.GetCount(), 0u);
  gNow = 5.0f;
  p.Profile("B");
  gNow = 5.004f;
  p.EndProfile("B");
  p.EndProfile("B");  // unmatched: the depth stays at 0
  _perfProfile* b = p.GetProfile("B");
  EXPECT_EQ(b->depth, 0);
  // The record still measures afterwards.
  p.Profile("B");
  gNow = 5.010f;
  p.EndProfile("B");
  EXPECT_EQ(b->frequency, 2u);
  EXPECT_EQ(b->maximum, 6u);
}

TEST(Profiler, ThirtyThirdNameIsIgnoredWithOneWarningAndLongNamesAreCut) {
  brtest::RunTree tree("");
  BrProfiler p;
  p.SetClock(&Clock);
  for (int i = 0; i < 40; ++i) p.Profile(("name" + std::to_string(i)).c_str());
  EXPECT_EQ(p.GetCount(), 32u);
  EXPECT_EQ(p.GetProfile("name32"), nullptr);
  int warnings = 0;
  for (const std::string& l : tree.Log())
    if (l.rfind("WARNING: Profiler table full", 0) == 0) ++warnings;
  EXPECT_EQ(warnings, 1);

  BrProfiler q;
  std::string longName(200, 'n');
  q.Profile(longName.c_str());
  _perfProfile* r = q.GetProfile(longName.c_str());
  ASSERT_NE(r, nullptr);
  EXPECT_EQ(std::strlen(r->name), 127u);
}

TEST(Profiler, StatisticsFileListsRecordsInFirstUseOrder) {
  brtest::RunTree tree("");
  BrProfiler none;
  none.DumpStats();
  EXPECT_FALSE(brtest::fs::exists(tree.root / "game" / "Stats"));

  BrProfiler p;
  p.SetClock(&Clock);
  gNow = 1.0f;
  p.Profile("Zed");
  gNow = 1.010f;
  p.EndProfile("Zed");
  p.Profile("Abc");  // never ended
  p.Profile("a twenty char name!!");
  p.DumpStats();
  std::string path = p.GetStatsPath();
  ASSERT_FALSE(path.empty());
  EXPECT_NE(path.find("\\Stats\\_DEBUG_Profile_"), std::string::npos);
  ASSERT_TRUE(brtest::fs::is_directory(tree.root / "game" / "Stats"));
  std::vector<std::string> lines;
  for (auto& e : brtest::fs::directory_iterator(tree.root / "game" / "Stats")) {
    std::ifstream in(e.path());
    for (std::string l; std::getline(in, l);) lines.push_back(l);
  }
  fflush(nullptr);
  ASSERT_GE(lines.size(), 10u);
  EXPECT_EQ(lines[0], "Brelmar Technology Performance Profiler Output: ");
  EXPECT_EQ(lines[2], "Running a DEBUG build for development use only");
  EXPECT_EQ(lines[5], "\tProfile (ms)\t\t\tAverage\t\tMin\tMax\tFrequency");
  EXPECT_EQ(lines[6], std::string(81, '-'));
  EXPECT_EQ(lines[9], "\tZed             \t5\t\t10\t10\t1");
  EXPECT_EQ(lines[10], "\tAbc             \t0\t\t-1\t0\t1");
  EXPECT_EQ(lines[11], "\ta twenty char name!!\t0\t\t-1\t0\t1");

  // The time text names several runs alike: a second file never replaces the first.
  // The stamps match only within one second: when the clock turns between the two runs, the newer file is taken
  // as the first of another pair (three tries cannot all straddle a second).
  std::string second;
  int runs = 1;
  for (int attempt = 0; attempt < 3; ++attempt, ++runs) {
    BrProfiler again;
    again.Profile("Zed");
    again.DumpStats();
    second = again.GetStatsPath();
    if (second == path.substr(0, path.size() - 4) + "_2.log") break;
    path = second;
  }
  EXPECT_EQ(second, path.substr(0, path.size() - 4) + "_2.log");
  int files = 0;
  for (auto& e : brtest::fs::directory_iterator(tree.root / "game" / "Stats")) files += e.is_regular_file() ? 1 : 0;
  EXPECT_EQ(files, runs + 1);
}
