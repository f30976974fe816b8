// Binding and event records on their own, with a binding kind of a test wrapper: matching by Equals, the
// handler name's bound, what a release frees, and a binding whose wrapper has ended.
#include <gtest/gtest.h>

#include <string>

#include "ui/event_binding.h"
#include "ui/wrapper_base.h"

namespace {

using vexo::ui::CountBindingsOf;

// A wrapper with two member handlers of the same kind.
class TestWrapper : public rg_xc_gui::rg_xcbase {
 public:
  std::int32_t First(HELE element, int value, BOOL* handled) {
    seen = {vexo::ui::HandleData(element), value};
    *handled = TRUE;
    return 5;
  }
  std::int32_t Second(HELE, int, BOOL*) { return 6; }

  std::pair<XCGUIDATA, int> seen{0, 0};
};
using Member = std::int32_t (TestWrapper::*)(HELE, int, BOOL*);
using TestBinding = bind_event_cpp_<std::int32_t, TestWrapper, Member>;

// A binding of another program, designating its member with 4 bytes.
class ForeignBinding final : public bind_event_cpp {
 public:
  ForeignBinding(void* target, std::intptr_t code) : target_(target), code_(static_cast<std::int32_t>(code)) {}
  int Equals(bind_event_cpp*) override { return 0; }
  void* GetThis() override { return target_; }
  void* GetMemberFunction(int* size) override {
    *size = 4;
    return &code_;
  }
  int HandleEvent_cpp_Call(HELE, vint, vint, vint, vint, BOOL*) override { return 0; }
  int HandleEvent_cpp_Call(HWINDOW, vint, vint, vint, vint, BOOL*) override { return 0; }

 private:
  void* target_;
  std::int32_t code_;
};

TEST(BindingRecord, DesignatesItsTargetAndMemberInFourWordsAndEqualsOnlyTheSame) {
  // 16 bytes in the 32-bit program: virtual table, target, code address, this-adjustment.
  static_assert(sizeof(TestBinding) == 4 * sizeof(void*));
  static_assert(sizeof(void*) != 4 || sizeof(TestBinding) == 16);
  TestWrapper wrapper;
  TestWrapper other;
  auto* binding = new TestBinding(&wrapper, &TestWrapper::First);
  EXPECT_EQ(binding->GetThis(), &wrapper);
  int size = 0;
  const auto* pair = static_cast<const std::intptr_t*>(binding->GetMemberFunction(&size));
  EXPECT_EQ(size, static_cast<int>(2 * sizeof(void*)));
  EXPECT_EQ(pair[1], 0);  // no adjustment

  auto* same = new TestBinding(&wrapper, &TestWrapper::First);
  auto* other_member = new TestBinding(&wrapper, &TestWrapper::Second);
  auto* other_target = new TestBinding(&other, &TestWrapper::First);
  ForeignBinding foreign(&wrapper, pair[0]);
  EXPECT_EQ(binding->Equals(same), 1);
  EXPECT_EQ(same->Equals(binding), 1);
  EXPECT_EQ(binding->Equals(other_member), 0);
  EXPECT_EQ(binding->Equals(other_target), 0);
  EXPECT_EQ(binding->Equals(&foreign), 0);
  EXPECT_EQ(CountBindingsOf(&wrapper), 3u);
  for (vexo::ui::BindingRecord* record : {binding, same, other_member, other_target}) vexo::ui::FreeBinding(record);
  EXPECT_EQ(CountBindingsOf(&wrapper) + CountBindingsOf(&other), 0u);
}

TEST(BindingRecord, CallsTheMemberOnlyWhileItsWrapperLives) {
  auto* wrapper = new TestWrapper();
  auto* binding = new TestBinding(wrapper, &TestWrapper::First);
  BOOL handled = FALSE;
  EXPECT_EQ(binding->HandleEvent_cpp_Call(reinterpret_cast<HELE>(0x10), 1, 0, 7, 0, &handled), 5);
  EXPECT_EQ(wrapper->seen, std::make_pair(XCGUIDATA{0x10}, 7));
  EXPECT_EQ(handled, TRUE);

  wrapper->Release();
  EXPECT_EQ(binding->GetThis(), nullptr);
  handled = FALSE;
  EXPECT_EQ(binding->HandleEvent_cpp_Call(reinterpret_cast<HWINDOW>(0x10), 1, 0, 7, 0, &handled), 0);
  EXPECT_EQ(handled, FALSE);
  vexo::ui::FreeBinding(binding);
}

// An extra object that counts its deletions.
class CountedExtra final : public xc_event_extra {
 public:
  explicit CountedExtra(int& deletions) : deletions_(deletions) {}
  void DeleteSelf(unsigned flags) override {
    deletions_ += static_cast<int>(flags);
    delete this;
  }

 private:
  int& deletions_;
};

TEST(EventRecord, CopiesTheHandlerNameWithinItsBoundAndReleasesAllItOwns) {
  struct Case {
    const char* what;
    const char* name;
    std::string stored;
  };
  const std::string long_name(400, 'n');
  const Case cases[] = {
      {"a handler name", "&xcann::OnBtnClick", "&xcann::OnBtnClick"},
      {"no name", nullptr, ""},
      {"a name longer than the field", long_name.c_str(), long_name.substr(0, 259)},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    TestWrapper wrapper;
    auto* record = new vexo::ui::EventRecord(-1, c.name);
    EXPECT_EQ(record->mode, -1);
    EXPECT_EQ(record->binding, nullptr);
    EXPECT_EQ(record->extra, nullptr);
    EXPECT_EQ(std::string(record->handler_name), c.stored);
    int deletions = 0;
    record->binding = new TestBinding(&wrapper, &TestWrapper::First);
    record->extra = new CountedExtra(deletions);
    record->xc_event_free();
    EXPECT_EQ(deletions, 1);
    EXPECT_EQ(CountBindingsOf(&wrapper), 0u);
  }
}

}  // namespace
