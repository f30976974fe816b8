// The Win32/COM holders: each owned value is closed exactly once, whatever path it takes.
#include <gtest/gtest.h>

#include <utility>

#include "runtime/win/com_ptr.h"
#include "runtime/win/scoped_generic.h"
#include "runtime/win/scoped_handles.h"
#include "runtime/win/scoped_memory.h"

namespace {

// Counts closes per value; 0 is the empty value.
struct CountingTraits {
  static int closes[8];
  static int InvalidValue() { return 0; }
  static bool IsValid(int value) { return value != 0; }
  static void Free(int value) { ++closes[value]; }
};
int CountingTraits::closes[8];

using Counted = vexo::win::ScopedGeneric<int, CountingTraits>;

class ScopedGenericTest : public ::testing::Test {
 protected:
  void SetUp() override {
    for (int& c : CountingTraits::closes) c = 0;
  }
  static int closes(int value) { return CountingTraits::closes[value]; }
};

TEST_F(ScopedGenericTest, ResetAndDestructionCloseOnce) {
  {
    Counted holder(1);
    holder.reset(2);
    EXPECT_EQ(closes(1), 1);
    holder.reset(2);
    EXPECT_EQ(closes(2), 0) << "resetting to the held value keeps it";
  }
  EXPECT_EQ(closes(1), 1);
  EXPECT_EQ(closes(2), 1);
}

TEST_F(ScopedGenericTest, ReleaseHandsOwnershipBack) {
  int value = 0;
  {
    Counted holder(3);
    value = holder.release();
    EXPECT_FALSE(holder);
  }
  EXPECT_EQ(value, 3);
  EXPECT_EQ(closes(3), 0);
}

TEST_F(ScopedGenericTest, MovesTransferWithoutClosing) {
  {
    Counted first(4);
    Counted second(std::move(first));
    EXPECT_EQ(second.get(), 4);
    EXPECT_FALSE(first);
    Counted third(5);
    third = std::move(second);
    EXPECT_EQ(closes(5), 1) << "the overwritten value is closed";
    EXPECT_EQ(closes(4), 0);
  }
  EXPECT_EQ(closes(4), 1);
}

TEST_F(ScopedGenericTest, ReceiveClosesTheOldValueAndTakesTheNewOne) {
  {
    Counted holder(6);
    *holder.receive() = 7;
    EXPECT_EQ(closes(6), 1);
    EXPECT_EQ(holder.get(), 7);
  }
  EXPECT_EQ(closes(7), 1);
}

TEST(ScopedHandle, ClosesTheKernelObject) {
  HANDLE event = ::CreateEventW(nullptr, TRUE, FALSE, nullptr);
  ASSERT_NE(event, nullptr);
  DWORD flags = 0;
  {
    vexo::win::ScopedHandle holder(event);
    EXPECT_TRUE(::GetHandleInformation(event, &flags));
  }
  EXPECT_FALSE(::GetHandleInformation(event, &flags));
  EXPECT_FALSE(vexo::win::ScopedHandle(INVALID_HANDLE_VALUE)) << "INVALID_HANDLE_VALUE counts as empty";
}

TEST(ScopedVirtualMemory, ReleasesTheWholeRegion) {
  void* region = ::VirtualAlloc(nullptr, 3 * 65536, MEM_RESERVE | MEM_COMMIT, PAGE_READWRITE);
  ASSERT_NE(region, nullptr);
  MEMORY_BASIC_INFORMATION info{};
  {
    vexo::win::ScopedVirtualMemory holder(region);
    ASSERT_NE(::VirtualQuery(region, &info, sizeof(info)), 0u);
    EXPECT_EQ(info.State, static_cast<DWORD>(MEM_COMMIT));
  }
  ASSERT_NE(::VirtualQuery(region, &info, sizeof(info)), 0u);
  EXPECT_EQ(info.State, static_cast<DWORD>(MEM_FREE));
  EXPECT_GE(info.RegionSize, 3u * 65536) << "every page of the region";
}

// A COM object that counts its references.
class FakeUnknown : public IUnknown {
 public:
  HRESULT STDMETHODCALLTYPE QueryInterface(REFIID, void** out) override {
    *out = nullptr;
    return E_NOINTERFACE;
  }
  ULONG STDMETHODCALLTYPE AddRef() override { return ++references; }
  ULONG STDMETHODCALLTYPE Release() override { return --references; }
  ULONG references = 1;
};

TEST(ComPtr, CopiesAddReferencesMovesDoNot) {
  FakeUnknown object;
  {
    vexo::win::ComPtr<IUnknown> first(&object);
    EXPECT_EQ(object.references, 1u);
    vexo::win::ComPtr<IUnknown> copy = first;
    EXPECT_EQ(object.references, 2u);
    vexo::win::ComPtr<IUnknown> moved = std::move(first);
    EXPECT_EQ(object.references, 2u);
    copy.reset();
    EXPECT_EQ(object.references, 1u);
    copy.reset();
    EXPECT_EQ(object.references, 1u) << "an empty holder releases nothing";
  }
  EXPECT_EQ(object.references, 0u);
}

TEST(ComPtr, ReleaseGivesTheReferenceAway) {
  FakeUnknown object;
  IUnknown* raw = nullptr;
  {
    vexo::win::ComPtr<IUnknown> holder(&object);
    raw = holder.release();
  }
  EXPECT_EQ(raw, &object);
  EXPECT_EQ(object.references, 1u);
}

}  // namespace
