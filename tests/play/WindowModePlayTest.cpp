// Alt+Enter in the running game, on a virtual display where one can be started (Xvfb): only a real window has a
// frame to lose; off screen the window keeps none.
#include <gtest/gtest.h>

#include <SDL2/SDL.h>

#include "engine/kernel/kernel.h"
#include "engine/presentation/BrRenderBase.h"
#include "platform/win32/win32.h"
#include "tests/play/PlayRig.h"

using namespace brplay;

namespace {

void AltEnter(PlayHost& host) {
  brW32InjectKey(VK_MENU, TRUE);
  host.HoldKey(VK_RETURN, 3);
  brW32InjectKey(VK_MENU, FALSE);
  host.Run(0.3f);
}

}  // namespace

// Full screen and back gave a window without caption or border: it could no longer be moved or closed by its
// frame. The menu drawn after the round trip is the menu drawn before it.
TEST(WindowMode, FullScreenAndBackKeepsTheWindowsFrameAndPicture) {
  VirtualDisplay display;
  if (display.Name().empty()) GTEST_SKIP() << "no virtual display (Xvfb) to open a framed window on";
  PlayTree tree;
  PlayHost host;
  ASSERT_TRUE(StartAtMainMenu(tree, host, 7)) << "see " << tree.Game() / "log.txt";
  BrRenderBase* render = Engine().Render();
  SDL_Window* window = brW32GetSDLWindow(render->ParentHandle());
  ASSERT_NE(window, nullptr);
  ASSERT_FALSE(SDL_GetWindowFlags(window) & SDL_WINDOW_BORDERLESS);
  Shot before, after;
  ASSERT_TRUE(ScreenFrame(host, tree, "before.bmp", before));

  AltEnter(host);
  ASSERT_FALSE(render->Windowed());
  AltEnter(host);
  ASSERT_TRUE(render->Windowed());
  EXPECT_FALSE(SDL_GetWindowFlags(window) & SDL_WINDOW_BORDERLESS) << "the window lost its caption and border";
  ASSERT_TRUE(ScreenFrame(host, tree, "after.bmp", after));
  EXPECT_LT(MeanDifference(before, after), 6.0);
}
