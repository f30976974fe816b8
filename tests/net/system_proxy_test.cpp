// The system proxy for real under wine: the current user's Internet settings are written into the prefix,
// SystemProxyFor reads them through WinHTTP, and a download with its answer goes through the test server's
// proxy listener (proxy-requests.log shows the CONNECT) or straight to the server.
// libcurl's headers bring winsock2.h, which must come before windows.h.
#include <winsock2.h>

#include "net/system_proxy.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <string>
#include <vector>

#include "net/net_access.h"
#include "net/net_settings.h"
#include "runtime/win/scoped_handles.h"
#include "tests/net/test_server_urls.h"
#include "tests/support/proxy_setting.h"

namespace vexo::net {
namespace {

using vexo::test::ProxySetting;
constexpr DWORD kDirect = vexo::test::kProxyDirect;
constexpr DWORD kUseProxy = vexo::test::kProxyUseServer;
constexpr DWORD kUseScript = vexo::test::kProxyUseScript;
using rg_Pelor_ShiChuang_WangLao::rg_WangLaoFangWenLei;
using rg_Pelor_ShiChuang_WangLao::rg_WangYeFangWenXiangYingLei;
using vexo::test::PatternBytes;
using vexo::test::ServerPort;
using vexo::test::ServerUrl;

// Where WinHTTP reads the current user's proxy setting: one binary value. (wine reads nothing else; the
// plain values ProxyEnable, ProxyServer, ProxyOverride and AutoConfigURL beside it are ignored.)
constexpr wchar_t kConnectionsKey[] = L"Software\\Microsoft\\Windows\\CurrentVersion\\Internet Settings\\Connections";
constexpr wchar_t kSettingsValue[] = L"DefaultConnectionSettings";
constexpr DWORD kSettingsVersion = 0x46;

std::wstring Wide(const std::string& ascii) { return std::wstring(ascii.begin(), ascii.end()); }
std::string Narrow(const std::wstring& ascii) { return std::string(ascii.begin(), ascii.end()); }

std::string ProxyListenerAddress() { return "127.0.0.1:" + std::to_string(ServerPort("proxy")); }
std::string DeadProxyAddress() { return "127.0.0.1:" + std::to_string(vexo::test::UnusedPort()); }

// An address on the plain listener whose script answers `result` for every URL; `tag` keeps addresses
// apart, since WinHTTP keeps a script (or the failure to get one) for a while.
std::string ScriptUrl(const std::string& result, const std::string& tag) {
  std::string path = "/pac/";
  for (char c : result) path += c == ' ' ? std::string("%20") : std::string(1, c);
  return ServerUrl("http", path + "?tag=" + tag);
}

// The script at ScriptUrl(result, tag) served by the proxy listener instead, which logs each request.
std::string LoggedScriptUrl(const std::string& result, const std::string& tag) {
  const std::string url = ScriptUrl(result, tag);
  return "http://127.0.0.1:" + std::to_string(ServerPort("proxy")) + url.substr(url.find("/pac/"));
}

int CountLines(const std::string& text, const std::string& line) {
  int count = 0;
  for (std::size_t at = text.find(line + "\n"); at != std::string::npos; at = text.find(line + "\n", at + 1)) {
    count += at == 0 || text[at - 1] == '\n';
  }
  return count;
}

class SystemProxyTest : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_TRUE(vexo::test::ServerIsRunning()) << "ctest starts the server (fixture net_http)";
    NetSettings settings;
    settings.ca_file = vexo::test::PkiFile("ca.pem");
    SetNetSettings(settings);
    DWORD disposition = 0;
    ASSERT_EQ(::RegCreateKeyExW(HKEY_CURRENT_USER, kConnectionsKey, 0, nullptr, 0, KEY_QUERY_VALUE | KEY_SET_VALUE,
                                nullptr, key_.receive(), &disposition),
              ERROR_SUCCESS);
    created_key_ = disposition == REG_CREATED_NEW_KEY;
    DWORD size = 0;
    had_value_ = ::RegQueryValueExW(key_.get(), kSettingsValue, nullptr, &saved_type_, nullptr, &size) ==
                 ERROR_SUCCESS;
    if (had_value_) {
      saved_value_.resize(size);
      ASSERT_EQ(::RegQueryValueExW(key_.get(), kSettingsValue, nullptr, &saved_type_, saved_value_.data(), &size),
                ERROR_SUCCESS);
    }
  }

  // The user's earlier setting comes back, or none when there was none.
  void TearDown() override {
    if (had_value_) {
      EXPECT_EQ(::RegSetValueExW(key_.get(), kSettingsValue, 0, saved_type_, saved_value_.data(),
                                 static_cast<DWORD>(saved_value_.size())),
                ERROR_SUCCESS);
    } else {
      ::RegDeleteValueW(key_.get(), kSettingsValue);
    }
    key_.reset();
    if (created_key_) ::RegDeleteKeyW(HKEY_CURRENT_USER, kConnectionsKey);
    SetNetSettings({});
  }

  void Set(const ProxySetting& setting) {
    std::vector<BYTE> bytes = vexo::test::EncodeProxySetting(setting);
    ASSERT_EQ(::RegSetValueExW(key_.get(), kSettingsValue, 0, REG_BINARY, bytes.data(),
                               static_cast<DWORD>(bytes.size())),
              ERROR_SUCCESS);
  }

  // Downloads from the TLS listener with `proxy`; true when the whole body came.
  bool Download(const std::wstring& proxy) {
    rg_WangLaoFangWenLei net;
    rg_WangYeFangWenXiangYingLei response = net.WebAccess(
        CWString(Wide(url_).c_str()), CWString(L"GET"), MakeNullObject<CPelMem>(),
        MakeNullObject<rg_Pelor_JiBen::rg_WenBenShuZuLei>(), CWString(), CWString(), CWString(proxy.c_str()),
        CWString(), CWString());
    const CPelMem& body = response.GetBody();
    return response.GetStatusCode() == 200 && body.GetLength() == static_cast<std::int32_t>(kBodySize) &&
           std::string(static_cast<const char*>(body.GetData()), kBodySize) == PatternBytes(0, kBodySize);
  }

  // How often the proxy listener was asked for a tunnel to the TLS listener so far.
  int TunnelsToServer() const {
    return CountLines(vexo::test::ServerStateText("proxy-requests.log"),
                      "CONNECT localhost:" + std::to_string(ServerPort("trusted")));
  }

  std::wstring ProxyFor() const { return SystemProxyFor(CWString(Wide(url_).c_str())).GetText(); }

  // Waits (up to 10 s) until the proxy listener has served the script at `script_url`; true when it has.
  bool WaitForFetch(const std::string& script_url) const {
    const std::string line = "GET " + script_url.substr(script_url.find("/pac/"));
    for (int wait = 0; wait < 100; ++wait) {
      if (CountLines(vexo::test::ServerStateText("proxy-requests.log"), line) > 0) return true;
      ::Sleep(100);
    }
    return false;
  }

  // The download goes through the proxy listener: SystemProxyFor names it and the tunnel is logged.
  void ExpectDownloadThroughProxyListener() {
    const std::wstring proxy = ProxyFor();
    EXPECT_EQ(proxy, Wide("http://" + ProxyListenerAddress()));
    const int tunnels = TunnelsToServer();
    EXPECT_TRUE(Download(proxy));
    EXPECT_EQ(TunnelsToServer(), tunnels + 1);
  }

  // The download goes straight to the server: no proxy, and no tunnel logged.
  void ExpectDirectDownload() {
    const std::wstring proxy = ProxyFor();
    EXPECT_EQ(proxy, L"");
    const int tunnels = TunnelsToServer();
    EXPECT_TRUE(Download(proxy));
    EXPECT_EQ(TunnelsToServer(), tunnels);
  }

  static constexpr std::size_t kBodySize = 100000;
  const std::string url_ = ServerUrl("trusted", "/bytes/" + std::to_string(kBodySize));

 private:
  vexo::win::ScopedRegKey key_;
  bool created_key_ = false;
  bool had_value_ = false;
  DWORD saved_type_ = REG_NONE;
  std::vector<BYTE> saved_value_;
};

TEST_F(SystemProxyTest, NoProxySetUpMeansADirectConnection) {
  Set({kDirect, "", "", ""});
  ExpectDirectDownload();
  // A server list kept while "use a proxy" is off does not count.
  Set({kDirect, DeadProxyAddress(), "", ""});
  ExpectDirectDownload();
}

TEST_F(SystemProxyTest, TheFixedProxyCarriesTheDownload) {
  const std::string proxy = ProxyListenerAddress();
  const std::string dead = DeadProxyAddress();
  const ProxySetting settings[] = {
      {kUseProxy, proxy, "", ""},
      {kDirect | kUseProxy, "http=" + dead + ";https=" + proxy, "*.internal.test;10.*;<-loopback>", ""},
      {kUseProxy, "ftp=" + dead + " http://" + proxy, "", ""},
  };
  for (const ProxySetting& setting : settings) {
    SCOPED_TRACE(setting.server_list + " bypassing " + setting.bypass_list);
    Set(setting);
    ExpectDownloadThroughProxyListener();
  }
}

TEST_F(SystemProxyTest, TheBypassListAndOtherSchemesEntriesSendTheDownloadDirect) {
  const std::string dead = DeadProxyAddress();
  const std::string port = std::to_string(ServerPort("trusted"));
  const ProxySetting settings[] = {
      {kUseProxy, dead, "localhost", ""},
      {kUseProxy, dead, "*.example;<local>", ""},
      {kUseProxy, dead, "LOCALHOST:" + port, ""},
      {kUseProxy, dead, "https://local*", ""},
      {kUseProxy, "http=" + dead + ";ftp=" + dead, "", ""},
  };
  for (const ProxySetting& setting : settings) {
    SCOPED_TRACE(setting.server_list + " bypassing " + setting.bypass_list);
    Set(setting);
    ExpectDirectDownload();
  }
}

TEST_F(SystemProxyTest, TheConfigurationScriptChoosesTheProxy) {
  Set({kUseScript, "", "", ScriptUrl("PROXY " + ProxyListenerAddress(), "chooses")});
  ExpectDownloadThroughProxyListener();
}

TEST_F(SystemProxyTest, TheScriptsAnswerWinsOverTheFixedProxy) {
  Set({kUseScript | kUseProxy, DeadProxyAddress(), "", ScriptUrl("DIRECT", "wins-direct")});
  ExpectDirectDownload();
  Set({kUseScript | kUseProxy, DeadProxyAddress(), "", ScriptUrl("PROXY " + ProxyListenerAddress(), "wins")});
  ExpectDownloadThroughProxyListener();
}

TEST_F(SystemProxyTest, WithoutAnAnswerFromTheScriptTheFixedProxyDecides) {
  NetSettings settings = GetNetSettings();
  settings.proxy_timeout_ms = 1000;
  SetNetSettings(settings);
  const std::string dead = DeadProxyAddress();
  const std::string scripts[] = {
      ServerUrl("http", "/status/404"),
      "http://127.0.0.1:" + std::to_string(vexo::test::UnusedPort()) + "/proxy.pac",
      // Answers a dead proxy only after the time allowed: waiting for it would lose the download.
      ScriptUrl("PROXY " + dead, "late") + "&delay=5",
  };
  for (const std::string& script : scripts) {
    SCOPED_TRACE(script);
    Set({kUseScript | kUseProxy, ProxyListenerAddress(), "", script});
    ExpectDownloadThroughProxyListener();
    Set({kUseScript, "", "", script});
    ExpectDirectDownload();
  }
}

TEST_F(SystemProxyTest, APreparationUnderSettingsReplacedSinceIsNotUsed) {
  struct Case {
    const char* what;
    ProxySetting now;
    bool through_proxy;
  };
  const Case cases[] = {
      {"another script", {kUseScript, "", "", ScriptUrl("PROXY " + ProxyListenerAddress(), "replaced")}, true},
      {"a fixed proxy", {kUseProxy, ProxyListenerAddress(), "", ""}, true},
      {"no proxy", {kDirect, "", "", ""}, false},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    const std::string before = LoggedScriptUrl("PROXY " + DeadProxyAddress(), "before-" + std::to_string(&c - cases));
    Set({kUseScript, "", "", before});
    PrepareSystemProxyFor(CWString(Wide(url_).c_str()));
    // The preparation has read the settings once it fetches their script.
    ASSERT_TRUE(WaitForFetch(before));
    Set(c.now);
    if (c.through_proxy) {
      ExpectDownloadThroughProxyListener();
    } else {
      ExpectDirectDownload();
    }
  }
}

TEST_F(SystemProxyTest, APreparationForAnotherAddressIsNotUsed) {
  // The script sends the other address direct and this one through the proxy listener.
  const std::string other = ServerUrl("trusted", "/small");
  Set({kUseScript, "", "", ScriptUrl("PROXY " + ProxyListenerAddress(), "per-address") + "&direct-for=/small"});
  PrepareSystemProxyFor(CWString(Wide(other).c_str()));
  ExpectDownloadThroughProxyListener();
  EXPECT_EQ(std::wstring(SystemProxyFor(CWString(Wide(other).c_str())).GetText()), L"");
}

TEST_F(SystemProxyTest, ACallWaitsForAPreparationOnlyAsLongAsForALookupOfItsOwn) {
  // The preparation may take its time; the call that follows may not.
  const std::string dead = DeadProxyAddress();
  Set({kUseScript | kUseProxy, ProxyListenerAddress(), "", ScriptUrl("PROXY " + dead, "prepared-late") + "&delay=5"});
  PrepareSystemProxyFor(CWString(Wide(url_).c_str()));
  NetSettings settings = GetNetSettings();
  settings.proxy_timeout_ms = 1000;
  SetNetSettings(settings);
  ExpectDownloadThroughProxyListener();
}

TEST_F(SystemProxyTest, UrlsItCannotSplitGoDirect) {
  Set({kUseProxy, ProxyListenerAddress(), "", ""});
  for (const wchar_t* url : {L"", L"ftp://localhost/x", L"not a url"}) {
    SCOPED_TRACE(Narrow(url));
    EXPECT_EQ(std::wstring(SystemProxyFor(CWString(url)).GetText()), L"");
  }
}

}  // namespace
}  // namespace vexo::net
