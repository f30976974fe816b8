// add_root_cert: adds one certificate (PEM or DER file) to the machine's trusted Root store. The test
// set-up runs it in the wine prefix to make the test CA trusted; exit status 0 on success.
#include <windows.h>
#include <wincrypt.h>

#include <cstdio>
#include <string>
#include <vector>

#include "runtime/win/scoped_certs.h"
#include "runtime/win/scoped_handles.h"

namespace {

bool ReadFileBytes(const wchar_t* path, std::string* content) {
  vexo::win::ScopedHandle file(::CreateFileW(path, GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING,
                                             FILE_ATTRIBUTE_NORMAL, nullptr));
  if (!file) return false;
  char chunk[8192];
  for (;;) {
    DWORD got = 0;
    if (!::ReadFile(file.get(), chunk, sizeof(chunk), &got, nullptr)) return false;
    if (got == 0) return true;
    content->append(chunk, got);
  }
}

// The DER bytes of the first certificate of a PEM file, or the file itself when it is not PEM.
std::vector<BYTE> CertificateDer(const std::string& content) {
  DWORD size = 0;
  if (::CryptStringToBinaryA(content.data(), static_cast<DWORD>(content.size()), CRYPT_STRING_BASE64HEADER,
                             nullptr, &size, nullptr, nullptr) &&
      size > 0) {
    std::vector<BYTE> der(size);
    if (::CryptStringToBinaryA(content.data(), static_cast<DWORD>(content.size()),
                               CRYPT_STRING_BASE64HEADER, der.data(), &size, nullptr, nullptr)) {
      der.resize(size);
      return der;
    }
  }
  return std::vector<BYTE>(content.begin(), content.end());
}

int Fail(const char* what, const wchar_t* path) {
  std::fprintf(stderr, "add_root_cert: %s: %ls (error %lu)\n", what, path, ::GetLastError());
  return 1;
}

}  // namespace

int wmain(int argc, wchar_t** argv) {
  if (argc != 2) {
    std::fprintf(stderr, "usage: add_root_cert <certificate.pem|.der>\n");
    return 2;
  }
  const wchar_t* path = argv[1];
  std::string content;
  if (!ReadFileBytes(path, &content) || content.empty()) return Fail("cannot read", path);
  std::vector<BYTE> der = CertificateDer(content);
  vexo::win::ScopedCertContext cert(
      ::CertCreateCertificateContext(X509_ASN_ENCODING, der.data(), static_cast<DWORD>(der.size())));
  if (!cert) return Fail("not a certificate", path);
  vexo::win::ScopedCertStore root(::CertOpenStore(CERT_STORE_PROV_SYSTEM_W, 0, 0,
                                                  CERT_SYSTEM_STORE_LOCAL_MACHINE, L"Root"));
  if (!root) return Fail("cannot open the machine Root store for", path);
  if (!::CertAddCertificateContextToStore(root.get(), cert.get(), CERT_STORE_ADD_REPLACE_EXISTING, nullptr)) {
    return Fail("cannot add to the machine Root store", path);
  }
  return 0;
}
