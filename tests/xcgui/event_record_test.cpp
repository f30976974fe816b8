// The event record contract: which records the library keeps, that every kept record is released exactly
// once, how events reach the bindings and what the handled flag does.
#include <gtest/gtest.h>

#include "tests/xcgui/test_support.h"

namespace xcgui_test {
namespace {

class EventRecords : public LibraryTest {
 protected:
  void SetUp() override {
    LibraryTest::SetUp();
    window_ = LoadMainWindow();
    hwnd_ = XWnd_GetHWND(window_);
    button_ = reinterpret_cast<HELE>(XC_GetObjectByName(L"btn_face"));
    bar_ = reinterpret_cast<HELE>(XC_GetObjectByName(L"bar"));
    ASSERT_TRUE(button_ && bar_);
  }

  // Gives the focus to the first button by Tab and presses Enter on it, as the keyboard would.
  void ClickFirstButtonByKeyboard() {
    SendTab(hwnd_);  // btn_face: the window controls come last
    SendMessageW(hwnd_, WM_KEYDOWN, VK_RETURN, 0);
  }

  HWINDOW window_ = nullptr;
  HWND hwnd_ = nullptr;
  HELE button_ = nullptr;
  HELE bar_ = nullptr;
};

TEST_F(EventRecords, RefusedRecordsStayWithTheCaller) {
  TestRecord* removal_mode = TestRecord::Make(-1, this, 1);
  TestRecord* no_binding = TestRecord::Make(1, this, 1);
  delete static_cast<TestBinding*>(no_binding->binding);
  no_binding->binding = nullptr;
  TestRecord* bad_handle = TestRecord::Make(1, this, 1);
  EXPECT_FALSE(_XEle_RegEvent(button_, XE_BNCLICK, removal_mode));
  EXPECT_FALSE(_XEle_RegEvent(button_, XE_BNCLICK, no_binding));
  EXPECT_FALSE(_XEle_RegEvent(reinterpret_cast<HELE>(window_), XE_BNCLICK, bad_handle));
  EXPECT_FALSE(_XWnd_RegEvent(reinterpret_cast<HWINDOW>(button_), XWM_CLOSE, bad_handle));
  EXPECT_FALSE(_XEle_RegEvent(button_, XE_BNCLICK, nullptr));
  for (TestRecord* record : {removal_mode, no_binding, bad_handle}) {
    EXPECT_EQ(ReleaseCount(record->serial()), 0);
    int serial = record->serial();
    record->xc_event_free();
    EXPECT_EQ(ReleaseCount(serial), 1);
  }
}

TEST_F(EventRecords, RemovalMatchesThroughEqualsAndReleasesOnce) {
  TestRecord* first = TestRecord::Make(1, this, 7);
  TestRecord* second = TestRecord::Make(1, this, 7);
  TestRecord* other = TestRecord::Make(1, this, 8);
  ASSERT_TRUE(_XEle_RegEvent(button_, XE_BNCLICK, first));
  ASSERT_TRUE(_XEle_RegEvent(button_, XE_BNCLICK, second));
  ASSERT_TRUE(_XEle_RegEvent(button_, XE_BNCLICK, other));
  int s1 = first->serial(), s2 = second->serial(), s3 = other->serial();

  struct Case {
    HELE element;
    int id;
    int member;
    BOOL removed;
  } cases[] = {
      {button_, XE_BNCLICK, 9, FALSE},    // no binding Equals
      {button_, XE_MOUSEMOVE, 7, FALSE},  // another event
      {bar_, XE_BNCLICK, 7, FALSE},       // another element
      {button_, XE_BNCLICK, 7, TRUE},     // the earliest match goes
  };
  for (const Case& c : cases) {
    TestRecord* probe = TestRecord::Make(-1, this, c.member);
    int probe_serial = probe->serial();
    EXPECT_EQ(_XEle_RemoveEvent(c.element, c.id, probe), c.removed);
    EXPECT_EQ(ReleaseCount(probe_serial), 0);  // the probe is never kept nor released by the library
    probe->xc_event_free();
  }
  EXPECT_EQ(ReleaseCount(s1), 1);
  EXPECT_EQ(ReleaseCount(s2), 0);
  ClickFirstButtonByKeyboard();
  EXPECT_EQ(ReleaseCount(s2), 0);
  XExitXCGUI();
  EXPECT_EQ(ReleaseCount(s1), 1);
  EXPECT_EQ(ReleaseCount(s2), 1);
  EXPECT_EQ(ReleaseCount(s3), 1);
  ASSERT_TRUE(XInitXCGUI(FALSE));  // for TearDown
}

TEST_F(EventRecords, DestroyingAWindowReleasesItsRecordsAndItsElementsRecordsOnce) {
  std::vector<int> serials;
  for (int id : {XE_BNCLICK, XE_MOUSEMOVE, XE_PAINT}) {
    TestRecord* record = TestRecord::Make(1, this, id);
    ASSERT_TRUE(_XEle_RegEvent(button_, id, record));
    serials.push_back(record->serial());
  }
  bool destroy_seen = false;
  TestRecord* window_record =
      TestRecord::Make(1, this, 100, [&](const EventCall&, BOOL*) { destroy_seen = true; });
  ASSERT_TRUE(_XWnd_RegEvent(window_, XWM_DESTROY, window_record));
  serials.push_back(window_record->serial());
  ASSERT_TRUE(XWnd_CloseWindow(window_));
  EXPECT_TRUE(destroy_seen);  // the destroy event comes before the records go
  for (int serial : serials) EXPECT_EQ(ReleaseCount(serial), 1);
  XExitXCGUI();
  for (int serial : serials) EXPECT_EQ(ReleaseCount(serial), 1);
  ASSERT_TRUE(XInitXCGUI(FALSE));
}

TEST_F(EventRecords, EventsArriveWithTheirValuesInRegistrationOrder) {
  std::vector<int> order;
  TestRecord* a = TestRecord::Make(1, this, 1, [&](const EventCall&, BOOL*) { order.push_back(1); });
  TestRecord* b = TestRecord::Make(1, this, 2, [&](const EventCall&, BOOL*) { order.push_back(2); });
  TestRecord* progress = TestRecord::Make(1, this, 3);
  TestRecord* move = TestRecord::Make(1, this, 4);
  ASSERT_TRUE(_XEle_RegEvent(button_, XE_BNCLICK, a));
  ASSERT_TRUE(_XEle_RegEvent(button_, XE_BNCLICK, b));
  ASSERT_TRUE(_XEle_RegEvent(bar_, XE_PROGRESSBAR_CHANGE, progress));
  ASSERT_TRUE(_XWnd_RegEvent(window_, XWM_MOUSEMOVE, move));

  ClickFirstButtonByKeyboard();
  EXPECT_EQ(order, (std::vector<int>{1, 2}));
  const EventCall& click = a->test_binding()->calls.at(0);
  EXPECT_EQ(click.handle, reinterpret_cast<vint>(button_));
  EXPECT_EQ(click.flag, 1);
  EXPECT_FALSE(click.window_form);

  ASSERT_TRUE(XProgBar_SetPos(bar_, 42));
  ASSERT_TRUE(XProgBar_SetPos(bar_, 42));  // no change, no event
  ASSERT_TRUE(XProgBar_SetPos(bar_, 420));
  auto& calls = progress->test_binding()->calls;
  ASSERT_EQ(calls.size(), 2u);
  EXPECT_EQ(calls[0].e2, 42);  // one value travels in e2
  EXPECT_EQ(calls[1].e2, 100);

  POINT seen = {};
  vint keys = -1;
  move->test_binding()->calls.clear();
  TestRecord* reader = TestRecord::Make(1, this, 5, [&](const EventCall& call, BOOL*) {
    keys = call.e2;  // two values travel in e2 and e3
    seen = *reinterpret_cast<POINT*>(call.e3);
  });
  ASSERT_TRUE(_XWnd_RegEvent(window_, XWM_MOUSEMOVE, reader));
  SendMessageW(hwnd_, WM_MOUSEMOVE, MK_SHIFT, MAKELPARAM(33, 44));
  EXPECT_EQ(keys, MK_SHIFT);
  EXPECT_EQ(seen.x, 33);
  EXPECT_EQ(seen.y, 44);
  ASSERT_EQ(move->test_binding()->calls.size(), 1u);
  EXPECT_TRUE(move->test_binding()->calls[0].window_form);
  EXPECT_EQ(move->test_binding()->calls[0].handle, reinterpret_cast<vint>(window_));
}

TEST_F(EventRecords, HandledStopsTheDefaultAction) {
  HELE close = reinterpret_cast<HELE>(XC_GetObjectByName(L"btn_close"));
  TestRecord* keep_open = TestRecord::Make(1, this, 1, [](const EventCall&, BOOL* handled) { *handled = TRUE; });
  ASSERT_TRUE(_XWnd_RegEvent(window_, XWM_CLOSE, keep_open));
  EXPECT_TRUE(XWnd_CloseWindow(window_));
  EXPECT_TRUE(IsWindow(hwnd_));
  EXPECT_NE(XWnd_GetHWND(window_), nullptr);

  TestRecord* probe = TestRecord::Make(-1, this, 1);
  ASSERT_TRUE(_XWnd_RemoveEvent(window_, XWM_CLOSE, probe));
  probe->xc_event_free();
  TestRecord* swallow = TestRecord::Make(1, this, 2, [](const EventCall&, BOOL* handled) { *handled = TRUE; });
  ASSERT_TRUE(_XEle_RegEvent(close, XE_BNCLICK, swallow));
  SendTab(hwnd_, true);  // Shift+Tab from nothing: the last control, btn_close
  SendMessageW(hwnd_, WM_KEYDOWN, VK_RETURN, 0);
  EXPECT_EQ(swallow->test_binding()->calls.size(), 1u);
  EXPECT_TRUE(IsWindow(hwnd_));  // the close button's own action was skipped

  int serial = swallow->serial();
  probe = TestRecord::Make(-1, this, 2);
  ASSERT_TRUE(_XEle_RemoveEvent(close, XE_BNCLICK, probe));
  probe->xc_event_free();
  EXPECT_EQ(ReleaseCount(serial), 1);
  SendMessageW(hwnd_, WM_KEYDOWN, VK_RETURN, 0);
  EXPECT_FALSE(IsWindow(hwnd_));  // now the close button closes
  EXPECT_EQ(XWnd_GetHWND(window_), nullptr);
}

TEST_F(EventRecords, DrawEventsPassADrawingContextValidOnlyDuringTheEvent) {
  vint draw = 0;
  BOOL drew = FALSE;
  TestRecord* painter = TestRecord::Make(1, this, 1, [&](const EventCall& call, BOOL* handled) {
    draw = call.e2;
    drew = XEle_DrawEle(button_, reinterpret_cast<HDRAW>(call.e2));  // the default face, on request
    *handled = TRUE;
  });
  ASSERT_TRUE(_XEle_RegEvent(button_, XE_PAINT, painter));
  XWnd_Show(window_, TRUE);
  UpdateWindow(hwnd_);
  ASSERT_NE(draw, 0);
  EXPECT_TRUE(drew);
  EXPECT_FALSE(XEle_DrawEle(button_, reinterpret_cast<HDRAW>(draw)));  // the context is gone now
}

TEST_F(EventRecords, MouseEnterHoverAndLeaveReachTheElement) {
  std::vector<std::pair<int, vint>> seen;
  for (int id : {XE_MOUSESTAY, XE_MOUSEHOVER, XE_MOUSELEAVE}) {
    ASSERT_TRUE(_XEle_RegEvent(button_, id, TestRecord::Make(1, this, id, [&seen, id](const EventCall& call, BOOL*) {
                                 seen.emplace_back(id, call.e2);
                               })));
  }
  HELE edit = reinterpret_cast<HELE>(XC_GetObjectByName(L"edit_path"));
  SendMessageW(hwnd_, WM_MOUSEMOVE, 0, MAKELPARAM(30, 255 + 30));   // onto btn_face
  SendMessageW(hwnd_, WM_MOUSEHOVER, 0, MAKELPARAM(30, 255 + 30));
  SendMessageW(hwnd_, WM_MOUSEMOVE, 0, MAKELPARAM(170, 255 + 35));  // onto the edit
  ASSERT_EQ(seen.size(), 3u);
  EXPECT_EQ(seen[0].first, XE_MOUSESTAY);
  EXPECT_EQ(seen[1].first, XE_MOUSEHOVER);
  EXPECT_EQ(seen[2], std::make_pair(static_cast<int>(XE_MOUSELEAVE), reinterpret_cast<vint>(edit)));
}

TEST_F(EventRecords, HandlersMayCloseTheWindowOrRemoveThemselvesWhileBeingCalled) {
  TestRecord* self_removing = nullptr;
  int removed = -1;
  self_removing = TestRecord::Make(1, this, 1, [&](const EventCall&, BOOL*) {
    TestRecord* probe = TestRecord::Make(-1, this, 1);
    removed = _XEle_RemoveEvent(button_, XE_BNCLICK, probe);
    probe->xc_event_free();
  });
  int self_serial = self_removing->serial();
  ASSERT_TRUE(_XEle_RegEvent(button_, XE_BNCLICK, self_removing));
  TestRecord* closer = TestRecord::Make(1, this, 2, [&](const EventCall&, BOOL*) { XWnd_CloseWindow(window_); });
  bool after_called = false;
  TestRecord* after = TestRecord::Make(1, this, 3, [&](const EventCall&, BOOL*) { after_called = true; });
  int closer_serial = closer->serial();
  int after_serial = after->serial();
  ASSERT_TRUE(_XEle_RegEvent(button_, XE_BNCLICK, closer));
  ASSERT_TRUE(_XEle_RegEvent(button_, XE_BNCLICK, after));
  ClickFirstButtonByKeyboard();
  EXPECT_EQ(removed, TRUE);
  EXPECT_FALSE(IsWindow(hwnd_));
  EXPECT_FALSE(after_called);
  // The window went in the second handler: the third was not called, and every record went exactly once.
  EXPECT_EQ(ReleaseCount(self_serial), 1);
  EXPECT_EQ(ReleaseCount(closer_serial), 1);
  EXPECT_EQ(ReleaseCount(after_serial), 1);
}

}  // namespace
}  // namespace xcgui_test
