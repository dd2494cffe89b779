// The load-game and mods menus: a list of names read from a folder, newest first, with a load and a back button.
#pragma once

#include "adventure/flow/BrRAGGameState.h"
#include "templates/BrStringT.h"

class BrRenderBase;

// Lists the saved games ("*.gin" in the media folder's "Saves" folder) under the node "loadgame".
class BrRAGGameStateLoadGameMenu : public BrRAGGameState {
  BR_DECLARE_CLASS(BrRAGGameStateLoadGameMenu)
public:
  BrRAGGameStateLoadGameMenu();
  ~BrRAGGameStateLoadGameMenu() override;

  // Builds the node, the load and back buttons and the list box; true.
  bool Init() override;
  // Re-centres the list box, creates the Saves folder, shows the node.
  void OnEntry() override;
  // Hides the node and its children.
  void OnExit() override;
  void Step(float dt) override;
  // Rebuilds the list, then the backdrop.
  void Draw(BrRenderBase* const render) override;
  // The HUD.
  void DrawHUD(BrRenderBase* const render) override;

  // The list box's items become the saves, newest first; nothing when the list box is missing.
  void RefreshGameList();
};

// Lists the mods (sub-folders of "Mods" beside the application) under the node "modsmenu".
class BrRAGGameStateModsMenu : public BrRAGGameState {
  BR_DECLARE_CLASS(BrRAGGameStateModsMenu)
public:
  BrRAGGameStateModsMenu();
  ~BrRAGGameStateModsMenu() override;

  bool Init() override;
  // Re-centres the list box, creates the Mods folder, shows the node.
  void OnEntry() override;
  void OnExit() override;
  void Step(float dt) override;
  void Draw(BrRenderBase* const render) override;
  void DrawHUD(BrRenderBase* const render) override;

  // The list box's items become the mod folders, newest first, without "." and "..".
  void RefreshModsList();

  // The "Mods" folder beside the application (the engine's application folder, else the current folder).
  static BrStringT<char> ModsFolder();
  // The mod's "main.cfg" in its configuration folder, whatever the case of that folder's name ("config",
  // "Config", ...); empty when the mod has none.
  static BrStringT<char> FindModConfig(const BrStringT<char>& modName);
};
