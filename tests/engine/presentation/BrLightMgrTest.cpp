// Lights: reusable slots, bad indices, and a light's saved form.
#include <gtest/gtest.h>

#include <cstdio>
#include <string>

#include "core/BrBin.h"
#include "engine/kernel/BrEngine.h"
#include "engine/presentation/BrLightBase.h"
#include "engine/presentation/BrLightMgr.h"
#include "tests/engine/presentation/RenderTestKit.h"

TEST(LightMgr, RemovedLightsLeaveSlotsThatTheNextLightTakes) {
  BrLightMgr mgr;
  EXPECT_EQ(mgr.AddLight(nullptr), -1);
  BrLightBase* a = new BrLightBase();
  BrLightBase* b = new BrLightBase();
  BrLightBase* c = new BrLightBase();
  EXPECT_EQ(mgr.AddLight(a), 0);
  EXPECT_EQ(mgr.AddLight(b), 1);
  EXPECT_EQ(mgr.AddLight(c), 2);
  mgr.RemoveLight(1);
  EXPECT_EQ(mgr.GetLight(1), nullptr);
  EXPECT_EQ(mgr.GetNumLights(), 3);
  BrLightBase* d = new BrLightBase();
  EXPECT_EQ(mgr.AddLight(d), 1);
  EXPECT_EQ(mgr.GetNumLights(), 3);
  EXPECT_EQ(mgr.GetLight(1), d);
  EXPECT_EQ(mgr.GetLight(2), c);
  // Bad indices do nothing (and GetLight gives null).
  mgr.RemoveLight(-1);
  mgr.RemoveLight(3);
  EXPECT_EQ(mgr.GetLight(-1), nullptr);
  EXPECT_EQ(mgr.GetLight(3), nullptr);
  mgr.RemoveLight(1);
  mgr.RemoveLight(1);  // an empty slot: nothing
  EXPECT_EQ(mgr.GetNumLights(), 3);
}

TEST(LightMgr, OnlyIndicesOutsideTheListAreWarnedAbout) {
  brrendertest::ScopedLog log;
  BrLightMgr mgr;
  mgr.AddLight(new BrLightBase());
  mgr.AddLight(new BrLightBase());
  mgr.RemoveLight(0);
  EXPECT_EQ(mgr.GetLight(0), nullptr);
  EXPECT_EQ(log.Text().find("Invalid light index"), std::string::npos);
  EXPECT_EQ(mgr.GetLight(-1), nullptr);
  EXPECT_TRUE(log.Has("WARNING: Invalid light index in BrLightMgr::GetLight(-1)"));
  EXPECT_EQ(mgr.AddLight(nullptr), -1);
  EXPECT_TRUE(log.Has("WARNING: NULL light add attempt"));
}

TEST(LightBase, SpawnedByNameStartsOnAndSavesRangePositionAndSwitch) {
  BrLightBase* spawned = static_cast<BrLightBase*>(static_cast<BrObject*>(Engine().Spawn("BrLightBase")));
  ASSERT_NE(spawned, nullptr);
  EXPECT_TRUE(spawned->IsA(BrLightBase::Type));
  EXPECT_TRUE(spawned->IsSwitchedOn());
  EXPECT_FLOAT_EQ(spawned->GetRange(), 0.0f);
  spawned->SetRange(300.0f);
  spawned->SwitchOff();
  EXPECT_TRUE(spawned->Init());  // Init switches on and clears range and position
  EXPECT_TRUE(spawned->IsSwitchedOn());
  EXPECT_FLOAT_EQ(spawned->GetRange(), 0.0f);
  delete spawned;

  const brtest::TempFolder scratch("brlight");
  const std::string path = (scratch / "light.bin").string();
  BrLightBase light;
  light.SetRange(250.5f);
  light.SetPosition(BrVector(1, 2, 3));
  light.SwitchOff();
  {
    BrBin out(BrStringT<char>(path.c_str()));
    light.Serialize(out);
    EXPECT_FALSE(out.HasFailed());
  }
  BrLightBase back;
  {
    BrBin in;
    in.Loading();
    ASSERT_TRUE(in.Open(path.c_str(), 0));
    back.Serialize(in);
    EXPECT_FALSE(in.HasFailed());
  }
  EXPECT_FLOAT_EQ(back.GetRange(), 250.5f);
  EXPECT_TRUE(back.GetPosition() == BrVector(1, 2, 3));
  EXPECT_FALSE(back.IsSwitchedOn());
}
