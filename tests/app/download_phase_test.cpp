// The download phase against the loopback test server: a whole download becomes the file, a broken one
// is retried and resumed only where the bytes join, and every failure is named and leaves no file that
// could pass for a package.
#include <winsock2.h>

#include <gtest/gtest.h>

#include <map>
#include <optional>
#include <string>
#include <vector>

#include "app/phases/download.h"
#include "app/phases/package_hash.h"
#include "net/net_access.h"
#include "net/net_settings.h"
#include "tests/support/message_pump.h"
#include "tests/support/test_server.h"
#include "tests/sys/sys_test_support.h"

namespace {

using vexo::app::InstallFailure;
using vexo::app::InstallOutcome;
using vexo::test::IsFile;
using vexo::test::ReadWholeFile;

const std::wstring kServerDir = L"" VEXO_APP_TEST_SERVER_DIR;

std::wstring Url(const std::string& listener, const std::wstring& path) {
  static const std::map<std::string, long> ports = vexo::test::ReadServerPorts(kServerDir);
  auto found = ports.find(listener);
  return found == ports.end() ? std::wstring() : L"https://localhost:" + std::to_wstring(found->second) + path;
}

// A loopback port with no listener: bound, then closed again.
long UnusedPort() {
  WSADATA data;
  ::WSAStartup(MAKEWORD(2, 2), &data);
  SOCKET s = ::socket(AF_INET, SOCK_STREAM, IPPROTO_TCP);
  sockaddr_in address{};
  address.sin_family = AF_INET;
  address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
  ::bind(s, reinterpret_cast<sockaddr*>(&address), sizeof(address));
  int length = sizeof(address);
  ::getsockname(s, reinterpret_cast<sockaddr*>(&address), &length);
  ::closesocket(s);
  return ntohs(address.sin_port);
}

std::string Pattern(std::size_t size) {
  std::string bytes(size, '\0');
  for (std::size_t i = 0; i < size; ++i) bytes[i] = static_cast<char>(i % 251);
  return bytes;
}

void SetPackageMode(const std::string& mode) {
  vexo::test::WriteWholeFile(kServerDir + L"\\package-mode", mode);
  ::Sleep(400);
}

// The Range headers the package listener received since the log was cleared, in order ("" for none).
std::vector<std::string> RangesRequested() {
  std::vector<std::string> ranges;
  const std::string log = ReadWholeFile(kServerDir + L"\\package-requests.log");
  std::size_t begin = 0;
  for (std::size_t end = log.find('\n'); end != std::string::npos; begin = end + 1, end = log.find('\n', begin)) {
    const std::string line = log.substr(begin, end - begin);
    const std::size_t range = line.find("bytes=");
    ranges.push_back(range == std::string::npos ? "" : line.substr(range));
  }
  return ranges;
}

class DownloadPhase : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_FALSE(Url("trusted", L"/").empty()) << "test server not running";
    options_.retry_pauses_ms[0] = options_.retry_pauses_ms[1] = options_.retry_pauses_ms[2] = 10;
    options_.on_retry = [this](int retry, int retries) { retries_seen_.push_back(retry * 10 + retries); };
    options_.arrived_hash = &arrived_;
    ::DeleteFileW((kServerDir + L"\\package-requests.log").c_str());
  }
  void TearDown() override { SetPackageMode("ok"); }

  InstallOutcome Download(const std::wstring& url, const std::wstring& file) {
    InstallOutcome outcome;
    vexo::test::RunWhilePumping([&] {
      outcome = vexo::app::DownloadPackage(net_, CWString(url.c_str()), CWString(file.c_str()), options_);
    });
    return outcome;
  }
  std::wstring File() const { return scratch_.path() + L"installpack.zip"; }
  void ExpectNoLeftovers() {
    EXPECT_FALSE(IsFile(File() + L".part"));
    EXPECT_FALSE(IsFile(File() + L".piece"));
  }

  rg_Pelor_ShiChuang_WangLao::rg_WangLaoFangWenLei net_;
  vexo::app::DownloadOptions options_;
  std::vector<int> retries_seen_;
  std::optional<vexo::app::HashedPackage> arrived_;
  vexo::test::ScratchFolder scratch_;
};

// The SHA-256 of `bytes`, hashed in one piece.
vexo::app::HashedPackage HashOf(const std::string& bytes) {
  vexo::app::PackageHash hash;
  vexo::app::HashedPackage hashed;
  EXPECT_TRUE(hash.Add(bytes.data(), bytes.size()) && hash.Finish(hashed));
  return hashed;
}

TEST_F(DownloadPhase, AWholeDownloadBecomesTheFileWithNothingLeftBeside) {
  ASSERT_TRUE(vexo::test::WriteWholeFile(File(), "stale package of an earlier run"));
  EXPECT_TRUE(Download(Url("trusted", L"/bytes/300000"), File()).ok());
  EXPECT_EQ(ReadWholeFile(File()), Pattern(300000));
  EXPECT_TRUE(retries_seen_.empty());
  ExpectNoLeftovers();
  ASSERT_TRUE(arrived_.has_value()) << "a download in one attempt is hashed as it arrives";
  EXPECT_EQ(arrived_->bytes, 300000u);
  EXPECT_EQ(arrived_->sha256, HashOf(Pattern(300000)).sha256);
}

TEST_F(DownloadPhase, FailuresAreNamedAndLeaveNoPackageFile) {
  const std::wstring refused = L"https://localhost:" + std::to_wstring(UnusedPort()) + L"/installpack.zip";
  const struct {
    std::wstring url;
    InstallFailure failure;
    int status;
    bool retried;
  } cases[] = {
      {Url("trusted", L"/status/404"), InstallFailure::kHttpStatus, 404, false},
      {Url("trusted", L"/status/500"), InstallFailure::kHttpStatus, 500, false},
      {Url("trusted", L"/redirect/60"), InstallFailure::kTooManyRedirects, 0, false},
      {Url("other-ca", L"/bytes/1000"), InstallFailure::kSecureConnection, 0, false},
      {Url("other-host", L"/bytes/1000"), InstallFailure::kSecureConnection, 0, false},
      {Url("trusted", L"/truncated"), InstallFailure::kConnectionLost, 0, true},
      {refused, InstallFailure::kNoConnection, 0, true},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(std::string(c.url.begin(), c.url.end()));
    retries_seen_.clear();
    ASSERT_TRUE(vexo::test::WriteWholeFile(File(), "stale package of an earlier run"));
    const InstallOutcome outcome = Download(c.url, File());
    EXPECT_EQ(outcome.failure, c.failure);
    EXPECT_EQ(outcome.http_status, c.status);
    const std::vector<int> expected_retries = c.retried ? std::vector<int>{13, 23, 33} : std::vector<int>();
    EXPECT_EQ(retries_seen_, expected_retries);
    EXPECT_FALSE(IsFile(File()));
    ExpectNoLeftovers();
  }
}

TEST_F(DownloadPhase, AStallIsNoticedAndNamed) {
  vexo::net::NetSettings settings = vexo::net::GetNetSettings();
  const vexo::net::NetSettings saved = settings;
  settings.stall_timeout_s = 1;
  vexo::net::SetNetSettings(settings);
  SetPackageMode("stall");
  const InstallOutcome outcome = Download(Url("package", L"/installpack.zip"), File());
  vexo::net::SetNetSettings(saved);
  EXPECT_EQ(outcome.failure, InstallFailure::kStalled);
  EXPECT_FALSE(IsFile(File()));
  ExpectNoLeftovers();
}

// A drop at 40 % is retried; the bytes join only when the server continues exactly where they end.
TEST_F(DownloadPhase, ABrokenDownloadResumesOnlyWhereTheBytesJoin) {
  const std::string package = ReadWholeFile(L"" VEXO_APP_TEST_PACKAGE);
  ASSERT_GT(package.size(), 1000u);
  const std::string held = "bytes=" + std::to_string(package.size() * 2 / 5) + "-";
  const struct {
    const char* mode;
    std::vector<std::string> ranges;  // what the installer asked for, request by request
    bool hashed_as_it_arrived;        // the last attempt brought the whole package from its first byte
  } cases[] = {
      {"drop-once", {"", held}, false},
      {"drop-once-ignore-range", {"", held}, false},
      {"drop-once-wrong-start", {"", held, ""}, true},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.mode);
    SetPackageMode(c.mode);
    ::DeleteFileW((kServerDir + L"\\package-requests.log").c_str());
    retries_seen_.clear();
    arrived_ = HashOf("an earlier download's hash");
    EXPECT_TRUE(Download(Url("package", L"/installpack.zip"), File()).ok());
    EXPECT_TRUE(ReadWholeFile(File()) == package) << "the joined bytes are exactly the package";
    // Bytes that came in several attempts are hashed from the file afterwards, never from a partial hash.
    EXPECT_EQ(arrived_.has_value(), c.hashed_as_it_arrived);
    if (arrived_) {
      EXPECT_EQ(arrived_->sha256, HashOf(package).sha256);
    }
    EXPECT_EQ(RangesRequested(), c.ranges);
    EXPECT_EQ(retries_seen_.size(), c.ranges.size() - 1);
    ExpectNoLeftovers();
  }
}

TEST_F(DownloadPhase, AFolderThatCannotBeWrittenIsADiskFailure) {
  const std::wstring file = scratch_.path() + L"no such folder\\installpack.zip";
  EXPECT_EQ(Download(Url("trusted", L"/bytes/1000"), file).failure, InstallFailure::kDiskWrite);
  EXPECT_FALSE(IsFile(file));
}

}  // namespace
