// The inventory base through a running map: slots and stacks, counts over stale ids, the carrier by id, and the
// stream byte for byte. Catches: adding to a full inventory, GetItem and RemoveItem acting on different places,
// destroyed items still counted, a kept carrier pointer, and a corrupt stream that allocates without bound.
#include <gtest/gtest.h>

#include <cstring>
#include <vector>

#include "../../engine/kernel/WorldTestSupport.h"
#include "core/BrBin.h"
#include "engine/kernel/BrActor.h"
#include "engine/kernel/BrDemoEntity.h"
#include "platform/brgam/BrInventory.h"

namespace {

using brworld::RunFolder;

// Reaches the stacks as the framework's inventory does.
class StackInventory : public BrInventory {
public:
  TDArray<int32_t>& Slot(int i) { return m_Slots[i]; }
  bool Empty(int i) const { return IsSlotEmpty(i); }
};

struct InventoryWorld {
  InventoryWorld() : app(new BrApplication()), scoped(app) {}
  // A valid entity named name in the map; its id.
  int Item(const char* name) {
    BrDemoEntity* item = new BrDemoEntity();
    item->Init();
    item->SetName(BrStringT<char>(name));
    return scoped.Map()->AddObject(item);
  }
  RunFolder folder;
  BrApplication* app;
  brworld::ScopedApp scoped;
};

void PutInt(std::vector<char>& out, int32_t v) {
  char b[4];
  std::memcpy(b, &v, 4);
  out.insert(out.end(), b, b + 4);
}

TEST(BrInventory, SlotsStacksAndCountsThatIgnoreStaleIds) {
  InventoryWorld world;
  StackInventory inv;
  inv.Init();
  ASSERT_EQ(inv.GetNumberOfSlots(), BrInventory::ciDefaultSlots);
  EXPECT_FALSE(inv.RemoveItem(0));  // an empty slot
  EXPECT_FALSE(inv.RemoveItem(-1));
  EXPECT_EQ(inv.GetItem(99), -1);
  std::vector<int> ids;
  for (int i = 0; i < BrInventory::ciDefaultSlots; ++i) {
    ids.push_back(world.Item(i % 2 ? "Potion" : "Scroll"));
    EXPECT_EQ(inv.AddItem(ids.back()), i);
  }
  EXPECT_EQ(inv.AddItem(world.Item("Potion")), -1);  // full
  EXPECT_EQ(inv.AddItem(-1), -1);
  EXPECT_EQ(inv.GetNumberOfItems(), 20);
  EXPECT_EQ(inv.GetNumItemsOfType(BrStringT<char>("Potion")), 10);
  EXPECT_EQ(inv.ContainsItemOfType(BrStringT<char>("Potion")), 1);
  EXPECT_EQ(inv.GetSlotContainingNativeBase(BrStringT<char>("BrDemoEntity")), 0);
  EXPECT_EQ(inv.GetSlotContainingNativeBase(BrStringT<char>("BrActor")), -1);

  // A stack with a hole first: GetItem and RemoveItem meet the same place, and the others stay put.
  const int a = world.Item("Arrow"), b = world.Item("Arrow");
  TDArray<int32_t>& stack = inv.Slot(3);
  stack.Clear();
  stack.Add(-1);
  stack.Add(a);
  stack.Add(b);
  EXPECT_EQ(inv.GetItem(3), a);
  EXPECT_EQ(inv.GetNumItemsInSlot(3), 2);
  ASSERT_TRUE(inv.RemoveItem(3));
  EXPECT_EQ(stack.GetCount(), 3);
  EXPECT_EQ(stack[1], -1);
  EXPECT_EQ(inv.GetItem(3), b);

  // Destroyed items are no longer counted, though their ids are still held.
  world.scoped.Map()->GetObjectA(b)->Destroy();
  world.scoped.Map()->GetObjectA(ids[1])->Destroy();
  EXPECT_EQ(inv.GetNumItemsInSlot(3), 0);
  EXPECT_EQ(inv.GetNumItemsOfType(BrStringT<char>("Potion")), 8);  // slot 3 now holds arrows
  EXPECT_EQ(inv.ContainsItemOfType(BrStringT<char>("Potion")), 5);
  EXPECT_EQ(inv.GetNumberOfItems(), 18);
  EXPECT_TRUE(inv.RemoveItemByID(ids[4]));
  EXPECT_TRUE(inv.Empty(4));
  EXPECT_FALSE(inv.RemoveItemByID(ids[4]));
  inv.Destroy();
  EXPECT_EQ(inv.GetNumberOfItems(), 0);
  EXPECT_EQ(inv.GetNumberOfSlots(), BrInventory::ciDefaultSlots);
}

TEST(BrInventory, CarrierIsResolvedByIdOnEachUse) {
  InventoryWorld world;
  BrInventory inv;
  EXPECT_EQ(inv.GetCarrier(), nullptr);
  BrActor* actor = new BrActor();
  actor->Init();
  const int id = world.scoped.Map()->AddObject(actor);
  inv.SetCarrier(id);
  EXPECT_EQ(inv.GetCarrier(), actor);
  inv.SetCarrier(world.Item("Potion"));  // not an actor
  EXPECT_EQ(inv.GetCarrier(), nullptr);
  inv.SetCarrier(id);
  actor->Destroy();
  EXPECT_EQ(inv.GetCarrier(), nullptr);
  inv.SetCarrier(12345);
  EXPECT_EQ(inv.GetCarrier(), nullptr);
}

TEST(BrInventory, StreamIsOursByteForByteAndACorruptOneLeavesItEmpty) {
  InventoryWorld world;
  StackInventory inv;
  inv.SetInventorySize();
  inv.SetCarrier(7);
  inv.AddItem(4);
  inv.Slot(2).Add(-1);
  inv.Slot(2).Add(9);
  {
    BrBin out(BrStringT<char>("inv.bin"));
    inv.Serialize(out);
  }
  std::vector<char> expected;
  PutInt(expected, 0);    // the object's integer
  expected.push_back(0);  // not destroyed
  PutInt(expected, 7);    // "Unknown"
  const char name[] = "Unknown";
  expected.insert(expected.end(), name, name + 8);
  PutInt(expected, 7);   // carrier
  PutInt(expected, 20);  // slots
  for (int s = 0; s < 20; ++s) {
    if (s == 0) {
      PutInt(expected, 1);
      PutInt(expected, 4);
    } else if (s == 2) {
      PutInt(expected, 2);
      PutInt(expected, -1);
      PutInt(expected, 9);
    } else {
      PutInt(expected, 0);
    }
  }
  const std::vector<char> bytes = RunFolder::ReadBytes(world.folder.root / "inv.bin");
  EXPECT_EQ(bytes, expected);

  StackInventory back;
  {
    BrBin in;
    in.Loading();
    ASSERT_TRUE(in.Open("inv.bin", 0));
    back.Serialize(in);
    EXPECT_FALSE(in.HasFailed());
  }
  EXPECT_EQ(back.GetCarrierID(), 7);
  ASSERT_EQ(back.GetNumberOfSlots(), 20);
  EXPECT_EQ(back.GetItem(0), 4);
  EXPECT_EQ(back.GetItem(2), 9);
  EXPECT_EQ(back.Slot(2).GetCount(), 2);

  // A slot count beyond any inventory fails the archive without allocating it.
  std::vector<char> corrupt(expected.begin(), expected.begin() + 21);
  PutInt(corrupt, 0x7FFFFFFF);
  RunFolder::WriteBytes(world.folder.root / "bad.bin", corrupt);
  BrBin in;
  in.Loading();
  ASSERT_TRUE(in.Open("bad.bin", 0));
  back.Serialize(in);
  EXPECT_TRUE(in.HasFailed());
  EXPECT_EQ(back.GetNumberOfSlots(), 0);
  // A stream cut inside a slot also leaves the inventory empty.
  RunFolder::WriteBytes(world.folder.root / "cut.bin", std::vector<char>(expected.begin(), expected.end() - 9));
  BrBin cut;
  cut.Loading();
  ASSERT_TRUE(cut.Open("cut.bin", 0));
  back.Serialize(cut);
  EXPECT_TRUE(cut.HasFailed());
  EXPECT_EQ(back.GetNumberOfSlots(), 0);
}

}  // namespace
