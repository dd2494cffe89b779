// A recording audio plug-in: counts steps and sound-id holders and writes its life cycle to the log.
#include "core/brcr.h"
#include "engine/kernel/BrConfigCache.h"
#include "engine/kernel/BrEngine.h"
#include "engine/kernel/BrPlugin.h"
#include "engine/presentation/BrAudioMgrBase.h"

namespace {
class FakeAudioDevice : public BrAudioMgrBase {
public:
  FakeAudioDevice() { GLog.WriteLine("FAKE: audio created"); }
  ~FakeAudioDevice() override { GLog.printf("FAKE: audio deleted after %d steps (last dt %.3f)", m_Steps, m_LastDt); }

  bool Init() override {
    int fail = 0;
    if (Engine().GetConfig()) Engine().GetConfig()->GetInteger("Audio", "FakeFail", fail);
    GLog.printf("FAKE: audio Init%s", fail ? " failing" : "");
    return fail == 0;
  }
  void Step(float dt) override {
    BrAudioMgrBase::Step(dt);
    ++m_Steps;
    m_LastDt = dt;
  }
  bool CreateAudio(const BrStringT<char>&, BrAudioID&) override { return false; }
  bool PlayAudio2D(const BrAudioID&) override { return false; }
  bool PlayAudio3D(const BrAudioID&, const BrVector&) override { return false; }
  void SetMaxRolloff(const float&) override {}
  float GetMaxRolloff() override { return 0.0f; }
  void Mute() override {}
  void UnMute() override {}

protected:
  void AudioCreated(int) override {}
  void AudioDestroyed(int) override {}

private:
  int m_Steps = 0;
  float m_LastDt = 0.0f;
};
}  // namespace

BR_PLUGIN_EXPORT BrAudioMgrBase* fnGetAudioDevice() { return new FakeAudioDevice(); }

BR_PLUGIN_EXPORT void fnDeleteAudioDevice(BrAudioMgrBase* device) { delete device; }
