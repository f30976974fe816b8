// The event tables: every row registers its own binding, named as the row says, whose call raises the
// row's slot with the row's values; ids a class does not know fall through to its base classes.
#include <gtest/gtest.h>

#include <functional>
#include <sstream>
#include <string>
#include <tuple>
#include <vector>

#include "tests/support/handler_owner.h"
#include "tests/ui/slot_recorder.h"
#include "tests/ui/ui_test_support.h"
#include "ui/element_wrappers.h"
#include "ui/event_record.h"
#include "ui/window_wrappers.h"

namespace {

using namespace rg_xc_gui;
using vexo::test::HandlerOwner;
using vexo::ui_test::RaisedEvents;
using vexo::ui_test::TestWindow;

// Sample values for the event values of a row: the word passed for each kind at each position and what
// the handler must receive for it. Records are filled with distinct words.
class Samples {
 public:
  Samples() {
    for (int position = 0; position < 3; ++position) {
      for (int i = 0; i < 10; ++i) records_[position][i] = 1000 * (position + 1) + i;
      for (int i = 0; i < 6; ++i) windows_[position][i] = records_[position][i];
    }
  }

  // The word for a value of `kind` at `position` (0..2); appends what the handler receives to `expected`.
  vint Word(const std::string& kind, int position, std::string& expected) {
    if (!expected.empty()) expected += "; ";
    const vint number = 200 + position;
    struct Handle {
      const char* kind;
      const char* shown;
      vint base;
    };
    static const Handle kHandles[] = {{"HELE", "HELE", 0x5000},     {"HWINDOW", "HWINDOW", 0x6000},
                                      {"HWND", "HWND", 0x7000},     {"HDROP", "HDROP", 0x8000},
                                      {"HMENUX", "HMENUX", 0x9000}, {"HDRAW", "drawing", 0xA000}};
    for (const Handle& handle : kHandles) {
      if (kind == handle.kind) {
        std::ostringstream shown;
        shown << handle.shown << " 0x" << std::uppercase << std::hex << handle.base + position;
        expected += shown.str();
        return handle.base + position;
      }
    }
    struct Number {
      const char* kind;
      vint word;
    };
    const Number kNumbers[] = {{"UINT", number}, {"int", -number}, {"LPARAM", number * 1000}};
    for (const Number& value : kNumbers) {
      if (kind == value.kind) {
        expected += kind + " " + std::to_string(value.word);
        return value.word;
      }
    }
    struct Record {
      const char* kind;
      const char* shown;
      int words;
    };
    static const Record kRecords[] = {{"tagPOINT*", "point", 2},       {"tagSIZE*", "size", 2},
                                      {"menu_popupWnd_*", "popup", 2}, {"menu_drawBackground_*", "background", 3},
                                      {"menu_drawItem_*", "item", 10}, {"HWINDOW*", "windows", 6}};
    for (const Record& record : kRecords) {
      if (kind == record.kind) {
        expected += record.shown;
        for (int i = 0; i < record.words; ++i) expected += (i == 0 ? " " : ",") + std::to_string(records_[position][i]);
        if (kind == "HWINDOW*") return reinterpret_cast<vint>(windows_[position]);
        return reinterpret_cast<vint>(records_[position]);
      }
    }
    ADD_FAILURE() << "unknown kind " << kind;
    return 0;
  }

 private:
  std::int32_t records_[3][10];
  // The window lists: handles, one word each.
  std::intptr_t windows_[3][6];
};

// The wrappers the rows are registered on, one of each class with a table (attached in the fixture).
struct Wrappers {
  std::tuple<XEleBase, xcann, rg_XuanCaiJinDuTiao, rg_XuanCaiGunDongShiTu, rg_XuanCaiBianJiKuang, XWnd> all;

  template <class W>
  W& Get() {
    return std::get<W>(all);
  }
};

// One row of the tables as the interface describes it.
struct RowCase {
  int id;
  const char* name;
  const char* kinds;  // the library values between the handle and the handled flag
  const char* wrapper;
  void (*bind_recorder)(Wrappers& wrappers, CPelObjectPointer* owner);
  void (*register_event)(Wrappers& wrappers, int id);
  rg_xcbase& (*target)(Wrappers& wrappers);
  bool window;
};

template <class W, auto kSlotAccessor>
RowCase Row(int id, const char* name, const char* kinds) {
  return {id,
          name,
          kinds,
          W::StaticClassInfo().name_record.name,
          [](Wrappers& wrappers, CPelObjectPointer* owner) {
            vexo::ui_test::BindRecorder((wrappers.Get<W>().*kSlotAccessor)(), owner);
          },
          [](Wrappers& wrappers, int event_id) { wrappers.Get<W>().RegisterEvent(event_id); },
          [](Wrappers& wrappers) -> rg_xcbase& { return wrappers.Get<W>(); },
          std::is_base_of_v<WinBase, W>};
}

const RowCase kRows[] = {
    Row<XEleBase, &XEleBase::EventProcSlot>(1, "&XEleBase::OnEventProc", "UINT, UINT, LPARAM"),
    Row<XEleBase, &XEleBase::DrawSlot>(2, "&XEleBase::OnDraw", "HDRAW"),
    Row<XEleBase, &XEleBase::PaintEndSlot>(3, "&XEleBase::OnPaintEnd", "HDRAW"),
    Row<XEleBase, &XEleBase::DrawScrollViewSlot>(4, "&XEleBase::OnDrawScrollView", "HDRAW"),
    Row<XEleBase, &XEleBase::MouseMoveSlot>(5, "&XEleBase::OnMouseMove", "UINT, tagPOINT*"),
    Row<XEleBase, &XEleBase::MouseStaySlot>(6, "&XEleBase::OnMouseStay", ""),
    Row<XEleBase, &XEleBase::MouseHoverSlot>(7, "&XEleBase::OnMouseHover", "UINT, tagPOINT*"),
    Row<XEleBase, &XEleBase::MouseLeaveSlot>(8, "&XEleBase::OnMouseLeave", "HELE"),
    Row<XEleBase, &XEleBase::MouseWheelSlot>(9, "&XEleBase::OnMouseWheel", "UINT, tagPOINT*"),
    Row<XEleBase, &XEleBase::LButtonDownSlot>(10, "&XEleBase::OnLButtonDown", "UINT, tagPOINT*"),
    Row<XEleBase, &XEleBase::LButtonUpSlot>(11, "&XEleBase::OnLButtonUp", "UINT, tagPOINT*"),
    Row<XEleBase, &XEleBase::RButtonDownSlot>(12, "&XEleBase::OnRButtonDown", "UINT, tagPOINT*"),
    Row<XEleBase, &XEleBase::RButtonUpSlot>(13, "&XEleBase::OnRButtonUp", "UINT, tagPOINT*"),
    Row<XEleBase, &XEleBase::LButtonDBClickSlot>(14, "&XEleBase::OnLButtonDBClick", "UINT, tagPOINT*"),
    Row<XEleBase, &XEleBase::RButtonDBClickSlot>(15, "&XEleBase::OnRButtonDBClick", "UINT, tagPOINT*"),
    Row<XEleBase, &XEleBase::EleXCTimerSlot>(16, "&XEleBase::OnEleXCTimer", "UINT"),
    Row<XEleBase, &XEleBase::SetFocusSlot>(31, "&XEleBase::OnSetFocus", ""),
    Row<XEleBase, &XEleBase::KillFocusSlot>(32, "&XEleBase::OnKillFocus", ""),
    Row<XEleBase, &XEleBase::DestroySlot>(33, "&XEleBase::OnDestroy", ""),
    Row<XEleBase, &XEleBase::DestroyeEndSlot>(42, "&XEleBase::OnDestroyeEnd", ""),
    Row<XEleBase, &XEleBase::SizeSlot>(36, "&XEleBase::OnSize", "int"),
    Row<XEleBase, &XEleBase::ShowSlot>(37, "&XEleBase::OnShow", "int"),
    Row<XEleBase, &XEleBase::SetFontSlot>(38, "&XEleBase::OnSetFont", ""),
    Row<XEleBase, &XEleBase::EventKeyDownSlot>(39, "&XEleBase::OnEventKeyDown", "UINT, LPARAM"),
    Row<XEleBase, &XEleBase::EventKeyUpSlot>(40, "&XEleBase::OnEventKeyUp", "UINT, LPARAM"),
    Row<XEleBase, &XEleBase::EventCharSlot>(41, "&XEleBase::OnEventChar", "UINT, LPARAM"),
    Row<XEleBase, &XEleBase::SetCaptureSlot>(51, "&XEleBase::OnSetCapture", ""),
    Row<XEleBase, &XEleBase::KillCaptureSlot>(52, "&XEleBase::OnKillCapture", ""),
    Row<XEleBase, &XEleBase::SetCursorSlot>(53, "&XEleBase::OnSetCursor", "UINT, LPARAM"),
    Row<XEleBase, &XEleBase::MenuPopupSlot>(57, "&XEleBase::OnMenuPopup", "HMENUX"),
    Row<XEleBase, &XEleBase::MenuPopupWndSlot>(58, "&XEleBase::OnMenuPopupWnd", "HMENUX, menu_popupWnd_*"),
    Row<XEleBase, &XEleBase::MenuSelectSlot>(59, "&XEleBase::OnMenuSelect", "int"),
    Row<XEleBase, &XEleBase::MenuDrawBackgroundSlot>(60, "&XEleBase::OnMenuDrawBackground",
                                                     "HDRAW, menu_drawBackground_*"),
    Row<XEleBase, &XEleBase::MenuDrawItemSlot>(61, "&XEleBase::OnMenuDrawItem", "HDRAW, menu_drawItem_*"),
    Row<XEleBase, &XEleBase::MenuExitSlot>(62, "&XEleBase::OnMenuExit", ""),
    Row<XEleBase, &XEleBase::DropFilesSlot>(250, "&XEleBase::OnDropFiles", "HDROP"),
    Row<XEleBase, &XEleBase::AdjustLayoutEndSlot>(18, "&XEleBase::OnAdjustLayoutEnd", "int, UINT"),
    Row<xcann, &xcann::BtnClickSlot>(34, "&xcann::OnBtnClick", ""),
    Row<xcann, &xcann::ButtonCheckSlot>(35, "&xcann::OnButtonCheck", "int"),
    Row<rg_XuanCaiJinDuTiao, &rg_XuanCaiJinDuTiao::ProgressBarChangeSlot>(
        64, "&rg_XuanCaiJinDuTiao::OnProgressBarChange", "int"),
    Row<rg_XuanCaiGunDongShiTu, &rg_XuanCaiGunDongShiTu::ScrollViewScrollHSlot>(
        54, "&rg_XuanCaiGunDongShiTu::OnScrollViewScrollH", "int"),
    Row<rg_XuanCaiGunDongShiTu, &rg_XuanCaiGunDongShiTu::ScrollViewScrollVSlot>(
        55, "&rg_XuanCaiGunDongShiTu::OnScrollViewScrollV", "int"),
    Row<rg_XuanCaiBianJiKuang, &rg_XuanCaiBianJiKuang::EditSetSlot>(180, "&rg_XuanCaiBianJiKuang::OnEditSet", ""),
    Row<rg_XuanCaiBianJiKuang, &rg_XuanCaiBianJiKuang::EditChangedSlot>(182, "&rg_XuanCaiBianJiKuang::OnEditChanged",
                                                                        ""),
    Row<rg_XuanCaiBianJiKuang, &rg_XuanCaiBianJiKuang::EditPosChangedSlot>(
        183, "&rg_XuanCaiBianJiKuang::OnEditPosChanged", "int"),
    Row<rg_XuanCaiBianJiKuang, &rg_XuanCaiBianJiKuang::EditStyleChangedSlot>(
        184, "&rg_XuanCaiBianJiKuang::OnEditStyleChanged", "int"),
    Row<rg_XuanCaiBianJiKuang, &rg_XuanCaiBianJiKuang::EditEnterGetTabAlignSlot>(
        185, "&rg_XuanCaiBianJiKuang::OnEditEnterGetTabAlign", ""),
    Row<rg_XuanCaiBianJiKuang, &rg_XuanCaiBianJiKuang::EditSwpaRowSlot>(186, "&rg_XuanCaiBianJiKuang::OnEditSwpaRow",
                                                                        "int, int"),
    Row<XWnd, &WinBase::WndDrawWindowSlot>(15, "&WinBase::OnWndDrawWindow", "HDRAW"),
    Row<XWnd, &WinBase::WndCloseSlot>(16, "&WinBase::OnWndClose", ""),
    Row<XWnd, &WinBase::WndDestroySlot>(2, "&WinBase::OnWndDestroy", ""),
    Row<XWnd, &WinBase::WndMouseMoveSlot>(512, "&WinBase::OnWndMouseMove", "UINT, tagPOINT*"),
    Row<XWnd, &WinBase::WndLButtonDownSlot>(513, "&WinBase::OnWndLButtonDown", "UINT, tagPOINT*"),
    Row<XWnd, &WinBase::WndLButtonUpSlot>(514, "&WinBase::OnWndLButtonUp", "UINT, tagPOINT*"),
    Row<XWnd, &WinBase::WndRButtonDownSlot>(516, "&WinBase::OnWndRButtonDown", "UINT, tagPOINT*"),
    Row<XWnd, &WinBase::WndRButtonUpSlot>(517, "&WinBase::OnWndRButtonUp", "UINT, tagPOINT*"),
    Row<XWnd, &WinBase::WndLButtonDBClickSlot>(515, "&WinBase::OnWndLButtonDBClick", "UINT, tagPOINT*"),
    Row<XWnd, &WinBase::WndRButtonDBClickSlot>(518, "&WinBase::OnWndRButtonDBClick", "UINT, tagPOINT*"),
    Row<XWnd, &WinBase::WndMouseWheelSlot>(522, "&WinBase::OnWndMouseWheel", "UINT, tagPOINT*"),
    Row<XWnd, &WinBase::WndMouseHoverSlot>(673, "&WinBase::OnWndMouseHover", "UINT, tagPOINT*"),
    Row<XWnd, &WinBase::WndMouseLeaveSlot>(675, "&WinBase::OnWndMouseLeave", ""),
    Row<XWnd, &WinBase::WndSizeSlot>(5, "&WinBase::OnWndSize", "UINT, tagSIZE*"),
    Row<XWnd, &WinBase::WndTimerSlot>(275, "&WinBase::OnWndTimer", "UINT"),
    Row<XWnd, &WinBase::WndSetFocusSlot>(7, "&WinBase::OnWndSetFocus", ""),
    Row<XWnd, &WinBase::WndXCTimerSlot>(28677, "&WinBase::OnWndXCTimer", "UINT"),
    Row<XWnd, &WinBase::WndKillFocusSlot>(8, "&WinBase::OnWndKillFocus", ""),
    Row<XWnd, &WinBase::WndKeyDownSlot>(256, "&WinBase::OnWndKeyDown", "UINT, LPARAM"),
    Row<XWnd, &WinBase::WndCaptureChangedSlot>(533, "&WinBase::OnWndCaptureChanged", "HWND"),
    Row<XWnd, &WinBase::WndSetCursorSlot>(32, "&WinBase::OnWndSetCursor", "UINT, LPARAM"),
    Row<XWnd, &WinBase::WndCharSlot>(258, "&WinBase::OnWndChar", "UINT, LPARAM"),
    Row<XWnd, &WinBase::DropFilesSlot>(563, "&WinBase::OnDropFiles", "HDROP"),
    Row<XWnd, &WinBase::WndProcSlot>(28674, "&WinBase::OnWndProc", "UINT, UINT, LPARAM"),
    Row<XWnd, &WinBase::WndMenuPopupSlot>(28683, "&WinBase::OnWndMenuPopup", "HMENUX"),
    Row<XWnd, &WinBase::WndMenuPopupWndSlot>(28684, "&WinBase::OnWndMenuPopupWnd", "HMENUX, menu_popupWnd_*"),
    Row<XWnd, &WinBase::WndMenuSelectSlot>(28685, "&WinBase::OnWndMenuSelect", "int"),
    Row<XWnd, &WinBase::WndMenuExitSlot>(28686, "&WinBase::OnWndMenuExit", ""),
    Row<XWnd, &WinBase::WndMenuDrawBackgroundSlot>(28687, "&WinBase::OnWndMenuDrawBackground",
                                                   "HDRAW, menu_drawBackground_*"),
    Row<XWnd, &WinBase::MenuDrawItemSlot>(28688, "&WinBase::OnMenuDrawItem", "HDRAW, menu_drawItem_*"),
    Row<XWnd, &WinBase::WndDrawWindowEndSlot>(28691, "&WinBase::OnWndDrawWindowEnd", "HDRAW"),
    Row<XWnd, &WinBase::WndDrawWindowDisplaySlot>(28692, "&WinBase::OnWndDrawWindowDisplay", ""),
    Row<XWnd, &WinBase::MoveSlot>(3, "&WinBase::OnMove", "UINT, LPARAM"),
    Row<XWnd, &WinBase::CustomeventSlot>(10001, "&WinBase::OnCustomevent", "int, int"),
    Row<XWnd, &WinBase::WndDocPopupSlot>(28693, "&WinBase::OnWndDocPopup", "HWINDOW, HELE"),
    Row<XWnd, &WinBase::WndFloatWndDragSlot>(28694, "&WinBase::OnWndFloatWndDrag", "HWINDOW, HWINDOW*"),
    Row<XWnd, &WinBase::WndPaneShowSlot>(28695, "&WinBase::OnWndPaneShow", "HELE, int"),
};

std::vector<std::string> SplitKinds(const std::string& kinds) {
  std::vector<std::string> parts;
  std::istringstream stream(kinds);
  for (std::string part; std::getline(stream, part, ',');) {
    part.erase(0, part.find_first_not_of(' '));
    parts.push_back(part);
  }
  return parts;
}

class EventTables : public TestWindow {
 protected:
  void SetUp() override {
    TestWindow::SetUp();
    ASSERT_NE(XC_LoadLayoutZip(xcgui_test::kArchive, L"page.xml", xcgui_test::kPassword,
                               reinterpret_cast<HXCGUI>(window_), nullptr),
              nullptr);
    wrappers_.Get<XEleBase>().AttachHandle(XC_GetObjectByName(L"page_main"));
    wrappers_.Get<xcann>().AttachHandle(XC_GetObjectByName(L"btn_face"));
    wrappers_.Get<rg_XuanCaiJinDuTiao>().AttachHandle(XC_GetObjectByName(L"bar"));
    wrappers_.Get<rg_XuanCaiGunDongShiTu>().AttachHandle(XC_GetObjectByName(L"view_extra"));
    wrappers_.Get<rg_XuanCaiBianJiKuang>().AttachHandle(XC_GetObjectByName(L"edit_path"));
    wrappers_.Get<XWnd>().AttachHandle(reinterpret_cast<HXCGUI>(window_));
    RaisedEvents().clear();
  }

  // The handler names of the records registered for `id` on the wrapper's library object.
  std::vector<std::string> RegisteredNames(const rg_xcbase& wrapper, int id) {
    std::vector<std::string> names;
    for (const xc_event* record : vexo::ui_test::RegisteredRecords(wrapper.GetObjectHandle(), id)) {
      names.push_back(record->handler_name);
    }
    return names;
  }

  Wrappers wrappers_;
  XEleBase& element_ = wrappers_.Get<XEleBase>();
  xcann& button_ = wrappers_.Get<xcann>();
  rg_XuanCaiJinDuTiao& progress_bar_ = wrappers_.Get<rg_XuanCaiJinDuTiao>();
  rg_XuanCaiGunDongShiTu& scroll_view_ = wrappers_.Get<rg_XuanCaiGunDongShiTu>();
  rg_XuanCaiBianJiKuang& edit_ = wrappers_.Get<rg_XuanCaiBianJiKuang>();
  XWnd& window_wrapper_ = wrappers_.Get<XWnd>();
  HandlerOwner owner_;
};

TEST_F(EventTables, EveryRowRegistersItsNamedBindingWhichRaisesItsSlotWithItsValues) {
  for (const RowCase& row : kRows) {
    SCOPED_TRACE(std::string(row.wrapper) + " " + row.name);
    RaisedEvents().clear();
    row.bind_recorder(wrappers_, owner_.self);
    row.register_event(wrappers_, row.id);
    rg_xcbase& target = row.target(wrappers_);
    const auto records = vexo::ui_test::RegisteredRecords(target.GetObjectHandle(), row.id);
    ASSERT_EQ(records.size(), 1u);
    EXPECT_STREQ(records[0]->handler_name, row.name);
    EXPECT_EQ(records[0]->mode, 1);
    EXPECT_EQ(records[0]->extra, nullptr);
    EXPECT_EQ(records[0]->binding->GetThis(), &target);

    // Called as the library calls: flag 1, one value in e2, two in e2 and e3, three in e1, e2, e3.
    Samples samples;
    std::string expected;
    const std::vector<std::string> kinds = row.kinds[0] == '\0' ? std::vector<std::string>{} : SplitKinds(row.kinds);
    vint e[3] = {0x0BAD, 0x0BAD, 0x0BAD};
    const int first = kinds.size() == 3 ? 0 : 1;
    for (std::size_t i = 0; i < kinds.size(); ++i) e[first + i] = samples.Word(kinds[i], static_cast<int>(i), expected);
    BOOL handled = FALSE;
    const vint handle = reinterpret_cast<vint>(target.GetObjectHandle());
    const int result = row.window ? records[0]->binding->HandleEvent_cpp_Call(reinterpret_cast<HWINDOW>(handle), 1,
                                                                              e[0], e[1], e[2], &handled)
                                  : records[0]->binding->HandleEvent_cpp_Call(reinterpret_cast<HELE>(handle), 1, e[0],
                                                                              e[1], e[2], &handled);
    EXPECT_EQ(result, 0);
    ASSERT_EQ(RaisedEvents().size(), 1u);
    EXPECT_EQ(RaisedEvents()[0].source, &target);
    EXPECT_EQ(RaisedEvents()[0].owner, &owner_.object);
    EXPECT_EQ(RaisedEvents()[0].handle, static_cast<XCGUIDATA>(handle));
    EXPECT_EQ(RaisedEvents()[0].values, expected);
  }
}

// Ids a class does not know go to its base classes: the edit to the scroll view, then XEleBase; XEleBase
// and WinBase ignore the rest.
TEST_F(EventTables, UnknownIdsFallThroughToTheBaseClassesOrAreIgnored) {
  struct Case {
    const char* what;
    std::function<void(int)> register_event;
    const rg_xcbase& wrapper;
    int id;
    const char* expected;  // null: nothing registered
  };
  auto on = [](auto& wrapper) { return [&wrapper](int id) { wrapper.RegisterEvent(id); }; };
  const Case cases[] = {
      {"element, button click", on(element_), element_, 34, nullptr},
      {"progress bar, button click", on(progress_bar_), progress_bar_, 34, nullptr},
      {"progress bar, its change", on(progress_bar_), progress_bar_, 64, "&rg_XuanCaiJinDuTiao::OnProgressBarChange"},
      {"progress bar, mouse move", on(progress_bar_), progress_bar_, 5, "&XEleBase::OnMouseMove"},
      {"button, mouse move", on(button_), button_, 5, "&XEleBase::OnMouseMove"},
      {"edit, edit set", on(edit_), edit_, 180, "&rg_XuanCaiBianJiKuang::OnEditSet"},
      {"edit, scroll", on(edit_), edit_, 54, "&rg_XuanCaiGunDongShiTu::OnScrollViewScrollH"},
      {"edit, key down", on(edit_), edit_, 39, "&XEleBase::OnEventKeyDown"},
      {"edit, progress change", on(edit_), edit_, 64, nullptr},
      {"scroll view, edit set", on(scroll_view_), scroll_view_, 180, nullptr},
      {"window, element id 34", on(window_wrapper_), window_wrapper_, 34, nullptr},
      {"window, unknown id", on(window_wrapper_), window_wrapper_, 9999, nullptr},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    c.register_event(c.id);
    const std::vector<std::string> names = RegisteredNames(c.wrapper, c.id);
    if (c.expected == nullptr) {
      EXPECT_TRUE(names.empty());
    } else {
      EXPECT_EQ(names, std::vector<std::string>{c.expected});
    }
  }
}

TEST_F(EventTables, UnregisterRemovesTheBindingOfTheSameRowAndWrapperThroughTheBase) {
  xcann other_button;
  other_button.AttachHandle(button_.GetObjectHandle());
  button_.RegisterEvent(5);
  button_.RegisterEvent(34);
  // Another wrapper's removal, and a removal of another row, match nothing.
  other_button.UnregisterEvent(5);
  button_.UnregisterEvent(10);
  EXPECT_EQ(RegisteredNames(button_, 5).size(), 1u);
  button_.UnregisterEvent(5);
  EXPECT_TRUE(RegisteredNames(button_, 5).empty());
  EXPECT_EQ(RegisteredNames(button_, 34).size(), 1u);
  // Every probe was released by the binder; only the click's record is left.
  EXPECT_EQ(vexo::ui::CountBindingsOf(&button_), 1u);
  EXPECT_EQ(vexo::ui::CountBindingsOf(&other_button), 0u);
}

TEST_F(EventTables, RegisterAllRegistersTheSlotsWithALiveHandlerOnEveryClassLevel) {
  HandlerOwner gone;
  vexo::ui_test::BindRecorder(edit_.EditChangedSlot(), owner_.self);
  vexo::ui_test::BindRecorder(edit_.ScrollViewScrollVSlot(), owner_.self);
  vexo::ui_test::BindRecorder(edit_.MouseStaySlot(), owner_.self);
  vexo::ui_test::BindRecorder(edit_.EditSetSlot(), gone.self);
  edit_.EditPosChangedSlot().Bind(nullptr, owner_.self, 0);
  gone.End();
  edit_.RegisterAllEvents();
  EXPECT_EQ(RegisteredNames(edit_, 182), std::vector<std::string>{"&rg_XuanCaiBianJiKuang::OnEditChanged"});
  EXPECT_EQ(RegisteredNames(edit_, 55), std::vector<std::string>{"&rg_XuanCaiGunDongShiTu::OnScrollViewScrollV"});
  EXPECT_EQ(RegisteredNames(edit_, 6), std::vector<std::string>{"&XEleBase::OnMouseStay"});
  EXPECT_TRUE(RegisteredNames(edit_, 180).empty());
  EXPECT_TRUE(RegisteredNames(edit_, 183).empty());
  EXPECT_EQ(vexo::ui::CountBindingsOf(&edit_), 3u);

  vexo::ui_test::BindRecorder(window_wrapper_.WndCloseSlot(), owner_.self);
  window_wrapper_.RegisterAllEvents();
  EXPECT_EQ(RegisteredNames(window_wrapper_, 16), std::vector<std::string>{"&WinBase::OnWndClose"});
  EXPECT_EQ(vexo::ui::CountBindingsOf(&window_wrapper_), 1u);
}

}  // namespace
