// BrRAGMutator: attaching to an actor by id, counting down, command arguments, icons and the archive form.
#include "adventure/world/BrRAGMutator.h"

#include "adventure/world/BrRAGActor.h"
#include "adventure/world/BrRAGResolve.h"
#include "core/BrBin.h"
#include "engine/kernel/BrBillboard.h"
#include "engine/presentation/BrEffectorMgr.h"
#include "engine/presentation/BrFontMgr.h"
#include "engine/presentation/BrRenderBase.h"
#include "templates/BrArchiveOps.h"

BR_IMPLEMENT_CLASS(BrRAGMutator, BrGameObj)

namespace {
const char* const kszIconFolder = "Textures\\icons\\mutators\\";
}

BrRAGMutator::BrRAGMutator()
    : m_fDuration(10.0f),
      m_iMutatedID(-1),
      m_iIconEffector(-1),
      m_bPublic(false),
      m_bTriggered(false),
      m_fTickTimer(0.0f) {}

BrRAGMutator::BrRAGMutator(const BrRAGMutator& other)
    : BrGameObj(other),
      m_fDuration(other.m_fDuration),
      m_iMutatedID(other.m_iMutatedID),
      m_SpawnParams(other.m_SpawnParams),
      m_iIconEffector(other.m_iIconEffector),
      m_bPublic(other.m_bPublic),
      m_bTriggered(other.m_bTriggered),
      m_fTickTimer(other.m_fTickTimer) {}

BrRAGMutator& BrRAGMutator::operator=(const BrRAGMutator& other) {
  if (this == &other) return *this;
  BrGameObj::operator=(other);
  m_fDuration = other.m_fDuration;
  m_iMutatedID = other.m_iMutatedID;
  m_SpawnParams = other.m_SpawnParams;
  m_iIconEffector = other.m_iIconEffector;
  m_bPublic = other.m_bPublic;
  m_bTriggered = other.m_bTriggered;
  m_fTickTimer = other.m_fTickTimer;
  return *this;
}

BrRAGMutator::~BrRAGMutator() { ClearSpawnParams(); }

void BrRAGMutator::Serialize(BrBin& bin) {
  BrGameObj::Serialize(bin);
  bin << m_fDuration;
  bin << m_iMutatedID;
  m_SpawnParams.Serialize(bin);
}

void BrRAGMutator::Step(float dt) {
  if (m_fDuration > 0.0f) {
    m_fDuration -= dt;
    if (m_fDuration <= 0.0f) Remove();
  }
  BrGameObj::Step(dt);
}

void BrRAGMutator::Destroy() {
  ClearSpawnParams();
  BrGameObj::Destroy();
}

bool BrRAGMutator::Apply(BrRAGActor* actor) {
  if (!actor) return false;
  // Moving to another actor only detaches from the old one: Remove would destroy the mutator being applied.
  BrRAGActor* previous = GetMutated();
  if (previous && previous != actor) previous->LostMutator(GetID());
  m_iMutatedID = actor->GetID();
  if (previous != actor) actor->AddMutator(GetID());
  SetOwner(actor->GetID());
  return true;
}

void BrRAGMutator::Remove() {
  BrRAGActor* actor = GetMutated();
  if (actor) actor->LostMutator(GetID());
  m_iMutatedID = -1;
  Destroy();
}

void BrRAGMutator::OwnerTakeDMG(BrRAGDamage&) {}

void BrRAGMutator::OwnerAttacks(BrRAGActor*, bool, BrRAGDamage&) {}

bool BrRAGMutator::CanApplyOther(const BrStringT<char>&) { return true; }

BrRAGActor* BrRAGMutator::GetMutated() { return brRAGResolve<BrRAGActor>(m_iMutatedID); }

void BrRAGMutator::SetMutated(int id) { m_iMutatedID = id; }

BrStringT<char> BrRAGMutator::GetSpawnParam(int i) const {
  if (i < 0 || i >= m_SpawnParams.GetCount()) return BrStringT<char>();
  return m_SpawnParams[i];
}

void BrRAGMutator::ParseCmdLine(BrStringT<char>& arguments) {
  ClearSpawnParams();
  // Every comma ends a piece, so n commas give n + 1 pieces, empty ones included; blanks are kept.
  BrStringT<char> piece;
  const char* text = arguments.c_str();
  for (int i = 0; i < arguments.Length(); ++i) {
    if (text[i] == ',') {
      m_SpawnParams.Add(piece);
      piece = BrStringT<char>();
    } else {
      piece += text[i];
    }
  }
  m_SpawnParams.Add(piece);
  ParseSpawnParams();
}

void BrRAGMutator::ParseSpawnParams() {}

void BrRAGMutator::ClearSpawnParams() { m_SpawnParams.Clear(); }

int BrRAGMutator::GetDurationSECs() {
  if (!(m_fDuration > -2147483520.0f && m_fDuration < 2147483520.0f)) return m_fDuration > 0.0f ? INT32_MAX : 0;
  return int(m_fDuration);
}

BrStringT<char> BrRAGMutator::NameFor(const BrStringT<char>& command) {
  const BrStringT<char> prefix("MUT");
  if (command.Length() >= 3 && command(0, 3) == prefix) return command;
  return prefix + command;
}

void BrRAGMutator::DrawIcon(BrRenderBase* render, float x, float y, float width, float height) {
  if (!render) return;
  // One attempt only: an icon that failed to load keeps 0 and is not looked for again every frame.
  if (m_iIconEffector < 0 && render->FXMgr()) {
    const BrStringT<char> name(GetName());
    const int effector =
        render->FXMgr()->LoadIconA(BrStringT<char>(kszIconFolder) + name + ".tga", BrStringT<char>("Shader") + name);
    m_iIconEffector = effector > 0 ? effector : 0;
  }
  if (m_iIconEffector > 0) {
    BrARGB white(255, 255, 255, 255);
    render->DrawSprite(x, y, width, height, (unsigned int)m_iIconEffector, 0.001f, white, 0.0f, 0.001f, 0.001f, 0.999f,
                       0.999f);
  }
  DrawDuration(render, x + 0.9f * width, y + 0.9f * height);
}

void BrRAGMutator::DrawDuration(BrRenderBase* render, float x, float y) {
  const int seconds = GetDurationSECs();
  if (!render || seconds <= 0) return;
  BrFontMgr* fonts = render->FontMgr();
  if (fonts) fonts->SizeUp(1);
  BrARGB white(255, 255, 255, 255);
  render->DrawTextf(x, y, white, eFontFormatCentre, (char*)"%i", seconds);
  if (fonts) fonts->SizeDown(1);
}

bool BrRAGMutator::DrawBillboard(BrRenderBase* render, BrBillboard& billboard, const BrVector& position, float scale) {
  if (!m_bPublic) return false;
  const BrStringT<char> name(GetName());
  billboard.SetEffector(BrStringT<char>("Shader") + name + "BB", BrStringT<char>(kszIconFolder) + name + ".tga");
  billboard.ScaleX() = scale;
  billboard.ScaleY() = scale;
  billboard.GetCoords().Position = position;
  if (render) billboard.Draw(render);
  return m_bPublic;
}
