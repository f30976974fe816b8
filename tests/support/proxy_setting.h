// The current user's Windows proxy setting as WinHTTP reads it (under wine: only the binary
// DefaultConnectionSettings value under Internet Settings\Connections), written by tests.
#pragma once

#include <windows.h>

#include <string>
#include <vector>

namespace vexo::test {

// The setting's flags: always direct, or "use a proxy server", "use an automatic configuration script".
enum ProxySettingFlags : DWORD {
  kProxyDirect = 1,
  kProxyUseServer = 2,
  kProxyUseScript = 4,
};

struct ProxySetting {
  DWORD flags = kProxyDirect;
  std::string server_list;
  std::string bypass_list;
  std::string script_url;
};

// The value's bytes: version, change counter, flags, then the server list, the bypass list and the script
// address, each an ANSI text after its length.
std::vector<BYTE> EncodeProxySetting(const ProxySetting& setting);

// Writes a proxy setting for the current user and puts the earlier one back (or none) when destroyed.
class ScopedProxySetting {
 public:
  explicit ScopedProxySetting(const ProxySetting& setting);
  ~ScopedProxySetting();
  ScopedProxySetting(const ScopedProxySetting&) = delete;
  ScopedProxySetting& operator=(const ScopedProxySetting&) = delete;

  // Whether the setting was written.
  bool ok() const { return ok_; }

 private:
  HKEY key_ = nullptr;
  bool created_key_ = false;
  bool had_value_ = false;
  DWORD saved_type_ = REG_NONE;
  std::vector<BYTE> saved_value_;
  bool ok_ = false;
};

}  // namespace vexo::test
