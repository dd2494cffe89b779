// The game's six mutators: flying, healing, poison, proneness to a damage type, removal and speed.
#include "game/Mutators.h"

#include <cmath>
#include <cstdlib>
#include <set>
#include <string>

#include "adventure/world/BrRAGActor.h"
#include "adventure/world/BrRAGDamage.h"
#include "core/BrBin.h"
#include "core/BrLogFile.h"
#include "core/BrNumeric.h"
#include "engine/kernel/BrApplication.h"
#include "engine/kernel/BrBillboard.h"
#include "templates/BrArchiveOps.h"
#include "engine/kernel/BrEngine.h"
#include "engine/kernel/BrMap.h"
#include "engine/presentation/BrAudioMgrBase.h"
#include "engine/presentation/BrEffectorMgr.h"
#include "engine/presentation/BrRenderBase.h"

BR_IMPLEMENT_CLASS(MUTFlying, BrRAGMutator)
BR_IMPLEMENT_CLASS(MUTHeal, BrRAGMutator)
BR_IMPLEMENT_CLASS(MUTPoison, BrRAGMutator)
BR_IMPLEMENT_CLASS(MUTProne, BrRAGMutator)
BR_IMPLEMENT_CLASS(MUTRemove, BrRAGMutator)
BR_IMPLEMENT_CLASS(MUTSpeed, BrRAGMutator)

namespace {

// Removals one MUTRemove makes at most; a mutator that would not leave its actor cannot hold it for ever.
const int ciMaxRemovals = 256;

void Say(BrRAGActor* actor, const char* text) {
  if (actor) actor->DisplayMsg(const_cast<char*>(text));
}

BrStringT<char> OwnName(const BrObject& object) { return BrStringT<char>(object.GetName()); }

// A sprite over the rectangle in opaque white, the whole texture, just in front.
void DrawIconSprite(BrRenderBase* render, float x, float y, float w, float h, int effector) {
  BrARGB white(255, 255, 255, 255);
  render->DrawSprite(x, y, w, h, unsigned(effector), 0.001f, white, 0.0f, 0.001f, 0.001f, 0.999f, 0.999f);
}

int LoadIcon(const BrStringT<char>& file, const BrStringT<char>& name) {
  BrRenderBase* render = Engine().Render();
  BrEffectorMgr* fx = render ? render->FXMgr() : nullptr;
  return fx ? fx->LoadIconA(file, name) : 0;
}

void PlaceBillboard(BrRenderBase* render, BrBillboard& billboard, const BrVector& point, float size) {
  billboard.ScaleX() = size;
  billboard.ScaleY() = size;
  billboard.Location() = point;
  billboard.Draw(render);
}

}  // namespace

// ---- MUTFlying ----

MUTFlying::MUTFlying() : m_fPhase(0.0f) {}

MUTFlying::~MUTFlying() {}

bool MUTFlying::Init() {
  BrRAGMutator::Init();
  m_fDuration = 60.0f;
  return true;
}

bool MUTFlying::Apply(BrRAGActor* actor) {
  if (!actor || actor->GetMutator(OwnName(*this), true)) {
    Destroy();
    return false;
  }
  Say(actor, "You feel weightless! You can fly!");
  m_fPhase = brRandRangeF(0.0f, 360.0f);
  return BrRAGMutator::Apply(actor);
}

void MUTFlying::Step(float dt) {
  BrRAGActor* actor = GetMutated();
  m_fPhase += 10.0f * dt;
  if (m_fPhase >= 360.0f) m_fPhase -= 360.0f;
  if (actor) {
    if (actor->Location().y < 128.0f) actor->Location().y = 128.0f;
    actor->SetDrawOffset(BrVector(0.0f, 16.0f * float(std::sin(double(m_fPhase))), 0.0f));
  }
  BrRAGMutator::Step(dt);
}

void MUTFlying::Remove() {
  BrRAGActor* actor = GetMutated();
  if (actor) {
    if (actor->CountTimesMutatedBy(OwnName(*this)) == 1)
      Say(actor, "You feel your weight return.");
    else
      Say(actor, "You feel heavy once more, but your wings return!");
    actor->Location() = BrVector(actor->Location().x, actor->GetDrawScale().y, actor->Location().z);
    // Landed actors are drawn where they stand, not at the last height of the bob.
    actor->SetDrawOffset(BrVector());
    actor->StopPathing();
  }
  BrRAGMutator::Remove();
}

void MUTFlying::OwnerTakeDMG(BrRAGDamage& damage) {
  if (damage.GetPoints() <= 1.0f || damage.IsRanged()) return;
  if (damage.HasEdge(BrStringT<char>("Poison")) || damage.HasEdge(BrStringT<char>("Internal"))) return;
  BrApplication* app = Engine().App();
  BrMap* map = app ? app->Map() : nullptr;
  BrGameObj* owner = map ? map->GetObjectA(damage.GetOwnerID()) : nullptr;
  BrRAGActor* attacker =
      owner && owner->IsValid() ? static_cast<BrRAGActor*>(owner->SafeCast(&BrRAGActor::Type)) : nullptr;
  if (!attacker || attacker->GetMutator(BrStringT<char>("MUTFlying"), true)) return;
  damage.SetPoints(damage.GetPoints() / 2.0f);
}

bool MUTFlying::DrawBillboard(BrRenderBase*, BrBillboard&, const BrVector&, float) { return false; }

// ---- MUTHeal ----

MUTHeal::MUTHeal() : m_fAmount(10.0f) {}

MUTHeal::~MUTHeal() {}

void MUTHeal::ParseSpawnParams() {
  if (m_SpawnParams.GetCount() > 0)
    m_fAmount = float(std::atoi(m_SpawnParams[0].c_str() ? m_SpawnParams[0].c_str() : "0"));
}

bool MUTHeal::Apply(BrRAGActor* actor) {
  if (!actor) {
    Destroy();
    return false;
  }
  if (BrRAGMutator::Apply(actor)) {
    BrRAGDamage heal;
    heal.SetPoints(-m_fAmount);
    BrStringT<char> edge("Internal");
    heal.AddEdge(edge);
    actor->TakeDMG(heal);
    Remove();
  }
  return false;
}

// ---- MUTPoison ----

BrAudioID& MUTPoison::PoisonSFX() {
  static BrAudioID sound;
  return sound;
}

MUTPoison::MUTPoison() : m_fDmgPerSecond(0.1f), m_fAccumulated(0.0f) {}

MUTPoison::~MUTPoison() {}

void MUTPoison::Serialize(BrBin& bin) {
  BrRAGMutator::Serialize(bin);
  bin << m_fDmgPerSecond << m_fAccumulated;
}

bool MUTPoison::Init() {
  BrRAGMutator::Init();
  m_fDuration = 60.0f;
  return true;
}

void MUTPoison::ParseSpawnParams() {
  m_fDmgPerSecond = 0.1f;
  m_fAccumulated = 0.0f;
  if (m_SpawnParams.GetCount() == 0) return;
  const char* text = m_SpawnParams[0].c_str() ? m_SpawnParams[0].c_str() : "0";
  const double rate = std::atof(text);
  // A rate past any actor's health would sum to infinity, and a game saved with it could not be loaded again.
  if (std::isfinite(rate) && std::fabs(rate) <= double(cfMaxDmgPerSecond)) {
    m_fDmgPerSecond = float(rate);
    return;
  }
  static std::set<std::string> told;
  if (told.insert(text).second)
    GLog.printf("ERROR: MUTPoison(%s) is no rate of at most %g a second: it poisons at %g\n", text,
                double(cfMaxDmgPerSecond), double(m_fDmgPerSecond));
}

bool MUTPoison::Apply(BrRAGActor* actor) {
  if (!actor || actor->GetMutator(BrStringT<char>("MUTImmune(Poison)"), true)) {
    Destroy();
    return false;
  }
  BrAudioMgrBase* audio = Engine().Audio();
  if (audio) {
    if (!PoisonSFX().Ready()) audio->CreateAudio(BrStringT<char>("Sounds\\poisoned.wav"), PoisonSFX());
    audio->PlayAudio3D(PoisonSFX(), actor->Location());
  }
  BrRAGMutator* existing = actor->GetMutator(OwnName(*this), false);
  MUTPoison* poison = existing ? static_cast<MUTPoison*>(existing->SafeCast(&MUTPoison::Type)) : nullptr;
  if (!existing) {
    Say(actor, "You are poisoned!");
    m_fTickTimer = 0.0f;
    m_bTriggered = true;
    return BrRAGMutator::Apply(actor);
  }
  if (poison && m_fDmgPerSecond > poison->GetDmgPerSecond()) poison->SetDmgPerSecond(m_fDmgPerSecond);
  Destroy();
  return false;
}

void MUTPoison::Step(float dt) {
  m_fAccumulated += dt * m_fDmgPerSecond;
  m_fTickTimer += dt;
  BrRAGActor* actor = GetMutated();
  if (actor && m_fTickTimer > 1.0f && m_fAccumulated > 1.0f &&
      !actor->GetMutator(BrStringT<char>("MUTImmune(Poison)"), true)) {
    BrRAGDamage damage;
    damage.SetPoints(m_fAccumulated);
    BrStringT<char> edge("Poison");
    damage.AddEdge(edge);
    damage.SetKillerText(BrStringT<char>("a lethal poison"));
    m_fAccumulated = 0.0f;
    m_fTickTimer = 0.0f;
    actor->TakeDMG(damage);
    // The blow may have killed the actor, which takes its mutators with it.
    if (!IsValid()) return;
  }
  BrRAGMutator::Step(dt);
}

void MUTPoison::Remove() {
  BrRAGActor* actor = GetMutated();
  if (actor && actor->IsValid()) Say(actor, "Your head clears as the poison dissipates..");
  BrRAGMutator::Remove();
}

void MUTPoison::OwnerTakeDMG(BrRAGDamage& damage) {
  if (damage.HasEdge(BrStringT<char>("Poison"))) damage.SetColour(BrARGB(255, 0, 255, 0));
}

void MUTPoison::DrawIcon(BrRenderBase* render, float x, float y, float w, float h) {
  if (!render) return;
  if (m_iIconEffector < 0)
    m_iIconEffector =
        LoadIcon(BrStringT<char>("Textures\\icons\\mutators\\MUTPoison.tga"), BrStringT<char>("ShaderPoisonFX"));
  DrawIconSprite(render, x, y, w, h, m_iIconEffector);
  DrawDuration(render, x + 0.9f * w, y + 0.9f * h);
}

bool MUTPoison::DrawBillboard(BrRenderBase* render, BrBillboard& billboard, const BrVector& point, float size) {
  billboard.SetEffector(BrStringT<char>("ShaderMUTPoisonBB"),
                        BrStringT<char>("Textures\\icons\\mutators\\MUTPoison.tga"));
  PlaceBillboard(render, billboard, point, size);
  return true;
}

// ---- MUTProne ----

MUTProne::MUTProne() : m_iDamageIconFX(-1) {}

MUTProne::~MUTProne() {}

void MUTProne::Serialize(BrBin& bin) {
  m_DamageType.Serialize(bin);
  BrRAGMutator::Serialize(bin);
}

void MUTProne::ParseSpawnParams() {
  if (m_SpawnParams.GetCount() > 0) m_DamageType = m_SpawnParams[0];
}

void MUTProne::OwnerTakeDMG(BrRAGDamage& damage) {
  for (int i = 0; i < damage.GetNumEdges(); ++i)
    if (damage.GetEdge(i) == m_DamageType) {
      damage.SetMultiplier(2.0f);
      m_bTriggered = true;
    }
}

void MUTProne::DrawIcon(BrRenderBase* render, float x, float y, float w, float h) {
  if (!render) return;
  if (m_iIconEffector < 0)
    m_iIconEffector =
        LoadIcon(BrStringT<char>("Textures\\icons\\mutators\\mutprone.tga"), BrStringT<char>("ShaderMUTProne"));
  if (m_iDamageIconFX < 0) {
    const BrStringT<char> name = BrStringT<char>("ShaderMUTProne") + m_DamageType;
    m_iDamageIconFX = LoadIcon(BrStringT<char>("Textures\\icons\\mutators\\MUT") + m_DamageType + ".tga", name);
    if (m_iDamageIconFX <= 0)
      m_iDamageIconFX = LoadIcon(BrStringT<char>("Textures\\icons\\mutators\\edges\\") + m_DamageType + ".tga", name);
  }
  DrawIconSprite(render, x, y, w, h, m_iDamageIconFX);
  DrawIconSprite(render, x, y, w, h, m_iIconEffector);
}

bool MUTProne::DrawBillboard(BrRenderBase* render, BrBillboard& billboard, const BrVector& point, float size) {
  if (!m_bTriggered) return false;
  const BrStringT<char> name = BrStringT<char>("ShaderBBProneTo") + m_DamageType;
  billboard.SetEffector(name, BrStringT<char>("Textures\\icons\\mutators\\edges\\") + m_DamageType + ".tga");
  PlaceBillboard(render, billboard, point, size);
  // Effectors are shared by name whatever their texture: the overlay needs a name of its own to be seen.
  billboard.SetEffector(BrStringT<char>("ShaderMUTProneBB"),
                        BrStringT<char>("Textures\\icons\\mutators\\MUTProne.tga"));
  billboard.Draw(render);
  return true;
}

// ---- MUTRemove ----

MUTRemove::MUTRemove() {}

MUTRemove::~MUTRemove() {}

void MUTRemove::Serialize(BrBin& bin) {
  BrRAGMutator::Serialize(bin);
  m_Pattern.Serialize(bin);
}

void MUTRemove::ParseSpawnParams() {
  if (m_SpawnParams.GetCount() > 0) m_Pattern = m_SpawnParams[0];
}

bool MUTRemove::Apply(BrRAGActor* actor) {
  if (!actor) {
    Destroy();
    return false;
  }
  const bool wildcard = m_Pattern.NumOccur('*') > 0;
  if (wildcard) {
    BrStringT<char> stripped;
    for (int i = 0; i < m_Pattern.Length(); ++i)
      if (m_Pattern.c_str()[i] != '*') stripped += m_Pattern.c_str()[i];
    m_Pattern = stripped;
  }
  int removals = 0;
  for (BrRAGMutator* found = actor->GetMutator(m_Pattern, !wildcard); found;
       found = actor->GetMutator(m_Pattern, !wildcard)) {
    if (++removals > ciMaxRemovals) {
      GLog.printf("WARNING: MUTRemove::Apply(..) stopped after %i removals of %s\n", ciMaxRemovals,
                  m_Pattern.c_str() ? m_Pattern.c_str() : "");
      break;
    }
    found->Remove();
  }
  Destroy();
  return false;
}

// ---- MUTSpeed ----

MUTSpeed::MUTSpeed() : m_fAmount(125.0f) {}

MUTSpeed::~MUTSpeed() {}

bool MUTSpeed::Apply(BrRAGActor* actor) {
  if (!actor || actor->GetMutator(OwnName(*this), true)) {
    Destroy();
    return false;
  }
  Say(actor, "You feel light and nimble!");
  actor->SetGroundSpeed(actor->GetGroundSpeed() + m_fAmount);
  return BrRAGMutator::Apply(actor);
}

void MUTSpeed::Remove() {
  BrRAGActor* actor = GetMutated();
  if (actor) {
    if (actor->CountTimesMutatedBy(OwnName(*this)) == 1) {
      Say(actor, "Your feet are heavy once more.");
      actor->SetGroundSpeed(actor->GetGroundSpeed() - m_fAmount);
    } else
      Say(actor, "Your speed falters, but returns!");
  }
  BrRAGMutator::Remove();
}
