#include "net/server_certificate_check.h"

#define SECURITY_WIN32
#include <sspi.h>

#include <schannel.h>

#include <memory>
#include <mutex>
#include <optional>

#include "runtime/win/scoped_certs.h"
#include "runtime/win/scoped_handles.h"

namespace vexo::net {

namespace {

struct UrlCleanup {
  void operator()(CURLU* url) const { curl_url_cleanup(url); }
};
struct CurlFree {
  void operator()(char* text) const { curl_free(text); }
};

// Scheme and host of a URL as libcurl reads it.
struct UrlTarget {
  std::string scheme;
  std::string host;
};

std::optional<UrlTarget> ParseTarget(const char* url) {
  std::unique_ptr<CURLU, UrlCleanup> parsed(curl_url());
  if (!parsed || curl_url_set(parsed.get(), CURLUPART_URL, url, CURLU_GUESS_SCHEME) != CURLUE_OK) {
    return std::nullopt;
  }
  char* scheme = nullptr;
  char* host = nullptr;
  const bool complete = curl_url_get(parsed.get(), CURLUPART_SCHEME, &scheme, 0) == CURLUE_OK &&
                        curl_url_get(parsed.get(), CURLUPART_HOST, &host, 0) == CURLUE_OK;
  std::unique_ptr<char, CurlFree> scheme_holder(scheme);
  std::unique_ptr<char, CurlFree> host_holder(host);
  if (!complete) return std::nullopt;
  return UrlTarget{scheme, host};
}

// The host name in UTF-16; nullopt when it is not valid UTF-8.
std::optional<std::wstring> WideHost(const std::string& host) {
  const int length = ::MultiByteToWideChar(CP_UTF8, MB_ERR_INVALID_CHARS, host.data(),
                                           static_cast<int>(host.size()), nullptr, 0);
  if (length <= 0) return std::nullopt;
  std::wstring wide(static_cast<std::size_t>(length), L'\0');
  ::MultiByteToWideChar(CP_UTF8, MB_ERR_INVALID_CHARS, host.data(), static_cast<int>(host.size()), wide.data(),
                        length);
  return wide;
}

DWORD WINAPI LoadTrustedRoots(LPVOID) {
  win::ScopedCertStore root(::CertOpenStore(CERT_STORE_PROV_SYSTEM_W, 0, 0,
                                           CERT_SYSTEM_STORE_CURRENT_USER | CERT_STORE_READONLY_FLAG, L"ROOT"));
  if (!root) return 0;
  win::ScopedCertContext any(::CertEnumCertificatesInStore(root.get(), nullptr));
  if (!any) return 0;
  CERT_CHAIN_PARA chain_para = {};
  chain_para.cbSize = sizeof(chain_para);
  win::ScopedCertChain chain;
  ::CertGetCertificateChain(nullptr, any.get(), nullptr, nullptr, &chain_para, 0, nullptr, chain.receive());
  return 0;
}

}  // namespace

void PrepareServerChecks() {
  static std::once_flag started;
  std::call_once(started, [] {
    win::ScopedHandle thread(::CreateThread(nullptr, 0, &LoadTrustedRoots, nullptr, 0, nullptr));
  });
}

bool IsTrustedServerCertificate(PCCERT_CONTEXT certificate, const std::wstring& host) {
  if (certificate == nullptr) return false;
  CERT_CHAIN_PARA chain_para = {};
  chain_para.cbSize = sizeof(chain_para);
  win::ScopedCertChain chain;
  if (!::CertGetCertificateChain(nullptr, certificate, nullptr, certificate->hCertStore, &chain_para, 0, nullptr,
                                 chain.receive())) {
    return false;
  }
  // wine's SSL policy passes a chain that ends below any trusted root; the chain's own status tells.
  if (chain.get()->TrustStatus.dwErrorStatus != CERT_TRUST_NO_ERROR) return false;

  SSL_EXTRA_CERT_CHAIN_POLICY_PARA ssl_para = {};
  ssl_para.cbSize = sizeof(ssl_para);
  ssl_para.dwAuthType = AUTHTYPE_SERVER;
  ssl_para.pwszServerName = const_cast<wchar_t*>(host.c_str());
  CERT_CHAIN_POLICY_PARA policy_para = {};
  policy_para.cbSize = sizeof(policy_para);
  policy_para.pvExtraPolicyPara = &ssl_para;
  CERT_CHAIN_POLICY_STATUS status = {};
  status.cbSize = sizeof(status);
  return ::CertVerifyCertificateChainPolicy(CERT_CHAIN_POLICY_SSL, chain.get(), &policy_para, &status) &&
         status.dwError == 0;
}

ServerCertificateCheck::ServerCertificateCheck(CURL* easy) : easy_(easy) {
  curl_easy_setopt(easy_, CURLOPT_PREREQDATA, static_cast<void*>(this));
  curl_easy_setopt(easy_, CURLOPT_PREREQFUNCTION, &ServerCertificateCheck::BeforeRequest);
}

ServerCertificateCheck::~ServerCertificateCheck() {
  curl_easy_setopt(easy_, CURLOPT_PREREQFUNCTION, static_cast<curl_prereq_callback>(nullptr));
  curl_easy_setopt(easy_, CURLOPT_PREREQDATA, static_cast<void*>(nullptr));
}

int ServerCertificateCheck::BeforeRequest(void* check, char*, char*, int, int) {
  auto* self = static_cast<ServerCertificateCheck*>(check);
  if (self->ConnectionIsTrusted()) return CURL_PREREQFUNC_OK;
  self->rejected_ = true;
  return CURL_PREREQFUNC_ABORT;
}

bool ServerCertificateCheck::ConnectionIsTrusted() const {
  // The URL of this request: after a redirect, the new location.
  const char* url = nullptr;
  if (curl_easy_getinfo(easy_, CURLINFO_EFFECTIVE_URL, &url) != CURLE_OK || url == nullptr) return false;
  const std::optional<UrlTarget> target = ParseTarget(url);
  if (!target) return false;
  if (target->scheme != "https") return true;
  const std::optional<std::wstring> host = WideHost(target->host);
  if (!host) return false;

  // The TLS context of the connection to the server (above a proxy's own, if any): its remote certificate
  // is the one the handshake proved, its store what else the server sent. A reused connection has it too.
  curl_tlssessioninfo* session = nullptr;
  if (curl_easy_getinfo(easy_, CURLINFO_TLS_SSL_PTR, &session) != CURLE_OK || session == nullptr ||
      session->backend != CURLSSLBACKEND_SCHANNEL || session->internals == nullptr) {
    return false;
  }
  win::ScopedCertContext certificate;
  if (::QueryContextAttributesW(static_cast<CtxtHandle*>(session->internals), SECPKG_ATTR_REMOTE_CERT_CONTEXT,
                                certificate.receive()) != SEC_E_OK) {
    return false;
  }
  return IsTrustedServerCertificate(certificate.get(), *host);
}

}  // namespace vexo::net
