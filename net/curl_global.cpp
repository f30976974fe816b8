#include "net/curl_global.h"

#include <curl/curl.h>

#include "runtime/init_order.h"

namespace vexo::net {

namespace {

// curl_global_init(CURL_GLOBAL_ALL) at the network library's place in the static construction order;
// curl_global_cleanup when static objects are destroyed (the installer ends with ExitProcess and skips it).
class CurlGlobal {
 public:
  CurlGlobal() : ready_(curl_global_init(CURL_GLOBAL_ALL) == CURLE_OK) {}
  ~CurlGlobal() {
    if (ready_) curl_global_cleanup();
  }
  CurlGlobal(const CurlGlobal&) = delete;
  CurlGlobal& operator=(const CurlGlobal&) = delete;

  bool ready() const { return ready_; }

 private:
  bool ready_;
};

VEXO_INIT_ORDER(kNetworkLibrary) CurlGlobal curl_global;

}  // namespace

bool IsCurlReady() { return curl_global.ready(); }

}  // namespace vexo::net
