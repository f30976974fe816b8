// The application host: display scale rule, start-up state, and the start guard seen from outside the
// process (message box, exit code) through a helper program.
#include <gtest/gtest.h>

#include <string>

#include "runtime/app_instance.h"
#include "runtime/display_scale.h"
#include "runtime/start_guard.h"
#include "tests/runtime/child_process.h"

namespace {

using testing_support::ChildOutcome;
using testing_support::RunChildAnsweringBoxes;

constexpr DWORD kExitMinusOne = 0xFFFFFFFFu;
constexpr wchar_t kCaption[] = L"运行时异常";

ChildOutcome RunHostChild(const std::wstring& arguments) {
  return RunChildAnsweringBoxes(testing_support::SiblingPath(L"runtime_host_child.exe"), arguments);
}

TEST(DisplayScale, IsTheVerticalDpiOver96ButNeverBelowOne) {
  const struct {
    unsigned monitor_dpi;
    int device_dpi;
    double scale;
  } cases[] = {
      {144, 0, 1.5}, {72, 0, 1.0},  {96, 0, 1.0},    {192, 72, 2.0},
      {0, 144, 1.5}, {0, 72, 1.0},  {0, 120, 1.25},  {0, 0, 1.0},
  };
  for (const auto& c : cases) {
    EXPECT_DOUBLE_EQ(vexo::DisplayScaleFromDpi(c.monitor_dpi, c.device_dpi), c.scale)
        << c.monitor_dpi << " / " << c.device_dpi;
  }
}

TEST(AppInstance, StartsWithScaleOneAndNoStartupValues) {
  const CPelAppInstance& instance = vexo::TheAppInstance();
  EXPECT_EQ(instance.GetDisplayScale(), 1.0);
  EXPECT_EQ(instance.GetUserApp(), nullptr);
  EXPECT_EQ(instance.GetArgv(), nullptr);
  EXPECT_FALSE(instance.IsComInitialized());
}

TEST(StartGuard, DescribesACaughtExceptionWithItsCodeAndDescription) {
  const CWString text = vexo::DescribeCaughtException(CPelException(-7, L"文件 \"a%sb\" 不存在"));
  EXPECT_STREQ(text.GetText(), L"俘获到异常,代码值为: -7, 描述为: 文件 \"a%sb\" 不存在");
}

TEST(HostProcess, StartUpStoresArgumentsInitialisesComAndRegistersTheUserApplication) {
  ChildOutcome outcome = RunHostChild(L"report \"second argument\"");
  ASSERT_TRUE(outcome.started);
  EXPECT_FALSE(outcome.timed_out);
  EXPECT_EQ(outcome.exit_code, 0x5Au) << std::hex << outcome.exit_code;
  EXPECT_TRUE(outcome.boxes.empty());
}

TEST(HostProcess, EscapingExceptionShowsOneBoxAndExitsWithMinusOne) {
  const struct {
    const wchar_t* mode;
    const wchar_t* text;
  } cases[] = {
      {L"throw-pel", L"俘获到异常,代码值为: 42, 描述为: 磁盘 \"C:\\\" 已满 100%s"},
      {L"throw-std", L"程序在运行时抛出了未被管理的异常"},
      {L"throw-int", L"程序在运行时抛出了未被管理的异常"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(testing::Message() << "mode " << std::string(c.mode, c.mode + wcslen(c.mode)));
    ChildOutcome outcome = RunHostChild(c.mode);
    ASSERT_TRUE(outcome.started);
    EXPECT_FALSE(outcome.timed_out);
    EXPECT_EQ(outcome.exit_code, kExitMinusOne);
    ASSERT_EQ(outcome.boxes.size(), 1u);
    EXPECT_EQ(outcome.boxes[0].caption, kCaption);
    EXPECT_EQ(outcome.boxes[0].text, c.text);
    EXPECT_NE(outcome.boxes[0].icon, nullptr);
  }
}

TEST(HostProcess, FatalConditionsExitWithMinusOneAndNoMessage) {
  for (const wchar_t* mode : {L"not-user-app", L"alloc-fails", L"realloc-fails", L"new-fails"}) {
    SCOPED_TRACE(testing::Message() << "mode " << std::string(mode, mode + wcslen(mode)));
    ChildOutcome outcome = RunHostChild(mode);
    ASSERT_TRUE(outcome.started);
    EXPECT_FALSE(outcome.timed_out);
    EXPECT_EQ(outcome.exit_code, kExitMinusOne);
    EXPECT_TRUE(outcome.boxes.empty());
  }
}

}  // namespace
