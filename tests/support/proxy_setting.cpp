#include "tests/support/proxy_setting.h"

namespace vexo::test {

namespace {

constexpr wchar_t kConnectionsKey[] = L"Software\\Microsoft\\Windows\\CurrentVersion\\Internet Settings\\Connections";
constexpr wchar_t kSettingsValue[] = L"DefaultConnectionSettings";
constexpr DWORD kSettingsVersion = 0x46;

void AppendDword(std::vector<BYTE>* bytes, DWORD value) {
  const BYTE* first = reinterpret_cast<const BYTE*>(&value);
  bytes->insert(bytes->end(), first, first + sizeof(value));
}

void AppendCountedText(std::vector<BYTE>* bytes, const std::string& text) {
  AppendDword(bytes, static_cast<DWORD>(text.size()));
  bytes->insert(bytes->end(), text.begin(), text.end());
}

}  // namespace

std::vector<BYTE> EncodeProxySetting(const ProxySetting& setting) {
  std::vector<BYTE> bytes;
  AppendDword(&bytes, kSettingsVersion);
  AppendDword(&bytes, 1);
  AppendDword(&bytes, setting.flags);
  AppendCountedText(&bytes, setting.server_list);
  AppendCountedText(&bytes, setting.bypass_list);
  AppendCountedText(&bytes, setting.script_url);
  return bytes;
}

ScopedProxySetting::ScopedProxySetting(const ProxySetting& setting) {
  DWORD disposition = 0;
  if (::RegCreateKeyExW(HKEY_CURRENT_USER, kConnectionsKey, 0, nullptr, 0, KEY_QUERY_VALUE | KEY_SET_VALUE, nullptr,
                        &key_, &disposition) != ERROR_SUCCESS) {
    key_ = nullptr;
    return;
  }
  created_key_ = disposition == REG_CREATED_NEW_KEY;
  DWORD size = 0;
  had_value_ = ::RegQueryValueExW(key_, kSettingsValue, nullptr, &saved_type_, nullptr, &size) == ERROR_SUCCESS;
  if (had_value_) {
    saved_value_.resize(size);
    had_value_ = ::RegQueryValueExW(key_, kSettingsValue, nullptr, &saved_type_, saved_value_.data(), &size) ==
                 ERROR_SUCCESS;
  }
  const std::vector<BYTE> bytes = EncodeProxySetting(setting);
  ok_ = ::RegSetValueExW(key_, kSettingsValue, 0, REG_BINARY, bytes.data(), static_cast<DWORD>(bytes.size())) ==
        ERROR_SUCCESS;
}

ScopedProxySetting::~ScopedProxySetting() {
  if (key_ == nullptr) return;
  if (had_value_) {
    ::RegSetValueExW(key_, kSettingsValue, 0, saved_type_, saved_value_.data(),
                     static_cast<DWORD>(saved_value_.size()));
  } else {
    ::RegDeleteValueW(key_, kSettingsValue);
  }
  ::RegCloseKey(key_);
  if (created_key_) ::RegDeleteKeyW(HKEY_CURRENT_USER, kConnectionsKey);
}

}  // namespace vexo::test
