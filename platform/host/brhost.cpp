// The host program: builds the configuration, starts the engine and the application, runs the message and frame loop.
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <fstream>
#include <string>
#include <vector>

#include "adventure/world/BrRAGCfgFile.h"
#include "adventure/world/BrRAGConfigCache.h"
#include "core/BrCfgFile.h"
#include "core/BrFileDevice.h"
#include "core/brcr.h"
#include "engine/kernel/kernel.h"
#include "engine/presentation/BrGUI.h"
#include "engine/presentation/BrRenderBase.h"
#include "platform/win32/win32.h"

namespace {

struct Options {
  std::string media = "Media";
  long frames = -1;  // -1: until the window closes or the game ends
  bool headless = false;
  // With a state: leave once the application has been in it this long (its own time), or fail after the limit.
  std::string untilState;
  float stateSeconds = 1.0f;
  float untilLimit = 600.0f;
};

void usage() {
  std::printf(
      "usage: brhost [--media DIR] [--frames N] [--until-state NAME [--state-seconds S]] [--headless]\n"
      "  --media DIR          media folder, relative to the working folder (default Media)\n"
      "  --frames N           leave in order after N frames\n"
      "  --until-state NAME   leave in order once the game has been in the state NAME for S seconds\n"
      "                       (default 1; for example BrRAGGameStateMainMenu); exit code 3 when the\n"
      "                       state is not reached within 600 seconds\n"
      "  --headless           no window on screen (SDL's offscreen video)\n");
}

// False (with a message) for an unknown option or a missing or bad value.
bool parse(int argc, char** argv, Options& o) {
  for (int i = 1; i < argc; ++i) {
    std::string a = argv[i];
    if (a == "--headless") {
      o.headless = true;
    } else if (a == "--media" && i + 1 < argc) {
      o.media = argv[++i];
    } else if (a == "--frames" && i + 1 < argc) {
      char* end = nullptr;
      long n = std::strtol(argv[++i], &end, 10);
      if (!end || *end || n < 0) {
        std::fprintf(stderr, "brhost: --frames needs a number of frames, not '%s'\n", argv[i]);
        return false;
      }
      o.frames = n;
    } else if (a == "--until-state" && i + 1 < argc && argv[i + 1][0] && argv[i + 1][0] != '-') {
      o.untilState = argv[++i];
    } else if (a == "--state-seconds" && i + 1 < argc) {
      char* end = nullptr;
      float seconds = std::strtof(argv[++i], &end);
      if (!end || *end || !(seconds >= 0.0f && seconds <= 3600.0f)) {
        std::fprintf(stderr, "brhost: --state-seconds needs a number of seconds, not '%s'\n", argv[i]);
        return false;
      }
      o.stateSeconds = seconds;
    } else if (a == "--help" || a == "-h") {
      usage();
      std::exit(0);
    } else {
      std::fprintf(stderr, "brhost: unknown option '%s'\n", a.c_str());
      usage();
      return false;
    }
  }
  return true;
}

// The media folder as the engine takes it: relative to the working folder, without a leading "./" or a
// trailing separator. The game's own names begin with "Media\\" (its default font) and are found only under
// that spelling of the folder; a trailing separator would also fail the host's own check of the folder. False
// (with a message) for a folder that cannot be given so: an absolute path or none at all.
bool normaliseMedia(std::string& media) {
  const std::string given = media;
  auto separator = [](char c) { return c == '/' || c == '\\'; };
  if (!media.empty() && (separator(media[0]) || (media.size() > 1 && media[1] == ':'))) {
    std::fprintf(stderr, "brhost: --media needs a folder relative to the working folder, not '%s'\n", given.c_str());
    return false;
  }
  while (media.size() > 1 && media[0] == '.' && separator(media[1])) {
    media.erase(0, 2);
    while (!media.empty() && separator(media[0])) media.erase(0, 1);
  }
  while (!media.empty() && separator(media.back())) media.pop_back();
  if (media.empty() || media == ".") {
    std::fprintf(stderr, "brhost: --media needs a folder below the working folder, not '%s'\n", given.c_str());
    return false;
  }
  return true;
}

// The application class: [RAG] AppType of the configuration file, else the framework's game.
BrStringT<char> applicationClass(BrCfgFile& file) {
  BrStringT<char> name;
  if (file.GetValue(name, "RAG", "AppType") && name.Length() > 0) return name;
  return BrStringT<char>("BrRAGGame");
}

// True when path names a folder (through the path layer, so any case and either slash).
bool isFolder(const char* path) {
  WIN32_FIND_DATAA data;
  HANDLE search = FindFirstFileA(path, &data);
  if (search == INVALID_HANDLE_VALUE) return false;
  FindClose(search);
  return (data.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) != 0;
}

// Slashes for the terminal: the engine's own paths use backslashes, which the path layer maps.
std::string shown(std::string path) {
  for (char& c : path)
    if (c == '\\') c = '/';
  return path;
}

// A main.cfg that is not configuration text (a failed write, a binary file put in its place) would start the
// engine without devices, and the game could not start until the user found and deleted the file. It is
// moved aside under a fresh name, never over another file, so nothing is lost; then the default text is written
// as for a missing file. False when it is kept where it is: it reads, or it could not be moved.
bool setAsideCorruptConfig(BrRAGCfgFile& file, const std::string& path) {
  const char* problem = nullptr;
  if (!file.IsValid()) return false;
  if (file.CheckText(&problem)) {
    // An empty file (or one of blanks only) is what a write cut short leaves; the engine finds no devices in it.
    int64_t saved = 0;
    bool blank = file.GetPos(saved) && file.SetPos(0);
    char line[BrCfgFile::ciLineLen];
    while (blank && file.ReadLine(line, sizeof(line)))
      for (const char* c = line; *c && blank; ++c) blank = (*c == ' ' || *c == '\t' || *c == '\r' || *c == '\n');
    file.SetPos(saved);
    if (!blank) return false;
    problem = "it is empty";
  }
  file.Close();
  BrStringT<char> aside;
  bool moved = false;
  for (int attempt = 0; attempt < 5 && !moved; ++attempt) {
    aside = BrFileDevice::FreeFileName(path.c_str(), ".bad");
    moved = aside.Length() > 0 && MoveFileExA(path.c_str(), aside.c_str(), 0);
  }
  if (!moved) {
    std::fprintf(stderr, "brhost: %s is corrupt (%s) and could not be moved aside; the game starts on what it holds\n",
                 shown(path).c_str(), problem);
    GLog.printf("ERROR: Host could not move the corrupt configuration file %s aside", path.c_str());
    file.Open(path.c_str(), 0x1000001);
    return false;
  }
  std::fprintf(stderr, "brhost: %s was corrupt (%s); kept as %s, starting on the default configuration\n",
               shown(path).c_str(), problem, shown(aside.c_str()).c_str());
  GLog.printf(
      "WARNING: Host found the configuration file %s corrupt (%s); it is kept as %s and the default "
      "configuration is written",
      path.c_str(), problem, aside.c_str());
  return file.Open(path.c_str(), 0x1000001);
}

// Why the start failed, from the log: the first ERROR of the step that failed (the lines since the blank line
// before the last ERROR), without its "ERROR: ". A step the engine went on without (no sound, no game library)
// logs its errors in an earlier step, so they are not taken for the cause. Empty when the log holds none.
std::string startFailure(const std::string& logPath) {
  std::ifstream in(logPath);
  std::vector<std::string> lines;
  for (std::string line; std::getline(in, line);) {
    if (!line.empty() && line.back() == '\r') line.pop_back();
    lines.push_back(line);
  }
  auto isError = [](const std::string& line) { return line.rfind("ERROR: ", 0) == 0; };
  size_t last = lines.size();
  while (last > 0 && !isError(lines[last - 1])) --last;
  if (last == 0) return std::string();
  size_t first = last - 1;
  while (first > 0 && !lines[first - 1].empty()) --first;
  while (!isError(lines[first])) ++first;
  return lines[first].substr(7);
}

void drawFrame() {
  BrRenderBase* render = Engine().Render();
  if (!render) return;
  render->PreRender(ePreRenderClearAll);
  if (Engine().App()) Engine().App()->Draw(render);
  if (Engine().GUI()) Engine().GUI()->Draw(render);
  render->EndRender();
}

}  // namespace

int main(int argc, char** argv) {
  Options opt;
  if (!parse(argc, argv, opt) || !normaliseMedia(opt.media)) return 2;
  if (opt.headless) setenv("SDL_VIDEODRIVER", "offscreen", 1);

  // Without a log (a read-only folder, a folder named log.txt) the run goes on, but nobody is told to read one.
  const bool logged = GLog.Init();
  char cwd[MAX_PATH + 1] = {0};
  brGetCurrentDirectory(MAX_PATH, cwd);
  if (!logged) std::fprintf(stderr, "brhost: could not open the log %s/log.txt; running without one\n", cwd);

  // Without its media folder the engine would start on defaults and fail somewhere less telling.
  if (!isFolder(opt.media.c_str())) {
    std::fprintf(stderr, "brhost: no media folder %s in %s\n", opt.media.c_str(), cwd);
    GLog.printf("ERROR: Host found no media folder %s in %s", opt.media.c_str(), cwd);
    GLog.Close();
    return 1;
  }

  // The media folder, then its configuration; the framework's file writes the game's defaults when it is missing.
  Engine().setMediaDir(BrStringT<char>(opt.media.c_str()));
  std::string configDir = opt.media + "\\Config";
  brCreateDirectory(configDir.c_str());
  std::string configPath = configDir + "\\main.cfg";
  BrRAGCfgFile file(configPath.c_str());
  setAsideCorruptConfig(file, configPath);
  BrRAGConfigCache config;
  const bool configRead = config.ReadConfigFromFile(&file);
  if (!configRead) GLog.printf("ERROR: Host could not read %s", configPath.c_str());
  Engine().SetConfig(&config);

  bool started = Engine().Init(0, 0, 0);
  // The menus run without the game library, but nothing can be played: say so now, not only in the log.
  const TDArray<BrStringT<char>>& missingLibs = Engine().GetMissingLibs();
  for (int i = 0; i < missingLibs.GetCount(); ++i) {
    const std::string entry = missingLibs[i].c_str() ? missingLibs[i].c_str() : "";
    const size_t colon = entry.find(": ");
    std::fprintf(stderr, "brhost: the game library %s did not load (%s); there is no game to play\n",
                 entry.substr(0, colon).c_str(), colon == std::string::npos ? "" : entry.substr(colon + 2).c_str());
  }
  if (started) {
    BrStringT<char> appClass = applicationClass(file);
    BrObject* made = static_cast<BrObject*>(Engine().Spawn(appClass.c_str()));
    BrApplication* app = made ? static_cast<BrApplication*>(made->SafeCast(&BrApplication::Type)) : nullptr;
    if (!app) {
      GLog.printf("ERROR: Host could not create the application %s", appClass.c_str());
      delete made;
      Engine().Exit();
      started = false;
    } else {
      Engine().SetApp(app);
      BrStringT<char> map;
      bool haveMap = config.GetString("App", "Launch", map);
      Engine().Launch(haveMap ? const_cast<char*>(map.c_str()) : nullptr, 0, 0, 0, !haveMap);
    }
  }

  std::string screenshot;
  long frames = 0;
  bool stateReached = opt.untilState.empty(), timedOut = false;
  const BrStringT<char> untilState(opt.untilState.c_str());
  const float loopStarted = brGetSystemTime();
  // "--frames 0" starts and leaves without a single frame.
  if (opt.frames == 0 && !GExit) Engine().Exit();
  float last = brGetSystemTime();
  while (!GExit) {
    MSG msg;
    while (!GExit && PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) {
      if (msg.message == WM_QUIT) break;
      TranslateMessage(&msg);
      DispatchMessageA(&msg);
    }
    if (GExit) break;

    float now = brGetSystemTime();
    float dt = now - last;
    last = now;
    Engine().FrameStarted() = now;
    Engine().Profiler().Profile("Frame");
    Engine().ProcessGlobalUserInput();
    if (!GExit) Engine().Step(dt);
    if (!GExit) drawFrame();
    Engine().Profiler().EndProfile("Frame");
    ++frames;

    // Leaving by the game's own state and time rather than by a frame count: a fast machine would otherwise
    // leave in the black of the intro, a slow one long before the menu.
    bool leave = opt.frames >= 0 && frames >= opt.frames;
    if (!opt.untilState.empty() && !GExit) {
      BrApplication* app = Engine().App();
      if (app && app->IsInState(untilState) && app->TimeInCurrState() >= opt.stateSeconds) {
        stateReached = true;
        leave = true;
      } else if (brGetSystemTime() - loopStarted > opt.untilLimit) {
        timedOut = true;
        leave = true;
      }
    }
    if (leave && !GExit) {
      if (Engine().Render()) {
        std::string folder = opt.media + "\\Screenshots";
        brCreateDirectory(folder.c_str());
        screenshot = std::string(cwd) + "\\" + folder + "\\brhost_last_frame.bmp";
        Engine().Render()->takeScreenshot(BrStringT<char>(screenshot.c_str()));
      }
      Engine().Exit();
    }
  }
  // A window closed by other means than WM_DESTROY (for example WM_QUIT alone) still leaves in order.
  Engine().Exit();
  // The window size and full-screen state the engine recorded, and the player's settings, are kept for the next
  // run; after a failed start too, whose safe-mode request is what lets the next start choose a mode that works.
  // Only when the file was read: a cache of defaults would overwrite the player's file. Only while the media
  // folder is still the one the file came from: a mod's settings, read from the mod's own file, are not the
  // game's. The write merges and replaces the file atomically; a failure is logged there.
  const BrStringT<char> mediaNow = Engine().getMediaDir();
  if (configRead && mediaNow.c_str() && opt.media == mediaNow.c_str()) {
    if (!config.WriteConfigToFile(&file))
      std::fprintf(stderr, "brhost: the settings could not be written back to %s (see the log)\n", configPath.c_str());
  }
  file.Close();
  brW32ShutdownVideo();

  std::printf("brhost: %s after %ld frame%s.\n", started ? "left in order" : "could not start; left in order", frames,
              frames == 1 ? "" : "s");
  const std::string logPath = std::string(cwd) + "/log.txt";
  if (logged)
    std::printf("brhost: log written to %s\n", logPath.c_str());
  else
    std::printf("brhost: no log written\n");
  if (!screenshot.empty()) {
    std::string mapped = screenshot;
    for (char& c : mapped)
      if (c == '\\') c = '/';
    std::FILE* f = std::fopen(mapped.c_str(), "rb");
    if (f) {
      std::fclose(f);
      std::printf("brhost: screenshot of the last frame written to %s\n", mapped.c_str());
    }
  }
  if (!started) {
    // The last line a user reads says why, not only that the start failed.
    const std::string why = logged ? startFailure(logPath) : std::string();
    if (!why.empty())
      std::printf("brhost: could not start: %s\n", why.c_str());
    else
      std::printf("brhost: could not start, and %s\n", logged ? "the log names no error" : "no log says why");
    return 1;
  }
  if (!stateReached) {
    if (timedOut)
      std::printf("brhost: the game did not reach %s within %.0f seconds\n", opt.untilState.c_str(), opt.untilLimit);
    else
      std::printf("brhost: the game left before it reached %s\n", opt.untilState.c_str());
    return 3;
  }
  return 0;
}
