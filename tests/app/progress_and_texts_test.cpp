// The installer's small rules: the progress bar's whole percentage, the install folder taken from the
// folder dialog, the path field's text and the words shown for each failure.
#include <gtest/gtest.h>

#include <cmath>
#include <cstdint>
#include <limits>
#include <string>

#include "app/install_outcome.h"
#include "app/installer_state.h"
#include "app/progress_percent.h"
#include "app/user_actions.h"

namespace {

using vexo::app::ProgressPercent;

TEST(ProgressPercent, TruncatesTheRoundedPercentage) {
  struct Case {
    std::int64_t total;
    std::int64_t downloaded;
    int expected;
  };
  const Case cases[] = {
      {10000, 5678, 56},                       // 56.78 is cut, not rounded
      {100000000, 5, 0},                       // 0.000005 %
      {20000, 1, 0},                           // 0.005 %
      {3, 1, 33},                              // 33.333...
      {3, 2, 66},                              // 66.666... is cut to 66
      {1000, 1000, 100},
      {10000000000000000, 9999999999999999, 100},  // 99.99999999999999 rounds to 100 at 15 digits
      {0, 0, 0},                               // unknown total: 0 ÷ 0
      {0, 12345, 0},                           // unknown total: infinite
      {100, 250, 100},                         // more than announced stays a full bar
      {100, -5, 0},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(std::to_string(c.downloaded) + " of " + std::to_string(c.total));
    EXPECT_EQ(ProgressPercent(c.total, c.downloaded), c.expected);
  }
}

TEST(InstallFolderChoice, AddsABackslashOnlyWhenMissing) {
  const struct {
    const wchar_t* chosen;
    const wchar_t* expected;
  } cases[] = {
      {L"D:\\Apps", L"D:\\Apps\\"},
      {L"D:\\", L"D:\\"},
      {L"C:\\Users\\用户\\程序", L"C:\\Users\\用户\\程序\\"},
  };
  for (const auto& c : cases) {
    EXPECT_STREQ(rg_Pelor_ChengXu::ChosenInstallFolder(CWString(c.chosen)).GetText(), c.expected);
  }
}

TEST(InstallFolderChoice, PathFieldShowsThePrefixRightBeforeTheFolder) {
  EXPECT_STREQ(rg_Pelor_ChengXu::PathFieldText(CWString(L"D:\\Apps\\")).GetText(), L"固定目录:D:\\Apps\\");
}

TEST(FailureWords, EveryFailureHasItsOwnSentenceAndTheStatusIsShown) {
  using vexo::app::InstallFailure;
  vexo::app::InstallOutcome outcome;
  EXPECT_TRUE(vexo::app::DescribeOutcome(outcome).IsEmpty());
  std::wstring seen;
  for (int f = static_cast<int>(InstallFailure::kNoConnection); f <= static_cast<int>(InstallFailure::kNoWorker);
       ++f) {
    outcome.failure = static_cast<InstallFailure>(f);
    outcome.http_status = 404;
    const std::wstring text = vexo::app::DescribeOutcome(outcome).GetText();
    EXPECT_FALSE(text.empty()) << f;
    EXPECT_EQ(seen.find(text), std::wstring::npos) << "shared by two failures: " << f;
    seen += text + L"\n";
    EXPECT_STRNE(vexo::app::FailureName(outcome.failure), L"none");
  }
  outcome.failure = InstallFailure::kHttpStatus;
  outcome.http_status = 503;
  EXPECT_NE(std::wstring(vexo::app::DescribeOutcome(outcome).GetText()).find(L"HTTP 503"), std::wstring::npos);
}

}  // namespace
