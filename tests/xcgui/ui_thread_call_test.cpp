// XC_CallUiThread: runs functions on the UI thread for other threads, also inside modal loops.
#include <gtest/gtest.h>

#include <atomic>
#include <thread>

#include "tests/xcgui/test_support.h"

namespace xcgui_test {
namespace {

std::atomic<DWORD> g_ran_on{0};

vint RecordThreadAndDouble(vint data) {
  g_ran_on = GetCurrentThreadId();
  return data * 2;
}

BOOL CALLBACK FindDialog(HWND hwnd, LPARAM out) {
  wchar_t name[16] = {};
  GetClassNameW(hwnd, name, 16);
  if (std::wstring(name) == L"#32770") *reinterpret_cast<HWND*>(out) = hwnd;
  return TRUE;
}

class UiThreadCall : public LibraryTest {};

TEST_F(UiThreadCall, OnTheUiThreadTheFunctionRunsDirectly) {
  g_ran_on = 0;
  EXPECT_EQ(XC_CallUiThread(&RecordThreadAndDouble, 21), 42);
  EXPECT_EQ(g_ran_on, GetCurrentThreadId());
  EXPECT_EQ(XC_CallUiThread(nullptr, 1), 0);
}

TEST_F(UiThreadCall, AWorkerWaitsForTheBusyUiThreadAndGetsTheResult) {
  g_ran_on = 0;
  std::atomic<bool> returned{false};
  vint result = 0;
  std::thread worker([&] {
    result = XC_CallUiThread(&RecordThreadAndDouble, 1000);
    returned = true;
  });
  // Busy without looking at messages: the worker must still be waiting afterwards.
  Sleep(300);
  EXPECT_FALSE(returned);
  EXPECT_TRUE(PumpUntil([&] { return returned.load(); }));
  worker.join();
  EXPECT_EQ(result, 2000);
  EXPECT_EQ(g_ran_on, GetCurrentThreadId());
}

TEST_F(UiThreadCall, ServedWhileTheUiThreadIsInsideAModalLoop) {
  g_ran_on = 0;
  DWORD ui_thread = GetCurrentThreadId();
  vint result = 0;
  std::thread worker([&] {
    // Wait for the message box, call into the UI thread, then close the box.
    HWND box = nullptr;
    for (int i = 0; i < 300 && !box; ++i) {
      Sleep(20);
      EnumThreadWindows(ui_thread, &FindDialog, reinterpret_cast<LPARAM>(&box));
    }
    result = XC_CallUiThread(&RecordThreadAndDouble, 7);
    PostMessageW(box, WM_COMMAND, IDOK, 0);
  });
  MessageBoxW(nullptr, L"modal loop", L"test", MB_OK);
  worker.join();
  EXPECT_EQ(result, 14);
  EXPECT_EQ(g_ran_on, ui_thread);
}

TEST(UiThreadCallWithoutLibrary, GivesZero) {
  EXPECT_EQ(XC_CallUiThread(&RecordThreadAndDouble, 5), 0);
  vint result = -1;
  std::thread worker([&] { result = XC_CallUiThread(&RecordThreadAndDouble, 5); });
  worker.join();
  EXPECT_EQ(result, 0);
}

}  // namespace
}  // namespace xcgui_test
