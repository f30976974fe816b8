#include "sys/registry.h"

#include <string>
#include <vector>

#include "runtime/win/scoped_handles.h"
#include "runtime/win/windows_api.h"

namespace vexo::sys {

namespace {

struct RegistryPath {
  std::wstring key;
  std::wstring value;
};

RegistryPath Split(const CWString& path) {
  const std::wstring text = path.GetText();
  const std::size_t cut = text.rfind(L'\\');
  if (cut == std::wstring::npos) return {L"", text};
  return {text.substr(0, cut), text.substr(cut + 1)};
}

// The key opened for writing, or created with every missing key above it; empty when both fail.
win::ScopedRegKey OpenForWriting(const std::wstring& key_path) {
  win::ScopedRegKey key;
  if (::RegOpenKeyExW(HKEY_LOCAL_MACHINE, key_path.c_str(), 0, KEY_WRITE, key.receive()) == ERROR_SUCCESS) {
    return key;
  }
  HKEY created = nullptr;
  if (::RegCreateKeyW(HKEY_LOCAL_MACHINE, key_path.c_str(), &created) == ERROR_SUCCESS) key.reset(created);
  return key;
}

int WriteValue(const CWString& path, DWORD type, const void* data, DWORD size) {
  const RegistryPath where = Split(path);
  win::ScopedRegKey key = OpenForWriting(where.key);
  if (!key) return 0;
  const LONG status =
      ::RegSetValueExW(key.get(), where.value.c_str(), 0, type, static_cast<const BYTE*>(data), size);
  return status == ERROR_SUCCESS ? 1 : 0;
}

}  // namespace

CWString ReadRegistryText(const CWString& path, const CWString& default_text) {
  CWString result(default_text);
  const RegistryPath where = Split(path);
  win::ScopedRegKey key;
  if (::RegOpenKeyExW(HKEY_LOCAL_MACHINE, where.key.c_str(), 0, KEY_READ, key.receive()) != ERROR_SUCCESS) {
    return result;
  }
  DWORD type = REG_NONE;
  DWORD size = 0;
  if (::RegQueryValueExW(key.get(), where.value.c_str(), nullptr, &type, nullptr, &size) != ERROR_SUCCESS ||
      (type != REG_SZ && type != REG_EXPAND_SZ)) {
    return result;
  }
  // Zero units after the data terminate the string even when the stored data lacks its terminator or has
  // an odd number of bytes.
  std::vector<wchar_t> data(size / 2 + 2, L'\0');
  if (::RegQueryValueExW(key.get(), where.value.c_str(), nullptr, nullptr, reinterpret_cast<BYTE*>(data.data()),
                         &size) != ERROR_SUCCESS) {
    return result;
  }
  if (type == REG_EXPAND_SZ) {
    const DWORD needed = ::ExpandEnvironmentStringsW(data.data(), nullptr, 0);
    if (needed == 0) return result;
    std::vector<wchar_t> expanded(needed + 2, L'\0');
    if (::ExpandEnvironmentStringsW(data.data(), expanded.data(), needed + 1) == 0) return result;
    data.swap(expanded);
  }
  result.Clear();
  result.Append(data.data());
  return result;
}

int WriteRegistryText(const CWString& path, const CWString& text) {
  const DWORD size = static_cast<DWORD>(text.GetLength() + 1) * sizeof(wchar_t);
  return WriteValue(path, REG_SZ, text.GetText(), size);
}

int WriteRegistryNumber(const CWString& path, std::uint32_t number) {
  const DWORD value = number;
  return WriteValue(path, REG_DWORD, &value, sizeof(value));
}

}  // namespace vexo::sys
