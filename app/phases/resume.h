// Resuming a broken download: what an answer's header lines say, and whether the bytes of a Range
// request join the bytes already held.
#pragma once

#include <cstdint>

#include "runtime/text_array.h"

namespace vexo::app {

// The parts of one HTTP answer that a resumed download needs; -1 where the answer did not say.
struct AnswerHeaders {
  std::int32_t status = 0;
  std::int64_t content_length = -1;
  std::int64_t range_start = -1;  // "Content-Range: bytes <start>-<end>/<total>"
  std::int64_t range_total = -1;
};

// The last answer's headers among the header lines of a whole redirect chain (each answer starts with its
// "HTTP/" status line). Header names are matched without regard to case; malformed numbers count as -1.
AnswerHeaders ParseLastAnswer(const rg_Pelor_JiBen::rg_WenBenShuZuLei& lines);

// What to do with the body of an answer to "Range: bytes=<held>-" for a package of `total` bytes.
enum class ResumeStep {
  kAppend,   // 206 whose range starts exactly at `held` and has the same total: the bytes continue the package
  kReplace,  // 200: the server sent the whole package again
  kRestart,  // anything else: the bytes cannot be joined; start again from 0
};
ResumeStep DecideResume(std::int64_t held, std::int64_t total, const AnswerHeaders& answer);

}  // namespace vexo::app
