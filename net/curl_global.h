// libcurl's process-wide state: set up during static initialisation, before any network object exists.
#pragma once

namespace vexo::net {

// Whether curl_global_init succeeded. The engine's holders call it, which also keeps the initialiser
// linked into every program that uses the engine.
bool IsCurlReady();

}  // namespace vexo::net
