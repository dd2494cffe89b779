// Launch: naming the application, and a map converted through the format-parser plug-in.
#include <gtest/gtest.h>

#include "EngineTestSupport.h"
#include "engine/kernel/BrApplication.h"

using brtest::RunTree;

namespace {
BrApplication* SetPlainApp() {
  BrApplication* app = static_cast<BrApplication*>(static_cast<BrObject*>(Engine().Spawn("BrApplication")));
  EXPECT_TRUE(Engine().SetApp(app));
  return app;
}
// The plug-in folder is known once Init has recorded where the program runs from.
void Start(RunTree& tree) {
  tree.Plugin("FakeRender", "GfxDrv");
  tree.Configure();
  ASSERT_TRUE(Engine().Init(0, 0, 0));
}
void WriteMap(RunTree& tree) {
  brtest::fs::create_directories(tree.root / "game" / "Media" / "Maps");
  std::ofstream(tree.root / "game" / "Media" / "Maps" / "level.map") << "map data";
}
}  // namespace

TEST(EngineLaunch, NamesTheApplicationFromTheTitleOrUnknownApp) {
  RunTree tree("[App]\nTitle=\n");
  tree.Configure();
  BrApplication* app = SetPlainApp();
  Engine().Launch(nullptr, 0, 0, 0, false);
  EXPECT_STREQ(app->GetName(), "UnknownApp");
  EXPECT_NE(tree.Find("Connected to game: UnknownApp"), -1);
  EXPECT_FALSE(GExit);
  brtest::ResetEngine();
}

TEST(EngineLaunch, MapThatCannotBeOpenedNeverLoadsTheParser) {
  RunTree tree("[Render]\nDevice=GfxDrv\n[App]\nTitle=T\nParser=Parser\n");
  tree.Plugin("FakeParser", "Parser");
  Start(tree);
  SetPlainApp();
  char map[] = "missing.map";
  Engine().Launch(map, 0, 0, 0, false);
  EXPECT_NE(tree.Find("Launching map: Media\\Maps\\missing.map"), -1);
  EXPECT_EQ(tree.Find("Creating Format Parser"), -1);
  EXPECT_NE(tree.Find("Connected to game: T"), -1);
  // The bool argument suppresses the map altogether.
  Engine().Launch(map, 0, 0, 0, true);
  EXPECT_NE(tree.Find("No map was specified to launch."), -1);
  brtest::ResetEngine();
}

TEST(EngineLaunch, ParserThatNamesNothingLeavesThePlaceholderName) {
  RunTree tree("[Render]\nDevice=GfxDrv\n[App]\nTitle=T\nParser=Parser\n");
  tree.Plugin("FakeParser", "Parser");
  WriteMap(tree);
  Start(tree);
  BrApplication* app = SetPlainApp();
  char map[] = "level.map";
  Engine().Launch(map, 0, 0, 0, false);
  EXPECT_STREQ(app->GetName(), "<COULD NOT PARSE GAME NAME>");
  EXPECT_NE(tree.Find("FAKE: parser extract Media\\Maps\\level.map 0"), -1);
  EXPECT_NE(tree.Find("FAKE: parser convert without a map"), -1);
  EXPECT_NE(tree.Find("Connected to game: <COULD NOT PARSE GAME NAME>"), -1);
  EXPECT_EQ(Engine().FormatParser() != nullptr, true);
  ASSERT_TRUE(Engine().Exit());
  EXPECT_NE(tree.Find("FAKE: parser deleted"), -1);
  EXPECT_EQ(Engine().FormatParser(), nullptr);
  brtest::ResetEngine();
}

TEST(EngineLaunch, FailedExtractionIsNeverConverted) {
  RunTree tree("[Render]\nDevice=GfxDrv\n[App]\nTitle=T\nParser=Parser\n");
  tree.Plugin("FakeParser", "Parser");
  WriteMap(tree);
  Start(tree);
  tree.cache.SetInteger("App", "FakeExtract", 0);
  SetPlainApp();
  char map[] = "level.map";
  Engine().Launch(map, 0, 0, 0, false);
  EXPECT_NE(tree.Find("FAKE: parser extract Media\\Maps\\level.map 0"), -1);
  for (const std::string& l : tree.Log()) EXPECT_EQ(l.rfind("FAKE: parser convert", 0), std::string::npos);
  brtest::ResetEngine();
}

TEST(EngineLaunch, MissingParserEndsTheRunWithoutTouchingTheApplicationAgain) {
  RunTree tree("[Render]\nDevice=GfxDrv\n[App]\nTitle=T\nParser=NoParser\n");
  WriteMap(tree);
  Start(tree);
  SetPlainApp();
  char map[] = "level.map";
  Engine().Launch(map, 0, 0, 0, false);
  EXPECT_TRUE(GExit);
  EXPECT_EQ(Engine().App(), nullptr);
  EXPECT_NE(tree.Find("Failed to create NoParser format parser"), -1);
  EXPECT_EQ(tree.LastLine(), "Exit granted");
  brtest::ResetEngine();
}
