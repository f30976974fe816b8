// URLs of the loopback test server that the net tests' CTest fixture (net_http) runs.
#pragma once

#include <cstddef>
#include <string>

namespace vexo::test {

// "http://127.0.0.1:<port>" + path on the plain listener, or "https://localhost:<port>" + path on a TLS
// listener ("trusted", "other-ca", "other-host"). Empty when the server is not running.
std::string ServerUrl(const std::string& listener, const std::string& path);

// Whether the fixture's server is running (all five listeners have ports).
bool ServerIsRunning();

// The port of a listener ("http", "trusted", ..., "proxy"); 0 when the server is not running.
long ServerPort(const std::string& listener);

// The content of a file in the server's state folder (its logs), empty when there is none.
std::string ServerStateText(const std::string& name);

// A loopback port on which nothing listens (taken and closed again), for refused connections.
long UnusedPort();

// Windows path of a file of the test PKI.
std::string PkiFile(const std::string& name);

// The bytes the server generates for /bytes/N and /chunked/N: byte i is i mod 251.
std::string PatternBytes(std::size_t begin, std::size_t end);

// The content of a file in tests/net/fixtures.
std::string FixtureText(const std::string& name);

}  // namespace vexo::test
