// The rules of a Windows proxy setting: which server of a proxy server list serves a URL, and whether the
// setting's bypass list sends the URL straight to its server.
#pragma once

#include <string>

namespace vexo::net {

// What the rules look at in a URL: scheme and host in lower case (an IPv6 host without its brackets) and
// the port (the scheme's default when the URL names none).
struct ProxyTarget {
  std::wstring scheme;
  std::wstring host;
  int port = 0;
};

// Splits an http or https URL into `target`. False, leaving `target` as it was, for any other scheme, a URL
// without a host, or a port that is not 1-65535.
bool ProxyTargetOf(const std::wstring& url, ProxyTarget* target);

// The proxy that `server_list` names for URLs of `scheme` ("http", "https"), in the form libcurl's
// CURLOPT_PROXY takes ("http://host:port", "socks4://host:port"); empty when it names none. Entries are
// separated by ';' or white space, each "[<scheme>=][<kind>://]<host>[:<port>]". The entry for the scheme
// wins, else an entry without a scheme, else a "socks=" entry. Kinds: http (the default), socks (SOCKS4, as
// Windows means it; also the kind of a "socks=" entry), socks4, socks5; the port defaults to 80 for http and
// 1080 for the others. A malformed entry (no host, a character no host name has, a port outside 1-65535,
// another kind) counts as absent.
std::wstring ProxyServerFor(const std::wstring& server_list, const std::wstring& scheme);

// Whether `bypass_list` exempts the target from the proxy. Entries are separated by ';', ',' or white space:
// "<local>" matches a host name without a period; any other entry is "[<scheme>://]<host pattern>[:<port>]",
// where '*' stands for any run of characters and case does not count, and a scheme or port in the entry
// must be the target's too. Loopback hosts are not exempt unless an entry says so.
bool BypassesProxy(const std::wstring& bypass_list, const ProxyTarget& target);

// The proxy of a fixed setting for the target: the server list's proxy for its scheme, or empty when the
// bypass list exempts it.
std::wstring FixedProxyFor(const ProxyTarget& target, const std::wstring& server_list,
                           const std::wstring& bypass_list);

}  // namespace vexo::net
