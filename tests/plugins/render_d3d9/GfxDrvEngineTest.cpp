// The plug-in as the engine loads it: GfxDrv.so from the plug-ins folder of a run tree, frames, the full-screen
// toggle and a resize through the global keys and window messages, and PrintScreen writing the frame.
#include <memory>

#include "engine/kernel/BrEngineTestSeams.h"
#include "engine/presentation/BrEffectorMgr.h"
#include "engine/presentation/BrSpriteDaemon.h"
#include "platform/win32/win32.h"
#include "tests/plugins/render_d3d9/GfxDrvRig.h"
#include "tests/support/TempFolder.h"

using namespace gfxtest;

namespace {

// <tmp>/game (working folder) with Media/, and <tmp>/drivers/plug-ins/GfxDrv.so.
class EngineTree {
public:
  EngineTree() : m_Folder("br_gfx_engine"), m_Root(m_Folder.Path()) {
    fs::create_directories(m_Root / "game" / "Media" / "Config");
    fs::create_directories(m_Root / "game" / "Media" / "Libs");
    fs::create_directories(m_Root / "drivers" / "plug-ins");
    CopyStartTextures(m_Root / "game" / "Media");
    fs::copy_file(GFXDRV_MODULE, m_Root / "drivers" / "plug-ins" / "GfxDrv.so");
    m_Folder.Enter("game");
  }
  fs::path Game() const { return m_Root / "game"; }

private:
  brtest::TempFolder m_Folder;
  const fs::path m_Root;
};

void Pump() {
  MSG msg;
  while (PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) {
    TranslateMessage(&msg);
    DispatchMessageA(&msg);
  }
}

// One frame as the host draws it, with a sprite of the icon; the results of both ends.
void Frame(int icon, BrARGB colour) {
  BrRenderBase* render = Engine().Render();
  ASSERT_NE(render, nullptr);
  EXPECT_GE(render->PreRender(ePreRenderClearAll), 0);
  EXPECT_TRUE(render->DrawSprite(0.0f, 0.0f, 1.0f, 1.0f, (unsigned int)icon, 0.001f, colour, 0.0f, 0.001f, 0.001f,
                                 0.999f, 0.999f));
  EXPECT_GE(render->EndRender(), 0);
}

void Keys(std::initializer_list<int> keys, BOOL down) {
  for (int k : keys) brW32InjectKey(k, down);
  Pump();
}

}  // namespace

TEST(GfxDrvEngine, StartsThroughThePluginTogglesResizesAndTakesAScreenshot) {
  EngineTree tree;
  Log log;
  {
    std::vector<uint8_t> white = SolidBmp(8, 8, 0xFFFFFF);
    std::ofstream out(tree.Game() / "Media" / "Textures" / "white.bmp", std::ios::binary);
    out.write(reinterpret_cast<const char*>(white.data()), std::streamsize(white.size()));
  }
  BrConfigCache config;
  config.SetInteger("Engine", "Safe", 0);
  config.SetString("Render", "Device", "GfxDrv");
  config.SetInteger("Render", "UseZBuffer", 1);
  config.SetInteger("Render", "DepthBufferBitDepth", 24);
  config.SetInteger("Display", "WindowWidth", 1024);
  config.SetInteger("Display", "WindowHeight", 768);
  config.SetInteger("Display", "ScreenWidth", 1280);
  config.SetInteger("Display", "ScreenHeight", 1024);
  config.SetInteger("Display", "StartFullScreen", 0);
  Engine().SetConfig(&config);
  Engine().setMediaDir("Media");
  Engine().SetClockMeasurePause(0);

  ASSERT_TRUE(Engine().Init(0, 0, 0)) << log.Text();
  EXPECT_TRUE(log.Has("Rendering device initiated"));
  BrRenderBase* render = Engine().Render();
  ASSERT_NE(render, nullptr);
  EXPECT_TRUE(render->Windowed());
  const int icon = render->FXMgr()->LoadIconA(BrStringT<char>("Textures\\white.bmp"), BrStringT<char>("White"));
  ASSERT_GE(icon, 4);
  for (int i = 0; i < 3; ++i) Frame(icon, BrARGB(255, 0, 0, 255));

  // Alt+Enter: full screen at the configured screen size, the sprites' buffers made again.
  Keys({VK_LMENU, VK_RETURN}, TRUE);
  Engine().ProcessGlobalUserInput();
  Keys({VK_RETURN, VK_LMENU}, FALSE);
  Engine().ProcessGlobalUserInput();
  EXPECT_FALSE(render->Windowed());
  // Without an audio device the engine asked for safe mode, so the screen size is the one the device wrote.
  int screenWidth = 0;
  config.GetInteger("Display", "ScreenWidth", screenWidth);
  EXPECT_EQ(render->GetWidth(), (unsigned int)screenWidth);
  EXPECT_NE(render->SpriteDaemon()->GetVertexBuffer(), nullptr);
  int fullScreen = -1;
  config.GetInteger("Display", "StartFullScreen", fullScreen);
  EXPECT_EQ(fullScreen, 1);
  Frame(icon, BrARGB(255, 0, 255, 0));

  // And back to the window.
  Keys({VK_LMENU, VK_RETURN}, TRUE);
  Engine().ProcessGlobalUserInput();
  Keys({VK_RETURN, VK_LMENU}, FALSE);
  Engine().ProcessGlobalUserInput();
  EXPECT_TRUE(render->Windowed());
  Frame(icon, BrARGB(255, 0, 255, 0));

  // A resize reaches the device through WM_SIZE; the frame goes on with working resources.
  HWND hwnd = Engine().OSGUI()->GetHandle();
  SetWindowPos(hwnd, nullptr, 0, 0, 900, 700, SWP_NOMOVE | SWP_NOZORDER);
  Pump();
  EXPECT_FALSE(GExit) << log.Text();
  EXPECT_LT(render->GetWidth(), 1024u) << "the device follows the new client area";
  int windowWidth = 0;
  config.GetInteger("Display", "WindowWidth", windowWidth);
  EXPECT_EQ(windowWidth, (int)render->GetWidth());
  EXPECT_NE(render->SpriteDaemon()->GetVertexBuffer(), nullptr);
  Frame(icon, BrARGB(255, 255, 0, 0));
  Frame(icon, BrARGB(255, 255, 0, 0));

  // PrintScreen writes the last frame (red) into Media\Screenshots.
  Keys({VK_SNAPSHOT}, TRUE);
  Engine().ProcessGlobalUserInput();
  Keys({VK_SNAPSHOT}, FALSE);
  std::vector<fs::path> shots;
  if (fs::exists(tree.Game() / "Media" / "Screenshots"))
    for (const auto& entry : fs::directory_iterator(tree.Game() / "Media" / "Screenshots"))
      shots.push_back(entry.path());
  ASSERT_EQ(shots.size(), 1u);
  EXPECT_EQ(shots[0].extension(), ".bmp");
  Image image;
  ASSERT_TRUE(ReadBmp(shots[0], image));
  EXPECT_LE(ColourDistance(image.At(100, 100), 0xFF0000), 8) << std::hex << image.At(100, 100);

  EXPECT_TRUE(Engine().Exit());
  EXPECT_TRUE(log.Has("Rendering device and resources safely released"));
  BrEngineTestSeams::ResetAfterExit();
  brW32ResetInput();
}
