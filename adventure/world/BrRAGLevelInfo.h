// BrRAGLevelInfo: the framework's per-level information: generation parameters, music, description and hint.
#pragma once

#include "engine/kernel/BrClassFactory.h"
#include "engine/kernel/BrLevelInfo.h"
#include "engine/presentation/BrAudioID.h"
#include "templates/BrStringT.h"

class BrBin;
class BrCfgFile;

// What a level is generated from and what the game shows about it. The game content derives its own level
// information from it and hands it to the map's ProcessLevelInfo.
class BrRAGLevelInfo : public BrLevelInfo {
  BR_DECLARE_CLASS(BrRAGLevelInfo)
public:
  // Rooms and caverns added per point of difficulty, from difficulty 2 on.
  static const int ciDifficultyBonus = 2;
  // The tallest walls a level may have, in cells: the camera stands one cell above them.
  static constexpr float cfMaxWallScale = 16.0f;
  // Length of the buffer text keys are read into, terminator included.
  static const int ciTextLen = 260;

  // 4 rooms, 4 caverns, walls 1.5 cells high, no music, not the last level, no description or hint, density 75.
  BrRAGLevelInfo();
  // Copies every field after the base's (the music through its own copy).
  BrRAGLevelInfo(const BrRAGLevelInfo& other);
  BrRAGLevelInfo& operator=(const BrRAGLevelInfo& other);
  ~BrRAGLevelInfo() override;

  // The base's stream, then room count, cavern count, wall scale (floats), completed (a byte) and density
  // (float): 17 bytes. Music, description and hint are not streamed.
  void Serialize(BrBin& bin) override;
  // The entity's keys, then RoomCount and CavernCount (plus the difficulty bonus), Music, WallHeight, Density
  // (clamped to 0 .. 100), Complete (> 0), Desc and LevelHint. Missing keys leave their fields.
  void LoadScript(const char* section, BrCfgFile* file) override;

  float GetRoomCount() const { return m_fRoomCount; }
  float GetCavernCount() const { return m_fCavernCount; }
  // Wall height in cells.
  float GetWallScale() const { return m_fWallScale; }
  // How densely the level is populated, 0 .. 100.
  float GetDensity() const { return m_fDensity; }
  void SetRoomCount(float count) { m_fRoomCount = count; }
  void SetCavernCount(float count) { m_fCavernCount = count; }
  void SetWallScale(float scale) { m_fWallScale = scale; }
  // Stores the density clamped to 0 .. 100.
  void SetDensity(float density);
  // Reaching this level completes the game.
  bool IsCompleted() const { return m_bCompleted; }
  BrAudioID& GetMusicID() { return m_Music; }
  // Plays the level's music looping at the music volume, loading its file again when the sound was let go (music
  // turned off and on again within the level); false without music, a device or a playable sound.
  bool PlayMusic();
  BrStringT<char> GetLevelDesc() const { return m_Desc; }
  BrStringT<char> GetLevelHint() const { return m_Hint; }

protected:
  float m_fRoomCount;
  float m_fCavernCount;
  float m_fWallScale;
  BrAudioID m_Music;
  BrStringT<char> m_MusicFile;
  bool m_bCompleted;
  BrStringT<char> m_Desc;
  BrStringT<char> m_Hint;
  float m_fDensity;
};
