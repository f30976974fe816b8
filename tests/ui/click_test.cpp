// A real click on a button of a real window reaches the handler bound to the button wrapper's click slot.
#include <gtest/gtest.h>

#include <vector>

#include "tests/support/handler_owner.h"
#include "tests/ui/ui_test_support.h"
#include "tests/xcgui/screen.h"
#include "ui/element_wrappers.h"

namespace {

using rg_Pelor_JiBen::rg_LuoJiXingLei;
using vexo::test::HandlerOwner;

struct Click {
  CPelObject* owner;
  CPelObject* source;
  std::uint32_t user_value;
  XCGUIDATA element;
};
std::vector<Click> clicks;

std::int32_t RecordClick(CPelObject* owner, CPelObject* source, std::uint32_t user_value, XCGUIDATA element,
                         rg_LuoJiXingLei*) {
  clicks.push_back({owner, source, user_value, element});
  return 0;
}

class RealClick : public vexo::ui_test::ShownWindowTest {};

TEST_F(RealClick, ReachesTheBoundHandlerOnceWithTheWrapperAndTheButton) {
  clicks.clear();
  HandlerOwner owner;
  rg_xc_gui::xcann button;
  button.BtnClickSlot().Bind(&RecordClick, owner.self, 7);
  const HXCGUI element = XC_GetObjectByName(L"btn_face");
  button.AttachHandle(element);
  button.RegisterEvent(34);

  ClickAt(CenterOf(L"btn_face"));
  EXPECT_TRUE(xcgui_test::PumpUntil([] { return !clicks.empty(); }));
  xcgui_test::PumpMessages(300);
  ASSERT_EQ(clicks.size(), 1u);
  EXPECT_EQ(clicks[0].owner, &owner.object);
  EXPECT_EQ(clicks[0].source, &button);
  EXPECT_EQ(clicks[0].user_value, 7u);
  EXPECT_EQ(clicks[0].element, vexo::ui::HandleData(element));
}

}  // namespace
