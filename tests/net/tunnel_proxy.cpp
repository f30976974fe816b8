#include "tests/net/tunnel_proxy.h"

#include <cstdlib>
#include <utility>

namespace vexo::test {

namespace {

// How long one wait for readable sockets lasts, so that a stop is seen soon.
constexpr long kPollMicroseconds = 100000;
// A request head longer than this is not one the tests send.
constexpr std::size_t kHeadLimit = 8192;

// Leaves in `sockets` those that became readable within one poll interval; false when none did.
bool Poll(fd_set& sockets) {
  timeval timeout{0, kPollMicroseconds};
  return ::select(0, &sockets, nullptr, nullptr, &timeout) > 0;
}

bool Readable(SOCKET s) {
  fd_set sockets;
  FD_ZERO(&sockets);
  FD_SET(s, &sockets);
  return Poll(sockets);
}

bool SendAll(SOCKET s, const char* data, std::size_t size) {
  while (size > 0) {
    const int sent = ::send(s, data, static_cast<int>(size), 0);
    if (sent <= 0) return false;
    data += sent;
    size -= static_cast<std::size_t>(sent);
  }
  return true;
}

bool SendAll(SOCKET s, const std::string& text) { return SendAll(s, text.data(), text.size()); }

// The port of "CONNECT host:port HTTP/1.1"; 0 for any other line.
long ConnectPort(const std::string& line) {
  const std::string method = "CONNECT ";
  if (line.compare(0, method.size(), method) != 0) return 0;
  const std::size_t end = line.find(' ', method.size());
  const std::size_t colon = line.rfind(':', end);
  if (end == std::string::npos || colon == std::string::npos || colon < method.size()) return 0;
  return std::strtol(line.substr(colon + 1, end - colon - 1).c_str(), nullptr, 10);
}

win::ScopedSocket ConnectLoopback(long port) {
  win::ScopedSocket s(::socket(AF_INET, SOCK_STREAM, IPPROTO_TCP));
  sockaddr_in address{};
  address.sin_family = AF_INET;
  address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
  address.sin_port = htons(static_cast<u_short>(port));
  if (s && ::connect(s.get(), reinterpret_cast<sockaddr*>(&address), sizeof(address)) != 0) s.reset();
  return s;
}

}  // namespace

TunnelProxy::TunnelProxy() {
  WSADATA wsa;
  winsock_ = ::WSAStartup(MAKEWORD(2, 2), &wsa) == 0;
  if (!winsock_) return;
  listener_.reset(::socket(AF_INET, SOCK_STREAM, IPPROTO_TCP));
  sockaddr_in address{};
  address.sin_family = AF_INET;
  address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
  int length = sizeof(address);
  if (!listener_ || ::bind(listener_.get(), reinterpret_cast<sockaddr*>(&address), sizeof(address)) != 0 ||
      ::listen(listener_.get(), SOMAXCONN) != 0 ||
      ::getsockname(listener_.get(), reinterpret_cast<sockaddr*>(&address), &length) != 0) {
    listener_.reset();
    return;
  }
  port_ = ntohs(address.sin_port);
  thread_ = std::thread(&TunnelProxy::Serve, this);
}

TunnelProxy::~TunnelProxy() {
  stopping_ = true;
  if (thread_.joinable()) thread_.join();
  listener_.reset();
  if (winsock_) ::WSACleanup();
}

std::vector<std::string> TunnelProxy::request_lines() const {
  std::lock_guard<std::mutex> lock(mutex_);
  return request_lines_;
}

void TunnelProxy::Serve() {
  std::vector<std::thread> tunnels;
  while (!stopping_) {
    if (!Readable(listener_.get())) continue;
    win::ScopedSocket client(::accept(listener_.get(), nullptr, nullptr));
    if (client) tunnels.emplace_back(&TunnelProxy::Tunnel, this, std::move(client));
  }
  for (std::thread& tunnel : tunnels) tunnel.join();
}

void TunnelProxy::Tunnel(win::ScopedSocket client) {
  char buffer[16384];
  std::string head;
  std::size_t head_end = std::string::npos;
  while ((head_end = head.find("\r\n\r\n")) == std::string::npos) {
    if (stopping_ || head.size() > kHeadLimit) return;
    if (!Readable(client.get())) continue;
    const int got = ::recv(client.get(), buffer, sizeof(buffer), 0);
    if (got <= 0) return;
    head.append(buffer, static_cast<std::size_t>(got));
  }
  const std::string line = head.substr(0, head.find("\r\n"));
  {
    std::lock_guard<std::mutex> lock(mutex_);
    request_lines_.push_back(line);
  }
  const long port = ConnectPort(line);
  win::ScopedSocket target = port > 0 ? ConnectLoopback(port) : win::ScopedSocket();
  if (!target) {
    SendAll(client.get(), "HTTP/1.1 400 Bad Request\r\nContent-Length: 0\r\n\r\n");
    return;
  }
  const std::string early = head.substr(head_end + 4);
  if (!SendAll(client.get(), "HTTP/1.1 200 Connection established\r\n\r\n") || !SendAll(target.get(), early)) {
    return;
  }
  const std::pair<SOCKET, SOCKET> directions[] = {{client.get(), target.get()}, {target.get(), client.get()}};
  while (!stopping_) {
    fd_set sockets;
    FD_ZERO(&sockets);
    FD_SET(client.get(), &sockets);
    FD_SET(target.get(), &sockets);
    if (!Poll(sockets)) continue;
    for (const auto& [from, to] : directions) {
      if (!FD_ISSET(from, &sockets)) continue;
      const int got = ::recv(from, buffer, sizeof(buffer), 0);
      if (got <= 0 || !SendAll(to, buffer, static_cast<std::size_t>(got))) return;
    }
  }
}

}  // namespace vexo::test
