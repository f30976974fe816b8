// The rules of a running download seen in isolation: reading an answer's headers, the decision whether
// a Range answer joins the bytes held, and the status line with its smoothed speed and time left.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "app/download_meter.h"
#include "app/install_outcome.h"
#include "app/phases/resume.h"

namespace {

using vexo::app::AnswerHeaders;
using vexo::app::ResumeStep;

rg_Pelor_JiBen::rg_WenBenShuZuLei Lines(const std::vector<const wchar_t*>& lines) {
  rg_Pelor_JiBen::rg_WenBenShuZuLei array;
  for (const wchar_t* line : lines) array.Add(line);
  return array;
}

TEST(AnswerHeaders, TheLastAnswerOfARedirectChainCounts) {
  const AnswerHeaders answer = vexo::app::ParseLastAnswer(Lines({
      L"HTTP/1.1 302 Found\r\n", L"Content-Length: 12\r\n", L"Content-Range: bytes 0-9/10\r\n", L"\r\n",
      L"HTTP/1.1 206 Partial Content\r\n", L"content-range:  bytes 400-999/1000\r\n", L"CONTENT-LENGTH: 600\r\n",
      L"\r\n"}));
  EXPECT_EQ(answer.status, 206);
  EXPECT_EQ(answer.content_length, 600);
  EXPECT_EQ(answer.range_start, 400);
  EXPECT_EQ(answer.range_total, 1000);

  const AnswerHeaders plain = vexo::app::ParseLastAnswer(Lines({
      L"HTTP/1.1 206 Partial Content\r\n", L"Content-Range: bytes 5-9/10\r\n", L"\r\n",
      L"HTTP/1.1 200 OK\r\n", L"\r\n"}));
  EXPECT_EQ(plain.status, 200);
  EXPECT_EQ(plain.content_length, -1) << "nothing of the earlier answer is kept";
  EXPECT_EQ(plain.range_start, -1);
}

TEST(AnswerHeaders, MalformedRangesAndLengthsCountAsMissing) {
  for (const wchar_t* range : {L"Content-Range: bytes */1000\r\n", L"Content-Range: bytes 400-999/*\r\n",
                               L"Content-Range: items 400-999/1000\r\n", L"Content-Range: bytes 999-400/1000\r\n",
                               L"Content-Range: bytes 400-999/999\r\n",
                               L"Content-Range: bytes 99999999999999999999-1/2\r\n"}) {
    const AnswerHeaders answer = vexo::app::ParseLastAnswer(Lines({L"HTTP/1.1 206 Partial\r\n", range}));
    EXPECT_EQ(answer.range_start, -1) << range;
    EXPECT_EQ(answer.range_total, -1) << range;
  }
  EXPECT_EQ(vexo::app::ParseLastAnswer(Lines({L"HTTP/1.1 200 OK\r\n", L"Content-Length: lots\r\n"})).content_length,
            -1);
}

TEST(ResumeDecision, OnlyAnExactContinuationJoins) {
  const struct {
    AnswerHeaders answer;
    ResumeStep step;
  } cases[] = {
      {{206, 600, 400, 1000}, ResumeStep::kAppend},
      {{206, 599, 401, 1000}, ResumeStep::kRestart},  // starts one byte late
      {{206, 600, 399, 1000}, ResumeStep::kRestart},  // starts one byte early
      {{206, 600, 400, 1001}, ResumeStep::kRestart},  // another package
      {{206, 600, -1, -1}, ResumeStep::kRestart},     // no Content-Range
      {{200, 1000, -1, -1}, ResumeStep::kReplace},    // the server ignored the range
      {{416, 0, -1, 1000}, ResumeStep::kRestart},
      {{0, -1, -1, -1}, ResumeStep::kRestart},        // nothing arrived
  };
  for (const auto& c : cases) {
    EXPECT_EQ(vexo::app::DecideResume(400, 1000, c.answer), c.step)
        << c.answer.status << " " << c.answer.range_start << "/" << c.answer.range_total;
  }
}

std::wstring Shown(const vexo::app::DownloadMeter& meter) { return meter.Text().GetText(); }

TEST(DownloadMeter, ShowsAmountsThenSpeedAndTimeLeft) {
  constexpr std::int64_t kMb = 1024 * 1024;
  vexo::app::DownloadMeter meter;
  EXPECT_TRUE(meter.Report(69 * kMb, 0, 1000));
  EXPECT_EQ(Shown(meter), L"0 KB / 69.0 MB") << "no speed before a sample";
  // 8 MB/s for two seconds, reported every 50 ms.
  int refreshes = 0;
  for (std::uint32_t t = 1050; t <= 3000; t += 50) {
    refreshes += meter.Report(69 * kMb, static_cast<std::int64_t>(t - 1000) * 8 * kMb / 1000, t) ? 1 : 0;
  }
  EXPECT_LE(refreshes, 8) << "a few refreshes a second at most";
  EXPECT_GE(refreshes, 6);
  EXPECT_EQ(Shown(meter), L"16.0 MB / 69.0 MB · 8.0 MB/s · 剩余 7 秒");
}

TEST(DownloadMeter, SmoothsBurstsAndStartsAgainWhenTheDownloadDoes) {
  constexpr std::int64_t kMb = 1024 * 1024;
  vexo::app::DownloadMeter meter;
  meter.Report(0, 0, 0);
  std::int64_t received = 0;
  for (std::uint32_t t = 500; t <= 5000; t += 500) {
    received += (t / 500) % 2 == 0 ? 2 * kMb : 0;  // bursts of 2 MB every second: 2 MB/s on average
    meter.Report(0, received, t);
    if (t >= 2500) {
      EXPECT_GT(meter.speed(), 1.0 * kMb) << t;
      EXPECT_LT(meter.speed(), 3.0 * kMb) << t;
    }
  }
  EXPECT_EQ(Shown(meter).find(L"剩余"), std::wstring::npos) << "no time left without a total";
  EXPECT_EQ(Shown(meter).find(L" / "), std::wstring::npos);
  EXPECT_TRUE(meter.Report(0, 1000, 5100)) << "fewer bytes: the download started over";
  EXPECT_EQ(meter.speed(), 0);
}

TEST(DownloadMeter, LongTimesLeftReadInMinutesAndHours) {
  constexpr std::int64_t kMb = 1024 * 1024;
  vexo::app::DownloadMeter meter;
  meter.Report(3000 * kMb, 0, 0);
  meter.Report(3000 * kMb, kMb / 2, 1000);  // 0.5 MB/s for 3000 MB: about 100 minutes
  EXPECT_NE(Shown(meter).find(L"剩余 1 小时 39 分"), std::wstring::npos) << std::string(Shown(meter).begin(), Shown(meter).end());
}

TEST(FailureWords, NoRoomSaysHowMuchIsNeededAndFree) {
  vexo::app::InstallOutcome outcome;
  outcome.failure = vexo::app::InstallFailure::kDiskSpace;
  outcome.needed_bytes = 300LL * 1024 * 1024;
  outcome.free_bytes = 12LL * 1024 * 1024 + 300 * 1024;
  const std::wstring text = vexo::app::DescribeOutcome(outcome).GetText();
  EXPECT_NE(text.find(L"需要 300.0 MB"), std::wstring::npos);
  EXPECT_NE(text.find(L"可用 12.3 MB"), std::wstring::npos);
}

}  // namespace
