// Who releases the records: the library every record it kept, exactly once (also when it exits); the binder
// the records the library refused and those used for removal; a failed allocation leaves nothing behind.
// And the fault a plain target pointer would cause: a wrapper that ends while the library still keeps
// one of its bindings is never reached through it.
#include <gtest/gtest.h>

#include <new>

#include "tests/support/handler_owner.h"
#include "tests/ui/allocation_watch.h"
#include "tests/ui/slot_recorder.h"
#include "tests/ui/ui_test_support.h"
#include "tests/xcgui/screen.h"
#include "ui/element_wrappers.h"
#include "ui/event_record.h"
#include "ui/window_wrappers.h"

namespace {

using namespace rg_xc_gui;
using vexo::test::HandlerOwner;
using vexo::ui::CountBindingsOf;
using vexo::ui_test::AllocationWatch;
using vexo::ui_test::RaisedEvents;

constexpr std::size_t kEventRecordSize = sizeof(vexo::ui::EventRecord);

class Ownership : public vexo::ui_test::TestWindow {
 protected:
  void SetUp() override {
    TestWindow::SetUp();
    button_.AttachHandle(XC_GetObjectByName(L"btn_face"));
    page_.AttachHandle(XC_GetObjectByName(L"page_main"));
    window_wrapper_.AttachHandle(reinterpret_cast<HXCGUI>(window_));
  }

  xcann button_;
  XEleBase page_;
  XWnd window_wrapper_;
};

TEST_F(Ownership, TheLibraryReleasesEveryRecordItKeptExactlyOnceAlsoWhenItExits) {
  AllocationWatch records(kEventRecordSize);
  button_.RegisterEvent(34);
  button_.RegisterEvent(34);  // a second registration is a second record
  button_.RegisterEvent(5);
  page_.RegisterEvent(1);
  window_wrapper_.RegisterEvent(16);
  EXPECT_EQ(records.Live(), 5);
  EXPECT_EQ(CountBindingsOf(&button_), 3u);

  // A removal: the probe (released by the binder) and the matched record (by the library) both go.
  button_.UnregisterEvent(34);
  EXPECT_EQ(records.Made(), 6);
  EXPECT_EQ(records.Live(), 4);
  EXPECT_EQ(CountBindingsOf(&button_), 2u);

  XExitXCGUI();
  EXPECT_EQ(records.Live(), 0);
  EXPECT_EQ(records.DoubleFrees(), 0);
  EXPECT_EQ(CountBindingsOf(&button_), 0u);
  EXPECT_EQ(CountBindingsOf(&page_), 0u);
  EXPECT_EQ(CountBindingsOf(&window_wrapper_), 0u);
}

TEST_F(Ownership, TheBinderReleasesRefusedRecordsAndRemovalProbes) {
  AllocationWatch records(kEventRecordSize);
  xcann no_handle;
  XEleBase window_handle;  // an element wrapper holding a window: refused by the element functions
  window_handle.AttachHandle(reinterpret_cast<HXCGUI>(window_));
  struct Case {
    const char* what;
    std::function<void()> call;
  };
  const Case cases[] = {
      {"handle 0", [&] { no_handle.RegisterEvent(34); }},
      {"wrong kind of handle", [&] { window_handle.RegisterEvent(5); }},
      {"removal of nothing", [&] { button_.UnregisterEvent(34); }},
      {"window removal of nothing", [&] { window_wrapper_.UnregisterEvent(16); }},
  };
  int made = 0;
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    c.call();
    EXPECT_EQ(records.Made(), ++made);
    EXPECT_EQ(records.Live(), 0);
  }
  EXPECT_EQ(records.DoubleFrees(), 0);
  EXPECT_EQ(CountBindingsOf(&no_handle) + CountBindingsOf(&window_handle) + CountBindingsOf(&button_), 0u);
}

TEST_F(Ownership, AFailedEventRecordAllocationFreesTheBindingRecord) {
  // Registrations and removals beforehand, so that the list of live bindings has room and allocates nothing.
  for (int id : {5, 6, 7, 9, 10, 11, 12, 13}) button_.RegisterEvent(id);
  for (int id : {5, 6, 7, 9, 10, 11, 12, 13}) button_.UnregisterEvent(id);
  {
    AllocationWatch bindings(4 * sizeof(void*));
    vexo::ui_test::FailNextAllocationOf(kEventRecordSize);
    EXPECT_THROW(button_.RegisterEvent(34), std::bad_alloc);
    EXPECT_EQ(bindings.Made(), 1);
    EXPECT_EQ(bindings.Live(), 0);
    EXPECT_EQ(bindings.DoubleFrees(), 0);
  }
  EXPECT_EQ(CountBindingsOf(&button_), 0u);
  EXPECT_TRUE(vexo::ui_test::RegisteredRecords(button_.GetObjectHandle(), 34).empty());
  button_.RegisterEvent(34);
  EXPECT_EQ(vexo::ui_test::RegisteredRecords(button_.GetObjectHandle(), 34).size(), 1u);
}

class EndedWrapper : public vexo::ui_test::ShownWindowTest {};

// The wrapper ends while the library keeps its click binding; a new wrapper takes its place in memory.
// The click must reach neither: not the ended one, and not the newcomer, which registered nothing.
TEST_F(EndedWrapper, IsNeverReachedThroughABindingTheLibraryStillKeeps) {
  RaisedEvents().clear();
  HandlerOwner owner;
  const HXCGUI face = XC_GetObjectByName(L"btn_face");
  alignas(xcann) unsigned char place[sizeof(xcann)];

  auto* ended = ::new (place) xcann();
  vexo::ui_test::BindRecorder(ended->BtnClickSlot(), owner.self, 1);
  ended->AttachHandle(face);
  ended->RegisterEvent(34);
  ended->~xcann();
  EXPECT_EQ(vexo::ui_test::RegisteredRecords(face, 34).size(), 1u);

  auto* newcomer = ::new (place) xcann();
  vexo::ui_test::BindRecorder(newcomer->BtnClickSlot(), owner.self, 2);
  const HXCGUI page = XC_GetObjectByName(L"page_main");
  newcomer->AttachHandle(page);

  ClickAt(CenterOf(L"btn_face"));
  xcgui_test::PumpMessages(800);
  EXPECT_TRUE(RaisedEvents().empty());
  EXPECT_EQ(newcomer->GetObjectHandle(), page);

  // Its own registration works as usual.
  newcomer->AttachHandle(face);
  newcomer->RegisterEvent(34);
  ClickAt(CenterOf(L"btn_face"));
  EXPECT_TRUE(xcgui_test::PumpUntil([] { return !RaisedEvents().empty(); }));
  xcgui_test::PumpMessages(300);
  ASSERT_EQ(RaisedEvents().size(), 1u);
  EXPECT_EQ(RaisedEvents()[0].user_value, 2u);
  newcomer->~xcann();
}

}  // namespace
