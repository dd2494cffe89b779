// Widgets and pickups in a real map: a widget's requirement consumed per use with its minimap icon switched,
// pickups handing their item to the picker (with the bonus of a spawned piece of equipment), a full pack keeping
// the pickup and hiding nothing (messages for the player only), the bonus roll's draws, and the version
// conditions of their streams.
#include <gtest/gtest.h>

#include "RAGItemTestSupport.h"
#include "adventure/world/BrRAGDemoEquipment.h"
#include "adventure/world/BrRAGPickup.h"
#include "adventure/world/BrRAGWidget.h"
#include "core/BrNumeric.h"

using ragitem::ItemWorld;

namespace {
const char* kConfig =
    "[Hero]\nType=BrRAGPlayer\nHealth=20\nSize=32\nAnatomy=Body,Hand,Hand\n\n"
    "[Rat]\nType=BrRAGActor\nHealth=10\nSize=32\n\n"
    "[Lever]\nType=BrRAGWidget\nUseText=pulls the lever\n\n"
    "[Door]\nType=BrRAGWidget\nUseRequires=Key\nUseText=opens the door\nMinimapIconUsed=Textures\\open.tga\n\n"
    "[Key]\nType=BrRAGItem\nStackSize=5\n\n"
    "[Gem]\nType=BrRAGItem\n\n"
    "[Sword]\nType=BrRAGWeapon\nDamage=5\nEquipsOn=Hand\n\n"
    "[PickupKey]\nType=BrRAGPickup\nHint=KeyHint\n\n"
    "[PickupGem]\nType=BrRAGPickup\n\n"
    "[PickupLever]\nType=BrRAGPickup\n\n"
    "[PickupSword]\nType=BrRAGDemoEquipmentPickup\n\n"
    "[PickupLuckySword]\nType=BrRAGDemoEquipmentPickup\nMaxBonus=3\n\n"
    "[PickupPlainSword]\nType=BrRAGDemoEquipmentPickup\nMaxBonus=-2\n\n";

int CountValid(ItemWorld& world, const char* name) {
  int n = 0;
  for (int id = 0; id < world.Map()->NumObjects(); ++id) {
    BrGameObj* object = world.Map()->GetObjectA(id);
    if (object->IsValid() && object->GetName() && std::string(object->GetName()) == name) ++n;
  }
  return n;
}
}  // namespace

TEST(RAGWidget, ARequirementIsConsumedPerUseAndSwitchesTheMinimapIcon) {
  ItemWorld world(kConfig);
  BrRAGPlayer* hero = world.Spawn<BrRAGPlayer>("Hero");
  BrRAGWidget* lever = world.Spawn<BrRAGWidget>("Lever");
  BrRAGWidget* door = world.Spawn<BrRAGWidget>("Door");
  const unsigned int closedIcon = door->GetMinimapIcon();
  ASSERT_NE(door->GetMinimapIconUsed(), closedIcon);

  EXPECT_TRUE(lever->CanUse(hero));
  lever->UsedBy(hero);
  EXPECT_EQ(world.Game()->messages.back(), "Hero pulls the lever");
  EXPECT_EQ(lever->GetTimesUsed(), 0);

  EXPECT_FALSE(door->CanUse(hero));
  world.Give(hero, "Key");
  world.Give(hero, "Key");
  EXPECT_TRUE(door->CanUse(hero));
  door->UsedBy(hero);
  EXPECT_EQ(world.Game()->messages.back(), "Hero opens the door");
  EXPECT_EQ(hero->Inventory().GetNumItemsOfType(BrStringT<char>("Key")), 1);
  EXPECT_EQ(door->GetTimesUsed(), 1);
  EXPECT_EQ(door->GetMinimapIcon(), door->GetMinimapIconUsed());
}

TEST(RAGWidget, PickupsHandTheirItemOverAndAFullPackKeepsThePickup) {
  ItemWorld world(kConfig);
  BrRAGPlayer* hero = world.Spawn<BrRAGPlayer>("Hero");
  BrRAGPickup* keyPickup = world.Spawn<BrRAGPickup>("PickupKey");
  EXPECT_FLOAT_EQ(keyPickup->GetDrawScale().x, 32.0f);
  keyPickup->PickedUp(hero);
  EXPECT_FALSE(keyPickup->IsValid());
  const int slot = hero->Inventory().ContainsItemOfType(BrStringT<char>("Key"));
  ASSERT_NE(slot, -1);
  EXPECT_EQ(world.Get<BrRAGItem>(hero->Inventory().GetItem(slot))->GetOwner(), hero->GetID());
  ASSERT_EQ(world.Game()->hints.size(), 1u);
  EXPECT_EQ(world.Game()->hints[0], "KeyHint");

  // A sword rolled with a bonus carries it; one handed over as an object keeps its own.
  BrRAGDemoEquipmentPickup* swordPickup = world.Spawn<BrRAGDemoEquipmentPickup>("PickupSword");
  swordPickup->SetBonus(2);
  swordPickup->PickedUp(hero);
  BrRAGDemoEquipment* sword = world.Get<BrRAGDemoEquipment>(
      hero->Inventory().GetItem(hero->Inventory().ContainsItemOfType(BrStringT<char>("Sword"))));
  ASSERT_NE(sword, nullptr);
  EXPECT_EQ(sword->GetBonus(), 2);
  BrRAGDemoEquipment* held = world.Spawn<BrRAGDemoEquipment>("Sword");
  BrRAGDemoEquipmentPickup* carrying = world.Spawn<BrRAGDemoEquipmentPickup>("PickupSword");
  carrying->SetPickupID(held->GetID());
  carrying->SetBonus(3);
  carrying->PickedUp(hero);
  EXPECT_TRUE(held->IsValid());
  EXPECT_EQ(held->GetBonus(), 0);
  EXPECT_EQ(held->GetOwner(), hero->GetID());

  // Full: the pickup stays, no hidden gem is left behind, and only the player hears of it.
  while (hero->Inventory().HasRoomFor(BrStringT<char>("Gem"))) world.Give(hero, "Gem");
  const int gems = CountValid(world, "Gem");
  BrRAGPickup* gemPickup = world.Spawn<BrRAGPickup>("PickupGem");
  gemPickup->PickedUp(hero);
  EXPECT_TRUE(gemPickup->IsValid());
  EXPECT_EQ(CountValid(world, "Gem"), gems);
  EXPECT_EQ(world.Game()->messages.back(), "Your pack is full! You can't carry that!");
  bool told = false;
  for (const std::string& m : ItemWorld::Messages(hero)) told = told || m == "Your pack is full!";
  EXPECT_TRUE(told);

  BrRAGActor* rat = world.Spawn<BrRAGActor>("Rat");
  while (rat->Inventory().HasRoomFor(BrStringT<char>("Gem"))) world.Give(rat, "Gem");
  const size_t messages = world.Game()->messages.size();
  gemPickup->PickedUp(rat);
  EXPECT_TRUE(gemPickup->IsValid());
  EXPECT_EQ(world.Game()->messages.size(), messages);

  // An empty item type does nothing at all.
  gemPickup->SetItemType(BrStringT<char>());
  gemPickup->PickedUp(hero);
  EXPECT_TRUE(gemPickup->IsValid());
  EXPECT_EQ(world.Game()->messages.size(), messages);
}

TEST(RAGWidget, APickupOfAKindThatIsNoItemSaysSoAndGoes) {
  ItemWorld world(kConfig);
  BrRAGPlayer* hero = world.Spawn<BrRAGPlayer>("Hero");
  BrRAGPickup* pickup = world.Spawn<BrRAGPickup>("PickupLever");
  ASSERT_NE(pickup, nullptr);
  // The player walks onto it.
  hero->HeadForTargetObj(pickup->GetID());
  hero->Step(0.1f);
  EXPECT_FALSE(pickup->IsValid());
  EXPECT_EQ(CountValid(world, "Lever"), 0);
  EXPECT_EQ(hero->Inventory().GetNumberOfItems(), 0);
  const std::vector<std::string> said = ItemWorld::Messages(hero);
  EXPECT_EQ(said, std::vector<std::string>{"That is not something you can carry."});
  EXPECT_EQ(world.folder.CountLines("holds Lever, which is not an item"), 1);
}

TEST(RAGWidget, TheBonusRollDrawsOncePerLevelAndNotForNone) {
  ItemWorld world(kConfig);
  brSeedRand(1);
  BrRAGDemoEquipmentPickup* plain = world.Spawn<BrRAGDemoEquipmentPickup>("PickupPlainSword");
  EXPECT_EQ(plain->GetMaxBonus(), 0);
  EXPECT_EQ(plain->GetBonus(), 0);
  // Seed 1 draws 41, 18467, 6334, 26500: nothing was drawn for the plain sword.
  EXPECT_EQ(brRand(), 41);
  brSeedRand(1);
  BrRAGDemoEquipmentPickup* lucky = world.Spawn<BrRAGDemoEquipmentPickup>("PickupLuckySword");
  EXPECT_EQ(lucky->GetMaxBonus(), 3);
  EXPECT_EQ(brRand(), 26500);
  // 41 % 10, 18467 % 20 and 6334 % 30 are not 0: no bonus.
  EXPECT_EQ(lucky->GetBonus(), 0);
  lucky->SetBonus(2);
  EXPECT_STREQ(lucky->GetTooltip().c_str(),
               (std::string("+2 ") + (plain->GetTooltip().c_str() ? plain->GetTooltip().c_str() : "")).c_str());
}

TEST(RAGWidget, StreamsKeepTheirFieldsOnlyFromTheirVersions) {
  for (uint32_t version : {GEngineVer, 265u, 263u, 262u}) {
    SCOPED_TRACE(version);
    ItemWorld world(kConfig);
    BrRAGPlayer* hero = world.Spawn<BrRAGPlayer>("Hero");
    BrRAGWidget* door = world.Spawn<BrRAGWidget>("Door");
    world.Give(hero, "Key");
    door->UsedBy(hero);
    const int doorId = door->GetID();
    BrRAGDemoEquipmentPickup* pickup = world.Spawn<BrRAGDemoEquipmentPickup>("PickupSword");
    pickup->SetBonus(4);
    const int pickupId = pickup->GetID();
    BrRAGDemoEquipment* sword = world.Give<BrRAGDemoEquipment>(hero, "Sword");
    sword->SetBonus(2);
    ASSERT_TRUE(sword->Equip(hero, true));
    const int swordId = sword->GetID();
    const int heroId = hero->GetID();
    const unsigned int usedIcon = door->GetMinimapIconUsed();

    ASSERT_TRUE(world.SaveAndReload(version));
    BrRAGWidget* loadedDoor = world.Get<BrRAGWidget>(doorId);
    BrRAGDemoEquipmentPickup* loadedPickup = world.Get<BrRAGDemoEquipmentPickup>(pickupId);
    BrRAGDemoEquipment* loadedSword = world.Get<BrRAGDemoEquipment>(swordId);
    ASSERT_NE(loadedDoor, nullptr);
    ASSERT_NE(loadedPickup, nullptr);
    ASSERT_NE(loadedSword, nullptr);
    EXPECT_TRUE(loadedSword->IsEquipped());
    EXPECT_EQ(loadedSword->GetWielderID(), heroId);
    EXPECT_EQ(loadedDoor->GetTimesUsed(), version >= 264 ? 1 : 0);
    // Configured values come back from the object's section whatever the version.
    EXPECT_STREQ(loadedDoor->GetUseText().c_str(), "opens the door");
    EXPECT_EQ(loadedDoor->GetMinimapIconUsed(), usedIcon);
    EXPECT_EQ(loadedPickup->GetBonus(), version >= 263 ? 4 : 0);
    EXPECT_EQ(loadedSword->GetBonus(), version >= 263 ? 2 : 0);
  }
}
