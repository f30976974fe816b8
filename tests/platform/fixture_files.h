// Where the platform tests find their fixtures: the package folder in the source tree and the encrypted
// ZIP of it made at build time.
#pragma once

#include <optional>
#include <string>

namespace vexo::test {

// Password the build encrypts the fixture package with (AES-256).
inline constexpr char kPackagePassword[] = VEXO_TEST_PACKAGE_PASSWORD;
// The encrypted ZIP of the package folder, as a Windows path.
inline constexpr wchar_t kPackageZip[] = L"" VEXO_TEST_PACKAGE_ZIP;
// Members of the package, with forward slashes as a ZIP names them.
inline constexpr const char* kPackageMembers[] = {"readme.txt", "nested/numbers.txt"};

// Windows path of a file or folder in tests/platform/fixtures; `relative` uses forward slashes.
std::wstring FixturePath(const std::string& relative);

// Windows path of a file of the test PKI (made by the prefix set-up in the build folder).
std::wstring PkiPath(const std::string& name);

// The whole content of a file; nullopt when it cannot be opened or read.
std::optional<std::string> ReadWholeFile(const std::wstring& path);

}  // namespace vexo::test
