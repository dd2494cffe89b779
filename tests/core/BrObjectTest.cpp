// Tests of dtiClass and BrObject: type identity by name up the parent chain, casts, the object's archive form.
#include "CoreTestKit.h"

#include "templates/templates.h"

using coretest::PutInt32;
using coretest::PutText;
using coretest::ReadFileBytes;
using coretest::WriteFileBytes;

namespace {

class TestShape : public BrObject {
  BR_DECLARE_TYPE(TestShape)
};
class TestCircle : public TestShape {
  BR_DECLARE_TYPE(TestCircle)
public:
  int radius = 3;
};
class TestSound : public BrObject {
  BR_DECLARE_TYPE(TestSound)
};

BR_IMPLEMENT_TYPE(TestShape, BrObject)
BR_IMPLEMENT_TYPE(TestCircle, TestShape)
BR_IMPLEMENT_TYPE(TestSound, BrObject)

TEST(DtiClassTest, IdentityIsByNameUpTheChain) {
  dtiClass otherObject("BrObject", nullptr);  // the root as another library would see it
  dtiClass gameObj("BrGameObj", &BrObject::Type);
  EXPECT_TRUE(gameObj.IsA(&otherObject));
  EXPECT_FALSE(gameObj.IsAExactly(&otherObject));
  EXPECT_TRUE(gameObj.IsA(&gameObj));
  EXPECT_TRUE(BrObject::Type.IsAExactly(&otherObject));

  dtiClass unrelated("BrSomethingElse", nullptr);
  EXPECT_FALSE(BrObject::Type.IsA(&unrelated));
  EXPECT_FALSE(BrObject::Type.IsA(nullptr));
  dtiClass unnamed;
  EXPECT_FALSE(unnamed.IsA(&unnamed));

  // Case matters.
  dtiClass lower("brobject", nullptr);
  EXPECT_FALSE(gameObj.IsA(&lower));

  EXPECT_FALSE(gameObj.SetName(nullptr));
  EXPECT_STREQ(gameObj.GetName(), "BrGameObj");
  dtiClass copy = gameObj;
  EXPECT_EQ(copy.GetName(), gameObj.GetName());
  EXPECT_EQ(copy.GetParent(), &BrObject::Type);
}

TEST(DtiClassTest, CycleInParentsEnds) {
  dtiClass a("A", nullptr);
  dtiClass b("B", &a);
  a.SetParent(&b);
  dtiClass c("C", nullptr);
  EXPECT_FALSE(a.IsA(&c));
}

TEST(BrObjectTypeTest, SafeCastIsAAndIsAExactlyAcrossATree) {
  TestCircle circle;
  TestSound sound;
  BrObject* asObject = &circle;

  EXPECT_TRUE(asObject->IsA(BrObject::Type));
  EXPECT_TRUE(asObject->IsA(TestShape::Type));
  EXPECT_TRUE(asObject->IsA(TestCircle::Type));
  EXPECT_FALSE(asObject->IsA(TestSound::Type));
  EXPECT_TRUE(asObject->IsAExactly(TestCircle::Type));
  EXPECT_FALSE(asObject->IsAExactly(TestShape::Type));
  EXPECT_FALSE(asObject->IsAExactly(BrObject::Type));

  EXPECT_EQ(asObject->SafeCast(&TestShape::Type), static_cast<void*>(&circle));
  EXPECT_EQ(static_cast<TestCircle*>(asObject->SafeCast(&TestCircle::Type))->radius, 3);
  EXPECT_EQ(asObject->SafeCast(&TestSound::Type), nullptr);
  EXPECT_EQ(sound.SafeCast(&TestShape::Type), nullptr);
  EXPECT_EQ(sound.SafeCast(nullptr), nullptr);

  BrObject plain;
  EXPECT_TRUE(plain.IsAExactly(BrObject::Type));
  EXPECT_FALSE(plain.IsA(TestShape::Type));
  EXPECT_EQ(plain.SafeCast(&TestShape::Type), nullptr);
  EXPECT_STREQ(TestCircle::Type.GetName(), "TestCircle");
  EXPECT_EQ(TestCircle::Type.GetParent(), &TestShape::Type);
}

TEST(BrObjectTest, LifeCycleNameAndCopies) {
  BrObject o;
  EXPECT_TRUE(o.IsValid());
  EXPECT_STREQ(o.GetName(), "Unknown");
  EXPECT_TRUE(o.Init());
  o.Step(0.5f);
  o.SetName(BrStringT<char>("Torch"));
  BrObject copy(o);
  EXPECT_STREQ(copy.GetName(), "Torch");
  o.Destroy();
  EXPECT_FALSE(o.IsValid());
  copy = o;
  EXPECT_FALSE(copy.IsValid());
  o.SetName(BrStringT<char>());
  EXPECT_EQ(o.GetName(), nullptr);

  // Objects come from brMalloc and go back through brFree, arrays too.
  BrObject* heap = new TestCircle;
  EXPECT_TRUE(heap->IsA(TestShape::Type));
  delete heap;
  TestSound* many = new TestSound[3];
  delete[] many;
}

class BrObjectArchiveTest : public coretest::ScratchTest {};

TEST_F(BrObjectArchiveTest, SerialisesIntegerFlagAndName) {
  {
    BrBin bin(BrStringT<char>("obj.bin"));
    BrObject o;
    o.Serialize(bin);
    EXPECT_FALSE(bin.HasFailed());
  }
  std::vector<uint8_t> expected;
  PutInt32(expected, 0);
  expected.push_back(0);
  PutInt32(expected, 7);
  PutText(expected, "Unknown");
  expected.push_back(0);
  EXPECT_EQ(ReadFileBytes("obj.bin"), expected);
  EXPECT_EQ(expected.size(), 4u + 1u + 4u + 8u);

  // A flag byte other than 0 or 1 still loads as a plain bool.
  std::vector<uint8_t> odd;
  PutInt32(odd, 12);
  odd.push_back(5);
  PutInt32(odd, 2);
  PutText(odd, "Hi");
  odd.push_back(0);
  WriteFileBytes("odd.bin", odd);
  BrBin bin;
  bin.Loading(false);
  ASSERT_TRUE(bin.Open("odd.bin", 0));
  BrObject loaded;
  loaded.Serialize(bin);
  EXPECT_FALSE(bin.HasFailed());
  EXPECT_FALSE(loaded.IsValid());
  EXPECT_STREQ(loaded.GetName(), "Hi");
}

}  // namespace
