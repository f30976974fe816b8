// Registry texts and numbers under HKEY_LOCAL_MACHINE, in a key of this test that it removes again. What
// the services write is checked by a second reader (RegQueryValueExW) and by reg.exe in another process.
#include "sys/registry.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <string>
#include <vector>

#include "runtime/win/scoped_handles.h"
#include "runtime/win/windows_api.h"
#include "tests/sys/sys_test_support.h"

namespace {

using vexo::sys::ReadRegistryText;
using vexo::sys::WriteRegistryNumber;
using vexo::sys::WriteRegistryText;

const wchar_t kParentKey[] = L"SOFTWARE\\VexoSysTests";

struct StoredValue {
  bool exists = false;
  DWORD type = REG_NONE;
  std::vector<std::uint8_t> bytes;
};

class RegistryTest : public testing::Test {
 protected:
  void SetUp() override {
    root_ = std::wstring(kParentKey) + L"\\" + std::to_wstring(::GetCurrentProcessId());
    ::RegDeleteTreeW(HKEY_LOCAL_MACHINE, root_.c_str());
  }
  void TearDown() override {
    ::RegDeleteTreeW(HKEY_LOCAL_MACHINE, root_.c_str());
    ::RegDeleteKeyW(HKEY_LOCAL_MACHINE, kParentKey);  // only succeeds once no other run uses it
    EXPECT_FALSE(KeyExists(root_)) << "the test key was not removed";
  }

  static bool KeyExists(const std::wstring& key_path) {
    vexo::win::ScopedRegKey key;
    return ::RegOpenKeyExW(HKEY_LOCAL_MACHINE, key_path.c_str(), 0, KEY_READ, key.receive()) == ERROR_SUCCESS;
  }
  // Stores a value with an independent writer (bytes as given, any type).
  void Put(const std::wstring& key_path, const wchar_t* name, DWORD type, const void* data, DWORD size) {
    vexo::win::ScopedRegKey key;
    ASSERT_EQ(::RegCreateKeyExW(HKEY_LOCAL_MACHINE, key_path.c_str(), 0, nullptr, 0, KEY_WRITE, nullptr,
                                key.receive(), nullptr),
              ERROR_SUCCESS);
    ASSERT_EQ(::RegSetValueExW(key.get(), name, 0, type, static_cast<const BYTE*>(data), size), ERROR_SUCCESS);
  }
  void PutText(const std::wstring& key_path, const wchar_t* name, DWORD type, const std::wstring& text) {
    Put(key_path, name, type, text.c_str(), static_cast<DWORD>((text.size() + 1) * 2));
  }
  // Reads a value with an independent reader.
  static StoredValue Stored(const std::wstring& key_path, const wchar_t* name) {
    StoredValue value;
    vexo::win::ScopedRegKey key;
    if (::RegOpenKeyExW(HKEY_LOCAL_MACHINE, key_path.c_str(), 0, KEY_READ, key.receive()) != ERROR_SUCCESS) {
      return value;
    }
    DWORD size = 0;
    if (::RegQueryValueExW(key.get(), name, nullptr, &value.type, nullptr, &size) != ERROR_SUCCESS) return value;
    value.bytes.resize(size);
    value.exists = ::RegQueryValueExW(key.get(), name, nullptr, nullptr, value.bytes.data(), &size) ==
                   ERROR_SUCCESS;
    return value;
  }
  static std::vector<std::uint8_t> TextBytes(const std::wstring& text) {
    const auto* bytes = reinterpret_cast<const std::uint8_t*>(text.c_str());
    return {bytes, bytes + (text.size() + 1) * 2};
  }
  // What reg.exe, another process, prints for a value.
  static std::string RegQuery(const std::wstring& key_path, const std::wstring& name) {
    return vexo::test::RunAndCapture(L"reg.exe query \"HKLM\\" + key_path + L"\" /v \"" + name + L"\"");
  }
  static std::wstring Read(const std::wstring& path, const wchar_t* default_text) {
    return ReadRegistryText(CWString(path.c_str()), CWConstString(default_text)).GetText();
  }

  std::wstring root_;
};

TEST_F(RegistryTest, ReadsStringsAndExpandsEnvironmentVariables) {
  PutText(root_, L"Plain", REG_SZ, L"C:\\Program Files (x86)");
  PutText(root_, L"Expanding", REG_EXPAND_SZ, L"%SystemRoot%\\system32");
  PutText(root_, L"Chinese", REG_SZ, L"Vexo助手 安装");
  wchar_t system_root[MAX_PATH] = {};
  ASSERT_NE(::GetEnvironmentVariableW(L"SystemRoot", system_root, MAX_PATH), 0u);

  EXPECT_EQ(Read(root_ + L"\\Plain", L"default"), L"C:\\Program Files (x86)");
  EXPECT_EQ(Read(root_ + L"\\Expanding", L"default"), std::wstring(system_root) + L"\\system32");
  EXPECT_EQ(Read(root_ + L"\\Chinese", L""), L"Vexo助手 安装");
}

TEST_F(RegistryTest, AnythingButAStringGivesTheDefault) {
  const DWORD number = 20480;
  const std::uint64_t wide_number = 1;
  const wchar_t multi[] = L"one\0two\0";
  const std::uint8_t binary[] = {'a', 0, 'b', 0, 0, 0};
  Put(root_, L"Number", REG_DWORD, &number, sizeof(number));
  Put(root_, L"WideNumber", REG_QWORD, &wide_number, sizeof(wide_number));
  Put(root_, L"Multi", REG_MULTI_SZ, multi, sizeof(multi));
  Put(root_, L"Binary", REG_BINARY, binary, sizeof(binary));
  for (const wchar_t* name : {L"Number", L"WideNumber", L"Multi", L"Binary", L"Missing"}) {
    SCOPED_TRACE(name);
    EXPECT_EQ(Read(root_ + L"\\" + name, L"默认值"), L"默认值");
  }
  EXPECT_EQ(Read(root_ + L"\\no such key\\Value", L"unchanged"), L"unchanged");
  EXPECT_EQ(Read(L"VexoNoSuchValueAtTheRoot", L"root default"), L"root default");
}

TEST_F(RegistryTest, EmptyStringIsNotTheDefault) {
  PutText(root_, L"Empty", REG_SZ, L"");
  Put(root_, L"NoBytes", REG_SZ, L"", 0);
  EXPECT_EQ(Read(root_ + L"\\Empty", L"default"), L"");
  EXPECT_EQ(Read(root_ + L"\\NoBytes", L"default"), L"");
}

TEST_F(RegistryTest, DataWithoutTerminatorIsReadWhole) {
  Put(root_, L"Unterminated", REG_SZ, L"abc", 6);
  const std::uint8_t odd[] = {'x', 0, 'y'};
  Put(root_, L"OddLength", REG_SZ, odd, sizeof(odd));
  EXPECT_EQ(Read(root_ + L"\\Unterminated", L"default"), L"abc");
  EXPECT_EQ(Read(root_ + L"\\OddLength", L"default"), L"xy");
}

TEST_F(RegistryTest, PathEndingInABackslashNamesTheDefaultValue) {
  PutText(root_, L"", REG_SZ, L"the key's own value");
  EXPECT_EQ(Read(root_ + L"\\", L"default"), L"the key's own value");

  const std::wstring key = root_ + L"\\Written";
  ASSERT_EQ(WriteRegistryText(CWString((key + L"\\").c_str()), CWString(L"unnamed")), 1);
  const StoredValue stored = Stored(key, L"");
  EXPECT_TRUE(stored.exists);
  EXPECT_EQ(stored.bytes, TextBytes(L"unnamed"));
}

TEST_F(RegistryTest, WritingTextCreatesMissingKeysAndStoresTheTerminator) {
  const std::wstring key = root_ + L"\\Uninstall\\VexoProxy";
  ASSERT_FALSE(KeyExists(root_));
  const std::pair<const wchar_t*, std::wstring> values[] = {
      {L"DisplayName", L"Vexo助手"},
      {L"InstallLocation", L"C:\\Program Files (x86)\\VexoProxy\\"},
      {L"Empty", L""},
  };
  for (const auto& [name, text] : values) {
    SCOPED_TRACE(name);
    EXPECT_EQ(WriteRegistryText(CWString((key + L"\\" + name).c_str()), CWString(text.c_str())), 1);
    const StoredValue stored = Stored(key, name);
    ASSERT_TRUE(stored.exists);
    EXPECT_EQ(stored.type, static_cast<DWORD>(REG_SZ));
    EXPECT_EQ(stored.bytes, TextBytes(text));
  }
  EXPECT_EQ(Stored(key, L"Empty").bytes.size(), 2u);

  const std::string listed = RegQuery(key, L"InstallLocation");
  EXPECT_NE(listed.find("REG_SZ"), std::string::npos) << listed;
  EXPECT_NE(listed.find("C:\\Program Files (x86)\\VexoProxy\\"), std::string::npos) << listed;
}

TEST_F(RegistryTest, WritingANumberStoresADword) {
  const std::wstring key = root_ + L"\\Uninstall\\VexoProxy";
  for (const std::uint32_t number : {20480u, 0u, 0xFFFFFFFFu}) {
    SCOPED_TRACE(number);
    EXPECT_EQ(WriteRegistryNumber(CWString((key + L"\\EstimatedSize").c_str()), number), 1);
    const StoredValue stored = Stored(key, L"EstimatedSize");
    ASSERT_TRUE(stored.exists);
    EXPECT_EQ(stored.type, static_cast<DWORD>(REG_DWORD));
    ASSERT_EQ(stored.bytes.size(), 4u);
    EXPECT_EQ(*reinterpret_cast<const std::uint32_t*>(stored.bytes.data()), number);
  }
  const std::string listed = RegQuery(key, L"EstimatedSize");
  EXPECT_NE(listed.find("REG_DWORD"), std::string::npos) << listed;
  EXPECT_NE(listed.find("0xffffffff"), std::string::npos) << listed;
  EXPECT_EQ(Read(key + L"\\EstimatedSize", L"not text"), L"not text");
}

TEST_F(RegistryTest, PathWithoutABackslashNamesAValueOfTheRootKey) {
  const std::wstring name = L"VexoSysTestRootValue" + std::to_wstring(::GetCurrentProcessId());
  const int written = WriteRegistryText(CWString(name.c_str()), CWString(L"at the root"));
  const StoredValue stored = Stored(L"", name.c_str());
  ::RegDeleteValueW(HKEY_LOCAL_MACHINE, name.c_str());
  EXPECT_EQ(written == 1, stored.exists) << "the result must tell whether the value was stored";
  if (stored.exists) {
    EXPECT_EQ(stored.bytes, TextBytes(L"at the root"));
  }
  EXPECT_FALSE(Stored(L"", name.c_str()).exists);
}

TEST_F(RegistryTest, KeyThatCannotBeCreatedGivesZero) {
  const std::wstring too_long_name(300, L'k');
  const std::wstring key = root_ + L"\\" + too_long_name;
  EXPECT_EQ(WriteRegistryText(CWString((key + L"\\Value").c_str()), CWString(L"x")), 0);
  EXPECT_EQ(WriteRegistryNumber(CWString((key + L"\\Value").c_str()), 1), 0);
  EXPECT_FALSE(KeyExists(key));
  EXPECT_EQ(Read(key + L"\\Value", L"default"), L"default");
}

TEST_F(RegistryTest, NoKeyStaysOpen) {
  const std::wstring key = root_ + L"\\Handles";
  PutText(key, L"Text", REG_SZ, L"x");
  Read(key + L"\\Text", L"");
  const int before = vexo::test::CountOpenHandles();
  for (int i = 0; i < 10; ++i) {
    Read(key + L"\\Text", L"");
    Read(key + L"\\Missing", L"");
    Read(key + L"\\Missing key\\Text", L"");
    WriteRegistryText(CWString((key + L"\\Text").c_str()), CWString(L"y"));
    WriteRegistryText(CWString((key + L"\\New key " + std::to_wstring(i) + L"\\Text").c_str()), CWString(L"y"));
    WriteRegistryNumber(CWString((key + L"\\Number").c_str()), 7);
  }
  EXPECT_EQ(vexo::test::CountOpenHandles(), before);
}

}  // namespace
