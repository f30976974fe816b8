#include "app/phases/resume.h"

#include <cwchar>
#include <cwctype>

namespace vexo::app {

namespace {

// Whether `line` starts with `prefix`, ignoring case; `rest` then points after it.
bool StartsWith(const wchar_t* line, const wchar_t* prefix, const wchar_t** rest) {
  for (; *prefix != L'\0'; ++prefix, ++line) {
    if (std::towlower(*line) != std::towlower(*prefix)) return false;
  }
  *rest = line;
  return true;
}

// A decimal number at `text` (after blanks); -1 when there is none or it overflows. `end` after it.
std::int64_t ReadNumber(const wchar_t* text, const wchar_t** end) {
  while (*text == L' ' || *text == L'\t') ++text;
  std::int64_t value = -1;
  for (; *text >= L'0' && *text <= L'9'; ++text) {
    const std::int64_t digit = *text - L'0';
    if (value > (INT64_MAX - digit) / 10) return -1;
    value = (value < 0 ? 0 : value * 10) + digit;
  }
  *end = text;
  return value;
}

void ReadContentRange(const wchar_t* value, AnswerHeaders& answer) {
  const wchar_t* rest = nullptr;
  while (*value == L' ') ++value;
  if (!StartsWith(value, L"bytes ", &rest)) return;
  const std::int64_t start = ReadNumber(rest, &rest);
  if (start < 0 || *rest != L'-') return;
  const std::int64_t last = ReadNumber(rest + 1, &rest);
  if (last < start || *rest != L'/') return;
  const std::int64_t total = ReadNumber(rest + 1, &rest);
  if (total <= last) return;
  answer.range_start = start;
  answer.range_total = total;
}

}  // namespace

AnswerHeaders ParseLastAnswer(const rg_Pelor_JiBen::rg_WenBenShuZuLei& lines) {
  AnswerHeaders answer;
  for (int i = 0; i < lines.GetCount(); ++i) {
    const wchar_t* line = lines.GetAt(i);
    const wchar_t* rest = nullptr;
    if (StartsWith(line, L"HTTP/", &rest)) {
      answer = AnswerHeaders();
      while (*rest != L'\0' && *rest != L' ') ++rest;
      const std::int64_t status = ReadNumber(rest, &rest);
      answer.status = status >= 0 && status < 1000 ? static_cast<std::int32_t>(status) : 0;
    } else if (StartsWith(line, L"Content-Length:", &rest)) {
      answer.content_length = ReadNumber(rest, &rest);
    } else if (StartsWith(line, L"Content-Range:", &rest)) {
      ReadContentRange(rest, answer);
    }
  }
  return answer;
}

ResumeStep DecideResume(std::int64_t held, std::int64_t total, const AnswerHeaders& answer) {
  if (answer.status == 200) return ResumeStep::kReplace;
  if (answer.status == 206 && answer.range_start == held && answer.range_total == total) return ResumeStep::kAppend;
  return ResumeStep::kRestart;
}

}  // namespace vexo::app
