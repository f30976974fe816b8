// A console program the process-launching tests start. Commands:
//   report-startup FILE        writes "flags=<dwFlags> show=<wShowWindow>" of its STARTUPINFOW to FILE
//   write-after MILLISECONDS FILE   waits, then writes "done" to FILE
//   exit CODE                  ends at once with that exit code
#include <windows.h>

#include <shellapi.h>

#include <cstdio>
#include <cstdlib>
#include <string>

namespace {

bool WriteText(const wchar_t* path, const std::string& text) {
  HANDLE file = ::CreateFileW(path, GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr);
  if (file == INVALID_HANDLE_VALUE) return false;
  DWORD written = 0;
  const bool ok = ::WriteFile(file, text.data(), static_cast<DWORD>(text.size()), &written, nullptr) &&
                  written == text.size();
  ::CloseHandle(file);
  return ok;
}

}  // namespace

int main() {
  int count = 0;
  wchar_t** args = ::CommandLineToArgvW(::GetCommandLineW(), &count);
  if (args == nullptr) return 2;
  int status = 2;
  const std::wstring command = count > 1 ? args[1] : L"";
  if (command == L"report-startup" && count == 3) {
    STARTUPINFOW startup{};
    startup.cb = sizeof(startup);
    ::GetStartupInfoW(&startup);
    status = WriteText(args[2], "flags=" + std::to_string(startup.dwFlags) +
                                    " show=" + std::to_string(startup.wShowWindow)) ? 0 : 1;
  } else if (command == L"write-after" && count == 4) {
    ::Sleep(static_cast<DWORD>(std::wcstoul(args[2], nullptr, 10)));
    status = WriteText(args[3], "done") ? 0 : 1;
  } else if (command == L"exit" && count == 3) {
    status = static_cast<int>(std::wcstoul(args[2], nullptr, 10));
  }
  ::LocalFree(args);
  return status;
}
