// BrActor: the engine's creature: health, ground speed, hurt and death sounds, a path destination and a target.
#pragma once

#include <cstdint>

#include "core/BrARGB.h"
#include "engine/kernel/BrDemoEntity.h"

// Behaviour is left to the framework's actors; the base holds the data.
class BrActor : public BrDemoEntity {
  BR_DECLARE_CLASS(BrActor)
public:
  // Fastest ground speed a saved game may hold: any faster would carry the actor out of the level within a
  // frame or two (the configurations give a few hundred units a second).
  static constexpr float cfMaxGroundSpeed = 1.0e5f;

  // Ground speed 200, health and max health 10, no target.
  BrActor();
  BrActor(const BrActor& other);
  BrActor& operator=(const BrActor& other);
  ~BrActor() override;

  // The entity part, speed, health, max health, path destination, target id; the HUD colour from version 268.
  void Serialize(BrBin& bin) override;
  // The entity's keys, then HurtSound and DeathSound (with defaults), Health and Speed.
  void LoadScript(const char* section, BrCfgFile* cfg) override;

  // Sets the path goal; false in the base, which finds no path.
  virtual bool PathTo(const BrVector& destination);
  // False in the base.
  virtual bool CanSee(BrDemoEntity* other) const;
  // Plays the death sound at the actor.
  virtual void Killed(const BrStringT<char>& killer);
  // Nothing in the base.
  virtual void HeadForTargetObj(int id);

  float GetGroundSpeed() const { return m_fGroundSpeed; }
  void SetGroundSpeed(float speed) { m_fGroundSpeed = speed; }
  int GetHealth() const { return m_iHealth; }
  // Lowered to max health; no lower bound.
  void SetHealth(int health) { m_iHealth = health > m_iMaxHealth ? m_iMaxHealth : health; }
  int GetMaxHealth() const { return m_iMaxHealth; }
  void SetMaxHealth(int health) { m_iMaxHealth = health; }
  // The destination becomes the actor's own position.
  void StopPathing() { m_PathDest = GetCoords().Position; }
  BrVector& PathDestination() { return m_PathDest; }
  // The target's object when its id resolves to a valid one; else null.
  BrGameObj* GetTargetObj();
  int GetTargetID() const { return m_iTargetID; }
  void SetTargetID(int id) { m_iTargetID = id; }
  BrARGB getHUDColour() const { return m_HUDColour; }
  void setHUDColour(const BrARGB& colour) { m_HUDColour = colour; }
  BrAudioID& HurtSound() { return m_HurtSound; }
  BrAudioID& DeathSound() { return m_DeathSound; }

protected:
  // Nothing in the base.
  virtual void ReachedTargetObj();

  float m_fGroundSpeed;
  int32_t m_iHealth;
  int32_t m_iMaxHealth;
  BrVector m_PathDest;
  BrAudioID m_HurtSound;
  BrAudioID m_DeathSound;
  int32_t m_iTargetID;
  BrARGB m_HUDColour;
};
