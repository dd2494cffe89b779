// Actors in a real grid map: configuration clamps, the order of taking damage (colour, armour, mutators, hit
// effects, sound, health, death or number), dying once with experience for the player, healing stopped at the
// maximum, attack readiness, weapons and armour on the anatomy, and the actor saved and loaded without its start
// equipment or specials given twice.
#include <gtest/gtest.h>

#include "RAGActorTestSupport.h"
#include "RAGTestMutators.h"
#include "adventure/world/BrRAGArmour.h"
#include "adventure/world/BrRAGPickup.h"
#include "adventure/world/BrRAGPlayer.h"
#include "adventure/world/BrRAGWeapon.h"

using ragactor::ActorWorld;

namespace {
const char* kConfig =
    "[Rat]\nType=BrRAGActor\nHealth=10\nToHit=35\nXP=-5\nIQ=70\nTouch=RatBite\nAnatomy=Body,Hand,Hand\n\n"
    "[RatBite]\nType=BrRAGWeapon\nDamage=2\nSpeed=4\n\n"
    "[Ogre]\nType=BrRAGActor\nHealth=40\nXP=9\nIQ=1\nToHit=20\nAnatomy=Body,Hand,Hand\n\n"
    "[Knight]\nType=BrRAGActor\nHealth=30\nXP=12\nIQ=4\nAnatomy=Body,Hand,Hand\n"
    "StartEquip=Sword,Mail\nSpecial=TestTimed(1,2)\n\n"
    "[Hero]\nType=BrRAGPlayer\nHealth=20\nRankNames=Novice,Fighter,Hero\nRankXPs=0,100,1000\n"
    "Anatomy=Body,Hand,Hand\n\n"
    "[Weapon]\nType=BrRAGWeapon\nEquipsOn=Hand\n\n"
    "[Sword]\nType=Weapon\nDamage=5\nSpeed=4\n\n"
    "[Axe]\nType=Weapon\nDamage=5\nSpeed=1\n\n"
    "[Club]\nType=Weapon\nDamage=3\n\n"
    "[Pike]\nType=Weapon\nDamage=4\nEquipsOn=Hand,Hand\n\n"
    "[Bow]\nType=BrRAGRangedWeapon\nDamage=9\nAmmoType=Arrow\nEquipsOn=Hand,Hand\n\n"
    "[Mail]\nType=BrRAGArmour\nDefence=3\nEquipsOn=Body\n\n"
    "[Plate]\nType=BrRAGArmour\nDefence=5\nEquipsOn=Body\n\n"
    "[Porter]\nType=BrRAGActor\nHealth=10\nSpeed=200\nCanCarry=Weapon,Food\n\n"
    "[Food]\nType=BrRAGItem\n\n[Bread]\nType=Food\n\n[Loaf]\nType=Bread\n\n"
    "[LoopA]\nType=LoopB\n\n[LoopB]\nType=LoopA\n\n"
    "[PickupLoaf]\nType=BrRAGPickup\n\n";

// A blow of points (times multiplier) from owner, with optional edge.
BrRAGDamage Blow(float points, float multiplier = 1.0f, int owner = -1, const char* edge = nullptr) {
  BrRAGDamage d;
  d.SetPoints(points);
  d.SetMultiplier(multiplier);
  d.SetOwnerID(owner);
  if (edge) {
    BrStringT<char> e(edge);
    d.AddEdge(e);
  }
  return d;
}

// An item of a kind put into actor's inventory (owned by it), unequipped.
template <class T>
T* Give(ActorWorld& world, BrRAGActor* actor, const char* kind) {
  T* item = world.Spawn<T>(kind);
  if (!item) return nullptr;
  item->SetDrawnByMap(false);
  actor->AddToInventory(item->GetID());
  item->SetOwner(actor->GetID());
  return item;
}

int Plays(ActorWorld& world, BrAudioID& id) {
  int n = 0;
  const std::string prefix = "play3d " + std::to_string(id.GetID()) + " ";
  for (const std::string& call : world.audio.Calls())
    if (call.compare(0, prefix.size(), prefix) == 0) ++n;
  return n;
}
}  // namespace

TEST(RAGActor, ConfigurationIsClampedAndUnsavedValuesComeFromTheScript) {
  ActorWorld world(kConfig);
  BrRAGActor* rat = world.Spawn("Rat");
  ASSERT_NE(rat, nullptr);
  EXPECT_EQ(rat->GetHitProbability(), 20.0f);
  EXPECT_EQ(rat->GetXPWorth(), 0);
  EXPECT_EQ(rat->GetIQ(), 50);
  EXPECT_EQ(rat->GetGroundSpeed(), 100.0f);
  ASSERT_EQ(rat->GetNumAnatomySlots(), 3);
  EXPECT_STREQ(rat->GetAnatomySlot(2)->m_LimbName.c_str(), "Hand");
  EXPECT_EQ(rat->GetAnatomySlot(2)->m_iItemID, -1);
  EXPECT_EQ(rat->getHUDColour().a, 255);
  EXPECT_EQ(rat->getHUDColour().b, 255);
  // A new actor can carry things at once.
  EXPECT_EQ(rat->Inventory().GetNumberOfSlots(), 20);
  EXPECT_TRUE(rat->IsInState(BrStringT<char>("BrRAGStateNormal")));
  // Its natural weapon sets its pace: speed 4 attacks every quarter second.
  EXPECT_FLOAT_EQ(rat->GetAttackRate(), 0.25f);
  BrRAGWeapon* bite = rat->GetWeapon(0);
  ASSERT_NE(bite, nullptr);
  EXPECT_TRUE(bite->IsTouchAttack());
  EXPECT_EQ(bite->GetID(), rat->GetTouchWeaponID());
}

TEST(RAGActor, TakingDamageInOrder) {
  ActorWorld world(kConfig);
  BrRAGActor* ogre = world.Spawn("Ogre");
  ASSERT_NE(ogre, nullptr);
  ogre->SetArmourClass(1.0f);

  // Armour first (4.7 - 1 = 3.7), then the multiplier on the truncated product: 7 health.
  BrRAGDamage hit = Blow(4.7f, 2.0f);
  ogre->TakeDMG(hit);
  EXPECT_EQ(ogre->GetHealth(), 33);
  EXPECT_EQ(hit.GetColour().g, 255);  // healthy: white
  EXPECT_EQ(Plays(world, ogre->HurtSound()), 1);
  ASSERT_EQ(ogre->GetNumFlyups(), 1);
  EXPECT_EQ(ogre->GetFlyup(0)->m_iValue, 7);
  EXPECT_STREQ(ogre->GetFlyup(0)->m_Text.c_str(), "3x2");

  // Below half health the number is orange, below a quarter red.
  ogre->SetHealth(16);
  BrRAGDamage second = Blow(2.0f);
  ogre->TakeDMG(second);
  EXPECT_EQ(second.GetColour().g, 120);
  ogre->SetHealth(8);
  BrRAGDamage third = Blow(2.0f);
  ogre->TakeDMG(third);
  EXPECT_EQ(third.GetColour().g, 0);
  EXPECT_EQ(ogre->GetHealth(), 7);

  // A miss: no sound, no number, no loss. A blow that truncates to nothing floats "MISS" (value 0).
  world.audio.ClearCalls();
  const int flyups = ogre->GetNumFlyups();
  BrRAGDamage miss;
  ogre->TakeDMG(miss);
  EXPECT_EQ(Plays(world, ogre->HurtSound()), 0);
  EXPECT_EQ(ogre->GetNumFlyups(), flyups);
  BrRAGDamage graze = Blow(1.5f);  // 0.5 after armour
  ogre->TakeDMG(graze);
  EXPECT_EQ(ogre->GetHealth(), 7);
  bool missShown = false;
  for (int i = 0; i < ogre->GetNumFlyups(); ++i)
    missShown |= ogre->GetFlyup(i)->m_fLife > 0.0f && ogre->GetFlyup(i)->m_iValue == 0;
  EXPECT_TRUE(missShown);

  // Poison passes the armour; an attached mutator doubles the blow; a hit effect attaches another mutator.
  ogre->SetArmourClass(10.0f);
  ASSERT_TRUE(ogre->ApplyMutator(BrStringT<char>("TestDouble"), false));
  BrRAGDamage poison = Blow(2.0f, 1.0f, -1, "Poison");
  poison.AddHitEffect(BrStringT<char>("TestTimed(4)"));
  ogre->TakeDMG(poison);
  EXPECT_EQ(ogre->GetHealth(), 3);
  EXPECT_NE(ogre->GetMutator(BrStringT<char>("MUTTestTimed(4)"), true), nullptr);

  // Healing is yellow, and stops at the maximum with the number saying what it really healed.
  BrRAGDamage heal = Blow(-100.0f, 1.0f, -1, "Internal");
  ogre->TakeDMG(heal);
  EXPECT_EQ(ogre->GetHealth(), 40);
  EXPECT_EQ(heal.GetPoints(), -37.0f);
  EXPECT_EQ(heal.GetColour().r, 254);
  EXPECT_EQ(heal.GetColour().g, 241);
  // The flyups spent their life and their entries are reused.
  const int before = ogre->GetNumFlyups();
  ogre->Step(1.5f);
  BrRAGDamage after = Blow(12.0f);
  ogre->TakeDMG(after);
  EXPECT_EQ(ogre->GetNumFlyups(), before);
}

TEST(RAGActor, DyingOnceWithExperienceOnlyForThePlayer) {
  ActorWorld world(kConfig);
  BrRAGPlayer* hero = world.Spawn<BrRAGPlayer>("Hero");
  BrRAGActor* ogre = world.Spawn("Ogre");
  BrRAGActor* knight = world.Spawn("Knight");
  ASSERT_NE(hero, nullptr);
  ASSERT_NE(ogre, nullptr);
  ASSERT_NE(knight, nullptr);
  const int ogreID = ogre->GetID();
  // Object ids start at 0 and 0 is a real object: the hero is id 0 and its kill still counts.
  EXPECT_EQ(hero->GetID(), 0);

  BrRAGDamage fatal = Blow(100.0f, 1.0f, hero->GetID());
  ogre->TakeDMG(fatal);
  EXPECT_EQ(hero->GetXP(), 9);
  EXPECT_FALSE(ogre->IsValid());
  EXPECT_EQ(Plays(world, ogre->DeathSound()), 1);
  // The dead take nothing more: no second death, no second award.
  BrRAGDamage again = Blow(100.0f, 1.0f, hero->GetID());
  ogre->TakeDMG(again);
  EXPECT_EQ(hero->GetXP(), 9);
  EXPECT_EQ(Plays(world, ogre->DeathSound()), 1);
  EXPECT_EQ(world.Get<BrRAGActor>(ogreID), nullptr);

  // A kill by another actor awards nothing.
  BrRAGActor* rat = world.Spawn("Rat");
  ASSERT_NE(rat, nullptr);
  rat->SetXPWorth(5);
  BrRAGDamage bite = Blow(100.0f, 1.0f, knight->GetID());
  rat->TakeDMG(bite);
  EXPECT_EQ(hero->GetXP(), 9);
  EXPECT_FALSE(rat->IsValid());

  // A killed player is not destroyed and dies once.
  BrRAGDamage end = Blow(100.0f, 1.0f, knight->GetID());
  hero->TakeDMG(end);
  EXPECT_TRUE(hero->IsValid());
  EXPECT_TRUE(hero->IsDead());
  const int health = hero->GetHealth();
  BrRAGDamage twice = Blow(5.0f, 1.0f, knight->GetID());
  hero->TakeDMG(twice);
  EXPECT_EQ(hero->GetHealth(), health);
  EXPECT_EQ(Plays(world, hero->DeathSound()), 1);
}

TEST(RAGActor, AttackReadinessKeepsOnlyTheRemainder) {
  ActorWorld world(kConfig);
  BrRAGActor* knight = world.Spawn("Knight");
  ASSERT_NE(knight, nullptr);
  // The start equipment put the sword (speed 4) in hand.
  BrRAGWeapon* sword = knight->GetWeapon(0);
  ASSERT_NE(sword, nullptr);
  EXPECT_FALSE(sword->IsTouchAttack());
  EXPECT_FLOAT_EQ(knight->GetAttackRate(), 0.25f);
  EXPECT_FALSE(knight->CanAttackYet());
  knight->Step(10.1f);  // a long pause
  EXPECT_TRUE(knight->CanAttackYet());
  EXPECT_FALSE(knight->CanAttackYet());
  EXPECT_GT(knight->GetAttackTimer(), 0.0f);
  EXPECT_LE(knight->GetAttackTimer(), 0.25f);
  // A melee attacker always can; a ranged one needs ammunition.
  EXPECT_TRUE(knight->CanAttack(nullptr));
  EXPECT_TRUE(knight->HasAmmo());
}

TEST(RAGActor, WeaponsAndArmourOnTheAnatomy) {
  ActorWorld world(kConfig);
  BrRAGActor* ogre = world.Spawn("Ogre");
  ASSERT_NE(ogre, nullptr);

  // With nothing to wield the natural weapon is taken.
  ogre->EquipBestWeapon();
  EXPECT_TRUE(ogre->GetWeapon(0)->IsTouchAttack());
  EXPECT_EQ(ogre->GetNumWeapons(), 0);

  BrRAGWeapon* bow = Give<BrRAGWeapon>(world, ogre, "Bow");
  BrRAGWeapon* sword = Give<BrRAGWeapon>(world, ogre, "Sword");
  BrRAGWeapon* axe = Give<BrRAGWeapon>(world, ogre, "Axe");
  BrRAGWeapon* club = Give<BrRAGWeapon>(world, ogre, "Club");
  ASSERT_TRUE(bow && sword && axe && club);
  // The bow would score highest but has no arrows; sword and axe tie and the earlier slot wins.
  ogre->EquipBestWeapon();
  EXPECT_TRUE(sword->IsEquipped());
  EXPECT_FALSE(axe->IsEquipped());
  EXPECT_FALSE(bow->IsEquipped());
  EXPECT_EQ(ogre->GetWeapon(0), sword);
  EXPECT_EQ(ogre->GetNumWeapons(), 1);
  EXPECT_EQ(ogre->GetWeapon(5)->GetID(), ogre->GetTouchWeaponID());
  // The ogre's strength 1 counts on top of the sword's 5.
  EXPECT_FLOAT_EQ(ogre->GetAttackDMG().GetPoints(), 6.0f);
  EXPECT_EQ(ogre->GetAttackDMG().GetOwnerID(), ogre->GetID());

  // Two hands: the club takes the free one; the pike needs both and displaces sword and club, each once.
  ASSERT_TRUE(club->Equip(ogre, true));
  EXPECT_EQ(ogre->GetNumWeapons(), 2);
  BrRAGWeapon* pike = Give<BrRAGWeapon>(world, ogre, "Pike");
  ASSERT_NE(pike, nullptr);
  ASSERT_TRUE(pike->Equip(ogre, true));
  EXPECT_FALSE(sword->IsEquipped());
  EXPECT_FALSE(club->IsEquipped());
  EXPECT_EQ(ogre->GetAnatomySlot(1)->m_iItemID, pike->GetID());
  EXPECT_EQ(ogre->GetAnatomySlot(2)->m_iItemID, pike->GetID());

  // Armour: swapping never drifts the armour class, and putting on what is worn changes nothing.
  BrRAGArmour* mail = Give<BrRAGArmour>(world, ogre, "Mail");
  BrRAGArmour* plate = Give<BrRAGArmour>(world, ogre, "Plate");
  ASSERT_TRUE(mail && plate);
  ASSERT_TRUE(mail->Equip(ogre, true));
  EXPECT_EQ(ogre->GetArmourClass(), 3.0f);
  EXPECT_FALSE(mail->Equip(ogre, true));
  EXPECT_EQ(ogre->GetArmourClass(), 3.0f);
  ASSERT_TRUE(plate->Equip(ogre, true));
  EXPECT_FALSE(mail->IsEquipped());
  EXPECT_EQ(ogre->GetArmourClass(), 5.0f);
  ASSERT_TRUE(mail->Equip(ogre, true));
  EXPECT_EQ(ogre->GetArmourClass(), 3.0f);
  mail->Unequip(ogre);
  mail->Unequip(ogre);
  EXPECT_EQ(ogre->GetArmourClass(), 0.0f);
  ogre->UnEquipAll();
  EXPECT_EQ(ogre->GetNumEquippedItems(), 0);
  EXPECT_EQ(ogre->GetEquippedItem(0), nullptr);
  EXPECT_EQ(ogre->GetArmourClass(), 0.0f);
}

TEST(RAGActor, SavedAndLoadedWithoutStartEquipmentGivenTwice) {
  ActorWorld world(kConfig);
  BrRAGActor* knight = world.Spawn("Knight", 100.0f, 0.0f);
  BrRAGActor* rat = world.Spawn("Rat", 140.0f, 0.0f);
  ASSERT_TRUE(knight && rat);
  const int knightID = knight->GetID();
  EXPECT_EQ(knight->GetNumEquippedItems(), 2);
  EXPECT_EQ(knight->GetArmourClass(), 3.0f);
  ASSERT_NE(knight->GetMutator(BrStringT<char>("MUTTestTimed(1,2)"), true), nullptr);
  EXPECT_EQ(knight->GetMutator(BrStringT<char>("MUTTestTimed(1,2)"), true)->GetDuration(), -1.0f);
  knight->Attack(rat);
  ASSERT_TRUE(knight->IsInState(BrStringT<char>("BrRAGStateAttack")));
  knight->SetStrength(4.0f);
  knight->SetHealth(21);

  ASSERT_TRUE(world.SaveAndReload());
  BrRAGActor* loaded = world.Get<BrRAGActor>(knightID);
  ASSERT_NE(loaded, nullptr);
  EXPECT_EQ(loaded->Inventory().GetNumberOfItems(), 2);
  EXPECT_EQ(loaded->GetNumEquippedItems(), 2);
  EXPECT_EQ(loaded->GetArmourClass(), 3.0f);
  EXPECT_EQ(loaded->GetStrength(), 4.0f);
  EXPECT_EQ(loaded->GetHealth(), 21);
  EXPECT_EQ(loaded->CountTimesMutatedBy(BrStringT<char>("MUTTestTimed(1,2)")), 1u);
  MUTTestTimed* special = static_cast<MUTTestTimed*>(loaded->GetMutator(BrStringT<char>("MUTTestTimed"), false));
  ASSERT_NE(special, nullptr);
  EXPECT_EQ(special->GetMutatedID(), knightID);
  EXPECT_EQ(special->GetNumSpawnParams(), 2);
  // Nothing of the start kit exists twice in the map.
  int swords = 0, mails = 0;
  for (int id = 0; id < world.Map()->NumObjects(); ++id) {
    BrGameObj* object = world.Map()->GetObjectA(id);
    if (!object->IsValid()) continue;
    swords += BrStringT<char>(object->GetName()) == BrStringT<char>("Sword");
    mails += BrStringT<char>(object->GetName()) == BrStringT<char>("Mail");
  }
  EXPECT_EQ(swords, 1);
  EXPECT_EQ(mails, 1);
  // What is not stored comes from the script again; the fight is forgotten.
  EXPECT_EQ(loaded->GetXPWorth(), 12);
  EXPECT_EQ(loaded->GetIQ(), 4);
  EXPECT_FALSE(loaded->IsInState(BrStringT<char>("BrRAGStateAttack")));
  EXPECT_EQ(loaded->GetWeapon(0)->GetText(), world.Get<BrRAGWeapon>(loaded->GetWeapon(0)->GetID())->GetText());
  EXPECT_FALSE(loaded->GetWeapon(0)->IsTouchAttack());
}

TEST(RAGActor, CarriesKindsByAncestryAndWalksToWhatItPicksUp) {
  ActorWorld world(kConfig);
  BrRAGActor* porter = world.Spawn("Porter", -300.0f, 0.0f);
  ASSERT_NE(porter, nullptr);
  BrStringT<char> loaf("Loaf"), sword("Sword"), plate("Plate"), loop("LoopA");
  EXPECT_TRUE(porter->CanCarry(loaf));   // Loaf -> Bread -> Food
  EXPECT_TRUE(porter->CanCarry(sword));  // Sword -> Weapon
  EXPECT_FALSE(porter->CanCarry(plate));
  // A Type chain that loops ends the walk with a log line instead of hanging.
  EXPECT_FALSE(porter->CanCarry(loop));
  EXPECT_EQ(world.folder.CountLines("WARNING: CanCarry gave up on LoopA"), 1);

  // Heading for a pickup leaves any fight; touching it picks it up.
  BrRAGPickup* pickup = world.Spawn<BrRAGPickup>("PickupLoaf", 200.0f, 0.0f);
  ASSERT_NE(pickup, nullptr);
  porter->HeadForTargetObj(pickup->GetID());
  EXPECT_EQ(porter->GetTargetID(), pickup->GetID());
  int steps = 0;
  while (pickup->IsValid() && steps++ < 100) world.Map()->Step(0.1f);
  EXPECT_FALSE(pickup->IsValid());
  EXPECT_EQ(porter->GetTargetID(), -1);
  EXPECT_NE(porter->Inventory().ContainsItemOfType(loaf), -1);
  EXPECT_GT(porter->Location().x, 0.0f);

  // An id that names nothing stops the actor and clears its target.
  porter->HeadForTargetObj(pickup->GetID());
  EXPECT_EQ(porter->GetTargetID(), -1);
  EXPECT_EQ(porter->PathDestination(), porter->Location());
}

TEST(RAGActor, AnOlderSaveLoadsWithoutTheFieldsItNeverHad) {
  for (uint32_t version : {uint32_t(262), GEngineVer}) {
    ActorWorld world(kConfig);
    BrRAGActor* knight = world.Spawn("Knight");
    ASSERT_NE(knight, nullptr);
    const int knightID = knight->GetID();
    knight->setHUDColour(BrARGB(1, 2, 3, 4));
    ASSERT_TRUE(world.SaveAndReload(version)) << version;
    BrRAGActor* loaded = world.Get<BrRAGActor>(knightID);
    ASSERT_NE(loaded, nullptr);
    // The HUD colour is stored from version 268 on; before it the configured one stays.
    EXPECT_EQ(loaded->getHUDColour().a, version >= 268 ? 1 : 255) << version;
    // Everything after it still lines up.
    EXPECT_EQ(loaded->GetNumEquippedItems(), 2) << version;
    EXPECT_EQ(loaded->GetArmourClass(), 3.0f) << version;
    EXPECT_EQ(loaded->CountTimesMutatedBy(BrStringT<char>("MUTTestTimed(1,2)")), 1u) << version;
    EXPECT_EQ(loaded->GetNumAnatomySlots(), 3) << version;
  }
}
