// Device set-up: enumeration and the mode choice, depth formats, the test seam's failures, the configuration
// written back, the reference fall-back, the switch between window and full screen, and resizing.
#include "engine/presentation/BrSpriteDaemon.h"
#include "engine/presentation/BrFontMgr.h"
#include "tests/plugins/render_d3d9/GfxDrvRig.h"

using namespace gfxtest;

TEST_F(GfxDrvTest, StartsOnTheWindowSizeAndWritesTheChoiceBack) {
  BrD3DRenDev* dev = StartDevice();
  D3DDISPLAYMODE mode;
  ASSERT_TRUE(dev->GetDisplayMode(mode));
  EXPECT_EQ(mode.Width, 1024u);
  EXPECT_EQ(mode.Height, 768u);
  EXPECT_EQ(mode.Format, D3DFMT_X8R8G8B8);
  EXPECT_TRUE(m_Log.Has("\t\tSelected HAL device on "));
  EXPECT_TRUE(m_Log.Has("\t\t\t1024x768\tD3DFMT_X8R8G8B8\t-HW_VP-\tD3DFMT_D24X8"));
  EXPECT_EQ(ConfigInt("Engine", "Safe"), 0);
  EXPECT_EQ(ConfigInt("Display", "WindowWidth"), 1024);
  EXPECT_EQ(ConfigInt("Display", "WindowHeight"), 768);
  EXPECT_EQ(ConfigInt("Render", "UseZBuffer"), 1);
  EXPECT_EQ(ConfigInt("Render", "UseWBuffer"), 0);
  EXPECT_EQ(ConfigInt("Render", "DepthBufferBitDepth"), 24);
  EXPECT_TRUE(dev->PresentParams().Windowed);
  EXPECT_TRUE(dev->PresentParams().EnableAutoDepthStencil);
  EXPECT_EQ(dev->PresentParams().AutoDepthStencilFormat, D3DFMT_D24X8);

  // Every size is offered once, none below 800x600.
  ASSERT_GT(dev->GetNumResolutions(), 0);
  for (int i = 0; i < dev->GetNumResolutions(); ++i) {
    int w = 0, h = 0;
    dev->GetResolution(i, w, h);
    EXPECT_GE(w, 800);
    EXPECT_GE(h, 600);
    for (int j = 0; j < i; ++j) {
      int w2 = 0, h2 = 0;
      dev->GetResolution(j, w2, h2);
      EXPECT_FALSE(w == w2 && h == h2) << w << "x" << h << " listed twice";
    }
  }
  // The start made the managers, the fallback texture, the built-in effectors and the base's daemons.
  ASSERT_NE(dev->TextureMgr(), nullptr);
  ASSERT_NE(dev->FXMgr(), nullptr);
  EXPECT_EQ(dev->TextureMgr()->CachedTextureCount(eTextureStatic), 1);
  ASSERT_NE(dev->TextureMgr()->GetTexture(0), nullptr);
  EXPECT_EQ(dev->TextureMgr()->GetTexture(0)->GetWidth(), 64u);
  EXPECT_EQ(dev->FXMgr()->GetEffector(BrStringT<char>("Shader3dLine")), 1u);
  EXPECT_EQ(dev->FXMgr()->GetEffector(BrStringT<char>("Shader2d")), 2u);
  EXPECT_EQ(dev->FXMgr()->GetEffector(BrStringT<char>("Shader3d")), 3u);
  ASSERT_NE(dev->SpriteDaemon(), nullptr);
  EXPECT_NE(dev->SpriteDaemon()->GetVertexBuffer(), nullptr);
  EXPECT_FALSE(dev->InitAPI()) << "a second Direct3D object is refused";
  EXPECT_TRUE(m_Log.Has("WARNING: Direct3D9 object already created, leaving BrD3DRenDev::InitAPI()"));
}

TEST_F(GfxDrvTest, SafeModeTargetsEightHundredBySixHundred) {
  m_Config.SetInteger("Engine", "Safe", 1);
  BrD3DRenDev* dev = StartDevice();
  D3DDISPLAYMODE mode;
  ASSERT_TRUE(dev->GetDisplayMode(mode));
  EXPECT_EQ(mode.Width, 800u);
  EXPECT_EQ(mode.Height, 600u);
  EXPECT_EQ(ConfigInt("Display", "ScreenWidth"), 800);
  EXPECT_EQ(ConfigInt("Display", "ScreenHeight"), 600);
  EXPECT_EQ(ConfigInt("Engine", "Safe"), 0) << "a successful choice clears safe mode";
}

TEST_F(GfxDrvTest, ATargetBelowEveryModeFailsTheStartAndAsksForSafeMode) {
  MakeWindow();
  m_Config.SetInteger("Display", "WindowWidth", 640);
  m_Config.SetInteger("Display", "WindowHeight", 480);
  BrD3DRenDev* dev = NewDevice();
  EXPECT_FALSE(dev->Init());
  EXPECT_TRUE(m_Log.Has("\t\tWARNING: Failed to select the suggested resolution of 640x480"));
  EXPECT_TRUE(m_Log.Has("Failed to initialise Rendering device, specifying -safe mode restart in config file"));
  EXPECT_EQ(ConfigInt("Engine", "Safe"), 1);
  EXPECT_EQ(dev->SelectedAdapter(), -1);
  EXPECT_FALSE(dev->Reset());
  EXPECT_TRUE(m_Log.Has("WARNING: BrD3DRenDev::Reset() called before device enumeration, returning failure"));
}

TEST_F(GfxDrvTest, EveryFailingEnumerationCallFailsTheStartWithItsMessage) {
  const struct {
    uint32_t check;
    const char* line;
  } cases[] = {
      {BR_D3D9_FAIL_ADAPTER_IDENTIFIER, "WARNING: FAILED GetAdapterIdentifier(...) on adapter #0"},
      {BR_D3D9_FAIL_ADAPTER_DISPLAY_MODE, "WARNING: FAILED GetAdapterDisplayMode(...) on adapter #0"},
      {BR_D3D9_FAIL_ENUM_ADAPTER_MODES, "WARNING: Failed EnumAdapterModes(...) on adapter #0"},
      {BR_D3D9_FAIL_DEVICE_CAPS, "WARNING: FAILED GetDeviceCaps(...) on adapter #0, device #0"},
  };
  for (const auto& c : cases) {
    m_Log.Clear();
    m_Config.SetInteger("Engine", "Safe", 0);
    BrD3DRenDev* dev = NewDevice();
    brD3D9TestSetFailures(c.check);
    EXPECT_FALSE(dev->Init()) << c.line;
    brD3D9TestSetFailures(0);
    EXPECT_TRUE(m_Log.Has(c.line)) << m_Log.Text();
    EXPECT_TRUE(m_Log.Has("WARNING: Critical error during BrD3DRenDev::InitAPI()"));
    EXPECT_EQ(ConfigInt("Engine", "Safe"), 1);
    DropDevice();
  }
}

TEST_F(GfxDrvTest, ADeviceThatCannotBeCreatedTriesTheReferenceRasterizerAndFails) {
  BrD3DRenDev* dev = NewDevice();
  brD3D9TestSetFailures(BR_D3D9_FAIL_CREATE_DEVICE);
  EXPECT_FALSE(dev->Init());
  brD3D9TestSetFailures(0);
  EXPECT_TRUE(m_Log.Has("WARNING: Switching to REFERENCE RASTERIZER"));
  EXPECT_EQ(m_Log.Count("WARNING: Switching to REFERENCE RASTERIZER"), 1);
  EXPECT_EQ(dev->GetDevice(), nullptr);
  EXPECT_EQ(ConfigInt("Engine", "Safe"), 1);
}

TEST_F(GfxDrvTest, RefusedDepthFormatsStepDownAndTheDepthWrittenIsWhatWasConfirmed) {
  const D3DDISPLAYMODE modes[] = {{800, 600, 60, D3DFMT_R5G6B5},
                                  {1024, 768, 60, D3DFMT_R5G6B5},
                                  {800, 600, 60, D3DFMT_X8R8G8B8},
                                  {1024, 768, 60, D3DFMT_X8R8G8B8}};
  brD3D9TestSetModes(modes, 4);
  brD3D9TestRefuseFormat(D3DFMT_D32, true);
  brD3D9TestRefuseFormat(D3DFMT_D24X8, true);
  m_Config.SetInteger("Render", "DepthBufferBitDepth", 32);
  BrD3DRenDev* dev = StartDevice();
  // Only the first format walks down from 32 bits; later formats start at 16.
  EXPECT_EQ(m_Log.Count("device doesn't support 32-bit depth buffering with render format"), 1);
  EXPECT_EQ(m_Log.Count("\tWARNING: Could not support 32-bit depth buffering, trying 24-bit"), 1);
  EXPECT_EQ(m_Log.Count("\tWARNING: Could not support 24-bit depth buffering, trying 16-bit"), 1);
  EXPECT_EQ(ConfigInt("Render", "DepthBufferBitDepth"), 16);
  EXPECT_EQ(dev->PresentParams().AutoDepthStencilFormat, D3DFMT_D16);
  // With two formats the last fitting mode of the format sorting last (X8R8G8B8) wins.
  D3DDISPLAYMODE mode;
  ASSERT_TRUE(dev->GetDisplayMode(mode));
  EXPECT_EQ(mode.Format, D3DFMT_X8R8G8B8);
  EXPECT_EQ(mode.Width, 1024u);
}

TEST_F(GfxDrvTest, NoDepthFormatAtAllFailsThisStartAndTheNextStartsWithoutDepth) {
  brD3D9TestRefuseFormat(D3DFMT_D32, true);
  brD3D9TestRefuseFormat(D3DFMT_D24X8, true);
  brD3D9TestRefuseFormat(D3DFMT_D16, true);
  BrD3DRenDev* dev = NewDevice();
  // The one render format fails down to 16 bits and is not confirmed: no mode is left.
  EXPECT_FALSE(dev->Init());
  EXPECT_EQ(m_Log.Count("\tFAILED: Could not support 16-bit depth buffering, switching off depth buffering for "
                        "next run"),
            1);
  EXPECT_TRUE(m_Log.Has("WARNING: Could not confirm any valid display modes on HAL device of "));
  EXPECT_EQ(ConfigInt("Engine", "Safe"), 1);
  EXPECT_EQ(ConfigInt("Render", "UseZBuffer"), 0);
  EXPECT_EQ(ConfigInt("Render", "DepthBufferBitDepth"), 0);
  // As the line says, the next start checks no depth format and runs without a depth buffer.
  dev = StartDevice();
  EXPECT_FALSE(dev->PresentParams().EnableAutoDepthStencil);
  EXPECT_EQ(ConfigInt("Engine", "Safe"), 0);
  EXPECT_GE(dev->PreRender(ePreRenderClearAll), 0);
  EXPECT_GE(dev->EndRender(), 0);
}

TEST_F(GfxDrvTest, ADepthBufferThatDoesNotMatchTheFormatIsNotUsedButTheFormatIs) {
  brD3D9TestSetFailures(BR_D3D9_FAIL_CHECK_DEPTH_MATCH);
  BrD3DRenDev* dev = StartDevice();
  brD3D9TestSetFailures(0);
  EXPECT_TRUE(
      m_Log.Has("\tFAILED: CheckDepthStencilMatch(...) on adapter #0, device #0 : 16-bit depth buffering not "
                "compatible with this format (will not be confirmed for use)"));
  D3DDISPLAYMODE mode;
  ASSERT_TRUE(dev->GetDisplayMode(mode));
  EXPECT_EQ(mode.Width, 1024u);
  EXPECT_FALSE(dev->PresentParams().EnableAutoDepthStencil);
  EXPECT_EQ(ConfigInt("Render", "UseZBuffer"), 0);
}

TEST_F(GfxDrvTest, AWBufferWithoutSupportBecomesAZBuffer) {
  m_Config.SetInteger("Render", "UseWBuffer", 1);
  m_Config.SetInteger("Render", "UseZBuffer", 0);
  StartDevice();
  EXPECT_TRUE(m_Log.Has("\tHAL Device does NOT support depth buffering in w"));
  EXPECT_EQ(ConfigInt("Render", "UseWBuffer"), 0);
  EXPECT_EQ(ConfigInt("Render", "UseZBuffer"), 1);
}

TEST_F(GfxDrvTest, CullModesAndDimensions) {
  BrD3DRenDev* dev = StartDevice();
  DWORD cull = 0;
  dev->SetPolyCullMode(ePolyCullNone);
  dev->GetDevice()->GetRenderState(D3DRS_CULLMODE, &cull);
  EXPECT_EQ(cull, (DWORD)D3DCULL_NONE);
  dev->SetPolyCullMode((ePolyCullMode)7);
  dev->GetDevice()->GetRenderState(D3DRS_CULLMODE, &cull);
  EXPECT_EQ(cull, (DWORD)D3DCULL_NONE) << "an unknown mode changes nothing";
  EXPECT_TRUE(m_Log.Has("ERROR: Invalid poly cull mode"));
  dev->SetPolyCullMode(ePolyCullCCW);
  dev->GetDevice()->GetRenderState(D3DRS_CULLMODE, &cull);
  EXPECT_EQ(cull, (DWORD)D3DCULL_CCW);

  // Windowed: the client rectangle; full screen: the back buffer.
  RECT client = {0, 0, 900, 450};
  dev->SetClientArea(client);
  EXPECT_EQ(dev->GetWidth(), 900u);
  EXPECT_EQ(dev->GetHeight(), 450u);
  EXPECT_FLOAT_EQ(dev->GetAspectRatio(), 2.0f);
  dev->Windowed() = false;
  EXPECT_EQ(dev->GetWidth(), 1024u);
  EXPECT_EQ(dev->GetHeight(), 768u);
  dev->Windowed() = true;
}

TEST_F(GfxDrvTest, FullScreenAndBackKeepTheResourcesWorking) {
  m_Config.SetInteger("Display", "ScreenWidth", 1280);
  m_Config.SetInteger("Display", "ScreenHeight", 1024);
  BrD3DRenDev* dev = StartDevice();
  const int dynamic = dev->TextureMgr()->CreateTexture(64, 64, eResFormatARGB8888, 1);
  EXPECT_EQ(dynamic, 0);

  ASSERT_TRUE(dev->ToggleFullScreen(true));
  EXPECT_FALSE(dev->Windowed());
  EXPECT_EQ(ConfigInt("Display", "StartFullScreen"), 1);
  EXPECT_FALSE(dev->PresentParams().Windowed);
  EXPECT_EQ(dev->PresentParams().PresentationInterval, (UINT)D3DPRESENT_INTERVAL_IMMEDIATE);
  EXPECT_EQ(dev->GetWidth(), 1280u);
  EXPECT_EQ(dev->GetHeight(), 1024u);
  // Statics reloaded in place, dynamics gone, the sprite daemon's buffers made again, alpha states re-set.
  ASSERT_NE(dev->TextureMgr()->GetTexture(0), nullptr);
  void** fallback = dev->TextureMgr()->GetTextureInterface(0, eTextureStatic);
  ASSERT_NE(fallback, nullptr);
  EXPECT_NE(*fallback, nullptr);
  EXPECT_EQ(dev->TextureMgr()->CachedTextureCount(eTextureDynamic), 0);
  EXPECT_NE(dev->SpriteDaemon()->GetVertexBuffer(), nullptr);
  DWORD blend = 0;
  dev->GetDevice()->GetRenderState(D3DRS_ALPHABLENDENABLE, &blend);
  EXPECT_EQ(blend, (DWORD)TRUE);
  EXPECT_GE(dev->PreRender(ePreRenderClearAll), 0);
  EXPECT_GE(dev->EndRender(), 0);

  ASSERT_TRUE(dev->ToggleFullScreen(true));
  EXPECT_TRUE(dev->Windowed());
  EXPECT_EQ(ConfigInt("Display", "StartFullScreen"), 0);
  EXPECT_EQ(dev->PresentParams().BackBufferWidth, 1024u);
  // After the reset the states are sent again: the cache must not believe they are still set.
  dev->SetAlpha(true);
  dev->GetDevice()->GetRenderState(D3DRS_ALPHABLENDENABLE, &blend);
  EXPECT_EQ(blend, (DWORD)TRUE);
  EXPECT_GE(dev->PreRender(ePreRenderClearAll), 0);
  EXPECT_GE(dev->EndRender(), 0);

  // Without a flip nothing is restyled or written, but the mode is applied again.
  m_Config.SetInteger("Display", "StartFullScreen", 5);
  m_Log.Clear();
  EXPECT_TRUE(dev->ToggleFullScreen(false));
  EXPECT_TRUE(dev->Windowed());
  EXPECT_EQ(ConfigInt("Display", "StartFullScreen"), 5);
  EXPECT_TRUE(m_Log.Has("DEBUG: Switching to 1024x768"));
}

TEST_F(GfxDrvTest, AFailedSwitchLeavesAWorkingWindowedDevice) {
  BrD3DRenDev* dev = StartDevice();
  // No mode is as large as the screen asked for: nothing is released, the window stays.
  m_Config.SetInteger("Display", "ScreenWidth", 4000);
  m_Config.SetInteger("Display", "ScreenHeight", 3000);
  EXPECT_FALSE(dev->ToggleFullScreen(true));
  EXPECT_TRUE(m_Log.Has("CRITICAL: Toggle fullscreen was unable to find the requested display mode"));
  EXPECT_TRUE(dev->Windowed());
  EXPECT_EQ(ConfigInt("Display", "StartFullScreen"), 0);
  EXPECT_NE(dev->SpriteDaemon()->GetVertexBuffer(), nullptr);
  D3DDISPLAYMODE mode;
  ASSERT_TRUE(dev->GetDisplayMode(mode));
  EXPECT_EQ(mode.Width, 1024u);
  EXPECT_GE(dev->PreRender(ePreRenderClearAll), 0);
  EXPECT_GE(dev->EndRender(), 0);

  // A reset that fails: back in a window; once resets work again the device recovers by resizing.
  m_Config.SetInteger("Display", "ScreenWidth", 1280);
  m_Config.SetInteger("Display", "ScreenHeight", 1024);
  brD3D9TestSetFailures(BR_D3D9_FAIL_RESET);
  EXPECT_FALSE(dev->ToggleFullScreen(true));
  brD3D9TestSetFailures(0);
  EXPECT_TRUE(m_Log.Has("WARNING: Failed to Reset GfxDrvice in ToggleFullScreen()"));
  EXPECT_TRUE(dev->Windowed());
  EXPECT_EQ(ConfigInt("Display", "StartFullScreen"), 0);
  ASSERT_TRUE(dev->UpdateDimensions());
  EXPECT_TRUE(dev->PresentParams().Windowed);
  EXPECT_NE(dev->SpriteDaemon()->GetVertexBuffer(), nullptr);
  EXPECT_GE(dev->PreRender(ePreRenderClearAll), 0);
  EXPECT_GE(dev->EndRender(), 0);
}

TEST_F(GfxDrvTest, ResizingResetsAndAFailedResetIsReported) {
  BrD3DRenDev* dev = StartDevice();
  ASSERT_TRUE(dev->UpdateDimensions());
  EXPECT_NE(dev->SpriteDaemon()->GetVertexBuffer(), nullptr);
  // The reset returned every state to its default: the sprites' blending and alpha test are set again.
  DWORD blend = 0, alphaTest = 0;
  dev->GetDevice()->GetRenderState(D3DRS_ALPHABLENDENABLE, &blend);
  dev->GetDevice()->GetRenderState(D3DRS_ALPHATESTENABLE, &alphaTest);
  EXPECT_EQ(blend, (DWORD)TRUE);
  EXPECT_EQ(alphaTest, (DWORD)TRUE);
  brD3D9TestSetFailures(BR_D3D9_FAIL_RESET);
  EXPECT_FALSE(dev->UpdateDimensions());
  brD3D9TestSetFailures(0);
  EXPECT_TRUE(m_Log.Has("WARNING: Failed to Reset GfxDrvice in UpdateDimensions()"));
}

TEST_F(GfxDrvTest, ExitReleasesEverythingOnceAndTheSamplerWarningIsReported) {
  BrD3DRenDev* dev = StartDevice();
  brD3D9TestSetFailures(BR_D3D9_FAIL_SAMPLER_STATE);
  EXPECT_FALSE(dev->SetRenderStates());
  brD3D9TestSetFailures(0);
  EXPECT_TRUE(m_Log.Has("WARNING: Could not set all render states as required by renderer"));
  EXPECT_TRUE(dev->Exit());
  EXPECT_TRUE(m_Log.Has("Cached shader binaries safely released"));
  EXPECT_TRUE(m_Log.Has("Rendering device and resources safely released"));
  EXPECT_EQ(dev->GetDevice(), nullptr);
  EXPECT_EQ(dev->TextureMgr(), nullptr);
  EXPECT_EQ(dev->NumCachedShaders(), 0);
  EXPECT_FALSE(dev->Exit());
}

TEST_F(GfxDrvTest, StartsInFullScreenOnTheScreenSize) {
  MakeWindow();
  m_Config.SetInteger("Display", "StartFullScreen", 1);
  m_Config.SetInteger("Display", "ScreenWidth", 1280);
  m_Config.SetInteger("Display", "ScreenHeight", 720);
  BrD3DRenDev* dev = NewDevice();
  ASSERT_TRUE(dev->Init()) << m_Log.Text();
  EXPECT_FALSE(dev->Windowed());
  EXPECT_FALSE(dev->PresentParams().Windowed);
  EXPECT_EQ(dev->PresentParams().PresentationInterval, (UINT)D3DPRESENT_INTERVAL_ONE);
  EXPECT_EQ(dev->PresentParams().BackBufferFormat, D3DFMT_X8R8G8B8);
  EXPECT_EQ(dev->GetWidth(), 1280u);
  EXPECT_EQ(dev->GetHeight(), 720u);
  EXPECT_FLOAT_EQ(dev->GetAspectRatio(), 1280.0f / 720.0f);
  EXPECT_EQ(ConfigInt("Display", "ScreenWidth"), 1280);
  EXPECT_EQ(ConfigInt("Display", "WindowWidth"), 1024) << "the window size is left for the window";
  EXPECT_GE(dev->PreRender(ePreRenderClearAll), 0);
  EXPECT_GE(dev->EndRender(), 0);
  // Back to a window of the configured size.
  ASSERT_TRUE(dev->ToggleFullScreen(true));
  EXPECT_TRUE(dev->Windowed());
  EXPECT_EQ(dev->PresentParams().BackBufferWidth, 1024u);
  EXPECT_EQ(dev->PresentParams().BackBufferHeight, 768u);
}

TEST_F(GfxDrvTest, LeavingFullScreenForAWindowSmallerThanEveryModeStillReachesAWindow) {
  MakeWindow();
  m_Config.SetInteger("Display", "StartFullScreen", 1);
  BrD3DRenDev* dev = NewDevice();
  ASSERT_TRUE(dev->Init()) << m_Log.Text();
  ASSERT_FALSE(dev->Windowed());
  // The window was made smaller than every mode while the game ran in full screen: a window needs no mode,
  // its back buffer is its client area.
  m_Config.SetInteger("Display", "WindowWidth", 640);
  m_Config.SetInteger("Display", "WindowHeight", 480);
  EXPECT_TRUE(dev->ToggleFullScreen(true));
  EXPECT_FALSE(m_Log.Has("CRITICAL: Toggle fullscreen was unable to find the requested display mode"));
  EXPECT_TRUE(dev->Windowed());
  EXPECT_TRUE(dev->PresentParams().Windowed);
  EXPECT_EQ(dev->PresentParams().BackBufferWidth, 640u);
  EXPECT_EQ(dev->PresentParams().BackBufferHeight, 480u);
  EXPECT_EQ(ConfigInt("Display", "StartFullScreen"), 0);
  EXPECT_NE(dev->SpriteDaemon()->GetVertexBuffer(), nullptr);
  EXPECT_GE(dev->PreRender(ePreRenderClearAll), 0);
  EXPECT_GE(dev->EndRender(), 0);
}

// A window's back buffer is its client area at a size no mode lists, and again after a resize: a full-screen
// fade covers every pixel, text drawn at the bottom-right corner lands there, and the reset keeps the blending
// and alpha test the frame relies on.
TEST_F(GfxDrvTest, AWindowsBackBufferIsItsClientAreaAtAnySizeAndAfterAResize) {
  m_Config.SetInteger("Display", "WindowWidth", 1000);
  m_Config.SetInteger("Display", "WindowHeight", 700);
  m_Media.Write("Fonts\\white.bmp", SolidBmp(256, 256, 0xFFFFFF));
  m_Config.SetString(BrStringT<char>("App"), BrStringT<char>("DefaultFont"), BrStringT<char>("Fonts\\white.bmp"));
  BrD3DRenDev* dev = StartDevice();
  const fs::path shot = m_Media.Path() / "faded.bmp";
  auto check = [&](int w, int h) {
    EXPECT_EQ(dev->PresentParams().BackBufferWidth, UINT(w));
    EXPECT_EQ(dev->PresentParams().BackBufferHeight, UINT(h));
    EXPECT_EQ(dev->GetWidth(), unsigned(w));
    Image image;
    auto frame = [&](bool fade) {
      EXPECT_GE(dev->PreRender(ePreRenderClearAll), 0);
      if (fade) {
        dev->DrawColourTile(1.0f, 0.001f, BrARGB(255, 255, 0, 0));
        dev->DrawFadeTile(1.0f, 0.001f);
      } else {
        BrARGB white(255, 255, 255, 255);
        BrStringT<char> text("MM");
        dev->FontMgr()->DrawTextA(0.999f, 0.95f, white, eFontFormatRight, text);
      }
      EXPECT_GE(dev->EndRender(), 0);
      dev->takeScreenshot(BrStringT<char>(shot.string().c_str()));
      EXPECT_TRUE(ReadBmp(shot, image));
      return image.width >= w && image.height >= h;
    };
    ASSERT_TRUE(frame(true));
    int unfaded = 0;
    for (int y = 0; y < h; ++y)
      for (int x = 0; x < w; ++x)
        if (image.At(x, y) != 0) ++unfaded;
    EXPECT_EQ(unfaded, 0) << "pixels the fade did not cover at " << w << "x" << h;
    ASSERT_TRUE(frame(false));
    int textAtCorner = 0, textElsewhere = 0;
    for (int y = 0; y < h; ++y)
      for (int x = 0; x < w; ++x)
        if (ColourDistance(image.At(x, y), 0xFFFFFF) <= 16)
          (x >= w - w / 10 && y >= h - h / 10 ? textAtCorner : textElsewhere)++;
    EXPECT_GT(textAtCorner, 20) << "the text at the bottom-right corner";
    EXPECT_EQ(textElsewhere, 0);
  };
  check(1000, 700);

  // The window resized: the engine hands the device the new client area and resets it.
  m_Config.SetInteger("Display", "WindowWidth", 900);
  m_Config.SetInteger("Display", "WindowHeight", 560);
  m_Window.SetPosition(m_Window.GetHandle(), nullptr);
  dev->SetClientArea(m_Window.GetClientArea());
  ASSERT_TRUE(dev->UpdateDimensions());
  DWORD value = 0;
  const std::pair<D3DRENDERSTATETYPE, DWORD> alphaStates[] = {{D3DRS_ALPHABLENDENABLE, TRUE},
                                                              {D3DRS_SRCBLEND, D3DBLEND_SRCALPHA},
                                                              {D3DRS_DESTBLEND, D3DBLEND_INVSRCALPHA},
                                                              {D3DRS_ALPHATESTENABLE, TRUE},
                                                              {D3DRS_ALPHAREF, 1},
                                                              {D3DRS_ALPHAFUNC, D3DCMP_GREATEREQUAL}};
  for (const auto& s : alphaStates) {
    dev->GetDevice()->GetRenderState(s.first, &value);
    EXPECT_EQ(value, s.second) << "render state " << s.first << " after the resize";
  }
  check(900, 560);
}

TEST_F(GfxDrvTest, AFontTextureThatCannotBeLoadedFailsTheStartNamingTheFile) {
  m_Config.SetString(BrStringT<char>("App"), BrStringT<char>("DefaultFont"), BrStringT<char>("Fonts\\gone.tga"));
  BrD3DRenDev* dev = NewDevice();
  EXPECT_FALSE(dev->Init());
  EXPECT_TRUE(m_Log.Has("ERROR: Failed to load font texture Fonts\\gone.tga")) << m_Log.Text();
}
