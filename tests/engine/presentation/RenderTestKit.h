// Render test kit: a recording rendering device installed as Engine().Render() and initialised for one test.
#pragma once

#include <gtest/gtest.h>

#include <memory>

#include "engine/kernel/BrEngine.h"
#include "tests/support/RecordingRenderDevice.h"

namespace brrendertest {

// An 800 x 600 recording device, installed before its Init (the sprite daemon and fonts reach the device
// through the engine while they start) and taken out again after its Exit.
class RenderTest : public ::testing::Test {
protected:
  void SetUp() override {
    dev = new RecordingRenderDevice(800, 600);
    scope.reset(new ScopedRenderDevice(dev));
    ASSERT_TRUE(dev->Init());
  }
  void TearDown() override {
    dev->Exit();
    scope.reset();
    delete dev;
  }

  RecordingRenderDevice* dev = nullptr;
  std::unique_ptr<ScopedRenderDevice> scope;
};

}  // namespace brrendertest
