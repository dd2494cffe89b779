// BrRAGPlayer: the user's character: experience and ranks, the lantern and its oil, hints, counters, quick slots.
#pragma once

#include <cstdint>

#include "adventure/world/BrRAGActor.h"
#include "templates/TDArray.h"

class BrRAGPlayerHUD;

// One rank of the rank table: entry i describes rank i+1 and the experience it needs.
struct BrRAGRankEntry {
  BrStringT<char> Name;
  int32_t XP = -1;
};

// The player is a framework actor with a player HUD. Its per-frame part (lantern, footsteps, walking frames and
// drawing) lives in BrRAGPlayerStep.cpp; the rank table, walking frames and flags come from its configuration
// and are not saved.
class BrRAGPlayer : public BrRAGActor {
  BR_DECLARE_CLASS(BrRAGPlayer)
public:
  // The lantern's power range.
  static const float cfMinLanternPower;
  static const float cfMaxLanternPower;
  // Oil units burnt per second at lantern level 1.0; one value for every player, set by the configuration.
  static float mfOilBurnRate;
  // Sounds shared by every player, created on first use.
  static BrAudioID muiLeftStepSFX;
  static BrAudioID muiRightStepSFX;
  static BrAudioID muiMapExploredSFX;
  static BrAudioID muiLevelUpSFX;

  // Ground speed 200, no light, lantern 0.5, oil 100, rank 1, no experience.
  BrRAGPlayer();
  // Copies every field.
  BrRAGPlayer(const BrRAGPlayer& other);
  BrRAGPlayer& operator=(const BrRAGPlayer& other);
  // Destroy.
  ~BrRAGPlayer() override;

  // The actor's stream, ten quick slots, light index (read and discarded), lantern, oil, XP, rank, world time,
  // kills, maps explored; from version 263 the shown hints.
  void Serialize(BrBin& bin) override;
  // Player HUD class, the actor's Init, portrait, persistence, the lantern light; lantern and oil reset.
  bool Init() override;
  // The actor's step, the HUD, footsteps, walking frames, the light, oil (an empty lantern kills), world time.
  void Step(float dt) override;
  // Frees the light, walking frames and rank table, then the actor's Destroy.
  void Destroy() override;
  // The actor, the target and destination rings, then the HUD (claiming it when it has no owner).
  void Draw(BrRenderBase* render) override;
  // Carrier, HUD owner, the HUD's Init, then the actor's PostInit.
  void PostInit() override;
  // Draws nothing.
  void DebugDraw(BrRenderBase* render) override;
  // The base HUD, then the plain control "ingame_playerhud" inside it.
  bool CreateHUD() override;
  // The actor's keys, then Rank, AnimsDir, Animated, HasLantern, OilBurnRate, MaxVisDist, RankNames, RankXPs.
  void LoadScript(const char* section, BrCfgFile* cfg) override;
  // Passes the text to the application.
  void DisplayMsg(char* text) override;
  void DisplayMsgf(char* format, ...) override;
  // Within the light radius (less the entity's width), then the actor's line of sight.
  bool CanSee(BrDemoEntity* entity) const override;
  // The actor's death sound, then the modal game-over dialog.
  void Killed(const BrStringT<char>& killer) override;
  // The row of mutator icons at the top of the screen and the name of the one under the cursor.
  void DrawMutators(BrRenderBase* render) override;
  // The actor's AddToInventory; a new slot is announced to the HUD. The slot, or -1 when the pack is full.
  int AddToInventory(int itemId) override;
  // Counts a kill.
  void TargetKilled(const BrStringT<char>& name) override;

  // Lantern level x max view distance x the map's grid scale.
  virtual float GetLightRadius() const;

  int GetRank() const { return m_iRank; }
  int GetKillCount() const { return m_iKillCount; }
  int GetMapsExploredCount() const { return m_iMapsExplored; }
  float GetTimeSinceWorldStart() const { return m_fTimeSinceWorldStart; }
  float GetOilRemaining() const { return m_fOil; }
  bool hasLantern() const { return m_bHasLantern; }
  int GetLightIndex() const { return m_iLightIndex; }
  float GetLanternPower() const { return m_fLanternPower; }
  float GetMaxViewDistance() const { return m_fMaxViewDistance; }
  int GetCurrentFrame() const { return m_iCurrentFrame; }
  int GetNumWalkFrames() const { return m_WalkFrames.GetCount(); }
  int GetWalkFrame(int i) const { return (i >= 0 && i < m_WalkFrames.GetCount()) ? m_WalkFrames[i] : -1; }
  bool IsFacingCamera() const { return m_bFacingCamera; }
  int GetNumRanks() const { return m_Ranks.GetCount(); }
  int GetNumShownHints() const { return m_ShownHints.GetCount(); }

  // 0 without ranks; the top threshold at the top rank; else the XP field.
  int GetXP() const;
  // The experience rank needs (see the rank table); the current XP beyond the table.
  int GetXPForRank(int rank) const;
  // Entry rank-1's name, "Novice" outside the table.
  BrStringT<char> GetRankName() const;
  // Adds points; one rank at most per call.
  void AddXP(unsigned int points);
  // Rank drain: one rank down (not below 1) with its message.
  void LevelDown();
  // Counts an explored map, plays the reveal sound and shows "!!! MAP COMPLETE !!!".
  void OnMapExplored();
  // Zeroes the per-world counters.
  void OnWorldChange();
  bool HasSeenHint(const BrStringT<char>& name) const;
  // Appends the name unless already seen.
  void AddShownHint(const BrStringT<char>& name);
  // Oil += amount, within 0..100.
  void AddOil(float amount);
  // Lantern power += delta, within cfMinLanternPower..cfMaxLanternPower.
  void AdjustLanternPower(float delta);
  // The lantern power with a lantern, else cfMaxLanternPower.
  float GetLanternLevel() const;
  // Animated and at least one walking frame loaded.
  bool isAnimated() const;
  void FaceCamera();
  void FaceAway();
  // The HUD when it is a player HUD, else null.
  BrRAGPlayerHUD* GetPlayerHUD() const;

  // Sends a text message of the given colour and lifetime to the player HUD of who, when who is a live player
  // with one; anyone else hears nothing. Every message of the world to the player goes through here.
  static void SendMessageTo(BrObject* who, const char* text, const BrARGB& colour, float lifetime);

protected:
  // One rank up: stats, the HUD's level-up effect, two messages and the level-up sound.
  void LevelUp();

private:
  // SendMessageTo this player.
  void SendMessage(const char* text, const BrARGB& colour, float lifetime);
  // Step parts.
  void StepWalking(float dt);
  void StepStanding();
  void StepLight();
  void ShowWalkFrame();
  void LoadWalkFrames(const BrStringT<char>& dir);

  int32_t m_iLightIndex;
  float m_fLanternPower;
  float m_fOil;
  float m_fFootstepTimer;
  bool m_bLeftFoot;
  int32_t m_iXP;
  int32_t m_iRank;
  float m_fTimeSinceWorldStart;
  int32_t m_iKillCount;
  int32_t m_iMapsExplored;
  TDArray<BrStringT<char>> m_ShownHints;
  TDArray<int32_t> m_WalkFrames;
  int32_t m_iCurrentFrame;
  float m_fFrameTimer;
  bool m_bFacingCamera;
  bool m_bAnimated;
  bool m_bHasLantern;
  float m_fMaxViewDistance;
  TDArray<BrRAGRankEntry> m_Ranks;
};
