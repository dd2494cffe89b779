// BrNullGameObj: the null game object.
#include "engine/kernel/BrNullGameObj.h"

BR_IMPLEMENT_CLASS(BrNullGameObj, BrGameObj)

BrNullGameObj::BrNullGameObj() {}
BrNullGameObj::~BrNullGameObj() {}
void BrNullGameObj::Serialize(BrBin& bin) { BrGameObj::Serialize(bin); }
bool BrNullGameObj::IsValid() const { return false; }
void BrNullGameObj::AddChild(int) {}
void BrNullGameObj::LostOwner(int) {}
void BrNullGameObj::LostChild(int) {}
