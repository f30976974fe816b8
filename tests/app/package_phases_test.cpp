// The phases that turn a downloaded package into installed files: the entry-name rule, the package check
// and both unpackers, on small archives written by the tests themselves.
#include <zip.h>

#include <gtest/gtest.h>

#include <cstdint>
#include <string>
#include <utility>
#include <vector>

#include "app/phases/unpack.h"
#include "app/phases/verify.h"
#include "runtime/win/windows_api.h"
#include "sys/special_folder.h"
#include "tests/app/zip_writer.h"
#include "tests/sys/sys_test_support.h"

namespace {

using vexo::app::InstallFailure;
using vexo::test::ReadWholeFile;
using vexo::test::ScratchFolder;
using vexo::test::WriteWholeFile;
using vexo::test::WriteZip;

TEST(EntryNames, OnlyNamesThatStayInsideTheFolderAreSafe) {
  const struct {
    const char* name;
    bool safe;
  } cases[] = {
      {"VexoClient.exe", true},
      {"data/nested/数据.txt", true},
      {"data\\nested\\file.txt", true},
      {"folder/", true},
      {"a..b/c..", true},
      {"..", false},
      {"../escaped.txt", false},
      {"data/../../escaped.txt", false},
      {"data\\..\\..\\escaped.txt", false},
      {"data/..", false},
      {"/etc/passwd", false},
      {"\\Windows\\evil.dll", false},
      {"\\\\server\\share\\x", false},
      {"C:\\Windows\\evil.dll", false},
      {"C:evil.dll", false},
      {"file.txt:stream", false},
      {"", false},
  };
  for (const auto& c : cases) EXPECT_EQ(vexo::app::IsSafeEntryName(c.name), c.safe) << c.name;
  EXPECT_FALSE(vexo::app::IsSafeEntryName(nullptr));
}

const std::vector<std::pair<std::string, std::string>> kGoodEntries = {
    {"VexoClient.exe", "MZ client"},
    {"readme.txt", "Vexo助手\r\n"},
    {"data/", ""},
    {"data/nested/数据.txt", std::string(300000, 'x') + "end"},
};

class PackagePhases : public ::testing::Test {
 protected:
  std::wstring Package(const std::vector<std::pair<std::string, std::string>>& entries) {
    const std::wstring path = scratch_.path() + L"package.zip";
    EXPECT_TRUE(WriteZip(path, entries));
    return path;
  }
  CWString Folder() const { return CWString((scratch_.path() + L"安装 目录\\").c_str()); }

  ScratchFolder scratch_;
};

TEST_F(PackagePhases, AGoodPackagePassesTheCheckAndUnpacksWithTheBuiltInExtraction) {
  const CWString package(Package(kGoodEntries).c_str());
  std::int64_t unpacked = 0;
  EXPECT_TRUE(vexo::app::VerifyPackage(package, &unpacked).ok());
  std::int64_t expected = 0;
  for (const auto& entry : kGoodEntries) expected += static_cast<std::int64_t>(entry.second.size());
  EXPECT_EQ(unpacked, expected);
  // An existing file in the folder is overwritten, other files stay.
  ::CreateDirectoryW(Folder().GetText(), nullptr);
  ASSERT_TRUE(WriteWholeFile(Folder().GetText() + std::wstring(L"readme.txt"), "old"));
  ASSERT_TRUE(WriteWholeFile(Folder().GetText() + std::wstring(L"mine.txt"), "user file"));

  const CWString no_seven_zip(L"C:\\no\\such\\7z.exe");
  EXPECT_TRUE(vexo::app::UnpackPackage(no_seven_zip, package, Folder()).ok());
  for (const auto& entry : kGoodEntries) {
    if (entry.first.back() == '/') continue;
    CWString relative;
    relative.SetFromUtf8(entry.first.c_str());
    relative.Replace(L"/", L"\\", 0, -1);
    EXPECT_EQ(ReadWholeFile(std::wstring(Folder().GetText()) + relative.GetText()), entry.second) << entry.first;
  }
  EXPECT_EQ(ReadWholeFile(std::wstring(Folder().GetText()) + L"mine.txt"), "user file");
}

TEST_F(PackagePhases, SevenZipIsPreferredWhenPresentAndGetsQuotedPaths) {
  const CWString package(Package(kGoodEntries).c_str());
  const CWString seven_zip =
      CWString::Concat(vexo::sys::GetSpecialFolder(vexo::sys::kSystem), L"7z.exe");
  ASSERT_NE(::GetFileAttributesW(seven_zip.GetText()), INVALID_FILE_ATTRIBUTES) << "the test prefix has 7z.exe";
  EXPECT_STREQ(vexo::app::SevenZipCommandLine(seven_zip, CWString(L"C:\\t e\\p.zip"), CWString(L"D:\\a b\\")).GetText(),
               (L"\"" + std::wstring(seven_zip.GetText()) + L"\" x \"C:\\t e\\p.zip\" -o\"D:\\a b\\\" -y -aoa").c_str());
  // The package and the folder both have spaces in their paths.
  EXPECT_TRUE(vexo::app::UnpackPackage(seven_zip, package, Folder()).ok());
  EXPECT_EQ(ReadWholeFile(std::wstring(Folder().GetText()) + L"data\\nested\\数据.txt"), kGoodEntries[3].second);
}

TEST_F(PackagePhases, UnsafeAndDamagedPackagesAreRefusedBeforeAnythingIsWritten) {
  const struct {
    std::vector<std::pair<std::string, std::string>> entries;
    InstallFailure failure;
  } cases[] = {
      {{{"VexoClient.exe", "MZ"}, {"../escaped.txt", "out"}}, InstallFailure::kUnsafePackage},
      {{{"VexoClient.exe", "MZ"}, {"C:/escaped.txt", "out"}}, InstallFailure::kUnsafePackage},
      {{{"/escaped.txt", "out"}}, InstallFailure::kUnsafePackage},
  };
  for (const auto& c : cases) {
    const CWString package(Package(c.entries).c_str());
    EXPECT_EQ(vexo::app::VerifyPackage(package, nullptr).failure, c.failure);
  }
  const std::wstring not_zip = scratch_.path() + L"not.zip";
  ASSERT_TRUE(WriteWholeFile(not_zip, "<html>this is an error page, not a package</html>"));
  EXPECT_EQ(vexo::app::VerifyPackage(CWString(not_zip.c_str()), nullptr).failure, InstallFailure::kDamagedPackage);
  EXPECT_EQ(vexo::app::VerifyPackage(CWString((scratch_.path() + L"missing.zip").c_str()), nullptr).failure,
            InstallFailure::kDamagedPackage);
  EXPECT_EQ(::GetFileAttributesW((scratch_.path() + L"escaped.txt").c_str()), INVALID_FILE_ATTRIBUTES);
}

TEST_F(PackagePhases, DamagedDataFailsBothUnpackers) {
  const std::wstring path = Package({{"VexoClient.exe", std::string(4000, 'c')}});
  // Damage the stored data (well after the 30-byte local header and the name), not the directory.
  std::string bytes = ReadWholeFile(path);
  bytes[1000] ^= 0x5A;
  ASSERT_TRUE(WriteWholeFile(path, bytes));
  const CWString package(path.c_str());
  EXPECT_TRUE(vexo::app::VerifyPackage(package, nullptr).ok()) << "the directory is intact";
  EXPECT_EQ(vexo::app::UnpackPackage(CWString(L"C:\\no\\7z.exe"), package, Folder()).failure,
            InstallFailure::kUnpackFailed);
  const CWString seven_zip = CWString::Concat(vexo::sys::GetSpecialFolder(vexo::sys::kSystem), L"7z.exe");
  EXPECT_EQ(vexo::app::UnpackPackage(seven_zip, package, Folder()).failure, InstallFailure::kUnpackFailed);
}

}  // namespace

TEST_F(PackagePhases, TheRoomCheckComparesWithTheFreeSpaceOfTheNearestExistingFolder) {
  // The install folder need not exist yet: its drive is asked through the folders above it.
  const CWString not_yet(CWString::Concat(Folder(), L"a\\b\\").GetText());
  EXPECT_TRUE(vexo::app::CheckRoom(not_yet, 1024).ok());
  const std::int64_t too_much = std::int64_t{1} << 60;
  const vexo::app::InstallOutcome refused = vexo::app::CheckRoom(not_yet, too_much);
  EXPECT_EQ(refused.failure, InstallFailure::kDiskSpace);
  EXPECT_EQ(refused.needed_bytes, too_much);
  EXPECT_GT(refused.free_bytes, 0);
  EXPECT_LT(refused.free_bytes, too_much);
}
