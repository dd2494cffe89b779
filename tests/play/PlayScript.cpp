// The scripted player's actions on a running game.
#include "tests/play/PlayScript.h"

#include <cmath>
#include <cstdio>
#include <cstdlib>

#include "adventure/world/BrRAGActor.h"
#include "adventure/world/BrRAGInventory.h"
#include "engine/kernel/kernel.h"
#include "engine/presentation/BrGUI.h"
#include "engine/presentation/BrRenderBase.h"
#include "platform/win32/win32.h"
#include "tests/play/PlayPack.h"

namespace brplay {

namespace {
const float kStep = 1.0f / 30.0f;

float Distance(const BrVector& a, const BrVector& b) {
  const float dx = a.x - b.x, dz = a.z - b.z;
  return std::sqrt(dx * dx + dz * dz);
}
}  // namespace

BrGameObj* PlayScript::FindObject(const char* className) {
  BrRAGMap* map = m_Host.Map();
  if (!map) return nullptr;
  const dtiClass wanted(className, nullptr);
  for (int id = 0; id < map->NumObjects(); ++id) {
    BrGameObj* object = map->GetObjectA(id);
    if (object->IsValid() && object->IsA(wanted)) return object;
  }
  return nullptr;
}

void PlayScript::Tick(bool draw) {
  BrGUI* gui = Engine().GUI();
  BrUIControl* modal = gui ? gui->GetModalControl() : nullptr;
  if (modal) {
    const char* id = modal->GetID().c_str();
    const std::string name = id ? id : "";
    if (name != "dlg_staircase" && name != "dlg_worldcomplete" && name != "dlg_message") {
      // A hint has opened over the game: read, and put away with Escape as a player does.
      ++m_iHints;
      m_Host.HoldKey(VK_ESCAPE, 1);
      return;
    }
  }
  m_Host.Frame(kStep, draw);
}

bool PlayScript::WalkByClicking() {
  BrRAGPlayer* player = m_Host.Player();
  BrRenderBase* render = Engine().Render();
  if (!player || !render) return false;
  const int w = int(render->GetWidth()), h = int(render->GetHeight());
  const int offsets[][2] = {{60, 40}, {-60, 40}, {60, -40}, {-60, -40}, {120, 0}, {-120, 0}, {0, 80}, {0, -80}};
  for (const auto& offset : offsets) {
    const BrVector before = player->Location();
    m_Host.ClickAt(w / 2 + offset[0], h / 2 + offset[1]);
    for (int i = 0; i < 45; ++i) Tick(true);
    player = m_Host.Player();
    if (!player) return false;
    if (Distance(before, player->Location()) > 1.0f) return true;
  }
  m_Why = "no floor click moved the player";
  return false;
}

bool PlayScript::FightAt(const char* kind) {
  BrRAGMap* map = m_Host.Map();
  BrRAGPlayer* player = m_Host.Player();
  if (!map || !player) return false;
  BrDemoEntity* entity = map->SpawnScripted(BrStringT<char>(kind));
  BrRAGActor* enemy = entity ? static_cast<BrRAGActor*>(entity->SafeCast(&BrRAGActor::Type)) : nullptr;
  if (!enemy) {
    delete entity;
    m_Why = std::string("no enemy of kind ") + kind;
    return false;
  }
  BrVector at = player->Location();
  at.x += map->GridScale() * 0.3f;
  at.y = enemy->GetDrawScale().y;
  enemy->Location() = at;
  map->AddObject(enemy);
  enemy->PathTo(at);
  const int id = enemy->GetID();
  for (float t = 0.0f; t < 60.0f; t += kStep) {
    BrGameObj* object = map->GetObjectA(id);
    BrRAGActor* target = object->IsValid() ? static_cast<BrRAGActor*>(object->SafeCast(&BrRAGActor::Type)) : nullptr;
    if (!target || target->IsDead()) return true;
    player = m_Host.Player();
    if (!player || player->IsDead()) {
      m_Why = "the player died";
      return false;
    }
    player->SetHealth(player->GetMaxHealth());
    // As a player clicks: once, and again when the first attack has run its course.
    if (int(t / kStep) % 90 == 0) player->Attack(target);
    Tick(int(t / kStep) % 4 == 0);
  }
  m_Why = "the enemy outlived a minute of attacks";
  return false;
}

bool PlayScript::PickUpAndDrink(const char* pickup, const char* itemType) {
  BrRAGMap* map = m_Host.Map();
  BrRAGPlayer* player = m_Host.Player();
  if (!map || !player) return false;
  BrDemoEntity* entity = map->SpawnScripted(BrStringT<char>(pickup));
  if (!entity) {
    m_Why = std::string("no pickup of kind ") + pickup;
    return false;
  }
  BrVector at = player->Location();
  at.x += map->GridScale() * 0.3f;
  at.y = 0.0f;
  entity->Location() = at;
  map->AddObject(entity);
  player->HeadForTargetObj(entity->GetID());
  const BrStringT<char> type(itemType);
  int slot = -1;
  for (float t = 0.0f; t < 20.0f && slot == -1; t += kStep) {
    Tick(true);
    player = m_Host.Player();
    if (!player) return false;
    slot = player->Inventory().ContainsItemOfType(type);
  }
  if (slot == -1) {
    m_Why = "the pickup never reached the inventory";
    return false;
  }
  player->SetHealth(player->GetMaxHealth() / 4);
  const int wounded = player->GetHealth();
  // Drunk as a player drinks it: a click on its cell in the pack.
  PlayPack pack(m_Host, *this);
  if (!pack.ClickCell(slot)) {
    m_Why = pack.Why();
    return false;
  }
  for (int i = 0; i < 30; ++i) Tick(true);
  player = m_Host.Player();
  if (!player || player->GetHealth() <= wounded) {
    m_Why = "the potion did not heal";
    return false;
  }
  return true;
}

bool PlayScript::TakeStairs(float walkSeconds) {
  BrRAGMap* map = m_Host.Map();
  BrRAGPlayer* player = m_Host.Player();
  BrGameObj* stairs = FindObject("Staircase");
  if (!map || !player || !stairs) {
    m_Why = "no staircase on the level";
    return false;
  }
  const unsigned int level = map->GetLevel();
  const int stairsId = stairs->GetID();
  BrGUI* gui = Engine().GUI();
  m_bWalked = false;
  // The dialog of an earlier staircase stays among the widgets, closed: only the open (modal) one counts.
  auto asked = [gui]() {
    BrUIControl* modal = gui ? gui->GetModalControl() : nullptr;
    return modal && modal->GetID() == BrStringT<char>("dlg_staircase");
  };
  for (int attempt = 0; attempt < 2 && !asked(); ++attempt) {
    if (attempt == 1) {
      // Too far for the time given: one cell away, then the last steps on foot. The walk may have changed the
      // level under the script, so the staircase is looked up again rather than trusted.
      map = m_Host.Map();
      stairs = map ? map->GetObjectA(stairsId) : nullptr;
      if (!map || !player || !stairs || !stairs->IsValid() || map->GetLevel() != level) {
        m_Why = "the staircase went away during the walk";
        return false;
      }
      BrVector near = stairs->Location();
      near.x += map->GridScale();
      near.y = player->Location().y;
      player->Location() = near;
      player->PathTo(near);
    }
    player->HeadForTargetObj(stairsId);
    for (float t = 0.0f; t < walkSeconds && !asked(); t += kStep) {
      Tick(int(t / kStep) % 8 == 0);
      player = m_Host.Player();
      if (!player) return false;
      if (player->IsDead()) player->SetHealth(player->GetMaxHealth());
      player->SetHealth(player->GetMaxHealth());
    }
    m_bWalked = attempt == 0 && asked();
  }
  if (!asked()) {
    m_Why = "the staircase asked nothing";
    return false;
  }
  m_Host.Frame();
  if (!m_Host.ClickControl("DialogNextLevel")) {
    m_Why = "no Yes on the staircase dialog";
    return false;
  }
  if (m_Host.Control("InterludeMenuAutosave") && gui->IsModal()) return true;  // world complete: caller answers
  if (!m_Host.RunUntilState("BrRAGGameStatePlaying", 10.0f, 4)) {
    m_Why = "the interlude never gave the game back: " + m_Host.State();
    return false;
  }
  m_Host.Frame();
  map = m_Host.Map();
  return map && map->GetLevel() == level + 1;
}

bool PlayScript::DescendTo(unsigned int target) {
  for (int guard = 0; guard < 100; ++guard) {
    BrRAGMap* map = m_Host.Map();
    if (!map) {
      m_Why = "no map";
      return false;
    }
    if (map->GetLevel() >= target) return true;
    const unsigned int level = map->GetLevel();
    if (!TakeStairs()) {
      // A world-complete dialog: "Continue" autosaves and plays on.
      if (m_Host.Control("InterludeMenuAutosave") && Engine().GUI()->IsModal()) {
        m_Host.Frame();
        if (!m_Host.ClickControl("InterludeMenuAutosave")) {
          m_Why = "no Continue on the world-complete dialog";
          return false;
        }
        if (!m_Host.RunUntilState("BrRAGGameStatePlaying", 10.0f, 4)) {
          m_Why = "world complete never gave the game back: " + m_Host.State();
          return false;
        }
        m_Host.Frame();
      } else {
        m_Why = "level " + std::to_string(level) + ": " + m_Why;
        return false;
      }
    }
  }
  m_Why = "no progress after a hundred staircases";
  return false;
}

}  // namespace brplay
