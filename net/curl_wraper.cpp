#include "net/curl_wraper.h"

#include "net/curl_global.h"

namespace {

// A new easy handle with the engine's receive buffer, or null when libcurl cannot make one.
CURL* MakeEasy() {
  CURL* easy = curl_easy_init();
  if (easy != nullptr) curl_easy_setopt(easy, CURLOPT_BUFFERSIZE, vexo::net::kReceiveBufferBytes);
  return easy;
}

}  // namespace

CCurlWraper::CCurlWraper() {
  if (!vexo::net::IsCurlReady()) return;
  easy_.reset(MakeEasy());
  if (!easy_) easy_.reset(MakeEasy());
}

CCurlWraper::~CCurlWraper() = default;

CURL* CCurlWraper::GetEasy() {
  if (!easy_ && vexo::net::IsCurlReady()) easy_.reset(MakeEasy());
  return easy_.get();
}

void CCurlWraper::AppendHeader(const char* line) {
  // curl_slist_append returns the list's head: a new one only for a list that was empty.
  curl_slist* head = curl_slist_append(header_list_.get(), line);
  if (head != nullptr && !header_list_) header_list_.reset(head);
}
