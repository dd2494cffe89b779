// A recording rendering plug-in: counts frames and writes its life cycle to the log.
#include "core/brcr.h"
#include "engine/kernel/BrConfigCache.h"
#include "engine/kernel/BrEngine.h"
#include "engine/kernel/BrPlugin.h"
#include "engine/presentation/BrRenderBase.h"

namespace {
class FakeRenderDevice : public BrRenderBase {
public:
  FakeRenderDevice() { GLog.WriteLine("FAKE: render created"); }
  ~FakeRenderDevice() override { GLog.printf("FAKE: render deleted after %d frames", m_Frames); }

  bool Init() override {
    int fail = 0;
    if (Engine().GetConfig()) Engine().GetConfig()->GetInteger("Render", "FakeFail", fail);
    RECT r = GetClientArea();
    GLog.printf("FAKE: render Init %s %dx%d", ParentHandle() ? "with window" : "without window",
                (int)(r.right - r.left), (int)(r.bottom - r.top));
    if (fail == 2) {
      // As a device does whose default shaders cannot be made: it ends the run itself, then goes on using itself.
      GLog.WriteLine("FAKE: render Init ending the run");
      Engine().Exit();
      GLog.printf("FAKE: render Init returns after %d frames", m_Frames);
    }
    return fail == 0;
  }
  bool Exit() override { return BrRenderBase::Exit(); }
  int32_t PreRender(ePreRenderClearFlag) override { return m_InFrame ? -1 : (m_InFrame = true, 0); }
  int32_t EndRender() override {
    if (!m_InFrame) return -1;
    m_InFrame = false;
    ++m_Frames;
    return 0;
  }
  bool InitAPI() override { return true; }
  bool ExitAPI() override { return true; }
  bool Reset() override { return true; }
  bool ToggleFullScreen(bool flip) override {
    if (flip) GLog.WriteLine("FAKE: render toggled full screen");
    return true;
  }
  bool SetAlpha(bool) override { return true; }
  void SaveCurrWinPos() override {}
  bool UpdateDimensions() override {
    GLog.WriteLine("FAKE: render UpdateDimensions");
    return true;
  }
  bool CreateVertexBuffer(BrVertexBufferBase**, unsigned int, DWORD, eMemPool, eResUsage) override { return false; }
  bool CreateIndexBuffer(BrIndexBufferBase**, unsigned int, eIDXFormat, eMemPool) override { return false; }
  int32_t DrawPrimitive(DWORD, BrVertexBufferBase*, BrIndexBufferBase*, unsigned int, DWORD, int, int, unsigned int,
                        unsigned int) override {
    return 0;
  }
  int32_t DrawPrimitive(DWORD, BrVertexBufferBase*, unsigned int, int) override { return 0; }
  bool SetTexture(unsigned int, eTextureType, unsigned int) override { return true; }
  bool SetEffector(unsigned int) override { return true; }
  void SetTransform(BrCoords*) override {}
  void SetView(BrCoords*) override {}
  bool SetStream(unsigned int, DWORD, BrVertexBufferBase*) override { return true; }
  int GetCurrShader() override { return 0; }
  unsigned int GetWidth() override { return (unsigned int)(GetClientArea().right - GetClientArea().left); }
  unsigned int GetHeight() override { return (unsigned int)(GetClientArea().bottom - GetClientArea().top); }
  float GetAspectRatio() override { return GetHeight() ? (float)GetWidth() / (float)GetHeight() : 1.0f; }
  float& NearZ() override { return m_fNearZ; }
  float& FarZ() override { return m_fFarZ; }
  bool Draw3DLine(BrVector*, BrVector*, BrARGB) override { return true; }
  bool CompileShader(BrStringT<char>&, void**, void**) override { return false; }
  bool SetRenderStates() override { return true; }
  void SetPolyCullMode(ePolyCullMode) override {}
  void takeScreenshot(const BrStringT<char>& file) override {
    GLog.printf("FAKE: render screenshot %s", file.c_str() ? file.c_str() : "");
  }
  void NuDiffuse() override {}
  void NuDiffuseTex1() override {}
  void NuDiffuseTex1Unlit() override {}
  void NuRealDiffuseTex1Scroll(float) override {}
  void NuRealDiffuseTex1RotScale() override {}
  void NuRealDiffuseTex2() override {}
  void NuCheatEnvMapping() override {}
  void NuAlphaCheck() override {}
  void NuBumpMapping() override {}

private:
  bool m_InFrame = false;
  int m_Frames = 0;
};
}  // namespace

BR_PLUGIN_EXPORT BrRenderBase* fnGetRenderingDevice() { return new FakeRenderDevice(); }

BR_PLUGIN_EXPORT void fnDeleteRenderingDevice(BrRenderBase* device) { delete device; }
