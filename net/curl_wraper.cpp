#include "net/curl_wraper.h"

#include "net/curl_global.h"

CCurlWraper::CCurlWraper() {
  if (!vexo::net::IsCurlReady()) return;
  easy_.reset(curl_easy_init());
  if (!easy_) easy_.reset(curl_easy_init());
}

CCurlWraper::~CCurlWraper() = default;

CURL* CCurlWraper::GetEasy() {
  if (!easy_ && vexo::net::IsCurlReady()) easy_.reset(curl_easy_init());
  return easy_.get();
}
