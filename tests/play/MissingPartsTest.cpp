// Starting with a part of the run tree taken away: the media folder, the fonts, the configuration, the textures,
// the game library, the rendering or the audio plug-in. The host program runs as a child process on a copy of the tree
// and is judged by its exit code, what it printed and its log; where the game goes on (no sound, no game
// library) it is also played in-process. Catches a start that crashes or hangs, a failure reported as success,
// and log lines that do not say what is missing or why.
#include <gtest/gtest.h>

#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <cstdlib>
#include <fstream>
#include <map>
#include <sstream>
#include <string>
#include <vector>

#include "core/brcr.h"
#include "engine/kernel/kernel.h"
#include "engine/presentation/BrFontMgr.h"
#include "engine/presentation/BrGUI.h"
#include "engine/presentation/BrRenderBase.h"
#include "engine/presentation/BrUIDialog.h"
#include "tests/play/PlayRig.h"
#include "tests/play/PlayScript.h"
#include "tests/support/TempFolder.h"

using namespace brplay;

namespace {

struct HostRun {
  int code = -1;                 // the host's exit code; -1 when it did not exit by itself (a crash, a signal)
  std::vector<std::string> out;  // what it printed
};

// Runs the run tree's host in the tree's game folder for a number of frames; a host that hangs is stopped after
// two minutes and exits with timeout's code 124.
HostRun RunHost(PlayTree& tree, int frames, const std::string& options = "") {
  const char* binary = std::getenv("BR_BINARY_DIR");
  const fs::path host = fs::absolute(fs::path(binary ? binary : ".") / "run" / "game" / "brhost");
  const fs::path out = tree.Game() / ".." / "host.out";
  const std::string cmd = "cd '" + tree.Game().string() + "' && timeout 120 '" + host.string() +
                          "' --headless --frames " + std::to_string(frames) + " " + options + " > '" + out.string() +
                          "' 2>&1";
  HostRun run;
  const int rc = std::system(cmd.c_str());
  run.code = WIFEXITED(rc) ? WEXITSTATUS(rc) : -1;
  std::ifstream in(out);
  for (std::string line; std::getline(in, line);) run.out.push_back(line);
  return run;
}

// Checks that the log holds each of the lines whole, in this order (other lines may come between).
void ExpectLinesInOrder(const PlayTree& tree, const std::vector<std::string>& lines) {
  const std::vector<std::string> log = tree.Log();
  size_t at = 0;
  for (const std::string& want : lines) {
    size_t i = at;
    while (i < log.size() && log[i] != want) ++i;
    EXPECT_LT(i, log.size()) << "no line \"" << want << "\" after line " << at << " of log.txt";
    if (i < log.size()) at = i + 1;
  }
}

// The rest of the first log line starting with prefix: what the loader said about a library it refused.
std::string ReasonAfter(const PlayTree& tree, const std::string& prefix) {
  for (const std::string& line : tree.Log())
    if (line.rfind(prefix, 0) == 0) return line.substr(prefix.size());
  return "<no line starting " + prefix + ">";
}

std::string Cwd() { return fs::current_path().string(); }

}  // namespace

TEST(MissingParts, MediaFolderFontsAndConfiguration) {
  {
    // No media folder at all: named on the terminal and in the log, and the engine never starts.
    PlayTree tree;
    tree.Remove("Media");
    const HostRun run = RunHost(tree, 30);
    EXPECT_EQ(run.code, 1);
    ASSERT_FALSE(run.out.empty());
    EXPECT_EQ(run.out[0], "brhost: no media folder Media in " + Cwd());
    EXPECT_EQ(tree.LastLine(), "ERROR: Host found no media folder Media in " + Cwd());
    EXPECT_EQ(tree.Find("Creating Rendering device"), -1);
  }
  {
    // The media folder spelled with a leading "./" and a trailing separator is still the game's "Media", whose
    // default font is named from it.
    PlayTree tree;
    const HostRun run = RunHost(tree, 30, "--media ./Media/");
    EXPECT_EQ(run.code, 0);
    ASSERT_FALSE(run.out.empty());
    EXPECT_EQ(run.out[0], "brhost: left in order after 30 frames.");
    ExpectLinesInOrder(tree, {"Engine: Loaded lib tidewrack", "Rendering device initiated", "Widget daemon online",
                              "Connected to game: Tidewrack", "Exit granted"});
    EXPECT_EQ(tree.Find("ERROR"), -1) << tree.Log()[size_t(std::max(0, tree.Find("ERROR")))];
  }
  {
    // No fonts: the default font's texture cannot be loaded, which fails the rendering device and the start.
    PlayTree tree;
    tree.Remove("Media/Fonts");
    const HostRun run = RunHost(tree, 30);
    EXPECT_EQ(run.code, 1);
    ASSERT_FALSE(run.out.empty());
    EXPECT_EQ(run.out[0], "brhost: could not start; left in order after 0 frames.");
    ExpectLinesInOrder(tree,
                       {"Creating Rendering device", "WARNING: Failed to load Media\\Fonts\\fontVanilla.tga texture",
                        "ERROR: Failed to load font texture Media\\Fonts\\fontVanilla.tga",
                        "ERROR: Failed to load default font!", "ERROR: Failed to initiate Render device",
                        "Engine requesting exit", "Rendering device and resources safely released"});
    EXPECT_EQ(tree.Find("Widget daemon online"), -1);
    EXPECT_EQ(tree.LastLine(), "Exit granted");
    // The last line on the terminal says why, not only that the start failed.
    EXPECT_EQ(run.out.back(), "brhost: could not start: Failed to load font texture Media\\Fonts\\fontVanilla.tga");
  }
  {
    // No main.cfg: the game's default text is written, which names the game library and both plug-ins.
    PlayTree tree;
    tree.Remove("Media/Config/main.cfg");
    const HostRun run = RunHost(tree, 30);
    EXPECT_EQ(run.code, 0);
    ASSERT_FALSE(run.out.empty());
    EXPECT_EQ(run.out[0], "brhost: left in order after 30 frames.");
    EXPECT_TRUE(fs::exists(tree.Media() / "Config" / "main.cfg"));
    ExpectLinesInOrder(tree, {"Audio daemon initiated", "Engine: Loaded lib tidewrack", "Rendering device initiated",
                              "Widget daemon online", "Connected to game: Tidewrack", "Exit granted"});
    EXPECT_EQ(tree.Find("ERROR"), -1);
  }
}

TEST(MissingParts, WithoutTexturesTheGameIsPlayedAndEachMissingFileIsNamedOnce) {
  PlayTree tree;
  tree.Remove("Media/Textures");
  tree.SetConfig("ShowIntro", "0");
  PlayHost host;
  ASSERT_TRUE(host.Start(7));
  ASSERT_TRUE(host.RunUntilState("BrRAGGameStateMainMenu", 2.0f));
  host.HoldKey('Q', 1);
  ASSERT_TRUE(host.RunUntilState("BrRAGGameStatePlaying", 5.0f)) << host.State();
  PlayScript script(host);
  EXPECT_TRUE(script.WalkByClicking());
  EXPECT_TRUE(script.FightAt("Rat")) << script.Why();
  host.Run(2.0f);
  EXPECT_EQ(host.State(), "BrRAGGameStatePlaying");
  host.Leave();
  // The HUD, the minimap and the menus ask again for what they lack on every frame they draw; the log names
  // each missing file once all the same.
  std::map<std::string, int> warned;
  for (const std::string& line : tree.Log())
    if (line.rfind("WARNING: Failed to load ", 0) == 0) ++warned[line];
  EXPECT_EQ(warned["WARNING: Failed to load Media\\Textures\\noshader.bmp texture"], 1);
  EXPECT_EQ(warned["WARNING: Failed to load Media\\Textures\\ui\\hud\\health.tga texture"], 1);
  for (const auto& entry : warned) EXPECT_EQ(entry.second, 1) << entry.first;
  EXPECT_EQ(tree.LastLine(), "Exit granted");
}

TEST(MissingParts, RenderingPluginMissingOrBrokenEndsTheStartCleanly) {
  for (const bool broken : {false, true}) {
    SCOPED_TRACE(broken ? "a plug-in that is not a library" : "no plug-in");
    PlayTree tree;
    const fs::path plugin = tree.Game() / ".." / "drivers" / "plug-ins" / "GfxDrv.so";
    fs::remove(plugin);
    if (broken) std::ofstream(plugin) << "not a shared object\n";
    const HostRun run = RunHost(tree, 30);
    EXPECT_EQ(run.code, 1);
    ASSERT_FALSE(run.out.empty());
    EXPECT_EQ(run.out[0], "brhost: could not start; left in order after 0 frames.");
    const std::string tried = "ERROR: Could not load " + Cwd() + "\\..\\drivers\\plug-ins\\GfxDrv.dll: ";
    ExpectLinesInOrder(tree,
                       {"Audio daemon initiated", "Engine: Loaded lib tidewrack", "Creating Rendering device",
                        "Failed to load GfxDrv extension", tried + ReasonAfter(tree, tried),
                        "Failed to create GfxDrv rendering extension", "Specifying -safe mode restart in config file",
                        "ERROR: Failed to initiate Render device", "Engine requesting exit"});
    // The loader's reason tells a missing file from one that is there but not a library.
    const std::string reason = ReasonAfter(tree, tried);
    EXPECT_NE(reason.find("GfxDrv.so"), std::string::npos) << reason;
    EXPECT_EQ(reason.find("no such library") != std::string::npos, !broken) << reason;
    EXPECT_EQ(run.out.back(), "brhost: could not start: " + tried.substr(7) + reason);
    EXPECT_EQ(tree.Find("Rendering device initiated"), -1);
    EXPECT_EQ(tree.Find("Connected to game"), -1);
    EXPECT_EQ(tree.LastLine(), "Exit granted");
  }
  {
    // A library that loads but is not the rendering plug-in (the audio one under its name).
    PlayTree tree;
    const fs::path plugins = tree.Game() / ".." / "drivers" / "plug-ins";
    fs::copy_file(plugins / "SoundDrv.so", plugins / "GfxDrv.so", fs::copy_options::overwrite_existing);
    const HostRun run = RunHost(tree, 30);
    EXPECT_EQ(run.code, 1);
    ExpectLinesInOrder(tree,
                       {"Creating Rendering device", "ERROR: The GfxDrv extension exports no fnGetRenderingDevice",
                        "Failed to create GfxDrv rendering extension", "Specifying -safe mode restart in config file",
                        "ERROR: Failed to initiate Render device"});
    EXPECT_EQ(tree.LastLine(), "Exit granted");
  }
}

TEST(MissingParts, WithoutTheAudioPluginTheGameStartsAndPlaysSilently) {
  PlayTree tree;
  fs::remove(tree.Game() / ".." / "drivers" / "plug-ins" / "SoundDrv.so");
  const HostRun run = RunHost(tree, 30);
  EXPECT_EQ(run.code, 0);
  ASSERT_FALSE(run.out.empty());
  EXPECT_EQ(run.out[0], "brhost: left in order after 30 frames.");
  const std::string tried = "ERROR: Could not load " + Cwd() + "\\..\\drivers\\plug-ins\\SoundDrv.dll: ";
  ExpectLinesInOrder(
      tree, {"Creating Audio device", "Failed to load SoundDrv extension", tried + ReasonAfter(tree, tried),
             "Failed to create SoundDrv audio extension", "Specifying -safe mode restart in config file",
             "WARNING: Failed to initiate Audio device", "Engine: Loaded lib tidewrack", "Rendering device initiated",
             "Widget daemon online", "Connected to game: Tidewrack", "Exit granted"});
  EXPECT_EQ(tree.Find("Audio daemon initiated"), -1);

  // In-process the silent game is played: menus with their music, a new game, a walk and a fight, whose
  // sounds all find no device.
  fs::remove(tree.Game() / "log.txt");
  tree.SetConfig("ShowIntro", "0");
  PlayHost host;
  ASSERT_TRUE(host.Start(7));
  EXPECT_EQ(Engine().Audio(), nullptr);
  ASSERT_TRUE(host.RunUntilState("BrRAGGameStateMainMenu", 2.0f));
  host.HoldKey('Q', 1);
  ASSERT_TRUE(host.RunUntilState("BrRAGGameStatePlaying", 5.0f)) << host.State();
  host.Run(1.0f, 4);
  PlayScript script(host);
  EXPECT_TRUE(script.WalkByClicking());
  EXPECT_TRUE(script.FightAt("Rat")) << script.Why();
  EXPECT_EQ(host.State(), "BrRAGGameStatePlaying");
  host.Leave();
  EXPECT_EQ(tree.LastLine(), "Exit granted");
}

// [Audio] Channels=0 (or none that OpenAL could make): every sound is refused, and the log said only that the
// audio had started. The silence is said once, and the game is played on.
TEST(MissingParts, WithoutAudioChannelsTheSilenceIsSaidOnceAndPlayGoesOn) {
  PlayTree tree;
  tree.SetConfig("Channels", "0");
  PlayHost host;
  ASSERT_TRUE(StartPlaying(tree, host, 7, 1.0f));
  host.Run(1.0f, 4);
  EXPECT_EQ(tree.Count("WARNING: No audio channels were made, the game will be silent"), 1);
  EXPECT_EQ(host.State(), "BrRAGGameStatePlaying");
}

TEST(MissingParts, AStartLevelPastTheDungeonIsPlayedWithTheDefaultLookAndNamedInTheLog) {
  // A modder's start level that no level information covers: the new game is still played there, and the log
  // says why it looks bare. The dungeon's deepest level says nothing.
  for (const unsigned int level : {99999u, 80u}) {
    PlayTree tree;
    tree.SetConfig("ShowIntro", "0");
    tree.SetConfig("StartLevel", std::to_string(level));
    PlayHost host;
    ASSERT_TRUE(host.Start(5));
    ASSERT_TRUE(host.RunUntilState("BrRAGGameStateMainMenu", 2.0f));
    host.Run(0.5f);
    ASSERT_TRUE(NewGameFromMenu(host)) << level << " " << host.State();
    host.Run(2.0f, 4);
    EXPECT_EQ(host.State(), "BrRAGGameStatePlaying") << level;
    ASSERT_NE(host.Map(), nullptr);
    EXPECT_EQ(host.Map()->GetLevel(), level);
    EXPECT_NE(host.Player(), nullptr);
    host.Leave();
    EXPECT_EQ(tree.Count("found no level information for level " + std::to_string(level)), level == 80u ? 0 : 1)
        << level;
  }
}

TEST(MissingParts, ADamagedScriptFontLeavesTheTextItsSize) {
  // The menus' and dialogs' script font cut short: its texture cannot be loaded, so its text is drawn in the
  // default font. Menu after menu and frame after frame the text keeps its size (a size stepped up under one
  // font and down under another would shrink it each frame until it drew mirrored), and the log names the
  // font once.
  PlayTree tree;
  tree.CopyLinked("Media/Fonts");
  const fs::path font = tree.Media() / "Fonts" / "fontScript.tga";
  WriteFileBytes(font, FileBytes(font).substr(0, 100));
  tree.SetConfig("ShowIntro", "0");
  PlayHost host;
  ASSERT_TRUE(host.Start(7));
  ASSERT_TRUE(host.RunUntilState("BrRAGGameStateMainMenu", 2.0f));
  BrFontMgr* fonts = Engine().Render()->FontMgr();
  const float size = fonts->GetSize();
  host.Run(1.0f);
  EXPECT_FLOAT_EQ(fonts->GetSize(), size);
  ASSERT_TRUE(host.ClickControl("MMenuLoadGameBtn"));
  host.Run(1.0f);
  EXPECT_EQ(host.State(), "BrRAGGameStateLoadGameMenu");
  EXPECT_FLOAT_EQ(fonts->GetSize(), size);
  host.Game()->ChangeToState("BrRAGGameStateMainMenu");
  host.Frame();
  ASSERT_TRUE(NewGameFromMenu(host));
  host.Run(1.0f);
  EXPECT_FLOAT_EQ(fonts->GetSize(), size);
  host.Leave();
  // Named once, though the load menu's list asks for its font on every frame it draws.
  int named = 0;
  for (const std::string& line : tree.Log())
    named += line == "ERROR: Failed to load font texture Fonts\\fontScript.tga";
  EXPECT_EQ(named, 1);
  EXPECT_EQ(tree.LastLine(), "Exit granted");
}

TEST(MissingParts, AMenuPictureWithAnOversizedCodeTableIsRefusedAndNamed) {
  // The main menu's picture replaced by a JPEG with a fill byte before its start marker and a code table of 300
  // codes, more than a decoder's table holds: decoded, the table would be written past its end.
  PlayTree tree;
  tree.CopyLinked("Media/Textures");
  const fs::path picture = tree.Media() / "Textures" / "ui" / "brelmar01.jpg";
  std::string table = "\xFF\xC4\x01\x3F\x13" + std::string(14, '\0') + "\x2D\xFF";
  for (int i = 0; i < 300; ++i) table += char(i);
  WriteFileBytes(picture, "\xFF\xFF\xD8" + table + FileBytes(picture).substr(2));
  tree.SetConfig("ShowIntro", "0");
  PlayHost host;
  ASSERT_TRUE(host.Start(7));
  ASSERT_TRUE(host.RunUntilState("BrRAGGameStateMainMenu", 2.0f));
  host.Run(0.5f);
  host.Leave();
  EXPECT_EQ(tree.Count("WARNING: Failed to load Media\\Textures\\ui\\brelmar01.jpg texture"), 1);
  EXPECT_EQ(tree.LastLine(), "Exit granted");
}

TEST(MissingParts, WithoutTheGameLibraryTheMenusRunAndANewGameOrASaveReturnsToThem) {
  PlayTree tree;
  tree.SetConfig("ShowIntro", "0");
  {
    // A save made while the library was there.
    PlayHost host;
    ASSERT_TRUE(host.Start(7));
    ASSERT_TRUE(host.RunUntilState("BrRAGGameStateMainMenu", 2.0f));
    host.HoldKey('Q', 1);
    ASSERT_TRUE(host.RunUntilState("BrRAGGameStatePlaying", 5.0f)) << host.State();
    host.Run(0.5f, 4);
    ASSERT_TRUE(host.Game()->SaveGame("Saves\\whole.gin"));
    host.Leave();
  }
  tree.Remove("Media/Libs/tidewrack.so");
  const HostRun run = RunHost(tree, 30);
  EXPECT_EQ(run.code, 0);
  ASSERT_GE(run.out.size(), 2u);
  // Said on the terminal at start, not only in the log.
  EXPECT_EQ(run.out[0],
            "brhost: the game library tidewrack did not load (Media/Libs/tidewrack.so: no such library); there is "
            "no game to play");
  EXPECT_EQ(run.out[1], "brhost: left in order after 30 frames.");
  const std::string tried = "ERROR: Engine could not load lib tidewrack from Media\\Libs\\tidewrack.dll: ";
  ExpectLinesInOrder(
      tree, {"Audio daemon initiated", tried + ReasonAfter(tree, tried), "Loaded extensions.",
             "Rendering device initiated", "Widget daemon online", "Connected to game: Tidewrack", "Exit granted"});
  EXPECT_EQ(tree.Find("Engine: Loaded lib"), -1);

  // In-process: the menus work; a new game finds no map class, says so and goes back to the menu, which still
  // answers; the save cannot be loaded without its map class and leaves the menu as it was.
  fs::remove(tree.Game() / "log.txt");
  PlayHost host;
  ASSERT_TRUE(host.Start(7));
  ASSERT_TRUE(host.RunUntilState("BrRAGGameStateMainMenu", 2.0f));
  // Play tells the player which library is missing instead of offering a game that cannot start.
  ASSERT_TRUE(host.ClickControl("MMenuPlayGameBtn"));
  host.Frame();
  EXPECT_EQ(host.Control("dlg_newgame"), nullptr);
  BrUIControl* control = host.Control("dlg_message");
  BrUIDialog* told = control ? static_cast<BrUIDialog*>(control->SafeCast(&BrUIDialog::Type)) : nullptr;
  ASSERT_NE(told, nullptr) << "Play said nothing";
  EXPECT_STREQ(told->GetDialogText().c_str(),
               "The game library tidewrack\ncould not be loaded,\nso there is no game to play.");
  EXPECT_TRUE(Engine().GUI()->IsModal());
  ASSERT_TRUE(host.ClickControl("CancelModal"));
  host.Frame();
  EXPECT_FALSE(Engine().GUI()->IsModal());
  EXPECT_EQ(host.State(), "BrRAGGameStateMainMenu");
  // The quick-start key says the same, each time it is pressed, and starts nothing.
  for (int attempt = 0; attempt < 2; ++attempt) {
    host.HoldKey('Q', 1);
    host.Run(1.0f);
    EXPECT_EQ(host.Map(), nullptr);
    EXPECT_EQ(host.State(), "BrRAGGameStateMainMenu");
    control = host.Control("dlg_message");
    told = control ? static_cast<BrUIDialog*>(control->SafeCast(&BrUIDialog::Type)) : nullptr;
    ASSERT_NE(told, nullptr) << "Q said nothing";
    EXPECT_STREQ(told->GetDialogText().c_str(),
                 "The game library tidewrack\ncould not be loaded,\nso there is no game to play.");
    ASSERT_TRUE(host.ClickControl("CancelModal"));
    host.Frame();
    EXPECT_FALSE(Engine().GUI()->IsModal());
  }
  EXPECT_FALSE(host.Game()->LoadGame(Engine().getMediaDir() + "\\Saves\\whole.gin"));
  EXPECT_GE(tree.Find("ERROR: Could not load the save game Media\\Saves\\whole.gin"), 0);
  EXPECT_EQ(host.Map(), nullptr);
  host.Run(0.5f);
  EXPECT_EQ(host.State(), "BrRAGGameStateMainMenu");
  ASSERT_TRUE(host.ClickControl("MMenuExitGameBtn"));
  host.Frame();
  ASSERT_TRUE(host.ClickControl("MMenuExitGameConfirm"));
  host.Frame();
  EXPECT_TRUE(GExit);
  host.Leave();
  EXPECT_EQ(tree.LastLine(), "Exit granted");
}

TEST(MissingParts, AWindowShrunkBelowEveryModeFailsOneStartAndTheStartsAfterItAreSafe) {
  // The player made the window smaller than the smallest display mode, and the game recorded its size. That
  // start fails; its safe-mode request must reach the file, or every later start would fail the same way.
  PlayTree tree;
  tree.SetConfig("WindowWidth", "640");
  tree.SetConfig("WindowHeight", "480");
  const fs::path config = tree.Media() / "Config" / "main.cfg";
  HostRun run = RunHost(tree, 5);
  EXPECT_EQ(run.code, 1);
  ExpectLinesInOrder(tree, {"\t\tWARNING: Failed to select the suggested resolution of 640x480",
                            "Failed to initialise Rendering device, specifying -safe mode restart in config file",
                            "ERROR: Failed to initiate Render device"});
  std::string text = FileBytes(config);
  EXPECT_NE(text.find("\nSafe=1\n"), std::string::npos) << text;
  EXPECT_NE(text.find("\nWindowWidth=640\n"), std::string::npos) << "the rest of the file stays as it was";

  fs::remove(tree.Game() / "log.txt");
  run = RunHost(tree, 5);
  EXPECT_EQ(run.code, 0);
  ASSERT_FALSE(run.out.empty());
  EXPECT_EQ(run.out[0], "brhost: left in order after 5 frames.");
  text = FileBytes(config);
  EXPECT_NE(text.find("\nSafe=0\n"), std::string::npos) << text;
  EXPECT_NE(text.find("\nWindowWidth=800\nWindowHeight=600\n"), std::string::npos) << text;

  // And so do the starts after it.
  run = RunHost(tree, 5);
  EXPECT_EQ(run.code, 0);
  ASSERT_FALSE(run.out.empty());
  EXPECT_EQ(run.out[0], "brhost: left in order after 5 frames.");
}

// Notepad's "UTF-8" puts a byte-order mark before "[Engine]": the file is the user's all the same, read as it
// stands and kept, not set aside as corrupt for the default text.
TEST(MissingParts, AMainCfgSavedWithAByteOrderMarkIsReadAsItStands) {
  PlayTree tree;
  const fs::path config = tree.Media() / "Config" / "main.cfg";
  std::string text = FileBytes(config);
  const size_t speed = text.find("MouseSpeedX=75");
  ASSERT_NE(speed, std::string::npos);
  text.replace(speed, 14, "MouseSpeedX=33");
  WriteFileBytes(config, "\xEF\xBB\xBF" + text);
  HostRun run = RunHost(tree, 5);
  EXPECT_EQ(run.code, 0);
  ASSERT_FALSE(run.out.empty());
  EXPECT_EQ(run.out[0], "brhost: left in order after 5 frames.");
  EXPECT_FALSE(fs::exists(config.string() + ".bad"));
  EXPECT_NE(FileBytes(config).find("MouseSpeedX=33"), std::string::npos) << "the user's settings are kept";
  EXPECT_EQ(tree.Find("corrupt"), -1);
  EXPECT_NE(tree.Find("Engine: Loaded lib tidewrack"), -1);
}

TEST(MissingParts, ACorruptMainCfgIsKeptAsideAndTheGameStartsOnTheDefaultText) {
  PlayTree tree;
  const fs::path config = tree.Media() / "Config";
  const char* source = std::getenv("BR_SOURCE_DIR");
  std::string shipped = FileBytes(fs::path(source ? source : ".") / "media" / "Config" / "main.cfg");
  shipped.erase(std::remove(shipped.begin(), shipped.end(), '\r'), shipped.end());
  // The host writes its settings back at exit: the one key the default text leaves out, held empty, is added.
  shipped += "HUDType=\n";
  // A write cut short by a crash: the start of the text, then bytes of something else.
  const std::string broken("[Engine]\nSafe=0\n\x01\x02\xff\x00\x7f[Render]\nDev", 28);
  std::ofstream(config / "main.cfg", std::ios::binary) << broken;
  HostRun run = RunHost(tree, 30);
  EXPECT_EQ(run.code, 0);
  ASSERT_EQ(run.out.size(), 4u);
  EXPECT_EQ(run.out[0],
            "brhost: Media/Config/main.cfg was corrupt (it holds bytes that are not text); kept as "
            "Media/Config/main.cfg.bad, starting on the default configuration");
  EXPECT_EQ(run.out[1], "brhost: left in order after 30 frames.");
  EXPECT_EQ(FileBytes(config / "main.cfg.bad"), broken) << "the user's file is kept whole";
  EXPECT_EQ(FileBytes(config / "main.cfg"), shipped);
  ExpectLinesInOrder(
      tree,
      {"WARNING: Host found the configuration file Media\\Config\\main.cfg corrupt (it holds bytes "
       "that are not text); it is kept as Media\\Config\\main.cfg.bad and the default "
       "configuration is written",
       "Engine: Loaded lib tidewrack", "Rendering device initiated", "Connected to game: Tidewrack", "Exit granted"});
  EXPECT_EQ(tree.Find("ERROR"), -1);

  // An empty file (a write that never began) goes the same way, under a fresh name: the first one stays.
  std::ofstream(config / "main.cfg", std::ios::trunc);
  run = RunHost(tree, 5);
  EXPECT_EQ(run.code, 0);
  ASSERT_FALSE(run.out.empty());
  EXPECT_EQ(run.out[0],
            "brhost: Media/Config/main.cfg was corrupt (it is empty); kept as Media/Config/main.cfg_2.bad, starting "
            "on the default configuration");
  EXPECT_EQ(FileBytes(config / "main.cfg.bad"), broken);
  EXPECT_TRUE(fs::exists(config / "main.cfg_2.bad"));
  EXPECT_EQ(fs::file_size(config / "main.cfg_2.bad"), 0u);
  EXPECT_EQ(FileBytes(config / "main.cfg"), shipped);

  // A sound file is left alone.
  run = RunHost(tree, 5);
  EXPECT_EQ(run.code, 0);
  ASSERT_FALSE(run.out.empty());
  EXPECT_EQ(run.out[0], "brhost: left in order after 5 frames.");
  EXPECT_FALSE(fs::exists(config / "main.cfg_3.bad"));
}

TEST(MissingParts, ARunTreeCopiedElsewhereStartsFromThere) {
  const char* binary = std::getenv("BR_BINARY_DIR");
  const fs::path run = fs::absolute(fs::path(binary ? binary : ".") / "run");
  const brtest::TempFolder root("brcopied");
  const fs::path copy = root / "elsewhere";
  ASSERT_EQ(std::system(("cp -a '" + run.string() + "' '" + copy.string() + "'").c_str()), 0);

  // Each library of the project that the host, the plug-ins and the game library need is found in the copy.
  for (const char* part :
       {"game/brhost", "drivers/plug-ins/GfxDrv.so", "drivers/plug-ins/SoundDrv.so", "game/Media/Libs/tidewrack.so"}) {
    SCOPED_TRACE(part);
    const fs::path listed = root / "ldd.out";
    ASSERT_EQ(std::system(
                  ("env -u LD_LIBRARY_PATH ldd '" + (copy / part).string() + "' > '" + listed.string() + "'").c_str()),
              0);
    int ours = 0;
    std::ifstream in(listed);
    for (std::string line; std::getline(in, line);) {
      EXPECT_EQ(line.find("not found"), std::string::npos) << line;
      if (line.find("libbr") == std::string::npos && line.find("libd3d") == std::string::npos) continue;
      ++ours;
      const size_t arrow = line.find("=> ");
      ASSERT_NE(arrow, std::string::npos) << line;
      const std::string found = line.substr(arrow + 3, line.find(" (", arrow) - arrow - 3);
      EXPECT_EQ(fs::weakly_canonical(found).parent_path(), fs::weakly_canonical(copy / "lib")) << line;
    }
    EXPECT_GT(ours, 0);
  }

  // And it plays from there.
  const fs::path game = copy / "game";
  fs::remove(game / "log.txt");
  const std::string cmd = "cd '" + game.string() +
                          "' && env -u LD_LIBRARY_PATH timeout 120 ./brhost --headless --frames 30 > host.out 2>&1";
  EXPECT_EQ(std::system(cmd.c_str()), 0) << FileBytes(game / "host.out");
  const std::string log = FileBytes(game / "log.txt");
  for (const char* line : {"Engine: Loaded lib tidewrack", "Rendering device initiated", "Audio daemon initiated",
                           "Connected to game: Tidewrack"})
    EXPECT_NE(log.find(line), std::string::npos) << line;
}
