#include "tests/platform/fixture_files.h"

#include <windows.h>

#include "runtime/win/scoped_handles.h"

namespace vexo::test {

namespace {

std::wstring JoinPath(std::wstring folder, const std::string& relative) {
  folder += L'\\';
  for (char c : relative) folder += c == '/' ? L'\\' : static_cast<wchar_t>(c);
  return folder;
}

}  // namespace

std::wstring FixturePath(const std::string& relative) { return JoinPath(L"" VEXO_TEST_FIXTURE_DIR, relative); }

std::wstring PkiPath(const std::string& name) { return JoinPath(L"" VEXO_TEST_PKI_DIR, name); }

std::optional<std::string> ReadWholeFile(const std::wstring& path) {
  win::ScopedHandle file(::CreateFileW(path.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE,
                                       nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr));
  if (!file) return std::nullopt;
  std::string content;
  char chunk[16384];
  for (;;) {
    DWORD got = 0;
    if (!::ReadFile(file.get(), chunk, sizeof(chunk), &got, nullptr)) return std::nullopt;
    if (got == 0) return content;
    content.append(chunk, got);
  }
}

}  // namespace vexo::test
