// Fights through the actor states on a real map: the to-hit clamps, a melee fight to the kill with the victim
// striking back and the kill message, a killed player that does not strike back, and ranged shots that provoke
// nothing and end in an out-of-ammunition alert for the player only, and an attacker that dies inside its own
// attack (its states outlive the step that runs them).
#include <gtest/gtest.h>

#include "RAGActorTestSupport.h"
#include "RAGTestMutators.h"
#include "adventure/world/BrRAGPlayer.h"
#include "adventure/world/BrRAGRangedWeapon.h"

using ragactor::ActorWorld;

namespace {
const char* kConfig =
    "[Knight]\nType=BrRAGActor\nHealth=30\nToHit=20\nAnatomy=Body,Hand,Hand\nStartEquip=Sword\n\n"
    "[Goblin]\nType=BrRAGActor\nHealth=8\nXP=3\nToHit=0\nText=goblin\n\n"
    "[Rat]\nType=BrRAGActor\nHealth=10\nToHit=20\nTouch=RatBite\n\n"
    "[RatBite]\nType=BrRAGWeapon\nDamage=2\nSpeed=4\n\n"
    "[Ogre]\nType=BrRAGActor\nHealth=400\nToHit=20\nAnatomy=Body,Hand,Hand\n\n"
    "[Hero]\nType=BrRAGPlayer\nHealth=20\nToHit=20\nAnatomy=Body,Hand,Hand\n\n"
    "[Sword]\nType=BrRAGWeapon\nDamage=5\nSpeed=4\nEquipsOn=Hand\n\n"
    "[Bow]\nType=BrRAGRangedWeapon\nDamage=1\nSpeed=4\nAmmoType=Arrow\nRange=4\nEquipsOn=Hand,Hand\n\n"
    "[Arrow]\nType=BrRAGWeapon\nDamage=1\nStackSize=10\n\n"
    "[Crossbow]\nType=BrRAGRangedWeapon\nDamage=1\nSpeed=4\nAmmoType=Bolt\nRange=4\nEquipsOn=Hand,Hand\n\n"
    "[Bolt]\nType=BrRAGWeapon\nDamage=40\nStackSize=10\n\n";

// Exposes the roll, and the steps of a blow on an actor's own attack state.
class RollingState : public BrRAGStateAttack {
public:
  using BrRAGStateAttack::MakeToHitRoll;
  static void Roll(BrRAGStateAttack* state) { (state->*(&RollingState::MakeToHitRoll))(1.0f, 20.0f); }
  static void Hit(BrRAGStateAttack* state) { (state->*(&RollingState::MeleeHit))(); }
};

double HitRate(float armourClass, float hitProbability) {
  RollingState state;
  int hits = 0;
  const int rolls = 4000;
  for (int i = 0; i < rolls; ++i) hits += state.MakeToHitRoll(armourClass, hitProbability) ? 1 : 0;
  return double(hits) / rolls;
}

int AttackTarget(BrRAGActor* actor) {
  BrBaseState* state = actor->GetCurrentState();
  if (!actor->IsInState(BrStringT<char>("BrRAGStateAttack")) || !state) return -1;
  return static_cast<BrRAGStateAttack*>(state)->GetTargetID();
}

template <class T>
T* Arm(ActorWorld& world, BrRAGActor* actor, const char* kind) {
  T* item = world.Spawn<T>(kind);
  if (!item) return nullptr;
  item->SetDrawnByMap(false);
  actor->AddToInventory(item->GetID());
  item->SetOwner(actor->GetID());
  return item;
}
}  // namespace

TEST(RAGCombat, ToHitChanceIsClampedBetweenATenthAndNineTenths) {
  EXPECT_NEAR(HitRate(0.0f, 10.0f), 0.9, 0.03);  // armour 0 counts as 1
  EXPECT_NEAR(HitRate(20.0f, 10.0f), 0.5, 0.04);
  EXPECT_NEAR(HitRate(5.0f, 0.0f), 0.1, 0.03);    // never below one in ten
  EXPECT_NEAR(HitRate(40.0f, 20.0f), 0.9, 0.03);  // armour above 20 counts as 20
}

TEST(RAGCombat, MeleeFightToTheKill) {
  ActorWorld world(kConfig);
  BrRAGActor* knight = world.Spawn("Knight", 0.0f, 0.0f);
  BrRAGActor* goblin = world.Spawn("Goblin", 50.0f, 0.0f);
  ASSERT_TRUE(knight && goblin);
  const int goblinID = goblin->GetID();
  EXPECT_FALSE(knight->Attack(goblin));  // the answer is always false; the state tells
  ASSERT_EQ(AttackTarget(knight), goblinID);

  bool struckBack = false;
  int steps = 0;
  while (world.Get<BrRAGActor>(goblinID) && steps++ < 400) {
    world.Map()->Step(0.3f);
    if (world.Get<BrRAGActor>(goblinID)) struckBack |= AttackTarget(goblin) == knight->GetID();
  }
  ASSERT_EQ(world.Get<BrRAGActor>(goblinID), nullptr) << "the goblin never died";
  EXPECT_TRUE(struckBack);
  EXPECT_EQ(world.CountMessages("Knight killed the goblin (3 XP)"), 1);
  world.Map()->Step(0.3f);
  EXPECT_TRUE(knight->IsInState(BrStringT<char>("BrRAGStateNormal")));
}

TEST(RAGCombat, AKilledPlayerDoesNotStrikeBack) {
  ActorWorld world(kConfig);
  BrRAGPlayer* hero = world.Spawn<BrRAGPlayer>("Hero", 0.0f, 0.0f);
  BrRAGActor* rat = world.Spawn("Rat", 50.0f, 0.0f);
  ASSERT_TRUE(hero && rat);
  hero->SetHealth(1);
  rat->Attack(hero);
  ASSERT_EQ(AttackTarget(rat), hero->GetID());
  int steps = 0;
  while (!hero->IsDead() && steps++ < 400) {
    world.Map()->Step(0.3f);
    // A miss makes the hero strike back; only the deadly blow is looked at.
    if (!hero->IsDead()) hero->ChangeToState(BrStringT<char>("BrRAGStateNormal"));
  }
  ASSERT_TRUE(hero->IsDead());
  EXPECT_TRUE(hero->IsValid());
  EXPECT_FALSE(hero->IsInState(BrStringT<char>("BrRAGStateAttack")));
  // The rat leaves the dead alone.
  const int health = hero->GetHealth();
  for (int i = 0; i < 5; ++i) world.Map()->Step(0.3f);
  EXPECT_TRUE(rat->IsInState(BrStringT<char>("BrRAGStateNormal")));
  EXPECT_EQ(hero->GetHealth(), health);
}

TEST(RAGCombat, RangedShotsProvokeNothingAndOnlyThePlayerHearsTheAmmoRunOut) {
  ActorWorld world(kConfig);
  BrRAGPlayer* hero = world.Spawn<BrRAGPlayer>("Hero", 0.0f, 0.0f);
  BrRAGActor* ogre = world.Spawn("Ogre", 300.0f, 0.0f);
  ASSERT_TRUE(hero && ogre);
  BrRAGRangedWeapon* bow = Arm<BrRAGRangedWeapon>(world, hero, "Bow");
  ASSERT_NE(Arm<BrRAGWeapon>(world, hero, "Arrow"), nullptr);
  ASSERT_NE(bow, nullptr);
  ASSERT_TRUE(bow->Equip(hero, true));
  ASSERT_GT(hero->GetAttackRange(), 300.0f);

  BrAudioID& alert = BrRAGStateAttack::miOutOfAmmoSFX;
  auto alerts = [&]() { return alert.Ready() ? world.audio.CountOf("play2d " + std::to_string(alert.GetID())) : 0; };

  hero->Attack(ogre);
  ASSERT_EQ(AttackTarget(hero), ogre->GetID());
  int steps = 0;
  while (bow->IsEquipped() && steps++ < 100) world.Map()->Step(0.3f);
  ASSERT_FALSE(bow->IsEquipped()) << "the arrow was never shot";
  EXPECT_EQ(hero->Inventory().ContainsItemOfType(BrStringT<char>("Arrow")), -1);
  EXPECT_TRUE(hero->GetWeapon(0)->IsTouchAttack());
  EXPECT_FALSE(ogre->IsInState(BrStringT<char>("BrRAGStateAttack")));
  EXPECT_EQ(alerts(), 1);

  // An enemy running out changes weapons in silence.
  BrRAGActor* rat = world.Spawn("Rat", 300.0f, 300.0f);
  ASSERT_NE(rat, nullptr);
  BrRAGRangedWeapon* ogreBow = Arm<BrRAGRangedWeapon>(world, ogre, "Bow");
  ASSERT_NE(Arm<BrRAGWeapon>(world, ogre, "Arrow"), nullptr);
  ASSERT_TRUE(ogreBow->Equip(ogre, true));
  hero->ChangeToState(BrStringT<char>("BrRAGStateNormal"));
  ogre->Attack(rat);
  ASSERT_EQ(AttackTarget(ogre), rat->GetID());
  steps = 0;
  while (ogreBow->IsEquipped() && steps++ < 100) world.Map()->Step(0.3f);
  ASSERT_FALSE(ogreBow->IsEquipped());
  EXPECT_EQ(alerts(), 1);
}

TEST(RAGCombat, TheLastShotHitsWithTheDamageOfItsAmmunition) {
  ActorWorld world(kConfig);
  BrRAGPlayer* hero = world.Spawn<BrRAGPlayer>("Hero", 0.0f, 0.0f);
  BrRAGActor* ogre = world.Spawn("Ogre", 300.0f, 0.0f);
  ASSERT_TRUE(hero && ogre);
  BrRAGRangedWeapon* crossbow = Arm<BrRAGRangedWeapon>(world, hero, "Crossbow");
  ASSERT_NE(Arm<BrRAGWeapon>(world, hero, "Bolt"), nullptr);
  ASSERT_TRUE(crossbow->Equip(hero, true));
  const int bolt = int(crossbow->GetWeaponStrength());
  ASSERT_GE(bolt, 40);

  hero->Attack(ogre);
  BrRAGStateAttack* attack = static_cast<BrRAGStateAttack*>(hero->GetCurrentState());
  ASSERT_EQ(AttackTarget(hero), ogre->GetID());
  RollingState::Roll(attack);
  EXPECT_EQ(hero->Inventory().ContainsItemOfType(BrStringT<char>("Bolt")), -1);
  RollingState::Hit(attack);
  EXPECT_EQ(ogre->GetHealth(), 400 - bolt);
}

TEST(RAGCombat, AnAttackerKilledByItsOwnBlowFinishesItsStepSafely) {
  ActorWorld world(kConfig);
  BrRAGActor* knight = world.Spawn("Knight", 0.0f, 0.0f);
  BrRAGActor* ogre = world.Spawn("Ogre", 50.0f, 0.0f);
  ASSERT_TRUE(knight && ogre);
  ASSERT_TRUE(ogre->ApplyMutator(BrStringT<char>("TestThorns"), true));
  knight->Attack(ogre);
  int steps = 0;
  while (knight->IsValid() && steps++ < 400) world.Map()->Step(0.3f);
  EXPECT_FALSE(knight->IsValid());
  EXPECT_EQ(knight->GetNumStates(), 0);
  // The ogre was struck once and lives on, and nobody is left fighting.
  EXPECT_TRUE(ogre->IsValid());
  for (int i = 0; i < 3; ++i) world.Map()->Step(0.3f);
  EXPECT_TRUE(ogre->IsInState(BrStringT<char>("BrRAGStateNormal")));
}
