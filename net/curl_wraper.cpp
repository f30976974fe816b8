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

void CCurlWraper::AppendHeader(const char* line) {
  // curl_slist_append returns the list's head: a new one only for a list that was empty.
  curl_slist* head = curl_slist_append(header_list_.get(), line);
  if (head != nullptr && !header_list_) header_list_.reset(head);
}
