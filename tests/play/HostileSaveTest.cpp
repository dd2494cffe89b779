// Real saves of the running game with one field changed, loaded as the load menu loads them and then drawn and
// stepped: a map of another class, a floor-type count the draw would loop through every frame, a level the
// dungeon does not have, and numbers that would put the player out of reach are each refused with the running
// game kept; a save made before the header existed still loads.
#include <gtest/gtest.h>

#include <cctype>
#include <chrono>
#include <cmath>
#include <cstring>
#include <fstream>
#include <iterator>
#include <limits>

#include "core/BrBin.h"
#include "engine/presentation/BrGUI.h"
#include "engine/presentation/BrHUD.h"
#include "engine/presentation/BrRenderBase.h"
#include "engine/presentation/BrUIControlListBox.h"
#include "platform/win32/win32.h"
#include "templates/BrArchiveOps.h"
#include "tests/play/PlayRig.h"

using namespace brplay;

namespace {

using Bytes = std::string;

// Names the grid map's own fields, so that a test can mark them before a save and find them in the file.
struct MapFields : BrRAGMap {
  static int32_t& MaxFloorType(BrRAGMap* map) { return map->*(&MapFields::m_iMaxFloorType); }
  static uint32_t& Level(BrRAGMap* map) { return map->*(&MapFields::m_uiLevel); }
};

template <class T>
Bytes Raw(const T& value) {
  return Bytes(reinterpret_cast<const char*>(&value), sizeof(T));
}

// Where the marker is in the file; npos unless it is there exactly once.
size_t FindOnce(const Bytes& file, const Bytes& marker) {
  const size_t at = file.find(marker);
  if (at == Bytes::npos || file.find(marker, at + 1) != Bytes::npos) return Bytes::npos;
  return at;
}

template <class T>
Bytes WithField(const Bytes& save, size_t at, const T& value) {
  Bytes changed = save;
  changed.replace(at, sizeof(T), Raw(value));
  return changed;
}

// The save written while mark() holds a field at a marker value; unmark() puts the game back.
template <class Mark, class Unmark>
Bytes SaveMarked(PlayTree& tree, PlayHost& host, Mark mark, Unmark unmark) {
  mark();
  const bool saved = host.Game()->SaveGame("Saves\\marked.gin");
  unmark();
  EXPECT_TRUE(saved);
  const Bytes bytes = FileBytes(tree.Media() / "Saves" / "marked.gin");
  fs::remove(tree.Media() / "Saves" / "marked.gin");
  return bytes;
}

bool Finite(const BrVector& v) { return std::isfinite(v.x) && std::isfinite(v.y) && std::isfinite(v.z); }

int LiveControls() {
  int n = 0;
  for (int i = 0; i < Engine().GUI()->GetNumControls(); ++i) n += Engine().GUI()->GetTopControl(i) ? 1 : 0;
  return n;
}

// A refused load kept the running game: the same map and player where they were, the player's HUD panel its
// own, no control left over from the refused file, and the game plays on.
void ExpectKept(PlayHost& host, BrRAGMap* map, const BrVector& at, const std::string& what, int controls = -1) {
  EXPECT_EQ(host.Map(), map) << what;
  EXPECT_EQ(std::string(host.Game()->GetMapType().c_str()), "BrRogueMap") << what;
  EXPECT_EQ(host.State(), "BrRAGGameStateLoadGameMenu") << what;
  ASSERT_NE(host.Player(), nullptr) << what;
  EXPECT_EQ(host.Player()->Location().y, at.y) << what;
  BrUIControl* panel = Engine().GUI()->GetControl(BrStringT<char>("ingame_playerhud"), true);
  ASSERT_NE(panel, nullptr) << what;
  EXPECT_EQ(panel->GetParentControl(), static_cast<BrUIControl*>(host.Player()->GetHUD()))
      << what << ": the player's panel was taken";
  if (controls >= 0) {
    EXPECT_EQ(LiveControls(), controls) << what << ": a control of the refused file stayed";
  }
}

// An archive written as the engine wrote before the header and the later fields existed.
class ArchiveOfTheFirstVersion : public BrBin {
public:
  ArchiveOfTheFirstVersion() { m_iVersion = ciHeaderlessVersion; }
};

}  // namespace

TEST(HostileSaves, AFloorTypeCountNoLevelHasIsRefusedAndTheNextFramesDrawAtOnce) {
  PlayTree tree;
  PlayHost host;
  ASSERT_TRUE(StartPlaying(tree, host, 31)) << host.State();
  BrRAGMap* map = host.Map();
  const int32_t floors = MapFields::MaxFloorType(map);
  const Bytes save = SaveMarked(
      tree, host, [&] { MapFields::MaxFloorType(map) = 0x7E57F100; }, [&] { MapFields::MaxFloorType(map) = floors; });
  const size_t at = FindOnce(save, Raw(int32_t(0x7E57F100)));
  ASSERT_NE(at, Bytes::npos);
  const BrVector where = host.Player()->Location();
  for (int32_t value : {100000000, 256, -1}) {
    WriteFileBytes(tree.Media() / "Saves" / "floors.gin", WithField(save, at, value));
    const auto started = std::chrono::steady_clock::now();
    EXPECT_FALSE(LoadAsTheMenuDoes(host, "floors.gin")) << value;
    host.Run(0.2f);
    const double took = std::chrono::duration<double>(std::chrono::steady_clock::now() - started).count();
    EXPECT_LT(took, 5.0) << "floor types " << value;
    ExpectKept(host, map, where, "floor types " + std::to_string(value));
  }
  EXPECT_GE(tree.Find("highest floor type is out of range"), 0);
  // The count the level really has still loads and plays.
  WriteFileBytes(tree.Media() / "Saves" / "floors.gin", WithField(save, at, floors));
  ASSERT_TRUE(LoadAsTheMenuDoes(host, "floors.gin"));
  EXPECT_TRUE(host.RunUntilState("BrRAGGameStatePlaying", 5.0f));
  host.Run(0.2f);
  ASSERT_NE(host.Player(), nullptr);
}

TEST(HostileSaves, ASaveOfAnotherMapClassIsRefusedAndNewGamesStillBuildTheDungeon) {
  PlayTree tree;
  PlayHost host;
  ASSERT_TRUE(StartPlaying(tree, host, 31)) << host.State();
  ASSERT_TRUE(host.Game()->SaveGame("Saves\\good.gin"));
  const Bytes good = FileBytes(tree.Media() / "Saves" / "good.gin");
  fs::remove(tree.Media() / "Saves" / "good.gin");
  BrRAGMap* map = host.Map();
  const BrVector where = host.Player()->Location();

  // Saves as the engine's own game writes them for its bare map: they read back whole, as that map.
  auto engineMapSave = [&](const std::string& className, uint32_t version) {
    const fs::path file = tree.Media() / "Saves" / "written.gin";
    {
      BrObject* spawned = static_cast<BrObject*>(Engine().Spawn("BrMap"));
      BrMap* bare = spawned ? static_cast<BrMap*>(spawned->SafeCast(&BrMap::Type)) : nullptr;
      EXPECT_NE(bare, nullptr);
      if (!bare) return Bytes();
      BrBin bin;
      EXPECT_TRUE(bin.Open(file.string().c_str(), 0));
      for (char c : {'G', 'I', 'N', 'F'}) bin.Stream(&c, 1, 1);
      int32_t difficulty = 2;
      BrStringT<char> name(className.c_str());
      bin << version << difficulty << name;
      bare->Init();
      bare->Serialize(bin);
      EXPECT_TRUE(bin.Close());
      bare->Destroy();
      delete bare;
    }
    const Bytes bytes = FileBytes(file);
    fs::remove(file);
    return bytes;
  };

  // Through the menu: the row, the load button, and the player is told.
  WriteFileBytes(tree.Media() / "Saves" / "engine.gin", engineMapSave("BrMap", 269));
  host.Game()->ChangeToState("BrRAGGameStateLoadGameMenu");
  host.Frame();
  ASSERT_TRUE(ClickListRow(host, "LoadGameListBox", "engine.gin"));
  ASSERT_TRUE(host.ClickControl("LoadLoadBtn"));
  host.Frame();
  EXPECT_NE(host.Control("dlg_message"), nullptr) << "the refused load was not told to the player";
  ExpectKept(host, map, where, "BrMap");
  // Read, and put away as a player does.
  host.HoldKey(VK_ESCAPE, 1);
  EXPECT_FALSE(Engine().GUI()->IsModal());
  fs::remove(tree.Media() / "Saves" / "engine.gin");

  const std::pair<const char*, Bytes> bad[] = {{"empty class name", engineMapSave("", 269)},
                                               {"version 0 and BrMap", engineMapSave("BrMap", 0)}};
  for (const auto& entry : bad) {
    WriteFileBytes(tree.Media() / "Saves" / "other.gin", entry.second);
    EXPECT_FALSE(LoadAsTheMenuDoes(host, "other.gin")) << entry.first;
    host.Run(0.2f);
    ExpectKept(host, map, where, entry.first);
  }
  EXPECT_GE(tree.Find("not this game's BrRogueMap"), 0);
  fs::remove(tree.Media() / "Saves" / "other.gin");

  // A version field of 0 names no version: the save is read as this engine's and loads.
  Bytes zero = good;
  zero.replace(4, 4, Raw(uint32_t(0)));
  WriteFileBytes(tree.Media() / "Saves" / "zero.gin", zero);
  EXPECT_TRUE(LoadAsTheMenuDoes(host, "zero.gin"));
  fs::remove(tree.Media() / "Saves" / "zero.gin");

  // A new game afterwards is the dungeon: a level 1 with its player.
  host.Game()->ChangeToState("BrRAGGameStateMainMenu");
  host.Frame();
  host.HoldKey('Q', 1);
  ASSERT_TRUE(host.RunUntilState("BrRAGGameStatePlaying", 5.0f));
  host.Run(0.3f, 4);
  ASSERT_NE(host.Map(), nullptr);
  EXPECT_EQ(host.Map()->GetLevel(), 1u);
  EXPECT_NE(host.Player(), nullptr);
  EXPECT_GT(host.Map()->NumObjects(), 10);
}

TEST(HostileSaves, ASavedLevelTheDungeonDoesNotHaveIsRefused) {
  PlayTree tree;
  PlayHost host;
  ASSERT_TRUE(StartPlaying(tree, host, 31)) << host.State();
  BrRAGMap* map = host.Map();
  const uint32_t level = MapFields::Level(map);
  const Bytes save = SaveMarked(
      tree, host, [&] { MapFields::Level(map) = 0x7E57A11Du; }, [&] { MapFields::Level(map) = level; });
  const size_t at = FindOnce(save, Raw(uint32_t(0x7E57A11Du)));
  ASSERT_NE(at, Bytes::npos);
  const BrVector where = host.Player()->Location();
  host.Game()->ChangeToState("BrRAGGameStateLoadGameMenu");
  host.Frame();
  const int controls = LiveControls();
  for (uint32_t value : {0u, 82u, 4294967295u}) {
    WriteFileBytes(tree.Media() / "Saves" / "level.gin", WithField(save, at, value));
    EXPECT_FALSE(LoadAsTheMenuDoes(host, "level.gin")) << value;
    host.Run(0.2f);
    ExpectKept(host, map, where, "level " + std::to_string(value), controls);
  }
  // The deepest level of the dungeon loads and is played there.
  WriteFileBytes(tree.Media() / "Saves" / "level.gin", WithField(save, at, 80u));
  ASSERT_TRUE(LoadAsTheMenuDoes(host, "level.gin"));
  EXPECT_TRUE(host.RunUntilState("BrRAGGameStatePlaying", 5.0f));
  host.Run(0.2f);
  EXPECT_EQ(host.Map()->GetLevel(), 80u);
  ASSERT_NE(host.Player(), nullptr);
  // The replaced game's player took its HUD along: one player HUD, holding the one panel.
  EXPECT_EQ(LiveControls(), controls);
  BrUIControl* panel = Engine().GUI()->GetControl(BrStringT<char>("ingame_playerhud"), true);
  ASSERT_NE(panel, nullptr);
  EXPECT_EQ(panel->GetParentControl(), static_cast<BrUIControl*>(host.Player()->GetHUD()));
}

TEST(HostileSaves, NoSavedNumberPutsThePlayerAtANonFinitePlaceOrOutOfReach) {
  PlayTree tree;
  PlayHost host;
  ASSERT_TRUE(StartPlaying(tree, host, 31)) << host.State();
  BrRAGPlayer* player = host.Player();
  const BrVector scale = player->GetDrawScale();
  const BrVector where = player->Location();
  const float speed = player->GetGroundSpeed();
  const float markX = 4321.0625f, markY = 1234.5625f, markAt = 6543.1875f, markSpeed = 7777.8125f;
  const Bytes save = SaveMarked(
      tree, host,
      [&] {
        player->SetDrawScale(BrVector(markX, markY, scale.z));
        player->Location().x = markAt;
        player->SetGroundSpeed(markSpeed);
      },
      [&] {
        player->SetDrawScale(scale);
        player->Location() = where;
        player->SetGroundSpeed(speed);
      });
  const size_t scaleAt = FindOnce(save, Raw(markX) + Raw(markY));
  const size_t placeAt = FindOnce(save, Raw(markAt));
  ASSERT_NE(scaleAt, Bytes::npos);
  ASSERT_NE(placeAt, Bytes::npos);
  const size_t speedAt = FindOnce(save, Raw(markSpeed));
  ASSERT_NE(speedAt, Bytes::npos);
  BrRAGMap* map = host.Map();
  const float nan = std::numeric_limits<float>::quiet_NaN();
  const float inf = std::numeric_limits<float>::infinity();
  const std::pair<std::string, Bytes> bad[] = {
      {"height NaN", WithField(save, scaleAt + 4, nan)},  {"height infinite", WithField(save, scaleAt + 4, inf)},
      {"height 1e9", WithField(save, scaleAt + 4, 1e9f)}, {"width -infinite", WithField(save, scaleAt, -inf)},
      {"position NaN", WithField(save, placeAt, nan)},    {"position 1e30", WithField(save, placeAt, 1e30f)},
      {"speed 1e30", WithField(save, speedAt, 1e30f)}};
  for (const auto& entry : bad) {
    WriteFileBytes(tree.Media() / "Saves" / "numbers.gin", entry.second);
    EXPECT_FALSE(LoadAsTheMenuDoes(host, "numbers.gin")) << entry.first;
    host.Run(0.2f);
    ExpectKept(host, map, where, entry.first);
    EXPECT_TRUE(Finite(host.Player()->Location())) << entry.first;
  }
  // The real sizes load, and the rebuilt level stands the player on its floor at the saved height.
  const fs::path numbers = tree.Media() / "Saves" / "numbers.gin";
  WriteFileBytes(numbers, WithField(WithField(save, scaleAt, scale.x), placeAt, where.x));
  Bytes real = FileBytes(numbers);
  WriteFileBytes(numbers, WithField(WithField(real, scaleAt + 4, scale.y), speedAt, speed));
  ASSERT_TRUE(LoadAsTheMenuDoes(host, "numbers.gin"));
  EXPECT_TRUE(host.RunUntilState("BrRAGGameStatePlaying", 5.0f));
  host.Run(0.2f);
  ASSERT_NE(host.Player(), nullptr);
  EXPECT_TRUE(Finite(host.Player()->Location()));
  EXPECT_FLOAT_EQ(host.Player()->Location().y, scale.y);
}

TEST(HostileSaves, ASaveFromBeforeTheHeaderLoadsThroughTheMenu) {
  PlayTree tree;
  PlayHost host;
  ASSERT_TRUE(StartPlaying(tree, host, 31)) << host.State();
  host.Game()->setDifficulty(3);
  const unsigned int level = host.Map()->GetLevel();
  {
    // What the engine wrote then: the map class name first, no header, no difficulty, no later field.
    ArchiveOfTheFirstVersion bin;
    ASSERT_TRUE(bin.Open((tree.Media() / "Saves" / "first.gin").string().c_str(), 0));
    host.Map()->Unload();
    BrStringT<char> mapType = host.Game()->GetMapType();
    bin << mapType;
    host.Map()->Serialize(bin);
    ASSERT_FALSE(bin.HasFailed());
    ASSERT_TRUE(bin.Close());
  }
  ASSERT_NE(FileBytes(tree.Media() / "Saves" / "first.gin").substr(0, 4), "GINF");
  BrRAGMap* before = host.Map();
  host.Game()->ChangeToState("BrRAGGameStateLoadGameMenu");
  host.Frame();
  ASSERT_TRUE(ClickListRow(host, "LoadGameListBox", "first.gin"));
  ASSERT_TRUE(host.ClickControl("LoadLoadBtn"));
  ASSERT_TRUE(host.RunUntilState("BrRAGGameStatePlaying", 5.0f)) << host.State() << " " << tree.LastLine();
  host.Run(0.3f);
  ASSERT_NE(host.Map(), nullptr);
  EXPECT_NE(host.Map(), before);
  EXPECT_EQ(host.Map()->GetLevel(), level);
  EXPECT_EQ(host.Game()->getDifficulty(), 1);
  ASSERT_NE(host.Player(), nullptr);
  EXPECT_TRUE(Finite(host.Player()->Location()));
}
