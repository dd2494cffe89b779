// BrRAGInvItemCtrl: one inventory cell: its item's icon, the equipped overlay, hover text and the clicks on its slot.
#include "adventure/flow/BrRAGInvItemCtrl.h"

#include "adventure/flow/BrRAGFlowDraw.h"
#include "adventure/flow/BrRAGUIDialog.h"
#include "adventure/world/BrRAGDemoEquipment.h"
#include "adventure/world/BrRAGInventory.h"
#include "adventure/world/BrRAGItem.h"
#include "adventure/world/BrRAGPlayer.h"
#include "engine/kernel/BrApplication.h"
#include "engine/kernel/BrEngine.h"
#include "engine/kernel/BrGame.h"
#include "engine/kernel/BrMap.h"
#include "engine/presentation/BrGUI.h"
#include "engine/presentation/BrHUD.h"
#include "platform/win32/win32_user.h"

BR_IMPLEMENT_CLASS(BrRAGInvItemCtrl, BrUIControl)

namespace {

// The object of an id in the running application's map; null without a map. A bad id gives the map's null
// object, which is not valid.
BrGameObj* ObjectOf(int id) {
  BrApplication* app = Engine().App();
  if (!app || !app->Map()) return nullptr;
  return app->Map()->GetObjectA(id);
}

}  // namespace

BrRAGInvItemCtrl::BrRAGInvItemCtrl()
    : miSlotIndex(-1), mpOwnerInventory(nullptr), miEquippedFX(-1), miBackgroundFX(-1), miCarrierID(-1) {}

BrRAGInvItemCtrl::BrRAGInvItemCtrl(const BrRAGInvItemCtrl& other)
    : BrUIControl(other),
      miSlotIndex(other.miSlotIndex),
      mpOwnerInventory(other.mpOwnerInventory),
      miEquippedFX(other.miEquippedFX),
      miBackgroundFX(other.miBackgroundFX),
      miCarrierID(other.miCarrierID) {}

BrRAGInvItemCtrl& BrRAGInvItemCtrl::operator=(const BrRAGInvItemCtrl& other) {
  if (this == &other) return *this;
  BrUIControl::operator=(other);
  miSlotIndex = other.miSlotIndex;
  mpOwnerInventory = other.mpOwnerInventory;
  miEquippedFX = other.miEquippedFX;
  miBackgroundFX = other.miBackgroundFX;
  miCarrierID = other.miCarrierID;
  return *this;
}

BrRAGInvItemCtrl::~BrRAGInvItemCtrl() {}

void BrRAGInvItemCtrl::Serialize(BrBin& bin) { BrUIControl::Serialize(bin); }

bool BrRAGInvItemCtrl::Init() {
  BrUIControl::Init();
  return false;
}

BrRAGInventory* BrRAGInvItemCtrl::GetOwnerInventory() {
  BrGameObj* carrier = ObjectOf(miCarrierID);
  if (!carrier || !carrier->IsValid() || !carrier->IsA(BrRAGPlayer::Type)) return nullptr;
  mpOwnerInventory = &static_cast<BrRAGPlayer*>(carrier)->Inventory();
  return mpOwnerInventory;
}

int BrRAGInvItemCtrl::GetSlotItemID() {
  if (miSlotIndex < 0) return -1;
  // Looked up each time: the carrier may have been replaced (a level reload), and cells made before the player
  // existed have none yet.
  BrRAGInventory* inventory = GetOwnerInventory();
  if (!inventory || miSlotIndex >= inventory->GetNumberOfSlots()) return -1;
  return inventory->GetItem(miSlotIndex);
}

BrStringT<char> BrRAGInvItemCtrl::GetInvItemType() {
  BrGameObj* item = ObjectOf(GetSlotItemID());
  if (item && item->IsValid()) return BrStringT<char>(item->GetName());
  return BrStringT<char>("Unknown");
}

void BrRAGInvItemCtrl::SetInvItemSlotIndex(int index) {
  miSlotIndex = index;
  SetColour(BrARGB(255, 255, 255, 255));
  BrGameObj* item = ObjectOf(GetSlotItemID());
  if (item && item->IsValid() && item->IsA(BrRAGDemoEquipment::Type) &&
      static_cast<BrRAGDemoEquipment*>(item)->GetBonus() > 0)
    SetColour(BrARGB(255, 200, 195, 255));
}

void BrRAGInvItemCtrl::Draw(BrRenderBase* const render) {
  if (!render) return;
  if (!mpOwnerInventory) GetOwnerInventory();
  if (miBackgroundFX == -1)
    miBackgroundFX = brMake2DEffector(BrStringT<char>("ShaderInvCellBackFX"),
                                      BrStringT<char>("Textures\\ui\\invcellback.jpg"), false);
  brflow::Sprite(render, m_fPosX, m_fPosY, m_fWidth, m_fHeight, (unsigned int)miBackgroundFX, 0.001f,
                 BrARGB(128, 128, 128, 128));

  BrGameObj* object = ObjectOf(GetSlotItemID());
  if (!object || !object->IsValid() || !object->IsA(BrDemoEntity::Type)) return;
  BrDemoEntity* item = static_cast<BrDemoEntity*>(object);
  m_iEffector = item->GetHUDEffector();

  const float aspect = brflow::Aspect(render);
  if (m_bRollover) {
    SetArea(m_fPosX - 0.004f, m_fPosY - 0.004f, m_fWidth + 0.008f, m_fHeight + 0.008f * aspect);
    BrUIControl::Draw(render);
    SetArea(m_fPosX + 0.004f, m_fPosY + 0.004f, m_fWidth - 0.008f, m_fHeight - 0.008f * aspect);
  } else {
    BrUIControl::Draw(render);
  }

  BrRAGDemoEquipment* equipment =
      item->IsA(BrRAGDemoEquipment::Type) ? static_cast<BrRAGDemoEquipment*>(item) : nullptr;
  if (equipment && equipment->IsEquipped()) {
    if (miEquippedFX == -1)
      miEquippedFX = brflow::LoadIcon(render, "Textures\\ui\\equippeditem.tga", "ShaderEquippedItemFX");
    brflow::Sprite(render, m_fPosX, m_fPosY, m_fWidth, m_fHeight, (unsigned int)miEquippedFX, 0.001f,
                   BrARGB(255, 255, 255, 255));
  }

  if (m_bRollover) {
    brflow::FontUp(render, 2);
    const BrStringT<char> text = equipment ? equipment->GetDisplayText() : item->GetText();
    brflow::Text(render, 0.5f, 0.75f, BrARGB(255, 255, 255, 255), eFontFormatCentre, "%s",
                 text.c_str() ? text.c_str() : "");
    brflow::FontDown(render, 2);
  }
}

bool BrRAGInvItemCtrl::LeftClick(float x, float y) {
  if (!CoversPoint(x, y) || !m_bActive) return false;
  if (miSlotIndex == -1) return true;
  BrGameObj* item = ObjectOf(GetSlotItemID());
  const bool filled = item && item->IsValid();
  if ((GetAsyncKeyState(0x10) & 0x8000) != 0) {
    if (!filled) return true;
    BrHUD* hud = BrHUD::GameHUD();
    BrRAGUIHotKeyPrompt* prompt = brflow::Spawn<BrRAGUIHotKeyPrompt>("BrRAGUIHotKeyPrompt");
    if (!prompt || !hud) {
      delete prompt;
      return true;
    }
    prompt->Init();
    prompt->SetID(BrStringT<char>("hotkeyctrl"));
    prompt->SetArea(0.25f, 0.45f, 0.5f, 0.1f);
    prompt->SetModal(true);
    prompt->SetTexture(BrStringT<char>("Textures\\ui\\menus\\savename.tga"));
    prompt->SetDialogText(BrStringT<char>("Assign hot key, press 1,2,3..0"));
    prompt->SetDialogFont(BrStringT<char>("Fonts\\fontScript.tga"));
    prompt->SetDialogTextSize(6);
    prompt->SetPadding(0.15f);
    prompt->SetItemCtrl(this);
    hud->AddChildControl(prompt);
    prompt->SetActive(true);
    if (Engine().GUI()) Engine().GUI()->SetFocusControl(prompt);
    return true;
  }
  if (filled && mpOwnerInventory) mpOwnerInventory->LeftClickItem(miSlotIndex);
  return true;
}

bool BrRAGInvItemCtrl::RightClick(float, float) {
  if (miSlotIndex == -1) return true;
  BrGameObj* item = ObjectOf(GetSlotItemID());
  if (item && item->IsValid() && mpOwnerInventory) mpOwnerInventory->RightClickItem(miSlotIndex);
  return true;
}
