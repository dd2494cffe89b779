// The damage record: armour never turns a hit into healing, poison and internal wounds pass armour, the floating
// text (multipliers, healing, no divisor for a multiplier of 0), and the archive form without owner or killer.
#include <gtest/gtest.h>

#include "../../engine/kernel/WorldTestSupport.h"
#include "adventure/world/BrRAGDamage.h"
#include "core/BrBin.h"

TEST(RAGDamage, ArmourReducesOnlyPlainDamageAndNeverBelowZero) {
  BrRAGDamage hit;
  hit.SetPoints(2.0f);
  hit.ApplyArmour(3.0f);
  EXPECT_EQ(hit.GetPoints(), 0.0f);

  BrRAGDamage poison;
  poison.SetPoints(2.0f);
  BrStringT<char> edge("Poison");
  poison.AddEdge(edge);
  poison.ApplyArmour(10.0f);
  EXPECT_EQ(poison.GetPoints(), 2.0f);

  // Healing passes armour only as an internal effect; plain healing comes to nothing.
  BrRAGDamage potion;
  potion.SetPoints(-5.0f);
  BrStringT<char> internal("Internal");
  potion.AddEdge(internal);
  potion.ApplyArmour(4.0f);
  EXPECT_EQ(potion.GetPoints(), -5.0f);
  BrRAGDamage plainHeal;
  plainHeal.SetPoints(-5.0f);
  plainHeal.ApplyArmour(0.0f);
  EXPECT_EQ(plainHeal.GetPoints(), 0.0f);

  EXPECT_STREQ(hit.GetEdge(0).c_str(), "None");
  EXPECT_STREQ(poison.GetEdge(-1).c_str(), "None");
  EXPECT_STREQ(poison.GetHitEffect(0).c_str(), "None");
  EXPECT_TRUE(poison.HasEdge(BrStringT<char>("Poison")));
  EXPECT_FALSE(poison.HasEdge(BrStringT<char>("Pois")));
}

TEST(RAGDamage, TextShowsPointsMultiplierAndHealing) {
  auto text = [](float points, float multiplier) {
    BrRAGDamage d;
    d.SetPoints(points);
    d.SetMultiplier(multiplier);
    return std::string(d.GetDamageText().c_str() ? d.GetDamageText().c_str() : "");
  };
  EXPECT_EQ(text(7.0f, 1.0f), "7");
  EXPECT_EQ(text(3.0f, 2.0f), "3x2");
  EXPECT_EQ(text(4.0f, 0.5f), "4/2");
  EXPECT_EQ(text(-5.0f, 1.0f), "+5");
  EXPECT_EQ(text(7.9f, 1.0005f), "7");
  // A multiplier of 0 or less names no divisor.
  EXPECT_EQ(text(6.0f, 0.0f), "6");
  EXPECT_EQ(text(6.0f, -2.0f), "6");
}

TEST(RAGDamage, ArchiveKeepsTheBlowButNotWhoDealtIt) {
  brworld::RunFolder folder;
  BrRAGDamage saved;
  saved.SetPoints(4.5f);
  saved.SetMultiplier(2.0f);
  saved.SetRanged(true);
  saved.SetColour(BrARGB(128, 255, 0, 0));
  BrStringT<char> edge("Fire");
  saved.AddEdge(edge);
  saved.AddHitEffect(BrStringT<char>("Burn(3)"));
  saved.SetOwnerID(7);
  saved.SetKillerText(BrStringT<char>("a dragon"));
  {
    BrBin out;
    ASSERT_TRUE(out.Open("Media\\damage.bin", 0));
    saved.Serialize(out);
    ASSERT_TRUE(out.Close());
  }
  BrRAGDamage loaded;
  BrBin in;
  in.Loading();
  ASSERT_TRUE(in.Open("Media\\damage.bin", 0));
  loaded.Serialize(in);
  ASSERT_FALSE(in.HasFailed());
  EXPECT_EQ(loaded.GetPoints(), 4.5f);
  EXPECT_EQ(loaded.GetMultiplier(), 2.0f);
  EXPECT_TRUE(loaded.IsRanged());
  EXPECT_EQ(loaded.GetColour().g, 0);
  EXPECT_STREQ(loaded.GetEdge(0).c_str(), "Fire");
  EXPECT_STREQ(loaded.GetHitEffect(0).c_str(), "Burn(3)");
  EXPECT_EQ(loaded.GetOwnerID(), -1);
  EXPECT_STREQ(loaded.GetKillerText().c_str(), "suspicious circumstances");
}
