// The packages as built: installpack.zip unpacks to exactly the files its list names, and each damaged
// package is damaged in the one way its name says, read with libzip as the installer's own unpacking reads.
#include <zip.h>

#include <gtest/gtest.h>

#include <algorithm>
#include <memory>
#include <string>
#include <vector>

#include "package/product.h"
#include "runtime/win/windows_api.h"
#include "tests/package/staged_install.h"

namespace {

using vexo::test::StagedInstall;
namespace product = vexo::product;

// Every file under `folder` (ending in a backslash), as paths relative to it.
void CollectFiles(const std::wstring& folder, const std::wstring& relative, std::vector<std::wstring>& files) {
  WIN32_FIND_DATAW found{};
  HANDLE search = ::FindFirstFileW((folder + relative + L"*").c_str(), &found);
  if (search == INVALID_HANDLE_VALUE) return;
  do {
    const std::wstring name = found.cFileName;
    if (name == L"." || name == L"..") continue;
    if (found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) {
      CollectFiles(folder, relative + name + L"\\", files);
    } else {
      files.push_back(relative + name);
    }
  } while (::FindNextFileW(search, &found));
  ::FindClose(search);
}

std::vector<std::wstring> Sorted(std::vector<std::wstring> items) {
  std::sort(items.begin(), items.end());
  return items;
}

TEST(SamplePackage, ListNamesExactlyTheUnpackedFilesAmongThemBothPrograms) {
  StagedInstall install;
  ASSERT_TRUE(install.ok());
  std::vector<std::wstring> unpacked;
  CollectFiles(install.folder(), L"", unpacked);

  const std::vector<std::wstring> listed = Sorted(install.listed());
  EXPECT_EQ(Sorted(unpacked), listed);
  for (const wchar_t* required : {product::kClientExeName, product::kUninstallerExeName,
                                  product::kUninstallListName, L"data\\使用说明.txt", L"data\\nodes\\default.json"}) {
    EXPECT_TRUE(std::binary_search(listed.begin(), listed.end(), required)) << required;
  }
}

struct ArchiveCloser {
  void operator()(zip_t* archive) const { zip_discard(archive); }
};
struct MemberCloser {
  void operator()(zip_file_t* member) const { zip_fclose(member); }
};
using Archive = std::unique_ptr<zip_t, ArchiveCloser>;
using Member = std::unique_ptr<zip_file_t, MemberCloser>;

// Reads a member to its end, where libzip checks its CRC; false on any read or check error.
bool ReadsWhole(zip_t* archive, zip_uint64_t index) {
  Member member(zip_fopen_index(archive, index, 0));
  if (!member) return false;
  char chunk[16384];
  for (;;) {
    const zip_int64_t got = zip_fread(member.get(), chunk, sizeof(chunk));
    if (got < 0) return false;
    if (got == 0) return true;
  }
}

struct ArchiveView {
  std::vector<std::string> names;
  std::vector<std::string> unreadable;
};

ArchiveView Inspect(const std::string& path) {
  ArchiveView view;
  int error = 0;
  Archive archive(zip_open(path.c_str(), ZIP_RDONLY, &error));
  if (!archive) return view;
  const zip_int64_t count = zip_get_num_entries(archive.get(), 0);
  for (zip_int64_t i = 0; i < count; ++i) {
    const zip_uint64_t index = static_cast<zip_uint64_t>(i);
    const char* raw_name = zip_get_name(archive.get(), index, 0);
    const std::string name = raw_name == nullptr ? "" : raw_name;
    view.names.push_back(name);
    if (!ReadsWhole(archive.get(), index)) view.unreadable.push_back(name);
  }
  return view;
}

std::string FaultPackagePath(const char* name) { return std::string(VEXO_FAULT_PACKAGE_DIR "\\") + name; }

struct PackageCase {
  const char* name;
  const char* fault;        // file name in the fault folder
  const char* extra_entry;  // the entry added after the package's own; null for none
  bool damaged;             // some member fails to read back
};

class PackageFileTest : public testing::TestWithParam<PackageCase> {};

TEST_P(PackageFileTest, HoldsThePackageMembersChangedOnlyAsNamed) {
  const ArchiveView good = Inspect(VEXO_SAMPLE_PACKAGE);
  ASSERT_FALSE(good.names.empty());
  ASSERT_TRUE(good.unreadable.empty());
  const ArchiveView view = Inspect(FaultPackagePath(GetParam().fault));
  ASSERT_FALSE(view.names.empty()) << "the archive does not open";

  std::vector<std::string> expected_names = good.names;
  if (GetParam().extra_entry != nullptr) expected_names.push_back(GetParam().extra_entry);
  EXPECT_EQ(view.names, expected_names);
  EXPECT_EQ(!view.unreadable.empty(), GetParam().damaged);
}

INSTANTIATE_TEST_SUITE_P(
    Files, PackageFileTest,
    testing::Values(PackageCase{"Corrupt", "corrupt.zip", nullptr, true},
                    PackageCase{"DotDot", "dotdot.zip", "../escaped.txt", false},
                    PackageCase{"Absolute", "absolute.zip", "C:/vexo-absolute.txt", false}),
    [](const testing::TestParamInfo<PackageCase>& info) { return info.param.name; });

}  // namespace
