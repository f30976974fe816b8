#include "runtime/start_guard.h"

#include <cstdio>
#include <cstdlib>
#include <vector>

#include "runtime/win/windows_api.h"

namespace vexo {

namespace {

constexpr wchar_t kCaption[] = L"运行时异常";
constexpr wchar_t kCaughtFormat[] = L"俘获到异常,代码值为: %d, 描述为: %s";
constexpr wchar_t kUnmanagedText[] = L"程序在运行时抛出了未被管理的异常";

[[noreturn]] void ReportAndExit(const wchar_t* text) {
  ::MessageBoxW(nullptr, text, kCaption, MB_ICONERROR);
  std::exit(-1);
}

}  // namespace

std::wstring DescribeCaughtException(const CPelException& exception) {
  // msvcrt's wide printf, where %s takes a wide string (mingw's C99 swprintf would take a narrow one).
  int length = ::_scwprintf(kCaughtFormat, exception.GetCode(), exception.GetDescription());
  if (length < 0) return kCaughtFormat;
  std::vector<wchar_t> text(static_cast<std::size_t>(length) + 1);
  ::_snwprintf(text.data(), text.size(), kCaughtFormat, exception.GetCode(), exception.GetDescription());
  return std::wstring(text.data(), static_cast<std::size_t>(length));
}

void RunStartGuarded(StartMethod start, CPelUserApp& app) {
  if (::IsDebuggerPresent()) {
    start(app);
    return;
  }
  try {
    start(app);
  } catch (const CPelException& exception) {
    ReportAndExit(DescribeCaughtException(exception).c_str());
  } catch (...) {
    ReportAndExit(kUnmanagedText);
  }
}

}  // namespace vexo
