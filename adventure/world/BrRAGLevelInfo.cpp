// BrRAGLevelInfo: reading a level's parameters from its section and streaming them.
#include "adventure/world/BrRAGLevelInfo.h"

#include <cstring>

#include "core/BrBin.h"
#include "core/BrCfgFile.h"
#include "engine/kernel/BrEngine.h"
#include "engine/kernel/BrGame.h"
#include "engine/kernel/BrScriptDaemon.h"
#include "engine/presentation/BrAudioMgrBase.h"
#include "engine/presentation/BrSoundFX.h"
#include "templates/BrArchiveOps.h"

BR_IMPLEMENT_CLASS(BrRAGLevelInfo, BrLevelInfo)

BrRAGLevelInfo::BrRAGLevelInfo()
    : m_fRoomCount(4.0f), m_fCavernCount(4.0f), m_fWallScale(1.5f), m_bCompleted(false), m_fDensity(75.0f) {}

BrRAGLevelInfo::BrRAGLevelInfo(const BrRAGLevelInfo& other)
    : BrLevelInfo(other),
      m_fRoomCount(other.m_fRoomCount),
      m_fCavernCount(other.m_fCavernCount),
      m_fWallScale(other.m_fWallScale),
      m_Music(other.m_Music),
      m_MusicFile(other.m_MusicFile),
      m_bCompleted(other.m_bCompleted),
      m_Desc(other.m_Desc),
      m_Hint(other.m_Hint),
      m_fDensity(other.m_fDensity) {}

BrRAGLevelInfo& BrRAGLevelInfo::operator=(const BrRAGLevelInfo& other) {
  if (this == &other) return *this;
  BrLevelInfo::operator=(other);
  m_fRoomCount = other.m_fRoomCount;
  m_fCavernCount = other.m_fCavernCount;
  m_fWallScale = other.m_fWallScale;
  m_Music = other.m_Music;
  m_MusicFile = other.m_MusicFile;
  m_bCompleted = other.m_bCompleted;
  m_Desc = other.m_Desc;
  m_Hint = other.m_Hint;
  m_fDensity = other.m_fDensity;
  return *this;
}

BrRAGLevelInfo::~BrRAGLevelInfo() {}

bool BrRAGLevelInfo::PlayMusic() {
  BrAudioMgrBase* audio = Engine().Audio();
  if (!audio) return false;
  if (!m_Music.Ready() && m_MusicFile.Length() > 0) audio->CreateAudio(m_MusicFile, m_Music);
  BrSoundFX* music = audio->GetAudio(m_Music);
  if (!music) return false;
  music->SetLooping(true);
  music->SetVolume(0.05f);
  return audio->PlayAudio2D(m_Music);
}

void BrRAGLevelInfo::SetDensity(float density) {
  brClampInPlace(density, 0.0f, 100.0f);
  m_fDensity = density;
}

void BrRAGLevelInfo::Serialize(BrBin& bin) {
  BrLevelInfo::Serialize(bin);
  bin << m_fRoomCount << m_fCavernCount << m_fWallScale << m_bCompleted << m_fDensity;
}

void BrRAGLevelInfo::LoadScript(const char* section, BrCfgFile* file) {
  BrLevelInfo::LoadScript(section, file);
  BrScriptDaemon* script = Engine().Script();
  if (!file || !script) return;

  // Harder games dig more rooms and caverns: two more of each per point of difficulty, from difficulty 2 on.
  float bonus = 0.0f;
  BrApplication* app = Engine().App();
  BrGame* game = app ? static_cast<BrGame*>(app->SafeCast(&BrGame::Type)) : nullptr;
  if (game && game->getDifficulty() >= 2) bonus = float(ciDifficultyBonus * game->getDifficulty());

  char text[ciTextLen];
  std::memset(text, 0, sizeof(text));
  float value = 0.0f;
  if (script->LoadProperty(value, section, file, "RoomCount")) m_fRoomCount = value + bonus;
  if (script->LoadProperty(value, section, file, "CavernCount")) m_fCavernCount = value + bonus;
  if (script->LoadProperty(text, int(sizeof(text)), section, file, "Music") && Engine().Audio()) {
    m_MusicFile = BrStringT<char>(text);
    Engine().Audio()->CreateAudio(m_MusicFile, m_Music);
  }
  // The camera rises to the top of the walls: at or below the floor, or far above the level, it shows nothing.
  if (script->LoadProperty(value, section, file, "WallHeight")) {
    if (value > 0.0f && value <= cfMaxWallScale)
      SetWallScale(value);
    else
      script->RefuseBeyond(section, "WallHeight", value, cfMaxWallScale, "no wall height above 0");
  }
  if (script->LoadProperty(value, section, file, "Density")) SetDensity(value);
  int complete = 0;
  if (script->LoadProperty(complete, section, file, "Complete")) m_bCompleted = complete > 0;
  if (script->LoadProperty(text, int(sizeof(text)), section, file, "Desc")) m_Desc = BrStringT<char>(text);
  if (script->LoadProperty(text, int(sizeof(text)), section, file, "LevelHint")) m_Hint = BrStringT<char>(text);
}
