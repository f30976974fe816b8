// Dispatch: which words of the library's call reach the member handler, by the number of event values and
// the flag; the handled flag's way through the handler; the conversions of record values; the flag-0 call
// with three values, which only shows a message box.
#include <gtest/gtest.h>

#include <iterator>
#include <string>
#include <vector>

#include "tests/support/handler_owner.h"
#include "tests/ui/slot_recorder.h"
#include "tests/ui/ui_test_support.h"
#include "ui/element_wrappers.h"
#include "ui/window_wrappers.h"

namespace {

using namespace rg_xc_gui;
using vexo::test::HandlerOwner;
using vexo::ui_test::RaisedEvents;

// What WatchPoint saw: the point's words, and whether its bytes live elsewhere than the library's record.
const void* watched_record = nullptr;
std::string watched_words;

std::int32_t WatchPoint(CPelObject*, CPelObject*, std::uint32_t, XCGUIDATA, UINT, rg_ZuoBiao_xc* point,
                        rg_Pelor_JiBen::rg_LuoJiXingLei*) {
  watched_words = std::to_string(point->GetWord(0)) + "," + std::to_string(point->GetWord(1)) +
                  (point->Bytes() != watched_record ? " elsewhere" : " in place");
  return 0;
}

class Dispatch : public vexo::ui_test::TestWindow {
 protected:
  void SetUp() override {
    TestWindow::SetUp();
    element_ = XC_GetObjectByName(L"page_main");
    button_.AttachHandle(XC_GetObjectByName(L"btn_face"));
    progress_bar_.AttachHandle(XC_GetObjectByName(L"bar"));
    page_.AttachHandle(element_);
    window_wrapper_.AttachHandle(reinterpret_cast<HXCGUI>(window_));
    RaisedEvents().clear();
    vexo::ui_test::SetHandledAnswer(-1);
  }
  void TearDown() override {
    vexo::ui_test::SetHandledAnswer(-1);
    TestWindow::TearDown();
  }

  // The binding the library keeps for the registration of `id` by `wrapper`.
  static bind_event_cpp* BindingOf(const rg_xcbase& wrapper, int id) {
    for (const xc_event* record : vexo::ui_test::RegisteredRecords(wrapper.GetObjectHandle(), id)) {
      if (record->binding->GetThis() == &wrapper) return record->binding;
    }
    ADD_FAILURE() << "no binding for " << id;
    return nullptr;
  }

  HXCGUI element_ = nullptr;
  xcann button_;
  rg_XuanCaiJinDuTiao progress_bar_;
  XEleBase page_;
  XWnd window_wrapper_;
  HandlerOwner owner_;
};

TEST_F(Dispatch, TheFlagAndTheNumberOfValuesPickTheWordsThatReachTheHandler) {
  vexo::ui_test::BindRecorder(button_.BtnClickSlot(), owner_.self);
  vexo::ui_test::BindRecorder(progress_bar_.ProgressBarChangeSlot(), owner_.self);
  vexo::ui_test::BindRecorder(page_.EventKeyDownSlot(), owner_.self);
  vexo::ui_test::BindRecorder(page_.EventProcSlot(), owner_.self);
  vexo::ui_test::BindRecorder(window_wrapper_.CustomeventSlot(), owner_.self);
  button_.RegisterEvent(34);
  progress_bar_.RegisterEvent(64);
  page_.RegisterEvent(39);
  page_.RegisterEvent(1);
  window_wrapper_.RegisterEvent(10001);

  // The words of every call: handle H, e1 = 11, e2 = 22, e3 = 33.
  constexpr vint kHandle = 0x7777;
  struct Case {
    const char* what;
    rg_xcbase& wrapper;
    int id;
    vint flag;
    XCGUIDATA handle;  // what the handler receives as handle
    const char* values;
  };
  const Case cases[] = {
      {"no values, flag set", button_, 34, 1, kHandle, ""},
      {"no values, flag 0", button_, 34, 0, 22, ""},
      {"one value, flag set", progress_bar_, 64, 5, kHandle, "int 22"},
      {"one value, flag 0", progress_bar_, 64, 0, 22, "int 33"},
      {"two values, flag set", page_, 39, 1, kHandle, "UINT 22; LPARAM 33"},
      {"two values, flag 0", page_, 39, 0, 11, "UINT 22; LPARAM 33"},
      {"two window values, flag set", window_wrapper_, 10001, 1, kHandle, "int 22; int 33"},
      {"two window values, flag 0", window_wrapper_, 10001, 0, 11, "int 22; int 33"},
      {"three values, flag set", page_, 1, -1, kHandle, "UINT 11; UINT 22; LPARAM 33"},
  };
  std::vector<bind_event_cpp*> bindings;
  for (const Case& c : cases) bindings.push_back(BindingOf(c.wrapper, c.id));
  for (std::size_t i = 0; i < std::size(cases); ++i) {
    const Case& c = cases[i];
    SCOPED_TRACE(c.what);
    ASSERT_NE(bindings[i], nullptr);
    RaisedEvents().clear();
    const XCGUIDATA handle_before = c.wrapper.GetHandleData();
    BOOL handled = FALSE;
    EXPECT_EQ(bindings[i]->HandleEvent_cpp_Call(reinterpret_cast<HELE>(kHandle), c.flag, 11, 22, 33, &handled), 0);
    ASSERT_EQ(RaisedEvents().size(), 1u);
    EXPECT_EQ(RaisedEvents()[0].source, &c.wrapper);
    EXPECT_EQ(RaisedEvents()[0].handle, c.handle);
    EXPECT_EQ(RaisedEvents()[0].values, c.values);
    // An element event stores the element it names into the holder; a window event leaves it.
    EXPECT_EQ(c.wrapper.GetHandleData(), &c.wrapper == &window_wrapper_ ? handle_before : c.handle);
  }
}

TEST_F(Dispatch, ThreeValuesWithFlagZeroShowAMessageBoxAndCallNothing) {
  vexo::ui_test::BindRecorder(page_.EventProcSlot(), owner_.self);
  vexo::ui_test::BindRecorder(window_wrapper_.WndProcSlot(), owner_.self);
  page_.RegisterEvent(1);
  window_wrapper_.RegisterEvent(28674);
  for (const rg_xcbase* wrapper :
       {static_cast<const rg_xcbase*>(&page_), static_cast<const rg_xcbase*>(&window_wrapper_)}) {
    bind_event_cpp* binding = BindingOf(*wrapper, wrapper == &page_ ? 1 : 28674);
    ASSERT_NE(binding, nullptr);
    BOOL handled = TRUE;
    int result = -1;
    const auto boxes = vexo::ui_test::AnswerMessageBoxes(
        [&] { result = binding->HandleEvent_cpp_Call(reinterpret_cast<HWINDOW>(0x7777), 0, 11, 22, 33, &handled); });
    EXPECT_EQ(result, 0);
    ASSERT_EQ(boxes.size(), 1u);
    EXPECT_EQ(boxes[0].caption, L"error");
    EXPECT_EQ(boxes[0].text, L"HandleEvent_cpp_Call a5");
    EXPECT_TRUE(RaisedEvents().empty());
    EXPECT_EQ(handled, TRUE);
  }
  EXPECT_EQ(page_.GetObjectHandle(), element_);
}

TEST_F(Dispatch, TheHandledFlagComesBackAsTheHandlerLeftIt) {
  vexo::ui_test::BindRecorder(button_.BtnClickSlot(), owner_.self);
  button_.RegisterEvent(34);
  xcann unbound;
  unbound.AttachHandle(button_.GetObjectHandle());
  unbound.RegisterEvent(34);
  struct Case {
    const char* what;
    xcann& wrapper;
    BOOL handled_in;
    std::int32_t answer;  // -1: the handler leaves the flag
    BOOL handled_out;
  };
  const Case cases[] = {
      {"left false", button_, FALSE, -1, FALSE}, {"left true", button_, TRUE, -1, TRUE},
      {"set", button_, FALSE, 1, TRUE},          {"cleared", button_, TRUE, 0, FALSE},
      {"no handler", unbound, TRUE, 0, TRUE},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    RaisedEvents().clear();
    vexo::ui_test::SetHandledAnswer(c.answer);
    BOOL handled = c.handled_in;
    EXPECT_EQ(BindingOf(c.wrapper, 34)->HandleEvent_cpp_Call(c.wrapper.GetElementHandle(), 1, 0, 0, 0, &handled), 0);
    EXPECT_EQ(handled, c.handled_out);
    if (&c.wrapper == &button_) {
      ASSERT_EQ(RaisedEvents().size(), 1u);
      EXPECT_EQ(RaisedEvents()[0].handled_in, c.handled_in);
    }
  }
  // The library's call registered records in order, so both bindings were found separately.
  EXPECT_EQ(vexo::ui_test::RegisteredRecords(button_.GetObjectHandle(), 34).size(), 2u);
}

// Record values reach the handler as copies (a null record as zeros); the drag's window list as six
// integers; a drawing context as a drawing wrapper holding its handle.
TEST_F(Dispatch, RecordValuesArriveAsCopiesInValueObjects) {
  page_.MouseMoveSlot().Bind(&WatchPoint, owner_.self, 0);
  page_.RegisterEvent(5);
  POINT point{-5, 7};
  watched_record = &point;
  BOOL handled = FALSE;
  BindingOf(page_, 5)->HandleEvent_cpp_Call(page_.GetElementHandle(), 1, 0, 1, reinterpret_cast<vint>(&point),
                                            &handled);
  EXPECT_EQ(watched_words, "-5,7 elsewhere");

  vexo::ui_test::BindRecorder(window_wrapper_.WndSizeSlot(), owner_.self);
  vexo::ui_test::BindRecorder(window_wrapper_.WndFloatWndDragSlot(), owner_.self);
  vexo::ui_test::BindRecorder(window_wrapper_.WndDrawWindowSlot(), owner_.self);
  window_wrapper_.RegisterEvent(5);
  window_wrapper_.RegisterEvent(28694);
  window_wrapper_.RegisterEvent(15);
  const std::intptr_t windows[7] = {1, -2, 3, -4, 5, -6, 99};  // window handles, one word each
  struct Case {
    const char* what;
    int id;
    vint e2;
    vint e3;
    const char* values;
  };
  const Case cases[] = {
      {"null size", 5, 3, 0, "UINT 3; size 0,0"},
      {"six windows", 28694, 0x1234, reinterpret_cast<vint>(windows), "HWINDOW 0x1234; windows 1,-2,3,-4,5,-6"},
      {"no window list", 28694, 0x1234, 0, "HWINDOW 0x1234; windows"},
      {"drawing", 15, 0x4321, 0, "drawing 0x4321"},
      {"no drawing", 15, 0, 0, "drawing 0x0"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    RaisedEvents().clear();
    BindingOf(window_wrapper_, c.id)->HandleEvent_cpp_Call(window_, 1, 0, c.e2, c.e3, &handled);
    ASSERT_EQ(RaisedEvents().size(), 1u);
    EXPECT_EQ(RaisedEvents()[0].values, c.values);
  }
}

}  // namespace
