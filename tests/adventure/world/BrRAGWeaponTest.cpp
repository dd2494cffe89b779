// Equipment, weapons and ranged weapons through real actors: configured speed clamps, bonus display texts that
// leave out the wielder's strength, equip refusals and sounds, a thrown weapon that leaves the wielder with its
// effects before its last charge goes, ammunition running out (the alert for the player only), each shot
// spending one arrow, ranged damage from the arrow, and the missile's flight time.
#include <gtest/gtest.h>

#include "RAGItemTestSupport.h"
#include "adventure/world/BrRAGBaseState.h"
#include "adventure/world/BrRAGDamage.h"
#include "adventure/world/BrRAGRangedWeapon.h"
#include "adventure/world/BrRAGWeapon.h"

using ragitem::ItemWorld;

namespace {
const char* kConfig =
    "[Hero]\nType=BrRAGPlayer\nHealth=20\nSize=32\nAnatomy=Body,Hand,Hand\n\n"
    "[Rat]\nType=BrRAGActor\nHealth=10\nSize=32\nAnatomy=Body,Hand,Hand\n\n"
    "[Weapon]\nType=BrRAGWeapon\nEquipsOn=Hand\n\n"
    "[Sword]\nType=Weapon\nText=Sword\nDamage=5\nSpeed=1\nEdge=Sharp\n\n"
    "[Blur]\nType=Weapon\nSpeed=20\n\n"
    "[Lump]\nType=Weapon\nSpeed=0\n\n"
    "[Club]\nType=Weapon\nDamage=3\n\n"
    "[Dagger]\nType=Weapon\nDamage=4\nCharges=1\nEquipEffects=TestTimed\n\n"
    "[Arrow]\nType=BrRAGWeapon\nDamage=3\nStackSize=10\nEdge=Piercing,Barbed\n\n"
    "[Bow]\nType=BrRAGRangedWeapon\nText=Bow\nDamage=9\nRange=-4\nAmmoType=Arrow\nEquipsOn=Hand,Hand\n"
    "EquipSound=Sounds\\bow.wav\nFireIcon=Textures\\arrow.tga\n\n"
    "[Sling]\nType=BrRAGRangedWeapon\nDamage=2\nRange=3\nEquipsOn=Hand\n\n";

int Slots(BrRAGActor* actor, BrGameObj* item) {
  for (int s = 0; s < actor->Inventory().GetNumberOfSlots(); ++s)
    if (actor->Inventory().GetItem(s) == item->GetID()) return s;
  return -1;
}
}  // namespace

TEST(RAGWeapon, ConfigurationClampsSpeedAndTheBonusTextLeavesOutTheWielder) {
  ItemWorld world(kConfig);
  EXPECT_FLOAT_EQ(world.Spawn<BrRAGWeapon>("Blur")->GetWeaponSpeed(), 10.0f);
  EXPECT_FLOAT_EQ(world.Spawn<BrRAGWeapon>("Lump")->GetWeaponSpeed(), 0.1f);

  BrRAGActor* rat = world.Spawn<BrRAGActor>("Rat");
  rat->SetStrength(3.0f);
  BrRAGWeapon* sword = world.Give<BrRAGWeapon>(rat, "Sword");
  EXPECT_STREQ(sword->GetText().c_str(), "Sword (damage 5, speed 10)");
  sword->SetBonus(2);
  sword->SetBonus(0);
  sword->SetBonus(-3);
  EXPECT_EQ(sword->GetBonus(), 2);
  EXPECT_STREQ(sword->GetDisplayText().c_str(), "+2 Sword  (damage 7, speed 12)");
  ASSERT_TRUE(sword->Equip(rat, true));
  EXPECT_FLOAT_EQ(sword->GetWeaponStrength(), 10.0f);
  EXPECT_STREQ(sword->GetDisplayText().c_str(), "+2 Sword  (damage 7, speed 12)");
  EXPECT_STREQ(sword->GetEdge(-1).c_str(), "None");
  EXPECT_STREQ(sword->GetEdge(1).c_str(), "None");

  BrRAGDamage damage;
  sword->GetWeaponDamage(damage);
  EXPECT_FLOAT_EQ(damage.GetPoints(), 10.0f);
  EXPECT_TRUE(damage.HasEdge(BrStringT<char>("Sharp")));
  EXPECT_FALSE(damage.IsRanged());
}

TEST(RAGWeapon, EquipRefusesStacksSilentlyAndSoundsOnlyWhenAsked) {
  ItemWorld world(kConfig);
  BrRAGActor* rat = world.Spawn<BrRAGActor>("Rat");
  BrRAGWeapon* arrow = world.Give<BrRAGWeapon>(rat, "Arrow");
  BrRAGWeapon* sword = world.Give<BrRAGWeapon>(rat, "Sword");
  world.audio.ClearCalls();
  EXPECT_FALSE(arrow->Equip(rat, false));
  EXPECT_EQ(world.Plays(arrow->EquipSound()), 0);
  EXPECT_TRUE(sword->Equip(rat, true));
  EXPECT_EQ(world.Plays(sword->EquipSound()), 0);
  sword->Unequip(rat);
  EXPECT_TRUE(sword->Equip(rat, false));
  EXPECT_EQ(world.Plays(sword->EquipSound()), 1);
  EXPECT_EQ(sword->GetWielderID(), rat->GetID());
}

TEST(RAGWeapon, AThrownWeaponLeavesWithItsEffectsAndTheNextBestTakesOver) {
  ItemWorld world(kConfig);
  BrRAGActor* rat = world.Spawn<BrRAGActor>("Rat");
  BrRAGActor* target = world.Spawn<BrRAGActor>("Rat", 100.0f, 0.0f);
  BrRAGWeapon* dagger = world.Give<BrRAGWeapon>(rat, "Dagger");
  BrRAGWeapon* club = world.Give<BrRAGWeapon>(rat, "Club");
  ASSERT_TRUE(dagger->Equip(rat, true));
  EXPECT_EQ(rat->GetMutator(BrStringT<char>("MUTTestTimed"), true) != nullptr, true);

  dagger->Fire(target);
  EXPECT_EQ(dagger->GetCharges(), 0);
  EXPECT_TRUE(dagger->IsEquipped());
  dagger->Step(1.0f);
  EXPECT_TRUE(dagger->IsValid());
  dagger->Step(0.6f);
  EXPECT_FALSE(dagger->IsValid());
  EXPECT_EQ(Slots(rat, dagger), -1);
  EXPECT_TRUE(club->IsEquipped());
  EXPECT_EQ(rat->GetWeapon(0), club);
  EXPECT_EQ(rat->GetMutator(BrStringT<char>("MUTTestTimed"), true), nullptr);
  for (int i = 0; i < rat->GetNumAnatomySlots(); ++i) EXPECT_NE(rat->GetAnatomySlot(i)->m_iItemID, dagger->GetID());
}

TEST(RAGWeapon, RangedWeaponsNeedAmmunitionAndOnlyThePlayerHearsItRunOut) {
  ItemWorld world(kConfig);
  BrRAGPlayer* hero = world.Spawn<BrRAGPlayer>("Hero");
  BrRAGActor* rat = world.Spawn<BrRAGActor>("Rat", 300.0f, 0.0f);
  BrRAGRangedWeapon* bow = world.Give<BrRAGRangedWeapon>(hero, "Bow");
  BrRAGRangedWeapon* ratBow = world.Give<BrRAGRangedWeapon>(rat, "Bow");
  EXPECT_FLOAT_EQ(bow->GetWeaponRange(), 4.0f);

  world.audio.ClearCalls();
  EXPECT_FALSE(ratBow->Equip(rat, false));
  EXPECT_EQ(world.CountCalls("play2d"), 0);
  EXPECT_FALSE(bow->Equip(hero, false));
  EXPECT_EQ(world.Plays(bow->EquipSound()), 0);
  EXPECT_EQ(world.Plays(BrRAGStateAttack::miOutOfAmmoSFX), 1);
  bool alerted = false;
  for (const std::string& m : ItemWorld::Messages(hero)) alerted = alerted || m == "!!! OUT OF AMMO !!!";
  EXPECT_TRUE(alerted);

  // A ranged weapon without an ammunition type equips like a melee one but takes its range.
  BrRAGRangedWeapon* sling = world.Give<BrRAGRangedWeapon>(hero, "Sling");
  ASSERT_TRUE(sling->Equip(hero, true));
  EXPECT_FLOAT_EQ(hero->GetAttackRange(), 3.0f * world.Map()->GridScale());
  sling->Unequip(hero);
  EXPECT_FLOAT_EQ(hero->GetAttackRange(), 0.0f);

  BrRAGWeapon* arrow1 = world.Give<BrRAGWeapon>(hero, "Arrow");
  BrRAGWeapon* arrow2 = world.Give<BrRAGWeapon>(hero, "Arrow");
  arrow1->SetBonus(1);
  arrow2->SetBonus(1);
  bow->SetBonus(2);
  hero->SetStrength(7.0f);
  ASSERT_TRUE(bow->Equip(hero, true));
  EXPECT_FLOAT_EQ(hero->GetAttackRange(), 4.0f * world.Map()->GridScale());
  // Bow bonus + the arrow's strength with its bonus; never the wielder's strength.
  EXPECT_FLOAT_EQ(bow->GetWeaponStrength(), 2.0f + 4.0f);
  EXPECT_EQ(bow->GetNumEdges(), 2);
  EXPECT_STREQ(bow->GetEdge(1).c_str(), "Barbed");
  BrRAGDamage damage;
  bow->GetWeaponDamage(damage);
  EXPECT_TRUE(damage.IsRanged());
  EXPECT_TRUE(damage.HasEdge(BrStringT<char>("Piercing")));

  const int objects = world.Map()->NumObjects();
  bow->Fire(rat);
  EXPECT_EQ(hero->Inventory().GetNumItemsOfType(BrStringT<char>("Arrow")), 1);
  EXPECT_FALSE(arrow1->IsValid());
  EXPECT_EQ(world.Map()->NumObjects(), objects);

  // The missile flies 600 units a second: 300 units away it is seen for half a second.
  const size_t before = world.dev.draws.size();
  bow->Step(0.4f);
  bow->Draw(&world.dev);
  world.dev.drawAllBillboards();
  const size_t inFlight = world.dev.draws.size();
  EXPECT_GT(inFlight, before);
  bow->Step(0.2f);
  bow->Draw(&world.dev);
  world.dev.drawAllBillboards();
  EXPECT_EQ(world.dev.draws.size(), inFlight);
  // A target gone mid-shot draws nothing.
  bow->Fire(rat);
  rat->Destroy();
  bow->Draw(&world.dev);
  world.dev.drawAllBillboards();
  EXPECT_EQ(world.dev.draws.size(), inFlight);
}
