// BrRAGPlayerHUD: the player HUD's state: message list, inventory cells, quick slots, timers and the order of drawing.
#include "adventure/flow/BrRAGPlayerHUD.h"

#include "adventure/flow/BrRAGFlowDraw.h"
#include "adventure/flow/BrRAGGameStatePlaying.h"
#include "adventure/flow/BrRAGInvItemCtrl.h"
#include "adventure/world/BrRAGDemoEquipment.h"
#include "adventure/world/BrRAGInventory.h"
#include "adventure/world/BrRAGItem.h"
#include "adventure/world/BrRAGPlayer.h"
#include "engine/kernel/BrApplication.h"
#include "engine/kernel/BrEngine.h"
#include "engine/kernel/BrMap.h"
#include "engine/presentation/BrGUI.h"
#include "engine/presentation/BrRenderBase.h"

BR_IMPLEMENT_CLASS(BrRAGPlayerHUD, BrRAGHUD)

float BrRAGPlayerHUD::mfInvPanelX = 0.25f;
float BrRAGPlayerHUD::mfInvPanelY = 0.8f;
float BrRAGPlayerHUD::mfInvPanelWidth = 0.5f;
float BrRAGPlayerHUD::mfInvPanelHeight = 0.133f;
float BrRAGPlayerHUD::mfInvSlotsWide = 10.0f;
float BrRAGPlayerHUD::mfInvSlotsHigh = 2.0f;
float BrRAGPlayerHUD::mfQuickSlotsPanelX = 0.3f;
float BrRAGPlayerHUD::mfQuickSlotsPanelY = 0.01f;
float BrRAGPlayerHUD::mfQuickSlotsPanelWidth = 0.4f;
float BrRAGPlayerHUD::cfLevelUpEffectDurationSECs = 5.0f;
float BrRAGPlayerHUD::cfPlayerCellX = 0.0f;
float BrRAGPlayerHUD::cfPlayerCellY = 0.74f;
float BrRAGPlayerHUD::cfPlayerCellSizeX = 0.15f;
float BrRAGPlayerHUD::cfPlayerCellSizeY = 0.1929f;
float BrRAGPlayerHUD::cfLanternCellX = 0.85f;
int BrRAGPlayerHUD::miPlayerCellFX = 0;
int BrRAGPlayerHUD::miLanternCellFX = 0;
int BrRAGPlayerHUD::miStatsCellFX = 0;
int BrRAGPlayerHUD::miStatsBarFX = 0;
int BrRAGPlayerHUD::miHealthIconFX = 0;
int BrRAGPlayerHUD::miOilIconFX = 0;
int BrRAGPlayerHUD::miFistIconFX = 0;
int BrRAGPlayerHUD::miStrIconFX = 0;
int BrRAGPlayerHUD::miToHitIconFX = 0;
int BrRAGPlayerHUD::miSpdIconFX = 0;
int BrRAGPlayerHUD::miDefIconFX = 0;
int BrRAGPlayerHUD::miRankIconFX = 0;
BrAudioID BrRAGPlayerHUD::miLowHealthSFX;
BrAudioID BrRAGPlayerHUD::miLowOilSFX;

namespace {

const int ciNumQuickSlots = 10;

bool ValidKey(int key) { return key >= 0 && key < ciNumQuickSlots; }

// Set while the playing state draws the HUD under its fade-in.
bool sUnderFade = false;

bool PlayFadingIn(BrApplication* app) {
  BrBaseState* state = app ? app->GetState(BrStringT<char>("BrRAGGameStatePlaying")) : nullptr;
  return state && state->IsA(BrRAGGameStatePlaying::Type) && static_cast<BrRAGGameStatePlaying*>(state)->IsFadingIn();
}

// A slot is free for reuse once its message has run out and nothing holds it.
bool IsFree(const BrRAGPlayerMsg& msg) { return msg.mfDisplayTime < 0.0f && !msg.mbHold; }

bool IsLive(const BrRAGPlayerMsg& msg) { return msg.mfDisplayTime > 0.0f || msg.mbHold; }

void Release(BrRAGPlayerMsg& msg) {
  msg.mfDisplayTime = -1.0f;
  msg.mbHold = false;
  msg.mIcons.Clear();
  msg.miResultIcon = 0;
}

}  // namespace

BrRAGPlayerHUD::BrRAGPlayerHUD()
    : miDiffModeFX(0),
      miDiffModeSkullsFX(0),
      mfLevelUpTimer(-1.0f),
      mfQuickSlotTimer(0.0f),
      mfLowHealthTimer(-2.0f),
      mfLowOilTimer(-2.0f) {}

BrRAGPlayerHUD::BrRAGPlayerHUD(const BrRAGPlayerHUD& other)
    : BrRAGHUD(other),
      miDiffModeFX(other.miDiffModeFX),
      miDiffModeSkullsFX(other.miDiffModeSkullsFX),
      mMessages(other.mMessages),
      mXPPieFX(other.mXPPieFX),
      mGaugeFX(other.mGaugeFX),
      mLampFX(other.mLampFX),
      mfLevelUpTimer(other.mfLevelUpTimer),
      mQuickSlots(other.mQuickSlots),
      mfQuickSlotTimer(other.mfQuickSlotTimer),
      mfLowHealthTimer(other.mfLowHealthTimer),
      mfLowOilTimer(other.mfLowOilTimer) {}

BrRAGPlayerHUD& BrRAGPlayerHUD::operator=(const BrRAGPlayerHUD& other) {
  if (this == &other) return *this;
  BrRAGHUD::operator=(other);
  miDiffModeFX = other.miDiffModeFX;
  miDiffModeSkullsFX = other.miDiffModeSkullsFX;
  mMessages = other.mMessages;
  mXPPieFX = other.mXPPieFX;
  mGaugeFX = other.mGaugeFX;
  mLampFX = other.mLampFX;
  mfLevelUpTimer = other.mfLevelUpTimer;
  mQuickSlots = other.mQuickSlots;
  mfQuickSlotTimer = other.mfQuickSlotTimer;
  mfLowHealthTimer = other.mfLowHealthTimer;
  mfLowOilTimer = other.mfLowOilTimer;
  return *this;
}

BrRAGPlayerHUD::~BrRAGPlayerHUD() { BrRAGPlayerHUD::Destroy(); }

void BrRAGPlayerHUD::Serialize(BrBin& bin) {
  BrRAGHUD::Serialize(bin);
  mQuickSlots.Serialize(bin);
}

bool BrRAGPlayerHUD::Init() {
  BrRAGHUD::Init();
  CreateInvItemControls();
  EmptyMessages();
  mXPPieFX.Clear();
  mGaugeFX.Clear();
  mLampFX.Clear();
  mfLevelUpTimer = -1.0f;
  // A second Init starts the slots again instead of growing the list past ten.
  mQuickSlots.Clear();
  for (int i = 0; i < ciNumQuickSlots; ++i) mQuickSlots.Add(BrStringT<char>());
  mQuickSlots.FreeExtra();
  cfPlayerCellY = 1.0f - brflow::Aspect(Engine().Render()) * cfPlayerCellSizeY;
  miDiffModeFX = 0;
  miDiffModeSkullsFX = 0;
  return true;
}

void BrRAGPlayerHUD::Destroy() {
  EmptyMessages();
  BrHUD::Destroy();
}

BrRAGPlayer* BrRAGPlayerHUD::GetPlayer() {
  BrApplication* app = Engine().App();
  if (!app || !app->Map()) return nullptr;
  BrGameObj* object = app->Map()->GetObjectA(GetHUDOwner());
  if (!object || !object->IsValid() || !object->IsA(BrRAGPlayer::Type)) return nullptr;
  return static_cast<BrRAGPlayer*>(object);
}

BrUIControl* BrRAGPlayerHUD::GetPlayerPanel() { return GetControl(BrStringT<char>("ingame_playerhud"), true); }

void BrRAGPlayerHUD::Step(float dt) {
  BrRAGPlayer* player = GetPlayer();
  if (!player) return;
  mfQuickSlotTimer += dt;
  for (int i = 0; i < mMessages.GetCount(); ++i) {
    mMessages[i].Step(dt);
    if (IsFree(mMessages[i])) RemoveMessage(i);
  }
  if (mfLevelUpTimer > 0.0f) {
    mfLevelUpTimer -= dt;
    if (mfLevelUpTimer < 0.0f) mfLevelUpTimer = -1.0f;
  }
  if (player->GetOilRemaining() < 20.0f)
    mfLowOilTimer += dt;
  else
    mfLowOilTimer = 0.0f;
  if (IsHealthLow())
    mfLowHealthTimer += dt;
  else
    mfLowHealthTimer = 0.0f;
  BrHUD::Step(dt);
}

bool BrRAGPlayerHUD::IsHealthLow() {
  BrRAGPlayer* player = GetPlayer();
  if (!player) return false;
  const int health = player->GetHealth();
  const int maximum = player->GetMaxHealth();
  if (health < 5) return true;
  // A maximum of 0 or less gives no ratio to compare.
  return maximum > 0 && (float)health / (float)maximum < 0.33f;
}

int BrRAGPlayerHUD::RemoveUnheld() {
  BrGUI* gui = Engine().GUI();
  if (!gui) return 0;
  BrApplication* app = Engine().App();
  BrMap* map = app ? app->Map() : nullptr;
  int removed = 0;
  for (int i = 0; i < gui->GetNumControls(); ++i) {
    BrUIControl* control = gui->GetTopControl(i);
    if (!control || !control->IsA(BrRAGPlayerHUD::Type)) continue;
    bool held = false;
    for (int k = 0; map && !held && k < map->ObjectMgr().WalkCount(); ++k) {
      BrGameObj* object = map->ObjectMgr().WalkObject(k);
      held = object && object->GetHUD() == control;
    }
    if (held) continue;
    // Its player was deleted with its map; the widget manager is the last to know of it.
    gui->ForgetControl(control);
    control->Destroy();
    BrUIControl::DeleteControl(control);
    ++removed;
  }
  return removed;
}

bool BrRAGPlayerHUD::DrawsThisPass() {
  // A HUD left behind by an earlier player whose id the new one reuses would draw that player a second time,
  // with its own stale messages, over the menus and over the live HUD.
  BrRAGPlayer* player = GetPlayer();
  if (player && player->GetHUD() != this) return false;
  // The player draws its HUD with the world, and the widget manager draws it again as a top-level control; one
  // of the two draws. In play it is the widget pass, over everything of the world. In any other state it is the
  // world's pass, so that the state's veil and menus lie over the HUD, and a screen that does not show the world
  // (the menus, the ending) shows none of it.
  BrApplication* app = Engine().App();
  const bool inPlay = app && app->IsInState(BrStringT<char>("BrRAGGameStatePlaying"));
  // The fade-in is drawn before the widget pass, and its depth would hide that pass's HUD whole until the fade
  // ends: while it lasts, the playing state draws the HUD under the fade, so that it comes up with the world.
  if (inPlay && PlayFadingIn(app)) return sUnderFade;
  BrGUI* gui = Engine().GUI();
  const bool widgetPass = gui && gui->IsDrawing();
  return widgetPass == inPlay;
}

void BrRAGPlayerHUD::DrawUnderFade(BrRenderBase* const render) {
  sUnderFade = true;
  Draw(render);
  sUnderFade = false;
}

void BrRAGPlayerHUD::Draw(BrRenderBase* const render) {
  if (!DrawsThisPass()) return;
  BrHUD::Draw(render);
  BrRAGPlayer* player = GetPlayer();
  if (!player || !render) return;
  // The states show and hide the player's panel; the rest of the player's HUD goes with it.
  if (BrUIControl* shown = GetPlayerPanel()) {
    if (!shown->IsActive()) return;
  }
  DrawEquippedWeaponInfo(render);
  DrawPlayerInfo(render);

  BrUIControl* panel = GetPlayerPanel();
  BrMap* map = Engine().App()->Map();
  BrRAGInventory& inventory = player->Inventory();
  for (int i = 0; panel && i < panel->GetNumChildControls(); ++i) {
    BrUIControl* child = panel->GetChildControl(i);
    if (!child || !child->IsA(BrRAGInvItemCtrl::Type)) continue;
    const int slot = static_cast<BrRAGInvItemCtrl*>(child)->GetInvItemSlotIndex();
    if (slot < 0 || slot >= inventory.GetNumberOfSlots()) continue;
    BrGameObj* object = map->GetObjectA(inventory.GetItem(slot));
    if (!object || !object->IsValid() || !object->IsA(BrRAGItem::Type)) continue;
    BrRAGItem* item = static_cast<BrRAGItem*>(object);
    const float px = child->GetPosX();
    const float py = child->GetPosY();
    const float w = child->GetWidth();
    const float h = child->GetHeight();
    if (item->GetStackSize() > 0) {
      brflow::FontUp(render, 2);
      brflow::Text(render, px + 0.8f * w, py + 0.6f * h, BrARGB(255, 255, 255, 255), eFontFormatCentre, "%i",
                   inventory.GetNumItemsInSlot(slot));
      brflow::FontDown(render, 2);
    }
    if (item->GetCharges() > 1) {
      brflow::FontUp(render, 2);
      brflow::Text(render, px + 0.05f * w, py + 0.6f * h, BrARGB(255, 75, 75, 255), eFontFormatNone, "%i",
                   item->GetCharges());
      brflow::FontDown(render, 2);
    }
    if (item->IsA(BrRAGDemoEquipment::Type) && static_cast<BrRAGDemoEquipment*>(item)->GetBonus() > 0)
      brflow::Text(render, px + 0.8f * w, py + 0.05f * h, BrARGB(255, 246, 255, 0), eFontFormatCentre, "+%i",
                   static_cast<BrRAGDemoEquipment*>(item)->GetBonus());
  }

  DrawMessages(render);
  if (player->hasLantern()) DrawLanternCell(render);
  DrawQuickSlots(render);
}

void BrRAGPlayerHUD::AddMessage(BrRAGPlayerMsg msg) {
  const bool hasText = msg.mText.Length() > 0;
  if (hasText && msg.mfDisplayTime > 0.0f) {
    for (int i = 0; i < mMessages.GetCount(); ++i)
      if (mMessages[i].mfDisplayTime > 0.0f && mMessages[i].mText == msg.mText) return;
  }
  if (hasText && msg.mfDisplayTime < 0.0f) {
    for (int i = 0; i < mMessages.GetCount(); ++i)
      if (mMessages[i].mbHold && mMessages[i].mText == msg.mText) return;
  }
  for (int i = 0; i < mMessages.GetCount(); ++i) {
    if (IsFree(mMessages[i])) {
      mMessages[i] = msg;
      return;
    }
  }
  mMessages.Add(msg);
}

void BrRAGPlayerHUD::RemoveMessage(BrRAGPlayerMsg msg) {
  if (msg.mText.Length() <= 0) return;
  for (int i = 0; i < mMessages.GetCount(); ++i)
    if (mMessages[i].mText == msg.mText) Release(mMessages[i]);
}

void BrRAGPlayerHUD::RemoveMessage(int index) {
  if (index < 0 || index >= mMessages.GetCount()) return;
  Release(mMessages[index]);
}

const BrRAGPlayerMsg* BrRAGPlayerHUD::GetMessageSlot(int i) const {
  if (i < 0 || i >= mMessages.GetCount()) return nullptr;
  return &mMessages[i];
}

void BrRAGPlayerHUD::EmptyMessages() {
  for (int i = 0; i < mMessages.GetCount(); ++i) mMessages[i].mText = BrStringT<char>();
  mMessages.Clear();
}

void BrRAGPlayerHUD::DrawMessages(BrRenderBase* const render) {
  brflow::FontUp(render, 3);
  float y = 0.7f;
  for (int i = 0; i < mMessages.GetCount(); ++i) {
    if (!IsLive(mMessages[i])) continue;
    mMessages[i].Draw(render, 0.5f, y);
    y -= brflow::LineHeight(render);
  }
  brflow::FontDown(render, 3);
}

void BrRAGPlayerHUD::CreateInvItemControls() {
  BrUIControl* panel = GetPlayerPanel();
  if (!panel) return;
  // Cells of an earlier Init go first, so that the panel never holds more than one grid.
  for (int i = 0; i < panel->GetNumChildControls(); ++i) {
    BrUIControl* child = panel->GetChildControl(i);
    if (!child || !child->IsA(BrRAGInvItemCtrl::Type)) continue;
    panel->LostChild(child);
    child->Destroy();
    BrUIControl::DeleteControl(child);
  }
  const float width = mfInvPanelWidth / mfInvSlotsWide;
  const float height = mfInvPanelHeight / mfInvSlotsHigh;
  for (int r = 0; (float)r < mfInvSlotsHigh; ++r) {
    for (int c = 0; (float)c < mfInvSlotsWide; ++c) {
      BrRAGInvItemCtrl* cell = brflow::Spawn<BrRAGInvItemCtrl>("BrRAGInvItemCtrl");
      if (!cell) continue;
      cell->SetCarrierID(GetHUDOwner());
      cell->SetArea(mfInvPanelX + (float)c * width, mfInvPanelY + (float)r * height, width, height);
      cell->SetTexture(BrStringT<char>("Textures\\noshader.bmp"));
      panel->AddChildControl(cell);
    }
  }
}

void BrRAGPlayerHUD::NewItemInInvSlot(int slot) {
  BrUIControl* panel = GetPlayerPanel();
  for (int i = 0; panel && i < panel->GetNumChildControls(); ++i) {
    BrUIControl* child = panel->GetChildControl(i);
    if (!child || !child->IsA(BrRAGInvItemCtrl::Type)) continue;
    BrRAGInvItemCtrl* cell = static_cast<BrRAGInvItemCtrl*>(child);
    if (cell->GetInvItemSlotIndex() == -1) {
      cell->SetInvItemSlotIndex(slot);
      return;
    }
  }
}

void BrRAGPlayerHUD::LostItemInInvSlot(int slot) {
  BrUIControl* panel = GetPlayerPanel();
  for (int i = 0; panel && i < panel->GetNumChildControls(); ++i) {
    BrUIControl* child = panel->GetChildControl(i);
    if (!child || !child->IsA(BrRAGInvItemCtrl::Type)) continue;
    BrRAGInvItemCtrl* cell = static_cast<BrRAGInvItemCtrl*>(child);
    if (cell->GetInvItemSlotIndex() == slot) {
      cell->SetInvItemSlotIndex(-1);
      return;
    }
  }
}

void BrRAGPlayerHUD::UseQuickSlot(int key) {
  if (!ValidKey(key) || key >= mQuickSlots.GetCount()) return;
  if (mfQuickSlotTimer <= 0.25f) return;
  const BrStringT<char> type = mQuickSlots[key];
  if (type.Length() <= 0) return;
  BrUIControl* panel = GetPlayerPanel();
  for (int i = 0; panel && i < panel->GetNumChildControls(); ++i) {
    BrUIControl* child = panel->GetChildControl(i);
    if (!child || !child->IsA(BrRAGInvItemCtrl::Type)) continue;
    BrRAGInvItemCtrl* cell = static_cast<BrRAGInvItemCtrl*>(child);
    if (cell->GetInvItemType() == type) {
      cell->LeftClick(cell->GetPosX(), cell->GetPosY());
      mfQuickSlotTimer = 0.0f;
      return;
    }
  }
}

void BrRAGPlayerHUD::AssignQuickSlot(int key, const BrStringT<char>& itemType) {
  if (!ValidKey(key) || key >= mQuickSlots.GetCount()) return;
  for (int i = 0; i < mQuickSlots.GetCount(); ++i)
    if (mQuickSlots[i] == itemType) mQuickSlots[i] = BrStringT<char>();
  mQuickSlots[key] = itemType;
}

BrStringT<char> BrRAGPlayerHUD::GetQuickSlot(int key) {
  if (!ValidKey(key) || key >= mQuickSlots.GetCount()) return BrStringT<char>("Unknown");
  return mQuickSlots[key];
}

void BrRAGPlayerHUD::SetQuickSlot(int key, const BrStringT<char>& itemType) {
  if (!ValidKey(key) || key >= mQuickSlots.GetCount()) return;
  mQuickSlots[key] = itemType;
}

void BrRAGPlayerHUD::DoLevelUp() { mfLevelUpTimer = cfLevelUpEffectDurationSECs; }
