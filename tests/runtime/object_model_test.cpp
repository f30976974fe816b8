// The object model: identity chains, equality, copy, reset, clone, factories and the destroy protocol.
#include <gtest/gtest.h>

#include <string>

#include "runtime/app_instance.h"
#include "runtime/object_bases.h"
#include "runtime/user_app.h"
#include "tests/runtime/sample_classes.h"

namespace {

using sample::Animal;
using sample::Boulder;
using sample::Dog;
using sample::Puppy;
using sample::Rock;

class ObjectModel : public ::testing::Test {
 protected:
  void SetUp() override { sample::TheCounters() = {}; }
};

TEST_F(ObjectModel, IsKindOfFollowsTheClassChainUpToCPelObject) {
  Puppy puppy;
  Dog dog;
  Rock rock;
  const struct {
    const CPelObject& object;
    const ClassInfo& record;
    bool kind;
  } cases[] = {
      {puppy, Puppy::StaticClassInfo(), true},  {puppy, Dog::StaticClassInfo(), true},
      {puppy, Animal::StaticClassInfo(), true}, {puppy, CPelObject::StaticClassInfo(), true},
      {dog, Puppy::StaticClassInfo(), false},   {dog, Dog::StaticClassInfo(), true},
      {puppy, Rock::StaticClassInfo(), false},  {rock, Animal::StaticClassInfo(), false},
      {rock, CPelObject::StaticClassInfo(), true},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(c.object.IsKindOf(c.record), c.kind)
        << c.object.GetClassInfo().name_record.name << " of " << c.record.name_record.name;
  }
}

TEST_F(ObjectModel, RecordBuiltElsewhereWithTheSameNameIsAccepted) {
  const std::string name = std::string("sample::") + "Dog";
  const ClassInfo foreign = MakeClassInfo(nullptr, name.c_str());
  EXPECT_TRUE(Puppy().IsKindOf(foreign));
  EXPECT_FALSE(Animal().IsKindOf(foreign));
  const ClassInfo stranger = MakeClassInfo(nullptr, "sample::Dogs");
  EXPECT_FALSE(Puppy().IsKindOf(stranger));
}

TEST_F(ObjectModel, RecordsCarryTheRegisteredNameAndItsHash) {
  const ClassNameRecord& record = Dog::StaticClassInfo().name_record;
  EXPECT_STREQ(record.name, "sample::Dog");
  EXPECT_EQ(record.name_length, 11);
  EXPECT_EQ(record.name_hash, ClassNameHash("sample::Dog"));
  EXPECT_EQ(&Dog().GetClassInfo(), &Dog::StaticClassInfo());
  EXPECT_EQ(&Puppy().GetClassInfo(), &Puppy::StaticClassInfo());
}

TEST_F(ObjectModel, RuntimeClassesHaveTheirRegisteredNamesAndBases) {
  using namespace rg_Pelor_JiBen;
  const struct {
    const ClassInfo& record;
    const char* name;
    const ClassInfo& base;
  } cases[] = {
      {CPelObject::StaticClassInfo(), "CPelObject", CPelObject::StaticClassInfo()},
      {CPelBaseDataType::StaticClassInfo(), "CPelBaseDataType", CPelObject::StaticClassInfo()},
      {rg_KuoZhanDuiXiangLei::StaticClassInfo(), "rg_Pelor_JiBen::rg_KuoZhanDuiXiangLei",
       CPelObject::StaticClassInfo()},
      {rg_JieGouJiChuLei::StaticClassInfo(), "rg_Pelor_JiBen::rg_JieGouJiChuLei", CPelObject::StaticClassInfo()},
      {CPelUserApp::StaticClassInfo(), "CPelUserApp", CPelObject::StaticClassInfo()},
      {rg_ChengXuLei::StaticClassInfo(), "rg_Pelor_JiBen::rg_ChengXuLei", CPelUserApp::StaticClassInfo()},
      {rg_ChuangKouChengXuLei::StaticClassInfo(), "rg_Pelor_JiBen::rg_ChuangKouChengXuLei",
       rg_ChengXuLei::StaticClassInfo()},
  };
  for (const auto& c : cases) {
    EXPECT_STREQ(c.record.name_record.name, c.name);
    CPelObject* object = c.record.factory();
    EXPECT_EQ(&object->GetClassInfo(), &c.record) << c.name;
    EXPECT_TRUE(object->IsKindOf(c.base)) << c.name;
    EXPECT_TRUE(object->IsKindOf(CPelObject::StaticClassInfo())) << c.name;
    object->Release();
  }
  EXPECT_FALSE(rg_ChengXuLei().IsKindOf(rg_ChuangKouChengXuLei::StaticClassInfo()));
  EXPECT_EQ(CPelBaseDataType().GetValueAddress(), nullptr);
}

TEST_F(ObjectModel, IsEqualNeedsTheExactClassTheNullFlagTheReservedWordAndTheFields) {
  Dog dog(4, 2);
  Dog twin(4, 2);
  EXPECT_TRUE(dog.IsEqual(twin));
  EXPECT_TRUE(dog.IsEqual(dog));

  EXPECT_FALSE(dog.IsEqual(Dog(4, 3))) << "own field";
  EXPECT_FALSE(dog.IsEqual(Dog(3, 2))) << "base field";

  Puppy puppy;
  Dog plain;
  EXPECT_FALSE(plain.IsEqual(puppy)) << "a subclass is not equal to its base";
  EXPECT_FALSE(puppy.IsEqual(plain));
  EXPECT_FALSE(Animal().IsEqual(Rock()));

  Dog null_dog(4, 2);
  null_dog.SetNullObject(true);
  EXPECT_FALSE(dog.IsEqual(null_dog)) << "null flag";

  Dog marked(4, 2);
  marked.set_reserved(7);
  EXPECT_FALSE(dog.IsEqual(marked)) << "reserved word";
}

TEST_F(ObjectModel, CopyFromAcceptsTheSameClassOrASubclass) {
  Puppy source;
  source.set_legs(3);
  source.set_reserved(9);
  source.SetNullObject(true);
  Animal target;
  ASSERT_TRUE(target.CopyFrom(source));
  EXPECT_EQ(target.legs(), 3);
  EXPECT_EQ(target.reserved(), 9u);
  EXPECT_TRUE(target.IsNullObject());
  EXPECT_EQ(sample::TheCounters().before_assign, 1);
  EXPECT_TRUE(target.IsKindOf(Animal::StaticClassInfo()));
  EXPECT_EQ(&target.GetClassInfo(), &Animal::StaticClassInfo()) << "the target keeps its class";
}

TEST_F(ObjectModel, CopyFromABaseOrAnUnrelatedClassChangesNothing) {
  Dog target(3, 5);
  target.set_reserved(2);
  Animal base(7);
  Rock rock;
  rock.SetNullObject(true);
  for (const CPelObject* source : {static_cast<const CPelObject*>(&base), static_cast<const CPelObject*>(&rock)}) {
    EXPECT_FALSE(target.CopyFrom(*source)) << source->GetClassInfo().name_record.name;
    EXPECT_EQ(target.legs(), 3);
    EXPECT_EQ(target.barks(), 5);
    EXPECT_EQ(target.reserved(), 2u);
    EXPECT_FALSE(target.IsNullObject());
  }
  EXPECT_EQ(sample::TheCounters().before_assign, 0) << "the hook runs only before a real copy";
}

TEST_F(ObjectModel, ResetRestoresConstructedValuesAfterTheHook) {
  Dog dog(3, 5);
  dog.set_reserved(2);
  dog.SetNullObject(true);
  dog.Reset();
  EXPECT_EQ(sample::TheCounters().before_assign, 1);
  EXPECT_TRUE(dog.IsEqual(Dog()));
  EXPECT_EQ(dog.GetFlags(), 0u);
  EXPECT_EQ(dog.reserved(), 0u);
}

TEST_F(ObjectModel, CloneAndCreateInstanceKeepTheDynamicClass) {
  Dog dog(3, 5);
  dog.set_reserved(4);
  const CPelObject& as_object = dog;

  CPelObject* clone = as_object.Clone();
  EXPECT_EQ(&clone->GetClassInfo(), &Dog::StaticClassInfo());
  EXPECT_TRUE(clone->IsEqual(dog));

  CPelObject* fresh = as_object.CreateInstance();
  EXPECT_EQ(&fresh->GetClassInfo(), &Dog::StaticClassInfo());
  EXPECT_TRUE(fresh->IsEqual(Dog()));

  const int destructed_before = sample::TheCounters().destructed;
  clone->Release();
  fresh->Release();
  EXPECT_EQ(sample::TheCounters().destructed - destructed_before, 2);
}

TEST_F(ObjectModel, FactoriesServeSmallObjectsFromThePoolAndLargeOnesFromTheHeap) {
  CPoolMem& pool = vexo::TheMemManager();
  static_assert(sizeof(Dog) <= CPoolMem::kBlockSize && sizeof(Boulder) > CPoolMem::kBlockSize);

  CPelObject* dog = Dog::StaticClassInfo().factory();
  CPelObject* boulder = Boulder::StaticClassInfo().factory();
  CPelObject* boulder_clone = boulder->Clone();
  EXPECT_TRUE(pool.IsPoolPointer(dog));
  EXPECT_FALSE(pool.IsPoolPointer(boulder));
  EXPECT_FALSE(pool.IsPoolPointer(boulder_clone));
  boulder_clone->Release();
  boulder->Release();

  // Release gives the block back: the pool hands it out again at once (last in, first out).
  dog->Release();
  void* next = pool.Alloc(16);
  EXPECT_EQ(next, dog);
  pool.Free(next);
}

TEST_F(ObjectModel, DestroyFreesMemoryOnlyWithBit0AndWithoutBit2) {
  CPoolMem& pool = vexo::TheMemManager();
  const struct {
    std::uint32_t flags;
    bool frees;
  } cases[] = {{0, false}, {1, true}, {4, false}, {5, false}};
  for (const auto& c : cases) {
    sample::TheCounters() = {};
    CPelObject* object = Animal::StaticClassInfo().factory();
    object->Destroy(c.flags);
    EXPECT_EQ(sample::TheCounters().destructed, 1) << c.flags;
    void* next = pool.Alloc(16);
    EXPECT_EQ(next == object, c.frees) << c.flags;
    pool.Free(next);
    if (!c.frees) pool.Free(object);
  }
}

TEST_F(ObjectModel, NullObjectIsAMarkedDefaultObject) {
  Dog absent = MakeNullObject<Dog>();
  EXPECT_TRUE(absent.IsNullObject());
  EXPECT_EQ(absent.GetFlags(), CPelObject::kNullObjectFlag);
  EXPECT_EQ(absent.barks(), 0);
  absent.SetNullObject(false);
  EXPECT_TRUE(absent.IsEqual(Dog()));
}

}  // namespace
