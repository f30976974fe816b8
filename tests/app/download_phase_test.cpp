// The download phase against the loopback test server: a whole download becomes the file, and every
// failure is named and leaves no file that could pass for a package.
#include <winsock2.h>

#include <gtest/gtest.h>

#include <map>
#include <string>

#include "app/phases/download.h"
#include "net/net_access.h"
#include "tests/support/message_pump.h"
#include "tests/support/test_server.h"
#include "tests/sys/sys_test_support.h"

namespace {

using vexo::app::InstallFailure;
using vexo::app::InstallOutcome;
using vexo::test::IsFile;
using vexo::test::ReadWholeFile;

std::wstring TrustedUrl(const std::wstring& path) {
  static const std::map<std::string, long> ports = vexo::test::ReadServerPorts(L"" VEXO_APP_TEST_SERVER_DIR);
  auto found = ports.find("trusted");
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

class DownloadPhase : public ::testing::Test {
 protected:
  InstallOutcome Download(const std::wstring& url, const std::wstring& file) {
    InstallOutcome outcome;
    vexo::test::RunWhilePumping(
        [&] { outcome = vexo::app::DownloadPackage(net_, CWString(url.c_str()), CWString(file.c_str())); });
    return outcome;
  }
  std::wstring File() const { return scratch_.path() + L"installpack.zip"; }

  rg_Pelor_ShiChuang_WangLao::rg_WangLaoFangWenLei net_;
  vexo::test::ScratchFolder scratch_;
};

TEST_F(DownloadPhase, AWholeDownloadBecomesTheFileWithNothingLeftBeside) {
  ASSERT_FALSE(TrustedUrl(L"/").empty()) << "test server not running";
  ASSERT_TRUE(vexo::test::WriteWholeFile(File(), "stale package of an earlier run"));
  EXPECT_TRUE(Download(TrustedUrl(L"/bytes/300000"), File()).ok());
  EXPECT_EQ(ReadWholeFile(File()), Pattern(300000));
  EXPECT_FALSE(IsFile(File() + L".part"));
}

TEST_F(DownloadPhase, FailuresAreNamedAndLeaveNoPackageFile) {
  const std::wstring refused = L"https://localhost:" + std::to_wstring(UnusedPort()) + L"/installpack.zip";
  const struct {
    std::wstring url;
    InstallFailure failure;
    int status;
  } cases[] = {
      {TrustedUrl(L"/status/404"), InstallFailure::kHttpStatus, 404},
      {TrustedUrl(L"/status/500"), InstallFailure::kHttpStatus, 500},
      {TrustedUrl(L"/truncated"), InstallFailure::kConnectionLost, 0},
      {refused, InstallFailure::kNoConnection, 0},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(std::string(c.url.begin(), c.url.end()));
    ASSERT_TRUE(vexo::test::WriteWholeFile(File(), "stale package of an earlier run"));
    const InstallOutcome outcome = Download(c.url, File());
    EXPECT_EQ(outcome.failure, c.failure);
    EXPECT_EQ(outcome.http_status, c.status);
    EXPECT_FALSE(IsFile(File()));
    EXPECT_FALSE(IsFile(File() + L".part"));
  }
}

TEST_F(DownloadPhase, AFolderThatCannotBeWrittenIsADiskFailure) {
  const std::wstring file = scratch_.path() + L"no such folder\\installpack.zip";
  EXPECT_EQ(Download(TrustedUrl(L"/bytes/1000"), file).failure, InstallFailure::kDiskWrite);
  EXPECT_FALSE(IsFile(file));
}

}  // namespace
