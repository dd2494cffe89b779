// The six mutators: catches poison that stacks, ticks too early or ignores immunity, speed or flight applied
// twice, flight that halves the wrong blows, heal that stays behind, prone that does not double, removal
// patterns that match too much or too little, icons not drawn and messages not sent.
#include <gtest/gtest.h>

#include <algorithm>

#include "adventure/world/BrRAGDamage.h"
#include "game/Mutators.h"
#include "tests/game/GameTestSupport.h"

using namespace brgame;

namespace {

// An actor that keeps the messages its mutators tell it.
class Listener : public BrRAGActor {
public:
  void DisplayMsg(char* text) override { said.push_back(text); }
  bool Heard(const std::string& text) const { return std::find(said.begin(), said.end(), text) != said.end(); }
  std::vector<std::string> said;
};

Listener* AddListener(BrRogueMap* map) {
  Listener* actor = new Listener();
  actor->Init();
  actor->SetName("Listener");
  actor->SetMaxHealth(100);
  actor->SetHealth(100);
  actor->SetDrawScale(BrVector(30.0f, 40.0f, 0.0f));
  map->AddObject(actor);
  return actor;
}

template <class T>
T* Mutator(BrRAGActor* actor, const char* name) {
  BrRAGMutator* found = actor->GetMutator(name, true);
  return found ? static_cast<T*>(found->SafeCast(&T::Type)) : nullptr;
}

BrRAGDamage Blow(float points, const char* edge, int owner, bool ranged = false) {
  BrRAGDamage damage;
  damage.SetPoints(points);
  if (edge) {
    BrStringT<char> text(edge);
    damage.AddEdge(text);
  }
  damage.SetOwnerID(owner);
  damage.SetRanged(ranged);
  return damage;
}

}  // namespace

TEST(Mutators, PoisonTicksNeverStacksAndRespectsImmunity) {
  GameWorld world;
  Game game(3u);
  BrRogueMap* map = game.Map();
  Listener* actor = AddListener(map);

  ASSERT_TRUE(actor->ApplyMutator("Poison(0.5)", false));
  MUTPoison* poison = Mutator<MUTPoison>(actor, "MUTPoison(0.5)");
  ASSERT_NE(poison, nullptr);
  EXPECT_FLOAT_EQ(poison->GetDuration(), 60.0f);
  EXPECT_TRUE(actor->Heard("You are poisoned!"));
  EXPECT_EQ(world.Audio().CountOf("create Sounds\\poisoned.wav"), 1);
  // 0.5 a second: nothing at 2 s, the first point just after.
  for (int i = 0; i < 8; ++i) poison->Step(0.25f);
  EXPECT_EQ(actor->GetHealth(), 100);
  poison->Step(0.25f);
  EXPECT_EQ(actor->GetHealth(), 99);

  // A weaker poison changes nothing; a stronger one raises the rate and keeps the running duration.
  const float left = poison->GetDuration();
  EXPECT_FALSE(actor->ApplyMutator("Poison(0.2)", false));
  EXPECT_FLOAT_EQ(poison->GetDmgPerSecond(), 0.5f);
  EXPECT_FALSE(actor->ApplyMutator("Poison(0.9)", false));
  EXPECT_FLOAT_EQ(poison->GetDmgPerSecond(), 0.9f);
  EXPECT_FLOAT_EQ(poison->GetDuration(), left);
  EXPECT_EQ(actor->CountTimesMutatedBy("MUTPoison(0.5)"), 1u);

  // Poison damage shows green.
  BrRAGDamage sting = Blow(3.0f, "Poison", -1);
  poison->OwnerTakeDMG(sting);
  EXPECT_EQ(sting.GetColour().g, 255);
  EXPECT_EQ(sting.GetColour().r, 0);

  // Its icon and billboard draw.
  world.Render().ClearRecords();
  poison->DrawIcon(&world.Render(), 0.1f, 0.1f, 0.05f, 0.05f);
  RecordingEffectorMgr* fx = world.Render().Effectors();
  ASSERT_FALSE(world.Render().sprites.empty());
  EXPECT_EQ(fx->names[world.Render().sprites.front().effector], "ShaderPoisonFX");
  BrBillboard billboard;
  EXPECT_TRUE(poison->DrawBillboard(&world.Render(), billboard, BrVector(1.0f, 2.0f, 3.0f), 22.0f));

  // "MUTPoison" exactly leaves a poison with arguments; with '*' it removes it, with its message.
  EXPECT_FALSE(actor->ApplyMutator("Remove(MUTPoison)", false));
  EXPECT_NE(Mutator<MUTPoison>(actor, "MUTPoison(0.5)"), nullptr);
  EXPECT_FALSE(actor->ApplyMutator("Remove(MUTPoison*)", false));
  EXPECT_EQ(actor->GetMutator("MUTPoison", false), nullptr);
  EXPECT_TRUE(actor->Heard("Your head clears as the poison dissipates.."));
  Listener* plain = AddListener(map);
  ASSERT_TRUE(plain->ApplyMutator("Poison", false));
  EXPECT_FLOAT_EQ(Mutator<MUTPoison>(plain, "MUTPoison")->GetDmgPerSecond(), 0.1f);
  EXPECT_FALSE(plain->ApplyMutator("Remove(MUTPoison)", false));
  EXPECT_EQ(plain->GetMutator("MUTPoison", false), nullptr);

  // An immune actor is refused without a sound; a command naming no class is logged and ignored.
  Listener* immune = AddListener(map);
  BrRAGMutator* immunity = static_cast<BrRAGMutator*>(static_cast<BrObject*>(Engine().Spawn("BrRAGMutator")));
  immunity->Init();
  immunity->SetName("MUTImmune(Poison)");
  map->AddObject(immunity);
  immunity->Apply(immune);
  world.Audio().ClearCalls();
  EXPECT_FALSE(immune->ApplyMutator("Poison(0.5)", false));
  EXPECT_EQ(world.Audio().Calls().size(), 0u);
  EXPECT_EQ(immune->GetMutator("MUTPoison", false), nullptr);
  EXPECT_FALSE(immune->ApplyMutator("Immune(Poison)", false));
}

TEST(Mutators, SpeedFlightHealAndProne) {
  GameWorld world;
  Game game(3u);
  BrRogueMap* map = game.Map();
  Listener* actor = AddListener(map);
  Listener* attacker = AddListener(map);

  // Speed rises once, and falls back when it runs out.
  const float speed = actor->GetGroundSpeed();
  ASSERT_TRUE(actor->ApplyMutator("Speed", false));
  EXPECT_FALSE(actor->ApplyMutator("Speed", false));
  EXPECT_FLOAT_EQ(actor->GetGroundSpeed(), speed + 125.0f);
  EXPECT_TRUE(actor->Heard("You feel light and nimble!"));
  MUTSpeed* fast = Mutator<MUTSpeed>(actor, "MUTSpeed");
  ASSERT_NE(fast, nullptr);
  fast->Step(10.0f);
  EXPECT_FLOAT_EQ(actor->GetGroundSpeed(), speed);
  EXPECT_TRUE(actor->Heard("Your feet are heavy once more."));

  // Written with its prefix, a command names the same mutator: a second one is refused just the same.
  ASSERT_TRUE(actor->ApplyMutator("MUTSpeed", false));
  EXPECT_FALSE(actor->ApplyMutator("Speed", false));
  EXPECT_FLOAT_EQ(actor->GetGroundSpeed(), speed + 125.0f);
  ASSERT_NE(Mutator<MUTSpeed>(actor, "MUTSpeed"), nullptr);
  actor->RemoveMutator("MUTSpeed", false);
  EXPECT_FLOAT_EQ(actor->GetGroundSpeed(), speed);

  // Flight lifts the actor and halves only earthbound melee blows above a point.
  ASSERT_TRUE(actor->ApplyMutator("Flying", false));
  EXPECT_FALSE(actor->ApplyMutator("Flying", false));
  MUTFlying* flying = Mutator<MUTFlying>(actor, "MUTFlying");
  ASSERT_NE(flying, nullptr);
  EXPECT_FLOAT_EQ(flying->GetDuration(), 60.0f);
  flying->Step(0.1f);
  EXPECT_GE(actor->Location().y, 128.0f);
  BrRAGDamage melee = Blow(4.0f, "Slash", attacker->GetID());
  BrRAGDamage ranged = Blow(4.0f, "Pierce", attacker->GetID(), true);
  BrRAGDamage poison = Blow(4.0f, "Poison", attacker->GetID());
  BrRAGDamage graze = Blow(1.0f, "Slash", attacker->GetID());
  for (BrRAGDamage* damage : {&melee, &ranged, &poison, &graze}) flying->OwnerTakeDMG(*damage);
  EXPECT_FLOAT_EQ(melee.GetPoints(), 2.0f);
  EXPECT_FLOAT_EQ(ranged.GetPoints(), 4.0f);
  EXPECT_FLOAT_EQ(poison.GetPoints(), 4.0f);
  EXPECT_FLOAT_EQ(graze.GetPoints(), 1.0f);
  ASSERT_TRUE(attacker->ApplyMutator("Flying", false));
  BrRAGDamage fromFlier = Blow(4.0f, "Slash", attacker->GetID());
  flying->OwnerTakeDMG(fromFlier);
  EXPECT_FLOAT_EQ(fromFlier.GetPoints(), 4.0f);
  BrBillboard none;
  EXPECT_FALSE(flying->DrawBillboard(&world.Render(), none, BrVector(), 1.0f));
  flying->Step(60.0f);
  EXPECT_FLOAT_EQ(actor->Location().y, actor->GetDrawScale().y);
  EXPECT_TRUE(actor->Heard("You feel your weight return."));
  EXPECT_EQ(actor->GetMutator("MUTFlying", false), nullptr);

  // Heal heals at once and leaves nothing behind.
  actor->SetHealth(50);
  EXPECT_FALSE(actor->ApplyMutator("Heal", false));
  EXPECT_EQ(actor->GetHealth(), 60);
  EXPECT_FALSE(actor->ApplyMutator("Heal(25)", false));
  EXPECT_EQ(actor->GetHealth(), 85);
  EXPECT_EQ(actor->GetMutator("MUTHeal", false), nullptr);

  // Prone to fire doubles fire, shows its billboard only once it has, and draws both icons.
  ASSERT_TRUE(actor->ApplyMutator("Prone(Fire)", false));
  MUTProne* prone = Mutator<MUTProne>(actor, "MUTProne(Fire)");
  ASSERT_NE(prone, nullptr);
  BrBillboard billboard;
  EXPECT_FALSE(prone->DrawBillboard(&world.Render(), billboard, BrVector(), 22.0f));
  BrRAGDamage cold = Blow(3.0f, "Cold", -1);
  prone->OwnerTakeDMG(cold);
  EXPECT_FLOAT_EQ(cold.GetMultiplier(), 1.0f);
  BrRAGDamage fire = Blow(3.0f, "Fire", -1);
  prone->OwnerTakeDMG(fire);
  EXPECT_FLOAT_EQ(fire.GetMultiplier(), 2.0f);
  world.Render().ClearRecords();
  EXPECT_TRUE(prone->DrawBillboard(&world.Render(), billboard, BrVector(200.0f, 0.0f, 300.0f), 22.0f));
  // The edge icon and the overlay over it: two effectors, not one drawn twice.
  world.Render().drawAllBillboards();
  ASSERT_EQ(world.Render().effectorsSet.size(), 2u);
  EXPECT_NE(world.Render().effectorsSet[0], world.Render().effectorsSet[1]);
  world.Render().ClearRecords();
  prone->DrawIcon(&world.Render(), 0.1f, 0.1f, 0.05f, 0.05f);
  EXPECT_EQ(world.Render().sprites.size(), 2u);
}
