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
CWString SystemProxyFor(const CWString& url);

}  // namespace vexo::net
