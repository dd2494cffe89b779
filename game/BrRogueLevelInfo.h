// BrRogueLevelInfo: the game's level information: floor and wall materials per floor type and the level's specials.
#pragma once

#include "adventure/world/BrRAGLevelInfo.h"
#include "templates/BrStringT.h"
#include "templates/TDArray.h"

class BrRAGActor;

// The kinds of floor a dungeon cell has; a wall type is its floor type plus 3.
enum eROGUEFloorType {
  eROGUEFloorNone = 0,
  eROGUEFloorTunnel = 1,
  eROGUEFloorCavern = 2,
  eROGUEFloorRoom = 3,
  eROGUEWallTunnel = 4,
  eROGUEWallCavern = 5,
  eROGUEWallRoom = 6,
  eROGUEFloorExit = 7
};

// One per range of levels in the dungeon configuration. Names a texture for each floor and wall type, registers
// an effector "Shader" + texture for each, and applies its special mutators to the player for the whole level.
class BrRogueLevelInfo : public BrRAGLevelInfo {
  BR_DECLARE_CLASS(BrRogueLevelInfo)
public:
  // Every texture name empty, no specials.
  BrRogueLevelInfo();
  ~BrRogueLevelInfo() override;

  // The framework's level keys, then the seven texture keys (in the stream's order) and "Special".
  void LoadScript(const char* section, BrCfgFile* file) override;
  // The framework's stream, then the seven texture names; the specials are not stored.
  void Serialize(BrBin& bin) override;
  // Takes the specials off the application's player, empties them, then the entity's Destroy.
  void Destroy() override;

  // Stores the texture for the floor type and registers a copy of "Shader3d" textured with it as
  // "Shader" + texture; returns the effector manager's index. -1 (logged, debug) for type 0, a type above 7 or
  // no effector manager: nothing is stored then.
  int SetEnvFX(eROGUEFloorType type, BrStringT<char> texture);
  // The effector index registered for the floor type's texture; 0 for none, type 0, a type above 7 or no
  // effector manager.
  int GetEnvFX(eROGUEFloorType type) const;
  // The texture name stored for the floor type (empty for none or a type outside 1..7).
  BrStringT<char> GetEnvTexture(eROGUEFloorType type) const;

  // Applies every special mutator to the actor as permanent; nothing for a null or invalid actor.
  void ApplySpecial(BrRAGActor* actor);
  // Removes every special mutator from the actor.
  void RemoveSpecial(BrRAGActor* actor);
  TDArray<BrStringT<char>>& Specials() { return m_Special; }

private:
  // The field of the floor type; null outside 1..7.
  BrStringT<char>* TextureField(int type);
  const BrStringT<char>* TextureField(int type) const;

  BrStringT<char> m_TunnelFloor;
  BrStringT<char> m_RoomFloor;
  BrStringT<char> m_CavernFloor;
  BrStringT<char> m_TunnelWall;
  BrStringT<char> m_RoomWall;
  BrStringT<char> m_CavernWall;
  BrStringT<char> m_ExitFloor;
  TDArray<BrStringT<char>> m_Special;
};
