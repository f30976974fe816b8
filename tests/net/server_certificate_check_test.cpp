// Certificate checks of WebAccess when TLS trusts the Windows root store (the prefix holds the test CA
// there, and wine's Schannel accepts any certificate), against the loopback server's listeners: which
// servers are accepted, that a refused one delivers nothing, over kept connections, redirects and a proxy
// tunnel; and that a trust file gives the same verdicts.
#include "tests/net/tunnel_proxy.h"

#include <gtest/gtest.h>

#include <string>
#include <utility>
#include <vector>

#include "net/net_access.h"
#include "net/net_settings.h"
#include "net/server_certificate_check.h"
#include "tests/net/recording_sink.h"
#include "tests/net/test_server_urls.h"

namespace rg_Pelor_ShiChuang_WangLao {
namespace {

using vexo::test::RecordingSink;
using vexo::test::ServerUrl;

// What a request to /small must end in.
struct Outcome {
  int status;
  CURLcode error;
  std::string body;
};
const Outcome kAccepted{200, CURLE_OK, "Hello from the loopback server.\n"};
const Outcome kRefused{0, CURLE_PEER_FAILED_VERIFICATION, ""};

CWString Text(const std::string& ascii) { return CWString(std::wstring(ascii.begin(), ascii.end()).c_str()); }

// A GET as the installer makes it, through `proxy` when it is not empty, the body going to `sink` if any.
rg_WangYeFangWenXiangYingLei Get(rg_WangLaoFangWenLei& net, const std::string& url,
                                 vexo::net::BodySink* sink = nullptr, const std::string& proxy = "") {
  return net.WebAccess(Text(url), Text("GET"), MakeNullObject<CPelMem>(),
                       MakeNullObject<rg_Pelor_JiBen::rg_WenBenShuZuLei>(), CWString(), CWString(), Text(proxy),
                       CWString(), CWString(), sink);
}

std::string Body(const rg_WangYeFangWenXiangYingLei& response, const RecordingSink* sink) {
  if (sink != nullptr) return sink->bytes;
  const CPelMem& body = response.GetBody();
  return body.GetLength() > 0 ? std::string(static_cast<const char*>(body.GetData()), body.GetLength())
                              : std::string();
}

std::vector<std::wstring> HeaderLines(const rg_WangYeFangWenXiangYingLei& response) {
  std::vector<std::wstring> lines;
  const rg_Pelor_JiBen::rg_WenBenShuZuLei& array = response.GetHeaderLines();
  for (int i = 0; i < array.GetCount(); ++i) lines.emplace_back(array.GetAt(i));
  return lines;
}

// Checks `response` (whose body went to `sink` when it is not null) against `expected`. A refused request
// must have received nothing from the server: no body byte and no header line but those of `proxy_reply`,
// a proxy's answer to CONNECT.
void ExpectOutcome(const rg_WangYeFangWenXiangYingLei& response, const RecordingSink* sink, const Outcome& expected,
                   const std::vector<std::wstring>& proxy_reply = {}) {
  EXPECT_EQ(response.GetStatusCode(), expected.status);
  EXPECT_EQ(response.GetTransferError(), expected.error);
  EXPECT_EQ(Body(response, sink), expected.body);
  if (expected.status != 0) return;
  EXPECT_EQ(HeaderLines(response), proxy_reply);
  EXPECT_EQ(response.GetBody().GetLength(), 0);
  if (sink != nullptr) {
    EXPECT_EQ(sink->calls, 0);
  }
}

class ServerCertificateCheckTest : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_TRUE(vexo::test::ServerIsRunning()) << "ctest starts the server (fixture net_http)";
    vexo::net::SetNetSettings({});  // trust the Windows root store, as the installer does
  }
  void TearDown() override { vexo::net::SetNetSettings({}); }
};

TEST_F(ServerCertificateCheckTest, PreparingTheChecksChangesNoVerdictEvenWhileItRuns) {
  vexo::net::PrepareServerChecks();
  vexo::net::PrepareServerChecks();
  const std::pair<const char*, const Outcome&> listeners[] = {
      {"other-ca", kRefused}, {"trusted", kAccepted}, {"other-host", kRefused}, {"trusted", kAccepted}};
  rg_WangLaoFangWenLei net;
  for (const auto& [listener, outcome] : listeners) {
    SCOPED_TRACE(listener);
    ExpectOutcome(Get(net, ServerUrl(listener, "/small")), nullptr, outcome);
  }
}

TEST_F(ServerCertificateCheckTest, OnlyTheTrustedCaForTheRightHostIsAcceptedWithEitherTrust) {
  struct Listener {
    const char* name;
    const Outcome& outcome;
  };
  const Listener listeners[] = {
      {"http", kAccepted}, {"trusted", kAccepted}, {"other-ca", kRefused}, {"other-host", kRefused}};
  for (const char* ca_file : {"", "ca.pem"}) {
    vexo::net::NetSettings settings;
    if (*ca_file != '\0') settings.ca_file = vexo::test::PkiFile(ca_file);
    vexo::net::SetNetSettings(settings);
    for (const Listener& listener : listeners) {
      for (bool to_sink : {false, true}) {
        SCOPED_TRACE(std::string(listener.name) + (*ca_file ? " trusting ca.pem" : " trusting the root store") +
                     (to_sink ? ", body to a sink" : ", body in memory"));
        rg_WangLaoFangWenLei net;
        RecordingSink sink;
        RecordingSink* target = to_sink ? &sink : nullptr;
        ExpectOutcome(Get(net, ServerUrl(listener.name, "/small"), target), target, listener.outcome);
      }
    }
  }
}

TEST_F(ServerCertificateCheckTest, EveryRequestOnOneObjectGetsItsOwnVerdict) {
  // One easy handle throughout: kept connections, a redirect chain over one of them, refusals between.
  struct Step {
    const char* listener;
    std::string path;
    int redirects;
    const Outcome& outcome;
  };
  const Outcome chain_end{200, CURLE_OK, "end of the chain\n"};
  const Step steps[] = {
      {"trusted", "/small", 0, kAccepted},
      {"trusted", "/small", 0, kAccepted},
      {"trusted", "/redirect/3", 3, chain_end},
      {"other-host", "/small", 0, kRefused},
      {"trusted", "/small", 0, kAccepted},
      {"other-ca", "/small", 0, kRefused},
      {"other-ca", "/small", 0, kRefused},
      {"http", "/small", 0, kAccepted},
      {"trusted", "/small", 0, kAccepted},
  };
  rg_WangLaoFangWenLei net;
  int index = 0;
  for (const Step& step : steps) {
    SCOPED_TRACE("step " + std::to_string(index++) + ": " + step.listener + step.path);
    rg_WangYeFangWenXiangYingLei response = Get(net, ServerUrl(step.listener, step.path));
    ExpectOutcome(response, nullptr, step.outcome);
    EXPECT_EQ(response.GetRedirectCount(), step.redirects);
  }
}

TEST_F(ServerCertificateCheckTest, ThroughAProxyTheTargetsCertificateIsCheckedForTheTargetsHost) {
  vexo::test::TunnelProxy proxy;
  ASSERT_NE(proxy.port(), 0);
  const std::string proxy_url = "http://127.0.0.1:" + std::to_string(proxy.port());
  struct Case {
    const char* listener;
    const Outcome& outcome;
  };
  const Case cases[] = {{"trusted", kAccepted}, {"other-ca", kRefused}, {"other-host", kRefused}};
  rg_WangLaoFangWenLei net;
  std::vector<std::string> expected_lines;
  for (const Case& c : cases) {
    SCOPED_TRACE(c.listener);
    const std::string origin = ServerUrl(c.listener, "");  // https://localhost:PORT
    ExpectOutcome(Get(net, origin + "/small", nullptr, proxy_url), nullptr, c.outcome,
                  {L"HTTP/1.1 200 Connection established\r\n", L"\r\n"});
    expected_lines.push_back("CONNECT " + origin.substr(std::string("https://").size()) + " HTTP/1.1");
  }
  EXPECT_EQ(proxy.request_lines(), expected_lines) << "every request went through the proxy";
}

}  // namespace
}  // namespace rg_Pelor_ShiChuang_WangLao
