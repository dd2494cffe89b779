// A ranged weapon and its ammunition as a player handles them in a running game: a bow put on by a click in the
// pack, its arrows dropped by a right click, then a monster attacked. Catches a bow that, with no arrow left, keeps
// refusing every attack in silence while a melee weapon lies in the pack.
#include <gtest/gtest.h>

#include "adventure/world/BrRAGDemoEquipment.h"
#include "adventure/world/BrRAGItem.h"
#include "engine/kernel/kernel.h"
#include "tests/play/PlayPack.h"
#include "tests/play/PlayRig.h"
#include "tests/play/PlayScript.h"

using namespace brplay;

TEST(Ammo, ABowWhoseArrowsWereDroppedGivesWayToAMeleeWeaponWhenThePlayerAttacks) {
  PlayTree tree;
  PlayHost host;
  ASSERT_TRUE(StartAlone(tree, host, 4248)) << host.State();
  PlayScript script(host);
  PlayPack pack(host, script);
  const int bowSlot = pack.Find("PickupShortBow", "ShortBow");
  ASSERT_GE(bowSlot, 0) << pack.Why();
  ASSERT_GE(pack.Find("PickupArrow", "Arrow"), 0) << pack.Why();
  auto* bow = static_cast<BrRAGDemoEquipment*>(pack.ItemIn(bowSlot)->SafeCast(&BrRAGDemoEquipment::Type));
  ASSERT_NE(bow, nullptr);
  ASSERT_TRUE(pack.ClickCell(bowSlot)) << pack.Why();
  ASSERT_TRUE(bow->IsEquipped());
  // A drop beside the player may find no floor; the player tries again.
  for (int tries = 0; tries < 8 && pack.Count("Arrow") > 0; ++tries) pack.RightClickCell(pack.SlotOf("Arrow"));
  ASSERT_EQ(pack.Count("Arrow"), 0);
  ASSERT_GT(pack.Count("Dagger"), 0) << "the start equipment has no melee weapon";

  EXPECT_TRUE(script.FightAt("Rat")) << script.Why();
  EXPECT_FALSE(bow->IsEquipped());
  host.Leave();
  EXPECT_EQ(tree.Find("ERROR"), -1) << tree.Log()[size_t(std::max(0, tree.Find("ERROR")))];
}
