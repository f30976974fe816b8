// Counted holders: CRefObject's count and final release, CPelObjectPointer, CRefObjectWithData, and the
// owning reference CountedRef.
#include "runtime/ref_object.h"

#include <gtest/gtest.h>

#include <string>
#include <thread>
#include <vector>

#include "runtime/app_instance.h"
#include "runtime/counted_ref.h"
#include "runtime/pel_object_pointer.h"
#include "tests/runtime/sample_classes.h"

namespace {

// Records the order of its final-release hook and its destructor into a shared log.
class LoggingRef : public CRefObject {
 public:
  explicit LoggingRef(std::string* log) : log_(log) {}
  ~LoggingRef() override { *log_ += "destroyed;"; }
  void OnFinalRelease() override { *log_ += "final;"; }

 private:
  std::string* log_;
};

TEST(RefObject, ReleaseDestroysOnlyAtTheLastReference) {
  std::string log;
  auto* ref = new LoggingRef(&log);
  EXPECT_EQ(ref->GetRefCount(), 1);
  ref->AddRef();
  EXPECT_EQ(ref->Release(), 0);
  EXPECT_EQ(log, "");
  EXPECT_EQ(ref->GetRefCount(), 1);
  EXPECT_EQ(ref->Release(), 1);
  EXPECT_EQ(log, "final;destroyed;");
}

TEST(CountedRef, CopiesShareMovesTransferAndTheLastOwnerReleases) {
  std::string log;
  auto* ref = new LoggingRef(&log);
  {
    auto first = vexo::CountedRef<LoggingRef>::Adopt(ref);  // takes the holder's first reference
    EXPECT_EQ(ref->GetRefCount(), 1);
    {
      vexo::CountedRef<LoggingRef> copy = first;
      EXPECT_EQ(ref->GetRefCount(), 2);
      vexo::CountedRef<LoggingRef> moved = std::move(copy);
      EXPECT_FALSE(copy);
      EXPECT_EQ(moved.get(), ref);
      EXPECT_EQ(ref->GetRefCount(), 2);
    }
    EXPECT_EQ(ref->GetRefCount(), 1);
    auto shared = vexo::CountedRef<LoggingRef>::Share(ref);
    EXPECT_EQ(ref->GetRefCount(), 2);
    first = vexo::CountedRef<LoggingRef>();  // assigning empty drops first's reference
    EXPECT_EQ(ref->GetRefCount(), 1);
    EXPECT_EQ(log, "");
  }
  EXPECT_EQ(log, "final;destroyed;");
}

TEST(RefObject, ReleaseReturnsTheHolderToTheMemoryManager) {
  std::string log;
  auto* ref = new LoggingRef(&log);
  EXPECT_TRUE(vexo::TheMemManager().IsPoolPointer(ref));
  ref->Release();
  void* next = vexo::TheMemManager().Alloc(8);
  EXPECT_EQ(next, static_cast<void*>(ref));
  vexo::TheMemManager().Free(next);
}

TEST(RefObject, CountsChangeAtomicallyAcrossThreads) {
  std::string log;
  auto* ref = new LoggingRef(&log);
  constexpr int kPerThread = 100000;
  auto add_then_release = [ref] {
    for (int i = 0; i < kPerThread; ++i) ref->AddRef();
    for (int i = 0; i < kPerThread; ++i) ref->Release();
  };
  std::thread a(add_then_release);
  std::thread b(add_then_release);
  a.join();
  b.join();
  EXPECT_EQ(log, "");
  EXPECT_EQ(ref->GetRefCount(), 1);
  EXPECT_EQ(ref->Release(), 1);
  EXPECT_EQ(log, "final;destroyed;");
}

TEST(RefObject, EveryHolderSharesTheCRefObjectRecord) {
  std::string log;
  auto* ref = new LoggingRef(&log);
  auto* pointer = new CPelObjectPointer(nullptr);
  const std::string name = "CRef" + std::string("Object");
  const ClassNameRecord foreign = MakeClassNameRecord(name.c_str());
  for (CRefObject* holder : {static_cast<CRefObject*>(ref), static_cast<CRefObject*>(pointer)}) {
    EXPECT_EQ(&holder->GetClassInfo(), &CRefObject::StaticClassInfo());
    EXPECT_TRUE(holder->IsKindOf(foreign));
    EXPECT_FALSE(holder->IsKindOf(CPelObject::StaticClassInfo().name_record));
  }
  EXPECT_STREQ(CRefObject::StaticClassInfo().name, "CRefObject");
  ref->Release();
  pointer->Release();
}

// An object that owns a self-pointer for others to share, as event owners do.
class Owner : public sample::Animal {
 public:
  Owner() : self_(new CPelObjectPointer(this)) {}
  ~Owner() override {
    self_->Clear();
    self_->Release();
  }
  CPelObjectPointer* self() const { return self_; }

 private:
  CPelObjectPointer* self_;
};

TEST(PelObjectPointer, OwnerEmptiesItWhenItEnds) {
  CPelObjectPointer* shared = nullptr;
  {
    Owner owner;
    shared = owner.self();
    shared->AddRef();
    EXPECT_EQ(shared->Get(), &owner);
  }
  EXPECT_EQ(shared->Get(), nullptr);
  EXPECT_EQ(shared->GetRefCount(), 1);
  EXPECT_EQ(shared->Release(), 1);
}

// Counts how many of its instances are alive.
struct Tracked {
  explicit Tracked(int* live, int value) : live(live), value(value) { ++*live; }
  ~Tracked() { --*live; }
  Tracked(const Tracked&) = delete;
  Tracked& operator=(const Tracked&) = delete;
  int* live;
  int value;
};

TEST(RefObjectWithData, HeldValueLivesAsLongAsTheLastReference) {
  int live = 0;
  auto* holder = new CRefObjectWithData<Tracked>(&live, 42);
  EXPECT_EQ(live, 1);
  EXPECT_EQ(holder->GetData().value, 42);
  holder->AddRef();
  holder->Release();
  EXPECT_EQ(live, 1);
  holder->Release();
  EXPECT_EQ(live, 0);
}

}  // namespace
