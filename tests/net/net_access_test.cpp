// WebAccess against the loopback server: what goes out (seen by the echo endpoint), what comes back,
// TLS verification, progress, and bad input that must still give a complete response.
#include "net/net_access.h"

#include <gtest/gtest.h>
#include <psapi.h>

#include <atomic>
#include <cstdint>
#include <string>
#include <vector>

#include "net/net_settings.h"
#include "tests/support/message_pump.h"
#include "tests/net/progress_log.h"
#include "tests/net/recording_sink.h"
#include "tests/net/test_server_urls.h"

namespace rg_Pelor_ShiChuang_WangLao {
namespace {

using vexo::test::HandlerOwner;
using vexo::test::LogProgress;
using vexo::test::ProgressLog;
using vexo::test::RecordingSink;
using vexo::test::ServerUrl;
using vexo::test::UserValue;

// The arguments of one WebAccess call; defaults are what the installer passes.
struct Request {
  std::string url;
  std::wstring method = L"GET";
  CPelMem post_data = MakeNullObject<CPelMem>();
  rg_Pelor_JiBen::rg_WenBenShuZuLei headers = MakeNullObject<rg_Pelor_JiBen::rg_WenBenShuZuLei>();
  std::wstring cookie;
  CWString accept_encoding;
  std::wstring proxy, proxy_user, proxy_password;

  explicit Request(std::string address) : url(std::move(address)) {}
  Request& Post(const std::string& bytes) {
    post_data = CPelMem();
    post_data.AssignBytes(bytes.data(), static_cast<std::int32_t>(bytes.size()));
    return *this;
  }
};

CWString Text(const std::string& ascii) { return CWString(std::wstring(ascii.begin(), ascii.end()).c_str()); }
CWString Text(const std::wstring& text) { return CWString(text.c_str()); }

rg_WangYeFangWenXiangYingLei Send(rg_WangLaoFangWenLei& net, const Request& r) {
  return net.WebAccess(Text(r.url), Text(r.method), r.post_data, r.headers, Text(r.cookie), r.accept_encoding,
                       Text(r.proxy), Text(r.proxy_user), Text(r.proxy_password));
}

// The same request with its body going to `sink`.
rg_WangYeFangWenXiangYingLei SendTo(rg_WangLaoFangWenLei& net, const Request& r, vexo::net::BodySink* sink) {
  return net.WebAccess(Text(r.url), Text(r.method), r.post_data, r.headers, Text(r.cookie), r.accept_encoding,
                       Text(r.proxy), Text(r.proxy_user), Text(r.proxy_password), sink);
}

std::string Body(const rg_WangYeFangWenXiangYingLei& response) {
  const CPelMem& body = response.GetBody();
  return body.GetLength() > 0 ? std::string(static_cast<const char*>(body.GetData()), body.GetLength())
                              : std::string();
}

std::vector<std::wstring> Elements(const rg_Pelor_JiBen::rg_WenBenShuZuLei& array) {
  std::vector<std::wstring> elements;
  for (int i = 0; i < array.GetCount(); ++i) elements.emplace_back(array.GetAt(i));
  return elements;
}

bool Contains(const std::string& text, const std::string& part) { return text.find(part) != std::string::npos; }

int CountLinesStartingWith(const rg_WangYeFangWenXiangYingLei& response, const std::wstring& start) {
  int count = 0;
  for (const std::wstring& line : Elements(response.GetHeaderLines())) count += line.rfind(start, 0) == 0;
  return count;
}

class NetAccessTest : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_TRUE(vexo::test::ServerIsRunning()) << "ctest starts the server (fixture net_http)";
    vexo::net::NetSettings settings;
    settings.ca_file = vexo::test::PkiFile("ca.pem");
    vexo::net::SetNetSettings(settings);
  }
  void TearDown() override { vexo::net::SetNetSettings({}); }

  rg_WangLaoFangWenLei net_;
};

TEST_F(NetAccessTest, ASmallBodyArrivesWithEveryHeaderLine) {
  rg_WangYeFangWenXiangYingLei response = Send(net_, Request(ServerUrl("http", "/small")));
  EXPECT_EQ(response.GetStatusCode(), 200);
  EXPECT_EQ(Body(response), "Hello from the loopback server.\n");
  std::vector<std::wstring> lines = Elements(response.GetHeaderLines());
  ASSERT_GE(lines.size(), 3u);
  EXPECT_EQ(lines.front(), L"HTTP/1.1 200 OK\r\n");
  EXPECT_EQ(lines.back(), L"\r\n");  // the empty line that ends the header block
  EXPECT_EQ(CountLinesStartingWith(response, L"Content-Length: 32\r\n"), 1);
  EXPECT_EQ(response.GetRedirectCount(), 0);
  EXPECT_GT(response.GetTotalTime(), 0);
}

TEST_F(NetAccessTest, BodiesOfEveryShapeArriveWhole) {
  struct Case {
    const char* listener;
    std::string path;
    std::string body;
  };
  const Case cases[] = {
      {"http", "/bytes/3000000", vexo::test::PatternBytes(0, 3000000)},
      {"trusted", "/bytes/3000000", vexo::test::PatternBytes(0, 3000000)},
      {"http", "/chunked/1000000", vexo::test::PatternBytes(0, 1000000)},
      {"http", "/slow", vexo::test::PatternBytes(0, 10000)},
      {"http", "/bytes/0", ""},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(std::string(c.listener) + c.path);
    rg_WangYeFangWenXiangYingLei response = Send(net_, Request(ServerUrl(c.listener, c.path)));
    EXPECT_EQ(response.GetStatusCode(), 200);
    EXPECT_TRUE(Body(response) == c.body) << "body of " << response.GetBody().GetLength() << " bytes";
  }
}

TEST_F(NetAccessTest, ABodyOfAnnouncedLengthIsAllocatedOnce) {
  rg_WangYeFangWenXiangYingLei response = Send(net_, Request(ServerUrl("http", "/bytes/5000000")));
  ASSERT_EQ(response.GetBody().GetLength(), 5000000);
  EXPECT_EQ(response.GetBody().GetCapacity(), 5000001);
  EXPECT_EQ(response.GetBody().GetStep(), CPelMem::kDefaultStep);
}

TEST_F(NetAccessTest, AnAnnouncedLengthAloneNeverEndsTheProcess) {
  // Each response announces its length, sends 10 bytes and closes. Announcements up to 1 GiB are worth
  // reserving at once; most cannot be had in a 32-bit process and must not cost more than the request.
  const std::int64_t announcements[] = {400000000,  600000000,  800000000,     1073741824,
                                        1073741825, 2147483647, 4294967296LL, 1000000000000LL};
  for (std::int64_t announced : announcements) {
    SCOPED_TRACE(announced);
    rg_WangYeFangWenXiangYingLei response =
        Send(net_, Request(ServerUrl("http", "/announced/" + std::to_string(announced))));
    EXPECT_EQ(response.GetStatusCode(), 0);
    EXPECT_TRUE(Body(response) == vexo::test::PatternBytes(0, 10)) << response.GetBody().GetLength() << " bytes";
  }
  EXPECT_EQ(Send(net_, Request(ServerUrl("http", "/small"))).GetStatusCode(), 200) << "the object still works";
}

TEST_F(NetAccessTest, WithASinkTheBodyGoesOnlyToTheSinkAndAllElseIsAsUsual) {
  const std::string paths[] = {"/bytes/3000000", "/chunked/1000000", "/gzip/text.txt", "/redirect/2",
                               "/status/404", "/bytes/0"};
  for (const char* listener : {"http", "trusted"}) {
    for (const std::string& path : paths) {
      SCOPED_TRACE(std::string(listener) + path);
      Request request(ServerUrl(listener, path));
      rg_WangYeFangWenXiangYingLei in_memory = Send(net_, request);
      RecordingSink sink;
      rg_WangYeFangWenXiangYingLei sunk = SendTo(net_, request, &sink);
      EXPECT_EQ(sunk.GetStatusCode(), in_memory.GetStatusCode());
      EXPECT_TRUE(sink.bytes == Body(in_memory)) << sink.bytes.size() << " bytes";
      EXPECT_EQ(sunk.GetBody().GetLength(), 0);
      EXPECT_EQ(sunk.GetBody().GetCapacity(), 0);
      EXPECT_EQ(sunk.GetHeaderLines().GetCount(), in_memory.GetHeaderLines().GetCount());
      EXPECT_EQ(Elements(sunk.GetCookies()), Elements(in_memory.GetCookies()));
      EXPECT_EQ(sunk.GetRedirectCount(), in_memory.GetRedirectCount());
      EXPECT_GT(sunk.GetTotalTime(), 0);
    }
  }
}

TEST_F(NetAccessTest, ASinkThatRefusesOrABodyCutOffFailsWithWhatTheSinkTook) {
  struct Case {
    const char* name;
    std::string path;
    std::size_t limit;
    std::size_t least, most;  // bytes the sink holds at the end: the start of the body
  };
  const Case cases[] = {
      {"refuses the first block", "/bytes/3000000", 0, 0, 0},
      {"refuses after some blocks", "/bytes/3000000", 100000, 1, 100000},
      {"body cut off", "/truncated", std::string::npos, 40000, 40000},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    RecordingSink sink(c.limit);
    rg_WangYeFangWenXiangYingLei response = SendTo(net_, Request(ServerUrl("http", c.path)), &sink);
    EXPECT_EQ(response.GetStatusCode(), 0);
    EXPECT_EQ(response.GetBody().GetLength(), 0);
    EXPECT_EQ(CountLinesStartingWith(response, L"HTTP/1.1 200"), 1) << "the header had arrived";
    EXPECT_GE(sink.bytes.size(), c.least);
    EXPECT_LE(sink.bytes.size(), c.most);
    EXPECT_TRUE(sink.bytes == vexo::test::PatternBytes(0, sink.bytes.size()));
  }
  EXPECT_EQ(Send(net_, Request(ServerUrl("http", "/small"))).GetStatusCode(), 200) << "the object still works";
}

TEST_F(NetAccessTest, ProgressOfATransferToASinkIsReportedAsUsual) {
  HandlerOwner owner;
  ProgressLog progress;
  net_.GetProgressEvent().Bind(&LogProgress, owner.self, UserValue(progress));
  RecordingSink sink;
  rg_WangYeFangWenXiangYingLei response;
  vexo::test::RunWhilePumping([&] { response = SendTo(net_, Request(ServerUrl("http", "/slow")), &sink); });
  EXPECT_EQ(response.GetStatusCode(), 200);
  EXPECT_EQ(sink.bytes.size(), 10000u);
  ASSERT_GE(progress.threads.size(), 5u);
  for (DWORD thread : progress.threads) EXPECT_EQ(thread, ::GetCurrentThreadId());
  EXPECT_EQ(progress.last_total, 10000);
  EXPECT_EQ(progress.last_downloaded, 10000);
}

TEST_F(NetAccessTest, ErrorStatusesAreOrdinaryResultsWithTheirBodies) {
  for (int code : {404, 500}) {
    SCOPED_TRACE(code);
    rg_WangYeFangWenXiangYingLei response = Send(net_, Request(ServerUrl("http", "/status/" + std::to_string(code))));
    EXPECT_EQ(response.GetStatusCode(), code);
    EXPECT_EQ(Body(response), "status " + std::to_string(code) + " body\n");
  }
}

TEST_F(NetAccessTest, ARedirectChainIsFollowedAndEveryHopIsKept) {
  rg_WangYeFangWenXiangYingLei response = Send(net_, Request(ServerUrl("trusted", "/redirect/3")));
  EXPECT_EQ(response.GetStatusCode(), 200);
  EXPECT_EQ(Body(response), "end of the chain\n");
  EXPECT_EQ(response.GetRedirectCount(), 3);
  EXPECT_EQ(Elements(response.GetCookies()),
            (std::vector<std::wstring>{L"hop3=3; Path=/", L"hop2=2; Path=/", L"hop1=1; Path=/", L"hop0=0; Path=/"}));
  EXPECT_EQ(CountLinesStartingWith(response, L"HTTP/1.1 302"), 3);
  EXPECT_EQ(CountLinesStartingWith(response, L"HTTP/1.1 200"), 1);
  EXPECT_EQ(CountLinesStartingWith(response, L"\r\n"), 4);
  EXPECT_EQ(std::wstring(response.GetRedirectTarget().GetText()), L"/redirect/0\r\n");
}

TEST_F(NetAccessTest, ARedirectLoopEndsAsAFailure) {
  rg_WangYeFangWenXiangYingLei response = Send(net_, Request(ServerUrl("http", "/redirect/60")));
  EXPECT_EQ(response.GetStatusCode(), 0);
  EXPECT_EQ(response.GetRedirectCount(), 50);
}

TEST_F(NetAccessTest, RawSetCookieAndLocationLinesAreTakenApart) {
  rg_WangYeFangWenXiangYingLei response = Send(net_, Request(ServerUrl("http", "/cookies")));
  EXPECT_EQ(response.GetStatusCode(), 200);
  EXPECT_EQ(Elements(response.GetCookies()), (std::vector<std::wstring>{L"a=1; Path=/", L"b=2", L"=3"}));
  EXPECT_EQ(std::wstring(response.GetRedirectTarget().GetText()), L"/second\r\n");
}

TEST_F(NetAccessTest, AcceptedEncodingsDecideWhetherGzipIsAskedForAndDecoded) {
  const std::string text = vexo::test::FixtureText("text.txt");
  ASSERT_FALSE(text.empty());
  {
    SCOPED_TRACE("empty: every encoding, bodies decoded");
    Request request(ServerUrl("trusted", "/gzip/text.txt"));
    rg_WangYeFangWenXiangYingLei response = Send(net_, request);
    EXPECT_EQ(response.GetStatusCode(), 200);
    EXPECT_TRUE(Body(response) == text);
    request.url = ServerUrl("http", "/echo");
    EXPECT_TRUE(Contains(Body(Send(net_, request)), "Accept-Encoding: deflate, gzip"));
  }
  {
    SCOPED_TRACE("null object: none asked for, bodies as received");
    Request request(ServerUrl("trusted", "/gzip/text.txt"));
    request.accept_encoding = MakeNullObject<CWString>();
    rg_WangYeFangWenXiangYingLei response = Send(net_, request);
    EXPECT_EQ(response.GetStatusCode(), 200);
    std::string body = Body(response);
    ASSERT_GE(body.size(), 2u);
    EXPECT_EQ(body.substr(0, 2), "\x1f\x8b");
    EXPECT_LT(body.size(), text.size());
    request.url = ServerUrl("http", "/echo");
    EXPECT_FALSE(Contains(Body(Send(net_, request)), "Accept-Encoding"));
  }
}

TEST_F(NetAccessTest, RequestOptionsReachTheServer) {
  struct Case {
    const char* name;
    Request request;
    std::vector<std::string> present;
    std::vector<std::string> absent;
  };
  Request put(ServerUrl("http", "/echo"));
  put.method = L"PUT";
  put.Post("name=value");
  Request get_with_body(ServerUrl("http", "/echo"));
  get_with_body.Post("abc");
  Request empty_post(ServerUrl("http", "/echo"));
  empty_post.method = L"";
  empty_post.Post("");
  Request headers(ServerUrl("http", "/echo"));
  headers.headers = rg_Pelor_JiBen::rg_WenBenShuZuLei();
  headers.headers.Add(L"X-First: one");
  headers.headers.Add(L"X-Accent: caf\u00e9");
  headers.headers.Add(L"");
  headers.cookie = L"a=1; b=2";
  Request libcurl_method(ServerUrl("http", "/echo"));
  libcurl_method.method = L"";
  const Case cases[] = {
      {"installer's request", Request(ServerUrl("http", "/echo")), {"GET /echo HTTP/1.1\r\n"},
       {"Content-Length", "Cookie", "Content-Type"}},
      {"PUT with a body", put, {"PUT /echo HTTP/1.1\r\n", "Content-Length: 10\r\n", "\r\n\r\nname=value"}, {}},
      {"GET with a body", get_with_body, {"GET /echo HTTP/1.1\r\n", "Content-Length: 3\r\n", "\r\n\r\nabc"}, {}},
      {"empty body, libcurl's method", empty_post, {"POST /echo HTTP/1.1\r\n", "Content-Length: 0\r\n"}, {}},
      {"headers and cookie", headers, {"X-First: one\r\n", "X-Accent: caf\xe9\r\n", "Cookie: a=1; b=2\r\n"}, {}},
      {"no method, no body", libcurl_method, {"GET /echo HTTP/1.1\r\n"}, {"Content-Length"}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    rg_WangYeFangWenXiangYingLei response = Send(net_, c.request);
    ASSERT_EQ(response.GetStatusCode(), 200);
    std::string echo = Body(response);
    for (const std::string& part : c.present) EXPECT_TRUE(Contains(echo, part)) << part << " in\n" << echo;
    for (const std::string& part : c.absent) EXPECT_FALSE(Contains(echo, part)) << part << " in\n" << echo;
  }
  EXPECT_EQ(net_.GetTransfer().GetCurl().GetHeaderList(), nullptr) << "the last request had no headers";
}

TEST_F(NetAccessTest, AHeaderArrayBecomesAListWithOneEntryPerElement) {
  Request request(ServerUrl("http", "/echo"));
  request.headers = rg_Pelor_JiBen::rg_WenBenShuZuLei();
  request.headers.Add(L"X-Line: 1");
  request.headers.Add(L"");
  Send(net_, request);
  std::vector<std::string> entries;
  for (curl_slist* item = net_.GetTransfer().GetCurl().GetHeaderList(); item != nullptr; item = item->next) {
    entries.emplace_back(item->data);
  }
  EXPECT_EQ(entries, (std::vector<std::string>{"X-Line: 1", ""}));
}

TEST_F(NetAccessTest, ASecondRequestCarriesNothingOfTheFirst) {
  Request first(ServerUrl("http", "/echo"));
  first.method = L"POST";
  first.Post("first body");
  first.headers = rg_Pelor_JiBen::rg_WenBenShuZuLei();
  first.headers.Add(L"X-First: yes");
  first.cookie = L"first=1";
  std::string first_echo = Body(Send(net_, first));
  ASSERT_TRUE(Contains(first_echo, "X-First: yes"));
  ASSERT_TRUE(Contains(first_echo, "Cookie: first=1"));

  Request second(ServerUrl("http", "/echo"));
  second.method = L"";
  rg_WangYeFangWenXiangYingLei response = Send(net_, second);
  std::string echo = Body(response);
  EXPECT_TRUE(Contains(echo, "GET /echo HTTP/1.1\r\n")) << echo;
  for (const char* leftover : {"X-First", "Cookie", "Content-Length", "first body"}) {
    EXPECT_FALSE(Contains(echo, leftover)) << leftover << " in\n" << echo;
  }
  for (const std::wstring& line : Elements(response.GetHeaderLines())) {
    EXPECT_EQ(line.find(L"first"), std::wstring::npos);
  }
}

TEST_F(NetAccessTest, OnlyCertificatesOfTheTrustedCaForTheRightHostAreAccepted) {
  struct Case {
    const char* listener;
    int status;
  };
  const Case cases[] = {{"trusted", 200}, {"other-ca", 0}, {"other-host", 0}};
  for (const Case& c : cases) {
    SCOPED_TRACE(c.listener);
    rg_WangYeFangWenXiangYingLei response = Send(net_, Request(ServerUrl(c.listener, "/small")));
    EXPECT_EQ(response.GetStatusCode(), c.status);
    EXPECT_EQ(response.GetBody().GetLength(), c.status == 200 ? 32 : 0);
    if (c.status == 0) {
      EXPECT_EQ(response.GetHeaderLines().GetCount(), 0);
    }
  }
}

TEST_F(NetAccessTest, AProxyGetsTheRequestAndItsCredentials) {
  Request request("http://origin.vexo.test/echo");
  request.proxy = std::wstring(L"http://127.0.0.1:") +
                  std::to_wstring(std::stol(ServerUrl("http", "").substr(std::string("http://127.0.0.1:").size())));
  request.proxy_user = L"user";
  request.proxy_password = L"secret";
  std::string echo = Body(Send(net_, request));
  EXPECT_TRUE(Contains(echo, "GET http://origin.vexo.test/echo HTTP/1.1\r\n")) << echo;
  EXPECT_TRUE(Contains(echo, "Proxy-Authorization: Basic dXNlcjpzZWNyZXQ=\r\n")) << echo;  // user:secret
}

TEST_F(NetAccessTest, ProgressRunsOnTheConstructingThreadAndNeverAborts) {
  HandlerOwner owner;
  ProgressLog progress;
  progress.answer = 1;  // a network-level handler's result is ignored
  net_.GetProgressEvent().Bind(&LogProgress, owner.self, UserValue(progress));
  rg_WangYeFangWenXiangYingLei response;
  vexo::test::RunWhilePumping([&] { response = Send(net_, Request(ServerUrl("http", "/slow"))); });
  EXPECT_EQ(response.GetStatusCode(), 200);
  EXPECT_EQ(response.GetBody().GetLength(), 10000);
  ASSERT_GE(progress.threads.size(), 5u);
  for (DWORD thread : progress.threads) EXPECT_EQ(thread, ::GetCurrentThreadId());
  for (CPelObject* source : progress.sources) EXPECT_EQ(source, &net_);
  EXPECT_EQ(progress.last_downloaded, 10000);
}

TEST_F(NetAccessTest, ProgressOfADestroyedOwnerIsNotDelivered) {
  ProgressLog progress;
  {
    HandlerOwner owner;
    net_.GetProgressEvent().Bind(&LogProgress, owner.self, UserValue(progress));
  }
  EXPECT_EQ(Send(net_, Request(ServerUrl("http", "/slow"))).GetStatusCode(), 200);
  EXPECT_TRUE(progress.threads.empty());
}

TEST_F(NetAccessTest, FailedRequestsGiveACompleteResponseWithStatusZero) {
  struct Case {
    const char* name;
    std::string url;
    std::string body;  // what arrived before the failure
    CURLcode error;    // why, as libcurl says
  };
  const Case cases[] = {
      {"empty URL", "", "", CURLE_URL_MALFORMAT},
      {"malformed URL", "http://[::1", "", CURLE_URL_MALFORMAT},
      {"unsupported scheme", "gopherx://localhost/", "", CURLE_UNSUPPORTED_PROTOCOL},
      {"unresolvable host", "http://no-such-host.invalid/", "", CURLE_COULDNT_RESOLVE_HOST},
      {"refused connection", "http://127.0.0.1:" + std::to_string(vexo::test::UnusedPort()) + "/", "",
       CURLE_COULDNT_CONNECT},
      {"body broken off", ServerUrl("http", "/truncated"), vexo::test::PatternBytes(0, 40000), CURLE_PARTIAL_FILE},
      {"NUL byte in a header", ServerUrl("http", "/nul-header"), "", CURLE_WEIRD_SERVER_REPLY},
      {"too many redirects", ServerUrl("http", "/redirect/60"), "", CURLE_TOO_MANY_REDIRECTS},
      {"certificate of another CA", ServerUrl("other-ca", "/small"), "", CURLE_PEER_FAILED_VERIFICATION},
  };
  // A successful request first, so that nothing of it may show in the failures.
  ASSERT_EQ(Send(net_, Request(ServerUrl("http", "/redirect/2"))).GetRedirectCount(), 2);
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    rg_WangYeFangWenXiangYingLei response = Send(net_, Request(c.url));
    EXPECT_EQ(response.GetStatusCode(), 0);
    EXPECT_EQ(response.GetTransferError(), c.error);
    EXPECT_TRUE(Body(response) == c.body) << response.GetBody().GetLength() << " bytes";
    if (c.error != CURLE_TOO_MANY_REDIRECTS) {
      EXPECT_EQ(response.GetCookies().GetCount(), 0);
    }
  }
  EXPECT_EQ(Send(net_, Request(ServerUrl("http", "/small"))).GetTransferError(), CURLE_OK);
  rg_WangYeFangWenXiangYingLei empty = Send(net_, Request(""));
  EXPECT_EQ(empty.GetHeaderLines().GetCount(), 0);
  EXPECT_EQ(empty.GetRedirectCount(), 0);
  EXPECT_EQ(Send(net_, Request(ServerUrl("http", "/small"))).GetStatusCode(), 200) << "the object still works";
}

TEST_F(NetAccessTest, AStalledTransferEndsAfterTheStallTime) {
  vexo::net::NetSettings settings = vexo::net::GetNetSettings();
  settings.stall_timeout_s = 2;
  vexo::net::SetNetSettings(settings);
  DWORD start = ::GetTickCount();
  rg_WangYeFangWenXiangYingLei response = Send(net_, Request(ServerUrl("http", "/stall")));
  DWORD elapsed = ::GetTickCount() - start;
  EXPECT_EQ(response.GetStatusCode(), 0);
  EXPECT_EQ(response.GetBody().GetLength(), 100);
  // libcurl averages the speed over its last five seconds, so the stall shows that much later.
  EXPECT_GE(elapsed, 1500u);
  EXPECT_LT(elapsed, 15000u);
}

TEST_F(NetAccessTest, OddHeaderBytesAndInvalidUtf8BodiesAreHandled) {
  rg_WangYeFangWenXiangYingLei ansi = Send(net_, Request(ServerUrl("http", "/ansi-header")));
  EXPECT_EQ(ansi.GetStatusCode(), 200);
  // Decoded with the ANSI code page (not UTF-8); under another code page than 1252 the byte E9 starts a
  // broken double-byte sequence, which must still give the line.
  EXPECT_EQ(CountLinesStartingWith(ansi, ::GetACP() == 1252 ? L"X-Name: caf\u00e9\r\n" : L"X-Name: caf"), 1);
  EXPECT_EQ(CountLinesStartingWith(ansi, L"X-Undefined: "), 1);

  rg_WangYeFangWenXiangYingLei invalid = Send(net_, Request(ServerUrl("http", "/invalid-utf8")));
  EXPECT_EQ(invalid.GetStatusCode(), 200);
  EXPECT_EQ(Body(invalid), "abc\xff\xfe" "def");
  CWString text;
  invalid.DumpTo(text, 0);
  EXPECT_EQ(std::wstring(text.GetText()), L"abc");
}

// Private bytes and kernel handles of the process.
std::pair<std::size_t, DWORD> ProcessUsage() {
  PROCESS_MEMORY_COUNTERS counters{};
  counters.cb = sizeof(counters);
  ::GetProcessMemoryInfo(::GetCurrentProcess(), &counters, sizeof(counters));
  DWORD handles = 0;
  ::GetProcessHandleCount(::GetCurrentProcess(), &handles);
  return {counters.PagefileUsage, handles};
}

TEST_F(NetAccessTest, RepeatedRequestsAndObjectsLeakNothing) {
  Request with_everything(ServerUrl("trusted", "/redirect/2"));
  with_everything.method = L"POST";
  with_everything.Post(std::string(3000, 'p'));
  with_everything.headers = rg_Pelor_JiBen::rg_WenBenShuZuLei();
  with_everything.headers.Add(L"X-Extra: 1");
  with_everything.cookie = L"c=1";
  const Request requests[] = {with_everything, Request(ServerUrl("http", "/bytes/300000")),
                              Request(ServerUrl("other-ca", "/small")), Request(ServerUrl("http", "/truncated")),
                              Request("http://[::1")};
  auto round = [&] {
    rg_WangLaoFangWenLei net;
    HandlerOwner owner;
    ProgressLog progress;
    net.GetProgressEvent().Bind(&LogProgress, owner.self, UserValue(progress));
    for (const Request& request : requests) Send(net, request);
  };
  for (int i = 0; i < 3; ++i) round();  // libcurl's and wine's one-time allocations
  std::pair<std::size_t, DWORD> before = ProcessUsage();
  for (int i = 0; i < 30; ++i) round();
  std::pair<std::size_t, DWORD> after = ProcessUsage();
  EXPECT_LT(after.first, before.first + 2 * 1024 * 1024) << "private bytes grew by " << (after.first - before.first);
  EXPECT_LE(after.second, before.second + 5) << "handles";
}

TEST(AnsiBytes, ConvertsToTheAnsiCodePageWithoutTerminator) {
  struct Case {
    const wchar_t* text;
    std::string bytes;
  };
  const Case cases[] = {
      {L"", ""},
      {L"a=1&b=2", "a=1&b=2"},
      {L"caf\u00e9", "caf\xe9"},
      {L"\u4e2d", "?"},  // not in cp1252: the code page's default character
  };
  for (const Case& c : cases) {
    CPelMem bytes = rg_WangLaoFangWenLei::AnsiBytes(CWString(c.text));
    std::string got = bytes.GetLength() > 0 ? std::string(static_cast<const char*>(bytes.GetData()), bytes.GetLength())
                                            : std::string();
    EXPECT_EQ(got, c.bytes);
    EXPECT_FALSE(bytes.IsNullObject());
  }
}

TEST_F(NetAccessTest, CopiesShareTheHandleButKeepTheirOwnEventAndIdentity) {
  HandlerOwner owner;
  ProgressLog progress;
  net_.GetProgressEvent().Bind(&LogProgress, owner.self, UserValue(progress));
  auto* clone = static_cast<rg_WangLaoFangWenLei*>(net_.Clone());
  EXPECT_EQ(clone->GetTransfer().GetHolder(), net_.GetTransfer().GetHolder());
  EXPECT_NE(clone->GetSelfPointer(), net_.GetSelfPointer());
  EXPECT_FALSE(clone->IsEqual(net_));
  EXPECT_TRUE(net_.IsEqual(net_));
  EXPECT_EQ(Send(*clone, Request(ServerUrl("http", "/slow"))).GetStatusCode(), 200);
  EXPECT_TRUE(progress.threads.empty()) << "the clone's event is its own and empty";
  clone->Release();

  rg_WangLaoFangWenLei other;
  other.CopyFrom(net_);
  EXPECT_EQ(other.GetTransfer().GetHolder(), net_.GetTransfer().GetHolder());
  net_.Reset();
  EXPECT_NE(other.GetTransfer().GetHolder(), net_.GetTransfer().GetHolder());
  EXPECT_EQ(Send(net_, Request(ServerUrl("http", "/slow"))).GetStatusCode(), 200);
  EXPECT_FALSE(progress.threads.empty()) << "Reset keeps the progress binding";
}

}  // namespace
}  // namespace rg_Pelor_ShiChuang_WangLao
