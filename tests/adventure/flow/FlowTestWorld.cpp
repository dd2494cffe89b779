// Test support for the game flow's screens: the test map and game and the world they run in.
#include "FlowTestWorld.h"

#include "adventure/flow/BrRAGGameState.h"
#include "adventure/flow/BrRAGMiniMap.h"
#include "adventure/flow/BrRAGPlayerMsg.h"
#include "engine/kernel/BrMap.h"
#include "engine/presentation/BrGUI.h"

namespace flowtest {

BR_IMPLEMENT_CLASS(FlowTestMap, BrRAGMap)
BR_IMPLEMENT_CLASS(FlowTestGame, BrGame)

bool FlowTestMap::LoadConfigList() {
  ConfigFiles().Clear();
  ConfigFiles().Add(BrStringT<char>("flow.cfg"));
  return true;
}

std::vector<std::string>& FlowTestGame::StateNames() {
  static std::vector<std::string> names;
  return names;
}

FlowTestGame::FlowTestGame() {
  SetHUDType(BrStringT<char>("BrRAGHUD"));
  SetMapType(BrStringT<char>("FlowTestMap"));
  SetMiniMapType(BrStringT<char>("BrRAGMiniMap"));
}

void FlowTestGame::AddStates() {
  for (const std::string& name : StateNames()) AddState(BrStringT<char>(name.c_str()));
  if (!StateNames().empty()) ChangeToState(BrStringT<char>(StateNames().front().c_str()));
}

void FlowTestGame::DrawHUD(BrRenderBase* render) {
  BrBaseState* state = GetCurrentState();
  if (state && state->IsA(BrRAGGameState::Type)) static_cast<BrRAGGameState*>(state)->DrawHUD(render);
}

std::vector<std::pair<int, int>>& DisplayModes() {
  static std::vector<std::pair<int, int>> modes;
  return modes;
}

BrActor* FlowTestGame::GetPlayer() {
  BrMap* map = Map();
  for (int id = 0; map && id < map->NumObjects(); ++id) {
    BrGameObj* object = map->GetObjectA(id);
    if (object && object->IsValid() && object->IsA(BrRAGPlayer::Type)) return static_cast<BrActor*>(object);
  }
  return nullptr;
}

FlowWorld::FlowWorld(const std::string& config, std::vector<std::string> states, int width, int height, bool withMap)
    : dev(800, 600), m_Render(&dev), m_Audio(&audio), m_pOldScript(BrEngineTestSeams::Script()) {
  std::ofstream(folder.root / "Media" / "flow.cfg") << config;
  BrEngineTestSeams::Script() = &script;
  // Images are kept by index for the run; each test's device starts with an empty effector table.
  BrRAGMiniMap::miFrameFX = 0;
  BrRAGMiniMap::miSharedTexture = -1;
  BrRAGMiniMap::miSharedEffector = 0;
  BrRAGPlayerMsg::miEqualsFX = 0;
  for (int* fx : {&BrRAGPlayerHUD::miPlayerCellFX, &BrRAGPlayerHUD::miLanternCellFX, &BrRAGPlayerHUD::miStatsCellFX,
                  &BrRAGPlayerHUD::miStatsBarFX, &BrRAGPlayerHUD::miHealthIconFX, &BrRAGPlayerHUD::miOilIconFX,
                  &BrRAGPlayerHUD::miFistIconFX, &BrRAGPlayerHUD::miStrIconFX, &BrRAGPlayerHUD::miToHitIconFX,
                  &BrRAGPlayerHUD::miSpdIconFX, &BrRAGPlayerHUD::miDefIconFX, &BrRAGPlayerHUD::miRankIconFX})
    *fx = 0;
  for (const auto& m : DisplayModes()) dev.Resolutions().Add(BrRect(0.0f, 0.0f, float(m.first), float(m.second)));
  dev.Init();
  audio.Init();
  FlowTestGame::StateNames() = states;
  m_pGame = new FlowTestGame();
  m_pScoped = new brworld::ScopedApp(m_pGame, withMap);
  if (withMap) {
    BrRAGMap* map = Map();
    map->LoadObjectConfig();
    map->InitGrid(width, height);
    for (int y = 0; y < height; ++y)
      for (int x = 0; x < width; ++x) map->GetCell(x, y)->SetValid(true);
  }
}

FlowWorld::~FlowWorld() {
  delete m_pScoped;
  BrEngineTestSeams::Script() = m_pOldScript;
  dev.Exit();
}

BrDemoEntity* FlowWorld::Spawn(const char* kind, float x, float z) {
  BrDemoEntity* entity = Map()->SpawnScripted(BrStringT<char>(kind));
  if (!entity) return nullptr;
  entity->Location() = BrVector(x, 0.0f, z);
  Map()->AddObject(entity);
  return entity;
}

BrRAGPlayer* FlowWorld::SpawnPlayer(const char* kind, float x, float z) {
  BrDemoEntity* entity = Spawn(kind, x, z);
  return entity && entity->IsA(BrRAGPlayer::Type) ? static_cast<BrRAGPlayer*>(entity) : nullptr;
}

BrDemoEntity* FlowWorld::Give(BrRAGPlayer* player, const char* kind) {
  BrDemoEntity* item = Spawn(kind);
  if (!item) return nullptr;
  item->SetDrawnByMap(false);
  player->AddToInventory(item->GetID());
  item->SetOwner(player->GetID());
  return item;
}

void FlowWorld::Frame(float dt) {
  m_pGame->Step(dt);
  m_pGame->Draw(&dev);
  if (Engine().GUI()) Engine().GUI()->Draw(&dev);
}

std::vector<std::string> FlowWorld::Texts() const {
  std::vector<std::string> out;
  for (const auto& t : dev.texts) out.push_back(t.text);
  return out;
}

bool FlowWorld::Drew(const std::string& text) const {
  for (const auto& t : dev.texts)
    if (t.text == text) return true;
  return false;
}

std::vector<RecordingRenderDevice::Sprite> FlowWorld::SpritesOf(const std::string& name) const {
  std::vector<RecordingRenderDevice::Sprite> out;
  RecordingEffectorMgr* fx = const_cast<RecordingRenderDevice&>(dev).Effectors();
  for (const auto& s : dev.sprites)
    if (fx && s.effector < fx->names.size() && fx->names[s.effector] == name) out.push_back(s);
  return out;
}

}  // namespace flowtest
