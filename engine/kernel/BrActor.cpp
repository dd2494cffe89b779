// BrActor: the actor's configuration keys, death sound, target lookup and archive form.
#include "engine/kernel/BrActor.h"

#include <cmath>

#include "core/BrBin.h"
#include "core/BrLogFile.h"
#include "engine/kernel/BrEngine.h"
#include "engine/kernel/BrMap.h"
#include "engine/kernel/BrScriptDaemon.h"
#include "engine/presentation/BrAudioMgrBase.h"
#include "templates/BrArchiveOps.h"

BR_IMPLEMENT_CLASS(BrActor, BrDemoEntity)

BrActor::BrActor() : m_fGroundSpeed(200.0f), m_iHealth(10), m_iMaxHealth(10), m_iTargetID(-1) {}

BrActor::BrActor(const BrActor& other)
    : BrDemoEntity(other),
      m_fGroundSpeed(other.m_fGroundSpeed),
      m_iHealth(other.m_iHealth),
      m_iMaxHealth(other.m_iMaxHealth),
      m_PathDest(other.m_PathDest),
      m_HurtSound(other.m_HurtSound),
      m_DeathSound(other.m_DeathSound),
      m_iTargetID(other.m_iTargetID),
      m_HUDColour(other.m_HUDColour) {}

BrActor& BrActor::operator=(const BrActor& other) {
  if (this == &other) return *this;
  BrDemoEntity::operator=(other);
  m_fGroundSpeed = other.m_fGroundSpeed;
  m_iHealth = other.m_iHealth;
  m_iMaxHealth = other.m_iMaxHealth;
  m_PathDest = other.m_PathDest;
  m_HurtSound = other.m_HurtSound;
  m_DeathSound = other.m_DeathSound;
  m_iTargetID = other.m_iTargetID;
  m_HUDColour = other.m_HUDColour;
  return *this;
}

BrActor::~BrActor() {}

void BrActor::Serialize(BrBin& bin) {
  BrDemoEntity::Serialize(bin);
  bin << m_fGroundSpeed;
  bin << m_iHealth;
  bin << m_iMaxHealth;
  bin << m_PathDest;
  bin << m_iTargetID;
  if (bin.GetVersion() >= 268) bin << m_HUDColour;
  // A goal beyond any level would be walked towards for ever.
  const float most = 1.0e6f;
  if (bin.IsLoading() && !bin.HasFailed() &&
      !(std::fabs(m_fGroundSpeed) <= cfMaxGroundSpeed && std::fabs(m_PathDest.x) <= most &&
        std::fabs(m_PathDest.y) <= most && std::fabs(m_PathDest.z) <= most)) {
    GLog.printf("ERROR: Saved actor %s moves at %g towards (%g, %g, %g), out of any level's reach",
                m_Text.c_str() ? m_Text.c_str() : "", double(m_fGroundSpeed), double(m_PathDest.x),
                double(m_PathDest.y), double(m_PathDest.z));
    bin.MarkFailed(nullptr);
  }
}

void BrActor::LoadScript(const char* section, BrCfgFile* cfg) {
  BrDemoEntity::LoadScript(section, cfg);
  BrScriptDaemon* script = Engine().Script();
  if (!cfg || !script || !section) return;
  BrAudioMgrBase* audio = Engine().Audio();
  char text[ciTextLen] = {0};
  const bool hurt = script->LoadProperty(text, ciTextLen, section, cfg, "HurtSound");
  if (audio) audio->CreateAudio(BrStringT<char>(hurt ? text : "Sounds\\hit.wav"), m_HurtSound);
  const bool death = script->LoadProperty(text, ciTextLen, section, cfg, "DeathSound");
  if (audio) audio->CreateAudio(BrStringT<char>(death ? text : "Sounds\\killed.wav"), m_DeathSound);
  float f = 0.0f;
  // Below one point a creature is dead to every attack, which then never strikes it: it could not be killed.
  if (script->LoadProperty(f, section, cfg, "Health")) {
    if (brTruncate(f) >= 1) {
      m_iHealth = brTruncate(f);
      m_iMaxHealth = brTruncate(f);
    } else {
      script->RefuseNumber(section, "Health", f, "is below 1, which no blow could take away: the value is not used");
    }
  }
  // The configuration must not make a speed that every save of the level would then be refused for.
  if (script->LoadProperty(f, section, cfg, "Speed")) {
    if (std::fabs(f) <= cfMaxGroundSpeed)
      SetGroundSpeed(f);
    else
      script->RefuseBeyond(section, "Speed", f, cfMaxGroundSpeed, "faster than any actor may move");
  }
}

// The base has no route finder: it only records the goal, and reports that no path was found.
bool BrActor::PathTo(const BrVector& destination) {
  m_PathDest = destination;
  return false;
}
bool BrActor::CanSee(BrDemoEntity*) const { return false; }

void BrActor::Killed(const BrStringT<char>&) {
  if (BrAudioMgrBase* audio = Engine().Audio()) audio->PlayAudio3D(m_DeathSound, GetCoords().Position);
}

void BrActor::HeadForTargetObj(int) {}
void BrActor::ReachedTargetObj() {}

BrGameObj* BrActor::GetTargetObj() {
  BrMap* map = WorldMap();
  if (!map) return nullptr;
  BrGameObj* target = map->GetObjectA(m_iTargetID);
  return target->IsValid() ? target : nullptr;
}
