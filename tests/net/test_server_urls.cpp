#include "tests/net/test_server_urls.h"

#include <winsock2.h>

#include <cstdio>
#include <map>
#include <memory>

#include "tests/support/test_server.h"

namespace vexo::test {

namespace {

const std::map<std::string, long>& Ports() {
  static const std::map<std::string, long> ports = ReadServerPorts(L"" VEXO_NET_TEST_SERVER_DIR);
  return ports;
}

struct FileCloser {
  void operator()(std::FILE* file) const { std::fclose(file); }
};

// The bytes of a file, empty when it cannot be read.
std::string FileText(const std::string& path) {
  std::string text;
  std::unique_ptr<std::FILE, FileCloser> file(std::fopen(path.c_str(), "rb"));
  if (!file) return text;
  char chunk[4096];
  std::size_t got = 0;
  while ((got = std::fread(chunk, 1, sizeof(chunk), file.get())) > 0) text.append(chunk, got);
  return text;
}

}  // namespace

long ServerPort(const std::string& listener) {
  auto found = Ports().find(listener);
  return found == Ports().end() ? 0 : found->second;
}

std::string ServerUrl(const std::string& listener, const std::string& path) {
  long port = ServerPort(listener);
  if (port == 0) return std::string();
  std::string origin = listener == "http" ? "http://127.0.0.1:" : "https://localhost:";
  return origin + std::to_string(port) + path;
}

bool ServerIsRunning() {
  for (const char* listener : {"http", "trusted", "other-ca", "other-host", "proxy"}) {
    if (ServerPort(listener) == 0) return false;
  }
  return true;
}

long UnusedPort() {
  WSADATA wsa;
  if (::WSAStartup(MAKEWORD(2, 2), &wsa) != 0) return 0;
  long port = 0;
  SOCKET s = ::socket(AF_INET, SOCK_STREAM, IPPROTO_TCP);
  if (s != INVALID_SOCKET) {
    sockaddr_in address{};
    address.sin_family = AF_INET;
    address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    int length = sizeof(address);
    if (::bind(s, reinterpret_cast<sockaddr*>(&address), sizeof(address)) == 0 &&
        ::getsockname(s, reinterpret_cast<sockaddr*>(&address), &length) == 0) {
      port = ntohs(address.sin_port);
    }
    ::closesocket(s);
  }
  ::WSACleanup();
  return port;
}

std::string PkiFile(const std::string& name) { return VEXO_NET_TEST_PKI_DIR "\\" + name; }

std::string PatternBytes(std::size_t begin, std::size_t end) {
  std::string bytes;
  bytes.reserve(end - begin);
  for (std::size_t i = begin; i < end; ++i) bytes.push_back(static_cast<char>(i % 251));
  return bytes;
}

std::string FixtureText(const std::string& name) { return FileText(VEXO_NET_TEST_FIXTURE_DIR "\\" + name); }

std::string ServerStateText(const std::string& name) { return FileText(VEXO_NET_TEST_SERVER_DIR "\\" + name); }

}  // namespace vexo::test
