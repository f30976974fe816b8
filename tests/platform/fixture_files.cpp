#include "tests/platform/fixture_files.h"

#include <windows.h>

#include "runtime/win/scoped_handles.h"

namespace vexo::test {

std::wstring FixturePath(const std::string& relative) {
  std::wstring path = L"" VEXO_TEST_FIXTURE_DIR;
  path += L'\\';
  for (char c : relative) path += c == '/' ? L'\\' : static_cast<wchar_t>(c);
  return path;
}

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
