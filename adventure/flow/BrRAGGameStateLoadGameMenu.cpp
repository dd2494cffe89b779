// The load-game and mods menus: their controls, and the list of saves or mods read from the folder every frame.
#include "adventure/flow/BrRAGGameStateLoadGameMenu.h"

#include <strings.h>

#include <cstring>

#include "adventure/flow/BrRAGFlowStates.h"
#include "core/BrFileDevice.h"
#include "core/BrSystem.h"
#include "engine/presentation/BrGUI.h"
#include "engine/presentation/BrUIControlListBox.h"

BR_IMPLEMENT_CLASS(BrRAGGameStateLoadGameMenu, BrRAGGameState)
BR_IMPLEMENT_CLASS(BrRAGGameStateModsMenu, BrRAGGameState)

namespace {

// The folder the application started in; the current folder when the engine has not recorded one (a test
// harness), so that a listing never falls back to the root of the file system.
BrStringT<char> AppFolder() {
  const char* dir = Engine().AppDir();
  if (dir && dir[0]) return BrStringT<char>(dir);
  char current[1024] = {0};
  brGetCurrentDirectory(sizeof(current), current);
  current[sizeof(current) - 1] = 0;
  return BrStringT<char>(current);
}

// The media folder seen from the application folder: an absolute media folder is used as it is.
BrStringT<char> MediaFromApp() {
  const BrStringT<char> media = Engine().getMediaDir();
  const char* m = media.c_str() ? media.c_str() : "";
  if (m[0] == '\\' || m[0] == '/' || (m[0] && m[1] == ':')) return media;
  BrStringT<char> path = AppFolder();
  path += "\\";
  path += media;
  return path;
}

// Node, load and back buttons and the list box, built the same way for both menus.
void BuildMenu(BrHUD* hud, const char* nodeId, const char* loadId, const char* listId, const char* title) {
  BrRenderBase* render = Engine().Render();
  const float h = 0.05f * brflow::Aspect(render);
  BrUIControl* node = brflow::MakeNode(hud, nodeId, false);
  brflow::MakeButton(node, loadId, 0.7f, 0.5f, 0.18f, h, "Textures\\ui\\menus\\load.tga",
                     "Textures\\ui\\menus\\loadover.tga");
  brflow::MakeButton(node, "LoadBackBtn", 0.12f, 0.5f, 0.18f, h, "Textures\\ui\\menus\\cancel.tga",
                     "Textures\\ui\\menus\\cancelover.tga");
  BrUIControlListBox* list = brflow::Spawn<BrUIControlListBox>("BrUIControlListBox");
  if (!list) return;
  list->Init();
  const float w = 0.5f * brflow::Aspect(render);
  list->SetArea(0.3f, (1.0f - w) / 2.0f, 0.4f, w);
  list->setTitle(BrStringT<char>(title));
  list->SetID(BrStringT<char>(listId));
  list->SetTexture(BrStringT<char>("Textures\\ui\\menus\\parchbox.tga"));
  list->SetSelectTexture(BrStringT<char>("Textures\\ui\\menus\\listboxselect.tga"));
  if (node) {
    node->AddChildControl(list);
    list->SetActive(false);
  } else {
    delete list;
  }
}

// Re-centres the list box for the current aspect ratio, then shows the node.
void EnterMenu(const BrBaseState* state, const char* nodeId, const char* listId) {
  BrHUD* hud = brflow::HUDOf(state);
  if (!hud) return;
  if (BrUIControl* list = hud->GetControl(BrStringT<char>(listId), true)) {
    const float w = 0.5f * brflow::Aspect(Engine().Render());
    list->SetArea(0.3f, (1.0f - w) / 2.0f, 0.4f, w);
  }
  hud->ActivateControl(BrStringT<char>(nodeId), true);
}

void LeaveMenu(const BrBaseState* state, const char* nodeId) {
  if (BrHUD* hud = brflow::HUDOf(state)) hud->DeactivateControl(BrStringT<char>(nodeId), true);
}

void DrawBackdrop(BrRenderBase* const render) {
  brflow::Sprite(render, 0.0f, 0.0f, 1.0f, 1.0f, brflow::FindEffector(render, "ShaderSplashFX"), 0.5f,
                 BrARGB(255, 100, 100, 100));
}

BrUIControlListBox* FindList(const char* listId) {
  BrGUI* gui = Engine().GUI();
  BrUIControl* control = gui ? gui->GetControl(BrStringT<char>(listId), true) : nullptr;
  if (!control || !control->IsA(BrUIControlListBox::Type)) return nullptr;
  return static_cast<BrUIControlListBox*>(control);
}

}  // namespace

// ---- Load-game menu ----

BrRAGGameStateLoadGameMenu::BrRAGGameStateLoadGameMenu() {}
BrRAGGameStateLoadGameMenu::~BrRAGGameStateLoadGameMenu() {}

bool BrRAGGameStateLoadGameMenu::Init() {
  BrRAGGameState::Init();
  BuildMenu(brflow::HUDOf(this), "loadgame", "LoadLoadBtn", "LoadGameListBox", "LOAD");
  return true;
}

void BrRAGGameStateLoadGameMenu::OnEntry() {
  BrRAGGameState::OnEntry();
  BrStringT<char> saves = Engine().getMediaDir();
  saves += "\\Saves";
  brCreateDirectory(saves.c_str());
  EnterMenu(this, "loadgame", "LoadGameListBox");
}

void BrRAGGameStateLoadGameMenu::OnExit() {
  LeaveMenu(this, "loadgame");
  BrRAGGameState::OnExit();
}

void BrRAGGameStateLoadGameMenu::Step(float dt) {
  BrRAGGameState::Step(dt);
  brflow::ControllerStep(this);
}

void BrRAGGameStateLoadGameMenu::Draw(BrRenderBase* const render) {
  RefreshGameList();
  DrawBackdrop(render);
  BrRAGGameState::Draw(render);
}

void BrRAGGameStateLoadGameMenu::DrawHUD(BrRenderBase* const render) {
  if (BrHUD* hud = brflow::HUDOf(this)) hud->Draw(render);
}

void BrRAGGameStateLoadGameMenu::RefreshGameList() {
  BrUIControlListBox* list = FindList("LoadGameListBox");
  if (!list) return;
  list->ClearList();
  BrStringT<char> folder = MediaFromApp();
  folder += "\\Saves";
  TDArray<BrStringT<char>> names;
  BrFileDevice::GetFileList(BrStringT<char>("*.gin"), folder, names, eFileOrderDate);
  for (int i = 0; i < names.GetCount(); ++i) list->AddListItem(names[i]);
}

// ---- Mods menu ----

BrRAGGameStateModsMenu::BrRAGGameStateModsMenu() {}
BrRAGGameStateModsMenu::~BrRAGGameStateModsMenu() {}

bool BrRAGGameStateModsMenu::Init() {
  BrRAGGameState::Init();
  BuildMenu(brflow::HUDOf(this), "modsmenu", "ModsLoadBtn", "ModsMenuListBox", "MODS");
  return true;
}

void BrRAGGameStateModsMenu::OnEntry() {
  BrRAGGameState::OnEntry();
  // Made where the menu lists it: beside the application, whatever the current folder is now.
  brCreateDirectory(ModsFolder().c_str());
  EnterMenu(this, "modsmenu", "ModsMenuListBox");
}

void BrRAGGameStateModsMenu::OnExit() {
  LeaveMenu(this, "modsmenu");
  BrRAGGameState::OnExit();
}

void BrRAGGameStateModsMenu::Step(float dt) {
  BrRAGGameState::Step(dt);
  brflow::ControllerStep(this);
}

void BrRAGGameStateModsMenu::Draw(BrRenderBase* const render) {
  RefreshModsList();
  DrawBackdrop(render);
  BrRAGGameState::Draw(render);
}

void BrRAGGameStateModsMenu::DrawHUD(BrRenderBase* const render) {
  if (BrHUD* hud = brflow::HUDOf(this)) hud->Draw(render);
}

BrStringT<char> BrRAGGameStateModsMenu::ModsFolder() {
  BrStringT<char> folder = AppFolder();
  folder += "\\Mods";
  return folder;
}

BrStringT<char> BrRAGGameStateModsMenu::FindModConfig(const BrStringT<char>& modName) {
  if (modName.Length() == 0) return BrStringT<char>();
  BrStringT<char> mod = ModsFolder();
  mod += "\\";
  mod += modName;
  TDArray<BrStringT<char>> folders;
  BrFileDevice::GetFolderList(BrStringT<char>("*"), mod, folders, eFileOrderNone);
  for (int i = 0; i < folders.GetCount(); ++i) {
    const char* name = folders[i].c_str();
    if (!name || strcasecmp(name, "config") != 0) continue;
    BrStringT<char> file = mod;
    file += "\\";
    file += name;
    TDArray<BrStringT<char>> files;
    BrFileDevice::GetFileList(BrStringT<char>("*.cfg"), file, files, eFileOrderNone);
    for (int j = 0; j < files.GetCount(); ++j) {
      if (!files[j].c_str() || strcasecmp(files[j].c_str(), "main.cfg") != 0) continue;
      file += "\\";
      file += files[j];
      return file;
    }
  }
  return BrStringT<char>();
}

void BrRAGGameStateModsMenu::RefreshModsList() {
  BrUIControlListBox* list = FindList("ModsMenuListBox");
  if (!list) return;
  list->ClearList();
  const BrStringT<char> folder = ModsFolder();
  TDArray<BrStringT<char>> names;
  BrFileDevice::GetFolderList(BrStringT<char>("*"), folder, names, eFileOrderDate);
  for (int i = 0; i < names.GetCount(); ++i) {
    const char* name = names[i].c_str();
    if (!name || !name[0] || !strcmp(name, ".") || !strcmp(name, "..")) continue;
    list->AddListItem(names[i]);
  }
}
