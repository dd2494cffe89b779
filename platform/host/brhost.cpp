// The host program: builds the configuration, starts the engine and the application, runs the message and frame loop.
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>

#include "adventure/world/BrRAGCfgFile.h"
#include "adventure/world/BrRAGConfigCache.h"
#include "core/BrCfgFile.h"
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
};

void usage() {
  std::printf(
      "usage: brhost [--media DIR] [--frames N] [--headless]\n"
      "  --media DIR   media folder, relative to the working folder (default Media)\n"
      "  --frames N    leave in order after N frames\n"
      "  --headless    no window on screen (SDL's offscreen video)\n");
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
  BrRAGConfigCache config;
  if (!config.ReadConfigFromFile(&file)) GLog.printf("ERROR: Host could not read %s", configPath.c_str());
  Engine().SetConfig(&config);

  bool started = Engine().Init(0, 0, 0);
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

    if (opt.frames >= 0 && frames >= opt.frames && !GExit) {
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
  file.Close();
  brW32ShutdownVideo();

  std::printf("brhost: %s after %ld frame%s.\n", started ? "left in order" : "could not start; left in order", frames,
              frames == 1 ? "" : "s");
  if (logged)
    std::printf("brhost: log written to %s/log.txt\n", cwd);
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
  return started ? 0 : 1;
}
