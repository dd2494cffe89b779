// BrGameHint: the game-hint base.
#include "engine/kernel/BrGameHint.h"

BR_IMPLEMENT_CLASS(BrGameHint, BrDemoEntity)

BrGameHint::BrGameHint() {}
BrGameHint::~BrGameHint() {}
void BrGameHint::Serialize(BrBin& bin) { BrDemoEntity::Serialize(bin); }
void BrGameHint::ShowHint() {}
