// Test support for games played through the real application: the test map and the started game.
#include "tests/adventure/flow/FlowPlaySupport.h"

#include <gtest/gtest.h>

#include <fstream>

#include "adventure/world/BrRAGCell.h"
#include "engine/kernel/BrController.h"
#include "engine/presentation/BrCursor.h"

BR_IMPLEMENT_CLASS(RAGFlowPlayMap, BrRAGMap)

bool RAGFlowPlayMap::spawnHero = true;

bool RAGFlowPlayMap::LoadConfigList() {
  ConfigFiles().Clear();
  ConfigFiles().Add(BrStringT<char>("play.cfg"));
  return true;
}

bool RAGFlowPlayMap::Init() {
  if (!BrRAGMap::Init()) return false;
  LoadObjectConfig();
  InitGrid(8, 8);
  for (int y = 0; y < 8; ++y)
    for (int x = 0; x < 8; ++x) GetCell(x, y)->SetValid(true);
  CellCentre(4, 4, &centre);
  if (spawnHero) Place("Hero", 0.0f, 0.0f);
  return true;
}

void RAGFlowPlayMap::Step(float dt) {
  ++steps;
  BrRAGMap::Step(dt);
}

BrDemoEntity* RAGFlowPlayMap::Place(const char* kind, float dx, float dz) {
  BrDemoEntity* entity = SpawnScripted(kind);
  if (!entity) return nullptr;
  entity->Location() = centre + BrVector(dx, 0.0f, dz);
  AddObject(entity);
  return entity;
}

namespace ragflow {

const char* const kPlayConfig =
    "[Hero]\nType=BrRAGPlayer\nHealth=100\nRankNames=Novice,Fighter,Hero\nRankXPs=0,100,1000\n"
    "Anatomy=Body,Hand,Hand\nHasLantern=1\n\n"
    "[Weapon]\nType=BrRAGWeapon\nEquipsOn=Hand\n\n"
    "[Axe]\nType=Weapon\nDamage=6\nSpeed=2\nHUDIcon=Textures\\icons\\axe.tga\n\n"
    "[Rope]\nType=BrRAGItem\nCharges=1\n\n"
    "[Goblin]\nType=BrRAGActor\nHealth=10\n\n"
    "[AxePickup]\nType=BrRAGPickup\nItemType=Axe\n\n"
    "[DoneLevel]\nType=BrRAGLevelInfo\nComplete=1\n\n"
    "[HintStairs]\nType=BrRAGGameHint\nHintIcon=Textures\\ui\\hint.tga\nHintText=Stairs lead down.^Take them.\n\n"
    "[HintIconOnly]\nType=BrRAGGameHint\nHintIcon=Textures\\ui\\hint.tga\n\n";

Play::Play(int startLevel) {
  RAGFlowPlayMap::spawnHero = true;
  std::ofstream(run.root / "Media" / "play.cfg") << kPlayConfig;
  run.config.SetInteger("RAG", "ShowIntro", 0);
  run.config.SetInteger("RAG", "StartLevel", startLevel);
  run.config.SetInteger("App", "Hints", 1);
  game = run.Start();
  if (game) game->SetMapType("RAGFlowPlayMap");
}

RAGFlowPlayMap* Play::Map() {
  return game->Map() ? static_cast<RAGFlowPlayMap*>(game->Map()->SafeCast(&RAGFlowPlayMap::Type)) : nullptr;
}

BrRAGPlayer* Play::Player() {
  BrActor* actor = game->GetPlayer();
  return actor ? static_cast<BrRAGPlayer*>(actor->SafeCast(&BrRAGPlayer::Type)) : nullptr;
}

BrRAGRotateCameraCtrl* Play::Rotate() {
  BrController* c = game->ActiveController();
  return c ? static_cast<BrRAGRotateCameraCtrl*>(c->SafeCast(&BrRAGRotateCameraCtrl::Type)) : nullptr;
}

float Play::FadeAlpha() {
  RecordingEffectorMgr* fx = run.render.Effectors();
  float alpha = -1.0f;
  for (const auto& s : run.render.sprites)
    if (s.effector < fx->names.size() && fx->names[s.effector] == "ShaderBlackBack" && s.z == 0.0001f)
      alpha = float(s.colour.a) / 255.0f;
  return alpha;
}

void Play::PointAt(const BrVector& world) {
  BrCursor* cursor = run.HUD()->GetCursor(-1);
  int px = 0, py = 0;
  ASSERT_TRUE(run.render.Project(world, px, py)) << "point off screen";
  const BrVector hot = cursor->GetClickPoint();
  cursor->CursorScreenX() = float(px) - hot.x;
  cursor->CursorScreenY() = float(py) - hot.y;
}

void Play::NewGame(const char* command) {
  run.Frame(0.05f);
  run.RAGHUD()->ControlLeftClicked(command);
}

}  // namespace ragflow
