// BrRAGHUD: construction, the four adventure cursors, the owner's HUD colour and the dispatcher's helpers.
#include "adventure/flow/BrRAGHUD.h"

#include <cstring>

#include "adventure/flow/BrRAGCursor.h"
#include "adventure/flow/BrRAGUIDialog.h"
#include "engine/kernel/BrActor.h"
#include "engine/kernel/BrApplication.h"
#include "engine/kernel/BrEngine.h"
#include "engine/kernel/BrGame.h"
#include "engine/kernel/BrMap.h"
#include "engine/presentation/BrEffector.h"
#include "engine/presentation/BrEffectorMgr.h"
#include "engine/presentation/BrGUI.h"
#include "engine/presentation/BrRenderBase.h"
#include "engine/presentation/BrRenderPass.h"
#include "engine/presentation/BrTextureMgrBase.h"

BR_IMPLEMENT_CLASS(BrRAGHUD, BrHUD)

BrARGB BrRAGHUD::mHUDColour(255, 255, 255, 255);
BrAudioID BrRAGHUD::mSpeakerTestSFX;
BrAudioID BrRAGHUD::mSpeakerTestRSFX;
const char* const BrRAGHUD::cszSavePrompt = "<click to enter text>";

BrRAGHUD::BrRAGHUD() : miHUDOwner(-1) {}

BrRAGHUD::BrRAGHUD(const BrRAGHUD& other) : BrHUD(other), miHUDOwner(other.miHUDOwner) {}

BrRAGHUD& BrRAGHUD::operator=(const BrRAGHUD& other) {
  if (this != &other) {
    BrHUD::operator=(other);
    miHUDOwner = other.miHUDOwner;
  }
  return *this;
}

BrRAGHUD::~BrRAGHUD() { BrHUD::Destroy(); }

void BrRAGHUD::Serialize(BrBin& bin) { BrHUD::Serialize(bin); }

bool BrRAGHUD::Init() {
  BrHUD::Init();
  // Through this object's own slot, so a derived HUD may register its cursors differently.
  BrRAGCursor::muiBase = AddCursor("Textures\\ui\\cursors\\cursor01.tga", 0.0f, 0.0f);
  BrRAGCursor::muiNoClick = AddCursor("Textures\\ui\\cursors\\curNoClick.tga", 0.1f, 0.1f);
  BrRAGCursor::muiPickup = AddCursor("Textures\\ui\\cursors\\curPickup.tga", 0.25f, 0.25f);
  BrRAGCursor::muiMelee = AddCursor("Textures\\ui\\cursors\\curSword.tga", 0.25f, 0.25f);
  mHUDColour = BrARGB(255, 255, 255, 255);
  if (miHUDOwner != -1) {
    BrApplication* app = Engine().App();
    BrMap* map = app ? app->Map() : nullptr;
    BrGameObj* object = map ? map->GetObjectA(miHUDOwner) : nullptr;
    BrActor* owner = object ? static_cast<BrActor*>(object->SafeCast(&BrActor::Type)) : nullptr;
    if (owner) mHUDColour = owner->getHUDColour();
  }
  return true;
}

int BrRAGHUD::AddCursor(const BrStringT<char>& texture, float hx, float hy) {
  return AddCursorOfClass("BrRAGCursor", texture, hx, hy);
}

const char* BrRAGHUD::ExitQuip(float r) {
  if (r < 0.25f) return "Really go back to work,\nboredom,and drudgery?";
  if (r < 0.5f) return "Go on and quit, you\nalways do!";
  if (r < 0.65f) return "Having an early night?";
  if (r < 0.75f) return "Quit, and you LOSE my\nfriend..";
  if (r < 0.95f) return "Quit to go do chores\nfor mummy?";
  return "One for the road, what\ndo you say?";
}

namespace {

bool IsBlank(char c) { return c == ' ' || c == '\t' || c == '\r' || c == '\n'; }

BrStringT<char> Trimmed(const BrStringT<char>& text) {
  const char* s = text.c_str();
  if (!s) return BrStringT<char>();
  int begin = 0;
  int end = text.Length();
  while (begin < end && IsBlank(s[begin])) ++begin;
  while (end > begin && IsBlank(s[end - 1])) --end;
  return end > begin ? text(begin, end - begin) : BrStringT<char>();
}

}  // namespace

BrStringT<char> BrRAGHUD::SaveNameFromTyped(const BrStringT<char>& typed, const BrStringT<char>& prompt) {
  BrStringT<char> name = Trimmed(typed);
  if (name.Length() == 0 || name == Trimmed(prompt)) return BrStringT<char>();
  // Only the last path component counts, so a typed name can never place the file outside the Saves folder.
  const char* s = name.c_str();
  int start = 0;
  for (int i = 0; i < name.Length(); ++i)
    if (s[i] == '\\' || s[i] == '/' || s[i] == ':') start = i + 1;
  name = Trimmed(start < name.Length() ? name(start, name.Length() - start) : BrStringT<char>());
  if (name.Length() == 0 || name == BrStringT<char>(".") || name == BrStringT<char>("..")) return BrStringT<char>();
  // Line breaks inside the name would make a file the load menu cannot show.
  BrStringT<char> clean;
  for (int i = 0; i < name.Length(); ++i)
    if (name.c_str()[i] != '\n' && name.c_str()[i] != '\r') clean += name.c_str()[i];
  return BrStringT<char>("Saves\\") + clean + ".gin";
}

void BrRAGHUD::ShowDialog(const char* id, const BrStringT<char>& text) {
  struct Layout {
    const char* id;
    float x, y, w, h, padding;
  };
  static const Layout layouts[] = {
      {"dlg_newgame", 0.25f, 0.3f, 0.5f, 0.3f, 0.15f},
      {"dlg_exitgame", 0.3f, 0.4f, 0.4f, 0.3f, 0.15f},
      {"dlg_exitingamemenu", 0.275f, 0.3f, 0.45f, 0.2f, 0.125f},
      {"dlg_message", 0.3f, 0.4f, 0.4f, 0.2f, 0.125f},
  };
  const Layout* layout = nullptr;
  for (const Layout& l : layouts)
    if (std::strcmp(l.id, id) == 0) layout = &l;
  if (!layout) return;

  BrApplication* app = Engine().App();
  BrGame* game = app ? static_cast<BrGame*>(app->SafeCast(&BrGame::Type)) : nullptr;
  BrHUD* hud = game ? game->GetHUD() : nullptr;
  if (!hud) hud = this;
  BrObject* spawned = static_cast<BrObject*>(Engine().Spawn("BrRAGUIDialog"));
  BrRAGUIDialog* dialog = spawned ? static_cast<BrRAGUIDialog*>(spawned->SafeCast(&BrRAGUIDialog::Type)) : nullptr;
  if (!dialog) {
    delete spawned;
    return;
  }
  dialog->Init();
  dialog->SetID(id);
  dialog->SetArea(layout->x, layout->y, layout->w, layout->h);
  dialog->SetTexture("Textures\\ui\\menus\\scrollm.tga");
  dialog->SetTopTexture("Textures\\ui\\menus\\scrollt.tga");
  dialog->SetBaseTexture("Textures\\ui\\menus\\scrollb.tga");
  dialog->SetDialogText(text);
  if (std::strcmp(id, "dlg_newgame") == 0) {
    dialog->AddDialogOption("Easy - I'm just a little fungus!", "NewGameEasy", true);
    dialog->AddDialogOption("Medium - Tough enough! Let's go!", "NewGameMedium", true);
    dialog->AddDialogOption("Hard - Bring it on! Grrargh!", "NewGameHard", true);
    dialog->AddDialogOption("Nightmare - Born to be gibbed!", "NewGameNightmare", true);
  } else if (std::strcmp(id, "dlg_exitgame") == 0) {
    dialog->AddDialogOption("Quit", "MMenuExitGameConfirm", true);
    dialog->AddDialogOption("Cancel", "CancelModal", true);
  } else if (std::strcmp(id, "dlg_exitingamemenu") == 0) {
    dialog->AddDialogOption("No", "CancelModal", true);
    dialog->AddDialogOption("Yes", "ExitIngame", true);
  } else {
    dialog->AddDialogOption("OK", "CancelModal", true);
  }
  dialog->SetDialogFont("Fonts\\fontScript.tga");
  dialog->SetDialogTextSize(4);
  dialog->SetPadding(layout->padding);
  hud->AddChildControl(dialog);
  dialog->SetModal(true);
  dialog->SetActive(true);
}

void BrRAGHUD::ShowMessage(const BrStringT<char>& text) { ShowDialog("dlg_message", text); }

void BrRAGHUD::CloseModal() {
  if (BrGUI* gui = Engine().GUI()) gui->SetModalControl(nullptr);
}

void BrRAGHUD::ChangeTo(const char* state) {
  if (BrApplication* app = Engine().App()) app->ChangeToState(state);
}

void BrRAGHUD::Draw(BrRenderBase* const render) {
  BrGUI* gui = Engine().GUI();
  if (gui && !gui->IsDrawing() && gui->IsTopControl(this)) return;
  BrHUD::Draw(render);
}
