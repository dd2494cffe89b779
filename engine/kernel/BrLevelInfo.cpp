// BrLevelInfo: the level-information base.
#include "engine/kernel/BrLevelInfo.h"

BR_IMPLEMENT_CLASS(BrLevelInfo, BrDemoEntity)

BrLevelInfo::BrLevelInfo() {}
BrLevelInfo::~BrLevelInfo() {}
void BrLevelInfo::Serialize(BrBin& bin) { BrDemoEntity::Serialize(bin); }
