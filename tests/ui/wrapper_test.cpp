// The wrapper classes: their class records and identity, the copy rules of the shared handle holder
// (clone, copy, reset, equality), the thin library calls reading the handle at call time, Create, and the
// structure values.
#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

#include "tests/support/handler_owner.h"
#include "tests/ui/slot_recorder.h"
#include "tests/ui/ui_test_support.h"
#include "ui/element_wrappers.h"
#include "ui/image_wrappers.h"
#include "ui/structure_values.h"
#include "ui/window_wrappers.h"
#include "xcgui/src/context.h"
#include "xcgui/src/widget.h"

namespace {

using namespace rg_xc_gui;
using vexo::test::HandlerOwner;

// Every class of the layer with its identity chain, most derived first, up to (not including) CPelObject.
struct ClassCase {
  const ClassInfo& record;
  std::vector<const char*> chain;
};

const ClassCase kClasses[] = {
    {rg_xcbase::StaticClassInfo(), {"rg_xc_gui::rg_xcbase"}},
    {xcguibase::StaticClassInfo(), {"rg_xc_gui::xcguibase", "rg_xc_gui::rg_xcbase"}},
    {widgetUI::StaticClassInfo(), {"rg_xc_gui::widgetUI", "rg_xc_gui::xcguibase", "rg_xc_gui::rg_xcbase"}},
    {XWidget::StaticClassInfo(),
     {"rg_xc_gui::XWidget", "rg_xc_gui::widgetUI", "rg_xc_gui::xcguibase", "rg_xc_gui::rg_xcbase"}},
    {XEleBase::StaticClassInfo(),
     {"rg_xc_gui::XEleBase", "rg_xc_gui::XWidget", "rg_xc_gui::widgetUI", "rg_xc_gui::xcguibase",
      "rg_xc_gui::rg_xcbase"}},
    {rg_JiChuYuanSu::StaticClassInfo(),
     {"rg_xc_gui::rg_JiChuYuanSu", "rg_xc_gui::XEleBase", "rg_xc_gui::XWidget", "rg_xc_gui::widgetUI",
      "rg_xc_gui::xcguibase", "rg_xc_gui::rg_xcbase"}},
    {xcann::StaticClassInfo(),
     {"rg_xc_gui::xcann", "rg_xc_gui::XEleBase", "rg_xc_gui::XWidget", "rg_xc_gui::widgetUI", "rg_xc_gui::xcguibase",
      "rg_xc_gui::rg_xcbase"}},
    {rg_XuanCaiJinDuTiao::StaticClassInfo(),
     {"rg_xc_gui::rg_XuanCaiJinDuTiao", "rg_xc_gui::XEleBase", "rg_xc_gui::XWidget", "rg_xc_gui::widgetUI",
      "rg_xc_gui::xcguibase", "rg_xc_gui::rg_xcbase"}},
    {rg_XuanCaiGunDongShiTu::StaticClassInfo(),
     {"rg_xc_gui::rg_XuanCaiGunDongShiTu", "rg_xc_gui::XEleBase", "rg_xc_gui::XWidget", "rg_xc_gui::widgetUI",
      "rg_xc_gui::xcguibase", "rg_xc_gui::rg_xcbase"}},
    {rg_XuanCaiBianJiKuang::StaticClassInfo(),
     {"rg_xc_gui::rg_XuanCaiBianJiKuang", "rg_xc_gui::rg_XuanCaiGunDongShiTu", "rg_xc_gui::XEleBase",
      "rg_xc_gui::XWidget", "rg_xc_gui::widgetUI", "rg_xc_gui::xcguibase", "rg_xc_gui::rg_xcbase"}},
    {rg_XingZhuangJiLei::StaticClassInfo(),
     {"rg_xc_gui::rg_XingZhuangJiLei", "rg_xc_gui::XWidget", "rg_xc_gui::widgetUI", "rg_xc_gui::xcguibase",
      "rg_xc_gui::rg_xcbase"}},
    {rg_XingZhuangTuPian::StaticClassInfo(),
     {"rg_xc_gui::rg_XingZhuangTuPian", "rg_xc_gui::rg_XingZhuangJiLei", "rg_xc_gui::XWidget", "rg_xc_gui::widgetUI",
      "rg_xc_gui::xcguibase", "rg_xc_gui::rg_xcbase"}},
    {rg_XingZhuangWenBen::StaticClassInfo(),
     {"rg_xc_gui::rg_XingZhuangWenBen", "rg_xc_gui::rg_XingZhuangJiLei", "rg_xc_gui::XWidget", "rg_xc_gui::widgetUI",
      "rg_xc_gui::xcguibase", "rg_xc_gui::rg_xcbase"}},
    {WinBase::StaticClassInfo(),
     {"rg_xc_gui::WinBase", "rg_xc_gui::widgetUI", "rg_xc_gui::xcguibase", "rg_xc_gui::rg_xcbase"}},
    {XWnd::StaticClassInfo(),
     {"rg_xc_gui::XWnd", "rg_xc_gui::WinBase", "rg_xc_gui::widgetUI", "rg_xc_gui::xcguibase", "rg_xc_gui::rg_xcbase"}},
    {rg_guibase::StaticClassInfo(), {"rg_xc_gui::rg_guibase"}},
    {rg_XuanCaiTuPian::StaticClassInfo(), {"rg_xc_gui::rg_XuanCaiTuPian", "rg_xc_gui::rg_guibase"}},
    {rg_XuanCaiHuiTu::StaticClassInfo(), {"rg_xc_gui::rg_XuanCaiHuiTu", "rg_xc_gui::rg_guibase"}},
    {rg_ZuoBiao_xc::StaticClassInfo(), {"rg_xc_gui::rg_ZuoBiao_xc", "rg_Pelor_JiBen::rg_JieGouJiChuLei"}},
    {rg_CheCun_xc::StaticClassInfo(), {"rg_xc_gui::rg_CheCun_xc", "rg_Pelor_JiBen::rg_JieGouJiChuLei"}},
    {rg_CaiChan_DanChuChuangKouJieGou::StaticClassInfo(),
     {"rg_xc_gui::rg_CaiChan_DanChuChuangKouJieGou", "rg_Pelor_JiBen::rg_JieGouJiChuLei"}},
    {rg_CaiChan_HuiZhiBeiJingJieGou::StaticClassInfo(),
     {"rg_xc_gui::rg_CaiChan_HuiZhiBeiJingJieGou", "rg_Pelor_JiBen::rg_JieGouJiChuLei"}},
    {rg_CaiChan_HuiZhiXiangJieGou::StaticClassInfo(),
     {"rg_xc_gui::rg_CaiChan_HuiZhiXiangJieGou", "rg_Pelor_JiBen::rg_JieGouJiChuLei"}},
};

TEST(WrapperClasses, EachRegistersItsNameAndIsAKindOfExactlyItsChain) {
  std::vector<const char*> all;
  for (const ClassCase& c : kClasses) all.push_back(c.chain[0]);
  for (const ClassCase& c : kClasses) {
    SCOPED_TRACE(c.chain[0]);
    EXPECT_STREQ(c.record.name_record.name, c.chain[0]);
    CPelObject* object = c.record.factory();
    EXPECT_TRUE(MatchClassRecord(object->GetClassInfo(), c.record));
    // Records built elsewhere from the names: the chain and CPelObject match, no other class does.
    for (const char* name : all) {
      const bool in_chain = std::find(c.chain.begin(), c.chain.end(), std::string(name)) != c.chain.end();
      EXPECT_EQ(object->IsKindOf(MakeClassInfo(nullptr, name)), in_chain) << name;
    }
    for (const char* name : c.chain) EXPECT_TRUE(object->IsKindOf(MakeClassInfo(nullptr, name))) << name;
    EXPECT_TRUE(object->IsKindOf(CPelObject::StaticClassInfo()));
    object->Release();
  }
}

// The copy rules, for every kind of holder: element and window wrappers (AttachHandle) and the image and
// drawing wrappers (SetHandle).
template <class W>
struct CopyRules : ::testing::Test {
  static void Attach(W& wrapper, XCGUIDATA handle) {
    if constexpr (std::is_base_of_v<rg_xcbase, W>) {
      wrapper.AttachHandle(vexo::ui::HandleCast<HXCGUI>(handle));
    } else {
      wrapper.SetHandle(handle);
    }
  }
  static XCGUIDATA HandleOf(const W& wrapper) {
    if constexpr (std::is_base_of_v<rg_xcbase, W>) {
      return wrapper.GetHandleData();
    } else {
      return wrapper.GetHandle();
    }
  }
};
using Wrappers = ::testing::Types<XEleBase, xcann, rg_XuanCaiBianJiKuang, XWnd, rg_XingZhuangTuPian, rg_XuanCaiTuPian,
                                  rg_XuanCaiHuiTu>;
TYPED_TEST_SUITE(CopyRules, Wrappers);

TYPED_TEST(CopyRules, AFreshWrapperHasItsOwnHolderWithHandleZero) {
  TypeParam first;
  TypeParam second;
  EXPECT_EQ(TestFixture::HandleOf(first), 0u);
  EXPECT_EQ(first.GetHolder().GetRefCount(), 1);
  EXPECT_NE(&first.GetHolder(), &second.GetHolder());
  CPelObject* made = first.CreateInstance();
  EXPECT_EQ(TestFixture::HandleOf(*static_cast<TypeParam*>(made)), 0u);
  made->Release();
}

TYPED_TEST(CopyRules, ClonesShareTheHolderAndAreEqual) {
  TypeParam original;
  original.SetNullObject(true);
  auto* clone = static_cast<TypeParam*>(original.Clone());
  EXPECT_EQ(original.GetHolder().GetRefCount(), 2);
  EXPECT_TRUE(clone->IsNullObject());
  EXPECT_TRUE(original.IsEqual(*clone));
  TestFixture::Attach(*clone, 0x5151);
  EXPECT_EQ(TestFixture::HandleOf(original), 0x5151u);
  TestFixture::Attach(original, 0x6161);
  EXPECT_EQ(TestFixture::HandleOf(*clone), 0x6161u);
  // Same handle through another holder, or another null flag: not equal.
  TypeParam lookalike;
  lookalike.SetNullObject(true);
  TestFixture::Attach(lookalike, 0x6161);
  EXPECT_FALSE(original.IsEqual(lookalike));
  clone->SetNullObject(false);
  EXPECT_FALSE(original.IsEqual(*clone));
  clone->Release();
  EXPECT_EQ(original.GetHolder().GetRefCount(), 1);
}

TYPED_TEST(CopyRules, CopyFromAdoptsTheSourcesHolderAndResetTakesAFreshOne) {
  TypeParam source;
  TestFixture::Attach(source, 0x7171);
  TypeParam target;
  auto* sharer = static_cast<TypeParam*>(target.Clone());
  ASSERT_TRUE(target.CopyFrom(source));
  EXPECT_EQ(TestFixture::HandleOf(target), 0x7171u);
  EXPECT_TRUE(target.IsEqual(source));
  EXPECT_EQ(source.GetHolder().GetRefCount(), 2);
  EXPECT_EQ(sharer->GetHolder().GetRefCount(), 1);  // the target let its old holder go

  target.Reset();
  EXPECT_EQ(TestFixture::HandleOf(target), 0u);
  EXPECT_FALSE(target.IsEqual(source));
  EXPECT_EQ(TestFixture::HandleOf(source), 0x7171u);
  EXPECT_EQ(source.GetHolder().GetRefCount(), 1);
  sharer->Release();
}

TEST(CopyRulesAcrossClasses, CopyFromTakesOnlyAKindOfTheTargetAndChangesNothingOtherwise) {
  xcann button;
  button.AttachHandle(vexo::ui::HandleCast<HXCGUI>(0x11));
  XEleBase element;
  ASSERT_TRUE(element.CopyFrom(button));
  EXPECT_EQ(element.GetHandleData(), 0x11u);
  EXPECT_EQ(button.GetHolder().GetRefCount(), 2);
  EXPECT_FALSE(element.IsEqual(button));  // equality needs the same class

  XEleBase other;
  other.AttachHandle(vexo::ui::HandleCast<HXCGUI>(0x22));
  xcann target;
  target.AttachHandle(vexo::ui::HandleCast<HXCGUI>(0x33));
  rg_XuanCaiTuPian image;
  XWnd window;
  struct Case {
    const char* what;
    const CPelObject& source;
  };
  const Case refused[] = {{"base element", other}, {"image", image}, {"window", window}};
  for (const Case& c : refused) {
    SCOPED_TRACE(c.what);
    EXPECT_FALSE(target.CopyFrom(c.source));
    EXPECT_EQ(target.GetHandleData(), 0x33u);
    EXPECT_EQ(target.GetHolder().GetRefCount(), 1);
  }
  EXPECT_FALSE(image.CopyFrom(button));
}

TEST(CopyRulesAcrossClasses, SlotsAreNeverCopiedAndStayThroughCopyAndReset) {
  HandlerOwner owner;
  xcann button;
  vexo::ui_test::BindRecorder(button.BtnClickSlot(), owner.self);
  auto* clone = static_cast<xcann*>(button.Clone());
  EXPECT_FALSE(clone->BtnClickSlot().HasLiveHandler());
  xcann source;
  ASSERT_TRUE(button.CopyFrom(source));
  EXPECT_TRUE(button.BtnClickSlot().HasLiveHandler());
  button.Reset();
  EXPECT_TRUE(button.BtnClickSlot().HasLiveHandler());
  clone->Release();
  EXPECT_EQ(owner.self->GetRefCount(), 2);  // the owner's own reference and the one slot's
}

class LibraryCalls : public vexo::ui_test::TestWindow {};

// The thin calls read the holder at the time of the call; ending wrappers leaves the library's objects.
TEST_F(LibraryCalls, ReadTheHandleAtEachCallAndEndingWrappersLeavesTheLibrarysObjects) {
  rg_XuanCaiJinDuTiao bar;
  EXPECT_FALSE(bar.SetPos(40));  // handle 0: the library refuses
  {
    auto* sharer = static_cast<rg_XuanCaiJinDuTiao*>(bar.Clone());
    sharer->AttachHandle(XC_GetObjectByName(L"bar"));
    EXPECT_TRUE(bar.SetPos(40));
    sharer->Release();
  }
  EXPECT_EQ(bar.GetPos(), 40);
  {
    XWnd window;
    window.AttachHandle(reinterpret_cast<HXCGUI>(window_));
    EXPECT_TRUE(window.SetTitle(CWString(L"Title")));
    EXPECT_EQ(window.GetHWND(), XWnd_GetHWND(window_));
    rg_XuanCaiBianJiKuang edit;
    edit.AttachHandle(XC_GetObjectByName(L"edit_path"));
    EXPECT_TRUE(edit.SetText(CWString(L"D:\\Vexo\\")));
  }
  // Both wrappers are gone; the window and the edit are not.
  EXPECT_NE(XWnd_GetHWND(window_), nullptr);
  wchar_t text[32] = {};
  EXPECT_EQ(XEdit_GetText(reinterpret_cast<HELE>(XC_GetObjectByName(L"edit_path")), text, 32), 8);
  EXPECT_STREQ(text, L"D:\\Vexo\\");
}

TEST_F(LibraryCalls, CreateStoresTheNewHandleOrZeroAndRegistersNothing) {
  const HXCGUI parent = XC_GetObjectByName(L"page_main");
  rg_JiChuYuanSu element;
  xcann button;
  xcann unnamed;
  rg_XuanCaiGunDongShiTu view;
  rg_XuanCaiBianJiKuang edit;
  struct Case {
    const char* what;
    rg_xcbase& wrapper;
    HELE created;
    const wchar_t* text;  // the library's text of the new element, or null
  };
  const Case cases[] = {
      {"element", element, element.Create(1, 2, 30, 40, parent), nullptr},
      {"button", button, button.Create(1, 2, 30, 40, CWString(L"\x786E\x5B9A"), parent), L"\x786E\x5B9A"},
      {"button without caption", unnamed, unnamed.Create(1, 2, 30, 40, CWString(), parent), L""},
      {"scroll view", view, view.Create(1, 2, 30, 40, parent), nullptr},
      {"edit", edit, edit.Create(1, 2, 30, 40, parent), L""},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    ASSERT_NE(c.created, nullptr);
    EXPECT_EQ(c.wrapper.GetObjectHandle(), reinterpret_cast<HXCGUI>(c.created));
    auto* widget = xcgui::Context::Current()->Find<xcgui::Widget>(c.created);
    ASSERT_NE(widget, nullptr);
    if (c.text != nullptr) {
      EXPECT_EQ(widget->text(), c.text);
    }
    EXPECT_TRUE(vexo::ui_test::RegisteredRecords(c.wrapper.GetObjectHandle(), 34).empty());
  }
  EXPECT_EQ(edit.Create(0, 0, 10, 10, nullptr), nullptr);
  EXPECT_EQ(edit.GetObjectHandle(), nullptr);
}

TEST(StructureValues, HoldACopyOfTheRecordAndCompareByBytes) {
  const std::int32_t words[10] = {1, 2, 3, 4, 5, 6, 7, 8, 9, 10};
  const auto item = rg_CaiChan_HuiZhiXiangJieGou::CopyOf(words);
  EXPECT_NE(static_cast<const void*>(item.Bytes()), static_cast<const void*>(words));
  EXPECT_EQ(item.GetWord(9), 10);
  EXPECT_EQ(item.GetWord(10), 0);
  EXPECT_EQ(item.GetWord(-1), 0);
  const auto background = rg_CaiChan_HuiZhiBeiJingJieGou::CopyOf(words);
  EXPECT_EQ(background.GetWord(2), 3);
  EXPECT_EQ(background.GetWord(3), 0);

  auto point = rg_ZuoBiao_xc::CopyOf(words);
  auto* clone = static_cast<rg_ZuoBiao_xc*>(point.Clone());
  EXPECT_TRUE(point.IsEqual(*clone));
  const std::int32_t other_words[2] = {1, 3};
  EXPECT_FALSE(point.IsEqual(rg_ZuoBiao_xc::CopyOf(other_words)));
  // A size with the same bytes is another class.
  EXPECT_FALSE(point.IsEqual(rg_CheCun_xc::CopyOf(words)));
  EXPECT_FALSE(point.CopyFrom(rg_CheCun_xc::CopyOf(other_words)));
  EXPECT_TRUE(point.CopyFrom(rg_ZuoBiao_xc::CopyOf(other_words)));
  EXPECT_EQ(point.GetWord(1), 3);
  point.Reset();
  EXPECT_EQ(point.GetWord(0), 0);
  EXPECT_EQ(rg_ZuoBiao_xc::CopyOf(nullptr).GetWord(1), 0);
  clone->Release();
}

}  // namespace
