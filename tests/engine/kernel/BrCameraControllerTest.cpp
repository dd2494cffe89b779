// Tests of the camera and its controllers: controllers made once by class name, click bookkeeping, mouse-look,
// the field-of-view keys, the cursor's clamping and the edge slides, and the billboard's camera-facing frame.
#include "engine/kernel/BrCamera.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstring>

#include "engine/kernel/BrBillboard.h"
#include "engine/kernel/BrController.h"
#include "engine/presentation/BrCursor.h"
#include "engine/presentation/BrHUD.h"
#include "platform/win32/win32_user.h"
#include "tests/support/RecordingAudioDevice.h"
#include "tests/support/RecordingRenderDevice.h"
#include "WorldTestSupport.h"

using namespace brworld;

namespace {
int gActivations = 0;

// A main window whose mouse sits where the test puts it; the client area is 800 x 600.
class FakeWindow : public BrWindowBase {
public:
  bool Init() override { return true; }
  bool Exit() override { return true; }
  bool MaximiseWindow() override { return true; }
  bool RefreshWindow() override { return true; }
  void SetPosition(HWND, RECT*) override {}
  RECT GetClientArea() override { return RECT{0, 0, 800, 600}; }
  RECT GetDesktopArea() override { return RECT{0, 0, 800, 600}; }
  DWORD& WindowStyle() override { return m_dw; }
  DWORD& Icon() override { return m_dw; }
  DWORD& Menu() override { return m_dw; }
  DWORD& ExitCode() override { return m_dw; }
  void GetMousePos(int& x, int& y) override {
    x = mx;
    y = my;
  }
  void SetMousePos(int x, int y) override {
    mx = x;
    my = y;
  }
  void CentreMouse() override {
    ++centred;
    mx = 400;
    my = 300;
  }
  char ScanCodeToASCII(int) override { return 0; }
  BrStringT<char> GetOpenFileNameA(char*) override { return BrStringT<char>(); }
  INT_PTR DoDialog(int, void*) override { return 0; }
  int mx = 400;
  int my = 300;
  int centred = 0;
  DWORD m_dw = 0;
};

class ScopedWindow {
public:
  explicit ScopedWindow(BrWindowBase* w) : m_pOld(BrEngineTestSeams::OSGUI()) { BrEngineTestSeams::OSGUI() = w; }
  ~ScopedWindow() { BrEngineTestSeams::OSGUI() = m_pOld; }

private:
  BrWindowBase* m_pOld;
};

// Counts activations; its edge hooks record which edges were touched.
class CamTestCtrl : public BrSlideCameraCtrl {
  BR_DECLARE_CLASS(CamTestCtrl)
public:
  void OnActivate() override { ++gActivations; }
};
}  // namespace
BR_IMPLEMENT_CLASS(CamTestCtrl, BrSlideCameraCtrl)

TEST(BrCamera, ControllersAreMadeOnceAndReused) {
  gActivations = 0;
  BrCamera camera;
  EXPECT_EQ(camera.GetController(), nullptr);
  EXPECT_FLOAT_EQ(camera.FOV(), 100.0f);
  camera.SetControllerType(BrStringT<char>("CamTestCtrl"));
  BrController* a = camera.GetController();
  ASSERT_NE(a, nullptr);
  EXPECT_EQ(a->Subject(), &camera);
  EXPECT_EQ(gActivations, 1);
  camera.SetControllerType(BrStringT<char>("CamTestCtrl"));  // already active: nothing again
  EXPECT_EQ(gActivations, 1);
  camera.SetControllerType(BrStringT<char>("BrCameraCtrl"));
  EXPECT_NE(camera.GetController(), a);
  camera.SetControllerType(BrStringT<char>("CamTestCtrl"));
  EXPECT_EQ(camera.GetController(), a);
  EXPECT_EQ(camera.GetNumControllers(), 2);
  EXPECT_EQ(gActivations, 2);

  // A class that is not a controller changes nothing.
  camera.SetControllerType(BrStringT<char>("BrGameObj"));
  camera.SetControllerType(BrStringT<char>("NoSuchCtrl"));
  EXPECT_EQ(camera.GetController(), a);
  EXPECT_EQ(camera.GetNumControllers(), 2);

  camera.Location() = BrVector(5, 5, 5);
  camera.GetCoords().Z = BrVector(1, 0, 0);
  camera.Init();
  EXPECT_EQ(camera.GetController(), nullptr);
  EXPECT_EQ(camera.GetNumControllers(), 0);
  EXPECT_TRUE(camera.GetCoords().Z == BrVector(0, 0, 1));
  EXPECT_TRUE(camera.Location() == BrVector(5, 5, 5));

  BrCamera placed(BrVector(1, 2, 3), BrVector(0, 0, 1), BrVector(0, 1, 0));
  EXPECT_TRUE(placed.GetCoords().X == BrVector(1, 0, 0));
  EXPECT_TRUE(placed.Location() == BrVector(1, 2, 3));
}

TEST(BrController, ClicksHeldTimeAndTheClickSound) {
  RecordingAudioDevice audio;
  ScopedEngineAudio audioScope(&audio);
  FakeWindow window;
  ScopedWindow windowScope(&window);
  BrController c;
  c.Init();
  c.LeftMouseDown();
  c.ProcessInput(0.1f);
  c.ProcessInput(0.1f);
  EXPECT_NEAR(c.GetHeldTime(), 0.2f, 1e-6f);
  EXPECT_TRUE(c.IsLeftHeld());
  EXPECT_EQ(window.centred, 2);
  c.LeftClick();
  EXPECT_FALSE(c.IsLeftHeld());
  EXPECT_TRUE(c.IsLeftClickPending());
  c.RightClick();
  EXPECT_TRUE(c.IsRightClickPending());
  EXPECT_EQ(audio.CountOf("play2d 0"), 2);  // the right click plays the same sound
}

TEST(BrController, MouseLookTurnsTheSubjectByTheMouseOffset) {
  FakeWindow window;
  ScopedWindow windowScope(&window);
  BrCamera camera;
  BrController c;
  c.Init();
  c.Possess(&camera);
  window.mx = 500;       // 100 pixels right of the centre
  c.ProcessInput(0.1f);  // 100 / 100 x 0.1 x 400 = 40 degrees of yaw
  const float r = 40.0f / 360.0f * 6.2831855f;
  EXPECT_NEAR(camera.GetCoords().Z.x, std::sin(r), 1e-4f);
  EXPECT_NEAR(camera.GetCoords().Z.z, std::cos(r), 1e-4f);
  EXPECT_NEAR(camera.GetCoords().Y.y, 1.0f, 1e-4f);
  EXPECT_EQ(window.mx, 400);  // re-centred
  c.ProcessInput(0.1f);       // no motion since: no turn
  EXPECT_NEAR(camera.GetCoords().Z.x, std::sin(r), 1e-4f);

  BrController loose;  // without a subject mouse-look does nothing
  loose.Init();
  window.mx = 0;
  loose.ProcessInput(0.1f);
}

TEST(BrCameraCtrl, FieldOfViewKeysOnlyOnTheCameraController) {
  RunFolder folder;
  BrCamera camera;
  BrCameraCtrl fov;
  fov.Init();
  fov.Possess(&camera);
  brW32InjectKey(80, TRUE);
  fov.ProcessInput(0.01f);
  fov.ProcessInput(0.01f);
  brW32InjectKey(80, FALSE);
  EXPECT_FLOAT_EQ(camera.FOV(), 110.0f);
  brW32InjectKey(79, TRUE);
  fov.ProcessInput(0.01f);
  brW32InjectKey(79, FALSE);
  EXPECT_FLOAT_EQ(camera.FOV(), 105.0f);

  BrSlideCameraCtrl slide;
  slide.Init();
  slide.Possess(&camera);
  brW32InjectKey(80, TRUE);
  slide.ProcessInput(0.01f);
  brW32InjectKey(80, FALSE);
  EXPECT_FLOAT_EQ(camera.FOV(), 105.0f);

  BrGameObj notACamera;
  slide.Possess(&notACamera);
  slide.ProcessInput(0.01f);
  EXPECT_EQ(folder.CountLines("WARNING: BrCameraCtrl attached to non-camera entity"), 1);
}

TEST(BrSlideCameraCtrl, CursorClampsAtTheEdgesAndSlidesTheCamera) {
  RunFolder folder;
  RecordingRenderDevice render(960, 600);
  ScopedRenderDevice renderScope(&render);
  render.Init();
  FakeWindow window;
  ScopedWindow windowScope(&window);
  BrGame* game = new BrGame();
  ScopedApp app(game, false);

  // No cursor yet: the slide controller leaves everything alone.
  BrSlideCameraCtrl* ctrl = nullptr;
  game->Camera()->SetControllerType(BrStringT<char>("BrSlideCameraCtrl"));
  ctrl = static_cast<BrSlideCameraCtrl*>(game->ActiveController());
  ASSERT_NE(ctrl, nullptr);
  window.mx = 0;
  ctrl->ProcessInput(0.1f);
  EXPECT_TRUE(game->Camera()->Location() == BrVector(0, 0, 0));

  ASSERT_NE(game->GetHUD(), nullptr);
  ASSERT_EQ(game->GetHUD()->AddCursor(BrStringT<char>("Textures\\cursor.tga"), 0.0f, 0.0f), 0);
  game->GetHUD()->SetCursor(0);
  BrCursor* cursor = game->GetHUD()->GetCursor(-1);
  ASSERT_NE(cursor, nullptr);
  cursor->CursorScreenX() = 480.0f;
  cursor->CursorScreenY() = 300.0f;

  // 40 pixels right moves the cursor by 960/22 x 50 x 40/1250, whatever the screen width.
  window.mx = 440;
  window.my = 300;
  ctrl->ProcessInput(0.1f);
  EXPECT_NEAR(cursor->CursorScreenX(), 480.0f + 960.0f / 22.0f * 50.0f * 40.0f / 1250.0f, 1e-3f);
  EXPECT_TRUE(game->Camera()->Location() == BrVector(0, 0, 0));

  // Pushed past the top-left corner in one frame: both edges slide, the cursor ends at the corner.
  window.mx = 400 - 2000;
  window.my = 300 - 2000;
  ctrl->ProcessInput(0.1f);
  EXPECT_FLOAT_EQ(cursor->CursorScreenX(), 0.0f);
  EXPECT_FLOAT_EQ(cursor->CursorScreenY(), 0.0f);
  const float s = 960.0f * 0.1f * 1.5f;
  // Top: x + s, z + s; left: x - s, z + s.
  EXPECT_NEAR(game->Camera()->Location().x, 0.0f, 1e-3f);
  EXPECT_NEAR(game->Camera()->Location().z, 2.0f * s, 1e-3f);

  // Held at the right edge, the camera keeps moving every frame (the cursor at y 0 would also keep touching
  // the top, so it is moved down first).
  cursor->CursorScreenY() = 300.0f;
  window.mx = 400 + 5000;
  window.my = 300;
  ctrl->ProcessInput(0.1f);
  ctrl->ProcessInput(0.1f);
  EXPECT_FLOAT_EQ(cursor->CursorScreenX(), 960.0f);
  EXPECT_NEAR(game->Camera()->Location().x, 2.0f * s, 1e-3f);
  EXPECT_NEAR(game->Camera()->Location().z, 0.0f, 1e-3f);

  // The bottom edge.
  window.mx = 400;
  window.my = 300 + 5000;
  ctrl->ProcessInput(0.1f);
  EXPECT_FLOAT_EQ(cursor->CursorScreenY(), 600.0f);
}

TEST(BrBillboard, BuildsItsQuadAndFacesTheCamera) {
  RunFolder folder;
  BrBillboard orphan;  // no device: no buffer, the error line
  EXPECT_EQ(orphan.GetVertexBuffer(), nullptr);
  EXPECT_EQ(folder.CountLines("ERROR: Calling Init() on a billboard that's already been initialised"), 1);

  RecordingRenderDevice render;
  ScopedRenderDevice renderScope(&render);
  render.Init();
  BrBillboard b;
  ASSERT_NE(b.GetVertexBuffer(), nullptr);
  RecordingVertexBuffer* vb = static_cast<RecordingVertexBuffer*>(b.GetVertexBuffer());
  ASSERT_EQ(vb->bytes.size(), 216u);
  BrBillboardVertex v[6];
  std::memcpy(v, vb->bytes.data(), 216);
  EXPECT_FLOAT_EQ(v[0].x, 1.0f);
  EXPECT_FLOAT_EQ(v[1].u, 1.0f);
  EXPECT_FLOAT_EQ(v[5].y, -1.0f);
  EXPECT_EQ(v[3].diffuse, 0xFFFFFFFFu);
  EXPECT_FALSE(b.Init());  // already has a buffer: kept
  EXPECT_EQ(b.GetVertexBuffer(), vb);

  b.SetEffector(render.Effectors()->Num());
  EXPECT_EQ(b.GetCurrentEffector(), 0u);
  EXPECT_GE(folder.CountLines("ERROR: Invalid effector IDX passed to BrBillboard::SetEffector"), 1);
  b.SetEffector(BrStringT<char>("BB_a"), BrStringT<char>("Textures\\a.tga"));
  BrBillboard c;
  c.SetEffector(BrStringT<char>("BB_a"), BrStringT<char>("Textures\\other.tga"));
  EXPECT_EQ(c.GetEffector(), b.GetEffector());
  EXPECT_EQ(std::count(render.Textures()->loads.begin(), render.Textures()->loads.end(), "Textures\\other.tga"), 0);

  // Style 2: upright and facing the camera whatever its height; mirrored on the right unless frozen.
  b.Style() = 2;
  b.ScaleX() = 4.0f;
  b.ScaleY() = 8.0f;
  b.Location() = BrVector(0, 0, 100);
  BrCoords camera(BrVector(1, 0, 0), BrVector(0, 1, 0), BrVector(0, 0, 1), BrVector(0, 500, 0));
  BrCoords frame = b.ComputeFrame(camera);
  EXPECT_NEAR(frame.Y.y, 8.0f, 1e-4f);  // vertical up axis, scaled
  EXPECT_NEAR(frame.Z.y, 0.0f, 1e-4f);
  EXPECT_NEAR(frame.Z.z, -1.0f, 1e-4f);
  EXPECT_TRUE(frame.Position == BrVector(0, 0, 100));
  b.Location() = BrVector(50, 0, 100);  // on the camera's right
  const float frozenX = b.ComputeFrame(camera).X.x;
  b.SetFreezeHorizontalFacing(false);
  EXPECT_FLOAT_EQ(b.ComputeFrame(camera).X.x, -frozenX);
  b.Location() = BrVector(-50, 0, 100);  // on the left: never mirrored (the mirror image of the right's frozen frame)
  EXPECT_NEAR(b.ComputeFrame(camera).X.x, frozenX, 1e-4f);

  // Free style, seen from above at a slant: right and up still have unit length before scaling.
  b.Style() = 3;
  b.Location() = BrVector(0, 0, 100);
  frame = b.ComputeFrame(camera);
  EXPECT_NEAR(frame.X.Size(), 4.0f, 1e-4f);
  EXPECT_NEAR(frame.Y.Size(), 8.0f, 1e-4f);
  EXPECT_NEAR(frame.X | frame.Z, 0.0f, 1e-4f);
  // At the camera's own position, or straight below it, no facing exists.
  BrCoords none;
  b.Location() = camera.Position;
  EXPECT_FALSE(b.ComputeFrame(camera, none));
  b.Location() = BrVector(0, 0, 0);
  EXPECT_FALSE(b.ComputeFrame(camera, none));

  b.Destroy();
  EXPECT_EQ(b.GetVertexBuffer(), nullptr);
}
