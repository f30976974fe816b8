#include "tests/xcgui/test_support.h"

#include <map>

namespace xcgui_test {
namespace {

std::map<int, int>& Releases() {
  static std::map<int, int> releases;
  return releases;
}
int g_next_serial = 0;

}  // namespace

int TestBinding::Equals(bind_event_cpp* other) {
  int size = 0;
  auto* pair = static_cast<int*>(other->GetMemberFunction(&size));
  return other->GetThis() == target_ && size == 8 && pair[0] == member_[0] && pair[1] == member_[1];
}

int TestBinding::HandleEvent_cpp_Call(HELE element, vint flag, vint e1, vint e2, vint e3, BOOL* handled) {
  calls.push_back({reinterpret_cast<vint>(element), flag, e1, e2, e3, false});
  if (handler_) handler_(calls.back(), handled);
  return 0;
}

int TestBinding::HandleEvent_cpp_Call(HWINDOW window, vint flag, vint e1, vint e2, vint e3, BOOL* handled) {
  calls.push_back({reinterpret_cast<vint>(window), flag, e1, e2, e3, true});
  if (handler_) handler_(calls.back(), handled);
  return 0;
}

TestRecord* TestRecord::Make(int mode, void* target, int member, TestBinding::Handler handler) {
  auto* record = new TestRecord();
  record->mode = mode;
  record->binding = new TestBinding(target, member, std::move(handler));
  record->extra = nullptr;
  record->handler_name[0] = '\0';
  record->serial_ = ++g_next_serial;
  return record;
}

void TestRecord::xc_event_free() {
  ++Releases()[serial_];
  delete static_cast<TestBinding*>(binding);
  delete this;
}

int ReleaseCount(int serial) {
  auto it = Releases().find(serial);
  return it == Releases().end() ? 0 : it->second;
}

HWINDOW LibraryTest::LoadMainWindow() {
  EXPECT_TRUE(XC_LoadResourceZip(kArchive, L"resource.res", kPassword));
  auto window = reinterpret_cast<HWINDOW>(XC_LoadLayoutZip(kArchive, L"main.xml", kPassword, nullptr, nullptr));
  EXPECT_NE(window, nullptr);
  return window;
}

void SendTab(HWND hwnd, bool backward) {
  BYTE keys[256];
  GetKeyboardState(keys);
  BYTE shift = keys[VK_SHIFT];
  keys[VK_SHIFT] = backward ? 0x80 : 0;
  SetKeyboardState(keys);
  SendMessageW(hwnd, WM_KEYDOWN, VK_TAB, 0);
  keys[VK_SHIFT] = shift;
  SetKeyboardState(keys);
}

void PumpMessages(int milliseconds) {
  DWORD end = GetTickCount() + milliseconds;
  do {
    MSG msg;
    while (PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) {
      TranslateMessage(&msg);
      DispatchMessageW(&msg);
    }
    MsgWaitForMultipleObjects(0, nullptr, FALSE, 10, QS_ALLINPUT);
  } while (static_cast<int>(end - GetTickCount()) > 0);
}

bool PumpUntil(const std::function<bool()>& done, int timeout_ms) {
  DWORD end = GetTickCount() + timeout_ms;
  while (!done()) {
    if (static_cast<int>(end - GetTickCount()) <= 0) return done();
    PumpMessages(20);
  }
  return true;
}

}  // namespace xcgui_test
