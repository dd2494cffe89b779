// The in-process host of the play tests: the run tree's copy, the host's start and frame loop, input through
// the window layer, screenshots and their comparison.
#include "tests/play/PlayRig.h"

#include <dlfcn.h>
#include <signal.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <cctype>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <iterator>
#include <thread>

#include "adventure/flow/BrRAGHUD.h"
#include "adventure/flow/BrRAGInvItemCtrl.h"
#include "core/brcr.h"
#include "engine/kernel/BrEngineTestSeams.h"
#include "engine/kernel/kernel.h"
#include "engine/presentation/BrCursor.h"
#include "engine/presentation/BrGUI.h"
#include "engine/presentation/BrHUD.h"
#include "engine/presentation/BrRenderBase.h"
#include "engine/presentation/BrUIControl.h"
#include "engine/presentation/BrUIControlListBox.h"
#include "platform/win32/win32.h"
#include "tests/support/CapturedLog.h"

namespace brplay {

// ---- Pictures ----

namespace {
uint32_t le32(const std::vector<uint8_t>& b, size_t at) {
  return uint32_t(b[at]) | uint32_t(b[at + 1]) << 8 | uint32_t(b[at + 2]) << 16 | uint32_t(b[at + 3]) << 24;
}
}  // namespace

bool ReadBmp(const fs::path& file, Shot& out) {
  std::ifstream in(file, std::ios::binary);
  std::vector<uint8_t> b((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
  if (b.size() < 54 || b[0] != 'B' || b[1] != 'M') return false;
  const uint32_t offset = le32(b, 10);
  const int32_t width = int32_t(le32(b, 18));
  int32_t height = int32_t(le32(b, 22));
  const int bpp = b[28] | b[29] << 8;
  const bool topDown = height < 0;
  if (topDown) height = -height;
  if (width <= 0 || height <= 0 || width > 8192 || height > 8192 || (bpp != 24 && bpp != 32)) return false;
  const size_t stride = (size_t(width) * size_t(bpp / 8) + 3) & ~size_t(3);
  if (offset + stride * size_t(height) > b.size()) return false;
  out.width = width;
  out.height = height;
  out.pixels.assign(size_t(width) * size_t(height), 0);
  for (int y = 0; y < height; ++y) {
    const size_t row = offset + stride * size_t(topDown ? y : height - 1 - y);
    for (int x = 0; x < width; ++x) {
      const uint8_t* p = &b[row + size_t(x) * size_t(bpp / 8)];
      out.pixels[size_t(y) * size_t(width) + size_t(x)] = uint32_t(p[2]) << 16 | uint32_t(p[1]) << 8 | p[0];
    }
  }
  return true;
}

Shot Shrink(const Shot& shot, int w, int h) {
  Shot small;
  small.width = w;
  small.height = h;
  small.pixels.assign(size_t(w) * size_t(h), 0);
  for (int cy = 0; cy < h; ++cy)
    for (int cx = 0; cx < w; ++cx) {
      const int x0 = cx * shot.width / w, x1 = (cx + 1) * shot.width / w;
      const int y0 = cy * shot.height / h, y1 = (cy + 1) * shot.height / h;
      double sum[3] = {0, 0, 0};
      int n = 0;
      for (int y = y0; y < y1; ++y)
        for (int x = x0; x < x1; ++x, ++n) {
          const uint32_t p = shot.At(x, y);
          sum[0] += (p >> 16) & 0xFF;
          sum[1] += (p >> 8) & 0xFF;
          sum[2] += p & 0xFF;
        }
      if (n == 0) continue;
      small.pixels[size_t(cy) * size_t(w) + size_t(cx)] = uint32_t(std::lround(sum[0] / n)) << 16 |
                                                          uint32_t(std::lround(sum[1] / n)) << 8 |
                                                          uint32_t(std::lround(sum[2] / n));
    }
  return small;
}

bool WritePpm(const fs::path& file, const Shot& shot) {
  std::ofstream out(file);
  out << "P3\n" << shot.width << " " << shot.height << "\n255\n";
  for (int y = 0; y < shot.height; ++y) {
    for (int x = 0; x < shot.width; ++x) {
      const uint32_t p = shot.At(x, y);
      out << ((p >> 16) & 0xFF) << " " << ((p >> 8) & 0xFF) << " " << (p & 0xFF) << (x + 1 < shot.width ? " " : "");
    }
    out << "\n";
  }
  return bool(out);
}

bool ReadPpm(const fs::path& file, Shot& out) {
  std::ifstream in(file);
  std::string magic;
  int maxValue = 0;
  if (!(in >> magic >> out.width >> out.height >> maxValue) || magic != "P3" || maxValue != 255) return false;
  if (out.width <= 0 || out.height <= 0 || out.width > 1024 || out.height > 1024) return false;
  out.pixels.assign(size_t(out.width) * size_t(out.height), 0);
  for (uint32_t& p : out.pixels) {
    int r, g, b;
    if (!(in >> r >> g >> b)) return false;
    p = uint32_t(r & 0xFF) << 16 | uint32_t(g & 0xFF) << 8 | uint32_t(b & 0xFF);
  }
  return true;
}

double MeanDifference(const Shot& a, const Shot& b) {
  if (a.width != b.width || a.height != b.height || a.pixels.empty()) return 255.0;
  double sum = 0;
  for (size_t i = 0; i < a.pixels.size(); ++i)
    for (int s = 0; s < 24; s += 8) sum += std::abs(int((a.pixels[i] >> s) & 0xFF) - int((b.pixels[i] >> s) & 0xFF));
  return sum / double(a.pixels.size() * 3);
}

int DifferingPixels(const Shot& a, const Shot& b, int tolerance) {
  if (a.width != b.width || a.height != b.height) return -1;
  int n = 0;
  for (size_t i = 0; i < a.pixels.size(); ++i)
    for (int s = 0; s < 24; s += 8)
      if (std::abs(int((a.pixels[i] >> s) & 0xFF) - int((b.pixels[i] >> s) & 0xFF)) > tolerance) {
        ++n;
        break;
      }
  return n;
}

Shot Crop(const Shot& shot, int x, int y, int w, int h) {
  Shot out;
  const int x0 = std::max(0, x), y0 = std::max(0, y);
  const int x1 = std::min(shot.width, x + w), y1 = std::min(shot.height, y + h);
  out.width = std::max(0, x1 - x0);
  out.height = std::max(0, y1 - y0);
  for (int row = y0; row < y1; ++row)
    for (int col = x0; col < x1; ++col) out.pixels.push_back(shot.At(col, row));
  return out;
}

// ---- The run tree ----

namespace {
void KeepEnv(const char* name, std::pair<bool, std::string>& old) {
  const char* value = std::getenv(name);
  old = {value != nullptr, value ? value : ""};
}
void RestoreEnv(const char* name, const std::pair<bool, std::string>& old) {
  if (old.first)
    setenv(name, old.second.c_str(), 1);
  else
    unsetenv(name);
}
}  // namespace

VirtualDisplay::VirtualDisplay() {
  if (std::system("command -v Xvfb > /dev/null 2>&1") != 0) return;
  // A display number well above those people pick by hand, free of a lock file, tried in turn.
  for (int n = 300 + ::getpid() % 400, tries = 0; tries < 5 && m_Number.empty(); ++n, ++tries) {
    if (fs::exists("/tmp/.X" + std::to_string(n) + "-lock")) continue;
    const std::string cmd =
        "Xvfb :" + std::to_string(n) + " -screen 0 1280x1024x24 -nolisten tcp > /dev/null 2>&1 & echo $!";
    if (FILE* shell = popen(cmd.c_str(), "r")) {
      if (std::fscanf(shell, "%d", &m_Pid) != 1) m_Pid = -1;
      pclose(shell);
    }
    // Up once its socket is there; gone when the number was taken after all.
    const fs::path socket = "/tmp/.X11-unix/X" + std::to_string(n);
    for (int i = 0; i < 100 && m_Pid > 0 && kill(m_Pid, 0) == 0; ++i) {
      if (fs::exists(socket)) {
        m_Number = std::to_string(n);
        break;
      }
      std::this_thread::sleep_for(std::chrono::milliseconds(100));
    }
    if (m_Number.empty() && m_Pid > 0) kill(m_Pid, SIGTERM);
  }
  if (m_Number.empty()) return;
  KeepEnv("DISPLAY", m_OldDisplay);
  KeepEnv("SDL_VIDEODRIVER", m_OldDriver);
  setenv("DISPLAY", (":" + m_Number).c_str(), 1);
  setenv("SDL_VIDEODRIVER", "x11", 1);
}

VirtualDisplay::~VirtualDisplay() {
  if (m_Number.empty()) return;
  RestoreEnv("DISPLAY", m_OldDisplay);
  RestoreEnv("SDL_VIDEODRIVER", m_OldDriver);
  kill(m_Pid, SIGTERM);
}

PlayTree::PlayTree() : m_Folder("brplay"), m_Root(m_Folder.Path()) {
  const char* binary = std::getenv("BR_BINARY_DIR");
  // Absolute, so that the links made below point at the run tree from wherever the copy lies.
  const fs::path run = fs::absolute(fs::path(binary ? binary : ".") / "run");
  fs::create_directories(m_Root / "game" / "Media" / "Saves");
  fs::create_directories(m_Root / "drivers" / "plug-ins");
  // The plug-ins and the game library find the shared libraries relative to themselves, in the tree's lib.
  fs::create_directory_symlink(run / "lib", m_Root / "lib");
  // Plug-ins and the game library are copied (a test may take one away); large media folders are linked.
  for (const auto& entry : fs::directory_iterator(run / "drivers" / "plug-ins"))
    fs::copy_file(entry.path(), m_Root / "drivers" / "plug-ins" / entry.path().filename());
  for (const auto& entry : fs::directory_iterator(run / "game" / "Media")) {
    const std::string name = entry.path().filename().string();
    if (name == "Saves" || name == "Screenshots") continue;
    if (name == "Config" || name == "Libs")
      fs::copy(entry.path(), Media() / name, fs::copy_options::recursive);
    else
      fs::create_directory_symlink(entry.path(), Media() / name);
  }
  m_Folder.Enter("game");
  if (std::getenv("BR_PLAY_KEEP")) m_Folder.Keep();
}

PlayTree::~PlayTree() = default;

std::vector<std::string> PlayTree::Log() const { return brtest::LogLines(Game() / "log.txt"); }

std::string PlayTree::LastLine() const {
  const std::vector<std::string> lines = Log();
  for (auto it = lines.rbegin(); it != lines.rend(); ++it)
    if (!it->empty()) return *it;
  return "";
}

int PlayTree::Find(const std::string& text, int from) const {
  const std::vector<std::string> lines = Log();
  for (size_t i = size_t(from < 0 ? 0 : from); i < lines.size(); ++i)
    if (lines[i].find(text) != std::string::npos) return int(i);
  return -1;
}

int PlayTree::Count(const std::string& text) const {
  int n = 0;
  for (const std::string& line : Log()) n += line.find(text) != std::string::npos;
  return n;
}

void PlayTree::SetConfig(const std::string& key, const std::string& value) {
  const fs::path file = Media() / "Config" / "main.cfg";
  std::vector<std::string> lines;
  {
    std::ifstream in(file);
    for (std::string line; std::getline(in, line);) lines.push_back(line);
  }
  std::ofstream out(file, std::ios::trunc);
  for (const std::string& line : lines) out << (line.rfind(key + "=", 0) == 0 ? key + "=" + value : line) << "\n";
}

void PlayTree::Remove(const fs::path& relativeToGame) {
  std::error_code ec;
  fs::remove_all(Game() / relativeToGame, ec);
}

void PlayTree::CopyLinked(const fs::path& relativeToGame) {
  const fs::path link = Game() / relativeToGame;
  if (!fs::is_symlink(link)) return;
  const fs::path target = fs::read_symlink(link);
  fs::remove(link);
  fs::copy(target, link, fs::copy_options::recursive);
}

// ---- The host ----

void PumpMessages() {
  MSG msg;
  while (!GExit && PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) {
    if (msg.message == WM_QUIT) break;
    TranslateMessage(&msg);
    DispatchMessageA(&msg);
  }
}

PlayHost::~PlayHost() {
  if (m_bStarted) Leave();
}

bool PlayHost::Start(unsigned int seed) {
  GLog.Init();
  Engine().setMediaDir(BrStringT<char>("Media"));
  brCreateDirectory("Media\\Config");
  m_File.Open("Media\\Config\\main.cfg", 0x1000001);
  if (!m_Config.ReadConfigFromFile(&m_File)) GLog.printf("ERROR: Host could not read Media\\Config\\main.cfg");
  Engine().SetConfig(&m_Config);
  m_bStarted = true;
  if (!Engine().Init(0, 0, 0)) return false;
  // The dungeon's seed lives in the game library the engine just loaded.
  if (void* lib = dlopen("Media/Libs/tidewrack.so", RTLD_NOW | RTLD_NOLOAD)) {
    using SeedFn = void (*)(unsigned int);
    if (auto setSeed = reinterpret_cast<SeedFn>(dlsym(lib, "_ZN10BrRogueMap15SetSeedForTestsEj"))) setSeed(seed);
    dlclose(lib);
  }
  BrStringT<char> appClass;
  if (!m_File.GetValue(appClass, "RAG", "AppType") || appClass.Length() == 0) appClass = "BrRAGGame";
  BrObject* made = static_cast<BrObject*>(Engine().Spawn(appClass.c_str()));
  BrApplication* app = made ? static_cast<BrApplication*>(made->SafeCast(&BrApplication::Type)) : nullptr;
  if (!app) {
    GLog.printf("ERROR: Host could not create the application %s", appClass.c_str());
    delete made;
    return false;
  }
  Engine().SetApp(app);
  BrStringT<char> map;
  const bool haveMap = m_Config.GetString("App", "Launch", map);
  Engine().Launch(haveMap ? const_cast<char*>(map.c_str()) : nullptr, 0, 0, 0, !haveMap);
  // The window is given the focus as a desktop gives it to a new window: the controllers keep the pointer
  // centred only while the window has it.
  brW32InjectMessage(nullptr, WM_ACTIVATEAPP, 1, 0);
  PumpMessages();
  return !GExit;
}

void PlayHost::Frame(float dt, bool draw) {
  if (GExit) return;
  PumpMessages();
  if (GExit) return;
  Engine().FrameStarted() = brGetSystemTime();
  Engine().ProcessGlobalUserInput();
  if (!GExit) Engine().Step(dt);
  if (!GExit && draw) {
    if (BrRenderBase* render = Engine().Render()) {
      render->PreRender(ePreRenderClearAll);
      if (Engine().App()) Engine().App()->Draw(render);
      if (Engine().GUI()) Engine().GUI()->Draw(render);
      render->EndRender();
    }
  }
  ++m_iFrame;
}

bool PlayHost::RunUntilState(const char* state, float seconds, int drawEvery) {
  const float dt = 1.0f / 30.0f;
  for (float t = 0.0f; t < seconds && !GExit; t += dt) {
    if (Game() && Game()->IsInState(state)) return true;
    Frame(dt, drawEvery <= 1 || m_iFrame % drawEvery == 0);
  }
  return Game() && Game()->IsInState(state);
}

void PlayHost::Run(float seconds, int drawEvery) {
  const float dt = 1.0f / 30.0f;
  for (float t = 0.0f; t < seconds && !GExit; t += dt) Frame(dt, drawEvery <= 1 || m_iFrame % drawEvery == 0);
}

void PlayHost::Leave() {
  if (!m_bStarted) return;
  m_bStarted = false;
  Engine().Exit();
  m_File.Close();
  brW32ShutdownVideo();
  brW32ResetInput();
  BrEngineTestSeams::ResetAfterExit();
}

BrRAGGame* PlayHost::Game() const {
  BrApplication* app = Engine().App();
  return app ? static_cast<BrRAGGame*>(app->SafeCast(&BrRAGGame::Type)) : nullptr;
}

BrRAGMap* PlayHost::Map() const {
  BrRAGGame* game = Game();
  return game && game->Map() ? static_cast<BrRAGMap*>(game->Map()->SafeCast(&BrRAGMap::Type)) : nullptr;
}

BrRAGPlayer* PlayHost::Player() const {
  BrRAGGame* game = Game();
  BrActor* actor = game ? game->GetPlayer() : nullptr;
  return actor ? static_cast<BrRAGPlayer*>(actor->SafeCast(&BrRAGPlayer::Type)) : nullptr;
}

std::string PlayHost::State() const {
  BrRAGGame* game = Game();
  BrBaseState* state = game ? game->GetCurrentState() : nullptr;
  return state && state->GetStateName().c_str() ? state->GetStateName().c_str() : "";
}

BrUIControl* PlayHost::Control(const char* id) const {
  return Engine().GUI() ? Engine().GUI()->GetControl(BrStringT<char>(id), true) : nullptr;
}

bool PlayHost::ClickAt(int px, int py) {
  BrRAGGame* game = Game();
  BrCursor* cursor = game && game->GetHUD() ? game->GetHUD()->GetCursor(-1) : nullptr;
  if (!cursor) return false;
  const BrVector hot = cursor->GetClickPoint();
  cursor->CursorScreenX() = float(px) - hot.x;
  cursor->CursorScreenY() = float(py) - hot.y;
  const LPARAM at = MAKELPARAM(px, py);
  brW32InjectMessage(nullptr, WM_LBUTTONDOWN, MK_LBUTTON, at);
  brW32InjectMessage(nullptr, WM_LBUTTONUP, 0, at);
  Frame();
  if (std::getenv("BR_PLAY_TRACE"))
    std::fprintf(stderr, "click at %d,%d: cursor now %.1f,%.1f hot %.1f,%.1f state %s\n", px, py,
                 cursor->CursorScreenX(), cursor->CursorScreenY(), hot.x, hot.y, State().c_str());
  return true;
}

bool PlayHost::ClickControl(const char* id) {
  BrUIControl* control = Control(id);
  BrRenderBase* render = Engine().Render();
  if (!control || !render) return false;
  const float x = (control->GetPosX() + control->GetWidth() * 0.5f) * float(render->GetWidth());
  const float y = (control->GetPosY() + control->GetHeight() * 0.5f) * float(render->GetHeight());
  return ClickAt(int(x), int(y));
}

void PlayHost::HoldKey(int vkey, int frames, float dt) {
  brW32InjectKey(vkey, TRUE);
  for (int i = 0; i < frames; ++i) Frame(dt);
  brW32InjectKey(vkey, FALSE);
  Frame(dt);
}

void PlayHost::Type(const std::string& text) {
  for (char c : text) brW32InjectMessage(nullptr, WM_KEYUP, WPARAM((unsigned char)c), 0);
  Frame();
}

void PlayHost::MenuCommand(int id) {
  brW32InjectMessage(nullptr, WM_COMMAND, WPARAM(id), 0);
  Frame();
}

bool PlayHost::Screenshot(const fs::path& file) {
  BrRenderBase* render = Engine().Render();
  if (!render) return false;
  std::string path = file.string();
  render->takeScreenshot(BrStringT<char>(path.c_str()));
  return fs::exists(file);
}

// ---- Steps and readings shared by the play tests ----

void EscapeToMainMenu(PlayHost& host) {
  host.Run(1.2f);
  brW32InjectKey(VK_ESCAPE, TRUE);
  host.RunUntilState("BrRAGGameStateMainMenu", 10.0f);
  brW32InjectKey(VK_ESCAPE, FALSE);
  host.Run(0.5f);
}

bool NewGameFromMenu(PlayHost& host) {
  if (!host.ClickControl("MMenuPlayGameBtn")) return false;
  host.Frame();
  if (!host.ClickControl("NewGameMedium")) return false;
  return host.RunUntilState("BrRAGGameStatePlaying", 5.0f);
}

bool StartAtMainMenu(PlayTree& tree, PlayHost& host, unsigned int seed) {
  tree.SetConfig("ShowIntro", "0");
  if (!host.Start(seed) || !host.RunUntilState("BrRAGGameStateMainMenu", 2.0f)) return false;
  host.Run(0.5f);
  return true;
}

bool StartPlaying(PlayTree& tree, PlayHost& host, unsigned int seed, float settle) {
  if (!StartAtMainMenu(tree, host, seed)) return false;
  host.HoldKey('Q', 1);
  if (!host.RunUntilState("BrRAGGameStatePlaying", 5.0f)) return false;
  host.Run(settle, 4);
  return host.Map() != nullptr && host.Player() != nullptr;
}

bool ScreenFrame(PlayHost& host, PlayTree& tree, const char* name, Shot& out) {
  const fs::path file = tree.Media() / name;
  Shot shot;
  if (!host.Screenshot(file) || !ReadBmp(file, shot)) return false;
  out = Crop(shot, 0, 0, int(Engine().Render()->GetWidth()), int(Engine().Render()->GetHeight()));
  return true;
}

namespace {
BrRAGInvItemCtrl* FilledCellUnder(BrUIControl* root) {
  if (!root) return nullptr;
  if (root->IsA(BrRAGInvItemCtrl::Type)) {
    auto* cell = static_cast<BrRAGInvItemCtrl*>(root);
    if (cell->GetInvItemSlotIndex() >= 0 && cell->GetInvItemType() != BrStringT<char>("Unknown")) return cell;
  }
  for (int i = 0; i < root->GetNumChildControls(); ++i)
    if (BrRAGInvItemCtrl* found = FilledCellUnder(root->GetChildControl(i))) return found;
  return nullptr;
}
}  // namespace

std::vector<BrRAGActor*> ActorsNamed(PlayHost& host, const char* text) {
  std::vector<BrRAGActor*> actors;
  BrRAGMap* map = host.Map();
  for (int id = 0; map && id < map->NumObjects(); ++id) {
    BrGameObj* object = map->GetObjectA(id);
    if (!object || !object->IsValid()) continue;
    auto* actor = static_cast<BrRAGActor*>(object->SafeCast(&BrRAGActor::Type));
    if (actor && actor->GetText() == BrStringT<char>(text)) actors.push_back(actor);
  }
  return actors;
}

BrRAGInvItemCtrl* FirstFilledCell() {
  BrGUI* gui = Engine().GUI();
  for (int i = 0; gui && i < gui->GetNumControls(); ++i)
    if (BrRAGInvItemCtrl* found = FilledCellUnder(gui->GetTopControl(i))) return found;
  return nullptr;
}

fs::path CopyMediaAsMod(PlayTree& tree, const std::string& folder) {
  const fs::path mod = tree.Game() / "Mods" / folder;
  fs::create_directories(mod);
  for (const auto& entry : fs::directory_iterator(tree.Media()))
    if (entry.path().filename() != "Saves")
      fs::copy(entry.path(), mod / entry.path().filename(),
               fs::copy_options::recursive | fs::copy_options::copy_symlinks);
  return mod;
}

bool ChooseModFromMenu(PlayHost& host, const std::string& listed) {
  if (!host.ClickControl("MMenuModsBtn") || !host.RunUntilState("BrRAGGameStateModsMenu", 2.0f)) return false;
  host.Run(0.5f);
  if (!ClickListRow(host, "ModsMenuListBox", listed) || !host.ClickControl("ModsLoadBtn")) return false;
  return host.RunUntilState("BrRAGGameStateMainMenu", 2.0f);
}

bool ClickListRow(PlayHost& host, const char* listId, const std::string& file) {
  BrUIControl* control = host.Control(listId);
  auto* list = control && control->IsA(BrUIControlListBox::Type) ? static_cast<BrUIControlListBox*>(control) : nullptr;
  BrRenderBase* render = Engine().Render();
  if (!list || !render) return false;
  auto lower = [](std::string s) {
    for (char& c : s) c = char(std::tolower(static_cast<unsigned char>(c)));
    return s;
  };
  const int x = int((list->GetPosX() + list->GetWidth() * 0.5f) * float(render->GetWidth()));
  const int top = int(list->GetPosY() * float(render->GetHeight()));
  const int bottom = int((list->GetPosY() + list->GetHeight()) * float(render->GetHeight()));
  for (int y = top; y < bottom; y += 3) {
    host.ClickAt(x, y);
    const BrStringT<char> text = list->GetCurrentItemText();
    if (text.c_str() && lower(text.c_str()).find(lower(file)) != std::string::npos) return true;
  }
  return false;
}

bool LoadAsTheMenuDoes(PlayHost& host, const std::string& file) {
  host.Game()->ChangeToState("BrRAGGameStateLoadGameMenu");
  host.Frame();
  return host.Game()->LoadGame(Engine().getMediaDir() + "\\Saves\\" + file.c_str());
}

std::string FileBytes(const fs::path& file) {
  std::ifstream in(file, std::ios::binary);
  return std::string((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
}

void WriteFileBytes(const fs::path& file, const std::string& bytes) {
  std::ofstream(file, std::ios::binary | std::ios::trunc).write(bytes.data(), std::streamsize(bytes.size()));
}

}  // namespace brplay
