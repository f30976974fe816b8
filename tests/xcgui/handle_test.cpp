// Handle checking: 0, unknown, destroyed and wrong-kind handles, and calls from other threads, are refused
// with 0/FALSE and change nothing.
#include <gtest/gtest.h>

#include <functional>
#include <thread>

#include "tests/xcgui/test_support.h"

namespace xcgui_test {
namespace {

// Every call of the interface that takes a handle, with the handle given as a raw value.
struct HandleCall {
  const char* name;
  std::function<vint(void*)> call;
};

std::vector<HandleCall> AllHandleCalls(HIMAGE image) {
  auto W = [](void* h) { return static_cast<HWINDOW>(h); };
  auto E = [](void* h) { return static_cast<HELE>(h); };
  auto X = [](void* h) { return static_cast<HXCGUI>(h); };
  return {
      {"XWnd_Show", [=](void* h) { return XWnd_Show(W(h), TRUE); }},
      {"XWnd_EnableMaxWindow", [=](void* h) { return XWnd_EnableMaxWindow(W(h), FALSE); }},
      {"XWnd_EnableDragWindow", [=](void* h) { return XWnd_EnableDragWindow(W(h), TRUE); }},
      {"XWnd_EnablemLimitWindowSize", [=](void* h) { return XWnd_EnablemLimitWindowSize(W(h), TRUE); }},
      {"XWnd_SetTitle", [=](void* h) { return XWnd_SetTitle(W(h), L"t"); }},
      {"XWnd_GetHWND", [=](void* h) { return reinterpret_cast<vint>(XWnd_GetHWND(W(h))); }},
      {"XWnd_AdjustLayout", [=](void* h) { return XWnd_AdjustLayout(W(h)); }},
      {"XWnd_Redraw", [=](void* h) { return XWnd_Redraw(W(h), FALSE); }},
      {"XWnd_CloseWindow", [=](void* h) { return XWnd_CloseWindow(W(h)); }},
      {"XWidget_Show", [=](void* h) { return XWidget_Show(X(h), FALSE); }},
      {"XWidget_IsShow", [=](void* h) { return XWidget_IsShow(X(h)); }},
      {"XWidget_GetRect", [=](void* h) {
         RECT rect;
         return XWidget_GetRect(X(h), &rect);
       }},
      {"XEle_SetPosition", [=](void* h) { return XEle_SetPosition(E(h), 0, 255, TRUE, 2, 0); }},
      {"XEle_EnableDrawBorder", [=](void* h) { return XEle_EnableDrawBorder(E(h), FALSE); }},
      {"XEle_EnableBkTransparent", [=](void* h) { return XEle_EnableBkTransparent(E(h), TRUE); }},
      {"XEle_EnableDrawFocus", [=](void* h) { return XEle_EnableDrawFocus(E(h), FALSE); }},
      {"XEle_AddBkImage", [=](void* h) { return XEle_AddBkImage(E(h), 16, image); }},
      {"XEle_Redraw", [=](void* h) { return XEle_Redraw(E(h), FALSE); }},
      {"XEle_GetStateFlags", [=](void* h) { return XEle_GetStateFlags(E(h)); }},
      {"XEle_IsEnable", [=](void* h) { return XEle_IsEnable(E(h)); }},
      {"XEle_DrawEle", [=](void* h) { return XEle_DrawEle(E(h), reinterpret_cast<HDRAW>(h)); }},
      {"XEle_Create", [=](void* h) { return reinterpret_cast<vint>(XEle_Create(0, 0, 10, 10, X(h))); }},
      {"XBtn_Create", [=](void* h) { return reinterpret_cast<vint>(XBtn_Create(0, 0, 10, 10, L"b", X(h))); }},
      {"XEdit_Create", [=](void* h) { return reinterpret_cast<vint>(XEdit_Create(0, 0, 10, 10, X(h))); }},
      {"XSView_Create", [=](void* h) { return reinterpret_cast<vint>(XSView_Create(0, 0, 10, 10, X(h))); }},
      {"XEdit_SetText", [=](void* h) { return XEdit_SetText(E(h), L"x"); }},
      {"XEdit_GetText", [=](void* h) { return XEdit_GetText(E(h), nullptr, 0) + 1; }},
      {"XProgBar_SetPos", [=](void* h) { return XProgBar_SetPos(E(h), 50); }},
      {"XProgBar_GetPos", [=](void* h) { return XProgBar_GetPos(E(h)); }},
      {"XShapePic_SetImage", [=](void* h) { return XShapePic_SetImage(X(h), image); }},
      {"XShapeText_SetText", [=](void* h) { return XShapeText_SetText(X(h), L"x"); }},
      {"XC_LoadLayoutZip", [=](void* h) {
         return reinterpret_cast<vint>(XC_LoadLayoutZip(kArchive, L"page.xml", kPassword, X(h), nullptr));
       }},
      {"_XEle_RegEvent", [=](void* h) {
         auto* record = TestRecord::Make(1, nullptr, 1);
         BOOL kept = _XEle_RegEvent(E(h), XE_BNCLICK, record);
         if (!kept) record->xc_event_free();
         return static_cast<vint>(kept);
       }},
      {"_XWnd_RegEvent", [=](void* h) {
         auto* record = TestRecord::Make(1, nullptr, 1);
         BOOL kept = _XWnd_RegEvent(W(h), XWM_CLOSE, record);
         if (!kept) record->xc_event_free();
         return static_cast<vint>(kept);
       }},
  };
}

class Handles : public LibraryTest {};

TEST_F(Handles, ZeroUnknownAndDestroyedHandlesAreRefusedEverywhere) {
  HWINDOW window = LoadMainWindow();
  HXCGUI button = XC_GetObjectByName(L"btn_face");
  ASSERT_TRUE(XWnd_CloseWindow(window));  // the window, its elements and shapes are gone now
  HIMAGE image = XImage_LoadMemory("x", 1);
  for (void* bad : {static_cast<void*>(nullptr), reinterpret_cast<void*>(0x7654321), static_cast<void*>(window),
                    static_cast<void*>(button)}) {
    for (const HandleCall& c : AllHandleCalls(image)) EXPECT_EQ(c.call(bad), 0) << c.name << " " << bad;
  }
}

TEST_F(Handles, HandlesOfTheWrongKindAreRefused) {
  HWINDOW window = LoadMainWindow();
  HXCGUI button = XC_GetObjectByName(L"btn_face");
  HXCGUI picture = XC_GetObjectByName(L"banner_pic");
  HXCGUI bar = XC_GetObjectByName(L"bar");
  HXCGUI edit = XC_GetObjectByName(L"edit_path");
  ASSERT_TRUE(button && picture && bar && edit);
  // Window calls with an element, element calls with a window, typed calls with another element type.
  EXPECT_FALSE(XWnd_Show(reinterpret_cast<HWINDOW>(button), TRUE));
  EXPECT_FALSE(XWnd_GetHWND(reinterpret_cast<HWINDOW>(picture)));
  EXPECT_FALSE(XEle_Redraw(reinterpret_cast<HELE>(window), FALSE));
  EXPECT_FALSE(XEle_SetPosition(reinterpret_cast<HELE>(picture), 1, 1, FALSE, 0, 0));  // a shape is no element
  EXPECT_FALSE(XProgBar_SetPos(reinterpret_cast<HELE>(button), 5));
  EXPECT_EQ(XProgBar_GetPos(reinterpret_cast<HELE>(edit)), 0);
  EXPECT_FALSE(XEdit_SetText(reinterpret_cast<HELE>(bar), L"x"));
  EXPECT_FALSE(XShapePic_SetImage(button, nullptr));
  EXPECT_FALSE(XEle_AddBkImage(reinterpret_cast<HELE>(button), 16, reinterpret_cast<HIMAGE>(picture)));
  EXPECT_FALSE(XShapePic_SetImage(picture, reinterpret_cast<HIMAGE>(button)));
  EXPECT_FALSE(XShapeText_SetText(picture, L"x"));
  EXPECT_FALSE(XShapeText_SetText(button, L"x"));
  EXPECT_TRUE(XShapeText_SetText(XC_GetObjectByName(L"title_text"), L"x"));
  EXPECT_TRUE(XShapeText_SetText(XC_GetObjectByName(L"title_text"), nullptr));
  // Nothing was changed by the refused calls.
  EXPECT_EQ(XProgBar_GetPos(reinterpret_cast<HELE>(bar)), 0);
  // Shapes are widgets: show and hide work on them.
  EXPECT_TRUE(XWidget_Show(picture, FALSE));
  EXPECT_FALSE(XWidget_IsShow(picture));
}

TEST_F(Handles, CallsFromAnotherThreadAreRefused) {
  HWINDOW window = LoadMainWindow();
  HXCGUI bar = XC_GetObjectByName(L"bar");
  HIMAGE image = XImage_LoadMemory("x", 1);
  std::vector<std::string> accepted;
  std::thread worker([&] {
    for (const HandleCall& c : AllHandleCalls(image)) {
      if (c.call(window) != 0 || c.call(bar) != 0) accepted.push_back(c.name);
    }
    if (XC_LoadResourceZip(kArchive, L"resource.res", kPassword)) accepted.push_back("XC_LoadResourceZip");
    if (XC_GetObjectByName(L"bar")) accepted.push_back("XC_GetObjectByName");
    if (XInitXCGUI(FALSE)) accepted.push_back("XInitXCGUI");
    XExitXCGUI();
  });
  worker.join();
  EXPECT_TRUE(accepted.empty()) << accepted.front();
  EXPECT_NE(XWnd_GetHWND(window), nullptr);  // XExitXCGUI from the worker did nothing
  EXPECT_EQ(XProgBar_GetPos(reinterpret_cast<HELE>(bar)), 0);
}

TEST(HandlesWithoutLibrary, EveryCallIsRefusedBeforeInitAndAfterExit) {
  for (const HandleCall& c : AllHandleCalls(nullptr)) EXPECT_EQ(c.call(reinterpret_cast<void*>(0x10004)), 0) << c.name;
  EXPECT_FALSE(XC_LoadResourceZip(kArchive, L"resource.res", kPassword));
  EXPECT_EQ(XImage_LoadMemory("abc", 3), nullptr);
  XRunXCGUI();  // returns at once
  XExitXCGUI();
  ASSERT_TRUE(XInitXCGUI(FALSE));
  EXPECT_FALSE(XInitXCGUI(FALSE));  // already running
  XExitXCGUI();
  EXPECT_EQ(XC_GetObjectByName(L"bar"), nullptr);
}

}  // namespace
}  // namespace xcgui_test
