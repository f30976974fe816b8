// The proxy that the current user has set up for Windows, chosen for one URL.
#pragma once

#include "runtime/w_string.h"

namespace vexo::net {

// The proxy that the current user's Internet settings choose for `url`, in the form libcurl's CURLOPT_PROXY
// takes ("http://host:port"), or the empty text for a direct connection. Automatic configuration, when the
// settings ask for it, is asked first through WinHTTP (detection, then the configuration script's address)
// and its answer holds; when it has none within NetSettings::proxy_timeout_ms, the fixed proxy with its
// bypass list decides (see FixedProxyFor). No proxy set up, settings that cannot be read or a URL other
// than http or https: empty. Never fails as a call; the text is the caller's.
// A call that follows PrepareSystemProxyFor(url) takes that preparation's answer of automatic
// configuration when the settings it read are still the user's, and waits for it only as long as it would
// have waited for its own (still at most proxy_timeout_ms in all); later calls look again.
CWString SystemProxyFor(const CWString& url);

// Starts asking automatic configuration about `url` on a thread of its own, for the next SystemProxyFor(url):
// detection and script downloads can take seconds, which the user then spends on the start page instead
// of after the click. Without a timeout of its own (WinHTTP's step timeouts end it). A later call replaces
// an earlier preparation; one for another URL is not used. Never fails as a call: when no thread can be
// started, SystemProxyFor simply asks itself.
void PrepareSystemProxyFor(const CWString& url);

}  // namespace vexo::net
