// Real events from a real window: clicks (xdotool) reach the handler bound to a button wrapper's click
// slot; the handled flag decides the button's own action; element events attach the element to the
// wrapper's shared holder, window events never touch it; a draw event hands over a usable drawing context.
#include <gtest/gtest.h>

#include <vector>

#include "tests/support/handler_owner.h"
#include "tests/ui/slot_recorder.h"
#include "tests/ui/ui_test_support.h"
#include "tests/xcgui/screen.h"
#include "ui/element_wrappers.h"
#include "ui/window_wrappers.h"

namespace {

using namespace rg_xc_gui;
using vexo::test::HandlerOwner;
using vexo::ui_test::RaisedEvents;
using xcgui_test::PumpMessages;
using xcgui_test::PumpUntil;

class RealEvents : public vexo::ui_test::ShownWindowTest {
 protected:
  void SetUp() override {
    ShownWindowTest::SetUp();
    RaisedEvents().clear();
    vexo::ui_test::SetHandledAnswer(-1);
  }
  void TearDown() override {
    vexo::ui_test::SetHandledAnswer(-1);
    ShownWindowTest::TearDown();
  }

  HandlerOwner owner_;
};

TEST_F(RealEvents, AClickReachesTheBoundHandlerOnceWithTheWrapperAndTheButton) {
  xcann button;
  xcann other;  // a second button wrapper registered on another button: its handler must stay silent
  vexo::ui_test::BindRecorder(button.BtnClickSlot(), owner_.self, 7);
  vexo::ui_test::BindRecorder(other.BtnClickSlot(), owner_.self, 8);
  const HXCGUI element = XC_GetObjectByName(L"btn_face");
  button.AttachHandle(element);
  other.AttachHandle(XC_GetObjectByName(L"btn_plain"));
  button.RegisterEvent(34);
  other.RegisterEvent(34);

  ClickAt(CenterOf(L"btn_face"));
  EXPECT_TRUE(PumpUntil([] { return !RaisedEvents().empty(); }));
  PumpMessages(300);
  ASSERT_EQ(RaisedEvents().size(), 1u);
  EXPECT_EQ(RaisedEvents()[0].owner, &owner_.object);
  EXPECT_EQ(RaisedEvents()[0].source, &button);
  EXPECT_EQ(RaisedEvents()[0].user_value, 7u);
  EXPECT_EQ(RaisedEvents()[0].handle, vexo::ui::HandleData(element));
  EXPECT_EQ(RaisedEvents()[0].values, "");
}

TEST_F(RealEvents, TheHandledFlagComesBackUnchangedOrAsTheHandlerSetIt) {
  // The close button closes the window unless a click handler sets handled.
  xcann close_button;
  vexo::ui_test::BindRecorder(close_button.BtnClickSlot(), owner_.self);
  close_button.AttachHandle(XC_GetObjectByName(L"btn_close"));
  close_button.RegisterEvent(34);
  const POINT close_point = CenterOf(L"btn_close");

  vexo::ui_test::SetHandledAnswer(1);
  ClickAt(close_point);
  EXPECT_TRUE(PumpUntil([] { return RaisedEvents().size() == 1; }));
  PumpMessages(300);
  EXPECT_TRUE(IsWindow(hwnd_));
  EXPECT_EQ(RaisedEvents()[0].handled_in, FALSE);

  vexo::ui_test::SetHandledAnswer(-1);
  ClickAt(close_point);
  EXPECT_TRUE(PumpUntil([this] { return !IsWindow(hwnd_); }));
  EXPECT_EQ(RaisedEvents().size(), 2u);
}

TEST_F(RealEvents, AnElementEventAttachesTheElementForEverySharerAndAWindowEventNeverChangesTheHandle) {
  xcann button;
  vexo::ui_test::BindRecorder(button.BtnClickSlot(), owner_.self);
  const HXCGUI element = XC_GetObjectByName(L"btn_face");
  button.AttachHandle(element);
  button.RegisterEvent(34);
  auto* clone = static_cast<xcann*>(button.Clone());
  XEleBase base;
  ASSERT_TRUE(base.CopyFrom(button));
  button.AttachHandle(nullptr);  // stale: the event sets it again

  XWnd window;
  vexo::ui_test::BindRecorder(window.WndMouseMoveSlot(), owner_.self);
  window.AttachHandle(reinterpret_cast<HXCGUI>(window_));
  window.RegisterEvent(512);
  const HXCGUI unrelated = XC_GetObjectByName(L"page_main");
  window.AttachHandle(unrelated);

  ClickAt(CenterOf(L"btn_face"));
  EXPECT_TRUE(PumpUntil([] {
    for (const auto& event : RaisedEvents()) {
      if (event.values.empty()) return true;
    }
    return false;
  }));
  EXPECT_EQ(button.GetObjectHandle(), element);
  EXPECT_EQ(clone->GetObjectHandle(), element);
  EXPECT_EQ(base.GetObjectHandle(), element);
  // The window's mouse moves came with the window's handle and left the wrapper's alone.
  std::size_t window_events = 0;
  for (const auto& event : RaisedEvents()) {
    if (event.source != &window) continue;
    ++window_events;
    EXPECT_EQ(event.handle, vexo::ui::HandleData(window_));
  }
  EXPECT_GT(window_events, 0u);
  EXPECT_EQ(window.GetObjectHandle(), unrelated);
  clone->Release();
}

// What the draw handler saw.
struct DrawSeen {
  int calls = 0;
  XCGUIDATA drawing = 0;
  BOOL drawn = FALSE;
};
DrawSeen draw_seen;

std::int32_t DrawDefaultFace(CPelObject*, CPelObject* source, std::uint32_t, XCGUIDATA, rg_XuanCaiHuiTu* drawing,
                             rg_Pelor_JiBen::rg_LuoJiXingLei* handled) {
  ++draw_seen.calls;
  draw_seen.drawing = drawing->GetHandle();
  draw_seen.drawn = static_cast<XEleBase*>(source)->DrawEle(*drawing);
  handled->SetValue(TRUE);
  return 0;
}

TEST_F(RealEvents, ADrawEventHandsOverTheLibrarysDrawingContextWithoutFreeingIt) {
  draw_seen = {};
  xcann button;
  button.DrawSlot().Bind(&DrawDefaultFace, owner_.self, 0);
  button.AttachHandle(XC_GetObjectByName(L"btn_face"));
  button.RegisterEvent(2);
  for (int paint = 1; paint <= 2; ++paint) {
    SCOPED_TRACE(paint);
    button.Redraw(TRUE);
    EXPECT_TRUE(PumpUntil([paint] { return draw_seen.calls >= paint; }));
    EXPECT_NE(draw_seen.drawing, 0u);
    EXPECT_TRUE(draw_seen.drawn);
  }
}

}  // namespace
