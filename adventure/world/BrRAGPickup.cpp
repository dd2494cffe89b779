// BrRAGPickup and BrRAGDemoEquipmentPickup: handing a world item to its picker, the full pack and the bonus roll.
#include "adventure/world/BrRAGPickup.h"

#include <cstdio>

#include "adventure/world/BrRAGActor.h"
#include "adventure/world/BrRAGDemoEquipment.h"
#include "adventure/world/BrRAGItem.h"
#include "adventure/world/BrRAGMap.h"
#include "adventure/world/BrRAGPlayer.h"
#include "adventure/world/BrRAGResolve.h"
#include "core/BrBin.h"
#include "core/BrLogFile.h"
#include "core/BrNumeric.h"
#include "engine/kernel/BrEngine.h"
#include "engine/kernel/BrGame.h"
#include "engine/kernel/BrScriptDaemon.h"

BR_IMPLEMENT_CLASS(BrRAGPickup, BrPickup)
BR_IMPLEMENT_CLASS(BrRAGDemoEquipmentPickup, BrRAGPickup)

BrRAGPickup::BrRAGPickup() {}
BrRAGPickup::BrRAGPickup(const BrRAGPickup& other) : BrPickup(other) {}
BrRAGPickup& BrRAGPickup::operator=(const BrRAGPickup& other) {
  BrPickup::operator=(other);
  return *this;
}
BrRAGPickup::~BrRAGPickup() {}

bool BrRAGPickup::Init() {
  BrPickup::Init();
  SetDrawScale(BrVector(32.0f, 32.0f, 0.0f));
  return true;
}

void BrRAGPickup::PrepareSpawnedObject(BrDemoEntity*) {}

void BrRAGPickup::PickedUp(BrActor* picker) {
  const BrStringT<char> type = GetItemType();
  if (type.Length() == 0 || !picker) return;
  BrRAGActor* actor = brRAGCast<BrRAGActor>(picker);
  if (actor) actor->ApplyMutator(BrStringT<char>("Remove(*MUTFlying)"), false);
  if (!actor || !actor->Inventory().HasRoomFor(type)) {
    ShowPackFullMessage(picker);
    return;
  }
  BrRAGMap* map = brRAGCast<BrRAGMap>(WorldMap());
  if (!map) return;

  BrDemoEntity* object = brRAGResolve<BrDemoEntity>(GetPickupID());
  bool spawned = false;
  if (!object) {
    object = map->SpawnScripted(type);
    if (object) {
      map->AddObject(object);
      spawned = true;
      PrepareSpawnedObject(object);
    }
  }
  if (!brRAGCast<BrRAGItem>(object)) {
    // Nothing of this kind can ever go into a pack: the player hears what is wrong, and the pickup, which no one
    // could ever take, goes.
    GLog.printf("ERROR: The pickup %s holds %s, which is not an item", GetName() ? GetName() : "", type.c_str());
    if (spawned) object->Destroy();
    BrRAGPlayer::SendMessageTo(picker, "That is not something you can carry.", BrARGB(128, 255, 255, 255), 5.0f);
    Destroy();
    return;
  }
  if (GiveObjectToPicker(object, picker)) {
    Destroy();
    return;
  }
  // The item found no slot: nothing may vanish, and nothing hidden may stay behind for the picker.
  if (spawned) object->Destroy();
  ShowPackFullMessage(picker);
}

bool BrRAGPickup::GiveObjectToPicker(BrDemoEntity* object, BrActor* picker) {
  BrRAGActor* actor = brRAGCast<BrRAGActor>(picker);
  BrRAGItem* item = brRAGCast<BrRAGItem>(object);
  if (!object || !actor || !item) return false;
  if (actor->AddToInventory(item->GetID()) == -1) return false;
  item->SetDrawnByMap(false);
  SetPickupID(-1);
  item->SetOwner(actor->GetID());
  for (int pass = 0; pass < BrRAGInventory::ciMaxCompoundPasses; ++pass)
    if (!actor->Inventory().CheckForCompounds()) break;
  if (brRAGCast<BrRAGPlayer>(actor) && GetPickupHint().Length() > 0) {
    if (BrGame* game = brRAGCast<BrGame>(Engine().App())) game->ShowHint(GetPickupHint());
  }
  return true;
}

void BrRAGPickup::ShowPackFullMessage(BrActor* picker) {
  BrRAGPlayer* player = brRAGCast<BrRAGPlayer>(picker);
  if (!player) return;
  if (BrApplication* app = Engine().App()) {
    char text[] = "Your pack is full! You can't carry that!";
    app->DisplayMsg(text);
  }
  BrRAGPlayer::SendMessageTo(player, "Your pack is full!", BrARGB(128, 255, 255, 255), 5.0f);
}

BrRAGDemoEquipmentPickup::BrRAGDemoEquipmentPickup() : m_iMaxBonus(0), m_iBonus(0) {}

BrRAGDemoEquipmentPickup::BrRAGDemoEquipmentPickup(const BrRAGDemoEquipmentPickup& other)
    : BrRAGPickup(other), m_iMaxBonus(other.m_iMaxBonus), m_iBonus(other.m_iBonus) {}

BrRAGDemoEquipmentPickup& BrRAGDemoEquipmentPickup::operator=(const BrRAGDemoEquipmentPickup& other) {
  if (this == &other) return *this;
  BrRAGPickup::operator=(other);
  m_iMaxBonus = other.m_iMaxBonus;
  m_iBonus = other.m_iBonus;
  return *this;
}

BrRAGDemoEquipmentPickup::~BrRAGDemoEquipmentPickup() {}

void BrRAGDemoEquipmentPickup::Serialize(BrBin& bin) {
  BrRAGPickup::Serialize(bin);
  if (bin.GetVersion() >= 263) {
    bin << m_iMaxBonus;
    bin << m_iBonus;
  }
}

void BrRAGDemoEquipmentPickup::LoadScript(const char* section, BrCfgFile* cfg) {
  BrPickup::LoadScript(section, cfg);
  BrScriptDaemon* script = Engine().Script();
  if (!cfg || !script || !section) return;
  int value = 0;
  if (!script->LoadProperty(value, section, cfg, "MaxBonus")) return;
  m_iMaxBonus = value > 0 ? value : 0;
  for (int i = 10; i <= 10 * m_iMaxBonus; i += 10)
    if (brRand() % i == 0) m_iBonus = i / 10;
}

BrStringT<char> BrRAGDemoEquipmentPickup::GetTooltip() {
  if (m_iBonus < 1) return BrRAGPickup::GetTooltip();
  char prefix[32];
  snprintf(prefix, sizeof(prefix), "+%i ", int(m_iBonus));
  return BrStringT<char>(prefix) + BrRAGPickup::GetTooltip();
}

void BrRAGDemoEquipmentPickup::PrepareSpawnedObject(BrDemoEntity* object) {
  BrRAGDemoEquipment* equipment = brRAGCast<BrRAGDemoEquipment>(object);
  if (equipment && m_iBonus > 0) equipment->SetBonus(m_iBonus);
}
