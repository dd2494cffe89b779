// BrRAGGameState: the framework's state base, its class-wide menu music and the game it belongs to.
#include "adventure/flow/BrRAGGameState.h"

#include "adventure/flow/BrRAGGame.h"
#include "engine/kernel/BrConfigCache.h"
#include "engine/kernel/BrEngine.h"
#include "engine/presentation/BrEffector.h"
#include "engine/presentation/BrEffectorMgr.h"
#include "engine/presentation/BrRenderBase.h"
#include "engine/presentation/BrRenderPass.h"
#include "engine/presentation/BrTextureMgrBase.h"

BR_IMPLEMENT_CLASS(BrRAGGameState, BrBaseState)

BrAudioID BrRAGGameState::menuMusicSFX;

bool BrRAGGameState::MusicWanted() {
  int noMusic = 0;
  if (BrConfigCache* config = Engine().GetConfig()) config->GetInteger("Audio", "NoMusic", noMusic);
  return noMusic != 1;
}

BrRAGGameState::BrRAGGameState() {}

BrRAGGameState::~BrRAGGameState() { BrBaseState::Destroy(); }

void BrRAGGameState::Serialize(BrBin& bin) { BrBaseState::Serialize(bin); }

void BrRAGGameState::Step(float dt) { BrBaseState::Step(dt); }

void BrRAGGameState::DrawHUD(BrRenderBase* const) {}

bool BrRAGGameState::LeftClick() { return false; }

bool BrRAGGameState::RightClick() { return false; }

BrRAGGame* BrRAGGameState::Game() const {
  BrObject* owner = m_pOwner;
  if (!owner) owner = Engine().App();
  return owner ? static_cast<BrRAGGame*>(owner->SafeCast(&BrRAGGame::Type)) : nullptr;
}

unsigned int BrRAGGameState::MakeScreenEffector(const char* image, const char* name) {
  BrRenderBase* render = Engine().Render();
  BrEffectorMgr* fx = render ? render->FXMgr() : nullptr;
  BrTextureMgrBase* textures = render ? render->TextureMgr() : nullptr;
  if (!fx || !textures) return 0;
  BrEffector* effector = fx->CreateEffector(BrStringT<char>("Shader2d"));
  if (!effector) return 0;
  BrRenderPass* pass = effector->GetPass(0);
  if (!pass) {
    delete effector;
    return 0;
  }
  pass->m_iTexture = static_cast<int32_t>(textures->Load(image));
  pass->m_uiFlags |= eRenderPassAlpha;
  BrStringT<char> effectorName(name);
  const int index = fx->AddEffector(effectorName, effector);
  return index > 0 ? static_cast<unsigned int>(index) : 0u;
}

void BrRAGGameState::DrawScreenSprite(BrRenderBase* render, float x, float y, float w, float h, unsigned int effector,
                                      float depth, const BrARGB& colour) {
  if (!render) return;
  BrARGB c = colour;
  render->DrawSprite(x, y, w, h, effector, depth, c, 0.0f, 0.001f, 0.001f, 0.999f, 0.999f);
}
