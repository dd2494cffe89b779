// BrRAGHUD::ControlLeftClicked: the command dispatcher that maps every control id of the game to its action.
#include <cstdlib>
#include <cstring>
#include <string>

#include "adventure/flow/BrRAGGameStateLoadGameMenu.h"
#include "adventure/flow/BrRAGGameStateOptions.h"
#include "adventure/flow/BrRAGHUD.h"
#include "adventure/world/BrRAGActor.h"
#include "adventure/world/BrRAGCfgFile.h"
#include "adventure/world/BrRAGInventory.h"
#include "adventure/world/BrRAGLevelInfo.h"
#include "adventure/world/BrRAGMap.h"
#include "core/BrCoords.h"
#include "core/BrLogFile.h"
#include "core/BrNumeric.h"
#include "core/BrSystem.h"
#include "engine/kernel/BrConfigCache.h"
#include "engine/kernel/BrEngine.h"
#include "engine/kernel/BrGame.h"
#include "engine/presentation/BrAudioMgrBase.h"
#include "engine/presentation/BrFont.h"
#include "engine/presentation/BrFontMgr.h"
#include "engine/presentation/BrGUI.h"
#include "engine/presentation/BrRenderBase.h"
#include "engine/presentation/BrTextureMgrBase.h"
#include "engine/presentation/BrUIControlListBox.h"
#include "engine/presentation/BrUIControlTextBox.h"
#include "engine/presentation/BrUITextButton.h"
#include "platform/win32/win32_kernel.h"

namespace {

BrGame* TheGame() {
  BrApplication* app = Engine().App();
  return app ? static_cast<BrGame*>(app->SafeCast(&BrGame::Type)) : nullptr;
}

BrRAGMap* TheRAGMap() {
  BrApplication* app = Engine().App();
  BrMap* map = app ? app->Map() : nullptr;
  return map ? static_cast<BrRAGMap*>(map->SafeCast(&BrRAGMap::Type)) : nullptr;
}

// The selected line of a list box found anywhere in the widget tree; empty when the box is missing.
BrStringT<char> ListSelection(const char* id) {
  BrGUI* gui = Engine().GUI();
  BrUIControl* control = gui ? gui->GetControl(id, true) : nullptr;
  BrUIControlListBox* list =
      control ? static_cast<BrUIControlListBox*>(control->SafeCast(&BrUIControlListBox::Type)) : nullptr;
  return list ? list->GetCurrentItemText() : BrStringT<char>();
}

BrRAGLevelInfo* LevelInfo() {
  BrApplication* app = Engine().App();
  BrMap* map = app ? app->Map() : nullptr;
  BrLevelInfo* info = map ? map->GetLevelInfo() : nullptr;
  return info ? static_cast<BrRAGLevelInfo*>(info->SafeCast(&BrRAGLevelInfo::Type)) : nullptr;
}

void StopLevelMusic() {
  if (BrRAGLevelInfo* info = LevelInfo()) info->GetMusicID().Stop();
}

bool FileExists(const BrStringT<char>& path) {
  WIN32_FIND_DATAA data;
  HANDLE found = brFindFirstFile(path.c_str(), &data);
  if (found == INVALID_HANDLE_VALUE) return false;
  FindClose(found);
  return true;
}

}  // namespace

bool BrRAGHUD::ControlLeftClicked(const BrStringT<char>& idText) {
  const char* id = idText.c_str();
  if (!id) return false;
  auto is = [id](const char* command) { return std::strcmp(id, command) == 0; };

  if (is("MMenuPlayGameBtn")) {
    // Without the game library a new game finds no map and falls back to this menu: say why instead.
    const TDArray<BrStringT<char>>& missing = Engine().GetMissingLibs();
    if (missing.GetCount() > 0) {
      const std::string entry = missing[0].c_str() ? missing[0].c_str() : "";
      const std::string text = "The game library " + entry.substr(0, entry.find(": ")) +
                               "\ncould not be loaded,\nso there is no game to play.";
      ShowMessage(BrStringT<char>(text.c_str()));
      return true;
    }
    ShowDialog("dlg_newgame", "How tough are you?\n");
    return true;
  }
  static const char* const difficulties[] = {"NewGameEasy", "NewGameMedium", "NewGameHard", "NewGameNightmare"};
  for (int difficulty = 0; difficulty < 4; ++difficulty) {
    if (!is(difficulties[difficulty])) continue;
    if (BrGame* game = TheGame()) game->setDifficulty(difficulty);
    CloseModal();
    ChangeTo("BrRAGGameStatePlaying");
    return true;
  }
  if (is("MMenuExitGameBtn")) {
    ShowDialog("dlg_exitgame", ExitQuip(brRandRangeF(0.0f, 1.0f)));
    return true;
  }
  if (is("MMenuExitGameConfirm")) {
    ChangeTo("BrRAGGameStateShuttingDown");
    return true;
  }
  if (is("MMenuLoadGameBtn")) {
    ChangeTo("BrRAGGameStateLoadGameMenu");
    return true;
  }
  if (is("MMenuOptionsBtn")) {
    ChangeTo("BrRAGGameStateOptions");
    return true;
  }
  if (is("MMenuModsBtn")) {
    ChangeTo("BrRAGGameStateModsMenu");
    return true;
  }
  if (is("MMenuCreditsBtn")) {
    ChangeTo("BrRAGGameStateCredits");
    return true;
  }
  if (is("ModsLoadBtn")) {
    SwitchMod(ListSelection("ModsMenuListBox"));
    return false;
  }
  if (is("LoadLoadBtn")) {
    const BrStringT<char> selection = ListSelection("LoadGameListBox");
    if (selection.Length() == 0) return false;
    BrGame* game = TheGame();
    if (!game || !game->LoadGame(Engine().getMediaDir() + "\\Saves\\" + selection))
      ShowMessage(BrStringT<char>("That saved game could not\nbe loaded."));
    return false;
  }
  if (is("LoadBackBtn")) {
    ChangeTo("BrRAGGameStateMainMenu");
    return true;
  }
  if (is("OptionsCancelBtn") || is("CreditsOKBtn")) {
    if (BrApplication* app = Engine().App()) app->ChangeToPreviousState();
    return true;
  }
  if (is("OptionsOKBtn")) {
    ApplyOptions();
    if (BrApplication* app = Engine().App()) app->ChangeToPreviousState();
    return true;
  }
  if (is("SpeakerTest")) {
    SpeakerTest();
    return true;
  }
  if (is("IGMenuContinueBtn")) {
    ChangeTo("BrRAGGameStatePlaying");
    return true;
  }
  if (is("IGMenuExitBtn")) {
    ShowDialog("dlg_exitingamemenu", "Are you sure you want to exit?\nYour progress will be lost!");
    return true;
  }
  if (is("ExitIngame")) {
    ChangeTo("BrRAGGameStateMainMenu");
    CloseModal();
    return true;
  }
  if (is("InterludeMenuSave")) {
    ActivateControl("cancelsavenode", true);
    CloseModal();
    ChangeTo("BrRAGGameStateWorldComplete");
    return true;
  }
  if (is("InterludeMenuAutosave") || is("InterludeMenuSaveCancel")) {
    BrGame* game = TheGame();
    const bool saved = game && game->SaveGame("Saves\\autosave.gin");
    ChangeTo("BrRAGGameStatePlaying");
    CloseModal();
    if (!saved) ShowMessage(BrStringT<char>("The game could not be saved."));
    return false;
  }
  if (is("InterludeMenuSaveSave")) {
    if (SaveUnderTypedName()) ChangeTo("BrRAGGameStatePlaying");
    return false;
  }
  if (is("DialogNextLevel")) {
    NextLevel();
    return true;
  }
  if (is("CancelModal") || is("AcceptGameOver")) {
    CloseModal();
    return true;
  }
  return false;
}

bool BrRAGHUD::SwitchMod(const BrStringT<char>& name) {
  if (name.Length() == 0) return false;
  const BrStringT<char> folder = BrStringT<char>("Mods\\") + name;
  const BrStringT<char> cfgPath = BrRAGGameStateModsMenu::FindModConfig(name);
  // A mod is taken only when its own configuration exists and names its object configurations; the default
  // file is never written into a mod's folder, and the running game's folders stay in place otherwise.
  if (cfgPath.Length() == 0 || !FileExists(cfgPath)) {
    GLog.printf("ERROR: Mod %s has no configuration file", name.c_str());
    ShowMessage(BrStringT<char>("That mod has no\nconfiguration."));
    return false;
  }
  BrRAGCfgFile file;
  BrStringT<char> configs;
  if (!file.Open(cfgPath.c_str(), 0x1000001) || !file.GetValue(configs, "RAG", "Configs") || configs.Length() == 0) {
    GLog.printf("ERROR: Mod %s names no object configurations", name.c_str());
    ShowMessage(BrStringT<char>("That mod names no\nobject configurations."));
    return false;
  }
  Engine().setMediaDir(folder);
  // The menu music playing is the game's own file: the main menu, entered again below, starts the mod's.
  BrRAGGameState::menuMusicSFX.Stop();
  BrRenderBase* render = Engine().Render();
  if (render && render->TextureMgr()) render->TextureMgr()->ReloadStatics();
  // The fonts' textures came again from the mod's folder; their character widths are read from there too.
  if (BrFontMgr* fonts = render ? render->FontMgr() : nullptr)
    for (int i = 0; i < fonts->GetNumFonts(); ++i)
      if (BrFont* font = fonts->GetFont(i)) font->SetName(BrStringT<char>(font->GetName()));
  if (BrConfigCache* config = Engine().GetConfig()) config->ReadConfigFromFile(&file);
  file.Close();
  Engine().LoadNativeLibs();
  ChangeTo("BrRAGGameStateMainMenu");
  return true;
}

void BrRAGHUD::ApplyOptions() {
  BrUIControl* panel = GetControl("options", true);
  if (!panel) return;
  BrConfigCache* config = Engine().GetConfig();
  BrApplication* app = Engine().App();
  BrBaseState* state = app ? app->GetState(BrStringT<char>("BrRAGGameStateOptions")) : nullptr;
  const BrRAGGameStateOptions* options =
      state ? static_cast<BrRAGGameStateOptions*>(state->SafeCast(&BrRAGGameStateOptions::Type)) : nullptr;
  // A selector still on the entry it was given from the stored value is not written: an entry stands for a
  // range of values (the shipped mouse speed 75 shows as "<Fast>", which writes 100), and OK must not change
  // what the player did not touch.
  auto selection = [panel, options](const char* id, BrStringT<char>& out) {
    BrUIControl* control = panel->GetControl(id, true);
    BrUITextButton* button = control ? static_cast<BrUITextButton*>(control->SafeCast(&BrUITextButton::Type)) : nullptr;
    if (!button) return false;
    button->GetText(out);
    return !(options && options->ShowsEntryText(id, out));
  };
  BrStringT<char> text;
  bool resolutionChanged = false;
  if (config && selection("OptResolution", text) && text.Length() > 2) {
    // "<width x height>"
    const int x = text.Find("x", 0);
    if (x > 1) {
      const int width = std::atoi(text(1, x - 1).c_str() ? text(1, x - 1).c_str() : "0");
      const int heightLen = text.Length() - 1 - (x + 1);
      if (heightLen > 0) {
        const BrStringT<char> heightText = text(x + 1, heightLen);
        const int height = std::atoi(heightText.c_str() ? heightText.c_str() : "0");
        int current = 0;
        if (config->GetInteger("Display", "ScreenWidth", current) && current != width) resolutionChanged = true;
        config->SetInteger("Display", "ScreenWidth", width);
        if (config->GetInteger("Display", "ScreenHeight", current) && current != height) resolutionChanged = true;
        config->SetInteger("Display", "ScreenHeight", height);
      }
    }
  }
  if (config && selection("OptMouseSpeed", text)) {
    int speed = -1;
    if (text == BrStringT<char>("<Slow>")) speed = 25;
    if (text == BrStringT<char>("<Medium>")) speed = 45;
    if (text == BrStringT<char>("<Fast>")) speed = 100;
    if (speed >= 0) {
      config->SetInteger("App", "MouseSpeedX", speed);
      config->SetInteger("App", "MouseSpeedY", speed);
    }
  }
  if (config && selection("OptHints", text)) {
    if (text == BrStringT<char>("<On>")) config->SetInteger("App", "Hints", 1);
    if (text == BrStringT<char>("<Off>")) config->SetInteger("App", "Hints", 0);
  }
  if (config && selection("OptMusic", text)) {
    if (text == BrStringT<char>("<On>")) {
      config->SetInteger("Audio", "NoMusic", 0);
      // Turned on over a game being played, the level's music starts now rather than at the next level; a map
      // left behind a quit game stays silent.
      BrRAGLevelInfo* info = LevelInfo();
      if (info && app && app->WasInState(BrStringT<char>("BrRAGGameStateInGameMenu"))) info->PlayMusic();
    }
    if (text == BrStringT<char>("<Off>")) {
      config->SetInteger("Audio", "NoMusic", 1);
      StopLevelMusic();
      // The menus' music plays behind the options screen: it stops with the level's.
      BrRAGGameState::menuMusicSFX.Stop();
    }
  }
  if (resolutionChanged) {
    if (BrRenderBase* render = Engine().Render()) {
      render->ToggleFullScreen(false);
      render->ToggleFullScreen(false);
    }
  }
  // The player's choice outlives the run even when it does not end in order. The cache's write merges into the
  // file and replaces it atomically; a failure is logged there and the run goes on with the settings in memory.
  if (config) {
    const BrStringT<char> path = Engine().getMediaDir() + BrStringT<char>("\\Config\\main.cfg");
    BrRAGCfgFile file;
    if (file.Open(path.c_str(), 0x1000001))
      config->WriteConfigToFile(&file);
    else
      GLog.printf("ERROR: The options could not be written back: %s cannot be opened", path.c_str());
    file.Close();
  }
}

void BrRAGHUD::SpeakerTest() {
  BrAudioMgrBase* audio = Engine().Audio();
  if (!audio) return;
  if (!mSpeakerTestSFX.Ready()) audio->CreateAudio("Sounds\\testleft.wav", mSpeakerTestSFX);
  if (!mSpeakerTestRSFX.Ready()) audio->CreateAudio("Sounds\\testright.wav", mSpeakerTestRSFX);
  BrCoords listener;
  if (BrApplication* app = Engine().App()) app->GetAudioListenerCoords(listener);
  audio->PlayAudio3D(mSpeakerTestSFX, listener.Position + BrVector(-100.0f, 0.0f, 0.0f));
  audio->PlayAudio3D(mSpeakerTestRSFX, listener.Position + BrVector(100.0f, 0.0f, 0.0f));
}

bool BrRAGHUD::SaveUnderTypedName() {
  BrGUI* gui = Engine().GUI();
  BrUIControl* control = gui ? gui->GetControl("InterludeMenuSaveBox", true) : nullptr;
  BrUIControlTextBox* box =
      control ? static_cast<BrUIControlTextBox*>(control->SafeCast(&BrUIControlTextBox::Type)) : nullptr;
  if (!box) return false;
  const BrStringT<char> name = SaveNameFromTyped(box->GetText(), cszSavePrompt);
  if (name.Length() == 0) return false;
  BrGame* game = TheGame();
  if (!game || !game->SaveGame(name)) {
    ShowMessage(BrStringT<char>("The game could not be saved."));
    return false;
  }
  return true;
}

void BrRAGHUD::NextLevel() {
  BrRAGMap* map = TheRAGMap();
  if (!map) return;
  CloseModal();
  map->SetLevel(map->GetLevel() + 1);
  BrApplication* app = Engine().App();
  BrActor* actor = app ? app->GetPlayer() : nullptr;
  BrRAGActor* player = actor ? static_cast<BrRAGActor*>(actor->SafeCast(&BrRAGActor::Type)) : nullptr;
  if (player) {
    const int slot = player->Inventory().ContainsItemOfType("Rope");
    if (slot != -1) player->Inventory().UseItem(slot);
  }
  BrGame* game = TheGame();
  const bool saved = game && game->SaveGame("Saves\\autosave.gin");
  // The level change may have opened the world-complete question; a message would replace it.
  BrGUI* gui = Engine().GUI();
  if (!saved && gui && !gui->IsModal()) ShowMessage(BrStringT<char>("The game could not be saved."));
}
