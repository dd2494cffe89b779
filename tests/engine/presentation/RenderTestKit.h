// Render test kit: a recording rendering device installed as Engine().Render() and initialised for one test.
#pragma once

#include <gtest/gtest.h>

#include <cstdio>
#include <cstdlib>
#include <memory>
#include <string>

#include "core/brcr.h"
#include "engine/kernel/BrEngine.h"
#include "tests/support/RecordingRenderDevice.h"
#include "tests/support/TempFolder.h"

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

// Opens GLog (debug lines included) in a scratch folder made current for the scope; closes it, restores the
// folder and removes the scratch folder at its end.
class ScopedLog {
public:
  ScopedLog() : scratch("brrenderlog", ""), folder(scratch.String()) {
    wasDebug = GIsDebug;
    GIsDebug = true;
    GLog.Init();
  }
  ~ScopedLog() {
    GLog.Close();
    GIsDebug = wasDebug;
  }
  ScopedLog(const ScopedLog&) = delete;
  ScopedLog& operator=(const ScopedLog&) = delete;

  // Everything written so far.
  std::string Text() const {
    std::fflush(GLog.Handle());
    std::string out;
    if (FILE* f = std::fopen((folder + "/log.txt").c_str(), "rb")) {
      char buf[4096];
      size_t n;
      while ((n = std::fread(buf, 1, sizeof(buf), f)) > 0) out.append(buf, n);
      std::fclose(f);
    }
    return out;
  }
  bool Has(const std::string& line) const { return Text().find(line) != std::string::npos; }

private:
  brtest::TempFolder scratch;
  std::string folder;
  bool wasDebug = false;
};

}  // namespace brrendertest
