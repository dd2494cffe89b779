// The inventory through real items in a real map: stacks and their limits, a full pack, using an item (removed
// once, its effects applied per charge), dropping into a pickup or keeping the item when no pickup can be made,
// compounds consuming exactly their size (and a size of 0 never looping), and armour toggled and swapped by
// clicks without drifting the armour class.
#include <gtest/gtest.h>

#include "RAGItemTestSupport.h"
#include "adventure/world/BrRAGArmour.h"
#include "adventure/world/BrRAGInventory.h"
#include "adventure/world/BrRAGItem.h"
#include "adventure/world/BrRAGPickup.h"

using ragitem::ItemWorld;

namespace {
const char* kConfig =
    "[Hero]\nType=BrRAGPlayer\nHealth=20\nSize=32\nAnatomy=Body,Hand,Hand\n\n"
    "[Arrow]\nType=BrRAGWeapon\nDamage=3\nStackSize=10\n\n"
    "[Gem]\nType=BrRAGItem\n\n"
    "[Potion]\nType=BrRAGItem\nCharges=2\nUseEffects=TestTimed(5)\nStackSize=5\n\n"
    "[Tonic]\nType=BrRAGItem\nCharges=1.9\n\n"
    "[Bread]\nType=BrRAGItem\nStackSize=5\n\n"
    "[PickupPotion]\nType=BrRAGPickup\n\n"
    "[Shard]\nType=BrRAGItem\nStackSize=10\nCompoundOf=Gem\nCompoundSize=3\nHUDIcon=Textures\\shard.tga\n\n"
    "[Dust]\nType=BrRAGItem\nCompoundOf=Gem\nCompoundSize=0\n\n"
    "[Splinter]\nType=BrRAGItem\nText=splinter\nStackSize=10\nCompoundOf=Gme\nCompoundSize=2\n\n"
    "[PickupSplinter]\nType=BrRAGPickup\n\n"
    "[PickupShard]\nType=BrRAGPickup\n\n"
    "[Pebble]\nType=BrRAGItem\n\n"
    "[Mail]\nType=BrRAGArmour\nDefence=3\nEquipsOn=Body\n\n"
    "[Plate]\nType=BrRAGArmour\nDefence=5\nEquipsOn=Body\n\n";

int SlotOf(BrRAGActor* actor, BrGameObj* item) {
  BrRAGInventory& inv = actor->Inventory();
  for (int s = 0; s < inv.GetNumberOfSlots(); ++s)
    if (inv.GetItem(s) == item->GetID()) return s;
  return -1;
}

bool HasMessage(BrRAGPlayer* player, const std::string& text) {
  for (const std::string& m : ItemWorld::Messages(player))
    if (m == text) return true;
  return false;
}
}  // namespace

TEST(RAGInventory, StacksFillToTheirSizeAndAFullPackRefuses) {
  ItemWorld world(kConfig);
  BrRAGPlayer* hero = world.Spawn<BrRAGPlayer>("Hero");
  ASSERT_NE(hero, nullptr);
  BrRAGInventory& inv = hero->Inventory();
  ASSERT_EQ(inv.GetNumberOfSlots(), 20);

  for (int i = 0; i < 11; ++i) ASSERT_NE(world.Give(hero, "Arrow"), nullptr);
  EXPECT_EQ(inv.GetNumItemsInSlot(0), 10);
  EXPECT_EQ(inv.GetNumItemsInSlot(1), 1);
  // An item without a stack size takes a slot of its own, even beside another of its kind.
  BrRAGItem* gem1 = world.Give(hero, "Gem");
  BrRAGItem* gem2 = world.Give(hero, "Gem");
  EXPECT_EQ(SlotOf(hero, gem1), 2);
  EXPECT_EQ(SlotOf(hero, gem2), 3);

  for (int i = 4; i < 20; ++i) world.Give(hero, "Gem");
  EXPECT_FALSE(inv.HasRoomFor(BrStringT<char>("Gem")));
  EXPECT_TRUE(inv.HasRoomFor(BrStringT<char>("Arrow")));
  BrRAGItem* extra = world.Spawn<BrRAGItem>("Gem");
  EXPECT_EQ(hero->AddToInventory(extra->GetID()), -1);
  EXPECT_EQ(inv.GetNumberOfItems(), 11 + 18);
}

TEST(RAGInventory, UsingSpendsChargesAndAUsedUpItemLeavesItsSlotOnce) {
  ItemWorld world(kConfig);
  BrRAGPlayer* hero = world.Spawn<BrRAGPlayer>("Hero");
  BrRAGInventory& inv = hero->Inventory();

  BrRAGItem* potion = world.Give(hero, "Potion");
  const int slot = SlotOf(hero, potion);
  inv.UseItem(slot);
  EXPECT_TRUE(potion->IsValid());
  EXPECT_EQ(potion->GetCharges(), 1);
  EXPECT_EQ(hero->CountTimesMutatedBy(BrStringT<char>("MUTTestTimed(5)")), 1u);
  inv.UseItem(slot);
  EXPECT_FALSE(potion->IsValid());
  EXPECT_EQ(inv.GetItem(slot), -1);
  EXPECT_EQ(hero->CountTimesMutatedBy(BrStringT<char>("MUTTestTimed(5)")), 2u);

  // Without charges the first use removes the item without its effects: one loaf of two leaves, not both.
  BrRAGItem* loaf1 = world.Give(hero, "Bread");
  BrRAGItem* loaf2 = world.Give(hero, "Bread");
  const int breadSlot = SlotOf(hero, loaf1);
  ASSERT_EQ(inv.GetNumItemsInSlot(breadSlot), 2);
  const BrAudioID breadSound = loaf1->UseSound();
  inv.UseItem(breadSlot);
  EXPECT_FALSE(loaf1->IsValid());
  EXPECT_TRUE(loaf2->IsValid());
  EXPECT_EQ(inv.GetNumItemsInSlot(breadSlot), 1);
  EXPECT_EQ(inv.GetItem(breadSlot), loaf2->GetID());
  // Every item has a use sound; the bread's is the default.
  EXPECT_GE(world.CountCalls("create Sounds\\pickup.wav"), 1);
  EXPECT_EQ(world.Plays(breadSound), 1);

  // A use without a user changes nothing.
  EXPECT_FALSE(loaf2->Use(nullptr));
  EXPECT_TRUE(loaf2->IsValid());
  EXPECT_EQ(world.Spawn<BrRAGItem>("Tonic")->GetCharges(), 1);
}

TEST(RAGInventory, DropsGoIntoAPickupBesideTheCarrierOrStayWhenNoneCanBeMade) {
  ItemWorld world(kConfig);
  BrRAGPlayer* hero = world.Spawn<BrRAGPlayer>("Hero", 64.0f, 64.0f);
  BrRAGInventory& inv = hero->Inventory();
  BrRAGItem* potion = world.Give(hero, "Potion");
  const int potionId = potion->GetID();

  inv.RightClickItem(SlotOf(hero, potion));
  EXPECT_EQ(SlotOf(hero, potion), -1);
  EXPECT_TRUE(potion->IsValid());
  EXPECT_EQ(potion->GetOwner(), -1);
  BrRAGPickup* pickup = nullptr;
  for (int id = 0; id < world.Map()->NumObjects(); ++id)
    if (BrRAGPickup* p = world.Get<BrRAGPickup>(id)) pickup = p;
  ASSERT_NE(pickup, nullptr);
  EXPECT_EQ(pickup->GetPickupID(), potionId);
  EXPECT_LE((pickup->Location() - hero->Location()).Size(), 1.25f * 32.0f + 32.0f);

  // No "PickupGem" kind exists: the gem stays in the pack rather than vanish.
  BrRAGItem* gem = world.Give(hero, "Gem");
  inv.DropItem(SlotOf(hero, gem), hero->Location(), true);
  EXPECT_NE(SlotOf(hero, gem), -1);
  EXPECT_TRUE(gem->IsValid());
  // Dropped without a pickup the item is gone for good.
  inv.DropItem(SlotOf(hero, gem), hero->Location(), false);
  EXPECT_FALSE(gem->IsValid());

  // Nowhere to put it: the player hears so and keeps the item.
  for (int y = 0; y < 8; ++y)
    for (int x = 0; x < 8; ++x) world.Map()->GetCell(x, y)->SetValid(false);
  BrRAGItem* bread = world.Give(hero, "Bread");
  inv.RightClickItem(SlotOf(hero, bread));
  EXPECT_NE(SlotOf(hero, bread), -1);
  EXPECT_TRUE(HasMessage(hero, "You can't drop that here!"));
}

TEST(RAGInventory, CompoundsConsumeExactlyTheirSizeAndASizeOfZeroBuildsNothing) {
  ItemWorld world(kConfig);
  BrRAGPlayer* hero = world.Spawn<BrRAGPlayer>("Hero");
  BrRAGInventory& inv = hero->Inventory();
  for (int i = 0; i < 4; ++i) world.Give(hero, "Shard");
  world.Give(hero, "Dust");

  EXPECT_TRUE(inv.CheckForCompounds());
  EXPECT_EQ(inv.GetNumItemsOfType(BrStringT<char>("Shard")), 1);
  EXPECT_EQ(inv.GetNumItemsOfType(BrStringT<char>("Gem")), 1);
  EXPECT_EQ(inv.GetNumItemsOfType(BrStringT<char>("Dust")), 1);
  EXPECT_TRUE(HasMessage(hero, "!!! You built a new item !!!"));
  // The icon row shows the part once per part consumed.
  BrRAGPlayerHUD* hud = hero->GetPlayerHUD();
  ASSERT_NE(hud, nullptr);
  int rows = 0;
  for (int i = 0; i < hud->GetNumMessageSlots(); ++i)
    if (hud->GetMessageSlot(i)->mIcons.GetCount() == 3) ++rows;
  EXPECT_EQ(rows, 1);

  EXPECT_FALSE(inv.CheckForCompounds());
  EXPECT_EQ(inv.GetNumItemsOfType(BrStringT<char>("Gem")), 1);
}

TEST(RAGInventory, ACompoundThatCannotBeMadeOrPlacedLeavesItsPartsWhereTheyWere) {
  ItemWorld world(kConfig);
  BrRAGPlayer* hero = world.Spawn<BrRAGPlayer>("Hero");
  BrRAGInventory& inv = hero->Inventory();
  const BrStringT<char> splinter("Splinter"), shard("Shard"), gem("Gem");

  // A misspelt compound: picking up the last part builds nothing and takes nothing.
  world.Give(hero, "Splinter");
  world.Spawn<BrRAGPickup>("PickupSplinter")->PickedUp(hero);
  EXPECT_EQ(inv.GetNumItemsOfType(splinter), 2);
  EXPECT_EQ(world.folder.CountLines("The compound Gme of Splinter could not be made"), 1);

  // A pack with no place for the gem: four shards share one slot, every other slot is taken.
  for (int i = 0; i < 3; ++i) world.Give(hero, "Shard");
  while (inv.HasRoomFor(gem)) world.Give(hero, "Pebble");
  BrRAGPickup* last = world.Spawn<BrRAGPickup>("PickupShard");
  last->PickedUp(hero);
  EXPECT_FALSE(last->IsValid());
  EXPECT_EQ(inv.GetNumItemsOfType(shard), 4);
  EXPECT_EQ(inv.GetNumItemsOfType(gem), 0);

  // Once a place is free the gem is built from exactly three of them.
  inv.DropItem(inv.ContainsItemOfType(BrStringT<char>("Pebble")), hero->Location(), false);
  EXPECT_TRUE(inv.CheckForCompounds());
  EXPECT_EQ(inv.GetNumItemsOfType(shard), 1);
  EXPECT_EQ(inv.GetNumItemsOfType(gem), 1);
}

TEST(RAGInventory, ClickingArmourTogglesItAndSwapsNeverDriftTheArmourClass) {
  ItemWorld world(kConfig);
  BrRAGPlayer* hero = world.Spawn<BrRAGPlayer>("Hero");
  BrRAGInventory& inv = hero->Inventory();
  BrRAGArmour* mail = world.Give<BrRAGArmour>(hero, "Mail");
  BrRAGArmour* plate = world.Give<BrRAGArmour>(hero, "Plate");

  inv.LeftClickItem(SlotOf(hero, mail));
  EXPECT_TRUE(mail->IsEquipped());
  EXPECT_FLOAT_EQ(hero->GetArmourClass(), 3.0f);
  inv.LeftClickItem(SlotOf(hero, mail));
  EXPECT_FALSE(mail->IsEquipped());
  EXPECT_FLOAT_EQ(hero->GetArmourClass(), 0.0f);

  inv.LeftClickItem(SlotOf(hero, mail));
  inv.LeftClickItem(SlotOf(hero, plate));
  EXPECT_FALSE(mail->IsEquipped());
  EXPECT_TRUE(plate->IsEquipped());
  EXPECT_FLOAT_EQ(hero->GetArmourClass(), 5.0f);
  // Taking off armour that is not worn gives nothing back.
  mail->Unequip(hero);
  EXPECT_FLOAT_EQ(hero->GetArmourClass(), 5.0f);
  inv.LeftClickItem(SlotOf(hero, plate));
  EXPECT_FLOAT_EQ(hero->GetArmourClass(), 0.0f);
}
