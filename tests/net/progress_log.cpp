#include "tests/net/progress_log.h"

namespace vexo::test {

std::int32_t LogProgress(CPelObject*, CPelObject* source, std::uint32_t user_value, std::int64_t total,
                         std::int64_t downloaded, std::int64_t, std::int64_t) {
  auto& log = *reinterpret_cast<ProgressLog*>(static_cast<std::uintptr_t>(user_value));
  log.threads.push_back(::GetCurrentThreadId());
  log.sources.push_back(source);
  log.last_total = total;
  log.last_downloaded = downloaded;
  return log.answer;
}

std::uint32_t UserValue(ProgressLog& log) {
  return static_cast<std::uint32_t>(reinterpret_cast<std::uintptr_t>(&log));
}

}  // namespace vexo::test
