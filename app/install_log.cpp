#include "app/install_log.h"

#include <cstdarg>
#include <mutex>
#include <string>

#include "runtime/win/scoped_handles.h"
#include "runtime/win/windows_api.h"
#include "sys/special_folder.h"

namespace vexo::app {

namespace {

std::mutex log_mutex;
win::ScopedHandle log_file;

std::string ToUtf8(const wchar_t* text) {
  const int size = ::WideCharToMultiByte(CP_UTF8, 0, text, -1, nullptr, 0, nullptr, nullptr);
  if (size <= 1) return std::string();
  std::string bytes(static_cast<std::size_t>(size), '\0');
  ::WideCharToMultiByte(CP_UTF8, 0, text, -1, bytes.data(), size, nullptr, nullptr);
  bytes.pop_back();
  return bytes;
}

}  // namespace

void OpenInstallLog() {
  const CWString folder = sys::GetSpecialFolder(sys::kTemporary);
  if (folder.IsEmpty()) return;
  const CWString path = CWString::Concat(folder, L"VexoInstall.log");
  std::lock_guard<std::mutex> lock(log_mutex);
  log_file.reset(::CreateFileW(path.GetText(), GENERIC_WRITE, FILE_SHARE_READ, nullptr, CREATE_ALWAYS,
                               FILE_ATTRIBUTE_NORMAL, nullptr));
}

void LogLine(const CWString& line) {
  SYSTEMTIME now{};
  ::GetLocalTime(&now);
  CWString stamped;
  stamped.Format(L"%04d-%02d-%02d %02d:%02d:%02d.%03d  %s\r\n", now.wYear, now.wMonth, now.wDay, now.wHour,
                 now.wMinute, now.wSecond, now.wMilliseconds, line.GetText());
  const std::string bytes = ToUtf8(stamped.GetText());
  std::lock_guard<std::mutex> lock(log_mutex);
  if (!log_file) return;
  DWORD written = 0;
  ::WriteFile(log_file.get(), bytes.data(), static_cast<DWORD>(bytes.size()), &written, nullptr);
}

void LogFormat(const wchar_t* format, ...) {
  CWString line;
  va_list arguments;
  va_start(arguments, format);
  line.FormatV(format, arguments);
  va_end(arguments);
  LogLine(line);
}

}  // namespace vexo::app
