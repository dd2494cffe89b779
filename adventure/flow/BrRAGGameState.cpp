// BrRAGGameState: the framework's state base, its class-wide menu music and the game it belongs to.
#include "adventure/flow/BrRAGGameState.h"

#include "adventure/flow/BrRAGGame.h"
#include "engine/kernel/BrEngine.h"

BR_IMPLEMENT_CLASS(BrRAGGameState, BrBaseState)

BrAudioID BrRAGGameState::menuMusicSFX;

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
