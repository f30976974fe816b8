// The engine's own check of an HTTPS server's certificate against the Windows root store, made once the
// connection stands and before the request goes out (wine's Schannel accepts any certificate).
#pragma once

#include <curl/curl.h>

#include <string>

#include "runtime/win/windows_api.h"

#include <wincrypt.h>

namespace vexo::net {

// Whether `certificate`, with the certificates of its own store as intermediates, chains to a root that
// the current user's Windows root store trusts (no error in the chain's trust status) and passes the SSL
// policy for a server named `host` (a DNS name). False for a null certificate or when the chain cannot be
// built.
bool IsTrustedServerCertificate(PCCERT_CONTEXT certificate, const std::wstring& host);

// Starts, once per process, a thread that opens the root store and builds one certificate chain, so that
// the first server check does not wait while Windows loads the trusted roots (0.15-0.26 s under wine;
// a check on a prepared process takes under a millisecond). Returns at once; any thread; a failure only
// leaves that work to the first check.
void PrepareServerChecks();

// While it lives, every connection a transfer on `easy` makes or reuses is checked before its request is
// sent: an https URL's server certificate (the one Schannel's handshake received, taken from the TLS
// context of the connection) must pass IsTrustedServerCertificate for the URL's host, which for a
// connection through a proxy is the target's host. Plain HTTP passes unchecked. A certificate that fails
// (or cannot be had) aborts the transfer before any request byte is sent, so no body arrives. Installs
// itself as the handle's CURLOPT_PREREQFUNCTION; the handle must outlive it and must not be used on
// another thread meanwhile. Not copyable.
class ServerCertificateCheck {
 public:
  explicit ServerCertificateCheck(CURL* easy);
  ServerCertificateCheck(const ServerCertificateCheck&) = delete;
  ServerCertificateCheck& operator=(const ServerCertificateCheck&) = delete;
  // Takes the check off the handle again.
  ~ServerCertificateCheck();

  // Whether a certificate was rejected: the transfer then ended with CURLE_ABORTED_BY_CALLBACK.
  bool rejected() const { return rejected_; }

 private:
  // CURLOPT_PREREQFUNCTION with this object as data: CURL_PREREQFUNC_ABORT for a rejected certificate.
  static int BeforeRequest(void* check, char* primary_ip, char* local_ip, int primary_port, int local_port);
  // Whether the connection the handle is about to use may carry the request.
  bool ConnectionIsTrusted() const;

  CURL* easy_;
  bool rejected_ = false;
};

}  // namespace vexo::net
