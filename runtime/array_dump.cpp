#include "runtime/array_dump.h"

#include <algorithm>

namespace vexo {

namespace {

// Members shown when the limit is 0.
constexpr int kDefaultMemberLimit = 64;

// The letter of a character's short escape ("\t" for tab), or 0 when it has none.
wchar_t ShortEscape(wchar_t unit) {
  switch (unit) {
    case L'\b': return L'b';
    case L'\t': return L't';
    case L'\n': return L'n';
    case L'\f': return L'f';
    case L'\r': return L'r';
    case L'"': return L'"';
    case L'\'': return L'\'';
    case L'\\': return L'\\';
    default: return 0;
  }
}

}  // namespace

int AppendArrayDumpHeader(CWString& output, int count, int limit) {
  const int shown = limit < 0 ? count : std::min(count, limit == 0 ? kDefaultMemberLimit : limit);
  if (shown == count) {
    output.AppendFormat(L"<数组> 总共 %d 个成员:", count);
  } else {
    output.AppendFormat(L"<数组> 总共 %d 个成员,输出了 %d 个,还有 %d 个未被输出.", count, shown, count - shown);
  }
  return shown;
}

void AppendQuotedText(CWString& output, const wchar_t* text) {
  output.AppendChar(L'"');
  for (const wchar_t* unit = text != nullptr ? text : L""; *unit != L'\0'; ++unit) {
    if (const wchar_t letter = ShortEscape(*unit)) {
      output.AppendChar(L'\\');
      output.AppendChar(letter);
    } else if (*unit < 32) {
      const wchar_t octal[] = {L'\\', L'0', static_cast<wchar_t>(L'0' + *unit / 8),
                               static_cast<wchar_t>(L'0' + *unit % 8), L'\0'};
      output.Append(octal);
    } else {
      output.AppendChar(*unit);
    }
  }
  output.AppendChar(L'"');
}

}  // namespace vexo
