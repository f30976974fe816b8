// Event slots: binding keeps exactly one owner reference, raising calls only handlers of living owners.
#include "runtime/event_slot.h"

#include <gtest/gtest.h>

#include <atomic>
#include <cstdint>
#include <thread>

#include "tests/support/handler_owner.h"

namespace {

using Slot = CEventSlot<int, std::int64_t>;
using vexo::test::HandlerOwner;

struct Call {
  CPelObject* owner = nullptr;
  CPelObject* source = nullptr;
  std::uint32_t user_value = 0;
  int a = 0;
  std::int64_t b = 0;
  int count = 0;
};
Call last_call;

std::int32_t Record(CPelObject* owner, CPelObject* source, std::uint32_t user_value, int a, std::int64_t b) {
  last_call = {owner, source, user_value, a, b, last_call.count + 1};
  return a + 1;
}

class EventSlotTest : public ::testing::Test {
 protected:
  void SetUp() override { last_call = {}; }
  CPelObject source_;
};

TEST_F(EventSlotTest, RaiseCallsTheHandlerWithOwnerSourceUserValueAndArguments) {
  HandlerOwner owner;
  Slot slot;
  slot.Bind(&Record, owner.self, 77);
  EXPECT_TRUE(slot.HasLiveHandler());
  EXPECT_EQ(slot.Raise(&source_, 41, std::int64_t{1} << 40), 42);
  EXPECT_EQ(last_call.owner, &owner.object);
  EXPECT_EQ(last_call.source, &source_);
  EXPECT_EQ(last_call.user_value, 77u);
  EXPECT_EQ(last_call.a, 41);
  EXPECT_EQ(last_call.b, std::int64_t{1} << 40);
  EXPECT_EQ(last_call.count, 1);
}

TEST_F(EventSlotTest, NothingIsCalledWithoutHandlerOwnerOrLivingOwner) {
  Slot empty;
  EXPECT_EQ(empty.Raise(&source_, 1, 0), 0);
  EXPECT_FALSE(empty.HasLiveHandler());

  Slot ownerless;
  ownerless.Bind(&Record, nullptr, 0);
  EXPECT_EQ(ownerless.Raise(&source_, 1, 0), 0);

  HandlerOwner owner;
  Slot unbound;
  unbound.Bind(&Record, owner.self, 0);
  unbound.Bind(nullptr, owner.self, 0);
  EXPECT_EQ(unbound.Raise(&source_, 1, 0), 0);

  Slot orphaned;
  {
    HandlerOwner dying;
    orphaned.Bind(&Record, dying.self, 0);
  }
  EXPECT_FALSE(orphaned.HasLiveHandler());
  EXPECT_EQ(orphaned.Raise(&source_, 1, 0), 0);
  EXPECT_EQ(last_call.count, 0);
}

TEST_F(EventSlotTest, BindingHoldsOneReferenceToTheCurrentOwnerOnly) {
  HandlerOwner first;
  HandlerOwner second;
  {
    Slot slot;
    slot.Bind(&Record, first.self, 0);
    EXPECT_EQ(first.self->GetRefCount(), 2);
    slot.Bind(&Record, first.self, 5);  // the same owner again: still one reference
    EXPECT_EQ(first.self->GetRefCount(), 2);
    slot.Raise(&source_, 0, 0);
    EXPECT_EQ(last_call.user_value, 5u);
    slot.Bind(&Record, second.self, 0);  // a new owner: the old one is let go
    EXPECT_EQ(first.self->GetRefCount(), 1);
    EXPECT_EQ(second.self->GetRefCount(), 2);
  }
  EXPECT_EQ(second.self->GetRefCount(), 1);  // the slot's end lets go too
}

TEST_F(EventSlotTest, ConcurrentBindAndRaiseKeepTheCountsRight) {
  HandlerOwner first;
  HandlerOwner second;
  Slot slot;
  std::atomic<bool> stop{false};
  std::atomic<int> raised{0};
  std::thread raiser([&] {
    while (!stop.load()) {
      if (slot.Raise(&source_, 1, 0) == 2) raised.fetch_add(1);
    }
  });
  // Rebind until the other thread has raised often enough to overlap with many bindings.
  for (int i = 0; i < 20000 || (raised.load() < 2000 && i < 20000000); ++i) {
    slot.Bind(&Record, (i % 2) ? first.self : second.self, 0);
  }
  stop.store(true);
  raiser.join();
  slot.Bind(nullptr, nullptr, 0);
  EXPECT_EQ(first.self->GetRefCount(), 1);
  EXPECT_EQ(second.self->GetRefCount(), 1);
  EXPECT_GE(raised.load(), 2000);
}

}  // namespace
