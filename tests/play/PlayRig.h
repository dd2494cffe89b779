// The host's start, frame loop and leaving, run in-process on a copy of the build's run tree, with input driven
// through the window layer (injected messages, held keys) and the game read back through the real objects.
#pragma once

#include <cstdint>
#include <filesystem>
#include <memory>
#include <string>
#include <utility>
#include <vector>

#include "adventure/flow/BrRAGGame.h"
#include "adventure/world/BrRAGCfgFile.h"
#include "adventure/world/BrRAGConfigCache.h"
#include "adventure/world/BrRAGMap.h"
#include "adventure/world/BrRAGPlayer.h"
#include "engine/kernel/kernel.h"
#include "engine/presentation/BrUIControl.h"
#include "tests/support/TempFolder.h"

class BrRAGInvItemCtrl;

namespace brplay {

namespace fs = std::filesystem;

// A decoded screenshot: 0xRRGGBB pixels, top row first.
struct Shot {
  int width = 0;
  int height = 0;
  std::vector<uint32_t> pixels;
  uint32_t At(int x, int y) const { return pixels[size_t(y) * size_t(width) + size_t(x)]; }
};

// Reads an uncompressed 24- or 32-bit BMP; false for anything else.
bool ReadBmp(const fs::path& file, Shot& out);
// The picture averaged down to w x h cells (each cell the mean of its pixels).
Shot Shrink(const Shot& shot, int w, int h);
// Writes and reads the small plain-text picture format (P3 PPM) the expected frames are kept in.
bool WritePpm(const fs::path& file, const Shot& shot);
bool ReadPpm(const fs::path& file, Shot& out);
// Mean absolute difference per channel (0..255) of two pictures of one size; 255 when the sizes differ.
double MeanDifference(const Shot& a, const Shot& b);
// The pixels of two pictures of one size that differ by more than tolerance in some channel; -1 when the sizes
// differ.
int DifferingPixels(const Shot& a, const Shot& b, int tolerance);
// The part of the picture w by h from (x, y), cut to the picture.
Shot Crop(const Shot& shot, int x, int y, int w, int h);

// The build's run tree (BR_BINARY_DIR/run) mirrored into a temporary folder: media folders linked, the
// configuration and the game library copied, Saves and the log written there. The working folder is its game
// folder while the object lives.
class PlayTree {
public:
  PlayTree();
  ~PlayTree();
  PlayTree(const PlayTree&) = delete;
  PlayTree& operator=(const PlayTree&) = delete;

  fs::path Game() const { return m_Root / "game"; }
  fs::path Media() const { return Game() / "Media"; }
  // Lines of log.txt as written so far.
  std::vector<std::string> Log() const;
  // The last line of log.txt that is not empty.
  std::string LastLine() const;
  // The index of the first line containing text at or after from, -1 when none.
  int Find(const std::string& text, int from = 0) const;
  // The lines containing text.
  int Count(const std::string& text) const;
  // Replaces the line "key=..." of the copied main.cfg with "key=value" (keys are unique in the file).
  void SetConfig(const std::string& key, const std::string& value);
  // Removes a file or link of the tree (missing media, a missing plug-in or library).
  void Remove(const fs::path& relativeToGame);
  // Replaces a media folder linked to the run tree by a copy of its own, whose files a test may then damage
  // without damaging the run tree that every other test reads.
  void CopyLinked(const fs::path& relativeToGame);

private:
  brtest::TempFolder m_Folder;
  const fs::path m_Root;
};

// An X display of the test's own, 1280 x 1024 (Xvfb), for as long as the object lives; Name() is empty when none
// could be started. The video driver and display of the process follow it and are given back at the end.
class VirtualDisplay {
public:
  VirtualDisplay();
  ~VirtualDisplay();
  VirtualDisplay(const VirtualDisplay&) = delete;
  VirtualDisplay& operator=(const VirtualDisplay&) = delete;
  std::string Name() const { return m_Number.empty() ? std::string() : ":" + m_Number; }

private:
  int m_Pid = -1;
  std::string m_Number;
  std::pair<bool, std::string> m_OldDisplay, m_OldDriver;
};

// The host in-process: the configuration read as the host reads it, Engine().Init with the real plug-ins,
// the application made by class name and launched. Frames have a fixed step so that a run is the same on
// every machine. One rig a run; Leave ends it in order and makes the engine ready for the next run.
class PlayHost {
public:
  PlayHost() = default;
  ~PlayHost();
  PlayHost(const PlayHost&) = delete;
  PlayHost& operator=(const PlayHost&) = delete;

  // Starts as the host does; with a seed, every dungeon of the run is dug from it. False when the engine or
  // the application did not start.
  bool Start(unsigned int seed);
  // One host frame of dt seconds: messages, global keys, the step and (when draw) the frame.
  void Frame(float dt = 1.0f / 30.0f, bool draw = true);
  // Frames until the named state is current, at most seconds of game time; drawing every drawEvery-th frame.
  bool RunUntilState(const char* state, float seconds, int drawEvery = 1);
  // Frames for seconds of game time.
  void Run(float seconds, int drawEvery = 1);
  // Leaves in order (the engine's Exit, the configuration file closed, the engine reset for another run).
  void Leave();
  bool Running() const { return m_bStarted; }

  BrRAGGame* Game() const;
  BrRAGMap* Map() const;
  BrRAGPlayer* Player() const;
  std::string State() const;
  // The widget with that id anywhere in the widget tree, or null.
  BrUIControl* Control(const char* id) const;
  // Puts the HUD cursor's hot spot on the pixel and clicks there: button down and up as window messages,
  // then a frame that lets the controller handle the click. False when the game has no HUD cursor.
  bool ClickAt(int px, int py);
  // Clicks the centre of the widget with that id; false when it is not there.
  bool ClickControl(const char* id);
  // Holds a key for the given frames of dt, then releases it.
  void HoldKey(int vkey, int frames, float dt = 1.0f / 30.0f);
  // Types text (capitals, digits and spaces) into the focused widget as key-up messages.
  void Type(const std::string& text);
  // Sends a window menu command as a message.
  void MenuCommand(int id);
  // Writes the current frame to file (a BMP), as the host does at its last frame.
  bool Screenshot(const fs::path& file);

private:
  BrRAGCfgFile m_File;
  BrRAGConfigCache m_Config;
  bool m_bStarted = false;
  int m_iFrame = 0;
};

// ---- Steps and readings shared by the play tests ----

// Intro and legal splash skipped with Escape held, as an impatient player does, then the menu settled.
void EscapeToMainMenu(PlayHost& host);
// From the main menu, the play button and a medium game; true when the game is playing.
bool NewGameFromMenu(PlayHost& host);
// Without the intro, the game started from seed and its main menu shown for half a second; false when the menu
// never came (the log in the tree's game folder says why).
bool StartAtMainMenu(PlayTree& tree, PlayHost& host, unsigned int seed);
// Without the intro, a game started from seed by the main menu's Q key and stepped for settle seconds; false
// unless it is playing with a map and a player.
bool StartPlaying(PlayTree& tree, PlayHost& host, unsigned int seed, float settle = 0.3f);
// The frame as the player sees it, written to Media/name: the screenshot cut to the back buffer's size (a
// screenshot may hold more).
bool ScreenFrame(PlayHost& host, PlayTree& tree, const char* name, Shot& out);
// The live actors of the level whose text is text (a monster's kind).
std::vector<BrRAGActor*> ActorsNamed(PlayHost& host, const char* text);
// The first inventory cell anywhere in the widget tree that holds an item, or null.
BrRAGInvItemCtrl* FirstFilledCell();
// Clicks down the rows of the list box until the selected row names file (letter case aside), as the player
// picks a save; false when no row does.
bool ClickListRow(PlayHost& host, const char* listId, const std::string& file);
// A mod made as a modder makes one: the media folder copied whole, but for its saves, into Mods under the folder
// name given (as the disk names it). Its path.
fs::path CopyMediaAsMod(PlayTree& tree, const std::string& folder);
// From the main menu: Mods, the row that names the mod (as the list shows it), Load, and back at the main menu.
bool ChooseModFromMenu(PlayHost& host, const std::string& listed);
// In the load menu, what its load button does with the file of that name in Saves.
bool LoadAsTheMenuDoes(PlayHost& host, const std::string& file);
// A file's whole content (empty when it cannot be read), and a file written whole with bytes.
std::string FileBytes(const fs::path& file);
void WriteFileBytes(const fs::path& file, const std::string& bytes);

// Pumps the window layer's message queue into the window procedure.
void PumpMessages();

}  // namespace brplay
