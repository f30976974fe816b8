// Where the tests find the loopback HTTP/HTTPS test server (test_http_server.py) that their CTest fixture runs.
#pragma once

#include <map>
#include <string>

namespace vexo::test {

// Listener name ("http", "trusted", "other-ca", "other-host") -> port, read from the ports file in the
// server's state folder (a Windows path). Empty when the server is not running.
std::map<std::string, long> ReadServerPorts(const std::wstring& state_dir);

}  // namespace vexo::test
