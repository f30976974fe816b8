#include "package/uninstall/uninstall_list.h"

#include <optional>

#include "runtime/win/windows_api.h"

namespace vexo::uninstall {

namespace {

constexpr std::string_view kByteOrderMark = "\xEF\xBB\xBF";

// The line's text, or nothing when it is not valid UTF-8.
std::optional<std::wstring> DecodeUtf8(std::string_view line) {
  if (line.empty()) return std::wstring();
  const int size = static_cast<int>(line.size());
  const int units = ::MultiByteToWideChar(CP_UTF8, MB_ERR_INVALID_CHARS, line.data(), size, nullptr, 0);
  if (units <= 0) return std::nullopt;
  std::wstring text(static_cast<std::size_t>(units), L'\0');
  ::MultiByteToWideChar(CP_UTF8, MB_ERR_INVALID_CHARS, line.data(), size, text.data(), units);
  return text;
}

bool IsSeparator(wchar_t unit) { return unit == L'\\' || unit == L'/'; }

// Characters Windows refuses in a file name, plus the colon of drives and alternate data streams.
bool IsForbiddenInName(wchar_t unit) {
  return unit < 0x20 || std::wstring_view(L"<>:\"|?*").find(unit) != std::wstring_view::npos;
}

bool IsPlainName(std::wstring_view name) {
  if (name.empty() || name.back() == L'.' || name.back() == L' ') return false;
  for (wchar_t unit : name) {
    if (IsForbiddenInName(unit)) return false;
  }
  return true;
}

}  // namespace

bool IsPlainRelativePath(std::wstring_view path) {
  std::size_t start = 0;
  for (;;) {
    std::size_t end = start;
    while (end < path.size() && !IsSeparator(path[end])) ++end;
    if (!IsPlainName(path.substr(start, end - start))) return false;
    if (end == path.size()) return true;
    start = end + 1;
  }
}

UninstallList ParseUninstallList(std::string_view bytes) {
  UninstallList list;
  if (bytes.substr(0, kByteOrderMark.size()) == kByteOrderMark) bytes.remove_prefix(kByteOrderMark.size());
  int line_number = 0;
  while (!bytes.empty()) {
    ++line_number;
    const std::size_t end = bytes.find('\n');
    std::string_view line = bytes.substr(0, end);
    bytes.remove_prefix(end == std::string_view::npos ? bytes.size() : end + 1);
    if (!line.empty() && line.back() == '\r') line.remove_suffix(1);
    if (line.empty()) continue;

    std::optional<std::wstring> text = DecodeUtf8(line);
    if (!text || !IsPlainRelativePath(*text)) {
      list.refused_line = line_number;
      list.refused_text = text.value_or(std::wstring());
      return list;
    }
    for (wchar_t& unit : *text) {
      if (unit == L'/') unit = L'\\';
    }
    list.entries.push_back(std::move(*text));
  }
  return list;
}

}  // namespace vexo::uninstall
