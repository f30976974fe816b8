#include "net/net_access.h"

#include <curl/curl.h>

#include <optional>

#include "net/body_collector.h"
#include "net/net_settings.h"
#include "net/server_certificate_check.h"
#include "runtime/ansi_conversion.h"

namespace rg_Pelor_ShiChuang_WangLao {

namespace {

// Redirects followed before a request fails; a chain longer than this is taken for a loop.
constexpr long kMaxRedirects = 50;

// Sets a string option to `text` in ANSI (libcurl keeps its own copy); null when `null_when_empty` and
// the text is empty. A text whose conversion fails is passed as the empty string.
void SetTextOption(CCurlWraper& curl, CURLoption option, const CWString& text, bool null_when_empty) {
  if (null_when_empty && text.IsEmpty()) {
    curl.SetOption(option, static_cast<const char*>(nullptr));
    return;
  }
  CPelMem scratch;
  curl.SetOption(option, ToAnsi(text.GetText(), scratch));
}

// Sets a string option to `value`, or null when it is empty.
void SetStringOption(CCurlWraper& curl, CURLoption option, const std::string& value) {
  curl.SetOption(option, value.empty() ? static_cast<const char*>(nullptr) : value.c_str());
}

void BuildHeaderList(CCurlWraper& curl, const rg_Pelor_JiBen::rg_WenBenShuZuLei& headers) {
  curl.ClearHeaderList();
  for (int i = 0; i < headers.GetCount(); ++i) {
    CPelMem scratch;
    curl.AppendHeader(ToAnsi(headers.GetAt(i), scratch));
  }
  curl.SetOption(CURLOPT_HTTPHEADER, curl.GetHeaderList());
}

void SetRequestBody(CCurlWraper& curl, const CPelMem& post_data) {
  if (post_data.IsNullObject()) {
    // No body: and none left over from an earlier request on this handle either.
    curl.SetOption(CURLOPT_HTTPGET, 1L);
    curl.SetOption(CURLOPT_POSTFIELDSIZE, 0L);
  } else if (post_data.GetLength() > 0) {
    curl.SetOption(CURLOPT_POSTFIELDSIZE, static_cast<long>(post_data.GetLength()));
    curl.SetOption(CURLOPT_COPYPOSTFIELDS, post_data.GetData());
  } else {
    curl.SetOption(CURLOPT_POSTFIELDSIZE, 0L);
    curl.SetOption(CURLOPT_POSTFIELDS, static_cast<const void*>(nullptr));
    curl.SetOption(CURLOPT_POSTFIELDSIZE, 0L);
  }
}

void SetConnectionPolicy(CCurlWraper& curl, const vexo::net::NetSettings& settings) {
  curl.SetOption(CURLOPT_TIMEOUT_MS, 0L);
  curl.SetOption(CURLOPT_CONNECTTIMEOUT_MS, settings.connect_timeout_ms);
  curl.SetOption(CURLOPT_LOW_SPEED_LIMIT, 1L);
  curl.SetOption(CURLOPT_LOW_SPEED_TIME, settings.stall_timeout_s);
  // The downloaded package is run with administrator rights: the server and any proxy must prove who
  // they are. With the Windows root store, Schannel alone decides, and wine's Schannel accepts any
  // certificate: WebAccess then checks the server's certificate itself as well (ServerCertificateCheck).
  curl.SetOption(CURLOPT_SSL_VERIFYPEER, 1L);
  curl.SetOption(CURLOPT_SSL_VERIFYHOST, 2L);
  curl.SetOption(CURLOPT_PROXY_SSL_VERIFYPEER, 1L);
  curl.SetOption(CURLOPT_PROXY_SSL_VERIFYHOST, 2L);
  SetStringOption(curl, CURLOPT_CAINFO, settings.ca_file);
  SetStringOption(curl, CURLOPT_PROXY_CAINFO, settings.ca_file);
}

}  // namespace

rg_WangLaoFangWenLei::rg_WangLaoFangWenLei()
    : self_(vexo::CountedRef<CPelObjectPointer>::Adopt(new CPelObjectPointer(this))) {
  ConnectTransfer();
}

rg_WangLaoFangWenLei::rg_WangLaoFangWenLei(const rg_WangLaoFangWenLei& other)
    : CPelObject(other),
      transfer_(other.transfer_),
      self_(vexo::CountedRef<CPelObjectPointer>::Adopt(new CPelObjectPointer(this))) {
  ConnectTransfer();
}

rg_WangLaoFangWenLei& rg_WangLaoFangWenLei::operator=(const rg_WangLaoFangWenLei& other) {
  CPelObject::operator=(other);
  transfer_ = other.transfer_;
  return *this;
}

rg_WangLaoFangWenLei::~rg_WangLaoFangWenLei() { self_->Clear(); }

void rg_WangLaoFangWenLei::ConnectTransfer() {
  transfer_.GetCurl().SetOption(CURLOPT_NOPROGRESS, 0L);
  transfer_.GetProgressEvent().Bind(&rg_WangLaoFangWenLei::ForwardProgress, self_.get(), 0);
}

std::int32_t rg_WangLaoFangWenLei::ForwardProgress(CPelObject* owner, CPelObject*, std::uint32_t,
                                                   std::int64_t download_total, std::int64_t downloaded,
                                                   std::int64_t upload_total, std::int64_t uploaded) {
  auto* self = static_cast<rg_WangLaoFangWenLei*>(owner);
  self->progress_.Raise(self, download_total, downloaded, upload_total, uploaded);
  return 0;
}

rg_WangYeFangWenXiangYingLei rg_WangLaoFangWenLei::WebAccess(
    const CWString& url, const CWString& method, const CPelMem& post_data,
    const rg_Pelor_JiBen::rg_WenBenShuZuLei& headers, const CWString& cookie, const CWString& accept_encoding,
    const CWString& proxy, const CWString& proxy_user, const CWString& proxy_password) {
  return WebAccess(url, method, post_data, headers, cookie, accept_encoding, proxy, proxy_user, proxy_password,
                   nullptr);
}

rg_WangYeFangWenXiangYingLei rg_WangLaoFangWenLei::WebAccess(
    const CWString& url, const CWString& method, const CPelMem& post_data,
    const rg_Pelor_JiBen::rg_WenBenShuZuLei& headers, const CWString& cookie, const CWString& accept_encoding,
    const CWString& proxy, const CWString& proxy_user, const CWString& proxy_password,
    vexo::net::BodySink* sink) {
  CCurlWraper& curl = transfer_.GetCurl();
  SetTextOption(curl, CURLOPT_URL, url, false);
  curl.SetOption(CURLOPT_TCP_FASTOPEN, 1L);
  SetTextOption(curl, CURLOPT_CUSTOMREQUEST, method, true);
  BuildHeaderList(curl, headers);
  SetTextOption(curl, CURLOPT_COOKIE, cookie, true);
  SetRequestBody(curl, post_data);
  curl.SetOption(CURLOPT_NOBODY, 0L);
  if (accept_encoding.IsNullObject()) {
    curl.SetOption(CURLOPT_ACCEPT_ENCODING, static_cast<const char*>(nullptr));
  } else {
    SetTextOption(curl, CURLOPT_ACCEPT_ENCODING, accept_encoding, false);
  }
  curl.SetOption(CURLOPT_FOLLOWLOCATION, 1L);
  curl.SetOption(CURLOPT_MAXREDIRS, kMaxRedirects);
  // An empty proxy means none at all: libcurl would otherwise take one from the environment.
  SetTextOption(curl, CURLOPT_PROXY, proxy, false);
  SetTextOption(curl, CURLOPT_PROXYUSERNAME, proxy_user, true);
  SetTextOption(curl, CURLOPT_PROXYPASSWORD, proxy_password, true);
  const vexo::net::NetSettings settings = vexo::net::GetNetSettings();
  SetConnectionPolicy(curl, settings);

  rg_WangYeFangWenXiangYingLei response;
  vexo::net::BodyTarget body{&response.GetBody(), curl.GetEasy(), sink};
  curl.SetOption(CURLOPT_HEADERDATA, static_cast<void*>(&response.GetHeaderLines()));
  curl.SetOption(CURLOPT_WRITEDATA, static_cast<void*>(&body));
  curl.SetOption(CURLOPT_NOPROGRESS, 0L);
  transfer_.BeginTransfer();
  CURL* easy = curl.GetEasy();
  std::optional<vexo::net::ServerCertificateCheck> certificate_check;
  if (easy != nullptr && settings.ca_file.empty()) certificate_check.emplace(easy);
  CURLcode result = easy != nullptr ? curl_easy_perform(easy) : CURLE_FAILED_INIT;
  transfer_.EndTransfer();
  // The check aborted the transfer: libcurl calls that an abort by callback, the caller a failed verification.
  if (certificate_check && certificate_check->rejected()) result = CURLE_PEER_FAILED_VERIFICATION;
  certificate_check.reset();
  // The targets end with this call; a transfer started on the handle later without new ones drops its data.
  curl.SetOption(CURLOPT_HEADERDATA, static_cast<void*>(nullptr));
  curl.SetOption(CURLOPT_WRITEDATA, static_cast<void*>(nullptr));

  response.ExtractCookiesAndRedirect();
  long redirect_count = 0;
  long status_code = 0;
  curl_off_t total_time_us = 0;
  if (easy != nullptr) {
    curl_easy_getinfo(easy, CURLINFO_REDIRECT_COUNT, &redirect_count);
    curl_easy_getinfo(easy, CURLINFO_RESPONSE_CODE, &status_code);
    curl_easy_getinfo(easy, CURLINFO_TOTAL_TIME_T, &total_time_us);
  }
  // A transfer that failed after the status line arrived (a body cut short, an abort) is no success.
  if (result != CURLE_OK) status_code = 0;
  response.SetTransferFigures(static_cast<std::int32_t>(redirect_count), static_cast<std::int32_t>(status_code),
                              total_time_us);
  response.SetTransferError(static_cast<std::int32_t>(result));
  return response;
}

CPelMem rg_WangLaoFangWenLei::AnsiBytes(const CWString& text) {
  CPelMem bytes;
  CPelMem scratch;
  int length = 0;
  const char* converted = ToAnsi(text.GetText(), scratch, &length);
  bytes.Append(converted, length);
  return bytes;
}

}  // namespace rg_Pelor_ShiChuang_WangLao
