#include "net/proxy_setting.h"

#include <cstddef>
#include <optional>
#include <vector>

namespace vexo::net {

namespace {

// A kind of proxy as a server list names it, and how libcurl names it.
struct ProxyKind {
  const wchar_t* name;
  const wchar_t* curl_scheme;
  int default_port;
};

constexpr ProxyKind kHttpProxy = {L"http", L"http", 80};
constexpr ProxyKind kSocksProxy = {L"socks", L"socks4", 1080};
constexpr ProxyKind kProxyKinds[] = {
    kHttpProxy,
    kSocksProxy,
    {L"socks4", L"socks4", 1080},
    {L"socks5", L"socks5", 1080},
};

// A scheme of the URLs that go through a proxy, and its port when a URL names none.
struct UrlScheme {
  const wchar_t* name;
  int default_port;
};

constexpr UrlScheme kUrlSchemes[] = {{L"http", 80}, {L"https", 443}};

constexpr wchar_t kServerListSeparators[] = L"; \t\r\n";
constexpr wchar_t kBypassListSeparators[] = L";, \t\r\n";
constexpr wchar_t kSchemeSeparator[] = L"://";
constexpr std::size_t kSchemeSeparatorLength = sizeof(kSchemeSeparator) / sizeof(wchar_t) - 1;

wchar_t AsciiLower(wchar_t c) { return c >= L'A' && c <= L'Z' ? static_cast<wchar_t>(c - L'A' + L'a') : c; }

std::wstring AsciiLower(std::wstring text) {
  for (wchar_t& c : text) c = AsciiLower(c);
  return text;
}

std::vector<std::wstring> SplitList(const std::wstring& list, const wchar_t* separators) {
  std::vector<std::wstring> entries;
  std::size_t start = list.find_first_not_of(separators);
  while (start != std::wstring::npos) {
    std::size_t end = list.find_first_of(separators, start);
    entries.push_back(list.substr(start, end - start));
    start = list.find_first_not_of(separators, end);
  }
  return entries;
}

// "<host>[:<port>]", "[<IPv6 address>][:<port>]" or a bare IPv6 address, taken apart.
struct Authority {
  std::wstring host;
  bool bracketed = false;
  bool has_port = false;
  std::wstring port;
};

// Nothing when a bracket does not close or something other than ":<port>" follows it.
std::optional<Authority> SplitAuthority(const std::wstring& text) {
  Authority authority;
  std::wstring rest;
  if (!text.empty() && text[0] == L'[') {
    std::size_t close = text.find(L']');
    if (close == std::wstring::npos) return std::nullopt;
    authority.host = text.substr(1, close - 1);
    authority.bracketed = true;
    rest = text.substr(close + 1);
  } else {
    std::size_t colon = text.find(L':');
    if (colon != std::wstring::npos && text.find(L':', colon + 1) != std::wstring::npos) {
      authority.host = text;  // two colons without brackets: an IPv6 address without a port
      return authority;
    }
    authority.host = text.substr(0, colon);
    if (colon != std::wstring::npos) rest = text.substr(colon);
  }
  if (rest.empty()) return authority;
  if (rest[0] != L':') return std::nullopt;
  authority.has_port = true;
  authority.port = rest.substr(1);
  return authority;
}

// A port of 1-65535 written in decimal digits only.
std::optional<int> ParsePort(const std::wstring& text) {
  if (text.empty() || text.size() > 5) return std::nullopt;
  int port = 0;
  for (wchar_t c : text) {
    if (c < L'0' || c > L'9') return std::nullopt;
    port = port * 10 + (c - L'0');
  }
  if (port < 1 || port > 65535) return std::nullopt;
  return port;
}

bool IsHostCharacter(wchar_t c, bool bracketed) {
  bool hex = (c >= L'0' && c <= L'9') || (c >= L'a' && c <= L'f') || (c >= L'A' && c <= L'F');
  if (bracketed) return hex || c == L':' || c == L'.';
  return (c >= L'0' && c <= L'9') || (c >= L'a' && c <= L'z') || (c >= L'A' && c <= L'Z') || c == L'-' ||
         c == L'.' || c == L'_';
}

bool IsHostName(const Authority& authority) {
  if (authority.host.empty()) return false;
  for (wchar_t c : authority.host) {
    if (!IsHostCharacter(c, authority.bracketed)) return false;
  }
  return true;
}

// The row of a table whose `name` is `name`, or null.
template <typename Row, std::size_t kCount>
const Row* FindByName(const Row (&table)[kCount], const std::wstring& name) {
  for (const Row& row : table) {
    if (name == row.name) return &row;
  }
  return nullptr;
}

// libcurl's form of "[<kind>://]<host>[:<port>]"; empty when it is malformed.
std::wstring CurlProxyOf(std::wstring address, const ProxyKind& default_kind) {
  const ProxyKind* kind = &default_kind;
  std::size_t separator = address.find(kSchemeSeparator);
  if (separator != std::wstring::npos) {
    kind = FindByName(kProxyKinds, AsciiLower(address.substr(0, separator)));
    if (kind == nullptr) return std::wstring();
    address.erase(0, separator + kSchemeSeparatorLength);
  }
  std::optional<Authority> authority = SplitAuthority(address);
  if (!authority || !IsHostName(*authority)) return std::wstring();
  int port = kind->default_port;
  if (authority->has_port) {
    std::optional<int> named = ParsePort(authority->port);
    if (!named) return std::wstring();
    port = *named;
  }
  std::wstring host = authority->bracketed ? L"[" + authority->host + L"]" : authority->host;
  return std::wstring(kind->curl_scheme) + kSchemeSeparator + host + L":" + std::to_wstring(port);
}

// Whether `text` matches `pattern`, in which '*' stands for any run of characters; ASCII case does not count.
bool WildcardMatch(const std::wstring& pattern, const std::wstring& text) {
  std::size_t p = 0, t = 0;
  std::size_t star = std::wstring::npos, star_text = 0;
  while (t < text.size()) {
    if (p < pattern.size() && pattern[p] == L'*') {
      star = p++;
      star_text = t;
    } else if (p < pattern.size() && AsciiLower(pattern[p]) == AsciiLower(text[t])) {
      ++p;
      ++t;
    } else if (star != std::wstring::npos) {
      p = star + 1;
      t = ++star_text;
    } else {
      return false;
    }
  }
  while (p < pattern.size() && pattern[p] == L'*') ++p;
  return p == pattern.size();
}

bool BypassEntryMatches(const std::wstring& entry, const ProxyTarget& target) {
  if (AsciiLower(entry) == L"<local>") return target.host.find_first_of(L".:") == std::wstring::npos;
  std::wstring rest = entry;
  std::size_t separator = rest.find(kSchemeSeparator);
  if (separator != std::wstring::npos) {
    if (AsciiLower(rest.substr(0, separator)) != target.scheme) return false;
    rest.erase(0, separator + kSchemeSeparatorLength);
  }
  std::optional<Authority> authority = SplitAuthority(rest);
  if (!authority || authority->host.empty()) return false;
  if (authority->has_port && ParsePort(authority->port) != target.port) return false;
  return WildcardMatch(authority->host, target.host);
}

}  // namespace

bool ProxyTargetOf(const std::wstring& url, ProxyTarget* target) {
  std::size_t separator = url.find(kSchemeSeparator);
  if (separator == std::wstring::npos) return false;
  const UrlScheme* scheme = FindByName(kUrlSchemes, AsciiLower(url.substr(0, separator)));
  if (scheme == nullptr) return false;
  const std::size_t authority_start = separator + kSchemeSeparatorLength;
  std::wstring authority = url.substr(authority_start, url.find_first_of(L"/?#", authority_start) - authority_start);
  const std::size_t at = authority.rfind(L'@');
  if (at != std::wstring::npos) authority.erase(0, at + 1);  // user name and password
  std::optional<Authority> parts = SplitAuthority(authority);
  if (!parts || parts->host.empty() || (!parts->bracketed && parts->host.find(L':') != std::wstring::npos)) {
    return false;
  }
  int port = scheme->default_port;
  if (parts->has_port && !parts->port.empty()) {  // "host:" is the default port as well
    std::optional<int> named = ParsePort(parts->port);
    if (!named) return false;
    port = *named;
  }
  target->scheme = scheme->name;
  target->host = AsciiLower(parts->host);
  target->port = port;
  return true;
}

std::wstring ProxyServerFor(const std::wstring& server_list, const std::wstring& scheme) {
  const std::wstring wanted = AsciiLower(scheme);
  std::wstring for_scheme, for_every_scheme, socks;
  for (const std::wstring& entry : SplitList(server_list, kServerListSeparators)) {
    std::size_t equals = entry.find(L'=');
    if (equals == std::wstring::npos) {
      if (for_every_scheme.empty()) for_every_scheme = CurlProxyOf(entry, kHttpProxy);
      continue;
    }
    std::wstring key = AsciiLower(entry.substr(0, equals));
    std::wstring address = entry.substr(equals + 1);
    if (key == wanted && for_scheme.empty()) {
      for_scheme = CurlProxyOf(address, kHttpProxy);
    } else if (key == kSocksProxy.name && socks.empty()) {
      socks = CurlProxyOf(address, kSocksProxy);
    }
  }
  if (!for_scheme.empty()) return for_scheme;
  return for_every_scheme.empty() ? socks : for_every_scheme;
}

bool BypassesProxy(const std::wstring& bypass_list, const ProxyTarget& target) {
  for (const std::wstring& entry : SplitList(bypass_list, kBypassListSeparators)) {
    if (BypassEntryMatches(entry, target)) return true;
  }
  return false;
}

std::wstring FixedProxyFor(const ProxyTarget& target, const std::wstring& server_list,
                           const std::wstring& bypass_list) {
  if (BypassesProxy(bypass_list, target)) return std::wstring();
  return ProxyServerFor(server_list, target.scheme);
}

}  // namespace vexo::net
