#include "net/system_proxy.h"

#include <windows.h>
#include <winhttp.h>

#include <chrono>
#include <condition_variable>
#include <memory>
#include <mutex>
#include <optional>
#include <string>
#include <system_error>
#include <thread>
#include <vector>

#include "net/net_settings.h"
#include "net/proxy_setting.h"
#include "runtime/win/scoped_winhttp.h"

namespace vexo::net {

namespace {

using vexo::win::ScopedGlobalText;
using vexo::win::ScopedInternet;

// The current user's Internet settings, as copies that a resolving thread can own.
struct UserProxySetting {
  bool auto_detect = false;
  std::wstring auto_config_url;
  std::wstring server_list;
  std::wstring bypass_list;

  bool operator==(const UserProxySetting& other) const {
    return auto_detect == other.auto_detect && auto_config_url == other.auto_config_url &&
           server_list == other.server_list && bypass_list == other.bypass_list;
  }
  bool operator!=(const UserProxySetting& other) const { return !(*this == other); }
  bool automatic() const { return auto_detect || !auto_config_url.empty(); }
};

using Clock = std::chrono::steady_clock;

std::wstring TextOf(const ScopedGlobalText& text) { return text ? std::wstring(text.get()) : std::wstring(); }

std::optional<UserProxySetting> ReadUserProxySetting() {
  WINHTTP_CURRENT_USER_IE_PROXY_CONFIG config{};
  if (!::WinHttpGetIEProxyConfigForCurrentUser(&config)) return std::nullopt;
  ScopedGlobalText auto_config_url(config.lpszAutoConfigUrl);
  ScopedGlobalText server_list(config.lpszProxy);
  ScopedGlobalText bypass_list(config.lpszProxyBypass);
  return UserProxySetting{config.fAutoDetect != FALSE, TextOf(auto_config_url), TextOf(server_list),
                          TextOf(bypass_list)};
}

// What automatic configuration of one kind says about the URL: its proxy, empty for a direct connection,
// or nothing when it has no answer.
std::optional<std::wstring> AskAutomaticConfiguration(HINTERNET session, const std::wstring& url,
                                                      const ProxyTarget& target,
                                                      WINHTTP_AUTOPROXY_OPTIONS options) {
  WINHTTP_PROXY_INFO info{};
  if (!::WinHttpGetProxyForUrl(session, url.c_str(), &options, &info)) return std::nullopt;
  ScopedGlobalText server_list(info.lpszProxy);
  ScopedGlobalText bypass_list(info.lpszProxyBypass);
  if (info.dwAccessType != WINHTTP_ACCESS_TYPE_NAMED_PROXY) return std::wstring();
  return FixedProxyFor(target, TextOf(server_list), TextOf(bypass_list));
}

WINHTTP_AUTOPROXY_OPTIONS AutoProxyOptions(DWORD flags, DWORD detect_flags, const wchar_t* script_url) {
  WINHTTP_AUTOPROXY_OPTIONS options{};
  options.dwFlags = flags;
  options.dwAutoDetectFlags = detect_flags;
  options.lpszAutoConfigUrl = script_url;
  // A configuration script on an intranet server may ask who the user is.
  options.fAutoLogonIfChallenged = TRUE;
  return options;
}

// Detection first, then the script's address, as the settings ask; the first answer holds.
std::optional<std::wstring> ResolveAutomatically(const UserProxySetting& setting, const std::wstring& url,
                                                 const ProxyTarget& target, int timeout_ms) {
  std::vector<WINHTTP_AUTOPROXY_OPTIONS> attempts;
  if (setting.auto_detect) {
    attempts.push_back(AutoProxyOptions(WINHTTP_AUTOPROXY_AUTO_DETECT,
                                        WINHTTP_AUTO_DETECT_TYPE_DHCP | WINHTTP_AUTO_DETECT_TYPE_DNS_A, nullptr));
  }
  if (!setting.auto_config_url.empty()) {
    attempts.push_back(AutoProxyOptions(WINHTTP_AUTOPROXY_CONFIG_URL, 0, setting.auto_config_url.c_str()));
  }
  ScopedInternet session(
      ::WinHttpOpen(L"Vexo", WINHTTP_ACCESS_TYPE_NO_PROXY, WINHTTP_NO_PROXY_NAME, WINHTTP_NO_PROXY_BYPASS, 0));
  if (!session) return std::nullopt;
  // Bounds each step of fetching the script; the caller's wait bounds the whole.
  ::WinHttpSetTimeouts(session.get(), timeout_ms, timeout_ms, timeout_ms, timeout_ms);
  for (const WINHTTP_AUTOPROXY_OPTIONS& options : attempts) {
    std::optional<std::wstring> proxy = AskAutomaticConfiguration(session.get(), url, target, options);
    if (proxy) return proxy;
  }
  return std::nullopt;
}

// The answer of automatic configuration, handed from the resolving thread to the waiting one. A prepared
// answer also carries the settings its thread read, so that the taker can tell whether they still hold.
struct PendingAnswer {
  std::mutex mutex;
  std::condition_variable arrived;
  std::optional<UserProxySetting> setting;
  bool setting_read = false;
  bool done = false;
  std::optional<std::wstring> proxy;
};

// Runs `resolve` (which returns the answer) on a detached thread that hands it to `pending`; false when no
// thread could be started.
template <typename Resolve>
bool StartResolving(const std::shared_ptr<PendingAnswer>& pending, Resolve resolve) {
  try {
    std::thread([pending, resolve] {
      std::optional<std::wstring> proxy = resolve(*pending);
      std::lock_guard<std::mutex> lock(pending->mutex);
      pending->proxy = std::move(proxy);
      pending->done = true;
      pending->arrived.notify_all();
    }).detach();
  } catch (const std::system_error&) {
    return false;
  }
  return true;
}

// ResolveAutomatically on a thread of its own, waited for until `deadline`: detection and script downloads
// can take far longer than a user waits. A thread that answers late ends by itself.
std::optional<std::wstring> ResolveWithin(const UserProxySetting& setting, const std::wstring& url,
                                          const ProxyTarget& target, int timeout_ms, Clock::time_point deadline) {
  auto pending = std::make_shared<PendingAnswer>();
  if (!StartResolving(pending, [setting, url, target, timeout_ms](PendingAnswer&) {
        return ResolveAutomatically(setting, url, target, timeout_ms);
      })) {
    return std::nullopt;
  }
  std::unique_lock<std::mutex> lock(pending->mutex);
  if (!pending->arrived.wait_until(lock, deadline, [&] { return pending->done; })) return std::nullopt;
  return pending->proxy;
}

// The preparation PrepareSystemProxyFor started last, until a SystemProxyFor call takes it.
struct Preparation {
  std::mutex mutex;
  std::wstring url;
  std::shared_ptr<PendingAnswer> pending;
};

Preparation& LastPreparation() {
  static Preparation preparation;
  return preparation;
}

// Takes the preparation for `url` out (so that it serves one call only); null when there is none for it.
std::shared_ptr<PendingAnswer> TakePreparation(const std::wstring& url) {
  Preparation& preparation = LastPreparation();
  std::lock_guard<std::mutex> lock(preparation.mutex);
  std::shared_ptr<PendingAnswer> pending = std::move(preparation.pending);
  if (preparation.url != url) pending.reset();
  return pending;
}

// Waits until `deadline` for the prepared answer; true, with the answer in `proxy`, when it came and was
// found with the settings that hold now.
bool PreparedAnswer(PendingAnswer& pending, const UserProxySetting& setting, Clock::time_point deadline,
                    std::optional<std::wstring>* proxy) {
  std::unique_lock<std::mutex> lock(pending.mutex);
  // Settings that changed since make the answer worthless: no need to wait for the rest of it.
  pending.arrived.wait_until(lock, deadline, [&] {
    return pending.done || (pending.setting_read && pending.setting != setting);
  });
  if (!pending.done || pending.setting != setting) return false;
  *proxy = pending.proxy;
  return true;
}

}  // namespace

CWString SystemProxyFor(const CWString& url) {
  const std::wstring address = url.GetText();
  ProxyTarget target;
  if (!ProxyTargetOf(address, &target)) return CWString();
  const std::shared_ptr<PendingAnswer> prepared = TakePreparation(address);
  std::optional<UserProxySetting> setting = ReadUserProxySetting();
  if (!setting) return CWString();
  if (setting->automatic()) {
    const int timeout_ms = static_cast<int>(GetNetSettings().proxy_timeout_ms);
    const Clock::time_point deadline = Clock::now() + std::chrono::milliseconds(timeout_ms);
    std::optional<std::wstring> automatic;
    // A preparation that used up the whole wait leaves no time for a lookup of the call's own.
    if ((!prepared || !PreparedAnswer(*prepared, *setting, deadline, &automatic)) && Clock::now() < deadline) {
      automatic = ResolveWithin(*setting, address, target, timeout_ms, deadline);
    }
    if (automatic) return CWString(automatic->c_str());
  }
  return CWString(FixedProxyFor(target, setting->server_list, setting->bypass_list).c_str());
}

void PrepareSystemProxyFor(const CWString& url) {
  const std::wstring address = url.GetText();
  ProxyTarget target;
  if (!ProxyTargetOf(address, &target)) return;
  const int timeout_ms = static_cast<int>(GetNetSettings().proxy_timeout_ms);
  auto pending = std::make_shared<PendingAnswer>();
  const bool started = StartResolving(pending, [address, target, timeout_ms](PendingAnswer& answer) {
    std::optional<UserProxySetting> setting = ReadUserProxySetting();
    {
      std::lock_guard<std::mutex> lock(answer.mutex);
      answer.setting = setting;
      answer.setting_read = true;
      answer.arrived.notify_all();
    }
    std::optional<std::wstring> proxy;
    if (setting && setting->automatic()) proxy = ResolveAutomatically(*setting, address, target, timeout_ms);
    return proxy;
  });
  Preparation& preparation = LastPreparation();
  std::lock_guard<std::mutex> lock(preparation.mutex);
  preparation.url = address;
  preparation.pending = started ? pending : nullptr;
}

}  // namespace vexo::net
