// The player's pack handled through the window: pickups walked onto, cells clicked, number keys pressed.
#include "tests/play/PlayPack.h"

#include <cstdlib>

#include "adventure/flow/BrRAGInvItemCtrl.h"
#include "adventure/world/BrRAGDemoEquipment.h"
#include "adventure/world/BrRAGInventory.h"
#include "adventure/world/BrRAGItem.h"
#include "engine/kernel/kernel.h"
#include "engine/presentation/BrCursor.h"
#include "engine/presentation/BrGUI.h"
#include "engine/presentation/BrHUD.h"
#include "engine/presentation/BrRenderBase.h"
#include "platform/win32/win32.h"

namespace brplay {

namespace {
const float kStep = 1.0f / 30.0f;
}  // namespace

int RestoreNoted(const std::string& text) {
  const size_t at = text.find("restores ");
  if (at == std::string::npos) return -1;
  return std::atoi(text.c_str() + at + 9);
}

void PutAwayMonsters(PlayHost& host) {
  BrRAGMap* map = host.Map();
  const dtiClass enemy("Enemy", nullptr);
  for (int id = 0; map && id < map->NumObjects(); ++id) {
    BrGameObj* object = map->GetObjectA(id);
    if (object->IsValid() && object->IsA(enemy)) object->Destroy();
  }
}

bool StartAlone(PlayTree& tree, PlayHost& host, unsigned int seed) {
  tree.SetConfig("Hints", "0");
  if (!StartPlaying(tree, host, seed, 0.5f)) return false;
  PutAwayMonsters(host);
  return true;
}

void PlayPack::Settle(int frames) {
  for (int i = 0; i < frames; ++i) m_Script.Tick(i % 4 == 0);
}

int PlayPack::Find(const std::string& pickupKind, const std::string& itemType, const BrVector* where, float seconds) {
  BrRAGMap* map = m_Host.Map();
  BrRAGPlayer* player = m_Host.Player();
  if (!map || !player) {
    m_Why = "no game";
    return -1;
  }
  BrDemoEntity* entity = map->SpawnScripted(BrStringT<char>(pickupKind.c_str()));
  if (!entity) {
    m_Why = "no pickup of kind " + pickupKind;
    return -1;
  }
  BrVector at = where ? *where : player->Location();
  if (!where) at.x += map->GridScale() * 0.3f;
  at.y = 0.0f;
  entity->Location() = at;
  map->AddObject(entity);
  const int before = Count(itemType);
  player->HeadForTargetObj(entity->GetID());
  for (float t = 0.0f; t < seconds; t += kStep) {
    m_Script.Tick(int(t / kStep) % 30 == 0);
    if (!m_Host.Player()) break;
    if (Count(itemType) > before) return SlotOf(itemType);
  }
  m_Why = pickupKind + " never reached the pack";
  return -1;
}

BrRAGInvItemCtrl* PlayPack::CellOf(int slot) const {
  BrUIControl* panel = m_Host.Control("ingame_playerhud");
  if (!panel || slot < 0) return nullptr;
  for (int i = 0; i < panel->GetNumChildControls(); ++i) {
    BrUIControl* child = panel->GetChildControl(i);
    if (!child || !child->IsA(BrRAGInvItemCtrl::Type)) continue;
    auto* cell = static_cast<BrRAGInvItemCtrl*>(child);
    if (cell->GetInvItemSlotIndex() == slot) return cell;
  }
  return nullptr;
}

int PlayPack::SlotOf(const std::string& itemType) const {
  BrRAGPlayer* player = m_Host.Player();
  return player ? player->Inventory().ContainsItemOfType(BrStringT<char>(itemType.c_str())) : -1;
}

int PlayPack::Count(const std::string& itemType) const {
  BrRAGPlayer* player = m_Host.Player();
  return player ? player->Inventory().GetNumItemsOfType(BrStringT<char>(itemType.c_str())) : 0;
}

BrRAGItem* PlayPack::ItemIn(int slot) const {
  BrRAGPlayer* player = m_Host.Player();
  BrRAGMap* map = m_Host.Map();
  if (!player || !map || slot < 0) return nullptr;
  const int id = player->Inventory().GetItem(slot);
  if (id < 0 || id >= map->NumObjects()) return nullptr;
  BrGameObj* object = map->GetObjectA(id);
  if (!object || !object->IsValid()) return nullptr;
  return static_cast<BrRAGItem*>(object->SafeCast(&BrRAGItem::Type));
}

bool PlayPack::ClickCellWith(int slot, unsigned int down, unsigned int up, bool shift) {
  BrRAGInvItemCtrl* cell = CellOf(slot);
  BrRenderBase* render = Engine().Render();
  if (!cell || !render) {
    m_Why = "no cell shows slot " + std::to_string(slot);
    return false;
  }
  const int x = int((cell->GetPosX() + cell->GetWidth() * 0.5f) * float(render->GetWidth()));
  const int y = int((cell->GetPosY() + cell->GetHeight() * 0.5f) * float(render->GetHeight()));
  if (shift) brW32InjectKey(VK_SHIFT, TRUE);
  if (down == WM_LBUTTONDOWN) {
    m_Host.ClickAt(x, y);
  } else {
    // The pointer is put on the cell by a left-button-free move, then the right button goes down and up there.
    // The game reads a right click at its own cursor, which only relative motion moves: its hot spot is put on
    // the cell as ClickAt puts it, or the right click lands on whatever cell the last click left it over.
    BrRAGGame* game = m_Host.Game();
    if (BrCursor* cursor = game && game->GetHUD() ? game->GetHUD()->GetCursor(-1) : nullptr) {
      const BrVector hot = cursor->GetClickPoint();
      cursor->CursorScreenX() = float(x) - hot.x;
      cursor->CursorScreenY() = float(y) - hot.y;
    }
    const LPARAM at = MAKELPARAM(x, y);
    brW32InjectMessage(nullptr, WM_MOUSEMOVE, 0, at);
    m_Host.Frame();
    brW32InjectMessage(nullptr, down, MK_RBUTTON, at);
    brW32InjectMessage(nullptr, up, 0, at);
    m_Host.Frame();
  }
  if (shift) brW32InjectKey(VK_SHIFT, FALSE);
  return true;
}

bool PlayPack::ClickCell(int slot, bool shift) {
  if (!ClickCellWith(slot, WM_LBUTTONDOWN, WM_LBUTTONUP, shift)) return false;
  if (!shift) Settle(3);
  return true;
}

bool PlayPack::RightClickCell(int slot) {
  if (!ClickCellWith(slot, WM_RBUTTONDOWN, WM_RBUTTONUP, false)) return false;
  Settle(3);
  return true;
}

bool PlayPack::BindQuickSlot(int slot, char key) {
  if (!ClickCell(slot, true)) return false;
  BrGUI* gui = Engine().GUI();
  BrUIControl* modal = gui ? gui->GetModalControl() : nullptr;
  if (!modal || modal->GetID() != BrStringT<char>("hotkeyctrl")) {
    m_Why = "Shift and a click opened no hot-key prompt";
    return false;
  }
  m_Host.HoldKey(key, 1);
  m_Host.Frame();
  if (gui->IsModal()) {
    m_Why = "the hot-key prompt stayed open";
    return false;
  }
  return true;
}

void PlayPack::PressKey(char key) {
  // The quick slots take one use a quarter second at most: a press comes after that much quiet.
  Settle(9);
  m_Host.HoldKey(key, 1);
  Settle(3);
}

std::string PlayPack::HoverText(int slot) const {
  BrRAGItem* item = ItemIn(slot);
  if (!item) return "";
  auto* equipment = static_cast<BrRAGDemoEquipment*>(item->SafeCast(&BrRAGDemoEquipment::Type));
  const BrStringT<char> text = equipment ? equipment->GetDisplayText() : item->GetText();
  return text.c_str() ? text.c_str() : "";
}

}  // namespace brplay
