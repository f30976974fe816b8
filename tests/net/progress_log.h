// A progress handler that records its calls, for the progress tests.
#pragma once

#include <windows.h>

#include <cstdint>
#include <vector>

#include "runtime/pel_object.h"
#include "tests/support/handler_owner.h"

namespace vexo::test {

// What the progress handler saw, and what it answers.
struct ProgressLog {
  std::vector<DWORD> threads;
  std::vector<CPelObject*> sources;
  std::int64_t last_total = -1;
  std::int64_t last_downloaded = -1;
  std::int32_t answer = 0;
};

// A progress handler that records each call in the ProgressLog given as user value (see UserValue).
std::int32_t LogProgress(CPelObject* owner, CPelObject* source, std::uint32_t user_value, std::int64_t total,
                         std::int64_t downloaded, std::int64_t upload_total, std::int64_t uploaded);

// The user value that makes LogProgress write to `log`.
std::uint32_t UserValue(ProgressLog& log);

}  // namespace vexo::test
