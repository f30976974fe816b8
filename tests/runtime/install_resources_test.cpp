// Install.exe as built carries its version block, its manifest and its product icon; read back from the
// file with the Windows calls that Explorer and the loader use.
#include <windows.h>

#include <gtest/gtest.h>

#include <cstdint>
#include <string>
#include <vector>

#include "runtime/win/scoped_handles.h"

namespace {

std::wstring InstallExe() {
  const std::string path = VEXO_INSTALL_EXE;
  return std::wstring(path.begin(), path.end());
}

class InstallVersionBlock : public testing::Test {
 protected:
  void SetUp() override {
    DWORD ignored = 0;
    const DWORD size = ::GetFileVersionInfoSizeW(InstallExe().c_str(), &ignored);
    ASSERT_GT(size, 0u);
    block_.resize(size);
    ASSERT_TRUE(::GetFileVersionInfoW(InstallExe().c_str(), 0, size, block_.data()));
  }
  // The value at `path` in the version block, or null.
  const void* Query(const std::wstring& path, UINT* length = nullptr) {
    void* value = nullptr;
    UINT value_length = 0;
    if (!::VerQueryValueW(block_.data(), path.c_str(), &value, &value_length)) return nullptr;
    if (length) *length = value_length;
    return value;
  }
  std::wstring Text(const wchar_t* name) {
    const void* value = Query(std::wstring(L"\\StringFileInfo\\080404B0\\") + name);
    return value ? static_cast<const wchar_t*>(value) : L"(missing)";
  }

  std::vector<std::uint8_t> block_;
};

TEST_F(InstallVersionBlock, FixedPartGivesVersion301) {
  UINT length = 0;
  const auto* fixed = static_cast<const VS_FIXEDFILEINFO*>(Query(L"\\", &length));
  ASSERT_NE(fixed, nullptr);
  ASSERT_GE(length, sizeof(VS_FIXEDFILEINFO));
  EXPECT_EQ(fixed->dwSignature, 0xFEEF04BDu);
  EXPECT_EQ(fixed->dwFileVersionMS, 0x00030000u);
  EXPECT_EQ(fixed->dwFileVersionLS, 0x00010000u);
  EXPECT_EQ(fixed->dwProductVersionMS, 0x00030000u);
  EXPECT_EQ(fixed->dwProductVersionLS, 0x00010000u);
  EXPECT_EQ(fixed->dwFileType, static_cast<DWORD>(VFT_APP));
}

TEST_F(InstallVersionBlock, StringsAreSimplifiedChineseUnicode) {
  UINT length = 0;
  const auto* translation = static_cast<const WORD*>(Query(L"\\VarFileInfo\\Translation", &length));
  ASSERT_NE(translation, nullptr);
  ASSERT_EQ(length, 4u);
  EXPECT_EQ(translation[0], 0x0804);
  EXPECT_EQ(translation[1], 1200);

  const std::pair<const wchar_t*, const wchar_t*> strings[] = {
      {L"FileVersion", L"3.0.1"},
      {L"ProductVersion", L"3.0.1"},
      {L"InternalName", L"Install"},
      {L"OriginalFilename", L"Install.exe"},
      {L"FileDescription", L"Vexo助手在线安装器"},
      {L"ProductName", L"Vexo助手在线安装器"},
      {L"CompanyName", L"Vexo网络科技有限公司"},
  };
  for (const auto& [name, expected] : strings) EXPECT_EQ(Text(name), expected) << name;
}

class InstallModuleResources : public testing::Test {
 protected:
  void SetUp() override {
    module_.reset(::LoadLibraryExW(InstallExe().c_str(), nullptr,
                                   LOAD_LIBRARY_AS_DATAFILE | LOAD_LIBRARY_AS_IMAGE_RESOURCE));
    ASSERT_TRUE(module_);
  }
  std::string Bytes(const wchar_t* type, WORD id) {
    HRSRC found = ::FindResourceW(module_.get(), MAKEINTRESOURCEW(id), type);
    if (!found) return "";
    const void* data = ::LockResource(::LoadResource(module_.get(), found));
    return data ? std::string(static_cast<const char*>(data), ::SizeofResource(module_.get(), found)) : "";
  }

  vexo::win::ScopedLibrary module_;
};

TEST_F(InstallModuleResources, ManifestRequiresAdministratorAndIsDpiUnaware) {
  const std::string manifest = Bytes(RT_MANIFEST, 1);
  ASSERT_FALSE(manifest.empty());
  EXPECT_NE(manifest.find(R"(<requestedExecutionLevel level="requireAdministrator" uiAccess="false"/>)"),
            std::string::npos);
  EXPECT_NE(manifest.find(">false</dpiAware>"), std::string::npos);
  EXPECT_EQ(manifest.find("dpiAwareness"), std::string::npos);
  EXPECT_EQ(manifest.find("true</dpiAware>"), std::string::npos);
  for (WORD other_id = 2; other_id <= 3; ++other_id) {
    EXPECT_TRUE(Bytes(RT_MANIFEST, other_id).empty()) << "a second manifest with id " << other_id;
  }
}

// Windows refuses to start a program whose manifest, or its Common Controls dependency, names another
// processor architecture than the program's own (x86 for the 32-bit product).
TEST_F(InstallModuleResources, ManifestNamesTheProgramsOwnArchitectureForItselfAndItsDependency) {
  const std::string manifest = Bytes(RT_MANIFEST, 1);
  const std::string own = std::string(R"(processorArchitecture=")") + (sizeof(void*) == 4 ? "x86" : "amd64") + '"';
  std::size_t named = 0;
  std::size_t own_named = 0;
  for (std::size_t at = manifest.find("processorArchitecture="); at != std::string::npos;
       at = manifest.find("processorArchitecture=", at + 1)) {
    ++named;
    if (manifest.compare(at, own.size(), own) == 0) ++own_named;
  }
  EXPECT_EQ(named, 2u);
  EXPECT_EQ(own_named, named) << manifest;
}

TEST_F(InstallModuleResources, IconGroup100HoldsOne64By64ThirtyTwoBitIcon) {
  const std::string group = Bytes(RT_GROUP_ICON, 100);
  ASSERT_GE(group.size(), 6u + 14u);
  const auto* header = reinterpret_cast<const WORD*>(group.data());
  EXPECT_EQ(header[1], 1) << "resource type: icon";
  ASSERT_EQ(header[2], 1) << "image count";
  const auto* entry = reinterpret_cast<const std::uint8_t*>(group.data() + 6);
  EXPECT_EQ(entry[0], 64);
  EXPECT_EQ(entry[1], 64);
  EXPECT_EQ(*reinterpret_cast<const WORD*>(entry + 6), 32) << "bits per pixel";

  const int icon_id = ::LookupIconIdFromDirectoryEx(
      reinterpret_cast<BYTE*>(const_cast<char*>(group.data())), TRUE, 64, 64, LR_DEFAULTCOLOR);
  ASSERT_NE(icon_id, 0);
  std::string image = Bytes(RT_ICON, static_cast<WORD>(icon_id));
  ASSERT_FALSE(image.empty());
  vexo::win::ScopedIcon icon(::CreateIconFromResourceEx(reinterpret_cast<BYTE*>(image.data()),
                                                        static_cast<DWORD>(image.size()), TRUE, 0x00030000,
                                                        64, 64, LR_DEFAULTCOLOR));
  ASSERT_TRUE(icon);
  ICONINFO info{};
  ASSERT_TRUE(::GetIconInfo(icon.get(), &info));
  vexo::win::ScopedBitmap colour(info.hbmColor);
  vexo::win::ScopedBitmap mask(info.hbmMask);
  BITMAP bitmap{};
  ASSERT_NE(::GetObjectW(colour.get(), sizeof(bitmap), &bitmap), 0);
  EXPECT_EQ(bitmap.bmWidth, 64);
  EXPECT_EQ(bitmap.bmHeight, 64);

  // The picture is a rounded tile: transparent corners, an opaque middle.
  const auto* pixels = reinterpret_cast<const std::uint8_t*>(image.data() + sizeof(BITMAPINFOHEADER));
  auto alpha_at = [&](int x, int y) { return pixels[((63 - y) * 64 + x) * 4 + 3]; };
  EXPECT_EQ(alpha_at(0, 0), 0);
  EXPECT_EQ(alpha_at(63, 63), 0);
  EXPECT_EQ(alpha_at(32, 32), 255);
  EXPECT_EQ(alpha_at(10, 32), 255);
}

}  // namespace
