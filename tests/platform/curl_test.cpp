// libcurl as built for this toolchain: TLS through Schannel and content decoding through zlib, checked
// against the loopback HTTPS server of the test fixture (https_server.py), whose listeners present
// certificates from the test CA, from an unrelated CA and for another host name.
#include <curl/curl.h>

#include <gtest/gtest.h>

#include <cstring>
#include <map>
#include <memory>
#include <optional>
#include <sstream>
#include <string>

#include "tests/platform/fixture_files.h"

namespace vexo::test {
namespace {

constexpr char kNestedMember[] = "nested/numbers.txt";

struct EasyCleanup {
  void operator()(CURL* easy) const { curl_easy_cleanup(easy); }
};
using Easy = std::unique_ptr<CURL, EasyCleanup>;

struct Response {
  CURLcode code = CURLE_FAILED_INIT;
  long status = 0;
  std::string headers;
  std::string body;
};

size_t Append(char* data, size_t size, size_t count, void* target) {
  static_cast<std::string*>(target)->append(data, size * count);
  return size * count;
}

std::string Narrow(const std::wstring& text) { return std::string(text.begin(), text.end()); }

// Listener name -> port, as the server wrote them; empty when the server is not running.
std::map<std::string, long> ServerPorts() {
  std::map<std::string, long> ports;
  std::optional<std::string> text = ReadWholeFile(L"" VEXO_TEST_HTTPS_STATE_DIR L"\\ports");
  if (!text) return ports;
  std::istringstream lines(*text);
  std::string name;
  long port = 0;
  while (lines >> name >> port) ports[name] = port;
  return ports;
}

class Curl : public ::testing::Test {
 protected:
  static void SetUpTestSuite() { ASSERT_EQ(curl_global_init(CURL_GLOBAL_ALL), CURLE_OK); }
  static void TearDownTestSuite() { curl_global_cleanup(); }

  void SetUp() override {
    ports_ = ServerPorts();
    ASSERT_EQ(ports_.size(), 3u) << "the HTTPS test server is not running; ctest starts it (fixture "
                                    "platform_https)";
  }

  // GET https://localhost:<port of listener><path>, trusting only the certificates in ca_file.
  Response Get(const std::string& listener, const std::string& path, const std::string& ca_file,
               bool accept_encoding = false) {
    Response response;
    Easy easy(curl_easy_init());
    if (!easy) return response;
    std::string url = "https://localhost:" + std::to_string(ports_[listener]) + path;
    std::string ca_path = Narrow(PkiPath(ca_file));
    curl_easy_setopt(easy.get(), CURLOPT_URL, url.c_str());
    curl_easy_setopt(easy.get(), CURLOPT_CAINFO, ca_path.c_str());
    curl_easy_setopt(easy.get(), CURLOPT_CONNECTTIMEOUT, 10L);
    curl_easy_setopt(easy.get(), CURLOPT_TIMEOUT, 60L);
    curl_easy_setopt(easy.get(), CURLOPT_WRITEFUNCTION, Append);
    curl_easy_setopt(easy.get(), CURLOPT_WRITEDATA, &response.body);
    curl_easy_setopt(easy.get(), CURLOPT_HEADERFUNCTION, Append);
    curl_easy_setopt(easy.get(), CURLOPT_HEADERDATA, &response.headers);
    if (accept_encoding) curl_easy_setopt(easy.get(), CURLOPT_ACCEPT_ENCODING, "");
    response.code = curl_easy_perform(easy.get());
    curl_easy_getinfo(easy.get(), CURLINFO_RESPONSE_CODE, &response.status);
    return response;
  }

  std::map<std::string, long> ports_;
};

TEST(CurlBuild, ReportsSchannelAndZlib) {
  const curl_version_info_data* info = curl_version_info(CURLVERSION_NOW);
  ASSERT_NE(info, nullptr);
  ASSERT_NE(info->ssl_version, nullptr);
  EXPECT_NE(std::strstr(info->ssl_version, "Schannel"), nullptr) << info->ssl_version;
  ASSERT_NE(info->libz_version, nullptr);
  EXPECT_GT(std::strlen(info->libz_version), 0u);
  EXPECT_NE(info->features & CURL_VERSION_SSL, 0);
  EXPECT_NE(info->features & CURL_VERSION_LIBZ, 0);
}

TEST_F(Curl, HttpsSucceedsOnlyForACertificateOfTheGivenCaAndHost) {
  struct Case {
    const char* listener;
    const char* ca_file;
    CURLcode code;
  };
  const Case cases[] = {
      {"trusted", "ca.pem", CURLE_OK},
      {"other-ca", "ca.pem", CURLE_PEER_FAILED_VERIFICATION},
      {"trusted", "other-ca.pem", CURLE_PEER_FAILED_VERIFICATION},
      {"other-host", "ca.pem", CURLE_PEER_FAILED_VERIFICATION},
  };
  std::optional<std::string> original = ReadWholeFile(FixturePath(std::string("package/") + kNestedMember));
  ASSERT_TRUE(original);
  for (const Case& c : cases) {
    SCOPED_TRACE(std::string(c.listener) + " listener, CA " + c.ca_file);
    Response response = Get(c.listener, std::string("/") + kNestedMember, c.ca_file);
    EXPECT_EQ(response.code, c.code) << curl_easy_strerror(response.code);
    if (c.code == CURLE_OK) {
      EXPECT_EQ(response.status, 200);
      EXPECT_EQ(response.body, *original);
    } else {
      EXPECT_TRUE(response.body.empty());
    }
  }
}

TEST_F(Curl, GzipBodyIsDecodedThroughZlib) {
  std::optional<std::string> original = ReadWholeFile(FixturePath(std::string("package/") + kNestedMember));
  ASSERT_TRUE(original);
  Response response = Get("trusted", std::string("/gzip/") + kNestedMember, "ca.pem", true);
  ASSERT_EQ(response.code, CURLE_OK) << curl_easy_strerror(response.code);
  EXPECT_EQ(response.status, 200);
  EXPECT_NE(response.headers.find("Content-Encoding: gzip"), std::string::npos) << response.headers;
  EXPECT_EQ(response.body, *original);
}

}  // namespace
}  // namespace vexo::test
