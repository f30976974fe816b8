// Process-wide connection settings of the network engine: whom TLS trusts and when a transfer or the
// search for the system proxy gives up.
#pragma once

#include <string>

namespace vexo::net {

// The installer keeps the defaults; test programs point the trust at their test CA and shorten the limits.
struct NetSettings {
  // PEM file (ANSI path) of the only CA certificates that TLS trusts, for servers and proxies alike;
  // empty: the Windows root store.
  std::string ca_file;
  // A connection that is not established within this time fails.
  long connect_timeout_ms = 30000;
  // A transfer that receives and sends nothing for this many seconds fails, however long it has run
  // (libcurl averages the speed over five seconds, so a stall is noticed up to that much later).
  long stall_timeout_s = 60;
  // Automatic proxy configuration (detection, fetching and running the script) that has not answered
  // within this time is given up, and the fixed proxy setting decides.
  long proxy_timeout_ms = 10000;
};

// The settings that requests started from now on use (a copy).
NetSettings GetNetSettings();
// Replaces the settings for requests started from now on; a request already running keeps its own.
void SetNetSettings(const NetSettings& settings);

}  // namespace vexo::net
