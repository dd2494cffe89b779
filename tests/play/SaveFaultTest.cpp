// Saves that fail part-way through the running game: the file limit reached at every point of the write, the
// process killed at a write, and a full disk while the staircase autosaves. Catches a half-written save taking
// the place of the last good one, a stale temporary file blocking the next save, and a failure the player is
// never told about.
#include <gtest/gtest.h>
#include <signal.h>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

#include <fstream>
#include <iterator>

#include "adventure/flow/BrRAGHUD.h"
#include "adventure/world/BrRAGWidget.h"
#include "engine/presentation/BrGUI.h"
#include "tests/play/PlayRig.h"

using namespace brplay;

namespace {

// Limits the size of every file this process writes from here on; the limit goes with the object.
class FileSizeLimit {
public:
  explicit FileSizeLimit(rlim_t bytes) {
    getrlimit(RLIMIT_FSIZE, &m_Old);
    m_OldHandler = signal(SIGXFSZ, SIG_IGN);
    rlimit limit = m_Old;
    limit.rlim_cur = bytes;
    setrlimit(RLIMIT_FSIZE, &limit);
  }
  ~FileSizeLimit() {
    setrlimit(RLIMIT_FSIZE, &m_Old);
    signal(SIGXFSZ, m_OldHandler);
  }

private:
  rlimit m_Old;
  void (*m_OldHandler)(int);
};

}  // namespace

TEST(SaveFaults, ASaveCutShortAtAnyWriteLeavesThePreviousSaveWhole) {
  PlayTree tree;
  PlayHost host;
  ASSERT_TRUE(StartPlaying(tree, host, 99, 0.5f)) << host.State();
  const fs::path slot = tree.Media() / "Saves" / "slot.gin";
  ASSERT_TRUE(host.Game()->SaveGame("Saves\\slot.gin"));
  const std::string good = FileBytes(slot);
  ASSERT_GT(good.size(), 64u);

  // The player moves on, so a completed save would differ from the good one.
  host.Player()->SetHealth(host.Player()->GetHealth() / 2);
  host.Run(0.5f, 4);

  // Every cut point in the first bytes (header, difficulty, map name), then points spread over the rest.
  std::vector<size_t> cuts;
  for (size_t n = 0; n < 64; ++n) cuts.push_back(n);
  for (size_t n = 64; n < good.size(); n += good.size() / 97 + 1) cuts.push_back(n);
  for (size_t cut : cuts) {
    bool saved;
    {
      FileSizeLimit limit(cut + 0);
      saved = host.Game()->SaveGame("Saves\\slot.gin");
    }
    ASSERT_FALSE(saved) << "a save cut at byte " << cut << " was reported as written";
    ASSERT_EQ(FileBytes(slot), good) << "the save cut at byte " << cut << " replaced the good one";
    ASSERT_FALSE(fs::exists(tree.Media() / "Saves" / "slot.gin.tmp")) << cut;
  }
  // Killed at a write (the default action of the file limit's signal), in a child of the running game.
  for (size_t cut : {size_t(0), size_t(9), size_t(40), good.size() / 3, good.size() - 1}) {
    const pid_t child = fork();
    ASSERT_NE(child, -1);
    if (child == 0) {
      signal(SIGXFSZ, SIG_DFL);
      rlimit limit;
      getrlimit(RLIMIT_FSIZE, &limit);
      limit.rlim_cur = cut;
      setrlimit(RLIMIT_FSIZE, &limit);
      host.Game()->SaveGame("Saves\\slot.gin");
      _exit(0);
    }
    int status = 0;
    waitpid(child, &status, 0);
    EXPECT_TRUE(WIFSIGNALED(status) && WTERMSIG(status) == SIGXFSZ) << "cut " << cut << " status " << status;
    ASSERT_EQ(FileBytes(slot), good) << "the save killed at byte " << cut << " replaced the good one";
  }
  // The killed saves left their temporary file behind; it neither blocks the next save nor is taken for one.
  ASSERT_TRUE(host.Game()->SaveGame("Saves\\second.gin"));

  // The good save still loads, and the game plays on from it.
  const int level = host.Map()->GetLevel();
  ASSERT_TRUE(host.Game()->LoadGame(Engine().getMediaDir() + "\\Saves\\slot.gin"));
  host.RunUntilState("BrRAGGameStatePlaying", 5.0f, 4);
  host.Run(0.5f, 4);
  ASSERT_NE(host.Map(), nullptr);
  EXPECT_EQ(int(host.Map()->GetLevel()), level);
  ASSERT_NE(host.Player(), nullptr);
  EXPECT_GT(host.Player()->GetHealth(), 0);
  // A save after all that completes and replaces the file.
  ASSERT_TRUE(host.Game()->SaveGame("Saves\\slot.gin"));
  EXPECT_FALSE(fs::exists(tree.Media() / "Saves" / "slot.gin.tmp"));
}

TEST(SaveFaults, AFullDiskWhileTheStaircaseAutosavesIsToldToThePlayer) {
  PlayTree tree;
  PlayHost host;
  ASSERT_TRUE(StartPlaying(tree, host, 99, 0.5f)) << host.State();
  BrRAGMap* map = host.Map();
  const dtiClass staircase("Staircase", nullptr);
  BrRAGWidget* stairs = nullptr;
  for (int id = 0; id < map->NumObjects() && !stairs; ++id) {
    BrGameObj* object = map->GetObjectA(id);
    if (object->IsValid() && object->IsA(staircase))
      stairs = static_cast<BrRAGWidget*>(object->SafeCast(&BrRAGWidget::Type));
  }
  ASSERT_NE(stairs, nullptr);
  stairs->UsedBy(host.Player());
  host.Frame();
  ASSERT_NE(host.Control("DialogNextLevel"), nullptr);
  {
    // No room at all: the disk is full before the first byte.
    FileSizeLimit full(0);
    ASSERT_TRUE(host.ClickControl("DialogNextLevel"));
  }
  // The log sits on the same full disk: only the player's dialog can tell.
  EXPECT_FALSE(fs::exists(tree.Media() / "Saves" / "autosave.gin"));
  // The level change goes on; the player is told once it is there.
  host.RunUntilState("BrRAGGameStatePlaying", 10.0f, 4);
  host.Frame();
  BrUIControl* message = host.Control("dlg_message");
  ASSERT_NE(message, nullptr) << "the failed save was not reported";
  EXPECT_TRUE(Engine().GUI()->IsModal());
  EXPECT_EQ(host.Map()->GetLevel(), 2u);
}
