// Which progress reports reach the owner thread: at most one per interval, but never the last one lost.
#include "net/progress_throttle.h"

#include <gtest/gtest.h>

#include <cstdint>

namespace vexo::net {
namespace {

constexpr std::uint32_t kInterval = ProgressThrottle::kIntervalMs;

TEST(ProgressThrottle, PassesTheFirstReportThenOnePerIntervalAndEveryCompletion) {
  struct Step {
    ProgressCounts counts;
    std::uint32_t now_ms;
    bool passes;
  };
  const Step steps[] = {
      {{0, 0, 0, 0}, 1000, true},                           // first report of the transfer
      {{0, 0, 0, 0}, 1001, false},                          // same counts, within the interval
      {{100, 10, 0, 0}, 1010, false},                       // new counts, within the interval
      {{100, 20, 0, 0}, 1000 + kInterval, true},            // the interval has passed
      {{100, 100, 0, 0}, 1001 + kInterval, true},           // completes the download
      {{100, 100, 0, 0}, 1002 + kInterval, false},          // the completion again: nothing new
      {{100, 100, 50, 50}, 1003 + kInterval, true},         // completes the upload
      {{100, 100, 50, 50}, 1003 + 2 * kInterval, true},     // unchanged, but an interval later
  };
  ProgressThrottle throttle;
  for (const Step& step : steps) {
    SCOPED_TRACE(testing::Message() << "at " << step.now_ms << " ms, downloaded " << step.counts.downloaded);
    EXPECT_EQ(throttle.ShouldPass(step.counts, step.now_ms), step.passes);
  }
}

TEST(ProgressThrottle, RestartLetsTheNextTransfersFirstReportPass) {
  ProgressThrottle throttle;
  EXPECT_TRUE(throttle.ShouldPass({10, 10, 0, 0}, 5));
  EXPECT_FALSE(throttle.ShouldPass({0, 0, 0, 0}, 6));
  throttle.Restart();
  EXPECT_TRUE(throttle.ShouldPass({0, 0, 0, 0}, 7));
}

TEST(ProgressThrottle, SurvivesTheTickCounterWrapping) {
  ProgressThrottle throttle;
  EXPECT_TRUE(throttle.ShouldPass({0, 1, 0, 0}, UINT32_MAX - 10));
  EXPECT_FALSE(throttle.ShouldPass({0, 2, 0, 0}, UINT32_MAX));
  EXPECT_TRUE(throttle.ShouldPass({0, 3, 0, 0}, kInterval));
}

TEST(ProgressThrottle, AFastTransferPassesFewReportsAndItsFinalOne) {
  // 100 MB in 16 KiB steps over two seconds: one report every 0.33 ms.
  const std::int64_t total = 100000000;
  ProgressThrottle throttle;
  int passed = 0;
  ProgressCounts last_passed;
  std::int64_t done = 0;
  for (int i = 0; done < total; ++i) {
    done = std::min<std::int64_t>(total, done + 16384);
    ProgressCounts counts{total, done, 0, 0};
    if (throttle.ShouldPass(counts, static_cast<std::uint32_t>(i / 3))) {
      ++passed;
      last_passed = counts;
    }
  }
  EXPECT_LE(passed, 2035 / static_cast<int>(kInterval) + 2);
  EXPECT_GE(passed, 2000 / static_cast<int>(kInterval));
  EXPECT_EQ(last_passed.downloaded, total);
}

}  // namespace
}  // namespace vexo::net
