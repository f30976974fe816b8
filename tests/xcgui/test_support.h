// Shared pieces of the UI library's tests: event records that count their releases, a library session
// per test, the test archive and message pumping.
#pragma once

#include <windows.h>

#include <gtest/gtest.h>

#include <functional>
#include <string>
#include <vector>

#include "xcgui/xcgui.h"

namespace xcgui_test {

// The encrypted test archive and its password.
inline const wchar_t* const kArchive = XCGUI_TEST_ARCHIVE;
inline const wchar_t* const kPassword = XCGUI_TEST_PASSWORD;

// One call the library made on a binding.
struct EventCall {
  vint handle;
  vint flag;
  vint e1;
  vint e2;
  vint e3;
  bool window_form;
};

// A binding for tests: records its calls and runs an optional handler, which may set the handled flag.
class TestBinding final : public bind_event_cpp {
 public:
  using Handler = std::function<void(const EventCall&, BOOL* handled)>;
  TestBinding(void* target, int member, Handler handler = nullptr)
      : target_(target), member_{member, 0}, handler_(std::move(handler)) {}

  int Equals(bind_event_cpp* other) override;
  void* GetThis() override { return target_; }
  void* GetMemberFunction(int* size) override {
    *size = 8;
    return member_;
  }
  int HandleEvent_cpp_Call(HELE element, vint flag, vint e1, vint e2, vint e3, BOOL* handled) override;
  int HandleEvent_cpp_Call(HWINDOW window, vint flag, vint e1, vint e2, vint e3, BOOL* handled) override;

  std::vector<EventCall> calls;

 private:
  void* target_;
  int member_[2];
  Handler handler_;
};

// An event record whose release is counted by serial number (see ReleaseCount).
class TestRecord final : public xc_event {
 public:
  // A new record owning a new binding for (target, member); the caller or the library owns it.
  static TestRecord* Make(int mode, void* target, int member, TestBinding::Handler handler = nullptr);
  void xc_event_free() override;
  TestBinding* test_binding() const { return static_cast<TestBinding*>(binding); }
  int serial() const { return serial_; }

 private:
  TestRecord() = default;
  int serial_ = 0;
};

// How often the record with this serial number has been released.
int ReleaseCount(int serial);

// A library session for each test: XInitXCGUI before, XExitXCGUI after.
class LibraryTest : public ::testing::Test {
 protected:
  void SetUp() override { ASSERT_TRUE(XInitXCGUI(FALSE)); }
  void TearDown() override { XExitXCGUI(); }

  // The test archive's main window with its resource pack loaded; fails the test when it cannot.
  HWINDOW LoadMainWindow();
};

// Sends the window a Tab key press, with Shift held (as this thread's key state) when `backward`.
void SendTab(HWND hwnd, bool backward = false);

// Dispatches this thread's messages for `milliseconds`.
void PumpMessages(int milliseconds);
// Dispatches messages until `done` is true or `timeout_ms` passed; the final value of `done`.
bool PumpUntil(const std::function<bool()>& done, int timeout_ms = 3000);

}  // namespace xcgui_test
