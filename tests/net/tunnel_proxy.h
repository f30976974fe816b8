// A CONNECT proxy on loopback for the tests: tunnels each client to the loopback port it asks for (whatever
// host it names) and records the request lines it received.
#pragma once

#include "runtime/win/scoped_socket.h"

#include <atomic>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

namespace vexo::test {

class TunnelProxy {
 public:
  // Listens on a free loopback port at once and serves each client on a thread of its own; port() is 0
  // when no port could be had. A request that is not "CONNECT host:port ..." gets 400.
  TunnelProxy();
  TunnelProxy(const TunnelProxy&) = delete;
  TunnelProxy& operator=(const TunnelProxy&) = delete;
  // Stops serving, ends the tunnels still open and waits for their threads.
  ~TunnelProxy();

  long port() const { return port_; }
  // The request lines received so far, in order ("CONNECT localhost:1234 HTTP/1.1").
  std::vector<std::string> request_lines() const;

 private:
  // Accepts clients until stopping; joins their tunnels before it returns.
  void Serve();
  // Reads one CONNECT request from `client` and relays between it and the target until either side closes
  // or the proxy stops.
  void Tunnel(win::ScopedSocket client);

  bool winsock_ = false;
  win::ScopedSocket listener_;
  long port_ = 0;
  std::atomic<bool> stopping_{false};
  mutable std::mutex mutex_;
  std::vector<std::string> request_lines_;
  std::thread thread_;
};

}  // namespace vexo::test
