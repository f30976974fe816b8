#include "runtime/start_guard.h"

#include <cstdlib>

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

CWString DescribeCaughtException(const CPelException& exception) {
  CWString text;
  text.Format(kCaughtFormat, exception.GetCode(), exception.GetDescription());
  return text;
}

void RunStartGuarded(StartMethod start, CPelUserApp& app) {
  if (::IsDebuggerPresent()) {
    start(app);
    return;
  }
  try {
    start(app);
  } catch (const CPelException& exception) {
    ReportAndExit(DescribeCaughtException(exception).GetText());
  } catch (...) {
    ReportAndExit(kUnmanagedText);
  }
}

}  // namespace vexo
