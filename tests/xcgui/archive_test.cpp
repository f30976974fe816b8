// Reading encrypted archive members and loading resource packs from them.
#include <gtest/gtest.h>

#include "tests/xcgui/test_support.h"
#include "xcgui/src/zip_archive.h"

namespace xcgui_test {
namespace {

TEST(ZipArchive, ReadsAnEncryptedMemberWithTheRightPassword) {
  std::wstring error;
  auto bytes = xcgui::ReadZipMember(kArchive, L"style.css", kPassword, &error);
  ASSERT_TRUE(bytes) << std::string(error.begin(), error.end());
  EXPECT_NE(bytes->find("#title_text"), std::string::npos);
}

TEST(ZipArchive, RefusesBadRequests) {
  struct Case {
    const wchar_t* archive;
    const wchar_t* member;
    const wchar_t* password;
    const wchar_t* error_part;
  } cases[] = {
      {kArchive, L"style.css", L"730418", L"password"},
      {kArchive, L"style.css", L"", L"password"},
      {kArchive, L"missing.css", kPassword, L"no member"},
      {L"Z:\\no\\such\\archive.zip", L"style.css", kPassword, L"cannot open"},
      {XCGUI_TEST_FIXTURE_DIR L"\\style.css", L"style.css", kPassword, L"not a readable ZIP"},
      {kArchive, L"", kPassword, L"no archive or member"},
  };
  for (const Case& c : cases) {
    std::wstring error;
    EXPECT_FALSE(xcgui::ReadZipMember(c.archive, c.member, c.password, &error)) << c.member;
    EXPECT_NE(error.find(c.error_part), std::wstring::npos) << std::string(error.begin(), error.end());
  }
}

class ResourceZip : public LibraryTest {};

TEST_F(ResourceZip, LoadsThePackWithItsImagesAndStyleSheet) {
  ASSERT_TRUE(XC_LoadResourceZip(kArchive, L"resource.res", kPassword));
  // The pack's named image and font are usable by a layout that refers to them.
  EXPECT_NE(XC_LoadLayoutZip(kArchive, L"main.xml", kPassword, nullptr, nullptr), nullptr);
}

TEST_F(ResourceZip, FailsCleanlyOnBadArchivesPasswordsAndPacks) {
  EXPECT_FALSE(XC_LoadResourceZip(kArchive, L"resource.res", L"wrong"));
  EXPECT_FALSE(XC_LoadResourceZip(kArchive, L"nothing.res", kPassword));
  EXPECT_FALSE(XC_LoadResourceZip(L"Z:\\missing.zip", L"resource.res", kPassword));
  EXPECT_FALSE(XC_LoadResourceZip(kArchive, L"bad_missing.res", kPassword));  // names a missing image
  EXPECT_FALSE(XC_LoadResourceZip(kArchive, L"bad_style.res", kPassword));    // style sheet with a bad colour
  EXPECT_FALSE(XC_LoadResourceZip(kArchive, L"bad_xml.xml", kPassword));      // not XML at all
  EXPECT_FALSE(XC_LoadResourceZip(kArchive, L"main.xml", kPassword));         // XML, but not a pack
  EXPECT_FALSE(XC_LoadResourceZip(nullptr, L"resource.res", kPassword));
  EXPECT_FALSE(XC_LoadResourceZip(kArchive, nullptr, kPassword));
  // None of that left anything behind: the layout still lacks the pack's images.
  EXPECT_EQ(XC_LoadLayoutZip(kArchive, L"main.xml", kPassword, nullptr, nullptr), nullptr);
}

}  // namespace
}  // namespace xcgui_test
