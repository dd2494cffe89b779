// The rendering device's test rig: a log captured with debug lines, a scratch media folder, a configuration,
// a window of the engine's window manager, and a device made the engine's rendering device.
#pragma once

#include <gtest/gtest.h>

#include <chrono>
#include <cstdint>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

#include "core/BrFileDevice.h"
#include "core/BrGlobals.h"
#include "core/BrLogFile.h"
#include "engine/kernel/BrConfigCache.h"
#include "engine/kernel/BrEngine.h"
#include "engine/kernel/BrEngineTestSeams.h"
#include "engine/kernel/BrW32WindowMgr.h"
#include "platform/d3d9/d3d9_testing.h"
#include "plugins/render_d3d9/render_d3d9.h"
#include "tests/support/CapturedLog.h"
#include "tests/support/TempFolder.h"

namespace gfxtest {

namespace fs = std::filesystem;

// GLog captured for the scope, debug lines on.
using Log = brtest::CapturedLog;

// The textures every rendering device start loads (the fallback and the two backdrops), from the generated
// media pack into a media folder.
inline void CopyStartTextures(const fs::path& media) {
  for (const char* name : {"noshader.bmp", "ui/blackback.jpg", "ui/colourback.jpg"}) {
    fs::create_directories((media / "Textures" / name).parent_path());
    fs::copy_file(fs::path(GFXDRV_MEDIA_DIR) / "Textures" / name, media / "Textures" / name,
                  fs::copy_options::overwrite_existing);
  }
}

// A media folder of its own: the start textures plus whatever a test writes.
class Media {
public:
  Media() { CopyStartTextures(m_Folder.Path()); }
  const fs::path& Path() const { return m_Folder.Path(); }
  // Relative names may use the system's backslashes.
  static std::string Slashes(std::string relative) {
    for (char& c : relative)
      if (c == '\\') c = '/';
    return relative;
  }
  void Write(const std::string& relative, const std::vector<uint8_t>& bytes) const {
    const fs::path p = m_Folder / Slashes(relative);
    fs::create_directories(p.parent_path());
    std::ofstream out(p, std::ios::binary);
    out.write(reinterpret_cast<const char*>(bytes.data()), std::streamsize(bytes.size()));
  }
  void Remove(const std::string& relative) const {
    std::error_code ec;
    fs::remove(m_Folder / Slashes(relative), ec);
  }

private:
  brtest::TempFolder m_Folder{"br_gfx_media"};
};

// A 24-bit BMP of w x h filled by fn(x, y) -> 0xRRGGBB (top row first).
template <class Fn>
std::vector<uint8_t> Bmp(int w, int h, Fn fn) {
  const int row = (w * 3 + 3) & ~3;
  const uint32_t size = 54 + uint32_t(row * h);
  std::vector<uint8_t> b(size, 0);
  auto u32 = [&](int at, uint32_t v) {
    for (int i = 0; i < 4; ++i) b[at + i] = uint8_t(v >> (8 * i));
  };
  b[0] = 'B';
  b[1] = 'M';
  u32(2, size);
  u32(10, 54);
  u32(14, 40);
  u32(18, uint32_t(w));
  u32(22, uint32_t(h));
  b[26] = 1;
  b[28] = 24;
  for (int y = 0; y < h; ++y)
    for (int x = 0; x < w; ++x) {
      const uint32_t c = fn(x, y);
      uint8_t* p = &b[54 + (h - 1 - y) * row + x * 3];
      p[0] = uint8_t(c);
      p[1] = uint8_t(c >> 8);
      p[2] = uint8_t(c >> 16);
    }
  return b;
}

inline std::vector<uint8_t> SolidBmp(int w, int h, uint32_t rgb) {
  return Bmp(w, h, [rgb](int, int) { return rgb; });
}

// A BMP file read back: 24 or 32 bits, either row order; pixels as 0xRRGGBB, top row first.
struct Image {
  int width = 0;
  int height = 0;
  std::vector<uint32_t> pixels;
  uint32_t At(int x, int y) const { return pixels[size_t(y) * size_t(width) + size_t(x)]; }
};

inline bool ReadBmp(const fs::path& path, Image& out) {
  std::ifstream in(path, std::ios::binary);
  std::vector<uint8_t> b((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
  if (b.size() < 54 || b[0] != 'B' || b[1] != 'M') return false;
  auto i32 = [&](int at) {
    return int32_t(uint32_t(b[at]) | uint32_t(b[at + 1]) << 8 | uint32_t(b[at + 2]) << 16 | uint32_t(b[at + 3]) << 24);
  };
  const int offset = i32(10), w = i32(18), hRaw = i32(22), bits = b[28];
  const int h = hRaw < 0 ? -hRaw : hRaw;
  if (w <= 0 || h <= 0 || (bits != 24 && bits != 32)) return false;
  const int bpp = bits / 8, row = (w * bpp + 3) & ~3;
  if (size_t(offset) + size_t(row) * size_t(h) > b.size()) return false;
  out.width = w;
  out.height = h;
  out.pixels.assign(size_t(w) * size_t(h), 0);
  for (int y = 0; y < h; ++y) {
    const int src = hRaw > 0 ? h - 1 - y : y;
    for (int x = 0; x < w; ++x) {
      const uint8_t* p = &b[size_t(offset) + size_t(src) * size_t(row) + size_t(x) * size_t(bpp)];
      out.pixels[size_t(y) * size_t(w) + size_t(x)] = uint32_t(p[2]) << 16 | uint32_t(p[1]) << 8 | p[0];
    }
  }
  return true;
}

// Channel distance of two 0xRRGGBB colours (the largest of the three).
inline int ColourDistance(uint32_t a, uint32_t b) {
  int worst = 0;
  for (int s = 0; s < 24; s += 8) {
    const int d = std::abs(int((a >> s) & 0xFF) - int((b >> s) & 0xFF));
    if (d > worst) worst = d;
  }
  return worst;
}

// The fixture: configuration, media folder, window and (made by MakeDevice) the device under test.
class GfxDrvTest : public testing::Test {
protected:
  void SetUp() override {
    brD3D9TestReset();
    m_pPrevConfig = Engine().GetConfig();
    m_PrevMedia = Engine().getMediaDir();
    Engine().SetConfig(&m_Config);
    Engine().setMediaDir(m_Media.Path().string().c_str());
    m_Config.SetInteger("Engine", "Safe", 0);
    m_Config.SetInteger("Display", "WindowWidth", 1024);
    m_Config.SetInteger("Display", "WindowHeight", 768);
    m_Config.SetInteger("Display", "ScreenWidth", 1024);
    m_Config.SetInteger("Display", "ScreenHeight", 768);
    m_Config.SetInteger("Display", "StartFullScreen", 0);
    m_Config.SetInteger("Render", "UseZBuffer", 1);
    m_Config.SetInteger("Render", "UseWBuffer", 0);
    m_Config.SetInteger("Render", "DepthBufferBitDepth", 24);
  }
  void TearDown() override {
    DropDevice();
    if (m_bWindow) m_Window.Exit();
    // Destroying the main window runs the engine's exit (WM_DESTROY): undo it for the tests that follow.
    BrEngineTestSeams::ResetAfterExit();
    Engine().SetConfig(m_pPrevConfig);
    Engine().setMediaDir(m_PrevMedia);
    brD3D9TestReset();
  }

  // A window sized by the configuration, as the engine's window manager makes it.
  void MakeWindow() {
    if (m_bWindow) return;
    m_bWindow = m_Window.Init();
    ASSERT_TRUE(m_bWindow);
  }

  // A device as the engine makes it: created, handed the window, the engine's rendering device. Not started.
  BrD3DRenDev* NewDevice() {
    MakeWindow();
    DropDevice();
    m_pDev = new BrD3DRenDev();
    m_pPrevRender = BrEngineTestSeams::SetRender(m_pDev);
    m_bInstalled = true;
    m_pDev->ParentHandle() = m_Window.GetHandle();
    m_pDev->WindowStyle() = m_Window.WindowStyle();
    m_pDev->SetClientArea(m_Window.GetClientArea());
    return m_pDev;
  }
  // NewDevice, then Init, which must succeed.
  BrD3DRenDev* StartDevice() {
    BrD3DRenDev* dev = NewDevice();
    EXPECT_TRUE(dev->Init()) << m_Log.Text();
    return dev;
  }
  void DropDevice() {
    if (!m_pDev) return;
    m_pDev->Exit();
    if (m_bInstalled) BrEngineTestSeams::SetRender(m_pPrevRender);
    m_bInstalled = false;
    delete m_pDev;
    m_pDev = nullptr;
  }
  int ConfigInt(const char* section, const char* key) {
    int v = -999;
    m_Config.GetInteger(section, key, v);
    return v;
  }

  Log m_Log;
  Media m_Media;
  BrConfigCache m_Config;
  BrW32WindowMgr m_Window;
  bool m_bWindow = false;
  BrD3DRenDev* m_pDev = nullptr;
  BrRenderBase* m_pPrevRender = nullptr;
  bool m_bInstalled = false;
  BrConfigCache* m_pPrevConfig = nullptr;
  BrStringT<char> m_PrevMedia;
};

}  // namespace gfxtest
