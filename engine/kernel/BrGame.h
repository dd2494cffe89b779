// BrGame: the game application: HUD, minimap, difficulty and the writing and reading of save games.
#pragma once

#include <cstdint>

#include "engine/kernel/BrApplication.h"

class BrHUD;
class BrMiniMap;
class BrRenderBase;

// The base of the framework's game. Save games are "GINF", the version, the difficulty, the map class name
// and the map's own stream.
class BrGame : public BrApplication {
  BR_DECLARE_CLASS(BrGame)
public:
  // No HUD or minimap yet, HUD type "BrHUD", difficulty 1.
  BrGame();
  ~BrGame() override;

  // The application's form, then the difficulty from archive version 266.
  void Serialize(BrBin& bin) override;
  // Spawns and initialises the HUD (BrHUD when the configured class fails) and hands it to the widget manager,
  // then the application's Init with the system cursor hidden; true.
  bool Init() override;
  // The HUD's step, then the current state's.
  void Step(float dt) override;
  // Deletes the minimap, then the application's Destroy.
  void Destroy() override;
  // The current state, then DrawHUD with the engine's device.
  void Draw(BrRenderBase* render) override;
  // The application's map, then a new minimap.
  void CreateMap() override;
  // Nothing.
  void DisplayMsg(char* text) override;
  // Nothing: the game base has no states.
  void AddStates() override;

  // Draws the minimap.
  virtual void DrawHUD(BrRenderBase* render);
  // Nothing in the base.
  virtual void CreateHUDControls();
  // "autosave.gin".
  virtual BrStringT<char> GetAutoSaveFilename();
  // Writes the save game to media folder + "\\" + name, through a temporary file beside it that replaces the
  // target only once complete. False without a map, when the file cannot be made or a write fails; an existing
  // save is then left as it was.
  virtual bool SaveGame(const BrStringT<char>& name);
  // Reads nothing and returns false in the base; the framework's game reads its saves.
  virtual bool LoadGame(const BrStringT<char>& name);
  // Nothing in the base.
  virtual void ShowHint(const BrStringT<char>& name);

  // Reads the save game at media folder + "\\" + name: LoadSaveFileAt with that path.
  bool LoadSaveFile(const BrStringT<char>& name);
  // Reads the save game at path (as given) into a new map and, only when the whole file reads back sound, makes
  // it the game's map with the saved difficulty. A file without the "GINF" header is read as version 262 with
  // difficulty 1. The saved map class must be the game's map class (or derive from it; "BrMap" when the game
  // names none). False, logged, with the running game, its map type and difficulty untouched, for a missing,
  // truncated or corrupt file or one made for another map.
  bool LoadSaveFileAt(const BrStringT<char>& path);

  BrHUD* GetHUD() const { return m_pHUD; }
  BrMiniMap* GetMiniMap() const { return m_pMiniMap; }
  void SetHUDType(const BrStringT<char>& type) { m_HUDType = type; }
  void SetMiniMapType(const BrStringT<char>& type) { m_MiniMapType = type; }
  // The hardest difficulty a game offers (0 easy to 3 nightmare); a save holding any other value is refused.
  static const int32_t ciMaxDifficulty = 3;
  // Stores the difficulty, raised to at least 0.
  void setDifficulty(int difficulty) { m_iDifficulty = difficulty < 0 ? 0 : difficulty; }
  int getDifficulty() const { return m_iDifficulty; }

protected:
  // Replaces the minimap with a new one of the minimap type ("BrMiniMap" when empty).
  void CreateMiniMap();
  void DestroyMiniMap();

  BrMiniMap* m_pMiniMap;
  BrStringT<char> m_MiniMapType;
  BrHUD* m_pHUD;
  BrStringT<char> m_HUDType;
  int32_t m_iUnused;
  int32_t m_iDifficulty;
  // Set while no widget manager took the HUD, so that the game frees it itself.
  bool m_bOwnsHUD;
};
